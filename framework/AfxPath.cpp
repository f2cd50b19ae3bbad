#include "AfxPath.h"

#include <vector>

namespace {

typedef char*(CDECL* PFN_WINE_GET_UNIX_FILE_NAME)(LPCWSTR);

PFN_WINE_GET_UNIX_FILE_NAME GetWineUnixFileName()
{
    static PFN_WINE_GET_UNIX_FILE_NAME pfn = (PFN_WINE_GET_UNIX_FILE_NAME)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    return pfn;
}

bool IsSeparator(WCHAR ch)
{
    return ch == L'\\' || ch == L'/';
}

// Asks Wine for the Linux form of a path whose folder exists; false when it does not.
bool ConvertExisting(PFN_WINE_GET_UNIX_FILE_NAME pfn, const CString& strPath, CStringA& strResult)
{
    char* pszUnix = pfn(strPath);
    if (pszUnix == NULL)
        return false;
    strResult = pszUnix;
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return true;
}

CStringA ToUtf8(LPCWSTR lpsz, int nLen)
{
    CStringA strResult;
    if (nLen <= 0)
        return strResult;
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, lpsz, nLen, NULL, 0, NULL, NULL);
    LPSTR p = strResult.GetBuffer(nBytes);
    WideCharToMultiByte(CP_UTF8, 0, lpsz, nLen, p, nBytes, NULL, NULL);
    strResult.ReleaseBuffer(nBytes);
    return strResult;
}

} // namespace

CStringA AfxGetUnixPath(LPCTSTR lpszPath)
{
    CStringA strResult;
    PFN_WINE_GET_UNIX_FILE_NAME pfn = GetWineUnixFileName();
    if (lpszPath == NULL || *lpszPath == 0 || pfn == NULL)
        return strResult;

    WCHAR szFull[MAX_PATH];
    std::vector<WCHAR> longBuf;
    LPWSTR pFull = szFull;
    DWORD dwLen = GetFullPathNameW(lpszPath, MAX_PATH, szFull, NULL);
    if (dwLen >= MAX_PATH)
    {
        longBuf.resize(dwLen);
        pFull = longBuf.data();
        dwLen = GetFullPathNameW(lpszPath, (DWORD)longBuf.size(), pFull, NULL);
        if (dwLen >= longBuf.size())
            dwLen = 0;
    }
    if (dwLen == 0)
        return strResult;
    const CString strFull(pFull, (int)dwLen);

    // Wine resolves only paths whose folder exists: drop trailing names until it answers,
    // then append what was dropped.
    int nHead = strFull.GetLength();
    for (;;)
    {
        if (ConvertExisting(pfn, strFull.Left(nHead), strResult))
            break;
        int nSep = nHead - 1;
        while (nSep > 0 && !IsSeparator(strFull[nSep]))
            --nSep;
        int nNewHead = nSep;
        if (nNewHead > 0 && strFull[nNewHead - 1] == L':')
            ++nNewHead;                  // a drive's root keeps its backslash
        if (nSep <= 0 || nNewHead >= nHead)
            return CStringA();
        nHead = nNewHead;
    }

    int nTail = nHead;
    while (nTail < strFull.GetLength() && IsSeparator(strFull[nTail]))
        ++nTail;
    if (nTail == strFull.GetLength())
        return strResult;

    CString strTail = strFull.Mid(nTail);
    strTail.Replace(L'\\', L'/');
    if (strResult.IsEmpty() || strResult[strResult.GetLength() - 1] != '/')
        strResult += '/';
    strResult += ToUtf8(strTail, strTail.GetLength());
    return strResult;
}

CString AfxGetProgramFolder()
{
    std::vector<WCHAR> buf(MAX_PATH);
    DWORD dwLen;
    for (;;)
    {
        dwLen = GetModuleFileNameW(NULL, buf.data(), (DWORD)buf.size());
        if (dwLen == 0)
            return CString();
        if (dwLen < buf.size())
            break;
        buf.resize(buf.size() * 2);
    }
    CString strPath(buf.data(), (int)dwLen);
    return strPath.Left(strPath.ReverseFind(L'\\') + 1);
}
