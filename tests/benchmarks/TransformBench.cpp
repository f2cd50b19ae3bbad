// Whole-map transformations of the tile-cell map at 250, 500 and 1000 tiles a side; each
// should scale with the number of cells.
#include "MosaicBenchmark.h"

#include "RasterImage.h"

namespace
{

// An n x n map of whole tiles in a few colours, with some split cells among them.
struct BenchMap
{
    CRasterImage image;
    explicit BenchMap(int n)
    {
        image.Create(0, 4 * n, 4 * n);
        image.FillBytes(0);
        for (int row = 0; row < n; ++row)
        {
            for (int col = 0; col < n; ++col)
            {
                const int colour = (col * 7 + row * 13) % 5;
                const int kind = (col + row) % 11 == 0 ? 5 : 0;
                image.SetCell(col, row, 0, kind, colour, colour + 1, colour + 2, colour + 3, 1,
                              2, 3, 4);
            }
        }
    }
    ~BenchMap() { image.Free(); }
};

void Finish(benchmark::State& state, int n)
{
    state.SetComplexityN((int64_t)n * n);
    state.SetItemsProcessed(state.iterations() * (int64_t)n * n);
}

// Shift by one tile: 0 insert columns, 1 delete columns, 2 insert rows, 3 delete rows.
void BM_Shift(benchmark::State& state)
{
    const int n = (int)state.range(0);
    const int op = (int)state.range(1);
    BenchMap map(n);
    for (auto _ : state)
    {
        switch (op)
        {
        case 0:
            map.image.InsertColumns(4);
            break;
        case 1:
            map.image.DeleteColumns(4);
            break;
        case 2:
            map.image.InsertRows(4);
            break;
        default:
            map.image.DeleteRows(4);
            break;
        }
    }
    Finish(state, n);
}

void BM_CopyCellsRect(benchmark::State& state)
{
    const int n = (int)state.range(0);
    const int mode = (int)state.range(1);
    BenchMap source(n), dest(n);
    const RECT all = {0, 0, n, n};
    for (auto _ : state)
        source.image.CopyCellsRect(&dest.image, all, all, mode);
    Finish(state, n);
}

void BM_ResampleCells(benchmark::State& state)
{
    const int n = (int)state.range(0);
    BenchMap source(n), dest(n);
    for (auto _ : state)
        dest.image.ResampleCells(&source.image, n, n, 1.5, 2);
    Finish(state, n);
}

void BM_MajorityFilterCells(benchmark::State& state)
{
    const int n = (int)state.range(0);
    BenchMap source(n), dest(n);
    for (auto _ : state)
        source.image.MajorityFilterCells(&dest.image, 3, n, n);
    Finish(state, n);
}

void BM_GenerateTriangles(benchmark::State& state)
{
    const int n = (int)state.range(0);
    BenchMap map(n);
    for (auto _ : state)
        map.image.GenerateTriangles();
    Finish(state, n);
}

} // namespace

BENCHMARK(BM_Shift)
    ->ArgsProduct({{250, 500, 1000}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyCellsRect)
    ->ArgsProduct({{250, 500, 1000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleCells)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MajorityFilterCells)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateTriangles)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
