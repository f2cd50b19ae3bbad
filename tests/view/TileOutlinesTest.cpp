// The drawing of one tile on a laying-plan page: outline points at a pitch whose eighths do
// not divide evenly, the parts each shape code keeps, the mirror image, labels and colours,
// and the parts of every cell kind tiling their tile without gaps or overlaps.
#include "MosaicTest.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Paving.h"
#include "RasterImage.h"
#include "TileOutlines.h"
#include "TilePalette.h"
#include "TileRenderer.h"

namespace
{

std::string Narrow(const CString& text)
{
    std::string result;
    for (int i = 0; i < text.GetLength(); i++)
        result += (char)text[i];
    return result;
}

std::string Pt(const POINT& p)
{
    char buffer[40];
    snprintf(buffer, sizeof buffer, "%ld,%ld", (long)p.x, (long)p.y);
    return buffer;
}

std::string Rc(const RECT& r)
{
    char buffer[80];
    snprintf(buffer, sizeof buffer, "%ld,%ld,%ld,%ld", (long)r.left, (long)r.top, (long)r.right,
             (long)r.bottom);
    return buffer;
}

// One operation as text, so that a whole part compares at once.
std::string Describe(const TileOp& op)
{
    std::string s;
    switch (op.code)
    {
    case TileOpSetTextColor:
        return "textcolour " + std::to_string(op.value);
    case TileOpSelectBrush:
        return "brush " + std::to_string(op.value);
    case TileOpSelectFont:
        return "font " + std::to_string(op.value);
    case TileOpRectangle:
        return "rect " + Rc(op.rect);
    case TileOpEllipse:
        return "ellipse " + Rc(op.rect);
    case TileOpPolygon:
        s = "poly";
        for (const POINT& p : op.points)
            s += " " + Pt(p);
        return s;
    case TileOpArcTo:
        return "pie " + Rc(op.rect) + " " + Pt(op.start) + " " + Pt(op.end);
    case TileOpArc:
        return "arc " + Rc(op.rect) + " " + Pt(op.start) + " " + Pt(op.end);
    case TileOpMoveTo:
        return "move " + Pt(op.start);
    case TileOpLineTo:
        return "line " + Pt(op.start);
    case TileOpDrawText:
        return "text " + std::to_string(op.value) + " \"" + Narrow(op.text) + "\" " +
               Rc(op.rect) + " " + std::to_string(op.hAlign) + std::to_string(op.vAlign);
    }
    return "?";
}

std::string Describe(const TileOpList& ops, size_t first = 0, size_t end = (size_t)-1)
{
    std::string s;
    for (size_t i = first; i < ops.size() && i < end; i++)
        s += (s.empty() ? "" : "; ") + Describe(ops[i]);
    return s;
}

TileCell Cell(int kind, int shape, int a = 0, int b = 1, int c = 2, int d = 3)
{
    TileCell cell = {};
    cell.kind = (BYTE)kind;
    cell.shape = (BYTE)shape;
    cell.colour[0] = (BYTE)a;
    cell.colour[1] = (BYTE)b;
    cell.colour[2] = (BYTE)c;
    cell.colour[3] = (BYTE)d;
    return cell;
}

// The label texts, in drawing order.
std::string Texts(const TileOpList& ops)
{
    std::string texts;
    bool first = true;
    for (const TileOp& op : ops)
        if (op.code == TileOpDrawText)
        {
            texts += (first ? "" : ",") + Narrow(op.text);
            first = false;
        }
    return texts;
}

// The outline and label of each part drawn, without the font and colour operations.
std::vector<std::string> Parts(const TileOpList& ops)
{
    std::vector<std::string> parts;
    std::string current;
    bool open = false;
    for (const TileOp& op : ops)
    {
        if (op.code == TileOpSetTextColor || op.code == TileOpSelectBrush ||
            op.code == TileOpSelectFont)
            continue;
        current += (open ? "; " : "") + Describe(op);
        open = true;
        if (op.code == TileOpDrawText)
        {
            parts.push_back(current);
            current.clear();
            open = false;
        }
    }
    if (open)
        parts.push_back(current);
    return parts;
}

class TileOutlines : public testing::Test
{
protected:
    void SetUp() override
    {
        m_image.reset(new C2Palette);
        m_tiles.reset(new C2Palette);
        m_outlines.m_pitch = 1001;
        m_outlines.m_textSize = 14;
        m_outlines.m_pImagePalette = m_image.get();
        m_outlines.m_pTilePalette = m_tiles.get();
    }

    TileOpList Build(int type, const TileCell& cell, BOOL pointsDown = TRUE)
    {
        m_outlines.m_pavingType = type;
        TileOpList ops;
        m_outlines.BuildCell(cell, 2000, -3000, pointsDown, ops);
        return ops;
    }

    void SetColour(C2Palette& palette, int i, int r, int g, int b)
    {
        palette.m_colours[i].peRed = (BYTE)r;
        palette.m_colours[i].peGreen = (BYTE)g;
        palette.m_colours[i].peBlue = (BYTE)b;
    }

    std::unique_ptr<C2Palette> m_image;
    std::unique_ptr<C2Palette> m_tiles;
    CTileOutlines m_outlines;
};

// P = 1001 in the box at (2000, -3000): eighths 125, 250, 375, 500, 625, 750, 875, 1001 and
// 1501 for 3P/2 (each truncated, never n x (P / 8) nor rounded), k = 353.9069.
TEST_F(TileOutlines, OutlinePointsAtAPitchThatTruncates)
{
    const struct
    {
        const char* name;
        int type;
        int kind;
        BOOL down;
        size_t part;
        const char* expected;
    } cases[] = {
        {"whole square", PavingSquares, 0, TRUE, 0,
         "rect 2000,-3000,3001,-4001; text 14 \"0\" 2000,-3000,3001,-4001 14"},
        {"lower right quarter of a square", PavingSquares, 5, TRUE, 1,
         "rect 2500,-3500,3001,-4001; text 10 \"2\" 2500,-3500,3001,-4001 14"},
        {"left half, crossed joints", PavingCrossedJoints, 4, TRUE, 1,
         "rect 2000,-3000,2500,-4001; text 11 \"1\" 2000,-3000,2500,-4001 14"},
        {"right diamond of a diamond", PavingDiamonds, 6, TRUE, 1,
         "poly 2500,-3500 2750,-3250 3001,-3500 2750,-3750 2500,-3500; "
         "text 10 \"0\" 2625,-3375,2875,-3625 14"},
        {"lower right half of a circle", PavingCircles, 1, TRUE, 0,
         "pie 2000,-3000,3001,-4001 2146,-3854 2854,-3146; "
         "text 11 \"0\" 2500,-3500,2854,-3854 14"},
        {"whole circle", PavingCircles, 0, TRUE, 0,
         "ellipse 2000,-3000,3001,-4001; text 14 \"0\" 2000,-3000,3001,-4001 14"},
        {"bottom of four triangles, pointing down", PavingTriangles, 6, TRUE, 2,
         "poly 2250,-3500 2500,-3250 2750,-3500 2500,-4001 2250,-3500; "
         "text 9 \"1\" 2375,-3500,2625,-3750 14"},
        {"lower right quarter, pointing up", PavingTriangles, 5, FALSE, 1,
         "poly 2500,-3500 2750,-3500 3001,-4001 2500,-4001 2500,-3500; "
         "text 9 \"2\" 2500,-3750,2750,-4001 14"},
        {"upper right half of a hexagon", PavingHexagons, 2, TRUE, 0,
         "poly 2250,-3125 2500,-3000 3001,-3250 3001,-3750 2750,-3875 2250,-3125; "
         "text 11 \"0\" 2500,-3250,3001,-3500 14"},
        {"whole scale, first kind", PavingScales1, 0, TRUE, 0,
         "arc 2000,-3000,3001,-4001 2000,-3500 3001,-3500; "
         "arc 2500,-2500,3501,-3500 2500,-3000 3001,-3500; "
         "arc 1500,-2500,2500,-3500 2000,-3500 2500,-3000; "
         "text 13 \"0\" 2000,-3000,3001,-4001 14"},
        {"lower right half of a scale, first kind", PavingScales1, 1, TRUE, 0,
         "arc 2000,-3000,3001,-4001 2146,-3854 3001,-3500; "
         "arc 2500,-2500,3501,-3500 2647,-3354 3001,-3500; "
         "move 2647,-3354; line 2146,-3854; text 11 \"0\" 2500,-3500,2854,-3750 14"},
        {"bottom half of a scale, second kind: its label unrounded", PavingScales2, 3, TRUE, 0,
         "arc 2500,-3500,3501,-4501 3001,-3500 2500,-4001; "
         "arc 1500,-3500,2500,-4501 2500,-4001 2000,-3500; "
         "move 2000,-3500; line 3001,-3500; text 11 \"1\" 2375,-3500,2626,-3751 14"},
        {"bottom triangle of a scale, second kind", PavingScales2, 6, TRUE, 2,
         "arc 2500,-3500,3501,-4501 2647,-3647 2500,-4001; "
         "arc 1500,-3500,2500,-4501 2500,-4001 2354,-3647; "
         "move 2500,-3500; line 2647,-3647; move 2500,-3500; line 2354,-3647; "
         "text 11 \"1\" 2375,-3625,2625,-3750 14"},
    };
    for (const auto& c : cases)
    {
        const std::vector<std::string> parts = Parts(Build(c.type, Cell(c.kind, 0), c.down));
        ASSERT_LT(c.part, parts.size()) << c.name;
        EXPECT_EQ(c.expected, parts[c.part]) << c.name;
    }
}

TEST_F(TileOutlines, PartOrderAndColoursFollowTheCellKind)
{
    // Colours 10 to 13 for A to D: the label of each part names the colour it is drawn in.
    const struct
    {
        int kind;
        const char* colours;
    } cases[] = {
        {0, "10"}, {1, "10,11"}, {2, "10,11"}, {3, "11,10"},
        {4, "10,11"}, {5, "13,12,10,11"}, {6, "12,10,11,13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.colours, Texts(Build(PavingSquares, Cell(c.kind, 0, 10, 11, 12, 13))))
            << "kind " << c.kind;
}

TEST_F(TileOutlines, ShapeCodesKeepThePartsTheScreenShows)
{
    const struct
    {
        const char* name;
        int kind;
        int shape;
        const char* colours;
    } cases[] = {
        {"complete cut tile", 5, 0, "3,2,0,1"},
        {"no tile", 0, 16, ""},
        {"no tile, split", 6, 16, ""},
        {"whole tile with a split tile's code", 0, 3, ""},
        {"diagonal A alone", 1, 2, "0"},
        {"diagonal B alone", 1, 1, "1"},
        {"diagonal, other kind's code", 1, 4, ""},
        {"other diagonal, A alone", 2, 4, "0"},
        {"other diagonal, B alone", 2, 3, "1"},
        {"top half alone", 3, 4, "0"},
        {"bottom half alone", 3, 3, "1"},
        {"right half alone", 4, 1, "0"},
        {"left half alone", 4, 2, "1"},
        {"quarters: left half", 5, 1, "0,1"},
        {"quarters: bottom half", 5, 3, "2,0"},
        {"quarters: lower right alone", 5, 7, "2"},
        {"quarters: all but A", 5, 9, "3,2,1"},
        {"quarters: all but C", 5, 11, "3,0,1"},
        {"triangles: bottom alone", 6, 6, "1"},
        {"triangles: all but B", 6, 10, "2,0,3"},
        {"quarters: code above 12", 5, 13, ""},
    };
    for (const auto& c : cases)
    {
        const TileOpList ops = Build(PavingSquares, Cell(c.kind, c.shape));
        int outlines = 0;
        for (const TileOp& op : ops)
            outlines += op.code == TileOpRectangle || op.code == TileOpPolygon;
        const std::string texts = Texts(ops);
        EXPECT_EQ(c.colours, texts) << c.name;
        EXPECT_EQ((int)(texts.size() + 1) / 2, outlines) << c.name;
    }
    EXPECT_TRUE(Build(PavingSquares, Cell(0, 16)).empty()) << "a hole draws nothing at all";
}

TEST_F(TileOutlines, FontsColoursAndLabelSizes)
{
    // Dark colour 1 takes a white label, light colour 2 a black one.
    SetColour(*m_image, 1, 20, 20, 90);
    SetColour(*m_image, 2, 250, 250, 200);
    m_outlines.m_fillColours = TRUE;
    EXPECT_EQ("textcolour 16777215; brush 1; rect 2000,-3000,3001,-4001; "
              "text 14 \"1\" 2000,-3000,3001,-4001 14; textcolour 0",
              Describe(Build(PavingSquares, Cell(0, 0, 1))));
    EXPECT_EQ("font 2; textcolour 0; brush 2; poly 3001,-3000 3001,-4001 2000,-4001 3001,-3000; "
              "text 11 \"2\" 2500,-3500,3001,-4001 14; textcolour 16777215; brush 1; "
              "poly 2000,-3000 3001,-3000 2000,-4001 2000,-3000; "
              "text 11 \"1\" 2000,-3000,2500,-3500 14; font 1; textcolour 0",
              Describe(Build(PavingSquares, Cell(1, 0, 2, 1))));

    // Sizes for T = 14: the whole tile, halves, quarters, and their exceptions.
    const struct
    {
        int type;
        int kind;
        int size;
    } sizes[] = {
        {PavingSquares, 0, 14}, {PavingScales1, 0, 13}, {PavingScales2, 0, 13},
        {PavingCircles, 1, 11}, {PavingHexagons, 4, 11}, {PavingScales1, 3, 11},
        {PavingSquares, 5, 10}, {PavingDiamonds, 6, 10}, {PavingTriangles, 5, 9},
        {PavingTriangles, 6, 9}, {PavingScales1, 5, 11}, {PavingScales2, 6, 11},
        {PavingTriangles, 0, 14}, {PavingTriangles, 2, 11},
    };
    for (const auto& s : sizes)
    {
        m_outlines.m_pavingType = s.type;
        EXPECT_EQ(s.size, m_outlines.LabelSize(s.kind)) << s.type << " " << s.kind;
    }
}

TEST_F(TileOutlines, UnfilledPartsKeepBlackLabels)
{
    SetColour(*m_image, 1, 0, 0, 0);
    m_outlines.m_fillColours = TRUE;
    // Arcs are never filled, so white text would vanish on the paper.
    const struct
    {
        const char* name;
        int type;
        int kind;
        const char* colours;
    } cases[] = {
        {"whole circle, filled", PavingCircles, 0, "textcolour 16777215; brush 1"},
        {"halves of a circle", PavingCircles, 3, "textcolour 0; brush 1 textcolour 0; brush 1"},
        {"whole scale", PavingScales1, 0, "textcolour 0; brush 1"},
        {"diagonal halves of a scale", PavingScales2, 2,
         "textcolour 0; brush 1 textcolour 0; brush 1"},
        {"straight halves of a scale keep the colours", PavingScales1, 3, ""},
        {"quarters of a scale keep the colours", PavingScales2, 5, ""},
    };
    for (const auto& c : cases)
    {
        const TileOpList ops = Build(c.type, Cell(c.kind, 0, 1, 1, 1, 1));
        std::string colours;
        for (size_t i = 0; i + 1 < ops.size(); i++)
            if (ops[i].code == TileOpSetTextColor && ops[i + 1].code == TileOpSelectBrush)
                colours += (colours.empty() ? "" : " ") + Describe(ops, i, i + 2);
        EXPECT_EQ(c.colours, colours) << c.name;
        EXPECT_EQ("textcolour 0", Describe(ops.back())) << c.name;
    }
}

TEST_F(TileOutlines, LabelTexts)
{
    m_image->m_symbols[7] = L"\x00C9t";
    SetColour(*m_image, 7, 1, 2, 3);
    SetColour(*m_image, 8, 9, 9, 9);
    SetColour(*m_tiles, 41, 1, 2, 3);
    const struct
    {
        const char* name;
        int mode;
        int type;
        int kind;
        const char* texts;
    } cases[] = {
        {"colour index", 0, PavingSquares, 3, "8,7"},
        {"tile palette index; a colour it lacks", 1, PavingSquares, 3, "-1,41"},
        {"symbol", 2, PavingSquares, 3, ",\xC9t"},
        // A whole tile's number fills the box; its symbol keeps to the tile's inner place.
        {"number of a whole diamond", 0, PavingDiamonds, 0, "7 @ 2000,-3000,3001,-4001"},
        {"symbol of a whole diamond", 2, PavingDiamonds, 0, "\xC9t @ 2250,-3250,2750,-3750"},
        {"symbol of a whole hexagon", 2, PavingHexagons, 0, "\xC9t @ 2000,-3250,3001,-3750"},
    };
    for (const auto& c : cases)
    {
        m_outlines.m_labelMode = c.mode;
        const TileOpList ops = Build(c.type, Cell(c.kind, 0, 7, 8));
        std::string texts = Texts(ops);
        for (const TileOp& op : ops)
            if (op.code == TileOpDrawText && c.kind == CellWhole)
                texts += " @ " + Rc(op.rect);
        EXPECT_EQ(c.texts, texts) << c.name;
    }

    // Without labels no text is drawn and no tile font is chosen first.
    m_outlines.m_labelMode = CTileOutlines::LabelNone;
    EXPECT_EQ("poly 3001,-3000 3001,-4001 2000,-4001 3001,-3000; "
              "poly 2000,-3000 3001,-3000 2000,-4001 2000,-3000; font 1; textcolour 0",
              Describe(Build(PavingSquares, Cell(1, 0))));
}

TEST_F(TileOutlines, MirrorColumnAndRowOffset)
{
    // A plate from 2 to 7.6 tiles: columns 2 to 7 read from 7 down to 2.
    m_outlines.m_mirrored = TRUE;
    EXPECT_EQ(7, m_outlines.SourceColumn(2, 2.0, 7.6));
    EXPECT_EQ(2, m_outlines.SourceColumn(7, 2.0, 7.6));
    m_outlines.m_mirrored = FALSE;
    EXPECT_EQ(2, m_outlines.SourceColumn(2, 2.0, 7.6));

    // Five rows: row 4 is the bottom row, even counted from the bottom.
    const struct
    {
        int type;
        BOOL mirrored;
        int row;
        int offset;
    } cases[] = {
        {PavingSquares, FALSE, 4, 0},      {PavingSquares, TRUE, 3, 0},
        {PavingDiamonds, FALSE, 4, 500},   {PavingDiamonds, FALSE, 3, 0},
        {PavingDiamonds, TRUE, 4, 0},      {PavingDiamonds, TRUE, 3, 500},
        {PavingTriangles, FALSE, 2, 500},  {PavingCrossedJoints, FALSE, 0, 500},
        {PavingCrossedJoints, TRUE, 1, 500}, {PavingScales2, FALSE, 1, 0},
    };
    for (const auto& c : cases)
    {
        m_outlines.m_pavingType = c.type;
        m_outlines.m_mirrored = c.mirrored;
        EXPECT_EQ(c.offset, m_outlines.RowOffset(5, c.row))
            << c.type << " " << c.mirrored << " " << c.row;
    }
    EXPECT_TRUE(CTileOutlines::PointsDown(5, 4));
    EXPECT_FALSE(CTileOutlines::PointsDown(5, 3));
}

// Whole tiles from a map: the column read, the box moved on staggered rows, the triangle turned.
TEST_F(TileOutlines, TilesReadFromTheMap)
{
    CRasterImage map;
    map.Create(0, 4 * CellBlock, 4 * CellBlock);
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++)
            map.SetCell(col, row, 0, CellWhole, 10 + col, 10 + col, 10 + col, 10 + col, 0, 0,
                        0, 0);
    map.SetCell(3, 3, 0, CellDiagonalB3, 20, 21, 20, 20, 0, 0, 0, 0);
    m_outlines.m_pavingType = PavingCrossedJoints;

    // Row 3 of 4 is even from the bottom: its box starts half a tile (500) to the right, and
    // the second part of the cell is the triangle (0, 0) (8, 0) (0, 8) of that box.
    TileOpList ops;
    m_outlines.BuildTile(map, 4, 0.0, 4.0, 3, 3, 1000, -2000, ops);
    ASSERT_EQ(2u, Parts(ops).size());
    EXPECT_EQ("poly 1500,-2000 2501,-2000 1500,-3001 1500,-2000; "
              "text 11 \"21\" 1500,-2000,2000,-2500 14",
              Parts(ops)[1]);

    // Mirrored, column 0 shows column 3's cell in its mirror image, now on the unmoved row.
    m_outlines.m_mirrored = TRUE;
    ops.clear();
    m_outlines.BuildTile(map, 4, 0.0, 4.0, 0, 3, 1000, -2000, ops);
    EXPECT_EQ((std::vector<std::string>{
                  "poly 1000,-2000 2001,-2000 2001,-3001 1000,-2000; "
                  "text 11 \"21\" 1500,-2000,2001,-2500 14",
                  "poly 1000,-2000 1000,-3001 2001,-3001 1000,-2000; "
                  "text 11 \"20\" 1000,-2500,1500,-3001 14"}),
              Parts(ops));

    // Triangles turn with the row: row 1 of 4 is even from the bottom and points down.
    m_outlines.m_mirrored = FALSE;
    m_outlines.m_pavingType = PavingTriangles;
    ops.clear();
    m_outlines.BuildTile(map, 4, 0.0, 4.0, 1, 1, 0, 0, ops);
    EXPECT_EQ("poly 500,0 1501,0 1000,-1001 500,0", Describe(ops, 0, 1));
    ops.clear();
    m_outlines.BuildTile(map, 4, 0.0, 4.0, 1, 2, 0, 0, ops);
    EXPECT_EQ("poly 500,0 1001,-1001 0,-1001 500,0", Describe(ops, 0, 1));

    // A place outside the map draws nothing.
    ops.clear();
    m_outlines.BuildTile(map, 4, 0.0, 4.0, 4, 0, 0, 0, ops);
    EXPECT_TRUE(ops.empty());
}

// Each outline flattened into segments as the PDF layer strokes it.
struct Segment
{
    double x1, y1, x2, y2;
};

void AddArc(const RECT& r, POINT s, POINT e, std::vector<Segment>& out)
{
    const double cx = r.left + (r.right - r.left) / 2, cy = r.top + (r.bottom - r.top) / 2;
    const double radius = (r.right - r.left) / 2.0;
    const double a1 = atan2(s.y - cy, s.x - cx), a2 = atan2(e.y - cy, e.x - cx);
    // Anticlockwise from start to end, as on a device context. The PDF layer draws an arc
    // that does not run from edge to edge the short way, so no arc may pass half a circle.
    const double pi = 3.14159265358979;
    double sweep = a2 - a1;
    while (sweep <= 0)
        sweep += 2 * pi;
    EXPECT_LE(sweep, pi + 0.01) << "arc " << Rc(r) << " from " << Pt(s) << " to " << Pt(e);
    const int steps = 48;
    double x = s.x, y = s.y;
    for (int i = 1; i <= steps; i++)
    {
        const double a = a1 + sweep * i / steps;
        const double nx = i == steps ? e.x : cx + radius * cos(a);
        const double ny = i == steps ? e.y : cy + radius * sin(a);
        out.push_back({x, y, nx, ny});
        x = nx;
        y = ny;
    }
}

std::vector<Segment> Flatten(const TileOpList& ops, size_t first, size_t end)
{
    std::vector<Segment> out;
    POINT current = {0, 0};
    for (size_t i = first; i < end; i++)
    {
        const TileOp& op = ops[i];
        const RECT& r = op.rect;
        switch (op.code)
        {
        case TileOpPolygon:
            for (size_t j = 1; j < op.points.size(); j++)
                out.push_back({(double)op.points[j - 1].x, (double)op.points[j - 1].y,
                               (double)op.points[j].x, (double)op.points[j].y});
            break;
        case TileOpRectangle:
            out.push_back({(double)r.left, (double)r.top, (double)r.right, (double)r.top});
            out.push_back({(double)r.right, (double)r.top, (double)r.right, (double)r.bottom});
            out.push_back({(double)r.right, (double)r.bottom, (double)r.left, (double)r.bottom});
            out.push_back({(double)r.left, (double)r.bottom, (double)r.left, (double)r.top});
            break;
        case TileOpEllipse:
            AddArc(r, {r.right, (r.top + r.bottom) / 2}, {r.left, (r.top + r.bottom) / 2}, out);
            AddArc(r, {r.left, (r.top + r.bottom) / 2}, {r.right, (r.top + r.bottom) / 2}, out);
            break;
        case TileOpArcTo:
        {
            const POINT c = {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
            out.push_back({(double)c.x, (double)c.y, (double)op.start.x, (double)op.start.y});
            out.push_back({(double)c.x, (double)c.y, (double)op.end.x, (double)op.end.y});
            AddArc(r, op.start, op.end, out);
            break;
        }
        case TileOpArc:
            AddArc(r, op.start, op.end, out);
            break;
        case TileOpMoveTo:
            current = op.start;
            break;
        case TileOpLineTo:
            out.push_back({(double)current.x, (double)current.y, (double)op.start.x,
                           (double)op.start.y});
            break;
        default:
            break;
        }
    }
    return out;
}

// Every end of a segment meets the end of another one.
bool IsClosed(const std::vector<Segment>& segments)
{
    std::map<std::pair<double, double>, int> ends;
    for (const Segment& s : segments)
    {
        ends[{s.x1, s.y1}]++;
        ends[{s.x2, s.y2}]++;
    }
    for (const auto& end : ends)
        if (end.second % 2 != 0)
            return false;
    return !segments.empty();
}

bool Inside(const std::vector<Segment>& segments, double x, double y)
{
    bool inside = false;
    for (const Segment& s : segments)
        if ((s.y1 > y) != (s.y2 > y) && x < s.x1 + (y - s.y1) * (s.x2 - s.x1) / (s.y2 - s.y1))
            inside = !inside;
    return inside;
}

double Distance(const Segment& s, double x, double y)
{
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((x - s.x1) * dx + (y - s.y1) * dy) / length : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return hypot(x - s.x1 - t * dx, y - s.y1 - t * dy);
}

struct DrawnPart
{
    int colour;
    RECT label;
    std::vector<Segment> outline;
};

std::vector<DrawnPart> DrawnParts(const TileOpList& ops)
{
    std::vector<DrawnPart> parts;
    size_t first = 0;
    for (size_t i = 0; i < ops.size(); i++)
        if (ops[i].code == TileOpDrawText)
        {
            parts.push_back({atoi(Narrow(ops[i].text).c_str()), ops[i].rect, Flatten(ops, first, i)});
            first = i + 1;
        }
    return parts;
}

// Every split kind of every pattern: each part's outline closes, the parts cover the whole
// tile's outline once with no gap, each label lies in its own part, and each part lies where
// the screen draws the same colour.
TEST_F(TileOutlines, PartsTileTheirTile)
{
    const int p = 8000;
    m_outlines.m_pitch = p;
    const struct
    {
        int type;
        BOOL down;
    } patterns[] = {
        {PavingSquares, TRUE},   {PavingDiamonds, TRUE}, {PavingCircles, TRUE},
        {PavingTriangles, TRUE}, {PavingTriangles, FALSE}, {PavingHexagons, TRUE},
        {PavingScales1, TRUE},   {PavingScales2, TRUE},  {PavingCrossedJoints, TRUE},
    };
    for (const auto& pattern : patterns)
    {
        m_outlines.m_pavingType = pattern.type;
        TileOpList wholeOps;
        m_outlines.BuildCell(Cell(0, 0), 0, 0, pattern.down, wholeOps);
        const std::vector<DrawnPart> whole = DrawnParts(wholeOps);
        ASSERT_EQ(1u, whole.size()) << pattern.type;
        EXPECT_TRUE(IsClosed(whole[0].outline)) << pattern.type;
        for (int kind = 1; kind <= 6; kind++)
        {
            TileOpList ops;
            m_outlines.BuildCell(Cell(kind, 0), 0, 0, pattern.down, ops);
            const std::vector<DrawnPart> parts = DrawnParts(ops);
            const std::string where = "type " + std::to_string(pattern.type) +
                                      (pattern.down ? "" : " up") + " kind " +
                                      std::to_string(kind);
            ASSERT_EQ(kind <= 4 ? 2u : 4u, parts.size()) << where;
            std::vector<double> sumX(parts.size()), sumY(parts.size());
            std::vector<int> count(parts.size());
            int gaps = 0, overlaps = 0, strays = 0;
            for (int i = 0; i < 64; i++)
                for (int j = 0; j < 64; j++)
                {
                    const double x = (i + 0.5) * p / 64, y = -(j + 0.5) * p / 64;
                    bool nearEdge = false;
                    for (const Segment& s : whole[0].outline)
                        nearEdge = nearEdge || Distance(s, x, y) < 40;
                    for (const DrawnPart& part : parts)
                        for (const Segment& s : part.outline)
                            nearEdge = nearEdge || Distance(s, x, y) < 40;
                    if (nearEdge)
                        continue;
                    int covering = 0;
                    for (size_t k = 0; k < parts.size(); k++)
                        if (Inside(parts[k].outline, x, y))
                        {
                            covering++;
                            sumX[k] += x;
                            sumY[k] += y;
                            count[k]++;
                        }
                    const bool inWhole = Inside(whole[0].outline, x, y);
                    gaps += inWhole && covering == 0;
                    overlaps += covering > 1;
                    strays += !inWhole && covering > 0;
                }
            EXPECT_EQ(0, gaps) << where;
            EXPECT_EQ(0, overlaps) << where;
            EXPECT_EQ(0, strays) << where;
            for (size_t k = 0; k < parts.size(); k++)
            {
                const DrawnPart& part = parts[k];
                EXPECT_TRUE(IsClosed(part.outline)) << where << " part " << k;
                const double lx = (part.label.left + part.label.right) / 2.0;
                const double ly = (part.label.top + part.label.bottom) / 2.0;
                EXPECT_TRUE(Inside(part.outline, lx, ly)) << where << " label of part " << k;
                ASSERT_GT(count[k], 0) << where << " part " << k;
                // The centre of the part in the screen's tile of 800 pixels, y from the bottom.
                // The screen cuts a triangle into four along the diagonals of its square,
                // where the page divides the triangle itself: those two do not compare.
                if (pattern.type == PavingTriangles && kind == CellTriangles)
                    continue;
                const int sx = (int)(sumX[k] / count[k] / 10);
                const int sy = 800 + (int)(sumY[k] / count[k] / 10);
                EXPECT_EQ(part.colour, TilePartAt(kind, 800, sx, sy))
                    << where << " part " << k << " at " << sx << "," << sy;
            }
        }
    }
}

TEST_F(TileOutlines, MirrorImageOfSplitCells)
{
    m_outlines.m_mirrored = TRUE;
    // Kind 1, A = 1 lower right, B = 2 upper left: drawn as kind 2, 2 upper right, 1 lower left.
    EXPECT_EQ((std::vector<std::string>{
                  "poly 2000,-3000 3001,-3000 3001,-4001 2000,-3000; "
                  "text 11 \"2\" 2500,-3000,3001,-3500 14",
                  "poly 2000,-3000 2000,-4001 3001,-4001 2000,-3000; "
                  "text 11 \"1\" 2000,-3500,2500,-4001 14"}),
              Parts(Build(PavingSquares, Cell(1, 0, 1, 2))));
    // A border cell keeping only its right triangle (code 5, colour A = 9) lays the left one,
    // in that colour.
    EXPECT_EQ((std::vector<std::string>{"poly 2000,-3000 2000,-4001 2500,-3500 2000,-3000; "
                                        "text 10 \"9\" 2000,-3375,2250,-3625 14"}),
              Parts(Build(PavingSquares, Cell(6, 5, 9, 1, 2, 3))));

    // Every split kind and code: each part drawn mirrored is, seen in a mirror, a part of the
    // plain drawing in the same colour, and as many parts are drawn.
    for (int kind = 1; kind <= 6; kind++)
        for (int shape = 0; shape <= 12; shape++)
        {
            m_outlines.m_mirrored = FALSE;
            const std::vector<DrawnPart> plain =
                DrawnParts(Build(PavingSquares, Cell(kind, shape, 4, 5, 6, 7)));
            m_outlines.m_mirrored = TRUE;
            const std::vector<DrawnPart> mirrored =
                DrawnParts(Build(PavingSquares, Cell(kind, shape, 4, 5, 6, 7)));
            ASSERT_EQ(plain.size(), mirrored.size()) << "kind " << kind << " code " << shape;
            for (const DrawnPart& part : mirrored)
            {
                const double x = 2000 + 3001 - (part.label.left + part.label.right) / 2.0;
                const double y = (part.label.top + part.label.bottom) / 2.0;
                int found = -1;
                for (const DrawnPart& candidate : plain)
                    if (Inside(candidate.outline, x, y))
                        found = candidate.colour;
                EXPECT_EQ(part.colour, found) << "kind " << kind << " code " << shape;
            }
        }
}

} // namespace
