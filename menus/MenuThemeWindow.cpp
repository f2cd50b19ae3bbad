// The menu themes' popup window operations: the styles of a subclassed popup, its frame and
// background, its own shadow, and its joint with the open menu-bar item.
#include "MenuTheme.h"

#include "MenuColours.h"
#include "PaintedMenu.h"
#include "PaintedMenuHook.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include <vector>

namespace
{
const UINT_PTR kFadeTimer = 4660;
const int kShadow = 4;

typedef CPaintedMenuHook::CMenuHookData HookData;

CRect WindowSize(HWND hWnd)
{
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    return CRect(0, 0, rect.Width(), rect.Height());
}

// The client rectangle in window coordinates.
CRect ClientInWindow(HWND hWnd)
{
    CRect rectWindow, rectClient;
    ::GetWindowRect(hWnd, &rectWindow);
    ::GetClientRect(hWnd, &rectClient);
    ::MapWindowPoints(hWnd, NULL, (LPPOINT)&rectClient, 2);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    return rectClient;
}

// The client rectangle the erasing fills: widened to the left over the popup's own margin.
CRect ErasedRect(HWND hWnd, BOOL bBorder)
{
    CRect rect;
    ::GetClientRect(hWnd, &rect);
    rect.left -= 2;
    if (bBorder)
        rect.right -= 1;
    return rect;
}

// A rectangle of a strip of the shadow, computed pixel by pixel from the background.
void PaintShadowStrip(HDC hDC, HDC hBackDC, const CRect& strip, int w, int t, BOOL bPalette)
{
    if (strip.IsRectEmpty())
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = strip.Width();
    info.bmiHeader.biHeight = -strip.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hStrip = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hStrip == NULL)
        return;
    HDC hStripDC = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOld = ::SelectObject(hStripDC, hStrip);
    ::BitBlt(hStripDC, 0, 0, strip.Width(), strip.Height(), hBackDC, strip.left, strip.top,
             SRCCOPY);
    ::GdiFlush();
    DWORD* pPixels = (DWORD*)pBits;
    for (int y = strip.top; y < strip.bottom; y++)
        for (int x = strip.left; x < strip.right; x++)
        {
            DWORD& pixel = pPixels[(y - strip.top) * strip.Width() + (x - strip.left)];
            const COLORREF crBack = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
            const COLORREF cr = bPalette ? MenuShadowPixelPalette(crBack, x, y, w, t)
                                         : MenuShadowPixel(crBack, x, y, w, t);
            pixel = ((DWORD)GetRValue(cr) << 16) | ((DWORD)GetGValue(cr) << 8) | GetBValue(cr);
        }
    ::BitBlt(hDC, strip.left, strip.top, strip.Width(), strip.Height(), hStripDC, 0, 0,
             SRCCOPY);
    ::SelectObject(hStripDC, hOld);
    ::DeleteDC(hStripDC);
    ::DeleteObject(hStrip);
}
}

COLORREF MenuShadowPixel(COLORREF crBackground, int x, int y, int w, int t)
{
    if (x >= w - kShadow && x < w)
    {
        const int n = w - x;
        const int s = 6 * n;
        if (y >= t - kShadow && y < t)
            return DarkenColour(6 * n * (t - y), crBackground);
        if (y >= 8 && y <= t - 5)
            return DarkenColour(30 * n, crBackground);
        if (y >= 4 && y < 8)
            return DarkenColour(s * (y - 3), crBackground);
        return crBackground;
    }
    if (y >= t - kShadow && y < t && x >= 0 && x < w - kShadow)
    {
        const int n = t - y;
        if (x >= 8 && x <= w - 5)
            return DarkenColour(30 * n, crBackground);
        if (x >= 4 && x < 8)
            return DarkenColour(6 * n * (x - 3), crBackground);
    }
    return crBackground;
}

COLORREF MenuShadowPixelPalette(COLORREF crBackground, int x, int y, int w, int t)
{
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (x == w - 3 || x == w - 4)
        return y >= 4 && y <= t - 3 ? crShadow : crBackground;
    if (y == t - 3 || y == t - 4)
        return x >= 4 && x <= w - 5 ? crShadow : crBackground;
    return crBackground;
}

// ---- CMenuTheme ---------------------------------------------------------------------------

BOOL CMenuTheme::OnInitWnd(HWND hWnd)
{
    HookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    if (pData == NULL || !pData->m_bThemed || !DoDrawBorder())
        return FALSE;
    pData->m_dwFlags |= HookData::flagStylesChanged;
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, ::GetWindowLongPtrW(hWnd, GWL_STYLE) & ~WS_BORDER);
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) &
                            ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    return TRUE;
}

BOOL CMenuTheme::OnUnInitWnd(HWND hWnd)
{
    HookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    if (pData == NULL)
        return FALSE;
    if (pData->m_dwFlags & HookData::flagFadeTimer)
        ::KillTimer(hWnd, kFadeTimer);
    if (CPaintedMenu* pMenu = CPaintedMenu::FromHandleOwned(pData->m_hMenu))
        pMenu->OnUnInitPopupMenu();
    if (pData->m_dwFlags & HookData::flagStylesChanged)
    {
        const LONG_PTR nVisible =
            (pData->m_dwFlags & HookData::flagSubclassedOnSizing) ? WS_VISIBLE : 0;
        ::SetWindowLongPtrW(hWnd, GWL_STYLE, pData->m_nSavedStyle | nVisible);
        ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, pData->m_nSavedExStyle);
    }
    return TRUE;
}

BOOL CMenuTheme::OnCalcFrameRect(HWND, LPRECT lpRect)
{
    if (!DoDrawBorder())
        return FALSE;
    const BOOL bShadows = GetDropShadowSetting();
    lpRect->left += m_BorderTopLeft.cx;
    lpRect->top += m_BorderTopLeft.cy;
    lpRect->right -= bShadows ? 1 : 5;
    lpRect->bottom -= bShadows ? 2 : 6;
    return TRUE;
}

BOOL CMenuTheme::OnCalcNcSize(HWND, LPWINDOWPOS lpPos)
{
    if (!DoDrawBorder())
        return FALSE;
    const BOOL bShadows = GetDropShadowSetting();
    // A Wine popup has no frame of its own to give up: the window only grows by the room of
    // the theme's shadow.
    const int nDelta = PaintedMenuLibrary().bWine ? (bShadows ? 0 : kShadow) : (bShadows ? -2 : 2);
    lpPos->cx += nDelta;
    lpPos->cy += nDelta;
    if (!(lpPos->flags & SWP_NOMOVE))
        lpPos->y -= 1;
    return TRUE;
}

BOOL CMenuTheme::GetMenuWindowRect(HWND hWnd, LPRECT lpRect)
{
    ::GetWindowRect(hWnd, lpRect);
    if (DoDrawBorder())
    {
        const int nInset = GetDropShadowSetting() ? 3 : 7;
        lpRect->left += 2;
        lpRect->top += 2;
        lpRect->right -= nInset;
        lpRect->bottom -= nInset;
    }
    return TRUE;
}

BOOL CMenuTheme::OnEraseBkgnd(HWND hWnd, HDC hDC)
{
    PaintedFillSolid(hDC, ErasedRect(hWnd, DoDrawBorder()), GetMenuColourOf(NULL));
    return TRUE;
}

BOOL CMenuTheme::OnNcPaint(HWND hWnd, HDC hDC, BOOL bSecondPass)
{
    HookData* pData = CaptureWindowBackground(this, hWnd);
    if (!DoDrawBorder() || pData == NULL)
        return FALSE;
    const CRect rect = WindowSize(hWnd);
    const BOOL bShadows = GetDropShadowSetting();
    const CRect rectFrame(0, 0, rect.right - (bShadows ? 0 : kShadow),
                          rect.bottom - (bShadows ? 0 : kShadow));
    if (!bSecondPass)
        DrawFrameRect(hDC, CRect(1, 1, rectFrame.right - 1, rectFrame.bottom - 1),
                      ClientInWindow(hWnd), GetMenuColourOf(NULL));
    PaintedFrameRect(hDC, rectFrame,
                     ::GetSysColor(GetMenuDisplayFacts().bHighContrast ? COLOR_BTNTEXT
                                                                        : COLOR_HIGHLIGHT));
    if (!bShadows)
        DrawShadow(hWnd, hDC);
    return TRUE;
}

void CMenuTheme::DrawShadow(HWND hWnd, HDC hDC)
{
    if (GetDropShadowSetting())
        return;
    HookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    if (pData == NULL || pData->m_hBackground == NULL)
        return;
    const CRect rect = WindowSize(hWnd);
    const int w = rect.Width(), t = rect.Height();
    HDC hBackDC = ::CreateCompatibleDC(hDC);
    HGDIOBJ hOld = ::SelectObject(hBackDC, pData->m_hBackground);
    const BOOL bPalette = IsPaletteDisplay();
    PaintShadowStrip(hDC, hBackDC, CRect(w - kShadow, 0, w, t), w, t, bPalette);
    PaintShadowStrip(hDC, hBackDC, CRect(0, t - kShadow, w - kShadow, t), w, t, bPalette);
    ::SelectObject(hBackDC, hOld);
    ::DeleteDC(hBackDC);
}

// ---- CMenuThemeXP -------------------------------------------------------------------------

BOOL CMenuThemeXP::OnEraseBkgnd(HWND hWnd, HDC hDC)
{
    HookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    if (pData == NULL || pData->m_hMenu == NULL)
        return CMenuTheme::OnEraseBkgnd(hWnd, hDC);
    PaintedFillSolid(hDC, ErasedRect(hWnd, DoDrawBorder()), GetMenuBarColour(pData->m_hMenu));
    return TRUE;
}

BOOL CMenuThemeXP::OnNcPaint(HWND hWnd, HDC hDC, BOOL bSecondPass)
{
    HookData* pData = CaptureWindowBackground(this, hWnd);
    if (!DoDrawBorder() || pData == NULL)
        return FALSE;
    const COLORREF crMenu = GetMenuColourOf(pData->m_hMenu);
    COLORREF crTextArea, crColumn;
    GetMenuAreaColours(hDC, crMenu, crTextArea, crColumn);
    if (m_nMenuStyle == 8 || m_nMenuStyle == 9)
        crColumn = ::GetSysColor(COLOR_WINDOW);
    const COLORREF crBorder = DarkenColour(128, crMenu);
    const CRect rect = WindowSize(hWnd);
    const BOOL bShadows = GetDropShadowSetting();
    const int nRoom = bShadows ? 0 : kShadow;
    const int w = rect.Width() - nRoom, t = rect.Height() - nRoom;
    if (!bSecondPass)
        DrawFrameRect(hDC, CRect(1, 1, w - 1, t - 1), ClientInWindow(hWnd), crTextArea);
    if (GetMenuDisplayFacts().bHighContrast)
    {
        PaintedFrameRect(hDC, CRect(0, 0, w, t), ::GetSysColor(COLOR_BTNTEXT));
    }
    else
    {
        PaintedFrameRect(hDC, CRect(1, 1, w - 1, t - 1), crTextArea);
        PaintedFillSolid(hDC, CRect(1, 2, 2, t - 2), crColumn);
        PaintedFrameRect(hDC, CRect(0, 0, w, t), crBorder);
    }
    if (!bShadows)
        DrawShadow(hWnd, hDC);
    DrawMenuBarConnection(hWnd, hDC);
    return TRUE;
}

void CMenuThemeXP::DrawMenuBarConnection(HWND hWnd, HDC hDC)
{
    HookData* pData = CPaintedMenuHook::FindMenuHookData(hWnd);
    CPaintedMenu* pMenu = pData != NULL ? CPaintedMenu::FromHandleOwned(pData->m_hMenu) : NULL;
    CPaintedMenu* pBar = pMenu != NULL ? CPaintedMenu::FromHandleOwned(pMenu->m_hParentMenu) : NULL;
    if (pBar == NULL || pBar->m_bPopup || pBar->m_rectMenuBarItem.IsRectEmpty())
        return;
    // The open item's place on the screen, asked of the system: exact on every system.
    CRect rectItem;
    const int nCount = pBar->GetMenuItemCount();
    for (int i = 0; i < nCount && rectItem.IsRectEmpty(); i++)
        if (::GetSubMenu(pBar->GetSafeHmenu(), i) == pData->m_hMenu &&
            !::GetMenuItemRect(pBar->m_hParentWnd, pBar->GetSafeHmenu(), (UINT)i, &rectItem))
            return;
    CRect rectWindow = WindowSize(hWnd);
    rectWindow.OffsetRect(pData->m_ptScreen);
    CRect rectJoint;
    if (!rectJoint.IntersectRect(rectWindow, rectItem))
        return;
    if (rectJoint.Width() >= rectJoint.Height())
        rectJoint.DeflateRect(1, 0);
    else
        rectJoint.DeflateRect(0, 1);
    rectJoint.OffsetRect(-pData->m_ptScreen.x, -pData->m_ptScreen.y);
    const COLORREF crFill = IsPaletteDisplay()
                                ? ::GetSysColor(COLOR_BTNFACE)
                                : MixColours14(GetMenuBarColour(NULL), ::GetSysColor(COLOR_WINDOW));
    PaintedFillSolid(hDC, rectJoint, crFill);
}
