// What the PDF pages of the view share: the page layout, the numbering of the laying-plan
// pages, the page counts of the other kinds, the objects a page is drawn with, and the
// painting of one page into the open PDF page.
#include "VitrolanView.h"

#include <algorithm>
#include <limits.h>
#include <math.h>

#include "Paving.h"
#include "Pdf.h"
#include "Plaque.h"
#include "TileOutlines.h"

namespace
{

// Palette colours are handed to the brushes as palette-relative colours.
const COLORREF kPaletteRelative = 0x02000000;
const int kImageColours = 256;

// Joint pens of laying plans are capped at this width where the tiles carry labels.
const int kMetricJointCap = 80;
const int kImperialJointCap = 31;

// A line shows on white paper from a contrast of 3 to 1 on (a relative luminance of 0.3).
const double kMaxOutlineLuminance = 0.3;

double RelativeLuminance(COLORREF cr)
{
    const BYTE values[3] = {GetRValue(cr), GetGValue(cr), GetBValue(cr)};
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    double luminance = 0;
    for (int i = 0; i < 3; i++)
    {
        const double c = values[i] / 255.0;
        luminance += weights[i] * (c <= 0.04045 ? c / 12.92 : pow((c + 0.055) / 1.055, 2.4));
    }
    return luminance;
}

// The joint colour, darkened as far as it takes to show on white paper: tiles without labels
// are drawn in the joint colour, which may be as white as the paper.
COLORREF OutlineColourOnPaper(COLORREF crJoint)
{
    COLORREF cr = crJoint;
    for (int nPercent = 100; nPercent >= 0 && RelativeLuminance(cr) > kMaxOutlineLuminance;
         nPercent -= 2)
        cr = RGB(GetRValue(crJoint) * nPercent / 100, GetGValue(crJoint) * nPercent / 100,
                 GetBValue(crJoint) * nPercent / 100);
    return cr;
}

COLORREF PaletteRelative(const PaletteEntry& entry)
{
    return kPaletteRelative | RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

// Pages of nCount items when the first page holds nFirst and every later page nPer.
int PagesFor(int nCount, int nFirst, int nPer)
{
    if (nCount <= nFirst)
        return 1;
    return 1 + (nCount - nFirst + nPer - 1) / nPer;
}

void CreatePageFont(CFont& font, int nHeight, BOOL bItalic = FALSE)
{
    font.CreateFont(nHeight, 0, 0, 0, 0, (BYTE)bItalic, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                    L"Calibri");
}

void CreateRecordFont(CFont& font, const LOGFONTW& record, int nHeight, LPCWSTR lpszFace)
{
    // A copy: the records belong to the palettes and are saved with them.
    LOGFONTW logFont = record;
    logFont.lfHeight = nHeight;
    if (lpszFace != NULL)
        lstrcpynW(logFont.lfFaceName, lpszFace, LF_FACESIZE);
    font.CreateFontIndirect(&logFont);
}

// The page cells of a plate in their order: blocks of the page's columns by rows of tiles
// from the plate's top-left tile, in rows, cut at its right and bottom.
class PageCellWalk
{
public:
    PageCellWalk(const CPlaque& plate, int nColumns, int nRows)
        : m_plate(plate), m_nColumns(nColumns), m_nRows(nRows),
          m_nLeft(RoundHalfAway(plate.m_firstCol)), m_nRight(RoundHalfAway(plate.m_endCol)),
          m_nBottom(RoundHalfAway(plate.m_endRow)), m_x(m_nLeft),
          m_y(RoundHalfAway(plate.m_firstRow)), m_nNumber(0)
    {
    }

    // The next cell and its number; FALSE after the last one.
    BOOL Next(CRect& rectCell, int& nNumber)
    {
        // Without a whole tile on a page the walk would never end.
        if (m_nColumns <= 0 || m_nRows <= 0 || m_y >= m_nBottom)
            return FALSE;
        rectCell.SetRect(m_x, m_y, std::min(m_x + m_nColumns, m_nRight),
                         std::min(m_y + m_nRows, m_nBottom));
        nNumber = ++m_nNumber;
        m_x += m_nColumns;
        if ((double)m_x >= m_plate.m_endCol)
        {
            m_x = m_nLeft;
            m_y += m_nRows;
        }
        return TRUE;
    }

private:
    const CPlaque& m_plate;
    int m_nColumns;
    int m_nRows;
    int m_nLeft;
    int m_nRight;
    int m_nBottom;
    int m_x;
    int m_y;
    int m_nNumber;
};

}   // namespace

BOOL CVitrolanView::IsPdfOpen() const
{
    return m_pPdf->IsOpen();
}

// ---- Page layout and counts ----------------------------------------------------------------

void CVitrolanView::InitPageMetrics()
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (CVitrolanDoc::s_uiHooks.pfnSetPrinterPaper != NULL)
        CVitrolanDoc::s_uiHooks.pfnSetPrinterPaper(pDoc->format);
    m_page.width = m_pPdf->GetDeviceCaps(HORZSIZE);
    m_page.height = m_pPdf->GetDeviceCaps(VERTSIZE);
    const BOOL bImperial = pDoc->unites != 0;
    if (bImperial)
    {
        m_page.width = RoundHalfAway(m_page.width / 2.54);
        m_page.height = RoundHalfAway(m_page.height / 2.54);
    }
    m_page.swatchSize = bImperial ? 400 : 1000;
    m_page.margin = bImperial ? 393 : 1000;
    m_page.lineHeight = bImperial ? 236 : 600;
    m_page.jointWidth = pDoc->intercar;
    const int nCap = bImperial ? kImperialJointCap : kMetricJointCap;
    if (pDoc->impression >= 0 && pDoc->impression <= 2 && m_page.jointWidth > nCap)
        m_page.jointWidth = nCap;
    m_canvas.Attach(m_pPdf, bImperial);
}

CVitrolanView::PlanLayout CVitrolanView::ComputePlanLayout(int nPitch) const
{
    const int W = m_page.width, H = m_page.height, m = m_page.margin, L = m_page.lineHeight;
    const int R = (int)(nPitch * 0.4);
    // The bands beside and above the grid hold a neighbour's number and its arrow even
    // where small tiles make the rulers' band narrow.
    const int nSide = std::max(R, m);
    // The lower neighbour's arrow stays below the date line's descenders.
    const int nBottomBox = (3 * m) / 4;
    // The thumbnail fills the height of the bottom band, below the grid.
    const int nThumbnail = 3 * m - m / 4;
    PlanLayout layout;
    layout.rulerBand = R;
    layout.gridOrigin = {m + R, -(m + R)};
    layout.gridLimit = {m + R, -(m + R), W - nSide - L / 2, 3 * m - H};
    layout.neighbours[NeighbourLeft] = {m + R - nSide, L - H / 2, m + R, -H / 2 - L};
    layout.neighbours[NeighbourRight] = {W - nSide, L - H / 2, W, -H / 2 - L};
    layout.neighbours[NeighbourUp] = {W / 2 - L, nSide - (m + R), W / 2 + L, -(m + R)};
    layout.neighbours[NeighbourDown] = {W / 2 - L, nBottomBox - H, W / 2 + L, -H};
    layout.thumbnail = {m, nThumbnail - H, m + nThumbnail, -H};
    int nTitleLeft = (3 * m) / 2 + R;
    if (GetDocument()->imprVignettes == 1)
        nTitleLeft = std::max(nTitleLeft, layout.thumbnail.right + m / 2);
    layout.title = {nTitleLeft, 3 * m - H, W, 2 * m - H};
    return layout;
}

int CVitrolanView::PlanColumnsIn(int nWidth) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pitch;
    if (P <= 0)
        return 0;
    CTileOutlines outlines;
    outlines.m_pavingType = pDoc->m_pavingType;
    outlines.m_pitch = P;
    const int nStagger = std::max(outlines.RowOffset(2, 0), outlines.RowOffset(2, 1));
    return std::max(nWidth - nStagger, 0) / P;
}

int CVitrolanView::PlanRowsIn(int nHeight, int nFirstRow) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pitch;
    if (P <= 0 || P > nHeight)
        return 0;
    // Rows that do not advance (a pitch too small to halve) would never end the count.
    const int nMost = 2 * nHeight + 2;
    int n = 1;
    long long nTop = 0;
    while (n < nMost)
    {
        nTop += PlanRowStep(nFirstRow + n - 1);
        if (nTop + P > nHeight)
            break;
        n++;
    }
    // A pair of triangle rows shares its band: a page holds whole pairs.
    if (pDoc->m_pavingType == PavingTriangles)
        n -= n % 2;
    return n;
}

BOOL CVitrolanView::PaginatePlaques()
{
    CVitrolanDoc* pDoc = GetDocument();
    const PlanLayout layout = ComputePlanLayout(pDoc->m_pitch);
    pDoc->m_rulerBand = layout.rulerBand;
    m_page.columns = PlanColumnsIn(layout.gridLimit.right - layout.gridLimit.left);
    // The rows a page holds may depend on the row its cells start at (the pairs of triangle
    // rows); the cells of a plate start at its top row and whole pages further down.
    const int nHeight = layout.gridLimit.top - layout.gridLimit.bottom;
    m_page.rows = INT_MAX;
    BOOL bStarts[2] = {FALSE, FALSE};
    for (int n = 1; n <= pDoc->m_plaqueCount; n++)
    {
        const CPlaque* pPlaque = pDoc->FindPlaqueByNumber(n);
        if (pPlaque == NULL || n < pDoc->m_printFirst || n > pDoc->m_printLast)
            continue;
        const int nTop = RoundHalfAway(pPlaque->m_firstRow);
        if (bStarts[nTop & 1])
            continue;
        bStarts[nTop & 1] = TRUE;
        m_page.rows = std::min(m_page.rows, PlanRowsIn(nHeight, nTop));
    }
    if (m_page.rows == INT_MAX)
        m_page.rows = PlanRowsIn(nHeight, 0);
    m_page.pageCount = 0;
    if (m_page.columns <= 0 || m_page.rows <= 0)
        return FALSE;

    int nNext = 1;
    for (int n = 1; n <= pDoc->m_plaqueCount; n++)
    {
        CPlaque* pPlaque = pDoc->FindPlaqueByNumber(n);
        if (pPlaque == NULL || n < pDoc->m_printFirst || n > pDoc->m_printLast)
            continue;
        const int nDown = (int)ceil((pPlaque->m_endRow - pPlaque->m_firstRow) / m_page.rows);
        const int nAcross =
            (int)ceil((pPlaque->m_endCol - pPlaque->m_firstCol) / m_page.columns);
        pPlaque->m_firstPage = nNext;
        nNext += nDown * nAcross;
        pPlaque->m_lastPage = nNext - 1;
    }
    m_page.pageCount = nNext - 1;
    return TRUE;
}

int CVitrolanView::CountLegendPages()
{
    CVitrolanDoc* pDoc = GetDocument();
    pDoc->SyncPaletteBars();
    int nUsed = 0;
    for (int i = 0; i < kImageColours; i++)
    {
        BOOL bUsed = FALSE;
        for (int table = 0; table < 5; table++)
            bUsed = bUsed || pDoc->m_tileCounts[table][i] != 0;
        nUsed += bUsed;
    }
    m_page.pageCount = PagesFor(nUsed, LegendColoursFirstPage, LegendColoursPerPage);
    return m_page.pageCount;
}

int CVitrolanView::CountPalettePages()
{
    m_page.pageCount =
        PagesFor(GetDocument()->m_tileColourCount, ChartColoursPerPage, ChartColoursPerPage);
    return m_page.pageCount;
}

int CVitrolanView::FindPageAt(const CPlaque* pPlaque, int nColumn, int nRow) const
{
    if (pPlaque == NULL)
        return -1;
    PageCellWalk walk(*pPlaque, m_page.columns, m_page.rows);
    CRect rectCell;
    int nNumber = 0;
    while (walk.Next(rectCell, nNumber))
        if (rectCell.left <= nColumn && nColumn < rectCell.right && rectCell.top <= nRow &&
            nRow < rectCell.bottom)
            return nNumber;
    return -1;
}

BOOL CVitrolanView::GetPageCell(const CPlaque* pPlaque, int nCell, CRect& rectCell) const
{
    if (pPlaque == NULL)
        return FALSE;
    PageCellWalk walk(*pPlaque, m_page.columns, m_page.rows);
    int nNumber = 0;
    while (walk.Next(rectCell, nNumber))
        if (nNumber == nCell)
            return TRUE;
    return FALSE;
}

// ---- Painting a page -----------------------------------------------------------------------

void CVitrolanView::RenderPage(int nIndex)
{
    m_page.currentPage = nIndex + 1;
    // Without a window InvalidateRect would repaint every window of the desktop.
    if (GetSafeHwnd() == NULL)
        return;
    Invalidate(TRUE);
    UpdateWindow();
    // A window that is not shown gets no paint from the update.
    SendMessage(WM_PAINT, 0, 0);
}

void CVitrolanView::DrawPdfPage(CDC* pDC)
{
    // However often the window repaints, the open page gets its content once.
    if (!m_pPdf->BeginPageDrawing())
        return;
    const CVitrolanDoc* pDoc = GetDocument();
    CreatePrintObjects(pDC);
    if (pDoc->m_picturePage)
        DrawPicturePage();
    if (pDoc->m_infoPage)
        DrawInfoPage(m_page.currentPage);
    else if (pDoc->m_planPage)
        DrawPlanPage(pDC, m_page.currentPage);
    else if (pDoc->m_paletteChartPage)
        DrawPaletteChartPage(pDC, m_page.currentPage);
    ReleasePrintObjects(pDC);
    // Beside the picture page, the window shows the whole mosaic.
    if (!pDoc->m_infoPage && !pDoc->m_planPage && !pDoc->m_paletteChartPage)
        DrawWholeMosaicFitted(pDC);
}

int CVitrolanView::SymbolWidth() const
{
    const C2Palette& palette = GetDocument()->m_imagePalette;
    int nWidth = 2;
    for (int i = 0; i < kImageColours; i++)
        nWidth = std::max(nWidth, palette.m_symbols[i].GetLength());
    return (nWidth + 1) & ~1;
}

void CVitrolanView::CreatePrintObjects(CDC* pDC)
{
    ReleasePrintObjects(NULL);
    InitPageMetrics();
    CVitrolanDoc* pDoc = GetDocument();
    const int nColours = std::min(std::max(pDoc->m_colourCount, 0), kImageColours);
    const int nTileColours = std::min(std::max(pDoc->m_tileColourCount, 0), kImageColours);
    for (int i = 0; i < nColours; i++)
        m_colourBrushes[i].CreateSolidBrush(PaletteRelative(pDoc->m_imagePalette.m_colours[i]));
    m_whiteBrush.CreateSolidBrush(kPaletteRelative | RGB(255, 255, 255));
    if (pDoc->m_paletteChartPage)
        for (int i = 0; i < nTileColours; i++)
            m_chartBrushes[i].CreateSolidBrush(
                PaletteRelative(pDoc->m_tilePalette.m_colours[i]));

    const BYTE* joint = pDoc->m_colourTable[1];
    const BOOL bLabels = pDoc->impression >= 0 && pDoc->impression <= 2;
    m_jointPen.CreatePen(PS_SOLID, m_page.jointWidth,
                         bLabels ? RGB(0, 0, 0)
                                 : OutlineColourOnPaper(RGB(joint[0], joint[1], joint[2])));
    m_whitePen.CreatePen(PS_SOLID, RoundHalfAway(m_page.jointWidth * 1.35), RGB(255, 255, 255));

    const int b = SymbolWidth();
    const int t = pDoc->taillecar;
    CreatePageFont(m_tileFonts[0], RoundHalfAway((t / (b + 4)) * 0.9));
    CreatePageFont(m_tileFonts[1], RoundHalfAway((t / (b + 4)) * 0.9));
    CreatePageFont(m_tileFonts[2], RoundHalfAway((t / (b + 6)) * 0.9));
    CreatePageFont(m_tileFonts[3], RoundHalfAway((t / (b + 12)) * 0.9));
    CreatePageFont(m_titleFont, (int)((float)(t / 2) * 0.8f), TRUE);
    CreatePageFont(m_smallTextFont, (2 * m_page.lineHeight) / 3);
    CreatePageFont(m_textFont, m_page.lineHeight);

    if (pDoc->m_paletteChartPage)
        for (int i = 0; i < nTileColours; i++)
            CreateRecordFont(m_chartSymbolFonts[i], pDoc->m_tilePalette.m_symbolFonts[i],
                             -(m_page.swatchSize / 2), NULL);
    if (pDoc->impression == 2 && (pDoc->m_planPage || pDoc->m_infoPage))
    {
        const int nFirst = pDoc->m_planPage ? -RoundHalfAway((t / b) * 0.6)
                                            : -(m_page.swatchSize / b);
        const int heights[4] = {nFirst, -RoundHalfAway((t / (b + 4)) * 0.6),
                                -RoundHalfAway((t / (b + 6)) * 0.9),
                                -RoundHalfAway((t / (b + 12)) * 0.9)};
        for (int set = 0; set < 4; set++)
            for (int i = 0; i < nColours; i++)
                CreateRecordFont(m_symbolFonts[set][i], pDoc->m_imagePalette.m_symbolFonts[i],
                                 heights[set], L"Arial Unicode MS");
    }
    if (pDC != NULL)
        m_pOldPageFont = pDC->SelectObject(&m_tileFonts[0]);
}

void CVitrolanView::ReleasePrintObjects(CDC* pDC)
{
    if (pDC != NULL && m_pOldPageFont != NULL)
        pDC->SelectObject(m_pOldPageFont);
    m_pOldPageFont = NULL;
    for (int i = 0; i < kImageColours; i++)
    {
        m_colourBrushes[i].DeleteObject();
        m_chartBrushes[i].DeleteObject();
        m_chartSymbolFonts[i].DeleteObject();
        for (int set = 0; set < 4; set++)
            m_symbolFonts[set][i].DeleteObject();
    }
    m_whiteBrush.DeleteObject();
    m_jointPen.DeleteObject();
    m_whitePen.DeleteObject();
    for (CFont& font : m_tileFonts)
        font.DeleteObject();
    m_titleFont.DeleteObject();
    m_smallTextFont.DeleteObject();
    m_textFont.DeleteObject();
}

CBrush* CVitrolanView::ColourBrush(int nColour)
{
    if (nColour >= 0 && nColour < kImageColours && m_colourBrushes[nColour].GetSafeHandle())
        return &m_colourBrushes[nColour];
    return &m_whiteBrush;
}
