// CGridCtrl: OLE drag and drop. Cells drag out as text and drop in as a paste; a heading
// drags its column to another place; in virtual mode a row drags to another place in the
// row order.
#include "GridCtrl.h"

#include <algorithm>

namespace
{

DROPEFFECT EffectForKeys(DWORD dwKeyState)
{
    return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

BOOL HasText(COleDataObject* pDataObject)
{
    return pDataObject != NULL && (pDataObject->IsDataAvailable(CF_UNICODETEXT) ||
                                   pDataObject->IsDataAvailable(CF_TEXT));
}

} // namespace

BOOL CGridCtrl::DropsMoveRows() const
{
    // Only a virtual grid has a row order to move rows in; a normal one pastes.
    return m_bDropMovesRows && m_bVirtualMode;
}

void CGridCtrl::SetDropHighlight(CCellID cell, BOOL bHighlight)
{
    if (!IsValidId(cell))
        return;
    const DWORD nState = GetItemState(cell.row, cell.col);
    SetItemState(cell.row, cell.col, bHighlight ? nState | GridCellDropHighlighted
                                                : nState & ~GridCellDropHighlighted);
    RedrawCell(cell.row, cell.col);
}

void CGridCtrl::OnBeginDrag()
{
    if (!m_bAllowDragAndDrop && m_nDragColumn < 0)
        return;
    COleDataSource* pSource = m_nDragColumn >= 0 ? new COleDataSource : CopySelectionAsText();
    if (pSource == NULL)
        return;
    const CCellRange range = GetSelectedCellRange();
    NotifyOwner(range.m_nMinRow, range.m_nMinCol, LVN_BEGINDRAG);
    m_nMouseMode = GridMouseDragging;
    const DROPEFFECT dropEffect = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if ((dropEffect & DROPEFFECT_MOVE) != 0)
        ClearSelectedText();
    pSource->InternalRelease();
    // The drag loop took the button's release: the gesture is over.
    m_nMouseMode = GridMouseNone;
    m_bLMouseButtonDown = FALSE;
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    const BOOL bColumnDrag = m_nDragColumn >= 0;
    const CCellID cell = GetCellFromPt(point, bColumnDrag);
    if (!bColumnDrag)
    {
        if (!m_bAllowDragAndDrop || !HasText(pDataObject) || !IsValidId(cell) ||
            !IsCellEditableId(cell))
            return DROPEFFECT_NONE;
    }
    else if (!IsValidId(cell) || cell.row >= m_nFixedRows || cell.col < m_nFixedCols)
    {
        return EffectForKeys(dwKeyState);
    }
    m_idDropCell = cell;
    SetDropHighlight(cell, TRUE);
    return EffectForKeys(dwKeyState);
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    const BOOL bColumnDrag = m_nDragColumn >= 0;
    // A column is dropped on the headings, so they count during its drag.
    const CCellID cell = GetCellFromPt(point, bColumnDrag);
    if (bColumnDrag)
    {
        if (!IsValidId(cell) || cell.col < m_nFixedCols || cell.row >= m_nFixedRows)
        {
            OnDragLeave();
            return DROPEFFECT_NONE;
        }
    }
    else if (DropsMoveRows())
    {
        if (!IsValidId(cell) || cell.row < m_nFixedRows || cell.col < m_nFixedCols)
        {
            OnDragLeave();
            return DROPEFFECT_NONE;
        }
    }
    else
    {
        if (!m_bAllowDragAndDrop || !m_bEditable || !HasText(pDataObject))
            return DROPEFFECT_NONE;
        if (!IsValidId(cell))
        {
            OnDragLeave();
            return DROPEFFECT_NONE;
        }
        if (!IsCellEditableId(cell))
            return DROPEFFECT_NONE;
    }
    if (cell != m_idDropCell)
    {
        SetDropHighlight(m_idDropCell, FALSE);
        m_idDropCell = cell;
        SetDropHighlight(cell, TRUE);
    }
    return EffectForKeys(dwKeyState);
}

void CGridCtrl::OnDragLeave()
{
    SetDropHighlight(m_idDropCell, FALSE);
    m_idDropCell = CCellID();
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT, CPoint point)
{
    m_nMouseMode = GridMouseNone;
    const CCellID cell = m_idDropCell;
    if (m_nDragColumn < 0)
    {
        if (!m_bAllowDragAndDrop || (!DropsMoveRows() && !IsCellEditableId(cell)))
            return FALSE;
        OnDragLeave();
        if (DropsMoveRows())
        {
            MoveRowInOrder(m_nDragRow, cell.row);
            Invalidate();
            return TRUE;
        }
        return PasteTextToGrid(cell, pDataObject, FALSE);
    }

    OnDragLeave();
    const CCellID cellDrop = GetCellFromPt(point);
    if (!IsValidId(cellDrop) || cellDrop.col == m_nDragColumn || cellDrop.row >= m_nFixedRows ||
        m_nDragColumn >= (int)m_arColOrder.size())
        return FALSE;
    const int nStorage = m_arColOrder[m_nDragColumn];
    m_arColOrder.erase(m_arColOrder.begin() + m_nDragColumn);
    m_arColOrder.insert(m_arColOrder.begin() + cellDrop.col, nStorage);
    m_nDragColumn = -1;
    Invalidate();
    return TRUE;
}

CImageList* CGridCtrl::CreateDragImage(CSize* pSize)
{
    CRect rect;
    CGridCellBase* pCell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (pCell == NULL || !GetCellRect(m_idCurrentCell.row, m_idCurrentCell.col, rect))
        return NULL;
    CDC* pDC = GetDC();
    if (pDC == NULL)
        return NULL;
    rect.OffsetRect(-rect.left, -rect.top);
    rect.right++;
    rect.bottom++;
    CImageList* pList = new CImageList;
    CDC memDC;
    CBitmap bitmap;
    BOOL bMade = pList->Create(rect.Width(), rect.Height(), ILC_MASK, 1, 1) &&
                 memDC.CreateCompatibleDC(pDC) &&
                 bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height());
    if (bMade)
    {
        CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
        memDC.FillSolidRect(rect, GetDefaultCell(FALSE, FALSE)->GetBackColour());
        pCell->Draw(&memDC, m_idCurrentCell.row, m_idCurrentCell.col, rect, FALSE);
        memDC.SelectObject(pOldBitmap);
        bMade = pList->Add(&bitmap, GetDefaultCell(FALSE, FALSE)->GetBackColour()) >= 0;
    }
    ReleaseDC(pDC);
    if (!bMade)
    {
        delete pList;
        return NULL;
    }
    if (pSize != NULL)
        *pSize = rect.Size();
    return pList;
}
