// CPaintedFrame: owner-drawn menus for a frame window class. The frame owns its menu bar and
// system menu as CPaintedMenu objects, routes the menu messages to them, paints the row
// between the menu bar and the client area in the menu-bar colour, hot-tracks the menu-bar
// items itself where the system does not, and docks its bars in CPaintedDockBar windows and
// CPaintedMiniDockFrameWnd floating frames, which paint in the same colour.
#pragma once

#include "AfxBar.h"
#include "AfxFrame.h"
#include "PaintedMenu.h"
#include "PaintedMenuHook.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuSymbols.h"

// The two item states the frame's own hot tracking draws with.
struct MenuBarHotStates
{
    UINT nHot;
    UINT nNormal;
};

// Whether the frame hot-tracks its menu bar itself: on systems older than Windows 2000, in a
// remote session, and on Wine, whose menu bar is not hot-tracked outside menu mode.
BOOL FrameTracksMenuBar(int nWinVersionClass, BOOL bRemoteSession, BOOL bWine);
MenuBarHotStates GetMenuBarHotStates(BOOL bFocusInFrame, int nWinVersionClass);

// Gives a CPaintedMenu the menu-bar brush as its background.
void RedrawMenuBar(HMENU hMenu);
// Draws one menu-bar item through the menu's owner drawing, on the frame's window DC.
BOOL DrawMenuBarItem(HWND hFrame, HMENU hMenu, int nPosition, UINT nState);
// The first free timer id from 31 on; 0 when none is free or the window is gone.
UINT_PTR StartHotTrackTimer(HWND hWnd, UINT nElapse);
// Fills the row just above the client area with the brush of the frame's menu.
void DrawMenuBarBackground(HWND hFrame);

// The hot-tracking state of one frame; the handlers of CPaintedFrame call it.
class CMenuBarHotTracker
{
public:
    CMenuBarHotTracker() : m_bInMenuLoop(FALSE), m_nTimer(0), m_nHotItem(-1) {}

    // The hit-test result for the point (screen), with the menu-bar item under it drawn hot.
    LRESULT OnNcHitTest(HWND hFrame, CPoint point, LRESULT nBaseResult);
    void OnEnterMenuLoop(HWND hFrame);
    void OnExitMenuLoop() { m_bInMenuLoop = FALSE; }
    // The timer's tick: the hit test again, so that the item cools when the cursor has gone.
    void OnTimer(HWND hFrame, UINT_PTR nIDEvent);
    void StopTimer(HWND hFrame);
    // Draws the hot item back in its normal state.
    void ClearHotItem(HWND hFrame, UINT nNormalState);

    BOOL m_bInMenuLoop;
    UINT_PTR m_nTimer;
    int m_nHotItem;
};

template <class BASE>
class CPaintedFrame : public BASE
{
public:
    CPaintedFrame() : m_bMenuHook(FALSE) {}
    virtual ~CPaintedFrame()
    {
        ReleaseMenuHook();
        m_systemMenu.DestroyMenu();
        m_menuBar.DestroyMenu();
    }

    // As the base's, with CPaintedDockBar dock bars and CPaintedMiniDockFrameWnd floating
    // frames.
    void EnableDocking(DWORD dwDockStyle);

    CPaintedMenu m_menuBar;
    CPaintedMenu m_systemMenu;
    CMenuBarHotTracker m_hotTracker;

protected:
    void ReleaseMenuHook()
    {
        if (m_bMenuHook)
            RemovePaintedMenuHook();
        m_bMenuHook = FALSE;
    }

    // Whether this frame holds the popup-menu hook; it takes it when it first shows, so that
    // start-up runs without it.
    BOOL m_bMenuHook;

    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
    {
        if (!CPaintedMenu::OnMeasureItem(CWnd::GetCurrentMessage()))
            CWnd::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
    }
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
    {
        if (DYNAMIC_DOWNCAST(CPaintedMenu, pMenu) != NULL)
            return CPaintedMenu::FindKeyboardShortcut(nChar, nFlags, pMenu);
        return BASE::OnMenuChar(nChar, nFlags, pMenu);
    }
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
    {
        BASE::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
        CPaintedMenu::OnInitMenuPopup(this->m_hWnd, pPopupMenu, nIndex, bSysMenu);
    }
    afx_msg void OnEnterMenuLoop(BOOL)
    {
        m_hotTracker.OnEnterMenuLoop(this->m_hWnd);
        this->Default();
    }
    afx_msg void OnExitMenuLoop(BOOL)
    {
        m_hotTracker.OnExitMenuLoop();
        this->Default();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        this->Default();
        m_hotTracker.OnTimer(this->m_hWnd, nIDEvent);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (BASE::OnCreate(lpcs) == -1)
            return -1;
        if (m_systemMenu.GetSafeHmenu() != NULL)
            ::DestroyMenu(m_systemMenu.Detach());
        m_systemMenu.Attach(::GetSystemMenu(this->m_hWnd, FALSE));
        return 0;
    }
    afx_msg LRESULT OnNcHitTest(CPoint point)
    {
        return m_hotTracker.OnNcHitTest(this->m_hWnd, point, BASE::OnNcHitTest(point));
    }
    afx_msg void OnDestroy()
    {
        m_hotTracker.StopTimer(this->m_hWnd);
        ReleaseMenuHook();
        BASE::OnDestroy();
    }
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos)
    {
        BASE::OnWindowPosChanged(lpwndpos);
        // WM_SHOWWINDOW does not come when a window shows maximized.
        if ((lpwndpos->flags & SWP_SHOWWINDOW) != 0 && !m_bMenuHook)
            m_bMenuHook = InstallPaintedMenuHook();
    }
    afx_msg void OnSysColorChange()
    {
        CWnd::OnSysColorChange();
        UpdateMenuColours();
        RedrawMenuBar(m_menuBar.GetSafeHmenu());
    }
    afx_msg void OnNcPaint()
    {
        this->Default();
        DrawMenuBarBackground(this->m_hWnd);
    }
    afx_msg void OnActivateApp(BOOL, DWORD)
    {
        this->Default();
        DrawMenuBarBackground(this->m_hWnd);
    }
    afx_msg void OnPaint()
    {
        CWnd::OnPaint();
        DrawMenuBarBackground(this->m_hWnd);
    }
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
    {
        BASE::OnActivate(nState, pWndOther, bMinimized);
        DrawMenuBarBackground(this->m_hWnd);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_TEMPLATE_MESSAGE_MAP(CPaintedFrame, BASE, BASE)
    ON_WM_MEASUREITEM()
    ON_WM_MENUCHAR()
    ON_WM_INITMENUPOPUP()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_TIMER()
    ON_WM_CREATE()
    ON_WM_NCHITTEST()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_NCPAINT()
    ON_WM_ACTIVATEAPP()
    ON_WM_PAINT()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

// The floating-frame class and the dock bars of EnableDocking.
void EnablePaintedDocking(CFrameWnd* pFrame, DWORD dwDockStyle);

template <class BASE>
void CPaintedFrame<BASE>::EnableDocking(DWORD dwDockStyle)
{
    EnablePaintedDocking(this, dwDockStyle);
}
