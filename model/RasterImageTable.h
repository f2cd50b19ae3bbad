// A fixed number of pictures that exist only from their first use. A document holds tens of
// thousands of texture pictures that a session without textures never needs, and making them
// all with the document was a noticeable part of start-up.
#pragma once

#include "RasterImage.h"

class CRasterImageTable
{
public:
    explicit CRasterImageTable(int nCount) : m_pImages(NULL), m_nCount(nCount) {}
    ~CRasterImageTable();

    int GetCount() const { return m_nCount; }
    // Whether the pictures have been made; they are by any access below.
    BOOL IsMade() const { return m_pImages != NULL; }
    CRasterImage* GetData() { return Made(); }
    const CRasterImage* GetData() const { return Made(); }
    CRasterImage& operator[](int i) { return Made()[i]; }
    const CRasterImage& operator[](int i) const { return Made()[i]; }
    CRasterImage* begin() { return Made(); }
    CRasterImage* end() { return Made() + m_nCount; }
    const CRasterImage* begin() const { return Made(); }
    const CRasterImage* end() const { return Made() + m_nCount; }

    // Frees the buffer of each picture; makes none.
    void FreeAll();

private:
    CRasterImageTable(const CRasterImageTable&);
    CRasterImageTable& operator=(const CRasterImageTable&);
    CRasterImage* Made() const;

    mutable CRasterImage* m_pImages;
    int m_nCount;
};
