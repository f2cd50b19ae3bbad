// The region tools against a plain reference written cell by cell and pixel by pixel: the
// region plane, the fill, the cell toggle, the mix fill and the recolouring must give the same
// bytes and leave the same seeds on maps whose regions wind, hold holes, mix every kind of split tile and
// colour 255, and on clicks in every part, with the tools' size smaller or larger than the
// plane.
#include "MosaicTest.h"

#include <limits.h>
#include <string.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "Random.h"
#include "RasterImage.h"
#include "RegionTools.h"

namespace
{

struct Image : CRasterImage
{
    Image() {}
    // A copy with its own bytes.
    Image(const Image& from)
    {
        Create(0, from.width, from.height);
        memcpy(data, from.data, size);
    }
    ~Image() { Free(); }
    Image& operator=(const Image&) = delete;
};

// ---- The reference ----

void RefPlane(const CRasterImage& map, int cols, int rows, Image& plane)
{
    cols = std::min(cols, map.width / 4);
    rows = std::min(rows, map.height / 4);
    plane.Create(0, 4 * cols, 4 * rows);
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
        {
            int s, k, c[4], v[4];
            map.GetCell(col, row, s, k, c[0], c[1], c[2], c[3], v[0], v[1], v[2], v[3]);
            const char* pattern = RegionPartPattern(k);
            for (int i = 0; pattern != NULL && i < 16; ++i)
                plane.SetByte(4 * col + i % 4, 4 * row + i / 4, c[pattern[i] - 'A']);
        }
}

// Pixels of the clicked pixel's colour joined to it through 4-neighbours, breadth first,
// within the tools' part of the plane; empty when the click lies outside it.
std::vector<bool> RefRegion(const CRasterImage& plane, int cols, int rows, int x, int y)
{
    const int w = std::min(4 * cols, plane.width), h = std::min(4 * rows, plane.height);
    std::vector<bool> in;
    if (cols <= 0 || rows <= 0 || x < 0 || y < 0 || x >= w || y >= h)
        return in;
    in.assign((size_t)w * h, false);
    const int target = plane.GetByte(x, y);
    std::deque<POINT> queue(1, POINT{x, y});
    in[(size_t)y * w + x] = true;
    while (!queue.empty())
    {
        const POINT p = queue.front();
        queue.pop_front();
        const POINT next[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
        for (const POINT& n : next)
            if (n.x >= 0 && n.y >= 0 && n.x < w && n.y < h && !in[(size_t)n.y * w + n.x] &&
                plane.GetByte(n.x, n.y) == target)
            {
                in[(size_t)n.y * w + n.x] = true;
                queue.push_back(n);
            }
    }
    return in;
}

// tag false: the region takes the colour; tag true: it becomes 255 and the rest 0.
bool RefMark(CRasterImage& plane, int cols, int rows, int x, int y, bool tag, int colour)
{
    const std::vector<bool> in = RefRegion(plane, cols, rows, x, y);
    if (in.empty())
        return false;
    const int w = std::min(4 * cols, plane.width), h = std::min(4 * rows, plane.height);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (in[(size_t)j * w + i] || tag)
                plane.SetByte(i, j, in[(size_t)j * w + i] ? (tag ? 255 : colour) : 0);
    return true;
}

struct Areas
{
    int parts, value[4];
    bool uniform[4], tagged[4], touched[4], any;
};

bool RefAreas(const CRasterImage& plane, int col, int row, int kind, Areas& a)
{
    const char* pattern = RegionPartPattern(kind);
    if (pattern == NULL || plane.data == NULL || col >= plane.width / 4 ||
        row >= plane.height / 4)
        return false;
    a.parts = CellPartCount(kind);
    a.any = false;
    for (int p = 0; p < 4; ++p)
    {
        a.value[p] = -1;
        a.uniform[p] = true;
        a.touched[p] = false;
    }
    for (int i = 0; i < 16; ++i)
    {
        const int p = pattern[i] - 'A', v = plane.GetByte(4 * col + i % 4, 4 * row + i / 4);
        if (a.value[p] >= 0 && a.value[p] != v)
            a.uniform[p] = false;
        if (a.value[p] < 0)
            a.value[p] = v;
        if (v == 255)
            a.touched[p] = a.any = true;
    }
    for (int p = 0; p < 4; ++p)
        a.tagged[p] = a.uniform[p] && a.value[p] == 255;
    return true;
}

struct CellValues
{
    int s, k, c[4], v[4];
};

CellValues Get(const CRasterImage& map, int col, int row)
{
    CellValues x;
    map.GetCell(col, row, x.s, x.k, x.c[0], x.c[1], x.c[2], x.c[3], x.v[0], x.v[1], x.v[2],
                x.v[3]);
    return x;
}

void Put(CRasterImage& map, int col, int row, const CellValues& x)
{
    map.SetCell(col, row, x.s, x.k, x.c[0], x.c[1], x.c[2], x.c[3], x.v[0], x.v[1], x.v[2],
                x.v[3]);
}

void RefFill(CRasterImage& map, const CRasterImage& plane, int cols, int rows, int kind,
             int* s1, int* s2)
{
    cols = std::min(cols, map.width / 4);
    rows = std::min(rows, map.height / 4);
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
        {
            if (s1 != NULL)
                map.RandomizeCellVariants(col, row, s1, s2, kind);
            CellValues x = Get(map, col, row);
            Areas a;
            if (!RefAreas(plane, col, row, x.k, a) ||
                !std::all_of(a.uniform, a.uniform + a.parts, [](bool u) { return u; }))
                continue;
            for (int p = 0; p < 4; ++p)
                x.c[p] = a.value[a.parts == 1 ? 0 : a.parts == 2 ? p % 2 : p];
            Put(map, col, row, x);
        }
}

void RefToggle(CRasterImage& map, const CRasterImage& plane, int cols, int rows)
{
    cols = std::min(cols, map.width / 4);
    rows = std::min(rows, map.height / 4);
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
        {
            CellValues x = Get(map, col, row);
            Areas a;
            if (!RefAreas(plane, col, row, x.k, a) || !a.any)
                continue;
            if (x.k == 0)
            {
                x.s = x.s == 16 ? 0 : 16;
                Put(map, col, row, x);
                continue;
            }
            int tagged = 0;
            bool clean = true;
            for (int p = 0; p < a.parts; ++p)
            {
                tagged |= a.tagged[p] ? 1 << p : 0;
                clean = clean && (a.tagged[p] || (a.uniform[p] && !a.touched[p]));
            }
            const int all = (1 << a.parts) - 1;
            const int on = ShapeCodeOfParts(x.k, tagged), off = ShapeCodeOfParts(x.k, all & ~tagged);
            if (!clean || tagged == 0 || (tagged != all && (on < 0 || off < 0)))
                continue;
            // Whole <-> hole when every part is tagged; else whole -> rest -> whole and
            // tagged <-> hole.
            const int from[4] = {0, tagged == all ? 16 : off, tagged == all ? -1 : on, 16};
            const int to[4] = {tagged == all ? 16 : off, 0, tagged == all ? -1 : 16,
                               tagged == all ? 0 : on};
            for (int i = 0; i < 4; ++i)
                if (x.s == from[i])
                {
                    x.s = to[i];
                    break;
                }
            Put(map, col, row, x);
        }
}

void RefMix(CRasterImage& map, const CRasterImage& plane, int cols, int rows, int colourCount,
            int mixCount, int direction, int tileCount, const int* allowed,
            const int (*percent)[256], int kind, int* s1, int* s2)
{
    cols = std::min(cols, map.width / 4);
    rows = std::min(rows, map.height / 4);
    mixCount = std::max(1, std::min(mixCount, 50));
    tileCount = std::max(0, std::min(tileCount, 256));
    int c0 = INT_MAX, c1 = -1, r0 = INT_MAX, r1 = -1;
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
        {
            Areas a;
            if (RefAreas(plane, col, row, Get(map, col, row).k, a) && a.any)
            {
                c0 = std::min(c0, col);
                c1 = std::max(c1, col);
                r0 = std::min(r0, row);
                r1 = std::max(r1, row);
            }
        }
    if (c1 < 0)
        return;
    const double step = (double)(direction == 1 ? c1 - c0 + 1 : r1 - r0 + 1) / mixCount;
    for (int col = c0; col <= c1; ++col)
        for (int row = r0; row <= r1; ++row)
        {
            Areas a;
            if (!RefAreas(plane, col, row, Get(map, col, row).k, a) || !a.any)
                continue;
            map.RandomizeCellVariants(col, row, s1, s2, kind);
            CellValues x = Get(map, col, row);
            const int first = direction == 1 ? c0 : r0, pos = direction == 1 ? col : row;
            int band = 0;
            while (band < mixCount - 1 && first + (band + 1) * step <= pos)
                ++band;
            const int m = direction == 1 ? band : direction == 0 ? mixCount - 1 - band : 0;
            double total = 0;
            for (int t = 0; t < tileCount; ++t)
                total += allowed[t] && percent[m][t] > 0 ? percent[m][t] : 0;
            bool ranked = true;
            int drawn[4];
            for (int p = 0; p < 4; ++p)
            {
                const double u = RandomUniform(s1, s2);
                drawn[p] = -1;
                double sum = 0;
                int rank = -1;
                for (int t = 0; t < tileCount; ++t)
                {
                    if (!allowed[t] || percent[m][t] <= 0)
                        continue;
                    sum += percent[m][t];
                    if (drawn[p] < 0 && sum / total >= u)
                        drawn[p] = t;
                }
                if (drawn[p] >= 0)
                {
                    for (int t = 0; t <= drawn[p]; ++t)
                        rank += t < tileCount && allowed[t] != 0;
                    drawn[p] = colourCount + rank <= 255 ? colourCount + rank : -1;
                }
                ranked = ranked && drawn[p] >= 0;
            }
            if (!ranked || (x.k == 0 && x.s != 0))
                continue;
            for (int p = 0; p < 4; ++p)
                if (x.k == 0 || (p < a.parts && a.tagged[p]))
                    x.c[p] = drawn[p];
            Put(map, col, row, x);
        }
}

// ---- The maps ----

// Cells of colours 0, 1, 2 and 255 (two of them in style 1), of every kind and a few kinds
// outside 0-6, shapes whole, cut or holes; style 2 lays a comb of colour 1 through colour 2.
void MakeMap(Image& map, int cols, int rows, int style, unsigned& rng)
{
    auto next = [&rng](int n) {
        rng = rng * 1103515245u + 12345u;
        return (int)((rng >> 16) % (unsigned)n);
    };
    map.Create(0, 4 * cols, 4 * rows);
    const int colours[4] = {0, 1, 2, 255};
    for (int col = 0; col < cols; ++col)
        for (int row = 0; row < rows; ++row)
        {
            const int kinds[10] = {0, 0, 0, 1, 2, 3, 4, 5, 6, 9};
            CellValues x = {next(4) == 0 ? 16 : next(3) == 0 ? next(13) : 0, kinds[next(10)],
                            {0, 0, 0, 0}, {next(100), next(100), next(100), next(100)}};
            for (int p = 0; p < 4; ++p)
                x.c[p] = colours[style == 1 ? 1 + next(2) : next(4)];
            if (style == 2)
            {
                x.k = row % 3 == 1 ? x.k : 0;
                const int c = col % 2 == 1 && row != rows - 1 ? 2 : 1;
                for (int p = 0; p < 4; ++p)
                    x.c[p] = x.k == 0 ? c : x.c[p];
            }
            Put(map, col, row, x);
        }
}

std::string Trace(int round, int cols, int rows, int toolCols, int toolRows, int x, int y)
{
    return "round " + std::to_string(round) + ": map " + std::to_string(cols) + "x" +
           std::to_string(rows) + ", tools " + std::to_string(toolCols) + "x" +
           std::to_string(toolRows) + ", click " + std::to_string(x) + "," +
           std::to_string(y);
}

bool SameBytes(const CRasterImage& a, const CRasterImage& b)
{
    return a.width == b.width && a.height == b.height &&
           (a.size == 0 || memcmp(a.data, b.data, a.size) == 0);
}

} // namespace

TEST(RegionReference, PlaneFillToggleAndMixMatchTheReference)
{
    static int allowed[256];
    static int percent[50][256];
    for (int t = 0; t < 256; ++t)
    {
        allowed[t] = t % 3 == 0 || t == 7;
        for (int m = 0; m < 50; ++m)
            percent[m][t] = (t * 7 + m * 13) % 11 == 0 ? 0 : (t * 7 + m * 13) % 23;
    }
    const int seeds[] = {1, 0, -5, INT_MAX, INT_MIN, 25489631, 2147483563};
    unsigned rng = 2024;
    for (int round = 0; round < 240; ++round)
    {
        const int cols = 1 + round % 13, rows = 1 + (round * 7) % 11;
        Image map;
        MakeMap(map, cols, rows, round % 3, rng);
        // The tools are told the map's size, or one a column short and a row long.
        const bool odd = round % 5 == 4;
        const int toolCols = odd ? cols - 1 : cols, toolRows = odd ? rows + 1 : rows;
        rng = rng * 1103515245u + 12345u;
        const int x = (int)((rng >> 8) % (unsigned)(4 * cols + 2)) - 1;
        const int y = (int)((rng >> 20) % (unsigned)(4 * rows + 2)) - 1;
        SCOPED_TRACE(Trace(round, cols, rows, toolCols, toolRows, x, y));

        Image plane, expectedPlane;
        ASSERT_TRUE(PrepareRegionPlane(&plane, &map, cols, rows));
        RefPlane(map, cols, rows, expectedPlane);
        ASSERT_TRUE(SameBytes(expectedPlane, plane));

        Image got(map), expected(map);
        int s1 = seeds[round % 7], s2 = seeds[(round / 7) % 7];
        int e1 = s1, e2 = s2;
        switch (round % 4)
        {
        case 0:
        case 1:
        {
            const int colour = round % 8 == 0 ? 255 : round % 3;
            const bool inside = PaintRegionInPlane(&plane, toolCols, toolRows, x, y, colour);
            EXPECT_EQ(RefMark(expectedPlane, toolCols, toolRows, x, y, false, colour), inside);
            ASSERT_TRUE(SameBytes(expectedPlane, plane));
            const bool draw = round % 9 != 0;
            got.FillRegionWithColour(&plane, toolCols, toolRows, round % 3, draw ? &s1 : NULL,
                                     &s2);
            RefFill(expected, plane, toolCols, toolRows, round % 3, draw ? &e1 : NULL, &e2);
            break;
        }
        case 2:
            EXPECT_EQ(RefMark(expectedPlane, toolCols, toolRows, x, y, true, 0),
                      TagRegionInPlane(&plane, toolCols, toolRows, x, y));
            ASSERT_TRUE(SameBytes(expectedPlane, plane));
            got.ToggleCellsInRegion(&plane, toolCols, toolRows);
            RefToggle(expected, plane, toolCols, toolRows);
            break;
        default:
        {
            EXPECT_EQ(RefMark(expectedPlane, toolCols, toolRows, x, y, true, 0),
                      TagRegionInPlane(&plane, toolCols, toolRows, x, y));
            ASSERT_TRUE(SameBytes(expectedPlane, plane));
            const int mixCount = round % 7 == 3 ? 60 : 1 + round % 5;
            const int colourCount = round % 11 == 3 ? 250 : 10 + round;
            got.FillRegionWithMix(&plane, toolCols, toolRows, colourCount, mixCount, round % 3,
                                  100 + round, allowed, percent, round % 3, &s1, &s2);
            RefMix(expected, plane, toolCols, toolRows, colourCount, mixCount, round % 3,
                   100 + round, allowed, percent, round % 3, &e1, &e2);
            break;
        }
        }
        EXPECT_TRUE(SameBytes(expected, got));
        EXPECT_EQ(e1, s1);
        EXPECT_EQ(e2, s2);
    }
}

// Recolouring draws the variants of every cell in column order, as RandomizeCellVariants
// does cell by cell, and maps every part's colour.
TEST(RegionReference, RemappingMatchesTheReference)
{
    int newColour[256];
    for (int c = 0; c < 256; ++c)
        newColour[c] = (c * 37 + 11) % 256;
    unsigned rng = 77;
    for (int round = 0; round < 12; ++round)
    {
        const int cols = 1 + round % 5 * 3, rows = 1 + round % 4 * 4;
        Image map;
        MakeMap(map, cols, rows, round % 3, rng);
        Image got(map), expected(map);
        const bool draw = round % 4 != 3;
        int s1 = round % 2 == 0 ? 25489631 : -7, s2 = 1254678, e1 = s1, e2 = s2;
        got.RemapCellColours(newColour, round % 3, draw ? &s1 : NULL, &s2);
        for (int col = 0; col < cols; ++col)
            for (int row = 0; row < rows; ++row)
            {
                if (draw)
                    expected.RandomizeCellVariants(col, row, &e1, &e2, round % 3);
                CellValues x = Get(expected, col, row);
                for (int p = 0; p < 4; ++p)
                    x.c[p] = newColour[x.c[p]];
                Put(expected, col, row, x);
            }
        EXPECT_TRUE(SameBytes(expected, got)) << "round " << round;
        EXPECT_EQ(e1, s1) << "round " << round;
        EXPECT_EQ(e2, s2) << "round " << round;
    }
}

// The fast generator and the skip over draws give exactly RandomUniform's numbers and seeds,
// from seeds inside and outside the generator's range.
TEST(RandomStream, MatchesRandomUniformAndSkips)
{
    const int seeds[] = {0, 1, -1, INT_MAX, INT_MIN, 2147483562, 2147483563, 2147483399,
                         25489631, -1254678};
    for (int a : seeds)
        for (int b : seeds)
        {
            RandomStream stream = {a, b};
            stream.Normalize();
            int s1 = a, s2 = b;
            for (int i = 0; i < 50; ++i)
            {
                const double u = RandomUniform(&s1, &s2);
                ASSERT_EQ(u, stream.Uniform()) << a << " " << b << " draw " << i;
                int k1 = a, k2 = b;
                RandomSkip(&k1, &k2, i + 1);
                EXPECT_EQ(s1, k1) << a << " " << b << " skip " << i + 1;
                EXPECT_EQ(s2, k2) << a << " " << b << " skip " << i + 1;
            }
            int k1 = a, k2 = b;
            RandomSkip(&k1, &k2, 0);
            EXPECT_EQ(a, k1);
            EXPECT_EQ(b, k2);
        }
    for (int kind = 0; kind < 5; ++kind)
    {
        int s1 = 777, s2 = 999;
        RandomStream stream = {s1, s2};
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(DrawTextureVariant(kind, &s1, &s2),
                      stream.TextureVariant(TextureVariantCount(kind)));
    }
}
