// What the view's tools need of the main frame, which lies above the view: the palette
// display mode and the two palette bars, whose pressed buttons give the current colour. The
// program installs these at start-up; without them the tools see no bars and no colour.
#pragma once

#include <windows.h>

#include "PaletteBarState.h"
#include "ToolRules.h"

struct ViewFrameHooks
{
    // PaletteBarMode: 1 the tile-palette bar shown, 2 the image-palette bar, 3 none.
    int (*pfnPaletteBarMode)();
    // The frame's bars; NULL while there are none.
    CPaletteBarState* (*pfnImageBar)();
    CPaletteBarState* (*pfnTileBar)();
};

void InstallViewFrameHooks(const ViewFrameHooks& hooks);

int FramePaletteBarMode();
CPaletteBarState* FrameImageBar();
CPaletteBarState* FrameTileBar();
// The pressed buttons and page of a bar; none pressed for a missing bar.
BarSelection SelectionOfBar(const CPaletteBarState* pBar);
// Repaints a bar that has a window, or rebuilds its picture first.
void InvalidateBar(CPaletteBarState* pBar);
void RefreshBar(CPaletteBarState* pBar);
