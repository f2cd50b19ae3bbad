#include "PaintedMenuSymbols.h"

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedBrush.h"
#include "PaintedBrushList.h"
#include "PaintedMenu.h"
#include "PaintedMenuLibrary.h"
#include "AfxString.h"
#include <vector>

namespace
{
const int kMenuFontHeight = 16;
const int kTextIndent = 4;

// Whether the font mapper gives the face itself rather than a stand-in under its name.
BOOL FaceInstalled(LPCWSTR lpszFace)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = 16;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, lpszFace, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectW(&logFont);
    if (hFont == NULL)
        return FALSE;
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    BOOL bFound = FALSE;
    const UINT nSize = ::GetOutlineTextMetricsW(hDC, 0, NULL);
    if (nSize > 0)
    {
        std::vector<BYTE> buffer(nSize);
        OUTLINETEXTMETRICW* pMetrics = (OUTLINETEXTMETRICW*)buffer.data();
        // Wine reports the asked name as the family of a stand-in; the full name is its own.
        if (::GetOutlineTextMetricsW(hDC, nSize, pMetrics))
        {
            const CString strFull = (LPCWSTR)(buffer.data() + (size_t)pMetrics->otmpFullName);
            bFound = strFull.Left(lstrlenW(lpszFace)).CompareNoCase(lpszFace) == 0;
        }
    }
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    ::DeleteObject(hFont);
    return bFound;
}

// The menu face when it is installed. Wine has no "Segoe UI" and maps the name to DejaVu
// Sans, a fifth wider than the Tahoma of its menus (measured), so the system's menu face is
// taken there.
LPCWSTR MenuFace()
{
    static WCHAR s_szFace[LF_FACESIZE] = L"";
    if (s_szFace[0] == 0)
    {
        if (FaceInstalled(L"Segoe UI"))
            lstrcpynW(s_szFace, L"Segoe UI", LF_FACESIZE);
        else
        {
            NONCLIENTMETRICSW metrics = {};
            metrics.cbSize = sizeof(metrics);
            ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
            lstrcpynW(s_szFace, metrics.lfMenuFont.lfFaceName[0] ? metrics.lfMenuFont.lfFaceName
                                                                 : L"Tahoma",
                      LF_FACESIZE);
        }
    }
    return s_szFace;
}

// The window glyphs are those of the "Marlett" symbol font, which Wine has as well
// (measured); a text face would show the bare letters.
HFONT CreateSymbolFont(int nHeight, BOOL bBold)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = nHeight;
    logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = SYMBOL_CHARSET;
    lstrcpynW(logFont.lfFaceName, L"Marlett", LF_FACESIZE);
    return ::CreateFontIndirectW(&logFont);
}
}

void GetPaintedMenuLogFont(LOGFONTW& logFont, BOOL bBold)
{
    logFont = LOGFONTW();
    logFont.lfHeight = kMenuFontHeight;
    logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, MenuFace(), LF_FACESIZE);
}

void PaintedFillSolid(HDC hDC, const RECT& rect, COLORREF cr)
{
    const COLORREF crOld = ::SetBkColor(hDC, cr);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
    ::SetBkColor(hDC, crOld);
}

void PaintedFrameRect(HDC hDC, const RECT& rect, COLORREF cr)
{
    HPEN hPen = ::CreatePen(PS_SOLID, 0, cr);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

void PaintedPaintMask(HDC hDC, int x, int y, int cx, int cy, HDC hMaskDC, COLORREF cr)
{
    HBRUSH hBrush = ::CreateSolidBrush(cr);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush);
    const COLORREF crOldBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    const COLORREF crOldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    // Where the mask is black the brush, elsewhere the destination.
    ::BitBlt(hDC, x, y, cx, cy, hMaskDC, 0, 0, 0x00B8074A);
    ::SetBkColor(hDC, crOldBk);
    ::SetTextColor(hDC, crOldText);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hBrush);
}

void DrawIconSilhouette(HDC hDC, HIMAGELIST hList, int nImage, int x, int y, COLORREF cr)
{
    int cx = 0, cy = 0;
    if (hList == NULL || !ImageList_GetIconSize(hList, &cx, &cy))
        return;
    HDC hMaskDC = ::CreateCompatibleDC(hDC);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    HGDIOBJ hOld = ::SelectObject(hMaskDC, hMask);
    ::PatBlt(hMaskDC, 0, 0, cx, cy, WHITENESS);
    ImageList_Draw(hList, nImage, hMaskDC, 0, 0, ILD_MASK);
    PaintedPaintMask(hDC, x, y, cx, cy, hMaskDC, cr);
    ::SelectObject(hMaskDC, hOld);
    ::DeleteObject(hMask);
    ::DeleteDC(hMaskDC);
}

void DrawMenuItemText(HDC hDC, LPCWSTR lpszText, int nLength, const RECT& rect, UINT nFormat)
{
    if (lpszText == NULL)
        return;
    const std::vector<WCHAR> text(lpszText, lpszText + (nLength < 0 ? lstrlenW(lpszText) : nLength));
    HFONT hFont = (HFONT)::GetCurrentObject(hDC, OBJ_FONT);
    HFONT hUpright = NULL;
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(hDC, &metrics);
    LOGFONTW logFont = {};
    if (::GetObjectW(hFont, sizeof(logFont), &logFont) && logFont.lfEscapement != 0 &&
        !(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
    {
        // Raster fonts cannot turn: the same font in a face that can.
        lstrcpynW(logFont.lfFaceName, MenuFace(), LF_FACESIZE);
        logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        hUpright = ::CreateFontIndirectW(&logFont);
        if (hUpright != NULL)
        {
            ::SelectObject(hDC, hUpright);
            ::GetTextMetricsW(hDC, &metrics);
        }
    }
    const BOOL bRightToLeft = (::GetLayout(hDC) & LAYOUT_RTL) != 0;
    const UINT nOldAlign = ::SetTextAlign(hDC, TA_UPDATECP | (bRightToLeft ? TA_RIGHT : TA_LEFT));
    POINT oldPosition;
    POINT start = {rect.left, rect.top};
    if (nFormat & DT_VCENTER)
    {
        start.x = bRightToLeft ? rect.right - kTextIndent : rect.left + kTextIndent;
        start.y = (rect.top + rect.bottom - metrics.tmHeight) / 2;
    }
    ::MoveToEx(hDC, start.x, start.y, &oldPosition);
    const COLORREF crText = ::GetTextColor(hDC);
    auto output = [&](size_t nFrom, size_t nTo)
    {
        if (nTo > nFrom)
            ::ExtTextOutW(hDC, 0, 0, ETO_CLIPPED, &rect, &text[nFrom], (UINT)(nTo - nFrom), NULL);
    };
    size_t nRun = 0;
    size_t n = 0;
    while (n < text.size())
    {
        if (text[n] != L'&')
        {
            ++n;
            continue;
        }
        output(nRun, n);
        if (n + 1 < text.size() && text[n + 1] == L'&')
        {
            // The second one starts the next run.
            nRun = n + 1;
            n += 2;
            continue;
        }
        nRun = ++n;
        if ((nFormat & DT_HIDEPREFIX) || n >= text.size())
            continue;
        POINT before, after;
        ::GetCurrentPositionEx(hDC, &before);
        output(n, n + 1);
        ::GetCurrentPositionEx(hDC, &after);
        SIZE size = {};
        ::GetTextExtentPoint32W(hDC, &text[n], 1, &size);
        const int x = bRightToLeft ? after.x : before.x;
        RECT line = {x, before.y + metrics.tmAscent + 1, x + size.cx - metrics.tmOverhang / 2,
                     before.y + metrics.tmAscent + 2};
        ::IntersectRect(&line, &line, &rect);
        PaintedFillSolid(hDC, line, crText);
        nRun = ++n;
    }
    output(nRun, text.size());
    ::MoveToEx(hDC, oldPosition.x, oldPosition.y, NULL);
    ::SetTextAlign(hDC, nOldAlign);
    if (hUpright != NULL)
    {
        ::SelectObject(hDC, hFont);
        ::DeleteObject(hUpright);
    }
}

void DrawMenuSymbol(CPaintedMenu*, HDC hDC, const RECT& rect, WCHAR chSymbol, BOOL bBold)
{
    HFONT hFont = CreateSymbolFont(rect.bottom - rect.top - 4, bBold);
    if (hFont == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    RECT box = rect;
    ::DrawTextW(hDC, &chSymbol, 1, &box, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetBkMode(hDC, nOldMode);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
}

void DrawMenuSymbolInSysColour(CPaintedMenu* pMenu, HDC hDC, const RECT& rect, WCHAR chSymbol,
                               BOOL bBold, int nSysColour)
{
    const COLORREF crOld = ::SetTextColor(hDC, ::GetSysColor(nSysColour));
    DrawMenuSymbol(pMenu, hDC, rect, chSymbol, bBold);
    ::SetTextColor(hDC, crOld);
}

BOOL IsSysCommandId(UINT nID)
{
    const UINT nCommand = nID & ~0xFu;
    return nCommand >= 0xF000 && nCommand <= 0xF150;
}

void DrawSystemMenuGlyph(CPaintedMenu* pMenu, HDC hDC, const RECT& rect, UINT nID, UINT nState)
{
    WCHAR chGlyph = 0;
    switch (nID & ~0xFu)
    {
    case SC_MINIMIZE: chGlyph = L'0'; break;
    case SC_MAXIMIZE: chGlyph = L'1'; break;
    case SC_RESTORE: chGlyph = L'2'; break;
    case SC_CLOSE: chGlyph = L'r'; break;
    default: return;
    }
    const int nIconY = pMenu != NULL ? pMenu->m_nIconY : 16;
    RECT box = rect;
    box.top = rect.top + (rect.bottom - rect.top - nIconY) / 2;
    box.bottom = box.top + nIconY;
    const BOOL bBold = (nState & ODS_DEFAULT) != 0;
    const COLORREF crOld = ::GetTextColor(hDC);
    if (nState & (ODS_GRAYED | ODS_INACTIVE))
    {
        DrawMenuSymbolInSysColour(pMenu, hDC, box, chGlyph, bBold, COLOR_GRAYTEXT);
    }
    else if (nState & ODS_SELECTED)
    {
        RECT shadow = box;
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(hDC, MenuIconShadowColour(GetMenuHighlightColour()));
        DrawMenuSymbol(pMenu, hDC, shadow, chGlyph, bBold);
        RECT lifted = box;
        ::OffsetRect(&lifted, -1, -1);
        DrawMenuSymbolInSysColour(pMenu, hDC, lifted, chGlyph, bBold, COLOR_MENUTEXT);
    }
    else
    {
        DrawMenuSymbolInSysColour(pMenu, hDC, box, chGlyph, bBold, COLOR_MENUTEXT);
    }
    ::SetTextColor(hDC, crOld);
}

void DrawCheckMark(HDC hDC, const RECT& rect, BOOL bRadio, COLORREF cr)
{
    const int cx = ::GetSystemMetrics(SM_CXMENUCHECK);
    const int cy = ::GetSystemMetrics(SM_CYMENUCHECK);
    HDC hMaskDC = ::CreateCompatibleDC(hDC);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    HGDIOBJ hOld = ::SelectObject(hMaskDC, hMask);
    RECT local = {0, 0, cx, cy};
    // The mark comes black on white.
    ::DrawFrameControl(hMaskDC, &local, DFC_MENU, bRadio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    PaintedPaintMask(hDC, rect.left + (rect.right - rect.left - cx) / 2,
                     rect.top + (rect.bottom - rect.top - cy) / 2, cx, cy, hMaskDC, cr);
    ::SelectObject(hMaskDC, hOld);
    ::DeleteObject(hMask);
    ::DeleteDC(hMaskDC);
}

HBRUSH GetMenuBackBrush()
{
    CMenuTheme* pTheme = GetCurrentMenuTheme();
    const int nStyle = pTheme != NULL ? pTheme->m_nMenuStyle : -1;
    if (nStyle == 2 || nStyle == 3)
    {
        const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
        return *CPaintedBrushList::GetBrushList()->FindBrush(nStyle, crFace, crFace);
    }
    if (nStyle >= 8 && nStyle <= 11)
    {
        COLORREF crBarLeft, crBarRight, crMenuLeft, crMenuRight;
        pTheme->GetBarColours(crBarLeft, crBarRight, crMenuLeft, crMenuRight);
        return *CPaintedBrushList::GetBrushList()->FindBrush(nStyle, crBarLeft, crBarRight);
    }
    return NULL;
}
