#include "Fusion.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CFusion::CFusion(CWnd* pParent)
    : CDialog(IDD_RESIZE, pParent), m_size(10.0f), m_dimension(0), m_units(0)
{
}

void CFusion::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // A size of zero or below gives no resize factor.
    DDX_Text(pDX, IDC_RESIZE_SIZE, m_size);
    DDV_MinMaxFloat(pDX, m_size, MIN_SIZE, MAX_SIZE);
    DDX_Radio(pDX, IDC_RESIZE_WIDTH, m_dimension);
}

BOOL CFusion::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_RESIZE_LABEL, TXT_RESIZE_SIZE},
                                    {IDC_RESIZE_WIDTH, TXT_RESIZE_WIDTH},
                                    {IDC_RESIZE_HEIGHT, TXT_RESIZE_HEIGHT}};
    SetDlgTexts(this, texts);
    SetDlgItemText(IDC_RESIZE_UNIT, GetLongUnitText(m_units));
    return bResult;
}
