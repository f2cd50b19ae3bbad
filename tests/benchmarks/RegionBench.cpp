// The fill, mix-fill and cell tools from the click to the map, on maps of side x side cells.
// The region plane lives from click to click, as the document keeps it.
// Each reports, as the counter "copies", its time per click in copies of the whole cell map
// (one memcpy of its bytes) measured in the same run, so that the figure does not depend on
// the machine's speed or load.
#include "MosaicBenchmark.h"

#include <string.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "RasterImage.h"
#include "RegionTools.h"

namespace
{

typedef std::chrono::steady_clock Clock;

struct Image : CRasterImage
{
    ~Image() { Free(); }
};

// A side x side map. comb false: one colour everywhere. comb true: columns of colour 1 joined
// along the bottom row, between columns of colour 2, so that the region winds through the
// whole map.
void MakeMap(Image& map, int side, bool comb)
{
    map.Create(0, 4 * side, 4 * side);
    for (int col = 0; col < side; ++col)
    {
        for (int row = 0; row < side; ++row)
        {
            const int colour = comb && col % 2 == 1 && row != side - 1 ? 2 : 1;
            map.SetCell(col, row, 0, 0, colour, colour, colour, colour, 0, 0, 0, 0);
        }
    }
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Median time of one copy of the map's bytes into another map of its size.
double CellMapCopySeconds(const CRasterImage& map)
{
    Image copy;
    copy.Create(0, map.width, map.height);
    memcpy(copy.data, map.data, map.size);
    std::vector<double> times;
    for (int i = 0; i < 9; ++i)
    {
        const Clock::time_point start = Clock::now();
        memcpy(copy.data, map.data, map.size);
        benchmark::DoNotOptimize(copy.data);
        benchmark::ClobberMemory();
        times.push_back(Seconds(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Times the clicks itself, so that the work between them (putting a map back) stays out.
class ClickTimer
{
public:
    explicit ClickTimer(const CRasterImage& map) : m_copy(CellMapCopySeconds(map)) {}
    void Start() { m_start = Clock::now(); }
    void Stop()
    {
        m_total += Seconds(m_start);
        ++m_clicks;
    }
    void Report(benchmark::State& state, int side) const
    {
        if (m_clicks > 0 && m_copy > 0)
            state.counters["copies"] = m_total / m_clicks / m_copy;
        state.SetComplexityN((long long)side * side);
    }

private:
    double m_copy;
    double m_total = 0;
    long long m_clicks = 0;
    Clock::time_point m_start;
};

// The yardstick: one copy of the whole cell map.
void CellMapCopy(benchmark::State& state)
{
    const int side = (int)state.range(0);
    Image map, copy;
    MakeMap(map, side, false);
    copy.Create(0, map.width, map.height);
    for (auto _ : state)
    {
        memcpy(copy.data, map.data, map.size);
        benchmark::DoNotOptimize(copy.data);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CellMapCopy)->Arg(1000)->Unit(benchmark::kMillisecond);

// The fill tool: region plane, region, cells.
void FillRegion(benchmark::State& state, bool comb)
{
    const int side = (int)state.range(0);
    Image map;
    MakeMap(map, side, comb);
    ClickTimer timer(map);
    int seed1 = 12345, seed2 = 67890;
    int colour = 3;
    Image plane;
    for (auto _ : state)
    {
        timer.Start();
        PrepareRegionPlane(&plane, &map, side, side);
        PaintRegionInPlane(&plane, side, side, 0, 0, colour);
        map.FillRegionWithColour(&plane, side, side, 1, &seed1, &seed2);
        colour = colour == 3 ? 1 : 3;
        benchmark::ClobberMemory();
        timer.Stop();
    }
    timer.Report(state, side);
}
BENCHMARK_CAPTURE(FillRegion, uniform, false)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(FillRegion, comb, true)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The cell tool over the same regions: tag, then toggle (twice, so the map comes back).
void ToggleRegion(benchmark::State& state, bool comb)
{
    const int side = (int)state.range(0);
    Image map;
    MakeMap(map, side, comb);
    ClickTimer timer(map);
    Image plane;
    for (auto _ : state)
    {
        timer.Start();
        PrepareRegionPlane(&plane, &map, side, side);
        TagRegionInPlane(&plane, side, side, 0, 0);
        map.ToggleCellsInRegion(&plane, side, side);
        benchmark::ClobberMemory();
        timer.Stop();
    }
    timer.Report(state, side);
}
BENCHMARK_CAPTURE(ToggleRegion, uniform, false)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(ToggleRegion, comb, true)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The mix-fill tool: a gradient of five mixes of six tile colours across the region, drawn
// over the same region every time (the map goes back between clicks, outside the timing).
void MixRegion(benchmark::State& state, bool comb)
{
    const int side = (int)state.range(0);
    Image map, original;
    MakeMap(map, side, comb);
    original.Create(0, map.width, map.height);
    memcpy(original.data, map.data, map.size);
    static int allowed[256];
    static int percent[50][256];
    const int tiles[6] = {3, 10, 11, 25, 40, 41};
    for (int m = 0; m < 5; ++m)
        for (int t = 0; t < 6; ++t)
        {
            allowed[tiles[t]] = 1;
            percent[m][tiles[t]] = 5 + (m * 7 + t * 11) % 30;
        }
    ClickTimer timer(map);
    int seed1 = 12345, seed2 = 67890;
    Image plane;
    for (auto _ : state)
    {
        timer.Start();
        PrepareRegionPlane(&plane, &map, side, side);
        TagRegionInPlane(&plane, side, side, 0, 0);
        map.FillRegionWithMix(&plane, side, side, 20, 5, 1, 64, allowed, percent, 1, &seed1,
                              &seed2);
        benchmark::ClobberMemory();
        timer.Stop();
        state.PauseTiming();
        memcpy(map.data, original.data, map.size);
        state.ResumeTiming();
    }
    timer.Report(state, side);
}
BENCHMARK_CAPTURE(MixRegion, uniform, false)
    ->Arg(250)->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MixRegion, comb, true)
    ->Arg(250)->Arg(1000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
