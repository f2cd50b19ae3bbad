// CShpRectangle: the selection shape drawn as a rectangle. Both shapes of the document are
// of this class.
#pragma once

#include "Shape.h"

class CShpRectangle : public CShape
{
    DECLARE_SERIAL(CShpRectangle)

public:
    void Draw(CDC* pDC, BOOL bHandles) override;
};
