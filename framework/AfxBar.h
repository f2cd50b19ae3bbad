// Control bars: CControlBar and the toolbar over COMCTL32's (CToolBar, CToolBarCtrl), the
// dock bars along a frame's edges that hold bars in rows (CDockBar), the small frames bars
// float in (CMiniFrameWnd, CMiniDockFrameWnd), and the dragging between them (CDockContext).
//
// A bar is created as a child of its frame, which is its owner and its dock site for good:
// the bar's commands, tool tips and idle-time updates go to that frame wherever the bar sits.
// Docked, the bar is a child of one of the frame's dock bars; floating, of the dock bar
// inside a floating frame. The frame's RecalcLayout asks each of its own bars and dock bars
// for its place (WM_SIZEPARENT) and gives the rest to the view; a dock bar lays out its bars
// row by row. A bar's borders and gripper are its non-client area: the control's client
// area holds only its buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "AfxWin.h"
#include "AfxFrame.h"
#include "AfxImageList.h"

// CControlBar::m_dwStyle, besides the CBRS_ALIGN_ values of AfxFrame.h.
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_BORDER_3D 0x0080L      // the border lines are etched
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L          // the message line names the item under the mouse
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_SIZE_DYNAMIC 0x0004L   // rewrapped to the side it docks on
#define CBRS_SIZE_FIXED 0x0002L     // keeps the wrapping it was given
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L    // the handle a docked bar is dragged by
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// A toolbar button's style: the control's style in the low word, its state in the high word,
// the enabled state turned into a disabled one.
#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)

// The resource LoadToolBar reads: WORDs version (1), image width, image height, item count,
// then one command id per item, 0 for a separator.
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// The message line when no command is pointed at.
#define AFX_IDS_IDLEMESSAGE 0xE001

class CDockContext;

// The dock bars of a frame with their side styles, in the order EnableDocking makes them: top
// and bottom first, so that they take the frame's whole width.
struct AFX_DOCKBAR_SIDE
{
    UINT nID;
    DWORD dwStyle;
};
extern const AFX_DOCKBAR_SIDE dwDockBarMap[4];

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    virtual ~CControlBar();

    // Space between the bar's edges (inside its border lines) and its contents.
    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    DWORD m_dwStyle;           // CBRS_ styles; the window style keeps the WS_ ones
    DWORD m_dwDockStyle;       // the sides EnableDocking allows
    CFrameWnd* m_pDockSite;    // the frame the bar was created in
    CDockBar* m_pDockBar;      // the dock bar holding the bar, NULL when it has none
    CDockContext* m_pDockContext;
    BOOL m_bAutoDelete;        // the object is deleted with its window

    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    // 0: the bar stays where it is; otherwise it can be dragged to those sides of its frame
    // (which must allow them too, CFrameWnd::EnableDocking) and floated.
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const;
    // The frame whose layout holds the bar: its floating frame or its dock site.
    CFrameWnd* GetDockingFrame() const;
    // Visible, taking a pending DelayShow into account.
    virtual BOOL IsVisible() const;
    virtual BOOL IsDockBar() const;

    // The size the bar needs along a horizontal (bHorz) or vertical side; bStretch takes
    // the whole length of the side.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Brings the state of the bar's items up to date through pTarget's update handlers;
    // with bDisableIfNoHndler, items no target handles are disabled.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // Shows or hides the bar at the next layout of its frame.
    virtual void DelayShow(BOOL bShow);
    // Inside a layout: carries out a pending DelayShow (deferred in lpLayout->hDWP, only when
    // there is one) and returns the window style the bar has then.
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    // Deflates rect by the bar's border lines, borders and gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    // The command id of the item at the point (client coordinates); -1 outside every item.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;

protected:
    CControlBar();

    // Draw into the window DC; rect is the window rectangle. DrawBorders deflates it by
    // the lines drawn.
    void DrawBorders(CDC* pDC, CRect& rect);
    void DrawGripper(CDC* pDC, const CRect& rect);
    // The bar runs across: on the top or bottom side, or floating the way they run.
    BOOL IsHorzLayout() const;

    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    // Over empty space (gripper, borders) of a bar that can dock: drag it, or switch
    // between docked and floating; over an item, the control's own handling.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    enum StateFlags { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags;

    // A border line is 2 pixels; the gripper takes a band at the start of a docked bar.
    enum { cxBorderLine = 2, cxGripperBand = 8 };

private:
    afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The toolbar control's own messages. A CToolBar is its control: CToolBar::GetToolBarCtrl
// gives the same window through this class.
class CToolBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    CToolBarCtrl() {}

    // Each returns the list the control had (a temporary object), or NULL. The control
    // does not own the list.
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* SetHotImageList(CImageList* pImageList);
    CImageList* SetDisabledImageList(CImageList* pImageList);
};

class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    virtual ~CToolBar();

    // Keeps the borders the bar has.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    // dwCtrlStyle: the control's TBSTYLE_ styles; CBRS_TOOLTIPS adds TBSTYLE_TOOLTIPS.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

    // Buttons of sizeButton showing images of sizeImage.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // Moves the top and bottom borders so that one row of buttons makes a bar of that
    // height; buttons taller than the room left are cut at the bottom.
    void SetHeight(int cyHeight);
    // The buttons, their image size and the bitmap of the same name (RT_TOOLBAR).
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    // The buttons' images, one image width each; black, the greys and white become the
    // system's button colours.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    // One button per id, 0 making a separator; buttons take the images in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const;
    // -1 when no button has the command.
    int CommandToIndex(UINT nIDFind) const;
    // Client coordinates of the button.
    virtual void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    CToolBarCtrl& GetToolBarCtrl() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    CSize m_sizeButton;
    CSize m_sizeImage;
    HBITMAP m_hbmImageWell;   // the loaded images, kept for the control's replacing

    // The extent of the visible buttons in the control's client area.
    CSize CalcButtonExtent() const;
    // A bar of dynamic size wraps after every button along a vertical side, never along a
    // horizontal one; the result is the extent of the buttons then.
    CSize WrapAndMeasure(BOOL bHorz);

    afx_msg void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

class CDockBar : public CControlBar
{
    DECLARE_DYNCREATE(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    virtual ~CDockBar();

    BOOL m_bFloating;    // the dock bar of a floating frame
    // m_bAutoDelete is TRUE: a dock bar lives on the heap unless it says otherwise.
    // The docked bars row by row, each row ended by NULL.
    CPtrArray m_arrBars;

    // dwStyle: CBRS_ALIGN_ and border styles besides the WS_ ones.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // Into the row the rectangle (screen) lies across, in the order of its position, or
    // into a new row; without a rectangle, into a new last row. The bar takes the dock
    // bar's side; its old dock bar loses it, and an emptied floating frame is destroyed.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    BOOL RemoveControlBar(CControlBar* pBar);
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    BOOL IsDockBar() const override;

protected:
    // The size of the rows (client area), and with bMove the bars moved there.
    CSize LayoutBars(BOOL bMove);
    // While the frame lays itself out, the bars' sizes measured for the dock bar's own
    // size, by place in m_arrBars: moving them there needs no second measure.
    std::vector<CSize> m_measuredSizes;
    BOOL m_bKeepSizes;
    void InsertBar(CControlBar* pBar, LPCRECT lpRect);

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// A frame with a small caption (a tool window) and no sunken edge, owned by its parent.
class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

// The frame a bar floats in: its one dock bar fills it, and it fits itself around the bars
// at each layout, hiding while none of them is visible. Dragging its caption drags the bar
// (to dock it or move it); a double click on the caption docks it again; closing it hides
// its bars.
class CMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // pParent: the dock site; dwBarStyle: the style of the first bar to float in it.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    void RecalcLayout(BOOL bNotify = TRUE) override;

    CDockBar m_wndDockBar;

protected:
    afx_msg void OnClose();

private:
    // The bar dragged or toggled through the caption.
    CControlBar* FirstBar() const;
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Drags a bar with the mouse, drawing its outline, and docks it where the outline meets a
// dock bar that takes it, or floats it there; switches a bar between docked and floating.
class CDockContext
{
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle;      // the bar's, at the start of the drag
    // Where ToggleDocking sends the bar back to.
    UINT m_uMRUDockID;        // the dock bar it was last docked in, 0 for none
    CRect m_rectMRUDockPos;   // its place there (screen)
    CPoint m_ptMRUFloatPos;   // the last floating frame's top-left corner
    BOOL m_bMRUFloatPos;

    // pt: the cursor (screen). Runs until the button is released, Escape is pressed or the
    // capture is lost.
    virtual void StartDrag(CPoint pt);
    void ToggleDocking();

    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

protected:
    // The dock bar the outline would dock in, with the outline in its orientation.
    CDockBar* FindDockBar(const CRect& rectHorz, const CRect& rectVert, CRect& rectDock) const;
    void Move(CPoint pt);
    void DrawOutline(BOOL bErase);
    void EndDrag(BOOL bDrop);

    CPoint m_ptLast;
    // The outlines of the bar docked along a horizontal and a vertical side, and of its
    // floating frame, each with the cursor's offset inside it.
    CSize m_sizeHorz;
    CSize m_sizeVert;
    CSize m_sizeFloat;
    CSize m_sizeGrabHorz;
    CSize m_sizeGrabVert;
    CSize m_sizeGrabFloat;
    CRect m_rectDrawn;       // the outline on the screen
    BOOL m_bDrawnThick;      // the outline drawn is the floating one
    CRect m_rectDock;
    CDockBar* m_pDockTarget;
    HBRUSH m_hbrHalftone;
};
