#include "TexteDlg.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CTexteDlg::CTexteDlg(CWnd* pParent) : CDialog(IDD_TEXT_STAMP, pParent) {}

void CTexteDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_STAMP_TEXT, m_text);
}

BOOL CTexteDlg::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {
        {IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}, {IDC_STAMP_LABEL, TXT_STAMP_ENTER_TEXT}};
    SetDlgTexts(this, texts);
    return bResult;
}
