// CGridCtrl: printing through the framework's print protocol. Each page has a header with
// the window's title, the column headings, the rows that fit, and a footer with the page
// number; with print as on screen the columns are cut into pages across as well.
#include "GridCtrl.h"

#include <algorithm>

#include "AfxPrint.h"
#include "AfxTime.h"

namespace
{

// Measured for the printer's character size; its last letter is left out of the measure.
const WCHAR s_szAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";

// The black rule under the header and over the footer.
void DrawRule(CDC* pDC, int nLeft, int nRight, int y)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 0, RGB(0, 0, 0)))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(nLeft, y);
    pDC->LineTo(nRight, y);
    pDC->SelectObject(pOldPen);
}

} // namespace

int CGridCtrl::PageStartLine(GridAxis axis, int nPageExtent, int nBand, int& nPages) const
{
    int nFirst = FixedLineCount(axis);
    int nStart = nFirst;
    int nSum = 0;
    nPages = 1;
    for (int nLine = nFirst; nLine < LineCount(axis); nLine++)
    {
        const int nSize = LineSize(axis, nLine);
        nSum += nSize;
        if (nSum > nPageExtent)
        {
            // The line that overflows starts the next page.
            nPages++;
            nSum = nSize;
            if (nPages == nBand)
                nStart = nLine;
        }
    }
    return nBand <= 1 ? nFirst : nStart;
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == NULL || pInfo == NULL || GetSafeHwnd() == NULL)
        return;
    CDC* pScreenDC = GetDC();
    if (pScreenDC == NULL)
        return;

    m_PrinterFont.DeleteObject();
    m_PrinterFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                             OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
    const CSize sizeAlphabet = pDC->GetTextExtent(s_szAlphabet, 52);
    m_CharSize = CSize(sizeAlphabet.cx / 52, sizeAlphabet.cy);
    m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    const int nMarginWidth = m_CharSize.cx * (m_nLeftMargin + m_nRightMargin);

    if (m_bPrintAsOnScreen)
    {
        m_LogicalPageSize.cx = pScreenDC->GetDeviceCaps(LOGPIXELSX) * m_PaperSize.cx /
                               pDC->GetDeviceCaps(LOGPIXELSX) * 3 / 4;
        m_LogicalPageSize.cy = m_PaperSize.cy * pScreenDC->GetDeviceCaps(LOGPIXELSY) /
                               pDC->GetDeviceCaps(LOGPIXELSY) * 3 / 4;
    }
    else
    {
        m_LogicalPageSize.cx = nMarginWidth + GetVirtualWidth();
        m_LogicalPageSize.cy = ::MulDiv(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
    }

    m_nPageHeight = m_LogicalPageSize.cy -
                    (m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * m_CharSize.cy -
                    GetFixedRowHeight();
    m_nPageWidth = m_LogicalPageSize.cx - GetFixedColumnWidth() - nMarginWidth;
    int nPagesDown = 1;
    PageStartLine(AxisRows, m_nPageHeight, 1, nPagesDown);
    m_nPageMultiplier = 1;
    if (m_bPrintAsOnScreen)
        PageStartLine(AxisColumns, m_nPageWidth, 1, m_nPageMultiplier);
    m_nNumPages = nPagesDown * m_nPageMultiplier;

    pInfo->SetMaxPage(m_nNumPages);
    pInfo->m_nCurPage = 1;
    ReleaseDC(pScreenDC);
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == NULL || pInfo == NULL || m_PrinterFont.GetSafeHandle() == NULL)
        return;
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageSize);
    pDC->SetViewportExt(m_PaperSize);
    const int nLeftOrigin = -m_nLeftMargin * m_CharSize.cx;
    pDC->SetWindowOrg(nLeftOrigin, 0);

    const int nMarginWidth = m_CharSize.cx * (m_nLeftMargin + m_nRightMargin);
    pInfo->m_rectDraw = CRect(0, 0, m_LogicalPageSize.cx - nMarginWidth,
                              m_nHeaderHeight * m_CharSize.cy);
    PrintHeader(pDC, pInfo);
    // The table starts below the header, the gap and its headings.
    pDC->OffsetWindowOrg(0, -(m_nHeaderHeight + m_nGap) * m_CharSize.cy - GetFixedRowHeight());

    const int nPage = (int)pInfo->m_nCurPage;
    const int nAcross = std::max(m_nPageMultiplier, 1);
    const int nRowBand = (nPage + nAcross - 1) / nAcross;
    const int nColBand = nPage - (nRowBand - 1) * nAcross;
    int nPages;
    m_nCurrPrintRow = PageStartLine(AxisRows, m_nPageHeight, nRowBand, nPages);
    m_nPrintColumn = PageStartLine(AxisColumns, m_nPageWidth, nColBand, nPages);

    PrintFixedColumnCells(pDC, pInfo);
    PrintColumnHeadings(pDC, pInfo);

    // The rows of the band that fit, each from the band's first column.
    const int nFixedWidth = GetFixedColumnWidth();
    PrintPageRows(pDC, m_nPrintColumn, m_nCols, nFixedWidth, nFixedWidth + m_nPageWidth, FALSE);

    pInfo->m_rectDraw = CRect(0, 0, m_LogicalPageSize.cx - nMarginWidth,
                              m_nFooterHeight * m_CharSize.cy);
    pDC->SetWindowOrg(nLeftOrigin, m_nFooterHeight * m_CharSize.cy - m_LogicalPageSize.cy);
    PrintFooter(pDC, pInfo);
    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_PrinterFont.DeleteObject();
}

void CGridCtrl::PrintGridLines(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bFirstCol)
{
    CPen pen;
    if (m_nGridLines == GridLinesNone || !pen.CreatePen(PS_SOLID, 0, m_crGridLineColour))
        return;
    CPen* pOldPen = pDC->SelectObject(&pen);
    if ((m_nGridLines & GridLinesHorz) != 0)
    {
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.right, rect.bottom);
        if (nRow == 0)
        {
            pDC->MoveTo(rect.left, rect.top);
            pDC->LineTo(rect.right, rect.top);
        }
    }
    if ((m_nGridLines & GridLinesVert) != 0)
    {
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom);
        if (nCol == 0 || bFirstCol)
        {
            pDC->MoveTo(rect.left, rect.top);
            pDC->LineTo(rect.left, rect.bottom);
        }
    }
    pDC->SelectObject(pOldPen);
}

int CGridCtrl::PrintRowCells(int nRow, int nFirstCol, int nEndCol, CRect rect, CDC* pDC,
                             BOOL bFirst)
{
    int x = rect.left;
    for (int nCol = nFirstCol; nCol < nEndCol; nCol++)
    {
        const int nWidth = GetColumnWidth(nCol);
        if (x + nWidth > rect.right)
            break;
        if (nWidth > 0)
        {
            const CRect rectCell(x, rect.top, x + nWidth, rect.bottom);
            if (CGridCellBase* pCell = GetCell(nRow, nCol))
                pCell->PrintCell(pDC, nRow, nCol, rectCell);
            PrintGridLines(pDC, nRow, nCol, rectCell, bFirst);
            bFirst = FALSE;
        }
        x += nWidth;
    }
    return x;
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo*)
{
    const int nFixedWidth = GetFixedColumnWidth();
    int y = -GetFixedRowHeight();
    for (int nRow = 0; nRow < m_nFixedRows; nRow++)
    {
        const int nHeight = GetRowHeight(nRow);
        if (nHeight > 0)
        {
            // The corner over the fixed columns, then the band's headings.
            if (m_nPrintColumn >= m_nFixedCols)
                PrintRowCells(nRow, 0, m_nFixedCols, CRect(0, y, nFixedWidth, y + nHeight), pDC,
                              TRUE);
            PrintRowCells(nRow, m_nPrintColumn, m_nCols,
                          CRect(nFixedWidth, y, nFixedWidth + m_nPageWidth, y + nHeight), pDC,
                          m_nFixedCols == 0);
        }
        y += nHeight;
    }
}

void CGridCtrl::PrintPageRows(CDC* pDC, int nFirstCol, int nEndCol, int nLeft, int nRight,
                              BOOL bFirst)
{
    int y = 0;
    for (int nRow = m_nCurrPrintRow; nRow < m_nRows; nRow++)
    {
        const int nHeight = GetRowHeight(nRow);
        if (y + nHeight > m_nPageHeight)
            break;
        if (nHeight > 0)
            PrintRowCells(nRow, nFirstCol, nEndCol, CRect(nLeft, y, nRight, y + nHeight), pDC,
                          bFirst);
        y += nHeight;
    }
}

void CGridCtrl::PrintFixedColumnCells(CDC* pDC, CPrintInfo*)
{
    PrintPageRows(pDC, 0, m_nFixedCols, 0, GetFixedColumnWidth(), TRUE);
}

void CGridCtrl::PrintTitleLine(CDC* pDC, const CRect& rect, const CString& strMain,
                               UINT nMainFormat, const CString& strRight, int yRule)
{
    CFont fontBold;
    LOGFONT lf;
    if (m_PrinterFont.GetLogFont(&lf) != 0)
    {
        lf.lfWeight = FW_BOLD;
        fontBold.CreateFontIndirect(&lf);
    }
    CFont* pOldFont = fontBold.GetSafeHandle() != NULL ? pDC->SelectObject(&fontBold) : NULL;
    pDC->SetBkMode(TRANSPARENT);
    CRect rectText = rect;
    pDC->DrawText(strMain, rectText, nMainFormat | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->DrawText(strRight, rectText, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    DrawRule(pDC, rect.left, rect.right, yRule);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo)
{
    // The title of the nearest window up from the grid that has one.
    CString strTitle;
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != NULL && strTitle.IsEmpty();
         hWnd = ::GetParent(hWnd))
        CWnd::FromHandle(hWnd)->GetWindowText(strTitle);
    CString strApp;
    strApp.LoadString(0xE000);
    PrintTitleLine(pDC, pInfo->m_rectDraw, strTitle, DT_CENTER, strApp, pInfo->m_rectDraw.bottom);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo)
{
    CString strPage;
    strPage.Format(L"Page %d of %d", (int)pInfo->m_nCurPage, m_nNumPages);
    PrintTitleLine(pDC, pInfo->m_rectDraw, strPage, DT_LEFT,
                   CTime::GetCurrentTime().Format(L"%c"), pInfo->m_rectDraw.top);
}
