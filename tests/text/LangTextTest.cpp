#include "MosaicTest.h"

#include <string>
#include <vector>

#include "AfxResource.h"
#include "LangText.h"
#include "TextTestFiles.h"

namespace
{
std::string Utf8(LPCWSTR lpsz)
{
    return std::string(CW2A(lpsz, CP_UTF8));
}

CString ReadRawLanguageValue(LPCWSTR lpszKey)
{
    WCHAR szValue[64] = {0};
    DWORD dwSize = sizeof(szValue) - sizeof(WCHAR);
    if (RegGetValueW(HKEY_CURRENT_USER, lpszKey, L"ThreadLocal", RRF_RT_REG_SZ, NULL, szValue,
                     &dwSize) != ERROR_SUCCESS)
        return L"<none>";
    return szValue;
}

void SetRawLanguageValue(LPCWSTR lpszValue)
{
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orbalith", 0, NULL,
                                             0, KEY_ALL_ACCESS, NULL, &hKey, NULL));
    if (lpszValue == NULL)
        RegDeleteValueW(hKey, L"ThreadLocal");
    else
        RegSetValueExW(hKey, L"ThreadLocal", 0, REG_SZ, (const BYTE*)lpszValue,
                       (DWORD)(lstrlenW(lpszValue) + 1) * sizeof(WCHAR));
    RegCloseKey(hKey);
}

// Language files in a folder of their own, the language value put back afterwards.
class LangTextTest : public testing::Test
{
protected:
    LangTextTest() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        SetLangTextFolder(m_folder.Folder());
        UseLanguage(0x40C);
    }

    void TearDown() override { SetLangTextFolder(L""); }

    void UseLanguage(int nLanguageId)
    {
        ASSERT_TRUE(WriteLanguageId(nLanguageId));
        ClearLangTexts();
    }

    // Lines joined with CR LF, as the language files hold them.
    static CString Lines(std::initializer_list<LPCWSTR> lines)
    {
        CString strText;
        for (LPCWSTR lpszLine : lines)
            strText += CString(lpszLine) + L"\r\n";
        return strText;
    }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CTempFolder m_folder;
};
}

TEST_F(LangTextTest, ChosenFileIsMergedWithTheEnglishOneBetweenItsNumbers)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil",
                        Lines({L"31010;Dix", L"31030;Trente", L"31050;Cinquante"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil",
                        Lines({L"31005;Five", L"31010;Ten", L"31020;Twenty", L"31025;Twenty-five",
                               L"31030;Thirty", L"31040;Forty", L"31060;Sixty"}));
    struct Case
    {
        UINT nId;
        LPCWSTR lpszText;
    };
    const Case cases[] = {
        {31005, L"Five"},          // before the chosen file's first number
        {31010, L"Dix"},           // both files: the chosen one wins
        {31020, L"Twenty"},        // gaps between chosen numbers come from English
        {31025, L"Twenty-five"},
        {31030, L"Trente"},
        {31040, L"Forty"},
        {31050, L"Cinquante"},
        {31060, L""},              // after the chosen file's last number: not merged
        {31001, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.lpszText), GetLangText(c.nId)) << c.nId;
}

TEST_F(LangTextTest, MissingNumberFallsBackToTheStringTable)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"10;Fichier"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil", Lines({L"10;File", L"86;Textured"}));
    CString strResource;
    ASSERT_TRUE(strResource.LoadString(86));
    EXPECT_FALSE(strResource.IsEmpty());
    EXPECT_EQ(strResource, GetLangText(86));
    EXPECT_EQ(CString(L"Fichier"), GetLangText(10));
}

TEST_F(LangTextTest, EscapesAndAliasesAreResolved)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil",
                        Lines({L"31001;a\\nb\\rc\\td", L"31002;back\\\\slash",
                               L"31003;\\\\n", L"31004;##31001", L"31005;x##31001",
                               L"31006;a;b;c", L"31007;##31004", L"31008;##31009",
                               L"31009;##31008", L"31010;##31010", L"31011;##", L"31012;"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil", Lines({L"31001;English"}));
    struct Case
    {
        UINT nId;
        LPCWSTR lpszText;
    };
    const Case cases[] = {
        {31001, L"a\nb\rc\td"},
        {31002, L"back\\slash"},
        {31003, L"\\\n"},          // "\n" is replaced before "\\"
        {31004, L"a\nb\rc\td"},
        {31005, L"x##31001"},
        {31006, L"a;b;c"},
        {31007, L"a\nb\rc\td"},    // an alias of an alias
        {31008, L""},              // loops end with an empty text
        {31010, L""},
        {31011, L""},
        {31012, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.lpszText), GetLangText(c.nId)) << c.nId;
}

TEST_F(LangTextTest, BadLinesAreSkipped)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil",
                        Lines({L"no separator", L"", L"0;zero", L"abc;letters", L"-5;negative",
                               L"  31002;blanks before", L"31003x;trailing letters",
                               L"31001;out of order", L"31003;repeated", L"40000;too large",
                               L"31004;last"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil",
                        Lines({L"-3;bad", L"junk", L"31001;One", L"31002;Two", L"31004;Four"}));
    EXPECT_EQ(CString(L"One"), GetLangText(31001));
    EXPECT_EQ(CString(L"blanks before"), GetLangText(31002));
    EXPECT_EQ(CString(L"trailing letters"), GetLangText(31003));
    EXPECT_EQ(CString(L"last"), GetLangText(31004));
    EXPECT_EQ(CString(L""), GetLangText(0));
}

TEST_F(LangTextTest, UnsortedEnglishFileCannotBreakTheSearch)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;Un", L"31009;Neuf"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil",
                        Lines({L"31005;Five", L"31003;Three", L"31007;Seven"}));
    EXPECT_EQ(CString(L"Five"), GetLangText(31005));
    EXPECT_EQ(CString(L"Seven"), GetLangText(31007));
    EXPECT_EQ(CString(L"Neuf"), GetLangText(31009));
    EXPECT_EQ(CString(L"Un"), GetLangText(31001));
}

TEST_F(LangTextTest, AnsiAndUtf16FilesAreBothRead)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil",
                        Lines({L"31001;Mosa\x00EFque \x00E9t\x00E9", L"31003;\x4E2D\x6587"}));
    m_folder.WriteAnsi(L"Text_Mosaic-409.fil", Lines({L"31002;Caf\x00E9", L"31003;Chinese"}));
    EXPECT_EQ(CString(L"Mosa\x00EFque \x00E9t\x00E9"), GetLangText(31001));
    EXPECT_EQ(CString(L"Caf\x00E9"), GetLangText(31002));
    EXPECT_EQ(CString(L"\x4E2D\x6587"), GetLangText(31003));

    // The English file read alone, in 8 bits.
    UseLanguage(0x409);
    EXPECT_EQ(CString(L"Chinese"), GetLangText(31003));
}

TEST_F(LangTextTest, LargeNumbersDoNotLoadTheTable)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;avant"}));
    EXPECT_EQ(CString(L""), GetLangText(32001));
    EXPECT_EQ(CString(L""), GetLangText(0xFFFFFFFFu));
    // Had the lookups above loaded the table, the old text would still show.
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;apr\x00E8s"}));
    EXPECT_EQ(CString(L"apr\x00E8s"), GetLangText(31001));
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;encore"}));
    EXPECT_EQ(CString(L"apr\x00E8s"), GetLangText(31001));
    ClearLangTexts();
    EXPECT_EQ(CString(L"encore"), GetLangText(31001));
}

TEST_F(LangTextTest, MissingEnglishFileKeepsTheChosenTexts)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;Un", L"31003;Trois"}));
    CMessageBoxCatcher boxes;
    EXPECT_EQ(CString(L"Un"), GetLangText(31001));
    EXPECT_EQ(CString(L"Trois"), GetLangText(31003));
    EXPECT_EQ(CString(L""), GetLangText(31002));
    EXPECT_EQ(0, boxes.Count());
}

TEST_F(LangTextTest, NoFileAtAllIsReportedOnceAndFallsBackToTheStringTable)
{
    CMessageBoxCatcher boxes;
    CString strResource;
    ASSERT_TRUE(strResource.LoadString(86));
    EXPECT_EQ(strResource, GetLangText(86));
    EXPECT_EQ(CString(L""), GetLangText(31001));
    EXPECT_EQ(1, boxes.Count());

    // Only a new load, after the table is cleared, tries (and reports) again.
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil", Lines({L"31001;One"}));
    EXPECT_EQ(CString(L""), GetLangText(31001));
    ClearLangTexts();
    EXPECT_EQ(CString(L"One"), GetLangText(31001));
    EXPECT_EQ(1, boxes.Count());
}

TEST_F(LangTextTest, FileChoiceFollowsTheLanguageId)
{
    struct Case
    {
        std::vector<LPCWSTR> files;
        int nLanguageId;
        LPCWSTR lpszChosen;
    };
    const Case cases[] = {
        {{L"40C", L"409"}, 1036, L"40C"},
        {{L"LOC", L"40C", L"409"}, 1036, L"LOC"},          // the LOC file overrides the id
        {{L"409"}, 1036, L"409"},
        {{}, 1036, L"409"},                                // named even though it is missing
        {{L"404", L"409"}, 2052, L"404"},                  // primary language of 0x804
        {{L"804", L"404", L"409"}, 2052, L"804"},
        {{L"40A", L"409"}, 2058, L"40A"},
        {{L"180", L"409"}, 384, L"180"},
        {{L"40C", L"409"}, 0x100C, L"40C"},
        // Ids up to 1279 have no primary-language step: 0x40C is not tried for 0x4FF.
        {{L"40C", L"409"}, 0x4FF, L"409"},
    };
    for (const Case& c : cases)
    {
        CTempFolder folder;
        for (LPCWSTR lpszSuffix : c.files)
            folder.WriteBytes(CString(L"Text_Mosaic-") + lpszSuffix + L".fil", "1;x\r\n");
        EXPECT_EQ(folder.Path(CString(L"Text_Mosaic-") + c.lpszChosen + L".fil"),
                  GetLangTextFilePath(folder.Folder(), c.nLanguageId))
            << c.nLanguageId << " " << c.files.size();
    }
}

TEST_F(LangTextTest, RegistryLanguageChoosesTheFileUnlessLocIsThere)
{
    m_folder.WriteUtf16(L"Text_Mosaic-40C.fil", Lines({L"31001;Fran\x00E7" L"ais"}));
    m_folder.WriteUtf16(L"Text_Mosaic-410.fil", Lines({L"31001;Italiano"}));
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil", Lines({L"31001;English"}));
    EXPECT_EQ(CString(L"Fran\x00E7" L"ais"), GetLangText(31001));
    UseLanguage(1040);
    EXPECT_EQ(CString(L"Italiano"), GetLangText(31001));
    UseLanguage(1049);      // no Russian file
    EXPECT_EQ(CString(L"English"), GetLangText(31001));

    m_folder.WriteUtf16(L"Text_Mosaic-LOC.fil", Lines({L"31001;Local"}));
    UseLanguage(1040);
    EXPECT_EQ(CString(L"Local"), GetLangText(31001));
}

TEST_F(LangTextTest, LoadingTheTextsGivesTheFrameworkTheirLanguageOrElseEnglish)
{
    m_folder.WriteUtf16(L"Text_Mosaic-409.fil", Lines({L"31001;English"}));
    const struct
    {
        int nLanguageId;
        LANGID wResources;
    } cases[] = {
        {1036, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
        {0xC0C, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},   // French of Canada
        {1033, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
        {1031, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
        {384, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
    };
    for (const auto& c : cases)
    {
        UseLanguage(c.nLanguageId);
        AfxSetResourceLanguage(LANG_NEUTRAL);
        GetLangText(31001);
        EXPECT_EQ(c.wResources, AfxGetResourceLanguage()) << c.nLanguageId;
    }
}

TEST_F(LangTextTest, LanguageIdRoundTripsThroughTheRegistry)
{
    ASSERT_TRUE(WriteLanguageId(2052));
    EXPECT_EQ(2052, ReadLanguageId());
    EXPECT_EQ(0x404, GetPrimaryLanguageId());
    EXPECT_EQ(CString(L"804"), ReadRawLanguageValue(L"Software\\Orbalith"));
    EXPECT_EQ(CString(L"804"), ReadRawLanguageValue(L"Software\\Mosaic"));

    // Writing the value the old key already holds still changes what is read.
    SetRawLanguageValue(L"410");
    ASSERT_TRUE(WriteLanguageId(2052));
    EXPECT_EQ(2052, ReadLanguageId());

    const int nThread = (int)GetThreadLocale();
    struct Case
    {
        LPCWSTR lpszValue;
        int nExpected;
    };
    const Case cases[] = {
        {L"40c", 1036}, {L"40C", 1036}, {L" 0x410", 1040}, {L"180", 384},
        {L"409 trailing", 1033}, {L"0", nThread}, {L"", nThread}, {L"zz", nThread},
        {NULL, nThread},
    };
    for (const Case& c : cases)
    {
        SetRawLanguageValue(c.lpszValue);
        EXPECT_EQ(c.nExpected, ReadLanguageId()) << Utf8(c.lpszValue ? c.lpszValue : L"<none>");
    }
}

TEST(StrGetFieldTest, FieldsByIndex)
{
    struct Case
    {
        LPCWSTR lpszSource;
        int nIndex;
        LPCWSTR lpszSeparator;
        LPCWSTR lpszExpected;
    };
    const Case cases[] = {
        {L"12;Fichier;x", -2, L";", L"12"},
        {L"12;Fichier;x", -3, L";", L"Fichier;x"},
        {L"no separator", -2, L";", L""},
        {L"no separator", -3, L";", L""},
        {L"a, b, c", 0, L", ", L"a"},
        {L"a, b, c", 2, L", ", L"c"},
        {L"a, b, c", 3, L", ", L""},
        {L";;x", 1, L";", L""},
        {L";;x", 2, L";", L"x"},
        {L"plain", 0, L";", L"plain"},
        {L"plain", 0, L"", L"plain"},
        {L"plain", 1, L"", L""},
        {L"a1b2c3", -1, L"0123456789", L"123"},
        {L"abc", -1, L"", L""},
        {L"a;b", -4, L";", L""},
    };
    for (const Case& c : cases)
    {
        CString strField(L"previous");
        StrGetField(strField, c.lpszSource, c.nIndex, c.lpszSeparator);
        EXPECT_EQ(CString(c.lpszExpected), strField)
            << Utf8(c.lpszSource) << " " << c.nIndex;
    }
}

TEST(StrReplaceAllTest, ReplacesLeftToRightWithoutRescanning)
{
    struct Case
    {
        LPCWSTR lpszText;
        LPCWSTR lpszPattern;
        LPCWSTR lpszReplacement;
        LPCWSTR lpszExpected;
    };
    const Case cases[] = {
        {L"a-b-c", L"-", L"+", L"a+b+c"},
        {L"aaa", L"aa", L"b", L"ba"},
        {L"ab", L"a", L"aa", L"aab"},       // the replacement is not searched again
        {L"abc", L"x", L"y", L"abc"},
        {L"abc", L"", L"y", L"abc"},
        {L"abc", L"abc", L"", L""},
        {L"", L"a", L"b", L""},
    };
    for (const Case& c : cases)
    {
        CString strText(c.lpszText);
        StrReplaceAll(strText, c.lpszPattern, c.lpszReplacement);
        EXPECT_EQ(CString(c.lpszExpected), strText) << Utf8(c.lpszText);
    }
}
