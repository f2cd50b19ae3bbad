// The popup windows of the owner-drawn menus as the user sees them: the frame, icon column,
// shadow and joint with the open menu-bar item painted by the theme; plain menus left to the
// system; every subclassed window released when the menus close.
#include "RunningMainFrame.h"

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedMenuHook.h"
#include "PaintedMenuLibrary.h"

namespace
{

// What the screen and the hook showed while a menu was open.
struct OpenPopupRecord
{
    static inline cv::Mat s_screen;
    static inline HWND s_hPopup = NULL;
    static inline RECT s_rectPopup = {};
    static inline HMENU s_hPopupMenu = NULL;
    static inline int s_nSubclassed = -1;
    static inline cv::Mat s_printed;
    static inline HBITMAP s_hBackground = NULL;
    static inline DWORD s_nBackgroundType = 0;

    static void Clear()
    {
        s_screen.release();
        s_hPopup = NULL;
        s_hPopupMenu = NULL;
        s_nSubclassed = -1;
        s_printed.release();
    }
    // The window's picture as WM_PRINT gives it.
    static cv::Mat Print(HWND hWnd)
    {
        RECT rect;
        GetWindowRect(hWnd, &rect);
        const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = NULL;
        HDC hDC = CreateCompatibleDC(NULL);
        HBITMAP hBitmap = CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
        HGDIOBJ hOld = SelectObject(hDC, hBitmap);
        SendMessageW(hWnd, WM_PRINT, (WPARAM)hDC, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
        cv::Mat picture;
        cv::cvtColor(cv::Mat(cy, cx, CV_8UC4, pBits), picture, cv::COLOR_BGRA2BGR);
        SelectObject(hDC, hOld);
        DeleteObject(hBitmap);
        DeleteDC(hDC);
        return picture;
    }
    static void CALLBACK Capture(HWND, UINT, UINT_PTR nTimer, DWORD)
    {
        KillTimer(NULL, nTimer);
        s_hPopup = FindWindowW(L"#32768", NULL);
        GetWindowRect(s_hPopup, &s_rectPopup);
        s_hPopupMenu = (HMENU)SendMessageW(s_hPopup, 0x01E1, 0, 0);
        s_nSubclassed = CPaintedMenuHook::GetSubclassedWindowCount();
        CPaintedMenuHook::CMenuHookData* pData = CPaintedMenuHook::FindMenuHookData(s_hPopup);
        s_hBackground = pData != NULL ? pData->m_hBackground : NULL;
        s_nBackgroundType = GetObjectType(s_hBackground);
        s_screen = CaptureScreen(false);
        s_printed = Print(s_hPopup);
        EndMenu();
    }
};

class PaintedMenuWindowTest : public RunningMainFrame
{
protected:
    // Opens the bar's File menu as Alt+F does and takes the screen while it is open.
    void OpenFileMenuFromTheBar()
    {
        OpenPopupRecord::Clear();
        PostMessageW(Frame()->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, L'f');
        SetTimer(NULL, 0, 400, OpenPopupRecord::Capture);
        Pump();
    }
    // Opens a menu at a point of the screen as a context menu opens.
    void TrackMenu(HMENU hMenu, POINT pt)
    {
        OpenPopupRecord::Clear();
        SetTimer(NULL, 0, 400, OpenPopupRecord::Capture);
        TrackPopupMenu(hMenu, TPM_LEFTALIGN | TPM_TOPALIGN, pt.x, pt.y, 0, Frame()->m_hWnd, NULL);
        Pump();
    }
    static void ExpectReleased()
    {
        EXPECT_EQ(0, CPaintedMenuHook::GetSubclassedWindowCount());
        EXPECT_EQ(0, GlobalFindAtomW(L"OldMenuProc"));
    }
};

// How many pixels of the rectangle (screen) differ from the theme's shadow over the screen
// as it was before.
int CountOtherThanShadow(const cv::Mat& shown, const cv::Mat& before, const RECT& rectPopup,
                         const RECT& rect)
{
    const int w = rectPopup.right - rectPopup.left, t = rectPopup.bottom - rectPopup.top;
    int nCount = 0;
    for (int y = rect.top; y < rect.bottom; y++)
        for (int x = rect.left; x < rect.right; x++)
            if (PixelAt(shown, x, y) != MenuShadowPixel(PixelAt(before, x, y), x - rectPopup.left,
                                                        y - rectPopup.top, w, t))
                nCount++;
    return nCount;
}

}   // namespace

TEST(MenuWindowPainting, TheShadowDarkensTheScreenBehindInStepsTowardsTheCorners)
{
    const COLORREF crBack = RGB(200, 100, 50);
    const int w = 100, t = 60;
    const struct
    {
        int x;
        int y;
        int nAmount;   // how much darker; 0: the background itself
    } cases[] = {
        {50, 30, 0},        // inside the window
        {w - 1, 2, 0},      // the right shadow's first rows stay clear
        {w - 1, 4, 6},      {w - 1, 7, 24},  {w - 4, 5, 48},
        {w - 1, 30, 30},    {w - 4, 30, 120}, {w - 2, 8, 60},
        {w - 1, t - 4, 24}, {w - 1, t - 1, 6}, {w - 4, t - 1, 24}, {w - 4, t - 4, 96},
        {2, t - 1, 0},      // the bottom shadow's first columns stay clear
        {4, t - 1, 6},      {7, t - 4, 96},  {50, t - 1, 30},  {50, t - 4, 120},
        {w - 5, t - 2, 60},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DarkenColour(c.nAmount, crBack), MenuShadowPixel(crBack, c.x, c.y, w, t))
            << c.x << "," << c.y;

    // With a palette: two solid columns and rows of the shadow colour, the rest kept.
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
    const struct
    {
        int x;
        int y;
        bool bShadow;
    } palette[] = {
        {w - 1, 30, false}, {w - 2, 30, false}, {w - 3, 30, true}, {w - 4, 30, true},
        {w - 3, 3, false},  {w - 3, 4, true},   {w - 3, t - 3, true}, {w - 3, t - 2, false},
        {50, t - 3, true},  {50, t - 4, true},  {3, t - 3, false}, {4, t - 4, true},
        {50, t - 1, false}, {50, 30, false},
    };
    for (const auto& c : palette)
        EXPECT_EQ(c.bShadow ? crShadow : crBack, MenuShadowPixelPalette(crBack, c.x, c.y, w, t))
            << c.x << "," << c.y;
}

TEST(MenuWindowPainting, TheFrameBandFillsRoundTheInnerRectangleAndOneColumnIntoIt)
{
    const int cx = 20, cy = 16;
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    const RECT all = {0, 0, cx, cy};
    FillRect(hDC, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    const COLORREF crBand = RGB(10, 20, 30);
    const RECT outer = {1, 1, 19, 15}, inner = {3, 4, 17, 12};
    DrawFrameRect(hDC, outer, inner, crBand);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
        {
            const POINT pt = {x, y};
            // The right band starts at the inner rectangle's last column.
            const RECT kept = {inner.left, inner.top, inner.right - 1, inner.bottom};
            const bool bBand = PtInRect(&outer, pt) && !PtInRect(&kept, pt);
            EXPECT_EQ(bBand ? crBand : RGB(255, 255, 255), GetPixel(hDC, x, y)) << x << "," << y;
        }
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    ReleaseDC(NULL, hScreen);
}

TEST_F(PaintedMenuWindowTest, ABarPopupShowsTheThemesFrameShadowAndJointAndIsReleasedOnClosing)
{
    CMainFrame* pFrame = Frame();
    RECT rectFile;
    ASSERT_TRUE(GetMenuItemRect(pFrame->m_hWnd, pFrame->GetMenuBar().GetSafeHmenu(), 0,
                                &rectFile));
    SetCursorPos(600, 600);
    const cv::Mat before = CaptureScreen();
    OpenFileMenuFromTheBar();
    ASSERT_FALSE(OpenPopupRecord::s_screen.empty());
    const cv::Mat& shown = OpenPopupRecord::s_screen;
    KeepPicture(shown, L"painted-popup-bar.png");
    cv::Mat joint;
    cv::resize(shown(cv::Rect(OpenPopupRecord::s_rectPopup.left, rectFile.top, 80, 50)), joint,
               cv::Size(), 8, 8, cv::INTER_NEAREST);
    KeepPicture(joint, L"painted-popup-bar-joint.png");
    EXPECT_EQ(1, OpenPopupRecord::s_nSubclassed);
    ASSERT_EQ(::GetSubMenu(pFrame->GetMenuBar().GetSafeHmenu(), 0), OpenPopupRecord::s_hPopupMenu);
    ExpectReleased();
    EXPECT_EQ(0, pFrame->GetMenuBar().m_nOpenPopups);

    // The frame in the darkened menu colour, inside the room of the shadow (the system draws
    // none here), the text-area line inside it and the icon column reaching the frame.
    ASSERT_FALSE(GetDropShadowSetting());
    const RECT& r = OpenPopupRecord::s_rectPopup;
    const int w = r.right - r.left - 4, t = r.bottom - r.top - 4;
    const COLORREF crMenu = GetMenuColourOf(OpenPopupRecord::s_hPopupMenu);
    const COLORREF crBorder = DarkenColour(128, crMenu);
    COLORREF crTextArea, crColumn;
    HDC hScreen = GetDC(NULL);
    GetMenuAreaColours(hScreen, crMenu, crTextArea, crColumn);
    ReleaseDC(NULL, hScreen);
    EXPECT_EQ(0, CountOtherThan(shown, RECT{r.left, r.top + 1, r.left + 1, r.top + t}, crBorder));
    EXPECT_EQ(0, CountOtherThan(shown, RECT{r.left + w - 1, r.top, r.left + w, r.top + t},
                                crBorder));
    EXPECT_EQ(0, CountOtherThan(shown, RECT{r.left, r.top + t - 1, r.left + w, r.top + t},
                                crBorder));
    EXPECT_EQ(0, CountOtherThan(shown, RECT{r.left + 1, r.top + 2, r.left + 2, r.top + t - 2},
                                crColumn));
    EXPECT_EQ(0, CountOtherThan(shown, RECT{r.left + w - 2, r.top + 1, r.left + w - 1,
                                            r.top + t - 1},
                                crTextArea));

    // The shadow along the right and the bottom, from the screen behind the popup.
    EXPECT_EQ(0, CountOtherThanShadow(shown, before, r, RECT{r.right - 4, r.top, r.right,
                                                             r.bottom}));
    EXPECT_EQ(0, CountOtherThanShadow(shown, before, r, RECT{r.left, r.bottom - 4,
                                                             r.right - 4, r.bottom}));

    // The popup overlaps the open item by one row, painted in the open item's fill but for
    // the frame's corners.
    ASSERT_EQ(rectFile.bottom - 1, r.top);
    const COLORREF crJoint = MixColours14(GetMenuBarColour(NULL), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(0, CountOtherThan(shown, RECT{rectFile.left + 1, r.top, rectFile.right - 1,
                                            r.top + 1},
                                crJoint));
    EXPECT_EQ(crBorder, PixelAt(shown, rectFile.right, r.top));

    // Printed, the popup shows the same frame and icon column.
    const cv::Mat& printed = OpenPopupRecord::s_printed;
    ASSERT_EQ(r.bottom - r.top, printed.rows);
    KeepPicture(printed, L"painted-popup-printed.png");
    EXPECT_EQ(0, CountOtherThan(printed, RECT{0, 1, 1, t}, crBorder));
    EXPECT_EQ(0, CountOtherThan(printed, RECT{w - 1, 1, w, t}, crBorder));
    EXPECT_EQ(0, CountOtherThan(printed, RECT{1, 2, 2, t - 2}, crColumn));
    EXPECT_EQ(0, cv::norm(printed(cv::Rect(0, 1, w, t - 1)),
                          shown(cv::Rect(r.left, r.top + 1, w, t - 1)), cv::NORM_INF));
}

TEST_F(PaintedMenuWindowTest, APlainMenuIsLeftToTheSystemAndAPaintedOneIsThemedAndReleased)
{
    HMENU hMenu = CreatePopupMenu();
    AppendMenuW(hMenu, MF_STRING, 1001, L"First");
    AppendMenuW(hMenu, MF_STRING, 1002, L"Second");
    const POINT pt = {300, 300};
    TrackMenu(hMenu, pt);
    EXPECT_NE((HWND)NULL, OpenPopupRecord::s_hPopup);
    EXPECT_EQ(0, OpenPopupRecord::s_nSubclassed);
    ExpectReleased();

    // The File menu opened the same way is themed and released again, its copy of the
    // screen behind deleted with it.
    TrackMenu(::GetSubMenu(Frame()->GetMenuBar().GetSafeHmenu(), 0), pt);
    EXPECT_EQ(1, OpenPopupRecord::s_nSubclassed);
    EXPECT_EQ(OBJ_BITMAP, (int)OpenPopupRecord::s_nBackgroundType);
    EXPECT_EQ(0, (int)GetObjectType(OpenPopupRecord::s_hBackground));
    ExpectReleased();
    KeepPicture(OpenPopupRecord::s_screen, L"painted-popup-tracked.png");

    // The File menu's owner heard of it after its window was made: what it remembered then
    // does not theme the next plain menu.
    TrackMenu(hMenu, pt);
    EXPECT_EQ(0, OpenPopupRecord::s_nSubclassed);
    ExpectReleased();
    DestroyMenu(hMenu);
}

namespace
{
HMENU s_hCascadeMenu = NULL;
int s_nCascadeItem = 0;

void CALLBACK OpenSubMenu(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    KillTimer(NULL, nTimer);
    // The user moves the mouse onto the item that opens a menu, and clicks it.
    RECT rect;
    GetMenuItemRect(NULL, s_hCascadeMenu, s_nCascadeItem, &rect);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
    {
        input.type = INPUT_MOUSE;
        input.mi.dx = ((rect.left + rect.right) / 2) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
    SetTimer(NULL, 0, 400, OpenPopupRecord::Capture);
}
}

TEST_F(PaintedMenuWindowTest, ACascadeOfPopupsIsThemedWindowByWindowAndReleasedWhole)
{
    CMainFrame* pFrame = Frame();
    // The Mosaic menu's third item opens the display menu.
    HMENU hMosaic = ::GetSubMenu(pFrame->GetMenuBar().GetSafeHmenu(), 5);
    ASSERT_NE((HMENU)NULL, ::GetSubMenu(hMosaic, 2));
    s_hCascadeMenu = hMosaic;
    s_nCascadeItem = 2;
    OpenPopupRecord::Clear();
    PostMessageW(pFrame->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, L'm');
    SetTimer(NULL, 0, 400, OpenSubMenu);
    Pump();
    ASSERT_FALSE(OpenPopupRecord::s_screen.empty());
    KeepPicture(OpenPopupRecord::s_screen, L"painted-popup-cascade.png");
    EXPECT_EQ(2, OpenPopupRecord::s_nSubclassed);
    ExpectReleased();
    EXPECT_EQ(0, pFrame->GetMenuBar().m_nOpenPopups);
    EXPECT_EQ(0, CPaintedMenu::FromHandleOwned(hMosaic)->m_nOpenPopups);
}

namespace
{
// The states of the system menu's items while it is open, by command.
struct OpenSystemMenu
{
    static inline UINT s_states[5] = {};
    static inline cv::Mat s_screen;
    static inline const UINT s_commands[5] = {SC_RESTORE, SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE,
                                              SC_CLOSE};
    static inline HWND s_hFrame = NULL;

    static void CALLBACK Capture(HWND, UINT, UINT_PTR nTimer, DWORD)
    {
        KillTimer(NULL, nTimer);
        HMENU hSystem = GetSystemMenu(s_hFrame, FALSE);
        for (int i = 0; i < 5; i++)
            s_states[i] = GetMenuState(hSystem, s_commands[i], MF_BYCOMMAND);
        s_screen = CaptureScreen(false);
        EndMenu();
    }
};
}   // namespace

TEST_F(PaintedMenuWindowTest, TheShadowIsTakenFromTheWindowsUnderThePopupNotFromAStaleDisplay)
{
    // Right after a popup closes the display may still show it where the windows beneath
    // have not been sent to it again. Here the display shows red where the File popup's
    // shadow falls, while the main window under it is unchanged.
    CMainFrame* pFrame = Frame();
    SetCursorPos(600, 600);
    OpenFileMenuFromTheBar();
    ASSERT_FALSE(OpenPopupRecord::s_screen.empty());
    const RECT r = OpenPopupRecord::s_rectPopup;
    const cv::Mat before = CaptureScreen();
    HDC hScreen = GetDC(NULL);
    const RECT stale = {r.left, r.top, r.right + 10, r.bottom + 10};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hScreen, &stale, hRed);
    DeleteObject(hRed);
    ReleaseDC(NULL, hScreen);
    ASSERT_EQ(RGB(255, 0, 0), PixelAt(CaptureScreen(false), r.right - 1, r.bottom - 1));

    OpenFileMenuFromTheBar();
    ASSERT_FALSE(OpenPopupRecord::s_screen.empty());
    KeepPicture(OpenPopupRecord::s_screen, L"painted-popup-stale-display.png");
    ASSERT_TRUE(EqualRect(&r, &OpenPopupRecord::s_rectPopup));
    EXPECT_EQ(0, CountOtherThanShadow(OpenPopupRecord::s_screen, before, r,
                                      RECT{r.right - 4, r.top, r.right, r.bottom}));
    EXPECT_EQ(0, CountOtherThanShadow(OpenPopupRecord::s_screen, before, r,
                                      RECT{r.left, r.bottom - 4, r.right - 4, r.bottom}));
    pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

TEST_F(PaintedMenuWindowTest, TheSystemMenuShowsWhatTheWindowCanDo)
{
    CMainFrame* pFrame = Frame();
    OpenSystemMenu::s_hFrame = pFrame->m_hWnd;
    for (bool bMaximized : {true, false})
    {
        SCOPED_TRACE(bMaximized ? "maximized" : "restored");
        pFrame->ShowWindow(bMaximized ? SW_MAXIMIZE : SW_RESTORE);
        Pump();
        OpenSystemMenu::s_screen.release();
        PostMessageW(pFrame->m_hWnd, WM_SYSCOMMAND, SC_KEYMENU, L' ');
        SetTimer(NULL, 0, 400, OpenSystemMenu::Capture);
        Pump();
        ASSERT_FALSE(OpenSystemMenu::s_screen.empty());
        KeepPicture(OpenSystemMenu::s_screen,
                    bMaximized ? L"system-menu-maximized.png" : L"system-menu-restored.png");
        ExpectReleased();
        // Restore, Move, Minimize, Maximize, Close.
        const bool bEnabled[5] = {bMaximized, !bMaximized, true, !bMaximized, true};
        for (int i = 0; i < 5; i++)
        {
            ASSERT_NE((UINT)-1, OpenSystemMenu::s_states[i]) << i;
            EXPECT_EQ(!bEnabled[i], (OpenSystemMenu::s_states[i] & MF_GRAYED) != 0) << i;
        }
    }
}
