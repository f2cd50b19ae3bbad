// The view's paint of a 1920 x 1080 window showing a 400 x 300 mosaic, for each paving
// pattern and two zooms, and a scroll by one page with the paint it causes. The paint goes
// to a memory device context: what is measured is the program's work, not the X server's.
// The view is a real, hidden window: run with a display (Xvfb will do).
#include "MosaicBenchmark.h"

#include <memory>
#include <stdlib.h>

#include "DocSettings.h"
#include "LangText.h"
#include "Paving.h"
#include "ViewHooks.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

namespace
{

const int kCols = 400;
const int kRows = 300;
const int kWidth = 1920;
const int kHeight = 1080;

const char* const kPatternNames[PavingTypeCount] = {
    "squares", "diamonds", "circles", "triangles", "hexagons", "scales 1", "scales 2",
    "crossed joints"};

// A document holding a 400 x 300 mosaic of 256 colours, one tile in eight cut into parts,
// and a hidden view window of 1920 x 1080 pixels on it; the paint goes into a bitmap.
class ViewBench
{
public:
    ViewBench(int type, int zoom)
    {
        // Without an X display the window system of the prefix does not start.
        if (getenv("DISPLAY") == NULL)
            return;
        SetDocProfileRoot(L"Software\\MosaicBenchmarks");
        SetLangTextFolder(BenchmarkDataFolder());
        InstallViewHooks();
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        LoadMosaic(type, zoom);
        m_pView = new CVitrolanView;   // deletes itself with its window
        m_doc->AddView(m_pView);
        m_bWindow = m_pView->CreateEx(0, NULL, L"", WS_POPUP, 0, 0, kWidth, kHeight, NULL, NULL);
        if (!m_bWindow)
            return;
        m_pView->OnInitialUpdate();

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = NULL;
        m_hBitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
        m_dc.CreateCompatibleDC(NULL);
        m_hOldBitmap = (HBITMAP)SelectObject(m_dc.m_hDC, m_hBitmap);
    }
    ~ViewBench()
    {
        if (m_bWindow)
        {
            SelectObject(m_dc.m_hDC, m_hOldBitmap);
            m_dc.DeleteDC();
            DeleteObject(m_hBitmap);
            m_pView->DestroyWindow();
        }
        else
        {
            delete m_pView;   // NULL without a display
        }
        m_doc.reset();
    }

    BOOL HasWindow() const { return m_bWindow; }

    void Paint()
    {
        m_pView->OnDraw(&m_dc);
        GdiFlush();
    }
    CVitrolanView& View() { return *m_pView; }

private:
    void LoadMosaic(int type, int zoom)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = kCols;
        d.m_rows = kRows;
        d.m_pavingType = type;
        d.m_tileSize = zoom;
        d.m_workingMap.Create(0, 4 * kCols, 4 * kRows);
        unsigned state = 12345;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c)
            {
                state = state * 1103515245u + 12345u;
                const int colour = (state >> 16) & 255;
                const int kind = ((state >> 8) & 7) == 0 ? 1 + (int)((state >> 4) % 6) : 0;
                d.m_workingMap.SetCell(c, r, 0, kind, colour, (colour + 1) & 255,
                                       (colour + 2) & 255, (colour + 3) & 255, 0, 0, 0, 0);
            }
        if (type != PavingSquares)
            CRasterImage::SetBorderCodes(&d.m_workingMap, type, kCols, kRows, -1, -1);
        d.m_committedMap.Create(0, 4 * kCols, 4 * kRows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * kCols, 4 * kRows);
        for (int i = 0; i < 256; ++i)
        {
            d.m_imagePalette.m_colours[i].peRed = (BYTE)i;
            d.m_imagePalette.m_colours[i].peGreen = (BYTE)(255 - i);
            d.m_imagePalette.m_colours[i].peBlue = (BYTE)(i * 7);
        }
        d.m_colourCount = 256;
        d.m_showJoints = 1;
        d.intercar = 160;
        d.taillecar = 2500;
        d.affichage = 0;
        d.m_texturedTiles = 0;
        d.m_showPlaques = 0;
        d.m_loaded = 1;
        d.m_dirty = 0;
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
    CVitrolanView* m_pView = NULL;
    BOOL m_bWindow = FALSE;
    CDC m_dc;
    HBITMAP m_hBitmap = NULL;
    HBITMAP m_hOldBitmap = NULL;
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
