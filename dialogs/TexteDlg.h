// The text that the text stamp writes into the mosaic (template 162).
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CTexteDlg : public CDialog
{
public:
    explicit CTexteDlg(CWnd* pParent = NULL);

    CString m_text;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
