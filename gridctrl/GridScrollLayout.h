// CGridScrollLayout: what a grid's scroll bars must be for a client area, worked out from
// sizes alone. The vertical bar is always there (disabled when there is nothing to scroll),
// so the width it takes is never counted as visible; each maximum and page then let the
// last row and column scroll fully into view.
#pragma once

#include <windows.h>

#include "AfxGeometry.h"

class CGridScrollLayout
{
public:
    // sizeNoBars: the client area as it would be without bars; sizeFixed: the fixed columns'
    // width and the fixed rows' height; sizeTotal: all columns' width and all rows' height;
    // sizeBars: the vertical bar's width and the horizontal bar's height.
    CGridScrollLayout(CSize sizeNoBars, CSize sizeFixed, CSize sizeTotal, CSize sizeBars);

    BOOL m_bHideBoth;    // the fixed cells fill the area: no bars at all
    BOOL m_bHorz;        // the horizontal bar is needed
    int m_nHorzMax;      // scroll ranges 0 .. max, in pixels of the non-fixed content
    int m_nVertMax;
    int m_nHorzPage;     // the non-fixed part shown, 0 when nothing scrolls
    int m_nVertPage;
};
