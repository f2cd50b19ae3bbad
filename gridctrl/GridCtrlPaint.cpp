// CGridCtrl: painting, the redrawing of single cells, and auto-sizing.
#include "GridCtrl.h"

#include <algorithm>
#include <climits>

#include "AfxMemDC.h"

namespace
{

// The grid lines of a non-fixed cell along its right and bottom edges, which RedrawCell adds.
void DrawCellGridLines(CDC* pDC, const CRect& rect, int nGridLines, COLORREF crLine)
{
    CPen pen;
    if (nGridLines == GridLinesNone || !pen.CreatePen(PS_SOLID, 0, crLine))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    if ((nGridLines & GridLinesHorz) != 0)
    {
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.right + 1, rect.bottom);
    }
    if ((nGridLines & GridLinesVert) != 0)
    {
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom + 1);
    }
    pDC->SelectObject(pOldPen);
}

} // namespace

BOOL CGridCtrl::OnEraseBkgnd(CDC*)
{
    // Painting fills the background itself.
    return TRUE;
}

void CGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    const CRect rectPaint(dc.m_ps.rcPaint);
    if (rectPaint.IsRectEmpty())
        return;
    CMemDC memDC(dc, rectPaint);
    OnDraw(&memDC.GetDC());
}

void CGridCtrl::Refresh()
{
    if (GetSafeHwnd() != NULL && m_bAllowDraw)
        Invalidate(TRUE);
}

BOOL CGridCtrl::InvalidateCellRect(int nRow, int nCol)
{
    CRect rect;
    if (GetSafeHwnd() == NULL || !m_bAllowDraw || !IsCellVisible(nRow, nCol) ||
        !GetCellRect(nRow, nCol, rect))
        return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC)
{
    CRect rect;
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol) || !GetCellRect(nRow, nCol, rect))
        return FALSE;
    CDC* pTakenDC = NULL;
    if (pDC == NULL)
    {
        pDC = pTakenDC = GetDC();
        if (pDC == NULL)
        {
            InvalidateRect(rect, TRUE);
            return TRUE;
        }
    }

    BOOL bResult = TRUE;
    if (CGridCellBase* pCell = GetCell(nRow, nCol))
    {
        pCell->SetCoords(nRow, nCol);
        bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);
        // Fixed cells draw their own edges.
        if (nRow >= m_nFixedRows && nCol >= m_nFixedCols)
            DrawCellGridLines(pDC, rect, m_nGridLines, m_crGridLineColour);
    }
    if (pTakenDC != NULL)
        ReleaseDC(pTakenDC);
    return bResult;
}

template <class Draw>
void CGridCtrl::ForEachShownLine(GridAxis axis, int nFirst, int nLast, int nStart, int nClipStart,
                                 int nClipEnd, Draw draw) const
{
    int nEnd = nStart - 1;
    for (int nLine = nFirst; nLine <= nLast; nLine++)
    {
        const int nSize = LineSize(axis, nLine);
        if (nSize <= 0)
            continue;
        const int nLineStart = nEnd + 1;
        nEnd = nLineStart + nSize - 1;
        if (nLineStart >= nClipEnd)
            break;
        if (nEnd >= nClipStart)
            draw(nLine, nLineStart, nEnd);
    }
}

void CGridCtrl::DrawCellBlock(CDC* pDC, const CRect& rectClip, int nMinRow, int nMaxRow, int nTop,
                              int nMinCol, int nMaxCol, int nLeft)
{
    ForEachShownLine(AxisRows, nMinRow, nMaxRow, nTop, rectClip.top, rectClip.bottom,
                     [&](int nRow, int nRowTop, int nRowBottom) {
        ForEachShownLine(AxisColumns, nMinCol, nMaxCol, nLeft, rectClip.left, rectClip.right,
                         [&](int nCol, int nColLeft, int nColRight) {
            if (CGridCellBase* pCell = GetCell(nRow, nCol))
            {
                pCell->SetCoords(nRow, nCol);
                pCell->Draw(pDC, nRow, nCol, CRect(nColLeft, nRowTop, nColRight, nRowBottom),
                            FALSE);
            }
        });
    });
}

void CGridCtrl::OnDraw(CDC* pDC)
{
    CRect rectClip;
    if (!m_bAllowDraw || pDC->GetClipBox(rectClip) == ERROR)
        return;
    FillBackground(pDC);

    const int nFixedHeight = GetFixedRowHeight();
    const int nFixedWidth = GetFixedColumnWidth();
    CRect rectVisible;
    const CCellRange visible = GetVisibleNonFixedCellRange(rectVisible);

    // A virtual grid's owner learns which of its cells are about to be read.
    if (m_bVirtualMode)
        NotifyCacheHint(CCellRange(visible.m_nMinRow, visible.m_nMinCol, visible.m_nMaxRow,
                                   visible.m_nMaxCol));
    // Cells in the grid's font find it selected.
    CFont* pOldFont = NULL;
    if (CFont* pFont = m_cellDefault.GetFontObject())
        pOldFont = pDC->SelectObject(pFont);
    // The corner, the fixed columns of the visible rows, the fixed rows of the visible
    // columns, then the visible non-fixed cells.
    DrawCellBlock(pDC, rectClip, 0, m_nFixedRows - 1, 0, 0, m_nFixedCols - 1, 0);
    DrawCellBlock(pDC, rectClip, visible.m_nMinRow, visible.m_nMaxRow, nFixedHeight, 0,
                  m_nFixedCols - 1, 0);
    DrawCellBlock(pDC, rectClip, 0, m_nFixedRows - 1, 0, visible.m_nMinCol, visible.m_nMaxCol,
                  nFixedWidth);
    DrawCellBlock(pDC, rectClip, visible.m_nMinRow, visible.m_nMaxRow, nFixedHeight,
                  visible.m_nMinCol, visible.m_nMaxCol, nFixedWidth);
    if (m_bVirtualMode)
        NotifyCacheHint(CCellRange());
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);

    // Grid lines on the last pixels of the non-fixed cells; fixed cells draw their own edges.
    CPen pen;
    if (m_nGridLines == GridLinesNone || !pen.CreatePen(PS_SOLID, 0, m_crGridLineColour))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    if ((m_nGridLines & GridLinesVert) != 0)
        ForEachShownLine(AxisColumns, visible.m_nMinCol, visible.m_nMaxCol, nFixedWidth, INT_MIN,
                         INT_MAX, [&](int, int, int nRight) {
            pDC->MoveTo(nRight, nFixedHeight);
            pDC->LineTo(nRight, rectVisible.bottom);
        });
    if ((m_nGridLines & GridLinesHorz) != 0)
        ForEachShownLine(AxisRows, visible.m_nMinRow, visible.m_nMaxRow, nFixedHeight, INT_MIN,
                         INT_MAX, [&](int, int, int nBottom) {
            pDC->MoveTo(nFixedWidth, nBottom);
            pDC->LineTo(rectVisible.right, nBottom);
        });
    pDC->SelectObject(pOldPen);
}

void CGridCtrl::FillBackground(CDC* pDC)
{
    CRect rectClip;
    if (pDC->GetClipBox(rectClip) == ERROR)
        return;
    const int f = GetFixedColumnWidth();
    const int g = GetFixedRowHeight();
    CRect v;
    GetVisibleNonFixedCellRange(v);

    if (rectClip.left < f && rectClip.top < g)
        pDC->FillSolidRect(CRect(rectClip.left, rectClip.top, f, g),
                           GetDefaultCell(TRUE, TRUE)->GetBackColour());
    // Below the corner, which keeps its own colour.
    if (rectClip.left < f && rectClip.top < v.bottom)
        pDC->FillSolidRect(CRect(rectClip.left, std::max((int)rectClip.top, g), f, v.bottom),
                           GetDefaultCell(FALSE, TRUE)->GetBackColour());
    if (rectClip.top < g && rectClip.right > f && rectClip.left < v.right)
        pDC->FillSolidRect(CRect(f - 1, rectClip.top, v.right, g),
                           GetDefaultCell(TRUE, FALSE)->GetBackColour());
    CRect rectCells;
    if (rectCells.IntersectRect(rectClip, v))
    {
        rectCells.left = std::max((int)rectCells.left, f);
        rectCells.top = std::max((int)rectCells.top, g);
        if (!rectCells.IsRectEmpty())
            pDC->FillSolidRect(rectCells, GetDefaultCell(FALSE, FALSE)->GetBackColour());
    }
    if (v.right < rectClip.right)
        pDC->FillSolidRect(CRect(v.right, rectClip.top, rectClip.right, rectClip.bottom),
                           m_crGridBkColour);
    if (v.bottom < rectClip.bottom && rectClip.left < v.right)
        pDC->FillSolidRect(CRect(rectClip.left, v.bottom, v.right, rectClip.bottom),
                           m_crGridBkColour);
}

// ---- Auto-sizing -----------------------------------------------------------------------------

BOOL CGridCtrl::LargestExtent(GridAxis axis, int nLine, int nFirst, int nLast, int& nLargest)
{
    // Without window the screen's DC measures as well.
    CDC* pDC = GetDC();
    if (pDC == NULL)
        return FALSE;
    nLargest = -1;
    if (m_bVirtualMode)
        NotifyCacheHint(axis == AxisColumns ? CCellRange(nFirst, nLine, nLast, nLine)
                                            : CCellRange(nLine, nFirst, nLine, nLast));
    for (int i = nFirst; i <= nLast; i++)
    {
        CGridCellBase* pCell = axis == AxisColumns ? GetCell(i, nLine) : GetCell(nLine, i);
        if (pCell == NULL)
            continue;
        const CSize size = pCell->GetCellExtent(pDC);
        nLargest = std::max(nLargest, (int)(axis == AxisColumns ? size.cx : size.cy));
    }
    if (m_bVirtualMode)
        NotifyCacheHint(CCellRange());
    ReleaseDC(pDC);
    return TRUE;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeScope, BOOL bResetScroll)
{
    // Hidden columns stay hidden.
    if (GetColumnWidth(nCol) <= 0)
        return FALSE;
    if (nAutoSizeScope == GridAutoSizeDefault)
        nAutoSizeScope = m_nAutoSizeScope;
    const int nFirst = (nAutoSizeScope & GridAutoSizeFixed) != 0 ? 0 : m_nFixedRows;
    const int nLast = (nAutoSizeScope & GridAutoSizeNonFixed) != 0 ? m_nRows - 1 : m_nFixedRows - 1;
    int nWidth;
    if (!LargestExtent(AxisColumns, nCol, nFirst, nLast, nWidth))
        return FALSE;
    // A scope without cells leaves the width as it was.
    if (nWidth >= 0)
        m_arColWidths[GetStorageColumn(nCol)] = (UINT)nWidth;
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSizeColumns(UINT nAutoSizeScope)
{
    for (int nCol = 0; nCol < m_nCols; nCol++)
    {
        if (GetColumnWidth(nCol) > 0)
            AutoSizeColumn(nCol, nAutoSizeScope, FALSE);
    }
    ResetScrollBars();
}

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll)
{
    if (GetRowHeight(nRow) <= 0)
        return FALSE;
    int nHeight;
    if (!LargestExtent(AxisRows, nRow, 0, m_nCols - 1, nHeight))
        return FALSE;
    if (nHeight >= 0)
        m_arRowHeights[nRow] = (UINT)nHeight;
    if (bResetScroll)
        ResetScrollBars();
    return TRUE;
}
