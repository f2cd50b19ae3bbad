#include "InfoMos.h"

#include "AfxDDX.h"
#include "DlgGrid.h"
#include "DlgTexts.h"
#include "LangText.h"
#include "TextIds.h"
#include "resource.h"

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
