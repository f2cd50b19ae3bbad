// The tables of the colour mixes: the shares of the allowed colours per step, from their
// rules, and the image colours the mix fill draws from.
#include "VitrolanDoc.h"

#include "LangText.h"
#include "TextIds.h"

namespace
{

// The mix fill draws from the allowed colours of the tile palette in use only.
int CountMixColours(const int* allowed, int nTileColours)
{
    int nCount = 0;
    for (int c = 0; c < nTileColours; c++)
        nCount += allowed[c] != 0;
    return nCount;
}

}   // namespace

int CVitrolanDoc::TileColoursInUse() const
{
    return m_tileColourCount < 0 ? 0 : m_tileColourCount > 256 ? 256 : m_tileColourCount;
}

int CVitrolanDoc::ClampPercent(int nValue)
{
    return nValue < 0 ? 0 : nValue > 100 ? 100 : nValue;
}

int CVitrolanDoc::ClampMixCount(int nValue)
{
    return nValue < 1 ? 1 : nValue > MaxMixCount ? MaxMixCount : nValue;
}

void CVitrolanDoc::ComputeMixShares()
{
    m_mixCount = ClampMixCount(m_mixCount);
    for (int s = 0; s < m_mixCount; s++)
    {
        int nRestColours = 0;
        int nTotal = 0;
        for (int c = 0; c < 256; c++)
        {
            if (m_allowedColours[c] == 0)
                continue;
            const int nStart = ClampPercent(m_mixStart[c]);
            const int nChange = s * ClampPercent(m_mixStep[c]);
            switch (m_mixOptions[c])
            {
            case MixRising:
                m_mixPercent[s][c] = nStart + nChange > 100 ? 100 : nStart + nChange;
                break;
            case MixFalling:
                m_mixPercent[s][c] = nStart - nChange < 0 ? 0 : nStart - nChange;
                break;
            default:
                m_mixPercent[s][c] = nStart;
                nRestColours++;
                continue;
            }
            nTotal += m_mixPercent[s][c];
        }
        if (nRestColours == 0)
            continue;
        const int nRest = nTotal > 100 ? 0 : (100 - nTotal) / nRestColours;
        for (int c = 0; c < 256; c++)
            if (m_allowedColours[c] != 0 && m_mixOptions[c] != MixRising &&
                m_mixOptions[c] != MixFalling)
                m_mixPercent[s][c] = nRest;
    }
}

int CVitrolanDoc::MixStepTotal(int nStep) const
{
    int nTotal = 0;
    for (int c = 0; c < 256; c++)
        if (m_allowedColours[c] != 0)
            nTotal += m_mixPercent[nStep][c];
    return nTotal;
}

BOOL CVitrolanDoc::IsMixStepOverfull(int nStep) const
{
    return MixStepTotal(nStep) > 101;
}

BOOL CVitrolanDoc::MakeRoomForMixColours()
{
    const int nNew = CountMixColours(m_allowedColours, TileColoursInUse());
    if (m_colourCount + nNew <= 256)
        return TRUE;
    SyncPaletteBars();
    if (m_colourCount + nNew <= 256)
        return TRUE;
    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_NO_ROOM_FOR_MIX), nNew, 256 - m_colourCount);
    if (s_uiHooks.pfnMessageBox != NULL)
        s_uiHooks.pfnMessageBox(strMessage);
    return FALSE;
}

BOOL CVitrolanDoc::AppendMixColours()
{
    if (m_colourCount < 0 ||
        m_colourCount + CountMixColours(m_allowedColours, TileColoursInUse()) > 256)
        return FALSE;
    m_mixFirstColour = m_colourCount;
    for (int c = 0; c < TileColoursInUse(); c++)
    {
        if (m_allowedColours[c] == 0)
            continue;
        PaletteEntry& entry = m_imagePalette.m_colours[m_colourCount++];
        entry.peRed = m_tilePalette.m_colours[c].peRed;
        entry.peGreen = m_tilePalette.m_colours[c].peGreen;
        entry.peBlue = m_tilePalette.m_colours[c].peBlue;
    }
    return TRUE;
}
