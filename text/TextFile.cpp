#include "TextFile.h"

#include <string>

#include "AfxFileReplacement.h"

namespace
{

const char kUtf8Sign[] = "\xEF\xBB\xBF";

BOOL Fail(DWORD* pdwError, DWORD dwError)
{
    if (pdwError != NULL)
        *pdwError = dwError;
    return FALSE;
}

std::string Encode(const CString& strText, UINT nCodePage)
{
    const DWORD dwFlags = nCodePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int nBytes = WideCharToMultiByte(nCodePage, dwFlags, strText, strText.GetLength(),
                                           NULL, 0, NULL, NULL);
    std::string bytes((size_t)(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        WideCharToMultiByte(nCodePage, dwFlags, strText, strText.GetLength(), &bytes[0], nBytes,
                            NULL, NULL);
    return bytes;
}

// The characters of the bytes in the code page; FALSE when bStrict and a byte sequence is
// not valid there.
BOOL Decode(const char* pBytes, int nBytes, UINT nCodePage, BOOL bStrict, CString& strText)
{
    strText.Empty();
    if (nBytes == 0)
        return TRUE;
    const DWORD dwFlags = bStrict ? MB_ERR_INVALID_CHARS : 0;
    const int nChars = MultiByteToWideChar(nCodePage, dwFlags, pBytes, nBytes, NULL, 0);
    if (nChars <= 0)
        return FALSE;
    LPWSTR pBuffer = strText.GetBuffer(nChars);
    MultiByteToWideChar(nCodePage, dwFlags, pBytes, nBytes, pBuffer, nChars);
    strText.ReleaseBuffer(nChars);
    return TRUE;
}

}   // namespace

BOOL FitsAnsiCodePage(const CString& strText)
{
    if (strText.IsEmpty())
        return TRUE;
    BOOL bUsedDefault = FALSE;
    const int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strText,
                                           strText.GetLength(), NULL, 0, NULL, &bUsedDefault);
    if (nBytes <= 0 || bUsedDefault)
        return FALSE;
    // A code page may map a character without a default and still not give it back.
    CString strBack;
    const std::string bytes = Encode(strText, CP_ACP);
    return Decode(bytes.data(), (int)bytes.size(), CP_ACP, FALSE, strBack) && strBack == strText;
}

BOOL WriteTextFile(LPCTSTR lpszPath, const CString& strText, DWORD* pdwError)
{
    CString strLines = strText;
    strLines.Replace(L"\n", L"\r\n");
    std::string bytes;
    if (FitsAnsiCodePage(strLines))
        bytes = Encode(strLines, CP_ACP);
    else
        bytes = kUtf8Sign + Encode(strLines, CP_UTF8);

    const DWORD dwError = AfxWriteWholeFile(lpszPath, bytes.data(), bytes.size());
    return dwError == NO_ERROR ? TRUE : Fail(pdwError, dwError);
}

BOOL ReadTextFile(LPCTSTR lpszPath, CString& strText, DWORD* pdwError)
{
    strText.Empty();
    HANDLE hFile = CreateFileW(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return Fail(pdwError, GetLastError());
    LARGE_INTEGER size = {};
    std::string bytes;
    BOOL bRead = GetFileSizeEx(hFile, &size) && size.QuadPart < 0x40000000;
    if (bRead)
    {
        bytes.resize((size_t)size.QuadPart);
        DWORD dwRead = 0;
        bRead = bytes.empty() || ReadFile(hFile, &bytes[0], (DWORD)bytes.size(), &dwRead, NULL);
        bytes.resize(dwRead);
    }
    const DWORD dwError = bRead ? NO_ERROR : GetLastError();
    CloseHandle(hFile);
    if (!bRead)
        return Fail(pdwError, dwError != NO_ERROR ? dwError : ERROR_FILE_TOO_LARGE);

    const char* p = bytes.data();
    const int n = (int)bytes.size();
    if (n >= 2 && (BYTE)p[0] == 0xFF && (BYTE)p[1] == 0xFE)
    {
        const int nChars = (n - 2) / 2;
        LPWSTR pBuffer = strText.GetBuffer(nChars);
        memcpy(pBuffer, p + 2, (size_t)nChars * sizeof(WCHAR));
        strText.ReleaseBuffer(nChars);
    }
    else if (n >= 3 && bytes.compare(0, 3, kUtf8Sign) == 0)
        Decode(p + 3, n - 3, CP_UTF8, FALSE, strText);
    else if (!Decode(p, n, CP_UTF8, TRUE, strText))
        Decode(p, n, CP_ACP, FALSE, strText);
    strText.Replace(L"\r\n", L"\n");
    strText.Replace(L'\r', L'\n');
    return TRUE;
}
