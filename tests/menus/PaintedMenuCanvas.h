// A screen-compatible bitmap to draw menu parts into and read back pixel by pixel.
#pragma once

#include <windows.h>

#include <functional>

class CPaintedMenuCanvas
{
public:
    CPaintedMenuCanvas(int cx, int cy, COLORREF crBack = RGB(1, 2, 3)) : m_cx(cx), m_cy(cy)
    {
        HDC hScreen = GetDC(NULL);
        m_hDC = CreateCompatibleDC(hScreen);
        m_hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
        ReleaseDC(NULL, hScreen);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        Clear(crBack);
    }
    ~CPaintedMenuCanvas()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    CPaintedMenuCanvas(const CPaintedMenuCanvas&) = delete;
    CPaintedMenuCanvas& operator=(const CPaintedMenuCanvas&) = delete;

    void Clear(COLORREF cr)
    {
        RECT rect = {0, 0, m_cx, m_cy};
        HBRUSH hBrush = CreateSolidBrush(cr);
        FillRect(m_hDC, &rect, hBrush);
        DeleteObject(hBrush);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_hDC, x, y); }
    int Count(const RECT& rect, const std::function<bool(COLORREF)>& test) const
    {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                n += test(At(x, y));
        return n;
    }

    HDC m_hDC;
    int m_cx, m_cy;

private:
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};
