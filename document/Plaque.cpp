#include "Plaque.h"

#include <stdio.h>

#include "AfxArchive.h"
#include "AfxGdi.h"
#include "AfxString.h"
#include "OpenCv.h"
#include "Paving.h"

IMPLEMENT_SERIAL(CPlaque, CObject, 1)

CPlaque::CPlaque()
    : m_number(0), m_colour(255), m_pavingType(0), m_firstPage(0), m_lastPage(0),
      m_endCol(0), m_endRow(0), m_firstCol(0), m_firstRow(0)
{
}

RECT CPlaque::GetFrame(int zoom, int cols, int rows, int originCol, int originRow, int xOffset,
                       int yOffset, int thick, int divisor) const
{
    // A divisor below 1 would scale the frame to nothing or infinity; draw it unscaled.
    const int z = RoundHalfAway((double)zoom / (divisor >= 1 ? divisor : 1));
    const int p = m_pavingType;

    double rightLimit = m_endCol;
    if (p != 0 && cols - 1 < rightLimit)
        rightLimit = cols - 1;
    double bottomLimit = m_endRow;
    if (p != 0)
    {
        const int lastRow = (p == PavingTriangles || p == PavingCrossedJoints) ? rows : rows - 1;
        if (lastRow < bottomLimit)
            bottomLimit = lastRow;
    }

    const int inset = thick ? 2 : 1;
    RECT frame;
    frame.left = TileToPixelX(p, z, RoundHalfAway(m_firstCol) - originCol, 0) + xOffset + inset;
    frame.right = TileToPixelX(p, z, RoundHalfAway(rightLimit) - originCol, 0) + xOffset - inset;
    // Rows where the paving places them, counted from the one at the top.
    const int top = RowToPixelY(p, z, rows, originRow, 0);
    frame.top = RowToPixelY(p, z, rows, RoundHalfAway(m_firstRow), 0) - top + yOffset + inset;
    const int bottom = RowToPixelY(p, z, rows, RoundHalfAway(bottomLimit), 0) - top + yOffset;
    // A plate on the grid's last row keeps its bottom edge inside the last tiles.
    const bool lastRow = thick ? bottomLimit >= rows - 1 : bottomLimit == rows - 1;
    frame.bottom = lastRow ? bottom + inset : bottom - inset;
    return frame;
}

void CPlaque::Draw(CDC* pDC, int zoom, int cols, int rows, int black, int numbers,
                   int originCol, int originRow, int xOffset, int yOffset, int thick,
                   int divisor)
{
    const COLORREF colour = black ? RGB(0, 0, 0) : m_colour;
    RECT frame = GetFrame(zoom, cols, rows, originCol, originRow, xOffset, yOffset, thick,
                          divisor);

    CPen pen;
    pen.CreatePen(PS_SOLID, thick ? 4 : 2, colour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(frame.left, frame.top);
    pDC->LineTo(frame.right, frame.top);
    pDC->LineTo(frame.right, frame.bottom);
    pDC->LineTo(frame.left, frame.bottom);
    pDC->LineTo(frame.left, frame.top);
    pDC->SetTextColor(colour);
    pDC->SetBkMode(TRANSPARENT);

    if (numbers)
    {
        CFont font;
        font.CreateFont(zoom * 5 / 2, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, L"");
        CFont* pOldFont = pDC->SelectObject(&font);
        CString text;
        text.Format(L"%d", m_number);
        pDC->DrawText(text, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        pDC->SelectObject(pOldFont);
        font.DeleteObject();
    }

    pDC->SelectObject(pOldPen);
    pDC->SetTextColor(0);
    pen.DeleteObject();
}

void CPlaque::DrawOnImage(cv::Mat& image, int zoom, int cols, int rows, int black, int numbers,
                          int originCol, int originRow, int xOffset, int yOffset, int thick,
                          int divisor)
{
    const COLORREF colour = black ? RGB(0, 0, 0) : m_colour;
    const cv::Scalar scalar(GetBValue(colour), GetGValue(colour), GetRValue(colour), 0);
    const RECT frame = GetFrame(zoom, cols, rows, originCol, originRow, xOffset, yOffset, thick,
                                divisor);
    cv::rectangle(image, cv::Point(frame.left, frame.top), cv::Point(frame.right, frame.bottom),
                  scalar, 2, 8);
    if (!numbers)
        return;

    int thickness;
    double scale;
    if (zoom >= 48)      { thickness = 3; scale = 3.0; }
    else if (zoom >= 24) { thickness = 2; scale = 2.0; }
    else if (zoom >= 14) { thickness = 2; scale = 1.5; }
    else if (zoom >= 12) { thickness = 2; scale = 1.0; }
    else if (zoom >= 10) { thickness = 2; scale = 0.8; }
    else if (zoom >= 6)  { thickness = 2; scale = 0.7; }
    else if (zoom >= 3)  { thickness = 1; scale = 0.6; }
    else                 { thickness = 1; scale = 0.5; }

    char text[16];
    snprintf(text, sizeof(text), "%d", m_number);
    int baseline = 0;
    const cv::Size size = cv::getTextSize(text, 0, scale, thickness, &baseline);
    const int x = frame.left + (frame.right - frame.left - size.width) / 2;
    const int y = frame.top + (frame.bottom - frame.top + size.height) / 2;
    cv::putText(image, text, cv::Point(x, y), 0, scale, scalar, thickness, 8, false);
}
