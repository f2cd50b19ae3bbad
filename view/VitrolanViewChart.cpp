// Palette chart pages: the tile palette's colours in rows under a heading, each a swatch with
// its symbol beside a line of its name and its red, green and blue values.
#include "VitrolanView.h"

#include <algorithm>

#include "AfxTime.h"
#include "LangText.h"
#include "Paving.h"
#include "Pdf.h"
#include "TextIds.h"

namespace
{

enum { AlignLeft = 0, AlignCentre = 1, AlignMiddle = 4, AlignBottom = 8 };
const int kTextSize = 14;

}   // namespace

void CVitrolanView::DrawPaletteChartPage(CDC* pDC, int nPage)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int W = m_page.width, H = m_page.height, m = m_page.margin, L = m_page.lineHeight;
    const int S = m_page.swatchSize;

    CBrush* pOldBrush = pDC->SelectObject(&m_whiteBrush);
    CPen* pOldPen = pDC->SelectObject(&m_jointPen);
    CFont* pOldFont = pDC->SelectObject(&m_textFont);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    // What the page selects on the layer is put back afterwards, as on the device context.
    CBrush* pOldPdfBrush = m_canvas.SelectBrush(&m_whiteBrush);
    CPen* pOldPdfPen = m_canvas.SelectPen(&m_jointPen);
    CFont* pOldPdfFont = m_canvas.SelectFont(&m_smallTextFont);

    const CRect rectDate((3 * m) / 2 + pDoc->m_rulerBand, 3 * m - H, W, 2 * m - H);
    m_canvas.DrawText(kTextSize, CTime::GetCurrentTime().Format(L"%d/%m/%y %H:%M"), rectDate,
                      AlignLeft, AlignBottom);
    m_canvas.SelectFont(&m_textFont);

    const C2Palette& palette = pDoc->m_tilePalette;
    CString strHeading;
    strHeading.Format(L"%s %s (%d %s)", (LPCTSTR)GetLangText(TXT_MENU_PALETTE),
                      (LPCTSTR)palette.m_name, pDoc->m_tileColourCount, L"");
    m_canvas.TextOut(RoundHalfAway(m), RoundHalfAway(-L), strHeading);

    const CString strRed = GetLangText(TXT_RED);
    const CString strGreen = GetLangText(TXT_GREEN);
    const CString strBlue = GetLangText(TXT_BLUE);
    const int nFirst = ChartColoursPerPage * (nPage - 1);
    const int nEnd = std::min(std::min(nFirst + ChartColoursPerPage, pDoc->m_tileColourCount),
                              (int)C2Palette::ColourCount);
    int y = -L - 2 * L;
    for (int i = std::max(nFirst, 0); i < nEnd; i++)
    {
        const PaletteEntry& colour = palette.m_colours[i];
        const COLORREF rgb = RGB(colour.peRed, colour.peGreen, colour.peBlue);
        const CRect rectSwatch(m, y, m + S, y - S);
        m_canvas.SelectBrush(&m_chartBrushes[i]);
        m_canvas.Rectangle(rectSwatch);

        m_canvas.SetTextColor(ContrastTextColour(rgb));
        m_canvas.SelectFont(&m_chartSymbolFonts[i]);
        m_canvas.DrawText(kTextSize, palette.m_symbols[i], rectSwatch, AlignCentre,
                          AlignMiddle);
        m_canvas.SelectFont(&m_textFont);
        m_canvas.SetTextColor(RGB(0, 0, 0));

        CString strLine;
        strLine.Format(L"%s, [%s = %d, %s = %d, %s= %d]", (LPCTSTR)palette.m_colourNames[i],
                       (LPCTSTR)strRed, colour.peRed, (LPCTSTR)strGreen, colour.peGreen,
                       (LPCTSTR)strBlue, colour.peBlue);
        m_canvas.TextOut(m + 2 * S, y - (int)(S * 0.6), strLine);
        y += (-3 * S) / 2;
    }

    m_canvas.SelectBrush(pOldPdfBrush);
    m_canvas.SelectPen(pOldPdfPen);
    m_canvas.SelectFont(pOldPdfFont);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldFont);
}

BOOL CVitrolanView::WritePaletteChart(const CString& strPath)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int nPaper = m_pPdf->SetPaperSize(pDoc->format);
    m_page.currentPage = 0;
    pDoc->m_paletteChartPage = 1;
    if (m_pPdf->StartPdf(pDoc->m_programFolder, strPath, pDoc->m_exportPath,
                         pDoc->m_thumbPath) == PdfStartFailed)
    {
        pDoc->m_paletteChartPage = 0;
        return FALSE;
    }
    InitPageMetrics();
    const int nPages = CountPalettePages();
    BOOL bWritten = TRUE;
    for (int i = 0; i < nPages; i++)
        bWritten = WritePdfPage(nPaper, i) == 0 && bWritten;
    pDoc->m_paletteChartPage = 0;
    if (!m_pPdf->EndPdf())
        return FALSE;
    ReportUnshownTexts();
    return bWritten;
}
