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

bool CTextureLoadState::PictureOrigin::operator==(const PictureOrigin& other) const
{
    if (!valid || !other.valid || fileSize != other.fileSize || writeTime != other.writeTime ||
        transformed != other.transformed)
        return false;
    if (!transformed)
        return true;
    for (int i = 0; i < 3; i++)
        if (transform.keys[i] != other.transform.keys[i] ||
            transform.turns[i] != other.transform.turns[i])
            return false;
    return true;
}

CTextureLoadState::CTextureLoadState()
    : m_built(false), m_budgetReached(false), m_budget(DefaultBudget), m_transform(),
      m_keptBytes(0), m_useCount(0)
{
    memset(m_key.tileIndex, 0, sizeof(m_key.tileIndex));
    Forget();
}

CTextureLoadState::~CTextureLoadState()
{
    TrimKeptPictures(0);
}

CTextureLoadState::PictureOrigin CTextureLoadState::OriginOf(LPCTSTR lpszPath,
                                                             bool transformed) const
{
    PictureOrigin origin;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(lpszPath, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return origin;
    origin.valid = true;
    origin.fileSize = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    origin.writeTime = ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
    origin.transformed = transformed;
    if (transformed)
        origin.transform = m_transform;
    return origin;
}

void CTextureLoadState::Forget()
{
    m_paths.assign(TextureCount, CString());
    m_failed.assign(TextureCount, 0);
    m_origins.assign(TextureCount, PictureOrigin());
    m_built = false;
    m_budgetReached = false;
}

namespace
{

size_t BytesOf(const CRasterImage& picture)
{
    return picture.data != NULL ? (size_t)picture.width * picture.height * 3 : 0;
}

} // namespace

void CTextureLoadState::DropKept(std::map<CString, KeptPicture>::iterator it)
{
    m_keptBytes -= BytesOf(it->second.picture);
    it->second.picture.Free();
    m_kept.erase(it);
}

void CTextureLoadState::KeepPicture(const CString& strPath, const PictureOrigin& origin,
                                    CRasterImage& picture)
{
    if (picture.data == NULL)
        return;
    if (!origin.valid || strPath.IsEmpty() || picture.type != 1 || picture.owned != 1)
    {
        picture.Free();
        return;
    }
    auto it = m_kept.find(strPath);
    if (it != m_kept.end())
        DropKept(it);
    KeptPicture& kept = m_kept[strPath];
    kept.origin = origin;
    kept.picture = picture;     // the buffer changes hands
    kept.lastUse = ++m_useCount;
    m_keptBytes += BytesOf(picture);
    picture = CRasterImage();
}

bool CTextureLoadState::TakePicture(const CString& strPath, const PictureOrigin& origin,
                                    CRasterImage& picture)
{
    auto it = m_kept.find(strPath);
    if (it == m_kept.end())
        return false;
    if (!(it->second.origin == origin))
    {
        DropKept(it);
        return false;
    }
    picture.Free();
    picture = it->second.picture;   // the buffer changes hands
    m_keptBytes -= BytesOf(picture);
    m_kept.erase(it);
    return true;
}

void CTextureLoadState::TrimKeptPictures(size_t nBytes)
{
    if (nBytes == 0)
    {
        for (auto& entry : m_kept)
            entry.second.picture.Free();
        m_kept.clear();
        m_keptBytes = 0;
        return;
    }
    while (m_keptBytes > nBytes && !m_kept.empty())
    {
        auto oldest = m_kept.begin();
        for (auto it = m_kept.begin(); it != m_kept.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        DropKept(oldest);
    }
}
