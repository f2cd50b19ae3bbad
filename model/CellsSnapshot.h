// The cells of a map and the figures that a result was worked out from, kept to tell whether
// the result still holds. A comparison of the bytes catches every way the cells change,
// however a caller writes them, where a change counter would depend on each writer.
#pragma once

#include <vector>

#include "RasterImage.h"

class CCellsSnapshot
{
public:
    // Whether the map's cells and the figures are those of the last Take.
    bool Holds(const CRasterImage& map, const void* pFigures, size_t nFigures) const;
    void Take(const CRasterImage& map, const void* pFigures, size_t nFigures);

private:
    bool m_bTaken = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<BYTE> m_figures;
    std::vector<BYTE> m_cells;
};
