// The colour-mixing table (template 195): the share of every chosen colour in every step.
#pragma once

#include "AfxDialog.h"
#include "GridCtrl.h"

class CMelange : public CDialog
{
public:
    explicit CMelange(CWnd* pParent = NULL);

    // The grid the caller owns; bound to control 1089 when set.
    CGridCtrl* m_pGrid;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
