// Selection shapes: handle boxes, hit tests, moving and resizing, scrolling and rezooming,
// the archive form, and drawing into a bitmap (outline, fill, handles, the rubber band).
#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxArchive.h"
#include "AfxFile.h"
#include "Paving.h"
#include "ShpEllipse.h"
#include "ShpRectangle.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

namespace
{

CShpRectangle* NewRectangle(int l, int t, int r, int b)
{
    CShpRectangle* pShape = new CShpRectangle;
    pShape->m_rect.SetRect(l, t, r, b);
    return pShape;
}

TEST(Shape, HandlesAreSevenPixelsAcrossAndStraddleTheEdges)
{
    ASSERT_EQ(1, GetSystemMetrics(SM_CXBORDER));
    std::unique_ptr<CShpRectangle> shape(NewRectangle(100, 50, 200, 120));
    shape->ComputeHandles();
    // mx = 93 + 114 / 2 = 150, my = 57 + 56 / 2 = 85, h = 7, c = 3.
    const CRect expected[CShape::HandleCount] = {
        CRect(97, 46, 104, 53),   CRect(196, 46, 203, 53),  CRect(196, 117, 203, 124),
        CRect(97, 117, 104, 124), CRect(147, 46, 153, 53),  CRect(196, 82, 203, 88),
        CRect(147, 117, 153, 124), CRect(97, 82, 104, 88)};
    for (int i = 0; i < CShape::HandleCount; i++)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i], shape->GetHandleRect(i));
        // The upper boxes and the bottom-middle one are kept upside down.
        const bool bFlipped = i <= 4 || i == 6;
        EXPECT_EQ(bFlipped, shape->m_handles[i].top > shape->m_handles[i].bottom);
    }
    EXPECT_EQ(7, shape->GetHandleRect(CShape::HandleTopLeft).Width());
    EXPECT_EQ(6, shape->GetHandleRect(CShape::HandleTop).Width());
}

TEST(Shape, HitTestFindsHandlesThenTheInsideEdgesIncluded)
{
    std::unique_ptr<CShpRectangle> shape(NewRectangle(100, 50, 200, 120));
    shape->ComputeHandles();
    const struct
    {
        CPoint pt;
        int nHit;
    } cases[] = {
        {CPoint(100, 50), CShape::HandleTopLeft},
        {CPoint(200, 120), CShape::HandleBottomRight},
        {CPoint(150, 120), CShape::HandleBottom},
        {CPoint(98, 85), CShape::HandleLeft},
        {CPoint(150, 85), CShape::HitInside},
        {CPoint(200, 100), CShape::HitInside},   // the right edge counts as inside
        {CPoint(201, 100), CShape::HitNothing},
        {CPoint(150, 40), CShape::HitNothing},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
        EXPECT_EQ(c.nHit, shape->HitTest(c.pt));
    }
    // A rectangle so small that its boxes overlap: the later handle wins.
    std::unique_ptr<CShpRectangle> tiny(NewRectangle(10, 10, 12, 12));
    tiny->ComputeHandles();
    EXPECT_EQ(CShape::HandleLeft, tiny->HitTest(CPoint(10, 11)));
}

TEST(Shape, EachHandleMovesItsCornerOrEdge)
{
    const struct
    {
        int nHandle;
        CRect expected;
    } cases[] = {
        {CShape::HandleTopLeft, CRect(5, 6, 200, 120)},
        {CShape::HandleTopRight, CRect(100, 6, 5, 120)},
        {CShape::HandleBottomRight, CRect(100, 50, 5, 6)},
        {CShape::HandleBottomLeft, CRect(5, 50, 200, 6)},
        {CShape::HandleTop, CRect(100, 6, 200, 120)},
        {CShape::HandleRight, CRect(100, 50, 5, 120)},
        {CShape::HandleBottom, CRect(100, 50, 200, 6)},
        {CShape::HandleLeft, CRect(5, 50, 200, 120)},
        {CShape::HitNothing, CRect(100, 50, 5, 6)},      // a rectangle being drawn
        {CShape::HitInside, CRect(100, 50, 200, 120)},   // moving is Offset's
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nHandle);
        std::unique_ptr<CShpRectangle> shape(NewRectangle(100, 50, 200, 120));
        shape->MoveHandleTo(c.nHandle, CPoint(5, 6));
        EXPECT_EQ(c.expected, shape->m_rect);
    }
    std::unique_ptr<CShpRectangle> shape(NewRectangle(100, 50, 200, 120));
    shape->Offset(-7, 3);
    EXPECT_EQ(CRect(93, 53, 193, 123), shape->m_rect);
}

TEST(Shape, ScrollingShiftsByThePixelsOfTheColumnsOrRows)
{
    const struct
    {
        int nType, nZoom, nOld, nNew;
        bool bRows;
        int nShift;
    } cases[] = {
        {PavingSquares, 10, 0, 1, false, -10},
        {PavingCrossedJoints, 12, 5, 3, false, 24},
        {PavingSquares, 10, 4, 2, true, 20},
        // From the first column too, as the picture moves.
        {PavingHexagons, 10, 0, 1, false, -10},
        {PavingHexagons, 10, 1, 3, false, -20},
        // Both triangles of a pair start at the same height.
        {PavingTriangles, 10, 0, 1, true, 0},
        {PavingTriangles, 10, 0, 2, true, -10},
        {PavingDiamonds, 10, 2, 0, true, 10},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " " << c.nOld << "->" << c.nNew);
        std::unique_ptr<CShpRectangle> shape(NewRectangle(100, 50, 200, 120));
        if (c.bRows)
        {
            shape->ScrollY(c.nOld, c.nNew, c.nZoom, c.nType);
            EXPECT_EQ(CRect(100, 50 + c.nShift, 200, 120 + c.nShift), shape->m_rect);
        }
        else
        {
            shape->ScrollX(c.nOld, c.nNew, c.nZoom, c.nType);
            EXPECT_EQ(CRect(100 + c.nShift, 50, 200 + c.nShift, 120), shape->m_rect);
        }
    }
}

TEST(Shape, RezoomPutsTheEdgesOnTheSameTiles)
{
    std::unique_ptr<CShpRectangle> shape(NewRectangle(10, 10, 31, 31));
    shape->Rezoom(10, 20);
    EXPECT_EQ(CRect(20, 20, 61, 61), shape->m_rect);
    shape->Rezoom(20, 10);
    EXPECT_EQ(CRect(10, 10, 31, 31), shape->m_rect);

    // Hexagons count their rows at the row pitch less the corner: 7 at 10, 15 at 20.
    shape->m_pavingType = PavingHexagons;
    shape->m_rect.SetRect(25, 20, 45, 36);
    shape->Rezoom(10, 20);
    EXPECT_EQ(CRect(20, 14, 61, 60), shape->m_rect);

    // No shape stays no shape; sizes that are no zoom change nothing.
    shape->m_rect.SetRectEmpty();
    shape->Rezoom(10, 20);
    EXPECT_TRUE(shape->m_rect.IsRectNull());
    shape->m_rect.SetRect(10, 10, 31, 31);
    shape->Rezoom(0, 20);
    shape->Rezoom(10, 0);
    EXPECT_EQ(CRect(10, 10, 31, 31), shape->m_rect);
}

std::vector<BYTE> Stored(CObject& object, BOOL bAsObject)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        if (bAsObject)
            ar << &object;
        else
            object.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

TEST(Shape, ArchiveKeepsRectangleHollowAndColourAndHidesTheHandles)
{
    std::unique_ptr<CShpRectangle> shape(NewRectangle(-3, 4, 0x01020304, 9));
    shape->m_hollow = 5;   // stored as a plain yes
    shape->m_colour = 0x00ABCDEF;
    const std::vector<BYTE> bytes = Stored(*shape, FALSE);
    const std::vector<BYTE> expected = {0xFD, 0xFF, 0xFF, 0xFF, 4, 0, 0, 0, 4, 3, 2, 1,
                                        9,    0,    0,    0,    1, 0xEF, 0xCD, 0xAB, 0};
    EXPECT_EQ(expected, bytes);

    CShpRectangle loaded;
    loaded.m_hollow = 0;
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(shape->m_rect, loaded.m_rect);
    EXPECT_EQ(1, loaded.m_hollow);
    EXPECT_EQ(0x00ABCDEF, loaded.m_colour);
    EXPECT_EQ(0, loaded.m_handlesShown);
}

TEST(Shape, ShortArchiveThrowsAndLeavesTheShape)
{
    std::unique_ptr<CShpRectangle> shape(NewRectangle(1, 2, 3, 4));
    std::vector<BYTE> bytes = Stored(*shape, FALSE);
    bytes.resize(15);
    CShpRectangle loaded;
    loaded.m_rect.SetRect(7, 7, 7, 7);
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    UINT nCause = 0;
    try
    {
        loaded.Serialize(ar);
    }
    catch (CArchiveException* e)
    {
        nCause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ((UINT)CArchiveException::endOfFile, nCause);
    EXPECT_EQ(CRect(7, 7, 7, 7), loaded.m_rect);
    EXPECT_EQ(1, loaded.m_handlesShown);
}

TEST(Shape, ClassesAreCreatedByNameAndComeBackFromAnArchive)
{
    for (const char* pszName : {"CShape", "CShpRectangle", "CShpEllipse"})
    {
        SCOPED_TRACE(pszName);
        CRuntimeClass* pClass = CRuntimeClass::FromName(pszName);
        ASSERT_NE(nullptr, pClass);
        EXPECT_EQ(1u, pClass->m_wSchema);
        std::unique_ptr<CObject> object(pClass->CreateObject());
        ASSERT_NE(nullptr, object);
        EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CShape)));
    }

    CShpEllipse ellipse;
    ellipse.m_rect.SetRect(1, 2, 30, 40);
    const std::vector<BYTE> bytes = Stored(ellipse, TRUE);
    CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    CObject* pObject = NULL;
    ar >> pObject;
    std::unique_ptr<CObject> owned(pObject);
    ASSERT_NE(nullptr, pObject);
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CShpEllipse)));
    EXPECT_EQ(CRect(1, 2, 30, 40), ((CShape*)pObject)->m_rect);
}

// ---- Drawing into a bitmap ------------------------------------------------------------------

// A 120 x 100 picture in a memory device context, filled with grey.
class ShapeDrawing : public testing::Test
{
protected:
    void SetUp() override
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_hBitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void**)&m_pBits, NULL, 0);
        ASSERT_NE(nullptr, m_hBitmap);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(NULL));
        m_hOldBitmap = (HBITMAP)SelectObject(m_dc.m_hDC, m_hBitmap);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kGrey);
    }
    void TearDown() override
    {
        SelectObject(m_dc.m_hDC, m_hOldBitmap);
        m_dc.DeleteDC();
        DeleteObject(m_hBitmap);
    }

    COLORREF Pixel(int x, int y)
    {
        GdiFlush();
        const DWORD v = m_pBits[y * kWidth + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    std::vector<DWORD> Pixels()
    {
        GdiFlush();
        return std::vector<DWORD>(m_pBits, m_pBits + kWidth * kHeight);
    }
    int CountColumn(int x, int y0, int y1, COLORREF colour)
    {
        int n = 0;
        for (int y = y0; y < y1; y++)
            n += Pixel(x, y) == colour;
        return n;
    }

    static constexpr int kWidth = 120;
    static constexpr int kHeight = 100;
    static constexpr COLORREF kGrey = RGB(128, 128, 128);
    static constexpr COLORREF kHandleFill = RGB(13, 0, 0);
    CDC m_dc;
    HBITMAP m_hBitmap = NULL;
    HBITMAP m_hOldBitmap = NULL;
    DWORD* m_pBits = NULL;
    CVitrolanView m_view;   // its pens and brushes; no window is needed for them
};

TEST_F(ShapeDrawing, RectangleAndEllipseDrawWithThePenAndBrushSelected)
{
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = m_dc.SelectObject(&pen);
    CGdiObject* pOldBrush = m_dc.SelectStockObject(NULL_BRUSH);

    CShpRectangle rectangle;
    rectangle.m_rect.SetRect(10, 10, 50, 40);
    rectangle.Draw(&m_dc, FALSE);
    EXPECT_EQ(RGB(0, 0, 0), Pixel(10, 10));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(49, 39));
    EXPECT_EQ(kGrey, Pixel(30, 25));

    CShpEllipse ellipse;
    ellipse.m_rect.SetRect(60, 10, 110, 60);
    ellipse.Draw(&m_dc, FALSE);
    EXPECT_EQ(RGB(0, 0, 0), Pixel(60, 35));
    EXPECT_EQ(kGrey, Pixel(61, 11));   // the corner lies outside the ellipse
    EXPECT_EQ(kGrey, Pixel(85, 35));

    m_dc.SelectObject(pOldBrush);
    m_dc.SelectObject(pOldPen);
}

TEST_F(ShapeDrawing, HandlesNeedBothTheCallersAndTheShapesConsent)
{
    const struct
    {
        BOOL bHandles;
        BYTE bShown;
        bool bDrawn;
    } cases[] = {{TRUE, 1, true}, {FALSE, 1, false}, {TRUE, 0, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.bHandles << " " << (int)c.bShown);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kGrey);
        CShpRectangle shape;
        shape.m_rect.SetRect(20, 20, 90, 70);
        shape.m_handlesShown = c.bShown;
        m_view.BeginShapeDraw(&m_dc, 1, 0);
        shape.Draw(&m_dc, c.bHandles);
        m_view.EndShapeDraw(&m_dc);
        // Inside each box a near-black fill, framed in black.
        for (int i = 0; i < CShape::HandleCount; i++)
        {
            const CRect box = shape.GetHandleRect(i);
            EXPECT_EQ(c.bDrawn, Pixel(box.CenterPoint().x, box.CenterPoint().y) == kHandleFill)
                << "handle " << i;
            EXPECT_EQ(c.bDrawn, Pixel(box.left, box.top) == RGB(0, 0, 0)) << "handle " << i;
        }
    }
}

TEST_F(ShapeDrawing, ShapePensAreDottedAndTheBrushFollowsTheHollowByte)
{
    for (BYTE bHollow : {1, 0})
    {
        SCOPED_TRACE((int)bHollow);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kGrey);
        CShpRectangle shape;
        shape.m_rect.SetRect(10, 10, 100, 80);
        m_view.BeginShapeDraw(&m_dc, bHollow, 0);
        shape.Draw(&m_dc, FALSE);
        m_view.EndShapeDraw(&m_dc);
        EXPECT_EQ(bHollow ? kGrey : RGB(255, 255, 255), Pixel(50, 45));
        // Dots and gaps along the left edge.
        const int nBlack = CountColumn(10, 12, 78, RGB(0, 0, 0));
        EXPECT_GT(nBlack, 10);
        EXPECT_LT(nBlack, 60);
    }
    // What the shape drawing selected is gone again.
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(m_dc.m_hDC, OBJ_PEN));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH));
}

TEST_F(ShapeDrawing, RubberBandDrawnTwiceWithXorLeavesNoTrace)
{
    CShpRectangle shape;
    shape.m_rect.SetRect(15, 12, 95, 77);
    shape.m_hollow = 0;   // the rubber band is hollow whatever the shape says
    const std::vector<DWORD> before = Pixels();
    m_view.DrawShapeXor(&m_dc, &shape, TRUE);
    EXPECT_NE(before, Pixels());
    EXPECT_EQ(kGrey, Pixel(55, 45));
    // Inverted, whatever the handles' own colours.
    const CPoint handle = shape.GetHandleRect(0).CenterPoint();
    EXPECT_EQ(RGB(127, 127, 127), Pixel(handle.x, handle.y));
    m_view.DrawShapeXor(&m_dc, &shape, TRUE);
    EXPECT_EQ(before, Pixels());

    // Without XOR the band is simply drawn, handles and all.
    m_view.DrawShapeXor(&m_dc, &shape, FALSE);
    const CPoint centre = shape.GetHandleRect(2).CenterPoint();
    EXPECT_EQ(kHandleFill, Pixel(centre.x, centre.y));
    EXPECT_EQ(kGrey, Pixel(55, 45));
}

}   // namespace
