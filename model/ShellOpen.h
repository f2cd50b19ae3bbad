// Showing a file the program wrote or ships (plans, tables, manuals) in the program the
// desktop opens it with.
#pragma once

#include <windows.h>

// Opens the file with the shell's "open" verb. A missing file, or one that no program on
// this computer opens, is reported to the user; FALSE then.
BOOL ShellOpenFile(LPCTSTR lpszPath);
