// The hook that gives the popup windows of the owner-drawn menus the current theme's frame.
// It watches the creation of the thread's windows, subclasses each popup menu window that
// shows a CPaintedMenu, and lets the theme paint its frame, background, shadow and its joint
// with the open menu-bar item; the window is released when it is hidden or destroyed.
#pragma once

#include "AfxGeometry.h"
#include <windows.h>

class CMenuTheme;

// The hook sees every message sent in the thread, which costs a call to the window server
// for each one on Wine: the windows that show painted menus install it while they are shown
// (see CPaintedFrame). Each successful install is matched by one remove; the hook goes when
// the last user removes it. FALSE when the system refused the hook.
BOOL InstallPaintedMenuHook();
void RemovePaintedMenuHook();

class CPaintedMenuHook
{
public:
    // What the hook keeps of one subclassed popup window.
    struct CMenuHookData
    {
        enum Flags
        {
            flagSubclassedOnSizing = 0x1,
            flagStylesChanged = 0x2,
            flagFadeTimer = 0x4,
            flagPrinting = 0x8,
            // The theme's size change has been applied once.
            flagSized = 0x10
        };

        CMenuHookData();
        ~CMenuHookData();
        // Ties the data to another menu shown in the same window.
        void Attach(HMENU hMenu);
        void DeleteBackground();

        LONG_PTR m_nSavedStyle;
        LONG_PTR m_nSavedExStyle;
        CPoint m_ptScreen;
        DWORD m_dwFlags;
        BOOL m_bFramePainted;
        HMENU m_hMenu;
        // The screen behind the window, 10 pixels wider and higher than the window.
        HBITMAP m_hBackground;
        HRGN m_hSavedRegion;   // (HRGN)1: none
        BOOL m_bThemed;
    };

    static CMenuHookData* FindMenuHookData(HWND hWnd);
    // The popup windows subclassed now.
    static int GetSubclassedWindowCount();
    // TRUE when the window was a popup menu window of a CPaintedMenu and is now subclassed.
    // hCreateMenu: the menu named at the window's creation, when there is one.
    static BOOL SubclassMenuWindow(HWND hWnd, BOOL bOnSizing, HMENU hCreateMenu = NULL);
    static void UnsubclassMenuWindow(HWND hWnd);

    static LRESULT CALLBACK PaintedMenuHookProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PaintedMenuWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam,
                                                  LPARAM lParam);
};

// Copies the screen behind the window into its data, once per position. pSize: the size the
// window is about to take, when it has not taken it yet.
CPaintedMenuHook::CMenuHookData* CaptureWindowBackground(CMenuTheme* pTheme, HWND hWnd,
                                                         const SIZE* pSize = NULL);
// Fills the band between the outer and the inner rectangle; the right band starts one pixel
// inside the inner rectangle.
void DrawFrameRect(HDC hDC, const RECT& rectOuter, const RECT& rectInner, COLORREF cr);
// The colour of pixel (x, y) of a window w by t pixels with the menus' own shadow along its
// right and bottom edges, over crBackground; crBackground itself outside the shadow.
COLORREF MenuShadowPixel(COLORREF crBackground, int x, int y, int w, int t);
// The same on a display of at most 256 colours.
COLORREF MenuShadowPixelPalette(COLORREF crBackground, int x, int y, int w, int t);
