// CGridCtrl: sorting rows by a column. In normal mode whole rows move, cells and heights
// together; in virtual mode only the row order does.
#include "GridCtrl.h"

#include <algorithm>
#include <utility>

void CGridCtrl::SetSortColumn(int nCol)
{
    if (m_nSortColumn >= 0)
        InvalidateCellRect(0, m_nSortColumn);
    m_nSortColumn = nCol;
    if (nCol >= 0)
        InvalidateCellRect(0, nCol);
}

BOOL CGridCtrl::SortByColumn(int nCol, BOOL bAscending, LPARAM lParamSort)
{
    return SortByColumnWith(m_pfnCompare != NULL ? m_pfnCompare : CompareCellText, nCol,
                            bAscending, lParamSort);
}

BOOL CGridCtrl::SortByColumnWith(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending,
                                 LPARAM lParamSort)
{
    SetSortColumn(nCol);
    m_bAscending = bAscending;
    ResetSelectedRange();
    SetFocusCell(CCellID());
    return SortRowRange(pfnCompare, nCol, bAscending, lParamSort, m_nFixedRows, -1);
}

void CGridCtrl::SwapRows(int nRow1, int nRow2)
{
    std::swap(m_RowData[nRow1], m_RowData[nRow2]);
    std::swap(m_arRowHeights[nRow1], m_arRowHeights[nRow2]);
}

bool CGridCtrl::CompareRowsVirtual(int nRow1, int nRow2) const
{
    // The ascending comparison with the rows exchanged: equal rows stay equal, so that the
    // order stays a strict weak one.
    return m_pfnVirtualCompare != NULL && m_pfnVirtualCompare(nRow2, nRow1);
}

BOOL CGridCtrl::SortRowRange(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending,
                             LPARAM lParamSort, int nLow, int nHigh)
{
    if (nCol < 0 || nCol >= m_nCols)
        return FALSE;
    if (nHigh == -1)
        nHigh = m_nRows - 1;
    if (nLow < 0 || nHigh >= m_nRows || nLow >= nHigh)
        return FALSE;

    if (m_bVirtualMode)
    {
        if (m_pfnVirtualCompare == NULL || (int)m_arRowOrder.size() < m_nRows)
            return FALSE;
        // The owner's comparison reads the sort column from here.
        m_nDragColumn = GetStorageColumn(nCol);
        auto first = m_arRowOrder.begin() + m_nFixedRows;
        if (bAscending)
            std::stable_sort(first, m_arRowOrder.end(), m_pfnVirtualCompare);
        else
            std::stable_sort(first, m_arRowOrder.end(),
                             [this](int a, int b) { return CompareRowsVirtual(a, b); });
        return TRUE;
    }

    if (pfnCompare == NULL)
        return FALSE;
    // The sign a row before the pivot gives.
    const int nBefore = bAscending ? -1 : 1;
    auto compare = [&](CGridCellBase* p1, CGridCellBase* p2) {
        return pfnCompare((LPARAM)p1, (LPARAM)p2, lParamSort) * -nBefore;
    };
    // The smaller part recursively, the larger one in this loop: the depth stays logarithmic.
    while (nLow < nHigh)
    {
        // The pivot is the cell itself, which travels with its row.
        CGridCellBase* pPivot = GetCell((nLow + nHigh) / 2, nCol);
        int i = nHigh;
        int j = nLow;
        while (i >= j)
        {
            while (j < nHigh && compare(GetCell(j, nCol), pPivot) < 0)
                j++;
            while (i > nLow && compare(GetCell(i, nCol), pPivot) > 0)
                i--;
            if (i >= j)
            {
                if (compare(GetCell(j, nCol), GetCell(i, nCol)) != 0)
                    SwapRows(i, j);
                i--;
                j++;
            }
        }
        if (i - nLow < nHigh - j)
        {
            if (nLow < i)
                SortRowRange(pfnCompare, nCol, bAscending, lParamSort, nLow, i);
            nLow = j;
        }
        else
        {
            if (j < nHigh)
                SortRowRange(pfnCompare, nCol, bAscending, lParamSort, j, nHigh);
            nHigh = i;
        }
    }
    return TRUE;
}

int CALLBACK CGridCtrl::CompareCellText(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const CGridCellBase* pCell1 = (const CGridCellBase*)lParam1;
    const CGridCellBase* pCell2 = (const CGridCellBase*)lParam2;
    if (pCell1 == NULL || pCell2 == NULL)
        return 0;
    const WCHAR* p1 = pCell1->GetText();
    const WCHAR* p2 = pCell2->GetText();
    for (; *p1 != 0 && *p1 == *p2; p1++, p2++)
        ;
    const unsigned c1 = (unsigned)(WORD)*p1;
    const unsigned c2 = (unsigned)(WORD)*p2;
    return c1 < c2 ? -1 : c1 > c2 ? 1 : 0;
}
