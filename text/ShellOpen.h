// Showing a file the program wrote or ships (plans, tables, manuals) in the program the
// desktop opens it with, and a web address in the desktop's browser.
#pragma once

#include <windows.h>
#include <shellapi.h>

// Opens the file with the shell's "open" verb. A missing file, or one that no program on
// this computer opens, is reported to the user; FALSE then.
BOOL ShellOpenFile(LPCTSTR lpszPath);

// Opens the web address with the shell's "open" verb. An address no browser on this
// computer opens is reported to the user; FALSE then, and for an empty address (silently).
BOOL ShellOpenAddress(LPCTSTR lpszAddress);

// The call that hands a target to the shell (ShellExecuteExW). Tests put their own in its
// place so that no viewer or browser starts; NULL restores the shell's. Returns the call
// used until then.
typedef BOOL (WINAPI* ShellExecuteExFn)(SHELLEXECUTEINFOW* pInfo);
ShellExecuteExFn SetShellExecuteEx(ShellExecuteExFn pfnExecute);
