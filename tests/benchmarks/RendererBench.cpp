#include "MosaicBenchmark.h"

#include <string.h>

#include <vector>

#include "Paving.h"
#include "RasterImage.h"
#include "TileCell.h"
#include "TileRenderer.h"
#include "model/TileMasks.h"

namespace
{

const int kCols = 400;
const int kRows = 300;
const int kTile = 4;
const int kWidth = 1920;
const int kHeight = 1080;

const char* const kPatternNames[PavingTypeCount] = {
    "squares", "diamonds", "circles", "triangles", "hexagons", "scales 1", "scales 2",
    "crossed joints"};

// A 400 x 300 mosaic of 256 colours, one tile in eight cut into parts of the six kinds, and
// the border halves of the patterns with shifted rows.
void BuildMap(CRasterImage& map, int type)
{
    map.Create(0, 4 * kCols, 4 * kRows);
    unsigned state = 12345;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
        {
            state = state * 1103515245u + 12345u;
            const int colour = (state >> 16) & 255;
            const int kind = ((state >> 8) & 7) == 0 ? 1 + (int)((state >> 4) % 6) : 0;
            map.SetCell(c, r, 0, kind, colour, (colour + 1) & 255, (colour + 2) & 255,
                        (colour + 3) & 255, 0, 0, 0, 0);
        }
    if (type != PavingSquares)
        CRasterImage::SetBorderCodes(&map, type, kCols, kRows, -1, -1);
}

void BM_RenderMosaic(benchmark::State& state)
{
    const int type = (int)state.range(0);
    CRasterImage map;
    BuildMap(map, type);
    CRasterImage masks0[PavingTypeCount];
    CRasterImage masks1[PavingTypeCount];
    BuildMasks(type, kTile, masks0, masks1);
    CRasterImage picture;
    picture.Create(1, kWidth, kHeight);
    BYTE table[3 * DisplayColourCount];
    memset(table, 0, sizeof(table));
    memset(table + 3 * ColourBackground, 255, 3);
    memset(table + 3 * ColourJoint, 192, 3);
    memset(table + 3 * ColourOutside, 196, 3);
    memset(table + 3 * ColourScalesBackground, 254, 3);
    PaletteEntry colours[256];
    for (int i = 0; i < 256; ++i)
    {
        colours[i].peRed = (BYTE)i;
        colours[i].peGreen = (BYTE)(255 - i);
        colours[i].peBlue = (BYTE)(i * 7);
        colours[i].peFlags = 0;
    }
    int out[5];
    for (auto _ : state)
    {
        RenderMosaic(&picture, 0, &map, kTile, 1, kCols, kRows, 0, 0, type, NULL, masks0,
                     masks1, 0, 0, &out[0], &out[1], &out[2], &out[3], &out[4], NULL, 0, 0,
                     NULL, table, colours, colours, 0, NULL);
        benchmark::DoNotOptimize(picture.data);
        benchmark::ClobberMemory();
    }
    state.SetLabel(kPatternNames[type]);
    picture.Free();
    map.Free();
    for (int i = 0; i < PavingTypeCount; ++i)
    {
        masks0[i].Free();
        masks1[i].Free();
    }
}

} // namespace

BENCHMARK(BM_RenderMosaic)->DenseRange(0, PavingTypeCount - 1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
