// CGridCellCheck: a text cell with a check box at its left, which a click on the box or
// Space toggles. The cell holds a choice: nothing opens a text editor over it.
#pragma once

#include "GridCell.h"

class CGridCellCheck : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellCheck)
public:
    CGridCellCheck();

    // Returns the previous value and redraws the cell where it was last drawn.
    BOOL SetCheck(BOOL bChecked = TRUE);
    BOOL GetCheck() const { return m_bChecked; }
    // The box in client coordinates, from where the cell was last drawn.
    CRect GetCheckRect() const;

    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
    BOOL GetTextRect(LPRECT pRect) override;
    CSize GetCellExtent(CDC* pDC) override;
    void OnClick(CPoint pointCellRelative) override;
    // Space toggles the box; no other key, click or character edits the cell.
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;

protected:
    void Toggle();
    // Redraws the last drawn rectangle, when there is one.
    void InvalidateLastRect();

    BOOL m_bChecked;
    CRect m_rectLast;   // where the cell was last drawn, in the grid's client area
};
