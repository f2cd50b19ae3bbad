// The tile palette table (template 189): the document's palette grid with OK and Print.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"
#include "GridCtrl2.h"

class CDialPalette : public CDialog
{
public:
    explicit CDialPalette(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1077 when set.
    CGridCtrl2* m_pGrid;
    // Shown as the window title when not empty.
    CString m_caption;
    // The row of the last click in the table, -1 before any.
    int m_nClickedRow;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Writes the colour chart of the active document's tile palette.
    afx_msg void OnPrint();

    afx_msg void OnGridClick(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
