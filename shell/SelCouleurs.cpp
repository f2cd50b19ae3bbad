#include "SelCouleurs.h"

#include "DlgGrid.h"
#include "DlgTexts.h"
#include "GridCellCheck.h"
#include "TextIds.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CSelCouleurs, CDialog)
    ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_SELECT_NONE, OnSelectNone)
END_MESSAGE_MAP()

CSelCouleurs::CSelCouleurs(CWnd* pParent) : CDialog(IDD_SELECT_COLOURS, pParent), m_pGrid(NULL)
{
    // The template's table is a control of the grid's class.
    CGridCtrl::RegisterWindowClass();
}

void CSelCouleurs::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Grid(pDX, IDC_SELECT_GRID, m_pGrid, SB_VERT);
}

BOOL CSelCouleurs::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_SELECT_ALL, TXT_SELECT_ALL},
                                    {IDC_SELECT_NONE, TXT_SELECT_NONE}};
    SetDlgTexts(this, texts);
    return bResult;
}

void CSelCouleurs::CheckAll(BOOL bChecked)
{
    if (m_pGrid == NULL)
        return;
    for (int nRow = 1; nRow < m_pGrid->GetRowCount(); nRow++)
    {
        if (CGridCellCheck* pCheck = dynamic_cast<CGridCellCheck*>(m_pGrid->GetCell(nRow, 1)))
            pCheck->SetCheck(bChecked);
    }
}

void CSelCouleurs::OnSelectAll()
{
    CheckAll(TRUE);
}

void CSelCouleurs::OnSelectNone()
{
    CheckAll(FALSE);
}
