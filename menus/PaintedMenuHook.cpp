#include "PaintedMenuHook.h"

#include "AfxException.h"
#include "MenuTheme.h"
#include "PaintedMenu.h"
#include "PaintedMenuLibrary.h"
#include <map>

namespace
{
const WCHAR kOldProcProperty[] = L"OldMenuProc";
const WCHAR kMenuWindowClass[] = L"#32768";
// Asks a popup menu window for its menu.
const UINT kGetMenuMessage = 0x01E1;
// Sent by Windows when it sizes a popup menu window it shows again.
const UINT kSizeMenuMessage = 0x01E2;

HHOOK s_hHook = NULL;
int s_nHookUsers = 0;

std::map<HWND, CPaintedMenuHook::CMenuHookData*>& HookDataMap()
{
    static std::map<HWND, CPaintedMenuHook::CMenuHookData*> s_map;
    return s_map;
}

WNDPROC OldMenuProc(HWND hWnd)
{
    return (WNDPROC)::GetPropW(hWnd, kOldProcProperty);
}

BOOL IsMenuWindow(HWND hWnd)
{
    WCHAR szClass[21] = L"";
    ::GetClassNameW(hWnd, szClass, 20);
    return ::lstrcmpW(szClass, kMenuWindowClass) == 0;
}

BOOL ThemeDrawsBorder(CMenuTheme* pTheme)
{
    return pTheme != NULL && pTheme->DoDrawBorder();
}

// The theme paints the window after the system's own painting: on Wine the popup has no
// non-client area and its frame and background are painted in WM_PAINT.
void PaintThemedWindow(HWND hWnd, CMenuTheme* pTheme, HDC hDC)
{
    // The margins round the items take the background the theme erases with.
    RECT rectFirst, rectLast;
    HMENU hMenu = CPaintedMenuHook::FindMenuHookData(hWnd)->m_hMenu;
    const int nCount = ::GetMenuItemCount(hMenu);
    RECT rectWindow;
    ::GetWindowRect(hWnd, &rectWindow);
    const int nSaved = ::SaveDC(hDC);
    if (nCount > 0 && ::GetMenuItemRect(hWnd, hMenu, 0, &rectFirst) &&
        ::GetMenuItemRect(hWnd, hMenu, (UINT)(nCount - 1), &rectLast))
    {
        RECT rectItems;
        ::UnionRect(&rectItems, &rectFirst, &rectLast);
        ::OffsetRect(&rectItems, -rectWindow.left, -rectWindow.top);
        ::ExcludeClipRect(hDC, rectItems.left, rectItems.top, rectItems.right, rectItems.bottom);
    }
    pTheme->OnEraseBkgnd(hWnd, hDC);
    ::RestoreDC(hDC, nSaved);
    pTheme->OnNcPaint(hWnd, hDC, FALSE);
}

void PaintThemedWindow(HWND hWnd, CMenuTheme* pTheme)
{
    if (HDC hDC = ::GetWindowDC(hWnd))
    {
        PaintThemedWindow(hWnd, pTheme, hDC);
        ::ReleaseDC(hWnd, hDC);
    }
}

// The themed picture of the window for WM_PRINT: the theme's frame, the old procedure's
// printing inside it, then the client area erased and printed again.
LRESULT PrintThemedWindow(HWND hWnd, WNDPROC pOldProc, CMenuTheme* pTheme, HDC hDC,
                          LPARAM nFlags)
{
    CPaintedMenuHook::CMenuHookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    pData->m_dwFlags |= CPaintedMenuHook::CMenuHookData::flagPrinting;
    LRESULT lResult = 0;
    if (PaintedMenuLibrary().bWine)
    {
        lResult = ::CallWindowProcW(pOldProc, hWnd, WM_PRINT, (WPARAM)hDC, nFlags);
        PaintThemedWindow(hWnd, pTheme, hDC);
    }
    else
    {
        RECT rectWindow, rectClient;
        ::GetWindowRect(hWnd, &rectWindow);
        const int cx = rectWindow.right - rectWindow.left, cy = rectWindow.bottom - rectWindow.top;
        HDC hMemDC = ::CreateCompatibleDC(hDC);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, cx, cy);
        HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
        pTheme->OnNcPaint(hWnd, hMemDC, FALSE);
        RECT rectInner;
        if (pTheme->GetMenuWindowRect(hWnd, &rectInner))
        {
            ::OffsetRect(&rectInner, -rectWindow.left, -rectWindow.top);
            ::InflateRect(&rectInner, -1, -1);
            const int nSaved = ::SaveDC(hMemDC);
            ::IntersectClipRect(hMemDC, rectInner.left, rectInner.top, rectInner.right,
                                rectInner.bottom);
            lResult = ::CallWindowProcW(pOldProc, hWnd, WM_PRINT, (WPARAM)hMemDC,
                                        nFlags & ~PRF_CLIENT);
            ::RestoreDC(hMemDC, nSaved);
            ::BitBlt(hDC, 0, 0, cx, cy, hMemDC, 0, 0, SRCCOPY);
            // The client area, at its place in the window.
            ::GetClientRect(hWnd, &rectClient);
            POINT ptClient = {0, 0};
            ::ClientToScreen(hWnd, &ptClient);
            ptClient.x -= rectWindow.left;
            ptClient.y -= rectWindow.top;
            const int nClientSaved = ::SaveDC(hMemDC);
            ::SetViewportOrgEx(hMemDC, ptClient.x, ptClient.y, NULL);
            ::IntersectClipRect(hMemDC, 0, 0, rectClient.right, rectClient.bottom);
            ::SendMessageW(hWnd, WM_ERASEBKGND, (WPARAM)hMemDC, 0);
            ::SendMessageW(hWnd, WM_PRINTCLIENT, (WPARAM)hMemDC, nFlags);
            ::RestoreDC(hMemDC, nClientSaved);
            ::BitBlt(hDC, ptClient.x, ptClient.y, rectClient.right - 1, rectClient.bottom, hMemDC,
                     ptClient.x, ptClient.y, SRCCOPY);
        }
        ::SelectObject(hMemDC, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hMemDC);
    }
    pData->m_dwFlags &= ~CPaintedMenuHook::CMenuHookData::flagPrinting;
    return lResult;
}

// The themed non-client painting where the popup has a frame of its own: the theme paints
// the frame, the old procedure only what lies inside it.
LRESULT PaintThemedFrame(HWND hWnd, WNDPROC pOldProc, CMenuTheme* pTheme)
{
    LRESULT lResult = 0;
    HDC hDC = ::GetWindowDC(hWnd);
    RECT rectInner;
    if (pTheme->OnNcPaint(hWnd, hDC, FALSE) && pTheme->GetMenuWindowRect(hWnd, &rectInner))
    {
        ::InflateRect(&rectInner, -1, -1);
        HRGN hRegion = ::CreateRectRgnIndirect(&rectInner);
        lResult = ::CallWindowProcW(pOldProc, hWnd, WM_NCPAINT, (WPARAM)hRegion, 0);
        ::DeleteObject(hRegion);
        pTheme->OnNcPaint(hWnd, hDC, TRUE);
    }
    ::ReleaseDC(hWnd, hDC);
    return lResult;
}

// The program's own windows over a copy of the screen, as they look.
struct OwnWindowsCopy
{
    HDC hCopyDC;
    HWND hPopup;       // the popup the copy is for, not on the screen yet
    RECT rectScreen;   // what the copy holds
};

// The display may lag behind the windows: on Wine a window is drawn into a picture that
// reaches the display later, so that right after a popup closes, the display still shows it
// where the windows beneath have not been sent again. Each window of the thread gives the
// part of it that shows on the screen from its own picture.
BOOL CALLBACK CopyOwnWindow(HWND hWnd, LPARAM lParam)
{
    const OwnWindowsCopy& copy = *(const OwnWindowsCopy*)lParam;
    RECT rectWindow, rectShared;
    if (hWnd == copy.hPopup || !::IsWindowVisible(hWnd) || !::GetWindowRect(hWnd, &rectWindow) ||
        !::IntersectRect(&rectShared, &rectWindow, &copy.rectScreen))
        return TRUE;
    HDC hDC = ::GetDCEx(hWnd, NULL, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS);
    if (hDC == NULL)
        return TRUE;
    HRGN hVisible = ::CreateRectRgn(0, 0, 0, 0);
    // The visible region comes in screen coordinates.
    if (::GetRandomRgn(hDC, hVisible, SYSRGN) == 1)
    {
        ::OffsetRgn(hVisible, -copy.rectScreen.left, -copy.rectScreen.top);
        const int nSaved = ::SaveDC(copy.hCopyDC);
        ::SelectClipRgn(copy.hCopyDC, hVisible);
        ::BitBlt(copy.hCopyDC, rectShared.left - copy.rectScreen.left,
                 rectShared.top - copy.rectScreen.top, rectShared.right - rectShared.left,
                 rectShared.bottom - rectShared.top, hDC, rectShared.left - rectWindow.left,
                 rectShared.top - rectWindow.top, SRCCOPY);
        ::RestoreDC(copy.hCopyDC, nSaved);
    }
    ::DeleteObject(hVisible);
    ::ReleaseDC(hWnd, hDC);
    return TRUE;
}
}

// ---- CMenuHookData ------------------------------------------------------------------------

CPaintedMenuHook::CMenuHookData::CMenuHookData()
    : m_nSavedStyle(0), m_nSavedExStyle(0), m_ptScreen(0, 0), m_dwFlags(0),
      m_bFramePainted(FALSE), m_hMenu(NULL), m_hBackground(NULL), m_hSavedRegion((HRGN)1),
      m_bThemed(FALSE)
{
}

CPaintedMenuHook::CMenuHookData::~CMenuHookData()
{
    if (m_hSavedRegion != (HRGN)1 && m_hSavedRegion != NULL)
        ::DeleteObject(m_hSavedRegion);
    DeleteBackground();
}

void CPaintedMenuHook::CMenuHookData::Attach(HMENU hMenu)
{
    m_hMenu = hMenu;
    m_bThemed = TRUE;
}

void CPaintedMenuHook::CMenuHookData::DeleteBackground()
{
    if (m_hBackground != NULL)
        ::DeleteObject(m_hBackground);
    m_hBackground = NULL;
}

// ---- Subclassing --------------------------------------------------------------------------

CPaintedMenuHook::CMenuHookData* CPaintedMenuHook::FindMenuHookData(HWND hWnd)
{
    auto it = HookDataMap().find(hWnd);
    return it != HookDataMap().end() ? it->second : NULL;
}

int CPaintedMenuHook::GetSubclassedWindowCount()
{
    return (int)HookDataMap().size();
}

BOOL CPaintedMenuHook::SubclassMenuWindow(HWND hWnd, BOOL bOnSizing, HMENU hCreateMenu)
{
    if (!IsMenuWindow(hWnd))
        return FALSE;
    PaintedMenuLibraryState& library = PaintedMenuLibrary();
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    BOOL bResult = FALSE;
    if (FindMenuHookData(hWnd) == NULL)
    {
        // The window's own menu first: a popup opened by TrackPopupMenu is made before its
        // owner hears of it, so that the handle remembered then may belong to another menu.
        // The remembered handle serves once, and only when the window cannot tell.
        HMENU hMenu = (HMENU)::SendMessageW(hWnd, kGetMenuMessage, 0, 0);
        if (!::IsMenu(hMenu))
            hMenu = ::IsMenu(hCreateMenu) ? hCreateMenu : library.hInitPopup;
        library.hInitPopup = NULL;
        if (CPaintedMenu::FromHandleOwned(hMenu) == NULL)
            return FALSE;
        WNDPROC pOldProc = (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
        if (::GetPropW(hWnd, kOldProcProperty) != NULL ||
            !::SetPropW(hWnd, kOldProcProperty, (HANDLE)pOldProc) ||
            OldMenuProc(hWnd) != pOldProc)
            return FALSE;
        ::GlobalAddAtomW(kOldProcProperty);

        CMenuHookData* pData = new CMenuHookData;
        pData->m_nSavedStyle = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
        pData->m_nSavedExStyle = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
        pData->m_dwFlags = bOnSizing ? CMenuHookData::flagSubclassedOnSizing : 0;
        pData->m_hMenu = hMenu;
        pData->m_bThemed = TRUE;
        HookDataMap()[hWnd] = pData;
        ::SetLastError(0);
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)PaintedMenuWindowProc);
        if (pTheme != NULL)
            pTheme->OnInitWnd(hWnd);
        bResult = TRUE;
    }
    else if (library.hInitPopup != NULL)
    {
        // A window shown again for another menu.
        FindMenuHookData(hWnd)->Attach(library.hInitPopup);
        library.hInitPopup = NULL;
        if (pTheme != NULL)
            pTheme->OnInitWnd(hWnd);
    }
    return bResult;
}

void CPaintedMenuHook::UnsubclassMenuWindow(HWND hWnd)
{
    if (WNDPROC pOldProc = OldMenuProc(hWnd))
    {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)pOldProc);
        ::RemovePropW(hWnd, kOldProcProperty);
        if (ATOM atom = ::GlobalFindAtomW(kOldProcProperty))
            ::GlobalDeleteAtom(atom);
    }
    CMenuHookData* pData = FindMenuHookData(hWnd);
    if (pData == NULL)
        return;
    if (CMenuTheme* pTheme = GetCurrentMenuTheme())
        pTheme->OnUnInitWnd(hWnd);
    HookDataMap().erase(hWnd);
    delete pData;
}

// ---- The hook and the window procedure ----------------------------------------------------

LRESULT CALLBACK CPaintedMenuHook::PaintedMenuHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION)
    {
        const CWPSTRUCT* pMsg = (const CWPSTRUCT*)lParam;
        if (pMsg->message == WM_CREATE)
        {
            const CREATESTRUCTW* pCreate = (const CREATESTRUCTW*)pMsg->lParam;
            SubclassMenuWindow(pMsg->hwnd, FALSE,
                               pCreate != NULL ? (HMENU)pCreate->lpCreateParams : NULL);
        }
        else if (pMsg->message == kSizeMenuMessage)
        {
            SubclassMenuWindow(pMsg->hwnd, TRUE);
        }
    }
    return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CPaintedMenuHook::PaintedMenuWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                         LPARAM lParam)
{
    WNDPROC pOldProc = OldMenuProc(hWnd);
    CMenuHookData* pData = FindMenuHookData(hWnd);
    if (pOldProc == NULL)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    if (pData == NULL)
        return ::CallWindowProcW(pOldProc, hWnd, nMsg, wParam, lParam);
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    const BOOL bWine = PaintedMenuLibrary().bWine;
    const BOOL bBorder = pData->m_bThemed && ThemeDrawsBorder(pTheme);

    switch (nMsg)
    {
    case WM_ERASEBKGND:
        if (pData->m_bThemed && pTheme != NULL)
        {
            if (bBorder && !bWine && !(pData->m_dwFlags & CMenuHookData::flagPrinting) &&
                !pData->m_bFramePainted)
            {
                pData->m_bFramePainted = TRUE;
                ::SendMessageW(hWnd, WM_NCPAINT, 1, 0);
            }
            if (pTheme->OnEraseBkgnd(hWnd, (HDC)wParam))
                return 1;
        }
        break;
    case WM_PAINT:
        if (bBorder && bWine)
        {
            const LRESULT lResult = ::CallWindowProcW(pOldProc, hWnd, nMsg, wParam, lParam);
            PaintThemedWindow(hWnd, pTheme);
            return lResult;
        }
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            UnsubclassMenuWindow(hWnd);
        break;
    case WM_NCDESTROY:
        UnsubclassMenuWindow(hWnd);
        break;
    case WM_WINDOWPOSCHANGING:
    {
        WINDOWPOS* pPos = (WINDOWPOS*)lParam;
        // Once only: a size change repeated at each sizing would pile up.
        if (pData->m_bThemed && pTheme != NULL && !(pPos->flags & SWP_NOSIZE) &&
            !(pData->m_dwFlags & CMenuHookData::flagSized))
        {
            pTheme->OnCalcNcSize(hWnd, pPos);
            pData->m_dwFlags |= CMenuHookData::flagSized;
        }
        // The screen behind the window is taken before the window first shows on it.
        if (!(pPos->flags & SWP_NOMOVE) && !::IsWindowVisible(hWnd))
        {
            if (pData->m_ptScreen != CPoint(pPos->x, pPos->y))
                pData->DeleteBackground();
            pData->m_ptScreen = CPoint(pPos->x, pPos->y);
            if (bBorder && !(pPos->flags & SWP_NOSIZE))
            {
                const SIZE size = {pPos->cx, pPos->cy};
                pData->DeleteBackground();
                CaptureWindowBackground(pTheme, hWnd, &size);
            }
        }
        break;
    }
    case WM_WINDOWPOSCHANGED:
    {
        const WINDOWPOS* pPos = (const WINDOWPOS*)lParam;
        if (!(pPos->flags & SWP_NOMOVE) && pData->m_ptScreen != CPoint(pPos->x, pPos->y))
        {
            if (pData->m_ptScreen == CPoint(0, 0))
            {
                pData->m_ptScreen = CPoint(pPos->x, pPos->y);
            }
            else if (pPos->flags & SWP_NOSIZE)
            {
                pData->m_ptScreen = CPoint(pPos->x, pPos->y);
                pData->DeleteBackground();
            }
            else
            {
                UnsubclassMenuWindow(hWnd);
            }
        }
        break;
    }
    case WM_NCCALCSIZE:
        if (pData->m_bThemed && pTheme != NULL && !bWine)
            pTheme->OnCalcFrameRect(hWnd, (LPRECT)lParam);
        break;
    case WM_PRINT:
        if (bBorder)
            return PrintThemedWindow(hWnd, pOldProc, pTheme, (HDC)wParam, lParam);
        break;
    case WM_NCPAINT:
        if (bBorder && !bWine)
        {
            if (pData->m_bFramePainted)
                return PaintThemedFrame(hWnd, pOldProc, pTheme);
            CaptureWindowBackground(pTheme, hWnd);
        }
        break;
    default:
        break;
    }
    return ::CallWindowProcW(pOldProc, hWnd, nMsg, wParam, lParam);
}

// ---- Painting -----------------------------------------------------------------------------

CPaintedMenuHook::CMenuHookData* CaptureWindowBackground(CMenuTheme*, HWND hWnd,
                                                         const SIZE* pSize)
{
    CPaintedMenuHook::CMenuHookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    if (pData == NULL || pData->m_hBackground != NULL)
        return pData;
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    const int cx = (pSize != NULL ? pSize->cx : rect.right - rect.left) + 10;
    const int cy = (pSize != NULL ? pSize->cy : rect.bottom - rect.top) + 10;
    HWND hDesktop = ::GetDesktopWindow();
    HDC hScreen = ::GetWindowDC(hDesktop);
    HDC hMemDC = ::CreateCompatibleDC(hScreen);
    pData->m_hBackground = ::CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = ::SelectObject(hMemDC, pData->m_hBackground);
    ::BitBlt(hMemDC, 0, 0, cx, cy, hScreen, pData->m_ptScreen.x, pData->m_ptScreen.y, SRCCOPY);
    OwnWindowsCopy copy = {hMemDC, hWnd,
                           {pData->m_ptScreen.x, pData->m_ptScreen.y, pData->m_ptScreen.x + cx,
                            pData->m_ptScreen.y + cy}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CopyOwnWindow, (LPARAM)&copy);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(hDesktop, hScreen);
    return pData;
}

void DrawFrameRect(HDC hDC, const RECT& o, const RECT& i, COLORREF cr)
{
    const RECT bands[] = {
        {o.left, o.top, o.right, i.top},
        {o.left, i.bottom, o.right, o.bottom},
        {o.left, o.top, i.left, o.bottom},
        {i.right - 1, o.top, o.right, o.bottom},
    };
    const COLORREF crOld = ::SetBkColor(hDC, cr);
    for (const RECT& band : bands)
        if (band.right > band.left && band.bottom > band.top)
            ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &band, NULL, 0, NULL);
    ::SetBkColor(hDC, crOld);
}

BOOL InstallPaintedMenuHook()
{
    if (s_hHook == NULL)
        s_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, CPaintedMenuHook::PaintedMenuHookProc,
                                      NULL, ::GetCurrentThreadId());
    if (s_hHook == NULL)
        return FALSE;
    s_nHookUsers++;
    return TRUE;
}

void RemovePaintedMenuHook()
{
    if (s_nHookUsers == 0 || --s_nHookUsers > 0)
        return;
    ::UnhookWindowsHookEx(s_hHook);
    s_hHook = NULL;
}
