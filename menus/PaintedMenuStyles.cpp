// The menu looks other than the program's own: the classic raised and sunken look (styles 0
// and 1), classic popups with a highlighted bar (4 and 5), gradients (6 and 7) and the bar
// styles with a gradient menu bar (8 to 11). None of them is current in the program.
#include "PaintedMenu.h"

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedMemDC.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuSymbols.h"
#include <memory>

namespace
{
const int kColumnExtra = 8;
const int kTextLeftGap = 4;
const int kTextRightGap = 15;
const int kGradientDepth = 30;

enum ClassicLook
{
    LOOK_CLASSIC,      // 3-D edges
    LOOK_BAR_FILLED,   // bar items filled with the highlight colour
    LOOK_GRADIENT,     // gradient column and selection
    LOOK_BAR_STYLE     // theme colours, gradient column, symbol check marks
};

struct ItemParts
{
    CRect rectItem;
    CRect rectColumn;
    CRect rectText;
    BOOL bSelected;
    BOOL bGrayed;
    BOOL bChecked;
};

ItemParts SplitItem(const RECT& rcItem, int nIconX, UINT nState, BOOL bMenuBar)
{
    ItemParts parts;
    parts.rectItem = rcItem;
    parts.rectColumn = rcItem;
    parts.rectText = rcItem;
    if (!bMenuBar)
    {
        parts.rectColumn.right = parts.rectColumn.left + nIconX + kColumnExtra;
        parts.rectText.left = parts.rectColumn.right + kTextLeftGap;
        parts.rectText.right -= kTextRightGap;
    }
    parts.bSelected = (nState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    parts.bGrayed = (nState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    parts.bChecked = (nState & ODS_CHECKED) != 0;
    return parts;
}

// A text with its accelerator text at the right; disabled texts embossed when asked.
void DrawItemTexts(HDC hDC, const CString& strDisplay, const CRect& rect, COLORREF crText,
                   BOOL bEmboss, UINT nFormat)
{
    const int nTab = strDisplay.Find(L'\t');
    const CString strLabel = nTab >= 0 ? strDisplay.Left(nTab) : strDisplay;
    const CString strAccel = nTab >= 0 ? strDisplay.Mid(nTab + 1) : CString();
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    auto draw = [&](const CRect& rectAt, COLORREF cr)
    {
        ::SetTextColor(hDC, cr);
        RECT rectLabel = rectAt;
        ::DrawTextW(hDC, strLabel, strLabel.GetLength(), &rectLabel,
                    DT_SINGLELINE | DT_VCENTER | nFormat);
        RECT rectAccel = rectAt;
        if (!strAccel.IsEmpty())
            ::DrawTextW(hDC, strAccel, strAccel.GetLength(), &rectAccel,
                        DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    };
    const COLORREF crOld = ::GetTextColor(hDC);
    if (bEmboss)
    {
        CRect rectShifted = rect;
        rectShifted.OffsetRect(1, 1);
        draw(rectShifted, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    draw(rect, crText);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
}

void Edge(HDC hDC, const CRect& rect, UINT nEdge)
{
    RECT edge = rect;
    ::DrawEdge(hDC, &edge, nEdge, BF_RECT);
}

// The theme's colours for the bar styles: the light and dark ends of the menu gradient.
void BarStyleColours(COLORREF& crLight, COLORREF& crDark)
{
    COLORREF crBarLeft, crBarRight;
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    if (pTheme != NULL)
        pTheme->GetBarColours(crBarLeft, crBarRight, crLight, crDark);
    else
        crLight = crDark = GetMenuBarColour();
}
}

void CPaintedMenu::MeasureMenuItemStyle0(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpMeasure->itemData;
    if (pData == NULL)
        return;
    // Etched separators need the room of half an item.
    if ((pData->m_nFlags & MF_SEPARATOR) && !bMenuBar)
    {
        lpMeasure->itemWidth = 0;
        lpMeasure->itemHeight = ::GetSystemMetrics(SM_CYMENU) / 2;
        return;
    }
    MeasureMenuItemStyle2(lpMeasure, bMenuBar);
    if (!bMenuBar)
        lpMeasure->itemWidth += 2 * kTextLeftGap;
}

void CPaintedMenu::MeasureMenuItemStyle6(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar)
{
    // The gradients take the classic layout; the selection box leaves a pixel of air.
    MeasureMenuItemStyle0(lpMeasure, bMenuBar);
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpMeasure->itemData;
    if (pData != NULL && !(pData->m_nFlags & MF_SEPARATOR) && !bMenuBar)
        lpMeasure->itemHeight += 2;
}

namespace
{
void DrawClassicItem(CPaintedMenu* pMenu, LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar, ClassicLook look)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpDraw->itemData;
    if (pData == NULL)
        return;
    const BOOL bSeparator = (pData->m_nFlags & MF_SEPARATOR) != 0;
    std::unique_ptr<CPaintedMemDC> pMemDC;
    HDC hDC = lpDraw->hDC;
    if (!bMenuBar && !bSeparator)
    {
        pMemDC.reset(new CPaintedMemDC(lpDraw->rcItem, lpDraw->hDC));
        hDC = pMemDC->m_hDC;
    }
    const UINT nState = lpDraw->itemState;
    const ItemParts parts = SplitItem(lpDraw->rcItem, pMenu->m_nIconX, nState, bMenuBar);
    const COLORREF crMenu = bMenuBar ? GetMenuBarColour(pMenu->GetSafeHmenu())
                                     : ::GetSysColor(COLOR_MENU);
    const COLORREF crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    COLORREF crLight = crMenu, crDark = crMenu;
    if (look == LOOK_BAR_STYLE)
        BarStyleColours(crLight, crDark);

    // Background and selection.
    if (bMenuBar)
    {
        HBRUSH hBack = look == LOOK_BAR_STYLE ? GetMenuBackBrush() : NULL;
        if (hBack != NULL)
            ::FillRect(hDC, &parts.rectItem, hBack);
        else
            PaintedFillSolid(hDC, parts.rectItem, crMenu);
    }
    else if (look == LOOK_GRADIENT || look == LOOK_BAR_STYLE)
    {
        PaintedFillSolid(hDC, parts.rectItem, look == LOOK_BAR_STYLE ? crLight : crMenu);
        const COLORREF crFrom = look == LOOK_BAR_STYLE ? crLight : LightenColour(kGradientDepth, crMenu);
        const COLORREF crTo = look == LOOK_BAR_STYLE ? crDark : DarkenColour(kGradientDepth, crMenu);
        PaintedGradientFill(hDC, parts.rectColumn, crFrom, crTo, TRUE, FALSE, TRUE);
    }
    else
    {
        PaintedFillSolid(hDC, parts.rectItem, crMenu);
    }
    if (bSeparator && !bMenuBar)
    {
        CRect line = parts.rectItem;
        line.left = parts.rectText.left;
        line.top += line.Height() / 2 - 1;
        RECT edge = line;
        ::DrawEdge(hDC, &edge, EDGE_ETCHED, BF_TOP);
        return;
    }
    const BOOL bActive = parts.bSelected && !(nState & ODS_INACTIVE);
    COLORREF crText = ::GetSysColor(parts.bGrayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
    if (bActive)
    {
        if (bMenuBar && (look == LOOK_CLASSIC || look == LOOK_GRADIENT))
        {
            Edge(hDC, parts.rectItem, (nState & ODS_SELECTED) ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
        }
        else if (look == LOOK_GRADIENT)
        {
            PaintedGradientFill(hDC, parts.rectItem, LightenColour(kGradientDepth, crHighlight),
                                DarkenColour(kGradientDepth, crHighlight), FALSE, FALSE, TRUE);
            if (!parts.bGrayed)
                crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        else if (look == LOOK_BAR_STYLE)
        {
            PaintedFillSolid(hDC, parts.rectItem, GetMenuHighlightColour());
            PaintedFrameRect(hDC, parts.rectItem, crHighlight);
        }
        else
        {
            // Classic popups and the filled bar items of style 4.
            CRect rectFill = bMenuBar ? parts.rectItem : CRect(parts.rectColumn.right, parts.rectItem.top,
                                                               parts.rectItem.right, parts.rectItem.bottom);
            PaintedFillSolid(hDC, rectFill, crHighlight);
            if (!parts.bGrayed)
                crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
    }

    CString strDisplay;
    pData->GetShortCutText(strDisplay, pMenu->m_hAccel);
    const UINT nHide = (nState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    {
        LOGFONTW logFont;
        GetPaintedMenuLogFont(logFont, (nState & ODS_DEFAULT) != 0);
        HFONT hFont = ::CreateFontIndirectW(&logFont);
        HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
        const BOOL bEmboss = parts.bGrayed && !bActive && (look == LOOK_CLASSIC || look == LOOK_BAR_FILLED);
        if (bMenuBar)
            DrawItemTexts(hDC, strDisplay, parts.rectItem, crText, bEmboss, DT_CENTER | nHide);
        else
            DrawItemTexts(hDC, strDisplay, parts.rectText, crText, bEmboss, DT_LEFT | nHide);
        if (hFont != NULL)
        {
            ::SelectObject(hDC, hOldFont);
            ::DeleteObject(hFont);
        }
    }
    if (bMenuBar)
        return;

    // The icon column.
    if (pData->m_pIcons != NULL && pData->m_nImage != -1)
    {
        HIMAGELIST hList = pData->m_pIcons->m_imageList.GetSafeHandle();
        const CSize icon = pData->m_pIcons->GetIconSize();
        const int x = parts.rectColumn.left + (parts.rectColumn.Width() - icon.cx) / 2;
        const int y = parts.rectColumn.top + (parts.rectColumn.Height() - icon.cy) / 2;
        const CRect rectEdge(x - 2, y - 2, x + icon.cx + 2, y + icon.cy + 2);
        if (parts.bChecked)
            Edge(hDC, rectEdge, BDR_SUNKENOUTER);
        else if (bActive && !parts.bGrayed && look != LOOK_BAR_STYLE)
            Edge(hDC, rectEdge, BDR_RAISEDINNER);
        if (nState & ODS_DISABLED)
        {
            if (look == LOOK_GRADIENT)
                DrawIconSilhouette(hDC, hList, pData->m_nImage, x, y, ::GetSysColor(COLOR_GRAYTEXT));
            else
                ImageList_Draw(hList, pData->m_nImage + 2, hDC, x, y, ILD_TRANSPARENT);
        }
        else
        {
            ImageList_Draw(hList, pData->m_nImage + (bActive ? 0 : 1), hDC, x, y, ILD_TRANSPARENT);
        }
        return;
    }
    if (parts.bChecked)
    {
        const BOOL bRadio = (pData->m_nFlags & MFT_RADIOCHECK) != 0;
        if (look == LOOK_BAR_STYLE)
            DrawMenuSymbolInSysColour(pMenu, hDC, parts.rectColumn, bRadio ? L'i' : L'b', FALSE,
                                      parts.bGrayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
        else
            DrawCheckMark(hDC, parts.rectColumn, bRadio, crText);
        return;
    }
    if (IsSysCommandId(pData->m_nID))
        DrawSystemMenuGlyph(pMenu, hDC, parts.rectColumn, pData->m_nID, nState);
}
}

void CPaintedMenu::DrawMenuItemStyle0(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar)
{
    DrawClassicItem(this, lpDraw, bMenuBar, LOOK_CLASSIC);
}

void CPaintedMenu::DrawMenuItemStyle4(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar)
{
    DrawClassicItem(this, lpDraw, bMenuBar, LOOK_BAR_FILLED);
}

void CPaintedMenu::DrawMenuItemStyle6(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar)
{
    DrawClassicItem(this, lpDraw, bMenuBar, LOOK_GRADIENT);
}

void CPaintedMenu::DrawMenuItemStyle8(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar)
{
    DrawClassicItem(this, lpDraw, bMenuBar, LOOK_BAR_STYLE);
}

void CPaintedMenu::DrawMenuTitle(LPDRAWITEMSTRUCT lpDraw)
{
    CPaintedMenuItemData* pData = (CPaintedMenuItemData*)lpDraw->itemData;
    if (pData == NULL)
        return;
    HDC hDC = lpDraw->hDC;
    PaintedFillSolid(hDC, lpDraw->rcItem, ::GetSysColor(COLOR_ACTIVECAPTION));
    LOGFONTW logFont;
    GetPaintedMenuLogFont(logFont, TRUE);
    HFONT hFont = ::CreateFontIndirectW(&logFont);
    if (hFont == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(hDC, ::GetSysColor(COLOR_CAPTIONTEXT));
    RECT rect = lpDraw->rcItem;
    ::DrawTextW(hDC, pData->GetText(), pData->GetText().GetLength(), &rect,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
}
