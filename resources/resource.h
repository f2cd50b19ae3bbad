// Identifiers shared by the resource scripts and the program.
#pragma once

#define IDR_MAINFRAME 128

// Strings of the string table (strings.rc).
#define IDS_TEXTURED_TILES       86      // fallback of the language text of the same number
#define IDS_REGISTRY_KEY         32844
#define IDS_NEW_DOCUMENT_NAME    32974
#define IDS_DEFAULT_PALETTE_FILE 33008
#define IDS_PICTURE_TYPE_JPEG    33080
#define IDS_PICTURE_TYPE_PNG     33081
#define IDS_PICTURE_TYPE_WEBP    33082
