// The tile palette table: the grid filled from the tile palette, the edited table checked,
// marked and taken back, and the tile size and joint the accepted palette gives the mosaic.
#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxApp.h"
#include "DocTestFiles.h"
#include "FileDialogAnswerer.h"
#include "GridCtrl2.h"
#include "LangText.h"
#include "SettingsFixture.h"
#include "TextIds.h"
#include "VitrolanDoc.h"

namespace
{

const COLORREF kRed = CGridCtrl2::REFUSED_COLOUR;
const COLORREF kWhite = RGB(255, 255, 255);

// The data folder of the repository through Wine's drive for the Linux root.
CString DataFolder()
{
    CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strFolder.Replace(L'/', L'\\');
    return strFolder;
}

std::vector<CString> ShippedPaletteFiles()
{
    std::vector<CString> files;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(DataFolder() + L"Palettes\\*.pal", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(data.cFileName);
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return files;
}

class PaletteTableTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        m_strTexts = UseOwnTexts(L"MosaicPaletteTableTexts",
                                 "513;Missing for colour\r\n516;shared\r\n"
                                 "560;No\r\n561;Col\r\n562;Name\r\n563;Sym\r\n"
                                 "564;R\r\n565;G\r\n566;B\r\n"
                                 "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n"
                                 "1020;Colour %d out of range\r\n");
        m_strFolder = NewTempFolder(L"MosaicPaletteTable");
        CreateDirectoryW(m_strFolder + L"Palettes", NULL);
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_programFolder = m_strFolder;
        m_doc->unites = 0;
    }
    void TearDown() override
    {
        m_doc.reset();
        RemoveTree(m_strFolder);
        RestoreSharedTexts(m_strTexts);
    }

    void UseEightColours() { UseEightTileColours(*m_doc); }

    // The palette as its file would hold it.
    std::vector<BYTE> PaletteBytes(const CString& strName)
    {
        const CString strPath = m_strFolder + strName;
        m_doc->m_tilePalette.SaveToFile(strPath, L"same name");
        return ReadBytes(strPath);
    }

    CGridCtrl2& Grid() { return *m_doc->m_paletteGrid; }

    CString m_strTexts;
    CString m_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

}   // namespace

// A maker's palette shown in the table and taken back without an edit is the same palette,
// byte for byte, and nothing asks to save it.
TEST_F(PaletteTableTest, ShippedPalettesComeBackFromTheTableUnchanged)
{
    const std::vector<CString> files = ShippedPaletteFiles();
    ASSERT_FALSE(files.empty());
    m_doc->m_programFolder = DataFolder();
    for (const CString& strFile : files)
    {
        SCOPED_TRACE(testing::Message() << (const char*)CStringA(strFile));
        ASSERT_EQ(1, m_doc->LoadPaletteFile(0, 0, strFile));
        ASSERT_GT(m_doc->m_tileColourCount, 0);
        m_doc->m_tilePaletteModified = 0;
        const std::vector<BYTE> before = PaletteBytes(L"before.pal");

        m_doc->FillPaletteGrid();
        FileDialogAnswerer noSave(L"");
        int nIndex = -1;
        EXPECT_EQ(CVitrolanDoc::PaletteTableValid, m_doc->ApplyPaletteGrid(&Grid(), nIndex));

        EXPECT_EQ(0, FileDialogAnswerer::s_nAnswered);
        EXPECT_EQ(0, m_doc->m_tilePaletteModified);
        EXPECT_EQ(before, PaletteBytes(L"after.pal"));
    }
}

// A full palette and one ending in a black tile show every colour in the table, and an OK
// without an edit changes no byte of them and asks nothing.
TEST_F(PaletteTableTest, FullAndBlackEndingPalettesComeBackWhole)
{
    struct Case
    {
        const char* label;
        int nColours;
        bool bLastBlack;
    };
    const Case cases[] = {{"256 colours", 256, false},
                          {"255 colours", 255, false},
                          {"last colour black", 5, true},
                          {"256 colours, the last black", 256, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        std::unique_ptr<C2Palette> pFile(new C2Palette);
        for (int i = 0; i < c.nColours; i++)
        {
            const bool bBlack = c.bLastBlack && i == c.nColours - 1;
            pFile->m_colours[i] = {(BYTE)(bBlack ? 0 : i), (BYTE)(bBlack ? 0 : 255 - i), 7, 1};
            pFile->m_colourNames[i].Format(L"Tile %d", i);
            pFile->m_symbols[i].Format(L"s%d", i);
            pFile->m_values[i] = 330.0;
        }
        pFile->SaveToFile(m_strFolder + L"Palettes\\case.pal", L"case");
        ASSERT_EQ(1, m_doc->LoadPaletteFile(0, 0, L"case.pal"));
        EXPECT_EQ(c.nColours, m_doc->m_tileColourCount);
        m_doc->m_tilePaletteModified = 0;
        const std::vector<BYTE> before = PaletteBytes(L"before.pal");

        m_doc->FillPaletteGrid();
        EXPECT_EQ(c.nColours + 1, Grid().GetRowCount());
        CString strLastName;
        strLastName.Format(L"Tile %d", c.nColours - 1);
        EXPECT_EQ(strLastName, Grid().GetItemText(c.nColours, 2));
        FileDialogAnswerer noSave(L"");
        int nIndex = -1;
        EXPECT_EQ(CVitrolanDoc::PaletteTableValid, m_doc->ApplyPaletteGrid(&Grid(), nIndex));
        EXPECT_EQ(0, FileDialogAnswerer::s_nAnswered);
        EXPECT_EQ(0, m_doc->m_tilePaletteModified);
        EXPECT_EQ(before, PaletteBytes(L"after.pal"));
    }
}

TEST_F(PaletteTableTest, TheGridShowsEachColourOnItsRow)
{
    UseEightColours();
    m_doc->m_tilePalette.m_symbolFonts[2].lfHeight = -11;
    lstrcpyW(m_doc->m_tilePalette.m_symbolFonts[2].lfFaceName, L"Symbolic");

    m_doc->FillPaletteGrid();

    CGridCtrl2& grid = Grid();
    ASSERT_EQ(7, grid.GetColumnCount());
    ASSERT_EQ(9, grid.GetRowCount());
    EXPECT_EQ(1, grid.GetFixedRowCount());
    EXPECT_EQ(1, grid.GetFixedColumnCount());
    EXPECT_EQ(8, grid.GetColourRowCount());
    EXPECT_FALSE(grid.GetFixedRowSelection());
    EXPECT_FALSE(grid.GetFixedColumnSelection());
    EXPECT_TRUE(grid.GetHandleTabKey());
    const int widths[] = {60, 80, 80, 80, 70, 70, 70};
    const LPCWSTR headings[] = {L"No", L"Col", L"Name", L"Sym", L"R", L"G", L"B"};
    for (int nCol = 0; nCol < 7; nCol++)
    {
        EXPECT_EQ(widths[nCol], grid.GetColumnWidth(nCol));
        EXPECT_EQ(CString(headings[nCol]), grid.GetItemText(0, nCol));
        // Headings centred across and down, as the table's numbers are.
        EXPECT_EQ((UINT)(DT_CENTER | DT_VCENTER | DT_SINGLELINE), grid.GetCell(0, nCol)->GetFormat())
            << nCol;
    }
    for (int nRow = 0; nRow < 9; nRow++)
        EXPECT_EQ(35, grid.GetRowHeight(nRow));

    const int nRow = 3;   // colour 2
    EXPECT_EQ(CString(L"2"), grid.GetItemText(nRow, 0));
    EXPECT_EQ(RGB(12, 22, 32), grid.GetItemBackColour(nRow, 1));
    EXPECT_TRUE(grid.GetItemState(nRow, 1) & GridCellReadOnly);
    EXPECT_EQ(CString(L"Tile 2"), grid.GetItemText(nRow, 2));
    EXPECT_EQ(CString(L"c"), grid.GetItemText(nRow, 3));
    EXPECT_EQ(kWhite, grid.GetItemBackColour(nRow, 2));
    EXPECT_EQ(kWhite, grid.GetItemBackColour(nRow, 3));
    EXPECT_EQ(CString(L"12"), grid.GetItemText(nRow, 4));
    EXPECT_EQ(CString(L"22"), grid.GetItemText(nRow, 5));
    EXPECT_EQ(CString(L"32"), grid.GetItemText(nRow, 6));
    // The symbol shows at one size in the colour's own face; the palette keeps its size.
    const LOGFONT* pFont = grid.GetItemFont(nRow, 3);
    ASSERT_NE(nullptr, pFont);
    EXPECT_EQ(-16, pFont->lfHeight);
    EXPECT_EQ(CString(L"Symbolic"), CString(pFont->lfFaceName));
    EXPECT_EQ(-11, m_doc->m_tilePalette.m_symbolFonts[2].lfHeight);
    EXPECT_EQ(CCellID(1, 1), grid.GetFocusCell());

    // Filled again for a shorter palette, the table has no rows left from before.
    m_doc->m_tileColourCount = 3;
    m_doc->FillPaletteGrid();
    EXPECT_EQ(4, grid.GetRowCount());
    EXPECT_EQ(3, grid.GetColourRowCount());

    // A palette without colours has a table of headings alone, which is valid as it is.
    m_doc->m_tileColourCount = 0;
    m_doc->FillPaletteGrid();
    EXPECT_EQ(1, grid.GetRowCount());
    FileDialogAnswerer noSave(L"");
    int nIndex = -1;
    EXPECT_EQ(CVitrolanDoc::PaletteTableValid, m_doc->ApplyPaletteGrid(&grid, nIndex));
}

// A table with a fault marks it, reports the first one and leaves the palette as it was.
TEST_F(PaletteTableTest, FaultsAreMarkedAndChangeNothing)
{
    struct Edit
    {
        int nColour;
        int nCol;
        LPCWSTR text;
    };
    struct Case
    {
        const char* name;
        std::vector<Edit> edits;
        int nResult;
        int nIndex;
        std::vector<std::pair<int, int>> redCells;   // colour, column
    };
    const Case cases[] = {
        {"one blank is no symbol", {{4, 3, L" "}}, 1, 4, {{4, 3}}},
        {"empty name", {{6, 2, L""}}, 1, 6, {{6, 2}}},
        {"one symbol for two colours", {{7, 3, L"d"}}, 2, 3, {{3, 3}, {7, 3}}},
        {"a missing name wins over a shared symbol before it",
         {{2, 3, L"h"}, {5, 2, L" "}},
         1,
         5,
         {{2, 3}, {7, 3}, {5, 2}}},
        {"red above 255", {{1, 4, L"300"}}, 3, 1, {}},
        {"blue below 0", {{2, 6, L"-1"}}, 3, 2, {}},
        {"green not a number", {{0, 5, L"12a"}}, 3, 0, {}},
    };
    UseEightColours();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_doc->FillPaletteGrid();
        m_doc->m_tilePaletteModified = 0;
        const std::vector<BYTE> before = PaletteBytes(L"before.pal");
        for (const Edit& e : c.edits)
            Grid().SetItemText(e.nColour + 1, e.nCol, e.text);

        int nIndex = -1;
        EXPECT_EQ(c.nResult, m_doc->ApplyPaletteGrid(&Grid(), nIndex));
        EXPECT_EQ(c.nIndex, nIndex);

        for (int i = 0; i < 8; i++)
            for (int nCol : {2, 3})
            {
                bool bRed = false;
                for (const auto& cell : c.redCells)
                    bRed |= cell.first == i && cell.second == nCol;
                EXPECT_EQ(bRed ? kRed : kWhite, Grid().GetItemBackColour(i + 1, nCol))
                    << "colour " << i << " column " << nCol;
            }
        EXPECT_EQ(0, m_doc->m_tilePaletteModified);
        EXPECT_EQ(before, PaletteBytes(L"after.pal"));
        EXPECT_FALSE(CVitrolanDoc::GetPaletteTableMessage(&Grid(), c.nResult, nIndex).IsEmpty());
    }
}

TEST_F(PaletteTableTest, FaultMessagesNameTheColourOrTheSymbol)
{
    UseEightColours();
    m_doc->FillPaletteGrid();
    Grid().SetItemText(4, 3, L"\x263a");
    EXPECT_EQ(CString(L"Missing for colour 5"), CVitrolanDoc::GetPaletteTableMessage(&Grid(), 1, 5));
    EXPECT_EQ(CString(L"\x263a : shared"), CVitrolanDoc::GetPaletteTableMessage(&Grid(), 2, 3));
    EXPECT_EQ(CString(L"Colour 6 out of range"),
              CVitrolanDoc::GetPaletteTableMessage(&Grid(), 3, 6));
    EXPECT_EQ(CString(), CVitrolanDoc::GetPaletteTableMessage(&Grid(), 0, 0));
}

// An accepted edit goes into the palette, marks it changed and offers it for saving; the
// image colours of the same colour take the new name; the stored values stay.
TEST_F(PaletteTableTest, AnAcceptedEditIsTakenAndOfferedForSaving)
{
    UseEightColours();
    m_doc->m_imagePalette.m_colours[0] = {13, 23, 33, 1};
    m_doc->m_tilePalette.m_colourNames[9] = L"left over";
    m_doc->FillPaletteGrid();
    CGridCtrl2& grid = Grid();
    grid.SetItemText(4, 2, L"Ocre");
    grid.SetItemText(4, 3, L"A");   // "a" stays with colour 0: case tells them apart
    LOGFONTW font = {};
    font.lfHeight = -16;
    lstrcpyW(font.lfFaceName, L"Wingdings");
    grid.SetItemFont(4, 3, &font);
    grid.SetItemText(2, 4, L" 255 ");
    const CString strSaved = m_strFolder + L"Palettes\\edited.pal";

    FileDialogAnswerer save(strSaved);
    int nIndex = -1;
    ASSERT_EQ(CVitrolanDoc::PaletteTableValid, m_doc->ApplyPaletteGrid(&grid, nIndex));

    const C2Palette& palette = m_doc->m_tilePalette;
    EXPECT_EQ(CString(L"Ocre"), palette.m_colourNames[3]);
    EXPECT_EQ(CString(L"A"), palette.m_symbols[3]);
    EXPECT_EQ(CString(L"Wingdings"), CString(palette.m_symbolFonts[3].lfFaceName));
    EXPECT_EQ(255, palette.m_colours[1].peRed);
    EXPECT_EQ(21, palette.m_colours[1].peGreen);
    EXPECT_EQ(CString(L"a"), palette.m_symbols[0]);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(1.5 + i, palette.m_values[i]) << "colour " << i;
    EXPECT_EQ(CString(L"left over"), palette.m_colourNames[9]) << "nothing past the table goes";
    EXPECT_EQ(CString(L"Ocre"), m_doc->m_imagePalette.m_colourNames[0]);
    EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    EXPECT_EQ(0, m_doc->m_tilePaletteModified) << "saved";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strSaved));

    // Saving declined: the edit stays marked, so that closing asks again.
    grid.SetItemText(5, 2, L"Sable");
    FileDialogAnswerer cancel(L"");
    EXPECT_EQ(CVitrolanDoc::PaletteTableValid, m_doc->ApplyPaletteGrid(&grid, nIndex));
    EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    EXPECT_EQ(1, m_doc->m_tilePaletteModified);
    EXPECT_EQ(CString(L"Sable"), palette.m_colourNames[4]);
}

// The palette measures in hundredths of a millimetre; the mosaic in its own unit.
TEST_F(PaletteTableTest, AcceptingGivesTheMosaicThePalettesSizesInItsUnit)
{
    struct Case
    {
        int nUnits;
        int nPaletteTile, nPaletteJoint;
        int nTile, nJoint;   // the mosaic's afterwards, from 777 and 77
    };
    const Case cases[] = {
        {0, 2500, 160, 2500, 160},
        {1, 2500, 160, 984, 63},
        {0, 0, 200, 777, 200},     // no tile size: the mosaic keeps its own
        {1, 2000, -5, 787, 77},    // no joint width below nothing
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        m_doc->unites = c.nUnits;
        m_doc->taillecar = 777;
        m_doc->intercar = 77;
        m_doc->m_plaquesValid = 1;
        m_doc->m_tilePalette.m_tileSize = c.nPaletteTile;
        m_doc->m_tilePalette.m_jointWidth = c.nPaletteJoint;
        m_doc->AcceptPaletteTable();
        EXPECT_EQ(c.nTile, m_doc->taillecar);
        EXPECT_EQ(c.nJoint, m_doc->intercar);
        EXPECT_EQ(0, m_doc->m_plaquesValid);
    }
}

// Showing the table fills the grid before the dialog runs on it.
TEST_F(PaletteTableTest, ShowingTheTableRunsTheDialogOnTheFilledGrid)
{
    static int s_nRows;
    static CVitrolanDoc* s_pDoc;
    s_nRows = -1;
    s_pDoc = NULL;
    CVitrolanDoc::s_uiHooks.pfnShowTilePaletteDialog = [](CVitrolanDoc* pDoc) {
        s_pDoc = pDoc;
        s_nRows = pDoc->m_paletteGrid->GetRowCount();
    };
    UseEightColours();
    m_doc->ShowTilePaletteDialog();
    EXPECT_EQ(m_doc.get(), s_pDoc);
    EXPECT_EQ(9, s_nRows);
}
