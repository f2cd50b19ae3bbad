#include "TileTexture.h"

#include <math.h>
#include <string.h>

#include "AfxImageCodecs.h"
#include "AfxPath.h"
#include "OpenCv.h"
#include "Paving.h"

BOOL IsTransformedTextureKind(int paletteKind)
{
    return paletteKind == 1 || paletteKind == 2;
}

void RestoreTextureBytes(BYTE* rgb, size_t count, const TextureTransform& transform)
{
    // The three bytes take only 256 values each: one table per channel.
    BYTE table[3][256];
    for (int v = 0; v < 256; v++)
    {
        table[0][v] = (BYTE)RotateByteRight(v ^ transform.keys[0], transform.turns[0]);
        table[1][v] = (BYTE)RotateByteLeft(v ^ transform.keys[1], transform.turns[1]);
        table[2][v] = (BYTE)(RotateByteRight(v, transform.turns[2]) ^ transform.keys[2]);
    }
    for (size_t i = 0; i < count; i++, rgb += 3)
    {
        rgb[0] = table[0][rgb[0]];
        rgb[1] = table[1][rgb[1]];
        rgb[2] = table[2][rgb[2]];
    }
}

int ReadTexturePicture(LPCTSTR lpszPath, int paletteKind, const TextureTransform& transform,
                       CRasterImage& texture)
{
    texture.Free();
    const DWORD dwAttributes = GetFileAttributesW(lpszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return TextureFileMissing;
    cv::Mat picture = AfxImRead(std::string(AfxGetUnixPath(lpszPath)), cv::IMREAD_COLOR);
    if (picture.empty() || picture.depth() != CV_8U)
        return TextureUndecodable;
    if (picture.channels() == 1)
        cv::cvtColor(picture, picture, cv::COLOR_GRAY2BGR);
    else if (picture.channels() == 4)
        cv::cvtColor(picture, picture, cv::COLOR_BGRA2BGR);
    if (picture.channels() != 3)
        return TextureUndecodable;
    cv::cvtColor(picture, picture, cv::COLOR_BGR2RGB);

    texture.Create(1, picture.cols, picture.rows);
    if (texture.data == NULL)
        return TextureUndecodable;
    for (int y = 0; y < picture.rows; y++)
        memcpy(texture.data + 3 * (size_t)y * picture.cols, picture.ptr(y),
               3 * (size_t)picture.cols);
    if (IsTransformedTextureKind(paletteKind))
        RestoreTextureBytes(texture.data, (size_t)picture.cols * picture.rows, transform);
    return TextureRead;
}

cv::Mat RotateImage(const cv::Mat& source, double angle)
{
    const cv::Point2f centre((float)(source.cols - 1) * 0.5f, (float)(source.rows - 1) * 0.5f);
    const cv::Mat matrix = cv::getRotationMatrix2D(centre, angle * 180.0 / M_PI, 1.0);
    cv::Mat turned;
    cv::warpAffine(source, turned, matrix, source.size(), cv::INTER_LINEAR,
                   cv::BORDER_CONSTANT, cv::Scalar(0, 0, 0));
    return turned;
}

BOOL MakeTextureSquare(const CRasterImage& texture, int quarter, CRasterImage& target)
{
    if (texture.data == NULL || texture.type != 1 || texture.width < 1 || texture.height < 1 ||
        target.data == NULL || target.type != 1 || target.width < 1 ||
        target.width != target.height)
        return FALSE;
    const int n = target.width;
    // The bytes stay R, G, B throughout: scaling and turning treat the channels alike.
    const cv::Mat source(texture.height, texture.width, CV_8UC3, texture.data);
    cv::Mat working;
    cv::resize(source, working, cv::Size(n + 2, n + 2), 0, 0, cv::INTER_LINEAR);
    if (quarter >= 1 && quarter <= 3)
        working = RotateImage(working, quarter * M_PI / 2.0);
    for (int y = 0; y < n; y++)
        memcpy(target.data + 3 * (size_t)y * n, working.ptr(y + 1) + 3, 3 * (size_t)n);
    return TRUE;
}
