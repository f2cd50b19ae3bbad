#include "MosaicBenchmark.h"

#include "RasterImage.h"
#include "RegionTools.h"

namespace
{

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

// The fill tool from the click to the map: region plane, region, cells.
void FillRegion(benchmark::State& state, bool comb)
{
    const int side = (int)state.range(0);
    Image map;
    MakeMap(map, side, comb);
    int seed1 = 12345, seed2 = 67890;
    int colour = 3;
    for (auto _ : state)
    {
        Image plane;
        PrepareRegionPlane(&plane, &map, side, side);
        PaintRegionInPlane(&plane, side, side, 0, 0, colour);
        map.FillRegionWithColour(&plane, side, side, 1, &seed1, &seed2);
        colour = colour == 3 ? 1 : 3;
        benchmark::ClobberMemory();
    }
    state.SetComplexityN((long long)side * side);
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
    for (auto _ : state)
    {
        Image plane;
        PrepareRegionPlane(&plane, &map, side, side);
        TagRegionInPlane(&plane, side, side, 0, 0);
        map.ToggleCellsInRegion(&plane, side, side);
        benchmark::ClobberMemory();
    }
    state.SetComplexityN((long long)side * side);
}
BENCHMARK_CAPTURE(ToggleRegion, uniform, false)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(ToggleRegion, comb, true)
    ->Arg(250)->Arg(500)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
