// One cell of the tile-cell map: ten one-byte fields kept in a 4 x 4 block of a type-0
// CRasterImage (cell (col, row) starts at byte col x 4 + row x 4 x width).
#pragma once

#include <windows.h>

// Cell kinds: how a tile is split into parts A to D.
enum CellKind
{
    CellWhole = 0,           // one part, colour A
    CellDiagonalB3 = 1,      // two triangles, B towards byte 3 of block row 3
    CellDiagonalB0 = 2,      // two triangles, B towards byte 0 of block row 3
    CellHalvesRows = 3,      // A in block rows 0-1, B in rows 2-3
    CellHalvesBytes = 4,     // B in bytes 0-1, A in bytes 2-3
    CellQuarters = 5,        // four quarters
    CellTriangles = 6        // four triangles meeting at the centre
};

// Shape codes (field 0). 1 to 12 name the parts of a split tile that are laid.
enum CellShape
{
    ShapeWhole = 0,          // the whole tile is laid
    ShapeHole = 16           // no tile in this cell
};

// Size in bytes of one cell's block in the current map and in the two older layouts.
enum
{
    CellBlock = 4,
    OldCellBlock3x3 = 3,     // documents of version 20
    OldCellBlock2x2 = 2      // documents before version 20
};

// Byte offsets of the ten fields inside a 4 x 4 block, counted with a row length of 4; the
// map itself uses its own row length, so field f lies at block row TileCellRow[f], byte
// TileCellByte[f].
struct TileCell
{
    BYTE shape;              // shape code
    BYTE kind;               // CellKind
    BYTE colour[4];          // A to D: image-palette indices
    BYTE variant[4];         // A to D: texture variants

    enum { FieldCount = 10 };
};

// The cell as its mirror image shows it: mode 1 left to right, mode 2 top to bottom. Kind,
// colours and shape code follow the mirror; variants stay; a kind outside 0-6 is left as it is.
void MirrorTileCell(int mode, TileCell& cell);

// Place of field f (0 shape, 1 kind, 2-5 colours A-D, 6-9 variants A-D) in the block.
inline int TileCellFieldRow(int field) { return field / 4; }
inline int TileCellFieldByte(int field) { return field % 4; }
