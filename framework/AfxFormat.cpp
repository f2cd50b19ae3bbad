// The formatter behind CString::Format and CStringA::Format. It follows the Microsoft C
// runtime's printf rules: in a wide format %s/%c are wide and %S/%C narrow (the other way
// round in a narrow format), h and l force narrow and wide text, l is 32 bits, I64/ll 64,
// I the size of a pointer, and %p prints the pointer's hexadecimal digits in capitals.
// Numbers are printed by the C library's snprintf, one conversion at a time, so reals
// follow the C library's LC_NUMERIC as they would follow the Microsoft runtime's locale.

#include "AfxString.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Lets helpers share one walk over the arguments.
struct ArgList
{
    va_list ap;
};

enum Size
{
    sizeDefault,
    sizeChar,        // hh
    sizeShort,       // h
    sizeLong64,      // ll, I64, I, z, j, t
    sizeLong32,      // l, I32
    sizeWide,        // w
    sizeLongDouble   // L
};

struct Field
{
    char szFlags[8];     // as written, for the narrow conversion field
    bool bLeft;
    bool bZero;
    int nWidth;          // 0: none
    int nPrecision;      // -1: none
    Size size;
};

template <typename Ch>
bool IsDigit(Ch ch)
{
    return ch >= '0' && ch <= '9';
}

template <typename Ch>
int ReadNumber(const Ch*& p)
{
    int n = 0;
    while (IsDigit(*p))
    {
        if (n < 100000000)
            n = n * 10 + (*p - '0');
        ++p;
    }
    return n;
}

// Output helpers, one set per string class.

void AppendWideText(CString& out, LPCWSTR lpch, int nLength)
{
    out.Append(lpch, nLength);
}

void AppendWideText(CStringA& out, LPCWSTR lpch, int nLength)
{
    if (nLength > 0)
        out += CStringA(CString(lpch, nLength));
}

void AppendNarrowText(CString& out, LPCSTR lpch, int nLength)
{
    if (nLength > 0)
        out += CString(lpch, nLength);
}

void AppendNarrowText(CStringA& out, LPCSTR lpch, int nLength)
{
    out.Append(lpch, nLength);
}

// The C library writes numbers in ASCII, except for a locale's decimal point, which is in
// its multibyte encoding (UTF-8 on this system).
void AppendNumberText(CString& out, LPCSTR lpch, int nLength)
{
    bool bAscii = true;
    for (int i = 0; i < nLength; ++i)
        bAscii = bAscii && (unsigned char)lpch[i] < 0x80;
    if (bAscii)
    {
        for (int i = 0; i < nLength; ++i)
            out.AppendChar((WCHAR)lpch[i]);
        return;
    }
    int cch = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, lpch, nLength, NULL, 0);
    if (cch <= 0)
    {
        AppendNarrowText(out, lpch, nLength);
        return;
    }
    std::vector<WCHAR> buffer((size_t)cch);
    MultiByteToWideChar(CP_UTF8, 0, lpch, nLength, buffer.data(), cch);
    out.Append(buffer.data(), cch);
}

void AppendNumberText(CStringA& out, LPCSTR lpch, int nLength)
{
    out.Append(lpch, nLength);
}

void AppendRepeated(CString& out, char ch, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        out.AppendChar((WCHAR)ch);
}

void AppendRepeated(CStringA& out, char ch, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        out.AppendChar(ch);
}

// Text conversions (%s, %c): the Microsoft runtime pads them with '0' too when asked.
template <typename String>
void AppendPadded(String& out, const String& text, const Field& field)
{
    int nPad = field.nWidth - text.GetLength();
    if (nPad > 0 && !field.bLeft)
        AppendRepeated(out, field.bZero ? '0' : ' ', nPad);
    out += text;
    if (nPad > 0 && field.bLeft)
        AppendRepeated(out, ' ', nPad);
}

// One number through snprintf with the field as written (flags, width, precision) and the
// given length modifier and conversion.
template <typename String, typename Value>
void AppendNumber(String& out, const Field& field, const char* pszLength, char chConversion,
                  Value value)
{
    char szFormat[64];
    int n = snprintf(szFormat, sizeof(szFormat), "%%%s", field.szFlags);
    if (field.nWidth > 0)
        n += snprintf(szFormat + n, sizeof(szFormat) - n, "%d", field.nWidth);
    if (field.nPrecision >= 0)
        n += snprintf(szFormat + n, sizeof(szFormat) - n, ".%d", field.nPrecision);
    snprintf(szFormat + n, sizeof(szFormat) - n, "%s%c", pszLength, chConversion);

    char szText[128];
    int nLength = snprintf(szText, sizeof(szText), szFormat, value);
    if (nLength < 0)
        return;
    if (nLength < (int)sizeof(szText))
    {
        AppendNumberText(out, szText, nLength);
        return;
    }
    std::vector<char> buffer((size_t)nLength + 1);
    snprintf(buffer.data(), buffer.size(), szFormat, value);
    AppendNumberText(out, buffer.data(), nLength);
}

long long SignedArg(ArgList& args, Size size)
{
    switch (size)
    {
    case sizeChar:
        return (signed char)va_arg(args.ap, int);
    case sizeShort:
        return (short)va_arg(args.ap, int);
    case sizeLong64:
        return va_arg(args.ap, long long);
    default:
        return va_arg(args.ap, int);
    }
}

unsigned long long UnsignedArg(ArgList& args, Size size)
{
    switch (size)
    {
    case sizeChar:
        return (unsigned char)va_arg(args.ap, int);
    case sizeShort:
        return (unsigned short)va_arg(args.ap, int);
    case sizeLong64:
        return va_arg(args.ap, unsigned long long);
    default:
        return va_arg(args.ap, unsigned int);
    }
}

// Whether %s/%c (bUpper false) or %S/%C (bUpper true) take wide text here.
template <typename Ch>
bool IsWideText(bool bUpper, Size size)
{
    if (size == sizeShort)
        return false;
    if (size == sizeLong32 || size == sizeWide)
        return true;
    bool bWideFormat = sizeof(Ch) == sizeof(WCHAR);
    return bUpper ? !bWideFormat : bWideFormat;
}

template <typename Ch, typename String>
void AppendText(String& out, const Field& field, bool bWide, ArgList& args)
{
    String text;
    if (bWide)
    {
        LPCWSTR lpsz = va_arg(args.ap, LPCWSTR);
        if (lpsz == NULL)
            lpsz = L"(null)";
        int n = 0;
        while ((field.nPrecision < 0 || n < field.nPrecision) && lpsz[n] != 0)
            ++n;
        AppendWideText(text, lpsz, n);
    }
    else
    {
        LPCSTR lpsz = va_arg(args.ap, LPCSTR);
        if (lpsz == NULL)
            lpsz = "(null)";
        int n = 0;
        while ((field.nPrecision < 0 || n < field.nPrecision) && lpsz[n] != 0)
            ++n;
        AppendNarrowText(text, lpsz, n);
    }
    AppendPadded(out, text, field);
}

template <typename Ch, typename String>
void AppendCharacter(String& out, const Field& field, bool bWide, ArgList& args)
{
    int ch = va_arg(args.ap, int);
    String text;
    if (bWide)
    {
        WCHAR wch = (WCHAR)ch;
        AppendWideText(text, &wch, 1);
    }
    else
    {
        char c = (char)ch;
        AppendNarrowText(text, &c, 1);
    }
    AppendPadded(out, text, field);
}

template <typename Ch>
Size ReadSize(const Ch*& p)
{
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
    {
        p += 3;
        return sizeLong64;
    }
    if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
    {
        p += 3;
        return sizeLong32;
    }
    if (p[0] == 'l' && p[1] == 'l')
    {
        p += 2;
        return sizeLong64;
    }
    if (p[0] == 'h' && p[1] == 'h')
    {
        p += 2;
        return sizeChar;
    }
    switch (*p++)
    {
    case 'I':
    case 'z':
    case 'j':
    case 't':
        return sizeof(void*) == 8 ? sizeLong64 : sizeLong32;
    case 'l':
        return sizeLong32;
    case 'h':
        return sizeShort;
    case 'w':
        return sizeWide;
    case 'L':
        return sizeLongDouble;
    default:
        --p;
        return sizeDefault;
    }
}

template <typename Ch, typename String>
void FormatInto(String& out, const Ch* pszFormat, ArgList& args)
{
    if (pszFormat == NULL)
        return;
    const Ch* p = pszFormat;
    while (*p != 0)
    {
        if (*p != '%')
        {
            const Ch* pRun = p;
            while (*p != 0 && *p != '%')
                ++p;
            out.Append(pRun, (int)(p - pRun));
            continue;
        }
        const Ch* pStart = p++;
        if (*p == '%')
        {
            out.AppendChar('%');
            ++p;
            continue;
        }

        Field field = {};
        field.nPrecision = -1;
        int nFlags = 0;
        for (;; ++p)
        {
            if (*p == '-')
                field.bLeft = true;
            else if (*p == '0')
                field.bZero = true;
            else if (*p != '+' && *p != ' ' && *p != '#')
                break;
            if (nFlags < (int)sizeof(field.szFlags) - 2)
                field.szFlags[nFlags++] = (char)*p;
        }
        if (*p == '*')
        {
            ++p;
            field.nWidth = va_arg(args.ap, int);
            if (field.nWidth < 0)
            {
                // A negative width argument means left alignment.
                field.nWidth = field.nWidth > -100000000 ? -field.nWidth : 100000000;
                field.bLeft = true;
                field.szFlags[nFlags++] = '-';
            }
        }
        else
        {
            field.nWidth = ReadNumber(p);
        }
        if (*p == '.')
        {
            ++p;
            if (*p == '*')
            {
                ++p;
                field.nPrecision = va_arg(args.ap, int);
                if (field.nPrecision < 0)
                    field.nPrecision = -1;   // as if none were given
            }
            else
            {
                field.nPrecision = ReadNumber(p);
            }
        }
        field.szFlags[nFlags] = 0;

        field.size = ReadSize(p);

        Ch chConversion = *p;
        if (chConversion == 0)
        {
            out.Append(pStart, (int)(p - pStart));   // a field cut off by the end
            break;
        }
        ++p;
        switch (chConversion)
        {
        case 'd':
        case 'i':
            AppendNumber(out, field, "ll", 'd', SignedArg(args, field.size));
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            AppendNumber(out, field, "ll", (char)chConversion, UnsignedArg(args, field.size));
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            // The Microsoft runtime's long double is a double.
            AppendNumber(out, field, "", (char)chConversion, va_arg(args.ap, double));
            break;
        case 'p':
        {
            Field fieldPointer = field;
            fieldPointer.nPrecision = (int)sizeof(void*) * 2;
            AppendNumber(out, fieldPointer, "ll", 'X',
                         (unsigned long long)(ULONG_PTR)va_arg(args.ap, void*));
            break;
        }
        case 's':
        case 'S':
            AppendText<Ch>(out, field, IsWideText<Ch>(chConversion == 'S', field.size), args);
            break;
        case 'c':
        case 'C':
            AppendCharacter<Ch>(out, field, IsWideText<Ch>(chConversion == 'C', field.size), args);
            break;
        case 'n':
            // Writing through %n is refused, as by the Microsoft runtime's default.
            (void)va_arg(args.ap, void*);
            break;
        default:
            out.Append(pStart, (int)(p - pStart));   // unknown: shown as written
            break;
        }
    }
}

} // namespace

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    // Built aside: an argument may be this string's own text.
    CString strResult;
    strResult.AppendFormatV(pszFormat, args);
    *this = std::move(strResult);
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args)
{
    CString strAdded;
    ArgList argList;
    va_copy(argList.ap, args);
    FormatInto(strAdded, pszFormat, argList);
    va_end(argList.ap);
    Append(strAdded);
}

void CStringA::FormatV(LPCSTR pszFormat, va_list args)
{
    CStringA strResult;
    strResult.AppendFormatV(pszFormat, args);
    *this = std::move(strResult);
}

void CStringA::AppendFormatV(LPCSTR pszFormat, va_list args)
{
    CStringA strAdded;
    ArgList argList;
    va_copy(argList.ap, args);
    FormatInto(strAdded, pszFormat, argList);
    va_end(argList.ap);
    Append(strAdded.GetString(), strAdded.GetLength());
}
