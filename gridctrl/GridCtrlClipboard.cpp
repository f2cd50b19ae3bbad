// CGridCtrl: cell texts as plain text for the clipboard and for drags: the rows of the
// selection's bounds, cells separated by tabs and rows by CR LF, as UTF-16 text and in the
// ANSI code page for programs that read only that.
#include "GridCtrl.h"

#include <algorithm>
#include <string.h>

namespace
{

// A block of global memory holding the bytes; NULL when there is no memory.
HGLOBAL GlobalBlockOf(const void* pData, SIZE_T nSize)
{
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, nSize);
    if (hGlobal == NULL)
        return NULL;
    void* p = ::GlobalLock(hGlobal);
    if (p == NULL)
    {
        ::GlobalFree(hGlobal);
        return NULL;
    }
    memcpy(p, pData, nSize);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

// The text of a block: UTF-16 for CF_UNICODETEXT, the ANSI code page for CF_TEXT. It ends
// at its terminator or at the block's end, whichever comes first.
CString TextOfBlock(HGLOBAL hGlobal, BOOL bUnicode)
{
    CString strText;
    const SIZE_T nSize = ::GlobalSize(hGlobal);
    const void* p = ::GlobalLock(hGlobal);
    if (p == NULL)
        return strText;
    if (bUnicode)
    {
        const WCHAR* pw = (const WCHAR*)p;
        int nLength = 0;
        while ((SIZE_T)(nLength + 1) * sizeof(WCHAR) <= nSize && pw[nLength] != 0)
            nLength++;
        strText = CString(pw, nLength);
    }
    else
    {
        const char* pc = (const char*)p;
        int nLength = (int)strnlen(pc, nSize);
        const int nWide = ::MultiByteToWideChar(CP_ACP, 0, pc, nLength, NULL, 0);
        if (nWide > 0)
        {
            LPWSTR pBuffer = strText.GetBuffer(nWide);
            ::MultiByteToWideChar(CP_ACP, 0, pc, nLength, pBuffer, nWide);
            strText.ReleaseBuffer(nWide);
        }
    }
    ::GlobalUnlock(hGlobal);
    return strText;
}

} // namespace

CString CGridCtrl::SelectionAsText(const CCellRange& range)
{
    // Hidden rows and columns leave nothing, not even their separators: each separator
    // stands between two shown fields.
    CString strText;
    BOOL bFirstRow = TRUE;
    for (int nRow = range.m_nMinRow; nRow <= range.m_nMaxRow; nRow++)
    {
        if (GetRowHeight(nRow) <= 0)
            continue;
        if (!bFirstRow)
            strText += L"\r\n";
        bFirstRow = FALSE;
        BOOL bFirstCol = TRUE;
        for (int nCol = range.m_nMinCol; nCol <= range.m_nMaxCol; nCol++)
        {
            if (GetColumnWidth(nCol) <= 0)
                continue;
            if (!bFirstCol)
                strText += L"\t";
            bFirstCol = FALSE;
            if (IsCellSelected(nRow, nCol))
            {
                // In virtual mode the cell is shared: read it before the next one.
                if (const CGridCellBase* pCell = GetCell(nRow, nCol))
                    strText += pCell->GetText();
            }
        }
    }
    return strText;
}

COleDataSource* CGridCtrl::CopySelectionAsText()
{
    const CCellRange range = GetSelectedCellRange();
    if (!IsValidRange(range))
        return NULL;
    if (m_bVirtualMode)
        NotifyCacheHint(range);
    const CString strText = SelectionAsText(range);
    if (m_bVirtualMode)
        NotifyCacheHint(CCellRange());

    // The text with its terminator, in both forms.
    const int nLength = strText.GetLength();
    HGLOBAL hUnicode = GlobalBlockOf((LPCWSTR)strText, (nLength + 1) * sizeof(WCHAR));
    const int nAnsi = ::WideCharToMultiByte(CP_ACP, 0, strText, nLength + 1, NULL, 0, NULL, NULL);
    std::vector<char> ansi(std::max(nAnsi, 1), 0);
    if (nAnsi > 0)
        ::WideCharToMultiByte(CP_ACP, 0, strText, nLength + 1, ansi.data(), nAnsi, NULL, NULL);
    HGLOBAL hAnsi = GlobalBlockOf(ansi.data(), ansi.size());
    if (hUnicode == NULL || hAnsi == NULL)
    {
        if (hUnicode != NULL)
            ::GlobalFree(hUnicode);
        if (hAnsi != NULL)
            ::GlobalFree(hAnsi);
        return NULL;
    }
    COleDataSource* pSource = new COleDataSource;
    pSource->CacheGlobalData(CF_UNICODETEXT, hUnicode);
    pSource->CacheGlobalData(CF_TEXT, hAnsi);
    return pSource;
}

void CGridCtrl::OnEditCopy()
{
    COleDataSource* pSource = CopySelectionAsText();
    if (pSource == NULL)
        return;
    try
    {
        pSource->SetClipboard();
    }
    catch (CException* e)
    {
        // Without OLE there is no clipboard to copy to.
        pSource->InternalRelease();
        e->Delete();
    }
}

void CGridCtrl::OnEditCut()
{
    if (!m_bEditable)
        return;
    OnEditCopy();
    ClearSelectedText();
}

void CGridCtrl::OnEditPaste()
{
    if (!m_bEditable)
        return;
    CCellID cell;
    const CCellRange range = GetSelectedCellRange();
    if (IsValidRange(range))
        cell = CCellID(range.m_nMinRow, range.m_nMinCol);
    else if (IsValidId(m_idCurrentCell))
        cell = m_idCurrentCell;
    else
    {
        const CCellRange visible = GetVisibleNonFixedCellRange();
        cell = CCellID(visible.m_nMinRow, visible.m_nMinCol);
    }
    if (!IsValidId(cell))
        return;

    // An open editor takes the text itself.
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    if (pCell != NULL && pCell->IsEditing() && pCell->GetEditWnd() != NULL)
    {
        pCell->GetEditWnd()->SendMessage(WM_PASTE, 0, 0);
        return;
    }
    COleDataObject data;
    if (data.AttachClipboard())
        PasteTextToGrid(cell, &data, TRUE);
}

BOOL CGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* pDataObject, BOOL bSelectPasted)
{
    if (!IsValidId(cell) || !IsCellEditableId(cell) || pDataObject == NULL)
        return FALSE;
    // The UTF-16 text when there is one: the ANSI form loses what its code page lacks.
    const BOOL bUnicode = pDataObject->IsDataAvailable(CF_UNICODETEXT);
    if (!bUnicode && !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    HGLOBAL hGlobal = pDataObject->GetGlobalData(bUnicode ? CF_UNICODETEXT : CF_TEXT);
    if (hGlobal == NULL)
        return FALSE;
    const CString strText = TextOfBlock(hGlobal, bUnicode);
    ::GlobalFree(hGlobal);
    PasteText(cell, strText, bSelectPasted);
    return TRUE;
}

void CGridCtrl::PasteText(CCellID cell, const CString& strText, BOOL bSelectPasted)
{
    CCellRange pasted(cell.row, cell.col, cell.row, cell.col);
    int nRowOffset = 0;
    int nLineStart = 0;
    const int nLength = strText.GetLength();
    while (nLineStart < nLength)
    {
        int nLineEnd = strText.Find(L'\n', nLineStart);
        const BOOL bLast = nLineEnd < 0;
        if (bLast)
            nLineEnd = nLength;
        CString strLine = strText.Mid(nLineStart, nLineEnd - nLineStart);
        if (!strLine.IsEmpty() && strLine[strLine.GetLength() - 1] == L'\r')
            strLine = strLine.Left(strLine.GetLength() - 1);
        nLineStart = nLineEnd + 1;

        // Hidden rows are passed over; what falls beyond the last row is dropped.
        int nRow = cell.row + nRowOffset;
        while (nRow < m_nRows && GetRowHeight(nRow) == 0)
        {
            nRow++;
            nRowOffset++;
        }
        // Only tabs part cells: a comma belongs to the text, as in "Rouge, vif".
        int nColOffset = 0;
        int nCellStart = 0;
        while (nCellStart < strLine.GetLength())
        {
            int nCellEnd = strLine.Find(L'\t', nCellStart);
            if (nCellEnd < 0)
                nCellEnd = strLine.GetLength();
            CString strCell = strLine.Mid(nCellStart, nCellEnd - nCellStart);
            nCellStart = nCellEnd + 1;

            int nCol = cell.col + nColOffset;
            while (nCol < m_nCols && GetColumnWidth(nCol) == 0)
            {
                nCol++;
                nColOffset++;
            }
            if (IsValid(nRow, nCol))
            {
                strCell.Trim();
                ChangeCellText(nRow, nCol, strCell);
                SetItemState(nRow, nCol, GetItemState(nRow, nCol) & ~GridCellSelected);
                pasted.m_nMaxRow = std::max(pasted.m_nMaxRow, nRow);
                pasted.m_nMaxCol = std::max(pasted.m_nMaxCol, nCol);
            }
            nColOffset++;
        }
        nRowOffset++;
        if (bLast)
            break;
    }

    if (bSelectPasted)
    {
        SetSelectedRangeFrom(pasted, TRUE, TRUE);
    }
    else
    {
        ResetSelectedRange();
        Refresh();
    }
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_SelectedCellMap.empty());
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bEditable && !m_SelectedCellMap.empty());
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    BOOL bEnable = FALSE;
    if (IsValidId(m_idCurrentCell) && IsCellEditableId(m_idCurrentCell))
    {
        COleDataObject data;
        bEnable = data.AttachClipboard() &&
                  (data.IsDataAvailable(CF_UNICODETEXT) || data.IsDataAvailable(CF_TEXT));
    }
    pCmdUI->Enable(bEnable);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bEnableSelection);
}
