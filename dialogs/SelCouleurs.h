// The choice of the allowed tile colours (template 192): a grid of check cells with
// "select all" and "select none".
#pragma once

#include "AfxDialog.h"
#include "GridCtrl.h"

class CVitrolanDoc;

class CSelCouleurs : public CDialog
{
public:
    explicit CSelCouleurs(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1044 when set. Its rows 1 and on hold a
    // colour each, with the check cell in column 1.
    CGridCtrl* m_pGrid;

    // Fills the grid with the tile colours in use of the document, those it allows checked.
    void FillGrid(const CVitrolanDoc& doc);
    // After OK: the document allows the colours checked.
    void ApplyChoice(CVitrolanDoc& doc) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Checks or unchecks every colour's check cell.
    void CheckAll(BOOL bChecked);

    afx_msg void OnSelectAll();
    afx_msg void OnSelectNone();

    DECLARE_MESSAGE_MAP()
};
