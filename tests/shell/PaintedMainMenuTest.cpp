// The main window's owner-drawn menus as a user meets them: the menu bar and the system menu
// converted, the items measured through the frame, a popup opened on the screen with its
// icons and accelerator texts, a typed mnemonic, and language switches that rebuild the texts
// without piling up objects.
#include "RunningMainFrame.h"

#include <memory>
#include <string>

#include "AfxApp.h"
#include "AfxPath.h"
#include "LangText.h"
#include "MainFrm.h"
#include "OpenCv.h"
#include "PaintedMenuIcons.h"
#include "SavedLanguageValue.h"
#include "VitrolanApp.h"
#include "resource.h"

namespace
{

class PaintedMainMenuTest : public RunningMainFrame
{
};

CPaintedMenuItemData* DataOfCommand(HMENU hMenu, UINT nID)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(hMenu, nID, FALSE, &info) || !(info.fType & MFT_OWNERDRAW))
        return NULL;
    return (CPaintedMenuItemData*)info.dwItemData;
}

// What the screen showed while a menu was open.
struct OpenMenuRecord
{
    static inline cv::Mat s_screen;
    static inline HWND s_hFrame = NULL;

    static void CALLBACK Capture(HWND, UINT, UINT_PTR nTimer, DWORD)
    {
        KillTimer(NULL, nTimer);
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        HDC hScreen = GetDC(NULL);
        HDC hDC = CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
        HGDIOBJ hOld = SelectObject(hDC, hBitmap);
        BitBlt(hDC, 0, 0, cx, cy, hScreen, 0, 0, SRCCOPY);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32};
        cv::Mat picture(cy, cx, CV_8UC4);
        GetDIBits(hDC, hBitmap, 0, cy, picture.data, &info, DIB_RGB_COLORS);
        cv::cvtColor(picture, s_screen, cv::COLOR_BGRA2BGR);
        SelectObject(hDC, hOld);
        DeleteObject(hBitmap);
        DeleteDC(hDC);
        ReleaseDC(NULL, hScreen);
        // The user types the mnemonic of "Open".
        PostMessageW(s_hFrame, WM_CHAR, L'o', 0);
    }
};

}   // namespace

TEST_F(PaintedMainMenuTest, TheBarAndTheSystemMenuAreOwnerDrawnWithIconsAndAcceleratorTexts)
{
    CMainFrame* pFrame = Frame();
    ASSERT_NE((CMainFrame*)NULL, pFrame);
    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    ASSERT_EQ(pFrame->GetMenuBar().GetSafeHmenu(), hBar);
    CPaintedMenuItemData* pOpen = DataOfCommand(hBar, ID_FILE_OPEN);
    ASSERT_NE((CPaintedMenuItemData*)NULL, pOpen);
    EXPECT_EQ(3, pOpen->m_nImage);
    CString strText;
    EXPECT_TRUE(pFrame->GetMenuBar().GetMenuText(ID_FILE_OPEN, strText, MF_BYCOMMAND));
    EXPECT_EQ(CString(L"Ctrl+O"), strText.Mid(strText.Find(L'\t') + 1));
    EXPECT_NE((CPaintedMenuItemData*)NULL,
              DataOfCommand(::GetSystemMenu(pFrame->m_hWnd, FALSE), SC_CLOSE));

    // Measured through the frame as Windows asks for it.
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_FILE_OPEN, 0, 0, (ULONG_PTR)pOpen};
    pFrame->SendMessage(WM_MEASUREITEM, 0, (LPARAM)&measure);
    EXPECT_GT(measure.itemWidth, 60u);
    EXPECT_GE(measure.itemHeight, 16u);
}

TEST_F(PaintedMainMenuTest, AnOpenPopupShowsItsIconsAndAnswersItsMnemonic)
{
    CMainFrame* pFrame = Frame();
    ASSERT_NE((CMainFrame*)NULL, pFrame);
    CPaintedMenu* pFile =
        CPaintedMenu::FromHandleOwned(::GetSubMenu(pFrame->GetMenuBar(), 0));
    ASSERT_NE((CPaintedMenu*)NULL, pFile);
    OpenMenuRecord::s_hFrame = pFrame->m_hWnd;
    OpenMenuRecord::s_screen.release();
    SetTimer(NULL, 0, 300, OpenMenuRecord::Capture);
    const UINT nChosen = (UINT)::TrackPopupMenu(pFile->GetSafeHmenu(),
                                                TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                100, 100, 0, pFrame->m_hWnd, NULL);
    EXPECT_EQ((UINT)ID_FILE_OPEN, nChosen);
    // Wine finds the mnemonic in the item's text itself, without WM_MENUCHAR (measured);
    // the frame answers it as Windows asks.
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE),
              pFrame->SendMessage(WM_MENUCHAR, MAKEWPARAM(L'o', MF_POPUP),
                                  (LPARAM)pFile->GetSafeHmenu()));
    ASSERT_FALSE(OpenMenuRecord::s_screen.empty());
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    cv::imwrite(std::string(AfxGetUnixPath(CString(szTemp) + L"painted-menu-open.png").GetString()),
                OpenMenuRecord::s_screen);
    // The icon column of the first items holds more than the menu colour.
    const cv::Mat column = OpenMenuRecord::s_screen(cv::Rect(102, 102, 20, 60));
    cv::Mat grey;
    cv::cvtColor(column, grey, cv::COLOR_BGR2GRAY);
    double dMin = 0, dMax = 0;
    cv::minMaxLoc(grey, &dMin, &dMax);
    EXPECT_GT(dMax - dMin, 60.0);
}

TEST_F(PaintedMainMenuTest, LanguageSwitchesRebuildTheTextsWithoutPilingUpObjects)
{
    CMainFrame* pFrame = Frame();
    ASSERT_NE((CMainFrame*)NULL, pFrame);
    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    CPaintedMenuItemData* pOpen = DataOfCommand(hBar, ID_FILE_OPEN);
    pFrame->SendMessage(WM_COMMAND, ID_LANGUAGE_FRENCH);
    Pump();
    ASSERT_EQ(1u, CPaintedMenuIcons::GetStoreList().size());
    const int nReferences = CPaintedMenuIcons::GetStoreList()[0]->m_nRefCount;
    const int nBarItems = pFrame->GetMenuBar().GetItemDataCount();
    for (UINT nID : {ID_LANGUAGE_ENGLISH, ID_LANGUAGE_FRENCH, ID_LANGUAGE_ENGLISH,
                     ID_LANGUAGE_FRENCH})
    {
        pFrame->SendMessage(WM_COMMAND, nID);
        Pump();
    }
    EXPECT_EQ(pOpen, DataOfCommand(hBar, ID_FILE_OPEN));
    EXPECT_EQ(CString(L"&Ouvrir"), pOpen->GetText().Left(7));
    EXPECT_EQ(3, pOpen->m_nImage);
    EXPECT_EQ(nReferences, CPaintedMenuIcons::GetStoreList()[0]->m_nRefCount);
    EXPECT_EQ(nBarItems, pFrame->GetMenuBar().GetItemDataCount());
    EXPECT_EQ(::GetMenuItemCount(hBar), nBarItems);
    pFrame->SendMessage(WM_COMMAND, ID_LANGUAGE_ENGLISH);
    Pump();
}
