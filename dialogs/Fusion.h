// The new size of the mosaic (template 167): one length, along its width or its height.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CFusion : public CDialog
{
public:
    explicit CFusion(CWnd* pParent = NULL);

    // The smallest and largest size accepted, in metres or feet.
    static constexpr float MIN_SIZE = 0.001f;
    static constexpr float MAX_SIZE = 100000.0f;

    float m_size;
    CString m_unitText;
    int m_dimension;    // 0 width, 1 height
    int m_units;        // 0 metric, 1 imperial: the unit label

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
