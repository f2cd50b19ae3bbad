// The common dialogs of COMDLG32 behind MFC's classes: CFileDialog (open and save, with
// MFC's '|'-separated filters), CColorDialog and CPrintDialog. Each keeps the system's
// structure as a public member (m_ofn, m_cc, m_pd) that callers may adjust before DoModal.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "AfxDialog.h"

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    // The system's dialog closes itself.
    void OnOK() override;
    void OnCancel() override;
};

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter holds pairs "description|pattern|", ended by a second '|':
    // "Palettes (*.pal)|*.pal|All files (*.*)|*.*||". bVistaStyle is accepted and ignored:
    // the dialog is always the system's classic one.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL,
                         LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = NULL, CWnd* pParentWnd = NULL, DWORD dwSize = 0,
                         BOOL bVistaStyle = TRUE);

    OPENFILENAMEW m_ofn;

    // IDOK or IDCANCEL.
    INT_PTR DoModal() override;

    CString GetPathName() const;    // the full path
    CString GetFileName() const;    // the name with its extension
    CString GetFileExt() const;     // the extension without its dot
    CString GetFileTitle() const;   // the name without its extension
    CString GetFolderPath() const;

    BOOL m_bOpenFileDialog;

protected:
    CString m_strFilter;   // the filter with its '|' turned into NULs, ended by two NULs
    CString m_strDefExt;
    WCHAR m_szFileTitle[MAX_PATH];
    WCHAR m_szFileName[MAX_PATH];
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    // A colour other than black starts the dialog on it (CC_RGBINIT).
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

    CHOOSECOLORW m_cc;

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }

    // The sixteen custom colours the dialogs share unless a caller gives its own
    // (m_cc.lpCustColors); white at first.
    static COLORREF clrSavedCustom[16];
    static COLORREF* PASCAL GetSavedCustomColors() { return clrSavedCustom; }
};

class CPrintDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    // bPrintSetupOnly shows the printer set-up dialog; the print dialog returns a printer
    // device context in m_pd.hDC.
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = NULL);

    PRINTDLGW m_pd;

    INT_PTR DoModal() override;
    // The default printer's DEVMODE and DEVNAMES, without showing anything; FALSE when
    // there is no printer.
    BOOL GetDefaults();
    // A device context for the chosen printer, also left in m_pd.hDC; the caller deletes it.
    HDC CreatePrinterDC();
    HDC GetPrinterDC() const { return m_pd.hDC; }

    // Read from the locked DEVMODE and DEVNAMES; empty without a printer.
    LPDEVMODEW GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    int GetCopies() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
};

// A device context for the printer the DEVNAMES and DEVMODE name; NULL without one.
HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
