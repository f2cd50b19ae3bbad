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

// The start of both editors' text by what began the edit (see CInPlaceEdit): the selection
// or the caret, and the character typed, posted or sent to hEdit.
void StartEditorText(HWND hEdit, UINT nFirstChar, BOOL bPost);

// Ends an editor once: the display record with its text and, as its data, the last key
// goes to the editor's owner, else its parent (the grid), then the window closes (sent, or
// posted). Later calls, and calls while another editor ends, do nothing.
void EndEditorOnce(CWnd* pEditor, BOOL& bEnded, int nRow, int nColumn, UINT nLastKey,
                   BOOL bPostClose);
