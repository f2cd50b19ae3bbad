// Information pages: the mosaic's data on the first page, then the colours in use in blocks
// of a swatch with its label and three lines of names and counts.
#include "VitrolanView.h"

#include "AfxTime.h"
#include "Paving.h"
#include "Pdf.h"

namespace
{

enum { AlignLeft = 0, AlignCentre = 1, AlignMiddle = 4, AlignBottom = 8 };
const int kTextSize = 14;

}   // namespace

void CVitrolanView::DrawInfoPage(int nPage)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int W = m_page.width, H = m_page.height, m = m_page.margin, L = m_page.lineHeight;
    const int S = m_page.swatchSize;

    CBrush* pOldBrush = m_canvas.SelectBrush(&m_whiteBrush);
    CPen* pOldPen = m_canvas.SelectPen(&m_jointPen);
    CFont* pOldFont = m_canvas.SelectFont(&m_tileFonts[0]);
    m_canvas.SetTextColor(RGB(0, 0, 0));

    m_canvas.SelectFont(&m_smallTextFont);
    const CRect rectDate((3 * m) / 2 + pDoc->m_rulerBand, 3 * m - H, W - m, 2 * m - H);
    m_canvas.DrawText(kTextSize, CTime::GetCurrentTime().Format(L"%d/%m/%y %H:%M"), rectDate,
                      AlignLeft, AlignBottom);
    m_canvas.SelectFont(&m_textFont);

    int y = -2 * L;
    if (nPage == 1)
    {
        CStringArray lines;
        pDoc->GetInfoLines(lines);
        for (int i = 0; i < lines.GetSize(); i++, y -= 2 * L)
            m_canvas.TextOut(m, y, lines[i]);
        y = -22 * L;
    }

    const int nFirst = nPage == 1 ? 0 : LegendColoursPerPage * nPage - 10;
    const int nLast = nPage == 1 ? LegendColoursFirstPage - 1 : LegendColoursPerPage * nPage - 4;
    int nNumber = 0;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        BOOL bUsed = FALSE;
        for (int table = 0; table < 5; table++)
            bUsed = bUsed || pDoc->m_tileCounts[table][i] != 0;
        if (!bUsed)
            continue;
        if (nNumber < nFirst || nNumber > nLast)
        {
            nNumber++;
            continue;
        }
        nNumber++;
        CString lines[3];
        pDoc->GetColourInfoLines(i, lines);
        const PaletteEntry& colour = pDoc->m_imagePalette.m_colours[i];
        const CRect rectSwatch(m, y, m + S, y - S);
        m_canvas.SelectBrush(ColourBrush(i));
        m_canvas.Rectangle(rectSwatch);
        m_canvas.SetTextColor(ContrastTextColour(RGB(colour.peRed, colour.peGreen, colour.peBlue)));
        if (pDoc->impression == 2)
            m_canvas.SelectFont(&m_symbolFonts[0][i]);
        m_canvas.DrawText(kTextSize, pDoc->m_imagePalette.m_symbols[i], rectSwatch, AlignCentre,
                          AlignMiddle);
        if (pDoc->impression == 2)
            m_canvas.SelectFont(&m_textFont);
        m_canvas.SetTextColor(RGB(0, 0, 0));
        for (int line = 0; line < 3; line++)
            m_canvas.TextOut(m + 2 * S, y - 2 * L * line, lines[line]);
        y -= 6 * L;
    }

    m_canvas.SelectBrush(pOldBrush);
    m_canvas.SelectPen(pOldPen);
    m_canvas.SelectFont(pOldFont);
}
