#include "ShpRectangle.h"

#include "AfxArchive.h"
#include "AfxGdi.h"

IMPLEMENT_SERIAL(CShpRectangle, CShape, 1)

void CShpRectangle::Draw(CDC* pDC, BOOL bHandles)
{
    pDC->Rectangle(&m_rect);
    if (bHandles && m_handlesShown)
        DrawHandles(pDC);
}
