#include "OptionsMelange.h"

#include "AfxDDX.h"
#include "ColourTable.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "GridCellCombo.h"
#include "LangText.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

namespace
{

// The rule names in the order of their values.
const UINT kRuleTexts[] = {TXT_MIX_RULE_REST, TXT_MIX_RULE_RISING, TXT_MIX_RULE_FALLING};
const int kRuleCount = 3;

}   // namespace

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

void COptionsMelange::FillGrid(const CVitrolanDoc& doc)
{
    m_stepCount = CVitrolanDoc::ClampMixCount(doc.m_mixCount);
    m_direction = doc.m_mixDirection == 1 ? 1 : 0;
    const int n = doc.TileColoursInUse();
    int nRows = 1;
    for (int c = 0; c < n; c++)
        nRows += doc.m_allowedColours[c] != 0;
    CGridCtrl& grid = *m_pGrid;
    SetUpColourTable(grid, nRows, 4);
    static const int widths[] = {80, 90, 90, 90};
    static const UINT headings[] = {TXT_COLUMN_COLOUR, TXT_COLUMN_MIX_RULE, TXT_COLUMN_MIX_START,
                                    TXT_COLUMN_MIX_STEP};
    for (int nCol = 0; nCol < 4; nCol++)
    {
        grid.SetColumnWidth(nCol, widths[nCol]);
        grid.SetItemText(0, nCol, GetLangText(headings[nCol]));
        CentreCell(grid, 0, nCol);
    }
    CStringArray rules;
    for (int r = 0; r < kRuleCount; r++)
        rules.Add(GetLangText(kRuleTexts[r]));
    int nRow = 1;
    for (int c = 0; c < n; c++)
    {
        if (doc.m_allowedColours[c] == 0)
            continue;
        SetColourNameCell(grid, nRow, 0, doc.m_tilePalette, c);
        grid.SetCellType(nRow, 1, RUNTIME_CLASS(CGridCellCombo));
        if (CGridCellCombo* pCombo = dynamic_cast<CGridCellCombo*>(grid.GetCell(nRow, 1)))
        {
            pCombo->SetOptions(rules);
            pCombo->SetStyle(CBS_DROPDOWNLIST);
        }
        const int nRule = doc.m_mixOptions[c];
        grid.SetItemText(nRow, 1, nRule >= 0 && nRule < kRuleCount ? rules[nRule] : CString());
        const int values[] = {doc.m_mixStart[c], doc.m_mixStep[c]};
        for (int v = 0; v < 2; v++)
        {
            CString strValue;
            strValue.Format(L"%d", values[v]);
            grid.SetItemText(nRow, 2 + v, strValue);
            CentreCell(grid, nRow, 2 + v);
        }
        nRow++;
    }
}

void COptionsMelange::ApplyTo(CVitrolanDoc& doc) const
{
    doc.m_mixCount = CVitrolanDoc::ClampMixCount(m_stepCount);
    doc.m_mixDirection = m_direction == 1 ? 1 : 0;
    const int n = doc.TileColoursInUse();
    int nRow = 1;
    for (int c = 0; c < n && nRow < m_pGrid->GetRowCount(); c++)
    {
        if (doc.m_allowedColours[c] == 0)
            continue;
        const CString strRule = m_pGrid->GetItemText(nRow, 1);
        for (int r = 0; r < kRuleCount; r++)
            if (strRule == GetLangText(kRuleTexts[r]))
                doc.m_mixOptions[c] = r;
        doc.m_mixStart[c] = ReadPercentCell(*m_pGrid, nRow, 2);
        doc.m_mixStep[c] = ReadPercentCell(*m_pGrid, nRow, 3);
        nRow++;
    }
}
