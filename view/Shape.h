// CShape: a selection shape, a rectangle in the view's client pixels drawn as a dotted
// outline with eight square handles. The document owns two of them (the select tool's
// rectangle and the text stamp's frame); the view draws them, the editing tools move and
// resize them, scrolling shifts them and the zoom commands rescale them.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxGeometry.h"

class CArchive;
class CDC;

class CShape : public CObject
{
    DECLARE_SERIAL(CShape)

public:
    // Handle boxes, in the order the tools test them.
    enum
    {
        HandleTopLeft = 0,
        HandleTopRight = 1,
        HandleBottomRight = 2,
        HandleBottomLeft = 3,
        HandleTop = 4,
        HandleRight = 5,
        HandleBottom = 6,
        HandleLeft = 7,
        HandleCount = 8
    };
    // What HitTest finds when no handle lies under the point.
    enum { HitInside = 255, HitNothing = -1 };

    CShape();
    ~CShape() override;

    // The rectangle as 16 raw bytes, the hollow byte (0 or 1) and the colour. Loading hides
    // the handles; a short archive throws the archive's end-of-file exception.
    void Serialize(CArchive& ar) override;

    // Draws the shape with the pen and brush selected into pDC, then its handles when
    // bHandles and m_handlesShown are both set. A bare shape draws nothing.
    virtual void Draw(CDC* pDC, BOOL bHandles);

    // The eight handle boxes from the rectangle. Boxes 0 to 4 and 6 keep their top below
    // their bottom, as they always have; GetHandleRect gives them normalised.
    void ComputeHandles();
    CRect GetHandleRect(int nHandle) const;
    // The handle boxes with a black frame and a near-black fill.
    void DrawHandles(CDC* pDC);
    // Keeps the normalised boxes, so that the end of a drag can erase the old handles.
    void SaveHandles();

    // The handle under the point (a later handle wins where boxes overlap), else HitInside
    // for a point of the rectangle, edges included, else HitNothing. The boxes are those of
    // the last ComputeHandles.
    int HitTest(CPoint point) const;
    // Moves what the handle holds to the point: a corner, or one edge for the middle
    // handles. HitNothing moves the bottom-right corner, as for a rectangle being drawn.
    void MoveHandleTo(int nHandle, CPoint point);
    void Offset(int dx, int dy);

    // The shape follows the mosaic when the view's first visible column (row) changes.
    void ScrollX(int nOldCol, int nNewCol, int nZoom, int nPavingType);
    void ScrollY(int nOldRow, int nNewRow, int nZoom, int nPavingType);
    // Rescales the rectangle to another tile size: its edges land on the same tiles, the
    // right and bottom ones one pixel past the end of their last whole tile.
    void Rezoom(int nOldZoom, int nNewZoom);

    CRect m_rect;                        // client pixels; empty at construction
    BYTE m_hollow;                       // outline only (null brush) instead of a white fill
    int m_colour;                        // kept and stored; drawing does not use it
    BYTE m_handlesShown;
    CRect m_handles[HandleCount];
    CRect m_savedHandles[HandleCount];
    int m_pavingType;                    // PavingType, stored by the view before it scrolls
};
