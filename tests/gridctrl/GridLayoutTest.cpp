// The grid's geometry: cell positions and the cells under points without a window, the
// scroll-bar decisions from sizes alone, and in a real window the bars, the scroll
// messages, bringing cells into view, the wheel and auto-sizing.
#include "MosaicTest.h"

#include "GridScrollLayout.h"
#include "GridTestSupport.h"

namespace
{

// Widths 40 (fixed), 50, 0 (hidden), 60, 50...; heights 20 (fixed), 25, 25...
void SetTestSizes(CGridCtrl& grid)
{
    for (int nCol = 0; nCol < grid.GetColumnCount(); nCol++)
        grid.SetColumnWidth(nCol, nCol == 0 ? 40 : nCol == 2 ? 0 : nCol == 3 ? 60 : 50);
    for (int nRow = 0; nRow < grid.GetRowCount(); nRow++)
        grid.SetRowHeight(nRow, nRow == 0 ? 20 : 25);
}

TEST(GridLayout, CellsLieOneAfterAnotherFromTheFixedOnesWithoutAWindow)
{
    CTestGrid grid(6, 6, 1, 1);
    SetTestSizes(grid);
    EXPECT_EQ(CCellID(1, 1), grid.GetTopLeftScrollCell());
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(0, 0, rect));
    EXPECT_EQ(CRect(0, 0, 39, 19), rect);
    ASSERT_TRUE(grid.GetCellRect(2, 3, rect));
    EXPECT_EQ(CRect(90, 45, 149, 69), rect);
    EXPECT_FALSE(grid.GetCellRect(6, 0, rect));
    EXPECT_EQ(CPoint(5, 7), grid.PointInCell(2, 3, CPoint(95, 52)));
    EXPECT_EQ(CPoint(0, 0), grid.PointInCell(-1, 3, CPoint(95, 52)));

    const struct
    {
        CPoint point;
        BOOL bAllowFixed;
        CCellID cell;
    } hits[] = {
        { CPoint(0, 0), TRUE, CCellID(0, 0) },
        { CPoint(39, 19), TRUE, CCellID(0, 0) },
        { CPoint(10, 10), FALSE, CCellID(-1, -1) },
        { CPoint(40, 20), FALSE, CCellID(1, 1) },
        { CPoint(89, 44), TRUE, CCellID(1, 1) },
        // The hidden column takes no room.
        { CPoint(90, 45), TRUE, CCellID(2, 3) },
        { CPoint(-1, 30), TRUE, CCellID(1, -1) },
        // Right of the last column: a row without a column.
        { CPoint(250, 30), TRUE, CCellID(1, -1) },
        { CPoint(100, 20 + 5 * 25), TRUE, CCellID(-1, 3) },
    };
    for (const auto& hit : hits)
        EXPECT_EQ(hit.cell, grid.GetCellFromPt(hit.point, hit.bAllowFixed))
            << hit.point.x << "," << hit.point.y;

    // Points in the headings find nothing unless fixed cells are allowed.
    CTestGrid threeFixed(6, 3, 3, 0);
    EXPECT_EQ(CCellID(-1, 0), threeFixed.GetCellFromPt(CPoint(5, 5), FALSE));
    EXPECT_EQ(CCellID(0, 0), threeFixed.GetCellFromPt(CPoint(5, 5), TRUE));
    // Without non-fixed cells nothing is found unless fixed cells are allowed.
    CTestGrid onlyFixed(2, 2, 2, 2);
    EXPECT_EQ(CCellID(), onlyFixed.GetCellFromPt(CPoint(1, 1), FALSE));
    EXPECT_EQ(CCellID(0, 0), onlyFixed.GetCellFromPt(CPoint(1, 1), TRUE));
}

TEST(GridLayout, ScrollRangesLetTheLastRowAndColumnShowWhole)
{
    const CSize bars(17, 16);
    const struct
    {
        const char* what;
        CSize noBars, fixed, total;
        BOOL bHideBoth, bHorz;
        int nHorzMax, nHorzPage, nVertMax, nVertPage;
    } cases[] = {
        { "fits", { 300, 200 }, { 40, 20 }, { 250, 180 }, FALSE, FALSE, 0, 0, 0, 0 },
        // The always-shown vertical bar leaves 283 pixels, 243 beside the fixed column.
        { "columns overflow by the bar", { 300, 200 }, { 40, 20 }, { 290, 100 }, FALSE, TRUE,
          249, 243, 0, 0 },
        { "rows overflow", { 300, 200 }, { 40, 20 }, { 250, 400 }, FALSE, FALSE, 0, 0, 379, 180 },
        // The horizontal bar takes its height from the rows.
        { "both overflow", { 300, 200 }, { 40, 20 }, { 500, 190 }, FALSE, TRUE, 459, 243, 169,
          164 },
        { "fixed columns fill the width", { 300, 200 }, { 300, 20 }, { 500, 400 }, TRUE, FALSE, 0,
          0, 0, 0 },
        { "fixed rows fill the height", { 300, 200 }, { 40, 250 }, { 500, 400 }, TRUE, FALSE, 0,
          0, 0, 0 },
        // Only the bar's width is left beside the fixed columns: no page, no negative range.
        { "no room beside the fixed columns", { 300, 200 }, { 290, 20 }, { 290, 100 }, FALSE,
          FALSE, 0, 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const CGridScrollLayout layout(c.noBars, c.fixed, c.total, bars);
        EXPECT_EQ(c.bHideBoth, layout.m_bHideBoth);
        EXPECT_EQ(c.bHorz, layout.m_bHorz);
        EXPECT_EQ(c.nHorzMax, layout.m_nHorzMax);
        EXPECT_EQ(c.nHorzPage, layout.m_nHorzPage);
        EXPECT_EQ(c.nVertMax, layout.m_nVertMax);
        EXPECT_EQ(c.nVertPage, layout.m_nVertPage);
        // At the last position the thumb can take, the content ends inside the window.
        if (layout.m_nHorzMax > 0)
        {
            const int nLastPos = layout.m_nHorzMax - layout.m_nHorzPage + 1;
            EXPECT_LE(c.total.cx - nLastPos, c.noBars.cx - bars.cx);
        }
        if (layout.m_nVertMax > 0)
        {
            const int nLastPos = layout.m_nVertMax - layout.m_nVertPage + 1;
            EXPECT_LE(c.total.cy - nLastPos, c.noBars.cy - (layout.m_bHorz ? bars.cy : 0));
        }
    }
}

// A grid in a window of 300 x 200 pixels, as a dialog shows it.
class GridWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.SetRowCount(20);
        m_grid.SetColumnCount(8);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        SetTestSizes(m_grid);
        m_owner.Attach(m_grid, CRect(0, 0, 300, 200));
        m_owner.m_pGrid = &m_grid;
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    CRect Client()
    {
        CRect rect;
        m_grid.GetClientRect(rect);
        return rect;
    }
    void Scroll(UINT nMessage, UINT nCode) { m_grid.SendMessage(nMessage, MAKEWPARAM(nCode, 0), 0); }
    int HorzPos() { return m_grid.GetScrollPos32(SB_HORZ); }
    // Part of the client area waits for a paint (a bar's own redraw is not in it).
    BOOL HasUpdate()
    {
        CRect rect;
        GetUpdateRect(m_grid.m_hWnd, rect, FALSE);
        return !rect.IsRectEmpty();
    }
    BOOL Shown(DWORD dwBar) { return (m_grid.GetStyle() & dwBar) != 0; }
    // The last position the horizontal thumb can take.
    int HorzLimit()
    {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(m_grid.m_hWnd, SB_HORZ, &si);
        return si.nMax - (int)si.nPage + 1;
    }

    CGridOwner m_owner;
    CTestGrid m_grid;
};

TEST_F(GridWindow, TheGridTakesAClientEdgeAndItsDropTargetOnceItHasASize)
{
    EXPECT_NE(0u, m_grid.GetExStyle() & WS_EX_CLIENTEDGE);
    CRect rectWindow;
    m_grid.GetWindowRect(rectWindow);
    EXPECT_EQ(CSize(300, 200), rectWindow.Size());
    m_grid.MoveWindow(0, 0, 280, 190);
    EXPECT_TRUE(m_grid.DropTargetRegistered());

    // The grid outlives its window and takes the next one, as the document's grids do.
    m_owner.DestroyWindow();
    EXPECT_EQ(nullptr, m_grid.GetSafeHwnd());
    EXPECT_FALSE(m_grid.DropTargetRegistered());
    CGridOwner next;
    next.Attach(m_grid, CRect(0, 0, 250, 150));
    m_grid.MoveWindow(0, 0, 260, 150);
    EXPECT_TRUE(m_grid.DropTargetRegistered());
    EXPECT_EQ(20, m_grid.GetRowCount());
}

TEST_F(GridWindow, BarsShowWhatNeedsScrollingAndTheVerticalOneIsAlwaysThere)
{
    // 20 rows and 390 pixels of columns in 300 x 200: both bars.
    EXPECT_TRUE(Shown(WS_VSCROLL));
    EXPECT_TRUE(Shown(WS_HSCROLL));
    EXPECT_EQ(3, m_grid.GetScrollBarState());
    EXPECT_EQ(m_grid.GetVirtualWidth() - 40 - 1, m_grid.GetScrollMax(SB_HORZ));

    // Content that fits: a disabled vertical bar and no horizontal one.
    m_grid.SetRowCount(4);
    m_grid.SetColumnCount(3);
    EXPECT_TRUE(Shown(WS_VSCROLL));
    EXPECT_FALSE(Shown(WS_HSCROLL));
    EXPECT_EQ(0, m_grid.GetScrollMax(SB_VERT));
    SCROLLBARINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(m_grid.m_hWnd, OBJID_VSCROLL, &info));
    EXPECT_NE(0u, info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);

    // Fixed columns wider than the window: no bars.
    m_grid.SetColumnWidth(0, 400);
    EXPECT_FALSE(Shown(WS_VSCROLL));
    EXPECT_FALSE(Shown(WS_HSCROLL));
    EXPECT_EQ(0, m_grid.GetScrollBarState());

    // Back with the same empty range: the vertical bar returns disabled all the same.
    m_grid.SetColumnWidth(0, 40);
    EXPECT_TRUE(Shown(WS_VSCROLL));
    ASSERT_TRUE(GetScrollBarInfo(m_grid.m_hWnd, OBJID_VSCROLL, &info));
    EXPECT_NE(0u, info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(GridWindow, SizesChangedWhileRedrawIsHeldBackFitTheBarsWhenTheLastHoldEnds)
{
    const int nVertMax = m_grid.GetScrollMax(SB_VERT);
    ValidateRect(m_grid.m_hWnd, NULL);
    m_grid.SetRedraw(FALSE);
    m_grid.SetRedraw(FALSE);
    for (int nRow = 1; nRow < 20; nRow++)
        m_grid.SetRowHeight(nRow, 30);
    // Columns 40, 50 and a hidden one fit across.
    m_grid.SetColumnCount(3);
    m_grid.SetRedraw(TRUE);
    EXPECT_EQ(nVertMax, m_grid.GetScrollMax(SB_VERT));
    EXPECT_TRUE(Shown(WS_HSCROLL));
    EXPECT_FALSE(HasUpdate());

    m_grid.SetRedraw(TRUE);
    EXPECT_TRUE(m_grid.GetAllowDraw());
    EXPECT_FALSE(Shown(WS_HSCROLL));
    EXPECT_EQ(19 * 30 - 1, m_grid.GetScrollMax(SB_VERT));
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(m_grid.m_hWnd, SB_VERT, &si));
    EXPECT_EQ(19 * 30 - 1, si.nMax);
    EXPECT_EQ((UINT)(Client().Height() - 20), si.nPage);
    EXPECT_TRUE(HasUpdate());
    // The last row shows whole at the end of the range.
    Scroll(WM_VSCROLL, SB_BOTTOM);
    CRect rect;
    ASSERT_TRUE(m_grid.GetCellRect(19, 1, rect));
    EXPECT_LT(rect.bottom, Client().bottom);

    // A SetRedraw(TRUE) without hold changes nothing.
    m_grid.SetRedraw(TRUE);
    m_grid.SetRedraw(FALSE);
    EXPECT_FALSE(m_grid.GetAllowDraw());
    m_grid.SetRedraw(TRUE);
    EXPECT_TRUE(m_grid.GetAllowDraw());
}

TEST_F(GridWindow, LineScrollsStepByWholeShownColumnsAndStopAtTheEnd)
{
    for (int nCol = 4; nCol < 8; nCol++)
        m_grid.SetColumnWidth(nCol, 100);
    // From the first non-fixed column: 50, then the hidden one is passed, then 60, 100.
    const int expected[] = { 50, 110, 210 };
    for (int nPos : expected)
    {
        Scroll(WM_HSCROLL, SB_LINERIGHT);
        EXPECT_EQ(nPos, HorzPos());
    }
    EXPECT_EQ(5, m_grid.GetTopLeftScrollCell().col);
    CPoint origin;
    EXPECT_FALSE(m_grid.GetCellOrigin(5, 4, &origin));
    ASSERT_TRUE(m_grid.GetCellOrigin(5, 5, &origin));
    EXPECT_EQ(40, origin.x);
    ASSERT_TRUE(m_grid.GetCellOrigin(5, 0, &origin));
    EXPECT_EQ(0, origin.x);

    for (int i = 0; i < 10; i++)
        Scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(HorzLimit(), HorzPos());
    // At the end nothing moves and nothing is redrawn.
    ValidateRect(m_grid.m_hWnd, NULL);
    Scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(HorzLimit(), HorzPos());
    EXPECT_FALSE(HasUpdate());

    Scroll(WM_HSCROLL, SB_LINELEFT);
    EXPECT_LT(HorzPos(), HorzLimit());
    Scroll(WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(0, HorzPos());
    Scroll(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_EQ(Client().Width() - 40, HorzPos());
    Scroll(WM_HSCROLL, SB_PAGELEFT);
    EXPECT_EQ(0, HorzPos());

    Scroll(WM_VSCROLL, SB_BOTTOM);
    const int nVertPos = m_grid.GetScrollPos32(SB_VERT);
    EXPECT_GT(nVertPos, 0);
    // The last row shows whole.
    CRect rect;
    ASSERT_TRUE(m_grid.GetCellRect(19, 1, rect));
    EXPECT_LT(rect.bottom, Client().bottom);
    Scroll(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(0, m_grid.GetScrollPos32(SB_VERT));
    EXPECT_EQ(1, m_grid.GetTopLeftScrollCell().row);
}

TEST_F(GridWindow, TheThumbMovesTheTopLeftCell)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = 60;   // inside the third row: the fourth is the first shown
    SetScrollInfo(m_grid.m_hWnd, SB_VERT, &si, FALSE);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION);
    EXPECT_EQ(4, m_grid.GetTopLeftScrollCell().row);
    EXPECT_EQ(4, m_grid.GetVisibleNonFixedCellRange().m_nMinRow);
    EXPECT_FALSE(m_grid.IsCellVisible(3, 1));
    EXPECT_TRUE(m_grid.IsCellVisible(4, 1));
    EXPECT_TRUE(m_grid.IsCellVisible(0, 0));
}

TEST_F(GridWindow, VisibleRangesEndWithTheFirstCellThatReachesTheEdge)
{
    CRect rectCells;
    const CCellRange visible = m_grid.GetVisibleNonFixedCellRange(rectCells);
    const CRect client = Client();
    // Rows of 25 below 20 pixels of headings: the first row reaching the bottom is the last.
    EXPECT_EQ(1, visible.m_nMinRow);
    EXPECT_EQ((client.Height() - 20 + 24) / 25, visible.m_nMaxRow);
    EXPECT_EQ(client.bottom, rectCells.bottom);
    EXPECT_EQ(client.right, rectCells.right);
    EXPECT_TRUE(m_grid.IsCellVisible(visible.m_nMaxRow, 1));
    EXPECT_FALSE(m_grid.IsCellVisible(visible.m_nMaxRow + 1, 1));

    CRect rectFixed;
    const CCellRange fixed = m_grid.GetVisibleFixedCellRange(rectFixed);
    EXPECT_EQ(CCellRange(1, 0, visible.m_nMaxRow, 0), fixed);
    EXPECT_EQ(40, rectFixed.right);
}

TEST_F(GridWindow, EnsureVisibleBringsTheLastCellWholeIntoViewAtEveryWindowWidth)
{
    // Few rows: they fit while the columns overflow, the case where a bar's width decides
    // whether the last column can show whole. Hidden, the window resizes faster.
    m_owner.ShowWindow(SW_HIDE);
    m_grid.SetRowCount(3);
    for (int nWidth = 200; nWidth <= 420; nWidth++)
    {
        SCOPED_TRACE(nWidth);
        m_grid.MoveWindow(0, 0, nWidth, 150);
        Scroll(WM_HSCROLL, SB_LEFT);
        m_grid.EnsureVisible(2, 7);
        CRect rect;
        ASSERT_TRUE(m_grid.GetCellRect(2, 7, rect));
        EXPECT_LT(rect.right, Client().right);
    }
    m_grid.SetRowCount(20);
    for (int nHeight = 100; nHeight <= 300; nHeight += 3)
    {
        SCOPED_TRACE(nHeight);
        m_grid.MoveWindow(0, 0, 300, nHeight);
        Scroll(WM_VSCROLL, SB_TOP);
        m_grid.EnsureVisible(19, 1);
        CRect rect;
        ASSERT_TRUE(m_grid.GetCellRect(19, 1, rect));
        EXPECT_LT(rect.bottom, Client().bottom);
    }

    // A cell already in view needs no scrolling.
    Scroll(WM_VSCROLL, SB_TOP);
    m_grid.m_nScrollMessages = 0;
    m_grid.EnsureVisible(2, 1);
    EXPECT_EQ(0, m_grid.m_nScrollMessages);
}

TEST_F(GridWindow, AWheelNotchPostsLinesOrAPage)
{
    const struct
    {
        int nLines;
        short nDelta;
        UINT nCode;
        int nCount;
    } cases[] = {
        { 3, 120, SB_LINEUP, 3 },
        { 3, -240, SB_LINEDOWN, 6 },
        { -1, 120, SB_PAGEUP, 1 },
        { -1, -120, SB_PAGEDOWN, 1 },
        { 3, 30, SB_LINEDOWN, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nLines << " " << c.nDelta);
        m_grid.SetWheelLines(c.nLines);
        m_grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)c.nDelta), MAKELPARAM(50, 50));
        int nCount = 0;
        MSG msg;
        while (PeekMessageW(&msg, m_grid.m_hWnd, WM_VSCROLL, WM_VSCROLL, PM_REMOVE))
        {
            EXPECT_EQ(c.nCode, LOWORD(msg.wParam));
            nCount++;
        }
        EXPECT_EQ(c.nCount, nCount);
    }
}

TEST_F(GridWindow, AutoSizingTakesTheLargestCellAndLeavesHiddenColumnsHidden)
{
    m_grid.SetItemText(0, 3, L"Heading");
    m_grid.SetItemText(5, 3, L"A much longer text than the rest");
    CClientDC dc(&m_grid);
    const int nLongest = m_grid.GetCell(5, 3)->GetCellExtent(&dc).cx;
    const int nHeading = m_grid.GetCell(0, 3)->GetCellExtent(&dc).cx;
    ASSERT_TRUE(m_grid.AutoSizeColumn(3));
    EXPECT_EQ(nLongest, m_grid.GetColumnWidth(3));
    ASSERT_TRUE(m_grid.AutoSizeColumn(3, GridAutoSizeFixed));
    EXPECT_EQ(nHeading, m_grid.GetColumnWidth(3));

    EXPECT_FALSE(m_grid.AutoSizeColumn(2));
    EXPECT_EQ(0, m_grid.GetColumnWidth(2));
    EXPECT_FALSE(m_grid.AutoSizeColumn(8));
    m_grid.AutoSizeColumns();
    EXPECT_EQ(0, m_grid.GetColumnWidth(2));
    EXPECT_EQ(nLongest, m_grid.GetColumnWidth(3));

    LOGFONT lf = {};
    lf.lfHeight = -40;
    lstrcpyW(lf.lfFaceName, L"DejaVu Sans");
    m_grid.SetItemFont(4, 6, &lf);
    m_grid.SetItemText(4, 6, L"Tall");
    ASSERT_TRUE(m_grid.AutoSizeRow(4));
    EXPECT_EQ(m_grid.GetCell(4, 6)->GetCellExtent(&dc).cy, m_grid.GetRowHeight(4));
    m_grid.SetRowHeight(5, 0);
    EXPECT_FALSE(m_grid.AutoSizeRow(5));
}

} // namespace
