#include "RasterImageTable.h"

CRasterImageTable::~CRasterImageTable()
{
    FreeAll();
    delete[] m_pImages;
}

CRasterImage* CRasterImageTable::Made() const
{
    if (m_pImages == NULL)
        m_pImages = new CRasterImage[m_nCount];
    return m_pImages;
}

void CRasterImageTable::FreeAll()
{
    if (m_pImages == NULL)
        return;
    for (int i = m_nCount - 1; i >= 0; i--)
        m_pImages[i].Free();
}
