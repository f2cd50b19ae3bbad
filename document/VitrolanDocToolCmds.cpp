// The switches of the editing tools and of the display, and the state of their menu items and
// toolbar buttons.
#include "VitrolanDoc.h"

#include "AfxMsgMap.h"

namespace
{

// Symbols need tiles of this many pixels to be read.
const int kSymbolTileSize = 20;
// Display modes (affichage) and the label mode without labels (impression).
const int kColours = 0;
const int kSymbols = 1;
const int kColoursAndSymbols = 2;
const int kSymbolLabels = 2;
const int kNoLabels = 3;

// Each tool item with its flag; the no-tool item is checked while none of them is set.
struct ToolItem
{
    UINT nID;
    int CVitrolanDoc::*pFlag;
};
const ToolItem kToolItems[] = {
    {ID_SELECT_TOOL, &CVitrolanDoc::m_selectTool},
    {ID_MEASURE_ACROSS_TOOL, &CVitrolanDoc::m_measureHTool},
    {ID_MEASURE_DOWN_TOOL, &CVitrolanDoc::m_measureVTool},
    {ID_WHOLE_TILE_TOOL, &CVitrolanDoc::m_wholeTool},
    {ID_DIAGONAL_HALF_TOOL, &CVitrolanDoc::m_diagHalfTool},
    {ID_HALF_TILE_TOOL, &CVitrolanDoc::m_halfTool},
    {ID_QUARTER_TILE_TOOL, &CVitrolanDoc::m_quarterTool},
    {ID_DIAGONAL_QUARTER_TOOL, &CVitrolanDoc::m_diagQuarterTool},
    {ID_SHADE_TOOL, &CVitrolanDoc::m_partToolActive},
    {ID_MIX_FILL_TOOL, &CVitrolanDoc::m_mixFillTool},
    {ID_TOGGLE_CELLS_TOOL, &CVitrolanDoc::m_toggleTool},
    {ID_FILL_TOOL, &CVitrolanDoc::m_fillTool},
    {ID_REPLACE_COLOUR_TOOL, &CVitrolanDoc::m_replaceTool},
    {ID_BRUSH_TOOL, &CVitrolanDoc::m_brushTool},
};

}   // namespace

// ---- Tools ----------------------------------------------------------------------------------------

void CVitrolanDoc::SwitchTool(int& nFlag, BOOL bSettleFirst)
{
    if (bSettleFirst)
        CommitPendingEdit();
    const int nWasOn = nFlag;
    ResetTools();
    // A second press leaves no tool on.
    nFlag = nWasOn ? 0 : 1;
    if (!bSettleFirst)
        CommitPendingEdit();
}

void CVitrolanDoc::SwitchPartTool(int& nFlag, int nCutKind)
{
    SwitchTool(nFlag, FALSE);
    m_partToolActive = 1;
    m_cutKind = nCutKind;
}

void CVitrolanDoc::OnToolSelect() { SwitchTool(m_selectTool, TRUE); }
void CVitrolanDoc::OnToolMeasureHorizontal() { SwitchTool(m_measureHTool, TRUE); }
void CVitrolanDoc::OnToolMeasureVertical() { SwitchTool(m_measureVTool, TRUE); }
void CVitrolanDoc::OnToolWholeTile() { SwitchPartTool(m_wholeTool, CutWhole); }
void CVitrolanDoc::OnToolDiagonalHalfTile() { SwitchPartTool(m_diagHalfTool, CutDiagonalHalves); }
void CVitrolanDoc::OnToolHalfTile() { SwitchPartTool(m_halfTool, CutHalves); }
void CVitrolanDoc::OnToolQuarterTile() { SwitchPartTool(m_quarterTool, CutQuarters); }
void CVitrolanDoc::OnToolDiagonalQuarterTile()
{
    SwitchPartTool(m_diagQuarterTool, CutDiagonalQuarters);
}
void CVitrolanDoc::OnToolShade() { SwitchTool(m_partToolActive, FALSE); }
void CVitrolanDoc::OnToolFillMix() { SwitchTool(m_mixFillTool, FALSE); }
void CVitrolanDoc::OnToolToggleCells() { SwitchTool(m_toggleTool, FALSE); }
void CVitrolanDoc::OnToolFill() { SwitchTool(m_fillTool, FALSE); }
void CVitrolanDoc::OnToolReplaceColour() { SwitchTool(m_replaceTool, FALSE); }
void CVitrolanDoc::OnToolBrush() { SwitchTool(m_brushTool, FALSE); }

void CVitrolanDoc::OnNoTool()
{
    CommitPendingEdit();
    ResetTools();
}

BOOL CVitrolanDoc::IsAnyToolOn() const
{
    for (const ToolItem& item : kToolItems)
        if (this->*item.pFlag)
            return TRUE;
    return FALSE;
}

void CVitrolanDoc::OnUpdateTool(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded != 0);
    for (const ToolItem& item : kToolItems)
        if (item.nID == pCmdUI->m_nID)
            pCmdUI->SetCheck(this->*item.pFlag ? 1 : 0);
}

void CVitrolanDoc::OnUpdateNoTool(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded != 0);
    pCmdUI->SetCheck(m_loaded && !IsAnyToolOn() ? 1 : 0);
}

// ---- Display ------------------------------------------------------------------------------------

void CVitrolanDoc::RaiseTileSizeForSymbols()
{
    if (m_tileSize >= kSymbolTileSize)
        return;
    RezoomShapes(m_tileSize, kSymbolTileSize);
    m_tileSize = kSymbolTileSize;
    m_recentreScroll = 1;
}

void CVitrolanDoc::ShowColoursAndSymbols()
{
    affichage = kColoursAndSymbols;
    RaiseTileSizeForSymbols();
    // Without labels the symbols would not show.
    if (impression == kNoLabels)
        impression = kSymbolLabels;
}

void CVitrolanDoc::EndDisplayChange()
{
    m_dirty = 1;
    m_rebuildTileImages = 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnShowColours()
{
    if (affichage == kColours)
        ShowColoursAndSymbols();
    else
        affichage = kColours;
    EndDisplayChange();
}

void CVitrolanDoc::OnShowSymbols()
{
    affichage = kSymbols;
    RaiseTileSizeForSymbols();
    EndDisplayChange();
}

void CVitrolanDoc::OnShowColoursAndSymbols()
{
    if (affichage == kColoursAndSymbols)
        affichage = kColours;
    else
        ShowColoursAndSymbols();
    EndDisplayChange();
}

void CVitrolanDoc::OnToggleJoints()
{
    // Too small a tile has no room for them: they come with the zoom that gives it.
    if (!m_showJoints && !HasRoomForJoints())
        m_jointsOffByZoom = 1;
    else
        m_showJoints = m_showJoints ? 0 : 1;
    m_dirty = 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnTogglePlaques()
{
    m_showPlaques = m_showPlaques ? 0 : 1;
    if (!m_plaquesValid)
        BuildPlaques();
    m_dirty = 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnToggleRulers()
{
    rulers = rulers ? 0 : 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnTexturedTiles()
{
    m_texturedTiles = m_texturedTiles ? 0 : 1;
    if (s_uiHooks.pfnRefreshView != NULL)
        s_uiHooks.pfnRefreshView();
}

void CVitrolanDoc::OnUpdateDisplay(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded != 0);
    int nChecked = 0;
    switch (pCmdUI->m_nID)
    {
    case ID_SHOW_COLOURS: nChecked = affichage == kColours; break;
    case ID_SHOW_SYMBOLS: nChecked = affichage == kSymbols; break;
    case ID_SHOW_COLOURS_SYMBOLS: nChecked = affichage == kColoursAndSymbols; break;
    case ID_SHOW_JOINTS: nChecked = m_showJoints != 0; break;
    case ID_SHOW_PLATES: nChecked = m_showPlaques != 0; break;
    case ID_SHOW_RULERS: nChecked = rulers != 0; break;
    case ID_SHOW_TEXTURED_TILES: nChecked = m_texturedTiles != 0; break;
    }
    pCmdUI->SetCheck(nChecked);
}
