// Tile texture pictures: reading a texture file into an RGB picture (restoring the bytes of
// families whose files are stored transformed), and making the square a tile shows: the
// texture scaled to the tile size and turned by a number of quarter turns.
#pragma once

#include <windows.h>

#include "RasterImage.h"

namespace cv
{
class Mat;
}

// The per-byte transform that texture files of families 1 and 2 are stored with. Loading
// undoes it: R is XORed with keys[0] then turned right by turns[0] bits, G XORed with
// keys[1] then turned left by turns[1], B turned right by turns[2] then XORed with keys[2].
// The default (all zero) leaves the bytes as they are.
struct TextureTransform
{
    BYTE keys[3];
    int turns[3];
};

// TRUE for the family kinds whose texture files are stored through the transform.
BOOL IsTransformedTextureKind(int paletteKind);

// Restores count pixels of R, G, B bytes in place.
void RestoreTextureBytes(BYTE* rgb, size_t count, const TextureTransform& transform);

// Results of ReadTexturePicture.
enum TextureReadResult
{
    TextureRead = 0,
    TextureFileMissing = 1,     // the file cannot be opened
    TextureUndecodable = 2      // the file is there but holds no picture the library reads
};

// Reads the picture file at the Windows path into texture (RGB, the file's pixel size),
// restoring the bytes when the family kind stores them transformed. A grey picture gives
// three equal channels. The texture is left without picture unless the result is
// TextureRead.
int ReadTexturePicture(LPCTSTR lpszPath, int paletteKind, const TextureTransform& transform,
                       CRasterImage& texture);

// The source turned about its pixel centre ((w - 1) / 2, (h - 1) / 2) by the angle in
// radians (positive: counter-clockwise as seen on screen), same size, linear interpolation,
// black outside.
cv::Mat RotateImage(const cv::Mat& source, double angle);

// Fills target (an RGB square of n x n already created) with texture scaled to n + 2 pixels
// a side, turned by quarter x 90 degrees counter-clockwise, less its one-pixel border: the
// border keeps the interpolation and the turn from darkening the tile's edges. FALSE when the
// texture or the target has no picture.
BOOL MakeTextureSquare(const CRasterImage& texture, int quarter, CRasterImage& target);
