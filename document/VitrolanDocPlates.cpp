// Plates of the laying plan and tile counts per colour.
#include "VitrolanDoc.h"

#include <string.h>

#include "Plaque.h"

namespace
{

// Whether the cell at (col, row) holds something that is laid as part of a plate. Cells
// outside the map count as empty.
bool IsLaidCell(const CRasterImage& map, int col, int row)
{
    if (map.data == NULL || col >= map.width / CellBlock || row >= map.height / CellBlock)
        return false;
    int s, k, a, b, c, d, va, vb, vc, vd;
    map.GetCell(col, row, s, k, a, b, c, d, va, vb, vc, vd);
    if (k == CellWhole)
        return s == ShapeWhole;
    if (k >= CellDiagonalB3 && k <= CellHalvesBytes)
        return s == 0 || s == 1 || s == 2;
    return false;
}

bool ColumnHasLaidCell(const CRasterImage& map, int col, int firstRow, int endRow)
{
    for (int row = firstRow; row < endRow; row++)
        if (IsLaidCell(map, col, row))
            return true;
    return false;
}

// Which parts of a quarter or triangle tile the shape code lays.
bool QuarterPartLaid(int part, int s)
{
    static const int laid[4][7] = {
        {0, 1, 3, 5, 10, 11, 12},
        {0, 1, 4, 6, 9, 11, 12},
        {0, 2, 3, 7, 9, 10, 12},
        {0, 2, 4, 8, 9, 10, 11},
    };
    for (int code : laid[part])
        if (code == s)
            return true;
    return false;
}

} // namespace

int CVitrolanDoc::BuildPlaques()
{
    m_pitch = taillecar + intercar;
    DeletePlaques();
    m_plaqueCount = 0;

    const int cx = carplaquex;
    const int cy = carplaquey;
    // A plate of no width or height cannot be cut (the bands would never advance).
    if (cx >= 1 && cy >= 1)
    {
        // Wide integers so that no plate size, however large, can overflow the bands.
        const long long rows = m_rows;
        const long long cols = m_cols;
        // Plates begin with the first row the paving places (row 1 of triangles of an odd
        // count), so that two rows of triangles that share a band share a plate.
        const long long nFirst = FirstPavingRow(m_pavingType, m_rows);
        int colourIndex = 1;
        int band = 1;
        for (long long bandFrom = 0; bandFrom < rows - nFirst; bandFrom += cy, band++)
        {
            long long firstRow, endRow;
            if (direction == 1)
            {
                endRow = rows - bandFrom;
                firstRow = endRow - cy;
            }
            else
            {
                firstRow = nFirst + bandFrom;
                endRow = firstRow + cy;
            }
            const int scanFirst = (int)(firstRow < nFirst ? nFirst : firstRow);
            const int scanEnd = (int)(endRow > rows ? rows : endRow);

            bool firstInBand = true;
            long long i = 0;
            while (i < cols)
            {
                if (!ColumnHasLaidCell(m_workingMap, (int)i, scanFirst, scanEnd))
                {
                    i++;
                    continue;
                }
                CPlaque* pPlaque = new CPlaque;
                pPlaque->m_number = ++m_plaqueCount;
                pPlaque->m_pavingType = m_pavingType;
                m_plaques.AddHead(pPlaque);

                long long width = cx;
                // A one-tile plate cannot be halved; its bands stay unshifted.
                if (band % 2 == 0 && decalage != 0 && i == 0 && cx >= 2)
                    width = cx / 2;
                pPlaque->m_firstCol = (double)i;
                i += width;
                pPlaque->m_endCol = (double)(i > cols ? cols : i);
                pPlaque->m_firstRow = (double)scanFirst;
                pPlaque->m_endRow = (double)scanEnd;

                if (firstInBand && band > 1)
                    colourIndex = (band - 2) % 3 + 1;
                else
                    colourIndex = colourIndex % 3 + 1;
                firstInBand = false;
                const BYTE* rgb = m_colourTable[7 + colourIndex];
                pPlaque->m_colour = RGB(rgb[0], rgb[1], rgb[2]);
            }
        }
    }

    m_plaquesValid = 1;
    return 1;
}

void CVitrolanDoc::DeletePlaques()
{
    m_plaquePos = m_plaques.GetHeadPosition();
    while (m_plaquePos != NULL)
        delete (CPlaque*)m_plaques.GetNext(m_plaquePos);
    m_plaques.RemoveAll();
}

CPlaque* CVitrolanDoc::FindPlaqueByPage(int nPage)
{
    m_plaquePos = m_plaques.GetHeadPosition();
    while (m_plaquePos != NULL)
    {
        CPlaque* pPlaque = (CPlaque*)m_plaques.GetNext(m_plaquePos);
        if (pPlaque->m_firstPage <= nPage && nPage <= pPlaque->m_lastPage)
            return pPlaque;
    }
    return NULL;
}

CPlaque* CVitrolanDoc::FindPlaqueByNumber(int nNumber)
{
    m_plaquePos = m_plaques.GetHeadPosition();
    while (m_plaquePos != NULL)
    {
        CPlaque* pPlaque = (CPlaque*)m_plaques.GetNext(m_plaquePos);
        if (pPlaque->m_number == nNumber)
            return pPlaque;
    }
    return NULL;
}

void CVitrolanDoc::CountTilesPerColour()
{
    memset(m_tileCounts, 0, sizeof(m_tileCounts));
    m_cellCount = 0;
    m_borderCellCount = 0;

    const int mapCols = m_workingMap.data != NULL ? m_workingMap.width / CellBlock : 0;
    const int mapRows = m_workingMap.data != NULL ? m_workingMap.height / CellBlock : 0;
    const int cols = m_cols < mapCols ? m_cols : mapCols;
    const int rows = m_rows < mapRows ? m_rows : mapRows;
    // Row by row, as the cells lie in memory: the view counts on every repaint. The order
    // changes no count.
    for (int row = 0; row < rows; row++)
        for (int col = 0; col < cols; col++)
        {
            int s, k, part[4], va, vb, vc, vd;
            m_workingMap.GetCell(col, row, s, k, part[0], part[1], part[2], part[3], va, vb,
                                 vc, vd);
            if (s != 0)
                m_borderCellCount += 1;
            if (s == ShapeHole)
                continue;
            m_cellCount++;
            int* t0 = m_tileCounts[0];
            int* t1 = m_tileCounts[1];
            int* t2 = m_tileCounts[2];
            switch (k)
            {
            case CellWhole:
                t0[part[0]]++;
                break;
            case CellDiagonalB3:
                if (s == 0 || s == 2) t2[part[0]]++;
                if (s == 0 || s == 1) t2[part[1]]++;
                break;
            case CellDiagonalB0:
                if (s == 0 || s == 4) t2[part[0]]++;
                if (s == 0 || s == 3) t2[part[1]]++;
                break;
            case CellHalvesRows:
                if (s == 0 || s == 3) t1[part[0]]++;
                if (s == 0 || s == 4) t1[part[1]]++;
                break;
            case CellHalvesBytes:
                if (s == 0 || s == 1) t1[part[0]]++;
                if (s == 0 || s == 2) t1[part[1]]++;
                break;
            case CellQuarters:
            case CellTriangles:
            {
                int* table = m_tileCounts[k == CellQuarters ? 3 : 4];
                for (int p = 0; p < 4; p++)
                    if (QuarterPartLaid(p, s))
                        table[part[p]]++;
                break;
            }
            default:
                break;
            }
        }

    for (int t = 0; t < 5; t++)
    {
        double total = 0;
        for (int c = 0; c < 256; c++)
            total += m_tileCounts[t][c];
        m_countTotals[t] = total;
    }
    const int divisor = m_imagePalette.m_costDivisor;
    for (int c = 0; c < 256; c++)
    {
        const int count = m_tileCounts[0][c] + m_tileCounts[1][c] + m_tileCounts[2][c] +
                          m_tileCounts[3][c] + m_tileCounts[4][c];
        m_colourCosts[c] = divisor == 0 ? 0.0 : count * m_imagePalette.m_values[c] / divisor;
    }
}
