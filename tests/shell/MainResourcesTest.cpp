// The main window's resources as Windows loads them: the menu bar and the places where the
// frame looks for its sub-menus, the accelerators and the shortcuts the menu shows, the two
// toolbars and their bitmaps, the icon, the About box and the strings the window uses.
#include "MosaicTest.h"

#include <map>
#include <set>
#include <vector>

#include "AfxString.h"
#include "resource.h"

namespace {

const WORD RT_TOOLBAR_TYPE = 241;  // MFC's toolbar resource

HINSTANCE Module()
{
    return ::GetModuleHandleW(NULL);
}

// Commands of the menu bar and the popup (by position) each belongs to: those the frame
// translates, then those it removes.
struct MenuCommand
{
    UINT nID;
    int nPopup;
};

const MenuCommand kTranslatedCommands[] = {
    {57600, 0}, {57601, 0}, {33039, 0}, {57603, 0}, {57604, 0}, {32836, 0}, {57607, 0},
    {57609, 0}, {57606, 0}, {32907, 0}, {57665, 0},
    {32771, 1}, {57634, 1}, {57637, 1}, {32777, 1}, {32776, 1}, {32783, 1}, {32784, 1},
    {32772, 2}, {32774, 2}, {32775, 2}, {32950, 2},
    {32942, 3}, {32943, 3}, {32944, 3}, {32954, 3}, {32888, 3}, {33030, 3}, {32971, 3},
    {32972, 3},
    {33065, 4}, {33066, 4}, {33072, 4}, {33068, 4}, {33069, 4}, {33067, 4}, {33070, 4},
    {33071, 4},
    {32778, 5}, {32829, 5}, {32891, 5}, {32892, 5}, {32893, 5}, {32780, 5}, {32792, 5},
    {57667, 7}, {61460, 7}, {57664, 7}, {32973, 7}, {32995, 7},
    {130, 6}, {131, 6}, {132, 6}, {134, 6}, {135, 6}, {136, 6}, {137, 6}, {138, 6}, {139, 6},
    {140, 6}, {141, 6}, {142, 6}, {143, 6}, {144, 6}, {145, 6}, {146, 6}, {147, 6}, {148, 6},
    {149, 6}, {150, 6}, {152, 6},
};

// The frame removes these at start-up, so the menu must hold them.
const MenuCommand kRemovedCommands[] = {{33048, 5}, {152, 6}, {33047, 5}};

const UINT kMainToolbar[] = {
    57600, 57601, 0, 32771, 0, 32785, 32781, 0, 32789, 32790, 32893, 0, 32904, 0, 33060,
    33061, 33062, 33063, 33064, 0, 33012, 33011, 32912, 0, 32948, 0, 32914, 32780};

CString MenuText(HMENU hMenu, UINT nPos)
{
    WCHAR szText[256] = {0};
    ::GetMenuStringW(hMenu, nPos, szText, 256, MF_BYPOSITION);
    return CString(szText);
}

// Every command item of the menu and of its sub-menus, with the text it shows.
void CollectCommands(HMENU hMenu, std::multimap<UINT, CString>& items)
{
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++)
    {
        if (HMENU hSub = ::GetSubMenu(hMenu, i))
            CollectCommands(hSub, items);
        else if (::GetMenuItemID(hMenu, i) != 0)
            items.emplace(::GetMenuItemID(hMenu, i), MenuText(hMenu, i));
    }
}

std::set<UINT> CommandsOf(HMENU hMenu)
{
    std::multimap<UINT, CString> items;
    CollectCommands(hMenu, items);
    std::set<UINT> ids;
    for (auto& item : items)
        ids.insert(item.first);
    return ids;
}

class MenuBar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hMenu = ::LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
        ASSERT_TRUE(m_hMenu != NULL);
        CollectCommands(m_hMenu, m_items);
    }
    void TearDown() override
    {
        if (m_hMenu)
            ::DestroyMenu(m_hMenu);
    }
    HMENU Popup(int nPos) { return ::GetSubMenu(m_hMenu, nPos); }

    HMENU m_hMenu = NULL;
    std::multimap<UINT, CString> m_items;
};

TEST_F(MenuBar, HasEightPopupsWithTheirSubMenusWhereTheFrameLooks)
{
    ASSERT_EQ(8, ::GetMenuItemCount(m_hMenu));
    for (int i = 0; i < 8; i++)
        ASSERT_TRUE(Popup(i) != NULL) << "popup " << i;

    // Position -> the commands the sub-menu at that place holds.
    struct SubMenu { int nPopup; int nPos; std::set<UINT> ids; };
    const SubMenu subMenus[] = {
        {1, 4, {32777, 32776}},
        {1, 6, {32783, 32784}},
        {3, 0, {32942, 32943, 32944, 32954, 32971, 32972}},
        {5, 2, {32891, 32892, 32893}},
    };
    int nSubMenus = 0;
    for (int i = 0; i < 8; i++)
        for (int j = 0; j < ::GetMenuItemCount(Popup(i)); j++)
            nSubMenus += ::GetSubMenu(Popup(i), j) != NULL;
    EXPECT_EQ(4, nSubMenus);
    for (const SubMenu& sub : subMenus)
    {
        HMENU hSub = ::GetSubMenu(Popup(sub.nPopup), sub.nPos);
        ASSERT_TRUE(hSub != NULL) << "popup " << sub.nPopup << " position " << sub.nPos;
        EXPECT_EQ(sub.ids, CommandsOf(hSub)) << "popup " << sub.nPopup << " position " << sub.nPos;
    }
}

TEST_F(MenuBar, HoldsEveryTranslatedAndRemovedCommandOnceInItsPopup)
{
    std::vector<MenuCommand> commands(std::begin(kTranslatedCommands), std::end(kTranslatedCommands));
    commands.insert(commands.end(), std::begin(kRemovedCommands), std::end(kRemovedCommands));
    for (const MenuCommand& command : commands)
    {
        EXPECT_EQ(1u, m_items.count(command.nID)) << "command " << command.nID;
        EXPECT_EQ(1u, CommandsOf(Popup(command.nPopup)).count(command.nID))
            << "command " << command.nID << " in popup " << command.nPopup;
    }
    // No command twice anywhere, and no item without a text.
    for (auto& item : m_items)
    {
        EXPECT_EQ(1u, m_items.count(item.first)) << "command " << item.first;
        EXPECT_FALSE(item.second.IsEmpty()) << "command " << item.first;
    }
}

TEST_F(MenuBar, PaletteKeepsFiveFixedItemsForTheFilesToFollow)
{
    HMENU hPalette = Popup(3);
    ASSERT_EQ(5, ::GetMenuItemCount(hPalette));
    EXPECT_TRUE(::GetSubMenu(hPalette, 0) != NULL);
    EXPECT_EQ(33030u, ::GetMenuItemID(hPalette, 1));
    EXPECT_EQ(MF_SEPARATOR, ::GetMenuState(hPalette, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(32888u, ::GetMenuItemID(hPalette, 3));
    EXPECT_EQ(MF_SEPARATOR, ::GetMenuState(hPalette, 4, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(MenuBar, DefaultTextsAreFrench)
{
    const struct { UINT nID; const WCHAR* pszText; } texts[] = {
        {32771, L"&Annuler\tCtrl+Z"},
        {57634, L"&Copier\tCtrl+C"},
        {33065, L"&Carrés"},
        {33066, L"C&arrés à 45 °"},
        {33072, L"&Joints croisés"},
        {32774, L"Réduction &Couleurs"},
        {57664, L"&A propos de Vitrolan..."},
        {130, L"Français"},
        {152, L"Russe"},
    };
    for (auto& text : texts)
    {
        auto it = m_items.find(text.nID);
        ASSERT_TRUE(it != m_items.end()) << "command " << text.nID;
        EXPECT_EQ(CString(text.pszText), it->second);
    }
    EXPECT_EQ(CString(L"Pa&vage"), MenuText(m_hMenu, 4));
}

// The accelerator table as the frame loads it, and the shortcut each menu item shows.
std::vector<ACCEL> AcceleratorTable()
{
    HACCEL hAccel = ::LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!hAccel)
        return {};
    std::vector<ACCEL> table(::CopyAcceleratorTableW(hAccel, NULL, 0));
    ::CopyAcceleratorTableW(hAccel, table.data(), (int)table.size());
    ::DestroyAcceleratorTable(hAccel);
    return table;
}

CString ShortcutName(const ACCEL& accel)
{
    CString name;
    if (accel.key >= VK_F1 && accel.key <= VK_F24)
        name.Format(L"F%d", accel.key - VK_F1 + 1);
    else
        name.Format(L"%c", (WCHAR)accel.key);
    if (accel.fVirt & FCONTROL)
        name = L"Ctrl+" + name;
    return name;
}

TEST_F(MenuBar, AcceleratorsAreTheFramesAndTheMenuShowsThem)
{
    // (key, command), all virtual keys; the letters with Ctrl.
    const std::set<std::pair<WORD, WORD>> expectedPlain = {
        {VK_F1, 57667}, {VK_F2, 32942}, {VK_F3, 32943}, {VK_F4, 32954}, {VK_F5, 32891},
        {VK_F6, 32892}, {VK_F7, 32893}, {VK_INSERT, 32918}};
    const std::set<std::pair<WORD, WORD>> expectedCtrl = {
        {'Z', 32771}, {'C', 57634}, {'V', 57637}, {'N', 57600}, {'O', 57601}, {'S', 57603},
        {'P', 57607}};
    std::vector<ACCEL> table = AcceleratorTable();
    ASSERT_EQ(expectedPlain.size() + expectedCtrl.size(), table.size());
    std::map<UINT, CString> shortcuts;
    for (const ACCEL& accel : table)
    {
        BYTE fModifiers = accel.fVirt & ~FNOINVERT;
        std::pair<WORD, WORD> entry(accel.key, accel.cmd);
        if (fModifiers == FVIRTKEY)
            EXPECT_EQ(1u, expectedPlain.count(entry)) << "key " << accel.key << " command " << accel.cmd;
        else
        {
            EXPECT_EQ(FVIRTKEY | FCONTROL, fModifiers) << "key " << accel.key;
            EXPECT_EQ(1u, expectedCtrl.count(entry)) << "key " << accel.key << " command " << accel.cmd;
        }
        shortcuts[accel.cmd] = ShortcutName(accel);
    }

    // A shortcut after the tab names the accelerator of that command, and every command
    // with an accelerator in the menu shows it.
    for (auto& item : m_items)
    {
        int nTab = item.second.Find(L'\t');
        auto it = shortcuts.find(item.first);
        if (nTab < 0)
        {
            EXPECT_TRUE(it == shortcuts.end()) << "command " << item.first << " shows no shortcut";
            continue;
        }
        ASSERT_TRUE(it != shortcuts.end()) << "command " << item.first << " has no accelerator";
        EXPECT_EQ(it->second, item.second.Mid(nTab + 1)) << "command " << item.first;
    }
}

// A toolbar resource: version, image size and the button ids (0 for a separator).
struct ToolbarResource
{
    bool bFound = false;
    WORD wVersion = 0, cx = 0, cy = 0;
    std::vector<UINT> ids;
};

ToolbarResource LoadToolbar(UINT nID)
{
    ToolbarResource toolbar;
    HRSRC hRes = ::FindResourceW(Module(), MAKEINTRESOURCEW(nID), MAKEINTRESOURCEW(RT_TOOLBAR_TYPE));
    if (!hRes)
        return toolbar;
    const WORD* pData = (const WORD*)::LockResource(::LoadResource(Module(), hRes));
    toolbar.bFound = true;
    toolbar.wVersion = pData[0];
    toolbar.cx = pData[1];
    toolbar.cy = pData[2];
    toolbar.ids.assign(pData + 4, pData + 4 + pData[3]);
    return toolbar;
}

std::vector<UINT> Buttons(const std::vector<UINT>& ids)
{
    std::vector<UINT> buttons;
    for (UINT nID : ids)
        if (nID != 0)
            buttons.push_back(nID);
    return buttons;
}

SIZE BitmapSize(UINT nID)
{
    SIZE size = {0, 0};
    HBITMAP hBitmap = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(nID));
    if (hBitmap)
    {
        BITMAP bm;
        ::GetObjectW(hBitmap, sizeof(bm), &bm);
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
        ::DeleteObject(hBitmap);
    }
    return size;
}

// The bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<DWORD> BitmapPixels(UINT nID, SIZE size)
{
    std::vector<DWORD> pixels(size.cx * size.cy);
    HBITMAP hBitmap = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(nID));
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = size.cx;
    bmi.bmiHeader.biHeight = -size.cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hDC = ::GetDC(NULL);
    ::GetDIBits(hDC, hBitmap, 0, size.cy, pixels.data(), &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hDC);
    ::DeleteObject(hBitmap);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

const DWORD kMagenta = 0xFF00FF;

TEST(Toolbars, MainToolbarHasItsButtonsAndImagesInOrder)
{
    ToolbarResource toolbar = LoadToolbar(IDR_MAINFRAME);
    ASSERT_TRUE(toolbar.bFound);
    EXPECT_EQ(1, toolbar.wVersion);
    EXPECT_EQ(32, toolbar.cx);
    EXPECT_EQ(32, toolbar.cy);
    EXPECT_EQ(std::vector<UINT>(std::begin(kMainToolbar), std::end(kMainToolbar)), toolbar.ids);

    // One 32 x 32 image per button in the toolbar's bitmap and in the image lists' bitmaps.
    LONG cxStrip = 32 * (LONG)Buttons(toolbar.ids).size();
    for (UINT nBitmap : {IDR_MAINFRAME, IDB_TOOLBAR_IMAGES, IDB_TOOLBAR_DISABLED})
    {
        SIZE size = BitmapSize(nBitmap);
        EXPECT_EQ(cxStrip, size.cx) << "bitmap " << nBitmap;
        EXPECT_EQ(32, size.cy) << "bitmap " << nBitmap;
    }

    // The image lists mask magenta; the unavailable images are grey.
    SIZE size = BitmapSize(IDB_TOOLBAR_IMAGES);
    std::vector<DWORD> normal = BitmapPixels(IDB_TOOLBAR_IMAGES, size);
    EXPECT_EQ(kMagenta, normal[0]);
    std::vector<DWORD> disabled = BitmapPixels(IDB_TOOLBAR_DISABLED, size);
    int nColoured = 0, nTransparent = 0;
    for (DWORD pixel : disabled)
    {
        if (pixel == kMagenta)
            nTransparent++;
        else if ((pixel & 0xFF) != ((pixel >> 8) & 0xFF) || (pixel & 0xFF) != (pixel >> 16))
            nColoured++;
    }
    EXPECT_EQ(0, nColoured);
    EXPECT_GT(nTransparent, 0);
}

TEST(Toolbars, MenuIconsCoverTheMenuAndToolbarCommands)
{
    ToolbarResource icons = LoadToolbar(IDR_MENU_ICONS);
    ASSERT_TRUE(icons.bFound);
    EXPECT_EQ(16, icons.cx);
    EXPECT_EQ(16, icons.cy);
    std::vector<UINT> buttons = Buttons(icons.ids);
    std::set<UINT> ids(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons.size(), ids.size()) << "a command with two icons";

    std::set<UINT> required = {32771, 57603, 57600, 57601, 57607, 57609, 57634, 57637,
                               33065, 33066, 33067, 33068, 33069, 33070, 33071, 33072};
    for (UINT nID : kMainToolbar)
        if (nID != 0)
            required.insert(nID);
    for (UINT nID : required)
        EXPECT_EQ(1u, ids.count(nID)) << "command " << nID;

    // The menu masks the colour of the top-left pixel.
    SIZE size = BitmapSize(IDR_MENU_ICONS);
    EXPECT_EQ(16 * (LONG)buttons.size(), size.cx);
    EXPECT_EQ(16, size.cy);
    EXPECT_EQ(kMagenta, BitmapPixels(IDR_MENU_ICONS, size)[0]);
}

TEST(Toolbars, PaletteBarsHaveThirtyTwoImagesAndNothingIsNumberedOne)
{
    for (UINT nBitmap : {IDB_IMAGE_PALETTE_BAR, IDB_TILE_PALETTE_BAR})
    {
        SIZE size = BitmapSize(nBitmap);
        EXPECT_EQ(32 * 16, size.cx) << "bitmap " << nBitmap;
        EXPECT_EQ(16, size.cy) << "bitmap " << nBitmap;
    }
    // The owner-drawn menu asks for toolbar 1 to take an item's icon away.
    EXPECT_TRUE(::FindResourceW(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(RT_TOOLBAR_TYPE)) == NULL);
    EXPECT_TRUE(::FindResourceW(Module(), MAKEINTRESOURCEW(1), RT_BITMAP) == NULL);
}

TEST(ProgramIcon, HoldsSixteenThirtyTwoAndFortyEightPixelImages)
{
    HRSRC hRes = ::FindResourceW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_TRUE(hRes != NULL);
    BYTE* pDir = (BYTE*)::LockResource(::LoadResource(Module(), hRes));
    std::set<int> sizes;
    // The group directory: three WORDs, then 14-byte entries beginning with width and height.
    int nCount = ((WORD*)pDir)[2];
    for (int i = 0; i < nCount; i++)
    {
        BYTE* pEntry = pDir + 6 + 14 * i;
        EXPECT_EQ(pEntry[0], pEntry[1]);
        sizes.insert(pEntry[0]);
    }
    EXPECT_EQ((std::set<int>{16, 32, 48}), sizes);

    for (int nSize : {16, 32, 48})
    {
        int nIcon = ::LookupIconIdFromDirectoryEx(pDir, TRUE, nSize, nSize, LR_DEFAULTCOLOR);
        HRSRC hIconRes = ::FindResourceW(Module(), MAKEINTRESOURCEW(nIcon), RT_ICON);
        ASSERT_TRUE(hIconRes != NULL) << nSize;
        HICON hIcon = ::CreateIconFromResourceEx((BYTE*)::LockResource(::LoadResource(Module(), hIconRes)),
                                                 ::SizeofResource(Module(), hIconRes), TRUE, 0x00030000,
                                                 0, 0, LR_DEFAULTCOLOR);
        ASSERT_TRUE(hIcon != NULL) << nSize;
        ICONINFO info;
        ASSERT_TRUE(::GetIconInfo(hIcon, &info));
        BITMAP bm;
        ::GetObjectW(info.hbmColor, sizeof(bm), &bm);
        EXPECT_EQ(nSize, bm.bmWidth);
        EXPECT_EQ(nSize, bm.bmHeight);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(hIcon);
    }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT uMsg, WPARAM, LPARAM)
{
    return uMsg == WM_INITDIALOG;
}

TEST(AboutBox, HasFiveTextsTheProgramIconAndOk)
{
    HWND hDlg = ::CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_ABOUTBOX), NULL, QuietDialogProc, 0);
    ASSERT_TRUE(hDlg != NULL);
    for (int nID = IDC_ABOUT_VERSION; nID <= IDC_ABOUT_LINE_4; nID++)
    {
        HWND hText = ::GetDlgItem(hDlg, nID);
        ASSERT_TRUE(hText != NULL) << "control " << nID;
        EXPECT_GT(::GetWindowTextLengthW(hText), 0) << "control " << nID;
    }
    EXPECT_TRUE(::GetDlgItem(hDlg, IDOK) != NULL);

    HWND hIcon = NULL;
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if ((::GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            hIcon = hChild;
    ASSERT_TRUE(hIcon != NULL);
    EXPECT_TRUE(::SendMessageW(hIcon, STM_GETICON, 0, 0) != 0);
    ::DestroyWindow(hDlg);
}

CString ResourceString(UINT nID)
{
    WCHAR szText[512] = {0};
    ::LoadStringW(Module(), nID, szText, 512);
    return CString(szText);
}

TEST(Strings, NameDocumentAndToolTipsButNoPaletteButtons)
{
    EXPECT_EQ(CString(L"Mosaic"), ResourceString(57344));
    EXPECT_EQ(CString(L"\n\n\nMosaic Files  (*.ms2)\n.ms2\n\nMS2.image\nMS2 image\n"),
              ResourceString(IDR_MAINFRAME));

    // The framework shows what follows the line break as the button's tip.
    for (UINT nID : kMainToolbar)
    {
        if (nID == 0)
            continue;
        CString text = ResourceString(nID);
        int nBreak = text.Find(L'\n');
        ASSERT_GT(nBreak, 0) << "command " << nID;
        EXPECT_GT(text.GetLength(), nBreak + 1) << "command " << nID;
    }

    // A palette button's tip would cover the colours; these ids share blocks with others.
    WCHAR szText[8];
    for (UINT nID = 32793; nID <= 32824; nID++)
        EXPECT_EQ(0, ::LoadStringW(Module(), nID, szText, 8)) << nID;
    for (UINT nID = 57346; nID <= 57377; nID++)
        EXPECT_EQ(0, ::LoadStringW(Module(), nID, szText, 8)) << nID;
}

}  // namespace
