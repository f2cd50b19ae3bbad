#include "TitleTip.h"

#include "AfxApp.h"
#include "AfxResource.h"
#include "AfxException.h"

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CTitleTip::CTitleTip()
    : m_pParentWnd(NULL), m_rectHover(0, 0, 0, 0), m_dwLastLButtonDown(0xFFFFFFFF),
      m_dwDblClickMsecs(::GetDoubleClickTime()), m_bCreated(FALSE), m_rectText(0, 0, 0, 0),
      m_nFormat(DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP), m_crText(CLR_DEFAULT),
      m_crBack(CLR_DEFAULT)
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wndcls = {};
    if (::GetClassInfoW(hInst, TITLETIP_CLASSNAME, &wndcls))
        return;
    wndcls.style = CS_SAVEBITS;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wndcls.hbrBackground = (HBRUSH)(COLOR_INFOBK + 1);
    wndcls.lpszClassName = TITLETIP_CLASSNAME;
    if (!::RegisterClassW(&wndcls))
        AfxThrowResourceException();
}

CTitleTip::~CTitleTip()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CTitleTip::Create(CWnd* pParentWnd)
{
    if (m_bCreated && m_hWnd != NULL)
        return TRUE;
    m_pParentWnd = pParentWnd;
    m_bCreated = CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TITLETIP_CLASSNAME, NULL,
                          WS_POPUP | WS_BORDER, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, NULL, NULL);
    return m_bCreated;
}

BOOL CTitleTip::DestroyWindow()
{
    m_bCreated = FALSE;
    return CWnd::DestroyWindow();
}

HFONT CTitleTip::TipFont() const
{
    if (m_font.GetSafeHandle() != NULL)
        return (HFONT)m_font.GetSafeHandle();
    return (HFONT)m_pParentWnd->SendMessage(WM_GETFONT, 0, 0);
}

CRect CTitleTip::ScreenAround(CPoint point)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcMonitor;
    return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

void CTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset, LPRECT lpHoverRect,
                     const LOGFONT* lpLogFont, COLORREF crTextClr, COLORREF crBackClr,
                     UINT nFormat)
{
    if (m_pParentWnd->GetSafeHwnd() == NULL || (m_hWnd == NULL && !Create(m_pParentWnd)))
        return;
    if (rectTitle.IsRectEmpty() || IsWindowVisible())
        return;

    m_rectHover = lpHoverRect != NULL ? CRect(*lpHoverRect) : rectTitle;
    m_rectHover.right++;
    m_rectHover.bottom++;
    m_pParentWnd->ClientToScreen(m_rectHover);

    // Another program is in front: its window is not to be covered.
    if (::GetFocus() == NULL)
        return;

    m_pParentWnd->ClientToScreen(rectTitle);
    const CString strTitle = lpszTitleText != NULL ? lpszTitleText : L"";
    m_strText = L" " + strTitle + L" ";
    m_font.DeleteObject();
    if (lpLogFont != NULL)
        m_font.CreateFontIndirect(lpLogFont);
    CClientDC dc(this);
    HFONT hFont = TipFont();
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const int nTextWidth = dc.GetTextExtent(strTitle, strTitle.GetLength()).cx;
    const int nSpace = dc.GetTextExtent(L" ", 1).cx;
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);

    if (rectTitle.left + xoffset + nTextWidth + xoffset + tm.tmOverhang <= rectTitle.right - xoffset)
        return;

    // The whole text lies where the cell's DrawText puts the part it shows, a space on
    // either side.
    rectTitle.OffsetRect(xoffset, 0);
    int xText = rectTitle.left;
    if ((nFormat & DT_CENTER) != 0)
        xText = (rectTitle.left + rectTitle.right - nTextWidth) / 2;
    else if ((nFormat & DT_RIGHT) != 0)
        xText = rectTitle.right - nTextWidth;
    CRect rectClient(xText - nSpace, rectTitle.top, xText + nTextWidth + nSpace + tm.tmOverhang,
                     rectTitle.bottom);
    CRect rectWindow = rectClient;
    ::AdjustWindowRectEx(rectWindow, GetStyle(), FALSE, GetExStyle());
    // Kept on the screen, where it gives up lying on the cell's text.
    const CRect rectScreen = ScreenAround(rectTitle.TopLeft());
    int nShift = 0;
    if (rectWindow.right > rectScreen.right)
        nShift = rectScreen.right - rectWindow.right;
    if (rectWindow.left + nShift < rectScreen.left)
        nShift = rectScreen.left - rectWindow.left;
    rectWindow.OffsetRect(nShift, 0);
    rectClient.OffsetRect(nShift, 0);

    m_rectText = rectTitle;
    m_rectText.OffsetRect(-rectClient.TopLeft());
    // One line, as the cell shows it, and whole.
    m_nFormat = nFormat & (DT_CENTER | DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_BOTTOM);
    if ((m_nFormat & DT_SINGLELINE) == 0)
        m_nFormat = (m_nFormat & ~(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
    m_nFormat |= DT_NOPREFIX | DT_NOCLIP;
    m_crText = crTextClr;
    m_crBack = crBackClr;

    SetWindowPos(&wndTopMost, rectWindow.left, rectWindow.top, rectWindow.Width(),
                 rectWindow.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // Painted now: the tip is there while the mouse rests.
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SetCapture();
}

void CTitleTip::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(rect);
    if (m_crBack != CLR_DEFAULT)
        dc.FillSolidRect(rect, m_crBack);
    dc.SetTextColor(m_crText != CLR_DEFAULT ? m_crText : ::GetSysColor(COLOR_INFOTEXT));
    dc.SetBkMode(TRANSPARENT);
    HFONT hFont = TipFont();
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    const CString strTitle = m_strText.Mid(1, m_strText.GetLength() - 2);
    CRect rectText = m_rectText;
    dc.DrawText(strTitle, strTitle.GetLength(), rectText, m_nFormat);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

void CTitleTip::Hide()
{
    if (m_hWnd == NULL)
        return;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ShowWindow(SW_HIDE);
}

CWnd* CTitleTip::WindowBelow(CPoint pointScreen)
{
    CWnd* pWnd = WindowFromPoint(pointScreen);
    return pWnd->GetSafeHwnd() == m_hWnd ? m_pParentWnd : pWnd;
}

void CTitleTip::OnMouseMove(UINT nFlags, CPoint point)
{
    CPoint pointScreen = point;
    ClientToScreen(&pointScreen);
    if (m_rectHover.PtInRect(pointScreen))
        return;
    Hide();
    // The move belongs to the window under the mouse.
    CWnd* pWnd = WindowBelow(pointScreen);
    if (pWnd->GetSafeHwnd() == NULL)
        return;
    const LRESULT nHitTest =
        pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pointScreen.x, pointScreen.y));
    if (nHitTest == HTCLIENT)
    {
        CPoint pointClient = pointScreen;
        pWnd->ScreenToClient(&pointClient);
        pWnd->PostMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(pointClient.x, pointClient.y));
    }
    else
    {
        pWnd->PostMessage(WM_NCMOUSEMOVE, (WPARAM)nHitTest,
                          MAKELPARAM(pointScreen.x, pointScreen.y));
    }
}

BOOL CTitleTip::PreTranslateMessage(MSG* pMsg)
{
    switch (pMsg->message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_pParentWnd->GetSafeHwnd() != NULL)
            m_pParentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    {
        UINT nMessage = pMsg->message;
        if (nMessage == WM_LBUTTONDOWN)
        {
            const DWORD dwTick = ::GetTickCount();
            if (dwTick - m_dwLastLButtonDown <= m_dwDblClickMsecs)
                nMessage = WM_LBUTTONDBLCLK;
            m_dwLastLButtonDown = dwTick;
        }
        CPoint point((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
        ClientToScreen(&point);
        Hide();
        CWnd* pWnd = WindowBelow(point);
        if (pWnd->GetSafeHwnd() == NULL)
            return CWnd::PreTranslateMessage(pMsg);
        const LRESULT nHitTest = pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
        WPARAM wParam = pMsg->wParam;
        if (nHitTest == HTCLIENT)
        {
            pWnd->ScreenToClient(&point);
        }
        else
        {
            // A press on the frame: the non-client message of the same button.
            nMessage = nMessage == WM_RBUTTONDOWN   ? WM_NCRBUTTONDOWN
                       : nMessage == WM_MBUTTONDOWN ? WM_NCMBUTTONDOWN
                                                    : WM_NCLBUTTONDOWN;
            wParam = (WPARAM)nHitTest;
        }
        pWnd->PostMessage(nMessage, wParam, MAKELPARAM(point.x, point.y));
        return TRUE;
    }
    default:
        break;
    }
    if (::GetFocus() == NULL)
    {
        Hide();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}
