// CPaintedMenu: a menu whose items the program draws itself: an icon column with the images
// of the toolbars, the item text, the accelerator text taken from the accelerator table, check
// marks and separators. Every popup of a loaded menu has a CPaintedMenu of its own, owned by
// its parent; every item carries a CPaintedMenuItemData.
#pragma once

#include "AfxMenu.h"
#include "AfxWin.h"
#include "PaintedMenuItemData.h"
#include <utility>
#include <vector>

class CPaintedMenuIcons;

class CPaintedMenu : public CMenu
{
    DECLARE_DYNAMIC(CPaintedMenu)
public:
    explicit CPaintedMenu(HMENU hParentMenu = NULL);
    virtual ~CPaintedMenu();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenu(LPCTSTR lpszResourceName);
    // Takes over hMenu and every popup in it.
    virtual BOOL LoadMenu(HMENU hMenu);
    virtual BOOL DestroyMenu();
    virtual BOOL OnEraseBkgnd(HWND hWnd, HDC hDC);
    virtual void OnInitMenuPopupVirtual();
    virtual BOOL OnUnInitPopupMenu();

    void RemoveMenu(UINT nPosition, UINT nFlags);
    // New text (NULL: kept) and the icon of toolbar nToolBarId (-1: none) for every item of
    // command nID in the tree.
    BOOL ModifyODMenu(LPCTSTR lpszText, UINT nID, int nToolBarId);
    BOOL ModifyODMenuIcon(LPCTSTR lpszText, UINT nID, CPaintedMenuIcons* pIcons, int nImage);
    BOOL SetMenuText(UINT nPosition, const CString& strText, UINT nFlags);
    BOOL GetMenuText(UINT nPosition, CString& strText, UINT nFlags);
    BOOL LoadToolBar(UINT nToolBarId, HMODULE hModule = NULL);

    static BOOL OnInitMenuPopup(HWND hWnd, CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    static BOOL OnMeasureItem(const MSG* pMsg);
    static LRESULT FindKeyboardShortcut(UINT nChar, UINT nFlags, CMenu* pMenu);
    static CPaintedMenu* FromHandleOwned(HMENU hMenu);

    // The first menu of the tree holding nID, with its position; NULL and -1 when absent.
    CPaintedMenu* FindMenuByCommand(UINT nID, int& nPosition);
    CPaintedMenuItemData* FindMenuItem(UINT nID);
    void ConvertToOwnerDraw();

    int GetItemDataCount() const { return (int)m_items.size(); }
    CPaintedMenuItemData* GetItemData(int nPosition) const;
    CSize GetIconSize() const { return CSize(m_nIconX, m_nIconY); }
    BOOL IsMenuBar() const { return m_hParentMenu == NULL && !m_bPopup; }

    HWND m_hParentWnd;
    int m_nIconX;
    int m_nIconY;
    COLORREF m_crBitmapBackground;
    HMENU m_hParentMenu;
    BOOL m_bPopup;
    CRect m_rectMenuBarItem;
    int m_nOpenPopups;
    HACCEL m_hAccel;

protected:
    typedef std::vector<std::pair<CPaintedMenu*, int>> VisitedList;

    CPaintedMenu* FindMenuOption(UINT nID, int& nPosition, const VisitedList& visited);
    CPaintedMenuItemData* FindUnusedItemData(UINT nID);
    CPaintedMenuItemData* MakeItemOwnerDrawn(int nPosition, UINT nFlags, UINT nID,
                                             const CString& strText);
    BOOL ReplaceSysCommandId(UINT nOldID, UINT nNewID);
    void RaiseIconSize(CSize size);
    CPaintedMenuIcons* GetToolBarIconStore(UINT nToolBarId, HMODULE hModule);
    void ApplyIconStore(CPaintedMenuIcons* pIcons);
    void RedrawMenuBarItem();
    void DeleteItemData(CPaintedMenuItemData* pData);
    static CPaintedMenuItemData* FindMenuItemData(HMENU hMenu, UINT nID, ULONG_PTR nData,
                                                  HMENU& hFound);

    std::vector<CPaintedMenuItemData*> m_items;
    std::vector<HMENU> m_subMenus;
};

// The image index of command nID in the toolbar resource nToolBarId: TRUE when it has a
// button; nImage is set only for an index above 0.
BOOL GetToolBarImageIndex(UINT nID, UINT nToolBarId, int& nImage);
