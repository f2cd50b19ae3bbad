// The region plane of the fill, mix-fill and cell tools, and where the parts of a split tile
// lie. One table serves the plane, the region tools, the toggle and the click position, and it
// follows the renderer's placement of the parts, so that the part the user points at is the
// part that changes.
#pragma once

#include <windows.h>

#include "RasterImage.h"

// Value that marks a tagged pixel of the region plane.
enum { RegionTag = 255 };

// Bits of a set of parts: A = 1, B = 2, C = 4, D = 8.
enum
{
    PartA = 1,
    PartB = 2,
    PartC = 4,
    PartD = 8
};

// Number of parts of a cell kind: 1 for kind 0, 2 for kinds 1-4, 4 for kinds 5 and 6, 0 for
// any other value.
int CellPartCount(int kind);

// The 4 x 4 block of a cell kind on the region plane: 16 letters 'A' to 'D', block row 0 first
// (the top of the tile as drawn), left to right. NULL for a kind outside 0-6.
const char* RegionPartPattern(int kind);

// Shape code under which the renderer draws exactly the given set of parts: 0 for all of
// them, 16 for none, -1 when no code draws that set (A with D, B with C of kinds 5 and 6, or a
// kind outside 0-6).
int ShapeCodeOfParts(int kind, int parts);

// Set of parts the renderer draws for a shape code; -1 for a kind outside 0-6.
int PartsOfShapeCode(int kind, int shape);

// Part (0 = A to 3 = D) the renderer draws at tile-local pixel (x from the left, y from the
// bottom) of a tile of n pixels.
int TilePartAtPixel(int kind, int n, int x, int y);

// Position in a cell's 4 x 4 block (bx from the left, by from the top) that lies in the area of
// the part drawn at tile-local pixel (x, y): the quarter under the pixel when it belongs to that
// part, else the nearest one that does. The tools click the plane there, so that a click on a
// split quarter of a diagonal tile reaches the part the user sees.
void RegionPointOfTilePixel(int kind, int n, int x, int y, int& bx, int& by);

// Makes the plane 4 x cols by 4 x rows (keeping the buffer it owns when that has the size,
// else freeing it) and draws every cell of the map as its block of part colours. False, and
// the plane untouched, when the map holds no cells.
bool PrepareRegionPlane(CRasterImage* plane, const CRasterImage* map, int cols, int rows);

// Fill tool: every pixel 4-connected to (x, y) through pixels of that pixel's colour, inside
// the map's part of the plane, takes the colour. Works for every pair of colours (255
// included). False when (x, y) lies outside the map's part.
bool PaintRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y, int colour);

// Mix-fill and cell tools: the same region becomes RegionTag and every other pixel of the
// map's part 0, so that no colour can pass for a tagged pixel. False when (x, y) lies outside
// the map's part.
bool TagRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y);
