#include "GridCellCheck.h"

#include <algorithm>

#include "GridCtrl.h"

IMPLEMENT_DYNCREATE(CGridCellCheck, CGridCell)

CGridCellCheck::CGridCellCheck() : m_bChecked(FALSE), m_rectLast(0, 0, 0, 0) {}

BOOL CGridCellCheck::SetCheck(BOOL bChecked)
{
    const BOOL bPrevious = m_bChecked;
    m_bChecked = bChecked;
    InvalidateLastRect();
    return bPrevious;
}

void CGridCellCheck::InvalidateLastRect()
{
    if (!m_rectLast.IsRectEmpty() && GetGrid()->GetSafeHwnd() != NULL)
        GetGrid()->InvalidateRect(m_rectLast, TRUE);
}

CRect CGridCellCheck::GetCheckRect() const
{
    const int nSide = ::GetSystemMetrics(SM_CXHSCROLL);
    const int nMargin = (int)GetMargin();
    const CPoint topLeft(m_rectLast.left + nMargin, m_rectLast.top + nMargin);
    return CRect(topLeft, CSize(nSide, nSide));
}

BOOL CGridCellCheck::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    const BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    m_rectLast = rect;
    CRect rectCheck = GetCheckRect();
    pDC->DrawFrameControl(rectCheck, DFC_BUTTON,
                          DFCS_BUTTONCHECK | (m_bChecked ? DFCS_CHECKED : 0));
    return bResult;
}

BOOL CGridCellCheck::GetTextRect(LPRECT pRect)
{
    const BOOL bResult = CGridCell::GetTextRect(pRect);
    pRect->left = std::min(pRect->right, pRect->left + ::GetSystemMetrics(SM_CXHSCROLL) +
                                             2 * (int)GetMargin());
    return bResult;
}

CSize CGridCellCheck::GetCellExtent(CDC* pDC)
{
    const int nBox = ::GetSystemMetrics(SM_CXHSCROLL) + 2 * (int)GetMargin();
    return CGridCell::GetCellExtent(pDC) + CSize(nBox, nBox);
}

void CGridCellCheck::OnClick(CPoint pointCellRelative)
{
    // The hooks get points relative to the cell; the box is in client coordinates.
    const CPoint point = pointCellRelative + m_rectLast.TopLeft();
    if (GetCheckRect().PtInRect(point))
        Toggle();
}

BOOL CGridCellCheck::Edit(int, int, CRect, CPoint, UINT, UINT nChar)
{
    if (nChar != L' ')
        return FALSE;
    Toggle();
    return TRUE;
}

void CGridCellCheck::Toggle()
{
    m_bChecked = !m_bChecked;
    InvalidateLastRect();
}
