#include "SelCouleurs.h"

#include "ColourTable.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "GridCellCheck.h"
#include "LangText.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
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

void CSelCouleurs::FillGrid(const CVitrolanDoc& doc)
{
    const int n = doc.TileColoursInUse();
    CGridCtrl& grid = *m_pGrid;
    SetUpColourTable(grid, n + 1, 2);
    grid.SetColumnWidth(0, 80);
    grid.SetColumnWidth(1, 70);
    grid.SetItemText(0, 0, GetLangText(TXT_COLUMN_COLOUR));
    grid.SetItemText(0, 1, GetLangText(TXT_COLUMN_ALLOWED));
    CentreCell(grid, 0, 0);
    CentreCell(grid, 0, 1);
    for (int i = 0; i < n; i++)
    {
        const int nRow = i + 1;
        SetColourNameCell(grid, nRow, 0, doc.m_tilePalette, i);
        const PaletteEntry& entry = doc.m_tilePalette.m_colours[i];
        grid.SetItemBackColour(nRow, 1, RGB(entry.peRed, entry.peGreen, entry.peBlue));
        grid.SetCellType(nRow, 1, RUNTIME_CLASS(CGridCellCheck));
        if (CGridCellCheck* pCheck = dynamic_cast<CGridCellCheck*>(grid.GetCell(nRow, 1)))
            pCheck->SetCheck(doc.m_allowedColours[i] != 0);
    }
    if (n > 0)
        grid.SetFocusCellRowCol(1, 1);
}

void CSelCouleurs::ApplyChoice(CVitrolanDoc& doc) const
{
    int checked[256] = {};
    for (int nRow = 1; nRow < m_pGrid->GetRowCount() && nRow <= 256; nRow++)
    {
        const CGridCellCheck* pCheck =
            dynamic_cast<const CGridCellCheck*>(m_pGrid->GetCell(nRow, 1));
        checked[nRow - 1] = pCheck != NULL && pCheck->GetCheck();
    }
    doc.ApplyColourChoice(checked);
}
