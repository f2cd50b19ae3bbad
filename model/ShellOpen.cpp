#include "ShellOpen.h"

#include <shellapi.h>

#include "AfxApp.h"
#include "AfxString.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

// The handler hands the file on and ends at once; one that fails says so in its exit code
// (the desktop's opener missing, for example), which a successful start does not show.
const DWORD kHandOverMs = 5000;

BOOL Refuse(UINT nTextId, LPCTSTR lpszPath)
{
    CString strMessage;
    strMessage.Format(GetLangText(nTextId), lpszPath);
    AfxMessageBox(strMessage, MB_ICONEXCLAMATION);
    return FALSE;
}

}   // namespace

BOOL ShellOpenFile(LPCTSTR lpszPath)
{
    if (GetFileAttributesW(lpszPath) == INVALID_FILE_ATTRIBUTES)
        return Refuse(TXT_MSG_FILE_NOT_FOUND, lpszPath);

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    CWnd* pMainWnd = AfxGetMainWnd();
    info.hwnd = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    info.lpVerb = L"open";
    info.lpFile = lpszPath;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return Refuse(TXT_MSG_NO_PROGRAM_OPENS, lpszPath);
    if (info.hProcess == NULL)
        return TRUE;
    DWORD dwExitCode = 0;
    const BOOL bEnded = WaitForSingleObject(info.hProcess, kHandOverMs) == WAIT_OBJECT_0;
    const BOOL bFailed = bEnded && GetExitCodeProcess(info.hProcess, &dwExitCode) &&
                         dwExitCode != 0;
    CloseHandle(info.hProcess);
    return bFailed ? Refuse(TXT_MSG_NO_PROGRAM_OPENS, lpszPath) : TRUE;
}
