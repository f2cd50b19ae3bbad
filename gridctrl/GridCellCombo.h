// CGridCellCombo: a text cell edited with a drop-down list of options. While the grid is
// editable and the cell is not being edited, it shows a drop-down button at its right.
#pragma once

#include "AfxColl.h"
#include "GridCell.h"

class CGridCellCombo : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellCombo)
public:
    CGridCellCombo();

    // Replaces the options with a copy.
    void SetOptions(const CStringArray& options);
    const CStringArray& GetOptions() const { return m_arOptions; }
    // CBS_SIMPLE, CBS_DROPDOWN (the default) or CBS_DROPDOWNLIST.
    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetStyle() const { return m_dwStyle; }

    // Opens a CInPlaceList over the cell with the options; FALSE, with the edit ended, when
    // its window cannot be made.
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    // The list's edit part, NULL for a list without one.
    CWnd* GetEditWnd() const override;

    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
    CSize GetCellExtent(CDC* pDC) override;

protected:
    CStringArray m_arOptions;
    DWORD m_dwStyle;
};
