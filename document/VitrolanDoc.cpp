#include "VitrolanDoc.h"

#include <string.h>

#include "AfxPath.h"
#include "AfxRes.h"
#include "DocSettings.h"
#include "GridCtrl2.h"
#include "LangText.h"
#include "Paving.h"
#include "TextIds.h"

IMPLEMENT_DYNCREATE(CVitrolanDoc, CDocument)

BEGIN_MESSAGE_MAP(CVitrolanDoc, CDocument)
    ON_COMMAND(ID_UNDO_EDIT, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_UNDO_EDIT, OnUpdateEditUndo)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND_RANGE(ID_PAVING_FIRST, ID_PAVING_LAST, OnPaving)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PAVING_FIRST, ID_PAVING_LAST, OnUpdatePaving)
    ON_COMMAND(ID_ZOOM_OUT, OnZoomOut)
    ON_COMMAND(ID_PRINT_GRIDS, OnPrintGrids)
    ON_COMMAND(ID_ZOOM_IN, OnZoomIn)
    ON_COMMAND_RANGE(ID_PALETTE_FIRST, ID_PALETTE_ROUTED_LAST, OnChoosePalette)
    ON_COMMAND(ID_OPEN_TILE_PALETTE, OnOpenTilePaletteFile)
    ON_COMMAND(ID_SAVE_TILE_PALETTE, OnSaveTilePalette)
    ON_COMMAND(ID_OPEN_TILE_PALETTE_ITEM, OnOpenTilePaletteFile)
    ON_COMMAND(ID_SAVE_TILE_PALETTE_ITEM, OnSaveTilePalette)
    ON_UPDATE_COMMAND_UI(ID_OPEN_TILE_PALETTE_ITEM, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_SAVE_TILE_PALETTE_ITEM, OnUpdateNeedMosaic)
    // Editing commands.
    ON_COMMAND(ID_RESIZE_MOSAIC, OnResize)
    ON_COMMAND(ID_ADD_ROWS_COLUMNS, OnAddRowsColumns)
    ON_COMMAND(ID_DELETE_ROWS_COLUMNS, OnDeleteRowsColumns)
    ON_COMMAND(ID_FILTER_CELLS, OnFilterCells)
    ON_COMMAND(ID_GENERATE_TRIANGLES, OnGenerateTriangles)
    ON_UPDATE_COMMAND_UI(ID_GENERATE_TRIANGLES, OnUpdateGenerateTriangles)
    ON_COMMAND(ID_MIRROR_HORIZONTAL, OnMirrorHorizontal)
    ON_UPDATE_COMMAND_UI(ID_MIRROR_HORIZONTAL, OnUpdateMirror)
    ON_COMMAND(ID_MIRROR_VERTICAL, OnMirrorVertical)
    ON_UPDATE_COMMAND_UI(ID_MIRROR_VERTICAL, OnUpdateMirror)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_COMMAND(ID_INSERT_TEXT, OnInsertText)
    // Tool switches.
    ON_COMMAND(ID_SELECT_TOOL, OnToolSelect)
    ON_COMMAND(ID_MEASURE_ACROSS_TOOL, OnToolMeasureHorizontal)
    ON_COMMAND(ID_MEASURE_DOWN_TOOL, OnToolMeasureVertical)
    ON_COMMAND(ID_WHOLE_TILE_TOOL, OnToolWholeTile)
    ON_COMMAND(ID_DIAGONAL_HALF_TOOL, OnToolDiagonalHalfTile)
    ON_COMMAND(ID_HALF_TILE_TOOL, OnToolHalfTile)
    ON_COMMAND(ID_QUARTER_TILE_TOOL, OnToolQuarterTile)
    ON_COMMAND(ID_DIAGONAL_QUARTER_TOOL, OnToolDiagonalQuarterTile)
    ON_COMMAND(ID_SHADE_TOOL, OnToolShade)
    ON_COMMAND(ID_MIX_FILL_TOOL, OnToolFillMix)
    ON_COMMAND(ID_TOGGLE_CELLS_TOOL, OnToolToggleCells)
    ON_COMMAND(ID_FILL_TOOL, OnToolFill)
    ON_COMMAND(ID_REPLACE_COLOUR_TOOL, OnToolReplaceColour)
    ON_COMMAND(ID_BRUSH_TOOL, OnToolBrush)
    ON_COMMAND(ID_NO_TOOL, OnNoTool)
    ON_UPDATE_COMMAND_UI(ID_SELECT_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_MEASURE_ACROSS_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_MEASURE_DOWN_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_WHOLE_TILE_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_DIAGONAL_HALF_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_HALF_TILE_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_QUARTER_TILE_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_DIAGONAL_QUARTER_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_SHADE_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_MIX_FILL_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TOGGLE_CELLS_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_FILL_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_REPLACE_COLOUR_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_BRUSH_TOOL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_NO_TOOL, OnUpdateNoTool)
    // Display switches.
    ON_COMMAND(ID_SHOW_COLOURS, OnShowColours)
    ON_COMMAND(ID_SHOW_SYMBOLS, OnShowSymbols)
    ON_COMMAND(ID_SHOW_COLOURS_SYMBOLS, OnShowColoursAndSymbols)
    ON_COMMAND(ID_SHOW_JOINTS, OnToggleJoints)
    ON_COMMAND(ID_SHOW_PLATES, OnTogglePlaques)
    ON_COMMAND(ID_SHOW_RULERS, OnToggleRulers)
    ON_COMMAND(ID_SHOW_TEXTURED_TILES, OnTexturedTiles)
    ON_UPDATE_COMMAND_UI(ID_SHOW_COLOURS, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_SYMBOLS, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_COLOURS_SYMBOLS, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_JOINTS, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_PLATES, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_RULERS, OnUpdateDisplay)
    ON_UPDATE_COMMAND_UI(ID_SHOW_TEXTURED_TILES, OnUpdateDisplay)
    // Commands that need a mosaic: resize, colour reduction, cell filter, print grids,
    // zoom out, add and delete rows or columns, zoom in, text stamp, information, delete
    // library mosaic, export picture, open, save and new tile palette, preferences, and two
    // document commands that do nothing.
    ON_UPDATE_COMMAND_UI(32772, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32774, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32775, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32780, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32781, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32783, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32784, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32785, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32792, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32828, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32829, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32834, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32835, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32836, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32842, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32843, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32888, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(32907, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_SETUP, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateNeedMosaic)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdateNeedMosaic)
    // Picture export.
    ON_COMMAND(ID_EXPORT_MOSAIC, OnExportMosaic)
    // Information, text summary and text tables.
    ON_COMMAND(ID_INFORMATION, OnInformations)
    ON_COMMAND(ID_EXPORT_SPREADSHEET, OnExportExcel)
    ON_COMMAND(ID_EXPORT_PALETTE_TABLE, OnExportPalette)
    ON_COMMAND(ID_IMPORT_TILE_PALETTE, OnImportTilePalette)
    // Configuration and preferences.
    ON_COMMAND(ID_CONFIGURATION, OnConfiguration)
    ON_COMMAND(ID_PREFERENCES, OnPreferences)
    // Library, web and help commands; the developers' sample outputs.
    ON_COMMAND(ID_OPEN_WEB_SITE, OnWebSite)
    ON_COMMAND(ID_OPEN_USERS_FORUM, OnUsersGroup)
    ON_COMMAND(ID_OPEN_HELP_COMMANDS, OnHelpCommands)
    ON_COMMAND(ID_DELETE_LIBRARY_MOSAIC, OnDeleteLibraryMosaic)
    ON_COMMAND(ID_EXPORT_GRADIENTS, OnExportGradients)
    ON_COMMAND(ID_WRITE_PDF_SAMPLE, OnPdfTest)
    // Colour reduction.
    ON_COMMAND(ID_REDUCE_COLOURS, OnReduceColours)
END_MESSAGE_MAP()

namespace
{

const UINT kSectionTextId = 32844;          // "Orbalith\Mosaic"
const UINT kDefaultPaletteTextId = 33008;   // "EmauxDeBriare-Harmonies.pal"
const int kEnglishUs = 1033;

// The display colours of the renderer, before the settings change the first two.
const BYTE kInitialColourTable[13][3] = {
    {255, 255, 255},   // background
    {192, 192, 192},   // joints
    {255, 255, 255},   // hit-test output
    {208, 208, 208},   // hit-test key
    {0, 0, 0},         // black
    {192, 192, 192},   // palette-bar grey
    {0, 0, 0},         // black labels
    {255, 255, 255},   // white labels
    {255, 0, 0},       // plates: red
    {0, 255, 0},       // plates: green
    {0, 0, 255},       // plates: blue
    {254, 254, 254},   // background of scales of the first kind
    {196, 196, 196}    // outside the mosaic
};

// A profile value outside [nMin, nMax] takes its default: the later commands index tables
// or loop with these values.
int ReadChecked(const CDocProfileSection& s, LPCTSTR lpszEntry, int nDefault, int nMin, int nMax)
{
    int nValue = s.GetInt(lpszEntry, nDefault);
    return nValue >= nMin && nValue <= nMax ? nValue : nDefault;
}

void SetTriple(BYTE* triple, int r, int g, int b)
{
    triple[0] = (BYTE)r;
    triple[1] = (BYTE)g;
    triple[2] = (BYTE)b;
}

}   // namespace

CString CVitrolanDoc::GetSettingsSection()
{
    CString strSection;
    if (!strSection.LoadString(kSectionTextId) || strSection.IsEmpty())
        strSection = L"Orbalith\\Mosaic";
    return strSection;
}

CVitrolanDoc::CVitrolanDoc()
    : m_cols(0), m_rows(0), m_savedCols(0), m_savedRows(0), m_bmpHeader(NULL),
      m_screenWidth(0), m_screenHeight(0), m_colourCount(1), m_colourCountUndo(1),
      m_tileColourCount(256), m_tilePaletteModified(0), m_paletteMenuStale(1),
      m_reservedValue(0), m_version(Ms2CurrentVersion), m_pitch(0), m_tileSize(2),
      m_showJoints(1), m_showPlaques(0), m_jointsOffByZoom(0), m_texturedTiles(1),
      m_rebuildTileImages(1), m_recentreScroll(0), m_pavingType(0), m_loaded(0), m_dirty(0),
      m_newCount(0), m_plaquesValid(0), m_undoPending(0), m_undoPendingB(0),
      m_resizePending(0), m_coloursPending(0), m_barSelectionPending(0),
      m_mixPreviewPending(0), m_savedBarButton(0), m_menu(NULL), m_resizeFactor(2.0),
      m_resizeShrunk(0), m_selectTool(0), m_measureVTool(0), m_measureHTool(0), m_fillTool(0),
      m_brushTool(0), m_replaceTool(0), m_mixFillTool(0), m_toggleTool(0), m_wholeTool(0),
      m_halfTool(0), m_diagHalfTool(0), m_quarterTool(0), m_diagQuarterTool(0),
      m_partToolActive(0), m_cutKind(0), m_textStampTool(0), m_copyValid(0),
      m_selection(NULL), m_stampShape(NULL), m_plaques(10), m_plaquePos(NULL),
      m_plaqueCount(0), m_planPage(0), m_infoPage(0), m_paletteChartPage(0),
      m_picturePage(0), m_allowedCount(0), m_mixCount(4), m_mixDirection(0),
      m_mixDialog(NULL), m_mixGrid(NULL), m_paletteGrid(NULL), m_cellCount(0),
      m_borderCellCount(0.0), m_textureCache(TextureCacheSize),
      m_tileTextures(TileTextureCount), m_libraryIndex(-1), m_exportMode(0), m_thumbWidth(0),
      m_thumbHeight(0), m_thumbOffsetX(0), m_thumbOffsetY(0)
{
    m_screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m_screenHeight = GetSystemMetrics(SM_CYSCREEN) - 128;

    m_programFolder = AfxGetProgramFolder();

    m_bmpHeader = new BITMAPINFOHEADER;
    memset(m_bmpHeader, 0, sizeof(*m_bmpHeader));
    m_bmpHeader->biSize = sizeof(BITMAPINFOHEADER);
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        m_tilePalette.m_colourNames[i].Empty();
        m_tilePalette.m_symbols[i].Empty();
    }
    memcpy(m_colourTable, kInitialColourTable, sizeof(m_colourTable));
    m_randomSeeds[0] = 25489631;
    m_randomSeeds[1] = 1254678;
    memset(m_copyRect, 0, sizeof(m_copyRect));

    memset(m_allowedColours, 0, sizeof(m_allowedColours));
    memset(m_mixOptions, 0, sizeof(m_mixOptions));
    memset(m_mixStart, 0, sizeof(m_mixStart));
    memset(m_mixStep, 0, sizeof(m_mixStep));
    memset(m_mixPercent, 0, sizeof(m_mixPercent));
    memset(m_tileCounts, 0, sizeof(m_tileCounts));
    memset(m_countTotals, 0, sizeof(m_countTotals));
    memset(m_colourCosts, 0, sizeof(m_colourCosts));

    ReadSettings();

    if (s_uiHooks.pfnCreateShape != NULL)
    {
        m_selection = s_uiHooks.pfnCreateShape();
        m_stampShape = s_uiHooks.pfnCreateShape();
    }
    ResetTools();
    if (s_uiHooks.pfnSetPrinterPaper != NULL)
        s_uiHooks.pfnSetPrinterPaper(format);
}

CVitrolanDoc::~CVitrolanDoc()
{
    WriteSettings();

    if (s_uiHooks.pfnDeleteShape != NULL)
    {
        s_uiHooks.pfnDeleteShape(m_stampShape);
        s_uiHooks.pfnDeleteShape(m_selection);
    }
    m_stampShape = NULL;
    m_selection = NULL;

    DeletePlaques();
    m_textureCache.FreeAll();
    m_tileTextures.FreeAll();
    for (int set = 1; set >= 0; set--)
        for (int i = TileMaskCount - 1; i >= 0; i--)
            m_tileMasks[set][i].Free();
    delete m_bmpHeader;
    delete m_paletteGrid;
    m_patternCells.Free();
    m_textImage.Free();
    m_clipboardMap.Free();
    m_workingMap.Free();
    m_committedMap.Free();
    m_screenImage.Free();
}

void CVitrolanDoc::SetUnitTexts()
{
    m_unitText = GetLangText(unites == 0 ? TXT_UNIT_MILLIMETRES : TXT_UNIT_INCHES);
    m_unitTextLong = GetLangText(unites == 0 ? TXT_UNIT_METRES : TXT_UNIT_FEET);
}

void CVitrolanDoc::SetDisplayColours(BOOL bKeepCustomJoint, BOOL bKeepCustomBackground)
{
    SetDisplayColours(CDocProfileSection(GetSettingsSection()), bKeepCustomJoint,
                      bKeepCustomBackground);
}

void CVitrolanDoc::SetDisplayColours(const CDocProfileSection& s, BOOL bKeepCustomJoint,
                                     BOOL bKeepCustomBackground)
{
    switch (coljoint)
    {
    case 0: SetTriple(m_colourTable[1], 255, 255, 255); break;
    case 2: SetTriple(m_colourTable[1], 0, 0, 0); break;
    case 3:
        if (!bKeepCustomJoint)
            SetTriple(m_colourTable[1], ReadChecked(s, L"coljointR", 192, 0, 255),
                      ReadChecked(s, L"coljointV", 192, 0, 255),
                      ReadChecked(s, L"coljointB", 192, 0, 255));
        break;
    default: SetTriple(m_colourTable[1], 192, 192, 192); break;
    }
    switch (colfond)
    {
    case 1: SetTriple(m_colourTable[0], 192, 192, 192); break;
    case 2:
        if (!bKeepCustomBackground)
            SetTriple(m_colourTable[0], ReadChecked(s, L"colfondR", 255, 0, 255),
                      ReadChecked(s, L"colfondV", 255, 0, 255),
                      ReadChecked(s, L"colfondB", 255, 0, 255));
        break;
    default: SetTriple(m_colourTable[0], 255, 255, 255); break;
    }
}

void CVitrolanDoc::ApplyOpenedSettings(int nOldJoint, int nOldBackground, int nOldUnits)
{
    SetUnitTexts();
    SetDisplayColours(nOldJoint == 3, nOldBackground == 2);
    if (unites != nOldUnits)
        cresol = ConvertLength(cresol, nOldUnits, unites);
}

void CVitrolanDoc::ReadSettings()
{
    const CDocProfileSection s(GetSettingsSection());
    const int nLanguage = ReadLanguageId();

    coljoint = s.GetInt(L"coljoint", 1);
    colfond = s.GetInt(L"colfond", 0);
    filet = s.GetInt(L"filet", 1);
    impression = s.GetInt(L"impression", 0);
    grillescouleur = s.GetInt(L"grillescouleur", 0);
    numerosgrille = s.GetInt(L"numerosgrille", 1);
    SetDisplayColours(s, FALSE, FALSE);
    mlargeur = s.GetInt(L"mlargeur", 5);
    mhauteur = s.GetInt(L"mhauteur", 5);
    motif = s.GetInt(L"motif", 2);
    unites = ReadChecked(s, L"unites", 0, 0, 1);
    format = ReadChecked(s, L"format", 0, 0, PaperFormatCount - 1);
    money = s.GetString(L"money", nLanguage == kEnglishUs ? L"Dollars" : L"Euros");
    view0 = s.GetInt(L"view0", 0);
    lance0 = s.GetInt(L"lance0", 0);
    if (lance0 == 0)
    {
        const BOOL bEnglish = nLanguage == kEnglishUs;
        money = bEnglish ? L"Dollars" : L"Euros";
        unites = bEnglish ? 1 : 0;
        format = bEnglish ? 1 : 0;
        lance0 = 1;
    }
    // After the first-run rule, so that the unit words follow the units in force.
    SetUnitTexts();
    const BOOL bMetric = unites == 0;
    intercar = ReadChecked(s, L"intercar", bMetric ? 160 : 63, 0, MaxLength);
    taillecar = ReadChecked(s, L"taillecar", bMetric ? 2500 : 1000, 1, MaxLength);
    cresol = s.GetInt(L"cresol", bMetric ? 15 : 6);
    direction = s.GetInt(L"direction", 0);
    decalage = s.GetInt(L"decalage", 0);
    regles = s.GetInt(L"regles", 1);
    responsive = s.GetInt(L"responsive", 1);
    carplaquex = ReadChecked(s, L"carplaquex", 12, 1, MaxPlateTiles);
    carplaquey = ReadChecked(s, L"carplaquey", 12, 1, MaxPlateTiles);
    imprCouleurs = s.GetInt(L"imprCouleurs", 1);
    imprVignettes = s.GetInt(L"imprVignettes", 1);
    rulers = s.GetInt(L"rulers", 1);
    lastPalCheck = s.GetInt(L"lastPalCheck", -1);
    lastFamilleCheck = s.GetInt(L"lastFamilleCheck", -1);
    superpose = s.GetInt(L"superpose", 1);

    CString strDefaultPalette;
    if (!strDefaultPalette.LoadString(kDefaultPaletteTextId) || strDefaultPalette.IsEmpty())
        strDefaultPalette = L"EmauxDeBriare-Harmonies.pal";
    palettefile = s.GetString(L"palettefile", strDefaultPalette);
    if (!IsBarePaletteFileName(palettefile))
        palettefile = strDefaultPalette;
    // The palette a first start names may not be beside the program; nor may one that was
    // removed since. The first one there stands in for it, and is remembered.
    if (GetFileAttributesW(m_programFolder + L"Palettes\\" + palettefile) ==
        INVALID_FILE_ATTRIBUTES)
    {
        const CString strFirst = FirstPaletteFileName();
        if (!strFirst.IsEmpty())
            palettefile = strFirst;
    }
    affichage = ReadChecked(s, L"affichage", 0, 0, 2);
    typexp = ReadChecked(s, L"typexp", 0, 0, 2);
    m_texturedTiles = s.GetInt(L"TextureCarreaux", 1) == 1 ? 1 : 0;

    // Symbols need room.
    if (m_tileSize < 20 && (affichage == 1 || affichage == 2))
        m_tileSize = 20;
}

void CVitrolanDoc::WriteSettings()
{
    const CString strSection = GetSettingsSection();
    LPCTSTR s = strSection;
    DocWriteProfileInt(s, L"intercar", intercar);
    DocWriteProfileInt(s, L"taillecar", taillecar);
    DocWriteProfileInt(s, L"coljoint", coljoint);
    DocWriteProfileInt(s, L"colfond", colfond);
    DocWriteProfileInt(s, L"filet", filet);
    DocWriteProfileInt(s, L"impression", impression);
    DocWriteProfileInt(s, L"grillescouleur", grillescouleur);
    DocWriteProfileInt(s, L"numerosgrille", numerosgrille);
    DocWriteProfileInt(s, L"cresol", cresol);
    DocWriteProfileInt(s, L"mlargeur", mlargeur);
    DocWriteProfileInt(s, L"mhauteur", mhauteur);
    DocWriteProfileInt(s, L"motif", motif);
    DocWriteProfileInt(s, L"unites", unites);
    DocWriteProfileInt(s, L"format", format);
    DocWriteProfileString(s, L"money", money);
    DocWriteProfileInt(s, L"lance0", lance0);
    DocWriteProfileInt(s, L"view0", view0);
    DocWriteProfileInt(s, L"direction", direction);
    DocWriteProfileInt(s, L"decalage", decalage);
    DocWriteProfileInt(s, L"regles", regles);
    DocWriteProfileInt(s, L"responsive", responsive);
    DocWriteProfileInt(s, L"colfondR", m_colourTable[0][0]);
    DocWriteProfileInt(s, L"colfondV", m_colourTable[0][1]);
    DocWriteProfileInt(s, L"colfondB", m_colourTable[0][2]);
    DocWriteProfileInt(s, L"coljointR", m_colourTable[1][0]);
    DocWriteProfileInt(s, L"coljointV", m_colourTable[1][1]);
    DocWriteProfileInt(s, L"coljointB", m_colourTable[1][2]);
    DocWriteProfileInt(s, L"rulers", rulers);
    DocWriteProfileInt(s, L"lastPalCheck", lastPalCheck);
    DocWriteProfileInt(s, L"lastFamilleCheck", lastFamilleCheck);
    DocWriteProfileInt(s, L"carplaquex", carplaquex);
    DocWriteProfileInt(s, L"carplaquey", carplaquey);
    DocWriteProfileInt(s, L"superpose", superpose);
    DocWriteProfileInt(s, L"imprCouleurs", imprCouleurs);
    DocWriteProfileInt(s, L"imprVignettes", imprVignettes);
    DocWriteProfileString(s, L"palettefile", palettefile);
    DocWriteProfileInt(s, L"affichage", affichage);
    DocWriteProfileInt(s, L"typexp", typexp);
    DocWriteProfileInt(s, L"TextureCarreaux", m_texturedTiles ? 1 : 0);
}
