// The choice of the allowed tile colours (template 192): a grid of check cells with
// "select all" and "select none".
#pragma once

#include "AfxDialog.h"

class CSelCouleurs : public CDialog
{
public:
    explicit CSelCouleurs(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1044 when set.
    CWnd* m_pGrid;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
