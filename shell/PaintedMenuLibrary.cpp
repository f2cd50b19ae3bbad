#include "PaintedMenuLibrary.h"

#include "MenuTheme.h"
#include "PaintedMenuHook.h"
#include "PaintedMenuIcons.h"

PaintedMenuLibraryState& PaintedMenuLibrary()
{
    static PaintedMenuLibraryState s_state = {};
    return s_state;
}

int GetWinVersionClass()
{
    const DWORD nVersion = GetVersion();
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExW(&info);
    if (nVersion & 0x80000000)
    {
        if (LOBYTE(LOWORD(nVersion)) < 4)
            return 0;
        if (info.dwMajorVersion != 4)
            return 2;
        return info.dwMinorVersion == 10 ? 3 : info.dwMinorVersion == 90 ? 4 : 2;
    }
    if (info.dwMajorVersion < 4)
        return 1;
    if (info.dwMajorVersion == 4)
        return 5;
    if (info.dwMajorVersion == 5)
        return info.dwMinorVersion == 0 ? 6 : 7;
    return 7;
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
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0))
        state.bHighContrast = (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
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
    InstallPaintedMenuHook();
}

void ExitPaintedMenuLibrary()
{
    PaintedMenuLibraryState& state = PaintedMenuLibrary();
    if (!state.bStarted)
        return;
    UninstallPaintedMenuHook();
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
    CPaintedMenuIcons::DeleteStoreList();
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
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        state.hMenuFont = CreateFontIndirectW(&metrics.lfMenuFont);
        metrics.lfMenuFont.lfWeight = FW_BOLD;
        state.hDefaultItemFont = CreateFontIndirectW(&metrics.lfMenuFont);
    }
    return bDefaultItem ? state.hDefaultItemFont : state.hMenuFont;
}
