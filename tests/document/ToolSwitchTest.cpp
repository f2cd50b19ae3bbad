// The tool and display switches and the state of the items and buttons of the tools, the
// display and the editing commands.
#include "MosaicTest.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "AfxMsgMap.h"
#include "AfxRes.h"
#include "DocTestFiles.h"
#include "Paving.h"
#include "RecordingCmdUI.h"
#include "VitrolanDoc.h"

namespace
{

struct HookLog
{
    CRect selection;
    int nViewRefreshes = 0;
};
HookLog* g_pLog = NULL;

void GetShapeRect(CShpRectangle*, RECT* pRect) { *pRect = g_pLog->selection; }
void RefreshView() { g_pLog->nViewRefreshes++; }

// The tool items, their flags and the cut kind of the part tools (-1 for the others).
struct Tool
{
    UINT nID;
    int CVitrolanDoc::*pFlag;
    int nCutKind;
};
const Tool kTools[] = {
    {ID_SELECT_TOOL, &CVitrolanDoc::m_selectTool, -1},
    {ID_MEASURE_ACROSS_TOOL, &CVitrolanDoc::m_measureHTool, -1},
    {ID_MEASURE_DOWN_TOOL, &CVitrolanDoc::m_measureVTool, -1},
    {ID_WHOLE_TILE_TOOL, &CVitrolanDoc::m_wholeTool, CutWhole},
    {ID_DIAGONAL_HALF_TOOL, &CVitrolanDoc::m_diagHalfTool, CutDiagonalHalves},
    {ID_HALF_TILE_TOOL, &CVitrolanDoc::m_halfTool, CutHalves},
    {ID_QUARTER_TILE_TOOL, &CVitrolanDoc::m_quarterTool, CutQuarters},
    {ID_DIAGONAL_QUARTER_TOOL, &CVitrolanDoc::m_diagQuarterTool, CutDiagonalQuarters},
    {ID_SHADE_TOOL, &CVitrolanDoc::m_partToolActive, -1},
    {ID_MIX_FILL_TOOL, &CVitrolanDoc::m_mixFillTool, -1},
    {ID_TOGGLE_CELLS_TOOL, &CVitrolanDoc::m_toggleTool, -1},
    {ID_FILL_TOOL, &CVitrolanDoc::m_fillTool, -1},
    {ID_REPLACE_COLOUR_TOOL, &CVitrolanDoc::m_replaceTool, -1},
    {ID_BRUSH_TOOL, &CVitrolanDoc::m_brushTool, -1},
};

class ToolSwitchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pLog = &m_log;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnGetShapeRect = GetShapeRect;
        CVitrolanDoc::s_uiHooks.pfnRefreshView = RefreshView;
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_selection = reinterpret_cast<CShpRectangle*>(&m_shape);
        CVitrolanDoc& d = *m_doc;
        d.m_cols = 8;
        d.m_rows = 6;
        d.m_workingMap.Create(0, 32, 24);
        d.m_committedMap.Create(0, 32, 24);
        d.carplaquex = 4;
        d.carplaquey = 3;
        d.m_loaded = 1;
        d.m_dirty = 0;
    }
    void TearDown() override
    {
        m_doc->m_selection = NULL;
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pLog = NULL;
    }

    void Command(UINT nID) { EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_COMMAND, NULL, NULL)); }
    RecordingCmdUI Update(UINT nID)
    {
        RecordingCmdUI ui;
        ui.m_nID = nID;
        EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, NULL)) << nID;
        return ui;
    }
    int Checked(UINT nID) { return Update(nID).nChecked; }
    // The tools whose items are checked.
    std::vector<UINT> CheckedTools()
    {
        std::vector<UINT> ids;
        for (const Tool& tool : kTools)
            if (Checked(tool.nID) == 1)
                ids.push_back(tool.nID);
        return ids;
    }

    HookLog m_log;
    int m_shape = 0;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// Each switch puts its own tool on, alone, and a second press puts it off; the part tools
// keep the shade on and their cut kind either way. The no-tool item is checked while no
// tool is.
TEST_F(ToolSwitchTest, EachToolSwitchesOnAloneAndOffOnTheSecondPress)
{
    for (const Tool& tool : kTools)
    {
        SCOPED_TRACE(tool.nID);
        Command(ID_BRUSH_TOOL == tool.nID ? ID_FILL_TOOL : ID_BRUSH_TOOL);
        m_doc->m_cutKind = 2;
        Command(tool.nID);
        std::vector<UINT> expected = {tool.nID};
        if (tool.nCutKind >= 0)
            expected = {tool.nID, ID_SHADE_TOOL};
        std::vector<UINT> checked = CheckedTools();
        std::sort(expected.begin(), expected.end());
        std::sort(checked.begin(), checked.end());
        EXPECT_EQ(expected, checked);
        EXPECT_EQ(0, Checked(ID_NO_TOOL));
        EXPECT_EQ(tool.nCutKind >= 0 ? tool.nCutKind : 2, m_doc->m_cutKind);

        Command(tool.nID);
        EXPECT_EQ(0, (*m_doc).*tool.pFlag);
        EXPECT_EQ(tool.nCutKind >= 0 ? 1 : 0, m_doc->m_partToolActive);
        EXPECT_EQ(tool.nCutKind >= 0 ? 0 : 1, Checked(ID_NO_TOOL));
        EXPECT_EQ(1, Update(tool.nID).nEnabled);
    }
}

// Fill twice leaves no tool, and the no-tool item checked; half tiles twice leave the shade
// on, so the no-tool item stays unchecked until it is pressed itself.
TEST_F(ToolSwitchTest, SecondPressOfAPartToolLeavesTheShadeOn)
{
    Command(ID_FILL_TOOL);
    Command(ID_FILL_TOOL);
    EXPECT_TRUE(CheckedTools().empty());
    EXPECT_EQ(1, Checked(ID_NO_TOOL));

    Command(ID_HALF_TILE_TOOL);
    Command(ID_HALF_TILE_TOOL);
    EXPECT_EQ(std::vector<UINT>{ID_SHADE_TOOL}, CheckedTools());
    EXPECT_EQ(0, Checked(ID_NO_TOOL));
    EXPECT_EQ(CutHalves, m_doc->m_cutKind);
    Command(ID_NO_TOOL);
    EXPECT_EQ(1, Checked(ID_NO_TOOL));
    EXPECT_EQ(CutHalves, m_doc->m_cutKind);
}

// A tool switch settles the pending edit, and switching tools drops a copied block.
TEST_F(ToolSwitchTest, ToolSwitchesSettleThePendingEdit)
{
    for (UINT nID : {ID_SELECT_TOOL, ID_BRUSH_TOOL, ID_NO_TOOL})
    {
        m_doc->m_workingMap.SetCell(1, 1, 0, 0, 7, 7, 7, 7, 0, 0, 0, 0);
        m_doc->m_undoPending = 1;
        m_doc->m_copyValid = 1;
        Command(nID);
        EXPECT_EQ(0, m_doc->m_undoPending) << nID;
        EXPECT_EQ(0, m_doc->m_copyValid) << nID;
        EXPECT_EQ(Bytes(m_doc->m_workingMap), Bytes(m_doc->m_committedMap)) << nID;
        m_doc->m_workingMap.SetCell(1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
}

// F5, F6 and F7 from each display: the mode that follows, the tile size raised to 20 for
// symbols, and labels brought back where symbols would show none.
TEST_F(ToolSwitchTest, DisplaySwitchesCycleColoursAndSymbols)
{
    struct Case
    {
        UINT nID;
        int nMode, nTileSize, nLabels;
        int nNewMode, nNewTileSize, nNewLabels;
    };
    const Case cases[] = {
        {ID_SHOW_COLOURS, 0, 8, 3, 2, 20, 2},
        {ID_SHOW_COLOURS, 1, 8, 3, 0, 8, 3},
        {ID_SHOW_COLOURS, 2, 30, 0, 0, 30, 0},
        {ID_SHOW_SYMBOLS, 0, 8, 3, 1, 20, 3},
        {ID_SHOW_SYMBOLS, 2, 24, 1, 1, 24, 1},
        {ID_SHOW_COLOURS_SYMBOLS, 2, 8, 2, 0, 8, 2},
        {ID_SHOW_COLOURS_SYMBOLS, 0, 8, 3, 2, 20, 2},
        {ID_SHOW_COLOURS_SYMBOLS, 1, 40, 0, 2, 40, 0},
    };
    const UINT modeItems[] = {ID_SHOW_COLOURS, ID_SHOW_SYMBOLS, ID_SHOW_COLOURS_SYMBOLS};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nID << " from " << c.nMode);
        CVitrolanDoc& d = *m_doc;
        d.affichage = c.nMode;
        d.m_tileSize = c.nTileSize;
        d.impression = c.nLabels;
        d.m_recentreScroll = 0;
        d.m_rebuildTileImages = 0;
        d.m_dirty = 0;
        Command(c.nID);
        EXPECT_EQ(c.nNewMode, d.affichage);
        EXPECT_EQ(c.nNewTileSize, d.m_tileSize);
        EXPECT_EQ(c.nNewLabels, d.impression);
        // The view keeps its place unless the tiles grew.
        EXPECT_EQ(c.nNewTileSize != c.nTileSize ? 1 : 0, d.m_recentreScroll);
        EXPECT_EQ(1, d.m_rebuildTileImages);
        EXPECT_EQ(1, d.m_dirty);
        for (int mode = 0; mode < 3; mode++)
            EXPECT_EQ(mode == c.nNewMode ? 1 : 0, Checked(modeItems[mode]));
    }
}

// Joints asked for on tiles too small for them stay off until a zoom gives them room.
TEST_F(ToolSwitchTest, JointsOnTilesTooSmallComeWithTheNextZoomIn)
{
    CVitrolanDoc& d = *m_doc;
    d.m_tileSize = 1;
    d.m_showJoints = 0;
    d.m_jointsOffByZoom = 0;
    Command(ID_SHOW_JOINTS);
    EXPECT_EQ(0, d.m_showJoints);
    EXPECT_EQ(1, d.m_jointsOffByZoom);
    EXPECT_EQ(0, Checked(ID_SHOW_JOINTS));
    Command(ID_ZOOM_IN);
    Command(ID_ZOOM_IN);
    EXPECT_EQ(1, d.m_showJoints);
    EXPECT_EQ(1, Checked(ID_SHOW_JOINTS));

    Command(ID_SHOW_JOINTS);
    EXPECT_EQ(0, d.m_showJoints);
    EXPECT_EQ(0, Checked(ID_SHOW_JOINTS));
    Command(ID_SHOW_JOINTS);
    EXPECT_EQ(1, d.m_showJoints);
    EXPECT_EQ(1, d.m_dirty);
}

// Plate outlines switched on after a grid change are cut from the grid as it is now; a
// pending resize stays undoable.
TEST_F(ToolSwitchTest, PlatesSwitchedOnAfterAGridChangeAreBuiltAgain)
{
    CVitrolanDoc& d = *m_doc;
    d.BuildPlaques();
    const int nPlatesBefore = d.m_plaqueCount;
    d.m_showPlaques = 0;
    // The grid doubled by a resize not yet settled.
    d.m_savedCols = 8;
    d.m_savedRows = 6;
    d.m_cols = 16;
    d.m_rows = 12;
    d.m_workingMap.Free();
    d.m_workingMap.Create(0, 64, 48);
    d.m_resizePending = 1;
    d.m_undoPending = 1;
    d.m_resizeFactor = 2.0;
    d.m_resizeShrunk = 2;
    d.m_plaquesValid = 0;

    Command(ID_SHOW_PLATES);
    EXPECT_EQ(1, d.m_showPlaques);
    EXPECT_EQ(1, Checked(ID_SHOW_PLATES));
    EXPECT_EQ(1, d.m_plaquesValid);
    EXPECT_EQ(4 * nPlatesBefore, d.m_plaqueCount);
    Command(ID_SHOW_JOINTS);

    Command(ID_UNDO_EDIT);
    EXPECT_EQ(8, d.m_cols);
    EXPECT_EQ(32, d.m_workingMap.width);
    EXPECT_EQ(Bytes(d.m_committedMap), Bytes(d.m_workingMap));
    Command(ID_SHOW_PLATES);
    EXPECT_EQ(0, d.m_showPlaques);
}

TEST_F(ToolSwitchTest, RulersAndTexturedTilesToggle)
{
    CVitrolanDoc& d = *m_doc;
    d.rulers = 0;
    d.m_texturedTiles = 1;
    Command(ID_SHOW_RULERS);
    EXPECT_EQ(1, Checked(ID_SHOW_RULERS));
    Command(ID_SHOW_TEXTURED_TILES);
    EXPECT_EQ(0, Checked(ID_SHOW_TEXTURED_TILES));
    EXPECT_EQ(1, m_log.nViewRefreshes);
    Command(ID_SHOW_RULERS);
    Command(ID_SHOW_TEXTURED_TILES);
    EXPECT_EQ(0, d.rulers);
    EXPECT_EQ(1, d.m_texturedTiles);
}

// Without a mosaic every tool, display and editing item is greyed; with one, each editing
// item is enabled under its own condition.
TEST_F(ToolSwitchTest, ItemsAreEnabledUnderTheirConditions)
{
    CVitrolanDoc& d = *m_doc;
    struct Case
    {
        const char* name;
        int nSelect, nCopied, nPaving;
        CRect selection;
        int copy, paste, triangles, mirror;
    };
    const Case cases[] = {
        {"nothing", 0, 0, PavingSquares, CRect(), 0, 0, 1, 0},
        {"select tool", 1, 0, PavingSquares, CRect(), 1, 0, 1, 0},
        {"copied", 1, 1, PavingSquares, CRect(), 1, 1, 1, 0},
        {"copied, tool off", 0, 1, PavingSquares, CRect(), 0, 0, 1, 0},
        {"selection", 0, 0, PavingHexagons, CRect(4, 4, 20, 12), 0, 0, 0, 1},
        {"flat selection", 1, 0, PavingSquares, CRect(4, 4, 20, 4), 1, 0, 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        d.m_selectTool = c.nSelect;
        d.m_copyValid = c.nCopied;
        d.m_pavingType = c.nPaving;
        m_log.selection = c.selection;
        EXPECT_EQ(c.copy, Update(ID_EDIT_COPY).nEnabled);
        EXPECT_EQ(c.paste, Update(ID_EDIT_PASTE).nEnabled);
        EXPECT_EQ(c.triangles, Update(ID_GENERATE_TRIANGLES).nEnabled);
        EXPECT_EQ(c.mirror, Update(ID_MIRROR_HORIZONTAL).nEnabled);
        EXPECT_EQ(c.mirror, Update(ID_MIRROR_VERTICAL).nEnabled);
    }

    d.m_loaded = 0;
    d.m_selectTool = 1;
    d.m_copyValid = 1;
    m_log.selection.SetRect(4, 4, 20, 12);
    std::vector<UINT> items = {ID_NO_TOOL, ID_SHOW_COLOURS, ID_SHOW_SYMBOLS,
                               ID_SHOW_COLOURS_SYMBOLS, ID_SHOW_JOINTS, ID_SHOW_PLATES,
                               ID_SHOW_RULERS, ID_SHOW_TEXTURED_TILES, ID_EDIT_COPY,
                               ID_EDIT_PASTE, ID_GENERATE_TRIANGLES, ID_MIRROR_HORIZONTAL,
                               ID_MIRROR_VERTICAL, ID_RESIZE_MOSAIC, ID_ADD_ROWS_COLUMNS,
                               ID_DELETE_ROWS_COLUMNS, ID_FILTER_CELLS, ID_INSERT_TEXT,
                               ID_OPEN_TILE_PALETTE_ITEM, ID_SAVE_TILE_PALETTE_ITEM};
    for (const Tool& tool : kTools)
        items.push_back(tool.nID);
    for (UINT nID : items)
        EXPECT_EQ(0, Update(nID).nEnabled) << nID;
    EXPECT_EQ(0, Checked(ID_NO_TOOL));
}

}   // namespace
