#include "RasterImage.h"

#include "AfxGdi.h"
#include "RegionTools.h"

#include <limits.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "OpenCv.h"

namespace
{

// Largest buffer an image may have: buffers are addressed with int arithmetic by callers.
const ULONGLONG kMaxImageBytes = INT_MAX;

int BytesPerPixel(int type)
{
    return type == 1 ? 3 : 1;
}

// True when the image has a buffer that covers width x height pixels.
bool HasPixels(const CRasterImage& image)
{
    return image.data != NULL && image.width > 0 && image.height > 0 &&
           (ULONGLONG)image.width * (ULONGLONG)image.height <= image.size;
}

bool IsRgb(const CRasterImage& image)
{
    return image.type == 1 && HasPixels(image);
}

// First byte of cell (col, row) in a map whose cells are block x block bytes; NULL when the
// cell's block does not lie wholly inside the map.
BYTE* CellAt(const CRasterImage& map, int col, int row, int block)
{
    if (!HasPixels(map) || col < 0 || row < 0 || col >= map.width / block ||
        row >= map.height / block)
        return NULL;
    return map.data + (size_t)col * block + (size_t)row * block * map.width;
}

void PutRgb(BYTE* pixel, const BYTE* colour)
{
    pixel[0] = colour[0];
    pixel[1] = colour[1];
    pixel[2] = colour[2];
}

// The pixel (x, y) of an RGB image, or NULL outside it.
BYTE* RgbAt(const CRasterImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return NULL;
    return image.data + 3 * ((size_t)x + (size_t)y * image.width);
}

void SetRgbClipped(const CRasterImage& image, int x, int y, const BYTE* colour)
{
    BYTE* pixel = RgbAt(image, x, y);
    if (pixel != NULL)
        PutRgb(pixel, colour);
}

// Rectangle {left, top, right, bottom} with top > bottom, clipped to the image: columns
// x0..x1 - 1 and rows y0..y1 - 1. False when nothing is left.
bool ClipRect(const CRasterImage& image, const RECT& rect, int& x0, int& x1, int& y0, int& y1)
{
    x0 = std::max<int>(rect.left, 0);
    x1 = std::min<int>(rect.right, image.width);
    y0 = std::max<int>(rect.bottom, 0);
    y1 = std::min<int>(rect.top, image.height);
    return x0 < x1 && y0 < y1;
}

// Older-layout cell converted to the current one: kinds 1 and 2 trade places, kind 3 trades
// its colours, and C and D take colour A as read.
void WriteConvertedCell(CRasterImage* dest, int col, int row, int shape, int kind, int colourA,
                        int colourB)
{
    int a = colourA;
    int b = colourB;
    if (kind == 1)
        kind = 2;
    else if (kind == 2)
        kind = 1;
    else if (kind == 3)
        std::swap(a, b);
    dest->SetCell(col, row, shape, kind, a, b, colourA, colourA, 0, 0, 0, 0);
}

} // namespace

CRasterImage::CRasterImage()
    : data(NULL), owned(0), type(0), width(160), height(160), size(160 * 160)
{
}

void CRasterImage::Free()
{
    if (data != NULL && owned == 1)
        delete[] data;
    data = NULL;
    owned = 0;
}

void CRasterImage::Create(int newType, int newWidth, int newHeight)
{
    // Sizes a caller cannot mean fail as an allocation of that size would.
    if (newWidth < 0 || newHeight < 0)
        AfxThrowMemoryException();
    ULONGLONG pixels = (ULONGLONG)newWidth * (ULONGLONG)newHeight;
    ULONGLONG bytes = pixels * BytesPerPixel(newType);
    if (bytes > kMaxImageBytes)
        AfxThrowMemoryException();
    // Zeroed, so that the unused bytes of each cell reach saved documents as zeros.
    BYTE* buffer = new (std::nothrow) BYTE[bytes != 0 ? (size_t)bytes : 1]();
    if (buffer == NULL)
        AfxThrowMemoryException();
    Free();
    data = buffer;
    owned = 1;
    type = newType;
    width = newWidth;
    height = newHeight;
    size = (UINT)pixels;
}

int CRasterImage::GetByte(int x, int y) const
{
    if (data == NULL || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return data[(size_t)x + (size_t)y * width];
}

void CRasterImage::SetByte(int x, int y, int value)
{
    if (data == NULL || x < 0 || y < 0 || x >= width || y >= height)
        return;
    data[(size_t)x + (size_t)y * width] = (BYTE)value;
}

void CRasterImage::SetRgb(int x, int y, const BYTE* colour)
{
    if (owned != 1 || !IsRgb(*this))
        return;
    SetRgbClipped(*this, x, y, colour);
}

void CRasterImage::GetCell(int col, int row, int& shape, int& kind, int& colourA, int& colourB,
                           int& colourC, int& colourD, int& variantA, int& variantB,
                           int& variantC, int& variantD) const
{
    const BYTE* cell = CellAt(*this, col, row, CellBlock);
    if (cell == NULL)
        return;
    const BYTE* row1 = cell + width;
    const BYTE* row2 = row1 + width;
    shape = cell[0];
    kind = cell[1];
    colourA = cell[2];
    colourB = cell[3];
    colourC = row1[0];
    colourD = row1[1];
    variantA = row1[2];
    variantB = row1[3];
    variantC = row2[0];
    variantD = row2[1];
}

void CRasterImage::SetCell(int col, int row, int shape, int kind, int colourA, int colourB,
                           int colourC, int colourD, int variantA, int variantB, int variantC,
                           int variantD)
{
    BYTE* cell = CellAt(*this, col, row, CellBlock);
    if (cell == NULL)
        return;
    BYTE* row1 = cell + width;
    BYTE* row2 = row1 + width;
    cell[0] = (BYTE)shape;
    cell[1] = (BYTE)kind;
    cell[2] = (BYTE)colourA;
    cell[3] = (BYTE)colourB;
    row1[0] = (BYTE)colourC;
    row1[1] = (BYTE)colourD;
    row1[2] = (BYTE)variantA;
    row1[3] = (BYTE)variantB;
    row2[0] = (BYTE)variantC;
    row2[1] = (BYTE)variantD;
}

void CRasterImage::GetOldCell2x2(int col, int row, int& shape, int& kind, int& colourA,
                                 int& colourB) const
{
    const BYTE* cell = CellAt(*this, col, row, OldCellBlock2x2);
    if (cell == NULL)
        return;
    shape = cell[0];
    kind = cell[1];
    colourA = cell[width];
    colourB = cell[width + 1];
}

void CRasterImage::GetOldCell3x3(int col, int row, int& shape, int& kind, int& colourA,
                                 int& colourB, int& extra1, int& extra2) const
{
    const BYTE* cell = CellAt(*this, col, row, OldCellBlock3x3);
    if (cell == NULL)
        return;
    shape = cell[0];
    kind = cell[1];
    colourA = cell[2];
    colourB = cell[width];
    extra1 = cell[width + 1];
    extra2 = cell[width + 2];
}

// ---- 8-bit operations ----

void CRasterImage::FillBytes(int value)
{
    if (data != NULL)
        memset(data, (BYTE)value, size);
}

void CRasterImage::ReplaceByte(int a, int b)
{
    if (data == NULL || a < 0 || a > 255)
        return;
    const BYTE from = (BYTE)a;
    const BYTE to = (BYTE)b;
    BYTE* end = data + size;
    for (BYTE* p = data; p != end; ++p)
        if (*p == from)
            *p = to;
}

namespace
{

// Fills with fillValue the region of target pixels 4-connected to (seedX, seedY), span by
// span. The stack lives in locals: byte stores into the plane could otherwise alias it.
void FillRegion(BYTE* plane, int w, int h, BYTE fillValue, BYTE target, int seedX, int seedY,
                std::vector<POINT>& storage)
{
    if (storage.empty())
        storage.resize(1024);
    POINT* stack = storage.data();
    size_t capacity = storage.size();
    size_t count = 0;
    stack[count++] = POINT{seedX, seedY};
    while (count != 0)
    {
        const POINT seed = stack[--count];
        BYTE* line = plane + (size_t)seed.y * w;
        if (line[seed.x] != target)
            continue;
        int left = seed.x;
        while (left > 0 && line[left - 1] == target)
            --left;
        int right = seed.x;
        while (right + 1 < w && line[right + 1] == target)
            ++right;
        memset(line + left, fillValue, (size_t)(right - left + 1));
        // One seed per run of target pixels above and below the span.
        for (int ny = seed.y - 1; ny <= seed.y + 1; ny += 2)
        {
            if (ny < 0 || ny >= h)
                continue;
            const BYTE* next = plane + (size_t)ny * w;
            int x = left;
            while (x <= right)
            {
                if (next[x] != target)
                {
                    ++x;
                    continue;
                }
                if (count == capacity)
                {
                    storage.resize(capacity * 2);
                    stack = storage.data();
                    capacity = storage.size();
                }
                stack[count++] = POINT{x, ny};
                while (x <= right && next[x] == target)
                    ++x;
            }
        }
    }
}

bool RowHolds(const BYTE* line, int w, BYTE value)
{
    return memchr(line, value, (size_t)w) != NULL;
}

} // namespace

// Grows value a through 4-connected pixels of value b. The fixpoint is the same as that of
// sweeping the plane until nothing changes, but each b region is filled once, by spans, so
// the cost stays linear in the plane's size.
void CRasterImage::FloodFill(int a, int b)
{
    if (!HasPixels(*this) || a == b || a < 0 || a > 255 || b < 0 || b > 255)
        return;
    const BYTE fillValue = (BYTE)a;
    const BYTE target = (BYTE)b;
    const int w = width;
    const int h = height;
    BYTE* const plane = data;
    std::vector<POINT> stack;

    // Rows known to hold no b are skipped: the fills only ever remove b, so a row found
    // without b stays so.
    std::vector<char> mayHoldTarget((size_t)h, 1);
    auto holdsTarget = [&](int y) {
        if (y < 0 || y >= h || !mayHoldTarget[y])
            return false;
        if (!RowHolds(plane + (size_t)y * w, w, target))
            mayHoldTarget[y] = 0;
        return mayHoldTarget[y] != 0;
    };

    for (int y = 0; y < h; ++y)
    {
        // Check the row itself first, so that a row without b is skipped cheaply.
        const bool here = holdsTarget(y);
        if (!here && !holdsTarget(y - 1) && !holdsTarget(y + 1))
            continue;
        BYTE* line = plane + (size_t)y * w;
        for (int x = 0; x < w; ++x)
        {
            if (line[x] != fillValue)
                continue;
            if (x + 1 < w && line[x + 1] == target)
                FillRegion(plane, w, h, fillValue, target, x + 1, y, stack);
            if (x > 0 && line[x - 1] == target)
                FillRegion(plane, w, h, fillValue, target, x - 1, y, stack);
            if (y + 1 < h && line[x + w] == target)
                FillRegion(plane, w, h, fillValue, target, x, y + 1, stack);
            if (y > 0 && line[x - w] == target)
                FillRegion(plane, w, h, fillValue, target, x, y - 1, stack);
        }
    }
}

void CRasterImage::CopyBlock(CRasterImage* dest, int w, int h) const
{
    if (dest == NULL || !HasPixels(*this) || !HasPixels(*dest))
        return;
    const int columns = std::min(std::min(w, width), dest->width);
    const int rows = std::min(std::min(h, height), dest->height);
    if (columns <= 0 || rows <= 0)
        return;
    for (int y = 0; y < rows; ++y)
        memmove(dest->data + (size_t)y * dest->width, data + (size_t)y * width, (size_t)columns);
}

void CRasterImage::CopyConvert(CRasterImage* dest) const
{
    if (dest == NULL || data == NULL || dest->data == NULL)
        return;
    const ULONGLONG capacity = (ULONGLONG)dest->size * BytesPerPixel(dest->type);
    memmove(dest->data, data, (size_t)std::min<ULONGLONG>(size, capacity));
}

void CRasterImage::FlipVertical()
{
    if (!HasPixels(*this))
        return;
    const size_t rowBytes = (size_t)width * BytesPerPixel(type);
    for (int y = 0; y < height / 2; ++y)
    {
        BYTE* top = data + (size_t)y * rowBytes;
        BYTE* bottom = data + (size_t)(height - 1 - y) * rowBytes;
        std::swap_ranges(top, top + rowBytes, bottom);
    }
}

void CRasterImage::DrawBorder(int value, int n)
{
    if (!HasPixels(*this) || n <= 0)
        return;
    const BYTE v = (BYTE)value;
    const int rows = std::min(n, height);
    const int columns = std::min(n, width);
    for (int y = 0; y < rows; ++y)
    {
        memset(data + (size_t)y * width, v, (size_t)width);
        memset(data + (size_t)(height - 1 - y) * width, v, (size_t)width);
    }
    for (int y = 0; y < height; ++y)
    {
        BYTE* line = data + (size_t)y * width;
        memset(line, v, (size_t)columns);
        memset(line + width - columns, v, (size_t)columns);
    }
}

// ---- RGB operations ----

void CRasterImage::FillRgb(const BYTE* colour)
{
    if (type != 1 || data == NULL)
        return;
    const size_t nBytes = 3 * (size_t)size;
    if (colour[0] == colour[1] && colour[1] == colour[2])
    {
        memset(data, colour[0], nBytes);
        return;
    }
    // A screen-sized picture is millions of pixels: a short run, then copies that double.
    const size_t nFirst = std::min(nBytes, (size_t)3 * 1024);
    for (BYTE* p = data; p != data + nFirst; p += 3)
        PutRgb(p, colour);
    for (size_t nDone = nFirst; nDone < nBytes;)
    {
        const size_t nCopy = std::min(nDone, nBytes - nDone);
        memcpy(data + nDone, data, nCopy);
        nDone += nCopy;
    }
}

void CRasterImage::FillRow(int y, const BYTE* colour)
{
    if (!IsRgb(*this) || y < 0 || y >= height)
        return;
    BYTE* p = RgbAt(*this, 0, y);
    for (int x = 0; x < width; ++x, p += 3)
        PutRgb(p, colour);
}

void CRasterImage::PaintAllExcept(const BYTE* colour, const BYTE* key)
{
    if (type != 1 || data == NULL)
        return;
    BYTE* end = data + 3 * (size_t)size;
    for (BYTE* p = data; p != end; p += 3)
        if (p[0] != key[0] && p[1] != key[1] && p[2] != key[2])
            PutRgb(p, colour);
}

void CRasterImage::PaintRowExcept(int y, const BYTE* colour, const BYTE* key)
{
    if (!IsRgb(*this) || y < 0 || y >= height)
        return;
    BYTE* p = RgbAt(*this, 0, y);
    for (int x = 0; x < width; ++x, p += 3)
        if (p[0] != key[0] && p[1] != key[1] && p[2] != key[2])
            PutRgb(p, colour);
}

void CRasterImage::CopyRgb(CRasterImage* dest) const
{
    if (dest == NULL || type != 1 || dest->type != 1 || data == NULL || dest->data == NULL)
        return;
    memmove(dest->data, data, 3 * (size_t)std::min(size, dest->size));
}

void CRasterImage::CopyInset(CRasterImage* dest, int n) const
{
    if (dest == NULL || !IsRgb(*this) || !IsRgb(*dest) || n < 0 || n >= width - n)
        return;
    const int columns = std::min(width - 2 * n, dest->width);
    const int rows = std::min(height - 2 * n, dest->height);
    for (int y = 0; y < rows; ++y)
        memmove(RgbAt(*dest, 0, y), RgbAt(*this, n, y + n), 3 * (size_t)columns);
}

void CRasterImage::FillRect(const BYTE* colour, const RECT& rect)
{
    int x0, x1, y0, y1;
    if (!IsRgb(*this) || !ClipRect(*this, rect, x0, x1, y0, y1))
        return;
    for (int y = y0; y < y1; ++y)
    {
        BYTE* p = RgbAt(*this, x0, y);
        for (int x = x0; x < x1; ++x, p += 3)
            PutRgb(p, colour);
    }
}

void CRasterImage::DrawBevelFrame(const BYTE* colour1, const BYTE* colour2, const RECT& rect)
{
    if (!IsRgb(*this) || rect.left >= rect.right || rect.bottom >= rect.top)
        return;
    for (int y = rect.bottom; y < rect.top; ++y)
        SetRgbClipped(*this, rect.left, y, colour2);
    for (int x = rect.left; x < rect.right; ++x)
        SetRgbClipped(*this, x, rect.top - 1, colour2);
    for (int y = rect.bottom; y < rect.top; ++y)
        SetRgbClipped(*this, rect.right - 1, y, colour1);
    for (int x = rect.left; x < rect.right; ++x)
        SetRgbClipped(*this, x, rect.bottom, colour1);
}

void CRasterImage::DrawDottedFrame(const BYTE* colour1, const BYTE* colour2, const RECT& rect)
{
    if (!IsRgb(*this) || rect.left >= rect.right || rect.bottom >= rect.top)
        return;
    for (int y = rect.bottom; y < rect.top; ++y)
    {
        const BYTE* colour = y % 3 == 0 ? colour2 : colour1;
        SetRgbClipped(*this, rect.left, y, colour);
        SetRgbClipped(*this, rect.right - 1, y, colour);
    }
    for (int x = rect.left; x < rect.right; ++x)
    {
        const BYTE* colour = x % 3 == 0 ? colour2 : colour1;
        SetRgbClipped(*this, x, rect.bottom, colour);
        SetRgbClipped(*this, x, rect.top - 1, colour);
    }
}

void CRasterImage::FillTriangleLower(const BYTE* colour1, const BYTE* colour2, const RECT& rect)
{
    int x0, x1, y0, y1;
    if (!IsRgb(*this) || !ClipRect(*this, rect, x0, x1, y0, y1))
        return;
    for (int y = y0; y < y1; ++y)
    {
        BYTE* p = RgbAt(*this, x0, y);
        for (int x = x0; x < x1; ++x, p += 3)
            PutRgb(p, (y - rect.bottom) < (x - rect.left) ? colour2 : colour1);
    }
}

void CRasterImage::FillTriangleUpper(const BYTE* colour1, const BYTE* colour2, const RECT& rect)
{
    int x0, x1, y0, y1;
    if (!IsRgb(*this) || !ClipRect(*this, rect, x0, x1, y0, y1))
        return;
    for (int y = y0; y < y1; ++y)
    {
        BYTE* p = RgbAt(*this, x0, y);
        for (int x = x0; x < x1; ++x, p += 3)
            PutRgb(p, (rect.right - 2 - x) < (y - rect.bottom) ? colour1 : colour2);
    }
}

// ---- Exchange with the picture library and the screen ----

// 8-bit planes are kept bottom row first and go to the library top row first; RGB pictures
// keep their row order and become B, G, R.
cv::Mat& CRasterImage::CopyToMat(cv::Mat& mat) const
{
    if (!HasPixels(*this))
    {
        mat.release();
        return mat;
    }
    if (type == 1)
    {
        mat.create(height, width, CV_8UC3);
        for (int y = 0; y < height; ++y)
            memcpy(mat.ptr(y), RgbAt(*this, 0, y), 3 * (size_t)width);
        cv::cvtColor(mat, mat, cv::COLOR_BGR2RGB);
    }
    else
    {
        mat.create(height, width, CV_8UC1);
        for (int i = 0; i < height; ++i)
            memcpy(mat.ptr(i), data + (size_t)(height - 1 - i) * width, (size_t)width);
    }
    return mat;
}

void CRasterImage::FromMat(cv::Mat& mat)
{
    if (!IsRgb(*this) || mat.type() != CV_8UC3 || mat.rows != height || mat.cols != width)
        return;
    cv::cvtColor(mat, mat, cv::COLOR_BGR2RGB);
    for (int y = 0; y < height; ++y)
        memcpy(RgbAt(*this, 0, y), mat.ptr(y), 3 * (size_t)width);
}

void CRasterImage::ToMat(cv::Mat& mat, const cv::Rect_<int>& rect) const
{
    if (!IsRgb(*this))
    {
        mat.release();
        return;
    }
    const cv::Rect region = rect & cv::Rect(0, 0, width, height);
    if (region.empty())
    {
        mat.release();
        return;
    }
    const cv::Mat whole(height, width, CV_8UC3, data);
    cv::Mat converted;
    cv::cvtColor(whole(region), converted, cv::COLOR_BGR2RGB);
    mat = converted;
}

void CRasterImage::DrawToDC(CDC* pDC, const RECT& rect) const
{
    HDC hdc = pDC != NULL ? pDC->GetSafeHdc() : NULL;
    if (hdc == NULL || !IsRgb(*this))
        return;
    // Four bytes a pixel (blue, green, red, unused), the device's own form on a true-colour
    // screen: the system then copies the rows without converting them. The buffer stays from
    // one call to the next, as the screen is drawn many times a second.
    static std::vector<DWORD> s_bits;
    if (s_bits.size() < (size_t)width * height)
        s_bits.resize((size_t)width * height);
    DWORD* const bits = s_bits.data();
    for (int y = 0; y < height; ++y)
    {
        const BYTE* source = RgbAt(*this, 0, y);
        DWORD* target = bits + (size_t)y * width;
        for (int x = 0; x < width; ++x, source += 3)
            target[x] = ((DWORD)source[0] << 16) | ((DWORD)source[1] << 8) | source[2];
    }
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                  width, height, bits, &info, DIB_RGB_COLORS, SRCCOPY);
}

// ---- Cell-map conversions ----

void CRasterImage::ExpandCellsTo4x4(CRasterImage* dest, int cols, int rows) const
{
    if (dest == NULL || !HasPixels(*dest))
        return;
    cols = std::min(std::min(cols, width / CellBlock), dest->width / CellBlock);
    rows = std::min(std::min(rows, height / CellBlock), dest->height / CellBlock);
    for (int row = 0; row < rows; ++row)
    {
        for (int col = 0; col < cols; ++col)
        {
            int shape = 0, kind = -1, colour[4] = {0, 0, 0, 0}, variant[4];
            GetCell(col, row, shape, kind, colour[0], colour[1], colour[2], colour[3],
                    variant[0], variant[1], variant[2], variant[3]);
            // The region tools' table, so that the plane matches what the renderer shows.
            const char* pattern = RegionPartPattern(kind);
            if (pattern == NULL)
                continue;
            BYTE* block = CellAt(*dest, col, row, CellBlock);
            for (int r = 0; r < CellBlock; ++r)
                for (int c = 0; c < CellBlock; ++c)
                    block[(size_t)r * dest->width + c] = (BYTE)colour[pattern[r * 4 + c] - 'A'];
        }
    }
}

void CRasterImage::CellsFromColourPlane(const CRasterImage* plane)
{
    if (plane == NULL || !HasPixels(*plane))
        return;
    for (int y = 0; y < plane->height; ++y)
    {
        for (int x = 0; x < plane->width; ++x)
        {
            const int v = plane->data[(size_t)x + (size_t)y * plane->width];
            SetCell(x, y, ShapeWhole, CellWhole, v, v, v, v, 0, 0, 0, 0);
        }
    }
}

// The older maps keep their rows of cells bottom first. A cell missing from the older map
// becomes a whole tile of colour 0 rather than whatever the destination held.
void CRasterImage::ConvertCellMapFrom2x2(CRasterImage* dest, int cols, int rows) const
{
    if (dest == NULL)
        return;
    for (int col = 0; col < cols; ++col)
    {
        for (int row = 0; row < rows; ++row)
        {
            int shape = 0, kind = 0, colourA = 0, colourB = 0;
            GetOldCell2x2(col, rows - 1 - row, shape, kind, colourA, colourB);
            WriteConvertedCell(dest, col, row, shape, kind, colourA, colourB);
        }
    }
}

void CRasterImage::ConvertCellMapFrom3x3(CRasterImage* dest, int cols, int rows) const
{
    if (dest == NULL)
        return;
    for (int col = 0; col < cols; ++col)
    {
        for (int row = 0; row < rows; ++row)
        {
            int shape = 0, kind = 0, colourA = 0, colourB = 0, extra1 = 0, extra2 = 0;
            GetOldCell3x3(col, rows - 1 - row, shape, kind, colourA, colourB, extra1, extra2);
            WriteConvertedCell(dest, col, row, shape, kind, colourA, colourB);
        }
    }
}

// ---- Archive form ----

// Everything read is checked before the image is touched: a file that is damaged or lies
// about its sizes raises the archive exception and leaves the image as it was.
void CRasterImage::Serialize(CArchive& ar, int documentVersion)
{
    if (ar.IsStoring())
    {
        const int storedOwned = (owned == 1 && data != NULL) ? 1 : 0;
        ar << type << width << height << size << storedOwned;
        if (storedOwned)
            ar.Write(data, (UINT)(size * (ULONGLONG)BytesPerPixel(type)));
        return;
    }

    int newType = 0, newWidth = 0, newHeight = 0, newOwned = 1;
    UINT newSize = 0;
    ar >> newType >> newWidth >> newHeight >> newSize;
    if (documentVersion >= 21)
        ar >> newOwned;

    const ULONGLONG pixels = (ULONGLONG)(newWidth > 0 ? newWidth : 0) *
                             (ULONGLONG)(newHeight > 0 ? newHeight : 0);
    const ULONGLONG bytes = pixels * BytesPerPixel(newType);
    if ((newType != 0 && newType != 1) || newWidth <= 0 || newHeight <= 0 ||
        newSize != pixels || bytes > kMaxImageBytes || (newOwned != 0 && newOwned != 1))
        AfxThrowArchiveException(CArchiveException::genericException);

    if (newOwned == 0)
    {
        Free();
        type = newType;
        width = newWidth;
        height = newHeight;
        size = newSize;
        return;
    }

    // The pixel bytes must be in the file before anything is allocated for them.
    ar.Flush();
    CFile* file = ar.GetFile();
    if (file != NULL && file->GetLength() - file->GetPosition() < bytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);

    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[(size_t)bytes]);
    if (!buffer)
        AfxThrowMemoryException();
    if (ar.Read(buffer.get(), (UINT)bytes) != (UINT)bytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    Free();
    data = buffer.release();
    owned = 1;
    type = newType;
    width = newWidth;
    height = newHeight;
    size = newSize;
}
