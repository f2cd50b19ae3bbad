// CInPlaceList: the drop-down list a combo cell opens over itself. It drops its options
// down at once; like CInPlaceEdit it hands its text and the key that ended it to the grid
// in one notification, then closes and deletes itself.
#pragma once

#include "AfxColl.h"
#include "AfxCtrl.h"
#include "AfxString.h"
#include "ComboEdit.h"

class CInPlaceList : public CComboBox
{
public:
    // nComboStyle is CBS_DROPDOWN, CBS_DROPDOWNLIST or CBS_SIMPLE. The option equal to the
    // text is selected; a text that is no option shows in the edit part. Without a window
    // (GetSafeHwnd() is NULL) the object is the creator's to delete.
    CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                 COLORREF crFore, COLORREF crBack, const CStringArray& Items, CString sInitText,
                 UINT nFirstChar);
    ~CInPlaceList() override;

    // Sends the end notification once and closes the window.
    void EndEdit();
    // The width the dropped list needs for its widest option, at most 200 pixels.
    int ComputeDropWidth();
    // The edit part, which has no window with CBS_DROPDOWNLIST.
    CComboEdit& GetEditPart() { return m_edit; }
    UINT GetLastKey() const { return m_nLastChar; }

protected:
    void PostNcDestroy() override;

    afx_msg void OnDropDown();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg UINT OnGetDlgCode();

    CComboEdit m_edit;
    int m_nNumLines;   // the dropped list's height in cell heights
    CString m_sInitText;
    int m_nRow;
    int m_nCol;
    UINT m_nLastChar;
    BOOL m_bExitOnArrows;
    COLORREF m_crForeClr;   // the cell's colours, kept with the list
    COLORREF m_crBackClr;
    BOOL m_bEnded;
    BOOL m_bAutoDelete;

    DECLARE_MESSAGE_MAP()
};
