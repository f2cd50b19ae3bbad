// The menu themes: the colour rules every style shares, the registry filled at library start,
// the classification of Windows versions, and the looks other than the program's own.
#include "MosaicTest.h"

#include <typeinfo>

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedMenu.h"
#include "PaintedMenuCanvas.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include "resource.h"

namespace
{

// Pins the display facts for the life of a test.
class CPinnedFacts
{
public:
    explicit CPinnedFacts(const MenuDisplayFacts& facts) : m_facts(facts) { PinMenuDisplayFacts(&m_facts); }
    ~CPinnedFacts() { PinMenuDisplayFacts(NULL); }
    MenuDisplayFacts m_facts;
};

}   // namespace

TEST(MenuThemeTest, ColourRoutinesWorkOnEachChannelAlike)
{
    struct
    {
        const char* pszName;
        COLORREF crResult;
        COLORREF crExpected;
    } cases[] = {
        // 7/10 of a and 3/10 of b, rounded, capped at 255.
        {"mix30", MixColours30(RGB(100, 0, 255), RGB(200, 255, 255)), RGB(130, 77, 255)},
        {"mix14", MixColours14(RGB(100, 0, 255), RGB(200, 255, 255)), RGB(114, 36, 255)},
        {"mix14 rounding up", MixColours14(RGB(255, 255, 255), RGB(245, 245, 245)), RGB(253, 253, 253)},
        {"darken", DarkenColour(128, RGB(255, 100, 1)), RGB(127, 50, 0)},
        {"darken none", DarkenColour(0, RGB(12, 34, 56)), RGB(12, 34, 56)},
        {"lighten", LightenColour(115, RGB(0, 100, 255)), RGB(115, 170, 255)},
        {"blend", BlendColours(RGB(255, 0, 100), RGB(0, 255, 100), 128), RGB(126, 127, 99)},
        {"blend none", BlendColours(RGB(1, 2, 3), CLR_NONE, 10), CLR_NONE},
        {"icon shadow", MenuIconShadowColour(RGB(100, 200, 200)), RGB(70, 140, 179)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.crExpected, c.crResult) << c.pszName;
    EXPECT_FALSE(IsLightColour(RGB(128, 128, 128)));   // 384
    EXPECT_TRUE(IsLightColour(RGB(129, 128, 128)));    // 385
}

TEST(MenuThemeTest, MenuColoursFollowTheDisplayAndTheMenusOwnBrush)
{
    const COLORREF crWindow = GetSysColor(COLOR_WINDOW), crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_TRUE(IsLightColour(crHighlight));
    struct
    {
        MenuDisplayFacts facts;
        COLORREF crHighlightFill;
        COLORREF crBar;
        COLORREF crFace;
        COLORREF crMenu;
    } cases[] = {
        {{64000, FALSE, FALSE, FALSE, TRUE, 7}, MixColours14(crWindow, crHighlight),
         GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_MENU)},
        {{64000, FALSE, TRUE, FALSE, TRUE, 7}, MixColours30(crWindow, crHighlight),
         GetSysColor(COLOR_MENUBAR), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_MENU)},
        {{64000, FALSE, FALSE, TRUE, TRUE, 7}, MixColours14(crWindow, crHighlight),
         GetSysColor(COLOR_MENUBAR), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_MENUBAR)},
        {{256, FALSE, TRUE, TRUE, TRUE, 6}, crWindow, GetSysColor(COLOR_BTNFACE),
         GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_MENU)},
        {{64000, TRUE, FALSE, FALSE, TRUE, 5}, crHighlight, GetSysColor(COLOR_MENU),
         GetSysColor(COLOR_MENU), GetSysColor(COLOR_MENU)},
    };
    for (const auto& c : cases)
    {
        CPinnedFacts pinned(c.facts);
        const int nCase = (int)(&c - cases);
        EXPECT_EQ(c.crHighlightFill, GetMenuHighlightColour()) << nCase;
        EXPECT_EQ(c.crBar, GetMenuBarColour()) << nCase;
        EXPECT_EQ(c.crFace, GetMenuFaceColour()) << nCase;
        EXPECT_EQ(c.crMenu, GetMenuColourOf()) << nCase;
    }

    // A menu with a background brush of its own has that colour whatever the display.
    HMENU hMenu = CreatePopupMenu();
    HBRUSH hBrush = CreateSolidBrush(RGB(10, 20, 30));
    MENUINFO info = {sizeof(info), MIM_BACKGROUND};
    info.hbrBack = hBrush;
    ASSERT_TRUE(SetMenuInfo(hMenu, &info));
    EXPECT_EQ(RGB(10, 20, 30), GetMenuBarColour(hMenu));
    EXPECT_EQ(RGB(10, 20, 30), GetMenuColourOf(hMenu));
    DestroyMenu(hMenu);
    DeleteObject(hBrush);
}

TEST(MenuThemeTest, TheLibraryRegistersTwelveThemesWithStyleTwoCurrent)
{
    ASSERT_EQ(2, GetCurrentMenuStyle());
    ASSERT_EQ(FindMenuTheme(2), GetCurrentMenuTheme());
    typedef CPaintedMenu M;
    struct
    {
        int nStyle;
        const std::type_info& type;
        PaintedMenuMeasureProc pMeasure;
        PaintedMenuDrawProc pDraw;
    } cases[] = {
        {0, typeid(CMenuTheme), &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle0},
        {1, typeid(CMenuTheme), &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle0},
        {2, typeid(CMenuThemeXP), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle2},
        {3, typeid(CMenuThemeXP), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle2},
        {4, typeid(CMenuTheme), &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle4},
        {5, typeid(CMenuTheme), &M::MeasureMenuItemStyle0, &M::DrawMenuItemStyle4},
        {6, typeid(CMenuTheme), &M::MeasureMenuItemStyle6, &M::DrawMenuItemStyle6},
        {7, typeid(CMenuTheme), &M::MeasureMenuItemStyle6, &M::DrawMenuItemStyle6},
        {8, typeid(CMenuTheme2003), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {9, typeid(CMenuTheme2003), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {10, typeid(CMenuThemeXP), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
        {11, typeid(CMenuThemeXP), &M::MeasureMenuItemStyle2, &M::DrawMenuItemStyle8},
    };
    const CSize bottomRight = GetDropShadowSetting() ? CSize(2, 2) : CSize(5, 6);
    for (const auto& c : cases)
    {
        CMenuTheme* pTheme = FindMenuTheme(c.nStyle);
        ASSERT_NE((CMenuTheme*)NULL, pTheme) << c.nStyle;
        EXPECT_EQ(c.type, typeid(*pTheme)) << c.nStyle;
        EXPECT_TRUE(c.pMeasure == pTheme->m_pMeasureItem) << c.nStyle;
        EXPECT_TRUE(c.pDraw == pTheme->m_pDrawItem) << c.nStyle;
        EXPECT_TRUE(&M::DrawMenuTitle == pTheme->m_pDrawTitle) << c.nStyle;
        EXPECT_EQ(c.nStyle % 2 == 0, pTheme->DoDrawBorder() != FALSE) << c.nStyle;
        EXPECT_EQ(CSize(2, 2), pTheme->m_BorderTopLeft) << c.nStyle;
        EXPECT_EQ(bottomRight, pTheme->m_BorderBottomRight) << c.nStyle;
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), pTheme->m_crBtnShadow) << c.nStyle;
    }
    EXPECT_EQ(NULL, FindMenuTheme(12));
    // A theme already listed is not listed twice.
    EXPECT_FALSE(RegisterMenuTheme(FindMenuTheme(2)));
    EXPECT_FALSE(RegisterMenuTheme(NULL));
}

TEST(MenuThemeTest, WindowsVersionsAreClassified)
{
    struct
    {
        DWORD nVersion, nMajor, nMinor;
        int nClass;
    } cases[] = {
        {0x80000003, 3, 95, 0},    // Win32s
        {0x80000004, 4, 0, 2},     // Windows 95
        {0x80000004, 4, 10, 3},    // Windows 98
        {0x80000004, 4, 90, 4},    // Windows ME
        {0x00000003, 3, 51, 1},    // NT 3.51
        {0x00000004, 4, 0, 5},     // NT 4
        {0x00000005, 5, 0, 6},     // Windows 2000
        {0x00000105, 5, 1, 7},     // Windows XP
        {0x0000000A, 10, 0, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nClass, ClassifyWinVersion(c.nVersion, c.nMajor, c.nMinor))
            << c.nMajor << "." << c.nMinor;
    EXPECT_EQ(7, GetWinVersionClass());
}

TEST(MenuThemeTest, BarTextsUnderlineTheirMnemonicAndSystemGlyphsAreDrawn)
{
    CPaintedMenuCanvas canvas(120, 24);
    HDC hDC = canvas.m_hDC;
    LOGFONTW logFont;
    GetPaintedMenuLogFont(logFont, FALSE);
    HFONT hFont = CreateFontIndirectW(&logFont);
    HGDIOBJ hOldFont = SelectObject(hDC, hFont);
    SetTextColor(hDC, RGB(0, 0, 0));
    SetBkMode(hDC, TRANSPARENT);
    TEXTMETRICW metrics;
    GetTextMetricsW(hDC, &metrics);
    const RECT rect = {0, 0, 120, 24};
    const int nLine = (24 - metrics.tmHeight) / 2 + metrics.tmAscent + 1;
    auto black = [](COLORREF cr) { return cr == RGB(0, 0, 0); };
    struct
    {
        LPCWSTR lpszText;
        UINT nFormat;
        bool bUnderlined;
    } cases[] = {{L"&File", DT_VCENTER, true},
                 {L"&File", DT_VCENTER | DT_HIDEPREFIX, false},
                 {L"A&&B", DT_VCENTER, false}};
    for (const auto& c : cases)
    {
        PatBlt(hDC, 0, 0, 120, 24, WHITENESS);
        DrawMenuItemText(hDC, c.lpszText, -1, rect, c.nFormat);
        // Nothing left of the 4-pixel indent; the underline as wide as the "F".
        EXPECT_EQ(0, canvas.Count({0, 0, 4, 24}, black)) << c.nFormat;
        SIZE size;
        GetTextExtentPoint32W(hDC, L"F", 1, &size);
        const int nUnder = canvas.Count({4, nLine, 4 + size.cx, nLine + 1}, black);
        if (c.bUnderlined)
            EXPECT_EQ(size.cx - metrics.tmOverhang / 2, nUnder) << c.nFormat;
        else
            EXPECT_LT(nUnder, size.cx - 1) << c.nFormat;
    }
    // "A&&B" shows "A&B".
    PatBlt(hDC, 0, 0, 120, 24, WHITENESS);
    DrawMenuItemText(hDC, L"A&&B", -1, rect, DT_VCENTER);
    const int nDoubled = canvas.Count(rect, black);
    PatBlt(hDC, 0, 0, 120, 24, WHITENESS);
    TextOutW(hDC, 4, (24 - metrics.tmHeight) / 2, L"A&B", 3);
    EXPECT_EQ(canvas.Count(rect, black), nDoubled);

    // Close, minimise, maximise and restore have glyphs; Move has none.
    for (UINT nID : {(UINT)SC_CLOSE, (UINT)SC_MINIMIZE, (UINT)SC_MAXIMIZE, (UINT)SC_RESTORE + 1, (UINT)SC_MOVE})
    {
        PatBlt(hDC, 0, 0, 120, 24, WHITENESS);
        DrawSystemMenuGlyph(NULL, hDC, {0, 0, 24, 24}, nID, 0);
        const int nInk = canvas.Count({0, 0, 24, 24}, [](COLORREF cr) { return cr != RGB(255, 255, 255); });
        if (nID == SC_MOVE)
            EXPECT_EQ(0, nInk);
        else
            EXPECT_GT(nInk, 8) << nID;
    }
    SelectObject(hDC, hOldFont);
    DeleteObject(hFont);
}

TEST(MenuThemeTest, OtherStylesDrawTheirOwnSelectionAndMarks)
{
    CPinnedFacts pinned({64000, FALSE, FALSE, FALSE, TRUE, 7});
    HMENU hBar = CreateMenu();
    HMENU hPopup = CreatePopupMenu();
    AppendMenuW(hPopup, MF_STRING, 1110, L"&Item");
    AppendMenuW(hPopup, MF_SEPARATOR, 0, NULL);
    AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hPopup, L"&File");
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(hBar));
    CPaintedMenu* pPopup = CPaintedMenu::FromHandleOwned(hPopup);
    ASSERT_NE((CPaintedMenu*)NULL, pPopup);
    const int cx = 120, cy = 22;
    CPaintedMenuCanvas canvas(cx, cy);
    HDC hDC = canvas.m_hDC;
    const RECT rect = {0, 0, cx, cy};
    const int nColumn = pPopup->m_nIconX + 8;
    auto draw = [&](CPaintedMenu* pMenu, int nPosition, UINT nState, PaintedMenuDrawProc pDraw, BOOL bMenuBar)
    {
        PatBlt(hDC, 0, 0, cx, cy, BLACKNESS);
        CPaintedMenuItemData* pData = pMenu->GetItemData(nPosition);
        DRAWITEMSTRUCT item = {ODT_MENU, 0, pData->m_nID, ODA_DRAWENTIRE, nState,
                               (HWND)pMenu->GetSafeHmenu(), hDC, rect, (ULONG_PTR)pData};
        (pMenu->*pDraw)(&item, bMenuBar);
    };
    const COLORREF crHighlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF crMenu = GetSysColor(COLOR_MENU);

    // Classic: the selection fills the text part with the highlight colour.
    draw(pPopup, 0, ODS_SELECTED, &CPaintedMenu::DrawMenuItemStyle0, FALSE);
    EXPECT_EQ(crMenu, GetPixel(hDC, 1, 1));
    EXPECT_EQ(crHighlight, GetPixel(hDC, cx - 2, 1));
    EXPECT_GT(canvas.Count({nColumn, 0, cx, cy}, [](COLORREF cr) { return cr == GetSysColor(COLOR_HIGHLIGHTTEXT); }), 5);
    // A checked item shows the system's check mark in the column.
    draw(pPopup, 0, ODS_CHECKED, &CPaintedMenu::DrawMenuItemStyle0, FALSE);
    EXPECT_GT(canvas.Count({0, 0, nColumn, cy}, [](COLORREF cr) { return cr == GetSysColor(COLOR_MENUTEXT); }), 5);
    // Etched separator: a shadow line over a highlight line.
    draw(pPopup, 1, 0, &CPaintedMenu::DrawMenuItemStyle0, FALSE);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(hDC, cx / 2, cy / 2 - 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(hDC, cx / 2, cy / 2));

    // Style 4 fills a hot bar item with the highlight colour; style 0 raises it.
    draw(&bar, 0, ODS_HOTLIGHT, &CPaintedMenu::DrawMenuItemStyle4, TRUE);
    EXPECT_EQ(crHighlight, GetPixel(hDC, 1, 1));
    draw(&bar, 0, ODS_HOTLIGHT, &CPaintedMenu::DrawMenuItemStyle0, TRUE);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(hDC, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(hDC, cx - 1, cy - 1));

    // Style 6: the icon column and the selection are gradients.
    draw(pPopup, 0, ODS_SELECTED, &CPaintedMenu::DrawMenuItemStyle6, FALSE);
    EXPECT_NE(GetPixel(hDC, cx / 2, 0), GetPixel(hDC, cx / 2, cy - 1));
    draw(pPopup, 0, 0, &CPaintedMenu::DrawMenuItemStyle6, FALSE);
    EXPECT_EQ(LightenColour(30, crMenu), GetPixel(hDC, 0, cy / 2));
    EXPECT_NE(GetPixel(hDC, 0, cy / 2), GetPixel(hDC, nColumn - 1, cy / 2));

    // Style 8: the check mark is the symbol font's, in the menu text colour.
    draw(pPopup, 0, ODS_CHECKED, &CPaintedMenu::DrawMenuItemStyle8, FALSE);
    EXPECT_GT(canvas.Count({0, 0, nColumn, cy}, [](COLORREF cr) { return cr == GetSysColor(COLOR_MENUTEXT); }), 5);
}

TEST(MenuThemeTest, TheBarBrushIsTheFaceForStyleTwoAGradientForTheBarStylesAndNoneOtherwise)
{
    CMenuTheme* pCurrent = GetCurrentMenuTheme();
    CPaintedMenuCanvas canvas(800, 4);
    HDC hDC = canvas.m_hDC;
    const RECT rect = {0, 0, 800, 4};
    struct
    {
        int nStyle;
        bool bBrush;
        bool bGradient;
    } cases[] = {{2, true, false}, {3, true, false}, {8, true, true}, {9, true, false},
                 {10, true, true}, {0, false, false}, {6, false, false}};
    for (const auto& c : cases)
    {
        SetCurrentMenuTheme(FindMenuTheme(c.nStyle));
        HBRUSH hBrush = GetMenuBackBrush();
        EXPECT_EQ(c.bBrush, hBrush != NULL) << c.nStyle;
        if (hBrush == NULL)
            continue;
        EXPECT_EQ(hBrush, GetMenuBackBrush()) << c.nStyle;
        FillRect(hDC, &rect, hBrush);
        COLORREF crBarLeft, crBarRight, crMenuLeft, crMenuRight;
        FindMenuTheme(c.nStyle)->GetBarColours(crBarLeft, crBarRight, crMenuLeft, crMenuRight);
        if (c.nStyle <= 3)
            EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(hDC, 10, 1)) << c.nStyle;
        else
            EXPECT_EQ(crBarLeft, GetPixel(hDC, 0, 1)) << c.nStyle;
        EXPECT_EQ(c.bGradient, GetPixel(hDC, 0, 1) != GetPixel(hDC, 750, 1)) << c.nStyle;
    }
    SetCurrentMenuTheme(pCurrent);
}

TEST(MenuThemeTest, TitlesAndGrippersAreDrawnInTheirStyle)
{
    // A title item: the caption colours with the bold menu font.
    CPaintedMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 1111, L"Title");
    ASSERT_TRUE(menu.LoadMenu(menu.Detach()));
    CPaintedMenuCanvas canvas(100, 20);
    DRAWITEMSTRUCT item = {ODT_MENU, 0, 1111, ODA_DRAWENTIRE, 0, (HWND)menu.GetSafeHmenu(),
                           canvas.m_hDC, {0, 0, 100, 20}, (ULONG_PTR)menu.GetItemData(0)};
    menu.DrawTitle(&item);
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), canvas.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), canvas.At(99, 19));
    EXPECT_GT(canvas.Count({0, 0, 100, 20}, [](COLORREF cr) { return cr == GetSysColor(COLOR_CAPTIONTEXT); }), 10);

    // Grippers: lines 2 pixels apart for style 2, 2-by-2 dots for style 6.
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
    canvas.Clear(RGB(1, 2, 3));
    FindMenuTheme(2)->DrawGripperLine(canvas.m_hDC, {10, 0, 20, 20}, TRUE);
    for (int x = 10; x < 20; x++)
        EXPECT_EQ(x % 2 == 0 ? crShadow : RGB(1, 2, 3), canvas.At(x, 10)) << x;
    canvas.Clear(RGB(1, 2, 3));
    FindMenuTheme(6)->DrawGripperLine(canvas.m_hDC, {10, 0, 14, 20}, TRUE);
    EXPECT_EQ(crShadow, canvas.At(10, 2));
    EXPECT_EQ(crShadow, canvas.At(11, 3));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.At(12, 4));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(10, 5));
    // The frame's corners take the colour behind the bar.
    FindMenuTheme(2)->DrawFrame(canvas.m_hDC, {30, 2, 60, 18}, RGB(9, 9, 9));
    for (POINT pt : {POINT{30, 2}, POINT{59, 2}, POINT{30, 17}, POINT{59, 17}})
        EXPECT_EQ(RGB(9, 9, 9), canvas.At(pt.x, pt.y)) << pt.x << "," << pt.y;
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(31, 3));
}
