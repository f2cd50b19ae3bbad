// The rules of the editing tools that need no window: the colour of a click and a drag, cuts,
// turns and shades of one tile, the brush's cells, the measuring and report texts, the frames,
// and where a point of the view lands on the mosaic for every paving pattern.
#include "MosaicTest.h"

#include <memory>

#include "LangText.h"
#include "RegionTools.h"
#include "TextIds.h"
#include "TileRenderer.h"
#include "ToolRules.h"
#include "ViewTestSupport.h"

namespace
{

struct Bar
{
    int pressed[BarColoursPerPage] = {};
    int page = 0;
    BarSelection Selection() const { return BarSelection{pressed, page}; }
};

TEST(ToolRules, ColourOfAClickComesFromTheBarShown)
{
    Bar image, tile;
    image.page = 2;
    image.pressed[4] = 1;
    tile.page = 1;
    tile.pressed[3] = 1;
    EXPECT_EQ(256 + 33, ClickColour(1, image.Selection(), tile.Selection()));
    EXPECT_EQ(64, ClickColour(2, image.Selection(), tile.Selection()));
    EXPECT_EQ(NoToolColour, ClickColour(3, image.Selection(), tile.Selection()));
    // The last pressed button wins.
    image.pressed[29] = 1;
    EXPECT_EQ(89, ClickColour(2, image.Selection(), tile.Selection()));
    Bar none;
    EXPECT_EQ(NoToolColour, ClickColour(2, none.Selection(), tile.Selection()));
    EXPECT_EQ(NoToolColour, ClickColour(1, image.Selection(), BarSelection{NULL, 0}));
}

TEST(ToolRules, ColourOfADragTakesEitherBarAndPrefersTheTileBar)
{
    Bar image, tile;
    EXPECT_EQ(NoToolColour, DragColour(image.Selection(), tile.Selection()));
    image.pressed[5] = 1;
    EXPECT_EQ(5, DragColour(image.Selection(), tile.Selection()));
    tile.pressed[0] = 1;
    EXPECT_EQ(256, DragColour(image.Selection(), tile.Selection()));
}

TEST(ToolRules, ButtonOfAColourIsOnItsOwnPage)
{
    const struct
    {
        int colour, page, button;
    } cases[] = {{0, 0, 0}, {29, 0, 29}, {30, 1, 0}, {255, 8, 15}};
    for (const auto& c : cases)
    {
        int page = -1, button = -1;
        BarButtonOfColour(c.colour, page, button);
        EXPECT_EQ(c.page, page) << c.colour;
        EXPECT_EQ(c.button, button) << c.colour;
    }
}

TEST(ToolRules, ImageColourIsLookedForAmongTheColoursInUseOnly)
{
    PaletteEntry colours[256] = {};
    colours[3] = PaletteEntry{10, 20, 30, 1};
    colours[7] = PaletteEntry{10, 20, 30, 1};
    EXPECT_EQ(3, FindImageColour(colours, 8, PaletteEntry{10, 20, 30, 0}));
    EXPECT_EQ(-1, FindImageColour(colours, 3, PaletteEntry{10, 20, 30, 0}));
    // Black entries past the count belong to no colour.
    EXPECT_EQ(0, FindImageColour(colours, 8, PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(-1, FindImageColour(colours, 0, PaletteEntry{0, 0, 0, 0}));
}

// ---- Cuts, turns and shades -------------------------------------------------------------------

// The edge of a cut is the border pattern's: in a grid of 8 rows rows 0, 2, 4 and 6 are
// shifted (column 0 their right half, the last column their left half), the last column of the
// others lies outside; in one of 7 rows the odd rows are shifted.
TEST(ToolRules, EdgeTilesAreCutAsTheBorderPatternLaysThem)
{
    const struct
    {
        int type, rows, col, row, kind, shape;
    } cases[] = {
        {PavingSquares, 8, 0, 0, 0, 0},       {PavingCrossedJoints, 8, 9, 7, 0, 0},
        {PavingCrossedJoints, 8, 0, 2, 4, 1}, {PavingCrossedJoints, 8, 9, 2, 4, 2},
        {PavingHexagons, 8, 4, 0, 3, 3},      {PavingHexagons, 8, 4, 7, 3, 4},
        {PavingHexagons, 8, 0, 3, 0, 0},      {PavingHexagons, 8, 0, 2, 4, 1},
        {PavingHexagons, 8, 9, 2, 4, 2},      {PavingHexagons, 8, 9, 3, 0, 0},
        {PavingHexagons, 8, 0, 0, 5, 7},      {PavingHexagons, 8, 9, 0, 5, 5},
        {PavingHexagons, 7, 0, 0, 3, 3},      {PavingHexagons, 7, 9, 0, 0, 0},
        {PavingHexagons, 7, 0, 1, 4, 1},      {PavingHexagons, 7, 0, 2, 0, 0},
        {PavingDiamonds, 8, 5, 5, 0, 0},      {PavingCircles, 8, 9, 7, 0, 0},
        {PavingTriangles, 8, 4, 0, 0, 0},     {PavingTriangles, 8, 0, 0, 4, 1},
        {PavingTriangles, 8, 0, 1, 0, 0},     {PavingTriangles, 8, 9, 4, 4, 2},
        {PavingTriangles, 7, 3, 0, 0, 0},     {PavingTriangles, 7, 0, 1, 4, 1},
        {PavingScales1, 8, 3, 0, 3, 3},
    };
    for (const auto& c : cases)
    {
        int shape = 0;
        EXPECT_EQ(c.kind, CutEdgeKind(c.type, 10, c.rows, c.col, c.row, &shape))
            << "type " << c.type << " rows " << c.rows << " at " << c.col << "," << c.row;
        if (c.kind != 0)
            EXPECT_EQ(c.shape, shape);
    }
}

TEST(ToolRules, CutsGiveTheKindAndColourOfThePartUnderThePointer)
{
    const struct
    {
        int mode, edge, part, kind;
        int colours[4];
    } cases[] = {
        {0, 0, 2, 0, {9, 9, 9, 9}},
        {0, 4, 1, 4, {9, 9, 9, 9}},
        {1, 0, 1, 1, {1, 9, 3, 4}},
        {1, 0, 2, 1, {9, 2, 3, 4}},
        {1, 0, 3, 2, {1, 9, 3, 4}},
        {1, 0, 4, 2, {9, 2, 3, 4}},
        {1, 3, 4, 3, {9, 9, 9, 9}},
        // Diagonal halves keep the edge too.
        {3, 3, 1, 3, {9, 9, 9, 9}},
        {3, 0, 2, 3, {1, 9, 3, 4}},
        {3, 0, 3, 4, {1, 9, 3, 4}},
        {3, 0, 4, 4, {9, 2, 3, 4}},
        {5, 0, 1, 5, {1, 9, 3, 4}},
        {5, 0, 2, 5, {1, 2, 9, 4}},
        {5, 0, 3, 5, {9, 2, 3, 4}},
        {5, 0, 4, 5, {1, 2, 3, 9}},
        {5, 4, 4, 4, {9, 9, 9, 9}},
        {6, 0, 1, 6, {1, 2, 9, 4}},
        {6, 0, 2, 6, {1, 9, 3, 4}},
        {6, 0, 3, 6, {1, 2, 3, 9}},
        {6, 0, 4, 6, {9, 2, 3, 4}},
        {6, 3, 1, 3, {9, 9, 9, 9}},
    };
    for (const auto& c : cases)
    {
        int kind = 2, colours[4] = {1, 2, 3, 4};
        ApplyCut(c.mode, c.edge, c.part, 9, kind, colours);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " edge " << c.edge << " part "
                                        << c.part);
        EXPECT_EQ(c.kind, kind);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(c.colours[i], colours[i]) << i;
    }
    EXPECT_EQ(TXT_UNDO_WHOLE_TILES, CutUndoText(0));
    EXPECT_EQ(TXT_UNDO_HALVES, CutUndoText(1));
    EXPECT_EQ(TXT_UNDO_DIAGONAL_HALVES, CutUndoText(3));
    EXPECT_EQ(TXT_UNDO_QUARTERS, CutUndoText(5));
    EXPECT_EQ(TXT_UNDO_DIAGONAL_QUARTERS, CutUndoText(6));
}

TEST(ToolRules, TurningLeftThenRightGivesTheCutBack)
{
    const int start[4] = {11, 12, 13, 14};
    const int left[7][5] = {
        {0, 11, 12, 13, 14}, {2, 12, 11, 13, 14}, {1, 11, 12, 13, 14}, {4, 12, 11, 13, 14},
        {3, 11, 12, 13, 14}, {5, 12, 14, 11, 13}, {6, 12, 14, 11, 13}};
    for (int kind = 0; kind <= 6; kind++)
    {
        SCOPED_TRACE(kind);
        int k = kind, colours[4] = {11, 12, 13, 14};
        TurnCut(k, colours, TRUE);
        EXPECT_EQ(left[kind][0], k);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(left[kind][1 + i], colours[i]);
        TurnCut(k, colours, FALSE);
        EXPECT_EQ(kind, k);
        EXPECT_EQ(0, memcmp(start, colours, sizeof(start)));
        TurnCut(k, colours, FALSE);
        TurnCut(k, colours, TRUE);
        EXPECT_EQ(kind, k);
        EXPECT_EQ(0, memcmp(start, colours, sizeof(start)));
    }
    // Four quarter turns come round.
    int k = 5, colours[4] = {11, 12, 13, 14};
    for (int i = 0; i < 4; i++)
        TurnCut(k, colours, TRUE);
    EXPECT_EQ(0, memcmp(start, colours, sizeof(start)));
}

TEST(ToolRules, ShadesAndQuartersGoRound)
{
    // Variant = quarter + 4 x shade.
    const struct
    {
        int kind;
        UINT key;
        int before, after;
    } cases[] = {
        {1, VK_UP, 4 * 24 + 1, 1},   {1, VK_DOWN, 2, 4 * 24 + 2}, {1, VK_UP, 4 * 3, 4 * 4},
        {2, VK_UP, 4 * 9 + 3, 3},    {2, VK_DOWN, 4 * 5, 4 * 4},  {3, VK_UP, 2, 2},
        {4, VK_UP, 4 * 3, 0},        {4, VK_DOWN, 1, 4 * 3 + 1},  {1, VK_LEFT, 3, 0},
        {1, VK_LEFT, 4 + 1, 4 + 2},  {1, VK_RIGHT, 4 * 7, 4 * 7 + 3},
    };
    for (const auto& c : cases)
    {
        int variants[4] = {c.before, c.before, c.before, c.before};
        EXPECT_TRUE(ShadeVariants(variants, c.key, c.kind));
        for (int v : variants)
            EXPECT_EQ(c.after, v) << "kind " << c.kind << " key " << c.key << " from "
                                  << c.before;
    }
    // Plain colours have no textures to shade.
    int variants[4] = {5, 6, 7, 8};
    EXPECT_FALSE(ShadeVariants(variants, VK_UP, 0));
    EXPECT_FALSE(ShadeVariants(variants, VK_RETURN, 1));
    EXPECT_EQ(5, variants[0]);
}

// ---- Brush ----------------------------------------------------------------------------------

class BrushCells : public testing::Test
{
protected:
    void SetUp() override
    {
        m_map.Create(0, 4 * 5, 4 * 4);
        for (int r = 0; r < 4; r++)
            for (int c = 0; c < 5; c++)
                m_map.SetCell(c, r, 0, 3, 1, 2, 3, 4, 5, 6, 7, 8);
    }
    void TearDown() override { m_map.Free(); }
    int Shape(int c, int r) const
    {
        int s, k, a, b, cc, d, va, vb, vc, vd;
        m_map.GetCell(c, r, s, k, a, b, cc, d, va, vb, vc, vd);
        return s;
    }
    bool Painted(int c, int r, int colour) const
    {
        int s, k, a, b, cc, d, va, vb, vc, vd;
        m_map.GetCell(c, r, s, k, a, b, cc, d, va, vb, vc, vd);
        return s == 0 && k == 0 && a == colour && b == colour && cc == colour && d == colour &&
               va == 5 && vb == 6 && vc == 7 && vd == 8;
    }
    CRasterImage m_map;
};

TEST_F(BrushCells, AGridCornerPaintsOnlyTheCellsInside)
{
    PaintBrushCells(m_map, 5, 4, 4, 3, 9);
    int nPainted = 0;
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 5; c++)
            nPainted += Painted(c, r, 9);
    EXPECT_EQ(4, nPainted);
    EXPECT_TRUE(Painted(3, 2, 9));
    EXPECT_TRUE(Painted(4, 3, 9));
}

TEST_F(BrushCells, RemovedCellsStayRemoved)
{
    m_map.SetCell(2, 1, ShapeHole, 0, 1, 1, 1, 1, 0, 0, 0, 0);
    PaintBrushCells(m_map, 5, 4, 1, 1, 9);
    EXPECT_EQ(ShapeHole, Shape(2, 1));
    EXPECT_TRUE(Painted(0, 0, 9));
    EXPECT_TRUE(Painted(1, 2, 9));
    // A click on a removed cell paints nothing at all.
    PaintBrushCells(m_map, 5, 4, 2, 1, 7);
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 5; c++)
            EXPECT_FALSE(Painted(c, r, 7));
}

TEST(ToolRules, BrushRedrawCoversTheNeighbourTiles)
{
    EXPECT_EQ(CRect(90, 90, 150, 150), BrushRedrawRect(PavingSquares, 20, 110, 110));
    EXPECT_EQ(CRect(70, 95, 170, 155), BrushRedrawRect(PavingHexagons, 20, 110, 110));
    EXPECT_EQ(CRect(70, 70, 170, 150), BrushRedrawRect(PavingTriangles, 20, 110, 110));
}

// ---- Texts ----------------------------------------------------------------------------------

TEST(ToolRules, MeasuredRunsAreInMetresOrFeet)
{
    // Tiles of 25 mm with joints of 1.6 mm: a pitch of 2660 hundredths of a millimetre.
    EXPECT_DOUBLE_EQ(0.266, RunLength(PavingSquares, 2660, 10, TRUE, 0));
    EXPECT_DOUBLE_EQ(0.0266 * 7, RunLength(PavingSquares, 2660, 7, FALSE, 0));
    // One inch in thousandths, twelve of them: a foot.
    EXPECT_DOUBLE_EQ(1.0, RunLength(PavingSquares, 1000, 12, TRUE, 1));
    // Hexagon rows overlap: the height of three rows is less than three pitches.
    EXPECT_LT(RunLength(PavingHexagons, 2660, 3, FALSE, 0), 3 * 0.0266);
    EXPECT_EQ(CString(L"Width = 0.266 m"), MeasureText(L"Width", 0.266, L"m"));
    EXPECT_EQ(CString(L"H = 12.000 ft"), MeasureText(L"H", 11.99999, L"ft"));
}

TEST(ToolRules, TileReportNamesThePartsInTheirOrder)
{
    std::unique_ptr<C2Palette> palette(new C2Palette);
    palette->m_colours[1] = PaletteEntry{1, 2, 3, 1};
    palette->m_colours[2] = PaletteEntry{4, 5, 6, 1};
    palette->m_colourNames[3] = L"Blue 3";
    palette->m_colourNames[4] = L"Red 4";
    CString rgb1, rgb2;
    rgb1.Format(L"(%s = 1, %s = 2, %s = 3)", (LPCTSTR)GetLangText(TXT_RED),
                (LPCTSTR)GetLangText(TXT_GREEN), (LPCTSTR)GetLangText(TXT_BLUE));
    rgb2.Format(L"(%s = 4, %s = 5, %s = 6)", (LPCTSTR)GetLangText(TXT_RED),
                (LPCTSTR)GetLangText(TXT_GREEN), (LPCTSTR)GetLangText(TXT_BLUE));
    const int colours[4] = {1, 2, 3, 4};
    EXPECT_EQ(rgb1, TileReportText(*palette, 0, colours));
    EXPECT_EQ(GetLangText(TXT_CELL_HALVES) + L" " + rgb2 + L"/" + rgb1,
              TileReportText(*palette, 2, colours));
    EXPECT_EQ(GetLangText(TXT_CELL_DIAGONAL_HALVES) + L" " + rgb2 + L"/" + rgb1,
              TileReportText(*palette, 3, colours));
    EXPECT_EQ(GetLangText(TXT_CELL_QUARTERS) + L" " + rgb2 + L"/" + rgb1 + L"/Blue 3/Red 4",
              TileReportText(*palette, 5, colours));
    EXPECT_EQ(GetLangText(TXT_CELL_DIAGONAL_QUARTERS) + L" " + rgb2 + L"/" + rgb1 +
                  L"/Blue 3/Red 4",
              TileReportText(*palette, 6, colours));
}

// ---- Frames ---------------------------------------------------------------------------------

TEST(ToolRules, StampFrameFollowsThePointerInsideTheViewAndTheMosaic)
{
    // A text of 11 x 6 tiles: half sizes of 5 and 3 tiles, 50 and 30 pixels.
    const CSize client(400, 300);
    const CPoint end(350, 1000);
    EXPECT_EQ(CRect(150, 70, 250, 130), StampFrameAt(PavingSquares, 10, CPoint(200, 100), 11,
                                                     6, client, end));
    EXPECT_EQ(CRect(0, 0, 100, 60),
              StampFrameAt(PavingSquares, 10, CPoint(3, 2), 11, 6, client, end));
    // The mosaic ends before the view does.
    EXPECT_EQ(CRect(250, 240, 350, 300),
              StampFrameAt(PavingSquares, 10, CPoint(399, 299), 11, 6, client, end));
    // Wider than the room: the left edge stays at the start.
    EXPECT_EQ(0, StampFrameAt(PavingSquares, 10, CPoint(200, 100), 80, 6, client, end).left);
}

TEST(ToolRules, ToolsTakeClicksInTheClientAreaGrownByTheStamp)
{
    EXPECT_TRUE(ToolClickArea(CSize(300, 200), FALSE, 40).PtInRect(CPoint(299, 199)));
    EXPECT_FALSE(ToolClickArea(CSize(300, 200), FALSE, 40).PtInRect(CPoint(10, 200)));
    EXPECT_TRUE(ToolClickArea(CSize(300, 200), TRUE, 40).PtInRect(CPoint(10, 239)));
}

// ---- Where a point lands ----------------------------------------------------------------------

// Each cell of a mosaic has a colour of its own, and split tiles a colour per part: the picture
// says which tile and part lies under every pixel.
class Locating : public testing::Test
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

    // Every third cell is split into four diagonal quarters of three more colours.
    void Load(int type, int originCol, int originRow)
    {
        LoadTestMosaic(*m_doc, kCols, kRows, type, kZoom);
        CRasterImage& map = m_doc->m_workingMap;
        for (int r = 0; r < kRows; r++)
            for (int c = 0; c < kCols; c++)
                if ((r * kCols + c) % 3 == 0)
                {
                    int s, k, a, b, cc, d, va, vb, vc, vd;
                    map.GetCell(c, r, s, k, a, b, cc, d, va, vb, vc, vd);
                    if (s == 0)
                        map.SetCell(c, r, 0, 6, a, a + 200 - 250 * (a + 200 > 250), 251 + r % 2,
                                    253 + c % 2, 0, 0, 0, 0);
                }
        for (int i = 251; i < 255; i++)
            m_doc->m_imagePalette.m_colours[i] = PaletteEntry{(BYTE)i, 0, (BYTE)(i - 250), 1};
        m_doc->m_colourCount = 256;
        m_doc->m_showJoints = 0;
        m_view->SetScrollOrigin(originCol, originRow);
        m_view->BuildTileMasks();
        m_doc->m_screenImage.Create(1, kWidth, kHeight);
        int hit[5];
        RenderMosaic(&m_doc->m_screenImage, 0, &map, kZoom, 0, kCols, kRows, originCol,
                     originRow, type, NULL, m_doc->m_tileMasks[0], m_doc->m_tileMasks[1], 0, 0,
                     &hit[0], &hit[1], &hit[2], &hit[3], &hit[4], NULL, 0, 0, NULL,
                     &m_doc->m_colourTable[0][0], m_doc->m_imagePalette.m_colours, NULL, 0,
                     NULL);
    }
    ShownMosaic Shown(int originCol, int originRow)
    {
        ShownMosaic m = {&m_doc->m_workingMap, kZoom, kCols, kRows, originCol, originRow,
                         m_doc->m_pavingType, m_doc->m_tileMasks[0], m_doc->m_tileMasks[1],
                         kWidth, kHeight};
        return m;
    }
    // The image colour the picture shows at a pixel, or -1 for joints and background.
    int ColourAt(int x, int y) const
    {
        const BYTE* p = m_doc->m_screenImage.data + 3 * ((size_t)y * kWidth + x);
        for (int i = 1; i < 256; i++)
        {
            const PaletteEntry& e = m_doc->m_imagePalette.m_colours[i];
            if (e.peRed == p[0] && e.peGreen == p[1] && e.peBlue == p[2])
                return i;
        }
        return -1;
    }

    static const int kCols = 15;
    static const int kRows = 12;
    static const int kZoom = 24;
    static const int kWidth = 300;
    static const int kHeight = 220;
    std::unique_ptr<CVitrolanDoc> m_doc;
    std::unique_ptr<CVitrolanView> m_view;
};

// The located tile, and the part of the region plane the tools start from, hold the colour
// the picture shows under the point, for every pattern, scrolled or not.
TEST_F(Locating, APointLandsOnTheTileAndPartDrawnUnderIt)
{
    for (int type = 0; type < PavingTypeCount; type++)
        for (int scrolled = 0; scrolled < 2; scrolled++)
        {
            SCOPED_TRACE(testing::Message() << "type " << type << " scrolled " << scrolled);
            Load(type, 2 * scrolled, 3 * scrolled);
            const ShownMosaic m = Shown(2 * scrolled, 3 * scrolled);
            CRasterImage plane;
            ASSERT_TRUE(PrepareRegionPlane(&plane, &m_doc->m_workingMap, kCols, kRows));
            int nChecked = 0, nWrongTile = 0, nWrongPart = 0, nOutsideBox = 0, nGaps = 0;
            for (int y = 0; y < kHeight; y += 3)
                for (int x = 0; x < kWidth; x += 3)
                {
                    const int colour = ColourAt(x, y);
                    TileSpot spot;
                    if (colour < 0)
                    {
                        // Joints and gaps: a tile whose box holds the point and shows the
                        // tile in its middle (the row before the first one of triangles is
                        // not drawn at all), or none.
                        if (!LocateTile(m, 6, CPoint(x, y), spot))
                            continue;
                        nGaps++;
                        nOutsideBox += x < spot.x || y < spot.y || x >= spot.x + kZoom ||
                                       y >= spot.y + kZoom;
                        const CPoint mid(spot.x + kZoom / 2, spot.y + kZoom / 2);
                        int s, k, c[4], v[4];
                        m_doc->m_workingMap.GetCell(spot.col, spot.row, s, k, c[0], c[1], c[2],
                                                    c[3], v[0], v[1], v[2], v[3]);
                        const int shown = mid.x < kWidth && mid.y < kHeight && mid.y >= 0
                                              ? ColourAt(mid.x, mid.y)
                                              : c[0];
                        nOutsideBox += s == 0 && (shown >= 0 || type != PavingTriangles) &&
                                       shown != c[0] && shown != c[1] && shown != c[2] &&
                                       shown != c[3];
                        continue;
                    }
                    ASSERT_TRUE(LocateTile(m, 6, CPoint(x, y), spot)) << x << "," << y;
                    int s, k, c[4], v[4];
                    m_doc->m_workingMap.GetCell(spot.col, spot.row, s, k, c[0], c[1], c[2], c[3],
                                                v[0], v[1], v[2], v[3]);
                    nWrongTile += c[0] != colour && c[1] != colour && c[2] != colour &&
                                  c[3] != colour;
                    const CPoint q = RegionPointOfSpot(m_doc->m_workingMap, kZoom, spot);
                    nWrongPart += plane.GetByte(q.x, q.y) != colour;
                    nChecked++;
                }
            plane.Free();
            EXPECT_GT(nChecked, 1000);
            EXPECT_EQ(0, nWrongTile);
            EXPECT_EQ(0, nOutsideBox);
            if (type == PavingCircles)
            {
                EXPECT_GT(nGaps, 1000);
            }
            // Where a diagonal crosses a pixel the part and the quarter may disagree by one.
            EXPECT_LE(nWrongPart, nChecked / 50);
        }
}

TEST_F(Locating, APointBesideTheMosaicLandsNowhere)
{
    Load(PavingSquares, 0, 0);
    const ShownMosaic m = Shown(0, 0);
    TileSpot spot;
    // 15 columns of 24 pixels end at 360, past the picture; 12 rows end at 288.
    EXPECT_TRUE(LocateTile(m, 0, CPoint(kWidth - 1, kHeight - 1), spot));
    EXPECT_EQ(12, spot.col);
    EXPECT_EQ(9, spot.row);
    EXPECT_EQ(288, spot.x);
    EXPECT_EQ(216, spot.y);
    EXPECT_FALSE(LocateTile(m, 0, CPoint(-1, 5), spot));
    ShownMosaic narrow = m;
    narrow.cols = 5;
    narrow.rows = 4;
    EXPECT_FALSE(LocateTile(narrow, 0, CPoint(5 * kZoom + 3, 10), spot));
    EXPECT_FALSE(LocateTile(narrow, 0, CPoint(10, 4 * kZoom + 3), spot));
    EXPECT_TRUE(LocateTile(narrow, 0, CPoint(5 * kZoom - 1, 4 * kZoom - 1), spot));
}

} // namespace
