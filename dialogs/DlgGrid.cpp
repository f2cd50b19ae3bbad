#include "DlgGrid.h"

void DDX_Grid(CDataExchange* pDX, int nIDC, CGridCtrl* pGrid, int nBar)
{
    if (pGrid == NULL || pDX->m_bSaveAndValidate)
        return;
    DDX_Control(pDX, nIDC, *pGrid);
    pGrid->EnableScrollBars(nBar, TRUE);
    pGrid->ResetScrollBars();
}
