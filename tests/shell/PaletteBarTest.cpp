// The palette bar in a real frame, created and laid out as the main frame makes it: the
// colours of a page, the page arrows, the pressed frames and the labels, checked on the bar's
// picture and on the screen.
#include "MosaicTest.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "AfxApp.h"
#include "PaletteBar.h"
#include "TilePalette.h"

namespace {

const UINT IDW_TILE_BAR = 32885;
const UINT ID_TILE_BUTTON_FIRST = 57346;

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Colour c of the test palettes: distinct, none of them the bar's grey or black.
void TestColour(int c, BYTE rgb[3])
{
    rgb[0] = (BYTE)(20 + (c * 37) % 200);
    rgb[1] = (BYTE)(30 + (c * 11) % 150);
    rgb[2] = (BYTE)(200 - (c * 3) % 180);
}

void FillPalette(C2Palette& palette, int count)
{
    for (int c = 0; c < count; c++)
    {
        BYTE rgb[3];
        TestColour(c, rgb);
        palette.m_colours[c].peRed = rgb[0];
        palette.m_colours[c].peGreen = rgb[1];
        palette.m_colours[c].peBlue = rgb[2];
        palette.m_colours[c].peFlags = 1;
    }
}

class CPaletteFrame : public CFrameWnd
{
public:
    CPaletteBar m_wndBar;
    PaletteBarData m_data;
    C2Palette m_tilePalette;
    C2Palette m_imagePalette;

    static BOOL FillData(void* context, PaletteBarData& data)
    {
        data = static_cast<CPaletteFrame*>(context)->m_data;
        return TRUE;
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        m_data.paletteMode = PaletteBarData::ModeTilePalette;
        m_data.pTilePalette = &m_tilePalette;
        m_data.pImagePalette = &m_imagePalette;
        m_wndBar.SetDataSource(FillData, this);
        if (!m_wndBar.Create(this, WS_CHILD | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP |
                                       CBRS_TOOLTIPS | CBRS_SIZE_FIXED,
                             IDW_TILE_BAR))
            return -1;
        UINT ids[CPaletteBar::ButtonCount];
        for (int i = 0; i < CPaletteBar::ButtonCount; i++)
            ids[i] = ID_TILE_BUTTON_FIRST + i;
        if (!m_wndBar.SetButtons(ids, CPaletteBar::ButtonCount))
            return -1;
        m_wndBar.EnableDocking(0);
        m_wndBar.SetColumns(CPaletteBar::ButtonCount);
        m_wndBar.SetHeight(32);
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaletteFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class PaletteBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CPaletteFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, L"Palette", WS_OVERLAPPEDWINDOW,
                                     CRect(0, 0, 1200, 300)));
        m_hWndFrame = m_pFrame->m_hWnd;
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->ShowControlBar(&Bar(), TRUE, FALSE);
        PumpPending();
    }

    void TearDown() override
    {
        if (IsWindow(m_hWndFrame))
            DestroyWindow(m_hWndFrame);
        m_app.m_pMainWnd = NULL;
        // The main frame's end quits the loop; the tests after this one have loops of their
        // own (message boxes) that would end at once.
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    CPaletteBar& Bar() { return m_pFrame->m_wndBar; }
    PaletteBarData& Data() { return m_pFrame->m_data; }

    void ShowTiles(int count, int page)
    {
        FillPalette(m_pFrame->m_tilePalette, count);
        Data().tileColourCount = count;
        Bar().m_nPage = page;
        Paint();
    }

    // As the owner does after changing what the bar shows.
    void Paint()
    {
        Bar().Refresh();
        Bar().UpdateWindow();
    }

    CRect Item(int i)
    {
        CRect rect;
        Bar().GetItemRect(i, &rect);
        return rect;
    }

    COLORREF PicturePixel(int x, int y)
    {
        const CRasterImage& image = Bar().GetImage();
        const BYTE* p = image.data + 3 * (x + y * image.width);
        return RGB(p[0], p[1], p[2]);
    }
    COLORREF ScreenPixel(CPoint pt)
    {
        HDC hdc = ::GetDC(Bar().m_hWnd);
        COLORREF colour = ::GetPixel(hdc, pt.x, pt.y) & 0xFFFFFF;
        ::ReleaseDC(Bar().m_hWnd, hdc);
        return colour;
    }
    // Where a button's square is drawn: the button less one column on each side, rows from
    // its top as many as it is wide less two; the first row of buttons at the bar's top.
    CRect Square(int i)
    {
        CRect item = Item(i);
        item.OffsetRect(0, -Item(0).top);
        return CRect(item.left + 1, item.top, item.right - 1, item.top + item.Width() - 2);
    }
    CPoint Centre(int i) { return Square(i).CenterPoint(); }

    static COLORREF TableColour(const PaletteBarData& data, int entry)
    {
        const BYTE* rgb = data.colourTable[entry];
        return RGB(rgb[0], rgb[1], rgb[2]);
    }
    COLORREF Grey() { return TableColour(Data(), PaletteBarData::Background); }
    COLORREF Ink() { return TableColour(Data(), PaletteBarData::Ink); }
    static COLORREF Colour(int c)
    {
        BYTE rgb[3];
        TestColour(c, rgb);
        return RGB(rgb[0], rgb[1], rgb[2]);
    }

    // Pixels of the picture in the rectangle that have the colour.
    int CountInPicture(const CRect& rect, COLORREF colour)
    {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; y++)
            for (int x = rect.left; x < rect.right; x++)
                n += PicturePixel(x, y) == colour;
        return n;
    }

    // 0 when the page button shows no arrow; otherwise -1 when it points left, 1 when right:
    // its tallest column is the base of its head, in the half it points to.
    int ArrowDirection(int i)
    {
        CRect square = Square(i);
        int nBest = 0, xBest = 0;
        for (int x = square.left; x < square.right; x++)
        {
            int n = CountInPicture(CRect(x, square.top, x + 1, square.bottom), Ink());
            if (n > nBest)
            {
                nBest = n;
                xBest = x;
            }
        }
        if (nBest == 0)
            return 0;
        return xBest > square.CenterPoint().x ? 1 : -1;
    }

    // The pixels of the screen inside button i's square, less its bevel, that are not the
    // square's colour: where its label was written.
    std::vector<bool> LabelPixels(int i, COLORREF square)
    {
        CRect inside = Square(i);
        inside.DeflateRect(2, 2);
        std::vector<bool> mask;
        HDC hdc = ::GetDC(Bar().m_hWnd);
        for (int y = inside.top; y < inside.bottom; y++)
            for (int x = inside.left; x < inside.right; x++)
                mask.push_back((::GetPixel(hdc, x, y) & 0xFFFFFF) != square);
        ::ReleaseDC(Bar().m_hWnd, hdc);
        return mask;
    }
    int CountOnScreen(int i, COLORREF colour)
    {
        CRect inside = Square(i);
        inside.DeflateRect(2, 2);
        int n = 0;
        for (int y = inside.top; y < inside.bottom; y++)
            for (int x = inside.left; x < inside.right; x++)
                n += ScreenPixel(CPoint(x, y)) == colour;
        return n;
    }
    static void SetColour(C2Palette& palette, int c, BYTE r, BYTE g, BYTE b)
    {
        palette.m_colours[c].peRed = r;
        palette.m_colours[c].peGreen = g;
        palette.m_colours[c].peBlue = b;
    }

    CWinApp m_app{ L"MosaicPaletteBarTest" };
    CPaletteFrame* m_pFrame = NULL;
    HWND m_hWndFrame = NULL;
};

TEST_F(PaletteBarTest, NextPageOnlyWhileALaterPageHoldsAColour)
{
    const struct
    {
        int page, count;
        BOOL bNext;
    } cases[] = {
        { 0, 0, FALSE },  { 0, 1, FALSE },  { 0, 30, FALSE }, { 0, 31, TRUE },
        { 1, 31, FALSE }, { 1, 60, FALSE }, { 1, 61, TRUE },  { 2, 70, FALSE },
        { 7, 256, TRUE }, { 8, 256, FALSE },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPaletteBar::HasNextPage(c.page, c.count), c.bNext) << c.page << " " << c.count;

    // Symbol labels shrink with the longest symbol, and stay readable past seven characters.
    const int heights[][2] = { { 0, 16 }, { 2, 16 }, { 3, 12 }, { 5, 12 }, { 6, 10 }, { 7, 10 },
                               { 8, 8 },  { 40, 8 } };
    for (const auto& h : heights)
        EXPECT_EQ(CPaletteBar::SymbolLabelHeight(h[0]), h[1]) << h[0];
}

TEST_F(PaletteBarTest, ButtonsWrapAfterEveryNthAndEveryRowIsPainted)
{
    // As the frame lays it out: 32 to a row, the last button ending the only row.
    for (int i : { 0, 15, 16, 30, 31 })
    {
        EXPECT_EQ((Bar().GetButtonStyle(i) & TBBS_WRAPPED) != 0, i == 31) << i;
        EXPECT_EQ(Item(i).top, Item(0).top) << i;
    }

    Bar().SetColumns(16);
    for (int i : { 14, 15, 16, 30, 31 })
        EXPECT_EQ((Bar().GetButtonStyle(i) & TBBS_WRAPPED) != 0, i == 15 || i == 31) << i;
    EXPECT_EQ(Item(16).left, Item(0).left);
    EXPECT_EQ(Item(16).top, Item(0).bottom);
    // Each row of buttons has rows of its own in the picture.
    ShowTiles(40, 0);
    EXPECT_EQ(PicturePixel(Centre(0).x, Centre(0).y), Colour(0));
    EXPECT_EQ(PicturePixel(Centre(16).x, Centre(16).y), Colour(16));
    EXPECT_EQ(ArrowDirection(31), 1);

    Bar().SetColumns(32);
    EXPECT_EQ(Bar().GetButtonStyle(15) & TBBS_WRAPPED, 0u);
    EXPECT_EQ(Item(16).top, Item(0).top);
}

TEST_F(PaletteBarTest, PagesShowTheirColoursAndArrows)
{
    const struct
    {
        int count, page, shown;   // shown: colour buttons of the page
        BOOL bPrevious, bNext;
    } cases[] = {
        { 70, 0, 30, FALSE, TRUE }, { 70, 1, 30, TRUE, TRUE },   { 70, 2, 10, TRUE, FALSE },
        { 30, 0, 30, FALSE, FALSE }, { 31, 0, 30, FALSE, TRUE }, { 31, 1, 1, TRUE, FALSE },
        { 0, 0, 0, FALSE, FALSE },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.count << " colours, page " << c.page);
        ShowTiles(c.count, c.page);
        for (int i = 0; i < CPaletteBar::ColoursPerPage; i++)
        {
            CRect square = Square(i);
            if (i < c.shown)
                EXPECT_EQ(PicturePixel(Centre(i).x, Centre(i).y), Colour(c.page * 30 + i)) << i;
            else   // the bar's grey, without a bevel
                EXPECT_EQ(CountInPicture(square, Grey()), square.Width() * square.Height()) << i;
        }
        EXPECT_EQ(ArrowDirection(CPaletteBar::PreviousButton), c.bPrevious ? -1 : 0);
        EXPECT_EQ(ArrowDirection(CPaletteBar::NextButton), c.bNext ? 1 : 0);
        // The picture is what the screen shows.
        EXPECT_EQ(ScreenPixel(Centre(0)), c.shown > 0 ? Colour(c.page * 30) : Grey());
        EXPECT_EQ(ScreenPixel(Centre(31)), PicturePixel(Centre(31).x, Centre(31).y));
    }

    // Nothing to show: the owner's source has nothing, or there is none.
    Data().paletteMode = 0;
    ShowTiles(70, 0);
    EXPECT_EQ(CountInPicture(Square(0), Grey()), Square(0).Width() * Square(0).Height());
    EXPECT_EQ(ArrowDirection(CPaletteBar::NextButton), 0);
}

// A bar whose palette has no colour writes the owner's text across it, where the screen
// then differs from the picture; a bar with colours, or without a text, shows its picture.
TEST_F(PaletteBarTest, AnEmptyPaletteShowsItsText)
{
    CRect client;
    Bar().GetClientRect(&client);
    const CRect row(client.left, 0, client.right, Square(0).bottom);
    auto written = [&]() {
        int n = 0;
        for (int y = row.top; y < row.bottom; y++)
            for (int x = row.left; x < std::min<int>(row.right, Bar().GetImage().width); x++)
                n += ScreenPixel(CPoint(x, y)) != PicturePixel(x, y);
        return n;
    };
    Data().emptyText = L"No tile palette";
    ShowTiles(0, 0);
    EXPECT_GT(written(), 20);
    ShowTiles(5, 0);
    EXPECT_EQ(0, written());
    Data().emptyText.Empty();
    ShowTiles(0, 0);
    EXPECT_EQ(0, written());
}

TEST_F(PaletteBarTest, PressedButtonsAreFramed)
{
    Bar().m_pressed[3] = 1;
    ShowTiles(70, 0);
    CRect pressed = Square(3), plain = Square(4);
    // The outer frame on the square's edge below its first row, the inner one inside it,
    // and between them the dotted frame in the bevel's light colour and black.
    EXPECT_EQ(PicturePixel(pressed.left, pressed.top + 1), Ink());
    EXPECT_EQ(PicturePixel(pressed.right - 1, pressed.bottom - 1), Ink());
    EXPECT_EQ(PicturePixel(pressed.left + 2, pressed.top + 2), Ink());
    int nInk = 0, nLight = 0;
    for (int y = pressed.top + 3; y < pressed.bottom - 3; y++)
    {
        nInk += PicturePixel(pressed.left + 1, y) == Ink();
        nLight += PicturePixel(pressed.left + 1, y) ==
                  TableColour(Data(), PaletteBarData::BevelLight);
    }
    EXPECT_GT(nInk, 0);
    EXPECT_GT(nLight, nInk);
    EXPECT_EQ(PicturePixel(pressed.CenterPoint().x, pressed.CenterPoint().y), Colour(3));
    // A button not pressed keeps its colour up to its bevel.
    EXPECT_EQ(PicturePixel(plain.left + 2, plain.top + 2), Colour(4));
    EXPECT_EQ(PicturePixel(plain.left, plain.top + 1),
              TableColour(Data(), PaletteBarData::BevelShade));

    // The frame goes with the flag.
    Bar().ClearPressed();
    Paint();
    EXPECT_EQ(PicturePixel(pressed.left + 2, pressed.top + 2), Colour(3));
}

TEST_F(PaletteBarTest, LabelsOnlyWithSuperposeAndInAContrastingColour)
{
    FillPalette(m_pFrame->m_tilePalette, 40);
    SetColour(m_pFrame->m_tilePalette, 0, 20, 20, 30);
    SetColour(m_pFrame->m_tilePalette, 1, 240, 240, 220);
    Data().tileColourCount = 40;
    Data().labelMode = 0;
    const COLORREF dark = RGB(20, 20, 30), light = RGB(240, 240, 220);

    Data().superpose = FALSE;
    Paint();
    for (int i : { 0, 1 })
    {
        std::vector<bool> mask = LabelPixels(i, i == 0 ? dark : light);
        EXPECT_EQ(std::count(mask.begin(), mask.end(), true), 0) << i;
    }

    Data().superpose = TRUE;
    Paint();
    EXPECT_GT(CountOnScreen(0, RGB(255, 255, 255)), 5);
    EXPECT_EQ(CountOnScreen(0, RGB(0, 0, 0)), 0);
    EXPECT_GT(CountOnScreen(1, RGB(0, 0, 0)), 5);
    EXPECT_EQ(CountOnScreen(1, RGB(255, 255, 255)), 0);
    // Labels beyond the colours of the page: none.
    ShowTiles(31, 1);
    EXPECT_EQ(CountOnScreen(1, RGB(0, 0, 0)) + CountOnScreen(1, RGB(255, 255, 255)), 0);
}

TEST_F(PaletteBarTest, ImageBarLabelsReadThePalettesWithoutChangingThem)
{
    C2Palette& tiles = m_pFrame->m_tilePalette;
    C2Palette& image = m_pFrame->m_imagePalette;
    FillPalette(tiles, 20);
    Data().tileColourCount = 20;
    // Image colours 0 and 2 are no tile's; colour 1 is tile 7's, under a name of its own.
    SetColour(image, 0, 10, 10, 60);
    image.m_colours[1] = tiles.m_colours[7];
    SetColour(image, 2, 10, 10, 60);
    image.m_colourNames[1] = L"Mine";
    image.m_symbols[1] = L"M";
    tiles.m_colourNames[7] = L"Theirs";
    tiles.m_symbols[7] = L"T";
    Data().imageColourCount = 3;
    Data().paletteMode = PaletteBarData::ModeImagePalette;
    Data().superpose = TRUE;
    const LOGFONTW imageFont = image.m_symbolFonts[1];
    const LOGFONTW tileFont = tiles.m_symbolFonts[7];
    ASSERT_EQ(ContrastTextColour(Colour(7)), 0xFFFFFFu);   // white labels on all three

    // By their index in the tile palette: "?" for a colour it lacks.
    Data().labelMode = 1;
    Paint();
    std::vector<bool> noTile = LabelPixels(0, RGB(10, 10, 60));
    std::vector<bool> tile7 = LabelPixels(1, Colour(7));
    EXPECT_EQ(LabelPixels(2, RGB(10, 10, 60)), noTile);
    EXPECT_NE(tile7, noTile);
    // ... as the tile bar numbers tile 7.
    Data().paletteMode = PaletteBarData::ModeTilePalette;
    Data().labelMode = 0;
    Paint();
    EXPECT_EQ(LabelPixels(7, Colour(7)), tile7);

    // By symbol, in fonts of the bar's own: the palettes keep theirs, and their names.
    Data().paletteMode = PaletteBarData::ModeImagePalette;
    Data().labelMode = 2;
    Paint();
    std::vector<bool> symbol = LabelPixels(1, Colour(7));
    EXPECT_GT(std::count(symbol.begin(), symbol.end(), true), 0);
    EXPECT_EQ(image.m_colourNames[1], CString(L"Mine"));
    EXPECT_EQ(image.m_symbols[1], CString(L"M"));
    EXPECT_EQ(image.m_colourNames[0], CString());
    EXPECT_EQ(memcmp(&image.m_symbolFonts[1], &imageFont, sizeof(LOGFONTW)), 0);
    EXPECT_EQ(memcmp(&tiles.m_symbolFonts[7], &tileFont, sizeof(LOGFONTW)), 0);
}

TEST_F(PaletteBarTest, LongSymbolsAreMadeSmallerToFitTheirButtons)
{
    C2Palette& tiles = m_pFrame->m_tilePalette;
    FillPalette(tiles, 3);
    // Too wide for the heights their lengths give.
    const LPCWSTR symbols[] = { L"WW", L"WWWW", L"ABCDE" };
    for (int c = 0; c < 3; c++)
    {
        SetColour(tiles, c, 20, 20, 30);
        tiles.m_symbols[c] = symbols[c];
    }
    Data().tileColourCount = 3;
    Data().labelMode = 2;
    Data().superpose = TRUE;
    Paint();
    for (int c = 0; c < 3; c++)
    {
        // Inside the bevel, the first and last columns are clear of the label.
        CRect square = Square(c);
        int nWritten = 0, nEdge = 0;
        for (int y = square.top + 2; y < square.bottom - 2; y++)
            for (int x = square.left + 1; x < square.right - 1; x++)
            {
                BOOL bText = ScreenPixel(CPoint(x, y)) != RGB(20, 20, 30);
                nWritten += bText;
                nEdge += bText && (x == square.left + 1 || x == square.right - 2);
            }
        EXPECT_GT(nWritten, 10) << c;
        EXPECT_EQ(nEdge, 0) << c;
    }
}

TEST_F(PaletteBarTest, PictureReachesAsFarAsTheButtons)
{
    ShowTiles(70, 1);
    EXPECT_TRUE(Bar().IsPrepared());
    const int borders = Bar().m_cxLeftBorder + Bar().m_cxRightBorder;
    EXPECT_EQ(Bar().GetImage().width, Item(31).right + borders);
    EXPECT_GE(Bar().GetImage().height, Square(31).bottom);

    // Wider buttons than before: the picture follows at the next paint, and the last
    // button is drawn whole.
    Bar().SetSizes(CSize(40, 32), CSize(16, 16));
    m_pFrame->RecalcLayout();
    ASSERT_EQ(Item(31).Width(), 40);
    Bar().Invalidate();
    Bar().UpdateWindow();
    EXPECT_EQ(Bar().GetImage().width, Item(31).right + borders);
    EXPECT_EQ(ArrowDirection(CPaletteBar::NextButton), 1);
    EXPECT_EQ(PicturePixel(Centre(29).x, Centre(29).y), Colour(59));

    Bar().Refresh();
    EXPECT_FALSE(Bar().IsPrepared());
}

} // namespace
