// Laying-plan pages: one page cell of one plate, every tile at its true size as its outline,
// under the plate's title and the document's, with arrows to the plate's neighbouring pages,
// rulers, and a thumbnail of the mosaic with the plate outlined on it.
#include "VitrolanView.h"

#include <math.h>

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

// Where the thumbnail's lower-left corner lies on the paper, in hundredths of a millimetre
// from the left edge and above the bottom edge, and the width of its plate outline.
const int kThumbnailLeft = 1250;
const int kThumbnailAboveBottom = 5500;
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
    DrawPlanHeading(pPlaque, nPage);
    DrawNeighbourArrows(pPlaque, rectCell);
    DrawPlanGrid(pPlaque, rectCell, PlanTextSize(pDoc->m_pitch));
    if (pDoc->imprVignettes == 1)
        DrawPlanThumbnail(pPlaque);

    m_canvas.SelectBrush(pOldBrush);
    m_canvas.SelectPen(pOldPen);
    m_canvas.SelectFont(pOldFont);
    return TRUE;
}

void CVitrolanView::DrawPlanHeading(const CPlaque* pPlaque, int nPage)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int W = m_page.width, H = m_page.height, m = m_page.margin;
    CString strTitle;
    strTitle.Format(L"%s %d (%d)", (LPCTSTR)GetLangText(TXT_PLATE), pPlaque->m_number,
                    nPage - pPlaque->m_firstPage + 1);
    CRect rect((3 * m) / 2 + pDoc->m_rulerBand, 3 * m - H, W, 2 * m - H);
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

void CVitrolanView::DrawNeighbourArrows(const CPlaque* pPlaque, const CRect& rectCell)
{
    const int W = m_page.width, H = m_page.height, m = m_page.margin, L = m_page.lineHeight;
    const int R = GetDocument()->m_rulerBand;
    const struct
    {
        ArrowSide side;
        int nColumn;
        int nRow;
        CRect rect;
    } neighbours[] = {
        {ArrowLeft, rectCell.left - 1, rectCell.top, CRect(m, L - H / 2, m + R, -H / 2 - L)},
        {ArrowRight, rectCell.right, rectCell.top, CRect(W - R, L - H / 2, W, -H / 2 - L)},
        {ArrowUp, rectCell.left, rectCell.top - 1, CRect(W / 2 - L, -m, W / 2 + L, -m - R)},
        {ArrowDown, rectCell.left, rectCell.bottom, CRect(W / 2 - L, R - H, W / 2 + L, -H)},
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
            m_canvas.DrawText(op.value, op.text, op.rect, op.hAlign, op.vAlign);
            break;
        }
    }
}

void CVitrolanView::DrawScaleArc(int nLeft, int nTop, int nRight, int nBottom, int xStart,
                                 int yStart, int xEnd, int yEnd)
{
    m_canvas.Arc(nLeft, nTop, nRight, nBottom, xStart, yStart, xEnd, yEnd);
}

// The thumbnail is placed in hundredths of a millimetre, whatever the document's units.
void CVitrolanView::DrawPlanThumbnail(const CPlaque* pPlaque)
{
    const CVitrolanDoc* pDoc = GetDocument();
    CPdf& pdf = *m_pPdf;
    if (pdf.m_pThumbnailForm == NULL || pDoc->m_cols <= 0 || pDoc->m_rows <= 0)
        return;
    const int x0 =
        pdf.FromPageX((int)(pDoc->m_thumbOffsetX / 100.0 * pDoc->m_thumbWidth)) + kThumbnailLeft;
    const int y0 = pdf.FromPageY((int)(pDoc->m_thumbOffsetY / 100.0 * pDoc->m_thumbHeight)) -
                   pdf.m_nPaperHeight + kThumbnailAboveBottom;
    pdf.PlaceForm(pdf.m_pThumbnailForm, 1.0, pdf.ToPageX(x0), pdf.ToPageY(y0));

    const double tw = pdf.FromPageX(pDoc->m_thumbWidth);
    const double th = pdf.FromPageY(pDoc->m_thumbHeight);
    const CRect rect((int)(tw / pDoc->m_cols * pPlaque->m_firstCol + x0),
                     (int)(th + y0 - th / pDoc->m_rows * pPlaque->m_firstRow),
                     (int)(tw / pDoc->m_cols * pPlaque->m_endCol + x0),
                     (int)(th + y0 - th / pDoc->m_rows * pPlaque->m_endRow));
    CPen pen;
    pen.CreatePen(PS_SOLID, 12, pPlaque->m_colour);
    pdf.SelectPen(&pen);
    pdf.m_bFill = false;
    pdf.m_pStrokeOptions->strokeWidth = kThumbnailOutlineWidth;
    pdf.Rectangle(rect);
    pen.DeleteObject();
}
