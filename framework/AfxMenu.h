// CMenu, the wrapper of an HMENU. Menus are linked to their wrappers through per-thread
// handle maps, as in MFC: Attach (and LoadMenu, CreateMenu, CreatePopupMenu) enters the
// object in the permanent map, which is how owner-drawn items reach the MeasureItem and
// DrawItem of the object that owns their menu; FromHandle answers with the permanent
// object or a temporary wrapper that lives until AfxDeleteTempMenus runs (the thread's idle
// time). The destructor destroys an attached menu: Detach first to keep it.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"

class CWnd;

class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu();
    virtual ~CMenu();

    HMENU m_hMenu;

    operator HMENU() const { return IsNull(this) ? NULL : m_hMenu; }
    HMENU GetSafeHmenu() const { return IsNull(this) ? NULL : m_hMenu; }
    BOOL operator==(const CMenu& menu) const { return m_hMenu == menu.m_hMenu; }
    BOOL operator!=(const CMenu& menu) const { return m_hMenu != menu.m_hMenu; }

    static CMenu* PASCAL FromHandle(HMENU hMenu);
    // NULL when no CMenu has the handle attached.
    static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);
    static void PASCAL DeleteTempMap();

    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // From the resource module that has the menu (AfxFindResourceHandle).
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }
    // FALSE, and nothing done, when no menu is attached.
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCTSTR lpszNewItem = NULL);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                    LPCTSTR lpszNewItem = NULL);
    // DeleteMenu destroys the sub-menu of a popup item; RemoveMenu keeps it.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);

    // Both return the previous state, or (UINT)-1 when the item does not exist.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);

    int GetMenuItemCount() const;
    // 0 for a separator, (UINT)-1 for a popup item.
    UINT GetMenuItemID(int nPos) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    // A temporary wrapper unless the sub-menu has a permanent one; NULL if there is none.
    CMenu* GetSubMenu(int nPos) const;

    // The window and menu of the call are the thread's tracking window and menu
    // (AfxGetTrackingWindow, AfxGetTrackingMenu) while it runs. With TPM_RETURNCMD it
    // returns the chosen command.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);

    // Owner-drawn items of this menu; the defaults do nothing.
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    // Callers may ask a NULL pointer for its handle, as MFC allows; the empty asm keeps the
    // compiler from assuming that this is never NULL.
    static bool IsNull(const void* p)
    {
        __asm__("" : "+r"(p));
        return p == nullptr;
    }
};

// The window and menu of the CMenu::TrackPopupMenu running on this thread, NULL outside one:
// a window uses them to find the menu of a WM_MEASUREITEM, which names no menu.
HWND AfxGetTrackingWindow();
HMENU AfxGetTrackingMenu();

// Deletes the calling thread's temporary CMenu wrappers (FromHandle); run at idle time, when
// no pointer to them is held any more.
void AfxDeleteTempMenus();
