// CDialog: dialogs from templates. DoModal creates the dialog modeless, disables its owner
// and runs the framework's own modal loop (CWnd::RunModalLoop), so that PreTranslateMessage
// of the dialog and of its controls sees every message, as in the application's loop.
// Create makes a modeless dialog from the same templates.
#pragma once

#include <windows.h>

#include "AfxWin.h"

class CDataExchange;

// The dialog procedure of every CDialog: WM_INITDIALOG calls OnInitDialog, everything else
// goes through the message map first.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modeless: the dialog shows itself when its template has WS_VISIBLE.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

    // Modal: the EndDialog result, or -1 when the dialog could not be created. The same
    // object may run any number of times, one after the other.
    virtual INT_PTR DoModal();
    // For DoModal on a template held in memory.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

    void EndDialog(int nResult);

    // Focus moves as Tab and Shift+Tab move it.
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    // The base exchanges the data into the controls (UpdateData(FALSE)) and asks for the
    // default focus.
    virtual BOOL OnInitDialog();
    // UpdateData(TRUE), then EndDialog(IDOK); a failed exchange keeps the dialog open.
    virtual void OnOK();
    virtual void OnCancel();

    // IsDialogMessage: Tab, Enter, Escape and the mnemonics.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCTSTR m_lpszTemplateName;     // the template: a name or MAKEINTRESOURCE(id)
    LPCDLGTEMPLATE m_lpDialogTemplate;
    CWnd* m_pParentWnd;
    UINT m_nIDHelp;

protected:
    // The owner DoModal gives the dialog: the parent, else the main window, or the last
    // popup of their top-level window (a dialog opened from a dialog).
    HWND PreModal();
    // Enables again the top-level window PreModal disabled.
    void PostModal();
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
    // Called before OnInitDialog.
    virtual void PreInitDialog();

    HWND m_hWndTop;   // the top-level window PreModal disabled besides the owner
    BOOL m_bInDoModal;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
