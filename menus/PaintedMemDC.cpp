#include "PaintedMemDC.h"

#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"

IMPLEMENT_DYNAMIC(CPaintedMemDC, CDC)

CPaintedMemDC::CPaintedMemDC(const RECT& rect, HDC hTargetDC)
    : m_rect(rect), m_hOldBitmap(NULL), m_hBitmap(NULL), m_bNoCopy(FALSE), m_hTargetDC(hTargetDC)
{
    Attach(::CreateCompatibleDC(hTargetDC));
    m_hBitmap = ::CreateCompatibleBitmap(hTargetDC, m_rect.Width(), m_rect.Height());
    m_hOldBitmap = (HBITMAP)::SelectObject(m_hDC, m_hBitmap);
    ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, NULL);
}

CPaintedMemDC::~CPaintedMemDC()
{
    if (!m_bNoCopy)
        ::BitBlt(m_hTargetDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC,
                 m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(Detach());
}

void CPaintedMemDC::GradientFill(const RECT& rect, COLORREF crFrom, COLORREF crTo,
                                 BOOL bHorizontal, BOOL bPalette)
{
    PaintedGradientFill(m_hDC, rect, crFrom, crTo, bHorizontal, bPalette, TRUE);
}

namespace
{
int Step(int nFrom, int nTo, int n, int nSteps)
{
    return nFrom + MulDiv(nTo - nFrom, n, nSteps);
}
}

void PaintedGradientFill(HDC hDC, const RECT& rect, COLORREF crFrom, COLORREF crTo,
                         BOOL bHorizontal, BOOL bPalette, BOOL bUseSystem)
{
    if (bPalette && ::GetDeviceCaps(hDC, NUMCOLORS) == -1)
        bPalette = FALSE;
    BOOL(WINAPI * pGradientFill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) =
        PaintedMenuLibrary().pGradientFill;
    if (!bPalette && bUseSystem && pGradientFill != NULL)
    {
        TRIVERTEX vertices[2] = {
            {rect.left, rect.top, (COLOR16)(GetRValue(crFrom) << 8),
             (COLOR16)(GetGValue(crFrom) << 8), (COLOR16)(GetBValue(crFrom) << 8), 0},
            {rect.right, rect.bottom, (COLOR16)(GetRValue(crTo) << 8),
             (COLOR16)(GetGValue(crTo) << 8), (COLOR16)(GetBValue(crTo) << 8), 0}};
        GRADIENT_RECT gradient = {0, 1};
        pGradientFill(hDC, vertices, 2, &gradient, 1,
                      bHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    PaintedFillSolid(hDC, rect, crTo);
    const int nExtent = bHorizontal ? rect.right - rect.left : rect.bottom - rect.top;
    const int nSteps = nExtent - 2;
    for (int n = 0; n < nSteps; n += 2)
    {
        COLORREF cr = RGB(Step(GetRValue(crFrom), GetRValue(crTo), n, nSteps),
                          Step(GetGValue(crFrom), GetGValue(crTo), n, nSteps),
                          Step(GetBValue(crFrom), GetBValue(crTo), n, nSteps));
        if (bPalette)
            cr = ::GetNearestColor(hDC, cr);
        RECT band = rect;
        if (bHorizontal)
        {
            band.left = rect.left + n;
            band.right = band.left + 2;
        }
        else
        {
            band.top = rect.top + n;
            band.bottom = band.top + 2;
        }
        PaintedFillSolid(hDC, band, cr);
    }
}
