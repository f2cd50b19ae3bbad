#include "SelCouleurs.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CSelCouleurs::CSelCouleurs(CWnd* pParent) : CDialog(IDD_SELECT_COLOURS, pParent), m_pGrid(NULL) {}

void CSelCouleurs::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (m_pGrid != NULL)
        DDX_Control(pDX, IDC_SELECT_GRID, *m_pGrid);
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
