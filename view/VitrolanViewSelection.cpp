// The select tool: the rectangle drawn, resized or moved with the mouse and settled on whole
// tiles, moved a tile at a time by the arrow keys, and the Edit menu on a right click inside it.
#include "VitrolanView.h"

#include <algorithm>

#include "AfxApp.h"
#include "AfxMenu.h"
#include "ShpRectangle.h"

namespace
{

// The main menu; its second popup is the Edit menu.
const UINT kMainMenu = 128;
const int kEditMenuPosition = 1;

} // namespace

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
