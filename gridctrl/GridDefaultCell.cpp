#include "GridDefaultCell.h"

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

CGridDefaultCell::CGridDefaultCell() : m_nWidth(30), m_nHeight(10), m_dwStyle(0)
{
    m_nFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_crText = CLR_DEFAULT;
    m_crBack = CLR_DEFAULT;

    // The structure as this system knows it, padded border included.
    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        SetFont(&ncm.lfMessageFont);
}

CGridDefaultCell::~CGridDefaultCell() {}

void CGridDefaultCell::SetFont(const LOGFONT* plf)
{
    if (plf == NULL)
        return;
    CGridCell::SetFont(plf);

    HDC hDC = ::GetDC(NULL);
    CFont* pFont = GetFontObject();
    if (hDC == NULL || pFont == NULL)
    {
        if (hDC != NULL)
            ::ReleaseDC(NULL, hDC);
        SetMargin(3);
        m_nWidth = 40;
        m_nHeight = 16;
        return;
    }
    HGDIOBJ hOldFont = ::SelectObject(hDC, pFont->GetSafeHandle());
    SIZE sizeSpace;
    ::GetTextExtentPoint32W(hDC, L" ", 1, &sizeSpace);
    SetMargin(sizeSpace.cx);
    const WCHAR szSample[] = L" XXXXXXXXXXXX ";
    SIZE sizeSample;
    ::GetTextExtentPoint32W(hDC, szSample, lstrlenW(szSample), &sizeSample);
    m_nWidth = sizeSample.cx;
    m_nHeight = sizeSample.cy * 3 / 2;
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(NULL, hDC);
}

CFont* CGridDefaultCell::GetFontObject() const
{
    return m_plfFont == NULL ? NULL : CGridCell::GetFontObject();
}
