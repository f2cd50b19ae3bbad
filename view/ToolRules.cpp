#include "ToolRules.h"

#include <algorithm>

#include "LangText.h"
#include "RasterImage.h"
#include "RegionTools.h"
#include "TextIds.h"
#include "TilePalette.h"
#include "TileRenderer.h"

namespace
{

void SetAll(int colours[4], int nColour)
{
    for (int i = 0; i < 4; i++)
        colours[i] = nColour;
}

} // namespace

CellFields ReadCellFields(const CRasterImage& map, int nCol, int nRow)
{
    CellFields c = {};
    map.GetCell(nCol, nRow, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2],
                c.colour[3], c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
    return c;
}

void WriteCellFields(CRasterImage& map, int nCol, int nRow, const CellFields& c)
{
    map.SetCell(nCol, nRow, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2],
                c.colour[3], c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
}

// ---- Colours --------------------------------------------------------------------------------

int PressedBarColour(const BarSelection& bar, int base)
{
    int nColour = NoToolColour;
    if (bar.pressed == NULL)
        return nColour;
    for (int k = 0; k < BarColoursPerPage; k++)
        if (bar.pressed[k])
            nColour = base + bar.page * BarColoursPerPage + k;
    return nColour;
}

int ClickColour(int paletteBarMode, const BarSelection& image, const BarSelection& tile)
{
    switch (paletteBarMode)
    {
    case 1: return PressedBarColour(tile, TileColourBase);
    case 2: return PressedBarColour(image, 0);
    default: return NoToolColour;
    }
}

int DragColour(const BarSelection& image, const BarSelection& tile)
{
    const int nTile = PressedBarColour(tile, TileColourBase);
    return nTile != NoToolColour ? nTile : PressedBarColour(image, 0);
}

void BarButtonOfColour(int nColour, int& nPage, int& nButton)
{
    nColour = std::max(nColour, 0);
    nPage = nColour / BarColoursPerPage;
    nButton = nColour % BarColoursPerPage;
}

int FindImageColour(const PaletteEntry* colours, int nCount, const PaletteEntry& entry)
{
    nCount = std::min(nCount, (int)C2Palette::ColourCount);
    for (int i = 0; i < nCount; i++)
        if (colours[i].peRed == entry.peRed && colours[i].peGreen == entry.peGreen &&
            colours[i].peBlue == entry.peBlue)
            return i;
    return -1;
}

// ---- Where a click lands --------------------------------------------------------------------

BOOL LocateTile(const ShownMosaic& m, int nCutMode, CPoint pt, TileSpot& spot)
{
    const int P = m.pavingType;
    const int n = m.n;
    if (n < 1 || pt.x < 0 || pt.y < 0 || pt.x >= m.width || pt.y >= m.height)
        return FALSE;
    MosaicHit hit;
    int nCol = 0, nRow = 0;
    const BOOL bHit = HitTestMosaic(m.width, m.height, m.map, n, m.cols, m.rows, m.originCol,
                                    m.originRow, P, m.masks0, m.masks1, nCutMode, pt.x, pt.y,
                                    hit);
    if (bHit)
    {
        nCol = hit.column;
        nRow = hit.row;
    }
    // A joint or a gap between round tiles: the tile whose place it is.
    else if (!MosaicTileAtPlace(n, m.cols, m.rows, m.originCol, m.originRow, P, pt.x, pt.y,
                                nCol, nRow))
    {
        return FALSE;
    }
    // The box as the renderer places it, also where it reaches out of the picture.
    const RECT box = MosaicTileBox(n, m.rows, m.originCol, m.originRow, P, nCol, nRow);
    spot.col = nCol;
    spot.row = nRow;
    spot.x = box.left;
    spot.y = box.top;
    spot.localX = std::min(std::max(pt.x - box.left, 0), n - 1);
    spot.localY = std::min(std::max(n - 1 - (pt.y - box.top), 0), n - 1);
    spot.part = 1;
    if (bHit)
        spot.part = hit.part;
    else
        QuadrantOfPoint(nCutMode, n, spot.localX, spot.localY, spot.part);
    return TRUE;
}

CPoint RegionPointOfSpot(const CRasterImage& map, int n, const TileSpot& spot)
{
    const CellFields cell = ReadCellFields(map, spot.col, spot.row);
    int bx = 0, by = 0;
    RegionPointOfTilePixel(cell.kind, n, spot.localX, spot.localY, bx, by);
    return CPoint(CellBlock * spot.col + bx, CellBlock * spot.row + by);
}

// ---- One tile -------------------------------------------------------------------------------

UINT CutUndoText(int nCutMode)
{
    switch (nCutMode)
    {
    case 0: return TXT_UNDO_WHOLE_TILES;
    case 1: return TXT_UNDO_HALVES;
    case 3: return TXT_UNDO_DIAGONAL_HALVES;
    case 5: return TXT_UNDO_QUARTERS;
    case 6: return TXT_UNDO_DIAGONAL_QUARTERS;
    default: return 0;
    }
}

int CutEdgeKind(int nPavingType, int nCols, int nRows, int nCol, int nRow, int* pShape)
{
    int nKind = 0, nShape = 0;
    if (!PavingBorderCell(nPavingType, nCols, nRows, nCol, nRow, nKind, nShape) ||
        nShape == ShapeHole)
        return 0;
    if (pShape != NULL)
        *pShape = nShape;
    return nKind;
}

void ApplyCut(int nCutMode, int nEdgeKind, int nPart, int nColour, int& nKind, int colours[4])
{
    if (nEdgeKind != 0 && CutUndoText(nCutMode) != 0)
    {
        nKind = nEdgeKind;
        SetAll(colours, nColour);
        return;
    }
    // Per part under the pointer (1-4): the kind, and the colour that takes the tool's colour.
    static const int kHalves[4][2] = {{1, 1}, {1, 0}, {2, 1}, {2, 0}};
    static const int kDiagonalHalves[4][2] = {{3, 0}, {3, 1}, {4, 1}, {4, 0}};
    static const int kQuarters[4] = {1, 2, 0, 3};
    static const int kDiagonalQuarters[4] = {2, 1, 3, 0};
    const int i = std::min(std::max(nPart, 1), 4) - 1;
    switch (nCutMode)
    {
    case 0:
        nKind = CellWhole;
        SetAll(colours, nColour);
        break;
    case 1:
        nKind = kHalves[i][0];
        colours[kHalves[i][1]] = nColour;
        break;
    case 3:
        nKind = kDiagonalHalves[i][0];
        colours[kDiagonalHalves[i][1]] = nColour;
        break;
    case 5:
        nKind = CellQuarters;
        colours[kQuarters[i]] = nColour;
        break;
    case 6:
        nKind = CellTriangles;
        colours[kDiagonalQuarters[i]] = nColour;
        break;
    default:
        break;
    }
}

void TurnCut(int& nKind, int colours[4], BOOL bLeft)
{
    const int c0 = colours[0], c1 = colours[1], c2 = colours[2], c3 = colours[3];
    switch (nKind)
    {
    case 1:
    case 3:
        // The other kind of the pair; the colours change places when turning left.
        nKind++;
        if (bLeft)
            std::swap(colours[0], colours[1]);
        break;
    case 2:
    case 4:
        nKind--;
        if (!bLeft)
            std::swap(colours[0], colours[1]);
        break;
    case 5:
    case 6:
        if (bLeft)
        {
            colours[0] = c1; colours[1] = c3; colours[2] = c0; colours[3] = c2;
        }
        else
        {
            colours[0] = c2; colours[1] = c0; colours[2] = c3; colours[3] = c1;
        }
        break;
    default:
        break;
    }
}

BOOL ShadeVariants(int variants[4], UINT nKey, int nPaletteKind)
{
    if (nPaletteKind < 1 || nPaletteKind > 4 || nKey < VK_LEFT || nKey > VK_DOWN)
        return FALSE;
    const int S = PaletteShadeCount(nPaletteKind);
    for (int i = 0; i < 4; i++)
    {
        int q = 0, s = 0;
        SplitVariantIndex(variants[i], q, s, nPaletteKind);
        switch (nKey)
        {
        case VK_LEFT: q = q == 3 ? 0 : q + 1; break;
        case VK_RIGHT: q = q == 0 ? 3 : q - 1; break;
        case VK_UP: s = s == S - 1 ? 0 : s + 1; break;
        case VK_DOWN: s = s == 0 ? S - 1 : s - 1; break;
        }
        variants[i] = q + 4 * s;
    }
    return TRUE;
}

// ---- Brush ----------------------------------------------------------------------------------

void PaintBrushCells(CRasterImage& map, int nCols, int nRows, int nCol, int nRow, int nColour,
                     BYTE* lost)
{
    if (ReadCellFields(map, nCol, nRow).shape == ShapeHole)
        return;
    static const int kOffsets[9][2] = {{1, 0},  {-1, 0}, {0, 1},  {0, -1}, {-1, 1},
                                       {1, -1}, {1, 1},  {-1, -1}, {0, 0}};
    for (const auto& offset : kOffsets)
    {
        const int c = nCol + offset[0];
        const int r = nRow + offset[1];
        if (c < 0 || r < 0 || c >= nCols || r >= nRows)
            continue;
        const CellFields cell = ReadCellFields(map, c, r);
        if (cell.shape == ShapeHole)
            continue;
        if (lost != NULL)
            for (int p = 0; p < CellPartCount(cell.kind); p++)
                if (cell.colour[p] != nColour && TilePartLaid(cell.kind, cell.shape, p))
                    lost[cell.colour[p] & 0xFF] = 1;
        map.SetCell(c, r, ShapeWhole, CellWhole, nColour, nColour, nColour, nColour,
                    cell.variant[0], cell.variant[1], cell.variant[2], cell.variant[3]);
    }
}

BOOL AnyColourGone(const CRasterImage& map, int nCols, int nRows, const BYTE* lost)
{
    BYTE missing[C2Palette::ColourCount];
    int nMissing = 0;
    for (int c = 0; c < C2Palette::ColourCount; c++)
        nMissing += missing[c] = lost[c] != 0;
    // Most colours turn up within a few rows.
    for (int r = 0; r < nRows && nMissing > 0; r++)
        for (int c = 0; c < nCols && nMissing > 0; c++)
        {
            const CellFields cell = ReadCellFields(map, c, r);
            if (cell.shape == ShapeHole)
                continue;
            for (int p = 0; p < CellPartCount(cell.kind); p++)
            {
                const int colour = cell.colour[p] & 0xFF;
                if (missing[colour] && TilePartLaid(cell.kind, cell.shape, p))
                {
                    missing[colour] = 0;
                    nMissing--;
                }
            }
        }
    return nMissing > 0;
}

CRect BrushRedrawRect(int nPavingType, int nZoom, int x, int y)
{
    const int P = nPavingType;
    auto X = [&](int n) { return TileToPixelX(P, nZoom, n, 0); };
    auto Y = [&](int n) { return TileToPixelY(P, nZoom, n, 0); };
    if (P == PavingSquares)
        return CRect(x - X(1), y - Y(1), x + X(2), y + Y(2));
    if (P == PavingTriangles)
        return CRect(x - X(2), y - Y(4), x + X(3), y + Y(4));
    return CRect(x - X(2), y - Y(1), x + X(3), y + Y(3));
}

// ---- Texts ----------------------------------------------------------------------------------

double RunLength(int nPavingType, int nPitch, int nCount, BOOL bAcross, int nUnits)
{
    const int nLength = bAcross ? TileToPixelX(nPavingType, nPitch, nCount, 1)
                                : TileToPixelY(nPavingType, nPitch, nCount, 1);
    return nUnits == 0 ? nLength / 100000.0 : nLength / 1000.0 / 12.0;
}

CString MeasureText(LPCTSTR lpszLabel, double dValue, LPCTSTR lpszUnit)
{
    CString strText;
    strText.Format(L"%s = %.3f %s", lpszLabel, dValue, lpszUnit);
    return strText;
}

CString ColourDescription(const C2Palette& palette, int nColour)
{
    nColour &= 0xFF;
    if (!palette.m_colourNames[nColour].IsEmpty())
        return palette.m_colourNames[nColour];
    const PaletteEntry& e = palette.m_colours[nColour];
    CString strText;
    strText.Format(L"(%s = %d, %s = %d, %s = %d)", (LPCTSTR)GetLangText(TXT_RED), e.peRed,
                   (LPCTSTR)GetLangText(TXT_GREEN), e.peGreen, (LPCTSTR)GetLangText(TXT_BLUE),
                   e.peBlue);
    return strText;
}

CString TileReportText(const C2Palette& palette, int nKind, const int colours[4])
{
    auto d = [&](int i) { return ColourDescription(palette, colours[i]); };
    CString strText;
    switch (nKind)
    {
    case 1:
    case 2:
    case 3:
    case 4:
        strText.Format(L"%s %s/%s",
                       (LPCTSTR)GetLangText(nKind <= 2 ? TXT_CELL_HALVES
                                                       : TXT_CELL_DIAGONAL_HALVES),
                       (LPCTSTR)d(1), (LPCTSTR)d(0));
        break;
    case 5:
    case 6:
        strText.Format(L"%s %s/%s/%s/%s",
                       (LPCTSTR)GetLangText(nKind == 5 ? TXT_CELL_QUARTERS
                                                       : TXT_CELL_DIAGONAL_QUARTERS),
                       (LPCTSTR)d(1), (LPCTSTR)d(0), (LPCTSTR)d(2), (LPCTSTR)d(3));
        break;
    default:
        strText = d(0);
        break;
    }
    return strText;
}

// ---- Frames ---------------------------------------------------------------------------------

CRect ToolClickArea(CSize sizeClient, BOOL bTextStamp, int nTextWidth)
{
    return CRect(0, 0, sizeClient.cx, sizeClient.cy + (bTextStamp ? nTextWidth : 0));
}

CRect StampFrameAt(int nPavingType, int nZoom, CPoint pt, int nTextWidth, int nTextHeight,
                   CSize sizeClient, CPoint ptMosaicEnd)
{
    const int m = TileToPixelX(nPavingType, nZoom, nTextWidth / 2, 0);
    const int t = TileToPixelY(nPavingType, nZoom, nTextHeight / 2, 0);
    // A frame larger than the room keeps its left and top edges at the start.
    const int x = std::max(std::min(pt.x, std::min(sizeClient.cx, ptMosaicEnd.x) - m), m);
    const int y = std::max(std::min(pt.y, std::min(sizeClient.cy, ptMosaicEnd.y) - t), t);
    return CRect(x - m, y - t, x + m, y + t);
}

