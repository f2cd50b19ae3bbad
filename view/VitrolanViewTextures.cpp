#include "VitrolanView.h"

#include "AfxApp.h"

int CVitrolanView::CheckTileTextures()
{
    CVitrolanDoc* pDoc = GetDocument();
    const int nReadiness = pDoc->GetTextureReadiness(pDoc->m_tileSize);
    if (nReadiness != CTextureLoadState::CacheReady && !m_textureLoadAsked &&
        GetSafeHwnd() != NULL)
        m_textureLoadAsked = PostMessage(WM_LOAD_TILE_TEXTURES);
    // Squares of another size would be drawn partly; until the load the tiles are plain.
    return nReadiness == CTextureLoadState::CacheStale ? 0 : 1;
}

LRESULT CVitrolanView::OnLoadTileTextures(WPARAM, LPARAM)
{
    m_textureLoadAsked = FALSE;
    CVitrolanDoc* pDoc = GetDocument();
    if (!pDoc->m_loaded || !ComputeTexturesFlag() ||
        pDoc->GetTextureReadiness(pDoc->m_tileSize) == CTextureLoadState::CacheReady)
        return 0;
    {
        CWaitCursor wait;
        pDoc->LoadTileTextures(pDoc->m_tileSize);
    }
    Invalidate(FALSE);
    return 0;
}
