// The first textured render of a 400 x 300 mosaic laid with the 48 colours of the glass
// example palette in its four shades and four turns: reading the texture files, making the
// tile squares, and drawing the window the view shows first (1920 x 1080), with the decoded
// pictures kept from an earlier load and with none. Then the same after a zoom change: the
// files are read already, only the squares are made.
// The third is the check each paint makes before drawing.
#include "MosaicBenchmark.h"

#include <memory>

#include "DocSettings.h"
#include "LangText.h"
#include "Paving.h"
#include "TileRenderer.h"
#include "VitrolanDoc.h"

namespace
{

const int kCols = 400;
const int kRows = 300;
const int kWidth = 1920;
const int kHeight = 1080;

class TextureBench
{
public:
    TextureBench()
    {
        SetDocProfileRoot(L"Software\\MosaicBenchmarks");
        SetLangTextFolder(BenchmarkDataFolder());
        m_doc.reset(new CVitrolanDoc);
        CVitrolanDoc& d = *m_doc;
        d.m_programFolder = BenchmarkDataFolder();
        m_bPalette = d.m_tilePalette.LoadFromFile(d.m_programFolder + L"Palettes\\Verre-Nuances.pal");
        int colours = 0;
        while (colours < 256 && d.m_tilePalette.m_colours[colours].peFlags == 1)
            colours++;
        for (int c = 0; c < colours; c++)
            d.m_imagePalette.m_colours[c] = d.m_tilePalette.m_colours[c];
        d.m_imagePalette.m_paletteKind = d.m_tilePalette.m_paletteKind;
        d.m_cols = kCols;
        d.m_rows = kRows;
        d.m_workingMap.Create(0, 4 * kCols, 4 * kRows);
        unsigned seed = 12345;
        const int variants = PaletteShadeCount(d.m_tilePalette.m_paletteKind) * 4;
        for (int row = 0; row < kRows; row++)
            for (int col = 0; col < kCols; col++)
            {
                seed = seed * 1103515245u + 12345u;
                const int c = (int)((seed >> 16) % (unsigned)colours);
                const int v = (int)((seed >> 8) % (unsigned)variants);
                d.m_workingMap.SetCell(col, row, 0, 0, c, c, c, c, v, 0, 0, 0);
            }
        m_masks[PavingSquares].Create(0, 1, 1);
        m_picture.Create(1, kWidth, kHeight);
    }
    ~TextureBench()
    {
        for (CRasterImage& mask : m_masks)
            mask.Free();
        m_picture.Free();
    }

    // FALSE, the benchmark skipped, without the glass palette of a textured family.
    BOOL Ready(benchmark::State& state) const
    {
        if (m_bPalette && m_doc->m_tilePalette.m_paletteKind >= 1)
            return TRUE;
        state.SkipWithError("the glass example palette or its family is missing");
        return FALSE;
    }

    void SetZoom(int n)
    {
        CRasterImage& mask = m_masks[PavingSquares];
        mask.Create(0, n, n);
        mask.FillBytes(1);
        mask.DrawBorder(2, 1);
        m_doc->m_tileSize = n;
    }

    // Loads what the mosaic needs at the zoom and draws the first window: TRUE when every
    // texture was there.
    BOOL FirstRender()
    {
        CVitrolanDoc& d = *m_doc;
        const BOOL bLoaded = d.LoadTileTextures(d.m_tileSize);
        int hit[5];
        RenderMosaic(&m_picture, 0, &d.m_workingMap, d.m_tileSize, 1, kCols, kRows, 0, 0,
                     PavingSquares, NULL, m_masks, NULL, 0, 0, &hit[0], &hit[1], &hit[2],
                     &hit[3], &hit[4], NULL, 0, 1, d.m_textureCache.GetData(),
                     &d.m_colourTable[0][0], d.m_imagePalette.m_colours, d.m_tilePalette.m_colours,
                     d.m_imagePalette.m_paletteKind, d.m_imagePalette.m_notes);
        return bLoaded;
    }

    // Frees the squares and pictures; bDecoded drops the decoded pictures kept as well.
    void FreeTextures(bool bDecoded)
    {
        m_doc->FreeTileTextures(PaletteShadeCount(m_doc->m_tilePalette.m_paletteKind));
        if (bDecoded)
            m_doc->m_textureState.TrimKeptPictures(0);
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
    BOOL m_bPalette;
    CRasterImage m_masks[PavingTypeCount];
    CRasterImage m_picture;
};

// The textures freed before each render; with bColdFiles the decoded pictures go as well.
void RunFirstRenders(benchmark::State& state, bool bColdFiles)
{
    TextureBench bench;
    if (!bench.Ready(state))
        return;
    bench.SetZoom((int)state.range(0));
    if (!bColdFiles)
        bench.FirstRender();
    for (auto _ : state)
    {
        state.PauseTiming();
        bench.FreeTextures(bColdFiles);
        state.ResumeTiming();
        if (!bench.FirstRender())
        {
            state.SkipWithError("a texture of the example palette could not be read");
            return;
        }
    }
}

// The textures freed and loaded again, as when a document is closed and the next one shows
// the same palette: the decoded pictures are kept from one warm-up load, the squares are
// made again.
void BM_FirstTexturedRender(benchmark::State& state)
{
    RunFirstRenders(state, false);
}
BENCHMARK(BM_FirstTexturedRender)->Arg(8)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

// The first load of the program: every texture file read and decoded.
void BM_FirstTexturedRenderColdFiles(benchmark::State& state)
{
    RunFirstRenders(state, true);
}
BENCHMARK(BM_FirstTexturedRenderColdFiles)->Arg(8)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_TexturedRenderAfterZoom(benchmark::State& state)
{
    TextureBench bench;
    if (!bench.Ready(state))
        return;
    bench.SetZoom(16);
    bench.FirstRender();
    bench.SetZoom((int)state.range(0));
    for (auto _ : state)
        bench.FirstRender();
}
BENCHMARK(BM_TexturedRenderAfterZoom)->Arg(20)->Unit(benchmark::kMillisecond);

// What every paint with textured tiles asks before drawing: whether the squares serve the
// mosaic as it stands.
void BM_ReadinessCheckOfAPaint(benchmark::State& state)
{
    TextureBench bench;
    if (!bench.Ready(state))
        return;
    bench.SetZoom(20);
    bench.FirstRender();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.m_doc->GetTextureReadiness(20));
}
BENCHMARK(BM_ReadinessCheckOfAPaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
