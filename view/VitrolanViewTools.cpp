// The view's editing tools: what a click, a drag, a release, an arrow key and a right click
// do with the tool the document has switched on.
#include "VitrolanView.h"

#include <algorithm>
#include <string.h>

#include "AfxApp.h"
#include "AfxFrame.h"
#include "AfxMenu.h"
#include "LangText.h"
#include "PaletteBar.h"
#include "ShpRectangle.h"
#include "TextIds.h"
#include "ViewFrameHooks.h"

namespace
{

// The main menu; its second popup is the Edit menu.
const UINT kMainMenu = 128;
const int kEditMenuPosition = 1;

struct Cell
{
    int shape, kind, colour[4], variant[4];
};

Cell ReadCell(const CRasterImage& map, int nCol, int nRow)
{
    Cell c = {};
    map.GetCell(nCol, nRow, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2],
                c.colour[3], c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
    return c;
}

void WriteCell(CRasterImage& map, int nCol, int nRow, const Cell& c)
{
    map.SetCell(nCol, nRow, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2],
                c.colour[3], c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
}

// Border codes lie on the first and last rows and columns only.
bool TouchesGridEdge(int nCols, int nRows, int nCol, int nRow)
{
    return nCol <= 1 || nRow <= 1 || nCol >= nCols - 2 || nRow >= nRows - 2;
}

bool HasBorderCodes(int nPavingType)
{
    return nPavingType != PavingSquares && nPavingType != PavingCrossedJoints;
}

// Un-presses the button of a colour on the page the bar shows.
void ReleaseColourButton(CPaletteBar* pBar, int nColour)
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

void CVitrolanView::OnLButtonDown(UINT, CPoint point)
{
    if (!ToolsActive())
        return;
    point = ToLogical(point);
    CVitrolanDoc* pDoc = GetDocument();
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!ToolClickArea(rectClient.Size(), pDoc->m_textStampTool, pDoc->m_textImage.width)
             .PtInRect(point))
        return;
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
    CVitrolanDoc* pDoc = GetDocument();
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!ToolClickArea(rectClient.Size(), pDoc->m_textStampTool, pDoc->m_textImage.width)
             .PtInRect(point))
        return;
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
    return CPoint(TileToPixelX(P, z, pDoc->m_cols, 0) - TileToPixelX(P, z, m_originCol, 0),
                  TileToPixelY(P, z, pDoc->m_rows, 0) - TileToPixelY(P, z, m_originRow, 0));
}

BOOL CVitrolanView::LocateInside(CPoint point, TileSpot& spot)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    const CPoint ptEnd = MosaicEnd();
    point.x = std::min(point.x, std::min(rectClient.right, ptEnd.x) - 1);
    point.y = std::min(point.y, std::min(rectClient.bottom, ptEnd.y) - 1);
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
    CPaletteBar* pBar = FrameImageBar();
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
        const int N = ReadCell(pDoc->m_workingMap, spot.col, spot.row).colour[0];
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
    if (CPaletteBar* pBar = FrameImageBar())
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
    if (ReadCell(map, spot.col, spot.row).shape == ShapeHole)
        return;
    // New texture variants for the new parts; the map of the undo keeps the old ones.
    map.RandomizeCellVariants(spot.col, spot.row, &pDoc->m_randomSeeds[0],
                              &pDoc->m_randomSeeds[1], pDoc->m_imagePalette.m_paletteKind);
    Cell cell = ReadCell(map, spot.col, spot.row);
    ApplyCut(pDoc->m_cutKind,
             CutEdgeKind(pDoc->m_pavingType, pDoc->m_cols, pDoc->m_rows, spot.col, spot.row),
             spot.part, nColour, cell.kind, cell.colour);
    pDoc->SetUndoItem(CutUndoText(pDoc->m_cutKind));
    WriteCell(map, spot.col, spot.row, cell);
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
    pDoc->m_textImage.StampMask(&pDoc->m_workingMap, nImageColour,
                                m_originCol + TilesAcross(P, z, pStamp->m_rect.left, 0),
                                m_originRow + TilesDown(P, z, pStamp->m_rect.top, 0));
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
    const Cell cell = ReadCell(pDoc->m_workingMap, spot.col, spot.row);
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

void CVitrolanView::PressSelection(CPoint point, const TileSpot& spot)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    if (pSelection == NULL)
        return;
    m_grabbedHandle = CShape::HitNothing;
    if (pSelection->m_rect.Width() != 0)
    {
        m_savedRect = pSelection->m_rect;
        pSelection->ComputeHandles();
        pSelection->SaveHandles();
        m_grabbedHandle = pSelection->HitTest(point);
        // A settled rectangle ends one pixel past its last tile; a resize starts from the
        // last pixel inside it, so that the edges the handle leaves keep their tiles.
        if (m_grabbedHandle >= 0 && m_grabbedHandle < CShape::HandleCount)
        {
            pSelection->m_rect.right -= 2;
            pSelection->m_rect.bottom -= 2;
        }
    }
    if (m_grabbedHandle == CShape::HitNothing)
    {
        InvalidateShape(pSelection);
        pSelection->m_handlesShown = 1;
        pDoc->m_copyValid = 0;
        pSelection->m_rect.SetRect(spot.x, spot.y, spot.x, spot.y);
    }
    BeginDrag();
    // While dragged the shape is a rubber band, drawn inverted by the paint as by the moves.
    InvalidateShape(pSelection);
    UpdateWindow();
}

void CVitrolanView::DragSelection(CPoint point)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    if (pSelection == NULL)
        return;
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    CRect rectClient;
    GetClientRect(&rectClient);
    const CPoint ptEnd = MosaicEnd();
    point.x = std::max(0, std::min(point.x, std::min(rectClient.right, ptEnd.x)));
    point.y = std::max(0, std::min(point.y, std::min(rectClient.bottom, ptEnd.y)));

    CClientDC dc(this);
    OnPrepareDC(&dc);
    DrawShapeXor(&dc, pSelection, TRUE);
    CRect& r = pSelection->m_rect;
    if (m_grabbedHandle == CShape::HitInside)
    {
        // The whole rectangle, kept inside the mosaic.
        const int nLeftEnd = -TileToPixelX(P, z, m_originCol, 0);
        const int nTopEnd = -TileToPixelY(P, z, m_originRow, 0);
        int dx = point.x - m_lastDownX;
        int dy = point.y - m_lastDownY;
        dx = std::max(std::min(dx, ptEnd.x - std::max(r.left, r.right)),
                      nLeftEnd - std::min(r.left, r.right));
        dy = std::max(std::min(dy, ptEnd.y - std::max(r.top, r.bottom)),
                      nTopEnd - std::min(r.top, r.bottom));
        pSelection->Offset(dx, dy);
    }
    else
    {
        pSelection->MoveHandleTo(m_grabbedHandle, point);
    }
    r.left = std::min(r.left, ptEnd.x);
    r.right = std::min(r.right, ptEnd.x);
    r.top = std::min(r.top, ptEnd.y);
    r.bottom = std::min(r.bottom, ptEnd.y);
    AutoScrollSelection(point);
    m_lastDownX = point.x;
    m_lastDownY = point.y;
    DrawShapeXor(&dc, pSelection, TRUE);
}

void CVitrolanView::AutoScrollSelection(CPoint& point)
{
    CVitrolanDoc* pDoc = GetDocument();
    const CRect& r = pDoc->m_selection->m_rect;
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    const int h = m_grabbedHandle;
    const BOOL bMove = h == CShape::HitInside;
    CRect rectClient;
    GetClientRect(&rectClient);
    const int cx = rectClient.Width();
    const int cy = rectClient.Height();
    const CPoint ptOrigin(m_originCol, m_originRow);

    const BOOL bRight = ((h == 1 || h == 2 || h == 5) && r.right >= cx - z / 2) ||
                        (bMove && r.right >= cx);
    const int nColLimit = pDoc->m_cols - (bMove ? TilesAcross(P, z, r.Width(), 0) : 0);
    if (bRight && m_originCol <= nColLimit)
    {
        OnHScroll(SB_LINERIGHT, 0, NULL);
        if (m_originCol != ptOrigin.x)
            point.x -= z - 1;
    }
    const BOOL bLeft = ((h == 0 || h == 3 || h == 7) && r.left <= z / 2) ||
                       (bMove && r.left < 1);
    if (bLeft && m_originCol > 0)
    {
        OnHScroll(SB_LINELEFT, 0, NULL);
        point.x += z - 1;
    }
    const BOOL bUp = ((h == 0 || h == 1 || h == 4) && r.top <= z / 2) || (bMove && r.top < 1);
    if (bUp && m_originRow > 0)
    {
        OnVScroll(SB_LINEUP, 0, NULL);
        point.y += z - 1;
    }
    const BOOL bDown = ((h == 2 || h == 3 || h == 6) && r.bottom >= cy - z / 2) ||
                       (bMove && r.bottom >= cy);
    const int nRowLimit = pDoc->m_rows - (bMove ? TilesDown(P, z, r.Height(), 0) : 0);
    if (bDown && m_originRow <= nRowLimit)
    {
        OnVScroll(SB_LINEDOWN, 0, NULL);
        if (m_originRow != ptOrigin.y)
            point.y -= z - 1;
    }
}

void CVitrolanView::ReleaseSelection(CPoint)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    EndDrag();
    if (pSelection == NULL)
        return;
    const int z = pDoc->m_tileSize;
    int* copy = pDoc->m_copyRect;

    InvalidateShape(pSelection);
    if (pSelection->m_handlesShown)
        for (int i = 0; i < CShape::HandleCount; i++)
        {
            CRect rect = pSelection->m_savedHandles[i];
            rect.InflateRect(8, 8);
            InvalidateRect(&rect, TRUE);
        }
    CRect rectBand = pSelection->m_rect;
    rectBand.NormalizeRect();

    CRect& r = pSelection->m_rect;
    TileSpot first, last;
    if (m_grabbedHandle == CShape::HitInside)
    {
        // Moved: the top-left corner lands on its tile, the size stays, and the block to
        // paste moves with it.
        if (LocateInside(r.TopLeft(), first))
        {
            const int w = r.Width();
            const int h = r.Height();
            r.SetRect(first.x, first.y, first.x + w - 1, first.y + h - 1);
            copy[0] = first.col;
            copy[1] = first.row;
            copy[2] = copy[6] + (first.col - copy[4]);
            copy[3] = copy[7] + (first.row - copy[5]);
        }
    }
    else
    {
        // Drawn or resized, in any direction: the tiles under its corners bound the block.
        r.NormalizeRect();
        if (LocateInside(r.TopLeft(), first) && LocateInside(r.BottomRight(), last))
        {
            r.SetRect(first.x, first.y, last.x + z, last.y + z);
            copy[4] = copy[0] = first.col;
            copy[5] = copy[1] = first.row;
            copy[6] = copy[2] = last.col;
            copy[7] = copy[3] = last.row;
        }
    }

    CRect rectUnion;
    rectUnion.UnionRect(&m_savedRect, &r);
    rectUnion.UnionRect(&rectUnion, &rectBand);
    rectUnion.InflateRect(z + 8, z + 8);
    RedrawWindow(&rectUnion, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    m_savedRect = r;
    r.right += 1;
    r.bottom += 1;
    r.NormalizeRect();
    InvalidateShape(pSelection);
}

// ---- Keys ----------------------------------------------------------------------------------

void CVitrolanView::MoveSelectionByKey(UINT nChar)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    if (pSelection == NULL || pSelection->m_rect.Width() == 0)
        return;
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect& r = pSelection->m_rect;
    int* copy = pDoc->m_copyRect;

    // One tile, the block staying inside the mosaic.
    int dc = 0, dr = 0;
    switch (nChar)
    {
    case VK_LEFT: dc = r.left >= z && copy[0] > 0 ? -1 : 0; break;
    case VK_RIGHT: dc = r.right <= rectClient.right && copy[2] < pDoc->m_cols - 1 ? 1 : 0; break;
    case VK_UP: dr = r.top >= z && copy[1] > 0 ? -1 : 0; break;
    case VK_DOWN: dr = r.bottom <= rectClient.bottom && copy[3] < pDoc->m_rows - 1 ? 1 : 0; break;
    }
    InvalidateShape(pSelection);
    pSelection->Offset(TileToPixelX(P, z, copy[0] + dc, 0) - TileToPixelX(P, z, copy[0], 0),
                       TileToPixelY(P, z, copy[1] + dr, 0) - TileToPixelY(P, z, copy[1], 0));
    copy[0] += dc;
    copy[2] += dc;
    copy[1] += dr;
    copy[3] += dr;

    if (r.right >= rectClient.right &&
        m_originCol <= pDoc->m_cols - TilesAcross(P, z, r.Width(), 0))
        OnHScroll(SB_LINERIGHT, 0, NULL);
    if (r.left < 1 && m_originCol > 0)
        OnHScroll(SB_LINELEFT, 0, NULL);
    if (r.top < 1 && m_originRow > 0)
        OnVScroll(SB_LINEUP, 0, NULL);
    if (r.bottom >= rectClient.bottom &&
        m_originRow <= pDoc->m_rows - TilesDown(P, z, r.Height(), 0))
        OnVScroll(SB_LINEDOWN, 0, NULL);
    InvalidateShape(pSelection);
}

void CVitrolanView::WriteKeyedCell(int nCol, int nRow, int nShape, int nKind,
                                   const int colours[4], const int variants[4])
{
    CVitrolanDoc* pDoc = GetDocument();
    Cell cell;
    cell.shape = nShape;
    cell.kind = nKind;
    for (int i = 0; i < 4; i++)
    {
        cell.colour[i] = colours[i];
        cell.variant[i] = variants[i];
    }
    WriteCell(pDoc->m_workingMap, nCol, nRow, cell);
    // With an edit pending, the change belongs to it and goes with its undo.
    if (!pDoc->m_undoPending && !pDoc->m_undoPendingB)
        WriteCell(pDoc->m_committedMap, nCol, nRow, cell);
    pDoc->m_dirty = 1;
    RedrawTileSquare(m_clickedX, m_clickedY);
}

void CVitrolanView::ShadeClickedTile(UINT nChar)
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (m_clickedCol < 0 || m_clickedRow < 0 || m_clickedCol >= pDoc->m_cols ||
        m_clickedRow >= pDoc->m_rows)
        return;
    Cell cell = ReadCell(pDoc->m_workingMap, m_clickedCol, m_clickedRow);
    if (cell.shape == ShapeHole ||
        !ShadeVariants(cell.variant, nChar, pDoc->m_tilePalette.m_paletteKind))
        return;
    WriteKeyedCell(m_clickedCol, m_clickedRow, cell.shape, cell.kind, cell.colour, cell.variant);
}

void CVitrolanView::TurnClickedTile(BOOL bLeft)
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (m_clickedCol < 0 || m_clickedRow < 0 || m_clickedCol >= pDoc->m_cols ||
        m_clickedRow >= pDoc->m_rows)
        return;
    Cell cell = ReadCell(pDoc->m_workingMap, m_clickedCol, m_clickedRow);
    if (cell.shape == ShapeHole)
        return;
    TurnCut(cell.kind, cell.colour, bLeft);
    WriteKeyedCell(m_clickedCol, m_clickedRow, cell.shape, cell.kind, cell.colour, cell.variant);
}

// ---- The text stamp's frame and the Edit menu ------------------------------------------------

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

BOOL CVitrolanView::ShowEditMenuAt(CPoint ptClient, CPoint ptScreen)
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (pDoc == NULL || !pDoc->m_loaded || !pDoc->m_selectTool || pDoc->m_selection == NULL ||
        !SelectionHoldsPoint(pDoc->m_pavingType, pDoc->m_tileSize, pDoc->m_selection->m_rect,
                             ptClient))
        return FALSE;
    CMenu menu;
    if (!menu.LoadMenu(kMainMenu))
        return FALSE;
    if (CMenu* pEdit = menu.GetSubMenu(kEditMenuPosition))
        pEdit->TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, AfxGetMainWnd());
    menu.DestroyMenu();
    return TRUE;
}
