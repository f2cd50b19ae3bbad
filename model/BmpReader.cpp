#include "BmpReader.h"

#include <limits.h>
#include <string.h>

#include <vector>

#include "AfxException.h"
#include "AfxFile.h"

namespace
{

const UINT kFileHeaderSize = 14;
const UINT kInfoHeaderSize = 40;

DWORD ReadLe32(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

WORD ReadLe16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

bool ReadExactly(CFile* file, void* buffer, UINT count)
{
    return file->Read(buffer, count) == count;
}

// The whole read; every check comes before the caller's data is touched.
BOOL ReadBmp(BITMAPINFOHEADER* header, CFile* file, CRasterImage* image, PaletteEntry* table)
{
    BYTE fileHeader[kFileHeaderSize];
    BYTE infoBytes[kInfoHeaderSize];
    file->Seek(0, CFile::begin);
    if (!ReadExactly(file, fileHeader, kFileHeaderSize) ||
        !ReadExactly(file, infoBytes, kInfoHeaderSize))
        return FALSE;
    const DWORD fileSize = ReadLe32(fileHeader + 2);
    const DWORD pixelOffset = ReadLe32(fileHeader + 10);

    BITMAPINFOHEADER info;
    info.biSize = ReadLe32(infoBytes);
    info.biWidth = (LONG)ReadLe32(infoBytes + 4);
    info.biHeight = (LONG)ReadLe32(infoBytes + 8);
    info.biPlanes = ReadLe16(infoBytes + 12);
    info.biBitCount = ReadLe16(infoBytes + 14);
    info.biCompression = ReadLe32(infoBytes + 16);
    info.biSizeImage = ReadLe32(infoBytes + 20);
    info.biXPelsPerMeter = (LONG)ReadLe32(infoBytes + 24);
    info.biYPelsPerMeter = (LONG)ReadLe32(infoBytes + 28);
    info.biClrUsed = ReadLe32(infoBytes + 32);
    info.biClrImportant = ReadLe32(infoBytes + 36);

    // Only palette bitmaps of 1, 2, 4 or 8 bits fit a colour table of 256 entries.
    const int bits = info.biBitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8)
        return FALSE;
    const DWORD colours = info.biClrUsed != 0 ? info.biClrUsed : (1u << bits);
    if (colours > 256)
        return FALSE;

    // Uncompressed bottom-up rows only; the colour table follows the information header,
    // whatever that header's length.
    if (info.biSize < kInfoHeaderSize || info.biCompression != BI_RGB || info.biWidth <= 0 ||
        info.biHeight <= 0)
        return FALSE;
    const ULONGLONG width = (ULONGLONG)info.biWidth;
    const ULONGLONG height = (ULONGLONG)info.biHeight;
    if (width * height > INT_MAX)
        return FALSE;
    const ULONGLONG stride = (width * bits + 31) / 32 * 4;
    const ULONGLONG pixelBytes = stride * height;
    const ULONGLONG length = file->GetLength();
    const ULONGLONG tableOffset = (ULONGLONG)kFileHeaderSize + info.biSize;
    if (tableOffset + 4 * (ULONGLONG)colours > length || pixelBytes > INT_MAX ||
        (ULONGLONG)pixelOffset + pixelBytes > fileSize || fileSize > length)
        return FALSE;

    BYTE rgbQuads[256 * 4];
    file->Seek((LONGLONG)tableOffset, CFile::begin);
    if (!ReadExactly(file, rgbQuads, 4 * colours))
        return FALSE;

    std::vector<BYTE> pixels((size_t)pixelBytes);
    file->Seek(pixelOffset, CFile::begin);
    if (!ReadExactly(file, pixels.data(), (UINT)pixelBytes))
        return FALSE;

    CRasterImage result;
    result.Create(0, info.biWidth, info.biHeight);
    const int w = info.biWidth;
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < info.biHeight; ++y)
    {
        const BYTE* source = pixels.data() + (size_t)y * stride;
        BYTE* target = result.data + (size_t)y * w;
        if (bits == 8)
        {
            memcpy(target, source, (size_t)w);
            continue;
        }
        // Most significant bits first.
        for (int x = 0; x < w; ++x)
        {
            const int shift = 8 - bits * (x % perByte + 1);
            target[x] = (BYTE)((source[x / perByte] >> shift) & mask);
        }
    }

    image->Free();
    *image = result;
    for (UINT k = 0; k < 256; ++k)
    {
        PaletteEntry& entry = table[k];
        if (k < colours)
        {
            entry.peRed = rgbQuads[4 * k + 2];
            entry.peGreen = rgbQuads[4 * k + 1];
            entry.peBlue = rgbQuads[4 * k];
            entry.peFlags = rgbQuads[4 * k + 3];
        }
        else
        {
            entry.peRed = entry.peGreen = entry.peBlue = entry.peFlags = 0;
        }
    }
    *header = info;
    header->biBitCount = 8;
    return TRUE;
}

} // namespace

BOOL ReadBmpFile(BITMAPINFOHEADER* header, CFile* file, CRasterImage* image, PaletteEntry* table)
{
    if (header == NULL || file == NULL || image == NULL || table == NULL)
        return FALSE;
    try
    {
        return ReadBmp(header, file, image, table);
    }
    catch (CException* e)
    {
        // A file or memory failure is a file that cannot be read, like any other.
        e->Delete();
        return FALSE;
    }
}
