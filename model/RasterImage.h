// The one raster type of the program: 8-bit planes, RGB pictures and the tile-cell map.
#pragma once

#include <windows.h>

#include "TileCell.h"

class CArchive;
class CDC;
class CXmlDoc;
namespace cv
{
class Mat;
template <typename T> class Rect_;
}

// A point of a tile outline (x, y as doubles); the paving geometry defines it.
struct DPoint;

// A plain structure without virtual members. Copying it copies the buffer pointer only; the
// owner releases the buffer with Free (the structure has no destructor that frees, so that
// shallow copies stay harmless).
class CRasterImage
{
public:
    BYTE* data;        // pixel buffer, NULL when there is none
    int owned;         // 1 when data was allocated by Create and belongs to this image
    int type;          // 0 one byte per pixel, 1 three bytes per pixel (R, G, B)
    int width;         // pixels per row
    int height;        // rows
    UINT size;         // width x height, in pixels

    CRasterImage();

    // Lifecycle and access
    void Free();
    void Create(int type, int width, int height);
    int GetByte(int x, int y) const;
    void SetByte(int x, int y, int value);
    void SetRgb(int x, int y, const BYTE* colour);
    void GetCell(int col, int row, int& shape, int& kind, int& colourA, int& colourB,
                 int& colourC, int& colourD, int& variantA, int& variantB, int& variantC,
                 int& variantD) const;
    void SetCell(int col, int row, int shape, int kind, int colourA, int colourB, int colourC,
                 int colourD, int variantA, int variantB, int variantC, int variantD);
    void GetOldCell2x2(int col, int row, int& shape, int& kind, int& colourA,
                       int& colourB) const;
    void GetOldCell3x3(int col, int row, int& shape, int& kind, int& colourA, int& colourB,
                       int& extra1, int& extra2) const;

    // Whole-image operations, 8-bit
    void FillBytes(int value);
    void ReplaceByte(int a, int b);
    void FloodFill(int a, int b);
    void CopyBlock(CRasterImage* dest, int w, int h) const;
    void CopyConvert(CRasterImage* dest) const;
    void FlipVertical();
    void DrawBorder(int value, int n);
    void FillCircle(int cx, int cy, int r, int value);
    void DrawCircleAndFillTop(int cx, int cy, int r, int value);
    void BuildShapeMask(int polygon, int pointCount, const DPoint* outer, const DPoint* inner,
                        int edgeValue);

    // Whole-image operations, RGB. Colours are three bytes R, G, B; rectangles are Windows
    // rectangles with top greater than bottom.
    void FillRgb(const BYTE* colour);
    void FillRow(int y, const BYTE* colour);
    void PaintAllExcept(const BYTE* colour, const BYTE* key);
    void PaintRowExcept(int y, const BYTE* colour, const BYTE* key);
    void CopyRgb(CRasterImage* dest) const;
    void CopyInset(CRasterImage* dest, int n) const;
    void FillRect(const BYTE* colour, const RECT& rect);
    void DrawBevelFrame(const BYTE* colour1, const BYTE* colour2, const RECT& rect);
    void DrawDottedFrame(const BYTE* colour1, const BYTE* colour2, const RECT& rect);
    void FillTriangleLower(const BYTE* colour1, const BYTE* colour2, const RECT& rect);
    void FillTriangleUpper(const BYTE* colour1, const BYTE* colour2, const RECT& rect);

    // Exchange with the picture library and the screen
    cv::Mat& CopyToMat(cv::Mat& mat) const;
    void FromMat(cv::Mat& mat);
    void ToMat(cv::Mat& mat, const cv::Rect_<int>& rect) const;
    void DrawToDC(CDC* pDC, const RECT& rect) const;

    // Cell-map conversions
    void ExpandCellsTo4x4(CRasterImage* dest, int cols, int rows) const;
    void CellsFromColourPlane(const CRasterImage* plane);
    void ConvertCellMapFrom2x2(CRasterImage* dest, int cols, int rows) const;
    void ConvertCellMapFrom3x3(CRasterImage* dest, int cols, int rows) const;
    void Serialize(CArchive& ar, int documentVersion);

    // Texture variants of one cell (seeds of RandomUniform, owned by the caller)
    void RandomizeCellVariants(int col, int row, int* seed1, int* seed2, int paletteKind);

    // Border codes and region tools; this image is the cell map unless said otherwise
    static void SetBorderCodes(CRasterImage* map, int pavingType, int cols, int rows,
                               int unused1, int unused2);
    void ClearBorderCodes(int pavingType, int cols, int rows, int unused1, int unused2);
    // A change of paving pattern: every cell that still holds what the old pattern laid takes
    // what the new one lays, and every other cell, the user's, stays as it is. patternCells
    // (may be NULL) is a cols x rows plane, 1 where the pattern laid the cell's shape: it
    // tells a user's hole or cut from the pattern's where both look alike. A plane of another
    // size is ignored and made anew for the new pattern.
    void ChangeBorderCodes(int oldType, int newType, int cols, int rows,
                           CRasterImage* patternCells);
    void FillRegionWithColour(const CRasterImage* plane, int cols, int rows, int paletteKind,
                              int* seed1, int* seed2);
    void FillRegionWithMix(const CRasterImage* plane, int cols, int rows, int colourCount,
                           int mixCount, int direction, int tileColourCount,
                           const int* allowedColours,
                           const int (*mixPercent)[256], int paletteKind, int* seed1,
                           int* seed2);
    void ToggleCellsInRegion(const CRasterImage* plane, int cols, int rows);
    // Called on the brush mask; map is the cell map that receives the stamp.
    void StampMask(CRasterImage* map, int colour, int startCol, int startRow) const;
    int CountRunInRow(int col, int row) const;
    int CountRunInColumn(int col, int row) const;
    void ReplaceCellColour(int a, int b, int paletteKind, int* seed1, int* seed2);
    // Every cell draws new texture variants, then each colour part c becomes newColour[c]
    // (256 entries): many recolourings in one pass over the map.
    void RemapCellColours(const int* newColour, int paletteKind, int* seed1, int* seed2);
    void WriteXml(CXmlDoc* xml) const;

    // Whole-map transformations
    void InsertColumns(int n);
    void InsertRows(int n);
    void DeleteColumns(int n);
    void DeleteRows(int n);
    void CopyCellsRect(CRasterImage* dest, const RECT& source, const RECT& target,
                       int mode) const;
    void ResampleCells(const CRasterImage* source, int cols, int rows, double factor, int mode);
    void MajorityFilterCells(CRasterImage* dest, int size, int cols, int rows) const;
    void GenerateTriangles();
};

// What the border pattern of a paving type gives cell (col, row) of a cols x rows map: its
// kind and shape code (a half or quarter tile along the edge, or 16 where the pattern lays no
// tile). FALSE for a cell inside the pattern, and for squares, which have no border.
BOOL PavingBorderCell(int pavingType, int cols, int rows, int col, int row, int& kind,
                      int& shape);
