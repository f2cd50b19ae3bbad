// What the view computes without a window: the scroll stops of each group of paving
// patterns, the scroll bars a mosaic needs, the tile masks, and the flags passed to the
// renderer.
#include "MosaicTest.h"

#include <memory>
#include <string.h>

#include "ViewTestSupport.h"

namespace
{

// A document and a view bound to it, without windows.
class ViewLogic : public testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        m_view.reset(new CVitrolanView);
        m_doc->AddView(m_view.get());
    }
    void TearDown() override
    {
        m_view.reset();
        m_doc.reset();
    }

    void Grid(int type, int zoom, int cols, int rows)
    {
        m_doc->m_pavingType = type;
        m_doc->m_tileSize = zoom;
        m_doc->m_cols = cols;
        m_doc->m_rows = rows;
        m_doc->m_loaded = 1;
        // The profile may hold any joint from an earlier run.
        m_doc->intercar = 160;
        m_doc->taillecar = 2500;
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
    std::unique_ptr<CVitrolanView> m_view;
};

TEST_F(ViewLogic, HorizontalScrollStops)
{
    // 50 columns of 10 pixels in 200 pixels: 20 columns show.
    const struct
    {
        const char* name;
        int type, cols, origin;
        UINT code, pos;
        int expected;
    } cases[] = {
        {"line right", PavingSquares, 50, 29, SB_LINERIGHT, 0, 30},
        {"line right at the last page", PavingSquares, 50, 30, SB_LINERIGHT, 0, 30},
        {"line right past the last page comes back", PavingSquares, 50, 49, SB_LINERIGHT, 0, 30},
        {"right end shows the last column only", PavingSquares, 50, 3, SB_RIGHT, 0, 49},
        {"page right", PavingSquares, 50, 5, SB_PAGERIGHT, 0, 25},
        {"page right to the last page", PavingSquares, 50, 25, SB_PAGERIGHT, 0, 30},
        {"page left", PavingSquares, 50, 25, SB_PAGELEFT, 0, 5},
        {"page left to the start", PavingSquares, 50, 5, SB_PAGELEFT, 0, 0},
        {"line left at the start", PavingSquares, 50, 0, SB_LINELEFT, 0, 0},
        {"left end", PavingSquares, 50, 17, SB_LEFT, 0, 0},
        {"thumb", PavingSquares, 50, 2, SB_THUMBTRACK, 17, 17},
        {"thumb released", PavingSquares, 50, 2, SB_THUMBPOSITION, 18, 18},
        {"end of scroll", PavingSquares, 50, 7, SB_ENDSCROLL, 30, 7},
        // The shifted patterns count one column less: 19 show.
        {"line right on hexagons", PavingHexagons, 50, 31, SB_LINERIGHT, 0, 31},
        {"page right on scales", PavingScales1, 50, 5, SB_PAGERIGHT, 0, 24},
        // A mosaic narrower than the window puts its stops below the first column.
        {"narrow: line right", PavingSquares, 10, 0, SB_LINERIGHT, 0, 0},
        {"narrow: page right", PavingSquares, 10, 0, SB_PAGERIGHT, 0, 0},
        {"narrow: right end", PavingSquares, 10, 0, SB_RIGHT, 0, 9},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Grid(c.type, 10, c.cols, 40);
        m_view->SetScrollOrigin(c.origin, 0);
        EXPECT_EQ(c.expected, m_view->NewOriginCol(c.code, c.pos, 200));
    }
}

TEST_F(ViewLogic, VerticalScrollStops)
{
    // 40 rows in 100 pixels at 10: 10 rows of squares; hexagons step 7 (corner 3) and
    // keep one row more below, so 100 / 7 - 1 = 13 show; diamonds step 5: 19.
    const struct
    {
        const char* name;
        int type, zoom, origin;
        UINT code;
        int expected;
    } cases[] = {
        {"squares: line down", PavingSquares, 10, 29, SB_LINEDOWN, 30},
        {"squares: line down at the last page", PavingSquares, 10, 30, SB_LINEDOWN, 30},
        {"squares: page down", PavingSquares, 10, 25, SB_PAGEDOWN, 30},
        {"squares: page up", PavingSquares, 10, 25, SB_PAGEUP, 15},
        // Circles step 9: 11 rows show, none kept below.
        {"circles: line down at the last page", PavingCircles, 10, 29, SB_LINEDOWN, 29},
        {"hexagons: line down", PavingHexagons, 10, 25, SB_LINEDOWN, 26},
        {"hexagons: line down at the last page", PavingHexagons, 10, 26, SB_LINEDOWN, 26},
        {"hexagons: page down", PavingHexagons, 10, 0, SB_PAGEDOWN, 13},
        {"hexagons: page up", PavingHexagons, 10, 20, SB_PAGEUP, 7},
        {"diamonds: page down to the last page", PavingDiamonds, 10, 10, SB_PAGEDOWN, 20},
        {"bottom", PavingHexagons, 10, 3, SB_BOTTOM, 39},
        {"top", PavingHexagons, 10, 3, SB_TOP, 0},
        {"line up at the start", PavingSquares, 10, 0, SB_LINEUP, 0},
        // Hexagons of one pixel have no row pitch: paging moves nothing, and nothing divides
        // by zero.
        {"hexagons at 1: page down", PavingHexagons, 1, 5, SB_PAGEDOWN, 5},
        {"hexagons at 1: line down", PavingHexagons, 1, 5, SB_LINEDOWN, 6},
        // More rows fit than there are.
        {"short mosaic: line down", PavingSquares, 1, 0, SB_LINEDOWN, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Grid(c.type, c.zoom, 50, 40);
        m_view->SetScrollOrigin(0, c.origin);
        EXPECT_EQ(c.expected, m_view->NewOriginRow(c.code, 0, 100));
    }
}

TEST_F(ViewLogic, ScrollBarsAppearWhereTheMosaicDoesNotFit)
{
    const int cxBar = GetSystemMetrics(SM_CXVSCROLL);
    const int cyBar = GetSystemMetrics(SM_CYHSCROLL);
    const struct
    {
        const char* name;
        int cols, rows;
        BOOL bHorz, bVert;
    } cases[] = {
        // 400 x 300 pixels without bars; tiles of 10.
        {"fits", 40, 30, FALSE, FALSE},
        {"too wide", 41, 20, TRUE, FALSE},
        {"too high", 20, 31, FALSE, TRUE},
        {"both", 60, 60, TRUE, TRUE},
        // The horizontal bar takes the height that the last row needed.
        {"wide, and then too high", 50, 30, TRUE, TRUE},
        {"high, and then too wide", 40, 40, TRUE, TRUE},
        {"wide, still low enough", 50, (300 - cyBar) / 10, TRUE, FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Grid(PavingSquares, 10, c.cols, c.rows);
        const CVitrolanView::ScrollBarLayout layout =
            m_view->ComputeScrollBarLayout(CSize(400, 300));
        EXPECT_EQ(c.bHorz, layout.bHorz);
        EXPECT_EQ(c.bVert, layout.bVert);
        EXPECT_EQ(CSize(400 - (c.bVert ? cxBar : 0), 300 - (c.bHorz ? cyBar : 0)), layout.size);
    }
    // Nothing to scroll without a mosaic.
    m_doc->m_loaded = 0;
    EXPECT_FALSE(m_view->ComputeScrollBarLayout(CSize(400, 300)).bHorz);
}

// ---- Tile masks -------------------------------------------------------------------------------

int CountInRow(const CRasterImage& mask, int y, int value)
{
    int n = 0;
    for (int x = 0; x < mask.width; x++)
        n += mask.GetByte(x, y) == value;
    return n;
}

TEST_F(ViewLogic, MasksOfTheCurrentPatternOnlyWithTheJointMaskItsCopy)
{
    for (int type = 0; type < PavingTypeCount; type++)
        for (int zoom : {1, 2, 7, 20})
        {
            SCOPED_TRACE(testing::Message() << "type " << type << " zoom " << zoom);
            Grid(type, zoom, 5, 5);
            m_view->BuildTileMasks();
            for (int set = 0; set < 2; set++)
                for (int i = 0; i < CVitrolanDoc::TileMaskCount; i++)
                {
                    const CRasterImage& mask = m_doc->m_tileMasks[set][i];
                    if (i != type)
                    {
                        EXPECT_EQ(nullptr, mask.data) << "set " << set << " mask " << i;
                        continue;
                    }
                    ASSERT_NE(nullptr, mask.data);
                    EXPECT_EQ(zoom, mask.width);
                    EXPECT_EQ(zoom, mask.height);
                    for (UINT p = 0; p < mask.size; p++)
                        ASSERT_LE(mask.data[p], 2) << "pixel " << p;
                }
            const CRasterImage& shape = m_doc->m_tileMasks[0][type];
            const CRasterImage& joint = m_doc->m_tileMasks[1][type];
            const bool bSame = memcmp(shape.data, joint.data, shape.size) == 0;
            if (type != PavingTriangles)
            {
                EXPECT_TRUE(bSame);
            }
            if (zoom >= 7)
            {
                EXPECT_EQ(type != PavingTriangles, bSame);
                EXPECT_EQ(1, shape.GetByte(zoom / 2, zoom / 2));
            }
        }
}

TEST_F(ViewLogic, TriangleMasksPointOppositeWays)
{
    Grid(PavingTriangles, 20, 5, 5);
    m_view->BuildTileMasks();
    // Rows are kept bottom first: the first triangle is wide at the bottom, the second at
    // the top.
    const CRasterImage& first = m_doc->m_tileMasks[0][PavingTriangles];
    const CRasterImage& second = m_doc->m_tileMasks[1][PavingTriangles];
    EXPECT_GT(CountInRow(first, 2, 1), 10);
    EXPECT_LT(CountInRow(first, 17, 1), 5);
    EXPECT_LT(CountInRow(second, 2, 1), 5);
    EXPECT_GT(CountInRow(second, 17, 1), 10);
}

TEST_F(ViewLogic, SquareJointFrameFollowsTheJointWidth)
{
    const struct
    {
        int intercar, taillecar, zoom, frame;
    } cases[] = {
        {160, 2500, 20, 1},     // 0.64 pixels of joint: the thinnest frame
        {750, 2500, 20, 3},     // 3 pixels, each side having half the joint
        {0, 2500, 20, 1},
        {160, 0, 20, 1},        // no tile size: no joint to scale
        {25000, 2500, 3, 2},    // never the whole tile
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.intercar << "/" << c.taillecar << " at " << c.zoom);
        Grid(PavingSquares, c.zoom, 5, 5);
        m_doc->intercar = c.intercar;
        m_doc->taillecar = c.taillecar;
        EXPECT_EQ(c.frame, m_view->JointFrameWidth());
        m_view->BuildTileMasks();
        const CRasterImage& mask = m_doc->m_tileMasks[0][PavingSquares];
        EXPECT_EQ(c.zoom, CountInRow(mask, c.frame - 1, 2));
        if (c.zoom > 2 * c.frame)
        {
            EXPECT_EQ(2 * c.frame, CountInRow(mask, c.frame, 2));
        }
        else
        {
            EXPECT_EQ(c.zoom, CountInRow(mask, c.zoom / 2, 2));
        }
    }
}

// ---- Flags for the renderer -------------------------------------------------------------------

TEST_F(ViewLogic, TexturesApplyToNotedOrTexturedPalettesWhenSwitchedOn)
{
    const struct
    {
        const char* name;
        int on, kind, notedColour, colourCount;
        int expected;
    } cases[] = {
        {"plain palette", 1, 0, -1, 256, 0},
        {"a note", 1, 0, 7, 256, 1},
        {"a note past the palette's colours", 1, 0, 7, 7, 0},
        {"textured family", 1, 3, -1, 256, 1},
        {"switched off", 0, 3, 7, 256, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CVitrolanDoc& d = *m_doc;
        d.m_texturedTiles = c.on;
        d.m_tilePalette.m_paletteKind = c.kind;
        for (int i = 0; i < C2Palette::ColourCount; i++)
            d.m_tilePalette.m_notes[i] = i == c.notedColour ? L"verre" : L"";
        d.m_tileColourCount = c.colourCount;
        EXPECT_EQ(c.expected, m_view->ComputeTexturesFlag());
    }
}

TEST_F(ViewLogic, SquareCutsBesideHolesOnSquaresOnly)
{
    const struct
    {
        int type;
        double halves, borderCells;
        int expected;
    } cases[] = {
        {PavingSquares, 2, 1, 1},
        {PavingSquares, 0, 1, 0},
        {PavingSquares, 2, 0, 0},
        {PavingCrossedJoints, 2, 1, 0},
    };
    for (const auto& c : cases)
    {
        m_doc->m_pavingType = c.type;
        m_doc->m_countTotals[1] = c.halves;
        m_doc->m_borderCellCount = c.borderCells;
        EXPECT_EQ(c.expected, m_view->ComputeSquareCutFlag()) << c.type;
    }
}

}   // namespace
