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
#include "AfxOle.h"
#include "AfxPrint.h"
#include "AfxWin.h"
#include "CellID.h"
#include "CellRange.h"
#include "GridCellBase.h"
#include "GridDefaultCell.h"
#include "GridDropTarget.h"
#include "TitleTip.h"

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

// What the left button is doing.
enum GridMouseMode
{
    GridMouseNone = 0,
    GridMouseSelectAll = 1,        // a press in the corner cells
    GridMouseSelectColumns = 2,
    GridMouseSelectRows = 3,
    GridMouseSelectCells = 4,
    GridMouseOverRowEdge = 6,      // hovering over a row edge in a fixed column
    GridMouseSizingRow = 7,
    GridMouseOverColumnEdge = 8,   // hovering over a column edge in a fixed row
    GridMouseSizingColumn = 9,
    GridMousePrepareEdit = 10,     // a press on the focus cell, an edit when released
    GridMousePrepareDrag = 11,     // a press that becomes a drag when the mouse moves
    GridMouseDragging = 12,        // an OLE drag runs
};

// How an in-place edit starts, besides a character typed on the cell: a click or F2, or a
// navigation key that ended the previous cell's editor (the key in the low word). Typed
// characters are UTF-16 code units, so the two never meet.
const UINT GRID_EDIT_BY_MOUSE = VK_LBUTTON;
const UINT GRID_EDIT_KEY = 0x10000;

// The control id of the in-place editors, from which the grid takes their end notification.
const UINT IDC_INPLACE_CONTROL = 8;

// The record of the grid's notifications: the header, then the cell concerned.
struct NM_GRIDVIEW
{
    NMHDR hdr;
    int iRow;
    int iColumn;
};

// A cell's contents as the grid and its owner exchange them: virtual mode fills one for
// every cell drawn, and an in-place editor hands its text back in one.
struct GRIDITEM
{
    int row;
    int col;
    UINT mask;         // the LVIF_ flags of the members filled
    UINT nState;       // CellStateFlags
    UINT nFormat;      // DrawText flags
    int iImage;
    COLORREF crBkClr;
    COLORREF crFgClr;
    LPARAM lParam;     // the owner's data; an editor's: the key that ended the edit
    LOGFONT lfFont;
    UINT nMargin;
    CString strText;
};

struct GRIDDISPINFO
{
    NMHDR hdr;
    GRIDITEM item;
};

// The range of cells a virtual grid is about to read, (-1, -1, -1, -1) once it is done.
struct GRIDCACHEHINT
{
    NMHDR hdr;
    CCellRange range;
};

// Fills the record for the cell it names (row and column as the owner knows them).
typedef BOOL(CALLBACK* GRIDCALLBACK)(GRIDDISPINFO* pRecord, LPARAM lParam);

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

    // ---- Focus and selection -------------------------------------------------------------
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    // Moves the focus (rows and columns raised to the first non-fixed ones) and redraws
    // what it leaves and reaches; returns the previous focus.
    CCellID SetFocusCell(CCellID cell);
    CCellID SetFocusCellRowCol(int nRow, int nCol) { return SetFocusCell(CCellID(nRow, nCol)); }
    BOOL IsCellSelected(int nRow, int nCol) const;
    BOOL IsCellSelectedId(const CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }
    // Selects (or unselects) the range, bounds in fixed cells moved to the first selectable
    // ones; selecting also unselects what lies outside and keeps the previous selection of a
    // Ctrl+click. bForceRepaint draws the changed cells at once instead of invalidating them.
    // A negative bound unselects everything.
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                          BOOL bForceRepaint = FALSE, BOOL bSelectCells = TRUE);
    void SetSelectedRangeFrom(const CCellRange& range, BOOL bForceRepaint = FALSE,
                              BOOL bSelectCells = TRUE);
    // Unselects every cell and takes the focus away.
    void ResetSelectedRange();
    void SelectAllCells();
    // The rectangle, whole rows or whole columns between the selection anchor and the cell.
    void SelectCells(CCellID cell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectRows(CCellID cell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    void SelectColumns(CCellID cell, BOOL bForceRedraw = FALSE, BOOL bSelectCells = TRUE);
    // What the mouse mode running calls for, up to the cell.
    void ExtendSelection(CCellID cell);
    // The bounds of the selected cells; invalid when nothing is selected.
    CCellRange GetSelectedCellRange() const;
    // The cell from which the mouse or Shift extends the selection.
    CCellID GetSelectionAnchor() const { return m_idSelectionAnchor; }
    void SetSelectionAnchor(CCellID cell) { m_idSelectionAnchor = cell; }
    virtual void OnEditSelectAll();
    // A press in a fixed row or column: sorting and selecting whole columns or rows.
    virtual void OnFixedRowClick(CCellID& cell);
    virtual void OnFixedColumnClick(CCellID& cell);

    // ---- Mouse ----------------------------------------------------------------------------
    // The point lies in the fixed rows (columns) close enough to a column (row) edge for a
    // press to resize.
    BOOL IsOverColumnEdge(CPoint point);
    BOOL IsOverRowEdge(CPoint point);
    // What the left button is doing, GridMouseNone between gestures.
    int GetMouseMode() const { return m_nMouseMode; }

    // ---- Clipboard ------------------------------------------------------------------------
    // A data source offering the selection's text (tabs between cells, CR LF between rows,
    // unselected cells empty, hidden rows and columns left out), as UTF-16 and ANSI text; the
    // caller owns it. NULL when nothing is selected.
    virtual COleDataSource* CopySelectionAsText();
    // The selection's text over the range.
    CString SelectionAsText(const CCellRange& range);
    // The Edit commands; cut and paste change editable grids only.
    virtual void OnEditCopy();
    virtual void OnEditCut();
    virtual void OnEditPaste();
    // Writes the data's text into the cells from the given one on, as the user would type
    // it; nothing grows. FALSE when the cell cannot take it or there is no text.
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* pDataObject,
                                 BOOL bSelectPasted = TRUE);
    // The same with the text itself: lines end at LF (a CR before it goes), cells at tabs,
    // each cell trimmed of blanks.
    void PasteText(CCellID cell, const CString& strText, BOOL bSelectPasted = TRUE);

    // ---- Drag and drop ----------------------------------------------------------------------
    // A move with the button down on the selection or a heading: an OLE drag of the
    // selected cells' texts, or of the column.
    virtual void OnBeginDrag();
    // The grid's side of its drop target: the cell under the mouse is highlighted while a
    // drop there would be taken.
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // A picture of the focus cell, the caller's to delete, and its size; NULL when none.
    virtual CImageList* CreateDragImage(CSize* pSize);
    // The cell a drag is over, (-1, -1) for none.
    CCellID GetDropCell() const { return m_idDropCell; }
    // An internal drop in a virtual grid moves the dragged row instead of pasting.
    void SetDropMovesRows(bool bMoves = true) { m_bDropMovesRows = bMoves; }
    // The column a heading drag moves, -1 for none.
    int GetDragColumn() const { return m_nDragColumn; }

    // ---- Printing ---------------------------------------------------------------------------
    // The print protocol: the layout for the printer (pages down, and across when printing
    // as on screen), one page, and the end.
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The parts of a page, in the page's logical units: pInfo->m_rectDraw holds the header's
    // or the footer's rectangle. PrintRowCells prints the row's cells from nFirstCol up to
    // nEndCol while they fit in rect and gives the x it reached.
    virtual int PrintRowCells(int nRow, int nFirstCol, int nEndCol, CRect rect, CDC* pDC,
                              BOOL bFirst);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFixedColumnCells(CDC* pDC, CPrintInfo* pInfo);
    // The page count and the pages across, from the last OnBeginPrinting.
    int GetPrintPageCount() const { return m_nNumPages; }
    int GetPrintPagesAcross() const { return m_nPageMultiplier; }
    // The first row and column the page being printed shows.
    int GetPrintFirstRow() const { return m_nCurrPrintRow; }
    int GetPrintFirstColumn() const { return m_nPrintColumn; }

    // ---- Editing ----------------------------------------------------------------------------
    // Opens the cell's editor after the owner agreed; nChar is the character typed on the
    // cell, GRID_EDIT_BY_MOUSE for a click or F2, or GRID_EDIT_KEY | the key that moved the
    // focus here from another editor. The owner's negative answer is returned.
    virtual BOOL BeginCellEdit(int nRow, int nCol, CPoint point, UINT nChar);
    // Stores an editor's text the way ChangeCellText does, then ends the cell's edit.
    virtual void FinishCellEdit(int nRow, int nCol, LPCTSTR szText);
    // The open editor of the focus cell ends.
    virtual void EndEditing();
    // Empties every selected cell (editable grids only), both edit notifications per cell.
    virtual void ClearSelectedText();

    // ---- Sorting ----------------------------------------------------------------------------
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL GetSortAscending() const { return m_bAscending; }
    // Moves the sort arrow to the column's heading (-1: none).
    void SetSortColumn(int nCol);
    void SetSortAscending(BOOL bAscending) { m_bAscending = bAscending; }
    // Compares two cells given as LPARAM with the sort's data; NULL: by their texts.
    void SetCompareFunction(PFNLVCOMPARE pfnCompare) { m_pfnCompare = pfnCompare; }
    // Virtual mode: whether the owner's first row sorts before the second.
    void SetVirtualCompare(bool (*pfnCompare)(int, int)) { m_pfnVirtualCompare = pfnCompare; }
    // Sorts the non-fixed rows by the column; the selection and the focus go.
    BOOL SortByColumn(int nCol, BOOL bAscending = TRUE, LPARAM lParamSort = 0);
    BOOL SortByColumnWith(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending,
                          LPARAM lParamSort = 0);
    // Sorts rows nLow to nHigh (-1: the last row). Rows that compare equal are never
    // exchanged with each other.
    BOOL SortRowRange(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM lParamSort,
                      int nLow, int nHigh);
    // The texts of two cells, code unit by code unit: "10" sorts before "9".
    static int CALLBACK CompareCellText(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    // Virtual mode, descending: the owner's comparison with the rows exchanged.
    bool CompareRowsVirtual(int nRow1, int nRow2) const;

    // ---- Notifications -------------------------------------------------------------------
    // Each sends its record to the owner (or the parent) and gives the answer; 0 when the
    // grid or the receiver has no window.
    LRESULT NotifyOwner(int nRow, int nCol, int nCode);
    LRESULT NotifyCacheHint(const CCellRange& range);
    // Asks the owner to fill the record (LVN_GETDISPINFOW).
    LRESULT RequestDisplayInfo(GRIDDISPINFO* pRecord);

    // ---- Virtual mode ----------------------------------------------------------------------
    // Switching modes empties the grid. A virtual grid keeps no cells: GetCell gives one
    // cell object that it fills anew on every call, and the per-cell setters fail.
    void SetVirtualMode(BOOL bVirtual);
    BOOL IsVirtualMode() const { return m_bVirtualMode; }
    // NULL asks the owner by notification instead.
    void SetCallbackFunc(GRIDCALLBACK pfnCallback, LPARAM lParam);
    GRIDCALLBACK GetCallbackFunc() const { return m_pfnCallback; }
    // The order of the owner's rows as shown: 0 .. row count - 1 again.
    void ResetRowOrder();
    // Rows inserted at the owner's row nRow (nCount > 0) or removed from it (nCount < 0):
    // the order is renumbered to match and keeps each row once.
    virtual void ShiftRowOrder(int nRow, int nCount);
    // The row shown at nFrom moves to just after the one shown at nTo.
    BOOL MoveRowInOrder(int nFrom, int nTo);
    const std::vector<int>& GetRowOrder() const { return m_arRowOrder; }
    // During a virtual sort: the owner's column being sorted by.
    int GetVirtualSortColumn() const { return m_nDragColumn; }

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
    // Fits the bars to the sizes; a bar is set (and redrawn) only when its range or page
    // moved or it was just shown.
    void ResetScrollBars();
    // SB_HORZ, SB_VERT or SB_BOTH. TRUE when a bar was shown or hidden.
    BOOL EnableScrollBars(int nBar, BOOL bEnable = TRUE);
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
    // For filling a table: SetRedraw(FALSE) holds back drawing and the scroll bars while
    // counts, sizes and cells change; the matching SetRedraw(TRUE) (calls nest) fits the
    // bars once and redraws the grid. Each bar update costs a redraw of the bar, which Wine
    // makes slow enough to be felt when every size change does one.
    void SetRedraw(BOOL bAllowDraw = TRUE);
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
    // The cell stored for the coordinates; NULL in virtual mode.
    CGridCellBase* GetStoredCell(int nRow, int nCol) const;
    // Virtual mode: the shared cell, filled for the coordinates by the owner.
    CGridCellBase* GetVirtualCell(int nRow, int nCol) const;
    // The selection key of a cell: no two cells share one.
    static std::uint64_t SelectionKey(int nRow, int nCol) { return ((std::uint64_t)(UINT)nCol << 32) | (UINT)nRow; }
    // New cells for every column of a new row; FALSE when the cell class makes none.
    typedef std::vector<CGridCellBase*> GRID_ROW;
    BOOL FillRow(GRID_ROW& row, int nRow);

    // ---- Selection, keys and the mouse --------------------------------------------------
    static BOOL IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }
    // Draws the cell at once in pDC, or invalidates it without one.
    void RedrawOrInvalidate(int nRow, int nCol, CDC* pDC);
    // The first line from nFrom on, stepping by nStep (1 or -1) up to nLimit included, that
    // is shown; -1 when none is.
    int NextShownLine(GridAxis axis, int nFrom, int nStep, int nLimit) const;
    // The cell an arrow, Tab, Home or End moves the focus to from the focus cell, hidden
    // rows and columns skipped; the focus itself when the key leads nowhere. nWrap is 1
    // when Tab went on to the next row, -1 when Shift+Tab went back to the previous one.
    CCellID NextCellForKey(UINT nChar, BOOL bShift, BOOL bCtrl, int& nWrap) const;
    // Page Up or Page Down: scrolls a page and moves the focus row by as much.
    CCellID NextCellForPage(UINT nChar);
    // The focus moves by a key: the new cell is selected (or the selection extended with
    // Shift) and brought into view.
    void MoveFocusByKey(UINT nChar, CCellID cellNew, int nWrap, BOOL bShift);
    // Whether the point lies in the text rectangle of the cell.
    BOOL IsPointInCellText(CCellID cell, CPoint point);
    // Over an edge that resizing may take: the sizing cursor and the hover mode; FALSE
    // elsewhere.
    BOOL HoverOverEdge(CPoint point);
    // Over an edge of a column (rows: of a row) in the fixed rows (columns).
    BOOL IsOverEdge(GridAxis axis, CPoint point);
    // Starts resizing the line whose edge was pressed; FALSE when no line can be resized.
    BOOL BeginResize(GridAxis axis, CPoint point);
    // The 2-pixel tracking strip across the client area at the coordinate, inverted.
    void InvertTrackingStrip(GridAxis axis, int nCoord);
    // Ends a resize at the point: the line takes the size up to it.
    void EndResize(GridAxis axis, CPoint point);
    void HideTitleTip();
    // The mouse rests over the point with no gesture running: the cell hears it, and the
    // title tip shows a text the cell cuts.
    void OnHover(CPoint point);
    // The press in the cells, after the focus moved: what the selection becomes.
    void SelectOnPress(UINT nFlags);
    // Stores the text, then asks the validation and the owner; a refused text is taken back
    // and the cell left as it was. TRUE when the cell keeps the new text.
    BOOL StoreCellText(int nRow, int nCol, CGridCellBase* pCell, LPCTSTR szText);
    // Exchanges two rows: their cells and their heights.
    void SwapRows(int nRow1, int nRow2);
    BOOL DropsMoveRows() const;
    // Printing: the first line of page band nBand (from 1) when the non-fixed lines are cut
    // into pages of nPageExtent, and the number of pages they make.
    int PageStartLine(GridAxis axis, int nPageExtent, int nBand, int& nPages) const;
    void PrintGridLines(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bFirstCol);
    // The page's rows that fit, each with its cells from nFirstCol up to nEndCol between x
    // nLeft and nRight.
    void PrintPageRows(CDC* pDC, int nFirstCol, int nEndCol, int nLeft, int nRight, BOOL bFirst);
    // A header or footer line in the bold printer font: the main text placed by
    // nMainFormat, the right one at the right, a black rule across at yRule.
    void PrintTitleLine(CDC* pDC, const CRect& rect, const CString& strMain, UINT nMainFormat,
                        const CString& strRight, int yRule);
    // Sets or clears the cell's drop highlight and redraws it.
    void SetDropHighlight(CCellID cell, BOOL bHighlight);

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
    int m_nRedrawHolds;          // SetRedraw(FALSE) calls not yet matched
    BOOL m_bScrollBarsHeldBack;  // a bar update waits for drawing to come back
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
    CTitleTip m_TitleTip;
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
    CFont m_PrinterFont;
    CSize m_CharSize;          // of the printer font
    int m_nPageHeight;         // left for the rows on a page
    CSize m_LogicalPageSize;
    CSize m_PaperSize;         // in device units
    int m_nPageWidth;          // left for the non-fixed columns on a page
    int m_nPrintColumn;        // the first column and row of the page being printed
    int m_nCurrPrintRow;
    int m_nNumPages;
    int m_nPageMultiplier;     // pages across

    // ---- Orders and drags ----------------------------------------------------------------
    int m_nDragColumn;
    std::vector<int> m_arRowOrder;   // virtual mode: display row to the owner's row
    std::vector<int> m_arColOrder;   // display column to storage column
    bool m_bDropMovesRows;
    bool m_bDestroying;
    bool m_bColumnDrag;
    bool m_bTabLeaves;
    bool m_bRowSelectionWithFixedCols;

    // ---- Mouse, selection and sorting -----------------------------------------------------
    int m_nMouseMode;
    BOOL m_bLMouseButtonDown;
    CPoint m_ptButtonDown;
    CPoint m_ptLastMouse;
    CCellID m_idButtonDown;
    CCellID m_idSelectionAnchor;
    int m_nSizingLine;   // the row or column a resize drag sizes
    int m_nDragRow;
    PFNLVCOMPARE m_pfnCompare;
    bool (*m_pfnVirtualCompare)(int, int);

    // ---- Virtual mode ------------------------------------------------------------------------
    GRIDCALLBACK m_pfnCallback;
    LPARAM m_lCallbackParam;
    // What the last GetCell of a virtual grid returned, valid until the next one.
    mutable GRIDDISPINFO m_virtualRecord;
    mutable CGridCell m_virtualCell;

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
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnImeChar(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
