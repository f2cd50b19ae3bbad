#include "MosaicTest.h"

#include "AfxGeometry.h"

namespace
{
void ExpectRect(const RECT& r, int l, int t, int rt, int b)
{
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(rt, r.right);
    EXPECT_EQ(b, r.bottom);
}
}

TEST(GeometryRect, NotNormalisedRectangleAnswersAsWin32)
{
    // Top greater than bottom, as the raster code uses them.
    CRect r(10, 20, 0, 5);
    EXPECT_EQ(-10, r.Width());
    EXPECT_EQ(-15, r.Height());
    EXPECT_EQ(-10, r.Size().cx);
    EXPECT_TRUE(r.IsRectEmpty());
    EXPECT_FALSE(r.IsRectNull());
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));

    r.NormalizeRect();
    ExpectRect(r, 0, 5, 10, 20);
    EXPECT_FALSE(r.IsRectEmpty());
    // Left and top edges inside, right and bottom edges outside.
    EXPECT_TRUE(r.PtInRect(CPoint(0, 5)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 19)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 10)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 20)));

    CRect onlyX(4, 1, 2, 3);
    onlyX.NormalizeRect();
    ExpectRect(onlyX, 2, 1, 4, 3);
}

TEST(GeometryRect, IntersectAndUnionWithEmptyRectangles)
{
    CRect a(0, 0, 10, 10);
    CRect empty(5, 5, 5, 8);            // zero width
    CRect flipped(8, 8, 2, 2);          // not normalised, so empty for Win32
    CRect result(1, 2, 3, 4);

    EXPECT_FALSE(result.IntersectRect(&a, &empty));
    EXPECT_TRUE(result.IsRectNull());
    result.SetRect(1, 2, 3, 4);
    EXPECT_FALSE(result.IntersectRect(&a, &flipped));
    EXPECT_TRUE(result.IsRectNull());

    EXPECT_TRUE(result.UnionRect(&a, &flipped));
    ExpectRect(result, 0, 0, 10, 10);
    EXPECT_TRUE(result.UnionRect(&empty, &a));
    ExpectRect(result, 0, 0, 10, 10);
    EXPECT_FALSE(result.UnionRect(&empty, &flipped));
    EXPECT_TRUE(result.IsRectNull());

    CRect b(5, -5, 15, 5);
    EXPECT_TRUE(result.IntersectRect(&a, &b));
    ExpectRect(result, 5, 0, 10, 5);
    EXPECT_TRUE(result.UnionRect(&a, &b));
    ExpectRect(result, 0, -5, 15, 10);
    // Rectangles that only touch do not intersect.
    CRect touching(10, 0, 20, 10);
    EXPECT_FALSE(result.IntersectRect(&a, &touching));
}

TEST(GeometryRect, InflateDeflateAndOffsetOverloads)
{
    CRect r(10, 20, 30, 40);
    r.InflateRect(1, 2);
    ExpectRect(r, 9, 18, 31, 42);
    r.DeflateRect(1, 2);
    ExpectRect(r, 10, 20, 30, 40);
    r.InflateRect(CSize(3, 4));
    ExpectRect(r, 7, 16, 33, 44);
    r.DeflateRect(CSize(3, 4));
    r.InflateRect(1, 2, 3, 4);
    ExpectRect(r, 9, 18, 33, 44);
    r.DeflateRect(1, 2, 3, 4);
    CRect margins(1, 2, 3, 4);
    r.InflateRect(&margins);
    ExpectRect(r, 9, 18, 33, 44);
    r.DeflateRect(&margins);
    ExpectRect(r, 10, 20, 30, 40);

    // Deflating past the middle leaves a rectangle that is not normalised.
    CRect tiny(0, 0, 2, 2);
    tiny.DeflateRect(2, 2);
    ExpectRect(tiny, 2, 2, 0, 0);
    EXPECT_EQ(-2, tiny.Width());

    r.OffsetRect(5, -5);
    ExpectRect(r, 15, 15, 35, 35);
    r.OffsetRect(CPoint(-5, 5));
    r.OffsetRect(CSize(1, 1));
    ExpectRect(r, 11, 21, 31, 41);
}

TEST(GeometryRect, CornersCentreAndSetters)
{
    CRect r(1, 2, 11, 22);
    EXPECT_EQ(CPoint(1, 2), r.TopLeft());
    EXPECT_EQ(CPoint(11, 22), r.BottomRight());
    EXPECT_EQ(CPoint(6, 12), r.CenterPoint());
    EXPECT_EQ(CSize(10, 20), r.Size());

    // The corners are references into the rectangle.
    r.TopLeft().x = 0;
    r.BottomRight() = CPoint(5, 6);
    ExpectRect(r, 0, 2, 5, 6);

    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
    r.SetRect(CPoint(1, 1), CPoint(3, 4));
    ExpectRect(r, 1, 1, 3, 4);
    CRect copy;
    copy.CopyRect(r);
    EXPECT_TRUE(copy.EqualRect(&r));
    ExpectRect(CRect(CPoint(2, 3), CSize(4, 5)), 2, 3, 6, 8);

    // An empty rectangle that is not all zeros is not null.
    EXPECT_TRUE(CRect(3, 3, 3, 3).IsRectEmpty());
    EXPECT_FALSE(CRect(3, 3, 3, 3).IsRectNull());
}

TEST(GeometryRect, Operators)
{
    const CRect a(0, 0, 10, 10);
    const CRect b(5, 5, 15, 15);
    EXPECT_TRUE(a == CRect(0, 0, 10, 10));
    EXPECT_TRUE(a != b);

    ExpectRect(a + CPoint(1, 2), 1, 2, 11, 12);
    ExpectRect(a - CPoint(1, 2), -1, -2, 9, 8);
    ExpectRect(a + CSize(3, 3), 3, 3, 13, 13);
    ExpectRect(a - CSize(3, 3), -3, -3, 7, 7);
    CRect margins(1, 1, 2, 2);
    ExpectRect(a + &margins, -1, -1, 12, 12);
    ExpectRect(a - &margins, 1, 1, 8, 8);
    ExpectRect(a & b, 5, 5, 10, 10);
    ExpectRect(a | b, 0, 0, 15, 15);
    ExpectRect(a & CRect(20, 20, 30, 30), 0, 0, 0, 0);

    CRect r = a;
    r += CPoint(1, 1);
    r -= CSize(2, 2);
    ExpectRect(r, -1, -1, 9, 9);
    r += &margins;
    ExpectRect(r, -2, -2, 11, 11);
    r -= &margins;
    r &= b;
    ExpectRect(r, 5, 5, 9, 9);
    r |= a;
    ExpectRect(r, 0, 0, 10, 10);

    RECT raw = {1, 2, 3, 4};
    r = raw;
    ExpectRect(r, 1, 2, 3, 4);
    LPCRECT pConst = a;
    EXPECT_EQ(10, pConst->right);
}

TEST(GeometryPointSize, Arithmetic)
{
    CPoint p(3, 4);
    EXPECT_EQ(CPoint(0, 0), CPoint());
    EXPECT_EQ(CPoint(5, 7), p + CSize(2, 3));
    EXPECT_EQ(CPoint(1, 1), p - CSize(2, 3));
    EXPECT_EQ(CPoint(-3, -4), -p);
    EXPECT_EQ(CPoint(4, 6), p + CPoint(1, 2));
    EXPECT_EQ(CSize(2, 2), p - CPoint(1, 2));

    p.Offset(1, 1);
    p.Offset(CPoint(1, 1));
    p.Offset(CSize(1, 1));
    EXPECT_EQ(CPoint(6, 7), p);
    p += CSize(1, 1);
    p -= CPoint(2, 2);
    EXPECT_EQ(CPoint(5, 6), p);
    p.SetPoint(-1, -2);
    EXPECT_EQ(CPoint(-1, -2), p);
    EXPECT_TRUE(p != CPoint(1, 2));

    CSize s(10, 20);
    EXPECT_EQ(CSize(11, 22), s + CSize(1, 2));
    EXPECT_EQ(CSize(9, 18), s - CSize(1, 2));
    EXPECT_EQ(CSize(-10, -20), -s);
    EXPECT_EQ(CPoint(11, 22), s + CPoint(1, 2));
    EXPECT_EQ(CPoint(9, 18), s - CPoint(1, 2));
    s += CSize(1, 1);
    s -= CSize(2, 2);
    EXPECT_EQ(CSize(9, 19), s);

    CRect r(0, 0, 4, 4);
    ExpectRect(CPoint(1, 1) + &r, 1, 1, 5, 5);
    ExpectRect(CSize(1, 1) - &r, -1, -1, 3, 3);
}

TEST(GeometryPointSize, PackedCoordinatesAreSigned16Bit)
{
    // Mouse messages pack negative coordinates (left of or above a window) in 16 bits.
    CPoint p((LPARAM)MAKELPARAM(-5, -7));
    EXPECT_EQ(CPoint(-5, -7), p);
    CPoint q((LPARAM)MAKELPARAM(300, 40000));
    EXPECT_EQ(300, q.x);
    EXPECT_EQ(40000 - 65536, q.y);
    CSize s((DWORD)MAKELONG(0xFFFF, 2));
    EXPECT_EQ(CSize(-1, 2), s);
}
