// The rules of the view's editing tools that need no window: the current colour from the
// palette bars, where a click lands on the mosaic, the cuts, shades and turns of one tile, the
// brush, the measuring and tile-report texts, and the frames that follow the pointer.
#pragma once

#include <windows.h>

#include "AfxGeometry.h"
#include "AfxString.h"
#include "Paving.h"

class C2Palette;
class CRasterImage;

// A tool colour: 0-255 an image colour, TileColourBase + t the tile colour t, NoToolColour
// when no colour button is pressed.
enum { NoToolColour = -1, TileColourBase = 256 };

// Buttons of colours on one page of a palette bar.
enum { BarColoursPerPage = 30 };

// What one palette bar has pressed: its 30 flags and the page it shows.
struct BarSelection
{
    const int* pressed;
    int page;
};

// The colour of the last pressed button of a bar, plus base; NoToolColour when none is.
int PressedBarColour(const BarSelection& bar, int base);
// The colour of a click: from the bar that the palette display mode shows (1 tile bar,
// 2 image bar, anything else none).
int ClickColour(int paletteBarMode, const BarSelection& image, const BarSelection& tile);
// The colour of a drag: the image bar, then the tile bar, whichever bar is shown; a pressed
// tile button wins.
int DragColour(const BarSelection& image, const BarSelection& tile);
// The page and button (0-29) that show colour index nColour.
void BarButtonOfColour(int nColour, int& nPage, int& nButton);

// First image colour below nCount with the RGB of entry; -1 when none.
int FindImageColour(const PaletteEntry* colours, int nCount, const PaletteEntry& entry);

// ---- Where a click lands --------------------------------------------------------------------

// The mosaic as the view shows it: the cell map, the tile size, the grid, the scroll origin,
// the tile masks of the paint and the size of the picture the view renders.
struct ShownMosaic
{
    const CRasterImage* map;
    int n;
    int cols;
    int rows;
    int originCol;
    int originRow;
    int pavingType;
    const CRasterImage* masks0;
    const CRasterImage* masks1;
    int width;
    int height;
};

// The tile under a point of the view.
struct TileSpot
{
    int col;
    int row;
    int x;          // client pixel of the tile's left edge
    int y;          // client pixel of the tile's top edge
    int part;       // 1-4, the part the cut tools see under the point
    int localX;     // the point inside the tile, from the left
    int localY;     // from the bottom
};

// The tile drawn under pt, or, between tiles (a joint, the gaps of circles), the tile whose
// place holds pt. FALSE for a point outside the mosaic or the picture.
BOOL LocateTile(const ShownMosaic& m, int nCutMode, CPoint pt, TileSpot& spot);

// Point of the region plane (4 x 4 per cell) inside the part of the tile that lies under the
// located point: the fill, mix-fill and cell tools start there.
CPoint RegionPointOfSpot(const CRasterImage& map, int n, const TileSpot& spot);

// ---- One tile: cuts, turns and shades -------------------------------------------------------

// The ten fields of one cell of the cell map.
struct CellFields
{
    int shape;
    int kind;
    int colour[4];
    int variant[4];
};
CellFields ReadCellFields(const CRasterImage& map, int nCol, int nRow);
void WriteCellFields(CRasterImage& map, int nCol, int nRow, const CellFields& cell);

// The undo text of a cut mode (0, 1, 3, 5, 6); 0 for any other.
UINT CutUndoText(int nCutMode);
// The kind that a cut gives a tile on the mosaic's edge: the kind of the partial tile that the
// border pattern lays in its place (3, 4 or 5), with the pattern's shape code in pShape; 0 for
// a tile inside the pattern or a place where the pattern lays none.
int CutEdgeKind(int nPavingType, int nCols, int nRows, int nCol, int nRow, int* pShape = NULL);
// The kind and part colours of a tile cut in mode nCutMode with the colour, the pointer on
// part nPart (1-4); nEdgeKind from CutEdgeKind: an edge tile keeps its kind, all of it in the
// colour, whatever the mode. Colours the cut does not name stay.
void ApplyCut(int nCutMode, int nEdgeKind, int nPart, int nColour, int& nKind, int colours[4]);
// Turns a cut a quarter to the left or the right; a whole tile stays as it is.
void TurnCut(int& nKind, int colours[4], BOOL bLeft);
// The arrow key nKey (VK_LEFT to VK_DOWN) on four texture variants: Left and Right turn the
// texture a quarter, Up and Down step through the family's shades, round. FALSE, nothing
// changed, for a family without textures (kind 0) or another key.
BOOL ShadeVariants(int variants[4], UINT nKey, int nPaletteKind);

// ---- Brush ----------------------------------------------------------------------------------

// A whole laid tile of the colour on the clicked cell and its eight neighbours, inside the grid
// and not removed; variants stay. Nothing when the clicked cell is removed. The colours of the
// parts painted over are marked in lost (256 flags) when it is given.
void PaintBrushCells(CRasterImage& map, int nCols, int nRows, int nCol, int nRow, int nColour,
                     BYTE* lost = NULL);
// Whether a colour marked in lost has no laid part left in the grid.
BOOL AnyColourGone(const CRasterImage& map, int nCols, int nRows, const BYTE* lost);
// The area the brush's tiles cover around the clicked tile's pixel, the neighbours on rows
// shifted by half a tile included.
CRect BrushRedrawRect(int nPavingType, int nZoom, int x, int y);

// ---- Texts ----------------------------------------------------------------------------------

// Length of a run of nCount tiles of the pitch (1/100 mm, or 1/1000 in with nUnits 1) across
// or down, in metres or feet.
double RunLength(int nPavingType, int nPitch, int nCount, BOOL bAcross, int nUnits);
// "Width = 1.250 m"
CString MeasureText(LPCTSTR lpszLabel, double dValue, LPCTSTR lpszUnit);
// The colour's name in the image palette, or its red, green and blue.
CString ColourDescription(const C2Palette& palette, int nColour);
// What the message line says of a tile of the kind and part colours.
CString TileReportText(const C2Palette& palette, int nKind, const int colours[4]);

// ---- Frames ---------------------------------------------------------------------------------

// Where the tools take clicks: the client area, which the text stamp lengthens by the width
// of its text picture.
CRect ToolClickArea(CSize sizeClient, BOOL bTextStamp, int nTextWidth);
// The text stamp's frame centred on pt, its half size kept between the edges of the area and
// the mosaic's right and bottom ends (client pixels).
CRect StampFrameAt(int nPavingType, int nZoom, CPoint pt, int nTextWidth, int nTextHeight,
                   CSize sizeClient, CPoint ptMosaicEnd);
