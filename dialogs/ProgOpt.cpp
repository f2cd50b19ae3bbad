#include "ProgOpt.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CProgOpt::CProgOpt(CWnd* pParent) : CDialog(IDD_PREFERENCES, pParent), m_units(0), m_paper(0) {}

void CProgOpt::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_PREFS_MILLIMETRES, m_units);
    DDX_Radio(pDX, IDC_PREFS_A4, m_paper);
}

BOOL CProgOpt::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_PREFS_UNITS_LABEL, TXT_PREFS_UNITS},
                                    {IDC_PREFS_MILLIMETRES, TXT_PREFS_MILLIMETRES},
                                    {IDC_PREFS_INCHES, TXT_PREFS_INCHES},
                                    {IDC_PREFS_PAPER_LABEL, TXT_PREFS_PAPER},
                                    {IDC_PREFS_A4, TXT_PREFS_PAPER_A4},
                                    {IDC_PREFS_LETTER, TXT_PREFS_PAPER_LETTER}};
    SetDlgTexts(this, texts);
    return bResult;
}
