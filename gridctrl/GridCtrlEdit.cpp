// CGridCtrl: in-place editing from the grid's side. The cell opens its editor over itself;
// the editor hands its text and the key that ended it back in one notification, and a
// navigation key opens the next cell's editor at once.
#include "GridCtrl.h"

BOOL CGridCtrl::BeginCellEdit(int nRow, int nCol, CPoint point, UINT nChar)
{
    HideTitleTip();
    if (!IsCellEditable(nRow, nCol))
        return FALSE;
    EnsureVisible(nRow, nCol);
    CRect rect;
    if (!IsCellVisible(nRow, nCol) || !GetCellRect(nRow, nCol, rect))
        return FALSE;
    const LRESULT nAnswer = NotifyOwner(nRow, nCol, LVN_BEGINLABELEDITW);
    if (nAnswer < 0)
        return (BOOL)nAnswer;
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    return pCell->Edit(nRow, nCol, rect, point, IDC_INPLACE_CONTROL, nChar);
}

void CGridCtrl::EndEditing()
{
    if (CGridCellBase* pCell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        pCell->EndEdit();
}

void CGridCtrl::FinishCellEdit(int nRow, int nCol, LPCTSTR szText)
{
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell == NULL)
        return;
    if (CString(pCell->GetText()) != (szText == NULL ? L"" : szText))
        StoreCellText(nRow, nCol, pCell, szText);
    pCell->OnEndEdit();
    // A combo cell shows its text again once its list is gone.
    InvalidateCellRect(nRow, nCol);
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const GRIDITEM& item = ((const GRIDDISPINFO*)pNMHDR)->item;
    // An edit ends once: a second word from the same editor finds the cell done.
    if (!IsItemEditing(item.row, item.col))
        return;
    FinishCellEdit(item.row, item.col, item.strText);

    const UINT nKey = (UINT)item.lParam;
    switch (nKey)
    {
    case VK_TAB:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    {
        const CCellID cellBefore = m_idCurrentCell;
        OnKeyDown(nKey, 0, 0);
        // At the grid's edges the key leads nowhere: the edit simply ends.
        if (m_idCurrentCell != cellBefore)
            BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1),
                          GRID_EDIT_KEY | nKey);
        break;
    }
    default:
        break;
    }
}

void CGridCtrl::ClearSelectedText()
{
    if (!m_bEditable)
        return;
    // Taken out first: the owner's answers may change the selection.
    std::vector<CCellID> selected;
    selected.reserve(m_SelectedCellMap.size());
    for (const auto& entry : m_SelectedCellMap)
        selected.push_back(entry.second);
    for (const CCellID& cell : selected)
        ChangeCellText(cell.row, cell.col, L"");
}
