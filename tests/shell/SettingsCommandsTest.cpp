// The configuration, preferences and palette table commands through their real dialogs:
// values typed as a user would are kept by the document and shown again the next time;
// values the mosaic could not be worked with are refused and change nothing.
#include "MosaicTest.h"

#include <locale.h>

#include <memory>
#include <vector>

#include "CommandDialogScript.h"
#include "FileDialogAnswerer.h"
#include "GridCtrl2.h"
#include "LangText.h"
#include "PromptApp.h"
#include "ShellHooks.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "document/DocTestFiles.h"
#include "document/SettingsFixture.h"
#include "resource.h"

namespace
{

using Script = CommandDialogScript;

CString Text(HWND hDlg, int nID)
{
    WCHAR szText[512] = {};
    ::GetDlgItemTextW(hDlg, nID, szText, 512);
    return szText;
}

void Click(HWND hDlg, int nID)
{
    ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

// Numbers in dialogs read the same under a locale whose decimal mark is a comma.
class FrenchNumbers
{
public:
    FrenchNumbers() : m_bSet(setlocale(LC_ALL, "fr_FR.UTF-8") != NULL) {}
    ~FrenchNumbers() { setlocale(LC_ALL, "C"); }
    bool IsSet() const { return m_bSet; }

private:
    bool m_bSet;
};

class SettingsCommandsTest : public testing::Test
{
protected:
    SettingsCommandsTest() : m_app(L"MosaicSettingsCommandsTest") {}

    void SetUp() override
    {
        CString strData = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
        strData.Replace(L'/', L'\\');
        SetLangTextFolder(strData);
        InstallShellHooks();
        m_doc.reset(new CVitrolanDoc);
        UseMetricSettings(*m_doc);
    }
    void TearDown() override
    {
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        SetLangTextFolder(L"");
    }

    // The settings the configuration dialog edits, as one text to compare.
    CString Settings() const
    {
        CString str;
        str.Format(L"%d %d %d %d %d %d %d %d", m_doc->taillecar, m_doc->intercar,
                   m_doc->carplaquex, m_doc->carplaquey, m_doc->decalage, m_doc->unites,
                   m_doc->format, m_doc->cresol);
        return str;
    }

    void UseEightColours() { UseEightTileColours(*m_doc); }

    CPromptApp m_app;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

}   // namespace

// Typed with a decimal point under a French locale, kept in the length unit, and shown the
// same way when the dialog opens again.
TEST_F(SettingsCommandsTest, ConfigurationIsKeptAndShownAgain)
{
    FrenchNumbers french;
    if (!french.IsSet())
        GTEST_SKIP() << "the locale fr_FR.UTF-8 is not installed";
    CString strShownTile, strShownJoint;
    size_t nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                                {Script::OnDialogWith(IDC_CONFIG_TILE_SIZE, [&](HWND hDlg) {
                                    strShownTile = Text(hDlg, IDC_CONFIG_TILE_SIZE);
                                    strShownJoint = Text(hDlg, IDC_CONFIG_JOINT_SIZE);
                                    ::SetDlgItemTextW(hDlg, IDC_CONFIG_TILE_SIZE, L"2.5");
                                    ::SetDlgItemTextW(hDlg, IDC_CONFIG_JOINT_SIZE, L"0.16");
                                    ::SetDlgItemTextW(hDlg, IDC_CONFIG_PLATE_X, L"30");
                                    ::SetDlgItemTextW(hDlg, IDC_CONFIG_PLATE_Y, L"20");
                                    ::CheckDlgButton(hDlg, IDC_CONFIG_STAGGER, BST_CHECKED);
                                    Click(hDlg, IDOK);
                                })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(CString(L"25"), strShownTile);
    EXPECT_EQ(CString(L"1.6"), strShownJoint);
    EXPECT_EQ(CString(L"250 16 30 20 1 0 0 15"), Settings());
    EXPECT_EQ(1, m_doc->m_dirty);
    EXPECT_TRUE(m_app.m_prompts.empty());

    // Shown again as typed; a cancel keeps everything.
    nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                         {Script::OnDialogWith(IDC_CONFIG_TILE_SIZE, [&](HWND hDlg) {
                             strShownTile = Text(hDlg, IDC_CONFIG_TILE_SIZE);
                             strShownJoint = Text(hDlg, IDC_CONFIG_JOINT_SIZE);
                             ::SetDlgItemTextW(hDlg, IDC_CONFIG_PLATE_X, L"5");
                             Click(hDlg, IDCANCEL);
                         })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(CString(L"2.5"), strShownTile);
    EXPECT_EQ(CString(L"0.16"), strShownJoint);
    EXPECT_EQ(CString(L"250 16 30 20 1 0 0 15"), Settings());
}

// Labels off has no button: the dialog shows none checked, and its OK keeps the mode, as it
// keeps every choice left without a button. A button the user checks is taken.
TEST_F(SettingsCommandsTest, ConfigurationKeepsALabelModeItHasNoButtonFor)
{
    m_doc->impression = 3;
    bool bAnyChecked = true;
    size_t nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                                {Script::OnDialogWith(IDC_CONFIG_LABEL_IMAGE, [&](HWND hDlg) {
                                    bAnyChecked = false;
                                    for (int nID : {IDC_CONFIG_LABEL_IMAGE, IDC_CONFIG_LABEL_TILE,
                                                    IDC_CONFIG_LABEL_SYMBOL})
                                        bAnyChecked |= ::IsDlgButtonChecked(hDlg, nID) != 0;
                                    Click(hDlg, IDOK);
                                })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_FALSE(bAnyChecked);
    EXPECT_EQ(3, m_doc->impression);
    EXPECT_EQ(1, m_doc->m_dirty);

    nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                         {Script::OnDialogWith(IDC_CONFIG_LABEL_SYMBOL, [&](HWND hDlg) {
                             ::CheckDlgButton(hDlg, IDC_CONFIG_LABEL_SYMBOL, BST_CHECKED);
                             Click(hDlg, IDOK);
                         })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(2, m_doc->impression);
}

// A value the plates or the plan could not be worked out with keeps the dialog open with
// the framework's prompt; cancelled then, the settings stay as they were.
TEST_F(SettingsCommandsTest, ConfigurationRefusesValuesThatCannotBeWorkedWith)
{
    struct Case
    {
        int nEdit;
        LPCWSTR text;
        int nUnits;
        int nPaving;
    };
    const Case cases[] = {
        {IDC_CONFIG_TILE_SIZE, L"0", 0, 0},
        {IDC_CONFIG_TILE_SIZE, L"-2.5", 0, 0},
        {IDC_CONFIG_TILE_SIZE, L"0.004", 0, 0},     // less than a hundredth of a millimetre
        {IDC_CONFIG_TILE_SIZE, L"0.0004", 1, 0},    // less than a thousandth of an inch
        {IDC_CONFIG_TILE_SIZE, L"2,5", 0, 0},
        {IDC_CONFIG_TILE_SIZE, L"20000", 0, 0},
        {IDC_CONFIG_JOINT_SIZE, L"-0.1", 0, 0},
        {IDC_CONFIG_PLATE_X, L"0", 0, 0},
        {IDC_CONFIG_PLATE_Y, L"-3", 0, 0},
        {IDC_CONFIG_PLATE_Y, L"1", 0, PavingTriangles},   // no row left once made even
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (const char*)CStringA(c.text) << " in " << c.nEdit);
        m_doc->unites = c.nUnits;
        m_doc->taillecar = c.nUnits == 1 ? 984 : 2500;
        m_doc->m_pavingType = c.nPaving;
        m_doc->m_dirty = 0;
        m_app.m_prompts.clear();
        const CString strBefore = Settings();
        const size_t nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                                          {Script::OnDialogWith(c.nEdit, [&](HWND hDlg) {
                                               ::SetDlgItemTextW(hDlg, c.nEdit, c.text);
                                               Click(hDlg, IDOK);
                                           }),
                                           [&](HWND hDlg) {
                                               if (m_app.m_prompts.empty())
                                                   return false;
                                               Click(hDlg, IDCANCEL);
                                               return true;
                                           }});
        EXPECT_EQ(2u, nSteps);
        EXPECT_EQ(1u, m_app.m_prompts.size());
        EXPECT_EQ(strBefore, Settings());
        EXPECT_EQ(0, m_doc->m_dirty);
    }
}

// With triangles an odd plate height is lowered, and the program's message says so.
TEST_F(SettingsCommandsTest, ConfigurationMakesTrianglePlatesEven)
{
    m_doc->m_pavingType = PavingTriangles;
    CString strMessage;
    const size_t nSteps = Script::Run([&] { m_doc->OnConfiguration(); },
                                      {Script::OnDialogWith(IDC_CONFIG_PLATE_Y, [&](HWND hDlg) {
                                           ::SetDlgItemTextW(hDlg, IDC_CONFIG_PLATE_Y, L"13");
                                           Click(hDlg, IDOK);
                                       }),
                                       Script::OnDialogWith(IDC_MESSAGE_TEXT, [&](HWND hDlg) {
                                           strMessage = Text(hDlg, IDC_MESSAGE_TEXT);
                                           Click(hDlg, IDOK);
                                       })});
    EXPECT_EQ(2u, nSteps);
    EXPECT_EQ(GetLangText(TXT_MSG_TRIANGLES_EVEN_ROWS), strMessage);
    EXPECT_EQ(12, m_doc->carplaquey);
}

// Inches and A3 chosen: the lengths follow, and the dialog shows the choice next time.
TEST_F(SettingsCommandsTest, PreferencesAreKeptAndShownAgain)
{
    size_t nSteps = Script::Run([&] { m_doc->OnPreferences(); },
                                {Script::OnDialogWith(IDC_PREFS_INCHES, [&](HWND hDlg) {
                                    ::CheckRadioButton(hDlg, IDC_PREFS_MILLIMETRES, IDC_PREFS_INCHES,
                                                       IDC_PREFS_INCHES);
                                    ::CheckRadioButton(hDlg, IDC_PREFS_A4, IDC_PREFS_A0, IDC_PREFS_A3);
                                    Click(hDlg, IDOK);
                                })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(CString(L"984 63 12 12 0 1 2 6"), Settings());
    EXPECT_EQ(GetLangText(TXT_UNIT_INCHES), m_doc->m_unitText);

    UINT nInches = 0, nA3 = 0;
    nSteps = Script::Run([&] { m_doc->OnPreferences(); },
                         {Script::OnDialogWith(IDC_PREFS_INCHES, [&](HWND hDlg) {
                             nInches = ::IsDlgButtonChecked(hDlg, IDC_PREFS_INCHES);
                             nA3 = ::IsDlgButtonChecked(hDlg, IDC_PREFS_A3);
                             ::CheckRadioButton(hDlg, IDC_PREFS_MILLIMETRES, IDC_PREFS_INCHES,
                                                IDC_PREFS_MILLIMETRES);
                             Click(hDlg, IDCANCEL);
                         })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ((UINT)BST_CHECKED, nInches);
    EXPECT_EQ((UINT)BST_CHECKED, nA3);
    EXPECT_EQ(CString(L"984 63 12 12 0 1 2 6"), Settings());
}

// A fault found on OK is told in the program's message box and keeps the table open; a
// cancel then leaves the palette as it was. Out-of-range colour values are faults too.
TEST_F(SettingsCommandsTest, ThePaletteTableRefusesAFaultAndCancelKeepsThePalette)
{
    struct Case
    {
        int nRow, nCol;
        LPCWSTR text;
        CString message;
    };
    CString strRange;
    strRange.Format(GetLangText(TXT_MSG_COLOUR_COMPONENT_RANGE), 1);
    const Case cases[] = {
        {4, CGridCtrl2::COL_SYMBOL, L"a", L"a : " + GetLangText(TXT_MSG_SYMBOL_USED_TWICE)},
        {6, CGridCtrl2::COL_NAME, L" ", GetLangText(TXT_MSG_COLOUR_NAME_OR_SYMBOL_MISSING) + L" 5"},
        {2, CGridCtrl2::COL_RED, L"300", strRange},
    };
    UseEightColours();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nRow);
        const CString strName = m_doc->m_tilePalette.m_colourNames[c.nRow - 1];
        const BYTE nRed = m_doc->m_tilePalette.m_colours[c.nRow - 1].peRed;
        CString strMessage;
        bool bStillOpen = false;
        const size_t nSteps = Script::Run(
            [&] { m_doc->ShowTilePaletteDialog(); },
            {Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
                 m_doc->m_paletteGrid->SetItemText(c.nRow, c.nCol, c.text);
                 Click(hDlg, IDOK);
             }),
             Script::OnDialogWith(IDC_MESSAGE_TEXT, [&](HWND hDlg) {
                 strMessage = Text(hDlg, IDC_MESSAGE_TEXT);
                 Click(hDlg, IDOK);
             }),
             Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
                 bStillOpen = true;
                 ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);   // Escape or the close box
             })});
        EXPECT_EQ(3u, nSteps);
        EXPECT_EQ(c.message, strMessage);
        EXPECT_TRUE(bStillOpen);
        EXPECT_EQ(strName, m_doc->m_tilePalette.m_colourNames[c.nRow - 1]);
        EXPECT_EQ(nRed, m_doc->m_tilePalette.m_colours[c.nRow - 1].peRed);
        EXPECT_EQ(0, m_doc->m_tilePaletteModified);
    }
}

// An accepted edit closes the table, is offered for saving, and gives the mosaic the
// palette's tile and joint sizes in its own unit.
TEST_F(SettingsCommandsTest, AnAcceptedTableClosesAndSetsTheTileSizes)
{
    UseEightColours();
    m_doc->unites = 1;
    m_doc->FollowUnits(1);
    m_doc->m_plaquesValid = 1;
    FileDialogAnswerer declineSaving(L"");
    const size_t nSteps = Script::Run([&] { m_doc->ShowTilePaletteDialog(); },
                                      {Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
                                          m_doc->m_paletteGrid->SetItemText(3, CGridCtrl2::COL_NAME,
                                                                            L"Ocre");
                                          Click(hDlg, IDOK);
                                      })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(CString(L"Ocre"), m_doc->m_tilePalette.m_colourNames[2]);
    EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    EXPECT_EQ(1, m_doc->m_tilePaletteModified);
    EXPECT_EQ(984, m_doc->taillecar);
    EXPECT_EQ(79, m_doc->intercar);
    EXPECT_EQ(0, m_doc->m_plaquesValid);
    EXPECT_EQ(NULL, Script::FrontDialog());
}

// A palette of 256 colours, the last a black tile: the table shows them all, and its OK
// without an edit closes it asking nothing.
TEST_F(SettingsCommandsTest, AFullPaletteEndingInBlackIsShownWholeAndOkKeepsIt)
{
    const CString strFolder = NewTempFolder(L"MosaicFullPalette");
    CreateDirectoryW(strFolder + L"Palettes", NULL);
    std::unique_ptr<C2Palette> pFile(new C2Palette);
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        const BYTE v = i == 255 ? 0 : (BYTE)i;
        pFile->m_colours[i] = {v, (BYTE)(i == 255 ? 0 : 255 - i), v, 1};
        pFile->m_colourNames[i].Format(L"Tile %d", i);
        pFile->m_symbols[i].Format(L"%d", i);
    }
    pFile->SaveToFile(strFolder + L"Palettes\\full.pal", L"full");
    m_doc->m_programFolder = strFolder;
    ASSERT_EQ(1, m_doc->LoadPaletteFile(0, 0, L"full.pal"));
    int nRows = 0;
    CString strLastName;
    FileDialogAnswerer noSave(L"");
    const size_t nSteps = Script::Run([&] { m_doc->ShowTilePaletteDialog(); },
                                      {Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
                                          nRows = m_doc->m_paletteGrid->GetRowCount();
                                          strLastName = m_doc->m_paletteGrid->GetItemText(
                                              256, CGridCtrl2::COL_NAME);
                                          Click(hDlg, IDOK);
                                      })});
    EXPECT_EQ(1u, nSteps);
    EXPECT_EQ(257, nRows);
    EXPECT_EQ(CString(L"Tile 255"), strLastName);
    EXPECT_EQ(0, FileDialogAnswerer::s_nAnswered);
    EXPECT_EQ(0, m_doc->m_tilePaletteModified);
    EXPECT_EQ(NULL, Script::FrontDialog());
    EXPECT_EQ(CString(L"Tile 255"), m_doc->m_tilePalette.m_colourNames[255]);
    RemoveTree(strFolder);
}

// Print checks the table as OK does: a fault is told and no chart is written; the table
// without it is taken and charted, and the dialog stays open.
TEST_F(SettingsCommandsTest, PrintChartsOnlyATableWithoutFault)
{
    static std::vector<CString> s_charts;
    s_charts.clear();
    CVitrolanDoc::s_uiHooks.pfnWritePaletteChart = [](LPCTSTR lpszPath) {
        s_charts.push_back(lpszPath);
        return TRUE;
    };
    const CString strFolder = NewTempFolder(L"MosaicChartProgram");
    m_doc->m_programFolder = strFolder;
    UseEightColours();
    CString strMessage;
    FileDialogAnswerer declineSaving(L"");
    const size_t nSteps = Script::Run(
        [&] { m_doc->ShowTilePaletteDialog(); },
        {Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
             m_doc->m_paletteGrid->SetItemText(2, CGridCtrl2::COL_SYMBOL, L"");
             Click(hDlg, IDC_PALETTE_PRINT);
         }),
         Script::OnDialogWith(IDC_MESSAGE_TEXT, [&](HWND hDlg) {
             strMessage = Text(hDlg, IDC_MESSAGE_TEXT);
             Click(hDlg, IDOK);
         }),
         Script::OnDialogWith(IDC_PALETTE_GRID, [&](HWND hDlg) {
             EXPECT_TRUE(s_charts.empty());
             m_doc->m_paletteGrid->SetItemText(2, CGridCtrl2::COL_SYMBOL, L"\x2665");
             Click(hDlg, IDC_PALETTE_PRINT);
         }),
         [&](HWND hDlg) {
             if (s_charts.empty() || ::GetDlgItem(hDlg, IDC_PALETTE_GRID) == NULL)
                 return false;
             ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
             return true;
         }});
    EXPECT_EQ(4u, nSteps);
    EXPECT_EQ(GetLangText(TXT_MSG_COLOUR_NAME_OR_SYMBOL_MISSING) + L" 1", strMessage);
    EXPECT_EQ(1u, s_charts.size());
    EXPECT_EQ(CString(L"\x2665"), m_doc->m_tilePalette.m_symbols[1]);
    RemoveTree(strFolder);
}
