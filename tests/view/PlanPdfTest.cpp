// Laying-plan pages painted by the view in a real frame into a real PDF, as the plan command
// drives them, and read back with qpdf and poppler's tools.
#include "MosaicTest.h"

#include <stdio.h>

#include <algorithm>
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
#include "text/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

// A box in points from the page's top-left corner, y downwards, as poppler gives them.
struct PointBox
{
    double x0, y0, x1, y1;
    std::string text;
};

// Boxes that share more than a hair's breadth of area.
bool Overlap(const PointBox& a, const PointBox& b)
{
    const double eps = 0.05;
    return a.x0 < b.x1 - eps && b.x0 < a.x1 - eps && a.y0 < b.y1 - eps && b.y0 < a.y1 - eps;
}

bool Inside(const PointBox& a, const PointBox& b)
{
    return a.x0 >= b.x0 && a.x1 <= b.x1 && a.y0 >= b.y0 && a.y1 <= b.y1;
}

std::ostream& operator<<(std::ostream& out, const PointBox& box)
{
    return out << "\"" << box.text << "\" (" << box.x0 << ", " << box.y0 << ")-(" << box.x1
               << ", " << box.y1 << ")";
}

// The words of each page of a PDF with their boxes, as pdftotext finds them.
std::vector<std::vector<PointBox>> WordBoxes(const std::string& path)
{
    std::vector<std::vector<PointBox>> pages;
    std::istringstream lines(RunCommand("pdftotext -bbox " + Quoted(path) + " -"));
    std::string line;
    while (std::getline(lines, line))
    {
        if (line.find("<page ") != std::string::npos)
            pages.emplace_back();
        PointBox word;
        const size_t open = line.find('>'), close = line.find("</word>");
        if (!pages.empty() &&
            sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"",
                   &word.x0, &word.y0, &word.x1, &word.y1) == 4 &&
            close != std::string::npos)
        {
            word.text = line.substr(open + 1, close - open - 1);
            pages.back().push_back(word);
        }
    }
    return pages;
}

// Paper of each PaperFormat in hundredths of a millimetre and in points.
const struct
{
    int width, height, widthPt, heightPt;
} kPapers[] = {{21000, 29700, 595, 842},   {21600, 27900, 612, 792},
               {29700, 42000, 842, 1191},  {42000, 59400, 1191, 1684},
               {59400, 84100, 1684, 2384}, {84100, 118900, 2384, 3370}};

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

    // Fitted into the 27.5 mm square at the left end of the bottom band, 10 mm from the
    // left edge and on the drawable page's bottom, 6 mm above the paper's: 27.5 x 22 mm.
    const cv::Mat page = Render(path, 1);
    ASSERT_FALSE(page.empty());
    const int x0 = 1000, y0 = 275 - 29100;
    const cv::Vec3b red = PixelAt(page, x0 + 1375, y0 + 1100);
    EXPECT_LT(red[0], 40);
    EXPECT_LT(red[1], 40);
    EXPECT_GT(red[2], 215);
    EXPECT_EQ(cv::Vec3b(255, 255, 255), PixelAt(page, x0 + 1375, y0 - 150));
    // Plate 1 is the left 8 of 20 columns, the whole height: its frame in its colour.
    const COLORREF frame = m_pDoc->FindPlaqueByNumber(1)->m_colour;
    const cv::Vec3b edge = PixelAt(page, x0 + 2750 * 8 / 20, y0 + 1100);
    EXPECT_NEAR(GetRValue(frame), edge[2], 40);
    EXPECT_NEAR(GetGValue(frame), edge[1], 40);
    EXPECT_NEAR(GetBValue(frame), edge[0], 40);
}

// Plans of every paper and pattern, with the default and small tiles, thumbnails and rulers:
// on a plate's first page and on a page with neighbours on all four sides, no text lies on
// the tiles, on the thumbnail, the logo, the arrows or another text, and every whole tile
// shows its colour.
TEST_F(PlanPdf, NothingCoversTheTilesOrTheTitleOnAnyPaperOrPattern)
{
    const CString strThumbnail = m_folder.Path(L"thumb.jpg");
    cv::imwrite(UnixPath(strThumbnail), cv::Mat(80, 100, CV_8UC3, cv::Scalar(0, 0, 255)));
    const cv::Mat logo = cv::imread(UnixPath(ShippedDataFolder() + L"LogoMosaic.jpg"));
    ASSERT_FALSE(logo.empty());
    m_pDoc->m_thumbWidth = 100;
    m_pDoc->m_thumbHeight = 80;
    m_pDoc->m_thumbOffsetX = m_pDoc->m_thumbOffsetY = 0;
    m_pDoc->imprVignettes = 1;
    m_pDoc->impression = 3;

    struct Case
    {
        int format, type, tile;
    };
    std::vector<Case> cases;
    for (int type = 0; type < PavingTypeCount; type++)
    {
        for (int format = 0; format <= 5; format++)
            cases.push_back({format, type, 2500});
        cases.push_back({0, type, 840});
        cases.push_back({2, type, 1840});
    }
    struct Sample
    {
        POINT point;
        int colour;
    };
    struct Page
    {
        Case c;
        int nPage, P;
        CRect cell;
        CVitrolanView::PlanLayout layout;
        int height;
        std::vector<Sample> tiles;
    };
    std::vector<Page> pages;

    const std::string path = UnixPath(m_folder.Path(L"papers.pdf"));
    CPdf* pPdf = m_pView->GetPdf();
    pPdf->SetPaperSize(0);
    ASSERT_EQ(PdfStartOk, pPdf->StartPdf(ShippedDataFolder(), m_folder.Path(L"papers.pdf"), L"",
                                         strThumbnail));
    for (const Case& c : cases)
    {
        // A plate of 3 x 3 pages.
        const int nPaper = pPdf->SetPaperSize(c.format);
        const int P = c.tile + 160;
        m_pDoc->format = c.format;
        m_pDoc->m_pavingType = c.type;
        m_pDoc->m_pitch = P;
        m_pView->InitPageMetrics();
        ASSERT_TRUE(m_pView->PaginatePlaques());
        const int across = 3 * m_pView->GetPageMetrics().columns;
        const int down = 3 * m_pView->GetPageMetrics().rows;
        LoadTestMosaic(*m_pDoc, across, down, c.type, 10);
        m_pDoc->taillecar = c.tile;
        m_pDoc->m_pitch = P;
        m_pDoc->carplaquex = across;
        m_pDoc->carplaquey = down;
        m_pDoc->m_printFirst = m_pDoc->m_printLast = 1;
        m_pDoc->BuildPlaques();
        m_pDoc->m_planPage = 1;
        ASSERT_TRUE(m_pView->PaginatePlaques());
        ASSERT_EQ(9, m_pView->GetPageMetrics().pageCount);
        CTileOutlines outlines;
        outlines.m_pavingType = c.type;
        outlines.m_pitch = P;
        for (int nPage : {1, 5})
        {
            pPdf->StartPage(nPaper);
            m_pView->RenderPage(nPage - 1);
            EXPECT_EQ(0, pPdf->EndPage());
            Page page = {c, nPage, P, CRect(), m_pView->ComputePlanLayout(P), 0, {}};
            ASSERT_TRUE(m_pView->GetPageCell(m_pDoc->FindPlaqueByNumber(1), nPage, page.cell));
            page.height = TestPlanRowsHeight(c.type, P, down, page.cell.top, page.cell.Height());
            for (int r = page.cell.top; r < page.cell.bottom; r++)
                for (int col = page.cell.left; col < page.cell.right; col++)
                {
                    int shape, kind, a, b, cc, d, va, vb, vc, vd;
                    m_pDoc->m_committedMap.GetCell(col, r, shape, kind, a, b, cc, d, va, vb, vc,
                                                   vd);
                    const int y = page.layout.gridOrigin.y -
                                  TestPlanRowsHeight(c.type, P, down, page.cell.top,
                                                     r - page.cell.top + 1) + P;
                    const int x = page.layout.gridOrigin.x + (col - page.cell.left) * P +
                                  outlines.RowOffset(down, r);
                    if (shape == 0 && kind == 0)
                        page.tiles.push_back({{x + P / 2, y - P / 2}, a});
                }
            pages.push_back(page);
        }
        m_pDoc->m_planPage = 0;
    }
    EXPECT_TRUE(pPdf->EndPdf());
    ASSERT_EQ("ok", QpdfCheck(path));

    const std::vector<std::vector<PointBox>> words = WordBoxes(path);
    ASSERT_EQ(pages.size(), words.size());
    const std::string plate = Utf8(GetLangText(TXT_PLATE));
    for (size_t i = 0; i < pages.size(); i++)
    {
        const Page& page = pages[i];
        const CVitrolanView::PlanLayout& layout = page.layout;
        SCOPED_TRACE(testing::Message() << "page " << page.nPage << ", paper " << page.c.format
                                        << ", type " << page.c.type << ", pitch " << page.P);
        const auto& paper = kPapers[page.c.format];
        auto box = [&](double left, double top, double right, double bottom, const char* name) {
            return PointBox{left * paper.widthPt / paper.width, -top * paper.heightPt / paper.height,
                            right * paper.widthPt / paper.width,
                            -bottom * paper.heightPt / paper.height, name};
        };
        const int stagger = page.c.type == PavingSquares ? 0 : page.P / 2;
        std::vector<PointBox> regions = {
            box(layout.gridOrigin.x, layout.gridOrigin.y,
                layout.gridOrigin.x + page.cell.Width() * page.P + stagger,
                layout.gridOrigin.y - page.height, "tiles"),
            box(layout.thumbnail.left, layout.thumbnail.top, layout.thumbnail.right,
                layout.thumbnail.bottom, "thumbnail"),
            // The logo: a tenth of a point per pixel, 54 mm left of the paper's right edge and
            // 6.5 mm above its bottom.
            box(paper.width - 5400, 650 - paper.height + logo.rows * 0.1 * paper.height /
                                                            paper.heightPt,
                paper.width - 5400 + logo.cols * 0.1 * paper.width / paper.widthPt,
                650 - paper.height, "logo")};
        // Each neighbour's number box with its arrow, on the side where there is one.
        const int L = 600;
        const BOOL neighbours[4] = {page.cell.left > 0, page.cell.right < 3 * page.cell.Width(),
                                    page.cell.top > 0, page.nPage < 7};
        for (int side = 0; side < 4; side++)
        {
            if (!neighbours[side])
                continue;
            const RECT& r = layout.neighbours[side];
            const int w = r.right - r.left, h = r.top - r.bottom;
            // Side arrows lie below their number, the others beside it; the upper one's tip
            // reaches above its box.
            if (side <= 1)
                regions.push_back(box(r.left, r.top, r.right, r.bottom - L - h / 3, "arrow"));
            else
                regions.push_back(box(r.left - L - w / 3, r.top + (side == 2 ? w / 8 : 0),
                                      r.right, r.bottom, "arrow"));
        }
        for (size_t a = 0; a < regions.size(); a++)
            for (size_t b = a + 1; b < regions.size(); b++)
                EXPECT_FALSE(Overlap(regions[a], regions[b])) << regions[a] << " on " << regions[b];

        const std::vector<PointBox>& texts = words[i];
        std::string all;
        for (const PointBox& word : texts)
            all += word.text + " ";
        EXPECT_NE(std::string::npos, all.find(plate + " 1 (" + std::to_string(page.nPage) + ")"))
            << all;
        EXPECT_NE(std::string::npos, all.find("Garden - ")) << all;
        for (size_t a = 0; a < texts.size(); a++)
        {
            for (const PointBox& region : regions)
            {
                if (!(region.text == "arrow" && Inside(texts[a], region)))
                    EXPECT_FALSE(Overlap(texts[a], region)) << texts[a] << " on " << region;
            }
            for (size_t b = a + 1; b < texts.size(); b++)
                EXPECT_FALSE(Overlap(texts[a], texts[b])) << texts[a] << " on " << texts[b];
        }

        // Scales are outlines with no fill.
        if (page.c.type == PavingScales1 || page.c.type == PavingScales2)
            continue;
        // Every paper at the pixels of A4 at 72 dpi: a tile is at least 9 pixels wide.
        const double dpi = 72.0 * kPapers[0].widthPt / paper.widthPt;
        const std::string prefix = UnixPath(m_folder.Path(L"render"));
        const std::string number = std::to_string(i + 1);
        RunCommand("pdftoppm -r " + std::to_string(dpi) + " -png -singlefile -f " + number +
                   " -l " + number + " " + Quoted(path) + " " + Quoted(prefix));
        const cv::Mat image = cv::imread(prefix + ".png");
        ASSERT_FALSE(image.empty());
        int nCovered = 0;
        for (const Sample& tile : page.tiles)
        {
            const double scale = dpi / 72;
            const cv::Vec3b pixel = image.at<cv::Vec3b>(
                (int)(-tile.point.y * paper.heightPt / paper.height * scale),
                (int)(tile.point.x * paper.widthPt / paper.width * scale));
            if (pixel != Bgr(tile.colour) && nCovered++ < 3)
                ADD_FAILURE() << "tile at " << tile.point.x << ", " << tile.point.y << " shows "
                              << pixel << " for colour " << tile.colour;
        }
        EXPECT_EQ(0, nCovered) << "of " << page.tiles.size() << " whole tiles";
        EXPECT_FALSE(page.tiles.empty());
    }
}

// Without labels the tiles are outlined in the joint colour; white joints would leave white
// lines on white paper, so they are darkened until they show.
TEST_F(PlanPdf, OutlinesShowWhateverTheJointColour)
{
    m_pDoc->impression = 3;
    m_pDoc->imprCouleurs = 0;
    m_pDoc->regles = 0;
    m_pDoc->m_printLast = 1;
    const struct
    {
        BYTE joint[3];
        int darkest;
    } cases[] = {{{255, 255, 255}, 160}, {{255, 255, 0}, 160}, {{40, 40, 200}, 210},
                 {{0, 0, 0}, 20}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << (int)c.joint[0] << ", " << (int)c.joint[1] << ", "
                                        << (int)c.joint[2]);
        memcpy(m_pDoc->m_colourTable[1], c.joint, 3);
        const std::string path = WritePlan(L"outlines.pdf");
        const cv::Mat page = Render(path, 1);
        ASSERT_FALSE(page.empty());
        // Across the joint between the first two columns, half way down the first row.
        int darkest = 255;
        for (int x = 2064 + 2660 - 150; x <= 2064 + 2660 + 150; x += 20)
        {
            const cv::Vec3b pixel = PixelAt(page, x, -(2064 + 1330));
            darkest = std::min(darkest, (pixel[0] + pixel[1] + pixel[2]) / 3);
        }
        EXPECT_LE(darkest, c.darkest);
        // Inside the tiles the paper stays white.
        EXPECT_EQ(cv::Vec3b(255, 255, 255), PixelAt(page, 2064 + 1330, -(2064 + 1330)));
        DeleteFileW(m_folder.Path(L"outlines.pdf"));
    }
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
