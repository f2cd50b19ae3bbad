// What the document remembers about its tile textures between loads: the file each texture
// came from or failed to come from, what the cache of tile squares was built for, and the
// bound on the memory that textures and squares may take.
#pragma once

#include <windows.h>

#include <vector>

#include "AfxString.h"
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

    CTextureLoadState();

    // Forgets every file and failure, as when the textures are freed.
    void Forget();

    std::vector<CString> m_paths;   // per texture: the file read, or that failed
    std::vector<BYTE> m_failed;     // per texture: 1 when that file could not be read
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
        bool valid = false;
        int paletteKind = -1;
        int tileIndex[256];
        int cols = 0;
        int rows = 0;
        int mapWidth = 0;
        int mapHeight = 0;
        std::vector<BYTE> cells;        // the map's bytes
        std::vector<int> squares;       // sorted, each once
    };
    mutable NeededSquares m_needed;
};
