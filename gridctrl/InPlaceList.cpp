#include "InPlaceList.h"

#include <algorithm>

#include "GridCtrl.h"
#include "InPlaceEdit.h"

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
    ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

namespace
{

const int IDC_COMBO_EDIT = 1001;
const int MAX_DROP_WIDTH = 200;

} // namespace

CInPlaceList::CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow,
                           int nColumn, COLORREF crFore, COLORREF crBack,
                           const CStringArray& Items, CString sInitText, UINT nFirstChar)
    : m_nNumLines(4), m_sInitText(sInitText), m_nRow(nRow), m_nCol(nColumn), m_nLastChar(0),
      m_bExitOnArrows(FALSE), m_crForeClr(crFore), m_crBackClr(crBack), m_bEnded(FALSE),
      m_bAutoDelete(FALSE)
{
    // Room below the cell for the dropped list.
    const int nHeight = rect.Height();
    CRect rectList = rect;
    rectList.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + m_nNumLines * nHeight;
    if (!Create(dwStyle | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_AUTOHSCROLL,
                rectList, pParent, nID))
        return;
    m_bAutoDelete = TRUE;

    for (int i = 0; i < Items.GetSize(); i++)
        AddString(Items[i]);
    SendMessage(WM_SETFONT, pParent->SendMessage(WM_GETFONT, 0, 0), 0);
    SetItemHeight(-1, nHeight);
    SetDroppedWidth(ComputeDropWidth());
    SetHorizontalExtent(0);

    // The option equal to the text, not merely one that starts with it.
    const int nIndex = FindStringExact(-1, sInitText);
    if (nIndex != CB_ERR)
        SetCurSel(nIndex);
    else
        SetWindowText(sInitText);
    ShowDropDown(TRUE);

    if ((dwStyle & 0x3) == CBS_DROPDOWNLIST)
    {
        SetFocus();
        return;
    }
    m_edit.SubclassDlgItem(IDC_COMBO_EDIT, this);
    SetFocus();
    StartEditorText(m_edit.m_hWnd, nFirstChar, FALSE);
}

CInPlaceList::~CInPlaceList() {}

void CInPlaceList::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

int CInPlaceList::ComputeDropWidth()
{
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    int nWidest = 0;
    for (int i = 0; i < GetCount(); i++)
    {
        CString strItem;
        GetLBText(i, strItem);
        nWidest = std::max(nWidest, (int)dc.GetTextExtent(strItem, strItem.GetLength()).cx);
    }
    nWidest += ::GetSystemMetrics(SM_CXVSCROLL) + (int)dc.GetTextExtent(L"0", 1).cx;
    dc.SelectObject(pOldFont);
    return std::min(nWidest, MAX_DROP_WIDTH);
}

void CInPlaceList::OnDropDown()
{
    SetDroppedWidth(ComputeDropWidth());
}

UINT CInPlaceList::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

HBRUSH CInPlaceList::CtlColor(CDC*, UINT)
{
    return NULL;
}

void CInPlaceList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    if ((m_bExitOnArrows || bCtrl) &&
        (nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_LEFT || nChar == VK_UP ||
         nChar == VK_RIGHT || nChar == VK_DOWN))
    {
        m_nLastChar = nChar;
        GetParent()->SetFocus();
        return;
    }
    CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
        SetWindowText(m_sInitText);
    if (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN)
    {
        m_nLastChar = nChar;
        GetParent()->SetFocus();
        return;
    }
    CComboBox::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnKillFocus(CWnd* pNewWnd)
{
    CComboBox::OnKillFocus(pNewWnd);
    if (pNewWnd->GetSafeHwnd() == m_hWnd)
        return;
    // With an edit part, the edit part's loss of the focus ends the edit.
    if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST)
        EndEdit();
}

void CInPlaceList::EndEdit()
{
    // Both the list and its edit part may lose the focus; the edit ends once.
    EndEditorOnce(this, m_bEnded, m_nRow, m_nCol, m_nLastChar, TRUE);
}
