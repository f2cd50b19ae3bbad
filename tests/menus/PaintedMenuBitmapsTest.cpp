// The bitmap store of the menus, the refresh of every store after a colour change, the
// gradient fill and the cached bar brushes.
#include "MosaicTest.h"

#include <algorithm>
#include <vector>

#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedBrush.h"
#include "PaintedBrushList.h"
#include "PaintedMemDC.h"
#include "PaintedMenuCanvas.h"
#include "PaintedMenu.h"
#include "PaintedMenuBitmaps.h"
#include "PaintedMenuLibrary.h"
#include "resource.h"

namespace
{

const COLORREF kKey = RGB(1, 2, 3);

// A square icon of one colour with a transparent top-left quarter.
HICON MakeIcon(int nSize, COLORREF cr)
{
    std::vector<DWORD> colour((size_t)nSize * nSize), mask((size_t)nSize * nSize);
    for (int y = 0; y < nSize; y++)
        for (int x = 0; x < nSize; x++)
        {
            const bool bClear = x < nSize / 2 && y < nSize / 2;
            colour[(size_t)y * nSize + x] = bClear ? 0 : (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
            mask[(size_t)y * nSize + x] = bClear ? 0xFFFFFF : 0;
        }
    auto make = [nSize](std::vector<DWORD>& pixels, bool bMono)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), nSize, -nSize, 1, 32};
        HDC hScreen = GetDC(NULL);
        HBITMAP hBitmap = bMono ? CreateBitmap(nSize, nSize, 1, 1, NULL)
                                : CreateCompatibleBitmap(hScreen, nSize, nSize);
        SetDIBits(hScreen, hBitmap, 0, nSize, pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(NULL, hScreen);
        return hBitmap;
    };
    HBITMAP hColour = make(colour, false), hMask = make(mask, true);
    ICONINFO info = {TRUE, 0, 0, hMask, hColour};
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hColour);
    DeleteObject(hMask);
    return hIcon;
}

// Image nImage drawn on the key colour, read at (x, y).
COLORREF ImagePixel(HIMAGELIST hList, int nImage, int x, int y)
{
    CPaintedMenuCanvas canvas(64, 64, kKey);
    ImageList_Draw(hList, nImage, canvas.m_hDC, 0, 0, ILD_TRANSPARENT);
    return canvas.At(x, y);
}

// The variant rules on Windows colour values.
COLORREF Darkened(COLORREF cr)
{
    return DarkenColour(50, cr);
}

COLORREF Disabled(COLORREF cr, COLORREF crFace)
{
    const COLORREF crTarget = LightenColour(115, crFace);
    const int nGrey = (GetRValue(cr) + GetGValue(cr) + GetBValue(cr)) / 3;
    auto mix = [nGrey](int t) { return (110 * nGrey + 145 * t) / 256; };
    return RGB(mix(GetRValue(crTarget)), mix(GetGValue(crTarget)), mix(GetBValue(crTarget)));
}

}   // namespace

TEST(PaintedMenuBitmapsTest, IconsAreAddedWithTheirVariantsAndReplacedByCommand)
{
    CPaintedMenuBitmaps store;
    const COLORREF crRed = RGB(200, 40, 40), crBlue = RGB(30, 60, 220);
    HICON hRed = MakeIcon(16, crRed), hBlue = MakeIcon(16, crBlue), hLarge = MakeIcon(32, crRed);
    EXPECT_EQ(0, store.AddIcon(hRed, 500));
    EXPECT_EQ(3, store.AddIcon(hBlue, 501));
    EXPECT_EQ(-1, store.AddIcon(hLarge, 502));
    EXPECT_EQ(-1, store.AddIcon(NULL, 503));
    EXPECT_EQ(6, store.m_imageList.GetImageCount());
    EXPECT_EQ((std::vector<UINT>{500, 501}), store.m_commandIds);

    // Command 500 takes the blue picture, with both variants made from it.
    EXPECT_EQ(0, store.AddIcon(hBlue, 500));
    EXPECT_EQ(6, store.m_imageList.GetImageCount());
    HIMAGELIST hList = store.m_imageList.GetSafeHandle();
    const COLORREF crFace = GetMenuFaceColour();
    struct
    {
        int nImage;
        COLORREF crExpected;
    } cases[] = {{0, crBlue}, {1, Darkened(crBlue)}, {2, Disabled(crBlue, crFace)},
                 {3, crBlue}, {4, Darkened(crBlue)}, {5, Disabled(crBlue, crFace)}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.crExpected, ImagePixel(hList, c.nImage, 12, 12)) << c.nImage;
        // The transparent quarter stays transparent in every variant.
        EXPECT_EQ(kKey, ImagePixel(hList, c.nImage, 2, 2)) << c.nImage;
    }
    DestroyIcon(hRed);
    DestroyIcon(hBlue);
    DestroyIcon(hLarge);
}

TEST(PaintedMenuBitmapsTest, BitmapResourcesAreAddedOnceAndOnlyAtTheStoresSize)
{
    CPaintedMenuBitmaps store;
    EXPECT_EQ(0, store.AddBitmap(IDR_MENU_ICONS, CLR_DEFAULT));
    EXPECT_EQ(0, store.AddBitmap(IDR_MENU_ICONS, CLR_DEFAULT));
    EXPECT_EQ(3, store.m_imageList.GetImageCount());
    EXPECT_EQ(-1, store.AddBitmap(IDR_MAINFRAME, CLR_DEFAULT));   // another size
    EXPECT_EQ(-1, store.AddBitmap(1, CLR_DEFAULT));               // no such bitmap
    EXPECT_EQ(3, store.m_imageList.GetImageCount());
    EXPECT_EQ((std::vector<COLORREF>{CLR_DEFAULT}), store.m_masks);
    // The corner colour is transparent.
    EXPECT_EQ(kKey, ImagePixel(store.m_imageList.GetSafeHandle(), 0, 0, 0));
    EXPECT_EQ(kKey, ImagePixel(store.m_imageList.GetSafeHandle(), 2, 0, 0));
}

TEST(PaintedMenuBitmapsTest, MenusShareBitmapStoresWhichGoWithTheLastItemShowingThem)
{
    ASSERT_TRUE(CPaintedMenuIcons::GetStoreList().empty());
    HICON hIcon = MakeIcon(16, RGB(10, 120, 10));
    {
        CPaintedMenu menu, other;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 700, L"&Picture");
        menu.AppendMenu(MF_STRING, 701, L"&Icon");
        ASSERT_TRUE(menu.LoadMenu(menu.Detach()));
        other.CreatePopupMenu();
        other.AppendMenu(MF_STRING, 700, L"&Picture");
        ASSERT_TRUE(other.LoadMenu(other.Detach()));

        int nIndex = -1, nOther = -1;
        CPaintedMenuBitmaps* pStore = menu.FindBitmapStore(nIndex, IDR_MENU_ICONS);
        ASSERT_NE((CPaintedMenuBitmaps*)NULL, pStore);
        EXPECT_EQ(0, nIndex);
        EXPECT_EQ(pStore, other.FindBitmapStore(nOther, IDR_MENU_ICONS));
        EXPECT_EQ(0, nOther);
        EXPECT_EQ(NULL, menu.FindBitmapStore(nIndex, 1));
        EXPECT_EQ(-1, nIndex);
        EXPECT_EQ(1u, CPaintedMenuIcons::GetStoreList().size());
        // Icons do not fit the strip's size: they go to a store of their own.
        menu.m_bIconHandles = TRUE;
        CPaintedMenuBitmaps* pIcons = menu.FindBitmapStore(nIndex, (UINT_PTR)hIcon);
        ASSERT_NE((CPaintedMenuBitmaps*)NULL, pIcons);
        EXPECT_NE(pStore, pIcons);
        EXPECT_EQ(2u, CPaintedMenuIcons::GetStoreList().size());

        ASSERT_TRUE(menu.ModifyODMenuIcon(NULL, 700, pStore, 0));
        ASSERT_TRUE(menu.ModifyODMenuIcon(NULL, 701, pIcons, nIndex));
        ASSERT_TRUE(other.ModifyODMenuIcon(NULL, 700, pStore, 0));
        EXPECT_EQ(2, pStore->m_nRefCount);
        EXPECT_EQ(1, pIcons->m_nRefCount);
    }
    EXPECT_TRUE(CPaintedMenuIcons::GetStoreList().empty());
    DestroyIcon(hIcon);
}

TEST(PaintedMenuBitmapsTest, AColourChangeRefreshesTheStoresAtMostOnceInTwoSeconds)
{
    CPaintedMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_FILE_SAVE, L"&Save");
    ASSERT_TRUE(menu.LoadMenu(menu.Detach()));
    ASSERT_TRUE(menu.LoadToolBar(IDR_MENU_ICONS));
    CPaintedMenuItemData* pSave = menu.GetItemData(0);
    ASSERT_NE((CPaintedMenuIcons*)NULL, pSave->m_pIcons);
    CPaintedMenuBitmaps store;
    const COLORREF crBlue = RGB(30, 60, 220);
    HICON hIcon = MakeIcon(16, crBlue);
    ASSERT_EQ(0, store.AddIcon(hIcon, 900));
    CPaintedMenuIcons::GetStoreList().push_back(&store);

    // Well past any refresh the program made while earlier tests ran, so that this one is
    // done whatever the clock says.
    const DWORD nNow = GetTickCount() + 100000;
    ASSERT_TRUE(UpdateMenuColours(nNow));
    const COLORREF crToolbarBefore = ImagePixel(pSave->m_pIcons->m_imageList.GetSafeHandle(),
                                                pSave->m_nImage + 2, 8, 8);
    const int nFace = COLOR_BTNFACE;
    const COLORREF crOldFace = GetSysColor(nFace);
    const COLORREF crNewFace = RGB(90, 20, 140);
    SetSysColors(1, &nFace, &crNewFace);
    ASSERT_EQ(crNewFace, GetMenuFaceColour());

    // Within 2000 ms nothing is done; after them the disabled images take the new face.
    EXPECT_FALSE(UpdateMenuColours(nNow + 2000));
    EXPECT_NE(Disabled(crBlue, crNewFace), ImagePixel(store.m_imageList.GetSafeHandle(), 2, 8, 8));
    EXPECT_TRUE(UpdateMenuColours(nNow + 2001));
    EXPECT_EQ(Disabled(crBlue, crNewFace), ImagePixel(store.m_imageList.GetSafeHandle(), 2, 8, 8));
    EXPECT_EQ(crBlue, ImagePixel(store.m_imageList.GetSafeHandle(), 0, 8, 8));
    // The themes' own colours follow.
    EXPECT_EQ(crNewFace, FindMenuTheme(2)->m_crBtnFace);
    EXPECT_EQ(crNewFace, FindMenuTheme(9)->m_crBtnFace);
    EXPECT_NE(crToolbarBefore, ImagePixel(pSave->m_pIcons->m_imageList.GetSafeHandle(),
                                          pSave->m_nImage + 2, 8, 8));
    EXPECT_FALSE(UpdateMenuColours(nNow + 3000));
    SetSysColors(1, &nFace, &crOldFace);
    EXPECT_TRUE(UpdateMenuColours(nNow + 6000));
    EXPECT_EQ(crOldFace, FindMenuTheme(2)->m_crBtnFace);

    std::vector<CPaintedMenuIcons*>& list = CPaintedMenuIcons::GetStoreList();
    list.erase(std::remove(list.begin(), list.end(), &store), list.end());
    DestroyIcon(hIcon);
}

TEST(PaintedMenuBitmapsTest, GradientFillDrawsBandsOrTheSystemGradient)
{
    CPaintedMenuCanvas canvas(200, 20);
    HDC hDC = canvas.m_hDC;
    const COLORREF crFrom = RGB(0, 100, 200), crTo = RGB(200, 100, 0);

    // Bands 2 pixels wide, each at c1 + (c2 - c1) * n / (extent - 2); the last pair c2.
    const RECT bands = {10, 0, 20, 4};
    PaintedGradientFill(hDC, bands, crFrom, crTo, TRUE, FALSE, FALSE);
    for (int n = 0; n < 10; n++)
    {
        const int nStep = n / 2 * 2;
        const COLORREF crExpected = nStep >= 8 ? crTo
                                               : RGB(MulDiv(200, nStep, 8), 100, 200 - MulDiv(200, nStep, 8));
        EXPECT_EQ(crExpected, GetPixel(hDC, 10 + n, 2)) << n;
    }
    // Vertical bands run down.
    const RECT down = {0, 0, 6, 20};
    PaintedGradientFill(hDC, down, crFrom, crTo, FALSE, FALSE, FALSE);
    EXPECT_EQ(crFrom, GetPixel(hDC, 3, 1));
    EXPECT_EQ(crTo, GetPixel(hDC, 3, 19));
    EXPECT_EQ(GetPixel(hDC, 0, 4), GetPixel(hDC, 5, 5));

    // The off-screen context draws in the target's coordinates and lands on its rectangle,
    // unless told not to copy.
    PatBlt(hDC, 0, 0, 200, 20, WHITENESS);
    {
        CPaintedMemDC memDC(CRect(30, 5, 60, 15), hDC);
        PatBlt(memDC, 30, 5, 30, 10, BLACKNESS);
    }
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hDC, 30, 5));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hDC, 59, 14));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hDC, 29, 5));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hDC, 60, 15));
    {
        CPaintedMemDC memDC(CRect(100, 5, 120, 15), hDC);
        PatBlt(memDC, 100, 5, 20, 10, BLACKNESS);
        memDC.m_bNoCopy = TRUE;
    }
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hDC, 110, 10));

    // The system gradient changes from one column to the next; the palette flag is
    // ignored on a device without a palette.
    CPaintedMemDC* pMemDC = new CPaintedMemDC(CRect(0, 0, 200, 20), hDC);
    pMemDC->GradientFill(CRect(0, 0, 200, 20), crFrom, crTo, TRUE, TRUE);
    delete pMemDC;
    if (PaintedMenuLibrary().pGradientFill != NULL)
    {
        EXPECT_LT(GetRValue(GetPixel(hDC, 100, 5)), GetRValue(GetPixel(hDC, 101, 5)));
        EXPECT_LE(GetRValue(GetPixel(hDC, 0, 5)), 2);
        EXPECT_GE(GetRValue(GetPixel(hDC, 199, 5)), 197);
    }
}

TEST(PaintedMenuBitmapsTest, BarBrushesAreCachedByKindAndColoursAndFadeForTheBarKinds)
{
    CPaintedBrushList* pList = CPaintedBrushList::GetBrushList();
    const COLORREF crFrom = RGB(255, 255, 255), crTo = RGB(0, 0, 128);
    CPaintedBrush* pGradient = pList->FindBrush(8, crFrom, crTo);
    CPaintedBrush* pSolid = pList->FindBrush(2, crTo, crTo);
    EXPECT_EQ(pGradient, pList->FindBrush(8, crFrom, crTo));
    EXPECT_EQ(pSolid, pList->FindBrush(2, crTo, crTo));
    EXPECT_EQ(pGradient, pList->FindBrush(8, crFrom, crTo));
    EXPECT_NE(pGradient, pList->FindBrush(10, crFrom, crTo));

    CPaintedMenuCanvas canvas(800, 4);
    HDC hDC = canvas.m_hDC;
    RECT rect = {0, 0, 800, 4};
    FillRect(hDC, &rect, *pGradient);
    EXPECT_GE(GetRValue(GetPixel(hDC, 0, 1)), 250);
    EXPECT_LT(GetRValue(GetPixel(hDC, 400, 1)), GetRValue(GetPixel(hDC, 100, 1)));
    EXPECT_EQ(crTo, GetPixel(hDC, 750, 1));
    FillRect(hDC, &rect, *pSolid);
    EXPECT_EQ(crTo, GetPixel(hDC, 0, 1));
    EXPECT_EQ(crTo, GetPixel(hDC, 799, 3));
}

TEST(PaintedMenuBitmapsTest, StoresLoadFromToolbarDataOrABitmapAndRecogniseTheirSource)
{
    // Toolbar data: separators (0) take no image; the k-th button's images start at 3k.
    CPaintedMenuIcons data;
    const std::vector<UINT> ids = {ID_FILE_NEW, 0, ID_FILE_OPEN, ID_FILE_IMPORT_IMAGE};
    ASSERT_TRUE(data.LoadToolBarData(IDR_MENU_ICONS, CSize(16, 16), ids));
    EXPECT_EQ((std::vector<UINT>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_IMPORT_IMAGE}), data.m_commandIds);
    EXPECT_EQ(6, data.FindIndex(ID_FILE_IMPORT_IMAGE));
    EXPECT_EQ(CSize(16, 16), data.GetIconSize());
    EXPECT_TRUE(data.IsSameToolBar(IDR_MENU_ICONS, data.m_crMask, ids));
    EXPECT_FALSE(data.IsSameToolBar(IDR_MENU_ICONS, data.m_crMask, {ID_FILE_NEW}));
    EXPECT_FALSE(data.IsSameToolBar(IDR_MAINFRAME, data.m_crMask, ids));
    EXPECT_FALSE(CPaintedMenuIcons().LoadToolBarData(1, CSize(16, 16), ids));

    // A bitmap of two 8 by 8 images: red and blue halves, the corner colour transparent.
    CPaintedMenuCanvas source(16, 8, RGB(255, 0, 255));
    HBITMAP hBitmap = CreateCompatibleBitmap(source.m_hDC, 16, 8);
    HDC hDC = CreateCompatibleDC(source.m_hDC);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    BitBlt(hDC, 0, 0, 16, 8, source.m_hDC, 0, 0, SRCCOPY);
    const RECT red = {1, 1, 8, 8}, blue = {9, 1, 16, 8};
    HBRUSH hRed = CreateSolidBrush(RGB(220, 0, 0)), hBlue = CreateSolidBrush(RGB(0, 0, 220));
    FillRect(hDC, &red, hRed);
    FillRect(hDC, &blue, hBlue);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    DeleteObject(hRed);
    DeleteObject(hBlue);
    CPaintedMenuIcons picture;
    picture.m_crMask = CLR_DEFAULT;
    const UINT pictureIds[] = {801, 802, 0};
    ASSERT_TRUE(picture.LoadFromBitmap(hBitmap, pictureIds));
    EXPECT_EQ(6, picture.m_imageList.GetImageCount());
    HIMAGELIST hList = picture.m_imageList.GetSafeHandle();
    EXPECT_EQ(RGB(220, 0, 0), ImagePixel(hList, picture.FindIndex(801), 4, 4));
    EXPECT_EQ(RGB(0, 0, 220), ImagePixel(hList, picture.FindIndex(802), 4, 4));
    EXPECT_EQ(kKey, ImagePixel(hList, picture.FindIndex(802) + 1, 0, 0));
    EXPECT_TRUE(picture.IsSameImageList(hBitmap, CSize(8, 8), {801, 802}));
    EXPECT_FALSE(picture.IsSameImageList(hBitmap, CSize(16, 8), {801, 802}));
    EXPECT_FALSE(picture.IsSameImageList(NULL, CSize(8, 8), {801, 802}));
    DeleteObject(hBitmap);
    // The store worked on a copy.
    EXPECT_EQ(RGB(220, 0, 0), ImagePixel(hList, 0, 4, 4));
}
