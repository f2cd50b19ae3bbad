// The laying plan's picture page, painted by the view into a real PDF and read back with
// qpdf and poppler's tools.
#include "MosaicTest.h"

#include <string>

#include "LangText.h"
#include "OpenCv.h"
#include "Pdf.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "model/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

std::string Heading()
{
    return std::string(CW2A(GetLangText(TXT_PRINT_PLAN), CP_UTF8));
}

class PicturePage : public testing::Test
{
protected:
    PicturePage() : m_opened(m_folder.Path(L"opened.txt")) {}

    void SetUp() override
    {
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_pView = m_app.View();
        m_pDoc = m_app.Doc();
        LoadTestMosaic(*m_pDoc, 8, 4, PavingSquares, 10);
        m_pDoc->format = 0;
        m_pDoc->unites = 0;
        PumpMessages();
    }

    // One picture page on A4 with the picture given (none when the path is empty).
    std::string WritePage(LPCWSTR lpszName, const CString& strPicture)
    {
        CPdf* pPdf = m_pView->GetPdf();
        const int nPaper = pPdf->SetPaperSize(m_pDoc->format);
        EXPECT_EQ(PdfStartOk,
                  pPdf->StartPdf(m_folder.Folder(), m_folder.Path(lpszName), strPicture, L""));
        m_pView->InitPageMetrics();
        m_pDoc->m_picturePage = 1;
        pPdf->StartPage(nPaper);
        m_pView->RenderPage(0);
        EXPECT_EQ(0, pPdf->EndPage());
        m_pDoc->m_picturePage = 0;
        EXPECT_TRUE(pPdf->EndPdf());
        return UnixPath(m_folder.Path(lpszName));
    }

    // A blue plan picture of 512 x 256 pixels.
    CString WritePicture()
    {
        const CString strPicture = m_folder.Path(L"Garden_E.jpg");
        cv::imwrite(UnixPath(strPicture), cv::Mat(256, 512, CV_8UC3, cv::Scalar(255, 0, 0)));
        return strPicture;
    }

    cv::Mat Render(const std::string& path)
    {
        const std::string prefix = UnixPath(m_folder.Path(L"render"));
        RunCommand("pdftoppm -r 72 -png -singlefile " + Quoted(path) + " " + Quoted(prefix));
        return cv::imread(prefix + ".png");
    }

    // Blue at the point (x, y) of an A4 page in hundredths of a millimetre.
    static bool IsBlueAt(const cv::Mat& page, int x, int y)
    {
        const cv::Vec3b p = page.at<cv::Vec3b>((int)(-y / 29700.0 * 842), (int)(x / 21000.0 * 595));
        return p[0] > 200 && p[1] < 60 && p[2] < 60;
    }

    CViewTestApp m_app;
    CVitrolanView* m_pView = NULL;
    CVitrolanDoc* m_pDoc = NULL;
    CTempFolder m_folder;
    // The finished PDF is shown: the test's own command takes it instead of a viewer.
    CPdfOpenRecorder m_opened;
};

TEST_F(PicturePage, HeadingAndPictureAtTheirPlaces)
{
    const struct { int offsetX, offsetY; LPCWSTR file; } cases[] = {{0, 0, L"plain.pdf"},
                                                                   {0, 25, L"moved.pdf"}};
    for (const auto& c : cases)
    {
        m_pDoc->m_thumbOffsetX = c.offsetX;
        m_pDoc->m_thumbOffsetY = c.offsetY;
        const std::string path = WritePage(c.file, WritePicture());
        ASSERT_EQ("ok", QpdfCheck(path));
        EXPECT_NE(std::string::npos, RunCommand("pdftotext " + Quoted(path) + " -")
                                         .find(Heading()));
        // One point per pixel: 512 x 256 points is 18062 x 9031 hundredths of a millimetre,
        // from 12.5 mm right of the left edge and 55 mm above the bottom, raised by the
        // offset in per cent of 512 points.
        const int nRaise = m_pView->GetPdf()->FromPageY(c.offsetY * 512 / 100);
        const int x0 = 1250, y0 = 5500 - 29700 + nRaise;
        const cv::Mat page = Render(path);
        ASSERT_FALSE(page.empty());
        EXPECT_TRUE(IsBlueAt(page, x0 + 300, y0 + 300)) << c.offsetY;
        EXPECT_TRUE(IsBlueAt(page, x0 + 17700, y0 + 8700)) << c.offsetY;
        EXPECT_FALSE(IsBlueAt(page, x0 - 300, y0 + 300)) << c.offsetY;
        EXPECT_FALSE(IsBlueAt(page, x0 + 300, y0 - 300)) << c.offsetY;
        EXPECT_FALSE(IsBlueAt(page, x0 + 300, y0 + 9400)) << c.offsetY;
    }
}

TEST_F(PicturePage, WithoutAPictureOnlyTheHeadingIsWritten)
{
    const std::string path = WritePage(L"bare.pdf", m_folder.Path(L"missing_E.jpg"));
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ(std::string::npos, PageContent(path).find(" Do"));
    EXPECT_NE(std::string::npos, RunCommand("pdftotext " + Quoted(path) + " -")
                                     .find(Heading()));
}

}   // namespace
