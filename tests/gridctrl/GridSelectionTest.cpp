// Selection, focus, the mouse, the keyboard and sorting: ranges selected and unselected
// without a window, then clicks, drags, resizes and keys sent to a grid window, and sorts.
#include "MosaicTest.h"

#include <algorithm>

#include "GridCell.h"
#include "GridTestSupport.h"

namespace
{

const int kChanging = (int)LVN_ITEMCHANGING;
const int kChanged = (int)LVN_ITEMCHANGED;
const int kClick = (int)NM_CLICK;
const int kRClick = (int)NM_RCLICK;

TEST(GridSelection, RangesSelectNonFixedCellsOnlyAndReplaceTheSelection)
{
    CTestGrid grid(6, 5, 1, 1);
    grid.SetSelectedRange(0, 0, 2, 2);
    EXPECT_EQ(Rect(1, 1, 2, 2), SelectedCells(grid)) << "fixed bounds move to the first cells";
    EXPECT_EQ(CCellRange(1, 1, 2, 2), grid.GetSelectedCellRange());
    grid.SetSelectedRange(3, 3, 4, 4);
    EXPECT_EQ(Rect(3, 3, 4, 4), SelectedCells(grid));
    EXPECT_EQ(4u, grid.SelectionMapSize());

    grid.SetSelectedRange(3, 3, 3, 4, FALSE, FALSE);
    EXPECT_EQ(Rect(4, 3, 4, 4), SelectedCells(grid)) << "unselecting keeps the rest";
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_TRUE(SelectedCells(grid).empty()) << "a negative bound unselects everything";
    EXPECT_FALSE(grid.IsValidRange(grid.GetSelectedCellRange()));

    // A range beyond the grid or upside down selects nothing.
    grid.SetSelectedRange(1, 1, 9, 2);
    grid.SetSelectedRange(3, 1, 2, 2);
    EXPECT_TRUE(SelectedCells(grid).empty());

    grid.SelectAllCells();
    EXPECT_EQ(Rect(1, 1, 5, 4), SelectedCells(grid));
    grid.ResetSelectedRange();
    EXPECT_TRUE(SelectedCells(grid).empty());
    EXPECT_EQ(0u, grid.SelectionMapSize());

    // Row selections may take the fixed columns in.
    grid.SetRowSelectionWithFixedColumns(true);
    grid.SetSelectionAnchor(CCellID(2, 1));
    grid.SelectRows(CCellID(3, 2));
    EXPECT_EQ(Rect(2, 0, 3, 4), SelectedCells(grid));

    // Without selection nothing changes.
    grid.ResetSelectedRange();
    grid.EnableSelection(FALSE);
    grid.SetSelectedRange(1, 1, 2, 2);
    EXPECT_EQ(0u, grid.SelectionMapSize());
}

TEST(GridSelection, RowsAndColumnsSpanFromTheAnchor)
{
    CTestGrid grid(6, 5, 1, 1);
    grid.SetSelectionAnchor(CCellID(2, 3));
    grid.SelectColumns(CCellID(4, 1));
    EXPECT_EQ(Rect(1, 1, 5, 3), SelectedCells(grid));
    grid.SetSingleColSelection(TRUE);
    grid.SelectColumns(CCellID(4, 1));
    EXPECT_EQ(Rect(1, 1, 5, 1), SelectedCells(grid));
    grid.SelectRows(CCellID(4, 2));
    EXPECT_EQ(Rect(2, 1, 4, 4), SelectedCells(grid));
    grid.SetListMode(TRUE);
    grid.SetSingleRowSelection(TRUE);
    grid.SelectRows(CCellID(4, 2));
    EXPECT_EQ(Rect(4, 1, 4, 4), SelectedCells(grid));
    grid.SelectCells(CCellID(3, 4));
    EXPECT_EQ(Rect(2, 3, 3, 4), SelectedCells(grid));
    // A fixed cell extends nothing.
    grid.SelectCells(CCellID(0, 4));
    EXPECT_EQ(Rect(2, 3, 3, 4), SelectedCells(grid));
}

TEST(GridSelection, TheFocusStaysOffTheHeadings)
{
    CTestGrid grid(6, 5, 1, 1);
    EXPECT_EQ(CCellID(), grid.SetFocusCell(CCellID(0, 0)));
    EXPECT_EQ(CCellID(1, 1), grid.GetFocusCell());
    EXPECT_TRUE(grid.GetCell(1, 1)->IsFocused());
    EXPECT_EQ(CCellID(1, 1), grid.SetFocusCellRowCol(3, 2));
    EXPECT_FALSE(grid.GetCell(1, 1)->IsFocused());
    EXPECT_TRUE(grid.GetCell(3, 2)->IsFocused());
}

// ---- Sorting ---------------------------------------------------------------------------------

TEST(GridSort, TextsCompareCodeUnitByCodeUnit)
{
    CGridCell a, b;
    const struct
    {
        LPCWSTR sz1, sz2;
        int nResult;
    } cases[] = {
        { L"10", L"9", -1 },    { L"9", L"10", 1 },   { L"ab", L"abc", -1 },
        { L"abc", L"abc", 0 },  { L"", L"", 0 },      { L"a", L"B", 1 },
        // Above 0x7FFF the units count as unsigned.
        { L"\xE9", L"\x8000", -1 }, { L"\xFF01", L"z", 1 },
    };
    for (const auto& c : cases)
    {
        a.SetText(c.sz1);
        b.SetText(c.sz2);
        EXPECT_EQ(c.nResult, CGridCtrl::CompareCellText((LPARAM)&a, (LPARAM)&b, 0))
            << CString(c.sz1) << " / " << CString(c.sz2);
    }
    EXPECT_EQ(0, CGridCtrl::CompareCellText(0, (LPARAM)&b, 0));
}

std::vector<CString> ColumnTexts(const CGridCtrl& grid, int nCol)
{
    std::vector<CString> texts;
    for (int nRow = grid.GetFixedRowCount(); nRow < grid.GetRowCount(); nRow++)
        texts.push_back(grid.GetItemText(nRow, nCol));
    return texts;
}

TEST(GridSort, RowsMoveWholeWithTheirHeights)
{
    const std::vector<CString> keys = { L"9", L"10", L"b", L"a", L"10", L"", L"a" };
    CTestGrid grid((int)keys.size() + 1, 2, 1, 0);
    for (size_t i = 0; i < keys.size(); i++)
    {
        grid.SetItemText((int)i + 1, 0, keys[i]);
        CString strTag;
        strTag.Format(L"%d", (int)i);
        grid.SetItemText((int)i + 1, 1, strTag);
        grid.SetRowHeight((int)i + 1, 20 + (int)i);
    }
    grid.SetFocusCellRowCol(2, 1);
    grid.SetSelectedRange(1, 0, 2, 1);

    ASSERT_TRUE(grid.SortByColumn(0, TRUE));
    std::vector<CString> sorted = { L"", L"10", L"10", L"9", L"a", L"a", L"b" };
    EXPECT_EQ(sorted, ColumnTexts(grid, 0));
    // Each row kept its tag and its height.
    for (int nRow = 1; nRow < grid.GetRowCount(); nRow++)
    {
        const int nTag = grid.GetItemText(nRow, 1)[0] - L'0';
        EXPECT_EQ(keys[nTag], grid.GetItemText(nRow, 0));
        EXPECT_EQ(20 + nTag, grid.GetRowHeight(nRow));
    }
    EXPECT_EQ(0, grid.GetSortColumn());
    EXPECT_TRUE(SelectedCells(grid).empty()) << "a sort clears the selection";
    EXPECT_EQ(CCellID(), grid.GetFocusCell());

    ASSERT_TRUE(grid.SortByColumn(0, FALSE));
    std::reverse(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, ColumnTexts(grid, 0));
    EXPECT_FALSE(grid.GetSortAscending());

    EXPECT_FALSE(grid.SortRowRange(CGridCtrl::CompareCellText, 2, TRUE, 0, 1, -1));
    EXPECT_FALSE(grid.SortRowRange(CGridCtrl::CompareCellText, 0, TRUE, 0, 3, 3));

    // Many rows with many repeats come out in order, each with its own tag.
    CTestGrid big(301, 2, 1, 0);
    for (int nRow = 1; nRow <= 300; nRow++)
    {
        CString strKey, strTag;
        strKey.Format(L"%c%d", L'a' + (nRow * 7919) % 5, (nRow * 104729) % 13);
        strTag.Format(L"%d", nRow);
        big.SetItemText(nRow, 0, strKey);
        big.SetItemText(nRow, 1, strTag);
    }
    for (BOOL bAscending : { TRUE, FALSE })
    {
        ASSERT_TRUE(big.SortByColumn(0, bAscending));
        std::vector<CString> tags;
        for (int nRow = 1; nRow <= 300; nRow++)
        {
            tags.push_back(big.GetItemText(nRow, 1));
            if (nRow > 1)
            {
                const int nOrder = CGridCtrl::CompareCellText((LPARAM)big.GetCell(nRow - 1, 0),
                                                              (LPARAM)big.GetCell(nRow, 0), 0);
                EXPECT_TRUE(bAscending ? nOrder <= 0 : nOrder >= 0) << "row " << nRow;
            }
        }
        std::sort(tags.begin(), tags.end(),
                  [](const CString& a, const CString& b) { return lstrcmpW(a, b) < 0; });
        EXPECT_EQ(300u, std::unique(tags.begin(), tags.end()) - tags.begin());
    }
}

int CALLBACK CompareAllEqual(LPARAM, LPARAM, LPARAM)
{
    return 0;
}

// Every row has its own height: an exchange would show.
TEST(GridSort, EqualRowsAreNeverExchanged)
{
    CTestGrid grid(9, 1, 1, 0);
    for (int nRow = 1; nRow < 9; nRow++)
        grid.SetRowHeight(nRow, nRow);
    for (BOOL bAscending : { TRUE, FALSE })
    {
        ASSERT_TRUE(grid.SortByColumnWith(CompareAllEqual, 0, bAscending));
        for (int nRow = 1; nRow < 9; nRow++)
            EXPECT_EQ(nRow, grid.GetRowHeight(nRow));
    }
}

// ---- The mouse and the keys in a window ------------------------------------------------------

TEST_F(GridInput, AClickFocusesAndSelectsTheCellAndTellsTheOwner)
{
    Click(2, 2);
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());
    EXPECT_EQ(Rect(2, 2, 2, 2), SelectedCells(m_grid));
    EXPECT_EQ(std::vector<int>({ kChanging, kChanged, kClick }), m_owner.Codes());
    for (const auto& n : m_owner.m_notifications)
        EXPECT_EQ(CCellID(2, 2), CCellID(n.nRow, n.nCol));
    EXPECT_EQ(GridMouseNone, m_grid.GetMouseMode());
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2)) << "a first click only focuses";
    PumpGridMessages();
    EXPECT_EQ(std::vector<UINT>({ 1077u }), m_owner.m_commands);

    // A press outside the cells is no click.
    m_owner.m_notifications.clear();
    ClickAt(m_grid, CPoint(370, 250));
    EXPECT_TRUE(m_owner.m_notifications.empty());
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());
}

TEST_F(GridInput, CtrlClicksAddAndRemoveCellsAndShiftExtendsFromTheAnchor)
{
    Click(2, 2);
    Click(3, 3, MK_CONTROL);
    EXPECT_EQ(std::vector<CCellID>({ CCellID(2, 2), CCellID(3, 3) }), SelectedCells(m_grid));
    Click(2, 2, MK_CONTROL);
    EXPECT_EQ(Rect(3, 3, 3, 3), SelectedCells(m_grid));
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());

    Click(2, 1);
    Click(4, 3, MK_SHIFT);
    EXPECT_EQ(Rect(2, 1, 4, 3), SelectedCells(m_grid));
    EXPECT_EQ(CCellID(4, 3), m_grid.GetFocusCell());

    // Dragging over the cells selects the rectangle as it goes.
    Send(WM_LBUTTONDOWN, CellCentre(m_grid, 1, 4), MK_LBUTTON);
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 3, 3), MK_LBUTTON);
    EXPECT_EQ(Rect(1, 3, 3, 4), SelectedCells(m_grid));
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 2, 2), MK_LBUTTON);
    Send(WM_LBUTTONUP, CellCentre(m_grid, 2, 2), 0);
    EXPECT_EQ(Rect(1, 2, 2, 4), SelectedCells(m_grid));
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());
}

TEST_F(GridInput, HeadingsSelectWholeColumnsAndRowsAndSortOnRequest)
{
    Click(0, 2);
    EXPECT_EQ(Rect(1, 2, 5, 2), SelectedCells(m_grid));
    Click(3, 0);
    EXPECT_EQ(Rect(3, 1, 3, 4), SelectedCells(m_grid));
    Click(0, 0);
    EXPECT_EQ(Rect(1, 1, 5, 4), SelectedCells(m_grid));

    // The program's tables select nothing from their headings.
    m_grid.SetFixedRowSelection(FALSE);
    m_grid.SetFixedColumnSelection(FALSE);
    m_grid.ResetSelectedRange();
    Click(0, 2);
    Click(3, 0);
    EXPECT_TRUE(SelectedCells(m_grid).empty());

    // A second click on the same heading sorts the other way.
    m_grid.SetSortOnClick(TRUE);
    m_grid.SetItemText(2, 3, L"0");
    Click(0, 3);
    EXPECT_EQ(3, m_grid.GetSortColumn());
    EXPECT_TRUE(m_grid.GetSortAscending());
    EXPECT_EQ(CString(L"0"), m_grid.GetItemText(1, 3));
    Click(0, 3);
    EXPECT_FALSE(m_grid.GetSortAscending());
    EXPECT_EQ(CString(L"0"), m_grid.GetItemText(5, 3));
}

TEST_F(GridInput, DraggingAColumnEdgeSizesTheColumn)
{
    const struct
    {
        BOOL bMayClose;
        int x;
        int nWidth;
    } cases[] = {
        { TRUE, 130, 90 },
        { TRUE, 30, 0 },   // left of the column's start
        { FALSE, 30, 1 },
    };
    for (const auto& c : cases)
    {
        m_grid.SetColumnWidth(1, 60);
        m_grid.SetColumnsMayClose(c.bMayClose);
        // Column 1 runs from 40 to 99: its right edge is under the mouse.
        const CPoint edge(99, 10);
        Send(WM_MOUSEMOVE, edge, 0);
        EXPECT_EQ(GridMouseOverColumnEdge, m_grid.GetMouseMode());
        Send(WM_LBUTTONDOWN, edge, MK_LBUTTON);
        EXPECT_EQ(GridMouseSizingColumn, m_grid.GetMouseMode());
        Send(WM_MOUSEMOVE, CPoint(c.x, 10), MK_LBUTTON);
        Send(WM_LBUTTONUP, CPoint(c.x, 10), 0);
        EXPECT_EQ(c.nWidth, m_grid.GetColumnWidth(1)) << "to x " << c.x;
        EXPECT_EQ(GridMouseNone, m_grid.GetMouseMode());
    }
    // A row edge in the fixed column sizes the row above it.
    const CPoint rowEdge(10, 59);
    Send(WM_MOUSEMOVE, rowEdge, 0);
    Send(WM_LBUTTONDOWN, rowEdge, MK_LBUTTON);
    Send(WM_LBUTTONUP, CPoint(10, 75), 0);
    EXPECT_EQ(35, m_grid.GetRowHeight(2));

    // A double click on an edge fits the column to its texts.
    m_grid.SetColumnWidth(1, 60);
    m_grid.SetItemText(2, 2, L"A much longer text than the column shows");
    Send(WM_MOUSEMOVE, CPoint(159, 10), 0);
    Send(WM_LBUTTONDBLCLK, CPoint(159, 10), MK_LBUTTON);
    const int nFitted = m_grid.GetColumnWidth(2);
    EXPECT_GT(nFitted, 120);
    m_grid.AutoSizeColumn(2);
    EXPECT_EQ(nFitted, m_grid.GetColumnWidth(2));
}

TEST_F(GridInput, TheRightButtonFocusesTheCellAndTellsTheOwner)
{
    Send(WM_RBUTTONUP, CellCentre(m_grid, 3, 2), 0);
    EXPECT_EQ(CCellID(3, 2), m_grid.GetFocusCell());
    Send(WM_RBUTTONUP, CellCentre(m_grid, 0, 0), 0);
    EXPECT_EQ(CCellID(1, 1), m_grid.GetFocusCell());
    Send(WM_RBUTTONUP, CPoint(370, 250), 0);
    ASSERT_EQ(3u, m_owner.m_notifications.size());
    EXPECT_EQ(kRClick, m_owner.m_notifications[0].nCode);
    EXPECT_EQ(CCellID(3, 2), CCellID(m_owner.m_notifications[0].nRow, m_owner.m_notifications[0].nCol));
    EXPECT_EQ(CCellID(0, 0), CCellID(m_owner.m_notifications[1].nRow, m_owner.m_notifications[1].nCol));
    EXPECT_EQ(CCellID(), CCellID(m_owner.m_notifications[2].nRow, m_owner.m_notifications[2].nCol));
}

TEST_F(GridInput, NavigationKeysMoveOverTheShownCells)
{
    const struct
    {
        const char* what;
        CCellID from;
        UINT nKey;
        bool bCtrl, bShift, bHideThird;
        CCellID to;
    } cases[] = {
        { "down", CCellID(1, 1), VK_DOWN, false, false, false, CCellID(2, 1) },
        { "down over a hidden row", CCellID(2, 1), VK_DOWN, false, false, true, CCellID(4, 1) },
        { "down on the last row", CCellID(5, 1), VK_DOWN, false, false, false, CCellID(5, 1) },
        { "up into the headings", CCellID(1, 2), VK_UP, false, false, false, CCellID(1, 2) },
        { "right over a hidden column", CCellID(1, 2), VK_RIGHT, false, false, true, CCellID(1, 4) },
        { "left into the headings", CCellID(2, 1), VK_LEFT, false, false, false, CCellID(2, 1) },
        { "tab", CCellID(2, 2), VK_TAB, false, false, false, CCellID(2, 3) },
        { "tab at a row's end", CCellID(2, 4), VK_TAB, false, false, false, CCellID(3, 1) },
        { "tab over a hidden row", CCellID(2, 4), VK_TAB, false, false, true, CCellID(4, 1) },
        { "tab on the last cell", CCellID(5, 4), VK_TAB, false, false, false, CCellID(5, 4) },
        { "shift+tab at a row's start", CCellID(2, 1), VK_TAB, false, true, false, CCellID(1, 4) },
        { "shift+tab on the first cell", CCellID(1, 1), VK_TAB, false, true, false, CCellID(1, 1) },
        { "home", CCellID(3, 3), VK_HOME, false, false, false, CCellID(3, 1) },
        { "end", CCellID(3, 2), VK_END, false, false, false, CCellID(3, 4) },
        { "ctrl+home", CCellID(3, 3), VK_HOME, true, false, false, CCellID(1, 1) },
        { "ctrl+end", CCellID(2, 2), VK_END, true, false, false, CCellID(5, 4) },
        // Everything shows: the page cannot move, so the focus goes to the last row.
        { "page down", CCellID(2, 2), VK_NEXT, false, false, false, CCellID(5, 2) },
        { "page up", CCellID(4, 2), VK_PRIOR, false, false, false, CCellID(1, 2) },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_grid.SetRowHeight(3, c.bHideThird ? 0 : 20);
        m_grid.SetColumnWidth(3, c.bHideThird ? 0 : 60);
        m_grid.ResetSelectedRange();
        m_grid.SetFocusCell(c.from);
        m_owner.m_notifications.clear();
        Key(c.nKey, c.bCtrl, c.bShift);
        EXPECT_EQ(c.to, m_grid.GetFocusCell());
        if (c.to != c.from)
        {
            EXPECT_EQ(std::vector<CCellID>({ c.to }), SelectedCells(m_grid));
            EXPECT_EQ(std::vector<int>({ kChanging, kChanged }), m_owner.Codes());
        }
        else
        {
            EXPECT_TRUE(m_owner.m_notifications.empty());
        }
    }
}

TEST_F(GridInput, ShiftExtendsTheSelectionFromTheAnchor)
{
    Click(2, 2);
    Key(VK_DOWN, false, true);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Rect(2, 2, 3, 3), SelectedCells(m_grid));
    EXPECT_EQ(CCellID(3, 3), m_grid.GetFocusCell());
    Key(VK_LEFT);
    EXPECT_EQ(Rect(3, 2, 3, 2), SelectedCells(m_grid));
    Key('A', true);
    EXPECT_EQ(Rect(1, 1, 5, 4), SelectedCells(m_grid));
}

TEST_F(GridInput, KeysOnTheGridEditClearAndLeave)
{
    Click(2, 2);
    // Escape opens nothing; Enter opens the editor on the text as it is.
    m_grid.SendMessage(WM_CHAR, VK_ESCAPE, 0);
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
    m_grid.SendMessage(WM_CHAR, VK_RETURN, 0);
    EXPECT_TRUE(m_grid.IsItemEditing(2, 2));
    m_grid.SetFocus();
    PumpGridMessages();
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
    EXPECT_EQ(CString(L"2,2"), m_grid.GetItemText(2, 2));

    // Delete empties the selected cells the owner lets go.
    m_grid.SetSelectedRange(2, 2, 3, 3);
    m_grid.SetItemState(3, 3, m_grid.GetItemState(3, 3) | GridCellReadOnly);
    Key(VK_DELETE);
    EXPECT_EQ(CString(), m_grid.GetItemText(2, 2));
    EXPECT_EQ(CString(), m_grid.GetItemText(2, 3));
    EXPECT_EQ(CString(L"3,3"), m_grid.GetItemText(3, 3));
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());

    // The grid takes Tab from its dialog unless Ctrl is down.
    EXPECT_EQ((LRESULT)(DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB),
              m_grid.SendMessage(WM_GETDLGCODE));
    {
        CHeldKeys ctrl(true, false);
        EXPECT_EQ((LRESULT)(DLGC_WANTARROWS | DLGC_WANTCHARS), m_grid.SendMessage(WM_GETDLGCODE));
    }
    // When Tab leaves, the dialog moves on.
    m_grid.SetTabLeaves(true);
    Key(VK_TAB);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, m_owner.m_hWnd, WM_NEXTDLGCTL, WM_NEXTDLGCTL, PM_REMOVE));
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());
}

} // namespace
