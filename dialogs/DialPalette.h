// The tile palette table (template 189): the document's palette grid with OK and Print.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"
#include "GridCtrl2.h"

class CVitrolanDoc;

class CDialPalette : public CDialog
{
public:
    explicit CDialPalette(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1077 when set.
    CGridCtrl2* m_pGrid;
    // The document whose tile palette the table edits; the active document when NULL.
    CVitrolanDoc* m_pDoc;
    // Shown as the window title when not empty.
    CString m_caption;
    // The row of the last click in the table, -1 before any.
    int m_nClickedRow;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Closes only on a table without faults, which the palette then takes.
    void OnOK() override;
    // Writes the colour chart of the palette the table gives, when it has no fault.
    afx_msg void OnPrint();

    afx_msg void OnGridClick(NMHDR* pNMHDR, LRESULT* pResult);

    CVitrolanDoc* GetDocument() const;
    // Takes the table into the palette: FALSE, with its fault reported, when it has one.
    BOOL ApplyTable(CVitrolanDoc* pDoc);

    DECLARE_MESSAGE_MAP()
};
