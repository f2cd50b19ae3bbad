#include "DocPaths.h"

#include <windows.h>

#include <vector>

#include "AfxDoc.h"

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

BOOL IsSameFile(const CString& strFirst, const CString& strSecond)
{
    if (strFirst.IsEmpty() || strSecond.IsEmpty())
        return FALSE;
    return AfxFullPath(strFirst).CompareNoCase(AfxFullPath(strSecond)) == 0;
}

namespace
{

BOOL ReadWholeFile(const CString& strPath, std::vector<BYTE>& bytes)
{
    HANDLE hFile = CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size = {};
    BOOL bRead = GetFileSizeEx(hFile, &size) && size.QuadPart < 0x10000000;
    if (bRead)
    {
        bytes.resize((size_t)size.QuadPart);
        DWORD dwRead = 0;
        bRead = bytes.empty() || (ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead,
                                           NULL) &&
                                  dwRead == bytes.size());
    }
    CloseHandle(hFile);
    return bRead;
}

}   // namespace

BOOL HaveSameContents(const CString& strFirst, const CString& strSecond)
{
    std::vector<BYTE> first;
    std::vector<BYTE> second;
    return ReadWholeFile(strFirst, first) && ReadWholeFile(strSecond, second) &&
           first == second;
}

CString FreeFileName(const CString& strPath, const CString& strOwnFile)
{
    if (GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES ||
        IsSameFile(strPath, strOwnFile))
        return strPath;
    const CString strBase = CutExtension(strPath);
    const CString strExtension = strPath.Mid(strBase.GetLength());
    CString strFree;
    for (int n = 2; n < 100000; n++)
    {
        strFree.Format(L"%s (%d)%s", (LPCTSTR)strBase, n, (LPCTSTR)strExtension);
        if (GetFileAttributesW(strFree) == INVALID_FILE_ATTRIBUTES)
            break;
    }
    return strFree;
}

DWORD EnsureFolder(const CString& strFolder)
{
    CString strPath = strFolder;
    while (!strPath.IsEmpty() && (strPath.Right(1) == L"\\" || strPath.Right(1) == L"/"))
        strPath = strPath.Left(strPath.GetLength() - 1);
    if (strPath.IsEmpty())
        return ERROR_PATH_NOT_FOUND;
    const DWORD dwAttributes = GetFileAttributesW(strPath);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES)
        return (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) ? NO_ERROR : ERROR_ALREADY_EXISTS;
    const int nStart = FileNameStart(strPath);
    // A drive such as "C:" has no folder above it to make.
    if (nStart > 0 && nStart < strPath.GetLength())
    {
        const DWORD dwParent = EnsureFolder(strPath.Left(nStart));
        if (dwParent != NO_ERROR)
            return dwParent;
    }
    if (CreateDirectoryW(strPath, NULL) || GetLastError() == ERROR_ALREADY_EXISTS)
        return NO_ERROR;
    return GetLastError();
}

CString SafeFileName(const CString& strText)
{
    static const CString kForbidden(L"\\/:*?\"<>|");
    CString strName = strText;
    for (int i = 0; i < strName.GetLength(); i++)
        if (strName[i] < L' ' || kForbidden.Find(strName[i]) >= 0)
            strName.SetAt(i, L'_');
    strName.TrimRight(L" .");
    return strName.IsEmpty() ? CString(L"_") : strName;
}

BOOL IsProgramFileKind(const CString& strPath)
{
    static const LPCWSTR kKinds[] = {
        L".ms2", L".mos", L".pal", L".jpg", L".jpeg", L".jpe", L".jfif", L".png", L".webp",
        L".tif", L".tiff", L".bmp", L".dib", L".jp2", L".pbm", L".pgm", L".ppm", L".pnm",
        L".pxm", L".pam", L".sr", L".ras", L".hdr", L".pic", L".exr", L".pfm"};
    const CString strName = strPath.Mid(FileNameStart(strPath));
    const int nDot = strName.ReverseFind(L'.');
    if (nDot < 0)
        return FALSE;
    const CString strExtension = strName.Mid(nDot);
    for (LPCWSTR lpszKind : kKinds)
        if (strExtension.CompareNoCase(lpszKind) == 0)
            return TRUE;
    return FALSE;
}
