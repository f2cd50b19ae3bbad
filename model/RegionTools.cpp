#include "RegionTools.h"

#include <vector>

#include "Paving.h"

namespace
{

// The parts as the renderer draws them, block row 0 at the top of the tile. Each quarter goes
// to the part that covers most of it; where a diagonal splits a quarter, the part that owns the
// diagonal line wins, so that at 4 pixels a tile every quarter is exactly its one pixel. Kind 1:
// A below the rising diagonal (bottom right). Kind 2: A above the falling one (top right),
// the line included. Kind 6: the diagonal lines go to A and C, so B is the smallest part.
const char kRegionPatterns[7][17] = {
    "AAAAAAAAAAAAAAAA",
    "BBBBBBBABBAABAAA",
    "AAAABAAABBAABBBA",
    "AAAAAAAABBBBBBBB",
    "BBAABBAABBAABBAA",
    "BBDDBBDDAACCAACC",
    "CCCCDCCADDAADBBA",
};

// Shape code of "only A" and "only B" for the two-part kinds 1-4, as the renderer reads them.
const int kOnlyA[5] = {-1, 2, 4, 4, 1};
const int kOnlyB[5] = {-1, 1, 3, 3, 2};

// Kinds 5 and 6: the set of parts of codes 1-12.
const int kQuarterSets[13] = {
    PartA | PartB | PartC | PartD,
    PartA | PartB, PartC | PartD, PartA | PartC, PartB | PartD,
    PartA, PartB, PartC, PartD,
    PartB | PartC | PartD, PartA | PartC | PartD, PartA | PartB | PartD, PartA | PartB | PartC,
};

int AllParts(int kind)
{
    return (1 << CellPartCount(kind)) - 1;
}

bool PlaneArea(const CRasterImage* plane, int cols, int rows, int& w, int& h)
{
    if (plane == NULL || plane->data == NULL || plane->type != 0 || cols <= 0 || rows <= 0 ||
        plane->width <= 0 || plane->height <= 0 ||
        (ULONGLONG)plane->width * (ULONGLONG)plane->height > plane->size)
        return false;
    w = (int)((ULONGLONG)cols * CellBlock < (ULONGLONG)plane->width ? cols * CellBlock
                                                                     : plane->width);
    h = (int)((ULONGLONG)rows * CellBlock < (ULONGLONG)plane->height ? rows * CellBlock
                                                                      : plane->height);
    return true;
}

// Marks in `inside` the pixels 4-connected to (x, y) through its colour, within w x h of the
// plane, span by span; linear in the size of the region.
bool FloodRegion(const CRasterImage* plane, int cols, int rows, int x, int y,
                 std::vector<BYTE>& inside, int& w, int& h)
{
    if (!PlaneArea(plane, cols, rows, w, h) || x < 0 || y < 0 || x >= w || y >= h)
        return false;
    const int stride = plane->width;
    const BYTE* data = plane->data;
    const BYTE target = data[(size_t)x + (size_t)y * stride];
    inside.assign((size_t)w * h, 0);
    std::vector<POINT> stack;
    stack.push_back(POINT{x, y});
    while (!stack.empty())
    {
        const POINT seed = stack.back();
        stack.pop_back();
        const BYTE* line = data + (size_t)seed.y * stride;
        BYTE* mark = &inside[(size_t)seed.y * w];
        if (mark[seed.x])
            continue;
        int left = seed.x;
        while (left > 0 && !mark[left - 1] && line[left - 1] == target)
            --left;
        int right = seed.x;
        while (right + 1 < w && !mark[right + 1] && line[right + 1] == target)
            ++right;
        for (int i = left; i <= right; ++i)
            mark[i] = 1;
        for (int ny = seed.y - 1; ny <= seed.y + 1; ny += 2)
        {
            if (ny < 0 || ny >= h)
                continue;
            const BYTE* next = data + (size_t)ny * stride;
            const BYTE* nextMark = &inside[(size_t)ny * w];
            int i = left;
            while (i <= right)
            {
                if (nextMark[i] || next[i] != target)
                {
                    ++i;
                    continue;
                }
                stack.push_back(POINT{i, ny});
                while (i <= right && !nextMark[i] && next[i] == target)
                    ++i;
            }
        }
    }
    return true;
}

} // namespace

int CellPartCount(int kind)
{
    if (kind == 0)
        return 1;
    if (kind >= 1 && kind <= 4)
        return 2;
    if (kind == 5 || kind == 6)
        return 4;
    return 0;
}

const char* RegionPartPattern(int kind)
{
    return kind >= 0 && kind <= 6 ? kRegionPatterns[kind] : NULL;
}

int ShapeCodeOfParts(int kind, int parts)
{
    const int all = AllParts(kind);
    if (all == 0 || (parts & ~all) != 0)
        return -1;
    if (parts == all)
        return ShapeWhole;
    if (parts == 0)
        return ShapeHole;
    if (kind >= 1 && kind <= 4)
        return parts == PartA ? kOnlyA[kind] : kOnlyB[kind];
    for (int code = 1; code <= 12; ++code)
        if (kQuarterSets[code] == parts)
            return code;
    return -1;
}

int PartsOfShapeCode(int kind, int shape)
{
    const int all = AllParts(kind);
    if (all == 0)
        return -1;
    if (shape == ShapeWhole)
        return all;
    if (kind >= 1 && kind <= 4)
    {
        if (shape == kOnlyA[kind])
            return PartA;
        if (shape == kOnlyB[kind])
            return PartB;
        return 0;
    }
    if (kind >= 5 && shape >= 1 && shape <= 12)
        return kQuarterSets[shape];
    return 0;
}

int TilePartAtPixel(int kind, int n, int x, int y)
{
    const int h = RoundHalfAway(n * 0.5);
    switch (kind)
    {
    case 1:
        return y < x ? 0 : 1;
    case 2:
        return n - x - 2 < y ? 0 : 1;
    case 3:
        return y >= h ? 0 : 1;
    case 4:
        return x >= h ? 0 : 1;
    case 5:
    case 6:
    {
        const bool p = kind == 5 ? x < h : y < x;
        const bool q = kind == 5 ? y < h : n - x - 2 < y;
        if (p)
            return q ? 0 : 1;
        return q ? 2 : 3;
    }
    default:
        return 0;
    }
}

void RegionPointOfTilePixel(int kind, int n, int x, int y, int& bx, int& by)
{
    if (n <= 0)
        n = 1;
    x = x < 0 ? 0 : (x >= n ? n - 1 : x);
    y = y < 0 ? 0 : (y >= n ? n - 1 : y);
    const int v = n - 1 - y;
    bx = x * CellBlock / n;
    by = v * CellBlock / n;
    const char* pattern = RegionPartPattern(kind);
    if (pattern == NULL)
        return;
    const char part = (char)('A' + TilePartAtPixel(kind, n, x, y));
    if (pattern[by * CellBlock + bx] == part)
        return;
    // Distances in units of 1 / (2n) of a quarter: the pixel centre against quarter centres.
    const long long px = 2LL * x + 1, pv = 2LL * v + 1;
    long long best = -1;
    for (int r = 0; r < CellBlock; ++r)
    {
        for (int c = 0; c < CellBlock; ++c)
        {
            if (pattern[r * CellBlock + c] != part)
                continue;
            const long long cx = (2LL * c + 1) * n / CellBlock;
            const long long cv = (2LL * r + 1) * n / CellBlock;
            const long long d = (cx - px) * (cx - px) + (cv - pv) * (cv - pv);
            if (best < 0 || d < best)
            {
                best = d;
                bx = c;
                by = r;
            }
        }
    }
}

bool PrepareRegionPlane(CRasterImage* plane, const CRasterImage* map, int cols, int rows)
{
    if (plane == NULL || map == NULL || map->data == NULL || map->type != 0 ||
        map->width <= 0 || map->height <= 0 ||
        (ULONGLONG)map->width * (ULONGLONG)map->height > map->size)
        return false;
    if (cols > map->width / CellBlock)
        cols = map->width / CellBlock;
    if (rows > map->height / CellBlock)
        rows = map->height / CellBlock;
    if (cols <= 0 || rows <= 0)
        return false;
    plane->Free();
    plane->Create(0, cols * CellBlock, rows * CellBlock);
    map->ExpandCellsTo4x4(plane, cols, rows);
    return true;
}

bool PaintRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y, int colour)
{
    std::vector<BYTE> inside;
    int w = 0, h = 0;
    if (!FloodRegion(plane, cols, rows, x, y, inside, w, h))
        return false;
    const BYTE value = (BYTE)colour;
    for (int j = 0; j < h; ++j)
    {
        BYTE* line = plane->data + (size_t)j * plane->width;
        const BYTE* mark = &inside[(size_t)j * w];
        for (int i = 0; i < w; ++i)
            if (mark[i])
                line[i] = value;
    }
    return true;
}

bool TagRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y)
{
    std::vector<BYTE> inside;
    int w = 0, h = 0;
    if (!FloodRegion(plane, cols, rows, x, y, inside, w, h))
        return false;
    for (int j = 0; j < h; ++j)
    {
        BYTE* line = plane->data + (size_t)j * plane->width;
        const BYTE* mark = &inside[(size_t)j * w];
        for (int i = 0; i < w; ++i)
            line[i] = mark[i] ? (BYTE)RegionTag : 0;
    }
    return true;
}
