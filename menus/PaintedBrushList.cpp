#include "PaintedBrushList.h"

#include "PaintedBrush.h"

IMPLEMENT_DYNAMIC(CPaintedBrushList, CObList)

namespace
{
CPaintedBrushList*& BrushList()
{
    static CPaintedBrushList* s_pList = NULL;
    return s_pList;
}
}

CPaintedBrushList::CPaintedBrushList() : m_pLastFound(NULL)
{
}

CPaintedBrushList::~CPaintedBrushList()
{
    POSITION pos = GetHeadPosition();
    while (pos != NULL)
        delete (CPaintedBrush*)GetNext(pos);
    RemoveAll();
}

CPaintedBrush* CPaintedBrushList::FindBrush(int nKind, COLORREF crFrom, COLORREF crTo)
{
    if (m_pLastFound != NULL && m_pLastFound->IsBrushOf(nKind, crFrom, crTo))
        return m_pLastFound;
    POSITION pos = GetHeadPosition();
    while (pos != NULL)
    {
        CPaintedBrush* pBrush = (CPaintedBrush*)GetNext(pos);
        if (pBrush->IsBrushOf(nKind, crFrom, crTo))
            return m_pLastFound = pBrush;
    }
    m_pLastFound = new CPaintedBrush(nKind, crFrom, crTo);
    AddTail(m_pLastFound);
    return m_pLastFound;
}

CPaintedBrushList* CPaintedBrushList::GetBrushList()
{
    CPaintedBrushList*& pList = BrushList();
    if (pList == NULL)
        pList = new CPaintedBrushList();
    return pList;
}

void CPaintedBrushList::DeleteBrushList()
{
    CPaintedBrushList*& pList = BrushList();
    delete pList;
    pList = NULL;
}
