// CShpEllipse: a selection shape drawn as the ellipse inscribed in its rectangle. The program
// makes none itself; archives may name the class.
#pragma once

#include "Shape.h"

class CShpEllipse : public CShape
{
    DECLARE_SERIAL(CShpEllipse)

public:
    void Draw(CDC* pDC, BOOL bHandles) override;
};
