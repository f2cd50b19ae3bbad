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

class CPaintedMenuBitmaps;
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

    // The measuring, drawing and title routines that the menu themes choose from.
    void MeasureMenuItemStyle0(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar);
    void MeasureMenuItemStyle2(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar);
    void MeasureMenuItemStyle6(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar);
    void DrawMenuItemStyle0(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
    void DrawMenuItemStyle2(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
    void DrawMenuItemStyle4(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
    void DrawMenuItemStyle6(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
    void DrawMenuItemStyle8(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
    void DrawMenuTitle(LPDRAWITEMSTRUCT lpDraw);
    // Runs the current theme's title routine.
    void DrawTitle(LPDRAWITEMSTRUCT lpDraw);

    // The bitmap store that holds nBitmapId (an icon handle in icon-handle mode), made when
    // none does; NULL when it cannot be loaded. nIndex is its image index.
    CPaintedMenuBitmaps* FindBitmapStore(int& nIndex, UINT_PTR nBitmapId);

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
    BOOL m_bIconHandles;

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
    // The display text of an item as measured: bold for the default item, tabs as "nnn".
    CSize MeasureItemText(CPaintedMenuItemData* pData);
    // The measured size of the next item after nID with a command, (0, 0) when none.
    CSize MeasureNextCommand(CPaintedMenuItemData* pData, BOOL bMenuBar,
                             void (CPaintedMenu::*pMeasure)(LPMEASUREITEMSTRUCT, BOOL));
    static CPaintedMenuItemData* FindMenuItemData(HMENU hMenu, UINT nID, ULONG_PTR nData,
                                                  HMENU& hFound);

    std::vector<CPaintedMenuItemData*> m_items;
    std::vector<HMENU> m_subMenus;
};

// The image index of command nID in the toolbar resource nToolBarId: TRUE when it has a
// button; nImage is set only for an index above 0.
BOOL GetToolBarImageIndex(UINT nID, UINT nToolBarId, int& nImage);
