// The colours of the owner-drawn menus, shared by every menu style and by the popup frames.
// Colours are Windows colour values; each rule applies to the three channels alike.
#pragma once

#include <windows.h>

// What the colour rules read of the display. The colour count is read once; the rest is read
// when asked, unless a test has pinned a configuration.
struct MenuDisplayFacts
{
    // Colours of the screen, 64000 for a display without a palette.
    int nColours;
    BOOL bHighContrast;
    BOOL bThemeActive;
    BOOL bFlatMenus;
    BOOL bKeyboardCues;
    int nWinVersionClass;
};

MenuDisplayFacts GetMenuDisplayFacts();
// Pins the facts the colour rules see (NULL: the display's own again).
void PinMenuDisplayFacts(const MenuDisplayFacts* pFacts);
BOOL IsPaletteDisplay();

COLORREF MixColours30(COLORREF crA, COLORREF crB);
COLORREF MixColours14(COLORREF crA, COLORREF crB);
COLORREF DarkenColour(int nAmount, COLORREF cr);
COLORREF LightenColour(int nAmount, COLORREF cr);
// CLR_NONE when crB is CLR_NONE.
COLORREF BlendColours(COLORREF crA, COLORREF crB, int nWeight);
// The colour of the silhouette under a lifted icon drawn on cr.
COLORREF MenuIconShadowColour(COLORREF cr);
BOOL IsLightColour(COLORREF cr);

// The fill of a selected item.
COLORREF GetMenuHighlightColour();
// The menu's own background colour, else the bar colour of the system.
COLORREF GetMenuBarColour(HMENU hMenu = NULL);
COLORREF GetMenuFaceColour();
COLORREF GetMenuColourOf(HMENU hMenu = NULL);
// The two background colours of a popup drawn on crMenu: the text area and the icon column.
// When hDC cannot tell them apart, the text area takes the window colour and the column crMenu.
void GetMenuAreaColours(HDC hDC, COLORREF crMenu, COLORREF& crTextArea, COLORREF& crIconColumn);
// The face from which the bar styles (8 to 11) fade disabled icons.
COLORREF GetMenuBackColour();
