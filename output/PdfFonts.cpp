#include "PdfFonts.h"

#include <unistd.h>

#include "AfxPath.h"

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
