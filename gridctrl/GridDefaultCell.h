// CGridDefaultCell: the defaults of one kind of cell (normal, fixed row, fixed column or
// corner): format, colours, font, margin and the size a new row or column takes. It is
// read-only and keeps neither state nor data; setting its font measures the margin and the
// default size in that font.
#pragma once

#include "GridCell.h"

class CGridDefaultCell : public CGridCell
{
    DECLARE_DYNCREATE(CGridDefaultCell)
public:
    CGridDefaultCell();
    ~CGridDefaultCell() override;

    void SetData(LPARAM) override {}
    void SetState(DWORD) override {}
    DWORD GetState() const override { return CGridCell::GetState() | GridCellReadOnly; }

    // NULL is ignored.
    void SetFont(const LOGFONT* plf) override;
    const LOGFONT* GetFont() const override { return m_plfFont; }
    CFont* GetFontObject() const override;

    virtual DWORD GetStyle() const { return m_dwStyle; }
    virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    virtual int GetWidth() const { return m_nWidth; }
    virtual int GetHeight() const { return m_nHeight; }
    virtual void SetWidth(int nWidth) { m_nWidth = nWidth; }
    virtual void SetHeight(int nHeight) { m_nHeight = nHeight; }

protected:
    int m_nWidth;
    int m_nHeight;
    DWORD m_dwStyle;   // kept for the owner; the grid does not use it
};
