// The tile renderer: one scanline pass that draws a tile-cell map into an RGB picture for one
// paving pattern and tile size (tiles, part colours or textures, joints, background, partial
// tiles along the border, labels), and the hit test that finds the tile and the part of a
// tile under a point of that picture.
#pragma once

#include <windows.h>

#include "AfxString.h"
#include "Paving.h"
#include "RasterImage.h"

// Entries of the display colour table (13 colours of three bytes R, G, B) that the renderer
// reads.
enum DisplayColourEntry
{
    ColourBackground = 0,
    ColourJoint = 1,           // also the background of circles
    ColourHitMark = 2,         // written at the point where a hit test found a tile
    ColourHitKey = 3,          // marker grey that a caller puts under the point it tests
    ColourLabelBlack = 6,
    ColourLabelWhite = 7,      // also every tile in the symbols-only display
    ColourScalesBackground = 11,
    ColourOutside = 12,        // beyond the mosaic's last column or row
    DisplayColourCount = 13
};

// Draws the cell map into picture (RGB, top row first), or, in hit-test mode, finds the tile
// under a point without drawing.
//
// picture         RGB output; nothing is written outside it, whatever its size
// displayMode     0 colours, 1 symbols only, 2 colours and symbols (0 in hit-test mode)
// map             the tile-cell map; row 0 is the top row of the mosaic
// n               tile size in pixels (1 and up; below 1 nothing is done)
// showJoints      non-zero: mask edges and the lines between the parts of split tiles are
//                 drawn in the joint colour
// columnEnd       tile column at which the mosaic ends (its column count for a whole picture)
// rows            the map's row count
// firstColumn     tile column at the picture's left edge
// firstRow        tile row at the picture's top; above rows counts as rows + 1
// pavingType      PavingType
// labelImages     the image palette's label pictures, C2Palette::TileImageIndex(0, kind, c)
// masks0, masks1  tile-shape masks indexed by paving type, n x n, bottom row first, 0
//                 outside, 1 inside, 2 edge; masks0 serve odd rows, masks1 the others
// hitTest         0 draw, 1 hit test
// cutMode         the click tool's cut mode (part of a split tile under the point)
// hitColumn ...   hit results: tile column, tile row, picture x of the tile's left edge,
//                 picture row of the tile's top edge (at least 0), part (1-4); written only
//                 when a tile lies under the point, so callers preset them to -1
// labelStates     per colour: -6 black label, -7 white label, anything else no label
// neighbourJoints non-zero, with showJoints, for squares: the edges of a laid tile next to a
//                 hole or to the missing half of a cut neighbour are drawn as joints
// texturesOn      non-zero to draw tile textures where the colour has a note
// textures        the texture set: 256 x shades x 4 slots for the palette kind
// colourTable     the 13 display colours
// imageColours    the image palette's 256 colours
// tileColours     the tile palette's 256 colours (texture slots are looked up there)
// paletteKind     PaletteKind of the image palette (textures only for kinds 1 to 4)
// notes           the image palette's 256 notes (a colour with an empty note has no texture)
// hitPoint        hit-test mode: the picture point to test. When it is NULL the point is the
//                 pixel the caller has set to the marker grey (entry 3); a pixel that would
//                 be drawn in that grey anyway is then not taken for the marker, so passing
//                 the point is the reliable form.
//
// Any of the optional tables (labelImages, masks1, labelStates, textures, notes,
// tileColours) may be NULL; a NULL masks1 uses masks0 for every row.
void RenderMosaic(CRasterImage* picture, int displayMode, const CRasterImage* map, int n,
                  int showJoints, int columnEnd, int rows, int firstColumn, int firstRow,
                  int pavingType, const CRasterImage* labelImages, const CRasterImage* masks0,
                  const CRasterImage* masks1, int hitTest, int cutMode, int* hitColumn,
                  int* hitRow, int* hitX, int* hitY, int* hitPart, const int* labelStates,
                  int neighbourJoints, int texturesOn, const CRasterImage* textures,
                  const BYTE* colourTable, const PaletteEntry* imageColours,
                  const PaletteEntry* tileColours, int paletteKind, const CString* notes,
                  const POINT* hitPoint = NULL);

// Where a hit test landed.
struct MosaicHit
{
    int column;      // tile column, -1 when no tile lies under the point
    int row;         // tile row
    int left;        // picture x of the tile's left edge (negative for a shifted first tile)
    int top;         // picture row of the tile's top edge, at least 0
    int part;        // 1 to 4, from QuadrantOfPoint with the cut mode
};

// The hit test at (x, y) of a picture of the given size drawn with the same arguments as
// RenderMosaic; nothing is written. Returns TRUE when a tile (laid, cut or removed) covers
// the point; the area outside the mosaic is no tile.
BOOL HitTestMosaic(int pictureWidth, int pictureHeight, const CRasterImage* map, int n,
                   int columnEnd, int rows, int firstColumn, int firstRow, int pavingType,
                   const CRasterImage* masks0, const CRasterImage* masks1, int cutMode, int x,
                   int y, MosaicHit& hit);

// Which part of a split tile of kind `kind` covers the tile-local point (x from the left, y
// from the bottom) of a tile of n pixels: 0 A, 1 B, 2 C, 3 D.
int TilePartAt(int kind, int n, int x, int y);

// TRUE when shape code `shape` lays part `part` (0 A to 3 D) of a cell of kind `kind`.
BOOL TilePartLaid(int kind, int shape, int part);

// ---- Where the tiles are ------------------------------------------------------------------
// The places RenderMosaic gives the tiles of a picture that it starts at firstColumn and
// firstRow (its own arguments). Tiles before or past the picture get places outside it, so
// that what lies off the screen is placed as exactly as what the screen shows.

// A block of tiles, first and last column and row included.
struct TileBlock
{
    int firstCol;
    int firstRow;
    int lastCol;
    int lastRow;
};

// The n x n box of tile (col, row) in picture pixels.
RECT MosaicTileBox(int n, int rows, int firstColumn, int firstRow, int pavingType, int col,
                   int row);

// The tile whose place in the pattern holds picture point (x, y), whether a tile is drawn
// there or not (a joint, the gap between round tiles): the row whose band starts last at or
// above y, the column from x on that row. FALSE beyond the mosaic's rows and columns.
BOOL MosaicTileAtPlace(int n, int cols, int rows, int firstColumn, int firstRow, int pavingType,
                       int x, int y, int& col, int& row);

// The tiles whose centres lie inside frame (picture pixels, edges excluded). A row counts by
// the centre of its tiles; a column, whose tiles on shifted rows lie half a tile to the left
// of the others, by the centre half-way between the two. FALSE when no tile is inside.
BOOL MosaicBlockInFrame(int n, int cols, int rows, int firstColumn, int firstRow,
                        int pavingType, const RECT& frame, TileBlock& block);

// The frame that a block fills: the union of its tiles' boxes. Its tiles are exactly those
// whose centres lie inside it.
RECT MosaicBlockFrame(int n, int rows, int firstColumn, int firstRow, int pavingType,
                      const TileBlock& block);
