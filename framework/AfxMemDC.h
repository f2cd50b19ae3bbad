// CMemDC: drawing off screen. The memory device context covers a rectangle of the target
// in the target's own coordinates; what is drawn into GetDC() is copied to the target in
// one BitBlt when the object goes, so that a paint shows no intermediate state. When no
// memory context can be had, GetDC() is the target itself.
#pragma once

#include <windows.h>

#include "AfxGdi.h"

class CWnd;

class CMemDC
{
public:
    // The window's client area.
    CMemDC(CDC& dc, CWnd* pWnd);
    CMemDC(CDC& dc, const CRect& rect);
    virtual ~CMemDC();

    CDC& GetDC() { return m_bMemDC ? m_dc : m_dcTarget; }
    BOOL IsMemDC() const { return m_bMemDC; }

protected:
    void Init(const CRect& rect);

    CDC& m_dcTarget;
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;
    CRect m_rect;
    BOOL m_bMemDC;

private:
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;
};
