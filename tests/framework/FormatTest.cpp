#include "MosaicTest.h"

#include <climits>

#include "AfxString.h"

namespace {

template <typename... Args>
CString Formatted(LPCWSTR pszFormat, const Args&... args)
{
    CString s;
    s.Format(pszFormat, args...);
    return s;
}

struct FormatCase
{
    LPCWSTR pszFormat;   // for the failure message
    CString strActual;
    LPCWSTR pszExpected;
};

template <typename... Args>
LPCWSTR FormatOf(LPCWSTR pszFormat, const Args&...)
{
    return pszFormat;
}

// FORMAT_CASE(expected, format, arguments...)
#define FORMAT_CASE(expected, ...) { FormatOf(__VA_ARGS__), Formatted(__VA_ARGS__), expected }

enum Colour { red, green, blue };
enum class Unit : unsigned char { metric = 1, imperial = 2 };

void CheckCases(const FormatCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(cases[i].strActual, CString(cases[i].pszExpected))
            << "format " << testing::PrintToString(CString(cases[i].pszFormat));
}

TEST(Format, Integers)
{
    const FormatCase cases[] = {
        FORMAT_CASE(L"42", L"%d", 42),
        FORMAT_CASE(L"-7", L"%i", -7),
        FORMAT_CASE(L"   42", L"%5d", 42),
        FORMAT_CASE(L"42   |", L"%-5d|", 42),
        FORMAT_CASE(L"00042", L"%05d", 42),
        FORMAT_CASE(L"-0042", L"%05d", -42),
        FORMAT_CASE(L"+42", L"%+d", 42),
        FORMAT_CASE(L" 42", L"% d", 42),
        FORMAT_CASE(L"007", L"%.3d", 7),
        FORMAT_CASE(L"    42", L"%*d", 6, 42),
        FORMAT_CASE(L"7   |", L"%-*d|", 4, 7),
        FORMAT_CASE(L"7   |", L"%*d|", -4, 7),           // a negative width aligns left
        FORMAT_CASE(L"0042", L"%.*d", 4, 42),
        FORMAT_CASE(L"42", L"%.*d", -3, 42),             // a negative precision is none
        FORMAT_CASE(L"-2147483648", L"%d", INT_MIN),
        FORMAT_CASE(L"4294967295", L"%u", -1),
        FORMAT_CASE(L"ff", L"%x", 255),
        FORMAT_CASE(L"FF", L"%X", 255),
        FORMAT_CASE(L"0xff", L"%#x", 255),
        FORMAT_CASE(L"0000BEEF", L"%08X", 0xBEEF),
        FORMAT_CASE(L"17", L"%o", 15),
        FORMAT_CASE(L"ffffffff", L"%lx", -1),            // l is 32 bits
        FORMAT_CASE(L"-5000000000", L"%I64d", -5000000000LL),
        FORMAT_CASE(L"18446744073709551615", L"%I64u", ~0ULL),
        FORMAT_CASE(L"123456789012", L"%lld", 123456789012LL),
        FORMAT_CASE(L"1FFFFFFFF", L"%IX", (SIZE_T)0x1FFFFFFFFULL),
        FORMAT_CASE(L"-1", L"%I32d", -1),
        FORMAT_CASE(L"1", L"%hd", 65537),
        FORMAT_CASE(L"65535", L"%hu", -1),
        FORMAT_CASE(L"1 2", L"%d %d", green, Unit::imperial),
        FORMAT_CASE(L"1", L"%d", true),
    };
    CheckCases(cases, ARRAYSIZE(cases));
}

TEST(Format, Reals)
{
    const FormatCase cases[] = {
        FORMAT_CASE(L"2", L"%.0f", 2.5),                 // halves round to even
        FORMAT_CASE(L"-2", L"%.0f", -2.5),
        FORMAT_CASE(L"4", L"%.0f", 3.5),
        FORMAT_CASE(L"3.142", L"%.3f", 3.14159),
        FORMAT_CASE(L"1.500000", L"%f", 1.5),
        FORMAT_CASE(L"    3.14", L"%8.2f", 3.14159),
        FORMAT_CASE(L"3.14    |", L"%-8.2f|", 3.14159),
        FORMAT_CASE(L"-0003.14", L"%08.2f", -3.14159),
        FORMAT_CASE(L"+1.0", L"%+.1f", 1.0),
        FORMAT_CASE(L"1.234568e+04", L"%e", 12345.678),
        FORMAT_CASE(L"1.23E+04", L"%.2E", 12345.678),
        FORMAT_CASE(L"0.0001", L"%g", 0.0001),
        FORMAT_CASE(L"1e-05", L"%g", 0.00001),
        FORMAT_CASE(L"1.23457e+08", L"%g", 123456789.0),
        FORMAT_CASE(L"1E-05", L"%G", 0.00001),
        FORMAT_CASE(L"2.5", L"%.*g", 6, 2.5f),           // a float arrives as a double
        FORMAT_CASE(L"0.1", L"%.15g", 0.1),
        FORMAT_CASE(L"2.5", L"%Lg", (long double)2.5),
    };
    CheckCases(cases, ARRAYSIZE(cases));

    // Wider than any fixed buffer.
    CString strHuge = Formatted(L"%.0f", 1e300);
    EXPECT_EQ(strHuge.GetLength(), 301);
    EXPECT_EQ(strHuge.Left(4), CString(L"1000"));
}

TEST(Format, TextAndCharacters)
{
    const CString strName(L"Palette");
    const LPCWSTR pszNullWide = NULL;
    const LPCSTR pszNullNarrow = NULL;
    const FormatCase cases[] = {
        FORMAT_CASE(L"Palette", L"%s", strName),
        FORMAT_CASE(L"C:\\Mosaic\\Palettes\\Palette.pal", L"%sPalettes\\%s.pal",
                    CString(L"C:\\Mosaic\\"), strName),
        FORMAT_CASE(L"[   ab]", L"[%5s]", L"ab"),
        FORMAT_CASE(L"[ab   ]", L"[%-5s]", L"ab"),
        FORMAT_CASE(L"[000ab]", L"[%05s]", L"ab"),       // the Microsoft runtime pads with 0
        FORMAT_CASE(L"[Pal]", L"[%.3s]", strName),
        FORMAT_CASE(L"narrow", L"%S", "narrow"),
        FORMAT_CASE(L"narrow", L"%hs", "narrow"),
        FORMAT_CASE(L"wide", L"%ls", L"wide"),
        FORMAT_CASE(L"wide", L"%ws", L"wide"),
        FORMAT_CASE(L"(null)", L"%s", pszNullWide),
        FORMAT_CASE(L"(null)", L"%S", pszNullNarrow),
        FORMAT_CASE(L"x", L"%c", L'x'),
        FORMAT_CASE(L"y", L"%C", 'y'),
        FORMAT_CASE(L"[  x]", L"[%3c]", L'x'),
        FORMAT_CASE(L"\x00B2", L"%c", (WCHAR)0x00B2),
        FORMAT_CASE(L"m\x00B2", L"%s\x00B2", L"m"),
        FORMAT_CASE(L"100%", L"100%%"),
        FORMAT_CASE(L"50% off", L"%d%% off", 50),
        FORMAT_CASE(L"abc%", L"abc%"),                   // a field cut off by the end
    };
    CheckCases(cases, ARRAYSIZE(cases));
}

TEST(Format, PointerPrintsAllDigitsInCapitals)
{
    void* p = (void*)(ULONG_PTR)0xAB12;
    CString strExpected = sizeof(void*) == 8 ? L"000000000000AB12" : L"0000AB12";
    EXPECT_EQ(Formatted(L"%p", p), strExpected);
}

TEST(Format, OwnTextAsArgumentAndAppend)
{
    CString s(L"ab");
    s.Format(L"%s-%s", s, s);
    EXPECT_EQ(s, CString(L"ab-ab"));

    s.AppendFormat(L"+%d", 3);
    s.AppendFormat(L"%s", s);
    EXPECT_EQ(s, CString(L"ab-ab+3ab-ab+3"));

    s.Format(L"");
    EXPECT_TRUE(s.IsEmpty());
}

void FormatThroughVaList(CString& s, LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    s.FormatV(pszFormat, args);
    va_end(args);
}

TEST(Format, FormatVTakesAVaList)
{
    CString s;
    FormatThroughVaList(s, L"%s %d %.1f %S", L"a", 2, 3.25, "b");
    EXPECT_EQ(s, CString(L"a 2 3.2 b"));
}

TEST(Format, NarrowStringsFollowTheNarrowRules)
{
    CStringA s;
    s.Format("%s|%S|%c|%C|%5.1f|%I64d", "narrow", L"wide", 'n', L'w', 2.25, 1LL << 40);
    EXPECT_EQ(s, CStringA("narrow|wide|n|w|  2.2|1099511627776"));

    s.Format("%s+", CStringA("x"));
    s.AppendFormat("%d", 5);
    EXPECT_EQ(s, CStringA("x+5"));
}

} // namespace
