#include "MosaicTest.h"

#include <limits.h>
#include <string.h>

#include <memory>
#include <vector>

#include "AfxArchive.h"
#include "AfxFile.h"
#include "AfxGdi.h"
#include "OpenCv.h"
#include "Paving.h"
#include "Plaque.h"
#include "VitrolanDoc.h"

namespace
{

// A plate as the tests expect it: number, columns, rows and colour index (1 red, 2 green,
// 3 blue).
struct ExpectedPlate
{
    int number;
    int firstCol, endCol, firstRow, endRow;
    int colour;
};

// A cell that differs from a whole laid tile of colour 0.
struct CellPatch
{
    int col, row, shape, kind;
};

struct PlateCase
{
    const char* name;
    int cols, rows, cx, cy, direction, decalage;
    std::vector<CellPatch> cells;
    std::vector<ExpectedPlate> plates;   // in cutting order
};

const COLORREF kRed = RGB(250, 1, 2);
const COLORREF kGreen = RGB(3, 251, 4);
const COLORREF kBlue = RGB(5, 6, 252);

class PlatesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_doc.reset(new CVitrolanDoc);
        const COLORREF colours[3] = {kRed, kGreen, kBlue};
        for (int i = 0; i < 3; i++)
        {
            m_doc->m_colourTable[8 + i][0] = GetRValue(colours[i]);
            m_doc->m_colourTable[8 + i][1] = GetGValue(colours[i]);
            m_doc->m_colourTable[8 + i][2] = GetBValue(colours[i]);
        }
    }

    // A grid of whole laid tiles, then the patched cells.
    void MakeGrid(int cols, int rows, const std::vector<CellPatch>& cells = {})
    {
        m_doc->m_cols = cols;
        m_doc->m_rows = rows;
        m_doc->m_workingMap.Create(0, 4 * cols, 4 * rows);
        for (int row = 0; row < rows; row++)
            for (int col = 0; col < cols; col++)
                m_doc->m_workingMap.SetCell(col, row, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        for (const CellPatch& c : cells)
            m_doc->m_workingMap.SetCell(c.col, c.row, c.shape, c.kind, 0, 0, 0, 0, 0, 0, 0, 0);
    }

    void SetPlates(int cx, int cy, int direction, int decalage)
    {
        m_doc->carplaquex = cx;
        m_doc->carplaquey = cy;
        m_doc->direction = direction;
        m_doc->decalage = decalage;
    }

    // The plate list from its head (the last plate cut) to its tail.
    std::vector<CPlaque*> PlateList()
    {
        std::vector<CPlaque*> list;
        POSITION pos = m_doc->m_plaques.GetHeadPosition();
        while (pos != NULL)
            list.push_back((CPlaque*)m_doc->m_plaques.GetNext(pos));
        return list;
    }

    void ExpectPlates(const std::vector<ExpectedPlate>& expected, int pavingType = 0)
    {
        const COLORREF colours[4] = {0, kRed, kGreen, kBlue};
        const std::vector<CPlaque*> list = PlateList();
        ASSERT_EQ(expected.size(), list.size());
        EXPECT_EQ((int)expected.size(), m_doc->m_plaqueCount);
        for (size_t i = 0; i < expected.size(); i++)
        {
            const ExpectedPlate& e = expected[i];
            const CPlaque* p = list[list.size() - 1 - i];
            SCOPED_TRACE(testing::Message() << "plate " << e.number);
            EXPECT_EQ(e.number, p->m_number);
            EXPECT_EQ(e.firstCol, p->m_firstCol);
            EXPECT_EQ(e.endCol, p->m_endCol);
            EXPECT_EQ(e.firstRow, p->m_firstRow);
            EXPECT_EQ(e.endRow, p->m_endRow);
            EXPECT_EQ(colours[e.colour], p->m_colour);
            EXPECT_EQ(pavingType, p->m_pavingType);
            EXPECT_EQ(0, p->m_firstPage);
            EXPECT_EQ(0, p->m_lastPage);
        }
    }

    std::unique_ptr<CVitrolanDoc> m_doc;
};

TEST_F(PlatesTest, CutsHandCountedPlates)
{
    const PlateCase cases[] = {
        {"two bands of two", 24, 24, 12, 12, 0, 0, {},
         {{1, 0, 12, 0, 12, 2}, {2, 12, 24, 0, 12, 3}, {3, 0, 12, 12, 24, 1},
          {4, 12, 24, 12, 24, 2}}},
        {"half-plate offset in the even band", 24, 24, 12, 12, 0, 1, {},
         {{1, 0, 12, 0, 12, 2}, {2, 12, 24, 0, 12, 3}, {3, 0, 6, 12, 24, 1},
          {4, 6, 18, 12, 24, 2}, {5, 18, 24, 12, 24, 3}}},
        {"bands from the bottom, last one clamped", 5, 30, 12, 12, 1, 0, {},
         {{1, 0, 5, 18, 30, 2}, {2, 0, 5, 6, 18, 1}, {3, 0, 5, 0, 6, 2}}},
        {"bands from the bottom with the offset", 5, 5, 2, 2, 1, 1, {},
         {{1, 0, 2, 3, 5, 2}, {2, 2, 4, 3, 5, 3}, {3, 4, 5, 3, 5, 1},
          {4, 0, 1, 1, 3, 1}, {5, 1, 3, 1, 3, 2}, {6, 3, 5, 1, 3, 3},
          {7, 0, 2, 0, 1, 2}, {8, 2, 4, 0, 1, 3}, {9, 4, 5, 0, 1, 1}}},
        {"band start colours cycle", 1, 5, 1, 1, 0, 0, {},
         {{1, 0, 1, 0, 1, 2}, {2, 0, 1, 1, 2, 1}, {3, 0, 1, 2, 3, 2}, {4, 0, 1, 3, 4, 3},
          {5, 0, 1, 4, 5, 1}}},
        // Band 1: column 0 holds holes, column 1 only parts that are not laid (a quarter tile
        // and a half tile whose shape code lays neither half), column 2 a laid half of a
        // diagonal tile. Band 2 holds nothing laid: holes, a triangle tile and a whole tile
        // with a part code.
        {"columns and bands with nothing laid", 6, 6, 2, 2, 0, 1,
         {{0, 0, 16, 0}, {0, 1, 16, 0}, {1, 0, 0, 5}, {1, 1, 3, 3}, {2, 0, 16, 0}, {2, 1, 2, 2},
          {0, 2, 16, 0}, {1, 2, 16, 0}, {2, 2, 16, 0}, {3, 2, 0, 6}, {4, 2, 16, 0},
          {5, 2, 16, 0}, {0, 3, 16, 0}, {1, 3, 16, 0}, {2, 3, 16, 0}, {3, 3, 16, 0},
          {4, 3, 5, 0}, {5, 3, 16, 0}},
         {{1, 2, 4, 0, 2, 2}, {2, 4, 6, 0, 2, 3}, {3, 0, 2, 4, 6, 2}, {4, 2, 4, 4, 6, 3},
          {5, 4, 6, 4, 6, 1}}},
    };
    for (const PlateCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        MakeGrid(c.cols, c.rows, c.cells);
        SetPlates(c.cx, c.cy, c.direction, c.decalage);
        m_doc->m_plaquesValid = 0;
        EXPECT_EQ(1, m_doc->BuildPlaques());
        EXPECT_EQ(1, m_doc->m_plaquesValid);
        ExpectPlates(c.plates);
    }
}

TEST_F(PlatesTest, PlatesCarryThePavingTypeOfEveryPattern)
{
    MakeGrid(4, 3);
    SetPlates(3, 2, 0, 0);
    for (int type = 0; type < PavingTypeCount; type++)
    {
        SCOPED_TRACE(type);
        m_doc->m_pavingType = type;
        m_doc->BuildPlaques();
        // Triangles of an odd row count place no row 0: their plates start with row 1.
        if (type == PavingTriangles)
            ExpectPlates({{1, 0, 3, 1, 3, 2}, {2, 3, 4, 1, 3, 3}}, type);
        else
            ExpectPlates({{1, 0, 3, 0, 2, 2}, {2, 3, 4, 0, 2, 3}, {3, 0, 3, 2, 3, 1},
                          {4, 3, 4, 2, 3, 2}},
                         type);
    }
}

// Every paving pattern on a 5-column grid of whole tiles with the border a new document lays
// out, cut into plates 2 columns wide, so that the last plate of a band is the last column
// alone. With 5 rows the plates are 2 rows high and the last band going up (row 4) or down
// (row 0) is a single edge row; with 4 rows they are 3 rows high and the single edge row is
// row 3 going up and row 0 going down. A laid cell is a whole tile or a half tile laid wholly
// or in one half; quarter tiles, half tiles whose code lays neither half and holes do not
// count.
TEST_F(PlatesTest, EdgeCellsOfEveryPavingStartNoPlate)
{
    struct BorderCase
    {
        const char* name;
        std::vector<int> patterns;
        int rows, cy, direction;
        std::vector<ExpectedPlate> plates;
    };
    const BorderCase cases[] = {
        // Squares have no border: every band is full, three plates each.
        {"squares, 5 rows, going up", {PavingSquares}, 5, 2, 0,
         {{1, 0, 2, 0, 2, 2}, {2, 2, 4, 0, 2, 3}, {3, 4, 5, 0, 2, 1},
          {4, 0, 2, 2, 4, 1}, {5, 2, 4, 2, 4, 2}, {6, 4, 5, 2, 4, 3},
          {7, 0, 2, 4, 5, 2}, {8, 2, 4, 4, 5, 3}, {9, 4, 5, 4, 5, 1}}},
        {"squares, 5 rows, going down", {PavingSquares}, 5, 2, 1,
         {{1, 0, 2, 3, 5, 2}, {2, 2, 4, 3, 5, 3}, {3, 4, 5, 3, 5, 1},
          {4, 0, 2, 1, 3, 1}, {5, 2, 4, 1, 3, 2}, {6, 4, 5, 1, 3, 3},
          {7, 0, 2, 0, 1, 2}, {8, 2, 4, 0, 1, 3}, {9, 4, 5, 0, 1, 1}}},
        // Squares at 45 degrees, circles, hexagons and both scales share one border. With an
        // odd row count row 0 holds half tiles that lay neither half and a hole at its end,
        // and the last row the same; the last column holds a hole where row + rows is odd
        // (rows 2 and the edge rows) and a laid half tile where it is even (rows 1 and 3),
        // the first column a laid half or a whole tile. Rows 1 and 3 are full, so every band
        // of two rows is full and the single edge row gives nothing.
        {"diagonal borders, 5 rows, going up", {1, 2, 4, 5, 6}, 5, 2, 0,
         {{1, 0, 2, 0, 2, 2}, {2, 2, 4, 0, 2, 3}, {3, 4, 5, 0, 2, 1},
          {4, 0, 2, 2, 4, 1}, {5, 2, 4, 2, 4, 2}, {6, 4, 5, 2, 4, 3}}},
        {"diagonal borders, 5 rows, going down", {1, 2, 4, 5, 6}, 5, 2, 1,
         {{1, 0, 2, 3, 5, 2}, {2, 2, 4, 3, 5, 3}, {3, 4, 5, 3, 5, 1},
          {4, 0, 2, 1, 3, 1}, {5, 2, 4, 1, 3, 2}, {6, 4, 5, 1, 3, 3}}},
        // Crossed joints keep their first and last rows: only the last column changes, a hole
        // in rows 0, 2 and 4. The single edge row keeps its two left plates and loses the
        // one-column plate.
        {"crossed joints, 5 rows, going up", {PavingCrossedJoints}, 5, 2, 0,
         {{1, 0, 2, 0, 2, 2}, {2, 2, 4, 0, 2, 3}, {3, 4, 5, 0, 2, 1},
          {4, 0, 2, 2, 4, 1}, {5, 2, 4, 2, 4, 2}, {6, 4, 5, 2, 4, 3},
          {7, 0, 2, 4, 5, 2}, {8, 2, 4, 4, 5, 3}}},
        {"crossed joints, 5 rows, going down", {PavingCrossedJoints}, 5, 2, 1,
         {{1, 0, 2, 3, 5, 2}, {2, 2, 4, 3, 5, 3}, {3, 4, 5, 3, 5, 1},
          {4, 0, 2, 1, 3, 1}, {5, 2, 4, 1, 3, 2}, {6, 4, 5, 1, 3, 3},
          {7, 0, 2, 0, 1, 2}, {8, 2, 4, 0, 1, 3}}},
        // Triangles: the last column as for crossed joints, and with an odd row count row 0 is
        // all holes, in no band of its own: the plates pair rows 1 and 2, 3 and 4 either way.
        {"triangles, 5 rows, going up", {PavingTriangles}, 5, 2, 0,
         {{1, 0, 2, 1, 3, 2}, {2, 2, 4, 1, 3, 3}, {3, 4, 5, 1, 3, 1},
          {4, 0, 2, 3, 5, 1}, {5, 2, 4, 3, 5, 2}, {6, 4, 5, 3, 5, 3}}},
        {"triangles, 5 rows, going down", {PavingTriangles}, 5, 2, 1,
         {{1, 0, 2, 3, 5, 2}, {2, 2, 4, 3, 5, 3}, {3, 4, 5, 3, 5, 1},
          {4, 0, 2, 1, 3, 1}, {5, 2, 4, 1, 3, 2}, {6, 4, 5, 1, 3, 3}}},
        {"squares, 4 rows, going up", {PavingSquares}, 4, 3, 0,
         {{1, 0, 2, 0, 3, 2}, {2, 2, 4, 0, 3, 3}, {3, 4, 5, 0, 3, 1},
          {4, 0, 2, 3, 4, 1}, {5, 2, 4, 3, 4, 2}, {6, 4, 5, 3, 4, 3}}},
        {"squares, 4 rows, going down", {PavingSquares}, 4, 3, 1,
         {{1, 0, 2, 1, 4, 2}, {2, 2, 4, 1, 4, 3}, {3, 4, 5, 1, 4, 1},
          {4, 0, 2, 0, 1, 1}, {5, 2, 4, 0, 1, 2}, {6, 4, 5, 0, 1, 3}}},
        // With an even row count row 0 of the shared diagonal border holds quarter tiles at
        // both ends and half tiles that lay neither half between; the last row half tiles of
        // the same kind and a hole. Row 2 is full (laid halves at both ends), so the band of
        // three rows is, and the single edge row gives nothing either way.
        {"diagonal borders, 4 rows, going up", {1, 2, 4, 5, 6}, 4, 3, 0,
         {{1, 0, 2, 0, 3, 2}, {2, 2, 4, 0, 3, 3}, {3, 4, 5, 0, 3, 1}}},
        {"diagonal borders, 4 rows, going down", {1, 2, 4, 5, 6}, 4, 3, 1,
         {{1, 0, 2, 1, 4, 2}, {2, 2, 4, 1, 4, 3}, {3, 4, 5, 1, 4, 1}}},
        // Triangles and crossed joints with an even row count: row 0 has laid halves at both
        // ends and stays full; the last column is a hole in rows 1 and 3, so the edge row 3
        // loses its one-column plate and the edge row 0 keeps it.
        {"triangles and crossed joints, 4 rows, going up",
         {PavingTriangles, PavingCrossedJoints}, 4, 3, 0,
         {{1, 0, 2, 0, 3, 2}, {2, 2, 4, 0, 3, 3}, {3, 4, 5, 0, 3, 1},
          {4, 0, 2, 3, 4, 1}, {5, 2, 4, 3, 4, 2}}},
        {"triangles and crossed joints, 4 rows, going down",
         {PavingTriangles, PavingCrossedJoints}, 4, 3, 1,
         {{1, 0, 2, 1, 4, 2}, {2, 2, 4, 1, 4, 3}, {3, 4, 5, 1, 4, 1},
          {4, 0, 2, 0, 1, 1}, {5, 2, 4, 0, 1, 2}, {6, 4, 5, 0, 1, 3}}},
    };
    for (const BorderCase& c : cases)
        for (int pattern : c.patterns)
        {
            SCOPED_TRACE(testing::Message() << c.name << ", pattern " << pattern);
            MakeGrid(5, c.rows);
            m_doc->m_pavingType = pattern;
            CRasterImage::SetBorderCodes(&m_doc->m_workingMap, pattern, 5, c.rows, -1, -1);
            SetPlates(2, c.cy, c.direction, 0);
            m_doc->BuildPlaques();
            ExpectPlates(c.plates, pattern);
        }
}

TEST_F(PlatesTest, RebuildingReplacesThePlatesAndSetsThePitch)
{
    MakeGrid(24, 24);
    SetPlates(12, 12, 0, 0);
    m_doc->taillecar = 2500;
    m_doc->intercar = 160;
    m_doc->BuildPlaques();
    SetPlates(24, 24, 0, 0);
    m_doc->BuildPlaques();
    ExpectPlates({{1, 0, 24, 0, 24, 2}});
    EXPECT_EQ(2660, m_doc->m_pitch);

    m_doc->DeletePlaques();
    EXPECT_EQ(0, m_doc->m_plaques.GetCount());
}

// Plate sizes that cannot be cut must not hang: they give no plates. A one-tile plate with the
// half-plate offset cannot be halved and stays one tile wide.
TEST_F(PlatesTest, EveryPlateSizeTerminates)
{
    struct SizeCase
    {
        int cx, cy, decalage;
        size_t plates;
    } const cases[] = {
        {0, 2, 0, 0},  {0, 2, 1, 0},      {2, 0, 0, 0},       {0, 0, 1, 0},
        {-3, 2, 1, 0}, {2, -1, 0, 0},     {1, 1, 0, 6},       {1, 1, 1, 6},
        {INT_MAX, INT_MAX, 1, 1},         {INT_MAX, 1, 1, 2}, {1, INT_MAX, 0, 3},
    };
    for (int direction = 0; direction <= 1; direction++)
        for (const SizeCase& c : cases)
        {
            SCOPED_TRACE(testing::Message() << c.cx << " x " << c.cy << " offset " << c.decalage
                                            << " direction " << direction);
            MakeGrid(3, 2);
            SetPlates(c.cx, c.cy, direction, c.decalage);
            m_doc->m_plaquesValid = 0;
            EXPECT_EQ(1, m_doc->BuildPlaques());
            EXPECT_EQ(1, m_doc->m_plaquesValid);
            EXPECT_EQ(c.plates, PlateList().size());
            for (CPlaque* p : PlateList())
            {
                EXPECT_LE(0, p->m_firstCol);
                EXPECT_LE(p->m_endCol, 3);
                EXPECT_LT(p->m_firstCol, p->m_endCol);
                EXPECT_LE(0, p->m_firstRow);
                EXPECT_LE(p->m_endRow, 2);
                EXPECT_LT(p->m_firstRow, p->m_endRow);
            }
        }
}

TEST_F(PlatesTest, FindsPlatesByPageAndNumber)
{
    MakeGrid(24, 24);
    SetPlates(12, 12, 0, 0);
    m_doc->BuildPlaques();
    for (CPlaque* p : PlateList())
    {
        p->m_firstPage = 2 * p->m_number;
        p->m_lastPage = 2 * p->m_number + 1;
    }
    // Plate 3 also claims page 9 of plate 4; the list runs from plate 4, which wins.
    m_doc->FindPlaqueByNumber(3)->m_lastPage = 9;

    EXPECT_EQ(1, m_doc->FindPlaqueByPage(3)->m_number);
    EXPECT_EQ(2, m_doc->FindPlaqueByPage(4)->m_number);
    EXPECT_EQ(4, m_doc->FindPlaqueByPage(9)->m_number);
    EXPECT_EQ(3, m_doc->FindPlaqueByPage(7)->m_number);
    EXPECT_EQ(NULL, m_doc->FindPlaqueByPage(1));
    EXPECT_EQ(NULL, m_doc->FindPlaqueByPage(10));
    EXPECT_EQ(NULL, m_doc->FindPlaqueByNumber(5));
    EXPECT_EQ(NULL, m_doc->FindPlaqueByNumber(0));
}

TEST(PlaqueArchiveTest, WritesOnlyItsClassAndReadsBackAFreshPlate)
{
    CPlaque plate;
    plate.m_number = 7;
    plate.m_colour = RGB(1, 2, 3);
    plate.m_firstCol = 12;
    plate.m_endRow = 24;

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(&plate);
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());

    // New-class tag, schema 1, the class name with its length, and no fields.
    const BYTE expected[] = {0xFF, 0xFF, 0x01, 0x00, 0x07, 0x00,
                             'C',  'P',  'l',  'a',  'q',  'u',  'e'};
    EXPECT_EQ(std::vector<BYTE>(expected, expected + sizeof(expected)), bytes);

    CMemFile in(bytes.data(), (UINT)bytes.size());
    CArchive ar(&in, CArchive::load);
    CPlaque* pRead = NULL;
    ar >> pRead;
    ASSERT_NE(nullptr, pRead);
    EXPECT_EQ(0, pRead->m_number);
    EXPECT_EQ((COLORREF)255, pRead->m_colour);
    EXPECT_EQ(0, pRead->m_pavingType);
    EXPECT_EQ(0, pRead->m_firstCol);
    EXPECT_EQ(0, pRead->m_endRow);
    delete pRead;
}

// A 4 x 3 map with a hole, a whole tile, every split kind under various shape codes and a
// cell of an unknown kind, counted by hand.
TEST_F(PlatesTest, CountsTilesAndPartsPerColour)
{
    MakeGrid(4, 3);
    struct Cell
    {
        int col, row, shape, kind, a, b, c, d;
    } const cells[] = {
        {0, 0, 0, 0, 1, 0, 0, 0},        // T0[1]
        {1, 0, 16, 0, 1, 0, 0, 0},       // hole
        {2, 0, 0, 1, 2, 3, 0, 0},        // T2[2], T2[3]
        {3, 0, 1, 1, 2, 3, 0, 0},        // T2[3]
        {0, 1, 4, 2, 4, 5, 0, 0},        // T2[4]
        {1, 1, 3, 3, 6, 7, 0, 0},        // T1[6]
        {2, 1, 2, 4, 8, 9, 0, 0},        // T1[9]
        {3, 1, 0, 5, 10, 11, 12, 13},    // T3[10..13]
        {0, 2, 9, 5, 10, 11, 12, 13},    // T3[11], T3[12], T3[13]
        {1, 2, 5, 6, 14, 15, 16, 17},    // T4[14]
        {2, 2, 12, 6, 14, 15, 16, 17},   // T4[14], T4[15], T4[16]
        {3, 2, 0, 7, 1, 1, 1, 1},        // unknown kind: a cell, no part
    };
    for (const Cell& c : cells)
        m_doc->m_workingMap.SetCell(c.col, c.row, c.shape, c.kind, c.a, c.b, c.c, c.d, 0, 0, 0,
                                    0);
    m_doc->m_imagePalette.m_costDivisor = 4;
    m_doc->m_imagePalette.m_values[1] = 2;
    m_doc->m_imagePalette.m_values[3] = 10;
    m_doc->m_imagePalette.m_values[14] = 6;
    m_doc->m_imagePalette.m_values[20] = 100;

    int expected[5][256];
    memset(expected, 0, sizeof(expected));
    expected[0][1] = 1;
    expected[1][6] = 1;
    expected[1][9] = 1;
    expected[2][2] = 1;
    expected[2][3] = 2;
    expected[2][4] = 1;
    expected[3][10] = 1;
    expected[3][11] = expected[3][12] = expected[3][13] = 2;
    expected[4][14] = 2;
    expected[4][15] = expected[4][16] = 1;
    const double totals[5] = {1, 2, 4, 7, 4};

    // A second count starts from zero again.
    for (int pass = 0; pass < 2; pass++)
    {
        SCOPED_TRACE(pass);
        m_doc->CountTilesPerColour();
        EXPECT_EQ(11, m_doc->m_cellCount);
        EXPECT_EQ(8, m_doc->m_borderCellCount);
        for (int t = 0; t < 5; t++)
        {
            EXPECT_EQ(totals[t], m_doc->m_countTotals[t]) << "table " << t;
            for (int c = 0; c < 256; c++)
                EXPECT_EQ(expected[t][c], m_doc->m_tileCounts[t][c])
                    << "table " << t << " colour " << c;
        }
        EXPECT_EQ(0.5, m_doc->m_colourCosts[1]);
        EXPECT_EQ(5.0, m_doc->m_colourCosts[3]);
        EXPECT_EQ(3.0, m_doc->m_colourCosts[14]);
        EXPECT_EQ(0.0, m_doc->m_colourCosts[20]);
    }

    m_doc->m_imagePalette.m_costDivisor = 0;
    m_doc->CountTilesPerColour();
    for (int c = 0; c < 256; c++)
        EXPECT_EQ(0.0, m_doc->m_colourCosts[c]) << "colour " << c;
}

void SetPlate(CPlaque& plate, int pavingType, double firstCol, double endCol, double firstRow,
              double endRow)
{
    plate.m_number = 7;
    plate.m_colour = RGB(255, 0, 0);
    plate.m_pavingType = pavingType;
    plate.m_firstCol = firstCol;
    plate.m_endCol = endCol;
    plate.m_firstRow = firstRow;
    plate.m_endRow = endRow;
}

// Frames on a 4 x 4 grid. On squares the bottom limit is the end row; on squares at 45
// degrees it and the right limit stop at the last row and column, where the bottom edge
// moves down by the inset.
TEST(PlaqueFrameTest, FrameFollowsThePavingAndTheInset)
{
    struct FrameCase
    {
        const char* name;
        int paving;
        double firstCol, endCol, firstRow, endRow;
        int zoom, originCol, originRow, xOffset, yOffset, thick, divisor;
        int left, top, right, bottom;
    };
    const int diamondRight = TileToPixelX(PavingDiamonds, 10, 3, 0);
    const int diamondLeft = TileToPixelX(PavingDiamonds, 10, 2, 0);
    const int diamondTop = TileToPixelY(PavingDiamonds, 10, 2, 0);
    const int diamondBottom = TileToPixelY(PavingDiamonds, 10, 3, 0);
    const int diamondMid = TileToPixelY(PavingDiamonds, 10, 2, 0);
    const int triangleBottom = TileToPixelY(PavingTriangles, 10, 4, 0);
    const FrameCase cases[] = {
        {"squares, first plate", 0, 0, 2, 0, 2, 10, 0, 0, 0, 0, 0, 1, 1, 1, 19, 19},
        {"squares, last plate", 0, 2, 4, 2, 4, 10, 0, 0, 0, 0, 0, 1, 21, 21, 39, 39},
        {"squares, last plate, thick", 0, 2, 4, 2, 4, 10, 0, 0, 0, 0, 1, 1, 22, 22, 38, 42},
        {"squares, plate ending on the last row but one, thick", 0, 0, 2, 0, 3, 10, 0, 0, 0, 0,
         1, 1, 2, 2, 18, 32},
        {"origin, offsets and divisor", 0, 2, 4, 0, 2, 20, 1, 1, 5, 7, 0, 2, 16, -2, 34, 16},
        {"diamonds at the grid's corner", 1, 2, 4, 2, 4, 10, 0, 0, 0, 0, 0, 1, diamondLeft + 1,
         diamondTop + 1, diamondRight - 1, diamondBottom + 1},
        {"diamonds above the last row", 1, 2, 4, 0, 2, 10, 0, 0, 0, 0, 0, 1, diamondLeft + 1,
         1, diamondRight - 1, diamondMid - 1},
        {"triangles keep the row count", 3, 0, 2, 2, 4, 10, 0, 0, 0, 0, 0, 1,
         TileToPixelX(PavingTriangles, 10, 0, 0) + 1, TileToPixelY(PavingTriangles, 10, 2, 0) + 1,
         TileToPixelX(PavingTriangles, 10, 2, 0) - 1, triangleBottom - 1},
        {"divisor 0 draws unscaled", 0, 0, 2, 0, 2, 10, 0, 0, 0, 0, 0, 0, 1, 1, 19, 19},
    };
    for (const FrameCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CPlaque plate;
        SetPlate(plate, c.paving, c.firstCol, c.endCol, c.firstRow, c.endRow);
        const RECT r = plate.GetFrame(c.zoom, 4, 4, c.originCol, c.originRow, c.xOffset,
                                      c.yOffset, c.thick, c.divisor);
        EXPECT_EQ(c.left, r.left);
        EXPECT_EQ(c.top, r.top);
        EXPECT_EQ(c.right, r.right);
        EXPECT_EQ(c.bottom, r.bottom);
    }
}

cv::Vec3b PixelAt(const cv::Mat& image, int x, int y) { return image.at<cv::Vec3b>(y, x); }

TEST(PlaqueFrameTest, DrawsOnAPictureInBlueGreenRedOrder)
{
    CPlaque plate;
    SetPlate(plate, 0, 0, 2, 0, 2);
    cv::Mat image(40, 40, CV_8UC3, cv::Scalar(0, 0, 0));
    plate.DrawOnImage(image, 10, 4, 4, 0, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(cv::Vec3b(0, 0, 255), PixelAt(image, 10, 1));    // top edge
    EXPECT_EQ(cv::Vec3b(0, 0, 255), PixelAt(image, 19, 10));   // right edge
    EXPECT_EQ(cv::Vec3b(0, 0, 0), PixelAt(image, 10, 10));     // no number inside
    EXPECT_EQ(cv::Vec3b(0, 0, 0), PixelAt(image, 30, 30));

    cv::Mat white(40, 40, CV_8UC3, cv::Scalar(255, 255, 255));
    plate.DrawOnImage(white, 10, 4, 4, 1, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(cv::Vec3b(0, 0, 0), PixelAt(white, 10, 1));
}

// The number's size by zoom and its place in the frame, against the picture drawn with the
// expected thickness and scale.
TEST(PlaqueFrameTest, WritesTheNumberWithTheSizeOfTheZoom)
{
    struct TextCase
    {
        int zoom, thickness;
        double scale;
    } const cases[] = {{2, 1, 0.5}, {5, 1, 0.6}, {13, 2, 1.0}, {30, 2, 2.0}, {48, 3, 3.0}};
    for (const TextCase& c : cases)
    {
        SCOPED_TRACE(c.zoom);
        CPlaque plate;
        SetPlate(plate, 0, 0, 6, 0, 4);
        const int side = 8 * c.zoom;
        cv::Mat drawn(side, side, CV_8UC3, cv::Scalar(0, 0, 0));
        plate.DrawOnImage(drawn, c.zoom, 8, 8, 0, 1, 0, 0, 0, 0, 0, 1);

        cv::Mat expected(side, side, CV_8UC3, cv::Scalar(0, 0, 0));
        const cv::Scalar red(0, 0, 255, 0);
        const int left = 1, top = 1, right = 6 * c.zoom - 1, bottom = 4 * c.zoom - 1;
        cv::rectangle(expected, cv::Point(left, top), cv::Point(right, bottom), red, 2, 8);
        int baseline = 0;
        const cv::Size size = cv::getTextSize("7", 0, c.scale, c.thickness, &baseline);
        cv::putText(expected, "7",
                    cv::Point(left + (right - left - size.width) / 2,
                              top + (bottom - top + size.height) / 2),
                    0, c.scale, red, c.thickness, 8, false);
        EXPECT_EQ(0, cv::norm(drawn, expected, cv::NORM_INF));
    }
}

TEST(PlaqueFrameTest, DrawsOnADeviceContextAndRestoresIt)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 80;
    info.bmiHeader.biHeight = -80;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP hBitmap = CreateDIBSection(dc.m_hDC, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    ASSERT_NE(nullptr, hBitmap);
    HGDIOBJ hOldBitmap = SelectObject(dc.m_hDC, hBitmap);

    struct DrawCase
    {
        int black, numbers;
        COLORREF frame;
    } const cases[] = {{0, 0, RGB(255, 0, 0)}, {1, 0, RGB(0, 0, 0)}, {0, 1, RGB(255, 0, 0)}};
    for (const DrawCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "black " << c.black << " numbers " << c.numbers);
        PatBlt(dc.m_hDC, 0, 0, 80, 80, WHITENESS);
        HGDIOBJ hPenBefore = GetCurrentObject(dc.m_hDC, OBJ_PEN);
        HGDIOBJ hFontBefore = GetCurrentObject(dc.m_hDC, OBJ_FONT);
        CPlaque plate;
        SetPlate(plate, 0, 0, 2, 0, 2);
        plate.Draw(&dc, 20, 4, 4, c.black, c.numbers, 0, 0, 0, 0, 0, 1);

        EXPECT_EQ(c.frame, dc.GetPixel(20, 1));
        EXPECT_EQ(c.frame, dc.GetPixel(39, 20));
        EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(70, 70));
        bool marked = false;
        for (int y = 5; y < 35 && !marked; y++)
            for (int x = 5; x < 35 && !marked; x++)
                marked = dc.GetPixel(x, y) != RGB(255, 255, 255);
        EXPECT_EQ(c.numbers != 0, marked);
        EXPECT_EQ(hPenBefore, GetCurrentObject(dc.m_hDC, OBJ_PEN));
        EXPECT_EQ(hFontBefore, GetCurrentObject(dc.m_hDC, OBJ_FONT));
        EXPECT_EQ((COLORREF)0, GetTextColor(dc.m_hDC));
    }
    SelectObject(dc.m_hDC, hOldBitmap);
    DeleteObject(hBitmap);
}

} // namespace
