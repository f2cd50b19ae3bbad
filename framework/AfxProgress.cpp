#include "AfxProgress.h"

#include <commctrl.h>

#include "AfxApp.h"
#include "AfxResource.h"
#include "AfxWin.h"

namespace
{
const int kNoteWidth = 380;
const int kNoteHeight = 96;
const int kMargin = 12;
const int kTextHeight = 20;
const int kBarHeight = 18;
}   // namespace

CProgressNote::~CProgressNote()
{
    Hide();
}

void CProgressNote::Show(LPCTSTR lpszText)
{
    if (m_hWnd != NULL)
    {
        ::SetWindowTextW(m_hText, lpszText);
        Paint();
        return;
    }
    CWnd* pMain = AfxGetMainWnd();
    HWND hOwner = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
    // A picture named on the command line opens before the main window shows: the note then
    // stands alone in the middle of the work area, so that a start is never silent.
    RECT rectOwner;
    if (hOwner != NULL && ::IsWindowVisible(hOwner))
        ::GetWindowRect(hOwner, &rectOwner);
    else
    {
        hOwner = NULL;
        if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rectOwner, 0))
            return;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(NULL, (LPCWSTR)IDC_WAIT),
                                            (HBRUSH)(COLOR_BTNFACE + 1));
    const int x = (rectOwner.left + rectOwner.right - kNoteWidth) / 2;
    const int y = (rectOwner.top + rectOwner.bottom - kNoteHeight) / 2;
    m_hWnd = ::CreateWindowExW(WS_EX_DLGMODALFRAME, lpszClass, AfxGetAppName(),
                               WS_POPUP | WS_CAPTION, x, y, kNoteWidth, kNoteHeight, hOwner,
                               NULL, AfxGetInstanceHandle(), NULL);
    if (m_hWnd == NULL)
        return;
    RECT rectClient;
    ::GetClientRect(m_hWnd, &rectClient);
    const int nInner = rectClient.right - 2 * kMargin;
    m_hText = ::CreateWindowExW(0, L"STATIC", lpszText,
                                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                kMargin, kMargin, nInner, kTextHeight, m_hWnd, NULL,
                                AfxGetInstanceHandle(), NULL);
    m_hBar = ::CreateWindowExW(0, PROGRESS_CLASSW, NULL, WS_CHILD | WS_VISIBLE, kMargin,
                               kMargin + kTextHeight + 4, nInner, kBarHeight, m_hWnd, NULL,
                               AfxGetInstanceHandle(), NULL);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_hFont = ::CreateFontIndirectW(&metrics.lfMessageFont);
    if (m_hFont != NULL && m_hText != NULL)
        ::SendMessageW(m_hText, WM_SETFONT, (WPARAM)m_hFont, FALSE);
    if (m_hBar != NULL)
        ::SendMessageW(m_hBar, PBM_SETRANGE32, 0, 100);
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    Paint();
}

void CProgressNote::SetPercent(int nPercent)
{
    if (m_hWnd == NULL)
        return;
    ::SendMessageW(m_hBar, PBM_SETPOS, (WPARAM)(nPercent < 0 ? 0 : nPercent > 100 ? 100 : nPercent),
                   0);
    Paint();
}

void CProgressNote::Paint()
{
    ::RedrawWindow(m_hWnd, NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Only the note's own messages: the display driver takes its events meanwhile and
    // shows what was painted, while the rest of the program waits for the operation.
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

void CProgressNote::Hide()
{
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
    m_hWnd = m_hText = m_hBar = NULL;
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    m_hFont = NULL;
}
