#include "InPlaceEdit.h"

#include <algorithm>

#include "GridCtrl.h"

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void SendEndEditNotification(CWnd* pEditor, int nRow, int nColumn, UINT nLastKey,
                             const CString& strText)
{
    CWnd* pOwner = pEditor->GetOwner();
    if (pOwner->GetSafeHwnd() == NULL || !::IsWindow(pOwner->m_hWnd))
        return;
    GRIDDISPINFO record;
    record.hdr = NMHDR();
    record.hdr.hwndFrom = pEditor->m_hWnd;
    record.hdr.idFrom = (UINT_PTR)pEditor->GetDlgCtrlID();
    record.hdr.code = (UINT)LVN_ENDLABELEDITW;
    record.item = GRIDITEM();
    record.item.row = nRow;
    record.item.col = nColumn;
    record.item.mask = LVIF_TEXT | LVIF_PARAM;
    record.item.lParam = (LPARAM)nLastKey;
    record.item.strText = strText;
    pOwner->SendMessage(WM_NOTIFY, record.hdr.idFrom, (LPARAM)&record);
}

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow,
                           int nColumn, CString sInitText, UINT nFirstChar)
    : m_nRow(nRow), m_nColumn(nColumn), m_sInitText(sInitText), m_nLastChar(0),
      m_bExitOnArrows(nFirstChar != GRID_EDIT_BY_MOUSE), m_Rect(rect), m_bEnded(FALSE),
      m_bAutoDelete(FALSE)
{
    if (!Create(dwStyle | WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, pParent, nID))
        return;
    m_bAutoDelete = TRUE;

    SendMessage(WM_SETFONT, pParent->SendMessage(WM_GETFONT, 0, 0), 0);
    SetWindowText(sInitText);
    SetFocus();

    const int nLength = sInitText.GetLength();
    if ((nFirstChar & GRID_EDIT_KEY) != 0)
    {
        // Moved here by a key: the text is selected, ready to be replaced.
        SetSel(0, -1);
        return;
    }
    switch (nFirstChar)
    {
    case GRID_EDIT_BY_MOUSE:
    case VK_RETURN:
        SetSel(nLength, nLength);
        SendMessage(EM_SCROLLCARET, 0, 0);
        break;
    case VK_BACK:
        SetSel(nLength, nLength);
        SendMessage(EM_SCROLLCARET, 0, 0);
        PostMessage(WM_CHAR, VK_BACK, 0);
        break;
    default:
        SetSel(0, -1);
        // A typed character, space and punctuation included, replaces the text; other
        // control characters only select it.
        if (nFirstChar >= 0x20)
            PostMessage(nFirstChar >= 0x80 ? WM_IME_CHAR : WM_CHAR, nFirstChar, 0);
        break;
    }
}

CInPlaceEdit::~CInPlaceEdit() {}

void CInPlaceEdit::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    // Alt+letter would reach the dialog's buttons through the editor.
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

UINT CInPlaceEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    EndEdit();
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_TAB || nChar == VK_RETURN)
    {
        m_nLastChar = nChar;
        GetParent()->SetFocus();
        return;
    }
    if (nChar == VK_ESCAPE)
    {
        SetWindowText(m_sInitText);
        m_nLastChar = nChar;
        GetParent()->SetFocus();
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    FitToText();
}

void CInPlaceEdit::FitToText()
{
    CString strText;
    GetWindowText(strText);
    strText += L"  ";
    CWindowDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    const CSize size = dc.GetTextExtent(strText, strText.GetLength());
    dc.SelectObject(pOldFont);

    if (size.cx <= m_Rect.Width())
        return;
    CRect rectParent;
    GetParent()->GetClientRect(rectParent);
    m_Rect.right = std::min((LONG)(m_Rect.left + size.cx), rectParent.right);
    MoveWindow(m_Rect);
}

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar)
    {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (m_bExitOnArrows || (::GetKeyState(VK_CONTROL) & 0x8000) != 0)
        {
            m_nLastChar = nChar;
            GetParent()->SetFocus();
            return;
        }
        break;
    default:
        break;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceEdit::EndEdit()
{
    // The notification moves the focus, which would end the edit again.
    static BOOL s_bAlreadyEnding = FALSE;
    if (s_bAlreadyEnding || m_bEnded || m_hWnd == NULL)
        return;
    s_bAlreadyEnding = TRUE;
    m_bEnded = TRUE;
    CString strText;
    GetWindowText(strText);
    const HWND hWnd = m_hWnd;
    SendEndEditNotification(this, m_nRow, m_nColumn, m_nLastChar, strText);
    // The object goes with its window.
    if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
        SendMessage(WM_CLOSE, 0, 0);
    s_bAlreadyEnding = FALSE;
}
