// CFile, a file on a Win32 handle; CMemFile, a file in a growing memory block; and
// CSharedFile, a CMemFile whose block is global memory, to hand to the clipboard.
// Failures are reported as MFC does: Open returns FALSE and fills the exception it is
// given; every other member throws a CFileException*.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxException.h"
#include "AfxTime.h"

struct CFileStatus
{
    CTime m_ctime;           // creation
    CTime m_mtime;           // last write
    CTime m_atime;           // last access
    ULONGLONG m_size;
    DWORD m_attribute;       // CFile::Attribute bits
    TCHAR m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)

public:
    enum OpenFlags
    {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,      // used by CStdioFile only
        typeBinary = 0x08000     // used by CStdioFile only
    };

    enum Attribute
    {
        normal = 0x00,
        readOnly = FILE_ATTRIBUTE_READONLY,
        hidden = FILE_ATTRIBUTE_HIDDEN,
        system = FILE_ATTRIBUTE_SYSTEM,
        volume = 0x08,
        directory = FILE_ATTRIBUTE_DIRECTORY,
        archive = FILE_ATTRIBUTE_ARCHIVE
    };

    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);                  // the handle stays the caller's to close
    CFile(LPCTSTR lpszFileName, UINT nOpenFlags);  // throws on failure
    virtual ~CFile();

    HANDLE m_hFile;
    operator HANDLE() const { return m_hFile; }

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCTSTR lpszNewName);

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);

    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);

    virtual void Flush();
    virtual void Close();
    virtual void Abort();      // closes and ignores every error

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL PASCAL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);

    static void PASCAL Remove(LPCTSTR lpszFileName);
    static void PASCAL Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;     // full path as opened

private:
    CFile(const CFile&) = delete;
    void operator=(const CFile&) = delete;
};

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)

public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    // With nGrowBytes 0 the block is the file's whole content and cannot grow; otherwise the
    // file starts empty and the block (from malloc) is reallocated as it grows.
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach();            // the caller owns the block (free it with free)

    virtual UINT Read(void* lpBuf, UINT nCount) override;
    virtual void Write(const void* lpBuf, UINT nCount) override;
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    virtual ULONGLONG GetPosition() const override;
    virtual ULONGLONG GetLength() const override;
    virtual void SetLength(ULONGLONG dwNewLen) override;
    virtual void Flush() override;
    virtual void Close() override;
    virtual void Abort() override;

protected:
    // The block's memory; a derived file may take it from elsewhere. Realloc gives NULL
    // when the block cannot grow.
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};

class CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)

public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    virtual ~CSharedFile();

    // The block, unlocked, as the caller's to free or to hand on; the file is empty again.
    HGLOBAL Detach();
    // The file reads the block (its whole size) and frees it when closed unless detached;
    // without bAllowGrow a write past its end throws.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory;
    BOOL m_bAllowGrow;
};
