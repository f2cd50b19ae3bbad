// A new user's main road, through the program's own window: the program started as its
// launcher starts it, with a photograph on its command line, beside the palettes it ships
// with and with no settings of an earlier start; the Palette menu, the tile palette bar, the
// colour reduction, the kept mosaic, the laying plan and the picture export.
#include "MosaicTest.h"

#include <set>
#include <string>
#include <vector>

#include "AfxPath.h"
#include "AfxPrint.h"
#include "AfxRes.h"
#include "DialogAnswerer.h"
#include "DialogSteps.h"
#include "document/DocTestFiles.h"
#include "ExportPicture.h"
#include "FileDialogAnswerer.h"
#include "LangText.h"
#include "MainFrm.h"
#include "OpenCv.h"
#include "ProgramSession.h"
#include "RunningMainFrame.h"
#include "SavedLanguageValue.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"
#include "output/PdfChecks.h"
#include "resource.h"

namespace
{

const int kEnglishUs = 1033;
const int kFrench = 1036;
const int kPalettePopup = 3;
const int kFixedPaletteItems = 5;

CString DataFolder()
{
    CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strFolder.Replace(L"/", L"\\");
    return strFolder;
}

// The folder of the running program, where it looks for its palettes and writes its plans.
CString ProgramFolder()
{
    WCHAR szModule[MAX_PATH] = {};
    GetModuleFileNameW(NULL, szModule, MAX_PATH);
    CString strFolder = szModule;
    return strFolder.Left(strFolder.ReverseFind(L'\\') + 1);
}

void CopyTree(const CString& strFrom, const CString& strTo)
{
    CreateDirectoryW(strTo, NULL);
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFrom + L"*", &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind) << CStringA(strFrom).GetString();
    do
    {
        const CString strName(data.cFileName);
        if (strName == L"." || strName == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(strFrom + strName + L"\\", strTo + strName + L"\\");
        else
            ASSERT_TRUE(CopyFileW(strFrom + strName, strTo + strName, FALSE));
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
}

bool Exists(const CString& strPath)
{
    return GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES;
}

CString MenuText(HMENU hMenu, UINT nItem, UINT nFlags)
{
    WCHAR szText[256] = {};
    GetMenuStringW(hMenu, nItem, szText, 256, nFlags);
    return szText;
}

COLORREF ColourOf(const PaletteEntry& e)
{
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

// Every dialog that shows while it lives is noted with its texts, and closed.
class AnyDialogRecorder : public DialogAnswerer<AnyDialogRecorder>
{
public:
    AnyDialogRecorder() : DialogAnswerer(30) { s_shown.clear(); }

    static inline std::vector<CString> s_shown;

    static BOOL OnDialog(HWND hWnd)
    {
        WCHAR szText[256] = {};
        GetWindowTextW(hWnd, szText, 256);
        s_shown.push_back(szText);
        EnumChildWindows(hWnd, OnChild, 0);
        ShowWindow(hWnd, SW_HIDE);
        PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }

private:
    static BOOL CALLBACK OnChild(HWND hWnd, LPARAM)
    {
        WCHAR szText[512] = {};
        GetWindowTextW(hWnd, szText, 512);
        s_shown.back() += CString(L" | ") + szText;
        return TRUE;
    }
};

void PressOk(HWND hWnd)
{
    ShowWindow(hWnd, SW_HIDE);
    PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hWnd, IDOK));
}

// The one file the pattern finds; empty when there is none.
CString FoundFile(const CString& strFolder, LPCWSTR lpszPattern)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + lpszPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return CString();
    FindClose(hFind);
    return strFolder + data.cFileName;
}

// The program's folder holds the palettes that ship with it, as the build lays them out
// beside the program, and the profile holds nothing of an earlier start. The folders the
// program makes there go when the test ends.
class NewUserRoad : public testing::Test, protected CProgramSession
{
protected:
    NewUserRoad() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        m_strProgram = ProgramFolder();
        for (LPCWSTR lpszFolder : {L"Palettes", L"Plans", L"Images", L"Excel"})
            ASSERT_FALSE(Exists(m_strProgram + lpszFolder))
                << "left by an earlier run: " << CStringA(lpszFolder).GetString();
        CopyTree(DataFolder() + L"Palettes\\", m_strProgram + L"Palettes\\");
        ForgetEarlierStarts();
        UseLanguage(kEnglishUs);
        SetLangTextFolder(DataFolder());
        m_strFolder = NewTempFolder(L"MosaicNewUser");
        // Where New writes its first file, and where file dialogs leave the process.
        WCHAR szCurrent[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, szCurrent);
        m_strCurrent = szCurrent;
        SetCurrentDirectoryW(m_strFolder);
        m_strPhotograph = m_strFolder + L"softwaves.png";
        ASSERT_TRUE(CopyFileW(CString(L"Z:") + CString(MOSAIC_FIXTURES "/softwaves-80x60.png"),
                              m_strPhotograph, FALSE));
    }
    void TearDown() override
    {
        Quit();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        SetLangTextFolder(L"");
        ClearLangTexts();
        SetCurrentDirectoryW(m_strCurrent);
        for (LPCWSTR lpszFolder : {L"Palettes", L"Plans", L"Images", L"Excel"})
            RemoveTree(m_strProgram + lpszFolder + L"\\");
        RemoveTree(m_strFolder);
        ForgetEarlierStarts();
    }

    static void ForgetEarlierStarts()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orbalith\\Mosaic");
    }
    static void UseLanguage(int nLanguageId)
    {
        WriteLanguageId(nLanguageId);
        ClearLangTexts();
    }
    void StartWith(const CString& strFile) { Start(L"\"" + strFile + L"\""); }

    HMENU PalettePopup() const { return GetSubMenu(::GetMenu(Frame()->m_hWnd), kPalettePopup); }
    // The palettes the Palette menu lists, by their item texts.
    std::set<CString> ListedPalettes() const
    {
        std::set<CString> names;
        HMENU hPopup = PalettePopup();
        for (int i = kFixedPaletteItems; i < GetMenuItemCount(hPopup); i++)
            names.insert(MenuText(hPopup, i, MF_BYPOSITION));
        return names;
    }
    // The command of the Palette menu's item with that text; 0 when there is none.
    UINT PaletteItem(LPCWSTR lpszText) const
    {
        HMENU hPopup = PalettePopup();
        for (int i = kFixedPaletteItems; i < GetMenuItemCount(hPopup); i++)
            if (MenuText(hPopup, i, MF_BYPOSITION) == lpszText)
                return GetMenuItemID(hPopup, i);
        return 0;
    }

    // A setting as the last start left it in the profile.
    static CString ProfileString(LPCWSTR lpszEntry)
    {
        WCHAR szValue[MAX_PATH] = {};
        DWORD cbValue = sizeof(szValue);
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orbalith\\Mosaic\\Mosaic\\Orbalith\\Mosaic",
                     lpszEntry, RRF_RT_REG_SZ, NULL, szValue, &cbValue);
        return szValue;
    }

    // Where colour button i of the tile palette bar shows its colour on the screen: inside
    // its bevel, away from the label written over its middle.
    CPoint TileButtonPoint(int i) const
    {
        CPaletteBar& bar = Frame()->m_tileBar;
        CRect first, item;
        bar.GetItemRect(0, &first);
        bar.GetItemRect(i, &item);
        CPoint pt(item.left + 4, item.top - first.top + 4);
        bar.ClientToScreen(&pt);
        return pt;
    }
    // The tile palette bar is shown with the first colours of the tile palette.
    void ExpectTileBarShowsTheTilePalette()
    {
        ASSERT_TRUE(Frame()->m_tileBar.IsWindowVisible());
        const cv::Mat screen = CaptureScreen();
        const int n = std::min(Doc()->TileColoursInUse(), (int)CPaletteBar::ColoursPerPage);
        ASSERT_GT(n, 0);
        for (int i = 0; i < n; i++)
        {
            const CPoint pt = TileButtonPoint(i);
            EXPECT_EQ(ColourOf(Doc()->m_tilePalette.m_colours[i]), PixelAt(screen, pt.x, pt.y))
                << "button " << i;
        }
    }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strProgram;
    CString m_strFolder;
    CString m_strCurrent;
    CString m_strPhotograph;
};

const std::set<CString> kShippedPalettes = {L"Ceramique-Mate", L"Verre-Nuances"};

// The menu lists the palette files however the program starts, and keeps them through a
// change of language, the print preview and a new mosaic.
TEST_F(NewUserRoad, ThePaletteMenuListsTheShippedPalettesAfterEveryStart)
{
    StartWith(m_strPhotograph);
    EXPECT_EQ(kShippedPalettes, ListedPalettes()) << "started with a photograph";
    Command(ID_LANGUAGE_FRENCH);
    EXPECT_EQ(kShippedPalettes, ListedPalettes()) << "in French";
    Command(ID_LANGUAGE_ENGLISH);
    // The print preview takes the menu bar away while it shows.
    Command(ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = dynamic_cast<CPreviewView*>(Frame()->GetActiveView());
    ASSERT_NE((CPreviewView*)NULL, pPreview);
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    Pump();
    EXPECT_EQ(kShippedPalettes, ListedPalettes()) << "after the print preview";
    Quit();

    Start();
    EXPECT_EQ(kShippedPalettes, ListedPalettes()) << "started without a file";
    {
        DialogSteps answer({{IDC_NEWMOS_WIDTH, [](HWND hWnd) {
                                 PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
                             }}});
        Command(ID_FILE_NEW);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    EXPECT_EQ(kShippedPalettes, ListedPalettes()) << "after New";
}

// A first start takes the first palette that ships with the program, by name, shows its
// colours in the tile palette bar and keeps it for the next start.
TEST_F(NewUserRoad, AFirstStartShowsTheFirstShippedPalette)
{
    StartWith(m_strPhotograph);
    EXPECT_EQ(CString(L"Ceramique-Mate.pal"), Doc()->palettefile);
    ExpectTileBarShowsTheTilePalette();
    Quit();
    EXPECT_EQ(CString(L"Ceramique-Mate.pal"), ProfileString(L"palettefile"));
}

// Without any palette file the tile palette bar says so, and so does the colour choice in
// place of an empty table.
TEST_F(NewUserRoad, WithoutAnyPaletteFileTheBarAndTheColourChoiceSaySo)
{
    RemoveTree(m_strProgram + L"Palettes\\");
    StartWith(m_strPhotograph);
    EXPECT_EQ(0, Doc()->TileColoursInUse());
    ASSERT_TRUE(Frame()->m_tileBar.IsWindowVisible());
    CRect bar;
    Frame()->m_tileBar.GetWindowRect(&bar);
    const cv::Mat screen = CaptureScreen();
    int nInk = 0;
    for (int y = bar.top; y < bar.bottom; y++)
        for (int x = bar.left; x < bar.right; x++)
            nInk += PixelAt(screen, x, y) == RGB(0, 0, 0);
    EXPECT_GT(nInk, 50) << "the bar's text";

    CString strMessage;
    bool bTable = false;
    {
        DialogSteps answer({{IDOK, [&](HWND hWnd) {
                                 WCHAR szText[256] = {};
                                 GetDlgItemTextW(hWnd, IDC_MESSAGE_TEXT, szText, 256);
                                 strMessage = szText;
                                 bTable = GetDlgItem(hWnd, IDC_SELECT_GRID) != NULL;
                                 ShowWindow(hWnd, SW_HIDE);
                                 PostMessageW(hWnd, WM_COMMAND, bTable ? IDCANCEL : IDOK, 0);
                             }}});
        Command(ID_PROCESS_REDUCE_COLOURS);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    EXPECT_FALSE(bTable);
    EXPECT_EQ(GetLangText(TXT_MSG_NO_PALETTE_FILES), strMessage);
}

// Open a palette and Save the palette are offered with a mosaic, and saving writes the tile
// palette where the Palette menu then lists it.
TEST_F(NewUserRoad, SaveThePaletteWritesAFileTheMenuLists)
{
    StartWith(m_strPhotograph);
    HMENU hDisplay = GetSubMenu(PalettePopup(), 0);
    Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hDisplay, 0);
    for (UINT nID : {(UINT)ID_PALETTE_OPEN_FILE, (UINT)ID_PALETTE_SAVE_FILE})
        EXPECT_EQ(0u, GetMenuState(hDisplay, nID, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED))
            << nID;
    {
        FileDialogAnswerer save(m_strProgram + L"Palettes\\Mine.pal");
        Command(ID_PALETTE_SAVE_FILE);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    EXPECT_TRUE(Exists(m_strProgram + L"Palettes\\Mine.pal"));
    EXPECT_EQ(1u, ListedPalettes().count(L"Mine"));
}

// A photograph at the starting zoom leaves no room for joints; a new mosaic with room shows
// them again, on the screen too.
TEST_F(NewUserRoad, NewAfterAPhotographShowsTheJointsAgain)
{
    StartWith(m_strPhotograph);
    ASSERT_EQ(2, Doc()->m_tileSize);
    EXPECT_EQ(0, Doc()->m_showJoints);
    {
        DialogSteps answer({{IDC_NEWMOS_WIDTH, PressOk}});
        Command(ID_FILE_NEW);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    const int n = Doc()->m_tileSize;
    ASSERT_GT(n, 2);
    EXPECT_EQ(1, Doc()->m_showJoints);
    const BYTE* joint = Doc()->m_colourTable[1];
    View()->Invalidate();
    View()->UpdateWindow();
    CClientDC dc(View());
    int nJoint = 0;
    for (int x = 0; x < 4 * n; x++)
        nJoint += dc.GetPixel(x, n / 2) == RGB(joint[0], joint[1], joint[2]);
    EXPECT_GE(nJoint, 4) << "a joint between each two tiles";
}

// A cancelled File New leaves the mosaic shown, and the caption that names it, also while
// the new mosaic's size is asked.
TEST_F(NewUserRoad, CancellingNewKeepsTheCaptionOfTheMosaicShown)
{
    StartWith(m_strPhotograph);
    const CString strTitle = Doc()->GetTitle();
    WCHAR szCaption[256] = {};
    ::GetWindowTextW(Frame()->m_hWnd, szCaption, 256);
    const CString strCaption = szCaption;
    ASSERT_NE(-1, strCaption.Find(L"softwaves"));
    CString strAsked;
    {
        DialogSteps answer({{IDC_NEWMOS_WIDTH, [&](HWND hWnd) {
                                 WCHAR szAsked[256] = {};
                                 ::GetWindowTextW(Frame()->m_hWnd, szAsked, 256);
                                 strAsked = szAsked;
                                 ShowWindow(hWnd, SW_HIDE);
                                 PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
                             }}});
        Command(ID_FILE_NEW);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    EXPECT_EQ(strCaption, strAsked) << "while the size is asked";
    EXPECT_EQ(80, Doc()->m_cols);
    EXPECT_EQ(strTitle, Doc()->GetTitle());
    ::GetWindowTextW(Frame()->m_hWnd, szCaption, 256);
    EXPECT_EQ(strCaption, CString(szCaption));
}

// How the session chooses its palette, and in which language it runs.
struct Road
{
    const char* name;
    bool bOpenFile;   // "Open a palette..." in place of the palette's own menu item
    int nLanguage;
};

void PrintTo(const Road& road, std::ostream* os)
{
    *os << road.name;
}

class NewUserSession : public NewUserRoad, public testing::WithParamInterface<Road>
{
protected:
    // The colours the tile palette offers.
    std::set<COLORREF> TileColours() const
    {
        std::set<COLORREF> colours;
        for (int t = 0; t < Doc()->TileColoursInUse(); t++)
            colours.insert(ColourOf(Doc()->m_tilePalette.m_colours[t]));
        return colours;
    }
    // The colours of the tiles of the mosaic.
    std::set<COLORREF> MosaicColours() const
    {
        std::set<COLORREF> colours;
        CVitrolanDoc* pDoc = Doc();
        for (int row = 0; row < pDoc->m_rows; row++)
            for (int col = 0; col < pDoc->m_cols; col++)
            {
                int s, k, a, b, c, d, va, vb, vc, vd;
                pDoc->m_workingMap.GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
                colours.insert(ColourOf(pDoc->m_imagePalette.m_colours[a]));
            }
        return colours;
    }
    // The colours the view shows at the middle of every third tile it shows whole.
    std::set<COLORREF> ViewColours()
    {
        CVitrolanView* pView = View();
        pView->Invalidate();
        pView->UpdateWindow();
        CRect client;
        pView->GetClientRect(&client);
        const int n = Doc()->m_tileSize;
        std::set<COLORREF> colours;
        CClientDC dc(pView);
        for (int row = 0; row < Doc()->m_rows && (row + 1) * n <= client.bottom; row += 3)
            for (int col = 0; col < Doc()->m_cols && (col + 1) * n <= client.right; col += 3)
                colours.insert(dc.GetPixel(col * n + n / 2, row * n + n / 2));
        return colours;
    }
};

// The photograph goes to the tiles of a shipped palette, the mosaic is kept at exit and comes
// back as it was, and the laying plan and the picture of the mosaic are written.
TEST_P(NewUserSession, FromAPhotographToTheTilesOfAPalette)
{
    const Road road = GetParam();
    const bool bFrench = road.nLanguage == kFrench;
    UseLanguage(road.nLanguage);
    StartWith(m_strPhotograph);
    HMENU hBar = ::GetMenu(Frame()->m_hWnd);
    EXPECT_EQ(CString(bFrench ? L"&Fichier" : L"&File"), MenuText(hBar, 0, MF_BYPOSITION));
    EXPECT_EQ(CString(bFrench ? L"&Ouvrir une palette..." : L"&Open a palette..."),
              MenuText(hBar, ID_PALETTE_OPEN_FILE, MF_BYCOMMAND));
    EXPECT_EQ(kShippedPalettes, ListedPalettes());

    // The palette: from its menu item, or from its file; the palette table shows it.
    {
        DialogSteps table({{IDC_PALETTE_GRID, PressOk}});
        if (road.bOpenFile)
        {
            FileDialogAnswerer pick(DataFolder() + L"Palettes\\Verre-Nuances.pal");
            Command(ID_PALETTE_OPEN_FILE);
            EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
        }
        else
        {
            const UINT nItem = PaletteItem(L"Verre-Nuances");
            ASSERT_NE(0u, nItem);
            Command(nItem);
        }
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    EXPECT_EQ(CString(L"Verre-Nuances.pal"), Doc()->palettefile);
    ExpectTileBarShowsTheTilePalette();
    const std::set<CString> listed = ListedPalettes();
    EXPECT_EQ(kShippedPalettes, listed);

    // Every tile colour allowed: the mosaic has only tile colours, and the view shows them.
    {
        DialogSteps choice({{IDC_SELECT_GRID, [](HWND hWnd) {
                                 SendMessageW(hWnd, WM_COMMAND,
                                              MAKEWPARAM(IDC_SELECT_ALL, BN_CLICKED),
                                              (LPARAM)GetDlgItem(hWnd, IDC_SELECT_ALL));
                                 PressOk(hWnd);
                             }}});
        Command(ID_PROCESS_REDUCE_COLOURS);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    const std::set<COLORREF> tiles = TileColours();
    const std::set<COLORREF> used = MosaicColours();
    EXPECT_TRUE(std::includes(tiles.begin(), tiles.end(), used.begin(), used.end()));
    EXPECT_GT(used.size(), 3u);
    if (Doc()->m_texturedTiles)
        Command(ID_PALETTE_TEXTURED_TILES);
    while (Doc()->m_tileSize < 8)
        Command(ID_VIEW_ZOOM_IN);
    const std::set<COLORREF> shown = ViewColours();
    EXPECT_TRUE(std::includes(tiles.begin(), tiles.end(), shown.begin(), shown.end()));
    const std::vector<BYTE> map = Bytes(Doc()->m_workingMap);
    const int nColours = Doc()->m_colourCount;

    // File > Exit keeps the mosaic beside the photograph; it opens again as it was, and
    // without a word.
    const CString strKept = m_strFolder + L"softwaves.ms2";
    {
        AnyDialogRecorder dialogs;
        Quit();
        ASSERT_TRUE(Exists(strKept));
        StartWith(strKept);
        EXPECT_TRUE(AnyDialogRecorder::s_shown.empty())
            << CStringA(AnyDialogRecorder::s_shown.front()).GetString();
    }
    ASSERT_EQ(1, Doc()->m_loaded);
    EXPECT_EQ(map, Bytes(Doc()->m_workingMap));
    EXPECT_EQ(nColours, Doc()->m_colourCount);
    EXPECT_EQ(CString(L"Verre-Nuances.pal"), Doc()->palettefile);
    EXPECT_EQ(tiles, TileColours());
    ExpectTileBarShowsTheTilePalette();

    // Mosaic > Print grids writes the plan; File > Export mosaic the picture of the whole
    // mosaic, each tile at the export's zoom. The files are handed on, not shown.
    CPdfOpenRecorder pdfs(m_strFolder + L"opened-pdf.txt");
    CPdfOpenRecorder pictures(m_strFolder + L"opened-jpg.txt", L".jpg");
    {
        DialogSteps plan({{IDC_MESSAGE_TEXT, PressOk}, {IDC_PRINT_RULERS, PressOk}});
        Command(ID_MOSAIC_PRINT_GRIDS);
        EXPECT_EQ(2, DialogSteps::s_nDone);
    }
    const CString strPlan = FoundFile(m_strProgram + L"Plans\\", L"Plan_softwaves_*.pdf");
    ASSERT_FALSE(strPlan.IsEmpty());
    EXPECT_EQ("ok", QpdfCheck(UnixPath(strPlan)));
    {
        DialogSteps picture({{IDC_EXPORT_FILE_TYPE, PressOk}});
        Command(ID_FILE_EXPORT_MOSAIC);
        EXPECT_EQ(1, DialogSteps::s_nDone);
    }
    const CString strPicture = FoundFile(m_strFolder, L"softwaves_E*.jpg");
    ASSERT_FALSE(strPicture.IsEmpty());
    const cv::Mat exported = cv::imread(UnixPath(strPicture));
    const int z = ExportZoom(Doc()->m_tileSize);
    EXPECT_EQ(Doc()->m_cols * z, exported.cols);
    EXPECT_EQ(Doc()->m_rows * z, exported.rows);
}

INSTANTIATE_TEST_SUITE_P(Roads, NewUserSession,
                         testing::Values(Road{"PaletteMenu", false, kEnglishUs},
                                         Road{"OpenAPalette", true, kEnglishUs},
                                         Road{"InFrench", false, kFrench}),
                         [](const testing::TestParamInfo<Road>& info) {
                             return std::string(info.param.name);
                         });

}   // namespace
