#include "StdioFileEx.h"

#include <string.h>

#include <vector>

namespace
{
const UINT kSignatureFlagsMask = CFile::typeText | CFile::modeWrite | CFile::modeCreate;
const WCHAR kByteOrderSign = 0xFEFF;
const UINT kLineBytes = 4096;      // the longest 8-bit line read at once, terminator included

UINT ResolveCodePage(int nCodePage)
{
    return nCodePage == -1 ? GetACP() : (UINT)nCodePage;
}
}

CStdioFileEx::CStdioFileEx() : m_bIsUnicodeText(0), m_nFlags(0), m_nFileCodePage(-1)
{
}

CStdioFileEx::CStdioFileEx(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_bIsUnicodeText(0), m_nFlags(0), m_nFileCodePage(-1)
{
    CString strName(lpszFileName);      // loads the string when given an id
    CFileException e;
    if (!Open(strName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

BOOL CStdioFileEx::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    ProcessFlags(lpszFileName, nOpenFlags);
    return CStdioFile::Open(lpszFileName, nOpenFlags & ~(UINT)modeWriteUnicode, pError);
}

UINT CStdioFileEx::ProcessFlags(LPCTSTR lpszFileName, UINT& nOpenFlags)
{
    m_bIsUnicodeText = 0;
    // Only a file opened for reading as text can already hold a sign worth looking for.
    if ((nOpenFlags & kSignatureFlagsMask) == typeText && IsFileUnicode(lpszFileName))
    {
        nOpenFlags = (nOpenFlags & ~(UINT)typeText) | typeBinary;
        m_bIsUnicodeText = 1;
    }
    // UTF-16 must reach the file untouched: text mode would turn every 0x0A byte of a
    // character into CR LF.
    if (nOpenFlags & modeWriteUnicode)
        nOpenFlags = (nOpenFlags & ~(UINT)typeText) | typeBinary;
    m_nFlags = nOpenFlags;
    return nOpenFlags;
}

BOOL CStdioFileEx::IsFileUnicode(LPCTSTR lpszFileName)
{
    CFile file;
    if (lpszFileName == NULL || !file.Open(lpszFileName, modeRead | shareDenyNone))
        return FALSE;
    BOOL bUnicode = FALSE;
    try
    {
        BYTE sign[2] = {0, 0};
        if (file.Read(sign, 2) == 2)
            bUnicode = (WCHAR)(sign[0] | (sign[1] << 8)) == kByteOrderSign;
        file.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        file.Abort();
        return FALSE;
    }
    return bUnicode;
}

BOOL CStdioFileEx::ReadString(CString& rString)
{
    BOOL bRead;
    if (m_bIsUnicodeText)
    {
        if (GetPosition() == 0)
        {
            BYTE sign[2];
            Read(sign, 2);
        }
        bRead = CStdioFile::ReadString(rString);
    }
    else
    {
        std::vector<char> bytes(kLineBytes, 0);
        bRead = ReadStringA(bytes.data(), kLineBytes) != NULL;
        if (bRead)
        {
            std::vector<WCHAR> chars(kLineBytes, 0);
            int nChars = MultiByteToWide(bytes.data(), chars.data(), kLineBytes,
                                         m_nFileCodePage);
            // A line that converts to nothing (it starts with a zero byte) is empty rather
            // than a second copy of the line before it.
            rString = CString(chars.data(), nChars);
        }
    }
    if (bRead)
    {
        int nLength = rString.GetLength();
        if (nLength >= 2 && rString[nLength - 2] == L'\r' && rString[nLength - 1] == L'\n')
            rString = rString.Left(nLength - 2);
        else if (nLength >= 1 && (rString[nLength - 1] == L'\r' || rString[nLength - 1] == L'\n'))
            rString = rString.Left(nLength - 1);
    }
    return bRead;
}

void CStdioFileEx::WriteString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return;
    if (m_nFlags & modeWriteUnicode)
    {
        if (GetPosition() == 0)
            Write(&kByteOrderSign, sizeof(kByteOrderSign));
        int nLength = lstrlenW(lpsz);
        if (nLength > 0)
            Write(lpsz, (UINT)nLength * sizeof(WCHAR));
        return;
    }
    CString strText(lpsz);
    int nNeeded = GetRequiredMultiByteLength(strText, m_nFileCodePage);
    if (nNeeded <= 0)
        return;
    std::vector<char> bytes((size_t)nNeeded, 0);
    int nBytes = WideToMultiByte(strText, bytes.data(), nNeeded, m_nFileCodePage);
    if (nBytes > 0)
        Write(bytes.data(), (UINT)nBytes);
}

int CStdioFileEx::WideToMultiByte(LPCWSTR lpszText, LPSTR lpszBuffer, int nBufferSize,
                                  int nCodePage)
{
    if (nBufferSize <= 0 || lpszText == NULL || lpszBuffer == NULL)
        return 0;
    memset(lpszBuffer, 0, (size_t)nBufferSize);
    UINT nPage = ResolveCodePage(nCodePage);
    int nResult;
    if (nPage == CP_UTF8)
    {
        nResult = WideCharToMultiByte(nPage, 0, lpszText, -1, lpszBuffer, nBufferSize, NULL,
                                      NULL);
    }
    else
    {
        BOOL bUsedDefault = FALSE;
        nResult = WideCharToMultiByte(nPage, WC_COMPOSITECHECK | WC_SEPCHARS, lpszText, -1,
                                      lpszBuffer, nBufferSize, "#", &bUsedDefault);
    }
    return nResult > 0 ? nResult - 1 : 0;
}

int CStdioFileEx::GetRequiredMultiByteLength(LPCWSTR lpszText, int nCodePage)
{
    if (lpszText == NULL)
        return 0;
    UINT nPage = ResolveCodePage(nCodePage);
    if (nPage == CP_UTF8)
        return WideCharToMultiByte(nPage, 0, lpszText, -1, NULL, 0, NULL, NULL);
    BOOL bUsedDefault = FALSE;
    return WideCharToMultiByte(nPage, WC_COMPOSITECHECK | WC_SEPCHARS, lpszText, -1, NULL, 0,
                               "#", &bUsedDefault);
}

int CStdioFileEx::MultiByteToWide(LPCSTR lpszBytes, LPWSTR lpszBuffer, int nBufferChars,
                                  int nCodePage)
{
    if (lpszBytes == NULL || lpszBuffer == NULL || nBufferChars <= 0)
        return 0;
    memset(lpszBuffer, 0, (size_t)nBufferChars * sizeof(WCHAR));
    UINT nPage = ResolveCodePage(nCodePage);
    int nResult = MultiByteToWideChar(nPage, nPage == CP_UTF8 ? 0 : MB_PRECOMPOSED, lpszBytes,
                                      -1, lpszBuffer, nBufferChars);
    return nResult > 0 ? nResult - 1 : 0;
}
