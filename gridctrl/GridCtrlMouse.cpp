// CGridCtrl: the mouse. A press starts one gesture (selecting, resizing a row or column,
// an edit on release, a drag) that the mouse mode follows until the button comes up.
#include "GridCtrl.h"

#include <algorithm>

namespace
{

void SetStandardCursor(LPCWSTR szCursor)
{
    ::SetCursor(::LoadCursorW(NULL, szCursor));
}

} // namespace

// ---- Edges -------------------------------------------------------------------------------------

BOOL CGridCtrl::IsOverEdge(GridAxis axis, CPoint point)
{
    // Column edges are taken in the fixed rows, row edges in the fixed columns.
    const GridAxis across = axis == AxisColumns ? AxisRows : AxisColumns;
    if ((across == AxisRows ? point.y : point.x) >= FixedExtent(across))
        return FALSE;
    const CCellID cell = GetCellFromPt(point);
    CPoint origin;
    if (!IsValidId(cell) || !GetCellOrigin(cell.row, cell.col, &origin))
        return FALSE;
    const int nLine = LineOf(axis, cell);
    const int nCoord = axis == AxisColumns ? point.x : point.y;
    const int nStart = axis == AxisColumns ? origin.x : origin.y;
    if (nLine != 0 && nCoord - nStart < m_nResizeCaptureRange)
        return TRUE;
    return nStart + LineSize(axis, nLine) - nCoord < m_nResizeCaptureRange;
}

BOOL CGridCtrl::IsOverColumnEdge(CPoint point)
{
    return IsOverEdge(AxisColumns, point);
}

BOOL CGridCtrl::IsOverRowEdge(CPoint point)
{
    return IsOverEdge(AxisRows, point);
}

BOOL CGridCtrl::HoverOverEdge(CPoint point)
{
    if (m_bAllowColumnResize && IsOverColumnEdge(point))
    {
        SetStandardCursor(IDC_SIZEWE);
        m_nMouseMode = GridMouseOverColumnEdge;
        return TRUE;
    }
    if (m_bAllowRowResize && IsOverRowEdge(point))
    {
        SetStandardCursor(IDC_SIZENS);
        m_nMouseMode = GridMouseOverRowEdge;
        return TRUE;
    }
    return FALSE;
}

BOOL CGridCtrl::IsPointInCellText(CCellID cell, CPoint point)
{
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    CRect rect;
    if (pCell == NULL || !GetCellRect(cell.row, cell.col, rect))
        return FALSE;
    pCell->GetTextRect(rect);
    rect.right++;
    rect.bottom++;
    return rect.PtInRect(point);
}

// ---- Resizing ----------------------------------------------------------------------------------

void CGridCtrl::InvertTrackingStrip(GridAxis axis, int nCoord)
{
    CDC* pDC = GetDC();
    if (pDC == NULL)
        return;
    const CRect rectClient = GetClientArea();
    if (axis == AxisColumns)
        pDC->PatBlt(nCoord, 0, 2, rectClient.Height(), DSTINVERT);
    else
        pDC->PatBlt(0, nCoord, rectClient.Width(), 2, DSTINVERT);
    ReleaseDC(pDC);
}

BOOL CGridCtrl::BeginResize(GridAxis axis, CPoint point)
{
    const int nLast = LineCount(axis) - 1;
    const int nCoord = axis == AxisColumns ? point.x : point.y;
    int nLine = LineOf(axis, m_idButtonDown);
    CRect rectVisible;
    GetVisibleNonFixedCellRange(rectVisible);
    const int nVisibleEnd = axis == AxisColumns ? rectVisible.right : rectVisible.bottom;
    // A last line too narrow to take a press beside its end edge is sized from that edge.
    if (LineSize(axis, nLast) < m_nResizeCaptureRange &&
        std::abs(nCoord - nVisibleEnd) < m_nResizeCaptureRange)
        nLine = nLast;

    const int nStart = LineOrigin(axis, nLine, LineOf(axis, GetTopLeftScrollCell()));
    const BOOL bOnStartEdge = nCoord - nStart < m_nResizeCaptureRange;
    const BOOL bNotLast = nLine != nLast;
    // A press on a line's start edge sizes the line before it.
    if (bOnStartEdge && nLine > 0 && (bNotLast || LineSize(axis, nLast) >= m_nResizeCaptureRange))
        nLine--;
    const BOOL bReopen = axis == AxisColumns ? m_bHiddenColUnhide : m_bHiddenRowUnhide;
    if (!bReopen && (bOnStartEdge || bNotLast))
    {
        // Hidden lines stay hidden: the edge belongs to the last shown line before it.
        nLine = NextShownLine(axis, nLine, -1, 0);
        if (nLine < 0)
            return FALSE;
    }
    m_nSizingLine = nLine;

    InvertTrackingStrip(axis, nCoord);
    // The mouse stays between the line's start and a client's width (height) beyond.
    const int nLineStart = LineOrigin(axis, nLine, LineOf(axis, GetTopLeftScrollCell()));
    CRect rectClip = GetClientArea();
    if (axis == AxisColumns)
    {
        rectClip.left = nLineStart + 1;
        rectClip.right = nLineStart + GetClientArea().Width() - FixedExtent(axis) + 1;
    }
    else
    {
        rectClip.top = nLineStart + 1;
        rectClip.bottom = nLineStart + GetClientArea().Height() - FixedExtent(axis) + 1;
    }
    ClientToScreen(rectClip);
    ::ClipCursor(rectClip);
    return TRUE;
}

void CGridCtrl::EndResize(GridAxis axis, CPoint point)
{
    const int nCoord = axis == AxisColumns ? point.x : point.y;
    const int nLast = axis == AxisColumns ? m_ptLastMouse.x : m_ptLastMouse.y;
    InvertTrackingStrip(axis, nLast);
    if (point == m_ptButtonDown || (point.x == 0 && point.y == 0) || m_nSizingLine < 0 ||
        m_nSizingLine >= LineCount(axis))
        return;
    const int nStart = LineOrigin(axis, m_nSizingLine, LineOf(axis, GetTopLeftScrollCell()));
    const BOOL bMayClose = axis == AxisColumns ? m_bAllowColHide : m_bAllowRowHide;
    const int nSize = std::max(nCoord - nStart, bMayClose ? 0 : 1);
    if (axis == AxisColumns)
        SetColumnWidth(m_nSizingLine, nSize);
    else
        SetRowHeight(m_nSizingLine, nSize);
    ResetScrollBars();
    Invalidate();
}

// ---- Messages ----------------------------------------------------------------------------------

void CGridCtrl::HideTitleTip()
{
    m_TitleTip.Hide();
}

void CGridCtrl::OnDestroy()
{
    // An open editor hands its text back while the grid can still take it.
    EndEditing();
    // The tip is a window of its own: it goes with the grid's window.
    if (m_TitleTip.GetSafeHwnd() != NULL)
        m_TitleTip.DestroyWindow();
    CWnd::OnDestroy();
}

void CGridCtrl::OnHover(CPoint point)
{
    if (m_bVirtualMode && !m_bTitleTips)
        return;
    const CCellID cell = GetCellFromPt(point);
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    if (pCell == NULL)
        return;
    pCell->OnMouseOver();
    CRect rectCell;
    if (!m_bTitleTips || pCell->IsEditing() || *pCell->GetTipText() == 0 ||
        !GetCellRect(cell.row, cell.col, rectCell))
        return;
    CRect rectText = rectCell;
    pCell->GetTipTextRect(rectText);
    m_TitleTip.SetParentWnd(this);
    m_TitleTip.Show(rectText, pCell->GetTipText(), 0, rectCell, pCell->GetFont(),
                    m_crTTipTextColour, m_crTTipBackColour, pCell->GetFormat());
}

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    m_nDragColumn = -1;
    m_bLMouseButtonDown = TRUE;
    m_ptButtonDown = point;
    m_idButtonDown = GetCellFromPt(point);
    if (!IsValidId(m_idButtonDown))
        return;
    m_nDragRow = m_idButtonDown.row;

    if ((nFlags & MK_SHIFT) == 0)
        m_idSelectionAnchor = m_idButtonDown;
    else if (!IsValidId(m_idSelectionAnchor))
        m_idSelectionAnchor = m_idCurrentCell;

    EndEditing();
    BOOL bInText = FALSE;
    if (CGridCellBase* pCell = GetCell(m_idButtonDown.row, m_idButtonDown.col))
    {
        pCell->OnClickDown(PointInCell(m_idButtonDown.row, m_idButtonDown.col, point));
        bInText = IsPointInCellText(m_idButtonDown, point);
    }

    const BOOL bCtrl = (nFlags & MK_CONTROL) != 0;
    const BOOL bFixed = m_idButtonDown.row < m_nFixedRows || m_idButtonDown.col < m_nFixedCols;
    if (!bCtrl && bInText && m_idButtonDown == m_idCurrentCell &&
        IsCellEditableId(m_idButtonDown))
    {
        m_nMouseMode = GridMousePrepareEdit;
        return;
    }
    if (IsCellSelectedId(m_idButtonDown))
    {
        SetFocusCell(m_idButtonDown);
        if (bCtrl)
        {
            // Ctrl+click on a selected cell takes it (its row in list mode) out.
            const CCellID& cell = m_idButtonDown;
            if (m_bListMode)
                SetSelectedRange(cell.row, m_nFixedCols, cell.row, m_nCols - 1, TRUE, FALSE);
            else
                SetSelectedRange(cell.row, cell.col, cell.row, cell.col, TRUE, FALSE);
            return;
        }
        if (m_bAllowDragAndDrop)
            m_nMouseMode = GridMousePrepareDrag;
    }
    else if (m_nMouseMode != GridMouseOverColumnEdge && m_nMouseMode != GridMouseOverRowEdge)
    {
        SetFocusCell(bFixed ? CCellID() : m_idButtonDown);
    }

    SetCapture();
    if (m_nMouseMode == GridMouseNone)
        HoverOverEdge(point);

    if (m_nMouseMode == GridMouseOverColumnEdge || m_nMouseMode == GridMouseOverRowEdge)
    {
        const GridAxis axis = m_nMouseMode == GridMouseOverColumnEdge ? AxisColumns : AxisRows;
        if (BeginResize(axis, point))
            m_nMouseMode = axis == AxisColumns ? GridMouseSizingColumn : GridMouseSizingRow;
    }
    else if (m_nMouseMode != GridMousePrepareDrag)
    {
        SelectOnPress(nFlags);
    }
    m_ptLastMouse = point;
}

void CGridCtrl::SelectOnPress(UINT nFlags)
{
    NotifyOwner(m_idButtonDown.row, m_idButtonDown.col, LVN_ITEMCHANGING);
    // A Ctrl+click adds to what is selected.
    m_PrevSelectedCellMap.clear();
    if ((nFlags & MK_CONTROL) != 0)
        m_PrevSelectedCellMap = m_SelectedCellMap;

    CCellID cell = m_idButtonDown;
    if (cell.row < m_nFixedRows)
    {
        OnFixedRowClick(cell);
        if (m_bColumnDrag && cell.col >= m_nFixedCols)
        {
            ResetSelectedRange();
            m_nDragColumn = cell.col;
            m_nMouseMode = GridMousePrepareDrag;
        }
    }
    else if (cell.col < m_nFixedCols)
    {
        OnFixedColumnClick(cell);
    }
    else
    {
        m_nMouseMode = m_bListMode ? GridMouseSelectRows : GridMouseSelectCells;
        ExtendSelection(cell);
    }
}

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    const CRect rectClient = GetClientArea();
    if (!rectClient.PtInRect(point) && m_nMouseMode != GridMouseDragging)
        return;

    if (!m_bLMouseButtonDown || m_nMouseMode == GridMouseNone)
    {
        if (!HoverOverEdge(point) && m_nMouseMode != GridMouseNone)
        {
            SetStandardCursor(IDC_ARROW);
            m_nMouseMode = GridMouseNone;
        }
        OnHover(point);
    }
    else if (IsValidId(m_idButtonDown))
    {
        switch (m_nMouseMode)
        {
        case GridMouseSelectColumns:
        case GridMouseSelectRows:
        case GridMouseSelectCells:
        {
            const CCellID cell = GetCellFromPt(point);
            if (IsValidId(cell) && cell != m_idCurrentCell)
            {
                ExtendSelection(cell);
                if ((cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) ||
                    m_nMouseMode != GridMouseSelectCells)
                    SetFocusCell(cell);
            }
            break;
        }
        case GridMouseSizingRow:
            InvertTrackingStrip(AxisRows, m_ptLastMouse.y);
            InvertTrackingStrip(AxisRows, point.y);
            break;
        case GridMouseSizingColumn:
            InvertTrackingStrip(AxisColumns, m_ptLastMouse.x);
            InvertTrackingStrip(AxisColumns, point.x);
            break;
        case GridMousePrepareEdit:
        case GridMousePrepareDrag:
            // Without drag and drop a press stays a click, however the mouse trembles.
            if (m_bAllowDragAndDrop || m_nDragColumn >= 0)
            {
                m_nMouseMode = GridMousePrepareDrag;
                OnBeginDrag();
            }
            break;
        default:
            break;
        }
    }
    m_ptLastMouse = point;
    (void)nFlags;
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    // A release whose press was elsewhere, or outside the cells, is no click.
    const BOOL bPressed = m_bLMouseButtonDown && IsValidId(m_idButtonDown);
    m_bLMouseButtonDown = FALSE;
    ::ClipCursor(NULL);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();

    if (!bPressed)
    {
        m_nMouseMode = GridMouseNone;
        return;
    }
    const CCellID idFocus = m_idCurrentCell;
    CGridCellBase* pFocusCell = GetCell(idFocus.row, idFocus.col);
    const CPoint pointInFocus = PointInCell(idFocus.row, idFocus.col, point);
    switch (m_nMouseMode)
    {
    case GridMousePrepareEdit:
        m_nMouseMode = GridMouseNone;
        BeginCellEdit(idFocus.row, idFocus.col, pointInFocus, GRID_EDIT_BY_MOUSE);
        break;
    case GridMousePrepareDrag:
        // No drag happened: the press was a click on the selection.
        if (pFocusCell != NULL)
            pFocusCell->OnClick(pointInFocus);
        NotifyOwner(m_idButtonDown.row, m_idButtonDown.col, NM_CLICK);
        NotifyOwner(m_idButtonDown.row, m_idButtonDown.col, LVN_ITEMCHANGING);
        ResetSelectedRange();
        NotifyOwner(m_idCurrentCell.row, m_idCurrentCell.col, LVN_ITEMCHANGED);
        break;
    case GridMouseSizingColumn:
        EndResize(AxisColumns, point);
        break;
    case GridMouseSizingRow:
        EndResize(AxisRows, point);
        break;
    default:
        NotifyOwner(idFocus.row, idFocus.col, LVN_ITEMCHANGED);
        if (pFocusCell != NULL)
            pFocusCell->OnClick(pointInFocus);
        NotifyOwner(m_idButtonDown.row, m_idButtonDown.col, NM_CLICK);
        break;
    }
    m_nMouseMode = GridMouseNone;
    SetStandardCursor(IDC_ARROW);

    if (GetSafeHwnd() != NULL)
    {
        CWnd* pOwner = GetOwner();
        if (pOwner->GetSafeHwnd() != NULL)
            pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), (LPARAM)m_hWnd);
    }
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const CCellID cell = GetCellFromPt(point);
    if (IsValidId(cell))
    {
        if (m_nMouseMode == GridMouseOverColumnEdge || m_nMouseMode == GridMouseOverRowEdge)
        {
            const GridAxis axis =
                m_nMouseMode == GridMouseOverColumnEdge ? AxisColumns : AxisRows;
            CPoint origin;
            GetCellOrigin(cell.row, cell.col, &origin);
            int nLine = LineOf(axis, cell);
            const int nOffset = axis == AxisColumns ? point.x - origin.x : point.y - origin.y;
            if (nOffset < m_nResizeCaptureRange)
                nLine--;
            nLine = NextShownLine(axis, nLine, -1, 0);
            if (nLine >= 0)
            {
                if (axis == AxisColumns)
                    AutoSizeColumn(nLine, m_nAutoSizeScope, TRUE);
                else
                    AutoSizeRow(nLine, TRUE);
                Invalidate();
            }
        }
        else if (m_nMouseMode == GridMouseNone)
        {
            // The second press of a double click: its release is a click like the first's.
            m_bLMouseButtonDown = TRUE;
            m_ptButtonDown = point;
            m_idButtonDown = cell;
            if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols &&
                IsPointInCellText(cell, point))
                BeginCellEdit(cell.row, cell.col, point, GRID_EDIT_BY_MOUSE);
            if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
                pCell->OnDblClick(PointInCell(cell.row, cell.col, point));
            NotifyOwner(cell.row, cell.col, NM_DBLCLK);
        }
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnRButtonUp(nFlags, point);
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (!IsValidId(cell))
    {
        NotifyOwner(-1, -1, NM_RCLICK);
        return;
    }
    SetFocusCell(CCellID());
    SetFocusCell(CCellID(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols)));
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
        pCell->OnRClick(PointInCell(cell.row, cell.col, point));
    NotifyOwner(cell.row, cell.col, NM_RCLICK);
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return CWnd::OnSetCursor(pWnd, nHitTest, message);
    switch (m_nMouseMode)
    {
    // The sizing shape stays while the edge is dragged.
    case GridMouseOverRowEdge:
    case GridMouseSizingRow:
        SetStandardCursor(IDC_SIZENS);
        break;
    case GridMouseOverColumnEdge:
    case GridMouseSizingColumn:
        SetStandardCursor(IDC_SIZEWE);
        break;
    case GridMouseDragging:
        break;
    default:
    {
        CGridCellBase* pCell = NULL;
        if (!m_bVirtualMode)
        {
            const DWORD dwPos = ::GetMessagePos();
            CPoint point((short)LOWORD(dwPos), (short)HIWORD(dwPos));
            ScreenToClient(&point);
            const CCellID cell = GetCellFromPt(point);
            pCell = GetCell(cell.row, cell.col);
        }
        if (pCell == NULL || !pCell->OnSetCursor())
            SetStandardCursor(IDC_ARROW);
        break;
    }
    }
    return TRUE;
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd->GetSafeHwnd() != m_hWnd && m_nMouseMode == GridMouseDragging)
        m_nMouseMode = GridMouseNone;
    CWnd::OnCaptureChanged(pWnd);
}
