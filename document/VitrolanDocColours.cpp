// The choice of the allowed tile colours, and the colour reduction that turns the mosaic's
// own colours into the nearest of them.
#include "VitrolanDoc.h"

#include <string.h>

#include "AfxApp.h"
#include "TextIds.h"

namespace
{

bool SameRgb(const PaletteEntry& a, const PaletteEntry& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// The allowed tile colour nearest to the colour (squared RGB distance); of equal ones the
// lowest index. -1 when none is allowed.
int NearestAllowedColour(const PaletteEntry& colour, const PaletteEntry* tiles, int nTiles,
                         const int* allowed)
{
    int nBest = -1;
    int nBestDistance = 0;
    for (int t = 0; t < nTiles; t++)
    {
        if (allowed[t] == 0)
            continue;
        const int dr = colour.peRed - tiles[t].peRed;
        const int dg = colour.peGreen - tiles[t].peGreen;
        const int db = colour.peBlue - tiles[t].peBlue;
        const int nDistance = dr * dr + dg * dg + db * db;
        if (nBest < 0 || nDistance < nBestDistance)
        {
            nBest = t;
            nBestDistance = nDistance;
        }
    }
    return nBest;
}

}   // namespace

BOOL CVitrolanDoc::SelectColours()
{
    // An empty table would offer nothing to choose from: the user is told why instead.
    if (TileColoursInUse() == 0)
    {
        if (s_uiHooks.pfnMessageBox != NULL)
            s_uiHooks.pfnMessageBox(NoTilePaletteText());
        return FALSE;
    }
    const BOOL bConfirmed = s_uiHooks.pfnSelectColours != NULL && s_uiHooks.pfnSelectColours();
    return bConfirmed && m_allowedCount > 0;
}

void CVitrolanDoc::ApplyColourChoice(const int* pChecked)
{
    const int n = TileColoursInUse();
    BOOL bChanged = FALSE;
    m_allowedCount = 0;
    for (int i = 0; i < 256; i++)
    {
        const int nAllowed = i < n && pChecked[i] != 0 ? 1 : 0;
        bChanged = bChanged || (nAllowed != 0) != (m_allowedColours[i] != 0);
        m_allowedColours[i] = nAllowed;
        m_allowedCount += nAllowed;
    }
    for (int i = 0; i < 256; i++)
    {
        if (m_allowedColours[i] != 0)
        {
            if (m_mixOptions[i] == MixRest)
            {
                m_mixStart[i] = 100 / m_allowedCount;
                m_mixStep[i] = 0;
            }
            continue;
        }
        for (int s = 0; s < MaxMixCount; s++)
            m_mixPercent[s][i] = 0;
        m_mixOptions[i] = MixRest;
        m_mixStart[i] = 0;
        m_mixStep[i] = 0;
    }
    // A colour just allowed would otherwise keep the 0 % it had while it was left out; the
    // shares of an unchanged choice are the user's and stay.
    if (bChanged)
        ComputeMixShares();
}

void CVitrolanDoc::OnReduceColours()
{
    FetchMenu();
    ResetTools();
    if (SelectColours())
        ReduceToAllowedColours();
    m_rebuildTileImages = 1;
}

BOOL CVitrolanDoc::ReduceToAllowedColours()
{
    const int n = TileColoursInUse();
    const int m = m_colourCount < 0 ? 0 : m_colourCount > 256 ? 256 : m_colourCount;
    const PaletteEntry* tiles = m_tilePalette.m_colours;
    int nAllowed = 0;
    for (int t = 0; t < n; t++)
        nAllowed += m_allowedColours[t] != 0;
    if (nAllowed == 0)
        return FALSE;

    CommitPendingEdit();
    int k = 0;
    {
        CWaitCursor wait;
        const int nKind = m_imagePalette.m_paletteKind;
        for (int col = 0; col < m_cols; col++)
            for (int row = 0; row < m_rows; row++)
                m_workingMap.RandomizeCellVariants(col, row, &m_randomSeeds[0],
                                                   &m_randomSeeds[1], nKind);
        SaveColoursForUndo();

        // The palette is packed in place: entry j is read before entry k <= j is written.
        // Every moved colour is recoloured in one pass over the map: a colour moves only to
        // an index no cell holds yet, so the moves do not depend on their order.
        PaletteEntry* colours = m_imagePalette.m_colours;
        int newColour[256];
        for (int c = 0; c < 256; c++)
            newColour[c] = c;
        BOOL bMoved = FALSE;
        for (int j = 0; j < m; j++)
        {
            const PaletteEntry& tile =
                tiles[NearestAllowedColour(colours[j], tiles, n, m_allowedColours)];
            int c = 0;
            while (c < k && !SameRgb(colours[c], tile))
                c++;
            colours[c].peRed = tile.peRed;
            colours[c].peGreen = tile.peGreen;
            colours[c].peBlue = tile.peBlue;
            if (c != j)
            {
                newColour[j] = c;
                bMoved = TRUE;
            }
            if (c == k)
                k++;
        }
        if (bMoved)
            m_workingMap.RemapCellColours(newColour, nKind, &m_randomSeeds[0],
                                          &m_randomSeeds[1]);
    }
    memset(&m_imagePalette.m_colours[k], 0, (256 - k) * sizeof(PaletteEntry));
    m_colourCountUndo = m_colourCount;
    m_colourCount = k;
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    if (s_uiHooks.pfnResetImageBar != NULL)
        s_uiHooks.pfnResetImageBar();
    SetUndoItem(TXT_UNDO_REDUCE_COLOURS);
    m_undoPending = 1;
    m_coloursPending = 1;
    m_dirty = 1;
    m_rebuildTileImages = 1;
    UpdateAllViews(NULL);
    return TRUE;
}
