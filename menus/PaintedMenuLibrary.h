// The owner-drawn menu library's shared state, its start and its end.
#pragma once

#include <windows.h>

struct PaintedMenuLibraryState
{
    int nWinVersionClass;
    BOOL bRemoteSession;
    BOOL bWine;
    BOOL bHighContrast;
    HMODULE hUxTheme;
    BOOL(WINAPI* pIsThemeActive)();
    HMODULE hImageLibrary;
    BOOL(WINAPI* pGradientFill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    // The popup being initialised, and the menu-bar item drawn hot last.
    HMENU hInitPopup;
    ULONG_PTR nHotMenuBarItem;
    HFONT hMenuFont;
    HFONT hDefaultItemFont;
    HDC hMeasureDC;
    BOOL bStarted;
};

// Built on first use, so that it is there whatever the order of start-up between files.
PaintedMenuLibraryState& PaintedMenuLibrary();

void InitPaintedMenuLibrary();
// Reads the high-contrast setting into the library's state.
void ReadHighContrastSetting();
void ExitPaintedMenuLibrary();
// 7 for Windows XP and later (and Wine), lower values for older systems; read once.
int GetWinVersionClass();
// The class of a GetVersion value with the major and minor version of GetVersionExW.
int ClassifyWinVersion(DWORD nVersion, DWORD nMajor, DWORD nMinor);
// The visual-style calls, through the library loaded on first use; without it: NULL, 1
// (failure) and nothing.
HANDLE ThemeOpenData(HWND hWnd, LPCWSTR lpszClassList);
HRESULT ThemeGetColor(HANDLE hTheme, int nPart, int nState, int nProperty, COLORREF* pColour);
void ThemeCloseData(HANDLE hTheme);
BOOL ThemeIsActive();
// Whether Windows draws the shadow of popup menus itself.
BOOL GetDropShadowSetting();
// The menu font of the system, and its bold form for default items.
HFONT GetPaintedMenuFont(BOOL bDefaultItem = FALSE);
// A memory device context of the screen's kind, made once, for measuring item texts: asking
// for the screen's own for every item costs a call to the window server on Wine.
HDC GetPaintedMenuMeasureDC();
