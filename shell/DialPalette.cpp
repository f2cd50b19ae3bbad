#include "DialPalette.h"

#include "AfxDDX.h"
#include "AfxFrame.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDialPalette, CDialog)
    ON_BN_CLICKED(IDC_PALETTE_PRINT, OnPrint)
    ON_NOTIFY(NM_CLICK, IDC_PALETTE_GRID, OnGridClick)
END_MESSAGE_MAP()

CDialPalette::CDialPalette(CWnd* pParent)
    : CDialog(IDD_PALETTE_TABLE, pParent), m_pGrid(NULL), m_nClickedRow(-1)
{
    // The template's table is a control of the grid's class.
    CGridCtrl::RegisterWindowClass();
}

void CDialPalette::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Grid(pDX, IDC_PALETTE_GRID, m_pGrid, SB_VERT);
}

BOOL CDialPalette::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK}, {IDC_PALETTE_PRINT, TXT_PALETTE_TABLE_PRINT}};
    SetDlgTexts(this, texts);
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    if (m_pGrid != NULL)
    {
        m_pGrid->EnableScrollBars(SB_VERT, TRUE);
        m_pGrid->ResetScrollBars();
    }
    return bResult;
}

void CDialPalette::OnPrint()
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CVitrolanDoc* pDoc =
        pFrame != NULL ? dynamic_cast<CVitrolanDoc*>(pFrame->GetActiveDocument()) : NULL;
    if (pDoc != NULL)
        pDoc->WriteColourChart();
}

void CDialPalette::OnGridClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_nClickedRow = ((const NM_GRIDVIEW*)pNMHDR)->iRow;
    *pResult = 0;
}
