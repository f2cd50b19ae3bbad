#include "AfxBar.h"

#include <algorithm>

const AFX_DOCKBAR_SIDE dwDockBarMap[4] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_TOP },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT },
};

namespace {

using DockSide = AFX_DOCKBAR_SIDE;
const DockSide (&kDockSides)[4] = dwDockBarMap;

const DWORD kFloatingFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kFloatingFrameExStyle = WS_EX_TOOLWINDOW;

// The window rectangle of a floating frame around a client area of that size, placed so
// that the client area starts at (0, 0).
CRect FloatingFrameRect(CSize sizeClient)
{
    CRect rect(CPoint(0, 0), sizeClient);
    ::AdjustWindowRectEx(&rect, kFloatingFrameStyle, FALSE, kFloatingFrameExStyle);
    return rect;
}

CDockBar* DockBarOf(CFrameWnd* pFrame, UINT nID)
{
    CControlBar* pBar = pFrame->GetControlBar(nID);
    return pBar != NULL && pBar->IsDockBar() ? static_cast<CDockBar*>(pBar) : NULL;
}

LONG Clamp(LONG n, LONG nMin, LONG nMax)
{
    return std::max<LONG>(nMin, std::min<LONG>(n, nMax));
}

} // namespace

// ---- CDockBar ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating), m_bKeepSizes(FALSE)
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
    // Frames make their dock bars with new and leave them to go with their windows.
    m_bAutoDelete = TRUE;
}

CDockBar::~CDockBar() {}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    // The bars' face colour shows between and beside the bars.
    CString strClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_BTNFACE + 1));
    return CWnd::Create(strClass, NULL, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CDockBar::IsDockBar() const
{
    return TRUE;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

int CDockBar::GetDockedCount() const
{
    int nCount = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        if (m_arrBars[i] != NULL)
            nCount++;
    }
    return nCount;
}

int CDockBar::GetDockedVisibleCount() const
{
    int nCount = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = (CControlBar*)m_arrBars[i];
        if (pBar != NULL && pBar->IsVisible())
            nCount++;
    }
    return nCount;
}

void CDockBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    // Empty, the dock bar takes no room at all, border lines included.
    if (GetDockedVisibleCount() > 0)
        CControlBar::CalcInsideRect(rect, bHorz);
}

CSize CDockBar::LayoutBars(BOOL bMove)
{
    // Rows across the side; in each row the visible bars one after the other along it.
    BOOL bHorz = IsHorzLayout();
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = bMove ? ::BeginDeferWindowPos((int)m_arrBars.GetSize()) : NULL;
    LONG nRowStart = 0;
    LONG nAlong = 0;
    LONG nThick = 0;
    LONG nLongest = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        CControlBar* pBar = (CControlBar*)m_arrBars[i];
        if (pBar == NULL)
        {
            nRowStart += nThick;
            nLongest = std::max(nLongest, nAlong);
            nAlong = nThick = 0;
            continue;
        }
        if (!(pBar->RecalcDelayShow(&layout) & WS_VISIBLE))
            continue;
        CSize size;
        if (bMove && (size_t)i < m_measuredSizes.size() && m_measuredSizes[(size_t)i].cx >= 0)
        {
            size = m_measuredSizes[(size_t)i];
        }
        else
        {
            size = pBar->CalcFixedLayout(FALSE, bHorz);
            if (m_bKeepSizes)
            {
                m_measuredSizes.resize((size_t)m_arrBars.GetSize(), CSize(-1, -1));
                m_measuredSizes[(size_t)i] = size;
            }
        }
        CRect rect = bHorz ? CRect(CPoint(nAlong, nRowStart), size)
                           : CRect(CPoint(nRowStart, nAlong), size);
        if (layout.hDWP != NULL)
            AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
        nAlong += bHorz ? size.cx : size.cy;
        nThick = std::max<LONG>(nThick, bHorz ? size.cy : size.cx);
    }
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);
    return bHorz ? CSize(nLongest, nRowStart) : CSize(nRowStart, nLongest);
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = LayoutBars(FALSE) + CControlBar::CalcFixedLayout(FALSE, bHorz);
    if (bStretch)
    {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    m_measuredSizes.clear();
    m_bKeepSizes = TRUE;
    LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
    m_bKeepSizes = FALSE;
    // The bars are children of this window: their places do not depend on where it goes.
    if (lpLayout->hDWP != NULL)
        LayoutBars(TRUE);
    m_measuredSizes.clear();
    return lResult;
}

void CDockBar::InsertBar(CControlBar* pBar, LPCRECT lpRect)
{
    INT_PTR nInsert = m_arrBars.GetSize();
    BOOL bNewRow = TRUE;
    if (lpRect != NULL)
    {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        BOOL bHorz = IsHorzLayout();
        // The rectangle's middle picks the row, its start the place in the row.
        LONG nAcross = bHorz ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
        LONG nStart = bHorz ? rect.left : rect.top;
        if (nAcross < 0)
        {
            nInsert = 0;
        }
        else
        {
            LONG nRowStart = 0;
            LONG nAlong = 0;
            LONG nThick = 0;
            INT_PTR nBefore = -1;
            for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
            {
                CControlBar* pOther = (CControlBar*)m_arrBars[i];
                if (pOther == NULL)
                {
                    if (nThick > 0 && nAcross < nRowStart + nThick)
                    {
                        nInsert = nBefore >= 0 ? nBefore : i;
                        bNewRow = FALSE;
                        break;
                    }
                    nRowStart += nThick;
                    nAlong = nThick = 0;
                    nBefore = -1;
                    continue;
                }
                if (!pOther->IsVisible())
                    continue;
                CSize size = pOther->CalcFixedLayout(FALSE, bHorz);
                LONG nLength = bHorz ? size.cx : size.cy;
                if (nBefore < 0 && nStart < nAlong + nLength / 2)
                    nBefore = i;
                nAlong += nLength;
                nThick = std::max<LONG>(nThick, bHorz ? size.cy : size.cx);
            }
        }
    }
    if (bNewRow)
        m_arrBars.InsertAt(nInsert, (void*)NULL);
    m_arrBars.InsertAt(nInsert, pBar);
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    CDockBar* pOldDockBar = pBar->m_pDockBar;
    if (pOldDockBar != NULL)
        pOldDockBar->RemoveControlBar(pBar);

    // The bar lies the way this side runs, and floats with a floating dock bar. The dock
    // bar draws the lines between the bars and the rest of the frame.
    pBar->m_dwStyle = (pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING | CBRS_BORDER_ANY)) |
                      (m_dwStyle & CBRS_ALIGN_ANY) | (m_bFloating ? CBRS_FLOATING : 0);
    InsertBar(pBar, lpRect);
    pBar->m_pDockBar = this;
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        ::SetParent(pBar->m_hWnd, m_hWnd);
    // Gripper and borders follow the new side.
    pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    if (pOldDockBar != NULL && pOldDockBar != this && pOldDockBar->m_bFloating &&
        pOldDockBar->GetDockedCount() == 0)
    {
        // The floating frame it left is empty (and deletes itself and its dock bar).
        if (CWnd* pFrame = pOldDockBar->GetParent())
            pFrame->DestroyWindow();
    }
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar)
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    {
        if (m_arrBars[i] != pBar)
            continue;
        m_arrBars.RemoveAt(i);
        // A row left empty goes too.
        if (i < m_arrBars.GetSize() && m_arrBars[i] == NULL && (i == 0 || m_arrBars[i - 1] == NULL))
            m_arrBars.RemoveAt(i);
        if (pBar->m_pDockBar == this)
            pBar->m_pDockBar = NULL;
        return TRUE;
    }
    return FALSE;
}

// ---- Floating frames ----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

CMiniFrameWnd::CMiniFrameWnd() {}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle = (cs.dwExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW;
    return TRUE;
}

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivateMessage)
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
    m_wndDockBar.m_bAutoDelete = FALSE;   // a member, gone with the frame object
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    // Failing, the window's end deletes the object.
    if (!CreateEx(kFloatingFrameExStyle, NULL, L"", kFloatingFrameStyle, CRect(0, 0, 0, 0),
                  pParent, 0))
        return FALSE;
    DWORD dwDockStyle =
        (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | dwDockStyle, AFX_IDW_DOCKBAR_FLOAT))
    {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

CControlBar* CMiniDockFrameWnd::FirstBar() const
{
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); i++)
    {
        if (CControlBar* pBar = (CControlBar*)m_wndDockBar.m_arrBars[i])
            return pBar;
    }
    return NULL;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_wndDockBar.m_hWnd == NULL)
        return;
    m_bInRecalcLayout = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);

    // The dock bar at the client's corner, as large as its bars; the frame fits around it.
    AFX_SIZEPARENTPARAMS layout = {};
    ::SetRect(&layout.rect, 0, 0, 32767, 32767);
    layout.bStretch = FALSE;
    layout.hDWP = ::BeginDeferWindowPos(1);
    m_wndDockBar.SendMessage(WM_SIZEPARENT, 0, (LPARAM)&layout);
    if (layout.hDWP != NULL)
        ::EndDeferWindowPos(layout.hDWP);

    if (m_wndDockBar.GetDockedVisibleCount() == 0)
    {
        if (IsWindowVisible())
            ShowWindow(SW_HIDE);
    }
    else
    {
        for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); i++)
        {
            CControlBar* pBar = (CControlBar*)m_wndDockBar.m_arrBars[i];
            if (pBar != NULL && pBar->IsVisible())
            {
                // The caption names the bar.
                CString strTitle;
                CString strOld;
                pBar->GetWindowText(strTitle);
                GetWindowText(strOld);
                if (strTitle != strOld)
                    SetWindowText(strTitle);
                break;
            }
        }
        CRect rect = FloatingFrameRect(layout.sizeTotal);
        SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!IsWindowVisible())
            ShowWindow(SW_SHOWNA);
    }
    m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing hides the bars, and the frame with them; it stays for their return.
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); i++)
    {
        if (CControlBar* pBar = (CControlBar*)m_wndDockBar.m_arrBars[i])
            pBar->DelayShow(FALSE);
    }
    RecalcLayout();
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    CControlBar* pBar = FirstBar();
    if (wParam == HTCAPTION && pBar != NULL && pBar->m_pDockContext != NULL)
    {
        // The frame may be gone when the drag ends (its bar docked): nothing of it is used
        // afterwards.
        pBar->m_pDockContext->StartDrag(CPoint(lParam));
        return 0;
    }
    return Default();
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDblClk(WPARAM wParam, LPARAM)
{
    CControlBar* pBar = FirstBar();
    if (wParam == HTCAPTION && pBar != NULL && pBar->m_pDockContext != NULL)
    {
        pBar->m_pDockContext->ToggleDocking();
        return 0;
    }
    return Default();
}

LRESULT CMiniDockFrameWnd::OnMouseActivateMessage(WPARAM, LPARAM)
{
    // Its buttons work without taking the activation from the frame they serve.
    return MA_NOACTIVATE;
}

// ---- CDockContext --------------------------------------------------------------------------------

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(NULL), m_dwDockStyle(0), m_uMRUDockID(0),
      m_rectMRUDockPos(0, 0, 0, 0), m_bMRUFloatPos(FALSE), m_bDrawnThick(FALSE),
      m_pDockTarget(NULL), m_hbrHalftone(NULL)
{
}

CDockContext::~CDockContext()
{
    if (m_hbrHalftone != NULL)
        ::DeleteObject(m_hbrHalftone);
}

void CDockContext::StartDrag(CPoint pt)
{
    m_pDockSite = m_pBar->m_pDockSite;
    if (m_pDockSite == NULL)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;

    // Measuring the other side's layout rewraps a bar of dynamic size: its own comes last.
    if (m_pBar->m_dwStyle & CBRS_ORIENT_VERT)
    {
        m_sizeHorz = m_pBar->CalcFixedLayout(FALSE, TRUE);
        m_sizeVert = m_pBar->CalcFixedLayout(FALSE, FALSE);
    }
    else
    {
        m_sizeVert = m_pBar->CalcFixedLayout(FALSE, FALSE);
        m_sizeHorz = m_pBar->CalcFixedLayout(FALSE, TRUE);
    }

    // The cursor keeps its place along the bar in both outlines; across, it keeps it in
    // the outline of the bar's own side and is in the middle of the other.
    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    CSize sizeGrab = pt - rectBar.TopLeft();
    BOOL bVert = (m_pBar->m_dwStyle & CBRS_ORIENT_VERT) != 0;
    LONG nAlong = bVert ? sizeGrab.cy : sizeGrab.cx;
    LONG nAcross = bVert ? sizeGrab.cx : sizeGrab.cy;
    m_sizeGrabHorz.cx = Clamp(nAlong, 0, m_sizeHorz.cx - 1);
    m_sizeGrabHorz.cy = bVert ? m_sizeHorz.cy / 2 : Clamp(nAcross, 0, m_sizeHorz.cy - 1);
    m_sizeGrabVert.cy = Clamp(nAlong, 0, m_sizeVert.cy - 1);
    m_sizeGrabVert.cx = bVert ? Clamp(nAcross, 0, m_sizeVert.cx - 1) : m_sizeVert.cx / 2;
    if (m_pBar->IsFloating())
    {
        CRect rectFrame;
        m_pBar->GetParentFrame()->GetWindowRect(&rectFrame);
        m_sizeFloat = rectFrame.Size();
        m_sizeGrabFloat = pt - rectFrame.TopLeft();
    }
    else
    {
        CRect rectFrame = FloatingFrameRect(m_sizeHorz);
        m_sizeFloat = rectFrame.Size();
        m_sizeGrabFloat = m_sizeGrabHorz - rectFrame.TopLeft();
    }

    if (m_hbrHalftone == NULL)
    {
        static const WORD kPattern[8] = { 0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                          0x5555, 0xAAAA, 0x5555, 0xAAAA };
        HBITMAP hbmPattern = ::CreateBitmap(8, 8, 1, 1, kPattern);
        m_hbrHalftone = ::CreatePatternBrush(hbmPattern);
        ::DeleteObject(hbmPattern);
    }

    m_rectDrawn.SetRectEmpty();
    m_pDockTarget = NULL;
    m_pBar->SetCapture();
    Move(pt);

    BOOL bDrop = FALSE;
    HWND hWndBar = m_pBar->m_hWnd;
    while (::GetCapture() == hWndBar)
    {
        MSG msg;
        if (!::GetMessageW(&msg, NULL, 0, 0))
        {
            ::PostQuitMessage((int)msg.wParam);   // for the loop outside
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP)
        {
            // Where the message puts the cursor, not where it is now.
            CPoint ptMsg(msg.lParam);
            ::ClientToScreen(msg.hwnd, &ptMsg);
            Move(ptMsg);
            if (msg.message == WM_LBUTTONUP)
            {
                bDrop = TRUE;
                break;
            }
        }
        else if (msg.message == WM_RBUTTONDOWN ||
                 (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
        {
            break;
        }
        else if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_CHAR)
        {
            ::DispatchMessageW(&msg);
        }
    }
    EndDrag(bDrop);
}

CDockBar* CDockContext::FindDockBar(const CRect& rectHorz, const CRect& rectVert,
                                    CRect& rectDock) const
{
    for (const DockSide& side : kDockSides)
    {
        if (!(m_dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY))
            continue;
        CDockBar* pDockBar = DockBarOf(m_pDockSite, side.nID);
        if (pDockBar == NULL || !pDockBar->IsWindowVisible())
            continue;
        // An empty dock bar is a line along the frame's edge; the outline has to cross it.
        CRect rectBar;
        pDockBar->GetWindowRect(&rectBar);
        if (rectBar.right == rectBar.left)
            rectBar.right++;
        if (rectBar.bottom == rectBar.top)
            rectBar.bottom++;
        const CRect& rectOutline = (side.dwStyle & CBRS_ORIENT_HORZ) ? rectHorz : rectVert;
        CRect rectMeet;
        if (rectMeet.IntersectRect(&rectBar, &rectOutline))
        {
            rectDock = rectOutline;
            return pDockBar;
        }
    }
    return NULL;
}

void CDockContext::Move(CPoint pt)
{
    m_ptLast = pt;
    CRect rectHorz(pt - m_sizeGrabHorz, m_sizeHorz);
    CRect rectVert(pt - m_sizeGrabVert, m_sizeVert);
    m_pDockTarget = FindDockBar(rectHorz, rectVert, m_rectDock);
    CRect rectNew = m_pDockTarget != NULL ? m_rectDock : CRect(pt - m_sizeGrabFloat, m_sizeFloat);
    BOOL bThick = m_pDockTarget == NULL;
    if (rectNew == m_rectDrawn && bThick == m_bDrawnThick)
        return;
    DrawOutline(TRUE);
    m_rectDrawn = rectNew;
    m_bDrawnThick = bThick;
    DrawOutline(FALSE);
}

void CDockContext::DrawOutline(BOOL)
{
    // Drawn by inverting the screen, so the same call takes it away again.
    if (m_rectDrawn.IsRectEmpty())
        return;
    HDC hDC = ::GetDCEx(NULL, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (hDC == NULL)
        return;
    int n = m_bDrawnThick ? 3 : 1;
    const CRect& r = m_rectDrawn;
    HGDIOBJ hOldBrush = ::SelectObject(hDC, m_hbrHalftone);
    ::PatBlt(hDC, r.left, r.top, r.Width(), n, PATINVERT);
    ::PatBlt(hDC, r.left, r.bottom - n, r.Width(), n, PATINVERT);
    ::PatBlt(hDC, r.left, r.top + n, n, r.Height() - 2 * n, PATINVERT);
    ::PatBlt(hDC, r.right - n, r.top + n, n, r.Height() - 2 * n, PATINVERT);
    ::SelectObject(hDC, hOldBrush);
    ::ReleaseDC(NULL, hDC);
}

void CDockContext::EndDrag(BOOL bDrop)
{
    DrawOutline(TRUE);
    CRect rectDrop = m_rectDrawn;
    m_rectDrawn.SetRectEmpty();
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (!bDrop || rectDrop.IsRectEmpty())
        return;
    if (m_pDockTarget != NULL)
        m_pDockSite->DockControlBar(m_pBar, m_pDockTarget, &rectDrop);
    else
        m_pDockSite->FloatControlBar(m_pBar, rectDrop.TopLeft(), CBRS_ALIGN_TOP);
}

void CDockContext::ToggleDocking()
{
    m_pDockSite = m_pBar->m_pDockSite;
    if (m_pDockSite == NULL)
        return;
    if (m_pBar->IsFloating())
    {
        // Back where it was docked last, or else on the first side it may take.
        CDockBar* pDockBar = m_uMRUDockID != 0 ? DockBarOf(m_pDockSite, m_uMRUDockID) : NULL;
        for (const DockSide& side : kDockSides)
        {
            if (pDockBar == NULL && (m_pBar->m_dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY))
                pDockBar = DockBarOf(m_pDockSite, side.nID);
        }
        if (pDockBar != NULL)
            m_pDockSite->DockControlBar(m_pBar, pDockBar,
                                        m_rectMRUDockPos.IsRectEmpty() ? NULL : &m_rectMRUDockPos);
    }
    else if (m_pBar->m_pDockBar != NULL)
    {
        // Where it floated last, or else a little below and right of where it lies.
        CPoint pt = m_ptMRUFloatPos;
        if (!m_bMRUFloatPos)
        {
            CRect rectBar;
            m_pBar->GetWindowRect(&rectBar);
            pt = rectBar.TopLeft() + CSize(16, 16);
        }
        m_pDockSite->FloatControlBar(m_pBar, pt, CBRS_ALIGN_TOP);
    }
}

// ---- CFrameWnd's bars ----------------------------------------------------------------------------

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    for (const DockSide& side : kDockSides)
    {
        if (!(dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID) != NULL)
            continue;
        CDockBar* pDockBar = new CDockBar;   // deleted with its window, or when it fails
        if (!pDockBar->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE |
                                        side.dwStyle,
                              side.nID))
            AfxThrowResourceException();
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = NULL;
    if (nDockBarID != 0)
    {
        pDockBar = DockBarOf(this, nDockBarID);
    }
    else
    {
        for (const DockSide& side : kDockSides)
        {
            if ((side.dwStyle & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
                pDockBar = DockBarOf(this, side.nID);
        }
    }
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (pBar == NULL || pDockBar == NULL)
        return;
    pDockBar->DockControlBar(pBar, lpRect);
    if (pDockBar->m_bFloating)
    {
        if (CFrameWnd* pFrame = pDockBar->GetParentFrame())
            pFrame->RecalcLayout();
    }
    RecalcLayout();
    if (!pDockBar->m_bFloating && pBar->m_pDockContext != NULL)
    {
        pBar->m_pDockContext->m_uMRUDockID = (UINT)pDockBar->GetDlgCtrlID();
        pBar->GetWindowRect(&pBar->m_pDockContext->m_rectMRUDockPos);
    }
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (pBar == NULL)
        return;
    DWORD dwDockStyle =
        (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    CDockBar* pDockBar = pBar->m_pDockBar;
    if (pDockBar != NULL && pDockBar->m_bFloating && pDockBar->GetDockedCount() == 1 &&
        (pDockBar->m_dwStyle & CBRS_ALIGN_ANY) == dwDockStyle)
    {
        CFrameWnd* pFrame = pDockBar->GetParentFrame();
        pFrame->SetWindowPos(NULL, point.x, point.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pFrame->RecalcLayout();
    }
    else
    {
        CObject* pObject = m_pFloatingFrameClass != NULL ? m_pFloatingFrameClass->CreateObject() : NULL;
        if (pObject == NULL || !pObject->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        {
            delete pObject;
            AfxThrowResourceException();
        }
        CMiniDockFrameWnd* pFrame = static_cast<CMiniDockFrameWnd*>(pObject);
        if (!pFrame->Create(this, dwStyle))
            AfxThrowResourceException();   // the frame deleted itself
        pFrame->SetWindowPos(NULL, point.x, point.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pFrame->m_wndDockBar.DockControlBar(pBar);
        pFrame->RecalcLayout();
        RecalcLayout();
    }
    if (pBar->m_pDockContext != NULL)
    {
        pBar->m_pDockContext->m_ptMRUFloatPos = point;
        pBar->m_pDockContext->m_bMRUFloatPos = TRUE;
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    pBar->DelayShow(bShow);
    if (pFrame == NULL)
        return;
    if (bDelay)
        pFrame->DelayRecalcLayout();
    else
        pFrame->RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos != NULL)
    {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if ((UINT)pBar->GetDlgCtrlID() == nID)
            return pBar;
    }
    return NULL;
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != NULL)
        m_listControlBars.RemoveAt(pos);
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTTDISPINFOW* pTTT = (NMTTDISPINFOW*)pNMHDR;
    UINT nID = (UINT)pNMHDR->idFrom;
    if (pTTT->uFlags & TTF_IDISHWND)
        nID = (UINT)::GetDlgCtrlID((HWND)pNMHDR->idFrom);
    // 0xE000 to 0xE0FF hold the framework's own strings (the application's title, the idle
    // message): never a command's prompt, whatever command has the same id.
    if (nID >= 0xE000 && nID <= 0xE0FF)
        return FALSE;
    CString strTip;
    if (nID != 0)   // a separator
    {
        CString strFull;
        if (!strFull.LoadString(nID))
            return FALSE;
        AfxExtractSubString(strTip, strFull, 1, L'\n');
    }
    lstrcpynW(pTTT->szText, strTip, ARRAYSIZE(pTTT->szText));
    pTTT->lpszText = pTTT->szText;
    *pResult = 0;
    // Above the floating frames, which are popups too.
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}
