#include "ShpEllipse.h"

#include "AfxArchive.h"
#include "AfxGdi.h"

IMPLEMENT_SERIAL(CShpEllipse, CShape, 1)

void CShpEllipse::Draw(CDC* pDC, BOOL bHandles)
{
    pDC->Ellipse(&m_rect);
    if (bHandles && m_handlesShown)
        DrawHandles(pDC);
}
