// The grid with 1000 rows of 20 columns, one of each fixed, every cell holding a text: the
// paint of what a 1200 x 800 window shows (at the top and scrolled to the middle, into a
// memory bitmap, so that the program's work is measured and not the X server's), the
// window's own paint through its off-screen buffer, and setting 20 000 item texts.
// Then a table as the colour dialogs show one, a child window in a shown owner: the sizes
// of its 260 rows (or columns) set one after the other, and a Page Down with its repaint,
// of which the scroll bar's own redraw is the greater part under Wine.
// Everything with a window needs a display (Xvfb will do).
#include "MosaicBenchmark.h"

#include <stdlib.h>

#include <string>
#include <vector>

#include "AfxResource.h"
#include "GridCtrl.h"

namespace
{

const int kRows = 1000;
const int kCols = 20;
const int kWidth = 1200;
const int kHeight = 800;

void FillTexts(CGridCtrl& grid)
{
    CString strText;
    for (int nRow = 0; nRow < kRows; nRow++)
        for (int nCol = 0; nCol < kCols; nCol++)
        {
            strText.Format(L"%d:%d", nRow, nCol);
            grid.SetItemText(nRow, nCol, strText);
        }
}

// The grid in a top-level window of kWidth x kHeight, and a bitmap of its client
// area to paint into.
class GridBench
{
public:
    GridBench() : m_grid(kRows, kCols, 1, 1)
    {
        FillTexts(m_grid);
        if (getenv("DISPLAY") == NULL)
            return;
        HWND hWnd = CreateWindowExW(0, GRIDCTRL_CLASSNAME, L"", WS_POPUP, 0, 0, kWidth, kHeight,
                                    NULL, NULL, AfxGetInstanceHandle(), NULL);
        if (hWnd == NULL || !m_grid.SubclassWindow(hWnd))
            return;
        m_grid.EnableScrollBars(SB_VERT, TRUE);
        m_grid.ResetScrollBars();
        m_grid.SetFocusCellRowCol(3, 3);
        m_grid.ShowWindow(SW_SHOWNOACTIVATE);
        CRect rect;
        m_grid.GetClientRect(rect);
        CClientDC screen(NULL);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height());
        m_hOld = m_dc.SelectObject(m_bitmap.GetSafeHandle());
    }
    ~GridBench()
    {
        if (m_hOld != NULL)
            m_dc.SelectObject(m_hOld);
        if (m_grid.GetSafeHwnd() != NULL)
            m_grid.DestroyWindow();
    }

    BOOL HasWindow() const { return m_hOld != NULL; }
    CGridCtrl& Grid() { return m_grid; }
    void Paint()
    {
        m_grid.OnDraw(&m_dc);
        GdiFlush();
    }

private:
    CGridCtrl m_grid;
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld = NULL;
};

// range(0): how many pages down the paint shows.
void BM_PaintVisiblePart(benchmark::State& state)
{
    GridBench bench;
    if (!bench.HasWindow())
    {
        state.SkipWithError("painting needs a display (DISPLAY)");
        return;
    }
    for (int i = 0; i < state.range(0); i++)
        bench.Grid().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    const CCellRange visible = bench.Grid().GetVisibleNonFixedCellRange();
    for (auto _ : state)
        bench.Paint();
    state.counters["cells"] = (double)visible.GetRowSpan() * visible.GetColSpan();
    state.counters["first row"] = visible.m_nMinRow;
}

// The window's paint: the off-screen drawing and its copy to the window.
void BM_WindowPaint(benchmark::State& state)
{
    GridBench bench;
    if (!bench.HasWindow())
    {
        state.SkipWithError("painting needs a display (DISPLAY)");
        return;
    }
    for (auto _ : state)
    {
        bench.Grid().RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
    }
}

void BM_SetItemTexts(benchmark::State& state)
{
    CGridCtrl grid(kRows, kCols, 1, 1);
    std::vector<CString> texts(kRows * kCols);
    for (int i = 0; i < kRows * kCols; i++)
        texts[i].Format(L"Text %d", i);
    for (auto _ : state)
    {
        for (int nRow = 0; nRow < kRows; nRow++)
            for (int nCol = 0; nCol < kCols; nCol++)
                grid.SetItemText(nRow, nCol, texts[nRow * kCols + nCol]);
    }
    state.SetItemsProcessed(state.iterations() * kRows * kCols);
}

// A table of 260 lines and a heading line, one fixed column, as a child window of a shown
// owner of a dialog's size; kTableLines rows by 8 columns, or the other way round.
const int kTableLines = 261;

class TableBench
{
public:
    TableBench(int nRows, int nCols, CSize size = CSize(600, 400)) : m_grid(nRows, nCols, 1, 1)
    {
        CString strText;
        for (int nRow = 0; nRow < nRows; nRow++)
            for (int nCol = 0; nCol < nCols; nCol++)
            {
                strText.Format(L"%d", nRow * 100 + nCol);
                m_grid.SetItemText(nRow, nCol, strText);
            }
        if (getenv("DISPLAY") == NULL)
            return;
        m_hOwner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                   size.cx + 20, size.cy + 20, NULL, NULL,
                                   AfxGetInstanceHandle(), NULL);
        HWND hWnd = CreateWindowExW(0, GRIDCTRL_CLASSNAME, L"", WS_CHILD | WS_VISIBLE, 10, 10,
                                    size.cx, size.cy, m_hOwner, NULL, AfxGetInstanceHandle(),
                                    NULL);
        if (hWnd == NULL || !m_grid.SubclassWindow(hWnd))
            return;
        m_grid.EnableScrollBars(SB_VERT, TRUE);
        m_grid.ResetScrollBars();
        m_grid.UpdateWindow();
    }
    ~TableBench()
    {
        if (m_grid.GetSafeHwnd() != NULL)
            m_grid.DestroyWindow();
        if (m_hOwner != NULL)
            DestroyWindow(m_hOwner);
    }

    BOOL HasWindow() const { return m_grid.GetSafeHwnd() != NULL; }
    CGridCtrl& Grid() { return m_grid; }

private:
    HWND m_hOwner = NULL;
    CGridCtrl m_grid;
};

// range(0): 0 sets the rows' heights, 1 the columns' widths; each round changes them all.
// range(1): 1 sets them between SetRedraw(FALSE) and SetRedraw(TRUE), as the dialogs fill
// their tables, 0 one after the other.
void BM_SetLineSizes(benchmark::State& state)
{
    const bool bColumns = state.range(0) != 0;
    const bool bBatch = state.range(1) != 0;
    TableBench bench(bColumns ? 8 : kTableLines, bColumns ? kTableLines : 8);
    if (!bench.HasWindow())
    {
        state.SkipWithError("the grid's window needs a display (DISPLAY)");
        return;
    }
    CGridCtrl& grid = bench.Grid();
    int nSize = 35;
    for (auto _ : state)
    {
        nSize = nSize == 35 ? 36 : 35;
        if (bBatch)
            grid.SetRedraw(FALSE);
        for (int nLine = 1; nLine < kTableLines; nLine++)
        {
            if (bColumns)
                grid.SetColumnWidth(nLine, nSize + 40);
            else
                grid.SetRowHeight(nLine, nSize);
        }
        if (bBatch)
            grid.SetRedraw(TRUE);
    }
    state.SetLabel(std::string(bColumns ? "columns" : "rows") + (bBatch ? ", batch" : ""));
    state.counters["max"] = grid.GetScrollMax(bColumns ? SB_HORZ : SB_VERT);
}

// Page Down on a focused table, and the repaint that follows; at the last row the table goes
// back to the top, untimed.
void BM_PageDown(benchmark::State& state)
{
    TableBench bench(kTableLines, 8);
    if (!bench.HasWindow())
    {
        state.SkipWithError("the grid's window needs a display (DISPLAY)");
        return;
    }
    CGridCtrl& grid = bench.Grid();
    auto toTop = [&grid]() {
        grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        grid.SetFocusCellRowCol(1, 1);
        grid.SetSelectedRange(1, 1, 1, 1);
        grid.UpdateWindow();
    };
    toTop();
    int nPages = 0;
    for (auto _ : state)
    {
        grid.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
        grid.UpdateWindow();
        GdiFlush();
        nPages++;
        if (grid.GetFocusCell().row >= kTableLines - 1)
        {
            state.PauseTiming();
            toTop();
            state.ResumeTiming();
        }
    }
    state.counters["pages"] = nPages;
}

// What a Page Down cannot do without: moving the thumb, which makes Wine redraw the bar.
void BM_ThumbMove(benchmark::State& state)
{
    TableBench bench(kTableLines, 8);
    if (!bench.HasWindow())
    {
        state.SkipWithError("the grid's window needs a display (DISPLAY)");
        return;
    }
    int nPage = 0;
    for (auto _ : state)
    {
        nPage = 1 - nPage;
        bench.Grid().SetScrollPos32(SB_VERT, nPage * 300);
    }
}

} // namespace

BENCHMARK(BM_PaintVisiblePart)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetItemTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetLineSizes)
    ->Args({ 0, 1 })
    ->Args({ 1, 1 })
    ->Args({ 0, 0 })
    ->Args({ 1, 0 })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbMove)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
