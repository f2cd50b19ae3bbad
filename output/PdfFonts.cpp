#include "PdfFonts.h"

#include <unistd.h>

#include "AfxPath.h"
#include "PdfHummus.h"

namespace
{

struct FontEquivalent
{
    LPCWSTR lpszWindowsFile;
    const char* pszLinuxFile;
};

// Where Debian's font packages put them.
const FontEquivalent kEquivalents[] = {
    {L"Calibri.ttf", "/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf"},
    {L"Arialuni.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
};

struct FaceFile
{
    LPCWSTR lpszFace;
    LPCWSTR lpszFile;
};

const FaceFile kFaces[] = {
    {L"Calibri", L"Calibri.ttf"},
    {L"Arial Unicode MS", L"Arialuni.ttf"},
};

}   // namespace

CStringA FindFontFile(LPCTSTR lpszFontsFolder, LPCTSTR lpszFileName)
{
    CString strWindowsPath = CString(lpszFontsFolder) + lpszFileName;
    if (GetFileAttributesW(strWindowsPath) != INVALID_FILE_ATTRIBUTES)
        return AfxGetUnixPath(strWindowsPath);
    for (const FontEquivalent& equivalent : kEquivalents)
    {
        if (lstrcmpiW(equivalent.lpszWindowsFile, lpszFileName) == 0 &&
            access(equivalent.pszLinuxFile, R_OK) == 0)
            return CStringA(equivalent.pszLinuxFile);
    }
    return CStringA();
}

CString FontFileOfFace(LPCTSTR lpszFaceName)
{
    for (const FaceFile& face : kFaces)
        if (lstrcmpiW(face.lpszFace, lpszFaceName) == 0)
            return face.lpszFile;
    return CString();
}

LPCTSTR WideCoverageFontFile()
{
    return L"Arialuni.ttf";
}

CString CharactersWithoutGlyph(PDFUsedFont* pFont, const CString& strText)
{
    CString strMissing;
    FT_Face face = pFont != NULL && pFont->GetFreeTypeFont() != NULL
                       ? (FT_Face)*pFont->GetFreeTypeFont()
                       : NULL;
    const int n = strText.GetLength();
    for (int i = 0; i < n; i++)
    {
        unsigned long code = strText[i];
        int nUnits = 1;
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < n && strText[i + 1] >= 0xDC00 &&
            strText[i + 1] < 0xE000)
        {
            code = 0x10000 + ((code - 0xD800) << 10) + (strText[i + 1] - 0xDC00);
            nUnits = 2;
        }
        const BOOL bControl = code < 0x20 || (code >= 0x7F && code < 0xA0);
        if (!bControl && (face == NULL || FT_Get_Char_Index(face, code) == 0))
            strMissing += strText.Mid(i, nUnits);
        i += nUnits - 1;
    }
    return strMissing;
}
