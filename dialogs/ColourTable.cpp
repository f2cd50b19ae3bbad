#include "ColourTable.h"

#include "GridCellBase.h"
#include "Paving.h"

namespace
{

const int kRowHeight = 35;

bool IsBlank(WCHAR ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\n' || ch == L'\r' || ch == L'\v' || ch == L'\f';
}

}   // namespace

void SetUpColourTable(CGridCtrl& grid, int nRows, int nCols)
{
    // A grid with a window would fit its scroll bars after each change.
    grid.SetRedraw(FALSE);
    grid.DeleteAllItems();
    grid.SetColumnCount(nCols);
    grid.SetRowCount(nRows);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowSelection(FALSE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetHandleTabKey(TRUE);
    for (int nRow = 0; nRow < nRows; nRow++)
        grid.SetRowHeight(nRow, kRowHeight);
    grid.SetRedraw(TRUE);
}

void CentreCell(CGridCtrl& grid, int nRow, int nCol)
{
    grid.SetItemFormat(nRow, nCol, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SetColourNameCell(CGridCtrl& grid, int nRow, int nCol, const C2Palette& palette,
                       int nColour)
{
    const PaletteEntry& entry = palette.m_colours[nColour];
    const COLORREF colour = RGB(entry.peRed, entry.peGreen, entry.peBlue);
    grid.SetItemText(nRow, nCol, palette.m_colourNames[nColour]);
    CentreCell(grid, nRow, nCol);
    grid.SetItemBackColour(nRow, nCol, colour);
    grid.SetItemTextColour(nRow, nCol, ContrastTextColour(colour));
    grid.SetItemState(nRow, nCol, grid.GetItemState(nRow, nCol) | GridCellReadOnly);
}

int ReadPercent(LPCWSTR lpszText)
{
    const WCHAR* p = lpszText;
    while (IsBlank(*p))
        p++;
    const bool bNegative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        p++;
    int nValue = 0;
    // Past 100 the exact value no longer matters, and it must not overflow.
    for (; *p >= L'0' && *p <= L'9'; p++)
        if (nValue <= 100)
            nValue = nValue * 10 + (*p - L'0');
    if (bNegative)
        return 0;
    return nValue > 100 ? 100 : nValue;
}

int ReadPercentCell(const CGridCtrl& grid, int nRow, int nCol)
{
    const CString strText = grid.GetItemText(nRow, nCol);
    return ReadPercent(strText);
}
