// The program preferences (template 172): length units and paper format.
#pragma once

#include "AfxDialog.h"

class CProgOpt : public CDialog
{
public:
    explicit CProgOpt(CWnd* pParent = NULL);

    int m_units;    // 0 millimetres, 1 inches
    int m_paper;    // 0 A4, 1 Letter, 2 A3, 3 A2, 4 A1, 5 A0

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
