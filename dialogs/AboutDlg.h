// The About box (template 100): the program's name and version and four lines, all from the
// language table.
#pragma once

#include "AfxDialog.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
};
