#include "DlgMessageBox.h"

#include <algorithm>

#include "AfxGdi.h"
#include "AfxResource.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

namespace
{
// How the message control lays its text out (a static of the template's styles).
const UINT kTextFormat = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
// The widest the box grows, as a part of the work area's width.
const int kMaxWidthNumerator = 5;
const int kMaxWidthDenominator = 8;

CRect ChildRect(CWnd* pParent, CWnd* pChild)
{
    CRect rect;
    pChild->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}
}

CDlgMessageBox::CDlgMessageBox(CWnd* pParent) : CDialog(IDD_MESSAGE_BOX, pParent) {}

BOOL CDlgMessageBox::OnInitDialog()
{
    static const DlgText texts[] = {{IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}};
    SetDlgTexts(this, texts);
    SetDlgItemText(IDC_MESSAGE_TEXT, m_message);
    FitToMessage();
    return CDialog::OnInitDialog();
}

void CDlgMessageBox::FitToMessage()
{
    CWnd* pText = GetDlgItem(IDC_MESSAGE_TEXT);
    if (pText == NULL)
        return;
    const CRect rectText = ChildRect(this, pText);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    CRect rectWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rectWork, 0);
    // What the box needs besides the message; the template's room is the least it takes.
    const int cxOther = rectWindow.Width() - rectText.Width();
    const int cyOther = rectWindow.Height() - rectText.Height();
    const int cxMost = std::max(rectText.Width(),
                           rectWork.Width() * kMaxWidthNumerator / kMaxWidthDenominator - cxOther);
    const int cyMost = std::max(rectText.Height(), rectWork.Height() - cyOther);

    CClientDC dc(pText);
    CFont* pOldFont = dc.SelectObject(pText->GetFont());
    // As wide as its longest line allows, then as high as its lines at that width need.
    CRect rectLines(0, 0, 0, 0);
    dc.DrawText(m_message, &rectLines, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
    const int cx = std::min(std::max(rectLines.Width(), rectText.Width()), cxMost);
    CRect rectWrapped(0, 0, cx, 0);
    dc.DrawText(m_message, &rectWrapped, DT_CALCRECT | kTextFormat);
    dc.SelectObject(pOldFont);
    int cy = std::max(rectWrapped.Height(), rectText.Height());
    const BOOL bScroll = cy > cyMost;
    if (bScroll)
        cy = cyMost;

    SetWindowPos(NULL, 0, 0, cx + cxOther, cy + cyOther,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pText->SetWindowPos(NULL, rectText.left, rectText.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    const int dx = (cx - rectText.Width()) / 2;
    const int dy = cy - rectText.Height();
    for (int nID : {IDOK, IDCANCEL})
        if (CWnd* pButton = GetDlgItem(nID))
        {
            const CRect rect = ChildRect(this, pButton);
            pButton->SetWindowPos(NULL, rect.left + dx, rect.top + dy, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    if (bScroll)
        ShowScrollingMessage(pText);
}

void CDlgMessageBox::ShowScrollingMessage(CWnd* pText)
{
    const CRect rect = ChildRect(this, pText);
    // An edit control breaks lines at carriage return and line feed only.
    CString strText(m_message);
    strText.Replace(L"\r\n", L"\n");
    strText.Replace(L"\n", L"\r\n");
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", strText,
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                       ES_READONLY | ES_CENTER,
                                   rect.left, rect.top, rect.Width(), rect.Height(), m_hWnd,
                                   NULL, AfxGetInstanceHandle(), NULL);
    if (hEdit == NULL)
        return;
    ::SendMessageW(hEdit, WM_SETFONT, (WPARAM)pText->GetFont()->GetSafeHandle(), FALSE);
    // In the static's place in the tab order, and under its id.
    ::SetWindowPos(hEdit, pText->m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(pText->m_hWnd);
    ::SetWindowLongPtrW(hEdit, GWLP_ID, IDC_MESSAGE_TEXT);
}
