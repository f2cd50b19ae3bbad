// The PDF page layer writes real files, checked with qpdf and poppler's tools.
#include "MosaicTest.h"

#include "OpenCv.h"
#include "Pdf.h"
#include "PdfChecks.h"
#include "WriteFailures.h"
#include "model/TextTestFiles.h"

#include <locale.h>
#include <stdio.h>

#include <functional>
#include <sstream>

namespace
{

class PdfTest : public testing::Test
{
protected:
    PdfTest() : m_opened(m_folder.Path(L"opened.txt")) {}

    // A JPEG of w x h pixels in one colour, as the logo, picture and thumbnail are.
    CString WriteJpeg(LPCWSTR lpszName, int w, int h, cv::Scalar bgr)
    {
        const CString strPath = m_folder.Path(lpszName);
        cv::imwrite(UnixPath(strPath), cv::Mat(h, w, CV_8UC3, bgr));
        return strPath;
    }

    // One document of one page drawn by draw; the page's file path.
    std::string WritePage(const std::function<void(CPdf&)>& draw, int nPaperFormat = 0,
                          LPCWSTR lpszName = L"page.pdf")
    {
        CPdf pdf;
        const int nPage = pdf.SetPaperSize(nPaperFormat);
        EXPECT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(lpszName), L"", L""));
        pdf.StartPage(nPage);
        draw(pdf);
        EXPECT_EQ(0, pdf.EndPage());
        EXPECT_TRUE(pdf.EndPdf());
        return UnixPath(m_folder.Path(lpszName));
    }

    std::string Opened() { return m_folder.ReadBytes(L"opened.txt"); }

    // The page as pixels, one pixel per point (BGR).
    cv::Mat Render(const std::string& path)
    {
        const std::string prefix = UnixPath(m_folder.Path(L"render"));
        RunCommand("pdftoppm -r 72 -png -singlefile " + Quoted(path) + " " + Quoted(prefix));
        return cv::imread(prefix + ".png");
    }

    CTempFolder m_folder;
    CPdfOpenRecorder m_opened;
};

// pdfinfo's "Page size" for each paper, one page each in one document.
TEST_F(PdfTest, PaperFormatsGiveTheirPageSizesAndDeviceCaps)
{
    struct Case
    {
        int nFormat;
        int nPaperWidth, nPaperHeight;
        const char* pszPageSize;
    } cases[] = {
        {0, 21000, 29700, "595 x 842 pts (A4)"},    {1, 21600, 27900, "612 x 792 pts (letter)"},
        {2, 29700, 42000, "842 x 1191 pts (A3)"},   {3, 42000, 59400, "1191 x 1684 pts (A2)"},
        {4, 59400, 84100, "1684 x 2384 pts (A1)"},  {5, 84100, 118900, "2384 x 3370 pts (A0)"},
        {-1, 21000, 29700, "595 x 842 pts (A4)"}, {6, 21000, 29700, "595 x 842 pts (A4)"},
    };
    CPdf pdf;
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"sizes.pdf"), L"", L""));
    for (const Case& c : cases)
    {
        pdf.StartPage(pdf.SetPaperSize(c.nFormat));
        EXPECT_EQ(c.nPaperWidth - 600, pdf.GetDeviceCaps(HORZSIZE)) << c.nFormat;
        EXPECT_EQ(c.nPaperHeight - 600, pdf.GetDeviceCaps(VERTSIZE)) << c.nFormat;
        EXPECT_EQ(0, pdf.GetDeviceCaps(LOGPIXELSX));
        EXPECT_EQ(0, pdf.EndPage());
    }
    ASSERT_TRUE(pdf.EndPdf());

    const std::string path = UnixPath(m_folder.Path(L"sizes.pdf"));
    EXPECT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ(std::to_string(ARRAYSIZE(cases)), InfoValue(PdfInfo(path), "Pages"));
    for (int i = 0; i < (int)ARRAYSIZE(cases); i++)
        EXPECT_EQ(cases[i].pszPageSize, PageSize(path, i + 1)) << cases[i].nFormat;
}

TEST_F(PdfTest, CoordinatesMapTheCornersAndKeepOneScale)
{
    CPdf pdf;
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"c.pdf"), L"", L""));
    for (int nFormat = 0; nFormat < 6; nFormat++)
    {
        pdf.StartPage(pdf.SetPaperSize(nFormat));
        const int W = pdf.m_nPaperWidth, H = pdf.m_nPaperHeight;
        EXPECT_EQ(0, pdf.ToPageX(0));
        EXPECT_EQ(pdf.m_nPageHeightPt, pdf.ToPageY(0));
        EXPECT_EQ(pdf.m_nPageWidthPt, pdf.ToPageX(W));
        EXPECT_EQ(0, pdf.ToPageY(-H));
        // 100 mm are 283.46 points across and down, give or take the rounding of the
        // paper to whole points; lengths convert back without the offset.
        EXPECT_NEAR(283, pdf.ToPageX(10000), 1) << nFormat;
        EXPECT_NEAR(283, pdf.ToPageY(0) - pdf.ToPageY(-10000), 1) << nFormat;
        EXPECT_NEAR(10000, pdf.FromPageX(283), 40) << nFormat;
        EXPECT_NEAR(10000, pdf.FromPageY(283), 40) << nFormat;
        pdf.EndPage();
    }
    pdf.EndPdf();

    // A0's two scales agree, so that a circle stays round.
    pdf.SetPaperSize(5);
    pdf.m_nPageWidthPt = 2384;
    pdf.m_nPageHeightPt = 3370;
    for (int nLength : {1000, 10000, 50000, 84100})
        EXPECT_EQ(pdf.ToPageX(nLength), pdf.ToPageY(0) - pdf.ToPageY(-nLength)) << nLength;
}

// Every drawing operator comes in an order a strict reader accepts: no state change
// between a path's start and its painting, and no path left unpainted.
TEST_F(PdfTest, PathsArePaintedBeforeAnyStateChanges)
{
    const std::string path = WritePage([](CPdf& pdf) {
        CBrush brush;
        brush.CreateSolidBrush(RGB(255, 0, 0));
        CPen pen;
        pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
        pdf.SelectPen(&pen);
        pdf.MoveTo(1000, -1000);
        pdf.LineTo(5000, -1000);
        pdf.LineTo(5000, -5000);   // goes on from the end of the last line
        pdf.SelectBrush(&brush);
        pdf.Rectangle(CRect(1000, -6000, 5000, -9000));
        pdf.Ellipse(CRect(6000, -6000, 10000, -8000));
        const POINT triangle[] = {{1000, -10000}, {5000, -10000}, {3000, -13000}};
        pdf.Polygon(triangle, 3);
        pdf.ArcTo(CRect(6000, -10000, 10000, -14000), CPoint(10000, -12000),
                  CPoint(6000, -12000));
        pdf.DrawText(14, L"Plan", CRect(1000, -15000, 9000, -17000), 1, 4);
    });
    ASSERT_EQ("ok", QpdfCheck(path));

    std::istringstream content(PageContent(path));
    const std::string painting = " S s f f* B B* b b* n ";
    const std::string construction = " m l c v y re h ";
    bool bInPath = false;
    int nPaths = 0;
    std::string token, previous;
    while (content >> token)
    {
        if (token[0] == '<' || token[0] == '(' || token[0] == '/' || token[0] == '[' ||
            isdigit((unsigned char)token[0]) || token[0] == '-' || token[0] == '.')
            continue;   // operands
        const std::string op = " " + token + " ";
        if (construction.find(op) != std::string::npos)
            bInPath = true;
        else if (painting.find(op) != std::string::npos)
        {
            EXPECT_TRUE(bInPath) << token << " without a path";
            bInPath = false;
            nPaths++;
        }
        else
            EXPECT_FALSE(bInPath) << token << " inside a path, after " << previous;
        previous = token;
    }
    EXPECT_FALSE(bInPath);
    // Two lines, a filled and stroked rectangle, circle and triangle, two radii and two
    // Bezier segments of the half circle.
    EXPECT_EQ(2 + 3 * 2 + 2 + 2, nPaths);
}

TEST_F(PdfTest, LineIsOneBlackSegmentInWholePoints)
{
    const std::string path = WritePage([](CPdf& pdf) {
        CPen pen;
        pen.CreatePen(PS_SOLID, 5, RGB(0, 0, 255));
        pdf.SelectPen(&pen);
        pdf.MoveTo(0, 0);
        pdf.LineTo(21000, -29700);
    });
    const std::string content = PageContent(path);
    EXPECT_EQ(0u, content.find("q\n2 w\n0 0 0 RG\n0 842 m\n595 0 l\nS\nQ\n")) << content;
}

// Pixels of the rendered page (one per point, y from the top) where the shapes are.
TEST_F(PdfTest, ShapesCoverTheirPixels)
{
    const std::string path = WritePage([](CPdf& pdf) {
        CBrush red;
        red.CreateSolidBrush(RGB(255, 0, 0));
        pdf.SelectBrush(&red);
        // A wide rectangle gives a circle of half its width: 100 pt across, 50 high.
        pdf.Ellipse(CRect(3528, -3528, 7056, -5292));
        // After an arc nothing is filled until the next brush.
        pdf.Arc(10584, -3528, 14112, -7056, 14112, -5292, 10584, -5292);
        pdf.Rectangle(CRect(3528, -10584, 7056, -14112));
        // Half a circle between two diagonal points, anticlockwise through the lower right.
        pdf.Arc(3528, -17640, 7056, -21168, 4045, -20651, 6539, -18157);
        // Bottom above top: drawn between its edges all the same.
        pdf.SelectBrush(&red);
        pdf.Rectangle(CRect(10584, -14112, 14112, -10584));
    });
    const cv::Mat page = Render(path);
    ASSERT_FALSE(page.empty());
    auto at = [&](int x, int y) { return page.at<cv::Vec3b>(y, x); };
    const cv::Vec3b red(0, 0, 255), white(255, 255, 255);
    // Circle centred at (150, 125), radius 50, below the rectangle's bottom at 150 too.
    EXPECT_EQ(red, at(150, 80));
    EXPECT_EQ(red, at(150, 170));
    EXPECT_EQ(white, at(110, 90));
    // Upper half circle centred at (350, 150), radius 50: its top is drawn, its inside empty.
    EXPECT_LT(at(350, 100)[0], 100);
    EXPECT_EQ(white, at(350, 130));
    EXPECT_EQ(white, at(350, 180));
    // The diagonal half circle centred at (150, 550): its outer arc is drawn, the other
    // half of the circle is not.
    EXPECT_LT(at(185, 585)[0], 100);
    EXPECT_EQ(white, at(115, 515));
    EXPECT_EQ(white, at(170, 570));
    // The rectangle after the arc: outlined only.
    EXPECT_EQ(white, at(150, 350));
    EXPECT_LT(at(150, 300)[1], 100);
    // The swapped rectangle covers 300 to 400 down, not 200 to 300.
    EXPECT_EQ(red, at(350, 350));
    EXPECT_EQ(white, at(350, 250));
}

TEST_F(PdfTest, TextsAreShownWhereAligned)
{
    const CRect box(3528, -3528, 14112, -7056);   // 100 to 400 pt across, 100 to 200 down
    const std::string path = WritePage([&](CPdf& pdf) {
        pdf.SetTextColor(RGB(0, 0, 255));
        pdf.DrawText(14, L"Gauche", box, 0, 0);
        pdf.DrawText(14, L"Centre", box, 1, 4);
        pdf.DrawText(14, L"Droite", box, 2, 8);
        pdf.TextOut(3528, -10584, L"Mosa\u00efque \u20ac");
        pdf.TextOut(3528, -12000, L"");
    });
    ASSERT_EQ("ok", QpdfCheck(path));
    const std::string text = RunCommand("pdftotext " + Quoted(path) + " - 2>&1");
    EXPECT_NE(std::string::npos, text.find("Mosa\xC3\xAFque \xE2\x82\xAC")) << text;
    // An empty text is still one text object, showing a blank.
    const std::string content = PageContent(path);
    size_t nTexts = 0;
    for (size_t at = content.find("Tj"); at != std::string::npos; at = content.find("Tj", at + 1))
        nTexts++;
    EXPECT_EQ(5u, nTexts);
    EXPECT_NE(std::string::npos, content.find("0 0 1 rg")) << content;

    // Word boxes (xMin, yMin, xMax, yMax from the top) of pdftotext's HTML report.
    const std::string boxes = RunCommand("pdftotext -bbox " + Quoted(path) + " - 2>&1");
    auto wordBox = [&](const std::string& word, double* box) {
        const size_t end = boxes.find(">" + word + "<");
        const size_t start = boxes.rfind("<word", end);
        return end != std::string::npos &&
               sscanf(boxes.c_str() + start,
                      "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &box[0],
                      &box[1], &box[2], &box[3]) == 4;
    };
    double left[4], centre[4], right[4];
    ASSERT_TRUE(wordBox("Gauche", left)) << boxes;
    ASSERT_TRUE(wordBox("Centre", centre)) << boxes;
    ASSERT_TRUE(wordBox("Droite", right)) << boxes;
    // Left and top: starts at the left edge, baseline on the top edge (the word above it).
    EXPECT_NEAR(100, left[0], 1);
    EXPECT_NEAR(100, left[3], 4);
    // Centred both ways, trailing blank included in the width.
    EXPECT_NEAR(250, (centre[0] + centre[2]) / 2, 4);
    EXPECT_NEAR(150, (centre[1] + centre[3]) / 2, 4);
    // Right and bottom: ends at the right edge (the blank's outline is empty, so the
    // measured width ends where the blank starts), baseline on the bottom edge.
    EXPECT_NEAR(400, right[2], 2);
    EXPECT_NEAR(200, right[3], 4);
}

// The logo lies 54 mm left of the right edge and 6.5 mm above the bottom one, a tenth of a
// point per pixel; the link to the maker's site is beside it, its corners in order.
TEST_F(PdfTest, PagesCarryLogoAndLink)
{
    WriteJpeg(L"LogoMosaic.jpg", 200, 100, cv::Scalar(0, 160, 0));
    const std::string path = WritePage([](CPdf& pdf) { EXPECT_NE(nullptr, pdf.m_pLogoForm); });
    const std::string content = PageContent(path);
    EXPECT_NE(std::string::npos, content.find("q\n0.1 0 0 0.1 442 18 cm\n/")) << content;
    const std::string qdf = QdfText(path);
    EXPECT_NE(std::string::npos, qdf.find("/URI (https://www.orbalith.com/)")) << qdf;
    EXPECT_NE(std::string::npos, qdf.find("/Rect [\n    482\n    6\n    538\n    23\n  ]"))
        << qdf;
    const cv::Mat page = Render(path);
    ASSERT_FALSE(page.empty());
    const cv::Vec3b logo = page.at<cv::Vec3b>(842 - 23, 452);
    EXPECT_LT(logo[0], 60);
    EXPECT_GT(logo[1], 120);
}

// However often the window repaints during a page, one paint draws it.
TEST_F(PdfTest, EachPageIsGivenToOnePaint)
{
    CPdf pdf;
    EXPECT_FALSE(pdf.BeginPageDrawing());
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"p.pdf"), L"", L""));
    EXPECT_FALSE(pdf.BeginPageDrawing());
    for (int nPage = 0; nPage < 2; nPage++)
    {
        pdf.StartPage(0);
        EXPECT_TRUE(pdf.IsPageOpen());
        EXPECT_TRUE(pdf.BeginPageDrawing());
        EXPECT_FALSE(pdf.BeginPageDrawing());
        pdf.EndPage();
        EXPECT_FALSE(pdf.IsPageOpen());
        EXPECT_FALSE(pdf.BeginPageDrawing());
    }
    pdf.EndPdf();
}

// Drawing goes through nothing absent: not after a failed start, nor on a closed layer.
void DrawEverything(CPdf& pdf)
{
    pdf.StartPage(0);
    EXPECT_FALSE(pdf.BeginPageDrawing());
    CBrush brush;
    brush.CreateSolidBrush(RGB(0, 128, 0));
    pdf.SelectBrush(&brush);
    pdf.MoveTo(0, 0);
    pdf.LineTo(1000, -1000);
    pdf.Rectangle(CRect(0, 0, 1000, -1000));
    pdf.Ellipse(CRect(0, 0, 1000, -1000));
    const POINT points[] = {{0, 0}, {100, 0}, {0, -100}};
    pdf.Polygon(points, 3);
    pdf.ArcTo(CRect(0, 0, 1000, -1000), CPoint(1000, -500), CPoint(0, -500));
    pdf.DrawText(14, L"x", CRect(0, 0, 1000, -1000), 1, 4);
    pdf.TextOut(0, 0, L"x");
    pdf.PlaceForm(pdf.m_pPictureForm, 1, 0, 0);
    EXPECT_NE(0, pdf.EndPage());
}

TEST_F(PdfTest, FailedStartLeavesTheLayerClosedAndOpensNothing)
{
    CPdf pdf;
    DrawEverything(pdf);
    EXPECT_FALSE(pdf.EndPdf());

    const CString strPlan = m_folder.Path(L"no such folder\\plan.pdf");
    EXPECT_EQ(PdfStartFailed, pdf.StartPdf(m_folder.Folder(), strPlan, L"", L""));
    EXPECT_FALSE(pdf.IsOpen());
    DrawEverything(pdf);
    EXPECT_FALSE(pdf.EndPdf());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strPlan));
    EXPECT_EQ("", Opened());

    // The same layer writes the next document.
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"next.pdf"), L"", L""));
    pdf.StartPage(0);
    EXPECT_EQ(0, pdf.EndPage());
    EXPECT_TRUE(pdf.EndPdf());
    EXPECT_EQ("ok", QpdfCheck(UnixPath(m_folder.Path(L"next.pdf"))));
    EXPECT_NE(std::string::npos, Opened().find("next.pdf")) << Opened();
}

// A document that cannot be written whole, on a full disk, leaves the file written before
// as it was and is not opened.
TEST_F(PdfTest, AFailedWriteLeavesTheEarlierFile)
{
    // A picture of noise, which no encoder makes small.
    cv::Mat noise(300, 400, CV_8UC3);
    cv::randu(noise, cv::Scalar::all(0), cv::Scalar::all(255));
    cv::imwrite(UnixPath(m_folder.Path(L"picture.jpg")), noise);
    const CString strPlan = m_folder.Path(L"plan.pdf");
    auto write = [&](int nPages) {
        CPdf pdf;
        if (pdf.StartPdf(m_folder.Folder(), strPlan, m_folder.Path(L"picture.jpg"), L"") ==
            PdfStartFailed)
            return FALSE;
        for (int i = 0; i < nPages; i++)
        {
            pdf.StartPage(0);
            pdf.PlaceForm(pdf.m_pPictureForm, 1, 0, 0);
            pdf.EndPage();
        }
        return pdf.EndPdf();
    };
    ASSERT_TRUE(write(1));
    const std::string earlier = m_folder.ReadBytes(L"plan.pdf");
    m_folder.WriteBytes(L"opened.txt", "");
    BOOL bWritten = TRUE;
    {
        FullDisk full(4096);
        bWritten = write(3);
    }
    EXPECT_FALSE(bWritten);
    const std::string after = m_folder.ReadBytes(L"plan.pdf");
    EXPECT_TRUE(earlier == after) << earlier.size() << " bytes before, " << after.size() << " after";
    EXPECT_EQ("ok", QpdfCheck(UnixPath(strPlan)));
    EXPECT_EQ("", Opened());
}

// Without its font a document still has its pages, shapes and logo, only no texts; a
// picture that is missing or no JPEG is left out.
TEST_F(PdfTest, MissingFontAndPicturesLeaveThemOut)
{
    WriteJpeg(L"LogoMosaic.jpg", 20, 10, cv::Scalar(0, 160, 0));
    m_folder.WriteBytes(L"picture.jpg", "not a picture");
    CPdf pdf;
    pdf.m_strFontFile = L"NoSuchFont.ttf";
    ASSERT_EQ(PdfStartNoFont, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"plain.pdf"),
                                           m_folder.Path(L"picture.jpg"),
                                           m_folder.Path(L"missing.jpg")));
    EXPECT_TRUE(pdf.IsOpen());
    EXPECT_EQ(nullptr, pdf.m_pFont);
    EXPECT_EQ(nullptr, pdf.m_pPictureForm);
    EXPECT_EQ(nullptr, pdf.m_pThumbnailForm);
    EXPECT_NE(nullptr, pdf.m_pLogoForm);
    pdf.StartPage(0);
    pdf.TextOut(1000, -1000, L"Titre");
    pdf.Rectangle(CRect(1000, -2000, 3000, -4000));
    pdf.PlaceForm(pdf.m_pPictureForm, 1, 100, 100);
    EXPECT_EQ(0, pdf.EndPage());
    EXPECT_TRUE(pdf.EndPdf());

    const std::string path = UnixPath(m_folder.Path(L"plain.pdf"));
    EXPECT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("1", InfoValue(PdfInfo(path), "Pages"));
    const std::string content = PageContent(path);
    EXPECT_EQ(std::string::npos, content.find("BT")) << content;
    EXPECT_NE(std::string::npos, content.find(" re\n")) << content;
    EXPECT_NE(std::string::npos, content.find(" Do\n")) << content;
}

// A French user's decimal comma reaches neither of two documents written one after the
// other, and the layer leaves the process's locale as it found it.
TEST_F(PdfTest, NumbersDoNotFollowTheUsersLocale)
{
    if (setlocale(LC_ALL, "fr_FR.UTF-8") == NULL)
        GTEST_SKIP() << "the locale fr_FR.UTF-8 is not installed";
    char szNumber[16];
    snprintf(szNumber, sizeof(szNumber), "%.1f", 1.5);
    ASSERT_STREQ("1,5", szNumber);
    const std::string locale = setlocale(LC_ALL, NULL);

    WriteJpeg(L"LogoMosaic.jpg", 20, 10, cv::Scalar(0, 160, 0));
    CPdf pdf;
    for (LPCWSTR lpszName : {L"first.pdf", L"second.pdf"})
    {
        ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(lpszName), L"", L""));
        pdf.StartPage(pdf.SetPaperSize(0));
        pdf.SetTextColor(RGB(128, 64, 32));
        pdf.Ellipse(CRect(1000, -1000, 3000, -3000));
        pdf.TextOut(1000, -5000, L"1,5 m\u00b2");
        EXPECT_EQ(0, pdf.EndPage());
        EXPECT_TRUE(pdf.EndPdf());
        EXPECT_EQ(locale, setlocale(LC_ALL, NULL));

        const std::string path = UnixPath(m_folder.Path(lpszName));
        EXPECT_EQ("ok", QpdfCheck(path));
        const std::string content = PageContent(path);
        EXPECT_NE(std::string::npos, content.find("0.1 0 0 0.1 ")) << content;
        EXPECT_NE(std::string::npos, content.find("0.501961 0.25098 0.12549 rg")) << content;
        EXPECT_NE(std::string::npos, RunCommand("pdftotext " + Quoted(path) + " -").find("1,5 m"));
    }
    setlocale(LC_ALL, "C");
}

}   // namespace
