#include "ViewFrameHooks.h"

#include "PaletteBar.h"

namespace
{

ViewFrameHooks g_hooks = ViewFrameHooks();

} // namespace

void InstallViewFrameHooks(const ViewFrameHooks& hooks)
{
    g_hooks = hooks;
}

int FramePaletteBarMode()
{
    return g_hooks.pfnPaletteBarMode != NULL ? g_hooks.pfnPaletteBarMode() : 3;
}

CPaletteBar* FrameImageBar()
{
    return g_hooks.pfnImageBar != NULL ? g_hooks.pfnImageBar() : NULL;
}

CPaletteBar* FrameTileBar()
{
    return g_hooks.pfnTileBar != NULL ? g_hooks.pfnTileBar() : NULL;
}

BarSelection SelectionOfBar(const CPaletteBar* pBar)
{
    BarSelection selection = {NULL, 0};
    if (pBar != NULL)
    {
        selection.pressed = pBar->m_pressed;
        selection.page = pBar->m_nPage;
    }
    return selection;
}

void InvalidateBar(CPaletteBar* pBar)
{
    // Without a window, Invalidate would repaint every window of the desktop.
    if (pBar != NULL && pBar->GetSafeHwnd() != NULL)
        pBar->Invalidate();
}

void RefreshBar(CPaletteBar* pBar)
{
    if (pBar != NULL)
        pBar->Refresh();
}
