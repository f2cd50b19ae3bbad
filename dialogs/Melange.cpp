#include "Melange.h"

#include <string.h>

#include <vector>

#include "AfxDDX.h"
#include "ColourTable.h"
#include "DlgGrid.h"
#include "DlgMessageBox.h"
#include "DlgTexts.h"
#include "LangText.h"
#include "OptionsMelange.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

namespace
{

const COLORREF kRefusedStep = 0xC0C0C0;
const COLORREF kShare = RGB(255, 255, 255);

}   // namespace

BEGIN_MESSAGE_MAP(CMelange, CDialog)
    ON_BN_CLICKED(IDC_MIX_OPTIONS, OnOptions)
END_MESSAGE_MAP()

CMelange::CMelange(CWnd* pParent) : CDialog(IDD_MIX, pParent), m_pGrid(NULL), m_pDoc(NULL)
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

void CMelange::FillGrid()
{
    if (m_pGrid == NULL || m_pDoc == NULL)
        return;
    CGridCtrl& grid = *m_pGrid;
    const CVitrolanDoc& doc = *m_pDoc;
    const int nSteps = CVitrolanDoc::ClampMixCount(doc.m_mixCount);
    int nColumns = 1;
    for (int c = 0; c < doc.TileColoursInUse(); c++)
        nColumns += doc.m_allowedColours[c] != 0;
    // Filled again while the dialog shows, after its options: the scroll bars are fitted
    // and the table redrawn once, at the end.
    grid.SetRedraw(FALSE);
    SetUpColourTable(grid, nSteps + 1, nColumns);
    grid.SetColumnWidth(0, 50);
    int nCol = 1;
    for (int c = 0; c < doc.TileColoursInUse(); c++)
    {
        if (doc.m_allowedColours[c] == 0)
            continue;
        grid.SetColumnWidth(nCol, 80);
        SetColourNameCell(grid, 0, nCol, doc.m_tilePalette, c);
        for (int s = 0; s < nSteps; s++)
        {
            CString strShare;
            strShare.Format(L"%d", doc.m_mixPercent[s][c]);
            grid.SetItemText(s + 1, nCol, strShare);
            CentreCell(grid, s + 1, nCol);
        }
        nCol++;
    }
    grid.SetItemText(0, 0, GetLangText(TXT_MIX_STEP));
    CentreCell(grid, 0, 0);
    for (int s = 0; s < nSteps; s++)
    {
        CString strStep;
        strStep.Format(L"%d", s);
        grid.SetItemText(s + 1, 0, strStep);
        CentreCell(grid, s + 1, 0);
        grid.SetItemState(s + 1, 0, grid.GetItemState(s + 1, 0) | GridCellReadOnly);
    }
    grid.SetRedraw(TRUE);
}

CString CMelange::ReadShares()
{
    CGridCtrl& grid = *m_pGrid;
    CVitrolanDoc& doc = *m_pDoc;
    const int nSteps = CVitrolanDoc::ClampMixCount(doc.m_mixCount);
    BOOL bOverfull = FALSE, bEmpty = FALSE;
    for (int s = 0; s < nSteps && s + 1 < grid.GetRowCount(); s++)
    {
        int nCol = 1;
        for (int c = 0; c < doc.TileColoursInUse(); c++)
            if (doc.m_allowedColours[c] != 0)
                doc.m_mixPercent[s][c] = ReadPercentCell(grid, s + 1, nCol++);
        const BOOL bStepOverfull = doc.IsMixStepOverfull(s);
        const BOOL bStepEmpty = doc.MixStepTotal(s) == 0;
        bOverfull = bOverfull || bStepOverfull;
        bEmpty = bEmpty || bStepEmpty;
        for (int k = 1; k < grid.GetColumnCount(); k++)
            grid.SetItemBackColour(s + 1, k, bStepOverfull || bStepEmpty ? kRefusedStep : kShare);
    }
    if (grid.GetSafeHwnd() != NULL)
        grid.Refresh();
    CString strWhy;
    if (bOverfull)
        strWhy = GetLangText(TXT_MSG_MIX_STEP_OVER_100);
    if (bEmpty)
        strWhy += (strWhy.IsEmpty() ? L"" : L"\r\n") + GetLangText(TXT_MSG_MIX_STEP_EMPTY);
    return strWhy;
}

CString CMelange::ScaledStepsNotice() const
{
    const CVitrolanDoc& doc = *m_pDoc;
    const int nSteps = CVitrolanDoc::ClampMixCount(doc.m_mixCount);
    CString strNotice;
    for (int s = 0; s < nSteps; s++)
    {
        const int nTotal = doc.MixStepTotal(s);
        if (nTotal <= 0 || nTotal >= 100)
            continue;
        CString strTyped, strLaid;
        bool bChanged = false;
        for (int c = 0; c < doc.TileColoursInUse(); c++)
        {
            const int nShare = doc.m_mixPercent[s][c];
            if (doc.m_allowedColours[c] == 0 || nShare <= 0)
                continue;
            // The fill draws each colour with its share of the step's total.
            const int nLaid = (nShare * 200 + nTotal) / (2 * nTotal);
            bChanged = bChanged || nLaid != nShare;
            CString strShare;
            strShare.Format(L"%s%d %%", strTyped.IsEmpty() ? L"" : L" + ", nShare);
            strTyped += strShare;
            strShare.Format(L"%s%d %%", strLaid.IsEmpty() ? L"" : L" + ", nLaid);
            strLaid += strShare;
        }
        // What the rest rule's division leaves out (3 x 33 %) changes no share.
        if (!bChanged)
            continue;
        CString strStep;
        strStep.Format(GetLangText(TXT_MIX_STEP_SCALED), s, (LPCTSTR)strTyped, (LPCTSTR)strLaid);
        strNotice += L"\r\n" + strStep;
    }
    if (strNotice.IsEmpty())
        return strNotice;
    return GetLangText(TXT_MSG_MIX_STEPS_SCALED) + strNotice + L"\r\n" +
           GetLangText(TXT_MSG_MIX_SCALED_CHOICE);
}

void CMelange::OnOK()
{
    if (m_pDoc == NULL || m_pGrid == NULL)
    {
        CDialog::OnOK();
        return;
    }
    // A share being typed counts as typed.
    m_pGrid->EndEditing();
    // A refused or withdrawn table must not replace the shares the document holds: the user
    // may still cancel.
    auto& shares = m_pDoc->m_mixPercent;
    const std::vector<int> stored(&shares[0][0], &shares[0][0] + sizeof(shares) / sizeof(int));
    auto restore = [&]() { memcpy(shares, stored.data(), sizeof(shares)); };
    const CString strRefused = ReadShares();
    if (!strRefused.IsEmpty())
    {
        restore();
        ShowMessage(strRefused);
        return;
    }
    const CString strNotice = ScaledStepsNotice();
    if (!strNotice.IsEmpty() && ShowMessage(strNotice) != IDOK)
    {
        restore();
        return;
    }
    // Making room tells the user when there is none.
    if (!m_pDoc->AppendMixColours() &&
        !(m_pDoc->MakeRoomForMixColours() && m_pDoc->AppendMixColours()))
        return;
    CDialog::OnOK();
}

INT_PTR CMelange::ShowMessage(const CString& strMessage)
{
    CDlgMessageBox box(this);
    box.m_message = strMessage;
    return box.DoModal();
}

void CMelange::ShowOptions()
{
    if (m_pDoc == NULL)
        return;
    CGridCtrl grid;
    COptionsMelange options(this);
    options.m_pGrid = &grid;
    options.FillGrid(*m_pDoc);
    if (options.DoModal() != IDOK)
        return;
    options.ApplyTo(*m_pDoc);
    m_pDoc->ComputeMixShares();
    FillGrid();
}

void CMelange::OnOptions()
{
    ShowOptions();
}
