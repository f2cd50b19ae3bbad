// CPaintedDockBar: a dock bar that paints its background and borders with the menu-bar brush,
// so that the menu bar's colour runs on across the frame's edges.
#pragma once

#include "AfxBar.h"

class CPaintedDockBar : public CDockBar
{
    DECLARE_DYNCREATE(CPaintedDockBar)
public:
    CPaintedDockBar() {}

    // One on each side dwDockStyle names (CBRS_ALIGN_...) that has no dock bar yet.
    static void CreateDockBars(CFrameWnd* pFrame, DWORD dwDockStyle);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();

    DECLARE_MESSAGE_MAP()
};
