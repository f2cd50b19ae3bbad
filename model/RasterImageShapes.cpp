// Tile-shape masks drawn into 8-bit planes, and the texture-variant draw of one cell.
#include "RasterImage.h"

#include <string.h>

#include "Paving.h"
#include "Random.h"

namespace
{

bool HasPlane(const CRasterImage& image)
{
    return image.data != NULL && image.width > 0 && image.height > 0 &&
           (ULONGLONG)image.width * (ULONGLONG)image.height <= image.size;
}

void PlotClipped(CRasterImage& image, int x, int y, BYTE value)
{
    if (x >= 0 && y >= 0 && x < image.width && y < image.height)
        image.data[(size_t)x + (size_t)y * image.width] = value;
}

} // namespace

void CRasterImage::FillCircle(int cx, int cy, int r, int value)
{
    if (!HasPlane(*this))
        return;
    const BYTE v = (BYTE)value;
    // Midpoint circle; points are clipped by coordinate so that a circle reaching past the
    // left or right edge does not wrap into the neighbouring row.
    long long x = 0, y = r, d = 3 - 2LL * r;
    while (y >= x)
    {
        const int xi = (int)x, yi = (int)y;
        PlotClipped(*this, cx + xi, cy + yi, v);
        PlotClipped(*this, cx - xi, cy + yi, v);
        PlotClipped(*this, cx + xi, cy - yi, v);
        PlotClipped(*this, cx - xi, cy - yi, v);
        PlotClipped(*this, cx + yi, cy + xi, v);
        PlotClipped(*this, cx - yi, cy + xi, v);
        PlotClipped(*this, cx + yi, cy - xi, v);
        PlotClipped(*this, cx - yi, cy - xi, v);
        if (d >= 0)
        {
            d += 4 * (x - y) + 10;
            --y;
        }
        else
        {
            d += 4 * x + 6;
        }
        ++x;
    }
    PlotClipped(*this, cx, cy, 1);
    FloodFill(1, 0);
}

void CRasterImage::DrawCircleAndFillTop(int cx, int cy, int r, int value)
{
    FillCircle(cx, cy, r, value);
    if (!HasPlane(*this) || cy <= 0)
        return;
    const int rows = cy < height ? cy : height;
    memset(data, 1, (size_t)rows * width);
}

void CRasterImage::BuildShapeMask(int polygon, int pointCount, const DPoint* outer,
                                  const DPoint* inner, int edgeValue)
{
    if (!HasPlane(*this) || outer == NULL || inner == NULL)
        return;
    const BYTE edge = (BYTE)edgeValue;
    for (int y = 0; y < height; ++y)
    {
        BYTE* row = data + (size_t)y * width;
        for (int x = 0; x < width; ++x)
        {
            if (!PointInPolygon(polygon, x, y, outer, pointCount))
                row[x] = 0;
            else if (PointInPolygon(polygon, x, y, inner, pointCount))
                row[x] = 1;
            else
                row[x] = edge;
        }
    }
}

void CRasterImage::RandomizeCellVariants(int col, int row, int* seed1, int* seed2,
                                         int paletteKind)
{
    if (!HasPlane(*this) || col < 0 || row < 0 || col >= width / 4 || row >= height / 4)
        return;
    int shape = 0, kind = 0, a = 0, b = 0, c = 0, d = 0, va = 0, vb = 0, vc = 0, vd = 0;
    GetCell(col, row, shape, kind, a, b, c, d, va, vb, vc, vd);
    va = DrawTextureVariant(paletteKind, seed1, seed2);
    vb = DrawTextureVariant(paletteKind, seed1, seed2);
    vc = DrawTextureVariant(paletteKind, seed1, seed2);
    vd = DrawTextureVariant(paletteKind, seed1, seed2);
    SetCell(col, row, shape, kind, a, b, c, d, va, vb, vc, vd);
}
