// What the program's dialogs share: replacing control texts by language texts when a dialog
// opens, and the unit texts chosen by the document's unit flag.
#pragma once

#include <windows.h>

#include "AfxString.h"
#include "AfxWin.h"

// One control and the number of the language text it shows.
struct DlgText
{
    int nIDC;
    UINT nTextId;
};

// Sets each control's text; a control the template lacks is skipped.
void SetDlgTexts(CWnd* pDlg, const DlgText* pTexts, int nCount);

template <int N>
void SetDlgTexts(CWnd* pDlg, const DlgText (&texts)[N])
{
    SetDlgTexts(pDlg, texts, N);
}

// Text 903 "mm" (units 0) or 904 "in" (any other units).
CString GetShortUnitText(int nUnits);
// Text 905 "m" (units 0) or 906 "ft".
CString GetLongUnitText(int nUnits);
