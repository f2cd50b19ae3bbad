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
