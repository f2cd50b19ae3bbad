// Paving patterns and the small numeric core under them: conversions between tile columns and
// rows and lengths, tile outlines, point and circle geometry, rounding, texture-slot indexing,
// label colours and byte rotations. Everything here is a pure function.
#pragma once

#include <windows.h>

// Paving patterns (the document's PavingType value).
enum PavingType
{
    PavingSquares = 0,
    PavingDiamonds = 1,       // squares at 45 degrees
    PavingCircles = 2,
    PavingTriangles = 3,
    PavingHexagons = 4,
    PavingScales1 = 5,        // scales of the first kind
    PavingScales2 = 6,        // scales of the second kind
    PavingCrossedJoints = 7,  // squares in staggered rows
    PavingTypeCount = 8
};

// A point of the tile outlines and of the circle and line geometry.
struct DPoint
{
    double x;
    double y;
};

// Capacity of a tile outline array. Two polygons may share one array: polygon 0 at the even
// positions, polygon 1 at the odd ones.
enum { TileOutlinePoints = 32 };

// A palette colour: R, G, B and a fourth byte that the lookups below ignore.
typedef PALETTEENTRY PaletteEntry;

// Rounding: adds 0.4999 to a non-negative value (subtracts it from a negative one) and truncates
// toward zero, so 2.5 gives 2. Values beyond the int range saturate; NaN gives 0.
int RoundHalfAway(double x);
double RoundToDecimals(double x, int decimals);

// Derived pitches of a paving pattern for pitch p.
int HexagonCorner(double p);     // RoundHalfAway(p / 4), made odd
double CircleRowPitch(double p); // p - RoundHalfAway(p - sqrt(p^2 - (p/2)^2))

// Number of whole tile columns (rows) in a length L for pitch p and offset b; 0 for a pitch
// of 0 or less, a pattern outside 0-7, or a pattern whose row pitch is not positive at p.
int TilesAcross(int pavingType, double p, int length, int b);
int TilesDown(int pavingType, double p, int length, int b);

// Start of tile column i (row j) as a length, rounded with RoundHalfAway.
int TileToPixelXReal(int pavingType, double p, double column, int b);
int TileToPixelX(int pavingType, double p, int column, int b);
int TileToPixelYReal(int pavingType, double p, double row, int b);
int TileToPixelY(int pavingType, double p, int row, int b);

// ---- Rows of a mosaic -----------------------------------------------------------------------
// The patterns are laid from a mosaic's last row up. Counted from it, every other row (rows -
// 1 - row odd) is shifted half a tile to the left, on every pattern but squares. On triangles
// those rows point up and the others down, and each row pointing up shares its band with the
// row below it. With an odd row count row 0 of triangles has no partner: the border codes
// keep it empty, and it takes no place of its own (it lies in the band of rows 1 and 2).
// Every part of the program that places rows asks here.

// Whether the row is shifted half a tile to the left; never on squares.
BOOL IsShiftedRow(int pavingType, int rows, int row);
// Whether the triangles of the row point up (the mask of orientation 0).
BOOL TrianglePointsUp(int rows, int row);
// The first row that the pattern places: 1 for triangles with an odd row count, else 0.
int FirstPavingRow(int pavingType, int rows);
// Whether the row shares the band of the row above it (triangles only).
BOOL SharesBandWithRowAbove(int pavingType, int rows, int row);
// The row as TileToPixelY and TilesDown count it: counted from FirstPavingRow (rows before it
// count as that row).
int PavingRowIndex(int pavingType, int rows, int row);
// Start of a row of the mosaic (TileToPixelY of its PavingRowIndex); row = rows gives the end.
int RowToPixelY(int pavingType, double p, int rows, int row, int b);
// The inverse: the first row of the band (or row) whose place starts at or above the length.
int RowAtPixelY(int pavingType, double p, int rows, int length, int b);

// Outer outline and the outline inset by one pixel of one tile of side a. Both arrays hold
// TileOutlinePoints points and are cleared by the caller; circles and scales write nothing.
void BuildTileShapeOutline(int pavingType, int a, DPoint* outer, DPoint* inner);

// Crossing-number test of (x, y) against polygon 0 or 1 of an outline array (count points,
// the closing edge included). Counts beyond the array's capacity are cut to it.
int PointInPolygon(int polygon, double x, double y, const DPoint* points, int count);

// Part (1-4) of a split tile of side a under the tile-local point (u from the left, v from
// the bottom) for the click tool's cut mode.
void QuadrantOfPoint(int cutMode, int a, int u, int v, int& part);

// Line through two points: slope 2147483647.0 for a vertical line, whose intercept is then
// left as it was.
void LineThroughPoints(const DPoint& p1, const DPoint& p2, double& slope, double& dx,
                       double& intercept);
// Intersections of the circle (centre, radius) with the line through p1 and p2: 1 and the two
// points, or 0 with both points at (-1, -1).
int IntersectCircleLine(const DPoint& centre, double radius, const DPoint& p1, const DPoint& p2,
                        DPoint& out1, DPoint& out2);
// Intersections of y = slope x + intercept with the circle of the given squared radius; both
// points stay at (-1, -1) when the line misses it.
void IntersectLineCircle(double slope, double intercept, const DPoint& centre,
                         double squaredRadius, DPoint& out1, DPoint& out2);
double PointDistance(const DPoint& p1, const DPoint& p2);
// out = p1 when p1 is strictly nearer to ref than p2, else p2.
void NearerPoint(DPoint& out, const DPoint& ref, const DPoint& p1, const DPoint& p2);

// Texture sets: shades per colour of a palette family kind (25, 10, 1, 4 for kinds 1-4; one
// for kind 0 and any other value).
int PaletteShadeCount(int paletteKind);
void SplitVariantIndex(int variant, int& quarter, int& shade, int paletteKind);
// colour holds R in the low byte, then G, then B; table holds 256 entries.
int FindPaletteColourIndex(int paletteKind, COLORREF colour, int shade,
                           const PaletteEntry* table);
int FindPaletteColourOffset(int paletteKind, COLORREF colour, int quarter, int shade,
                            const PaletteEntry* table);

// White (0xFFFFFF) or black (0), whichever reads better over the colour.
COLORREF ContrastTextColour(COLORREF colour);

void CopyLogFont(const LOGFONTW& source, LOGFONTW& dest);

// The low 8 bits of value rotated by one bit, or by n single-bit steps.
int RotateByteRight1(int value);
int RotateByteLeft1(int value);
int RotateByteRight(int value, int n);
int RotateByteLeft(int value, int n);

void SwapBytes(BYTE* a, BYTE* b);
void SwapInts(int* a, int* b);
double AbsDouble(int a);
