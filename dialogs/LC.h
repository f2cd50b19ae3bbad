// Rows and columns to add or delete (template 143): a heading, the four sides and a count
// for each.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CLC : public CDialog
{
public:
    explicit CLC(CWnd* pParent = NULL);

    // The largest count accepted on one side.
    static const int MAX_COUNT = 10000;

    CString m_heading;
    int m_top;          // checks: 0 or 1
    int m_bottom;
    int m_left;
    int m_right;
    int m_countTop;     // 0 to MAX_COUNT
    int m_countBottom;
    int m_countLeft;
    int m_countRight;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
