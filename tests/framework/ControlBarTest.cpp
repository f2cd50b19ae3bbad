// Control bars in a real frame: a toolbar loaded from its resource and docked at the top, a
// palette-like bar along the bottom whose buttons have ids among the framework's own; the
// idle-time update of their buttons through the frame's handlers; floating and docking
// again, by call and by mouse, with the frame laid out around the bars each time; tips.
#include "MosaicTest.h"

#include "AfxApp.h"
#include "AfxBar.h"

namespace {

const UINT IDR_TESTBAR = 32520;
const UINT ID_BAR_CHECK = 32521;
const UINT ID_BAR_GREY = 32522;
const UINT ID_BAR_PLAIN = 32523;
const UINT ID_BAR_ORPHAN = 32524;   // no handler anywhere
const UINT ID_FRAMEWORK_STRING = 0xE010;   // test.rc gives it "prompt\ntip"
const UINT IDW_PALETTE = 32885;
const UINT ID_PALETTE_FIRST = 0xE002;
const int kPaletteButtons = 32;

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

class CBarFrame : public CFrameWnd
{
public:
    CToolBar m_wndToolBar;
    CToolBar m_wndPalette;
    CWnd m_wndView;   // where a view would be: what the bars leave of the client area

    BOOL m_bChecked = FALSE;
    BOOL m_bGreyed = FALSE;
    UINT m_nLastCommand = 0;
    UINT m_nLastPalette = 0;
    UINT m_nLastMessage = 0;
    int m_nMessages = 0;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override
    {
        return m_wndView.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                                AFX_IDW_PANE_FIRST);
    }

    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);

        m_wndPalette.SetBorders(5, 5, 5, 5);
        if (!m_wndPalette.Create(this, WS_CHILD | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP |
                                           CBRS_TOOLTIPS | CBRS_SIZE_FIXED,
                                 IDW_PALETTE))
            return -1;
        UINT ids[kPaletteButtons];
        for (int i = 0; i < kPaletteButtons; i++)
            ids[i] = ID_PALETTE_FIRST + i;
        if (!m_wndPalette.SetButtons(ids, kPaletteButtons))
            return -1;
        m_wndPalette.SetSizes(CSize(32, 32), CSize(16, 16));
        m_wndPalette.EnableDocking(0);
        m_wndPalette.SetHeight(32);

        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER |
                                       CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
            !m_wndToolBar.LoadToolBar(IDR_TESTBAR))
            return -1;
        m_wndToolBar.SetWindowText(L"Outils");
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }

    afx_msg void OnCheck() { m_nLastCommand = ID_BAR_CHECK; }
    afx_msg void OnGrey() { m_nLastCommand = ID_BAR_GREY; }
    afx_msg void OnPlain() { m_nLastCommand = ID_BAR_PLAIN; }
    afx_msg void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bChecked); }
    afx_msg void OnUpdateGrey(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_bGreyed); }
    afx_msg void OnPalette(UINT nID) { m_nLastPalette = nID; }
    afx_msg LRESULT OnMessageString(WPARAM wParam, LPARAM)
    {
        m_nLastMessage = (UINT)wParam;
        m_nMessages++;
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_BAR_CHECK, OnCheck)
    ON_COMMAND(ID_BAR_GREY, OnGrey)
    ON_COMMAND(ID_BAR_PLAIN, OnPlain)
    ON_UPDATE_COMMAND_UI(ID_BAR_CHECK, OnUpdateCheck)
    ON_UPDATE_COMMAND_UI(ID_BAR_GREY, OnUpdateGrey)
    ON_COMMAND_RANGE(ID_PALETTE_FIRST, ID_PALETTE_FIRST + kPaletteButtons - 1, OnPalette)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnMessageString)
END_MESSAGE_MAP()

class ControlBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CBarFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, L"Barres", WS_OVERLAPPEDWINDOW,
                                     CRect(40, 40, 640, 440)));
        m_hWndFrame = m_pFrame->m_hWnd;
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->UpdateWindow();
        PumpPending();
    }

    void TearDown() override
    {
        if (IsWindow(m_hWndFrame))
            DestroyWindow(m_hWndFrame);
        m_app.m_pMainWnd = NULL;
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(const CWnd& wnd) const
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        m_pFrame->ScreenToClient(&rect);
        return rect;
    }
    CRect FrameClient() const
    {
        CRect rect;
        m_pFrame->GetClientRect(&rect);
        return rect;
    }
    CControlBar* DockBar(UINT nID) const { return m_pFrame->GetControlBar(nID); }
    CWnd* ParentOf(const CWnd& wnd) const { return CWnd::FromHandle(::GetParent(wnd.m_hWnd)); }

    BOOL IsEnabled(UINT nID) const
    {
        return (BOOL)m_pFrame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, nID);
    }
    BOOL IsChecked(UINT nID) const
    {
        return (BOOL)m_pFrame->m_wndToolBar.SendMessage(TB_ISBUTTONCHECKED, nID);
    }

    // Mouse messages as the user's would come, in the window's client coordinates.
    static void PostMouse(const CWnd& wnd, UINT message, CPoint ptClient, WPARAM wParam = 0)
    {
        wnd.PostMessage(message, wParam, MAKELPARAM(ptClient.x, ptClient.y));
    }
    static CPoint ClientPoint(const CWnd& wnd, CPoint ptScreen)
    {
        wnd.ScreenToClient(&ptScreen);
        return ptScreen;
    }
    static CPoint ItemCentre(const CToolBar& bar, int nIndex)
    {
        CRect rect;
        bar.GetItemRect(nIndex, &rect);
        return rect.CenterPoint();
    }
    // A point on the gripper, left of the control's client area.
    static CPoint GripperPoint() { return CPoint(-4, 8); }

    CMiniDockFrameWnd* FloatingFrame() const
    {
        CFrameWnd* pFrame = m_pFrame->m_wndToolBar.GetParentFrame();
        return pFrame != NULL && pFrame != m_pFrame ? DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pFrame)
                                                    : NULL;
    }

    CWinApp m_app{ L"MosaicControlBarTest" };
    CBarFrame* m_pFrame = NULL;
    HWND m_hWndFrame = NULL;
};

TEST_F(ControlBarTest, ToolBarFromItsResourceIsDockedAtTheTopAboveTheView)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CControlBar* pTop = DockBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(pTop, nullptr);
    EXPECT_TRUE(pTop->IsDockBar());
    EXPECT_EQ(ParentOf(bar), pTop);
    EXPECT_EQ(bar.m_pDockBar, pTop);
    EXPECT_FALSE(bar.IsFloating());
    for (UINT nID : { AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT })
        EXPECT_NE(DockBar(nID), nullptr) << nID;

    // The resource's buttons, separator included, with their images in order.
    ASSERT_EQ(bar.GetCount(), 5);
    EXPECT_EQ(bar.CommandToIndex(ID_BAR_PLAIN), 3);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    UINT nID, nStyle;
    int iImage;
    bar.GetButtonInfo(2, nID, nStyle, iImage);
    EXPECT_EQ(nID, 0u);
    EXPECT_TRUE(nStyle & TBBS_SEPARATOR);
    bar.GetButtonInfo(3, nID, nStyle, iImage);
    EXPECT_EQ(nID, ID_BAR_PLAIN);
    EXPECT_EQ(iImage, 2);
    EXPECT_EQ(nStyle, (UINT)TBBS_BUTTON);
    CRect rectItem;
    bar.GetItemRect(0, &rectItem);
    EXPECT_EQ(rectItem.Size(), CSize(16 + 7, 15 + 7));

    // The gripper is outside the control's client area, which holds just the buttons.
    CRect rectClient;
    bar.GetClientRect(&rectClient);
    CRect rectLast;
    bar.GetItemRect(4, &rectLast);
    EXPECT_EQ(rectClient.Width(), rectLast.right);
    CRect rectBar = InFrame(bar);
    EXPECT_GT(rectBar.Width(), rectClient.Width());

    // Bar at the top-left corner, its dock bar across the frame, the view under it to the
    // bottom (the palette bar is hidden).
    CRect rectClientFrame = FrameClient();
    CRect rectTop = InFrame(*pTop);
    EXPECT_EQ(rectTop.TopLeft(), CPoint(0, 0));
    EXPECT_EQ(rectTop.right, rectClientFrame.right);
    EXPECT_GE(rectTop.Height(), rectBar.Height());
    CRect rectView = InFrame(m_pFrame->m_wndView);
    EXPECT_EQ(rectView, CRect(0, rectTop.bottom, rectClientFrame.right, rectClientFrame.bottom));

    // The layout follows the frame's size.
    m_pFrame->SetWindowPos(NULL, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    rectClientFrame = FrameClient();
    EXPECT_EQ(InFrame(*pTop).right, rectClientFrame.right);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).bottom, rectClientFrame.bottom);
}

TEST_F(ControlBarTest, IdleUpdateGreysAndChecksButtonsThroughTheFrame)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    m_pFrame->ShowControlBar(&m_pFrame->m_wndPalette, TRUE, FALSE);
    m_app.OnIdle(0);
    EXPECT_FALSE(IsChecked(ID_BAR_CHECK));
    EXPECT_TRUE(IsEnabled(ID_BAR_CHECK));
    EXPECT_TRUE(IsEnabled(ID_BAR_GREY));
    EXPECT_TRUE(IsEnabled(ID_BAR_PLAIN));    // a command handler is enough
    EXPECT_FALSE(IsEnabled(ID_BAR_ORPHAN));  // no handler at all
    // A range handler enables its buttons too.
    for (UINT nID : { ID_PALETTE_FIRST, ID_PALETTE_FIRST + kPaletteButtons - 1 })
        EXPECT_TRUE(m_pFrame->m_wndPalette.SendMessage(TB_ISBUTTONENABLED, nID)) << nID;

    m_pFrame->m_bChecked = TRUE;
    m_pFrame->m_bGreyed = TRUE;
    m_app.OnIdle(0);
    EXPECT_TRUE(IsChecked(ID_BAR_CHECK));
    EXPECT_FALSE(IsEnabled(ID_BAR_GREY));
    EXPECT_TRUE(bar.GetButtonStyle(0) & TBBS_CHECKED);
    EXPECT_TRUE(bar.GetButtonStyle(0) & TBBS_CHECKBOX);
    EXPECT_TRUE(bar.GetButtonStyle(1) & TBBS_DISABLED);

    // Clicks reach the frame's handlers; the greyed button gives nothing.
    for (int nIndex : { 1, 3 })
    {
        PostMouse(bar, WM_LBUTTONDOWN, ItemCentre(bar, nIndex), MK_LBUTTON);
        PostMouse(bar, WM_LBUTTONUP, ItemCentre(bar, nIndex));
        PumpPending();
    }
    EXPECT_EQ(m_pFrame->m_nLastCommand, ID_BAR_PLAIN);
    PostMouse(m_pFrame->m_wndPalette, WM_LBUTTONDOWN, ItemCentre(m_pFrame->m_wndPalette, 5),
              MK_LBUTTON);
    PostMouse(m_pFrame->m_wndPalette, WM_LBUTTONUP, ItemCentre(m_pFrame->m_wndPalette, 5));
    PumpPending();
    EXPECT_EQ(m_pFrame->m_nLastPalette, ID_PALETTE_FIRST + 5);

    m_pFrame->m_bChecked = FALSE;
    m_pFrame->m_bGreyed = FALSE;
    m_app.OnIdle(0);
    EXPECT_FALSE(IsChecked(ID_BAR_CHECK));
    EXPECT_TRUE(IsEnabled(ID_BAR_GREY));
}

TEST_F(ControlBarTest, FloatedBarLeavesTheFrameAndDocksBackOnAnySide)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CRect rectDockedBar = InFrame(bar);
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    CPoint ptFloat = rectFrame.TopLeft() + CSize(120, 160);

    m_pFrame->FloatControlBar(&bar, ptFloat);
    ASSERT_TRUE(bar.IsFloating());
    CMiniDockFrameWnd* pMini = FloatingFrame();
    ASSERT_NE(pMini, nullptr);
    HWND hWndMini = pMini->m_hWnd;
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_EQ(::GetWindow(hWndMini, GW_OWNER), m_hWndFrame);
    CRect rectMini;
    pMini->GetWindowRect(&rectMini);
    EXPECT_EQ(rectMini.TopLeft(), ptFloat);
    // The floating frame fits the bar, which has no gripper there; its caption names it.
    CRect rectMiniClient;
    pMini->GetClientRect(&rectMiniClient);
    CRect rectFloatingBar;
    bar.GetWindowRect(&rectFloatingBar);
    EXPECT_EQ(rectMiniClient.Size(), rectFloatingBar.Size());
    EXPECT_LT(rectFloatingBar.Width(), rectDockedBar.Width());
    CString strCaption;
    pMini->GetWindowText(strCaption);
    EXPECT_EQ(strCaption, CString(L"Outils"));
    // The top dock bar is empty and the view takes the whole client area.
    EXPECT_EQ(InFrame(*DockBar(AFX_IDW_DOCKBAR_TOP)).Height(), 0);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView), FrameClient());

    // Its buttons still follow the frame's handlers at idle time.
    m_pFrame->m_bGreyed = TRUE;
    m_app.OnIdle(0);
    EXPECT_FALSE(IsEnabled(ID_BAR_GREY));

    // Hidden and shown again at idle time, the floating frame goes and comes with it.
    m_pFrame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_FALSE(pMini->IsWindowVisible());
    m_pFrame->ShowControlBar(&bar, TRUE, TRUE);
    EXPECT_FALSE(pMini->IsWindowVisible());
    m_app.OnIdle(0);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_TRUE(bar.IsWindowVisible());

    // Docked on the left: vertical, the floating frame gone, the view to its right.
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_FALSE(::IsWindow(hWndMini));
    CControlBar* pLeft = DockBar(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(ParentOf(bar), pLeft);
    CRect rectVertical = InFrame(bar);
    EXPECT_GT(rectVertical.Height(), rectVertical.Width());
    CRect rectView = InFrame(m_pFrame->m_wndView);
    EXPECT_EQ(rectView.left, InFrame(*pLeft).right);
    EXPECT_EQ(rectView.top, 0);

    // And back at the top, as it was.
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(InFrame(bar), rectDockedBar);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).top, InFrame(*DockBar(AFX_IDW_DOCKBAR_TOP)).bottom);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).left, 0);
}

TEST_F(ControlBarTest, MouseFloatsTheBarByItsGripperAndDocksItAgain)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CRect rectDocked = InFrame(bar);

    // Dragged by the gripper into the middle of the frame: it floats where it was dropped.
    CRect rectView;
    m_pFrame->m_wndView.GetWindowRect(&rectView);
    CPoint ptDrop = rectView.CenterPoint();
    PostMouse(bar, WM_LBUTTONDOWN, GripperPoint(), MK_LBUTTON);
    PostMouse(bar, WM_MOUSEMOVE, ClientPoint(bar, ptDrop - CSize(40, 40)), MK_LBUTTON);
    PostMouse(bar, WM_MOUSEMOVE, ClientPoint(bar, ptDrop), MK_LBUTTON);
    PostMouse(bar, WM_LBUTTONUP, ClientPoint(bar, ptDrop));
    PumpPending();
    CMiniDockFrameWnd* pMini = FloatingFrame();
    ASSERT_NE(pMini, nullptr);
    CRect rectMini;
    pMini->GetWindowRect(&rectMini);
    EXPECT_TRUE(rectMini.PtInRect(ptDrop));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).top, 0);

    // A double click on its caption docks it back where it was.
    HWND hWndMini = pMini->m_hWnd;
    CPoint ptCaption(rectMini.CenterPoint().x, rectMini.top + 4);
    ASSERT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCaption.x, ptCaption.y)),
              (LRESULT)HTCAPTION);
    pMini->PostMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    PumpPending();
    EXPECT_FALSE(::IsWindow(hWndMini));
    EXPECT_EQ(ParentOf(bar), DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(InFrame(bar), rectDocked);

    // A double click on the gripper floats it; one on a button is a click.
    PostMouse(bar, WM_LBUTTONDBLCLK, ItemCentre(bar, 3), MK_LBUTTON);
    PostMouse(bar, WM_LBUTTONUP, ItemCentre(bar, 3));
    PumpPending();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(m_pFrame->m_nLastCommand, ID_BAR_PLAIN);
    PostMouse(bar, WM_LBUTTONDBLCLK, GripperPoint(), MK_LBUTTON);
    PumpPending();
    ASSERT_TRUE(bar.IsFloating());

    // Its caption dragged to the frame's left edge docks it there.
    pMini = FloatingFrame();
    ASSERT_NE(pMini, nullptr);
    pMini->GetWindowRect(&rectMini);
    ptCaption = CPoint(rectMini.left + 10, rectMini.top + 4);
    CRect rectFrameClient = FrameClient();
    m_pFrame->ClientToScreen(&rectFrameClient);
    CPoint ptEdge(rectFrameClient.left + 5, rectFrameClient.CenterPoint().y);
    pMini->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    PostMouse(bar, WM_MOUSEMOVE, ClientPoint(bar, ptEdge), MK_LBUTTON);
    PostMouse(bar, WM_LBUTTONUP, ClientPoint(bar, ptEdge));
    PumpPending();
    EXPECT_EQ(ParentOf(bar), DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).left, InFrame(*DockBar(AFX_IDW_DOCKBAR_LEFT)).right);

    // Escape ends a drag where it began; without it the same drag floats the bar.
    CRect rectLeft = InFrame(bar);
    CPoint ptGripper(8, -4);   // across the top of a vertical bar
    CPoint ptMiddle = ClientPoint(bar, rectView.CenterPoint());
    PostMouse(bar, WM_LBUTTONDOWN, ptGripper, MK_LBUTTON);
    PostMouse(bar, WM_MOUSEMOVE, ptMiddle, MK_LBUTTON);
    bar.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    PostMouse(bar, WM_LBUTTONUP, ptMiddle);
    PumpPending();
    EXPECT_EQ(ParentOf(bar), DockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(InFrame(bar), rectLeft);
    PostMouse(bar, WM_LBUTTONDOWN, ptGripper, MK_LBUTTON);
    PostMouse(bar, WM_MOUSEMOVE, ptMiddle, MK_LBUTTON);
    PostMouse(bar, WM_LBUTTONUP, ptMiddle);
    PumpPending();
    EXPECT_TRUE(bar.IsFloating());
}

TEST_F(ControlBarTest, BarsShowAndHideWithTheLayoutFollowing)
{
    CToolBar& palette = m_pFrame->m_wndPalette;
    CToolBar& bar = m_pFrame->m_wndToolBar;
    EXPECT_FALSE(palette.IsWindowVisible());
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).bottom, FrameClient().bottom);

    // Shown, the palette bar takes the bottom of the frame at the height it was given.
    m_pFrame->ShowControlBar(&palette, TRUE, FALSE);
    EXPECT_TRUE(palette.IsWindowVisible());
    CRect rectPalette = InFrame(palette);
    EXPECT_EQ(rectPalette, CRect(0, FrameClient().bottom - 32, FrameClient().right, FrameClient().bottom));
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).bottom, rectPalette.top);

    // A delayed hide waits for the idle time; the top dock bar then takes no room.
    m_pFrame->ShowControlBar(&bar, FALSE, TRUE);
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_FALSE(bar.IsVisible());
    m_app.OnIdle(0);
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_EQ(InFrame(*DockBar(AFX_IDW_DOCKBAR_TOP)).Height(), 0);
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).top, 0);
    m_pFrame->ShowControlBar(&bar, TRUE, TRUE);
    m_app.OnIdle(0);
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_GT(InFrame(m_pFrame->m_wndView).top, 0);

    // A floating frame closed hides its bar, and comes back with it.
    m_pFrame->FloatControlBar(&bar, CPoint(200, 200));
    CMiniDockFrameWnd* pMini = FloatingFrame();
    ASSERT_NE(pMini, nullptr);
    pMini->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(pMini->m_hWnd));
    EXPECT_FALSE(pMini->IsWindowVisible());
    EXPECT_FALSE(bar.IsWindowVisible());
    m_pFrame->ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_TRUE(pMini->IsWindowVisible());
    EXPECT_TRUE(bar.IsWindowVisible());
}

TEST_F(ControlBarTest, WrappedButtonsStartRowsAndTheBarGrows)
{
    CToolBar& palette = m_pFrame->m_wndPalette;
    m_pFrame->ShowControlBar(&palette, TRUE, FALSE);
    int cyOneRow = InFrame(palette).Height();

    // Sixteen to a row: the wrap after buttons 15 and 31.
    for (int i = 0; i < kPaletteButtons; i++)
    {
        UINT nStyle = palette.GetButtonStyle(i) & ~TBBS_WRAPPED;
        palette.SetButtonStyle(i, (i + 1) % 16 == 0 ? nStyle | TBBS_WRAPPED : nStyle);
    }
    for (int i : { 14, 15, 16, 31 })
        EXPECT_EQ((palette.GetButtonStyle(i) & TBBS_WRAPPED) != 0, i == 15 || i == 31) << i;
    CRect rectFirst, rectSecondRow;
    palette.GetItemRect(0, &rectFirst);
    palette.GetItemRect(16, &rectSecondRow);
    EXPECT_EQ(rectSecondRow.left, rectFirst.left);
    EXPECT_EQ(rectSecondRow.top, rectFirst.bottom);
    // Other styles are kept through it.
    EXPECT_EQ(palette.GetButtonStyle(15) & ~TBBS_WRAPPED, (UINT)TBBS_BUTTON);

    m_pFrame->RecalcLayout();
    EXPECT_EQ(InFrame(palette).Height(), cyOneRow + rectSecondRow.Height());
    EXPECT_EQ(InFrame(m_pFrame->m_wndView).bottom, InFrame(palette).top);
}

TEST_F(ControlBarTest, ImageListsGoToTheControlAndComeBackAsObjects)
{
    CToolBarCtrl& ctrl = m_pFrame->m_wndToolBar.GetToolBarCtrl();
    EXPECT_EQ(ctrl.m_hWnd, m_pFrame->m_wndToolBar.m_hWnd);
    CImageList images, hot, disabled;
    ASSERT_TRUE(images.Create(32, 32, ILC_COLORDDB | ILC_MASK, 4, 1));
    ASSERT_TRUE(hot.Create(32, 32, ILC_COLORDDB | ILC_MASK, 4, 1));
    ASSERT_TRUE(disabled.Create(32, 32, ILC_COLORDDB | ILC_MASK, 4, 1));

    // The images the resource loaded, as a temporary object that leaves them alone.
    CImageList* pLoaded = ctrl.SetImageList(&images);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_NE(pLoaded, &images);
    EXPECT_EQ(pLoaded->GetImageCount(), 4);
    HIMAGELIST hLoaded = pLoaded->m_hImageList;
    m_app.OnIdle(1);   // frees the temporary object, not its list
    EXPECT_EQ(ImageList_GetImageCount(hLoaded), 4);
    EXPECT_EQ(ctrl.SetHotImageList(&hot), nullptr);
    EXPECT_EQ(ctrl.SetDisabledImageList(&disabled), nullptr);
    EXPECT_EQ(ctrl.SetImageList(&images), &images);
    EXPECT_EQ(ctrl.SetHotImageList(&hot), &hot);
    EXPECT_EQ(ctrl.SetDisabledImageList(&disabled), &disabled);
    EXPECT_EQ((HIMAGELIST)ctrl.SendMessage(TB_GETHOTIMAGELIST), hot.m_hImageList);

    // Larger images make larger buttons, and the layout makes room for them.
    m_pFrame->RecalcLayout();
    CRect rectItem;
    m_pFrame->m_wndToolBar.GetItemRect(0, &rectItem);
    EXPECT_GE(rectItem.Height(), 32);
    EXPECT_GE(InFrame(m_pFrame->m_wndView).top, rectItem.Height());

    // The control does not own the lists.
    ctrl.SetImageList(NULL);
    ctrl.SetHotImageList(NULL);
    ctrl.SetDisabledImageList(NULL);
}

// A program's own dock bar and floating frame, as a frame that paints its bars makes them.
int g_nDockBarsDeleted = 0;
int g_nFloatingFramesDeleted = 0;

class CCountedDockBar : public CDockBar
{
    DECLARE_DYNCREATE(CCountedDockBar)
public:
    ~CCountedDockBar() override { g_nDockBarsDeleted++; }
};
IMPLEMENT_DYNCREATE(CCountedDockBar, CDockBar)

class CCountedFloatingFrame : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(CCountedFloatingFrame)
public:
    ~CCountedFloatingFrame() override { g_nFloatingFramesDeleted++; }
};
IMPLEMENT_DYNCREATE(CCountedFloatingFrame, CMiniDockFrameWnd)

TEST_F(ControlBarTest, DockBarsAndFloatingFramesOfTheProgramsClassesGoWithTheirWindows)
{
    g_nDockBarsDeleted = g_nFloatingFramesDeleted = 0;
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, L"Autre", WS_OVERLAPPEDWINDOW, CRect(60, 60, 400, 300)));
    CCountedDockBar* pDockBar = new CCountedDockBar;
    ASSERT_TRUE(pDockBar->Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_DOCKBAR_TOP));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);   // makes the three other sides only
    EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP), pDockBar);
    EXPECT_NE(pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT), nullptr);

    CToolBar bar;
    ASSERT_TRUE(bar.Create(pFrame));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TESTBAR));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar);
    EXPECT_EQ(bar.m_pDockBar, pDockBar);

    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CCountedFloatingFrame);
    pFrame->FloatControlBar(&bar, CPoint(100, 100));
    EXPECT_TRUE(bar.GetParentFrame()->IsKindOf(RUNTIME_CLASS(CCountedFloatingFrame)));
    pFrame->DockControlBar(&bar);
    EXPECT_EQ(g_nFloatingFramesDeleted, 1);

    pFrame->DestroyWindow();
    EXPECT_EQ(g_nDockBarsDeleted, 1);
    EXPECT_EQ(bar.m_hWnd, nullptr);
}

// What the control's tool tip asks when the mouse rests on a button: the toolbar passes
// the question on to its frame.
CString TipOf(const CToolBar& bar, UINT nID)
{
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = (HWND)bar.SendMessage(TB_GETTOOLTIPS);
    info.hdr.idFrom = nID;
    info.hdr.code = TTN_GETDISPINFOW;
    bar.SendMessage(WM_NOTIFY, nID, (LPARAM)&info);
    return info.lpszText != NULL && !IS_INTRESOURCE(info.lpszText) ? CString(info.lpszText)
                                                                    : CString();
}

TEST_F(ControlBarTest, TipIsTheStringAfterItsNewlineAndNeverAFrameworkString)
{
    // The fixture's string in the framework's block reads like a prompt with a tip.
    CString strFramework;
    ASSERT_TRUE(strFramework.LoadString(ID_FRAMEWORK_STRING));
    ASSERT_NE(strFramework.Find(L'\n'), -1);

    const CToolBar& bar = m_pFrame->m_wndToolBar;
    const CToolBar& palette = m_pFrame->m_wndPalette;
    ASSERT_NE(bar.SendMessage(TB_GETTOOLTIPS), 0);
    ASSERT_NE(palette.SendMessage(TB_GETTOOLTIPS), 0);
    const struct
    {
        const CToolBar& bar;
        UINT nID;
        LPCWSTR pszTip;
    } cases[] = {
        { bar, ID_BAR_CHECK, L"Case" },
        { bar, ID_BAR_GREY, L"" },                 // a prompt without a tip
        { bar, ID_BAR_PLAIN, L"" },                // no string
        { palette, ID_FRAMEWORK_STRING, L"" },     // a palette button, not the framework's text
        { palette, ID_PALETTE_FIRST, L"" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(TipOf(c.bar, c.nID), CString(c.pszTip)) << c.nID;

    // Floating, the bar still asks its frame.
    m_pFrame->FloatControlBar(&m_pFrame->m_wndToolBar, CPoint(200, 200));
    EXPECT_EQ(TipOf(bar, ID_BAR_CHECK), CString(L"Case"));
}

TEST_F(ControlBarTest, FlyByBarNamesTheButtonUnderTheMouseOnTheMessageLine)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    PostMouse(bar, WM_MOUSEMOVE, ItemCentre(bar, 3));
    PumpPending();
    EXPECT_EQ(m_pFrame->m_nLastMessage, ID_BAR_PLAIN);
    bar.PostMessage(WM_MOUSELEAVE);
    PumpPending();
    EXPECT_EQ(m_pFrame->m_nLastMessage, (UINT)AFX_IDS_IDLEMESSAGE);

    // A bar without the style leaves the message line alone.
    CToolBar& palette = m_pFrame->m_wndPalette;
    m_pFrame->ShowControlBar(&palette, TRUE, FALSE);
    int nMessages = m_pFrame->m_nMessages;
    PostMouse(palette, WM_MOUSEMOVE, ItemCentre(palette, 2));
    PumpPending();
    EXPECT_EQ(m_pFrame->m_nMessages, nMessages);
}

} // namespace
