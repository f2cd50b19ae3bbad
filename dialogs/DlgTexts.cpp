#include "DlgTexts.h"

#include "LangText.h"
#include "TextIds.h"

void SetDlgTexts(CWnd* pDlg, const DlgText* pTexts, int nCount)
{
    for (int i = 0; i < nCount; i++)
    {
        HWND hItem = ::GetDlgItem(pDlg->GetSafeHwnd(), pTexts[i].nIDC);
        if (hItem != NULL)
            ::SetWindowTextW(hItem, GetLangText(pTexts[i].nTextId));
    }
}

CString GetShortUnitText(int nUnits)
{
    return GetLangText(nUnits == 0 ? TXT_UNIT_MILLIMETRES : TXT_UNIT_INCHES);
}

CString GetLongUnitText(int nUnits)
{
    return GetLangText(nUnits == 0 ? TXT_UNIT_METRES : TXT_UNIT_FEET);
}
