// Measuring and drawing of the items of a CPaintedMenu.
#include "PaintedMenu.h"

#include "PaintedMenuIcons.h"
#include "PaintedMenuLibrary.h"
#include <algorithm>

namespace
{
const int kIconMargin = 3;
const int kTextGap = 6;
const int kAccelGap = 20;
const int kRightMargin = 18;
const int kSeparatorHeight = 7;

CSize TextSize(HDC hDC, const CString& strText)
{
    RECT rect = {0, 0, 0, 0};
    ::DrawTextW(hDC, strText, strText.GetLength(), &rect, DT_SINGLELINE | DT_CALCRECT);
    return CSize(rect.right - rect.left, rect.bottom - rect.top);
}

void SplitText(const CString& strDisplay, CString& strText, CString& strAccel)
{
    const int nTab = strDisplay.Find(L'\t');
    strText = nTab >= 0 ? strDisplay.Left(nTab) : strDisplay;
    strAccel = nTab >= 0 ? strDisplay.Mid(nTab + 1) : CString();
}
}

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

    if ((pData->m_nFlags & MF_SEPARATOR) && !bMenuBar)
    {
        lpMeasure->itemWidth = 0;
        lpMeasure->itemHeight = kSeparatorHeight;
        return;
    }
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, GetPaintedMenuFont());
    CString strDisplay, strText, strAccel;
    SplitText(pData->GetShortCutText(strDisplay, pMeasuring->m_hAccel), strText, strAccel);
    const CSize text = TextSize(hDC, strText.IsEmpty() ? CString(L" ") : strText);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    if (bMenuBar)
    {
        lpMeasure->itemWidth = text.cx;
        lpMeasure->itemHeight = text.cy;
        return;
    }
    HDC hAccelDC = ::GetDC(NULL);
    hOld = ::SelectObject(hAccelDC, GetPaintedMenuFont());
    const int nAccel = strAccel.IsEmpty() ? 0 : kAccelGap + TextSize(hAccelDC, strAccel).cx;
    ::SelectObject(hAccelDC, hOld);
    ::ReleaseDC(NULL, hAccelDC);
    const int nIconColumn = pMeasuring->m_nIconX + 2 * kIconMargin;
    lpMeasure->itemWidth = nIconColumn + kTextGap + text.cx + nAccel + kRightMargin;
    lpMeasure->itemHeight =
        std::max((int)text.cy + 4, pMeasuring->m_nIconY + 2 * kIconMargin);
}

void CPaintedMenu::DrawItem(LPDRAWITEMSTRUCT lpDraw)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpDraw->itemData;
    if (pData == NULL)
        return;
    PaintedMenuLibraryState& library = PaintedMenuLibrary();
    const BOOL bMenuBar = IsMenuBar();
    if (bMenuBar && (ULONG_PTR)(UINT)lpDraw->itemData == library.nHotMenuBarItem &&
        (lpDraw->itemState & ODS_HOTLIGHT) == 0)
        library.nHotMenuBarItem = 0;

    HDC hDC = lpDraw->hDC;
    const RECT& rect = lpDraw->rcItem;
    const BOOL bSelected = (lpDraw->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const BOOL bGrayed = (lpDraw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const BOOL bChecked = (lpDraw->itemState & ODS_CHECKED) != 0;

    ::FillRect(hDC, &rect, ::GetSysColorBrush(bSelected && !bGrayed ? COLOR_HIGHLIGHT
                                              : bMenuBar             ? COLOR_MENUBAR
                                                                     : COLOR_MENU));
    if ((pData->m_nFlags & MF_SEPARATOR) && !bMenuBar)
    {
        RECT line = rect;
        line.left += m_nIconX + 2 * kIconMargin + kTextGap;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        ::DrawEdge(hDC, &line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const int nIconColumn = bMenuBar ? 0 : m_nIconX + 2 * kIconMargin;
    if (!bMenuBar && pData->m_pIcons != NULL && pData->m_nImage >= 0)
    {
        // Disabled items take the disabled variant, unselected ones the darkened one.
        const int nImage = pData->m_nImage + (bGrayed ? 2 : bSelected ? 0 : 1);
        const CSize size = pData->m_pIcons->GetIconSize();
        const int x = rect.left + (nIconColumn - size.cx) / 2;
        const int y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
        if (bChecked)
        {
            RECT frame = {x - 2, y - 2, x + size.cx + 2, y + size.cy + 2};
            ::DrawEdge(hDC, &frame, BDR_SUNKENOUTER, BF_RECT);
        }
        ImageList_Draw(pData->m_pIcons->m_imageList.GetSafeHandle(), nImage, hDC, x, y,
                       ILD_TRANSPARENT);
    }
    else if (!bMenuBar && bChecked)
    {
        const int nSize = std::min(nIconColumn, (int)(rect.bottom - rect.top));
        RECT check = {rect.left + (nIconColumn - nSize) / 2, rect.top,
                      rect.left + (nIconColumn + nSize) / 2, rect.top + nSize};
        HDC hMemDC = ::CreateCompatibleDC(hDC);
        HBITMAP hMask = ::CreateBitmap(nSize, nSize, 1, 1, NULL);
        HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hMask);
        RECT local = {0, 0, nSize, nSize};
        ::DrawFrameControl(hMemDC, &local, DFC_MENU,
                           (pData->m_nFlags & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        // The mark is black on white: paint it in the text colour through the mask.
        const COLORREF crMark = ::GetSysColor(bGrayed      ? COLOR_GRAYTEXT
                                              : bSelected ? COLOR_HIGHLIGHTTEXT
                                                          : COLOR_MENUTEXT);
        HBRUSH hBrush = ::CreateSolidBrush(crMark);
        HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
        const COLORREF crOldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
        const COLORREF crOldText = ::SetTextColor(hDC, RGB(0, 0, 0));
        ::BitBlt(hDC, check.left, check.top, nSize, nSize, hMemDC, 0, 0, 0x00B8074A);
        ::SetBkColor(hDC, crOldBk);
        ::SetTextColor(hDC, crOldText);
        ::SelectObject(hDC, hOldBrush);
        ::DeleteObject(hBrush);
        ::SelectObject(hMemDC, hOldBitmap);
        ::DeleteObject(hMask);
        ::DeleteDC(hMemDC);
    }

    CString strDisplay, strText, strAccel;
    SplitText(pData->GetShortCutText(strDisplay, m_hAccel), strText, strAccel);
    HGDIOBJ hOldFont = ::SelectObject(hDC, GetPaintedMenuFont());
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crText = ::GetSysColor(bGrayed      ? COLOR_GRAYTEXT
                                          : bSelected ? COLOR_HIGHLIGHTTEXT
                                                      : COLOR_MENUTEXT);
    const COLORREF crOld = ::SetTextColor(hDC, crText);
    const UINT nHide = (lpDraw->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    RECT textRect = rect;
    if (bMenuBar)
    {
        ::DrawTextW(hDC, strText, strText.GetLength(), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_CENTER | nHide);
    }
    else
    {
        textRect.left += nIconColumn + kTextGap;
        textRect.right -= kRightMargin;
        ::DrawTextW(hDC, strText, strText.GetLength(), &textRect,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT | nHide);
        if (!strAccel.IsEmpty())
            ::DrawTextW(hDC, strAccel, strAccel.GetLength(), &textRect,
                        DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    ::SelectObject(hDC, hOldFont);
}
