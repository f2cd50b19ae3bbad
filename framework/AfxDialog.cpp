#include "AfxDialog.h"

#include "AfxApp.h"
#include "AfxResource.h"

// ---- The modal loop ----------------------------------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);

    // The thread's current message, as the application's loop keeps it.
    CWinThread* pThread = AfxGetThread();
    MSG msgLocal = {};
    MSG* pMsg = pThread != NULL ? &pThread->m_msgCur : &msgLocal;

    for (;;)
    {
        while (bIdle && !::PeekMessageW(pMsg, NULL, 0, 0, PM_NOREMOVE))
        {
            if (bShowIdle)
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) ||
                !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }

        do
        {
            if (!AfxPumpMessage())
            {
                // The outer loop must see the quit as well.
                ::PostQuitMessage(pThread != NULL ? (int)pThread->m_msgCur.wParam : 0);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            // The caret's blink timer and system keys mean the user is waiting for the window.
            if (bShowIdle && (pMsg->message == 0x0118 || pMsg->message == WM_SYSKEYDOWN))
            {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            // A window destroyed under the loop cannot end it any more.
            if (!ContinueModal() || m_hWnd == NULL)
            {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return m_nModalResult;
            }
            if (pThread == NULL || pThread->IsIdleMessage(pMsg))
            {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(pMsg, NULL, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL)
    {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);   // wakes the loop up
    }
}

// ---- CDialog -----------------------------------------------------------------------------------

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // The message map has handled WM_INITDIALOG already; this only serves a dialog whose
    // window no CDialog holds.
    if (message == WM_INITDIALOG)
        return CWnd::FromHandlePermanent(hWnd) == NULL;
    return FALSE;
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(NULL), m_lpDialogTemplate(NULL), m_pParentWnd(NULL), m_nIDHelp(0),
      m_hWndTop(NULL), m_bInDoModal(FALSE)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_lpDialogTemplate(NULL),
      m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate), m_hWndTop(NULL), m_bInDoModal(FALSE)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_lpDialogTemplate(NULL), m_pParentWnd(pParentWnd),
      m_nIDHelp(IS_INTRESOURCE(lpszTemplateName) ? LOWORD((ULONG_PTR)lpszTemplateName) : 0),
      m_hWndTop(NULL), m_bInDoModal(FALSE)
{
}

CDialog::~CDialog() {}

namespace {

LPCDLGTEMPLATE LoadDialogTemplate(LPCTSTR lpszTemplateName, HINSTANCE* phInst)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, (LPCTSTR)RT_DIALOG);
    *phInst = hInst;
    HRSRC hResource = AfxFindResource(hInst, lpszTemplateName, (LPCTSTR)RT_DIALOG);
    if (hResource == NULL)
        return NULL;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    return hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
}

} // namespace

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((ULONG_PTR)lpszTemplateName);
    HINSTANCE hInst;
    LPCDLGTEMPLATE lpTemplate = LoadDialogTemplate(lpszTemplateName, &hInst);
    if (lpTemplate == NULL)
        return FALSE;
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd == NULL)
        pParentWnd = AfxGetMainWnd();
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, AfxGetInstanceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = NULL;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                                HINSTANCE hInst)
{
    if (lpDialogTemplate == NULL || m_hWnd != NULL)
        return FALSE;
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;

    // The hook attaches this object to the dialog window before its first message, so that
    // WM_INITDIALOG reaches the message map.
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(),
                                             AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();

    // EndDialog called from OnInitDialog.
    if (hWnd != NULL && !(m_nFlags & WF_CONTINUEMODAL))
    {
        ::DestroyWindow(hWnd);
        hWnd = NULL;
    }
    return hWnd != NULL;
}

HWND CDialog::PreModal()
{
    HWND hParent = m_pParentWnd->GetSafeHwnd();
    HWND hWnd = hParent != NULL ? hParent : AfxGetMainWnd()->GetSafeHwnd();
    // A popup cannot be owned by a child window.
    while (hWnd != NULL && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    for (HWND hWndTemp = hWnd; hWndTemp != NULL; hWndTemp = ::GetParent(hWndTemp))
        hWndTop = hWndTemp;
    if (hParent == NULL && hWnd != NULL)
        hWnd = ::GetLastActivePopup(hWnd);

    if (hWndTop != NULL && hWndTop != hWnd && ::IsWindowEnabled(hWndTop))
    {
        m_hWndTop = hWndTop;
        ::EnableWindow(hWndTop, FALSE);
    }
    else
    {
        m_hWndTop = NULL;
    }
    return hWnd;
}

void CDialog::PostModal()
{
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
    if (m_lpszTemplateName != NULL)
        lpDialogTemplate = LoadDialogTemplate(m_lpszTemplateName, &hInst);
    if (lpDialogTemplate == NULL)
        return -1;

    HWND hWndParent = PreModal();
    // The owner is enabled again at the end only if this call disabled it: a dialog may
    // open while its owner is already disabled.
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && hWndParent != ::GetDesktopWindow() &&
        ::IsWindowEnabled(hWndParent))
    {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    m_bInDoModal = TRUE;
    try
    {
        if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst))
        {
            if (m_nFlags & WF_CONTINUEMODAL)
            {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            // Hidden before the owner comes back, so that the owner gets the activation.
            if (m_hWnd != NULL)
                SetWindowPos(NULL, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE |
                                 SWP_NOZORDER);
        }
    }
    catch (CException* e)
    {
        e->Delete();
        m_nModalResult = -1;
    }
    m_bInDoModal = FALSE;

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);

    // The window goes; the object stays, ready for the next DoModal.
    DestroyWindow();
    PostModal();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    // The system's EndDialog enables the owner, which DoModal does itself only when it was
    // the one to disable it; DoModal also hides and destroys the window.
    if (!m_bInDoModal)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->GetSafeHwnd(), 1);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0);
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

void CDialog::PreInitDialog() {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE))
    {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;   // the focus goes to the first control
}

void CDialog::OnOK()
{
    // A failed exchange has told the user and put the focus on the control.
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;

    // A multi-line edit wants every key, Escape included: the dialog closes on it anyway
    // unless its Cancel button is disabled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE))
    {
        WCHAR szClass[16] = {};
        ::GetClassNameW(pMsg->hwnd, szClass, 16);
        if (lstrcmpiW(szClass, L"Edit") == 0)
        {
            HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (hItem == NULL || ::IsWindowEnabled(hItem))
            {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }

    // Only input goes through the dialog manager: keys and the mouse.
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}
