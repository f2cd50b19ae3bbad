#include "MosaicTest.h"

#include "AfxGdi.h"

#include <string.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "OpenCv.h"
#include "RasterImage.h"
#include "RasterImageTable.h"

namespace
{

// An image that releases its buffer when the test ends.
struct TestImage : CRasterImage
{
    TestImage(int t, int w, int h) { Create(t, w, h); }
    ~TestImage() { Free(); }
    TestImage(const TestImage&) = delete;
    TestImage& operator=(const TestImage&) = delete;
};

struct Rgb
{
    BYTE c[3];
    bool operator==(const Rgb& o) const { return memcmp(c, o.c, 3) == 0; }
};

Rgb PixelAt(const CRasterImage& image, int x, int y)
{
    Rgb p;
    memcpy(p.c, image.data + 3 * (x + y * image.width), 3);
    return p;
}

// A plane from text rows, row 0 first: '.' 0, 'a' 1, '#' 7.
void LoadPlane(CRasterImage& plane, const std::vector<std::string>& rows)
{
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
        {
            const char c = rows[y][x];
            plane.data[x + y * plane.width] = c == 'a' ? 1 : c == '#' ? 7 : 0;
        }
}

// The defining algorithm of the flood fill: sweep columns outer, rows inner, growing a into
// 4-connected b neighbours, until a sweep changes nothing.
void SweepFill(std::vector<BYTE>& p, int w, int h, BYTE a, BYTE b)
{
    bool changed = true;
    while (changed)
    {
        changed = false;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
            {
                if (p[x + y * w] != a)
                    continue;
                const int nx[4] = {x + 1, x - 1, x, x};
                const int ny[4] = {y, y, y + 1, y - 1};
                for (int k = 0; k < 4; ++k)
                    if (nx[k] >= 0 && nx[k] < w && ny[k] >= 0 && ny[k] < h &&
                        p[nx[k] + ny[k] * w] == b)
                    {
                        p[nx[k] + ny[k] * w] = a;
                        changed = true;
                    }
            }
    }
}

std::vector<BYTE> Bytes(const CRasterImage& image)
{
    return std::vector<BYTE>(image.data, image.data + image.size * (image.type == 1 ? 3 : 1));
}

// ---- archive helpers ----

std::vector<BYTE> StoreImage(CRasterImage& image, int version, bool marker = true)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        image.Serialize(ar, version);
        if (marker)
            ar << (int)0x5A5A1234;
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

// Loads the image from bytes; returns the archive exception's cause, or -1 when none was
// raised. marker receives the int that follows the image, when there is one.
int LoadImage(CRasterImage& image, std::vector<BYTE> bytes, int version, int* marker = NULL)
{
    bytes.push_back(0);   // CMemFile wants a block even for empty content
    CMemFile file(bytes.data(), (UINT)bytes.size() - 1);
    int cause = -1;
    try
    {
        CArchive ar(&file, CArchive::load);
        image.Serialize(ar, version);
        if (marker != NULL)
            ar >> *marker;
        ar.Close();
    }
    catch (CArchiveException* e)
    {
        cause = e->m_cause;
        e->Delete();
    }
    return cause;
}

void AppendInt(std::vector<BYTE>& bytes, int value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back((BYTE)((UINT)value >> (8 * i)));
}

} // namespace

// ---- lifecycle and access ----

TEST(RasterImage, NewImageHasDefaultsAndNoBuffer)
{
    CRasterImage image;
    EXPECT_EQ(160, image.width);
    EXPECT_EQ(160, image.height);
    EXPECT_EQ(25600u, image.size);
    EXPECT_EQ(0, image.type);
    EXPECT_EQ(0, image.owned);
    EXPECT_EQ(nullptr, image.data);
    image.Free();
    EXPECT_EQ(nullptr, image.data);
    EXPECT_EQ(0, image.owned);
    EXPECT_EQ(160, image.width);
    EXPECT_EQ(25600u, image.size);
}

TEST(RasterImage, FreeLeavesABorrowedBufferToItsOwner)
{
    TestImage owner(0, 4, 4);
    CRasterImage borrowed = owner;
    borrowed.owned = 0;
    borrowed.Free();
    EXPECT_EQ(nullptr, borrowed.data);
    owner.data[15] = 9;   // still the owner's, still alive
    EXPECT_EQ(9, owner.data[15]);
}

TEST(RasterImage, CreateSetsDimensionsAndOwnership)
{
    TestImage rgb(1, 5, 3);
    EXPECT_EQ(1, rgb.type);
    EXPECT_EQ(5, rgb.width);
    EXPECT_EQ(3, rgb.height);
    EXPECT_EQ(15u, rgb.size);
    EXPECT_EQ(1, rgb.owned);
    ASSERT_NE(nullptr, rgb.data);
    memset(rgb.data, 1, 45);   // three bytes per pixel are there
}

TEST(RasterImage, FillRgbPaintsEveryPixelOfAnySize)
{
    // Sizes round the first run of the fill and its doubling copies; grey and a colour.
    const BYTE colours[][3] = {{7, 7, 7}, {10, 20, 30}};
    for (const int width : {1, 1023, 1024, 1025, 2049, 1920})
        for (const BYTE* colour : colours)
        {
            TestImage rgb(1, width, 3);
            memset(rgb.data, 0xEE, 3 * (size_t)rgb.size);
            rgb.FillRgb(colour);
            int nWrong = 0;
            for (size_t i = 0; i < 3 * (size_t)rgb.size; i++)
                nWrong += rgb.data[i] != colour[i % 3];
            EXPECT_EQ(0, nWrong) << "width " << width << ", red " << (int)colour[0];
        }
}

TEST(RasterImageTable, PicturesAreMadeOnFirstUseAndFreeingMakesNone)
{
    CRasterImageTable table(5);
    table.FreeAll();
    EXPECT_FALSE(table.IsMade());
    table[3].Create(1, 4, 2);
    ASSERT_TRUE(table.IsMade());
    EXPECT_EQ(5, (int)(table.end() - table.begin()));
    EXPECT_TRUE(table[0].data == NULL);
    EXPECT_EQ(8u, table[3].size);
    table.FreeAll();
    EXPECT_TRUE(table[3].data == NULL);
}

TEST(RasterImage, CreateWithImpossibleSizeRaisesMemoryExceptionAndKeepsImage)
{
    TestImage image(0, 2, 2);
    BYTE* before = image.data;
    const int sizes[][2] = {{-1, 4}, {4, -1}, {100000, 100000}};
    for (const auto& s : sizes)
    {
        bool thrown = false;
        try
        {
            image.Create(1, s[0], s[1]);
        }
        catch (CMemoryException* e)
        {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown) << s[0] << " x " << s[1];
        EXPECT_EQ(before, image.data);
        EXPECT_EQ(2, image.width);
    }
}

TEST(RasterImage, ByteAccessStaysInsideTheImage)
{
    TestImage image(0, 3, 2);
    memset(image.data, 0, 6);
    image.SetByte(2, 1, 0x1FF);
    EXPECT_EQ(0xFF, image.GetByte(2, 1));
    EXPECT_EQ(0xFF, image.data[5]);
    const int outside[][2] = {{3, 0}, {-1, 0}, {0, 2}, {0, -1}};
    for (const auto& p : outside)
    {
        image.SetByte(p[0], p[1], 5);
        EXPECT_EQ(0, image.GetByte(p[0], p[1]));
    }
    EXPECT_EQ(std::vector<BYTE>({0, 0, 0, 0, 0, 0xFF}), Bytes(image));
}

TEST(RasterImage, SetRgbWritesOnlyOwnedPixelsInside)
{
    TestImage image(1, 2, 2);
    memset(image.data, 0, 12);
    const BYTE red[3] = {200, 10, 20};
    image.SetRgb(1, 1, red);
    EXPECT_EQ((Rgb{{200, 10, 20}}), PixelAt(image, 1, 1));
    image.SetRgb(2, 0, red);
    image.SetRgb(0, -1, red);
    CRasterImage borrowed = image;
    borrowed.owned = 0;
    borrowed.SetRgb(0, 0, red);
    const std::vector<BYTE> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 200, 10, 20};
    EXPECT_EQ(expected, Bytes(image));
}

TEST(RasterImage, SetCellThenGetCellKeepsLowBytesAndSpareBytes)
{
    TestImage map(0, 8, 4);   // 2 x 1 cells
    memset(map.data, 0xEE, map.size);
    map.SetCell(1, 0, 16, 0x105, 2, 3, 4, 5, 6, 7, 8, -1);
    int f[10];
    map.GetCell(1, 0, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    const int expected[10] = {16, 5, 2, 3, 4, 5, 6, 7, 8, 255};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], f[i]) << "field " << i;
    // Fields in block rows 0, 1 and the first half of row 2, at the map's own row length.
    EXPECT_EQ(16, map.data[4]);
    EXPECT_EQ(4, map.data[8 + 4]);
    EXPECT_EQ(8, map.data[16 + 4]);
    EXPECT_EQ(0xEE, map.data[16 + 6]);
    EXPECT_EQ(0xEE, map.data[16 + 7]);
    for (int x = 4; x < 8; ++x)
        EXPECT_EQ(0xEE, map.data[24 + x]);
    for (int y = 0; y < 4; ++y)   // cell 0 untouched
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(0xEE, map.data[y * 8 + x]);
}

TEST(RasterImage, CellAccessOutsideTheMapWritesNothing)
{
    TestImage map(0, 8, 8);   // 2 x 2 cells
    memset(map.data, 0, map.size);
    const int outside[][2] = {{2, 0}, {0, 2}, {-1, 0}, {0, -1}, {1000000000, 0}};
    for (const auto& p : outside)
    {
        int f[10] = {-7, -7, -7, -7, -7, -7, -7, -7, -7, -7};
        map.GetCell(p[0], p[1], f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
        for (int v : f)
            EXPECT_EQ(-7, v);
        map.SetCell(p[0], p[1], 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
    }
    EXPECT_EQ(std::vector<BYTE>(64, 0), Bytes(map));

    // A partial cell at the edge of a map whose width is no multiple of 4 is outside too.
    TestImage ragged(0, 6, 6);
    int shape = -7, k = -7, a = -7, b = -7, c = -7, d = -7, va = -7, vb = -7, vc = -7, vd = -7;
    ragged.GetCell(1, 0, shape, k, a, b, c, d, va, vb, vc, vd);
    ragged.GetCell(0, 1, shape, k, a, b, c, d, va, vb, vc, vd);
    EXPECT_EQ(-7, shape);
}

TEST(RasterImage, OlderCellLayoutsAreReadFromTheirBlocks)
{
    TestImage map2(0, 4, 2);   // 2 x 1 cells of 2 x 2
    const BYTE bytes2[] = {1, 2, 3, 4, 5, 6, 7, 8};
    memcpy(map2.data, bytes2, 8);
    int f[6] = {0, 0, 0, 0, 0, 0};
    map2.GetOldCell2x2(1, 0, f[0], f[1], f[2], f[3]);
    EXPECT_EQ(3, f[0]);
    EXPECT_EQ(4, f[1]);
    EXPECT_EQ(7, f[2]);
    EXPECT_EQ(8, f[3]);
    f[0] = -7;
    map2.GetOldCell2x2(2, 0, f[0], f[1], f[2], f[3]);
    map2.GetOldCell2x2(0, 1, f[0], f[1], f[2], f[3]);
    map2.GetOldCell2x2(-1, 0, f[0], f[1], f[2], f[3]);
    EXPECT_EQ(-7, f[0]);

    TestImage map3(0, 3, 3);
    const BYTE bytes3[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    memcpy(map3.data, bytes3, 9);
    map3.GetOldCell3x3(0, 0, f[0], f[1], f[2], f[3], f[4], f[5]);
    const int expected[6] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], f[i]);
    f[0] = -7;
    map3.GetOldCell3x3(1, 0, f[0], f[1], f[2], f[3], f[4], f[5]);
    EXPECT_EQ(-7, f[0]);
}

// ---- 8-bit operations ----

TEST(RasterImage, FillAndReplaceBytes)
{
    TestImage image(0, 3, 2);
    image.FillBytes(0x107);
    EXPECT_EQ(std::vector<BYTE>(6, 7), Bytes(image));
    image.data[4] = 2;
    image.ReplaceByte(7, 9);
    EXPECT_EQ(std::vector<BYTE>({9, 9, 9, 9, 2, 9}), Bytes(image));
}

TEST(RasterImage, FloodFillReachesTheSweepFixpointOnTrickyRegions)
{
    const std::vector<std::vector<std::string>> planes = {
        // serpentine corridor with the seed at its far end
        {"a.........",
         "########..",
         "..........",
         ".#########",
         "..........",
         "########.#",
         "..........",
         ".#########",
         "..#....#.."},
        // ring around holes, islands and a region joined only diagonally
        {"..........",
         ".#######..",
         ".#.....#..",
         ".#.###.#..",
         ".#.#.#.#a.",
         ".#.###.#..",
         ".#.....#..",
         ".########.",
         "#.........",
         ".#........"},
        // no pixel of a: nothing changes
        {"....#.",
         "..#...",
         "......"},
        // several seeds, one cut off by walls
        {"a..#....",
         "...#..a.",
         "####.###",
         "....#...",
         ".a..#..."},
    };
    for (size_t i = 0; i < planes.size(); ++i)
    {
        const auto& rows = planes[i];
        const int w = (int)rows[0].size();
        const int h = (int)rows.size();
        TestImage plane(0, w, h);
        LoadPlane(plane, rows);
        std::vector<BYTE> expected = Bytes(plane);
        SweepFill(expected, w, h, 1, 0);
        plane.FloodFill(1, 0);
        EXPECT_EQ(expected, Bytes(plane)) << "plane " << i;
    }
}

TEST(RasterImage, FloodFillMatchesTheSweepOnRandomPlanes)
{
    std::mt19937 random(12345);
    const UINT bShare[4] = {8, 35, 62, 90};   // per cent, sparse to dense
    for (int round = 0; round < 40; ++round)
    {
        const int w = 1 + (int)(random() % 40);
        const int h = 1 + (int)(random() % 30);
        TestImage plane(0, w, h);
        for (UINT i = 0; i < plane.size; ++i)
        {
            const UINT r = random() % 100;
            plane.data[i] = r < 2 ? 255 : r < 2 + bShare[round % 4] ? 3 : 8;   // a, b, walls
        }
        std::vector<BYTE> expected = Bytes(plane);
        SweepFill(expected, w, h, 255, 3);
        plane.FloodFill(255, 3);
        ASSERT_EQ(expected, Bytes(plane)) << "round " << round << ", " << w << " x " << h;
    }
}

TEST(RasterImage, FloodFillIgnoresEqualOrImpossibleValues)
{
    TestImage plane(0, 3, 1);
    const BYTE start[] = {1, 0, 0};
    for (const auto& ab : {std::make_pair(1, 1), std::make_pair(257, 0), std::make_pair(1, 256),
                           std::make_pair(-1, 0)})
    {
        memcpy(plane.data, start, 3);
        plane.FloodFill(ab.first, ab.second);
        EXPECT_EQ(std::vector<BYTE>({1, 0, 0}), Bytes(plane)) << ab.first << ", " << ab.second;
    }
}

TEST(RasterImage, CopyBlockClipsToBothImages)
{
    TestImage source(0, 4, 3);
    for (int i = 0; i < 12; ++i)
        source.data[i] = (BYTE)(i + 1);
    TestImage dest(0, 3, 4);
    memset(dest.data, 0, 12);
    source.CopyBlock(&dest, 10, 10);
    // 3 columns of 3 rows, each at its own row length; dest row 3 untouched.
    EXPECT_EQ(std::vector<BYTE>({1, 2, 3, 5, 6, 7, 9, 10, 11, 0, 0, 0}), Bytes(dest));

    memset(dest.data, 0, 12);
    source.CopyBlock(&dest, 2, 1);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Bytes(dest));
}

TEST(RasterImage, CopyConvertCopiesNoMoreThanTheDestinationHolds)
{
    TestImage source(0, 3, 2);
    for (int i = 0; i < 6; ++i)
        source.data[i] = (BYTE)(i + 1);
    TestImage smaller(0, 2, 2);
    source.CopyConvert(&smaller);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 3, 4}), Bytes(smaller));
    TestImage large(0, 4, 2);
    memset(large.data, 0, 8);
    source.CopyConvert(&large);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 3, 4, 5, 6, 0, 0}), Bytes(large));
}

TEST(RasterImage, FlipVerticalSwapsRowsOfBothTypes)
{
    TestImage plane(0, 2, 3);
    const BYTE rows[] = {1, 2, 3, 4, 5, 6};
    memcpy(plane.data, rows, 6);
    plane.FlipVertical();
    EXPECT_EQ(std::vector<BYTE>({5, 6, 3, 4, 1, 2}), Bytes(plane));

    TestImage rgb(1, 1, 2);
    const BYTE pixels[] = {1, 2, 3, 4, 5, 6};
    memcpy(rgb.data, pixels, 6);
    rgb.FlipVertical();
    EXPECT_EQ(std::vector<BYTE>({4, 5, 6, 1, 2, 3}), Bytes(rgb));
}

TEST(RasterImage, DrawBorderFramesTheEdges)
{
    TestImage plane(0, 5, 4);
    plane.FillBytes(0);
    plane.DrawBorder(2, 1);
    EXPECT_EQ(std::vector<BYTE>({2, 2, 2, 2, 2,
                                 2, 0, 0, 0, 2,
                                 2, 0, 0, 0, 2,
                                 2, 2, 2, 2, 2}),
              Bytes(plane));
    plane.FillBytes(0);
    plane.DrawBorder(3, 9);   // wider than the image: everything, nothing beyond
    EXPECT_EQ(std::vector<BYTE>(20, 3), Bytes(plane));
}

// ---- RGB operations ----

TEST(RasterImage, PaintAllExceptKeepsPixelsMatchingTheKeyInAnyChannel)
{
    TestImage image(1, 3, 1);
    const BYTE pixels[] = {11, 21, 31, 10, 99, 99, 99, 99, 30};
    memcpy(image.data, pixels, 9);
    const BYTE colour[3] = {1, 2, 3};
    const BYTE key[3] = {10, 20, 30};
    image.PaintAllExcept(colour, key);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 3, 10, 99, 99, 99, 99, 30}), Bytes(image));

    TestImage two(1, 2, 2);
    memset(two.data, 50, 12);
    two.PaintRowExcept(1, colour, key);
    two.PaintRowExcept(2, colour, key);
    EXPECT_EQ(std::vector<BYTE>({50, 50, 50, 50, 50, 50, 1, 2, 3, 1, 2, 3}), Bytes(two));
}

TEST(RasterImage, FillRowAndFillRectClipToTheImage)
{
    TestImage image(1, 3, 3);
    memset(image.data, 0, 27);
    const BYTE c[3] = {7, 8, 9};
    image.FillRow(3, c);
    image.FillRow(-1, c);
    EXPECT_EQ(std::vector<BYTE>(27, 0), Bytes(image));
    RECT rect = {1, 5, 9, 2};   // x 1..8, y 2..4: only (1, 2) and (2, 2) are inside
    image.FillRect(c, rect);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ((y == 2 && x >= 1) ? (Rgb{{7, 8, 9}}) : (Rgb{{0, 0, 0}}),
                      PixelAt(image, x, y))
                << x << ", " << y;
}

// Expected pictures as rows of letters, row 0 first: '1' colour 1, '2' colour 2, '.' background.
void ExpectPicture(const CRasterImage& image, const std::vector<std::string>& rows)
{
    const Rgb colours[3] = {{{0, 0, 0}}, {{1, 1, 1}}, {{2, 2, 2}}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
        {
            const char c = rows[y][x];
            EXPECT_EQ(colours[c == '.' ? 0 : c - '0'], PixelAt(image, x, y)) << x << ", " << y;
        }
}

TEST(RasterImage, DottedFrameMarksEveryThirdPixel)
{
    TestImage image(1, 6, 6);
    memset(image.data, 0, 108);
    const BYTE c1[3] = {1, 1, 1};
    const BYTE c2[3] = {2, 2, 2};
    image.DrawDottedFrame(c1, c2, RECT{0, 6, 6, 0});
    ExpectPicture(image, {"211211",
                          "1....1",
                          "1....1",
                          "2....2",
                          "1....1",
                          "211211"});
}

TEST(RasterImage, BevelFrameLetsColourOneWinItsCorners)
{
    TestImage image(1, 5, 4);
    memset(image.data, 0, 60);
    const BYTE c1[3] = {1, 1, 1};
    const BYTE c2[3] = {2, 2, 2};
    image.DrawBevelFrame(c1, c2, RECT{0, 4, 5, 0});
    ExpectPicture(image, {"11111",
                          "2...1",
                          "2...1",
                          "22221"});
    // Partly outside: the visible edges only, nothing beyond the image.
    memset(image.data, 0, 60);
    image.DrawBevelFrame(c1, c2, RECT{-2, 9, 3, 2});
    ExpectPicture(image, {".....",
                          ".....",
                          "111..",
                          "..1.."});
}

TEST(RasterImage, TriangleFillsSplitTheRectangleOnItsDiagonal)
{
    TestImage image(1, 5, 4);
    const BYTE c1[3] = {1, 1, 1};
    const BYTE c2[3] = {2, 2, 2};
    memset(image.data, 0, 60);
    image.FillTriangleLower(c1, c2, RECT{1, 4, 5, 0});
    ExpectPicture(image, {".1222",
                          ".1122",
                          ".1112",
                          ".1111"});
    memset(image.data, 0, 60);
    image.FillTriangleUpper(c1, c2, RECT{0, 4, 4, 0});
    ExpectPicture(image, {"2221.",
                          "2211.",
                          "2111.",
                          "1111."});
    // A rectangle reaching beyond the image is cut at its edges; the diagonal still runs
    // from the rectangle's own corner.
    memset(image.data, 0, 60);
    image.FillTriangleLower(c1, c2, RECT{-2, 6, 4, -1});
    ExpectPicture(image, {"2222.",
                          "1222.",
                          "1122.",
                          "1112."});
}

TEST(RasterImage, CopyRgbAndCopyInset)
{
    TestImage source(1, 4, 3);
    for (int i = 0; i < 36; ++i)
        source.data[i] = (BYTE)i;
    TestImage copy(1, 4, 3);
    source.CopyRgb(&copy);
    EXPECT_EQ(Bytes(source), Bytes(copy));

    TestImage inset(1, 2, 1);
    source.CopyInset(&inset, 1);
    EXPECT_EQ((Rgb{{15, 16, 17}}), PixelAt(inset, 0, 0));   // source (1, 1)
    EXPECT_EQ((Rgb{{18, 19, 20}}), PixelAt(inset, 1, 0));   // source (2, 1)
    memset(inset.data, 0, 6);
    source.CopyInset(&inset, 2);   // n >= width - n: nothing
    EXPECT_EQ(std::vector<BYTE>(6, 0), Bytes(inset));
}

// ---- exchange with the picture library ----

TEST(RasterImage, CopyToMatFlipsPlanesAndTurnsPicturesToBgr)
{
    TestImage plane(0, 2, 3);
    const BYTE rows[] = {1, 2, 3, 4, 5, 6};
    memcpy(plane.data, rows, 6);
    cv::Mat mat;
    plane.CopyToMat(mat);
    ASSERT_EQ(CV_8UC1, mat.type());
    ASSERT_EQ(3, mat.rows);
    ASSERT_EQ(2, mat.cols);
    EXPECT_EQ(5, mat.at<uchar>(0, 0));
    EXPECT_EQ(2, mat.at<uchar>(2, 1));

    TestImage rgb(1, 2, 1);
    const BYTE pixels[] = {10, 20, 30, 40, 50, 60};
    memcpy(rgb.data, pixels, 6);
    cv::Mat colour;
    rgb.CopyToMat(colour);
    ASSERT_EQ(CV_8UC3, colour.type());
    EXPECT_EQ(cv::Vec3b(30, 20, 10), colour.at<cv::Vec3b>(0, 0));
    EXPECT_EQ(cv::Vec3b(60, 50, 40), colour.at<cv::Vec3b>(0, 1));

    // And back: a matrix in B, G, R becomes the same R, G, B bytes.
    TestImage back(1, 2, 1);
    back.FromMat(colour);
    EXPECT_EQ(Bytes(rgb), Bytes(back));
}

TEST(RasterImage, FromMatRefusesAMatrixOfAnotherShape)
{
    TestImage rgb(1, 2, 2);
    memset(rgb.data, 0, 12);
    cv::Mat wrongSize(3, 2, CV_8UC3, cv::Scalar(1, 2, 3));
    cv::Mat wrongType(2, 2, CV_8UC1, cv::Scalar(5));
    rgb.FromMat(wrongSize);
    rgb.FromMat(wrongType);
    EXPECT_EQ(std::vector<BYTE>(12, 0), Bytes(rgb));

    // A region of a larger matrix is not continuous; its rows are still taken one by one.
    cv::Mat big(4, 4, CV_8UC3, cv::Scalar(0, 0, 0));
    big(cv::Rect(1, 1, 2, 2)).setTo(cv::Scalar(3, 2, 1));
    cv::Mat part = big(cv::Rect(1, 1, 2, 2));
    rgb.FromMat(part);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((Rgb{{1, 2, 3}}), PixelAt(rgb, i % 2, i / 2));
}

TEST(RasterImage, ToMatCopiesTheRegionClippedToThePicture)
{
    TestImage rgb(1, 3, 2);
    for (int i = 0; i < 18; ++i)
        rgb.data[i] = (BYTE)i;
    cv::Mat region;
    rgb.ToMat(region, cv::Rect(1, 1, 2, 1));
    ASSERT_EQ(1, region.rows);
    ASSERT_EQ(2, region.cols);
    EXPECT_EQ(cv::Vec3b(14, 13, 12), region.at<cv::Vec3b>(0, 0));   // pixel (1, 1)
    rgb.ToMat(region, cv::Rect(2, -5, 10, 10));
    ASSERT_EQ(2, region.rows);
    ASSERT_EQ(1, region.cols);
    EXPECT_EQ(cv::Vec3b(8, 7, 6), region.at<cv::Vec3b>(0, 0));       // pixel (2, 0)
    rgb.ToMat(region, cv::Rect(5, 5, 2, 2));
    EXPECT_TRUE(region.empty());
    EXPECT_EQ(0, rgb.data[0]);   // the picture itself keeps R, G, B
}

TEST(RasterImage, DrawToDCShowsANarrowPictureAtItsOwnWidth)
{
    for (int width : {5, 1, 8})
    {
        const int height = 3;
        TestImage picture(1, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const BYTE c[3] = {(BYTE)(40 * x + 1), (BYTE)(60 * y + 2), (BYTE)(10 * x + y)};
                picture.SetRgb(x, y, c);
            }

        const int dibWidth = width + 3, dibHeight = height + 2;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = dibWidth;
        info.bmiHeader.biHeight = -dibHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = NULL;
        HDC dc = CreateCompatibleDC(NULL);
        ASSERT_NE(nullptr, dc);
        HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        ASSERT_NE(nullptr, dib);
        HGDIOBJ old = SelectObject(dc, dib);
        memset(bits, 0x77, (size_t)dibWidth * dibHeight * 4);

        picture.DrawToDC(CDC::FromHandle(dc), RECT{2, 1, 2 + width, 1 + height});
        GdiFlush();
        const BYTE* px = (const BYTE*)bits;
        for (int y = 0; y < dibHeight; ++y)
            for (int x = 0; x < dibWidth; ++x)
            {
                const BYTE* p = px + 4 * (x + y * dibWidth);   // B, G, R, unused
                const bool inside = x >= 2 && x < 2 + width && y >= 1 && y < 1 + height;
                Rgb expected = {{0x77, 0x77, 0x77}};
                if (inside)
                    expected = PixelAt(picture, x - 2, y - 1);
                const Rgb got = {{p[2], p[1], p[0]}};
                EXPECT_EQ(expected, got) << "width " << width << " at " << x << ", " << y;
            }
        SelectObject(dc, old);
        DeleteObject(dib);
        DeleteDC(dc);
    }
}

// ---- cell maps ----

TEST(RasterImage, ExpandCellsTo4x4WritesEachKindsPattern)
{
    // Patterns in block-row order (the top of the tile as drawn first), with A 1, B 2, C 3,
    // D 4: each part lies where the renderer draws it.
    const char* patterns[8] = {
        "1111111111111111", "2222222122112111", "1111211122112221", "1111111122222222",
        "2211221122112211", "2244224411331133", "3333433144114221",
        "9999999999999999",   // an unknown kind leaves the block as it was
    };
    for (int kind = 0; kind < 8; ++kind)
    {
        TestImage map(0, 8, 4);   // 2 x 1 cells; only the first is expanded
        memset(map.data, 0, map.size);
        map.SetCell(0, 0, 0, kind, 1, 2, 3, 4, 0, 0, 0, 0);
        TestImage plane(0, 6, 5);   // wider than the map needs: its own row length counts
        plane.FillBytes(9);
        map.ExpandCellsTo4x4(&plane, 1, 1);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(patterns[kind][r * 4 + c] - '0', plane.data[r * 6 + c])
                    << "kind " << kind << " row " << r << " byte " << c;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 6; ++c)
                EXPECT_TRUE((r < 4 && c < 4) || plane.data[r * 6 + c] == 9) << r << ", " << c;
    }
}

TEST(RasterImage, ExpandCellsTo4x4StopsAtTheSmallerPlane)
{
    TestImage map(0, 8, 8);
    memset(map.data, 0, 64);
    map.SetCell(1, 1, 0, 0, 5, 5, 5, 5, 0, 0, 0, 0);
    TestImage plane(0, 7, 7);   // room for one whole block only
    plane.FillBytes(9);
    map.ExpandCellsTo4x4(&plane, 2, 2);
    EXPECT_EQ(0, plane.data[0]);
    EXPECT_EQ(9, plane.data[4]);
    EXPECT_EQ(9, plane.data[7 * 6 + 6]);
}

TEST(RasterImage, CellsFromColourPlaneMakesWholeTiles)
{
    TestImage plane(0, 3, 2);
    for (int i = 0; i < 6; ++i)
        plane.data[i] = (BYTE)(10 + i);
    TestImage map(0, 12, 8);
    memset(map.data, 0xEE, map.size);
    map.CellsFromColourPlane(&plane);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
        {
            int f[10];
            map.GetCell(col, row, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
            const int v = 10 + col + 3 * row;
            const int expected[10] = {0, 0, v, v, v, v, 0, 0, 0, 0};
            for (int i = 0; i < 10; ++i)
                EXPECT_EQ(expected[i], f[i]) << col << ", " << row << " field " << i;
        }
}

TEST(RasterImage, OlderMapsConvertWithRowsReversedAndKindsSwapped)
{
    // 2 x 2 cells of the oldest layout, rows of cells bottom first.
    TestImage old2(0, 4, 4);
    memset(old2.data, 0, 16);
    auto put2 = [&](int col, int row, int shape, int kind, int a, int b) {
        BYTE* p = old2.data + col * 2 + row * 2 * 4;
        p[0] = (BYTE)shape;
        p[1] = (BYTE)kind;
        p[4] = (BYTE)a;
        p[5] = (BYTE)b;
    };
    put2(0, 1, 5, 3, 7, 9);   // top row in the new map
    put2(1, 1, 0, 1, 4, 6);
    put2(0, 0, 16, 2, 1, 2);
    put2(1, 0, 0, 6, 8, 3);
    TestImage map(0, 8, 8);
    memset(map.data, 0xEE, 64);
    old2.ConvertCellMapFrom2x2(&map, 2, 2);

    struct Expected
    {
        int col, row, f[10];
    };
    const Expected cells[] = {
        {0, 0, {5, 3, 9, 7, 7, 7, 0, 0, 0, 0}},
        {1, 0, {0, 2, 4, 6, 4, 4, 0, 0, 0, 0}},
        {0, 1, {16, 1, 1, 2, 1, 1, 0, 0, 0, 0}},
        {1, 1, {0, 6, 8, 3, 8, 8, 0, 0, 0, 0}},
    };
    for (const auto& e : cells)
    {
        int f[10];
        map.GetCell(e.col, e.row, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(e.f[i], f[i]) << e.col << ", " << e.row << " field " << i;
    }

    // The 3 x 3 layout: shape, kind, A on block row 0; B then two ignored bytes on row 1.
    TestImage old3(0, 3, 6);   // 1 x 2 cells
    memset(old3.data, 0, 18);
    const BYTE top[] = {2, 1, 11, 12, 99, 99};
    memcpy(old3.data + 9, top, 3);
    memcpy(old3.data + 12, top + 3, 3);
    TestImage map3(0, 4, 8);
    old3.ConvertCellMapFrom3x3(&map3, 1, 2);
    int f[10];
    map3.GetCell(0, 0, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    const int expected[10] = {2, 2, 11, 12, 11, 11, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(expected[i], f[i]) << "field " << i;
}

TEST(RasterImage, OlderMapSmallerThanTheCellCountGivesWholeTilesOfColourZero)
{
    TestImage old2(0, 2, 2);   // one cell
    const BYTE cell[] = {0, 0, 5, 5};
    memcpy(old2.data, cell, 4);
    TestImage map(0, 8, 4);
    memset(map.data, 0xEE, 32);
    old2.ConvertCellMapFrom2x2(&map, 2, 1);
    int f[10];
    map.GetCell(1, 0, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(0, f[i]) << "field " << i;
}

// ---- archive form ----

TEST(RasterImage, ArchiveFormFollowsTheStoredLayout)
{
    TestImage plane(0, 2, 1);
    plane.data[0] = 0xAB;
    plane.data[1] = 0xCD;
    std::vector<BYTE> expected;
    for (int v : {0, 2, 1, 2, 1})
        AppendInt(expected, v);
    expected.push_back(0xAB);
    expected.push_back(0xCD);
    EXPECT_EQ(expected, StoreImage(plane, 39, false));

    TestImage rgb(1, 1, 1);
    const BYTE pixel[] = {1, 2, 3};
    memcpy(rgb.data, pixel, 3);
    std::vector<BYTE> expectedRgb;
    for (int v : {1, 1, 1, 1, 1})
        AppendInt(expectedRgb, v);
    expectedRgb.insert(expectedRgb.end(), pixel, pixel + 3);
    EXPECT_EQ(expectedRgb, StoreImage(rgb, 39, false));

    CRasterImage empty;   // no buffer: the five integers only
    std::vector<BYTE> expectedEmpty;
    for (int v : {0, 160, 160, 25600, 0})
        AppendInt(expectedEmpty, v);
    EXPECT_EQ(expectedEmpty, StoreImage(empty, 39, false));
}

TEST(RasterImage, ArchiveRoundTripOfBothTypes)
{
    for (int type : {0, 1})
    {
        TestImage source(type, 7, 5);
        for (UINT i = 0; i < source.size * (type ? 3 : 1); ++i)
            source.data[i] = (BYTE)(i * 37 + 5);
        std::vector<BYTE> bytes = StoreImage(source, 39);
        TestImage loaded(0, 1, 1);
        int marker = 0;
        EXPECT_EQ(-1, LoadImage(loaded, bytes, 39, &marker));
        EXPECT_EQ(0x5A5A1234, marker);
        EXPECT_EQ(type, loaded.type);
        EXPECT_EQ(7, loaded.width);
        EXPECT_EQ(5, loaded.height);
        EXPECT_EQ(35u, loaded.size);
        EXPECT_EQ(1, loaded.owned);
        EXPECT_EQ(Bytes(source), Bytes(loaded));
    }
}

TEST(RasterImage, ArchiveLoadOfAnImageWithoutBufferReadsNoPixels)
{
    CRasterImage empty;
    empty.width = 12;
    empty.height = 4;
    empty.size = 48;
    std::vector<BYTE> bytes = StoreImage(empty, 39);
    ASSERT_EQ(24u, bytes.size());
    TestImage loaded(1, 2, 2);
    int marker = 0;
    EXPECT_EQ(-1, LoadImage(loaded, bytes, 39, &marker));
    EXPECT_EQ(0x5A5A1234, marker);
    EXPECT_EQ(nullptr, loaded.data);
    EXPECT_EQ(0, loaded.owned);
    EXPECT_EQ(12, loaded.width);
    EXPECT_EQ(4, loaded.height);
    EXPECT_EQ(48u, loaded.size);
}

TEST(RasterImage, ArchiveLoadBeforeVersion21HasNoOwnedFlag)
{
    std::vector<BYTE> bytes;
    for (int v : {0, 4, 2, 8})
        AppendInt(bytes, v);
    for (int i = 0; i < 8; ++i)
        bytes.push_back((BYTE)(i + 1));
    AppendInt(bytes, 0x5A5A1234);
    CRasterImage loaded;
    int marker = 0;
    EXPECT_EQ(-1, LoadImage(loaded, bytes, 20, &marker));
    EXPECT_EQ(0x5A5A1234, marker);
    EXPECT_EQ(4, loaded.width);
    EXPECT_EQ(1, loaded.owned);
    EXPECT_EQ(std::vector<BYTE>({1, 2, 3, 4, 5, 6, 7, 8}), Bytes(loaded));
    loaded.Free();
}

TEST(RasterImage, ArchiveLoadRefusesBadHeadersAndKeepsTheImage)
{
    struct Case
    {
        const char* what;
        int type, width, height;
        UINT size;
        int owned;
        int pixelBytes;   // bytes present after the header
        int cause;
    };
    const Case cases[] = {
        {"type 2", 2, 2, 2, 4, 1, 12, CArchiveException::genericException},
        {"zero width", 0, 0, 2, 0, 1, 0, CArchiveException::genericException},
        {"negative height", 0, 2, -2, (UINT)-4, 1, 4, CArchiveException::genericException},
        {"size not width x height", 0, 2, 2, 5, 1, 5, CArchiveException::genericException},
        {"owned flag 2", 0, 2, 2, 4, 2, 4, CArchiveException::genericException},
        {"size beyond memory", 1, 40000, 40000, 1600000000u, 1, 4,
         CArchiveException::genericException},
        {"huge but consistent", 0, 40000, 40000, 1600000000u, 1, 16,
         CArchiveException::endOfFile},
        {"truncated pixels", 1, 2, 2, 4, 1, 11, CArchiveException::endOfFile},
        {"bad header without buffer", 0, -5, 3, 0, 0, 0, CArchiveException::genericException},
    };
    for (const Case& c : cases)
    {
        std::vector<BYTE> bytes;
        for (int v : {c.type, c.width, c.height, (int)c.size, c.owned})
            AppendInt(bytes, v);
        bytes.insert(bytes.end(), (size_t)c.pixelBytes, 0x42);

        TestImage image(0, 3, 1);
        const BYTE original[] = {7, 8, 9};
        memcpy(image.data, original, 3);
        BYTE* buffer = image.data;
        EXPECT_EQ(c.cause, LoadImage(image, bytes, 39)) << c.what;
        EXPECT_EQ(buffer, image.data) << c.what;
        EXPECT_EQ(1, image.owned) << c.what;
        EXPECT_EQ(0, image.type) << c.what;
        EXPECT_EQ(3, image.width) << c.what;
        EXPECT_EQ(1, image.height) << c.what;
        EXPECT_EQ(3u, image.size) << c.what;
        EXPECT_EQ(std::vector<BYTE>({7, 8, 9}), Bytes(image)) << c.what;
    }
}

TEST(RasterImage, ArchiveLoadEndingInsideTheHeaderFailsWithEndOfFile)
{
    TestImage source(0, 2, 2);
    memset(source.data, 1, 4);
    const std::vector<BYTE> whole = StoreImage(source, 39, false);
    for (size_t cut : {(size_t)0, (size_t)3, (size_t)12, (size_t)19})
    {
        TestImage image(0, 1, 1);
        image.data[0] = 5;
        EXPECT_EQ(CArchiveException::endOfFile,
                  LoadImage(image, std::vector<BYTE>(whole.begin(), whole.begin() + cut), 39))
            << cut;
        EXPECT_EQ(1, image.width);
        EXPECT_EQ(5, image.data[0]);
    }
}
