// A brush click on a 1000 x 1000 mosaic shown in a 1920 x 1080 view: the button down and up
// as the window receives them, then the paint of the area the brush invalidated. The paint
// goes to a memory device context clipped to that area, as a WM_PAINT would clip it: what is
// measured is the program's work, not the X server's. The view is a real window, never
// painted by the window system (no messages are dispatched): run with a display (Xvfb will
// do).
#include "MosaicBenchmark.h"

#include <memory>
#include <stdlib.h>

#include "DocSettings.h"
#include "LangText.h"
#include "PaletteBar.h"
#include "Paving.h"
#include "ViewFrameHooks.h"
#include "ViewHooks.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

namespace
{

const int kCols = 1000;
const int kRows = 1000;
const int kWidth = 1920;
const int kHeight = 1080;

const char* const kPatternNames[PavingTypeCount] = {
    "squares", "diamonds", "circles", "triangles", "hexagons", "scales 1", "scales 2",
    "crossed joints"};

CPaletteBar g_imageBar;

int ImageBarMode()
{
    return 2;
}

CPaletteBar* ImageBar()
{
    return &g_imageBar;
}

CPaletteBar* NoBar()
{
    return NULL;
}

class ToolBench
{
public:
    ToolBench(int type, int zoom)
    {
        // Without an X display the window system of the prefix does not start.
        if (getenv("DISPLAY") == NULL)
            return;
        SetDocProfileRoot(L"Software\\MosaicBenchmarks");
        SetLangTextFolder(BenchmarkDataFolder());
        InstallViewHooks();
        ViewFrameHooks hooks = {ImageBarMode, ImageBar, NoBar};
        InstallViewFrameHooks(hooks);
        g_imageBar.ClearPressed();
        g_imageBar.m_nPage = 0;
        g_imageBar.m_pressed[7] = 1;

        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        LoadMosaic(type, zoom);
        m_doc->m_brushTool = 1;
        m_pView = new CVitrolanView;   // deletes itself with its window
        m_doc->AddView(m_pView);
        m_bWindow = m_pView->CreateEx(0, NULL, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                      NULL, NULL);
        if (!m_bWindow)
            return;
        m_pView->OnInitialUpdate();
        m_pView->SetScrollOrigin(300, 400);

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
        PaintUpdate(TRUE);
    }
    ~ToolBench()
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

    void Click(int x, int y)
    {
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // What WM_PAINT would draw: the update area, or the whole client area.
    void PaintUpdate(BOOL bAll)
    {
        CRect rect(0, 0, kWidth, kHeight);
        if (!bAll && !::GetUpdateRect(m_pView->m_hWnd, &rect, FALSE))
            return;
        HRGN hClip = CreateRectRgnIndirect(&rect);
        SelectClipRgn(m_dc.m_hDC, hClip);
        m_pView->OnDraw(&m_dc);
        SelectClipRgn(m_dc.m_hDC, NULL);
        DeleteObject(hClip);
        ::ValidateRect(m_pView->m_hWnd, NULL);
        GdiFlush();
    }

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
                const int colour = (state >> 16) % 200;
                d.m_workingMap.SetCell(c, r, 0, 0, colour, colour, colour, colour, 0, 0, 0, 0);
            }
        if (type != PavingSquares)
            CRasterImage::SetBorderCodes(&d.m_workingMap, type, kCols, kRows, -1, -1);
        d.m_committedMap.Create(0, 4 * kCols, 4 * kRows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * kCols, 4 * kRows);
        for (int i = 0; i < 200; ++i)
        {
            d.m_imagePalette.m_colours[i].peRed = (BYTE)i;
            d.m_imagePalette.m_colours[i].peGreen = (BYTE)(255 - i);
            d.m_imagePalette.m_colours[i].peBlue = (BYTE)(i * 7);
        }
        d.m_colourCount = 200;
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

// One click and the paint it causes, at a point that moves over the window.
void BM_BrushClick(benchmark::State& state)
{
    const int type = (int)state.range(0);
    ToolBench bench(type, (int)state.range(1));
    if (!bench.HasWindow())
    {
        state.SkipWithError("the view needs a display (DISPLAY)");
        return;
    }
    int i = 0;
    for (auto _ : state)
    {
        bench.Click(100 + (i * 37) % 1700, 100 + (i * 53) % 880);
        bench.PaintUpdate(FALSE);
        ++i;
    }
    state.SetLabel(kPatternNames[type]);
}

} // namespace

BENCHMARK(BM_BrushClick)
    ->Args({PavingSquares, 16})
    ->Args({PavingHexagons, 16})
    ->Args({PavingSquares, 4})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
