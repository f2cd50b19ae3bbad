// The view in a real frame: what a paint puts into the screen picture and on the window,
// the plates and shapes over it, the scroll bars after updates and zooms, the scroll
// messages, the document's hooks, and printing to the test prefix's virtual printer.
//
// With MOSAIC_VIEW_SHOTS naming a folder, the pattern test leaves a PNG picture of the frame
// for each paving pattern there, for a person to look at.
#include "MosaicTest.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "AfxRes.h"
#include "Plaque.h"
#include "ShpRectangle.h"
#include "TileRenderer.h"
#include "ViewTestSupport.h"

namespace
{

class ViewWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_app.Frame()->SetWindowPos(NULL, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        m_pView = m_app.View();
        m_pDoc = m_app.Doc();
    }

    // A mosaic laid into the document as an opening does, then the views updated.
    void Load(int cols, int rows, int type, int zoom)
    {
        LoadTestMosaic(*m_pDoc, cols, rows, type, zoom);
        m_pDoc->UpdateAllViews(NULL);
        PumpMessages();
    }
    void Repaint()
    {
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
        GdiFlush();
    }
    COLORREF WindowPixel(int x, int y)
    {
        CClientDC dc(m_pView);
        return dc.GetPixel(x, y);
    }
    CRect Client()
    {
        CRect rect;
        m_pView->GetClientRect(&rect);
        return rect;
    }
    void Scroll(UINT nMessage, UINT nCode, UINT nPos = 0)
    {
        m_pView->SendMessage(nMessage, MAKEWPARAM(nCode, nPos), 0);
    }
    SCROLLINFO Bar(int nBar)
    {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        ::GetScrollInfo(m_pView->m_hWnd, nBar, &info);
        return info;
    }
    BOOL BarShown(DWORD dwStyle) { return (m_pView->GetStyle() & dwStyle) != 0; }

    CViewTestApp m_app;
    CVitrolanView* m_pView = NULL;
    CVitrolanDoc* m_pDoc = NULL;
};

COLORREF CellColour(int cols, int col, int row)
{
    BYTE rgb[3];
    TestColour(TestCellColour(cols, col, row), rgb);
    return RGB(rgb[0], rgb[1], rgb[2]);
}

// ---- Painting ---------------------------------------------------------------------------------

TEST_F(ViewWindow, PaintShowsTheTilesFromTheScrollOriginWithJoints)
{
    Load(100, 80, PavingSquares, 20);
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 3);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION, 2);
    ASSERT_EQ(3, m_pView->GetOriginCol());
    ASSERT_EQ(2, m_pView->GetOriginRow());
    Repaint();

    EXPECT_EQ(Client().Width(), m_pDoc->m_screenWidth);
    EXPECT_EQ(Client().Height(), m_pDoc->m_screenHeight);
    const COLORREF joint = TableColour(*m_pDoc, ColourJoint);
    for (int j = 0; j < 4; j++)
        for (int i = 0; i < 5; i++)
        {
            SCOPED_TRACE(testing::Message() << "tile " << i << "," << j);
            const COLORREF tile = CellColour(100, 3 + i, 2 + j);
            const int x = 20 * i, y = 20 * j;
            EXPECT_EQ(tile, ScreenImagePixel(*m_pDoc, x + 10, y + 10));
            EXPECT_EQ(tile, WindowPixel(x + 10, y + 10));
            EXPECT_EQ(tile, WindowPixel(x + 1, y + 1));
            // A frame of one pixel on every edge of the tile.
            EXPECT_EQ(joint, WindowPixel(x, y + 10));
            EXPECT_EQ(joint, WindowPixel(x + 19, y + 10));
            EXPECT_EQ(joint, WindowPixel(x + 10, y + 19));
        }
}

// Each paving pattern: the window shows the screen picture as rendered, tiles of many colours
// with joints between them.
TEST_F(ViewWindow, EveryPatternIsShownAsRendered)
{
    const char* shots = getenv("MOSAIC_VIEW_SHOTS");
    const char* const names[PavingTypeCount] = {
        "squares", "diamonds", "circles", "triangles", "hexagons", "scales1", "scales2",
        "crossed-joints"};
    for (int type = 0; type < PavingTypeCount; type++)
    {
        SCOPED_TRACE(names[type]);
        Load(30, 24, type, 24);
        Repaint();
        const CRect client = Client();
        int nMismatches = 0;
        std::vector<COLORREF> colours;
        for (int y = 0; y < client.Height(); y += 7)
            for (int x = 0; x < client.Width(); x += 5)
            {
                const COLORREF pixel = ScreenImagePixel(*m_pDoc, x, y);
                nMismatches += WindowPixel(x, y) != pixel;
                if (std::find(colours.begin(), colours.end(), pixel) == colours.end())
                    colours.push_back(pixel);
            }
        EXPECT_EQ(0, nMismatches);
        // Tiles of most of the 250 colours show; the joint colour lies between them.
        EXPECT_GT(colours.size(), 200u);
        EXPECT_NE(colours.end(),
                  std::find(colours.begin(), colours.end(), TableColour(*m_pDoc, ColourJoint)));

        if (shots != NULL)
        {
            PumpMessages();
            Sleep(300);
            PumpMessages();
            const HANDLE hX11 = GetPropW(m_app.Frame()->m_hWnd, L"__wine_x11_whole_window");
            char command[512];
            snprintf(command, sizeof command,
                     "xwd -silent -id %lu | convert xwd:- png:'%s/%d-%s.png'",
                     (unsigned long)(ULONG_PTR)hX11, shots, type, names[type]);
            EXPECT_EQ(0, system(command)) << command;
        }
    }
}

TEST_F(ViewWindow, NothingIsDrawnWithoutAMosaic)
{
    m_pDoc->m_loaded = 0;
    m_pDoc->m_screenImage.Create(1, 40, 30);
    m_pDoc->m_screenImage.FillRgb((const BYTE*)"\x11\x22\x33");
    m_pDoc->m_screenWidth = 0;
    Repaint();
    EXPECT_EQ(Client().Width(), m_pDoc->m_screenWidth);
    EXPECT_EQ(RGB(0x11, 0x22, 0x33), ScreenImagePixel(*m_pDoc, 39, 29));
    EXPECT_EQ(40, m_pDoc->m_screenImage.width);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), WindowPixel(10, 10));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), WindowPixel(Client().Width() - 2, 10));
}

TEST_F(ViewWindow, PlatesAreDrawnOnTheWindowOnlyWhenShown)
{
    Load(8, 6, PavingSquares, 30);
    m_pDoc->carplaquex = 4;
    m_pDoc->carplaquey = 3;
    m_pDoc->m_plaquesValid = 0;
    for (int nShown : {1, 0})
    {
        SCOPED_TRACE(nShown);
        m_pDoc->m_showPlaques = nShown;
        Repaint();
        // The paint built the plates the grid had lost.
        ASSERT_EQ(1, m_pDoc->m_plaquesValid);
        ASSERT_EQ(4, m_pDoc->m_plaques.GetCount());
        POSITION pos = m_pDoc->m_plaques.GetHeadPosition();
        while (pos != NULL)
        {
            CPlaque* pPlaque = (CPlaque*)m_pDoc->m_plaques.GetNext(pos);
            SCOPED_TRACE(pPlaque->m_number);
            const RECT frame = pPlaque->GetFrame(30, 8, 6, 0, 0, 0, 0, 0, 1);
            const int y = (frame.top + frame.bottom) / 2;
            EXPECT_EQ(nShown != 0, WindowPixel(frame.left, y) == pPlaque->m_colour);
            // The plates never reach the screen picture.
            EXPECT_NE(pPlaque->m_colour, ScreenImagePixel(*m_pDoc, frame.left, y));
        }
    }
}

TEST_F(ViewWindow, ShapesOfTheToolsThatAreOnAreDrawnWithHandlesUnlessABlockIsCopied)
{
    Load(20, 15, PavingSquares, 20);
    m_pDoc->m_selection->m_rect.SetRect(40, 40, 140, 120);
    m_pDoc->m_stampShape->m_rect.SetRect(200, 60, 300, 160);
    m_pDoc->m_selection->ComputeHandles();
    m_pDoc->m_stampShape->ComputeHandles();
    const struct
    {
        int select, stamp, copied;
        bool selectionDrawn, stampDrawn;
    } cases[] = {
        {1, 0, 0, true, false},
        {0, 1, 0, false, true},
        {1, 1, 0, true, true},
        {1, 1, 1, false, false},   // outlines only
        {0, 0, 0, false, false},
    };
    const COLORREF handle = RGB(13, 0, 0);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.select << c.stamp << c.copied);
        m_pDoc->m_selectTool = c.select;
        m_pDoc->m_textStampTool = c.stamp;
        m_pDoc->m_copyValid = c.copied;
        Repaint();
        const CPoint a = m_pDoc->m_selection->GetHandleRect(CShape::HandleRight).CenterPoint();
        const CPoint b = m_pDoc->m_stampShape->GetHandleRect(CShape::HandleLeft).CenterPoint();
        EXPECT_EQ(c.selectionDrawn, WindowPixel(a.x, a.y) == handle);
        EXPECT_EQ(c.stampDrawn, WindowPixel(b.x, b.y) == handle);
    }
}

// ---- Scrolling ---------------------------------------------------------------------------------

TEST_F(ViewWindow, ScrollBarsFollowTheMosaicAndZoomingOutKeepsTheCentre)
{
    Load(100, 80, PavingSquares, 20);
    ASSERT_TRUE(BarShown(WS_HSCROLL));
    ASSERT_TRUE(BarShown(WS_VSCROLL));
    CRect client = Client();
    SCROLLINFO h = Bar(SB_HORZ);
    EXPECT_EQ(0, h.nMin);
    EXPECT_EQ(99, h.nMax);
    EXPECT_EQ((UINT)client.Width() / 20, h.nPage);
    EXPECT_EQ(0, h.nPos);
    SCROLLINFO v = Bar(SB_VERT);
    EXPECT_EQ(79, v.nMax);
    EXPECT_EQ((UINT)client.Height() / 20, v.nPage);

    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 40);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION, 30);
    m_pDoc->m_selection->m_rect.SetRect(100, 100, 200, 200);
    m_pDoc->OnZoomOut();
    PumpMessages();
    // The origin moves back by the columns and rows that the smaller tiles add.
    client = Client();
    const int dx = client.Width() / 20 - client.Width() / 18;
    const int dy = client.Height() / 20 - client.Height() / 18;
    EXPECT_EQ(40 + dx, m_pView->GetOriginCol());
    EXPECT_EQ(30 + dy, m_pView->GetOriginRow());
    EXPECT_EQ(40 + dx, Bar(SB_HORZ).nPos);
    EXPECT_EQ((UINT)client.Width() / 18, Bar(SB_HORZ).nPage);
    EXPECT_EQ(0, m_pDoc->m_recentreScroll);
    // The selection was rescaled by the zoom, then follows the mosaic.
    CShpRectangle expected;
    expected.m_rect.SetRect(100, 100, 200, 200);
    expected.Rezoom(20, 18);
    expected.ScrollX(40, 40 + dx, 18, PavingSquares);
    expected.ScrollY(30, 30 + dy, 18, PavingSquares);
    EXPECT_EQ(expected.m_rect, m_pDoc->m_selection->m_rect);

    // Zoomed out far enough, the whole mosaic shows: no bars, and the view back at the start
    // even from the last column.
    Scroll(WM_HSCROLL, SB_RIGHT);
    ASSERT_EQ(99, m_pView->GetOriginCol());
    while (m_pDoc->m_tileSize > 4)
        m_pDoc->OnZoomOut();
    PumpMessages();
    EXPECT_FALSE(BarShown(WS_HSCROLL));
    EXPECT_FALSE(BarShown(WS_VSCROLL));
    EXPECT_EQ(0, m_pView->GetOriginCol());
    EXPECT_EQ(0, m_pView->GetOriginRow());
}

TEST_F(ViewWindow, NarrowMosaicHasNoHorizontalBarAndStaysAtTheFirstColumn)
{
    Load(10, 200, PavingSquares, 20);
    EXPECT_FALSE(BarShown(WS_HSCROLL));
    EXPECT_TRUE(BarShown(WS_VSCROLL));
    for (UINT nCode : {SB_LINERIGHT, SB_PAGERIGHT})
    {
        Scroll(WM_HSCROLL, nCode);
        EXPECT_EQ(0, m_pView->GetOriginCol());
    }
}

TEST_F(ViewWindow, ScrollMessagesMoveTheOriginTheBarAndTheShapes)
{
    Load(100, 80, PavingSquares, 20);
    m_pDoc->m_selection->m_rect.SetRect(100, 100, 200, 200);
    m_pDoc->m_stampShape->m_rect.SetRect(10, 20, 30, 40);

    Scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(1, m_pView->GetOriginCol());
    EXPECT_EQ(1, m_pView->GetScrollPos(SB_HORZ));
    EXPECT_EQ(CRect(80, 100, 180, 200), m_pDoc->m_selection->m_rect);
    EXPECT_EQ(CRect(-10, 20, 10, 40), m_pDoc->m_stampShape->m_rect);

    const int nPage = Client().Height() / 20;
    Scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(nPage, m_pView->GetOriginRow());
    EXPECT_EQ(nPage, m_pView->GetScrollPos(SB_VERT));
    EXPECT_EQ(CRect(80, 100 - 20 * nPage, 180, 200 - 20 * nPage), m_pDoc->m_selection->m_rect);

    // A move repaints the view; the end of the scroll does not.
    ::ValidateRect(m_pView->m_hWnd, NULL);
    Scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(::GetUpdateRect(m_pView->m_hWnd, NULL, FALSE));
    Scroll(WM_VSCROLL, SB_LINEUP);
    EXPECT_TRUE(::GetUpdateRect(m_pView->m_hWnd, NULL, FALSE));
}

// ---- Shapes on the screen, and the document's hooks ------------------------------------------

TEST_F(ViewWindow, InvalidatingAShapeRedrawsItsOutlineAndHandlesOnly)
{
    Load(100, 80, PavingSquares, 10);
    CShpRectangle shape;
    shape.m_rect.SetRect(100, 100, 300, 250);
    shape.ComputeHandles();
    const struct
    {
        CPoint pt;
        bool bRedrawn;
    } cases[] = {
        {CPoint(200, 92), true},    // along the top edge
        {CPoint(200, 258), true},   // along the bottom
        {CPoint(91, 170), true},    // left
        {CPoint(308, 170), true},   // right
        {CPoint(91, 93), true},     // round the top-left handle
        {CPoint(200, 175), false},  // the middle
        {CPoint(200, 80), false},   // above
    };
    for (BYTE bHandles : {1, 0})
    {
        shape.m_handlesShown = bHandles;
        ::ValidateRect(m_pView->m_hWnd, NULL);
        m_pView->InvalidateShape(&shape);
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(m_pView->m_hWnd, hRgn, FALSE);
        for (const auto& c : cases)
        {
            SCOPED_TRACE(testing::Message() << (int)bHandles << ": " << c.pt.x << "," << c.pt.y);
            // Without handles only the strips of the edges, 2 x 10 pixels wide.
            const bool bExpected = c.bRedrawn && (bHandles || c.pt != CPoint(91, 93));
            EXPECT_EQ(bExpected, PtInRegion(hRgn, c.pt.x, c.pt.y) != FALSE);
        }
        DeleteObject(hRgn);
    }
}

TEST_F(ViewWindow, DocumentHooksActOnTheShapesAndTheActiveView)
{
    Load(100, 80, PavingSquares, 10);
    ASSERT_NE(nullptr, m_pDoc->m_selection);
    ASSERT_NE(nullptr, m_pDoc->m_stampShape);
    EXPECT_TRUE(m_pDoc->m_selection->IsKindOf(RUNTIME_CLASS(CShpRectangle)));
    EXPECT_NE(m_pDoc->m_selection, m_pDoc->m_stampShape);
    ASSERT_EQ(m_pView, CVitrolanView::GetActiveView());

    // Zooming rescales both shapes.
    m_pDoc->m_selection->m_rect.SetRect(10, 10, 31, 31);
    m_pDoc->OnZoomIn();
    EXPECT_EQ(CRect(12, 12, 37, 37), m_pDoc->m_selection->m_rect);

    // Erasing redraws the shape's place and empties it.
    m_pDoc->m_selection->m_handlesShown = 0;
    ::ValidateRect(m_pView->m_hWnd, NULL);
    m_pDoc->EraseShape(m_pDoc->m_selection);
    EXPECT_TRUE(m_pDoc->m_selection->m_rect.IsRectNull());
    EXPECT_EQ(1, m_pDoc->m_selection->m_handlesShown);
    CRect update;
    ASSERT_TRUE(::GetUpdateRect(m_pView->m_hWnd, &update, FALSE));
    EXPECT_TRUE(update.PtInRect(CPoint(20, 12)));

    // A new paving pattern starts the view at the first tile.
    Scroll(WM_HSCROLL, SB_THUMBPOSITION, 30);
    Scroll(WM_VSCROLL, SB_THUMBPOSITION, 20);
    m_pDoc->SetPavingPattern(PavingHexagons);
    PumpMessages();
    EXPECT_EQ(0, m_pView->GetOriginCol());
    EXPECT_EQ(0, m_pView->GetOriginRow());
    EXPECT_EQ(0, m_pView->GetScrollPos(SB_HORZ));
}

// ---- Printing ----------------------------------------------------------------------------------

std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == NULL)
        return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

// The text of an area of the page, in points from its top-left corner.
std::string TextIn(const std::string& strPdf, int x, int y, int w, int h)
{
    return RunCommand("pdftotext -x " + std::to_string(x) + " -y " + std::to_string(y) +
                      " -W " + std::to_string(w) + " -H " + std::to_string(h) + " '" +
                      strPdf + "' - 2>&1");
}

// The colour of a point of the page, rendered at 20 pixels per inch.
COLORREF PagePixel(const std::string& strPdf, int x, int y)
{
    const std::string ppm = RunCommand("pdftoppm -r 20 -f 1 -l 1 '" + strPdf + "' 2>/dev/null");
    // "P6\n<w> <h>\n255\n" then the pixels.
    int w = 0, h = 0, max = 0, n = 0;
    if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &w, &h, &max, &n) != 3 || x >= w || y >= h)
        return CLR_INVALID;
    const unsigned char* p = (const unsigned char*)ppm.data() + n + 1 + 3 * (y * w + x);
    return RGB(p[0], p[1], p[2]);
}

int ColourDistance(COLORREF a, COLORREF b)
{
    return abs(GetRValue(a) - GetRValue(b)) + abs(GetGValue(a) - GetGValue(b)) +
           abs(GetBValue(a) - GetBValue(b));
}

TEST_F(ViewWindow, PrintsTheViewWithTheTitleAsFooter)
{
    char szFolder[] = "/tmp/mosaic-view-print-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szFolder));
    const std::string strJob = std::string(szFolder) + "/job.ps";
    const std::string strPdf = std::string(szFolder) + "/job.pdf";
    setenv("MOSAIC_PRINT_FILE", strJob.c_str(), 1);
    ASSERT_TRUE(m_app.SelectTestPrinter())
        << "the test prefix has no printer named Mosaic Test Printer";

    // One colour all over, larger than the window.
    Load(80, 60, PavingSquares, 20);
    m_pDoc->m_showJoints = 0;
    m_pDoc->m_workingMap.FillBytes(0);
    for (int row = 0; row < 60; row++)
        for (int col = 0; col < 80; col++)
            m_pDoc->m_workingMap.SetCell(col, row, 0, 0, 5, 5, 5, 5, 0, 0, 0, 0);
    m_pDoc->SetTitle(L"Jardin d'été");
    BYTE rgb[3];
    TestColour(5, rgb);

    for (int nPlanPage : {0, 1})
    {
        SCOPED_TRACE(nPlanPage);
        unlink(strJob.c_str());
        unlink(strPdf.c_str());
        m_pDoc->m_planPage = nPlanPage;
        m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        ASSERT_EQ(0, access(strJob.c_str(), F_OK));
        RunCommand("ps2pdf '" + strJob + "' '" + strPdf + "' 2>&1");

        // The screen picture at its pixel size in the top-left corner.
        EXPECT_LT(ColourDistance(RGB(rgb[0], rgb[1], rgb[2]), PagePixel(strPdf, 12, 12)), 30);
        // The title in the bottom right part of the page (A4: 595 x 842 points), unless a
        // plan page is being painted.
        const std::string strFooter = TextIn(strPdf, 290, 700, 305, 142);
        EXPECT_EQ(nPlanPage == 0, strFooter.find("Jardin d'été") != std::string::npos)
            << strFooter;
        EXPECT_EQ(std::string::npos, TextIn(strPdf, 0, 0, 290, 842).find("Jardin"));
    }
    m_pDoc->m_planPage = 0;
    unlink(strJob.c_str());
    unlink(strPdf.c_str());
    rmdir(szFolder);
}

}   // namespace
