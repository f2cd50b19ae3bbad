#include "GridDropTarget.h"

#include "GridCtrl.h"

IMPLEMENT_DYNAMIC(CGridDropTarget, COleDropTarget)

CGridDropTarget::CGridDropTarget() : m_pGridCtrl(NULL) {}

CGridDropTarget::~CGridDropTarget() {}

BOOL CGridDropTarget::RegisterGrid(CGridCtrl* pGridCtrl)
{
    // Registering sends messages to the window, which may ask again.
    static BOOL s_bInProcedure = FALSE;
    if (IsRegistered() || s_bInProcedure || pGridCtrl == NULL)
        return FALSE;
    s_bInProcedure = TRUE;
    m_pGridCtrl = pGridCtrl;
    const BOOL bRegistered = Register(pGridCtrl);
    s_bInProcedure = FALSE;
    return bRegistered;
}

CGridCtrl* CGridDropTarget::GridOf(CWnd* pWnd) const
{
    if (m_pGridCtrl == NULL || pWnd->GetSafeHwnd() == NULL ||
        pWnd->GetSafeHwnd() != m_pGridCtrl->GetSafeHwnd())
        return NULL;
    return m_pGridCtrl;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject,
                                        DWORD dwKeyState, CPoint point)
{
    CGridCtrl* pGrid = GridOf(pWnd);
    return pGrid == NULL ? DROPEFFECT_NONE : pGrid->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject,
                                       DWORD dwKeyState, CPoint point)
{
    CGridCtrl* pGrid = GridOf(pWnd);
    return pGrid == NULL ? DROPEFFECT_NONE : pGrid->OnDragOver(pDataObject, dwKeyState, point);
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                             CPoint point)
{
    CGridCtrl* pGrid = GridOf(pWnd);
    return pGrid != NULL && pGrid->OnDrop(pDataObject, dropEffect, point);
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (CGridCtrl* pGrid = GridOf(pWnd))
        pGrid->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint)
{
    if (GridOf(pWnd) == NULL)
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
