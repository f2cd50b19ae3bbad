#include "FTexte.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CFTexte::CFTexte(CWnd* pParent) : CDialog(IDD_TEXT_SUMMARY, pParent) {}

void CFTexte::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SUMMARY_FILE_NAME, m_fileName);
}

BOOL CFTexte::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {
        {IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}, {IDC_SUMMARY_LABEL, TXT_SUMMARY_FILE_NAME}};
    SetDlgTexts(this, texts);
    return bResult;
}
