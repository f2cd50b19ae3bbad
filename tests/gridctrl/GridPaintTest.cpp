// What the grid draws, read back from pictures of its client area: the backgrounds, grid
// lines and raised headings, focus and selection, the sort arrow, check boxes and combo
// buttons, and the window's own paint.
//
// With MOSAIC_GRID_SHOTS naming a folder, the window paint test leaves a PNG picture of the
// grid there, for a person to look at.
#include "MosaicTest.h"

#include <stdlib.h>

#include <memory>
#include <string>

#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridTestSupport.h"
#include "OpenCv.h"

namespace
{

const COLORREF kNormalBack = RGB(250, 250, 240);
const COLORREF kFixedBack = RGB(200, 200, 220);
const COLORREF kCornerBack = RGB(180, 220, 180);
const COLORREF kGridBack = RGB(90, 90, 90);
const COLORREF kGridLine = RGB(255, 0, 0);
const COLORREF kUnpainted = RGB(255, 0, 255);

// A 32-bit picture of a client area, filled with kUnpainted first.
class CPicture
{
public:
    explicit CPicture(CSize size) : m_size(size)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = size.cx;
        bmi.bmiHeader.biHeight = -size.cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hBitmap = CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, (void**)&m_pBits, NULL, 0);
        m_dc.CreateCompatibleDC(NULL);
        m_hOld = m_dc.SelectObject(m_hBitmap);
        m_dc.FillSolidRect(0, 0, size.cx, size.cy, kUnpainted);
    }
    ~CPicture()
    {
        m_dc.SelectObject(m_hOld);
        DeleteObject(m_hBitmap);
    }

    COLORREF Pixel(int x, int y) const
    {
        const DWORD value = m_pBits[y * m_size.cx + x];
        return RGB((value >> 16) & 255, (value >> 8) & 255, value & 255);
    }
    // How many pixels of the rectangle have the colour.
    int Count(const CRect& rect, COLORREF colour) const
    {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                n += Pixel(x, y) == colour;
        return n;
    }
    // Pixels darker than mid-grey: text and marks.
    int CountDark(const CRect& rect) const
    {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
            {
                const COLORREF c = Pixel(x, y);
                n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100;
            }
        return n;
    }
    // The picture as an image file at a path of this system.
    bool Save(const char* szPath) const
    {
        const cv::Mat picture(m_size.cy, m_size.cx, CV_8UC4, (void*)m_pBits);
        cv::Mat bgr;
        cv::cvtColor(picture, bgr, cv::COLOR_BGRA2BGR);
        return cv::imwrite(szPath, bgr);
    }
    bool SameAs(const CPicture& other, const CRect& rect) const
    {
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                if (Pixel(x, y) != other.Pixel(x, y))
                    return false;
        return true;
    }

    CSize m_size;
    CDC m_dc;

private:
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = NULL;
};

// Six rows of 24 pixels and four columns of 60, one of each fixed, in a window where all
// fits: the cells end before the window does.
class GridPaint : public testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.GetDefaultCell(FALSE, FALSE)->SetBackColour(kNormalBack);
        m_grid.GetDefaultCell(TRUE, FALSE)->SetBackColour(kFixedBack);
        m_grid.GetDefaultCell(FALSE, TRUE)->SetBackColour(kFixedBack);
        m_grid.GetDefaultCell(TRUE, TRUE)->SetBackColour(kCornerBack);
        m_grid.SetGridBkColour(kGridBack);
        m_grid.SetGridLineColour(kGridLine);
        for (int nCol = 0; nCol < 4; nCol++)
            m_grid.SetColumnWidth(nCol, 60);
        for (int nRow = 0; nRow < 6; nRow++)
            m_grid.SetRowHeight(nRow, 24);
        m_owner.Attach(m_grid, CRect(0, 0, 400, 300));
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    CSize ClientSize()
    {
        CRect rect;
        m_grid.GetClientRect(rect);
        return rect.Size();
    }
    // What OnDraw paints, taken apart from the window.
    std::unique_ptr<CPicture> Draw()
    {
        std::unique_ptr<CPicture> picture(new CPicture(ClientSize()));
        m_grid.OnDraw(&picture->m_dc);
        GdiFlush();
        return picture;
    }
    // The inclusive rectangle of a cell, and its inside away from edges and grid lines.
    CRect CellRect(int nRow, int nCol)
    {
        CRect rect;
        m_grid.GetCellRect(nRow, nCol, rect);
        return rect;
    }
    CRect Inside(int nRow, int nCol)
    {
        CRect rect = CellRect(nRow, nCol);
        rect.DeflateRect(3, 3);
        return rect;
    }

    CGridOwner m_owner;
    CTestGrid m_grid{ 6, 4, 1, 1 };
};

TEST_F(GridPaint, BackgroundsGridLinesAndHeadingEdgesLieWhereTheCellsAre)
{
    const auto picture = Draw();
    const CSize size = ClientSize();
    EXPECT_EQ(0, picture->Count(CRect(CPoint(0, 0), size), kUnpainted));

    // Corner, headings and cells inside their edges.
    EXPECT_EQ(Inside(0, 0).Width() * Inside(0, 0).Height(),
              picture->Count(Inside(0, 0), kCornerBack));
    EXPECT_EQ(picture->Count(Inside(0, 2), kFixedBack), Inside(0, 2).Width() * Inside(0, 2).Height());
    EXPECT_EQ(picture->Count(Inside(3, 0), kFixedBack), Inside(3, 0).Width() * Inside(3, 0).Height());
    EXPECT_EQ(picture->Count(Inside(3, 2), kNormalBack), Inside(3, 2).Width() * Inside(3, 2).Height());

    // Grid lines along the right and bottom pixels of the non-fixed cells, none in the
    // headings; the headings are raised.
    const CRect cell = CellRect(2, 2);
    EXPECT_EQ(kGridLine, picture->Pixel(cell.right, cell.top + 5));
    EXPECT_EQ(kGridLine, picture->Pixel(cell.left + 5, cell.bottom));
    EXPECT_EQ(kNormalBack, picture->Pixel(cell.right - 1, cell.top + 5));
    EXPECT_EQ(0, picture->Count(CRect(0, 0, size.cx, 24), kGridLine));
    EXPECT_EQ(0, picture->Count(CRect(0, 0, 60, size.cy), kGridLine));
    const CRect heading = CellRect(0, 1);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), picture->Pixel(heading.left + 10, heading.top));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), picture->Pixel(heading.left, heading.top + 10));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), picture->Pixel(heading.right, heading.top + 10));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), picture->Pixel(heading.left + 10, heading.bottom));

    // Right of and below the cells, the grid's background.
    const CRect last = CellRect(5, 3);
    EXPECT_EQ(kGridBack, picture->Pixel(last.right + 1, 5));
    EXPECT_EQ(kGridBack, picture->Pixel(size.cx - 1, size.cy - 1));
    EXPECT_EQ(kGridBack, picture->Pixel(10, last.bottom + 1));

    // Texts show in their cells only.
    m_grid.SetItemText(2, 2, L"MMMM");
    m_grid.SetItemText(0, 3, L"Vert");
    const auto withText = Draw();
    EXPECT_GT(withText->CountDark(Inside(2, 2)), 20);
    EXPECT_GT(withText->CountDark(Inside(0, 3)), 10);
    EXPECT_EQ(0, withText->CountDark(Inside(3, 2)));
    EXPECT_EQ(0, withText->CountDark(Inside(2, 1)));
}

TEST_F(GridPaint, FocusAndSelectionTakeTheHighlightAndPressTheFocusHeadings)
{
    const COLORREF crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    m_grid.SetItemState(2, 2, GridCellSelected);
    m_grid.SetItemState(3, 1, GridCellSelected);
    m_grid.SetFocusCellRowCol(2, 2);
    const auto picture = Draw();
    EXPECT_EQ(Inside(2, 2).Width() * Inside(2, 2).Height(), picture->Count(Inside(2, 2), crHighlight));
    EXPECT_EQ(Inside(3, 1).Width() * Inside(3, 1).Height(), picture->Count(Inside(3, 1), crHighlight));
    // The focus frame, in the text colour, inside the grid lines.
    const CRect focus = CellRect(2, 2);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), picture->Pixel(focus.left, focus.top + 10));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), picture->Pixel(focus.right - 1, focus.top + 10));
    EXPECT_EQ(kGridLine, picture->Pixel(focus.right, focus.top + 10));

    // The headings of the focus row and column are pressed; the others stay raised.
    const COLORREF crRaised = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_NE(crRaised, picture->Pixel(CellRect(0, 2).left + 10, 0));
    EXPECT_NE(crRaised, picture->Pixel(0, CellRect(2, 0).top + 10));
    EXPECT_EQ(crRaised, picture->Pixel(CellRect(0, 1).left + 10, 0));
    EXPECT_EQ(crRaised, picture->Pixel(0, CellRect(3, 0).top + 10));

    m_grid.SetHighlightFocusHeadings(FALSE);
    m_grid.SetFrameFocusCell(FALSE);
    const auto plain = Draw();
    EXPECT_EQ(crRaised, plain->Pixel(CellRect(0, 2).left + 10, 0));
    EXPECT_EQ(crHighlight, plain->Pixel(focus.left, focus.top + 10));

    // A focus cell that is not selected keeps its background.
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCellRowCol(4, 3);
    const auto unselected = Draw();
    EXPECT_EQ(kNormalBack, unselected->Pixel(Inside(4, 3).left, Inside(4, 3).top));
    EXPECT_EQ(0, unselected->Count(CRect(CPoint(0, 0), ClientSize()), crHighlight));
}

TEST_F(GridPaint, TheSortArrowShowsInTheSortedHeadingAndPointsTheSortsWay)
{
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
    const auto unsorted = Draw();
    ASSERT_EQ(0, unsorted->Count(Inside(0, 2), crShadow));

    m_grid.SetSortColumn(2);
    const auto ascending = Draw();
    EXPECT_GT(ascending->Count(Inside(0, 2), crShadow), 5);
    EXPECT_EQ(0, ascending->Count(Inside(0, 1), crShadow));
    EXPECT_EQ(0, ascending->Count(Inside(1, 2), crShadow));

    m_grid.SetSortAscending(FALSE);
    const auto descending = Draw();
    EXPECT_GT(descending->Count(Inside(0, 2), crShadow), 5);
    EXPECT_FALSE(descending->SameAs(*ascending, Inside(0, 2)));

    // No room for the arrow: none.
    m_grid.SetColumnWidth(2, 10);
    const auto narrow = Draw();
    EXPECT_EQ(0, narrow->Count(CellRect(0, 2), crShadow));
}

TEST_F(GridPaint, CheckCellsShowTheirBoxAndComboCellsTheirButtonWhileEditable)
{
    ASSERT_TRUE(m_grid.SetCellType(2, 1, RUNTIME_CLASS(CGridCellCheck)));
    ASSERT_TRUE(m_grid.SetCellType(3, 1, RUNTIME_CLASS(CGridCellCombo)));
    CGridCellCheck* pCheck = DYNAMIC_DOWNCAST(CGridCellCheck, m_grid.GetCell(2, 1));
    ASSERT_NE(nullptr, pCheck);

    const auto unchecked = Draw();
    const CRect box = pCheck->GetCheckRect();
    EXPECT_EQ(CellRect(2, 1).left + (int)pCheck->GetMargin(), box.left);
    // The box's sunken frame, around the cell's background.
    EXPECT_LT(unchecked->Count(box, kNormalBack), box.Width() * box.Height() - 2 * box.Width());
    pCheck->SetCheck(TRUE);
    const auto checked = Draw();
    CRect inner = box;
    inner.DeflateRect(3, 3);
    EXPECT_GT(checked->CountDark(inner), unchecked->CountDark(inner) + 5);

    // The combo button: the face of a button at the cell's right.
    const CRect combo = CellRect(3, 1);
    const CRect button(combo.right - GetSystemMetrics(SM_CXVSCROLL) + 2, combo.top + 2,
                       combo.right - 2, combo.top + GetSystemMetrics(SM_CYHSCROLL) - 2);
    EXPECT_EQ(0, checked->Count(button, kNormalBack));
    m_grid.SetEditable(FALSE);
    const auto readOnly = Draw();
    EXPECT_EQ(button.Width() * button.Height(), readOnly->Count(button, kNormalBack));
}

TEST_F(GridPaint, TheWindowShowsWhatTheGridDraws)
{
    m_grid.SetItemText(0, 1, L"Nom");
    m_grid.SetItemText(0, 2, L"Rouge");
    m_grid.SetItemText(2, 1, L"Carmin");
    m_grid.SetItemText(2, 2, L"200");
    m_grid.SetItemBackColour(3, 2, RGB(200, 30, 40));
    m_grid.SetItemTextColour(3, 2, RGB(255, 255, 255));
    m_grid.SetItemText(3, 2, L"Swatch");
    m_grid.SetCellType(4, 1, RUNTIME_CLASS(CGridCellCheck));
    DYNAMIC_DOWNCAST(CGridCellCheck, m_grid.GetCell(4, 1))->SetCheck(TRUE);
    m_grid.SetItemState(4, 3, GridCellSelected);
    m_grid.SetFocusCellRowCol(4, 3);
    const auto drawn = Draw();

    m_grid.Invalidate();
    m_grid.UpdateWindow();
    GdiFlush();
    CPicture shown(ClientSize());
    {
        CClientDC dc(&m_grid);
        shown.m_dc.BitBlt(0, 0, shown.m_size.cx, shown.m_size.cy, &dc, 0, 0, SRCCOPY);
    }
    GdiFlush();
    EXPECT_TRUE(shown.SameAs(*drawn, CRect(CPoint(0, 0), ClientSize())));

    // The grid's whole window, bars and edge included, as its owner shows it.
    if (const char* shots = getenv("MOSAIC_GRID_SHOTS"))
    {
        PumpGridMessages();
        CRect rectOwner;
        m_owner.GetClientRect(rectOwner);
        CPicture window(rectOwner.Size());
        {
            CClientDC dc(&m_owner);
            window.m_dc.BitBlt(0, 0, rectOwner.Width(), rectOwner.Height(), &dc, 0, 0, SRCCOPY);
        }
        GdiFlush();
        const std::string strPath = std::string(shots) + "/grid.png";
        EXPECT_TRUE(window.Save(strPath.c_str())) << strPath;
    }
}

} // namespace
