// What the document remembers about its tile textures between loads: the file each texture
// came from or failed to come from, what the cache of tile squares was built for, and the
// bound on the memory that textures and squares may take, and the decoded pictures no
// texture holds any more, kept so that loading them again reads no file.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "AfxString.h"
#include "CellsSnapshot.h"
#include "TileTexture.h"

class CTextureLoadState
{
public:
    // What the cache of tile squares was built for: tile size, family kind, the tile
    // palette's name and, per image colour, its tile-palette index (-1 without texture) and
    // name. The squares are valid only for the same key.
    struct Key
    {
        int tileSize = 0;
        int paletteKind = -1;
        CString tilePaletteName;
        int tileIndex[256];
        CString colourNames[256];
        bool operator==(const Key& other) const;
    };

    // How far the cache serves the mosaic as it stands.
    enum Readiness
    {
        CacheReady = 0,       // every texture the mosaic needs is there or cannot be had
        CacheIncomplete = 1,  // the squares there are right, some are still to be loaded
        CacheStale = 2        // the squares were made for another size, family or palette
    };

    enum { TextureCount = 6400 };   // the document's texture pictures
    // Default memory bound of textures and squares together.
    static const size_t DefaultBudget = (size_t)512 << 20;

    // What a decoded picture was made from: the file's size and last write time when it was
    // read, and how its bytes were restored. A picture kept is good only while all of these
    // still hold, so a file changed on disk is read again.
    struct PictureOrigin
    {
        bool valid = false;                 // the file could be looked at before reading
        ULONGLONG fileSize = 0;
        ULONGLONG writeTime = 0;
        bool transformed = false;
        TextureTransform transform = {};
        bool operator==(const PictureOrigin& other) const;
    };

    CTextureLoadState();
    ~CTextureLoadState();
    CTextureLoadState(const CTextureLoadState&) = delete;
    CTextureLoadState& operator=(const CTextureLoadState&) = delete;

    // The origin of the file at the path as it is now, read with transformed bytes or not.
    PictureOrigin OriginOf(LPCTSTR lpszPath, bool transformed) const;

    // Forgets every file and failure, as when the textures are freed.
    void Forget();

    // Takes over a decoded picture no texture number holds any more (picture is left
    // empty), so that loading it again reads no file. Pictures without a known origin are
    // freed.
    void KeepPicture(const CString& strPath, const PictureOrigin& origin, CRasterImage& picture);
    // Moves the picture kept for the path into picture when its origin is still the one
    // given; a picture whose file has changed since is freed. FALSE when none is taken.
    bool TakePicture(const CString& strPath, const PictureOrigin& origin, CRasterImage& picture);
    // Frees the pictures kept longest unused until they take at most nBytes.
    void TrimKeptPictures(size_t nBytes);
    size_t KeptPictureBytes() const { return m_keptBytes; }

    std::vector<CString> m_paths;   // per texture: the file read, or that failed
    std::vector<BYTE> m_failed;     // per texture: 1 when that file could not be read
    std::vector<PictureOrigin> m_origins;   // per texture: what its picture was read from
    Key m_key;                      // what the cache was last built for
    bool m_built;                   // m_key holds a build
    bool m_budgetReached;           // the last build left squares out for want of memory
    size_t m_budget;                // bytes
    TextureTransform m_transform;   // how families 1 and 2 store their files

    // The squares a cell map needs, as last worked out, with the cells and the part of the
    // key they were worked out from. Every paint asks; the cells are compared with the copy
    // kept here, which costs far less than working the squares out again, and no change of
    // the map, by whatever path, can leave a stale answer.
    struct NeededSquares
    {
        CCellsSnapshot from;            // the cells, palette kind, size and tile indices
        std::vector<int> squares;       // sorted, each once
    };
    mutable NeededSquares m_needed;

private:
    struct KeptPicture
    {
        PictureOrigin origin;
        CRasterImage picture;
        ULONGLONG lastUse;
    };
    std::map<CString, KeptPicture> m_kept;  // by full path
    size_t m_keptBytes;
    ULONGLONG m_useCount;

    void DropKept(std::map<CString, KeptPicture>::iterator it);
};
