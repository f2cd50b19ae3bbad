#include "MosaicTest.h"

namespace {

UINT g_lastMessage;
WPARAM g_lastWParam;

LRESULT CALLBACK RecordingWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP || message == WM_LBUTTONDOWN)
    {
        g_lastMessage = message;
        g_lastWParam = wParam;
        return 42;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(Window, RealWindowReceivesSentAndPostedMessages)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MosaicTestWindow";
    ASSERT_NE(RegisterClassW(&wc), 0);

    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Mosaic", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                10, 10, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);

    WCHAR title[32] = {};
    GetWindowTextW(hWnd, title, ARRAYSIZE(title));
    EXPECT_EQ(lstrcmpW(title, L"Mosaic"), 0);

    EXPECT_EQ(SendMessageW(hWnd, WM_APP, 7, 0), 42);
    EXPECT_EQ(g_lastMessage, (UINT)WM_APP);
    EXPECT_EQ(g_lastWParam, (WPARAM)7);

    ASSERT_TRUE(PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(g_lastMessage, (UINT)WM_LBUTTONDOWN);
    EXPECT_EQ(g_lastWParam, (WPARAM)MK_LBUTTON);

    RECT rc;
    ASSERT_TRUE(GetClientRect(hWnd, &rc));
    EXPECT_GT(rc.right, 0);

    EXPECT_TRUE(DestroyWindow(hWnd));
    EXPECT_FALSE(IsWindow(hWnd));
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

} // namespace
