#include "AfxMsgMap.h"

#include "AfxApp.h"
#include "AfxMenu.h"
#include "AfxWin.h"

// The dispatcher turns each entry's generic member pointer back into the type its
// signature code names.
#pragma GCC diagnostic ignored "-Wcast-function-type"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget() {}

CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
        { 0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0 }
    };
    static const AFX_MSGMAP messageMap = { NULL, &_messageEntries[0] };
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

BOOL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                    AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo != NULL)
    {
        pHandlerInfo->pTarget = pTarget;
        pHandlerInfo->pmf = pfn;
        return TRUE;
    }
    switch (nSig)
    {
    case AfxSigCmd_v:
        (pTarget->*pfn)();
        return TRUE;
    case AfxSigCmd_RANGE:
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
        return TRUE;
    case AfxSigCmdUI:
    {
        // The handler may pass the update on to the next target (ContinueRouting).
        CCmdUI* pCmdUI = (CCmdUI*)pExtra;
        pCmdUI->m_bContinueRouting = FALSE;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
        return !pCmdUI->m_bContinueRouting;
    }
    case AfxSigNotify_v:
    {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
            pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    }
    case AfxSigNotify_RANGE:
    {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
        return TRUE;
    }
    case AfxSigNotify_EX:
    {
        AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
        return (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
            nID, pNotify->pNMHDR, pNotify->pResult);
    }
    default:
        return FALSE;
    }
}

} // namespace

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The message is packed in the high word of the code, except for the update code.
    UINT nMsg = 0;
    if (nCode != (int)CN_UPDATE_COMMAND_UI)
    {
        nMsg = HIWORD(nCode);
        nCode = LOWORD(nCode);
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMessageMap = GetMessageMap(); pMessageMap != NULL;
         pMessageMap = pMessageMap->pfnGetBaseMap != NULL ? pMessageMap->pfnGetBaseMap() : NULL)
    {
        const AFX_MSGMAP_ENTRY* lpEntry =
            AfxFindMessageEntry(pMessageMap->lpEntries, nMsg, (UINT)nCode, nID);
        if (lpEntry != NULL)
            return DispatchCmdMsg(this, nID, lpEntry->pfn, pExtra, lpEntry->nSig, pHandlerInfo);
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(1);
    else
        SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(-1);
    else
        SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_ARROW));
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(0);
}

// ---- CCmdUI ------------------------------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pParentMenu(NULL),
      m_pOther(NULL), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != NULL)
    {
        if (m_pSubMenu != NULL)
            return;   // a popup item is left as it is
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex,
                         MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    else if (m_pOther != NULL)
    {
        // A control losing its enabled state gives the focus to the next one first.
        HWND hWnd = m_pOther->m_hWnd;
        if (!bOn && ::GetFocus() == hWnd)
        {
            HWND hParent = ::GetParent(hWnd);
            HWND hNext = ::GetNextDlgTabItem(hParent, hWnd, FALSE);
            if (hNext != NULL && hNext != hWnd)
                ::SetFocus(hNext);
        }
        ::EnableWindow(hWnd, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != NULL)
    {
        if (m_pSubMenu != NULL)
            return;
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex,
                        MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther != NULL)
    {
        HWND hWnd = m_pOther->m_hWnd;
        if (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageW(hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    SetCheck(bOn ? 1 : 0);
    if (m_pMenu != NULL && m_pSubMenu == NULL)
    {
        // Checked items of a radio group show a bullet instead of a check mark.
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info))
        {
            info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
            ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
        }
    }
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pMenu != NULL)
    {
        if (m_pSubMenu != NULL)
            return;
        // Keep the item's enabled and checked state.
        UINT nState = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION);
        nState &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        ::ModifyMenuW(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID,
                      lpszText);
    }
    else if (m_pOther != NULL)
    {
        // Only when it changes, so that the control does not flicker at every idle update.
        CString strOld;
        m_pOther->GetWindowText(strOld);
        if (strOld != lpszText)
            ::SetWindowTextW(m_pOther->m_hWnd, lpszText);
    }
}

void CCmdUI::ContinueRouting()
{
    m_bContinueRouting = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;   // not a command

    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
    if (bDisableIfNoHndler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info;
        info.pTarget = NULL;
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
    }
    return bResult;
}
