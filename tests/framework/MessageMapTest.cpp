// Message maps on real windows: the decoding of each handler's arguments, command routing
// through view, document, frame and application, CCmdUI on WM_INITMENUPOPUP, and
// notifications reflected to child controls.
#include "MosaicTest.h"

#include <commctrl.h>

#include "AfxWin.h"

namespace {

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// ---- Decoding -------------------------------------------------------------------------------

UINT g_nRegisteredMsg = RegisterWindowMessageW(L"MosaicMessageMapTest");

struct Call
{
    CString strHandler;
    UINT nArg1 = 0;
    UINT nArg2 = 0;
    UINT nArg3 = 0;
    CPoint point;
    CWnd* pWnd = NULL;
};

class CInputWnd : public CWnd
{
public:
    Call m_last;
    int m_nPaints = 0;
    CString m_strCreateName;
    BOOL m_bFailCreate = FALSE;

    BOOL CreateTopLevel()
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW)),
                        L"Input", WS_POPUP | WS_BORDER, 20, 20, 240, 160, NULL, NULL);
    }

protected:
    void Record(LPCTSTR lpszHandler, UINT n1, UINT n2, UINT n3, CPoint point, CWnd* pWnd)
    {
        m_last.strHandler = lpszHandler;
        m_last.nArg1 = n1;
        m_last.nArg2 = n2;
        m_last.nArg3 = n3;
        m_last.point = point;
        m_last.pWnd = pWnd;
    }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        m_strCreateName = lpCreateStruct->lpszName;
        return m_bFailCreate ? -1 : CWnd::OnCreate(lpCreateStruct);
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) { Record(L"LButtonDown", nFlags, 0, 0, point, NULL); }
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point) { Record(L"RButtonUp", nFlags, 0, 0, point, NULL); }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) { Record(L"MouseMove", nFlags, 0, 0, point, NULL); }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        Record(L"MouseWheel", nFlags, (UINT)(int)zDelta, 0, pt, NULL);
        return TRUE;
    }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos) { Record(L"ContextMenu", 0, 0, 0, pos, pWnd); }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
    {
        Record(L"SetCursor", nHitTest, message, 0, CPoint(), pWnd);
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Record(L"KeyDown", nChar, nRepCnt, nFlags, CPoint(), NULL); }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Record(L"Char", nChar, nRepCnt, nFlags, CPoint(), NULL); }
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
    {
        Record(L"HScroll", nSBCode, nPos, 0, CPoint(), reinterpret_cast<CWnd*>(pScrollBar));
    }
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
    {
        Record(L"VScroll", nSBCode, nPos, 0, CPoint(), reinterpret_cast<CWnd*>(pScrollBar));
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Record(L"Size", nType, (UINT)cx, (UINT)cy, CPoint(), NULL); }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        Record(L"Timer", (UINT)nIDEvent, 0, 0, CPoint(), NULL);
    }
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(10, 200, 30));
        m_nPaints++;
    }
    afx_msg LRESULT OnAppMessage(WPARAM wParam, LPARAM lParam)
    {
        const MSG* pMsg = GetCurrentMessage();
        if (pMsg->message != WM_APP + 1 || pMsg->hwnd != m_hWnd || pMsg->lParam != lParam)
            return -1;
        return (LRESULT)(wParam * 1000 + lParam);
    }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)(wParam + 1); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInputWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_CONTEXTMENU()
    ON_WM_SETCURSOR()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_MESSAGE(WM_APP + 1, OnAppMessage)
    ON_REGISTERED_MESSAGE(g_nRegisteredMsg, OnRegistered)
END_MESSAGE_MAP()

class MessageMapInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateTopLevel());
        // Shown without activation: a window left to the window manager takes seconds to go.
        m_wnd.ShowWindow(SW_SHOWNA);
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        PumpPending();
    }
    CInputWnd m_wnd;
};

TEST_F(MessageMapInput, MouseMessagesDecodeFlagsAndSignedPoints)
{
    struct Case
    {
        UINT message;
        WPARAM wParam;
        short x, y;
        LPCTSTR lpszHandler;
    };
    const Case cases[] = {
        { WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 12, 34, L"LButtonDown" },
        { WM_RBUTTONUP, MK_CONTROL, -5, 300, L"RButtonUp" },   // left of the client area
        { WM_MOUSEMOVE, 0, 7, -2, L"MouseMove" },
    };
    for (const Case& c : cases)
    {
        m_wnd.SendMessage(c.message, c.wParam, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(m_wnd.m_last.strHandler, CString(c.lpszHandler));
        EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)c.wParam) << c.message;
        EXPECT_EQ(m_wnd.m_last.point, CPoint(c.x, c.y)) << c.message;
    }

    m_wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)(short)-240), MAKELPARAM(100, 200));
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"MouseWheel"));
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)MK_CONTROL);
    EXPECT_EQ((int)m_wnd.m_last.nArg2, -240);
    EXPECT_EQ(m_wnd.m_last.point, CPoint(100, 200));

    // The keyboard's context menu comes with (-1, -1).
    m_wnd.SendMessage(WM_CONTEXTMENU, (WPARAM)m_wnd.m_hWnd, MAKELPARAM(-1, -1));
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"ContextMenu"));
    EXPECT_EQ(m_wnd.m_last.pWnd, &m_wnd);
    EXPECT_EQ(m_wnd.m_last.point, CPoint(-1, -1));

    EXPECT_EQ(m_wnd.SendMessage(WM_SETCURSOR, (WPARAM)m_wnd.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)HTCLIENT);
    EXPECT_EQ(m_wnd.m_last.nArg2, (UINT)WM_MOUSEMOVE);
}

TEST_F(MessageMapInput, PostedKeysArriveWithRepeatCountAndFlags)
{
    // Repeat count 3, scan code 0x4B, extended key.
    LPARAM lKeyData = 3 | (0x4B << 16) | (1 << 24);
    ASSERT_TRUE(m_wnd.PostMessage(WM_KEYDOWN, VK_LEFT, lKeyData));
    PumpPending();
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"KeyDown"));
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)VK_LEFT);
    EXPECT_EQ(m_wnd.m_last.nArg2, 3u);
    EXPECT_EQ(m_wnd.m_last.nArg3, 0x14Bu);

    m_wnd.SendMessage(WM_CHAR, L'\x00E9', 1 | (0x12 << 16));
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"Char"));
    EXPECT_EQ(m_wnd.m_last.nArg1, 0xE9u);
    EXPECT_EQ(m_wnd.m_last.nArg3, 0x12u);
}

TEST_F(MessageMapInput, ScrollMessagesNameTheScrollBarControl)
{
    m_wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1234), 0);
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"HScroll"));
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)SB_THUMBTRACK);
    EXPECT_EQ(m_wnd.m_last.nArg2, 1234u);
    EXPECT_EQ(m_wnd.m_last.pWnd, nullptr);   // the window's own scroll bar

    HWND hBar = CreateWindowExW(0, L"SCROLLBAR", NULL, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 16,
                                100, m_wnd.m_hWnd, (HMENU)7, GetModuleHandleW(NULL), NULL);
    ASSERT_NE(hBar, nullptr);
    m_wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)hBar);
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"VScroll"));
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)SB_LINEDOWN);
    ASSERT_NE(m_wnd.m_last.pWnd, nullptr);
    EXPECT_EQ(m_wnd.m_last.pWnd->m_hWnd, hBar);
}

TEST_F(MessageMapInput, SizeTimerAndPaintReachTheirHandlers)
{
    m_wnd.MoveWindow(20, 20, 300, 200);
    CRect rc;
    m_wnd.GetClientRect(&rc);
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"Size"));
    EXPECT_EQ(m_wnd.m_last.nArg1, (UINT)SIZE_RESTORED);
    EXPECT_EQ((int)m_wnd.m_last.nArg2, rc.Width());
    EXPECT_EQ((int)m_wnd.m_last.nArg3, rc.Height());

    m_wnd.SetTimer(77, 1);
    for (int i = 0; i < 200 && m_wnd.m_last.strHandler != L"Timer"; i++)
    {
        Sleep(5);
        PumpPending();
    }
    EXPECT_EQ(m_wnd.m_last.strHandler, CString(L"Timer"));
    EXPECT_EQ(m_wnd.m_last.nArg1, 77u);

    int nPaints = m_wnd.m_nPaints;
    m_wnd.Invalidate();
    m_wnd.UpdateWindow();
    EXPECT_EQ(m_wnd.m_nPaints, nPaints + 1);
    CClientDC dc(&m_wnd);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(10, 200, 30));
    EXPECT_EQ(dc.GetPixel(rc.Width() - 2, rc.Height() - 2), RGB(10, 200, 30));
}

TEST_F(MessageMapInput, MessageHandlersReturnTheirResults)
{
    EXPECT_EQ(m_wnd.SendMessage(WM_APP + 1, 4, 56), 4056);
    EXPECT_EQ(m_wnd.SendMessage(g_nRegisteredMsg, 41, 0), 42);
    // Unmapped messages get the default procedure.
    m_wnd.SendMessage(WM_SETTEXT, 0, (LPARAM)L"Renamed");
    CString strText;
    m_wnd.GetWindowText(strText);
    EXPECT_EQ(strText, CString(L"Renamed"));
}

TEST(MessageMap, CreationSeesWmCreateAndFailsWhenItReturnsMinusOne)
{
    CInputWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    EXPECT_EQ(wnd.m_strCreateName, CString(L"Input"));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);

    CInputWnd failing;
    failing.m_bFailCreate = TRUE;
    EXPECT_FALSE(failing.CreateTopLevel());
    EXPECT_EQ(failing.m_hWnd, nullptr);
    EXPECT_EQ(failing.m_strCreateName, CString(L"Input"));
}

// Every other window-message entry, recording its decoded arguments.
class CAllEntriesWnd : public CWnd
{
public:
    UINT m_nMessage = 0;
    UINT_PTR m_a = 0;
    UINT_PTR m_b = 0;
    UINT_PTR m_c = 0;

protected:
    void Record(UINT nMessage, UINT_PTR a = 0, UINT_PTR b = 0, UINT_PTR c = 0)
    {
        m_nMessage = nMessage;
        m_a = a;
        m_b = b;
        m_c = c;
    }
    afx_msg void OnClose() { Record(WM_CLOSE); }
    afx_msg void OnNcPaint() { Record(WM_NCPAINT); }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        Record(WM_ERASEBKGND, (UINT_PTR)pDC->GetSafeHdc());
        return TRUE;
    }
    afx_msg void OnSysColorChange() { Record(WM_SYSCOLORCHANGE); }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Record(WM_SHOWWINDOW, bShow, nStatus); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos) { Record(WM_WINDOWPOSCHANGING, lpwndpos->x, lpwndpos->cy); }
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos) { Record(WM_WINDOWPOSCHANGED, lpwndpos->y); }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        Record(WM_ACTIVATE, nState, (UINT_PTR)pWndOther->GetSafeHwnd(), bMinimized);
    }
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) { Record(WM_ACTIVATEAPP, bActive, dwThreadID); }
    afx_msg LRESULT OnNcHitTest(CPoint point)
    {
        Record(WM_NCHITTEST, (UINT_PTR)(INT_PTR)point.x, (UINT_PTR)(INT_PTR)point.y);
        return HTCAPTION;
    }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) { Record(WM_SYSCOMMAND, nID, (UINT_PTR)lParam); }
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd) { Record(WM_PALETTECHANGED, (UINT_PTR)pFocusWnd->GetSafeHwnd()); }
    afx_msg void OnCaptureChanged(CWnd* pWnd) { Record(WM_CAPTURECHANGED, (UINT_PTR)pWnd->GetSafeHwnd()); }
    afx_msg void OnSetFocus(CWnd* pOldWnd) { Record(WM_SETFOCUS, (UINT_PTR)pOldWnd->GetSafeHwnd()); }
    afx_msg void OnKillFocus(CWnd* pNewWnd) { Record(WM_KILLFOCUS, (UINT_PTR)pNewWnd->GetSafeHwnd()); }
    afx_msg UINT OnGetDlgCode()
    {
        Record(WM_GETDLGCODE);
        return DLGC_WANTALLKEYS;
    }
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu) { Record(WM_ENTERMENULOOP, bIsTrackPopupMenu); }
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu) { Record(WM_EXITMENULOOP, bIsTrackPopupMenu); }
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
    {
        Record(WM_MENUCHAR, nChar, nFlags, (UINT_PTR)pMenu->GetSafeHmenu());
        return MAKELRESULT(2, MNC_EXECUTE);
    }
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) { Record(WM_KEYUP, nChar, nRepCnt, nFlags); }
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Record(WM_SYSKEYDOWN, nChar, nRepCnt, nFlags); }
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point) { Record(WM_LBUTTONUP, nFlags, (UINT_PTR)point.x, (UINT_PTR)point.y); }
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point) { Record(WM_LBUTTONDBLCLK, nFlags, (UINT_PTR)point.x, (UINT_PTR)point.y); }
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point) { Record(WM_RBUTTONDOWN, nFlags, (UINT_PTR)point.x, (UINT_PTR)point.y); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAllEntriesWnd, CWnd)
    ON_WM_CLOSE()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_NCHITTEST()
    ON_WM_SYSCOMMAND()
    ON_WM_PALETTECHANGED()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_MENUCHAR()
    ON_WM_KEYUP()
    ON_WM_SYSKEYDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

TEST(MessageMap, EveryWindowMessageEntryDecodesItsArguments)
{
    CAllEntriesWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"All", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    HWND hOther = GetDesktopWindow();
    HMENU hMenu = CreatePopupMenu();
    HDC hdc = GetDC(wnd.m_hWnd);
    WINDOWPOS pos = {};
    pos.x = 11;
    pos.y = 22;
    pos.cy = 33;

    struct Case
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        UINT_PTR a, b, c;
        LRESULT lResult;
    };
    const Case cases[] = {
        { WM_CLOSE, 0, 0, 0, 0, 0, 0 },
        { WM_NCPAINT, 1, 0, 0, 0, 0, 0 },
        { WM_ERASEBKGND, (WPARAM)hdc, 0, (UINT_PTR)hdc, 0, 0, TRUE },
        { WM_SYSCOLORCHANGE, 0, 0, 0, 0, 0, 0 },
        { WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, TRUE, SW_PARENTOPENING, 0, 0 },
        { WM_WINDOWPOSCHANGING, 0, (LPARAM)&pos, 11, 33, 0, 0 },
        { WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos, 22, 0, 0, 0 },
        { WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), (LPARAM)hOther, WA_CLICKACTIVE, (UINT_PTR)hOther, 1, 0 },
        { WM_ACTIVATEAPP, TRUE, 1234, TRUE, 1234, 0, 0 },
        { WM_NCHITTEST, 0, MAKELPARAM(-3, 40), (UINT_PTR)(INT_PTR)-3, 40, 0, HTCAPTION },
        { WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(5, 6), SC_CLOSE, MAKELPARAM(5, 6), 0, 0 },
        { WM_PALETTECHANGED, (WPARAM)hOther, 0, (UINT_PTR)hOther, 0, 0, 0 },
        { WM_CAPTURECHANGED, 0, (LPARAM)hOther, (UINT_PTR)hOther, 0, 0, 0 },
        { WM_SETFOCUS, (WPARAM)hOther, 0, (UINT_PTR)hOther, 0, 0, 0 },
        { WM_KILLFOCUS, 0, 0, 0, 0, 0, 0 },
        { WM_GETDLGCODE, 0, 0, 0, 0, 0, DLGC_WANTALLKEYS },
        { WM_ENTERMENULOOP, TRUE, 0, TRUE, 0, 0, 0 },
        { WM_EXITMENULOOP, FALSE, 0, FALSE, 0, 0, 0 },
        { WM_MENUCHAR, MAKEWPARAM(L'f', MF_POPUP), (LPARAM)hMenu, L'f', MF_POPUP, (UINT_PTR)hMenu,
          MAKELRESULT(2, MNC_EXECUTE) },
        { WM_KEYUP, VK_ESCAPE, 1 | (0x01 << 16) | (3u << 30), VK_ESCAPE, 1, 0xC001, 0 },
        { WM_SYSKEYDOWN, VK_F10, 2 | (1 << 29), VK_F10, 2, 0x2000, 0 },
        { WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(8, 9), MK_SHIFT, 8, 9, 0 },
        { WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2), MK_LBUTTON, 1, 2, 0 },
        { WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4), MK_RBUTTON, 3, 4, 0 },
    };
    for (const Case& c : cases)
    {
        wnd.m_nMessage = 0;
        wnd.m_a = wnd.m_b = wnd.m_c = 0xDEAD;
        EXPECT_EQ(wnd.SendMessage(c.message, c.wParam, c.lParam), c.lResult) << std::hex << c.message;
        EXPECT_EQ(wnd.m_nMessage, c.message) << std::hex << c.message;
        EXPECT_EQ(wnd.m_a, c.a) << std::hex << c.message;
        EXPECT_EQ(wnd.m_b, c.b) << std::hex << c.message;
        EXPECT_EQ(wnd.m_c, c.c) << std::hex << c.message;
    }
    EXPECT_TRUE(IsWindow(wnd.m_hWnd));   // the WM_CLOSE handler did not close it
    ReleaseDC(wnd.m_hWnd, hdc);
    DestroyMenu(hMenu);
    AfxDeleteTempMaps();
}

// ---- Inheritance of maps, and maps of class templates --------------------------------------

class CBaseWnd : public CWnd
{
public:
    CString m_strLog;

protected:
    afx_msg void OnLButtonDown(UINT, CPoint) { m_strLog += L"base-down "; }
    afx_msg void OnLButtonUp(UINT, CPoint) { m_strLog += L"base-up "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_strLog += L"derived-down ";
        CBaseWnd::OnLButtonDown(nFlags, point);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

template <class BASE>
class CCountingWnd : public BASE
{
public:
    int m_nDoubleClicks = 0;

protected:
    afx_msg void OnLButtonDblClk(UINT, CPoint) { m_nDoubleClicks++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CCountingWnd, BASE, BASE)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

TEST(MessageMap, DerivedMapsComeFirstAndFallBackToTheirBases)
{
    CCountingWnd<CDerivedWnd> wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Derived", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    wnd.SendMessage(WM_LBUTTONDOWN, 0, 0);
    wnd.SendMessage(WM_LBUTTONUP, 0, 0);
    wnd.SendMessage(WM_LBUTTONDBLCLK, 0, 0);
    wnd.SendMessage(WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(wnd.m_strLog, CString(L"derived-down base-down base-up "));
    EXPECT_EQ(wnd.m_nDoubleClicks, 2);

    // The same message in a sibling class goes to that class's handler (the lookup cache is
    // per map, not per message).
    CBaseWnd base;
    ASSERT_TRUE(base.CreateEx(0, NULL, L"Base", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    base.SendMessage(WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(base.m_strLog, CString(L"base-down "));
    wnd.SendMessage(WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(wnd.m_strLog, CString(L"derived-down base-down base-up derived-down base-down "));
}

// ---- Command routing --------------------------------------------------------------------------

CString g_strRoute;

const UINT ID_ALL = 1001;         // every target handles it
const UINT ID_DOC_UP = 1002;      // document, frame and application
const UINT ID_FRAME_UP = 1003;    // frame and application
const UINT ID_APP_ONLY = 1004;
const UINT ID_NOBODY = 1005;
const UINT ID_DISABLED = 1006;    // handled by the view, disabled by the document
const UINT ID_PASSED_ON = 1007;   // the view's update handler continues the routing
const UINT ID_RANGE_FIRST = 1010;
const UINT ID_RANGE_LAST = 1019;

class CRouteDoc : public CCmdTarget
{
protected:
    afx_msg void OnAll() { g_strRoute += L"doc "; }
    afx_msg void OnDocUp() { g_strRoute += L"doc "; }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdatePassedOn(CCmdUI* pCmdUI) { pCmdUI->SetText(L"doc"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteDoc, CCmdTarget)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DOC_UP, OnDocUp)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_PASSED_ON, OnUpdatePassedOn)
END_MESSAGE_MAP()

// A view routes to itself, then to its document.
class CRouteView : public CWnd
{
public:
    CRouteDoc* m_pDocument = NULL;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return m_pDocument != NULL && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    afx_msg void OnAll() { g_strRoute += L"view "; }
    afx_msg void OnDisabled() { g_strRoute += L"view-disabled "; }
    afx_msg void OnUpdatePassedOn(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }
    afx_msg void OnRange(UINT nID)
    {
        CString strId;
        strId.Format(L"range%u ", nID);
        g_strRoute += strId;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteView, CWnd)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_PASSED_ON, OnUpdatePassedOn)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
END_MESSAGE_MAP()

class CRouteApp : public CCmdTarget
{
protected:
    afx_msg void OnAny() { g_strRoute += L"app "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteApp, CCmdTarget)
    ON_COMMAND(ID_ALL, OnAny)
    ON_COMMAND(ID_DOC_UP, OnAny)
    ON_COMMAND(ID_FRAME_UP, OnAny)
    ON_COMMAND(ID_APP_ONLY, OnAny)
END_MESSAGE_MAP()

// A frame routes to its active view, then to itself, then to the application.
class CRouteFrame : public CWnd
{
public:
    CRouteView* m_pActiveView = NULL;
    CRouteApp* m_pApp = NULL;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (m_pActiveView != NULL && m_pActiveView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return m_pApp != NULL && m_pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    afx_msg void OnAll() { g_strRoute += L"frame "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteFrame, CWnd)
    ON_COMMAND(ID_ALL, OnAll)
    ON_COMMAND(ID_DOC_UP, OnAll)
    ON_COMMAND(ID_FRAME_UP, OnAll)
END_MESSAGE_MAP()

class CommandRouting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.CreateEx(0, NULL, L"Frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                     NULL, NULL));
        ASSERT_TRUE(m_view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 100, 100), &m_frame, 1));
        m_view.m_pDocument = &m_doc;
        m_frame.m_pActiveView = &m_view;
        m_frame.m_pApp = &m_app;
    }

    // A menu command as the frame receives it; the route it took.
    CString Command(UINT nID)
    {
        g_strRoute.Empty();
        m_frame.SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        return g_strRoute;
    }

    CRouteDoc m_doc;
    CRouteApp m_app;
    CRouteFrame m_frame;
    CRouteView m_view;
};

TEST_F(CommandRouting, FirstHandlerInViewDocumentFrameApplicationOrderWins)
{
    EXPECT_EQ(Command(ID_ALL), CString(L"view "));
    EXPECT_EQ(Command(ID_DOC_UP), CString(L"doc "));
    EXPECT_EQ(Command(ID_FRAME_UP), CString(L"frame "));
    EXPECT_EQ(Command(ID_APP_ONLY), CString(L"app "));
    EXPECT_EQ(Command(ID_NOBODY), CString(L""));
    EXPECT_EQ(Command(ID_RANGE_FIRST), CString(L"range1010 "));
    EXPECT_EQ(Command(ID_RANGE_LAST), CString(L"range1019 "));
    EXPECT_EQ(Command(ID_RANGE_LAST + 1), CString(L""));
}

TEST_F(CommandRouting, CommandDisabledByItsUpdateHandlerIsDropped)
{
    EXPECT_EQ(Command(ID_DISABLED), CString(L""));
    // Asked directly, the view still has the handler.
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(m_frame.OnCmdMsg(ID_DISABLED, CN_COMMAND, NULL, &info));
    EXPECT_EQ(info.pTarget, &m_view);
}

// Records what update handlers set, as a toolbar button or menu item would show it.
class CRecordingCmdUI : public CCmdUI
{
public:
    int m_nEnabled = -1;   // -1: not set
    CString m_strText;
    void Enable(BOOL bOn) override
    {
        m_nEnabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(LPCTSTR lpszText) override { m_strText = lpszText; }
};

TEST_F(CommandRouting, UpdateHandlersRouteLikeCommandsAndAutoDisableUnhandledOnes)
{
    // The view's update handler passes the update on; the document's sets the text.
    CRecordingCmdUI passed;
    passed.m_nID = ID_PASSED_ON;
    EXPECT_TRUE(passed.DoUpdate(&m_frame, FALSE));
    EXPECT_EQ(passed.m_strText, CString(L"doc"));

    // With automatic disabling: a command handler anywhere on the route enables the item.
    CRecordingCmdUI handled;
    handled.m_nID = ID_APP_ONLY;
    EXPECT_FALSE(handled.DoUpdate(&m_frame, TRUE));
    EXPECT_EQ(handled.m_nEnabled, 1);
    CRecordingCmdUI unhandled;
    unhandled.m_nID = ID_NOBODY;
    unhandled.DoUpdate(&m_frame, TRUE);
    EXPECT_EQ(unhandled.m_nEnabled, 0);
    CRecordingCmdUI notAuto;
    notAuto.m_nID = ID_NOBODY;
    notAuto.DoUpdate(&m_frame, FALSE);
    EXPECT_EQ(notAuto.m_nEnabled, -1);
    // The update handler's choice holds even though a command handler exists.
    CRecordingCmdUI disabled;
    disabled.m_nID = ID_DISABLED;
    EXPECT_TRUE(disabled.DoUpdate(&m_frame, TRUE));
    EXPECT_EQ(disabled.m_nEnabled, 0);
}

// A notification handler of the _EX kind returns FALSE to leave the notification to the
// next command target.
class CNotifyExView : public CWnd
{
public:
    BOOL m_bHandle = TRUE;

protected:
    afx_msg BOOL OnDoubleClick(UINT nID, NMHDR*, LRESULT* pResult)
    {
        CString strCall;
        strCall.Format(L"view%u ", nID);
        g_strRoute += strCall;
        *pResult = 11;
        return m_bHandle;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyExView, CWnd)
    ON_NOTIFY_EX(NM_DBLCLK, 7, OnDoubleClick)
END_MESSAGE_MAP()

class CNotifyExFrame : public CWnd
{
public:
    CNotifyExView* m_pView = NULL;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        return m_pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ||
               CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    afx_msg BOOL OnDoubleClickRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        CString strCall;
        strCall.Format(L"frame%u ", nID);
        g_strRoute += strCall;
        *pResult = 22;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyExFrame, CWnd)
    ON_NOTIFY_EX_RANGE(NM_DBLCLK, 5, 9, OnDoubleClickRange)
END_MESSAGE_MAP()

TEST(MessageMap, NotifyExHandlersLeaveWhatTheyRefuseToTheNextTarget)
{
    CNotifyExFrame frame;
    CNotifyExView view;
    ASSERT_TRUE(frame.CreateEx(0, NULL, L"Frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
    frame.m_pView = &view;
    auto Notify = [&](UINT nID, LRESULT* plResult) {
        g_strRoute.Empty();
        NMHDR hdr = { view.m_hWnd, nID, (UINT)NM_DBLCLK };
        *plResult = frame.SendMessage(WM_NOTIFY, nID, (LPARAM)&hdr);
        return g_strRoute;
    };
    LRESULT lResult;
    EXPECT_EQ(Notify(7, &lResult), CString(L"view7 "));
    EXPECT_EQ(lResult, 11);
    view.m_bHandle = FALSE;
    EXPECT_EQ(Notify(7, &lResult), CString(L"view7 frame7 "));
    EXPECT_EQ(lResult, 22);
    EXPECT_EQ(Notify(5, &lResult), CString(L"frame5 "));
    EXPECT_EQ(Notify(10, &lResult), CString(L""));
    EXPECT_EQ(lResult, 0);
}

// ---- CCmdUI on WM_INITMENUPOPUP ---------------------------------------------------------------

const UINT ID_GREY = 2001;
const UINT ID_CHECK = 2002;
const UINT ID_RENAME = 2003;
const UINT ID_PLAIN = 2004;
const UINT ID_RADIO_FIRST = 2010;
const UINT ID_RADIO_LAST = 2012;
const UINT ID_SUB_FIRST = 2020;

class CMenuWnd : public CWnd
{
protected:
    afx_msg void OnUpdateGrey(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateRename(CCmdUI* pCmdUI)
    {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText(L"&Renamed");
    }
    afx_msg void OnUpdateRadio(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == ID_RADIO_FIRST + 1); }
    // Would grey the popup item that opens the sub-menu, which CCmdUI leaves alone.
    afx_msg void OnUpdateSub(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuWnd, CWnd)
    ON_UPDATE_COMMAND_UI(ID_GREY, OnUpdateGrey)
    ON_UPDATE_COMMAND_UI(ID_CHECK, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(ID_RENAME, OnUpdateRename)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RADIO_FIRST, ID_RADIO_LAST, OnUpdateRadio)
    ON_UPDATE_COMMAND_UI(ID_SUB_FIRST, OnUpdateSub)
END_MESSAGE_MAP()

TEST(CmdUI, InitMenuPopupGreysChecksRenamesAndMarksRadioItems)
{
    HMENU hBar = CreateMenu();
    HMENU hPopup = CreatePopupMenu();
    HMENU hSub = CreatePopupMenu();
    AppendMenuW(hSub, MF_STRING, ID_SUB_FIRST, L"Sub");
    AppendMenuW(hPopup, MF_STRING, ID_GREY, L"Grey");
    AppendMenuW(hPopup, MF_STRING, ID_CHECK, L"Check");
    AppendMenuW(hPopup, MF_SEPARATOR, 0, NULL);
    AppendMenuW(hPopup, MF_STRING | MF_GRAYED, ID_RENAME, L"Rename");
    AppendMenuW(hPopup, MF_STRING, ID_PLAIN, L"Plain");
    for (UINT nID = ID_RADIO_FIRST; nID <= ID_RADIO_LAST; nID++)
        AppendMenuW(hPopup, MF_STRING, nID, L"Radio");
    AppendMenuW(hPopup, MF_POPUP, (UINT_PTR)hSub, L"More");
    AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hPopup, L"&Menu");

    CMenuWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Menus", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, hBar));
    wnd.SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, MAKELPARAM(0, FALSE));

    EXPECT_TRUE(GetMenuState(hPopup, ID_GREY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(hPopup, ID_CHECK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(hPopup, ID_CHECK, MF_BYCOMMAND) & MF_GRAYED);
    // SetText keeps the state: still greyed, now checked.
    UINT nRenamed = GetMenuState(hPopup, ID_RENAME, MF_BYCOMMAND);
    EXPECT_TRUE(nRenamed & MF_GRAYED);
    EXPECT_TRUE(nRenamed & MF_CHECKED);
    WCHAR szText[32] = {};
    GetMenuStringW(hPopup, ID_RENAME, szText, ARRAYSIZE(szText), MF_BYCOMMAND);
    EXPECT_EQ(CString(szText), CString(L"&Renamed"));
    // No handler: untouched (a plain window does not disable unhandled items).
    EXPECT_EQ(GetMenuState(hPopup, ID_PLAIN, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), 0u);

    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    for (UINT nID = ID_RADIO_FIRST; nID <= ID_RADIO_LAST; nID++)
    {
        ASSERT_TRUE(GetMenuItemInfoW(hPopup, nID, FALSE, &info));
        BOOL bOn = nID == ID_RADIO_FIRST + 1;
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, bOn) << nID;
        EXPECT_EQ((info.fType & MFT_RADIOCHECK) != 0, bOn) << nID;
    }
    // The popup item that opens the sub-menu stays enabled.
    int nLast = GetMenuItemCount(hPopup) - 1;
    EXPECT_EQ(GetMenuState(hPopup, nLast, MF_BYPOSITION) & MF_GRAYED, 0u);

    wnd.DestroyWindow();   // destroys the menu bar with it
}

// ---- Reflection to child controls -------------------------------------------------------------

const UINT ID_REFLECTING = 3001;
const UINT ID_PLAIN_BUTTON = 3002;
const int kReflectedDrawResult = 0x5A;

class CReflectingButton : public CWnd
{
public:
    int m_nClicks = 0;
    int m_nNotifies = 0;
    int m_nDraws = 0;
    HBRUSH m_hbr = NULL;

protected:
    afx_msg void OnReflectedClick() { m_nClicks++; }
    afx_msg void OnReflectedNotify(NMHDR*, LRESULT* pResult)
    {
        m_nNotifies++;
        *pResult = 7;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT) { return m_hbr; }
    afx_msg LRESULT OnReflectedDrawItem(WPARAM, LPARAM lParam)
    {
        m_nDraws += ((LPDRAWITEMSTRUCT)lParam)->CtlID == ID_REFLECTING;
        return kReflectedDrawResult;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_CLICK, OnReflectedNotify)
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_REFLECT_BASE + WM_DRAWITEM, OnReflectedDrawItem)
END_MESSAGE_MAP()

class CDialogLikeWnd : public CWnd
{
public:
    CString m_strLog;

protected:
    afx_msg void OnReflectingClicked() { m_strLog += L"parent-reflecting "; }
    afx_msg void OnPlainClicked() { m_strLog += L"parent-plain "; }
    afx_msg void OnNotifyRange(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
    {
        CString strEntry;
        strEntry.Format(L"notify%u:%d ", nID, (int)pNMHDR->code);
        m_strLog += strEntry;
        *pResult = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDialogLikeWnd, CWnd)
    ON_BN_CLICKED(ID_REFLECTING, OnReflectingClicked)
    ON_BN_CLICKED(ID_PLAIN_BUTTON, OnPlainClicked)
    ON_NOTIFY_RANGE(NM_CLICK, ID_REFLECTING, ID_PLAIN_BUTTON, OnNotifyRange)
END_MESSAGE_MAP()

class Reflection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, L"Parent", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
        m_parent.ShowWindow(SW_SHOWNA);
        HINSTANCE hInst = GetModuleHandleW(NULL);
        m_hReflecting = CreateWindowExW(0, L"BUTTON", L"A", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24,
                                        m_parent.m_hWnd, (HMENU)(UINT_PTR)ID_REFLECTING, hInst, NULL);
        m_hPlain = CreateWindowExW(0, L"BUTTON", L"B", WS_CHILD | WS_VISIBLE, 10, 40, 80, 24,
                                   m_parent.m_hWnd, (HMENU)(UINT_PTR)ID_PLAIN_BUTTON, hInst, NULL);
        ASSERT_TRUE(m_button.SubclassDlgItem(ID_REFLECTING, &m_parent));
    }

    LRESULT Notify(HWND hFrom, UINT nID)
    {
        NMHDR hdr = {};
        hdr.hwndFrom = hFrom;
        hdr.idFrom = nID;
        hdr.code = (UINT)NM_CLICK;
        return m_parent.SendMessage(WM_NOTIFY, nID, (LPARAM)&hdr);
    }

    CDialogLikeWnd m_parent;
    CReflectingButton m_button;
    HWND m_hReflecting = NULL;
    HWND m_hPlain = NULL;
};

TEST_F(Reflection, ControlHandlesItsOwnNotificationsBeforeItsParent)
{
    EXPECT_EQ(m_button.m_hWnd, m_hReflecting);
    // A real click of the subclassed button: BN_CLICKED goes back to the button.
    SendMessageW(m_hReflecting, BM_CLICK, 0, 0);
    PumpPending();
    EXPECT_EQ(m_button.m_nClicks, 1);
    SendMessageW(m_hPlain, BM_CLICK, 0, 0);
    PumpPending();
    EXPECT_EQ(m_parent.m_strLog, CString(L"parent-plain "));

    EXPECT_EQ(Notify(m_hReflecting, ID_REFLECTING), 7);
    EXPECT_EQ(m_button.m_nNotifies, 1);
    EXPECT_EQ(Notify(m_hPlain, ID_PLAIN_BUTTON), 9);
    CString strExpected;
    strExpected.Format(L"parent-plain notify%u:%d ", ID_PLAIN_BUTTON, (int)NM_CLICK);
    EXPECT_EQ(m_parent.m_strLog, strExpected);
}

TEST_F(Reflection, ControlColoursAndOwnerDrawingAreReflected)
{
    HDC hdc = GetDC(m_parent.m_hWnd);
    m_button.m_hbr = (HBRUSH)GetStockObject(BLACK_BRUSH);
    EXPECT_EQ((HBRUSH)m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)m_hReflecting),
              m_button.m_hbr);
    // No brush of its own: the parent's default colours.
    m_button.m_hbr = NULL;
    HBRUSH hbrDefault = (HBRUSH)m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hdc, (LPARAM)m_hReflecting);
    EXPECT_NE(hbrDefault, nullptr);
    EXPECT_NE(hbrDefault, (HBRUSH)GetStockObject(BLACK_BRUSH));
    ReleaseDC(m_parent.m_hWnd, hdc);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = ID_REFLECTING;
    dis.hwndItem = m_hReflecting;
    EXPECT_EQ(m_parent.SendMessage(WM_DRAWITEM, ID_REFLECTING, (LPARAM)&dis), TRUE);
    EXPECT_EQ(m_button.m_nDraws, 1);
}

TEST_F(Reflection, UnsubclassingGivesTheControlBackItsProcedure)
{
    WNDPROC pfnButton = (WNDPROC)GetClassLongPtrW(m_hPlain, GCLP_WNDPROC);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrW(m_hReflecting, GWLP_WNDPROC), AfxWndProc);
    EXPECT_EQ(m_button.UnsubclassWindow(), m_hReflecting);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrW(m_hReflecting, GWLP_WNDPROC), pfnButton);
    EXPECT_EQ(CWnd::FromHandlePermanent(m_hReflecting), nullptr);
    SendMessageW(m_hReflecting, BM_CLICK, 0, 0);
    PumpPending();
    EXPECT_EQ(m_button.m_nClicks, 0);
    EXPECT_EQ(m_parent.m_strLog, CString(L"parent-reflecting "));
}

// ---- Owner-drawn menu items go to their CMenu ----------------------------------------------------

const UINT ID_DRAWN = 4001;

class COwnerMenu : public CMenu
{
public:
    UINT m_nMeasured = 0;
    UINT m_nDrawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        m_nMeasured = lpMeasureItemStruct->itemID;
        lpMeasureItemStruct->itemWidth = 123;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { m_nDrawn = lpDrawItemStruct->itemID; }
};

TEST(OwnerDraw, MenuItemsAreMeasuredAndDrawnByTheirMenuObject)
{
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    COwnerMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_OWNERDRAW, ID_DRAWN, (LPCTSTR)NULL);
    bar.AppendMenu(MF_POPUP, (UINT_PTR)popup.m_hMenu, L"&Popup");

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, bar.m_hMenu));

    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_DRAWN;
    wnd.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(popup.m_nMeasured, ID_DRAWN);
    EXPECT_EQ(mis.itemWidth, 123u);

    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = ID_DRAWN;
    dis.hwndItem = (HWND)popup.m_hMenu;
    wnd.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(popup.m_nDrawn, ID_DRAWN);

    SetMenu(wnd.m_hWnd, NULL);
    wnd.DestroyWindow();
    bar.RemoveMenu(0, MF_BYPOSITION);   // the popup object destroys its own menu
}

} // namespace
