#include "GridCtrl2.h"

CGridCtrl2::CGridCtrl2(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : CGridCtrl(nRows, nCols, nFixedRows, nFixedCols), m_nColourRows(0)
{
}

CGridCtrl2::~CGridCtrl2() {}

BOOL CGridCtrl2::ReadColourComponent(LPCTSTR szText, int& nValue)
{
    CString strText(szText);
    strText.Trim();
    const int nLength = strText.GetLength();
    if (nLength == 0)
        return FALSE;
    nValue = 0;
    for (int i = 0; i < nLength; i++)
    {
        if (strText[i] < L'0' || strText[i] > L'9')
            return FALSE;
        nValue = nValue * 10 + (strText[i] - L'0');
        if (nValue > 255)
            return FALSE;
    }
    return TRUE;
}

BOOL CGridCtrl2::GetRowColour(int nRow, COLORREF& clr) const
{
    int nRed, nGreen, nBlue;
    if (!ReadColourComponent(GetItemText(nRow, COL_RED), nRed) ||
        !ReadColourComponent(GetItemText(nRow, COL_GREEN), nGreen) ||
        !ReadColourComponent(GetItemText(nRow, COL_BLUE), nBlue))
        return FALSE;
    clr = RGB(nRed, nGreen, nBlue);
    return TRUE;
}

BOOL CGridCtrl2::SyncColourRow(int nRow)
{
    if (nRow >= GetRowCount() || COL_BLUE >= GetColumnCount())
        return FALSE;
    BOOL bChanged = FALSE;
    for (int nCol = COL_RED; nCol <= COL_BLUE; nCol++)
    {
        int nValue;
        const BOOL bRefused = !ReadColourComponent(GetItemText(nRow, nCol), nValue);
        const BOOL bFlagged = GetItemBackColour(nRow, nCol) == REFUSED_COLOUR;
        if (bRefused != bFlagged)
        {
            SetItemBackColour(nRow, nCol, bRefused ? REFUSED_COLOUR : CLR_DEFAULT);
            bChanged = TRUE;
        }
    }
    COLORREF clr;
    if (GetRowColour(nRow, clr) && GetItemBackColour(nRow, COL_SWATCH) != clr)
    {
        SetItemBackColour(nRow, COL_SWATCH, clr);
        SetItemState(nRow, COL_SWATCH, GetItemState(nRow, COL_SWATCH) | GridCellReadOnly);
        bChanged = TRUE;
    }
    return bChanged;
}

void CGridCtrl2::OnDraw(CDC* pDC)
{
    BOOL bChanged = FALSE;
    for (int nRow = 1; nRow <= m_nColourRows; nRow++)
        bChanged |= SyncColourRow(nRow);
    // The next paint finds everything in step and changes nothing.
    if (bChanged)
        Refresh();
    CGridCtrl::OnDraw(pDC);
}
