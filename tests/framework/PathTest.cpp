#include "MosaicTest.h"

#include "AfxPath.h"

#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

// A fresh folder with an accented name under the temporary folder, removed at the end with
// the files and folders the test names.
class AccentedFolder
{
public:
    AccentedFolder()
    {
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strPath.Format(L"%sMosa\u00efque-%u", (LPCWSTR)szTemp, (UINT)GetCurrentProcessId());
        CreateDirectoryW(m_strPath, NULL);
    }
    ~AccentedFolder()
    {
        for (int i = (int)m_created.size() - 1; i >= 0; --i)
        {
            if (!DeleteFileW(m_created[i]))
                RemoveDirectoryW(m_created[i]);
        }
        RemoveDirectoryW(m_strPath);
    }

    CString operator/(LPCTSTR lpszName)
    {
        m_created.push_back(m_strPath + L"\\" + lpszName);
        return m_created.back();
    }
    const CString& Path() const { return m_strPath; }

private:
    CString m_strPath;
    std::vector<CString> m_created;
};

std::string ReadWithFopen(const char* pszUnixPath)
{
    std::string bytes;
    FILE* f = fopen(pszUnixPath, "rb");
    if (f == NULL)
        return bytes;
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0)
        bytes.append(buf, n);
    fclose(f);
    return bytes;
}

TEST(Path, ExistingFileWithAccentsOpensWithFopen)
{
    AccentedFolder folder;
    CString strFile = folder / L"caf\u00e9 cr\u00e8me.txt";
    HANDLE h = CreateFileW(strFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD dwWritten;
    WriteFile(h, "same file", 9, &dwWritten, NULL);
    CloseHandle(h);

    CStringA strUnix = AfxGetUnixPath(strFile);
    ASSERT_FALSE(strUnix.IsEmpty());
    EXPECT_EQ(strUnix[0], '/');
    EXPECT_EQ(strchr(strUnix, '\\'), nullptr);
    const std::string unixPath(strUnix), name("/caf\xc3\xa9 cr\xc3\xa8me.txt");
    ASSERT_GT(unixPath.size(), name.size());
    EXPECT_EQ(unixPath.substr(unixPath.size() - name.size()), name);
    EXPECT_EQ(ReadWithFopen(strUnix), "same file");

    // Forward slashes, "." and ".." in the Windows path lead to the same file.
    CString strRoundabout = folder.Path() + L"/sub/../.\\caf\u00e9 cr\u00e8me.txt";
    EXPECT_EQ(AfxGetUnixPath(strRoundabout), strUnix);
}

TEST(Path, MissingFoldersAreAppendedInUtf8)
{
    AccentedFolder folder;
    CString strSub = folder / L"Donn\u00e9es";
    CString strSubSub = folder / L"Donn\u00e9es\\Plans \u00e9t\u00e9";
    CString strFile = folder / L"Donn\u00e9es\\Plans \u00e9t\u00e9\\plan \u00e0 voir.jpg";

    CStringA strBase = AfxGetUnixPath(folder.Path());
    ASSERT_FALSE(strBase.IsEmpty());
    CStringA strUnix = AfxGetUnixPath(strFile);
    EXPECT_EQ(strUnix,
              strBase + "/Donn\xc3\xa9" "es/Plans \xc3\xa9t\xc3\xa9/plan \xc3\xa0 voir.jpg");

    // Folders made and a file written natively at those places are the Windows ones.
    ASSERT_EQ(mkdir(AfxGetUnixPath(strSub), 0777), 0);
    ASSERT_EQ(mkdir(AfxGetUnixPath(strSubSub), 0777), 0);
    FILE* f = fopen(strUnix, "wb");
    ASSERT_NE(f, nullptr);
    fputs("native", f);
    fclose(f);

    HANDLE h = CreateFileW(strFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buf[16] = {};
    DWORD dwRead = 0;
    ReadFile(h, buf, sizeof(buf), &dwRead, NULL);
    CloseHandle(h);
    EXPECT_EQ(std::string(buf, dwRead), "native");

    // Now that everything exists, Wine resolves the whole path itself, with the same result.
    EXPECT_EQ(AfxGetUnixPath(strFile), strUnix);
}

TEST(Path, RootsFoldersAndEmptyPaths)
{
    EXPECT_EQ(AfxGetUnixPath(L"Z:\\"), CStringA("/"));
    EXPECT_EQ(AfxGetUnixPath(L"Z:\\no-such-folder-here\\x.txt"),
              CStringA("/no-such-folder-here/x.txt"));
    EXPECT_EQ(AfxGetUnixPath(L"Z:\\no-such-folder-here\\sub\\"),
              CStringA("/no-such-folder-here/sub/"));
    EXPECT_EQ(AfxGetUnixPath(L""), CStringA());
    EXPECT_EQ(AfxGetUnixPath(NULL), CStringA());
}

TEST(Path, ProgramFolderHoldsTheProgramAndEndsInBackslash)
{
    CString strFolder = AfxGetProgramFolder();
    ASSERT_FALSE(strFolder.IsEmpty());
    EXPECT_EQ(strFolder.Right(1), CString(L"\\"));
    EXPECT_NE(GetFileAttributesW(strFolder + L"test_framework.exe.so"), INVALID_FILE_ATTRIBUTES);
}

} // namespace
