#include "InfoMos.h"

#include "AfxDDX.h"
#include "AfxFrame.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "LangText.h"
#include "Paving.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

namespace
{

const int kColumnCount = 7;
const int kColumnWidths[kColumnCount] = {75, 90, 90, 120, 120, 120, 120};
const UINT kHeadingTexts[kColumnCount] = {TXT_COLUMN_COLOUR,          TXT_COLUMN_SYMBOL,
                                          TXT_WHOLE_TILES,            TXT_COLUMN_DIAGONAL_HALVES,
                                          TXT_COLUMN_HALVES,          TXT_COLUMN_QUARTERS,
                                          TXT_COLUMN_DIAGONAL_QUARTERS};
const int kHeadingHeight = 70;
const int kRowHeight = 35;
const DWORD kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const COLORREF kTotalsBack = RGB(128, 128, 128);
const COLORREF kTotalsText = RGB(255, 255, 255);
const LONG kSymbolHeight = -16;

CVitrolanDoc* ActiveDocument()
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    return pFrame != NULL ? dynamic_cast<CVitrolanDoc*>(pFrame->GetActiveDocument()) : NULL;
}

void SetReadOnlyText(CGridCtrl& grid, int nRow, int nCol, LPCTSTR lpszText, DWORD dwFormat)
{
    grid.SetItemText(nRow, nCol, lpszText);
    grid.SetItemFormat(nRow, nCol, dwFormat);
    grid.SetItemState(nRow, nCol, grid.GetItemState(nRow, nCol) | GridCellReadOnly);
}

}   // namespace

BEGIN_MESSAGE_MAP(CInfoMos, CDialog)
    ON_BN_CLICKED(IDC_INFO_TEXT_FILE, OnTextFile)
    ON_COMMAND(ID_INFO_APPLY_AND_CLOSE, OnApplyAndClose)
END_MESSAGE_MAP()

CInfoMos::CInfoMos(CWnd* pParent)
    : CDialog(IDD_INFORMATION, pParent), m_colourCount(0), m_cols(0), m_rows(0), m_plateCount(0),
      m_width(0), m_height(0), m_area(0), m_pGrid(NULL), m_units(0)
{
    // The template's table is a control of the grid's class.
    CGridCtrl::RegisterWindowClass();
}

void CInfoMos::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INFO_PALETTE, m_paletteName);
    DDX_Text(pDX, IDC_INFO_COLOUR_COUNT, m_colourCount);
    DDX_Text(pDX, IDC_INFO_COLS, m_cols);
    DDX_Text(pDX, IDC_INFO_ROWS, m_rows);
    DDX_Text(pDX, IDC_INFO_PLATE_COUNT, m_plateCount);
    DDX_Text(pDX, IDC_INFO_WIDTH, m_width);
    DDX_Text(pDX, IDC_INFO_HEIGHT, m_height);
    DDX_Text(pDX, IDC_INFO_AREA, m_area);
    DDX_Grid(pDX, IDC_INFO_GRID, m_pGrid, SB_VERT);
}

BOOL CInfoMos::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDC_INFO_COLOURS_LABEL, TXT_INFO_COLOUR_COUNT},
                                    {IDC_INFO_DIMENSIONS_LABEL, TXT_INFO_DIMENSIONS},
                                    {IDC_INFO_PLATES_LABEL, TXT_INFO_PLATE_COUNT},
                                    {IDC_INFO_SIZE_LABEL, TXT_INFO_WIDTH_HEIGHT},
                                    {IDC_INFO_AREA_LABEL, TXT_INFO_SURFACE},
                                    {IDC_INFO_TILES_LABEL, TXT_INFO_TILES},
                                    {IDC_INFO_TEXT_FILE, TXT_INFO_TEXT_FILE}};
    SetDlgTexts(this, texts);
    CString strText;
    strText.Format(L"%s :", (LPCWSTR)GetLangText(TXT_INFO_PALETTE));
    SetDlgItemText(IDC_INFO_PALETTE_LABEL, strText);
    CString strUnit = GetLongUnitText(m_units);
    SetDlgItemText(IDC_INFO_LENGTH_UNIT, strUnit);
    strText.Format(L"%s²", (LPCWSTR)strUnit);
    SetDlgItemText(IDC_INFO_AREA_UNIT, strText);
    if (!m_caption.IsEmpty())
        SetWindowText(m_caption);
    return bResult;
}

void CInfoMos::OnTextFile()
{
    if (CVitrolanDoc* pDoc = ActiveDocument())
        pDoc->WriteTextSummary();
    EndDialog(IDOK);
}

void CInfoMos::OnApplyAndClose()
{
    if (CVitrolanDoc* pDoc = ActiveDocument())
        pDoc->PrepareForPrinting();
    EndDialog(IDOK);
}

void CInfoMos::FillCountGrid(CGridCtrl& grid, const CVitrolanDoc& doc)
{
    const int nColours = doc.m_colourCount;
    const int nTotalsRow = nColours + 1;
    grid.DeleteAllItems();
    grid.SetColumnCount(kColumnCount);
    grid.SetRowCount(nColours + 2);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(0);
    // A heading names its column: a click on it selects nothing.
    grid.SetFixedRowSelection(FALSE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetHandleTabKey(TRUE);
    for (int nCol = 0; nCol < kColumnCount; nCol++)
    {
        grid.SetColumnWidth(nCol, kColumnWidths[nCol]);
        grid.SetItemText(0, nCol, GetLangText(kHeadingTexts[nCol]));
        grid.SetItemFormat(0, nCol, kCentred);
    }
    grid.SetRowHeight(0, kHeadingHeight);
    for (int nRow = 1; nRow <= nTotalsRow; nRow++)
        grid.SetRowHeight(nRow, kRowHeight);

    const C2Palette& palette = doc.m_imagePalette;
    int nRow = 1;
    for (int nColour = 0; nColour < C2Palette::ColourCount && nRow < nTotalsRow; nColour++)
    {
        if (!doc.HasTiles(nColour))
            continue;
        const PaletteEntry& e = palette.m_colours[nColour];
        const COLORREF colour = RGB(e.peRed, e.peGreen, e.peBlue);
        SetReadOnlyText(grid, nRow, 0, palette.m_colourNames[nColour], kCentred);
        grid.SetItemBackColour(nRow, 0, colour);
        grid.SetItemTextColour(nRow, 0, ContrastTextColour(colour));
        SetReadOnlyText(grid, nRow, 1, doc.GetColourLabel(nColour, TRUE), kCentred);
        if (doc.impression == 2 && !palette.m_symbols[nColour].IsEmpty())
        {
            // The symbol's own font at a size the row holds; the palette keeps its own.
            LOGFONT font = palette.m_symbolFonts[nColour];
            font.lfHeight = kSymbolHeight;
            font.lfCharSet = DEFAULT_CHARSET;
            grid.SetItemFont(nRow, 1, &font);
        }
        for (int k = 0; k < 5; k++)
        {
            CString strCount;
            strCount.Format(L"%d", doc.m_tileCounts[k][nColour]);
            SetReadOnlyText(grid, nRow, 2 + k, strCount, kCentred);
        }
        nRow++;
    }

    for (int nCol = 0; nCol < kColumnCount; nCol++)
    {
        grid.SetItemBackColour(nTotalsRow, nCol, kTotalsBack);
        if (nCol != 1)
            grid.SetItemTextColour(nTotalsRow, nCol, kTotalsText);
    }
    SetReadOnlyText(grid, nTotalsRow, 0, GetLangText(TXT_TOTAL), kCentred);
    SetReadOnlyText(grid, nTotalsRow, 1, L"", kCentred);
    for (int k = 0; k < 5; k++)
    {
        CString strTotal;
        strTotal.Format(L"%.0f", doc.m_countTotals[k]);
        SetReadOnlyText(grid, nTotalsRow, 2 + k, strTotal, kCentred);
    }
}
