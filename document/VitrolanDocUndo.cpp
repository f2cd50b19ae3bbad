// One level of undo: the committed map holds the mosaic before the pending edit, the working
// map the edited one. Settling copies working to committed; undo copies it back, with the
// grid size, zoom, image colours and palette-bar selection the edit changed.
#include "VitrolanDoc.h"

#include <string.h>

#include "AfxException.h"
#include "AfxFrame.h"
#include "AfxMenu.h"
#include "AfxView.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

const int kMixKeep = 1;
const int kMixUndo = 2;

}   // namespace

DocUiHooks CVitrolanDoc::s_uiHooks = DocUiHooks();

CWnd* CVitrolanDoc::GetMenuWindow() const
{
    // The frame of this document's view first: while the command line is carried out at
    // start-up it exists, but is not the main window yet.
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos != NULL ? GetNextView(pos) : NULL;
    CWnd* pFrame = pView != NULL ? pView->GetParentFrame() : NULL;
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        pFrame = AfxGetMainWnd();
    return pFrame != NULL && pFrame->GetSafeHwnd() != NULL ? pFrame : NULL;
}

CMenu* CVitrolanDoc::FetchMenu()
{
    CWnd* pFrame = GetMenuWindow();
    m_menu = pFrame != NULL ? pFrame->GetMenu() : NULL;
    return m_menu;
}

void CVitrolanDoc::SetUndoItem(UINT nTextId)
{
    const BOOL bEnabled = nTextId != TXT_UNDO;
    m_undoItemText = GetLangText(nTextId);
    m_undoItemEnabled = bEnabled;
    // A menu without the item is left alone, and nothing is reported.
    if (FetchMenu() != NULL && m_menu->GetSafeHmenu() != NULL)
        m_menu->ModifyMenu(ID_UNDO_EDIT,
                           MF_BYCOMMAND | MF_STRING | (bEnabled ? MF_ENABLED : MF_GRAYED),
                           ID_UNDO_EDIT, m_undoItemText);
}

void CVitrolanDoc::RebuildGridImages()
{
    const int nWidth = 4 * m_cols;
    const int nHeight = 4 * m_rows;
    // Both maps are made before either is replaced: a size the memory cannot hold throws
    // and leaves both as they were.
    CRasterImage committed;
    CRasterImage working;
    try
    {
        committed.Create(0, nWidth, nHeight);
        working.Create(0, nWidth, nHeight);
    }
    catch (CException*)
    {
        committed.Free();
        throw;
    }
    m_workingMap.CopyBlock(&committed, nWidth, nHeight);
    m_workingMap.CopyBlock(&working, nWidth, nHeight);
    m_committedMap.Free();
    m_committedMap = committed;
    m_workingMap.Free();
    m_workingMap = working;
}

BOOL CVitrolanDoc::CommitPendingEdit()
{
    if (m_mixPreviewPending)
    {
        m_mixPreviewPending = 0;
        const int nAnswer =
            s_uiHooks.pfnConfirmMix != NULL ? s_uiHooks.pfnConfirmMix() : kMixKeep;
        if (nAnswer == kMixUndo)
        {
            OnEditUndo();
            return FALSE;
        }
    }

    FetchMenu();
    if (m_resizePending)
        RebuildGridImages();
    const BOOL bEditPending = m_undoPending || m_undoPendingB;
    if (bEditPending)
    {
        m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
        m_dirty = 1;
        SetUndoItem(TXT_UNDO);
        // The bar selection belongs to the edit just settled: a later undo must not press
        // that button again over the user's current colour.
        m_barSelectionPending = 0;
    }
    m_undoPending = 0;
    m_undoPendingB = 0;
    m_resizePending = 0;
    m_coloursPending = 0;
    m_plaquesValid = 0;
    return TRUE;
}

void CVitrolanDoc::DiscardPendingEdit()
{
    const BOOL bItemNamed = m_undoPending || m_undoPendingB || m_undoItemEnabled;
    m_undoPending = 0;
    m_undoPendingB = 0;
    m_resizePending = 0;
    m_coloursPending = 0;
    m_barSelectionPending = 0;
    m_mixPreviewPending = 0;
    if (bItemNamed)
        SetUndoItem(TXT_UNDO);
}

void CVitrolanDoc::OnEditUndo()
{
    FetchMenu();

    if (m_resizePending)
    {
        m_cols = m_savedCols;
        m_rows = m_savedRows;
        m_workingMap.Create(0, 4 * m_cols, 4 * m_rows);
        SetScaledTileSize(m_resizeShrunk == 1 ? m_tileSize / m_resizeFactor
                                              : m_tileSize * m_resizeFactor);
        m_resizePending = 0;
    }

    if (m_coloursPending)
    {
        memcpy(m_imagePalette.m_colours, m_imagePaletteUndo.m_colours,
               sizeof(m_imagePalette.m_colours));
        m_imagePalette.m_paletteKind = m_imagePaletteUndo.m_paletteKind;
        m_imagePalette.TakeNamesFrom(m_tilePalette);
        if (s_uiHooks.pfnRefreshImageBar != NULL)
            s_uiHooks.pfnRefreshImageBar();
        m_colourCount = m_colourCountUndo;
        m_coloursPending = 0;
    }

    m_committedMap.CopyBlock(&m_workingMap, 4 * m_cols, 4 * m_rows);

    if (m_undoPending)
    {
        SetUndoItem(TXT_UNDO);
        m_undoPending = 0;
        m_plaquesValid = 0;
    }
    else if (m_undoPendingB)
    {
        // Paste and the mirrors keep the grid, so the plates stay valid.
        SetUndoItem(TXT_UNDO);
        m_undoPendingB = 0;
    }

    if (m_barSelectionPending)
    {
        if (s_uiHooks.pfnPressImageBarButton != NULL)
            s_uiHooks.pfnPressImageBarButton(m_savedBarButton);
        m_barSelectionPending = 0;
    }

    m_rebuildTileImages = 1;
    m_mixPreviewPending = 0;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_undoPending || m_undoPendingB);
}

void CVitrolanDoc::OnUpdateNeedMosaic(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded != 0);
}

void CVitrolanDoc::ResetTools()
{
    m_selectTool = 0;
    m_measureVTool = 0;
    m_measureHTool = 0;
    m_fillTool = 0;
    m_brushTool = 0;
    m_replaceTool = 0;
    m_mixFillTool = 0;
    m_toggleTool = 0;
    m_wholeTool = 0;
    m_halfTool = 0;
    m_diagHalfTool = 0;
    m_quarterTool = 0;
    m_diagQuarterTool = 0;
    m_copyValid = 0;
    m_partToolActive = 0;
    // Erasing leaves both rectangles at (0, 0, 0, 0).
    EraseShape(m_selection);
    EraseShape(m_stampShape);
}

void CVitrolanDoc::EraseShape(CShpRectangle* pShape)
{
    if (pShape != NULL && s_uiHooks.pfnEraseShape != NULL)
        s_uiHooks.pfnEraseShape(pShape);
}

void CVitrolanDoc::SaveColoursForUndo()
{
    memcpy(m_imagePaletteUndo.m_colours, m_imagePalette.m_colours,
           sizeof(m_imagePalette.m_colours));
    m_imagePaletteUndo.m_paletteKind = m_imagePalette.m_paletteKind;
    m_colourCountUndo = m_colourCount;
    m_coloursPending = 1;
}
