#include "Melange.h"

#include "AfxDDX.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CMelange::CMelange(CWnd* pParent) : CDialog(IDD_MIX, pParent), m_pGrid(NULL)
{
    // The template's table is a control of the grid's class.
    CGridCtrl::RegisterWindowClass();
}

void CMelange::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Grid(pDX, IDC_MIX_GRID, m_pGrid, SB_BOTH);
}

BOOL CMelange::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {
        {IDOK, TXT_OK}, {IDCANCEL, TXT_CANCEL}, {IDC_MIX_OPTIONS, TXT_MIX_OPTIONS}};
    SetDlgTexts(this, texts);
    return bResult;
}
