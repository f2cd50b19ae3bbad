#include "MosaicTest.h"

#include "AfxStdioFile.h"

#include <string>
#include <vector>

namespace {

// A unique file name in the temporary folder, removed at the end.
class TempFile
{
public:
    TempFile()
    {
        static int s_nCount = 0;
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strPath.Format(L"%sMosaicStdioTest-%u-%d.txt", (LPCWSTR)szTemp,
                         (UINT)GetCurrentProcessId(), ++s_nCount);
    }
    ~TempFile() { DeleteFileW(m_strPath); }

    operator LPCTSTR() const { return m_strPath; }

    std::string Bytes() const
    {
        std::string bytes;
        HANDLE h = CreateFileW(m_strPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return bytes;
        char buf[65536];
        DWORD dwRead;
        while (ReadFile(h, buf, sizeof(buf), &dwRead, NULL) && dwRead > 0)
            bytes.append(buf, dwRead);
        CloseHandle(h);
        return bytes;
    }

    void SetBytes(const std::string& bytes) const
    {
        HANDLE h = CreateFileW(m_strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD dwWritten;
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL);
        CloseHandle(h);
    }

private:
    CString m_strPath;
};

std::vector<CString> ReadAllLines(CStdioFile& file)
{
    std::vector<CString> lines;
    CString strLine;
    while (file.ReadString(strLine))
        lines.push_back(strLine);
    return lines;
}

std::string Utf16Bytes(LPCWSTR lpsz)
{
    return std::string((const char*)lpsz, (size_t)lstrlenW(lpsz) * sizeof(WCHAR));
}

// ---------------------------------------------------------------------------------------
// Text mode

TEST(StdioFile, TextModeWritesAnsiWithCrLfAndReadsItBack)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the expected bytes are those of code page 1252";
    TempFile temp;
    {
        CStdioFile file(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString(L"first\n");
        file.WriteString(L"caf\u00e9 cr\u00e8me\n\n");
        file.WriteString(L"last without newline");
    }
    EXPECT_EQ(temp.Bytes(), "first\r\ncaf\xe9 cr\xe8me\r\n\r\nlast without newline");

    CStdioFile file(temp, CFile::modeRead | CFile::typeText);
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], CString(L"first"));
    EXPECT_EQ(lines[1], CString(L"caf\u00e9 cr\u00e8me"));
    EXPECT_EQ(lines[2], CString());
    EXPECT_EQ(lines[3], CString(L"last without newline"));

    CString strAfter(L"unchanged?");
    EXPECT_FALSE(file.ReadString(strAfter));
    EXPECT_EQ(strAfter, CString());
}

TEST(StdioFile, TextModeReadingAcceptsLfAndKeepsLoneCr)
{
    TempFile temp;
    temp.SetBytes("unix\nmixed\r\nlone\rcr\n\r\n");
    CStdioFile file(temp, CFile::modeRead);     // text is the default
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], CString(L"unix"));
    EXPECT_EQ(lines[1], CString(L"mixed"));
    EXPECT_EQ(lines[2], CString(L"lone\rcr"));
    EXPECT_EQ(lines[3], CString());
}

TEST(StdioFile, CharactersOutsideTheCodePageBecomeItsDefault)
{
    TempFile temp;
    {
        CStdioFile file(temp, CFile::modeCreate | CFile::modeWrite);
        file.WriteString(L"\u03a9mega\n");
    }
    EXPECT_EQ(temp.Bytes(), "?mega\r\n");
}

TEST(StdioFile, ReadStringIntoBufferKeepsLineFeedAndSplitsLongLines)
{
    TempFile temp;
    temp.SetBytes("abcdef\r\nxy\r\nend");
    CStdioFile file(temp, CFile::modeRead | CFile::typeText);
    WCHAR buf[4];
    const LPCWSTR expected[] = {L"abc", L"def", L"\n", L"xy\n", L"end"};
    for (LPCWSTR lpszExpected : expected)
    {
        ASSERT_EQ(file.ReadString(buf, 4), buf);
        EXPECT_EQ(CString(buf), CString(lpszExpected));
    }
    EXPECT_EQ(file.ReadString(buf, 4), nullptr);
}

TEST(StdioFile, ManyLinesAcrossBufferBoundaries)
{
    // Lines of every length from 0 to 99, so that CR LF pairs fall on each side of every
    // buffer boundary.
    TempFile temp;
    std::vector<CString> written;
    {
        CStdioFile file(temp, CFile::modeCreate | CFile::modeWrite);
        for (int i = 0; i < 20000; ++i)
        {
            CString strLine((WCHAR)(L'a' + i % 26), i % 100);
            written.push_back(strLine);
            file.WriteString(strLine + L"\n");
        }
    }
    const size_t nSize = temp.Bytes().size();
    CStdioFile file(temp, CFile::modeRead);
    EXPECT_EQ(file.GetLength(), nSize);
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_EQ(lines.size(), written.size());
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i] != written[i])
        {
            ADD_FAILURE() << "line " << i << " differs";
            break;
        }
    }
    EXPECT_EQ(file.GetPosition(), file.GetLength());
}

TEST(StdioFile, ReadStringAGivesLineBytesWithinTheLimit)
{
    TempFile temp;
    std::string longLine(5000, 'x');
    temp.SetBytes(longLine + "\r\n\xe9t\xe9\r\nend");
    CStdioFile file(temp, CFile::modeRead | CFile::typeText);
    char buf[4096];
    ASSERT_NE(file.ReadStringA(buf, sizeof(buf)), nullptr);
    EXPECT_EQ(std::string(buf), std::string(4095, 'x'));
    ASSERT_NE(file.ReadStringA(buf, sizeof(buf)), nullptr);
    EXPECT_EQ(std::string(buf), std::string(905, 'x') + "\n");
    ASSERT_NE(file.ReadStringA(buf, sizeof(buf)), nullptr);
    EXPECT_EQ(std::string(buf), "\xe9t\xe9\n");
    ASSERT_NE(file.ReadStringA(buf, sizeof(buf)), nullptr);
    EXPECT_EQ(std::string(buf), "end");
    EXPECT_EQ(file.ReadStringA(buf, sizeof(buf)), nullptr);
}

// ---------------------------------------------------------------------------------------
// Binary mode: UTF-16 as it is

TEST(StdioFile, BinaryModeWritesAndReadsRawUtf16)
{
    TempFile temp;
    {
        CStdioFile file(temp, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(L"\xfeff\u03a9 one\r\n");
        file.WriteString(L"\u4e2d two\n");
        file.WriteString(L"three");
    }
    EXPECT_EQ(temp.Bytes(), Utf16Bytes(L"\xfeff\u03a9 one\r\n\u4e2d two\nthree"));

    CStdioFile file(temp, CFile::modeRead | CFile::typeBinary);
    std::vector<CString> lines = ReadAllLines(file);
    ASSERT_EQ(lines.size(), 3u);
    // Only the line feed goes: the byte-order mark and the CR are the caller's to handle.
    EXPECT_EQ(lines[0], CString(L"\xfeff\u03a9 one\r"));
    EXPECT_EQ(lines[1], CString(L"\u4e2d two"));
    EXPECT_EQ(lines[2], CString(L"three"));

    file.SeekToBegin();
    WCHAR buf[5];
    ASSERT_NE(file.ReadString(buf, 5), nullptr);
    EXPECT_EQ(CString(buf), CString(L"\xfeff\u03a9 o"));
    file.Seek(2, CFile::begin);
    CString strLine;
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(strLine, CString(L"\u03a9 one\r"));
}

TEST(StdioFile, BinaryModeDropsATrailingOddByte)
{
    TempFile temp;
    temp.SetBytes(Utf16Bytes(L"ab") + "x");
    CStdioFile file(temp, CFile::modeRead | CFile::typeBinary);
    CString strLine;
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(strLine, CString(L"ab"));
    EXPECT_FALSE(file.ReadString(strLine));
}

// ---------------------------------------------------------------------------------------
// Positions, mixed reading and writing, closing

TEST(StdioFile, PositionFollowsWhatWasReadAndWritten)
{
    TempFile temp;
    temp.SetBytes("one\r\ntwo\r\nthree\r\n");
    {
        CStdioFile file(temp, CFile::modeReadWrite | CFile::typeText);
        CString strLine;
        ASSERT_TRUE(file.ReadString(strLine));
        EXPECT_EQ(file.GetPosition(), 5u);

        // Writing goes where reading stopped, not where the read-ahead left the handle.
        file.WriteString(L"TWO");
        EXPECT_EQ(file.GetPosition(), 8u);
        ASSERT_TRUE(file.ReadString(strLine));
        EXPECT_EQ(strLine, CString());

        file.SeekToEnd();
        file.WriteString(L"four\n");
        EXPECT_EQ(file.GetLength(), 23u);          // counts what is still buffered

        file.SeekToBegin();
        std::vector<CString> lines = ReadAllLines(file);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[1], CString(L"TWO"));
        EXPECT_EQ(lines[3], CString(L"four"));
    }
    EXPECT_EQ(temp.Bytes(), "one\r\nTWO\r\nthree\r\nfour\r\n");
}

TEST(StdioFile, ReadAndWriteTranslateLineEndsInTextModeOnly)
{
    TempFile temp;
    {
        CStdioFile file(temp, CFile::modeCreate | CFile::modeReadWrite);
        file.Write("a\nb", 3);
        file.SeekToBegin();
        char buf[8] = {};
        EXPECT_EQ(file.Read(buf, sizeof(buf)), 3u);
        EXPECT_EQ(std::string(buf, 3), "a\nb");
    }
    EXPECT_EQ(temp.Bytes(), "a\r\nb");

    CStdioFile file(temp, CFile::modeRead | CFile::typeBinary);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 4u);
    EXPECT_EQ(std::string(buf, 4), "a\r\nb");
}

TEST(StdioFile, FlushAndCloseWriteTheBufferAndCloseEmptiesTheName)
{
    TempFile temp;
    CStdioFile file;
    ASSERT_TRUE(file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone
                                    | CFile::typeText));
    file.WriteString(L"pending\n");
    EXPECT_EQ(temp.Bytes(), "");
    file.Flush();
    EXPECT_EQ(temp.Bytes(), "pending\r\n");
    file.WriteString(L"more");
    file.Close();
    EXPECT_EQ(temp.Bytes(), "pending\r\nmore");
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(file.GetFilePath(), CString());

    // The same object opens again.
    ASSERT_TRUE(file.Open(temp, CFile::modeRead));
    CString strLine;
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(strLine, CString(L"pending"));
}

TEST(StdioFile, OpenFailuresAsForCFile)
{
    TempFile temp;
    CStdioFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(temp, CFile::modeRead | CFile::typeText, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_strFileName, CString(temp));

    int nCause = -1;
    try
    {
        CStdioFile thrown(temp, CFile::modeRead);
    }
    catch (CFileException* pe)
    {
        nCause = pe->m_cause;
        pe->Delete();
    }
    EXPECT_EQ(nCause, CFileException::fileNotFound);
}

} // namespace
