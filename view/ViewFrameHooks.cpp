#include "ViewFrameHooks.h"

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

CPaletteBarState* FrameImageBar()
{
    return g_hooks.pfnImageBar != NULL ? g_hooks.pfnImageBar() : NULL;
}

CPaletteBarState* FrameTileBar()
{
    return g_hooks.pfnTileBar != NULL ? g_hooks.pfnTileBar() : NULL;
}

BarSelection SelectionOfBar(const CPaletteBarState* pBar)
{
    BarSelection selection = {NULL, 0};
    if (pBar != NULL)
    {
        selection.pressed = pBar->m_pressed;
        selection.page = pBar->m_nPage;
    }
    return selection;
}

void InvalidateBar(CPaletteBarState* pBar)
{
    if (pBar != NULL)
        pBar->Repaint();
}

void RefreshBar(CPaletteBarState* pBar)
{
    if (pBar != NULL)
        pBar->Refresh();
}
