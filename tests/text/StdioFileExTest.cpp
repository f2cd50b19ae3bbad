#include "MosaicTest.h"

#include <string>
#include <vector>

#include "TextTestFiles.h"
#include "resource.h"
#include "StdioFileEx.h"

namespace
{
const UINT kReadText = CFile::modeRead | CFile::shareDenyNone | CFile::typeText;

std::vector<CString> ReadAllLines(const CString& strPath, BOOL* pbUnicode = NULL)
{
    std::vector<CString> lines;
    CStdioFileEx file(strPath, kReadText);
    if (pbUnicode != NULL)
        *pbUnicode = file.IsFileUnicodeText();
    CString strLine;
    while (file.ReadString(strLine))
        lines.push_back(strLine);
    file.Close();
    return lines;
}
}

TEST(StdioFileExTest, Utf16FileLinesComeBackWithoutSignOrLineEnds)
{
    CTempFolder folder;
    folder.WriteUtf16(L"u.fil", CString(L"10;caf\x00E9 \x4E2D\r\n") + L"\r\n" +
                                    L"mixed\n" + L"cr only\r" + L"\x010A;last");
    EXPECT_TRUE(CStdioFileEx::IsFileUnicode(folder.Path(L"u.fil")));

    BOOL bUnicode = FALSE;
    std::vector<CString> lines = ReadAllLines(folder.Path(L"u.fil"), &bUnicode);
    EXPECT_TRUE(bUnicode);
    // A lone CR does not end a line: it is removed only at the end of one.
    std::vector<CString> expected = {L"10;caf\x00E9 \x4E2D", L"", L"mixed", L"cr only\r\x010A;last"};
    EXPECT_EQ(expected, lines);
}

TEST(StdioFileExTest, AnsiFileLinesAreConvertedFromTheCodePage)
{
    CTempFolder folder;
    folder.WriteAnsi(L"a.fil", L"20;d\x00E9j\x00E0\r\n\r\nunix\nlast");
    EXPECT_FALSE(CStdioFileEx::IsFileUnicode(folder.Path(L"a.fil")));

    BOOL bUnicode = TRUE;
    std::vector<CString> lines = ReadAllLines(folder.Path(L"a.fil"), &bUnicode);
    EXPECT_FALSE(bUnicode);
    std::vector<CString> expected = {L"20;d\x00E9j\x00E0", L"", L"unix", L"last"};
    EXPECT_EQ(expected, lines);
}

TEST(StdioFileExTest, LongAnsiLineComesBackInTwoParts)
{
    CTempFolder folder;
    folder.WriteBytes(L"long.fil", std::string(5000, 'x') + "\r\nend");
    std::vector<CString> lines = ReadAllLines(folder.Path(L"long.fil"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(4095, lines[0].GetLength());
    EXPECT_EQ(905, lines[1].GetLength());
    EXPECT_EQ(CString(L"end"), lines[2]);
}

TEST(StdioFileExTest, LineThatConvertsToNothingIsEmptyNotARepeat)
{
    CTempFolder folder;
    folder.WriteBytes(L"zero.fil", std::string("first\r\n\0hidden\r\nthird", 21));
    std::vector<CString> expected = {L"first", L"", L"third"};
    EXPECT_EQ(expected, ReadAllLines(folder.Path(L"zero.fil")));
}

TEST(StdioFileExTest, EmptyFilesAndSignOnlyFilesHaveNoLines)
{
    CTempFolder folder;
    folder.WriteBytes(L"empty.fil", "");
    folder.WriteBytes(L"sign.fil", "\xFF\xFE");
    EXPECT_TRUE(ReadAllLines(folder.Path(L"empty.fil")).empty());
    EXPECT_TRUE(ReadAllLines(folder.Path(L"sign.fil")).empty());
    EXPECT_FALSE(CStdioFileEx::IsFileUnicode(folder.Path(L"empty.fil")));
}

TEST(StdioFileExTest, OnlyTextReadingLooksForTheSign)
{
    CTempFolder folder;
    folder.WriteUtf16(L"u.fil", L"x");
    struct Case
    {
        UINT nFlags;
        BOOL bUnicode;
    };
    const Case cases[] = {
        {CFile::modeRead | CFile::typeText, TRUE},
        {CFile::modeRead | CFile::typeBinary, FALSE},
        {CFile::modeWrite | CFile::modeNoTruncate | CFile::typeText, FALSE},
        {CFile::modeRead | CFile::modeCreate | CFile::modeNoTruncate | CFile::typeText, FALSE},
    };
    for (const Case& c : cases)
    {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(folder.Path(L"u.fil"), c.nFlags)) << c.nFlags;
        EXPECT_EQ(c.bUnicode, file.IsFileUnicodeText()) << c.nFlags;
        file.Close();
    }
    EXPECT_EQ(std::string("\xFF\xFEx\0", 4), folder.ReadBytes(L"u.fil"));
}

TEST(StdioFileExTest, MissingFileThrowsFromTheConstructorAndFailsOpen)
{
    CTempFolder folder;
    bool bThrown = false;
    try
    {
        CStdioFileEx file(folder.Path(L"none.fil"), kReadText);
    }
    catch (CFileException* e)
    {
        bThrown = e->m_cause == CFileException::fileNotFound;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);

    CStdioFileEx file;
    CFileException error;
    EXPECT_FALSE(file.Open(folder.Path(L"none.fil"), kReadText, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_FALSE(CStdioFileEx::IsFileUnicode(folder.Path(L"none.fil")));
}

TEST(StdioFileExTest, StringTableIdStandsForTheFileName)
{
    CTempFolder folder;
    CString strName;
    ASSERT_TRUE(strName.LoadString(IDS_NEW_DOCUMENT_NAME));
    folder.WriteAnsi(strName, L"from the table\r\n");
    WCHAR szPrevious[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, szPrevious);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Folder()));
    CString strLine;
    {
        CStdioFileEx file(MAKEINTRESOURCEW(IDS_NEW_DOCUMENT_NAME), kReadText);
        file.ReadString(strLine);
        file.Close();
    }
    SetCurrentDirectoryW(szPrevious);
    EXPECT_EQ(CString(L"from the table"), strLine);
}

TEST(StdioFileExTest, UnicodeWritingPutsOneSignAndKeepsEveryByte)
{
    CTempFolder folder;
    {
        // U+010A holds a 0x0A byte, which text-mode line-end translation would break.
        CStdioFileEx file(folder.Path(L"w.fil"), CFile::modeCreate | CFile::modeWrite |
                                                     CFile::typeText |
                                                     CStdioFileEx::modeWriteUnicode);
        file.WriteString(L"\x010A\r\n");
        file.WriteString(L"\x00E9");
        file.Close();
    }
    EXPECT_EQ(std::string("\xFF\xFE\x0A\x01\r\0\n\0\xE9\0", 10), folder.ReadBytes(L"w.fil"));
    std::vector<CString> expected = {L"\x010A", L"\x00E9"};
    EXPECT_EQ(expected, ReadAllLines(folder.Path(L"w.fil")));
}

TEST(StdioFileExTest, AnsiWritingReplacesWhatTheCodePageLacks)
{
    CTempFolder folder;
    {
        CStdioFileEx file(folder.Path(L"w.fil"),
                          CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString(L"a\x4E2D\x00E9\n");
        file.WriteString(L"");
        file.WriteString(L"b");
        file.Close();
    }
    std::string expected = "a#" + CTempFolder::ToAnsi(L"\x00E9") + "\r\nb";
    if (GetACP() == CP_UTF8)
        expected = "a\xE4\xB8\xAD\xC3\xA9\r\nb";
    EXPECT_EQ(expected, folder.ReadBytes(L"w.fil"));
}

TEST(StdioFileExTest, ConversionsRefuseMissingBuffersAndCountWithoutTerminator)
{
    char bytes[8];
    WCHAR chars[8];
    EXPECT_EQ(0, CStdioFileEx::WideToMultiByte(L"abc", bytes, 0, -1));
    EXPECT_EQ(0, CStdioFileEx::WideToMultiByte(NULL, bytes, 8, -1));
    EXPECT_EQ(0, CStdioFileEx::WideToMultiByte(L"abc", NULL, 8, -1));
    EXPECT_EQ(0, CStdioFileEx::MultiByteToWide(NULL, chars, 8, -1));
    EXPECT_EQ(0, CStdioFileEx::MultiByteToWide("abc", NULL, 8, -1));

    EXPECT_EQ(3, CStdioFileEx::WideToMultiByte(L"abc", bytes, 8, -1));
    EXPECT_EQ(std::string("abc"), std::string(bytes));
    EXPECT_EQ(4, CStdioFileEx::GetRequiredMultiByteLength(L"abc", -1));
    EXPECT_EQ(3, CStdioFileEx::MultiByteToWide("abc", chars, 8, -1));
    EXPECT_EQ(CString(L"abc"), CString(chars));

    // UTF-8 both ways.
    EXPECT_EQ(3, CStdioFileEx::WideToMultiByte(L"\x4E2D", bytes, 8, CP_UTF8));
    EXPECT_EQ(std::string("\xE4\xB8\xAD"), std::string(bytes));
    EXPECT_EQ(4, CStdioFileEx::GetRequiredMultiByteLength(L"\x4E2D", CP_UTF8));
    EXPECT_EQ(1, CStdioFileEx::MultiByteToWide("\xE4\xB8\xAD", chars, 8, CP_UTF8));
    EXPECT_EQ(CString(L"\x4E2D"), CString(chars));
}
