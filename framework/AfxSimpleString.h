// The buffer behind CString and CStringA, for either character width, as ATL's
// CSimpleStringT: a private null-terminated buffer that grows by half again, or a shared
// empty string while nothing is allocated. What depends on the width (code pages,
// formatting rules, the string table) belongs to the two string classes.
#pragma once

#include <windows.h>

// What the buffer needs to know of a width: the other width, whose text it converts through
// a code page, and the length of a zero-terminated string (NULL counting as empty).
template <typename XCHAR>
struct CSimpleStringTraits;

template <>
struct CSimpleStringTraits<WCHAR>
{
    typedef char YCHAR;
    static int Length(LPCWSTR lpsz) { return lpsz == NULL ? 0 : lstrlenW(lpsz); }
};

template <>
struct CSimpleStringTraits<char>
{
    typedef WCHAR YCHAR;
    static int Length(LPCSTR lpsz) { return lpsz == NULL ? 0 : lstrlenA(lpsz); }
};

template <typename XCHAR>
class CSimpleStringT
{
protected:
    typedef XCHAR* PXSTR;
    typedef const XCHAR* PCXSTR;
    typedef typename CSimpleStringTraits<XCHAR>::YCHAR YCHAR;
    typedef const YCHAR* PCYSTR;

public:
    int GetLength() const { return m_nDataLength; }
    BOOL IsEmpty() const { return m_nDataLength == 0; }
    void Empty();

    XCHAR GetAt(int nIndex) const;
    void SetAt(int nIndex, XCHAR ch);
    XCHAR operator[](int nIndex) const { return GetAt(nIndex); }

    PCXSTR GetString() const { return m_pchData; }
    operator PCXSTR() const { return m_pchData; }

    // The buffer holds at least nMinBufferLength characters plus the terminator; after
    // writing to it, ReleaseBuffer sets the length (-1: up to the first null).
    PXSTR GetBuffer();
    PXSTR GetBuffer(int nMinBufferLength);
    PXSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);

    void Append(PCXSTR lpsz);
    void Append(PCXSTR lpch, int nLength);
    void AppendChar(XCHAR ch);

    // Code-unit order, unsigned, as the C runtime compares.
    int Compare(PCXSTR lpsz) const;

protected:
    // Only the string classes are built on it, and none is deleted through it (the
    // destructor is not virtual, so that a string stays three words).
    CSimpleStringT();
    CSimpleStringT(PCXSTR lpch, int nLength);        // NULL gives an empty string
    CSimpleStringT(PCYSTR lpch, int nLength, UINT nCodePage);
    CSimpleStringT(XCHAR ch, int nRepeat);
    CSimpleStringT(const CSimpleStringT& stringSrc);
    CSimpleStringT(CSimpleStringT&& stringSrc) noexcept;
    ~CSimpleStringT();
    CSimpleStringT& operator=(const CSimpleStringT& stringSrc);
    CSimpleStringT& operator=(CSimpleStringT&& stringSrc) noexcept;

    static int StringLength(PCXSTR lpsz) { return CSimpleStringTraits<XCHAR>::Length(lpsz); }
    void Assign(PCXSTR lpsz) { Assign(lpsz, StringLength(lpsz)); }
    void Assign(PCXSTR lpch, int nLength);
    // Text of the other width through a code page; no text empties the string.
    void AssignConverted(PCYSTR lpsz)
    {
        AssignConverted(lpsz, CSimpleStringTraits<YCHAR>::Length(lpsz), CP_ACP);
    }
    void AssignConverted(PCYSTR lpch, int nLength, UINT nCodePage);
    void Reserve(int nLength);       // keeps the contents
    void SetLength(int nLength);

    PXSTR m_pchData;                 // never NULL; a shared empty string while unallocated
    int m_nDataLength;
    int m_nAllocLength;              // characters, without the terminator; 0 = unallocated
};

// Both widths are compiled once, with the string classes.
extern template class CSimpleStringT<WCHAR>;
extern template class CSimpleStringT<char>;
