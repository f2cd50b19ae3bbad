// The size of a picture read from its file's header, for the formats photographs and tile
// textures come in, without decoding it.
#include "MosaicTest.h"

#include <string>
#include <vector>

#include "AfxPath.h"
#include "OpenCv.h"
#include "PictureSize.h"

namespace
{

CString TempPath(LPCWSTR lpszName)
{
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    CString strPath;
    strPath.Format(L"%sMosaicPictureSize%u_%s", szTemp, (UINT)GetCurrentProcessId(), lpszName);
    return strPath;
}

void WriteFileBytes(const CString& strPath, const std::string& bytes)
{
    HANDLE hFile = CreateFileW(strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwWritten = 0;
    WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL);
    CloseHandle(hFile);
}

std::string Encoded(const char* pszExtension, const cv::Mat& picture,
                    const std::vector<int>& params = {})
{
    std::vector<uchar> bytes;
    EXPECT_TRUE(cv::imencode(pszExtension, picture, bytes, params)) << pszExtension;
    return std::string(bytes.begin(), bytes.end());
}

}   // namespace

TEST(PictureSize, EachFormatGivesTheSizeItsHeaderHolds)
{
    const cv::Mat colour(37, 53, CV_8UC3, cv::Scalar(10, 20, 30));
    const cv::Mat grey(37, 53, CV_8UC1, cv::Scalar(90));
    const cv::Mat alpha(37, 53, CV_8UC4, cv::Scalar(10, 20, 30, 128));
    std::string jpeg = Encoded(".jpg", colour);
    // Metadata before the frame header, as cameras write it.
    std::string exif = "\xFF\xE1";
    exif += (char)0xF0;
    exif += (char)0x00;
    exif += std::string(0xF000 - 2, 'x');
    const std::string jpegWithExif = jpeg.substr(0, 2) + exif + jpeg.substr(2);
    // Big-endian TIFF: an IFD of two entries, width as a long and height as a short.
    const std::string tiffMotorola("MM\0*\0\0\0\x08\0\x02"
                                   "\x01\x00\0\x04\0\0\0\x01\0\0\x01\x2c"
                                   "\x01\x01\0\x03\0\0\0\x01\0\xc8\0\0",
                                   34);
    const struct
    {
        const char* label;
        std::string bytes;
        int w, h;
    } cases[] = {
        {"PNG", Encoded(".png", colour), 53, 37},
        {"JPEG", jpeg, 53, 37},
        {"JPEG with metadata first", jpegWithExif, 53, 37},
        {"BMP", Encoded(".bmp", colour), 53, 37},
        {"WebP", Encoded(".webp", colour), 53, 37},
        {"WebP lossless", Encoded(".webp", colour, {cv::IMWRITE_WEBP_QUALITY, 101}), 53, 37},
        {"WebP with alpha", Encoded(".webp", alpha), 53, 37},
        {"TIFF", Encoded(".tif", colour), 53, 37},
        {"TIFF big-endian", tiffMotorola, 300, 200},
        {"PPM", Encoded(".ppm", colour), 53, 37},
        {"PGM", Encoded(".pgm", grey), 53, 37},
    };
    const CString strPath = TempPath(L"picture");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        WriteFileBytes(strPath, c.bytes);
        int w = 0, h = 0;
        EXPECT_TRUE(ReadPictureSize(strPath, w, h));
        EXPECT_EQ(c.w, w);
        EXPECT_EQ(c.h, h);
    }
    DeleteFileW(strPath);
}

TEST(PictureSize, OtherFilesGiveNoSize)
{
    const cv::Mat colour(37, 53, CV_8UC3, cv::Scalar(10, 20, 30));
    const std::string png = Encoded(".png", colour);
    const std::string jpeg = Encoded(".jpg", colour);
    const struct
    {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"text", "no picture at all"},
        {"empty", ""},
        {"PNG cut in its header", png.substr(0, 20)},
        {"JPEG cut before its frame header", jpeg.substr(0, 6)},
        {"a format not read here", Encoded(".ras", colour)},
        {"PNG of no pixels", png.substr(0, 16) + std::string(8, '\0')},
    };
    const CString strPath = TempPath(L"other");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.label);
        WriteFileBytes(strPath, c.bytes);
        int w = -1, h = -1;
        EXPECT_FALSE(ReadPictureSize(strPath, w, h));
        EXPECT_EQ(-1, w);
    }
    DeleteFileW(strPath);
    int w = 0, h = 0;
    EXPECT_FALSE(ReadPictureSize(strPath, w, h)) << "a missing file";
}
