#include "AfxString.h"

#include <climits>
#include <cstring>
#include <new>
#include <ostream>
#include <type_traits>

#include "AfxException.h"
#include "AfxResource.h"

namespace {

// The empty string shared by every string that has no buffer of its own.
template <typename XCHAR>
XCHAR g_chNil[1] = { 0 };

template <typename XCHAR>
int Length(const XCHAR* lpsz)
{
    return CSimpleStringTraits<XCHAR>::Length(lpsz);
}

// Growing by half again keeps repeated appends linear.
int GrownCapacity(int nOld, int nNeeded)
{
    if (nNeeded < 0 || nNeeded == INT_MAX)
        AfxThrowMemoryException();
    int nGrown = nOld < INT_MAX / 3 * 2 ? nOld + nOld / 2 : INT_MAX - 1;
    if (nGrown < nNeeded)
        nGrown = nNeeded;
    return nGrown < 15 ? 15 : nGrown;
}

template <typename XCHAR>
XCHAR* AllocateChars(int nCount)
{
    XCHAR* p = new (std::nothrow) XCHAR[(size_t)nCount + 1];
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

int ConvertChars(UINT nCodePage, LPCSTR lpch, int nLength, LPWSTR buffer, int nBuffer)
{
    return MultiByteToWideChar(nCodePage, 0, lpch, nLength, buffer, nBuffer);
}

int ConvertChars(UINT nCodePage, LPCWSTR lpch, int nLength, LPSTR buffer, int nBuffer)
{
    return WideCharToMultiByte(nCodePage, 0, lpch, nLength, buffer, nBuffer, NULL, NULL);
}

// Text of the other width, through a code page; no text empties the string.
template <typename XCHAR, typename YCHAR>
void ConvertInto(CSimpleStringT<XCHAR>& out, const YCHAR* lpch, int nLength, UINT nCodePage)
{
    if (lpch == NULL || nLength <= 0)
    {
        out.Empty();
        return;
    }
    int nConverted = ConvertChars(nCodePage, lpch, nLength, (XCHAR*)NULL, 0);
    XCHAR* buffer = out.GetBufferSetLength(nConverted);
    ConvertChars(nCodePage, lpch, nLength, buffer, nConverted);
}

// The operator+ family: the result is allocated once.
template <typename TString, typename XCHAR>
TString Concat(const XCHAR* lpch1, int nLength1, const XCHAR* lpch2, int nLength2)
{
    TString s;
    s.Preallocate(nLength1 + nLength2);
    s.Append(lpch1, nLength1);
    s.Append(lpch2, nLength2);
    return s;
}

template <typename XCHAR>
bool Equal(const CSimpleStringT<XCHAR>& s1, const CSimpleStringT<XCHAR>& s2)
{
    return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}

bool IsSpace(WCHAR ch)
{
    if (ch < 0x80)
        return ch == ' ' || (ch >= '\t' && ch <= '\r');
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &ch, 1, &type) && (type & C1_SPACE) != 0;
}

bool InSet(WCHAR ch, LPCWSTR lpszSet)
{
    for (; lpszSet != NULL && *lpszSet != 0; ++lpszSet)
        if (*lpszSet == ch)
            return true;
    return false;
}

WCHAR FoldLower(WCHAR ch)
{
    if (ch < 0x80)
        return (ch >= 'A' && ch <= 'Z') ? (WCHAR)(ch + ('a' - 'A')) : ch;
    return (WCHAR)(ULONG_PTR)CharLowerW((LPWSTR)(ULONG_PTR)ch);
}

} // namespace

// ---------------------------------------------------------------------------------------
// CSimpleStringT

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT()
    : m_pchData(g_chNil<XCHAR>), m_nDataLength(0), m_nAllocLength(0)
{
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT(PCXSTR lpch, int nLength) : CSimpleStringT()
{
    Assign(lpch, lpch == NULL ? 0 : nLength);
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT(PCYSTR lpch, int nLength, UINT nCodePage)
    : CSimpleStringT()
{
    AssignConverted(lpch, nLength, nCodePage);
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT(XCHAR ch, int nRepeat) : CSimpleStringT()
{
    if (nRepeat > 0)
    {
        Reserve(nRepeat);
        for (int i = 0; i < nRepeat; ++i)
            m_pchData[i] = ch;
        SetLength(nRepeat);
    }
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT(const CSimpleStringT& stringSrc) : CSimpleStringT()
{
    Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::CSimpleStringT(CSimpleStringT&& stringSrc) noexcept
    : m_pchData(stringSrc.m_pchData), m_nDataLength(stringSrc.m_nDataLength),
      m_nAllocLength(stringSrc.m_nAllocLength)
{
    stringSrc.m_pchData = g_chNil<XCHAR>;
    stringSrc.m_nDataLength = 0;
    stringSrc.m_nAllocLength = 0;
}

template <typename XCHAR>
CSimpleStringT<XCHAR>::~CSimpleStringT()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
}

template <typename XCHAR>
CSimpleStringT<XCHAR>& CSimpleStringT<XCHAR>::operator=(const CSimpleStringT& stringSrc)
{
    if (this != &stringSrc)
        Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
    return *this;
}

template <typename XCHAR>
CSimpleStringT<XCHAR>& CSimpleStringT<XCHAR>::operator=(CSimpleStringT&& stringSrc) noexcept
{
    if (this != &stringSrc)
    {
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = stringSrc.m_pchData;
        m_nDataLength = stringSrc.m_nDataLength;
        m_nAllocLength = stringSrc.m_nAllocLength;
        stringSrc.m_pchData = g_chNil<XCHAR>;
        stringSrc.m_nDataLength = 0;
        stringSrc.m_nAllocLength = 0;
    }
    return *this;
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Empty()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = g_chNil<XCHAR>;
    m_nDataLength = 0;
    m_nAllocLength = 0;
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Reserve(int nLength)
{
    if (nLength <= m_nAllocLength)
        return;
    int nAlloc = GrownCapacity(m_nAllocLength, nLength);
    PXSTR pNew = AllocateChars<XCHAR>(nAlloc);
    memcpy(pNew, m_pchData, ((size_t)m_nDataLength + 1) * sizeof(XCHAR));
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = pNew;
    m_nAllocLength = nAlloc;
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::SetLength(int nLength)
{
    m_nDataLength = nLength;
    if (m_nAllocLength > 0)
        m_pchData[nLength] = 0;
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Assign(PCXSTR lpch, int nLength)
{
    if (nLength <= 0)
    {
        SetLength(0);
        return;
    }
    if (nLength > m_nAllocLength)
    {
        // The source may lie in the old buffer: copy before freeing it.
        int nAlloc = GrownCapacity(0, nLength);
        PXSTR pNew = AllocateChars<XCHAR>(nAlloc);
        memcpy(pNew, lpch, (size_t)nLength * sizeof(XCHAR));
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = pNew;
        m_nAllocLength = nAlloc;
    }
    else
    {
        memmove(m_pchData, lpch, (size_t)nLength * sizeof(XCHAR));
    }
    SetLength(nLength);
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::AssignConverted(PCYSTR lpch, int nLength, UINT nCodePage)
{
    ConvertInto(*this, lpch, nLength, nCodePage);
}

template <typename XCHAR>
typename CSimpleStringT<XCHAR>::PXSTR CSimpleStringT<XCHAR>::GetBuffer()
{
    return GetBuffer(m_nDataLength);
}

template <typename XCHAR>
typename CSimpleStringT<XCHAR>::PXSTR CSimpleStringT<XCHAR>::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        AfxThrowInvalidArgException();
    // Always a private buffer, even for an empty string, since the caller writes to it.
    Reserve(nMinBufferLength > 0 ? nMinBufferLength : 1);
    return m_pchData;
}

template <typename XCHAR>
typename CSimpleStringT<XCHAR>::PXSTR CSimpleStringT<XCHAR>::GetBufferSetLength(int nLength)
{
    GetBuffer(nLength);
    SetLength(nLength);
    return m_pchData;
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
    {
        // Up to the first null, but never past the buffer.
        nNewLength = 0;
        while (nNewLength < m_nAllocLength && m_pchData[nNewLength] != 0)
            ++nNewLength;
    }
    if (nNewLength > m_nAllocLength)
        AfxThrowInvalidArgException();
    SetLength(nNewLength);
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Preallocate(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nLength);
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Append(PCXSTR lpsz)
{
    Append(lpsz, StringLength(lpsz));
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::Append(PCXSTR lpch, int nLength)
{
    if (lpch == NULL || nLength <= 0)
        return;
    if (nLength > INT_MAX - 1 - m_nDataLength)
        AfxThrowMemoryException();
    // Appending a piece of this string to itself: find it again after a reallocation.
    bool bInside = m_nAllocLength > 0 && lpch >= m_pchData && lpch <= m_pchData + m_nDataLength;
    ptrdiff_t nOffset = lpch - m_pchData;
    Reserve(m_nDataLength + nLength);
    if (bInside)
        lpch = m_pchData + nOffset;
    memmove(m_pchData + m_nDataLength, lpch, (size_t)nLength * sizeof(XCHAR));
    SetLength(m_nDataLength + nLength);
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::AppendChar(XCHAR ch)
{
    Reserve(m_nDataLength + 1);
    m_pchData[m_nDataLength] = ch;
    SetLength(m_nDataLength + 1);
}

template <typename XCHAR>
XCHAR CSimpleStringT<XCHAR>::GetAt(int nIndex) const
{
    // The terminator at GetLength() can be read, as in MFC.
    if (nIndex < 0 || nIndex > m_nDataLength)
        AfxThrowInvalidArgException();
    return m_pchData[nIndex];
}

template <typename XCHAR>
void CSimpleStringT<XCHAR>::SetAt(int nIndex, XCHAR ch)
{
    if (nIndex < 0 || nIndex >= m_nDataLength)
        AfxThrowInvalidArgException();
    m_pchData[nIndex] = ch;
}

template <typename XCHAR>
int CSimpleStringT<XCHAR>::Compare(PCXSTR lpsz) const
{
    typedef typename std::make_unsigned<XCHAR>::type UXCHAR;
    if (lpsz == NULL)
        lpsz = g_chNil<XCHAR>;
    PCXSTR p = m_pchData;
    while (*p != 0 && *p == *lpsz)
        ++p, ++lpsz;
    if (*p == *lpsz)
        return 0;
    return (UXCHAR)*p < (UXCHAR)*lpsz ? -1 : 1;
}

template class CSimpleStringT<WCHAR>;
template class CSimpleStringT<char>;

// ---------------------------------------------------------------------------------------
// CString

CString::CString(LPCWSTR lpsz)
{
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        Assign(lpsz);
}

CString::CString(LPCSTR lpsz)
{
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        AssignConverted(lpsz);
}

CString::CString(const CStringA& stringSrc)
    : CSimpleStringT(stringSrc.GetString(), stringSrc.GetLength(), CP_ACP)
{
}

CString& CString::operator=(const CStringA& stringSrc)
{
    AssignConverted(stringSrc.GetString(), stringSrc.GetLength(), CP_ACP);
    return *this;
}

int CString::CompareNoCase(LPCWSTR lpsz) const
{
    if (lpsz == NULL)
        lpsz = g_chNil<WCHAR>;
    for (LPCWSTR p = m_pchData;; ++p, ++lpsz)
    {
        WCHAR c1 = FoldLower(*p);
        WCHAR c2 = FoldLower(*lpsz);
        if (c1 != c2)
            return (unsigned)c1 < (unsigned)c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
    }
}

int CString::Find(WCHAR ch, int nStart) const
{
    if (nStart < 0)
        return -1;
    for (int i = nStart; i < m_nDataLength; ++i)
        if (m_pchData[i] == ch)
            return i;
    return -1;
}

int CString::Find(LPCWSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL || nStart < 0 || nStart > m_nDataLength)
        return -1;
    int nSub = lstrlenW(lpszSub);
    for (int i = nStart; i + nSub <= m_nDataLength; ++i)
        if (memcmp(m_pchData + i, lpszSub, (size_t)nSub * sizeof(WCHAR)) == 0)
            return i;
    return -1;
}

int CString::ReverseFind(WCHAR ch) const
{
    for (int i = m_nDataLength - 1; i >= 0; --i)
        if (m_pchData[i] == ch)
            return i;
    return -1;
}

int CString::FindOneOf(LPCWSTR lpszCharSet) const
{
    for (int i = 0; i < m_nDataLength; ++i)
        if (InSet(m_pchData[i], lpszCharSet))
            return i;
    return -1;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= m_nDataLength)
        return *this;
    return CString(m_pchData, nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, m_nDataLength - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > m_nDataLength)
        return CString();
    if (nCount > m_nDataLength - nFirst)
        nCount = m_nDataLength - nFirst;
    if (nFirst == 0 && nCount == m_nDataLength)
        return *this;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= m_nDataLength)
        return *this;
    return CString(m_pchData + m_nDataLength - nCount, nCount);
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const
{
    if (iStart >= 0 && iStart < m_nDataLength)
    {
        if (pszTokens == NULL || *pszTokens == 0)
        {
            // No delimiters: the rest is one token. (MFC leaves iStart as it was, which
            // makes the usual loop endless.)
            CString strToken = Mid(iStart);
            iStart = m_nDataLength + 1;
            return strToken;
        }
        int iFrom = iStart;
        while (iFrom < m_nDataLength && InSet(m_pchData[iFrom], pszTokens))
            ++iFrom;
        if (iFrom < m_nDataLength)
        {
            int iTo = iFrom;
            while (iTo < m_nDataLength && !InSet(m_pchData[iTo], pszTokens))
                ++iTo;
            iStart = iTo + 1;
            return Mid(iFrom, iTo - iFrom);
        }
    }
    iStart = -1;
    return CString();
}

int CString::Replace(WCHAR chOld, WCHAR chNew)
{
    if (chOld == chNew)
        return 0;
    int nCount = 0;
    for (int i = 0; i < m_nDataLength; ++i)
    {
        if (m_pchData[i] == chOld)
        {
            m_pchData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCWSTR lpszOld, LPCWSTR lpszNew)
{
    int nOld = StringLength(lpszOld);
    if (nOld == 0)
        return 0;
    int nCount = 0;
    for (int i = Find(lpszOld); i >= 0; i = Find(lpszOld, i + nOld))
        ++nCount;
    if (nCount == 0)
        return 0;

    // lpszNew may point into this string: build the result aside.
    int nNew = StringLength(lpszNew);
    CString strResult;
    strResult.Preallocate(m_nDataLength + nCount * (nNew - nOld));
    int iFrom = 0;
    for (int i = Find(lpszOld); i >= 0; i = Find(lpszOld, i + nOld))
    {
        strResult.Append(m_pchData + iFrom, i - iFrom);
        strResult.Append(lpszNew, nNew);
        iFrom = i + nOld;
    }
    strResult.Append(m_pchData + iFrom, m_nDataLength - iFrom);
    *this = std::move(strResult);
    return nCount;
}

int CString::Remove(WCHAR ch)
{
    int nKept = 0;
    for (int i = 0; i < m_nDataLength; ++i)
        if (m_pchData[i] != ch)
            m_pchData[nKept++] = m_pchData[i];
    int nRemoved = m_nDataLength - nKept;
    if (nRemoved > 0)
        SetLength(nKept);
    return nRemoved;
}

int CString::Insert(int nIndex, WCHAR ch)
{
    return Insert(nIndex, CString(ch));
}

int CString::Insert(int nIndex, LPCWSTR lpsz)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > m_nDataLength)
        nIndex = m_nDataLength;
    int nInsert = StringLength(lpsz);
    if (nInsert > 0)
    {
        CString strInsert(lpsz, nInsert);   // lpsz may point into this string
        Reserve(m_nDataLength + nInsert);
        memmove(m_pchData + nIndex + nInsert, m_pchData + nIndex,
                (size_t)(m_nDataLength - nIndex) * sizeof(WCHAR));
        memcpy(m_pchData + nIndex, strInsert.m_pchData, (size_t)nInsert * sizeof(WCHAR));
        SetLength(m_nDataLength + nInsert);
    }
    return m_nDataLength;
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > m_nDataLength - nIndex)
        nCount = m_nDataLength - nIndex;
    if (nCount > 0)
    {
        memmove(m_pchData + nIndex, m_pchData + nIndex + nCount,
                (size_t)(m_nDataLength - nIndex - nCount) * sizeof(WCHAR));
        SetLength(m_nDataLength - nCount);
    }
    return m_nDataLength;
}

CString& CString::MakeUpper()
{
    if (m_nDataLength > 0)
        CharUpperBuffW(m_pchData, (DWORD)m_nDataLength);
    return *this;
}

CString& CString::MakeLower()
{
    if (m_nDataLength > 0)
        CharLowerBuffW(m_pchData, (DWORD)m_nDataLength);
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(WCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCWSTR lpszTargets)
{
    return TrimRight(lpszTargets).TrimLeft(lpszTargets);
}

namespace {

template <typename Pred>
void TrimLeftWhere(CString& s, Pred pred)
{
    int n = 0;
    while (n < s.GetLength() && pred(s.GetString()[n]))
        ++n;
    if (n > 0)
        s.Delete(0, n);
}

template <typename Pred>
void TrimRightWhere(CString& s, Pred pred)
{
    int n = s.GetLength();
    while (n > 0 && pred(s.GetString()[n - 1]))
        --n;
    if (n < s.GetLength())
        s.Delete(n, s.GetLength() - n);
}

} // namespace

CString& CString::TrimLeft()
{
    TrimLeftWhere(*this, IsSpace);
    return *this;
}

CString& CString::TrimLeft(WCHAR chTarget)
{
    TrimLeftWhere(*this, [chTarget](WCHAR ch) { return ch == chTarget; });
    return *this;
}

CString& CString::TrimLeft(LPCWSTR lpszTargets)
{
    TrimLeftWhere(*this, [lpszTargets](WCHAR ch) { return InSet(ch, lpszTargets); });
    return *this;
}

CString& CString::TrimRight()
{
    TrimRightWhere(*this, IsSpace);
    return *this;
}

CString& CString::TrimRight(WCHAR chTarget)
{
    TrimRightWhere(*this, [chTarget](WCHAR ch) { return ch == chTarget; });
    return *this;
}

CString& CString::TrimRight(LPCWSTR lpszTargets)
{
    TrimRightWhere(*this, [lpszTargets](WCHAR ch) { return InSet(ch, lpszTargets); });
    return *this;
}

BOOL CString::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // A missing or empty entry leaves the string unchanged.
    LPCWSTR lpch = NULL;
    int nLength = AfxFindString(hInstance, nID, &lpch);
    if (nLength <= 0 || lpch == NULL)
        return FALSE;
    Assign(lpch, nLength);
    return TRUE;
}

void CString::FormatArgs(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatArgs(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

CString operator+(const CString& string1, const CString& string2)
{
    return Concat<CString>(string1.GetString(), string1.GetLength(), string2.GetString(),
                           string2.GetLength());
}

CString operator+(const CString& string, LPCWSTR lpsz)
{
    return Concat<CString>(string.GetString(), string.GetLength(), lpsz, Length(lpsz));
}

CString operator+(LPCWSTR lpsz, const CString& string)
{
    return Concat<CString>(lpsz, Length(lpsz), string.GetString(), string.GetLength());
}

CString operator+(const CString& string, LPCSTR lpsz)
{
    return string + CString(lpsz);
}

CString operator+(LPCSTR lpsz, const CString& string)
{
    return CString(lpsz) + string;
}

CString operator+(const CString& string, WCHAR ch)
{
    return Concat<CString>(string.GetString(), string.GetLength(), &ch, 1);
}

CString operator+(WCHAR ch, const CString& string)
{
    return Concat<CString>(&ch, 1, string.GetString(), string.GetLength());
}

CString operator+(const CString& string, char ch)
{
    return string + CString(&ch, 1);
}

CString operator+(char ch, const CString& string)
{
    return CString(&ch, 1) + string;
}

bool operator==(const CString& s1, const CString& s2) { return Equal(s1, s2); }
bool operator==(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return !Equal(s1, s2); }
bool operator!=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool operator<(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) < 0; }
bool operator<(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool operator>(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) > 0; }
bool operator>(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool operator<=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) <= 0; }
bool operator<=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool operator>=(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) >= 0; }
bool operator>=(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// ---------------------------------------------------------------------------------------
// CStringA

CStringA::CStringA(const CString& stringSrc)
    : CSimpleStringT(stringSrc.GetString(), stringSrc.GetLength(), CP_ACP)
{
}

CStringA& CStringA::operator=(const CString& stringSrc)
{
    AssignConverted(stringSrc.GetString(), stringSrc.GetLength(), CP_ACP);
    return *this;
}

void CStringA::FormatArgs(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CStringA::AppendFormatArgs(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

CStringA operator+(const CStringA& string1, const CStringA& string2)
{
    return Concat<CStringA>(string1.GetString(), string1.GetLength(), string2.GetString(),
                            string2.GetLength());
}

CStringA operator+(const CStringA& string, LPCSTR lpsz)
{
    return Concat<CStringA>(string.GetString(), string.GetLength(), lpsz, Length(lpsz));
}

CStringA operator+(LPCSTR lpsz, const CStringA& string)
{
    return Concat<CStringA>(lpsz, Length(lpsz), string.GetString(), string.GetLength());
}

CStringA operator+(const CStringA& string, char ch)
{
    return Concat<CStringA>(string.GetString(), string.GetLength(), &ch, 1);
}

bool operator==(const CStringA& s1, const CStringA& s2) { return Equal(s1, s2); }
bool operator==(const CStringA& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCSTR s1, const CStringA& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CStringA& s1, const CStringA& s2) { return !Equal(s1, s2); }
bool operator!=(const CStringA& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCSTR s1, const CStringA& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CStringA& s1, const CStringA& s2) { return s1.Compare(s2) < 0; }

// ---------------------------------------------------------------------------------------
// Conversion helpers

CW2A::CW2A(LPCWSTR psz, UINT nCodePage) : m_bNull(psz == NULL)
{
    ConvertInto(m_str, psz, Length(psz), nCodePage);
}

CA2W::CA2W(LPCSTR psz, UINT nCodePage) : m_bNull(psz == NULL)
{
    ConvertInto(m_str, psz, Length(psz), nCodePage);
}

CW2W::CW2W(LPCWSTR psz, UINT) : m_str(psz, Length(psz)), m_bNull(psz == NULL) {}

void PrintTo(const CString& string, std::ostream* os)
{
    CStringA strUtf8;
    ConvertInto(strUtf8, string.GetString(), string.GetLength(), CP_UTF8);
    *os << "L\"" << strUtf8.GetString() << '"';
}

void PrintTo(const CStringA& string, std::ostream* os)
{
    *os << '"' << string.GetString() << '"';
}
