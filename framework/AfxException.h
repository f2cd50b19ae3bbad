// The framework's exceptions: thrown as pointers (throw new CFileException(...)), caught as
// CException* and released with Delete(). The TRY/CATCH macros delete a caught exception at
// the end of the CATCH block unless THROW_LAST passes it on.
#pragma once

// The messages in the string table; the resource script includes this part.
#define AFX_IDS_UNNAMED_FILE 0xF006             // stands for the file name when there is none
#define AFX_IDP_NO_ERROR_AVAILABLE 0xF020
#define AFX_IDS_NOT_SUPPORTED_EXCEPTION 0xF021
#define AFX_IDS_RESOURCE_EXCEPTION 0xF022
#define AFX_IDS_MEMORY_EXCEPTION 0xF023
#define AFX_IDS_USER_EXCEPTION 0xF024
#define AFX_IDS_INVALID_ARG_EXCEPTION 0xF025
#define AFX_IDP_FILE_NONE 0xF1A0                // then one per CFileException cause, in order
#define AFX_IDP_ARCH_NONE 0xF1B0                // then one per CArchiveException cause

#ifndef RC_INVOKED

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    CException();
    explicit CException(BOOL bAutoDelete);
    virtual ~CException();

    // Frees the exception unless it is a preallocated one (m_bAutoDelete FALSE).
    void Delete();

    // Copies the message (truncated to nMaxError - 1 characters); FALSE if there is none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                 PUINT pnHelpContext = NULL) const;
    // Shows the message, or the string nMessageID when the exception has none.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

// An exception whose message is a fixed string of the string table, loaded when asked for
// so that it comes in the language the resources are taken in then.
class CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = NULL) const override;

protected:
    UINT m_nResourceID;
};

class CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException();
    explicit CMemoryException(BOOL bAutoDelete);
};

class CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException();
    explicit CNotSupportedException(BOOL bAutoDelete);
};

// A member was called with an argument it cannot take (an index out of range, for instance).
class CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException();
    explicit CInvalidArgException(BOOL bAutoDelete);
};

class CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException();
    explicit CResourceException(BOOL bAutoDelete);
};

// Thrown after the user has already been told (a failed dialog validation, for instance):
// handlers stop the operation without reporting anything more.
class CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException();
    explicit CUserException(BOOL bAutoDelete);
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = CFileException::none, LONG lOsError = -1,
                   LPCTSTR lpszArchiveName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = NULL) const override;

    // Win32 error code (GetLastError) or C runtime errno value to cause.
    static int OsErrorToException(LONG lOsError);
    static int ErrnoToException(int nErrno);
    // Throw a CFileException for a non-zero error; do nothing for 0.
    static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = NULL);
    static void ThrowErrno(int nErrno, LPCTSTR lpszFileName = NULL);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    CArchiveException(int cause = CArchiveException::none, LPCTSTR lpszArchiveName = NULL);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = NULL) const override;

    int m_cause;
    CString m_strFileName;
};

// The memory exception is one preallocated object, so throwing it needs no memory.
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1,
                                        LPCTSTR lpszFileName = NULL);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = NULL);

// One per TRY block, linked per thread: it deletes the exception its CATCH block caught when
// the block ends, unless THROW_LAST took it back.
struct AFX_EXCEPTION_LINK
{
    AFX_EXCEPTION_LINK* m_pLinkPrev;
    CException* m_pException;

    AFX_EXCEPTION_LINK();
    ~AFX_EXCEPTION_LINK();
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
};

void AfxThrowLastCleanup();

#define TRY { AFX_EXCEPTION_LINK _afxExceptionLink; try {

#define CATCH(class_name, e) } catch (class_name* e) { \
    _afxExceptionLink.m_pException = e;

#define AND_CATCH(class_name, e) } catch (class_name* e) { \
    _afxExceptionLink.m_pException = e;

#define END_CATCH } }

#define CATCH_ALL(e) } catch (CException* e) { { \
    _afxExceptionLink.m_pException = e;

#define AND_CATCH_ALL(e) } catch (CException* e) { { \
    _afxExceptionLink.m_pException = e;

#define END_CATCH_ALL } } }

#define THROW(e) throw e
#define THROW_LAST() (AfxThrowLastCleanup(), throw)

#endif // RC_INVOKED
