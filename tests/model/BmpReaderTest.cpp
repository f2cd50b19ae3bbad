#include "MosaicTest.h"

#include <string.h>

#include <vector>

#include "AfxFile.h"
#include "BmpReader.h"
#include "OpenCv.h"

namespace
{

void Put32(std::vector<BYTE>& bytes, size_t offset, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = (BYTE)(value >> (8 * i));
}

void Put16(std::vector<BYTE>& bytes, size_t offset, WORD value)
{
    bytes[offset] = (BYTE)value;
    bytes[offset + 1] = (BYTE)(value >> 8);
}

// Field offsets in the file.
enum
{
    kFileSize = 2,
    kPixelOffset = 10,
    kInfoSize = 14,
    kWidth = 18,
    kHeight = 22,
    kBitCount = 28,
    kCompression = 30,
    kColoursUsed = 46
};

// A bottom-up bitmap with a 40-byte information header and tableEntries colours, entry k
// being B 3k, G 3k + 1, R 3k + 2, reserved 0x40; pixelArea is the raw rows.
std::vector<BYTE> MakeBmp(int bits, int width, int height, DWORD coloursUsed, int tableEntries,
                          const std::vector<BYTE>& pixelArea)
{
    std::vector<BYTE> bytes(54 + 4 * tableEntries, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, kPixelOffset, (DWORD)bytes.size());
    Put32(bytes, kInfoSize, 40);
    Put32(bytes, kWidth, (DWORD)width);
    Put32(bytes, kHeight, (DWORD)height);
    Put16(bytes, 26, 1);
    Put16(bytes, kBitCount, (WORD)bits);
    Put32(bytes, kColoursUsed, coloursUsed);
    for (int k = 0; k < tableEntries; ++k)
    {
        bytes[54 + 4 * k] = (BYTE)(3 * k);
        bytes[55 + 4 * k] = (BYTE)(3 * k + 1);
        bytes[56 + 4 * k] = (BYTE)(3 * k + 2);
        bytes[57 + 4 * k] = 0x40;
    }
    bytes.insert(bytes.end(), pixelArea.begin(), pixelArea.end());
    Put32(bytes, kFileSize, (DWORD)bytes.size());
    return bytes;
}

// The caller's side of a read, primed with recognisable contents.
struct Target
{
    BITMAPINFOHEADER header;
    CRasterImage image;
    PaletteEntry table[256];

    Target()
    {
        memset(&header, 0xCD, sizeof(header));
        memset(table, 0xCD, sizeof(table));
        image.Create(0, 2, 2);
        memset(image.data, 0x5A, 4);
    }
    ~Target() { image.Free(); }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    BOOL Read(std::vector<BYTE> bytes)
    {
        bytes.push_back(0);   // a block even for an empty file
        CMemFile file(bytes.data(), (UINT)bytes.size() - 1);
        return ReadBmpFile(&header, &file, &image, table);
    }

    std::vector<BYTE> Pixels() const
    {
        return std::vector<BYTE>(image.data, image.data + image.size);
    }

    void ExpectUntouched(BYTE* buffer, const char* what) const
    {
        EXPECT_EQ(buffer, image.data) << what;
        EXPECT_EQ(2, image.width) << what;
        EXPECT_EQ(2, image.height) << what;
        EXPECT_EQ(std::vector<BYTE>(4, 0x5A), Pixels()) << what;
        EXPECT_EQ(0xCDCDCDCDu, header.biSize) << what;
        EXPECT_EQ(0xCD, table[0].peRed) << what;
        EXPECT_EQ(0xCD, table[255].peFlags) << what;
    }
};

void ExpectEntry(const PaletteEntry& entry, int k)
{
    EXPECT_EQ(3 * k + 2, entry.peRed) << "entry " << k;
    EXPECT_EQ(3 * k + 1, entry.peGreen) << "entry " << k;
    EXPECT_EQ(3 * k, entry.peBlue) << "entry " << k;
    EXPECT_EQ(0x40, entry.peFlags) << "entry " << k;
}

void ExpectZeroFrom(const PaletteEntry* table, int first)
{
    for (int k = first; k < 256; ++k)
        EXPECT_TRUE(table[k].peRed == 0 && table[k].peGreen == 0 && table[k].peBlue == 0 &&
                    table[k].peFlags == 0)
            << "entry " << k;
}

} // namespace

TEST(BmpReader, ReadsAGreyBitmapWrittenByThePictureLibrary)
{
    cv::Mat grey(3, 5, CV_8UC1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            grey.at<uchar>(y, x) = (uchar)(10 * y + x);
    std::vector<uchar> encoded;
    ASSERT_TRUE(cv::imencode(".bmp", grey, encoded));

    Target t;
    ASSERT_TRUE(t.Read(std::vector<BYTE>(encoded.begin(), encoded.end())));
    EXPECT_EQ(0, t.image.type);
    EXPECT_EQ(5, t.image.width);
    EXPECT_EQ(3, t.image.height);
    EXPECT_EQ(1, t.image.owned);
    EXPECT_EQ(8, t.header.biBitCount);
    EXPECT_EQ(5, t.header.biWidth);
    // Row 0 of the raster is the bottom row of the picture.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(10 * (2 - y) + x, t.image.GetByte(x, y)) << x << ", " << y;
    EXPECT_EQ(200, t.table[200].peRed);
    EXPECT_EQ(200, t.table[200].peBlue);
}

TEST(BmpReader, UnpacksEveryBitDepthAndSkipsRowPadding)
{
    struct Case
    {
        const char* what;
        int bits, width, height;
        DWORD coloursUsed;
        int tableEntries;
        std::vector<BYTE> pixelArea;   // padding bytes are 0xEE, never read as pixels
        std::vector<BYTE> expected;    // raster bytes, bottom row first
    };
    const Case cases[] = {
        {"8 bits, 5 wide: 3 bytes of padding per row", 8, 5, 2, 6, 6,
         {1, 2, 3, 4, 5, 0xEE, 0xEE, 0xEE, 5, 4, 3, 2, 1, 0xEE, 0xEE, 0xEE},
         {1, 2, 3, 4, 5, 5, 4, 3, 2, 1}},
        {"4 bits, colour count from the depth", 4, 3, 1, 0, 16,
         {0xF3, 0x7E, 0xEE, 0xEE},
         {15, 3, 7}},
        {"2 bits", 2, 5, 1, 4, 4,
         {0x1B, 0xC0, 0xEE, 0xEE},
         {0, 1, 2, 3, 3}},
        {"1 bit, 9 wide: 2 bytes and 2 of padding per row", 1, 9, 2, 2, 2,
         {0xB3, 0x80, 0xEE, 0xEE, 0x4C, 0x7F, 0xEE, 0xEE},
         {1, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 0, 0, 1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        Target t;
        ASSERT_TRUE(t.Read(MakeBmp(c.bits, c.width, c.height, c.coloursUsed, c.tableEntries,
                                   c.pixelArea)))
            << c.what;
        EXPECT_EQ(c.width, t.image.width) << c.what;
        EXPECT_EQ(c.height, t.image.height) << c.what;
        EXPECT_EQ(c.expected, t.Pixels()) << c.what;
        EXPECT_EQ(8, t.header.biBitCount) << c.what;
        for (int k = 0; k < c.tableEntries; ++k)
            ExpectEntry(t.table[k], k);
        ExpectZeroFrom(t.table, c.tableEntries);
    }
}

TEST(BmpReader, ReadsTheColourTableAfterALongerInformationHeader)
{
    // A 108-byte header: the table starts 68 bytes later than after a 40-byte one.
    std::vector<BYTE> bytes = MakeBmp(8, 1, 1, 2, 0, {});
    bytes.insert(bytes.begin() + 54, 68, 0);
    const BYTE table[] = {3, 2, 1, 0, 6, 5, 4, 0};
    bytes.insert(bytes.begin() + 122, table, table + 8);
    const BYTE pixels[] = {1, 0, 0, 0};
    bytes.insert(bytes.end(), pixels, pixels + 4);
    Put32(bytes, kInfoSize, 108);
    Put32(bytes, kPixelOffset, 130);
    Put32(bytes, kFileSize, (DWORD)bytes.size());

    Target t;
    ASSERT_TRUE(t.Read(bytes));
    EXPECT_EQ(1, t.table[0].peRed);
    EXPECT_EQ(4, t.table[1].peRed);
    EXPECT_EQ(6, t.table[1].peBlue);
    EXPECT_EQ(std::vector<BYTE>({1}), t.Pixels());
}

TEST(BmpReader, RefusesFilesItCannotReadAndLeavesTheCallerAlone)
{
    const std::vector<BYTE> good = MakeBmp(8, 3, 2, 4, 4, std::vector<BYTE>(8, 1));
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases;
    auto with32 = [&](const char* what, size_t offset, DWORD value) {
        std::vector<BYTE> b = good;
        Put32(b, offset, value);
        cases.push_back({what, b});
    };
    auto with16 = [&](const char* what, size_t offset, WORD value) {
        std::vector<BYTE> b = good;
        Put16(b, offset, value);
        cases.push_back({what, b});
    };
    with16("24 bits: 16777216 colours", kBitCount, 24);
    with16("32 bits", kBitCount, 32);
    with16("33 bits", kBitCount, 33);
    with16("3 bits", kBitCount, 3);
    with32("more than 256 colours", kColoursUsed, 257);
    with32("negative height (top-down rows)", kHeight, (DWORD)-2);
    with32("zero width", kWidth, 0);
    with32("compressed rows", kCompression, BI_RLE8);
    with32("information header shorter than 40 bytes", kInfoSize, 12);
    with32("pixel offset beyond the file", kPixelOffset, 5000);
    with32("file size smaller than the pixel rows", kFileSize, (DWORD)good.size() - 1);
    with32("file size beyond the file", kFileSize, (DWORD)good.size() + 4);
    with32("file size below the pixel offset", kFileSize, 10);
    with32("rows more than the file holds", kHeight, 3);
    with32("huge picture", kWidth, 0x7FFFFFFF);
    cases.push_back({"pixel rows cut short", std::vector<BYTE>(good.begin(), good.end() - 1)});
    cases.push_back({"colour table cut short", std::vector<BYTE>(good.begin(), good.begin() + 60)});
    cases.push_back({"headers cut short", std::vector<BYTE>(good.begin(), good.begin() + 53)});
    cases.push_back({"empty file", {}});

    Target check;   // the unaltered file is fine
    ASSERT_TRUE(check.Read(good));
    for (const Case& c : cases)
    {
        Target t;
        BYTE* buffer = t.image.data;
        EXPECT_FALSE(t.Read(c.bytes)) << c.what;
        t.ExpectUntouched(buffer, c.what);
    }
}

TEST(BmpReader, RefusesMissingArguments)
{
    const std::vector<BYTE> good = MakeBmp(8, 1, 1, 1, 1, {0, 0, 0, 0});
    std::vector<BYTE> bytes = good;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    BITMAPINFOHEADER header;
    PaletteEntry table[256];
    CRasterImage image;
    EXPECT_FALSE(ReadBmpFile(NULL, &file, &image, table));
    EXPECT_FALSE(ReadBmpFile(&header, NULL, &image, table));
    EXPECT_FALSE(ReadBmpFile(&header, &file, NULL, table));
    EXPECT_FALSE(ReadBmpFile(&header, &file, &image, NULL));
    EXPECT_EQ(nullptr, image.data);
}
