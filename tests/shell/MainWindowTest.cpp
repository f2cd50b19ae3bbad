// The program's main window as start-up makes it, driven with the messages a user's clicks
// and keys send: the menu, toolbar and palette bars, a picture opened from the command line,
// the language menu, the palette bars' paging and current colour, and a whole session.
#include "MosaicTest.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AfxApp.h"
#include "AfxDocTempl.h"
#include "AfxPath.h"
#include "AfxPrint.h"
#include "AfxRes.h"
#include "DialogSteps.h"
#include "document/DocTestFiles.h"
#include "FileDialogAnswerer.h"
#include "LangText.h"
#include "MainFrm.h"
#include "MessageBoxAnswerer.h"
#include "OpenCv.h"
#include "Paving.h"
#include "ProgramSession.h"
#include "RecordingCmdUI.h"
#include "SavedLanguageValue.h"
#include "ShellOpen.h"
#include "TextIds.h"
#include "VitrolanApp.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"
#include "output/PdfChecks.h"
#include "resource.h"

namespace
{

const int kEnglishUs = 1033;

CString DataFolder()
{
    CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strFolder.Replace(L"/", L"\\");
    return strFolder;
}

// A picture of four coloured quadrants, red, green, blue and white.
void WriteQuadrants(const CString& strPath, int nCols, int nRows)
{
    cv::Mat picture(nRows, nCols, CV_8UC3, cv::Scalar(255, 255, 255));
    picture(cv::Rect(0, 0, nCols / 2, nRows / 2)).setTo(cv::Scalar(0, 0, 255));
    picture(cv::Rect(nCols / 2, 0, nCols - nCols / 2, nRows / 2)).setTo(cv::Scalar(0, 255, 0));
    picture(cv::Rect(0, nRows / 2, nCols / 2, nRows - nRows / 2)).setTo(cv::Scalar(255, 0, 0));
    ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath).GetString()), picture));
}

// Answers the dialogs of the thread as a user would: each dialog holding the control of the
// next answer gets that answer (what the user types or ticks), then OK.
class DialogFiller : public DialogSteps
{
public:
    typedef Step Fill;
    explicit DialogFiller(std::vector<std::pair<int, Fill>> answers)
        : DialogSteps(ThenOk(std::move(answers)), 20)
    {
    }

private:
    static std::vector<std::pair<int, Step>> ThenOk(std::vector<std::pair<int, Fill>> answers)
    {
        for (auto& answer : answers)
        {
            const Fill fill = answer.second;
            answer.second = [fill](HWND hWnd) {
                fill(hWnd);
                ShowWindow(hWnd, SW_HIDE);
                PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             (LPARAM)GetDlgItem(hWnd, IDOK));
            };
        }
        return answers;
    }
};

DialogFiller::Fill TypeInto(int nControl, const CString& strText)
{
    return [nControl, strText](HWND hWnd) { SetDlgItemTextW(hWnd, nControl, strText); };
}

class MainWindowTest : public testing::Test, protected CProgramSession
{
protected:
    MainWindowTest() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        WriteLanguageId(kEnglishUs);
        SetLangTextFolder(DataFolder());
        m_strFolder = NewTempFolder(L"MosaicMainWindow");
    }
    void TearDown() override
    {
        Quit();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        SetLangTextFolder(L"");
        RemoveTree(m_strFolder);
    }

    // A key pressed in the view, through the thread's accelerators.
    void PressKey(UINT nKey)
    {
        View()->PostMessage(WM_KEYDOWN, nKey, 0);
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (!AfxGetThread()->PreTranslateMessage(&msg))
            {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Pump();
    }
    // The state of a toolbar button after the idle update.
    bool ButtonChecked(UINT nID)
    {
        Pump();
        return Frame()->m_wndToolBar.SendMessage(TB_ISBUTTONCHECKED, nID, 0) != 0;
    }
    bool ButtonEnabled(UINT nID)
    {
        Pump();
        return Frame()->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, nID, 0) != 0;
    }
    // Whether the item is checked when its popup opens, as the user would see it.
    bool ItemChecked(HMENU hPopup, UINT nID)
    {
        Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, 0);
        return (GetMenuState(hPopup, nID, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }

    static CString MenuText(HMENU hMenu, UINT nItem, UINT nFlags)
    {
        WCHAR szText[256] = {};
        GetMenuStringW(hMenu, nItem, szText, 256, nFlags);
        return szText;
    }

    // The colour the view shows at the centre of tile (col, row), squares at the origin.
    COLORREF ShownAtTile(int nCol, int nRow)
    {
        View()->UpdateWindow();
        const int n = Doc()->m_tileSize;
        CClientDC dc(View());
        return dc.GetPixel(nCol * n + n / 2, nRow * n + n / 2);
    }
    COLORREF ImageColourOfTile(int nCol, int nRow)
    {
        int s, k, a, b, c, d, va, vb, vc, vd;
        Doc()->m_workingMap.GetCell(nCol, nRow, s, k, a, b, c, d, va, vb, vc, vd);
        const PaletteEntry& e = Doc()->m_imagePalette.m_colours[a];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strFolder;
};

// Start-up without a file: the maximised main window with its menu in the interface
// language, the toolbar and the palette bars, and every service the document calls on.
TEST_F(MainWindowTest, StartUpMakesTheMainWindowAndInstallsEveryService)
{
    Start();
    CMainFrame* pFrame = Frame();
    ASSERT_NE((CMainFrame*)NULL, pFrame);
    EXPECT_TRUE(::IsZoomed(pFrame->m_hWnd));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(pFrame->m_hWnd, &placement);
    EXPECT_EQ(520, placement.rcNormalPosition.right - placement.rcNormalPosition.left);
    EXPECT_EQ(460, placement.rcNormalPosition.bottom - placement.rcNormalPosition.top);
    EXPECT_EQ(0, Doc()->m_loaded);
    EXPECT_NE((CVitrolanView*)NULL, dynamic_cast<CVitrolanView*>(View()));

    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    ASSERT_EQ(8, GetMenuItemCount(hBar));
    const std::vector<CString> expected = {L"&File",   L"&Edit",   L"&Processing", L"Palette",
                                           L"Pa&ving", L"&Mosaic", L"&Language",   L"&Help"};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(expected[i], MenuText(hBar, i, MF_BYPOSITION)) << i;
    EXPECT_EQ(CString(L"&New...\tCtrl+N"), MenuText(hBar, ID_FILE_NEW, MF_BYCOMMAND));
    for (UINT nGone : {33048u, 152u, 33047u})
        EXPECT_EQ((UINT)-1, GetMenuState(hBar, nGone, MF_BYCOMMAND)) << nGone;

    EXPECT_TRUE(pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(28, pFrame->m_wndToolBar.GetCount());
    EXPECT_EQ(2, pFrame->m_wndToolBar.CommandToIndex(ID_UNDO) - 1);
    EXPECT_EQ(CPaletteBar::ButtonCount, pFrame->m_imageBar.GetCount());
    EXPECT_EQ(CPaletteBar::ButtonCount, pFrame->m_tileBar.GetCount());

    // Every service of the document is there: a missing one would do nothing at all.
    const DocUiHooks& hooks = CVitrolanDoc::s_uiHooks;
    const void* const* services = (const void* const*)&hooks;
    for (size_t i = 0; i < sizeof(hooks) / sizeof(void*); i++)
        EXPECT_NE((const void*)NULL, services[i]) << "service " << i;
}

// The printer's paper follows the paper format of the settings once the program has started.
TEST_F(MainWindowTest, StartUpGivesThePrinterThePaperOfTheSavedFormat)
{
    Start();
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!m_app->GetPrinterDeviceDefaults(&pd) || pd.hDevMode == NULL)
        GTEST_SKIP() << "no printer";
    const int nOldFormat = Doc()->format;
    for (const int nFormat : {1, 0})
    {
        Doc()->format = nFormat;   // saved when the program ends
        Quit();
        Start();
        ASSERT_TRUE(m_app->GetPrinterDeviceDefaults(&pd));
        const DEVMODEW* pDevMode = (const DEVMODEW*)GlobalLock(pd.hDevMode);
        ASSERT_NE((const DEVMODEW*)NULL, pDevMode);
        EXPECT_EQ(nFormat == 1 ? DMPAPER_LETTER : DMPAPER_A4, pDevMode->dmPaperSize);
        GlobalUnlock(pd.hDevMode);
    }
    Doc()->format = nOldFormat;
}

// A picture named on the command line is open when the window first shows: the tiles at
// their centres show their colours.
TEST_F(MainWindowTest, APictureFromTheCommandLineShowsAsAMosaic)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    ASSERT_EQ(1, Doc()->m_loaded);
    EXPECT_EQ(40, Doc()->m_cols);
    EXPECT_EQ(30, Doc()->m_rows);
    Doc()->m_showJoints = 0;
    View()->Invalidate();
    for (const POINT& tile : {POINT{2, 2}, POINT{30, 3}, POINT{5, 25}, POINT{35, 20}})
        EXPECT_EQ(ImageColourOfTile(tile.x, tile.y), ShownAtTile(tile.x, tile.y))
            << tile.x << ", " << tile.y;
    // The colours are the picture's as the clustering rounds them.
    EXPECT_GE(GetRValue(ImageColourOfTile(2, 2)), 250);
    EXPECT_LE(GetGValue(ImageColourOfTile(2, 2)) + GetBValue(ImageColourOfTile(2, 2)), 4);
    EXPECT_GE(GetGValue(ImageColourOfTile(30, 3)), 250);
}

// The Language menu switches every menu text at once and is what the next start reads.
TEST_F(MainWindowTest, TheLanguageMenuSwitchesTheMenusAndTheNextStart)
{
    Start();
    HMENU hBar = ::GetMenu(Frame()->m_hWnd);
    Command(ID_LANGUAGE_FRENCH);
    EXPECT_EQ(1036, ReadLanguageId());
    EXPECT_EQ(CString(L"&Fichier"), MenuText(hBar, 0, MF_BYPOSITION));
    EXPECT_EQ(CString(L"&Aide"), MenuText(hBar, 7, MF_BYPOSITION));
    EXPECT_EQ(MenuText(hBar, ID_FILE_OPEN, MF_BYCOMMAND).Left(7), CString(L"&Ouvrir"));
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Mosaic", 0,
                                           KEY_READ, &hKey));
    WCHAR szValue[16] = {};
    DWORD dwSize = sizeof(szValue);
    RegQueryValueExW(hKey, L"ThreadLocal", NULL, NULL, (BYTE*)szValue, &dwSize);
    RegCloseKey(hKey);
    EXPECT_EQ(CString(L"40c"), CString(szValue));

    // The ticked language follows, the Hebrew item like the others.
    HMENU hLanguages = GetSubMenu(hBar, 6);
    Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hLanguages, 6);
    EXPECT_TRUE(GetMenuState(hLanguages, ID_LANGUAGE_FRENCH, MF_BYCOMMAND) & MF_CHECKED);
    Command(ID_LANGUAGE_HEBREW);
    Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hLanguages, 6);
    EXPECT_TRUE(GetMenuState(hLanguages, ID_LANGUAGE_HEBREW, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(hLanguages, ID_LANGUAGE_FRENCH, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(MenuText(hBar, ID_LANGUAGE_HEBREW, MF_BYCOMMAND).IsEmpty());
    Command(ID_LANGUAGE_ENGLISH);
    EXPECT_EQ(CString(L"&File"), MenuText(hBar, 0, MF_BYPOSITION));
}

// What the Help menu's commands hand to the shell, in place of a browser or viewer.
std::vector<CString> g_shellTargets;

BOOL WINAPI RecordShellTarget(SHELLEXECUTEINFOW* pInfo)
{
    g_shellTargets.push_back(pInfo->lpFile);
    pInfo->hProcess = NULL;
    return TRUE;
}

// The Help menu's web and help items are offered and reach the shell with their address or
// page; nothing is started for real.
TEST_F(MainWindowTest, TheHelpMenuOpensTheWebSiteForumAndCommandsPage)
{
    g_shellTargets.clear();
    const ShellExecuteExFn pfnPrevious = SetShellExecuteEx(RecordShellTarget);
    Start();
    HMENU hHelp = GetSubMenu(::GetMenu(Frame()->m_hWnd), 7);
    Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)hHelp, 7);
    for (UINT nID : {ID_HELP_WEB_SITE, ID_HELP_USERS_FORUM, ID_HELP_COMMANDS})
        EXPECT_FALSE(GetMenuState(hHelp, nID, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) << nID;

    CString strSite, strForum;
    strSite.LoadString(IDS_MAKER_WEB_SITE);
    strForum.LoadString(IDS_USERS_FORUM_ENGLISH);
    Command(ID_HELP_WEB_SITE);
    Command(ID_HELP_USERS_FORUM);
    EXPECT_EQ((std::vector<CString>{strSite, strForum}), g_shellTargets);

    // The pages are not shipped with the program: the user is told which one is missing.
    MessageBoxAnswerer answerer;
    Command(ID_HELP_COMMANDS);
    EXPECT_EQ(2u, g_shellTargets.size());
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(
                      L"Help\\409\\MenuVitrolan\\CommandeVitrolan.htm"));
    SetShellExecuteEx(pfnPrevious);
}

// 70 image colours page as 30, 30 and 10; the pressed button is the current colour, the
// next arrow stops at the last page, and the tile bar gives tile colours.
TEST_F(MainWindowTest, PaletteBarsPageAndGiveTheCurrentColour)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 20, 20);
    Start(L"\"" + strPicture + L"\"");
    CMainFrame* pFrame = Frame();
    Doc()->m_colourCount = 70;
    Command(ID_PALETTE_SHOW_IMAGE);
    EXPECT_TRUE(pFrame->m_imageBar.IsWindowVisible());
    EXPECT_FALSE(pFrame->m_tileBar.IsWindowVisible());

    const UINT nImage = CMainFrame::ID_IMAGE_BUTTON_FIRST;
    Command(nImage + 5);
    EXPECT_EQ(5, pFrame->GetCurrentColour());
    for (int i = 0; i < 3; i++)
        Command(nImage + CPaletteBar::NextButton);
    EXPECT_EQ(2, pFrame->m_imageBar.m_nPage);
    EXPECT_EQ(-1, pFrame->GetCurrentColour());
    Command(nImage + 3);
    EXPECT_EQ(63, pFrame->GetCurrentColour());
    Command(nImage + 15);   // past the 70th colour
    EXPECT_EQ(-1, pFrame->GetCurrentColour());
    Command(nImage + CPaletteBar::PreviousButton);
    EXPECT_EQ(1, pFrame->m_imageBar.m_nPage);

    Doc()->m_tileColourCount = 40;
    Command(ID_PALETTE_SHOW_TILES);
    EXPECT_TRUE(pFrame->m_tileBar.IsWindowVisible());
    EXPECT_FALSE(pFrame->m_imageBar.IsWindowVisible());
    Command(CMainFrame::ID_TILE_BUTTON_FIRST + CPaletteBar::NextButton);
    Command(CMainFrame::ID_TILE_BUTTON_FIRST + 4);
    EXPECT_EQ(256 + 34, pFrame->GetCurrentColour());
    Command(ID_PALETTE_SHOW_NONE);
    EXPECT_EQ(-1, pFrame->GetCurrentColour());
}

// The current colour is a colour, not a button: when a brush stroke takes the last tiles of a
// colour off the mosaic and the image palette closes the gap, the pressed button moves with
// the colour, and the next stroke paints it. A reset of the bar to its first page keeps it.
TEST_F(MainWindowTest, TheCurrentColourFollowsItsColourThroughTheImagePalette)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 20, 20);
    Start(L"\"" + strPicture + L"\"");
    CVitrolanDoc* pDoc = Doc();
    CMainFrame* pFrame = Frame();
    Command(ID_PAVING_SQUARES);
    pDoc->m_tileSize = 10;
    pDoc->m_showJoints = 0;
    // 70 colours of their own, colour c on every 70th tile from tile c on, but colour 0 on
    // tiles (5, 5) and (6, 6) only.
    auto lay = [&](int nColours) {
        for (int c = 0; c < 256; c++)
            pDoc->m_imagePalette.m_colours[c] = PaletteEntry{(BYTE)c, (BYTE)(3 * c), 99, 1};
        for (int i = 0; i < 400; i++)
        {
            const int c = 1 + i % (nColours - 1);
            pDoc->m_workingMap.SetCell(i % 20, i / 20, 0, 0, c, c, c, c, 0, 0, 0, 0);
        }
        for (int i : {5, 6})
            pDoc->m_workingMap.SetCell(i, i, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        pDoc->m_workingMap.CopyBlock(&pDoc->m_committedMap, 80, 80);
        pDoc->m_colourCount = nColours;
        pDoc->UpdateAllViews(NULL);
        Pump();
    };
    lay(70);
    Command(ID_PALETTE_SHOW_IMAGE);
    const UINT nImage = CMainFrame::ID_IMAGE_BUTTON_FIRST;
    // Colour 69, on the third page of the bar.
    Command(nImage + CPaletteBar::NextButton);
    Command(nImage + CPaletteBar::NextButton);
    Command(nImage + 9);
    ASSERT_EQ(69, pFrame->GetCurrentColour());
    const PaletteEntry chosen = pDoc->m_imagePalette.m_colours[69];

    // A reset of the bar, as after any change of the palette, shows the colour's page.
    pDoc->SyncPaletteBars();
    EXPECT_EQ(69, pFrame->GetCurrentColour());

    // The brush on tile (5, 5) covers both tiles of colour 0: the palette closes the gap,
    // and the chosen colour gets another number.
    Command(ID_TOOL_BRUSH);
    ASSERT_EQ(1, pDoc->m_brushTool);
    View()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
    View()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(55, 55));
    Pump();
    ASSERT_EQ(69, pDoc->m_colourCount);
    const int nCurrent = pFrame->GetCurrentColour();
    ASSERT_GE(nCurrent, 0);
    ASSERT_LT(nCurrent, 69);
    const PaletteEntry& current = pDoc->m_imagePalette.m_colours[nCurrent];
    EXPECT_EQ(chosen.peRed, current.peRed);
    EXPECT_EQ(chosen.peGreen, current.peGreen);
    EXPECT_EQ(chosen.peBlue, current.peBlue);
    View()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(155, 155));
    View()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(155, 155));
    Pump();
    EXPECT_EQ(RGB(chosen.peRed, chosen.peGreen, chosen.peBlue), ImageColourOfTile(15, 15));
    EXPECT_EQ(RGB(chosen.peRed, chosen.peGreen, chosen.peBlue), ShownAtTile(15, 15));
}

// A new user's session: open a picture, change the pattern, zoom, save, quit, start again
// with the saved file and find the same mosaic.
TEST_F(MainWindowTest, ASessionSavedAndOpenedAgainGivesTheSameMosaic)
{
    const CString strPicture = m_strFolder + L"garden.png";
    WriteQuadrants(strPicture, 24, 16);
    Start(L"\"" + strPicture + L"\"");
    Command(ID_PAVING_HEXAGONS);
    const int nZoom = Doc()->m_tileSize;
    Command(ID_VIEW_ZOOM_IN);
    EXPECT_GT(Doc()->m_tileSize, nZoom);
    const CString strSaved = m_strFolder + L"garden.ms2";
    {
        FileDialogAnswerer answer(strSaved);
        Command(ID_FILE_SAVE);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    ASSERT_TRUE(GetFileAttributesW(strSaved) != INVALID_FILE_ATTRIBUTES);
    const std::vector<BYTE> map = Bytes(Doc()->m_workingMap);
    const int nSavedZoom = Doc()->m_tileSize;
    Quit();

    Start(L"\"" + strSaved + L"\"");
    EXPECT_EQ(PavingHexagons, Doc()->m_pavingType);
    EXPECT_EQ(nSavedZoom, Doc()->m_tileSize);
    EXPECT_EQ(24, Doc()->m_cols);
    EXPECT_EQ(map, Bytes(Doc()->m_workingMap));
    EXPECT_EQ(strSaved, Doc()->GetPathName());
}

// The print preview of the mosaic shows the one page it prints, and closing it gives the
// frame its view, toolbar and menu back.
TEST_F(MainWindowTest, ThePrintPreviewShowsTheOnePagePrinted)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 20, 20);
    Start(L"\"" + strPicture + L"\"");
    CMainFrame* pFrame = Frame();
    CView* pView = pFrame->GetActiveView();
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    Command(ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = dynamic_cast<CPreviewView*>(pFrame->GetActiveView());
    ASSERT_NE((CPreviewView*)NULL, pPreview);
    EXPECT_FALSE(pFrame->m_wndToolBar.IsWindowVisible());
    RecordingCmdUI next;
    next.m_nID = AFX_ID_PREVIEW_NEXT;
    pPreview->OnCmdMsg(AFX_ID_PREVIEW_NEXT, CN_UPDATE_COMMAND_UI, &next, NULL);
    EXPECT_EQ(0, next.nEnabled);
    EXPECT_EQ(1u, pPreview->m_nCurrentPage);

    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    Pump();
    EXPECT_EQ(pView, pFrame->GetActiveView());
    EXPECT_TRUE(pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(hMenu, ::GetMenu(pFrame->m_hWnd));
}

// The tool buttons are greyed until a mosaic is open; then each shows whether its tool is
// on, and F5 and F7 switch the display as the Mosaic menu shows it.
TEST_F(MainWindowTest, ToolAndDisplaySwitchesShowOnTheirButtonsItemsAndKeys)
{
    Start();
    for (UINT nID : {ID_TOOL_SELECT, ID_TOOL_FILL, ID_TOOL_HALF_TILE, ID_VIEW_JOINTS})
        EXPECT_FALSE(ButtonEnabled(nID)) << nID;

    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    EXPECT_TRUE(ButtonEnabled(ID_TOOL_FILL));
    Command(ID_TOOL_FILL);
    EXPECT_TRUE(ButtonChecked(ID_TOOL_FILL));
    Command(ID_TOOL_HALF_TILE);
    EXPECT_FALSE(ButtonChecked(ID_TOOL_FILL));
    EXPECT_TRUE(ButtonChecked(ID_TOOL_HALF_TILE));
    Command(ID_TOOL_HALF_TILE);
    EXPECT_FALSE(ButtonChecked(ID_TOOL_HALF_TILE));
    EXPECT_EQ(CutHalves, Doc()->m_cutKind);

    Doc()->m_tileSize = 12;
    const bool bJoints = Doc()->m_showJoints != 0;
    EXPECT_EQ(bJoints, ButtonChecked(ID_VIEW_JOINTS));
    Command(ID_VIEW_JOINTS);
    EXPECT_EQ(!bJoints, ButtonChecked(ID_VIEW_JOINTS));

    HMENU hDisplay = GetSubMenu(GetSubMenu(::GetMenu(Frame()->m_hWnd), 5), 2);
    ASSERT_NE((HMENU)NULL, hDisplay);
    EXPECT_TRUE(ItemChecked(hDisplay, ID_VIEW_COLOURS));
    Doc()->m_tileSize = 8;
    PressKey(VK_F7);
    EXPECT_EQ(2, Doc()->affichage);
    EXPECT_EQ(20, Doc()->m_tileSize);
    EXPECT_TRUE(ItemChecked(hDisplay, ID_VIEW_COLOURS_SYMBOLS));
    EXPECT_FALSE(ItemChecked(hDisplay, ID_VIEW_COLOURS));
    EXPECT_TRUE(ButtonChecked(ID_VIEW_COLOURS_SYMBOLS));
    PressKey(VK_F5);
    EXPECT_EQ(0, Doc()->affichage);
    EXPECT_FALSE(ButtonChecked(ID_VIEW_COLOURS_SYMBOLS));
    PressKey(VK_F6);
    EXPECT_TRUE(ItemChecked(hDisplay, ID_VIEW_SYMBOLS));
}

// The editing commands ask through the program's dialogs, name their undo step on the Edit
// menu, and report what they refuse in the program's message box.
TEST_F(MainWindowTest, EditingCommandsAskThroughTheirDialogs)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    CVitrolanDoc* pDoc = Doc();
    HMENU hBar = ::GetMenu(Frame()->m_hWnd);

    CString strWidth;
    // Twice the width, in feet or metres.
    const double dUnitsPerSize = pDoc->unites ? 12000.0 : 100000.0;
    strWidth.Format(L"%g", 2 * RoundToDecimals(40 * pDoc->m_pitch / dUnitsPerSize, 3));
    {
        DialogFiller answer({{IDC_RESIZE_SIZE, TypeInto(IDC_RESIZE_SIZE, strWidth)}});
        Command(ID_PROCESS_RESIZE);
        EXPECT_EQ(1, DialogFiller::s_nDone);
    }
    EXPECT_EQ(80, pDoc->m_cols);
    EXPECT_EQ(60, pDoc->m_rows);
    EXPECT_EQ(CString(L"&Undo resize\tCtrl+Z"), MenuText(hBar, ID_UNDO, MF_BYCOMMAND));
    pDoc->m_showJoints = 0;
    pDoc->m_tileSize = 6;
    View()->Invalidate();
    EXPECT_EQ(ImageColourOfTile(70, 50), ShownAtTile(70, 50));
    Command(ID_UNDO);
    EXPECT_EQ(40, pDoc->m_cols);

    CString strMessage;
    auto addAtTop = [](LPCWSTR lpszCount) {
        return [lpszCount](HWND hWnd) {
            CheckDlgButton(hWnd, IDC_LC_TOP, BST_CHECKED);
            SetDlgItemTextW(hWnd, IDC_LC_COUNT_TOP, lpszCount);
        };
    };
    auto keepMessage = [&strMessage](HWND hWnd) {
        WCHAR szText[256] = {};
        GetDlgItemTextW(hWnd, IDC_MESSAGE_TEXT, szText, 256);
        strMessage = szText;
    };
    {
        DialogFiller answer({{IDC_LC_TOP, addAtTop(L"30")}, {IDC_MESSAGE_TEXT, keepMessage}});
        Command(ID_EDIT_ADD_ROWS_COLUMNS);
        EXPECT_EQ(2, DialogFiller::s_nDone);
    }
    EXPECT_EQ(CString(L"So many rows or columns cannot be added."), strMessage);
    EXPECT_EQ(30, pDoc->m_rows);
    {
        DialogFiller answer({{IDC_LC_TOP, addAtTop(L"5")}});
        Command(ID_EDIT_ADD_ROWS_COLUMNS);
    }
    EXPECT_EQ(35, pDoc->m_rows);

    {
        DialogFiller answer({{IDC_STAMP_TEXT, TypeInto(IDC_STAMP_TEXT, L"Ab\x00e7")},
                             {IDC_MESSAGE_TEXT, keepMessage}});
        Command(ID_INSERT_TEXT);
        EXPECT_EQ(2, DialogFiller::s_nDone);
    }
    EXPECT_EQ(0, pDoc->m_textStampTool);
    EXPECT_EQ(L'\x00e7', strMessage[strMessage.GetLength() - 1]);
    {
        DialogFiller answer({{IDC_STAMP_TEXT, TypeInto(IDC_STAMP_TEXT, L"Ab")}});
        Command(ID_INSERT_TEXT);
    }
    EXPECT_EQ(1, pDoc->m_textStampTool);
    EXPECT_GT(pDoc->m_textImage.width, 20);
}

// The laying plan from the menu: the notice, then the plan's dialog, whose choices the
// document keeps; the file lands in a "Plans" folder made for it, and the window is usable
// again afterwards.
TEST_F(MainWindowTest, ThePlanCommandAsksAndWritesItsFile)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    CPdfOpenRecorder opened(m_strFolder + L"opened.txt");
    CVitrolanDoc* pDoc = Doc();
    pDoc->m_programFolder = m_strFolder;
    pDoc->impression = 0;
    pDoc->regles = 1;
    pDoc->imprVignettes = 0;

    CString strMessage;
    auto keepMessage = [&strMessage](HWND hWnd) {
        WCHAR szText[256] = {};
        GetDlgItemTextW(hWnd, IDC_MESSAGE_TEXT, szText, 256);
        strMessage = szText;
    };
    auto noRulers = [](HWND hWnd) { CheckDlgButton(hWnd, IDC_PRINT_RULERS, BST_UNCHECKED); };
    {
        DialogFiller answer({{IDC_MESSAGE_TEXT, keepMessage}, {IDC_PRINT_RULERS, noRulers}});
        Command(ID_MOSAIC_PRINT_GRIDS);
        EXPECT_EQ(2, DialogFiller::s_nDone);
    }
    EXPECT_EQ(GetLangText(TXT_MSG_PLAN_AS_PDF), strMessage);
    EXPECT_EQ(0, pDoc->regles);
    EXPECT_TRUE(Frame()->IsWindowEnabled());

    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(m_strFolder + L"Plans\\Plan_quadrants_*.pdf", &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind);
    FindClose(hFind);
    const std::string path = UnixPath(m_strFolder + L"Plans\\" + data.cFileName);
    EXPECT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("3", InfoValue(PdfInfo(path), "Pages"));
}

// A new user's editing session with the mouse and the menus: select a block, copy it, drag the
// selection elsewhere and paste, mirror the pasted block, resize and undo the resize, save,
// and find every change again in the file opened anew.
TEST_F(MainWindowTest, AnEditingSessionWithTheMouseIsSavedAndOpenedAgain)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    CVitrolanDoc* pDoc = Doc();
    Command(ID_PAVING_SQUARES);
    pDoc->m_tileSize = 10;
    pDoc->m_showJoints = 0;
    View()->Invalidate();
    Pump();
    const int n = pDoc->m_tileSize;
    auto tilePoint = [n](int nCol, int nRow) { return MAKELPARAM(nCol * n + n / 2, nRow * n + n / 2); };
    auto drag = [&](int nFromCol, int nFromRow, int nToCol, int nToRow) {
        View()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, tilePoint(nFromCol, nFromRow));
        View()->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, tilePoint(nToCol, nToRow));
        View()->SendMessage(WM_LBUTTONUP, 0, tilePoint(nToCol, nToRow));
        Pump();
    };
    // The picture's clustering may give a quadrant a few shades of its colour: a tile is
    // named by the quadrant colour it is nearest to.
    auto colourAt = [&](int nCol, int nRow) {
        const COLORREF c = ImageColourOfTile(nCol, nRow);
        const COLORREF quadrants[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                      RGB(255, 255, 255)};
        for (COLORREF q : quadrants)
        {
            if (abs(GetRValue(c) - GetRValue(q)) < 16 && abs(GetGValue(c) - GetGValue(q)) < 16 &&
                abs(GetBValue(c) - GetBValue(q)) < 16)
                return q;
        }
        return c;
    };
    const COLORREF red = colourAt(0, 0), green = colourAt(39, 0), blue = colourAt(0, 29);
    ASSERT_NE(red, green);

    Command(ID_TOOL_SELECT);
    ASSERT_EQ(1, pDoc->m_selectTool);
    // The block's first three columns are red, its last three green: a mirror swaps them.
    drag(17, 2, 22, 5);
    Command(ID_EDIT_COPY);
    ASSERT_EQ(1, pDoc->m_copyValid);
    drag(18, 3, 18, 20);   // the selection moves down 17 rows, into the blue and white half
    EXPECT_EQ(blue, colourAt(17, 19));
    Command(ID_EDIT_PASTE);
    for (int nRow = 19; nRow <= 22; nRow++)
    {
        EXPECT_EQ(red, colourAt(17, nRow)) << nRow;
        EXPECT_EQ(red, colourAt(19, nRow)) << nRow;
        EXPECT_EQ(green, colourAt(20, nRow)) << nRow;
        EXPECT_EQ(green, colourAt(22, nRow)) << nRow;
    }
    EXPECT_EQ(blue, colourAt(16, 19));
    EXPECT_EQ(blue, colourAt(17, 23));

    Command(ID_EDIT_MIRROR_HORIZONTAL);
    EXPECT_EQ(green, colourAt(17, 19));
    EXPECT_EQ(red, colourAt(22, 22));
    EXPECT_EQ(blue, colourAt(16, 19));
    EXPECT_EQ(red, colourAt(17, 2));   // the source block is as it was
    const std::vector<BYTE> edited = Bytes(pDoc->m_workingMap);

    CString strWidth;
    const double dUnitsPerSize = pDoc->unites ? 12000.0 : 100000.0;
    strWidth.Format(L"%g", 2 * RoundToDecimals(40 * pDoc->m_pitch / dUnitsPerSize, 3));
    {
        DialogFiller answer({{IDC_RESIZE_SIZE, TypeInto(IDC_RESIZE_SIZE, strWidth)}});
        Command(ID_PROCESS_RESIZE);
    }
    EXPECT_EQ(80, pDoc->m_cols);
    Command(ID_UNDO);
    EXPECT_EQ(40, pDoc->m_cols);
    EXPECT_EQ(30, pDoc->m_rows);
    EXPECT_EQ(edited, Bytes(pDoc->m_workingMap));

    const CString strSaved = m_strFolder + L"quadrants.ms2";
    {
        FileDialogAnswerer answer(strSaved);
        Command(ID_FILE_SAVE);
    }
    Quit();
    Start(L"\"" + strSaved + L"\"");
    EXPECT_EQ(40, Doc()->m_cols);
    EXPECT_EQ(edited, Bytes(Doc()->m_workingMap));
    EXPECT_EQ(green, colourAt(17, 19));
}

// After zooming in and scrolling, the tile under a point is the one the zoom and the scroll
// origin put there.
TEST_F(MainWindowTest, ZoomAndScrollRepaintTheRightTileUnderAPoint)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 40, 30);
    Start(L"\"" + strPicture + L"\"");
    while (Doc()->m_tileSize < 40)
        Command(ID_VIEW_ZOOM_IN);
    Doc()->m_showJoints = 0;
    CVitrolanView* pView = View();
    pView->Invalidate();
    const int n = Doc()->m_tileSize;
    auto shownAt = [&](int nScreenCol, int nScreenRow) {
        pView->UpdateWindow();
        CClientDC dc(pView);
        return dc.GetPixel(nScreenCol * n + n / 2, nScreenRow * n + n / 2);
    };
    EXPECT_EQ(ImageColourOfTile(19, 2), shownAt(19, 2));
    EXPECT_NE(ImageColourOfTile(20, 2), ImageColourOfTile(19, 2));

    pView->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
    pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    Pump();
    ASSERT_EQ(1, pView->GetOriginCol());
    ASSERT_EQ(1, pView->GetOriginRow());
    EXPECT_EQ(ImageColourOfTile(20, 15), shownAt(19, 14));
    EXPECT_EQ(ImageColourOfTile(1, 1), shownAt(0, 0));
}


// ---- Colour reduction and colour mix, from the menu and the tool --------------------------------

// A tile palette of red, blue and white, loaded over the one start-up chose.
void UseThreeTileColours(CVitrolanDoc* pDoc)
{
    const PaletteEntry tiles[] = {{250, 10, 10, 1}, {10, 10, 240, 1}, {250, 250, 250, 1}};
    const LPCWSTR names[] = {L"Red", L"Blue", L"White"};
    for (int t = 0; t < 3; t++)
    {
        pDoc->m_tilePalette.m_colours[t] = tiles[t];
        pDoc->m_tilePalette.m_colourNames[t] = names[t];
    }
    pDoc->m_tileColourCount = 3;
}

// The choice dialog answered with every colour checked.
void ChooseAll(HWND hDlg)
{
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDC_SELECT_ALL, BN_CLICKED),
                 (LPARAM)GetDlgItem(hDlg, IDC_SELECT_ALL));
}

// The reduction from the menu: every quadrant takes the nearest tile colour (green the blue
// one), the colours that meet become one, and the Undo item names the reduction.
TEST_F(MainWindowTest, ColourReductionFromTheMenuTakesTheNearestTileColours)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 24, 16);
    Start(L"\"" + strPicture + L"\"");
    UseThreeTileColours(Doc());
    {
        DialogFiller answer({{IDC_SELECT_GRID, ChooseAll}});
        Command(ID_REDUCE_COLOURS);
        EXPECT_EQ(1, DialogFiller::s_nDone);
    }
    EXPECT_EQ(3, Doc()->m_allowedCount);
    EXPECT_EQ(3, Doc()->m_colourCount);
    const POINT quadrants[] = {{2, 2}, {20, 2}, {2, 12}, {20, 12}};
    const COLORREF expected[] = {RGB(250, 10, 10), RGB(10, 10, 240), RGB(10, 10, 240),
                                 RGB(250, 250, 250)};
    for (int q = 0; q < 4; q++)
        EXPECT_EQ(expected[q], ImageColourOfTile(quadrants[q].x, quadrants[q].y)) << q;
    HMENU hBar = ::GetMenu(Frame()->m_hWnd);
    EXPECT_EQ(GetLangText(TXT_UNDO_REDUCE_COLOURS), MenuText(hBar, ID_UNDO_EDIT, MF_BYCOMMAND));
}

// The mix-fill tool: a click asks for the colours, then for their shares, and the clicked
// quadrant takes tiles of the chosen colours only, as a preview still to be confirmed.
TEST_F(MainWindowTest, MixFillToolAsksForTheColoursAndFillsTheClickedRegion)
{
    const CString strPicture = m_strFolder + L"quadrants.png";
    WriteQuadrants(strPicture, 24, 16);
    Start(L"\"" + strPicture + L"\"");
    CVitrolanDoc* pDoc = Doc();
    UseThreeTileColours(pDoc);
    Command(ID_PAVING_SQUARES);
    pDoc->m_tileSize = 10;
    View()->Invalidate();
    Pump();
    const COLORREF untouched = ImageColourOfTile(20, 12);
    Command(ID_MIX_FILL_TOOL);
    {
        DialogFiller answer({{IDC_SELECT_GRID, ChooseAll}, {IDC_MIX_GRID, [](HWND) {}}});
        View()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 25));
        View()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(25, 25));
        Pump();
        EXPECT_EQ(2, DialogFiller::s_nDone);
    }
    EXPECT_EQ(1, pDoc->m_mixPreviewPending);
    std::set<COLORREF> drawn;
    for (int nRow = 0; nRow < 8; nRow++)
        for (int nCol = 0; nCol < 12; nCol++)
            drawn.insert(ImageColourOfTile(nCol, nRow));
    const std::set<COLORREF> tiles = {RGB(250, 10, 10), RGB(10, 10, 240), RGB(250, 250, 250)};
    EXPECT_EQ(tiles, drawn) << "each of the three shares, a third, shows in 96 tiles";
    EXPECT_EQ(untouched, ImageColourOfTile(20, 12));

    // The next edit asks whether the mix stays.
    DialogFiller keep({{IDC_MIXCONF_TEXT, [](HWND) {}}});
    EXPECT_TRUE(pDoc->CommitPendingEdit());
    EXPECT_EQ(1, DialogFiller::s_nDone);
    EXPECT_EQ(tiles.count(ImageColourOfTile(2, 2)), 1u);
}

}   // namespace
