// CInPlaceEdit: the single-line editor a text cell opens exactly over itself. It lives
// until the user leaves it, then hands the grid its text and the key that ended it in one
// LVN_ENDLABELEDITW notification and closes; its window's destruction deletes the object.
#pragma once

#include "AfxCtrl.h"
#include "AfxString.h"

class CInPlaceEdit : public CEdit
{
public:
    // Creates and shows the editor over rect with the grid's font and the focus. nFirstChar
    // says how the edit began (see GRID_EDIT_BY_MOUSE and GRID_EDIT_KEY): a typed character
    // replaces the text, a click or F2 keeps it with the caret at its end. Without a window
    // (GetSafeHwnd() is NULL) the object is the creator's to delete.
    CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                 CString sInitText, UINT nFirstChar);
    ~CInPlaceEdit() override;

    // Sends the end notification once and closes the window.
    void EndEdit();

    // What the notification says: the key that ended the edit, 0 for a lost focus.
    UINT GetLastKey() const { return m_nLastChar; }
    BOOL GetExitOnArrows() const { return m_bExitOnArrows; }

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

    // Widens the editor to its text, up to the grid's right edge.
    void FitToText();

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();

    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    UINT m_nLastChar;
    BOOL m_bExitOnArrows;
    CRect m_Rect;
    BOOL m_bEnded;        // the end notification went
    BOOL m_bAutoDelete;   // the window exists, and its end deletes the object

    DECLARE_MESSAGE_MAP()
};

// The notification both editors send when they end: the display record with the text and,
// as its data, the last key; to the editor's owner, else its parent (the grid).
void SendEndEditNotification(CWnd* pEditor, int nRow, int nColumn, UINT nLastKey,
                             const CString& strText);
