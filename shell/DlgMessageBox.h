// The program's own message box: one message, OK (IDOK) and Cancel (IDCANCEL), no icon and
// no title, its button texts from the language table.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CDlgMessageBox : public CDialog
{
public:
    explicit CDlgMessageBox(CWnd* pParent = NULL);

    CString m_message;

protected:
    BOOL OnInitDialog() override;
};
