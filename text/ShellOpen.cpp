#include "ShellOpen.h"

#include "AfxApp.h"
#include "AfxString.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

// The handler hands the file on and ends at once; one that fails says so in its exit code
// (the desktop's opener missing, for example), which a successful start does not show.
const DWORD kHandOverMs = 5000;

ShellExecuteExFn g_pfnExecute = ShellExecuteExW;

BOOL Refuse(UINT nTextId, LPCTSTR lpszTarget)
{
    CString strMessage;
    strMessage.Format(GetLangText(nTextId), lpszTarget);
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    return FALSE;
}

// TRUE when a program took the target and did not fail at handing it on.
BOOL HandToShell(LPCTSTR lpszTarget)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    CWnd* pMainWnd = AfxGetMainWnd();
    info.hwnd = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    info.lpVerb = L"open";
    info.lpFile = lpszTarget;
    info.nShow = SW_SHOWNORMAL;
    if (!g_pfnExecute(&info))
        return FALSE;
    if (info.hProcess == NULL)
        return TRUE;
    DWORD dwExitCode = 0;
    const BOOL bEnded = WaitForSingleObject(info.hProcess, kHandOverMs) == WAIT_OBJECT_0;
    const BOOL bFailed = bEnded && GetExitCodeProcess(info.hProcess, &dwExitCode) &&
                         dwExitCode != 0;
    CloseHandle(info.hProcess);
    return !bFailed;
}

}   // namespace

BOOL ShellOpenFile(LPCTSTR lpszPath)
{
    if (GetFileAttributesW(lpszPath) == INVALID_FILE_ATTRIBUTES)
        return Refuse(TXT_MSG_FILE_NOT_FOUND, lpszPath);
    return HandToShell(lpszPath) ? TRUE : Refuse(TXT_MSG_NO_PROGRAM_OPENS, lpszPath);
}

BOOL ShellOpenAddress(LPCTSTR lpszAddress)
{
    if (lpszAddress == NULL || *lpszAddress == 0)
        return FALSE;
    return HandToShell(lpszAddress) ? TRUE : Refuse(TXT_MSG_NO_BROWSER_OPENS, lpszAddress);
}

ShellExecuteExFn SetShellExecuteEx(ShellExecuteExFn pfnExecute)
{
    const ShellExecuteExFn pfnPrevious = g_pfnExecute;
    g_pfnExecute = pfnExecute != NULL ? pfnExecute : ShellExecuteExW;
    return pfnPrevious;
}
