// The editing tools in a real view: clicks, drags, releases, arrow keys and right clicks sent
// as the window system sends them, on every paving pattern, checked on the cell
// maps, the image palette, the undo step, the palette bars and the message line.
#include "MosaicTest.h"

#include <string.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "AfxMenu.h"
#include "AfxRes.h"
#include "LangText.h"
#include "PaletteBarState.h"
#include "ShpRectangle.h"
#include "TextIds.h"
#include "TileRenderer.h"
#include "ViewFrameHooks.h"
#include "ViewTestSupport.h"

namespace
{

struct Cell
{
    int shape, kind, colour[4], variant[4];
};

// What the tools see of the main frame, and what they show the user.
CPaletteBarState g_imageBar;
CPaletteBarState g_tileBar;
int g_barMode = 3;
std::vector<CString> g_messageBoxes;
CString g_messageLine;
HHOOK g_hMessageHook = NULL;

int BarMode()
{
    return g_barMode;
}
CPaletteBarState* ImageBar()
{
    return &g_imageBar;
}
CPaletteBarState* TileBar()
{
    return &g_tileBar;
}
int RecordMessageBox(LPCTSTR lpszText)
{
    g_messageBoxes.push_back(lpszText);
    return IDOK;
}
LRESULT CALLBACK RecordMessageLine(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
    if (nCode == HC_ACTION && p->message == WM_SETMESSAGESTRING && p->lParam != 0)
        g_messageLine = (LPCTSTR)p->lParam;
    return CallNextHookEx(g_hMessageHook, nCode, wParam, lParam);
}

// The menu the view tracked, ended at once, and whether it held the Undo item.
HMENU g_trackedMenu = NULL;
bool g_trackedUndo = false;
void CALLBACK EndTrackedMenu(HWND, UINT, UINT_PTR, DWORD)
{
    if (AfxGetTrackingMenu() != NULL)
    {
        g_trackedMenu = AfxGetTrackingMenu();
        g_trackedUndo = GetMenuState(g_trackedMenu, ID_UNDO_EDIT, MF_BYCOMMAND) != 0xFFFFFFFFu;
        EndMenu();
    }
}

const COLORREF kTileColour = RGB(200, 10, 10);

class ToolWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        m_savedHooks = CVitrolanDoc::s_uiHooks;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = RecordMessageBox;
        ViewFrameHooks hooks = {BarMode, ImageBar, TileBar};
        InstallViewFrameHooks(hooks);
        g_imageBar.ClearPressed();
        g_imageBar.m_nPage = 0;
        g_tileBar.ClearPressed();
        g_tileBar.m_nPage = 0;
        g_barMode = 3;
        g_messageBoxes.clear();
        g_messageLine.Empty();
        g_hMessageHook = SetWindowsHookExW(WH_CALLWNDPROC, RecordMessageLine, NULL,
                                           GetCurrentThreadId());

        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_app.Frame()->SetWindowPos(NULL, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        m_pView = m_app.View();
        m_pDoc = m_app.Doc();
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(g_hMessageHook);
        InstallViewFrameHooks(ViewFrameHooks());
        CVitrolanDoc::s_uiHooks = m_savedHooks;
    }

    // A settled mosaic, one colour per cell, painted; tile colour 3 is not an image colour.
    void Load(int cols, int rows, int type, int zoom)
    {
        LoadTestMosaic(*m_pDoc, cols, rows, type, zoom);
        m_pDoc->m_tilePalette.m_colours[3] = PaletteEntry{200, 10, 10, 1};
        m_pDoc->m_tileColourCount = 10;
        m_pDoc->m_pitch = 2660;
        m_pDoc->unites = 0;
        m_pDoc->m_unitTextLong = L"m";
        // No selection from an earlier mosaic.
        m_pDoc->m_selection->m_rect.SetRectEmpty();
        m_pDoc->m_copyValid = 0;
        memset(m_pDoc->m_copyRect, 0, sizeof(m_pDoc->m_copyRect));
        m_pDoc->UpdateAllViews(NULL);
        Repaint();
    }
    void Settle()
    {
        m_pDoc->m_workingMap.CopyBlock(&m_pDoc->m_committedMap, 4 * m_pDoc->m_cols,
                                       4 * m_pDoc->m_rows);
        Repaint();
    }
    void Repaint()
    {
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
        PumpMessages();
    }
    Cell Get(int col, int row, BOOL bCommitted = FALSE) const
    {
        const CRasterImage& map = bCommitted ? m_pDoc->m_committedMap : m_pDoc->m_workingMap;
        Cell c = {};
        map.GetCell(col, row, c.shape, c.kind, c.colour[0], c.colour[1], c.colour[2], c.colour[3],
                    c.variant[0], c.variant[1], c.variant[2], c.variant[3]);
        return c;
    }
    void Set(int col, int row, int shape, int kind, int colour)
    {
        m_pDoc->m_workingMap.SetCell(col, row, shape, kind, colour, colour, colour, colour, 0, 0,
                                     0, 0);
    }
    COLORREF Rgb(int colour) const
    {
        const PaletteEntry& e = m_pDoc->m_imagePalette.m_colours[colour & 0xFF];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    // The middle of the area the screen picture shows in the cell's own colour.
    CPoint Centre(int col, int row) const
    {
        const COLORREF colour = Rgb(Get(col, row).colour[0]);
        long sx = 0, sy = 0, n = 0;
        for (int y = 0; y < m_pDoc->m_screenHeight; y++)
            for (int x = 0; x < m_pDoc->m_screenWidth; x++)
                if (ScreenImagePixel(*m_pDoc, x, y) == colour)
                {
                    sx += x;
                    sy += y;
                    n++;
                }
        EXPECT_GT(n, 0) << "cell " << col << "," << row << " is not shown";
        return n > 0 ? CPoint(sx / n, sy / n) : CPoint(-1, -1);
    }
    void Down(CPoint pt)
    {
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    void Move(CPoint pt) { m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y)); }
    void Up(CPoint pt)
    {
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        PumpMessages();
    }
    void Click(CPoint pt)
    {
        Down(pt);
        Up(pt);
    }
    void Key(UINT nChar)
    {
        m_pView->SendMessage(WM_KEYDOWN, nChar, 1);
        PumpMessages();
    }
    void PressImageColour(int colour)
    {
        g_barMode = 2;
        g_imageBar.ClearPressed();
        g_tileBar.ClearPressed();
        g_imageBar.m_nPage = colour / 30;
        g_imageBar.m_pressed[colour % 30] = 1;
    }
    void PressTileColour(int colour)
    {
        g_barMode = 1;
        g_imageBar.ClearPressed();
        g_tileBar.ClearPressed();
        g_tileBar.m_nPage = colour / 30;
        g_tileBar.m_pressed[colour % 30] = 1;
    }
    CString UndoText() const { return m_pDoc->m_undoItemText; }

    // The screen picture's client area, pixel by pixel.
    std::vector<COLORREF> Screen() const
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_pDoc->m_screenHeight; y++)
            for (int x = 0; x < m_pDoc->m_screenWidth; x++)
                pixels.push_back(ScreenImagePixel(*m_pDoc, x, y));
        return pixels;
    }
    // A pixel the screen shows in the colour of the cell (every cell of the mosaic has a
    // colour of its own), the one nearest to a point a fifth right and a seventh below the
    // middle of the cell's area, two pixels clear of the lines along which a cut splits a
    // tile; (-1, -1) when the screen does not show the cell.
    CPoint PointOn(int col, int row) const
    {
        const COLORREF colour = Rgb(Get(col, row).colour[0]);
        const int n = m_pDoc->m_tileSize;
        const int h = n / 2;
        const CRect box = BoxOf(col, row);
        auto clear = [&](int x, int y) {
            const int u = x - box.left, v = n - 1 - (y - box.top);
            return abs(u - h) > 1 && abs(v - h) > 1 && abs(u - v) > 1 && abs(u + v - n + 2) > 1;
        };
        long sx = 0, sy = 0, count = 0;
        for (int y = 0; y < m_pDoc->m_screenHeight; y++)
            for (int x = 0; x < m_pDoc->m_screenWidth; x++)
                if (ScreenImagePixel(*m_pDoc, x, y) == colour)
                    sx += x, sy += y, count++;
        if (count == 0)
            return CPoint(-1, -1);
        const CPoint aim(sx / count + n / 5, sy / count + n / 7);
        CPoint best(-1, -1);
        long bestDistance = LONG_MAX;
        for (int y = 0; y < m_pDoc->m_screenHeight; y++)
            for (int x = 0; x < m_pDoc->m_screenWidth; x++)
            {
                const long d = (long)(x - aim.x) * (x - aim.x) + (long)(y - aim.y) * (y - aim.y);
                if (d < bestDistance && ScreenImagePixel(*m_pDoc, x, y) == colour && clear(x, y))
                    best = CPoint(x, y), bestDistance = d;
            }
        return best;
    }
    // The renderer's box of the cell in the view as it is scrolled now.
    CRect BoxOf(int col, int row) const
    {
        return CRect(MosaicTileBox(m_pDoc->m_tileSize, m_pDoc->m_rows, m_pView->GetOriginCol(),
                                   m_pView->GetOriginRow(), m_pDoc->m_pavingType, col, row));
    }
    // Every cell holds the kind and shape code that its place in the pattern gives: the
    // border's partial tiles on the border, whole tiles inside.
    void ExpectPatternBorder() const
    {
        for (int row = 0; row < m_pDoc->m_rows; row++)
            for (int col = 0; col < m_pDoc->m_cols; col++)
            {
                int kind = 0, shape = 0;
                PavingBorderCell(m_pDoc->m_pavingType, m_pDoc->m_cols, m_pDoc->m_rows, col, row,
                                 kind, shape);
                const Cell cell = Get(col, row);
                EXPECT_EQ(kind, cell.kind) << "cell " << col << "," << row;
                EXPECT_EQ(shape, cell.shape) << "cell " << col << "," << row;
            }
    }
    void Command(UINT nID)
    {
        m_app.Frame()->SendMessage(WM_COMMAND, nID, 0);
        PumpMessages();
    }
    void Drag(CPoint from, CPoint to)
    {
        Down(from);
        Move(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
        Move(to);
        Up(to);
    }
    TileBlock SelectedBlock() const
    {
        const int* copy = m_pDoc->m_copyRect;
        return TileBlock{copy[0], copy[1], copy[2], copy[3]};
    }

    CViewTestApp m_app;
    CVitrolanView* m_pView = NULL;
    CVitrolanDoc* m_pDoc = NULL;
    DocUiHooks m_savedHooks;
};

const int kPatterns[] = {PavingSquares, PavingDiamonds, PavingHexagons};

// ---- Fill ---------------------------------------------------------------------------------------

TEST_F(ToolWindow, FillGivesTheClickedRegionATileColourThatJoinsTheImagePalette)
{
    for (int type : kPatterns)
    {
        SCOPED_TRACE(type);
        Load(12, 10, type, 24);
        for (int r = 4; r <= 6; r++)
            for (int c = 4; c <= 6; c++)
                Set(c, r, 0, 0, 240);
        Settle();
        const Cell outside = Get(3, 5);
        PressTileColour(3);
        m_pDoc->m_fillTool = 1;
        Click(Centre(5, 5));

        // Appended as the next image colour, with the tile colour's RGB.
        ASSERT_EQ(252, m_pDoc->m_colourCount);
        EXPECT_EQ(kTileColour, Rgb(251));
        for (int r = 4; r <= 6; r++)
            for (int c = 4; c <= 6; c++)
                EXPECT_EQ(251, Get(c, r).colour[0]) << c << "," << r;
        EXPECT_EQ(outside.colour[0], Get(3, 5).colour[0]);
        EXPECT_EQ(GetLangText(TXT_UNDO_FLOOD_FILL), UndoText());
        // The image bar shows the new colour pressed.
        EXPECT_EQ(8, g_imageBar.m_nPage);
        EXPECT_EQ(1, g_imageBar.m_pressed[11]);

        m_pDoc->OnEditUndo();
        EXPECT_EQ(240, Get(5, 5).colour[0]);
        EXPECT_EQ(251, m_pDoc->m_colourCount);
        m_pDoc->m_fillTool = 0;
    }
}

TEST_F(ToolWindow, FillWithTheLastImageColour)
{
    Load(12, 10, PavingSquares, 24);
    for (int i = 251; i < 256; i++)
        m_pDoc->m_imagePalette.m_colours[i] = PaletteEntry{(BYTE)i, 1, 2, 1};
    m_pDoc->m_colourCount = 256;
    PressImageColour(255);
    m_pDoc->m_fillTool = 1;
    Click(Centre(2, 3));
    EXPECT_EQ(255, Get(2, 3).colour[0]);
    EXPECT_EQ(TestCellColour(12, 3, 3), Get(3, 3).colour[0]);
    EXPECT_EQ(8, g_imageBar.m_nPage);
    EXPECT_EQ(1, g_imageBar.m_pressed[15]);
}

TEST_F(ToolWindow, AColourToolWithoutAColourOnlySaysSo)
{
    Load(12, 10, PavingSquares, 24);
    m_pDoc->m_fillTool = 1;
    Click(Centre(2, 3));
    ASSERT_EQ(1u, g_messageBoxes.size());
    EXPECT_EQ(GetLangText(TXT_MSG_CHOOSE_COLOUR), g_messageBoxes[0]);
    EXPECT_EQ(TestCellColour(12, 2, 3), Get(2, 3).colour[0]);
    EXPECT_FALSE(m_pDoc->m_undoPending);
}

// A full image palette is compacted to make room; when every colour is in use the user is told
// and nothing is written.
TEST_F(ToolWindow, ATileColourNeedsRoomInTheImagePalette)
{
    Load(20, 15, PavingSquares, 24);
    for (int i = 251; i < 256; i++)
        m_pDoc->m_imagePalette.m_colours[i] = PaletteEntry{(BYTE)i, 1, 2, 1};
    m_pDoc->m_colourCount = 256;
    PressTileColour(3);
    m_pDoc->m_fillTool = 1;

    // Colours 251 to 255 are used by no tile.
    Click(Centre(2, 3));
    EXPECT_TRUE(g_messageBoxes.empty());
    const int c = Get(2, 3).colour[0];
    EXPECT_EQ(kTileColour, Rgb(c));
    EXPECT_LE(m_pDoc->m_colourCount, 256);

    // Now every colour is on a tile, and the tile colour none of them.
    Load(20, 15, PavingSquares, 24);
    for (int i = 251; i < 256; i++)
    {
        m_pDoc->m_imagePalette.m_colours[i] = PaletteEntry{(BYTE)i, 1, 2, 1};
        Set(i - 251, 14, 0, 0, i);
    }
    Set(6, 14, 0, 0, 0);
    m_pDoc->m_imagePalette.m_colours[0] = PaletteEntry{0, 1, 2, 1};
    m_pDoc->m_colourCount = 256;
    Settle();
    Click(Centre(2, 3));
    ASSERT_EQ(1u, g_messageBoxes.size());
    EXPECT_EQ(GetLangText(TXT_MSG_IMAGE_PALETTE_FULL), g_messageBoxes[0]);
    EXPECT_EQ(TestCellColour(20, 2, 3), Get(2, 3).colour[0]);
    EXPECT_EQ(256, m_pDoc->m_colourCount);
}

TEST_F(ToolWindow, AClickBesideTheMosaicDoesNothing)
{
    Load(5, 4, PavingSquares, 24);
    PressImageColour(9);
    m_pDoc->m_brushTool = 1;
    Click(CPoint(300, 300));
    EXPECT_FALSE(m_pDoc->m_undoPending);
    EXPECT_EQ(NULL, ::GetCapture());
    for (int r = 0; r < 4; r++)
        for (int c = 0; c < 5; c++)
            EXPECT_EQ(TestCellColour(5, c, r), Get(c, r).colour[0]);
}

// ---- Brush --------------------------------------------------------------------------------------

TEST_F(ToolWindow, BrushPaintsTheNeighboursOfEachTileItIsDraggedOver)
{
    for (int type : kPatterns)
    {
        SCOPED_TRACE(type);
        Load(14, 12, type, 24);
        PressImageColour(9);
        m_pDoc->m_brushTool = 1;
        const CPoint start = Centre(3, 5);
        const CPoint end = Centre(8, 5);
        Down(start);
        EXPECT_EQ(m_pView->m_hWnd, ::GetCapture());
        for (int i = 1; i <= 10; i++)
            Move(CPoint(start.x + (end.x - start.x) * i / 10, start.y));
        Up(end);
        EXPECT_EQ(NULL, ::GetCapture());

        for (int c = 2; c <= 9; c++)
            for (int r = 4; r <= 6; r++)
                EXPECT_EQ(9, Get(c, r).colour[0]) << c << "," << r;
        EXPECT_NE(9, Get(1, 5).colour[0]);
        EXPECT_NE(9, Get(5, 3).colour[0]);
        EXPECT_NE(9, Get(10, 5).colour[0]);
        EXPECT_EQ(GetLangText(TXT_UNDO_BRUSH), UndoText());
        EXPECT_TRUE(m_pDoc->m_undoPending);

        m_pDoc->OnEditUndo();
        EXPECT_EQ(TestCellColour(14, 5, 5), Get(5, 5).colour[0]);
        m_pDoc->m_brushTool = 0;
    }
}

// A stroke that paints over every tile of a colour closes the gap in the image palette, and
// undo gives back the colours with the cells.
TEST_F(ToolWindow, BrushThatCoversAColourCompactsThePalette)
{
    Load(6, 5, PavingSquares, 24);
    const COLORREF covered = Rgb(Get(2, 2).colour[0]);
    const COLORREF last = Rgb(Get(5, 4).colour[0]);
    PressImageColour(1);
    m_pDoc->m_brushTool = 1;
    Click(Centre(2, 2));
    // Nine colours painted over, and those no tile had.
    EXPECT_EQ(30 - 9, m_pDoc->m_colourCount);
    for (int r = 0; r < 5; r++)
        for (int c = 0; c < 6; c++)
            EXPECT_NE(covered, Rgb(Get(c, r).colour[0]));
    EXPECT_EQ(last, Rgb(Get(5, 4).colour[0]));
    m_pDoc->OnEditUndo();
    EXPECT_EQ(covered, Rgb(Get(2, 2).colour[0]));
    EXPECT_EQ(last, Rgb(Get(5, 4).colour[0]));
}

// ---- Cuts, shades and turns ---------------------------------------------------------------------

TEST_F(ToolWindow, CutToolsCutThePartUnderThePointer)
{
    Load(12, 10, PavingSquares, 24);
    PressImageColour(9);
    const CPoint tile(4 * 24, 3 * 24);
    struct
    {
        int* flag;
        int mode;
        CPoint at;
        int kind;
        int part;
    } cases[] = {
        {&m_pDoc->m_halfTool, 1, CPoint(4, 4), 1, 1},
        {&m_pDoc->m_halfTool, 1, CPoint(20, 20), 1, 0},
        {&m_pDoc->m_halfTool, 1, CPoint(20, 4), 2, 0},
        {&m_pDoc->m_diagHalfTool, 3, CPoint(12, 2), 3, 0},
        {&m_pDoc->m_quarterTool, 5, CPoint(20, 4), 5, 3},
        {&m_pDoc->m_quarterTool, 5, CPoint(4, 20), 5, 0},
        {&m_pDoc->m_diagQuarterTool, 6, CPoint(12, 21), 6, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode);
        Load(12, 10, PavingSquares, 24);
        *c.flag = 1;
        m_pDoc->m_partToolActive = 1;
        m_pDoc->m_cutKind = c.mode;
        Click(tile + c.at);
        const Cell cell = Get(4, 3);
        EXPECT_EQ(c.kind, cell.kind);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(i == c.part ? 9 : TestCellColour(12, 4, 3), cell.colour[i]) << i;
        EXPECT_EQ(GetLangText(CutUndoText(c.mode)), UndoText());
        EXPECT_TRUE(m_pDoc->m_coloursPending);
        *c.flag = 0;
    }
}

TEST_F(ToolWindow, CutsAtTheEdgeOfShiftedPatternsFollowTheEdge)
{
    for (int type : {PavingDiamonds, PavingHexagons})
    {
        SCOPED_TRACE(type);
        Load(12, 10, type, 24);
        PressImageColour(9);
        m_pDoc->m_quarterTool = 1;
        m_pDoc->m_partToolActive = 1;
        m_pDoc->m_cutKind = 5;
        // The last column of an even row shows its left half.
        Click(Centre(11, 4));
        Cell cell = Get(11, 4);
        EXPECT_EQ(4, cell.kind);
        EXPECT_EQ(9, cell.colour[0]);
        EXPECT_EQ(9, cell.colour[1]);
        // Inside, a quarter.
        Click(Centre(5, 4));
        cell = Get(5, 4);
        EXPECT_EQ(5, cell.kind);
        m_pDoc->m_quarterTool = 0;
    }
}

TEST_F(ToolWindow, ArrowKeysShadeTheClickedTileAndKeepIt)
{
    Load(12, 10, PavingSquares, 24);
    m_pDoc->m_tilePalette.m_paletteKind = 1;
    m_pDoc->m_partToolActive = 1;
    Click(Centre(3, 3));
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_LEFT);
    const Cell cell = Get(3, 3);
    for (int v : cell.variant)
        EXPECT_EQ(1 + 4 * 2, v);
    // No edit was pending: the committed map has it too, so neither undo nor the next edit
    // drops it.
    EXPECT_EQ(1 + 4 * 2, Get(3, 3, TRUE).variant[0]);
    EXPECT_TRUE(m_pDoc->m_dirty);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(1 + 4 * 24, Get(3, 3).variant[2]);
}

TEST_F(ToolWindow, TurningAFreshCutBelongsToItsUndo)
{
    for (int type : kPatterns)
    {
        SCOPED_TRACE(type);
        Load(12, 10, type, 24);
        PressImageColour(9);
        m_pDoc->m_halfTool = 1;
        m_pDoc->m_partToolActive = 1;
        m_pDoc->m_cutKind = 1;
        Click(Centre(5, 5));
        const Cell cut = Get(5, 5);
        ASSERT_TRUE(cut.kind == 1 || cut.kind == 2);
        Key(VK_LEFT);
        Cell turned = Get(5, 5);
        EXPECT_EQ(3 - cut.kind, turned.kind);
        Key(VK_RIGHT);
        turned = Get(5, 5);
        EXPECT_EQ(cut.kind, turned.kind);
        EXPECT_EQ(cut.colour[0], turned.colour[0]);
        EXPECT_EQ(cut.colour[1], turned.colour[1]);
        Key(VK_LEFT);
        m_pDoc->OnEditUndo();
        EXPECT_EQ(0, Get(5, 5).kind);
        EXPECT_EQ(TestCellColour(12, 5, 5), Get(5, 5).colour[1]);
        m_pDoc->m_halfTool = 0;
    }
}

// ---- Selection ----------------------------------------------------------------------------------

TEST_F(ToolWindow, SelectionIsDrawnOnWholeTilesAndMovedByTheArrowKeys)
{
    Load(40, 30, PavingSquares, 20);
    m_pDoc->m_selectTool = 1;
    CShape* pSelection = m_pDoc->m_selection;
    const int* copy = m_pDoc->m_copyRect;

    Down(CPoint(45, 45));
    Move(CPoint(80, 70));
    Move(CPoint(105, 85));
    Up(CPoint(105, 85));
    EXPECT_EQ(CRect(40, 40, 121, 101), pSelection->m_rect);
    const int drawn[8] = {2, 2, 5, 4, 2, 2, 5, 4};
    EXPECT_EQ(0, memcmp(drawn, copy, sizeof(drawn)));

    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(CRect(60, 60, 141, 121), pSelection->m_rect);
    const int moved[8] = {3, 3, 6, 5, 2, 2, 5, 4};
    EXPECT_EQ(0, memcmp(moved, copy, sizeof(moved)));

    // Grabbed inside and dragged two tiles right, one down: the block to paste follows.
    Down(CPoint(100, 90));
    Move(CPoint(120, 95));
    Move(CPoint(140, 110));
    Up(CPoint(140, 110));
    EXPECT_EQ(CRect(100, 80, 181, 141), pSelection->m_rect);
    const int dragged[8] = {5, 4, 8, 6, 2, 2, 5, 4};
    EXPECT_EQ(0, memcmp(dragged, copy, sizeof(dragged)));

    // A click outside starts a new one, drawn up and to the left.
    m_pDoc->m_copyValid = 1;
    Down(CPoint(305, 305));
    EXPECT_EQ(0, m_pDoc->m_copyValid);
    Move(CPoint(250, 260));
    Move(CPoint(245, 245));
    Up(CPoint(245, 245));
    EXPECT_EQ(CRect(240, 240, 321, 321), pSelection->m_rect);
    const int upLeft[8] = {12, 12, 15, 15, 12, 12, 15, 15};
    EXPECT_EQ(0, memcmp(upLeft, copy, sizeof(upLeft)));

    // A handle held without moving changes nothing; dragged, it moves its corner only.
    pSelection->ComputeHandles();
    const CPoint handle = pSelection->GetHandleRect(CShape::HandleBottomRight).CenterPoint();
    Down(handle);
    Up(handle);
    EXPECT_EQ(0, memcmp(upLeft, copy, sizeof(upLeft)));
    EXPECT_EQ(CRect(240, 240, 321, 321), pSelection->m_rect);
    Down(handle);
    Move(CPoint(handle.x + 40, handle.y + 20));
    Up(CPoint(handle.x + 40, handle.y + 20));
    const int grown[8] = {12, 12, 18, 17, 12, 12, 18, 17};
    EXPECT_EQ(0, memcmp(grown, copy, sizeof(grown)));
    pSelection->ComputeHandles();
    const CPoint corner = pSelection->GetHandleRect(CShape::HandleTopLeft).CenterPoint();
    Down(corner);
    Move(CPoint(corner.x + 20, corner.y + 40));
    Up(CPoint(corner.x + 20, corner.y + 40));
    const int shrunk[8] = {13, 13, 18, 17, 13, 13, 18, 17};
    EXPECT_EQ(0, memcmp(shrunk, copy, sizeof(shrunk)));
}

TEST_F(ToolWindow, SelectionMovedByKeysStaysInsideTheMosaic)
{
    Load(10, 8, PavingSquares, 20);
    m_pDoc->m_selectTool = 1;
    Down(CPoint(125, 105));
    Move(CPoint(185, 145));
    Up(CPoint(185, 145));
    const int drawn[8] = {6, 5, 9, 7, 6, 5, 9, 7};
    ASSERT_EQ(0, memcmp(drawn, m_pDoc->m_copyRect, sizeof(drawn)));
    const CRect rect = m_pDoc->m_selection->m_rect;
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(0, memcmp(drawn, m_pDoc->m_copyRect, sizeof(drawn)));
    EXPECT_EQ(rect, m_pDoc->m_selection->m_rect);
    for (int i = 0; i < 8; i++)
        Key(VK_LEFT);
    EXPECT_EQ(0, m_pDoc->m_copyRect[0]);
    EXPECT_EQ(3, m_pDoc->m_copyRect[2]);
    EXPECT_EQ(0, m_pDoc->m_selection->m_rect.left);
}

TEST_F(ToolWindow, DraggingAHandlePastTheWindowScrollsTheMosaic)
{
    Load(100, 80, PavingSquares, 20);
    m_pDoc->m_selectTool = 1;
    Down(CPoint(405, 105));
    Move(CPoint(445, 145));
    Up(CPoint(445, 145));
    CShape* pSelection = m_pDoc->m_selection;
    pSelection->ComputeHandles();
    const CPoint handle = pSelection->GetHandleRect(CShape::HandleRight).CenterPoint();
    CRect client;
    m_pView->GetClientRect(&client);
    Down(handle);
    for (int i = 0; i < 3; i++)
        Move(CPoint(client.right - 1, handle.y));
    Up(CPoint(client.right - 1, handle.y));
    EXPECT_EQ(3, m_pView->GetOriginCol());
    EXPECT_EQ(0, m_pView->GetOriginRow());
    // The block runs from where it started to the tile at the window's edge.
    EXPECT_EQ(20, m_pDoc->m_copyRect[0]);
    // Each line scrolled takes the dragged edge a tile back from the window's edge.
    EXPECT_EQ(3 + (client.right - 1 - 20) / 20, m_pDoc->m_copyRect[2]);
    EXPECT_EQ(7, m_pDoc->m_copyRect[3]);
}

TEST_F(ToolWindow, RightClickOnTheSelectionOpensTheEditMenu)
{
    Load(20, 15, PavingSquares, 20);
    m_pDoc->m_selectTool = 1;
    Down(CPoint(45, 45));
    Move(CPoint(105, 85));
    Up(CPoint(105, 85));
    const struct
    {
        CPoint at;
        int select;
        bool shown;
    } cases[] = {
        {CPoint(65, 65), 1, true},
        {CPoint(150, 65), 1, false},
        {CPoint(65, 65), 0, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.at.x << " " << c.select);
        m_pDoc->m_selectTool = c.select;
        g_trackedMenu = NULL;
        g_trackedUndo = false;
        CPoint screen = c.at;
        m_pView->ClientToScreen(&screen);
        const UINT_PTR timer = SetTimer(NULL, 0, 50, EndTrackedMenu);
        m_pView->SendMessage(WM_CONTEXTMENU, (WPARAM)m_pView->m_hWnd,
                             MAKELPARAM(screen.x, screen.y));
        KillTimer(NULL, timer);
        EXPECT_EQ(c.shown, g_trackedMenu != NULL);
        // The Edit menu, with Undo in it.
        EXPECT_EQ(c.shown, g_trackedUndo);
    }
}

// ---- Measuring, colours and reports ------------------------------------------------------------

// Row 1 has a hole in column 8 and column 2 one in row 7: the runs through tile (2, 1) are 8
// tiles across and 7 down, whereas the mirrored row 8 is whole.
TEST_F(ToolWindow, MeasuringCountsTheRunThroughTheClickedTile)
{
    for (int type : {PavingSquares, PavingHexagons})
    {
        SCOPED_TRACE(type);
        Load(12, 10, type, 24);
        Set(8, 1, ShapeHole, 0, 0);
        Set(2, 7, ShapeHole, 0, 0);
        Settle();
        m_pDoc->m_measureHTool = 1;
        Click(Centre(2, 1));
        EXPECT_EQ(MeasureText(GetLangText(TXT_WIDTH), RunLength(type, 2660, 8, TRUE, 0), L"m"),
                  g_messageLine);
        m_pDoc->m_measureHTool = 0;
        m_pDoc->m_measureVTool = 1;
        Click(Centre(2, 1));
        EXPECT_EQ(MeasureText(GetLangText(TXT_HEIGHT), RunLength(type, 2660, 7, FALSE, 0), L"m"),
                  g_messageLine);
        m_pDoc->m_measureVTool = 0;
    }
}

TEST_F(ToolWindow, ReplaceColourRecoloursEveryTileOfTheClickedColour)
{
    Load(12, 10, PavingSquares, 24);
    Set(7, 7, 0, 0, TestCellColour(12, 1, 1));
    Settle();
    const COLORREF old = Rgb(TestCellColour(12, 1, 1));
    const COLORREF chosen = Rgb(20);
    PressImageColour(20);
    g_imageBar.m_nPage = 0;
    m_pDoc->m_replaceTool = 1;
    // Tile (1, 1), whose colour tile (7, 7) shares.
    Click(CPoint(36, 36));
    EXPECT_EQ(chosen, Rgb(Get(1, 1).colour[0]));
    EXPECT_EQ(chosen, Rgb(Get(7, 7).colour[0]));
    for (int r = 0; r < 10; r++)
        for (int c = 0; c < 12; c++)
            EXPECT_NE(old, Rgb(Get(c, r).colour[0]));
    EXPECT_EQ(GetLangText(TXT_UNDO_REPLACE_COLOUR), UndoText());
    // The colour stays pressed where the compacted palette put it.
    int nPressed = -1;
    for (int k = 0; k < 30; k++)
        if (g_imageBar.m_pressed[k])
            nPressed = g_imageBar.m_nPage * 30 + k;
    EXPECT_EQ(chosen, Rgb(nPressed));
    m_pDoc->OnEditUndo();
    EXPECT_EQ(old, Rgb(Get(7, 7).colour[0]));
    EXPECT_EQ(old, Rgb(Get(1, 1).colour[0]));
}

TEST_F(ToolWindow, ReplacingAColourByItselfChangesNothingButNamesTheUndo)
{
    Load(12, 10, PavingSquares, 24);
    // Colour 64, on the third page of the image bar.
    const int colour = TestCellColour(12, 3, 5);
    PressImageColour(colour);
    m_pDoc->m_replaceTool = 1;
    Click(Centre(3, 5));
    EXPECT_EQ(colour, Get(3, 5).colour[0]);
    EXPECT_EQ(251, m_pDoc->m_colourCount);
    EXPECT_EQ(GetLangText(TXT_UNDO_REPLACE_COLOUR), UndoText());
    EXPECT_EQ(0, g_imageBar.m_nPage);
}

TEST_F(ToolWindow, CellToolRemovesTheClickedRegionAndReportsTheTile)
{
    Load(12, 10, PavingSquares, 24);
    m_pDoc->m_toggleTool = 1;
    Click(Centre(4, 4));
    EXPECT_EQ(ShapeHole, Get(4, 4).shape);
    EXPECT_EQ(0, Get(5, 4).shape);
    EXPECT_EQ(GetLangText(TXT_UNDO_TOGGLE_CELLS), UndoText());
}

BOOL CancelColourChoice()
{
    return FALSE;
}

// The user cancels the choice of colours: nothing is filled, but the tool has been used.
TEST_F(ToolWindow, MixFillSwitchesItselfOff)
{
    Load(12, 10, PavingSquares, 24);
    CVitrolanDoc::s_uiHooks.pfnSelectColours = CancelColourChoice;
    m_pDoc->m_mixFillTool = 1;
    Click(Centre(4, 4));
    EXPECT_EQ(0, m_pDoc->m_mixFillTool);
    EXPECT_EQ(TestCellColour(12, 4, 4), Get(4, 4).colour[0]);
    EXPECT_EQ(GetLangText(TXT_UNDO_MIX_FILL), UndoText());
    EXPECT_FALSE(g_messageLine.IsEmpty());
}

TEST_F(ToolWindow, AClickWithoutAToolReportsTheTile)
{
    Load(12, 10, PavingHexagons, 24);
    // Colours no other tile has.
    m_pDoc->m_workingMap.SetCell(4, 4, 0, 5, 200, 201, 202, 203, 0, 0, 0, 0);
    m_pDoc->m_imagePalette.m_colourNames[202] = L"Ocean 13";
    Repaint();
    Click(Centre(4, 5));
    const int one[4] = {TestCellColour(12, 4, 5), 0, 0, 0};
    EXPECT_EQ(TileReportText(m_pDoc->m_imagePalette, 0, one), g_messageLine);
    Click(Centre(4, 4));
    const int four[4] = {200, 201, 202, 203};
    EXPECT_EQ(TileReportText(m_pDoc->m_imagePalette, 5, four), g_messageLine);
    EXPECT_NE(-1, g_messageLine.Find(L"Ocean 13"));
}

// ---- Text stamp ---------------------------------------------------------------------------------

TEST_F(ToolWindow, TextStampFrameFollowsThePointerAndTheClickStampsThere)
{
    Load(30, 20, PavingSquares, 20);
    // A picture of 5 x 3 tiles: an L.
    m_pDoc->m_textImage.Create(0, 5, 3);
    for (int y = 0; y < 3; y++)
        m_pDoc->m_textImage.SetByte(0, y, 1);
    m_pDoc->m_textImage.SetByte(1, 2, 1);
    m_pDoc->m_textStampTool = 1;
    PressImageColour(9);
    m_pDoc->m_stampShape->m_handlesShown = 1;

    Move(CPoint(100, 100));
    Move(CPoint(150, 130));
    // Half sizes of 2 and 1 tiles around the pointer.
    EXPECT_EQ(CRect(110, 110, 190, 150), m_pDoc->m_stampShape->m_rect);
    EXPECT_EQ(0, m_pDoc->m_stampShape->m_handlesShown);

    Click(CPoint(150, 130));
    EXPECT_EQ(9, Get(5, 5).colour[0]);
    EXPECT_EQ(9, Get(5, 7).colour[0]);
    EXPECT_EQ(9, Get(6, 7).colour[0]);
    EXPECT_NE(9, Get(6, 6).colour[0]);
    EXPECT_NE(9, Get(7, 5).colour[0]);
    EXPECT_EQ(0, m_pDoc->m_textStampTool);
    EXPECT_EQ(0, g_imageBar.m_pressed[9]);
    EXPECT_EQ(GetLangText(TXT_UNDO_TEXT_STAMP), UndoText());
    m_pDoc->m_textImage.Free();
}

// ---- Every pattern ------------------------------------------------------------------------------

// Places of a mosaic of 8 columns where the pattern's edge shows: column 0 and the last column
// of a shifted and an unshifted row, the four corners, and a tile inside.
struct Place
{
    const char* name;
    int col, row;
};

std::vector<Place> EdgePlaces(int type, int cols, int rows)
{
    const int first = FirstPavingRow(type, rows);
    int shifted = first + 2, unshifted = first + 2;
    while (shifted < rows - 1 && !IsShiftedRow(type, rows, shifted))
        shifted++;
    while (unshifted < rows - 1 && IsShiftedRow(type, rows, unshifted))
        unshifted++;
    return {{"inside", 3, 4},
            {"column 0, shifted row", 0, shifted},
            {"column 0, unshifted row", 0, unshifted},
            {"last column, shifted row", cols - 1, shifted},
            {"top left", 0, first},
            {"top right", cols - 1, first},
            {"bottom left", 0, rows - 1},
            {"bottom right", cols - 1, rows - 1}};
}

const int kRowCounts[] = {9, 10};
const int kNewColour = 250;   // no cell of the test mosaics has it

// Each cut tool, clicked on each edge tile a pattern shows, changes that tile and no other:
// the part the renderer draws under the pointer takes the colour, and no pixel that showed the
// tile shows the background or the area outside the mosaic afterwards.
TEST_F(ToolWindow, CutsOnTheEdgeOfEveryPatternChangeTheTileUnderThePointer)
{
    const struct
    {
        int* flag;
        int mode;
    } tools[] = {{&m_pDoc->m_wholeTool, 0},       {&m_pDoc->m_halfTool, 1},
                 {&m_pDoc->m_diagHalfTool, 3},    {&m_pDoc->m_quarterTool, 5},
                 {&m_pDoc->m_diagQuarterTool, 6}};
    for (int type = 0; type < PavingTypeCount; type++)
        for (int rows : kRowCounts)
        {
            Load(8, rows, type, 24);
            for (const Place& place : EdgePlaces(type, 8, rows))
            {
                const CPoint pt = PointOn(place.col, place.row);
                if (pt.x < 0)
                    continue;   // a place the pattern leaves empty
                for (const auto& tool : tools)
                {
                    SCOPED_TRACE(testing::Message() << "type " << type << ", " << rows
                                                    << " rows, " << place.name << ", mode "
                                                    << tool.mode);
                    Load(8, rows, type, 24);
                    const Cell before = Get(place.col, place.row);
                    const COLORREF old = Rgb(before.colour[0]);
                    const std::vector<COLORREF> screen = Screen();
                    std::vector<Cell> cells;
                    for (int r = 0; r < rows; r++)
                        for (int c = 0; c < 8; c++)
                            cells.push_back(Get(c, r));
                    PressImageColour(kNewColour);
                    *tool.flag = 1;
                    m_pDoc->m_partToolActive = 1;
                    m_pDoc->m_cutKind = tool.mode;
                    Click(pt);
                    *tool.flag = 0;
                    Repaint();

                    const Cell cut = Get(place.col, place.row);
                    const CRect box = BoxOf(place.col, place.row);
                    const int n = m_pDoc->m_tileSize;
                    const int part = TilePartAt(cut.kind, n, pt.x - box.left,
                                                n - 1 - (pt.y - box.top));
                    EXPECT_EQ(kNewColour, cut.colour[part]);
                    EXPECT_TRUE(TilePartLaid(cut.kind, cut.shape, part));
                    EXPECT_EQ(before.shape, cut.shape);
                    for (int r = 0; r < rows; r++)
                        for (int c = 0; c < 8; c++)
                        {
                            const Cell now = Get(c, r);
                            if (c != place.col || r != place.row)
                                ASSERT_EQ(0, memcmp(&cells[r * 8 + c], &now, sizeof(Cell)))
                                    << "cell " << c << "," << r;
                        }
                    const std::vector<COLORREF> after = Screen();
                    const COLORREF joint = TableColour(*m_pDoc, 1);
                    int holes = 0;
                    for (size_t i = 0; i < screen.size(); i++)
                        holes += screen[i] == old && after[i] != old &&
                                 after[i] != Rgb(kNewColour) && after[i] != joint;
                    EXPECT_EQ(0, holes);
                    EXPECT_EQ(Rgb(kNewColour), ScreenImagePixel(*m_pDoc, pt.x, pt.y));
                }
            }
        }
}

// The brush on the edge tiles paints the tile under the pointer and leaves the border as the
// pattern lays it.
TEST_F(ToolWindow, BrushOnTheEdgeOfEveryPatternKeepsTheBorder)
{
    for (int type = 0; type < PavingTypeCount; type++)
        for (int rows : kRowCounts)
        {
            Load(8, rows, type, 24);
            for (const Place& place : EdgePlaces(type, 8, rows))
            {
                SCOPED_TRACE(testing::Message() << "type " << type << ", " << rows << " rows, "
                                                << place.name);
                Load(8, rows, type, 24);
                const CPoint pt = PointOn(place.col, place.row);
                if (pt.x < 0)
                    continue;
                // The colours painted over leave the palette, which then renumbers the rest.
                const COLORREF brush = Rgb(kNewColour);
                PressImageColour(kNewColour);
                m_pDoc->m_brushTool = 1;
                Click(pt);
                m_pDoc->m_brushTool = 0;
                Repaint();
                EXPECT_EQ(brush, Rgb(Get(place.col, place.row).colour[0]));
                EXPECT_EQ(brush, ScreenImagePixel(*m_pDoc, pt.x, pt.y));
                ExpectPatternBorder();
            }
        }
}

// A block drawn with the select tool runs from the tile under the button-down to the tile
// under the release, in any direction, whatever part of their boxes lies off the screen or
// in a neighbour's place; on triangles it takes both rows of each band.
TEST_F(ToolWindow, SelectionOnEveryPatternIsTheTilesFromPressToRelease)
{
    for (int type = 0; type < PavingTypeCount; type++)
        for (int rows : kRowCounts)
        {
            Load(8, rows, type, 24);
            const std::vector<Place> places = EdgePlaces(type, 8, rows);
            const int drags[][2] = {{0, 2}, {1, 0}, {4, 7}, {7, 4}, {3, 6}, {2, 5}, {5, 3}};
            for (const auto& drag : drags)
            {
                const Place& from = places[drag[0]];
                const Place& to = places[drag[1]];
                SCOPED_TRACE(testing::Message() << "type " << type << ", " << rows << " rows, "
                                                << from.name << " to " << to.name);
                Load(8, rows, type, 24);
                const CPoint ptFrom = PointOn(from.col, from.row);
                const CPoint ptTo = PointOn(to.col, to.row);
                if (ptFrom.x < 0 || ptTo.x < 0)
                    continue;
                m_pDoc->m_selectTool = 1;
                Drag(ptFrom, ptTo);
                m_pDoc->m_selectTool = 0;
                TileBlock expected = {std::min(from.col, to.col), std::min(from.row, to.row),
                                      std::max(from.col, to.col), std::max(from.row, to.row)};
                if (type == PavingTriangles)
                {
                    if (!TrianglePointsUp(rows, expected.firstRow))
                        expected.firstRow--;
                    if (TrianglePointsUp(rows, expected.lastRow))
                        expected.lastRow++;
                }
                const int* copy = m_pDoc->m_copyRect;
                const int block[8] = {expected.firstCol, expected.firstRow, expected.lastCol,
                                      expected.lastRow, expected.firstCol, expected.firstRow,
                                      expected.lastCol, expected.lastRow};
                EXPECT_EQ(0, memcmp(block, copy, sizeof(block)))
                    << copy[0] << "," << copy[1] << " - " << copy[2] << "," << copy[3];
                // The frame shows both tiles the user pointed at.
                const CRect frame = m_pDoc->m_selection->m_rect;
                EXPECT_TRUE(frame.PtInRect(ptFrom));
                EXPECT_TRUE(frame.PtInRect(ptTo));
            }
        }
}

// A block at the border copied, moved by the arrow keys and pasted inside, then mirrored:
// the cells go where the block is, and every cell keeps the kind and shape code of its place.
TEST_F(ToolWindow, CopyPasteAndMirrorOnEveryPatternKeepTheBorder)
{
    for (int type = 0; type < PavingTypeCount; type++)
        for (int rows : kRowCounts)
        {
            SCOPED_TRACE(testing::Message() << "type " << type << ", " << rows << " rows");
            Load(8, rows, type, 24);
            const int first = FirstPavingRow(type, rows);
            m_pDoc->m_selectTool = 1;
            Drag(PointOn(0, first), PointOn(2, first + 1));
            const TileBlock drawn = SelectedBlock();
            ASSERT_EQ(0, drawn.firstCol);
            ASSERT_EQ(first, drawn.firstRow);
            ASSERT_EQ(2, drawn.lastCol);
            ASSERT_EQ(first + 1, drawn.lastRow);
            std::vector<int> colours;
            for (int r = drawn.firstRow; r <= drawn.lastRow; r++)
                for (int c = drawn.firstCol; c <= drawn.lastCol; c++)
                    colours.push_back(Get(c, r).colour[0]);
            Command(ID_EDIT_COPY);
            ASSERT_EQ(1, m_pDoc->m_copyValid);
            // Three columns right, one step down: a band of two rows on triangles.
            for (UINT key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN})
                Key(key);
            const int down = type == PavingTriangles ? 2 : 1;
            const TileBlock moved = SelectedBlock();
            EXPECT_EQ(3, moved.firstCol);
            EXPECT_EQ(first + down, moved.firstRow);
            EXPECT_EQ(5, moved.lastCol);
            EXPECT_EQ(first + down + 1, moved.lastRow);
            Command(ID_EDIT_PASTE);
            size_t i = 0;
            for (int r = moved.firstRow; r <= moved.lastRow; r++)
                for (int c = moved.firstCol; c <= moved.lastCol; c++)
                    EXPECT_EQ(colours[i++], Get(c, r).colour[0]) << "cell " << c << "," << r;
            ExpectPatternBorder();

            // Back to the border by the keys, and mirrored there.
            for (UINT key : {VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_UP})
                Key(key);
            const TileBlock back = SelectedBlock();
            EXPECT_EQ(0, back.firstCol);
            EXPECT_EQ(first, back.firstRow);
            const int left = Get(0, first + 1).colour[0];
            const int right = Get(2, first + 1).colour[0];
            Command(ID_MIRROR_HORIZONTAL);
            EXPECT_EQ(right, Get(0, first + 1).colour[0]);
            EXPECT_EQ(left, Get(2, first + 1).colour[0]);
            ExpectPatternBorder();
            Command(ID_MIRROR_VERTICAL);
            ExpectPatternBorder();
            m_pDoc->m_selectTool = 0;
        }
}

// Copy takes the block where the selection is at that moment, not where it was drawn.
TEST_F(ToolWindow, CopyTakesTheSelectionWhereItWasMoved)
{
    Load(12, 10, PavingHexagons, 24);
    m_pDoc->m_selectTool = 1;
    Drag(PointOn(1, 2), PointOn(2, 3));
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    const int source = Get(3, 2).colour[0];
    Command(ID_EDIT_COPY);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(source, Get(3, 5).colour[0]);
    EXPECT_EQ(Get(4, 3).colour[0], Get(4, 6).colour[0]);
}

// A selection whose frame starts off the screen, at column 0 of a shifted row or scrolled
// away, still gives its block.
TEST_F(ToolWindow, ASelectionPartlyOffTheScreenKeepsItsBlock)
{
    Load(16, 15, PavingHexagons, 60);
    m_pDoc->m_selectTool = 1;
    // Row 1 of 15 is shifted: the box of column 0 starts half a tile left of the window.
    ASSERT_TRUE(IsShiftedRow(PavingHexagons, 15, 1));
    ASSERT_LT(BoxOf(0, 1).left, 0);
    Drag(PointOn(0, 1), PointOn(3, 3));
    EXPECT_EQ(0, m_pDoc->m_copyRect[0]);
    EXPECT_EQ(1, m_pDoc->m_copyRect[1]);
    EXPECT_EQ(3, m_pDoc->m_copyRect[2]);
    EXPECT_EQ(3, m_pDoc->m_copyRect[3]);
    // Scrolled so that the frame's top left lies above and left of the window: the block
    // stays, and the frame stays on it.
    m_pView->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    Repaint();
    ASSERT_EQ(2, m_pView->GetOriginCol());
    ASSERT_EQ(2, m_pView->GetOriginRow());
    const CRect frame = m_pDoc->m_selection->m_rect;
    EXPECT_LT(frame.left, 0);
    EXPECT_LT(frame.top, 0);
    EXPECT_TRUE(frame.PtInRect(PointOn(3, 3)));
    Key(VK_RIGHT);
    Repaint();
    EXPECT_EQ(1, m_pDoc->m_copyRect[0]);
    EXPECT_EQ(4, m_pDoc->m_copyRect[2]);
    EXPECT_TRUE(m_pDoc->m_selection->m_rect.PtInRect(PointOn(4, 3)));
}

// ---- Paint --------------------------------------------------------------------------------------

// After a brush click the paint renders only the area the brush changed; the window and the
// screen picture then hold what a paint of the whole window gives, in every pattern and
// scrolled.
TEST_F(ToolWindow, APaintOfPartOfTheWindowGivesTheSamePixelsAsAWholePaint)
{
    for (int type = 0; type < PavingTypeCount; type++)
    {
        SCOPED_TRACE(type);
        Load(60, 50, type, 20);
        m_pView->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
        m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
        Repaint();
        CRect client;
        m_pView->GetClientRect(&client);
        // A mark where the brush does not reach: a paint of the whole window would take it off.
        BYTE* mark = m_pDoc->m_screenImage.data +
                     3 * ((size_t)(client.bottom - 2) * m_pDoc->m_screenImage.width +
                          client.right - 2);
        const BYTE kept[3] = {mark[0], mark[1], mark[2]};
        mark[0] = 1, mark[1] = 2, mark[2] = 3;
        PressImageColour(9);
        m_pDoc->m_brushTool = 1;
        int nBefore = 0;
        for (int r = 0; r < 50; r++)
            for (int c = 0; c < 60; c++)
                nBefore += Get(c, r).colour[0] == 9;
        Click(CPoint(190, 210));
        Click(CPoint(400, 300));
        m_pView->UpdateWindow();
        GdiFlush();
        EXPECT_EQ(1, mark[0]);
        EXPECT_EQ(3, mark[2]);
        mark[0] = kept[0], mark[1] = kept[1], mark[2] = kept[2];
        std::vector<COLORREF> partial;
        {
            CClientDC dc(m_pView);
            for (int y = 0; y < client.Height(); y += 2)
                for (int x = 0; x < client.Width(); x += 2)
                    partial.push_back(dc.GetPixel(x, y));
        }
        const CRasterImage& image = m_pDoc->m_screenImage;
        std::vector<BYTE> before(image.data, image.data + 3 * (size_t)image.width * image.height);

        Repaint();
        GdiFlush();
        int nWindow = 0, nPicture = 0;
        {
            CClientDC dc(m_pView);
            size_t i = 0;
            for (int y = 0; y < client.Height(); y += 2)
                for (int x = 0; x < client.Width(); x += 2)
                    nWindow += partial[i++] != dc.GetPixel(x, y);
        }
        for (int y = 0; y < client.Height(); y++)
            nPicture += memcmp(&before[3 * (size_t)y * image.width],
                               image.data + 3 * (size_t)y * image.width,
                               3 * (size_t)client.Width()) != 0;
        EXPECT_EQ(0, nWindow);
        EXPECT_EQ(0, nPicture);
        // The brush did paint.
        int nAfter = 0;
        for (int r = 0; r < 50; r++)
            for (int c = 0; c < 60; c++)
                nAfter += Get(c, r).colour[0] == 9;
        EXPECT_GE(nAfter, nBefore + 10);
        m_pDoc->m_brushTool = 0;
        m_pDoc->m_undoPending = 0;
    }
}

} // namespace
