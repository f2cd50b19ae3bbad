// CWinThread and CWinApp: the message loop with its idle time, the program's one
// application object (a global; AfxGetApp returns it), the profile in the registry, the
// wait cursor and AfxMessageBox. Including this header in the program's main source gives
// the program its entry point, which runs the application object as MFC's AfxWinMain does.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "AfxWin.h"

#ifndef ID_APP_EXIT
#define ID_APP_EXIT 0xE141
#endif
// The application's title in the string table; the framework's messages when a handler
// fails without a message of its own.
#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDP_INTERNAL_FAILURE 0xF108
#define AFX_IDP_COMMAND_FAILURE 0xF109

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    virtual ~CWinThread();

    CWnd* m_pMainWnd;       // the thread ends when this window is destroyed
    MSG m_msgCur;           // the message being handled by Run

    virtual CWnd* GetMainWnd();

    virtual BOOL InitInstance();
    // The message loop: OnIdle while the queue is empty, then PumpMessage until WM_QUIT;
    // returns ExitInstance's result.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount counts the calls since the last message: 0 updates the command states of the
    // bars of the main window and of the thread's other frames (floating bars), 1 frees the
    // temporary wrappers. TRUE asks for more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that repeat without anything changing (mouse moves to the same
    // place, WM_PAINT, caret blinks): they do not restart the idle calls.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    // An exception a window procedure caught: the result that message gets.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);

protected:
    POINT m_ptCursorLast;   // for IsIdleMessage
    UINT m_nMsgLast;
};

class CDocManager;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CCommandLineInfo;
class CPrintDialog;

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // Without a name, the string AFX_IDS_APP_TITLE or else the program's file name.
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    virtual ~CWinApp();

    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;
    // Allocated with malloc, as the C runtime's _tcsdup does: a program that replaces one
    // frees the old value with free.
    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName;
    LPCTSTR m_pszRegistryKey;    // NULL: the profile is an .INI file
    LPCTSTR m_pszProfileName;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    LRESULT ProcessWndProcException(CException* e, const MSG* pMsg) override;

    // nCode 1 shows the wait cursor (counted), -1 takes one back, 0 shows it again after
    // something else changed the cursor.
    virtual void DoWaitCursor(int nCode);
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;

    // The profile moves to HKEY_CURRENT_USER\Software\<key>\<application name>\<section>;
    // a section name may hold backslashes, which make further sub-keys.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Opened (and created when missing) for reading and writing; the caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);

    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    // A NULL entry deletes the section, a NULL value the entry.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    afx_msg void OnAppExit();

    // ---- Documents (defined with the document templates) ----------------------------------
    // The application owns the template from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    // The recent-file list of nMaxMRU entries ("Recent File List") and the number of preview
    // pages ("Settings"); ExitInstance writes them back.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    // The arguments of m_lpCmdLine (or else of the process's command line).
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FALSE when the application should end (nothing opened, or a print or register run).
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                  BOOL bOpenFileDialog, CDocTemplate* pTemplate);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    void HideApplication();
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    // The recent-file entries of the File menu; an entry that fails to open leaves the list.
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg void OnOpenRecentFile(UINT nID);

    CDocManager* m_pDocManager;
    CRecentFileList* m_pRecentFileList;
    UINT m_nNumPreviewPages;

    // ---- The printer (defined with the common dialogs) ---------------------------------------
    // The application's printer, the system's default until the user picks another; FALSE
    // when there is none. The handles stay the application's.
    BOOL GetPrinterDeviceDefaults(PRINTDLGW* pPrintDlg);
    BOOL CreatePrinterDC(CDC& dc);
    void UpdatePrinterSelection(BOOL bForceDefaults);
    void SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld = TRUE);
    // Shows the dialog on the application's printer and keeps what the user chose.
    int DoPrintDialog(CPrintDialog* pPD);
    afx_msg void OnFilePrintSetup();

    HGLOBAL m_hDevMode = NULL;
    HGLOBAL m_hDevNames = NULL;

    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

    DECLARE_MESSAGE_MAP()
};

// The waiting cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
LPCTSTR AfxGetAppName();

// An entry of an open profile key, read as GetProfileInt and GetProfileString read it: a
// DWORD, or a text stored with or without its terminator; the default when the key is NULL
// or the entry is missing or of another type.
int AfxReadProfileInt(HKEY hKey, LPCTSTR lpszEntry, int nDefault);
CString AfxReadProfileString(HKEY hKey, LPCTSTR lpszEntry, LPCTSTR lpszDefault);

// The application's message box: the main window owns it, the application's name is its
// title and the type gets MFC's default icon.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// Runs the application object: InitInstance, then Run; ExitInstance when InitInstance fails.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// The entry point. Wine's start-up code looks for it after the program's libraries have
// been searched, so it cannot live in the framework library: it is defined here, kept by
// the compiler although nothing in the source calls it, and merged into one copy by the
// linker when several sources include the header.
extern "C" inline __attribute__((used)) int WINAPI wWinMain(HINSTANCE hInstance,
                                                             HINSTANCE hPrevInstance,
                                                             LPWSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
