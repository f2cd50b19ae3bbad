#include "AfxFileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "AfxPath.h"

namespace {

typedef WCHAR*(CDECL* PFN_WINE_GET_DOS_FILE_NAME)(LPCSTR);

// Links lead on to links at most this many times, as the system itself allows.
const int kMaxLinkSteps = 40;
// An extension longer than this is no picture type: the new file ends in ".tmp" instead.
const int kMaxKeptExtension = 16;
const int kNameAttempts = 100;

// The Windows path of a Linux path; empty when Wine has no name for it.
CString DosPathOf(const std::string& strUnix)
{
    static PFN_WINE_GET_DOS_FILE_NAME pfn = (PFN_WINE_GET_DOS_FILE_NAME)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    if (pfn == NULL)
        return CString();
    WCHAR* pszDos = pfn(strUnix.c_str());
    if (pszDos == NULL)
        return CString();
    CString strDos(pszDos);
    HeapFree(GetProcessHeap(), 0, pszDos);
    return strDos;
}

// The file a link leads to, through any number of links, even when that file does not
// exist yet; the path itself when it is no link.
CString FollowLinks(const CString& strPath)
{
    const CStringA strUnix = AfxGetUnixPath(strPath);
    if (strUnix.IsEmpty())
        return strPath;
    std::string path(strUnix.GetString());
    bool bLink = false;
    for (int i = 0; i < kMaxLinkSteps; i++)
    {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::string target(4096, '\0');
        const ssize_t n = readlink(path.c_str(), &target[0], target.size());
        if (n <= 0 || (size_t)n >= target.size())
            break;
        target.resize((size_t)n);
        if (target[0] != '/')
            target = path.substr(0, path.rfind('/') + 1) + target;
        path = target;
        bLink = true;
    }
    if (!bLink)
        return strPath;
    const CString strDos = DosPathOf(path);
    return strDos.IsEmpty() ? strPath : strDos;
}

int NameStart(const CString& strPath)
{
    for (int i = strPath.GetLength() - 1; i >= 0; i--)
        if (strPath[i] == L'\\' || strPath[i] == L'/' || strPath[i] == L':')
            return i + 1;
    return 0;
}

CString ExtensionOf(const CString& strPath)
{
    const int nDot = strPath.ReverseFind(L'.');
    if (nDot <= NameStart(strPath) || strPath.GetLength() - nDot > kMaxKeptExtension)
        return L".tmp";
    return strPath.Mid(nDot);
}

// A new, empty file of a free name in the folder: NO_ERROR or the system's error.
DWORD CreateWorkFile(const CString& strFolder, const CString& strExtension, CString& strWork)
{
    static LONG s_nCounter = 0;
    DWORD dwError = ERROR_FILE_EXISTS;
    for (int i = 0; i < kNameAttempts && dwError == ERROR_FILE_EXISTS; i++)
    {
        const DWORD dwMix = GetTickCount() * 2654435761u ^ GetCurrentProcessId() << 16 ^
                            (DWORD)InterlockedIncrement(&s_nCounter);
        strWork.Format(L"%s~mos%08x%s", (LPCTSTR)strFolder, (UINT)dwMix,
                       (LPCTSTR)strExtension);
        HANDLE hFile = CreateFileW(strWork, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile != INVALID_HANDLE_VALUE)
        {
            CloseHandle(hFile);
            return NO_ERROR;
        }
        dwError = GetLastError();
    }
    strWork.Empty();
    return dwError != NO_ERROR ? dwError : ERROR_CANNOT_MAKE;
}

// The file's data on the disk: a file moved into place before would survive a crash as a
// name without its content.
DWORD FlushFile(const CString& strPath)
{
    HANDLE hFile = CreateFileW(strPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    const BOOL bFlushed = FlushFileBuffers(hFile);
    const DWORD dwError = bFlushed ? NO_ERROR : GetLastError();
    CloseHandle(hFile);
    return dwError;
}

// The new file gets the mode, and where the system lets it the owner, of the old one.
void KeepPermissions(const CString& strOld, const CString& strNew)
{
    const CStringA strOldUnix = AfxGetUnixPath(strOld);
    const CStringA strNewUnix = AfxGetUnixPath(strNew);
    struct stat st;
    if (strOldUnix.IsEmpty() || strNewUnix.IsEmpty() || stat(strOldUnix.GetString(), &st) != 0)
        return;
    chmod(strNewUnix.GetString(), st.st_mode & 07777);
    if (chown(strNewUnix.GetString(), st.st_uid, st.st_gid) != 0)
        chmod(strNewUnix.GetString(), st.st_mode & 0777);   // a set-id bit must not outlive its owner
}

// The folder's entry for the new name on the disk as well.
void FlushFolder(const CString& strFolder)
{
    const CStringA strUnix = AfxGetUnixPath(strFolder);
    if (strUnix.IsEmpty())
        return;
    const int fd = open(strUnix.GetString(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

} // namespace

CFileReplacement::CFileReplacement()
{
}

CFileReplacement::~CFileReplacement()
{
    Abort();
}

DWORD CFileReplacement::Begin(LPCTSTR lpszTarget)
{
    Abort();
    m_strTarget = FollowLinks(lpszTarget);
    const DWORD dwAttributes = GetFileAttributesW(m_strTarget);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES)
    {
        if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return ERROR_ACCESS_DENIED;
        // Putting a file in its place might succeed where writing into it would not.
        if (dwAttributes & FILE_ATTRIBUTE_READONLY)
            return ERROR_ACCESS_DENIED;
    }
    return CreateWorkFile(m_strTarget.Left(NameStart(m_strTarget)), ExtensionOf(m_strTarget),
                          m_strWork);
}

DWORD CFileReplacement::Commit()
{
    if (m_strWork.IsEmpty())
        return ERROR_INVALID_HANDLE;
    DWORD dwError = FlushFile(m_strWork);
    if (dwError == NO_ERROR)
    {
        KeepPermissions(m_strTarget, m_strWork);
        if (!MoveFileExW(m_strWork, m_strTarget,
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            dwError = GetLastError();
    }
    if (dwError != NO_ERROR)
    {
        Abort();
        return dwError;
    }
    m_strWork.Empty();
    const int nNameStart = NameStart(m_strTarget);
    FlushFolder(nNameStart > 0 ? m_strTarget.Left(nNameStart) : CString(L"."));
    return NO_ERROR;
}

void CFileReplacement::Abort()
{
    if (m_strWork.IsEmpty())
        return;
    SetFileAttributesW(m_strWork, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(m_strWork);
    m_strWork.Empty();
}

DWORD AfxWriteWholeFile(LPCTSTR lpszPath, const void* pData, size_t nSize)
{
    CFileReplacement replacement;
    DWORD dwError = replacement.Begin(lpszPath);
    if (dwError != NO_ERROR)
        return dwError;
    HANDLE hFile = CreateFileW(replacement.GetWorkPath(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    const BYTE* p = (const BYTE*)pData;
    while (nSize > 0 && dwError == NO_ERROR)
    {
        const DWORD dwChunk = nSize > 0x10000000 ? 0x10000000 : (DWORD)nSize;
        DWORD dwWritten = 0;
        if (!WriteFile(hFile, p, dwChunk, &dwWritten, NULL))
            dwError = GetLastError();
        else if (dwWritten == 0)
            dwError = ERROR_WRITE_FAULT;
        p += dwWritten;
        nSize -= dwWritten;
    }
    if (!CloseHandle(hFile) && dwError == NO_ERROR)
        dwError = GetLastError();
    if (dwError != NO_ERROR)
        return dwError;
    return replacement.Commit();
}

DWORD AfxCheckWritable(LPCTSTR lpszPath)
{
    CFileReplacement probe;
    return probe.Begin(lpszPath);
}
