#include "GridCellCombo.h"

#include "GridCtrl.h"

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

CGridCellCombo::CGridCellCombo() : m_dwStyle(CBS_DROPDOWN) {}

void CGridCellCombo::SetOptions(const CStringArray& options)
{
    m_arOptions.Copy(options);
}

BOOL CGridCellCombo::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    CGridCtrl* pGrid = GetGrid();
    const int cyButton = ::GetSystemMetrics(SM_CYHSCROLL);
    if (pGrid != NULL && pDC != NULL && pGrid->IsCellEditable(nRow, nCol) && !IsEditing() &&
        rect.Width() > cyButton && rect.Height() > cyButton)
    {
        CRect rectButton(rect.right - ::GetSystemMetrics(SM_CXVSCROLL), rect.top, rect.right,
                         rect.top + cyButton);
        pDC->DrawFrameControl(rectButton, DFC_SCROLL, DFCS_SCROLLDOWN);
        rect.right = rectButton.left;
    }
    if (!IsEditing())
        return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);

    // The editor shows the text; the cell underneath stays empty.
    CString strText = m_strText;
    m_strText.Empty();
    const BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    m_strText = strText;
    return bResult;
}

CSize CGridCellCombo::GetCellExtent(CDC* pDC)
{
    return CGridCell::GetCellExtent(pDC) +
           CSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
}
