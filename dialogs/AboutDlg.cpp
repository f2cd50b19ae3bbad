#include "AboutDlg.h"

#include "LangText.h"
#include "resource.h"

namespace
{

// Controls 201 to 205 show the language texts of the same numbers.
const int kFirstLine = 201;
const int kLastLine = 205;

}   // namespace

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int nID = kFirstLine; nID <= kLastLine; nID++)
        SetDlgItemText(nID, GetLangText((UINT)nID));
    return TRUE;
}
