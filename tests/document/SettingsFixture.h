// Settings and a tile palette that the tests of the configuration commands and of the
// palette table start from.
#pragma once

#include "VitrolanDoc.h"

// Metric lengths (25 mm tiles, 1.6 mm joints), 12 x 12 tile plates of squares, and no
// mosaic loaded.
inline void UseMetricSettings(CVitrolanDoc& doc)
{
    doc.unites = 0;
    doc.taillecar = 2500;
    doc.intercar = 160;
    doc.cresol = 15;
    doc.carplaquex = 12;
    doc.carplaquey = 12;
    doc.decalage = 0;
    doc.format = 0;
    doc.m_pavingType = PavingSquares;
    doc.m_loaded = 0;
    doc.FollowUnits(0);
}

// Eight tile colours "Tile 0" ... with symbols "a" ... and values 1.5 ...; the black pair
// after them ends the palette. Its tiles are 25 mm with 2 mm joints; it is not modified.
inline void UseEightTileColours(CVitrolanDoc& doc)
{
    C2Palette& palette = doc.m_tilePalette;
    for (int i = 0; i < 8; i++)
    {
        palette.m_colours[i] = {(BYTE)(10 + i), (BYTE)(20 + i), (BYTE)(30 + i), 1};
        palette.m_colourNames[i].Format(L"Tile %d", i);
        palette.m_symbols[i] = CString((WCHAR)(L'a' + i));
        palette.m_values[i] = 1.5 + i;
    }
    palette.m_tileSize = 2500;
    palette.m_jointWidth = 200;
    doc.m_tileColourCount = 8;
    doc.m_tilePaletteModified = 0;
}
