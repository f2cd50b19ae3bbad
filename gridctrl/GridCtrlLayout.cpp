// CGridCtrl: where the cells lie for the current scroll positions, the scroll bars and the
// scroll messages. Every walk is written once for an axis and serves rows and columns.
#include "GridCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "GridScrollLayout.h"

// ---- Walks along one axis ------------------------------------------------------------------

int CGridCtrl::FirstScrolledLine(GridAxis axis, int nPos) const
{
    const int nLast = LineCount(axis) - 1;
    int nLine = FixedLineCount(axis);
    int nSum = 0;
    while (nSum < nPos && nLine < nLast)
    {
        nSum += LineSize(axis, nLine);
        nLine++;
    }
    return nLine;
}

int CGridCtrl::LineOrigin(GridAxis axis, int nLine, int nTopLeft) const
{
    const int nFixed = FixedLineCount(axis);
    int nFirst = 0;
    int nOrigin = 0;
    if (nLine >= nFixed)
    {
        if (nLine < nTopLeft)
            return -1;
        nFirst = nTopLeft;
        nOrigin = FixedExtent(axis);
    }
    for (int i = nFirst; i < nLine; i++)
        nOrigin += LineSize(axis, i);
    return nOrigin;
}

int CGridCtrl::LineAt(GridAxis axis, int nCoord, int nTopLeft, BOOL bAllowFixed) const
{
    if (nCoord < 0)
        return -1;
    const int nFixed = FixedLineCount(axis);
    const int nFixedExtent = FixedExtent(axis);
    int nFirst = nTopLeft;
    int nLimit = LineCount(axis);
    int nEnd = nFixedExtent;
    if (nCoord < nFixedExtent)
    {
        if (!bAllowFixed)
            return -1;
        nFirst = 0;
        nLimit = nFixed;
        nEnd = 0;
    }
    for (int i = nFirst; i < nLimit; i++)
    {
        nEnd += LineSize(axis, i);
        if (nEnd > nCoord)
            return i;
    }
    return -1;
}

int CGridCtrl::LastVisibleLine(GridAxis axis, int nFirst, int nLimit, int nStart, int nClientEnd,
                               int& nEnd) const
{
    nEnd = nStart;
    int i = nFirst;
    for (; i < nLimit; i++)
    {
        nEnd += LineSize(axis, i);
        if (nEnd >= nClientEnd)
        {
            nEnd = nClientEnd;
            break;
        }
    }
    return std::min(i, nLimit - 1);
}

CRect CGridCtrl::GetClientArea() const
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(rect);
    return rect;
}

// ---- Cell geometry ---------------------------------------------------------------------------

CCellID CGridCtrl::GetTopLeftScrollCell(BOOL bRecompute)
{
    if (m_idTopLeftCell.row == -1 || m_idTopLeftCell.col == -1 || bRecompute)
    {
        m_idTopLeftCell.col = FirstScrolledLine(AxisColumns, GetScrollPos32(SB_HORZ));
        m_idTopLeftCell.row = FirstScrolledLine(AxisRows, GetScrollPos32(SB_VERT));
    }
    return m_idTopLeftCell;
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT pPoint)
{
    if (!IsValid(nRow, nCol))
        return FALSE;
    const CCellID idTopLeft = GetTopLeftScrollCell();
    const int x = LineOrigin(AxisColumns, nCol, idTopLeft.col);
    const int y = LineOrigin(AxisRows, nRow, idTopLeft.row);
    if (x < 0 || y < 0)
        return FALSE;
    pPoint->x = x;
    pPoint->y = y;
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect)
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return FALSE;
    pRect->left = origin.x;
    pRect->top = origin.y;
    pRect->right = origin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = origin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

CPoint CGridCtrl::PointInCell(int nRow, int nCol, CPoint point)
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return CPoint(0, 0);
    return point - origin;
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck)
{
    CCellID cell;
    const CCellID idTopLeft = GetTopLeftScrollCell();
    if (!bAllowFixedCellCheck && !IsValidId(idTopLeft))
        return cell;
    cell.col = LineAt(AxisColumns, point.x, idTopLeft.col, bAllowFixedCellCheck);
    cell.row = LineAt(AxisRows, point.y, idTopLeft.row, bAllowFixedCellCheck);
    return cell;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation)
{
    const CRect rect = GetClientArea();
    const CCellID idTopLeft = GetTopLeftScrollCell(bForceRecalculation);
    int nBottom, nRight;
    const int nMaxRow = LastVisibleLine(AxisRows, idTopLeft.row, m_nRows, GetFixedRowHeight(),
                                        rect.bottom, nBottom);
    const int nMaxCol = LastVisibleLine(AxisColumns, idTopLeft.col, m_nCols,
                                        GetFixedColumnWidth(), rect.right, nRight);
    if (pRect != NULL)
        ::SetRect(pRect, 0, 0, nRight, nBottom);
    return CCellRange(idTopLeft.row, idTopLeft.col, nMaxRow, nMaxCol);
}

CCellRange CGridCtrl::GetVisibleFixedCellRange(LPRECT pRect, BOOL bForceRecalculation)
{
    CRect rectCells;
    CCellRange range = GetVisibleNonFixedCellRange(rectCells, bForceRecalculation);
    int nRight;
    range.m_nMinCol = 0;
    range.m_nMaxCol = LastVisibleLine(AxisColumns, 0, m_nFixedCols, 0, GetClientArea().right, nRight);
    if (pRect != NULL)
        ::SetRect(pRect, 0, 0, nRight, rectCells.bottom);
    return range;
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol)
{
    if (GetSafeHwnd() == NULL)
        return FALSE;
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin))
        return FALSE;
    const CRect rect = GetClientArea();
    return origin.x < rect.right && origin.y < rect.bottom;
}

void CGridCtrl::EnsureVisible(int nRow, int nCol)
{
    if (!m_bAllowDraw || GetSafeHwnd() == NULL || !IsValid(nRow, nCol))
        return;
    // Scrolling ends an edit, which may move the focus.
    const HWND hWndFocus = ::GetFocus();
    const CCellRange visible = GetVisibleNonFixedCellRange();
    ScrollLineIntoView(AxisColumns, nCol, visible);
    ScrollLineIntoView(AxisRows, nRow, visible);
    if (hWndFocus != NULL && ::IsWindow(hWndFocus))
        ::SetFocus(hWndFocus);
}

void CGridCtrl::ScrollLineIntoView(GridAxis axis, int nLine, const CCellRange& visible)
{
    const UINT nMessage = axis == AxisColumns ? WM_HSCROLL : WM_VSCROLL;
    const int nBar = ScrollBarOf(axis);
    const int nFirstVisible = axis == AxisColumns ? visible.m_nMinCol : visible.m_nMinRow;
    const int nLastVisible = axis == AxisColumns ? visible.m_nMaxCol : visible.m_nMaxRow;

    // A line per shown line between the visible ones and the target; fixed lines always show.
    for (int i = nLastVisible + 1; i <= nLine; i++)
        if (LineSize(axis, i) > 0)
            SendMessage(nMessage, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    for (int i = std::max(nLine, FixedLineCount(axis)); i < nFirstVisible; i++)
        if (LineSize(axis, i) > 0)
            SendMessage(nMessage, MAKEWPARAM(SB_LINEUP, 0), 0);

    // Then on while the line is cut at the far edge and the bar still moves.
    const int nFixedExtent = FixedExtent(axis);
    const DWORD dwBarStyle = axis == AxisColumns ? WS_HSCROLL : WS_VSCROLL;
    while ((GetStyle() & dwBarStyle) != 0)
    {
        const CRect rect = GetClientArea();
        const int nClientEnd = axis == AxisColumns ? rect.right : rect.bottom;
        const int nStart = LineOrigin(axis, nLine, LineOf(axis, GetTopLeftScrollCell()));
        const int nEnd = nStart + LineSize(axis, nLine) - 1;
        if (nStart <= nFixedExtent || nEnd < nClientEnd)
            break;
        const int nPos = GetScrollPos32(nBar);
        SendMessage(nMessage, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        if (GetScrollPos32(nBar) == nPos)
            break;
    }
}

// ---- Scroll bars -----------------------------------------------------------------------------

void CGridCtrl::SetRedraw(BOOL bAllowDraw)
{
    if (!bAllowDraw)
    {
        m_nRedrawHolds++;
        m_bAllowDraw = FALSE;
        return;
    }
    if (m_nRedrawHolds == 0 || --m_nRedrawHolds > 0)
        return;
    m_bAllowDraw = TRUE;
    if (m_bScrollBarsHeldBack)
        ResetScrollBars();
    Refresh();
}

namespace
{

// Gives the bar its range and page unless it has them already: setting them redraws the
// bar, even unchanged.
void SetScrollRange32(CWnd& wnd, int nBar, int nMax, int nPage, UINT nFlags, BOOL bForce)
{
    SCROLLINFO si = {};
    if (!bForce && wnd.GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE) && si.nMin == 0 &&
        si.nMax == nMax && si.nPage == (UINT)nPage)
        return;
    si.fMask = SIF_RANGE | SIF_PAGE | nFlags;
    si.nMin = 0;
    si.nMax = nMax;
    si.nPage = (UINT)nPage;
    wnd.SetScrollInfo(nBar, &si, TRUE);
}

} // namespace

void CGridCtrl::ResetScrollBars()
{
    m_idTopLeftCell = CCellID();
    if (!m_bAllowDraw)
    {
        m_bScrollBarsHeldBack = TRUE;
        return;
    }
    m_bScrollBarsHeldBack = FALSE;
    if (GetSafeHwnd() == NULL)
        return;
    const CRect rect = GetClientArea();
    if (rect.IsRectEmpty())
        return;

    const DWORD dwStyle = GetStyle();
    const CSize sizeBars(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL));
    const CSize sizeNoBars(rect.Width() + ((dwStyle & WS_VSCROLL) != 0 ? sizeBars.cx : 0),
                           rect.Height() + ((dwStyle & WS_HSCROLL) != 0 ? sizeBars.cy : 0));
    const CGridScrollLayout layout(sizeNoBars, CSize(GetFixedColumnWidth(), GetFixedRowHeight()),
                                   CSize(GetVirtualWidth(), GetVirtualHeight()), sizeBars);

    if (layout.m_bHideBoth)
    {
        // Empty ranges bring both positions back to the start.
        const BOOL bToggled = EnableScrollBars(SB_BOTH, FALSE);
        m_nHScrollMax = m_nVScrollMax = 0;
        SetScrollRange32(*this, SB_HORZ, 0, 0, 0, bToggled);
        SetScrollRange32(*this, SB_VERT, 0, 0, 0, bToggled);
        m_idTopLeftCell = CCellID();
        return;
    }

    // A bar just shown takes its range again: a disabled one must show disabled.
    const BOOL bVertToggled = EnableScrollBars(SB_VERT, TRUE);
    m_nVScrollMax = layout.m_nVertMax;
    const BOOL bHorzToggled = EnableScrollBars(SB_HORZ, layout.m_bHorz);
    m_nHScrollMax = layout.m_nHorzMax;

    SetScrollRange32(*this, SB_HORZ, m_nHScrollMax, layout.m_nHorzPage, 0, bHorzToggled);
    SetScrollRange32(*this, SB_VERT, m_nVScrollMax, layout.m_nVertPage, SIF_DISABLENOSCROLL,
                     bVertToggled);
    // The new ranges may have moved the positions.
    m_idTopLeftCell = CCellID();
}

BOOL CGridCtrl::EnableScrollBars(int nBar, BOOL bEnable)
{
    if (GetSafeHwnd() == NULL)
        return FALSE;
    BOOL bToggled = FALSE;
    struct
    {
        int nBar;
        DWORD dwStyle;
        int nStateBit;
    } const bars[] = { { SB_HORZ, WS_HSCROLL, 1 }, { SB_VERT, WS_VSCROLL, 2 } };
    for (const auto& bar : bars)
    {
        if (nBar != bar.nBar && nBar != SB_BOTH)
            continue;
        // The window's style says what is shown, whoever showed it.
        const BOOL bShown = (GetStyle() & bar.dwStyle) != 0;
        if (bShown != (bEnable != FALSE))
        {
            ShowScrollBar(bar.nBar, bEnable);
            bToggled = TRUE;
        }
        if (bEnable)
            m_nBarState |= bar.nStateBit;
        else
            m_nBarState &= ~bar.nStateBit;
    }
    return bToggled;
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos)
{
    if (GetSafeHwnd() == NULL)
        return 0;
    SCROLLINFO si = {};
    if (!GetScrollInfo(nBar, &si, bGetTrackPos ? SIF_TRACKPOS : SIF_POS))
        return 0;
    return bGetTrackPos ? si.nTrackPos : si.nPos;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw)
{
    m_idTopLeftCell = CCellID();
    if (GetSafeHwnd() == NULL)
        return FALSE;
    SCROLLINFO si = {};
    si.fMask = SIF_POS;
    si.nPos = nPos;
    return SetScrollInfo(nBar, &si, bRedraw);
}

int CGridCtrl::GetMouseScrollLines()
{
    int nScrollLines = 3;
    OSVERSIONINFOW osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (::GetVersionExW(&osvi) &&
        !(osvi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && osvi.dwMinorVersion == 0))
    {
        UINT nLines;
        if (::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &nLines, 0))
            nScrollLines = (int)nLines;
        return nScrollLines;
    }

    HKEY hKey;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE,
                        &hKey) != ERROR_SUCCESS)
        return nScrollLines;
    WCHAR szData[128] = {};
    DWORD cbData = sizeof(szData) - sizeof(WCHAR);
    if (::RegQueryValueExW(hKey, L"WheelScrollLines", NULL, NULL, (LPBYTE)szData, &cbData) ==
        ERROR_SUCCESS)
    {
        int nValue = 0;
        for (const WCHAR* p = szData; *p >= L'0' && *p <= L'9'; p++)
            nValue = nValue * 10 + (*p - L'0');
        nScrollLines = nValue;
    }
    ::RegCloseKey(hKey);
    return nScrollLines;
}

// ---- Messages --------------------------------------------------------------------------------

void CGridCtrl::OnSize(UINT nType, int cx, int cy)
{
    static BOOL s_bInProcedure = FALSE;
    if (s_bInProcedure || GetSafeHwnd() == NULL)
        return;
    s_bInProcedure = TRUE;
    m_DropTarget.RegisterGrid(this);
    EndEditing();
    CWnd::OnSize(nType, cx, cy);
    ResetScrollBars();
    s_bInProcedure = FALSE;
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    OnScroll(AxisColumns, nSBCode);
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT, CScrollBar*)
{
    OnScroll(AxisRows, nSBCode);
}

void CGridCtrl::OnScroll(GridAxis axis, UINT nSBCode)
{
    EndEditing();
    HideTitleTip();

    const int nBar = ScrollBarOf(axis);
    const int nPos = GetScrollPos32(nBar);
    const CCellID idTopLeft = GetTopLeftScrollCell();
    const int nTopLeft = LineOf(axis, idTopLeft);
    const CRect rect = GetClientArea();
    const int nFixed = FixedLineCount(axis);
    const int nFixedExtent = FixedExtent(axis);
    const int nMax = axis == AxisColumns ? m_nHScrollMax : m_nVScrollMax;
    const int nPage = (axis == AxisColumns ? rect.Width() : rect.Height()) - nFixedExtent;
    // Scrolling redraws the non-fixed part only.
    CRect rectScroll = rect;
    if (axis == AxisColumns)
        rectScroll.left = nFixedExtent;
    else
        rectScroll.top = nFixedExtent;

    switch (nSBCode)
    {
    case SB_LINEUP:
        if (nPos > 0 && nTopLeft > nFixed)
        {
            int nLine = nTopLeft - 1;
            while (nLine >= nFixed && LineSize(axis, nLine) == 0)
                nLine--;
            if (nLine >= nFixed)
            {
                SetScrollPos32(nBar, std::max(0, nPos - LineSize(axis, nLine)));
                InvalidateRect(rectScroll);
            }
        }
        break;
    case SB_LINEDOWN:
        if (nPos < nMax)
        {
            int nLine = nTopLeft;
            while (nLine < LineCount(axis) && LineSize(axis, nLine) == 0)
                nLine++;
            if (nLine < LineCount(axis))
            {
                SetScrollPos32(nBar, nPos + LineSize(axis, nLine));
                if (GetScrollPos32(nBar) != nPos)
                    InvalidateRect(rectScroll);
            }
        }
        break;
    case SB_PAGEUP:
        if (nPos > 0)
        {
            SetScrollPos32(nBar, std::max(0, nPos - nPage));
            InvalidateRect(rectScroll);
        }
        break;
    case SB_PAGEDOWN:
        if (nPos < nMax)
        {
            SetScrollPos32(nBar, std::min(nMax, nPos + nPage));
            InvalidateRect(rectScroll);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
        if (GetTopLeftScrollCell() != idTopLeft)
            InvalidateRect(rectScroll);
        break;
    case SB_TOP:
        if (nPos > 0)
        {
            SetScrollPos32(nBar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM:
        if (nPos < nMax)
        {
            SetScrollPos32(nBar, nMax);
            Invalidate();
        }
        break;
    default:
        break;
    }
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    int nCount;
    UINT nCode;
    if (m_nRowsPerWheelNotch == -1)
    {
        nCount = zDelta / WHEEL_DELTA;
        nCode = nCount > 0 ? SB_PAGEUP : SB_PAGEDOWN;
    }
    else
    {
        nCount = m_nRowsPerWheelNotch * zDelta / WHEEL_DELTA;
        nCode = nCount > 0 ? SB_LINEUP : SB_LINEDOWN;
    }
    for (int i = 0; i < std::abs(nCount); i++)
        PostMessage(WM_VSCROLL, MAKEWPARAM(nCode, 0), 0);
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}
