#include "Export.h"

#include "AfxDDX.h"
#include "DlgTexts.h"
#include "TextIds.h"
#include "resource.h"

CExport::CExport(CWnd* pParent) : CDialog(IDD_EXPORT_PICTURE, pParent), m_fileType(0) {}

void CExport::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EXPORT_FILE_NAME, m_fileName);
    DDX_CBIndex(pDX, IDC_EXPORT_FILE_TYPE, m_fileType);
}

BOOL CExport::OnInitDialog()
{
    static const DlgText texts[] = {{IDOK, TXT_OK},
                                    {IDCANCEL, TXT_CANCEL},
                                    {IDC_EXPORT_NAME_LABEL, TXT_EXPORT_FILE_NAME},
                                    {IDC_EXPORT_TYPE_LABEL, TXT_EXPORT_FILE_TYPE}};
    SetDlgTexts(this, texts);
    // The same three types in every language, in the order of the type index.
    HWND hList = ::GetDlgItem(m_hWnd, IDC_EXPORT_FILE_TYPE);
    ::SendMessageW(hList, CB_RESETCONTENT, 0, 0);
    static const UINT types[] = {IDS_PICTURE_TYPE_JPEG, IDS_PICTURE_TYPE_PNG,
                                 IDS_PICTURE_TYPE_WEBP};
    for (UINT nID : types)
    {
        CString strType;
        strType.LoadString(nID);
        ::SendMessageW(hList, CB_ADDSTRING, 0, (LPARAM)(LPCWSTR)strType);
    }
    // Last, so that the exchange finds the list filled.
    return CDialog::OnInitDialog();
}
