#include "MosaicTest.h"

#include <string>

#include "AfxPath.h"
#include "OpenCv.h"
#include "Paving.h"
#include "TileTexture.h"

namespace
{

// The stored form that RestoreTextureBytes undoes: each step of the restore reversed.
void StoreTextureBytes(BYTE* rgb, size_t count, const TextureTransform& t)
{
    for (size_t i = 0; i < count; i++, rgb += 3)
    {
        rgb[0] = (BYTE)(RotateByteLeft(rgb[0], t.turns[0]) ^ t.keys[0]);
        rgb[1] = (BYTE)(RotateByteRight(rgb[1], t.turns[1]) ^ t.keys[1]);
        rgb[2] = (BYTE)RotateByteLeft(rgb[2] ^ t.keys[2], t.turns[2]);
    }
}

TEST(TileTexture, RestoringUndoesTheStoredTransform)
{
    const TextureTransform transforms[] = {
        {{0, 0, 0}, {0, 0, 0}},
        {{0x5A, 0xC3, 0x0F}, {3, 5, 1}},
        {{0xFF, 0x01, 0x80}, {7, 1, 6}},
    };
    BYTE original[3 * 256];
    for (int i = 0; i < 256; i++)
    {
        original[3 * i] = (BYTE)i;
        original[3 * i + 1] = (BYTE)(255 - i);
        original[3 * i + 2] = (BYTE)(i * 37);
    }
    for (const TextureTransform& t : transforms)
    {
        BYTE bytes[sizeof(original)];
        memcpy(bytes, original, sizeof(bytes));
        StoreTextureBytes(bytes, 256, t);
        RestoreTextureBytes(bytes, 256, t);
        EXPECT_EQ(0, memcmp(bytes, original, sizeof(bytes))) << (int)t.keys[0];
    }
    // One byte by hand: R 0x12 XOR 0x0F is 0x1D, turned right by one bit 0x8E; G 0x81 XOR 0
    // turned left by one 0x03; B 0x02 turned right by one 0x01, XOR 0xF0 0xF1.
    BYTE pixel[3] = {0x12, 0x81, 0x02};
    RestoreTextureBytes(pixel, 1, TextureTransform{{0x0F, 0x00, 0xF0}, {1, 1, 1}});
    EXPECT_EQ(0x8E, pixel[0]);
    EXPECT_EQ(0x03, pixel[1]);
    EXPECT_EQ(0xF1, pixel[2]);
}

class TileTextureFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_folder.Format(L"%stiletexture%u\\", szTemp, GetCurrentProcessId());
        CreateDirectoryW(m_folder, NULL);
    }
    void TearDown() override
    {
        for (const CString& strPath : m_files)
            DeleteFileW(strPath);
        RemoveDirectoryW(m_folder);
    }
    CString Write(LPCWSTR lpszName, const cv::Mat& picture)
    {
        const CString strPath = m_folder + lpszName;
        m_files.push_back(strPath);
        EXPECT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath)), picture));
        return strPath;
    }
    CString m_folder;
    std::vector<CString> m_files;
};

TEST_F(TileTextureFiles, FamiliesThreeAndFourReadPlainOnesAndTwoRestore)
{
    cv::Mat picture(3, 4, CV_8UC3);
    for (int i = 0; i < 12 * 3; i++)
        picture.data[i] = (uchar)(i * 7 + 1);
    const CString strPath = Write(L"plain.bmp", picture);
    const TextureTransform transform = {{0x3C, 0x99, 0x42}, {2, 3, 4}};
    for (int kind = 1; kind <= 4; kind++)
    {
        CRasterImage texture;
        ASSERT_EQ(TextureRead, ReadTexturePicture(strPath, kind, transform, texture));
        ASSERT_EQ(4, texture.width);
        ASSERT_EQ(3, texture.height);
        BYTE expected[36];
        for (int i = 0; i < 12; i++)
            for (int c = 0; c < 3; c++)
                expected[3 * i + c] = picture.data[3 * i + 2 - c];   // the file's B, G, R
        if (kind <= 2)
            RestoreTextureBytes(expected, 12, transform);
        EXPECT_EQ(0, memcmp(expected, texture.data, sizeof(expected))) << kind;
        texture.Free();
    }
}

TEST_F(TileTextureFiles, MissingAndUndecodableFilesLeaveNoPicture)
{
    const CString strBroken = m_folder + L"broken.bmp";
    m_files.push_back(strBroken);
    HANDLE hFile = CreateFileW(strBroken, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD dwWritten = 0;
    WriteFile(hFile, "BM no picture here", 18, &dwWritten, NULL);
    CloseHandle(hFile);
    const struct { CString path; int result; } cases[] = {
        {m_folder + L"absent.bmp", TextureFileMissing},
        {m_folder, TextureFileMissing},   // a folder is no file
        {strBroken, TextureUndecodable},
    };
    for (const auto& c : cases)
    {
        CRasterImage texture;
        texture.Create(1, 2, 2);
        EXPECT_EQ(c.result, ReadTexturePicture(c.path, 3, TextureTransform(), texture));
        EXPECT_TRUE(texture.data == NULL);
    }
}

// A texture of m x m pixels, every pixel different: R = x, G = y, B = x + y.
CRasterImage Numbered(int m)
{
    CRasterImage texture;
    texture.Create(1, m, m);
    for (int y = 0; y < m; y++)
        for (int x = 0; x < m; x++)
        {
            BYTE* p = texture.data + 3 * (y * m + x);
            p[0] = (BYTE)x;
            p[1] = (BYTE)y;
            p[2] = (BYTE)(x + y);
        }
    return texture;
}

TEST(TileTexture, QuarterTurnsMoveWholePixels)
{
    const int n = 9;
    CRasterImage texture = Numbered(n + 2);
    // Where target pixel (x, y) comes from in the texture, per quarter turn counter-clockwise
    // as seen on screen; the texture's one-pixel border is cut off.
    struct Source { int sx, sy; };
    auto source = [n](int q, int x, int y) -> Source {
        switch (q)
        {
        case 0: return {x + 1, y + 1};
        case 1: return {n - y, x + 1};
        case 2: return {n - x, n - y};
        default: return {y + 1, n - x};
        }
    };
    for (int q = 0; q < 4; q++)
    {
        CRasterImage target;
        target.Create(1, n, n);
        ASSERT_TRUE(MakeTextureSquare(texture, q, target));
        for (int y = 0; y < n; y++)
            for (int x = 0; x < n; x++)
            {
                const Source s = source(q, x, y);
                const BYTE* p = target.data + 3 * (y * n + x);
                EXPECT_EQ(s.sx, p[0]) << q << ": " << x << "," << y;
                EXPECT_EQ(s.sy, p[1]) << q << ": " << x << "," << y;
            }
        target.Free();
    }
    texture.Free();
}

TEST(TileTexture, ScaledTexturesHaveNoDarkEdges)
{
    // A uniform texture of any size fills the whole square with its colour, turned or not.
    const struct { int w, h, n; } cases[] = {{7, 5, 12}, {40, 40, 20}, {40, 40, 3}, {1, 1, 1}};
    for (const auto& c : cases)
        for (int q = 0; q < 4; q++)
        {
            CRasterImage texture, target;
            texture.Create(1, c.w, c.h);
            const BYTE colour[3] = {180, 60, 20};
            texture.FillRgb(colour);
            target.Create(1, c.n, c.n);
            ASSERT_TRUE(MakeTextureSquare(texture, q, target));
            for (int i = 0; i < c.n * c.n; i++)
                ASSERT_EQ(0, memcmp(colour, target.data + 3 * i, 3))
                    << c.w << "x" << c.h << " to " << c.n << " q " << q << " pixel " << i;
            texture.Free();
            target.Free();
        }
}

TEST(TileTexture, SquaresNeedATextureAndASquareTarget)
{
    CRasterImage texture = Numbered(4), none, wide;
    wide.Create(1, 4, 3);
    CRasterImage square;
    square.Create(1, 4, 4);
    EXPECT_FALSE(MakeTextureSquare(none, 0, square));
    EXPECT_FALSE(MakeTextureSquare(texture, 0, wide));
    EXPECT_FALSE(MakeTextureSquare(texture, 0, none));
    texture.Free();
    wide.Free();
    square.Free();
}

} // namespace
