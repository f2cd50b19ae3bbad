// CString, the UTF-16 string of a Unicode build, and CStringA, its 8-bit counterpart, with
// the ATL-style conversion helpers (CW2A, CA2W, ...). Narrow text is in the ANSI code page
// unless a code page is given.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <iosfwd>
#include <type_traits>

class CStringA;

class CString
{
public:
    CString();
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    // NULL gives an empty string; a MAKEINTRESOURCE value loads that string resource.
    CString(LPCWSTR lpsz);
    CString(LPCSTR lpsz);
    CString(LPCWSTR lpch, int nLength);
    CString(LPCSTR lpch, int nLength);
    explicit CString(WCHAR ch, int nRepeat = 1);
    CString(const CStringA& stringSrc);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCWSTR lpsz);
    CString& operator=(LPCSTR lpsz);
    CString& operator=(WCHAR ch);
    CString& operator=(const CStringA& stringSrc);

    CString& operator+=(const CString& string);
    CString& operator+=(LPCWSTR lpsz);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(WCHAR ch);
    CString& operator+=(char ch);

    int GetLength() const { return m_nDataLength; }
    BOOL IsEmpty() const { return m_nDataLength == 0; }
    void Empty();

    WCHAR GetAt(int nIndex) const;
    void SetAt(int nIndex, WCHAR ch);
    WCHAR operator[](int nIndex) const { return GetAt(nIndex); }

    LPCWSTR GetString() const { return m_pchData; }
    operator LPCWSTR() const { return m_pchData; }

    // The buffer holds at least nMinBufferLength characters plus the terminator; after
    // writing to it, ReleaseBuffer sets the length (-1: up to the first null).
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);

    void Append(const CString& string);
    void Append(LPCWSTR lpsz);
    void Append(LPCWSTR lpch, int nLength);
    void AppendChar(WCHAR ch);

    // Code-unit order, as the C runtime compares; CompareNoCase folds to lower case first.
    int Compare(LPCWSTR lpsz) const;
    int CompareNoCase(LPCWSTR lpsz) const;

    int Find(WCHAR ch, int nStart = 0) const;
    int Find(LPCWSTR lpszSub, int nStart = 0) const;
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR lpszCharSet) const;

    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    // The next token after iStart, skipping leading delimiters; iStart becomes -1 (and the
    // result empty) when no token is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    int Replace(WCHAR chOld, WCHAR chNew);
    int Replace(LPCWSTR lpszOld, LPCWSTR lpszNew);
    int Remove(WCHAR ch);
    int Insert(int nIndex, WCHAR ch);
    int Insert(int nIndex, LPCWSTR lpsz);
    int Delete(int nIndex, int nCount = 1);

    CString& MakeUpper();
    CString& MakeLower();

    CString& Trim();
    CString& Trim(WCHAR chTarget);
    CString& Trim(LPCWSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(WCHAR chTarget);
    CString& TrimLeft(LPCWSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(WCHAR chTarget);
    CString& TrimRight(LPCWSTR lpszTargets);

    // From the string table of AfxGetResourceHandle() (or of hInstance).
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // The Microsoft C runtime's rules for a wide format: %s and %c take wide text, %S and
    // %C narrow text, %hs/%ls say so explicitly; l is 32 bits, I64 and ll 64 bits.
    template <typename... Args>
    void Format(LPCWSTR pszFormat, const Args&... args);
    template <typename... Args>
    void AppendFormat(LPCWSTR pszFormat, const Args&... args);
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

private:
    void FormatArgs(LPCWSTR pszFormat, ...);
    void AppendFormatArgs(LPCWSTR pszFormat, ...);

    void Assign(LPCWSTR lpch, int nLength);
    void AssignAnsi(LPCSTR lpch, int nLength);
    void Reserve(int nLength);       // keeps the contents
    void SetLength(int nLength);

    LPWSTR m_pchData;                // never NULL; a shared empty string while unallocated
    int m_nDataLength;
    int m_nAllocLength;              // characters, without the terminator; 0 = unallocated
};

CString operator+(const CString& string1, const CString& string2);
CString operator+(const CString& string, LPCWSTR lpsz);
CString operator+(LPCWSTR lpsz, const CString& string);
CString operator+(const CString& string, LPCSTR lpsz);
CString operator+(LPCSTR lpsz, const CString& string);
CString operator+(const CString& string, WCHAR ch);
CString operator+(WCHAR ch, const CString& string);
CString operator+(const CString& string, char ch);
CString operator+(char ch, const CString& string);

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCWSTR s2);
bool operator==(LPCWSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCWSTR s2);
bool operator!=(LPCWSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCWSTR s2);
bool operator<(LPCWSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCWSTR s2);
bool operator>(LPCWSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCWSTR s2);
bool operator<=(LPCWSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCWSTR s2);
bool operator>=(LPCWSTR s1, const CString& s2);

typedef CString CStringW;

class CStringA
{
public:
    CStringA();
    CStringA(const CStringA& stringSrc);
    CStringA(CStringA&& stringSrc) noexcept;
    CStringA(LPCSTR lpsz);                   // NULL gives an empty string
    CStringA(LPCWSTR lpsz);                  // ANSI code page
    CStringA(LPCSTR lpch, int nLength);
    explicit CStringA(char ch, int nRepeat = 1);
    CStringA(const CString& stringSrc);
    ~CStringA();

    CStringA& operator=(const CStringA& stringSrc);
    CStringA& operator=(CStringA&& stringSrc) noexcept;
    CStringA& operator=(LPCSTR lpsz);
    CStringA& operator=(LPCWSTR lpsz);
    CStringA& operator=(const CString& stringSrc);
    CStringA& operator=(char ch);

    CStringA& operator+=(const CStringA& string);
    CStringA& operator+=(LPCSTR lpsz);
    CStringA& operator+=(char ch);

    int GetLength() const { return m_nDataLength; }
    BOOL IsEmpty() const { return m_nDataLength == 0; }
    void Empty();

    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }

    LPCSTR GetString() const { return m_pchData; }
    operator LPCSTR() const { return m_pchData; }

    LPSTR GetBuffer();
    LPSTR GetBuffer(int nMinBufferLength);
    LPSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);

    void Append(LPCSTR lpsz);
    void Append(LPCSTR lpch, int nLength);
    void AppendChar(char ch);

    int Compare(LPCSTR lpsz) const;          // byte order, as strcmp

    // The narrow rules: %s and %c take 8-bit text, %S and %C wide text.
    template <typename... Args>
    void Format(LPCSTR pszFormat, const Args&... args);
    template <typename... Args>
    void AppendFormat(LPCSTR pszFormat, const Args&... args);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormatV(LPCSTR pszFormat, va_list args);

private:
    void FormatArgs(LPCSTR pszFormat, ...);
    void AppendFormatArgs(LPCSTR pszFormat, ...);

    void Assign(LPCSTR lpch, int nLength);
    void AssignWide(LPCWSTR lpch, int nLength);
    void Reserve(int nLength);
    void SetLength(int nLength);

    LPSTR m_pchData;
    int m_nDataLength;
    int m_nAllocLength;
};

CStringA operator+(const CStringA& string1, const CStringA& string2);
CStringA operator+(const CStringA& string, LPCSTR lpsz);
CStringA operator+(LPCSTR lpsz, const CStringA& string);
CStringA operator+(const CStringA& string, char ch);

bool operator==(const CStringA& s1, const CStringA& s2);
bool operator==(const CStringA& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CStringA& s2);
bool operator!=(const CStringA& s1, const CStringA& s2);
bool operator!=(const CStringA& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CStringA& s2);
bool operator<(const CStringA& s1, const CStringA& s2);

// Converting text between wide and narrow: CW2A(psz) is ANSI, CW2A(psz, CP_UTF8) UTF-8 for
// native libraries. A NULL source gives a NULL result. The object owns the converted text,
// so it lives as long as the temporary does (to the end of the full expression).
class CW2A
{
public:
    CW2A(LPCWSTR psz, UINT nCodePage = CP_ACP);
    operator LPSTR() const { return m_bNull ? NULL : const_cast<LPSTR>(m_str.GetString()); }

private:
    CStringA m_str;
    bool m_bNull;
};

class CA2W
{
public:
    CA2W(LPCSTR psz, UINT nCodePage = CP_ACP);
    operator LPWSTR() const { return m_bNull ? NULL : const_cast<LPWSTR>(m_str.GetString()); }

private:
    CString m_str;
    bool m_bNull;
};

// TCHAR is WCHAR: the wide-to-wide forms only copy.
class CW2W
{
public:
    CW2W(LPCWSTR psz, UINT nCodePage = CP_ACP);
    operator LPWSTR() const { return m_bNull ? NULL : const_cast<LPWSTR>(m_str.GetString()); }

private:
    CString m_str;
    bool m_bNull;
};

typedef CW2A CT2A;
typedef CA2W CA2T;
typedef CW2W CW2T;
typedef CW2W CT2W;

// Lets GoogleTest print the strings readably (as UTF-8).
void PrintTo(const CString& string, std::ostream* os);
void PrintTo(const CStringA& string, std::ostream* os);

// Variadic formatting hands every argument to a C variadic list. A class object cannot go
// there (g++ would pass it by hidden reference), so strings go as their text pointers and
// anything else that is not a scalar is refused when compiling.
inline LPCWSTR AfxPassFormatArg(const CString& string) { return string.GetString(); }
inline LPCSTR AfxPassFormatArg(const CStringA& string) { return string.GetString(); }

template <typename T>
inline auto AfxPassFormatArg(const T& value)
{
    typedef typename std::decay<const T&>::type Arg;
    static_assert(std::is_arithmetic<Arg>::value || std::is_pointer<Arg>::value ||
                      std::is_enum<Arg>::value || std::is_null_pointer<Arg>::value,
                  "only strings, numbers, pointers and enumerations can be formatted");
    if constexpr (std::is_enum<Arg>::value)
        return static_cast<typename std::underlying_type<Arg>::type>(value);
    else if constexpr (std::is_same<Arg, long double>::value)
        return static_cast<double>(value);   // the formatter reads every real as a double
    else
        return static_cast<Arg>(value);
}

template <typename... Args>
inline void CString::Format(LPCWSTR pszFormat, const Args&... args)
{
    FormatArgs(pszFormat, AfxPassFormatArg(args)...);
}

template <typename... Args>
inline void CString::AppendFormat(LPCWSTR pszFormat, const Args&... args)
{
    AppendFormatArgs(pszFormat, AfxPassFormatArg(args)...);
}

template <typename... Args>
inline void CStringA::Format(LPCSTR pszFormat, const Args&... args)
{
    FormatArgs(pszFormat, AfxPassFormatArg(args)...);
}

template <typename... Args>
inline void CStringA::AppendFormat(LPCSTR pszFormat, const Args&... args)
{
    AppendFormatArgs(pszFormat, AfxPassFormatArg(args)...);
}
