// CGridCtrl: construction, the window class, counts and sizes, cells and items, focus,
// selection state and notifications. Layout and scrolling are in GridCtrlLayout.cpp,
// painting and auto-sizing in GridCtrlPaint.cpp.
#include "GridCtrl.h"

#include <algorithm>
#include <new>

#include "AfxApp.h"
#include "AfxException.h"
#include "AfxRes.h"
#include "AfxResource.h"
#include "GridCell.h"

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_MESSAGE(WM_IME_CHAR, OnImeChar)
    ON_WM_SYSKEYDOWN()
    ON_NOTIFY(LVN_ENDLABELEDITW, IDC_INPLACE_CONTROL, OnEndInPlaceEdit)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
    : m_pRtcDefault(RUNTIME_CLASS(CGridCell)), m_pImageList(NULL), m_virtualRecord()
{
    RegisterWindowClass();

    if (!AfxOleInit())
        AfxMessageBox(L"OLE initialization failed. Make sure that the OLE libraries are the "
                      L"correct version",
                      MB_OK);

    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_BTNFACE);
    m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crGridLineColour = RGB(192, 192, 192);

    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    m_nVScrollMax = m_nHScrollMax = 0;
    m_nRedrawHolds = 0;
    m_bScrollBarsHeldBack = FALSE;
    m_nRowsPerWheelNotch = GetMouseScrollLines();

    m_bVirtualMode = FALSE;
    m_nGridLines = GridLinesBoth;
    m_bEditable = TRUE;
    m_bModified = TRUE;
    m_bAllowDragAndDrop = FALSE;
    m_bListMode = FALSE;
    m_bSingleRowSelection = FALSE;
    m_bSingleColSelection = FALSE;
    m_bAllowDraw = TRUE;
    m_bEnableSelection = TRUE;
    m_bFixedColumnSelection = TRUE;
    m_bFixedRowSelection = TRUE;
    m_bSortOnClick = FALSE;
    m_bHandleTabKey = TRUE;
    m_bTitleTips = TRUE;
    m_nBarState = 0;
    m_bPrintAsOnScreen = FALSE;
    m_bHiddenColUnhide = TRUE;
    m_bHiddenRowUnhide = TRUE;
    m_bAllowColHide = TRUE;
    m_bAllowRowHide = TRUE;
    m_bHighlightHeadings = TRUE;
    m_bFrameFocus = TRUE;
    m_nAutoSizeScope = GridAutoSizeAll;
    m_nResizeCaptureRange = 3;
    m_bAllowRowResize = TRUE;
    m_bAllowColumnResize = TRUE;
    m_bAscending = TRUE;
    m_nSortColumn = -1;
    m_nDragColumn = -1;
    m_bDropMovesRows = true;
    m_bDestroying = false;
    m_bColumnDrag = false;
    m_bTabLeaves = false;
    m_bRowSelectionWithFixedCols = false;
    m_nMouseMode = GridMouseNone;
    m_bLMouseButtonDown = FALSE;
    m_nSizingLine = -1;
    m_nDragRow = -1;
    m_pfnCompare = NULL;
    m_pfnVirtualCompare = NULL;
    m_pfnCallback = NULL;
    m_lCallbackParam = 0;
    m_nPageHeight = m_nPageWidth = 0;
    m_nPrintColumn = m_nCurrPrintRow = 0;
    m_nNumPages = 0;
    m_nPageMultiplier = 1;

    SetupDefaultCells();
    m_crGridBkColour = m_crShadow;

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);

    m_crTTipBackColour = CLR_DEFAULT;
    m_crTTipTextColour = CLR_DEFAULT;
    m_SelectedCellMap.clear();
    m_PrevSelectedCellMap.clear();
    m_bPrintColours = TRUE;
    m_nHeaderHeight = m_nFooterHeight = m_nLeftMargin = m_nRightMargin = 0;
    m_nTopMargin = m_nBottomMargin = m_nGap = 0;
    SetPrintMargins(2, 2, 4, 4, 1, 1, 1);
}

CGridCtrl::~CGridCtrl()
{
    m_bDestroying = true;
    DeleteAllItems();
    if (m_TitleTip.GetSafeHwnd() != NULL)
        m_TitleTip.DestroyWindow();
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    // What this program copied stays on the clipboard after it ends.
    if (COleDataSource::GetClipboardOwner() != NULL)
        COleDataSource::FlushClipboard();
}

BOOL CGridCtrl::RegisterWindowClass()
{
    WNDCLASSW wndcls = {};
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (::GetClassInfoW(hInst, GRIDCTRL_CLASSNAME, &wndcls))
        return TRUE;
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wndcls.hbrBackground = (HBRUSH)(COLOR_3DFACE + 1);
    wndcls.lpszClassName = GRIDCTRL_CLASSNAME;
    if (!::RegisterClassW(&wndcls))
        AfxThrowResourceException();
    return TRUE;
}

void CGridCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    ForceFrameUpdate();
}

void CGridCtrl::ForceFrameUpdate()
{
    static BOOL s_bInProcedure = FALSE;
    if (s_bInProcedure)
        return;
    s_bInProcedure = TRUE;
    m_TitleTip.SetParentWnd(this);
    ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    // Moving the window out and back makes the system recompute its frame.
    CRect rect;
    GetWindowRect(rect);
    HWND hWndParent = (GetStyle() & WS_CHILD) != 0 ? ::GetParent(m_hWnd) : NULL;
    ::MapWindowPoints(NULL, hWndParent, (LPPOINT)(LPRECT)rect, 2);
    CRect rectGrown = rect;
    rectGrown.InflateRect(1, 1);
    MoveWindow(rectGrown);
    MoveWindow(rect);
    s_bInProcedure = FALSE;
}

void CGridCtrl::SetupDefaultCells()
{
    CGridDefaultCell* const cells[] = { &m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef,
                                        &m_cellFixedRowColDef };
    for (CGridDefaultCell* pCell : cells)
    {
        pCell->SetGrid(this);
        pCell->SetTextColour(m_crWindowText);
        pCell->SetBackColour(pCell == &m_cellDefault ? m_crWindowColour : m_cr3DFace);
    }
}

void CGridCtrl::SetPrintMargins(int nHeader, int nFooter, int nLeft, int nRight, int nTop,
                                int nBottom, int nGap)
{
    int* const fields[] = { &m_nHeaderHeight, &m_nFooterHeight, &m_nLeftMargin, &m_nRightMargin,
                            &m_nTopMargin, &m_nBottomMargin, &m_nGap };
    const int values[] = { nHeader, nFooter, nLeft, nRight, nTop, nBottom, nGap };
    for (int i = 0; i < 7; i++)
    {
        if (values[i] >= 0)
            *fields[i] = values[i];
    }
}

namespace
{

// Runs a resize step; a memory failure is shown as the framework shows one and gives FALSE.
template <class Step>
BOOL WithMemoryReport(Step step)
{
    try
    {
        return step();
    }
    catch (CMemoryException* e)
    {
        e->ReportError();
        e->Delete();
    }
    catch (const std::bad_alloc&)
    {
        CMemoryException e(FALSE);
        e.ReportError();
    }
    return FALSE;
}

} // namespace

// ---- Counts ----------------------------------------------------------------------------------

void CGridCtrl::ResetColumnOrder(int nCols)
{
    m_arColOrder.resize(nCols);
    for (int i = 0; i < nCols; i++)
        m_arColOrder[i] = i;
}

void CGridCtrl::DestroyRow(int nRow)
{
    for (int nCol = 0; nCol < m_nCols; nCol++)
        DestroyCell(nRow, nCol);
    delete m_RowData[nRow];
    m_RowData[nRow] = NULL;
}

void CGridCtrl::FreeRows(int nFirstRow)
{
    for (int nRow = nFirstRow; nRow < (int)m_RowData.size(); nRow++)
    {
        if (m_RowData[nRow] != NULL)
        {
            for (CGridCellBase* pCell : *m_RowData[nRow])
                delete pCell;
            delete m_RowData[nRow];
        }
    }
    m_RowData.resize(nFirstRow);
}

BOOL CGridCtrl::FillRow(GRID_ROW& row, int nRow)
{
    for (int nCol = 0; nCol < m_nCols; nCol++)
    {
        CGridCellBase* pCell = CreateCell(nRow, nCol);
        if (pCell == NULL)
            return FALSE;
        row[m_arColOrder[nCol]] = pCell;
    }
    return TRUE;
}

BOOL CGridCtrl::SetRowCount(int nRows)
{
    if (nRows < 0)
        return FALSE;
    if (nRows == m_nRows)
        return TRUE;

    m_idTopLeftCell = CCellID();
    if (nRows < m_nFixedRows)
        m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows)
        SetFocusCell(CCellID());

    if (!m_bVirtualMode && nRows < m_nRows)
    {
        for (int nRow = nRows; nRow < m_nRows; nRow++)
            DestroyRow(nRow);
        m_RowData.resize(nRows);
    }
    if (nRows < m_nRows)
        m_nRows = nRows;

    const UINT nHeight = (UINT)m_cellDefault.GetHeight();
    const BOOL bResult = WithMemoryReport([&]() -> BOOL {
        m_arRowHeights.resize(nRows, nHeight);
        if (m_bVirtualMode)
        {
            m_nRows = nRows;
            ResetRowOrder();
            return TRUE;
        }
        // Reserved first: a row is in the array before its cells are made, so that a
        // failure can free them.
        m_RowData.reserve(nRows);
        while (m_nRows < nRows)
        {
            m_RowData.push_back(new GRID_ROW(m_nCols, NULL));
            if (!FillRow(*m_RowData.back(), m_nRows))
                return FALSE;
            m_nRows++;
        }
        return TRUE;
    });
    if (!bResult)
    {
        // The rows completed so far stay, each with its height.
        FreeRows(m_nRows);
        m_arRowHeights.resize(m_nRows);
    }

    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return bResult;
}

BOOL CGridCtrl::SetColumnCount(int nCols)
{
    if (nCols < 0)
        return FALSE;
    if (nCols == m_nCols)
        return TRUE;

    m_idTopLeftCell = CCellID();
    if (m_nFixedCols > nCols)
        m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols)
        SetFocusCell(CCellID());
    // A resize undoes any column move: display and storage columns agree from here on, so
    // that the columns removed are the ones stored last.
    ResetColumnOrder(m_nCols);

    const int nOldCols = m_nCols;
    if (!m_bVirtualMode && nCols < nOldCols)
    {
        for (int nRow = 0; nRow < m_nRows; nRow++)
            for (int nCol = nCols; nCol < nOldCols; nCol++)
                DestroyCell(nRow, nCol);
    }

    const BOOL bResult = WithMemoryReport([&]() -> BOOL {
        m_arColWidths.resize(nCols, (UINT)m_cellFixedColDef.GetWidth());
        if (m_bVirtualMode)
            return TRUE;
        for (int nRow = 0; nRow < m_nRows; nRow++)
        {
            GRID_ROW& row = *m_RowData[nRow];
            row.resize(nCols, NULL);
            for (int nCol = nOldCols; nCol < nCols; nCol++)
            {
                row[nCol] = CreateCell(nRow, nCol);
                if (row[nCol] == NULL)
                    return FALSE;
            }
        }
        return TRUE;
    });
    if (!bResult)
    {
        // Back to the old columns: the grid stays as it was.
        for (GRID_ROW* pRow : m_RowData)
        {
            for (int nCol = nOldCols; nCol < (int)pRow->size(); nCol++)
                delete (*pRow)[nCol];
            pRow->resize(nOldCols);
        }
        m_arColWidths.resize(nOldCols);
        nCols = nOldCols;
    }

    ResetColumnOrder(nCols);
    m_nCols = nCols;
    SetModified(TRUE);
    ResetScrollBars();
    Refresh();
    return bResult;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (nFixedRows < 0)
        return FALSE;
    if (nFixedRows == m_nFixedRows)
        return TRUE;
    ResetSelectedRange();
    if (nFixedRows > m_nRows && !SetRowCount(nFixedRows))
        return FALSE;
    m_idTopLeftCell = CCellID();
    if (m_idCurrentCell.row != -1 && m_idCurrentCell.row < nFixedRows)
        SetFocusCell(CCellID());
    if (!m_bVirtualMode)
        ChangeFixedLines(AxisRows, m_nFixedRows, nFixedRows);
    m_nFixedRows = nFixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (nFixedCols < 0)
        return FALSE;
    if (nFixedCols == m_nFixedCols)
        return TRUE;
    if (nFixedCols > m_nCols && !SetColumnCount(nFixedCols))
        return FALSE;
    ResetSelectedRange();
    m_idTopLeftCell = CCellID();
    if (m_idCurrentCell.col != -1 && m_idCurrentCell.col < nFixedCols)
        SetFocusCell(CCellID());
    if (!m_bVirtualMode)
        ChangeFixedLines(AxisColumns, m_nFixedCols, nFixedCols);
    m_nFixedCols = nFixedCols;
    Refresh();
    return TRUE;
}

// A cell that becomes fixed takes its default cell's colours; one that stops being fixed
// anywhere does too.
void CGridCtrl::ChangeFixedLines(GridAxis axis, int nOldFixed, int nNewFixed)
{
    const BOOL bGrowing = nNewFixed > nOldFixed;
    const DWORD nLineBit = axis == AxisRows ? GridCellFixedRow : GridCellFixedCol;
    const GridAxis across = axis == AxisRows ? AxisColumns : AxisRows;
    for (int nLine = std::min(nOldFixed, nNewFixed); nLine < std::max(nOldFixed, nNewFixed); nLine++)
    {
        for (int nOther = 0; nOther < LineCount(across); nOther++)
        {
            CGridCellBase* pCell = axis == AxisRows ? GetCell(nLine, nOther) : GetCell(nOther, nLine);
            if (pCell == NULL)
                continue;
            const DWORD nState = pCell->GetState();
            if (!bGrowing && nOther < FixedLineCount(across))
            {
                pCell->SetState(nState & ~nLineBit);
                continue;
            }
            pCell->SetState(bGrowing ? nState | GridCellFixed | nLineBit
                                     : nState & ~(GridCellFixed | nLineBit));
            pCell->SetBackColour(CLR_DEFAULT);
            pCell->SetTextColour(CLR_DEFAULT);
        }
    }
}

BOOL CGridCtrl::DeleteAllItems()
{
    ResetSelectedRange();
    if (m_bVirtualMode)
    {
        m_arRowOrder.clear();
    }
    else
    {
        for (int nRow = 0; nRow < m_nRows; nRow++)
            DestroyRow(nRow);
        m_RowData.clear();
    }
    m_SelectedCellMap.clear();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    m_arColOrder.clear();
    m_idCurrentCell = CCellID();
    m_idTopLeftCell = CCellID();
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    ResetScrollBars();
    SetModified(TRUE);
    return TRUE;
}

// ---- Sizes -----------------------------------------------------------------------------------

int CGridCtrl::GetStorageColumn(int nCol) const
{
    return nCol >= 0 && nCol < m_nCols && nCol < (int)m_arColOrder.size() ? m_arColOrder[nCol] : -1;
}

int CGridCtrl::GetRowHeight(int nRow) const
{
    return nRow >= 0 && nRow < m_nRows ? (int)m_arRowHeights[nRow] : -1;
}

int CGridCtrl::GetColumnWidth(int nCol) const
{
    const int nStorage = GetStorageColumn(nCol);
    return nStorage < 0 ? -1 : (int)m_arColWidths[nStorage];
}

BOOL CGridCtrl::SetRowHeight(int nRow, int nHeight)
{
    if (nRow < 0 || nRow >= m_nRows || nHeight < 0)
        return FALSE;
    m_arRowHeights[nRow] = (UINT)nHeight;
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int nWidth)
{
    const int nStorage = GetStorageColumn(nCol);
    if (nStorage < 0 || nWidth < 0)
        return FALSE;
    m_arColWidths[nStorage] = (UINT)nWidth;
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::FixedExtent(GridAxis axis) const
{
    int nExtent = 0;
    for (int i = 0; i < FixedLineCount(axis); i++)
        nExtent += LineSize(axis, i);
    return nExtent;
}

int CGridCtrl::TotalExtent(GridAxis axis) const
{
    int nExtent = 0;
    for (int i = 0; i < LineCount(axis); i++)
        nExtent += LineSize(axis, i);
    return nExtent;
}

int CGridCtrl::GetFixedRowHeight() const
{
    return FixedExtent(AxisRows);
}

int CGridCtrl::GetFixedColumnWidth() const
{
    return FixedExtent(AxisColumns);
}

int CGridCtrl::GetVirtualHeight() const
{
    return TotalExtent(AxisRows);
}

int CGridCtrl::GetVirtualWidth() const
{
    return TotalExtent(AxisColumns);
}

// ---- Cells -----------------------------------------------------------------------------------

BOOL CGridCtrl::IsValid(int nRow, int nCol) const
{
    return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
}

BOOL CGridCtrl::IsValidRange(const CCellRange& range) const
{
    return range.IsValid() && range.m_nMaxRow < m_nRows && range.m_nMaxCol < m_nCols;
}

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const
{
    return m_bVirtualMode ? GetVirtualCell(nRow, nCol) : GetStoredCell(nRow, nCol);
}

CGridCellBase* CGridCtrl::GetStoredCell(int nRow, int nCol) const
{
    if (m_bVirtualMode || !IsValid(nRow, nCol))
        return NULL;
    const GRID_ROW* pRow = m_RowData[nRow];
    return pRow == NULL ? NULL : (*pRow)[m_arColOrder[nCol]];
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const
{
    CGridCtrl* pThis = const_cast<CGridCtrl*>(this);
    if (bFixedRow && bFixedCol)
        return &pThis->m_cellFixedRowColDef;
    if (bFixedRow)
        return &pThis->m_cellFixedRowDef;
    if (bFixedCol)
        return &pThis->m_cellFixedColDef;
    return &pThis->m_cellDefault;
}

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol)
{
    if (m_pRtcDefault == NULL || !m_pRtcDefault->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return NULL;
    CGridCellBase* pCell = (CGridCellBase*)m_pRtcDefault->CreateObject();
    if (pCell == NULL)
        return NULL;
    pCell->SetGrid(this);
    pCell->SetCoords(nRow, nCol);
    DWORD nState = pCell->GetState();
    if (nCol < m_nFixedCols)
        nState |= GridCellFixed | GridCellFixedCol;
    if (nRow < m_nFixedRows)
        nState |= GridCellFixed | GridCellFixedRow;
    pCell->SetState(nState);
    pCell->SetFormat(pCell->GetDefaultCell()->GetFormat());
    return pCell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol)
{
    if (m_bVirtualMode || !IsValid(nRow, nCol) || m_RowData[nRow] == NULL)
        return;
    SetItemState(nRow, nCol, 0);
    CGridCellBase*& pCell = (*m_RowData[nRow])[m_arColOrder[nCol]];
    delete pCell;
    pCell = NULL;
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell)
{
    if (m_bVirtualMode || pCell == NULL || !IsValid(nRow, nCol))
        return FALSE;
    if (GetCell(nRow, nCol) == pCell)
        return TRUE;
    DestroyCell(nRow, nCol);
    pCell->SetGrid(this);
    pCell->SetCoords(nRow, nCol);
    (*m_RowData[nRow])[m_arColOrder[nCol]] = pCell;
    // The selection map follows the new cell's state.
    if ((pCell->GetState() & GridCellSelected) != 0)
        m_SelectedCellMap[SelectionKey(nRow, nCol)] = CCellID(nRow, nCol);
    return TRUE;
}

BOOL CGridCtrl::SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass)
{
    if (m_bVirtualMode || pRuntimeClass == NULL ||
        !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase)))
        return FALSE;
    CGridCellBase* pOldCell = GetStoredCell(nRow, nCol);
    if (pOldCell == NULL)
        return FALSE;
    CGridCellBase* pNewCell = (CGridCellBase*)pRuntimeClass->CreateObject();
    if (pNewCell == NULL)
        return FALSE;
    *pNewCell = *pOldCell;
    pNewCell->SetCoords(nRow, nCol);
    (*m_RowData[nRow])[m_arColOrder[nCol]] = pNewCell;
    delete pOldCell;
    return TRUE;
}

// ---- Items -----------------------------------------------------------------------------------

CString CGridCtrl::GetItemText(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell == NULL ? CString() : CString(pCell->GetText());
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR szText)
{
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    pCell->SetText(szText);
    SetModified(TRUE, nRow, nCol);
    return TRUE;
}

DWORD CGridCtrl::GetItemState(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell == NULL ? 0 : pCell->GetState();
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, DWORD nState)
{
    if (!IsValid(nRow, nCol))
        return FALSE;
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (!m_bVirtualMode && pCell == NULL)
        return FALSE;
    // The map holds exactly the cells whose state says selected, whether or not selection
    // is enabled at the moment.
    const std::uint64_t nKey = SelectionKey(nRow, nCol);
    if ((nState & GridCellSelected) != 0)
        m_SelectedCellMap[nKey] = CCellID(nRow, nCol);
    else
        m_SelectedCellMap.erase(nKey);
    if (pCell == NULL)
        return FALSE;
    pCell->SetState(nState);
    return TRUE;
}

COLORREF CGridCtrl::GetItemBackColour(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell == NULL ? 0 : pCell->GetBackColour();
}

BOOL CGridCtrl::SetItemBackColour(int nRow, int nCol, COLORREF clr)
{
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    pCell->SetBackColour(clr);
    return TRUE;
}

BOOL CGridCtrl::SetItemTextColour(int nRow, int nCol, COLORREF clr)
{
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    pCell->SetTextColour(clr);
    return TRUE;
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* plf)
{
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    pCell->SetFont(plf);
    return TRUE;
}

const LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell != NULL)
        return pCell->GetFont();
    return GetDefaultCell(nRow >= 0 && nRow < m_nFixedRows, nCol >= 0 && nCol < m_nFixedCols)
        ->GetFont();
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, DWORD nFormat)
{
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    pCell->SetFormat(nFormat);
    return TRUE;
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const
{
    return m_bEditable && IsValid(nRow, nCol) &&
           (GetItemState(nRow, nCol) & GridCellReadOnly) == 0;
}

BOOL CGridCtrl::IsItemEditing(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell != NULL && pCell->IsEditing();
}

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol)
{
    if (nCol < 0 || nCol == m_nSortColumn)
        SetSortColumn(-1);

    if (nRow < 0 || nCol < 0)
    {
        m_bModified = bModified;
    }
    else if (CGridCellBase* pCell = GetStoredCell(nRow, nCol))
    {
        if (bModified)
        {
            pCell->SetState(pCell->GetState() | GridCellModified);
            m_bModified = TRUE;
        }
        else
        {
            pCell->SetState(pCell->GetState() & ~GridCellModified);
        }
    }

    if (!m_bModified && !m_bVirtualMode)
    {
        for (GRID_ROW* pRow : m_RowData)
            for (CGridCellBase* pCell : *pRow)
                if (pCell != NULL)
                    pCell->SetState(pCell->GetState() & ~GridCellModified);
    }
}

LRESULT CGridCtrl::ChangeCellText(int nRow, int nCol, LPCTSTR szText)
{
    if (!IsCellEditable(nRow, nCol))
        return FALSE;
    const LRESULT nAnswer = NotifyOwner(nRow, nCol, LVN_BEGINLABELEDITW);
    if (nAnswer < 0)
        return nAnswer;
    CGridCellBase* pCell = GetStoredCell(nRow, nCol);
    if (pCell == NULL)
        return FALSE;
    if (CString(pCell->GetText()) == (szText == NULL ? L"" : szText))
        return TRUE;
    return StoreCellText(nRow, nCol, pCell, szText);
}

BOOL CGridCtrl::StoreCellText(int nRow, int nCol, CGridCellBase* pCell, LPCTSTR szText)
{
    // The owner and the validation see the new text in the cell; a refused one leaves the
    // cell as it was, modified bit included.
    const CString strOld = pCell->GetText();
    pCell->SetText(szText);
    if (ValidateEdit(nRow, nCol, szText) && NotifyOwner(nRow, nCol, LVN_ENDLABELEDITW) >= 0)
    {
        SetModified(TRUE, nRow, nCol);
        RedrawCell(nRow, nCol);
        return TRUE;
    }
    pCell->SetText(strOld);
    return FALSE;
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR szText)
{
    CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell == NULL || pCell->ValidateEdit(szText);
}

// ---- Focus, selection and sorting ------------------------------------------------------------

CCellID CGridCtrl::SetFocusCell(CCellID cell)
{
    if (cell == m_idCurrentCell)
        return m_idCurrentCell;

    const CCellID idPrev = m_idCurrentCell;
    if (cell.row != -1 && cell.row < m_nFixedRows)
        cell.row = m_nFixedRows;
    if (cell.col != -1 && cell.col < m_nFixedCols)
        cell.col = m_nFixedCols;
    m_idCurrentCell = cell;

    // The cell that loses the focus and the one that gets it, with their headings.
    const CCellID changed[] = { idPrev, cell };
    const CCellID other[] = { cell, idPrev };
    for (int i = 0; i < 2; i++)
    {
        const CCellID& id = changed[i];
        if (!IsValidId(id))
            continue;
        const DWORD nState = GetItemState(id.row, id.col);
        SetItemState(id.row, id.col,
                     i == 0 ? nState & ~GridCellFocused : nState | GridCellFocused);
        RedrawCell(id.row, id.col);
        if (!m_bHighlightHeadings)
            continue;
        if (id.col != other[i].col)
            for (int nRow = 0; nRow < m_nFixedRows; nRow++)
                RedrawCell(nRow, id.col);
        if (id.row != other[i].row)
            for (int nCol = 0; nCol < m_nFixedCols; nCol++)
                RedrawCell(id.row, nCol);
    }
    return idPrev;
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const
{
    if (!m_bEnableSelection)
        return FALSE;
    if (m_bVirtualMode)
        return m_SelectedCellMap.count(SelectionKey(nRow, nCol)) != 0;
    return (GetItemState(nRow, nCol) & GridCellSelected) != 0;
}

void CGridCtrl::ResetSelectedRange()
{
    m_PrevSelectedCellMap.clear();
    if (m_bEnableSelection)
    {
        // Taken out first: unselecting a cell removes it from the map.
        std::vector<CCellID> selected;
        selected.reserve(m_SelectedCellMap.size());
        for (const auto& entry : m_SelectedCellMap)
            selected.push_back(entry.second);
        for (const CCellID& cell : selected)
        {
            SetItemState(cell.row, cell.col,
                         GetItemState(cell.row, cell.col) & ~GridCellSelected);
            InvalidateCellRect(cell.row, cell.col);
        }
    }
    SetFocusCell(CCellID());
}

// ---- Fonts and colours -----------------------------------------------------------------------

LRESULT CGridCtrl::OnSetFont(WPARAM wParam, LPARAM)
{
    const LRESULT nResult = Default();
    LOGFONT lf;
    if (wParam != 0 && ::GetObjectW((HFONT)wParam, sizeof(lf), &lf) == sizeof(lf))
    {
        m_cellDefault.SetFont(&lf);
        m_cellFixedColDef.SetFont(&lf);
        m_cellFixedRowDef.SetFont(&lf);
        m_cellFixedRowColDef.SetFont(&lf);
        Refresh();
    }
    return nResult;
}

LRESULT CGridCtrl::OnGetFont(WPARAM, LPARAM)
{
    return (LRESULT)m_cellDefault.GetFontObject()->GetSafeHandle();
}

void CGridCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    CGridDefaultCell* const cells[] = { &m_cellDefault, &m_cellFixedColDef, &m_cellFixedRowDef,
                                        &m_cellFixedRowColDef };
    for (CGridDefaultCell* pCell : cells)
    {
        if (pCell->GetTextColour() == m_crWindowText)
            pCell->SetTextColour(::GetSysColor(COLOR_WINDOWTEXT));
        if (pCell->GetBackColour() == m_crWindowColour)
            pCell->SetBackColour(::GetSysColor(COLOR_WINDOW));
    }
    if (m_crGridBkColour == m_crShadow)
        m_crGridBkColour = ::GetSysColor(COLOR_BTNSHADOW);
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_BTNFACE);
    m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
}
