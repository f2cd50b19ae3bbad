// Laying-plan pages painted by the view in a real frame into a real PDF, as the plan command
// drives them, and read back with qpdf and poppler's tools.
#include "MosaicTest.h"

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LangText.h"
#include "OpenCv.h"
#include "Pdf.h"
#include "Plaque.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "model/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

class PlanPdf : public testing::Test
{
protected:
    PlanPdf() : m_opened(m_folder.Path(L"opened.txt")) {}

    // A mosaic of 20 x 8 squares cut into plates of 8 x 8: two plates of two pages each at
    // the default tile size, and a last plate of 4 columns on one page.
    void SetUp() override
    {
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_pView = m_app.View();
        m_pDoc = m_app.Doc();
        LoadTestMosaic(*m_pDoc, 20, 8, PavingSquares, 10);
        m_pDoc->SetTitle(L"Garden");
        for (int i = 1; i <= 250; i++)
            m_pDoc->m_imagePalette.m_symbols[i].Format(L"s%d", i);
        m_pDoc->carplaquex = m_pDoc->carplaquey = 8;
        m_pDoc->direction = m_pDoc->decalage = 0;
        m_pDoc->format = 0;
        m_pDoc->unites = 0;
        m_pDoc->impression = 2;
        m_pDoc->imprCouleurs = 1;
        m_pDoc->filet = 0;
        m_pDoc->regles = 1;
        m_pDoc->imprVignettes = 0;
        m_pDoc->m_printFirst = 1;
        m_pDoc->m_printLast = 3;
        m_pDoc->UpdateAllViews(NULL);
        PumpMessages();
    }

    // The plan's pages written as the plan command writes them: one repaint of the view
    // for each page.
    std::string WritePlan(LPCWSTR lpszName, const CString& strThumbnail = L"")
    {
        m_pDoc->m_plaquesValid = 0;
        m_pDoc->BuildPlaques();
        CPdf* pPdf = m_pView->GetPdf();
        const int nPaper = pPdf->SetPaperSize(m_pDoc->format);
        EXPECT_EQ(PdfStartOk, pPdf->StartPdf(m_folder.Folder(), m_folder.Path(lpszName), L"",
                                             strThumbnail));
        m_pView->InitPageMetrics();
        m_pDoc->m_planPage = 1;
        EXPECT_TRUE(m_pView->PaginatePlaques());
        for (int i = 0; i < m_pView->GetPageMetrics().pageCount; i++)
        {
            pPdf->StartPage(nPaper);
            m_pView->RenderPage(i);
            EXPECT_EQ(0, pPdf->EndPage());
        }
        m_pDoc->m_planPage = 0;
        EXPECT_TRUE(pPdf->EndPdf());
        return UnixPath(m_folder.Path(lpszName));
    }

    // The page as pixels, one pixel per point (BGR).
    cv::Mat Render(const std::string& path, int nPage)
    {
        const std::string prefix = UnixPath(m_folder.Path(L"render"));
        const std::string page = std::to_string(nPage);
        RunCommand("pdftoppm -r 72 -png -singlefile -f " + page + " -l " + page + " " +
                   Quoted(path) + " " + Quoted(prefix));
        return cv::imread(prefix + ".png");
    }

    // The pixel of the point (x, y) of an A4 page, in hundredths of a millimetre.
    static cv::Vec3b PixelAt(const cv::Mat& page, int x, int y)
    {
        return page.at<cv::Vec3b>((int)(-y / 29700.0 * 842), (int)(x / 21000.0 * 595));
    }

    static std::string PageText(const std::string& path, int nPage)
    {
        const std::string page = std::to_string(nPage);
        return RunCommand("pdftotext -f " + page + " -l " + page + " " + Quoted(path) + " -");
    }

    // The words of a page's text that are whole numbers: rulers and neighbour numbers.
    static std::set<int> Numbers(const std::string& text)
    {
        std::set<int> numbers;
        std::istringstream words(text);
        std::string word;
        while (words >> word)
            if (word.find_first_not_of("0123456789") == std::string::npos)
                numbers.insert(std::stoi(word));
        return numbers;
    }

    static size_t Count(const std::string& text, const std::string& part)
    {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            n++;
        return n;
    }

    static std::string Utf8(const CString& str)
    {
        return std::string(CW2A(str, CP_UTF8));
    }

    static cv::Vec3b Bgr(int nColour)
    {
        BYTE rgb[3];
        TestColour(nColour, rgb);
        return cv::Vec3b(rgb[2], rgb[1], rgb[0]);
    }

    CTempFolder m_folder;
    CPdfOpenRecorder m_opened;
    CViewTestApp m_app;
    CVitrolanView* m_pView = NULL;
    CVitrolanDoc* m_pDoc = NULL;
};

TEST_F(PlanPdf, PlanOfThreePlates)
{
    const std::string path = WritePlan(L"plan.pdf");
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("5", InfoValue(PdfInfo(path), "Pages"));
    EXPECT_EQ("595 x 842 pts (A4)", PageSize(path, 5));

    // Plate and page within it, the document's title, and the numbers: columns above the
    // plate's first row, rows beside its first column, the neighbour's by the arrow, and the
    // plate's in the title.
    const std::string plate = Utf8(GetLangText(TXT_PLATE));
    const struct
    {
        const char* title;
        std::set<int> numbers;
        const char* symbol;
    } pages[] = {
        {" 1 (1)", {1, 2, 3, 4, 5, 6, 7, 8}, "s1"},
        {" 1 (2)", {1, 7, 8}, "s7"},
        {" 2 (1)", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, "s9"},
        {" 2 (2)", {1, 2, 15, 16}, "s15"},
        {" 3 (1)", {1, 2, 3, 4, 5, 6, 7, 8, 17, 18, 19, 20}, "s17"},
    };
    for (int i = 0; i < 5; i++)
    {
        SCOPED_TRACE(testing::Message() << "page " << i + 1);
        const std::string text = PageText(path, i + 1);
        // However often the window repainted, the page was drawn once.
        EXPECT_EQ(1u, Count(text, plate + pages[i].title)) << text;
        EXPECT_EQ(1u, Count(text, "Garden - "));
        EXPECT_EQ(pages[i].numbers, Numbers(text)) << text;
        EXPECT_NE(std::string::npos, text.find(pages[i].symbol));
    }
    // One text object for each of title, date, neighbour number, 6 column and 8 row
    // numbers, and the 48 tiles.
    EXPECT_EQ(65u, Count(PageContent(path, 1), "BT\n"));

    // Tiles filled with their colours at their true size: 26.6 mm apart from 20.64 mm.
    const cv::Mat page = Render(path, 1);
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(Bgr(TestCellColour(20, 0, 0)), PixelAt(page, 2564, -2564));
    EXPECT_EQ(Bgr(TestCellColour(20, 5, 7)), PixelAt(page, 2064 + 5 * 2660 + 500,
                                                     -(2064 + 7 * 2660 + 500)));
    EXPECT_EQ(cv::Vec3b(0, 0, 0), PixelAt(page, 2064 + 2660, -(2064 + 1330)));
}

TEST_F(PlanPdf, ImperialPlanComesOutAtTrueSize)
{
    // Tiles of 0.984 in with joints of 0.063 in: the metric plan's 25 mm and 1.6 mm.
    m_pDoc->unites = 1;
    m_pDoc->taillecar = 984;
    m_pDoc->intercar = 63;
    m_pDoc->impression = 3;
    const std::string path = WritePlan(L"imperial.pdf");
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("5", InfoValue(PdfInfo(path), "Pages"));
    EXPECT_EQ((std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}), Numbers(PageText(path, 1)));

    const cv::Mat page = Render(path, 1);
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(Bgr(TestCellColour(20, 0, 0)), PixelAt(page, 2564, -2564));
    EXPECT_EQ(Bgr(TestCellColour(20, 5, 7)), PixelAt(page, 2064 + 5 * 2660 + 500,
                                                     -(2064 + 7 * 2660 + 500)));
}

TEST_F(PlanPdf, ThumbnailWithThePlateOutlined)
{
    const CString strThumbnail = m_folder.Path(L"thumb.jpg");
    cv::imwrite(UnixPath(strThumbnail), cv::Mat(80, 100, CV_8UC3, cv::Scalar(0, 0, 255)));
    m_pDoc->m_thumbWidth = 100;
    m_pDoc->m_thumbHeight = 80;
    m_pDoc->m_thumbOffsetX = m_pDoc->m_thumbOffsetY = 0;
    m_pDoc->imprVignettes = 1;
    m_pDoc->m_printLast = 1;
    const std::string path = WritePlan(L"thumbnail.pdf", strThumbnail);
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("2", InfoValue(PdfInfo(path), "Pages"));

    // 100 x 80 points from 12.5 mm right of the left edge and 55 mm above the bottom.
    const cv::Mat page = Render(path, 1);
    ASSERT_FALSE(page.empty());
    const int x0 = 1250, y0 = 5500 - 29700;
    const cv::Vec3b red = PixelAt(page, x0 + 2000, y0 + 1400);
    EXPECT_LT(red[0], 40);
    EXPECT_LT(red[1], 40);
    EXPECT_GT(red[2], 215);
    // Plate 1 is the left 8 of 20 columns, the whole height: its frame in its colour.
    const COLORREF frame = m_pDoc->FindPlaqueByNumber(1)->m_colour;
    const cv::Vec3b edge = PixelAt(page, x0 + 35 * 100 * 8 / 20 + 10, y0 + 1400);
    EXPECT_NEAR(GetRValue(frame), edge[2], 40);
    EXPECT_NEAR(GetGValue(frame), edge[1], 40);
    EXPECT_NEAR(GetBValue(frame), edge[0], 40);
}

// Where each colour of the test mosaic shows in a BGR picture: the middle of its pixels.
std::vector<cv::Point2d> ColourCentres(const cv::Mat& picture, int nColours)
{
    std::vector<cv::Point2d> sums(nColours + 1, cv::Point2d(0, 0));
    std::vector<int> counts(nColours + 1, 0);
    std::map<int, int> index;
    for (int c = 1; c <= nColours; c++)
    {
        BYTE rgb[3];
        TestColour(c, rgb);
        index[RGB(rgb[2], rgb[1], rgb[0])] = c;
    }
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
        {
            const cv::Vec3b& p = picture.at<cv::Vec3b>(y, x);
            const auto found = index.find(RGB(p[0], p[1], p[2]));
            if (found == index.end())
                continue;
            sums[found->second] += cv::Point2d(x, y);
            counts[found->second]++;
        }
    std::vector<cv::Point2d> centres(nColours + 1, cv::Point2d(-1, -1));
    for (int c = 1; c <= nColours; c++)
        if (counts[c] > 0)
            centres[c] = sums[c] / counts[c];
    return centres;
}

// Triangles of 44 and 45 rows on the screen, in the exported picture and on the laying plan:
// every row that holds tiles is drawn in all three, row 0 of 45 (all holes) in none, and each
// tile lies where it lies in the other two, counted in tiles from the first one.
TEST_F(PlanPdf, TrianglesAreTheSameMosaicOnScreenInThePictureAndOnThePlan)
{
    m_app.Frame()->SetWindowPos(NULL, 0, 0, 800, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    for (int nRows : {44, 45})
    {
        SCOPED_TRACE(testing::Message() << nRows << " rows");
        const int nCols = 5, n = 12;
        LoadTestMosaic(*m_pDoc, nCols, nRows, PavingTriangles, n);
        m_pDoc->taillecar = 500;
        m_pDoc->intercar = 100;
        m_pDoc->m_pitch = 600;
        m_pDoc->carplaquex = m_pDoc->carplaquey = 100;
        m_pDoc->impression = 3;
        m_pDoc->regles = 0;
        m_pDoc->m_printFirst = m_pDoc->m_printLast = 1;
        m_pDoc->UpdateAllViews(NULL);
        m_pView->Invalidate();
        m_pView->UpdateWindow();
        PumpMessages();
        const CRasterImage& screenImage = m_pDoc->m_screenImage;
        cv::Mat screen;
        screenImage.CopyToMat(screen);
        cv::Mat picture;
        m_pDoc->RenderExportPicture(picture);
        const std::string path = WritePlan(nRows == 44 ? L"even.pdf" : L"odd.pdf");
        EXPECT_EQ("1", InfoValue(PdfInfo(path), "Pages"));
        const std::string prefix = UnixPath(m_folder.Path(L"triangles"));
        RunCommand("pdftoppm -r 144 -aa no -aaVector no -png -singlefile " + Quoted(path) + " " +
                   Quoted(prefix));
        const cv::Mat plan = cv::imread(prefix + ".png");
        ASSERT_FALSE(plan.empty());
        const double planPitch = 600 / 2540.0 * 144;

        const int nColours = nCols * nRows;
        const struct
        {
            const char* name;
            std::vector<cv::Point2d> centres;
            double pitch;
        } media[] = {{"screen", ColourCentres(screen, nColours), (double)n},
                     {"picture", ColourCentres(picture, nColours), (double)n},
                     {"plan", ColourCentres(plan, nColours), planPitch}};
        const int first = FirstPavingRow(PavingTriangles, nRows);
        const cv::Point2d* reference[3];
        for (int m = 0; m < 3; m++)
            reference[m] = &media[m].centres[TestCellColour(nCols, 1, first)];
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
            {
                int kind = 0, shape = 0;
                const bool laid = !(PavingBorderCell(PavingTriangles, nCols, nRows, col, row,
                                                     kind, shape) &&
                                    shape == ShapeHole);
                const int colour = TestCellColour(nCols, col, row);
                for (int m = 0; m < 3; m++)
                {
                    const cv::Point2d& at = media[m].centres[colour];
                    EXPECT_EQ(laid, at.x >= 0)
                        << media[m].name << ", tile " << col << "," << row;
                    if (!laid || at.x < 0 || m == 0)
                        continue;
                    // In tiles from the reference tile, as on the screen.
                    const cv::Point2d here = (at - *reference[m]) / media[m].pitch;
                    const cv::Point2d there =
                        (media[0].centres[colour] - *reference[0]) / media[0].pitch;
                    EXPECT_NEAR(there.x, here.x, 0.2)
                        << media[m].name << ", tile " << col << "," << row;
                    EXPECT_NEAR(there.y, here.y, 0.2)
                        << media[m].name << ", tile " << col << "," << row;
                }
            }
    }
}

}   // namespace
