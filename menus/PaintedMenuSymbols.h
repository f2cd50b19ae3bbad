// Drawing pieces shared by the menu styles: menu-bar texts with their own prefix underline,
// symbol glyphs, check marks, icon silhouettes and the bar brush.
#pragma once

#include <windows.h>

#include <commctrl.h>

class CPaintedMenu;

// The menu fonts: the normal one (bold for default items) and the title font.
void GetPaintedMenuLogFont(LOGFONTW& logFont, BOOL bBold);
// Fills rect with cr without a brush.
void PaintedFillSolid(HDC hDC, const RECT& rect, COLORREF cr);
// Outlines rect (right and bottom exclusive) with a one-pixel line of cr.
void PaintedFrameRect(HDC hDC, const RECT& rect, COLORREF cr);
// Paints cr where hMaskDC, a monochrome picture of cx by cy, is black.
void PaintedPaintMask(HDC hDC, int x, int y, int cx, int cy, HDC hMaskDC, COLORREF cr);
// The opaque pixels of image nImage of hList painted in one colour.
void DrawIconSilhouette(HDC hDC, HIMAGELIST hList, int nImage, int x, int y, COLORREF cr);

// A menu-bar text: "&&" shows "&", a single "&" underlines the next character unless
// nFormat has DT_HIDEPREFIX. DT_VCENTER starts 4 pixels in and centres vertically.
void DrawMenuItemText(HDC hDC, LPCWSTR lpszText, int nLength, const RECT& rect, UINT nFormat);
// A symbol character centred in rect, in the symbol font sized to rect less 4 pixels.
void DrawMenuSymbol(CPaintedMenu* pMenu, HDC hDC, const RECT& rect, WCHAR chSymbol, BOOL bBold);
void DrawMenuSymbolInSysColour(CPaintedMenu* pMenu, HDC hDC, const RECT& rect, WCHAR chSymbol,
                               BOOL bBold, int nSysColour);
// The glyph of a system command (minimise, maximise, restore, close), in rect narrowed to
// the menu's icon height; other commands draw nothing.
void DrawSystemMenuGlyph(CPaintedMenu* pMenu, HDC hDC, const RECT& rect, UINT nID, UINT nState);
// TRUE for the commands of the system menu.
BOOL IsSysCommandId(UINT nID);
// The system's check mark (or bullet) centred in rect, in cr.
void DrawCheckMark(HDC hDC, const RECT& rect, BOOL bRadio, COLORREF cr);
// The brush of the menu bar and the dock bars in the current style; NULL when the style has
// none. The cache owns it.
HBRUSH GetMenuBackBrush();
