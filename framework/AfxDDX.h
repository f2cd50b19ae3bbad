// Dialog data exchange: CDataExchange and the DDX_ routines that move a member between a
// dialog's control and the program (CWnd::UpdateData runs DoDataExchange), and the DDV_
// checks. Numbers are written and read in the C locale, whatever setlocale says, so that a
// dialog shows "2.5" the same way all session long.
#pragma once

// The framework's prompts in the string table; the resource script includes this part.
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_INT_RANGE 0xF112
#define AFX_IDP_PARSE_REAL_RANGE 0xF113
#define AFX_IDP_PARSE_STRING_SIZE 0xF114
#define AFX_IDP_PARSE_UINT 0xF117

#ifndef RC_INVOKED

#include <windows.h>

#include "AfxString.h"
#include "AfxWin.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls to members, with the checks
    CWnd* m_pDlgWnd;

    // The control's window, remembered as the one Fail puts the focus on. A missing control
    // throws CNotSupportedException.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit, whose text Fail also selects.
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last prepared control and throws CUserException.
    [[noreturn]] void Fail();

    UINT m_idLastControl;
    BOOL m_bEditLastControl;
    HWND m_hWndLastControl;
};

// Numbers: a failed parse tells the user (AFX_IDP_PARSE_INT, AFX_IDP_PARSE_UINT,
// AFX_IDP_PARSE_REAL) and fails the exchange. Floats show FLT_DIG significant digits,
// doubles DBL_DIG ("%.*g"). DWORD is UINT here.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first button of a group that ends at the next WS_GROUP control; the value is
// the index of the checked radio button among the group's radio buttons, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// Selects the first item that starts with the text, else puts the text in the edit part.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Subclasses the control into rControl when rControl holds no window, which is the case
// again each time a dialog opens after its last window was destroyed.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Checks made when saving: a value out of range tells the user and fails the exchange.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
// Also limits the edit to nChars characters when loading.
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);

// The string nIDS with %1 (and %2) replaced.
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);

// Sets the text only when it differs, so that an unchanged control neither flickers nor
// notifies.
void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew);

#endif // RC_INVOKED
