// CPaintedMemDC: an off-screen device context over a rectangle of a target device context,
// in the target's coordinates; copied to the target when it goes, unless told otherwise.
#pragma once

#include "AfxGdi.h"
#include "AfxGeometry.h"

class CPaintedMemDC : public CDC
{
    DECLARE_DYNAMIC(CPaintedMemDC)
public:
    CPaintedMemDC(const RECT& rect, HDC hTargetDC);
    virtual ~CPaintedMemDC();

    // A gradient from crFrom at the left (or top) to crTo at the right (or bottom). With
    // bPalette on a palette device, or without the system's gradient, it is drawn in bands
    // 2 pixels wide through the device's nearest colours.
    void GradientFill(const RECT& rect, COLORREF crFrom, COLORREF crTo, BOOL bHorizontal,
                      BOOL bPalette = FALSE);

    CRect m_rect;
    HBITMAP m_hOldBitmap;
    HBITMAP m_hBitmap;
    BOOL m_bNoCopy;
    HDC m_hTargetDC;
};

// The same gradient on any device context; bUseSystem FALSE draws the bands.
void PaintedGradientFill(HDC hDC, const RECT& rect, COLORREF crFrom, COLORREF crTo,
                         BOOL bHorizontal, BOOL bPalette, BOOL bUseSystem);
