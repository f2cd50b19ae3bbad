#include "PaletteBar.h"

#include <algorithm>
#include <cstring>

#include "Paving.h"
#include "TilePalette.h"

namespace {

// The display colours a new mosaic starts with.
const BYTE kDefaultColours[PaletteBarData::ColourTableSize][3] = {
    {255, 255, 255}, {192, 192, 192}, {255, 255, 255}, {208, 208, 208}, {0, 0, 0},
    {192, 192, 192}, {0, 0, 0},       {255, 255, 255}, {255, 0, 0},     {0, 255, 0},
    {0, 0, 255},     {254, 254, 254}, {196, 196, 196},
};

// A Windows rectangle as the raster's drawing operations take it: rows bottom (first) to
// top (past the last).
RECT RasterRect(int left, int bottom, int right, int top)
{
    RECT rect = { left, top, right, bottom };
    return rect;
}

} // namespace

PaletteBarData::PaletteBarData()
    : paletteMode(0), pTilePalette(NULL), tileColourCount(0), pImagePalette(NULL),
      imageColourCount(0), labelMode(3), superpose(FALSE)
{
    memcpy(colourTable, kDefaultColours, sizeof(colourTable));
}

BEGIN_MESSAGE_MAP(CPaletteBar, CToolBar)
    ON_WM_PAINT()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CPaletteBar::CPaletteBar()
    : m_nColumns(ButtonCount), m_bPrepared(FALSE), m_pfnSource(NULL),
      m_pSourceContext(NULL)
{
    SetBorders(5, 5, 5, 5);
    SetSizes(CSize(32, 32), CSize(16, 16));
}

CPaletteBar::~CPaletteBar()
{
    for (CFont& font : m_labelFonts)
        font.DeleteObject();
    m_image.Free();
}

void CPaletteBar::SetDataSource(PaletteBarDataSource pfnSource, void* context)
{
    m_pfnSource = pfnSource;
    m_pSourceContext = context;
}

BOOL CPaletteBar::HasNextPage(int page, int count)
{
    // The last page is the one of the last colour: a count that fills its pages exactly
    // leads to no empty page.
    return count > 0 && page < (count - 1) / ColoursPerPage;
}

int CPaletteBar::SymbolLabelHeight(int length)
{
    if (length <= 2)
        return 16;
    if (length <= 5)
        return 12;
    if (length <= 7)
        return 10;
    return 8;
}

void CPaletteBar::Refresh()
{
    m_bPrepared = FALSE;
    if (m_hWnd != NULL)
        Invalidate(TRUE);
}

void CPaletteBar::Repaint()
{
    // Without a window, Invalidate would repaint every window of the desktop.
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CPaletteBar::SetColumns(int n)
{
    m_nColumns = n;
    if (m_hWnd == NULL)
        return;
    // One query of each button: every message to the control costs, and only the buttons
    // whose wrap changes are set.
    int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
    {
        TBBUTTON button = {};
        if (!SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button))
            continue;
        BYTE fsState = (BYTE)(button.fsState & ~TBSTATE_WRAP);
        if (n > 0 && (i + 1) % n == 0)
            fsState |= TBSTATE_WRAP;
        if (fsState != button.fsState)
            SetButtonStyle(i, MAKELONG(button.fsStyle, fsState ^ TBSTATE_ENABLED));
    }
    Invalidate();
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
}

void CPaletteBar::GetData(PaletteBarData& data) const
{
    data = PaletteBarData();
    if (m_pfnSource != NULL && !m_pfnSource(m_pSourceContext, data))
        data = PaletteBarData();
}

const C2Palette* CPaletteBar::ShownPalette(const PaletteBarData& data, int& count)
{
    const C2Palette* pPalette = NULL;
    count = 0;
    if (data.paletteMode == PaletteBarData::ModeTilePalette)
    {
        pPalette = data.pTilePalette;
        count = data.tileColourCount;
    }
    else if (data.paletteMode == PaletteBarData::ModeImagePalette)
    {
        pPalette = data.pImagePalette;
        count = data.imageColourCount;
    }
    if (pPalette == NULL)
        count = 0;
    count = std::max(0, std::min<int>(count, C2Palette::ColourCount));
    return pPalette;
}

CRect CPaletteBar::GetButtonRect(int i) const
{
    // The control keeps a margin above its buttons which the bar's height leaves no room
    // for: the picture's first row is the top of the client area.
    CRect rectFirst, rect;
    GetItemRect(0, &rectFirst);
    GetItemRect(i, &rect);
    if (!rect.IsRectEmpty())
        rect.OffsetRect(0, -rectFirst.top);
    return rect;
}

CSize CPaletteBar::NeededImageSize() const
{
    // As far as the buttons reach, whatever size the control gives them, so that no button
    // is drawn past the picture, and the bar's borders beyond.
    CSize size(0, 0);
    int nCount = m_hWnd != NULL ? GetCount() : 0;
    for (int i = 0; i < nCount; i++)
    {
        CRect rect = GetButtonRect(i);
        if (rect.IsRectEmpty())
            continue;
        size.cx = std::max<LONG>(size.cx, rect.right);
        // A button's drawing takes rows as many as its width less two.
        size.cy = std::max<LONG>(size.cy, std::max<LONG>(rect.bottom, rect.top + rect.Width() - 2));
    }
    size.cx += std::max(0, m_cxLeftBorder) + std::max(0, m_cxRightBorder);
    size.cy += std::max(0, m_cyTopBorder) + std::max(0, m_cyBottomBorder);
    size.cx = std::max<LONG>(size.cx, 1);
    size.cy = std::max<LONG>(size.cy, 1);
    return size;
}

void CPaletteBar::PrepareImage()
{
    PaletteBarData data;
    GetData(data);
    PrepareImage(data);
}

void CPaletteBar::PrepareImage(const PaletteBarData& data)
{
    CSize size = NeededImageSize();
    m_image.Free();
    m_image.Create(1, size.cx, size.cy);
    m_image.FillRgb(data.colourTable[PaletteBarData::Background]);

    int nCount = 0;
    const C2Palette* pPalette = ShownPalette(data, nCount);
    if (data.labelMode == 2 && pPalette != NULL)
    {
        for (CFont& font : m_labelFonts)
            font.DeleteObject();
        // One height for the whole bar, that of the longest label it may show.
        int nLongest = 0;
        for (int c = 0; c < nCount; c++)
            nLongest = std::max(nLongest, pPalette->m_symbols[c].GetLength());
        int nHeight = FitSymbolLabelHeight(*pPalette, nCount, SymbolLabelHeight(nLongest));
        for (int c = 0; c < nCount; c++)
        {
            // A copy: the palette's own font is saved with it and must not follow the bar.
            LOGFONTW font = pPalette->m_symbolFonts[c];
            font.lfHeight = -nHeight;
            font.lfCharSet = DEFAULT_CHARSET;
            m_labelFonts[c].CreateFontIndirect(&font);
        }
    }
    m_bPrepared = TRUE;
}

int CPaletteBar::WidestSymbol(const C2Palette& palette, int count, int height) const
{
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == NULL)
        return 0;
    int nWidest = 0;
    for (int c = 0; c < count; c++)
    {
        const CString& strSymbol = palette.m_symbols[c];
        if (strSymbol.IsEmpty())
            continue;
        LOGFONTW font = palette.m_symbolFonts[c];
        font.lfHeight = -height;
        font.lfCharSet = DEFAULT_CHARSET;
        HFONT hFont = ::CreateFontIndirectW(&font);
        if (hFont == NULL)
            continue;
        HGDIOBJ hOld = ::SelectObject(hdc, hFont);
        SIZE size = {};
        if (::GetTextExtentPoint32W(hdc, strSymbol, strSymbol.GetLength(), &size))
            nWidest = std::max<int>(nWidest, size.cx);
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hFont);
    }
    ::ReleaseDC(m_hWnd, hdc);
    return nWidest;
}

int CPaletteBar::FitSymbolLabelHeight(const C2Palette& palette, int count, int height) const
{
    // The heights by length suit narrow faces; a wider one (or wide letters) would have
    // its labels cut at the button's edges: smaller, down to what can still be read.
    CRect rectFirst = GetButtonRect(0);
    const int nRoom = rectFirst.Width() - 6;
    if (nRoom <= 0)
        return height;
    int nWidest = WidestSymbol(palette, count, height);
    while (nWidest > nRoom && height > MinSymbolLabelHeight)
    {
        height = std::max<int>(MinSymbolLabelHeight,
                               std::min(height - 1, height * nRoom / nWidest));
        nWidest = WidestSymbol(palette, count, height);
    }
    return height;
}

void CPaletteBar::DrawArrow(const RECT& rectDraw, BOOL bRight, const BYTE* ink,
                            const BYTE* back)
{
    const int w = rectDraw.right - rectDraw.left;
    const int h = rectDraw.top - rectDraw.bottom;
    const int x0 = rectDraw.left;
    const int y0 = rectDraw.bottom;
    auto X = [&](double f) { return x0 + RoundHalfAway(w * f); };
    auto Y = [&](double f) { return y0 + RoundHalfAway(h * f); };

    m_image.FillRect(ink, RasterRect(X(0.25), Y(8.0 / 16), x0 + w, Y(11.0 / 16)));
    // The head in two halves over the shaft's end, each a right-angled triangle; the
    // picture's rows run down the screen, so the first half is the head's upper one.
    const int left = bRight ? X(6.0 / 8) : X(2.0 / 8);
    const int right = bRight ? x0 + w : X(4.0 / 8);
    const RECT rectHeadTop = RasterRect(left, Y(3.0 / 8), right, Y(5.0 / 8));
    const RECT rectHeadBottom = RasterRect(left, Y(5.0 / 8), right, Y(7.0 / 8));
    if (bRight)
    {
        m_image.FillTriangleLower(ink, back, rectHeadTop);
        m_image.FillTriangleUpper(back, ink, rectHeadBottom);
    }
    else
    {
        m_image.FillTriangleUpper(ink, back, rectHeadTop);
        m_image.FillTriangleLower(back, ink, rectHeadBottom);
    }
}

void CPaletteBar::DrawButtons(const PaletteBarData& data)
{
    const BYTE* light = data.colourTable[PaletteBarData::BevelLight];
    const BYTE* shade = data.colourTable[PaletteBarData::BevelShade];
    const BYTE* ink = data.colourTable[PaletteBarData::Ink];
    const BYTE* back = data.colourTable[PaletteBarData::Background];
    int nColours = 0;
    const C2Palette* pPalette = ShownPalette(data, nColours);
    const int nButtons = std::min(GetCount(), (int)ButtonCount);

    for (int i = 0; i < nButtons; i++)
    {
        const CRect item = GetButtonRect(i);
        if (item.IsRectEmpty())
            continue;
        // Rows from the button's top, as many as the button is wide less two; columns inside
        // the button less one on each side.
        const int w = item.Width();
        const RECT rectDraw = RasterRect(item.left + 1, item.top, item.right - 1, item.top + w - 2);
        if (rectDraw.right <= rectDraw.left || rectDraw.top <= rectDraw.bottom)
            continue;
        if (i < ColoursPerPage)
        {
            const int c = i + m_nPage * ColoursPerPage;
            if (pPalette == NULL || c < 0 || c >= nColours)
                continue;
            const PaletteEntry& entry = pPalette->m_colours[c];
            const BYTE colour[3] = { entry.peRed, entry.peGreen, entry.peBlue };
            m_image.FillRect(colour, rectDraw);
            m_image.DrawBevelFrame(light, shade, rectDraw);
        }
        else
        {
            m_image.FillRect(back, rectDraw);
            if (i == PreviousButton && m_nPage > 0)
                DrawArrow(rectDraw, FALSE, ink, back);
            else if (i == NextButton && HasNextPage(m_nPage, nColours))
                DrawArrow(rectDraw, TRUE, ink, back);
        }
    }

    for (int i = 0; i < std::min(nButtons, (int)ColoursPerPage); i++)
    {
        if (!m_pressed[i])
            continue;
        const CRect item = GetButtonRect(i);
        const int x0 = item.left, x1 = item.right;
        const int y0 = item.top, y1 = item.top + item.Width();
        m_image.DrawBevelFrame(ink, ink, RasterRect(x0 + 1, y0 + 1, x1 - 1, y1 - 2));
        m_image.DrawDottedFrame(light, ink, RasterRect(x0 + 2, y0 + 1, x1 - 2, y1 - 3));
        m_image.DrawBevelFrame(ink, ink, RasterRect(x0 + 3, y0 + 2, x1 - 3, y1 - 3));
    }
}

void CPaletteBar::DrawLabels(CDC* pDC, const PaletteBarData& data)
{
    int nColours = 0;
    const C2Palette* pPalette = ShownPalette(data, nColours);
    if (pPalette == NULL || data.labelMode < 0 || data.labelMode > 2)
        return;
    const BOOL bImage = data.paletteMode == PaletteBarData::ModeImagePalette;

    CFont font;
    if (!font.CreateFont(DefaultLabelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, NULL))
        return;
    CFont* pOldFont = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    const int nButtons = std::min(GetCount(), (int)ColoursPerPage);
    for (int i = 0; i < nButtons; i++)
    {
        const int c = i + m_nPage * ColoursPerPage;
        if (c < 0 || c >= nColours)
            continue;
        CString strLabel;
        CFont* pFont = &font;
        if (data.labelMode == 0 || (data.labelMode == 1 && !bImage))
            strLabel.Format(L"%d", c);
        else if (data.labelMode == 1)
        {
            int nTile = data.pTilePalette != NULL
                            ? pPalette->FindColourIn(*data.pTilePalette, c)
                            : -1;
            if (nTile >= 0)
                strLabel.Format(L"%d", nTile);
            else
                strLabel = L"?";
        }
        else
        {
            strLabel = pPalette->m_symbols[c];
            if (bImage && strLabel.IsEmpty())
                strLabel = L"?";
            // Fonts are made for the symbols when the picture is prepared; one missing
            // (the label mode changed since) leaves the number font.
            if (m_labelFonts[c].GetSafeHandle() != NULL)
                pFont = &m_labelFonts[c];
        }
        const PaletteEntry& entry = pPalette->m_colours[c];
        pDC->SetTextColor(ContrastTextColour(RGB(entry.peRed, entry.peGreen, entry.peBlue)));
        pDC->SelectObject(pFont);
        CRect rect = GetButtonRect(i);
        rect.DeflateRect(1, 1);
        pDC->DrawText(strLabel, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    pDC->SetBkMode(OPAQUE);
    pDC->SelectObject(pOldFont);
    font.DeleteObject();
}

void CPaletteBar::OnPaint()
{
    CPaintDC dc(this);
    PaletteBarData data;
    GetData(data);
    // Prepared once; again when the buttons were laid out anew since.
    const CSize size = NeededImageSize();
    if (!m_bPrepared || m_image.data == NULL || m_image.width != size.cx ||
        m_image.height != size.cy)
        PrepareImage(data);
    m_image.FillRgb(data.colourTable[PaletteBarData::Background]);
    DrawButtons(data);
    m_image.DrawToDC(&dc, CRect(0, 0, m_image.width, m_image.height));
    if (data.superpose)
        DrawLabels(&dc, data);
    DrawEmptyText(&dc, data);
}

void CPaletteBar::DrawEmptyText(CDC* pDC, const PaletteBarData& data)
{
    int nColours = 0;
    ShownPalette(data, nColours);
    if (nColours > 0 || data.emptyText.IsEmpty())
        return;
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(8, 0);
    const BYTE* ink = data.colourTable[PaletteBarData::Ink];
    CFont* pOldFont = pDC->SelectObject(CFont::FromHandle((HFONT)GetStockObject(DEFAULT_GUI_FONT)));
    pDC->SetTextColor(RGB(ink[0], ink[1], ink[2]));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(data.emptyText, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    pDC->SetBkMode(OPAQUE);
    pDC->SelectObject(pOldFont);
}
