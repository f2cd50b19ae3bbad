#include "PaintedFrameWnd.h"

IMPLEMENT_DYNCREATE(CPaintedFrameWnd, CFrameWnd)

BOOL CPaintedFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                              const RECT& rect, CWnd* pParentWnd, LPCTSTR lpszMenuName,
                              DWORD dwExStyle, CCreateContext* pContext)
{
    if (lpszMenuName != NULL)
    {
        m_menuBar.LoadMenu(lpszMenuName);
        if (m_menuBar.GetSafeHmenu() == NULL)
        {
            PostNcDestroy();   // as the window's end would
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName;
    // Modular, as the base frame's: CW_USEDEFAULT survives the subtraction.
    const int nWidth = (int)((UINT)rect.right - (UINT)rect.left);
    const int nHeight = (int)((UINT)rect.bottom - (UINT)rect.top);
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, nWidth,
                  nHeight, pParentWnd->GetSafeHwnd(), m_menuBar.GetSafeHmenu(),
                  (LPVOID)pContext))
        return FALSE;
    RedrawMenuBar(m_menuBar.GetSafeHmenu());
    return TRUE;
}
