#include "MosaicTest.h"

#include "TileMasks.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "AfxString.h"
#include "Paving.h"
#include "RasterImage.h"
#include "TileCell.h"
#include "TilePalette.h"
#include "TileRenderer.h"

namespace
{

const BYTE kBackground[3] = {255, 255, 255};
const BYTE kJoint[3] = {192, 192, 192};
const BYTE kHitMark[3] = {250, 250, 250};
const BYTE kHitKey[3] = {208, 208, 208};
const BYTE kBlack[3] = {0, 0, 0};
const BYTE kWhite[3] = {255, 255, 255};
const BYTE kScalesBackground[3] = {254, 254, 254};
const BYTE kOutside[3] = {196, 196, 196};

struct Rgb
{
    BYTE r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << (int)c.r << ", " << (int)c.g << ", " << (int)c.b << ")";
}

Rgb ToRgb(const BYTE* c)
{
    return Rgb{c[0], c[1], c[2]};
}

// A mosaic with everything the renderer reads: cell map, masks, display colours, palettes.
class RendererFixture : public ::testing::Test
{
    friend void ExpectFastDrawingAsPixelByPixel(RendererFixture& f, bool bTextured);

protected:
    CRasterImage map;
    CRasterImage picture;
    CRasterImage masks0[PavingTypeCount];
    CRasterImage masks1[PavingTypeCount];
    std::vector<CRasterImage> labels;
    std::vector<CRasterImage> textures;
    BYTE table[3 * DisplayColourCount];
    PaletteEntry colours[256];
    PaletteEntry tileColours[256];
    int labelStates[256];
    CString notes[256];
    int cols = 0;
    int rows = 0;
    int n = 0;
    int type = 0;
    int showJoints = 1;
    int displayMode = 0;
    int texturesOn = 0;
    int paletteKind = 0;

    RendererFixture() : labels(C2Palette::TileImageCount), textures(256 * 4)
    {
        memset(table, 0, sizeof(table));
        SetEntry(ColourBackground, kBackground);
        SetEntry(ColourJoint, kJoint);
        SetEntry(ColourHitMark, kHitMark);
        SetEntry(ColourHitKey, kHitKey);
        SetEntry(ColourLabelBlack, kBlack);
        SetEntry(ColourLabelWhite, kWhite);
        SetEntry(ColourScalesBackground, kScalesBackground);
        SetEntry(ColourOutside, kOutside);
        for (int i = 0; i < 256; ++i)
        {
            // Distinct colours, none equal to a display colour.
            colours[i].peRed = (BYTE)(10 + (i * 37) % 160);
            colours[i].peGreen = (BYTE)(20 + (i * 11) % 150);
            colours[i].peBlue = (BYTE)(i);
            colours[i].peFlags = 0;
            tileColours[i] = colours[i];
            labelStates[i] = -4;
        }
    }

    ~RendererFixture() override
    {
        map.Free();
        picture.Free();
        for (int i = 0; i < PavingTypeCount; ++i)
        {
            masks0[i].Free();
            masks1[i].Free();
        }
        for (CRasterImage& image : labels)
            image.Free();
        for (CRasterImage& image : textures)
            image.Free();
    }

    void SetEntry(int entry, const BYTE* colour)
    {
        memcpy(table + 3 * entry, colour, 3);
    }

    // A cols x rows map of whole tiles, tile (c, r) in colour c + cols x r.
    void MakeMap(int newType, int newN, int newCols, int newRows)
    {
        type = newType;
        n = newN;
        cols = newCols;
        rows = newRows;
        map.Free();
        map.Create(0, 4 * cols, 4 * rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                SetWhole(c, r, (c + cols * r) % 256);
        for (int t = 0; t < PavingTypeCount; ++t)
        {
            masks0[t].Free();
            masks1[t].Free();
        }
        BuildMasks(type, n, masks0, masks1);
    }

    void SetWhole(int c, int r, int colour)
    {
        map.SetCell(c, r, 0, 0, colour, colour, colour, colour, 0, 0, 0, 0);
    }

    void Render(int width, int height, int firstColumn = 0, int firstRow = 0)
    {
        picture.Free();
        picture.Create(1, width, height);
        RenderInto(picture, firstColumn, firstRow);
    }

    void RenderInto(CRasterImage& target, int firstColumn = 0, int firstRow = 0)
    {
        int ignored[5] = {-1, -1, -1, -1, -1};
        RenderMosaic(&target, displayMode, &map, n, showJoints, cols, rows, firstColumn,
                     firstRow, type, labels.data(), masks0, masks1, 0, 0, &ignored[0],
                     &ignored[1], &ignored[2], &ignored[3], &ignored[4], labelStates, 0,
                     texturesOn, textures.data(), table, colours, tileColours, paletteKind,
                     notes);
    }

    // Hit test through the renderer at a given point; results stay -1 when nothing is hit.
    MosaicHit HitAt(int x, int y, int cutMode = 0)
    {
        MosaicHit hit = {-1, -1, -1, -1, -1};
        POINT point = {x, y};
        RenderMosaic(&picture, 0, &map, n, showJoints, cols, rows, 0, 0, type, labels.data(),
                     masks0, masks1, 1, cutMode, &hit.column, &hit.row, &hit.left, &hit.top,
                     &hit.part, labelStates, 0, 0, NULL, table, colours, tileColours, 0, notes,
                     &point);
        return hit;
    }

    Rgb Pixel(int x, int y) const
    {
        return ToRgb(picture.data + 3 * ((size_t)y * picture.width + x));
    }

    Rgb Colour(int index) const
    {
        return Rgb{colours[index].peRed, colours[index].peGreen, colours[index].peBlue};
    }

    // Picture position of the tile-local point (x from the left, y from the bottom) of tile
    // (c, r) when the picture starts at column 0 and row 0. Rows of every pattern but squares
    // and crossed joints start half a tile above the picture; odd rows (counted from the last)
    // are shifted left by half a tile except for squares. Even tile sizes only, where the
    // paving conversions give the same row starts as the renderer's bands.
    POINT At(int c, int r, int x, int y) const
    {
        const int h = n / 2;
        const bool wholeFirstBand = type == PavingSquares || type == PavingTriangles ||
                                    type == PavingCrossedJoints;
        const int top = TileToPixelY(type, n, r, 0) - (wholeFirstBand ? 0 : n - h);
        const bool odd = ((rows - r - 1) & 1) != 0;
        const int left = n * c - (odd && type != PavingSquares ? h : 0);
        POINT p = {left + x, top + (n - 1 - y)};
        return p;
    }

    Rgb PixelOf(int c, int r, int x, int y) const
    {
        const POINT p = At(c, r, x, y);
        return Pixel(p.x, p.y);
    }

    // A tile-local point that the tile itself shows for the pattern (scales overlap their
    // neighbours in one half).
    void SamplePoint(int& x, int& y) const
    {
        x = n / 2;
        y = type == PavingScales1 ? n / 4 : type == PavingScales2 ? 3 * n / 4 : n / 2;
    }

    // First mask edge pixel left of the sample point on its row.
    int EdgeLeftOfSample(bool odd) const
    {
        int sx = 0, sy = 0;
        SamplePoint(sx, sy);
        const CRasterImage& mask = odd ? masks0[type] : masks1[type];
        for (int x = 0; x < sx; ++x)
            if (mask.GetByte(x, sy) == 2)
                return x;
        return -1;
    }
};

const char* const kPatternNames[PavingTypeCount] = {
    "squares", "diamonds", "circles", "triangles", "hexagons", "scales 1", "scales 2",
    "crossed joints"};

// Every pattern at two tile sizes: each tile shows its colour at its centre, the tile edge
// next to it is a joint (tile colour with joints off), and the area past the mosaic's last
// row and column is the outside colour.
TEST_F(RendererFixture, EveryPatternDrawsTilesJointsAndOutside)
{
    for (int t = 0; t < PavingTypeCount; ++t)
        for (int size : {8, 12})
            for (int joints : {1, 0})
            {
                SCOPED_TRACE(::testing::Message() << kPatternNames[t] << ", n = " << size
                                                  << ", joints " << joints);
                MakeMap(t, size, 6, 6);
                showJoints = joints;
                Render(9 * size, 9 * size);
                int sx = 0, sy = 0;
                SamplePoint(sx, sy);
                // Rows 2 and 3 have both parities; triangles pair rows 2 and 3 in one band.
                for (int r : {2, 3})
                    for (int c : {2, 3})
                        EXPECT_EQ(Colour(c + 6 * r), PixelOf(c, r, sx, sy))
                            << "tile " << c << ", " << r;
                // Row 3 is drawn last in its band for triangles, so its edge stays visible.
                const bool odd = ((rows - 3 - 1) & 1) != 0;
                const int ex = EdgeLeftOfSample(odd);
                ASSERT_GE(ex, 0);
                EXPECT_EQ(joints ? ToRgb(kJoint) : Colour(2 + 6 * 3), PixelOf(2, 3, ex, sy));
                if (t == PavingCircles)
                {
                    EXPECT_EQ(ToRgb(kJoint), PixelOf(2, 3, 0, 2)) << "between circles";
                }
                EXPECT_EQ(ToRgb(kOutside), Pixel(9 * size - 1, 9 * size - 1));
                EXPECT_EQ(ToRgb(kOutside), Pixel(9 * size - 1, size * 2 + size / 2));
            }
}

// Squares draw every pixel of the picture, the first one included.
TEST_F(RendererFixture, SquaresWriteEveryPixel)
{
    MakeMap(PavingSquares, 5, 3, 2);
    picture.Free();
    picture.Create(1, 20, 13);
    memset(picture.data, 77, 3 * (size_t)picture.size);
    RenderInto(picture);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_FALSE(Pixel(x, y) == (Rgb{77, 77, 77})) << x << ", " << y;
    EXPECT_EQ(ToRgb(kJoint), Pixel(0, 0));
    EXPECT_EQ(Colour(0), Pixel(2, 2));
    EXPECT_EQ(Colour(4), Pixel(7, 7));
    EXPECT_EQ(ToRgb(kOutside), Pixel(16, 3));
    EXPECT_EQ(ToRgb(kOutside), Pixel(3, 11));
}

// Crossed joints: odd rows (counted from the last row) are shifted by half a tile, and the
// right half of their last tile lies outside the mosaic.
TEST_F(RendererFixture, CrossedJointsStaggerRows)
{
    MakeMap(PavingCrossedJoints, 8, 4, 2);
    showJoints = 0;
    Render(40, 16);
    // Row 1 (the last, even) is unshifted: columns 0-2 drawn, column 3 outside.
    EXPECT_EQ(Colour(4), Pixel(0, 12));
    EXPECT_EQ(Colour(6), Pixel(23, 12));
    EXPECT_EQ(ToRgb(kOutside), Pixel(24, 12));
    // Row 0 is shifted: picture x 0 shows the right half of column 0, and only the left half
    // of column 3 is in the mosaic, so both rows end at the same x.
    EXPECT_EQ(Colour(0), Pixel(3, 3));
    EXPECT_EQ(Colour(1), Pixel(4, 3));
    EXPECT_EQ(Colour(3), Pixel(23, 3));
    EXPECT_EQ(ToRgb(kOutside), Pixel(24, 3));
}

// Triangles: the two rows of a pair share one band, the odd row (counted from the last)
// pointing up and shifted by half a tile, the other pointing down.
TEST_F(RendererFixture, TrianglePairsShareABand)
{
    MakeMap(PavingTriangles, 8, 6, 6);
    Render(56, 32);
    // Row 2 points up: wide at its base; row 3 points down: wide at its top.
    EXPECT_EQ(Colour(2 + 6 * 2), PixelOf(2, 2, 2, 1));
    EXPECT_EQ(Colour(3 + 6 * 2), PixelOf(3, 2, 5, 1));
    EXPECT_EQ(Colour(2 + 6 * 3), PixelOf(2, 3, 2, 6));
    EXPECT_EQ(Colour(3 + 6 * 3), PixelOf(3, 3, 5, 6));
    EXPECT_EQ(At(2, 2, 0, 7).y, At(2, 3, 0, 7).y);
}

struct SplitCase
{
    int kind;
    int shape;
    // Expected part at each sample (0-3 the part's colour, -1 background).
    int a, b, c, d;
};

// Sample points (tile-local, y from the bottom) of parts A to D of each kind at n = 8.
const int kPartSamples[7][4][2] = {
    {{4, 4}, {4, 4}, {4, 4}, {4, 4}},
    {{6, 2}, {2, 6}, {6, 2}, {2, 6}},      // kind 1: A below the rising diagonal
    {{6, 6}, {1, 2}, {6, 6}, {1, 2}},      // kind 2: A above the falling diagonal
    {{3, 6}, {3, 1}, {3, 6}, {3, 1}},      // kind 3: A top half
    {{6, 3}, {1, 3}, {6, 3}, {1, 3}},      // kind 4: A right half
    {{1, 1}, {1, 6}, {6, 1}, {6, 6}},      // kind 5: A bottom left, B top left, C bottom right
    {{6, 4}, {4, 1}, {4, 6}, {1, 4}},      // kind 6: A right, B bottom, C top, D left
};

// Split cells draw each laid part in its place and leave the others to the background.
TEST_F(RendererFixture, SplitCellsDrawTheirPartsInPlace)
{
    const SplitCase cases[] = {
        {1, 0, 0, 1, 0, 1},    {1, 2, 0, -1, 0, -1},  {1, 1, -1, 1, -1, 1},
        {2, 0, 0, 1, 0, 1},    {2, 4, 0, -1, 0, -1},  {2, 3, -1, 1, -1, 1},
        {3, 0, 0, 1, 0, 1},    {3, 4, 0, -1, 0, -1},  {3, 3, -1, 1, -1, 1},
        {4, 0, 0, 1, 0, 1},    {4, 1, 0, -1, 0, -1},  {4, 2, -1, 1, -1, 1},
        {5, 0, 0, 1, 2, 3},    {5, 9, -1, 1, 2, 3},   {5, 5, 0, -1, -1, -1},
        {5, 1, 0, 1, -1, -1},  {5, 2, -1, -1, 2, 3},  {5, 3, 0, -1, 2, -1},
        {5, 8, -1, -1, -1, 3}, {5, 12, 0, 1, 2, -1},  {6, 0, 0, 1, 2, 3},
        {6, 9, -1, 1, 2, 3},   {6, 6, -1, 1, -1, -1}, {6, 4, -1, 1, -1, 3},
        {6, 10, 0, -1, 2, 3},  {0, 0, 0, 0, 0, 0},    {0, 5, -1, -1, -1, -1},
        {0, 16, -1, -1, -1, -1},
    };
    const int count = (int)(sizeof(cases) / sizeof(cases[0]));
    MakeMap(PavingSquares, 8, count, 1);
    for (int i = 0; i < count; ++i)
        map.SetCell(i, 0, cases[i].shape, cases[i].kind, 10, 11, 12, 13, 0, 0, 0, 0);
    Render(8 * count, 8);
    for (int i = 0; i < count; ++i)
    {
        const SplitCase& k = cases[i];
        const int expected[4] = {k.a, k.b, k.c, k.d};
        for (int part = 0; part < 4; ++part)
        {
            const int* s = kPartSamples[k.kind][part];
            const Rgb want = expected[part] < 0 ? ToRgb(kBackground) : Colour(10 + expected[part]);
            EXPECT_EQ(want, PixelOf(i, 0, s[0], s[1]))
                << "kind " << k.kind << ", code " << k.shape << ", part " << part;
        }
    }
}

// The lines between the parts of split squares lie where the cut is.
TEST_F(RendererFixture, SplitSquaresDrawTheirCutLines)
{
    struct LineCase
    {
        int kind;
        int x, y;
    };
    const LineCase lines[] = {
        {1, 5, 5}, {1, 2, 2}, {2, 3, 3}, {2, 5, 1}, {3, 1, 3}, {3, 6, 3},
        {4, 3, 1}, {4, 3, 6}, {5, 3, 6}, {5, 6, 3}, {6, 2, 2}, {6, 5, 1},
    };
    const int count = (int)(sizeof(lines) / sizeof(lines[0]));
    MakeMap(PavingSquares, 8, count, 1);
    for (int i = 0; i < count; ++i)
        map.SetCell(i, 0, 0, lines[i].kind, 10, 11, 12, 13, 0, 0, 0, 0);
    Render(8 * count, 8);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(ToRgb(kJoint), PixelOf(i, 0, lines[i].x, lines[i].y))
            << "kind " << lines[i].kind;
    showJoints = 0;
    Render(8 * count, 8);
    for (int i = 0; i < count; ++i)
        EXPECT_FALSE(ToRgb(kJoint) == PixelOf(i, 0, lines[i].x, lines[i].y));
}

// A cut tile keeps its whole outline as joint, so that the place of its missing part shows;
// a hole has none.
TEST_F(RendererFixture, CutTilesKeepTheOutlineOfTheMissingPart)
{
    MakeMap(PavingSquares, 8, 3, 1);
    map.SetCell(0, 0, 4, CellHalvesRows, 10, 11, 10, 11, 0, 0, 0, 0);   // top half only
    map.SetCell(1, 0, 9, CellQuarters, 10, 11, 12, 13, 0, 0, 0, 0);     // B, C and D
    map.SetCell(2, 0, ShapeHole, CellWhole, 10, 10, 10, 10, 0, 0, 0, 0);
    Render(24, 8);
    EXPECT_EQ(ToRgb(kJoint), PixelOf(0, 0, 3, 0)) << "bottom edge of the missing half";
    EXPECT_EQ(ToRgb(kJoint), PixelOf(0, 0, 0, 1)) << "left edge of the missing half";
    EXPECT_EQ(ToRgb(kBackground), PixelOf(0, 0, 3, 1)) << "inside the missing half";
    EXPECT_EQ(ToRgb(kJoint), PixelOf(1, 0, 0, 2)) << "left edge of the missing quarter";
    EXPECT_EQ(ToRgb(kBackground), PixelOf(1, 0, 1, 1)) << "inside the missing quarter";
    EXPECT_EQ(ToRgb(kBackground), PixelOf(2, 0, 0, 3)) << "a hole has no outline";
}

// Border halves of the patterns with shifted rows: a half tile keeps its half, and the half
// past the mosaic's edge is outside.
TEST_F(RendererFixture, BorderHalvesOfDiamonds)
{
    MakeMap(PavingDiamonds, 8, 4, 4);
    showJoints = 0;
    // Row 2 is odd (4 - 2 - 1): its first and last tiles are halves.
    map.SetCell(0, 2, 1, CellHalvesBytes, 20, 21, 20, 21, 0, 0, 0, 0);
    map.SetCell(3, 2, 2, CellHalvesBytes, 22, 23, 22, 23, 0, 0, 0, 0);
    // The last row keeps its top half.
    map.SetCell(1, 3, 4, CellHalvesRows, 24, 25, 24, 25, 0, 0, 0, 0);
    Render(48, 40);
    EXPECT_EQ(Colour(20), PixelOf(0, 2, 5, 4));
    EXPECT_EQ(Colour(23), PixelOf(3, 2, 2, 4));
    EXPECT_EQ(ToRgb(kOutside), PixelOf(3, 2, 5, 4));
    EXPECT_EQ(Colour(24), PixelOf(1, 3, 4, 6));
    EXPECT_EQ(ToRgb(kOutside), PixelOf(1, 3, 4, 2));
}

// Squares with the neighbour-joint flag: a laid tile draws its own left (bottom) edge as a
// joint where the neighbour on that side lacks the adjoining part, even with masks that have
// no frame there.
TEST_F(RendererFixture, NeighbourJointsEdgeMissingNeighbours)
{
    MakeMap(PavingSquares, 8, 4, 3);
    masks0[PavingSquares].FillBytes(1);
    masks1[PavingSquares].FillBytes(1);
    map.SetCell(0, 0, ShapeHole, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    map.SetCell(2, 0, 4, CellHalvesRows, 5, 6, 5, 6, 0, 0, 0, 0);   // top half only
    map.SetCell(1, 2, 2, CellHalvesBytes, 7, 8, 7, 8, 0, 0, 0, 0);  // left half only
    picture.Free();
    picture.Create(1, 32, 24);
    int ignored[5];
    RenderMosaic(&picture, 0, &map, n, 1, cols, rows, 0, 0, type, NULL, masks0, masks1, 0, 0,
                 &ignored[0], &ignored[1], &ignored[2], &ignored[3], &ignored[4], NULL, 1, 0,
                 NULL, table, colours, NULL, 0, NULL);
    EXPECT_EQ(ToRgb(kJoint), PixelOf(1, 0, 0, 5)) << "next to a hole";
    EXPECT_EQ(ToRgb(kJoint), PixelOf(3, 0, 0, 1)) << "next to a missing bottom half";
    EXPECT_EQ(Colour(3), PixelOf(3, 0, 0, 6)) << "next to the laid top half";
    EXPECT_EQ(ToRgb(kJoint), PixelOf(1, 1, 6, 0)) << "above a missing right half";
    EXPECT_EQ(Colour(5), PixelOf(1, 1, 1, 0)) << "above the laid left half";
    EXPECT_EQ(Colour(6), PixelOf(2, 1, 0, 4)) << "no joint next to a laid tile";
}

// Symbols only: tiles white, labels black, joints in the joint colour; with colours and
// symbols the label takes its state's colour over the tile colour.
TEST_F(RendererFixture, LabelsAndSymbolsOnlyDisplay)
{
    MakeMap(PavingSquares, 8, 2, 1);
    CRasterImage& label = labels[C2Palette::TileImageIndex(0, 0, 1)];
    label.Create(0, 8, 8);
    label.SetByte(3, 2, 1);   // label row 2 from the top: tile-local y = 5
    labelStates[1] = -6;
    displayMode = 1;
    Render(16, 8);
    EXPECT_EQ(ToRgb(kBlack), PixelOf(1, 0, 3, 5));
    EXPECT_EQ(ToRgb(kWhite), PixelOf(1, 0, 4, 5));
    EXPECT_EQ(ToRgb(kWhite), PixelOf(0, 0, 4, 4));
    EXPECT_EQ(ToRgb(kJoint), PixelOf(0, 0, 0, 4));
    displayMode = 2;
    labelStates[1] = -7;
    Render(16, 8);
    EXPECT_EQ(ToRgb(kWhite), PixelOf(1, 0, 3, 5));
    EXPECT_EQ(Colour(1), PixelOf(1, 0, 4, 5));
    displayMode = 0;
    Render(16, 8);
    EXPECT_EQ(Colour(1), PixelOf(1, 0, 3, 5));
}

// A colour with a note is drawn from its texture slot, read upside down (tile-local y from
// the bottom); a colour without a note keeps its flat colour.
TEST_F(RendererFixture, TexturesReplaceNotedColours)
{
    MakeMap(PavingSquares, 8, 2, 1);
    paletteKind = PaletteKind1Shade;
    texturesOn = 1;
    notes[0] = L"glass";
    // Colour 0 is tile colour 0: slot (shade 0 + index 0) x 4 + quarter 0.
    CRasterImage& tex = textures[0];
    tex.Create(1, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
        {
            const BYTE c[3] = {(BYTE)(x * 20), (BYTE)(y * 20), 99};
            tex.SetRgb(x, y, c);
        }
    Render(16, 8);
    EXPECT_EQ((Rgb{60, 20, 99}), PixelOf(0, 0, 3, 6));
    EXPECT_EQ(Colour(1), PixelOf(1, 0, 3, 6));
    texturesOn = 0;
    Render(16, 8);
    EXPECT_EQ(Colour(0), PixelOf(0, 0, 3, 6));
}

// Hit test of every pattern: a tile centre and an edge pixel of the tile report that tile;
// a point outside the mosaic reports nothing.
TEST_F(RendererFixture, HitTestFindsTheTileUnderThePoint)
{
    for (int t = 0; t < PavingTypeCount; ++t)
    {
        SCOPED_TRACE(kPatternNames[t]);
        MakeMap(t, 8, 6, 6);
        Render(72, 72);
        int sx = 0, sy = 0;
        SamplePoint(sx, sy);
        const POINT centre = At(2, 3, sx, sy);
        MosaicHit hit = HitAt(centre.x, centre.y);
        EXPECT_EQ(2, hit.column);
        EXPECT_EQ(3, hit.row);
        EXPECT_EQ(At(2, 3, 0, 0).x, hit.left);
        EXPECT_EQ(std::max(0, (int)At(2, 3, 0, 7).y), hit.top);
        EXPECT_EQ(1, hit.part);
        EXPECT_EQ(ToRgb(kHitMark), Pixel(centre.x, centre.y));

        const bool odd = ((rows - 3 - 1) & 1) != 0;
        const POINT edge = At(2, 3, EdgeLeftOfSample(odd), sy);
        hit = HitAt(edge.x, edge.y);
        EXPECT_EQ(2, hit.column);
        EXPECT_EQ(3, hit.row);

        MosaicHit direct;
        EXPECT_TRUE(HitTestMosaic(72, 72, &map, 8, cols, rows, 0, 0, t, masks0, masks1, 0,
                                  centre.x, centre.y, direct));
        EXPECT_EQ(2, direct.column);
        EXPECT_EQ(3, direct.row);

        hit = HitAt(71, 71);
        EXPECT_EQ(-1, hit.column);
        EXPECT_FALSE(HitTestMosaic(72, 72, &map, 8, cols, rows, 0, 0, t, masks0, masks1, 0, 71,
                                   71, direct));
    }
}

// The part under the point follows the click tool's cut mode.
TEST_F(RendererFixture, HitTestReportsThePartForTheCutMode)
{
    MakeMap(PavingSquares, 8, 2, 2);
    Render(16, 16);
    struct PartCase
    {
        int cutMode, x, y, part;
    };
    const PartCase cases[] = {
        {1, 1, 6, 1}, {1, 6, 1, 2}, {1, 1, 1, 3}, {1, 6, 6, 4},
        {6, 2, 5, 1}, {6, 3, 1, 2}, {6, 1, 2, 3}, {6, 5, 2, 4}, {0, 6, 6, 1},
    };
    for (const PartCase& k : cases)
    {
        const POINT p = At(1, 1, k.x, k.y);
        EXPECT_EQ(k.part, HitAt(p.x, p.y, k.cutMode).part)
            << "mode " << k.cutMode << " at " << k.x << ", " << k.y;
    }
}

// Tiles in the marker grey are not taken for the marker: with the point given the grey tile
// under it is found, and with only the marker pixel the grey tiles of the old picture are
// passed over.
TEST_F(RendererFixture, MarkerGreyTilesAreNoHits)
{
    MakeMap(PavingSquares, 8, 4, 2);
    for (int c = 0; c < 4; ++c)
        SetWhole(c, 1, 200);
    colours[200].peRed = colours[200].peGreen = colours[200].peBlue = 208;
    Render(32, 16);

    MosaicHit hit = HitAt(11, 12);
    EXPECT_EQ(1, hit.column);
    EXPECT_EQ(1, hit.row);

    Render(32, 16);
    picture.SetRgb(20, 4, kHitKey);   // the caller's marker on tile (2, 0)
    MosaicHit keyed = {-1, -1, -1, -1, -1};
    RenderMosaic(&picture, 0, &map, n, 1, cols, rows, 0, 0, type, NULL, masks0, masks1, 1, 0,
                 &keyed.column, &keyed.row, &keyed.left, &keyed.top, &keyed.part, NULL, 0, 0,
                 NULL, table, colours, NULL, 0, NULL);
    EXPECT_EQ(2, keyed.column);
    EXPECT_EQ(0, keyed.row);
    EXPECT_EQ(ToRgb(kHitMark), Pixel(20, 4));
    EXPECT_EQ(ToRgb(kHitKey), Pixel(20, 12)) << "grey tiles are left as they were";
}

// Scales of the first kind: the tile that covers each pixel does not depend on whether the
// colours are saturated.
TEST_F(RendererFixture, SaturatedScalesOverlapLikeAnyOther)
{
    const Rgb saturated[6] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0},
                              {255, 255, 0}, {0, 0, 0}, {255, 255, 255}};
    MakeMap(PavingScales1, 8, 4, 6);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            SetWhole(c, r, (c + 2 * r) % 6);
    // Two palettes: saturated and muted colours under the same indices.
    std::vector<Rgb> owner[2];
    for (int pass = 0; pass < 2; ++pass)
    {
        for (int i = 0; i < 6; ++i)
        {
            const Rgb m = {(BYTE)(30 + 20 * i), (BYTE)(60 + 10 * i), (BYTE)(90 + 5 * i)};
            const Rgb c = pass == 0 ? saturated[i] : m;
            colours[i].peRed = c.r;
            colours[i].peGreen = c.g;
            colours[i].peBlue = c.b;
        }
        Render(32, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 32; ++x)
            {
                const Rgb p = Pixel(x, y);
                int index = -1;
                for (int i = 0; i < 6 && index < 0; ++i)
                    if (p == Colour(i))
                        index = i;
                owner[pass].push_back(index < 0 ? p : Rgb{(BYTE)index, 0, 0});
            }
    }
    int differences = 0;
    for (size_t i = 0; i < owner[0].size(); ++i)
        if (!(owner[0][i] == owner[1][i]))
            ++differences;
    EXPECT_EQ(0, differences);
}

// Any tile size from 1, any picture size and first tile, masks of the wrong size: nothing is
// written outside the picture.
TEST_F(RendererFixture, TinyTilesAndPicturesStayInsideThePicture)
{
    const int sizes[][2] = {{1, 1}, {2, 1}, {1, 3}, {7, 5}, {31, 17}};
    for (int t = 0; t < PavingTypeCount; ++t)
        for (int size = 1; size <= 6; ++size)
            for (const auto& s : sizes)
            {
                MakeMap(t, size, 5, 4);
                const int w = s[0], h = s[1];
                std::vector<BYTE> buffer(3 * (size_t)w * h + 64, 0xA5);
                CRasterImage target;
                target.data = buffer.data() + 32;
                target.owned = 0;
                target.type = 1;
                target.width = w;
                target.height = h;
                target.size = (UINT)(w * h);
                for (int first : {0, 3, 9})
                    RenderInto(target, first, first);
                // Masks built for another tile size are read only where they exist.
                n = size + 3;
                RenderInto(target);
                n = size;
                for (int i = 0; i < 32; ++i)
                {
                    ASSERT_EQ(0xA5, buffer[i]) << kPatternNames[t] << " n " << size;
                    ASSERT_EQ(0xA5, buffer[buffer.size() - 1 - i]) << kPatternNames[t];
                }
                MosaicHit hit;
                HitTestMosaic(w, h, &map, size, cols, rows, 0, 0, t, masks0, masks1, 5, w - 1,
                              h - 1, hit);
            }
}

} // namespace

namespace
{

// The fast ways of drawing (plain tiles from their mask, cells outside the mosaic in runs,
// split tiles from codes shared along a picture row) against the pixel-by-pixel way, which
// drawing with labels takes: with no colour labelled the two pictures must be the same, for
// every pattern, at odd and even sizes, scrolled or not, with cut tiles, holes and the
// border halves of each pattern. Textured, every third colour has a texture, in each turn,
// of a size that changes with the slot: as large as the tile, larger, or smaller, whose
// missing pixels are drawn in the flat colour.
void ExpectFastDrawingAsPixelByPixel(RendererFixture& f, bool bTextured)
{
    f.paletteKind = bTextured ? PaletteKind1Shade : 0;
    f.texturesOn = bTextured ? 1 : 0;
    for (int pattern = 0; pattern < PavingTypeCount; ++pattern)
        for (int size : {1, 2, 3, 4, 9})
        {
            f.MakeMap(pattern, size, 13, 11);
            if (bTextured)
                for (int slot = 0; slot < 256 * 4; ++slot)
                {
                    CRasterImage& tex = f.textures[slot];
                    tex.Free();
                    if (slot / 4 % 3 != 0)
                        continue;
                    const int side = std::max(1, size + slot % 3 - 1);
                    tex.Create(1, side, side);
                    for (UINT i = 0; i < 3 * tex.size; ++i)
                        tex.data[i] = (BYTE)(slot * 7 + i * 13);
                }
            for (int c = 0; c < 256; ++c)
                f.notes[c] = bTextured && c % 3 == 0 ? L"glass" : L"";
            // One split kind and shape code a row, on a third of its cells and on the last
            // column, whose cells are drawn apart from the others.
            unsigned state = 99;
            for (int r = 0; r < f.rows; ++r)
            {
                state = state * 1103515245u + 12345u;
                const int rowKind = (int)((state >> 4) % 7);
                const int rowShape = (state >> 12) % 3 == 0 ? (int)((state >> 20) % 17) : 0;
                for (int c = 0; c < f.cols; ++c)
                {
                    state = state * 1103515245u + 12345u;
                    const int colour = (state >> 16) & 255;
                    const bool split = (state >> 8) % 3 == 0 || c == f.cols - 1;
                    const int v = bTextured ? (int)(state >> 24) % 8 : 0;
                    f.map.SetCell(c, r, split ? rowShape : 0, split ? rowKind : 0, colour,
                                  (colour + 1) & 255, (colour + 2) & 255, (colour + 3) & 255, v,
                                  (v + 1) % 8, (v + 2) % 8, (v + 3) % 8);
                }
            }
            if (pattern != PavingSquares)
                CRasterImage::SetBorderCodes(&f.map, pattern, f.cols, f.rows, -1, -1);
            // The last column's cut, border half or hole also inside the row.
            for (int r = 0; r < f.rows; ++r)
            {
                int s, k, a, b, c, d, va, vb, vc, vd;
                f.map.GetCell(f.cols - 1, r, s, k, a, b, c, d, va, vb, vc, vd);
                for (int col : {3, 7})
                    f.map.SetCell(col, r, s, k, a, b, c, d, va, vb, vc, vd);
            }
            for (int joints : {0, 1})
                for (int origin : {0, 2, 12})
                {
                    SCOPED_TRACE(testing::Message()
                                 << kPatternNames[pattern] << " at " << size << ", origin "
                                 << origin << (joints ? ", joints" : ""));
                    f.showJoints = joints;
                    f.displayMode = 0;
                    f.Render(97, 71, origin, origin / 2);
                    const std::vector<BYTE> fast(f.picture.data,
                                                 f.picture.data + 3 * f.picture.size);
                    f.displayMode = 2;
                    f.Render(97, 71, origin, origin / 2);
                    const std::vector<BYTE> slow(f.picture.data,
                                                 f.picture.data + 3 * f.picture.size);
                    EXPECT_TRUE(fast == slow);
                }
        }
    f.displayMode = 0;
    f.showJoints = 1;
}

TEST_F(RendererFixture, FastDrawingGivesThePixelsOfThePixelByPixelDrawing)
{
    ExpectFastDrawingAsPixelByPixel(*this, false);
}

TEST_F(RendererFixture, FastTexturedDrawingGivesThePixelsOfThePixelByPixelDrawing)
{
    ExpectFastDrawingAsPixelByPixel(*this, true);
}

// Triangles laid from the last row up: with 44 rows the bands pair rows 0 and 1, 2 and 3;
// with 45 rows row 0 is all holes and takes no band, rows 1 and 2 share the first band and
// rows 43 and 44 the last. A picture as high as the mosaic shows every row that holds tiles,
// the last one included.
TEST_F(RendererFixture, EveryLaidRowOfTrianglesIsDrawnForOddAndEvenRowCounts)
{
    for (int rowCount : {44, 45})
    {
        SCOPED_TRACE(testing::Message() << rowCount << " rows");
        MakeMap(PavingTriangles, 8, 5, rowCount);
        CRasterImage::SetBorderCodes(&map, type, cols, rows, -1, -1);
        const int height = RowToPixelY(type, n, rows, rows, 0);
        EXPECT_EQ(22 * n, height);
        Render(TileToPixelX(type, n, cols, 0), height);
        std::vector<int> seen(256, 0);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                for (int c = 0; c < 256; ++c)
                    if (Pixel(x, y) == Colour(c))
                    {
                        seen[c]++;
                        break;
                    }
        for (int r = 0; r < rows; ++r)
        {
            // A row shows the tiles it lays; row 0 of 45 lays none.
            const bool laid = r >= FirstPavingRow(type, rows);
            for (int c = 0; c < cols - 1; ++c)
                EXPECT_EQ(laid, seen[c + cols * r] > 0) << "tile " << c << ", " << r;
        }
        // The first band holds the first two laid rows, pointing up then down; the last band
        // the last two rows.
        const int first = FirstPavingRow(type, rows);
        auto shown = [&](int c, int r, int x, int y) {
            const RECT box = MosaicTileBox(n, rows, 0, 0, type, c, r);
            return Pixel(box.left + x, box.top + (n - 1 - y));
        };
        EXPECT_EQ(0, MosaicTileBox(n, rows, 0, 0, type, 2, first).top);
        EXPECT_EQ(0, MosaicTileBox(n, rows, 0, 0, type, 2, first + 1).top);
        EXPECT_EQ(Colour(2 + cols * first), shown(2, first, 4, 2));
        EXPECT_EQ(Colour(2 + cols * (first + 1)), shown(2, first + 1, 4, 5));
        EXPECT_EQ(picture.height - n, MosaicTileBox(n, rows, 0, 0, type, 2, rows - 1).top);
        EXPECT_EQ(picture.height - n, MosaicTileBox(n, rows, 0, 0, type, 2, rows - 2).top);
        EXPECT_EQ(Colour(2 + cols * (rows - 1)), shown(2, rows - 1, 4, 5));
        EXPECT_EQ(Colour(2 + cols * (rows - 2)), shown(2, rows - 2, 4, 2));
    }
}

// Where the renderer says a tile is, it draws it: the middle of the box of every tile shows
// the tile, on every pattern, for odd and even row counts, scrolled or not, and the hit test
// and the place of the point agree.
TEST_F(RendererFixture, TileBoxesAreWhereTheTilesAreDrawn)
{
    for (int t = 0; t < PavingTypeCount; ++t)
        for (int rowCount : {9, 10})
            for (int origin : {0, 3})
            {
                SCOPED_TRACE(testing::Message() << kPatternNames[t] << ", " << rowCount
                                                << " rows, origin " << origin);
                MakeMap(t, 12, 7, rowCount);
                Render(8 * n, 9 * n, origin, origin);
                int sx = 0, sy = 0;
                SamplePoint(sx, sy);
                int checked = 0;
                for (int r = FirstPavingRow(t, rows); r < rows; ++r)
                    for (int c = 0; c < cols; ++c)
                    {
                        const RECT box = MosaicTileBox(n, rows, origin, origin, t, c, r);
                        const int x = box.left + sx, y = box.top + (n - 1 - sy);
                        // Beyond the picture, or outside the mosaic at its end.
                        const int end = TileToPixelX(t, n, cols - 1 - origin, 0) +
                                        (t == PavingSquares ? n : 0);
                        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height ||
                            (c == cols - 1 && x >= end))
                            continue;
                        EXPECT_EQ(Colour(c + cols * r), Pixel(x, y)) << "tile " << c << ", " << r;
                        MosaicHit hit;
                        ASSERT_TRUE(HitTestMosaic(picture.width, picture.height, &map, n, cols,
                                                  rows, origin, origin, t, masks0, masks1, 0, x,
                                                  y, hit));
                        EXPECT_EQ(c, hit.column);
                        EXPECT_EQ(r, hit.row);
                        int pc = -1, pr = -1;
                        ASSERT_TRUE(MosaicTileAtPlace(n, cols, rows, origin, origin, t, x, y, pc,
                                                      pr));
                        // Rows of triangles share their place; scales overlap the next row.
                        if (t != PavingTriangles && t != PavingScales1)
                        {
                            EXPECT_EQ(c, pc);
                            EXPECT_EQ(r, pr);
                        }
                        checked++;
                    }
                EXPECT_GT(checked, 10);
            }
}

// The block of a frame is the tiles whose centres lie in it, and the frame of a block holds
// exactly the block: on shifted rows a tile half outside the frame on one side is in, the
// neighbour half outside on the other is not. On triangles a block takes both rows of a band.
TEST_F(RendererFixture, BlocksAreTheTilesWhoseCentresLieInTheFrame)
{
    for (int t = 0; t < PavingTypeCount; ++t)
        for (int rowCount : {9, 10})
        {
            SCOPED_TRACE(testing::Message() << kPatternNames[t] << ", " << rowCount << " rows");
            const int n = 12, cols = 8;
            const int first = FirstPavingRow(t, rowCount);
            const int last = rowCount - 1;
            const TileBlock blocks[] = {
                {0, first, 2, first + 1},      {cols - 3, last - 1, cols - 1, last},
                {0, first, cols - 1, last},    {3, first + 2, 3, first + 3},
                {0, last - 3, 0, last},        {cols - 1, first, cols - 1, first + 1},
                {4, 4, 5, 4},
            };
            for (int origin : {0, 2})
                for (const TileBlock& b : blocks)
                {
                    if (t == PavingTriangles && b.firstRow == b.lastRow)
                        continue;
                    const RECT frame = MosaicBlockFrame(n, rowCount, origin, origin, t, b);
                    TileBlock found = {};
                    ASSERT_TRUE(MosaicBlockInFrame(n, cols, rowCount, origin, origin, t, frame,
                                                   found));
                    EXPECT_EQ(b.firstCol, found.firstCol) << b.firstCol << "," << b.firstRow;
                    EXPECT_EQ(b.lastCol, found.lastCol) << b.firstCol << "," << b.firstRow;
                    EXPECT_EQ(b.firstRow, found.firstRow) << b.firstCol << "," << b.firstRow;
                    EXPECT_EQ(b.lastRow, found.lastRow) << b.firstCol << "," << b.firstRow;
                }
        }
    // On hexagons of 10 rows row 3 lies half a tile right of row 2: a frame from tile (2, 3)
    // to tile (5, 5) holds neither row 2 nor column 1.
    RECT frame = MosaicTileBox(12, 10, 0, 0, PavingHexagons, 2, 3);
    const RECT to = MosaicTileBox(12, 10, 0, 0, PavingHexagons, 5, 5);
    frame.right = to.right;
    frame.bottom = to.bottom;
    TileBlock block = {};
    ASSERT_TRUE(MosaicBlockInFrame(12, 8, 10, 0, 0, PavingHexagons, frame, block));
    EXPECT_EQ(2, block.firstCol);
    EXPECT_EQ(3, block.firstRow);
    EXPECT_EQ(5, block.lastCol);
    EXPECT_EQ(5, block.lastRow);
}

} // namespace
