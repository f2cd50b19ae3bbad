#include "PageCanvas.h"

#include <vector>

#include "Paving.h"
#include "Pdf.h"

int CPageCanvas::ToLayer(int v) const
{
    return m_bImperial ? RoundHalfAway(v * 2.54) : v;
}

POINT CPageCanvas::ToLayer(POINT point) const
{
    const POINT result = {ToLayer(point.x), ToLayer(point.y)};
    return result;
}

RECT CPageCanvas::ToLayer(const RECT& rect) const
{
    const RECT result = {ToLayer(rect.left), ToLayer(rect.top), ToLayer(rect.right),
                         ToLayer(rect.bottom)};
    return result;
}

void CPageCanvas::MoveTo(POINT point)
{
    if (m_pPdf != NULL)
        m_pPdf->MoveTo(ToLayer(point));
}

void CPageCanvas::LineTo(POINT point)
{
    if (m_pPdf != NULL)
        m_pPdf->LineTo(ToLayer(point));
}

void CPageCanvas::Line(int x1, int y1, int x2, int y2)
{
    const POINT from = {x1, y1}, to = {x2, y2};
    MoveTo(from);
    LineTo(to);
}

void CPageCanvas::Rectangle(const RECT& rect)
{
    if (m_pPdf != NULL)
        m_pPdf->Rectangle(ToLayer(rect));
}

void CPageCanvas::Ellipse(const RECT& rect)
{
    if (m_pPdf != NULL)
        m_pPdf->Ellipse(ToLayer(rect));
}

void CPageCanvas::Polygon(const POINT* pPoints, int nCount)
{
    if (m_pPdf == NULL || pPoints == NULL || nCount <= 0)
        return;
    std::vector<POINT> points(pPoints, pPoints + nCount);
    for (POINT& point : points)
        point = ToLayer(point);
    m_pPdf->Polygon(points.data(), nCount);
}

void CPageCanvas::ArcTo(const RECT& rect, POINT ptStart, POINT ptEnd)
{
    if (m_pPdf != NULL)
        m_pPdf->ArcTo(ToLayer(rect), ToLayer(ptStart), ToLayer(ptEnd));
}

void CPageCanvas::Arc(int nLeft, int nTop, int nRight, int nBottom, int xStart, int yStart,
                      int xEnd, int yEnd)
{
    if (m_pPdf != NULL)
        m_pPdf->Arc(ToLayer(nLeft), ToLayer(nTop), ToLayer(nRight), ToLayer(nBottom),
                    ToLayer(xStart), ToLayer(yStart), ToLayer(xEnd), ToLayer(yEnd));
}

void CPageCanvas::DrawText(int nSize, const CString& strText, const RECT& rect, int nHorzAlign,
                           int nVertAlign)
{
    if (m_pPdf != NULL)
        m_pPdf->DrawText(nSize, strText, ToLayer(rect), nHorzAlign, nVertAlign);
}

void CPageCanvas::TextOut(int x, int y, const CString& strText)
{
    if (m_pPdf != NULL)
        m_pPdf->TextOut(ToLayer(x), ToLayer(y), strText);
}

CBrush* CPageCanvas::SelectBrush(CBrush* pBrush)
{
    return m_pPdf != NULL ? m_pPdf->SelectBrush(pBrush) : pBrush;
}

CPen* CPageCanvas::SelectPen(CPen* pPen)
{
    return m_pPdf != NULL ? m_pPdf->SelectPen(pPen) : pPen;
}

CFont* CPageCanvas::SelectFont(CFont* pFont)
{
    return m_pPdf != NULL ? m_pPdf->SelectFont(pFont) : pFont;
}

void CPageCanvas::SetTextColor(COLORREF crColor)
{
    if (m_pPdf != NULL)
        m_pPdf->SetTextColor(crColor);
}
