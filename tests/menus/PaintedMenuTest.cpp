// The owner-drawn menus: conversion of real Windows menus, accelerator texts, icons from the
// menu toolbar, removal, mnemonics, measuring and drawing, and rebuilding without leaks.
#include "MosaicTest.h"

#include <string>
#include <vector>

#include "AfxPath.h"
#include "OpenCv.h"
#include "MenuColours.h"
#include "PaintedBrushList.h"
#include "PaintedMenu.h"
#include "PaintedMenuBitmaps.h"
#include "PaintedMenuSymbols.h"
#include "PaintedMenuIcons.h"
#include "resource.h"

namespace
{

const UINT kFirst = 1001;
const UINT kSecond = 1002;
const UINT kNested = 1003;

// A bar with two popups: "&File" (items kFirst, a separator, kSecond, "&Tools" with kNested)
// and "&Edit" (ID_FILE_SAVE, ID_FILE_NEW).
HMENU MakeBar()
{
    HMENU hBar = CreateMenu();
    HMENU hFile = CreatePopupMenu();
    HMENU hTools = CreatePopupMenu();
    HMENU hEdit = CreatePopupMenu();
    AppendMenuW(hTools, MF_STRING, kNested, L"&Nested");
    AppendMenuW(hFile, MF_STRING, kFirst, L"&First");
    AppendMenuW(hFile, MF_SEPARATOR, 0, NULL);
    AppendMenuW(hFile, MF_STRING, kSecond, L"&second");
    AppendMenuW(hFile, MF_POPUP, (UINT_PTR)hTools, L"&Tools\tCtrl+T");
    AppendMenuW(hEdit, MF_STRING, ID_FILE_SAVE, L"&Save");
    AppendMenuW(hEdit, MF_STRING, ID_FILE_NEW, L"&New");
    AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hFile, L"&File");
    AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hEdit, L"&Edit");
    return hBar;
}

CPaintedMenu* Popup(CPaintedMenu& bar, int nPosition)
{
    return CPaintedMenu::FromHandleOwned(::GetSubMenu(bar, nPosition));
}

CPaintedMenuItemData* DataOf(HMENU hMenu, int nPosition)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    if (!GetMenuItemInfoW(hMenu, nPosition, TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return NULL;
    return (CPaintedMenuItemData*)info.dwItemData;
}

}   // namespace

TEST(PaintedMenuTest, LoadingMakesEveryItemOwnerDrawnWithItsTextAndKeepsItOnEachOpening)
{
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(MakeBar()));
    EXPECT_TRUE(bar.IsMenuBar());
    CPaintedMenu* pFile = Popup(bar, 0);
    ASSERT_NE((CPaintedMenu*)NULL, pFile);
    EXPECT_EQ(bar.GetSafeHmenu(), pFile->m_hParentMenu);
    EXPECT_TRUE(pFile->m_bPopup);
    ASSERT_EQ(4, pFile->GetItemDataCount());
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(pFile->GetItemData(i), DataOf(*pFile, i)) << i;
    EXPECT_EQ(CString(L"&First"), pFile->GetItemData(0)->GetText());
    EXPECT_EQ(0u, pFile->GetItemData(1)->m_nID);
    EXPECT_EQ((UINT)(UINT_PTR)::GetSubMenu(*pFile, 3), pFile->GetItemData(3)->m_nID);
    EXPECT_EQ(DataOf(bar, 1), bar.GetItemData(1));

    // An opening converts again and re-uses the objects, with what was set on them.
    ASSERT_TRUE(bar.LoadToolBar(IDR_MENU_ICONS));
    ASSERT_TRUE(bar.ModifyODMenu(L"&Other", kFirst, -1));
    CPaintedMenuItemData* pSave = Popup(bar, 1)->GetItemData(0);
    CPaintedMenuItemData* pFirst = pFile->GetItemData(0);
    CPaintedMenu::OnInitMenuPopup(NULL, pFile, 0, FALSE);
    CPaintedMenu::OnInitMenuPopup(NULL, Popup(bar, 1), 1, FALSE);
    EXPECT_EQ(pFirst, pFile->GetItemData(0));
    EXPECT_EQ(CString(L"&Other"), pFirst->GetText());
    EXPECT_EQ(pSave, Popup(bar, 1)->GetItemData(0));
    EXPECT_NE((CPaintedMenuIcons*)NULL, pSave->m_pIcons);

    // A plain menu is left as it is.
    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, kFirst, L"Plain");
    EXPECT_FALSE(CPaintedMenu::OnInitMenuPopup(NULL, &plain, 0, FALSE));
    EXPECT_EQ(NULL, DataOf(plain, 0));
    EXPECT_FALSE(CPaintedMenu().LoadMenu((HMENU)(UINT_PTR)0x1234));
}

TEST(PaintedMenuTest, AcceleratorTextsFollowTheTableInAltCtrlShiftOrder)
{
    ACCEL entries[] = {{FVIRTKEY | FSHIFT | FCONTROL, 'N', 1}, {FVIRTKEY, VK_F2, 1},
                       {FVIRTKEY | FALT, VK_INSERT, 2},        {FVIRTKEY | FSHIFT | FALT, VK_DELETE, 3},
                       {0, 'q', 4}};
    HACCEL hAccel = CreateAcceleratorTableW(entries, 5);
    struct
    {
        LPCWSTR lpszText;
        UINT nID;
        UINT nFlags;
        HACCEL hAccel;
        LPCWSTR lpszExpected;
    } cases[] = {
        {L"&New", 1, 0, hAccel, L"&New\tCtrl+Shift+N, F2"},
        {L"&Insert", 2, 0, hAccel, L"&Insert\tAlt+Ins"},
        {L"&Delete", 3, 0, hAccel, L"&Delete\tAlt+Shift+Del"},
        {L"&Quit", 4, 0, hAccel, L"&Quit\tq"},
        {L"&Own\tF9", 1, 0, hAccel, L"&Own\tF9"},
        {L"&None", 9, 0, hAccel, L"&None"},
        {L"&Popup\tCtrl+P", 1, MF_POPUP, hAccel, L"&Popup"},
        {L"&No table\tX", 1, 0, NULL, L"&No table"},
    };
    for (const auto& c : cases)
    {
        CPaintedMenuItemData data;
        data.SetText(c.lpszText);
        data.m_nID = c.nID;
        data.m_nFlags = c.nFlags;
        CString strText;
        EXPECT_EQ(CString(c.lpszExpected), data.GetShortCutText(strText, c.hAccel)) << c.nID;
    }
    DestroyAcceleratorTable(hAccel);
}

TEST(PaintedMenuTest, TheMenuToolbarGivesEachButtonItsThreeImages)
{
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(MakeBar()));
    ASSERT_TRUE(bar.LoadToolBar(IDR_MENU_ICONS));
    CPaintedMenuItemData* pSave = Popup(bar, 1)->GetItemData(0);
    CPaintedMenuItemData* pNew = Popup(bar, 1)->GetItemData(1);
    ASSERT_NE((CPaintedMenuIcons*)NULL, pSave->m_pIcons);
    EXPECT_EQ(9, pSave->m_nImage);   // the fourth button
    EXPECT_EQ(0, pNew->m_nImage);
    EXPECT_EQ(pSave->m_pIcons, pNew->m_pIcons);
    EXPECT_EQ(3 * (int)pSave->m_pIcons->m_commandIds.size(),
              pSave->m_pIcons->m_imageList.GetImageCount());
    EXPECT_EQ(-1, Popup(bar, 0)->GetItemData(0)->m_nImage);

    // A second load shares the store; toolbar 1 does not exist and takes the icon away.
    CPaintedMenu other;
    ASSERT_TRUE(other.LoadMenu(MakeBar()));
    ASSERT_TRUE(other.LoadToolBar(IDR_MENU_ICONS));
    EXPECT_EQ(pSave->m_pIcons, Popup(other, 1)->GetItemData(0)->m_pIcons);
    ASSERT_TRUE(bar.ModifyODMenu(NULL, ID_FILE_SAVE, 1));
    EXPECT_EQ(NULL, pSave->m_pIcons);
    EXPECT_EQ(-1, pSave->m_nImage);
    ASSERT_TRUE(bar.LoadToolBar(IDR_MENU_ICONS));
    EXPECT_EQ(9, pSave->m_nImage);
    EXPECT_FALSE(bar.LoadToolBar(1));

    // The variants: darkened and disabled images differ from the normal one.
    CPaintedMenuIcons* pIcons = pSave->m_pIcons;
    const CSize size = pIcons->GetIconSize();
    EXPECT_EQ(CSize(16, 16), size);
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 3 * size.cx, size.cy);
    ReleaseDC(NULL, hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    for (int k = 0; k < 3; k++)
        ImageList_Draw(pIcons->m_imageList.GetSafeHandle(), 9 + k, hDC, k * size.cx, 0,
                       ILD_NORMAL);
    int nDarker = 0, nGreyer = 0;
    for (int y = 0; y < size.cy; y++)
        for (int x = 0; x < size.cx; x++)
        {
            const COLORREF crNormal = GetPixel(hDC, x, y);
            const COLORREF crDark = GetPixel(hDC, size.cx + x, y);
            const COLORREF crGrey = GetPixel(hDC, 2 * size.cx + x, y);
            nDarker += GetRValue(crDark) + GetGValue(crDark) + GetBValue(crDark) <
                       GetRValue(crNormal) + GetGValue(crNormal) + GetBValue(crNormal);
            nGreyer += std::abs(GetRValue(crGrey) - GetBValue(crGrey)) <
                       std::abs(GetRValue(crNormal) - GetBValue(crNormal));
        }
    // Each variant keeps the transparent corner of the button.
    RECT all = {0, 0, 3 * size.cx, size.cy};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hDC, &all, hRed);
    DeleteObject(hRed);
    for (int k = 0; k < 3; k++)
    {
        ImageList_Draw(pIcons->m_imageList.GetSafeHandle(), 9 + k, hDC, k * size.cx, 0,
                       ILD_TRANSPARENT);
        EXPECT_EQ(RGB(255, 0, 0), GetPixel(hDC, k * size.cx, 0)) << k;
    }
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    EXPECT_GT(nDarker, 0);
    EXPECT_GT(nGreyer, 0);
}

TEST(PaintedMenuTest, VariantPixelRules)
{
    // Grey 100 towards white: (110 * 100 + 145 * 255) / 256 = 187 per channel.
    EXPECT_EQ((COLORREF)0xBBBBBB, PaintedMenuDisabledPixel(0x646464, 0xFFFFFF));
}

TEST(PaintedMenuTest, RemovingACommandTakesItFromItsOwnMenuWithItsData)
{
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(MakeBar()));
    CPaintedMenu* pTools = CPaintedMenu::FromHandleOwned(::GetSubMenu(*Popup(bar, 0), 3));
    ASSERT_NE((CPaintedMenu*)NULL, pTools);
    bar.RemoveMenu(kNested, MF_BYCOMMAND);
    EXPECT_EQ(0, pTools->GetMenuItemCount());
    EXPECT_EQ(0, pTools->GetItemDataCount());
    EXPECT_EQ(2, bar.GetMenuItemCount());
    int nPosition = 0;
    EXPECT_EQ(NULL, bar.FindMenuByCommand(kNested, nPosition));
    EXPECT_EQ(-1, nPosition);

    // A popup item goes with its menu object; a separator with its data.
    CPaintedMenu* pFile = Popup(bar, 0);
    pFile->RemoveMenu(3, MF_BYPOSITION);
    pFile->RemoveMenu(1, MF_BYPOSITION);
    EXPECT_EQ(2, pFile->GetMenuItemCount());
    ASSERT_EQ(2, pFile->GetItemDataCount());
    EXPECT_EQ(kSecond, pFile->GetItemData(1)->m_nID);
}

TEST(PaintedMenuTest, TextsAndMnemonicsAreFoundWhateverTheCase)
{
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(MakeBar()));
    CPaintedMenu* pFile = Popup(bar, 0);
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), CPaintedMenu::FindKeyboardShortcut(L'S', 0, pFile));
    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), CPaintedMenu::FindKeyboardShortcut(L'f', 0, pFile));
    EXPECT_EQ(MAKELRESULT(3, MNC_EXECUTE), CPaintedMenu::FindKeyboardShortcut(L't', 0, pFile));
    EXPECT_EQ(0, CPaintedMenu::FindKeyboardShortcut(L'z', 0, pFile));
    CMenu plain;
    plain.CreatePopupMenu();
    EXPECT_EQ(0, CPaintedMenu::FindKeyboardShortcut(L'f', 0, &plain));
    // A second "&First" further down does not win.
    pFile->AppendMenu(MF_STRING, 2000, L"&fourth");
    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), CPaintedMenu::FindKeyboardShortcut(L'F', 0, pFile));
    EXPECT_EQ(5, pFile->GetItemDataCount());

    CString strText;
    EXPECT_TRUE(bar.SetMenuText(kSecond, L"&Renamed", MF_BYCOMMAND));
    EXPECT_TRUE(bar.GetMenuText(kSecond, strText, MF_BYCOMMAND));
    EXPECT_EQ(CString(L"&Renamed"), strText);
    EXPECT_EQ(DataOf(*pFile, 2), pFile->GetItemData(2));
    EXPECT_TRUE(bar.SetMenuText(0, L"&Fichier", MF_BYPOSITION));
    EXPECT_EQ(pFile, Popup(bar, 0));
    EXPECT_TRUE(bar.GetMenuText(0, strText, MF_BYPOSITION));
    EXPECT_EQ(CString(L"&Fichier"), strText);
    EXPECT_FALSE(bar.SetMenuText(9999, L"x", MF_BYCOMMAND));
    EXPECT_FALSE(bar.GetMenuText(7, strText, MF_BYPOSITION));
}

TEST(PaintedMenuTest, ItemsAreMeasuredAndDrawnWithIconTextAndAcceleratorText)
{
    CPaintedMenu bar;
    ASSERT_TRUE(bar.LoadMenu(MakeBar()));
    ASSERT_TRUE(bar.LoadToolBar(IDR_MENU_ICONS));
    ACCEL entry = {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE};
    HACCEL hAccel = CreateAcceleratorTableW(&entry, 1);
    CPaintedMenu* pEdit = Popup(bar, 1);
    pEdit->m_hAccel = hAccel;
    CPaintedMenu::OnInitMenuPopup(NULL, pEdit, 1, FALSE);

    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_FILE_SAVE, 0, 0,
                                 (ULONG_PTR)pEdit->GetItemData(0)};
    pEdit->MeasureItem(&measure);
    MEASUREITEMSTRUCT separator = {ODT_MENU, 0, 0, 0, 0, (ULONG_PTR)Popup(bar, 0)->GetItemData(1)};
    Popup(bar, 0)->MeasureItem(&separator);
    MEASUREITEMSTRUCT title = {ODT_MENU, 0, 0, 0, 0, (ULONG_PTR)bar.GetItemData(0)};
    bar.MeasureItem(&title);
    EXPECT_GE((int)measure.itemHeight, 16);
    EXPECT_GT(measure.itemWidth, title.itemWidth + 40);   // icon column and "Ctrl+S"
    EXPECT_LT(separator.itemHeight, measure.itemHeight);
    EXPECT_GT(title.itemWidth, 0u);

    // Drawn into a bitmap: the icon left, the text after it, the accelerator at the right.
    const int cx = (int)measure.itemWidth, cy = (int)measure.itemHeight;
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    ReleaseDC(NULL, hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    auto draw = [&](UINT nState) {
        DRAWITEMSTRUCT item = {ODT_MENU, 0, ID_FILE_SAVE, ODA_DRAWENTIRE, nState,
                               (HWND)pEdit->GetSafeHmenu(), hDC, {0, 0, cx, cy},
                               (ULONG_PTR)pEdit->GetItemData(0)};
        pEdit->DrawItem(&item);
    };
    auto inkIn = [&](int x0, int x1, COLORREF crBack) {
        int n = 0;
        for (int x = x0; x < x1; x++)
            for (int y = 0; y < cy; y++)
                n += GetPixel(hDC, x, y) != crBack;
        return n;
    };
    const int nIconColumn = pEdit->GetIconSize().cx + 6;
    auto save = [&](LPCWSTR lpszName) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32};
        cv::Mat picture(cy, cx, CV_8UC4), bgr;
        GetDIBits(hDC, hBitmap, 0, cy, picture.data, &info, DIB_RGB_COLORS);
        cv::cvtColor(picture, bgr, cv::COLOR_BGRA2BGR);
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        cv::imwrite(std::string(AfxGetUnixPath(CString(szTemp) + lpszName).GetString()), bgr);
    };
    draw(0);
    save(L"painted-menu-item.png");
    const COLORREF crMenu = GetSysColor(COLOR_MENU);
    EXPECT_GT(inkIn(0, nIconColumn, crMenu), 20);
    EXPECT_GT(inkIn(nIconColumn, nIconColumn + 20, crMenu), 5);
    EXPECT_GT(inkIn(cx - 40, cx, crMenu), 5);
    draw(ODS_SELECTED);
    EXPECT_EQ(GetMenuHighlightColour(), GetPixel(hDC, cx - 2, 1));

    // The pictures of the item, for a person to look at.
    save(L"painted-menu-item-selected.png");
    SelectObject(hDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    DestroyAcceleratorTable(hAccel);
}

TEST(PaintedMenuTest, RebuildingMenusLeavesNoObjectsBehind)
{
    std::vector<HMENU> handles;
    HBRUSH hBackBrush = NULL;
    CPaintedBrushList::DeleteBrushList();
    {
        CPaintedMenu bar;
        bar.LoadMenu(MakeBar());
        handles = {bar.GetSafeHmenu(), ::GetSubMenu(bar, 0), ::GetSubMenu(bar, 1),
                   ::GetSubMenu(::GetSubMenu(bar, 0), 3)};
        for (int i = 0; i < 20; i++)
        {
            bar.ModifyODMenu(i % 2 ? L"&Odd" : L"&Even", kFirst, 1);
            bar.ModifyODMenu(L"&Save", ID_FILE_SAVE, 1);
            bar.LoadToolBar(IDR_MENU_ICONS);
            CPaintedMenu::OnInitMenuPopup(NULL, Popup(bar, 0), 0, FALSE);
            CPaintedMenu::OnInitMenuPopup(NULL, Popup(bar, 1), 1, FALSE);
            int nImage = -1;
            CPaintedMenuBitmaps* pBitmaps = bar.FindBitmapStore(nImage, IDR_MENU_ICONS);
            bar.ModifyODMenuIcon(NULL, kSecond, pBitmaps, nImage);
            hBackBrush = GetMenuBackBrush();
        }
        // One toolbar store, held once by each of the two items that show its images, and
        // one bitmap store held by its item; one bar brush.
        ASSERT_EQ(2u, CPaintedMenuIcons::GetStoreList().size());
        EXPECT_EQ(2, CPaintedMenuIcons::GetStoreList()[0]->m_nRefCount);
        EXPECT_EQ(1, CPaintedMenuIcons::GetStoreList()[1]->m_nRefCount);
        EXPECT_EQ(hBackBrush, GetMenuBackBrush());
        EXPECT_EQ(1, CPaintedBrushList::GetBrushList()->GetCount());
        EXPECT_EQ(4, Popup(bar, 0)->GetItemDataCount());
        EXPECT_EQ(2, Popup(bar, 1)->GetItemDataCount());
        for (HMENU hMenu : handles)
            EXPECT_NE((CMenu*)NULL, CMenu::FromHandlePermanent(hMenu));
    }
    // The store goes with the last item that shows it, the menus with their objects.
    EXPECT_TRUE(CPaintedMenuIcons::GetStoreList().empty());
    for (HMENU hMenu : handles)
    {
        EXPECT_FALSE(::IsMenu(hMenu));
        EXPECT_EQ((CMenu*)NULL, CMenu::FromHandlePermanent(hMenu));
    }
}
