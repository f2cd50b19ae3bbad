#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxMsgMap.h"
#include "DocPaths.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "MessageBoxAnswerer.h"
#include "SavedLanguageValue.h"
#include "ShellOpen.h"
#include "VitrolanDoc.h"

namespace
{

const char kTexts[] = "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n"
                      "990;Missing: %s\r\n1080;No browser opens %s\r\n";

// What reached the shell, in place of a browser or viewer.
struct Handed
{
    CString verb;
    CString target;
};

class WebCommandsTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_strTexts = UseOwnTexts(L"MosaicWebTexts", kTexts); }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strTexts); }

    void SetUp() override
    {
        s_handed.clear();
        s_bBrowser = TRUE;
        m_pfnPrevious = SetShellExecuteEx(Record);
        m_strFolder = NewTempFolder(L"MosaicWeb");
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        m_doc->m_programFolder = m_strFolder;
    }
    void TearDown() override
    {
        m_doc.reset();
        SetShellExecuteEx(m_pfnPrevious);
        RemoveTree(m_strFolder);
    }

    static BOOL WINAPI Record(SHELLEXECUTEINFOW* pInfo)
    {
        s_handed.push_back({pInfo->lpVerb, pInfo->lpFile});
        pInfo->hProcess = NULL;
        return s_bBrowser;
    }
    void Command(UINT nID) { EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_COMMAND, NULL, NULL)); }
    static CString Resource(UINT nId)
    {
        CString strText;
        strText.LoadString(nId);
        return strText;
    }

    static CString s_strTexts;
    static std::vector<Handed> s_handed;
    static BOOL s_bBrowser;
    ShellExecuteExFn m_pfnPrevious = NULL;
    CString m_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
};
CString WebCommandsTest::s_strTexts;
std::vector<Handed> WebCommandsTest::s_handed;
BOOL WebCommandsTest::s_bBrowser = TRUE;

TEST_F(WebCommandsTest, WebSiteGoesToTheBrowserAndItsAbsenceIsSaid)
{
    const CString strSite = Resource(32975);
    ASSERT_EQ(0, strSite.Find(L"https://"));
    Command(CVitrolanDoc::ID_OPEN_WEB_SITE);
    ASSERT_EQ(1u, s_handed.size());
    EXPECT_EQ(CString(L"open"), s_handed[0].verb);
    EXPECT_EQ(strSite, s_handed[0].target);

    s_bBrowser = FALSE;
    MessageBoxAnswerer answerer;
    Command(CVitrolanDoc::ID_OPEN_WEB_SITE);
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_EQ(CString(L"No browser opens ") + strSite, MessageBoxAnswerer::s_strText);
}

// Each interface language reaches a forum; those without one of their own reach the
// English one.
TEST_F(WebCommandsTest, ForumFollowsTheInterfaceLanguage)
{
    CSavedLanguageValue savedNew(L"Software\\Orbalith");
    CSavedLanguageValue savedOld(L"Software\\Mosaic");
    const struct
    {
        int language;
        UINT entry;      // of the language
        UINT reached;    // the address that is opened
    } cases[] = {
        {1036, 32976, 32976}, {1040, 32978, 32978}, {1033, 32977, 32977},
        {1031, 32979, 32977}, {1034, 32980, 32977}, {1043, 32977, 32977},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.language);
        s_handed.clear();
        ASSERT_TRUE(WriteLanguageId(c.language));
        EXPECT_EQ(c.entry, CVitrolanDoc::ForumAddressId(c.language));
        Command(CVitrolanDoc::ID_OPEN_USERS_FORUM);
        ASSERT_EQ(1u, s_handed.size());
        EXPECT_FALSE(s_handed[0].target.IsEmpty());
        EXPECT_EQ(Resource(c.reached), s_handed[0].target);
    }
    EXPECT_NE(Resource(32976), Resource(32977));
    EXPECT_NE(Resource(32978), Resource(32977));
}

// The help page lies under the program's "Help" folder, in French or in English; a page
// that is not there is reported and nothing is started.
TEST_F(WebCommandsTest, HelpPageFollowsTheLanguageAndAMissingOneIsReported)
{
    CSavedLanguageValue savedNew(L"Software\\Orbalith");
    CSavedLanguageValue savedOld(L"Software\\Mosaic");
    const struct
    {
        int language;
        LPCWSTR page;
    } cases[] = {
        {1036, L"Help\\40C\\MenuVitrolan\\CommandeVitrolan.htm"},
        {1033, L"Help\\409\\MenuVitrolan\\CommandeVitrolan.htm"},
        {1040, L"Help\\409\\MenuVitrolan\\CommandeVitrolan.htm"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.language);
        ASSERT_TRUE(WriteLanguageId(c.language));
        const CString strPage = m_strFolder + c.page;
        EXPECT_EQ(strPage, m_doc->HelpCommandsPath(c.language));

        s_handed.clear();
        {
            MessageBoxAnswerer answerer;
            Command(CVitrolanDoc::ID_OPEN_HELP_COMMANDS);
            EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
            EXPECT_EQ(CString(L"Missing: ") + strPage, MessageBoxAnswerer::s_strText);
        }
        EXPECT_TRUE(s_handed.empty());

        EXPECT_EQ(NO_ERROR, EnsureFolder(strPage.Left(strPage.ReverseFind(L'\\') + 1)));
        WriteBytes(strPage, "<html/>", 7);
        Command(CVitrolanDoc::ID_OPEN_HELP_COMMANDS);
        ASSERT_EQ(1u, s_handed.size());
        EXPECT_EQ(strPage, s_handed[0].target);
        DeleteFileW(strPage);
    }
}

}   // namespace
