#include "DialPalette.h"

#include "AfxDDX.h"
#include "AfxFrame.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDialPalette, CDialog)
    ON_BN_CLICKED(IDC_PALETTE_PRINT, OnPrint)
END_MESSAGE_MAP()

CDialPalette::CDialPalette(CWnd* pParent) : CDialog(IDD_PALETTE_TABLE, pParent), m_pGrid(NULL) {}

void CDialPalette::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    if (m_pGrid != NULL)
        DDX_Control(pDX, IDC_PALETTE_GRID, *m_pGrid);
}

BOOL CDialPalette::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK}, {IDC_PALETTE_PRINT, TXT_PALETTE_TABLE_PRINT}};
    SetDlgTexts(this, texts);
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
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
