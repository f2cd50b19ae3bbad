#include "Melange2.h"

#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CMelange2::CMelange2(CWnd* pParent) : CDialog(IDD_MIX_CONFIRM, pParent) {}

BOOL CMelange2::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {
        {IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}, {IDC_MIXCONF_TEXT, TXT_MIX_CONFIRM}};
    SetDlgTexts(this, texts);
    return bResult;
}
