// Paths across the border between the program and native Linux libraries.
#pragma once

#include <windows.h>

#include "AfxString.h"

// The Linux path, in UTF-8, of a Windows path, for native libraries (OpenCV, the PDF
// library, fopen). The file, and any number of folders above it, need not exist yet: the
// part that exists is resolved by Wine and the rest is appended. Empty when the path
// cannot be converted at all (no such drive).
CStringA AfxGetUnixPath(LPCTSTR lpszPath);

// The folder of the running program, ending in a backslash.
CString AfxGetProgramFolder();
