#include "PaintedFrame.h"

#include "PaintedDockBar.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMiniDockFrameWnd.h"

namespace
{
const UINT_PTR kFirstHotTrackTimer = 31;
const UINT_PTR kLastHotTrackTimer = 99;
const UINT kHotTrackInterval = 100;

BOOL IsFocusInFrame(HWND hFrame)
{
    HWND hFocus = ::GetFocus();
    return hFocus != NULL && ::IsChild(hFrame, hFocus);
}
}

BOOL FrameTracksMenuBar(int nWinVersionClass, BOOL bRemoteSession, BOOL bWine)
{
    return nWinVersionClass < 6 || bRemoteSession || bWine;
}

MenuBarHotStates GetMenuBarHotStates(BOOL bFocusInFrame, int nWinVersionClass)
{
    if (bFocusInFrame)
        return {ODS_HOTLIGHT, 0};
    if (nWinVersionClass == 2 || nWinVersionClass == 5)
        return {0, 0};
    return {ODS_HOTLIGHT | ODS_INACTIVE, ODS_INACTIVE};
}

void RedrawMenuBar(HMENU hMenu)
{
    HBRUSH hBrush = GetMenuBackBrush();
    if (hBrush == NULL || CPaintedMenu::FromHandleOwned(hMenu) == NULL)
        return;
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = hBrush;
    ::SetMenuInfo(hMenu, &info);
}

BOOL DrawMenuBarItem(HWND hFrame, HMENU hMenu, int nPosition, UINT nState)
{
    if (nPosition == -1)
        return FALSE;
    RECT rect;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemRect(hFrame, hMenu, (UINT)nPosition, &rect) ||
        !::GetMenuItemInfoW(hMenu, (UINT)nPosition, TRUE, &info) ||
        !(info.fType & MFT_OWNERDRAW))
        return FALSE;
    HDC hDC = ::GetWindowDC(hFrame);
    if (hDC == NULL)
        return FALSE;
    LOGFONTW logFont;
    GetPaintedMenuLogFont(logFont, FALSE);
    HFONT hFont = ::CreateFontIndirectW(&logFont);
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);
    // The item's screen rectangle is exact on every system this runs on, Wine included:
    // only the window's position is taken off.
    RECT window;
    ::GetWindowRect(hFrame, &window);
    ::OffsetRect(&rect, -window.left, -window.top);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemID = info.wID;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = nState;
    draw.hwndItem = (HWND)hMenu;
    draw.hDC = hDC;
    draw.rcItem = rect;
    draw.itemData = info.dwItemData;
    PaintedMenuLibrary().nHotMenuBarItem = (UINT)info.dwItemData;
    POINT oldOrigin;
    ::SetWindowOrgEx(hDC, 0, 0, &oldOrigin);
    ::SendMessageW(hFrame, WM_DRAWITEM, 0, (LPARAM)&draw);
    ::SetWindowOrgEx(hDC, oldOrigin.x, oldOrigin.y, NULL);
    ::SelectObject(hDC, hOldFont);
    ::DeleteObject(hFont);
    ::ReleaseDC(hFrame, hDC);
    return TRUE;
}

UINT_PTR StartHotTrackTimer(HWND hWnd, UINT nElapse)
{
    if (!::IsWindow(hWnd))
        return 0;
    for (UINT_PTR nID = kFirstHotTrackTimer; nID <= kLastHotTrackTimer; nID++)
        if (::SetTimer(hWnd, nID, nElapse, NULL) != 0)
            return nID;
    return 0;
}

void DrawMenuBarBackground(HWND hFrame)
{
    HMENU hMenu = ::GetMenu(hFrame);
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    if (hMenu == NULL || !::GetMenuInfo(hMenu, &info) || info.hbrBack == NULL)
        return;
    HDC hDC = ::GetWindowDC(hFrame);
    if (hDC == NULL)
        return;
    RECT window, client;
    ::GetWindowRect(hFrame, &window);
    ::GetClientRect(hFrame, &client);
    ::MapWindowPoints(hFrame, NULL, (LPPOINT)&client, 2);
    ::OffsetRect(&client, -window.left, -window.top);
    const RECT strip = {client.left, client.top - 1, client.right, client.top};
    ::UnrealizeObject(info.hbrBack);
    POINT oldOrigin;
    ::SetBrushOrgEx(hDC, 0, 0, &oldOrigin);
    ::FillRect(hDC, &strip, info.hbrBack);
    // Wine paints the bar beyond its last item in the system's colour, whatever the menu's
    // background: the rest of the last row takes the brush too.
    MENUBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    RECT rectLast;
    const int nCount = ::GetMenuItemCount(hMenu);
    if (nCount > 0 && ::GetMenuBarInfo(hFrame, OBJID_MENU, 0, &bar) &&
        ::GetMenuItemRect(hFrame, hMenu, (UINT)(nCount - 1), &rectLast))
    {
        RECT rest = {rectLast.right, rectLast.top, bar.rcBar.right, bar.rcBar.bottom};
        ::OffsetRect(&rest, -window.left, -window.top);
        ::FillRect(hDC, &rest, info.hbrBack);
    }
    ::SetBrushOrgEx(hDC, oldOrigin.x, oldOrigin.y, NULL);
    ::ReleaseDC(hFrame, hDC);
}

// ---- CMenuBarHotTracker ---------------------------------------------------------------------

LRESULT CMenuBarHotTracker::OnNcHitTest(HWND hFrame, CPoint point, LRESULT nBaseResult)
{
    const PaintedMenuLibraryState& library = PaintedMenuLibrary();
    if (!FrameTracksMenuBar(library.nWinVersionClass, library.bRemoteSession, library.bWine))
        return nBaseResult;
    const MenuBarHotStates states =
        GetMenuBarHotStates(IsFocusInFrame(hFrame), library.nWinVersionClass);
    HMENU hMenu = ::GetMenu(hFrame);
    if (!m_bInMenuLoop && nBaseResult == HTMENU && CPaintedMenu::FromHandleOwned(hMenu) != NULL)
    {
        const int nItem = ::MenuItemFromPoint(hFrame, hMenu, point);
        if (nItem != -1)
        {
            if (nItem != m_nHotItem)
            {
                if (m_nHotItem != -1)
                    DrawMenuBarItem(hFrame, hMenu, m_nHotItem, states.nNormal);
                if (!DrawMenuBarItem(hFrame, hMenu, nItem, states.nHot))
                {
                    m_nHotItem = -1;
                    return HTMENU;
                }
            }
            else if (library.nHotMenuBarItem != 0 ||
                     !DrawMenuBarItem(hFrame, hMenu, nItem, states.nHot))
            {
                return HTMENU;
            }
            if (m_nTimer == 0)
                m_nTimer = StartHotTrackTimer(hFrame, kHotTrackInterval);
            m_nHotItem = nItem;
            return HTMENU;
        }
    }
    ClearHotItem(hFrame, states.nNormal);
    StopTimer(hFrame);
    return nBaseResult;
}

void CMenuBarHotTracker::ClearHotItem(HWND hFrame, UINT nNormalState)
{
    if (m_nHotItem == -1)
        return;
    DrawMenuBarItem(hFrame, ::GetMenu(hFrame), m_nHotItem, nNormalState);
    m_nHotItem = -1;
}

void CMenuBarHotTracker::OnEnterMenuLoop(HWND hFrame)
{
    m_bInMenuLoop = TRUE;
    StopTimer(hFrame);
    ClearHotItem(hFrame, 0);
}

void CMenuBarHotTracker::OnTimer(HWND hFrame, UINT_PTR nIDEvent)
{
    if (m_nTimer == 0 || nIDEvent != m_nTimer)
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    ::SendMessageW(hFrame, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
}

void CMenuBarHotTracker::StopTimer(HWND hFrame)
{
    if (m_nTimer == 0)
        return;
    ::KillTimer(hFrame, m_nTimer);
    m_nTimer = 0;
}

// ---- Docking --------------------------------------------------------------------------------

void EnablePaintedDocking(CFrameWnd* pFrame, DWORD dwDockStyle)
{
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CPaintedMiniDockFrameWnd);
    CPaintedDockBar::CreateDockBars(pFrame, dwDockStyle);
}
