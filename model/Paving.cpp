#include "Paving.h"

#include <cmath>
#include <climits>

namespace
{

// Truncation toward zero that saturates instead of overflowing: counts and positions come
// from divisions by caller-chosen pitches.
int TruncateToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT_MAX;
    if (v <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(v);
}

// Tile count for a length divided by a row or column pitch; a pitch that is not positive holds
// no tiles.
int CountTiles(double length, double pitch, int b)
{
    if (!(pitch > 0))
        return 0;
    return TruncateToInt(length / pitch - b);
}

bool IsValidType(int pavingType)
{
    return pavingType >= 0 && pavingType < PavingTypeCount;
}

void SetPoint(DPoint* points, int index, double x, double y)
{
    points[index].x = x;
    points[index].y = y;
}

// Point 1 snaps to point 2 coordinate by coordinate when they are closer than a thousandth, so
// that nearly vertical or horizontal lines are treated as exactly so.
DPoint SnapToPoint(const DPoint& p1, const DPoint& p2)
{
    DPoint snapped = p1;
    if (std::fabs(p1.x - p2.x) <= 0.001)
        snapped.x = p2.x;
    if (std::fabs(p1.y - p2.y) <= 0.001)
        snapped.y = p2.y;
    return snapped;
}

void SetMissed(DPoint& out1, DPoint& out2)
{
    out1.x = out1.y = -1;
    out2.x = out2.y = -1;
}

// Roots of t^2 - 2 c t + k = 0, smaller first; false when there are none.
bool SolveCentredQuadratic(double c, double k, double& t1, double& t2)
{
    double disc = c * c - k;
    if (disc < 0)
        return false;
    double root = std::sqrt(disc);
    t1 = c - root;
    t2 = c + root;
    return true;
}

int FindColourInTable(COLORREF colour, const PaletteEntry* table)
{
    if (table == NULL)
        return 0;
    BYTE r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    for (int i = 0; i < 256; ++i)
    {
        if (table[i].peRed == r && table[i].peGreen == g && table[i].peBlue == b)
            return i;
    }
    return 0;
}

int ClampInt(int v, int low, int high)
{
    return v < low ? low : (v > high ? high : v);
}

} // namespace

int RoundHalfAway(double x)
{
    return TruncateToInt(x >= 0 ? x + 0.4999 : x - 0.4999);
}

double RoundToDecimals(double x, int decimals)
{
    double scale = std::pow(10.0, decimals);
    return RoundHalfAway(x * scale) / scale;
}

int HexagonCorner(double p)
{
    int k = RoundHalfAway(p * 0.25);
    if (k % 2 == 0)
        ++k;
    return k;
}

double CircleRowPitch(double p)
{
    double h = p * 0.5;
    return p - RoundHalfAway(p - std::sqrt(p * p - h * h));
}

int TilesAcross(int pavingType, double p, int length, int b)
{
    if (!IsValidType(pavingType) || !(p > 0))
        return 0;
    switch (pavingType)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        return CountTiles(length, p, 0);
    case PavingDiamonds:
        return CountTiles(length, p, b);
    default:
        return CountTiles(static_cast<double>(length) - b, p, 0);
    }
}

int TilesDown(int pavingType, double p, int length, int b)
{
    if (!IsValidType(pavingType) || !(p > 0))
        return 0;
    double h = p * 0.5;
    switch (pavingType)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        return CountTiles(length, p, 0);
    case PavingCircles:
        return CountTiles(length, CircleRowPitch(p), 0);
    case PavingTriangles:
    {
        // Two triangles share each band of height p, so only whole bands count and the row
        // count stays even.
        int bands = CountTiles(static_cast<double>(length) - length % 2, p, 0);
        return TruncateToInt(bands * 2.0);
    }
    case PavingHexagons:
        return CountTiles(length, p - HexagonCorner(p), b);
    default: // diamonds and both kinds of scales
        return CountTiles(length, p - h, b);
    }
}

int TileToPixelXReal(int pavingType, double p, double column, int b)
{
    if (!IsValidType(pavingType))
        return 0;
    if (pavingType == PavingSquares || pavingType == PavingCrossedJoints)
        return RoundHalfAway(p * column);
    if (column <= 0)
        return 0;
    return RoundHalfAway(p * (column - b));
}

int TileToPixelX(int pavingType, double p, int column, int b)
{
    return TileToPixelXReal(pavingType, p, static_cast<double>(column), b);
}

int TileToPixelYReal(int pavingType, double p, double row, int b)
{
    double h = p * 0.5;
    switch (pavingType)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        return RoundHalfAway(p * row);
    case PavingDiamonds:
        return RoundHalfAway((p - h) * row + b);
    case PavingCircles:
        return RoundHalfAway(CircleRowPitch(p) * row);
    case PavingTriangles:
    {
        // Both triangles of a pair start at the same y.
        double pairRow = std::fmod(std::trunc(row), 2.0) == 0 ? row : row - 1;
        return RoundHalfAway(p * pairRow / 2);
    }
    case PavingHexagons:
        return RoundHalfAway((p - HexagonCorner(p)) * row - b);
    case PavingScales1:
    case PavingScales2:
        return RoundHalfAway((p - h) * row - b);
    default:
        return 0;
    }
}

int TileToPixelY(int pavingType, double p, int row, int b)
{
    return TileToPixelYReal(pavingType, p, static_cast<double>(row), b);
}

BOOL TrianglePointsUp(int rows, int row)
{
    return ((rows - 1 - row) & 1) != 0;
}

BOOL IsShiftedRow(int pavingType, int rows, int row)
{
    return IsValidType(pavingType) && pavingType != PavingSquares && TrianglePointsUp(rows, row);
}

int FirstPavingRow(int pavingType, int rows)
{
    return pavingType == PavingTriangles && (rows & 1) != 0 ? 1 : 0;
}

BOOL SharesBandWithRowAbove(int pavingType, int rows, int row)
{
    return pavingType == PavingTriangles && row > FirstPavingRow(pavingType, rows) &&
           !TrianglePointsUp(rows, row);
}

int PavingRowIndex(int pavingType, int rows, int row)
{
    // The rows before the first lie in its place.
    const int first = FirstPavingRow(pavingType, rows);
    if (row >= first)
        return row - first;
    return row >= 0 ? 0 : row - first;
}

int RowToPixelY(int pavingType, double p, int rows, int row, int b)
{
    return TileToPixelY(pavingType, p, PavingRowIndex(pavingType, rows, row), b);
}

int RowAtPixelY(int pavingType, double p, int rows, int length, int b)
{
    return TilesDown(pavingType, p, length, b) + FirstPavingRow(pavingType, rows);
}

void BuildTileShapeOutline(int pavingType, int a, DPoint* outer, DPoint* inner)
{
    if (outer == NULL || inner == NULL)
        return;
    const double s = a, d = a - 1, c = a / 2;
    switch (pavingType)
    {
    case PavingSquares:
    case PavingCrossedJoints:
    {
        const double o[5][2] = {{0, s}, {s, s}, {s, 0}, {0, 0}, {0, s}};
        const double n[5][2] = {{1, d}, {d, d}, {d, 1}, {1, 1}, {1, d}};
        for (int i = 0; i < 5; ++i)
        {
            SetPoint(outer, 2 * i, o[i][0], o[i][1]);
            SetPoint(inner, 2 * i, n[i][0], n[i][1]);
        }
        break;
    }
    case PavingDiamonds:
    {
        const double m = a * 0.5;
        const double o[5][2] = {{0, m}, {m, s}, {s, m}, {m, 0}, {0, m}};
        const double n[5][2] = {{1, m}, {m, d}, {d, m}, {m, 1}, {1, m}};
        for (int i = 0; i < 5; ++i)
        {
            SetPoint(outer, 2 * i, o[i][0], o[i][1]);
            SetPoint(inner, 2 * i, n[i][0], n[i][1]);
        }
        break;
    }
    case PavingTriangles:
    {
        // Polygon 0 (apex up) at the even positions, polygon 1 (apex down) at the odd ones.
        const double o0[4][2] = {{0, 0}, {c, s}, {s, 0}, {0, 0}};
        const double n0[4][2] = {{1, 1}, {c, d}, {d, 1}, {1, 1}};
        const double o1[4][2] = {{0, s}, {s, s}, {c, 0}, {0, s}};
        const double n1[4][2] = {{1, d}, {d, d}, {c, 1}, {1, d}};
        for (int i = 0; i < 4; ++i)
        {
            SetPoint(outer, 2 * i, o0[i][0], o0[i][1]);
            SetPoint(inner, 2 * i, n0[i][0], n0[i][1]);
            SetPoint(outer, 2 * i + 1, o1[i][0], o1[i][1]);
            SetPoint(inner, 2 * i + 1, n1[i][0], n1[i][1]);
        }
        break;
    }
    case PavingHexagons:
    {
        const double k = HexagonCorner(a), e = a - k;
        const double o[7][2] = {{0, k}, {0, e}, {c, s}, {s, e}, {s, k}, {c, 0}, {0, k}};
        const double n[7][2] = {{1, k}, {1, e}, {c, d}, {d, e}, {d, k}, {c, 1}, {1, k}};
        for (int i = 0; i < 7; ++i)
        {
            SetPoint(outer, 2 * i, o[i][0], o[i][1]);
            SetPoint(inner, 2 * i, n[i][0], n[i][1]);
        }
        break;
    }
    default: // circles and scales are drawn from circles
        break;
    }
}

int PointInPolygon(int polygon, double x, double y, const DPoint* points, int count)
{
    if (points == NULL || polygon < 0 || polygon > 1 || count <= 0)
        return 0;
    const int capacity = TileOutlinePoints / 2;
    if (count > capacity)
        count = capacity;
    int inside = 0;
    for (int i = 0, j = count - 1; i < count; j = i++)
    {
        const DPoint& pi = points[polygon + 2 * i];
        const DPoint& pj = points[polygon + 2 * j];
        bool spans = (pi.y <= y && y < pj.y) || (pj.y <= y && y < pi.y);
        if (spans && x < pi.x + (pj.x - pi.x) * (y - pi.y) / (pj.y - pi.y))
            inside = !inside;
    }
    return inside;
}

void QuadrantOfPoint(int cutMode, int a, int u, int v, int& part)
{
    if (cutMode == 1 || cutMode == 5)
    {
        const int hh = a / 2;
        if (u <= hh)
            part = v > hh ? 1 : 3;
        else
            part = v <= hh ? 2 : 4;
    }
    else if (cutMode == 3 || cutMode == 6)
    {
        const int e = u - v;
        const int f = u + v - a + 2;
        if (e < 0)
            part = f >= 0 ? 1 : 3;
        else
            part = f < 0 ? 2 : 4;
    }
    else
    {
        part = 1;
    }
}

void LineThroughPoints(const DPoint& p1, const DPoint& p2, double& slope, double& dx,
                       double& intercept)
{
    const DPoint q = SnapToPoint(p1, p2);
    dx = p2.x - q.x;
    if (dx == 0)
    {
        slope = 2147483647.0;
        return;
    }
    slope = (p2.y - q.y) / dx;
    intercept = q.y - slope * q.x;
}

int IntersectCircleLine(const DPoint& centre, double radius, const DPoint& p1, const DPoint& p2,
                        DPoint& out1, DPoint& out2)
{
    const DPoint q = SnapToPoint(p1, p2);
    double m = 0, dx = 0, k = 0;
    LineThroughPoints(p1, p2, m, dx, k);
    const double cx = centre.x, cy = centre.y;
    const double e = radius * radius - cx * cx - cy * cy;

    if (dx != 0 && m != 0)
    {
        const double a = m * m + 1;
        const double g = 2 * m * k - 2 * cx - 2 * cy * m;
        const double c = k * k - 2 * k * cy - e;
        const double disc = g * g - 4 * a * c;
        if (disc < 0)
        {
            SetMissed(out1, out2);
            return 0;
        }
        if (disc == 0)
        {
            out1.x = out2.x = -g / (2 * a);
        }
        else
        {
            const double root = std::sqrt(disc);
            out1.x = (-g - root) / (2 * a);
            out2.x = (root - g) / (2 * a);
        }
        out1.y = m * out1.x + k;
        out2.y = m * out2.x + k;
        return 1;
    }

    double t1, t2;
    if (dx != 0) // horizontal
    {
        if (!SolveCentredQuadratic(cx, q.y * q.y - 2 * q.y * cy - e, t1, t2))
        {
            SetMissed(out1, out2);
            return 0;
        }
        out1.x = t1;
        out2.x = t2;
        out1.y = out2.y = q.y;
        return 1;
    }
    // vertical
    if (!SolveCentredQuadratic(cy, q.x * q.x - 2 * q.x * cx - e, t1, t2))
    {
        SetMissed(out1, out2);
        return 0;
    }
    out1.x = out2.x = q.x;
    out1.y = t1;
    out2.y = t2;
    return 1;
}

void IntersectLineCircle(double slope, double intercept, const DPoint& centre,
                         double squaredRadius, DPoint& out1, DPoint& out2)
{
    SetMissed(out1, out2);
    const double a = slope, b = intercept, cx = centre.x, cy = centre.y;
    const double f = 2 * (a * b - cx - cy * a);
    const double g = a * a + 1;
    const double disc = f * f - 4 * g * (cx * cx + b * b + cy * cy - 2 * cy * b - squaredRadius);
    if (disc < 0)
        return;
    if (disc == 0)
    {
        out1.x = out2.x = -f / (2 * g);
    }
    else
    {
        const double root = std::sqrt(disc);
        out1.x = (-f - root) / (2 * g);
        out2.x = (root - f) / (2 * g);
    }
    out1.y = a * out1.x + b;
    out2.y = a * out2.x + b;
}

double PointDistance(const DPoint& p1, const DPoint& p2)
{
    const double dx = p2.x - p1.x, dy = p2.y - p1.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    return d < 1e-6 ? 0 : d;
}

void NearerPoint(DPoint& out, const DPoint& ref, const DPoint& p1, const DPoint& p2)
{
    const DPoint chosen = PointDistance(p1, ref) < PointDistance(p2, ref) ? p1 : p2;
    out = chosen;
}

int PaletteShadeCount(int paletteKind)
{
    switch (paletteKind)
    {
    case 1:
        return 25;
    case 2:
        return 10;
    case 4:
        return 4;
    default:
        return 1;
    }
}

void SplitVariantIndex(int variant, int& quarter, int& shade, int paletteKind)
{
    if (variant < 0)
        variant = 0;
    quarter = variant % 4;
    shade = variant / 4;
    const int last = PaletteShadeCount(paletteKind) - 1;
    if (shade > last)
        shade = last;
}

int FindPaletteColourIndex(int paletteKind, COLORREF colour, int shade,
                           const PaletteEntry* table)
{
    const int index = FindColourInTable(colour, table);
    if (paletteKind < 1 || paletteKind > 4)
        return index;
    // A shade beyond the family's range would point into the next colour's textures.
    const int shades = PaletteShadeCount(paletteKind);
    return ClampInt(shade, 0, shades - 1) + index * shades;
}

int FindPaletteColourOffset(int paletteKind, COLORREF colour, int quarter, int shade,
                            const PaletteEntry* table)
{
    const int index = FindColourInTable(colour, table);
    quarter = ClampInt(quarter, 0, 3);
    if (paletteKind < 1 || paletteKind > 4)
        return quarter + index * 4;
    const int shades = PaletteShadeCount(paletteKind);
    return (ClampInt(shade, 0, shades - 1) + index * shades) * 4 + quarter;
}

COLORREF ContrastTextColour(COLORREF colour)
{
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    int high = r > g ? r : g;
    if (b > high)
        high = b;
    int low = r < g ? r : g;
    if (b < low)
        low = b;
    const int lightness = ((high + low) * 240 + 255) / 510;
    return lightness < 145 ? 0xFFFFFF : 0;
}

void CopyLogFont(const LOGFONTW& source, LOGFONTW& dest)
{
    dest.lfHeight = source.lfHeight;
    dest.lfWidth = source.lfWidth;
    dest.lfEscapement = source.lfEscapement;
    dest.lfOrientation = source.lfOrientation;
    dest.lfWeight = source.lfWeight;
    dest.lfItalic = source.lfItalic;
    dest.lfUnderline = source.lfUnderline;
    dest.lfStrikeOut = source.lfStrikeOut;
    dest.lfCharSet = source.lfCharSet;
    dest.lfOutPrecision = source.lfOutPrecision;
    dest.lfClipPrecision = source.lfClipPrecision;
    dest.lfQuality = source.lfQuality;
    dest.lfPitchAndFamily = source.lfPitchAndFamily;
    int i = 0;
    for (; i < LF_FACESIZE - 1 && source.lfFaceName[i] != 0; ++i)
        dest.lfFaceName[i] = source.lfFaceName[i];
    dest.lfFaceName[i] = 0;
}

int RotateByteRight1(int value)
{
    const int v = value & 0xFF;
    return ((v >> 1) | (v << 7)) & 0xFF;
}

int RotateByteLeft1(int value)
{
    const int v = value & 0xFF;
    return ((v << 1) | (v >> 7)) & 0xFF;
}

int RotateByteRight(int value, int n)
{
    int v = value & 0xFF;
    for (int i = 0; i < (n > 0 ? n % 8 : 0); ++i)
        v = RotateByteRight1(v);
    return v;
}

int RotateByteLeft(int value, int n)
{
    int v = value & 0xFF;
    for (int i = 0; i < (n > 0 ? n % 8 : 0); ++i)
        v = RotateByteLeft1(v);
    return v;
}

void SwapBytes(BYTE* a, BYTE* b)
{
    const BYTE t = *a;
    *a = *b;
    *b = t;
}

void SwapInts(int* a, int* b)
{
    const int t = *a;
    *a = *b;
    *b = t;
}

double AbsDouble(int a)
{
    return std::fabs(static_cast<double>(a));
}
