// CGridCtrl: which cells are selected. The selection map and the cells' selected bits
// change together through SetItemState; every change is drawn at once or invalidated.
#include "GridCtrl.h"

#include <algorithm>

#include "AfxApp.h"

void CGridCtrl::RedrawOrInvalidate(int nRow, int nCol, CDC* pDC)
{
    if (pDC != NULL)
        RedrawCell(nRow, nCol, pDC);
    else
        InvalidateCellRect(nRow, nCol);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                                 BOOL bForceRepaint, BOOL bSelectCells)
{
    if (!m_bEnableSelection)
        return;
    CWaitCursor wait;
    const BOOL bWindow = GetSafeHwnd() != NULL;
    CDC* pDC = bForceRepaint && bWindow ? GetDC() : NULL;

    CCellRange visible, visibleFixed;
    if (bWindow)
    {
        visible = GetVisibleNonFixedCellRange();
        visibleFixed = GetVisibleFixedCellRange();
    }
    auto isVisible = [&](int nRow, int nCol) {
        auto inRange = [nRow, nCol](const CCellRange& r) {
            return nRow >= r.m_nMinRow && nRow <= r.m_nMaxRow && nCol >= r.m_nMinCol &&
                   nCol <= r.m_nMaxCol;
        };
        return bWindow && (inRange(visible) || inRange(visibleFixed));
    };
    auto setSelected = [&](int nRow, int nCol, BOOL bSelected) {
        const DWORD nState = GetItemState(nRow, nCol);
        SetItemState(nRow, nCol,
                     bSelected ? nState | GridCellSelected : nState & ~GridCellSelected);
        if (isVisible(nRow, nCol))
            RedrawOrInvalidate(nRow, nCol, pDC);
    };

    // Fixed cells are never selected: bounds in them move to the first selectable ones.
    if (nMinRow >= 0 && nMinRow < m_nFixedRows)
        nMinRow = m_nFixedRows;
    if (nMaxRow >= 0 && nMaxRow < m_nFixedRows)
        nMaxRow = m_nFixedRows;
    if (!m_bRowSelectionWithFixedCols)
    {
        if (nMinCol >= 0 && nMinCol < m_nFixedCols)
            nMinCol = m_nFixedCols;
        if (nMaxCol >= 0 && nMaxCol < m_nFixedCols)
            nMaxCol = m_nFixedCols;
    }
    const CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);
    const BOOL bAllSet = nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0;
    const BOOL bInGrid = bAllSet && IsValidRange(range);
    auto inNewRange = [&](const CCellID& cell) {
        return cell.row >= nMinRow && cell.row <= nMaxRow && cell.col >= nMinCol &&
               cell.col <= nMaxCol;
    };

    if (bSelectCells)
    {
        // Taken out first: unselecting a cell removes it from the map.
        std::vector<CCellID> selected;
        selected.reserve(m_SelectedCellMap.size());
        for (const auto& entry : m_SelectedCellMap)
            selected.push_back(entry.second);
        for (const CCellID& cell : selected)
        {
            if (!IsValidId(cell))
            {
                m_SelectedCellMap.erase(SelectionKey(cell.row, cell.col));
                continue;
            }
            const DWORD nState = GetItemState(cell.row, cell.col);
            SetItemState(cell.row, cell.col, nState & ~GridCellSelected);
            if (!inNewRange(cell) && isVisible(cell.row, cell.col))
                RedrawOrInvalidate(cell.row, cell.col, pDC);
        }

        // What was selected when a Ctrl+click began stays selected.
        if (!(m_bListMode && m_bSingleRowSelection) && bAllSet)
        {
            for (const auto& entry : m_PrevSelectedCellMap)
                if (IsValidId(entry.second))
                    setSelected(entry.second.row, entry.second.col, TRUE);
        }

        if (bInGrid)
        {
            for (int nRow = nMinRow; nRow <= nMaxRow; nRow++)
                for (int nCol = nMinCol; nCol <= nMaxCol; nCol++)
                    if (!IsCellSelected(nRow, nCol))
                        setSelected(nRow, nCol, TRUE);
        }
    }
    else if (bInGrid)
    {
        for (int nRow = nMinRow; nRow <= nMaxRow; nRow++)
            for (int nCol = nMinCol; nCol <= nMaxCol; nCol++)
                if (IsCellSelected(nRow, nCol))
                    setSelected(nRow, nCol, FALSE);
    }

    if (pDC != NULL)
        ReleaseDC(pDC);
}

void CGridCtrl::SetSelectedRangeFrom(const CCellRange& range, BOOL bForceRepaint,
                                     BOOL bSelectCells)
{
    SetSelectedRange(range.m_nMinRow, range.m_nMinCol, range.m_nMaxRow, range.m_nMaxCol,
                     bForceRepaint, bSelectCells);
}

void CGridCtrl::SelectAllCells()
{
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectCells(CCellID cell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || !IsValidId(cell) || cell.row < m_nFixedRows ||
        cell.col < m_nFixedCols)
        return;
    SetSelectedRange(std::min(m_idSelectionAnchor.row, cell.row),
                     std::min(m_idSelectionAnchor.col, cell.col),
                     std::max(m_idSelectionAnchor.row, cell.row),
                     std::max(m_idSelectionAnchor.col, cell.col), bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectColumns(CCellID cell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (cell.col < m_nFixedCols || cell.col >= m_nCols)
        return;
    const int nAnchor = m_bSingleColSelection ? cell.col : m_idSelectionAnchor.col;
    const int nFirst = std::min(nAnchor, cell.col);
    const int nLast = std::max(nAnchor, cell.col);
    SetSelectedRange(m_nFixedRows, nFirst, m_nRows - 1, nLast, bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectRows(CCellID cell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (cell.row < m_nFixedRows || cell.row >= m_nRows)
        return;
    const BOOL bOneRow = m_bListMode && m_bSingleRowSelection;
    const int nFirst = bOneRow ? cell.row : std::min(m_idSelectionAnchor.row, cell.row);
    const int nLast = bOneRow ? cell.row : std::max(m_idSelectionAnchor.row, cell.row);
    SetSelectedRange(nFirst, m_bRowSelectionWithFixedCols ? 0 : m_nFixedCols, nLast,
                     m_nCols - 1, bForceRedraw, bSelectCells);
}

void CGridCtrl::ExtendSelection(CCellID cell)
{
    switch (m_nMouseMode)
    {
    case GridMouseSelectAll:
        SelectAllCells();
        break;
    case GridMouseSelectColumns:
        SelectColumns(cell);
        break;
    case GridMouseSelectRows:
        SelectRows(cell);
        break;
    case GridMouseSelectCells:
        SelectCells(cell);
        break;
    default:
        break;
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    CCellRange range(m_nRows, m_nCols, -1, -1);
    for (const auto& entry : m_SelectedCellMap)
    {
        const CCellID& cell = entry.second;
        range.m_nMinRow = std::min(range.m_nMinRow, cell.row);
        range.m_nMinCol = std::min(range.m_nMinCol, cell.col);
        range.m_nMaxRow = std::max(range.m_nMaxRow, cell.row);
        range.m_nMaxCol = std::max(range.m_nMaxCol, cell.col);
    }
    return range;
}

void CGridCtrl::OnEditSelectAll()
{
    NotifyOwner(m_idCurrentCell.row, m_idCurrentCell.col, LVN_ITEMCHANGING);
    SelectAllCells();
    NotifyOwner(m_idCurrentCell.row, m_idCurrentCell.col, LVN_ITEMCHANGED);
}

void CGridCtrl::OnFixedRowClick(CCellID& cell)
{
    if (m_bSortOnClick)
    {
        CWaitCursor wait;
        SortByColumn(cell.col, !(cell.col == m_nSortColumn && m_bAscending));
        Invalidate();
    }
    if (m_bFixedRowSelection)
    {
        m_nMouseMode = cell.col < m_nFixedCols ? GridMouseSelectAll : GridMouseSelectColumns;
        ExtendSelection(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell)
{
    if (m_bFixedColumnSelection)
    {
        m_nMouseMode = cell.row < m_nFixedRows ? GridMouseSelectAll : GridMouseSelectRows;
        ExtendSelection(cell);
    }
}
