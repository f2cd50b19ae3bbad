#include "GridCellBase.h"

#include <algorithm>

#include "AfxImageList.h"
#include "GridCtrl.h"
#include "GridDefaultCell.h"

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace
{

// Draws the points joined by 1-pixel lines of the colour; a pen that cannot be had draws
// nothing.
void DrawLines(CDC* pDC, COLORREF crColour, const POINT* pPoints, int nCount)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, crColour))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Polyline(pPoints, nCount);
    pDC->SelectObject(pOldPen);
}

void Widen(CRect& rect)
{
    rect.right++;
    rect.bottom++;
}

void Narrow(CRect& rect)
{
    rect.right--;
    rect.bottom--;
}

} // namespace

CGridCellBase::CGridCellBase() : m_nState(0) {}

CGridCellBase::~CGridCellBase() {}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* pGrid = GetGrid();
    return pGrid == NULL ? NULL : pGrid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::operator=(const CGridCellBase& cell)
{
    if (&cell == this)
        return;
    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextColour(cell.GetTextColour());
    SetBackColour(cell.GetBackColour());
    SetFont(cell.IsDefaultFont() ? NULL : cell.GetFont());
    SetMargin(cell.GetMargin());
}

void CGridCellBase::Reset()
{
    m_nState = 0;
}

BOOL CGridCellBase::Edit(int, int, CRect, CPoint, UINT, UINT)
{
    return FALSE;
}

BOOL CGridCellBase::ValidateEdit(LPCTSTR)
{
    return TRUE;
}

BOOL CGridCellBase::OnSetCursor()
{
    ::SetCursor(::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW));
    return TRUE;
}

// ---- Attributes as drawn -------------------------------------------------------------------

BOOL CGridCellBase::GetImageSize(CSize& size) const
{
    CGridCtrl* pGrid = GetGrid();
    if (pGrid == NULL || GetImage() < 0)
        return FALSE;
    CImageList* pImageList = pGrid->GetImageList();
    IMAGEINFO info;
    if (pImageList->GetSafeHandle() == NULL || !pImageList->GetImageInfo(GetImage(), &info))
        return FALSE;
    size = CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
    return TRUE;
}

COLORREF CGridCellBase::ResolvedTextColour(const CGridDefaultCell* pDefaultCell) const
{
    return GetTextColour() == CLR_DEFAULT ? pDefaultCell->GetTextColour() : GetTextColour();
}

COLORREF CGridCellBase::ResolvedBackColour(const CGridDefaultCell* pDefaultCell,
                                           BOOL& bOwnBack) const
{
    bOwnBack = GetBackColour() != CLR_DEFAULT;
    return bOwnBack ? GetBackColour() : pDefaultCell->GetBackColour();
}

// ---- Drawing ---------------------------------------------------------------------------------

void CGridCellBase::DrawRaisedEdge(CDC* pDC, const CRect& rect)
{
    const POINT light[] = { { rect.right, rect.top }, { rect.left, rect.top },
                            { rect.left, rect.bottom } };
    DrawLines(pDC, ::GetSysColor(COLOR_BTNHIGHLIGHT), light, 3);
    const POINT dark[] = { { rect.right, rect.top }, { rect.right, rect.bottom },
                           { rect.left, rect.bottom } };
    DrawLines(pDC, ::GetSysColor(COLOR_3DDKSHADOW), dark, 3);
}

int CGridCellBase::DrawSortArrow(CDC* pDC, CRect& rect, BOOL bAscending)
{
    const int nTextHeight = pDC->GetTextExtent(L"M", 1).cy;
    const int m = nTextHeight - 4 < rect.Height() ? nTextHeight - 4 : rect.Height() - 4;
    if (m <= 0 || rect.left + m >= rect.right)
        return 0;
    const LOGFONT* plf = GetFont();
    const BOOL bVertical = plf != NULL && plf->lfEscapement == 900;
    int x = rect.right - m;
    if (bVertical)
        x = (rect.left + x) / 2;
    const int b = rect.bottom;
    const int t = b - m - 2;
    if (bAscending)
    {
        const POINT light[] = { { x + 1, b - 1 }, { x + m / 2 + 1, t + 1 }, { x + m + 1, b - 1 },
                                { x + 1, b - 1 } };
        DrawLines(pDC, ::GetSysColor(COLOR_BTNHIGHLIGHT), light, 4);
        const POINT shadow[] = { { x, b - 2 }, { x + m / 2, t }, { x + m, b - 2 }, { x, b - 2 } };
        DrawLines(pDC, ::GetSysColor(COLOR_BTNSHADOW), shadow, 4);
    }
    else
    {
        const POINT light[] = { { x + 1, t + 1 }, { x + m / 2 + 1, b - 1 }, { x + m + 1, t + 1 },
                                { x + 1, t + 1 } };
        DrawLines(pDC, ::GetSysColor(COLOR_BTNHIGHLIGHT), light, 4);
        const POINT shadow[] = { { x, t }, { x + m / 2, b - 2 }, { x + m, t }, { x, t } };
        DrawLines(pDC, ::GetSysColor(COLOR_BTNSHADOW), shadow, 4);
    }
    if (!bVertical)
        rect.right -= m;
    return m;
}

void CGridCellBase::InsideMargin(CRect& rect) const
{
    const int nMargin = (int)GetMargin();
    rect.DeflateRect(nMargin, nMargin);
    Widen(rect);
}

BOOL CGridCellBase::GetTipTextRect(LPRECT pRect)
{
    CGridCtrl* pGrid = GetGrid();
    CRect rect(pRect);
    // As Draw places the text; the sort arrow, which the tip covers, is left out.
    if (IsFixed() && pGrid != NULL && pGrid->GetGridLines() != GridLinesNone)
        rect.DeflateRect(1, 1);
    InsideMargin(rect);
    GetTextRect(rect);
    Widen(rect);
    *pRect = rect;
    return TRUE;
}

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    CGridCtrl* pGrid = GetGrid();
    if (pGrid == NULL || pDC == NULL || rect.IsRectEmpty())
        return FALSE;
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    if (pDefaultCell == NULL)
        return FALSE;

    // What is changed is put back by hand, and a font already selected is not selected
    // again: SaveDC, RestoreDC and a font's selection each cost Wine more than the cell's
    // text.
    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pDC->GetTextColor();

    COLORREF crText = ResolvedTextColour(pDefaultCell);
    BOOL bOwnBack;
    COLORREF crBack = ResolvedBackColour(pDefaultCell, bOwnBack);
    if (bOwnBack)
        bEraseBkgnd = TRUE;
    const BOOL bGridLines = pGrid->GetGridLines() != GridLinesNone;

    if (IsFocused() || IsDropHighlighted())
    {
        if (IsSelected())
        {
            crBack = ::GetSysColor(COLOR_HIGHLIGHT);
            crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            bEraseBkgnd = TRUE;
        }
        Widen(rect);
        if (bEraseBkgnd)
            pDC->FillSolidRect(rect, crBack);
        // With grid lines the frame leaves the cell's last pixels to them.
        if (bGridLines)
            Narrow(rect);
        if (pGrid->GetFrameFocusCell())
        {
            CBrush brush;
            if (brush.CreateSolidBrush(crText))
                pDC->FrameRect(rect, &brush);
        }
        pDC->SetTextColor(crText);
        if (!bGridLines)
            Narrow(rect);
    }
    else if (IsSelected())
    {
        CRect rectFill = rect;
        Widen(rectFill);
        pDC->FillSolidRect(rectFill, ::GetSysColor(COLOR_HIGHLIGHT));
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    else
    {
        if (bEraseBkgnd)
        {
            CRect rectFill = rect;
            Widen(rectFill);
            pDC->FillSolidRect(rectFill, crBack);
        }
        pDC->SetTextColor(crText);
    }

    if (IsFixed() && bGridLines)
    {
        const CCellID focus = pGrid->GetFocusCell();
        if (pGrid->GetHighlightFocusHeadings() && pGrid->IsValidId(focus) &&
            (focus.row == nRow || focus.col == nCol))
        {
            Widen(rect);
            pDC->DrawEdge(rect, BDR_SUNKENINNER, BF_RECT);
            rect.DeflateRect(1, 1);
        }
        else
        {
            DrawRaisedEdge(pDC, rect);
            rect.DeflateRect(1, 1);
        }
    }

    CFont* pOldFont = NULL;
    if (!pDC->IsPrinting())
    {
        CFont* pFont = GetFontObject();
        if (pFont != NULL &&
            pFont->GetSafeHandle() != ::GetCurrentObject(pDC->m_hAttribDC, OBJ_FONT))
            pOldFont = pDC->SelectObject(pFont);
    }

    InsideMargin(rect);

    CSize sizeImage;
    if (GetImageSize(sizeImage) && rect.left + sizeImage.cx <= rect.right &&
        rect.top + sizeImage.cy <= rect.bottom)
        pGrid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);

    if (nRow == 0 && nCol == pGrid->GetSortColumn())
        DrawSortArrow(pDC, rect, pGrid->GetSortAscending());

    GetTextRect(rect);
    Widen(rect);
    pDC->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);

    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    pDC->SetTextColor(crOldText);
    pDC->SetBkMode(nOldBkMode);
    return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT pRect)
{
    CSize sizeImage;
    if (GetImageSize(sizeImage))
        pRect->left += sizeImage.cx + 1 + (int)GetMargin();
    return TRUE;
}

// ---- Measuring -----------------------------------------------------------------------------

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC)
{
    CGridCtrl* pGrid = GetGrid();
    const BOOL bHasText = szText != NULL && szText[0] != 0;
    CDC* pTakenDC = NULL;
    if (bHasText && pDC == NULL && pGrid->GetSafeHwnd() != NULL)
        pDC = pTakenDC = pGrid->GetDC();
    if (pDC == NULL || !bHasText)
    {
        if (pTakenDC != NULL)
            pGrid->ReleaseDC(pTakenDC);
        CGridDefaultCell* pDefaultCell = GetDefaultCell();
        return pDefaultCell == NULL ? CSize(0, 0)
                                    : CSize(pDefaultCell->GetWidth(), pDefaultCell->GetHeight());
    }

    CFont* pOldFont = NULL;
    if (CFont* pFont = GetFontObject())
        pOldFont = pDC->SelectObject(pFont);

    CSize size;
    const DWORD nFormat = GetFormat();
    if ((nFormat & DT_WORDBREAK) != 0 && (nFormat & DT_SINGLELINE) == 0)
    {
        // The widest line sets the width the text is broken to.
        int nWidest = 0;
        LPCTSTR pLine = szText;
        while (true)
        {
            LPCTSTR pEnd = pLine;
            while (*pEnd != 0 && *pEnd != L'\n')
                pEnd++;
            nWidest = std::max(nWidest, (int)pDC->GetTextExtent(pLine, (int)(pEnd - pLine)).cx);
            if (*pEnd == 0)
                break;
            pLine = pEnd + 1;
        }
        CRect rect(0, 0, nWidest + 1, 0);
        pDC->DrawText(szText, -1, rect, nFormat | DT_CALCRECT);
        size = CSize(nWidest, rect.Height());
    }
    else
    {
        size = pDC->GetTextExtent(szText, lstrlenW(szText));
    }
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    if (pTakenDC != NULL)
        pGrid->ReleaseDC(pTakenDC);

    const int nMargin = (int)GetMargin();
    size.cx += 2 * nMargin;
    size.cy += 2 * nMargin;
    const LOGFONT* plf = GetFont();
    if (plf != NULL && (plf->lfEscapement == 900 || plf->lfEscapement == -900))
    {
        const int nWidth = size.cx;
        size.cx = size.cy;
        size.cy = nWidth + 4 * nMargin;
    }
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* pDC)
{
    CSize size = GetTextExtent(GetText(), pDC);
    CSize sizeImage;
    if (GetImageSize(sizeImage))
    {
        const int nMargin = (int)GetMargin();
        size.cx += sizeImage.cx + (2 * nMargin < size.cx ? nMargin : 0);
        size.cy = std::max((int)size.cy, (int)sizeImage.cy + 2 * nMargin);
    }
    size.cx++;
    size.cy++;
    if (IsFixed())
    {
        size.cx++;
        size.cy++;
    }
    return size;
}

// ---- Printing --------------------------------------------------------------------------------

BOOL CGridCellBase::PrintCell(CDC* pDC, int, int, CRect rect)
{
    CGridCtrl* pGrid = GetGrid();
    if (pGrid == NULL || pDC == NULL || rect.IsRectEmpty())
        return FALSE;
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    if (pGrid->GetPrintColours() && pDefaultCell == NULL)
        return FALSE;

    const int nSavedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);

    if (pGrid->GetPrintColours())
    {
        BOOL bOwnBack;
        const COLORREF crBack = ResolvedBackColour(pDefaultCell, bOwnBack);
        const BOOL bPrintBack =
            IsFixed() || (bOwnBack && GetBackColour() != pDefaultCell->GetBackColour());
        COLORREF crText = ResolvedTextColour(pDefaultCell);
        if (pDC->GetDeviceCaps(NUMCOLORS) == 2 && !bPrintBack)
        {
            // A two-colour printer renders the text in the grey of its brightness.
            const BYTE grey = (BYTE)(0.3 * GetRValue(crText) + 0.59 * GetGValue(crText) +
                                     0.11 * GetBValue(crText));
            crText = RGB(grey, grey, grey);
        }
        else if (bPrintBack)
        {
            CRect rectFill = rect;
            Widen(rectFill);
            pDC->FillSolidRect(rectFill, crBack);
        }
        pDC->SetTextColor(crText);
    }
    else
    {
        pDC->SetTextColor(RGB(0, 0, 0));
    }

    if (CFont* pFont = GetFontObject())
        pDC->SelectObject(pFont);

    if (IsFixed() && pGrid->GetGridLines() != GridLinesNone)
    {
        DrawRaisedEdge(pDC, rect);
        rect.DeflateRect(1, 1);
    }

    const int nMargin = (int)GetMargin();
    rect.left += nMargin;
    rect.right -= nMargin;
    CSize sizeImage;
    if (GetImageSize(sizeImage))
    {
        pGrid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
        rect.left += sizeImage.cx + nMargin;
    }

    pDC->DrawText(GetText(), -1, rect, GetFormat() | DT_NOPREFIX);
    pDC->RestoreDC(nSavedDC);
    return TRUE;
}
