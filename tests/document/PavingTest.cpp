#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxMsgMap.h"
#include "Paving.h"
#include "Plaque.h"
#include "RecordingCmdUI.h"
#include "VitrolanDoc.h"

namespace
{

// What the hooks of the layers above the document saw.
struct Rezoom
{
    CShpRectangle* shape;
    int oldSize, newSize;
};
struct HookLog
{
    std::vector<CShpRectangle*> erasedShapes;
    int nScrollResets = 0;
    std::vector<Rezoom> rezooms;
};
HookLog* g_pLog = NULL;

void EraseShapeHook(CShpRectangle* pShape) { g_pLog->erasedShapes.push_back(pShape); }
void ResetScrollHook() { g_pLog->nScrollResets++; }
void RezoomShapeHook(CShpRectangle* pShape, int nOldSize, int nNewSize)
{
    g_pLog->rezooms.push_back({pShape, nOldSize, nNewSize});
}

struct Cell
{
    int s, k, a, b, c, d;
};

class PavingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pLog = &m_log;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnEraseShape = EraseShapeHook;
        CVitrolanDoc::s_uiHooks.pfnResetScroll = ResetScrollHook;
        CVitrolanDoc::s_uiHooks.pfnRezoomShape = RezoomShapeHook;
        m_doc.reset(new CVitrolanDoc);
        // The document writes these back to the settings when it goes.
        m_savedPlates[0] = m_doc->carplaquex;
        m_savedPlates[1] = m_doc->carplaquey;
        m_savedPlates[2] = m_doc->direction;
        m_savedPlates[3] = m_doc->decalage;
        m_doc->carplaquex = 2;
        m_doc->carplaquey = 2;
        m_doc->direction = 0;
        m_doc->decalage = 0;
        // The hooks only pass the shapes on; any distinct addresses stand for them.
        m_doc->m_selection = reinterpret_cast<CShpRectangle*>(&m_shapes[0]);
        m_doc->m_stampShape = reinterpret_cast<CShpRectangle*>(&m_shapes[1]);
        LoadMosaic(4, 4);
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pLog = NULL;
        m_doc->m_selection = NULL;
        m_doc->m_stampShape = NULL;
        m_doc->carplaquex = m_savedPlates[0];
        m_doc->carplaquey = m_savedPlates[1];
        m_doc->direction = m_savedPlates[2];
        m_doc->decalage = m_savedPlates[3];
    }

    // A settled mosaic of whole square tiles, every cell of its own colour in all four
    // parts, and the variants filled so that every byte of a cell is seen.
    void LoadMosaic(int nCols, int nRows)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = nCols;
        d.m_rows = nRows;
        d.m_pavingType = PavingSquares;
        d.m_workingMap.Create(0, 4 * nCols, 4 * nRows);
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
            {
                const int colour = 1 + row * nCols + col;
                d.m_workingMap.SetCell(col, row, 0, 0, colour, colour, colour, colour, 1, 2, 3,
                                       0);
            }
        d.m_committedMap.Create(0, 4 * nCols, 4 * nRows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * nCols, 4 * nRows);
        d.m_loaded = 1;
        d.m_dirty = 0;
    }

    static std::vector<BYTE> Bytes(const CRasterImage& image)
    {
        return std::vector<BYTE>(image.data, image.data + image.size);
    }
    Cell CellAt(int col, int row)
    {
        Cell c;
        int va, vb, vc, vd;
        m_doc->m_workingMap.GetCell(col, row, c.s, c.k, c.a, c.b, c.c, c.d, va, vb, vc, vd);
        return c;
    }
    std::vector<CPlaque*> PlateList()
    {
        std::vector<CPlaque*> list;
        POSITION pos = m_doc->m_plaques.GetHeadPosition();
        while (pos != NULL)
            list.push_back((CPlaque*)m_doc->m_plaques.GetNext(pos));
        return list;
    }
    RecordingCmdUI UpdateState(UINT nID)
    {
        RecordingCmdUI ui;
        ui.m_nID = nID;
        EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, NULL));
        return ui;
    }

    HookLog m_log;
    int m_shapes[2] = {0, 0};
    int m_savedPlates[4];
    std::unique_ptr<CVitrolanDoc> m_doc;
};

TEST_F(PavingTest, HexagonsAndBackRestoreTheSquareMap)
{
    CVitrolanDoc& d = *m_doc;
    const std::vector<BYTE> squares = Bytes(d.m_workingMap);

    d.SetPavingPattern(PavingHexagons);
    EXPECT_EQ(PavingHexagons, d.m_pavingType);
    // The border of an even number of rows: scales at the top corners, halves along the top
    // and bottom, no tile where an odd row ends.
    const Cell topLeft = CellAt(0, 0);
    EXPECT_EQ(CellQuarters, topLeft.k);
    EXPECT_EQ(7, topLeft.s);
    EXPECT_EQ(5, CellAt(3, 0).s);
    EXPECT_EQ(CellHalvesRows, CellAt(1, 3).k);
    EXPECT_EQ(4, CellAt(1, 3).s);
    EXPECT_EQ(ShapeHole, CellAt(3, 1).s);
    EXPECT_EQ(CellWhole, CellAt(1, 1).k);
    EXPECT_EQ(ShapeWhole, CellAt(1, 1).s);
    EXPECT_EQ(Bytes(d.m_workingMap), Bytes(d.m_committedMap));

    d.SetPavingPattern(PavingSquares);
    EXPECT_EQ(squares, Bytes(d.m_workingMap));
    EXPECT_EQ(squares, Bytes(d.m_committedMap));
}

// The user's holes, where hexagons lay a tile and where they leave a hole of their own, and a
// tile cut in two colours on the top row all come back from hexagons as the user left them.
TEST_F(PavingTest, UsersHolesAndCutTilesOnTheBorderSurviveAChangeAndBack)
{
    CVitrolanDoc& d = *m_doc;
    d.m_workingMap.SetCell(3, 1, ShapeHole, CellWhole, 8, 8, 8, 8, 0, 0, 0, 0);
    d.m_workingMap.SetCell(0, 2, ShapeHole, CellWhole, 9, 9, 9, 9, 0, 0, 0, 0);
    d.m_workingMap.SetCell(2, 0, 2, CellHalvesBytes, 5, 6, 5, 6, 0, 0, 0, 0);
    d.m_workingMap.CopyBlock(&d.m_committedMap, 16, 16);
    const std::vector<BYTE> user = Bytes(d.m_workingMap);

    d.SetPavingPattern(PavingHexagons);
    EXPECT_EQ(ShapeHole, CellAt(0, 2).s);
    EXPECT_EQ(CellHalvesBytes, CellAt(2, 0).k);
    EXPECT_EQ(6, CellAt(2, 0).b);
    d.SetPavingPattern(PavingSquares);
    EXPECT_EQ(user, Bytes(d.m_workingMap));
    EXPECT_EQ(user, Bytes(d.m_committedMap));
}

TEST_F(PavingTest, ChangeSettlesThePendingEditAndRebuildsWhatDependsOnIt)
{
    CVitrolanDoc& d = *m_doc;
    // A brush stroke not yet settled goes into the committed map with the new border.
    d.m_workingMap.SetCell(1, 1, 0, 0, 99, 99, 99, 99, 0, 0, 0, 0);
    d.m_undoPending = 1;
    d.m_plaquesValid = 0;
    d.m_rebuildTileImages = 0;

    d.SetPavingPattern(PavingTriangles);
    EXPECT_EQ(Bytes(d.m_workingMap), Bytes(d.m_committedMap));
    EXPECT_EQ(99, CellAt(1, 1).a);
    EXPECT_EQ(1, d.m_dirty);
    EXPECT_EQ(1, d.m_rebuildTileImages);
    EXPECT_EQ(1, d.m_plaquesValid);

    const std::vector<CPlaque*> plates = PlateList();
    ASSERT_FALSE(plates.empty());
    EXPECT_EQ((int)plates.size(), d.m_plaqueCount);
    for (const CPlaque* p : plates)
        EXPECT_EQ(PavingTriangles, p->m_pavingType);

    // Only the selection is erased; the stamp keeps its place.
    ASSERT_EQ(1u, m_log.erasedShapes.size());
    EXPECT_EQ(d.m_selection, m_log.erasedShapes[0]);
    EXPECT_EQ(1, m_log.nScrollResets);
}

TEST_F(PavingTest, TypeOutsideTheTableChangesNothing)
{
    CVitrolanDoc& d = *m_doc;
    const std::vector<BYTE> before = Bytes(d.m_workingMap);
    for (int nType : {-1, (int)PavingTypeCount, 1000})
    {
        SCOPED_TRACE(nType);
        d.SetPavingPattern(nType);
        EXPECT_EQ(PavingSquares, d.m_pavingType);
        EXPECT_EQ(before, Bytes(d.m_workingMap));
        EXPECT_EQ(0, d.m_dirty);
    }
    EXPECT_TRUE(m_log.erasedShapes.empty());
    EXPECT_EQ(0, m_log.nScrollResets);
    // Neither is the command one past the last paving item handled.
    EXPECT_FALSE(d.OnCmdMsg(ID_PAVING_LAST + 1, CN_COMMAND, NULL, NULL));
    EXPECT_EQ(PavingSquares, d.m_pavingType);
}

TEST_F(PavingTest, CommandsSelectEachTypeAndTheUpdateChecksOnlyIt)
{
    CVitrolanDoc& d = *m_doc;
    for (UINT nID = ID_PAVING_FIRST; nID <= ID_PAVING_LAST; nID++)
    {
        SCOPED_TRACE(nID);
        EXPECT_TRUE(d.OnCmdMsg(nID, CN_COMMAND, NULL, NULL));
        const int nType = (int)(nID - ID_PAVING_FIRST);
        EXPECT_EQ(nType, d.m_pavingType);
        EXPECT_EQ(Bytes(d.m_workingMap), Bytes(d.m_committedMap));

        for (UINT nItem = ID_PAVING_FIRST; nItem <= ID_PAVING_LAST; nItem++)
        {
            SCOPED_TRACE(nItem);
            const RecordingCmdUI ui = UpdateState(nItem);
            EXPECT_EQ(1, ui.nEnabled);
            EXPECT_EQ(nItem == nID ? 1 : 0, ui.nChecked);
        }
    }

    d.m_loaded = 0;
    const RecordingCmdUI ui = UpdateState(ID_PAVING_LAST);
    EXPECT_EQ(0, ui.nEnabled);
    EXPECT_EQ(1, ui.nChecked);
}

struct ZoomCase
{
    const char* name;
    bool zoomIn;
    int size, joints, offByZoom;                      // before
    int expectedSize, expectedJoints, expectedOffByZoom;
};

TEST_F(PavingTest, ZoomSteps)
{
    const ZoomCase cases[] = {
        {"out from 6", false, 6, 1, 0, 4, 1, 0},
        {"out to 2 hides the joints", false, 4, 1, 0, 2, 0, 1},
        {"out to 2 without joints", false, 4, 0, 0, 2, 0, 0},
        {"out at 2 stays", false, 2, 0, 1, 2, 0, 1},
        {"out at 2 with joints shown", false, 2, 1, 0, 2, 0, 1},
        {"out from 3", false, 3, 0, 0, 1, 0, 0},
        {"out from 3 to 1 hides the joints", false, 3, 1, 0, 1, 0, 1},
        {"in from 1", true, 1, 0, 0, 2, 0, 0},
        {"in from 1 to 2 keeps hidden joints hidden", true, 1, 0, 1, 2, 0, 1},
        {"in from 2", true, 2, 1, 0, 4, 1, 0},
        {"in from 3", true, 3, 1, 0, 4, 1, 0},
        {"in brings back joints the zoom hid", true, 2, 0, 1, 4, 1, 0},
        {"in below the largest size", true, 4094, 1, 0, 4096, 1, 0},
        {"in from an odd size below the largest", true, 4095, 1, 0, 4096, 1, 0},
        {"in at the largest size stays", true, MaxTileDisplaySize, 1, 0, 4096, 1, 0},
    };
    CVitrolanDoc& d = *m_doc;
    for (const ZoomCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        d.m_tileSize = c.size;
        d.m_showJoints = c.joints;
        d.m_jointsOffByZoom = c.offByZoom;
        d.m_recentreScroll = 0;
        d.m_rebuildTileImages = 0;
        d.m_dirty = 0;
        m_log.rezooms.clear();

        EXPECT_TRUE(d.OnCmdMsg(c.zoomIn ? ID_ZOOM_IN : ID_ZOOM_OUT, CN_COMMAND, NULL, NULL));
        EXPECT_EQ(c.expectedSize, d.m_tileSize);
        EXPECT_EQ(c.expectedJoints, d.m_showJoints);
        EXPECT_EQ(c.expectedOffByZoom, d.m_jointsOffByZoom);
        // Only zooming out asks the view to centre again.
        EXPECT_EQ(c.zoomIn ? 0 : 1, d.m_recentreScroll);
        EXPECT_EQ(1, d.m_rebuildTileImages);
        EXPECT_EQ(1, d.m_dirty);

        ASSERT_EQ(2u, m_log.rezooms.size());
        EXPECT_EQ(d.m_selection, m_log.rezooms[0].shape);
        EXPECT_EQ(d.m_stampShape, m_log.rezooms[1].shape);
        for (const Rezoom& r : m_log.rezooms)
        {
            EXPECT_EQ(c.size, r.oldSize);
            EXPECT_EQ(c.expectedSize, r.newSize);
        }
    }
}

TEST_F(PavingTest, ZoomOutAndInAgainRestoresTheJoints)
{
    CVitrolanDoc& d = *m_doc;
    d.m_tileSize = 4;
    d.m_showJoints = 1;
    d.m_jointsOffByZoom = 0;
    d.OnZoomOut();
    EXPECT_EQ(2, d.m_tileSize);
    EXPECT_EQ(0, d.m_showJoints);
    d.OnZoomOut();
    EXPECT_EQ(2, d.m_tileSize);
    d.OnZoomIn();
    EXPECT_EQ(4, d.m_tileSize);
    EXPECT_EQ(1, d.m_showJoints);
    EXPECT_EQ(0, d.m_jointsOffByZoom);
}

TEST_F(PavingTest, ZoomRescalesOnlyTheShapesThatExist)
{
    CVitrolanDoc& d = *m_doc;
    d.m_tileSize = 8;
    d.m_stampShape = NULL;
    d.OnZoomIn();
    ASSERT_EQ(1u, m_log.rezooms.size());
    EXPECT_EQ(d.m_selection, m_log.rezooms[0].shape);

    d.m_selection = NULL;
    d.OnZoomOut();
    EXPECT_EQ(1u, m_log.rezooms.size());
    EXPECT_EQ(8, d.m_tileSize);
}

struct FitCase
{
    const char* name;
    int screenWidth, screenHeight, cols, rows;
    int expectedSize, expectedJoints;
};

// A fit with no room for the joints hides them, as zooming out does: the zoom that gives them
// room brings them back.
TEST_F(PavingTest, FitZoomToWindow)
{
    const FitCase cases[] = {
        {"height limits", 800, 600, 10, 10, 58, 1},
        {"width limits", 300, 1000, 10, 10, 28, 1},
        {"tall grid", 800, 600, 10, 20, 28, 1},
        {"odd size raised", 810, 1000, 10, 10, 80, 1},
        {"3 raised to 4", 50, 50, 10, 10, 4, 1},
        {"exactly 2", 40, 40, 10, 10, 2, 0},
        {"1 raised to 2", 30, 30, 10, 10, 2, 0},
        {"screen smaller than the grid", 5, 5, 10, 10, 2, 0},
        {"no screen", 0, 0, 10, 10, 2, 0},
        {"one tile on a huge screen", 20000, 20000, 1, 1, MaxTileDisplaySize, 1},
        // An empty grid has nothing to fit: the size stays.
        {"no columns or rows", 800, 600, 0, 0, 12, 1},
        {"no columns", 800, 600, 0, 5, 12, 1},
        {"no rows", 800, 600, 5, 0, 12, 1},
    };
    CVitrolanDoc& d = *m_doc;
    for (const FitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        d.m_screenWidth = c.screenWidth;
        d.m_screenHeight = c.screenHeight;
        d.m_cols = c.cols;
        d.m_rows = c.rows;
        d.m_tileSize = 12;
        d.m_showJoints = 1;
        d.m_jointsOffByZoom = 0;
        d.FitZoomToWindow();
        EXPECT_EQ(c.expectedSize, d.m_tileSize);
        EXPECT_EQ(c.expectedJoints, d.m_showJoints);
        EXPECT_EQ(1 - c.expectedJoints, d.m_jointsOffByZoom);
        d.OnZoomIn();
        EXPECT_EQ(1, d.m_showJoints);
    }
}

// Joints the small zoom of a photograph hid come back with a fit that has room for them, as
// after New; joints the user switched off stay off.
TEST_F(PavingTest, AFitWithRoomShowsTheJointsAsTheUserHadThem)
{
    CVitrolanDoc& d = *m_doc;
    for (int nUserJoints : {1, 0})
    {
        SCOPED_TRACE(nUserJoints);
        d.m_tileSize = 2;
        d.m_showJoints = nUserJoints;
        d.m_jointsOffByZoom = 0;
        d.FitJointsToTileSize();
        ASSERT_EQ(0, d.m_showJoints);
        d.m_screenWidth = 800;
        d.m_screenHeight = 600;
        d.m_cols = d.m_rows = 20;
        d.FitZoomToWindow();
        EXPECT_EQ(28, d.m_tileSize);
        EXPECT_EQ(nUserJoints, d.m_showJoints);
        EXPECT_EQ(0, d.m_jointsOffByZoom);
    }
}

} // namespace
