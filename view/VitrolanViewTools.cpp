// The view's editing tools: what a click, a drag, a release, an arrow key and a right click
// do with the tool the document has switched on.
#include "VitrolanView.h"

#include <algorithm>
#include <string.h>

#include "AfxApp.h"
#include "AfxFrame.h"
#include "LangText.h"
#include "ShpRectangle.h"
#include "TextIds.h"
#include "ViewFrameHooks.h"

namespace
{

// Border codes lie on the first and last rows and columns only.
bool TouchesGridEdge(int nCols, int nRows, int nCol, int nRow)
{
    return nCol <= 1 || nRow <= 1 || nCol >= nCols - 2 || nRow >= nRows - 2;
}

// Crossed joints have border tiles at the ends of their shifted rows too.
bool HasBorderCodes(int nPavingType)
{
    return nPavingType != PavingSquares;
}

// Un-presses the button of a colour on the page the bar shows.
void ReleaseColourButton(CPaletteBarState* pBar, int nColour)
{
    if (pBar == NULL || nColour < 0)
        return;
    int nPage = 0, nButton = 0;
    BarButtonOfColour(nColour, nPage, nButton);
    if (nPage == pBar->m_nPage)
        pBar->m_pressed[nButton] = 0;
    InvalidateBar(pBar);
}

} // namespace

// ---- Messages ----------------------------------------------------------------------------------

BOOL CVitrolanView::InToolArea(CPoint point) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    CRect rectClient;
    GetClientRect(&rectClient);
    return ToolClickArea(rectClient.Size(), pDoc->m_textStampTool, pDoc->m_textImage.width)
        .PtInRect(point);
}

void CVitrolanView::OnLButtonDown(UINT, CPoint point)
{
    if (!ToolsActive())
        return;
    point = ToLogical(point);
    if (!InToolArea(point))
        return;
    CVitrolanDoc* pDoc = GetDocument();
    // A click beside the mosaic does nothing.
    TileSpot spot;
    if (!LocateTile(point, spot))
        return;
    m_clickedCol = spot.col;
    m_clickedRow = spot.row;
    m_clickedX = spot.x;
    m_clickedY = spot.y;
    if (pDoc->m_selectTool)
        PressSelection(point, spot);
    m_lastDownX = point.x;
    m_lastDownY = point.y;
    ApplyClick(point, spot);
}

void CVitrolanView::OnMouseMove(UINT, CPoint point)
{
    if (!ToolsActive())
        return;
    point = ToLogical(point);
    if (!InToolArea(point))
        return;
    CVitrolanDoc* pDoc = GetDocument();
    if (m_drag && pDoc->m_brushTool)
    {
        // The button-down made the colour an image colour. Should another button be pressed
        // now, its colour joins the palette while there is room; a drag never compacts it.
        const int nColour = ImageColourOf(GetDragColour(), TRUE, FALSE);
        TileSpot spot;
        if (nColour >= 0 && LocateTile(point, spot))
        {
            m_clickedCol = spot.col;
            m_clickedRow = spot.row;
            m_clickedX = spot.x;
            m_clickedY = spot.y;
            BrushPaint(spot, nColour);
        }
    }
    if (m_drag && pDoc->m_selectTool)
        DragSelection(point);
    if (pDoc->m_textStampTool && GetDragColour() != NoToolColour)
        MoveStampFrame(point);
}

void CVitrolanView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (ToolsActive() && m_drag)
    {
        CVitrolanDoc* pDoc = GetDocument();
        if (pDoc->m_brushTool)
            BrushRelease();
        else if (pDoc->m_selectTool)
            ReleaseSelection(ToLogical(point));
    }
    // A drag whose tool went off in the meantime ends too.
    EndDrag();
    CView::OnLButtonUp(nFlags, point);
}

void CVitrolanView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (ToolsActive() && nChar >= VK_LEFT && nChar <= VK_DOWN)
    {
        const CVitrolanDoc* pDoc = GetDocument();
        if (pDoc->m_selectTool)
            MoveSelectionByKey(nChar);
        if (m_lastDownX != -1)
        {
            if (pDoc->m_partToolActive)
                ShadeClickedTile(nChar);
            if (CutToolOn() && !pDoc->m_wholeTool && (nChar == VK_LEFT || nChar == VK_RIGHT))
                TurnClickedTile(nChar == VK_LEFT);
        }
    }
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CVitrolanView::OnContextMenu(CWnd* pWnd, CPoint pos)
{
    CPoint ptClient = pos;
    ScreenToClient(&ptClient);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ActivateFrame();
    ShowEditMenuAt(ptClient, pos);
    CView::OnContextMenu(pWnd, pos);
}

// ---- What is on ----------------------------------------------------------------------------

BOOL CVitrolanView::ToolsActive() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return pDoc != NULL && pDoc->m_loaded && !pDoc->m_picturePage && !pDoc->m_planPage &&
           !pDoc->m_infoPage;
}

BOOL CVitrolanView::CutToolOn() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return pDoc->m_wholeTool || pDoc->m_diagHalfTool || pDoc->m_halfTool ||
           pDoc->m_quarterTool || pDoc->m_diagQuarterTool;
}

BOOL CVitrolanView::AnyToolOn() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return pDoc->m_selectTool || pDoc->m_measureHTool || pDoc->m_measureVTool || CutToolOn() ||
           pDoc->m_textStampTool || pDoc->m_fillTool || pDoc->m_brushTool ||
           pDoc->m_replaceTool || pDoc->m_mixFillTool || pDoc->m_toggleTool ||
           pDoc->m_partToolActive;
}

int CVitrolanView::GetClickColour() const
{
    return ClickColour(FramePaletteBarMode(), SelectionOfBar(FrameImageBar()),
                       SelectionOfBar(FrameTileBar()));
}

int CVitrolanView::GetDragColour() const
{
    return DragColour(SelectionOfBar(FrameImageBar()), SelectionOfBar(FrameTileBar()));
}

// ---- Locating ------------------------------------------------------------------------------

CPoint CVitrolanView::ToLogical(CPoint point)
{
    CClientDC dc(this);
    OnPrepareDC(&dc);
    dc.DPtoLP(&point);
    return point;
}

ShownMosaic CVitrolanView::GetShownMosaic()
{
    CVitrolanDoc* pDoc = GetDocument();
    // The masks come from the last paint; a click before any paint builds them.
    const CRasterImage& mask = pDoc->m_tileMasks[0][pDoc->m_pavingType & 15];
    if (mask.data == NULL || mask.width != pDoc->m_tileSize)
        BuildTileMasks();
    CRect rectClient;
    GetClientRect(&rectClient);
    ShownMosaic m;
    m.map = &pDoc->m_workingMap;
    m.n = pDoc->m_tileSize;
    m.cols = pDoc->m_cols;
    m.rows = pDoc->m_rows;
    m.originCol = m_originCol;
    m.originRow = m_originRow;
    m.pavingType = pDoc->m_pavingType;
    m.masks0 = pDoc->m_tileMasks[0];
    m.masks1 = pDoc->m_tileMasks[1];
    m.width = rectClient.Width();
    m.height = rectClient.Height();
    return m;
}

BOOL CVitrolanView::LocateTile(CPoint point, TileSpot& spot)
{
    return ::LocateTile(GetShownMosaic(), GetDocument()->m_cutKind, point, spot);
}

CPoint CVitrolanView::MosaicEnd() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    const int R = pDoc->m_rows;
    return CPoint(TileToPixelX(P, z, pDoc->m_cols, 0) - TileToPixelX(P, z, m_originCol, 0),
                  RowToPixelY(P, z, R, R, 0) - RowToPixelY(P, z, R, m_originRow, 0));
}

BOOL CVitrolanView::LocateInside(CPoint point, TileSpot& spot)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    const CPoint ptEnd = MosaicEnd();
    point.x = std::max(std::min(point.x, std::min(rectClient.right, ptEnd.x) - 1), 0);
    point.y = std::max(std::min(point.y, std::min(rectClient.bottom, ptEnd.y) - 1), 0);
    return LocateTile(point, spot);
}

CPoint CVitrolanView::RegionPoint(const TileSpot& spot) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return RegionPointOfSpot(pDoc->m_workingMap, pDoc->m_tileSize, spot);
}

// ---- Colours -------------------------------------------------------------------------------

int CVitrolanView::ImageColourOf(int nColour, BOOL bMayAppend, BOOL bAskUser)
{
    if (nColour < TileColourBase)
        return nColour;
    CVitrolanDoc* pDoc = GetDocument();
    const int t = nColour - TileColourBase;
    if (t >= C2Palette::ColourCount)
        return -1;
    const PaletteEntry entry = pDoc->m_tilePalette.m_colours[t];
    int i = FindImageColour(pDoc->m_imagePalette.m_colours, pDoc->m_colourCount, entry);
    const BOOL bAppend = i < 0;
    if (bAppend && !bMayAppend)
        return -1;
    if (bAppend && pDoc->m_colourCount >= C2Palette::ColourCount && bAskUser)
    {
        // Colours no tile uses any more make room. The compaction renumbers the cells, so it
        // is settled at once: an undo must never pair the old cells with the new colours.
        pDoc->SyncPaletteBars();
        pDoc->m_undoPending = 1;
        pDoc->CommitPendingEdit();
        pDoc->SaveColoursForUndo();
        i = FindImageColour(pDoc->m_imagePalette.m_colours, pDoc->m_colourCount, entry);
    }
    if (i < 0 && pDoc->m_colourCount >= C2Palette::ColourCount)
    {
        if (bAskUser && CVitrolanDoc::s_uiHooks.pfnMessageBox != NULL)
            CVitrolanDoc::s_uiHooks.pfnMessageBox(GetLangText(TXT_MSG_IMAGE_PALETTE_FULL));
        return -1;
    }
    if (i < 0)
    {
        i = std::max(pDoc->m_colourCount, 0);
        pDoc->m_imagePalette.m_colours[i] = entry;
        pDoc->m_imagePalette.m_colours[i].peFlags = 1;
        pDoc->m_colourCount = i + 1;
        pDoc->m_rebuildTileImages = 1;
    }
    pDoc->m_imagePalette.TakeNamesFrom(pDoc->m_tilePalette);
    if (bAppend)
        RefreshBar(FrameImageBar());
    return i;
}

void CVitrolanView::SelectImageBarColour(int nColour)
{
    CPaletteBarState* pBar = FrameImageBar();
    if (pBar == NULL || nColour < 0)
        return;
    int nPage = 0, nButton = 0;
    BarButtonOfColour(nColour, nPage, nButton);
    pBar->ClearPressed();
    pBar->m_nPage = nPage;
    pBar->m_pressed[nButton] = 1;
    RefreshBar(pBar);
}

// ---- A click -------------------------------------------------------------------------------

void CVitrolanView::ApplyClick(CPoint, const TileSpot& spot)
{
    CVitrolanDoc* pDoc = GetDocument();
    if (pDoc->m_measureHTool || pDoc->m_measureVTool)
    {
        if (pDoc->m_measureHTool)
            MeasureRun(spot, TRUE);
        if (pDoc->m_measureVTool)
            MeasureRun(spot, FALSE);
        return;
    }
    const BOOL bColourTool = CutToolOn() || pDoc->m_textStampTool || pDoc->m_fillTool ||
                             pDoc->m_brushTool || pDoc->m_replaceTool || pDoc->m_mixFillTool ||
                             pDoc->m_toggleTool || pDoc->m_partToolActive;
    const int nToolColour = bColourTool ? GetClickColour() : NoToolColour;
    if (pDoc->m_replaceTool)
    {
        ReplaceColour(spot, nToolColour);
        return;
    }

    // The tools that paint settle the pending edit before their colour may join the image
    // palette, so that the undo of that edit keeps the palette its cells were made with; and
    // the undo of this one gives back the palette without the colour.
    const BOOL bPaints = CutToolOn() || pDoc->m_textStampTool || pDoc->m_fillTool ||
                         pDoc->m_brushTool;
    int nColour = NoToolColour;
    if (bPaints && nToolColour != NoToolColour)
    {
        if (!(pDoc->m_brushTool && m_drag))
        {
            pDoc->CommitPendingEdit();
            pDoc->SaveColoursForUndo();
        }
        nColour = ImageColourOf(nToolColour, TRUE, TRUE);
        if (nColour < 0)
            return;
    }

    if (nColour >= 0)
    {
        if (pDoc->m_fillTool)
            FillRegion(spot, nColour);
        if (pDoc->m_brushTool)
            BrushPress(spot, nColour);
    }
    if (pDoc->m_mixFillTool)
        MixFill(spot);
    if (pDoc->m_toggleTool)
        ToggleCells(spot);
    if (nColour >= 0)
    {
        if (CutToolOn())
            CutTile(spot, nColour);
        if (pDoc->m_textStampTool)
            StampText(nColour, nToolColour);
    }
    else if (bPaints)
    {
        ShowChooseColourMessage();
    }
    if (!CutToolOn() && !pDoc->m_selectTool && !pDoc->m_fillTool && !pDoc->m_brushTool)
        ReportTile(spot);
}

void CVitrolanView::MeasureRun(const TileSpot& spot, BOOL bAcross)
{
    // The run the user sees: the working map, row 0 at the top as drawn.
    const CVitrolanDoc* pDoc = GetDocument();
    const CRasterImage& map = pDoc->m_workingMap;
    const int nCount = bAcross ? map.CountRunInRow(spot.col, spot.row)
                               : map.CountRunInColumn(spot.col, spot.row);
    const double dLength =
        RunLength(pDoc->m_pavingType, pDoc->m_pitch, nCount, bAcross, pDoc->unites);
    ShowMessageLine(MeasureText(GetLangText(bAcross ? TXT_WIDTH : TXT_HEIGHT), dLength,
                                pDoc->m_unitTextLong));
}

void CVitrolanView::ReplaceColour(const TileSpot& spot, int nColour)
{
    CVitrolanDoc* pDoc = GetDocument();
    if (nColour == NoToolColour)
    {
        ShowChooseColourMessage();
        return;
    }
    int nSelected = -1;
    {
        CWaitCursor wait;
        pDoc->CommitPendingEdit();
        pDoc->SaveColoursForUndo();
        const int N = ReadCellFields(pDoc->m_workingMap, spot.col, spot.row).colour[0];
        pDoc->m_dirty = 1;
        PaletteEntry* colours = pDoc->m_imagePalette.m_colours;
        CRasterImage& map = pDoc->m_workingMap;
        const int nKind = pDoc->m_imagePalette.m_paletteKind;
        if (nColour >= TileColourBase)
        {
            const PaletteEntry entry = pDoc->m_tilePalette.m_colours[(nColour - 256) & 0xFF];
            const int i = FindImageColour(colours, pDoc->m_colourCount, entry);
            if (i < 0)
            {
                colours[N].peRed = entry.peRed;
                colours[N].peGreen = entry.peGreen;
                colours[N].peBlue = entry.peBlue;
            }
            else if (i != N)
            {
                map.ReplaceCellColour(N, i, nKind, &pDoc->m_randomSeeds[0],
                                      &pDoc->m_randomSeeds[1]);
            }
            pDoc->m_imagePalette.TakeNamesFrom(pDoc->m_tilePalette);
        }
        else if (nColour != N)
        {
            const int v = nColour;
            const PaletteEntry entry = colours[v];
            map.ReplaceCellColour(N, v, nKind, &pDoc->m_randomSeeds[0], &pDoc->m_randomSeeds[1]);
            // No tile uses N any more.
            colours[N].peRed = colours[N].peGreen = colours[N].peBlue = 0;
            pDoc->SyncPaletteBars();
            pDoc->m_savedBarButton = v;
            pDoc->m_barSelectionPending = 1;
            // The colours have moved: v is where its RGB now is.
            for (int i = 0; i < pDoc->m_colourCount; i++)
                if (colours[i].peRed == entry.peRed && colours[i].peGreen == entry.peGreen &&
                    colours[i].peBlue == entry.peBlue)
                    nSelected = i;
        }
        pDoc->m_rebuildTileImages = 1;
    }
    if (CPaletteBarState* pBar = FrameImageBar())
    {
        pBar->m_nPage = 0;
        RefreshBar(pBar);
    }
    SelectImageBarColour(nSelected);
    Invalidate(TRUE);
    pDoc->SetUndoItem(TXT_UNDO_REPLACE_COLOUR);
    pDoc->m_undoPending = 1;
    pDoc->m_coloursPending = 1;
}

void CVitrolanView::FillRegion(const TileSpot& spot, int nColour)
{
    CVitrolanDoc* pDoc = GetDocument();
    const CPoint q = RegionPoint(spot);
    // The fill keeps the colours for its undo itself, but the click kept them already,
    // before its colour joined the palette.
    C2Palette& undo = pDoc->m_imagePaletteUndo;
    PaletteEntry colours[C2Palette::ColourCount];
    memcpy(colours, undo.m_colours, sizeof(colours));
    const int nKind = undo.m_paletteKind;
    const int nCount = pDoc->m_colourCountUndo;
    pDoc->FloodFillColour(q.x, q.y, nColour);
    memcpy(undo.m_colours, colours, sizeof(colours));
    undo.m_paletteKind = nKind;
    pDoc->m_colourCountUndo = nCount;
    pDoc->m_dirty = 1;
    pDoc->SetUndoItem(TXT_UNDO_FLOOD_FILL);
    pDoc->m_undoPending = 1;
    SelectImageBarColour(nColour);
    pDoc->m_coloursPending = 1;
}

void CVitrolanView::BrushPress(const TileSpot& spot, int nColour)
{
    memset(m_brushLost, 0, sizeof(m_brushLost));
    BeginDrag();
    GetDocument()->m_rebuildTileImages = 1;
    BrushPaint(spot, nColour);
}

void CVitrolanView::BrushPaint(const TileSpot& spot, int nColour)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    CRasterImage& map = pDoc->m_workingMap;
    // Only cells along the grid's edge carry border codes: away from it there is nothing to
    // take off and put back.
    const BOOL bBorder = HasBorderCodes(P) &&
                         TouchesGridEdge(pDoc->m_cols, pDoc->m_rows, spot.col, spot.row);
    if (bBorder)
        map.ClearBorderCodes(P, pDoc->m_cols, pDoc->m_rows, 0, 0);
    PaintBrushCells(map, pDoc->m_cols, pDoc->m_rows, spot.col, spot.row, nColour, m_brushLost);
    if (bBorder)
        CRasterImage::SetBorderCodes(&map, P, pDoc->m_cols, pDoc->m_rows, 0, 0);
    CRect rect = BrushRedrawRect(P, pDoc->m_tileSize, spot.x, spot.y);
    InvalidateRect(&rect, FALSE);
}

void CVitrolanView::BrushRelease()
{
    CVitrolanDoc* pDoc = GetDocument();
    EndDrag();
    pDoc->m_dirty = 1;
    pDoc->SetUndoItem(TXT_UNDO_BRUSH);
    pDoc->m_undoPending = 1;
    pDoc->m_rebuildTileImages = 1;
    // The undo copy of the colours, kept at the button-down, belongs to the cells before the
    // stroke. Only a colour the stroke took off its last tiles leaves a gap to close.
    if (AnyColourGone(pDoc->m_workingMap, pDoc->m_cols, pDoc->m_rows, m_brushLost))
        pDoc->SyncPaletteBars();
}

void CVitrolanView::CutTile(const TileSpot& spot, int nColour)
{
    CVitrolanDoc* pDoc = GetDocument();
    CRasterImage& map = pDoc->m_workingMap;
    if (ReadCellFields(map, spot.col, spot.row).shape == ShapeHole)
        return;
    // New texture variants for the new parts; the map of the undo keeps the old ones.
    map.RandomizeCellVariants(spot.col, spot.row, &pDoc->m_randomSeeds[0],
                              &pDoc->m_randomSeeds[1], pDoc->m_imagePalette.m_paletteKind);
    CellFields cell = ReadCellFields(map, spot.col, spot.row);
    // A tile of the pattern's edge stays the partial tile its place takes.
    int nEdgeShape = ShapeWhole;
    const int nEdgeKind = CutEdgeKind(pDoc->m_pavingType, pDoc->m_cols, pDoc->m_rows,
                                      spot.col, spot.row, &nEdgeShape);
    ApplyCut(pDoc->m_cutKind, nEdgeKind, spot.part, nColour, cell.kind, cell.colour);
    if (nEdgeKind != 0)
        cell.shape = nEdgeShape;
    pDoc->SetUndoItem(CutUndoText(pDoc->m_cutKind));
    WriteCellFields(map, spot.col, spot.row, cell);
    pDoc->m_coloursPending = 1;
    pDoc->m_dirty = 1;
    pDoc->m_undoPending = 1;
    RedrawTileSquare(spot.x, spot.y);
}

void CVitrolanView::StampText(int nImageColour, int nToolColour)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pStamp = pDoc->m_stampShape;
    if (pStamp == NULL)
        return;
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    pDoc->m_dirty = 1;
    InvalidateShape(pStamp);
    const int R = pDoc->m_rows;
    pDoc->m_textImage.StampMask(
        &pDoc->m_workingMap, nImageColour, m_originCol + TilesAcross(P, z, pStamp->m_rect.left, 0),
        RowAtPixelY(P, z, R, RowToPixelY(P, z, R, m_originRow, 0) + pStamp->m_rect.top, 0));
    CRect rect = pStamp->m_rect;
    rect.NormalizeRect();
    InvalidateRect(&rect, TRUE);
    pDoc->m_textStampTool = 0;
    ReleaseColourButton(FrameImageBar(), nImageColour);
    ReleaseColourButton(FrameTileBar(),
                        nToolColour >= TileColourBase ? nToolColour - TileColourBase : -1);
    pDoc->SetUndoItem(TXT_UNDO_TEXT_STAMP);
    pDoc->m_undoPending = 1;
}

void CVitrolanView::MixFill(const TileSpot& spot)
{
    CVitrolanDoc* pDoc = GetDocument();
    pDoc->CommitPendingEdit();
    const CPoint q = RegionPoint(spot);
    pDoc->FloodFillMix(q.x, q.y);
    pDoc->m_mixFillTool = 0;
}

void CVitrolanView::ToggleCells(const TileSpot& spot)
{
    CVitrolanDoc* pDoc = GetDocument();
    pDoc->CommitPendingEdit();
    const CPoint q = RegionPoint(spot);
    pDoc->FloodToggleCells(q.x, q.y);
}

void CVitrolanView::ReportTile(const TileSpot& spot)
{
    const CVitrolanDoc* pDoc = GetDocument();
    const CellFields cell = ReadCellFields(pDoc->m_workingMap, spot.col, spot.row);
    ShowMessageLine(TileReportText(pDoc->m_imagePalette, cell.kind, cell.colour));
}

void CVitrolanView::ShowMessageLine(LPCTSTR lpszText)
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetMessageText(lpszText);
}

void CVitrolanView::ShowChooseColourMessage()
{
    if (CVitrolanDoc::s_uiHooks.pfnMessageBox != NULL)
        CVitrolanDoc::s_uiHooks.pfnMessageBox(GetLangText(TXT_MSG_CHOOSE_COLOUR));
}

void CVitrolanView::RedrawTileSquare(int x, int y)
{
    const int z = GetDocument()->m_tileSize;
    CRect rect(x, y, x + z, y + z);
    InvalidateRect(&rect, FALSE);
}

// ---- Drags ---------------------------------------------------------------------------------

void CVitrolanView::BeginDrag()
{
    SetCapture();
    m_drag = 1;
}

void CVitrolanView::EndDrag()
{
    if (m_drag && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_drag = 0;
}

// ---- Keys ----------------------------------------------------------------------------------

// The last clicked tile, when it lies in the grid and is laid.
BOOL CVitrolanView::ReadClickedCell(CellFields& cell) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (m_clickedCol < 0 || m_clickedRow < 0 || m_clickedCol >= pDoc->m_cols ||
        m_clickedRow >= pDoc->m_rows)
        return FALSE;
    cell = ReadCellFields(pDoc->m_workingMap, m_clickedCol, m_clickedRow);
    return cell.shape != ShapeHole;
}

void CVitrolanView::WriteClickedCell(const CellFields& cell)
{
    CVitrolanDoc* pDoc = GetDocument();
    WriteCellFields(pDoc->m_workingMap, m_clickedCol, m_clickedRow, cell);
    // With an edit pending, the change belongs to it and goes with its undo.
    if (!pDoc->m_undoPending && !pDoc->m_undoPendingB)
        WriteCellFields(pDoc->m_committedMap, m_clickedCol, m_clickedRow, cell);
    pDoc->m_dirty = 1;
    RedrawTileSquare(m_clickedX, m_clickedY);
}

void CVitrolanView::ShadeClickedTile(UINT nChar)
{
    CellFields cell;
    if (ReadClickedCell(cell) &&
        ShadeVariants(cell.variant, nChar, GetDocument()->m_tilePalette.m_paletteKind))
        WriteClickedCell(cell);
}

void CVitrolanView::TurnClickedTile(BOOL bLeft)
{
    CellFields cell;
    if (!ReadClickedCell(cell))
        return;
    TurnCut(cell.kind, cell.colour, bLeft);
    WriteClickedCell(cell);
}

// ---- The text stamp's frame -------------------------------------------------------------------

void CVitrolanView::MoveStampFrame(CPoint point)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pStamp = pDoc->m_stampShape;
    if (pStamp == NULL)
        return;
    // The frame moves without handles; the paint draws it where it is now.
    InvalidateShape(pStamp);
    pStamp->m_handlesShown = 0;
    CRect rectClient;
    GetClientRect(&rectClient);
    pStamp->m_rect = StampFrameAt(pDoc->m_pavingType, pDoc->m_tileSize, point,
                                  pDoc->m_textImage.width, pDoc->m_textImage.height,
                                  rectClient.Size(), MosaicEnd());
    InvalidateShape(pStamp);
}
