#include "PaintedBrush.h"

#include "MenuColours.h"
#include "PaintedMemDC.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CPaintedBrush, CBrush)

namespace
{
const int kGradientBrushHeight = 20;
const int kGradientLength = 700;
}

CPaintedBrush::CPaintedBrush(int nKind, COLORREF crFrom, COLORREF crTo)
    : m_nKind(nKind), m_crFrom(crFrom), m_crTo(crTo)
{
    const int nClass = GetMenuDisplayFacts().nWinVersionClass;
    if ((nKind == 8 || nKind == 10) && nClass != 2 && nClass != 5)
    {
        const int nWidth = ((::GetSystemMetrics(SM_CXFULLSCREEN) + 16) / 8) * 8;
        HDC hScreen = ::GetDC(NULL);
        HDC hDC = ::CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, nWidth, kGradientBrushHeight);
        ::ReleaseDC(NULL, hScreen);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        RECT rect = {0, 0, nWidth, kGradientBrushHeight};
        PaintedGradientFill(hDC, rect, crTo, crTo, TRUE, FALSE, FALSE);
        rect.right = std::min(nWidth, kGradientLength);
        PaintedGradientFill(hDC, rect, crFrom, crTo, TRUE, FALSE, TRUE);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        Attach(::CreatePatternBrush(hBitmap));
        ::DeleteObject(hBitmap);
        return;
    }
    Attach(::CreateSolidBrush(crFrom));
}

BOOL CPaintedBrush::IsBrushOf(int nKind, COLORREF crFrom, COLORREF crTo) const
{
    return m_nKind == nKind && m_crFrom == crFrom && m_crTo == crTo;
}
