#include "CellsSnapshot.h"

#include <string.h>

namespace
{
size_t CellBytes(const CRasterImage& map)
{
    return map.data != NULL ? (size_t)map.width * map.height : 0;
}
}   // namespace

bool CCellsSnapshot::Holds(const CRasterImage& map, const void* pFigures, size_t nFigures) const
{
    const size_t nCells = CellBytes(map);
    return m_bTaken && m_width == map.width && m_height == map.height &&
           m_figures.size() == nFigures && m_cells.size() == nCells &&
           (nFigures == 0 || memcmp(m_figures.data(), pFigures, nFigures) == 0) &&
           (nCells == 0 || memcmp(m_cells.data(), map.data, nCells) == 0);
}

void CCellsSnapshot::Take(const CRasterImage& map, const void* pFigures, size_t nFigures)
{
    const BYTE* pBytes = (const BYTE*)pFigures;
    m_figures.assign(pBytes, pBytes + nFigures);
    m_cells.assign(map.data, map.data + CellBytes(map));
    m_width = map.width;
    m_height = map.height;
    m_bTaken = true;
}
