// The painted frame as the user sees it: the menu-bar item under the mouse drawn hot by the
// frame and cooled again, the row under the menu bar and the dock bars in the menu-bar colour,
// a toolbar docked on each side and floated in a painted floating frame.
#include "RunningMainFrame.h"

#include "PaintedDockBar.h"
#include "PaintedFrame.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMiniDockFrameWnd.h"

namespace
{

COLORREF BrushColour(HBRUSH hBrush)
{
    LOGBRUSH brush = {};
    GetObjectW(hBrush, sizeof(brush), &brush);
    return brush.lbColor;
}

// The menu's own drawing of a bar item in that state, as the screen should show it.
cv::Mat DrawnItem(CMainFrame* pFrame, int nPosition, UINT nState)
{
    HMENU hBar = pFrame->GetMenuBar().GetSafeHmenu();
    RECT rect;
    GetMenuItemRect(pFrame->m_hWnd, hBar, nPosition, &rect);
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_DATA;
    GetMenuItemInfoW(hBar, nPosition, TRUE, &info);
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    LOGFONTW logFont;
    GetPaintedMenuLogFont(logFont, FALSE);
    HFONT hFont = CreateFontIndirectW(&logFont);
    HGDIOBJ hOldFont = SelectObject(hDC, hFont);
    SetWindowOrgEx(hDC, rect.left, rect.top, NULL);
    const ULONG_PTR nHot = PaintedMenuLibrary().nHotMenuBarItem;
    const CRect rectRecorded = pFrame->GetMenuBar().m_rectMenuBarItem;
    DRAWITEMSTRUCT draw = {ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, nState, (HWND)hBar, hDC, rect,
                           info.dwItemData};
    pFrame->GetMenuBar().DrawItem(&draw);
    PaintedMenuLibrary().nHotMenuBarItem = nHot;
    pFrame->GetMenuBar().m_rectMenuBarItem = rectRecorded;
    SelectObject(hDC, hOldFont);
    DeleteObject(hFont);
    SetWindowOrgEx(hDC, 0, 0, NULL);
    BITMAPINFO bits = {};
    bits.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bits.bmiHeader.biWidth = cx;
    bits.bmiHeader.biHeight = -cy;
    bits.bmiHeader.biPlanes = 1;
    bits.bmiHeader.biBitCount = 32;
    cv::Mat picture(cy, cx, CV_8UC4);
    SelectObject(hDC, hOld);
    GetDIBits(hDC, hBitmap, 0, cy, picture.data, &bits, DIB_RGB_COLORS);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    ReleaseDC(NULL, hScreen);
    cv::Mat bgr;
    cv::cvtColor(picture, bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

// Whether the screen shows the bar item as the menu draws it in that state.
bool ScreenShowsItem(CMainFrame* pFrame, int nPosition, UINT nState)
{
    RECT rect;
    GetMenuItemRect(pFrame->m_hWnd, pFrame->GetMenuBar().GetSafeHmenu(), nPosition, &rect);
    const cv::Mat expected = DrawnItem(pFrame, nPosition, nState);
    const cv::Mat shown = CaptureScreen()(cv::Rect(rect.left, rect.top, expected.cols,
                                                    expected.rows));
    return cv::norm(expected, shown, cv::NORM_INF) == 0;
}

// The mouse moved there, as the system tells the frame.
LRESULT HitTest(CWnd* pWnd, POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    return pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
}

}   // namespace

TEST(PaintedFrameRules, TheFrameTracksTheBarWhereTheSystemDoesNot)
{
    const struct
    {
        int nVersion;
        BOOL bRemote;
        BOOL bWine;
        BOOL bTracks;
    } cases[] = {
        {7, FALSE, FALSE, FALSE}, {6, FALSE, FALSE, FALSE}, {7, TRUE, FALSE, TRUE},
        {5, FALSE, FALSE, TRUE},  {2, FALSE, FALSE, TRUE},  {7, FALSE, TRUE, TRUE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bTracks, FrameTracksMenuBar(c.nVersion, c.bRemote, c.bWine))
            << c.nVersion << " " << c.bRemote << " " << c.bWine;

    const struct
    {
        BOOL bFocusInFrame;
        int nVersion;
        UINT nHot;
        UINT nNormal;
    } states[] = {
        {TRUE, 7, ODS_HOTLIGHT, 0u},
        {TRUE, 2, ODS_HOTLIGHT, 0u},
        {FALSE, 2, 0u, 0u},
        {FALSE, 5, 0u, 0u},
        {FALSE, 7, ODS_HOTLIGHT | ODS_INACTIVE, (UINT)ODS_INACTIVE},
        {FALSE, 0, ODS_HOTLIGHT | ODS_INACTIVE, (UINT)ODS_INACTIVE},
    };
    for (const auto& s : states)
    {
        const MenuBarHotStates result = GetMenuBarHotStates(s.bFocusInFrame, s.nVersion);
        EXPECT_EQ(s.nHot, result.nHot) << s.bFocusInFrame << " " << s.nVersion;
        EXPECT_EQ(s.nNormal, result.nNormal) << s.bFocusInFrame << " " << s.nVersion;
    }
}

class PaintedFrameTest : public RunningMainFrame
{
};

TEST_F(PaintedFrameTest, TheBarItemUnderTheMouseIsDrawnHotUntilTheMouseLeaves)
{
    CMainFrame* pFrame = Frame();
    ASSERT_TRUE(PaintedMenuLibrary().bWine);
    HMENU hBar = pFrame->GetMenuBar().GetSafeHmenu();
    RECT rectEdit, rectFile;
    ASSERT_TRUE(GetMenuItemRect(pFrame->m_hWnd, hBar, 1, &rectEdit));
    ASSERT_TRUE(GetMenuItemRect(pFrame->m_hWnd, hBar, 0, &rectFile));
    const POINT ptEdit = {(rectEdit.left + rectEdit.right) / 2,
                          (rectEdit.top + rectEdit.bottom) / 2};
    const POINT ptFile = {(rectFile.left + rectFile.right) / 2,
                          (rectFile.top + rectFile.bottom) / 2};
    HWND hFocus = GetFocus();
    const MenuBarHotStates states = GetMenuBarHotStates(
        hFocus != NULL && IsChild(pFrame->m_hWnd, hFocus), GetWinVersionClass());
    CMenuBarHotTracker& tracker = pFrame->m_hotTracker;
    const cv::Rect fileArea(rectFile.left, rectFile.top, rectFile.right - rectFile.left,
                            rectFile.bottom - rectFile.top);
    const cv::Mat fileBefore = CaptureScreen()(fileArea).clone();

    EXPECT_EQ(HTMENU, HitTest(pFrame, ptEdit));
    EXPECT_EQ(1, tracker.m_nHotItem);
    EXPECT_NE(0u, tracker.m_nTimer);
    EXPECT_TRUE(ScreenShowsItem(pFrame, 1, states.nHot));
    const cv::Mat screen = CaptureScreen();
    KeepPicture(screen, L"painted-frame-hot-item.png");
    // Its neighbour is left as it was.
    EXPECT_EQ(0, cv::norm(fileBefore, screen(fileArea), cv::NORM_INF));

    // Onto the next item: the first one cools, the second one is hot.
    EXPECT_EQ(HTMENU, HitTest(pFrame, ptFile));
    EXPECT_EQ(0, tracker.m_nHotItem);
    EXPECT_TRUE(ScreenShowsItem(pFrame, 0, states.nHot));
    EXPECT_TRUE(ScreenShowsItem(pFrame, 1, states.nNormal));

    // Out of the bar into the client area.
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    pFrame->ClientToScreen(&rectClient);
    EXPECT_NE(HTMENU, HitTest(pFrame, rectClient.CenterPoint()));
    EXPECT_EQ(-1, tracker.m_nHotItem);
    EXPECT_EQ(0u, tracker.m_nTimer);
    EXPECT_TRUE(ScreenShowsItem(pFrame, 0, states.nNormal));

    // A menu loop takes the bar over: the hot item cools and no other one is drawn hot.
    HitTest(pFrame, ptEdit);
    pFrame->SendMessage(WM_ENTERMENULOOP, FALSE);
    EXPECT_EQ(-1, tracker.m_nHotItem);
    EXPECT_EQ(0u, tracker.m_nTimer);
    EXPECT_EQ(HTMENU, HitTest(pFrame, ptFile));
    EXPECT_EQ(-1, tracker.m_nHotItem);
    pFrame->SendMessage(WM_EXITMENULOOP, FALSE);
    EXPECT_EQ(HTMENU, HitTest(pFrame, ptFile));
    EXPECT_EQ(0, tracker.m_nHotItem);
    HitTest(pFrame, rectClient.CenterPoint());
}

TEST_F(PaintedFrameTest, TheRowUnderTheBarAndTheDockBarsTakeTheBarColour)
{
    CMainFrame* pFrame = Frame();
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(pFrame->GetMenuBar().GetSafeHmenu(), &info));
    ASSERT_EQ(GetMenuBackBrush(), info.hbrBack);
    const COLORREF crBar = BrushColour(info.hbrBack);

    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    pFrame->ClientToScreen(&rectClient);
    // The mouse away from the bar, where it would make an item hot.
    SetCursorPos(rectClient.CenterPoint().x, rectClient.CenterPoint().y);
    const RECT strip = {rectClient.left, rectClient.top - 1, rectClient.right, rectClient.top};
    const cv::Mat screen = CaptureScreen();
    KeepPicture(screen, L"painted-frame.png");
    EXPECT_EQ(0, CountOtherThan(screen, strip, crBar));
    // The bar beyond its last item.
    HMENU hBar = pFrame->GetMenuBar().GetSafeHmenu();
    MENUBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    RECT rectLast;
    ASSERT_TRUE(GetMenuBarInfo(pFrame->m_hWnd, OBJID_MENU, 0, &bar));
    ASSERT_TRUE(GetMenuItemRect(pFrame->m_hWnd, hBar, GetMenuItemCount(hBar) - 1, &rectLast));
    EXPECT_EQ(0, CountOtherThan(screen, RECT{rectLast.right, rectLast.top, bar.rcBar.right,
                                             bar.rcBar.bottom},
                                crBar));

    // The toolbar on each side in turn: the rest of that side's dock bar, borders included,
    // is plain bar colour.
    CToolBar& toolBar = pFrame->m_wndToolBar;
    for (UINT nID : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_RIGHT,
                     AFX_IDW_DOCKBAR_TOP})
    {
        CPaintedDockBar* pDockBar =
            DYNAMIC_DOWNCAST(CPaintedDockBar, pFrame->GetControlBar(nID));
        ASSERT_NE((CPaintedDockBar*)NULL, pDockBar) << nID;
        pFrame->DockControlBar(&toolBar, nID);
        pFrame->RecalcLayout();
        pFrame->UpdateWindow();
        Pump();
        EXPECT_EQ((CDockBar*)pDockBar, toolBar.m_pDockBar) << nID;
        EXPECT_EQ(pDockBar->m_hWnd, ::GetParent(toolBar.m_hWnd)) << nID;
        CRect rectDock, rectTool;
        pDockBar->GetWindowRect(&rectDock);
        toolBar.GetWindowRect(&rectTool);
        ASSERT_FALSE(rectDock.IsRectEmpty()) << nID;
        const cv::Mat shown = CaptureScreen();
        if (nID == AFX_IDW_DOCKBAR_LEFT)
            KeepPicture(shown, L"painted-frame-left.png");
        EXPECT_EQ(0, CountOtherThan(shown, rectDock, crBar, rectTool)) << nID;
    }

    // Dragged off, the toolbar floats in a painted floating frame; docked again, it is back.
    pFrame->FloatControlBar(&toolBar, CPoint(400, 300));
    Pump();
    ASSERT_TRUE(toolBar.IsFloating());
    CFrameWnd* pFloating = toolBar.GetDockingFrame();
    ASSERT_NE((CFrameWnd*)NULL, pFloating);
    EXPECT_TRUE(pFloating->IsKindOf(RUNTIME_CLASS(CPaintedMiniDockFrameWnd)));
    EXPECT_TRUE(pFloating->IsWindowVisible());
    KeepPicture(CaptureScreen(), L"painted-frame-floating.png");
    pFrame->DockControlBar(&toolBar, AFX_IDW_DOCKBAR_TOP);
    Pump();
    EXPECT_FALSE(toolBar.IsFloating());
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP), (CControlBar*)toolBar.m_pDockBar);
}

TEST_F(PaintedFrameTest, ANewFaceColourReachesTheBarTheRowUnderItAndTheDockBars)
{
    CMainFrame* pFrame = Frame();
    struct SavedFace
    {
        const int nElement = COLOR_BTNFACE;
        const COLORREF crSaved = GetSysColor(COLOR_BTNFACE);
        ~SavedFace() { SetSysColors(1, &nElement, &crSaved); }
    } saved;
    const COLORREF crNew = RGB(200, 180, 160);
    SetSysColors(1, &saved.nElement, &crNew);
    pFrame->SendMessage(WM_SYSCOLORCHANGE);
    RedrawWindow(pFrame->m_hWnd, NULL, NULL,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(GetMenuInfo(pFrame->GetMenuBar().GetSafeHmenu(), &info));
    EXPECT_EQ(crNew, BrushColour(info.hbrBack));
    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    pFrame->ClientToScreen(&rectClient);
    SetCursorPos(rectClient.CenterPoint().x, rectClient.CenterPoint().y);
    const cv::Mat screen = CaptureScreen();
    KeepPicture(screen, L"painted-frame-new-face.png");
    MENUBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetMenuBarInfo(pFrame->m_hWnd, OBJID_MENU, 0, &bar));
    EXPECT_EQ(crNew, PixelAt(screen, bar.rcBar.right - 2, (bar.rcBar.top + bar.rcBar.bottom) / 2));
    EXPECT_EQ(0, CountOtherThan(screen, RECT{rectClient.left, rectClient.top - 1,
                                             rectClient.right, rectClient.top},
                                crNew));
    CRect rectDock, rectTool;
    pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&rectDock);
    pFrame->m_wndToolBar.GetWindowRect(&rectTool);
    EXPECT_EQ(0, CountOtherThan(screen, rectDock, crNew, rectTool));
}
