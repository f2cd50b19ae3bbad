// The grid with 1000 rows of 20 columns, one of each fixed, every cell holding a text: the
// paint of what a 1200 x 800 window shows (at the top and scrolled to the middle, into a
// memory bitmap, so that the program's work is measured and not the X server's), the
// window's own paint through its off-screen buffer, and setting 20 000 item texts.
// Painting needs a display (Xvfb will do).
#include "MosaicBenchmark.h"

#include <stdlib.h>

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

} // namespace

BENCHMARK(BM_PaintVisiblePart)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetItemTexts)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
