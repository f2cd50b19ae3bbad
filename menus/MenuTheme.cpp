#include "MenuTheme.h"

#include "MenuColours.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include <algorithm>
#include <vector>

namespace
{
std::vector<CMenuTheme*>*& Registry()
{
    static std::vector<CMenuTheme*>* s_pThemes = NULL;
    return s_pThemes;
}

CMenuTheme*& CurrentTheme()
{
    static CMenuTheme* s_pCurrent = NULL;
    return s_pCurrent;
}

void SetPixelRect(HDC hDC, int nLeft, int nTop, int nWidth, int nHeight, COLORREF cr)
{
    PaintedFillSolid(hDC, CRect(nLeft, nTop, nLeft + nWidth, nTop + nHeight), cr);
}
}

CMenuTheme::CMenuTheme(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem,
                       PaintedMenuDrawProc pDrawItem, PaintedMenuTitleProc pDrawTitle,
                       BOOL bDrawBorder)
    : m_nMenuStyle(nMenuStyle), m_dwFlags(bDrawBorder ? MENU_THEME_DRAW_BORDER : 0),
      m_pMeasureItem(pMeasureItem), m_pDrawItem(pDrawItem), m_pDrawTitle(pDrawTitle),
      m_BorderTopLeft(2, 2), m_BorderBottomRight(2, 2), m_crBtnFace(0), m_crBtnShadow(0),
      m_crBtnHighlight(0), m_crBtnText(0), m_crWindowFrame(0)
{
    UpdateSysColors();
    UpdateSysMetrics();
}

CMenuTheme::~CMenuTheme()
{
}

BOOL CMenuTheme::DoDrawBorder()
{
    return (m_dwFlags & MENU_THEME_DRAW_BORDER) != 0;
}

void CMenuTheme::UpdateSysColors()
{
    m_crBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_crBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crBtnHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crBtnText = ::GetSysColor(COLOR_BTNTEXT);
    m_crWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
}

void CMenuTheme::UpdateSysMetrics()
{
    m_BorderTopLeft = CSize(2, 2);
    // Without the system's shadow the border leaves room for the theme's own.
    m_BorderBottomRight = GetDropShadowSetting() ? CSize(2, 2) : CSize(5, 6);
}

void CMenuTheme::DrawFrame(HDC hDC, const RECT& rectBar, COLORREF crBack)
{
    // The bar's rounded look: its four corner pixels take the colour behind it.
    ::SetPixelV(hDC, rectBar.left, rectBar.top, crBack);
    ::SetPixelV(hDC, rectBar.right - 1, rectBar.top, crBack);
    ::SetPixelV(hDC, rectBar.left, rectBar.bottom - 1, crBack);
    ::SetPixelV(hDC, rectBar.right - 1, rectBar.bottom - 1, crBack);
}

void CMenuTheme::DrawGripperLine(HDC hDC, const RECT& rectGripper, BOOL bHorizontal)
{
    const int nLength = bHorizontal ? rectGripper.bottom - rectGripper.top
                                    : rectGripper.right - rectGripper.left;
    if (m_nMenuStyle >= 6)
    {
        // 2-by-2 dots, a light one under a dark one for relief.
        for (int n = 2; n + 2 <= nLength - 2; n += 4)
        {
            const int x = bHorizontal ? rectGripper.left : rectGripper.left + n;
            const int y = bHorizontal ? rectGripper.top + n : rectGripper.top;
            SetPixelRect(hDC, x + 1, y + 1, 2, 2, m_crBtnHighlight);
            SetPixelRect(hDC, x, y, 2, 2, m_crBtnShadow);
        }
        return;
    }
    // Short lines 2 pixels apart across the bar.
    for (int n = 0; n < 5 && 2 * n < (bHorizontal ? rectGripper.right - rectGripper.left
                                                  : rectGripper.bottom - rectGripper.top);
         ++n)
    {
        if (bHorizontal)
            SetPixelRect(hDC, rectGripper.left + 2 * n, rectGripper.top + 2, 1, nLength - 4,
                         m_crBtnShadow);
        else
            SetPixelRect(hDC, rectGripper.left + 2, rectGripper.top + 2 * n, nLength - 4, 1,
                         m_crBtnShadow);
    }
}

void CMenuTheme::GetBarColours(COLORREF& crBarLeft, COLORREF& crBarRight, COLORREF& crMenuLeft,
                               COLORREF& crMenuRight)
{
    const COLORREF crBar = GetMenuBarColour();
    crBarLeft = crBarRight = crMenuLeft = crMenuRight = crBar;
    if (m_nMenuStyle < 8)
        return;
    // The bar fades from the window colour into the caption's; the menus from light to face.
    const COLORREF crCaption = m_nMenuStyle <= 9 ? CalcMenuColours() : ::GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    crBarLeft = LightenColour(200, crCaption);
    crBarRight = LightenColour(120, crCaption);
    crMenuLeft = MixColours14(crWindow, crCaption);
    crMenuRight = MixColours30(crWindow, crCaption);
}

COLORREF CMenuTheme::CalcMenuColours()
{
    // The caption colour of the visual style, when one is active.
    const int nCaptionPart = 1, nActiveState = 1, nFillColourHint = 3821;
    COLORREF crCaption = ::GetSysColor(COLOR_ACTIVECAPTION);
    if (!GetMenuDisplayFacts().bThemeActive)
        return crCaption;
    HANDLE hTheme = ThemeOpenData(NULL, L"WINDOW");
    if (hTheme == NULL)
        return crCaption;
    COLORREF crStyle = 0;
    if (ThemeGetColor(hTheme, nCaptionPart, nActiveState, nFillColourHint, &crStyle) == S_OK)
        crCaption = crStyle;
    ThemeCloseData(hTheme);
    return crCaption;
}

CMenuThemeXP::CMenuThemeXP(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem,
                           PaintedMenuDrawProc pDrawItem, PaintedMenuTitleProc pDrawTitle,
                           BOOL bDrawBorder)
    : CMenuTheme(nMenuStyle, pMeasureItem, pDrawItem, pDrawTitle, bDrawBorder)
{
}

CMenuTheme2003::CMenuTheme2003(int nMenuStyle, PaintedMenuMeasureProc pMeasureItem,
                               PaintedMenuDrawProc pDrawItem, PaintedMenuTitleProc pDrawTitle,
                               BOOL bDrawBorder)
    : CMenuThemeXP(nMenuStyle, pMeasureItem, pDrawItem, pDrawTitle, bDrawBorder)
{
}

BOOL RegisterMenuTheme(CMenuTheme* pTheme)
{
    std::vector<CMenuTheme*>*& pThemes = Registry();
    if (pThemes == NULL)
        pThemes = new std::vector<CMenuTheme*>();
    if (pTheme == NULL || std::find(pThemes->begin(), pThemes->end(), pTheme) != pThemes->end())
        return FALSE;
    pThemes->push_back(pTheme);
    return TRUE;
}

CMenuTheme* FindMenuTheme(int nMenuStyle)
{
    std::vector<CMenuTheme*>* pThemes = Registry();
    if (pThemes == NULL)
        return NULL;
    for (CMenuTheme* pTheme : *pThemes)
        if (pTheme->m_nMenuStyle == nMenuStyle)
            return pTheme;
    return NULL;
}

void DeleteMenuThemes()
{
    std::vector<CMenuTheme*>*& pThemes = Registry();
    if (pThemes == NULL)
        return;
    for (CMenuTheme* pTheme : *pThemes)
        delete pTheme;
    delete pThemes;
    pThemes = NULL;
    CurrentTheme() = NULL;
}

CMenuTheme* GetCurrentMenuTheme()
{
    return CurrentTheme();
}

void SetCurrentMenuTheme(CMenuTheme* pTheme)
{
    CurrentTheme() = pTheme;
}

int GetCurrentMenuStyle()
{
    CMenuTheme* pTheme = CurrentTheme();
    return pTheme != NULL ? pTheme->m_nMenuStyle : -1;
}
