// A fixture with the program started as its entry point starts it, in English, and helpers
// that read what the screen shows.
#pragma once

#include "MosaicTest.h"

#include <memory>
#include <string>

#include "AfxApp.h"
#include "AfxPath.h"
#include "LangText.h"
#include "MainFrm.h"
#include "OpenCv.h"
#include "SavedLanguageValue.h"
#include "VitrolanApp.h"
#include "resource.h"

class RunningMainFrame : public testing::Test
{
protected:
    RunningMainFrame() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        WriteLanguageId(1033);
        CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
        strFolder.Replace(L"/", L"\\");
        SetLangTextFolder(strFolder);
        m_app.reset(new CVitrolanApp);
        m_app->m_lpCmdLine = m_strCommandLine.GetBuffer();
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_NE((CMainFrame*)NULL, Frame());
        ::SetForegroundWindow(Frame()->m_hWnd);
        Pump();
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd != NULL)
            m_app->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, NULL, NULL);
        Pump();
        m_app->ExitInstance();
        m_app.reset();
        SetLangTextFolder(L"");
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
    }
    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strCommandLine;
    std::unique_ptr<CVitrolanApp> m_app;
};

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
