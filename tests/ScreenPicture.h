// What the screen shows: the whole screen as a picture, its pixels, and a copy kept for a
// look.
#pragma once

#include <string>

#include <windows.h>

#include "AfxPath.h"
#include "AfxString.h"
#include "OpenCv.h"

// The screen as it is now, in BGR. Wine copies what windows draw to the display while the
// program waits for messages: they are let through for a moment first, unless a modal loop
// (an open menu) runs and lets them through itself.
inline cv::Mat CaptureScreen(bool bLetPaint = true)
{
    for (int i = 0; bLetPaint && i < 3; i++)
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
        Sleep(40);
    }
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    BitBlt(hDC, 0, 0, cx, cy, hScreen, 0, 0, SRCCOPY);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    cv::Mat picture(cy, cx, CV_8UC4);
    GetDIBits(hDC, hBitmap, 0, cy, picture.data, &info, DIB_RGB_COLORS);
    cv::Mat screen;
    cv::cvtColor(picture, screen, cv::COLOR_BGRA2BGR);
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    ReleaseDC(NULL, hScreen);
    return screen;
}

inline COLORREF PixelAt(const cv::Mat& picture, int x, int y)
{
    const cv::Vec3b& bgr = picture.at<cv::Vec3b>(y, x);
    return RGB(bgr[2], bgr[1], bgr[0]);
}

// How many pixels of the rectangle (screen) differ from the colour, leaving out those in the
// rectangle rectOut.
inline int CountOtherThan(const cv::Mat& picture, const RECT& rect, COLORREF crColour,
                          const RECT& rectOut = RECT{0, 0, 0, 0})
{
    int nCount = 0;
    for (int y = rect.top; y < rect.bottom; y++)
        for (int x = rect.left; x < rect.right; x++)
        {
            const POINT pt = {x, y};
            if (!PtInRect(&rectOut, pt) && PixelAt(picture, x, y) != crColour)
                nCount++;
        }
    return nCount;
}

// Kept in the temporary folder for a look.
inline void KeepPicture(const cv::Mat& picture, LPCWSTR lpszName)
{
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    cv::imwrite(std::string(AfxGetUnixPath(CString(szTemp) + lpszName).GetString()), picture);
}
