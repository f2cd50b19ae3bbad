// What the system tells top-level windows only (colour and palette changes) reaching the
// windows inside them, WinHelp, and the visual-styles functions from C++.
#include "MosaicTest.h"

#include "AfxFrame.h"
#include "AfxUxTheme.h"

namespace {

class CListeningWnd : public CWnd
{
public:
    int m_nColourChanges = 0;
    int m_nPaletteChanges = 0;
    HWND m_hWndPaletteChanger = NULL;

protected:
    afx_msg void OnSysColorChange()
    {
        m_nColourChanges++;
        CWnd::OnSysColorChange();
    }
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd)
    {
        m_nPaletteChanges++;
        m_hWndPaletteChanger = pFocusWnd->GetSafeHwnd();
        CWnd::OnPaletteChanged(pFocusWnd);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListeningWnd, CWnd)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

// A child with a grandchild and a second child, inside the given top-level window.
struct Descendants
{
    CListeningWnd child;
    CListeningWnd grandchild;
    CListeningWnd sibling;

    void Create(CWnd* pTop)
    {
        ASSERT_TRUE(child.Create(NULL, L"", WS_VISIBLE, CRect(0, 0, 100, 100), pTop, 1));
        ASSERT_TRUE(grandchild.Create(NULL, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &child, 2));
        ASSERT_TRUE(sibling.Create(NULL, L"", WS_VISIBLE, CRect(100, 0, 150, 50), pTop, 3));
    }
};

TEST(SystemMessage, ColourChangeReachesEveryWindowInsideATopLevelWindowOnce)
{
    // A plain CWnd: the forwarding is every window's own.
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, NULL, L"Top", WS_POPUP, 0, 0, 200, 200, NULL, NULL));
    Descendants windows;
    windows.Create(&top);

    top.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(windows.child.m_nColourChanges, 1);
    EXPECT_EQ(windows.grandchild.m_nColourChanges, 1);
    EXPECT_EQ(windows.sibling.m_nColourChanges, 1);

    // A child window does not pass it on: its top-level window already does.
    windows.child.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(windows.child.m_nColourChanges, 2);
    EXPECT_EQ(windows.grandchild.m_nColourChanges, 1);
}

TEST(SystemMessage, FramePassesAPaletteChangeOnWithTheWindowThatMadeIt)
{
    CFrameWnd* pFrame = new CFrameWnd;   // deletes itself with its window
    ASSERT_TRUE(pFrame->Create(NULL, L"Frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    Descendants windows;
    windows.Create(pFrame);
    CWnd changer;
    ASSERT_TRUE(changer.CreateEx(0, NULL, L"Changer", WS_POPUP, 0, 0, 10, 10, NULL, NULL));

    pFrame->SendMessage(WM_PALETTECHANGED, (WPARAM)changer.m_hWnd);
    for (CListeningWnd* pWnd : { &windows.child, &windows.grandchild, &windows.sibling })
    {
        EXPECT_EQ(pWnd->m_nPaletteChanges, 1);
        EXPECT_EQ(pWnd->m_hWndPaletteChanger, changer.m_hWnd);
    }
    pFrame->DestroyWindow();
}

// ---- WinHelp ------------------------------------------------------------------------------------

// Wine's WinHelp starts winhlp32, which reports a missing help file in a box of its own and
// holds the caller until the box is answered. This thread answers it with No.
CString g_strHelpBoxText;

BOOL CALLBACK CollectStaticText(HWND hWnd, LPARAM)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    if (lstrcmpiW(szClass, L"Static") == 0)
    {
        WCHAR szText[512] = {};
        GetWindowTextW(hWnd, szText, ARRAYSIZE(szText));
        g_strHelpBoxText += szText;
    }
    return TRUE;
}

BOOL CALLBACK AnswerHelpBox(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    HWND hNo = GetDlgItem(hWnd, IDNO);
    if (lstrcmpW(szClass, L"#32770") != 0 || dwProcess == GetCurrentProcessId() ||
        !IsWindowVisible(hWnd) || hNo == NULL)
        return TRUE;
    g_strHelpBoxText.Empty();
    EnumChildWindows(hWnd, CollectStaticText, 0);
    PostMessageW(hNo, BM_CLICK, 0, 0);
    *(BOOL*)lParam = TRUE;
    return FALSE;
}

DWORD WINAPI HelpBoxAnswerer(LPVOID)
{
    for (int nTry = 0; nTry < 600; nTry++)
    {
        BOOL bAnswered = FALSE;
        EnumWindows(AnswerHelpBox, (LPARAM)&bAnswered);
        if (bAnswered)
            return 0;
        Sleep(50);
    }
    return 1;
}

TEST(SystemMessage, WinHelpAsksForTheHelpFileBesideTheProgram)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, NULL, L"Top", WS_POPUP, 0, 0, 200, 200, NULL, NULL));
    CWnd child;
    ASSERT_TRUE(child.Create(NULL, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));

    HANDLE hThread = CreateThread(NULL, 0, HelpBoxAnswerer, NULL, 0, NULL);
    ASSERT_NE(hThread, nullptr);
    child.WinHelp(7, HELP_CONTEXT);
    WaitForSingleObject(hThread, 60000);
    DWORD dwExit = 1;
    GetExitCodeThread(hThread, &dwExit);
    CloseHandle(hThread);
    EXPECT_EQ(dwExit, 0u);
    EXPECT_NE(g_strHelpBoxText.Find(L"test_framework.HLP"), -1) << CW2A(g_strHelpBoxText);
    top.WinHelp(0, HELP_QUIT);
}

// ---- Visual styles -----------------------------------------------------------------------------

TEST(SystemMessage, VisualStyleFunctionsLinkFromCpp)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Styled", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    HTHEME hTheme = OpenThemeData(wnd.m_hWnd, L"TOOLBAR");
    // A new Wine prefix has its "Light" style active.
    ASSERT_EQ(hTheme != NULL, IsThemeActive() != FALSE);
    if (hTheme == NULL)
        return;
    COLORREF crText = CLR_INVALID;
    EXPECT_EQ(GetThemeColor(hTheme, TP_BUTTON, TS_NORMAL, TMT_TEXTCOLOR, &crText), S_OK);
    EXPECT_NE(crText, CLR_INVALID);
    EXPECT_EQ(CloseThemeData(hTheme), S_OK);
}

} // namespace
