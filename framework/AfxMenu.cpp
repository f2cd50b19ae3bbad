#include "AfxMenu.h"

#include <unordered_map>

#include "AfxResource.h"
#include "AfxWin.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

struct MenuHandleMaps
{
    std::unordered_map<HMENU, CMenu*> permanent;
    std::unordered_map<HMENU, CMenu*> temporary;
};

// Per thread, as MFC keeps them. Never freed: see the GDI maps.
thread_local MenuHandleMaps* t_pMenuMaps = NULL;

MenuHandleMaps& MenuMaps()
{
    if (t_pMenuMaps == NULL)
        t_pMenuMaps = new MenuHandleMaps;
    return *t_pMenuMaps;
}

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
    if (hMenu == NULL)
        return NULL;
    CMenu* pMenu = FromHandlePermanent(hMenu);
    if (pMenu != NULL)
        return pMenu;
    MenuHandleMaps& maps = MenuMaps();
    auto temporary = maps.temporary.find(hMenu);
    if (temporary != maps.temporary.end())
    {
        // A wrapper whose menu was destroyed through it, for a handle now in use again.
        temporary->second->m_hMenu = hMenu;
        return temporary->second;
    }
    pMenu = new CMenu;
    pMenu->m_hMenu = hMenu;
    maps.temporary[hMenu] = pMenu;
    return pMenu;
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu)
{
    if (hMenu == NULL || t_pMenuMaps == NULL)
        return NULL;
    auto it = t_pMenuMaps->permanent.find(hMenu);
    return it == t_pMenuMaps->permanent.end() ? NULL : it->second;
}

void PASCAL CMenu::DeleteTempMap()
{
    if (t_pMenuMaps == NULL)
        return;
    // Moved out first: nothing a destructor does may reach the map being emptied.
    std::unordered_map<HMENU, CMenu*> temporary;
    temporary.swap(t_pMenuMaps->temporary);
    for (auto& entry : temporary)
    {
        entry.second->m_hMenu = NULL;
        delete entry.second;
    }
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL)
        return FALSE;
    m_hMenu = hMenu;
    MenuMaps().permanent[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != NULL && t_pMenuMaps != NULL)
    {
        auto it = t_pMenuMaps->permanent.find(hMenu);
        if (it != t_pMenuMaps->permanent.end() && it->second == this)
            t_pMenuMaps->permanent.erase(it);
    }
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
