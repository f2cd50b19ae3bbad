#include "TileRenderer.h"

#include <string.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "TileCell.h"

namespace
{

// Pixel codes of the pass: 1 to 4 the colour of part A to D; the others name a colour-table
// entry (0 entry 0, -1 entry 1, -2, -6, -7, -12), or leave the pixel as it is.
enum
{
    CodeBackground = 0,
    CodeJoint = -1,
    CodeLabelBlack = -6,
    CodeLabelWhite = -7,
    CodeOutside = -12,
    CodeLeave = -256
};

int EntryOfCode(int code)
{
    return -code;
}

// The covered plane of scales of the first kind, kept from call to call: a new one for each
// repaint would cost its allocation and the page faults of its first writes. Cleared whole
// unless bClear is false: drawing clears each row as it first reaches it.
BYTE* CoveredPlane(size_t size, bool bClear)
{
    static std::vector<BYTE> s_plane;
    if (s_plane.size() < size)
        s_plane.resize(size);
    if (bClear)
        memset(s_plane.data(), 0, size);
    return s_plane.data();
}

bool HasBuffer(const CRasterImage* image)
{
    return image != NULL && image->data != NULL && image->width > 0 && image->height > 0 &&
           (ULONGLONG)image->width * (ULONGLONG)image->height <= image->size;
}

// One decoded cell; outside when it lies beyond the mosaic or the map.
struct CellInfo
{
    bool outside;
    int shape;
    int kind;
    int colour[4];
    int variant[4];
    // per part the texture square drawn, NULL for the flat colour; set only for the cells
    // that the pass draws (RowCells), not for the neighbours it looks at
    const CRasterImage* texture[4];
};

// Everything one call needs, fixed before the pass.
struct Pass
{
    // picture
    BYTE* out;              // NULL when only hit-testing without a picture
    int width;
    int height;
    // mosaic
    const CRasterImage* map;
    int mapCols;
    int mapRows;
    int n;
    int h;
    int type;
    int columnEnd;
    int rows;
    int firstColumn;
    int showJoints;
    int neighbourJoints;
    int displayMode;
    const CRasterImage* masks0;
    const CRasterImage* masks1;
    const CRasterImage* labelImages;
    const int* labelStates;
    bool textures;
    const CRasterImage* textureSet;
    int textureSlots;
    int paletteKind;
    const PaletteEntry* imageColours;
    const PaletteEntry* tileColours;
    const CString* notes;
    // Texture slot of colour c with variant v: slotBase[c] + variantOffset[v], where a
    // negative base means no texture. Worked out once a call: the lookup by colour searches
    // the tile palette.
    int slotBase[256];
    int variantOffset[256];
    const BYTE* table;
    // hit test
    bool hitTest;
    bool hitByKey;          // the point is the marker pixel rather than a given point
    int hitX;
    int hitY;
    int cutMode;
    bool hitFound;
    MosaicHit hit;
    int foundX;             // the pixel where the hit was found
    int foundY;
    // scales of the first kind: pixels already drawn by an earlier row, one byte a pixel
    BYTE* covered;
    // the codes of split and cut cells, shared by the cells of a picture row that are alike;
    // NULL where a pixel's code depends on more than the cell's kind and shape
    class CodeRows* codeRows;
};

// State of one picture row: the tile row it belongs to and the tile-local y.
struct RowState
{
    int row;
    int y;
    bool up;                // the row's triangles point up: the masks of orientation 0
    bool shifted;           // the row starts half a tile to the left
    const BYTE* mask;       // mask row y, NULL when the mask has none
    int maskWidth;
    int maskBegin;          // the mask row's first and past its last non-zero value
    int maskEnd;
};

// TilePartAt with the half tile h = RoundHalfAway(n / 2) already known.
int PartAt(int kind, int n, int h, int x, int y)
{
    switch (kind)
    {
    case CellDiagonalB3:
        return y < x ? 0 : 1;
    case CellDiagonalB0:
        return n - x - 2 < y ? 0 : 1;
    case CellHalvesRows:
        return y >= h ? 0 : 1;
    case CellHalvesBytes:
        return x >= h ? 0 : 1;
    case CellQuarters:
    case CellTriangles:
    {
        const bool first = kind == CellQuarters ? x < h : y < x;
        const bool second = kind == CellQuarters ? y < h : n - x - 2 < y;
        if (first)
            return second ? 0 : 1;
        return second ? 2 : 3;
    }
    default:
        return 0;
    }
}

// Fills cell in place: the pass decodes a row of cells at a time into its own store.
void ReadCell(const Pass& p, int col, int row, CellInfo& cell)
{
    if (row < 0 || row >= p.rows || col < 0 || col >= p.columnEnd || col >= p.mapCols ||
        row >= p.mapRows)
    {
        memset(&cell, 0, sizeof(cell));
        cell.outside = true;
        return;
    }
    const int w = p.map->width;
    const BYTE* b = p.map->data + (size_t)col * CellBlock + (size_t)row * CellBlock * w;
    cell.outside = false;
    cell.shape = b[0];
    cell.kind = b[1] <= CellTriangles ? (int)b[1] : (int)CellWhole;
    cell.colour[0] = b[2];
    cell.colour[1] = b[3];
    cell.colour[2] = b[w];
    cell.colour[3] = b[w + 1];
    cell.variant[0] = b[w + 2];
    cell.variant[1] = b[w + 3];
    cell.variant[2] = b[2 * w];
    cell.variant[3] = b[2 * w + 1];
}

CellInfo ReadCell(const Pass& p, int col, int row)
{
    CellInfo cell;
    ReadCell(p, col, row, cell);
    return cell;
}

// Lines between the parts of a split cell (joint pixels inside the tile).
bool InnerJoint(const Pass& p, const CellInfo& cell, int col, int row, int x, int y)
{
    const int n = p.n;
    const int h = p.h;
    const bool squares = p.type == PavingSquares;
    const bool lastColumn = col == p.columnEnd - 1;
    switch (cell.kind)
    {
    case CellDiagonalB3:
        return x == y;
    case CellDiagonalB0:
        if (squares || p.type == PavingHexagons)
            return x + y + 2 == n;
        return x + y + 1 == n;
    case CellHalvesRows:
        if (squares || row == p.rows - 1)
            return y == h - 1;
        return y == h;
    case CellHalvesBytes:
        if (!squares && p.type != PavingHexagons && !lastColumn)
            return x == h;
        return x == h - 1;
    case CellQuarters:
    {
        int hx = h, hy = h;
        if (squares)
            hx = hy = h - 1;
        else if (p.type == PavingHexagons || lastColumn)
            hx = h - 1;
        switch (cell.shape)
        {
        case 0: case 9: case 10: case 11: case 12:
            return x == hx || y == hy;
        case 1:
            return x == hx || (y == hy && x < hx);
        case 2:
            return x == hx || (y == hy && x > hx);
        case 3:
            return y <= hy && (x == hx || y == hy);
        case 4:
            return y == hy || (x == hx && y > hy);
        case 5:
            return (y <= hy && (x == 0 || x == hx || (y == hy && x < hx))) ||
                   (squares && y == 0 && x < hx);
        case 6:
            return (x == hx && y > hy) || (y == hy && x < hx) || (squares && x == 0 && y > hy);
        case 7:
            return (x == hx && y < hy) || (y == hy && x >= hx) || (squares && y == 0 && x > hx);
        case 8:
            return (x == hx && y >= hy) || (y == hy && x >= hx);
        default:
            return false;
        }
    }
    case CellTriangles:
    {
        const int c1 = squares ? y : y - 1;
        const int c2 = squares ? n - 2 - x : (p.type == PavingScales2 ? n - x : n - 1 - x);
        const bool d1 = x == c1;
        const bool d2 = y == c2;
        switch (cell.shape)
        {
        case 0: case 9: case 10: case 11: case 12:
            return d1 || d2;
        case 1:
            return d1 || (d2 && x > c1) || (squares && y == 0);
        case 2:
            return d1 || (d2 && x < c1) || (squares && x == 0);
        case 3:
            return (d1 && y > c2) || d2;
        case 4:
            return (d1 && y < c2) || d2 || (squares && (x == 0 || y == 0));
        case 5:
            return (d1 && y >= c2) || (d2 && x >= c1);
        case 6:
            return (d1 && y <= c2) || (d2 && x >= c1) || (squares && y == 0);
        case 7:
            return (d1 && y >= c2) || (d2 && x <= c1);
        case 8:
            return (d1 && y <= c2) || (d2 && x <= c1) || (squares && x == 0);
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

// Squares: the left (bottom) edge of a laid tile whose neighbour lacks the adjoining part.
bool NeighbourJoint(const Pass& p, int col, int row, int x, int y)
{
    const int h = p.h;
    if (x == 0 && col > 0)
    {
        const CellInfo left = ReadCell(p, col - 1, row);
        if (!left.outside)
        {
            if (left.shape == ShapeHole)
                return true;
            // Top and bottom halves: code 4 keeps only the top, code 3 only the bottom.
            if (left.kind == CellHalvesRows && left.shape == 4 && y < h - 1)
                return true;
            if (left.kind == CellHalvesRows && left.shape == 3 && y >= h - 1)
                return true;
        }
    }
    if (y == 0)
    {
        const CellInfo below = ReadCell(p, col, row + 1);
        if (!below.outside)
        {
            if (below.shape == ShapeHole)
                return true;
            // Left and right halves: code 1 keeps only the right, code 2 only the left.
            if (below.kind == CellHalvesBytes && below.shape == 1 && x < h - 1)
                return true;
            if (below.kind == CellHalvesBytes && below.shape == 2 && x >= h - 1)
                return true;
        }
    }
    return false;
}

// Corrections of partial tiles along the mosaic's border; CodeLeave when none applies.
int EdgeCorrection(const Pass& p, const CellInfo& cell, int col, int row, int x, int y,
                   bool shifted)
{
    const int h = p.h;
    const int type = p.type;
    const bool lastColumn = col == p.columnEnd - 1;
    const bool lastRow = row == p.rows - 1;
    if (shifted && lastColumn && x >= h)
        return CodeOutside;
    switch (cell.kind)
    {
    case CellHalvesRows:
        // Only the patterns whose last row is a half row; triangles and crossed joints end on
        // whole rows, where a halved tile is the user's cut.
        if (type == PavingSquares || type == PavingTriangles || type == PavingCrossedJoints)
            break;
        if (lastRow && y < h)
            return CodeOutside;
        if (type == PavingCircles)
        {
            if (row == 0 && cell.shape == 3 && y > h)
                return CodeBackground;
            if (lastRow && cell.shape == 4 && y < h - 1)
                return CodeBackground;
        }
        break;
    case CellHalvesBytes:
        if (type == PavingSquares || !lastColumn)
            break;
        if ((type == PavingCircles || type == PavingScales1 || type == PavingScales2) &&
            cell.shape == 2 && x >= h)
            return CodeBackground;
        if (type == PavingDiamonds && x > p.n / 2)
            return CodeBackground;
        break;
    case CellQuarters:
        if (row != 0)
            break;
        if (type == PavingHexagons)
        {
            if (lastColumn && x >= h)
                return CodeOutside;
        }
        else if (type == PavingCircles)
        {
            if (cell.shape == 5)
            {
                if (x >= h)
                    return lastColumn ? CodeOutside : CodeBackground;
            }
            else if (cell.shape == 7)
            {
                if (x < h - 1)
                    return CodeBackground;
            }
            else if (lastColumn && x >= h)
            {
                return CodeOutside;
            }
        }
        break;
    case CellWhole:
        if (type == PavingTriangles && lastColumn && row == 1 && x >= h)
            return CodeBackground;
        break;
    default:
        break;
    }
    return CodeLeave;
}

bool LabelAt(const Pass& p, int kind, int colour, int x, int y)
{
    if (p.labelImages == NULL)
        return false;
    const CRasterImage& label = p.labelImages[kind * 256 + colour];
    if (!HasBuffer(&label) || label.type != 0)
        return false;
    const int ly = p.n - 1 - y;
    if (x >= label.width || ly < 0 || ly >= label.height)
        return false;
    return label.data[(size_t)ly * label.width + x] == 1;
}

// The code of one pixel of a cell that is not outside, where the mask is m (not 0).
int PixelCode(const Pass& p, const CellInfo& cell, int col, const RowState& r, int x, int m)
{
    const int y = r.y;
    int code = CodeBackground;
    bool laid = false;
    if (cell.shape != ShapeHole)
    {
        const int part = PartAt(cell.kind, p.n, p.h, x, y);
        laid = TilePartLaid(cell.kind, cell.shape, part) != FALSE;
        if (laid)
        {
            code = 1 + part;
            if ((p.displayMode == 1 || p.displayMode == 2) && p.labelStates != NULL)
            {
                const int colour = cell.colour[part];
                const int state = p.labelStates[colour];
                if ((state == -6 || state == -7) && LabelAt(p, cell.kind, colour, x, y))
                    code = state == -6 ? CodeLabelBlack : CodeLabelWhite;
            }
        }
        // The whole outline is joint, also around the missing part of a cut tile, so that
        // the place of the missing part shows.
        if (p.showJoints)
        {
            if (m == 2 || InnerJoint(p, cell, col, r.row, x, y))
                code = CodeJoint;
            else if (p.neighbourJoints && p.type == PavingSquares && cell.shape == ShapeWhole &&
                     (x == 0 || y == 0) && NeighbourJoint(p, col, r.row, x, y))
                code = CodeJoint;
        }
    }
    const int corrected = EdgeCorrection(p, cell, col, r.row, x, y, r.shifted);
    return corrected != CodeLeave ? corrected : code;
}

// Codes of the pixels of one picture row for each kind, shape and column class of cell met
// on it. Without labels and neighbour joints a code depends on nothing else, so a row of
// many split tiles works each pattern out once.
class CodeRows
{
public:
    CodeRows() : m_slots((size_t)(CellTriangles + 1) * 256 * 2) {}

    // The codes of x = 0 to n - 1 (CodeLeave where the mask is 0).
    const short* Get(const Pass& p, const CellInfo& cell, int col, const RowState& r)
    {
        if (r.row != m_row || r.y != m_y)
        {
            m_row = r.row;
            m_y = r.y;
            ++m_stamp;
            m_codes.clear();
        }
        const bool lastColumn = col == p.columnEnd - 1;
        Slot& slot = m_slots[((size_t)cell.kind * 256 + (cell.shape & 255)) * 2 + lastColumn];
        if (slot.stamp != m_stamp)
        {
            slot.stamp = m_stamp;
            slot.offset = m_codes.size();
            m_codes.resize(m_codes.size() + p.n);
            short* codes = &m_codes[slot.offset];
            for (int x = 0; x < p.n; ++x)
            {
                const int m = x < r.maskWidth ? r.mask[x] : 0;
                codes[x] = (short)(m != 0 ? PixelCode(p, cell, col, r, x, m) : CodeLeave);
            }
        }
        return &m_codes[slot.offset];
    }

private:
    struct Slot
    {
        unsigned stamp = 0;
        size_t offset = 0;
    };
    std::vector<Slot> m_slots;
    std::vector<short> m_codes;
    unsigned m_stamp = 0;
    int m_row = INT_MIN;
    int m_y = INT_MIN;
};

// Colour source of each part of one cell on one picture row: a texture row or a flat colour.
struct PartColours
{
    BYTE rgb[4][3];
    const BYTE* texture[4];  // texture row, NULL for the flat colour
    int textureWidth[4];
};

// The texture squares of the parts of a cell (CellInfo::texture).
void ResolveCellTextures(const Pass& p, CellInfo& cell)
{
    cell.texture[0] = cell.texture[1] = cell.texture[2] = cell.texture[3] = NULL;
    if (!p.textures || cell.outside)
        return;
    // A whole tile shows only part A, a halved one A and B.
    const int parts = cell.kind == CellWhole ? 1 : cell.kind < CellQuarters ? 2 : 4;
    for (int part = 0; part < parts; ++part)
    {
        const int base = p.slotBase[cell.colour[part]];
        if (base < 0)
            continue;
        const int slot = base + p.variantOffset[cell.variant[part]];
        if (slot >= p.textureSlots)
            continue;
        const CRasterImage& tex = p.textureSet[slot];
        if (HasBuffer(&tex) && tex.type == 1)
            cell.texture[part] = &tex;
    }
}

// Row y of a texture square, NULL when the square has no such row.
inline const BYTE* TextureRow(const Pass& p, const CRasterImage* tex, int y)
{
    const int ty = p.n - 1 - y;
    if (tex == NULL || ty < 0 || ty >= tex->height)
        return NULL;
    return tex->data + 3 * (size_t)ty * tex->width;
}

void ResolvePartColours(const Pass& p, const CellInfo& cell, int y, PartColours& pc)
{
    for (int part = 0; part < 4; ++part)
    {
        const PaletteEntry& e = p.imageColours[cell.colour[part]];
        pc.rgb[part][0] = e.peRed;
        pc.rgb[part][1] = e.peGreen;
        pc.rgb[part][2] = e.peBlue;
        pc.texture[part] = TextureRow(p, cell.texture[part], y);
        pc.textureWidth[part] = pc.texture[part] != NULL ? cell.texture[part]->width : 0;
    }
}

// The colour a code stands for at tile-local x; NULL to leave the pixel.
inline const BYTE* ColourOfCode(const Pass& p, const PartColours& pc, int code, int x)
{
    if (code == CodeLeave)
        return NULL;
    if (p.displayMode == 1 && code != CodeJoint && code != CodeLabelBlack)
        code = CodeLabelWhite;
    if (code > 0)
    {
        const int part = code - 1;
        if (pc.texture[part] != NULL && x < pc.textureWidth[part])
            return pc.texture[part] + 3 * x;
        return pc.rgb[part];
    }
    return p.table + 3 * EntryOfCode(code);
}

inline void Put(BYTE* dst, const BYTE* colour)
{
    dst[0] = colour[0];
    dst[1] = colour[1];
    dst[2] = colour[2];
}

// count pixels of one colour: the first put, the others copied from those already there in
// blocks that double.
inline void FillPixels(BYTE* dst, const BYTE* colour, int count)
{
    if (count <= 0)
        return;
    Put(dst, colour);
    const size_t total = 3 * (size_t)count;
    for (size_t done = 3; done < total;)
    {
        const size_t block = std::min(done, total - done);
        memcpy(dst + done, dst, block);
        done += block;
    }
}

void RecordHit(Pass& p, int col, const RowState& r, int px, int py, int x)
{
    p.hitFound = true;
    p.foundX = px;
    p.foundY = py;
    p.hit.column = col;
    p.hit.row = r.row;
    p.hit.left = px - x;
    p.hit.top = std::max(0, py - (p.n - 1 - r.y));
    int part = 1;
    QuadrantOfPoint(p.cutMode, p.n, x, r.y, part);
    p.hit.part = part;
}

// Pixels x0 to x1 - 1 of a tile span that lie outside the mosaic.
void OutsideSpan(Pass& p, const RowState& r, int x0, int x1, int px, int py)
{
    BYTE* covered = p.covered != NULL ? p.covered + (size_t)py * p.width + px : NULL;
    if (p.hitTest)
    {
        // Nothing to find here, but a later row of scales must not take these pixels.
        if (covered != NULL)
            for (int x = x0; x < x1; ++x)
                covered[x - x0] = 1;
        return;
    }
    BYTE* dst = p.out + 3 * ((size_t)py * p.width + px);
    const BYTE* colour = ColourOfCode(p, PartColours(), CodeOutside, 0);
    for (int x = x0; x < x1; ++x, dst += 3)
    {
        if (covered != NULL)
        {
            BYTE& c = covered[x - x0];
            if (r.y >= p.h && c)
                continue;
            c = 1;
        }
        Put(dst, colour);
    }
}

// Pixels x0 to x1 - 1 of cell col on picture row py, starting at picture x px.
void CellSpan(Pass& p, const RowState& r, const CellInfo& cell, int col, int x0, int x1, int px,
              int py)
{
    BYTE* dst = p.out != NULL ? p.out + 3 * ((size_t)py * p.width + px) : NULL;
    BYTE* covered = p.covered != NULL ? p.covered + (size_t)py * p.width + px : NULL;
    const BYTE* maskRow = r.mask;
    const int maskWidth = maskRow != NULL ? std::min(r.maskWidth, x1) : 0;
    // Plain tiles come here only in a hit test: drawing takes PlainSpan for them.
    PartColours pc;
    ResolvePartColours(p, cell, r.y, pc);
    if (p.codeRows != NULL)
    {
        // Drawing with the codes this row's cells of the kind share.
        const short* codes = p.codeRows->Get(p, cell, col, r);
        const bool upperHalf = r.y >= p.h;
        // ColourOfCode with what it reads held here: the pixels written could otherwise be
        // taken to change the pass and the colours, read again for every pixel.
        const bool labelsWhite = p.displayMode == 1;
        const BYTE* const table = p.table;
        const BYTE* texture[4];
        const BYTE* flat[4];
        int textureWidth[4];
        for (int part = 0; part < 4; ++part)
        {
            texture[part] = pc.texture[part];
            textureWidth[part] = pc.texture[part] != NULL ? pc.textureWidth[part] : 0;
            flat[part] = pc.rgb[part];
        }
        for (int x = x0; x < maskWidth; ++x, dst += 3)
        {
            int code = codes[x];
            if (code == CodeLeave)
                continue;
            if (covered != NULL)
            {
                BYTE& c = covered[x - x0];
                if (upperHalf && c)
                    continue;
                c = 1;
            }
            if (labelsWhite && code != CodeJoint && code != CodeLabelBlack)
                code = CodeLabelWhite;
            const BYTE* colour;
            if (code > 0)
            {
                const int part = code - 1;
                colour = x < textureWidth[part] ? texture[part] + 3 * x : flat[part];
            }
            else
            {
                colour = table + 3 * EntryOfCode(code);
            }
            Put(dst, colour);
        }
        return;
    }
    for (int x = x0; x < x1; ++x, dst += 3)
    {
        const int m = x < maskWidth ? maskRow[x] : 0;
        if (m == 0)
            continue;
        const int sx = px + (x - x0);
        if (p.hitTest && !p.hitByKey && sx != p.hitX)
            continue;
        if (covered != NULL)
        {
            BYTE& c = covered[x - x0];
            if (r.y >= p.h && c)
                continue;
            c = 1;
        }
        const int code = PixelCode(p, cell, col, r, x, m);
        if (p.hitTest)
        {
            if (code == CodeOutside)
                continue;
            if (p.hitByKey)
            {
                // The marker is a pixel in the key grey that this tile would not draw grey.
                const BYTE* key = p.table + 3 * ColourHitKey;
                const BYTE* own = ColourOfCode(p, pc, code, x);
                if (dst[0] != key[0] || dst[1] != key[1] || dst[2] != key[2])
                    continue;
                if (own != NULL && own[0] == key[0] && own[1] == key[1] && own[2] == key[2])
                    continue;
            }
            RecordHit(p, col, r, sx, py, x);
            continue;
        }
        const BYTE* colour = ColourOfCode(p, pc, code, x);
        if (colour != NULL)
            Put(dst, colour);
    }
}

// The colour of pixel x of a plain tile: its texture row where it has one, else its colour.
inline const BYTE* PlainColour(const BYTE* tile, const BYTE* texture, int textureWidth, int x)
{
    return x < textureWidth ? texture + 3 * x : tile;
}

// The pixels of a plain tile (IsPlainTile) on one picture row: tile colour or texture inside,
// joint on the edge.
inline void PlainSpan(const Pass& p, const RowState& r, const BYTE* tile, const BYTE* texture,
                      int textureWidth, int x0, int x1, int px, int py)
{
    if (texture == NULL)
        textureWidth = 0;
    const BYTE* joint = p.showJoints ? p.table + 3 * ColourJoint : NULL;
    // Only the part of the row that the tile's shape covers.
    const int begin = std::max(x0, r.maskBegin);
    const int end = std::min(x1, r.maskEnd);
    if (begin >= end)
        return;
    BYTE* dst = p.out + 3 * ((size_t)py * p.width + px + (begin - x0));
    const BYTE* mask = r.mask;
    if (p.covered == NULL)
    {
        for (int x = begin; x < end; ++x, dst += 3)
        {
            const BYTE m = mask[x];
            if (m != 0)
                Put(dst, m == 2 && joint != NULL ? joint
                                                 : PlainColour(tile, texture, textureWidth, x));
        }
        return;
    }
    BYTE* covered = p.covered + (size_t)py * p.width + px - x0;
    const bool upperHalf = r.y >= p.h;
    for (int x = begin; x < end; ++x, dst += 3)
    {
        const BYTE m = mask[x];
        if (m == 0 || (upperHalf && covered[x]))
            continue;
        covered[x] = 1;
        Put(dst, m == 2 && joint != NULL ? joint : PlainColour(tile, texture, textureWidth, x));
    }
}

// Tile-local x0 to x1 - 1 of tile column col on picture row py, starting at picture x px.
void RenderSpan(Pass& p, const RowState& r, const CellInfo& cell, int col, int x0, int x1,
                int px, int py)
{
    // The last column of the patterns with shifted rows lies outside on unshifted rows, and
    // its right half does on shifted rows.
    int outsideFrom = cell.outside ? 0 : p.n;
    if (!cell.outside && col == p.columnEnd - 1 && p.type != PavingSquares)
        outsideFrom = r.shifted ? p.h : 0;
    const int split = std::max(x0, std::min(x1, outsideFrom));
    if (split > x0)
        CellSpan(p, r, cell, col, x0, split, px, py);
    if (split < x1)
        OutsideSpan(p, r, split, x1, px + (split - x0), py);
}

// Rows by which the band of a new tile row starts above the end of the previous band.
int RowOverlap(int type, int n, int h, int rows, int newRow)
{
    int overlap = 0;
    switch (type)
    {
    case PavingDiamonds:
    case PavingScales1:
    case PavingScales2:
        overlap = h;
        break;
    case PavingHexagons:
        overlap = HexagonCorner(n);
        break;
    case PavingCircles:
        overlap = RoundHalfAway(n - std::sqrt((double)n * n - (double)h * h));
        break;
    case PavingTriangles:
        // The two triangles of a pair share one band.
        return SharesBandWithRowAbove(type, rows, newRow) ? n : 0;
    default:
        return 0;
    }
    // A band must still move the pass down by at least one row.
    return std::max(0, std::min(overlap, n - 1));
}

int RowOverlap(const Pass& p, int newRow)
{
    return RowOverlap(p.type, p.n, p.h, p.rows, newRow);
}

// The patterns whose first row is drawn whole; the others show it from its middle.
bool StartsWithWholeBand(int type)
{
    return type == PavingSquares || type == PavingTriangles || type == PavingCrossedJoints;
}

int ClampFirstRow(int firstRow, int rows)
{
    return firstRow > rows ? rows + 1 : firstRow;
}

// The row the pass starts with for a picture whose top shows firstRow: the first row of its
// band, never one the pattern does not place.
int StartRow(int type, int rows, int firstRow)
{
    int row = ClampFirstRow(firstRow, rows);
    if (row >= rows)
        return row;
    row = std::max(row, FirstPavingRow(type, rows));
    if (SharesBandWithRowAbove(type, rows, row))
        --row;
    return row;
}

// Picture row of the top of the start row's tiles, for a half tile h.
int StartTop(int type, int n, int h)
{
    const int y = StartsWithWholeBand(type) ? n - 1 : std::max(h - 1, 0);
    return -(n - 1 - y);
}

const CRasterImage* MaskFor(const Pass& p, bool up)
{
    const CRasterImage* set = up ? p.masks0 : (p.masks1 != NULL ? p.masks1 : p.masks0);
    if (set == NULL)
        return NULL;
    const CRasterImage* mask = &set[p.type];
    return HasBuffer(mask) && mask->type == 0 ? mask : NULL;
}

void SetRowState(const Pass& p, RowState& r)
{
    r.up = TrianglePointsUp(p.rows, r.row) != FALSE;
    r.shifted = IsShiftedRow(p.type, p.rows, r.row) != FALSE;
    const CRasterImage* mask = MaskFor(p, r.up);
    r.mask = NULL;
    r.maskWidth = 0;
    r.maskBegin = 0;
    r.maskEnd = 0;
    if (mask != NULL && r.y < mask->height)
    {
        r.mask = mask->data + (size_t)r.y * mask->width;
        r.maskWidth = mask->width;
        r.maskBegin = r.maskWidth;
        for (int x = 0; x < r.maskWidth; ++x)
            if (r.mask[x] != 0)
            {
                r.maskBegin = std::min(r.maskBegin, x);
                r.maskEnd = x + 1;
            }
    }
}

// A whole tile away from the border: PixelCode would give each of its pixels the tile's
// colour (its texture's pixel where it has one) inside the mask and the joint on its edge,
// whatever else holds.
bool IsPlainTile(const Pass& p, const CellInfo& cell, int col)
{
    return !cell.outside && cell.shape == ShapeWhole && cell.kind == CellWhole &&
           !(col == p.columnEnd - 1 && p.type != PavingSquares) && p.displayMode == 0 && !(p.neighbourJoints && p.showJoints && p.type == PavingSquares);
}

// What the drawing of a picture row needs of one cell, kept small: a row of them is gone
// through once for each picture row of the band.
struct RowCell
{
    const BYTE* texture;    // a plain tile's texture square, NULL for its flat colour
    int textureWidth;
    int textureHeight;
    int outsideRun;         // outside cells from this one on, among those decoded
    bool outside;
    bool plain;
    BYTE tile[3];
};

// The cells of one tile row from the first column on, decoded once for all the picture rows
// of the row's band.
class RowCells
{
public:
    const CellInfo& At(const Pass& p, int row, int col)
    {
        const int i = col - p.firstColumn;
        if (row != m_row || i >= m_decoded)
            Decode(p, row, i);
        return m_info[i];
    }

    // The first count cells of the row, from the first column on.
    const RowCell* Row(const Pass& p, int row, int count)
    {
        if (count <= 0)
            return NULL;
        const int decoded = m_decoded;
        At(p, row, p.firstColumn + count - 1);
        if (m_decoded != decoded || row != m_runRow)
        {
            m_runRow = row;
            int run = 0;
            for (int i = m_decoded - 1; i >= 0; --i)
            {
                run = m_cells[i].outside ? run + 1 : 0;
                m_cells[i].outsideRun = run;
            }
        }
        return m_cells.data();
    }

    // The decoded cells of the row that Row last gave.
    const CellInfo* Info() const { return m_info.data(); }

private:
    void Decode(const Pass& p, int row, int i)
    {
        if (row != m_row)
        {
            m_row = row;
            m_decoded = 0;
        }
        if ((size_t)i >= m_cells.size())
        {
            m_cells.resize((size_t)i * 2 + 16);
            m_info.resize(m_cells.size());
        }
        while (m_decoded <= i)
        {
            RowCell& entry = m_cells[m_decoded];
            CellInfo& cell = m_info[m_decoded];
            const int c = p.firstColumn + m_decoded;
            ReadCell(p, c, row, cell);
            ResolveCellTextures(p, cell);
            entry.outside = cell.outside;
            entry.plain = IsPlainTile(p, cell, c);
            const CRasterImage* texture = entry.plain ? cell.texture[0] : NULL;
            entry.texture = texture != NULL ? texture->data : NULL;
            entry.textureWidth = texture != NULL ? texture->width : 0;
            entry.textureHeight = texture != NULL ? texture->height : 0;
            const PaletteEntry& e = p.imageColours[cell.colour[0]];
            entry.tile[0] = e.peRed;
            entry.tile[1] = e.peGreen;
            entry.tile[2] = e.peBlue;
            ++m_decoded;
        }
    }

    std::vector<RowCell> m_cells;
    std::vector<CellInfo> m_info;
    int m_row = INT_MIN;
    int m_decoded = 0;
    int m_runRow = INT_MIN;     // the row whose outside runs are counted
};

// One picture row of a drawing pass; x is the tile-local x of the picture's left edge.
void DrawPictureRow(Pass& p, const RowState& r, RowCells& cells, int x, int py)
{
    const int n = p.n;
    const int spans = (p.width + x + n - 1) / n;
    const RowCell* cell = cells.Row(p, r.row, spans);
    const BYTE* joint = p.showJoints ? p.table + 3 * ColourJoint : NULL;
    const BYTE* mask = r.mask;
    const int begin = r.maskBegin;
    const int end = std::min(r.maskEnd, n);
    int col = p.firstColumn;
    int px = 0;
    // Scales of the first kind: the upper half of a tile leaves the pixels of the picture row
    // that an earlier tile row drew; the lower half draws all of its own.
    BYTE* const coveredRow = p.covered != NULL ? p.covered + (size_t)py * p.width : NULL;
    const bool upperHalf = r.y >= p.h;
    // Plain tiles wholly inside the picture are drawn here, the others by PlainSpan and
    // RenderSpan.
    for (int i = 0; i < spans; ++i, ++cell, ++col)
    {
        const int span = std::min(n - x, p.width - px);
        if (cell->outside)
        {
            // Cells outside the mosaic (past its last column, or all of a row past its last)
            // come in runs: one fill for the run.
            const int run = std::min(cell->outsideRun, spans - i);
            const int count = std::min(n - x + (run - 1) * n, p.width - px);
            i += run - 1;
            cell += run - 1;
            col += run - 1;
            const BYTE* colour = ColourOfCode(p, PartColours(), CodeOutside, 0);
            BYTE* dst = p.out + 3 * ((size_t)py * p.width + px);
            if (p.covered == NULL)
            {
                FillPixels(dst, colour, count);
            }
            else
            {
                // As OutsideSpan: a later row of scales does not paint over the upper half.
                BYTE* covered = p.covered + (size_t)py * p.width + px;
                if (!upperHalf)
                {
                    FillPixels(dst, colour, count);
                    memset(covered, 1, (size_t)count);
                }
                else
                {
                    for (int k = 0; k < count; ++k, dst += 3)
                    {
                        if (covered[k])
                            continue;
                        covered[k] = 1;
                        Put(dst, colour);
                    }
                }
            }
            px += count;
            x = 0;
            continue;
        }
        if (!cell->plain)
        {
            RenderSpan(p, r, cells.Info()[i], col, x, x + span, px, py);
            px += span;
            x = 0;
            continue;
        }
        // Row y of the tile's texture square, where it has one.
        const int ty = n - 1 - r.y;
        const BYTE* texture = cell->texture != NULL && ty >= 0 && ty < cell->textureHeight
                                  ? cell->texture + 3 * (size_t)ty * cell->textureWidth
                                  : NULL;
        const int textureWidth = texture != NULL ? cell->textureWidth : 0;
        if (x == 0 && span == n && p.covered == NULL)
        {
            const BYTE* tile = cell->tile;
            const BYTE* edge = joint != NULL ? joint : tile;
            BYTE* dst = p.out + 3 * ((size_t)py * p.width + px + begin);
            if (texture == NULL)
            {
                for (int t = begin; t < end; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0)
                        Put(dst, m == 2 ? edge : tile);
                }
            }
            else
            {
                for (int t = begin; t < end; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0)
                        Put(dst, m == 2 && joint != NULL
                                     ? joint
                                     : PlainColour(tile, texture, textureWidth, t));
                }
            }
        }
        else if (x == 0 && span == n)
        {
            const BYTE* tile = cell->tile;
            BYTE* dst = p.out + 3 * ((size_t)py * p.width + px + begin);
            BYTE* covered = coveredRow + px;
            const BYTE* edge = joint != NULL ? joint : tile;
            // Where the texture row ends, the flat colour takes over.
            const int textureEnd = std::max(begin, std::min(end, textureWidth));
            int t = begin;
            if (!upperHalf)
            {
                for (; t < textureEnd; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0)
                    {
                        covered[t] = 1;
                        Put(dst, m == 2 && joint != NULL ? joint : texture + 3 * t);
                    }
                }
                for (; t < end; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0)
                    {
                        covered[t] = 1;
                        Put(dst, m == 2 ? edge : tile);
                    }
                }
            }
            else
            {
                for (; t < textureEnd; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0 && !covered[t])
                    {
                        covered[t] = 1;
                        Put(dst, m == 2 && joint != NULL ? joint : texture + 3 * t);
                    }
                }
                for (; t < end; ++t, dst += 3)
                {
                    const BYTE m = mask[t];
                    if (m != 0 && !covered[t])
                    {
                        covered[t] = 1;
                        Put(dst, m == 2 ? edge : tile);
                    }
                }
            }
        }
        else
        {
            PlainSpan(p, r, cell->tile, texture, textureWidth, x, x + span, px, py);
        }
        px += span;
        x = 0;
    }
}

// The colour-table entry that the picture row y holds before the tiles are drawn over it;
// -1 where the pass writes every pixel (squares).
int BackgroundEntry(const Pass& p, int y)
{
    switch (p.type)
    {
    case PavingDiamonds:
    case PavingTriangles:
        return y == p.height - 1 ? ColourJoint : ColourBackground;
    case PavingHexagons:
    case PavingScales2:
    case PavingCrossedJoints:
        return ColourBackground;
    case PavingScales1:
        return ColourScalesBackground;
    case PavingCircles:
        return ColourJoint;            // circles stand on the joint colour
    default:
        return -1;
    }
}

// The background of picture rows from to to - 1. The pass lays it a row at a time just
// before it first draws on the row, while the row is still in the cache: laid all at once it
// would cost a pass of its own over a picture larger than the cache.
void FillBackgroundRows(const Pass& p, int from, int to)
{
    for (int y = from; y < to; ++y)
    {
        const int entry = BackgroundEntry(p, y);
        if (entry >= 0)
            FillPixels(p.out + 3 * (size_t)y * p.width, p.table + 3 * entry, p.width);
    }
}

void RunPass(Pass& p, int firstRow)
{
    const int n = p.n;
    const int h = p.h;
    RowCells cells;
    CodeRows codeRows;
    const bool labels = (p.displayMode == 1 || p.displayMode == 2) && p.labelStates != NULL;
    const bool neighbours = p.neighbourJoints && p.showJoints && p.type == PavingSquares;
    p.codeRows = !p.hitTest && !labels && !neighbours ? &codeRows : NULL;
    RowState r;
    r.row = StartRow(p.type, p.rows, firstRow);
    r.y = n - 1 + StartTop(p.type, n, h);
    SetRowState(p, r);
    int py = 0;
    int filled = 0;         // picture rows whose background is laid
    while (py < p.height)
    {
        if (!p.hitTest)
        {
            if (py >= filled)
            {
                FillBackgroundRows(p, filled, py + 1);
                if (p.covered != NULL)
                    memset(p.covered + (size_t)filled * p.width, 0,
                           (size_t)(py + 1 - filled) * p.width);
                filled = py + 1;
            }
            // Shifted rows start half a tile to the left.
            DrawPictureRow(p, r, cells, r.shifted ? h : 0, py);
        }
        else if (p.hitByKey || py == p.hitY)
        {
            int x = r.shifted ? h : 0;
            int col = p.firstColumn;
            int px = 0;
            while (px < p.width)
            {
                const int span = std::min(n - x, p.width - px);
                if ((p.hitX >= px && p.hitX < px + span) || p.hitByKey)
                    RenderSpan(p, r, cells.At(p, r.row, col), col, x, x + span, px, py);
                px += span;
                ++col;
                x = 0;
            }
        }
        ++py;
        if (--r.y < 0)
        {
            ++r.row;
            r.y = n - 1;
            py = std::max(0, py - RowOverlap(p, r.row));
        }
        SetRowState(p, r);
    }
    if (!p.hitTest)
        FillBackgroundRows(p, filled, p.height);
}

// The texture slot tables of a pass with textures: the slot of a colour's part is that of
// FindPaletteColourOffset for its colour, turn and shade, and a colour without a note has none.
void FillTextureSlots(Pass& p)
{
    const int shades = PaletteShadeCount(p.paletteKind);
    for (int c = 0; c < 256; ++c)
    {
        p.slotBase[c] = -1;
        if (!p.notes[c].IsEmpty())
        {
            const PaletteEntry& e = p.imageColours[c];
            p.slotBase[c] = FindPaletteColourOffset(
                p.paletteKind, RGB(e.peRed, e.peGreen, e.peBlue), 0, 0, p.tileColours);
        }
        int quarter = 0, shade = 0;
        SplitVariantIndex(c, quarter, shade, p.paletteKind);
        p.variantOffset[c] = std::min(std::max(shade, 0), shades - 1) * 4 + quarter;
    }
}

// Fills the parts of a Pass that do not depend on the picture. FALSE when nothing can be done.
bool PreparePass(Pass& p, const CRasterImage* map, int n, int columnEnd, int rows,
                 int firstColumn, int pavingType, const CRasterImage* masks0,
                 const CRasterImage* masks1)
{
    if (n < 1 || pavingType < 0 || pavingType >= PavingTypeCount || masks0 == NULL)
        return false;
    p.map = map;
    p.mapCols = HasBuffer(map) && map->type == 0 ? map->width / CellBlock : 0;
    p.mapRows = HasBuffer(map) && map->type == 0 ? map->height / CellBlock : 0;
    p.n = n;
    p.h = RoundHalfAway(n * 0.5);
    p.type = pavingType;
    p.columnEnd = columnEnd;
    p.rows = rows;
    p.firstColumn = firstColumn;
    p.masks0 = masks0;
    p.masks1 = masks1;
    return true;
}

} // namespace

int TilePartAt(int kind, int n, int x, int y)
{
    return PartAt(kind, n, RoundHalfAway(n * 0.5), x, y);
}

BOOL TilePartLaid(int kind, int shape, int part)
{
    if (shape == ShapeWhole)
        return TRUE;
    switch (kind)
    {
    case CellDiagonalB3:
        return part == 0 ? shape == 2 : shape == 1;
    case CellDiagonalB0:
    case CellHalvesRows:
        return part == 0 ? shape == 4 : shape == 3;
    case CellHalvesBytes:
        return part == 0 ? shape == 1 : shape == 2;
    case CellQuarters:
    case CellTriangles:
    {
        // Bit s set when code s lays the part.
        static const unsigned kLaid[4] = {
            (1u << 1) | (1u << 3) | (1u << 5) | (1u << 10) | (1u << 11) | (1u << 12),
            (1u << 1) | (1u << 4) | (1u << 6) | (1u << 9) | (1u << 11) | (1u << 12),
            (1u << 2) | (1u << 3) | (1u << 7) | (1u << 9) | (1u << 10) | (1u << 12),
            (1u << 2) | (1u << 4) | (1u << 8) | (1u << 9) | (1u << 10) | (1u << 11),
        };
        if (part < 0 || part > 3 || shape < 0 || shape > 31)
            return FALSE;
        return (kLaid[part] >> shape) & 1u ? TRUE : FALSE;
    }
    default:
        return FALSE;   // a whole tile is laid only with code 0
    }
}

void RenderMosaic(CRasterImage* picture, int displayMode, const CRasterImage* map, int n,
                  int showJoints, int columnEnd, int rows, int firstColumn, int firstRow,
                  int pavingType, const CRasterImage* labelImages, const CRasterImage* masks0,
                  const CRasterImage* masks1, int hitTest, int cutMode, int* hitColumn,
                  int* hitRow, int* hitX, int* hitY, int* hitPart, const int* labelStates,
                  int neighbourJoints, int texturesOn, const CRasterImage* textures,
                  const BYTE* colourTable, const PaletteEntry* imageColours,
                  const PaletteEntry* tileColours, int paletteKind, const CString* notes,
                  const POINT* hitPoint)
{
    if (!HasBuffer(picture) || picture->type != 1 || colourTable == NULL ||
        imageColours == NULL)
        return;
    Pass p;
    if (!PreparePass(p, map, n, columnEnd, rows, firstColumn, pavingType, masks0, masks1))
        return;
    p.out = picture->data;
    p.width = picture->width;
    p.height = picture->height;
    p.showJoints = showJoints;
    p.neighbourJoints = neighbourJoints;
    p.hitTest = hitTest != 0;
    p.displayMode = p.hitTest ? 0 : displayMode;
    p.labelImages = labelImages;
    p.labelStates = labelStates;
    p.textureSet = textures;
    p.paletteKind = paletteKind;
    // Plain palettes have no texture sets.
    p.textureSlots = paletteKind >= 1 && paletteKind <= 4
                         ? 256 * PaletteShadeCount(paletteKind) * 4 : 0;
    p.textures = texturesOn != 0 && textures != NULL && tileColours != NULL && notes != NULL &&
                 p.textureSlots > 0;
    p.imageColours = imageColours;
    p.tileColours = tileColours;
    p.notes = notes;
    if (p.textures)
        FillTextureSlots(p);
    p.table = colourTable;
    p.cutMode = cutMode;
    p.hitFound = false;
    p.hitByKey = p.hitTest && hitPoint == NULL;
    p.hitX = hitPoint != NULL ? hitPoint->x : -1;
    p.hitY = hitPoint != NULL ? hitPoint->y : -1;
    if (p.hitTest && !p.hitByKey &&
        (p.hitX < 0 || p.hitY < 0 || p.hitX >= p.width || p.hitY >= p.height))
        return;
    p.covered = pavingType == PavingScales1
                    ? CoveredPlane((size_t)p.width * p.height, p.hitTest)
                    : NULL;

    RunPass(p, firstRow);

    if (p.hitTest && p.hitFound)
    {
        if (hitColumn != NULL) *hitColumn = p.hit.column;
        if (hitRow != NULL) *hitRow = p.hit.row;
        if (hitX != NULL) *hitX = p.hit.left;
        if (hitY != NULL) *hitY = p.hit.top;
        if (hitPart != NULL) *hitPart = p.hit.part;
        picture->SetRgb(p.foundX, p.foundY, colourTable + 3 * ColourHitMark);
    }
}

BOOL HitTestMosaic(int pictureWidth, int pictureHeight, const CRasterImage* map, int n,
                   int columnEnd, int rows, int firstColumn, int firstRow, int pavingType,
                   const CRasterImage* masks0, const CRasterImage* masks1, int cutMode, int x,
                   int y, MosaicHit& hit)
{
    hit.column = hit.row = hit.left = hit.top = hit.part = -1;
    if (x < 0 || y < 0 || x >= pictureWidth || y >= pictureHeight)
        return FALSE;
    Pass p;
    if (!PreparePass(p, map, n, columnEnd, rows, firstColumn, pavingType, masks0, masks1))
        return FALSE;
    static const BYTE kTable[3 * DisplayColourCount] = {0};
    static const PaletteEntry kColours[256] = {};
    p.out = NULL;
    p.width = pictureWidth;
    p.height = pictureHeight;
    p.showJoints = 0;
    p.neighbourJoints = 0;
    p.displayMode = 0;
    p.labelImages = NULL;
    p.labelStates = NULL;
    p.textures = false;
    p.textureSet = NULL;
    p.textureSlots = 0;
    p.paletteKind = 0;
    p.imageColours = kColours;
    p.tileColours = NULL;
    p.notes = NULL;
    p.table = kTable;
    p.hitTest = true;
    p.hitByKey = false;
    p.hitX = x;
    p.hitY = y;
    p.cutMode = cutMode;
    p.hitFound = false;
    p.covered = pavingType == PavingScales1
                    ? CoveredPlane((size_t)pictureWidth * pictureHeight, true)
                    : NULL;
    RunPass(p, firstRow);
    if (p.hitFound)
        hit = p.hit;
    return p.hitFound ? TRUE : FALSE;
}

namespace
{

// Tops of the rows of a picture as the pass lays them, worked out from the start row.
class RowTops
{
public:
    RowTops(int n, int rows, int firstRow, int type)
        : m_n(n), m_h(RoundHalfAway(n * 0.5)), m_rows(rows), m_type(type),
          m_start(StartRow(type, rows, firstRow)), m_startTop(StartTop(type, n, m_h))
    {
    }

    int HalfTile() const { return m_h; }

    int Top(int row) const
    {
        int top = m_startTop;
        for (int k = m_start + 1; k <= row; ++k)
            top += Step(k);
        for (int k = row + 1; k <= m_start; ++k)
            top -= Step(k);
        return top;
    }

    // The step from the row before to this one.
    int Step(int row) const { return m_n - RowOverlap(m_type, m_n, m_h, m_rows, row); }

private:
    int m_n;
    int m_h;
    int m_rows;
    int m_type;
    int m_start;
    int m_startTop;
};

// Tile-local x of the picture's left edge on the row: shifted rows start half a tile left.
int RowShift(int type, int rows, int row, int h)
{
    return IsShiftedRow(type, rows, row) ? h : 0;
}

} // namespace

RECT MosaicTileBox(int n, int rows, int firstColumn, int firstRow, int pavingType, int col,
                   int row)
{
    const RowTops tops(n, rows, firstRow, pavingType);
    RECT box;
    box.left = n * (col - firstColumn) - RowShift(pavingType, rows, row, tops.HalfTile());
    box.top = tops.Top(row);
    box.right = box.left + n;
    box.bottom = box.top + n;
    return box;
}

BOOL MosaicTileAtPlace(int n, int cols, int rows, int firstColumn, int firstRow, int pavingType,
                       int x, int y, int& col, int& row)
{
    if (n < 1 || rows < 1 || cols < 1)
        return FALSE;
    const RowTops tops(n, rows, firstRow, pavingType);
    const int first = FirstPavingRow(pavingType, rows);
    int top = tops.Top(first);
    if (y < top)
        return FALSE;
    int found = first;
    int foundTop = top;
    for (int r = first + 1; r < rows; ++r)
    {
        top += tops.Step(r);
        if (top > y)
            break;
        if (top > foundTop)
        {
            found = r;
            foundTop = top;
        }
    }
    if (y >= foundTop + n)
        return FALSE;
    const int shifted = x + RowShift(pavingType, rows, found, tops.HalfTile());
    const int c = firstColumn + (shifted >= 0 ? shifted / n : -((n - 1 - shifted) / n));
    if (c < 0 || c >= cols)
        return FALSE;
    col = c;
    row = found;
    return TRUE;
}

BOOL MosaicBlockInFrame(int n, int cols, int rows, int firstColumn, int firstRow,
                        int pavingType, const RECT& frame, TileBlock& block)
{
    if (n < 1 || rows < 1 || cols < 1)
        return FALSE;
    const RowTops tops(n, rows, firstRow, pavingType);
    // In doubled and quadrupled pixels, to keep the half and quarter tiles whole.
    block.firstRow = block.lastRow = -1;
    const int first = FirstPavingRow(pavingType, rows);
    int top = tops.Top(first);
    for (int r = first; r < rows; ++r)
    {
        if (r > first)
            top += tops.Step(r);
        const long long centre2 = 2LL * top + n;
        if (centre2 <= 2LL * frame.top || centre2 >= 2LL * frame.bottom)
            continue;
        if (block.firstRow < 0)
            block.firstRow = r;
        block.lastRow = r;
    }
    block.firstCol = block.lastCol = -1;
    const int shift = pavingType == PavingSquares ? 0 : tops.HalfTile();
    for (int c = 0; c < cols; ++c)
    {
        const long long centre4 = 4LL * n * (c - firstColumn) + 2LL * n - 2LL * shift;
        if (centre4 <= 4LL * frame.left || centre4 >= 4LL * frame.right)
            continue;
        if (block.firstCol < 0)
            block.firstCol = c;
        block.lastCol = c;
    }
    return block.firstRow >= 0 && block.firstCol >= 0;
}

RECT MosaicBlockFrame(int n, int rows, int firstColumn, int firstRow, int pavingType,
                      const TileBlock& block)
{
    const RowTops tops(n, rows, firstRow, pavingType);
    const int h = tops.HalfTile();
    // Shifted and unshifted rows alternate: a block of two rows or more has both.
    bool anyShifted = false, allShifted = true;
    for (int r = block.firstRow; r <= block.lastRow && r <= block.firstRow + 1; ++r)
    {
        const bool shifted = IsShiftedRow(pavingType, rows, r) != FALSE;
        anyShifted = anyShifted || shifted;
        allShifted = allShifted && shifted;
    }
    RECT frame;
    frame.left = n * (block.firstCol - firstColumn) - (anyShifted ? h : 0);
    frame.right = n * (block.lastCol - firstColumn) + n - (allShifted ? h : 0);
    frame.top = tops.Top(block.firstRow);
    frame.bottom = tops.Top(block.lastRow) + n;
    return frame;
}
