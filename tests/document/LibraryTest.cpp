#include "MosaicTest.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AfxMsgMap.h"
#include "DocTestFiles.h"
#include "MessageBoxAnswerer.h"
#include "VitrolanDoc.h"

namespace
{

const char kTexts[] = "242;Delete this mosaic from the library?\r\n"
                      "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n"
                      "1081;The open mosaic is not in the library.\r\n";

// The library's mosaics, each as wide as its number says (and at least one tile).
const struct
{
    LPCWSTR name;
    int cols;
} kEntries[] = {{L"10 Sky", 10}, {L"2 Sea", 2}, {L"1 Garden", 1}};

class LibraryTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_strTexts = UseOwnTexts(L"MosaicLibraryTexts", kTexts); }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strTexts); }

    void SetUp() override
    {
        m_savedHooks = CVitrolanDoc::s_uiHooks;
        s_questions.clear();
        CVitrolanDoc::s_uiHooks.pfnMessageBox = Answer;
        CVitrolanDoc::s_uiHooks.pfnAskGridSize = AskGridSize;
        WCHAR szCurrent[MAX_PATH] = {0};
        GetCurrentDirectoryW(MAX_PATH, szCurrent);
        m_strPreviousFolder = szCurrent;
        m_strFolder = NewTempFolder(L"Mosa\u00EFque library ");
        ASSERT_TRUE(SetCurrentDirectoryW(m_strFolder));
        CreateDirectoryW(Images(), NULL);
        CreateDirectoryW(Images() + L"Vignettes", NULL);
        for (const auto& entry : kEntries)
        {
            s_nWidth = entry.cols;
            std::unique_ptr<CVitrolanDoc> maker = NewDocument();
            ASSERT_TRUE(maker->OnNewDocument());
            ASSERT_TRUE(maker->SaveToPath(Images() + entry.name + L".ms2"));
            WriteBytes(Thumbnail(entry.name), "jpg", 3);
        }
        // Files of the same stem that are not the entry's.
        WriteBytes(Images() + L"2 Sea.ms2.bak", "bak", 3);
        WriteBytes(Images() + L"Vignettes\\2 Sea.png", "png", 3);
        m_doc = NewDocument();
    }
    void TearDown() override
    {
        m_doc.reset();
        SetCurrentDirectoryW(m_strPreviousFolder);
        RemoveTree(m_strFolder);
        CVitrolanDoc::s_uiHooks = m_savedHooks;
    }

    static int Answer(LPCTSTR lpszText)
    {
        s_questions.push_back(lpszText);
        return s_nAnswer;
    }
    static INT_PTR AskGridSize(int* pWidth, int* pHeight)
    {
        *pWidth = s_nWidth;
        *pHeight = 1;
        return IDOK;
    }

    std::unique_ptr<CVitrolanDoc> NewDocument()
    {
        std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
        doc->m_bAutoDelete = FALSE;
        doc->m_programFolder = m_strFolder;
        doc->m_newCount = 1;
        return doc;
    }
    CString Images() const { return m_strFolder + L"Images\\"; }
    CString Thumbnail(LPCWSTR lpszName) const
    {
        return Images() + L"Vignettes\\" + lpszName + L".jpg";
    }
    // The names in the library folders, thumbnails after a slash.
    std::set<std::string> Listing() const
    {
        std::set<std::string> names;
        for (const CString& strFolder : {Images(), Images() + L"Vignettes\\"})
        {
            WIN32_FIND_DATAW data;
            HANDLE hFind = FindFirstFileW(strFolder + L"*.*", &data);
            while (hFind != INVALID_HANDLE_VALUE)
            {
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    names.insert((strFolder == Images() ? "" : "/") +
                                 std::string(CStringA(data.cFileName).GetString()));
                if (!FindNextFileW(hFind, &data))
                {
                    FindClose(hFind);
                    break;
                }
            }
        }
        return names;
    }
    void DeleteCommand()
    {
        EXPECT_TRUE(m_doc->OnCmdMsg(CVitrolanDoc::ID_DELETE_LIBRARY_MOSAIC, CN_COMMAND, NULL,
                                    NULL));
    }
    void OpenEntry(LPCWSTR lpszName)
    {
        ASSERT_TRUE(m_doc->OnOpenDocument(Images() + lpszName + L".ms2"));
    }

    static CString s_strTexts;
    static std::vector<CString> s_questions;
    static int s_nAnswer;
    static int s_nWidth;
    CString m_strFolder;
    CString m_strPreviousFolder;
    DocUiHooks m_savedHooks;
    std::unique_ptr<CVitrolanDoc> m_doc;
};
CString LibraryTest::s_strTexts;
std::vector<CString> LibraryTest::s_questions;
int LibraryTest::s_nAnswer = IDOK;
int LibraryTest::s_nWidth = 1;

const std::set<std::string> kAllFiles = {
    "1 Garden.ms2", "10 Sky.ms2", "2 Sea.ms2", "2 Sea.ms2.bak",
    "/1 Garden.jpg", "/10 Sky.jpg", "/2 Sea.jpg", "/2 Sea.png"};

TEST_F(LibraryTest, ListFollowsTheNumbersTheNamesStartWith)
{
    WriteBytes(Images() + L"notes.txt", "x", 1);
    m_doc->LoadLibraryList();
    ASSERT_EQ(3, (int)m_doc->m_libraryNames.GetSize());
    EXPECT_EQ(CString(L"1 Garden"), m_doc->m_libraryNames[0]);
    EXPECT_EQ(CString(L"2 Sea"), m_doc->m_libraryNames[1]);
    EXPECT_EQ(CString(L"10 Sky"), m_doc->m_libraryNames[2]);
    EXPECT_EQ(Images() + L"10 Sky.ms2", m_doc->m_libraryFiles[2]);
    EXPECT_EQ(Images() + L"Vignettes\\2 Sea.jpg", m_doc->LibraryThumbnailPath(L"2 Sea"));
}

// The question names the open mosaic; a refusal deletes nothing, and a mosaic from
// elsewhere is not the library's to delete.
TEST_F(LibraryTest, AsksFirstAndARefusalDeletesNothing)
{
    OpenEntry(L"2 Sea");
    s_nAnswer = IDCANCEL;
    DeleteCommand();
    ASSERT_EQ(1u, s_questions.size());
    EXPECT_EQ(0, s_questions[0].Find(L"Delete this mosaic from the library?"));
    EXPECT_NE(-1, s_questions[0].Find(L"2 Sea"));
    EXPECT_EQ(kAllFiles, Listing());
    EXPECT_EQ(2, m_doc->m_cols);

    s_questions.clear();
    s_nAnswer = IDOK;
    const CString strElsewhere = m_strFolder + L"2 Sea.ms2";
    ASSERT_TRUE(m_doc->SaveToPath(strElsewhere));
    ASSERT_TRUE(m_doc->OnOpenDocument(strElsewhere));
    DeleteCommand();
    ASSERT_EQ(1u, s_questions.size());
    EXPECT_EQ(CString(L"The open mosaic is not in the library."), s_questions[0]);
    EXPECT_EQ(kAllFiles, Listing());
}

// Deleting removes the entry's mosaic and thumbnail only, and opens the first entry left
// without saving the deleted one back, changed as it was.
TEST_F(LibraryTest, DeletesOnlyTheEntryAndOpensTheFirstLeft)
{
    const struct
    {
        LPCWSTR name;
        bool bThumbnail;
        std::set<std::string> left;
        int nextCols, nextNumber;
    } cases[] = {
        {L"2 Sea", true,
         {"1 Garden.ms2", "10 Sky.ms2", "2 Sea.ms2.bak", "/1 Garden.jpg", "/10 Sky.jpg",
          "/2 Sea.png"},
         1, 1},
        {L"1 Garden", false,
         {"10 Sky.ms2", "2 Sea.ms2", "2 Sea.ms2.bak", "/10 Sky.jpg", "/2 Sea.jpg",
          "/2 Sea.png"},
         2, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(CStringA(c.name).GetString());
        TearDown();
        SetUp();
        if (!c.bThumbnail)
            DeleteFileW(Thumbnail(c.name));
        OpenEntry(c.name);
        m_doc->m_dirty = 1;
        MessageBoxAnswerer noReport;
        DeleteCommand();
        EXPECT_EQ(0, MessageBoxAnswerer::s_nCount) << CStringA(MessageBoxAnswerer::s_strText);
        EXPECT_EQ(1u, s_questions.size());
        EXPECT_EQ(c.left, Listing());
        EXPECT_EQ(2, (int)m_doc->m_libraryNames.GetSize());
        EXPECT_EQ(0, m_doc->m_libraryIndex);
        EXPECT_EQ(c.nextNumber, m_doc->m_libraryNumber);
        EXPECT_EQ(c.nextCols, m_doc->m_cols);
        EXPECT_EQ(m_doc->m_libraryFiles[0], m_doc->m_path);
    }
}

// A deleted mosaic never comes back, changed as it was: not when it was the last entry, nor
// when the next entry cannot be opened. The document then holds a new mosaic of its own.
TEST_F(LibraryTest, ADeletedMosaicIsNotSavedBackWhenNoEntryFollows)
{
    const struct
    {
        const char* label;
        std::vector<LPCWSTR> gone;      // library files removed before
        LPCWSTR damaged;                // an entry left that cannot be read
        std::set<std::string> left;
    } cases[] = {
        {"the last entry", {L"2 Sea", L"10 Sky"}, NULL, {"2 Sea.ms2.bak", "/2 Sea.png"}},
        {"the next entry unreadable", {L"10 Sky"}, L"2 Sea",
         {"2 Sea.ms2", "2 Sea.ms2.bak", "/2 Sea.jpg", "/2 Sea.png"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        TearDown();
        SetUp();
        for (LPCWSTR lpszName : c.gone)
        {
            DeleteFileW(Images() + lpszName + L".ms2");
            DeleteFileW(Thumbnail(lpszName));
        }
        if (c.damaged != NULL)
            WriteBytes(Images() + c.damaged + L".ms2", "junk", 4);
        OpenEntry(L"1 Garden");
        m_doc->m_dirty = 1;
        const std::vector<BYTE> madeBefore = ReadBytes(m_strFolder + L"New.ms2");
        {
            MessageBoxAnswerer report;
            DeleteCommand();
        }
        EXPECT_EQ(c.left, Listing());
        EXPECT_EQ(0, m_doc->m_dirty);
        EXPECT_EQ(-1, m_doc->m_libraryIndex);
        EXPECT_EQ(1, m_doc->m_loaded);
        EXPECT_EQ(20, m_doc->m_cols) << "a new mosaic of New's size";
        EXPECT_TRUE(m_doc->m_path.IsEmpty());
        EXPECT_FALSE(m_doc->IsModified());

        m_doc->OnCloseDocument();
        EXPECT_EQ(c.left, Listing());
        // Nothing was saved, not even the new mosaic beside those made by New.
        EXPECT_EQ(madeBefore, ReadBytes(m_strFolder + L"New.ms2"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_strFolder + L"New (4).ms2"));
    }
}

// A mosaic that cannot be deleted is reported the framework's way and keeps its thumbnail.
TEST_F(LibraryTest, AFileThatStaysIsReportedAndKeepsItsThumbnail)
{
    OpenEntry(L"2 Sea");
    HANDLE hHeld = CreateFileW(Images() + L"2 Sea.ms2", GENERIC_READ, 0, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    MessageBoxAnswerer report;
    DeleteCommand();
    CloseHandle(hHeld);
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_EQ(kAllFiles, Listing());
    EXPECT_EQ(Images() + L"2 Sea.ms2", m_doc->m_path);
}

}   // namespace
