// Whole-map transformations of the tile-cell map: row and column shifts, plain and mirrored
// copies of a block of cells, resampling, the majority filter and the triangle generation.
#include "RasterImage.h"

#include <string.h>

#include <algorithm>

#include "Paving.h"

namespace
{

struct Cell
{
    int shape;
    int kind;
    int colour[4];
    int variant[4];
};

bool HasCells(const CRasterImage& map)
{
    return map.data != NULL && map.width >= CellBlock && map.height >= CellBlock &&
           (ULONGLONG)map.width * (ULONGLONG)map.height <= map.size;
}

bool Inside(const CRasterImage& map, long long col, long long row)
{
    return col >= 0 && row >= 0 && col < map.width / CellBlock && row < map.height / CellBlock;
}

void ReadCell(const CRasterImage& map, int col, int row, Cell& cell)
{
    map.GetCell(col, row, cell.shape, cell.kind, cell.colour[0], cell.colour[1], cell.colour[2],
                cell.colour[3], cell.variant[0], cell.variant[1], cell.variant[2],
                cell.variant[3]);
}

void WriteCell(CRasterImage& map, int col, int row, const Cell& cell)
{
    map.SetCell(col, row, cell.shape, cell.kind, cell.colour[0], cell.colour[1], cell.colour[2],
                cell.colour[3], cell.variant[0], cell.variant[1], cell.variant[2],
                cell.variant[3]);
}

// Colour A of a cell known to lie inside the map.
int ColourA(const CRasterImage& map, int col, int row)
{
    return map.data[(size_t)row * CellBlock * map.width + (size_t)col * CellBlock + 2];
}

// A copy of the image's buffer, for operations asked to read and write the same map. The
// caller frees it.
void CopyImage(const CRasterImage& source, CRasterImage& copy)
{
    copy.Create(source.type, source.width, source.height);
    memcpy(copy.data, source.data,
           (size_t)source.width * source.height * (source.type == 1 ? 3 : 1));
}

// Row length in bytes and the number of whole rows the buffer holds.
bool RowGeometry(const CRasterImage& image, size_t& rowBytes, size_t& rows)
{
    if (image.data == NULL || image.width <= 0 || image.height <= 0)
        return false;
    const size_t bytesPerPixel = image.type == 1 ? 3 : 1;
    rowBytes = (size_t)image.width * bytesPerPixel;
    rows = std::min<size_t>(image.height, (size_t)image.size * bytesPerPixel / rowBytes);
    return rows > 0;
}

// Mirroring of one cell. The colour permutation names, for each part A to D of the mirrored
// cell, the part of the source cell it takes; shape codes trade places in pairs.
struct CodePair
{
    int a;
    int b;
};

struct MirrorRule
{
    int newKind;
    int take[4];
    CodePair codes[5];
    int codeCount;
};

// Kinds 1 and 2 trade places when mirrored, so their codes are mapped between the two
// kinds' numbering: kind 1 lays A alone with code 2 and B alone with 1, kind 2 A alone with 4
// and B alone with 3.
const MirrorRule kMirrorLeftRight[7] = {
    {0, {0, 1, 2, 3}, {}, 0},
    {2, {1, 0, 2, 3}, {{1, 4}, {2, 3}}, 2},
    {1, {1, 0, 2, 3}, {{1, 4}, {2, 3}}, 2},
    {3, {0, 1, 2, 3}, {}, 0},
    {4, {1, 0, 2, 3}, {{1, 2}}, 1},
    {5, {2, 3, 0, 1}, {{1, 2}, {5, 7}, {6, 8}, {9, 11}, {10, 12}}, 5},
    {6, {3, 1, 2, 0}, {{1, 4}, {2, 3}, {5, 8}, {9, 12}}, 4},
};

const MirrorRule kMirrorTopBottom[7] = {
    {0, {0, 1, 2, 3}, {}, 0},
    {2, {0, 1, 2, 3}, {{1, 3}, {2, 4}}, 2},
    {1, {0, 1, 2, 3}, {{1, 3}, {2, 4}}, 2},
    {3, {1, 0, 2, 3}, {{3, 4}}, 1},
    {4, {0, 1, 2, 3}, {}, 0},
    {5, {1, 0, 3, 2}, {{3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}, 5},
    {6, {0, 2, 1, 3}, {{1, 3}, {2, 4}, {6, 7}, {10, 11}}, 4},
};

// Works on the map's int copy of a cell and on a TileCell alike.
template <class Field>
void MirrorFields(int mode, Field& shape, Field& kind, Field* colour)
{
    if ((int)kind < 0 || (int)kind > 6)
        return;
    const MirrorRule& rule = (mode == 1 ? kMirrorLeftRight : kMirrorTopBottom)[(int)kind];
    const int sourceShape = shape;
    Field source[4];
    for (int part = 0; part < 4; ++part)
        source[part] = colour[part];
    kind = (Field)rule.newKind;
    for (int part = 0; part < 4; ++part)
        colour[part] = source[rule.take[part]];
    for (int i = 0; i < rule.codeCount; ++i)
    {
        if (sourceShape == rule.codes[i].a)
            shape = (Field)rule.codes[i].b;
        else if (sourceShape == rule.codes[i].b)
            shape = (Field)rule.codes[i].a;
    }
}

void MirrorCell(int mode, Cell& cell)
{
    MirrorFields(mode, cell.shape, cell.kind, cell.colour);
}

// Source column or row that target index i reads when resampling.
int ResampleIndex(int i, double factor, int mode, int last)
{
    const double position = mode == 1 ? i * factor : i / factor;
    return std::min(std::max(RoundHalfAway(position + 0.5), 0), last);
}

enum Side
{
    PreviousRow,
    NextRow,
    PreviousColumn,
    NextColumn
};

// The colour a neighbour shows towards the cell on its given side; false for kinds that give
// no single colour there.
bool FacingColour(const Cell& neighbour, Side side, int& colour)
{
    const int kind = neighbour.kind;
    if (kind < 0 || kind > 2)
        return false;
    bool useB = false;
    switch (side)
    {
    case PreviousRow:
        useB = kind == 2;
        break;
    case NextRow:
        useB = kind == 1;
        break;
    case PreviousColumn:
        useB = false;
        break;
    case NextColumn:
        useB = kind != 0;
        break;
    }
    colour = neighbour.colour[useB ? 1 : 0];
    return true;
}

} // namespace

void MirrorTileCell(int mode, TileCell& cell)
{
    MirrorFields(mode, cell.shape, cell.kind, cell.colour);
}

void CRasterImage::InsertColumns(int n)
{
    size_t rowBytes, rows;
    if (n <= 0 || !RowGeometry(*this, rowBytes, rows))
        return;
    const size_t shift = std::min<size_t>(n, rowBytes);
    for (size_t y = 0; y < rows; ++y)
    {
        BYTE* row = data + y * rowBytes;
        memmove(row + shift, row, rowBytes - shift);
        memset(row, 0, shift);
    }
}

void CRasterImage::DeleteColumns(int n)
{
    size_t rowBytes, rows;
    if (n <= 0 || !RowGeometry(*this, rowBytes, rows))
        return;
    const size_t shift = std::min<size_t>(n, rowBytes);
    for (size_t y = 0; y < rows; ++y)
    {
        BYTE* row = data + y * rowBytes;
        memmove(row, row + shift, rowBytes - shift);
        memset(row + rowBytes - shift, 0, shift);
    }
}

void CRasterImage::InsertRows(int n)
{
    size_t rowBytes, rows;
    if (n <= 0 || !RowGeometry(*this, rowBytes, rows))
        return;
    const size_t shift = std::min<size_t>(n, rows);
    memmove(data + shift * rowBytes, data, (rows - shift) * rowBytes);
    memset(data, 0, shift * rowBytes);
}

void CRasterImage::DeleteRows(int n)
{
    size_t rowBytes, rows;
    if (n <= 0 || !RowGeometry(*this, rowBytes, rows))
        return;
    const size_t shift = std::min<size_t>(n, rows);
    memmove(data, data + shift * rowBytes, (rows - shift) * rowBytes);
    memset(data + (rows - shift) * rowBytes, 0, shift * rowBytes);
}

void CRasterImage::CopyCellsRect(CRasterImage* dest, const RECT& source, const RECT& target,
                                 int mode) const
{
    if (dest == NULL || mode < 0 || mode > 2 || !HasCells(*this) || !HasCells(*dest))
        return;
    if (dest == this)
    {
        // Cells written early would be read again as sources.
        CRasterImage copy;
        CopyImage(*this, copy);
        copy.CopyCellsRect(dest, source, target, mode);
        copy.Free();
        return;
    }
    const long long cols = width / CellBlock, rows = height / CellBlock;
    const long long w = (long long)source.right - source.left;
    const long long h = (long long)source.bottom - source.top;
    // Only the part of the source rectangle inside this map is read; each destination cell is
    // checked against the destination map's own size.
    const long long i0 = std::max(0LL, -(long long)source.left);
    const long long i1 = std::min(w, cols - source.left);
    const long long t0 = std::max(0LL, -(long long)source.top);
    const long long t1 = std::min(h, rows - source.top);
    for (long long t = t0; t < t1; ++t)
    {
        const long long destRow = mode == 2 ? target.bottom - 1LL - t : target.top + t;
        for (long long i = i0; i < i1; ++i)
        {
            const long long destCol = mode == 1 ? target.right - 1LL - i : target.left + i;
            if (!Inside(*dest, destCol, destRow))
                continue;
            Cell cell;
            ReadCell(*this, (int)(source.left + i), (int)(source.top + t), cell);
            if (mode != 0)
                MirrorCell(mode, cell);
            WriteCell(*dest, (int)destCol, (int)destRow, cell);
        }
    }
}

void CRasterImage::ResampleCells(const CRasterImage* source, int cols, int rows, double factor,
                                 int mode)
{
    if (source == NULL || !HasCells(*this) || !HasCells(*source))
        return;
    if (source == this)
    {
        CRasterImage copy;
        CopyImage(*this, copy);
        ResampleCells(&copy, cols, rows, factor, mode);
        copy.Free();
        return;
    }
    const int lastCol = source->width / CellBlock - 1;
    const int lastRow = source->height / CellBlock - 1;
    cols = std::min(cols, width / CellBlock);
    rows = std::min(rows, height / CellBlock);
    for (int y = 0; y < rows; ++y)
    {
        const int sy = ResampleIndex(y, factor, mode, lastRow);
        for (int x = 0; x < cols; ++x)
        {
            const int a = ColourA(*source, ResampleIndex(x, factor, mode, lastCol), sy);
            SetCell(x, y, ShapeWhole, CellWhole, a, a, a, a, 0, 0, 0, 0);
        }
    }
}

void CRasterImage::MajorityFilterCells(CRasterImage* dest, int size, int cols, int rows) const
{
    if (dest == NULL || !HasCells(*this))
        return;
    if (dest == this)
    {
        CRasterImage copy;
        CopyImage(*this, copy);
        copy.MajorityFilterCells(dest, size, cols, rows);
        copy.Free();
        return;
    }
    cols = std::min(cols, width / CellBlock);
    rows = std::min(rows, height / CellBlock);
    const int r = std::max(size / 2, 0);
    for (int y = 0; y < rows; ++y)
    {
        for (int x = 0; x < cols; ++x)
        {
            // At most eight distinct colours are counted, in order of first appearance.
            int colours[8], counts[8], distinct = 0;
            const int x0 = std::max(x - r, 0), x1 = std::min(x + r, cols - 1);
            const int y0 = std::max(y - r, 0), y1 = std::min(y + r, rows - 1);
            for (int wx = x0; wx <= x1; ++wx)
            {
                for (int wy = y0; wy <= y1; ++wy)
                {
                    const int colour = ColourA(*this, wx, wy);
                    int k = 0;
                    while (k < distinct && colours[k] != colour)
                        ++k;
                    if (k < distinct)
                        ++counts[k];
                    else if (distinct < 8)
                    {
                        colours[distinct] = colour;
                        counts[distinct++] = 1;
                    }
                }
            }
            int winner = 0, best = 0;
            for (int k = 0; k < distinct; ++k)
            {
                if (counts[k] > best)
                {
                    best = counts[k];
                    winner = colours[k];
                }
            }
            // The result is a whole tile; a partial code on it would draw nothing, so only a
            // hole stays a hole.
            const int shape = data[(size_t)y * CellBlock * width + (size_t)x * CellBlock];
            dest->SetCell(x, y, shape == ShapeHole ? ShapeHole : ShapeWhole, CellWhole, winner,
                          winner, winner, winner, 0, 0, 0, 0);
        }
    }
}

void CRasterImage::GenerateTriangles()
{
    if (!HasCells(*this))
        return;
    const int cols = width / CellBlock, rows = height / CellBlock;
    // A cell reads only its four neighbours: the ones above and to the left are already done
    // and the ones below and to the right not yet, whether the sweep goes by columns or by
    // rows. Rows outer gives the same map and walks the buffer in memory order.
    for (int row = 1; row <= rows - 2; ++row)
    {
        for (int col = 1; col <= cols - 2; ++col)
        {
            Cell cell;
            ReadCell(*this, col, row, cell);
            // A tile the user has cut keeps its parts: its shape code means nothing for the
            // triangle kinds.
            if (cell.shape != ShapeWhole && cell.shape != ShapeHole)
                continue;
            Cell above, below, left, right;
            ReadCell(*this, col, row - 1, above);
            ReadCell(*this, col, row + 1, below);
            ReadCell(*this, col - 1, row, left);
            ReadCell(*this, col + 1, row, right);
            int p, q, u, v;
            if (!FacingColour(above, PreviousRow, p) || !FacingColour(below, NextRow, q) ||
                !FacingColour(left, PreviousColumn, u) || !FacingColour(right, NextColumn, v))
                continue;
            if (p == u && q == v && p != v)
            {
                cell.kind = CellDiagonalB3;
                cell.colour[0] = v;
                cell.colour[1] = p;
            }
            else if (p == v && q == u && p != u)
            {
                cell.kind = CellDiagonalB0;
                cell.colour[0] = p;
                cell.colour[1] = u;
            }
            else
            {
                continue;
            }
            WriteCell(*this, col, row, cell);
        }
    }
}
