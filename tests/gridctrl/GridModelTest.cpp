// The grid's data without a window: counts and fixed counts through sequences of resizes,
// the column order, cell storage and cell classes, range checks, the selection map, the
// modified state, and the failures a resize can meet.
#include "MosaicTest.h"

#include <functional>

#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridTestSupport.h"
#include "MessageBoxAnswerer.h"

namespace
{

// Every cell exists once, with the fixed bits of its position; the sizes and the column
// order follow the counts.
void ExpectConsistent(CTestGrid& grid)
{
    const int nRows = grid.GetRowCount();
    const int nCols = grid.GetColumnCount();
    EXPECT_LE(grid.GetFixedRowCount(), nRows);
    EXPECT_LE(grid.GetFixedColumnCount(), nCols);
    std::vector<int> identity(nCols);
    for (int i = 0; i < nCols; i++)
        identity[i] = i;
    EXPECT_EQ(identity, grid.ColumnOrder());
    EXPECT_EQ(-1, grid.GetRowHeight(nRows));
    EXPECT_EQ(-1, grid.GetColumnWidth(nCols));
    std::vector<CGridCellBase*> seen;
    for (int nRow = 0; nRow < nRows; nRow++)
    {
        EXPECT_GE(grid.GetRowHeight(nRow), 0);
        for (int nCol = 0; nCol < nCols; nCol++)
        {
            CGridCellBase* pCell = grid.GetCell(nRow, nCol);
            ASSERT_NE(nullptr, pCell) << nRow << "," << nCol;
            EXPECT_EQ(std::find(seen.begin(), seen.end(), pCell), seen.end());
            seen.push_back(pCell);
            const BOOL bFixedRow = nRow < grid.GetFixedRowCount();
            const BOOL bFixedCol = nCol < grid.GetFixedColumnCount();
            DWORD nExpected = 0;
            if (bFixedRow)
                nExpected |= GridCellFixed | GridCellFixedRow;
            if (bFixedCol)
                nExpected |= GridCellFixed | GridCellFixedCol;
            EXPECT_EQ(nExpected,
                      pCell->GetState() & (GridCellFixed | GridCellFixedRow | GridCellFixedCol))
                << nRow << "," << nCol;
        }
    }
}

struct Counts
{
    int nRows, nCols, nFixedRows, nFixedCols;
};

void ExpectCounts(const CGridCtrl& grid, Counts counts)
{
    EXPECT_EQ(counts.nRows, grid.GetRowCount());
    EXPECT_EQ(counts.nCols, grid.GetColumnCount());
    EXPECT_EQ(counts.nFixedRows, grid.GetFixedRowCount());
    EXPECT_EQ(counts.nFixedCols, grid.GetFixedColumnCount());
}

TEST(GridModel, NewGridHasItsCountsDefaultSizesAndIsModified)
{
    CTestGrid grid(4, 3, 1, 1);
    ExpectCounts(grid, { 4, 3, 1, 1 });
    ExpectConsistent(grid);
    EXPECT_TRUE(grid.GetModified());
    // Rows take the normal default cell's height, columns the fixed-column one's width.
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetHeight(), grid.GetRowHeight(2));
    EXPECT_EQ(grid.GetDefaultCell(FALSE, TRUE)->GetWidth(), grid.GetColumnWidth(2));
    EXPECT_EQ(4 * grid.GetRowHeight(0), grid.GetVirtualHeight());
    EXPECT_EQ(grid.GetRowHeight(0), grid.GetFixedRowHeight());
    EXPECT_EQ(grid.GetColumnWidth(0), grid.GetFixedColumnWidth());
    // Cells carry their default cell's format as their own.
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetFormat(), grid.GetCell(2, 2)->GetFormat());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), grid.GetDefaultCell(FALSE, FALSE)->GetBackColour());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), grid.GetDefaultCell(TRUE, TRUE)->GetBackColour());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), grid.GetDefaultCell(TRUE, FALSE)->GetTextColour());
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), grid.GetGridBkColour());
    EXPECT_FALSE(grid.IsValidId(grid.GetFocusCell()));
    EXPECT_EQ(-1, grid.GetSortColumn());
}

TEST(GridModel, ResizeSequencesKeepCountsCellsAndFixedBitsInStep)
{
    struct Step
    {
        const char* what;
        std::function<BOOL(CGridCtrl&)> op;
        BOOL bResult;
        Counts after;
    };
    struct Case
    {
        Counts start;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        // No rows leave no fixed rows, and rows that come back are not fixed.
        { { 5, 4, 2, 1 },
          { { "rows 0", [](CGridCtrl& g) { return g.SetRowCount(0); }, TRUE, { 0, 4, 0, 1 } },
            { "rows 5", [](CGridCtrl& g) { return g.SetRowCount(5); }, TRUE, { 5, 4, 0, 1 } } } },
        // Fixed columns beyond the count grow the grid first.
        { { 2, 1, 0, 0 },
          { { "fixed cols 3", [](CGridCtrl& g) { return g.SetFixedColumnCount(3); }, TRUE,
              { 2, 3, 0, 3 } },
            { "fixed rows 4", [](CGridCtrl& g) { return g.SetFixedRowCount(4); }, TRUE,
              { 4, 3, 4, 3 } },
            { "fewer fixed", [](CGridCtrl& g) { return g.SetFixedRowCount(1); }, TRUE,
              { 4, 3, 1, 3 } },
            { "fewer fixed cols", [](CGridCtrl& g) { return g.SetFixedColumnCount(0); }, TRUE,
              { 4, 3, 1, 0 } },
            { "cols 1", [](CGridCtrl& g) { return g.SetColumnCount(1); }, TRUE,
              { 4, 1, 1, 0 } } } },
        // Negative counts are refused and change nothing.
        { { 3, 3, 1, 1 },
          { { "rows -1", [](CGridCtrl& g) { return g.SetRowCount(-1); }, FALSE, { 3, 3, 1, 1 } },
            { "cols -2", [](CGridCtrl& g) { return g.SetColumnCount(-2); }, FALSE,
              { 3, 3, 1, 1 } },
            { "fixed rows -1", [](CGridCtrl& g) { return g.SetFixedRowCount(-1); }, FALSE,
              { 3, 3, 1, 1 } },
            { "fixed cols -1", [](CGridCtrl& g) { return g.SetFixedColumnCount(-1); }, FALSE,
              { 3, 3, 1, 1 } },
            { "same rows", [](CGridCtrl& g) { return g.SetRowCount(3); }, TRUE,
              { 3, 3, 1, 1 } } } },
        // Shrinking below the fixed columns caps them.
        { { 3, 5, 1, 4 },
          { { "cols 2", [](CGridCtrl& g) { return g.SetColumnCount(2); }, TRUE, { 3, 2, 1, 2 } },
            { "cols 6", [](CGridCtrl& g) { return g.SetColumnCount(6); }, TRUE,
              { 3, 6, 1, 2 } } } },
    };
    for (const Case& c : cases)
    {
        CTestGrid grid(c.start.nRows, c.start.nCols, c.start.nFixedRows, c.start.nFixedCols);
        for (const Step& step : c.steps)
        {
            SCOPED_TRACE(step.what);
            EXPECT_EQ(step.bResult, step.op(grid));
            ExpectCounts(grid, step.after);
            ExpectConsistent(grid);
        }
    }
}

TEST(GridModel, CellsThatBecomeOrStopBeingFixedTakeTheirDefaultColours)
{
    CTestGrid grid(4, 4, 1, 1);
    grid.SetItemBackColour(2, 2, RGB(1, 2, 3));
    grid.SetItemTextColour(2, 2, RGB(4, 5, 6));
    grid.SetItemBackColour(3, 3, RGB(7, 8, 9));
    ASSERT_TRUE(grid.SetFixedRowCount(3));
    EXPECT_EQ(CLR_DEFAULT, grid.GetItemBackColour(2, 2));
    EXPECT_EQ(CLR_DEFAULT, grid.GetCell(2, 2)->GetTextColour());
    EXPECT_EQ(RGB(7, 8, 9), grid.GetItemBackColour(3, 3));

    // The corner cell that stays in a fixed column keeps a colour set on it meanwhile.
    grid.SetItemBackColour(2, 0, RGB(10, 11, 12));
    ASSERT_TRUE(grid.SetFixedRowCount(1));
    EXPECT_EQ(RGB(10, 11, 12), grid.GetItemBackColour(2, 0));
    ExpectConsistent(grid);
}

TEST(GridModel, ColumnsAreReachedThroughTheColumnOrderUntilAResizeRestoresIt)
{
    CTestGrid grid(2, 3, 0, 0);
    const LPCWSTR texts[] = { L"a", L"b", L"c" };
    for (int nCol = 0; nCol < 3; nCol++)
    {
        grid.SetItemText(1, nCol, texts[nCol]);
        grid.SetColumnWidth(nCol, 10 * (nCol + 1));
    }
    // As a column drag would leave it: storage column 2 is shown first.
    grid.SetColumnOrder({ 2, 0, 1 });
    EXPECT_EQ(CString(L"c"), grid.GetItemText(1, 0));
    EXPECT_EQ(30, grid.GetColumnWidth(0));
    ASSERT_TRUE(grid.SetColumnWidth(0, 33));
    ASSERT_TRUE(grid.SetItemText(1, 0, L"C"));

    // A cell stored at a display index is the one read back there, and the replaced one
    // is freed.
    CGridCellCheck* pCheck = new CGridCellCheck;
    ASSERT_TRUE(grid.SetCell(0, 0, pCheck));
    EXPECT_EQ(pCheck, grid.GetCell(0, 0));
    EXPECT_EQ(&grid, pCheck->GetGrid());
    EXPECT_FALSE(grid.SetCell(0, 1, NULL));

    // Growing by one column brings back the identity: storage column 2 is shown last.
    ASSERT_TRUE(grid.SetColumnCount(4));
    ExpectConsistent(grid);
    EXPECT_EQ(CString(L"C"), grid.GetItemText(1, 2));
    EXPECT_EQ(33, grid.GetColumnWidth(2));
    EXPECT_EQ(pCheck, grid.GetCell(0, 2));
}

// Counts the objects alive, to see that the grid frees what it replaces and removes.
class CCountedCell : public CGridCell
{
    DECLARE_DYNCREATE(CCountedCell)
public:
    CCountedCell() { s_nAlive++; }
    ~CCountedCell() override { s_nAlive--; }
    static inline int s_nAlive = 0;
};
IMPLEMENT_DYNCREATE(CCountedCell, CGridCell)

TEST(GridModel, TheGridFreesEveryCellItReplacesOrRemoves)
{
    CCountedCell::s_nAlive = 0;
    {
        CTestGrid grid;
        grid.SetDefaultCellType(RUNTIME_CLASS(CCountedCell));
        grid.SetRowCount(3);
        grid.SetColumnCount(4);
        EXPECT_EQ(12, CCountedCell::s_nAlive);
        grid.SetCell(1, 1, new CCountedCell);
        EXPECT_EQ(12, CCountedCell::s_nAlive);
        grid.SetCellType(2, 2, RUNTIME_CLASS(CGridCellCheck));
        EXPECT_EQ(11, CCountedCell::s_nAlive);
        // Two columns of three rows go, the check cell among them.
        grid.SetColumnCount(2);
        EXPECT_EQ(6, CCountedCell::s_nAlive);
        grid.DeleteAllItems();
        EXPECT_EQ(0, CCountedCell::s_nAlive);
        ExpectCounts(grid, { 0, 0, 0, 0 });
        grid.SetRowCount(2);
        grid.SetColumnCount(2);
    }
    EXPECT_EQ(0, CCountedCell::s_nAlive);
}

TEST(GridModel, CellTypeChangeKeepsTheAttributesAndRefusesClassesThatAreNotCells)
{
    CTestGrid grid(3, 3, 1, 1);
    grid.SetItemText(1, 1, L"Rouge");
    grid.SetItemBackColour(1, 1, RGB(200, 0, 0));
    grid.SetItemState(1, 1, grid.GetItemState(1, 1) | GridCellReadOnly | GridCellSelected);
    ASSERT_TRUE(grid.SetCellType(1, 1, RUNTIME_CLASS(CGridCellCheck)));
    CGridCellBase* pCell = grid.GetCell(1, 1);
    ASSERT_TRUE(pCell->IsKindOf(RUNTIME_CLASS(CGridCellCheck)));
    EXPECT_EQ(CString(L"Rouge"), CString(pCell->GetText()));
    EXPECT_EQ(RGB(200, 0, 0), pCell->GetBackColour());
    EXPECT_TRUE(pCell->IsReadOnly());
    EXPECT_TRUE(grid.IsCellSelected(1, 1));
    EXPECT_EQ(&grid, pCell->GetGrid());

    for (CRuntimeClass* pClass : { (CRuntimeClass*)NULL, RUNTIME_CLASS(CGridCellBase),
                                   RUNTIME_CLASS(CGridCtrl) })
        EXPECT_FALSE(grid.SetCellType(2, 2, pClass));
    EXPECT_FALSE(grid.SetCellType(3, 0, RUNTIME_CLASS(CGridCellCombo)));

    // A grid whose cell class makes no cells refuses to grow and stays whole.
    grid.SetDefaultCellType(RUNTIME_CLASS(CGridCtrl));
    EXPECT_EQ(nullptr, grid.CreateCell(0, 0));
    EXPECT_FALSE(grid.SetRowCount(5));
    EXPECT_FALSE(grid.SetColumnCount(4));
    ExpectCounts(grid, { 3, 3, 1, 1 });
    ExpectConsistent(grid);
}

TEST(GridModel, OutOfRangeCellsAnswerNothingAndChangeNothing)
{
    CTestGrid grid(3, 2, 1, 1);
    const struct
    {
        int nRow, nCol;
    } outside[] = { { -1, 0 }, { 0, -1 }, { 3, 0 }, { 0, 2 }, { -1, -1 } };
    LOGFONT lf = {};
    lf.lfHeight = -20;
    for (const auto& cell : outside)
    {
        SCOPED_TRACE(testing::Message() << cell.nRow << "," << cell.nCol);
        EXPECT_EQ(nullptr, grid.GetCell(cell.nRow, cell.nCol));
        EXPECT_EQ(CString(), grid.GetItemText(cell.nRow, cell.nCol));
        EXPECT_FALSE(grid.SetItemText(cell.nRow, cell.nCol, L"x"));
        EXPECT_EQ(0u, grid.GetItemState(cell.nRow, cell.nCol));
        EXPECT_FALSE(grid.SetItemState(cell.nRow, cell.nCol, GridCellSelected));
        EXPECT_EQ(0u, grid.GetItemBackColour(cell.nRow, cell.nCol));
        EXPECT_FALSE(grid.SetItemBackColour(cell.nRow, cell.nCol, 0));
        EXPECT_FALSE(grid.SetItemTextColour(cell.nRow, cell.nCol, 0));
        EXPECT_FALSE(grid.SetItemFont(cell.nRow, cell.nCol, &lf));
        EXPECT_FALSE(grid.SetItemFormat(cell.nRow, cell.nCol, DT_CENTER));
        EXPECT_FALSE(grid.IsCellEditable(cell.nRow, cell.nCol));
        EXPECT_FALSE(grid.IsItemEditing(cell.nRow, cell.nCol));
        EXPECT_FALSE(grid.SetCell(cell.nRow, cell.nCol, NULL));
        EXPECT_FALSE(grid.ChangeCellText(cell.nRow, cell.nCol, L"x"));
    }
    EXPECT_EQ(0u, grid.SelectionMapSize());
    EXPECT_EQ(-1, grid.GetColumnWidth(-1));
    EXPECT_EQ(-1, grid.GetRowHeight(-1));
    EXPECT_FALSE(grid.SetRowHeight(3, 10));
    EXPECT_FALSE(grid.SetRowHeight(0, -1));
    EXPECT_FALSE(grid.SetColumnWidth(2, 10));
    EXPECT_FALSE(grid.SetColumnWidth(0, -5));
    EXPECT_TRUE(grid.SetRowHeight(0, 0));

    EXPECT_TRUE(grid.IsValidRange(CCellRange(0, 0, 2, 1)));
    EXPECT_FALSE(grid.IsValidRange(CCellRange(0, 0, 3, 1)));
    EXPECT_FALSE(grid.IsValidRange(CCellRange(1, 0, 0, 1)));
    EXPECT_FALSE(grid.IsValidRange(CCellRange()));
    // Outside the grid the coordinates still pick a default font.
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetFont(), grid.GetItemFont(5, 5));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetFont(), grid.GetItemFont(0, 0));
}

TEST(GridModel, TheSelectionMapHoldsExactlyTheCellsWhoseStateIsSelected)
{
    CTestGrid grid(6, 4, 1, 1);
    // Even while selection is off, the map follows each cell's bit both ways.
    grid.EnableSelection(FALSE);
    ASSERT_TRUE(grid.SetItemState(2, 2, GridCellSelected));
    EXPECT_TRUE(grid.InSelectionMap(2, 2));
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    ASSERT_TRUE(grid.SetItemState(2, 2, 0));
    EXPECT_FALSE(grid.InSelectionMap(2, 2));

    grid.EnableSelection(TRUE);
    grid.SetItemState(2, 2, GridCellSelected);
    grid.SetItemState(5, 3, GridCellSelected | GridCellReadOnly);
    EXPECT_TRUE(grid.IsCellSelected(5, 3));
    // Rows that go take their keys with them.
    ASSERT_TRUE(grid.SetRowCount(5));
    EXPECT_EQ(1u, grid.SelectionMapSize());
    // A stored cell brings its selection.
    CGridCell* pCell = new CGridCell;
    pCell->SetState(GridCellSelected);
    grid.SetCell(3, 1, pCell);
    EXPECT_TRUE(grid.InSelectionMap(3, 1));
    // Replacing a selected cell with one that is not drops the key.
    grid.SetCell(2, 2, new CGridCell);
    EXPECT_FALSE(grid.InSelectionMap(2, 2));

    grid.SetItemState(4, 2, GridCellSelected);
    grid.SetFocusCellRowCol(4, 2);
    grid.ResetSelectedRange();
    EXPECT_EQ(0u, grid.SelectionMapSize());
    EXPECT_FALSE(grid.IsCellSelected(3, 1));
    EXPECT_FALSE(grid.IsValidId(grid.GetFocusCell()));
}

TEST(GridModel, FocusIsRaisedToTheNonFixedCellsAndItsBitFollows)
{
    CTestGrid grid(5, 5, 2, 1);
    EXPECT_EQ(CCellID(), grid.SetFocusCellRowCol(0, 0));
    EXPECT_EQ(CCellID(2, 1), grid.GetFocusCell());
    EXPECT_TRUE(grid.GetCell(2, 1)->IsFocused());
    EXPECT_EQ(CCellID(2, 1), grid.SetFocusCellRowCol(4, 3));
    EXPECT_FALSE(grid.GetCell(2, 1)->IsFocused());
    EXPECT_TRUE(grid.GetCell(4, 3)->IsFocused());
    // A row count below the focus row takes the focus away.
    grid.SetRowCount(4);
    EXPECT_EQ(CCellID(), grid.GetFocusCell());
}

TEST(GridModel, DataChangesMarkTheCellAndTheGridAndDropTheSortArrow)
{
    CTestGrid grid(4, 4, 1, 1);
    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.GetModified());
    grid.SetSortColumn(2);

    // A change in another column keeps the arrow; the cell and the grid become modified.
    ASSERT_TRUE(grid.SetItemText(1, 1, L"x"));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsModified());
    EXPECT_TRUE(grid.GetModified());
    EXPECT_EQ(2, grid.GetSortColumn());
    // Clearing a cell's bit leaves the grid's flag.
    grid.SetModified(FALSE, 1, 1);
    EXPECT_FALSE(grid.GetCell(1, 1)->IsModified());
    EXPECT_TRUE(grid.GetModified());
    // A change in the sorted column drops the arrow.
    grid.SetItemText(3, 2, L"y");
    EXPECT_EQ(-1, grid.GetSortColumn());
    // So does any change for the whole grid; a clean grid has no modified cell left.
    grid.SetSortColumn(1);
    grid.SetModified(FALSE);
    EXPECT_EQ(-1, grid.GetSortColumn());
    EXPECT_FALSE(grid.GetCell(3, 2)->IsModified());
}

TEST(GridModel, ItemAttributesAreTheCellsOwnUntilReturnedToTheDefaults)
{
    CTestGrid grid(3, 3, 1, 1);
    LOGFONT lf = {};
    lf.lfHeight = -16;
    lstrcpyW(lf.lfFaceName, L"DejaVu Sans");
    ASSERT_TRUE(grid.SetItemFont(1, 2, &lf));
    lf.lfHeight = -30;   // the cell keeps its own copy
    ASSERT_NE(nullptr, grid.GetItemFont(1, 2));
    EXPECT_EQ(-16, grid.GetItemFont(1, 2)->lfHeight);
    EXPECT_FALSE(grid.GetCell(1, 2)->IsDefaultFont());
    ASSERT_TRUE(grid.SetItemFont(1, 2, NULL));
    EXPECT_TRUE(grid.GetCell(1, 2)->IsDefaultFont());
    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetFont(), grid.GetItemFont(1, 2));

    ASSERT_TRUE(grid.SetItemFormat(2, 2, DT_CENTER | DT_VCENTER));
    EXPECT_EQ((DWORD)(DT_CENTER | DT_VCENTER), grid.GetCell(2, 2)->GetFormat());
    EXPECT_EQ(CLR_DEFAULT, grid.GetItemBackColour(2, 2));
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GridCellReadOnly);
    EXPECT_FALSE(grid.IsCellEditable(2, 2));
    EXPECT_TRUE(grid.IsCellEditable(2, 1));
    grid.SetEditable(FALSE);
    EXPECT_FALSE(grid.IsCellEditable(2, 1));
}

// Fails to be made once s_nLeft more cells have been made, as a full memory would.
class CScarceCell : public CGridCell
{
    DECLARE_DYNCREATE(CScarceCell)
public:
    CScarceCell()
    {
        if (s_nLeft-- == 0)
            AfxThrowMemoryException();
    }
    static inline int s_nLeft = 0;
};
IMPLEMENT_DYNCREATE(CScarceCell, CGridCell)

TEST(GridModel, MemoryRunningOutWhileResizingIsReportedAndLeavesAWholeGrid)
{
    CTestGrid grid(2, 3, 1, 1);
    grid.SetDefaultCellType(RUNTIME_CLASS(CScarceCell));
    // The resize fails once the cells left are made, after one report.
    auto failingResize = [&](int nCellsLeft, std::function<BOOL()> resize) {
        CScarceCell::s_nLeft = nCellsLeft;
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(resize());
        EXPECT_EQ(1, answerer.s_nCount);
    };

    // Rows: the ones completed stay, each with its height.
    failingResize(7, [&]() { return grid.SetRowCount(6); });
    ExpectCounts(grid, { 4, 3, 1, 1 });
    EXPECT_EQ(4 * grid.GetRowHeight(1), grid.GetVirtualHeight());
    ExpectConsistent(grid);

    // Columns: the grid keeps its old columns.
    failingResize(2, [&]() { return grid.SetColumnCount(5); });
    ExpectCounts(grid, { 4, 3, 1, 1 });
    EXPECT_EQ(3 * grid.GetColumnWidth(1), grid.GetVirtualWidth());
    ExpectConsistent(grid);
}

} // namespace
