// Message maps and command targets: CCmdTarget, CCmdUI, the map entry types and the
// BEGIN_MESSAGE_MAP / ON_... macros. A class's map is a static table of entries; each entry
// names a message (or command range) and a handler stored as a generic member pointer
// together with the signature it was declared with, which the dispatcher uses to decode
// WPARAM and LPARAM into the handler's arguments.
#pragma once

#include <windows.h>

#include "AfxObject.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

#define afx_msg

// Messages sent back to the control that caused them: a parent reflects WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR... and the owner-draw and scroll messages to a child CWnd as
// WM_REFLECT_BASE + message before handling them itself.
#define WM_REFLECT_BASE 0xBC00
// Sent to frames and control bars at idle time so that they update their command states.
#define WM_IDLEUPDATECMDUI 0x0363
// Stands for every WM_CTLCOLOR... message in a map; the dispatcher decodes it.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// The code of a command routed through OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

typedef void (CCmdTarget::*AFX_PMSG)();
typedef void (CWnd::*AFX_PMSGW)();

// Handler signatures: the return type, then the arguments.
enum AfxSig
{
    AfxSig_end = 0,

    // commands and notifications
    AfxSigCmd_v,            // void ()
    AfxSigCmd_RANGE,        // void (UINT nID)
    AfxSigCmdUI,            // void (CCmdUI*)
    AfxSigNotify_v,         // void (NMHDR*, LRESULT*)
    AfxSigNotify_RANGE,     // void (UINT nID, NMHDR*, LRESULT*)
    AfxSigNotify_EX,        // BOOL (UINT nID, NMHDR*, LRESULT*)

    // window messages
    AfxSig_lwl,             // LRESULT (WPARAM, LPARAM)
    AfxSig_v_v,             // void ()
    AfxSig_i_CREATE,        // int (LPCREATESTRUCT)
    AfxSig_b_D,             // BOOL (CDC*)
    AfxSig_v_u_i_i,         // void (UINT, int, int)
    AfxSig_v_u_p,           // void (UINT, CPoint)
    AfxSig_b_u_s_p,         // BOOL (UINT, short, CPoint)
    AfxSig_v_u_u_u,         // void (UINT, UINT, UINT)
    AfxSig_v_u_u_SCROLL,    // void (UINT, UINT, CScrollBar*)
    AfxSig_b_W_u_u,         // BOOL (CWnd*, UINT, UINT)
    AfxSig_v_W,             // void (CWnd*)
    AfxSig_v_W_p,           // void (CWnd*, CPoint)
    AfxSig_u_v,             // UINT ()
    AfxSig_v_TIMER,         // void (UINT_PTR)
    AfxSig_v_b,             // void (BOOL)
    AfxSig_v_M_u_b,         // void (CMenu*, UINT, BOOL)
    AfxSig_l_u_u_M,         // LRESULT (UINT, UINT, CMenu*)
    AfxSig_v_i_MEASUREITEM, // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_v_i_DRAWITEM,    // void (int, LPDRAWITEMSTRUCT)
    AfxSig_h_D_W_u,         // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_h_D_u,           // HBRUSH (CDC*, UINT), the reflected WM_CTLCOLOR
    AfxSig_l_p,             // LRESULT (CPoint)
    AfxSig_v_b_h,           // void (BOOL, DWORD)
    AfxSig_v_u_W_b,         // void (UINT, CWnd*, BOOL)
    AfxSig_v_u_l,           // void (UINT, LPARAM)
    AfxSig_v_b_u,           // void (BOOL, UINT)
    AfxSig_v_POS,           // void (WINDOWPOS*)
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;   // the message; 0xC000 for a registered message
    UINT nCode;      // control or notification code
    UINT nID;        // control id, 0 for window messages
    UINT nLastID;    // last id of a range
    UINT_PTR nSig;   // AfxSig; for a registered message, the address of its number
    AFX_PMSG pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg carries for a WM_NOTIFY.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether one exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// A WM_CTLCOLOR... message as it reaches a WM_CTLCOLOR entry.
struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // Finds the handler of a command (nCode CN_COMMAND), of a command's user-interface
    // update (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI), of a control notification (nCode
    // the notification code) or of a WM_NOTIFY (MAKELONG(code, WM_NOTIFY), pExtra an
    // AFX_NOTIFY) in this object's message map and calls it. Classes that route commands
    // to other targets (views to their document, frames to their view and the application)
    // override it. With pHandlerInfo it only reports the handler.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The application's wait cursor, counted (CWinApp::DoWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The user-interface state of one command: a menu item (m_pMenu, m_nIndex) or a control
// (m_pOther). Update handlers set it; routing stops at the first handler unless it calls
// ContinueRouting.
class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    UINT m_nID;
    UINT m_nIndex;
    CMenu* m_pMenu;
    CMenu* m_pSubMenu;      // the popup when the item opens one; it is not changed then
    CMenu* m_pParentMenu;
    CWnd* m_pOther;
    BOOL m_bEnableChanged;
    BOOL m_bContinueRouting;
    UINT m_nIndexMax;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting();

    // Routes the update to pTarget; with bDisableIfNoHndler an item that has neither an
    // update handler nor a command handler is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// ---- Message maps -------------------------------------------------------------------------

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

// The entries cast handlers to the generic member pointer, which GCC reports as a cast
// between incompatible member types: the signature code in the entry makes it safe.
#define AFX_MSGMAP_WARNINGS_OFF \
    _Pragma("GCC diagnostic push") \
    _Pragma("GCC diagnostic ignored \"-Wcast-function-type\"")
#define AFX_MSGMAP_WARNINGS_ON _Pragma("GCC diagnostic pop")

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    AFX_MSGMAP_WARNINGS_OFF \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// For a class template: BEGIN_TEMPLATE_MESSAGE_MAP(CPainted, BASE, BASE) maps
// template <class BASE> class CPainted : public BASE.
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass) \
    AFX_MSGMAP_WARNINGS_OFF \
    template <typename type_name> \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <typename type_name> \
    const AFX_MSGMAP* PASCAL theClass<type_name>::GetThisMessageMap() \
    { \
        typedef theClass<type_name> ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 } \
        }; \
        static const AFX_MSGMAP messageMap = \
            { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap; \
    } \
    AFX_MSGMAP_WARNINGS_ON

// ---- Commands and notifications -------------------------------------------------------------

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(id), AfxSigCmd_v, \
      static_cast<AFX_PMSG>(&ThisClass::memberFxn) },

#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (WORD)(id), (WORD)(idLast), AfxSigCmd_RANGE, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn)) },

#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(id), AfxSigCmdUI, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn)) },

#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (WORD)(id), (WORD)(idLast), AfxSigCmdUI, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(CCmdUI*)>(&ThisClass::memberFxn)) },

// A control notification in WM_COMMAND (BN_CLICKED, CBN_SELCHANGE, ...).
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    { WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigCmd_v, \
      static_cast<AFX_PMSG>(&ThisClass::memberFxn) },

#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn)) },

#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>( \
          &ThisClass::memberFxn)) },

// The handler returns FALSE to leave the notification to the next command target.
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_EX, \
      (AFX_PMSG)(static_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>( \
          &ThisClass::memberFxn)) },

#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_EX, \
      (AFX_PMSG)(static_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>( \
          &ThisClass::memberFxn)) },

// Notifications a control handles itself, before its parent sees them.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    { WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_v, \
      (AFX_PMSG)(static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn)) },

#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    { WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v, \
      static_cast<AFX_PMSG>(&ThisClass::memberFxn) },

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// ---- Any message ----------------------------------------------------------------------------

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, AfxSig_lwl, \
      (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)) },

// nMessageVariable holds the number RegisterWindowMessage gave.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      (AFX_PMSG)(AFX_PMSGW)(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)) },

// ---- Window messages, with MFC's handler names and signatures ---------------------------------

#define AFX_ON_WM(message, sig, type, memberFxn) \
    { message, 0, 0, 0, sig, (AFX_PMSG)(AFX_PMSGW)(static_cast<type>(&ThisClass::memberFxn)) },

#define ON_WM_CREATE() AFX_ON_WM(WM_CREATE, AfxSig_i_CREATE, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_ON_WM(WM_DESTROY, AfxSig_v_v, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_ON_WM(WM_NCDESTROY, AfxSig_v_v, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_ON_WM(WM_CLOSE, AfxSig_v_v, void (CWnd::*)(), OnClose)
#define ON_WM_SIZE() AFX_ON_WM(WM_SIZE, AfxSig_v_u_i_i, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_PAINT() AFX_ON_WM(WM_PAINT, AfxSig_v_v, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_ON_WM(WM_NCPAINT, AfxSig_v_v, void (CWnd::*)(), OnNcPaint)
#define ON_WM_ERASEBKGND() \
    AFX_ON_WM(WM_ERASEBKGND, AfxSig_b_D, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SYSCOLORCHANGE() \
    AFX_ON_WM(WM_SYSCOLORCHANGE, AfxSig_v_v, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_SHOWWINDOW() \
    AFX_ON_WM(WM_SHOWWINDOW, AfxSig_v_b_u, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_WINDOWPOSCHANGING() \
    AFX_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_v_POS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_v_POS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_ACTIVATE() \
    AFX_ON_WM(WM_ACTIVATE, AfxSig_v_u_W_b, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() \
    AFX_ON_WM(WM_ACTIVATEAPP, AfxSig_v_b_h, void (CWnd::*)(BOOL, DWORD), OnActivateApp)
#define ON_WM_NCHITTEST() AFX_ON_WM(WM_NCHITTEST, AfxSig_l_p, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_TIMER() AFX_ON_WM(WM_TIMER, AfxSig_v_TIMER, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_SYSCOMMAND() \
    AFX_ON_WM(WM_SYSCOMMAND, AfxSig_v_u_l, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_PALETTECHANGED() \
    AFX_ON_WM(WM_PALETTECHANGED, AfxSig_v_W, void (CWnd::*)(CWnd*), OnPaletteChanged)

#define ON_WM_LBUTTONDOWN() \
    AFX_ON_WM(WM_LBUTTONDOWN, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() \
    AFX_ON_WM(WM_LBUTTONUP, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
    AFX_ON_WM(WM_LBUTTONDBLCLK, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() \
    AFX_ON_WM(WM_RBUTTONDOWN, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() \
    AFX_ON_WM(WM_RBUTTONUP, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_MOUSEMOVE() \
    AFX_ON_WM(WM_MOUSEMOVE, AfxSig_v_u_p, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() \
    AFX_ON_WM(WM_MOUSEWHEEL, AfxSig_b_u_s_p, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_SETCURSOR() \
    AFX_ON_WM(WM_SETCURSOR, AfxSig_b_W_u_u, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_CAPTURECHANGED() \
    AFX_ON_WM(WM_CAPTURECHANGED, AfxSig_v_W, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CONTEXTMENU() \
    AFX_ON_WM(WM_CONTEXTMENU, AfxSig_v_W_p, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)

#define ON_WM_KEYDOWN() \
    AFX_ON_WM(WM_KEYDOWN, AfxSig_v_u_u_u, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() \
    AFX_ON_WM(WM_KEYUP, AfxSig_v_u_u_u, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_ON_WM(WM_CHAR, AfxSig_v_u_u_u, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() \
    AFX_ON_WM(WM_SYSKEYDOWN, AfxSig_v_u_u_u, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_GETDLGCODE() AFX_ON_WM(WM_GETDLGCODE, AfxSig_u_v, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_SETFOCUS() AFX_ON_WM(WM_SETFOCUS, AfxSig_v_W, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_ON_WM(WM_KILLFOCUS, AfxSig_v_W, void (CWnd::*)(CWnd*), OnKillFocus)

#define ON_WM_HSCROLL() \
    AFX_ON_WM(WM_HSCROLL, AfxSig_v_u_u_SCROLL, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() \
    AFX_ON_WM(WM_VSCROLL, AfxSig_v_u_u_SCROLL, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)

#define ON_WM_INITMENUPOPUP() \
    AFX_ON_WM(WM_INITMENUPOPUP, AfxSig_v_M_u_b, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUCHAR() \
    AFX_ON_WM(WM_MENUCHAR, AfxSig_l_u_u_M, LRESULT (CWnd::*)(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_ENTERMENULOOP() \
    AFX_ON_WM(WM_ENTERMENULOOP, AfxSig_v_b, void (CWnd::*)(BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() \
    AFX_ON_WM(WM_EXITMENULOOP, AfxSig_v_b, void (CWnd::*)(BOOL), OnExitMenuLoop)
#define ON_WM_MEASUREITEM() \
    AFX_ON_WM(WM_MEASUREITEM, AfxSig_v_i_MEASUREITEM, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), \
              OnMeasureItem)
#define ON_WM_DRAWITEM() \
    AFX_ON_WM(WM_DRAWITEM, AfxSig_v_i_DRAWITEM, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)

// Every WM_CTLCOLOR... message: HBRUSH OnCtlColor(CDC*, CWnd* pControl, UINT nCtlColor).
#define ON_WM_CTLCOLOR() \
    AFX_ON_WM(WM_CTLCOLOR, AfxSig_h_D_W_u, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
// In the control: HBRUSH CtlColor(CDC*, UINT nCtlColor); a NULL brush leaves it to the parent.
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_ON_WM(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_h_D_u, HBRUSH (CWnd::*)(CDC*, UINT), CtlColor)

// The entry of the table for the message, code and id; NULL when there is none.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg,
                                            UINT nCode, UINT nID);
