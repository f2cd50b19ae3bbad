#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"

#include <limits.h>
#include <stdlib.h>
#include <unordered_map>
#include <utility>
#include <vector>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "archive values are copied to and from the buffer in host byte order");
static_assert(sizeof(int) == 4 && sizeof(UINT) == 4 && sizeof(LONGLONG) == 8,
              "archive value sizes");

// The tags in front of each object or class of WriteObject and ReadObject.
static const WORD wNullTag = 0;
static const WORD wNewClassTag = 0xFFFF;
static const WORD wClassTag = 0x8000;
static const DWORD dwBigClassTag = 0x80000000;
static const WORD wBigObjectTag = 0x7FFF;
static const DWORD nMaxMapCount = 0x3FFFFFFE;

static const int nBufSizeMin = 128;

// Indices in one space for classes and objects, from 1 (0 is the null tag). Storing maps
// addresses to indices; loading maps indices back to what they stand for.
struct CArchive::ObjectMap
{
    enum Kind : BYTE { kindNull, kindClass, kindObject, kindLost };
    struct LoadEntry
    {
        void* pointer;
        UINT nSchema;   // for a class: the schema stored with it
        Kind kind;
    };

    std::unordered_map<const void*, DWORD> store;
    std::vector<LoadEntry> load;
};

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL),
      m_nMode(nMode),
      // A caller's buffer too small for the largest value is not used.
      m_bUserBuf(lpBuf != NULL && nBufSize >= nBufSizeMin),
      m_nBufSize(nBufSize),
      m_pFile(pFile),
      m_lpBufCur(NULL),
      m_lpBufMax(NULL),
      m_lpBufStart(NULL),
      m_nObjectSchema((UINT)-1),
      m_nMapCount(0),
      m_pMap(NULL)
{
    m_strFileName = pFile->GetFilePath();
    if (m_bUserBuf)
        m_lpBufStart = (BYTE*)lpBuf;
    else
    {
        if (m_nBufSize < nBufSizeMin)
            m_nBufSize = nBufSizeMin;
        m_lpBufStart = (BYTE*)malloc(m_nBufSize);
        if (m_lpBufStart == NULL)
            AfxThrowMemoryException();
    }
    if (IsLoading())
    {
        // Empty: the first read fills it.
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart;
    }
    else
    {
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + m_nBufSize;
    }
}

CArchive::~CArchive()
{
    // A destructor must not throw: a failure to write the last buffer out is lost here, as
    // it is when the archive is destroyed while an exception unwinds. Close reports it.
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete))
    {
        try
        {
            Close();
        }
        catch (CException* e)
        {
            e->Delete();
        }
    }
    Abort();
}

void CArchive::ThrowException(int cause) const
{
    AfxThrowArchiveException(cause, m_strFileName);
}

BOOL CArchive::IsBufferEmpty() const
{
    return IsLoading() ? m_lpBufCur == m_lpBufMax : m_lpBufCur == m_lpBufStart;
}

UINT CArchive::GetObjectSchema()
{
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = (UINT)-1;
    return nResult;
}

void CArchive::SetObjectSchema(UINT nSchema)
{
    m_nObjectSchema = nSchema;
}

void CArchive::Close()
{
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    delete m_pMap;
    m_pMap = NULL;
    if (!m_bUserBuf)
        free(m_lpBufStart);
    m_lpBufStart = m_lpBufCur = m_lpBufMax = NULL;
    m_pFile = NULL;
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsLoading())
    {
        if (m_lpBufMax != m_lpBufCur)
            m_pFile->Seek(-(LONGLONG)(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax;
    }
    else
    {
        if (m_lpBufCur != m_lpBufStart)
            m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
    }
}

void CArchive::StoreSlow(const void* pValue, UINT nSize)
{
    if (!IsStoring())
        ThrowException(CArchiveException::readOnly);
    if (m_pFile == NULL)
        ThrowException(CArchiveException::genericException);   // closed
    Flush();
    memcpy(m_lpBufCur, pValue, nSize);
    m_lpBufCur += nSize;
}

void CArchive::LoadSlow(void* pValue, UINT nSize)
{
    if (!IsLoading())
        ThrowException(CArchiveException::writeOnly);
    FillBuffer(nSize - (UINT)(m_lpBufMax - m_lpBufCur));
    memcpy(pValue, m_lpBufCur, nSize);
    m_lpBufCur += nSize;
}

// Moves the unread bytes to the front and reads until nAdditionalBytesNeeded more are
// there; the file ending first is endOfFile, with the unread bytes left in place.
void CArchive::FillBuffer(UINT nAdditionalBytesNeeded)
{
    UINT nUnread = (UINT)(m_lpBufMax - m_lpBufCur);
    UINT nTotalNeeded = nUnread + nAdditionalBytesNeeded;
    if (m_pFile == NULL || nTotalNeeded > (UINT)m_nBufSize)
        ThrowException(CArchiveException::endOfFile);
    if (m_lpBufCur != m_lpBufStart)
    {
        memmove(m_lpBufStart, m_lpBufCur, nUnread);
        m_lpBufCur = m_lpBufStart;
        m_lpBufMax = m_lpBufStart + nUnread;
    }
    UINT nHave = nUnread;
    while (nHave < nTotalNeeded)
    {
        UINT nRead = m_pFile->Read(m_lpBufStart + nHave, (UINT)m_nBufSize - nHave);
        if (nRead == 0)
            break;
        nHave += nRead;
        m_lpBufMax = m_lpBufStart + nHave;
    }
    if (nHave < nTotalNeeded)
        ThrowException(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return 0;
    if (!IsLoading())
        ThrowException(CArchiveException::writeOnly);

    BYTE* pDest = (BYTE*)lpBuf;
    UINT nLeft = nMax;
    UINT nTemp = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nTemp > nLeft)
        nTemp = nLeft;
    if (nTemp > 0)
        memcpy(pDest, m_lpBufCur, nTemp);
    m_lpBufCur += nTemp;
    pDest += nTemp;
    nLeft -= nTemp;
    if (nLeft == 0 || m_pFile == NULL)
        return nMax - nLeft;

    // Whole buffers' worth go straight from the file to the caller.
    UINT nDirect = nLeft - nLeft % (UINT)m_nBufSize;
    while (nDirect > 0)
    {
        UINT nRead = m_pFile->Read(pDest, nDirect);
        if (nRead == 0)
            return nMax - nLeft;
        pDest += nRead;
        nLeft -= nRead;
        nDirect -= nRead;
    }

    // The tail through the buffer, which keeps what follows it.
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
    UINT nHave = 0;
    while (nHave < nLeft)
    {
        UINT nRead = m_pFile->Read(m_lpBufStart + nHave, (UINT)m_nBufSize - nHave);
        if (nRead == 0)
            break;
        nHave += nRead;
    }
    m_lpBufMax = m_lpBufStart + nHave;
    nTemp = nHave < nLeft ? nHave : nLeft;
    memcpy(pDest, m_lpBufCur, nTemp);
    m_lpBufCur += nTemp;
    nLeft -= nTemp;
    return nMax - nLeft;
}

void CArchive::EnsureRead(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        ThrowException(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return;
    if (!IsStoring())
        ThrowException(CArchiveException::readOnly);

    const BYTE* pSrc = (const BYTE*)lpBuf;
    UINT nTemp = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nMax <= nTemp)
    {
        memcpy(m_lpBufCur, pSrc, nMax);
        m_lpBufCur += nMax;
        return;
    }
    if (m_pFile == NULL)
        ThrowException(CArchiveException::genericException);   // closed
    memcpy(m_lpBufCur, pSrc, nTemp);
    m_lpBufCur += nTemp;
    pSrc += nTemp;
    nMax -= nTemp;
    Flush();

    // Whole buffers' worth go straight to the file.
    UINT nDirect = nMax - nMax % (UINT)m_nBufSize;
    if (nDirect > 0)
    {
        m_pFile->Write(pSrc, nDirect);
        pSrc += nDirect;
        nMax -= nDirect;
    }
    memcpy(m_lpBufCur, pSrc, nMax);
    m_lpBufCur += nMax;
}

// What is left to read: the buffered bytes and the rest of the file; (ULONGLONG)-1 when
// the file cannot say.
ULONGLONG CArchive::GetBytesAvailable() const
{
    ULONGLONG nBuffered = (ULONGLONG)(m_lpBufMax - m_lpBufCur);
    if (m_pFile == NULL)
        return nBuffered;
    try
    {
        ULONGLONG nLength = m_pFile->GetLength();
        ULONGLONG nPosition = m_pFile->GetPosition();
        return nBuffered + (nLength > nPosition ? nLength - nPosition : 0);
    }
    catch (CException* e)
    {
        e->Delete();
        return (ULONGLONG)-1;
    }
}

CArchive& CArchive::operator>>(bool& b)
{
    BYTE by;
    LoadValue(by);
    b = by != 0;
    return *this;
}

// ---- Strings -------------------------------------------------------------------------

// The length prefix: a byte below 0xFF, else 0xFF and a WORD below 0xFFFE, else 0xFFFF and a
// DWORD below 0xFFFFFFFF, else 0xFFFFFFFF and a 64-bit length. The Unicode form puts 0xFF
// and the WORD 0xFFFE in front of it; the ANSI form has no marker.
static void WriteStringLength(CArchive& ar, ULONGLONG nLength)
{
    if (nLength < 0xFF)
    {
        ar << (BYTE)nLength;
        return;
    }
    ar << (BYTE)0xFF;
    if (nLength < 0xFFFE)
    {
        ar << (WORD)nLength;
        return;
    }
    ar << (WORD)0xFFFF;
    if (nLength < 0xFFFFFFFF)
    {
        ar << (UINT)nLength;
        return;
    }
    ar << (UINT)0xFFFFFFFF << nLength;
}

static ULONGLONG ReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = 1;
    BYTE bLength;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength;
    ar >> wLength;
    if (wLength == 0xFFFE)
    {
        nCharSize = 2;
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    UINT dwLength;
    ar >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ULONGLONG qwLength;
    ar >> qwLength;
    return qwLength;
}

CArchive& CArchive::operator<<(const CString& str)
{
    int nLength = str.GetLength();
    *this << (BYTE)0xFF << (WORD)0xFFFE;
    WriteStringLength(*this, (ULONGLONG)nLength);
    Write(str.GetString(), (UINT)nLength * sizeof(WCHAR));
    return *this;
}

// Reads nBytes in steps, so that a length the file cannot back up costs no more memory
// than the bytes that are really there.
static void ReadBytesInSteps(CArchive& ar, std::vector<char>& bytes, UINT nBytes)
{
    const UINT nStep = 1 << 20;
    bytes.clear();
    while (bytes.size() < nBytes)
    {
        UINT nOld = (UINT)bytes.size();
        UINT nChunk = nBytes - nOld < nStep ? nBytes - nOld : nStep;
        bytes.resize(nOld + nChunk);
        ar.EnsureRead(bytes.data() + nOld, nChunk);
    }
}

static void StringFromBytes(CString& str, const void* pBytes, int nLength, int nCharSize)
{
    if (nLength == 0)
    {
        str.Empty();
        return;
    }
    if (nCharSize == 2)
    {
        memcpy(str.GetBufferSetLength(nLength), pBytes, (size_t)nLength * sizeof(WCHAR));
        str.ReleaseBuffer(nLength);
        return;
    }
    // 8-bit text of the ANSI form, in the thread's code page.
    const char* pAnsi = (const char*)pBytes;
    int nWide = MultiByteToWideChar(CP_THREAD_ACP, 0, pAnsi, nLength, NULL, 0);
    LPWSTR pBuf = str.GetBufferSetLength(nWide);
    MultiByteToWideChar(CP_THREAD_ACP, 0, pAnsi, nLength, pBuf, nWide);
    str.ReleaseBuffer(nWide);
}

CArchive& CArchive::operator>>(CString& str)
{
    if (!IsLoading())
        ThrowException(CArchiveException::writeOnly);

    int nCharSize;
    ULONGLONG nLength = ReadStringLength(*this, nCharSize);
    // A length from the file is not trusted: it must fit a CString and what is left of the
    // file before anything is allocated for it.
    if (nLength > (ULONGLONG)(INT_MAX / nCharSize))
        ThrowException(CArchiveException::genericException);
    UINT nBytes = (UINT)nLength * (UINT)nCharSize;

    // The target keeps its value when the string cannot be read whole.
    CString strResult;
    if (nBytes <= (UINT)(m_lpBufMax - m_lpBufCur))
    {
        StringFromBytes(strResult, m_lpBufCur, (int)nLength, nCharSize);
        m_lpBufCur += nBytes;
    }
    else
    {
        ULONGLONG nAvailable = GetBytesAvailable();
        if (nAvailable != (ULONGLONG)-1 && nBytes > nAvailable)
            ThrowException(CArchiveException::endOfFile);
        if (nCharSize == 2 && nAvailable != (ULONGLONG)-1)
        {
            EnsureRead(strResult.GetBufferSetLength((int)nLength), nBytes);
            strResult.ReleaseBuffer((int)nLength);
        }
        else
        {
            std::vector<char> bytes;
            ReadBytesInSteps(*this, bytes, nBytes);
            StringFromBytes(strResult, bytes.data(), (int)nLength, nCharSize);
        }
    }
    str = std::move(strResult);
    return *this;
}

// ---- Objects and classes ------------------------------------------------------------

void CArchive::InitMap()
{
    if (m_pMap != NULL)
        return;
    m_pMap = new ObjectMap;
    if (IsLoading())
        m_pMap->load.push_back({NULL, 0, ObjectMap::kindNull});
    m_nMapCount = 1;
}

void CArchive::CheckCount()
{
    if (m_nMapCount >= nMaxMapCount)
        ThrowException(CArchiveException::badIndex);
}

void CArchive::MapObject(const CObject* pOb)
{
    InitMap();
    if (pOb == NULL)
        return;
    CheckCount();
    if (IsStoring())
        m_pMap->store[pOb] = m_nMapCount++;
    else
    {
        m_pMap->load.push_back({(void*)pOb, 0, ObjectMap::kindObject});
        m_nMapCount++;
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    if (!IsStoring())
        ThrowException(CArchiveException::readOnly);
    if (pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    InitMap();

    auto it = m_pMap->store.find(pClassRef);
    if (it != m_pMap->store.end())
    {
        DWORD nClassIndex = it->second;
        if (nClassIndex < wBigObjectTag)
            *this << (WORD)(wClassTag | nClassIndex);
        else
            *this << wBigObjectTag << (UINT)(dwBigClassTag | nClassIndex);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckCount();
    m_pMap->store[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    if (!IsStoring())
        ThrowException(CArchiveException::readOnly);
    InitMap();

    if (pOb == NULL)
    {
        *this << wNullTag;
        return;
    }
    auto it = m_pMap->store.find(pOb);
    if (it != m_pMap->store.end())
    {
        DWORD nObIndex = it->second;
        if (nObIndex < wBigObjectTag)
            *this << (WORD)nObIndex;
        else
            *this << wBigObjectTag << (UINT)nObIndex;
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    m_pMap->store[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested,
                                   UINT* pSchema, DWORD* pObTag)
{
    if (!IsLoading())
        ThrowException(CArchiveException::writeOnly);
    InitMap();

    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag))
    {
        // An object tag where only a class may stand.
        if (pObTag == NULL)
            ThrowException(CArchiveException::badIndex);
        *pObTag = obTag;
        return NULL;
    }

    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag)
    {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == NULL || pClassRef->m_wSchema == 0xFFFF)
            ThrowException(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema &&
            !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            ThrowException(CArchiveException::badSchema);
        CheckCount();
        m_pMap->load.push_back({pClassRef, nSchema, ObjectMap::kindClass});
        m_nMapCount++;
    }
    else
    {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_nMapCount ||
            m_pMap->load[nClassIndex].kind != ObjectMap::kindClass)
            ThrowException(CArchiveException::badIndex);
        pClassRef = (CRuntimeClass*)m_pMap->load[nClassIndex].pointer;
        nSchema = m_pMap->load[nClassIndex].nSchema;
    }

    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowException(CArchiveException::badClass);

    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL)
        *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    if (!IsLoading())
        ThrowException(CArchiveException::writeOnly);

    UINT nSchema;
    DWORD obTag;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (pClassRef == NULL)
    {
        // A reference to an object read earlier (or the null tag).
        if (obTag >= m_nMapCount)
            ThrowException(CArchiveException::badIndex);
        const ObjectMap::LoadEntry& entry = m_pMap->load[obTag];
        if (entry.kind == ObjectMap::kindClass || entry.kind == ObjectMap::kindLost)
            ThrowException(CArchiveException::badIndex);
        CObject* pOb = (CObject*)entry.pointer;
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            ThrowException(CArchiveException::badClass);
        return pOb;
    }

    CheckCount();
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == NULL)
        AfxThrowMemoryException();
    // Mapped before it is read, so that the objects inside it can refer back to it.
    UINT nIndex = m_nMapCount++;
    m_pMap->load.push_back({pOb, 0, ObjectMap::kindObject});

    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try
    {
        pOb->Serialize(*this);
    }
    catch (...)
    {
        // The half-read object is nobody's yet: delete it, and let no later reference reach
        // it or anything read inside it.
        m_nObjectSchema = nSchemaSave;
        for (UINT i = nIndex; i < m_nMapCount; i++)
            if (m_pMap->load[i].kind == ObjectMap::kindObject)
                m_pMap->load[i] = {NULL, 0, ObjectMap::kindLost};
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

// ---- Counts -------------------------------------------------------------------------

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
    {
        *this << (WORD)dwCount;
        return;
    }
    *this << (WORD)0xFFFF;
    if (dwCount < 0xFFFFFFFF)
        *this << (UINT)dwCount;
    else
        *this << (UINT)0xFFFFFFFF << (ULONGLONG)dwCount;
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    DWORD_PTR dwCount;
    if (wCount != 0xFFFF)
        dwCount = wCount;
    else
    {
        UINT dw;
        *this >> dw;
        if (dw != 0xFFFFFFFF)
            dwCount = dw;
        else
        {
            ULONGLONG qw;
            *this >> qw;
            dwCount = (DWORD_PTR)qw;
        }
    }
    // Every element of a serialised collection takes at least one byte, so a count above
    // what is left of the file is damage; checked here before a caller sizes anything by it.
    if (dwCount > 0xFFFF)
    {
        ULONGLONG nAvailable = GetBytesAvailable();
        if (nAvailable != (ULONGLONG)-1 && dwCount > nAvailable)
            ThrowException(CArchiveException::endOfFile);
    }
    return dwCount;
}

// ---- Object pointers ----------------------------------------------------------------

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}
