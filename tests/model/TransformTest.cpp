#include "MosaicTest.h"

#include <string.h>

#include <array>
#include <utility>
#include <vector>

#include "RasterImage.h"

namespace
{

typedef std::array<int, 10> Fields; // shape, kind, colours A-D, variants A-D

// A cleared cell map of cols x rows cells.
struct Map
{
    CRasterImage image;
    int cols;
    int rows;

    Map(int c, int r) : cols(c), rows(r)
    {
        image.Create(0, 4 * c, 4 * r);
        image.FillBytes(0);
    }
    ~Map() { image.Free(); }

    BYTE* Block(int col, int row) { return image.data + col * 4 + row * 4 * image.width; }

    // Every byte of the block, spare bytes included, takes the value.
    void FillBlock(int col, int row, BYTE value)
    {
        for (int y = 0; y < 4; ++y)
            memset(Block(col, row) + y * image.width, value, 4);
    }
    bool BlockIs(int col, int row, BYTE value)
    {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if (Block(col, row)[x + y * image.width] != value)
                    return false;
        return true;
    }

    void Set(int col, int row, const Fields& f)
    {
        image.SetCell(col, row, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    }
    void SetWhole(int col, int row, int colour)
    {
        Set(col, row, {0, 0, colour, colour, colour, colour, 0, 0, 0, 0});
    }
    Fields Get(int col, int row) const
    {
        Fields f;
        f.fill(-1);
        image.GetCell(col, row, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
        return f;
    }
    int ColourA(int col, int row) const { return Get(col, row)[2]; }

    // Colours A of every cell, row 0 first.
    std::vector<int> Colours() const
    {
        std::vector<int> colours;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                colours.push_back(ColourA(c, r));
        return colours;
    }
    void SetColours(const std::vector<int>& colours)
    {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                SetWhole(c, r, colours[r * cols + c]);
    }
};

// ---- Row and column shifts ----

enum ShiftOp
{
    InsertCols,
    DeleteCols,
    InsertRowsOp,
    DeleteRowsOp
};

struct ShiftCase
{
    ShiftOp op;
    int n;
    int cols;
    int rows;
    std::vector<int> before; // block values, row 0 first
    std::vector<int> after;
};

TEST(TransformShifts, BlocksMoveWholeAndVacatedBlocksAreZero)
{
    const ShiftCase cases[] = {
        {InsertCols, 4, 2, 1, {1, 2}, {0, 1}},
        {InsertCols, 8, 3, 1, {1, 2, 3}, {0, 0, 1}},
        {InsertCols, 4, 2, 2, {1, 2, 3, 4}, {0, 1, 0, 3}},
        {DeleteCols, 4, 3, 1, {1, 2, 3}, {2, 3, 0}},
        {DeleteCols, 4, 3, 2, {1, 2, 3, 4, 5, 6}, {2, 3, 0, 5, 6, 0}},
        {InsertRowsOp, 4, 1, 3, {1, 2, 3}, {0, 1, 2}},
        {InsertRowsOp, 4, 2, 2, {1, 2, 3, 4}, {0, 0, 1, 2}},
        {DeleteRowsOp, 4, 2, 2, {1, 2, 3, 4}, {3, 4, 0, 0}},
        {DeleteRowsOp, 8, 1, 3, {1, 2, 3}, {3, 0, 0}},
        // Shifts past the whole map clear it; no shift leaves it alone.
        {InsertCols, 100, 2, 1, {1, 2}, {0, 0}},
        {DeleteCols, 9999, 2, 1, {1, 2}, {0, 0}},
        {InsertRowsOp, 100, 1, 2, {1, 2}, {0, 0}},
        {DeleteRowsOp, 100, 2, 2, {1, 2, 3, 4}, {0, 0, 0, 0}},
        {InsertCols, 0, 2, 1, {1, 2}, {1, 2}},
        {DeleteRowsOp, -4, 1, 2, {1, 2}, {1, 2}},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
    {
        const ShiftCase& c = cases[k];
        Map map(c.cols, c.rows);
        for (int i = 0; i < c.cols * c.rows; ++i)
            map.FillBlock(i % c.cols, i / c.cols, (BYTE)c.before[i]);
        switch (c.op)
        {
        case InsertCols:
            map.image.InsertColumns(c.n);
            break;
        case DeleteCols:
            map.image.DeleteColumns(c.n);
            break;
        case InsertRowsOp:
            map.image.InsertRows(c.n);
            break;
        case DeleteRowsOp:
            map.image.DeleteRows(c.n);
            break;
        }
        for (int i = 0; i < c.cols * c.rows; ++i)
            EXPECT_TRUE(map.BlockIs(i % c.cols, i / c.cols, (BYTE)c.after[i]))
                << "case " << k << ", cell " << i << " should be " << c.after[i];
    }
}

TEST(TransformShifts, ColumnShiftCountsBytes)
{
    Map map(2, 1);
    map.FillBlock(0, 0, 1);
    map.FillBlock(1, 0, 2);
    map.image.InsertColumns(2);
    const BYTE expected[8] = {0, 0, 1, 1, 1, 1, 2, 2};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(0, memcmp(expected, map.image.data + y * 8, 8)) << "row " << y;
}

TEST(TransformShifts, ImageWithoutBufferIsLeftAlone)
{
    CRasterImage empty;
    empty.InsertColumns(4);
    empty.InsertRows(4);
    empty.DeleteColumns(4);
    empty.DeleteRows(4);
    EXPECT_TRUE(empty.data == NULL);
}

// ---- Copies of a rectangle ----

struct CopyCase
{
    int mode;
    RECT source; // {left, top, right, bottom} in cells
    RECT target;
    std::vector<int> expected; // colours A of the 3 x 3 destination
};

TEST(TransformCopy, PlainAndMirroredBlocksClippedToTheMaps)
{
    // Source cell (c, r) has colour 1 + c + 3 r; the destination starts as colour 99.
    const CopyCase cases[] = {
        {0, {0, 0, 2, 2}, {1, 1, 3, 3}, {99, 99, 99, 99, 1, 2, 99, 4, 5}},
        // source over the top-left border: only source cell (0, 0) exists
        {0, {-1, -1, 1, 1}, {0, 0, 2, 2}, {99, 99, 99, 99, 1, 99, 99, 99, 99}},
        // target over the bottom-right border: only target cell (2, 2) exists
        {0, {1, 1, 3, 3}, {2, 2, 4, 4}, {99, 99, 99, 99, 99, 99, 99, 99, 5}},
        {1, {0, 0, 3, 1}, {0, 0, 3, 1}, {3, 2, 1, 99, 99, 99, 99, 99, 99}},
        // mirrored into a target that sticks out on the right: column 3 does not exist
        {1, {0, 0, 3, 1}, {1, 1, 4, 2}, {99, 99, 99, 99, 3, 2, 99, 99, 99}},
        {2, {0, 0, 1, 3}, {2, 0, 3, 3}, {99, 99, 7, 99, 99, 4, 99, 99, 1}},
        {2, {0, 0, 3, 3}, {0, 0, 3, 3}, {7, 8, 9, 4, 5, 6, 1, 2, 3}},
        // empty or inverted rectangles and unknown modes copy nothing
        {0, {2, 2, 2, 3}, {0, 0, 0, 1}, {99, 99, 99, 99, 99, 99, 99, 99, 99}},
        {0, {2, 2, 0, 0}, {0, 0, 2, 2}, {99, 99, 99, 99, 99, 99, 99, 99, 99}},
        {3, {0, 0, 3, 3}, {0, 0, 3, 3}, {99, 99, 99, 99, 99, 99, 99, 99, 99}},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
    {
        const CopyCase& c = cases[k];
        Map source(3, 3), dest(3, 3);
        source.SetColours({1, 2, 3, 4, 5, 6, 7, 8, 9});
        dest.SetColours(std::vector<int>(9, 99));
        source.image.CopyCellsRect(&dest.image, c.source, c.target, c.mode);
        EXPECT_EQ(c.expected, dest.Colours()) << "case " << k;
    }
}

TEST(TransformCopy, EachMapKeepsItsOwnBounds)
{
    Map source(3, 3), narrow(2, 2), wide(4, 4);
    source.SetColours({1, 2, 3, 4, 5, 6, 7, 8, 9});
    narrow.SetColours(std::vector<int>(4, 99));
    wide.SetColours(std::vector<int>(16, 99));
    const RECT all = {0, 0, 3, 3};
    source.image.CopyCellsRect(&narrow.image, all, all, 0);
    EXPECT_EQ(std::vector<int>({1, 2, 4, 5}), narrow.Colours());
    const RECT target = {1, 1, 4, 4};
    source.image.CopyCellsRect(&wide.image, all, target, 0);
    EXPECT_EQ(std::vector<int>({99, 99, 99, 99, 99, 1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9}),
              wide.Colours());
}

TEST(TransformCopy, MirrorWithinOneMapReadsTheOriginalCells)
{
    Map map(3, 1);
    map.SetColours({1, 2, 3});
    const RECT row = {0, 0, 3, 1};
    map.image.CopyCellsRect(&map.image, row, row, 1);
    EXPECT_EQ(std::vector<int>({3, 2, 1}), map.Colours());
}

TEST(TransformCopy, PlainCopyKeepsAllTenFields)
{
    Map source(1, 1), dest(1, 1);
    const Fields cell = {9, 5, 1, 2, 3, 4, 50, 60, 70, 80};
    source.Set(0, 0, cell);
    const RECT one = {0, 0, 1, 1};
    source.image.CopyCellsRect(&dest.image, one, one, 0);
    EXPECT_EQ(cell, dest.Get(0, 0));
}

struct MirrorCase
{
    int mode;
    int kind;
    int shape;
    int newKind;
    int newShape;
    int colours[4]; // new colours A-D; the source cell has 1, 2, 3, 4
};

// The parts each shape code lays, as the renderer draws them: kind 1 A alone 2, B alone 1;
// kind 2 A alone 4, B alone 3; four-part codes 5 A, 6 B, 7 C, 8 D, 9 BCD, 10 ACD, 11 ABD,
// 12 ABC, 1 AB, 2 CD, 3 AC, 4 BD.
const MirrorCase kMirrorCases[] = {
    // left to right: kinds 1 and 2 trade places and their parts
    {1, 1, 0, 2, 0, {2, 1, 3, 4}},
    {1, 1, 2, 2, 3, {2, 1, 3, 4}}, // A alone becomes B alone of kind 2, in the same colour
    {1, 1, 1, 2, 4, {2, 1, 3, 4}},
    {1, 2, 3, 1, 2, {2, 1, 3, 4}},
    {1, 2, 4, 1, 1, {2, 1, 3, 4}},
    {1, 1, 16, 2, 16, {2, 1, 3, 4}},
    {1, 3, 3, 3, 3, {1, 2, 3, 4}},
    {1, 4, 1, 4, 2, {2, 1, 3, 4}},
    {1, 5, 9, 5, 11, {3, 4, 1, 2}},
    {1, 5, 5, 5, 7, {3, 4, 1, 2}},
    {1, 5, 3, 5, 3, {3, 4, 1, 2}},
    {1, 6, 5, 6, 8, {4, 2, 3, 1}},
    {1, 6, 2, 6, 3, {4, 2, 3, 1}},
    {1, 6, 10, 6, 10, {4, 2, 3, 1}},
    {1, 0, 0, 0, 0, {1, 2, 3, 4}},
    // top to bottom
    {2, 1, 0, 2, 0, {1, 2, 3, 4}},
    {2, 1, 2, 2, 4, {1, 2, 3, 4}},
    {2, 1, 1, 2, 3, {1, 2, 3, 4}},
    {2, 2, 4, 1, 2, {1, 2, 3, 4}},
    {2, 2, 3, 1, 1, {1, 2, 3, 4}},
    {2, 3, 3, 3, 4, {2, 1, 3, 4}},
    {2, 4, 1, 4, 1, {1, 2, 3, 4}},
    {2, 5, 9, 5, 10, {2, 1, 4, 3}},
    {2, 5, 1, 5, 1, {2, 1, 4, 3}},
    {2, 6, 1, 6, 3, {1, 3, 2, 4}},
    {2, 6, 9, 6, 9, {1, 3, 2, 4}},
    {2, 6, 16, 6, 16, {1, 3, 2, 4}},
};

TEST(TransformCopy, MirroredCellsKeepTheirLaidParts)
{
    for (const MirrorCase& c : kMirrorCases)
    {
        Map source(1, 1), dest(1, 1);
        source.Set(0, 0, {c.shape, c.kind, 1, 2, 3, 4, 5, 6, 7, 8});
        const RECT one = {0, 0, 1, 1};
        source.image.CopyCellsRect(&dest.image, one, one, c.mode);
        const Fields expected = {c.newShape, c.newKind, c.colours[0], c.colours[1],
                                 c.colours[2], c.colours[3], 5, 6, 7, 8};
        EXPECT_EQ(expected, dest.Get(0, 0))
            << "mode " << c.mode << ", kind " << c.kind << ", code " << c.shape;
    }
}

TEST(TransformCopy, MirroringTwiceRestoresEveryCell)
{
    const RECT one = {0, 0, 1, 1};
    for (int mode = 1; mode <= 2; ++mode)
    {
        for (int kind = 0; kind <= 6; ++kind)
        {
            for (int shape = 0; shape <= 16; ++shape)
            {
                Map a(1, 1), b(1, 1), c(1, 1);
                const Fields cell = {shape, kind, 1, 2, 3, 4, 5, 6, 7, 8};
                a.Set(0, 0, cell);
                a.image.CopyCellsRect(&b.image, one, one, mode);
                b.image.CopyCellsRect(&c.image, one, one, mode);
                EXPECT_EQ(cell, c.Get(0, 0))
                    << "mode " << mode << ", kind " << kind << ", code " << shape;
            }
        }
    }
}

// ---- Resampling ----

struct ResampleCase
{
    int srcCols;
    int srcRows;
    std::vector<int> source;
    int cols;
    int rows;
    double factor;
    int mode;
    std::vector<int> expected;
};

TEST(TransformResample, NearestSourceCellUpAndDown)
{
    const ResampleCase cases[] = {
        // shrink: target x reads RoundHalfAway(2 x + 0.5): 0 -> 0, 1 -> 2
        {4, 1, {10, 11, 12, 13}, 2, 1, 2.0, 1, {10, 12}},
        {4, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 2, 2, 2.0, 1,
         {1, 3, 9, 11}},
        // enlarge: x / 2 + 0.5 gives 0.5, 1, 1.5, 2 -> 0, 1, 1, 2 clamped to 1
        {2, 1, {10, 11}, 4, 1, 2.0, 2, {10, 11, 11, 11}},
        {1, 2, {10, 11}, 1, 4, 2.0, 2, {10, 11, 11, 11}},
        {2, 1, {10, 11}, 3, 1, 1.0, 1, {10, 11, 11}},
        // factors that are no scale still read cells inside the source
        {3, 1, {10, 11, 12}, 3, 1, 0.0, 2, {10, 12, 12}},
        {3, 1, {10, 11, 12}, 3, 1, -1.0, 1, {10, 10, 10}},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
    {
        const ResampleCase& c = cases[k];
        Map source(c.srcCols, c.srcRows), target(c.cols, c.rows);
        source.SetColours(c.source);
        target.image.ResampleCells(&source.image, c.cols, c.rows, c.factor, c.mode);
        EXPECT_EQ(c.expected, target.Colours()) << "case " << k;
    }
}

TEST(TransformResample, TargetCellsBecomeWholeTilesOfColourA)
{
    Map source(1, 1), target(2, 1);
    source.Set(0, 0, {9, 5, 10, 20, 30, 40, 1, 2, 3, 4});
    // Counts larger than the target map write only its own cells.
    target.image.ResampleCells(&source.image, 50, 50, 1.0, 1);
    const Fields whole = {0, 0, 10, 10, 10, 10, 0, 0, 0, 0};
    EXPECT_EQ(whole, target.Get(0, 0));
    EXPECT_EQ(whole, target.Get(1, 0));
}

TEST(TransformResample, InPlaceReadsTheOriginalMap)
{
    Map map(4, 1);
    map.SetColours({10, 11, 12, 13});
    map.image.ResampleCells(&map.image, 4, 1, 2.0, 2);
    EXPECT_EQ(std::vector<int>({10, 11, 11, 12}), map.Colours());
}

// ---- Majority filter ----

TEST(TransformFilter, WindowOfOneMakesWholeTilesOfColourA)
{
    Map source(3, 1), dest(3, 1);
    source.Set(0, 0, {0, 5, 1, 2, 3, 4, 9, 9, 9, 9});
    source.Set(1, 0, {16, 0, 7, 7, 7, 7, 1, 1, 1, 1});
    source.Set(2, 0, {2, 1, 8, 3, 8, 3, 0, 0, 0, 0}); // a cut half-tile
    source.image.MajorityFilterCells(&dest.image, 1, 3, 1);
    EXPECT_EQ(Fields({0, 0, 1, 1, 1, 1, 0, 0, 0, 0}), dest.Get(0, 0));
    EXPECT_EQ(Fields({16, 0, 7, 7, 7, 7, 0, 0, 0, 0}), dest.Get(1, 0));
    // The result is a whole tile, which a partial shape code would hide.
    EXPECT_EQ(Fields({0, 0, 8, 8, 8, 8, 0, 0, 0, 0}), dest.Get(2, 0));
}

struct FilterCase
{
    int cols;
    int rows;
    int size;
    std::vector<int> colours;
    std::vector<int> expected;
};

TEST(TransformFilter, MajorityWithTiesToTheFirstSeen)
{
    const FilterCase cases[] = {
        // cell 0 sees 1 and 2 once each: the first seen wins
        {3, 1, 3, {1, 2, 2}, {1, 2, 2}},
        {4, 1, 3, {1, 2, 1, 2}, {1, 1, 2, 1}},
        // 2 x 3 map: the windows of the middle row, walked by columns, meet 9, 2, 3, 3, 2, 4,
        // so 2 and 3 tie and 2 comes first (walked by rows, 3 would)
        {2, 3, 3, {9, 3, 2, 2, 3, 4}, {2, 2, 2, 2, 2, 2}},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
    {
        const FilterCase& c = cases[k];
        Map source(c.cols, c.rows), dest(c.cols, c.rows);
        source.SetColours(c.colours);
        source.image.MajorityFilterCells(&dest.image, c.size, c.cols, c.rows);
        EXPECT_EQ(c.expected, dest.Colours()) << "case " << k;
    }
}

TEST(TransformFilter, OnlyEightColoursAreCounted)
{
    // Centre of a 5 x 5 map with a window of 5: the first eight cells walked (column 0, then
    // rows 0-2 of column 1) hold colours 1 to 8, the other seventeen colour 99, which is the
    // ninth colour seen and is not counted.
    Map source(5, 5), dest(5, 5);
    source.SetColours(std::vector<int>(25, 99));
    for (int r = 0; r < 5; ++r)
        source.SetWhole(0, r, 1 + r);
    for (int r = 0; r < 3; ++r)
        source.SetWhole(1, r, 6 + r);
    source.image.MajorityFilterCells(&dest.image, 5, 5, 5);
    EXPECT_EQ(1, dest.ColourA(2, 2));
}

TEST(TransformFilter, InPlaceFiltersTheOriginalColours)
{
    Map map(4, 1);
    map.SetColours({1, 2, 1, 2});
    map.image.MajorityFilterCells(&map.image, 3, 4, 1);
    EXPECT_EQ(std::vector<int>({1, 1, 2, 1}), map.Colours());
}

// ---- Triangles ----

const int kRed = 10, kBlue = 20, kGreen = 30;

// A 3 x 3 map around a green centre, with given neighbours above, below, left and right.
void SetCross(Map& map, const Fields& above, const Fields& below, const Fields& left,
              const Fields& right)
{
    map.SetColours(std::vector<int>(9, 77));
    map.Set(1, 1, {0, 0, kGreen, kGreen, kGreen, kGreen, 1, 2, 3, 4});
    map.Set(1, 0, above);
    map.Set(1, 2, below);
    map.Set(0, 1, left);
    map.Set(2, 1, right);
}

Fields Whole(int colour)
{
    return {0, 0, colour, colour, colour, colour, 0, 0, 0, 0};
}

Fields Split(int kind, int a, int b)
{
    return {0, kind, a, b, a, b, 0, 0, 0, 0};
}

struct TriangleCase
{
    Fields above;
    Fields below;
    Fields left;
    Fields right;
    Fields centre;
};

TEST(TransformTriangles, InnerCellsSplitWhereNeighboursAgree)
{
    const Fields unchanged = {0, 0, kGreen, kGreen, kGreen, kGreen, 1, 2, 3, 4};
    const TriangleCase cases[] = {
        // red above and left, blue below and right
        {Whole(kRed), Whole(kBlue), Whole(kRed), Whole(kBlue),
         {0, 1, kBlue, kRed, kGreen, kGreen, 1, 2, 3, 4}},
        // red above and right, blue below and left
        {Whole(kRed), Whole(kBlue), Whole(kBlue), Whole(kRed),
         {0, 2, kRed, kBlue, kGreen, kGreen, 1, 2, 3, 4}},
        // split neighbours show the part that faces the cell
        {Split(2, 77, kRed), Split(1, 77, kBlue), Split(1, kRed, 77), Split(1, 77, kBlue),
         {0, 1, kBlue, kRed, kGreen, kGreen, 1, 2, 3, 4}},
        {Split(1, kRed, 77), Split(2, kBlue, 77), Split(2, kRed, 77), Split(2, 77, kBlue),
         {0, 1, kBlue, kRed, kGreen, kGreen, 1, 2, 3, 4}},
        // all four alike, or no pair alike: nothing
        {Whole(kRed), Whole(kRed), Whole(kRed), Whole(kRed), unchanged},
        {Whole(kRed), Whole(kBlue), Whole(kGreen), Whole(77), unchanged},
        // a neighbour split into halves or quarters stops the cell
        {Whole(kRed), Whole(kBlue), Whole(kRed), Split(3, kBlue, kBlue), unchanged},
        {Split(5, kRed, kRed), Whole(kBlue), Whole(kRed), Whole(kBlue), unchanged},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
    {
        const TriangleCase& c = cases[k];
        Map map(3, 3);
        SetCross(map, c.above, c.below, c.left, c.right);
        map.image.GenerateTriangles();
        EXPECT_EQ(c.centre, map.Get(1, 1)) << "case " << k;
        EXPECT_EQ(c.above, map.Get(1, 0)) << "case " << k;
        EXPECT_EQ(c.right, map.Get(2, 1)) << "case " << k;
    }
}

TEST(TransformTriangles, CutTilesStayAndHolesStayHoles)
{
    Map cut(3, 3);
    SetCross(cut, Whole(kRed), Whole(kBlue), Whole(kRed), Whole(kBlue));
    const Fields quarters = {9, 5, 1, 2, 3, 4, 0, 0, 0, 0};
    cut.Set(1, 1, quarters);
    cut.image.GenerateTriangles();
    EXPECT_EQ(quarters, cut.Get(1, 1));

    Map hole(3, 3);
    SetCross(hole, Whole(kRed), Whole(kBlue), Whole(kRed), Whole(kBlue));
    hole.Set(1, 1, {16, 0, kGreen, kGreen, kGreen, kGreen, 0, 0, 0, 0});
    hole.image.GenerateTriangles();
    EXPECT_EQ(Fields({16, 1, kBlue, kRed, kGreen, kGreen, 0, 0, 0, 0}), hole.Get(1, 1));
}

TEST(TransformTriangles, MapsWithoutInnerCellsAreUnchanged)
{
    for (const auto& size : {std::make_pair(2, 5), std::make_pair(5, 2), std::make_pair(1, 1)})
    {
        Map map(size.first, size.second);
        for (int i = 0; i < size.first * size.second; ++i)
            map.SetWhole(i % size.first, i / size.first, i % 2 ? kRed : kBlue);
        std::vector<BYTE> before(map.image.data, map.image.data + map.image.size);
        map.image.GenerateTriangles();
        EXPECT_EQ(0, memcmp(before.data(), map.image.data, before.size()))
            << size.first << " x " << size.second;
    }
}

TEST(TransformTriangles, LaterCellsSeeEarlierResults)
{
    // Cell (1, 1) splits first; cell (2, 1) then sees its left neighbour's part A, blue,
    // instead of the green it had, and splits too.
    Map map(4, 3);
    map.SetColours({77, kRed, kBlue, 77,
                    kRed, kGreen, kBlue, 40,
                    77, kBlue, 40, 77});
    map.image.GenerateTriangles();
    EXPECT_EQ(Fields({0, 1, kBlue, kRed, kGreen, kGreen, 0, 0, 0, 0}), map.Get(1, 1));
    EXPECT_EQ(Fields({0, 1, 40, kBlue, kBlue, kBlue, 0, 0, 0, 0}), map.Get(2, 1));
}

} // namespace
