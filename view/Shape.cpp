#include "Shape.h"

#include "AfxArchive.h"
#include "AfxGdi.h"
#include "Paving.h"

IMPLEMENT_SERIAL(CShape, CObject, 1)

namespace
{

// Fill of the handle boxes: near black, but not the stock black brush.
const COLORREF kHandleFill = RGB(13, 0, 0);

CRect Normalized(const CRect& rect)
{
    CRect result(rect);
    result.NormalizeRect();
    return result;
}

} // namespace

CShape::CShape() : m_hollow(1), m_colour(0), m_handlesShown(1), m_pavingType(0) {}

CShape::~CShape() {}

void CShape::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        RECT rect = m_rect;
        ar.Write(&rect, sizeof(rect));
        ar << (BYTE)(m_hollow != 0 ? 1 : 0);
        ar << m_colour;
    }
    else
    {
        RECT rect;
        ar.EnsureRead(&rect, sizeof(rect));
        BYTE hollow = 0;
        int colour = 0;
        ar >> hollow;
        ar >> colour;
        m_rect = rect;
        m_hollow = hollow != 0 ? 1 : 0;
        m_colour = colour;
        m_handlesShown = 0;
    }
}

void CShape::Draw(CDC*, BOOL) {}

void CShape::ComputeHandles()
{
    const int b = GetSystemMetrics(SM_CXBORDER);
    const int h = 7 * b;
    const int c = 7 * b / 2;
    const int L = m_rect.left, T = m_rect.top, R = m_rect.right, B = m_rect.bottom;
    const int mx = (L - h) + (R - L + 2 * h) / 2;
    const int my = (T + h) + (B - T - 2 * h) / 2;

    // Top and bottom of the upper boxes (and of the bottom-middle one) are exchanged, as in
    // the rectangles the tools have always kept.
    m_handles[HandleTopLeft].SetRect(L - h + 4, T + h - 4, L + 4, T - 4);
    m_handles[HandleTopRight].SetRect(R - 4, T + h - 4, R + h - 4, T - 4);
    m_handles[HandleBottomRight].SetRect(R - 4, B + 4, R + h - 4, B - h + 4);
    m_handles[HandleBottomLeft].SetRect(L - h + 4, B + 4, L + 4, B - h + 4);
    m_handles[HandleTop].SetRect(mx - c, T + h - 4, mx + c, T - 4);
    m_handles[HandleRight].SetRect(R - 4, my - c, R + h - 4, my + c);
    m_handles[HandleBottom].SetRect(mx - c, B + 4, mx + c, B - h + 4);
    m_handles[HandleLeft].SetRect(L - h + 4, my - c, L + 4, my + c);
}

CRect CShape::GetHandleRect(int nHandle) const
{
    if (nHandle < 0 || nHandle >= HandleCount)
        return CRect();
    return Normalized(m_handles[nHandle]);
}

void CShape::DrawHandles(CDC* pDC)
{
    CPen pen;
    CBrush brush;
    if (!pen.CreatePen(PS_INSIDEFRAME, 0, RGB(0, 0, 0)) || !brush.CreateSolidBrush(kHandleFill))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    ComputeHandles();
    for (int i = 0; i < HandleCount; i++)
        pDC->Rectangle(&m_handles[i]);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CShape::SaveHandles()
{
    for (int i = 0; i < HandleCount; i++)
        m_savedHandles[i] = GetHandleRect(i);
}

int CShape::HitTest(CPoint point) const
{
    int nHit = HitNothing;
    for (int i = 0; i < HandleCount; i++)
        if (GetHandleRect(i).PtInRect(point))
            nHit = i;
    if (nHit != HitNothing)
        return nHit;
    const CRect rect = Normalized(m_rect);
    if (point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
        point.y <= rect.bottom)
        return HitInside;
    return HitNothing;
}

void CShape::MoveHandleTo(int nHandle, CPoint point)
{
    switch (nHandle)
    {
    case HandleTopLeft:
        m_rect.left = point.x;
        m_rect.top = point.y;
        break;
    case HandleTopRight:
        m_rect.right = point.x;
        m_rect.top = point.y;
        break;
    case HandleBottomLeft:
        m_rect.left = point.x;
        m_rect.bottom = point.y;
        break;
    case HandleTop:
        m_rect.top = point.y;
        break;
    case HandleRight:
        m_rect.right = point.x;
        break;
    case HandleBottom:
        m_rect.bottom = point.y;
        break;
    case HandleLeft:
        m_rect.left = point.x;
        break;
    case HandleBottomRight:
    case HitNothing:
        m_rect.right = point.x;
        m_rect.bottom = point.y;
        break;
    default:
        break;
    }
}

void CShape::Offset(int dx, int dy)
{
    m_rect.OffsetRect(dx, dy);
}

// The shift is the picture's: a column (row) more or less moves it by that column's (row's)
// pitch, also from the first column, which an offset of 1 would count as empty.
void CShape::ScrollX(int nOldCol, int nNewCol, int nZoom, int nPavingType)
{
    const int d = TileToPixelX(nPavingType, nZoom, nOldCol, 0) -
                  TileToPixelX(nPavingType, nZoom, nNewCol, 0);
    m_rect.left += d;
    m_rect.right += d;
}

void CShape::ScrollY(int nOldRow, int nNewRow, int nZoom, int nPavingType)
{
    const int d = TileToPixelY(nPavingType, nZoom, nOldRow, 0) -
                  TileToPixelY(nPavingType, nZoom, nNewRow, 0);
    m_rect.top += d;
    m_rect.bottom += d;
}

void CShape::Rezoom(int nOldZoom, int nNewZoom)
{
    // No size to convert from or to; and "no shape" must stay no shape, not grow a pixel.
    if (nOldZoom <= 0 || nNewZoom <= 0 || m_rect.IsRectNull())
        return;
    const int P = m_pavingType;
    const double a = nOldZoom, n = nNewZoom;
    m_rect.top = TileToPixelY(P, n, TilesDown(P, a, m_rect.top, 1), 1);
    m_rect.bottom = TileToPixelY(P, n, TilesDown(P, a, m_rect.bottom - 1, 1), 1) + 1;
    m_rect.right = TileToPixelX(P, n, TilesAcross(P, a, m_rect.right - 1, 1), 1) + 1;
    m_rect.left = TileToPixelX(P, n, TilesAcross(P, a, m_rect.left, 1), 1);
}
