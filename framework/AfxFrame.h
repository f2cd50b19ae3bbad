// CFrameWnd: the top-level window around a view, with the menu, accelerators, icon and
// caption of one resource id, the layout of its bars and view, the active view, and the
// routing of commands through view, document, frame and application.
#pragma once

#include <windows.h>

#include "AfxWin.h"
#include "AfxView.h"

// Frame styles, in the low word of the window style.
#define FWS_ADDTOTITLE 0x00008000L    // the caption shows the active document's title
#define FWS_PREFIXTITLE 0x00004000L   // ... before the frame's own title
#define FWS_SNAPTOBARS 0x00002000L

// Child window ids the layout knows.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900

// The dock bars along the frame's edges (EnableDocking), and the one inside a floating frame.
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F

// The sides of a frame that control bars dock on, and the side a bar is aligned to; the
// other CBRS_ styles are with the bars (AfxBar.h).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L

class CControlBar;
class CDockBar;

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// Asks a control bar to take its place from the rectangle a layout has left
// (lParam: AFX_SIZEPARENTPARAMS*).
#define WM_SIZEPARENT 0x0361
// The text of the message line: lParam a string, or wParam a string id.
#define WM_SETMESSAGESTRING 0x0362

struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;      // the deferred positions of the layout
    RECT rect;      // what is still free
    SIZE sizeTotal; // what the bars took, when not stretched
    BOOL bStretch;
};

struct CPrintPreviewState;

// One deferred move of a layout.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    virtual ~CFrameWnd();

    static const CRect rectDefault;   // CW_USEDEFAULT everywhere

    // lpszMenuName: a menu resource the window gets (and destroys with itself).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL,
                        DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    // Menu, accelerators, icon and title (the first field of the string) of one resource
    // id. Without a context the views get their initial update at once.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);

    // ---- Views and documents -------------------------------------------------------------
    CView* GetActiveView() const { return m_pViewActive; }
    // bNotify: the views are told (OnActivateView).
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Sets the first pane active, sends the initial update and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows (nCmdShow -1: as appropriate) and brings the frame to the top.
    virtual void ActivateFrame(int nCmdShow = -1);

    // ---- Layout and caption --------------------------------------------------------------
    // The bars take their places (WM_SIZEPARENT) and the view fills the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }

    // ---- Message line --------------------------------------------------------------------
    // Through the status bar (AFX_IDW_STATUS_BAR); nothing without one.
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    virtual CWnd* GetMessageBar();
    // The prompt of a command: its string up to the first newline.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;

    virtual HACCEL GetDefaultAccelerator();

    // ---- Print preview (AfxPreview.cpp) ------------------------------------------------------
    // Entering hides the menu and every child but the message line, and gives the first
    // pane's id to the preview; leaving puts them back as they were.
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    // Set while a preview shows: closing the frame closes the preview instead.
    void (CALLBACK* m_lpfnCloseProc)(CFrameWnd* pFrameWnd) = NULL;

    // ---- Control bars (defined with the bars) ---------------------------------------------
    // A dock bar along each side the style names (CBRS_ALIGN_...) that has none yet.
    void EnableDocking(DWORD dwDockStyle);
    // nDockBarID 0: the dock bar of the side the bar is aligned to. lpRect (screen) picks
    // the row; without it the bar starts a row of its own.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    // Into a floating frame of m_pFloatingFrameClass whose top-left corner is the screen
    // point; a bar alone in one already just moves it.
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // bDelay: the bar changes at the next idle-time layout.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Among the bars whose dock site this frame is, dock bars included.
    CControlBar* GetControlBar(UINT nID);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    CRuntimeClass* m_pFloatingFrameClass;   // CMiniDockFrameWnd or a class derived from it
    CPtrList m_listControlBars;

    BOOL IsFrameWnd() const override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoMenuEnable;   // menu items without any handler are disabled
    int m_nWindow;            // the number shown after the title, 0 for none
    HMENU m_hMenuDefault;
    HACCEL m_hAccelTable;
    CRect m_rectBorder;       // space the layout leaves around the view

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags;

protected:
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Frames live on the heap and delete themselves with their window.
    void PostNcDestroy() override;
    // The window class with the icon of the resource id, or NULL for the default one.
    LPCTSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);
    void BringToTop(int nCmdShow);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    // Asks the active document whether it may close; the main frame closes every document.
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Passed on to every descendant that has a CWnd, as the system tells top-level windows only.
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    // The CCmdUI update of the popup's items through the command route; with
    // m_bAutoMenuEnable, items no target handles are disabled.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // A bar's tip: the text after the first newline of the command's string.
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    CString m_strTitle;
    CView* m_pViewActive;
    UINT m_nIDHelp;
    UINT m_nIDLastMessage;
    BOOL m_bInRecalcLayout;

    DECLARE_MESSAGE_MAP()
};
