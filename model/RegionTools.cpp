#include "RegionTools.h"

#include <string.h>

#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// First index in [from, to) whose byte differs from (equal false) or equals (equal true) v;
// to when there is none. Sixteen bytes a step: the region tools scan whole rows of the plane.
inline __attribute__((always_inline)) int ScanForward(const BYTE* line, int from, int to,
                                                     BYTE v, bool equal)
{
    int i = from;
#ifdef __SSE2__
    const __m128i pattern = _mm_set1_epi8((char)v);
    const unsigned want = equal ? 0u : 0xFFFFu;
    for (; i + 16 <= to; i += 16)
    {
        const __m128i bytes = _mm_loadu_si128((const __m128i*)(line + i));
        const unsigned hits = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)) ^ want;
        if (hits != 0)
            return i + __builtin_ctz(hits);
    }
#endif
    for (; i < to; ++i)
        if ((line[i] == v) == equal)
            return i;
    return to;
}

// Last index in [from, to) whose byte differs from v, going down from to - 1; from - 1 when
// every byte equals v.
inline __attribute__((always_inline)) int ScanBackForOther(const BYTE* line, int from, int to,
                                                          BYTE v)
{
    int i = to;
#ifdef __SSE2__
    const __m128i pattern = _mm_set1_epi8((char)v);
    for (; i - 16 >= from; i -= 16)
    {
        const __m128i bytes = _mm_loadu_si128((const __m128i*)(line + i - 16));
        const unsigned other =
            (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)) ^ 0xFFFFu;
        if (other != 0)
            return i - 16 + 31 - __builtin_clz(other);
    }
#endif
    for (; i > from; --i)
        if (line[i - 1] != v)
            return i - 1;
    return from - 1;
}

// Gives the pixels 4-connected to (x, y) through the value target, within w x h of the plane,
// the value fill (which differs from target), in place: filled pixels no longer match, so
// they need no other mark. Span by span from a stack, linear in the size of the region.
void FloodInPlace(BYTE* data, size_t stride, int w, int h, int x, int y, BYTE target, BYTE fill)
{
    struct Seed
    {
        int x, y;
    };
    std::vector<Seed> stack;
    Seed seed = {x, y};
    for (;;)
    {
        BYTE* line = data + (size_t)seed.y * stride;
        if (line[seed.x] == target)
        {
            const int left = ScanBackForOther(line, 0, seed.x, target) + 1;
            const int right = ScanForward(line, seed.x + 1, w, target, false);
            memset(line + left, fill, (size_t)(right - left));
            for (int ny = seed.y - 1; ny <= seed.y + 1; ny += 2)
            {
                if (ny < 0 || ny >= h)
                    continue;
                const BYTE* next = data + (size_t)ny * stride;
                int i = ScanForward(next, left, right, target, true);
                while (i < right)
                {
                    stack.push_back(Seed{i, ny});
                    const int end = ScanForward(next, i + 1, right, target, false);
                    i = end < right ? ScanForward(next, end + 1, right, target, true) : right;
                }
            }
        }
        if (stack.empty())
            break;
        seed = stack.back();
        stack.pop_back();
    }
}

// Each of the n bytes becomes 1 where it held target, else 0.
void MarkValue(BYTE* line, int n, BYTE target)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i pattern = _mm_set1_epi8((char)target);
    const __m128i one = _mm_set1_epi8(1);
    for (; i + 16 <= n; i += 16)
    {
        const __m128i bytes = _mm_loadu_si128((const __m128i*)(line + i));
        _mm_storeu_si128((__m128i*)(line + i),
                         _mm_and_si128(_mm_cmpeq_epi8(bytes, pattern), one));
    }
#endif
    for (; i < n; ++i)
        line[i] = line[i] == target ? 1 : 0;
}

// Each of the n bytes stays RegionTag where it is, else becomes 0.
void KeepTags(BYTE* line, int n)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i tag = _mm_set1_epi8((char)RegionTag);
    for (; i + 16 <= n; i += 16)
    {
        const __m128i bytes = _mm_loadu_si128((const __m128i*)(line + i));
        _mm_storeu_si128((__m128i*)(line + i), _mm_cmpeq_epi8(bytes, tag));
    }
#endif
    for (; i < n; ++i)
        line[i] = line[i] == RegionTag ? (BYTE)RegionTag : 0;
}

// The plane's area and the clicked pixel, when the click lies inside the map's part.
bool RegionStart(const CRasterImage* plane, int cols, int rows, int x, int y, int& w, int& h)
{
    return PlaneArea(plane, cols, rows, w, h) && x >= 0 && y >= 0 && x < w && y < h;
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
    // A plane of the right size is drawn over: a fresh buffer of that size costs more than
    // the drawing.
    const bool reuse = plane->data != NULL && plane->owned == 1 && plane->type == 0 &&
                       plane->width == cols * CellBlock && plane->height == rows * CellBlock &&
                       plane->size == (UINT)plane->width * (UINT)plane->height;
    if (!reuse)
    {
        plane->Free();
        plane->Create(0, cols * CellBlock, rows * CellBlock);
    }
    // The cell map's own expansion, a row of cells at a time; a kind outside 0-6 gets a block
    // of zeros.
    const size_t mapStride = (size_t)map->width;
    const size_t stride = (size_t)plane->width;
    for (int row = 0; row < rows; ++row)
    {
        const BYTE* cells = map->data + (size_t)row * CellBlock * mapStride;
        BYTE* block = plane->data + (size_t)row * CellBlock * stride;
        for (int col = 0; col < cols; ++col, cells += CellBlock, block += CellBlock)
        {
            const int kind = cells[1];
            const BYTE colour[4] = {cells[2], cells[3], cells[mapStride], cells[mapStride + 1]};
            if (kind == CellWhole)
            {
                const unsigned int quad = colour[0] * 0x01010101u;
                for (int r = 0; r < CellBlock; ++r)
                    memcpy(block + r * stride, &quad, 4);
                continue;
            }
            const char* pattern = RegionPartPattern(kind);
            if (pattern == NULL)
            {
                for (int r = 0; r < CellBlock; ++r)
                    memset(block + r * stride, 0, CellBlock);
                continue;
            }
            for (int r = 0; r < CellBlock; ++r)
                for (int c = 0; c < CellBlock; ++c)
                    block[r * stride + c] = colour[pattern[r * CellBlock + c] - 'A'];
        }
    }
    return true;
}

bool PaintRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y, int colour)
{
    int w = 0, h = 0;
    if (!RegionStart(plane, cols, rows, x, y, w, h))
        return false;
    const size_t stride = (size_t)plane->width;
    const BYTE target = plane->data[(size_t)x + (size_t)y * stride];
    // A region painted its own colour stays as it is.
    if (target != (BYTE)colour)
        FloodInPlace(plane->data, stride, w, h, x, y, target, (BYTE)colour);
    return true;
}

bool TagRegionInPlane(CRasterImage* plane, int cols, int rows, int x, int y)
{
    int w = 0, h = 0;
    if (!RegionStart(plane, cols, rows, x, y, w, h))
        return false;
    const size_t stride = (size_t)plane->width;
    const BYTE target = plane->data[(size_t)x + (size_t)y * stride];
    // 1 for the region's colour and 0 for any other, so that the flood's tags are the only
    // 255s; what the flood leaves at 1 lies outside the region.
    for (int j = 0; j < h; ++j)
        MarkValue(plane->data + (size_t)j * stride, w, target);
    FloodInPlace(plane->data, stride, w, h, x, y, 1, (BYTE)RegionTag);
    for (int j = 0; j < h; ++j)
        KeepTags(plane->data + (size_t)j * stride, w);
    return true;
}
