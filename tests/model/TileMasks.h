// Tile masks of one paving pattern and tile size for the renderer's tests and benchmarks.
#pragma once

#include "Paving.h"
#include "RasterImage.h"

// Shape masks of one paving pattern and tile size, made as the view makes them: squares with a
// one-pixel frame, the outlines of diamonds, triangles and hexagons, discs for circles and
// scales.
inline void BuildMasks(int type, int n, CRasterImage* masks0, CRasterImage* masks1)
{
    CRasterImage& shape = masks0[type];
    CRasterImage& joint = masks1[type];
    shape.Create(0, n, n);
    joint.Create(0, n, n);
    DPoint outer[TileOutlinePoints] = {};
    DPoint inner[TileOutlinePoints] = {};
    BuildTileShapeOutline(type, n, outer, inner);
    const int a = n / 2;
    switch (type)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        shape.FillBytes(1);
        shape.DrawBorder(2, 1);
        break;
    case PavingDiamonds:
        shape.BuildShapeMask(0, 5, outer, inner, 2);
        shape.SetByte(a, a, 1);
        shape.FloodFill(1, 0);
        break;
    case PavingCircles:
        shape.FillCircle(a, a, (n - 1) / 2, 2);
        break;
    case PavingTriangles:
        shape.BuildShapeMask(0, 4, outer, inner, 2);
        joint.BuildShapeMask(1, 4, outer, inner, 2);
        break;
    case PavingHexagons:
        shape.BuildShapeMask(0, 7, outer, inner, 2);
        break;
    case PavingScales1:
        shape.DrawCircleAndFillTop(a, a, (n - 1) / 2, 2);
        shape.FlipVertical();
        break;
    case PavingScales2:
        shape.DrawCircleAndFillTop(a, a, (n - 1) / 2, 2);
        break;
    }
    if (type != PavingTriangles)
        shape.CopyConvert(&joint);
}
