#include "AfxWin.h"

#include <cxxabi.h>
#include <exception>

#include "AfxApp.h"
#include "AfxHandleMap.h"
#include "AfxOle.h"
#include "AfxImageList.h"
#include "AfxResource.h"

// The dispatcher turns each entry's generic member pointer back into the type its
// signature code names.
#pragma GCC diagnostic ignored "-Wcast-function-type"

namespace {

// The last lookups of the message maps: most messages a window gets are the same few,
// and a hit saves walking the class's maps.
struct MsgCacheEntry
{
    UINT nMsg;
    const AFX_MSGMAP_ENTRY* lpEntry;
    const AFX_MSGMAP* pMessageMap;
};
const UINT kMsgCacheSize = 512;   // a power of two

struct WndThreadState
{
    MSG lastSentMsg = {};
    CWnd* pWndInit = NULL;            // the CWnd whose window CreateEx is creating
    HHOOK hHookCbt = NULL;
    MsgCacheEntry msgCache[kMsgCacheSize] = {};
};

thread_local WndThreadState t_wndState;

void SetWndHandle(CWnd* pWnd, HWND hWnd)
{
    pWnd->m_hWnd = hWnd;
}

thread_local CHandleMap<CWnd, HWND> t_wndMap(SetWndHandle);

// An exception of the C++ library (or OpenCV's, which derives from it) carried to the
// framework's report as a CException with the same text.
class CStdException : public CException
{
public:
    explicit CStdException(const char* pszWhat) : m_strMessage(CA2W(pszWhat, CP_UTF8)) {}

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const override
    {
        if (pnHelpContext != NULL)
            *pnHelpContext = 0;
        if (lpszError == NULL || nMaxError == 0)
            return FALSE;
        lstrcpynW(lpszError, m_strMessage, (int)nMaxError);
        return TRUE;
    }

private:
    CString m_strMessage;
};

// Asks only whether a command is enabled: OnCommand drops a menu or accelerator command
// whose update handler disabled it.
class CTestCmdUI : public CCmdUI
{
public:
    CTestCmdUI() : m_bEnabled(TRUE) {}
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}

    BOOL m_bEnabled;
};

LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& state = t_wndState;
    if (nCode == HCBT_CREATEWND && state.pWndInit != NULL)
    {
        // The first window the call creates is ours; windows its WM_CREATE creates are not.
        CWnd* pWndInit = state.pWndInit;
        state.pWndInit = NULL;
        pWndInit->SubclassWindow((HWND)wParam);
    }
    return CallNextHookEx(state.hHookCbt, nCode, wParam, lParam);
}

void HookWindowCreate(CWnd* pWnd)
{
    WndThreadState& state = t_wndState;
    if (state.hHookCbt == NULL)
        state.hHookCbt = SetWindowsHookExW(WH_CBT, CbtFilterHook, NULL, GetCurrentThreadId());
    state.pWndInit = pWnd;
}

// FALSE when the window was never created, so that the hook never saw it.
BOOL UnhookWindowCreate()
{
    WndThreadState& state = t_wndState;
    if (state.hHookCbt != NULL)
    {
        UnhookWindowsHookEx(state.hHookCbt);
        state.hHookCbt = NULL;
    }
    if (state.pWndInit != NULL)
    {
        state.pWndInit = NULL;
        return FALSE;
    }
    return TRUE;
}

HWND GetParentOwner(HWND hWnd)
{
    if (GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)
        return GetParent(hWnd);
    return GetWindow(hWnd, GW_OWNER);
}

CWnd* FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm)
{
    HWND hWndChild = GetDlgItem(hWnd, nID);
    if (hWndChild != NULL)
    {
        // Children with the same id as their parent come first.
        if (GetTopWindow(hWndChild) != NULL)
        {
            CWnd* pWndChild = FindDescendant(hWndChild, nID, bOnlyPerm);
            if (pWndChild != NULL)
                return pWndChild;
        }
        if (!bOnlyPerm)
            return CWnd::FromHandle(hWndChild);
        CWnd* pWndChild = CWnd::FromHandlePermanent(hWndChild);
        if (pWndChild != NULL)
            return pWndChild;
    }
    for (hWndChild = GetTopWindow(hWnd); hWndChild != NULL;
         hWndChild = GetWindow(hWndChild, GW_HWNDNEXT))
    {
        CWnd* pWndChild = FindDescendant(hWndChild, nID, bOnlyPerm);
        if (pWndChild != NULL)
            return pWndChild;
    }
    return NULL;
}

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                       BOOL bOnlyPerm)
{
    for (HWND hWndChild = GetTopWindow(hWnd); hWndChild != NULL;
         hWndChild = GetWindow(hWndChild, GW_HWNDNEXT))
    {
        if (bOnlyPerm)
        {
            CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild);
            if (pWnd != NULL)
                AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
        }
        else
        {
            SendMessageW(hWndChild, message, wParam, lParam);
        }
        if (bDeep && GetTopWindow(hWndChild) != NULL)
            SendToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

// The permanent CMenu of the popup, at any depth, that holds the command.
CMenu* FindPopupMenuFromID(CMenu* pMenu, UINT nID)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    int nItems = GetMenuItemCount(hMenu);
    for (int iItem = 0; iItem < nItems; iItem++)
    {
        HMENU hPopup = GetSubMenu(hMenu, iItem);
        if (hPopup != NULL)
        {
            CMenu* pPopup = FindPopupMenuFromID(CMenu::FromHandle(hPopup), nID);
            if (pPopup != NULL)
                return pPopup;
        }
        else if (GetMenuItemID(hMenu, iItem) == nID)
        {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return NULL;
}

ATOM RegisterDefaultClass(LPCTSTR lpszClassName, UINT style, HBRUSH hbrBackground)
{
    WNDCLASSW wndcls = {};
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (GetClassInfoW(hInst, lpszClassName, &wndcls))
        return 1;
    wndcls.style = style;
    wndcls.lpfnWndProc = DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = lpszClassName;
    return RegisterClassW(&wndcls);
}

} // namespace

// ---- Window classes ---------------------------------------------------------------------

const TCHAR _afxWnd[] = L"AfxWnd";
const TCHAR _afxWndFrameOrView[] = L"AfxFrameOrView";

BOOL AfxDeferRegisterClass(LONG fToRegister)
{
    BOOL bResult = TRUE;
    if (fToRegister & AFX_WND_REG)
        bResult &= RegisterDefaultClass(_afxWnd, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, NULL) != 0;
    if (fToRegister & AFX_WNDFRAMEORVIEW_REG)
        bResult &= RegisterDefaultClass(_afxWndFrameOrView, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                        (HBRUSH)(COLOR_WINDOW + 1)) != 0;
    return bResult;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The name stands for the attributes, so that equal requests share one class; it lives
    // until the thread's next call.
    thread_local CString t_strName;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        t_strName.Format(L"Afx:%p:%x", hInst, nClassStyle);
    else
        t_strName.Format(L"Afx:%p:%x:%p:%p:%p", hInst, nClassStyle, hCursor, hbrBackground, hIcon);

    WNDCLASSW wndcls = {};
    if (GetClassInfoW(hInst, t_strName, &wndcls))
        return t_strName;
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = t_strName;
    if (!RegisterClassW(&wndcls))
        AfxThrowResourceException();
    return t_strName;
}

// ---- The window procedure ----------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

namespace {

// A dialog that WM_INITDIALOG leaves hidden, unmoved and modal (without an owner, or with its
// owner disabled) is centred on its owner, inside the work area.
void PostInitDialog(CWnd* pWnd, const CRect& rectOld, DWORD dwStyleOld)
{
    if ((dwStyleOld & WS_VISIBLE) || (pWnd->GetStyle() & (WS_VISIBLE | WS_CHILD)))
        return;
    CRect rect;
    pWnd->GetWindowRect(&rect);
    if (rect.left != rectOld.left || rect.top != rectOld.top)
        return;
    HWND hOwner = ::GetWindow(pWnd->m_hWnd, GW_OWNER);
    if (hOwner != NULL && ::IsWindowEnabled(hOwner))
        return;
    pWnd->CenterWindow();
}

} // namespace

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& state = t_wndState;
    MSG oldState = state.lastSentMsg;   // messages nest
    state.lastSentMsg.hwnd = hWnd;
    state.lastSentMsg.message = nMsg;
    state.lastSentMsg.wParam = wParam;
    state.lastSentMsg.lParam = lParam;

    // Nothing may unwind into the system's code that called us. The report's message box
    // dispatches other messages, so it gets a copy of the failed one.
    LRESULT lResult = 0;
    try
    {
        CRect rectOld;
        DWORD dwStyleOld = 0;
        if (nMsg == WM_INITDIALOG)
        {
            dwStyleOld = pWnd->GetStyle();
            pWnd->GetWindowRect(&rectOld);
        }
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        if (nMsg == WM_INITDIALOG && CWnd::FromHandlePermanent(hWnd) == pWnd)
            PostInitDialog(pWnd, rectOld, dwStyleOld);
    }
    catch (CException* e)
    {
        MSG msgFailed = state.lastSentMsg;
        lResult = AfxProcessWndProcException(e, &msgFailed);
    }
    catch (const std::exception& e)
    {
        MSG msgFailed = state.lastSentMsg;
        lResult = AfxProcessWndProcException(new CStdException(e.what()), &msgFailed);
    }
    catch (abi::__forced_unwind&)
    {
        throw;   // a thread being cancelled must keep unwinding
    }
    catch (...)
    {
        MSG msgFailed = state.lastSentMsg;
        lResult = AfxProcessWndProcException(new CStdException("Unknown exception."), &msgFailed);
    }
    state.lastSentMsg = oldState;
    return lResult;
}

// ---- Handle maps ---------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_hWndOwner(NULL) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(NULL), m_hWndOwner(NULL) {}

CWnd::~CWnd()
{
    // A window still alive goes with its object; the position constants own no window.
    if (m_hWnd != NULL && this != &wndTop && this != &wndBottom && this != &wndTopMost &&
        this != &wndNoTopMost)
        DestroyWindow();
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return t_wndMap.FromHandle(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return t_wndMap.FromHandlePermanent(hWnd);
}

void PASCAL CWnd::DeleteTempMap()
{
    t_wndMap.DeleteTemp();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    if (t_wndMap.FromHandlePermanent(hWndNew) != NULL)
        return FALSE;   // another object has it
    t_wndMap.SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    t_wndMap.RemoveHandle(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC oldWndProc =
        (WNDPROC)SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (m_pfnSuper == NULL && oldWndProc != AfxWndProc)
        m_pfnSuper = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != NULL)
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
    return Detach();
}

// ---- Creation and destruction ----------------------------------------------------------------

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCTW cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }

    // The hook attaches this object to the window before its first message.
    HookWindowCreate(this);
    HWND hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x,
                                cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
    if (!UnhookWindowCreate())
    {
        PostNcDestroy();   // no window ever existed: clean up as its destruction would
    }
    else if (hWnd == NULL && m_hWnd != NULL && !::IsWindow(m_hWnd))
    {
        // Refused after the hook attached it (a CBT hook said no): its handle died without
        // a WM_NCDESTROY, so the object lets go of it here.
        Detach();
        m_pfnSuper = NULL;
        PostNcDestroy();
    }
    return hWnd != NULL;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL)
    {
        if (!AfxDeferRegisterClass(AFX_WND_REG))
            return FALSE;
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    HWND hWndOrig = m_hWnd;
    CWnd* pWnd = FromHandlePermanent(hWndOrig);
    BOOL bResult = ::DestroyWindow(hWndOrig);
    // A subclassed window detached itself in OnNcDestroy, and 'this' may be deleted by now.
    // One that was only attached never saw the message: it still holds the handle.
    if (pWnd == NULL)
        Detach();
    else if (FromHandlePermanent(hWndOrig) == pWnd)
        pWnd->Detach();
    return bResult;
}

// ---- Message handling --------------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = t_wndState.lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    MSG* pMsg = &t_wndState.lastSentMsg;
    pMsg->time = GetMessageTime();
    DWORD dwPos = GetMessagePos();
    pMsg->pt.x = (short)LOWORD(dwPos);
    pMsg->pt.y = (short)HIWORD(dwPos);
    return pMsg;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::IsFrameWnd() const
{
    return FALSE;
}

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg,
                                            UINT nCode, UINT nID)
{
    for (; lpEntry->nSig != AfxSig_end; lpEntry++)
    {
        if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID &&
            nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return NULL;
}

namespace {

const AFX_MSGMAP_ENTRY* FindWindowMessageEntry(const AFX_MSGMAP* pMessageMap, UINT message)
{
    for (; pMessageMap != NULL;
         pMessageMap = pMessageMap->pfnGetBaseMap != NULL ? pMessageMap->pfnGetBaseMap() : NULL)
    {
        if (message < 0xC000)
        {
            const AFX_MSGMAP_ENTRY* lpEntry =
                AfxFindMessageEntry(pMessageMap->lpEntries, message, 0, 0);
            if (lpEntry != NULL)
                return lpEntry;
        }
        else
        {
            // Registered messages: the entry holds the address of the variable with the number.
            for (const AFX_MSGMAP_ENTRY* lpEntry = pMessageMap->lpEntries;
                 lpEntry->nSig != AfxSig_end; lpEntry++)
            {
                if (lpEntry->nMessage == 0xC000 && *(const UINT*)lpEntry->nSig == message)
                    return lpEntry;
            }
        }
    }
    return NULL;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;

    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        if (pResult != NULL)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }

    // The WM_CTLCOLOR... messages share one entry.
    AFX_CTLCOLOR ctl;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        ctl.hWnd = (HWND)lParam;
        ctl.hDC = (HDC)wParam;
        ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
        message = WM_CTLCOLOR;
        lParam = (LPARAM)&ctl;
    }

    const AFX_MSGMAP* pMessageMap = GetMessageMap();
    MsgCacheEntry& cache =
        t_wndState.msgCache[(LOWORD((DWORD_PTR)pMessageMap) ^ message) & (kMsgCacheSize - 1)];
    const AFX_MSGMAP_ENTRY* lpEntry;
    if (cache.nMsg == message && cache.pMessageMap == pMessageMap)
    {
        lpEntry = cache.lpEntry;
    }
    else
    {
        lpEntry = FindWindowMessageEntry(pMessageMap, message);
        cache.nMsg = message;
        cache.pMessageMap = pMessageMap;
        cache.lpEntry = lpEntry;
    }
    if (lpEntry == NULL)
        return FALSE;

    AFX_PMSGW pfn = (AFX_PMSGW)lpEntry->pfn;
    UINT_PTR nSig = lpEntry->nMessage == 0xC000 ? (UINT_PTR)AfxSig_lwl : lpEntry->nSig;
    switch (nSig)
    {
    case AfxSig_lwl:
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
        break;
    case AfxSig_v_v:
        (this->*pfn)();
        break;
    case AfxSig_i_CREATE:
        lResult = (this->*reinterpret_cast<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(
            (LPCREATESTRUCT)lParam);
        break;
    case AfxSig_b_D:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_v_u_i_i:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, int, int)>(pfn))(
            (UINT)wParam, (int)LOWORD(lParam), (int)HIWORD(lParam));
        break;
    case AfxSig_v_u_p:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, CPoint)>(pfn))((UINT)wParam, CPoint(lParam));
        break;
    case AfxSig_b_u_s_p:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(
            LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam));
        break;
    case AfxSig_v_u_u_u:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(
            (UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_u_u_SCROLL:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
            LOWORD(wParam), HIWORD(wParam),
            reinterpret_cast<CScrollBar*>(FromHandle((HWND)lParam)));
        break;
    case AfxSig_b_W_u_u:
        lResult = (this->*reinterpret_cast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_W:
        (this->*reinterpret_cast<void (CWnd::*)(CWnd*)>(pfn))(
            FromHandle(message == WM_CAPTURECHANGED ? (HWND)lParam : (HWND)wParam));
        break;
    case AfxSig_v_W_p:
        (this->*reinterpret_cast<void (CWnd::*)(CWnd*, CPoint)>(pfn))(FromHandle((HWND)wParam),
                                                                      CPoint(lParam));
        break;
    case AfxSig_u_v:
        lResult = (this->*reinterpret_cast<UINT (CWnd::*)()>(pfn))();
        break;
    case AfxSig_v_TIMER:
        (this->*reinterpret_cast<void (CWnd::*)(UINT_PTR)>(pfn))((UINT_PTR)wParam);
        break;
    case AfxSig_v_b:
        (this->*reinterpret_cast<void (CWnd::*)(BOOL)>(pfn))((BOOL)wParam);
        break;
    case AfxSig_v_M_u_b:
        (this->*reinterpret_cast<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(
            CMenu::FromHandle((HMENU)wParam), LOWORD(lParam), (BOOL)HIWORD(lParam));
        break;
    case AfxSig_l_u_u_M:
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(pfn))(
            LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle((HMENU)lParam));
        break;
    case AfxSig_v_i_MEASUREITEM:
        (this->*reinterpret_cast<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))(
            (int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_v_i_DRAWITEM:
        (this->*reinterpret_cast<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(
            (int)wParam, (LPDRAWITEMSTRUCT)lParam);
        lResult = TRUE;
        break;
    case AfxSig_h_D_W_u:
    {
        AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
        lResult = (LRESULT)(this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
            CDC::FromHandle(pCtl->hDC), FromHandle(pCtl->hWnd), pCtl->nCtlType);
        break;
    }
    case AfxSig_h_D_u:
    {
        // A control without a brush of its own leaves the colours to its parent.
        AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
        HBRUSH hbr = (this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(
            CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
        if (hbr == NULL)
            return FALSE;
        lResult = (LRESULT)hbr;
        break;
    }
    case AfxSig_l_p:
        lResult = (this->*reinterpret_cast<LRESULT (CWnd::*)(CPoint)>(pfn))(CPoint(lParam));
        break;
    case AfxSig_v_b_h:
        (this->*reinterpret_cast<void (CWnd::*)(BOOL, DWORD)>(pfn))((BOOL)wParam, (DWORD)lParam);
        break;
    case AfxSig_v_u_W_b:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(
            LOWORD(wParam), FromHandle((HWND)lParam), (BOOL)HIWORD(wParam));
        break;
    case AfxSig_v_u_l:
        (this->*reinterpret_cast<void (CWnd::*)(UINT, LPARAM)>(pfn))((UINT)wParam, lParam);
        break;
    case AfxSig_v_b_u:
        (this->*reinterpret_cast<void (CWnd::*)(BOOL, UINT)>(pfn))((BOOL)wParam, (UINT)lParam);
        break;
    case AfxSig_v_POS:
        (this->*reinterpret_cast<void (CWnd::*)(WINDOWPOS*)>(pfn))((WINDOWPOS*)lParam);
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);

    if (hWndCtrl == NULL)
    {
        // A menu item or an accelerator: a command its update handler disabled is dropped.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    }
    else
    {
        // Notifications caused by UpdateData filling the controls are not the user's.
        if (AfxGetLockoutNotifyWindow() == m_hWnd)
            return TRUE;
        // The control itself first.
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (ReflectLastMsg(pNMHDR->hwndFrom, pResult))
        return TRUE;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg((UINT)pNMHDR->idFrom, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, NULL);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    return pWnd != NULL && pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = t_wndState.lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
        // Not through OnCmdMsg's overrides: the control's own map only.
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND),
                                 NULL, NULL))
        {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY:
    {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        AFX_NOTIFY notify;
        notify.pResult = pResult;
        notify.pNMHDR = pNMHDR;
        return CCmdTarget::OnCmdMsg(0, MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY),
                                    &notify, NULL);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        {
            AFX_CTLCOLOR ctl;
            ctl.hWnd = (HWND)lParam;
            ctl.hDC = (HDC)wParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            return CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult);
        }
        return FALSE;
    }
}

// ---- Attributes and hierarchy ------------------------------------------------------------------

namespace {

BOOL ModifyStyleAt(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)GetWindowLongPtrW(hWnd, nStyleOffset);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    SetWindowLongPtrW(hWnd, nStyleOffset, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleAt(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleAt(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    m_hWndOwner = pOwnerWnd->GetSafeHwnd();
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    for (CWnd* pParentWnd = GetParent(); pParentWnd != NULL; pParentWnd = pParentWnd->GetParent())
    {
        // Frames derive from CWnd alone, so the object starts with its CWnd.
        if (pParentWnd->IsFrameWnd())
            return reinterpret_cast<CFrameWnd*>(pParentWnd);
    }
    return NULL;
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = GetParentOwner(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    return FindDescendant(m_hWnd, nID, bOnlyPerm);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (hItem != NULL)
    {
        int nLen = ::GetWindowTextLengthW(hItem);
        ::GetWindowTextW(hItem, rString.GetBufferSetLength(nLen), nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    // Over the owner (or parent) when it is visible, else in the middle of the work area.
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (hWndCenter == NULL)
        hWndCenter = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (GetStyle() & WS_CHILD)
    {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        ::GetClientRect(hWndCenter, &rcCenter);
        ::MapWindowPoints(hWndCenter, hWndParent, (LPPOINT)&rcCenter, 2);
    }
    else
    {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter != NULL && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
            ::GetWindowRect(hWndCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(*lpScrollInfo);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(*lpScrollInfo);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar)
{
    int nMin = 0;
    int nMax = 0;
    ::GetScrollRange(m_hWnd, nBar, &nMin, &nMax);
    SCROLLINFO info;
    if (GetScrollInfo(nBar, &info, SIF_PAGE) && info.nPage > 1)
        nMax -= (int)info.nPage - 1;
    return nMax;
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

// ---- Default handlers ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_INITMENUPOPUP()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnSysColorChange()
{
    // The system sends it to top-level windows only; their controls repaint with it.
    if (!(GetStyle() & WS_CHILD))
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }

void CWnd::OnNcDestroy()
{
    // The main window going away ends its thread's message loop.
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL && pThread->m_pMainWnd == this)
    {
        PostQuitMessage(0);
        pThread->m_pMainWnd = NULL;
    }

    // OLE would keep the target of a window that no longer exists.
    if (m_pDropTarget != NULL)
    {
        m_pDropTarget->Revoke();
        m_pDropTarget = NULL;
    }

    // Give the window back its own procedure unless someone subclassed it after us.
    WNDPROC pfnWndProc = (WNDPROC)GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    Default();
    if ((WNDPROC)GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == pfnWndProc && m_pfnSuper != NULL)
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;   // the object can take another window
    Detach();
    PostNcDestroy();
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    WCHAR szPath[MAX_PATH];
    DWORD nLen = GetModuleFileNameW(AfxGetInstanceHandle(), szPath, MAX_PATH);
    CString strHelpFile(szPath, (int)nLen);
    int nDot = strHelpFile.ReverseFind(L'.');
    if (nDot > strHelpFile.ReverseFind(L'\\'))
        strHelpFile = strHelpFile.Left(nDot);
    strHelpFile += L".HLP";
    CWnd* pWnd = GetTopLevelParent();
    ::WinHelpW(pWnd != NULL ? pWnd->m_hWnd : m_hWnd, strHelpFile, nCmd, dwData);
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* pBar = reinterpret_cast<CWnd*>(pScrollBar);
    if (pBar != NULL && pBar->SendChildNotifyLastMsg())
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* pBar = reinterpret_cast<CWnd*>(pScrollBar);
    if (pBar != NULL && pBar->SendChildNotifyLastMsg())
        return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult;
    if (pWnd != NULL && pWnd->SendChildNotifyLastMsg(&lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU)
    {
        // The message names only the item: look for it in the menu being tracked, or else
        // in the menu bar.
        CMenu* pMenu = AfxGetTrackingWindow() == m_hWnd ? CMenu::FromHandle(AfxGetTrackingMenu())
                                                        : GetMenu();
        if (pMenu != NULL)
            pMenu = FindPopupMenuFromID(pMenu, lpMeasureItemStruct->itemID);
        if (pMenu != NULL)
        {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    else
    {
        CWnd* pChild = GetDescendantWindow((int)lpMeasureItemStruct->CtlID, TRUE);
        if (pChild != NULL && pChild->SendChildNotifyLastMsg())
            return;
    }
    Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU)
    {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL)
        {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else if (ReflectLastMsg(lpDrawItemStruct->hwndItem))
    {
        return;
    }
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == NULL)
        return;
    UpdateMenuPopupItems(pMenu, FALSE);
}

void CWnd::UpdateMenuPopupItems(CMenu* pMenu, BOOL bAutoMenuEnable)
{
    CCmdUI state;
    state.m_pMenu = pMenu;
    HMENU hMenu = pMenu->m_hMenu;
    if (AfxGetTrackingMenu() == hMenu)
    {
        state.m_pParentMenu = pMenu;   // a popup menu of its own
    }
    else
    {
        HMENU hParentMenu = ::GetMenu(m_hWnd);
        if (hParentMenu != NULL)
        {
            int nIndexMax = ::GetMenuItemCount(hParentMenu);
            for (int nIndex = 0; nIndex < nIndexMax; nIndex++)
            {
                if (::GetSubMenu(hParentMenu, nIndex) == hMenu)
                {
                    state.m_pParentMenu = CMenu::FromHandle(hParentMenu);
                    break;
                }
            }
        }
    }

    state.m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++)
    {
        state.m_nID = ::GetMenuItemID(hMenu, (int)state.m_nIndex);
        if (state.m_nID == 0)
            continue;   // a separator
        if (state.m_nID == (UINT)-1)
        {
            // A popup item takes the state of its popup's first command; it is never
            // disabled for want of a handler.
            HMENU hSubMenu = ::GetSubMenu(hMenu, (int)state.m_nIndex);
            if (hSubMenu == NULL)
                continue;
            state.m_pSubMenu = CMenu::FromHandle(hSubMenu);
            state.m_nID = ::GetMenuItemID(hSubMenu, 0);
            if (state.m_nID == 0 || state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, FALSE);
        }
        else
        {
            // System commands are never disabled for want of a handler.
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, bAutoMenuEnable && state.m_nID < 0xF000);
        }

        // A handler may have removed or added items.
        UINT nCount = (UINT)::GetMenuItemCount(hMenu);
        if (nCount < state.m_nIndexMax)
        {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            while (state.m_nIndex < nCount &&
                   ::GetMenuItemID(hMenu, (int)state.m_nIndex) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}

// ---- Thread-wide helpers ---------------------------------------------------------------------------

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(NULL, pMsg);
}

BOOL AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PumpMessage();
    MSG msg;
    if (GetMessageW(&msg, NULL, 0, 0) <= 0)
        return FALSE;
    if (!AfxPreTranslateMessage(&msg))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TRUE;
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    HookWindowCreate(pWnd);
}

BOOL AfxUnhookWindowCreate()
{
    return UnhookWindowCreate();
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    AfxDeleteTempGdiMaps();
    AfxDeleteTempMenus();
    CImageList::DeleteTempMap();
}
