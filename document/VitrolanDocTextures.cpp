// Tile textures: the pictures of real tiles that textured tiles are drawn with, read from
// "Palettes\<palette>\<colour>\<shade>.bmp" below the program and kept as squares of the
// tile size, one per colour, shade and quarter turn.
#include "VitrolanDoc.h"

#include <string.h>

#include <algorithm>

#include "DocPaths.h"
#include "LangText.h"
#include "Paving.h"
#include "PictureSize.h"
#include "TextIds.h"
#include "TileTexture.h"

namespace
{

// Pictures per shade of a family: one per colour.
const int kTexturesPerShade = 256;

static_assert(CTextureLoadState::TextureCount == CVitrolanDoc::TileTextureCount,
              "one load state per texture");

size_t PictureBytes(const CRasterImage& image)
{
    return image.data != NULL ? (size_t)image.width * image.height * (image.type == 1 ? 3 : 1)
                              : 0;
}

} // namespace

CString CVitrolanDoc::TextureFilePath(const CString& strColourName, int nShade) const
{
    CString strPalette = m_tilePalette.m_name;
    strPalette.Remove(L'-');
    CString strPath;
    strPath.Format(L"%sPalettes\\%s\\%s\\%d.bmp", (LPCTSTR)m_programFolder, (LPCTSTR)strPalette,
                   (LPCTSTR)strColourName, nShade + 1);
    return strPath;
}

void CVitrolanDoc::FreeTileTextures(int nShades)
{
    // Every square: those of a family used before may lie beyond this one's range.
    m_textureCache.FreeAll();
    // The decoded pictures are kept, within the bound, for the next load to take back
    // without reading their files again.
    CTextureLoadState& state = m_textureState;
    if (m_tileTextures.IsMade())
        for (int i = 0; i < kTexturesPerShade * nShades && i < TileTextureCount; i++)
            state.KeepPicture(state.m_paths[i], state.m_origins[i], m_tileTextures[i]);
    state.Forget();
    state.TrimKeptPictures(state.m_budget);
}

namespace
{

// TRUE when the colour name can name a folder below the palette's: a name from a palette
// file must not lead the texture path elsewhere.
BOOL IsTextureFolderName(const CString& strName)
{
    return !strName.IsEmpty() && strName.FindOneOf(L"\\/:") < 0 && strName != L"." &&
           strName != L"..";
}

// The key of the cache for the document as it stands: per image colour the tile-palette
// index its texture is filed under, -1 for a colour without a name that can file one.
void MakeTextureKey(const C2Palette& image, const C2Palette& tiles, int n,
                    CTextureLoadState::Key& key)
{
    key.tileSize = n;
    key.paletteKind = image.m_paletteKind;
    key.tilePaletteName = tiles.m_name;
    for (int c = 0; c < C2Palette::ColourCount; c++)
    {
        key.colourNames[c] = image.m_colourNames[c];
        const PaletteEntry& e = image.m_colours[c];
        // The plain family's index is the colour's own place in the table.
        key.tileIndex[c] = !IsTextureFolderName(image.m_colourNames[c])
                               ? -1
                               : FindPaletteColourIndex(PaletteKindPlain,
                                                        RGB(e.peRed, e.peGreen, e.peBlue), 0,
                                                        tiles.m_colours);
    }
}

// The squares the cell parts of the map need (sorted, each once), as the renderer looks
// them up: (shade + tile index x shades) x 4 + quarter.
std::vector<int> ScanNeededSquares(const CRasterImage& map, int cols, int rows, int kind,
                                   const int* tileIndex)
{
    std::vector<int> squares;
    if (kind < 1 || kind > 4 || map.data == NULL)
        return squares;
    const int shades = PaletteShadeCount(kind);
    // A square is its colour's first square plus its variant's offset: shade x 4 + quarter.
    int colourBase[256], variantOffset[256];
    for (int v = 0; v < 256; v++)
    {
        const int i = tileIndex[v];
        colourBase[v] = i < 0 ? -1 : i * shades * 4;
        int quarter = 0, shade = 0;
        SplitVariantIndex(v, quarter, shade, kind);
        variantOffset[v] = shade * 4 + quarter;
    }
    std::vector<BYTE> wanted((size_t)CVitrolanDoc::TextureCacheSize, 0);
    const int w = map.width;
    cols = std::min(cols, map.width / CellBlock);
    rows = std::min(rows, map.height / CellBlock);
    for (int row = 0; row < rows; row++)
    {
        // Row by row, as the cells lie in memory.
        const BYTE* cell = map.data + (size_t)row * CellBlock * w;
        for (int col = 0; col < cols; col++, cell += CellBlock)
        {
            const BYTE* row1 = cell + w;
            const BYTE* row2 = row1 + w;
            const BYTE colour[4] = {cell[2], cell[3], row1[0], row1[1]};
            const BYTE variant[4] = {row1[2], row1[3], row2[0], row2[1]};
            const int cellKind = cell[1];
            const int parts = cellKind == 0 ? 1 : (cellKind == 5 || cellKind == 6 ? 4 : 2);
            for (int part = 0; part < parts; part++)
            {
                const int base = colourBase[colour[part]];
                if (base < 0)
                    continue;
                const int square = base + variantOffset[variant[part]];
                if (square < CVitrolanDoc::TextureCacheSize)
                    wanted[square] = 1;
            }
        }
    }
    for (int s = 0; s < CVitrolanDoc::TextureCacheSize; s++)
        if (wanted[s])
            squares.push_back(s);
    return squares;
}

// ScanNeededSquares through the cache of the load state: the map is worked through again
// only when its cells or the colours' tile indices differ from the last time.
const std::vector<int>& NeededSquares(const CRasterImage& map, int cols, int rows,
                                      const CTextureLoadState::Key& key,
                                      CTextureLoadState::NeededSquares& cache)
{
    struct
    {
        int paletteKind, cols, rows;
        int tileIndex[256];
    } figures;
    static_assert(sizeof(figures.tileIndex) == sizeof(key.tileIndex), "one index a colour");
    figures.paletteKind = key.paletteKind;
    figures.cols = cols;
    figures.rows = rows;
    memcpy(figures.tileIndex, key.tileIndex, sizeof(figures.tileIndex));
    if (cache.from.Holds(map, &figures, sizeof(figures)))
        return cache.squares;
    cache.squares = ScanNeededSquares(map, cols, rows, key.paletteKind, key.tileIndex);
    cache.from.Take(map, &figures, sizeof(figures));
    return cache.squares;
}

// The image colour whose name files the texture of tile index i.
int ColourOfTileIndex(const CTextureLoadState::Key& key, int i)
{
    for (int c = 0; c < C2Palette::ColourCount; c++)
        if (key.tileIndex[c] == i)
            return c;
    return -1;
}

} // namespace

int CVitrolanDoc::GetTextureReadiness(int n) const
{
    CTextureLoadState::Key key;
    MakeTextureKey(m_imagePalette, m_tilePalette, n, key);
    if (!m_textureState.m_built || !(key == m_textureState.m_key))
        return CTextureLoadState::CacheStale;
    if (m_textureState.m_budgetReached)
        return CTextureLoadState::CacheReady;
    for (int square :
         NeededSquares(m_workingMap, m_cols, m_rows, key, m_textureState.m_needed))
        if (m_textureCache[square].data == NULL && !m_textureState.m_failed[square / 4])
            return CTextureLoadState::CacheIncomplete;
    return CTextureLoadState::CacheReady;
}

BOOL CVitrolanDoc::LoadTileTexture(LPCTSTR lpszPath, CRasterImage* pTexture,
                                   CRasterImage* pTarget, int nQuarter)
{
    m_textureReadError = TextureRead;
    if (pTexture->data == NULL)
    {
        m_textureReadError = ReadTexturePicture(lpszPath, m_imagePalette.m_paletteKind,
                                                m_textureState.m_transform, *pTexture);
        if (m_textureReadError != TextureRead)
            return FALSE;
    }
    return MakeTextureSquare(*pTexture, nQuarter, *pTarget);
}

BOOL CVitrolanDoc::LoadTileTextures(int n)
{
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    const int nKind = m_imagePalette.m_paletteKind;
    // The squares are made again for the size and colours of now; pictures read stay. All
    // go, not only those of this family: squares left from a family of more shades would
    // take memory the bound does not see.
    m_textureCache.FreeAll();
    CTextureLoadState& state = m_textureState;
    MakeTextureKey(m_imagePalette, m_tilePalette, n, state.m_key);
    state.m_built = true;
    state.m_budgetReached = false;
    if (nKind < 1 || nKind > 4 || n < 1)
        return TRUE;

    size_t nBytes = 0;
    for (int t = 0; t < TileTextureCount; t++)
        nBytes += PictureBytes(m_tileTextures[t]);
    const int nShades = PaletteShadeCount(nKind);
    const size_t nSquareBytes = (size_t)n * n * 3;
    int nMissing = 0, nUndecodable = 0;
    CString strFirstMissing, strFirstUndecodable;
    // TRUE when nNeeded bytes fit within the bound once kept pictures give way.
    auto MakeRoom = [&state](size_t nNeeded) {
        if (nNeeded > state.m_budget)
            return FALSE;
        state.TrimKeptPictures(state.m_budget - nNeeded);
        return TRUE;
    };
    // A copy: LoadTileTexture may be overridden, and a paint from there asks again.
    const std::vector<int> squares =
        NeededSquares(m_workingMap, m_cols, m_rows, state.m_key, state.m_needed);
    for (int square : squares)
    {
        const int t = square / 4;
        const int c = ColourOfTileIndex(state.m_key, t / nShades);
        if (c < 0)
            continue;
        const CString strPath = TextureFilePath(m_imagePalette.m_colourNames[c], t % nShades);
        // A texture read for another palette or colour under the same number is not ours.
        if (state.m_paths[t] != strPath)
        {
            nBytes -= PictureBytes(m_tileTextures[t]);
            state.KeepPicture(state.m_paths[t], state.m_origins[t], m_tileTextures[t]);
            state.m_failed[t] = 0;
            state.m_paths[t] = strPath;
            state.m_origins[t] = CTextureLoadState::PictureOrigin();
        }
        if (state.m_failed[t])
            continue;
        if (m_tileTextures[t].data == NULL)
        {
            // Looked at before reading: a file changed while it is read is read again later.
            state.m_origins[t] = state.OriginOf(strPath, IsTransformedTextureKind(nKind));
            if (state.TakePicture(strPath, state.m_origins[t], m_tileTextures[t]))
                nBytes += PictureBytes(m_tileTextures[t]);
        }
        // The pictures kept for later give way to those needed now.
        if (!MakeRoom(nBytes + nSquareBytes))
        {
            state.m_budgetReached = true;
            break;
        }
        const bool bRead = m_tileTextures[t].data != NULL;
        // A picture that would not fit once decoded is not decoded: its header tells.
        int nWidth = 0, nHeight = 0;
        if (!bRead && ReadPictureSize(strPath, nWidth, nHeight) &&
            !MakeRoom(nBytes + nSquareBytes + (size_t)nWidth * nHeight * 3))
        {
            state.m_budgetReached = true;
            break;
        }
        CRasterImage& target = m_textureCache[square];
        target.Create(1, n, n);
        if (LoadTileTexture(strPath, &m_tileTextures[t], &target, square % 4))
        {
            nBytes += nSquareBytes + (bRead ? 0 : PictureBytes(m_tileTextures[t]));
            if (MakeRoom(nBytes))
                continue;
            // The picture just read does not fit: it goes, and loading stops here.
            state.m_budgetReached = true;
            target.Free();
            if (!bRead)
                m_tileTextures[t].Free();
            break;
        }
        target.Free();
        state.m_failed[t] = 1;
        CString& strFirst = m_textureReadError == TextureUndecodable ? strFirstUndecodable
                                                                     : strFirstMissing;
        (m_textureReadError == TextureUndecodable ? nUndecodable : nMissing)++;
        if (strFirst.IsEmpty())
            strFirst = strPath;
    }
    if (!MakeRoom(nBytes))
        state.TrimKeptPictures(0);
    ReportTextureFailures(nMissing, strFirstMissing, nUndecodable, strFirstUndecodable);
    return nMissing == 0 && nUndecodable == 0 && !state.m_budgetReached;
}

void CVitrolanDoc::ReportTextureFailures(int nMissing, const CString& strFirstMissing,
                                         int nUndecodable, const CString& strFirstUndecodable)
{
    if (s_uiHooks.pfnMessageBox == NULL)
        return;
    CString strMessage;
    if (nUndecodable > 0)
    {
        strMessage.Format(L"%s : %s", (LPCTSTR)GetLangText(TXT_MSG_PICTURE_UNREADABLE),
                          (LPCTSTR)strFirstUndecodable);
        s_uiHooks.pfnMessageBox(strMessage);
    }
    if (nMissing > 0)
    {
        strMessage.Format(GetLangText(TXT_MSG_TEXTURES_MISSING), nMissing,
                          (LPCTSTR)strFirstMissing);
        s_uiHooks.pfnMessageBox(strMessage);
    }
    if (m_textureState.m_budgetReached)
        s_uiHooks.pfnMessageBox(GetLangText(TXT_MSG_TEXTURES_TOO_LARGE));
}

int CVitrolanDoc::PrepareTextureFolders()
{
    const int nKind = m_tilePalette.m_paletteKind;
    if (nKind < 1 || nKind > 4)
        return 0;
    CString strPalette = m_tilePalette.m_name;
    strPalette.Remove(L'-');
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        const CString& strColour = m_tilePalette.m_colourNames[i];
        if (strColour.IsEmpty())
            continue;
        for (LPCWSTR lpszTree : {L"PalettesCry", L"PalettesVerif"})
        {
            CString strFolder;
            strFolder.Format(L"%s%s\\%s\\%s\\", (LPCTSTR)m_programFolder, lpszTree,
                             (LPCTSTR)strPalette, (LPCTSTR)strColour);
            EnsureFolder(strFolder);
        }
    }
    return 1;
}
