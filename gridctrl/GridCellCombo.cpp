#include "GridCellCombo.h"

#include "GridCtrl.h"
#include "InPlaceList.h"

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

CGridCellCombo::CGridCellCombo() : m_dwStyle(CBS_DROPDOWN) {}

void CGridCellCombo::SetOptions(const CStringArray& options)
{
    m_arOptions.Copy(options);
}

BOOL CGridCellCombo::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    m_bEditing = TRUE;
    return TakeEditor(new CInPlaceList(GetGrid(), rect, m_dwStyle, nID, nRow, nCol,
                                       GetTextColour(), GetBackColour(), m_arOptions, GetText(),
                                       nChar));
}

void CGridCellCombo::EndEdit()
{
    if (CInPlaceList* pList = dynamic_cast<CInPlaceList*>(CGridCell::GetEditWnd()))
        pList->EndEdit();
}

CWnd* CGridCellCombo::GetEditWnd() const
{
    CInPlaceList* pList = dynamic_cast<CInPlaceList*>(CGridCell::GetEditWnd());
    if (pList == NULL || (m_dwStyle & 0x3) == CBS_DROPDOWNLIST)
        return NULL;
    return &pList->GetEditPart();
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
