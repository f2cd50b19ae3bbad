#include "MosaicTest.h"

#include <cmath>
#include <climits>
#include <limits>

#include "AfxString.h"
#include "Paving.h"
#include "RasterImage.h"

namespace
{

struct RoundCase
{
    double x;
    int expected;
};

TEST(PavingRounding, RoundHalfAwayAddsJustUnderAHalf)
{
    const RoundCase cases[] = {
        {0.0, 0},         {0.4, 0},       {2.5, 2},       {2.50011, 3},  {-2.5, -2},
        {-2.50011, -3},   {0.5001, 1},    {-0.5001, -1},  {7.9, 8},      {-7.9, -8},
        {1e20, INT_MAX},  {-1e20, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const RoundCase& c : cases)
        EXPECT_EQ(c.expected, RoundHalfAway(c.x)) << "x = " << c.x;
}

TEST(PavingRounding, RoundToDecimals)
{
    EXPECT_DOUBLE_EQ(1.235, RoundToDecimals(1.23456, 3));
    EXPECT_DOUBLE_EQ(-1.23, RoundToDecimals(-1.2345, 2));
    EXPECT_DOUBLE_EQ(2.0, RoundToDecimals(2.5, 0));
    EXPECT_DOUBLE_EQ(120.0, RoundToDecimals(123.0, -1));
}

// Tile counts in a length of 100 with offset 1, and the start of column 3 and row 3 with
// offset 1, for every pattern at pitches 1, 2, 7 and 40. Derived pitches used below:
//   p = 1: half 0.5, hexagon corner 1 (0 made odd), circle row pitch 1
//   p = 2: half 1, corner 1, circle row pitch 2
//   p = 7: half 3.5, corner 3 (RoundHalfAway(1.75) = 2 made odd), circle row pitch 6
//   p = 40: half 20, corner 11, circle row pitch 35 (40 - RoundHalfAway(5.36))
struct ConversionCase
{
    int type;
    double p;
    int across;
    int down;
    int x3;
    int y3;
};

const ConversionCase kConversions[] = {
    // squares: L / p; p x i
    {0, 1, 100, 100, 3, 3},    {0, 2, 50, 50, 6, 6},
    {0, 7, 14, 14, 21, 21},    {0, 40, 2, 2, 120, 120},
    // diamonds: across L / p - 1, down L / (p / 2) - 1; x = p (i - 1), y = p/2 j + 1
    {1, 1, 99, 199, 2, 2},     {1, 2, 49, 99, 4, 4},
    {1, 7, 13, 27, 14, 11},    {1, 40, 1, 4, 80, 61},
    // circles: across (L - 1) / p, down L / q; y = q j
    {2, 1, 99, 100, 2, 3},     {2, 2, 49, 50, 4, 6},
    {2, 7, 14, 16, 14, 18},    {2, 40, 2, 2, 80, 105},
    // triangles: down = whole bands of p, two rows each; rows 2 and 3 share y = p
    {3, 1, 99, 200, 2, 1},     {3, 2, 49, 100, 4, 2},
    {3, 7, 14, 28, 14, 7},     {3, 40, 2, 4, 80, 40},
    // hexagons: down L / (p - k) - 1, none when p - k is 0; y = (p - k) j - 1
    {4, 1, 99, 0, 2, -1},      {4, 2, 49, 99, 4, 2},
    {4, 7, 14, 24, 14, 11},    {4, 40, 2, 2, 80, 86},
    // scales: down L / (p / 2) - 1; y = p/2 j - 1
    {5, 1, 99, 199, 2, 0},     {5, 2, 49, 99, 4, 2},
    {5, 7, 14, 27, 14, 9},     {5, 40, 2, 4, 80, 59},
    {6, 1, 99, 199, 2, 0},     {6, 2, 49, 99, 4, 2},
    {6, 7, 14, 27, 14, 9},     {6, 40, 2, 4, 80, 59},
    // crossed joints as squares
    {7, 1, 100, 100, 3, 3},    {7, 2, 50, 50, 6, 6},
    {7, 7, 14, 14, 21, 21},    {7, 40, 2, 2, 120, 120},
};

TEST(PavingConversions, EveryPatternAtSmallAndLargePitches)
{
    for (const ConversionCase& c : kConversions)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", p " << c.p);
        EXPECT_EQ(c.across, TilesAcross(c.type, c.p, 100, 1));
        EXPECT_EQ(c.down, TilesDown(c.type, c.p, 100, 1));
        EXPECT_EQ(c.x3, TileToPixelX(c.type, c.p, 3, 1));
        EXPECT_EQ(c.y3, TileToPixelY(c.type, c.p, 3, 1));
        EXPECT_EQ(c.x3, TileToPixelXReal(c.type, c.p, 3.0, 1));
        EXPECT_EQ(c.y3, TileToPixelYReal(c.type, c.p, 3.0, 1));
    }
}

TEST(PavingConversions, ZeroPitchAndUnknownPatternGiveNoTiles)
{
    for (int type = -1; type <= 8; ++type)
    {
        EXPECT_EQ(0, TilesAcross(type, 0, 100, 1)) << type;
        EXPECT_EQ(0, TilesDown(type, 0, 100, 1)) << type;
    }
    EXPECT_EQ(0, TilesAcross(8, 10, 100, 1));
    EXPECT_EQ(0, TilesDown(8, 10, 100, 1));
    EXPECT_EQ(0, TileToPixelX(8, 10, 3, 1));
    EXPECT_EQ(0, TileToPixelY(8, 10, 3, 1));
}

TEST(PavingConversions, NoPitchBetweenOneAndFortyDividesByZero)
{
    // Hexagons at pitch 1 have a corner as tall as the tile; every other pattern has a
    // positive row pitch. A count must never come from an infinite quotient.
    for (int p = 1; p <= 40; ++p)
    {
        for (int type = 0; type < 8; ++type)
        {
            const int across = TilesAcross(type, p, 1000, 1);
            const int down = TilesDown(type, p, 1000, 1);
            EXPECT_TRUE(across >= 0 && across <= 1000) << type << " " << p;
            EXPECT_TRUE(down >= 0 && down <= 2000) << type << " " << p;
        }
    }
}

TEST(PavingConversions, EdgeCasesOfTheFormulas)
{
    // Triangles: 101 holds the pair bands of 100; circles at 10 have a row pitch of 9.
    EXPECT_EQ(20, TilesDown(PavingTriangles, 10, 101, 0));
    EXPECT_EQ(11, TilesDown(PavingCircles, 10, 100, 0));
    EXPECT_DOUBLE_EQ(9.0, CircleRowPitch(10));
    // An odd band count stays whole pairs: 109 holds ten bands, not ten and a half.
    EXPECT_EQ(20, TilesDown(PavingTriangles, 10, 109, 0));
    EXPECT_EQ(5, HexagonCorner(16));
    EXPECT_EQ(5, HexagonCorner(20));
    EXPECT_EQ(1, HexagonCorner(1));

    for (int type = 1; type <= 6; ++type)
    {
        for (int b = 0; b <= 2; ++b)
        {
            EXPECT_EQ(0, TileToPixelXReal(type, 10, 0.0, b)) << type;
            EXPECT_EQ(0, TileToPixelXReal(type, 10, -2.5, b)) << type;
        }
    }
    EXPECT_EQ(TileToPixelY(PavingTriangles, 10, 2, 0), TileToPixelY(PavingTriangles, 10, 3, 0));
    EXPECT_EQ(10, TileToPixelY(PavingTriangles, 10, 3, 0));
    EXPECT_EQ(20, TileToPixelY(PavingTriangles, 10, 4, 0));
    // Fractional columns and rows: 7 x 2.5 = 17.5 rounds to 17.
    EXPECT_EQ(17, TileToPixelXReal(PavingSquares, 7, 2.5, 0));
    EXPECT_EQ(25, TileToPixelXReal(PavingHexagons, 10, 3.5, 1));
}

// The rows of a mosaic are laid from its last row up: the last row is never shifted, and the
// row above it points up and shares its band. With 45 rows of triangles row 0 has no partner
// and no band: rows 1 and 2 make the first band, rows 43 and 44 the last, 22 bands in all.
TEST(PavingRows, LaidFromTheLastRowUp)
{
    const struct
    {
        int type, rows, row;
        BOOL shifted, up, sharesAbove;
        int y;       // start at a pitch of 10
    } cases[] = {
        {PavingTriangles, 44, 0, TRUE, TRUE, FALSE, 0},
        {PavingTriangles, 44, 1, FALSE, FALSE, TRUE, 0},
        {PavingTriangles, 44, 2, TRUE, TRUE, FALSE, 10},
        {PavingTriangles, 44, 43, FALSE, FALSE, TRUE, 210},
        {PavingTriangles, 44, 44, TRUE, TRUE, FALSE, 220},
        {PavingTriangles, 45, 0, FALSE, FALSE, FALSE, 0},
        {PavingTriangles, 45, 1, TRUE, TRUE, FALSE, 0},
        {PavingTriangles, 45, 2, FALSE, FALSE, TRUE, 0},
        {PavingTriangles, 45, 3, TRUE, TRUE, FALSE, 10},
        {PavingTriangles, 45, 44, FALSE, FALSE, TRUE, 210},
        {PavingTriangles, 45, 45, TRUE, TRUE, FALSE, 220},
        {PavingSquares, 45, 43, FALSE, TRUE, FALSE, 430},
        {PavingCrossedJoints, 45, 43, TRUE, TRUE, FALSE, 430},
        {PavingHexagons, 45, 44, FALSE, FALSE, FALSE, 7 * 44},
        {PavingHexagons, 44, 0, TRUE, TRUE, FALSE, 0},
        {PavingDiamonds, 45, 0, FALSE, FALSE, FALSE, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.rows << " rows, row "
                                        << c.row);
        EXPECT_EQ(c.shifted, IsShiftedRow(c.type, c.rows, c.row));
        EXPECT_EQ(c.up, TrianglePointsUp(c.rows, c.row));
        EXPECT_EQ(c.sharesAbove, SharesBandWithRowAbove(c.type, c.rows, c.row));
        EXPECT_EQ(c.y, RowToPixelY(c.type, 10, c.rows, c.row, 0));
    }
    EXPECT_EQ(1, FirstPavingRow(PavingTriangles, 45));
    EXPECT_EQ(0, FirstPavingRow(PavingTriangles, 44));
    EXPECT_EQ(0, FirstPavingRow(PavingHexagons, 45));
    // A length finds the first row of its band.
    EXPECT_EQ(1, RowAtPixelY(PavingTriangles, 10, 45, 9, 0));
    EXPECT_EQ(3, RowAtPixelY(PavingTriangles, 10, 45, 10, 0));
    EXPECT_EQ(2, RowAtPixelY(PavingTriangles, 10, 44, 10, 0));
    EXPECT_EQ(7, RowAtPixelY(PavingSquares, 10, 45, 75, 0));
}

TEST(PavingOutlines, PointsOfEachPattern)
{
    DPoint outer[TileOutlinePoints] = {}, inner[TileOutlinePoints] = {};
    BuildTileShapeOutline(PavingHexagons, 16, outer, inner);
    // corner 5, e = 11, c = 8
    const double hexOuter[7][2] = {{0, 5}, {0, 11}, {8, 16}, {16, 11}, {16, 5}, {8, 0}, {0, 5}};
    const double hexInner[7][2] = {{1, 5}, {1, 11}, {8, 15}, {15, 11}, {15, 5}, {8, 1}, {1, 5}};
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ(hexOuter[i][0], outer[2 * i].x) << i;
        EXPECT_EQ(hexOuter[i][1], outer[2 * i].y) << i;
        EXPECT_EQ(hexInner[i][0], inner[2 * i].x) << i;
        EXPECT_EQ(hexInner[i][1], inner[2 * i].y) << i;
        EXPECT_EQ(0, outer[2 * i + 1].x) << "odd positions stay as cleared";
    }

    DPoint dOuter[TileOutlinePoints] = {}, dInner[TileOutlinePoints] = {};
    BuildTileShapeOutline(PavingDiamonds, 7, dOuter, dInner);
    EXPECT_EQ(3.5, dOuter[2].x);
    EXPECT_EQ(7, dOuter[2].y);
    EXPECT_EQ(6, dInner[4].x);
    EXPECT_EQ(3.5, dInner[4].y);

    DPoint cOuter[TileOutlinePoints] = {}, cInner[TileOutlinePoints] = {};
    for (int type : {PavingCircles, PavingScales1, PavingScales2})
    {
        BuildTileShapeOutline(type, 10, cOuter, cInner);
        for (int i = 0; i < TileOutlinePoints; ++i)
            EXPECT_TRUE(cOuter[i].x == 0 && cOuter[i].y == 0 && cInner[i].x == 0);
    }
}

TEST(PavingOutlines, PointInPolygonOnInterleavedTriangles)
{
    DPoint outer[TileOutlinePoints] = {}, inner[TileOutlinePoints] = {};
    BuildTileShapeOutline(PavingTriangles, 8, outer, inner);
    // Polygon 0 has its apex up at (4, 8), polygon 1 its apex down at (4, 0).
    EXPECT_EQ(1, PointInPolygon(0, 1, 1, outer, 4));
    EXPECT_EQ(0, PointInPolygon(1, 1, 1, outer, 4));
    EXPECT_EQ(1, PointInPolygon(1, 4, 1, outer, 4));
    EXPECT_EQ(0, PointInPolygon(0, 1, 7, outer, 4));
    EXPECT_EQ(1, PointInPolygon(1, 1, 7, outer, 4));
    // Left and bottom edges count as inside, right and top edges as outside.
    DPoint square[TileOutlinePoints] = {}, squareInner[TileOutlinePoints] = {};
    BuildTileShapeOutline(PavingSquares, 8, square, squareInner);
    EXPECT_EQ(1, PointInPolygon(0, 0, 0, square, 5));
    EXPECT_EQ(1, PointInPolygon(0, 0, 4, square, 5));
    EXPECT_EQ(0, PointInPolygon(0, 8, 4, square, 5));
    EXPECT_EQ(0, PointInPolygon(0, 4, 8, square, 5));
    EXPECT_EQ(0, PointInPolygon(0, 4, 4, square, 0));
    EXPECT_EQ(0, PointInPolygon(2, 4, 4, square, 5));
}

// Masks are written out row by row from y = 0.
void ExpectPlane(const CRasterImage& image, const char* const* rows)
{
    for (int y = 0; y < image.height; ++y)
    {
        for (int x = 0; x < image.width; ++x)
            EXPECT_EQ(rows[y][x] - '0', image.data[x + y * image.width])
                << "(" << x << ", " << y << ")";
    }
}

struct Plane
{
    CRasterImage image;
    Plane(int w, int h)
    {
        image.Create(0, w, h);
        image.FillBytes(0);
    }
    ~Plane() { image.Free(); }
};

TEST(PavingShapes, TriangleMaskFromItsOutlines)
{
    DPoint outer[TileOutlinePoints] = {}, inner[TileOutlinePoints] = {};
    BuildTileShapeOutline(PavingTriangles, 4, outer, inner);
    Plane mask(4, 4);
    mask.image.BuildShapeMask(0, 4, outer, inner, 2);
    const char* expected[] = {"2222", "0112", "0210", "0020"};
    ExpectPlane(mask.image, expected);
}

TEST(PavingShapes, FillCircleFillsTheDiscInside)
{
    Plane plane(7, 7);
    plane.image.FillCircle(3, 3, 2, 2);
    const char* expected[] = {"0000000", "0022200", "0211120", "0211120",
                              "0211120", "0022200", "0000000"};
    ExpectPlane(plane.image, expected);
}

TEST(PavingShapes, CircleOverTheLeftEdgeDoesNotWrapIntoTheRowBefore)
{
    Plane plane(7, 7);
    plane.image.FillCircle(0, 3, 2, 2);
    const char* expected[] = {"0000000", "2200000", "1120000", "1120000",
                              "1120000", "2200000", "0000000"};
    ExpectPlane(plane.image, expected);
}

TEST(PavingShapes, CircleAndFilledTop)
{
    Plane plane(7, 7);
    plane.image.DrawCircleAndFillTop(3, 3, 2, 2);
    const char* expected[] = {"1111111", "1111111", "1111111", "0211120",
                              "0211120", "0022200", "0000000"};
    ExpectPlane(plane.image, expected);

    Plane low(5, 3);
    low.image.DrawCircleAndFillTop(2, 50, 1, 2);
    const char* allTop[] = {"11111", "11111", "11111"};
    ExpectPlane(low.image, allTop);
}

TEST(PavingShapes, SinglePixelCircleAndNoBuffer)
{
    Plane one(1, 1);
    one.image.FillCircle(0, 0, 0, 2);
    EXPECT_EQ(1, one.image.data[0]);

    CRasterImage empty;
    empty.FillCircle(3, 3, 2, 2);
    empty.DrawCircleAndFillTop(3, 3, 2, 2);
    EXPECT_TRUE(empty.data == NULL);
}

struct QuadrantCase
{
    int mode;
    int u;
    int v;
    int part;
};

TEST(PavingGeometry, QuadrantOfPointForEachCutMode)
{
    // Tile side 8: half 4; diagonal tests e = u - v and f = u + v - 6.
    const QuadrantCase cases[] = {
        {1, 4, 5, 1}, {1, 5, 4, 2}, {1, 4, 4, 3}, {1, 5, 5, 4}, {5, 0, 7, 1}, {5, 7, 0, 2},
        {3, 2, 5, 1}, {3, 3, 1, 2}, {3, 1, 3, 3}, {3, 5, 2, 4}, {6, 3, 3, 4}, {6, 0, 7, 1},
        {0, 7, 7, 1}, {2, 7, 0, 1}, {4, 7, 0, 1},
    };
    for (const QuadrantCase& c : cases)
    {
        int part = -1;
        QuadrantOfPoint(c.mode, 8, c.u, c.v, part);
        EXPECT_EQ(c.part, part) << "mode " << c.mode << " (" << c.u << ", " << c.v << ")";
    }
}

TEST(PavingGeometry, LineThroughPoints)
{
    double slope = 0, dx = 0, intercept = 0;
    LineThroughPoints({1, 2}, {3, 6}, slope, dx, intercept);
    EXPECT_DOUBLE_EQ(2, slope);
    EXPECT_DOUBLE_EQ(2, dx);
    EXPECT_DOUBLE_EQ(0, intercept);

    // Nearly vertical within a thousandth counts as vertical; the intercept is left alone.
    intercept = 99;
    LineThroughPoints({2.0005, 1}, {2, 5}, slope, dx, intercept);
    EXPECT_EQ(2147483647.0, slope);
    EXPECT_EQ(0, dx);
    EXPECT_EQ(99, intercept);

    LineThroughPoints({0, 3.0004}, {4, 3}, slope, dx, intercept);
    EXPECT_EQ(0, slope);
    EXPECT_DOUBLE_EQ(3, intercept);
}

void ExpectPoint(double x, double y, const DPoint& p)
{
    EXPECT_NEAR(x, p.x, 1e-9);
    EXPECT_NEAR(y, p.y, 1e-9);
}

TEST(PavingGeometry, CircleAndLineThroughTwoPoints)
{
    const DPoint origin = {0, 0};
    DPoint a, b;
    // y = x crosses the circle of radius 5 at +-5 / sqrt 2.
    EXPECT_EQ(1, IntersectCircleLine(origin, 5, {0, 0}, {1, 1}, a, b));
    const double r = 5 / std::sqrt(2.0);
    ExpectPoint(-r, -r, a);
    ExpectPoint(r, r, b);
    // Tangent y = 0.75 x + 5 to radius 4 touches at (-2.4, 3.2) only.
    EXPECT_EQ(1, IntersectCircleLine(origin, 4, {0, 5}, {4, 8}, a, b));
    ExpectPoint(-2.4, 3.2, a);
    ExpectPoint(-2.4, 3.2, b);
    // Horizontal and vertical lines, smaller root first.
    EXPECT_EQ(1, IntersectCircleLine(origin, 5, {10, 3}, {-10, 3}, a, b));
    ExpectPoint(-4, 3, a);
    ExpectPoint(4, 3, b);
    EXPECT_EQ(1, IntersectCircleLine({1, 1}, 5, {4, 9}, {4, -9}, a, b));
    ExpectPoint(4, -3, a);
    ExpectPoint(4, 5, b);
    // Misses, general, horizontal and vertical.
    EXPECT_EQ(0, IntersectCircleLine(origin, 5, {0, 10}, {1, 11}, a, b));
    ExpectPoint(-1, -1, a);
    ExpectPoint(-1, -1, b);
    EXPECT_EQ(0, IntersectCircleLine(origin, 5, {0, 6}, {1, 6}, a, b));
    ExpectPoint(-1, -1, b);
    EXPECT_EQ(0, IntersectCircleLine(origin, 5, {6, 0}, {6, 1}, a, b));
    ExpectPoint(-1, -1, a);
}

TEST(PavingGeometry, LineAndCircle)
{
    DPoint a = {7, 7}, b = {7, 7};
    IntersectLineCircle(1, 0, {2, 2}, 8, a, b);
    ExpectPoint(0, 0, a);
    ExpectPoint(4, 4, b);
    IntersectLineCircle(0.75, 5, {0, 0}, 16, a, b);
    ExpectPoint(-2.4, 3.2, a);
    ExpectPoint(-2.4, 3.2, b);
    a.x = b.x = 7;
    IntersectLineCircle(0, 10, {0, 0}, 4, a, b);
    ExpectPoint(-1, -1, a);
    ExpectPoint(-1, -1, b);
}

TEST(PavingGeometry, DistanceAndNearerPoint)
{
    EXPECT_DOUBLE_EQ(5, PointDistance({0, 0}, {3, 4}));
    EXPECT_EQ(0, PointDistance({1, 1}, {1, 1.0000001}));
    DPoint out = {};
    NearerPoint(out, {0, 0}, {1, 0}, {0, 2});
    ExpectPoint(1, 0, out);
    NearerPoint(out, {0, 0}, {1, 0}, {0, 1});
    ExpectPoint(0, 1, out);
    DPoint p1 = {5, 5}, p2 = {1, 1};
    NearerPoint(p1, {0, 0}, p1, p2);
    ExpectPoint(1, 1, p1);
}

struct SplitCase
{
    int kind;
    int variant;
    int quarter;
    int shade;
};

TEST(PavingTextures, SplitVariantIndexClampsToTheLastShade)
{
    const SplitCase cases[] = {
        {3, 4, 0, 0},  {1, 100, 0, 24}, {1, 99, 3, 24}, {2, 17, 1, 4},
        {2, 40, 0, 9}, {0, 5, 1, 0},    {4, 16, 0, 3},  {4, -3, 0, 0},
    };
    for (const SplitCase& c : cases)
    {
        int quarter = -1, shade = -1;
        SplitVariantIndex(c.variant, quarter, shade, c.kind);
        EXPECT_EQ(c.quarter, quarter) << "kind " << c.kind << " variant " << c.variant;
        EXPECT_EQ(c.shade, shade) << "kind " << c.kind << " variant " << c.variant;
    }
}

TEST(PavingTextures, PaletteColourSlots)
{
    PaletteEntry table[256] = {};
    table[5] = {10, 20, 30, 1};
    table[7] = {10, 20, 30, 0};
    const COLORREF colour = RGB(10, 20, 30);
    EXPECT_EQ(3 + 5 * 25, FindPaletteColourIndex(1, colour, 3, table));
    EXPECT_EQ(5, FindPaletteColourIndex(0, colour, 3, table));
    EXPECT_EQ((4 + 5 * 10) * 4 + 2, FindPaletteColourOffset(2, colour, 2, 4, table));
    EXPECT_EQ(3 + 5 * 4, FindPaletteColourOffset(0, colour, 3, 0, table));
    // A colour that is not there counts as entry 0.
    EXPECT_EQ(3, FindPaletteColourIndex(1, RGB(1, 2, 3), 3, table));
    EXPECT_EQ(1, FindPaletteColourOffset(3, RGB(1, 2, 3), 1, 0, table));
    // Shades and quarters past the family's range stay within the colour's own slots.
    EXPECT_EQ((3 + 5 * 4) * 4 + 3, FindPaletteColourOffset(4, colour, 9, 9, table));
    EXPECT_EQ(24 + 5 * 25, FindPaletteColourIndex(1, colour, 30, table));
}

TEST(PavingColours, ContrastTextColour)
{
    const struct
    {
        COLORREF colour;
        COLORREF text;
    } cases[] = {
        {RGB(255, 0, 0), 0xFFFFFF},   {RGB(255, 255, 0), 0xFFFFFF}, {RGB(200, 200, 200), 0},
        {RGB(0, 0, 0), 0xFFFFFF},     {RGB(255, 255, 255), 0},
        // lightness 145 reads black, 144 white
        {RGB(154, 154, 154), 0},      {RGB(154, 153, 153), 0xFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, ContrastTextColour(c.colour)) << std::hex << c.colour;
}

TEST(PavingBytes, RotationsSwapsAndAbs)
{
    EXPECT_EQ(0x80, RotateByteRight(0x01, 1));
    EXPECT_EQ(0x01, RotateByteLeft(0x80, 1));
    EXPECT_EQ(0xB4, RotateByteRight(0xB4, 8));
    EXPECT_EQ(0xB4, RotateByteLeft(0xB4, 8));
    EXPECT_EQ(0x20, RotateByteRight(0x01, 3));
    EXPECT_EQ(0x06, RotateByteLeft(0x81, 2));
    EXPECT_EQ(0x80, RotateByteRight(0x01, 9));
    EXPECT_EQ(0x06, RotateByteRight(0x06, 0));
    EXPECT_EQ(0xC0, RotateByteRight1(0x181));
    EXPECT_EQ(0x03, RotateByteLeft1(0x181));

    BYTE x = 1, y = 2;
    SwapBytes(&x, &y);
    EXPECT_EQ(2, x);
    EXPECT_EQ(1, y);
    int i = -5, j = 9;
    SwapInts(&i, &j);
    EXPECT_EQ(9, i);
    EXPECT_EQ(-5, j);
    EXPECT_EQ(2147483648.0, AbsDouble(INT_MIN));
    EXPECT_EQ(3.0, AbsDouble(-3));
}

TEST(PavingFonts, CopyLogFontCopiesFieldsAndTerminatesTheFace)
{
    LOGFONTW source = {};
    source.lfHeight = -14;
    source.lfWeight = 700;
    source.lfItalic = 1;
    source.lfCharSet = 1;
    source.lfPitchAndFamily = 0x22;
    lstrcpyW(source.lfFaceName, L"Arial Unicode MS");
    LOGFONTW dest;
    memset(&dest, 0x55, sizeof dest);
    CopyLogFont(source, dest);
    EXPECT_EQ(-14, dest.lfHeight);
    EXPECT_EQ(0, dest.lfWidth);
    EXPECT_EQ(700, dest.lfWeight);
    EXPECT_EQ(1, dest.lfItalic);
    EXPECT_EQ(0, dest.lfUnderline);
    EXPECT_EQ(1, dest.lfCharSet);
    EXPECT_EQ(0x22, dest.lfPitchAndFamily);
    EXPECT_EQ(CString(L"Arial Unicode MS"), CString(dest.lfFaceName));

    // A face that fills the whole array without a terminator keeps 31 characters.
    for (int k = 0; k < LF_FACESIZE; ++k)
        source.lfFaceName[k] = L'A' + k % 26;
    CopyLogFont(source, dest);
    EXPECT_EQ(31, lstrlenW(dest.lfFaceName));
    EXPECT_EQ(CString(L"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE"), CString(dest.lfFaceName));
}

} // namespace
