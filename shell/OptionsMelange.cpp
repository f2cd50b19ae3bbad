#include "OptionsMelange.h"

#include "AfxDDX.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

COptionsMelange::COptionsMelange(CWnd* pParent)
    : CDialog(IDD_MIX_OPTIONS, pParent), m_pGrid(NULL), m_stepCount(1), m_direction(1)
{
    // The template's table is a control of the grid's class.
    CGridCtrl::RegisterWindowClass();
}

void COptionsMelange::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Grid(pDX, IDC_MIXOPT_GRID, m_pGrid, SB_BOTH);
    DDX_Text(pDX, IDC_MIXOPT_STEPS, m_stepCount);
    // The mixing tables hold MAX_STEPS steps: more would be written past their end.
    DDV_MinMaxInt(pDX, m_stepCount, 1, MAX_STEPS);
    DDX_Radio(pDX, IDC_MIXOPT_VERTICAL, m_direction);
}

BOOL COptionsMelange::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_MIXOPT_STEPS_LABEL, TXT_MIX_STEP_COUNT},
                                    {IDC_MIXOPT_KIND_LABEL, TXT_MIX_STEP_DIRECTION},
                                    {IDC_MIXOPT_VERTICAL, TXT_MIX_VERTICAL},
                                    {IDC_MIXOPT_HORIZONTAL, TXT_MIX_HORIZONTAL}};
    SetDlgTexts(this, texts);
    return bResult;
}
