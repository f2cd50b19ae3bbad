#include "AfxMenu.h"

#include "AfxHandleMap.h"
#include "AfxResource.h"
#include "AfxWin.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

void SetMenuHandle(CMenu* pMenu, HMENU hMenu)
{
    pMenu->m_hMenu = hMenu;
}

thread_local CHandleMap<CMenu, HMENU> t_menuMap(SetMenuHandle);

thread_local HWND t_hTrackingWindow = NULL;
thread_local HMENU t_hTrackingMenu = NULL;

} // namespace

HWND AfxGetTrackingWindow()
{
    return t_hTrackingWindow;
}

HMENU AfxGetTrackingMenu()
{
    return t_hTrackingMenu;
}

void AfxDeleteTempMenus()
{
    CMenu::DeleteTempMap();
}

CMenu::CMenu() : m_hMenu(NULL)
{
}

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    return t_menuMap.FromHandle(hMenu);
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu)
{
    return t_menuMap.FromHandlePermanent(hMenu);
}

void PASCAL CMenu::DeleteTempMap()
{
    t_menuMap.DeleteTemp();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL)
        return FALSE;
    m_hMenu = hMenu;
    t_menuMap.SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    t_menuMap.RemoveHandle(hMenu, this);
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    return Attach(::LoadMenuW(hInst, lpszResourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return (UINT)::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}

int CMenu::GetMenuItemCount() const
{
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    // The length first: the text has no length limit.
    int nLen = ::GetMenuStringW(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0)
    {
        rString.Empty();
        return 0;
    }
    nLen = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(nLen + 1), nLen + 1, nFlags);
    rString.ReleaseBuffer(nLen > 0 ? nLen : 0);
    return rString.GetLength();
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    // Saved and restored: a handler may track another popup from inside this one.
    HWND hWndOld = t_hTrackingWindow;
    HMENU hMenuOld = t_hTrackingMenu;
    t_hTrackingWindow = pWnd == NULL ? NULL : pWnd->m_hWnd;
    t_hTrackingMenu = m_hMenu;
    BOOL bResult = ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, t_hTrackingWindow, lpRect);
    t_hTrackingWindow = hWndOld;
    t_hTrackingMenu = hMenuOld;
    return bResult;
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT)
{
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT)
{
}
