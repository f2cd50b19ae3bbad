// Reader of the older ".mos" documents: 8-bit (or 1, 2, 4-bit) Windows bitmaps whose pixels
// hold an older cell map and whose colour table holds the image colours.
#pragma once

#include <windows.h>

#include "Paving.h"
#include "RasterImage.h"

class CFile;

// Reads the bitmap in file into image (re-created as a type-0 raster, bottom row first), its
// information header into header (biBitCount set to 8) and its colours into the 256 entries
// of table (R, G, B, fourth byte; unused entries zero). Returns FALSE for a file it cannot
// read; header, image and table are then left as they were.
BOOL ReadBmpFile(BITMAPINFOHEADER* header, CFile* file, CRasterImage* image, PaletteEntry* table);
