#include "AfxDDX.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

#include "AfxApp.h"
#include "AfxCLocale.h"

namespace {

thread_local HWND t_hWndLockoutNotify = NULL;

// The control's text as ASCII; any other character becomes one that no number contains.
std::string GetAsciiText(HWND hWndCtrl)
{
    WCHAR szText[400] = {};
    ::GetWindowTextW(hWndCtrl, szText, 400);
    std::string strText;
    for (const WCHAR* pch = szText; *pch != 0; pch++)
        strText += *pch < 0x80 ? (char)*pch : '\x01';
    return strText;
}

void SetAsciiText(HWND hWndCtrl, const char* pszText)
{
    CString strText;
    for (const char* pch = pszText; *pch != 0; pch++)
        strText += (WCHAR)(unsigned char)*pch;
    AfxSetWindowText(hWndCtrl, strText);
}

const char* SkipBlanks(const char* psz)
{
    while (*psz == ' ' || *psz == '\t')
        psz++;
    return psz;
}

// An integer as MFC reads one: blanks around, an optional sign ('-' only when signed) and
// decimal digits. A zero must be written with a leading '0' ("-0" and "+0" are refused);
// a value outside [llMin, ullMax] is refused as well.
bool ParseInteger(const std::string& strText, bool bSigned, long long llMin,
                  unsigned long long ullMax, long long* pllValue, unsigned long long* pullValue)
{
    const char* psz = SkipBlanks(strText.c_str());
    char chFirst = *psz;
    bool bNegative = false;
    if (*psz == '+' || *psz == '-')
    {
        bNegative = *psz == '-';
        if (bNegative && !bSigned)
            return false;
        psz++;
    }
    if (*psz < '0' || *psz > '9')
        return false;
    unsigned long long ullValue = 0;
    for (; *psz >= '0' && *psz <= '9'; psz++)
    {
        if (ullValue > (ULLONG_MAX - (unsigned)(*psz - '0')) / 10)
            return false;
        ullValue = ullValue * 10 + (unsigned)(*psz - '0');
    }
    if (*SkipBlanks(psz) != '\0')
        return false;
    if (ullValue == 0 && chFirst != '0')
        return false;
    if (bNegative)
    {
        if (ullValue > (unsigned long long)LLONG_MAX + 1 ||
            -(long long)(ullValue - 1) - 1 < llMin)
            return false;
        *pllValue = -(long long)(ullValue - 1) - 1;
    }
    else
    {
        if (ullValue > ullMax)
            return false;
        *pllValue = (long long)ullValue;
    }
    *pullValue = ullValue;
    return true;
}

// A decimal number: blanks around, sign, digits, '.', exponent. As in MFC a zero needs a
// leading '0'; infinities, NaNs and hexadecimal forms are refused.
bool ParseReal(const std::string& strText, double* pValue)
{
    const char* psz = SkipBlanks(strText.c_str());
    char chFirst = *psz;
    const char* pszEnd = psz;
    while (*pszEnd != '\0' && strchr("+-0123456789.eE", *pszEnd) != NULL)
        pszEnd++;
    if (*SkipBlanks(pszEnd) != '\0')
        return false;
    std::string strNumber(psz, pszEnd);
    char* pszStop = NULL;
    double d;
    {
        CCLocaleScope cLocale;
        d = strtod(strNumber.c_str(), &pszStop);
    }
    if (pszStop == strNumber.c_str() || *pszStop != '\0' || !std::isfinite(d))
        return false;
    if (d == 0.0 && chFirst != '0')
        return false;
    *pValue = d;
    return true;
}

std::string FormatReal(double value, int nDigits)
{
    char szBuffer[64];
    CCLocaleScope cLocale;
    snprintf(szBuffer, sizeof(szBuffer), "%.*g", nDigits, value);
    return szBuffer;
}

[[noreturn]] void FailParse(CDataExchange* pDX, UINT nIDPrompt)
{
    AfxMessageBox(nIDPrompt);
    pDX->Fail();
}

template <typename T>
void TextInteger(CDataExchange* pDX, int nIDC, T& value, bool bSigned, long long llMin,
                 unsigned long long ullMax, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        long long llValue = 0;
        unsigned long long ullValue = 0;
        if (!ParseInteger(GetAsciiText(hWndCtrl), bSigned, llMin, ullMax, &llValue, &ullValue))
            FailParse(pDX, nIDPrompt);
        value = bSigned ? (T)llValue : (T)ullValue;
    }
    else
    {
        char szBuffer[32];
        if (bSigned)
            snprintf(szBuffer, sizeof(szBuffer), "%lld", (long long)value);
        else
            snprintf(szBuffer, sizeof(szBuffer), "%llu", (unsigned long long)value);
        SetAsciiText(hWndCtrl, szBuffer);
    }
}

// A range failure is reported only when saving: a member out of range on the way in is
// the program's business.
void FailMinMax(CDataExchange* pDX, const CString& strMin, const CString& strMax, UINT nIDPrompt)
{
    if (!pDX->m_bSaveAndValidate)
        return;
    CString strPrompt;
    AfxFormatString2(strPrompt, nIDPrompt, strMin, strMax);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

CString AsciiToString(const std::string& str)
{
    CString strResult;
    for (char ch : str)
        strResult += (WCHAR)(unsigned char)ch;
    return strResult;
}

void FormatStringN(CString& rString, UINT nIDS, LPCTSTR const* rglpsz, int nString)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    rString.Empty();
    for (int i = 0; i < strFormat.GetLength(); i++)
    {
        WCHAR ch = strFormat[i];
        if (ch == L'%' && i + 1 < strFormat.GetLength() && strFormat[i + 1] >= L'1' &&
            strFormat[i + 1] <= L'9')
        {
            int nArg = strFormat[i + 1] - L'1';
            if (nArg < nString && rglpsz[nArg] != NULL)
                rString += rglpsz[nArg];
            i++;
        }
        else
        {
            rString += ch;
        }
    }
}

} // namespace

// ---- UpdateData ----------------------------------------------------------------------------------

HWND AfxGetLockoutNotifyWindow()
{
    return t_hWndLockoutNotify;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);

    // Control notifications the exchange itself causes are not dispatched.
    struct CLockout
    {
        HWND hWndOld;
        explicit CLockout(HWND hWnd) : hWndOld(t_hWndLockoutNotify) { t_hWndLockoutNotify = hWnd; }
        ~CLockout() { t_hWndLockoutNotify = hWndOld; }
    } lockout(m_hWnd);

    try
    {
        DoDataExchange(&dx);
        return TRUE;
    }
    catch (CException* e)
    {
        // A CUserException follows a message the user has seen.
        if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
        e->Delete();
        return FALSE;
    }
}

// ---- CDataExchange ----------------------------------------------------------------------------------

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0),
      m_bEditLastControl(FALSE), m_hWndLastControl(NULL)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (nIDC == 0 || nIDC == -1 || hWndCtrl == NULL)
        AfxThrowNotSupportedException();
    m_idLastControl = (UINT)nIDC;
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0)
    {
        HWND hWndLastControl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), (int)m_idLastControl);
        ::SetFocus(hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

// ---- DDX_ ----------------------------------------------------------------------------------------------

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextInteger(pDX, nIDC, value, true, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextInteger(pDX, nIDC, value, false, 0, UINT_MAX, AFX_IDP_PARSE_UINT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextInteger(pDX, nIDC, value, true, LONG_MIN, LONG_MAX, AFX_IDP_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        double d = 0;
        if (!ParseReal(GetAsciiText(hWndCtrl), &d) || std::fabs(d) > FLT_MAX)
            FailParse(pDX, AFX_IDP_PARSE_REAL);
        value = (float)d;
    }
    else
    {
        SetAsciiText(hWndCtrl, FormatReal(value, FLT_DIG).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        double d = 0;
        if (!ParseReal(GetAsciiText(hWndCtrl), &d))
            FailParse(pDX, AFX_IDP_PARSE_REAL);
        value = d;
    }
    else
    {
        SetAsciiText(hWndCtrl, FormatReal(value, DBL_DIG).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        int nLen = ::GetWindowTextLengthW(hWndCtrl);
        ::GetWindowTextW(hWndCtrl, value.GetBufferSetLength(nLen), nLen + 1);
        value.ReleaseBuffer();
    }
    else
    {
        AfxSetWindowText(hWndCtrl, value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
    {
        value = (int)::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0);
    }
    else
    {
        if (value < 0 || value > 2)
            value = 0;   // unchecked, as MFC does with a value out of range
        ::SendMessageW(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int iButton = 0;
    do
    {
        // Only radio buttons count; other controls in the group are skipped.
        if (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        {
            if (pDX->m_bSaveAndValidate)
            {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) != 0 && value == -1)
                    value = iButton;
            }
            else
            {
                ::SendMessageW(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if ((::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & 0xF) != CBS_DROPDOWNLIST)
        pDX->m_bEditLastControl = TRUE;   // an edit part takes the focus on failure
    if (pDX->m_bSaveAndValidate)
    {
        int nLen = ::GetWindowTextLengthW(hWndCtrl);
        if (nLen > 0)
        {
            ::GetWindowTextW(hWndCtrl, value.GetBufferSetLength(nLen), nLen + 1);
        }
        else
        {
            // A drop-down list may not report the length of its text.
            ::GetWindowTextW(hWndCtrl, value.GetBuffer(255), 255 + 1);
        }
        value.ReleaseBuffer();
    }
    else if (::SendMessageW(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) ==
             CB_ERR)
    {
        // A drop-down list ignores the text.
        AfxSetWindowText(hWndCtrl, value);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();   // the window belongs to another object
}

// ---- DDV_ --------------------------------------------------------------------------------------------

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (value < minVal || value > maxVal)
    {
        CString strMin, strMax;
        strMin.Format(L"%d", minVal);
        strMax.Format(L"%d", maxVal);
        FailMinMax(pDX, strMin, strMax, AFX_IDP_PARSE_INT_RANGE);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (value < minVal || value > maxVal)
    {
        CString strMin, strMax;
        strMin.Format(L"%u", minVal);
        strMax.Format(L"%u", maxVal);
        FailMinMax(pDX, strMin, strMax, AFX_IDP_PARSE_INT_RANGE);
    }
}

void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax(pDX, AsciiToString(FormatReal(minVal, FLT_DIG)),
                   AsciiToString(FormatReal(maxVal, FLT_DIG)), AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal)
{
    if (value < minVal || value > maxVal)
        FailMinMax(pDX, AsciiToString(FormatReal(minVal, DBL_DIG)),
                   AsciiToString(FormatReal(maxVal, DBL_DIG)), AFX_IDP_PARSE_REAL_RANGE);
}

void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars)
    {
        CString strCount;
        strCount.Format(L"%d", nChars);
        CString strPrompt;
        AfxFormatString1(strPrompt, AFX_IDP_PARSE_STRING_SIZE, strCount);
        AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
        pDX->Fail();
    }
    else if (!pDX->m_bSaveAndValidate && pDX->m_hWndLastControl != NULL &&
             pDX->m_bEditLastControl)
    {
        ::SendMessageW(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}

// ---- Helpers -------------------------------------------------------------------------------------------

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1)
{
    FormatStringN(rString, nIDS, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    LPCTSTR rglpsz[2] = {lpsz1, lpsz2};
    FormatStringN(rString, nIDS, rglpsz, 2);
}

void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew)
{
    int nNewLen = lstrlenW(lpszNew);
    WCHAR szOld[256];
    // Texts too long for the buffer are set without comparing.
    if (nNewLen > 255 || ::GetWindowTextW(hWndCtrl, szOld, 256) != nNewLen ||
        memcmp(szOld, lpszNew, (size_t)nNewLen * sizeof(WCHAR)) != 0)
        ::SetWindowTextW(hWndCtrl, lpszNew);
}
