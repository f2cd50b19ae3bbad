#include "MosaicTest.h"

#include "AfxMenu.h"
#include "AfxGdi.h"
#include "AfxResource.h"
#include "AfxWin.h"

namespace {

const UINT kOpen = 100;
const UINT kSave = 101;
const UINT kClose = 102;

// File menu: Open, Save, a separator, and a popup with Close.
void BuildFileMenu(CMenu& menu, CMenu& popup)
{
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_STRING, kClose, L"&Close"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, kOpen, L"&Open"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING | MF_GRAYED, kSave, L"&Save"));
    ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, (UINT_PTR)popup.m_hMenu, L"&More"));
}

TEST(Menu, ItemsAreAddedQueriedAndChanged)
{
    CMenu menu, popup;
    BuildFileMenu(menu, popup);
    popup.Detach(); // the parent owns it now

    EXPECT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuItemID(0), kOpen);
    EXPECT_EQ(menu.GetMenuItemID(2), 0u);
    EXPECT_EQ(menu.GetMenuItemID(3), (UINT)-1);

    CString text;
    EXPECT_EQ(menu.GetMenuString(kSave, text, MF_BYCOMMAND), 5);
    EXPECT_EQ(text, CString(L"&Save"));
    EXPECT_EQ(menu.GetMenuString(3, text, MF_BYPOSITION), 5);
    EXPECT_EQ(text, CString(L"&More"));
    EXPECT_EQ(menu.GetMenuString(999, text, MF_BYCOMMAND), 0);
    EXPECT_TRUE(text.IsEmpty());
    WCHAR buffer[4];
    EXPECT_EQ(menu.GetMenuString(kOpen, buffer, 4, MF_BYCOMMAND), 3);
    EXPECT_EQ(CString(buffer), CString(L"&Op"));

    // Check and enable answer with the previous state, or -1 for a missing item.
    EXPECT_EQ(menu.CheckMenuItem(kOpen, MF_BYCOMMAND | MF_CHECKED), (UINT)MF_UNCHECKED);
    EXPECT_EQ(menu.CheckMenuItem(kOpen, MF_BYCOMMAND | MF_UNCHECKED), (UINT)MF_CHECKED);
    EXPECT_EQ(menu.CheckMenuItem(999, MF_BYCOMMAND | MF_CHECKED), (UINT)-1);
    EXPECT_EQ(menu.EnableMenuItem(kSave, MF_BYCOMMAND | MF_ENABLED), (UINT)MF_GRAYED);
    EXPECT_EQ(menu.EnableMenuItem(1, MF_BYPOSITION | MF_GRAYED), (UINT)MF_ENABLED);
    EXPECT_EQ(menu.EnableMenuItem(999, MF_BYCOMMAND | MF_GRAYED), (UINT)-1);
    menu.CheckMenuItem(kOpen, MF_BYCOMMAND | MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(kOpen, MF_BYCOMMAND), (UINT)MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR, (UINT)MF_SEPARATOR);
    EXPECT_EQ(menu.GetMenuState(999, MF_BYCOMMAND), (UINT)-1);

    // The undo item's way of renaming: by command, as a plain string.
    ASSERT_TRUE(menu.ModifyMenu(kSave, MF_BYCOMMAND | MF_STRING | MF_ENABLED, kSave,
                                L"Save &as"));
    menu.GetMenuString(kSave, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString(L"Save &as"));
    EXPECT_EQ(menu.GetMenuState(kSave, MF_BYCOMMAND) & MF_GRAYED, 0u);

    ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 55, L"First"));
    EXPECT_EQ(menu.GetMenuItemID(0), 55u);
    ASSERT_TRUE(menu.DeleteMenu(55, MF_BYCOMMAND));
    ASSERT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_FALSE(menu.DeleteMenu(999, MF_BYCOMMAND));
}

TEST(Menu, DeleteMenuDestroysASubMenuAndRemoveMenuKeepsIt)
{
    CMenu menu, popup;
    BuildFileMenu(menu, popup);
    HMENU hPopup = popup.Detach();
    ASSERT_TRUE(menu.RemoveMenu(3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(hPopup));

    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, (UINT_PTR)hPopup, L"Again"));
    ASSERT_TRUE(menu.DeleteMenu(3, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(hPopup));
}

TEST(Menu, OwnershipFollowsAttachDetachAndDestroy)
{
    HMENU hMenu;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreateMenu());
        hMenu = menu.GetSafeHmenu();
        EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), &menu);
        EXPECT_EQ(CMenu::FromHandle(hMenu), &menu);
    }
    // The destructor destroyed the attached menu and left the map.
    EXPECT_FALSE(IsMenu(hMenu));
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), nullptr);

    hMenu = CreatePopupMenu();
    {
        CMenu menu;
        ASSERT_TRUE(menu.Attach(hMenu));
        EXPECT_EQ((HMENU)menu, hMenu);
        EXPECT_EQ(menu.Detach(), hMenu);
        EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), nullptr);
        EXPECT_FALSE(menu.DestroyMenu());
    }
    EXPECT_TRUE(IsMenu(hMenu));

    CMenu owner;
    ASSERT_TRUE(owner.Attach(hMenu));
    EXPECT_TRUE(owner.DestroyMenu());
    EXPECT_FALSE(owner.DestroyMenu());
    EXPECT_FALSE(IsMenu(hMenu));

    CMenu empty;
    EXPECT_FALSE(empty.Attach(NULL));
    CMenu* pNone = NULL;
    EXPECT_EQ(pNone->GetSafeHmenu(), (HMENU)NULL);
    EXPECT_EQ(CMenu::FromHandle(NULL), nullptr);
}

TEST(Menu, SubMenusAreTemporaryUnlessAnObjectOwnsThem)
{
    CMenu menu, popup;
    BuildFileMenu(menu, popup);
    HMENU hPopup = popup.m_hMenu;

    // Owned: GetSubMenu finds the permanent object.
    EXPECT_EQ(menu.GetSubMenu(3), &popup);
    EXPECT_EQ(menu.GetSubMenu(0), nullptr);

    popup.Detach();
    CMenu* pTemp = menu.GetSubMenu(3);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_NE(pTemp, &popup);
    EXPECT_EQ(pTemp->m_hMenu, hPopup);
    EXPECT_EQ(menu.GetSubMenu(3), pTemp);
    EXPECT_EQ(CMenu::FromHandlePermanent(hPopup), nullptr);
    EXPECT_EQ(pTemp->GetMenuItemID(0), kClose);

    // Cleaning up the wrappers leaves the menus alone.
    AfxDeleteTempMenus();
    EXPECT_TRUE(IsMenu(hPopup));
    EXPECT_EQ(menu.GetSubMenu(3)->GetMenuItemID(0), kClose);

    // Destroyed through its temporary wrapper, the handle may be reused before the cleanup.
    pTemp = menu.GetSubMenu(3);
    menu.RemoveMenu(3, MF_BYPOSITION);
    EXPECT_TRUE(pTemp->DestroyMenu());
    EXPECT_EQ(CMenu::FromHandle(hPopup), pTemp);
    EXPECT_EQ(pTemp->m_hMenu, hPopup);
    AfxDeleteTempMenus();
}

TEST(Menu, LoadMenuUsesTheModuleThatHasTheResource)
{
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(L"NoSuchMenu"));
    EXPECT_EQ(menu.m_hMenu, (HMENU)NULL);

    // The system menu template of USER32 stands in for a menu of the program's own.
    HINSTANCE hUser = GetModuleHandleW(L"user32.dll");
    ASSERT_NE(hUser, (HINSTANCE)NULL);
    HINSTANCE hOld = AfxGetResourceHandle();
    AfxSetResourceHandle(hUser);
    BOOL bLoaded = menu.LoadMenu(L"SYSMENU");
    AfxSetResourceHandle(hOld);
    ASSERT_TRUE(bLoaded);
    EXPECT_EQ(CMenu::FromHandlePermanent(menu.m_hMenu), &menu);
    EXPECT_GT(menu.GetMenuItemCount(), 0);
}

// ---- Owner-drawn items ----

// An owner-drawn menu that sizes each item from its data and paints it in that colour.
class CSwatchMenu : public CMenu
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_nMeasured++;
        m_lastMeasuredID = lpMIS->itemID;
        lpMIS->itemWidth = 60 + (UINT)(lpMIS->itemData & 0xFF) / 16;
        lpMIS->itemHeight = 20;
    }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        m_nDrawn++;
        m_lastDrawnID = lpDIS->itemID;
        m_lastDrawnRect = lpDIS->rcItem;
        CDC* pDC = CDC::FromHandle(lpDIS->hDC);
        pDC->FillSolidRect(&lpDIS->rcItem, (COLORREF)lpDIS->itemData);
    }

    int m_nMeasured = 0;
    int m_nDrawn = 0;
    UINT m_lastMeasuredID = 0;
    UINT m_lastDrawnID = 0;
    CRect m_lastDrawnRect;
};

// The owner window forwards menu items the way the framework's windows do: measuring to
// the menu of the window (WM_MEASUREITEM names no menu), drawing to the permanent object of
// the menu that DRAWITEMSTRUCT names.
LRESULT CALLBACK MenuOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM)
    {
        auto* lpMIS = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        CMenu* pMenu = CMenu::FromHandlePermanent(::GetMenu(hWnd));
        if (lpMIS->CtlType == ODT_MENU && pMenu != NULL)
        {
            pMenu->MeasureItem(lpMIS);
            return TRUE;
        }
    }
    else if (message == WM_DRAWITEM)
    {
        auto* lpDIS = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDIS->hwndItem));
        if (lpDIS->CtlType == ODT_MENU && pMenu != NULL)
        {
            pMenu->DrawItem(lpDIS);
            return TRUE;
        }
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(Menu, OwnerDrawnItemsAreMeasuredAndDrawnByTheirMenu)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MenuOwnerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = L"MosaicMenuOwner";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                20, 20, 300, 200, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);

    const COLORREF kSwatch = RGB(0, 128, 255);
    CSwatchMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(bar.AppendMenu(MF_OWNERDRAW, 7, reinterpret_cast<LPCTSTR>(kSwatch)));

    // Setting the menu lays out the bar, which measures the item.
    ASSERT_TRUE(SetMenu(hWnd, bar.m_hMenu));
    DrawMenuBar(hWnd);
    UpdateWindow(hWnd);
    RedrawWindow(hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);

    EXPECT_GT(bar.m_nMeasured, 0);
    EXPECT_EQ(bar.m_lastMeasuredID, 7u);
    ASSERT_GT(bar.m_nDrawn, 0);
    EXPECT_EQ(bar.m_lastDrawnID, 7u);
    // The bar lays the item out at the measured width, give or take the spacing its font gives.
    EXPECT_NEAR(bar.m_lastDrawnRect.Width(), 60 + 255 / 16, 6);

    // The swatch is on the window: the item's screen rectangle, read in window coordinates.
    CRect item, window;
    ASSERT_TRUE(GetMenuItemRect(hWnd, bar.m_hMenu, 0, &item));
    GetWindowRect(hWnd, &window);
    item.OffsetRect(-window.left, -window.top);
    HDC hDC = GetWindowDC(hWnd);
    EXPECT_EQ(GetPixel(hDC, item.CenterPoint().x, item.CenterPoint().y), kSwatch);
    ReleaseDC(hWnd, hDC);

    SetMenu(hWnd, NULL);
    DestroyWindow(hWnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    AfxDeleteTempGdiMaps();
}

// ---- Tracking a popup ----

HMENU g_hSeenTrackingMenu;
HWND g_hSeenTrackingWindow;

const UINT_PTR kChooseTimer = 1;
const UINT_PTR kGiveUpTimer = 2;

// Measures through the thread's tracking menu, as the framework's windows do for popups, and
// picks the first item with the keyboard once the popup is up.
LRESULT CALLBACK TrackingOwnerProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITMENUPOPUP:
        g_hSeenTrackingMenu = AfxGetTrackingMenu();
        g_hSeenTrackingWindow = AfxGetTrackingWindow();
        return 0;
    case WM_MEASUREITEM:
    {
        auto* lpMIS = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        CMenu* pMenu = CMenu::FromHandlePermanent(AfxGetTrackingMenu());
        if (lpMIS->CtlType == ODT_MENU && pMenu != NULL)
        {
            pMenu->MeasureItem(lpMIS);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM:
    {
        auto* lpDIS = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDIS->hwndItem));
        if (lpDIS->CtlType == ODT_MENU && pMenu != NULL)
        {
            pMenu->DrawItem(lpDIS);
            return TRUE;
        }
        break;
    }
    case WM_TIMER:
        KillTimer(hWnd, wParam);
        if (wParam == kChooseTimer)
        {
            PostMessageW(hWnd, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 0);
        }
        else
            EndMenu();
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST(Menu, TrackPopupMenuRecordsTheTrackingWindowAndMenuWhileItRuns)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TrackingOwnerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"MosaicPopupOwner";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Popup", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                40, 40, 300, 200, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);
    SetForegroundWindow(hWnd);

    CSwatchMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_OWNERDRAW, 41, reinterpret_cast<LPCTSTR>(RGB(200, 0, 0))));
    ASSERT_TRUE(popup.AppendMenu(MF_STRING, 42, L"Plain"));

    g_hSeenTrackingMenu = NULL;
    g_hSeenTrackingWindow = NULL;
    SetTimer(hWnd, kChooseTimer, 100, NULL);
    SetTimer(hWnd, kGiveUpTimer, 3000, NULL);
    BOOL nChosen = popup.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 60, 60,
                                        CWnd::FromHandle(hWnd));
    KillTimer(hWnd, kGiveUpTimer);

    // With TPM_RETURNCMD the result is the command, not a truth value.
    EXPECT_EQ(nChosen, 41);
    EXPECT_EQ(g_hSeenTrackingMenu, popup.m_hMenu);
    EXPECT_EQ(g_hSeenTrackingWindow, hWnd);
    EXPECT_GT(popup.m_nMeasured, 0);
    EXPECT_EQ(popup.m_lastMeasuredID, 41u);
    EXPECT_EQ(AfxGetTrackingMenu(), (HMENU)NULL);
    EXPECT_EQ(AfxGetTrackingWindow(), (HWND)NULL);

    DestroyWindow(hWnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    AfxDeleteTempMaps();
}

// ---- Through the framework's windows ----

HWND g_hKeyTarget;

void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(NULL, idEvent);
    PostMessageW(g_hKeyTarget, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(g_hKeyTarget, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(NULL, idEvent);
    EndMenu();
}

TEST(Menu, AFrameworkWindowRoutesOwnerDrawnItemsToTheirMenu)
{
    CWnd wnd;
    LPCTSTR lpszClass = AfxRegisterWndClass(0, NULL, (HBRUSH)GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(wnd.CreateEx(0, lpszClass, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                             300, 200, NULL, NULL));

    // A menu-bar item: measured when the bar is laid out, drawn when it is painted.
    CSwatchMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(bar.AppendMenu(MF_OWNERDRAW, 7, reinterpret_cast<LPCTSTR>(RGB(0, 160, 0))));
    ASSERT_TRUE(wnd.SetMenu(&bar));
    wnd.DrawMenuBar();
    RedrawWindow(wnd.m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(bar.m_lastMeasuredID, 7u);
    EXPECT_EQ(bar.m_lastDrawnID, 7u);

    // A popup item: measured through the menu being tracked.
    CSwatchMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_OWNERDRAW, 8, reinterpret_cast<LPCTSTR>(RGB(0, 0, 160))));
    g_hKeyTarget = wnd.m_hWnd;
    UINT_PTR idChoose = SetTimer(NULL, 0, 100, ChooseFirstItem);
    UINT_PTR idGiveUp = SetTimer(NULL, 0, 3000, GiveUp);
    BOOL nChosen = popup.TrackPopupMenu(TPM_RETURNCMD, 80, 80, &wnd);
    KillTimer(NULL, idChoose);
    KillTimer(NULL, idGiveUp);
    EXPECT_EQ(nChosen, 8);
    EXPECT_EQ(popup.m_lastMeasuredID, 8u);
    EXPECT_EQ(popup.m_lastDrawnID, 8u);

    wnd.SetMenu(NULL);
    wnd.DestroyWindow();
    AfxDeleteTempMaps();
}

} // namespace
