// CPaintedBrushList: the library-wide cache of the bar brushes, by kind and colours.
#pragma once

#include "AfxColl.h"

class CPaintedBrush;

class CPaintedBrushList : public CObList
{
    DECLARE_DYNAMIC(CPaintedBrushList)
public:
    CPaintedBrushList();
    virtual ~CPaintedBrushList();

    // The brush of these colours, made and kept on first use; the last one found is tried first.
    CPaintedBrush* FindBrush(int nKind, COLORREF crFrom, COLORREF crTo);

    // The cache, made on first use; DeleteBrushList at library end.
    static CPaintedBrushList* GetBrushList();
    static void DeleteBrushList();

    CPaintedBrush* m_pLastFound;
};
