#include "ViewHooks.h"

#include "ShpRectangle.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

namespace
{

CShpRectangle* CreateShape()
{
    return new CShpRectangle;
}

void DeleteShape(CShpRectangle* pShape)
{
    delete pShape;
}

void EraseShape(CShpRectangle* pShape)
{
    if (pShape->m_rect.Width() * pShape->m_rect.Height() != 0)
    {
        if (CVitrolanView* pView = CVitrolanView::GetActiveView())
            pView->InvalidateShape(pShape);
        pShape->m_handlesShown = 1;
    }
    pShape->m_rect.SetRectEmpty();
}

void RezoomShape(CShpRectangle* pShape, int nOldSize, int nNewSize)
{
    pShape->Rezoom(nOldSize, nNewSize);
}

void GetShapeRect(CShpRectangle* pShape, RECT* pRect)
{
    *pRect = pShape->m_rect;
}

void HideShapeHandles(CShpRectangle* pShape)
{
    pShape->m_handlesShown = 0;
}

void RedrawViewArea(const RECT* pRect)
{
    if (CVitrolanView* pView = CVitrolanView::GetActiveView())
        pView->InvalidateRect(pRect, TRUE);
}

void RefreshView()
{
    if (CVitrolanView* pView = CVitrolanView::GetActiveView())
        pView->Invalidate(TRUE);
}

void ResetScroll()
{
    if (CVitrolanView* pView = CVitrolanView::GetActiveView())
        pView->SetScrollOrigin(0, 0);
}

BOOL WritePaletteChart(LPCTSTR lpszPath)
{
    CVitrolanView* pView = CVitrolanView::GetActiveView();
    return pView != NULL && pView->WritePaletteChart(lpszPath);
}

PlanResult WriteLayingPlan(LPCTSTR lpszPath)
{
    CVitrolanView* pView = CVitrolanView::GetActiveView();
    return pView != NULL ? pView->WriteLayingPlan(lpszPath) : PlanNotWritten;
}

void BuildTileMasks()
{
    if (CVitrolanView* pView = CVitrolanView::GetActiveView())
        pView->BuildTileMasks();
}

} // namespace

void InstallViewHooks()
{
    DocUiHooks& hooks = CVitrolanDoc::s_uiHooks;
    hooks.pfnCreateShape = CreateShape;
    hooks.pfnDeleteShape = DeleteShape;
    hooks.pfnEraseShape = EraseShape;
    hooks.pfnRezoomShape = RezoomShape;
    hooks.pfnResetScroll = ResetScroll;
    hooks.pfnGetShapeRect = GetShapeRect;
    hooks.pfnHideShapeHandles = HideShapeHandles;
    hooks.pfnRedrawViewArea = RedrawViewArea;
    hooks.pfnRefreshView = RefreshView;
    hooks.pfnWritePaletteChart = WritePaletteChart;
    hooks.pfnWriteLayingPlan = WriteLayingPlan;
    hooks.pfnBuildTileMasks = BuildTileMasks;
}
