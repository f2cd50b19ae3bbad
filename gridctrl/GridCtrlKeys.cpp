// CGridCtrl: the keyboard. Navigation keys move the focus over the shown rows and
// columns and select the cell they reach; characters open the focus cell's editor.
#include "GridCtrl.h"

#include <algorithm>

int CGridCtrl::NextShownLine(GridAxis axis, int nFrom, int nStep, int nLimit) const
{
    for (int nLine = nFrom; nStep > 0 ? nLine <= nLimit : nLine >= nLimit; nLine += nStep)
    {
        if (nLine >= 0 && nLine < LineCount(axis) && LineSize(axis, nLine) > 0)
            return nLine;
    }
    return -1;
}

CCellID CGridCtrl::NextCellForKey(UINT nChar, BOOL bShift, BOOL bCtrl, int& nWrap) const
{
    nWrap = 0;
    CCellID cell = m_idCurrentCell;
    const int nLastRow = m_nRows - 1;
    const int nLastCol = m_nCols - 1;
    // The line found, or the one the focus is on when there is none.
    auto orStay = [](int nFound, int nNow) { return nFound >= 0 ? nFound : nNow; };

    switch (nChar)
    {
    case VK_DOWN:
        cell.row = orStay(NextShownLine(AxisRows, cell.row + 1, 1, nLastRow), cell.row);
        break;
    case VK_UP:
        cell.row = orStay(NextShownLine(AxisRows, cell.row - 1, -1, m_nFixedRows), cell.row);
        break;
    case VK_RIGHT:
        cell.col = orStay(NextShownLine(AxisColumns, cell.col + 1, 1, nLastCol), cell.col);
        break;
    case VK_LEFT:
        cell.col = orStay(NextShownLine(AxisColumns, cell.col - 1, -1, m_nFixedCols), cell.col);
        break;
    case VK_TAB:
        if (!bShift)
        {
            const int nCol = NextShownLine(AxisColumns, cell.col + 1, 1, nLastCol);
            const int nRow = NextShownLine(AxisRows, cell.row + 1, 1, nLastRow);
            const int nFirstCol = NextShownLine(AxisColumns, m_nFixedCols, 1, nLastCol);
            if (nCol >= 0)
                cell.col = nCol;
            else if (nRow >= 0 && nFirstCol >= 0)
            {
                cell = CCellID(nRow, nFirstCol);
                nWrap = 1;
            }
        }
        else
        {
            const int nCol = NextShownLine(AxisColumns, cell.col - 1, -1, m_nFixedCols);
            const int nRow = NextShownLine(AxisRows, cell.row - 1, -1, m_nFixedRows);
            const int nLastShownCol = NextShownLine(AxisColumns, nLastCol, -1, m_nFixedCols);
            if (nCol >= 0)
                cell.col = nCol;
            else if (nRow >= 0 && nLastShownCol >= 0)
            {
                cell = CCellID(nRow, nLastShownCol);
                nWrap = -1;
            }
        }
        break;
    case VK_END:
        cell.col = orStay(NextShownLine(AxisColumns, nLastCol, -1, m_nFixedCols), cell.col);
        if (bCtrl)
            cell.row = orStay(NextShownLine(AxisRows, nLastRow, -1, m_nFixedRows), cell.row);
        break;
    case VK_HOME:
        cell.col = orStay(NextShownLine(AxisColumns, m_nFixedCols, 1, nLastCol), cell.col);
        if (bCtrl)
            cell.row = orStay(NextShownLine(AxisRows, m_nFixedRows, 1, nLastRow), cell.row);
        break;
    default:
        break;
    }
    return cell;
}

CCellID CGridCtrl::NextCellForPage(UINT nChar)
{
    CCellID cell = m_idCurrentCell;
    const int nTopBefore = GetTopLeftScrollCell().row;
    SendMessage(WM_VSCROLL, MAKEWPARAM(nChar == VK_NEXT ? SB_PAGEDOWN : SB_PAGEUP, 0), 0);
    const int nMoved = GetTopLeftScrollCell().row - nTopBefore;
    // Where the view could not move, the focus goes to the end.
    if (nChar == VK_NEXT)
        cell.row = nMoved != 0 ? std::min(cell.row + nMoved, m_nRows - 1) : m_nRows - 1;
    else
        cell.row = nMoved != 0 ? std::max(cell.row + nMoved, m_nFixedRows) : m_nFixedRows;
    return cell;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsValidId(m_idCurrentCell))
    {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const BOOL bCtrl = IsKeyDown(VK_CONTROL);
    const BOOL bShift = IsKeyDown(VK_SHIFT);
    if (bCtrl)
    {
        switch (nChar)
        {
        case 'C':
        case VK_INSERT:
            OnEditCopy();
            break;
        case 'X':
            OnEditCut();
            break;
        case 'V':
            OnEditPaste();
            break;
        case 'A':
            OnEditSelectAll();
            break;
        case VK_ADD:
            AutoSizeColumns();
            Invalidate();
            break;
        default:
            break;
        }
    }
    if (bShift && nChar == VK_INSERT)
    {
        OnEditPaste();
        return;
    }

    CCellID cellNew = m_idCurrentCell;
    int nWrap = 0;
    switch (nChar)
    {
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
        cellNew = NextCellForKey(nChar, bShift, bCtrl, nWrap);
        break;
    case VK_TAB:
        if (m_bTabLeaves && !bShift)
        {
            GetParent()->PostMessage(WM_NEXTDLGCTL, 0, 0);
            return;
        }
        cellNew = NextCellForKey(nChar, bShift, bCtrl, nWrap);
        break;
    case VK_NEXT:
    case VK_PRIOR:
        cellNew = NextCellForPage(nChar);
        break;
    case VK_END:
    case VK_HOME:
        SendMessage(WM_HSCROLL, MAKEWPARAM(nChar == VK_END ? SB_RIGHT : SB_LEFT, 0), 0);
        if (bCtrl)
            SendMessage(WM_VSCROLL, MAKEWPARAM(nChar == VK_END ? SB_BOTTOM : SB_TOP, 0), 0);
        cellNew = NextCellForKey(nChar, bShift, bCtrl, nWrap);
        break;
    case VK_DELETE:
        ClearSelectedText();
        break;
    case VK_F2:
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1),
                      GRID_EDIT_BY_MOUSE);
        break;
    default:
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (cellNew != m_idCurrentCell)
        MoveFocusByKey(nChar, cellNew, nWrap, bShift);
}

void CGridCtrl::MoveFocusByKey(UINT nChar, CCellID cellNew, int nWrap, BOOL bShift)
{
    if (m_nMouseMode == GridMouseNone)
    {
        m_PrevSelectedCellMap.clear();
        m_nMouseMode = m_bListMode ? GridMouseSelectRows : GridMouseSelectCells;
        if (!bShift || nChar == VK_TAB)
            m_idSelectionAnchor = cellNew;
        NotifyOwner(cellNew.row, cellNew.col, LVN_ITEMCHANGING);
        ExtendSelection(cellNew);
        NotifyOwner(cellNew.row, cellNew.col, LVN_ITEMCHANGED);
        m_nMouseMode = GridMouseNone;
    }

    SetFocusCell(cellNew);
    if (GetSafeHwnd() == NULL)
        return;
    BOOL bHScrolled = nChar == VK_HOME || nChar == VK_END;
    BOOL bVScrolled =
        nChar == VK_NEXT || nChar == VK_PRIOR || (bHScrolled && IsKeyDown(VK_CONTROL));
    if (!IsCellVisibleId(cellNew))
    {
        // One line towards the cell first, so that it comes in from the side it lies on.
        auto scroll = [this](UINT nMessage, UINT nCode) {
            SendMessage(nMessage, MAKEWPARAM(nCode, 0), 0);
        };
        if (nWrap > 0)
        {
            scroll(WM_VSCROLL, SB_LINEDOWN);
            SetScrollPos32(SB_HORZ, 0);
            bVScrolled = bHScrolled = TRUE;
        }
        else if (nWrap < 0)
        {
            scroll(WM_VSCROLL, SB_LINEUP);
            SetScrollPos32(SB_HORZ, m_nHScrollMax);
            bVScrolled = bHScrolled = TRUE;
        }
        else if (nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_TAB)
        {
            const BOOL bLeft = nChar == VK_LEFT || IsKeyDown(VK_SHIFT);
            scroll(WM_HSCROLL, bLeft ? SB_LINELEFT : SB_LINERIGHT);
            bHScrolled = TRUE;
        }
        else if (nChar == VK_UP || nChar == VK_DOWN)
        {
            scroll(WM_VSCROLL, nChar == VK_UP ? SB_LINEUP : SB_LINEDOWN);
            bVScrolled = TRUE;
        }
        EnsureVisible(cellNew);
        Invalidate();
    }
    EnsureVisible(cellNew);
    if (bHScrolled)
        SendMessage(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    if (bVScrolled)
        SendMessage(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

UINT CGridCtrl::OnGetDlgCode()
{
    UINT nCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !IsKeyDown(VK_CONTROL))
        nCode |= DLGC_WANTTAB;
    return nCode;
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsKeyDown(VK_CONTROL) && m_nMouseMode == GridMouseNone && nChar != VK_ESCAPE &&
        !(nChar == VK_TAB && m_bHandleTabKey))
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CGridCtrl::OnImeChar(WPARAM wParam, LPARAM)
{
    if (!IsKeyDown(VK_CONTROL) && m_nMouseMode == GridMouseNone && wParam != VK_ESCAPE)
        BeginCellEdit(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), (UINT)wParam);
    return 0;
}

void CGridCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CWnd::OnSysKeyDown(nChar, nRepCnt, nFlags);
}
