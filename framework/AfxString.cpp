#include "AfxString.h"

#include <climits>
#include <cstring>
#include <new>
#include <ostream>

#include "AfxException.h"
#include "AfxResource.h"

namespace {

WCHAR g_chNilW[1] = { 0 };
char g_chNilA[1] = { 0 };

int LengthW(LPCWSTR lpsz) { return lpsz == NULL ? 0 : lstrlenW(lpsz); }
int LengthA(LPCSTR lpsz) { return lpsz == NULL ? 0 : lstrlenA(lpsz); }

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

template <typename Ch>
Ch* AllocateChars(int nCount)
{
    Ch* p = new (std::nothrow) Ch[(size_t)nCount + 1];
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
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

void NarrowFromWide(CStringA& out, LPCWSTR lpch, int nLength, UINT nCodePage)
{
    if (lpch == NULL || nLength <= 0)
    {
        out.Empty();
        return;
    }
    int cb = WideCharToMultiByte(nCodePage, 0, lpch, nLength, NULL, 0, NULL, NULL);
    LPSTR buffer = out.GetBufferSetLength(cb);
    WideCharToMultiByte(nCodePage, 0, lpch, nLength, buffer, cb, NULL, NULL);
}

void WideFromNarrow(CString& out, LPCSTR lpch, int nLength, UINT nCodePage)
{
    if (lpch == NULL || nLength <= 0)
    {
        out.Empty();
        return;
    }
    int cch = MultiByteToWideChar(nCodePage, 0, lpch, nLength, NULL, 0);
    LPWSTR buffer = out.GetBufferSetLength(cch);
    MultiByteToWideChar(nCodePage, 0, lpch, nLength, buffer, cch);
}

} // namespace

// ---------------------------------------------------------------------------------------
// CString

CString::CString() : m_pchData(g_chNilW), m_nDataLength(0), m_nAllocLength(0) {}

CString::CString(const CString& stringSrc) : CString()
{
    Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
}

CString::CString(CString&& stringSrc) noexcept
    : m_pchData(stringSrc.m_pchData), m_nDataLength(stringSrc.m_nDataLength),
      m_nAllocLength(stringSrc.m_nAllocLength)
{
    stringSrc.m_pchData = g_chNilW;
    stringSrc.m_nDataLength = 0;
    stringSrc.m_nAllocLength = 0;
}

CString::CString(LPCWSTR lpsz) : CString()
{
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        Assign(lpsz, LengthW(lpsz));
}

CString::CString(LPCSTR lpsz) : CString()
{
    if (lpsz != NULL && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD((ULONG_PTR)lpsz));
    else
        AssignAnsi(lpsz, LengthA(lpsz));
}

CString::CString(LPCWSTR lpch, int nLength) : CString()
{
    Assign(lpch, lpch == NULL ? 0 : nLength);
}

CString::CString(LPCSTR lpch, int nLength) : CString()
{
    AssignAnsi(lpch, nLength);
}

CString::CString(WCHAR ch, int nRepeat) : CString()
{
    if (nRepeat > 0)
    {
        Reserve(nRepeat);
        for (int i = 0; i < nRepeat; ++i)
            m_pchData[i] = ch;
        SetLength(nRepeat);
    }
}

CString::CString(const CStringA& stringSrc) : CString()
{
    AssignAnsi(stringSrc.GetString(), stringSrc.GetLength());
}

CString::~CString()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
}

CString& CString::operator=(const CString& stringSrc)
{
    if (this != &stringSrc)
        Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc)
    {
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = stringSrc.m_pchData;
        m_nDataLength = stringSrc.m_nDataLength;
        m_nAllocLength = stringSrc.m_nAllocLength;
        stringSrc.m_pchData = g_chNilW;
        stringSrc.m_nDataLength = 0;
        stringSrc.m_nAllocLength = 0;
    }
    return *this;
}

CString& CString::operator=(LPCWSTR lpsz)
{
    Assign(lpsz, LengthW(lpsz));
    return *this;
}

CString& CString::operator=(LPCSTR lpsz)
{
    AssignAnsi(lpsz, LengthA(lpsz));
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    Assign(&ch, 1);
    return *this;
}

CString& CString::operator=(const CStringA& stringSrc)
{
    AssignAnsi(stringSrc.GetString(), stringSrc.GetLength());
    return *this;
}

CString& CString::operator+=(const CString& string)
{
    Append(string.m_pchData, string.m_nDataLength);
    return *this;
}

CString& CString::operator+=(LPCWSTR lpsz)
{
    Append(lpsz, LengthW(lpsz));
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    Append(CString(lpsz));
    return *this;
}

CString& CString::operator+=(WCHAR ch)
{
    AppendChar(ch);
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(CString(&ch, 1));
    return *this;
}

void CString::Empty()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = g_chNilW;
    m_nDataLength = 0;
    m_nAllocLength = 0;
}

void CString::Reserve(int nLength)
{
    if (nLength <= m_nAllocLength)
        return;
    int nAlloc = GrownCapacity(m_nAllocLength, nLength);
    LPWSTR pNew = AllocateChars<WCHAR>(nAlloc);
    memcpy(pNew, m_pchData, ((size_t)m_nDataLength + 1) * sizeof(WCHAR));
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = pNew;
    m_nAllocLength = nAlloc;
}

void CString::SetLength(int nLength)
{
    m_nDataLength = nLength;
    if (m_nAllocLength > 0)
        m_pchData[nLength] = 0;
}

void CString::Assign(LPCWSTR lpch, int nLength)
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
        LPWSTR pNew = AllocateChars<WCHAR>(nAlloc);
        memcpy(pNew, lpch, (size_t)nLength * sizeof(WCHAR));
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = pNew;
        m_nAllocLength = nAlloc;
    }
    else
    {
        memmove(m_pchData, lpch, (size_t)nLength * sizeof(WCHAR));
    }
    SetLength(nLength);
}

void CString::AssignAnsi(LPCSTR lpch, int nLength)
{
    WideFromNarrow(*this, lpch, nLength, CP_ACP);
}

LPWSTR CString::GetBuffer()
{
    return GetBuffer(m_nDataLength);
}

LPWSTR CString::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        AfxThrowInvalidArgException();
    // Always a private buffer, even for an empty string, since the caller writes to it.
    Reserve(nMinBufferLength > 0 ? nMinBufferLength : 1);
    return m_pchData;
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    GetBuffer(nLength);
    SetLength(nLength);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
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

void CString::Preallocate(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nLength);
}

void CString::Append(const CString& string)
{
    Append(string.m_pchData, string.m_nDataLength);
}

void CString::Append(LPCWSTR lpsz)
{
    Append(lpsz, LengthW(lpsz));
}

void CString::Append(LPCWSTR lpch, int nLength)
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
    memmove(m_pchData + m_nDataLength, lpch, (size_t)nLength * sizeof(WCHAR));
    SetLength(m_nDataLength + nLength);
}

void CString::AppendChar(WCHAR ch)
{
    Reserve(m_nDataLength + 1);
    m_pchData[m_nDataLength] = ch;
    SetLength(m_nDataLength + 1);
}

WCHAR CString::GetAt(int nIndex) const
{
    // The terminator at GetLength() can be read, as in MFC.
    if (nIndex < 0 || nIndex > m_nDataLength)
        AfxThrowInvalidArgException();
    return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, WCHAR ch)
{
    if (nIndex < 0 || nIndex >= m_nDataLength)
        AfxThrowInvalidArgException();
    m_pchData[nIndex] = ch;
}

int CString::Compare(LPCWSTR lpsz) const
{
    if (lpsz == NULL)
        lpsz = g_chNilW;
    LPCWSTR p = m_pchData;
    while (*p != 0 && *p == *lpsz)
        ++p, ++lpsz;
    if (*p == *lpsz)
        return 0;
    return (unsigned)*p < (unsigned)*lpsz ? -1 : 1;
}

int CString::CompareNoCase(LPCWSTR lpsz) const
{
    if (lpsz == NULL)
        lpsz = g_chNilW;
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
    int nOld = LengthW(lpszOld);
    if (nOld == 0)
        return 0;
    int nCount = 0;
    for (int i = Find(lpszOld); i >= 0; i = Find(lpszOld, i + nOld))
        ++nCount;
    if (nCount == 0)
        return 0;

    // lpszNew may point into this string: build the result aside.
    int nNew = LengthW(lpszNew);
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
    int nInsert = LengthW(lpsz);
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
    // With a zero buffer size LoadStringW hands out the resource text itself, which is
    // not null-terminated; a missing or empty entry leaves the string unchanged.
    LPCWSTR lpch = NULL;
    int nLength = ::LoadStringW(hInstance, nID, (LPWSTR)&lpch, 0);
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
    CString s;
    s.Preallocate(string1.GetLength() + string2.GetLength());
    s.Append(string1);
    s.Append(string2);
    return s;
}

CString operator+(const CString& string, LPCWSTR lpsz)
{
    CString s;
    int nLength = LengthW(lpsz);
    s.Preallocate(string.GetLength() + nLength);
    s.Append(string);
    s.Append(lpsz, nLength);
    return s;
}

CString operator+(LPCWSTR lpsz, const CString& string)
{
    CString s;
    int nLength = LengthW(lpsz);
    s.Preallocate(string.GetLength() + nLength);
    s.Append(lpsz, nLength);
    s.Append(string);
    return s;
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
    CString s(string);
    s.AppendChar(ch);
    return s;
}

CString operator+(WCHAR ch, const CString& string)
{
    CString s(ch);
    s.Append(string);
    return s;
}

CString operator+(const CString& string, char ch)
{
    CString s(string);
    s += ch;
    return s;
}

CString operator+(char ch, const CString& string)
{
    CString s(&ch, 1);
    s.Append(string);
    return s;
}

bool operator==(const CString& s1, const CString& s2)
{
    return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}
bool operator==(const CString& s1, LPCWSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCWSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
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

CStringA::CStringA() : m_pchData(g_chNilA), m_nDataLength(0), m_nAllocLength(0) {}

CStringA::CStringA(const CStringA& stringSrc) : CStringA()
{
    Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
}

CStringA::CStringA(CStringA&& stringSrc) noexcept
    : m_pchData(stringSrc.m_pchData), m_nDataLength(stringSrc.m_nDataLength),
      m_nAllocLength(stringSrc.m_nAllocLength)
{
    stringSrc.m_pchData = g_chNilA;
    stringSrc.m_nDataLength = 0;
    stringSrc.m_nAllocLength = 0;
}

CStringA::CStringA(LPCSTR lpsz) : CStringA()
{
    Assign(lpsz, LengthA(lpsz));
}

CStringA::CStringA(LPCWSTR lpsz) : CStringA()
{
    AssignWide(lpsz, LengthW(lpsz));
}

CStringA::CStringA(LPCSTR lpch, int nLength) : CStringA()
{
    Assign(lpch, lpch == NULL ? 0 : nLength);
}

CStringA::CStringA(char ch, int nRepeat) : CStringA()
{
    if (nRepeat > 0)
    {
        Reserve(nRepeat);
        memset(m_pchData, ch, (size_t)nRepeat);
        SetLength(nRepeat);
    }
}

CStringA::CStringA(const CString& stringSrc) : CStringA()
{
    AssignWide(stringSrc.GetString(), stringSrc.GetLength());
}

CStringA::~CStringA()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
}

CStringA& CStringA::operator=(const CStringA& stringSrc)
{
    if (this != &stringSrc)
        Assign(stringSrc.m_pchData, stringSrc.m_nDataLength);
    return *this;
}

CStringA& CStringA::operator=(CStringA&& stringSrc) noexcept
{
    if (this != &stringSrc)
    {
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = stringSrc.m_pchData;
        m_nDataLength = stringSrc.m_nDataLength;
        m_nAllocLength = stringSrc.m_nAllocLength;
        stringSrc.m_pchData = g_chNilA;
        stringSrc.m_nDataLength = 0;
        stringSrc.m_nAllocLength = 0;
    }
    return *this;
}

CStringA& CStringA::operator=(LPCSTR lpsz)
{
    Assign(lpsz, LengthA(lpsz));
    return *this;
}

CStringA& CStringA::operator=(LPCWSTR lpsz)
{
    AssignWide(lpsz, LengthW(lpsz));
    return *this;
}

CStringA& CStringA::operator=(const CString& stringSrc)
{
    AssignWide(stringSrc.GetString(), stringSrc.GetLength());
    return *this;
}

CStringA& CStringA::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

CStringA& CStringA::operator+=(const CStringA& string)
{
    Append(string.m_pchData, string.m_nDataLength);
    return *this;
}

CStringA& CStringA::operator+=(LPCSTR lpsz)
{
    Append(lpsz, LengthA(lpsz));
    return *this;
}

CStringA& CStringA::operator+=(char ch)
{
    AppendChar(ch);
    return *this;
}

void CStringA::Empty()
{
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = g_chNilA;
    m_nDataLength = 0;
    m_nAllocLength = 0;
}

void CStringA::Reserve(int nLength)
{
    if (nLength <= m_nAllocLength)
        return;
    int nAlloc = GrownCapacity(m_nAllocLength, nLength);
    LPSTR pNew = AllocateChars<char>(nAlloc);
    memcpy(pNew, m_pchData, (size_t)m_nDataLength + 1);
    if (m_nAllocLength > 0)
        delete[] m_pchData;
    m_pchData = pNew;
    m_nAllocLength = nAlloc;
}

void CStringA::SetLength(int nLength)
{
    m_nDataLength = nLength;
    if (m_nAllocLength > 0)
        m_pchData[nLength] = 0;
}

void CStringA::Assign(LPCSTR lpch, int nLength)
{
    if (nLength <= 0)
    {
        SetLength(0);
        return;
    }
    if (nLength > m_nAllocLength)
    {
        int nAlloc = GrownCapacity(0, nLength);
        LPSTR pNew = AllocateChars<char>(nAlloc);
        memcpy(pNew, lpch, (size_t)nLength);
        if (m_nAllocLength > 0)
            delete[] m_pchData;
        m_pchData = pNew;
        m_nAllocLength = nAlloc;
    }
    else
    {
        memmove(m_pchData, lpch, (size_t)nLength);
    }
    SetLength(nLength);
}

void CStringA::AssignWide(LPCWSTR lpch, int nLength)
{
    NarrowFromWide(*this, lpch, nLength, CP_ACP);
}

char CStringA::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex > m_nDataLength)
        AfxThrowInvalidArgException();
    return m_pchData[nIndex];
}

void CStringA::SetAt(int nIndex, char ch)
{
    if (nIndex < 0 || nIndex >= m_nDataLength)
        AfxThrowInvalidArgException();
    m_pchData[nIndex] = ch;
}

LPSTR CStringA::GetBuffer()
{
    return GetBuffer(m_nDataLength);
}

LPSTR CStringA::GetBuffer(int nMinBufferLength)
{
    if (nMinBufferLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nMinBufferLength > 0 ? nMinBufferLength : 1);
    return m_pchData;
}

LPSTR CStringA::GetBufferSetLength(int nLength)
{
    GetBuffer(nLength);
    SetLength(nLength);
    return m_pchData;
}

void CStringA::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
    {
        nNewLength = 0;
        while (nNewLength < m_nAllocLength && m_pchData[nNewLength] != 0)
            ++nNewLength;
    }
    if (nNewLength > m_nAllocLength)
        AfxThrowInvalidArgException();
    SetLength(nNewLength);
}

void CStringA::Preallocate(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
    Reserve(nLength);
}

void CStringA::Append(LPCSTR lpsz)
{
    Append(lpsz, LengthA(lpsz));
}

void CStringA::Append(LPCSTR lpch, int nLength)
{
    if (lpch == NULL || nLength <= 0)
        return;
    if (nLength > INT_MAX - 1 - m_nDataLength)
        AfxThrowMemoryException();
    bool bInside = m_nAllocLength > 0 && lpch >= m_pchData && lpch <= m_pchData + m_nDataLength;
    ptrdiff_t nOffset = lpch - m_pchData;
    Reserve(m_nDataLength + nLength);
    if (bInside)
        lpch = m_pchData + nOffset;
    memmove(m_pchData + m_nDataLength, lpch, (size_t)nLength);
    SetLength(m_nDataLength + nLength);
}

void CStringA::AppendChar(char ch)
{
    Reserve(m_nDataLength + 1);
    m_pchData[m_nDataLength] = ch;
    SetLength(m_nDataLength + 1);
}

int CStringA::Compare(LPCSTR lpsz) const
{
    int n = strcmp(m_pchData, lpsz == NULL ? g_chNilA : lpsz);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
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
    CStringA s;
    s.Preallocate(string1.GetLength() + string2.GetLength());
    s.Append(string1.GetString(), string1.GetLength());
    s.Append(string2.GetString(), string2.GetLength());
    return s;
}

CStringA operator+(const CStringA& string, LPCSTR lpsz)
{
    CStringA s(string);
    s.Append(lpsz);
    return s;
}

CStringA operator+(LPCSTR lpsz, const CStringA& string)
{
    CStringA s(lpsz);
    s.Append(string.GetString(), string.GetLength());
    return s;
}

CStringA operator+(const CStringA& string, char ch)
{
    CStringA s(string);
    s.AppendChar(ch);
    return s;
}

bool operator==(const CStringA& s1, const CStringA& s2)
{
    return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}
bool operator==(const CStringA& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCSTR s1, const CStringA& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CStringA& s1, const CStringA& s2) { return !(s1 == s2); }
bool operator!=(const CStringA& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCSTR s1, const CStringA& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CStringA& s1, const CStringA& s2) { return s1.Compare(s2) < 0; }

// ---------------------------------------------------------------------------------------
// Conversion helpers

CW2A::CW2A(LPCWSTR psz, UINT nCodePage) : m_bNull(psz == NULL)
{
    NarrowFromWide(m_str, psz, LengthW(psz), nCodePage);
}

CA2W::CA2W(LPCSTR psz, UINT nCodePage) : m_bNull(psz == NULL)
{
    WideFromNarrow(m_str, psz, LengthA(psz), nCodePage);
}

CW2W::CW2W(LPCWSTR psz, UINT) : m_str(psz, LengthW(psz)), m_bNull(psz == NULL) {}

void PrintTo(const CString& string, std::ostream* os)
{
    CStringA strUtf8;
    NarrowFromWide(strUtf8, string.GetString(), string.GetLength(), CP_UTF8);
    *os << "L\"" << strUtf8.GetString() << '"';
}

void PrintTo(const CStringA& string, std::ostream* os)
{
    *os << '"' << string.GetString() << '"';
}
