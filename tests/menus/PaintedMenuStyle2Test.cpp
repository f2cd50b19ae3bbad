// The program's menu look read back pixel by pixel: items drawn into a bitmap under pinned
// display facts, so that every expected colour follows from the colour rules.
#include "MosaicTest.h"

#include <memory>

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedMenu.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuCanvas.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include "resource.h"

namespace
{

const UINT kChecked = 1101;
const COLORREF kKey = RGB(1, 2, 3);

// Facts of a true-colour display without visual style or flat menus, so that the popup's
// colour is the button face and the text area and icon column differ.
MenuDisplayFacts PlainFacts()
{
    MenuDisplayFacts facts = {64000, FALSE, FALSE, FALSE, TRUE, 7};
    return facts;
}

class PaintedMenuStyle2Test : public testing::Test
{
protected:
    void SetUp() override
    {
        m_facts = PlainFacts();
        PinMenuDisplayFacts(&m_facts);
        HMENU hBar = CreateMenu();
        HMENU hPopup = CreatePopupMenu();
        AppendMenuW(hPopup, MF_STRING, ID_FILE_SAVE, L"&Save\tCtrl+S");
        AppendMenuW(hPopup, MF_SEPARATOR, 0, NULL);
        AppendMenuW(hPopup, MF_STRING | MF_CHECKED, kChecked, L"&Checked");
        AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hPopup, L"&File");
        ASSERT_TRUE(m_bar.LoadMenu(hBar));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MENU_ICONS));
        m_pPopup = CPaintedMenu::FromHandleOwned(hPopup);
        ASSERT_NE((CPaintedMenu*)NULL, m_pPopup);
        m_pPopup->m_hAccel = NULL;
        CPaintedMenu::OnInitMenuPopup(NULL, m_pPopup, 0, FALSE);
        m_bar.m_nOpenPopups = 0;
    }
    void TearDown() override { PinMenuDisplayFacts(NULL); }

    CSize Measure(CPaintedMenu* pMenu, int nPosition, BOOL bMenuBar)
    {
        MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 0, 0, 0,
                                     (ULONG_PTR)pMenu->GetItemData(nPosition)};
        measure.itemID = pMenu->GetItemData(nPosition)->m_nID;
        pMenu->MeasureMenuItemStyle2(&measure, bMenuBar);
        return CSize((int)measure.itemWidth, (int)measure.itemHeight);
    }
    void Draw(CPaintedMenu* pMenu, int nPosition, UINT nState, HDC hDC, const RECT& rect,
              BOOL bMenuBar)
    {
        CPaintedMenuItemData* pData = pMenu->GetItemData(nPosition);
        DRAWITEMSTRUCT item = {ODT_MENU, 0, pData->m_nID, ODA_DRAWENTIRE, nState,
                               (HWND)pMenu->GetSafeHmenu(), hDC, rect, (ULONG_PTR)pData};
        pMenu->DrawMenuItemStyle2(&item, bMenuBar);
    }
    // The colours the rules give for the popup.
    COLORREF Menu() const { return GetMenuBarColour(m_pPopup->GetSafeHmenu()); }
    COLORREF TextArea() const { return MixColours14(GetSysColor(COLOR_WINDOW), Menu()); }
    COLORREF Column() const { return MixColours14(Menu(), GetSysColor(COLOR_WINDOW)); }
    int ColumnWidth() const { return m_pPopup->m_nIconX + 8; }

    MenuDisplayFacts m_facts;
    CPaintedMenu m_bar;
    CPaintedMenu* m_pPopup = NULL;
};

// Image nImage of the item's store drawn alone on the key colour.
std::unique_ptr<CPaintedMenuCanvas> Reference(CPaintedMenuItemData* pData, int nImage)
{
    const CSize size = pData->m_pIcons->GetIconSize();
    std::unique_ptr<CPaintedMenuCanvas> pCanvas(new CPaintedMenuCanvas(size.cx, size.cy));
    ImageList_Draw(pData->m_pIcons->m_imageList.GetSafeHandle(), nImage, pCanvas->m_hDC, 0, 0,
                   ILD_TRANSPARENT);
    return pCanvas;
}

}   // namespace

TEST_F(PaintedMenuStyle2Test, PopupItemsAreMeasuredFromTheirTextIconAndMenuHeight)
{
    const int nMenuHeight = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(CSize(3, 3), Measure(m_pPopup, 1, FALSE));

    // A plain item takes half the menu height on top of icon and text.
    LOGFONTW logFont;
    GetPaintedMenuLogFont(logFont, FALSE);
    HDC hScreen = GetDC(NULL);
    HFONT hFont = CreateFontIndirectW(&logFont);
    HGDIOBJ hOld = SelectObject(hScreen, hFont);
    SIZE text = {}, file = {};
    GetTextExtentPoint32W(hScreen, L"&Save", 5, &text);
    GetTextExtentPoint32W(hScreen, L"&File", 5, &file);
    SelectObject(hScreen, hOld);
    DeleteObject(hFont);
    ReleaseDC(NULL, hScreen);
    const CSize save = Measure(m_pPopup, 0, FALSE);
    EXPECT_EQ(nMenuHeight / 2 + m_pPopup->m_nIconX + (int)text.cx + 6, save.cx);
    const int nIconY = m_pPopup->m_nIconY;
    EXPECT_EQ(std::max<int>(nIconY + 8 < nMenuHeight ? nMenuHeight : nIconY + 7, text.cy), save.cy);

    // A bar item: the "&" is not shown; at least the menu height.
    const CSize file2 = Measure(&m_bar, 0, TRUE);
    EXPECT_EQ((int)file.cx - 6, file2.cx);
    EXPECT_EQ(std::max(m_bar.m_nIconY + 2, nMenuHeight), file2.cy);

    // The tab of an accelerator text counts as "nnn".
    ACCEL entry = {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE};
    m_pPopup->m_hAccel = CreateAcceleratorTableW(&entry, 1);
    CString strDisplay;
    m_pPopup->GetItemData(0)->GetShortCutText(strDisplay, m_pPopup->m_hAccel);
    strDisplay.Replace(L"\t", L"nnn");
    hScreen = GetDC(NULL);
    hFont = CreateFontIndirectW(&logFont);
    hOld = SelectObject(hScreen, hFont);
    SIZE accel = {};
    GetTextExtentPoint32W(hScreen, strDisplay, strDisplay.GetLength(), &accel);
    SelectObject(hScreen, hOld);
    DeleteObject(hFont);
    ReleaseDC(NULL, hScreen);
    EXPECT_GT(accel.cx, text.cx + 20);
    EXPECT_EQ(nMenuHeight / 2 + m_pPopup->m_nIconX + (int)accel.cx + 6, Measure(m_pPopup, 0, FALSE).cx);
    DestroyAcceleratorTable(m_pPopup->m_hAccel);
    m_pPopup->m_hAccel = NULL;

    // A system command (renumbered while its menu is open) is as wide as the next command
    // and as high as a menu line.
    m_pPopup->InsertMenu(0, MF_BYPOSITION | MF_STRING, SC_CLOSE, L"C");
    CPaintedMenu::OnInitMenuPopup(NULL, m_pPopup, 0, FALSE);
    CPaintedMenuItemData* pClose = NULL;
    for (int i = 0; i < m_pPopup->GetItemDataCount(); i++)
        if ((m_pPopup->GetItemData(i)->m_nID & ~0xFu) == SC_CLOSE)
            pClose = m_pPopup->GetItemData(i);
    ASSERT_NE((CPaintedMenuItemData*)NULL, pClose);
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, pClose->m_nID, 0, 0, (ULONG_PTR)pClose};
    m_pPopup->MeasureMenuItemStyle2(&measure, FALSE);
    EXPECT_GE((int)measure.itemWidth, save.cx);
    EXPECT_EQ(nMenuHeight, (int)measure.itemHeight);
}

TEST_F(PaintedMenuStyle2Test, SelectedIconItemHasAFramedBoxAndALiftedIconWithItsShadow)
{
    const CSize size = Measure(m_pPopup, 0, FALSE);
    CPaintedMenuCanvas canvas(size.cx, size.cy);
    const RECT rect = {0, 0, size.cx, size.cy};
    Draw(m_pPopup, 0, ODS_SELECTED, canvas.m_hDC, rect, FALSE);

    const COLORREF crFrame = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF crFill = GetMenuHighlightColour();
    EXPECT_EQ(MixColours14(GetSysColor(COLOR_WINDOW), crFrame), crFill);   // light highlight
    for (POINT pt : {POINT{0, size.cy / 2}, POINT{size.cx - 1, size.cy / 2},
                     POINT{size.cx / 2, 0}, POINT{size.cx / 2, size.cy - 1}})
        EXPECT_EQ(crFrame, canvas.At(pt.x, pt.y)) << pt.x << "," << pt.y;
    EXPECT_EQ(crFill, canvas.At(size.cx - 2, 1));
    EXPECT_EQ(crFill, canvas.At(1, size.cy - 2));

    // Every pixel around the icon: the normal image one pixel up and left, its silhouette in
    // the shadow colour one pixel down and right, the fill elsewhere.
    CPaintedMenuItemData* pData = m_pPopup->GetItemData(0);
    std::unique_ptr<CPaintedMenuCanvas> pNormal = Reference(pData, pData->m_nImage);
    const CSize icon = pData->m_pIcons->GetIconSize();
    const int x = 3, y = (size.cy - icon.cy) / 2;
    const COLORREF crShadow = MenuIconShadowColour(crFill);
    int nShadow = 0;
    for (int py = y - 1; py < y + icon.cy + 1; py++)
        for (int px = x - 1; px < x + icon.cx + 1; px++)
        {
            auto inIcon = [&](int ix, int iy)
            { return ix >= 0 && iy >= 0 && ix < icon.cx && iy < icon.cy && pNormal->At(ix, iy) != kKey; };
            COLORREF crExpected = crFill;
            if (inIcon(px - x + 1, py - y + 1))
                crExpected = pNormal->At(px - x + 1, py - y + 1);
            else if (inIcon(px - x - 1, py - y - 1))
                crExpected = crShadow, nShadow++;
            ASSERT_EQ(crExpected, canvas.At(px, py)) << px << "," << py;
        }
    EXPECT_GT(nShadow, 4);
    // The text is written in the menu text colour after the icon column.
    const RECT textArea = {ColumnWidth() + 4, 0, size.cx - 15, size.cy};
    EXPECT_GT(canvas.Count(textArea, [](COLORREF cr) { return cr == GetSysColor(COLOR_MENUTEXT); }), 10);
}

TEST_F(PaintedMenuStyle2Test, UnselectedAndDisabledIconsUseTheirVariantsOnTheTwoAreas)
{
    const CSize size = Measure(m_pPopup, 0, FALSE);
    CPaintedMenuItemData* pData = m_pPopup->GetItemData(0);
    const CSize icon = pData->m_pIcons->GetIconSize();
    const int x = 3, y = (size.cy - icon.cy) / 2;
    struct
    {
        UINT nState;
        int nVariant;
        int nTextColour;
    } cases[] = {{0, 1, COLOR_MENUTEXT}, {ODS_DISABLED | ODS_GRAYED, 2, COLOR_GRAYTEXT}};
    for (const auto& c : cases)
    {
        CPaintedMenuCanvas canvas(size.cx, size.cy);
        const RECT rect = {0, 0, size.cx, size.cy};
        Draw(m_pPopup, 0, c.nState, canvas.m_hDC, rect, FALSE);
        EXPECT_EQ(Column(), canvas.At(0, 0)) << c.nState;
        EXPECT_EQ(Column(), canvas.At(ColumnWidth() - 1, size.cy - 1)) << c.nState;
        EXPECT_EQ(TextArea(), canvas.At(ColumnWidth(), 0)) << c.nState;
        EXPECT_EQ(TextArea(), canvas.At(size.cx - 1, size.cy - 1)) << c.nState;
        std::unique_ptr<CPaintedMenuCanvas> pVariant = Reference(pData, pData->m_nImage + c.nVariant);
        for (int iy = 0; iy < icon.cy; iy++)
            for (int ix = 0; ix < icon.cx; ix++)
                ASSERT_EQ(pVariant->At(ix, iy) == kKey ? Column() : pVariant->At(ix, iy),
                          canvas.At(x + ix, y + iy))
                    << c.nState << ": " << ix << "," << iy;
        const RECT textArea = {ColumnWidth() + 4, 0, size.cx - 15, size.cy};
        const COLORREF crText = GetSysColor(c.nTextColour);
        EXPECT_GT(canvas.Count(textArea, [&](COLORREF cr) { return cr == crText; }), 10) << c.nState;
    }
}

TEST_F(PaintedMenuStyle2Test, CheckedItemWithoutIconShowsTheFramedBoxAndSeparatorIsAGreyLine)
{
    const CSize size = Measure(m_pPopup, 0, FALSE);
    CPaintedMenuCanvas canvas(size.cx, size.cy);
    const RECT rect = {0, 0, size.cx, size.cy};
    for (BOOL bSelected : {FALSE, TRUE})
    {
        Draw(m_pPopup, 2, ODS_CHECKED | (bSelected ? ODS_SELECTED : 0), canvas.m_hDC, rect, FALSE);
        // The box: the icon column less 1 at top, bottom and left, and 2 at the right.
        const RECT box = {1, 1, ColumnWidth() - 2, size.cy - 1};
        const COLORREF crFrame = GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF crBase = bSelected ? GetMenuHighlightColour() : Column();
        EXPECT_EQ(crFrame, canvas.At(box.left, size.cy / 2)) << bSelected;
        EXPECT_EQ(crFrame, canvas.At(box.right - 1, size.cy / 2)) << bSelected;
        EXPECT_EQ(crFrame, canvas.At(box.left + 3, box.top)) << bSelected;
        EXPECT_EQ(crFrame, canvas.At(box.left + 3, box.bottom - 1)) << bSelected;
        // Nothing but the fill inside: no mark of its own.
        const RECT inside = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
        const COLORREF crFill = MixColours14(crBase, crFrame);
        EXPECT_EQ((inside.right - inside.left) * (inside.bottom - inside.top),
                  canvas.Count(inside, [&](COLORREF cr) { return cr == crFill; }))
            << bSelected;
        if (!bSelected)
            EXPECT_EQ(Column(), canvas.At(0, 0));
    }

    // The separator: one grey line at the middle of the text rectangle, right to the edge.
    const int cy = Measure(m_pPopup, 1, FALSE).cy;
    CPaintedMenuCanvas line(size.cx, cy);
    Draw(m_pPopup, 1, 0, line.m_hDC, {0, 0, size.cx, cy}, FALSE);
    const COLORREF crGrey = GetSysColor(COLOR_GRAYTEXT);
    const int nLeft = ColumnWidth() + 4;
    EXPECT_EQ(size.cx - nLeft, line.Count({0, cy / 2, size.cx, cy / 2 + 1},
                                          [&](COLORREF cr) { return cr == crGrey; }));
    EXPECT_EQ(crGrey, line.At(nLeft, cy / 2));
    EXPECT_EQ(TextArea(), line.At(nLeft - 1, cy / 2));
    EXPECT_EQ(Column(), line.At(0, cy / 2));
    EXPECT_EQ(TextArea(), line.At(size.cx - 1, 0));
}

TEST_F(PaintedMenuStyle2Test, BarItemIsHotBeforeItsPopupOpensAndShadowedOnceItIsOpen)
{
    const CSize size = Measure(&m_bar, 0, TRUE);
    const int cx = size.cx + 20, cy = size.cy;
    CPaintedMenuCanvas canvas(cx, cy);
    const RECT rect = {0, 0, cx, cy};
    const COLORREF crMenu = GetMenuBarColour(m_bar.GetSafeHmenu());
    const COLORREF crColumn = MixColours14(crMenu, GetSysColor(COLOR_WINDOW));

    // Keyboard selection without an open popup: hot, in the selection colour with the
    // highlight frame, 4 pixels short of the right edge.
    Draw(&m_bar, 0, ODS_SELECTED, canvas.m_hDC, rect, TRUE);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), canvas.At(0, cy / 2));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), canvas.At(cx - 5, cy / 2));
    EXPECT_EQ(GetMenuHighlightColour(), canvas.At(cx - 6, 1));
    EXPECT_EQ(crMenu, canvas.At(cx - 1, cy / 2));
    EXPECT_EQ(CRect(rect), m_bar.m_rectMenuBarItem);
    // Drawn on a window, the item is recorded where it is on the screen.
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 130, 70, 200, 60, NULL,
                                NULL, NULL, NULL);
    HDC hWindowDC = GetWindowDC(hWnd);
    Draw(&m_bar, 0, ODS_SELECTED, hWindowDC, {10, 5, 10 + cx, 5 + cy}, TRUE);
    ReleaseDC(hWnd, hWindowDC);
    DestroyWindow(hWnd);
    EXPECT_EQ(CRect(140, 75, 140 + cx, 75 + cy), m_bar.m_rectMenuBarItem);

    // With its popup open: the light fill, the darker frame and a 4-pixel shadow at the right.
    m_bar.m_nOpenPopups = 1;
    Draw(&m_bar, 0, ODS_SELECTED, canvas.m_hDC, rect, TRUE);
    EXPECT_EQ(DarkenColour(128, GetMenuBarColour()), canvas.At(0, cy / 2));
    EXPECT_EQ(crColumn, canvas.At(cx - 6, 1));
    for (int n = 1; n <= 4; n++)
    {
        const int x = cx - n;
        EXPECT_EQ(crMenu, canvas.At(x, 4 + 3)) << n;
        for (int k = 1; k <= 4; k++)
            EXPECT_EQ(DarkenColour(6 * n * k, crMenu), canvas.At(x, 4 + 3 + k)) << n << "," << k;
        EXPECT_EQ(DarkenColour(30 * n, crMenu), canvas.At(x, cy - 2)) << n;
        EXPECT_EQ(crMenu, canvas.At(x, cy - 1)) << n;
    }
}

TEST_F(PaintedMenuStyle2Test, PaletteAndHighContrastDisplaysChangeTheColours)
{
    const CSize size = Measure(m_pPopup, 0, FALSE);
    CPaintedMenuCanvas canvas(size.cx, size.cy);
    const RECT rect = {0, 0, size.cx, size.cy};

    m_facts.nColours = 256;
    Draw(m_pPopup, 0, 0, canvas.m_hDC, rect, FALSE);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.At(0, 0));
    Draw(m_pPopup, 0, ODS_SELECTED, canvas.m_hDC, rect, FALSE);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), canvas.At(size.cx - 2, 1));

    const CSize bar = Measure(&m_bar, 0, TRUE);
    CPaintedMenuCanvas barCanvas(bar.cx + 20, bar.cy);
    m_bar.m_nOpenPopups = 1;
    Draw(&m_bar, 0, ODS_SELECTED, barCanvas.m_hDC, {0, 0, bar.cx + 20, bar.cy}, TRUE);
    const COLORREF crMenu = GetMenuBarColour(m_bar.GetSafeHmenu());
    const int cx = bar.cx + 20;
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), barCanvas.At(cx - 3, bar.cy / 2));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), barCanvas.At(cx - 4, bar.cy / 2));
    EXPECT_EQ(crMenu, barCanvas.At(cx - 1, bar.cy / 2));

    m_facts.nColours = 64000;
    m_facts.bHighContrast = TRUE;
    Draw(m_pPopup, 2, ODS_SELECTED | ODS_GRAYED, canvas.m_hDC, rect, FALSE);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), canvas.At(size.cx - 2, 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), canvas.At(size.cx - 1, size.cy / 2));
    const RECT textArea = {ColumnWidth() + 4, 0, size.cx - 15, size.cy};
    EXPECT_GT(canvas.Count(textArea, [](COLORREF cr) { return cr == GetSysColor(COLOR_GRAYTEXT); }), 5);
}
