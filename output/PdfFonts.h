// Font files for the PDF library, which embeds fonts from their files.
#pragma once

#include <windows.h>

#include "AfxString.h"

// The Linux path of a Windows font file: the file in the fonts folder when it is there,
// else the installed free font with the same metrics or coverage (Carlito for Calibri,
// DejaVu Sans for Arial Unicode). Empty when there is neither.
CStringA FindFontFile(LPCTSTR lpszFontsFolder, LPCTSTR lpszFileName);
