// CString, the UTF-16 string of a Unicode build, and CStringA, its 8-bit counterpart, with
// the ATL-style conversion helpers (CW2A, CA2W, ...). Narrow text is in the ANSI code page
// unless a code page is given.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <iosfwd>
#include <type_traits>

#include "AfxSimpleString.h"

class CStringA;

class CString : public CSimpleStringT<WCHAR>
{
public:
    CString() {}    // not defaulted: CString() would zero the members before building them
    CString(const CString& stringSrc) = default;
    CString(CString&& stringSrc) noexcept = default;
    // NULL gives an empty string; a MAKEINTRESOURCE value loads that string resource.
    CString(LPCWSTR lpsz);
    CString(LPCSTR lpsz);
    CString(LPCWSTR lpch, int nLength) : CSimpleStringT(lpch, nLength) {}
    CString(LPCSTR lpch, int nLength) : CSimpleStringT(lpch, nLength, CP_ACP) {}
    explicit CString(WCHAR ch, int nRepeat = 1) : CSimpleStringT(ch, nRepeat) {}
    CString(const CStringA& stringSrc);

    CString& operator=(const CString& stringSrc) = default;
    CString& operator=(CString&& stringSrc) noexcept = default;
    CString& operator=(LPCWSTR lpsz) { Assign(lpsz); return *this; }
    CString& operator=(LPCSTR lpsz) { AssignConverted(lpsz); return *this; }
    CString& operator=(WCHAR ch) { Assign(&ch, 1); return *this; }
    CString& operator=(const CStringA& stringSrc);

    CString& operator+=(const CString& string) { Append(string); return *this; }
    CString& operator+=(LPCWSTR lpsz) { Append(lpsz); return *this; }
    CString& operator+=(LPCSTR lpsz) { Append(CString(lpsz)); return *this; }
    CString& operator+=(WCHAR ch) { AppendChar(ch); return *this; }
    CString& operator+=(char ch) { Append(CString(&ch, 1)); return *this; }

    using CSimpleStringT<WCHAR>::Append;
    void Append(const CString& string) { Append(string.GetString(), string.GetLength()); }

    // Folds to lower case first.
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

class CStringA : public CSimpleStringT<char>
{
public:
    CStringA() {}   // not defaulted: CStringA() would zero the members first
    CStringA(const CStringA& stringSrc) = default;
    CStringA(CStringA&& stringSrc) noexcept = default;
    // NULL gives an empty string; wide text goes through the ANSI code page.
    CStringA(LPCSTR lpsz) : CSimpleStringT(lpsz, StringLength(lpsz)) {}
    CStringA(LPCWSTR lpsz) { AssignConverted(lpsz); }
    CStringA(LPCSTR lpch, int nLength) : CSimpleStringT(lpch, nLength) {}
    explicit CStringA(char ch, int nRepeat = 1) : CSimpleStringT(ch, nRepeat) {}
    CStringA(const CString& stringSrc);

    CStringA& operator=(const CStringA& stringSrc) = default;
    CStringA& operator=(CStringA&& stringSrc) noexcept = default;
    CStringA& operator=(LPCSTR lpsz) { Assign(lpsz); return *this; }
    CStringA& operator=(LPCWSTR lpsz) { AssignConverted(lpsz); return *this; }
    CStringA& operator=(const CString& stringSrc);
    CStringA& operator=(char ch) { Assign(&ch, 1); return *this; }

    CStringA& operator+=(const CStringA& string)
    {
        Append(string.GetString(), string.GetLength());
        return *this;
    }
    CStringA& operator+=(LPCSTR lpsz) { Append(lpsz); return *this; }
    CStringA& operator+=(char ch) { AppendChar(ch); return *this; }

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
