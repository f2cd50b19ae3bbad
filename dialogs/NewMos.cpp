#include "NewMos.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CNewMos::CNewMos(CWnd* pParent) : CDialog(IDD_NEW_MOSAIC, pParent), m_width(20), m_height(20) {}

void CNewMos::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // A mosaic of no tile, or of a negative number of them, cannot be created.
    DDX_Text(pDX, IDC_NEWMOS_WIDTH, m_width);
    DDV_MinMaxInt(pDX, m_width, 1, MAX_TILES);
    DDX_Text(pDX, IDC_NEWMOS_HEIGHT, m_height);
    DDV_MinMaxInt(pDX, m_height, 1, MAX_TILES);
}

BOOL CNewMos::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_NEWMOS_WIDTH_LABEL, TXT_WIDTH},
                                    {IDC_NEWMOS_HEIGHT_LABEL, TXT_HEIGHT},
                                    {IDC_NEWMOS_WIDTH_UNIT, TXT_TILES},
                                    {IDC_NEWMOS_HEIGHT_UNIT, TXT_TILES}};
    SetDlgTexts(this, texts);
    return bResult;
}
