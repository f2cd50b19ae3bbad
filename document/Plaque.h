// CPlaque: one numbered plate of the laying plan, a block of tiles laid as one piece. The
// document cuts the grid into plates and owns them; the plan pagination sets their pages.
#pragma once

#include <windows.h>

#include "AfxObject.h"

class CDC;
namespace cv
{
class Mat;
}

class CPlaque : public CObject
{
    DECLARE_SERIAL(CPlaque)

public:
    CPlaque();

    // Nothing of the plate goes into an archive but its class: the plates are rebuilt from
    // the grid whenever they are needed.

    // Frame and number of the plate. zoom is the tile size in pixels, divided by divisor
    // before use; cols and rows the grid size; black draws in black instead of the plate's
    // colour; numbers writes the plate number; the origin is the first visible tile; the
    // offsets are added to every x and y; thick insets the frame by 2 pixels instead of 1.
    virtual void Draw(CDC* pDC, int zoom, int cols, int rows, int black, int numbers,
                      int originCol, int originRow, int xOffset, int yOffset, int thick,
                      int divisor);
    // The same into a picture whose channels are blue, green, red.
    virtual void DrawOnImage(cv::Mat& image, int zoom, int cols, int rows, int black,
                             int numbers, int originCol, int originRow, int xOffset,
                             int yOffset, int thick, int divisor);

    // The frame both drawings use, in pixels (top above bottom on the picture).
    RECT GetFrame(int zoom, int cols, int rows, int originCol, int originRow, int xOffset,
                  int yOffset, int thick, int divisor) const;

    int m_number;          // 1-based, in cutting order; 0 until cut
    COLORREF m_colour;     // frame and number colour
    int m_pavingType;      // PavingType of the grid when the plate was cut
    int m_firstPage;       // plan pages that show the plate
    int m_lastPage;
    double m_endCol;       // column and row just past the plate
    double m_endRow;
    double m_firstCol;
    double m_firstRow;
};
