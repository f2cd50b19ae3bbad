// The file name of the text summary (template 184).
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CFTexte : public CDialog
{
public:
    explicit CFTexte(CWnd* pParent = NULL);

    CString m_fileName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
