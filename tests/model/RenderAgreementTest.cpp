// The region tools against the renderer: whatever part of a split tile the user points at on
// the drawn mosaic is the part that the fill and the cell tool change.
#include "MosaicTest.h"

#include <string.h>

#include <vector>

#include "Paving.h"
#include "RasterImage.h"
#include "RegionTools.h"
#include "TileRenderer.h"

namespace
{

struct Image : CRasterImage
{
    Image() {}
    Image(int t, int w, int h) { Create(t, w, h); }
    ~Image() { Free(); }
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
};

const int kCols = 3, kRows = 3, kCol = 1, kRow = 1, kNeighbour = 9, kNewColour = 7;

// Everything the renderer needs for one paving pattern without joints, labels or textures.
// The masks cover the whole tile: where tiles of a pattern overlap, the later one is drawn
// and hit, and the parts are the same in every pattern.
struct Scene
{
    int type;
    int n;
    Image map;
    Image masks[PavingTypeCount];
    BYTE colourTable[3 * DisplayColourCount];
    PaletteEntry colours[256];

    Scene(int pavingType, int tileSize)
        : type(pavingType), n(tileSize), map(0, 4 * kCols, 4 * kRows)
    {
        map.FillBytes(0);
        for (int col = 0; col < kCols; ++col)
            for (int row = 0; row < kRows; ++row)
                map.SetCell(col, row, 0, 0, kNeighbour, kNeighbour, kNeighbour, kNeighbour, 0,
                            0, 0, 0);
        for (Image& mask : masks)
        {
            mask.Create(0, n, n);
            mask.FillBytes(1);
        }
        for (int i = 0; i < DisplayColourCount; ++i)
        {
            colourTable[3 * i] = (BYTE)(240 - i);
            colourTable[3 * i + 1] = 11;
            colourTable[3 * i + 2] = 13;
        }
        for (int i = 0; i < 256; ++i)
            colours[i] = PaletteEntry{(BYTE)i, 128, 64, 0};
    }

    std::vector<BYTE> Render()
    {
        Image picture(1, kCols * n, kRows * n);
        picture.FillBytes(0);
        int hc = -1, hr = -1, hx = -1, hy = -1, hp = -1;
        RenderMosaic(&picture, 0, &map, n, 0, kCols, kRows, 0, 0, type, NULL, masks,
                     NULL, 0, 0, &hc, &hr, &hx, &hy, &hp, NULL, 0, 0, NULL, colourTable,
                     colours, NULL, 0, NULL);
        return std::vector<BYTE>(picture.data, picture.data + 3 * picture.size);
    }

    // The plane point the tools use for a click on picture pixel (x, y), found as the view
    // finds it: the hit test gives the tile, the tile-local pixel gives the part's area.
    bool Hit(int x, int y, MosaicHit& hit)
    {
        return HitTestMosaic(kCols * n, kRows * n, &map, n, kCols, kRows, 0, 0, type, masks,
                             NULL, 0, x, y, hit) != FALSE;
    }

    bool PlanePoint(int x, int y, POINT& point)
    {
        MosaicHit hit;
        if (!Hit(x, y, hit))
            return false;
        int s = 0, kind = 0, a = 0, b = 0, c = 0, d = 0, va = 0, vb = 0, vc = 0, vd = 0;
        map.GetCell(hit.column, hit.row, s, kind, a, b, c, d, va, vb, vc, vd);
        int bx = 0, by = 0;
        RegionPointOfTilePixel(kind, n, x - hit.left, n - 1 - (y - hit.top), bx, by);
        point = POINT{4 * hit.column + bx, 4 * hit.row + by};
        return true;
    }
};

// Image colour drawn at picture pixel i, or -1 for a pixel in no image colour.
int ColourAt(const std::vector<BYTE>& picture, size_t i)
{
    return picture[3 * i + 1] == 128 && picture[3 * i + 2] == 64 ? picture[3 * i] : -1;
}

void SetCentre(Scene& scene, int kind, int shape)
{
    // Kinds 1 to 4 keep C and D equal to A and B, as the program does.
    const bool pairs = CellPartCount(kind) == 2;
    scene.map.SetCell(kCol, kRow, shape, kind, 1, 2, pairs ? 1 : 3, pairs ? 2 : 4, 0, 0, 0, 0);
}

// Per picture pixel of the centre tile laid whole: its part (0-3), or -1 outside that tile.
std::vector<int> PartMap(Scene& scene, int kind)
{
    SetCentre(scene, kind, ShapeWhole);
    const std::vector<BYTE> picture = scene.Render();
    std::vector<int> parts(picture.size() / 3, -1);
    const bool pairs = CellPartCount(kind) == 2;
    for (size_t i = 0; i < parts.size(); ++i)
    {
        const int c = ColourAt(picture, i);
        if (c >= 1 && c <= 4)
            parts[i] = pairs ? (c - 1) % 2 : c - 1;
    }
    return parts;
}

} // namespace

// The pointer is mapped to the plane twice: through RegionPointOfTilePixel, which the tools
// use, and, where the quarter of the tile under the pointer shows one part only, straight to
// that quarter, as a plain division of the tile into 4 x 4 would.
TEST(RenderAgreement, FillChangesThePartUnderThePointer)
{
    const struct
    {
        int type, n;
    } scenes[] = {{PavingSquares, 16}, {PavingSquares, 9}, {PavingSquares, 4},
                  {PavingCrossedJoints, 12}, {PavingDiamonds, 16}, {PavingHexagons, 10}};
    for (const auto& sc : scenes)
    {
        Scene scene(sc.type, sc.n);
        const int n = sc.n, width = kCols * n;
        for (int kind = 0; kind <= 6; ++kind)
        {
            const std::vector<int> parts = PartMap(scene, kind);
            const std::vector<BYTE> before = scene.Render();
            // Tile and quarter of the tile under every pixel of the centre tile.
            std::vector<int> quarter(parts.size(), -1);
            for (size_t i = 0; i < parts.size(); ++i)
            {
                MosaicHit hit;
                if (parts[i] >= 0 && scene.Hit((int)(i % width), (int)(i / width), hit) &&
                    hit.column == kCol && hit.row == kRow)
                    quarter[i] = ((int)(i % width) - hit.left) * 4 / n +
                                 4 * (((int)(i / width) - hit.top) * 4 / n);
            }
            for (size_t i = 0; i < parts.size(); ++i)
            {
                if (parts[i] < 0)
                    continue;
                const int x = (int)(i % width), y = (int)(i / width);
                SetCentre(scene, kind, ShapeWhole);
                POINT points[2];
                int pointCount = 0;
                ASSERT_TRUE(scene.PlanePoint(x, y, points[pointCount++]));
                ASSERT_GE(quarter[i], 0);
                // The quarter under the pointer, when every pixel of it shows the same part.
                bool onePart = true;
                for (size_t j = 0; j < parts.size(); ++j)
                    if (quarter[j] == quarter[i])
                        onePart = onePart && parts[j] == parts[i];
                if (onePart)
                    points[pointCount++] =
                        POINT{4 * kCol + quarter[i] % 4, 4 * kRow + quarter[i] / 4};
                for (int k = 0; k < pointCount; ++k)
                {
                    SetCentre(scene, kind, ShapeWhole);
                    Image plane;
                    ASSERT_TRUE(PrepareRegionPlane(&plane, &scene.map, kCols, kRows));
                    ASSERT_TRUE(PaintRegionInPlane(&plane, kCols, kRows, points[k].x,
                                                   points[k].y, kNewColour));
                    int s1 = 3, s2 = 4;
                    scene.map.FillRegionWithColour(&plane, kCols, kRows, 0, &s1, &s2);
                    const std::vector<BYTE> after = scene.Render();
                    for (size_t j = 0; j < parts.size(); ++j)
                    {
                        const bool pointed = parts[j] == parts[i];
                        const int expected = pointed ? kNewColour : ColourAt(before, j);
                        ASSERT_EQ(expected, ColourAt(after, j))
                            << "type " << sc.type << " n " << n << " kind " << kind
                            << " pointer " << x << "," << y << (k ? " by quarter" : "")
                            << " pixel " << j % width << "," << j / width;
                    }
                }
            }
        }
    }
}

TEST(RenderAgreement, CellToolLaysOrRemovesThePartUnderThePointer)
{
    for (int n : {16, 9})
    {
        Scene scene(PavingSquares, n);
        for (int kind = 0; kind <= 6; ++kind)
        {
            const std::vector<int> parts = PartMap(scene, kind);
            const int all = (1 << CellPartCount(kind)) - 1;
            for (int part = 0; part < CellPartCount(kind); ++part)
            {
                const int one = 1 << part;
                // The four shapes the tool moves between for that part: all laid, all but the
                // part, the part alone, none.
                for (int present : {all, all & ~one, one, 0})
                {
                    const int shape = ShapeCodeOfParts(kind, present);
                    ASSERT_GE(shape, 0);
                    const int expectedParts = present ^ one;
                    for (size_t i = 0; i < parts.size(); ++i)
                    {
                        if (parts[i] != part)
                            continue;
                        const int x = (int)(i % (kCols * n)), y = (int)(i / (kCols * n));
                        SetCentre(scene, kind, shape);
                        const std::vector<BYTE> before = scene.Render();
                        POINT p;
                        ASSERT_TRUE(scene.PlanePoint(x, y, p));
                        Image plane;
                        ASSERT_TRUE(PrepareRegionPlane(&plane, &scene.map, kCols, kRows));
                        ASSERT_TRUE(TagRegionInPlane(&plane, kCols, kRows, p.x, p.y));
                        scene.map.ToggleCellsInRegion(&plane, kCols, kRows);
                        const std::vector<BYTE> after = scene.Render();
                        for (size_t j = 0; j < parts.size(); ++j)
                        {
                            int expected = ColourAt(before, j);
                            if (parts[j] >= 0)
                            {
                                const bool laid = (expectedParts >> parts[j]) & 1;
                                expected = laid ? (CellPartCount(kind) == 2 ? parts[j] % 2 + 1
                                                                           : parts[j] + 1)
                                                : -1;
                            }
                            ASSERT_EQ(expected, ColourAt(after, j))
                                << "n " << n << " kind " << kind << " shape " << shape
                                << " part " << part << " pointer " << x << "," << y
                                << " pixel " << j % (kCols * n) << "," << j / (kCols * n);
                        }
                    }
                }
            }
        }
    }
}
