// The select tool: the rectangle drawn, resized or moved with the mouse and settled on whole
// tiles, moved a tile at a time by the arrow keys, and the Edit menu on a right click inside it.
// The block of tiles is what the edits act on; the frame always shows it, whether the block
// lies on the screen or not.
#include "VitrolanView.h"

#include <string.h>

#include <algorithm>

#include "AfxApp.h"
#include "AfxMenu.h"
#include "ShpRectangle.h"

namespace
{

// The main menu; its second popup is the Edit menu.
const UINT kMainMenu = 128;
const int kEditMenuPosition = 1;

TileBlock Span(int nCol1, int nRow1, int nCol2, int nRow2)
{
    TileBlock block;
    block.firstCol = std::min(nCol1, nCol2);
    block.lastCol = std::max(nCol1, nCol2);
    block.firstRow = std::min(nRow1, nRow2);
    block.lastRow = std::max(nRow1, nRow2);
    return block;
}

} // namespace

// ---- The block ----------------------------------------------------------------------------------

TileBlock CVitrolanView::GetSelectedBlock() const
{
    const int* copy = GetDocument()->m_copyRect;
    return Span(copy[0], copy[1], copy[2], copy[3]);
}

CRect CVitrolanView::BlockFrame(const TileBlock& block) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return CRect(MosaicBlockFrame(pDoc->m_tileSize, pDoc->m_rows, m_originCol, m_originRow,
                                  pDoc->m_pavingType, block));
}

TileBlock CVitrolanView::SettleBlock(TileBlock block) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int cols = std::max(pDoc->m_cols, 1);
    const int rows = std::max(pDoc->m_rows, 1);
    const int nFirstRow = std::min(FirstPavingRow(P, rows), rows - 1);
    block.firstCol = std::min(std::max(block.firstCol, 0), cols - 1);
    block.lastCol = std::min(std::max(block.lastCol, block.firstCol), cols - 1);
    block.firstRow = std::min(std::max(block.firstRow, nFirstRow), rows - 1);
    block.lastRow = std::min(std::max(block.lastRow, block.firstRow), rows - 1);
    TileBlock inFrame;
    if (MosaicBlockInFrame(pDoc->m_tileSize, cols, rows, m_originCol, m_originRow, P,
                           BlockFrame(block), inFrame))
        block = inFrame;
    return block;
}

void CVitrolanView::SelectBlock(const TileBlock& block, BOOL bSource)
{
    CVitrolanDoc* pDoc = GetDocument();
    int* copy = pDoc->m_copyRect;
    copy[0] = block.firstCol;
    copy[1] = block.firstRow;
    copy[2] = block.lastCol;
    copy[3] = block.lastRow;
    if (bSource)
        memcpy(copy + 4, copy, 4 * sizeof(int));
    // A settled rectangle ends one pixel past its frame, so that its outline runs on the
    // frame's last pixel.
    CRect rect = BlockFrame(block);
    rect.right += 1;
    rect.bottom += 1;
    pDoc->m_selection->m_rect = rect;
    m_selectionOnBlock = TRUE;
}

void CVitrolanView::KeepSelectionOnBlock()
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    if (pSelection == NULL || !m_selectionOnBlock || m_drag || pSelection->m_rect.Width() == 0 ||
        !pDoc->m_loaded)
        return;
    int* copy = pDoc->m_copyRect;
    const TileBlock block = SettleBlock(GetSelectedBlock());
    const int source[4] = {copy[4], copy[5], copy[6], copy[7]};
    SelectBlock(block, FALSE);
    memcpy(copy + 4, source, sizeof(source));
}

// ---- Mouse --------------------------------------------------------------------------------------

void CVitrolanView::PressSelection(CPoint point, const TileSpot& spot)
{
    CVitrolanDoc* pDoc = GetDocument();
    CShape* pSelection = pDoc->m_selection;
    if (pSelection == NULL)
        return;
    m_grabbedHandle = CShape::HitNothing;
    m_selectionDragged = FALSE;
    if (pSelection->m_rect.Width() != 0)
    {
        m_savedRect = pSelection->m_rect;
        pSelection->ComputeHandles();
        pSelection->SaveHandles();
        m_grabbedHandle = pSelection->HitTest(point);
        // Held, the settled rectangle is its frame again.
        if (m_grabbedHandle != CShape::HitNothing)
        {
            pSelection->m_rect.right -= 1;
            pSelection->m_rect.bottom -= 1;
        }
    }
    if (m_grabbedHandle == CShape::HitNothing)
    {
        InvalidateShape(pSelection);
        pSelection->m_handlesShown = 1;
        pDoc->m_copyValid = 0;
        m_selectionOnBlock = FALSE;
        m_anchorCol = spot.col;
        m_anchorRow = spot.row;
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
    const int R = pDoc->m_rows;
    CRect rectClient;
    GetClientRect(&rectClient);
    const CPoint ptEnd = MosaicEnd();
    point.x = std::max(0, std::min(point.x, std::min(rectClient.right, ptEnd.x)));
    point.y = std::max(0, std::min(point.y, std::min(rectClient.bottom, ptEnd.y)));
    m_selectionDragged = TRUE;

    CClientDC dc(this);
    OnPrepareDC(&dc);
    DrawShapeXor(&dc, pSelection, TRUE);
    CRect& r = pSelection->m_rect;
    if (m_grabbedHandle == CShape::HitInside)
    {
        // The whole rectangle, kept inside the mosaic.
        const int nLeftEnd = -TileToPixelX(P, z, m_originCol, 0);
        const int nTopEnd = -RowToPixelY(P, z, R, m_originRow, 0);
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

TileBlock CVitrolanView::ReleasedBlock()
{
    CVitrolanDoc* pDoc = GetDocument();
    const CRect& r = pDoc->m_selection->m_rect;
    TileBlock block = GetSelectedBlock();
    const int nHandle = m_grabbedHandle;
    if (nHandle == CShape::HitInside)
    {
        // Moved: the block keeps its size and takes the tiles at the frame's start.
        CRect frame = r;
        frame.NormalizeRect();
        TileBlock inFrame;
        if (MosaicBlockInFrame(pDoc->m_tileSize, pDoc->m_cols, pDoc->m_rows, m_originCol,
                               m_originRow, pDoc->m_pavingType, frame, inFrame))
        {
            const int w = block.lastCol - block.firstCol;
            const int h = block.lastRow - block.firstRow;
            block.firstCol = std::min(inFrame.firstCol, pDoc->m_cols - 1 - w);
            block.firstRow = std::min(inFrame.firstRow, pDoc->m_rows - 1 - h);
            block.lastCol = block.firstCol + w;
            block.lastRow = block.firstRow + h;
        }
        return block;
    }
    if (!m_selectionDragged)
        return nHandle == CShape::HitNothing ? Span(m_anchorCol, m_anchorRow, m_anchorCol,
                                                    m_anchorRow)
                                             : block;
    // The tile under the corner or edge that the pointer dragged: the block runs from the
    // tile it was started on, or from its corner or edges that stayed, to that tile.
    CPoint ptCorner(r.right, r.bottom);
    switch (nHandle)
    {
    case CShape::HandleTopLeft: ptCorner = CPoint(r.left, r.top); break;
    case CShape::HandleTopRight: ptCorner = CPoint(r.right, r.top); break;
    case CShape::HandleBottomLeft: ptCorner = CPoint(r.left, r.bottom); break;
    case CShape::HandleTop: ptCorner = CPoint(m_lastDownX, r.top); break;
    case CShape::HandleRight: ptCorner = CPoint(r.right, m_lastDownY); break;
    case CShape::HandleBottom: ptCorner = CPoint(m_lastDownX, r.bottom); break;
    case CShape::HandleLeft: ptCorner = CPoint(r.left, m_lastDownY); break;
    default: break;
    }
    TileSpot spot;
    if (!LocateInside(ptCorner, spot))
        return block;
    switch (nHandle)
    {
    case CShape::HitNothing:
        return Span(m_anchorCol, m_anchorRow, spot.col, spot.row);
    case CShape::HandleTopLeft: return Span(block.lastCol, block.lastRow, spot.col, spot.row);
    case CShape::HandleTopRight:
        return Span(block.firstCol, block.lastRow, spot.col, spot.row);
    case CShape::HandleBottomRight:
        return Span(block.firstCol, block.firstRow, spot.col, spot.row);
    case CShape::HandleBottomLeft:
        return Span(block.lastCol, block.firstRow, spot.col, spot.row);
    case CShape::HandleTop:
        return Span(block.firstCol, block.lastRow, block.lastCol, spot.row);
    case CShape::HandleRight:
        return Span(block.firstCol, block.firstRow, spot.col, block.lastRow);
    case CShape::HandleBottom:
        return Span(block.firstCol, block.firstRow, block.lastCol, spot.row);
    case CShape::HandleLeft:
        return Span(block.lastCol, block.firstRow, spot.col, block.lastRow);
    default:
        return block;
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

    // A move keeps the block that the next paste copies; a drawn or resized block is that
    // block too.
    SelectBlock(SettleBlock(ReleasedBlock()), m_grabbedHandle != CShape::HitInside);

    const CRect& r = pSelection->m_rect;
    CRect rectUnion;
    rectUnion.UnionRect(&m_savedRect, &r);
    rectUnion.UnionRect(&rectUnion, &rectBand);
    rectUnion.InflateRect(z + 8, z + 8);
    RedrawWindow(&rectUnion, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    m_savedRect = r;
    InvalidateShape(pSelection);
}

// ---- Keys ---------------------------------------------------------------------------------------

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

    // One tile, or on triangles one band of two rows, the block staying inside the mosaic.
    TileBlock block = GetSelectedBlock();
    const int nRowStep = P == PavingTriangles ? 2 : 1;
    int dc = 0, dr = 0;
    switch (nChar)
    {
    case VK_LEFT: dc = block.firstCol > 0 ? -1 : 0; break;
    case VK_RIGHT: dc = block.lastCol < pDoc->m_cols - 1 ? 1 : 0; break;
    case VK_UP:
        dr = block.firstRow - nRowStep >= FirstPavingRow(P, pDoc->m_rows) ? -nRowStep : 0;
        break;
    case VK_DOWN: dr = block.lastRow + nRowStep <= pDoc->m_rows - 1 ? nRowStep : 0; break;
    }
    block.firstCol += dc;
    block.lastCol += dc;
    block.firstRow += dr;
    block.lastRow += dr;
    InvalidateShape(pSelection);
    const int source[4] = {pDoc->m_copyRect[4], pDoc->m_copyRect[5], pDoc->m_copyRect[6],
                           pDoc->m_copyRect[7]};
    SelectBlock(SettleBlock(block), FALSE);
    memcpy(pDoc->m_copyRect + 4, source, sizeof(source));

    // The view follows a block that leaves it.
    const CRect& r = pSelection->m_rect;
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

// ---- Edit menu ----------------------------------------------------------------------------------

BOOL CVitrolanView::ShowEditMenuAt(CPoint ptClient, CPoint ptScreen)
{
    CVitrolanDoc* pDoc = GetDocument();
    if (pDoc == NULL || !pDoc->m_loaded || !pDoc->m_selectTool || pDoc->m_selection == NULL ||
        pDoc->m_selection->m_rect.Width() == 0)
        return FALSE;
    // A tile of the block under the pointer.
    TileSpot spot;
    const TileBlock block = GetSelectedBlock();
    if (!LocateTile(ptClient, spot) || spot.col < block.firstCol || spot.col > block.lastCol ||
        spot.row < block.firstRow || spot.row > block.lastRow)
        return FALSE;
    CMenu menu;
    if (!menu.LoadMenu(kMainMenu))
        return FALSE;
    if (CMenu* pEdit = menu.GetSubMenu(kEditMenuPosition))
        pEdit->TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, AfxGetMainWnd());
    menu.DestroyMenu();
    return TRUE;
}
