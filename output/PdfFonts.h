// Font files for the PDF library, which embeds fonts from their files.
#pragma once

#include <windows.h>

#include "AfxString.h"

class PDFUsedFont;

// The Linux path of a Windows font file: the file in the fonts folder when it is there,
// else the installed free font with the same metrics or coverage (Carlito for Calibri,
// DejaVu Sans for Arial Unicode). Empty when there is neither.
CStringA FindFontFile(LPCTSTR lpszFontsFolder, LPCTSTR lpszFileName);

// The Windows font file of a face the program names ("Calibri", "Arial Unicode MS"); empty
// for a face it does not know.
CString FontFileOfFace(LPCTSTR lpszFaceName);

// The font file of the face that has the most glyphs: tried for texts that the chosen font
// cannot show whole.
LPCTSTR WideCoverageFontFile();

// The characters of the text that the font has no glyph for (controls excepted).
CString CharactersWithoutGlyph(PDFUsedFont* pFont, const CString& strText);
