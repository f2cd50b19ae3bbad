// Laying-plan pages: one page cell of one plate, every tile at its true size as its outline,
// under the plate's title and the document's, with arrows to the plate's neighbouring pages,
// rulers, and a thumbnail of the mosaic with the plate outlined on it.
#include "VitrolanView.h"

#include <math.h>

#include <algorithm>

#include "AfxTime.h"
#include "LangText.h"
#include "Paving.h"
#include "Pdf.h"
#include "Plaque.h"
#include "TextIds.h"

namespace
{

// Text alignment codes of the PDF layer.
enum { AlignLeft = 0, AlignCentre = 1, AlignTop = 0, AlignMiddle = 4, AlignBottom = 8 };
const int kHeadingSize = 14;

// Width of the plate's outline on the thumbnail.
const int kThumbnailOutlineWidth = 2;

enum ArrowSide { ArrowLeft, ArrowRight, ArrowUp, ArrowDown };

// An arrow beside a neighbour's number, pointing off the page: its shaft from the tail to the
// tip and two barbs from the tip.
struct Arrow
{
    POINT tail;
    POINT tip;
    POINT barbs[2];
};

Arrow NeighbourArrow(ArrowSide side, const CRect& rect, int nLineHeight)
{
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;   // negative: y grows upwards
    Arrow arrow;
    if (side == ArrowLeft || side == ArrowRight)
    {
        const int y = rect.bottom - nLineHeight;
        const int nSign = side == ArrowLeft ? 1 : -1;
        const int xTail = side == ArrowLeft ? rect.right - w / 8 : rect.left + w / 8;
        const int xTip = side == ArrowLeft ? rect.left + w / 8 : rect.right - w / 8;
        arrow.tail = {xTail, y};
        arrow.tip = {xTip, y};
        arrow.barbs[0] = {xTip + nSign * (w / 3), y - h / 3};
        arrow.barbs[1] = {xTip + nSign * (w / 3), y + h / 3};
    }
    else
    {
        const int x = rect.left - nLineHeight;
        const int yTail = side == ArrowUp ? rect.bottom + w / 8 : rect.top - w / 8;
        const int yTip = side == ArrowUp ? rect.top + w / 8 : rect.bottom + w / 8;
        const int yBarbs = side == ArrowUp ? yTip + h / 3 : yTip - h / 3;
        arrow.tail = {x, yTail};
        arrow.tip = {x, yTip};
        arrow.barbs[0] = {x - w / 3, yBarbs};
        arrow.barbs[1] = {x + w / 3, yBarbs};
    }
    return arrow;
}

CString NumberText(int n)
{
    CString strText;
    strText.Format(L"%d", n);
    return strText;
}

}   // namespace

int CVitrolanView::PlanTextSize(int nPitch)
{
    const double p = nPitch;
    if (p <= 719.5)
        return 8;
    if (p <= 964.5)
        return 10;
    if (p <= 1209.5)
        return 12;
    return 14;
}

BOOL CVitrolanView::DrawPlanPage(CDC*, int nPage)
{
    CVitrolanDoc* pDoc = GetDocument();
    CBrush* pOldBrush = m_canvas.SelectBrush(&m_whiteBrush);
    CPen* pOldPen = m_canvas.SelectPen(&m_jointPen);
    CFont* pOldFont = m_canvas.SelectFont(&m_tileFonts[0]);
    m_canvas.SetTextColor(RGB(0, 0, 0));

    const CPlaque* pPlaque = pDoc->FindPlaqueByPage(nPage);
    CRect rectCell;
    if (pPlaque == NULL ||
        !GetPageCell(pPlaque, nPage - pPlaque->m_firstPage + 1, rectCell))
        return FALSE;
    const PlanLayout layout = ComputePlanLayout(pDoc->m_pitch);
    DrawPlanHeading(layout, pPlaque, nPage);
    DrawNeighbourArrows(layout, pPlaque, rectCell);
    DrawPlanGrid(pPlaque, rectCell, PlanTextSize(pDoc->m_pitch));
    if (pDoc->imprVignettes == 1)
        DrawPlanThumbnail(layout, pPlaque);

    m_canvas.SelectBrush(pOldBrush);
    m_canvas.SelectPen(pOldPen);
    m_canvas.SelectFont(pOldFont);
    return TRUE;
}

void CVitrolanView::DrawPlanHeading(const PlanLayout& layout, const CPlaque* pPlaque,
                                    int nPage)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int m = m_page.margin;
    CString strTitle;
    strTitle.Format(L"%s %d (%d)", (LPCTSTR)GetLangText(TXT_PLATE), pPlaque->m_number,
                    nPage - pPlaque->m_firstPage + 1);
    CRect rect(layout.title);
    m_canvas.SelectFont(&m_titleFont);
    m_canvas.DrawText(kHeadingSize, strTitle, rect, AlignLeft, AlignBottom);

    CString strLine;
    strLine.Format(L"%s - %s", (LPCTSTR)pDoc->GetTitle(),
                   (LPCTSTR)CTime::GetCurrentTime().Format(L"%d-%m-%y %H:%M"));
    rect.OffsetRect(0, -m);
    m_canvas.SelectFont(&m_smallTextFont);
    m_canvas.DrawText(kHeadingSize, strLine, rect, AlignLeft, AlignBottom);
    m_canvas.SelectFont(&m_tileFonts[0]);
}

void CVitrolanView::DrawNeighbourArrows(const PlanLayout& layout, const CPlaque* pPlaque,
                                        const CRect& rectCell)
{
    const int L = m_page.lineHeight;
    const struct
    {
        ArrowSide side;
        int nColumn;
        int nRow;
        CRect rect;
    } neighbours[] = {
        {ArrowLeft, rectCell.left - 1, rectCell.top, layout.neighbours[NeighbourLeft]},
        {ArrowRight, rectCell.right, rectCell.top, layout.neighbours[NeighbourRight]},
        {ArrowUp, rectCell.left, rectCell.top - 1, layout.neighbours[NeighbourUp]},
        {ArrowDown, rectCell.left, rectCell.bottom, layout.neighbours[NeighbourDown]},
    };
    for (const auto& neighbour : neighbours)
    {
        const int nCell = FindPageAt(pPlaque, neighbour.nColumn, neighbour.nRow);
        if (nCell < 0)
            continue;
        m_canvas.SelectFont(&m_titleFont);
        m_canvas.DrawText(kHeadingSize, NumberText(nCell), neighbour.rect, AlignCentre,
                          AlignMiddle);
        m_canvas.SelectFont(&m_tileFonts[0]);
        const Arrow arrow = NeighbourArrow(neighbour.side, neighbour.rect, L);
        m_canvas.Line(arrow.tail.x, arrow.tail.y, arrow.tip.x, arrow.tip.y);
        for (const POINT& barb : arrow.barbs)
            m_canvas.Line(arrow.tip.x, arrow.tip.y, barb.x, barb.y);
    }
}

void CVitrolanView::DrawPlanGrid(const CPlaque* pPlaque, const CRect& rectCell, int nTextSize)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pitch;
    const int nStart = m_page.margin + pDoc->m_rulerBand;
    const int nFirstColumn = RoundHalfAway(pPlaque->m_firstCol);
    const int nFirstRow = RoundHalfAway(pPlaque->m_firstRow);

    CTileOutlines outlines;
    outlines.m_pavingType = pDoc->m_pavingType;
    outlines.m_pitch = P;
    outlines.m_labelMode = pDoc->impression;
    outlines.m_fillColours = pDoc->imprCouleurs == 1;
    outlines.m_mirrored = pDoc->filet == 1;
    outlines.m_textSize = nTextSize;
    outlines.m_pImagePalette = &pDoc->m_imagePalette;
    outlines.m_pTilePalette = &pDoc->m_tilePalette;

    TileOpList ops;
    int x = nStart;
    for (int c = rectCell.left; c < rectCell.right; c++, x += P)
    {
        int y = -nStart;
        for (int r = rectCell.top; r < rectCell.bottom; r++)
        {
            // A row the paving does not place (row 0 of triangles of an odd count).
            if (r < FirstPavingRow(pDoc->m_pavingType, pDoc->m_rows))
                continue;
            if (pDoc->regles == 1)
            {
                m_canvas.SelectFont(&m_titleFont);
                if (r == nFirstRow)
                    m_canvas.DrawText(nTextSize, NumberText(c + 1),
                                      CRect(x, pDoc->m_rulerBand + y, x + P, y), AlignCentre,
                                      AlignTop);
                // Two rows of triangles share a band, and its number.
                if (c == nFirstColumn &&
                    (pDoc->m_pavingType != PavingTriangles || PlanRowStep(r) != 0))
                    m_canvas.DrawText(nTextSize, NumberText(r + 1), CRect(0, y, nStart, y - P),
                                      AlignCentre, AlignMiddle);
                m_canvas.SelectFont(&m_tileFonts[0]);
            }
            ops.clear();
            outlines.BuildTile(pDoc->m_committedMap, pDoc->m_rows, pPlaque->m_firstCol,
                               pPlaque->m_endCol, c, r, x, y, ops);
            DrawTileOps(ops);
            y -= PlanRowStep(r);
        }
    }
}

int CVitrolanView::PlanRowStep(int nRow) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pitch;
    switch (pDoc->m_pavingType)
    {
    case PavingDiamonds:
    case PavingScales1:
    case PavingScales2:
        return P / 2;
    case PavingCircles:
    {
        const long long nHalf = P / 2;
        return RoundHalfAway(sqrt((double)((long long)P * P - nHalf * nHalf)));
    }
    case PavingTriangles:
        // The row below starts a new band unless it shares this one.
        return SharesBandWithRowAbove(PavingTriangles, pDoc->m_rows, nRow + 1) ? 0 : P;
    case PavingHexagons:
        return RoundHalfAway(P * 3.0 * 0.25);
    default:
        return P;
    }
}

void CVitrolanView::DrawTileOps(const TileOpList& ops)
{
    for (const TileOp& op : ops)
    {
        switch (op.code)
        {
        case TileOpSetTextColor:
            m_canvas.SetTextColor((COLORREF)op.value);
            break;
        case TileOpSelectBrush:
            m_canvas.SelectBrush(ColourBrush(op.value));
            break;
        case TileOpSelectFont:
            m_canvas.SelectFont(&m_tileFonts[op.value == 2 ? 1 : 0]);
            break;
        case TileOpRectangle:
            m_canvas.Rectangle(op.rect);
            break;
        case TileOpEllipse:
            m_canvas.Ellipse(op.rect);
            break;
        case TileOpPolygon:
            m_canvas.Polygon(op.points.data(), (int)op.points.size());
            break;
        case TileOpArcTo:
            m_canvas.ArcTo(op.rect, op.start, op.end);
            break;
        case TileOpArc:
            DrawScaleArc(op.rect.left, op.rect.top, op.rect.right, op.rect.bottom, op.start.x,
                         op.start.y, op.end.x, op.end.y);
            break;
        case TileOpMoveTo:
            m_canvas.MoveTo(op.start);
            break;
        case TileOpLineTo:
            m_canvas.LineTo(op.start);
            break;
        case TileOpDrawText:
            // A symbol is drawn in the font its palette names for it.
            if (GetDocument()->impression == CTileOutlines::LabelSymbol && op.colour >= 0 &&
                op.colour < 256 && m_symbolFonts[0][op.colour].GetSafeHandle() != NULL)
                m_canvas.SelectFont(&m_symbolFonts[0][op.colour]);
            m_canvas.DrawText(op.value, op.text, op.rect, op.hAlign, op.vAlign);
            m_canvas.SelectFont(&m_tileFonts[0]);
            break;
        }
    }
}

void CVitrolanView::DrawScaleArc(int nLeft, int nTop, int nRight, int nBottom, int xStart,
                                 int yStart, int xEnd, int yEnd)
{
    m_canvas.Arc(nLeft, nTop, nRight, nBottom, xStart, yStart, xEnd, yEnd);
}

// The thumbnail is fitted into its square below the grid, in the middle of it, with the
// plate outlined on it in the plate's colour.
void CVitrolanView::DrawPlanThumbnail(const PlanLayout& layout, const CPlaque* pPlaque)
{
    const CVitrolanDoc* pDoc = GetDocument();
    CPdf& pdf = *m_pPdf;
    const int nLongest = std::max(pDoc->m_thumbWidth, pDoc->m_thumbHeight);
    if (pdf.m_pThumbnailForm == NULL || pDoc->m_cols <= 0 || pDoc->m_rows <= 0 ||
        pDoc->m_thumbWidth <= 0 || pDoc->m_thumbHeight <= 0 || pdf.m_nPaperWidth <= 0)
        return;
    // In the layer's hundredths of a millimetre from here on, whatever the document's units.
    const RECT box = m_canvas.ToLayer(layout.thumbnail);
    const double dSide = box.right - box.left;
    const double dPixel = dSide / nLongest;
    const double w = pDoc->m_thumbWidth * dPixel, h = pDoc->m_thumbHeight * dPixel;
    const double x0 = box.left + (dSide - w) / 2, y0 = box.bottom + (dSide - h) / 2;
    pdf.PlaceForm(pdf.m_pThumbnailForm, dPixel * pdf.m_nPageWidthPt / pdf.m_nPaperWidth,
                  pdf.ToPageX(RoundHalfAway(x0)), pdf.ToPageY(RoundHalfAway(y0)));

    const CRect rect((int)(x0 + w / pDoc->m_cols * pPlaque->m_firstCol),
                     (int)(y0 + h - h / pDoc->m_rows * pPlaque->m_firstRow),
                     (int)(x0 + w / pDoc->m_cols * pPlaque->m_endCol),
                     (int)(y0 + h - h / pDoc->m_rows * pPlaque->m_endRow));
    CPen pen;
    pen.CreatePen(PS_SOLID, 12, pPlaque->m_colour);
    pdf.SelectPen(&pen);
    pdf.m_bFill = false;
    pdf.m_pStrokeOptions->strokeWidth = kThumbnailOutlineWidth;
    pdf.Rectangle(rect);
    pen.DeleteObject();
}
