#include "DocPaths.h"

int FileNameStart(const CString& strPath)
{
    for (int i = strPath.GetLength() - 1; i >= 0; i--)
    {
        const WCHAR ch = strPath[i];
        if (ch == L'\\' || ch == L'/' || ch == L':')
            return i + 1;
    }
    return 0;
}

CString CutExtension(const CString& strPath)
{
    const int nDot = strPath.ReverseFind(L'.');
    return nDot > FileNameStart(strPath) ? strPath.Left(nDot) : strPath;
}
