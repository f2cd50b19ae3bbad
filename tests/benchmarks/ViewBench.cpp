// The view's paint of a 1920 x 1080 window showing a 400 x 300 mosaic, for each paving
// pattern and two zooms, also with textured tiles, and a scroll by one page with the paint it
// causes. The paint goes
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

// The same mosaic in the 48 colours of the glass example palette, each tile in one of the
// palette's shades and turns, drawn textured; the textures are loaded before the window
// first paints.
class TexturedViewBench : public CBenchViewWindow
{
public:
    TexturedViewBench(int type, int zoom)
        : CBenchViewWindow(type, zoom, BenchMosaic{400, 300, 48, true}, WS_POPUP,
                           [](CVitrolanDoc& d) { s_bTextured = UseGlassPalette(d); })
    {
    }

    // Whether the textures were all loaded: the document is prepared before the view, while
    // this class's own members are not yet made.
    BOOL Textured() const { return s_bTextured; }

private:
    static BOOL UseGlassPalette(CVitrolanDoc& d)
    {
        d.m_programFolder = BenchmarkDataFolder();
        const CString strPalette = d.m_programFolder + L"Palettes\\Verre-Nuances.pal";
        if (!d.m_tilePalette.LoadFromFile(strPalette) || d.m_tilePalette.m_paletteKind < 1)
            return FALSE;
        for (int c = 0; c < 48; ++c)
            d.m_imagePalette.m_colours[c] = d.m_tilePalette.m_colours[c];
        d.m_imagePalette.m_paletteKind = d.m_tilePalette.m_paletteKind;
        const int variants = PaletteShadeCount(d.m_tilePalette.m_paletteKind) * 4;
        unsigned seed = 777;
        for (int row = 0; row < d.m_rows; ++row)
            for (int col = 0; col < d.m_cols; ++col)
            {
                int s, k, a, b, c, e, va, vb, vc, vd;
                d.m_workingMap.GetCell(col, row, s, k, a, b, c, e, va, vb, vc, vd);
                seed = seed * 1103515245u + 12345u;
                const int v = (int)((seed >> 8) % (unsigned)variants);
                d.m_workingMap.SetCell(col, row, s, k, a, b, c, e, v, (v + 1) % variants,
                                       (v + 2) % variants, (v + 3) % variants);
            }
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * d.m_cols, 4 * d.m_rows);
        d.m_texturedTiles = 1;
        return d.LoadTileTextures(d.m_tileSize);
    }

    static BOOL s_bTextured;
};

BOOL TexturedViewBench::s_bTextured = FALSE;

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

void BM_RepaintTextured(benchmark::State& state)
{
    const int type = (int)state.range(0);
    TexturedViewBench bench(type, (int)state.range(1));
    if (!bench.HasWindow())
    {
        state.SkipWithError("the view needs a display (DISPLAY)");
        return;
    }
    if (!bench.Textured())
    {
        state.SkipWithError("the glass example palette or one of its textures is missing");
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
BENCHMARK(BM_RepaintTextured)->Apply(PatternsAndZooms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Apply(PatternsAndZooms)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
