// The menu themes' popup window operations.
#include "MenuTheme.h"

BOOL CMenuTheme::OnInitWnd(HWND)
{
    return FALSE;
}

BOOL CMenuTheme::OnUnInitWnd(HWND)
{
    return FALSE;
}

BOOL CMenuTheme::OnNcPaint(HWND, HDC, BOOL)
{
    return FALSE;
}

BOOL CMenuTheme::OnEraseBkgnd(HWND, HDC)
{
    return FALSE;
}

BOOL CMenuTheme::OnCalcFrameRect(HWND, LPRECT)
{
    return FALSE;
}

BOOL CMenuTheme::OnCalcNcSize(HWND, LPWINDOWPOS)
{
    return FALSE;
}

BOOL CMenuTheme::GetMenuWindowRect(HWND, LPRECT)
{
    return FALSE;
}

void CMenuTheme::DrawShadow(HWND, HDC)
{
}

BOOL CMenuThemeXP::OnNcPaint(HWND, HDC, BOOL)
{
    return FALSE;
}

BOOL CMenuThemeXP::OnEraseBkgnd(HWND, HDC)
{
    return FALSE;
}

void CMenuThemeXP::DrawMenuBarConnection(HWND, HDC)
{
}
