// The colour commands on a 1000 x 1000 mosaic of 256 colours: the reduction to 64 allowed
// tile colours, and a mix fill of the whole grid from three colours in two steps.
#include "MosaicBenchmark.h"

#include <string.h>

#include <memory>

#include "DocSettings.h"
#include "LangText.h"
#include "VitrolanDoc.h"

namespace
{

const int kSide = 1000;
const int kTileColours = 64;

// A settled mosaic of 256 colours spread over the RGB cube, and a tile palette of 64 colours
// on a 4 x 4 x 4 grid of the cube, every one of them allowed.
std::unique_ptr<CVitrolanDoc> ColourDocument()
{
    SetDocProfileRoot(L"Software\\MosaicBenchmarks");
    SetLangTextFolder(BenchmarkDataFolder());
    std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
    doc->m_cols = kSide;
    doc->m_rows = kSide;
    doc->m_colourCount = 256;
    for (int i = 0; i < 256; i++)
        doc->m_imagePalette.m_colours[i] = {(BYTE)(i * 37), (BYTE)(i * 101), (BYTE)(i * 173), 1};
    for (int t = 0; t < kTileColours; t++)
    {
        doc->m_tilePalette.m_colours[t] = {(BYTE)(t % 4 * 85), (BYTE)(t / 4 % 4 * 85),
                                           (BYTE)(t / 16 * 85), 1};
        doc->m_allowedColours[t] = 1;
    }
    doc->m_tileColourCount = kTileColours;
    doc->m_allowedCount = kTileColours;
    doc->m_workingMap.Free();
    doc->m_workingMap.Create(0, 4 * kSide, 4 * kSide);
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            doc->m_workingMap.SetCell(col, row, 0, 0, (col * 7 + row * 13) % 256, 0, 0, 0, 0, 0,
                                      0, 0);
    doc->m_committedMap.Free();
    doc->m_committedMap.Create(0, 4 * kSide, 4 * kSide);
    doc->m_workingMap.CopyBlock(&doc->m_committedMap, 4 * kSide, 4 * kSide);
    doc->m_loaded = 1;
    return doc;
}

// The mosaic as it was before the command: the cells, the colours and no pending edit.
void Restore(CVitrolanDoc& doc, const CRasterImage& cells, const PaletteEntry* colours)
{
    cells.CopyBlock(&doc.m_workingMap, 4 * kSide, 4 * kSide);
    cells.CopyBlock(&doc.m_committedMap, 4 * kSide, 4 * kSide);
    memcpy(doc.m_imagePalette.m_colours, colours, sizeof(doc.m_imagePalette.m_colours));
    doc.m_colourCount = 256;
    doc.m_undoPending = 0;
    doc.m_coloursPending = 0;
    doc.m_mixPreviewPending = 0;
}

void BM_ReduceColours(benchmark::State& state)
{
    std::unique_ptr<CVitrolanDoc> doc = ColourDocument();
    CRasterImage cells;
    cells.Create(0, 4 * kSide, 4 * kSide);
    doc->m_workingMap.CopyBlock(&cells, 4 * kSide, 4 * kSide);
    PaletteEntry colours[256];
    memcpy(colours, doc->m_imagePalette.m_colours, sizeof(colours));
    for (auto _ : state)
    {
        if (!doc->ReduceToAllowedColours())
            state.SkipWithError("nothing was reduced");
        state.PauseTiming();
        Restore(*doc, cells, colours);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)kSide * kSide);
}
BENCHMARK(BM_ReduceColours)->Unit(benchmark::kMillisecond);

CVitrolanDoc* g_pDoc = NULL;

BOOL KeepChoice()
{
    return TRUE;
}

// Three colours, falling, rising and the rest, over two steps.
BOOL ConfirmMix()
{
    CVitrolanDoc& doc = *g_pDoc;
    doc.m_mixCount = 2;
    doc.m_mixDirection = 0;
    const int rules[3][3] = {{MixFalling, 60, 40}, {MixRising, 10, 40}, {MixRest, 0, 0}};
    for (int i = 0; i < 3; i++)
    {
        doc.m_mixOptions[i] = rules[i][0];
        doc.m_mixStart[i] = rules[i][1];
        doc.m_mixStep[i] = rules[i][2];
    }
    doc.ComputeMixShares();
    return doc.AppendMixColours();
}

// The whole grid is one region of colour 0: the fill from the click to the packed palette.
void BM_MixFill(benchmark::State& state)
{
    std::unique_ptr<CVitrolanDoc> doc = ColourDocument();
    g_pDoc = doc.get();
    doc->m_colourCount = 1;
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            doc->m_workingMap.SetCell(col, row, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    CRasterImage cells;
    cells.Create(0, 4 * kSide, 4 * kSide);
    doc->m_workingMap.CopyBlock(&cells, 4 * kSide, 4 * kSide);
    PaletteEntry colours[256];
    memcpy(colours, doc->m_imagePalette.m_colours, sizeof(colours));
    memset(doc->m_allowedColours, 0, sizeof(doc->m_allowedColours));
    for (int i = 0; i < 3; i++)
        doc->m_allowedColours[i] = 1;
    doc->m_allowedCount = 3;
    CVitrolanDoc::s_uiHooks.pfnSelectColours = KeepChoice;
    CVitrolanDoc::s_uiHooks.pfnRunMixDialog = ConfirmMix;
    for (auto _ : state)
    {
        doc->FloodFillMix(2 * kSide, 2 * kSide);
        state.PauseTiming();
        Restore(*doc, cells, colours);
        doc->m_colourCount = 1;
        state.ResumeTiming();
    }
    CVitrolanDoc::s_uiHooks = DocUiHooks();
    state.SetItemsProcessed(state.iterations() * (int64_t)kSide * kSide);
}
BENCHMARK(BM_MixFill)->Unit(benchmark::kMillisecond);

}   // namespace

BENCHMARK_MAIN();
