// The palette table's grid: colour components as typed, swatches that follow the values on
// the next paint, refused values flagged, and paints that find nothing more to change.
#include "MosaicTest.h"

#include "GridCtrl2.h"
#include "GridTestSupport.h"

namespace
{

TEST(GridCtrl2, AComponentIsAWholeNumberFrom0To255)
{
    const struct
    {
        LPCWSTR szText;
        BOOL bRead;
        int nValue;
    } cases[] = {
        { L"0", TRUE, 0 },      { L"255", TRUE, 255 }, { L" 7 ", TRUE, 7 }, { L"0042", TRUE, 42 },
        // Never wrapped into another colour.
        { L"256", FALSE, 0 },   { L"300", FALSE, 0 },  { L"-1", FALSE, 0 }, { L"12abc", FALSE, 0 },
        { L"", FALSE, 0 },      { L"1 2", FALSE, 0 },  { L"99999999999", FALSE, 0 },
    };
    for (const auto& c : cases)
    {
        int nValue = -5;
        EXPECT_EQ(c.bRead, CGridCtrl2::ReadColourComponent(c.szText, nValue)) << CString(c.szText);
        if (c.bRead)
            EXPECT_EQ(c.nValue, nValue) << CString(c.szText);
    }
}

class PaletteGrid : public testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.Attach(m_grid, CRect(0, 0, 380, 200));
        m_grid.SetColourRowCount(3);
        for (int nRow = 1; nRow <= 3; nRow++)
            SetRgb(nRow, L"10", L"20", L"30");
        Paint();
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    void SetRgb(int nRow, LPCWSTR szRed, LPCWSTR szGreen, LPCWSTR szBlue)
    {
        m_grid.SetItemText(nRow, CGridCtrl2::COL_RED, szRed);
        m_grid.SetItemText(nRow, CGridCtrl2::COL_GREEN, szGreen);
        m_grid.SetItemText(nRow, CGridCtrl2::COL_BLUE, szBlue);
    }
    // Paints what waits, as often as the grid asks.
    void Paint()
    {
        m_grid.Invalidate();
        m_grid.UpdateWindow();
        m_grid.UpdateWindow();
    }
    BOOL PaintPending() { return ::GetUpdateRect(m_grid.m_hWnd, NULL, FALSE); }

    CGridOwner m_owner;
    CGridCtrl2 m_grid{ 5, 7, 1, 1 };
};

TEST_F(PaletteGrid, SwatchesFollowTheValuesOnTheNextPaint)
{
    for (int nRow = 1; nRow <= 3; nRow++)
    {
        EXPECT_EQ(RGB(10, 20, 30), m_grid.GetItemBackColour(nRow, CGridCtrl2::COL_SWATCH));
        EXPECT_TRUE(m_grid.GetItemState(nRow, CGridCtrl2::COL_SWATCH) & GridCellReadOnly);
    }
    EXPECT_EQ(CLR_DEFAULT, m_grid.GetItemBackColour(4, CGridCtrl2::COL_SWATCH))
        << "row 4 carries no colour";
    EXPECT_FALSE(PaintPending()) << "swatches in step ask for no further paint";

    m_grid.SetItemText(3, CGridCtrl2::COL_BLUE, L"200");
    EXPECT_EQ(RGB(10, 20, 30), m_grid.GetItemBackColour(3, CGridCtrl2::COL_SWATCH));
    Paint();
    EXPECT_EQ(RGB(10, 20, 200), m_grid.GetItemBackColour(3, CGridCtrl2::COL_SWATCH));
    EXPECT_EQ(RGB(10, 20, 30), m_grid.GetItemBackColour(2, CGridCtrl2::COL_SWATCH));
    EXPECT_FALSE(PaintPending());

    // The swatch shows on screen in its colour.
    CPoint centre = CellCentre(m_grid, 3, CGridCtrl2::COL_SWATCH);
    HDC hDC = ::GetDC(m_grid.m_hWnd);
    EXPECT_EQ(RGB(10, 20, 200), ::GetPixel(hDC, centre.x, centre.y));
    ::ReleaseDC(m_grid.m_hWnd, hDC);
}

TEST_F(PaletteGrid, ARefusedValueIsFlaggedAndLeavesTheSwatch)
{
    SetRgb(2, L"300", L"20", L"-1");
    Paint();
    EXPECT_EQ(RGB(10, 20, 30), m_grid.GetItemBackColour(2, CGridCtrl2::COL_SWATCH));
    EXPECT_EQ(CGridCtrl2::REFUSED_COLOUR, m_grid.GetItemBackColour(2, CGridCtrl2::COL_RED));
    EXPECT_EQ(CLR_DEFAULT, m_grid.GetItemBackColour(2, CGridCtrl2::COL_GREEN));
    EXPECT_EQ(CGridCtrl2::REFUSED_COLOUR, m_grid.GetItemBackColour(2, CGridCtrl2::COL_BLUE));
    COLORREF clr;
    EXPECT_FALSE(m_grid.GetRowColour(2, clr));
    EXPECT_FALSE(PaintPending());

    SetRgb(2, L"44", L"20", L"255");
    Paint();
    EXPECT_EQ(RGB(44, 20, 255), m_grid.GetItemBackColour(2, CGridCtrl2::COL_SWATCH));
    EXPECT_EQ(CLR_DEFAULT, m_grid.GetItemBackColour(2, CGridCtrl2::COL_RED));
    EXPECT_EQ(CLR_DEFAULT, m_grid.GetItemBackColour(2, CGridCtrl2::COL_BLUE));

    // More colour rows than rows: the missing ones change nothing, paint after paint.
    m_grid.SetColourRowCount(9);
    Paint();
    EXPECT_FALSE(PaintPending());
}

} // namespace
