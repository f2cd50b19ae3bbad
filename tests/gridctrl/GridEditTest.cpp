// In-place editing with real messages: what opens an editor and with which text, the keys
// that end it and where the focus goes next, the owner's say, an editor that cannot be
// made, drop-down lists, and the title tip.
#include "MosaicTest.h"

#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "GridTestSupport.h"
#include "InPlaceList.h"

namespace
{

const int kBeginEdit = (int)LVN_BEGINLABELEDITW;
const int kEndEdit = (int)LVN_ENDLABELEDITW;

class GridEdit : public GridInput
{
protected:
    // The open editor: the window with the focus, a child of the grid with the editors' id.
    HWND Editor() const
    {
        HWND hWnd = ::GetFocus();
        return hWnd != NULL && ::GetParent(hWnd) == m_grid.m_hWnd &&
                       ::GetDlgCtrlID(hWnd) == (int)IDC_INPLACE_CONTROL
                   ? hWnd
                   : NULL;
    }
    static CString TextOf(HWND hWnd)
    {
        CString strText;
        CWnd::FromHandle(hWnd)->GetWindowText(strText);
        return strText;
    }
    // Focuses the cell and types the character on the grid.
    HWND TypeOn(int nRow, int nCol, UINT nChar)
    {
        m_grid.SetFocusCellRowCol(nRow, nCol);
        m_grid.SetFocus();
        m_grid.SendMessage(WM_CHAR, nChar, 0);
        PumpGridMessages();
        return Editor();
    }
    static void Press(HWND hWnd, UINT nKey, bool bCtrl = false)
    {
        CHeldKeys keys(bCtrl, false);
        ::SendMessageW(hWnd, WM_KEYDOWN, nKey, 0);
        ::SendMessageW(hWnd, WM_KEYUP, nKey, 0);
    }
};

TEST_F(GridEdit, ATypedCharacterReplacesTheTextAndEnterStoresIt)
{
    // Space and punctuation are text too.
    for (UINT nChar : { (UINT)L'x', (UINT)L' ', (UINT)L'(', (UINT)L'%', (UINT)L'$', (UINT)0xE9 })
    {
        SCOPED_TRACE(nChar);
        m_grid.SetItemText(2, 2, L"old");
        m_owner.m_notifications.clear();
        HWND hEdit = TypeOn(2, 2, nChar);
        ASSERT_NE(nullptr, hEdit);
        EXPECT_TRUE(m_grid.IsItemEditing(2, 2));
        EXPECT_EQ(CString((WCHAR)nChar), TextOf(hEdit));
        ::SendMessageW(hEdit, WM_CHAR, VK_RETURN, 0);
        EXPECT_FALSE(::IsWindow(hEdit)) << "the editor closed";
        EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
        EXPECT_EQ(CString((WCHAR)nChar), m_grid.GetItemText(2, 2));
        EXPECT_TRUE(m_grid.GetCell(2, 2)->IsModified());
        EXPECT_EQ(m_grid.m_hWnd, ::GetFocus());
        EXPECT_EQ(std::vector<int>({ kBeginEdit, kEndEdit }), m_owner.Codes());
        EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell()) << "Enter stays on the cell";
    }
}

TEST_F(GridEdit, F2AndAClickKeepTheTextWithTheCaretAtItsEnd)
{
    m_grid.SetFocusCellRowCol(3, 1);
    Key(VK_F2);
    HWND hEdit = Editor();
    ASSERT_NE(nullptr, hEdit);
    ::SendMessageW(hEdit, WM_CHAR, L'!', 0);
    EXPECT_EQ(CString(L"3,1!"), TextOf(hEdit));
    ::SendMessageW(hEdit, WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(CString(L"3,1!"), m_grid.GetItemText(3, 1));

    // A click on the focus cell's text edits it when the button comes up.
    Click(2, 3);
    EXPECT_EQ(nullptr, Editor());
    Click(2, 3);
    hEdit = Editor();
    ASSERT_NE(nullptr, hEdit);
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    EXPECT_EQ(3u, dwStart);
    EXPECT_EQ(3u, dwEnd);
}

TEST_F(GridEdit, TheEditorWidensToItsTextUpToTheGridsEdge)
{
    HWND hEdit = TypeOn(2, 3, L'W');
    ASSERT_NE(nullptr, hEdit);
    CRect rectBefore;
    ::GetWindowRect(hEdit, rectBefore);
    for (int i = 0; i < 6; i++)
        ::SendMessageW(hEdit, WM_CHAR, L'W', 0);
    CRect rectWider;
    ::GetWindowRect(hEdit, rectWider);
    EXPECT_GT(rectWider.Width(), rectBefore.Width());
    EXPECT_EQ(rectBefore.left, rectWider.left);
    for (int i = 0; i < 60; i++)
        ::SendMessageW(hEdit, WM_CHAR, L'W', 0);
    CRect rectClient, rectWidest;
    m_grid.GetClientRect(rectClient);
    m_grid.ClientToScreen(rectClient);
    ::GetWindowRect(hEdit, rectWidest);
    EXPECT_EQ(rectClient.right, rectWidest.right) << "no further than the grid";
    HoldForLooking();
}

TEST_F(GridEdit, EscapeEndsWithTheOldTextStored)
{
    HWND hEdit = TypeOn(2, 2, L'x');
    ASSERT_NE(nullptr, hEdit);
    m_owner.m_notifications.clear();
    ::SendMessageW(hEdit, WM_CHAR, VK_ESCAPE, 0);
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(CString(L"2,2"), m_grid.GetItemText(2, 2));
    EXPECT_FALSE(m_grid.GetCell(2, 2)->IsModified());
    EXPECT_TRUE(m_owner.m_notifications.empty()) << "nothing changed, nothing to tell";
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
}

TEST_F(GridEdit, ArrowsAndTabMoveTheEditAlongUntilTheEdge)
{
    // Opened by typing, Down stores and edits the cell below with its text selected.
    HWND hEdit = TypeOn(4, 2, L'a');
    ASSERT_NE(nullptr, hEdit);
    Press(hEdit, VK_DOWN);
    EXPECT_EQ(CString(L"a"), m_grid.GetItemText(4, 2));
    EXPECT_EQ(CCellID(5, 2), m_grid.GetFocusCell());
    hEdit = Editor();
    ASSERT_NE(nullptr, hEdit);
    EXPECT_TRUE(m_grid.IsItemEditing(5, 2));
    DWORD dwStart = 1, dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(3u, dwEnd);

    // On the last row Down leads nowhere: the edit ends there.
    Press(hEdit, VK_DOWN);
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(nullptr, Editor());
    EXPECT_FALSE(m_grid.IsItemEditing(5, 2));
    EXPECT_EQ(CCellID(5, 2), m_grid.GetFocusCell());

    // Tab goes on to the next cell, and ends on the last one.
    hEdit = TypeOn(5, 3, L'b');
    ::SendMessageW(hEdit, WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(CCellID(5, 4), m_grid.GetFocusCell());
    hEdit = Editor();
    ASSERT_NE(nullptr, hEdit);
    ::SendMessageW(hEdit, WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(nullptr, Editor());
    EXPECT_EQ(CString(L"b"), m_grid.GetItemText(5, 3));

    // Opened by F2, the arrows move the caret; with Ctrl they leave.
    m_grid.SetFocusCellRowCol(2, 2);
    Key(VK_F2);
    hEdit = Editor();
    ASSERT_NE(nullptr, hEdit);
    Press(hEdit, VK_LEFT);
    Press(hEdit, VK_DOWN);
    EXPECT_EQ(hEdit, Editor());
    Press(hEdit, VK_DOWN, true);
    EXPECT_EQ(CCellID(3, 2), m_grid.GetFocusCell());
    EXPECT_NE(nullptr, Editor());
}

TEST_F(GridEdit, TheOwnerMayRefuseAnEdit)
{
    m_owner.m_answers[kBeginEdit] = -1;
    EXPECT_EQ(nullptr, TypeOn(2, 2, L'x'));
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
    // Read-only cells open nothing either.
    m_owner.m_answers.clear();
    m_grid.SetItemState(3, 3, m_grid.GetItemState(3, 3) | GridCellReadOnly);
    EXPECT_EQ(nullptr, TypeOn(3, 3, L'x'));

    // An owner refusing the text afterwards keeps the old one.
    m_owner.m_answers[kEndEdit] = -1;
    HWND hEdit = TypeOn(2, 2, L'x');
    ASSERT_NE(nullptr, hEdit);
    ::SendMessageW(hEdit, WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(CString(L"2,2"), m_grid.GetItemText(2, 2));
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
}

// Refuses to make windows of the class named.
class CWindowRefusal
{
public:
    explicit CWindowRefusal(LPCWSTR szClass)
    {
        s_szClass = szClass;
        m_hHook = ::SetWindowsHookExW(WH_CBT, Hook, NULL, ::GetCurrentThreadId());
    }
    ~CWindowRefusal() { ::UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_CREATEWND)
        {
            WCHAR szClass[64] = {};
            ::GetClassNameW((HWND)wParam, szClass, 64);
            if (lstrcmpiW(szClass, s_szClass) == 0)
                return 1;
        }
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    static LPCWSTR s_szClass;
    HHOOK m_hHook;
};
LPCWSTR CWindowRefusal::s_szClass = L"";

TEST_F(GridEdit, AnEditorWithoutWindowEndsTheEditAndEndingTwiceIsHarmless)
{
    {
        CWindowRefusal refusal(L"Edit");
        m_grid.SetFocusCellRowCol(2, 2);
        EXPECT_FALSE(m_grid.BeginCellEdit(2, 2, CPoint(-1, -1), L'x'));
        EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
        EXPECT_EQ(nullptr, m_grid.GetCell(2, 2)->GetEditWnd());
        m_grid.EndEditing();
    }
    HWND hEdit = TypeOn(2, 2, L'y');
    ASSERT_NE(nullptr, hEdit) << "the cell edits again";
    m_owner.m_notifications.clear();
    m_grid.EndEditing();
    m_grid.EndEditing();
    m_grid.GetCell(2, 2)->EndEdit();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(std::vector<int>({ kEndEdit }), m_owner.Codes());
    EXPECT_EQ(CString(L"y"), m_grid.GetItemText(2, 2));

    // A grid closing under an open editor takes it along.
    hEdit = TypeOn(3, 3, L'z');
    ASSERT_NE(nullptr, hEdit);
    m_grid.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_FALSE(m_grid.IsItemEditing(3, 3));
}

TEST_F(GridEdit, AComboCellDropsItsOptionsDown)
{
    ASSERT_TRUE(m_grid.SetCellType(2, 2, RUNTIME_CLASS(CGridCellCombo)));
    CGridCellCombo* pCombo = (CGridCellCombo*)m_grid.GetCell(2, 2);
    CStringArray options;
    options.Add(L"Reste");
    options.Add(L"Monte");
    options.Add(L"Descend");
    pCombo->SetOptions(options);
    m_grid.SetItemText(2, 2, L"Autre");

    m_grid.SetFocusCellRowCol(2, 2);
    Key(VK_F2);
    CInPlaceList* pList =
        dynamic_cast<CInPlaceList*>(CWnd::FromHandlePermanent(::GetParent(::GetFocus())));
    ASSERT_NE(nullptr, pList);
    EXPECT_EQ(CString(L"Autre"), TextOf(pList->m_hWnd)) << "a text that is no option shows";
    EXPECT_EQ(CB_ERR, pList->GetCurSel());
    EXPECT_TRUE(pList->GetDroppedState());
    EXPECT_EQ(pCombo->GetEditWnd(), &pList->GetEditPart());
    EXPECT_LE(pList->ComputeDropWidth(), 200);

    // Enter in the edit part ends the edit with the option chosen.
    pList->SetCurSel(1);
    HWND hList = pList->m_hWnd;
    Press(pList->GetEditPart().m_hWnd, VK_RETURN);
    PumpGridMessages();
    EXPECT_FALSE(::IsWindow(hList));
    EXPECT_EQ(CString(L"Monte"), m_grid.GetItemText(2, 2));
    EXPECT_FALSE(m_grid.IsItemEditing(2, 2));

    // An option equal to the text is selected, not one that merely starts with it; a very
    // long option drops down no wider than 200 pixels.
    options.Add(CString(L'W', 120));
    options.Add(L"Mon");
    pCombo->SetOptions(options);
    pCombo->SetStyle(CBS_DROPDOWNLIST);
    m_grid.SetItemText(2, 2, L"Mon");
    Key(VK_F2);
    pList = dynamic_cast<CInPlaceList*>(CWnd::FromHandlePermanent(::GetFocus()));
    ASSERT_NE(nullptr, pList);
    EXPECT_EQ(4, pList->GetCurSel());
    EXPECT_EQ(200, pList->ComputeDropWidth());
    EXPECT_EQ(nullptr, pCombo->GetEditWnd()) << "a list without edit part";
    hList = pList->m_hWnd;
    Press(hList, VK_ESCAPE);
    PumpGridMessages();
    EXPECT_FALSE(::IsWindow(hList));
    EXPECT_EQ(CString(L"Mon"), m_grid.GetItemText(2, 2));
}

// A check cell holds a choice, not a text: Space and a click on its box toggle it, and
// nothing opens an editor over it.
TEST_F(GridEdit, ACheckCellTogglesOnSpaceAndOnItsBoxAndIsNeverTyped)
{
    ASSERT_TRUE(m_grid.SetCellType(2, 2, RUNTIME_CLASS(CGridCellCheck)));
    CGridCellCheck* pCheck = DYNAMIC_DOWNCAST(CGridCellCheck, m_grid.GetCell(2, 2));
    ASSERT_NE(nullptr, pCheck);
    m_grid.RedrawWindow();   // the box is where the cell was last drawn
    const CRect rectBox = pCheck->GetCheckRect();
    ASSERT_FALSE(rectBox.IsRectEmpty());
    auto expectUntyped = [&](const char* szWhat) {
        SCOPED_TRACE(szWhat);
        EXPECT_EQ(nullptr, Editor());
        EXPECT_FALSE(m_grid.IsItemEditing(2, 2));
        EXPECT_EQ(CString(L"2,2"), m_grid.GetItemText(2, 2));
    };

    TypeOn(2, 2, L' ');
    EXPECT_TRUE(pCheck->GetCheck()) << "Space";
    expectUntyped("Space");
    TypeOn(2, 2, L' ');
    EXPECT_FALSE(pCheck->GetCheck()) << "Space again";
    for (UINT nChar : { (UINT)L'x', (UINT)VK_RETURN, (UINT)VK_BACK })
    {
        TypeOn(2, 2, nChar);
        EXPECT_FALSE(pCheck->GetCheck()) << nChar;
        expectUntyped("another character");
    }
    Key(VK_F2);
    expectUntyped("F2");

    // On the focus cell: a click beside the box neither toggles nor edits, one on the box
    // toggles.
    const CPoint pointBeside(rectBox.right + 12, rectBox.CenterPoint().y);
    CRect rectText;
    m_grid.GetCellRect(2, 2, rectText);
    pCheck->GetTextRect(rectText);
    ASSERT_TRUE(rectText.PtInRect(pointBeside)) << "on the cell's text";
    for (int i = 0; i < 2; i++)
    {
        ClickAt(m_grid, pointBeside);
        PumpGridMessages();
        EXPECT_FALSE(pCheck->GetCheck()) << "beside the box";
        expectUntyped("a click beside the box");
        ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON,
                       MAKELPARAM(pointBeside.x, pointBeside.y));
        ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pointBeside.x, pointBeside.y));
        PumpGridMessages();
        EXPECT_FALSE(pCheck->GetCheck()) << "a double click beside the box";
        expectUntyped("a double click beside the box");
    }
    ClickAt(m_grid, rectBox.CenterPoint());
    EXPECT_TRUE(pCheck->GetCheck()) << "on the box";

    // A double click is two clicks: press, release, double click, release.
    const CPoint pointBox = rectBox.CenterPoint();
    const LPARAM lBox = MAKELPARAM(pointBox.x, pointBox.y);
    ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lBox);
    ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONUP, 0, lBox);
    EXPECT_FALSE(pCheck->GetCheck()) << "the first click of a double click";
    ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, lBox);
    ::SendMessageW(m_grid.m_hWnd, WM_LBUTTONUP, 0, lBox);
    EXPECT_TRUE(pCheck->GetCheck()) << "the second click of a double click";
    expectUntyped("a double click on the box");
    EXPECT_EQ(CCellID(2, 2), m_grid.GetFocusCell());
}

TEST_F(GridEdit, TheTitleTipShowsATextTheCellCuts)
{
    CTitleTip& tip = m_grid.TitleTip();
    m_grid.SetItemText(2, 2, L"ok");
    m_grid.SetItemText(3, 2, L"A text far too long for a cell sixty pixels wide");
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 2, 2), 0);
    EXPECT_FALSE(tip.GetSafeHwnd() != NULL && tip.IsWindowVisible()) << "the text fits";

    // The window's activation settles first, as it has long before a user's mouse rests.
    HoldForLooking();
    // The mouse itself rests there, as a user's would.
    CPoint pointCursor = CellCentre(m_grid, 3, 2);
    m_grid.ClientToScreen(&pointCursor);
    ::SetCursorPos(pointCursor.x, pointCursor.y);
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 3, 2), 0);
    ASSERT_NE(nullptr, tip.GetSafeHwnd());
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(CString(L" A text far too long for a cell sixty pixels wide "), tip.GetShownText());
    HoldForLooking();
    CRect rectTip, rectCell;
    tip.GetWindowRect(rectTip);
    m_grid.GetCellRect(3, 2, rectCell);
    m_grid.ClientToScreen(rectCell);
    EXPECT_GE(rectTip.top, rectCell.top) << "over the cell's line";
    EXPECT_LE(rectTip.bottom, rectCell.bottom + 1);
    EXPECT_GT(rectTip.Width(), rectCell.Width());

    // A click on the tip reaches the cell under it.
    MSG msg = { tip.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4) };
    EXPECT_TRUE(tip.PreTranslateMessage(&msg));
    EXPECT_FALSE(tip.IsWindowVisible());
    PumpGridMessages();
    Send(WM_LBUTTONUP, CellCentre(m_grid, 3, 2), 0);
    EXPECT_EQ(CCellID(3, 2), m_grid.GetFocusCell());

    // Leaving the cell hides it; a key does too.
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 2, 2), 0);
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 3, 2), 0);
    ASSERT_TRUE(tip.IsWindowVisible());
    CPoint pointOut = CellCentre(m_grid, 5, 4);
    m_grid.ClientToScreen(&pointOut);
    tip.ScreenToClient(&pointOut);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pointOut.x, pointOut.y));
    EXPECT_FALSE(tip.IsWindowVisible());

    // Nothing shows while another program has the keyboard.
    ::SetFocus(NULL);
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 3, 2), 0);
    EXPECT_FALSE(tip.IsWindowVisible());
    m_grid.EnableTitleTips(FALSE);
    m_grid.SetFocus();
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 3, 2), 0);
    EXPECT_FALSE(tip.IsWindowVisible());
}

// The client area of a window as drawn, one COLORREF per pixel, row by row, with the
// window's client origin on the screen.
struct ClientPicture
{
    explicit ClientPicture(CWnd& wnd)
    {
        CRect rect;
        wnd.GetClientRect(rect);
        size = rect.Size();
        wnd.ClientToScreen(&origin);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = size.cx;
        bmi.bmiHeader.biHeight = -size.cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        DWORD* pBits = NULL;
        HBITMAP hBitmap = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, (void**)&pBits, NULL, 0);
        HDC hMem = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        HDC hWndDC = ::GetDC(wnd.m_hWnd);
        ::BitBlt(hMem, 0, 0, size.cx, size.cy, hWndDC, 0, 0, SRCCOPY);
        ::ReleaseDC(wnd.m_hWnd, hWndDC);
        ::GdiFlush();
        pixels.assign(pBits, pBits + size.cx * size.cy);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ::DeleteObject(hBitmap);
    }
    // The pixel at a screen point.
    DWORD At(CPoint point) const
    {
        return pixels[(size_t)((point.y - origin.y) * size.cx + point.x - origin.x)] & 0xFFFFFF;
    }
    CRect OnScreen() const { return CRect(origin, size); }

    CSize size;
    CPoint origin{ 0, 0 };
    std::vector<DWORD> pixels;
};

// The tip's text lies on the cell's: where the cell shows part of the text, the tip shows the
// same pixels, whatever the alignment, in a heading, and beside a check box.
TEST_F(GridEdit, TheTitleTipLaysItsTextOnTheCells)
{
    const COLORREF kBack = RGB(255, 255, 255), kInk = RGB(0, 0, 0);
    const DWORD kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    struct Case
    {
        const char* name;
        int nRow;
        DWORD dwFormat;   // 0: the cell's default
        bool bCheck;
    } cases[] = { { "left", 2, 0, false },
                  { "centred", 3, kCentred, false },
                  { "heading", 0, kCentred, false },
                  { "check box", 4, 0, true } };
    CTitleTip& tip = m_grid.TitleTip();
    m_grid.SetTitleTipBackColour(kBack);
    m_grid.SetTitleTipTextColour(kInk);
    m_grid.SetColumnWidth(2, 90);
    for (int nRow = 0; nRow < m_grid.GetRowCount(); nRow++)
        m_grid.SetRowHeight(nRow, 35);
    m_grid.ResetScrollBars();
    HoldForLooking();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.bCheck)
            ASSERT_TRUE(m_grid.SetCellType(c.nRow, 2, RUNTIME_CLASS(CGridCellCheck)));
        m_grid.SetItemText(c.nRow, 2, L"Demi-diagonales et quarts de carreaux");
        if (c.dwFormat != 0)
            m_grid.SetItemFormat(c.nRow, 2, c.dwFormat);
        m_grid.SetItemBackColour(c.nRow, 2, kBack);
        m_grid.SetItemTextColour(c.nRow, 2, kInk);
        tip.Hide();
        m_grid.RedrawWindow();

        CPoint pointCursor = CellCentre(m_grid, c.nRow, 2);
        m_grid.ClientToScreen(&pointCursor);
        ::SetCursorPos(pointCursor.x, pointCursor.y);
        Send(WM_MOUSEMOVE, CellCentre(m_grid, c.nRow, 2), 0);
        ASSERT_TRUE(tip.GetSafeHwnd() != NULL && tip.IsWindowVisible());
        HoldForLooking();

        const ClientPicture cell(m_grid), shown(tip);
        CRect rectCell;
        m_grid.GetCellRect(c.nRow, 2, rectCell);
        m_grid.ClientToScreen(rectCell);
        // Within the cell's margins, where it draws text, and short of an ellipsis.
        CRect rectCompared(rectCell.left + 8, rectCell.top + 3, rectCell.right - 25,
                           rectCell.bottom - 2);
        rectCompared.IntersectRect(rectCompared, shown.OnScreen());
        ASSERT_GT(rectCompared.Width(), 20);
        ASSERT_GT(rectCompared.Height(), 10);
        int nInk = 0, nDiffering = 0;
        for (int y = rectCompared.top; y < rectCompared.bottom; y++)
            for (int x = rectCompared.left; x < rectCompared.right; x++)
            {
                const DWORD dwShown = shown.At(CPoint(x, y));
                nInk += dwShown != (kBack & 0xFFFFFF);
                nDiffering += dwShown != cell.At(CPoint(x, y));
            }
        EXPECT_GT(nInk, 30) << "the tip shows text there";
        EXPECT_EQ(0, nDiffering) << "pixels the tip draws otherwise than the cell";
    }

    // A text centred in a cell at the screen's left edge would start off the screen: the
    // tip stays on it.
    tip.Hide();
    m_grid.SetItemText(2, 0, L"Demi-diagonales et quarts de carreaux");
    m_grid.SetItemFormat(2, 0, kCentred);
    CRect rectEdgeCell;
    m_grid.GetCellRect(2, 0, rectEdgeCell);
    m_grid.ClientToScreen(rectEdgeCell);
    ASSERT_LT(rectEdgeCell.left, 10);
    Send(WM_MOUSEMOVE, CellCentre(m_grid, 2, 0), 0);
    ASSERT_TRUE(tip.IsWindowVisible());
    CRect rectTip;
    tip.GetWindowRect(rectTip);
    EXPECT_EQ(0, rectTip.left);
    EXPECT_GT(rectTip.right, rectEdgeCell.right);
    tip.Hide();
}

} // namespace
