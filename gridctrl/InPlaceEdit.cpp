#include "InPlaceEdit.h"

#include <algorithm>

#include "GridCtrl.h"

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

void EndEditorOnce(CWnd* pEditor, BOOL& bEnded, int nRow, int nColumn, UINT nLastKey,
                   BOOL bPostClose)
{
    // The notification moves the focus, which would end the edit again.
    static BOOL s_bAlreadyEnding = FALSE;
    if (s_bAlreadyEnding || bEnded || pEditor->m_hWnd == NULL)
        return;
    s_bAlreadyEnding = TRUE;
    bEnded = TRUE;
    CString strText;
    pEditor->GetWindowText(strText);
    const HWND hWnd = pEditor->m_hWnd;

    CWnd* pOwner = pEditor->GetOwner();
    if (pOwner->GetSafeHwnd() != NULL && ::IsWindow(pOwner->m_hWnd))
    {
        GRIDDISPINFO record;
        record.hdr = NMHDR();
        record.hdr.hwndFrom = hWnd;
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
    // The editor's object goes with its window.
    if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == pEditor)
    {
        if (bPostClose)
            ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        else
            ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
    }
    s_bAlreadyEnding = FALSE;
}

void StartEditorText(HWND hEdit, UINT nFirstChar, BOOL bPost)
{
    const int nLength = ::GetWindowTextLengthW(hEdit);
    if ((nFirstChar & GRID_EDIT_KEY) != 0)
    {
        // Moved here by a key: the text is selected, ready to be replaced.
        ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
        return;
    }
    switch (nFirstChar)
    {
    case GRID_EDIT_BY_MOUSE:
    case VK_RETURN:
        ::SendMessageW(hEdit, EM_SETSEL, nLength, nLength);
        ::SendMessageW(hEdit, EM_SCROLLCARET, 0, 0);
        return;
    case VK_BACK:
        ::SendMessageW(hEdit, EM_SETSEL, nLength, nLength);
        ::SendMessageW(hEdit, EM_SCROLLCARET, 0, 0);
        break;
    default:
        ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
        // Other control characters only select the text.
        if (nFirstChar < 0x20)
            return;
        break;
    }
    // A typed character, space and punctuation included, replaces the text; Backspace
    // deletes its last character.
    if (bPost)
        ::PostMessageW(hEdit, nFirstChar >= 0x80 ? WM_IME_CHAR : WM_CHAR, nFirstChar, 0);
    else
        ::SendMessageW(hEdit, WM_CHAR, nFirstChar, 0);
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

    StartEditorText(m_hWnd, nFirstChar, TRUE);
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
    EndEditorOnce(this, m_bEnded, m_nRow, m_nColumn, m_nLastChar, FALSE);
}
