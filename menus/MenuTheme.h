// CMenuTheme: the look of the owner-drawn menus. A theme names the CPaintedMenu routines that
// measure, draw and title its items, and paints the frame, background and shadow of the popup
// windows. Themes are registered under a style number; one of them is current.
#pragma once

#include "AfxGeometry.h"
#include <windows.h>

class CPaintedMenu;

typedef void (CPaintedMenu::*PaintedMenuMeasureProc)(LPMEASUREITEMSTRUCT lpMeasure, BOOL bMenuBar);
typedef void (CPaintedMenu::*PaintedMenuDrawProc)(LPDRAWITEMSTRUCT lpDraw, BOOL bMenuBar);
typedef void (CPaintedMenu::*PaintedMenuTitleProc)(LPDRAWITEMSTRUCT lpDraw);

// Bit of CMenuTheme::m_dwFlags: the theme paints the popup border itself.
const DWORD MENU_THEME_DRAW_BORDER = 0x1;

class CMenuTheme
{
public:
    CMenuTheme(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem, PaintedMenuDrawProc pDrawItem,
               PaintedMenuTitleProc pDrawTitle, BOOL bDrawBorder);
    virtual ~CMenuTheme();

    // Popup window operations, called by the subclassed popup windows.
    virtual BOOL OnInitWnd(HWND hWnd);
    virtual BOOL OnUnInitWnd(HWND hWnd);
    virtual BOOL DoDrawBorder();
    virtual void UpdateSysColors();
    virtual void UpdateSysMetrics();
    virtual BOOL OnNcPaint(HWND hWnd, HDC hDC, BOOL bSecondPass);
    virtual BOOL OnEraseBkgnd(HWND hWnd, HDC hDC);
    // Adjusts the proposed rectangle of WM_NCCALCSIZE.
    virtual BOOL OnCalcFrameRect(HWND hWnd, LPRECT lpRect);
    // Adjusts the new size and place of WM_WINDOWPOSCHANGING.
    virtual BOOL OnCalcNcSize(HWND hWnd, LPWINDOWPOS lpPos);
    // The window rectangle inside the theme's border, in screen coordinates.
    virtual BOOL GetMenuWindowRect(HWND hWnd, LPRECT lpRect);

    // The gripper of a control bar: its corner pixels and its lines or dots.
    virtual void DrawFrame(HDC hDC, const RECT& rectBar, COLORREF crBack);
    virtual void DrawGripperLine(HDC hDC, const RECT& rectGripper, BOOL bHorizontal);
    // The four gradient colours of the bar styles (8 to 11); the face colour otherwise.
    virtual void GetBarColours(COLORREF& crBarLeft, COLORREF& crBarRight,
                               COLORREF& crMenuLeft, COLORREF& crMenuRight);

    // The base colour of the bar styles 8 and 9: the visual style's caption colour.
    COLORREF CalcMenuColours();

    // The theme's own popup shadow, computed from the screen captured behind the window.
    void DrawShadow(HWND hWnd, HDC hDC);

    int m_nMenuStyle;
    DWORD m_dwFlags;
    PaintedMenuMeasureProc m_pMeasureItem;
    PaintedMenuDrawProc m_pDrawItem;
    PaintedMenuTitleProc m_pDrawTitle;
    CSize m_BorderTopLeft;
    CSize m_BorderBottomRight;
    COLORREF m_crBtnFace;
    COLORREF m_crBtnShadow;
    COLORREF m_crBtnHighlight;
    COLORREF m_crBtnText;
    COLORREF m_crWindowFrame;
};

// Flat popups with a light icon column and a frame in the darkened menu colour.
class CMenuThemeXP : public CMenuTheme
{
public:
    CMenuThemeXP(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem, PaintedMenuDrawProc pDrawItem,
                 PaintedMenuTitleProc pDrawTitle, BOOL bDrawBorder);

    BOOL OnNcPaint(HWND hWnd, HDC hDC, BOOL bSecondPass) override;
    BOOL OnEraseBkgnd(HWND hWnd, HDC hDC) override;

    // Paints the popup's edge where it touches the open menu-bar item in that item's fill.
    void DrawMenuBarConnection(HWND hWnd, HDC hDC);
};

class CMenuTheme2003 : public CMenuThemeXP
{
public:
    CMenuTheme2003(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem,
                   PaintedMenuDrawProc pDrawItem, PaintedMenuTitleProc pDrawTitle, BOOL bDrawBorder);
};

// The library-wide theme registry. Registering a theme already listed gives FALSE; the
// registry owns its themes.
BOOL RegisterMenuTheme(CMenuTheme* pTheme);
// The first theme of nMenuStyle; NULL when none is registered.
CMenuTheme* FindMenuTheme(int nMenuStyle);
// Deletes every registered theme; the current theme is then none.
void DeleteMenuThemes();

CMenuTheme* GetCurrentMenuTheme();
void SetCurrentMenuTheme(CMenuTheme* pTheme);
// The current theme's style number, -1 when none is current.
int GetCurrentMenuStyle();
