// The laying plan's picture page, painted by the view into a real PDF and read back with
// qpdf and poppler's tools.
#include "MosaicTest.h"

#include <algorithm>
#include <string>

#include "ExportPicture.h"
#include "LangText.h"
#include "OpenCv.h"
#include "Pdf.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "text/TextTestFiles.h"
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

// While the picture page is written the window shows the whole mosaic fitted to it, in bands
// where one picture of the window's size cannot hold it; the zoom is lowered to at most the
// one at which every column and every row fits the window's height, and stays so.
TEST_F(PicturePage, WindowShowsTheWholeMosaicFittedToIt)
{
    const struct
    {
        const char* name;
        int type, cols, rows, zoom, width, height;
    } cases[] = {
        {"squares larger than the window at one pixel a tile", PavingSquares, 600, 450, 4, 400,
         300},
        {"hexagons in a narrow window", PavingHexagons, 30, 36, 40, 150, 400},
        {"triangles", PavingTriangles, 20, 24, 40, 400, 300},
        {"diamonds at a zoom that already fits", PavingDiamonds, 36, 30, 8, 400, 300},
    };
    CFrameWnd* pFrame = m_app.Frame();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        // The window's client area as the case asks.
        CRect rectFrame, rectClient;
        pFrame->GetWindowRect(&rectFrame);
        m_pView->GetClientRect(&rectClient);
        pFrame->SetWindowPos(NULL, 0, 0, rectFrame.Width() + c.width - rectClient.Width(),
                             rectFrame.Height() + c.height - rectClient.Height(),
                             SWP_NOZORDER | SWP_NOMOVE);
        PumpMessages();

        // Blocks of one colour, six across and six down.
        LoadTestMosaic(*m_pDoc, c.cols, c.rows, c.type, c.zoom);
        const int bw = (c.cols + 5) / 6, bh = (c.rows + 5) / 6;
        auto blockColour = [&](int col, int row) { return 1 + (col / bw + 6 * (row / bh)) % 250; };
        for (int row = 0; row < c.rows; row++)
            for (int col = 0; col < c.cols; col++)
            {
                int shape, kind, a, b, cc, d, va, vb, vc, vd;
                m_pDoc->m_workingMap.GetCell(col, row, shape, kind, a, b, cc, d, va, vb, vc, vd);
                const int colour = blockColour(col, row);
                m_pDoc->m_workingMap.SetCell(col, row, shape, kind, colour, colour, colour,
                                             colour, 0, 0, 0, 0);
            }
        m_pDoc->m_workingMap.CopyBlock(&m_pDoc->m_committedMap, 4 * c.cols, 4 * c.rows);
        m_pDoc->UpdateAllViews(NULL);
        PumpMessages();

        CPdf* pPdf = m_pView->GetPdf();
        const int nPaper = pPdf->SetPaperSize(0);
        ASSERT_EQ(PdfStartOk, pPdf->StartPdf(m_folder.Folder(), m_folder.Path(L"fitted.pdf"),
                                             WritePicture(), L""));
        m_pView->InitPageMetrics();
        m_pDoc->m_picturePage = 1;
        pPdf->StartPage(nPaper);
        m_pView->RenderPage(0);

        // The zoom the window was drawn at, and the mosaic at that zoom centred in it.
        m_pView->GetClientRect(&rectClient);
        const int W = rectClient.Width(), H = rectClient.Height();
        const int fit = std::max(std::min(H / c.rows, H / c.cols), 1);
        const int z = m_pDoc->m_tileSize;
        EXPECT_EQ(c.zoom > fit ? (fit > 1 ? fit - fit % 2 : 1) : c.zoom, z);
        const SIZE whole = ExportPictureSize(c.type, z, c.cols, c.rows);
        const double scale = std::min((double)W / whole.cx, (double)H / whole.cy);
        const double left = (W - whole.cx * scale) / 2, top = (H - whole.cy * scale) / 2;
        CClientDC dc(m_pView);
        // Around each block's middle tile: its colour, between the joints, and no other
        // block's.
        auto blockRgb = [&](int colour) {
            BYTE rgb[3];
            TestColour(colour, rgb);
            return RGB(rgb[0], rgb[1], rgb[2]);
        };
        const int reach = std::max((int)(z * scale / 3), 1);
        int nWrong = 0;
        for (int row = bh / 2; row < c.rows; row += bh)
            for (int col = bw / 2; col < c.cols; col += bw)
            {
                const int px = col * z + z / 2, py = TileToPixelY(c.type, z, row, 0) + z / 2;
                if (px >= whole.cx || py >= whole.cy)
                    continue;
                const int x = (int)(left + px * scale), y = (int)(top + py * scale);
                BOOL bFound = FALSE, bForeign = FALSE;
                for (int dy = -reach; dy <= reach; dy++)
                    for (int dx = -reach; dx <= reach; dx++)
                    {
                        const COLORREF shown = dc.GetPixel(x + dx, y + dy);
                        bFound = bFound || shown == blockRgb(blockColour(col, row));
                        for (int k = 1; k <= 36; k++)
                            bForeign = bForeign || (k != blockColour(col, row) &&
                                                    shown == blockRgb(k));
                    }
                if ((!bFound || bForeign) && nWrong++ < 3)
                    ADD_FAILURE() << "block of tile " << col << ", " << row << " at " << x << ", "
                                  << y << (bFound ? " shows another block" : " is not shown");
            }
        EXPECT_EQ(0, nWrong);

        EXPECT_EQ(0, pPdf->EndPage());
        m_pDoc->m_picturePage = 0;
        EXPECT_TRUE(pPdf->EndPdf());
        EXPECT_EQ(z, m_pDoc->m_tileSize);
        DeleteFileW(m_folder.Path(L"fitted.pdf"));
    }
}

}   // namespace
