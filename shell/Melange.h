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
    // steps that add up to more than 101 %. TRUE when there is none; otherwise the document
    // keeps the shares it had.
    BOOL ReadShares();
    // The rules of the allowed colours, the number of steps and their direction; a
    // confirmed change refills the table.
    void ShowOptions();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Stays open, saying why, while a step is overfull or the mix's colours do not fit into
    // the image palette; otherwise the colours are added to it.
    void OnOK() override;
    void ShowMessage(UINT nTextId);

    afx_msg void OnOptions();

    DECLARE_MESSAGE_MAP()
};
