#include "AfxException.h"

#include <cerrno>
#include <vector>

#include "AfxApp.h"
#include "AfxResource.h"

namespace {

// Innermost TRY block of this thread.
thread_local AFX_EXCEPTION_LINK* t_pLinkTop = NULL;

BOOL CopyMessage(LPCTSTR lpszMessage, LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    if (lpszMessage == NULL)
    {
        *lpszError = 0;
        return FALSE;
    }
    lstrcpynW(lpszError, lpszMessage, (int)nMaxError);
    return TRUE;
}

// The message of a cause (the generic one for a cause out of range), %1 the file's name.
BOOL FileMessage(UINT nIDFirst, int nCauses, int cause, const CString& strFileName,
                 LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (cause < 0 || cause >= nCauses)
        cause = 1;
    CString strName(strFileName);
    if (strName.IsEmpty())
        strName.LoadString(AFX_IDS_UNNAMED_FILE);
    CString strMessage;
    if (!strMessage.LoadString(nIDFirst + (UINT)cause))
        return CopyMessage(NULL, lpszError, nMaxError, pnHelpContext);
    strMessage.Replace(L"%1", strName);
    return CopyMessage(strMessage, lpszError, nMaxError, pnHelpContext);
}

} // namespace

// ---------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CException, CObject)

CException::CException() : m_bAutoDelete(TRUE) {}

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() {}

void CException::Delete()
{
    // Deleted by hand inside a CATCH block: the block must not delete it again.
    for (AFX_EXCEPTION_LINK* pLink = t_pLinkTop; pLink != NULL; pLink = pLink->m_pLinkPrev)
        if (pLink->m_pException == this)
            pLink->m_pException = NULL;
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage(NULL, lpszError, nMaxError, pnHelpContext);
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    // Room for the longest path the system takes, with the words around it.
    std::vector<WCHAR> message(32768 + 512);
    UINT nHelpContext = 0;
    CString strMessage;
    if (GetErrorMessage(message.data(), (UINT)message.size(), &nHelpContext))
        strMessage = message.data();
    else if (nMessageID == 0 || !strMessage.LoadString(nMessageID))
        strMessage.LoadString(AFX_IDP_NO_ERROR_AVAILABLE);

    // Through the application, which gives the box its owner, title and default icon.
    return AfxMessageBox(strMessage, nType);
}

IMPLEMENT_DYNAMIC(CSimpleException, CException)

CSimpleException::CSimpleException(BOOL bAutoDelete)
    : CException(bAutoDelete), m_nResourceID(0) {}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                       PUINT pnHelpContext) const
{
    CString strMessage;
    if (m_nResourceID == 0 || !strMessage.LoadString(m_nResourceID))
        return CopyMessage(NULL, lpszError, nMaxError, pnHelpContext);
    return CopyMessage(strMessage, lpszError, nMaxError, pnHelpContext);
}

#define IMPLEMENT_SIMPLE_EXCEPTION(class_name, nID) \
    IMPLEMENT_DYNAMIC(class_name, CSimpleException) \
    class_name::class_name() : CSimpleException(TRUE) { m_nResourceID = nID; } \
    class_name::class_name(BOOL bAutoDelete) : CSimpleException(bAutoDelete) \
    { \
        m_nResourceID = nID; \
    }

IMPLEMENT_SIMPLE_EXCEPTION(CMemoryException, AFX_IDS_MEMORY_EXCEPTION)
IMPLEMENT_SIMPLE_EXCEPTION(CNotSupportedException, AFX_IDS_NOT_SUPPORTED_EXCEPTION)
IMPLEMENT_SIMPLE_EXCEPTION(CInvalidArgException, AFX_IDS_INVALID_ARG_EXCEPTION)
IMPLEMENT_SIMPLE_EXCEPTION(CResourceException, AFX_IDS_RESOURCE_EXCEPTION)
IMPLEMENT_SIMPLE_EXCEPTION(CUserException, AFX_IDS_USER_EXCEPTION)

// ---------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                     PUINT pnHelpContext) const
{
    return FileMessage(AFX_IDP_FILE_NONE, CFileException::endOfFile + 1, m_cause, m_strFileName,
                       lpszError, nMaxError, pnHelpContext);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch ((DWORD)lOsError)
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_NO_MORE_FILES:
    case ERROR_DISK_CHANGE:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_WRONG_DISK:
    case ERROR_DUP_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_NAME:
    case ERROR_SHARING_PAUSED:
    case ERROR_ALREADY_ASSIGNED:
    case ERROR_BUFFER_OVERFLOW:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_LEVEL:
    case ERROR_NO_VOLUME_LABEL:
    case ERROR_DIR_NOT_ROOT:
    case ERROR_LABEL_TOO_LONG:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_META_EXPANSION_TOO_LONG:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_TOO_MANY_NAMES:
    case ERROR_NO_MORE_SEARCH_HANDLES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_ACCESS:
    case ERROR_WRITE_PROTECT:
    case ERROR_WRITE_FAULT:
    case ERROR_NETWORK_BUSY:
    case ERROR_BAD_NET_RESP:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_REQ_NOT_ACCEP:
    case ERROR_FILE_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_INVALID_PASSWORD:
    case ERROR_BUSY:
    case ERROR_ALREADY_EXISTS:
    case ERROR_SWAPERROR:
        return accessDenied;
    case ERROR_BAD_FORMAT:
    case ERROR_NOT_DOS_DISK:
    case ERROR_BAD_REM_ADAP:
    case ERROR_BAD_DEV_TYPE:
    case ERROR_INVALID_TARGET_HANDLE:
    case ERROR_INVALID_ORDINAL:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_BAD_EXE_FORMAT:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DIR_NOT_EMPTY:
        return removeCurrentDir;
    case ERROR_NO_SPOOL_SPACE:
        return directoryFull;
    case ERROR_BAD_LENGTH:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return badSeek;
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_CRC:
    case ERROR_ADAP_HDW_ERR:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NET_WRITE_FAULT:
    case ERROR_INVALID_CATEGORY:
    case ERROR_OPERATION_ABORTED:
    case ERROR_IO_INCOMPLETE:
    case ERROR_IO_PENDING:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
    case ERROR_LOCK_FAILED:
        return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

int CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno)
    {
    case 0:
        return none;
    case EPERM:
    case EACCES:
    case EEXIST:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ENODEV:
    case ENXIO:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EBADF:
        return invalidFile;
    case EDEADLK:
    case EBUSY:
        return sharingViolation;
    case ENOSPC:
        return diskFull;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName)
{
    if (nErrno != 0)
        AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                        PUINT pnHelpContext) const
{
    return FileMessage(AFX_IDP_ARCH_NONE, CArchiveException::badSchema + 1, m_cause, m_strFileName,
                       lpszError, nMaxError, pnHelpContext);
}

// ---------------------------------------------------------------------------------------

void AfxThrowMemoryException()
{
    static CMemoryException s_memoryException(FALSE);
    throw &s_memoryException;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

void AfxThrowUserException()
{
    throw new CUserException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

AFX_EXCEPTION_LINK::AFX_EXCEPTION_LINK() : m_pLinkPrev(t_pLinkTop), m_pException(NULL)
{
    t_pLinkTop = this;
}

AFX_EXCEPTION_LINK::~AFX_EXCEPTION_LINK()
{
    t_pLinkTop = m_pLinkPrev;
    if (m_pException != NULL)
    {
        CException* pException = m_pException;
        m_pException = NULL;
        pException->Delete();
    }
}

void AfxThrowLastCleanup()
{
    if (t_pLinkTop != NULL)
        t_pLinkTop->m_pException = NULL;
}
