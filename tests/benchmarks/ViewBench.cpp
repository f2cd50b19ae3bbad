// The view's paint of a 1920 x 1080 window showing a 400 x 300 mosaic, for each paving
// pattern and two zooms, and a scroll by one page with the paint it causes. The paint goes
// to a memory device context: what is measured is the program's work, not the X server's.
// The view is a real, hidden window: run with a display (Xvfb will do).
#include "BenchViewWindow.h"

namespace
{

// A 400 x 300 mosaic of 256 colours, one tile in eight cut into parts, in a hidden view.
class ViewBench : public CBenchViewWindow
{
public:
    ViewBench(int type, int zoom)
        : CBenchViewWindow(type, zoom, BenchMosaic{400, 300, 256, true}, WS_POPUP,
                           [](CVitrolanDoc&) {})
    {
    }
};

void BM_Repaint(benchmark::State& state)
{
    const int type = (int)state.range(0);
    ViewBench bench(type, (int)state.range(1));
    if (!bench.HasWindow())
    {
        state.SkipWithError("the view needs a display (DISPLAY)");
        return;
    }
    for (auto _ : state)
        bench.Paint();
    state.SetLabel(kPatternNames[type]);
}

// One page right, then back one page left, each with its paint: the figure is per page.
void BM_ScrollPage(benchmark::State& state)
{
    const int type = (int)state.range(0);
    ViewBench bench(type, (int)state.range(1));
    if (!bench.HasWindow())
    {
        state.SkipWithError("the view needs a display (DISPLAY)");
        return;
    }
    bench.Paint();
    bool bRight = true;
    for (auto _ : state)
    {
        bench.View().OnHScroll(bRight ? SB_PAGERIGHT : SB_PAGELEFT, 0, NULL);
        bench.Paint();
        bRight = !bRight;
    }
    state.SetLabel(kPatternNames[type]);
}

void PatternsAndZooms(benchmark::internal::Benchmark* b)
{
    for (int zoom : {4, 16})
        for (int type = 0; type < PavingTypeCount; ++type)
            b->Args({type, zoom});
}

} // namespace

BENCHMARK(BM_Repaint)->Apply(PatternsAndZooms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Apply(PatternsAndZooms)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
