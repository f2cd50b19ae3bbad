// The application object: its message loop and idle time run through AfxWinMain, the
// profile in the registry, the wait cursor, AfxMessageBox, and exceptions thrown by
// handlers being reported instead of ending the process.
#include "MosaicTest.h"

#include "MessageBoxAnswerer.h"

#include <stdexcept>

#include "AfxApp.h"
#include "OpenCv.h"

namespace {

// ---- The exception boundary ------------------------------------------------------------------

const UINT ID_THROWING_COMMAND = 5001;

class CThrowingWnd : public CWnd
{
public:
    BOOL m_bThrowInCreate = FALSE;
    int m_nKeys = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (m_bThrowInCreate)
            AfxThrowMemoryException();
        return CWnd::OnCreate(lpCreateStruct);
    }
    afx_msg void OnLButtonDown(UINT, CPoint)
    {
        AfxThrowFileException(CFileException::fileNotFound, -1, L"missing.ms2");
    }
    afx_msg void OnRButtonDown(UINT, CPoint) { throw std::runtime_error("Broken \xC3\xA9tat"); }
    afx_msg void OnMouseMove(UINT, CPoint)
    {
        throw cv::Exception(cv::Error::StsBadSize, "bad tile size", "OnMouseMove", __FILE__, __LINE__);
    }
    afx_msg void OnRButtonUp(UINT, CPoint) { AfxThrowUserException(); }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { m_nKeys++; }
    afx_msg void OnThrowingCommand() { AfxThrowNotSupportedException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONUP()
    ON_WM_KEYDOWN()
    ON_COMMAND(ID_THROWING_COMMAND, OnThrowingCommand)
END_MESSAGE_MAP()

// Keeps the message boxes it is asked for instead of showing them.
class CRecordingApp : public CWinApp
{
public:
    CRecordingApp() : CWinApp(L"MosaicTestApp") {}
    CString m_strBoxes;
    UINT m_nLastType = 0;
    UINT m_nFailedMessage = 0;

    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override
    {
        m_strBoxes += lpszPrompt;
        m_strBoxes += L"|";
        m_nLastType = nType;
        return IDOK;
    }
    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override
    {
        m_nFailedMessage = pMsg->message;
        return CWinApp::ProcessWndProcException(e, pMsg);
    }
};

TEST(ExceptionBoundary, HandlerExceptionsAreReportedAndTheWindowGoesOn)
{
    CRecordingApp app;
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Throwing", WS_POPUP, 0, 0, 200, 100, NULL, NULL));

    struct Case
    {
        UINT message;
        LPCTSTR lpszInText;
    };
    const Case cases[] = {
        { WM_LBUTTONDOWN, L"missing.ms2" },      // a framework exception
        { WM_RBUTTONDOWN, L"Broken \x00E9tat" },  // a C++ library exception, UTF-8 text
        { WM_MOUSEMOVE, L"bad tile size" },       // an OpenCV exception
    };
    for (const Case& c : cases)
    {
        app.m_strBoxes.Empty();
        EXPECT_EQ(wnd.SendMessage(c.message, 0, 0), 0);
        EXPECT_EQ(app.m_nFailedMessage, c.message);
        EXPECT_GE(app.m_strBoxes.Find(c.lpszInText), 0) << CStringA(app.m_strBoxes).GetString();
        EXPECT_EQ(app.m_strBoxes.Find(L"|"), app.m_strBoxes.GetLength() - 1);   // one box
        EXPECT_EQ(app.m_nLastType & MB_ICONMASK, (UINT)MB_ICONSTOP);
    }

    // A command that fails counts as handled.
    app.m_strBoxes.Empty();
    EXPECT_EQ(wnd.SendMessage(WM_COMMAND, ID_THROWING_COMMAND, 0), 1);
    EXPECT_FALSE(app.m_strBoxes.IsEmpty());

    // The user has been told already.
    app.m_strBoxes.Empty();
    wnd.SendMessage(WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(app.m_nFailedMessage, (UINT)WM_RBUTTONUP);
    EXPECT_TRUE(app.m_strBoxes.IsEmpty());

    wnd.SendMessage(WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(wnd.m_nKeys, 1);
}

TEST(ExceptionBoundary, WithoutAnApplicationObjectTheMessageIsStillShown)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Throwing", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
    MessageBoxAnswerer catcher;
    EXPECT_EQ(wnd.SendMessage(WM_LBUTTONDOWN, 0, 0), 0);
    EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    EXPECT_GE(MessageBoxAnswerer::s_strText.Find(L"missing.ms2"), 0)
        << CStringA(MessageBoxAnswerer::s_strText).GetString();
}

TEST(ExceptionBoundary, ExceptionInWmCreateFailsTheCreationQuietly)
{
    CRecordingApp app;
    CThrowingWnd wnd;
    wnd.m_bThrowInCreate = TRUE;
    EXPECT_FALSE(wnd.CreateEx(0, NULL, L"Throwing", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(app.m_nFailedMessage, (UINT)WM_CREATE);
    EXPECT_TRUE(app.m_strBoxes.IsEmpty());
}

// ---- Message boxes and the wait cursor ---------------------------------------------------------

TEST(App, MessageBoxTakesTheApplicationNameAsTitle)
{
    CWinApp app(L"MosaicTestApp");
    MessageBoxAnswerer catcher;
    EXPECT_EQ(AfxMessageBox(L"Palette saved.", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxAnswerer::s_strTitle, CString(L"MosaicTestApp"));
    EXPECT_EQ(MessageBoxAnswerer::s_strText, CString(L"Palette saved."));
}

TEST(App, WaitCursorIsCountedAndRestored)
{
    CWinApp app(L"MosaicTestApp");
    HCURSOR hArrow = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    HCURSOR hWait = LoadCursorW(NULL, (LPCWSTR)IDC_WAIT);
    SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(GetCursor(), hWait);
        {
            CWaitCursor nested;
            app.EndWaitCursor();   // one of the two taken back: still waiting
            EXPECT_EQ(GetCursor(), hWait);
            app.BeginWaitCursor();
        }
        SetCursor(hArrow);   // something else changed it
        wait.Restore();
        EXPECT_EQ(GetCursor(), hWait);
    }
    EXPECT_EQ(GetCursor(), hArrow);
    EXPECT_EQ(app.m_nWaitCursorCount, 0);
}

// ---- The profile --------------------------------------------------------------------------------

class Profile : public ::testing::Test
{
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\MosaicTests"); }
};

TEST_F(Profile, ValuesRoundTripUnderCompanyApplicationAndNestedSection)
{
    CWinApp app(L"Mosaic");
    app.SetRegistryKey(L"MosaicTests\\Orbalith");
    EXPECT_EQ(CString(app.m_pszProfileName), CString(L"Mosaic"));

    const LPCTSTR kSection = L"Orbalith\\Mosaic";
    EXPECT_EQ(app.GetProfileInt(kSection, L"paletteon", 1), 1u);   // missing: the default
    EXPECT_EQ(app.GetProfileString(kSection, L"money", L"EUR"), CString(L"EUR"));
    EXPECT_TRUE(app.WriteProfileInt(kSection, L"paletteon", 3));
    EXPECT_TRUE(app.WriteProfileInt(kSection, L"offset", -7));
    EXPECT_TRUE(app.WriteProfileString(kSection, L"money", L"\x20AC uro"));
    EXPECT_EQ(app.GetProfileInt(kSection, L"paletteon", 1), 3u);
    EXPECT_EQ((int)app.GetProfileInt(kSection, L"offset", 0), -7);
    EXPECT_EQ(app.GetProfileString(kSection, L"money"), CString(L"\x20AC uro"));
    // A text value is not a number.
    EXPECT_EQ(app.GetProfileInt(kSection, L"money", 5), 5u);

    // The layout in the registry: DWORD and text values in the nested key.
    HKEY hKey = NULL;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\MosaicTests\\Orbalith\\Mosaic\\Orbalith\\Mosaic", 0,
                            KEY_READ, &hKey),
              ERROR_SUCCESS);
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD cb = sizeof(dwValue);
    EXPECT_EQ(RegQueryValueExW(hKey, L"paletteon", NULL, &dwType, (LPBYTE)&dwValue, &cb), ERROR_SUCCESS);
    EXPECT_EQ(dwType, (DWORD)REG_DWORD);
    EXPECT_EQ(dwValue, 3u);
    WCHAR szText[16] = {};
    cb = sizeof(szText);
    EXPECT_EQ(RegQueryValueExW(hKey, L"money", NULL, &dwType, (LPBYTE)szText, &cb), ERROR_SUCCESS);
    EXPECT_EQ(dwType, (DWORD)REG_SZ);
    EXPECT_EQ(cb, 6u * sizeof(WCHAR));   // with the terminator
    RegCloseKey(hKey);

    // A NULL value deletes the entry, a NULL entry the section.
    EXPECT_TRUE(app.WriteProfileString(kSection, L"money", NULL));
    EXPECT_EQ(app.GetProfileString(kSection, L"money", L"none"), CString(L"none"));
    EXPECT_TRUE(app.WriteProfileString(L"Other", L"x", L"1"));
    EXPECT_TRUE(app.WriteProfileString(L"Other", NULL, NULL));
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\MosaicTests\\Orbalith\\Mosaic\\Other",
                            0, KEY_READ, &hKey),
              ERROR_SUCCESS);
}

TEST_F(Profile, TextWrittenWithoutTerminatorIsReadWhole)
{
    CWinApp app(L"Mosaic");
    app.SetRegistryKey(L"MosaicTests");
    HKEY hKey = app.GetSectionKey(L"Settings");
    ASSERT_NE(hKey, nullptr);
    // As some programs store text: the byte count leaves the terminator out.
    RegSetValueExW(hKey, L"lang", 0, REG_SZ, (const BYTE*)L"40c", 3 * sizeof(WCHAR));
    RegCloseKey(hKey);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"lang"), CString(L"40c"));
}

// ---- The message loop -------------------------------------------------------------------------

class CLoopWnd : public CWnd
{
public:
    int m_nIdleUpdates = 0;
    BOOL m_bStarted = FALSE;

protected:
    afx_msg LRESULT OnStart(WPARAM, LPARAM)
    {
        m_bStarted = TRUE;
        return 0;
    }
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        if (m_bStarted)
            m_nIdleUpdates++;
        return 0;
    }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopWnd, CWnd)
    ON_MESSAGE(WM_APP, OnStart)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

class CLoopApp : public CWinApp
{
public:
    CLoopApp() : CWinApp(L"MosaicLoopTest") {}
    CString m_strIdleCounts;
    int m_nTempWrappersAtExit = -1;
    BOOL m_bFailInit = FALSE;

    BOOL InitInstance() override
    {
        if (m_bFailInit)
            return FALSE;
        CLoopWnd* pWnd = new CLoopWnd;
        if (!pWnd->CreateEx(0, NULL, L"Loop", WS_POPUP, 0, 0, 200, 100, NULL, NULL))
            return FALSE;
        pWnd->ShowWindow(SW_SHOWNA);   // visible for the idle updates
        m_pMainWnd = pWnd;
        pWnd->PostMessage(WM_APP);
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        if (lCount < 3)
            m_strIdleCounts.AppendFormat(L"%ld", lCount);
        BOOL bMore = CWinApp::OnIdle(lCount);
        // Closed once the window has had its idle update after the start message.
        CLoopWnd* pWnd = static_cast<CLoopWnd*>(m_pMainWnd);
        if (lCount == 1 && pWnd != NULL && pWnd->m_nIdleUpdates > 0)
            pWnd->PostMessage(WM_CLOSE);
        return bMore;
    }
    int ExitInstance() override { return 40 + CWinApp::ExitInstance() + (m_pMainWnd == NULL); }
};

TEST(App, RunPumpsIdlesAndEndsWhenTheMainWindowCloses)
{
    CLoopApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    int nResult = AfxWinMain(GetModuleHandleW(NULL), NULL, (LPTSTR)L"", SW_SHOWNORMAL);
    // ExitInstance ran after WM_QUIT (wParam 0), with the main window gone.
    EXPECT_EQ(nResult, 41);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    // Idle calls restart at 0 after each message and stop after freeing the wrappers at 1.
    EXPECT_GE(app.m_strIdleCounts.Find(L"01"), 0);
    EXPECT_EQ(app.m_strIdleCounts.Find(L"2"), -1);
}

TEST(App, FailedInitInstanceExitsWithoutRunning)
{
    CLoopApp app;
    app.m_bFailInit = TRUE;
    // Through the program's entry point, which this header gives every program.
    EXPECT_EQ(wWinMain(GetModuleHandleW(NULL), NULL, (LPWSTR)L"/x", SW_SHOWMINIMIZED), 41);
    EXPECT_TRUE(app.m_strIdleCounts.IsEmpty());
    EXPECT_EQ(CString(app.m_lpCmdLine), CString(L"/x"));
    EXPECT_EQ(app.m_nCmdShow, SW_SHOWMINIMIZED);
}

TEST(App, ExitCommandClosesTheMainWindow)
{
    CLoopApp app;
    CWnd* pWnd = new CWnd;
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, L"Main", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    app.m_pMainWnd = pWnd;
    EXPECT_TRUE(app.OnCmdMsg(ID_APP_EXIT, CN_COMMAND, NULL, NULL));
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    delete pWnd;
    // The main window's end posted the quit message: take it out of the queue.
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
