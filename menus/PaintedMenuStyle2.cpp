// The program's menu look: flat items on a light text area beside a darker icon column, a
// framed selection box in a blend of the highlight colour, and icons lifted by a shadow when
// their item is selected.
#include "PaintedMenu.h"

#include "MenuColours.h"
#include "PaintedMemDC.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include <algorithm>
#include <memory>

namespace
{
const int kSeparatorSize = 3;
const int kBarAmpersandWidth = 6;
const int kColumnExtra = 8;
const int kTextLeftGap = 4;
const int kTextRightGap = 15;
const int kBarBoxGap = 4;

// The menu's font, made once by the library, selected for one measuring or drawing.
class CItemFont
{
public:
    CItemFont(HDC hDC, BOOL bBold) : m_hDC(hDC)
    {
        HFONT hFont = GetPaintedMenuFont(bBold);
        m_hOld = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
    }
    ~CItemFont()
    {
        if (m_hOld != NULL)
            ::SelectObject(m_hDC, m_hOld);
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

void SplitAtTab(const CString& strDisplay, CString& strLabel, CString& strAccel)
{
    const int nTab = strDisplay.Find(L'\t');
    strLabel = nTab >= 0 ? strDisplay.Left(nTab) : strDisplay;
    strAccel = nTab >= 0 ? strDisplay.Mid(nTab + 1) : CString();
}

// The darkening steps of the open bar item's shadow: top rows of the menu colour, four rows
// growing darker, then the column's full depth.
void DrawBarItemShadow(HDC hDC, const CRect& rect, COLORREF crMenu)
{
    const int nTop = rect.top + 4;
    const int nBottom = rect.bottom - 1;
    if (IsPaletteDisplay())
    {
        for (int x : {rect.right - 3, rect.right - 4})
            PaintedFillSolid(hDC, CRect(x, nTop, x + 1, nBottom), ::GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    for (int n = 1; n <= 4; ++n)
    {
        const int x = rect.right - n;
        const int nStep = 6 * n;
        for (int y = nTop; y < nBottom; ++y)
        {
            const int nRow = y - nTop;
            const COLORREF cr = nRow < 4   ? crMenu
                                : nRow < 8 ? DarkenColour(nStep * (nRow - 3), crMenu)
                                           : DarkenColour(30 * n, crMenu);
            ::SetPixelV(hDC, x, y, cr);
        }
    }
}

// The box behind a checked item's icon or mark.
CRect CheckBox(const CRect& rectColumn, BOOL bRightToLeft)
{
    CRect box = rectColumn;
    box.top += 1;
    box.bottom -= 1;
    box.left += bRightToLeft ? 2 : 1;
    box.right -= bRightToLeft ? 1 : 2;
    return box;
}

// A bar item's rectangle, given in the coordinates of the window it is drawn on, on the screen.
CRect ScreenRect(HDC hDC, const CRect& rect, HWND hParentWnd)
{
    HWND hWnd = ::WindowFromDC(hDC);
    if (hWnd == NULL)
        hWnd = hParentWnd;
    CRect rectScreen = rect;
    RECT rectWindow;
    if (hWnd != NULL && ::GetWindowRect(hWnd, &rectWindow))
        rectScreen.OffsetRect(rectWindow.left, rectWindow.top);
    return rectScreen;
}

struct ItemCheckBitmaps
{
    HBITMAP hChecked;
    HBITMAP hUnchecked;
};

ItemCheckBitmaps ReadCheckBitmaps(HMENU hMenu, UINT nID)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    ItemCheckBitmaps bitmaps = {NULL, NULL};
    if (::GetMenuItemInfoW(hMenu, nID, FALSE, &info))
    {
        bitmaps.hChecked = info.hbmpChecked;
        bitmaps.hUnchecked = info.hbmpUnchecked;
    }
    return bitmaps;
}

void DrawBitmapCentred(HDC hDC, HBITMAP hBitmap, const CRect& rect, UINT nFlags)
{
    BITMAP bm = {};
    if (!::GetObjectW(hBitmap, sizeof(bm), &bm))
        return;
    ::DrawStateW(hDC, NULL, NULL, (LPARAM)hBitmap, 0, rect.left + (rect.Width() - bm.bmWidth) / 2,
                 rect.top + (rect.Height() - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight,
                 DST_BITMAP | nFlags);
}
}

CSize CPaintedMenu::MeasureItemText(CPaintedMenuItemData* pData)
{
    CString strText;
    pData->GetShortCutText(strText, m_hAccel);
    strText.Replace(L"\t", L"nnn");
    const BOOL bDefault = ::GetMenuDefaultItem(m_hMenu, FALSE, 0) == pData->m_nID &&
                          pData->m_nID != 0;
    HDC hDC = GetPaintedMenuMeasureDC();
    SIZE size = {0, 0};
    CItemFont font(hDC, bDefault);
    ::GetTextExtentPoint32W(hDC, strText, strText.GetLength(), &size);
    return CSize(size.cx, size.cy);
}

CSize CPaintedMenu::MeasureNextCommand(CPaintedMenuItemData* pData, BOOL bMenuBar,
                                       void (CPaintedMenu::*pMeasure)(LPMEASUREITEMSTRUCT, BOOL))
{
    auto it = std::find(m_items.begin(), m_items.end(), pData);
    if (it == m_items.end())
        return CSize(0, 0);
    for (++it; it != m_items.end(); ++it)
        if ((*it)->m_nID != 0)
        {
            MEASUREITEMSTRUCT next = {ODT_MENU, 0, (*it)->m_nID, 0, 0, (ULONG_PTR)*it};
            (this->*pMeasure)(&next, bMenuBar);
            return CSize((int)next.itemWidth, (int)next.itemHeight);
        }
    return CSize(0, 0);
}

void CPaintedMenu::MeasureMenuItemStyle2(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpMeasure->itemData;
    if (pData == NULL)
        return;
    if (pData->m_nFlags & MF_SEPARATOR)
    {
        lpMeasure->itemWidth = kSeparatorSize;
        lpMeasure->itemHeight = kSeparatorSize;
        return;
    }
    const CSize text = MeasureItemText(pData);
    const int nMenuHeight = ::GetSystemMetrics(SM_CYMENU);
    int nWidth, nHeight;
    if (bMenuBar)
    {
        nWidth = text.cx - (pData->GetText().Find(L'&') >= 0 ? kBarAmpersandWidth : 0);
        nHeight = std::max(m_nIconY + 2, nMenuHeight);
    }
    else
    {
        const BOOL bSubMenu = (pData->m_nFlags & MF_POPUP) != 0;
        nWidth = (bSubMenu ? nMenuHeight : nMenuHeight / 2) + m_nIconX + text.cx + 6;
        nHeight = m_nIconY + 8 < nMenuHeight ? nMenuHeight : m_nIconY + 7;
    }
    nHeight = std::max(nHeight, (int)text.cy);
    if (IsSysCommandId(pData->m_nID))
    {
        // The renumbered system commands are as wide as the items after them.
        nWidth = std::max(nWidth, (int)MeasureNextCommand(pData, bMenuBar,
                                                          &CPaintedMenu::MeasureMenuItemStyle2).cx);
        nHeight = nMenuHeight;
    }
    lpMeasure->itemWidth = (UINT)std::max(nWidth, 0);
    lpMeasure->itemHeight = (UINT)nHeight;
}

void CPaintedMenu::DrawMenuItemStyle2(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpDraw->itemData;
    if (pData == NULL)
        return;
    const BOOL bSeparator = (pData->m_nFlags & MF_SEPARATOR) != 0;
    const CRect rectItem(lpDraw->rcItem);
    std::unique_ptr<CPaintedMemDC> pMemDC;
    HDC hDC = lpDraw->hDC;
    if (!bMenuBar && !bSeparator)
    {
        pMemDC.reset(new CPaintedMemDC(rectItem, lpDraw->hDC));
        hDC = pMemDC->m_hDC;
    }

    const MenuDisplayFacts facts = GetMenuDisplayFacts();
    const COLORREF crMenu = GetMenuBarColour(m_hMenu);
    COLORREF crTextArea, crColumn;
    GetMenuAreaColours(hDC, crMenu, crTextArea, crColumn);
    const COLORREF crSelection = GetMenuHighlightColour();
    COLORREF crFrame = ::GetSysColor(facts.bHighContrast ? COLOR_BTNTEXT : COLOR_HIGHLIGHT);

    UINT nState = lpDraw->itemState;
    if (bMenuBar && m_nOpenPopups == 0 && (nState & ODS_SELECTED))
        nState = (nState & ~ODS_SELECTED) | ODS_HOTLIGHT;
    const BOOL bRightToLeft = (pData->m_nFlags & MFT_RIGHTORDER) != 0;
    const BOOL bSelected = (nState & (ODS_SELECTED | ODS_HOTLIGHT | ODS_INACTIVE)) != 0;
    const BOOL bActive = bSelected && !(nState & ODS_INACTIVE);
    const BOOL bChecked = (nState & ODS_CHECKED) != 0;

    CRect rectBox = rectItem;
    CRect rectColumn = rectItem;
    CRect rectText = rectItem;
    COLORREF crFill = crSelection;
    if (bMenuBar)
    {
        crFill = (nState & ODS_HOTLIGHT) ? crSelection : crColumn;
        rectBox.right -= kBarBoxGap;
        PaintedFillSolid(hDC, rectItem, crMenu);
        if (bActive)
        {
            m_rectMenuBarItem = ScreenRect(lpDraw->hDC, rectItem, m_hParentWnd);
            if (!(nState & ODS_HOTLIGHT))
            {
                crFrame = facts.bHighContrast ? ::GetSysColor(COLOR_BTNTEXT)
                                              : DarkenColour(128, GetMenuBarColour());
                DrawBarItemShadow(hDC, rectItem, crMenu);
            }
        }
    }
    else
    {
        const int nColumn = m_nIconX + kColumnExtra;
        if (bRightToLeft)
        {
            rectColumn.left = rectColumn.right - nColumn;
            rectText.right = rectColumn.left;
        }
        else
        {
            rectColumn.right = rectColumn.left + nColumn;
            rectText.left = rectColumn.right;
        }
        PaintedFillSolid(hDC, rectColumn, crColumn);
        PaintedFillSolid(hDC, rectText, crTextArea);
        rectText.left += bRightToLeft ? kTextRightGap : kTextLeftGap;
        rectText.right -= bRightToLeft ? kTextLeftGap : kTextRightGap;
    }

    if (bSeparator && !bMenuBar)
    {
        const int y = rectText.top + rectText.Height() / 2;
        const CRect line = bRightToLeft ? CRect(rectItem.left, y, rectText.right, y + 1)
                                        : CRect(rectText.left, y, rectItem.right, y + 1);
        PaintedFillSolid(hDC, line, ::GetSysColor(COLOR_GRAYTEXT));
        return;
    }

    if (bActive)
    {
        const RECT rectSelection = bMenuBar ? rectBox : rectItem;
        PaintedFillSolid(hDC, rectSelection, crFill);
        PaintedFrameRect(hDC, rectSelection, crFrame);
    }

    CString strDisplay;
    pData->GetShortCutText(strDisplay, m_hAccel);
    if (!strDisplay.IsEmpty())
    {
        CItemFont font(hDC, (nState & ODS_DEFAULT) != 0);
        const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
        const int nTextColour = (nState & ODS_GRAYED) || (bMenuBar && (nState & ODS_INACTIVE))
                                    ? COLOR_GRAYTEXT
                                : !bMenuBar && !bSelected && facts.bHighContrast ? COLOR_WINDOWTEXT
                                                                               : COLOR_MENUTEXT;
        const COLORREF crOldText = ::SetTextColor(hDC, ::GetSysColor(nTextColour));
        const BOOL bCuesAlways = facts.nWinVersionClass >= 6 && facts.bKeyboardCues;
        const UINT nHide = (nState & ODS_NOACCEL) && !bCuesAlways ? DT_HIDEPREFIX : 0;
        if (bMenuBar)
        {
            DrawMenuItemText(hDC, strDisplay, -1, rectBox, DT_VCENTER | nHide);
        }
        else
        {
            CString strLabel, strAccel;
            SplitAtTab(strDisplay, strLabel, strAccel);
            const UINT nLine = DT_SINGLELINE | DT_VCENTER | nHide;
            const UINT nReading = bRightToLeft ? DT_RTLREADING : 0;
            RECT rect = rectText;
            ::DrawTextW(hDC, strLabel, strLabel.GetLength(), &rect,
                        nLine | nReading | (bRightToLeft ? DT_RIGHT : DT_LEFT));
            if (!strAccel.IsEmpty())
            {
                rect = rectText;
                ::DrawTextW(hDC, strAccel, strAccel.GetLength(), &rect,
                            nLine | nReading | (bRightToLeft ? DT_LEFT : DT_RIGHT));
            }
        }
        ::SetTextColor(hDC, crOldText);
        ::SetBkMode(hDC, nOldMode);
    }
    if (bMenuBar)
        return;

    const COLORREF crCheckBase = bSelected ? crSelection : crColumn;
    const COLORREF crCheckFill = bSelected && IsPaletteDisplay()
                                     ? crSelection
                                     : MixColours14(crCheckBase, ::GetSysColor(COLOR_HIGHLIGHT));
    auto drawCheckBox = [&]()
    {
        const CRect box = CheckBox(rectColumn, bRightToLeft);
        PaintedFillSolid(hDC, box, crCheckFill);
        PaintedFrameRect(hDC, box, crFrame);
    };
    if (pData->m_pIcons != NULL && pData->m_nImage != -1)
    {
        HIMAGELIST hList = pData->m_pIcons->m_imageList.GetSafeHandle();
        const CSize icon = pData->m_pIcons->GetIconSize();
        int x = rectColumn.left + 3;
        if (icon.cx < m_nIconX)
            x += (m_nIconX - icon.cx) / 2;
        const int y = rectColumn.top + (rectColumn.Height() - icon.cy) / 2;
        if (bChecked)
            drawCheckBox();
        if (nState & ODS_DISABLED)
        {
            ImageList_Draw(hList, pData->m_nImage + 2, hDC, x, y, ILD_TRANSPARENT);
        }
        else if (bSelected && !bChecked)
        {
            DrawIconSilhouette(hDC, hList, pData->m_nImage, x + 1, y + 1,
                               MenuIconShadowColour(crSelection));
            ImageList_Draw(hList, pData->m_nImage, hDC, x - 1, y - 1, ILD_TRANSPARENT);
        }
        else
        {
            ImageList_Draw(hList, pData->m_nImage + (bSelected ? 0 : 1), hDC, x, y,
                           ILD_TRANSPARENT);
        }
        return;
    }
    const ItemCheckBitmaps bitmaps = ReadCheckBitmaps(m_hMenu, pData->m_nID);
    if (bChecked || bitmaps.hUnchecked != NULL)
    {
        drawCheckBox();
        if (bChecked && bitmaps.hChecked != NULL && bitmaps.hUnchecked != NULL)
            DrawBitmapCentred(hDC, bitmaps.hChecked, rectColumn, DSS_MONO);
        else if (!bChecked)
            DrawBitmapCentred(hDC, bitmaps.hUnchecked, rectColumn,
                              (nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL);
        return;
    }
    if (IsSysCommandId(pData->m_nID))
        DrawSystemMenuGlyph(this, hDC, rectColumn, pData->m_nID, nState);
}
