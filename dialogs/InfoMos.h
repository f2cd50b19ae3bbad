// The information on the mosaic (template 163): palette, colour count, size in tiles and in
// metres or feet, area, number of plates and the grid of tile counts per colour.
#pragma once

#include "AfxDialog.h"
#include "GridCtrl.h"
#include "AfxString.h"

class CVitrolanDoc;

class CInfoMos : public CDialog
{
public:
    explicit CInfoMos(CWnd* pParent = NULL);

    CString m_paletteName;
    int m_colourCount;
    int m_cols;
    int m_rows;
    int m_plateCount;
    float m_width;
    float m_height;
    float m_area;
    // The grid the caller owns; bound to control 1030 when set.
    CGridCtrl* m_pGrid;
    int m_units;            // 0 metric, 1 imperial: the unit labels
    CString m_unitText;
    CString m_areaUnitText;
    // Shown as the window title when not empty.
    CString m_caption;

    // The table of tile counts: a heading row, one row per colour in use from row 1 (the
    // rows of colours not in use stay empty at the end), and the totals in the last row.
    static void FillCountGrid(CGridCtrl& grid, const CVitrolanDoc& doc);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Writes the active document's text summary, then closes.
    afx_msg void OnTextFile();
    // Prepares the active document for printing, then closes.
    afx_msg void OnApplyAndClose();

    DECLARE_MESSAGE_MAP()
};
