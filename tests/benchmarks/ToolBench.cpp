// A brush click on a 1000 x 1000 mosaic shown in a 1920 x 1080 view: the button down and up
// as the window receives them, then the paint of the area the brush invalidated. The paint
// goes to a memory device context clipped to that area, as a WM_PAINT would clip it: what is
// measured is the program's work, not the X server's. The view is a real window, never
// painted by the window system (no messages are dispatched): run with a display (Xvfb will
// do).
#include "BenchViewWindow.h"
#include "PaletteBar.h"
#include "ViewFrameHooks.h"

namespace
{

CPaletteBar g_imageBar;

int ImageBarMode()
{
    return 2;
}

CPaletteBarState* ImageBar()
{
    return &g_imageBar;
}

CPaletteBarState* NoBar()
{
    return NULL;
}

// A 1000 x 1000 mosaic of 200 colours in a view scrolled into its middle, with the brush
// chosen and the eighth colour of the image bar pressed.
class ToolBench : public CBenchViewWindow
{
public:
    ToolBench(int type, int zoom)
        : CBenchViewWindow(type, zoom, BenchMosaic{1000, 1000, 200, false},
                           WS_POPUP | WS_VISIBLE, PrepareTools)
    {
        if (!HasWindow())
            return;
        View().SetScrollOrigin(300, 400);
        PaintUpdate(TRUE);
    }

    void Click(int x, int y)
    {
        View().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        View().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

private:
    static void PrepareTools(CVitrolanDoc& doc)
    {
        ViewFrameHooks hooks = {ImageBarMode, ImageBar, NoBar};
        InstallViewFrameHooks(hooks);
        g_imageBar.ClearPressed();
        g_imageBar.m_nPage = 0;
        g_imageBar.m_pressed[7] = 1;
        doc.m_brushTool = 1;
    }
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
