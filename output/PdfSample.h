// The developers' sample PDF: one A4 page with a line of text, independent of the mosaic.
#pragma once

#include <windows.h>

// Writes the page to the path. Each step that fails says so on the standard output and
// ends the writing: FALSE then.
BOOL WritePdfSample(LPCTSTR lpszPath);
