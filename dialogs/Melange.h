// The colour-mixing table (template 195): the share of every chosen colour in every step.
#pragma once

#include "AfxDialog.h"
#include "GridCtrl.h"

class CVitrolanDoc;

class CMelange : public CDialog
{
public:
    explicit CMelange(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1089 when set.
    CGridCtrl* m_pGrid;
    // The document whose mixes the table shows and OK takes back; without one, OK only
    // closes the dialog.
    CVitrolanDoc* m_pDoc;

    // Fills the grid from the document's shares: a column per allowed colour, a row per
    // step.
    void FillGrid();
    // Takes the typed shares into the document (each kept within 0 to 100) and greys the
    // steps that cannot be laid: those that add up to more than 101 % or to 0 %. Returns
    // why, empty when every step can be laid.
    CString ReadShares();
    // What the user is told before the document's steps that add up to less than 100 % are
    // laid in proportion: each step whose shares this changes, with its shares and those it
    // is laid with. Empty when there is none.
    CString ScaledStepsNotice() const;
    // The rules of the allowed colours, the number of steps and their direction; a
    // confirmed change refills the table.
    void ShowOptions();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Stays open, saying why, while a step is overfull or empty or the mix's colours do not
    // fit into the image palette, and when the user, told which steps are scaled, returns
    // to the table; otherwise the colours are added to the image palette.
    void OnOK() override;
    // The program's message box with OK and Cancel; IDOK or IDCANCEL.
    INT_PTR ShowMessage(const CString& strMessage);

    afx_msg void OnOptions();

    DECLARE_MESSAGE_MAP()
};
