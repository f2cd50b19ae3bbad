#include "LC.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CLC::CLC(CWnd* pParent)
    : CDialog(IDD_ROWS_COLUMNS, pParent), m_top(0), m_bottom(0), m_left(0), m_right(0),
      m_countTop(0), m_countBottom(0), m_countLeft(0), m_countRight(0)
{
}

void CLC::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_LC_HEADING, m_heading);
    // A negative count would slip under the limit on rows and columns added.
    DDX_Text(pDX, IDC_LC_COUNT_TOP, m_countTop);
    DDV_MinMaxInt(pDX, m_countTop, 0, MAX_COUNT);
    DDX_Text(pDX, IDC_LC_COUNT_BOTTOM, m_countBottom);
    DDV_MinMaxInt(pDX, m_countBottom, 0, MAX_COUNT);
    DDX_Text(pDX, IDC_LC_COUNT_LEFT, m_countLeft);
    DDV_MinMaxInt(pDX, m_countLeft, 0, MAX_COUNT);
    DDX_Text(pDX, IDC_LC_COUNT_RIGHT, m_countRight);
    DDV_MinMaxInt(pDX, m_countRight, 0, MAX_COUNT);
    DDX_Check(pDX, IDC_LC_TOP, m_top);
    DDX_Check(pDX, IDC_LC_BOTTOM, m_bottom);
    DDX_Check(pDX, IDC_LC_LEFT, m_left);
    DDX_Check(pDX, IDC_LC_RIGHT, m_right);
}

BOOL CLC::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_LC_ROW_LABEL, TXT_ROWS_COLUMNS_ROW},
                                    {IDC_LC_COLUMN_LABEL, TXT_ROWS_COLUMNS_COLUMN},
                                    {IDC_LC_COUNT_LABEL, TXT_ROWS_COLUMNS_COUNT},
                                    {IDC_LC_TOP, TXT_ROWS_COLUMNS_TOP},
                                    {IDC_LC_BOTTOM, TXT_ROWS_COLUMNS_BOTTOM},
                                    {IDC_LC_LEFT, TXT_ROWS_COLUMNS_LEFT},
                                    {IDC_LC_RIGHT, TXT_ROWS_COLUMNS_RIGHT}};
    SetDlgTexts(this, texts);
    return bResult;
}
