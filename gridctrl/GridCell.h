// CGridCell: the ordinary text cell. It holds its text, data, image, and the format,
// colours, font and margin it sets itself; whatever it leaves unset comes from its default
// cell.
#pragma once

#include "GridCellBase.h"

class CGridCell : public CGridCellBase
{
    DECLARE_DYNCREATE(CGridCell)
public:
    CGridCell();
    ~CGridCell() override;

    void SetText(LPCTSTR szText) override;
    void SetImage(int nImage) override { m_nImage = nImage; }
    void SetData(LPARAM lParam) override { m_lParam = lParam; }
    void SetFormat(DWORD nFormat) override { m_nFormat = nFormat; }
    void SetTextColour(COLORREF clr) override { m_crText = clr; }
    void SetBackColour(COLORREF clr) override { m_crBack = clr; }
    // A copy of the font; NULL returns to the default cell's.
    void SetFont(const LOGFONT* plf) override;
    void SetMargin(UINT nMargin) override { m_nMargin = nMargin; }
    void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }
    void SetCoords(int, int) override {}

    LPCTSTR GetText() const override { return m_strText; }
    int GetImage() const override { return m_nImage; }
    LPARAM GetData() const override { return m_lParam; }
    DWORD GetFormat() const override;
    COLORREF GetTextColour() const override { return m_crText; }
    COLORREF GetBackColour() const override { return m_crBack; }
    const LOGFONT* GetFont() const override;
    CFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    // The open editor; NULL once its window is gone.
    CWnd* GetEditWnd() const override;
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override { return m_plfFont == NULL; }
    BOOL IsEditing() const override { return m_bEditing; }

    void Reset() override;
    // Opens a CInPlaceEdit over the cell, or hands the character to the open one. FALSE,
    // with the edit ended, when the editor's window cannot be made.
    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

    // Assignment copies the attributes as the other cell resolves them, never its font
    // storage.
    using CGridCellBase::operator=;
    CGridCell& operator=(const CGridCell& cell)
    {
        CGridCellBase::operator=(cell);
        return *this;
    }

protected:
    // The font object of a LOGFONT, made on the first request and shared by every later one
    // with the same LOGFONT. It lives as long as the program, so that no device context is
    // ever left holding a deleted font.
    static CFont* SharedFontFor(const LOGFONT& lf);
    // Takes a new editor: without a window it is freed at once and the edit ends.
    BOOL TakeEditor(CWnd* pEditor);

    CString m_strText;
    LPARAM m_lParam;
    int m_nImage;
    DWORD m_nFormat;
    COLORREF m_crText;
    COLORREF m_crBack;
    LOGFONT* m_plfFont;       // owned; NULL for the default cell's font
    UINT m_nMargin;
    BOOL m_bEditing;
    CGridCtrl* m_pGrid;
    CWnd* m_pEditWnd;         // the open editor, which deletes itself
    HWND m_hEditWnd;          // its window, to tell whether it is still there
    mutable CFont* m_pFont;   // SharedFontFor(*m_plfFont), looked up once
};
