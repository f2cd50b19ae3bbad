// The PDF page layer writes real files, checked with qpdf and poppler's tools.
#include "MosaicTest.h"

#include "OpenCv.h"
#include "Pdf.h"
#include "PdfChecks.h"
#include "WriteFailures.h"
#include "text/TextTestFiles.h"

#include <locale.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <vector>

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

// A text is drawn in the selected face when that has every glyph of it, else in the text
// font, else in the font of widest coverage; what no installed font can show is noted once.
TEST_F(PdfTest, TextsTakeAFontThatHasTheirGlyphs)
{
    CFont symbolFont, textFont;
    symbolFont.CreateFont(-14, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, L"Arial Unicode MS");
    textFont.CreateFont(14, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, L"Calibri");
    std::vector<CString> unshown;
    const std::string latin = WritePage([&](CPdf& pdf) {
        pdf.TextOut(1000, -1000, L"Rouge grenat");
    }, 0, L"latin.pdf");
    const std::string mixed = WritePage([&](CPdf& pdf) {
        pdf.TextOut(1000, -1000, L"Rouge grenat");
        pdf.TextOut(1000, -2000, L"\u2605\u25b2");            // a star and a triangle
        pdf.SelectFont(&symbolFont);
        pdf.TextOut(1000, -3000, L"AB");
        pdf.TextOut(1000, -4000, L"\u6f22");                    // no installed font has it
        pdf.SelectFont(&textFont);
        pdf.TextOut(1000, -5000, L"\u6f22");
        pdf.TextOut(1000, -6000, L"x\u6f22");
        unshown = pdf.GetUnshownTexts();
    }, 0, L"mixed.pdf");
    ASSERT_EQ("ok", QpdfCheck(mixed));

    // Fonts are embedded only when a text is drawn in them.
    const std::string latinFonts = RunCommand("pdffonts " + Quoted(latin));
    EXPECT_NE(std::string::npos, latinFonts.find("Carlito")) << latinFonts;
    EXPECT_EQ(std::string::npos, latinFonts.find("DejaVu")) << latinFonts;
    const std::string fonts = RunCommand("pdffonts " + Quoted(mixed));
    EXPECT_NE(std::string::npos, fonts.find("Carlito")) << fonts;
    EXPECT_NE(std::string::npos, fonts.find("DejaVuSans")) << fonts;
    const std::string text = RunCommand("pdftotext " + Quoted(mixed) + " -");
    EXPECT_NE(std::string::npos, text.find("\xE2\x98\x85\xE2\x96\xB2")) << text;
    EXPECT_NE(std::string::npos, text.find("AB")) << text;
    // The face of each text: Carlito is the document's first font, DejaVu Sans its second.
    const std::string content = PageContent(mixed);
    const size_t star = content.find("Tf", content.find("Tf") + 2);
    EXPECT_NE(content.substr(content.rfind('/', star), 5),
              content.substr(content.find('/', content.find("BT")), 5))
        << content;
    EXPECT_EQ((std::vector<CString>{L"\u6f22", L"x\u6f22"}), unshown);

    // The next document starts with nothing unshown.
    CPdf pdf;
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"next.pdf"), L"", L""));
    EXPECT_TRUE(pdf.GetUnshownTexts().empty());
    EXPECT_TRUE(pdf.EndPdf());
}

// The program's own logo, as shipped, lies on every page where the page layer puts it.
TEST_F(PdfTest, ShippedLogoIsPlacedAtTheFootOfThePage)
{
    const CString strData = DosFolder(MOSAIC_DATA_DIR);
    const cv::Mat logo = cv::imread(UnixPath(strData + L"LogoMosaic.jpg"));
    ASSERT_FALSE(logo.empty());
    CPdf pdf;
    const int nPage = pdf.SetPaperSize(2);
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(strData, m_folder.Path(L"logo.pdf"), L"", L""));
    ASSERT_NE(nullptr, pdf.m_pLogoForm);
    pdf.StartPage(nPage);
    EXPECT_EQ(0, pdf.EndPage());
    EXPECT_TRUE(pdf.EndPdf());
    const std::string path = UnixPath(m_folder.Path(L"logo.pdf"));
    ASSERT_EQ("ok", QpdfCheck(path));

    // A3: 54 mm left of the right edge is 842 - 153 = 689 points, 6.5 mm up is 18 points.
    const std::string content = PageContent(path);
    EXPECT_NE(std::string::npos, content.find("q\n0.1 0 0 0.1 689 18 cm\n/")) << content;
    // At a tenth of a point per pixel the picture covers its own place only: rendered at ten
    // pixels a point, with 2 points around it, it is the logo on white paper.
    const std::string prefix = UnixPath(m_folder.Path(L"logo"));
    RunCommand("pdftoppm -r 720 -png -singlefile -x " + std::to_string(6890 - 20) + " -y " +
               std::to_string((1191 - 18) * 10 - logo.rows - 20) + " -W " +
               std::to_string(logo.cols + 40) + " -H " + std::to_string(logo.rows + 40) + " " +
               Quoted(path) + " " + Quoted(prefix));
    const cv::Mat shown = cv::imread(prefix + ".png");
    ASSERT_EQ(logo.cols + 40, shown.cols);
    ASSERT_EQ(logo.rows + 40, shown.rows);
    cv::Mat paper(shown.size(), CV_8UC3, cv::Scalar(255, 255, 255));
    logo.copyTo(paper(cv::Rect(20, 20, logo.cols, logo.rows)));
    cv::Mat difference;
    cv::absdiff(shown, paper, difference);
    EXPECT_LT(cv::mean(difference)[0] + cv::mean(difference)[1] + cv::mean(difference)[2], 6.0);
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

// Without its text font a document still has its pages, shapes, logo and texts, these in
// the installed font of widest coverage; a picture that is missing or no JPEG is left out.
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
    EXPECT_NE(std::string::npos, content.find("BT")) << content;
    EXPECT_NE(std::string::npos, RunCommand("pdftotext " + Quoted(path) + " -").find("Titre"));
    EXPECT_NE(std::string::npos, RunCommand("pdffonts " + Quoted(path)).find("DejaVuSans"));
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

// A process of this prefix that waits on its input until it is ended.
class CWaitingProcess
{
public:
    CWaitingProcess()
    {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
        HANDLE hRead = NULL;
        if (!CreatePipe(&hRead, &m_hInput, &sa, 0))
            return;
        SetHandleInformation(m_hInput, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = hRead;
        // Its banner and prompt go nowhere.
        HANDLE hNowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &sa,
                                      OPEN_EXISTING, 0, NULL);
        si.hStdOutput = si.hStdError = hNowhere;
        WCHAR szCommand[] = L"C:\\windows\\system32\\cmd.exe";
        if (CreateProcessW(NULL, szCommand, NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, NULL, &si,
                           &m_info))
            CloseHandle(m_info.hThread);
        CloseHandle(hRead);
        if (hNowhere != INVALID_HANDLE_VALUE)
            CloseHandle(hNowhere);
    }
    ~CWaitingProcess()
    {
        if (m_info.hProcess != NULL)
        {
            TerminateProcess(m_info.hProcess, 1);
            CloseHandle(m_info.hProcess);
        }
        if (m_hInput != NULL)
            CloseHandle(m_hInput);
    }

    DWORD Id() const { return m_info.dwProcessId; }
    BOOL IsRunning() const
    {
        return m_info.hProcess != NULL && WaitForSingleObject(m_info.hProcess, 200) == WAIT_TIMEOUT;
    }
    // The exit code once the process has ended, else STILL_ACTIVE.
    DWORD ExitCode() const
    {
        DWORD dwCode = STILL_ACTIVE;
        if (m_info.hProcess != NULL && WaitForSingleObject(m_info.hProcess, 5000) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_info.hProcess, &dwCode);
        return dwCode;
    }

private:
    HANDLE m_hInput = NULL;
    PROCESS_INFORMATION m_info = {};
};

// The layer over the processes its test lists.
class CListedProcessesPdf : public CPdf
{
public:
    using CPdf::CloseAcrobatProcesses;
    using CPdf::ProcessEntry;

    BOOL ListProcesses(std::vector<ProcessEntry>& processes) const override
    {
        processes = m_processes;
        return TRUE;
    }
    BOOL ListSystemProcesses(std::vector<ProcessEntry>& processes) const
    {
        return CPdf::ListProcesses(processes);
    }

    std::vector<ProcessEntry> m_processes;
};

// Only an Adobe reader, named exactly, is ended, and only ending one is worth the wait.
TEST_F(PdfTest, ReadersAreClosedByTheirExactNamesAndOnlyThenWaitedFor)
{
    const DWORD kNoProcess = 0x7FFFFFF0;
    CWaitingProcess other;
    ASSERT_TRUE(other.IsRunning());
    CListedProcessesPdf pdf;
    const std::vector<std::vector<CListedProcessesPdf::ProcessEntry>> listings = {
        {},
        {{other.Id(), L"acrord32.exe"}, {other.Id(), L"ACROBAT.EXE"},
         {other.Id(), L"AcroRd32.exe "}, {other.Id(), L"Acrobat"}, {other.Id(), L"notepad.exe"}},
        // A reader that has ended already is not waited for.
        {{kNoProcess, L"AcroRd32.exe"}, {kNoProcess, L"Acrobat.exe"}},
    };
    for (const auto& processes : listings)
    {
        pdf.m_processes = processes;
        EXPECT_FALSE(pdf.CloseAcrobatProcesses()) << processes.size();
    }
    EXPECT_TRUE(other.IsRunning());

    for (LPCWSTR lpszReader : {L"AcroRd32.exe", L"Acrobat.exe"})
    {
        CWaitingProcess reader;
        ASSERT_TRUE(reader.IsRunning());
        pdf.m_processes = {{other.Id(), L"cmd.exe"}, {reader.Id(), lpszReader}};
        EXPECT_TRUE(pdf.CloseAcrobatProcesses()) << CStringA(lpszReader).GetString();
        EXPECT_EQ(0u, reader.ExitCode()) << CStringA(lpszReader).GetString();
        EXPECT_TRUE(other.IsRunning());
    }
}

// Starting a document closes the readers it finds in the system's list of processes.
TEST_F(PdfTest, StartClosesTheRunningReaders)
{
    CWaitingProcess reader;
    ASSERT_TRUE(reader.IsRunning());
    CListedProcessesPdf pdf;
    pdf.m_processes = {{reader.Id(), L"AcroRd32.exe"}};
    ASSERT_EQ(PdfStartOk, pdf.StartPdf(m_folder.Folder(), m_folder.Path(L"p.pdf"), L"", L""));
    EXPECT_EQ(0u, reader.ExitCode());
    pdf.StartPage(0);
    EXPECT_EQ(0, pdf.EndPage());
    EXPECT_TRUE(pdf.EndPdf());

    CWaitingProcess other;
    ASSERT_TRUE(other.IsRunning());
    std::vector<CListedProcessesPdf::ProcessEntry> processes;
    ASSERT_TRUE(pdf.ListSystemProcesses(processes));
    EXPECT_TRUE(std::any_of(processes.begin(), processes.end(), [&](const auto& p) {
        return p.dwId == other.Id() && p.strExeName == L"cmd.exe";
    }));
}

}   // namespace
