#include "PaintedDockBar.h"

#include "AfxException.h"
#include "AfxGdi.h"
#include "PaintedMenuSymbols.h"

IMPLEMENT_DYNCREATE(CPaintedDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CPaintedDockBar, CDockBar)
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

void CPaintedDockBar::CreateDockBars(CFrameWnd* pFrame, DWORD dwDockStyle)
{
    for (const AFX_DOCKBAR_SIDE& side : dwDockBarMap)
    {
        if (!(dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(side.nID))
            continue;
        CPaintedDockBar* pDockBar = new CPaintedDockBar;   // goes with its window
        if (!pDockBar->Create(pFrame,
                              WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE |
                                  side.dwStyle,
                              side.nID))
            AfxThrowResourceException();
    }
}

BOOL CPaintedDockBar::OnEraseBkgnd(CDC* pDC)
{
    HBRUSH hBrush = GetMenuBackBrush();
    if (hBrush == NULL)
        return CDockBar::OnEraseBkgnd(pDC);
    // Aligned with the frame, so that a gradient runs on from the menu bar without a seam.
    CRect rectParent, rectBar;
    GetParent()->GetWindowRect(&rectParent);
    GetWindowRect(&rectBar);
    ::UnrealizeObject(hBrush);
    POINT oldOrigin;
    ::SetBrushOrgEx(pDC->m_hDC, rectParent.left - rectBar.left, 0, &oldOrigin);
    RECT rectClip;
    ::GetClipBox(pDC->m_hDC, &rectClip);
    ::FillRect(pDC->m_hDC, &rectClip, hBrush);
    ::SetBrushOrgEx(pDC->m_hDC, oldOrigin.x, oldOrigin.y, NULL);
    return TRUE;
}

void CPaintedDockBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rectWindow, rectClient;
    GetWindowRect(&rectWindow);
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    ::ExcludeClipRect(dc.m_hDC, rectClient.left, rectClient.top, rectClient.right,
                      rectClient.bottom);
    ::IntersectClipRect(dc.m_hDC, rectWindow.left, rectWindow.top, rectWindow.right,
                        rectWindow.bottom);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
    DrawGripper(&dc, rectWindow);
}
