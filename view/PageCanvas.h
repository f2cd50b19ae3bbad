// CPageCanvas: the PDF layer as the page renderers draw on it, in the document's page units.
// An imperial document lays its pages out in thousandths of an inch; these become the
// layer's hundredths of a millimetre on the way, so that its pages come out at their true
// size and not at 1/2.54 of it.
#pragma once

#include <windows.h>

#include "AfxGdi.h"
#include "AfxString.h"

class CPdf;

class CPageCanvas
{
public:
    CPageCanvas() : m_pPdf(NULL), m_bImperial(FALSE) {}

    void Attach(CPdf* pPdf, BOOL bImperial)
    {
        m_pPdf = pPdf;
        m_bImperial = bImperial;
    }

    // A length or coordinate in page units as the layer takes it.
    int ToLayer(int v) const;
    POINT ToLayer(POINT point) const;
    RECT ToLayer(const RECT& rect) const;

    // The layer's calls; nothing is drawn while no layer is attached.
    void MoveTo(POINT point);
    void LineTo(POINT point);
    // One segment: the layer needs a move before every line.
    void Line(int x1, int y1, int x2, int y2);
    void Rectangle(const RECT& rect);
    void Ellipse(const RECT& rect);
    void Polygon(const POINT* pPoints, int nCount);
    void ArcTo(const RECT& rect, POINT ptStart, POINT ptEnd);
    void Arc(int nLeft, int nTop, int nRight, int nBottom, int xStart, int yStart, int xEnd,
             int yEnd);
    void DrawText(int nSize, const CString& strText, const RECT& rect, int nHorzAlign,
                  int nVertAlign);
    // A line of text at size 14 whose top-left corner is the point.
    void TextOut(int x, int y, const CString& strText);
    CBrush* SelectBrush(CBrush* pBrush);
    CPen* SelectPen(CPen* pPen);
    CFont* SelectFont(CFont* pFont);
    void SetTextColor(COLORREF crColor);

private:
    CPdf* m_pPdf;
    BOOL m_bImperial;
};
