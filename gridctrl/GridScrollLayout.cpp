#include "GridScrollLayout.h"

#include <algorithm>

CGridScrollLayout::CGridScrollLayout(CSize sizeNoBars, CSize sizeFixed, CSize sizeTotal,
                                     CSize sizeBars)
    : m_bHideBoth(FALSE), m_bHorz(FALSE), m_nHorzMax(0), m_nVertMax(0), m_nHorzPage(0),
      m_nVertPage(0)
{
    if (sizeFixed.cx >= sizeNoBars.cx || sizeFixed.cy >= sizeNoBars.cy)
    {
        m_bHideBoth = TRUE;
        return;
    }
    const int nContentWidth = sizeTotal.cx - sizeFixed.cx;
    const int nContentHeight = sizeTotal.cy - sizeFixed.cy;
    // The vertical bar may leave no room at all beside the fixed columns.
    const int nVisibleWidth = std::max(0, (int)(sizeNoBars.cx - sizeBars.cx - sizeFixed.cx));
    int nVisibleHeight = sizeNoBars.cy - sizeFixed.cy;
    m_bHorz = nContentWidth > nVisibleWidth;
    if (m_bHorz)
        nVisibleHeight = std::max(0, (int)(nVisibleHeight - sizeBars.cy));
    if (nContentHeight > nVisibleHeight)
    {
        m_nVertMax = nContentHeight - 1;
        m_nVertPage = nVisibleHeight;
    }
    if (m_bHorz)
    {
        m_nHorzMax = nContentWidth - 1;
        m_nHorzPage = nVisibleWidth;
    }
}
