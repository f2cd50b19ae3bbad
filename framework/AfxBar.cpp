#include "AfxBar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(1), m_cyBottomBorder(1),
      m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(NULL), m_pDockBar(NULL),
      m_pDockContext(NULL), m_bAutoDelete(FALSE), m_nStateFlags(0)
{
}

CControlBar::~CControlBar()
{
    // While the object is still a control bar, so that OnDestroy unlinks it.
    DestroyWindow();
    delete m_pDockContext;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBorders(LPCRECT lpRect)
{
    SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (m_pDockContext == NULL)
        m_pDockContext = new CDockContext(this);
}

BOOL CControlBar::IsFloating() const
{
    return m_pDockBar != NULL && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != NULL ? pFrame : m_pDockSite;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayShow)
        return TRUE;
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (GetStyle() & WS_VISIBLE) != 0;
}

BOOL CControlBar::IsDockBar() const
{
    return FALSE;
}

BOOL CControlBar::IsHorzLayout() const
{
    return (m_dwStyle & CBRS_ORIENT_VERT) == 0;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += cxBorderLine;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += cxBorderLine;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= cxBorderLine;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= cxBorderLine;

    // The borders are along and across the bar: a vertical bar turns them.
    if (bHorz)
    {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    }
    else
    {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }

    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER)
    {
        if (bHorz)
            rect.left += cxGripperBand;
        else
            rect.top += cxGripperBand;
    }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    CSize size(rectInside.left - rectInside.right, rectInside.top - rectInside.bottom);
    if (bStretch)
    {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

INT_PTR CControlBar::OnToolHitTest(CPoint, TOOLINFO*) const
{
    return -1;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    DWORD dwStyle = GetStyle();
    if ((m_nStateFlags & (delayHide | delayShow)) == 0)
        return dwStyle;
    BOOL bShow = (m_nStateFlags & delayShow) != 0;
    if (lpLayout->hDWP != NULL)
    {
        m_nStateFlags &= ~(delayHide | delayShow);
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, NULL, 0, 0, 0, 0,
                                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                              SWP_NOACTIVATE |
                                              (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    return bShow ? (dwStyle | WS_VISIBLE) : (dwStyle & ~WS_VISIBLE);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    // A shadow line on the outside; beside it a highlight (etched, CBRS_BORDER_3D) or the
    // bar's face.
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF clrInner = ::GetSysColor((m_dwStyle & CBRS_BORDER_3D) ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
    if (m_dwStyle & CBRS_BORDER_TOP)
    {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, clrShadow);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, clrInner);
        rect.top += cxBorderLine;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
    {
        pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, clrInner);
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, clrShadow);
        rect.bottom -= cxBorderLine;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT)
    {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), clrShadow);
        pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), clrInner);
        rect.left += cxBorderLine;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT)
    {
        pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), clrInner);
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), clrShadow);
        rect.right -= cxBorderLine;
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER)
        return;
    // A raised bar, 3 pixels thick, across the start of the bar.
    CRect rectGrip;
    if (IsHorzLayout())
        rectGrip.SetRect(rect.left + 3, rect.top + 2, rect.left + 6, rect.bottom - 2);
    else
        rectGrip.SetRect(rect.left + 2, rect.top + 3, rect.right - 2, rect.top + 6);
    if (rectGrip.IsRectEmpty())
        return;
    COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    pDC->FillSolidRect(&rectGrip, ::GetSysColor(COLOR_BTNFACE));
    pDC->FillSolidRect(rectGrip.left, rectGrip.top, rectGrip.Width(), 1, clrHilite);
    pDC->FillSolidRect(rectGrip.left, rectGrip.top, 1, rectGrip.Height(), clrHilite);
    pDC->FillSolidRect(rectGrip.left, rectGrip.bottom - 1, rectGrip.Width(), 1, clrShadow);
    pDC->FillSolidRect(rectGrip.right - 1, rectGrip.top, 1, rectGrip.Height(), clrShadow);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // The frame the bar is made in keeps it for good: owner, dock site, layout.
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->IsFrameWnd())
    {
        m_pDockSite = static_cast<CFrameWnd*>(pParent);
        m_pDockSite->AddControlBar(this);
        if (m_hWndOwner == NULL)
            SetOwner(pParent);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    // Both still exist: a parent gets WM_DESTROY before its children, an owner after the
    // windows it owns.
    if (m_pDockBar != NULL)
        m_pDockBar->RemoveControlBar(this);
    if (m_pDockSite != NULL)
        m_pDockSite->RemoveControlBar(this);
    CWnd::OnDestroy();
}

LRESULT CControlBar::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    RECT* pRect = wParam ? &((NCCALCSIZE_PARAMS*)lParam)->rgrc[0] : (RECT*)lParam;
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, IsHorzLayout());
    // Negative borders (SetHeight) make the bar smaller than its contents, which are cut;
    // they never widen the client area past the window.
    pRect->left += std::max<LONG>(0, rectInside.left);
    pRect->top += std::max<LONG>(0, rectInside.top);
    pRect->right -= std::max<LONG>(0, -rectInside.right);
    pRect->bottom -= std::max<LONG>(0, -rectInside.bottom);
    if (pRect->right < pRect->left)
        pRect->right = pRect->left;
    if (pRect->bottom < pRect->top)
        pRect->bottom = pRect->top;
    return 0;
}

void CControlBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectClient;
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);
    dc.FillSolidRect(&rectWindow, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, rectWindow);
    DrawGripper(&dc, rectWindow);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC)
{
    // Right on a frame, a themed control would show the frame's window-coloured background
    // through; in a dock bar, the dock bar's.
    if (m_pDockBar == NULL && !IsDockBar())
    {
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
        return TRUE;
    }
    return (BOOL)Default();
}

LRESULT CControlBar::OnNcHitTest(CPoint)
{
    // The gripper and borders take the mouse like the rest of the bar (OnLButtonDown).
    return HTCLIENT;
}

void CControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDockContext != NULL && m_pDockBar != NULL && OnToolHitTest(point, NULL) == -1)
    {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_pDockContext != NULL && m_pDockBar != NULL && OnToolHitTest(point, NULL) == -1)
    {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if (!(dwStyle & WS_VISIBLE) || !(m_dwStyle & CBRS_ALIGN_ANY))
        return 0;

    // The bar takes a strip of its side from what the bars before it left.
    CRect rect(lpLayout->rect);
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CSize size = CalcFixedLayout(lpLayout->bStretch, bHorz);
    size.cx = std::min<LONG>(size.cx, rect.Width());
    size.cy = std::min<LONG>(size.cy, rect.Height());
    if (bHorz)
    {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max<LONG>(lpLayout->sizeTotal.cx, size.cx);
        if (m_dwStyle & CBRS_ALIGN_TOP)
        {
            lpLayout->rect.top += size.cy;
        }
        else
        {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    }
    else
    {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max<LONG>(lpLayout->sizeTotal.cy, size.cy);
        if (m_dwStyle & CBRS_ALIGN_LEFT)
        {
            lpLayout->rect.left += size.cx;
        }
        else
        {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (lpLayout->hDWP != NULL)
        AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A DelayShow no layout has carried out yet.
    if (m_nStateFlags & (delayHide | delayShow))
    {
        BOOL bShow = (m_nStateFlags & delayShow) != 0;
        m_nStateFlags &= ~(delayHide | delayShow);
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }

    // Only what the user can see: the bar, and the dock bar holding it.
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    if (m_pDockBar != NULL && !(m_pDockBar->GetStyle() & WS_VISIBLE))
        return 0;
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = pOwner != NULL && pOwner->IsFrameWnd() ? static_cast<CFrameWnd*>(pOwner)
                                                                 : GetParentFrame();
    if (pTarget != NULL)
        OnUpdateCmdUI(pTarget, (BOOL)wParam);
    return 0;
}
