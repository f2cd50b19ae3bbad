// The options of the laying plan (template 144): the number of plates, rulers, one plate per
// page and thumbnails, and the range of plates to print.
#pragma once

#include "AfxDialog.h"

class CPrintPlaques : public CDialog
{
public:
    explicit CPrintPlaques(CWnd* pParent = NULL);

    int m_plateCount;   // shown, not edited
    int m_rulers;
    int m_onePerPage;
    int m_thumbnails;
    // The print range; no control shows it, so it comes back as the caller set it.
    int m_firstPlate;
    int m_lastPlate;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
