#include "MosaicTest.h"

#include "AfxException.h"
#include "AfxGdi.h"
#include "AfxImageList.h"
#include "AfxWin.h"

#include <cstdlib>
#include <ostream>

// Found by GoogleTest through argument-dependent lookup, hence global.
[[maybe_unused]] static void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
        << ")";
}

[[maybe_unused]] static void PrintTo(const CPoint& point, std::ostream* os)
{
    *os << "(" << point.x << ", " << point.y << ")";
}

[[maybe_unused]] static void PrintTo(const CSize& size, std::ostream* os)
{
    *os << "(" << size.cx << " x " << size.cy << ")";
}

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A memory device context over a 32-bit bitmap, white at the start, so that every pixel
// read back is the exact colour drawn.
class Canvas : public testing::Test
{
protected:
    static const int kWidth = 40;
    static const int kHeight = 30;

    void SetUp() override
    {
        ASSERT_TRUE(m_dc.CreateCompatibleDC(NULL));
        ASSERT_TRUE(m_bitmap.CreateBitmap(kWidth, kHeight, 1, 32, NULL));
        m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);
    }

    void TearDown() override
    {
        m_dc.SelectObject(m_pOldBitmap);
        AfxDeleteTempGdiMaps();
    }

    // The pixels of the given colour, as their bounding box (empty if there is none).
    CRect BoundsOf(COLORREF colour) const
    {
        CRect bounds;
        for (int y = 0; y < kHeight; y++)
            for (int x = 0; x < kWidth; x++)
                if (m_dc.GetPixel(x, y) == colour)
                    bounds |= CRect(x, y, x + 1, y + 1);
        return bounds;
    }

    int CountOf(COLORREF colour) const
    {
        int count = 0;
        for (int y = 0; y < kHeight; y++)
            for (int x = 0; x < kWidth; x++)
                if (m_dc.GetPixel(x, y) == colour)
                    count++;
        return count;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = NULL;
};

TEST_F(Canvas, LinesStopBeforeTheirEndPointAndMoveThePen)
{
    CPen pen(PS_SOLID, 1, kRed);
    CPen* pOldPen = m_dc.SelectObject(&pen);
    CPoint previous = m_dc.MoveTo(2, 5);
    EXPECT_EQ(previous, CPoint(0, 0));
    EXPECT_TRUE(m_dc.LineTo(12, 5));
    EXPECT_EQ(m_dc.GetCurrentPosition(), CPoint(12, 5));
    EXPECT_TRUE(m_dc.LineTo(CPoint(12, 9)));
    m_dc.SelectObject(pOldPen);

    EXPECT_EQ(BoundsOf(kRed), CRect(2, 5, 13, 9));
    EXPECT_EQ(CountOf(kRed), 10 + 4);
    EXPECT_EQ(m_dc.GetPixel(12, 9), kWhite);
    EXPECT_EQ(m_dc.GetPixel(1, 5), kWhite);
}

TEST_F(Canvas, RectangleFramesWithThePenAndFillsWithTheBrush)
{
    CPen pen(PS_SOLID, 1, kBlue);
    CBrush brush(kRed);
    CPen* pOldPen = m_dc.SelectObject(&pen);
    CBrush* pOldBrush = m_dc.SelectObject(&brush);
    EXPECT_TRUE(m_dc.Rectangle(CRect(3, 4, 10, 9)));
    m_dc.SelectStockObject(NULL_BRUSH);
    EXPECT_TRUE(m_dc.Rectangle(20, 4, 25, 9));
    m_dc.SelectObject(pOldBrush);
    m_dc.SelectObject(pOldPen);

    // Right and bottom edges are excluded; the frame is inside the rectangle.
    EXPECT_EQ(BoundsOf(kRed), CRect(4, 5, 9, 8));
    EXPECT_EQ(CountOf(kRed), 5 * 3);
    EXPECT_EQ(m_dc.GetPixel(3, 4), kBlue);
    EXPECT_EQ(m_dc.GetPixel(9, 8), kBlue);
    EXPECT_EQ(m_dc.GetPixel(10, 8), kWhite);
    // The hollow one keeps its inside.
    EXPECT_EQ(m_dc.GetPixel(20, 4), kBlue);
    EXPECT_EQ(m_dc.GetPixel(22, 6), kWhite);
    EXPECT_EQ(CountOf(kBlue), 2 * (7 + 5) - 4 + 2 * (5 + 5) - 4);
}

TEST_F(Canvas, FillsAndBlocksCoverExactlyTheirRectangle)
{
    m_dc.SetBkColor(kBlue);
    m_dc.FillSolidRect(CRect(1, 1, 6, 4), kRed);
    EXPECT_EQ(m_dc.GetBkColor(), kBlue);
    EXPECT_EQ(BoundsOf(kRed), CRect(1, 1, 6, 4));
    EXPECT_EQ(CountOf(kRed), 15);

    CBrush brush(kBlack);
    m_dc.FillRect(CRect(10, 1, 14, 3), &brush);
    m_dc.FrameRect(CRect(20, 1, 25, 5), &brush);
    EXPECT_EQ(CountOf(kBlack), 8 + 2 * (5 + 4) - 4);
    EXPECT_EQ(m_dc.GetPixel(22, 3), kWhite);

    // DSTINVERT turns the red block cyan, the white around it black.
    EXPECT_TRUE(m_dc.PatBlt(0, 0, 7, 5, DSTINVERT));
    EXPECT_EQ(CountOf(RGB(0, 255, 255)), 15);
    EXPECT_EQ(m_dc.GetPixel(0, 0), kBlack);
    EXPECT_EQ(m_dc.GetPixel(7, 0), kWhite);

    CBrush* pOld = m_dc.SelectObject(&brush);
    EXPECT_TRUE(m_dc.PatBlt(30, 20, 3, 2, PATCOPY));
    m_dc.SelectObject(pOld);
    EXPECT_EQ(m_dc.GetPixel(32, 21), kBlack);
    EXPECT_EQ(m_dc.GetPixel(33, 21), kWhite);

    EXPECT_EQ(m_dc.SetPixel(35, 25, kRed), kRed);
    EXPECT_TRUE(m_dc.SetPixelV(CPoint(36, 25), kBlue));
    EXPECT_EQ(m_dc.GetPixel(CPoint(35, 25)), kRed);
    EXPECT_EQ(m_dc.GetPixel(36, 25), kBlue);
}

TEST_F(Canvas, BitBltAndStretchBltCopyFromAnotherContext)
{
    CDC source;
    CBitmap bitmap;
    ASSERT_TRUE(source.CreateCompatibleDC(&m_dc));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&m_dc, 4, 4));
    CBitmap* pOld = source.SelectObject(&bitmap);
    source.FillSolidRect(0, 0, 4, 4, kBlue);
    source.SetPixel(0, 0, kRed);

    EXPECT_TRUE(m_dc.BitBlt(10, 10, 4, 4, &source, 0, 0, SRCCOPY));
    EXPECT_EQ(m_dc.GetPixel(10, 10), kRed);
    EXPECT_EQ(BoundsOf(kBlue), CRect(10, 10, 14, 14));

    EXPECT_TRUE(m_dc.StretchBlt(20, 0, 8, 8, &source, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(BoundsOf(kRed), CRect(10, 0, 22, 11));
    EXPECT_EQ(CountOf(kRed), 1 + 4);
    source.SelectObject(pOld);
}

TEST_F(Canvas, Rop2CombinesThePenWithTheScreen)
{
    m_dc.FillSolidRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(m_dc.SetROP2(R2_NOT), R2_COPYPEN);
    EXPECT_EQ(m_dc.GetROP2(), R2_NOT);
    m_dc.MoveTo(0, 2);
    m_dc.LineTo(20, 2);
    EXPECT_EQ(m_dc.GetPixel(5, 2), RGB(0, 255, 255));
    EXPECT_EQ(m_dc.GetPixel(15, 2), kBlack);
    // Inverting again gives the picture back, which is what rubber-band tracking relies on.
    m_dc.MoveTo(0, 2);
    m_dc.LineTo(20, 2);
    EXPECT_EQ(m_dc.GetPixel(5, 2), kRed);
    EXPECT_EQ(m_dc.GetPixel(15, 2), kWhite);

    m_dc.InvertRect(CRect(0, 0, 2, 1));
    EXPECT_EQ(m_dc.GetPixel(1, 0), RGB(0, 255, 255));
}

TEST_F(Canvas, ClippingLimitsDrawingAndIsReportedByGetClipBox)
{
    CRect box;
    EXPECT_EQ(m_dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, kWidth, kHeight));

    EXPECT_EQ(m_dc.IntersectClipRect(CRect(5, 5, 15, 15)), SIMPLEREGION);
    EXPECT_EQ(m_dc.ExcludeClipRect(5, 5, 15, 7), SIMPLEREGION);
    m_dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 7, 15, 15));
    CBrush red(kRed);
    m_dc.FillRect(CRect(0, 0, kWidth, kHeight), &red);
    EXPECT_EQ(BoundsOf(kRed), CRect(5, 7, 15, 15));

    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(20, 20, 22, 23));
    EXPECT_EQ(m_dc.SelectClipRgn(&region), SIMPLEREGION);
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kBlue);
    EXPECT_EQ(BoundsOf(kBlue), CRect(20, 20, 22, 23));

    CRgn more;
    ASSERT_TRUE(more.CreateRectRgnIndirect(CRect(30, 0, 31, 1)));
    EXPECT_EQ(m_dc.SelectClipRgn(&more, RGN_OR), COMPLEXREGION);
    m_dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(20, 0, 31, 23));

    // NULL removes the clipping region altogether.
    EXPECT_EQ(m_dc.SelectClipRgn(NULL), SIMPLEREGION);
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kBlack);
    EXPECT_EQ(CountOf(kBlack), kWidth * kHeight);
}

TEST_F(Canvas, MappingScalesAndShiftsLogicalCoordinates)
{
    int saved = m_dc.SaveDC();
    EXPECT_EQ(m_dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    m_dc.SetWindowExt(100, 100);
    m_dc.SetViewportExt(CSize(50, 25));
    EXPECT_EQ(m_dc.SetWindowOrg(10, 20), CPoint(0, 0));
    EXPECT_EQ(m_dc.GetWindowExt(), CSize(100, 100));
    EXPECT_EQ(m_dc.GetViewportExt(), CSize(50, 25));

    m_dc.FillSolidRect(10, 20, 20, 40, kRed);

    CPoint point(6, 8);
    m_dc.DPtoLP(&point);
    EXPECT_EQ(point, CPoint(22, 52));
    CRect rect(0, 0, 10, 10);
    m_dc.DPtoLP(&rect);
    EXPECT_EQ(rect, CRect(10, 20, 30, 60));
    m_dc.LPtoDP(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 10, 10));
    // Sizes carry no origin.
    CSize size(4, 4);
    m_dc.DPtoLP(&size);
    EXPECT_EQ(size, CSize(8, 16));
    m_dc.LPtoDP(&size);
    EXPECT_EQ(size, CSize(4, 4));

    EXPECT_EQ(m_dc.SetViewportOrg(CPoint(3, 2)), CPoint(0, 0));
    EXPECT_EQ(m_dc.GetViewportOrg(), CPoint(3, 2));
    EXPECT_EQ(m_dc.OffsetWindowOrg(-10, -20), CPoint(10, 20));
    EXPECT_EQ(m_dc.GetWindowOrg(), CPoint(0, 0));

    // Back in device units to read the pixels.
    m_dc.RestoreDC(saved);
    EXPECT_EQ(BoundsOf(kRed), CRect(0, 0, 10, 10));
}

TEST_F(Canvas, SaveDCAndRestoreDCBracketTheState)
{
    int saved = m_dc.SaveDC();
    ASSERT_NE(saved, 0);
    m_dc.SetTextColor(kRed);
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.SetMapMode(MM_LOENGLISH);
    m_dc.IntersectClipRect(0, 0, 1, 1);
    EXPECT_TRUE(m_dc.RestoreDC(saved));
    EXPECT_EQ(m_dc.GetTextColor(), kBlack);
    EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(m_dc.GetMapMode(), MM_TEXT);
    CRect box;
    m_dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, kWidth, kHeight));
}

TEST_F(Canvas, TextInksOnlyInsideItsMeasuredExtent)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH, L""));
    CFont* pOldFont = m_dc.SelectObject(&font);
    m_dc.SetTextColor(kBlack);
    m_dc.SetBkMode(TRANSPARENT);

    const CString text(L"HI");
    CSize extent = m_dc.GetTextExtent(text);
    EXPECT_GT(extent.cx, 4);
    EXPECT_EQ(extent, m_dc.GetTextExtent(L"HI-", 2));
    TEXTMETRIC tm;
    ASSERT_TRUE(m_dc.GetTextMetrics(&tm));
    EXPECT_EQ(extent.cy, tm.tmHeight);

    EXPECT_TRUE(m_dc.TextOut(3, 2, text));
    CRect ink = BoundsOf(kBlack);
    EXPECT_FALSE(ink.IsRectEmpty());
    CRect cell(CPoint(3, 2), extent);
    EXPECT_EQ(ink & cell, ink);
    m_dc.FillSolidRect(0, 0, kWidth, kHeight, kWhite);

    // DT_CALCRECT measures a single line as GetTextExtent does, without drawing.
    CRect calc(0, 0, 0, 0);
    EXPECT_EQ(m_dc.DrawText(text, &calc, DT_SINGLELINE | DT_CALCRECT), extent.cy);
    EXPECT_EQ(calc.Size(), extent);
    EXPECT_EQ(CountOf(kBlack), 0);

    // Centred in a rectangle: the ink sits in the centred cell, opaque mode fills the cell.
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetBkColor(kRed);
    CRect box(0, 0, kWidth, kHeight);
    m_dc.DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CRect drawn = BoundsOf(kBlack) | BoundsOf(kRed);
    EXPECT_EQ(drawn.Size(), extent);
    // Odd leftovers round either way.
    EXPECT_LE(abs(drawn.left - (kWidth - extent.cx) / 2), 1);
    EXPECT_LE(abs(drawn.top - (kHeight - extent.cy) / 2), 1);
    EXPECT_EQ(m_dc.GetPixel(0, 0), kWhite);

    m_dc.SelectObject(pOldFont);
    LOGFONT lf;
    ASSERT_EQ(font.GetLogFont(&lf), (int)sizeof(LOGFONT));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST_F(Canvas, ExtTextOutOpaqueFillsItsRectangle)
{
    m_dc.SetBkColor(kBlue);
    CRect rect(2, 2, 9, 6);
    EXPECT_TRUE(m_dc.ExtTextOut(0, 0, ETO_OPAQUE, &rect, CString(), NULL));
    EXPECT_EQ(BoundsOf(kBlue), rect);
    EXPECT_EQ(CountOf(kBlue), 7 * 4);
}

TEST(GdiObject, DeleteObjectIsSafeToRepeatAndArraysOfObjectsWork)
{
    CBrush brushes[256];
    ASSERT_TRUE(brushes[7].CreateSolidBrush(kRed));
    ASSERT_TRUE(brushes[200].CreateSolidBrush(kBlue));
    HGDIOBJ hBrush = brushes[7].GetSafeHandle();
    EXPECT_EQ(GetObjectType(hBrush), (DWORD)OBJ_BRUSH);
    EXPECT_TRUE(brushes[7].DeleteObject());
    EXPECT_EQ(brushes[7].GetSafeHandle(), (HGDIOBJ)NULL);
    EXPECT_EQ(GetObjectType(hBrush), 0u);
    EXPECT_FALSE(brushes[7].DeleteObject());
    EXPECT_FALSE(brushes[0].DeleteObject());
    // A NULL pointer answers a NULL handle, as callers of GetSafeHandle expect.
    CBrush* pNone = NULL;
    EXPECT_EQ(pNone->GetSafeHandle(), (HGDIOBJ)NULL);
}

TEST(GdiObject, CreatedObjectsReportWhatTheyWereCreatedWith)
{
    CPen pen(PS_DOT, 0, RGB(1, 2, 3));
    LOGPEN lp;
    ASSERT_EQ(pen.GetLogPen(&lp), (int)sizeof(LOGPEN));
    EXPECT_EQ(lp.lopnStyle, (UINT)PS_DOT);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));

    CPen inside;
    ASSERT_TRUE(inside.CreatePen(PS_INSIDEFRAME, 4, kRed));
    ASSERT_TRUE(inside.GetLogPen(&lp));
    EXPECT_EQ(lp.lopnWidth.x, 4);

    // Palette-relative colours are kept as given.
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(0x02000000 | RGB(10, 20, 30)));
    LOGBRUSH lb;
    ASSERT_EQ(brush.GetLogBrush(&lb), (int)sizeof(LOGBRUSH));
    EXPECT_EQ(lb.lbStyle, (UINT)BS_SOLID);
    EXPECT_EQ(lb.lbColor, 0x02000000 | RGB(10, 20, 30));

    LOGFONT lf = {};
    lf.lfHeight = 70;
    lf.lfItalic = TRUE;
    lstrcpyW(lf.lfFaceName, L"Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONT back;
    ASSERT_TRUE(font.GetLogFont(&back));
    EXPECT_EQ(back.lfHeight, 70);
    EXPECT_EQ(back.lfItalic, TRUE);
    EXPECT_EQ(CString(back.lfFaceName), CString(L"Arial"));

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(5, 3, 1, 1, NULL));
    BITMAP bm;
    ASSERT_EQ(bitmap.GetBitmap(&bm), (int)sizeof(BITMAP));
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    CRgn a, b, sum;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 2, 2));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 6, 7));
    ASSERT_TRUE(sum.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(sum.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    CRect box;
    EXPECT_EQ(sum.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(0, 0, 6, 7));

    struct
    {
        LOGPALETTE header;
        PALETTEENTRY more[2];
    } logPalette = {};
    logPalette.header.palVersion = 0x300;
    logPalette.header.palNumEntries = 3;
    logPalette.header.palPalEntry[0] = { 9, 8, 7, 0 };
    logPalette.more[1] = { 1, 2, 3, 0 };
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&logPalette.header));
    EXPECT_EQ(palette.GetEntryCount(), 3);
    PALETTEENTRY entries[3];
    EXPECT_EQ(palette.GetPaletteEntries(0, 3, entries), 3u);
    EXPECT_EQ(entries[0].peRed, 9);
    EXPECT_EQ(entries[2].peBlue, 3);
}

TEST(GdiObject, FailingConstructorsThrowResourceExceptions)
{
    // A pattern brush needs a bitmap.
    CBitmap none;
    bool thrown = false;
    try
    {
        CBrush brush(&none);
    }
    catch (CException* e)
    {
        thrown = e->IsKindOf(RUNTIME_CLASS(CResourceException));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(GdiHandleMap, SelectObjectAnswersWithTheWrapperOfThePreviousObject)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    CPen red(PS_SOLID, 1, kRed);
    CPen blue(PS_SOLID, 1, kBlue);

    // First the context's own stock pen, wrapped in a temporary object of the right class.
    CPen* pStock = dc.SelectObject(&red);
    ASSERT_NE(pStock, nullptr);
    EXPECT_TRUE(pStock->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(pStock->GetSafeHandle(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(CPen::FromHandle((HPEN)GetStockObject(BLACK_PEN)), pStock);

    // Then our own objects, which are permanent.
    EXPECT_EQ(dc.SelectObject(&blue), &red);
    EXPECT_EQ(dc.SelectObject(pStock), &blue);
    EXPECT_EQ(CGdiObject::FromHandle(red.GetSafeHandle()), &red);

    CGdiObject* pBrush = dc.SelectStockObject(NULL_BRUSH);
    EXPECT_TRUE(pBrush->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_EQ(dc.SelectStockObject(WHITE_BRUSH)->GetSafeHandle(), GetStockObject(NULL_BRUSH));
    // Selecting back what SelectStockObject returned selects its handle.
    CBrush redBrush(kRed);
    dc.SelectObject(&redBrush);
    CGdiObject* pOld = dc.SelectStockObject(BLACK_BRUSH);
    EXPECT_EQ(dc.SelectObject(pOld)->GetSafeHandle(), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc.GetSafeHdc(), OBJ_BRUSH), redBrush.GetSafeHandle());
    dc.SelectStockObject(WHITE_BRUSH);
    EXPECT_TRUE(CGdiObject::FromHandle(GetStockObject(SYSTEM_FONT))->IsKindOf(
        RUNTIME_CLASS(CFont)));

    EXPECT_EQ(CGdiObject::FromHandle(NULL), nullptr);
}

TEST(GdiHandleMap, TemporaryWrappersGoAtCleanupWithoutTheirHandles)
{
    HBRUSH hBrush = CreateSolidBrush(kRed);
    CBrush* pTemp = CBrush::FromHandle(hBrush);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(CBrush::FromHandle(hBrush), pTemp);
    AfxDeleteTempGdiMaps();
    EXPECT_EQ(GetObjectType(hBrush), (DWORD)OBJ_BRUSH);

    // Attached, the handle is owned: Detach gives it back, the destructor deletes it.
    {
        CBrush owner;
        ASSERT_TRUE(owner.Attach(hBrush));
        EXPECT_EQ(CBrush::FromHandle(hBrush), &owner);
        EXPECT_EQ(owner.Detach(), (HGDIOBJ)hBrush);
        EXPECT_NE(CBrush::FromHandle(hBrush), &owner);
        ASSERT_TRUE(owner.Attach(hBrush));
    }
    EXPECT_EQ(GetObjectType(hBrush), 0u);

    // Deleted through a temporary wrapper, a handle may come back for a new object before
    // the cleanup: the wrapper then answers for it again.
    HPEN hPen = CreatePen(PS_SOLID, 1, kRed);
    CPen* pPen = CPen::FromHandle(hPen);
    EXPECT_TRUE(pPen->DeleteObject());
    EXPECT_EQ(CPen::FromHandle(hPen), pPen);
    EXPECT_EQ(pPen->GetSafeHandle(), (HGDIOBJ)hPen);
    AfxDeleteTempGdiMaps();
}

TEST(GdiHandleMap, DeviceContextsFollowTheSameRules)
{
    HDC hDC;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
        hDC = dc.GetSafeHdc();
        EXPECT_EQ(dc.m_hAttribDC, hDC);
        EXPECT_EQ(CDC::FromHandle(hDC), &dc);
    }
    // The owner deleted its context.
    EXPECT_EQ(GetObjectType(hDC), 0u);

    hDC = CreateCompatibleDC(NULL);
    CDC* pTemp = CDC::FromHandle(hDC);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->GetSafeHdc(), hDC);
    EXPECT_EQ(CDC::FromHandle(hDC), pTemp);
    AfxDeleteTempGdiMaps();
    EXPECT_EQ(GetObjectType(hDC), (DWORD)OBJ_MEMDC);

    CDC owner;
    ASSERT_TRUE(owner.Attach(hDC));
    EXPECT_EQ(owner.Detach(), hDC);
    EXPECT_EQ(owner.m_hDC, (HDC)NULL);
    EXPECT_EQ(owner.m_hAttribDC, (HDC)NULL);
    EXPECT_FALSE(owner.DeleteDC());
    ASSERT_TRUE(owner.Attach(hDC));
    EXPECT_TRUE(owner.DeleteDC());
    EXPECT_EQ(GetObjectType(hDC), 0u);

    CDC* pNone = NULL;
    EXPECT_EQ(pNone->GetSafeHdc(), (HDC)NULL);
    EXPECT_EQ(CDC::FromHandle(NULL), nullptr);
}

// ---- CImageList ----

TEST(ImageList, MaskedBitmapsDrawWithTheirKeyColourTransparent)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(8, 4, 1, 32, NULL));
    CBitmap* pOld = dc.SelectObject(&strip);
    // Two images of 4 x 4: red with a magenta corner, then blue.
    const COLORREF kMagenta = RGB(255, 0, 255);
    dc.FillSolidRect(0, 0, 4, 4, kRed);
    dc.SetPixel(0, 0, kMagenta);
    dc.FillSolidRect(4, 0, 4, 4, kBlue);
    dc.SelectObject(pOld);

    CImageList images;
    ASSERT_TRUE(images.Create(4, 4, ILC_COLORDDB | ILC_MASK, 2, 1));
    EXPECT_EQ(images.Add(&strip, kMagenta), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    IMAGEINFO info;
    ASSERT_TRUE(images.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(info.rcImage).Size(), CSize(4, 4));
    EXPECT_NE(info.hbmMask, (HBITMAP)NULL);

    CBitmap target;
    ASSERT_TRUE(target.CreateBitmap(10, 5, 1, 32, NULL));
    pOld = dc.SelectObject(&target);
    dc.FillSolidRect(0, 0, 10, 5, kWhite);
    EXPECT_TRUE(images.Draw(&dc, 0, CPoint(1, 1), ILD_NORMAL));
    EXPECT_TRUE(images.Draw(&dc, 1, CPoint(5, 1), ILD_TRANSPARENT));
    EXPECT_EQ(dc.GetPixel(1, 1), kWhite);
    EXPECT_EQ(dc.GetPixel(2, 1), kRed);
    EXPECT_EQ(dc.GetPixel(4, 4), kRed);
    EXPECT_EQ(dc.GetPixel(5, 1), kBlue);
    EXPECT_EQ(dc.GetPixel(0, 0), kWhite);
    dc.SelectObject(pOld);

    // Icons go in and out; Replace and Remove keep the indices in step.
    HICON hIcon = images.ExtractIcon(1);
    ASSERT_NE(hIcon, (HICON)NULL);
    EXPECT_EQ(images.Add(hIcon), 2);
    EXPECT_EQ(images.Replace(0, hIcon), 0);
    DestroyIcon(hIcon);
    EXPECT_TRUE(images.Remove(1));
    EXPECT_EQ(images.GetImageCount(), 2);
    EXPECT_TRUE(images.Replace(1, &strip, NULL));
    EXPECT_TRUE(images.Remove(-1));
    EXPECT_EQ(images.GetImageCount(), 0);

    EXPECT_EQ(images.SetBkColor(kBlue), CLR_NONE);
    EXPECT_EQ(images.GetBkColor(), kBlue);

    HIMAGELIST hList = images.Detach();
    EXPECT_EQ(images.GetSafeHandle(), (HIMAGELIST)NULL);
    EXPECT_FALSE(images.DeleteImageList());
    ASSERT_TRUE(images.Attach(hList));
    EXPECT_TRUE(images.DeleteImageList());
}

// ---- The window device contexts ----

CRect g_paintRect;

// Fills what it is asked to paint with blue, through CPaintDC.
LRESULT CALLBACK PaintingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        CPaintDC dc(CWnd::FromHandle(hWnd));
        g_paintRect = dc.m_ps.rcPaint;
        dc.FillSolidRect(&dc.m_ps.rcPaint, kBlue);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(WindowDC, PaintClientAndWindowContextsCoverTheirAreas)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PaintingProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"MosaicPaintTest";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Paint", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                30, 30, 200, 150, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);
    UpdateWindow(hWnd);
    CWnd* pWnd = CWnd::FromHandle(hWnd);

    {
        CClientDC dc(pWnd);
        dc.FillSolidRect(0, 0, 40, 40, kWhite);
    }
    InvalidateRect(hWnd, CRect(10, 10, 30, 20), FALSE);
    UpdateWindow(hWnd);
    EXPECT_EQ(g_paintRect, CRect(10, 10, 30, 20));
    // EndPaint validated what was painted.
    EXPECT_FALSE(GetUpdateRect(hWnd, NULL, FALSE));

    CRect client, window;
    GetClientRect(hWnd, &client);
    GetWindowRect(hWnd, &window);
    {
        CClientDC dc(pWnd);
        CRect box;
        dc.GetClipBox(&box);
        EXPECT_EQ(box, client);
        EXPECT_EQ(dc.GetPixel(10, 10), kBlue);
        EXPECT_EQ(dc.GetPixel(29, 19), kBlue);
        EXPECT_EQ(dc.GetPixel(30, 19), kWhite);
        dc.SetPixel(0, 0, kRed);
    }
    {
        // Window coordinates: the client area starts inside the frame.
        CWindowDC dc(pWnd);
        POINT origin = { 0, 0 };
        ClientToScreen(hWnd, &origin);
        EXPECT_EQ(dc.GetPixel(origin.x - window.left, origin.y - window.top), kRed);
    }
    {
        CClientDC screen(NULL);
        EXPECT_EQ(screen.GetDeviceCaps(HORZRES), GetSystemMetrics(SM_CXSCREEN));
    }

    DestroyWindow(hWnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    AfxDeleteTempMaps();
}

} // namespace
