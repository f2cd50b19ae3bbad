// The layout of the PDF pages without a window: the page metrics of each paper and unit, the
// tiles per laying-plan page of each paving pattern, the numbering of the plates' pages and
// their page cells, the page counts of the other kinds, the text size of plan pages, and the
// objects a page is drawn with.
#include "MosaicTest.h"

#include <math.h>

#include <memory>

#include "Pdf.h"
#include "Plaque.h"
#include "ViewTestSupport.h"

namespace
{

// The view with the objects of a page in reach.
class CPageObjectsView : public CVitrolanView
{
public:
    using CVitrolanView::m_colourBrushes;
    using CVitrolanView::m_jointPen;
    using CVitrolanView::m_symbolFonts;
    using CVitrolanView::m_tileFonts;
    using CVitrolanView::m_titleFont;
    using CVitrolanView::m_whiteBrush;
};

class PlanPages : public testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        m_view.reset(new CPageObjectsView);
        m_doc->AddView(m_view.get());
        Paper(0, 0);
        m_doc->m_pavingType = PavingSquares;
        m_doc->taillecar = 2500;
        m_doc->intercar = 160;
        m_doc->m_pitch = 2660;
        m_doc->impression = 0;
    }
    void TearDown() override
    {
        m_view.reset();
        m_doc->DeletePlaques();
        m_doc.reset();
    }

    // The paper the plan driver gives the layer, in the document's units.
    void Paper(int nFormat, int nUnits)
    {
        m_doc->format = nFormat;
        m_doc->unites = nUnits;
        m_view->GetPdf()->SetPaperSize(nFormat);
    }
    const CVitrolanView::PageMetrics& Metrics() { return m_view->GetPageMetrics(); }

    CPlaque* AddPlate(int nNumber, double left, double top, double right, double bottom)
    {
        CPlaque* pPlaque = new CPlaque;
        pPlaque->m_number = nNumber;
        pPlaque->m_firstCol = left;
        pPlaque->m_firstRow = top;
        pPlaque->m_endCol = right;
        pPlaque->m_endRow = bottom;
        pPlaque->m_firstPage = pPlaque->m_lastPage = -1;
        m_doc->m_plaques.AddHead(pPlaque);
        m_doc->m_plaqueCount = nNumber;
        return pPlaque;
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
    std::unique_ptr<CPageObjectsView> m_view;
};

TEST_F(PlanPages, MetricsFollowThePaperAndTheUnits)
{
    const struct
    {
        const char* name;
        int format, units;
        int width, height, margin, line, swatch;
    } cases[] = {
        {"A4", 0, 0, 20400, 29100, 1000, 600, 1000},
        {"A4 imperial", 0, 1, 8031, 11457, 393, 236, 400},
        {"Letter", 1, 0, 21000, 27300, 1000, 600, 1000},
        {"A3 imperial", 2, 1, 11457, 16299, 393, 236, 400},
        {"A0", 5, 0, 83500, 118300, 1000, 600, 1000},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Paper(c.format, c.units);
        m_view->InitPageMetrics();
        EXPECT_EQ(c.width, Metrics().width);
        EXPECT_EQ(c.height, Metrics().height);
        EXPECT_EQ(c.margin, Metrics().margin);
        EXPECT_EQ(c.line, Metrics().lineHeight);
        EXPECT_EQ(c.swatch, Metrics().swatchSize);
    }
}

TEST_F(PlanPages, JointPenIsCappedWhereTilesCarryLabels)
{
    const struct
    {
        int units, impression, joint, expected;
    } cases[] = {
        {0, 0, 160, 80}, {0, 2, 160, 80}, {0, 3, 160, 160}, {0, 1, 60, 60},
        {1, 1, 63, 31},  {1, 3, 63, 63},  {1, 0, 31, 31},
    };
    for (const auto& c : cases)
    {
        Paper(0, c.units);
        m_doc->impression = c.impression;
        m_doc->intercar = c.joint;
        m_view->InitPageMetrics();
        EXPECT_EQ(c.expected, Metrics().jointWidth)
            << "units " << c.units << ", labels " << c.impression << ", joint " << c.joint;
    }
}

TEST_F(PlanPages, TilesPerPageOfEachPatternAndPaper)
{
    // A4 holds tiles in 169.72 x 240.36 mm: from the rulers to 3 mm before the right arrow's
    // band, and down to the title's band 30 mm above the drawable bottom.
    const struct
    {
        const char* name;
        int type, format, units, pitch;
        int ruler, columns, rows;
    } cases[] = {
        {"squares, A4", PavingSquares, 0, 0, 2660, 1064, 6, 9},
        // Every second row is half a tile further right.
        {"crossed joints, A4", PavingCrossedJoints, 0, 0, 2660, 1064, 5, 9},
        {"squares, A3", PavingSquares, 2, 0, 2660, 1064, 9, 13},
        {"squares, A4 imperial", PavingSquares, 0, 1, 1047, 418, 6, 9},
        // Rows half a pitch apart, the last one a whole tile high.
        {"diamonds", PavingDiamonds, 0, 0, 2660, 1064, 5, 17},
        {"circles", PavingCircles, 0, 0, 2660, 1064, 5, 10},
        // Two rows of triangles share a band: the count stays even.
        {"triangles", PavingTriangles, 0, 0, 2660, 1064, 5, 18},
        {"hexagons", PavingHexagons, 0, 0, 2660, 1064, 5, 11},
        {"squares of 18.4 + 1.6 mm", PavingSquares, 0, 0, 2000, 800, 8, 12},
        // The bands beside the grid keep the width of a neighbour's number.
        {"small tiles on A0", PavingSquares, 5, 0, 500, 200, 162, 228},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Paper(c.format, c.units);
        m_doc->m_pavingType = c.type;
        m_doc->m_pitch = c.pitch;
        m_view->InitPageMetrics();
        EXPECT_TRUE(m_view->PaginatePlaques());
        EXPECT_EQ(c.ruler, m_doc->m_rulerBand);
        EXPECT_EQ(c.columns, Metrics().columns);
        EXPECT_EQ(c.rows, Metrics().rows);
    }
}

// Every paper, pattern and tile size: the tiles of a full page, the rulers, the arrows, the
// title, the date and the thumbnail each keep to a place of their own, and the page holds as
// many tiles as that leaves room for.
TEST_F(PlanPages, TilesKeepClearOfEverythingElseOnThePage)
{
    m_doc->imprVignettes = 1;
    m_doc->m_rows = 40;
    for (int format = 0; format <= 5; format++)
        for (int units = 0; units <= 1; units++)
            for (int type = 0; type < PavingTypeCount; type++)
                for (int tile : {2500, 1840, 840, 400, 6000})
                {
                    const int joint = units == 0 ? 160 : 63;
                    const int P = (units == 0 ? tile : tile * 100 / 254) + joint;
                    SCOPED_TRACE(testing::Message() << "format " << format << ", units " << units
                                                    << ", type " << type << ", pitch " << P);
                    Paper(format, units);
                    m_doc->m_pavingType = type;
                    m_doc->m_pitch = P;
                    m_view->InitPageMetrics();
                    ASSERT_TRUE(m_view->PaginatePlaques());
                    const CVitrolanView::PageMetrics& page = Metrics();
                    const CVitrolanView::PlanLayout layout = m_view->ComputePlanLayout(P);

                    // The extent of a page cell of columns x rows tiles.
                    const int nStagger = type == PavingSquares ? 0 : P / 2;
                    auto height = [&](int rows) {
                        return TestPlanRowsHeight(type, P, m_doc->m_rows, 0, rows);
                    };
                    const RECT& limit = layout.gridLimit;
                    const CRect tiles(layout.gridOrigin.x, layout.gridOrigin.y,
                                      layout.gridOrigin.x + page.columns * P + nStagger,
                                      layout.gridOrigin.y - height(page.rows));
                    EXPECT_GE(tiles.left, limit.left);
                    EXPECT_LE(tiles.right, limit.right);
                    EXPECT_LE(tiles.top, limit.top);
                    EXPECT_GE(tiles.bottom, limit.bottom);
                    // Not one column or row (pair of triangle rows) more would fit.
                    EXPECT_GT(tiles.right + P, limit.right);
                    EXPECT_LT(tiles.top - height(page.rows + (type == PavingTriangles ? 2 : 1)),
                              limit.bottom);

                    // Rulers above and left of the grid, every other box outside the limit.
                    EXPECT_LE(layout.gridOrigin.x, limit.left);
                    EXPECT_GE(layout.gridOrigin.y, limit.top);
                    const RECT* boxes[] = {&layout.title, &layout.thumbnail,
                                           &layout.neighbours[0], &layout.neighbours[1],
                                           &layout.neighbours[2], &layout.neighbours[3]};
                    for (const RECT* box : boxes)
                    {
                        const BOOL bApart = box->right <= limit.left || box->left >= limit.right ||
                                            box->bottom >= limit.top || box->top <= limit.bottom;
                        EXPECT_TRUE(bApart) << box->left << ", " << box->top << ", "
                                            << box->right << ", " << box->bottom;
                        EXPECT_GE(box->left, 0);
                        EXPECT_LE(box->right, page.width);
                        EXPECT_LE(box->top, 0);
                        EXPECT_GE(box->bottom, -page.height);
                    }
                    // The title and date lines start right of the thumbnail; the lower
                    // arrow's box stays below the date line, one margin above the bottom.
                    EXPECT_GT(layout.title.left, layout.thumbnail.right);
                    EXPECT_LT(layout.neighbours[3].top, page.margin - page.height);
                }
}

TEST_F(PlanPages, PlatesInThePrintRangeAreNumberedInTurn)
{
    CPlaque* plates[4] = {AddPlate(1, 0, 0, 12, 12), AddPlate(2, 12, 0, 24, 12),
                          AddPlate(3, 0, 12, 12, 24), AddPlate(4, 12, 12, 24, 24)};
    m_doc->m_printFirst = 2;
    m_doc->m_printLast = 3;
    m_view->InitPageMetrics();
    ASSERT_TRUE(m_view->PaginatePlaques());

    // 6 x 9 tiles a page: 2 x 2 pages a plate.
    EXPECT_EQ(8, Metrics().pageCount);
    const int pages[4][2] = {{-1, -1}, {1, 4}, {5, 8}, {-1, -1}};
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(pages[i][0], plates[i]->m_firstPage) << "plate " << i + 1;
        EXPECT_EQ(pages[i][1], plates[i]->m_lastPage) << "plate " << i + 1;
    }
    EXPECT_EQ(plates[1], m_doc->FindPlaqueByPage(4));
    EXPECT_EQ(plates[2], m_doc->FindPlaqueByPage(5));
    EXPECT_EQ(nullptr, m_doc->FindPlaqueByPage(9));

    // Plate 2's cells: two across its top rows, then two across its last three rows.
    const struct
    {
        int column, row, cell;
    } at[] = {
        {12, 0, 1}, {17, 8, 1}, {18, 0, 2}, {23, 8, 2}, {12, 9, 3}, {17, 11, 3},
        {23, 11, 4}, {11, 0, -1}, {24, 0, -1}, {12, 12, -1}, {12, -1, -1},
    };
    for (const auto& a : at)
        EXPECT_EQ(a.cell, m_view->FindPageAt(plates[1], a.column, a.row))
            << a.column << ", " << a.row;
    CRect cell;
    ASSERT_TRUE(m_view->GetPageCell(plates[1], 4, cell));
    EXPECT_EQ(CRect(18, 9, 24, 12), cell);
    EXPECT_FALSE(m_view->GetPageCell(plates[1], 5, cell));
    EXPECT_FALSE(m_view->GetPageCell(plates[1], 0, cell));
}

// A page that cannot hold one tile has no defined cells: the page code refuses it rather
// than divide by zero or walk forever.
TEST_F(PlanPages, PagesWithoutAWholeTileAreRefused)
{
    CPlaque* pPlaque = AddPlate(1, 0, 0, 12, 12);
    const struct
    {
        const char* name;
        int pitch, format;
    } cases[] = {{"pitch 0", 0, 0}, {"negative pitch", -2660, 0}, {"tile wider than A4", 20000, 0},
                 {"tile much larger than A4", 100000, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Paper(c.format, 0);
        m_doc->m_pitch = c.pitch;
        m_view->InitPageMetrics();
        EXPECT_FALSE(m_view->PaginatePlaques());
        EXPECT_EQ(0, Metrics().pageCount);
        EXPECT_EQ(-1, pPlaque->m_firstPage);
        EXPECT_EQ(-1, m_view->FindPageAt(pPlaque, 0, 0));
        pPlaque->m_firstPage = pPlaque->m_lastPage = 1;   // as an earlier plan left it
        CRect cell;
        EXPECT_FALSE(m_view->GetPageCell(pPlaque, 1, cell));
        EXPECT_FALSE(m_view->DrawPlanPage(NULL, 1));
        pPlaque->m_firstPage = pPlaque->m_lastPage = -1;
    }
}

TEST_F(PlanPages, PageCountsHoldEveryColourOnce)
{
    // The chart lists 14 tile colours a page.
    for (const auto& c : {std::make_pair(0, 1), std::make_pair(14, 1), std::make_pair(15, 2),
                          std::make_pair(28, 2), std::make_pair(29, 3), std::make_pair(120, 9)})
    {
        m_doc->m_tileColourCount = c.first;
        EXPECT_EQ(c.second, m_view->CountPalettePages()) << c.first << " tile colours";
        EXPECT_EQ(c.second, Metrics().pageCount);
    }
    // The information lists 4 colours in use on its first page and 7 on each further one.
    for (const auto& c : {std::make_pair(1, 1), std::make_pair(4, 1), std::make_pair(5, 2),
                          std::make_pair(11, 2), std::make_pair(12, 3)})
    {
        LoadTestMosaic(*m_doc, c.first, 1, PavingSquares, 10);
        EXPECT_EQ(c.second, m_view->CountLegendPages()) << c.first << " colours in use";
    }
}

TEST_F(PlanPages, TextSizeFollowsThePitch)
{
    const int cases[][2] = {{500, 8},   {719, 8},   {720, 10},  {964, 10},
                            {965, 12},  {1209, 12}, {1210, 14}, {2660, 14}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], CVitrolanView::PlanTextSize(c[0])) << "pitch " << c[0];
}

TEST_F(PlanPages, SymbolWidthIsTheLongestSymbolMadeEven)
{
    const struct
    {
        const wchar_t* longest;
        int width;
    } cases[] = {{L"", 2}, {L"A", 2}, {L"AB", 2}, {L"ABC", 4}, {L"ABCD", 4}, {L"ABCDE", 6}};
    for (const auto& c : cases)
    {
        m_doc->m_imagePalette.m_symbols[0] = L"x";
        m_doc->m_imagePalette.m_symbols[255] = c.longest;
        EXPECT_EQ(c.width, m_view->SymbolWidth()) << CStringA(c.longest).GetString();
    }
}

TEST_F(PlanPages, PageObjectsOfAPlanPageWithSymbols)
{
    m_doc->m_colourCount = 3;
    for (int i = 0; i < 256; i++)
        m_doc->m_imagePalette.m_symbols[i] = L"";
    m_doc->m_imagePalette.m_colours[1] = {10, 20, 30, 1};
    LOGFONTW& record = m_doc->m_imagePalette.m_symbolFonts[1];
    record = LOGFONTW();
    record.lfHeight = -33;
    record.lfWeight = FW_BOLD;
    lstrcpyW(record.lfFaceName, L"Symbol");
    m_doc->impression = 2;
    m_doc->m_planPage = 1;

    m_view->CreatePrintObjects(NULL);
    LOGFONTW font;
    // Tile size 2500 and symbols of at most 2 characters.
    m_view->m_tileFonts[0].GetLogFont(&font);
    EXPECT_EQ(374, font.lfHeight);
    EXPECT_EQ(CString(L"Calibri"), CString(font.lfFaceName));
    m_view->m_titleFont.GetLogFont(&font);
    EXPECT_EQ(1000, font.lfHeight);
    EXPECT_TRUE(font.lfItalic);
    m_view->m_symbolFonts[0][1].GetLogFont(&font);
    EXPECT_EQ(-750, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(CString(L"Arial Unicode MS"), CString(font.lfFaceName));
    LOGBRUSH brush;
    ASSERT_TRUE(m_view->m_colourBrushes[1].GetLogBrush(&brush));
    EXPECT_EQ(0x02000000u | RGB(10, 20, 30), brush.lbColor);
    EXPECT_EQ(nullptr, m_view->m_colourBrushes[3].GetSafeHandle());
    LOGPEN pen;
    ASSERT_TRUE(m_view->m_jointPen.GetLogPen(&pen));
    EXPECT_EQ(80, pen.lopnWidth.x);
    EXPECT_EQ(RGB(0, 0, 0), pen.lopnColor);

    // The palette's own record is saved with it: printing leaves it as it was.
    EXPECT_EQ(-33, record.lfHeight);
    EXPECT_EQ(CString(L"Symbol"), CString(record.lfFaceName));

    m_view->ReleasePrintObjects(NULL);
    EXPECT_EQ(nullptr, m_view->m_tileFonts[0].GetSafeHandle());
    EXPECT_EQ(nullptr, m_view->m_symbolFonts[0][1].GetSafeHandle());
    EXPECT_EQ(nullptr, m_view->m_whiteBrush.GetSafeHandle());
}

}   // namespace
