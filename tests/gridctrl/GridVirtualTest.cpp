// Virtual mode and the row order: cells asked of the owner, by callback or notification,
// through the row and column orders; the cache hints around reading; per-cell setters that
// fail; sorting the row order; moving and renumbering rows without losing one.
#include "MosaicTest.h"

#include <algorithm>
#include <numeric>

#include "GridTestSupport.h"

namespace
{

// An owner that knows 100 rows of 4 columns: cell (r, c) reads "r:c", row r's key is
// keys[r].
class CVirtualOwner : public CGridOwner
{
public:
    std::vector<CCellRange> m_hints;
    int m_nRequests = 0;

protected:
    BOOL OnOtherRecord(LPARAM lParam, LRESULT* pResult) override
    {
        const NMHDR* pHeader = (const NMHDR*)lParam;
        if (pHeader->code == (UINT)LVN_ODCACHEHINT)
            m_hints.push_back(((const GRIDCACHEHINT*)lParam)->range);
        else
            Fill(&((GRIDDISPINFO*)lParam)->item);
        *pResult = 0;
        return TRUE;
    }

public:
    void Fill(GRIDITEM* pItem)
    {
        m_nRequests++;
        pItem->strText.Format(L"%d:%d", pItem->row, pItem->col);
        pItem->crBkClr = RGB(pItem->row, pItem->col, 0);
    }
};

CVirtualOwner* s_pCallbackOwner = NULL;

BOOL CALLBACK FillByCallback(GRIDDISPINFO* pRecord, LPARAM lParam)
{
    s_pCallbackOwner->Fill(&pRecord->item);
    pRecord->item.strText += (WCHAR)lParam;
    return TRUE;
}

class GridVirtual : public testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.Attach(m_grid, CRect(0, 0, 300, 200));
        m_grid.SetVirtualMode(TRUE);
        m_grid.SetRowCount(100);
        m_grid.SetColumnCount(4);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    CVirtualOwner m_owner;
    CTestGrid m_grid;
};

TEST_F(GridVirtual, CellsComeFromTheOwnerIntoOneSharedCell)
{
    CGridCellBase* pFirst = m_grid.GetCell(3, 2);
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(CString(L"3:2"), CString(pFirst->GetText()));
    CGridCellBase* pSecond = m_grid.GetCell(5, 1);
    EXPECT_EQ(pFirst, pSecond) << "one cell, filled anew";
    EXPECT_EQ(CString(L"5:1"), CString(pFirst->GetText()));
    EXPECT_EQ(RGB(5, 1, 0), pFirst->GetBackColour());
    EXPECT_EQ(nullptr, m_grid.GetCell(100, 1));

    // The state says what the grid knows of the cell.
    m_grid.SetFocusCellRowCol(4, 2);
    EXPECT_TRUE(m_grid.SetItemState(4, 3, GridCellSelected) == FALSE) << "no cell to keep it";
    EXPECT_TRUE(m_grid.IsCellSelected(4, 3));
    EXPECT_EQ((DWORD)GridCellSelected, m_grid.GetItemState(4, 3));
    EXPECT_EQ((DWORD)GridCellFocused, m_grid.GetItemState(4, 2));
    EXPECT_EQ((DWORD)(GridCellFixed | GridCellFixedRow), m_grid.GetItemState(0, 2));
    EXPECT_EQ((DWORD)(GridCellFixed | GridCellFixedRow | GridCellFixedCol), m_grid.GetItemState(0, 0));

    // The owner keeps the contents: per-cell setters fail.
    EXPECT_FALSE(m_grid.SetItemText(3, 2, L"x"));
    EXPECT_FALSE(m_grid.SetItemBackColour(3, 2, 0));
    EXPECT_FALSE(m_grid.SetItemFormat(3, 2, DT_CENTER));
    EXPECT_FALSE(m_grid.SetCellType(3, 2, RUNTIME_CLASS(CGridCell)));
    EXPECT_EQ(CString(L"3:2"), m_grid.GetItemText(3, 2));

    // A callback takes the owner's place.
    s_pCallbackOwner = &m_owner;
    m_grid.SetCallbackFunc(FillByCallback, L'!');
    EXPECT_EQ(CString(L"7:3!"), m_grid.GetItemText(7, 3));
}

TEST_F(GridVirtual, ReadingAnnouncesTheRangeAndEndsWithNone)
{
    m_grid.UpdateWindow();
    m_owner.m_hints.clear();
    m_grid.Invalidate();
    m_grid.UpdateWindow();
    ASSERT_EQ(2u, m_owner.m_hints.size());
    const CCellRange range = m_grid.GetVisibleNonFixedCellRange();
    EXPECT_EQ(range, m_owner.m_hints[0]);
    EXPECT_EQ(CCellRange(), m_owner.m_hints[1]);

    m_owner.m_hints.clear();
    m_grid.SetSelectedRange(2, 1, 3, 2);
    COleDataSource* pSource = m_grid.CopySelectionAsText();
    ASSERT_NE(nullptr, pSource);
    pSource->InternalRelease();
    ASSERT_EQ(2u, m_owner.m_hints.size());
    EXPECT_EQ(CCellRange(2, 1, 3, 2), m_owner.m_hints[0]);
    EXPECT_EQ(CString(L"2:1\t2:2\r\n3:1\t3:2"), m_grid.SelectionAsText(CCellRange(2, 1, 3, 2)));
}

TEST_F(GridVirtual, MovingARowPutsItJustAfterTheOneDroppedOn)
{
    auto firstSeven = [this]() {
        return std::vector<int>(m_grid.GetRowOrder().begin(), m_grid.GetRowOrder().begin() + 7);
    };
    EXPECT_TRUE(m_grid.MoveRowInOrder(5, 2));
    EXPECT_EQ(std::vector<int>({ 0, 1, 2, 5, 3, 4, 6 }), firstSeven());
    m_grid.ResetRowOrder();
    EXPECT_TRUE(m_grid.MoveRowInOrder(2, 5));
    EXPECT_EQ(std::vector<int>({ 0, 1, 3, 4, 5, 2, 6 }), firstSeven());
    // The rows shown follow the order.
    EXPECT_EQ(CString(L"2:1"), m_grid.GetItemText(5, 1));
    EXPECT_TRUE(m_grid.MoveRowInOrder(4, 4));
    EXPECT_FALSE(m_grid.MoveRowInOrder(4, 100));
    EXPECT_EQ(100u, m_grid.GetRowOrder().size());
}

// A permutation of 0 .. n - 1.
bool IsPermutation(std::vector<int> order)
{
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size(); i++)
        if (order[i] != (int)i)
            return false;
    return true;
}

TEST_F(GridVirtual, InsertedAndRemovedRowsKeepTheOrderAPermutation)
{
    m_grid.SetRowCount(5);
    m_grid.ShiftRowOrder(3, 1);
    EXPECT_EQ(std::vector<int>({ 0, 1, 2, 3, 4, 5 }), m_grid.GetRowOrder());
    m_grid.ResetRowOrder();
    m_grid.ShiftRowOrder(3, -1);
    EXPECT_EQ(std::vector<int>({ 0, 1, 2, 3 }), m_grid.GetRowOrder());

    // After a move the owner's row 1 is shown last; removing it removes that entry.
    m_grid.SetRowCount(6);
    m_grid.MoveRowInOrder(1, 5);
    ASSERT_EQ(std::vector<int>({ 0, 2, 3, 4, 5, 1 }), m_grid.GetRowOrder());
    m_grid.ShiftRowOrder(1, -1);
    EXPECT_EQ(std::vector<int>({ 0, 1, 2, 3, 4 }), m_grid.GetRowOrder());
    m_grid.MoveRowInOrder(4, 0);
    m_grid.ShiftRowOrder(2, 2);
    EXPECT_EQ(std::vector<int>({ 0, 6, 2, 3, 1, 4, 5 }), m_grid.GetRowOrder());
    EXPECT_TRUE(IsPermutation(m_grid.GetRowOrder()));
    m_grid.ShiftRowOrder(0, -3);
    EXPECT_EQ(std::vector<int>({ 3, 0, 1, 2 }), m_grid.GetRowOrder());

    // Nothing happens to a normal grid's order.
    CTestGrid normal(5, 2);
    normal.ShiftRowOrder(1, 1);
    EXPECT_TRUE(normal.GetRowOrder().empty());
}

// Rows compare by a key of their owner row: r / 3, so rows come in threes of equals.
bool CompareByThrees(int nRow1, int nRow2)
{
    return nRow1 / 3 < nRow2 / 3;
}

TEST_F(GridVirtual, SortingOrdersTheRowsAndKeepsEqualOnesInTheirOrder)
{
    m_grid.SetVirtualCompare(CompareByThrees);
    ASSERT_TRUE(m_grid.SortByColumn(2, FALSE));
    const std::vector<int>& order = m_grid.GetRowOrder();
    EXPECT_EQ(0, order[0]) << "the fixed row stays";
    EXPECT_EQ(2, m_grid.GetVirtualSortColumn());
    // Descending by the key; within a key, the rows as they were.
    EXPECT_EQ(std::vector<int>({ 99, 96, 97, 98, 93, 94, 95 }),
              std::vector<int>(order.begin() + 1, order.begin() + 8));
    EXPECT_TRUE(IsPermutation(order));
    ASSERT_TRUE(m_grid.SortByColumn(2, TRUE));
    EXPECT_EQ(std::vector<int>({ 1, 2, 3, 4, 5, 6, 7 }),
              std::vector<int>(order.begin() + 1, order.begin() + 8));
    EXPECT_EQ(CString(L"1:2"), m_grid.GetItemText(1, 2));
}

} // namespace
