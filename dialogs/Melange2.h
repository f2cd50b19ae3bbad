// The question whether the previous colour mix stays (template 196): IDOK keeps it,
// IDCANCEL undoes it.
#pragma once

#include "AfxDialog.h"

class CMelange2 : public CDialog
{
public:
    explicit CMelange2(CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
};
