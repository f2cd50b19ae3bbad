#include "MosaicBenchmark.h"

#include <string.h>

#include <random>
#include <vector>

#include "RasterImage.h"

namespace
{

const int kPlaneSide = 4000;

// A single corridor winding through the whole plane: walls (value 7) one pixel thick with a
// gap at alternate ends, corridors of value 0, and the seed (value 1) at the far end.
// horizontal false turns the corridors into columns, so that every span is one pixel long.
std::vector<BYTE> SerpentinePlane(int side, bool horizontal)
{
    std::vector<BYTE> plane((size_t)side * side, 0);
    for (int wall = 1; wall < side; wall += 2)
    {
        const int gap = (wall / 2) % 2 == 0 ? side - 1 : 0;
        for (int along = 0; along < side; ++along)
        {
            if (along == gap)
                continue;
            const size_t index = horizontal ? (size_t)wall * side + along
                                            : (size_t)along * side + wall;
            plane[index] = 7;
        }
    }
    plane[0] = 1;
    return plane;
}

void FloodFillSerpentine(benchmark::State& state)
{
    const bool horizontal = state.range(0) != 0;
    const std::vector<BYTE> start = SerpentinePlane(kPlaneSide, horizontal);
    CRasterImage plane;
    plane.Create(0, kPlaneSide, kPlaneSide);
    for (auto _ : state)
    {
        state.PauseTiming();
        memcpy(plane.data, start.data(), start.size());
        state.ResumeTiming();
        plane.FloodFill(1, 0);
        benchmark::DoNotOptimize(plane.data);
    }
    // The whole corridor must have been filled.
    if (memchr(plane.data, 0, plane.size) != NULL)
        state.SkipWithError("the fill did not reach the end of the corridor");
    plane.Free();
}
BENCHMARK(FloodFillSerpentine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void ExpandCells1000x1000(benchmark::State& state)
{
    const int cells = 1000;
    CRasterImage map;
    map.Create(0, 4 * cells, 4 * cells);
    std::mt19937 random(7);
    for (int row = 0; row < cells; ++row)
        for (int col = 0; col < cells; ++col)
            map.SetCell(col, row, 0, (int)(random() % 7), (int)(random() % 256),
                        (int)(random() % 256), (int)(random() % 256), (int)(random() % 256), 0,
                        0, 0, 0);
    CRasterImage plane;
    plane.Create(0, 4 * cells, 4 * cells);
    for (auto _ : state)
    {
        map.ExpandCellsTo4x4(&plane, cells, cells);
        benchmark::DoNotOptimize(plane.data);
    }
    map.Free();
    plane.Free();
}
BENCHMARK(ExpandCells1000x1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
