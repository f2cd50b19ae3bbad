// The picture export (template 168): a file name and a picture type, 0 JPEG, 1 PNG, 2 WEBP.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CExport : public CDialog
{
public:
    explicit CExport(CWnd* pParent = NULL);

    CString m_fileName;
    int m_fileType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
