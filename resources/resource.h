// Identifiers shared by the resource scripts and the program.
#pragma once

// The main frame's menu, accelerators, main toolbar and its bitmap, icon and document string.
#define IDR_MAINFRAME 128

// Toolbar and bitmaps (toolbars.rc, drawn by tools/make-pictures.py).
#define IDR_MENU_ICONS           178     // toolbar and bitmap of the menu icons
#define IDB_IMAGE_PALETTE_BAR    153
#define IDB_TILE_PALETTE_BAR     154
#define IDB_TOOLBAR_IMAGES       255     // the main toolbar's normal and hot images
#define IDB_TOOLBAR_DISABLED     259

// The About box (dialogs-program.rc): the program's name and version, and four lines.
#define IDD_ABOUTBOX             100
#define IDC_ABOUT_VERSION        201
#define IDC_ABOUT_LINE_1         202
#define IDC_ABOUT_LINE_2         203
#define IDC_ABOUT_LINE_3         204
#define IDC_ABOUT_LINE_4         205

// The framework's standard commands that the menus use; the framework's headers define
// some of them with the same spelling.
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 0xE101
#endif
#ifndef ID_FILE_MRU_FILE1
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_FILE16 0xE11F
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS 0xE104
#endif
#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 0xE106
#endif
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 0xE107
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 0xE109
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 0xE125
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
#ifndef ID_HELP_FINDER
#define ID_HELP_FINDER 0xE143
#endif

// The program's commands (mosaic.rc, toolbars.rc).
#define ID_FILE_IMPORT_IMAGE          33039
#define ID_FILE_EXPORT_MOSAIC         32836
#define ID_FILE_PREFERENCES           32907
#define ID_UNDO                       32771
#define ID_EDIT_MIRROR_HORIZONTAL     32777
#define ID_EDIT_MIRROR_VERTICAL       32776
#define ID_EDIT_ADD_ROWS_COLUMNS      32783
#define ID_EDIT_DELETE_ROWS_COLUMNS   32784
#define ID_PROCESS_RESIZE             32772
#define ID_PROCESS_REDUCE_COLOURS     32774
#define ID_PROCESS_FILTER_CELLS       32775
#define ID_PROCESS_GENERATE_TRIANGLES 32950
#define ID_PALETTE_SHOW_TILES         32942
#define ID_PALETTE_SHOW_IMAGE         32943
#define ID_PALETTE_SHOW_NONE          32944
#define ID_PALETTE_OVERLAY_MARKS      32954
#define ID_PALETTE_TEXTURED_TILES     33030
#define ID_PALETTE_IMPORT             32888
#define ID_PALETTE_OPEN_FILE          32971
#define ID_PALETTE_SAVE_FILE          32972
#define ID_PAVING_SQUARES             33065
#define ID_PAVING_DIAMONDS            33066
#define ID_PAVING_CIRCLES             33067
#define ID_PAVING_TRIANGLES           33068
#define ID_PAVING_HEXAGONS            33069
#define ID_PAVING_SCALES_1            33070
#define ID_PAVING_SCALES_2            33071
#define ID_PAVING_CROSSED_JOINTS      33072
#define ID_MOSAIC_CONFIGURATION       32778
#define ID_MOSAIC_INFORMATION         32829
#define ID_MOSAIC_PRINT_GRIDS         32780
#define ID_MOSAIC_EXPORT_TABLE        33048   // removed from the menu at start-up
#define ID_MOSAIC_EXPORT_PALETTE      33047   // removed from the menu at start-up
#define ID_MOSAIC_LIBRARY             32792
#define ID_VIEW_COLOURS               32891
#define ID_VIEW_SYMBOLS               32892
#define ID_VIEW_COLOURS_SYMBOLS       32893
#define ID_VIEW_ZOOM_IN               32785
#define ID_VIEW_ZOOM_OUT              32781
#define ID_VIEW_JOINTS                32789
#define ID_VIEW_PLATES                32790
#define ID_TOOL_SELECT                32904
#define ID_TOOL_WHOLE_TILE            33060
#define ID_TOOL_DIAGONAL_HALF_TILE    33061
#define ID_TOOL_HALF_TILE             33062
#define ID_TOOL_QUARTER_TILE          33063
#define ID_TOOL_DIAGONAL_QUARTER_TILE 33064
#define ID_TOOL_MIX_FILL              33012
#define ID_TOOL_TOGGLE_CELLS          33011
#define ID_TOOL_FILL                  32912
#define ID_TOOL_REPLACE_COLOUR        32948
#define ID_TOOL_BRUSH                 32914
#define ID_HELP_WEB_SITE              61460
#define ID_HELP_USERS_FORUM           32973
#define ID_HELP_COMMANDS              32995
#define ID_KEY_INSERT                 32918   // the Insert key's command; nothing handles it

// The Language menu: one command per language (no 133).
#define ID_LANGUAGE_FRENCH            130
#define ID_LANGUAGE_ENGLISH           131
#define ID_LANGUAGE_ITALIAN           132
#define ID_LANGUAGE_GERMAN            134
#define ID_LANGUAGE_DUTCH             135
#define ID_LANGUAGE_PORTUGUESE_BRAZIL 136
#define ID_LANGUAGE_DANISH            137
#define ID_LANGUAGE_FINNISH           138
#define ID_LANGUAGE_NORWEGIAN         139
#define ID_LANGUAGE_SWEDISH           140
#define ID_LANGUAGE_POLISH            141
#define ID_LANGUAGE_GREEK             142
#define ID_LANGUAGE_ARABIC            143
#define ID_LANGUAGE_HINDI             144
#define ID_LANGUAGE_CHINESE           145
#define ID_LANGUAGE_KOREAN            146
#define ID_LANGUAGE_THAI              147
#define ID_LANGUAGE_JAPANESE          148
#define ID_LANGUAGE_SPANISH           149
#define ID_LANGUAGE_SPANISH_MEXICO    150
#define ID_LANGUAGE_HEBREW            151
#define ID_LANGUAGE_RUSSIAN           152   // removed from the menu at start-up

// Strings of the string table (strings.rc).
#define IDS_TEXTURED_TILES       86      // fallback of the language text of the same number
#define IDS_REGISTRY_KEY         32844
#define IDS_NEW_DOCUMENT_NAME    32974
#define IDS_MAKER_WEB_SITE       32975   // the web command's and every PDF page's link
#define IDS_USERS_FORUM_FRENCH   32976   // the users' forum by interface language; English
#define IDS_USERS_FORUM_ENGLISH  32977   // serves every language without a forum of its own
#define IDS_USERS_FORUM_ITALIAN  32978
#define IDS_DEFAULT_PALETTE_FILE 33008
#define IDS_PICTURE_TYPE_JPEG    33080
#define IDS_PICTURE_TYPE_PNG     33081
#define IDS_PICTURE_TYPE_WEBP    33082

// Dialog templates of the program (dialogs-program.rc) and their controls. Control ids are
// local to a template: the same number serves different controls in different dialogs.
#define IDD_MESSAGE_BOX          228
#define IDD_PALETTE_TABLE        189
#define IDD_SELECT_COLOURS       192
#define IDD_MIX                  195
#define IDD_MIX_OPTIONS          194
#define IDD_MIX_CONFIRM          196
#define IDD_CONFIGURATION        141
#define IDD_PREFERENCES          172
#define IDD_NEW_MOSAIC           142
#define IDD_ROWS_COLUMNS         143
#define IDD_RESIZE               167
#define IDD_TEXT_STAMP           162
#define IDD_EXPORT_PICTURE       168
#define IDD_TEXT_SUMMARY         184
#define IDD_INFORMATION          163
#define IDD_PRINT_PLATES         144

#define IDC_MESSAGE_TEXT         1171
#define IDC_PALETTE_GRID         1077
#define IDC_PALETTE_PRINT        6
#define IDC_SELECT_GRID          1044
#define IDC_SELECT_ALL           3
#define IDC_SELECT_NONE          4
#define IDC_MIX_GRID             1089
#define IDC_MIX_OPTIONS          3
#define IDC_MIX_LABEL            360
#define IDC_MIXOPT_GRID          1088
#define IDC_MIXOPT_STEPS         1086
#define IDC_MIXOPT_VERTICAL      1087
#define IDC_MIXOPT_HORIZONTAL    1089
#define IDC_MIXOPT_STEPS_LABEL   361
#define IDC_MIXOPT_KIND_LABEL    362
#define IDC_MIXCONF_TEXT         371
#define IDC_CONFIG_TILE_SIZE     1004
#define IDC_CONFIG_JOINT_SIZE    1005
#define IDC_CONFIG_PLATE_X       1007
#define IDC_CONFIG_PLATE_Y       1008
#define IDC_CONFIG_JOINT_COLOUR  111
#define IDC_CONFIG_BACK_COLOUR   113
#define IDC_CONFIG_GRID_COLOUR   1047
#define IDC_CONFIG_GRID_BLACK    1048
#define IDC_CONFIG_PLATE_NUMBERS 1059
#define IDC_CONFIG_STAGGER       1058
#define IDC_CONFIG_DIRECT        1041
#define IDC_CONFIG_INDIRECT      1042
#define IDC_CONFIG_DOWNWARDS     1055
#define IDC_CONFIG_UPWARDS       1056
#define IDC_CONFIG_LABEL_IMAGE   1043
#define IDC_CONFIG_LABEL_TILE    1046
#define IDC_CONFIG_LABEL_SYMBOL  1045
#define IDC_CONFIG_PRINT_COLOURS 1060
#define IDC_CONFIG_SIZE_LABEL    311
#define IDC_CONFIG_WIDTH_LABEL   312
#define IDC_CONFIG_HEIGHT_LABEL  313
#define IDC_CONFIG_JOINT_LABEL   314
#define IDC_CONFIG_BACK_LABEL    315
#define IDC_CONFIG_GRIDS_LABEL   316
#define IDC_CONFIG_LAYING_LABEL  321
#define IDC_CONFIG_NUMBER_LABEL  324
#define IDC_CONFIG_MARKS_LABEL   327
#define IDC_CONFIG_TILE_LABEL    381
#define IDC_CONFIG_JOINTW_LABEL  382
#define IDC_CONFIG_TILE_UNIT     1082
#define IDC_CONFIG_JOINT_UNIT    1083
#define IDC_PREFS_MILLIMETRES    1044
#define IDC_PREFS_INCHES         1045
#define IDC_PREFS_A4             1046
#define IDC_PREFS_LETTER         1047
#define IDC_PREFS_A3             1048
#define IDC_PREFS_A2             1049
#define IDC_PREFS_A1             1050
#define IDC_PREFS_A0             1051
#define IDC_PREFS_UNITS_LABEL    401
#define IDC_PREFS_PAPER_LABEL    404
#define IDC_NEWMOS_WIDTH         1006
#define IDC_NEWMOS_HEIGHT        1007
#define IDC_NEWMOS_WIDTH_LABEL   341
#define IDC_NEWMOS_HEIGHT_LABEL  342
#define IDC_NEWMOS_WIDTH_UNIT    343
#define IDC_NEWMOS_HEIGHT_UNIT   1131
#define IDC_LC_HEADING           1010
#define IDC_LC_TOP               1012
#define IDC_LC_BOTTOM            1013
#define IDC_LC_LEFT              1014
#define IDC_LC_RIGHT             1015
#define IDC_LC_COUNT_TOP         1016
#define IDC_LC_COUNT_BOTTOM      1018
#define IDC_LC_COUNT_LEFT        1019
#define IDC_LC_COUNT_RIGHT       1020
#define IDC_LC_COUNT_LABEL       281
#define IDC_LC_ROW_LABEL         282
#define IDC_LC_COLUMN_LABEL      285
#define IDC_RESIZE_SIZE          32955
#define IDC_RESIZE_WIDTH         1069
#define IDC_RESIZE_HEIGHT        1070
#define IDC_RESIZE_UNIT          1071
#define IDC_RESIZE_LABEL         251
#define IDC_STAMP_TEXT           1029
#define IDC_STAMP_LABEL          411
#define IDC_EXPORT_FILE_NAME     1044
#define IDC_EXPORT_FILE_TYPE     1108
#define IDC_EXPORT_NAME_LABEL    236
#define IDC_EXPORT_TYPE_LABEL    237
#define IDC_SUMMARY_FILE_NAME    32953
#define IDC_SUMMARY_LABEL        241
#define IDC_INFO_PALETTE         1033
#define IDC_INFO_COLOUR_COUNT    1013
#define IDC_INFO_COLS            1006
#define IDC_INFO_ROWS            1007
#define IDC_INFO_WIDTH           1009
#define IDC_INFO_HEIGHT          1010
#define IDC_INFO_PLATE_COUNT     1027
#define IDC_INFO_AREA            1011
#define IDC_INFO_TEXT_FILE       32952
#define IDC_INFO_GRID            1030
#define IDC_INFO_LENGTH_UNIT     1008
#define IDC_INFO_AREA_UNIT       1012
#define IDC_INFO_PALETTE_LABEL   261
#define IDC_INFO_COLOURS_LABEL   262
#define IDC_INFO_DIMENSIONS_LABEL 263
#define IDC_INFO_PLATES_LABEL    264
#define IDC_INFO_SIZE_LABEL      265
#define IDC_INFO_AREA_LABEL      266
#define IDC_INFO_TILES_LABEL     267
#define ID_INFO_APPLY_AND_CLOSE  32941
#define IDC_PRINT_PLATE_COUNT    1027
#define IDC_PRINT_RULERS         1060
#define IDC_PRINT_ONE_PER_PAGE   1062
#define IDC_PRINT_THUMBNAILS     1061
#define IDC_PRINT_TOTAL_LABEL    391
