#include "AfxFile.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

[[noreturn]] void ThrowOsError(DWORD dwError, LPCTSTR lpszFileName)
{
    LONG lOsError = (LONG)dwError;
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, lpszFileName);
}

void FillException(CFileException* pError, DWORD dwError, LPCTSTR lpszFileName)
{
    if (pError == NULL)
        return;
    pError->m_lOsError = (LONG)dwError;
    pError->m_cause = CFileException::OsErrorToException((LONG)dwError);
    pError->m_strFileName = lpszFileName;
}

// The name part of a path: what follows the last '\', '/' or ':'.
LPCTSTR FindFileName(LPCTSTR lpszPath)
{
    LPCTSTR lpszName = lpszPath;
    for (LPCTSTR p = lpszPath; *p != 0; ++p)
    {
        if (*p == L'\\' || *p == L'/' || *p == L':')
            lpszName = p + 1;
    }
    return lpszName;
}

BOOL GetFullPath(LPCTSTR lpszFileName, CString& strFullPath)
{
    WCHAR szPath[MAX_PATH];
    DWORD dwLen = GetFullPathNameW(lpszFileName, MAX_PATH, szPath, NULL);
    if (dwLen == 0)
        return FALSE;
    if (dwLen < MAX_PATH)
    {
        strFullPath = szPath;
        return TRUE;
    }
    // Longer than MAX_PATH: ask again with a buffer of the size reported.
    LPWSTR pBuf = strFullPath.GetBuffer((int)dwLen);
    DWORD dwNewLen = GetFullPathNameW(lpszFileName, dwLen, pBuf, NULL);
    strFullPath.ReleaseBuffer(dwNewLen < dwLen ? (int)dwNewLen : 0);
    return dwNewLen != 0 && dwNewLen < dwLen;
}

} // namespace

// ---------------------------------------------------------------------------------------
// CFile

CFile::CFile()
    : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(HANDLE hFile)
    : m_hFile(hFile), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        CloseHandle(m_hFile);
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_bCloseOnDelete = FALSE;
    m_hFile = INVALID_HANDLE_VALUE;
    m_strFileName.Empty();

    if (lpszFileName == NULL || !GetFullPath(lpszFileName, m_strFileName))
    {
        DWORD dwError = GetLastError();
        FillException(pError, dwError != ERROR_SUCCESS ? dwError : ERROR_INVALID_NAME,
                      lpszFileName != NULL ? lpszFileName : L"");
        m_strFileName.Empty();
        return FALSE;
    }

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3)
    {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: dwAccess = GENERIC_READ; break;
    }

    DWORD dwShareMode = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareDenyWrite: dwShareMode = FILE_SHARE_READ; break;
    case shareDenyRead: dwShareMode = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: dwShareMode = 0; break;      // shareCompat, shareExclusive
    }

    SECURITY_ATTRIBUTES sa;
    sa.nLength = sizeof(sa);
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;

    DWORD dwCreateFlag;
    if (nOpenFlags & modeCreate)
        dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        dwCreateFlag = OPEN_EXISTING;

    HANDLE hFile = CreateFileW(m_strFileName, dwAccess, dwShareMode, &sa, dwCreateFlag,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
    {
        FillException(pError, GetLastError(), lpszFileName);
        m_strFileName.Empty();
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

CString CFile::GetFileName() const
{
    return CString(FindFileName(m_strFileName));
}

CString CFile::GetFileTitle() const
{
    CString strTitle(FindFileName(m_strFileName));
    int nDot = strTitle.ReverseFind(L'.');
    if (nDot > 0)
        strTitle = strTitle.Left(nDot);
    return strTitle;
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName)
{
    m_strFileName = lpszNewName;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        ThrowOsError(GetLastError(), m_strFileName);
    return (UINT)dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL))
        ThrowOsError(GetLastError(), m_strFileName);
    if (dwWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DWORD dwMethod = nFrom == begin ? FILE_BEGIN : nFrom == end ? FILE_END : FILE_CURRENT;
    LARGE_INTEGER liOff, liNew;
    liOff.QuadPart = lOff;
    if (!SetFilePointerEx(m_hFile, liOff, &liNew, dwMethod))
        ThrowOsError(GetLastError(), m_strFileName);
    return (ULONGLONG)liNew.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER liZero, liPos;
    liZero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, liZero, &liPos, FILE_CURRENT))
        ThrowOsError(GetLastError(), m_strFileName);
    return (ULONGLONG)liPos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(m_hFile, &liSize))
        ThrowOsError(GetLastError(), m_strFileName);
    return (ULONGLONG)liSize.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!SetEndOfFile(m_hFile))
        ThrowOsError(GetLastError(), m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    if (!FlushFileBuffers(m_hFile))
        ThrowOsError(GetLastError(), m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    DWORD dwError = 0;
    if (m_hFile != INVALID_HANDLE_VALUE && !CloseHandle(m_hFile))
    {
        bError = TRUE;
        dwError = GetLastError();
    }
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    CString strFileName = m_strFileName;
    m_strFileName.Empty();
    if (bError)
        ThrowOsError(dwError, strFileName);
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    lstrcpynW(rStatus.m_szFullName, m_strFileName, MAX_PATH);

    if (m_hFile == INVALID_HANDLE_VALUE)
        return TRUE;

    FILETIME ftCreate, ftAccess, ftModify;
    if (!GetFileTime(m_hFile, &ftCreate, &ftAccess, &ftModify))
        return FALSE;
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(m_hFile, &liSize))
        return FALSE;
    rStatus.m_size = (ULONGLONG)liSize.QuadPart;

    DWORD dwAttributes = m_strFileName.IsEmpty() ? INVALID_FILE_ATTRIBUTES
                                                 : GetFileAttributesW(m_strFileName);
    rStatus.m_attribute = dwAttributes == INVALID_FILE_ATTRIBUTES ? 0 : dwAttributes;

    rStatus.m_ctime = CTime(ftCreate);
    rStatus.m_atime = CTime(ftAccess);
    rStatus.m_mtime = CTime(ftModify);
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    CString strFullPath;
    if (lpszFileName == NULL || !GetFullPath(lpszFileName, strFullPath)
        || strFullPath.GetLength() >= MAX_PATH)
        return FALSE;
    lstrcpynW(rStatus.m_szFullName, strFullPath, MAX_PATH);

    WIN32_FIND_DATAW findData;
    HANDLE hFind = FindFirstFileW(lpszFileName, &findData);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(hFind);

    rStatus.m_attribute = findData.dwFileAttributes;
    rStatus.m_size = ((ULONGLONG)findData.nFileSizeHigh << 32) | findData.nFileSizeLow;
    rStatus.m_ctime = CTime(findData.ftCreationTime);
    rStatus.m_atime = CTime(findData.ftLastAccessTime);
    rStatus.m_mtime = CTime(findData.ftLastWriteTime);
    return TRUE;
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName)
{
    if (!DeleteFileW(lpszFileName))
        ThrowOsError(GetLastError(), lpszFileName);
}

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!MoveFileW(lpszOldName, lpszNewName))
        ThrowOsError(GetLastError(), lpszOldName);
}

// ---------------------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(NULL), m_bAutoDelete(FALSE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
}

BYTE* CMemFile::Alloc(SIZE_T nBytes)
{
    return (BYTE*)malloc(nBytes);
}

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    return (BYTE*)realloc(lpMem, nBytes);
}

void CMemFile::Free(BYTE* lpMem)
{
    free(lpMem);
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;      // a block allocated from now on is the file's own
    return lpBuffer;
}

void CMemFile::GrowFile(SIZE_T dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();

    SIZE_T dwNewBufferSize = m_nBufferSize;
    while (dwNewBufferSize < dwNewLen)
    {
        if (dwNewBufferSize > (SIZE_T)-1 - m_nGrowBytes)
            AfxThrowMemoryException();
        dwNewBufferSize += m_nGrowBytes;
    }
    BYTE* lpNew = m_lpBuffer == NULL ? Alloc(dwNewBufferSize)
                                     : Realloc(m_lpBuffer, dwNewBufferSize);
    if (lpNew == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = dwNewBufferSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    SIZE_T nRead = m_nFileSize - m_nPosition;
    if (nRead > nCount)
        nRead = nCount;
    memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return (UINT)nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_nPosition > (SIZE_T)-1 - nCount)
        AfxThrowFileException(CFileException::badSeek);
    SIZE_T nEnd = m_nPosition + nCount;
    if (nEnd > m_nBufferSize)
        GrowFile(nEnd);
    // A write after a seek past the end leaves no stale bytes in the gap.
    if (m_nPosition > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG lBase = nFrom == begin ? 0
                   : nFrom == end ? (LONGLONG)m_nFileSize
                                  : (LONGLONG)m_nPosition;
    LONGLONG lNew = lBase + lOff;
    if (lNew < 0)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = (SIZE_T)lNew;
    return (ULONGLONG)m_nPosition;
}

ULONGLONG CMemFile::GetPosition() const
{
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_nFileSize;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    SIZE_T nNewLen = (SIZE_T)dwNewLen;
    if (nNewLen > m_nBufferSize)
        GrowFile(nNewLen);
    if (nNewLen > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    if (nNewLen < m_nPosition)
        m_nPosition = nNewLen;
    m_nFileSize = nNewLen;
}

void CMemFile::Flush()
{
}

void CMemFile::Close()
{
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}

void CMemFile::Abort()
{
    Close();
}

// ---------------------------------------------------------------------------------------
// CSharedFile

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(NULL), m_bAllowGrow(TRUE)
{
}

CSharedFile::~CSharedFile()
{
    // The base's destructor would free the block with the base's Free.
    Close();
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    m_hGlobalMemory = GlobalAlloc(m_nAllocFlags, nBytes);
    if (m_hGlobalMemory == NULL)
        return NULL;
    return (BYTE*)GlobalLock(m_hGlobalMemory);
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T nBytes)
{
    if (!m_bAllowGrow)
        return NULL;
    // A moveable block moves only while it is unlocked.
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hNew = GlobalReAlloc(m_hGlobalMemory, nBytes,
                                 m_nAllocFlags & (GMEM_MOVEABLE | GMEM_ZEROINIT));
    if (hNew == NULL)
    {
        GlobalLock(m_hGlobalMemory);
        return NULL;
    }
    m_hGlobalMemory = hNew;
    return (BYTE*)GlobalLock(m_hGlobalMemory);
}

void CSharedFile::Free(BYTE*)
{
    GlobalUnlock(m_hGlobalMemory);
    GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = NULL;
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL hMem = m_hGlobalMemory;
    if (hMem != NULL)
        GlobalUnlock(hMem);
    m_hGlobalMemory = NULL;
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAllowGrow = TRUE;
    return hMem;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    Close();
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = (BYTE*)GlobalLock(hGlobalMemory);
    m_nBufferSize = m_nFileSize = m_lpBuffer != NULL ? GlobalSize(hGlobalMemory) : 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    m_bAllowGrow = bAllowGrow;
}
