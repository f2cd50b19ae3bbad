// The tile palette commands, the Palette menu and the compacting of the image palette.
#include "VitrolanDoc.h"

int CVitrolanDoc::BuildPaletteMenu()
{
    return 0;
}

void CVitrolanDoc::ClearPaletteMenu() {}

int CVitrolanDoc::LoadPaletteFile(int, int, LPCTSTR)
{
    return 1;
}

void CVitrolanDoc::SyncPaletteBars() {}

void CVitrolanDoc::ShowTilePaletteDialog() {}

void CVitrolanDoc::OnChoosePalette(UINT) {}

void CVitrolanDoc::OnOpenTilePaletteFile() {}

void CVitrolanDoc::OnSaveTilePalette() {}
