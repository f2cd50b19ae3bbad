#include "MosaicTest.h"

#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "Paving.h"
#include "RasterImage.h"
#include "RegionTools.h"
#include "TilePalette.h"

namespace
{

// A cell map of cols x rows cells, all whole tiles of colour 0, freed at the end of the test.
struct CellMap : CRasterImage
{
    CellMap(int cols, int rows)
    {
        Create(0, 4 * cols, 4 * rows);
        FillBytes(0);
    }
    ~CellMap() { Free(); }
    CellMap(const CellMap&) = delete;
    CellMap& operator=(const CellMap&) = delete;
};

struct Plane : CRasterImage
{
    Plane() { width = height = 0; size = 0; }
    ~Plane() { Free(); }
    Plane(const Plane&) = delete;
    Plane& operator=(const Plane&) = delete;
};

struct Cell
{
    int shape, kind, colour[4], variant[4];
};

Cell ReadCell(const CRasterImage& map, int col, int row)
{
    Cell c = {-1, -1, {-1, -1, -1, -1}, {-1, -1, -1, -1}};
    map.GetCell(col, row, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2], c.colour[3],
                c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
    return c;
}

std::vector<BYTE> Bytes(const CRasterImage& image)
{
    return std::vector<BYTE>(image.data, image.data + image.size);
}

void WriteCell(CRasterImage& map, int col, int row, int shape, int kind, int a, int b, int c,
               int d)
{
    map.SetCell(col, row, shape, kind, a, b, c, d, 0, 0, 0, 0);
}

void FillMap(CRasterImage& map, int cols, int rows, int colour)
{
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
            WriteCell(map, col, row, 0, 0, colour, colour, colour, colour);
}

// Plane point inside the area of part (0 = A) of cell (col, row) of the given kind.
POINT PartPoint(int kind, int part, int col, int row)
{
    const char* pattern = RegionPartPattern(kind);
    for (int i = 0; i < 16; ++i)
        if (pattern[i] == 'A' + part)
            return POINT{4 * col + i % 4, 4 * row + i / 4};
    return POINT{-1, -1};
}

// The cell tool at part `part` of cell (col, row): plane, tag, toggle.
void ToggleAt(CRasterImage& map, int cols, int rows, int col, int row, int part)
{
    Plane plane;
    ASSERT_TRUE(PrepareRegionPlane(&plane, &map, cols, rows));
    const POINT p = PartPoint(ReadCell(map, col, row).kind, part, col, row);
    ASSERT_TRUE(TagRegionInPlane(&plane, cols, rows, p.x, p.y));
    map.ToggleCellsInRegion(&plane, cols, rows);
}

// The fill tool at part `part` of cell (col, row) with an image colour.
void FillAt(CRasterImage& map, int cols, int rows, int col, int row, int part, int colour,
            int* seed1, int* seed2)
{
    Plane plane;
    ASSERT_TRUE(PrepareRegionPlane(&plane, &map, cols, rows));
    const POINT p = PartPoint(ReadCell(map, col, row).kind, part, col, row);
    ASSERT_TRUE(PaintRegionInPlane(&plane, cols, rows, p.x, p.y, colour));
    map.FillRegionWithColour(&plane, cols, rows, 0, seed1, seed2);
}

// Expected kind and shape code per cell, row 0 first: "k,s" or "." for a cell left alone.
void ExpectBorderTable(const CRasterImage& map, const CRasterImage& before, int cols,
                       const std::vector<std::string>& table, const char* what)
{
    for (size_t row = 0; row < table.size(); ++row)
    {
        std::istringstream tokens(table[row]);
        std::string token;
        for (int col = 0; col < cols && tokens >> token; ++col)
        {
            const Cell got = ReadCell(map, col, (int)row);
            const Cell old = ReadCell(before, col, (int)row);
            SCOPED_TRACE(std::string(what) + " cell " + std::to_string(col) + "," +
                         std::to_string(row));
            if (token == ".")
            {
                EXPECT_EQ(0, memcmp(&got, &old, sizeof(Cell)));
                continue;
            }
            int kind = -1, shape = -1;
            sscanf(token.c_str(), "%d,%d", &kind, &shape);
            EXPECT_EQ(kind, got.kind);
            EXPECT_EQ(shape, got.shape);
            EXPECT_EQ(old.colour[0], got.colour[0]);
            EXPECT_EQ(old.colour[0], got.colour[1]);
            EXPECT_EQ(kind == 5 ? old.colour[0] : old.colour[2], got.colour[2]);
            EXPECT_EQ(kind == 5 ? old.colour[0] : old.colour[3], got.colour[3]);
            EXPECT_EQ(0, memcmp(got.variant, old.variant, sizeof(got.variant)));
        }
    }
}

// Cells with distinct colours A (col * 10 + row + 1), B 200, C 201, D 202 and variants 3.
void DistinctCells(CRasterImage& map, int cols, int rows)
{
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
            map.SetCell(col, row, 0, 0, col * 10 + row + 1, 200, 201, 202, 3, 3, 3, 3);
}

struct BorderCase
{
    int type, cols, rows;
    std::vector<std::string> table;
};

} // namespace

TEST(BorderCodes, EachPatternOnFiveByFourAndOddRowMaps)
{
    const std::vector<std::string> edgeRows = {"5,7 3,3 3,3 3,3 5,5", ". . . . 0,16",
                                               "4,1 . . . 4,2", "3,4 3,4 3,4 3,4 0,16"};
    const std::vector<std::string> sideOnly = {"4,1 . . . 4,2", ". . . . 0,16",
                                               "4,1 . . . 4,2", ". . . . 0,16"};
    const BorderCase cases[] = {
        {PavingSquares, 5, 4, {". . . . .", ". . . . .", ". . . . .", ". . . . ."}},
        {PavingDiamonds, 5, 4, edgeRows},
        {PavingCircles, 5, 4, edgeRows},
        {PavingTriangles, 5, 4, sideOnly},
        {PavingHexagons, 5, 4, edgeRows},
        {PavingScales1, 5, 4, edgeRows},
        {PavingScales2, 5, 4, edgeRows},
        {PavingCrossedJoints, 5, 4, sideOnly},
        // Odd row counts: diamonds lose the last column of rows 0 and 2; triangles lose row 0.
        {PavingDiamonds, 4, 3, {"3,3 3,3 3,3 0,16", "4,1 . . 4,2", "3,4 3,4 3,4 0,16"}},
        {PavingTriangles, 5, 3, {"0,16 0,16 0,16 0,16 0,16", "4,1 . . . 4,2", ". . . . 0,16"}},
        {PavingCrossedJoints, 4, 3, {". . . 0,16", "4,1 . . 4,2", ". . . 0,16"}},
        // One column: the last-column rule wins over column 0's.
        {PavingDiamonds, 1, 4, {"5,5", "0,16", "4,2", "0,16"}},
    };
    for (const BorderCase& c : cases)
    {
        CellMap map(c.cols, c.rows), before(c.cols, c.rows);
        DistinctCells(map, c.cols, c.rows);
        DistinctCells(before, c.cols, c.rows);
        CRasterImage::SetBorderCodes(&map, c.type, c.cols, c.rows, -1, -1);
        const std::string what = "type " + std::to_string(c.type) + " " +
                                 std::to_string(c.cols) + "x" + std::to_string(c.rows);
        ExpectBorderTable(map, before, c.cols, c.table, what.c_str());
    }
}

TEST(BorderCodes, ClearingRestoresWholeTilesAndKeepsCopiedColours)
{
    for (int type = PavingDiamonds; type <= PavingCrossedJoints; ++type)
    {
        for (int rows = 3; rows <= 4; ++rows)
        {
            CellMap map(5, rows);
            DistinctCells(map, 5, rows);
            CRasterImage::SetBorderCodes(&map, type, 5, rows, -1, -1);
            CellMap set(5, rows);
            map.CopyBlock(&set, map.width, map.height);
            map.ClearBorderCodes(type, 5, rows, -1, -1);
            for (int col = 0; col < 5; ++col)
            {
                for (int row = 0; row < rows; ++row)
                {
                    SCOPED_TRACE("type " + std::to_string(type) + " rows " +
                                 std::to_string(rows) + " cell " + std::to_string(col) + "," +
                                 std::to_string(row));
                    const Cell got = ReadCell(map, col, row);
                    const Cell old = ReadCell(set, col, row);
                    EXPECT_EQ(0, got.shape);
                    EXPECT_EQ(0, got.kind);
                    EXPECT_EQ(0, memcmp(got.colour, old.colour, sizeof(got.colour)));
                }
            }
        }
    }
}

// Changing the paving pattern must not turn the user's holes and cut tiles back into whole
// tiles: only what the old pattern itself wrote is cleared.
TEST(BorderCodes, ClearingLeavesTheUsersHolesAndCuts)
{
    const int cols = 5, rows = 4;
    // From squares and crossed joints: holes in row 0, the last row and the last column.
    for (int type : {PavingSquares, PavingCrossedJoints})
    {
        CellMap map(cols, rows);
        CRasterImage::SetBorderCodes(&map, type, cols, rows, -1, -1);
        WriteCell(map, 2, 0, ShapeHole, 0, 1, 1, 1, 1);
        WriteCell(map, 1, rows - 1, 2, CellHalvesRows, 1, 2, 1, 2);
        WriteCell(map, cols - 1, 0, ShapeHole, 0, 1, 1, 1, 1);
        WriteCell(map, 0, 1, ShapeHole, 0, 1, 1, 1, 1);
        map.ClearBorderCodes(type, cols, rows, -1, -1);
        EXPECT_EQ(ShapeHole, ReadCell(map, 2, 0).shape) << type;
        EXPECT_EQ(2, ReadCell(map, 1, rows - 1).shape) << type;
        EXPECT_EQ(CellHalvesRows, ReadCell(map, 1, rows - 1).kind) << type;
        EXPECT_EQ(ShapeHole, ReadCell(map, 0, 1).shape) << type;
        EXPECT_EQ(ShapeHole, ReadCell(map, cols - 1, 0).shape) << type;
        // The hole that crossed joints made themselves in the last column clears.
        EXPECT_EQ(ShapeWhole, ReadCell(map, cols - 1, 1).shape) << type;
    }
    // A hole the user made where the new pattern lays a half tile stays a hole, and stays one
    // when that pattern is cleared again.
    CellMap holes(cols, rows);
    WriteCell(holes, 0, 2, ShapeHole, 0, 1, 1, 1, 1);
    WriteCell(holes, 3, 0, ShapeHole, 0, 1, 1, 1, 1);
    CRasterImage::SetBorderCodes(&holes, PavingHexagons, cols, rows, -1, -1);
    EXPECT_EQ(ShapeHole, ReadCell(holes, 0, 2).shape);
    EXPECT_EQ(ShapeHole, ReadCell(holes, 3, 0).shape);
    EXPECT_EQ(CellHalvesRows, ReadCell(holes, 2, 0).kind);
    holes.ClearBorderCodes(PavingHexagons, cols, rows, -1, -1);
    EXPECT_EQ(ShapeHole, ReadCell(holes, 0, 2).shape);
    EXPECT_EQ(ShapeHole, ReadCell(holes, 3, 0).shape);
    EXPECT_EQ(ShapeWhole, ReadCell(holes, 2, 0).shape);
    // Diamonds: a border half that the user removed stays removed, its neighbour clears.
    CellMap map(cols, rows);
    CRasterImage::SetBorderCodes(&map, PavingDiamonds, cols, rows, -1, -1);
    WriteCell(map, 2, 0, ShapeHole, CellHalvesRows, 1, 1, 1, 1);
    map.ClearBorderCodes(PavingDiamonds, cols, rows, -1, -1);
    EXPECT_EQ(ShapeHole, ReadCell(map, 2, 0).shape);
    EXPECT_EQ(ShapeWhole, ReadCell(map, 1, 0).shape);
    EXPECT_EQ(CellWhole, ReadCell(map, 1, 0).kind);
}

// A change of pattern and back: the pattern's own cells take each pattern in turn, and the
// user's hole and cut on border cells come back as the user left them, also where the other
// pattern lays a hole or the same half there.
TEST(BorderCodes, ChangingThePatternAndBackKeepsTheUsersCells)
{
    const int cols = 5, rows = 4;
    for (int type = PavingDiamonds; type <= PavingCrossedJoints; ++type)
    {
        SCOPED_TRACE("type " + std::to_string(type));
        CellMap map(cols, rows), expected(cols, rows);
        DistinctCells(map, cols, rows);
        DistinctCells(expected, cols, rows);
        Plane laid;
        // New lays the pattern on a whole map; squares are the pattern that lays nothing.
        map.ChangeBorderCodes(PavingSquares, type, cols, rows, &laid);
        CRasterImage::SetBorderCodes(&expected, type, cols, rows, -1, -1);
        EXPECT_EQ(Bytes(expected), Bytes(map));
        // In squares the user removes a last-column tile where this pattern has a hole of its
        // own (row 1), cuts a top-row tile in two colours and halves column 0 of row 2 as
        // the shifted patterns do.
        map.ChangeBorderCodes(type, PavingSquares, cols, rows, &laid);
        WriteCell(map, cols - 1, 1, ShapeHole, CellWhole, 7, 7, 7, 7);
        WriteCell(map, 2, 0, 2, CellHalvesBytes, 8, 9, 8, 9);
        WriteCell(map, 0, 2, 1, CellHalvesBytes, 6, 6, 6, 6);
        CellMap user(cols, rows);
        map.CopyBlock(&user, map.width, map.height);
        map.ChangeBorderCodes(PavingSquares, type, cols, rows, &laid);
        map.ChangeBorderCodes(type, PavingSquares, cols, rows, &laid);
        EXPECT_EQ(Bytes(user), Bytes(map));
    }
}

// Without a record of what the pattern laid, a cell that looks like the old pattern's is
// taken for it, and a cut in colours of its own is the user's.
TEST(BorderCodes, ChangingWithoutARecordGoesByTheCell)
{
    const int cols = 5, rows = 4;
    CellMap map(cols, rows);
    CRasterImage::SetBorderCodes(&map, PavingHexagons, cols, rows, -1, -1);
    WriteCell(map, 1, 0, 3, CellHalvesRows, 4, 5, 4, 5);   // a half the user recoloured
    map.ChangeBorderCodes(PavingHexagons, PavingSquares, cols, rows, NULL);
    EXPECT_EQ(ShapeWhole, ReadCell(map, 2, 0).shape);
    EXPECT_EQ(ShapeWhole, ReadCell(map, cols - 1, 1).shape);
    EXPECT_EQ(3, ReadCell(map, 1, 0).shape);
    EXPECT_EQ(5, ReadCell(map, 1, 0).colour[1]);
}

TEST(RegionPlane, ShapeCodesFollowTheRenderersPartSets)
{
    struct Case
    {
        int kind, parts, code;
    } cases[] = {
        {1, PartA, 2}, {1, PartB, 1}, {2, PartA, 4}, {2, PartB, 3}, {3, PartA, 4},
        {3, PartB, 3}, {4, PartA, 1}, {4, PartB, 2}, {5, PartA | PartB, 1},
        {6, PartB | PartC | PartD, 9}, {5, PartA | PartD, -1}, {6, PartB | PartC, -1},
        {0, PartA, 0}, {0, 0, 16}, {5, 15, 0}, {7, PartA, -1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.code, ShapeCodeOfParts(c.kind, c.parts)) << c.kind << " " << c.parts;
        if (c.code >= 0)
        {
            EXPECT_EQ(c.parts, PartsOfShapeCode(c.kind, c.code)) << c.kind << " " << c.code;
        }
    }
}

TEST(RegionPlane, EveryAreaIsConnectedAndTheClickPointLiesInThePartDrawn)
{
    for (int kind = 0; kind <= 6; ++kind)
    {
        const char* pattern = RegionPartPattern(kind);
        ASSERT_NE(nullptr, pattern);
        for (int part = 0; part < CellPartCount(kind); ++part)
        {
            // 4-connected flood over the block from the first quarter of the part.
            int seen[16] = {0}, stack[16], count = 0, reached = 0, total = 0;
            for (int i = 0; i < 16; ++i)
                total += pattern[i] == 'A' + part;
            ASSERT_GT(total, 0) << kind << " " << part;
            const POINT start = PartPoint(kind, part, 0, 0);
            stack[count++] = start.x + 4 * start.y;
            seen[stack[0]] = 1;
            while (count)
            {
                const int i = stack[--count];
                ++reached;
                const int x = i % 4, y = i / 4;
                const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
                for (const auto& q : next)
                {
                    const int j = q[0] + 4 * q[1];
                    if (q[0] < 0 || q[0] > 3 || q[1] < 0 || q[1] > 3 || seen[j] ||
                        pattern[j] != 'A' + part)
                        continue;
                    seen[j] = 1;
                    stack[count++] = j;
                }
            }
            EXPECT_EQ(total, reached) << "kind " << kind << " part " << part;
        }
        for (int n : {4, 7, 16})
        {
            for (int x = 0; x < n; ++x)
            {
                for (int y = 0; y < n; ++y)
                {
                    int bx = -1, by = -1;
                    RegionPointOfTilePixel(kind, n, x, y, bx, by);
                    ASSERT_TRUE(bx >= 0 && bx < 4 && by >= 0 && by < 4);
                    EXPECT_EQ('A' + TilePartAtPixel(kind, n, x, y), pattern[by * 4 + bx])
                        << "kind " << kind << " n " << n << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(RegionToggle, PartsAndWholeTilesFollowTheTables)
{
    struct Case
    {
        int kind, shape, part, expected;
    } cases[] = {
        {1, 0, 0, 1},   // A removed: only B left
        {1, 1, 0, 0},   // and laid again
        {1, 0, 1, 2},
        {3, 0, 1, 4},   // B (the lower half) removed: only A, the upper half, left
        {3, 0, 0, 3},
        {4, 1, 0, 16},  // the only laid part removed
        {4, 16, 0, 1},  // a part of an empty cell laid
        {5, 0, 0, 9},
        {5, 9, 0, 0},
        {6, 0, 2, 11},
        {5, 1, 2, 1},   // C alone against A and B laid: no code describes it, nothing changes
    };
    for (const Case& c : cases)
    {
        CellMap map(3, 3);
        FillMap(map, 3, 3, 9);
        WriteCell(map, 1, 1, c.shape, c.kind, 1, 2, 3, 4);
        ToggleAt(map, 3, 3, 1, 1, c.part);
        EXPECT_EQ(c.expected, ReadCell(map, 1, 1).shape)
            << "kind " << c.kind << " code " << c.shape << " part " << c.part;
        EXPECT_EQ(c.kind, ReadCell(map, 1, 1).kind);
        EXPECT_EQ(0, ReadCell(map, 0, 0).shape);
    }
}

TEST(RegionToggle, WholeTilesAndUncodedPairs)
{
    // Kind 0 and a split tile of one colour: the whole tile goes and comes back.
    for (int kind : {0, 2, 6})
    {
        CellMap map(3, 3);
        FillMap(map, 3, 3, 9);
        WriteCell(map, 1, 1, 0, kind, 4, 4, 4, 4);
        ToggleAt(map, 3, 3, 1, 1, 0);
        EXPECT_EQ(ShapeHole, ReadCell(map, 1, 1).shape) << kind;
        EXPECT_EQ(ShapeWhole, ReadCell(map, 0, 1).shape) << kind;
        ToggleAt(map, 3, 3, 1, 1, 0);
        EXPECT_EQ(ShapeWhole, ReadCell(map, 1, 1).shape) << kind;
    }
    // Quarters A and D joined through the neighbours: no code for the rest, nothing changes;
    // the neighbours of that colour are removed.
    CellMap map(3, 3);
    FillMap(map, 3, 3, 1);
    WriteCell(map, 1, 1, 0, CellQuarters, 1, 2, 3, 1);
    ToggleAt(map, 3, 3, 1, 1, 0);
    EXPECT_EQ(ShapeWhole, ReadCell(map, 1, 1).shape);
    EXPECT_EQ(ShapeHole, ReadCell(map, 0, 0).shape);
    // A plane without any tagged pixel changes nothing.
    Plane plane;
    ASSERT_TRUE(PrepareRegionPlane(&plane, &map, 3, 3));
    plane.FillBytes(0);
    CellMap copy(3, 3);
    map.CopyBlock(&copy, map.width, map.height);
    map.ToggleCellsInRegion(&plane, 3, 3);
    EXPECT_EQ(0, memcmp(map.data, copy.data, map.size));
}

TEST(RegionFill, PartsTakeTheColourAndSplitKindsKeepTheirPairs)
{
    struct Case
    {
        int kind, part;
        int expected[4];
    } cases[] = {
        {0, 0, {7, 7, 7, 7}},
        {1, 0, {7, 2, 7, 2}},
        {2, 1, {1, 7, 1, 7}},
        {3, 1, {1, 7, 1, 7}},
        {4, 0, {7, 2, 7, 2}},
        {5, 2, {1, 2, 7, 4}},
        {6, 3, {1, 2, 3, 7}},
    };
    for (const Case& c : cases)
    {
        CellMap map(3, 3);
        FillMap(map, 3, 3, 9);
        WriteCell(map, 1, 1, 0, c.kind, 1, 2, 3, 4);
        int s1 = 12345, s2 = 67890;
        FillAt(map, 3, 3, 1, 1, c.part, 7, &s1, &s2);
        const Cell got = ReadCell(map, 1, 1);
        EXPECT_EQ(0, memcmp(c.expected, got.colour, sizeof(got.colour))) << "kind " << c.kind;
        EXPECT_EQ(9, ReadCell(map, 0, 0).colour[0]) << "kind " << c.kind;
    }
}

// Colour 255 (every fresh photograph has one) is a colour like any other: the fill keeps to
// the clicked region, whatever its colour or the new one, and ends.
TEST(RegionFill, Colour255AndSeparateRegionsStayApart)
{
    for (int from : {0, 255, 5})
    {
        for (int to : {255, 0, 5})
        {
            // Two regions of colour `from` in columns 0 and 3, apart by column 1-2 of colour 9
            // or 255.
            CellMap map(4, 3);
            FillMap(map, 4, 3, from == 255 ? 9 : 255);
            for (int row = 0; row < 3; ++row)
            {
                WriteCell(map, 0, row, 0, 0, from, from, from, from);
                WriteCell(map, 3, row, 0, 0, from, from, from, from);
            }
            int s1 = 1, s2 = 2;
            FillAt(map, 4, 3, 0, 1, 0, to, &s1, &s2);
            for (int row = 0; row < 3; ++row)
            {
                EXPECT_EQ(to, ReadCell(map, 0, row).colour[0]) << from << "->" << to;
                EXPECT_EQ(from, ReadCell(map, 3, row).colour[0]) << from << "->" << to;
                EXPECT_EQ(from == 255 ? 9 : 255, ReadCell(map, 1, row).colour[0]);
            }
        }
    }
    // The document's plane may be larger than the map: its margin does not join two regions
    // of colour 0 that touch the map's right and bottom edges.
    CellMap map(3, 3);
    FillMap(map, 3, 3, 4);
    WriteCell(map, 2, 0, 0, 0, 0, 0, 0, 0);
    WriteCell(map, 0, 2, 0, 0, 0, 0, 0, 0);
    Plane exact;
    ASSERT_TRUE(PrepareRegionPlane(&exact, &map, 3, 3));
    Plane large;
    large.Create(0, 4 * map.width, 4 * map.height);
    large.FillBytes(0);
    exact.CopyBlock(&large, exact.width, exact.height);
    ASSERT_TRUE(PaintRegionInPlane(&large, 3, 3, 8, 0, 6));
    int s1 = 1, s2 = 2;
    map.FillRegionWithColour(&large, 3, 3, 0, &s1, &s2);
    EXPECT_EQ(6, ReadCell(map, 2, 0).colour[0]);
    EXPECT_EQ(0, ReadCell(map, 0, 2).colour[0]);
    // Tagging for the cell tool is no colour either: cells of colour 255 elsewhere stay.
    CellMap other(3, 1);
    FillMap(other, 3, 1, 255);
    WriteCell(other, 1, 0, 0, 0, 3, 3, 3, 3);
    ToggleAt(other, 3, 1, 1, 0, 0);
    EXPECT_EQ(ShapeHole, ReadCell(other, 1, 0).shape);
    EXPECT_EQ(ShapeWhole, ReadCell(other, 0, 0).shape);
    EXPECT_EQ(ShapeWhole, ReadCell(other, 2, 0).shape);
}

TEST(RegionFill, EveryCellDrawsNewVariantsInMapOrder)
{
    CellMap map(3, 2), replica(3, 2);
    FillMap(map, 3, 2, 1);
    FillMap(replica, 3, 2, 1);
    int s1 = 777, s2 = 999, r1 = 777, r2 = 999;
    FillAt(map, 3, 2, 0, 0, 0, 1, &s1, &s2);
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 2; ++row)
            replica.RandomizeCellVariants(col, row, &r1, &r2, 0);
    EXPECT_EQ(0, memcmp(map.data, replica.data, map.size));
    EXPECT_EQ(r1, s1);
}

namespace
{

// Mixing tables with a spare row before and after the 50 mixes; the spare rows hold colour
// 9 at 100 %, so a read outside the table shows as colour 9 in the map.
struct MixTables
{
    int allowed[256];
    int rows[52][256];
    const int (*percent)[256];

    MixTables()
    {
        memset(allowed, 0, sizeof(allowed));
        memset(rows, 0, sizeof(rows));
        rows[0][9] = rows[51][9] = 100;
        allowed[9] = 0;
        percent = rows + 1;
    }
    void Share(int mix, int colour, int value) { rows[mix + 1][colour] = value; }
};

// Mix fill of the region of colour 5 clicked at cell (col, row).
void MixAt(CRasterImage& map, int cols, int rows, int col, int row, int colourCount,
           int mixCount, int direction, const MixTables& t, int tileColourCount = 256)
{
    Plane plane;
    ASSERT_TRUE(PrepareRegionPlane(&plane, &map, cols, rows));
    ASSERT_TRUE(TagRegionInPlane(&plane, cols, rows, 4 * col, 4 * row));
    int s1 = 4242, s2 = 2424;
    map.FillRegionWithMix(&plane, cols, rows, colourCount, mixCount, direction,
                          tileColourCount, t.allowed, t.percent, 0, &s1, &s2);
}

} // namespace

TEST(RegionMix, OneMixOverARegionOneCellWide)
{
    // Column 1 of colour 5 is the region; tile colours 2 and 7 allowed, mix 0 all colour 2.
    CellMap map(3, 4);
    FillMap(map, 3, 4, 9);
    for (int row = 0; row < 4; ++row)
        WriteCell(map, 1, row, 0, 0, 5, 5, 5, 5);
    MixTables t;
    t.allowed[2] = t.allowed[7] = 1;
    t.Share(0, 2, 100);
    MixAt(map, 3, 4, 1, 0, 20, 1, 1, t);
    for (int row = 0; row < 4; ++row)
    {
        const Cell c = ReadCell(map, 1, row);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(20, c.colour[p]) << row;
        EXPECT_EQ(9, ReadCell(map, 0, row).colour[0]);
    }
}

TEST(RegionMix, GradientBandsInBothDirections)
{
    // Mix 0 is tile colour 2 (image colour 20), mix 1 tile colour 7 (image colour 21).
    MixTables t;
    t.allowed[2] = t.allowed[7] = 1;
    t.Share(0, 2, 100);
    t.Share(1, 7, 100);
    // Across (direction 1): columns 0-1 take mix 0, columns 2-3 mix 1.
    CellMap across(4, 2);
    FillMap(across, 4, 2, 5);
    MixAt(across, 4, 2, 0, 0, 20, 2, 1, t);
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(col < 2 ? 20 : 21, ReadCell(across, col, 1).colour[2]) << col;
    // Down (direction 0): the last mix at the top, rows 0-1 mix 1, rows 2-3 mix 0.
    CellMap down(2, 4);
    FillMap(down, 2, 4, 5);
    MixAt(down, 2, 4, 0, 0, 20, 2, 0, t);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(row < 2 ? 21 : 20, ReadCell(down, 1, row).colour[0]) << row;
}

// Mix counts of 0 or above the table, a region narrower than the mix count and one whose
// width does not divide by it never read outside the mixing tables.
TEST(RegionMix, BandIndexStaysInsideTheTables)
{
    struct Case
    {
        int cols, rows, mixCount, direction;
    } cases[] = {
        {3, 2, 0, 1}, {3, 2, -4, 0}, {3, 2, 60, 1}, {2, 3, 4, 1}, {10, 2, 4, 0},
        {2, 10, 4, 0}, {10, 1, 4, 1}, {3, 3, 50, 0}, {3, 3, 2, 7},
    };
    for (const Case& c : cases)
    {
        MixTables t;
        t.allowed[3] = 1;
        for (int m = 0; m < 50; ++m)
            t.Share(m, 3, 100);
        CellMap map(c.cols, c.rows);
        FillMap(map, c.cols, c.rows, 5);
        MixAt(map, c.cols, c.rows, 0, 0, 40, c.mixCount, c.direction, t);
        for (int col = 0; col < c.cols; ++col)
            for (int row = 0; row < c.rows; ++row)
                for (int p = 0; p < 4; ++p)
                    ASSERT_EQ(40, ReadCell(map, col, row).colour[p])
                        << c.cols << "x" << c.rows << " mixes " << c.mixCount << " dir "
                        << c.direction;
    }
}

TEST(RegionMix, SharesAreNormalisedOverTheAllowedColours)
{
    // Shares below 100 and colour 0 not allowed: every draw still lands on an allowed colour,
    // never on a placeholder.
    MixTables t;
    t.allowed[4] = t.allowed[6] = 1;
    t.Share(0, 4, 20);
    t.Share(0, 6, 10);
    CellMap map(8, 8);
    FillMap(map, 8, 8, 5);
    MixAt(map, 8, 8, 0, 0, 30, 1, 0, t);
    int seen[256] = {0};
    for (int col = 0; col < 8; ++col)
        for (int row = 0; row < 8; ++row)
            for (int p = 0; p < 4; ++p)
                ++seen[ReadCell(map, col, row).colour[p]];
    EXPECT_EQ(256, seen[30] + seen[31]);
    EXPECT_GT(seen[30], seen[31]);
    EXPECT_GT(seen[31], 0);

    // No share at all, an allowed colour beyond the tile palette's count, or an image index
    // past 255: the region keeps its colours.
    struct Case
    {
        int colour, share, tileColourCount, colourCount;
    } keeps[] = {{4, 0, 256, 30}, {200, 100, 100, 30}, {4, 100, 256, 256}};
    for (const Case& c : keeps)
    {
        MixTables u;
        u.allowed[c.colour] = 1;
        u.Share(0, c.colour, c.share);
        CellMap same(2, 2);
        FillMap(same, 2, 2, 5);
        MixAt(same, 2, 2, 0, 0, c.colourCount, 1, 0, u, c.tileColourCount);
        for (int col = 0; col < 2; ++col)
            for (int row = 0; row < 2; ++row)
                EXPECT_EQ(5, ReadCell(same, col, row).colour[1]) << c.colour;
    }
}

TEST(RegionMix, SplitCellsMixOnlyTheirTaggedParts)
{
    MixTables t;
    t.allowed[1] = 1;
    t.Share(0, 1, 100);
    CellMap map(2, 1);
    WriteCell(map, 0, 0, 0, 0, 5, 5, 5, 5);
    WriteCell(map, 1, 0, 0, CellHalvesBytes, 8, 5, 8, 5);  // B (left half) joins the region
    MixAt(map, 2, 1, 0, 0, 50, 1, 0, t);
    const Cell split = ReadCell(map, 1, 0);
    EXPECT_EQ(8, split.colour[0]);
    EXPECT_EQ(50, split.colour[1]);
    EXPECT_EQ(50, ReadCell(map, 0, 0).colour[3]);
    // Quarters A and D joined through a neighbour both take draws; B and C keep theirs.
    CellMap quarters(3, 3);
    FillMap(quarters, 3, 3, 5);
    WriteCell(quarters, 1, 1, 0, CellQuarters, 5, 8, 6, 5);
    MixAt(quarters, 3, 3, 0, 0, 50, 1, 0, t);
    const Cell q = ReadCell(quarters, 1, 1);
    const int expected[4] = {50, 8, 6, 50};
    EXPECT_EQ(0, memcmp(expected, q.colour, sizeof(expected)));
    // A hole of kind 0 in the region keeps its colours.
    CellMap hole(2, 1);
    FillMap(hole, 2, 1, 5);
    WriteCell(hole, 1, 0, ShapeHole, 0, 5, 5, 5, 5);
    MixAt(hole, 2, 1, 0, 0, 50, 1, 0, t);
    EXPECT_EQ(5, ReadCell(hole, 1, 0).colour[0]);
    EXPECT_EQ(50, ReadCell(hole, 0, 0).colour[0]);
}

TEST(CellStamp, MaskOnesBecomeWholeTilesInsideTheMap)
{
    CellMap map(4, 3);
    FillMap(map, 4, 3, 2);
    WriteCell(map, 1, 1, ShapeHole, CellQuarters, 1, 2, 3, 4);
    map.SetCell(2, 2, 0, 0, 2, 2, 2, 2, 5, 5, 5, 5);
    Plane mask;
    mask.Create(0, 4, 3);
    mask.FillBytes(1);
    mask.SetByte(1, 0, 0);
    // From column 1, row 1: the mask's last column lies beyond the map and ends each row,
    // its last row lies below the map.
    mask.StampMask(&map, 7, 1, 1);
    // From column -2, row -2: only the last mask row, and its last two columns, land.
    mask.StampMask(&map, 6, -2, -2);
    const int expected[3][4] = {{6, 6, 2, 2}, {2, 7, 2, 7}, {2, 7, 7, 7}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(expected[row][col], ReadCell(map, col, row).colour[3])
                << col << "," << row;
    const Cell stamped = ReadCell(map, 1, 1);
    EXPECT_EQ(0, stamped.shape);
    EXPECT_EQ(0, stamped.kind);
    EXPECT_EQ(0, ReadCell(map, 2, 2).variant[0]);
}

TEST(CellRuns, RunsEndAtHolesAndAtTheMapsEdges)
{
    CellMap map(6, 5);
    WriteCell(map, 2, 1, ShapeHole, 0, 0, 0, 0, 0);
    WriteCell(map, 4, 3, ShapeHole, 0, 0, 0, 0, 0);
    WriteCell(map, 3, 1, 3, CellHalvesRows, 0, 0, 0, 0);  // a cut tile is no hole
    EXPECT_EQ(6, map.CountRunInRow(3, 0));
    EXPECT_EQ(2, map.CountRunInRow(0, 1));
    EXPECT_EQ(3, map.CountRunInRow(5, 1));
    EXPECT_EQ(0, map.CountRunInRow(2, 1));
    EXPECT_EQ(5, map.CountRunInColumn(0, 4));
    EXPECT_EQ(3, map.CountRunInColumn(4, 0));
    EXPECT_EQ(1, map.CountRunInColumn(4, 4));
    EXPECT_EQ(0, map.CountRunInColumn(4, 3));
    for (const POINT& p : {POINT{-1, 0}, POINT{6, 0}, POINT{0, 5}, POINT{0, -1}})
    {
        EXPECT_EQ(0, map.CountRunInRow(p.x, p.y));
        EXPECT_EQ(0, map.CountRunInColumn(p.x, p.y));
    }
}

TEST(CellColours, ReplaceTurnsEveryPartOfOneColourAndDrawsVariants)
{
    CellMap map(2, 2), replica(2, 2);
    for (CRasterImage* m : {(CRasterImage*)&map, (CRasterImage*)&replica})
    {
        WriteCell(*m, 0, 0, 0, 0, 3, 3, 3, 3);
        WriteCell(*m, 1, 0, 0, CellQuarters, 1, 3, 2, 3);
        WriteCell(*m, 0, 1, ShapeHole, 0, 3, 3, 3, 3);
        WriteCell(*m, 1, 1, 0, 0, 4, 4, 4, 4);
    }
    int s1 = 5, s2 = 6, r1 = 5, r2 = 6;
    map.ReplaceCellColour(3, 8, PaletteKind25Shades, &s1, &s2);
    for (int col = 0; col < 2; ++col)
        for (int row = 0; row < 2; ++row)
            replica.RandomizeCellVariants(col, row, &r1, &r2, PaletteKind25Shades);
    const int expected[4][4] = {{8, 8, 8, 8}, {8, 8, 8, 8}, {1, 8, 2, 8}, {4, 4, 4, 4}};
    for (int i = 0; i < 4; ++i)
    {
        const Cell got = ReadCell(map, i / 2, i % 2);
        const Cell variants = ReadCell(replica, i / 2, i % 2);
        EXPECT_EQ(0, memcmp(expected[i], got.colour, sizeof(got.colour))) << i;
        EXPECT_EQ(0, memcmp(variants.variant, got.variant, sizeof(got.variant))) << i;
    }
}

// Sizes that disagree with the map, planes smaller than the map, no plane and no buffer:
// nothing is written outside and every call returns.
TEST(RegionTools, MismatchedSizesStayInside)
{
    CellMap map(3, 2);
    FillMap(map, 3, 2, 5);
    CellMap copy(3, 2);
    map.CopyBlock(&copy, map.width, map.height);
    Plane tiny;
    tiny.Create(0, 5, 6);
    tiny.FillBytes(RegionTag);
    int s1 = 1, s2 = 2;
    MixTables t;
    t.allowed[0] = 1;
    t.Share(0, 0, 100);
    for (int cols : {0, 3, 1000})
    {
        for (int rows : {-1, 2, 1000})
        {
            CRasterImage::SetBorderCodes(&map, PavingDiamonds, cols, rows, -1, -1);
            map.ClearBorderCodes(PavingDiamonds, cols, rows, -1, -1);
            map.ToggleCellsInRegion(&tiny, cols, rows);
            map.ToggleCellsInRegion(&tiny, cols, rows);
            map.FillRegionWithMix(&tiny, cols, rows, 5, 1, 0, 256, t.allowed, t.percent, 0,
                                  &s1, &s2);
            map.FillRegionWithColour(&tiny, cols, rows, 0, &s1, &s2);
            map.FillRegionWithColour(nullptr, cols, rows, 0, &s1, &s2);
            EXPECT_FALSE(PaintRegionInPlane(&tiny, cols, rows, 9, 9, 1));
            EXPECT_FALSE(TagRegionInPlane(&tiny, cols, rows, -1, 0));
        }
    }
    // Only the cell whose block lies wholly in the small plane read its colour from it.
    EXPECT_EQ(RegionTag, ReadCell(map, 0, 0).colour[0]);
    EXPECT_EQ(0, ReadCell(map, 0, 0).shape);
    EXPECT_EQ(5, ReadCell(map, 1, 0).colour[0]);
    EXPECT_EQ(5, ReadCell(map, 2, 1).colour[0]);
    Plane none;
    EXPECT_FALSE(PrepareRegionPlane(&none, &none, 3, 2));
    EXPECT_FALSE(PrepareRegionPlane(&none, &map, 0, 2));
    none.StampMask(&map, 1, 0, 0);
    map.StampMask(&none, 1, 0, 0);
    EXPECT_EQ(0, none.CountRunInRow(0, 0));
    none.ReplaceCellColour(1, 2, 0, &s1, &s2);
    CRasterImage::SetBorderCodes(&none, PavingDiamonds, 3, 2, -1, -1);
    CRasterImage::SetBorderCodes(nullptr, PavingDiamonds, 3, 2, -1, -1);
}
