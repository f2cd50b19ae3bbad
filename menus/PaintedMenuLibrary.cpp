#include "PaintedMenuLibrary.h"

#include "MenuTheme.h"
#include "PaintedBrushList.h"
#include "PaintedMenu.h"
#include "PaintedMenuHook.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuSymbols.h"

PaintedMenuLibraryState& PaintedMenuLibrary()
{
    static PaintedMenuLibraryState s_state = {};
    return s_state;
}

int ClassifyWinVersion(DWORD nVersion, DWORD nMajor, DWORD nMinor)
{
    if (nVersion & 0x80000000)
    {
        if (LOBYTE(LOWORD(nVersion)) < 4)
            return 0;
        if (nMajor != 4)
            return 2;
        return nMinor == 10 ? 3 : nMinor == 90 ? 4 : 2;
    }
    if (nMajor < 4)
        return 1;
    if (nMajor == 4)
        return 5;
    if (nMajor == 5)
        return nMinor == 0 ? 6 : 7;
    return 7;
}

int GetWinVersionClass()
{
    static const int s_nClass = []
    {
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        GetVersionExW(&info);
        return ClassifyWinVersion(GetVersion(), info.dwMajorVersion, info.dwMinorVersion);
    }();
    return s_nClass;
}

namespace
{
struct ThemeStyle
{
    int nStyle;
    int nClass;   // 0 CMenuTheme, 1 CMenuThemeXP, 2 CMenuTheme2003
    PaintedMenuMeasureProc pMeasure;
    PaintedMenuDrawProc pDraw;
};

void RegisterPaintedMenuThemes()
{
    typedef CPaintedMenu M;
    static const ThemeStyle s_styles[] = {
        {6, 0, &M::MeasureMenuItemStyle6, &M::DrawMenuItemStyle6},
        {7, 0, &M::MeasureMenuItemStyle6, &M::DrawMenuItemStyle6},
        {0, 0, &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle0},
        {1, 0, &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle0},
        {2, 1, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle2},
        {3, 1, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle2},
        {8, 2, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {9, 2, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {10, 1, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {11, 1, &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {4, 0, &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle4},
        {5, 0, &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle4},
    };
    for (const ThemeStyle& style : s_styles)
    {
        const BOOL bBorder = style.nStyle % 2 == 0;
        CMenuTheme* pTheme =
            style.nClass == 2   ? new CMenuTheme2003(style.nStyle, style.pMeasure, style.pDraw,
                                                     &M::DrawMenuTitle, bBorder)
            : style.nClass == 1 ? new CMenuThemeXP(style.nStyle, style.pMeasure, style.pDraw,
                                                   &M::DrawMenuTitle, bBorder)
                                : new CMenuTheme(style.nStyle, style.pMeasure, style.pDraw,
                                                 &M::DrawMenuTitle, bBorder);
        if (!RegisterMenuTheme(pTheme))
            delete pTheme;
    }
    SetCurrentMenuTheme(FindMenuTheme(2));
}

// The visual-style entries for the bar styles, loaded once on first use.
struct ThemeEntries
{
    HMODULE hModule;
    HANDLE(WINAPI* pOpen)(HWND, LPCWSTR);
    HRESULT(WINAPI* pGetColor)(HANDLE, int, int, int, COLORREF*);
    HRESULT(WINAPI* pClose)(HANDLE);
};

ThemeEntries& VisualStyleEntries()
{
    static ThemeEntries s_entries = {};
    return s_entries;
}

BOOL CALLBACK LoadVisualStyleEntries(PINIT_ONCE, PVOID, PVOID*)
{
    ThemeEntries& entries = VisualStyleEntries();
    entries.hModule = LoadLibraryW(L"UxTheme.dll");
    if (entries.hModule != NULL)
    {
        entries.pOpen = (HANDLE(WINAPI*)(HWND, LPCWSTR))GetProcAddress(entries.hModule, "OpenThemeData");
        entries.pGetColor = (HRESULT(WINAPI*)(HANDLE, int, int, int, COLORREF*))GetProcAddress(
            entries.hModule, "GetThemeColor");
        entries.pClose = (HRESULT(WINAPI*)(HANDLE))GetProcAddress(entries.hModule, "CloseThemeData");
    }
    return TRUE;
}

INIT_ONCE s_visualStyleOnce = INIT_ONCE_STATIC_INIT;

const ThemeEntries& LoadedVisualStyleEntries()
{
    InitOnceExecuteOnce(&s_visualStyleOnce, LoadVisualStyleEntries, NULL, NULL);
    return VisualStyleEntries();
}

void FreeVisualStyleEntries()
{
    ThemeEntries& entries = VisualStyleEntries();
    if (entries.hModule != NULL)
        FreeLibrary(entries.hModule);
    entries = ThemeEntries();
    InitOnceInitialize(&s_visualStyleOnce);
}
}

HANDLE ThemeOpenData(HWND hWnd, LPCWSTR lpszClassList)
{
    const ThemeEntries& entries = LoadedVisualStyleEntries();
    return entries.pOpen != NULL ? entries.pOpen(hWnd, lpszClassList) : NULL;
}

HRESULT ThemeGetColor(HANDLE hTheme, int nPart, int nState, int nProperty, COLORREF* pColour)
{
    const ThemeEntries& entries = LoadedVisualStyleEntries();
    return entries.pGetColor != NULL ? entries.pGetColor(hTheme, nPart, nState, nProperty, pColour)
                                     : (HRESULT)1;
}

void ThemeCloseData(HANDLE hTheme)
{
    const ThemeEntries& entries = LoadedVisualStyleEntries();
    if (entries.pClose != NULL)
        entries.pClose(hTheme);
}

void ReadHighContrastSetting()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0))
        PaintedMenuLibrary().bHighContrast = (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void InitPaintedMenuLibrary()
{
    PaintedMenuLibraryState& state = PaintedMenuLibrary();
    if (state.bStarted)
        return;
    state.bStarted = TRUE;
    state.nWinVersionClass = GetWinVersionClass();
    state.bRemoteSession = state.nWinVersionClass > 5 && GetSystemMetrics(SM_REMOTESESSION) != 0;
    HMODULE hKernel = GetModuleHandleW(L"kernel32.dll");
    state.bWine = hKernel != NULL && GetProcAddress(hKernel, "wine_get_unix_file_name") != NULL;
    ReadHighContrastSetting();
    state.hUxTheme = LoadLibraryW(L"uxtheme.dll");
    if (state.hUxTheme != NULL)
        state.pIsThemeActive =
            (BOOL(WINAPI*)())GetProcAddress(state.hUxTheme, "IsThemeActive");
    if (state.nWinVersionClass != 3)
    {
        state.hImageLibrary = LoadLibraryW(L"Msimg32.dll");
        if (state.hImageLibrary != NULL)
            state.pGradientFill = (BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG))
                GetProcAddress(state.hImageLibrary, "GradientFill");
    }
    RegisterPaintedMenuThemes();
}

void ExitPaintedMenuLibrary()
{
    PaintedMenuLibraryState& state = PaintedMenuLibrary();
    if (!state.bStarted)
        return;
    DeleteMenuThemes();
    state.pIsThemeActive = NULL;
    if (state.hUxTheme != NULL)
        FreeLibrary(state.hUxTheme);
    state.pGradientFill = NULL;
    if (state.hImageLibrary != NULL)
        FreeLibrary(state.hImageLibrary);
    if (state.hMenuFont != NULL)
        DeleteObject(state.hMenuFont);
    if (state.hDefaultItemFont != NULL)
        DeleteObject(state.hDefaultItemFont);
    if (state.hMeasureDC != NULL)
        DeleteDC(state.hMeasureDC);
    CPaintedMenuIcons::DeleteStoreList();
    CPaintedBrushList::DeleteBrushList();
    FreeVisualStyleEntries();
    state = PaintedMenuLibraryState();
}

BOOL ThemeIsActive()
{
    BOOL(WINAPI * pIsThemeActive)() = PaintedMenuLibrary().pIsThemeActive;
    return pIsThemeActive != NULL && pIsThemeActive();
}

BOOL GetDropShadowSetting()
{
    BOOL bShadow = FALSE;
    return ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bShadow, 0) && bShadow;
}

HFONT GetPaintedMenuFont(BOOL bDefaultItem)
{
    PaintedMenuLibraryState& state = PaintedMenuLibrary();
    if (state.hMenuFont == NULL)
    {
        LOGFONTW logFont;
        GetPaintedMenuLogFont(logFont, FALSE);
        state.hMenuFont = CreateFontIndirectW(&logFont);
        GetPaintedMenuLogFont(logFont, TRUE);
        state.hDefaultItemFont = CreateFontIndirectW(&logFont);
    }
    return bDefaultItem ? state.hDefaultItemFont : state.hMenuFont;
}

HDC GetPaintedMenuMeasureDC()
{
    PaintedMenuLibraryState& state = PaintedMenuLibrary();
    if (state.hMeasureDC == NULL)
        state.hMeasureDC = CreateCompatibleDC(NULL);
    return state.hMeasureDC;
}
