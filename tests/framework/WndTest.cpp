// CWnd on real windows: handle maps, subclassing, self-deleting windows, the walk of
// PreTranslateMessage up the parent chain with accelerators, and the hierarchy helpers.
#include "MosaicTest.h"

#include <malloc.h>

#include "AfxApp.h"

namespace {

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        if (!AfxPreTranslateMessage(&msg))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

HWND CreatePlainWindow(LPCWSTR lpszClass, HWND hParent, UINT nID, DWORD dwStyle)
{
    return CreateWindowExW(0, lpszClass, L"", dwStyle, 0, 0, 120, 40, hParent,
                           (HMENU)(UINT_PTR)nID, GetModuleHandleW(NULL), NULL);
}

// ---- Self-deleting windows ------------------------------------------------------------------

class CSelfDeletingWnd : public CWnd
{
public:
    explicit CSelfDeletingWnd(int* pnDeleted) : m_pnDeleted(pnDeleted) {}
    ~CSelfDeletingWnd() override { (*m_pnDeleted)++; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    int* m_pnDeleted;
};

TEST(Wnd, SelfDeletingWindowIsFreedAfterItsLastMessage)
{
    int nDeleted = 0;
    CSelfDeletingWnd* pWnd = new CSelfDeletingWnd(&nDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, L"Self", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), pWnd);

    // Destroyed from outside the object, as a user closing it would.
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nDeleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    // Through the object's own DestroyWindow, which must not touch it afterwards.
    pWnd = new CSelfDeletingWnd(&nDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, L"Self", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    EXPECT_TRUE(pWnd->DestroyWindow());
    EXPECT_EQ(nDeleted, 2);

    // Creation that fails before any window exists still ends in PostNcDestroy.
    pWnd = new CSelfDeletingWnd(&nDeleted);
    EXPECT_FALSE(pWnd->CreateEx(0, L"NoSuchMosaicClass", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    EXPECT_EQ(nDeleted, 3);
}

// ---- Subclassing ------------------------------------------------------------------------------

// Counts characters and lets the edit control have them; turns 'x' into 'y'.
class CFilterEdit : public CWnd
{
public:
    int m_nChars = 0;

protected:
    afx_msg void OnChar(UINT nChar, UINT, UINT)
    {
        m_nChars++;
        if (nChar == L'x')
            DefWindowProc(WM_CHAR, L'y', 1);
        else
            Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFilterEdit, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()

TEST(Wnd, SubclassedControlKeepsItsBehaviourThroughDefault)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"Parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    HWND hEdit = CreatePlainWindow(L"EDIT", parent.m_hWnd, 5, WS_CHILD | WS_VISIBLE);
    ASSERT_NE(hEdit, nullptr);

    CFilterEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(5, &parent));
    EXPECT_EQ(parent.GetDlgItem(5), &edit);   // the permanent object, not a wrapper
    for (WCHAR ch : { L'a', L'x', L'b' })
        edit.SendMessage(WM_CHAR, ch, 1);
    EXPECT_EQ(edit.m_nChars, 3);
    CString strText;
    parent.GetDlgItemText(5, strText);
    EXPECT_EQ(strText, CString(L"ayb"));

    // A second object cannot take a window that already has one.
    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(hEdit));
    EXPECT_FALSE(other.SubclassDlgItem(99, &parent));

    // Once its window is gone, the object can take another one.
    ::DestroyWindow(hEdit);
    EXPECT_EQ(edit.m_hWnd, nullptr);
    HWND hEdit2 = CreatePlainWindow(L"EDIT", parent.m_hWnd, 6, WS_CHILD | WS_VISIBLE);
    ASSERT_TRUE(edit.SubclassWindow(hEdit2));
    edit.SendMessage(WM_CHAR, L'x', 1);
    parent.GetDlgItemText(6, strText);
    EXPECT_EQ(strText, CString(L"y"));
    edit.UnsubclassWindow();
}

TEST(Wnd, AttachedWindowIsPermanentWithoutReceivingMessages)
{
    HWND hWnd = CreatePlainWindow(L"STATIC", NULL, 0, WS_POPUP);
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_NE((WNDPROC)GetWindowLongPtrW(hWnd, GWLP_WNDPROC), AfxWndProc);
    EXPECT_EQ(wnd.Detach(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    // DestroyWindow of a window that is only attached still detaches it.
    ASSERT_TRUE(wnd.Attach(hWnd));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
}

// ---- Temporary wrappers -------------------------------------------------------------------------

TEST(Wnd, TemporaryWrappersLastUntilIdleTime)
{
    CWinApp app(L"MosaicTestApp");
    HWND hWnd = CreatePlainWindow(L"STATIC", NULL, 0, WS_POPUP);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(CWnd::FromHandle(NULL), nullptr);
    // The first idle call only updates command states.
    app.OnIdle(0);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);

    // The second frees them, giving their memory back and leaving the windows alone.
    const int kCount = 2000;
    app.OnIdle(1);
    size_t nBefore = mallinfo2().uordblks;
    for (int i = 0; i < kCount; i++)
        CWnd::FromHandle((HWND)(UINT_PTR)(0x100000 + 16 * i));
    size_t nWith = mallinfo2().uordblks;
    EXPECT_GE(nWith - nBefore, kCount * sizeof(CWnd));
    app.OnIdle(1);
    size_t nAfter = mallinfo2().uordblks;
    EXPECT_LT(nAfter, nBefore + (nWith - nBefore) / 4);
    EXPECT_TRUE(IsWindow(hWnd));
    ::DestroyWindow(hWnd);
}

// ---- PreTranslateMessage and accelerators -------------------------------------------------------

const UINT ID_ACCEL_COMMAND = 32771;

class CAccelFrame : public CWnd
{
public:
    HACCEL m_hAccel = NULL;
    CString m_strLog;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_strLog += L"frame-pretranslate ";
        return m_hAccel != NULL && TranslateAcceleratorW(m_hWnd, m_hAccel, pMsg);
    }

protected:
    afx_msg void OnAccelCommand() { m_strLog += L"command "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAccelFrame, CWnd)
    ON_COMMAND(ID_ACCEL_COMMAND, OnAccelCommand)
END_MESSAGE_MAP()

class CKeyChild : public CWnd
{
public:
    CString* m_pLog = NULL;
    BOOL m_bEat = FALSE;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            *m_pLog += L"child-pretranslate ";
        return m_bEat;
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { *m_pLog += L"child-keydown "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeyChild, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST(Wnd, KeysWalkUpTheParentsPreTranslateMessageAndHitAccelerators)
{
    CAccelFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, NULL, L"Frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    CKeyChild child;
    child.m_pLog = &frame.m_strLog;
    ASSERT_TRUE(child.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 50, 50), &frame, 1));
    ACCEL accel = { FVIRTKEY, VK_F5, (WORD)ID_ACCEL_COMMAND };
    frame.m_hAccel = CreateAcceleratorTableW(&accel, 1);

    struct Case
    {
        UINT nKey;
        BOOL bChildEats;
        LPCTSTR lpszLog;
    };
    const Case cases[] = {
        { VK_F5, FALSE, L"child-pretranslate frame-pretranslate command " },
        { VK_F6, FALSE, L"child-pretranslate frame-pretranslate child-keydown " },
        { VK_F5, TRUE, L"child-pretranslate " },   // taken before the frame sees it
    };
    for (const Case& c : cases)
    {
        frame.m_strLog.Empty();
        child.m_bEat = c.bChildEats;
        ASSERT_TRUE(child.PostMessage(WM_KEYDOWN, c.nKey, 1));
        PumpPending();
        EXPECT_EQ(frame.m_strLog, CString(c.lpszLog)) << c.nKey;
    }
    DestroyAcceleratorTable(frame.m_hAccel);
}

// ---- Hierarchy helpers ---------------------------------------------------------------------------

class CFakeFrame : public CWnd
{
public:
    BOOL IsFrameWnd() const override { return TRUE; }
};

TEST(Wnd, ParentFrameTopLevelParentAndDescendantsAreFound)
{
    CFakeFrame frame;
    ASSERT_TRUE(frame.CreateEx(0, NULL, L"Frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    CWnd pane;
    ASSERT_TRUE(pane.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &frame, 10));
    HWND hInner = CreatePlainWindow(L"STATIC", pane.m_hWnd, 11, WS_CHILD | WS_VISIBLE);

    CWnd* pInner = CWnd::FromHandle(hInner);
    EXPECT_EQ((void*)pInner->GetParentFrame(), (void*)&frame);
    EXPECT_EQ((void*)pane.GetParentFrame(), (void*)&frame);
    EXPECT_EQ(frame.GetParentFrame(), nullptr);
    EXPECT_EQ(pInner->GetTopLevelParent(), &frame);

    // Grandchildren too; only permanent objects when asked for those.
    EXPECT_EQ(frame.GetDescendantWindow(11)->m_hWnd, hInner);
    EXPECT_EQ(frame.GetDescendantWindow(11, TRUE), nullptr);
    EXPECT_EQ(frame.GetDescendantWindow(10, TRUE), &pane);
    EXPECT_EQ(frame.GetDescendantWindow(12), nullptr);

    // Owner: the parent unless one was set.
    EXPECT_EQ(pane.GetOwner(), &frame);
    CWnd* pOwner = CWnd::FromHandle(hInner);
    pane.SetOwner(pOwner);
    EXPECT_EQ(pane.GetOwner(), pOwner);

    EXPECT_TRUE(pane.ModifyStyle(0, WS_BORDER));
    EXPECT_TRUE(pane.GetStyle() & WS_BORDER);
    EXPECT_FALSE(pane.ModifyStyle(0, WS_BORDER));   // nothing changes
    AfxDeleteTempMaps();
}

TEST(Wnd, ScrollInformationRoundTrips)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Scroll", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 200, 200,
                             NULL, NULL));
    SCROLLINFO si = {};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 30;
    EXPECT_TRUE(wnd.SetScrollInfo(SB_VERT, &si));
    SCROLLINFO out = {};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &out));
    EXPECT_EQ(out.nMax, 99);
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 30);
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 90);
}

// ---- Window classes -------------------------------------------------------------------------------

TEST(Wnd, RegisteredClassesAreSharedByTheirAttributes)
{
    HCURSOR hCross = LoadCursorW(NULL, (LPCWSTR)IDC_CROSS);
    CString strFirst = AfxRegisterWndClass(CS_DBLCLKS, hCross);
    CString strAgain = AfxRegisterWndClass(CS_DBLCLKS, hCross);
    CString strOther = AfxRegisterWndClass(CS_HREDRAW, hCross);
    EXPECT_EQ(strFirst, strAgain);
    EXPECT_NE(strFirst, strOther);
    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(NULL), strFirst, &wc));
    EXPECT_EQ(wc.style, (UINT)CS_DBLCLKS);
    EXPECT_EQ(wc.hCursor, hCross);

    // Without a class, a window gets the framework's own, which takes double clicks.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    WCHAR szClass[32] = {};
    GetClassNameW(wnd.m_hWnd, szClass, ARRAYSIZE(szClass));
    EXPECT_EQ(CString(szClass), CString(_afxWnd));
    EXPECT_TRUE(GetClassLongPtrW(wnd.m_hWnd, GCL_STYLE) & CS_DBLCLKS);
}

} // namespace
