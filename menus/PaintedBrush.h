// CPaintedBrush: a brush of the menu bar and the dock bars, solid or a horizontal gradient
// of two colours, kept by its kind and colours in the CPaintedBrushList cache.
#pragma once

#include "AfxGdi.h"

class CPaintedBrush : public CBrush
{
    DECLARE_DYNAMIC(CPaintedBrush)
public:
    // Kinds 8 and 10 fade from crFrom to crTo (except on systems without pattern brushes of
    // that width); every other kind is solid crFrom.
    CPaintedBrush(int nKind, COLORREF crFrom, COLORREF crTo);

    BOOL IsBrushOf(int nKind, COLORREF crFrom, COLORREF crTo) const;

    int m_nKind;
    COLORREF m_crFrom;
    COLORREF m_crTo;
};
