#include "TextureLoadState.h"

#include <string.h>

bool CTextureLoadState::Key::operator==(const Key& other) const
{
    if (tileSize != other.tileSize || paletteKind != other.paletteKind ||
        tilePaletteName != other.tilePaletteName ||
        memcmp(tileIndex, other.tileIndex, sizeof(tileIndex)) != 0)
        return false;
    for (int i = 0; i < 256; i++)
        if (colourNames[i] != other.colourNames[i])
            return false;
    return true;
}

CTextureLoadState::CTextureLoadState()
    : m_built(false), m_budgetReached(false), m_budget(DefaultBudget), m_transform()
{
    memset(m_key.tileIndex, 0, sizeof(m_key.tileIndex));
    Forget();
}

void CTextureLoadState::Forget()
{
    m_paths.assign(TextureCount, CString());
    m_failed.assign(TextureCount, 0);
    m_built = false;
    m_budgetReached = false;
}
