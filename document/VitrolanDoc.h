// CVitrolanDoc: the one document of the program. It owns the open mosaic (cell maps, image
// and tile palettes, undo copies, physical settings, plates, tool state, mixing tables, tile
// counts, texture cache) and the user's preferences, read from the profile when it is built
// and written back when it is destroyed. Every other part of the program reads and writes
// these fields directly.
#pragma once

#include <windows.h>
#include <limits.h>

#include "AfxDoc.h"
#include "AfxColl.h"
#include "AfxGeometry.h"
#include "AfxString.h"
#include "RasterImage.h"
#include "RasterImageTable.h"
#include "TilePalette.h"
#include "TextureLoadState.h"

class CMenu;
class CShpRectangle;
class CPlaque;
class CMelange;
class CGridCtrl;
class CGridCtrl2;
class CCmdUI;
class CTextPalette;
class CDocProfileSection;
class CVitrolanDoc;
struct ConfigurationValues;

// The Undo item of the Edit menu.
enum { ID_UNDO_EDIT = 32771 };

// The four sides of the grid that rows and columns are added at or deleted from, each with
// its count.
struct GridSides
{
    enum { Top, Bottom, Left, Right, Count };
    int checked[Count];
    int counts[Count];
};

// What the document asks of the layers above it (dialogs, main frame, view). They install
// these at start-up; a hook left NULL is skipped.
// The laying plan's options as the print dialog shows and returns them.
struct PlanOptions
{
    int plateCount;
    int firstPlate;
    int lastPlate;
    int rulers;
    int onePerPage;
    int thumbnails;
};

// How the view's writing of the laying plan ended.
enum PlanResult
{
    PlanWritten,
    PlanTilesDoNotFit,   // not one tile fits on a page: nothing written
    PlanNotWritten       // the file could not be written
};

// What the information dialog shows besides the tile counts: sizes in metres or feet
// (units 0) or feet (units 1), rounded to three decimals.
struct InfoFigures
{
    CString paletteName;
    int colourCount = 0;
    int cols = 0;
    int rows = 0;
    int plateCount = 0;
    int units = 0;
    float width = 0;
    float height = 0;
    float area = 0;
    CString unitText;
    CString areaUnitText;
};

class CVitrolanDoc;

struct DocUiHooks
{
    // Asks whether the previewed colour mix stays: 1 keeps it, 2 undoes it.
    int (*pfnConfirmMix)();
    // Redraws the image-palette bar after the image colours changed.
    void (*pfnRefreshImageBar)();
    // Clears the 30 button states of the image-palette bar, then presses button nButton.
    void (*pfnPressImageBarButton)(int nButton);
    // When the shape's rectangle has an area: redraws its handles and edges in the active
    // view and marks it visible. Then sets its rectangle to (0, 0, 0, 0).
    void (*pfnEraseShape)(CShpRectangle* pShape);
    // The program's message box (OK and Cancel): IDOK or IDCANCEL.
    int (*pfnMessageBox)(LPCTSTR lpszText);
    // The grid-size dialog of New, opened with the given size: its result, and on IDOK the
    // size chosen.
    INT_PTR (*pfnAskGridSize)(int* pWidth, int* pHeight);
    // Scrolls the active view back to column 0, row 0.
    void (*pfnResetScroll)();
    // Puts the image-palette bar back on its first page, or on the page of the colour pressed
    // on it, which stays the current colour, and repaints it.
    void (*pfnResetImageBar)();
    // The image colours have new numbers (newColour, 256 entries): the colour pressed on the
    // image-palette bar keeps its place under its new number.
    void (*pfnRenumberImageBar)(const int* newColour);
    // Repaints the tile-palette bar.
    void (*pfnRefreshTileBar)();
    // Shows the palette bar of the main frame's display mode (tile, image or none).
    void (*pfnShowPaletteBars)();
    // Rescales the shape from one tile display size to another.
    void (*pfnRezoomShape)(CShpRectangle* pShape, int nOldSize, int nNewSize);
    // Runs the palette table dialog on the document's palette grid.
    void (*pfnShowTilePaletteDialog)(CVitrolanDoc* pDoc);
    // Shows the tile-palette bar (display mode 1) on its first page, no button pressed.
    void (*pfnShowTilePaletteBar)();
    // Makes a selection shape (a rectangle), and deletes one: the shape classes belong to the
    // view layer. Without them the document has no shapes.
    CShpRectangle* (*pfnCreateShape)();
    void (*pfnDeleteShape)(CShpRectangle* pShape);
    // Sets the application printer's paper to the paper format (0 A4 ... 5 A0), upright.
    void (*pfnSetPrinterPaper)(int nFormat);
    // The mix fill's two questions: which tile colours to mix (a confirmed choice goes
    // through ApplyColourChoice), then their shares per step (m_mixPercent; a confirmed
    // table adds the colours with AppendMixColours). FALSE when the user cancels either.
    BOOL (*pfnSelectColours)();
    BOOL (*pfnRunMixDialog)();
    // The resize dialog, opened with a size in metres or feet (nUnits 0 or 1) and the
    // dimension it measures (0 width, 1 height): its result, and on IDOK both as chosen.
    INT_PTR (*pfnAskResize)(float* pSize, int* pDimension, int nUnits, LPCTSTR lpszUnitText);
    // The rows and columns dialog under the heading, opened with the sides given: its
    // result, and on IDOK the sides chosen.
    INT_PTR (*pfnAskRowsColumns)(LPCTSTR lpszHeading, GridSides* pSides);
    // The text stamp's dialog, opened with the text given: its result, and on IDOK the text.
    INT_PTR (*pfnAskStampText)(CString* pText);
    // The shape's rectangle in the view's client pixels.
    void (*pfnGetShapeRect)(CShpRectangle* pShape, RECT* pRect);
    // Draws the shape without its handles from now on.
    void (*pfnHideShapeHandles)(CShpRectangle* pShape);
    // Erases and redraws a rectangle of the active view, in client pixels.
    void (*pfnRedrawViewArea)(const RECT* pRect);
    // Erases and redraws the whole active view.
    void (*pfnRefreshView)();
    // The active view writes the tile palette's chart into the PDF file: FALSE when the file
    // could not be written.
    BOOL (*pfnWritePaletteChart)(LPCTSTR lpszPath);
    // The laying plan's dialog, filled with the options given: its result, and on IDOK the
    // options chosen.
    INT_PTR (*pfnAskPlanOptions)(PlanOptions* pOptions);
    // The active view writes the laying plan's pages into the PDF file.
    PlanResult (*pfnWriteLayingPlan)(LPCTSTR lpszPath);

    // ---- Picture export ----
    // The export dialog, opened with a file name and a picture type (0 JPEG, 1 PNG, 2
    // WebP): its result, and on IDOK both as chosen.
    INT_PTR (*pfnAskExportPicture)(CString* pName, int* pType);
    // Builds the tile-shape masks of the paving at the document's tile size.
    void (*pfnBuildTileMasks)();

    // ---- Information and text summary ----
    // The information dialog on the figures given, with the document's tile counts.
    void (*pfnShowInformation)(CVitrolanDoc* pDoc, const InfoFigures& figures);
    // The text summary's file name dialog, opened with the name given: its result, and on
    // IDOK the name chosen.
    INT_PTR (*pfnAskSummaryName)(CString* pName);
    // ---- Configuration and preferences ----
    // The configuration dialog, filled with the values given: its result, and on IDOK the
    // values chosen.
    INT_PTR (*pfnAskConfiguration)(ConfigurationValues* pValues);
    // The preferences dialog, opened with the units (0 millimetres, 1 inches) and the paper
    // format (0 A4 ... 5 A0): its result, and on IDOK both as chosen.
    INT_PTR (*pfnAskPreferences)(int* pUnits, int* pFormat);
    // ---- Sample outputs ----
    // Writes the sample PDF page to the path: FALSE when a step failed.
    BOOL (*pfnWritePdfSample)(LPCTSTR lpszPath);
};

// The Export Mosaic command.
enum { ID_EXPORT_MOSAIC = 32836 };
// The configuration and preferences commands.
enum { ID_CONFIGURATION = 32778, ID_PREFERENCES = 32907 };

// The mosaic's figures and the text exports.
enum { ID_INFORMATION = 32829, ID_IMPORT_TILE_PALETTE = 32888, ID_EXPORT_PALETTE_TABLE = 33047,
       ID_EXPORT_SPREADSHEET = 33048 };
// The colour reduction command.
enum { ID_REDUCE_COLOURS = 32774 };
// How a mixed colour's share changes from step to step (m_mixOptions).
enum MixRule { MixRest = 0, MixRising = 1, MixFalling = 2 };

// The paving commands, one per PavingType in order.
enum { ID_PAVING_FIRST = 33065, ID_PAVING_LAST = 33072 };
// Zoom commands.
enum { ID_ZOOM_OUT = 32781, ID_ZOOM_IN = 32785 };
// The laying plan.
enum { ID_PRINT_GRIDS = 32780 };
// The Palette menu's files; the message map routes one id more than there are items.
enum { ID_PALETTE_FIRST = 31923, ID_PALETTE_LAST = 31954, ID_PALETTE_ROUTED_LAST = 31955,
       PaletteMenuFileCount = 32 };
// Tile palette commands without a menu item, and the Palette menu's items that give them.
enum { ID_OPEN_TILE_PALETTE = 32842, ID_SAVE_TILE_PALETTE = 32843,
       ID_OPEN_TILE_PALETTE_ITEM = 32971, ID_SAVE_TILE_PALETTE_ITEM = 32972 };
// Editing commands.
enum
{
    ID_RESIZE_MOSAIC = 32772,
    ID_FILTER_CELLS = 32775,
    ID_MIRROR_VERTICAL = 32776,
    ID_MIRROR_HORIZONTAL = 32777,
    ID_ADD_ROWS_COLUMNS = 32783,
    ID_DELETE_ROWS_COLUMNS = 32784,
    ID_INSERT_TEXT = 32828,
    ID_GENERATE_TRIANGLES = 32950
};
// Tool switches; measuring, shade and no tool have no menu item or button.
enum
{
    ID_SELECT_TOOL = 32904,
    ID_MEASURE_ACROSS_TOOL = 32905,
    ID_MEASURE_DOWN_TOOL = 32906,
    ID_FILL_TOOL = 32912,
    ID_BRUSH_TOOL = 32914,
    ID_NO_TOOL = 32916,
    ID_REPLACE_COLOUR_TOOL = 32948,
    ID_TOGGLE_CELLS_TOOL = 33011,
    ID_MIX_FILL_TOOL = 33012,
    ID_WHOLE_TILE_TOOL = 33060,
    ID_DIAGONAL_HALF_TOOL = 33061,
    ID_HALF_TILE_TOOL = 33062,
    ID_QUARTER_TILE_TOOL = 33063,
    ID_DIAGONAL_QUARTER_TOOL = 33064,
    ID_SHADE_TOOL = 33096
};
// Display switches; the rulers have no menu item or button.
enum
{
    ID_SHOW_JOINTS = 32789,
    ID_SHOW_PLATES = 32790,
    ID_SHOW_COLOURS = 32891,
    ID_SHOW_SYMBOLS = 32892,
    ID_SHOW_COLOURS_SYMBOLS = 32893,
    ID_SHOW_RULERS = 32911,
    ID_SHOW_TEXTURED_TILES = 33030
};
// How the part tools cut a tile (m_cutKind).
enum CutMode
{
    CutWhole = 0,
    CutHalves = 1,
    CutDiagonalHalves = 3,
    CutQuarters = 5,
    CutDiagonalQuarters = 6
};

// Range of values the program can work with. The ".ms2" reader and the profile reader refuse
// what lies outside (see VitrolanDocSerialize.cpp and VitrolanDoc.cpp).
enum
{
    Ms2CurrentVersion = 39,
    MaxMixCount = 50,            // rows of m_mixPercent
    MaxTileDisplaySize = 4096,   // pixels per tile on screen
    MaxLength = 1000000,         // joint and tile sizes, in 1/100 mm or 1/1000 inch
    MaxPlateTiles = 1000000,     // plate width or height in tiles
    MaxColourCount = 256,
    MaxGridSize = 10000,         // columns or rows of a mosaic
    // Pixels of a picture opened as a mosaic: with its samples, labels and cell maps it
    // takes some 70 bytes a pixel while it is clustered.
    MaxPictureTiles = 25000000,
    PaperFormatCount = 6         // A4, Letter, A3, A2, A1, A0
};

class CVitrolanDoc : public CDocument
{
    DECLARE_DYNCREATE(CVitrolanDoc)

public:
    CVitrolanDoc();
    virtual ~CVitrolanDoc();

    // Reads or writes the ".ms2" layout. A load that fails for any reason (short file,
    // impossible values) throws the archive exception and leaves the document untouched.
    void Serialize(CArchive& ar) override;

    // Opens a ".ms2" document, an older ".mos" mosaic or a picture, chosen by the name. A
    // picture becomes a mosaic of one tile per pixel in at most 256 colours; one that cannot
    // be decoded is refused with the program's message.
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;

    // ---- New, save and close ------------------------------------------------------------------
    // A New whose size the user does not give leaves the mosaic as it was, with its title.
    BOOL OnNewDocument() override;
    // Keeps the title it replaces: the framework names the document before New asks for a
    // size, and a cancelled New gives the mosaic shown its title back.
    void SetTitle(LPCTSTR lpszTitle) override;
    // A white mosaic of New's default size, without asking and without a file: what the
    // document holds when the mosaic it held is gone. FALSE when memory is lacking.
    BOOL StartEmptyMosaic();
    // A changed mosaic, or an edited tile palette, is about to be replaced or closed: the
    // mosaic is saved as closing saves it and the palette offered for saving. FALSE when the
    // user cancels.
    BOOL SaveModified() override;
    BOOL IsModified() override;
    // Saves the changed mosaic under its save name without asking, or under a free name
    // beside it when another file of that name is there. TRUE when it was written.
    BOOL SaveUnderSaveName();
    BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE) override;
    BOOL DoFileSave() override;
    // Writes the document to the path; TRUE when the file was written.
    virtual BOOL SaveToPath(LPCTSTR lpszPathName);
    // The name the save dialog proposes: the path name with the ".ms2" extension, or for a
    // replacing save of a document without one, its title cut to a plain file name.
    CString ProposeSaveName(BOOL bReplace) const;
    void OnCloseDocument() override;
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    // After a save: the mosaic's own file becomes the path name (title and recent files)
    // when it exists.
    void ShowSavedPathName();

    // After an open read the file's settings: the unit words, the joint and background
    // colours and the length the file does not store (cresol) follow them at once.
    void ApplyOpenedSettings(int nOldJoint, int nOldBackground, int nOldUnits);

    // ---- Paving pattern and zoom ----------------------------------------------------------------
    void SetPavingPattern(int nType);
    afx_msg void OnPaving(UINT nID);
    afx_msg void OnUpdatePaving(CCmdUI* pCmdUI);
    afx_msg void OnZoomOut();
    afx_msg void OnZoomIn();
    // The tile display size that shows the whole grid in the screen area.
    void FitZoomToWindow();
    // Lowers the tile display size to at most nMost, kept even (or 1) as the zoom commands
    // keep it; a smaller size is left as it is.
    void LimitZoom(int nMost);
    // Joints need tiles of more than two pixels: at a smaller size they go off, and the next
    // size with room for them (a zoom, a fit, a resize, a new mosaic) brings them back.
    void FitJointsToTileSize();
    BOOL HasRoomForJoints() const;
    // The tile display size scaled by a resize or its undo: rounded, made even, and 1 when
    // nothing is left of it; the joints follow the size.
    void SetScaledTileSize(double dSize);
    // The selection and the stamp are drawn in screen pixels: they follow the tile size.
    void RezoomShapes(int nOldSize, int nNewSize);

    // ---- Tile palette -------------------------------------------------------------------------
    // Refills the Palette menu from the palette files; returns the number of files found.
    int BuildPaletteMenu();
    void ClearPaletteMenu();
    // Builds the Palette menu when it has not been built into the menu bar yet.
    void BuildStalePaletteMenu();
    // The first palette file of "Palettes" in name order; empty when there is none.
    CString FirstPaletteFileName() const;
    // What the user is told where the tile palette has no colour: why, and what to do.
    CString NoTilePaletteText() const;
    // Loads a palette file into the tile palette: mode 0 the file of that name under
    // "Palettes" (an empty name leaves no tile palette), mode 1 a file the user picks.
    // bRemember makes it palettefile, by its name in "Palettes", and opens the palette table.
    // Returns 1, or 0 when the user cancelled or a file that was to be loaded could not be
    // (reported): the palette and palettefile then stay as they were.
    int LoadPaletteFile(int nMode, int bRemember, LPCTSTR lpszFileName);
    // No tile palette: no colour, no name.
    void ClearTilePalette();
    // The name under which "Palettes" holds the palette file at the path: a file there keeps
    // its name; one from elsewhere is copied in (beside any other file of its name, unless it
    // holds the same bytes). Empty when it cannot be copied, which is reported.
    CString KeepPaletteFile(const CString& strPath);
    // Merges image colours of equal RGB and packs the colours in use at the bottom.
    void SyncPaletteBars();
    void ShowTilePaletteDialog();
    afx_msg void OnChoosePalette(UINT nID);
    afx_msg void OnOpenTilePaletteFile();
    afx_msg void OnSaveTilePalette();

    // ---- Editing commands ---------------------------------------------------------------------
    // Each settles the pending edit first. Resize, filter, triangles, mirrors and paste can
    // be undone; rows and columns are settled at once.
    afx_msg void OnResize();
    afx_msg void OnAddRowsColumns();
    afx_msg void OnDeleteRowsColumns();
    afx_msg void OnFilterCells();
    afx_msg void OnGenerateTriangles();
    afx_msg void OnMirrorHorizontal();
    afx_msg void OnMirrorVertical();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    // Asks for the text of the text stamp and switches the stamp on with its picture.
    afx_msg void OnInsertText();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateGenerateTriangles(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMirror(CCmdUI* pCmdUI);
    // Resamples the grid from a physical size to another one, in the same unit, as an edit
    // that can be undone. FALSE, with nothing changed, when no grid of 1 to MaxGridSize
    // tiles a side comes of it (reported) or either size is not above 0.
    BOOL ResizeGrid(float fPresent, float fWanted);
    // The text stamp's picture of the text in m_textImage, 1 on the pixels of the letters.
    // FALSE, with the picture unchanged, when the stamp's font cannot draw some of the
    // characters: strMissing lists them.
    BOOL MakeTextImage(const CString& strText, CString& strMissing);

    // ---- Tool and display switches -------------------------------------------------------------
    // Every tool goes off, then the tool pressed goes on unless it was on.
    afx_msg void OnToolSelect();
    afx_msg void OnToolMeasureHorizontal();
    afx_msg void OnToolMeasureVertical();
    afx_msg void OnToolWholeTile();
    afx_msg void OnToolDiagonalHalfTile();
    afx_msg void OnToolHalfTile();
    afx_msg void OnToolQuarterTile();
    afx_msg void OnToolDiagonalQuarterTile();
    afx_msg void OnToolShade();
    afx_msg void OnToolFillMix();
    afx_msg void OnToolToggleCells();
    afx_msg void OnToolFill();
    afx_msg void OnToolReplaceColour();
    afx_msg void OnToolBrush();
    afx_msg void OnNoTool();
    afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNoTool(CCmdUI* pCmdUI);
    BOOL IsAnyToolOn() const;
    afx_msg void OnShowColours();
    afx_msg void OnShowSymbols();
    afx_msg void OnShowColoursAndSymbols();
    afx_msg void OnToggleJoints();
    afx_msg void OnTogglePlaques();
    afx_msg void OnToggleRulers();
    afx_msg void OnTexturedTiles();
    afx_msg void OnUpdateDisplay(CCmdUI* pCmdUI);

    // ---- Cell maps, pictures and sizes --------------------------------------------------------
    CRasterImage m_screenImage;      // RGB picture the view renders into
    CRasterImage m_committedMap;     // cell map before the pending edit; the one stored
    CRasterImage m_workingMap;       // cell map shown and edited
    CRasterImage m_clipboardMap;     // copied block of cells, scratch of the mirrors
    CRasterImage m_textImage;        // picture of the text stamp tool
    int m_cols;
    int m_rows;
    int m_savedCols;                 // grid size before a pending resize
    int m_savedRows;
    BITMAPINFOHEADER* m_bmpHeader;   // owned; biWidth x biHeight is the grid in tiles
    int m_screenWidth;
    int m_screenHeight;

    // ---- Palettes -------------------------------------------------------------------------------
    C2Palette m_imagePalette;        // the mosaic's own colours, indexed by the cells
    C2Palette m_tilePalette;         // the chosen range of tiles (palettefile)
    C2Palette m_imagePaletteUndo;    // undo copy of the colour entries and family kind
    int m_colourCount;
    int m_colourCountUndo;
    int m_tileColourCount;
    int m_tilePaletteModified;
    CString m_paletteMenuFiles[PaletteMenuFileCount];
    int m_paletteMenuStale;

    // ---- Files and names ----------------------------------------------------------------------
    CString m_programFolder;         // with its final backslash
    CString m_path;
    CString m_saveName;
    // The file this mosaic was read from or last written to: the only file a save may
    // replace without the user's say. Empty for a new or imported mosaic.
    CString m_ownFile;
    CString money;
    CString palettefile;
    CString m_unitText;              // "mm" / "in"
    CString m_unitTextLong;          // "m" / "ft"
    CString m_clientStrings[8];
    int m_reservedValue;
    int m_version;                   // format version of the document last read

    // ---- Physical settings and plan options (profile keys of the same name) -------------------
    int intercar;
    int taillecar;
    int carplaquex;
    int carplaquey;
    int coljoint;
    int colfond;
    int filet;
    int impression;
    int unites;
    int format;
    int direction;
    int decalage;
    int regles;
    int responsive;
    int numerosgrille;
    int grillescouleur;
    int cresol;
    int mlargeur;
    int mhauteur;
    int motif;
    int imprCouleurs;
    int imprVignettes;
    int typexp;
    int lance0;
    int view0;
    int lastPalCheck;
    int lastFamilleCheck;
    int m_pitch;
    BYTE m_colourTable[13][3];
    int m_randomSeeds[2];

    // ---- Display state --------------------------------------------------------------------------
    int m_tileSize;                  // zoom: tile size in screen pixels
    int m_showJoints;
    int m_showPlaques;
    int m_jointsOffByZoom;
    int affichage;
    int rulers;
    int superpose;
    int m_texturedTiles;
    int m_rebuildTileImages;
    int m_recentreScroll;
    int m_pavingType;                // PavingType
    // Cells whose shape the paving pattern laid (1), one byte per cell; empty while unknown,
    // as after an open.
    CRasterImage m_patternCells;
    int m_loaded;
    int m_dirty;
    int m_newCount;
    int m_plaquesValid;

    // ---- Pending edit and undo ------------------------------------------------------------------
    int m_undoPending;
    int m_undoPendingB;
    int m_resizePending;
    int m_coloursPending;
    int m_barSelectionPending;
    int m_mixPreviewPending;
    int m_savedBarButton;
    CMenu* m_menu;
    CString m_previousTitle;
    double m_resizeFactor;
    int m_resizeShrunk;
    // What the document last put on the Undo item, kept also without a main window.
    CString m_undoItemText;
    int m_undoItemEnabled = 0;
    static DocUiHooks s_uiHooks;

    // Settles the pending edit: TRUE, or FALSE when a previewed mix was rejected and undone.
    BOOL CommitPendingEdit();
    // Forgets the pending edit and the undo step, for a mosaic that replaces the one edited.
    void DiscardPendingEdit();
    // Names the Undo item after an edit (enabled); TXT_UNDO restores the neutral text, greyed.
    void SetUndoItem(UINT nTextId);
    void ResetTools();

    // ---- Laying plan and colour chart files ----
    // Reports, the framework's way, the file the user asked for as not written.
    void ReportFileNotWritten(const CString& strPath, DWORD dwError);
    // The tile palette's chart in "Plans\ColorCharts", shown when written. A folder or file
    // that cannot be written is reported: FALSE.
    BOOL WriteColourChart();
    // The chart's file name from the palette's file name (its ".pal" and hyphens removed),
    // or from the palette's name when that leaves nothing; never empty.
    static CString ChartFileName(const CString& strPaletteFile, const CString& strPaletteName);
    // Settles the edits, the plates, the committed map, the image colours' names and the
    // printer's paper for a page of the plan. TRUE.
    BOOL PrepareForPrinting();
    // No plate has plan pages until they are numbered again.
    void ResetPlaquePages();
    // The plan's file "Plans\Plan_<title>_<date>_<time>.pdf": the title is the document
    // path's file name without its extension.
    static CString PlanFileName(const CString& strProgramFolder, const CString& strDocPath,
                                const SYSTEMTIME& time);
    afx_msg void OnPrintGrids();
    // The mosaic's data on the information page: title, palette, size, plates, measures,
    // laying, labels and the count totals, one line each.
    void GetInfoLines(CStringArray& lines) const;
    // The three lines of image colour nColour: its label and name, then its whole, diagonal
    // half and half tiles, then its quarters.
    void GetColourInfoLines(int nColour, CString lines[3], BOOL bMarkEmptySymbol = FALSE) const;
    void EraseShape(CShpRectangle* pShape);
    // Reallocates both cell maps at the current grid size, keeping the working content.
    void RebuildGridImages();
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedMosaic(CCmdUI* pCmdUI);
    // Keeps the image colours, their family kind and count for the undo of the edit about to
    // change them, and marks them pending.
    void SaveColoursForUndo();

    // ---- Region operations of the view's tools ---------------------------------------------------
    // (x, y) is a pixel of the region plane (4 x 4 per cell); a point outside the mosaic
    // changes nothing. Each returns 1.
    // Fill tool: the region of the clicked colour takes image colour nColour.
    int FloodFillColour(int x, int y, int nColour);
    // Cell tool: the cells of the clicked region are laid or removed.
    int FloodToggleCells(int x, int y);
    // Mix-fill tool: the region takes tiles drawn from the chosen colours in their shares.
    int FloodFillMix(int x, int y);

    // ---- Editing tools --------------------------------------------------------------------------
    int m_selectTool;
    int m_measureVTool;
    int m_measureHTool;
    int m_fillTool;
    int m_brushTool;
    int m_replaceTool;
    int m_mixFillTool;
    int m_toggleTool;
    int m_wholeTool;
    int m_halfTool;
    int m_diagHalfTool;
    int m_quarterTool;
    int m_diagQuarterTool;
    int m_partToolActive;
    int m_cutKind;
    int m_textStampTool;
    int m_copyValid;
    // In tiles, each block's first column and row then its last column and row (both
    // included): the block selected now, then the block selected when Copy ran.
    int m_copyRect[8];
    // Owned; made and deleted through the view layer's hooks.
    CShpRectangle* m_selection;
    CShpRectangle* m_stampShape;

    // ---- Plates and plan pages ------------------------------------------------------------------
    CObList m_plaques;               // owned CPlaque objects, last plate first
    POSITION m_plaquePos;
    int m_plaqueCount;
    int m_planPage;                  // page-kind flags of a PDF pass
    int m_infoPage;
    int m_paletteChartPage;
    int m_picturePage;

    // Cuts the grid into plates of carplaquex by carplaquey tiles, band by band in the order
    // that `direction` gives; a plate size below 1 gives no plates. Returns 1.
    int BuildPlaques();
    void DeletePlaques();
    // The first plate in list order that shows the page, or has the number; NULL when none.
    CPlaque* FindPlaqueByPage(int nPage);
    CPlaque* FindPlaqueByNumber(int nNumber);
    // The laying plan: the band of its rulers (page units), set when its pages are numbered,
    // and the first and last plate it prints; every plate until the plan command sets them.
    int m_rulerBand = 0;
    int m_printFirst = 1;
    int m_printLast = INT_MAX;

    // ---- Colour mixing --------------------------------------------------------------------------
    int m_allowedColours[256];
    int m_allowedCount;
    int m_mixOptions[256];
    int m_mixStart[256];
    int m_mixStep[256];
    int m_mixCount;
    int m_mixDirection;
    int m_mixPercent[MaxMixCount][256];
    // The mixing dialog and the two grids belong to the dialog and grid layers, which
    // create them.
    CMelange* m_mixDialog;
    CGridCtrl* m_mixGrid;
    CGridCtrl2* m_paletteGrid;

    // ---- Colour choice, reduction and mixing ----------------------------------------------------
    // The user chooses the allowed tile colours (through the hook): TRUE when confirmed with
    // at least one colour. A cancelled choice changes nothing.
    BOOL SelectColours();
    // A confirmed choice: entry i of pChecked (n = m_tileColourCount entries) nonzero when
    // tile colour i is allowed. The mixing rules of colours no longer allowed are cleared,
    // and when the set changed the shares are worked out again from the rules.
    void ApplyColourChoice(const int* pChecked);
    afx_msg void OnReduceColours();
    // Replaces every image colour by the nearest allowed tile colour, merging those that
    // meet, as an edit that can be undone. FALSE, with nothing changed, when no colour of
    // the tile palette is allowed.
    BOOL ReduceToAllowedColours();
    // The share of every allowed colour in steps 0 to m_mixCount - 1, from the rules: a
    // fixed start, rising or falling by a step, and the rest shared by the "rest" colours.
    void ComputeMixShares();
    // The sum of the shares of step nStep over the allowed colours.
    int MixStepTotal(int nStep) const;
    // The shares of step nStep add up to more than the 101 % a rounding may leave.
    BOOL IsMixStepOverfull(int nStep) const;
    // Tells the user and returns FALSE when the allowed colours cannot be added to the image
    // palette, even after merging and dropping the unused image colours.
    BOOL MakeRoomForMixColours();
    // Adds the allowed tile colours after the image colours (m_mixFirstColour). FALSE, with
    // nothing added, when they do not fit into the image palette.
    BOOL AppendMixColours();
    // The tile colours the choice and the mixes offer: 0 to m_tileColourCount - 1, at most
    // the palette's 256.
    int TileColoursInUse() const;
    static int ClampPercent(int nValue);
    static int ClampMixCount(int nValue);
    // Where the last confirmed mix added its colours to the image palette.
    int m_mixFirstColour = 0;

    // ---- Tile counts and costs ------------------------------------------------------------------
    int m_tileCounts[5][256];
    int m_cellCount;
    double m_borderCellCount;
    double m_countTotals[5];
    double m_colourCosts[256];

    // Recounts whole tiles and split-tile parts per image colour, their totals and costs.
    void CountTilesPerColour();

    // ---- Textures -------------------------------------------------------------------------------
    enum { TextureCacheSize = 25600, TileTextureCount = 6400, TileMaskCount = 16 };
    CRasterImageTable m_textureCache;   // TextureCacheSize squares
    CRasterImageTable m_tileTextures;   // TileTextureCount pictures
    CRasterImage m_tileMasks[2][TileMaskCount];

    // ---- Texture loading --------------------------------------------------------------------
    // Loads the textures every tile part of the working map needs and makes their squares of
    // n x n. A file read once stays; a file that is missing or cannot be decoded is reported
    // once, and its tiles are drawn plain. FALSE when a texture could not be had.
    virtual BOOL LoadTileTextures(int n);
    // Reads the texture file at the path into pTexture when it holds no picture yet, then
    // fills pTarget (an RGB square) with it scaled and turned by nQuarter quarter turns.
    virtual BOOL LoadTileTexture(LPCTSTR lpszPath, CRasterImage* pTexture, CRasterImage* pTarget,
                                 int nQuarter);
    // Creates the "PalettesCry" and "PalettesVerif" folders of every named tile colour: 1,
    // or 0 for a palette without textures.
    virtual int PrepareTextureFolders();
    // How far the texture squares serve the working map at tile size n (never loads).
    int GetTextureReadiness(int n) const;
    // The texture file of tile-palette colour name and shade (0 first).
    CString TextureFilePath(const CString& strColourName, int nShade) const;
    // Frees every square and the pictures of the first nShades shades of every colour.
    void FreeTileTextures(int nShades);
    // One message per kind of failure of a load: undecodable files, missing files, memory.
    void ReportTextureFailures(int nMissing, const CString& strFirstMissing, int nUndecodable,
                               const CString& strFirstUndecodable);
    CTextureLoadState m_textureState;
    int m_textureReadError = 0;      // TextureReadResult of the last LoadTileTexture

    // ---- Mosaic library and exports -------------------------------------------------------------
    CStringArray m_libraryFiles;
    CStringArray m_libraryNames;
    int m_libraryIndex;
    int m_exportMode;
    CString m_exportPath;
    CString m_thumbPath;
    int m_thumbWidth;
    int m_thumbHeight;
    int m_thumbOffsetX;
    int m_thumbOffsetY;

    // ---- Picture export and thumbnails ----------------------------------------------------------
    // Export Mosaic: the picture the user names, opened afterwards.
    afx_msg void OnExportMosaic();
    // Writes the whole mosaic as one picture, as the screen shows it at an even zoom of at
    // least 4: the file the user chooses (m_exportMode 0), or the plan picture, 512 pixels
    // on its longer side, under "Plans\Images" (mode 1). Returns the path written to, or the
    // proposed base name when the user cancels; a picture that cannot be written is
    // reported and not opened.
    CString ExportMosaic(int bOpenAfterwards);
    // The plan picture ("_E", with the plates) and from it the thumbnail ("_V") that fits in
    // 128 x 128 pixels. FALSE when either could not be written: the thumbnail is then 0 x 0.
    BOOL MakeThumbnail();
    // The whole mosaic at the document's tile size, with the plates when they are shown,
    // blue, green, red; empty for a mosaic without pixels.
    void RenderExportPicture(cv::Mat& picture);
    // Scales the picture to 512 pixels on its longer side, keeps its centring offsets and
    // writes it; FALSE when nothing was written.
    BOOL WritePlanPicture(const CString& strPath, const cv::Mat& picture);

    // ---- Information, text summary and text tables ----------------------------------------------
    // Settles the edits and counts the tiles, then shows the information dialog.
    afx_msg void OnInformations();
    // The figures of the dialog, from the settled document.
    void GetInfoFigures(InfoFigures& figures) const;
    // Asks the file name, writes the text summary and shows it. TRUE.
    BOOL WriteTextSummary();
    // TRUE when an export may write the file the user named: nothing is there, or the user
    // agrees to replace it. The question says so when the file is the open mosaic's own or
    // of a kind the program opens.
    BOOL ConfirmReplaceFile(const CString& strPath);
    // The summary's text; strDate is its first line.
    CString FormatTextSummary(const CString& strDate) const;
    // The summary's proposed name: the title without its extension, then "_T.txt".
    static CString SummaryFileName(const CString& strTitle);
    // Where the summary goes: beside the document (or in the current folder when it has no
    // file) under its own name, or under the name the user chose instead of the proposed one.
    static CString SummaryPath(const CString& strDocPath, const CString& strProposed,
                               const CString& strChosen);
    // Metres or feet across and down, and the square metres or feet of the laid cells.
    void GetPhysicalSize(double& dWidth, double& dHeight, double& dSurface) const;
    // The label of an image colour by the label mode: its number, its tile's number ("?"
    // for none) or its symbol ("?" for none when bMarkEmptySymbol).
    CString GetColourLabel(int nColour, BOOL bMarkEmptySymbol) const;
    // Some tile or part of the colour is laid.
    BOOL HasTiles(int nColour) const;
    // The spreadsheet table in "Excel", shown when written.
    afx_msg void OnExportExcel();
    // Writes the table: its path, or empty when it could not be written (reported).
    CString ExportSpreadsheet();
    CString FormatSpreadsheetTable() const;
    CString SpreadsheetPath(const SYSTEMTIME& time) const;
    // The tile palette as a text table in "Palettes": FALSE when it could not be written
    // (reported).
    afx_msg void OnExportPalette();
    BOOL ExportTilePaletteText();
    CString PaletteExportPath() const;
    // Asks for a text palette and imports it, then lists the palette files again.
    afx_msg void OnImportTilePalette();
    // Makes the text palette the tile palette and saves it in "Palettes": FALSE, with the
    // palette unchanged, when nothing could be imported (reported). Lines left out are
    // reported.
    BOOL ImportTilePaletteText(LPCTSTR lpszPath);
    // Lists the palette files in the Palette menu anew, no item checked.
    void RelistPaletteFiles();

    // The profile section of the settings (resource text "Orbalith\Mosaic").
    static CString GetSettingsSection();

    // ---- Configuration, preferences and the palette table ----
    afx_msg void OnConfiguration();
    afx_msg void OnPreferences();
    // The settings as the configuration dialog shows them, and the dialog's values taken
    // back: lengths rounded to the length unit, colours, plates (made even for triangles).
    void GetConfiguration(ConfigurationValues& values) const;
    void ApplyConfiguration(const ConfigurationValues& values);
    // After the units changed from nOldUnits: unit words, and the lengths converted.
    void FollowUnits(int nOldUnits);
    // A length from one unit (0 1/100 mm, 1 1/1000 inch) to the other, rounded.
    static int ConvertLength(int nLength, int nFromUnits, int nToUnits);

    // What the palette table's check found; with each fault, the colour it names.
    enum
    {
        PaletteTableValid = 0,
        PaletteTableMissingText = 1,    // a name or symbol empty or one blank
        PaletteTableSharedSymbol = 2,   // two colours with one symbol
        PaletteTableBadComponent = 3    // red, green or blue not a whole number 0 to 255
    };
    // The rows the palette table has for colours: the tile colour count, at most 256.
    int GetTileColourRows() const;
    // Fills the palette grid (made when there is none) from the tile palette.
    void FillPaletteGrid();
    // Checks the edited table, marks its faulty names and symbols red, and when it has no
    // fault takes it into the tile palette, offering to save the palette when it changed.
    // A table with a fault changes nothing. Returns the check's result, nIndex the colour.
    int ApplyPaletteGrid(CGridCtrl* pGrid, int& nIndex);
    // The words that report a fault of the table; empty for a valid one.
    static CString GetPaletteTableMessage(const CGridCtrl* pGrid, int nResult, int nIndex);
    // The accepted table's palette gives the mosaic its tile size and joint width.
    void AcceptPaletteTable();
    // ---- XML description, mosaic library, web and help commands, sample outputs ------------
    enum
    {
        ID_OPEN_WEB_SITE = 61460,
        ID_OPEN_USERS_FORUM = 32973,
        ID_OPEN_HELP_COMMANDS = 32995,
        ID_DELETE_LIBRARY_MOSAIC = 32834,
        ID_EXPORT_GRADIENTS = 33032,
        ID_WRITE_PDF_SAMPLE = 33084
    };
    // Writes the mosaic's description beside the document, as "<m_path>.xml": settings,
    // customer and the committed cell map. A file that cannot be written stays as it was
    // and is reported; a document without a path writes nothing.
    virtual void ExportXml();
    // The number at the start of the current library entry's name.
    int m_libraryNumber = 0;
    // The library folder "Images" beside the program, with its final backslash.
    CString GetLibraryFolder() const;
    // Fills the library lists from the ".ms2" files of the library folder, in the order of
    // the numbers their names start with (then of the names): m_libraryNames without the
    // extension, m_libraryFiles the full paths.
    void LoadLibraryList();
    // The entry whose file is the document's own file; -1 when the mosaic is not in the list.
    int FindLibraryEntry() const;
    // Makes the entry current: a changed mosaic of the library is saved first, then the
    // entry is opened. An index outside a non-empty list changes nothing more.
    void SelectLibraryItem(int nIndex);
    // The thumbnail of a library entry, in "Images\Vignettes".
    CString LibraryThumbnailPath(const CString& strName) const;
    // The users' forum's string-table entry for an interface language.
    static UINT ForumAddressId(int nLanguageId);
    // The help page of the mosaic commands for an interface language.
    CString HelpCommandsPath(int nLanguageId) const;
    // The gradient tables' folder.
    CString m_gradientFolder = L"D:\\Textes\\";
    // Appends the five gradient tables to their files in m_gradientFolder. A table whose file
    // cannot be written is reported and nothing more is written.
    BOOL WriteGradientTables();
    afx_msg void OnWebSite();
    afx_msg void OnUsersGroup();
    afx_msg void OnHelpCommands();
    afx_msg void OnDeleteLibraryMosaic();
    afx_msg void OnExportGradients();
    afx_msg void OnPdfTest();

protected:
    void ReadSettings();
    void WriteSettings();
    void SetUnitTexts();
    // The joint and background colours of coljoint and colfond. A custom colour keeps the
    // colour in use when it was custom already, else it comes from the profile.
    void SetDisplayColours(BOOL bKeepCustomJoint, BOOL bKeepCustomBackground);
    void SetDisplayColours(const CDocProfileSection& section, BOOL bKeepCustomJoint,
                           BOOL bKeepCustomBackground);
    // The window whose menu bar the document's commands change: the frame of its view, or
    // the main window; NULL without either.
    CWnd* GetMenuWindow() const;
    CMenu* FetchMenu();
    void RedrawMenuBar();

    // Border codes of the current paving on the working map.
    void ClearBorderCodes();
    void SetBorderCodes();
    // A length in 1/100 mm or 1/1000 inch in metres or feet.
    float PhysicalSize(int nLength) const;
    // Reports a grid size outside 1 to MaxGridSize tiles a side; TRUE when it is inside.
    BOOL IsWorkableGridSize(int nCols, int nRows);
    // Rebuilds both maps at the new size, keeping the working cells at the top left. A size
    // the memory cannot hold is reported and leaves the mosaic as it was before the command.
    BOOL SetGridSize(int nCols, int nRows);
    // Settles the pending edit and asks for the sides: TRUE with the rows and the columns
    // they add up to. FALSE when the dialog is cancelled or a chosen side asks for fewer
    // than one (reported); the border codes are then set again.
    BOOL AskGridSides(UINT nHeadingId, GridSides& sides, int& nRows, int& nCols);
    void RefuseGridSides(UINT nMessageId);
    void EndGridSides();
    CRect GetSelectionRect() const;
    BOOL HasSelection() const;
    void RedrawSelectionArea();
    // CopyCellsRect on the working map, after which every cell of the pattern's border holds
    // the partial tile of its place and no border code is left inside.
    void CopyCellsKeepingBorder(const RECT& source, const RECT& target, int nMode);
    void MirrorSelection(int nMode, UINT nUndoTextId);
    void SwitchTool(int& nFlag, BOOL bSettleFirst);
    void SwitchPartTool(int& nFlag, int nCutKind);
    void RaiseTileSizeForSymbols();
    void ShowColoursAndSymbols();
    void EndDisplayChange();
    // Settles the edits, the colours' names and the committed map, and counts the tiles.
    void SettleForFigures();
    // The cell's label in the spreadsheet table; empty for a mode without labels.
    CString GetCellLabel(int nColour) const;
    BOOL SaveImportedPalette(const CTextPalette& table, const CString& strFolder,
                             const CString& strName, DWORD& dwError);

    DECLARE_MESSAGE_MAP()
};
