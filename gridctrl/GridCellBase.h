// CGridCellBase: what every cell of a grid can do. A cell keeps a state word and resolves
// each attribute it does not set itself from the default cell of its kind (normal, fixed
// row, fixed column or corner); it draws, prints and measures itself, and its hooks hear
// the mouse. The attributes themselves live in CGridCell.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AfxGdi.h"
#include "AfxObject.h"
#include "AfxWin.h"

class CGridCtrl;
class CGridDefaultCell;

// The bits of a cell's state word.
enum CellStateFlags : DWORD
{
    GridCellFocused = 0x01,
    GridCellSelected = 0x02,
    GridCellDropHighlighted = 0x04,
    GridCellReadOnly = 0x08,
    GridCellFixed = 0x10,
    GridCellFixedRow = 0x20,
    GridCellFixedCol = 0x40,
    GridCellModified = 0x80,
};

// A format or margin that the cell leaves to its default cell; colours use CLR_DEFAULT.
const DWORD GRID_FORMAT_DEFAULT = 0xFFFFFFFF;
const UINT GRID_MARGIN_DEFAULT = 0xFFFFFFFF;

class CGridCellBase : public CObject
{
    DECLARE_DYNAMIC(CGridCellBase)
public:
    CGridCellBase();
    ~CGridCellBase() override;

    // ---- Attributes ---------------------------------------------------------------------
    virtual void SetText(LPCTSTR szText) = 0;
    virtual void SetImage(int nImage) = 0;
    virtual void SetData(LPARAM lParam) = 0;
    virtual void SetState(DWORD nState) { m_nState = nState; }
    virtual void SetFormat(DWORD nFormat) = 0;
    virtual void SetTextColour(COLORREF clr) = 0;
    virtual void SetBackColour(COLORREF clr) = 0;
    virtual void SetFont(const LOGFONT* plf) = 0;
    virtual void SetMargin(UINT nMargin) = 0;
    virtual void SetGrid(CGridCtrl* pGrid) = 0;
    // Told before each drawing; a cell keeps no coordinates.
    virtual void SetCoords(int nRow, int nCol) = 0;

    // Never NULL.
    virtual LPCTSTR GetText() const = 0;
    virtual LPCTSTR GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const { return m_nState; }
    // The format is resolved; the colours may be CLR_DEFAULT.
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextColour() const = 0;
    virtual COLORREF GetBackColour() const = 0;
    virtual const LOGFONT* GetFont() const = 0;
    virtual CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CWnd* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    // The grid's default cell for this cell's fixed-row and fixed-column bits.
    virtual CGridDefaultCell* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return (GetState() & GridCellFocused) != 0; }
    virtual BOOL IsFixed() const { return (GetState() & GridCellFixed) != 0; }
    virtual BOOL IsFixedCol() const { return (GetState() & GridCellFixedCol) != 0; }
    virtual BOOL IsFixedRow() const { return (GetState() & GridCellFixedRow) != 0; }
    virtual BOOL IsSelected() const { return (GetState() & GridCellSelected) != 0; }
    virtual BOOL IsReadOnly() const { return (GetState() & GridCellReadOnly) != 0; }
    virtual BOOL IsModified() const { return (GetState() & GridCellModified) != 0; }
    virtual BOOL IsDropHighlighted() const { return (GetState() & GridCellDropHighlighted) != 0; }

    // Copies the other cell's attributes as it resolves them: the copy owns its format and
    // margin.
    virtual void operator=(const CGridCellBase& cell);
    virtual void Reset();

    // ---- Drawing and measuring ----------------------------------------------------------
    // rect is inclusive (its right and bottom pixels belong to the cell). FALSE, with nothing
    // drawn, without grid, DC, default cell or area.
    virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
    virtual BOOL GetTextRect(LPRECT pRect);
    // From the cell's rectangle, the one its text is drawn in (inside a heading's edge and
    // the margin), where the title tip shows the whole text.
    virtual BOOL GetTipTextRect(LPRECT pRect);
    // The text's size in the cell's font with the margins; pDC NULL takes the grid's.
    virtual CSize GetTextExtent(LPCTSTR szText, CDC* pDC = NULL);
    // The size the cell needs for its text and image.
    virtual CSize GetCellExtent(CDC* pDC);
    virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);

    // ---- Editing --------------------------------------------------------------------------
    virtual BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar);
    virtual BOOL ValidateEdit(LPCTSTR szText);
    virtual void EndEdit() {}
    virtual void OnEndEdit() {}

    // ---- Mouse hooks: points relative to the cell's origin ------------------------------
    virtual void OnMouseOver() {}
    virtual void OnClick(CPoint /*pointCellRelative*/) {}
    virtual void OnClickDown(CPoint /*pointCellRelative*/) {}
    virtual void OnRClick(CPoint /*pointCellRelative*/) {}
    virtual void OnDblClick(CPoint /*pointCellRelative*/) {}
    // The standard arrow.
    virtual BOOL OnSetCursor();

protected:
    // The size of the cell's image when one is shown: an index, the grid's image list and
    // an image of known size.
    BOOL GetImageSize(CSize& size) const;
    // The resolved text colour and background; bOwnBack says whether the cell has its own.
    COLORREF ResolvedTextColour(const CGridDefaultCell* pDefaultCell) const;
    COLORREF ResolvedBackColour(const CGridDefaultCell* pDefaultCell, BOOL& bOwnBack) const;
    // The raised look of a fixed cell: light on the top and left, dark on the right and
    // bottom of the inclusive rectangle.
    static void DrawRaisedEdge(CDC* pDC, const CRect& rect);
    // The triangle of a sorted heading at its right edge; returns its width, 0 when the
    // cell is too narrow.
    int DrawSortArrow(CDC* pDC, CRect& rect, BOOL bAscending);
    // The inclusive rectangle shrunk by the margin, then made exclusive: the content's room.
    void InsideMargin(CRect& rect) const;

    DWORD m_nState;
};
