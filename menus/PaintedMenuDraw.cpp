// Measuring and drawing of the items of a CPaintedMenu, through the current menu theme.
#include "PaintedMenu.h"

#include "MenuTheme.h"
#include "PaintedMenuLibrary.h"

void CPaintedMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasure)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpMeasure->itemData;
    if (pData == NULL)
        return;
    HMENU hFound = NULL;
    const BOOL bHere = FindMenuItemData(m_hMenu, lpMeasure->itemID, lpMeasure->itemData, hFound) != NULL;
    CPaintedMenu* pParent = FromHandleOwned(m_hParentMenu);
    BOOL bMenuBar = bHere ? IsMenuBar() : !(pParent != NULL ? pParent : this)->m_bPopup;
    CPaintedMenu* pMeasuring = this;
    if (!bMenuBar && m_hParentMenu != NULL && !bHere && pParent != NULL)
        pMeasuring = pParent;
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    (pMeasuring->*(pTheme != NULL ? pTheme->m_pMeasureItem : &CPaintedMenu::MeasureMenuItemStyle2))(
        lpMeasure, bMenuBar);
}

void CPaintedMenu::DrawItem(LPDRAWITEMSTRUCT lpDraw)
{
    if (lpDraw->itemData == 0)
        return;
    PaintedMenuLibraryState& library = PaintedMenuLibrary();
    const BOOL bMenuBar = IsMenuBar();
    if (bMenuBar && (ULONG_PTR)(UINT)lpDraw->itemData == library.nHotMenuBarItem &&
        (lpDraw->itemState & ODS_HOTLIGHT) == 0)
        library.nHotMenuBarItem = 0;
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    (this->*(pTheme != NULL ? pTheme->m_pDrawItem : &CPaintedMenu::DrawMenuItemStyle2))(lpDraw,
                                                                                        bMenuBar);
}

void CPaintedMenu::DrawTitle(LPDRAWITEMSTRUCT lpDraw)
{
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    (this->*(pTheme != NULL ? pTheme->m_pDrawTitle : &CPaintedMenu::DrawMenuTitle))(lpDraw);
}
