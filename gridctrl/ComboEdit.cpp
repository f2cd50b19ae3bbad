#include "ComboEdit.h"

#include "InPlaceList.h"

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

// The id a combo box gives its edit part.
static const int IDC_COMBO_EDIT = 1001;

CComboEdit::CComboEdit() {}

CWnd* CComboEdit::GetList() const
{
    return GetDlgCtrlID() == IDC_COMBO_EDIT ? GetOwner() : NULL;
}

BOOL CComboEdit::PreTranslateMessage(MSG* pMsg)
{
    // Keys are handled here, before the dialog could take Tab, Enter or Escape for its own.
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP)
    {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CComboEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    if (CInPlaceList* pList = dynamic_cast<CInPlaceList*>(GetList()))
        pList->EndEdit();
}

void CComboEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CWnd* pList = GetList();
    const BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if (pList != NULL && bCtrl &&
        (nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_LEFT || nChar == VK_UP ||
         nChar == VK_RIGHT || nChar == VK_DOWN))
    {
        pList->SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CComboEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CWnd* pList = GetList();
    if (pList != NULL && (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN))
    {
        pList->SendMessage(WM_KEYUP, nChar, MAKELPARAM(nRepCnt, nFlags));
        return;
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}
