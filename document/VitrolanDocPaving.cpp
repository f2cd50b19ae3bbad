// Paving pattern and tile display size.
#include "VitrolanDoc.h"

#include "AfxWin.h"
#include "Paving.h"

namespace
{

// Joints need a tile of more than two pixels.
const int kSmallestJointedSize = 2;

} // namespace

void CVitrolanDoc::RezoomShapes(int nOldSize, int nNewSize)
{
    if (s_uiHooks.pfnRezoomShape == NULL)
        return;
    CShpRectangle* shapes[2] = {m_selection, m_stampShape};
    for (CShpRectangle* pShape : shapes)
        if (pShape != NULL)
            s_uiHooks.pfnRezoomShape(pShape, nOldSize, nNewSize);
}

void CVitrolanDoc::SetPavingPattern(int nType)
{
    // The type indexes the tables of the paving geometry.
    if (nType < 0 || nType >= PavingTypeCount)
        return;
    // A paving change cannot be undone: the pending edit is settled first, so that Undo
    // cannot bring back a size or colours from before the change.
    CommitPendingEdit();
    const int nOldType = m_pavingType;
    m_pavingType = nType;

    // The user's holes and cut tiles along the border stay as they are.
    m_workingMap.ChangeBorderCodes(nOldType, nType, m_cols, m_rows, &m_patternCells);
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);

    m_dirty = 1;
    EraseShape(m_selection);
    m_rebuildTileImages = 1;
    m_plaquesValid = 0;
    BuildPlaques();

    if (s_uiHooks.pfnResetScroll != NULL)
        s_uiHooks.pfnResetScroll();
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnPaving(UINT nID)
{
    SetPavingPattern((int)nID - ID_PAVING_FIRST);
}

void CVitrolanDoc::OnUpdatePaving(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded != 0);
    pCmdUI->SetCheck((int)pCmdUI->m_nID - ID_PAVING_FIRST == m_pavingType ? 1 : 0);
}

void CVitrolanDoc::OnZoomOut()
{
    const int nOldSize = m_tileSize;
    if (m_tileSize > kSmallestJointedSize)
        m_tileSize -= 2;
    FitJointsToTileSize();
    RezoomShapes(nOldSize, m_tileSize);
    m_recentreScroll = 1;
    m_rebuildTileImages = 1;
    // The tile display size is stored with the mosaic.
    m_dirty = 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnZoomIn()
{
    const int nOldSize = m_tileSize;
    int nNewSize = m_tileSize % 2 != 0 ? m_tileSize + 1 : m_tileSize + 2;
    // A larger size would be refused when the mosaic is read back.
    if (nNewSize > MaxTileDisplaySize)
        nNewSize = MaxTileDisplaySize;
    m_tileSize = nNewSize;
    // From a single pixel the next size is still too small for joints.
    FitJointsToTileSize();
    RezoomShapes(nOldSize, m_tileSize);
    m_rebuildTileImages = 1;
    m_dirty = 1;
    UpdateAllViews(NULL);
}

BOOL CVitrolanDoc::HasRoomForJoints() const
{
    return m_tileSize > kSmallestJointedSize;
}

void CVitrolanDoc::SetScaledTileSize(double dSize)
{
    int nSize = RoundHalfAway(dSize);
    // Tested before the even rule, which would otherwise make every size of 1 a 2.
    if (nSize <= 1)
        nSize = 1;
    else if (nSize % 2 != 0)
        nSize++;
    // A larger size would be refused when the mosaic is read back.
    m_tileSize = nSize < MaxTileDisplaySize ? nSize : MaxTileDisplaySize;
    FitJointsToTileSize();
}

void CVitrolanDoc::FitJointsToTileSize()
{
    // The joints the user had come back, not joints the user switched off.
    if (m_tileSize <= kSmallestJointedSize)
    {
        if (m_showJoints)
        {
            m_showJoints = 0;
            m_jointsOffByZoom = 1;
        }
    }
    else if (m_jointsOffByZoom)
    {
        m_jointsOffByZoom = 0;
        m_showJoints = 1;
    }
}

void CVitrolanDoc::FitZoomToWindow()
{
    // An empty grid has no size to fit.
    if (m_cols <= 0 || m_rows <= 0)
        return;
    const int nByHeight = m_screenHeight / m_rows;
    const int nByWidth = m_screenWidth / m_cols;
    int nSize = (nByHeight < nByWidth ? nByHeight : nByWidth) - 2;
    if (nSize % 2 != 0)
        nSize++;
    if (nSize <= kSmallestJointedSize)
        nSize = kSmallestJointedSize;
    else if (nSize > MaxTileDisplaySize)
        // A few tiles on a very large screen: keep a size the mosaic can be read back with.
        nSize = MaxTileDisplaySize;
    m_tileSize = nSize;
    FitJointsToTileSize();
}

void CVitrolanDoc::LimitZoom(int nMost)
{
    if (m_tileSize <= nMost || m_tileSize <= 1)
        return;
    const int nOldSize = m_tileSize;
    m_tileSize = nMost <= 1 ? 1 : nMost - nMost % 2;
    FitJointsToTileSize();
    RezoomShapes(nOldSize, m_tileSize);
    m_rebuildTileImages = 1;
    // The tile display size is stored with the mosaic.
    m_dirty = 1;
}
