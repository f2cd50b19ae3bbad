// The tile palette's colour chart written by the document's command through the view's
// pages into a real PDF, read back with qpdf and poppler's tools.
#include "MosaicTest.h"

#include <algorithm>
#include <string>

#include "LangText.h"
#include "MessageBoxAnswerer.h"
#include "OpenCv.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "text/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

class ChartPdf : public testing::Test
{
protected:
    ChartPdf() : m_opened(m_folder.Path(L"opened.txt")) {}

    // A tile palette of 30 colours named and marked by their number; colour 0 is black, the
    // others light.
    void SetUp() override
    {
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_pDoc = m_app.Doc();
        LoadTestMosaic(*m_pDoc, 4, 4, PavingSquares, 10);
        m_pDoc->format = 0;
        m_pDoc->unites = 0;
        m_pDoc->m_programFolder = m_folder.Folder();
        m_pDoc->palettefile = L"Glass-Tiles-2.pal";
        C2Palette& palette = m_pDoc->m_tilePalette;
        palette.m_name = L"Tiles";
        for (int i = 0; i < 30; i++)
        {
            palette.m_colours[i].peRed = (BYTE)(i == 0 ? 0 : 200 + i);
            palette.m_colours[i].peGreen = (BYTE)(i == 0 ? 0 : 220);
            palette.m_colours[i].peBlue = (BYTE)(i == 0 ? 0 : 100 + i);
            palette.m_colourNames[i].Format(L"Ref%d", i);
            palette.m_symbols[i].Format(L"Q%d", i);
        }
        m_pDoc->m_tileColourCount = 30;
        m_pDoc->UpdateAllViews(NULL);
        PumpMessages();
    }

    void TearDown() override
    {
        DeleteFileW(ChartPath());
        RemoveDirectoryW(m_folder.Path(L"Plans\\ColorCharts"));
        RemoveDirectoryW(m_folder.Path(L"Plans"));
        DeleteFileW(m_folder.Path(L"Plans"));
    }

    CString ChartPath() const { return m_folder.Path(L"Plans\\ColorCharts\\GlassTiles2.pdf"); }
    std::string Opened() { return m_folder.ReadBytes(L"opened.txt"); }

    static std::string PageText(const std::string& path, int nPage)
    {
        const std::string page = std::to_string(nPage);
        return RunCommand("pdftotext -layout -f " + page + " -l " + page + " " + Quoted(path) +
                          " -");
    }

    static std::string Utf8(const CString& str) { return std::string(CW2A(str, CP_UTF8)); }

    CTempFolder m_folder;
    CPdfOpenRecorder m_opened;
    CViewTestApp m_app;
    CVitrolanDoc* m_pDoc = NULL;
};

TEST_F(ChartPdf, EveryColourOnceInPagesOfFourteen)
{
    // Neither "Plans" nor its "ColorCharts" is there yet.
    ASSERT_TRUE(m_pDoc->WriteColourChart());
    const std::string path = UnixPath(ChartPath());
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("3", InfoValue(PdfInfo(path), "Pages"));
    EXPECT_EQ("595 x 842 pts (A4)", PageSize(path, 3));
    // Opened for the user once.
    const std::string opened = Opened();
    EXPECT_EQ(1, std::count(opened.begin(), opened.end(), '\n')) << opened;
    EXPECT_NE(std::string::npos, opened.find("GlassTiles2.pdf")) << opened;

    const std::string heading = Utf8(GetLangText(TXT_MENU_PALETTE)) + " Tiles (30 )";
    const std::string red = Utf8(GetLangText(TXT_RED));
    const std::string blue = Utf8(GetLangText(TXT_BLUE));
    for (int i = 0; i < 30; i++)
    {
        const int nPage = i / 14 + 1;
        SCOPED_TRACE(testing::Message() << "colour " << i);
        const std::string line = "Ref" + std::to_string(i) + ", [" + red + " = " +
                                 std::to_string(i == 0 ? 0 : 200 + i);
        for (int page = 1; page <= 3; page++)
        {
            const std::string text = PageText(path, page);
            EXPECT_EQ(page == nPage, text.find(line + ",") != std::string::npos) << text;
            EXPECT_EQ(page == nPage, text.find("Q" + std::to_string(i) + "\n") !=
                                             std::string::npos ||
                                         text.find("Q" + std::to_string(i) + " ") !=
                                             std::string::npos)
                << text;
        }
    }
    for (int page = 1; page <= 3; page++)
    {
        const std::string text = PageText(path, page);
        EXPECT_NE(std::string::npos, text.find(heading)) << text;
        EXPECT_NE(std::string::npos, text.find(blue + "= ")) << text;
    }
}

TEST_F(ChartPdf, SwatchesFilledWhereTheRowsLie)
{
    ASSERT_TRUE(m_pDoc->WriteColourChart());
    const std::string prefix = UnixPath(m_folder.Path(L"render"));
    RunCommand("pdftoppm -r 72 -png -singlefile -f 1 -l 1 " + Quoted(UnixPath(ChartPath())) +
               " " + Quoted(prefix));
    const cv::Mat page = cv::imread(prefix + ".png");
    ASSERT_FALSE(page.empty());
    DeleteFileW(m_folder.Path(L"render.png"));
    // A point of a swatch, in hundredths of a millimetre: the first row spans y = -1800 to
    // -2800, the second -3300 to -4300, 15 mm below the first; swatches are 10 mm wide at the
    // 10 mm margin. The black swatch carries a white symbol in its middle, so look beside it.
    const auto pixel = [&](int x, int y) {
        return page.at<cv::Vec3b>((int)(-y / 29700.0 * 842), (int)(x / 21000.0 * 595));
    };
    EXPECT_EQ(cv::Vec3b(0, 0, 0), pixel(1150, -1950));
    EXPECT_EQ(cv::Vec3b(101, 220, 201), pixel(1150, -3450));
    EXPECT_EQ(cv::Vec3b(113, 220, 213), pixel(1150, -(1800 + 13 * 1500 + 150)));
    // Between the rows the paper is white.
    EXPECT_EQ(cv::Vec3b(255, 255, 255), pixel(1500, -3050));
}

TEST_F(ChartPdf, UnwritableFolderIsReportedAndNothingOpened)
{
    // A file where the "Plans" folder should be.
    m_folder.WriteBytes(L"Plans", "not a folder");
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_pDoc->WriteColourChart());
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(L"GlassTiles2.pdf"))
        << MessageBoxAnswerer::s_strText;
    EXPECT_EQ("", Opened());
    EXPECT_EQ(0, m_pDoc->m_paletteChartPage);
}

TEST(ChartFileName, FromThePaletteFileOrItsName)
{
    const struct
    {
        LPCWSTR file;
        LPCWSTR name;
        LPCWSTR expected;
    } cases[] = {
        {L"Glass-Tiles-2.pal", L"Other", L"GlassTiles2"},
        {L"smalti.pal.pal", L"", L"smalti"},
        {L"NoExtension", L"", L"NoExtension"},
        // ".pal" in the first place is no extension.
        {L".pal", L"", L".pal"},
        {L"", L"Tiles", L"Tiles"},
        {L"--.pal", L"My/Range: A", L"My_Range_ A"},
        {L"", L"", L"Palette"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), CVitrolanDoc::ChartFileName(c.file, c.name))
            << CStringA(c.file).GetString();
}

}   // namespace
