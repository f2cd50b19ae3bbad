#include "AfxDlgs.h"

#include <cstring>

#include "AfxApp.h"
#include "AfxResource.h"

// ---- CCommonDialog -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd)
{
    m_lpszTemplateName = NULL;
    m_nIDHelp = 0;
}

void CCommonDialog::OnOK() {}

void CCommonDialog::OnCancel() {}

// ---- CFileDialog -------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize, BOOL)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_ofn.lStructSize = dwSize != 0 && dwSize <= sizeof(m_ofn) ? dwSize : sizeof(m_ofn);
    m_szFileName[0] = 0;
    m_szFileTitle[0] = 0;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();

    if (lpszDefExt != NULL)
    {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL)
        lstrcpynW(m_szFileName, lpszFileName, MAX_PATH);

    if (lpszFilter != NULL)
    {
        // The system wants NUL-separated pairs ended by an empty string: one NUL more than
        // the string's own keeps a filter without its final "||" well ended.
        int nLen = lstrlenW(lpszFilter);
        LPWSTR pch = m_strFilter.GetBufferSetLength(nLen + 1);
        memcpy(pch, lpszFilter, (size_t)nLen * sizeof(WCHAR));
        pch[nLen] = 0;
        for (int i = 0; i < nLen; i++)
        {
            if (pch[i] == L'|')
                pch[i] = 0;
        }
        // No ReleaseBuffer: it would cut the string at the first NUL.
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = PreModal();
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    CString strPath = GetPathName();
    int nSlash = strPath.ReverseFind(L'\\');
    int nOther = strPath.ReverseFind(L'/');
    if (nOther > nSlash)
        nSlash = nOther;
    return strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind(L'.');
    return nDot >= 0 ? strName.Mid(nDot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind(L'.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

CString CFileDialog::GetFolderPath() const
{
    CString strPath = GetPathName();
    return strPath.Left(strPath.GetLength() - GetFileName().GetLength()).TrimRight(L"\\/");
}

// ---- CColorDialog ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

COLORREF CColorDialog::clrSavedCustom[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = PreModal();
    BOOL bResult = ::ChooseColorW(&m_cc);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

// ---- CPrintDialog ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_pd, 0, sizeof(m_pd));
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.Flags &= ~PD_RETURNIC;   // information contexts are not offered
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = PreModal();
    BOOL bResult = ::PrintDlgW(&m_pd);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    m_pd.Flags |= PD_RETURNDEFAULT;
    BOOL bResult = ::PrintDlgW(&m_pd);
    // A later DoModal shows the dialog.
    m_pd.Flags &= ~PD_RETURNDEFAULT;
    return bResult;
}

HDC CPrintDialog::CreatePrinterDC()
{
    m_pd.hDC = AfxCreateDC(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

LPDEVMODEW CPrintDialog::GetDevMode() const
{
    // Left locked, as the caller reads it through the pointer.
    return m_pd.hDevMode != NULL ? (LPDEVMODEW)::GlobalLock(m_pd.hDevMode) : NULL;
}

namespace {

CString DevNamesString(HGLOBAL hDevNames, WORD DEVNAMES::*pOffset)
{
    CString strResult;
    if (hDevNames == NULL)
        return strResult;
    LPDEVNAMES lpDevNames = (LPDEVNAMES)::GlobalLock(hDevNames);
    if (lpDevNames != NULL)
    {
        strResult = (LPCWSTR)lpDevNames + lpDevNames->*pOffset;
        ::GlobalUnlock(hDevNames);
    }
    return strResult;
}

} // namespace

CString CPrintDialog::GetDriverName() const
{
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wDriverOffset);
}

CString CPrintDialog::GetDeviceName() const
{
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wDeviceOffset);
}

CString CPrintDialog::GetPortName() const
{
    return DevNamesString(m_pd.hDevNames, &DEVNAMES::wOutputOffset);
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES)
    {
        LPDEVMODEW lpDevMode = GetDevMode();
        if (lpDevMode != NULL)
        {
            int nCopies = lpDevMode->dmCopies;
            ::GlobalUnlock(m_pd.hDevMode);
            return nCopies;
        }
    }
    return m_pd.nCopies;
}

HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    if (hDevNames == NULL)
        return NULL;
    LPDEVNAMES lpDevNames = (LPDEVNAMES)::GlobalLock(hDevNames);
    if (lpDevNames == NULL)
        return NULL;
    LPDEVMODEW lpDevMode = hDevMode != NULL ? (LPDEVMODEW)::GlobalLock(hDevMode) : NULL;
    HDC hDC = ::CreateDCW((LPCWSTR)lpDevNames + lpDevNames->wDriverOffset,
                          (LPCWSTR)lpDevNames + lpDevNames->wDeviceOffset,
                          (LPCWSTR)lpDevNames + lpDevNames->wOutputOffset, lpDevMode);
    ::GlobalUnlock(hDevNames);
    if (hDevMode != NULL)
        ::GlobalUnlock(hDevMode);
    return hDC;
}

// ---- The application's printer -------------------------------------------------------------------

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGW* pPrintDlg)
{
    UpdatePrinterSelection(m_hDevNames == NULL);
    if (m_hDevNames == NULL)
        return FALSE;
    pPrintDlg->hDevNames = m_hDevNames;
    pPrintDlg->hDevMode = m_hDevMode;
    return TRUE;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    HDC hDC = AfxCreateDC(m_hDevNames, m_hDevMode);
    if (hDC == NULL)
        return FALSE;
    dc.DeleteDC();
    dc.Attach(hDC);
    return TRUE;
}

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    if (!bForceDefaults && m_hDevNames != NULL)
    {
        // The chosen printer stays while it can still make a device context.
        HDC hDC = AfxCreateDC(m_hDevNames, m_hDevMode);
        if (hDC != NULL)
        {
            ::DeleteDC(hDC);
            return;
        }
    }
    CPrintDialog pd(TRUE);
    if (pd.GetDefaults())
        SelectPrinter(pd.m_pd.hDevNames, pd.m_pd.hDevMode);
}

void CWinApp::SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld)
{
    if (bFreeOld)
    {
        if (m_hDevMode != NULL && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
        if (m_hDevNames != NULL && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
    }
    m_hDevMode = (HGLOBAL)hDevMode;
    m_hDevNames = (HGLOBAL)hDevNames;
}

int CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    UpdatePrinterSelection(FALSE);
    pPD->m_pd.hDevMode = m_hDevMode;
    pPD->m_pd.hDevNames = m_hDevNames;
    int nResponse = (int)pPD->DoModal();
    // The dialog may have replaced the handles, whatever the answer.
    m_hDevMode = pPD->m_pd.hDevMode;
    m_hDevNames = pPD->m_pd.hDevNames;
    return nResponse;
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog pd(TRUE);
    DoPrintDialog(&pd);
}
