#include "AfxStdioFile.h"

#include <string.h>

#include <vector>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile()
    : m_bTextMode(TRUE), m_pBuffer(new BYTE[bufferSize]), m_nBufPos(0), m_nBufLen(0),
      m_bWriting(FALSE)
{
}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_bTextMode(TRUE), m_pBuffer(new BYTE[bufferSize]), m_nBufPos(0), m_nBufLen(0),
      m_bWriting(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        Abort();
    delete[] m_pBuffer;
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_nBufPos = m_nBufLen = 0;
    m_bWriting = FALSE;
    m_bTextMode = (nOpenFlags & typeBinary) == 0;
    return CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError);
}

// ---------------------------------------------------------------------------------------
// The buffer. It holds either bytes read ahead or bytes waiting to be written, never both.

BOOL CStdioFile::FillBuffer()
{
    if (m_bWriting)
        FlushWrite();
    m_nBufPos = 0;
    m_nBufLen = 0;
    m_nBufLen = CFile::Read(m_pBuffer, bufferSize);
    return m_nBufLen > 0;
}

int CStdioFile::PeekRawByte()
{
    if (m_bWriting || m_nBufPos >= m_nBufLen)
    {
        if (!FillBuffer())
            return -1;
    }
    return m_pBuffer[m_nBufPos];
}

int CStdioFile::GetByte()
{
    int c = PeekRawByte();
    if (c < 0)
        return -1;
    ++m_nBufPos;
    if (c == '\r' && m_bTextMode && PeekRawByte() == '\n')
    {
        ++m_nBufPos;
        return '\n';
    }
    return c;
}

void CStdioFile::FlushWrite()
{
    if (!m_bWriting)
        return;
    UINT nCount = m_nBufPos;
    m_bWriting = FALSE;
    m_nBufPos = 0;
    m_nBufLen = 0;
    CFile::Write(m_pBuffer, nCount);
}

// Moves the handle back over the bytes read ahead but not used, so that the handle's
// position is the file's logical position again.
void CStdioFile::DropReadBuffer()
{
    if (!m_bWriting && m_nBufPos < m_nBufLen)
        CFile::Seek(-(LONGLONG)(m_nBufLen - m_nBufPos), current);
    if (!m_bWriting)
        m_nBufPos = m_nBufLen = 0;
}

void CStdioFile::PutBytes(const char* p, size_t n)
{
    if (!m_bWriting)
    {
        DropReadBuffer();
        m_bWriting = TRUE;
        m_nBufPos = 0;
    }
    while (n > 0)
    {
        if (m_nBufPos == bufferSize)
        {
            FlushWrite();
            m_bWriting = TRUE;
        }
        size_t nChunk = bufferSize - m_nBufPos;
        if (nChunk > n)
            nChunk = n;
        memcpy(m_pBuffer + m_nBufPos, p, nChunk);
        m_nBufPos += (UINT)nChunk;
        p += nChunk;
        n -= nChunk;
    }
}

// Reads one line as bytes: up to and including a line feed, at most nMaxChars characters
// (a double-byte character of the ANSI code page counts as one when bGroupDbcs is set).
// FALSE when the file was already at its end.
BOOL CStdioFile::ReadLineBytes(std::string& line, size_t nMaxChars, BOOL bGroupDbcs)
{
    line.clear();
    BOOL bAny = FALSE;
    for (size_t nChars = 0; nChars < nMaxChars; ++nChars)
    {
        int c = GetByte();
        if (c < 0)
            break;
        bAny = TRUE;
        line += (char)c;
        if (c == '\n')
            break;
        if (bGroupDbcs && IsDBCSLeadByte((BYTE)c))
        {
            int t = GetByte();
            if (t < 0)
                break;
            line += (char)t;
        }
    }
    return bAny;
}

// ---------------------------------------------------------------------------------------
// Lines

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        return NULL;
    UINT nOut = 0;
    if (m_bTextMode)
    {
        std::string line;
        if (!ReadLineBytes(line, nMax - 1, TRUE))
            return NULL;
        if (!line.empty())
            nOut = (UINT)MultiByteToWideChar(CP_ACP, 0, line.data(), (int)line.size(), lpsz,
                                             (int)nMax - 1);
    }
    else
    {
        BOOL bAny = FALSE;
        while (nOut + 1 < nMax)
        {
            int lo = GetByte();
            int hi = lo < 0 ? -1 : GetByte();
            if (hi < 0)
                break;
            bAny = TRUE;
            lpsz[nOut++] = (WCHAR)(lo | (hi << 8));
            if (lpsz[nOut - 1] == L'\n')
                break;
        }
        if (!bAny && nMax > 1)
            return NULL;
    }
    lpsz[nOut] = 0;
    return lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    if (m_bTextMode)
    {
        std::string line;
        if (!ReadLineBytes(line, (size_t)-1, FALSE))
            return FALSE;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (!line.empty())
        {
            int nLen = MultiByteToWideChar(CP_ACP, 0, line.data(), (int)line.size(), NULL, 0);
            LPWSTR p = rString.GetBuffer(nLen);
            MultiByteToWideChar(CP_ACP, 0, line.data(), (int)line.size(), p, nLen);
            rString.ReleaseBuffer(nLen);
        }
        return TRUE;
    }

    std::vector<WCHAR> units;
    for (;;)
    {
        int lo = GetByte();
        int hi = lo < 0 ? -1 : GetByte();
        if (hi < 0)
            break;
        WCHAR ch = (WCHAR)(lo | (hi << 8));
        units.push_back(ch);
        if (ch == L'\n')
            break;
    }
    if (units.empty())
        return FALSE;
    int nLen = (int)units.size();
    if (units[nLen - 1] == L'\n')
        --nLen;
    if (nLen > 0)
        rString = CString(units.data(), nLen);
    return TRUE;
}

LPSTR CStdioFile::ReadStringA(LPSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        return NULL;
    std::string line;
    if (!ReadLineBytes(line, nMax - 1, FALSE) && nMax > 1)
        return NULL;
    memcpy(lpsz, line.data(), line.size());
    lpsz[line.size()] = 0;
    return lpsz;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return;
    int nLen = lstrlenW(lpsz);
    if (nLen == 0)
        return;
    if (!m_bTextMode)
    {
        PutBytes((const char*)lpsz, (size_t)nLen * sizeof(WCHAR));
        return;
    }
    // Characters outside the ANSI code page become its default character ('?') rather than
    // stopping the write halfway, and never a look-alike that would read back as other text.
    int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, lpsz, nLen, NULL, 0, NULL,
                                     NULL);
    std::string text((size_t)nBytes, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, lpsz, nLen, &text[0], nBytes, NULL, NULL);
    Write(text.data(), (UINT)text.size());
}

// ---------------------------------------------------------------------------------------
// Bytes and positions

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    BYTE* pOut = (BYTE*)lpBuf;
    UINT nDone = 0;
    if (m_bTextMode)
    {
        while (nDone < nCount)
        {
            int c = GetByte();
            if (c < 0)
                break;
            pOut[nDone++] = (BYTE)c;
        }
        return nDone;
    }
    while (nDone < nCount)
    {
        if (PeekRawByte() < 0)
            break;
        UINT nChunk = m_nBufLen - m_nBufPos;
        if (nChunk > nCount - nDone)
            nChunk = nCount - nDone;
        memcpy(pOut + nDone, m_pBuffer + m_nBufPos, nChunk);
        m_nBufPos += nChunk;
        nDone += nChunk;
    }
    return nDone;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    const char* p = (const char*)lpBuf;
    if (!m_bTextMode)
    {
        PutBytes(p, nCount);
        return;
    }
    const char* pEnd = p + nCount;
    while (p < pEnd)
    {
        const char* pLf = (const char*)memchr(p, '\n', pEnd - p);
        if (pLf == NULL)
        {
            PutBytes(p, pEnd - p);
            break;
        }
        PutBytes(p, pLf - p);
        PutBytes("\r\n", 2);
        p = pLf + 1;
    }
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    FlushWrite();
    DropReadBuffer();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    ULONGLONG nPos = CFile::GetPosition();
    if (m_bWriting)
        return nPos + m_nBufPos;
    return nPos - (m_nBufLen - m_nBufPos);
}

ULONGLONG CStdioFile::GetLength() const
{
    // Bytes still in the buffer may lie past the end the system knows.
    ULONGLONG nLength = CFile::GetLength();
    ULONGLONG nPos = GetPosition();
    return nPos > nLength ? nPos : nLength;
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    FlushWrite();
    DropReadBuffer();
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush()
{
    FlushWrite();
}

void CStdioFile::Close()
{
    CFileException* pError = NULL;
    try
    {
        FlushWrite();
    }
    catch (CFileException* e)
    {
        pError = e;
    }
    m_nBufPos = m_nBufLen = 0;
    m_bWriting = FALSE;
    if (pError != NULL)
    {
        CFile::Abort();
        throw pError;
    }
    CFile::Close();
}

void CStdioFile::Abort()
{
    try
    {
        FlushWrite();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    m_nBufPos = m_nBufLen = 0;
    m_bWriting = FALSE;
    CFile::Abort();
}
