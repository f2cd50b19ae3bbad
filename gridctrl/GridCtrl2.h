// CGridCtrl2: the tile-palette table's grid. Rows 1 to the colour row count each carry a
// colour: column 1 is its swatch, columns 4, 5 and 6 its red, green and blue values as
// decimal texts. Each paint brings the swatches in step with the values typed; a value that
// is no whole number from 0 to 255 is flagged in red and leaves its swatch as it was.
#pragma once

#include "GridCtrl.h"

class CGridCtrl2 : public CGridCtrl
{
public:
    explicit CGridCtrl2(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl2() override;

    // The columns of the palette table.
    enum
    {
        COL_INDEX = 0,
        COL_SWATCH = 1,
        COL_NAME = 2,
        COL_SYMBOL = 3,
        COL_RED = 4,
        COL_GREEN = 5,
        COL_BLUE = 6,
    };
    // The background of a refused value, as the table's other refusals.
    static constexpr COLORREF REFUSED_COLOUR = RGB(192, 0, 0);

    // A colour component as typed: FALSE unless the text, blanks aside, is a decimal number
    // from 0 to 255.
    static BOOL ReadColourComponent(LPCTSTR szText, int& nValue);
    // The colour the row's red, green and blue texts give; FALSE when one is refused.
    BOOL GetRowColour(int nRow, COLORREF& clr) const;

    void SetColourRowCount(int nRows) { m_nColourRows = nRows; }
    int GetColourRowCount() const { return m_nColourRows; }

    void OnDraw(CDC* pDC) override;

protected:
    // Brings the row's swatch and the flags of its values in step with its texts; TRUE
    // when something changed.
    BOOL SyncColourRow(int nRow);

    int m_nColourRows;
};
