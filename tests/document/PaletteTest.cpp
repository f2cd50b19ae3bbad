// The Palette menu built from the palette files, choosing, opening and saving the tile
// palette, the tile colour count a loaded palette gives, and the compacting of the image
// palette.
#include "MosaicTest.h"

#include <dlgs.h>
#include <string.h>

#include <memory>
#include <set>
#include <vector>

#include "AfxApp.h"
#include "AfxMsgMap.h"
#include "AfxWin.h"
#include "DocTestFiles.h"
#include "FileDialogAnswerer.h"
#include "MessageBoxAnswerer.h"
#include "TileCell.h"
#include "VitrolanDoc.h"
#include "WriteFailures.h"

namespace
{

struct Tile
{
    BYTE r, g, b;
    LPCWSTR name;
};

// What the layers above the document were asked to do.
struct HookLog
{
    int nResetImageBar = 0;
    int nRefreshTileBar = 0;
    int nShowPaletteBars = 0;
    int nShowTileBar = 0;
    int nPaletteDialog = 0;
};
HookLog* g_pLog = NULL;

void ResetImageBar() { g_pLog->nResetImageBar++; }
void RefreshTileBar() { g_pLog->nRefreshTileBar++; }
void ShowPaletteBars() { g_pLog->nShowPaletteBars++; }
void ShowTileBar() { g_pLog->nShowTileBar++; }
void ShowPaletteDialog(CVitrolanDoc*) { g_pLog->nPaletteDialog++; }

bool SameRgb(const PaletteEntry& e, const Tile& t)
{
    return e.peRed == t.r && e.peGreen == t.g && e.peBlue == t.b;
}

// A main window whose menu bar has four popups, the last one the Palette menu with its five
// fixed items; the document finds it as the main window's menu.
class MainWindowMenu
{
public:
    MainWindowMenu() : m_app(L"MosaicPaletteTest")
    {
        m_wnd.CreateEx(0, NULL, L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL);
        m_hBar = CreateMenu();
        for (LPCWSTR pszTitle : {L"File", L"Edit", L"View"})
            AppendMenuW(m_hBar, MF_POPUP, (UINT_PTR)CreatePopupMenu(), pszTitle);
        m_hPalette = CreatePopupMenu();
        AppendMenuW(m_hPalette, MF_POPUP, (UINT_PTR)CreatePopupMenu(), L"Display");
        AppendMenuW(m_hPalette, MF_STRING, 32900, L"Textured tiles");
        AppendMenuW(m_hPalette, MF_SEPARATOR, 0, NULL);
        AppendMenuW(m_hPalette, MF_STRING, 32901, L"Import");
        AppendMenuW(m_hPalette, MF_SEPARATOR, 0, NULL);
        AppendMenuW(m_hBar, MF_POPUP, (UINT_PTR)m_hPalette, L"Palette");
        SetMenu(m_wnd.m_hWnd, m_hBar);
        m_app.m_pMainWnd = &m_wnd;
    }
    ~MainWindowMenu()
    {
        m_app.m_pMainWnd = NULL;
        m_wnd.DestroyWindow();
    }

    bool IsValid() const { return m_wnd.m_hWnd != NULL && GetMenu(m_wnd.m_hWnd) == m_hBar; }
    int ItemCount() const { return GetMenuItemCount(m_hPalette); }
    UINT ItemId(int nPos) const { return GetMenuItemID(m_hPalette, nPos); }
    CString ItemText(int nPos) const
    {
        WCHAR szText[MAX_PATH] = {};
        GetMenuStringW(m_hPalette, nPos, szText, MAX_PATH, MF_BYPOSITION);
        return szText;
    }
    bool IsChecked(UINT nID) const
    {
        const UINT nState = GetMenuState(m_hPalette, nID, MF_BYCOMMAND);
        return nState != (UINT)-1 && (nState & MF_CHECKED) != 0;
    }

    HMENU m_hPalette;

private:
    CWinApp m_app;
    CWnd m_wnd;
    HMENU m_hBar;
};

class PaletteTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pLog = &m_log;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnResetImageBar = ResetImageBar;
        CVitrolanDoc::s_uiHooks.pfnRefreshTileBar = RefreshTileBar;
        CVitrolanDoc::s_uiHooks.pfnShowPaletteBars = ShowPaletteBars;
        CVitrolanDoc::s_uiHooks.pfnShowTilePaletteBar = ShowTileBar;
        CVitrolanDoc::s_uiHooks.pfnShowTilePaletteDialog = ShowPaletteDialog;

        m_strProgram = NewTempFolder(L"MosaicPaletteProgram");
        m_strPalettes = m_strProgram + L"Palettes\\";
        CreateDirectoryW(m_strPalettes, NULL);

        m_doc.reset(new CVitrolanDoc);
        m_doc->m_programFolder = m_strProgram;
        m_doc->lastPalCheck = -1;
        m_doc->palettefile.Empty();
    }
    void TearDown() override
    {
        m_doc->m_menu = NULL;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pLog = NULL;
        RemoveTree(m_strProgram);
    }

    // A palette file of the given colours in order; the rest of its entries stay black and
    // unnamed.
    void WritePalette(const CString& strPath, const std::vector<Tile>& tiles)
    {
        std::unique_ptr<C2Palette> palette(new C2Palette);
        for (size_t i = 0; i < tiles.size(); i++)
        {
            palette->m_colours[i].peRed = tiles[i].r;
            palette->m_colours[i].peGreen = tiles[i].g;
            palette->m_colours[i].peBlue = tiles[i].b;
            palette->m_colours[i].peFlags = 1;
            palette->m_colourNames[i] = tiles[i].name;
        }
        palette->SaveToFile(strPath, L"test");
    }
    void WritePaletteFile(LPCWSTR lpszName, const std::vector<Tile>& tiles = {{9, 9, 9, L"G"}})
    {
        WritePalette(m_strPalettes + lpszName, tiles);
    }

    void Command(UINT nID) { EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_COMMAND, NULL, NULL)); }

    std::set<CString> MenuFileNames() const
    {
        std::set<CString> names;
        for (const CString& str : m_doc->m_paletteMenuFiles)
            if (!str.IsEmpty())
                names.insert(str);
        return names;
    }

    HookLog m_log;
    CString m_strProgram;
    CString m_strPalettes;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// Each item shows its own file's name with ".pal" taken out wherever it stands, also for
// names the 8-bit code page cannot spell; other files are not listed.
TEST_F(PaletteTest, MenuListsEachPaletteFileWithoutItsPalTexts)
{
    const LPCWSTR kGreek = L"\x03a8\x03b7\x03c6\x03af\x03b4\x03b1 \x2713.pal";
    WritePaletteFile(L"x.pal.pal");
    WritePaletteFile(L"my.palette.pal");
    WritePaletteFile(kGreek, {{1, 99, 2, L"Tessera"}});
    WritePaletteFile(L"notes.txt");
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());

    EXPECT_EQ(3, m_doc->BuildPaletteMenu());

    ASSERT_EQ(5 + 3, menu.ItemCount());
    EXPECT_EQ((UINT)32901, menu.ItemId(3));
    std::set<CString> texts;
    for (int k = 0; k < 3; k++)
    {
        EXPECT_EQ((UINT)(ID_PALETTE_FIRST + k), menu.ItemId(5 + k));
        CString strExpected = m_doc->m_paletteMenuFiles[k];
        strExpected.Replace(L".pal", L"");
        EXPECT_EQ(strExpected, menu.ItemText(5 + k));
        texts.insert(menu.ItemText(5 + k));
    }
    EXPECT_EQ((std::set<CString>{L"x.pal.pal", L"my.palette.pal", kGreek}), MenuFileNames());
    EXPECT_EQ((std::set<CString>{L"x", L"myette", L"\x03a8\x03b7\x03c6\x03af\x03b4\x03b1 \x2713"}),
              texts);

    // The item of that name opens its file.
    for (int k = 0; k < 3; k++)
        if (m_doc->m_paletteMenuFiles[k] == kGreek)
            m_doc->OnChoosePalette(ID_PALETTE_FIRST + k);
    EXPECT_EQ(CString(kGreek), m_doc->palettefile);
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], Tile{1, 99, 2, L""}));
}

// Only 32 items fit; the count still tells every file found. A later build starts again
// from the five fixed items, and without files only those remain.
TEST_F(PaletteTest, FortyFilesGiveThirtyTwoItemsAndRebuildsKeepTheFixedItems)
{
    std::set<CString> written;
    for (int i = 0; i < 40; i++)
    {
        CString strName;
        strName.Format(L"p%02d.pal", i);
        WritePaletteFile(strName);
        written.insert(strName);
    }
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());

    EXPECT_EQ(40, m_doc->BuildPaletteMenu());
    ASSERT_EQ(5 + 32, menu.ItemCount());
    std::set<CString> listed = MenuFileNames();
    EXPECT_EQ(32u, listed.size());
    for (const CString& str : listed)
        EXPECT_EQ(1u, written.count(str)) << str;
    EXPECT_EQ((UINT)ID_PALETTE_LAST, menu.ItemId(5 + 31));

    for (int i = 10; i < 40; i++)
    {
        CString strName;
        strName.Format(L"p%02d.pal", i);
        DeleteFileW(m_strPalettes + strName);
    }
    EXPECT_EQ(10, m_doc->BuildPaletteMenu());
    EXPECT_EQ(5 + 10, menu.ItemCount());
    EXPECT_EQ(10u, MenuFileNames().size());
    EXPECT_TRUE(m_doc->m_paletteMenuFiles[10].IsEmpty());

    m_doc->ClearPaletteMenu();
    ASSERT_EQ(5, menu.ItemCount());
    EXPECT_EQ(CString(L"Display"), menu.ItemText(0));
    EXPECT_EQ(CString(L"Import"), menu.ItemText(3));

    RemoveTree(m_strPalettes);
    EXPECT_EQ(0, m_doc->BuildPaletteMenu());
    EXPECT_EQ(5, menu.ItemCount());
    EXPECT_TRUE(MenuFileNames().empty());
}

// Without a main window the names are still listed and counted.
TEST_F(PaletteTest, MenuNamesAreKeptWithoutAMainWindow)
{
    WritePaletteFile(L"a.pal");
    WritePaletteFile(L"b.pal");
    EXPECT_EQ(2, m_doc->BuildPaletteMenu());
    EXPECT_EQ((std::set<CString>{L"a.pal", L"b.pal"}), MenuFileNames());
}

// The menu stays to be built until a menu bar is there to take it: a document opened before
// the window has one leaves it to the next.
TEST_F(PaletteTest, AStaleMenuWaitsForAMenuBar)
{
    WritePaletteFile(L"a.pal");
    m_doc->m_paletteMenuStale = 1;
    m_doc->BuildStalePaletteMenu();
    EXPECT_EQ(1, m_doc->m_paletteMenuStale);

    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());
    m_doc->BuildStalePaletteMenu();
    EXPECT_EQ(0, m_doc->m_paletteMenuStale);
    EXPECT_EQ(5 + 1, menu.ItemCount());
    WritePaletteFile(L"b.pal");
    m_doc->BuildStalePaletteMenu();
    EXPECT_EQ(5 + 1, menu.ItemCount());
}

// Choosing an item loads its file, remembers it, moves the check and opens the palette
// table; the routed id past the last item, like any id outside the items, only shows the
// tile bar.
TEST_F(PaletteTest, ChoosingAnItemLoadsItsFileAndMovesTheCheck)
{
    const Tile kRed = {200, 10, 10, L"Rouge"};
    const Tile kBlue = {10, 10, 200, L"Bleu"};
    WritePaletteFile(L"red.pal", {kRed});
    WritePaletteFile(L"blue.pal", {kBlue, {10, 200, 10, L"Vert"}});
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());
    m_doc->lastPalCheck = ID_PALETTE_FIRST + 1;
    ASSERT_EQ(2, m_doc->BuildPaletteMenu());
    EXPECT_TRUE(menu.IsChecked(ID_PALETTE_FIRST + 1));
    const int nRed = m_doc->m_paletteMenuFiles[0] == L"red.pal" ? 0 : 1;
    const UINT nRedId = ID_PALETTE_FIRST + nRed;
    const UINT nBlueId = ID_PALETTE_FIRST + 1 - nRed;

    Command(nRedId);
    EXPECT_EQ(1, m_log.nShowTileBar);
    EXPECT_EQ((int)nRedId, m_doc->lastPalCheck);
    EXPECT_TRUE(menu.IsChecked(nRedId));
    EXPECT_FALSE(menu.IsChecked(nBlueId));
    EXPECT_EQ(CString(L"red.pal"), m_doc->palettefile);
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], kRed));
    EXPECT_EQ(CString(L"Rouge"), m_doc->m_tilePalette.m_colourNames[0]);
    EXPECT_EQ(1, m_doc->m_tileColourCount);
    EXPECT_EQ(1, m_log.nPaletteDialog);

    Command(nBlueId);
    EXPECT_FALSE(menu.IsChecked(nRedId));
    EXPECT_TRUE(menu.IsChecked(nBlueId));
    EXPECT_EQ(CString(L"blue.pal"), m_doc->palettefile);
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], kBlue));
    EXPECT_EQ(2, m_doc->m_tileColourCount);
    EXPECT_EQ(2, m_log.nPaletteDialog);

    for (UINT nID : {(UINT)ID_PALETTE_ROUTED_LAST, (UINT)ID_PALETTE_FIRST - 1})
    {
        m_doc->OnChoosePalette(nID);
        EXPECT_EQ((int)nBlueId, m_doc->lastPalCheck) << nID;
        EXPECT_EQ(CString(L"blue.pal"), m_doc->palettefile) << nID;
        EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], kBlue)) << nID;
        EXPECT_TRUE(menu.IsChecked(nBlueId)) << nID;
    }
    EXPECT_EQ(4, m_log.nShowTileBar);
    EXPECT_EQ(2, m_log.nPaletteDialog);
}

// The tile colours run to the last entry holding a name, a symbol or a colour other than
// black: a palette keeps all its colours, black ones and full palettes included, and the
// black, textless entries a palette table leaves after its colours count for nothing.
TEST_F(PaletteTest, LoadingDerivesTheTileColourCount)
{
    const Tile kBlack = {0, 0, 0, L""};
    const Tile kNamedBlack = {0, 0, 0, L"Noir"};
    const Tile kRed = {200, 0, 0, L"Rouge"};
    const Tile kUnnamedGrey = {90, 90, 90, L""};
    struct Case
    {
        const char* label;
        std::vector<Tile> tiles;   // marked in use
        int nExpected;
    };
    const Case cases[] = {
        {"black entries first", {kBlack, kBlack, kRed, kRed}, 4},
        {"named black inside", {kRed, kRed, kBlack, kNamedBlack, kRed}, 5},
        {"last colour a named black", {kRed, kRed, kRed, kRed, kNamedBlack}, 5},
        {"black entries without texts at the end", {kRed, kRed, kRed, kBlack, kBlack}, 3},
        {"an unnamed colour still is one", {kRed, kUnnamedGrey}, 2},
        {"255 colours", std::vector<Tile>(255, Tile{1, 2, 3, L"Gris"}), 255},
        {"256 colours", std::vector<Tile>(256, Tile{1, 2, 3, L"Gris"}), 256},
        {"no colour", {}, 0},
    };
    for (const Case& c : cases)
    {
        WritePaletteFile(L"case.pal", c.tiles);
        m_doc->m_tileColourCount = 99;
        EXPECT_EQ(1, m_doc->LoadPaletteFile(0, 0, L"case.pal"));
        EXPECT_EQ(c.nExpected, m_doc->m_tileColourCount) << c.label;
    }

    // A symbol alone makes a colour too.
    std::unique_ptr<C2Palette> palette(new C2Palette);
    palette->m_colourNames[0] = L"Rouge";
    palette->m_symbols[6] = L"s";
    palette->SaveToFile(m_strPalettes + L"symbol.pal", L"symbol");
    EXPECT_EQ(1, m_doc->LoadPaletteFile(0, 0, L"symbol.pal"));
    EXPECT_EQ(7, m_doc->m_tileColourCount);
}

// A loaded palette names the image colours and refreshes both bars; remembering makes it the
// palette file and opens the palette table. A file that is missing changes no colour, but
// the count is derived again.
TEST_F(PaletteTest, LoadingNamesImageColoursAndAMissingFileKeepsThePalette)
{
    const Tile kYellow = {230, 220, 10, L"Jaune"};
    WritePaletteFile(L"a.pal", {{40, 50, 60, L"Ardoise"}, kYellow});
    m_doc->m_imagePalette.m_colours[0] = {230, 220, 10, 1};
    m_doc->m_rebuildTileImages = 0;

    EXPECT_EQ(1, m_doc->LoadPaletteFile(0, 1, L"a.pal"));
    EXPECT_EQ(CString(L"a.pal"), m_doc->palettefile);
    EXPECT_EQ(CString(L"Jaune"), m_doc->m_imagePalette.m_colourNames[0]);
    EXPECT_EQ(2, m_doc->m_tileColourCount);
    EXPECT_EQ(1, m_doc->m_rebuildTileImages);
    EXPECT_EQ(1, m_log.nResetImageBar);
    EXPECT_EQ(1, m_log.nRefreshTileBar);
    EXPECT_EQ(1, m_log.nPaletteDialog);

    m_doc->m_tileColourCount = 99;
    m_doc->LoadPaletteFile(0, 0, L"missing.pal");
    EXPECT_EQ(CString(L"a.pal"), m_doc->palettefile);
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[1], kYellow));
    EXPECT_EQ(CString(L"Jaune"), m_doc->m_tilePalette.m_colourNames[1]);
    EXPECT_EQ(2, m_doc->m_tileColourCount);
    EXPECT_EQ(1, m_log.nPaletteDialog);
    EXPECT_EQ(2, m_log.nRefreshTileBar);

    // A damaged file is reported once and changes nothing.
    HANDLE hFile = CreateFileW(m_strPalettes + L"damaged.pal", GENERIC_WRITE, 0, NULL,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwWritten = 0;
    WriteFile(hFile, "\x05\x00junk", 6, &dwWritten, NULL);
    CloseHandle(hFile);
    {
        MessageBoxAnswerer answerer;
        m_doc->LoadPaletteFile(0, 0, L"damaged.pal");
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[1], kYellow));
    EXPECT_EQ(2, m_doc->m_tileColourCount);
}

// Opening any palette file: a cancelled dialog changes nothing. A file of the palette folder
// becomes the palette file; one from elsewhere is kept in the palette folder first, so that
// the mosaic can name it, under a name of its own when another file there has its name. The
// menu palette is unchecked and the menu lists what the folder holds.
TEST_F(PaletteTest, AnOpenedPaletteFileIsTheOneTheMosaicNames)
{
    const Tile kGreen = {10, 200, 10, L"Vert"};
    const Tile kGrey = {90, 90, 90, L"Gris"};
    const Tile kBlue = {10, 10, 200, L"Bleu"};
    WritePaletteFile(L"green.pal", {kGreen});
    WritePaletteFile(L"blue.pal", {kBlue, kBlue});
    WritePalette(m_strProgram + L"elsewhere.pal", {kGrey, kGrey, kGrey});
    const CString strOtherGreen = m_strProgram + L"other\\green.pal";
    CreateDirectoryW(m_strProgram + L"other", NULL);
    WritePalette(strOtherGreen, {kGrey, kGreen});
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());
    ASSERT_EQ(2, m_doc->BuildPaletteMenu());
    const UINT nGreenId =
        ID_PALETTE_FIRST + (m_doc->m_paletteMenuFiles[0] == L"green.pal" ? 0 : 1);
    Command(nGreenId);
    ASSERT_TRUE(menu.IsChecked(nGreenId));
    ASSERT_EQ(1, m_log.nPaletteDialog);
    m_doc->m_rebuildTileImages = 0;

    {
        FileDialogAnswerer cancel(L"");
        Command(ID_OPEN_TILE_PALETTE);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], kGreen));
    EXPECT_EQ(CString(L"green.pal"), m_doc->palettefile);
    EXPECT_EQ((int)nGreenId, m_doc->lastPalCheck);
    EXPECT_TRUE(menu.IsChecked(nGreenId));
    EXPECT_EQ(1, m_log.nPaletteDialog);

    struct Case
    {
        const char* label;
        CString strChosen;
        LPCWSTR kept;        // its name in the palette folder
        Tile first;
        int nCount;
    } cases[] = {
        {"in the palette folder", m_strPalettes + L"blue.pal", L"blue.pal", kBlue, 2},
        {"from elsewhere", m_strProgram + L"elsewhere.pal", L"elsewhere.pal", kGrey, 3},
        {"the same again", m_strProgram + L"elsewhere.pal", L"elsewhere.pal", kGrey, 3},
        {"a name taken by another", strOtherGreen, L"green (2).pal", kGrey, 2},
    };
    int nDialogs = 1;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        {
            // The Palette menu's item gives the same command.
            FileDialogAnswerer ok(c.strChosen);
            Command(ID_OPEN_TILE_PALETTE_ITEM);
            EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
        }
        EXPECT_EQ(CString(c.kept), m_doc->palettefile);
        EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], c.first));
        EXPECT_EQ(c.nCount, m_doc->m_tileColourCount);
        EXPECT_EQ(++nDialogs, m_log.nPaletteDialog);
        EXPECT_EQ(-1, m_doc->lastPalCheck);
        EXPECT_FALSE(menu.IsChecked(nGreenId));
        EXPECT_EQ(1, m_doc->m_rebuildTileImages);
        EXPECT_EQ(1u, MenuFileNames().count(c.kept));
        std::unique_ptr<C2Palette> kept(new C2Palette);
        ASSERT_TRUE(kept->LoadFromFile(m_strPalettes + c.kept));
        EXPECT_TRUE(SameRgb(kept->m_colours[0], c.first));
    }
    EXPECT_EQ((std::set<CString>{L"green.pal", L"blue.pal", L"elsewhere.pal", L"green (2).pal"}),
              MenuFileNames());
}

// A palette file the user chose that cannot be read, from the menu or the dialog, is
// reported; the palette, its file name and the menu's check stay, and no table opens.
TEST_F(PaletteTest, AChosenFileThatCannotBeReadIsReportedAndChangesNothing)
{
    const Tile kGreen = {10, 200, 10, L"Vert"};
    WritePaletteFile(L"green.pal", {kGreen});
    WritePaletteFile(L"gone.pal");
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());
    ASSERT_EQ(2, m_doc->BuildPaletteMenu());
    const int nGreen = m_doc->m_paletteMenuFiles[0] == L"green.pal" ? 0 : 1;
    const UINT nGreenId = ID_PALETTE_FIRST + nGreen;
    const UINT nGoneId = ID_PALETTE_FIRST + 1 - nGreen;
    Command(nGreenId);
    ASSERT_EQ(1, m_log.nPaletteDialog);
    ASSERT_TRUE(DeleteFileW(m_strPalettes + L"gone.pal"));
    const CString strHeld = m_strProgram + L"held.pal";
    WritePalette(strHeld, {{1, 2, 3, L"Autre"}});
    // Another program holds it open.
    HANDLE hHeld = CreateFileW(strHeld, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);

    for (int nRoute = 0; nRoute < 2; nRoute++)
    {
        SCOPED_TRACE(nRoute == 0 ? "menu" : "dialog");
        MessageBoxAnswerer answerer;
        FileDialogAnswerer pick(strHeld);
        Command(nRoute == 0 ? nGoneId : (UINT)ID_OPEN_TILE_PALETTE);
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
        EXPECT_TRUE(SameRgb(m_doc->m_tilePalette.m_colours[0], kGreen));
        EXPECT_EQ(CString(L"green.pal"), m_doc->palettefile);
        EXPECT_EQ((int)nGreenId, m_doc->lastPalCheck);
        EXPECT_TRUE(menu.IsChecked(nGreenId));
        EXPECT_FALSE(menu.IsChecked(nGoneId));
        EXPECT_EQ(1, m_log.nPaletteDialog);
    }
    CloseHandle(hHeld);
}

// Saving writes the palette under the chosen name, lists the new file in the menu and
// clears the modified state and the check.
TEST_F(PaletteTest, SavingListsTheNewFileInTheMenu)
{
    WritePaletteFile(L"old.pal");
    MainWindowMenu menu;
    ASSERT_TRUE(menu.IsValid());
    ASSERT_EQ(1, m_doc->BuildPaletteMenu());
    Command(ID_PALETTE_FIRST);
    m_doc->m_tilePalette.m_colours[0] = {12, 34, 56, 1};
    m_doc->m_tilePaletteModified = 1;
    m_doc->m_rebuildTileImages = 0;

    // A cancelled dialog keeps the edits marked: closing must still offer to save them.
    {
        FileDialogAnswerer cancel(L"");
        Command(ID_SAVE_TILE_PALETTE);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    EXPECT_EQ(1, m_doc->m_tilePaletteModified);

    // The Palette menu's item gives the same command.
    {
        FileDialogAnswerer ok(m_strPalettes + L"saved.pal");
        Command(ID_SAVE_TILE_PALETTE_ITEM);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    EXPECT_EQ(0, m_doc->m_tilePaletteModified);
    EXPECT_EQ(-1, m_doc->lastPalCheck);
    EXPECT_EQ(1, m_doc->m_rebuildTileImages);
    EXPECT_EQ((std::set<CString>{L"old.pal", L"saved.pal"}), MenuFileNames());
    ASSERT_EQ(5 + 2, menu.ItemCount());
    EXPECT_FALSE(menu.IsChecked(ID_PALETTE_FIRST));
    EXPECT_FALSE(menu.IsChecked(ID_PALETTE_FIRST + 1));

    std::unique_ptr<C2Palette> saved(new C2Palette);
    ASSERT_TRUE(saved->LoadFromFile(m_strPalettes + L"saved.pal"));
    EXPECT_EQ(CString(L"saved"), saved->m_name);
    EXPECT_TRUE(SameRgb(saved->m_colours[0], Tile{12, 34, 56, L""}));
}

// A palette that cannot be written whole is reported by its file's name; the file written
// before stays, and the edits stay marked for the next offer to save them.
TEST_F(PaletteTest, AFailedSaveIsReportedAndKeepsTheEditsMarked)
{
    WritePaletteFile(L"kept.pal", {{1, 2, 3, L"Before"}});
    const std::vector<BYTE> before = ReadBytes(m_strPalettes + L"kept.pal");
    ASSERT_EQ(1, m_doc->LoadPaletteFile(0, 0, L"kept.pal"));
    m_doc->m_tilePalette.m_colourNames[0] = L"After";
    m_doc->m_tilePaletteModified = 1;
    {
        FileDialogAnswerer ok(m_strPalettes + L"kept.pal");
        MessageBoxAnswerer report;
        {
            FullDisk full(1000);
            m_doc->OnSaveTilePalette();
        }
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
        EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(L"kept.pal"))
            << CStringA(MessageBoxAnswerer::s_strText).GetString();
    }
    EXPECT_EQ(1, m_doc->m_tilePaletteModified);
    EXPECT_EQ(CString(L"test"), m_doc->m_tilePalette.m_name);
    EXPECT_EQ(before, ReadBytes(m_strPalettes + L"kept.pal"));
}

class SyncPaletteTest : public PaletteTest
{
protected:
    void SetCell(int col, int row, int kind, int a, int b, int c, int d)
    {
        m_doc->m_workingMap.SetCell(col, row, ShapeWhole, kind, a, b, c, d, 0, 0, 0, 0);
    }
    std::vector<int> Colours(const CRasterImage& map, int col, int row)
    {
        int s, k, a, b, c, d, va, vb, vc, vd;
        map.GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
        return k == CellWhole ? std::vector<int>{a} : std::vector<int>{a, b, c, d};
    }
    std::vector<int> Variants(const CRasterImage& map, int col, int row)
    {
        int s, k, a, b, c, d, va, vb, vc, vd;
        map.GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
        return {va, vb, vc, vd};
    }
    void SetColour(int i, const Tile& t)
    {
        m_doc->m_imagePalette.m_colours[i] = {t.r, t.g, t.b, 1};
    }
};

// A duplicate joins the lower colour, the holes are filled from the top, and the colours in
// use end up as 0 to m - 1 with the cells following them and the rest of the table black.
TEST_F(SyncPaletteTest, MergesDuplicatesAndFillsHolesFromTheTop)
{
    const Tile kRed = {200, 0, 0, L""};
    const Tile kGreen = {0, 200, 0, L""};
    const Tile kBlue = {0, 0, 200, L""};
    const Tile kYellow = {230, 220, 10, L""};
    CVitrolanDoc& d = *m_doc;
    d.m_cols = 4;
    d.m_rows = 2;
    d.m_workingMap.Create(0, 16, 8);
    memset(d.m_imagePalette.m_colours, 0, sizeof(d.m_imagePalette.m_colours));
    SetColour(0, kRed);
    SetColour(2, kGreen);
    SetColour(3, kRed);
    SetColour(5, kBlue);
    SetColour(7, kYellow);
    SetColour(9, kGreen);   // in no cell: stays out of the count
    SetCell(0, 0, CellWhole, 0, 0, 0, 0);
    SetCell(1, 0, CellWhole, 2, 0, 0, 0);
    SetCell(2, 0, CellWhole, 3, 0, 0, 0);
    SetCell(3, 0, CellWhole, 5, 0, 0, 0);
    SetCell(0, 1, CellWhole, 7, 0, 0, 0);
    SetCell(1, 1, CellWhole, 7, 0, 0, 0);
    SetCell(2, 1, CellQuarters, 3, 5, 7, 0);
    SetCell(3, 1, CellWhole, 2, 0, 0, 0);
    d.m_imagePalette.m_paletteKind = PaletteKind25Shades;
    d.m_tilePalette.m_colours[4] = {230, 220, 10, 1};
    d.m_tilePalette.m_colourNames[4] = L"Jaune";
    d.m_tilePalette.m_paletteKind = PaletteKind25Shades;

    // Three colours move (3 to 0, 7 to 1, 5 to 3) in one recolouring, which draws new
    // variants for every cell with the document's seeds.
    CRasterImage replica;
    replica.Create(0, 16, 8);
    d.m_workingMap.CopyBlock(&replica, 16, 8);
    int seeds[2] = {d.m_randomSeeds[0], d.m_randomSeeds[1]};
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 2; row++)
            replica.RandomizeCellVariants(col, row, &seeds[0], &seeds[1], PaletteKind25Shades);

    d.SyncPaletteBars();

    EXPECT_EQ(4, d.m_colourCount);
    const Tile expected[4] = {kRed, kYellow, kGreen, kBlue};
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(SameRgb(d.m_imagePalette.m_colours[i], expected[i])) << i;
    for (int i = 4; i < 256; i++)
        EXPECT_TRUE(SameRgb(d.m_imagePalette.m_colours[i], Tile{0, 0, 0, L""})) << i;
    for (int i = 0; i < 256; i++)
    {
        bool bUsed = false;
        for (int t = 0; t < 5; t++)
            bUsed = bUsed || d.m_tileCounts[t][i] != 0;
        EXPECT_EQ(i < 4, bUsed) << i;
    }
    EXPECT_EQ(2, d.m_tileCounts[0][0]);
    EXPECT_EQ(2, d.m_tileCounts[0][1]);
    EXPECT_EQ(2, d.m_tileCounts[0][2]);
    EXPECT_EQ(1, d.m_tileCounts[0][3]);

    const std::vector<int> cells[2][4] = {
        {{0}, {2}, {0}, {3}},
        {{1}, {1}, {0, 3, 1, 0}, {2}},
    };
    for (int row = 0; row < 2; row++)
        for (int col = 0; col < 4; col++)
        {
            EXPECT_EQ(cells[row][col], Colours(d.m_workingMap, col, row)) << col << "," << row;
            EXPECT_EQ(Variants(replica, col, row), Variants(d.m_workingMap, col, row))
                << col << "," << row;
        }
    EXPECT_EQ(seeds[0], d.m_randomSeeds[0]);
    EXPECT_EQ(seeds[1], d.m_randomSeeds[1]);

    EXPECT_EQ(CString(L"Jaune"), d.m_imagePalette.m_colourNames[1]);
    EXPECT_EQ(1, m_log.nResetImageBar);
    EXPECT_EQ(1, m_log.nShowPaletteBars);

    // A compact palette stays as it is, cells and variants included.
    CRasterImage before;
    before.Create(0, 16, 8);
    d.m_workingMap.CopyBlock(&before, 16, 8);
    d.SyncPaletteBars();
    EXPECT_EQ(4, d.m_colourCount);
    EXPECT_EQ(0, memcmp(before.data, d.m_workingMap.data, before.size));
    EXPECT_EQ(2, m_log.nShowPaletteBars);
}

}   // namespace
