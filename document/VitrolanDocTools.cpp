// The region operations behind the view's fill, mix-fill and cell tools. Each draws the cells
// into a region plane of 4 x 4 pixels per cell, finds the region of the clicked point on it
// and hands the plane to the cell map's region tool. The plane stays from click to click (the
// document frees it when it closes): mapping a fresh buffer of its size costs more than the
// rest of a click.
#include "VitrolanDoc.h"

#include "AfxApp.h"
#include "RegionTools.h"
#include "TextIds.h"

int CVitrolanDoc::FloodFillColour(int x, int y, int nColour)
{
    CWaitCursor wait;
    SaveColoursForUndo();
    CRasterImage& plane = m_clipboardMap;
    if (PrepareRegionPlane(&plane, &m_workingMap, m_cols, m_rows) &&
        PaintRegionInPlane(&plane, m_cols, m_rows, x, y, nColour))
        m_workingMap.FillRegionWithColour(&plane, m_cols, m_rows,
                                          m_imagePalette.m_paletteKind, &m_randomSeeds[0],
                                          &m_randomSeeds[1]);
    m_rebuildTileImages = 1;
    UpdateAllViews(NULL);
    return 1;
}

int CVitrolanDoc::FloodToggleCells(int x, int y)
{
    FetchMenu();
    {
        CWaitCursor wait;
        CRasterImage& plane = m_clipboardMap;
        if (PrepareRegionPlane(&plane, &m_workingMap, m_cols, m_rows) &&
            TagRegionInPlane(&plane, m_cols, m_rows, x, y))
            m_workingMap.ToggleCellsInRegion(&plane, m_cols, m_rows);
    }
    SetUndoItem(TXT_UNDO_TOGGLE_CELLS);
    m_undoPending = 1;
    UpdateAllViews(NULL);
    m_plaquesValid = 0;
    return 1;
}

int CVitrolanDoc::FloodFillMix(int x, int y)
{
    FetchMenu();
    SaveColoursForUndo();
    // The mixing dialog's OK adds the mix's colours to the image palette (at
    // m_mixFirstColour), which must have room for them first.
    if (SelectColours() && MakeRoomForMixColours() && s_uiHooks.pfnRunMixDialog != NULL &&
        s_uiHooks.pfnRunMixDialog())
    {
        CWaitCursor wait;
        CRasterImage& plane = m_clipboardMap;
        if (PrepareRegionPlane(&plane, &m_workingMap, m_cols, m_rows) &&
            TagRegionInPlane(&plane, m_cols, m_rows, x, y))
            m_workingMap.FillRegionWithMix(&plane, m_cols, m_rows, m_mixFirstColour,
                                           m_mixCount, m_mixDirection, m_tileColourCount,
                                           m_allowedColours, m_mixPercent,
                                           m_imagePalette.m_paletteKind, &m_randomSeeds[0],
                                           &m_randomSeeds[1]);
        m_mixPreviewPending = 1;
    }
    SetUndoItem(TXT_UNDO_MIX_FILL);
    m_undoPending = 1;
    SyncPaletteBars();
    m_rebuildTileImages = 1;
    if (s_uiHooks.pfnResetImageBar != NULL)
        s_uiHooks.pfnResetImageBar();
    UpdateAllViews(NULL);
    return 1;
}
