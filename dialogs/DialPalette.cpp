#include "DialPalette.h"

#include "AfxDDX.h"
#include "AfxFrame.h"
#include "DlgGrid.h"
#include "DlgMessageBox.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CDialPalette, CDialog)
    ON_BN_CLICKED(IDC_PALETTE_PRINT, OnPrint)
    ON_NOTIFY(NM_CLICK, IDC_PALETTE_GRID, OnGridClick)
END_MESSAGE_MAP()

CDialPalette::CDialPalette(CWnd* pParent)
    : CDialog(IDD_PALETTE_TABLE, pParent), m_pGrid(NULL), m_pDoc(NULL), m_nClickedRow(-1)
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

namespace {

void SetFrameMessage(LPCTSTR lpszText)
{
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
        pFrame->SetMessageText(lpszText);
}

} // namespace

CVitrolanDoc* CDialPalette::GetDocument() const
{
    if (m_pDoc != NULL)
        return m_pDoc;
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return pFrame != NULL ? dynamic_cast<CVitrolanDoc*>(pFrame->GetActiveDocument()) : NULL;
}

BOOL CDialPalette::ApplyTable(CVitrolanDoc* pDoc)
{
    int nIndex = 0;
    const int nResult = pDoc->ApplyPaletteGrid(m_pGrid, nIndex);
    if (nResult == CVitrolanDoc::PaletteTableValid)
        return TRUE;
    // Told in a box as well: the frame has no line that would show its message.
    const CString strMessage = CVitrolanDoc::GetPaletteTableMessage(m_pGrid, nResult, nIndex);
    SetFrameMessage(strMessage);
    CDlgMessageBox box(this);
    box.m_message = strMessage;
    box.DoModal();
    return FALSE;
}

void CDialPalette::OnOK()
{
    CVitrolanDoc* pDoc = GetDocument();
    if (pDoc != NULL && m_pGrid != NULL)
    {
        if (!ApplyTable(pDoc))
            return;
        pDoc->AcceptPaletteTable();
        SetFrameMessage(L"");
    }
    CDialog::OnOK();
}

void CDialPalette::OnPrint()
{
    CVitrolanDoc* pDoc = GetDocument();
    if (pDoc != NULL && (m_pGrid == NULL || ApplyTable(pDoc)))
        pDoc->WriteColourChart();
}

void CDialPalette::OnGridClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_nClickedRow = ((const NM_GRIDVIEW*)pNMHDR)->iRow;
    *pResult = 0;
}
