// Border codes of the paving patterns and the region tools: fill with one colour, fill with a
// mix, toggling of tiles and parts, the brush stamp, run counts and colour replacement.
#include "RasterImage.h"

#include "Paving.h"
#include "Random.h"
#include "RegionTools.h"

#include <string.h>

#include <vector>

namespace
{

bool HoldsCells(const CRasterImage& map)
{
    return map.data != NULL && map.type == 0 && map.width >= CellBlock &&
           map.height >= CellBlock &&
           (ULONGLONG)map.width * (ULONGLONG)map.height <= map.size;
}

// Cells of the map actually visited for a caller's cols x rows.
void ClampToMap(const CRasterImage& map, int& cols, int& rows)
{
    if (cols > map.width / CellBlock)
        cols = map.width / CellBlock;
    if (rows > map.height / CellBlock)
        rows = map.height / CellBlock;
}

// What the border pattern of a paving type writes into cell (col, row) of a cols x rows map;
// false where it writes nothing.
bool BorderCellCode(int pavingType, int cols, int rows, int col, int row, int& kind, int& shape)
{
    if (pavingType <= PavingSquares || pavingType >= PavingTypeCount || cols <= 0 || rows <= 0)
        return false;
    const int last = cols - 1;
    const bool edgeRows = pavingType != PavingTriangles && pavingType != PavingCrossedJoints;
    if (row == 0 && edgeRows)
    {
        if (rows % 2 == 1)
        {
            kind = col < last ? CellHalvesRows : CellWhole;
            shape = col < last ? 3 : ShapeHole;
        }
        else if (col == last)
        {
            kind = CellQuarters;
            shape = 5;
        }
        else
        {
            kind = col == 0 ? CellQuarters : CellHalvesRows;
            shape = col == 0 ? 7 : 3;
        }
        return true;
    }
    bool written = false;
    if (row == 0 && pavingType == PavingTriangles && rows % 2 == 1)
    {
        kind = CellWhole;
        shape = ShapeHole;
        written = true;
    }
    if (row == rows - 1 && edgeRows)
    {
        kind = col < last ? CellHalvesRows : CellWhole;
        shape = col < last ? 4 : ShapeHole;
        return true;
    }
    // On shifted rows column 0 shows its right half, the last column its left half; on the
    // other rows the last column lies outside the mosaic.
    const bool shifted = IsShiftedRow(pavingType, rows, row) != FALSE;
    if (col == last)
    {
        kind = shifted ? CellHalvesBytes : CellWhole;
        shape = shifted ? 2 : ShapeHole;
        written = true;
    }
    else if (col == 0 && shifted)
    {
        kind = CellHalvesBytes;
        shape = 1;
        written = true;
    }
    return written;
}

// The areas of one cell's parts on the region plane.
struct CellAreas
{
    int parts;          // number of parts of the kind
    int value[4];       // first byte of each area
    bool uniform[4];    // every byte of the area alike
    bool tagged[4];     // every byte of the area tagged
    bool touched[4];    // at least one byte of the area tagged
    bool inRegion;      // at least one byte of the block tagged
};

// The blocks of the plane, one per cell, where the plane holds them wholly.
struct PlaneBlocks
{
    const BYTE* data;
    size_t stride;
    int cols;
    int rows;

    explicit PlaneBlocks(const CRasterImage* plane) : data(NULL), stride(0), cols(0), rows(0)
    {
        if (plane == NULL || plane->data == NULL || plane->type != 0 || plane->width <= 0 ||
            plane->height <= 0 ||
            (ULONGLONG)plane->width * (ULONGLONG)plane->height > plane->size)
            return;
        data = plane->data;
        stride = (size_t)plane->width;
        cols = plane->width / CellBlock;
        rows = plane->height / CellBlock;
    }

    // Block of cell (col, row); NULL when it does not lie wholly inside.
    const BYTE* At(int col, int row) const
    {
        if (col < 0 || row < 0 || col >= cols || row >= rows)
            return NULL;
        return data + (size_t)col * CellBlock + (size_t)row * CellBlock * stride;
    }
};

// The four rows of a block, four bytes each.
void LoadBlockRows(const BYTE* block, size_t stride, unsigned int quad[4])
{
    for (int r = 0; r < CellBlock; ++r)
        memcpy(&quad[r], block + r * stride, 4);
}

// Whether any of the four bytes is RegionTag.
bool QuadTouched(unsigned int quad)
{
    const unsigned int inverse = ~quad;
    return ((inverse - 0x01010101u) & ~inverse & 0x80808080u) != 0;
}

// Whether any byte of the block is RegionTag: most cells lie outside a region.
bool BlockTouched(const BYTE* block, size_t stride)
{
    unsigned int quad[4];
    LoadBlockRows(block, stride, quad);
    return QuadTouched(quad[0]) || QuadTouched(quad[1]) || QuadTouched(quad[2]) ||
           QuadTouched(quad[3]);
}

bool ReadAreas(const BYTE* block, size_t stride, int kind, CellAreas& areas)
{
    const char* pattern = RegionPartPattern(kind);
    if (pattern == NULL || block == NULL)
        return false;
    areas.parts = CellPartCount(kind);
    for (int p = 0; p < 4; ++p)
    {
        areas.value[p] = -1;
        areas.uniform[p] = true;
        areas.tagged[p] = false;
        areas.touched[p] = false;
    }
    if (kind == CellWhole)
    {
        // One area over the whole block: four words compared at once.
        unsigned int quad[4];
        LoadBlockRows(block, stride, quad);
        const unsigned int first = block[0] * 0x01010101u;
        areas.value[0] = block[0];
        areas.uniform[0] = quad[0] == first && quad[1] == first && quad[2] == first &&
                           quad[3] == first;
        areas.inRegion = areas.touched[0] = QuadTouched(quad[0]) || QuadTouched(quad[1]) ||
                                            QuadTouched(quad[2]) || QuadTouched(quad[3]);
        areas.tagged[0] = areas.uniform[0] && areas.value[0] == RegionTag;
        return true;
    }
    areas.inRegion = false;
    for (int r = 0; r < CellBlock; ++r)
    {
        for (int c = 0; c < CellBlock; ++c)
        {
            const int p = pattern[r * CellBlock + c] - 'A';
            const int v = block[(size_t)r * stride + c];
            if (areas.value[p] < 0)
                areas.value[p] = v;
            else if (areas.value[p] != v)
                areas.uniform[p] = false;
            if (v == RegionTag)
                areas.touched[p] = areas.inRegion = true;
        }
    }
    for (int p = 0; p < areas.parts; ++p)
        areas.tagged[p] = areas.uniform[p] && areas.value[p] == RegionTag;
    return true;
}

// Field bytes of one cell of a map with rows of stride bytes.
struct CellBytes
{
    BYTE* row0;     // shape, kind, colours A and B
    BYTE* row1;     // colours C and D, variants A and B
    BYTE* row2;     // variants C and D

    CellBytes(BYTE* cell, size_t stride) : row0(cell), row1(cell + stride), row2(cell + 2 * stride)
    {
    }
    int Shape() const { return row0[0]; }
    int Kind() const { return row0[1]; }
    int Colour(int p) const { return p < 2 ? row0[2 + p] : row1[p - 2]; }
    void SetColour(int p, int value)
    {
        if (p < 2)
            row0[2 + p] = (BYTE)value;
        else
            row1[p - 2] = (BYTE)value;
    }
    // Four new texture variants, A to D, as RandomizeCellVariants draws them: draws j to
    // j + 3 of the column's run.
    void DrawVariants(const RandomPowers& powers, const RandomStream& column, size_t j,
                      int variantCount)
    {
        row1[2] = (BYTE)powers.TextureVariant(column, j, variantCount);
        row1[3] = (BYTE)powers.TextureVariant(column, j + 1, variantCount);
        row2[0] = (BYTE)powers.TextureVariant(column, j + 2, variantCount);
        row2[1] = (BYTE)powers.TextureVariant(column, j + 3, variantCount);
    }
};

// The tools draw their random numbers cell by cell, column after column; draws[c] numbers fall
// to column c. The seeds where each column's run starts let the cells be visited row by row,
// in the order they lie in memory, with the very same numbers. The seeds end as after the
// last column.
std::vector<RandomStream> ColumnStreams(int* seed1, int* seed2, const std::vector<long long>& draws)
{
    std::vector<RandomStream> streams(draws.size());
    RandomStream next = {*seed1, *seed2};
    next.Normalize();
    long long total = 0;
    for (size_t c = 0; c < draws.size(); ++c)
    {
        streams[c] = next;
        RandomSkip(&next.seed1, &next.seed2, draws[c]);
        total += draws[c];
    }
    if (total > 0)
    {
        *seed1 = next.seed1;
        *seed2 = next.seed2;
    }
    return streams;
}

// Four new variants for every cell of a map of cols x rows cells, drawn as
// RandomizeCellVariants draws them; without seeds nothing is drawn.
struct EveryCellVariants
{
    std::vector<RandomStream> streams;
    RandomPowers powers;
    int variantCount;

    EveryCellVariants(int* seed1, int* seed2, int cols, int rows, int paletteKind)
        : streams(seed1 != NULL && seed2 != NULL
                      ? ColumnStreams(seed1, seed2,
                                      std::vector<long long>((size_t)cols, 4LL * rows))
                      : std::vector<RandomStream>()),
          powers(streams.empty() ? 0 : 4 * (size_t)rows),
          variantCount(TextureVariantCount(paletteKind))
    {
    }
    void Draw(CellBytes& bytes, int col, int row) const
    {
        if (!streams.empty())
            bytes.DrawVariants(powers, streams[(size_t)col], 4 * (size_t)row, variantCount);
    }
};

// Cumulative shares of one mix over the allowed tile colours, normalised to 1, so that every
// draw lands on an allowed colour whatever the shares add up to.
struct MixShares
{
    int count;
    int colour[256];
    double upTo[256];
};

void BuildShares(const int* percent, const int* allowed, int tileColourCount, MixShares& shares)
{
    double total = 0;
    shares.count = 0;
    for (int i = 0; i < tileColourCount; ++i)
    {
        if (allowed[i] == 0 || percent[i] <= 0)
            continue;
        total += percent[i];
        shares.colour[shares.count] = i;
        shares.upTo[shares.count] = total;
        ++shares.count;
    }
    for (int k = 0; k < shares.count; ++k)
        shares.upTo[k] /= total;
    if (shares.count > 0)
        shares.upTo[shares.count - 1] = 1.0;
}

// The first colour whose cumulative share reaches the draw. The shares only grow, so the
// search halves them, without a branch the random draws would mispredict.
int DrawTileColour(const MixShares& shares, double draw)
{
    if (shares.count <= 0)
        return -1;
    const double* base = shares.upTo;
    for (int n = shares.count; n > 1;)
    {
        const int half = n / 2;
        base = base[half] < draw ? base + half : base;
        n -= half;
    }
    const int k = (int)(base - shares.upTo) + (*base < draw ? 1 : 0);
    return k < shares.count ? shares.colour[k] : -1;
}

// Index of the mix band that holds position pos of a region starting at first, for bands of
// width step; always 0 to count - 1.
int MixBand(int pos, int first, double step, int count)
{
    int k = (int)((pos - first) / step);
    if (k < 0)
        k = 0;
    if (k > count - 1)
        k = count - 1;
    while (k > 0 && first + k * step > pos)
        --k;
    while (k < count - 1 && first + (k + 1) * step <= pos)
        ++k;
    return k;
}

} // namespace

// A cell the user removed stays removed: the pattern lays no part of a tile into a hole.
void CRasterImage::SetBorderCodes(CRasterImage* map, int pavingType, int cols, int rows,
                                  int /*unused1*/, int /*unused2*/)
{
    if (map == NULL || !HoldsCells(*map))
        return;
    int visitCols = cols, visitRows = rows;
    ClampToMap(*map, visitCols, visitRows);
    for (int col = 0; col < visitCols; ++col)
    {
        for (int row = 0; row < visitRows; ++row)
        {
            int kind = 0, shape = 0;
            if (!BorderCellCode(pavingType, cols, rows, col, row, kind, shape))
                continue;
            int s = 0, k = 0, a = 0, b = 0, c = 0, d = 0, va = 0, vb = 0, vc = 0, vd = 0;
            map->GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
            if (s == ShapeHole)
                continue;
            b = a;
            if (kind == CellQuarters)
                c = d = a;
            map->SetCell(col, row, shape, kind, a, b, c, d, va, vb, vc, vd);
        }
    }
}

// Only cells that still hold what the pattern wrote become whole again: the user's holes and
// cut tiles along the border survive a change of paving pattern.
void CRasterImage::ClearBorderCodes(int pavingType, int cols, int rows, int /*unused1*/,
                                    int /*unused2*/)
{
    if (!HoldsCells(*this))
        return;
    int visitCols = cols, visitRows = rows;
    ClampToMap(*this, visitCols, visitRows);
    for (int col = 0; col < visitCols; ++col)
    {
        for (int row = 0; row < visitRows; ++row)
        {
            int kind = 0, shape = 0;
            if (!BorderCellCode(pavingType, cols, rows, col, row, kind, shape))
                continue;
            int s = 0, k = 0, a = 0, b = 0, c = 0, d = 0, va = 0, vb = 0, vc = 0, vd = 0;
            GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
            if (s != shape || k != kind)
                continue;
            if (row == 0 && pavingType == PavingTriangles && rows % 2 == 1)
                b = a;
            SetCell(col, row, ShapeWhole, CellWhole, a, b, c, d, va, vb, vc, vd);
        }
    }
}

namespace
{

// The cell as a pattern leaves it: its shape and kind, and the part colours copied from A.
bool HoldsPatternCell(int shape, int kind, const int* colour, int patternShape, int patternKind)
{
    if (shape != patternShape || kind != patternKind)
        return false;
    if (kind == CellWhole)
        return true;
    if (colour[1] != colour[0])
        return false;
    return kind != CellQuarters || (colour[2] == colour[0] && colour[3] == colour[0]);
}

} // namespace

void CRasterImage::ChangeBorderCodes(int oldType, int newType, int cols, int rows,
                                     CRasterImage* patternCells)
{
    if (!HoldsCells(*this))
        return;
    if (cols <= 0 || rows <= 0)
        return;
    int visitCols = cols, visitRows = rows;
    ClampToMap(*this, visitCols, visitRows);
    BYTE* marks = NULL;
    if (patternCells != NULL)
    {
        const bool known = patternCells->data != NULL && patternCells->type == 0 &&
                           patternCells->width == cols && patternCells->height == rows;
        // Without a record, every cell that looks like the old pattern's is taken for it.
        if (!known)
        {
            patternCells->Create(0, cols, rows);
            for (int row = 0; row < rows; ++row)
                for (int col = 0; col < cols; ++col)
                {
                    int kind = 0, shape = 0;
                    patternCells->data[(size_t)row * cols + col] =
                        BorderCellCode(oldType, cols, rows, col, row, kind, shape) ? 1 : 0;
                }
        }
        marks = patternCells->data;
    }
    for (int col = 0; col < visitCols; ++col)
    {
        for (int row = 0; row < visitRows; ++row)
        {
            int oldKind = CellWhole, oldShape = ShapeWhole, newKind = CellWhole,
                newShape = ShapeWhole;
            const bool wasBorder =
                BorderCellCode(oldType, cols, rows, col, row, oldKind, oldShape);
            const bool isBorder = BorderCellCode(newType, cols, rows, col, row, newKind, newShape);
            BYTE* mark = marks != NULL ? marks + (size_t)row * cols + col : NULL;
            if (!wasBorder && !isBorder)
            {
                if (mark != NULL)
                    *mark = 0;
                continue;
            }
            int s = 0, k = 0, colour[4] = {0, 0, 0, 0}, va = 0, vb = 0, vc = 0, vd = 0;
            GetCell(col, row, s, k, colour[0], colour[1], colour[2], colour[3], va, vb, vc, vd);
            // A cell off the old border is the pattern's while it is a plain whole tile.
            bool pristine = HoldsPatternCell(s, k, colour, oldShape, oldKind);
            if (wasBorder && mark != NULL && *mark == 0)
                pristine = false;
            if (!pristine)
            {
                if (mark != NULL)
                    *mark = 0;
                continue;
            }
            if (isBorder)
            {
                colour[1] = colour[0];
                if (newKind == CellQuarters)
                    colour[2] = colour[3] = colour[0];
            }
            else if (row == 0 && oldType == PavingTriangles && rows % 2 == 1)
            {
                colour[1] = colour[0];
            }
            SetCell(col, row, newShape, newKind, colour[0], colour[1], colour[2], colour[3], va,
                    vb, vc, vd);
            if (mark != NULL)
                *mark = isBorder ? 1 : 0;
        }
    }
}

void CRasterImage::FillRegionWithColour(const CRasterImage* plane, int cols, int rows,
                                        int paletteKind, int* seed1, int* seed2)
{
    if (!HoldsCells(*this))
        return;
    ClampToMap(*this, cols, rows);
    if (cols <= 0 || rows <= 0)
        return;
    // Every cell draws new variants, whether the region holds it or not.
    const EveryCellVariants variants(seed1, seed2, cols, rows, paletteKind);
    const PlaneBlocks blocks(plane);
    const size_t stride = (size_t)width;
    for (int row = 0; row < rows; ++row)
    {
        BYTE* cell = data + (size_t)row * CellBlock * stride;
        for (int col = 0; col < cols; ++col, cell += CellBlock)
        {
            CellBytes bytes(cell, stride);
            variants.Draw(bytes, col, row);
            CellAreas areas;
            if (!ReadAreas(blocks.At(col, row), blocks.stride, bytes.Kind(), areas))
                continue;
            bool clean = true;
            for (int p = 0; p < areas.parts; ++p)
                clean = clean && areas.uniform[p];
            if (!clean)
                continue;
            for (int p = 0; p < 4; ++p)
            {
                // One part fills all four colours, two parts A and C, B and D.
                const int area = areas.parts == 1 ? 0 : areas.parts == 2 ? p % 2 : p;
                bytes.SetColour(p, areas.value[area]);
            }
        }
    }
}

// The tile colours of each mix are drawn with shares normalised over the allowed colours
// below tileColourCount; the mix count is taken as 1 to 50, and the bands of the gradient
// are measured in fractions of a cell, so every band index stays inside the tables.
void CRasterImage::FillRegionWithMix(const CRasterImage* plane, int cols, int rows,
                                     int colourCount, int mixCount, int direction,
                                     int tileColourCount, const int* allowedColours,
                                     const int (*mixPercent)[256], int paletteKind, int* seed1,
                                     int* seed2)
{
    if (!HoldsCells(*this) || plane == NULL || allowedColours == NULL || mixPercent == NULL ||
        seed1 == NULL || seed2 == NULL)
        return;
    ClampToMap(*this, cols, rows);
    if (mixCount < 1)
        mixCount = 1;
    if (mixCount > 50)
        mixCount = 50;
    if (tileColourCount < 0)
        tileColourCount = 0;
    if (tileColourCount > 256)
        tileColourCount = 256;

    // First pass: the extent of the region, and how many of its cells each column holds.
    const PlaneBlocks blocks(plane);
    const size_t stride = (size_t)width;
    int firstCol = -1, lastCol = -1, firstRow = -1, lastRow = -1;
    std::vector<long long> draws(cols > 0 ? (size_t)cols : 0, 0);
    for (int row = 0; row < rows; ++row)
    {
        const BYTE* cell = data + (size_t)row * CellBlock * stride;
        for (int col = 0; col < cols; ++col, cell += CellBlock)
        {
            const BYTE* block = blocks.At(col, row);
            if (block == NULL || RegionPartPattern(cell[1]) == NULL ||
                !BlockTouched(block, blocks.stride))
                continue;
            // Four variants and four tile colours a cell.
            draws[(size_t)col] += 8;
            if (firstCol < 0 || col < firstCol)
                firstCol = col;
            if (col > lastCol)
                lastCol = col;
            if (firstRow < 0)
                firstRow = row;
            lastRow = row;
        }
    }
    if (firstCol < 0)
        return;

    // Image colour of each allowed tile colour: appended after the mosaic's colours in order.
    int imageColour[256];
    int rank = 0;
    for (int i = 0; i < 256; ++i)
    {
        imageColour[i] = -1;
        if (i < tileColourCount && allowedColours[i] != 0)
        {
            const int index = colourCount + rank++;
            if (index >= 0 && index <= 255)
                imageColour[i] = index;
        }
    }
    std::vector<MixShares> shares((size_t)mixCount);
    for (int m = 0; m < mixCount; ++m)
        BuildShares(mixPercent[m], allowedColours, tileColourCount, shares[m]);

    const int extent = direction == 1 ? lastCol - firstCol + 1 : lastRow - firstRow + 1;
    const double step = (double)extent / mixCount;
    const int variantCount = TextureVariantCount(paletteKind);
    const std::vector<RandomStream> streams = ColumnStreams(seed1, seed2, draws);
    long long mostDraws = 0;
    for (long long n : draws)
        mostDraws = n > mostDraws ? n : mostDraws;
    const RandomPowers powers((size_t)mostDraws);
    // Draws each column has made so far.
    std::vector<size_t> drawn((size_t)cols, 0);
    // The mix of each column of the region, for a gradient across.
    std::vector<int> columnMix((size_t)(lastCol - firstCol + 1), 0);
    if (direction == 1)
        for (int col = firstCol; col <= lastCol; ++col)
            columnMix[(size_t)(col - firstCol)] = MixBand(col, firstCol, step, mixCount);

    for (int row = firstRow; row <= lastRow; ++row)
    {
        const int rowMix = direction == 0 ? mixCount - MixBand(row, firstRow, step, mixCount) - 1
                                          : 0;
        BYTE* cell = data + (size_t)row * CellBlock * stride + (size_t)firstCol * CellBlock;
        for (int col = firstCol; col <= lastCol; ++col, cell += CellBlock)
        {
            CellBytes bytes(cell, stride);
            const int k = bytes.Kind();
            CellAreas areas;
            const BYTE* block = blocks.At(col, row);
            if (block == NULL || !BlockTouched(block, blocks.stride) ||
                !ReadAreas(block, blocks.stride, k, areas))
                continue;
            const RandomStream& column = streams[(size_t)col];
            const size_t j = drawn[(size_t)col];
            drawn[(size_t)col] += 8;
            bytes.DrawVariants(powers, column, j, variantCount);
            const MixShares& mix =
                shares[(size_t)(direction == 1 ? columnMix[(size_t)(col - firstCol)] : rowMix)];
            int tiles[4];
            bool ranked = true;
            for (int p = 0; p < 4; ++p)
            {
                const int tile = DrawTileColour(mix, powers.Uniform(column, j + 4 + p));
                tiles[p] = tile >= 0 ? imageColour[tile] : -1;
                ranked = ranked && tiles[p] >= 0;
            }
            if (!ranked)
                continue;
            if (k == CellWhole)
            {
                if (bytes.Shape() != ShapeWhole)
                    continue;
                for (int p = 0; p < 4; ++p)
                    bytes.SetColour(p, tiles[p]);
            }
            else
            {
                for (int p = 0; p < areas.parts; ++p)
                    if (areas.tagged[p])
                        bytes.SetColour(p, tiles[p]);
            }
        }
    }
}

void CRasterImage::ToggleCellsInRegion(const CRasterImage* plane, int cols, int rows)
{
    if (!HoldsCells(*this))
        return;
    ClampToMap(*this, cols, rows);
    const PlaneBlocks blocks(plane);
    const size_t stride = (size_t)width;
    for (int row = 0; row < rows; ++row)
    {
        BYTE* cell = data + (size_t)row * CellBlock * stride;
        for (int col = 0; col < cols; ++col, cell += CellBlock)
        {
            const BYTE* block = blocks.At(col, row);
            if (block == NULL || !BlockTouched(block, blocks.stride))
                continue;
            const int s = cell[0];
            const int k = cell[1];
            // A whole tile that the region touches comes or goes.
            if (k == CellWhole)
            {
                cell[0] = (BYTE)(s == ShapeHole ? ShapeWhole : ShapeHole);
                continue;
            }
            CellAreas areas;
            if (!ReadAreas(block, blocks.stride, k, areas))
                continue;
            int shape = s;
            int tagged = 0;
            bool clean = true;
            for (int p = 0; p < areas.parts; ++p)
            {
                if (areas.tagged[p])
                    tagged |= 1 << p;
                else if (!areas.uniform[p] || areas.touched[p])
                    clean = false;
            }
            const int all = (1 << areas.parts) - 1;
            if (!clean || tagged == 0)
                continue;
            if (tagged == all)
            {
                if (s == ShapeWhole)
                    shape = ShapeHole;
                else if (s == ShapeHole)
                    shape = ShapeWhole;
            }
            else
            {
                const int codeTagged = ShapeCodeOfParts(k, tagged);
                const int codeRest = ShapeCodeOfParts(k, all & ~tagged);
                if (codeTagged < 0 || codeRest < 0)
                    continue;
                if (s == ShapeWhole)
                    shape = codeRest;
                else if (s == codeRest)
                    shape = ShapeWhole;
                else if (s == codeTagged)
                    shape = ShapeHole;
                else if (s == ShapeHole)
                    shape = codeTagged;
            }
            cell[0] = (BYTE)shape;
        }
    }
}

void CRasterImage::StampMask(CRasterImage* map, int colour, int startCol, int startRow) const
{
    if (map == NULL || !HoldsCells(*map) || data == NULL || width <= 0 || height <= 0 ||
        (ULONGLONG)width * (ULONGLONG)height > size)
        return;
    const int mapCols = map->width / CellBlock;
    const int mapRows = map->height / CellBlock;
    for (int y = 0; y < height; ++y)
    {
        const long long row = (long long)startRow + y;
        if (row >= mapRows)
            break;
        if (row < 0)
            continue;
        const BYTE* line = data + (size_t)y * width;
        for (int x = 0; x < width; ++x)
        {
            const long long col = (long long)startCol + x;
            if (col >= mapCols)
                break;
            if (col < 0 || line[x] != 1)
                continue;
            map->SetCell((int)col, (int)row, ShapeWhole, CellWhole, colour, colour, colour,
                         colour, 0, 0, 0, 0);
        }
    }
}

namespace
{

int ShapeAt(const CRasterImage& map, int col, int row)
{
    int s = 0, k = 0, a = 0, b = 0, c = 0, d = 0, va = 0, vb = 0, vc = 0, vd = 0;
    map.GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
    return s;
}

} // namespace

int CRasterImage::CountRunInRow(int col, int row) const
{
    if (!HoldsCells(*this))
        return 0;
    const int cols = width / CellBlock;
    if (col < 0 || row < 0 || col >= cols || row >= height / CellBlock ||
        ShapeAt(*this, col, row) == ShapeHole)
        return 0;
    int left = col;
    while (left >= 0 && ShapeAt(*this, left, row) != ShapeHole)
        --left;
    int right = col;
    while (right < cols && ShapeAt(*this, right, row) != ShapeHole)
        ++right;
    return right - left - 1;
}

int CRasterImage::CountRunInColumn(int col, int row) const
{
    if (!HoldsCells(*this))
        return 0;
    const int rows = height / CellBlock;
    if (col < 0 || row < 0 || col >= width / CellBlock || row >= rows ||
        ShapeAt(*this, col, row) == ShapeHole)
        return 0;
    int top = row;
    while (top >= 0 && ShapeAt(*this, col, top) != ShapeHole)
        --top;
    int bottom = row;
    while (bottom < rows && ShapeAt(*this, col, bottom) != ShapeHole)
        ++bottom;
    return bottom - top - 1;
}

void CRasterImage::ReplaceCellColour(int a, int b, int paletteKind, int* seed1, int* seed2)
{
    int newColour[256];
    for (int c = 0; c < 256; ++c)
        newColour[c] = c == a ? b : c;
    RemapCellColours(newColour, paletteKind, seed1, seed2);
}

void CRasterImage::RemapCellColours(const int* newColour, int paletteKind, int* seed1,
                                    int* seed2)
{
    if (!HoldsCells(*this))
        return;
    const int cols = width / CellBlock;
    const int rows = height / CellBlock;
    // Row by row in memory order, with each column's draws where the column order puts them.
    const EveryCellVariants variants(seed1, seed2, cols, rows, paletteKind);
    const size_t stride = (size_t)width;
    for (int row = 0; row < rows; ++row)
    {
        BYTE* cell = data + (size_t)row * CellBlock * stride;
        for (int col = 0; col < cols; ++col, cell += CellBlock)
        {
            CellBytes bytes(cell, stride);
            variants.Draw(bytes, col, row);
            for (int p = 0; p < 4; ++p)
                bytes.SetColour(p, newColour[bytes.Colour(p)]);
        }
    }
}

BOOL PavingBorderCell(int pavingType, int cols, int rows, int col, int row, int& kind,
                      int& shape)
{
    if (col < 0 || row < 0 || col >= cols || row >= rows)
        return FALSE;
    return BorderCellCode(pavingType, cols, rows, col, row, kind, shape) ? TRUE : FALSE;
}
