// CGridCtrl: the editable table window every table of the program is built on. It is a
// child window of class "MosaicGridCtrl" holding a rectangle of cells in rows and columns,
// of which the first rows and columns may be fixed headings that never scroll. The grid
// owns its cells (CGridCellBase and its family), draws them, scrolls them in whole rows and
// columns, and tells its owner window what happens through WM_NOTIFY.
//
// Rows and columns are addressed by their displayed index. Columns reach their cells and
// widths through the column order (display index to storage index); rows are stored in
// display order. A height or width of 0 hides its row or column.
//
// The data operations work without a window; drawing, scroll bars and notifications need
// one, which a dialog gives the grid by subclassing a custom control of the class.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "AfxImageList.h"
#include "AfxWin.h"
#include "CellID.h"
#include "CellRange.h"
#include "GridCellBase.h"
#include "GridDefaultCell.h"
#include "GridDropTarget.h"

#define GRIDCTRL_CLASSNAME L"MosaicGridCtrl"

// Which grid lines the non-fixed cells get.
enum GridLinesMode
{
    GridLinesNone = 0,
    GridLinesHorz = 1,
    GridLinesVert = 2,
    GridLinesBoth = 3,
};

// Which cells auto-sizing measures: bits that combine.
enum GridAutoSizeScope
{
    GridAutoSizeDefault = 0,   // the grid's own scope
    GridAutoSizeFixed = 1,
    GridAutoSizeNonFixed = 2,
    GridAutoSizeAll = 3,
};

// The record of the grid's notifications: the header, then the cell concerned.
struct NM_GRIDVIEW
{
    NMHDR hdr;
    int iRow;
    int iColumn;
};

class CGridCtrl : public CWnd
{
    DECLARE_DYNCREATE(CGridCtrl)
public:
    explicit CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;

    // Registers "MosaicGridCtrl" once per process; throws CResourceException when the
    // system refuses.
    static BOOL RegisterWindowClass();

    // ---- Counts and sizes: FALSE, and nothing changed, for an argument out of range -------
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    BOOL SetRowCount(int nRows);
    BOOL SetColumnCount(int nCols);
    BOOL SetFixedRowCount(int nFixedRows);
    BOOL SetFixedColumnCount(int nFixedCols);

    // -1 out of range.
    int GetRowHeight(int nRow) const;
    int GetColumnWidth(int nCol) const;
    // Store the size and reset the scroll bars; nothing is redrawn.
    BOOL SetRowHeight(int nRow, int nHeight);
    BOOL SetColumnWidth(int nCol, int nWidth);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;
    BOOL DeleteAllItems();

    // ---- Cells ----------------------------------------------------------------------------
    // NULL out of range.
    CGridCellBase* GetCell(int nRow, int nCol) const;
    // Stores the cell, which the grid then owns, and frees the one it replaces.
    BOOL SetCell(int nRow, int nCol, CGridCellBase* pCell);
    // Replaces the cell with one of the class holding the same attributes.
    BOOL SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass);
    // The class new cells are made of, CGridCell unless set. One that is not a cell class
    // makes CreateCell fail.
    void SetDefaultCellType(CRuntimeClass* pRuntimeClass) { m_pRtcDefault = pRuntimeClass; }
    CRuntimeClass* GetDefaultCellType() const { return m_pRtcDefault; }
    virtual CGridCellBase* CreateCell(int nRow, int nCol);
    virtual void DestroyCell(int nRow, int nCol);
    CGridDefaultCell* GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const;

    // ---- Items: FALSE, NULL, 0 or an empty text without cell ------------------------------
    CString GetItemText(int nRow, int nCol) const;
    BOOL SetItemText(int nRow, int nCol, LPCTSTR szText);
    DWORD GetItemState(int nRow, int nCol) const;
    BOOL SetItemState(int nRow, int nCol, DWORD nState);
    COLORREF GetItemBackColour(int nRow, int nCol) const;
    BOOL SetItemBackColour(int nRow, int nCol, COLORREF clr);
    BOOL SetItemTextColour(int nRow, int nCol, COLORREF clr);
    // NULL returns the cell to its default font.
    BOOL SetItemFont(int nRow, int nCol, const LOGFONT* plf);
    // The default cell's font for the coordinates when there is no cell.
    const LOGFONT* GetItemFont(int nRow, int nCol) const;
    BOOL SetItemFormat(int nRow, int nCol, DWORD nFormat);

    BOOL IsCellEditable(int nRow, int nCol) const;
    BOOL IsCellEditableId(const CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }
    BOOL IsItemEditing(int nRow, int nCol) const;
    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValidId(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValidRange(const CCellRange& range) const;

    // Without cell coordinates the whole grid: its flag takes the value. For a cell, its
    // modified bit; setting it also marks the grid. A data change drops the sort arrow.
    void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
    BOOL GetModified() const { return m_bModified; }
    // Changes a text as an edit does, both edit notifications included: TRUE when the cell
    // holds the new text, the owner's negative answer when it refused to start, FALSE
    // otherwise.
    LRESULT ChangeCellText(int nRow, int nCol, LPCTSTR szText);
    virtual BOOL ValidateEdit(int nRow, int nCol, LPCTSTR szText);

    // ---- Focus, selection and sorting ----------------------------------------------------
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    // Moves the focus (rows and columns raised to the first non-fixed ones) and redraws
    // what it leaves and reaches; returns the previous focus.
    CCellID SetFocusCell(CCellID cell);
    CCellID SetFocusCellRowCol(int nRow, int nCol) { return SetFocusCell(CCellID(nRow, nCol)); }
    BOOL IsCellSelected(int nRow, int nCol) const;
    BOOL IsCellSelectedId(const CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }
    // Unselects every cell and takes the focus away.
    void ResetSelectedRange();
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL GetSortAscending() const { return m_bAscending; }
    // Moves the sort arrow to the column's heading (-1: none).
    void SetSortColumn(int nCol);
    void SetSortAscending(BOOL bAscending) { m_bAscending = bAscending; }
    // The open editor of the focus cell ends.
    virtual void EndEditing();

    // ---- Notifications -------------------------------------------------------------------
    // Sends the record to the owner (or the parent); 0 when the grid or the receiver has no
    // window.
    LRESULT NotifyOwner(int nRow, int nCol, int nCode);

    // ---- Layout -------------------------------------------------------------------------
    // The first non-fixed row and column shown at the current scroll positions.
    CCellID GetTopLeftScrollCell(BOOL bRecompute = FALSE);
    // FALSE when the cell is invalid or scrolled out above or to the left.
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT pPoint);
    BOOL GetCellOriginId(const CCellID& cell, LPPOINT pPoint) { return GetCellOrigin(cell.row, cell.col, pPoint); }
    // The cell's inclusive rectangle in client coordinates.
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRectId(const CCellID& cell, LPRECT pRect) { return GetCellRect(cell.row, cell.col, pRect); }
    // The point relative to the cell's origin; (0, 0) when the cell has none.
    CPoint PointInCell(int nRow, int nCol, CPoint point);
    // The row and column under a client point, each -1 when none: a valid row may come with
    // column -1.
    CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
    // The non-fixed cells at least partly visible, and the rectangle they occupy from the
    // client's top-left corner.
    CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = NULL, BOOL bForceRecalculation = FALSE);
    // The fixed-column cells of the visible rows.
    CCellRange GetVisibleFixedCellRange(LPRECT pRect = NULL, BOOL bForceRecalculation = FALSE);
    // The cell starts inside the client area, even when it is cut.
    BOOL IsCellVisible(int nRow, int nCol);
    BOOL IsCellVisibleId(const CCellID& cell) { return IsCellVisible(cell.row, cell.col); }
    // Scrolls until the cell shows, as far as the scroll ranges allow.
    void EnsureVisible(int nRow, int nCol);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }

    // ---- Drawing -------------------------------------------------------------------------
    BOOL InvalidateCellRect(int nRow, int nCol);
    BOOL InvalidateCellRectId(const CCellID& cell) { return InvalidateCellRect(cell.row, cell.col); }
    // Draws the cell at once, in pDC or the window's DC.
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = NULL);
    BOOL RedrawCellId(const CCellID& cell, CDC* pDC = NULL) { return RedrawCell(cell.row, cell.col, pDC); }
    void Refresh();
    virtual void OnDraw(CDC* pDC);
    // Paints the areas behind the cells: the headings' colours, the normal cells' colour and
    // the grid background right of and below the cells.
    void FillBackground(CDC* pDC);

    // ---- Scroll bars ---------------------------------------------------------------------
    void ResetScrollBars();
    // SB_HORZ, SB_VERT or SB_BOTH.
    void EnableScrollBars(int nBar, BOOL bEnable = TRUE);
    // 0 without window.
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollMax(int nBar) const { return nBar == SB_HORZ ? m_nHScrollMax : m_nVScrollMax; }
    // Rows a wheel notch scrolls, -1 for a page.
    static int GetMouseScrollLines();

    // ---- Auto-sizing: the scope GridAutoSizeDefault takes the grid's -------------------------
    BOOL AutoSizeColumn(int nCol, UINT nAutoSizeScope = GridAutoSizeDefault, BOOL bResetScroll = TRUE);
    void AutoSizeColumns(UINT nAutoSizeScope = GridAutoSizeDefault);
    BOOL AutoSizeRow(int nRow, BOOL bResetScroll = TRUE);

    // ---- Settings, read on the next redraw --------------------------------------------------
    void SetGridBkColour(COLORREF clr) { m_crGridBkColour = clr; }
    COLORREF GetGridBkColour() const { return m_crGridBkColour; }
    void SetGridLineColour(COLORREF clr) { m_crGridLineColour = clr; }
    COLORREF GetGridLineColour() const { return m_crGridLineColour; }
    void SetTitleTipBackColour(COLORREF clr) { m_crTTipBackColour = clr; }
    COLORREF GetTitleTipBackColour() const { return m_crTTipBackColour; }
    void SetTitleTipTextColour(COLORREF clr) { m_crTTipTextColour = clr; }
    COLORREF GetTitleTipTextColour() const { return m_crTTipTextColour; }
    void SetGridLines(int nWhichLines = GridLinesBoth) { m_nGridLines = nWhichLines; }
    int GetGridLines() const { return m_nGridLines; }
    void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
    BOOL IsEditable() const { return m_bEditable; }
    void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetListMode(BOOL bEnableListMode = TRUE) { m_bListMode = bEnableListMode; }
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(BOOL bSing = TRUE) { m_bSingleColSelection = bSing; }
    BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
    // Without drawing, invalidation or scroll-bar updates until allowed again.
    void SetAllowDraw(BOOL bAllow = TRUE) { m_bAllowDraw = bAllow; }
    BOOL GetAllowDraw() const { return m_bAllowDraw; }
    void EnableSelection(BOOL bEnable = TRUE) { m_bEnableSelection = bEnable; }
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetFixedColumnSelection(BOOL bSelect = TRUE) { m_bFixedColumnSelection = bSelect; }
    BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetFixedRowSelection(BOOL bSelect = TRUE) { m_bFixedRowSelection = bSelect; }
    BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetSortOnClick(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
    BOOL GetSortOnClick() const { return m_bSortOnClick; }
    void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void SetPrintAsOnScreen(BOOL bAsOnScreen = TRUE) { m_bPrintAsOnScreen = bAsOnScreen; }
    BOOL GetPrintAsOnScreen() const { return m_bPrintAsOnScreen; }
    void SetReopenHiddenColumns(BOOL bReopen = TRUE) { m_bHiddenColUnhide = bReopen; }
    BOOL GetReopenHiddenColumns() const { return m_bHiddenColUnhide; }
    void SetReopenHiddenRows(BOOL bReopen = TRUE) { m_bHiddenRowUnhide = bReopen; }
    BOOL GetReopenHiddenRows() const { return m_bHiddenRowUnhide; }
    void SetColumnsMayClose(BOOL bMayClose = TRUE) { m_bAllowColHide = bMayClose; }
    BOOL GetColumnsMayClose() const { return m_bAllowColHide; }
    void SetRowsMayClose(BOOL bMayClose = TRUE) { m_bAllowRowHide = bMayClose; }
    BOOL GetRowsMayClose() const { return m_bAllowRowHide; }
    void SetHighlightFocusHeadings(BOOL bHighlight = TRUE) { m_bHighlightHeadings = bHighlight; }
    BOOL GetHighlightFocusHeadings() const { return m_bHighlightHeadings; }
    void SetFrameFocusCell(BOOL bFrame = TRUE) { m_bFrameFocus = bFrame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
    void SetAutoSizeScope(UINT nScope = GridAutoSizeAll) { m_nAutoSizeScope = nScope; }
    UINT GetAutoSizeScope() const { return m_nAutoSizeScope; }
    void SetResizeCaptureRange(int nPixels) { m_nResizeCaptureRange = nPixels; }
    int GetResizeCaptureRange() const { return m_nResizeCaptureRange; }
    void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    // Not owned.
    void SetImageList(CImageList* pList) { m_pImageList = pList; }
    CImageList* GetImageList() const { return m_pImageList; }
    void SetPrintColours(BOOL bPrintColours = TRUE) { m_bPrintColours = bPrintColours; }
    BOOL GetPrintColours() const { return m_bPrintColours; }
    // In printer character units; a negative value keeps the old one.
    void SetPrintMargins(int nHeader, int nFooter, int nLeft, int nRight, int nTop, int nBottom,
                         int nGap);
    void SetColumnDrag(bool bColumnDrag = true) { m_bColumnDrag = bColumnDrag; }
    bool GetColumnDrag() const { return m_bColumnDrag; }
    void SetTabLeaves(bool bTabLeaves = true) { m_bTabLeaves = bTabLeaves; }
    bool GetTabLeaves() const { return m_bTabLeaves; }
    void SetRowSelectionWithFixedColumns(bool bWithFixed = true) { m_bRowSelectionWithFixedCols = bWithFixed; }
    bool GetRowSelectionWithFixedColumns() const { return m_bRowSelectionWithFixedCols; }
    BOOL IsVirtualMode() const { return m_bVirtualMode; }
    // Bit 1 the horizontal bar is shown, bit 2 the vertical one.
    int GetScrollBarState() const { return m_nBarState; }

protected:
    // The storage column of a displayed column; -1 out of range.
    int GetStorageColumn(int nCol) const;
    void PreSubclassWindow() override;
    // Recomputes the frame with the client edge added.
    void ForceFrameUpdate();
    // The four default cells take this grid and the system's colours.
    void SetupDefaultCells();

    // The row or column half of the layout: the same walks serve both.
    enum GridAxis
    {
        AxisRows,
        AxisColumns,
    };
    int LineCount(GridAxis axis) const { return axis == AxisRows ? m_nRows : m_nCols; }
    int FixedLineCount(GridAxis axis) const { return axis == AxisRows ? m_nFixedRows : m_nFixedCols; }
    int LineSize(GridAxis axis, int nLine) const
    {
        return axis == AxisRows ? GetRowHeight(nLine) : GetColumnWidth(nLine);
    }
    int FixedExtent(GridAxis axis) const;
    int TotalExtent(GridAxis axis) const;
    static int ScrollBarOf(GridAxis axis) { return axis == AxisRows ? SB_VERT : SB_HORZ; }
    static int LineOf(GridAxis axis, const CCellID& cell) { return axis == AxisRows ? cell.row : cell.col; }
    // The first non-fixed line whose start lies at or past the scroll position.
    int FirstScrolledLine(GridAxis axis, int nPos) const;
    // Where the line starts for that first scrolled line; -1 when it is scrolled out.
    int LineOrigin(GridAxis axis, int nLine, int nTopLeft) const;
    // The line under the coordinate, -1 for none.
    int LineAt(GridAxis axis, int nCoord, int nTopLeft, BOOL bAllowFixed) const;
    // Walking from nFirst (starting at nStart) up to nLimit - 1: the last line that shows
    // before the client's end, and where the shown lines end (at most the client's end).
    int LastVisibleLine(GridAxis axis, int nFirst, int nLimit, int nStart, int nClientEnd,
                        int& nEnd) const;
    // The scroll messages of one bar.
    void OnScroll(GridAxis axis, UINT nSBCode);
    // Brings the line into view on its bar.
    void ScrollLineIntoView(GridAxis axis, int nLine, const CCellRange& visible);
    // Empty without window.
    CRect GetClientArea() const;
    // Calls draw(line, start, end) for each line from nFirst to nLast that is shown and
    // meets nClipStart .. nClipEnd - 1, the lines following one another from nStart.
    template <class Draw>
    void ForEachShownLine(GridAxis axis, int nFirst, int nLast, int nStart, int nClipStart,
                          int nClipEnd, Draw draw) const;
    // Draws the cells of the rows and columns given whose rectangles meet the clip box, the
    // first row starting at nTop and the first column at nLeft.
    void DrawCellBlock(CDC* pDC, const CRect& rectClip, int nMinRow, int nMaxRow, int nTop,
                       int nMinCol, int nMaxCol, int nLeft);
    // The largest extent of the cells from nFirst to nLast along the line (a column's rows or
    // a row's columns): width for a column, height for a row; -1 when none was measured.
    // FALSE when no DC can be had.
    BOOL LargestExtent(GridAxis axis, int nLine, int nFirst, int nLast, int& nLargest);

    // Cells, rows and the selection kept in step.
    void DestroyRow(int nRow);
    // Frees the rows from nFirstRow on, which hold no selected cell.
    void FreeRows(int nFirstRow);
    // Gives the rows (columns) that become fixed their fixed bits and default colours, or
    // takes them away from the ones that stop being fixed.
    void ChangeFixedLines(GridAxis axis, int nOldFixed, int nNewFixed);
    void ResetColumnOrder(int nCols);
    void ResetRowOrder();
    // The selection key of a cell: no two cells share one.
    static std::uint64_t SelectionKey(int nRow, int nCol) { return ((std::uint64_t)(UINT)nCol << 32) | (UINT)nRow; }
    // New cells for every column of a new row; FALSE when the cell class makes none.
    typedef std::vector<CGridCellBase*> GRID_ROW;
    BOOL FillRow(GRID_ROW& row, int nRow);

    // The cells of every row (GRID_ROW), one array per row, one entry per storage column.
    typedef std::unordered_map<std::uint64_t, CCellID> CCellIDMap;

    // ---- Colours -------------------------------------------------------------------------
    COLORREF m_crGridBkColour;
    COLORREF m_crGridLineColour;
    COLORREF m_crWindowText;   // the system colours as last read, to follow their changes
    COLORREF m_crWindowColour;
    COLORREF m_cr3DFace;
    COLORREF m_crShadow;
    COLORREF m_crTTipBackColour;
    COLORREF m_crTTipTextColour;

    // ---- Settings ------------------------------------------------------------------------
    BOOL m_bVirtualMode;
    int m_nGridLines;
    BOOL m_bEditable;
    BOOL m_bModified;
    BOOL m_bAllowDragAndDrop;
    BOOL m_bListMode;
    BOOL m_bSingleRowSelection;
    BOOL m_bSingleColSelection;
    BOOL m_bAllowDraw;
    BOOL m_bEnableSelection;
    BOOL m_bFixedColumnSelection;
    BOOL m_bFixedRowSelection;
    BOOL m_bSortOnClick;
    BOOL m_bHandleTabKey;
    BOOL m_bTitleTips;
    int m_nBarState;
    BOOL m_bPrintAsOnScreen;
    BOOL m_bHiddenColUnhide;
    BOOL m_bHiddenRowUnhide;
    BOOL m_bAllowColHide;
    BOOL m_bAllowRowHide;
    BOOL m_bHighlightHeadings;
    BOOL m_bFrameFocus;
    UINT m_nAutoSizeScope;

    // ---- Counts, sizes and cells ---------------------------------------------------------
    int m_nRows;
    int m_nFixedRows;
    int m_nCols;
    int m_nFixedCols;
    std::vector<UINT> m_arRowHeights;
    std::vector<UINT> m_arColWidths;   // per storage column
    int m_nVScrollMax;
    int m_nHScrollMax;
    CRuntimeClass* m_pRtcDefault;
    CGridDefaultCell m_cellDefault;
    CGridDefaultCell m_cellFixedColDef;
    CGridDefaultCell m_cellFixedRowDef;
    CGridDefaultCell m_cellFixedRowColDef;
    CImageList* m_pImageList;
    std::vector<GRID_ROW*> m_RowData;

    // ---- Focus, selection, scrolling -----------------------------------------------------
    CCellID m_idCurrentCell;
    CCellID m_idTopLeftCell;
    int m_nResizeCaptureRange;
    BOOL m_bAllowRowResize;
    BOOL m_bAllowColumnResize;
    int m_nRowsPerWheelNotch;
    CCellIDMap m_SelectedCellMap;
    CCellIDMap m_PrevSelectedCellMap;
    CCellID m_idDropCell;
    CGridDropTarget m_DropTarget;

    // ---- Sorting and printing ------------------------------------------------------------
    BOOL m_bAscending;
    int m_nSortColumn;
    BOOL m_bPrintColours;
    int m_nHeaderHeight;
    int m_nFooterHeight;
    int m_nLeftMargin;
    int m_nRightMargin;
    int m_nTopMargin;
    int m_nBottomMargin;
    int m_nGap;

    // ---- Orders and drags ----------------------------------------------------------------
    int m_nDragColumn;
    std::vector<int> m_arRowOrder;   // virtual mode: display row to the owner's row
    std::vector<int> m_arColOrder;   // display column to storage column
    bool m_bDropMovesRows;
    bool m_bDestroying;
    bool m_bColumnDrag;
    bool m_bTabLeaves;
    bool m_bRowSelectionWithFixedCols;

    // ---- Messages --------------------------------------------------------------------------
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
