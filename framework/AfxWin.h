// CWnd, the wrapper of an HWND. A CWnd created through Create/CreateEx, or given a window
// with SubclassWindow, is in the thread's permanent handle map and receives the window's
// messages through its message map; CWnd::FromHandle gives any other window a temporary
// wrapper, freed at the thread's idle time. The window procedure catches every exception a
// handler throws and reports it, so that none unwinds through the system's code.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxGeometry.h"
#include "AfxException.h"
#include "AfxMsgMap.h"
#include "AfxGdi.h"
#include "AfxMenu.h"

class CFrameWnd;
class CScrollBar;
class COleDropTarget;
class CDataExchange;
struct CCreateContext;

// CWnd::m_nFlags: a modal loop runs on the window, and goes on until EndModalLoop.
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010

// RunModalLoop's flags: no WM_ENTERIDLE to the parent, no WM_KICKIDLE to the window, show
// the window once the queue is empty.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// Sent by a modal loop to its window while the queue is empty: wParam MSGF_DIALOGBOX,
// lParam the count of calls; a nonzero result asks for more.
#define WM_KICKIDLE 0x036A

// Window classes the framework registers on demand (AfxDeferRegisterClass).
#define AFX_WND_REG 0x00001
#define AFX_WNDFRAMEORVIEW_REG 0x00008

// Both redraw on resizing and take double clicks, with the arrow cursor; frames and views
// also paint the window colour as their background.
extern const TCHAR _afxWnd[];
extern const TCHAR _afxWndFrameOrView[];

BOOL AfxDeferRegisterClass(LONG fToRegister);

// Registers (once) a class whose procedure is DefWindowProc, with these attributes, and
// returns its name; CWnd::Create subclasses the windows of the class like any other.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0,
                            HICON hIcon = 0);

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    virtual ~CWnd();

    HWND m_hWnd;

    // Callers may ask a NULL pointer for its handle, as MFC allows.
    operator HWND() const { return IsNull(this) ? NULL : m_hWnd; }
    HWND GetSafeHwnd() const { return IsNull(this) ? NULL : m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // The positions SetWindowPos takes as pWndInsertAfter.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- Handle maps -------------------------------------------------------------------
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // ---- Creation and destruction --------------------------------------------------------
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight,
                          HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    // Called after the last message; classes allocated with new delete themselves here.
    virtual void PostNcDestroy();

    // ---- Message handling ----------------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled.
    LRESULT Default();
    static const MSG* PASCAL GetCurrentMessage();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // PreTranslateMessage of pMsg->hwnd's CWnd, then of each parent's, up to hWndStop.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // ---- Reflection to child controls ----------------------------------------------------
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);
    virtual BOOL IsFrameWnd() const;

    // ---- Attributes and hierarchy --------------------------------------------------------
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    // The first frame among the parents (CFrameWnd); NULL when there is none.
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);

    // ---- Dialog items --------------------------------------------------------------------
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
    {
        return (int)::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount);
    }
    int GetDlgItemText(int nID, CString& rString) const;

    // ---- Text and font -------------------------------------------------------------------
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
    {
        return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
    }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE)
    {
        ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }

    // ---- Geometry ------------------------------------------------------------------------
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                     lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
    }
    void CenterWindow(CWnd* pAlternateOwner = NULL);

    // ---- State ---------------------------------------------------------------------------
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* PASCAL WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

    // ---- Painting ------------------------------------------------------------------------
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }

    // ---- Input ---------------------------------------------------------------------------
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                      void (CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = NULL)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // ---- Scroll bars ---------------------------------------------------------------------
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE)
    {
        return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
    }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    // The largest position the thumb can take: nMax - max(nPage - 1, 0).
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);

    // ---- Messages ------------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    // ---- Dialog data and modal loops ------------------------------------------------------
    // Runs DoDataExchange; FALSE when a value failed its check (the user was told).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Pumps messages through the thread's PreTranslateMessage until EndModalLoop; gives its
    // result, or -1 on WM_QUIT, which it posts again for the outer loop.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    UINT m_nFlags = 0;
    int m_nModalResult = -1;

    // ---- Help and drag and drop ------------------------------------------------------------
    // WinHelp on the program's help file (its path with the extension .HLP), for the
    // top-level window.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    // The registered drop target, revoked when the window is destroyed.
    COleDropTarget* m_pDropTarget = NULL;

    // ---- Menus ---------------------------------------------------------------------------
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const
    {
        return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
    }

    // ---- Handlers: the defaults give the message its default handling ---------------------
protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Last message: revokes the drop target, restores the original procedure, detaches and
    // calls PostNcDestroy.
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // A top-level window passes it on to every descendant that has a CWnd.
    afx_msg void OnSysColorChange();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    // Scroll bar controls get the message reflected first.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // Updates the popup's items through their ON_UPDATE_COMMAND_UI handlers.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // The CCmdUI walk of OnInitMenuPopup. With bAutoMenuEnable, command items that no
    // target handles are disabled (never popup items or system commands).
    void UpdateMenuPopupItems(CMenu* pPopupMenu, BOOL bAutoMenuEnable);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    // Menu items go to the CMenu that owns them, control items to the control.
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The control's own colours first (ON_WM_CTLCOLOR_REFLECT).
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent passes a child's notification here first; TRUE when the child handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper;   // the procedure the window had before it was subclassed
    HWND m_hWndOwner;     // SetOwner's window, for child windows

    // The empty asm keeps the compiler from assuming that this is never NULL.
    static bool IsNull(const void* p)
    {
        __asm__("" : "+r"(p));
        return p == nullptr;
    }

private:
    explicit CWnd(HWND hWnd);   // the wndTop family

    DECLARE_MESSAGE_MAP()
};

// The thread's main window (CWinThread::m_pMainWnd).
CWnd* AfxGetMainWnd();

// One turn of a message loop: gets a message and, unless a PreTranslateMessage of the
// window's chain takes it, translates and dispatches it. FALSE on WM_QUIT.
BOOL AfxPumpMessage();
// The thread object's PreTranslateMessage, or the walk up the parent chain without one.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// Reports an exception caught at the window procedure and gives the message's result.
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
// Frees the thread's temporary CWnd, CDC, CGdiObject, CMenu and CImageList wrappers.
void AfxDeleteTempMaps();
// The creation hook of CreateEx, for windows the system creates itself (dialogs): the
// first window created after the call is attached to pWnd. FALSE from the unhook when no
// window was created.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();
// The window whose control notifications UpdateData holds back while it runs.
HWND AfxGetLockoutNotifyWindow();
