// CGridDropTarget: the OLE drop target of a grid window, registered once the window has a
// size. The window's destruction revokes it, so that the grid can register its next window.
#pragma once

#include "AfxOle.h"

class CGridCtrl;

class CGridDropTarget : public COleDropTarget
{
    DECLARE_DYNAMIC(CGridDropTarget)
public:
    CGridDropTarget();
    ~CGridDropTarget() override;

    // FALSE when already registered, while another registration runs, or when OLE refuses.
    BOOL RegisterGrid(CGridCtrl* pGridCtrl);

    BOOL IsRegistered() const { return m_hWnd != NULL; }
    CGridCtrl* GetGrid() const { return m_pGridCtrl; }

protected:
    CGridCtrl* m_pGridCtrl;
};
