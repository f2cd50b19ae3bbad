#include "AfxApp.h"

#include <cstdlib>
#include <cstring>
#include <exception>

#include "AfxDocTempl.h"
#include "AfxOle.h"
#include "AfxFrame.h"
#include "AfxRes.h"
#include "AfxResource.h"

namespace {

CWinApp* g_pApp = NULL;
thread_local CWinThread* t_pThread = NULL;

LPTSTR DupString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return NULL;
    size_t nBytes = ((size_t)lstrlenW(lpsz) + 1) * sizeof(WCHAR);
    LPTSTR lpszCopy = (LPTSTR)malloc(nBytes);
    if (lpszCopy == NULL)
        AfxThrowMemoryException();
    memcpy(lpszCopy, lpsz, nBytes);
    return lpszCopy;
}

void ReplaceString(LPCTSTR& rpsz, LPCTSTR lpszNew)
{
    LPTSTR lpszCopy = DupString(lpszNew);
    free((void*)rpsz);
    rpsz = lpszCopy;
}

// The program's file name without folder and extension.
CString ExeName()
{
    WCHAR szPath[MAX_PATH] = {};
    GetModuleFileNameW(AfxGetInstanceHandle(), szPath, MAX_PATH);
    CString strName(szPath);
    int nSlash = strName.ReverseFind(L'\\');
    if (nSlash >= 0)
        strName = strName.Mid(nSlash + 1);
    // "name.exe.so" for a Winelib program: drop every extension.
    int nDot = strName.Find(L'.');
    if (nDot > 0)
        strName = strName.Left(nDot);
    return strName;
}

// The application's message box as MFC shows it: owned by the main window's last active
// popup, titled with the application's name, with the icon the type implies.
int ShowAppMessageBox(CWinApp* pApp, LPCTSTR lpszPrompt, UINT nType)
{
    HWND hWndOwner = NULL;
    if (CWnd* pMainWnd = AfxGetMainWnd())
        hWndOwner = GetLastActivePopup(pMainWnd->GetSafeHwnd());
    if (hWndOwner == NULL)
        hWndOwner = GetActiveWindow();

    if ((nType & MB_ICONMASK) == 0)
    {
        switch (nType & MB_TYPEMASK)
        {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        }
    }
    LPCTSTR lpszTitle = pApp != NULL ? pApp->m_pszAppName : AfxGetAppName();
    return MessageBoxW(hWndOwner, lpszPrompt, lpszTitle, nType);
}

// Failures that are not reported: the creation fails, the paint is given up (or the window
// would ask to be painted forever).
LRESULT FailCreateOrPaint(const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE)
        return -1;
    if (pMsg->message == WM_PAINT)
        ValidateRect(pMsg->hwnd, NULL);
    return 0;
}

// The report of an exception a window procedure caught, for any message but WM_CREATE and
// WM_PAINT: a failed command counts as handled.
LRESULT ReportWndProcException(CException* e, const MSG* pMsg)
{
    UINT nIDP = AFX_IDP_INTERNAL_FAILURE;
    LRESULT lResult = 0;
    if (pMsg->message == WM_COMMAND)
    {
        if ((HWND)pMsg->lParam == NULL)
            nIDP = AFX_IDP_COMMAND_FAILURE;   // a menu command, not a control's
        lResult = TRUE;
    }
    // A CUserException follows a message the user has seen already.
    if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        e->ReportError(MB_ICONEXCLAMATION | MB_SYSTEMMODAL, nIDP);
    else if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONSTOP, nIDP);
    return lResult;
}

// The idle-time update of a frame other than the main window: a visible one, or one whose
// layout waits for the idle time (a hidden floating frame whose bar is to be shown again).
BOOL CALLBACK IdleUpdateFrame(HWND hWnd, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd == (CWnd*)lParam || !pWnd->IsFrameWnd())
        return TRUE;
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(pWnd);
    if (pFrame->IsWindowVisible() || (pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
    {
        AfxCallWndProc(pFrame, hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
        pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
    }
    return TRUE;
}

// What is left to report when an exception escapes the application itself.
void ReportUncaught(const char* pszWhat)
{
    MessageBoxW(NULL, CA2W(pszWhat, CP_UTF8), AfxGetAppName(), MB_OK | MB_ICONSTOP);
}

} // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinThread* AfxGetThread()
{
    return t_pThread;
}

LPCTSTR AfxGetAppName()
{
    if (g_pApp != NULL && g_pApp->m_pszAppName != NULL)
        return g_pApp->m_pszAppName;
    thread_local CString t_strName;
    t_strName = ExeName();
    return t_strName;
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    LRESULT lResult;
    if (CWinThread* pThread = AfxGetThread())
    {
        lResult = pThread->ProcessWndProcException(e, pMsg);
    }
    else
    {
        // Without a thread object, as the application object would do.
        lResult = pMsg->message == WM_CREATE || pMsg->message == WM_PAINT
                      ? FailCreateOrPaint(pMsg)
                      : ReportWndProcException(e, pMsg);
    }
    e->Delete();
    return lResult;
}

// ---- CWinThread ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread()
    : m_pMainWnd(NULL), m_msgCur(), m_ptCursorLast(), m_nMsgLast(0)
{
    m_ptCursorLast.x = m_ptCursorLast.y = -1;
    // The object runs the thread that makes it (the program's main thread for the
    // application object).
    t_pThread = this;
}

CWinThread::~CWinThread()
{
    if (t_pThread == this)
        t_pThread = NULL;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;)
    {
        while (bIdle && !PeekMessageW(&m_msgCur, NULL, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do
        {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (PeekMessageW(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    // From the message's window up to the main window; a window of another top-level window
    // (a modeless dialog) still gets the main window's accelerators.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree(pMainWnd->GetSafeHwnd(), pMsg))
        return TRUE;
    if (pMainWnd != NULL && pMsg->hwnd != NULL)
    {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (GetMessageW(&m_msgCur, NULL, 0, 0) <= 0)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur))
    {
        TranslateMessage(&m_msgCur);
        DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
    {
        // The main window and its bars bring their command states up to date.
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible())
        {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, (WPARAM)TRUE, 0, TRUE, TRUE);
        }
        // So do the thread's other frames (bars floating in frames of their own).
        EnumThreadWindows(GetCurrentThreadId(), IdleUpdateFrame, (LPARAM)pMainWnd);
    }
    else
    {
        // Nothing can hold a temporary wrapper between two messages.
        AfxDeleteTempMaps();
    }
    return lCount < 1;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE)
    {
        if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y &&
            pMsg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    // WM_PAINT and the caret's blink timer (0x0118) come back without anything changing.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

LRESULT CWinThread::ProcessWndProcException(CException*, const MSG* pMsg)
{
    return FailCreateOrPaint(pMsg);
}

// ---- CWinApp ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_hInstance(AfxGetInstanceHandle()), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(NULL), m_pszExeName(NULL), m_pszRegistryKey(NULL), m_pszProfileName(NULL),
      m_pDocManager(NULL), m_pRecentFileList(NULL), m_nNumPreviewPages(0),
      m_nWaitCursorCount(0), m_hcurWaitCursorRestore(NULL)
{
    g_pApp = this;

    CString strExeName = ExeName();
    m_pszExeName = DupString(strExeName);
    if (lpszAppName != NULL)
    {
        m_pszAppName = DupString(lpszAppName);
    }
    else
    {
        CString strTitle;
        if (!strTitle.LoadString(AFX_IDS_APP_TITLE) || strTitle.IsEmpty())
            strTitle = strExeName;
        m_pszAppName = DupString(strTitle);
    }
    m_pszProfileName = DupString(strExeName + L".INI");
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    delete m_pRecentFileList;
    free((void*)m_pszAppName);
    free((void*)m_pszExeName);
    free((void*)m_pszRegistryKey);
    free((void*)m_pszProfileName);
    if (m_hDevMode != NULL)
        GlobalFree(m_hDevMode);
    if (m_hDevNames != NULL)
        GlobalFree(m_hDevNames);
    if (g_pApp == this)
        g_pApp = NULL;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return (int)m_msgCur.wParam;
}

int CWinApp::Run()
{
    // Without a main window nothing would ever end the loop.
    if (m_pMainWnd == NULL)
        PostQuitMessage(0);
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}

LRESULT CWinApp::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE || pMsg->message == WM_PAINT)
        return CWinThread::ProcessWndProcException(e, pMsg);
    return ReportWndProcException(e, pMsg);
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0)
    {
        HCURSOR hcurPrev = SetCursor(::LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hcurPrev;
    }
    else
    {
        m_nWaitCursorCount = 0;
        SetCursor(m_hcurWaitCursorRestore);
    }
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    return ShowAppMessageBox(this, lpszPrompt, nType);
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursorW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCEW(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursorW(NULL, lpszCursorName);
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCEW(nIDResource));
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != NULL)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- Profile --------------------------------------------------------------------------------

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hAppKey = NULL;
    HKEY hSoftKey = NULL;
    HKEY hCompanyKey = NULL;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) ==
        ERROR_SUCCESS)
    {
        DWORD dw;
        if (RegCreateKeyExW(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE | KEY_READ, NULL, &hCompanyKey, &dw) == ERROR_SUCCESS)
        {
            RegCreateKeyExW(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE | KEY_READ, NULL, &hAppKey, &dw);
        }
    }
    if (hSoftKey != NULL)
        RegCloseKey(hSoftKey);
    if (hCompanyKey != NULL)
        RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    RegCreateKeyExW(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                    NULL, &hSectionKey, &dw);
    RegCloseKey(hAppKey);
    return hSectionKey;
}

int AfxReadProfileInt(HKEY hKey, LPCTSTR lpszEntry, int nDefault)
{
    if (hKey == NULL)
        return nDefault;
    DWORD dwValue = 0;
    DWORD dwType = REG_NONE;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult = RegQueryValueExW(hKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    return lResult == ERROR_SUCCESS && dwType == REG_DWORD ? (int)dwValue : nDefault;
}

CString AfxReadProfileString(HKEY hKey, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (hKey == NULL)
        return CString(lpszDefault);
    CString strValue;
    DWORD dwType = REG_NONE;
    DWORD dwCount = 0;
    LONG lResult = RegQueryValueExW(hKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
    {
        // The stored text need not end with its terminator.
        int nChars = (int)(dwCount / sizeof(WCHAR));
        LPWSTR pBuf = strValue.GetBuffer(nChars + 1);
        lResult = RegQueryValueExW(hKey, lpszEntry, NULL, &dwType, (LPBYTE)pBuf, &dwCount);
        pBuf[lResult == ERROR_SUCCESS ? dwCount / sizeof(WCHAR) : 0] = 0;
        strValue.ReleaseBuffer();
    }
    else if (lResult == ERROR_SUCCESS)
    {
        lResult = ERROR_INVALID_DATA;   // not text
    }
    return lResult == ERROR_SUCCESS ? strValue : CString(lpszDefault);
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == NULL)
        return GetPrivateProfileIntW(lpszSection, lpszEntry, nDefault, m_pszProfileName);

    HKEY hSecKey = GetSectionKey(lpszSection);
    const int nValue = AfxReadProfileInt(hSecKey, lpszEntry, nDefault);
    if (hSecKey != NULL)
        RegCloseKey(hSecKey);
    return (UINT)nValue;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == NULL)
    {
        CString strValue;
        strValue.Format(L"%d", nValue);
        return WritePrivateProfileStringW(lpszSection, lpszEntry, strValue, m_pszProfileName);
    }

    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = RegSetValueExW(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue,
                                  sizeof(dwValue));
    RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (m_pszRegistryKey == NULL)
    {
        // The .INI file: the buffer grows until the value fits.
        CString strValue;
        for (DWORD nSize = 256;; nSize *= 2)
        {
            DWORD nLen = GetPrivateProfileStringW(lpszSection, lpszEntry,
                                                  lpszDefault != NULL ? lpszDefault : L"",
                                                  strValue.GetBuffer((int)nSize), nSize,
                                                  m_pszProfileName);
            strValue.ReleaseBuffer((int)nLen);
            if (nLen < nSize - 1)
                return strValue;
        }
    }

    HKEY hSecKey = GetSectionKey(lpszSection);
    CString strValue = AfxReadProfileString(hSecKey, lpszEntry, lpszDefault);
    if (hSecKey != NULL)
        RegCloseKey(hSecKey);
    return strValue;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pszRegistryKey == NULL)
        return WritePrivateProfileStringW(lpszSection, lpszEntry, lpszValue, m_pszProfileName);

    LONG lResult;
    if (lpszEntry == NULL)
    {
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL)
            return FALSE;
        lResult = RegDeleteKeyW(hAppKey, lpszSection);
        RegCloseKey(hAppKey);
    }
    else if (lpszValue == NULL)
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = RegDeleteValueW(hSecKey, lpszEntry);
        RegCloseKey(hSecKey);
    }
    else
    {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = RegSetValueExW(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                 ((DWORD)lstrlenW(lpszValue) + 1) * sizeof(WCHAR));
        RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
}

// ---- Wait cursor and message boxes ------------------------------------------------------------

CWaitCursor::CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
}

void CWaitCursor::Restore()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->RestoreWaitCursor();
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, 0);
    return ShowAppMessageBox(NULL, lpszText, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(strPrompt, nType, nIDPrompt);
    return ShowAppMessageBox(NULL, strPrompt, nType);
}

// ---- Entry ----------------------------------------------------------------------------------

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    AfxSetInstanceHandle(hInstance);
    if (CWinApp* pApp = AfxGetApp())
    {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    // The caller is the system's start-up code: nothing may unwind into it.
    try
    {
        CWinThread* pThread = AfxGetThread();
        CWinApp* pApp = AfxGetApp();
        if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || pThread == NULL)
            return -1;
        if (pApp != NULL && !pApp->InitApplication())
            return -1;
        int nReturnCode;
        if (!pThread->InitInstance())
        {
            if (pThread->m_pMainWnd != NULL)
                pThread->m_pMainWnd->DestroyWindow();
            nReturnCode = pThread->ExitInstance();
        }
        else
        {
            nReturnCode = pThread->Run();
        }
        // After the documents are gone: what the program left on the clipboard stays there.
        AfxOleTerm();
        return nReturnCode;
    }
    catch (CException* e)
    {
        e->ReportError(MB_ICONSTOP, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
    }
    catch (const std::exception& e)
    {
        ReportUncaught(e.what());
    }
    catch (...)
    {
        ReportUncaught("Unknown exception.");
    }
    return -1;
}
