// CGridDropTarget: the OLE drop target of a grid window, registered once the window has a
// size. It passes what OLE asks on to its grid. The window's destruction revokes it, so that
// the grid can register its next window.
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

    // The grid's answers for its own window; DROPEFFECT_NONE for any other.
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                           CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    // The grid never scrolls under a drag: copy with Ctrl, move without.
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

protected:
    // The grid, when the window is the one registered.
    CGridCtrl* GridOf(CWnd* pWnd) const;

    CGridCtrl* m_pGridCtrl;
};
