#include "MosaicTest.h"

#include "AfxFile.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <functional>
#include <string>

namespace {

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempFolder
{
public:
    TempFolder()
    {
        static int s_nCount = 0;
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strPath.Format(L"%sMosaicFileTest-%u-%d", (LPCWSTR)szTemp, (UINT)GetCurrentProcessId(),
                         ++s_nCount);
        CreateDirectoryW(m_strPath, NULL);
    }
    ~TempFolder() { RemoveTree(m_strPath); }

    CString operator/(LPCTSTR lpszName) const { return m_strPath + L"\\" + lpszName; }
    const CString& Path() const { return m_strPath; }

private:
    static void RemoveTree(const CString& strFolder)
    {
        WIN32_FIND_DATAW fd;
        HANDLE hFind = FindFirstFileW(strFolder + L"\\*", &fd);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            do
            {
                CString strName(fd.cFileName);
                if (strName == L"." || strName == L"..")
                    continue;
                CString strChild = strFolder + L"\\" + strName;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(strChild);
                else
                {
                    SetFileAttributesW(strChild, FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(strChild);
                }
            } while (FindNextFileW(hFind, &fd));
            FindClose(hFind);
        }
        RemoveDirectoryW(strFolder);
    }

    CString m_strPath;
};

std::string ReadAllBytes(LPCTSTR lpszPath)
{
    std::string bytes;
    HANDLE h = CreateFileW(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[4096];
    DWORD dwRead;
    while (ReadFile(h, buf, sizeof(buf), &dwRead, NULL) && dwRead > 0)
        bytes.append(buf, dwRead);
    CloseHandle(h);
    return bytes;
}

void WriteAllBytes(LPCTSTR lpszPath, const std::string& bytes)
{
    HANDLE h = CreateFileW(lpszPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD dwWritten;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL);
    CloseHandle(h);
}

struct Caught
{
    bool bThrown = false;
    int nCause = -1;
    LONG lOsError = 0;
    CString strFileName;
};

// Runs f and records the CFileException it throws, if any.
Caught CatchFileException(const std::function<void()>& f)
{
    Caught caught;
    try
    {
        f();
    }
    catch (CFileException* e)
    {
        caught.bThrown = true;
        caught.nCause = e->m_cause;
        caught.lOsError = e->m_lOsError;
        caught.strFileName = e->m_strFileName;
        e->Delete();
    }
    return caught;
}

bool Exists(LPCTSTR lpszPath)
{
    return GetFileAttributesW(lpszPath) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------------------------------
// Opening

TEST(File, OpenFailuresReportCauseErrorAndName)
{
    TempFolder temp;
    WriteAllBytes(temp / L"present.bin", "x");

    struct Case
    {
        CString strPath;
        UINT nFlags;
        int nCause;
    };
    const Case cases[] = {
        {temp / L"missing.bin", CFile::modeRead, CFileException::fileNotFound},
        {temp / L"no-folder\\missing.bin", CFile::modeRead, CFileException::badPath},
        {temp / L"no-folder\\new.bin", CFile::modeCreate | CFile::modeWrite,
         CFileException::badPath},
        {temp.Path(), CFile::modeCreate | CFile::modeWrite, CFileException::accessDenied},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CStringA(c.strPath).GetString());
        CFile file;
        CFileException e;
        EXPECT_FALSE(file.Open(c.strPath, c.nFlags, &e));
        EXPECT_EQ(e.m_cause, c.nCause);
        EXPECT_NE(e.m_lOsError, 0);
        EXPECT_EQ(e.m_strFileName, c.strPath);
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        EXPECT_EQ(file.GetFilePath(), CString());

        // Without an exception object the failure is only the result.
        EXPECT_FALSE(file.Open(c.strPath, c.nFlags));

        Caught caught = CatchFileException([&] { CFile thrown(c.strPath, c.nFlags); });
        EXPECT_TRUE(caught.bThrown);
        EXPECT_EQ(caught.nCause, c.nCause);
        EXPECT_EQ(caught.strFileName, c.strPath);
    }
}

TEST(File, ShareModesAreEnforced)
{
    TempFolder temp;
    CString strPath = temp / L"shared.bin";
    WriteAllBytes(strPath, "abc");

    CFile first;
    ASSERT_TRUE(first.Open(strPath, CFile::modeRead | CFile::shareDenyWrite));

    CFile reader;
    EXPECT_TRUE(reader.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
    reader.Close();

    CFile writer;
    CFileException e;
    EXPECT_FALSE(writer.Open(strPath, CFile::modeWrite | CFile::shareDenyNone, &e));
    EXPECT_EQ(e.m_cause, CFileException::sharingViolation);

    first.Close();
    {
        CFile exclusive(strPath, CFile::modeReadWrite | CFile::shareExclusive);
        EXPECT_FALSE(reader.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
    }
    // The destructor closed the exclusive file.
    EXPECT_TRUE(reader.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
}

TEST(File, CreateTruncatesUnlessNoTruncate)
{
    TempFolder temp;
    CString strPath = temp / L"existing.bin";
    WriteAllBytes(strPath, "0123456789");

    {
        CFile file(strPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 10u);
        file.Write("ab", 2);
    }
    EXPECT_EQ(ReadAllBytes(strPath), "ab23456789");

    {
        CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_EQ(ReadAllBytes(strPath), "");

    // modeNoTruncate still creates a missing file.
    CString strNew = temp / L"new.bin";
    CFile file(strNew, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    EXPECT_TRUE(Exists(strNew));
}

TEST(File, NamesOfTheOpenFile)
{
    TempFolder temp;
    CString strPath = temp / L"Plan.final.ms2";
    CFile file(strPath, CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(file.GetFilePath(), strPath);
    EXPECT_EQ(file.GetFileName(), CString(L"Plan.final.ms2"));
    EXPECT_EQ(file.GetFileTitle(), CString(L"Plan.final"));

    file.SetFilePath(L"C:\\x\\noext");
    EXPECT_EQ(file.GetFileName(), CString(L"noext"));
    EXPECT_EQ(file.GetFileTitle(), CString(L"noext"));

    file.Close();
    EXPECT_EQ(file.GetFilePath(), CString());
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(File, RelativeNameIsKeptAsFullPath)
{
    TempFolder temp;
    WCHAR szOld[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, szOld);
    ASSERT_TRUE(SetCurrentDirectoryW(temp.Path()));
    {
        CFile file(L"relative.bin", CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(file.GetFilePath(), temp / L"relative.bin");
    }
    SetCurrentDirectoryW(szOld);
}

// ---------------------------------------------------------------------------------------
// Reading, writing, positions

TEST(File, ReadWriteSeekLengthRoundTrip)
{
    TempFolder temp;
    CString strPath = temp / L"data.bin";
    CFile file(strPath, CFile::modeCreate | CFile::modeReadWrite);

    file.Write("Hello, mosaic", 13);
    EXPECT_EQ(file.GetPosition(), 13u);
    EXPECT_EQ(file.GetLength(), 13u);

    EXPECT_EQ(file.Seek(7, CFile::begin), 7u);
    char buf[32] = {};
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 6u);   // short read at the end
    EXPECT_STREQ(buf, "mosaic");
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 0u);

    EXPECT_EQ(file.Seek(-6, CFile::end), 7u);
    EXPECT_EQ(file.Seek(-2, CFile::current), 5u);
    EXPECT_EQ(file.Read(buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), ", ");

    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(file.SeekToEnd(), 13u);

    // Shrinking and growing move the position to the new end.
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    file.SetLength(8);
    EXPECT_EQ(file.GetLength(), 8u);

    // A write past the end fills the gap with zeros.
    file.Seek(10, CFile::begin);
    file.Write("!", 1);
    file.Flush();
    file.Close();
    EXPECT_EQ(ReadAllBytes(strPath), std::string("Hello\0\0\0\0\0!", 11));
}

TEST(File, ErrorsOfAnOpenFileThrow)
{
    TempFolder temp;
    CString strPath = temp / L"errors.bin";
    WriteAllBytes(strPath, "abc");

    CFile reader(strPath, CFile::modeRead | CFile::shareDenyNone);
    Caught caught = CatchFileException([&] { reader.Write("x", 1); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::accessDenied);
    EXPECT_EQ(caught.strFileName, strPath);

    caught = CatchFileException([&] { reader.Seek(-1, CFile::begin); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::badSeek);

    CFile writer(strPath, CFile::modeWrite | CFile::shareDenyNone);
    char buf[4];
    caught = CatchFileException([&] { writer.Read(buf, sizeof(buf)); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::accessDenied);
}

TEST(File, CloseAndAbortOnClosedOrAttachedFiles)
{
    TempFolder temp;
    CString strPath = temp / L"attached.bin";

    CFile closed;
    closed.Close();
    closed.Abort();
    EXPECT_EQ(closed.m_hFile, CFile::hFileNull);

    HANDLE h = CreateFileW(strPath, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile attached(h);
        attached.Write("xyz", 3);
        EXPECT_EQ(attached.GetLength(), 3u);
    }
    // The handle was the caller's and is still open.
    DWORD dwSize = GetFileSize(h, NULL);
    EXPECT_EQ(dwSize, 3u);
    EXPECT_TRUE(CloseHandle(h));
}

// ---------------------------------------------------------------------------------------
// Static file operations and status

TEST(File, RemoveAndRename)
{
    TempFolder temp;
    CString strOld = temp / L"old.bin";
    CString strNew = temp / L"new.bin";
    WriteAllBytes(strOld, "content");

    CFile::Rename(strOld, strNew);
    EXPECT_FALSE(Exists(strOld));
    EXPECT_EQ(ReadAllBytes(strNew), "content");

    Caught caught = CatchFileException([&] { CFile::Rename(strOld, temp / L"other.bin"); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::fileNotFound);
    EXPECT_EQ(caught.strFileName, strOld);

    CFile::Remove(strNew);
    EXPECT_FALSE(Exists(strNew));

    caught = CatchFileException([&] { CFile::Remove(strNew); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::fileNotFound);
    EXPECT_EQ(caught.strFileName, strNew);
}

TEST(File, GetStatusOfAFileByNameAndWhenOpen)
{
    TempFolder temp;
    CString strPath = temp / L"status.bin";
    time_t tBefore = time(NULL);
    WriteAllBytes(strPath, std::string(1234, 'z'));
    ASSERT_TRUE(SetFileAttributesW(strPath, FILE_ATTRIBUTE_READONLY));

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(strPath, status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_TRUE(status.m_attribute & CFile::readOnly);
    EXPECT_FALSE(status.m_attribute & CFile::directory);
    EXPECT_EQ(CString(status.m_szFullName), strPath);
    EXPECT_GE(status.m_mtime.GetTime(), tBefore - 2);
    EXPECT_LE(status.m_mtime.GetTime(), time(NULL) + 2);

    CFile file(strPath, CFile::modeRead);
    CFileStatus open;
    ASSERT_TRUE(file.GetStatus(open));
    EXPECT_EQ(open.m_size, 1234u);
    EXPECT_TRUE(open.m_attribute & CFile::readOnly);
    EXPECT_EQ(CString(open.m_szFullName), strPath);
    EXPECT_EQ(open.m_mtime, status.m_mtime);

    ASSERT_TRUE(CFile::GetStatus(temp.Path(), status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);

    EXPECT_FALSE(CFile::GetStatus(temp / L"missing.bin", status));
}

// ---------------------------------------------------------------------------------------
// CMemFile

TEST(MemFile, GrowsInStepsAndReadsBack)
{
    CMemFile file(100);
    std::string data;
    for (int i = 0; i < 250; ++i)
        data += (char)('a' + i % 26);
    file.Write(data.data(), 120);
    file.Write(data.data() + 120, 130);
    EXPECT_EQ(file.GetLength(), 250u);
    EXPECT_EQ(file.GetPosition(), 250u);

    file.SeekToBegin();
    char buf[300] = {};
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 250u);   // fewer than asked at the end
    EXPECT_EQ(std::string(buf, 250), data);
    EXPECT_EQ(file.Read(buf, 1), 0u);

    EXPECT_EQ(file.Seek(-10, CFile::end), 240u);
    EXPECT_EQ(file.Seek(5, CFile::current), 245u);
    EXPECT_EQ(file.Read(buf, 10), 5u);

    // Past the end: reading gives nothing, writing fills the gap with zeros.
    EXPECT_EQ(file.Seek(300, CFile::begin), 300u);
    EXPECT_EQ(file.Read(buf, 1), 0u);
    file.Write("!", 1);
    EXPECT_EQ(file.GetLength(), 301u);
    file.Seek(250, CFile::begin);
    EXPECT_EQ(file.Read(buf, 51), 51u);
    EXPECT_EQ(std::string(buf, 51), std::string(50, '\0') + "!");

    Caught caught = CatchFileException([&] { file.Seek(-1, CFile::begin); });
    EXPECT_TRUE(caught.bThrown);
    EXPECT_EQ(caught.nCause, CFileException::badSeek);
}

TEST(MemFile, SetLengthMovesPositionBackAndZeroesGrowth)
{
    CMemFile file;
    file.Write("abcdef", 6);
    file.SetLength(3);
    EXPECT_EQ(file.GetLength(), 3u);
    EXPECT_EQ(file.GetPosition(), 3u);
    file.SetLength(5);
    file.SeekToBegin();
    char buf[8];
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 5u);
    EXPECT_EQ(std::string(buf, 5), std::string("abc\0\0", 5));
}

TEST(MemFile, AttachedBlockWithoutGrowthIsTheContent)
{
    BYTE block[4] = {1, 2, 3, 4};
    CMemFile file(block, sizeof(block));
    EXPECT_EQ(file.GetLength(), 4u);
    BYTE b[4];
    EXPECT_EQ(file.Read(b, 4), 4u);
    EXPECT_EQ(memcmp(b, block, 4), 0);

    // Overwriting inside the block works; growing it cannot.
    file.SeekToBegin();
    file.Write("\x09", 1);
    EXPECT_EQ(block[0], 9);
    file.SeekToEnd();
    bool bMemory = false;
    try
    {
        file.Write("x", 1);
    }
    catch (CMemoryException* e)
    {
        bMemory = true;
        e->Delete();
    }
    EXPECT_TRUE(bMemory);

    EXPECT_EQ(file.Detach(), block);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, AttachedGrowableBlockStartsEmptyAndDetachesWithContent)
{
    CMemFile file;
    file.Write("old", 3);
    BYTE* pBlock = (BYTE*)malloc(4);
    file.Attach(pBlock, 4, 16);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("0123456789", 10);          // grows past the 4 attached bytes
    EXPECT_EQ(file.GetLength(), 10u);

    BYTE* pDetached = file.Detach();
    ASSERT_NE(pDetached, nullptr);
    EXPECT_EQ(memcmp(pDetached, "0123456789", 10), 0);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
    free(pDetached);

    // After Detach the file is an empty growable file again, owning what it allocates.
    file.Write("abc", 3);
    file.SeekToBegin();
    char buf[4];
    EXPECT_EQ(file.Read(buf, sizeof(buf)), 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
}

} // namespace
