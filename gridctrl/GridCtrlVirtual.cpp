// CGridCtrl: the virtual mode, in which the grid keeps no cells and asks its owner for the
// contents of each cell it needs, and the row order that maps its rows to the owner's.
#include "GridCtrl.h"

#include <algorithm>

namespace
{

// The receiver of the grid's records: its owner, else its parent; NULL without windows.
CWnd* NotifyTarget(const CWnd* pGrid)
{
    if (pGrid->GetSafeHwnd() == NULL || !::IsWindow(pGrid->m_hWnd))
        return NULL;
    CWnd* pOwner = pGrid->GetOwner();
    return pOwner->GetSafeHwnd() != NULL && ::IsWindow(pOwner->m_hWnd) ? pOwner : NULL;
}

} // namespace

LRESULT CGridCtrl::NotifyOwner(int nRow, int nCol, int nCode)
{
    CWnd* pTarget = NotifyTarget(this);
    if (pTarget == NULL)
        return 0;
    NM_GRIDVIEW record = {};
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    record.hdr.code = (UINT)nCode;
    record.iRow = nRow;
    record.iColumn = nCol;
    return pTarget->SendMessage(WM_NOTIFY, record.hdr.idFrom, (LPARAM)&record);
}

LRESULT CGridCtrl::NotifyCacheHint(const CCellRange& range)
{
    CWnd* pTarget = NotifyTarget(this);
    if (pTarget == NULL)
        return 0;
    GRIDCACHEHINT record;
    record.hdr = NMHDR();
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    record.hdr.code = (UINT)LVN_ODCACHEHINT;
    record.range = range;
    return pTarget->SendMessage(WM_NOTIFY, record.hdr.idFrom, (LPARAM)&record);
}

LRESULT CGridCtrl::RequestDisplayInfo(GRIDDISPINFO* pRecord)
{
    CWnd* pTarget = NotifyTarget(this);
    if (pTarget == NULL)
        return 0;
    pRecord->hdr.hwndFrom = m_hWnd;
    pRecord->hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
    pRecord->hdr.code = (UINT)LVN_GETDISPINFOW;
    return pTarget->SendMessage(WM_NOTIFY, pRecord->hdr.idFrom, (LPARAM)pRecord);
}

void CGridCtrl::SetVirtualMode(BOOL bVirtual)
{
    if ((bVirtual != FALSE) == (m_bVirtualMode != FALSE))
        return;
    // The two modes keep their rows differently: the grid starts empty in the new one.
    DeleteAllItems();
    m_bVirtualMode = bVirtual;
}

void CGridCtrl::SetCallbackFunc(GRIDCALLBACK pfnCallback, LPARAM lParam)
{
    m_pfnCallback = pfnCallback;
    m_lCallbackParam = lParam;
}

CGridCellBase* CGridCtrl::GetVirtualCell(int nRow, int nCol) const
{
    if (!IsValid(nRow, nCol))
        return NULL;
    const BOOL bFixedRow = nRow < m_nFixedRows;
    const BOOL bFixedCol = nCol < m_nFixedCols;
    const CGridDefaultCell* pDefault = GetDefaultCell(bFixedRow, bFixedCol);

    GRIDITEM& item = m_virtualRecord.item;
    item.row = nRow;
    item.col = nCol;
    item.mask = 0xFFFFFFFF;
    item.nState = 0;
    item.nFormat = pDefault->GetFormat();
    item.iImage = pDefault->GetImage();
    item.crBkClr = pDefault->GetBackColour();
    item.crFgClr = pDefault->GetTextColour();
    item.lParam = pDefault->GetData();
    if (const LOGFONT* plf = pDefault->GetFont())
        item.lfFont = *plf;
    item.nMargin = pDefault->GetMargin();
    item.strText.Empty();
    if (IsCellSelected(nRow, nCol))
        item.nState |= GridCellSelected;
    if (bFixedRow)
        item.nState |= GridCellFixed | GridCellFixedRow;
    if (bFixedCol)
        item.nState |= GridCellFixed | GridCellFixedCol;
    if (CCellID(nRow, nCol) == m_idCurrentCell)
        item.nState |= GridCellFocused;

    if (!m_bDestroying)
    {
        // The owner knows its rows and columns by their own numbers.
        item.row = nRow < (int)m_arRowOrder.size() ? m_arRowOrder[nRow] : nRow;
        item.col = GetStorageColumn(nCol);
        CGridCtrl* pThis = const_cast<CGridCtrl*>(this);
        if (m_pfnCallback != NULL)
            m_pfnCallback(&m_virtualRecord, m_lCallbackParam);
        else
            pThis->RequestDisplayInfo(&m_virtualRecord);
        item.row = nRow;
        item.col = nCol;
    }

    CGridCell& cell = m_virtualCell;
    cell.SetGrid(const_cast<CGridCtrl*>(this));
    cell.SetState(item.nState);
    cell.SetFormat(item.nFormat);
    cell.SetImage(item.iImage);
    cell.SetBackColour(item.crBkClr);
    cell.SetTextColour(item.crFgClr);
    cell.SetData(item.lParam);
    cell.SetFont(&item.lfFont);
    cell.SetMargin(item.nMargin);
    cell.SetText(item.strText);
    return &cell;
}

// ---- The row order -----------------------------------------------------------------------------

void CGridCtrl::ResetRowOrder()
{
    m_arRowOrder.resize(m_nRows);
    for (int i = 0; i < m_nRows; i++)
        m_arRowOrder[i] = i;
}

void CGridCtrl::ShiftRowOrder(int nRow, int nCount)
{
    if (!m_bVirtualMode || nCount == 0 || nRow < 0)
        return;
    // The entries are the owner's row numbers: they are renumbered by value, wherever a
    // sort or a drag put them, so that the order stays a permutation.
    if (nCount > 0)
    {
        for (int& nEntry : m_arRowOrder)
            if (nEntry >= nRow)
                nEntry += nCount;
        const size_t nAt = std::min((size_t)nRow, m_arRowOrder.size());
        for (int i = nCount - 1; i >= 0; i--)
            m_arRowOrder.insert(m_arRowOrder.begin() + nAt, nRow + i);
        return;
    }
    const int nRemoved = -nCount;
    m_arRowOrder.erase(std::remove_if(m_arRowOrder.begin(), m_arRowOrder.end(),
                                      [&](int nEntry) {
                                          return nEntry >= nRow && nEntry < nRow + nRemoved;
                                      }),
                       m_arRowOrder.end());
    for (int& nEntry : m_arRowOrder)
        if (nEntry >= nRow + nRemoved)
            nEntry -= nRemoved;
}

BOOL CGridCtrl::MoveRowInOrder(int nFrom, int nTo)
{
    const int nSize = (int)m_arRowOrder.size();
    if (nFrom < 0 || nFrom >= nSize || nTo < 0 || nTo >= nSize)
        return FALSE;
    if (nFrom == nTo)
        return TRUE;
    // The row lands just after the one it was dropped on.
    const int nEntry = m_arRowOrder[nFrom];
    m_arRowOrder.erase(m_arRowOrder.begin() + nFrom);
    m_arRowOrder.insert(m_arRowOrder.begin() + (nFrom >= nTo ? nTo + 1 : nTo), nEntry);
    return TRUE;
}
