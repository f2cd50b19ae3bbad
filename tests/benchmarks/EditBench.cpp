// The editing commands on a 1000 x 1000 mosaic: a resize by factor 2 both ways, and a mirror
// of the whole grid as the selected block.
#include "MosaicBenchmark.h"

#include <memory>

#include "DocSettings.h"
#include "LangText.h"
#include "VitrolanDoc.h"

namespace
{

const int kSide = 1000;

// A settled side x side mosaic of 256 colours, with some split cells among them.
std::unique_ptr<CVitrolanDoc> LargeDocument(int side)
{
    SetDocProfileRoot(L"Software\\MosaicBenchmarks");
    // The document names its units in the interface language.
    SetLangTextFolder(BenchmarkDataFolder());
    std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
    doc->m_cols = side;
    doc->m_rows = side;
    doc->m_colourCount = 256;
    for (int i = 0; i < 256; i++)
    {
        doc->m_imagePalette.m_colours[i].peRed = (BYTE)i;
        doc->m_imagePalette.m_colours[i].peGreen = (BYTE)(i * 3);
        doc->m_imagePalette.m_colours[i].peBlue = (BYTE)(i * 7);
    }
    doc->m_workingMap.Free();
    doc->m_workingMap.Create(0, 4 * side, 4 * side);
    for (int row = 0; row < side; ++row)
        for (int col = 0; col < side; ++col)
        {
            const int colour = (col * 7 + row * 13) % 256;
            const int kind = (col + row) % 11 == 0 ? 5 : 0;
            doc->m_workingMap.SetCell(col, row, 0, kind, colour, (colour + 1) % 256,
                                      (colour + 2) % 256, (colour + 3) % 256, 1, 2, 3, 4);
        }
    doc->m_committedMap.Free();
    doc->m_committedMap.Create(0, 4 * side, 4 * side);
    doc->m_workingMap.CopyBlock(&doc->m_committedMap, 4 * side, 4 * side);
    doc->m_loaded = 1;
    return doc;
}

// Factor 2 up (range 0 = 1) or down (0): the command from the resampling to the packed
// palette; its undo runs outside the timing.
void BM_Resize(benchmark::State& state)
{
    const bool bEnlarge = state.range(0) != 0;
    std::unique_ptr<CVitrolanDoc> doc = LargeDocument(kSide);
    for (auto _ : state)
    {
        if (!doc->ResizeGrid(1.0f, bEnlarge ? 2.0f : 0.5f))
            state.SkipWithError("the resize was refused");
        state.PauseTiming();
        doc->OnEditUndo();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (int64_t)kSide * kSide);
}
BENCHMARK(BM_Resize)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void WholeGrid(CShpRectangle*, RECT* pRect) { SetRect(pRect, 0, 0, 4000, 4000); }

// The mirror of the whole grid, the settling of the previous mirror included.
void BM_Mirror(benchmark::State& state)
{
    const bool bAcross = state.range(0) != 0;
    std::unique_ptr<CVitrolanDoc> doc = LargeDocument(kSide);
    int shape = 0;
    doc->m_selection = reinterpret_cast<CShpRectangle*>(&shape);
    CVitrolanDoc::s_uiHooks.pfnGetShapeRect = WholeGrid;
    doc->m_selectTool = 1;
    const int block[4] = {0, 0, kSide - 1, kSide - 1};
    for (int i = 0; i < 4; i++)
        doc->m_copyRect[i] = block[i];
    for (auto _ : state)
    {
        if (bAcross)
            doc->OnMirrorHorizontal();
        else
            doc->OnMirrorVertical();
    }
    doc->m_selection = NULL;
    CVitrolanDoc::s_uiHooks = DocUiHooks();
    state.SetItemsProcessed(state.iterations() * (int64_t)kSide * kSide);
}
BENCHMARK(BM_Mirror)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}   // namespace

BENCHMARK_MAIN();
