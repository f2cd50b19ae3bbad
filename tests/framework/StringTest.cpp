#include "MosaicTest.h"

#include <map>

#include "AfxException.h"
#include "AfxResource.h"
#include "AfxString.h"
#include "ResourceLanguage.h"
#include "resource.h"

namespace {

TEST(String, Construction)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_EQ(CString().GetString()[0], 0);
    EXPECT_TRUE(CString((LPCWSTR)NULL).IsEmpty());
    EXPECT_TRUE(CString((LPCSTR)NULL).IsEmpty());
    EXPECT_EQ(CString(L"abc").GetLength(), 3);
    EXPECT_EQ(CString("abc"), CString(L"abc"));
    EXPECT_EQ(CString(L'-', 4), CString(L"----"));
    EXPECT_TRUE(CString(L'-', 0).IsEmpty());
    EXPECT_EQ(CString(L"abcdef", 3), CString(L"abc"));
    EXPECT_EQ(CString("abcdef", 2), CString(L"ab"));

    // A counted copy keeps embedded nulls.
    CString strEmbedded(L"a\0b", 3);
    EXPECT_EQ(strEmbedded.GetLength(), 3);
    EXPECT_EQ(strEmbedded.GetAt(2), L'b');

    // A resource id in place of a pointer loads that string.
    EXPECT_EQ(CString(MAKEINTRESOURCEW(0xE000)), CString(L"Mosaic"));  // application title
}

TEST(String, NarrowTextIsInTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page here is " << GetACP();
    EXPECT_EQ(CString("caf\xE9 \x80"), CString(L"caf\x00E9 \x20AC"));
    CString s;
    s = "\xC0 la";
    EXPECT_EQ(s, CString(L"\x00C0 la"));
    s += "\xE7";
    s += '\xE0';
    EXPECT_EQ(s, CString(L"\x00C0 la\x00E7\x00E0"));
    EXPECT_EQ(CStringA(CString(L"d\x00E9j\x00E0")), CStringA("d\xE9j\xE0"));
}

TEST(String, CopyMoveAndAppendToItself)
{
    CString s(L"abc");
    CString t(s);
    t += L"d";
    EXPECT_EQ(s, CString(L"abc"));
    EXPECT_EQ(t, CString(L"abcd"));

    CString u(std::move(t));
    EXPECT_EQ(u, CString(L"abcd"));
    EXPECT_TRUE(t.IsEmpty());

    u += u;
    EXPECT_EQ(u, CString(L"abcdabcd"));
    u.Append(u.GetString() + 6);   // a piece of itself, across a reallocation
    EXPECT_EQ(u, CString(L"abcdabcdcd"));
    u = u.GetString() + 8;
    EXPECT_EQ(u, CString(L"cd"));
}

TEST(String, ConcatenationOperators)
{
    CString s(L"b");
    EXPECT_EQ(L"a" + s + L"c", CString(L"abc"));
    EXPECT_EQ(L'a' + s + L'c', CString(L"abc"));
    EXPECT_EQ(s + 'c', CString(L"bc"));
    EXPECT_EQ(s + s, CString(L"bb"));
    EXPECT_EQ(s + "z", CString(L"bz"));
}

TEST(String, ManyAppendsKeepEveryCharacter)
{
    CString s;
    for (int i = 0; i < 20000; ++i)
        s += (WCHAR)(L'a' + i % 26);
    ASSERT_EQ(s.GetLength(), 20000);
    EXPECT_EQ(s.GetAt(19999), (WCHAR)(L'a' + 19999 % 26));
    EXPECT_EQ(s.Mid(26 * 700, 3), CString(L"abc"));
}

TEST(String, ComparisonAndOrdering)
{
    CString s(L"abc");
    EXPECT_EQ(s.Compare(L"abc"), 0);
    EXPECT_LT(s.Compare(L"abd"), 0);
    EXPECT_GT(s.Compare(L"ab"), 0);
    EXPECT_LT(s.Compare(L"abcd"), 0);
    EXPECT_GT(s.Compare(L"ABC"), 0);
    EXPECT_GT(CString(L"\x00E9").Compare(L"z"), 0);   // code-unit order

    EXPECT_EQ(s.CompareNoCase(L"ABC"), 0);
    EXPECT_LT(s.CompareNoCase(L"ABD"), 0);
    EXPECT_EQ(CString(L"\x00C9t\x00C9").CompareNoCase(L"\x00E9t\x00E9"), 0);
    // Case is folded to lower case: '_' sorts before letters.
    EXPECT_LT(CString(L"_").CompareNoCase(L"A"), 0);

    EXPECT_TRUE(s == L"abc");
    EXPECT_TRUE(L"abc" == s);
    EXPECT_TRUE(s != CString(L"abd"));
    EXPECT_FALSE(CString(L"a\0b", 3) == CString(L"a"));

    std::map<CString, int> map;
    map[L"b"] = 2;
    map[L"a"] = 1;
    map[L"B"] = 0;
    ASSERT_EQ(map.size(), 3u);
    EXPECT_EQ(map.begin()->first, CString(L"B"));
    EXPECT_EQ(map[CString(L"a")], 1);
}

TEST(String, Find)
{
    const CString s(L"a.pal.pal");
    struct Case { int nActual; int nExpected; } cases[] = {
        { s.Find(L'.'), 1 },
        { s.Find(L'.', 2), 5 },
        { s.Find(L'.', 9), -1 },           // from the end
        { s.Find(L'.', 50), -1 },          // past the end
        { s.Find(L'.', -1), -1 },
        { s.Find(L".pal"), 1 },
        { s.Find(L".pal", 2), 5 },
        { s.Find(L".pal", 6), -1 },
        { s.Find(L"", 9), 9 },
        { s.Find(L"", 10), -1 },
        { s.Find(L"x"), -1 },
        { s.Find(L"a.pal.pal.pal"), -1 },  // longer than the string
        { s.ReverseFind(L'.'), 5 },
        { s.ReverseFind(L'x'), -1 },
        { s.FindOneOf(L"lp"), 2 },
        { s.FindOneOf(L"xyz"), -1 },
        { s.FindOneOf(L""), -1 },
        { CString().Find(L""), 0 },
    };
    for (size_t i = 0; i < ARRAYSIZE(cases); ++i)
        EXPECT_EQ(cases[i].nActual, cases[i].nExpected) << "case " << i;
}

TEST(String, LeftMidRight)
{
    const CString s(L"abcdef");
    struct Case { CString strActual; LPCWSTR pszExpected; } cases[] = {
        { s.Left(2), L"ab" },
        { s.Left(0), L"" },
        { s.Left(-1), L"" },
        { s.Left(99), L"abcdef" },
        { s.Mid(2), L"cdef" },
        { s.Mid(6), L"" },
        { s.Mid(9), L"" },
        { s.Mid(-2), L"abcdef" },
        { s.Mid(1, 2), L"bc" },
        { s.Mid(4, 99), L"ef" },
        { s.Mid(2, -1), L"" },
        { s.Mid(9, 2), L"" },
        { s.Right(2), L"ef" },
        { s.Right(-3), L"" },
        { s.Right(99), L"abcdef" },
    };
    for (size_t i = 0; i < ARRAYSIZE(cases); ++i)
        EXPECT_EQ(cases[i].strActual, CString(cases[i].pszExpected)) << "case " << i;
}

TEST(String, ReplaceAndRemove)
{
    CString s(L"Plan_E.jpg_E.");
    EXPECT_EQ(s.Replace(L"_E.", L"_V."), 2);
    EXPECT_EQ(s, CString(L"Plan_V.jpg_V."));

    s = L"a.pal b.pal";
    EXPECT_EQ(s.Replace(L".pal", L""), 2);
    EXPECT_EQ(s, CString(L"a b"));

    s = L"aaa";
    EXPECT_EQ(s.Replace(L"aa", L"x"), 1);   // left to right, no overlap
    EXPECT_EQ(s, CString(L"xa"));

    s = L"aXa";
    EXPECT_EQ(s.Replace(L"a", L"aa"), 2);   // growing, not rescanning what was put in
    EXPECT_EQ(s, CString(L"aaXaa"));

    EXPECT_EQ(s.Replace(L"", L"z"), 0);
    EXPECT_EQ(s.Replace(L"q", L"z"), 0);
    EXPECT_EQ(s, CString(L"aaXaa"));

    EXPECT_EQ(s.Replace(L'a', L'b'), 4);
    EXPECT_EQ(s, CString(L"bbXbb"));
    EXPECT_EQ(s.Replace(L'b', L'b'), 0);

    s = L"Glass-Opal-1";
    EXPECT_EQ(s.Remove(L'-'), 2);
    EXPECT_EQ(s, CString(L"GlassOpal1"));
    EXPECT_EQ(s.Remove(L'-'), 0);
}

TEST(String, InsertAndDeleteAtTheBounds)
{
    CString s(L"bc");
    EXPECT_EQ(s.Insert(-5, L'a'), 3);
    EXPECT_EQ(s.Insert(99, L"de"), 5);
    EXPECT_EQ(s.Insert(2, L"_"), 6);
    EXPECT_EQ(s.Insert(1, L""), 6);
    EXPECT_EQ(s, CString(L"ab_cde"));
    EXPECT_EQ(s.Insert(0, s), 12);          // its own text
    EXPECT_EQ(s, CString(L"ab_cdeab_cde"));

    s = L"abcdef";
    EXPECT_EQ(s.Delete(-1), 5);             // from 0
    EXPECT_EQ(s.Delete(3, 99), 3);          // up to the end
    EXPECT_EQ(s.Delete(9, 2), 3);           // past the end: nothing
    EXPECT_EQ(s.Delete(1, 0), 3);
    EXPECT_EQ(s.Delete(1, -2), 3);
    EXPECT_EQ(s, CString(L"bcd"));
}

TEST(String, Trim)
{
    CString s(L" \t\r\n ");
    EXPECT_TRUE(s.Trim().IsEmpty());

    s = L"  a b \r\n";
    EXPECT_EQ(CString(s).TrimLeft(), CString(L"a b \r\n"));
    EXPECT_EQ(CString(s).TrimRight(), CString(L"  a b"));
    EXPECT_EQ(s.Trim(), CString(L"a b"));

    s = L"xxaxx";
    EXPECT_EQ(CString(s).Trim(L'x'), CString(L"a"));
    EXPECT_EQ(CString(s).TrimLeft(L'x'), CString(L"axx"));
    s = L"-+a+-";
    EXPECT_EQ(CString(s).Trim(L"+-"), CString(L"a"));
    EXPECT_EQ(CString(s).TrimRight(L"+-"), CString(L"-+a"));
    EXPECT_EQ(CString(s).Trim(L""), s);
}

TEST(String, CaseConversion)
{
    CString s(L"Caf\x00E9 Glass");
    EXPECT_EQ(CString(s).MakeUpper(), CString(L"CAF\x00C9 GLASS"));
    EXPECT_EQ(s.MakeLower(), CString(L"caf\x00E9 glass"));
    EXPECT_TRUE(CString().MakeUpper().IsEmpty());
}

TEST(String, Tokenize)
{
    const CString s(L",a,,b;c;");
    int iStart = 0;
    EXPECT_EQ(s.Tokenize(L",;", iStart), CString(L"a"));
    EXPECT_EQ(s.Tokenize(L",;", iStart), CString(L"b"));
    EXPECT_EQ(s.Tokenize(L",;", iStart), CString(L"c"));
    EXPECT_NE(iStart, -1);
    EXPECT_TRUE(s.Tokenize(L",;", iStart).IsEmpty());
    EXPECT_EQ(iStart, -1);

    // Without delimiters the rest is one token, and then it ends.
    iStart = 2;
    EXPECT_EQ(s.Tokenize(L"", iStart), CString(L",,b;c;"));
    EXPECT_TRUE(s.Tokenize(L"", iStart).IsEmpty());
    EXPECT_EQ(iStart, -1);
}

TEST(String, CharacterAccess)
{
    CString s(L"abc");
    EXPECT_EQ(s[1], L'b');
    EXPECT_EQ(s.GetAt(3), 0);               // the terminator
    s.SetAt(0, L'x');
    EXPECT_EQ(s, CString(L"xbc"));

    int nThrown = 0;
    for (int nIndex : { -1, 4 })
    {
        try
        {
            s.GetAt(nIndex);
        }
        catch (CInvalidArgException* e)
        {
            ++nThrown;
            e->Delete();
        }
    }
    try
    {
        s.SetAt(3, L'y');
    }
    catch (CInvalidArgException* e)
    {
        ++nThrown;
        e->Delete();
    }
    EXPECT_EQ(nThrown, 3);
}

TEST(String, GetBufferAndReleaseBuffer)
{
    CString s;
    LPWSTR p = s.GetBuffer(10);
    lstrcpyW(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s, CString(L"hello"));

    p = s.GetBuffer(3);                     // keeps the contents
    EXPECT_EQ(p[4], L'o');
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, CString(L"hel"));

    p = s.GetBufferSetLength(5);
    p[3] = L'p';
    p[4] = L'!';
    s.ReleaseBuffer(5);
    EXPECT_EQ(s, CString(L"help!"));

    // Win32 fills the buffer and the length is the text up to the null.
    p = s.GetBuffer(MAX_PATH);
    GetWindowsDirectoryW(p, MAX_PATH);
    s.ReleaseBuffer(-1);
    EXPECT_EQ(s.GetLength(), lstrlenW(s.GetString()));
    EXPECT_GT(s.GetLength(), 2);

    CString strEmpty;
    strEmpty.GetBuffer(0)[0] = 0;
    strEmpty.ReleaseBuffer();
    EXPECT_TRUE(strEmpty.IsEmpty());
}

TEST(String, LoadString)
{
    CString s(L"unchanged");
    EXPECT_TRUE(s.LoadString(IDR_MAINFRAME));
    EXPECT_EQ(s, CString(L"\n\n\nMosaic Files  (*.ms2)\n.ms2\n\nMS2.image\nMS2 image\n"));

    s = L"unchanged";
    EXPECT_FALSE(s.LoadString(IDR_MAINFRAME + 1));
    EXPECT_EQ(s, CString(L"unchanged"));

    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(NULL));
    EXPECT_TRUE(s.LoadString(AfxGetInstanceHandle(), IDR_MAINFRAME));
}

TEST(String, LoadStringTakesTheResourceLanguageAndLendsWhatATranslationLacks)
{
    // The test resources' block in English and in French, the English one without the
    // second string.
    const UINT nTranslated = 32530, nFrenchOnly = 32531;
    const struct
    {
        LANGID wLanguage;
        LPCWSTR lpszTranslated;
    } languages[] = {
        {kEnglishResources, L"Translated"},
        {kFrenchResources, L"Traduit"},
    };
    for (const auto& language : languages)
    {
        CResourceLanguage chosen(language.wLanguage);
        CString s;
        EXPECT_TRUE(s.LoadString(nTranslated));
        EXPECT_EQ(s, CString(language.lpszTranslated));
        EXPECT_TRUE(s.LoadString(nFrenchOnly));
        EXPECT_EQ(s, CString(L"Seulement en français"));
        // A string no language has leaves the text alone.
        s = L"unchanged";
        EXPECT_FALSE(s.LoadString(nFrenchOnly + 1));
        EXPECT_EQ(s, CString(L"unchanged"));
    }
    // Without a language of its own the framework takes what the system chooses: one of them.
    CResourceLanguage neutral(LANG_NEUTRAL);
    CString s;
    EXPECT_TRUE(s.LoadString(nTranslated));
    EXPECT_TRUE(s == L"Translated" || s == L"Traduit") << CStringA(s).GetString();
    EXPECT_TRUE(s.LoadString(nFrenchOnly));
}

TEST(StringA, NarrowString)
{
    CStringA s("abc");
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(CStringA(L"abc"), s);
    EXPECT_EQ(s + "d" + CStringA("e") + 'f', CStringA("abcdef"));
    EXPECT_LT(s.Compare("abd"), 0);
    EXPECT_TRUE(s == "abc");
    EXPECT_TRUE(CStringA((LPCSTR)NULL).IsEmpty());

    LPSTR p = s.GetBuffer(8);
    lstrcpyA(p, "xyz12");
    s.ReleaseBuffer();
    EXPECT_EQ(s, CStringA("xyz12"));
    EXPECT_EQ(CString(s), CString(L"xyz12"));
}

TEST(StringConversion, CodePageHelpers)
{
    const CString strCafe(L"caf\x00E9");
    EXPECT_EQ(CStringA(CW2A(strCafe, CP_UTF8)), CStringA("caf\xC3\xA9"));
    EXPECT_EQ(CString(CA2W("caf\xC3\xA9", CP_UTF8)), strCafe);
    EXPECT_EQ(CString(CT2W(strCafe)), strCafe);
    EXPECT_EQ(CStringA(CT2A(L"plain")), CStringA("plain"));
    EXPECT_EQ(CString(CA2T("plain")), CString(L"plain"));

    EXPECT_EQ((LPSTR)CW2A(NULL), (LPSTR)NULL);
    EXPECT_EQ((LPWSTR)CA2W(NULL), (LPWSTR)NULL);
    EXPECT_STREQ(CW2A(L""), "");
}

} // namespace
