#include "MenuColours.h"

#include "PaintedMenuLibrary.h"
#include <algorithm>
#include <commctrl.h>

namespace
{
const MenuDisplayFacts* s_pPinnedFacts = NULL;

int ScreenColours()
{
    static int s_nColours = 0;
    if (s_nColours == 0)
    {
        HDC hDC = ::GetDC(NULL);
        const int nColours = ::GetDeviceCaps(hDC, NUMCOLORS);
        ::ReleaseDC(NULL, hDC);
        // True-colour devices report -1 here (Wine as well).
        s_nColours = nColours > 0 && nColours <= 256 ? nColours : 64000;
    }
    return s_nColours;
}

BOOL SystemFlag(UINT nAction)
{
    BOOL bValue = FALSE;
    return ::SystemParametersInfoW(nAction, 0, &bValue, 0) && bValue;
}

template <typename Rule> COLORREF PerChannel(COLORREF crA, COLORREF crB, Rule rule)
{
    return RGB(rule(GetRValue(crA), GetRValue(crB)), rule(GetGValue(crA), GetGValue(crB)),
               rule(GetBValue(crA), GetBValue(crB)));
}

COLORREF BrushColour(HMENU hMenu, BOOL& bFound)
{
    bFound = FALSE;
    if (hMenu == NULL)
        return 0;
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    LOGBRUSH brush = {};
    if (!::GetMenuInfo(hMenu, &info) || info.hbrBack == NULL ||
        ::GetObjectW(info.hbrBack, sizeof(brush), &brush) != sizeof(brush))
        return 0;
    bFound = TRUE;
    return brush.lbColor;
}
}

MenuDisplayFacts GetMenuDisplayFacts()
{
    if (s_pPinnedFacts != NULL)
        return *s_pPinnedFacts;
    MenuDisplayFacts facts = {};
    facts.nColours = ScreenColours();
    facts.bHighContrast = PaintedMenuLibrary().bHighContrast;
    facts.bThemeActive = ThemeIsActive();
    facts.bFlatMenus = SystemFlag(SPI_GETFLATMENU);
    facts.bKeyboardCues = SystemFlag(SPI_GETKEYBOARDCUES);
    facts.nWinVersionClass = GetWinVersionClass();
    return facts;
}

void PinMenuDisplayFacts(const MenuDisplayFacts* pFacts)
{
    s_pPinnedFacts = pFacts;
}

BOOL IsPaletteDisplay()
{
    return GetMenuDisplayFacts().nColours <= 256;
}

COLORREF MixColours30(COLORREF crA, COLORREF crB)
{
    return PerChannel(crA, crB, [](int a, int b)
                      { return std::min(255, MulDiv(7, a, 10) + MulDiv(3, b, 10)); });
}

COLORREF MixColours14(COLORREF crA, COLORREF crB)
{
    return PerChannel(crA, crB, [](int a, int b)
                      { return std::min(255, MulDiv(86, a, 100) + MulDiv(14, b, 100)); });
}

COLORREF DarkenColour(int nAmount, COLORREF cr)
{
    return PerChannel(cr, cr, [nAmount](int c, int) { return MulDiv(c, 255 - nAmount, 255); });
}

COLORREF LightenColour(int nAmount, COLORREF cr)
{
    return PerChannel(cr, cr, [nAmount](int c, int) { return c + MulDiv(255 - c, nAmount, 255); });
}

COLORREF BlendColours(COLORREF crA, COLORREF crB, int nWeight)
{
    if (crB == CLR_NONE)
        return CLR_NONE;
    return PerChannel(crA, crB,
                      [nWeight](int a, int b) { return (a * (255 - nWeight) + b * nWeight) / 256; });
}

COLORREF MenuIconShadowColour(COLORREF cr)
{
    return RGB(MulDiv(GetRValue(cr), 7, 10), MulDiv(GetGValue(cr), 7, 10),
               MulDiv(GetBValue(cr) + 55, 7, 10));
}

BOOL IsLightColour(COLORREF cr)
{
    return GetRValue(cr) + GetGValue(cr) + GetBValue(cr) > 384;
}

COLORREF GetMenuHighlightColour()
{
    const MenuDisplayFacts facts = GetMenuDisplayFacts();
    if (facts.bHighContrast)
        return ::GetSysColor(COLOR_HIGHLIGHT);
    if (facts.nColours <= 256)
        return ::GetSysColor(COLOR_WINDOW);
    const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    const COLORREF crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    if (facts.bThemeActive || !IsLightColour(crHighlight))
        return MixColours30(crWindow, crHighlight);
    return MixColours14(crWindow, crHighlight);
}

COLORREF GetMenuBarColour(HMENU hMenu)
{
    BOOL bFound = FALSE;
    const COLORREF crBrush = BrushColour(hMenu, bFound);
    if (bFound)
        return crBrush;
    const MenuDisplayFacts facts = GetMenuDisplayFacts();
    if (facts.nWinVersionClass == 7 && (facts.bFlatMenus || facts.bThemeActive))
        return ::GetSysColor(COLOR_MENUBAR);
    return GetMenuFaceColour();
}

COLORREF GetMenuFaceColour()
{
    const int nClass = GetMenuDisplayFacts().nWinVersionClass;
    return ::GetSysColor(nClass == 2 || nClass == 5 ? COLOR_MENU : COLOR_BTNFACE);
}

COLORREF GetMenuColourOf(HMENU hMenu)
{
    BOOL bFound = FALSE;
    const COLORREF crBrush = BrushColour(hMenu, bFound);
    if (bFound)
        return crBrush;
    const MenuDisplayFacts facts = GetMenuDisplayFacts();
    if (facts.nWinVersionClass == 7 && facts.bFlatMenus)
        return ::GetSysColor(COLOR_MENUBAR);
    return ::GetSysColor(COLOR_MENU);
}

void GetMenuAreaColours(HDC hDC, COLORREF crMenu, COLORREF& crTextArea, COLORREF& crIconColumn)
{
    const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    crTextArea = MixColours14(crWindow, crMenu);
    crIconColumn = IsPaletteDisplay() ? ::GetSysColor(COLOR_BTNFACE) : MixColours14(crMenu, crWindow);
    if (::GetNearestColor(hDC, crTextArea) == ::GetNearestColor(hDC, crIconColumn))
    {
        crTextArea = crWindow;
        crIconColumn = crMenu;
    }
}

COLORREF GetMenuBackColour()
{
    return GetMenuColourOf(NULL);
}
