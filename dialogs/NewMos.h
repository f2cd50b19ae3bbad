// The size of a new mosaic in tiles (template 142).
#pragma once

#include "AfxDialog.h"

class CNewMos : public CDialog
{
public:
    explicit CNewMos(CWnd* pParent = NULL);

    // The largest width or height accepted, in tiles.
    static const int MAX_TILES = 10000;

    int m_width;
    int m_height;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
