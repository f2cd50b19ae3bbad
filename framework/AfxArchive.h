// CArchive: buffered binary serialisation over a CFile, with MFC's byte layout (little-endian
// values, the archive string form, and the class and object tags of WriteObject/ReadObject).
#pragma once

#include <windows.h>
#include <string.h>

#include "AfxObject.h"
#include "AfxString.h"

class CFile;
class CDocument;

class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    // lpBuf, when given, is a caller-owned buffer of nBufSize bytes.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }

    // The schema read with the class of the object being loaded; (UINT)-1 once consumed.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema);

    CDocument* m_pDocument;
    CString m_strFileName;     // named in the exceptions the archive throws

    // Raw bytes. Read returns fewer than nMax only at the end of the file; EnsureRead
    // throws endOfFile instead.
    UINT Read(void* lpBuf, UINT nMax);
    void EnsureRead(void* lpBuf, UINT nCount);
    void Write(const void* lpBuf, UINT nMax);

    // Storing: writes the buffer out. Loading: gives the unread buffered bytes back to the
    // file, so that its position is the archive's.
    void Flush();
    void Close();
    void Abort();

    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL,
                             UINT* pSchema = NULL, DWORD* pObTag = NULL);
    void SerializeClass(const CRuntimeClass* pClassRef);
    void MapObject(const CObject* pOb);

    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    // LONG is int and DWORD is UINT here, so their overloads are the int and UINT ones.
    CArchive& operator<<(BYTE by) { StoreValue(by); return *this; }
    CArchive& operator<<(WORD w) { StoreValue(w); return *this; }
    CArchive& operator<<(short w) { StoreValue(w); return *this; }
    CArchive& operator<<(int i) { StoreValue(i); return *this; }
    CArchive& operator<<(UINT u) { StoreValue(u); return *this; }
    CArchive& operator<<(LONGLONG dwdw) { StoreValue(dwdw); return *this; }
    CArchive& operator<<(ULONGLONG dwdw) { StoreValue(dwdw); return *this; }
    CArchive& operator<<(float f) { StoreValue(f); return *this; }
    CArchive& operator<<(double d) { StoreValue(d); return *this; }
    CArchive& operator<<(bool b) { StoreValue((BYTE)(b ? 1 : 0)); return *this; }
    CArchive& operator<<(const CString& str);
    // A string literal would otherwise convert to bool and be stored as one byte.
    CArchive& operator<<(const WCHAR* lpsz) = delete;
    CArchive& operator<<(const char* lpsz) = delete;

    CArchive& operator>>(BYTE& by) { LoadValue(by); return *this; }
    CArchive& operator>>(WORD& w) { LoadValue(w); return *this; }
    CArchive& operator>>(short& w) { LoadValue(w); return *this; }
    CArchive& operator>>(int& i) { LoadValue(i); return *this; }
    CArchive& operator>>(UINT& u) { LoadValue(u); return *this; }
    CArchive& operator>>(LONGLONG& dwdw) { LoadValue(dwdw); return *this; }
    CArchive& operator>>(ULONGLONG& dwdw) { LoadValue(dwdw); return *this; }
    CArchive& operator>>(float& f) { LoadValue(f); return *this; }
    CArchive& operator>>(double& d) { LoadValue(d); return *this; }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(CString& str);

private:
    struct ObjectMap;

    template <class T> void StoreValue(T value)
    {
        if (!(m_nMode & load) && (size_t)(m_lpBufMax - m_lpBufCur) >= sizeof(T))
        {
            memcpy(m_lpBufCur, &value, sizeof(T));
            m_lpBufCur += sizeof(T);
        }
        else
            StoreSlow(&value, sizeof(T));
    }

    template <class T> void LoadValue(T& value)
    {
        if ((m_nMode & load) && (size_t)(m_lpBufMax - m_lpBufCur) >= sizeof(T))
        {
            memcpy(&value, m_lpBufCur, sizeof(T));
            m_lpBufCur += sizeof(T);
        }
        else
            LoadSlow(&value, sizeof(T));
    }

    void StoreSlow(const void* pValue, UINT nSize);
    void LoadSlow(void* pValue, UINT nSize);
    void FillBuffer(UINT nAdditionalBytesNeeded);
    ULONGLONG GetBytesAvailable() const;
    void CheckCount();
    void InitMap();
    [[noreturn]] void ThrowException(int cause) const;

    UINT m_nMode;
    BOOL m_bUserBuf;
    int m_nBufSize;
    CFile* m_pFile;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    BYTE* m_lpBufStart;
    UINT m_nObjectSchema;
    UINT m_nMapCount;
    ObjectMap* m_pMap;

    CArchive(const CArchive&) = delete;
    void operator=(const CArchive&) = delete;
};

CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
