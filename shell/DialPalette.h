// The tile palette table (template 189): the document's palette grid with OK and Print.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CDialPalette : public CDialog
{
public:
    explicit CDialPalette(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1077 when set.
    CWnd* m_pGrid;
    // Shown as the window title when not empty.
    CString m_caption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Writes the colour chart of the active document's tile palette.
    afx_msg void OnPrint();

    DECLARE_MESSAGE_MAP()
};
