// The developers' sample page, written from its command and read with qpdf and poppler.
#include "MosaicTest.h"

#include <memory>
#include <string>

#include "AfxMsgMap.h"
#include "LangText.h"
#include "MessageBoxAnswerer.h"
#include "PdfChecks.h"
#include "PdfSample.h"
#include "VitrolanDoc.h"
#include "text/TextTestFiles.h"

namespace
{

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The command writes the page into the current folder: one A4 page showing "abcd" in black,
// every text object closed.
TEST(PdfSample, CommandWritesOneA4PageWithItsLine)
{
    CTempFolder folder;
    WCHAR szPrevious[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, szPrevious);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Folder()));
    // The document reads its texts when it is made; nothing may be reported.
    CString strTexts = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strTexts.Replace(L"/", L"\\");
    SetLangTextFolder(strTexts);
    MessageBoxAnswerer answerer;
    const DocUiHooks savedHooks = CVitrolanDoc::s_uiHooks;
    CVitrolanDoc::s_uiHooks.pfnWritePdfSample = WritePdfSample;
    {
        // Far too big for the stack.
        std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
        doc->m_bAutoDelete = FALSE;
        EXPECT_TRUE(doc->OnCmdMsg(CVitrolanDoc::ID_WRITE_PDF_SAMPLE, CN_COMMAND, NULL, NULL));
    }
    CVitrolanDoc::s_uiHooks = savedHooks;
    SetCurrentDirectoryW(szPrevious);
    SetLangTextFolder(L"");
    EXPECT_EQ(0, MessageBoxAnswerer::s_nCount) << CStringA(MessageBoxAnswerer::s_strText);

    const std::string path = UnixPath(folder.Path(L"SimpleTextUsageCFFNoEmbed.pdf"));
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("1", InfoValue(PdfInfo(path), "Pages"));
    EXPECT_EQ("595 x 842 pts (A4)", PageSize(path, 1));
    EXPECT_EQ("abcd", RunCommand("pdftotext -q " + Quoted(path) + " - | tr -d '\\f\\n'"));
    const std::string content = PageContent(path);
    EXPECT_NE(std::string::npos, content.find("0 0 0 1 k")) << content;
    EXPECT_NE(std::string::npos, content.find("30 0 0 30 78.4252 662.8997 Tm")) << content;
    EXPECT_EQ(2u, Count(content, "BT\n")) << content;
    EXPECT_EQ(2u, Count(content, "ET\n")) << content;
}

// A file that cannot be started says so and leaves nothing behind.
TEST(PdfSample, UnwritablePathIsSaidOnTheOutput)
{
    CTempFolder folder;
    const CString strPath = folder.Path(L"missing\\sample.pdf");
    testing::internal::CaptureStdout();
    const BOOL bWritten = WritePdfSample(strPath);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(bWritten);
    EXPECT_EQ("failed to start PDF\n", said);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strPath));
}

}   // namespace
