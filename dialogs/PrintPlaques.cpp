#include "PrintPlaques.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "LangText.h"
#include "TextIds.h"
#include "resource.h"

CPrintPlaques::CPrintPlaques(CWnd* pParent)
    : CDialog(IDD_PRINT_PLATES, pParent), m_plateCount(0), m_rulers(0), m_onePerPage(1),
      m_thumbnails(1), m_firstPlate(1), m_lastPlate(1)
{
}

void CPrintPlaques::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PRINT_PLATE_COUNT, m_plateCount);
    DDX_Check(pDX, IDC_PRINT_RULERS, m_rulers);
    DDX_Check(pDX, IDC_PRINT_ONE_PER_PAGE, m_onePerPage);
    DDX_Check(pDX, IDC_PRINT_THUMBNAILS, m_thumbnails);
}

BOOL CPrintPlaques::OnInitDialog()
{
    BOOL bResult = CDialog::OnInitDialog();
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_PRINT_TOTAL_LABEL, TXT_PRINT_PLATE_TOTAL},
                                    {IDC_PRINT_RULERS, TXT_PRINT_RULERS},
                                    {IDC_PRINT_THUMBNAILS, TXT_PRINT_THUMBNAILS}};
    SetDlgTexts(this, texts);
    CString strPlate = GetLangText(TXT_PLATE);
    CString strPage = GetLangText(TXT_PAGE);
    CString strText;
    strText.Format(L"1 %s / %s", (LPCWSTR)strPlate, (LPCWSTR)strPage);
    SetDlgItemText(IDC_PRINT_ONE_PER_PAGE, strText);
    return bResult;
}
