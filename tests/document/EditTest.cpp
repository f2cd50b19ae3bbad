// The editing commands: resizing to a physical size, adding and deleting rows and columns,
// the cell filter, triangles, mirrors, copy and paste, and the text stamp's picture, with
// their undo steps and the values they refuse.
#include "MosaicTest.h"

#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "AfxMsgMap.h"
#include "AfxRes.h"
#include "DocTestFiles.h"
#include "OpenCv.h"
#include "Paving.h"
#include "RasterImage.h"
#include "TextIds.h"
#include "VitrolanDoc.h"

namespace
{

const char kTexts[] =
    "510;Too many added\r\n870;Undo\r\n871;Undo resize\r\n873;Undo filter\r\n"
    "874;Undo mirror across\r\n875;Undo mirror down\r\n877;Undo paste\r\n"
    "880;Undo triangles\r\n900;Add\r\n901;Delete\r\n903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n"
    "994;Refused %d x %d, at most %d x %d\r\n995;Count below one\r\n996;Too many deleted\r\n"
    "997;Cannot draw: %s\r\n";

// The dialogs' answers the test sets, and what the document showed and asked.
struct DialogScript
{
    INT_PTR nResult = IDOK;
    float fSize = 0;
    int nDimension = 0;
    GridSides sides = {};
    CString strText;
    std::vector<float> offeredSizes;
    std::vector<int> offeredUnits;
    std::vector<CString> headings;
    std::vector<CString> messages;
    CRect selection;
    std::vector<CRect> redrawn;
    int nHiddenHandles = 0;
};
DialogScript* g_pScript = NULL;

INT_PTR AskResize(float* pSize, int* pDimension, int nUnits, LPCTSTR)
{
    g_pScript->offeredSizes.push_back(*pSize);
    g_pScript->offeredUnits.push_back(nUnits);
    if (g_pScript->nResult == IDOK)
    {
        *pSize = g_pScript->fSize;
        *pDimension = g_pScript->nDimension;
    }
    return g_pScript->nResult;
}
INT_PTR AskRowsColumns(LPCTSTR lpszHeading, GridSides* pSides)
{
    g_pScript->headings.push_back(lpszHeading);
    if (g_pScript->nResult == IDOK)
        *pSides = g_pScript->sides;
    return g_pScript->nResult;
}
INT_PTR AskStampText(CString* pText)
{
    if (g_pScript->nResult == IDOK)
        *pText = g_pScript->strText;
    return g_pScript->nResult;
}
int ShowMessage(LPCTSTR lpszText)
{
    g_pScript->messages.push_back(lpszText);
    return IDOK;
}
void GetShapeRect(CShpRectangle*, RECT* pRect) { *pRect = g_pScript->selection; }
void HideShapeHandles(CShpRectangle*) { g_pScript->nHiddenHandles++; }
void RedrawViewArea(const RECT* pRect) { g_pScript->redrawn.push_back(*pRect); }

GridSides Sides(int nTop, int nBottom, int nLeft, int nRight)
{
    GridSides sides = {};
    const int counts[] = {nTop, nBottom, nLeft, nRight};
    for (int side = 0; side < GridSides::Count; side++)
    {
        sides.checked[side] = counts[side] != 0;
        sides.counts[side] = counts[side] < 0 ? 0 : counts[side];
    }
    return sides;
}

class EditTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_strFolder = UseOwnTexts(L"MosaicEditTexts", kTexts); }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strFolder); }

    void SetUp() override
    {
        g_pScript = &m_script;
        DocUiHooks& hooks = CVitrolanDoc::s_uiHooks;
        hooks = DocUiHooks();
        hooks.pfnAskResize = AskResize;
        hooks.pfnAskRowsColumns = AskRowsColumns;
        hooks.pfnAskStampText = AskStampText;
        hooks.pfnMessageBox = ShowMessage;
        hooks.pfnGetShapeRect = GetShapeRect;
        hooks.pfnHideShapeHandles = HideShapeHandles;
        hooks.pfnRedrawViewArea = RedrawViewArea;
        m_doc.reset(new CVitrolanDoc);
        // The hooks only pass the shape on; any address stands for it.
        m_doc->m_selection = reinterpret_cast<CShpRectangle*>(&m_shape);
        m_doc->unites = 0;
        m_doc->m_screenWidth = 1200;
        m_doc->m_screenHeight = 800;
        LoadMosaic(6, 4);
    }
    void TearDown() override
    {
        m_doc->m_selection = NULL;
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pScript = NULL;
    }

    // A settled mosaic of squares, cell (col, row) of image colour col + 10 row, every
    // colour of its own RGB.
    void LoadMosaic(int nCols, int nRows)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = nCols;
        d.m_rows = nRows;
        d.m_pavingType = PavingSquares;
        d.m_workingMap.Free();
        d.m_workingMap.Create(0, 4 * nCols, 4 * nRows);
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
                SetColour(col, row, (col + 10 * row) % 256);
        for (int i = 0; i < 256; i++)
        {
            d.m_imagePalette.m_colours[i].peRed = (BYTE)i;
            d.m_imagePalette.m_colours[i].peGreen = (BYTE)(255 - i);
            d.m_imagePalette.m_colours[i].peBlue = 7;
        }
        Settle();
        d.m_loaded = 1;
        d.m_dirty = 0;
    }
    void Settle()
    {
        CVitrolanDoc& d = *m_doc;
        d.m_committedMap.Free();
        d.m_committedMap.Create(0, 4 * d.m_cols, 4 * d.m_rows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * d.m_cols, 4 * d.m_rows);
    }
    void SetColour(int nCol, int nRow, int nColour, int nKind = 0)
    {
        m_doc->m_workingMap.SetCell(nCol, nRow, 0, nKind, nColour, nColour, nColour, nColour, 0,
                                    0, 0, 0);
    }
    int Field(const CRasterImage& map, int nCol, int nRow, int nField = 2)
    {
        int f[10];
        map.GetCell(nCol, nRow, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
        return f[nField];
    }
    int ColourAt(int nCol, int nRow) { return Field(m_doc->m_workingMap, nCol, nRow); }
    // The one message shown, or none for an empty text.
    void ExpectMessage(const CString& strMessage)
    {
        if (strMessage.IsEmpty())
        {
            EXPECT_TRUE(m_script.messages.empty());
            return;
        }
        ASSERT_EQ(1u, m_script.messages.size());
        EXPECT_EQ(strMessage, m_script.messages[0]);
    }

    void Command(UINT nID) { EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_COMMAND, NULL, NULL)); }
    // A pending brush stroke of colour 200 on cell (0, 0).
    void PendingEdit()
    {
        m_doc->CommitPendingEdit();
        SetColour(0, 0, 200);
        m_doc->SetUndoItem(TXT_UNDO_BRUSH);
        m_doc->m_undoPending = 1;
    }
    // The select tool on, block (first col, first row, last col, last row) selected now,
    // and the block that was copied.
    void Select(const RECT& current, const RECT& copied = RECT{0, 0, 0, 0})
    {
        m_doc->m_selectTool = 1;
        const int block[8] = {(int)current.left, (int)current.top, (int)current.right,
                              (int)current.bottom, (int)copied.left, (int)copied.top,
                              (int)copied.right, (int)copied.bottom};
        memcpy(m_doc->m_copyRect, block, sizeof(block));
        m_script.selection.SetRect(10, 20, 50, 60);
    }

    static CString s_strFolder;
    DialogScript m_script;
    int m_shape = 0;
    std::unique_ptr<CVitrolanDoc> m_doc;
};
CString EditTest::s_strFolder;

// ---- Rows and columns ---------------------------------------------------------------------------

// Added rows and columns must stay below the grid's own count on each axis, counted over both
// sides; a refused or cancelled addition changes nothing.
TEST_F(EditTest, AddingRowsOrColumnsStaysBelowTheGridsOwnCount)
{
    struct Case
    {
        const char* name;
        GridSides sides;
        INT_PTR nResult;
        int nCols, nRows;
        const char* message;
    };
    const Case cases[] = {
        {"19 at the top", Sides(19, 0, 0, 0), IDOK, 20, 39, ""},
        {"20 at the top", Sides(20, 0, 0, 0), IDOK, 20, 20, "Too many added"},
        {"10 top, 10 bottom", Sides(10, 10, 0, 0), IDOK, 20, 20, "Too many added"},
        {"10 left, 9 right", Sides(0, 0, 10, 9), IDOK, 39, 20, ""},
        {"a chosen side of 0", Sides(2, -1, 0, 0), IDOK, 20, 20, "Count below one"},
        {"cancelled", Sides(5, 0, 0, 0), IDCANCEL, 20, 20, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoadMosaic(20, 20);
        m_script = DialogScript();
        m_script.sides = c.sides;
        m_script.nResult = c.nResult;
        const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
        Command(ID_ADD_ROWS_COLUMNS);
        ASSERT_EQ(1u, m_script.headings.size());
        EXPECT_EQ(CString(L"Add"), m_script.headings[0]);
        EXPECT_EQ(c.nCols, m_doc->m_cols);
        EXPECT_EQ(c.nRows, m_doc->m_rows);
        EXPECT_EQ(4 * c.nCols, m_doc->m_workingMap.width);
        EXPECT_EQ(4 * c.nRows, m_doc->m_committedMap.height);
        ExpectMessage(c.message);
        if (c.nRows == 20 && c.nCols == 20)
        {
            EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
        }
    }
}

// Columns added at the left push every cell right and are laid whole tiles of colour 0; the
// last columns stay. Both maps end equal, with no undo step.
TEST_F(EditTest, ColumnsAddedAtTheLeftMoveEveryCellRight)
{
    m_script.sides = Sides(1, 0, 2, 0);
    Command(ID_ADD_ROWS_COLUMNS);
    ASSERT_EQ(8, m_doc->m_cols);
    ASSERT_EQ(5, m_doc->m_rows);
    for (int row = 0; row < 5; row++)
        for (int col = 0; col < 8; col++)
        {
            SCOPED_TRACE(testing::Message() << col << ", " << row);
            if (row == 0 || col < 2)
                for (int field = 0; field < 10; field++)
                    EXPECT_EQ(0, Field(m_doc->m_workingMap, col, row, field));
            else
                EXPECT_EQ(col - 2 + 10 * (row - 1), ColourAt(col, row));
        }
    EXPECT_EQ(Bytes(m_doc->m_workingMap), Bytes(m_doc->m_committedMap));
    EXPECT_EQ(0, m_doc->m_undoPending);
    EXPECT_EQ(1, m_doc->m_dirty);
}

TEST_F(EditTest, DeletingRemovesTheRowsAndColumnsOfTheChosenSides)
{
    struct Case
    {
        const char* name;
        GridSides sides;
        int nCols, nRows;
        int nFirstColour;   // colour of cell (0, 0) afterwards
        int nLastColour;    // colour of the last cell afterwards
    };
    const Case cases[] = {
        {"top row", Sides(1, 0, 0, 0), 6, 3, 10, 35},
        {"bottom row", Sides(0, 1, 0, 0), 6, 3, 0, 25},
        {"left column", Sides(0, 0, 1, 0), 5, 4, 1, 35},
        {"right column", Sides(0, 0, 0, 1), 5, 4, 0, 34},
        {"every side", Sides(1, 2, 2, 3), 1, 1, 12, 12},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoadMosaic(6, 4);
        m_script.sides = c.sides;
        Command(ID_DELETE_ROWS_COLUMNS);
        EXPECT_EQ(CString(L"Delete"), m_script.headings.back());
        ASSERT_EQ(c.nCols, m_doc->m_cols);
        ASSERT_EQ(c.nRows, m_doc->m_rows);
        EXPECT_EQ(4 * c.nCols, m_doc->m_workingMap.width);
        EXPECT_EQ(c.nFirstColour, ColourAt(0, 0));
        EXPECT_EQ(c.nLastColour, ColourAt(c.nCols - 1, c.nRows - 1));
        EXPECT_EQ(Bytes(m_doc->m_workingMap), Bytes(m_doc->m_committedMap));
        EXPECT_TRUE(m_script.messages.empty());
    }
}

// A deletion must leave a row and a column, and every chosen side at least 1.
TEST_F(EditTest, DeletingEveryRowOrColumnIsRefused)
{
    for (const GridSides& sides : {Sides(2, 2, 0, 0), Sides(0, 0, 6, 0), Sides(0, 0, -1, 1)})
    {
        LoadMosaic(6, 4);
        m_script.messages.clear();
        m_script.sides = sides;
        const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
        Command(ID_DELETE_ROWS_COLUMNS);
        EXPECT_EQ(6, m_doc->m_cols);
        EXPECT_EQ(4, m_doc->m_rows);
        EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
        EXPECT_EQ(1u, m_script.messages.size());
    }
    EXPECT_EQ(CString(L"Count below one"), m_script.messages.back());
    m_script.messages.clear();
    m_script.sides = Sides(0, 0, 6, 0);
    Command(ID_DELETE_ROWS_COLUMNS);
    EXPECT_EQ(CString(L"Too many deleted"), m_script.messages.back());
}

// Rows and columns cannot be undone: the edit pending before them is settled, so that its
// undo can no longer put old colours or an old size over the new grid.
TEST_F(EditTest, RowsAndColumnsSettleThePendingEdit)
{
    m_doc->SaveColoursForUndo();
    m_doc->m_imagePalette.m_colours[0].peRed = 99;
    PendingEdit();
    m_doc->m_coloursPending = 1;
    m_script.sides = Sides(0, 1, 0, 0);
    Command(ID_ADD_ROWS_COLUMNS);
    EXPECT_EQ(0, m_doc->m_undoPending);
    EXPECT_EQ(CString(L"Undo"), m_doc->m_undoItemText);

    Command(ID_UNDO_EDIT);
    EXPECT_EQ(5, m_doc->m_rows);
    EXPECT_EQ(200, ColourAt(0, 0));
    EXPECT_EQ(99, m_doc->m_imagePalette.m_colours[0].peRed);
}

// ---- Resize -------------------------------------------------------------------------------------

// A 30 x 20 mosaic 0.5 m wide: the dialog offers the width in metres, rounded to 3 decimals.
// Each wanted size gives its grid, odd counts made even.
TEST_F(EditTest, ResizeScalesBothCountsByTheSizesRatio)
{
    struct Case
    {
        const char* name;
        float fSize;
        int nDimension;
        int nCols, nRows, nShrunk;
    };
    const Case cases[] = {
        {"0.5 m to 1 m", 1.0f, 0, 60, 40, 2},
        {"0.5 m to 0.75 m", 0.75f, 0, 46, 30, 2},
        {"0.5 m to 0.25 m", 0.25f, 0, 16, 10, 1},
        {"height 0.3334 m to 0.6668 m", 0.6668f, 1, 60, 40, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoadMosaic(30, 20);
        m_doc->m_pitch = 1667;
        m_script = DialogScript();
        m_script.fSize = c.fSize;
        m_script.nDimension = c.nDimension;
        Command(ID_RESIZE_MOSAIC);
        ASSERT_EQ(1u, m_script.offeredSizes.size());
        EXPECT_FLOAT_EQ(0.5f, m_script.offeredSizes[0]);
        EXPECT_EQ(0, m_script.offeredUnits[0]);
        EXPECT_EQ(c.nCols, m_doc->m_cols);
        EXPECT_EQ(c.nRows, m_doc->m_rows);
        EXPECT_EQ(c.nShrunk, m_doc->m_resizeShrunk);
        EXPECT_EQ(4 * c.nCols, m_doc->m_workingMap.width);
        EXPECT_EQ(4 * c.nRows, m_doc->m_workingMap.height);
        EXPECT_EQ(1, m_doc->m_undoPending);
        EXPECT_EQ(1, m_doc->m_resizePending);
        EXPECT_EQ(CString(L"Undo resize"), m_doc->m_undoItemText);
    }
}

// Doubling reads each new cell from the old cell that covers it, and Undo gives back the
// grid, the cells and the zoom.
TEST_F(EditTest, ResizeResamplesTheCellsAndUndoRestoresThem)
{
    LoadMosaic(30, 20);
    m_doc->m_pitch = 1667;
    m_doc->m_tileSize = 20;
    const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
    m_script.fSize = 1.0f;
    Command(ID_RESIZE_MOSAIC);
    ASSERT_EQ(60, m_doc->m_cols);
    for (int row = 0; row < 40; row++)
        for (int col = 0; col < 60; col++)
        {
            const int sx = std::min(RoundHalfAway(col / 2.0 + 0.5), 29);
            const int sy = std::min(RoundHalfAway(row / 2.0 + 0.5), 19);
            ASSERT_EQ(sx + 10 * sy, ColourAt(col, row)) << col << ", " << row;
        }
    // The grid now fits the screen at its own zoom.
    EXPECT_EQ(18, m_doc->m_tileSize);

    Command(ID_UNDO_EDIT);
    EXPECT_EQ(30, m_doc->m_cols);
    EXPECT_EQ(20, m_doc->m_rows);
    EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(36, m_doc->m_tileSize);
}

// Colours that only lived in dropped cells go; the palette is packed, and Undo brings the
// palette, the count and the cells back together. The edit pending before is settled first.
TEST_F(EditTest, ResizeKeepsThePaletteForUndoAfterThePendingEdit)
{
    LoadMosaic(4, 2);
    for (int row = 0; row < 2; row++)
        for (int col = 0; col < 4; col++)
            SetColour(col, row, col % 2 == 0 ? 0 : 1);
    SetColour(2, 0, 2);
    Settle();
    m_doc->m_colourCount = 3;
    m_doc->m_pitch = 25000;   // 1 m wide
    m_doc->CommitPendingEdit();
    SetColour(0, 1, 2);
    m_doc->SetUndoItem(TXT_UNDO_BRUSH);
    m_doc->m_undoPending = 1;
    const std::vector<BYTE> afterBrush = Bytes(m_doc->m_workingMap);
    const PaletteEntry colour2 = m_doc->m_imagePalette.m_colours[2];

    m_script.fSize = 0.5f;
    Command(ID_RESIZE_MOSAIC);
    ASSERT_EQ(2, m_doc->m_cols);
    EXPECT_EQ(2, m_doc->m_colourCount);
    EXPECT_EQ(colour2.peRed, m_doc->m_imagePalette.m_colours[1].peRed);
    EXPECT_EQ(1, ColourAt(1, 0));

    Command(ID_UNDO_EDIT);
    EXPECT_EQ(afterBrush, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(3, m_doc->m_colourCount);
    EXPECT_EQ(1, m_doc->m_imagePalette.m_colours[1].peRed);
    EXPECT_EQ(colour2.peRed, m_doc->m_imagePalette.m_colours[2].peRed);
}

// Sizes that give no tile or more than the largest grid are reported and change nothing; the
// same width, a cancelled dialog or a size of 0 change nothing without a word.
TEST_F(EditTest, ResizeRefusesSizesWithoutAWorkableGrid)
{
    struct Case
    {
        const char* name;
        INT_PTR nResult;
        float fSize;
        const char* message;
    };
    const Case cases[] = {
        {"no tile left", IDOK, 0.001f, "Refused 0 x 0, at most 10000 x 10000"},
        {"too large", IDOK, 1000.0f, "Refused 60000 x 40000, at most 10000 x 10000"},
        {"same width", IDOK, 0.5f, ""},
        {"zero", IDOK, 0.0f, ""},
        {"below zero", IDOK, -1.0f, ""},
        {"cancelled", IDCANCEL, 1.0f, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LoadMosaic(30, 20);
        m_doc->m_pitch = 1667;
        m_script = DialogScript();
        m_script.nResult = c.nResult;
        m_script.fSize = c.fSize;
        const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
        Command(ID_RESIZE_MOSAIC);
        EXPECT_EQ(30, m_doc->m_cols);
        EXPECT_EQ(20, m_doc->m_rows);
        EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
        EXPECT_EQ(0, m_doc->m_undoPending);
        EXPECT_EQ(0, m_doc->m_coloursPending);
        ExpectMessage(c.message);
    }
}

// The tile display size follows the factor, and the grid is then fitted to the screen: the
// joints follow the size, so that tiles of one pixel on the way leave them as the user had
// them once the fit gives room.
TEST_F(EditTest, ResizeToTilesOfOnePixelKeepsTheJointsOfTheUser)
{
    for (int nTileSize : {2, 20})
        for (int nJoints : {1, 0})
        {
            SCOPED_TRACE(testing::Message() << nTileSize << " px, joints " << nJoints);
            LoadMosaic(30, 20);
            m_doc->m_pitch = 1667;
            m_doc->m_tileSize = nTileSize;
            m_doc->m_showJoints = nJoints;
            m_doc->m_jointsOffByZoom = 0;
            m_script.fSize = 2.0f;
            Command(ID_RESIZE_MOSAIC);
            ASSERT_EQ(120, m_doc->m_cols);
            EXPECT_EQ(nJoints, m_doc->m_showJoints);
            EXPECT_EQ(8, m_doc->m_tileSize);
        }
}

// ---- Filter and triangles -----------------------------------------------------------------------

TEST_F(EditTest, FilterReplacesALoneTileByItsNeighboursColour)
{
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 6; col++)
            SetColour(col, row, col < 3 ? 5 : 6);
    SetColour(1, 1, 9);
    Settle();
    const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
    Command(ID_FILTER_CELLS);
    EXPECT_EQ(5, ColourAt(1, 1));
    EXPECT_EQ(6, ColourAt(4, 2));
    EXPECT_EQ(CString(L"Undo filter"), m_doc->m_undoItemText);
    EXPECT_EQ(1, m_doc->m_undoPending);
    Command(ID_UNDO_EDIT);
    EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
}

TEST_F(EditTest, TrianglesSplitACellWhoseNeighboursAgree)
{
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 6; col++)
            SetColour(col, row, 1);
    // Above and left show red (1), below and right blue (2).
    SetColour(2, 2, 2);
    SetColour(3, 1, 2);
    Settle();
    Command(ID_GENERATE_TRIANGLES);
    EXPECT_EQ(1, Field(m_doc->m_workingMap, 2, 1, 1));
    EXPECT_EQ(2, Field(m_doc->m_workingMap, 2, 1, 2));
    EXPECT_EQ(1, Field(m_doc->m_workingMap, 2, 1, 3));
    EXPECT_EQ(CString(L"Undo triangles"), m_doc->m_undoItemText);
    Command(ID_UNDO_EDIT);
    EXPECT_EQ(0, Field(m_doc->m_workingMap, 2, 1, 1));
}

// ---- Mirrors, copy and paste --------------------------------------------------------------------

// A mirror turns the selected block over in place, redraws the selection with a margin of a
// tile, and is undone as an edit of the second kind; twice gives the block back.
TEST_F(EditTest, MirrorsTurnTheSelectedBlockOver)
{
    m_doc->m_tileSize = 8;
    const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
    Select(RECT{1, 0, 3, 2});
    Command(ID_MIRROR_HORIZONTAL);
    EXPECT_EQ(3, ColourAt(1, 0));
    EXPECT_EQ(21, ColourAt(3, 2));
    EXPECT_EQ(0, ColourAt(0, 0));
    EXPECT_EQ(31, ColourAt(1, 3));
    EXPECT_EQ(CString(L"Undo mirror across"), m_doc->m_undoItemText);
    EXPECT_EQ(1, m_doc->m_undoPendingB);
    ASSERT_EQ(1u, m_script.redrawn.size());
    EXPECT_EQ(CRect(2, 12, 58, 68), m_script.redrawn[0]);

    Command(ID_MIRROR_VERTICAL);
    EXPECT_EQ(23, ColourAt(1, 0));
    EXPECT_EQ(1, ColourAt(3, 2));
    EXPECT_EQ(CString(L"Undo mirror down"), m_doc->m_undoItemText);
    // The horizontal mirror was settled by the vertical one.
    Command(ID_UNDO_EDIT);
    EXPECT_EQ(3, ColourAt(1, 0));
    Command(ID_MIRROR_HORIZONTAL);
    EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
}

// Without the select tool or a selection a mirror changes nothing and names no undo.
TEST_F(EditTest, MirrorNeedsTheSelectToolAndASelection)
{
    const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
    Select(RECT{1, 0, 3, 2});
    m_doc->m_selectTool = 0;
    Command(ID_MIRROR_HORIZONTAL);
    m_doc->m_selectTool = 1;
    m_script.selection.SetRectEmpty();
    Command(ID_MIRROR_VERTICAL);
    EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(0, m_doc->m_undoPendingB);
}

// Copy marks the block selected now as the source; paste puts the source's cells, as they
// are then, on the block selected at that time.
TEST_F(EditTest, PasteCopiesTheCopiedBlockOntoTheCurrentOne)
{
    Select(RECT{0, 0, 1, 1}, RECT{0, 0, 1, 1});
    Command(ID_EDIT_COPY);
    EXPECT_EQ(1, m_doc->m_copyValid);
    EXPECT_EQ(1, m_script.nHiddenHandles);
    EXPECT_EQ(1u, m_script.redrawn.size());
    // The view moves the selection; the copied block stays.
    Select(RECT{3, 2, 4, 3}, RECT{0, 0, 1, 1});
    m_doc->m_copyValid = 1;
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(0, ColourAt(3, 2));
    EXPECT_EQ(1, ColourAt(4, 2));
    EXPECT_EQ(10, ColourAt(3, 3));
    EXPECT_EQ(11, ColourAt(4, 3));
    EXPECT_EQ(35, ColourAt(5, 3));
    EXPECT_EQ(CString(L"Undo paste"), m_doc->m_undoItemText);
    EXPECT_EQ(1, m_doc->m_undoPendingB);

    // Overlapping blocks: the source is read before anything is written.
    Select(RECT{1, 1, 2, 2}, RECT{0, 0, 1, 1});
    m_doc->m_copyValid = 1;
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(0, ColourAt(1, 1));
    EXPECT_EQ(1, ColourAt(2, 1));
    EXPECT_EQ(10, ColourAt(1, 2));
    EXPECT_EQ(11, ColourAt(2, 2));
}

// With no selection now the block is copied onto itself: nothing shows, but it is an undo
// step. A mirror in between does not stop the next paste.
TEST_F(EditTest, PasteWithoutASelectionIsAnUndoStepThatChangesNothing)
{
    Select(RECT{0, 0, 2, 1}, RECT{0, 0, 2, 1});
    Command(ID_MIRROR_HORIZONTAL);
    Command(ID_EDIT_COPY);
    const std::vector<BYTE> mirrored = Bytes(m_doc->m_workingMap);
    m_script.selection.SetRectEmpty();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(mirrored, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(1, m_doc->m_undoPendingB);
    EXPECT_EQ(CString(L"Undo paste"), m_doc->m_undoItemText);
}

// Copy needs the select tool and a selection, and a second copy keeps the first block;
// paste needs a copied block.
TEST_F(EditTest, CopyAndPasteNeedTheSelectToolAndABlock)
{
    const std::vector<BYTE> before = Bytes(m_doc->m_workingMap);
    Select(RECT{0, 0, 1, 1}, RECT{0, 0, 1, 1});
    m_script.selection.SetRectEmpty();
    Command(ID_EDIT_COPY);
    EXPECT_EQ(0, m_doc->m_copyValid);
    m_doc->m_selectTool = 0;
    m_script.selection.SetRect(1, 1, 9, 9);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(0, m_doc->m_copyValid);
    m_doc->m_selectTool = 1;
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(0, m_doc->m_undoPendingB);
    Command(ID_EDIT_COPY);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(1, m_script.nHiddenHandles);
    EXPECT_EQ(before, Bytes(m_doc->m_workingMap));
}

// The block moved since it was drawn is the one a copy takes.
TEST_F(EditTest, CopyTakesTheBlockSelectedNow)
{
    Select(RECT{3, 2, 4, 3}, RECT{0, 0, 1, 1});
    Command(ID_EDIT_COPY);
    const int copied[8] = {3, 2, 4, 3, 3, 2, 4, 3};
    EXPECT_EQ(0, memcmp(copied, m_doc->m_copyRect, sizeof(copied)));
    Select(RECT{0, 0, 1, 1}, RECT{3, 2, 4, 3});
    m_doc->m_copyValid = 1;
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(23, ColourAt(0, 0));
    EXPECT_EQ(34, ColourAt(1, 1));
}

// Mirrored or pasted, cells take the kind and shape code of their new place in the pattern:
// a border half or quarter moved inside becomes a whole tile again, and a whole tile moved
// onto the border becomes the border's partial tile, in every pattern, for odd and even row
// counts, at the first and last columns and the corners.
TEST_F(EditTest, MirrorAndPasteLeaveTheBorderAsThePatternLaysIt)
{
    enum { kPaste, kAcross, kDown };
    const struct
    {
        int op;
        RECT source;    // first col, first row, last col, last row; the place for a mirror
        RECT target;
    } cases[] = {
        {kPaste, RECT{0, 0, 2, 2}, RECT{2, 1, 4, 3}},
        {kPaste, RECT{2, 1, 4, 3}, RECT{4, 0, 6, 2}},
        {kPaste, RECT{4, 2, 6, 4}, RECT{0, 2, 2, 4}},
        {kAcross, RECT{0, 1, 2, 3}, RECT{0, 1, 2, 3}},
        {kAcross, RECT{4, 0, 6, 2}, RECT{4, 0, 6, 2}},
        {kDown, RECT{0, 2, 1, 4}, RECT{0, 2, 1, 4}},
        {kDown, RECT{5, 0, 6, 2}, RECT{5, 0, 6, 2}},
    };
    for (int type = 0; type < PavingTypeCount; type++)
        for (int nRows : {5, 6})
            for (const auto& c : cases)
            {
                SCOPED_TRACE(testing::Message() << "type " << type << ", " << nRows
                                                << " rows, case " << (&c - cases));
                LoadMosaic(7, nRows);
                m_doc->m_pavingType = type;
                CRasterImage::SetBorderCodes(&m_doc->m_workingMap, type, 7, nRows, -1, -1);
                Settle();
                m_doc->m_copyValid = 0;
                Select(c.target, c.source);
                if (c.op == kPaste)
                {
                    m_doc->m_copyValid = 1;
                    Command(ID_EDIT_PASTE);
                    EXPECT_EQ((int)(c.source.left + 10 * c.source.top),
                              ColourAt(c.target.left, c.target.top));
                }
                else
                {
                    Command(c.op == kAcross ? ID_MIRROR_HORIZONTAL : ID_MIRROR_VERTICAL);
                }
                for (int row = 0; row < nRows; row++)
                    for (int col = 0; col < 7; col++)
                    {
                        int kind = 0, shape = 0;
                        PavingBorderCell(type, 7, nRows, col, row, kind, shape);
                        EXPECT_EQ(kind, Field(m_doc->m_workingMap, col, row, 1))
                            << col << "," << row;
                        EXPECT_EQ(shape, Field(m_doc->m_workingMap, col, row, 0))
                            << col << "," << row;
                    }
            }
}

// ---- Text stamp ---------------------------------------------------------------------------------

// The picture is the label with a margin of 5 pixels, and its 1-pixels are exactly the black
// pixels of the label as the font draws it, tails below the base line included.
TEST_F(EditTest, TextImageHoldsTheLettersAsTheFontDrawsThem)
{
    for (const char* text : {"Hi", "gy"})
    {
        SCOPED_TRACE(text);
        m_doc->m_textStampTool = 0;
        m_script.strText = CString(text);
        Command(ID_INSERT_TEXT);
        EXPECT_EQ(1, m_doc->m_textStampTool);

        int nBaseline = 0;
        const cv::Size size = cv::getTextSize(text, 0, 1.0, 1, &nBaseline);
        const CRasterImage& image = m_doc->m_textImage;
        EXPECT_EQ(size.width + 10, image.width);
        EXPECT_EQ(size.height + nBaseline + 10, image.height);
        // Drawn on a larger page, so that nothing of the letters can be cut.
        cv::Mat page(image.height + 40, image.width + 40, CV_8UC3, cv::Scalar(255, 255, 255));
        cv::putText(page, text, cv::Point(5, size.height + 5), 0, 1.0, cv::Scalar(0, 0, 0), 1,
                    8, false);
        int nInk = 0;
        for (int y = 0; y < page.rows; y++)
            for (int x = 0; x < page.cols; x++)
            {
                const int nBlack = page.at<cv::Vec3b>(y, x)[0] == 0 ? 1 : 0;
                nInk += nBlack;
                ASSERT_EQ(nBlack, image.GetByte(x, y)) << x << ", " << y;
            }
        EXPECT_GT(nInk, 20);
    }
}

// Characters the font cannot draw are named and nothing is stamped; an empty text or a
// cancelled dialog stamps nothing either.
TEST_F(EditTest, TextTheFontCannotDrawIsReported)
{
    struct Case
    {
        const wchar_t* text;
        INT_PTR nResult;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"Caf\x00e9 \x4e2d\x00e9", IDOK, L"Cannot draw: \x00e9\x4e2d"},
        {L"tab\there", IDOK, L"Cannot draw: \t"},
        {L"", IDOK, L""},
        {L"Hi", IDCANCEL, L""},
    };
    for (const Case& c : cases)
    {
        m_script.messages.clear();
        m_script.strText = c.text;
        m_script.nResult = c.nResult;
        m_doc->m_rebuildTileImages = 0;
        Command(ID_INSERT_TEXT);
        EXPECT_EQ(0, m_doc->m_textStampTool);
        EXPECT_EQ(1, m_doc->m_rebuildTileImages);
        ExpectMessage(c.message);
    }
}

}   // namespace
