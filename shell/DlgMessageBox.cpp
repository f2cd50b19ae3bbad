#include "DlgMessageBox.h"

#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CDlgMessageBox::CDlgMessageBox(CWnd* pParent) : CDialog(IDD_MESSAGE_BOX, pParent) {}

BOOL CDlgMessageBox::OnInitDialog()
{
    static const DlgText texts[] = {{IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}};
    SetDlgTexts(this, texts);
    SetDlgItemText(IDC_MESSAGE_TEXT, m_message);
    return CDialog::OnInitDialog();
}
