// The outlines of every cell kind in every paving pattern, and the operations that draw one
// tile of a laying-plan page with them.
#include "TileOutlines.h"

#include <math.h>

#include "Paving.h"
#include "RasterImage.h"
#include "TilePalette.h"
#include "TileRenderer.h"

namespace
{

// The outline tables are written as they are drawn, in the tile box's own coordinates: x from
// the left and y downwards, a number n standing for n eighths of the pitch, k for the length
// that puts a point on the inscribed circle at 45 degrees. Each cell kind lists its parts in
// drawing order, separated by '/'; a part is its primitives, separated by ';', then after '|'
// the rectangle of its label ("exact" computes that rectangle from the eighths unrounded).
//   poly p1 p2 ...      a polygon
//   rect p1 p2          a rectangle from corner to corner
//   circle p1 p2        the circle in that box
//   pie p1 p2 s e       the arc in the box p1-p2 from s to e, with both radii
//   arc p1 p2 s e       the arc alone
//   line s e
// A kind-0 entry's label is where a symbol goes; numbers take the whole box.
enum Geometry
{
    GeometrySquares,
    GeometryDiamonds,
    GeometryCircles,
    GeometryTrianglesDown,
    GeometryTrianglesUp,
    GeometryHexagons,
    GeometryScales1,
    GeometryScales2,
    GeometryCount
};

const char* const kOutlines[GeometryCount][CellTriangles + 1] = {
    {
        "rect 0,0 8,8 | 0,0 8,8",
        "poly 8,0 8,8 0,8 | 4,4 8,8 / poly 0,0 8,0 0,8 | 0,0 4,4",
        "poly 0,0 8,0 8,8 | 4,0 8,4 / poly 0,0 0,8 8,8 | 0,4 4,8",
        "rect 0,4 8,8 | 0,4 8,8 / rect 0,0 8,4 | 0,0 8,4",
        "rect 4,0 8,8 | 4,0 8,8 / rect 0,0 4,8 | 0,0 4,8",
        "rect 4,0 8,4 | 4,0 8,4 / rect 4,4 8,8 | 4,4 8,8 / rect 0,4 4,8 | 0,4 4,8"
        " / rect 0,0 4,4 | 0,0 4,4",
        "poly 0,0 8,0 4,4 | 3,0 5,3 / poly 4,4 8,0 8,8 | 5,3 8,5 / poly 0,8 8,8 4,4 | 3,6 5,8"
        " / poly 0,0 0,8 4,4 | 0,3 2,5",
    },
    {
        "poly 4,0 8,4 4,8 0,4 | 2,2 6,6",
        "poly 2,6 6,2 8,4 4,8 | 4,4 6,6 / poly 0,4 4,0 6,2 2,6 | 2,2 4,4",
        "poly 2,2 4,0 8,4 6,6 | 4,2 6,4 / poly 0,4 2,2 6,6 4,8 | 2,4 4,6",
        "poly 0,4 8,4 4,8 | 2,4 6,6 / poly 0,4 8,4 4,0 | 2,2 6,4",
        "poly 4,0 4,8 8,4 | 5,2 7,6 / poly 4,0 4,8 0,4 | 1,2 4,6",
        "poly 4,0 8,4 4,4 | 4,2 6,4 / poly 4,4 8,4 4,8 | 4,4 6,6 / poly 0,4 4,4 4,8 | 2,4 4,6"
        " / poly 0,4 4,4 4,0 | 2,2 4,4",
        "poly 2,2 4,0 6,2 4,4 | 3,1 5,3 / poly 4,4 6,2 8,4 6,6 | 5,3 7,5"
        " / poly 4,4 6,6 4,8 2,6 | 3,5 5,7 / poly 0,4 2,2 4,4 2,6 | 1,3 3,5",
    },
    {
        "circle 0,0 8,8 | 4-k,4-k 4+k,4+k",
        "pie 0,0 8,8 4-k,4+k 4+k,4-k | 4,4 4+k,4+k / pie 0,0 8,8 4+k,4-k 4-k,4+k | 4-k,4-k 4,4",
        "pie 0,0 8,8 4+k,4+k 4-k,4-k | 4,4-k 4+k,4 / pie 0,0 8,8 4-k,4-k 4+k,4+k | 4-k,4 4,4+k",
        "pie 0,0 8,8 0,4 8,4 | 4-k,4 4+k,4+k / pie 0,0 8,8 8,4 0,4 | 4-k,4-k 4+k,4",
        "pie 0,0 8,8 4,8 4,0 | 4,4-k 4+k,4+k / pie 0,0 8,8 4,0 4,8 | 4-k,4-k 4,4+k",
        "pie 0,0 8,8 8,4 4,0 | 4,4-k 4+k,4 / pie 0,0 8,8 4,8 8,4 | 4,4 4+k,4+k"
        " / pie 0,0 8,8 0,4 4,8 | 4-k,4 4,4+k / pie 0,0 8,8 4,0 0,4 | 4-k,4-k 4,4",
        "pie 0,0 8,8 4+k,4-k 4-k,4-k | 3,1 5,3 / pie 0,0 8,8 4+k,4+k 4+k,4-k | 5,3 7,5"
        " / pie 0,0 8,8 4-k,4+k 4+k,4+k | 3,5 5,7 / pie 0,0 8,8 4-k,4-k 4-k,4+k | 1,3 3,5",
    },
    {
        "poly 0,0 8,0 4,8 | 2,0 6,4",
        "poly 4,8 2,4 8,0 | 3,4 5,6 / poly 0,0 8,0 2,4 | 2,0 4,2",
        "poly 0,0 8,0 6,4 | 4,0 6,2 / poly 0,0 6,4 4,8 | 3,4 5,6",
        "poly 2,4 6,4 4,8 | 3,4 5,6 / poly 0,0 8,0 6,4 2,4 | 2,0 6,4",
        "poly 4,0 8,0 4,8 | 4,0 6,4 / poly 0,0 4,0 4,8 | 2,0 4,4",
        "poly 4,0 8,0 6,4 4,4 | 4,0 5,2 / poly 4,4 6,4 4,8 | 4,4 5,5 / poly 2,4 4,4 4,8 | 2,4 4,5"
        " / poly 0,0 4,0 4,4 2,4 | 2,0 4,2",
        "poly 0,0 8,0 4,2 | 3,0 5,2 / poly 4,2 8,0 6,4 | 5,2 6,3 / poly 2,4 4,2 6,4 4,8 | 3,4 5,6"
        " / poly 0,0 4,2 2,4 | 2,2 3,3",
    },
    {
        "poly 4,0 8,8 0,8 | 2,4 6,8",
        "poly 0,8 6,4 8,8 | 4,6 6,8 / poly 0,8 4,0 6,4 | 3,2 5,4",
        "poly 2,4 4,0 8,8 | 3,2 5,4 / poly 0,8 2,4 8,8 | 2,6 4,8",
        "poly 0,8 2,4 6,4 8,8 | 2,4 6,8 / poly 2,4 4,0 6,4 | 3,2 5,4",
        "poly 4,0 8,8 4,8 | 4,4 6,8 / poly 4,0 4,8 0,8 | 2,4 4,8",
        "poly 4,0 4,4 6,4 | 4,3 5,4 / poly 4,4 6,4 8,8 4,8 | 4,6 6,8 / poly 0,8 2,4 4,4 4,8 | 3,6 4,8"
        " / poly 2,4 4,0 4,4 | 2,3 4,4",
        "poly 2,4 4,0 6,4 4,6 | 3,1 5,2 / poly 4,6 6,4 8,8 | 5,5 6,6 / poly 0,8 4,6 8,8 | 3,6 5,8"
        " / poly 0,8 2,4 4,6 | 2,5 3,6",
    },
    {
        "poly 4,0 8,2 8,6 4,8 0,6 0,2 | 0,2 8,6",
        "poly 6,1 8,2 8,6 4,8 2,7 | 4,4 7,6 / poly 4,0 6,1 2,7 0,6 0,2 | 2,2 4,4",
        "poly 2,1 4,0 8,2 8,6 6,7 | 4,2 8,4 / poly 2,1 6,7 4,8 0,6 0,2 | 0,4 4,6",
        "poly 0,4 8,4 8,6 4,8 0,6 | 0,4 8,6 / poly 0,4 8,4 8,2 4,0 0,2 | 0,2 8,4",
        "poly 4,0 8,2 8,6 4,8 | 4,2 8,6 / poly 4,0 4,8 0,6 0,2 | 0,2 4,6",
        "poly 4,0 8,2 8,4 4,4 | 4,2 6,4 / poly 4,4 4,8 8,6 8,4 | 4,4 6,6"
        " / poly 0,4 4,4 4,8 0,6 | 2,4 4,6 / poly 0,4 4,4 4,0 0,2 | 2,2 4,4",
        "poly 2,1 4,0 6,1 4,4 | 3,1 5,3 / poly 4,4 6,1 8,2 8,6 6,7 | 6,3 8,5"
        " / poly 4,4 6,7 4,8 2,7 | 3,5 5,7 / poly 0,2 2,1 4,4 2,7 0,6 | 0,3 2,5",
    },
    {
        "arc 0,0 8,8 0,4 8,4; arc 4,-4 12,4 4,0 8,4; arc -4,-4 4,4 0,4 4,0 | 4-k,4 4+k,6",
        "arc 0,0 8,8 4-k,4+k 8,4; arc 4,-4 12,4 8-k,k 8,4; line 8-k,k 4-k,4+k | 4,4 4+k,6"
        " / arc 0,0 8,8 0,4 4-k,4+k; arc 4,-4 12,4 4,0 8-k,k; arc -4,-4 4,4 0,4 4,0;"
        " line 8-k,k 4-k,4+k | 1,3 3,6",
        "arc 0,0 8,8 4+k,4+k 8,4; arc 4,-4 12,4 4,0 8,4; arc -4,-4 4,4 k,k 4,0;"
        " line k,k 4+k,4+k | 5,4 7,6"
        " / arc 0,0 8,8 0,4 4+k,4+k; arc -4,-4 4,4 0,4 k,k; line k,k 4+k,4+k | 4-k,4 4,6",
        "arc 0,0 8,8 0,4 8,4; line 0,4 8,4 | 4-k,4 4+k,6"
        " / arc 4,-4 12,4 4,0 8,4; arc -4,-4 4,4 0,4 4,0; line 0,4 8,4 | 3,2 5,4",
        "arc 0,0 8,8 4,8 8,4; arc 4,-4 12,4 4,0 8,4; line 4,0 4,8 | 4,4 4+k,6"
        " / arc 0,0 8,8 0,4 4,8; arc -4,-4 4,4 0,4 4,0; line 4,0 4,8 | 4-k,4 4,6",
        "arc 4,-4 12,4 4,0 8,4; line 4,4 8,4; line 4,4 4,0 | 4,3 5,4"
        " / arc 0,0 8,8 4,8 8,4; line 4,4 8,4; line 4,4 4,8 | 4,4 4+k,6"
        " / arc 0,0 8,8 0,4 4,8; line 4,4 0,4; line 4,4 4,8 | 4-k,4 4,6"
        " / arc -4,-4 4,4 0,4 4,0; line 4,4 4,0; line 4,4 0,4 | 2,3 4,4",
        "arc -4,-4 4,4 k,k 4,0; arc 4,-4 12,4 4,0 8-k,k; line 4,4 k,k; line 4,4 8-k,k | 3,2 5,4"
        " / arc 4,-4 12,4 8-k,k 8,4; arc 0,0 8,8 4+k,4+k 8,4; line 4,4 8-k,k;"
        " line 4,4 4+k,4+k | 5,4 7,6"
        " / arc 0,0 8,8 4-k,4+k 4+k,4+k; line 4,4 4+k,4+k; line 4,4 4-k,4+k | 3,5 5,7"
        " / arc 0,0 8,8 0,4 4-k,4+k; arc -4,-4 4,4 0,4 k,k; line 4,4 k,k;"
        " line 4,4 4-k,4+k | 1,4 3,6",
    },
    {
        "arc 0,0 8,8 8,4 0,4; arc 4,4 12,12 8,4 4,8; arc -4,4 4,12 4,8 0,4 | 4-k,2 4+k,4",
        "arc 0,0 8,8 8,4 4+k,4-k; arc 4,4 12,12 8,4 4,8; arc -4,4 4,12 4,8 k,8-k;"
        " line 4+k,4-k k,8-k | 5,3 7,4"
        " / arc 0,0 8,8 4+k,4-k 0,4; arc -4,4 4,12 k,8-k 0,4; line 4+k,4-k k,8-k | 4-k,2 4,4",
        "arc 0,0 8,8 8,4 4-k,4-k; arc 4,4 12,12 8,4 8-k,8-k; line 4-k,4-k 8-k,8-k | 4,2 4+k,4"
        " / arc 0,0 8,8 4-k,4-k 0,4; arc 4,4 12,12 8-k,8-k 4,8; arc -4,4 4,12 4,8 0,4;"
        " line 4-k,4-k 8-k,8-k | 0,2 3,4",
        "arc 4,4 12,12 8,4 4,8; arc -4,4 4,12 4,8 0,4; line 0,4 8,4 | exact 3,4 5,6"
        " / arc 0,0 8,8 8,4 0,4; line 0,4 8,4 | 4-k,2 4+k,4",
        "arc 0,0 8,8 8,4 4,0; arc 4,4 12,12 8,4 4,8; line 4,0 4,8 | 4,2 4+k,4"
        " / arc 0,0 8,8 4,0 0,4; arc -4,4 4,12 4,8 0,4; line 4,0 4,8 | 4-k,2 4,4",
        "arc 0,0 8,8 8,4 4,0; line 4,4 8,4; line 4,4 4,0 | 4,2 4+k,4"
        " / arc 4,4 12,12 8,4 4,8; line 4,4 8,4; line 4,4 4,8 | 4,4 5,5"
        " / arc -4,4 4,12 4,8 0,4; line 4,4 0,4; line 4,4 4,8 | 2,4 4,5"
        " / arc 0,0 8,8 4,0 0,4; line 4,4 4,0; line 4,4 0,4 | 4-k,2 4,4",
        "arc 0,0 8,8 4+k,4-k 4-k,4-k; line 4,4 4-k,4-k; line 4,4 4+k,4-k | 3,1 5,3"
        " / arc 0,0 8,8 8,4 4+k,4-k; arc 4,4 12,12 8,4 8-k,8-k; line 4,4 4+k,4-k;"
        " line 4,4 8-k,8-k | 5,2 7,4"
        " / arc 4,4 12,12 8-k,8-k 4,8; arc -4,4 4,12 4,8 k,8-k; line 4,4 8-k,8-k;"
        " line 4,4 k,8-k | 3,5 5,6"
        " / arc -4,4 4,12 k,8-k 0,4; arc 0,0 8,8 4-k,4-k 0,4; line 4,4 4-k,4-k;"
        " line 4,4 k,8-k | 1,2 3,4",
    },
};

// Colour (0 A to 3 D) of each part, in drawing order.
const int kPartColours[CellTriangles + 1][4] = {
    {0}, {0, 1}, {0, 1}, {1, 0}, {0, 1}, {3, 2, 0, 1}, {2, 0, 1, 3},
};

// A coordinate of the tables: eighths of the pitch plus a multiple of k.
struct Coord
{
    int eighths;
    int k;
};

struct TablePoint
{
    Coord x;
    Coord y;
};

enum PrimitiveKind
{
    PrimitivePolygon,
    PrimitiveRectangle,
    PrimitiveCircle,
    PrimitivePie,
    PrimitiveArc,
    PrimitiveLine
};

struct Primitive
{
    PrimitiveKind kind;
    std::vector<TablePoint> points;
};

struct PartOutline
{
    std::vector<Primitive> primitives;
    TablePoint label[2];
    bool exactLabel;
};

typedef std::vector<PartOutline> CellOutline;

class OutlineParser
{
public:
    explicit OutlineParser(const char* text) : m_p(text) {}

    // FALSE on any text that is not an outline. The tables are fixed: a cell that does not
    // read draws nothing, and the tests draw every cell.
    BOOL Parse(CellOutline& cell)
    {
        do
        {
            PartOutline part;
            if (!ParsePart(part))
                return FALSE;
            cell.push_back(part);
        } while (Accept('/'));
        SkipBlanks();
        return *m_p == 0;
    }

private:
    BOOL ParsePart(PartOutline& part)
    {
        do
        {
            Primitive primitive;
            if (!ParsePrimitive(primitive))
                return FALSE;
            part.primitives.push_back(primitive);
        } while (Accept(';'));
        if (!Accept('|'))
            return FALSE;
        part.exactLabel = AcceptWord("exact") != FALSE;
        return ParsePoint(part.label[0]) && ParsePoint(part.label[1]);
    }

    BOOL ParsePrimitive(Primitive& primitive)
    {
        static const struct
        {
            const char* word;
            PrimitiveKind kind;
            int points;           // 0: three or more
        } kWords[] = {
            {"poly", PrimitivePolygon, 0}, {"rect", PrimitiveRectangle, 2},
            {"circle", PrimitiveCircle, 2}, {"pie", PrimitivePie, 4},
            {"arc", PrimitiveArc, 4},       {"line", PrimitiveLine, 2},
        };
        for (const auto& word : kWords)
        {
            if (!AcceptWord(word.word))
                continue;
            primitive.kind = word.kind;
            TablePoint point;
            while (ParsePoint(point))
                primitive.points.push_back(point);
            const size_t count = primitive.points.size();
            return word.points == 0 ? count >= 3 : count == (size_t)word.points;
        }
        return FALSE;
    }

    BOOL ParsePoint(TablePoint& point)
    {
        SkipBlanks();
        const char* start = m_p;
        if (ParseCoord(point.x) && *m_p == ',' && (++m_p, ParseCoord(point.y)))
            return TRUE;
        m_p = start;
        return FALSE;
    }

    // n, -n, k, n+k, n-k.
    BOOL ParseCoord(Coord& coord)
    {
        coord.eighths = 0;
        coord.k = 0;
        for (int term = 0; term < 2; term++)
        {
            int sign = 1;
            if (*m_p == '-')
                sign = -1;
            if (*m_p == '-' || (term == 1 && *m_p == '+'))
                m_p++;
            else if (term == 1)
                return TRUE;
            if (*m_p == 'k')
            {
                coord.k += sign;
                m_p++;
            }
            else if (*m_p >= '0' && *m_p <= '9')
            {
                int n = 0;
                while (*m_p >= '0' && *m_p <= '9')
                    n = n * 10 + (*m_p++ - '0');
                coord.eighths += sign * n;
            }
            else
                return FALSE;
        }
        return TRUE;
    }

    BOOL Accept(char c)
    {
        SkipBlanks();
        if (*m_p != c)
            return FALSE;
        m_p++;
        return TRUE;
    }

    BOOL AcceptWord(const char* word)
    {
        SkipBlanks();
        size_t n = 0;
        while (word[n] != 0 && m_p[n] == word[n])
            n++;
        if (word[n] != 0 || m_p[n] != ' ')
            return FALSE;
        m_p += n;
        return TRUE;
    }

    void SkipBlanks()
    {
        while (*m_p == ' ')
            m_p++;
    }

    const char* m_p;
};

struct OutlineTable
{
    CellOutline cells[GeometryCount][CellTriangles + 1];

    OutlineTable()
    {
        for (int g = 0; g < GeometryCount; g++)
            for (int kind = 0; kind <= CellTriangles; kind++)
            {
                OutlineParser parser(kOutlines[g][kind]);
                CellOutline& cell = cells[g][kind];
                if (!parser.Parse(cell) || cell.size() > 4)
                    cell.clear();
            }
    }
};

const OutlineTable& Outlines()
{
    static const OutlineTable table;
    return table;
}

int GeometryOf(int pavingType, BOOL pointsDown)
{
    switch (pavingType)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        return GeometrySquares;
    case PavingDiamonds:
        return GeometryDiamonds;
    case PavingCircles:
        return GeometryCircles;
    case PavingTriangles:
        return pointsDown ? GeometryTrianglesDown : GeometryTrianglesUp;
    case PavingHexagons:
        return GeometryHexagons;
    case PavingScales1:
        return GeometryScales1;
    case PavingScales2:
        return GeometryScales2;
    default:
        return -1;
    }
}

BOOL IsScales(int pavingType)
{
    return pavingType == PavingScales1 || pavingType == PavingScales2;
}

// Places the table's coordinates in one tile box on the page (y grows upwards there).
class TileBox
{
public:
    TileBox(int x0, int y0, int pitch)
        : m_x0(x0), m_y0(y0), m_pitch(pitch), m_k(pitch * 0.5 / sqrt(2.0))
    {
    }

    POINT Point(const TablePoint& point) const
    {
        POINT result = {X(point.x), Y(point.y)};
        return result;
    }

    RECT Rect(const TablePoint& corner1, const TablePoint& corner2) const
    {
        RECT result = {X(corner1.x), Y(corner1.y), X(corner2.x), Y(corner2.y)};
        return result;
    }

    // The same rectangle with every side at its unrounded eighths.
    RECT ExactRect(const TablePoint& corner1, const TablePoint& corner2) const
    {
        RECT result = {RoundHalfAway(m_x0 + corner1.x.eighths * m_pitch / 8.0),
                       RoundHalfAway(m_y0 - corner1.y.eighths * m_pitch / 8.0),
                       RoundHalfAway(m_x0 + corner2.x.eighths * m_pitch / 8.0),
                       RoundHalfAway(m_y0 - corner2.y.eighths * m_pitch / 8.0)};
        return result;
    }

    RECT Whole() const
    {
        RECT result = {m_x0, m_y0, m_x0 + m_pitch, m_y0 - m_pitch};
        return result;
    }

private:
    // n eighths of the pitch, truncated toward zero.
    int Eighths(int n) const { return (int)((long long)n * m_pitch / 8); }

    int X(const Coord& c) const
    {
        if (c.k == 0)
            return m_x0 + Eighths(c.eighths);
        return RoundHalfAway(m_x0 + Eighths(c.eighths) + c.k * m_k);
    }

    int Y(const Coord& c) const
    {
        if (c.k == 0)
            return m_y0 - Eighths(c.eighths);
        return RoundHalfAway(m_y0 - Eighths(c.eighths) - c.k * m_k);
    }

    int m_x0;
    int m_y0;
    int m_pitch;
    double m_k;
};

TileOp MakeOp(TileOpCode code, int value = 0)
{
    TileOp op;
    op.code = code;
    op.value = value;
    op.rect = RECT();
    op.start = POINT();
    op.end = POINT();
    op.hAlign = 0;
    op.vAlign = 0;
    op.colour = -1;
    return op;
}

// Outline parts whose first primitive is filled when a brush is selected; arcs never are.
BOOL IsFilled(const PartOutline& part)
{
    const PrimitiveKind kind = part.primitives.front().kind;
    return kind == PrimitivePolygon || kind == PrimitiveRectangle || kind == PrimitiveCircle;
}

void AddOutline(const PartOutline& part, const TileBox& box, TileOpList& ops)
{
    for (const Primitive& primitive : part.primitives)
    {
        const std::vector<TablePoint>& p = primitive.points;
        TileOp op;
        switch (primitive.kind)
        {
        case PrimitivePolygon:
            op = MakeOp(TileOpPolygon);
            for (const TablePoint& point : p)
                op.points.push_back(box.Point(point));
            // The PDF layer strokes a polygon open.
            op.points.push_back(op.points.front());
            break;
        case PrimitiveRectangle:
        case PrimitiveCircle:
            op = MakeOp(primitive.kind == PrimitiveRectangle ? TileOpRectangle : TileOpEllipse);
            op.rect = box.Rect(p[0], p[1]);
            break;
        case PrimitivePie:
        case PrimitiveArc:
            op = MakeOp(primitive.kind == PrimitivePie ? TileOpArcTo : TileOpArc);
            op.rect = box.Rect(p[0], p[1]);
            op.start = box.Point(p[2]);
            op.end = box.Point(p[3]);
            break;
        case PrimitiveLine:
            op = MakeOp(TileOpMoveTo);
            op.start = box.Point(p[0]);
            ops.push_back(op);
            op = MakeOp(TileOpLineTo);
            op.start = box.Point(p[1]);
            break;
        }
        ops.push_back(op);
    }
}

} // namespace

CTileOutlines::CTileOutlines()
    : m_pavingType(PavingSquares), m_pitch(0), m_labelMode(LabelColourIndex),
      m_fillColours(FALSE), m_mirrored(FALSE), m_textSize(14), m_pImagePalette(NULL),
      m_pTilePalette(NULL)
{
}

int CTileOutlines::SourceColumn(int column, double plateLeft, double plateRight) const
{
    if (!m_mirrored)
        return column;
    return RoundHalfAway(plateLeft) + RoundHalfAway(plateRight) - 1 - column;
}

int CTileOutlines::RowOffset(int rows, int row) const
{
    if (m_pavingType < PavingDiamonds || m_pavingType >= PavingTypeCount)
        return 0;
    // The rows the screen shifts left lie to the left here; mirrored, to the right.
    const BOOL unshifted = !IsShiftedRow(m_pavingType, rows, row);
    return unshifted != (m_mirrored != FALSE) ? m_pitch / 2 : 0;
}

BOOL CTileOutlines::PointsDown(int rows, int row)
{
    return !TrianglePointsUp(rows, row);
}

int CTileOutlines::LabelSize(int kind) const
{
    const int t = m_textSize;
    const BOOL scales = IsScales(m_pavingType);
    if (kind == CellWhole)
        return scales ? t - 1 : t;
    if (kind < CellQuarters)
        return t - 3;
    if (scales)
        return t - 3;
    return m_pavingType == PavingTriangles ? t - 5 : t - 4;
}

void CTileOutlines::BuildTile(const CRasterImage& map, int rows, double plateLeft,
                              double plateRight, int column, int row, int x, int y,
                              TileOpList& ops) const
{
    int shape = ShapeHole, kind = CellWhole;
    int colour[4] = {0, 0, 0, 0}, variant[4] = {0, 0, 0, 0};
    map.GetCell(SourceColumn(column, plateLeft, plateRight), row, shape, kind, colour[0],
                colour[1], colour[2], colour[3], variant[0], variant[1], variant[2], variant[3]);
    TileCell cell;
    cell.shape = (BYTE)shape;
    cell.kind = (BYTE)kind;
    for (int i = 0; i < 4; i++)
    {
        cell.colour[i] = (BYTE)colour[i];
        cell.variant[i] = (BYTE)variant[i];
    }
    BuildCell(cell, x + RowOffset(rows, row), y, PointsDown(rows, row), ops);
}

void CTileOutlines::BuildCell(const TileCell& read, int x0, int y0, BOOL pointsDown,
                              TileOpList& ops) const
{
    TileCell cell = read;
    if (m_mirrored)
        MirrorTileCell(1, cell);
    const int geometry = GeometryOf(m_pavingType, pointsDown);
    if (cell.shape == ShapeHole || cell.kind > CellTriangles || geometry < 0)
        return;

    const int kind = cell.kind;
    const CellOutline& parts = Outlines().cells[geometry][kind];
    const TileBox box(x0, y0, m_pitch);
    const BOOL labels = m_labelMode >= LabelColourIndex && m_labelMode <= LabelSymbol;
    // Straight halves and quarters of scales keep the colours already selected.
    const BOOL colours = m_fillColours && !(IsScales(m_pavingType) && kind >= CellHalvesRows);

    if (kind != CellWhole && labels)
        ops.push_back(MakeOp(TileOpSelectFont, 2));
    for (size_t i = 0; i < parts.size(); i++)
    {
        const int part = kPartColours[kind][i];
        // A shape code lays the same parts here as on the screen and in the tile counts.
        if (!TilePartLaid(kind, cell.shape, part))
            continue;
        const PartOutline& outline = parts[i];
        const int colour = cell.colour[part];
        if (colours)
        {
            ops.push_back(MakeOp(TileOpSetTextColor, LabelColour(colour, IsFilled(outline))));
            ops.push_back(MakeOp(TileOpSelectBrush, colour));
        }
        AddOutline(outline, box, ops);
        if (!labels)
            continue;
        TileOp text = MakeOp(TileOpDrawText, LabelSize(kind));
        text.text = LabelText(colour);
        text.colour = colour;
        if (kind == CellWhole && m_labelMode != LabelSymbol)
            text.rect = box.Whole();
        else if (outline.exactLabel)
            text.rect = box.ExactRect(outline.label[0], outline.label[1]);
        else
            text.rect = box.Rect(outline.label[0], outline.label[1]);
        text.hAlign = LabelAlignH;
        text.vAlign = LabelAlignV;
        ops.push_back(text);
    }
    if (kind != CellWhole)
        ops.push_back(MakeOp(TileOpSelectFont, 1));
    ops.push_back(MakeOp(TileOpSetTextColor, 0));
}

CString CTileOutlines::LabelText(int colour) const
{
    CString text;
    switch (m_labelMode)
    {
    case LabelColourIndex:
        text.Format(L"%d", colour);
        break;
    case LabelTileIndex:
        text.Format(L"%d", m_pImagePalette != NULL && m_pTilePalette != NULL
                               ? m_pImagePalette->FindColourIn(*m_pTilePalette, colour)
                               : -1);
        break;
    case LabelSymbol:
        if (m_pImagePalette != NULL)
            text = m_pImagePalette->m_symbols[colour];
        break;
    }
    return text;
}

// A label over an unfilled part stands on the white paper.
COLORREF CTileOutlines::LabelColour(int colour, BOOL filled) const
{
    if (!filled || m_pImagePalette == NULL)
        return 0;
    const PaletteEntry& entry = m_pImagePalette->m_colours[colour];
    return ContrastTextColour(RGB(entry.peRed, entry.peGreen, entry.peBlue));
}
