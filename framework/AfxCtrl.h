// The standard controls behind MFC's classes: each member sends the control's own message.
// Create makes the control as a child (WS_CHILD is added); a control of a dialog template
// becomes one of these objects through DDX_Control or SubclassDlgItem.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AfxWin.h"

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() {}
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID = 0xffff);

    HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)hIcon, 0); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0); }
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() {}
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID);

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck, 0); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, (WPARAM)bHighlight, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE)
    {
        SendMessage(BM_SETSTYLE, (WPARAM)nStyle, (LPARAM)bRedraw);
    }
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // nStartChar 0 and nEndChar -1 select everything; nStartChar -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE)
    {
        SetSel((int)(short)LOWORD(dwSelection), (int)(short)HIWORD(dwSelection), bNoScroll);
    }
    void GetSel(int& nStartChar, int& nEndChar) const
    {
        SendMessage(EM_GETSEL, (WPARAM)&nStartChar, (LPARAM)&nEndChar);
    }
    DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL, 0, 0); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, (WPARAM)bCanUndo, (LPARAM)lpszNewText);
    }
    void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax, 0); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)nChars, 0); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE)
    {
        return (BOOL)SendMessage(EM_SETREADONLY, (WPARAM)bReadOnly, 0);
    }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, (WPARAM)bModified, 0); }
    BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO, 0, 0); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO, 0, 0); }
    void Cut() { SendMessage(WM_CUT, 0, 0); }
    void Copy() { SendMessage(WM_COPY, 0, 0); }
    void Paste() { SendMessage(WM_PASTE, 0, 0); }
    void Clear() { SendMessage(WM_CLEAR, 0, 0); }
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The list: indices from 0; CB_ERR (-1) for none.
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)nSelect, 0); }
    int AddString(LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)lpszString);
    }
    int InsertString(int nIndex, LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszString);
    }
    int DeleteString(UINT nIndex) { return (int)SendMessage(CB_DELETESTRING, nIndex, 0); }
    void ResetContent() { SendMessage(CB_RESETCONTENT, 0, 0); }
    int GetLBTextLen(int nIndex) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)nIndex, 0); }
    void GetLBText(int nIndex, CString& rString) const;
    // The first item that starts with the text (case-insensitive) after nStartAfter; -1
    // searches from the top.
    int FindString(int nStartAfter, LPCTSTR lpszString) const
    {
        return (int)SendMessage(CB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszString)
    {
        return (int)SendMessage(CB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszString);
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)SendMessage(CB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }

    // nIndex -1 is the selection field, otherwise a list item.
    int GetItemHeight(int nIndex) const
    {
        return (int)SendMessage(CB_GETITEMHEIGHT, (WPARAM)nIndex, 0);
    }
    int SetItemHeight(int nIndex, UINT cyItemHeight)
    {
        return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELPARAM(cyItemHeight, 0));
    }
    int GetDroppedWidth() const { return (int)SendMessage(CB_GETDROPPEDWIDTH, 0, 0); }
    int SetDroppedWidth(UINT nWidth) { return (int)SendMessage(CB_SETDROPPEDWIDTH, nWidth, 0); }
    UINT GetHorizontalExtent() const { return (UINT)SendMessage(CB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(UINT nExtent) { SendMessage(CB_SETHORIZONTALEXTENT, nExtent, 0); }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, (WPARAM)bShowIt, 0); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE, 0, 0); }

    // The edit part.
    DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL, 0, 0); }
    BOOL SetEditSel(int nStartChar, int nEndChar)
    {
        return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar));
    }
    BOOL LimitText(int nMaxChars) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)nMaxChars, 0); }
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)SendMessage(LB_GETCOUNT, 0, 0); }
    // Single-selection boxes.
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)nSelect, 0); }
    // Multiple-selection boxes.
    int GetSel(int nIndex) const { return (int)SendMessage(LB_GETSEL, (WPARAM)nIndex, 0); }
    int SetSel(int nIndex, BOOL bSelect = TRUE)
    {
        return (int)SendMessage(LB_SETSEL, (WPARAM)bSelect, (LPARAM)nIndex);
    }
    int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT, 0, 0); }

    int AddString(LPCTSTR lpszItem) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int InsertString(int nIndex, LPCTSTR lpszItem)
    {
        return (int)SendMessage(LB_INSERTSTRING, (WPARAM)nIndex, (LPARAM)lpszItem);
    }
    int DeleteString(UINT nIndex) { return (int)SendMessage(LB_DELETESTRING, nIndex, 0); }
    void ResetContent() { SendMessage(LB_RESETCONTENT, 0, 0); }
    int GetTextLen(int nIndex) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)nIndex, 0); }
    void GetText(int nIndex, CString& rString) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const
    {
        return (int)SendMessage(LB_FINDSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)nIndexStart, (LPARAM)lpszFind);
    }
    int SelectString(int nStartAfter, LPCTSTR lpszItem)
    {
        return (int)SendMessage(LB_SELECTSTRING, (WPARAM)nStartAfter, (LPARAM)lpszItem);
    }
    DWORD_PTR GetItemData(int nIndex) const
    {
        return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)nIndex, 0);
    }
    int SetItemData(int nIndex, DWORD_PTR dwItemData)
    {
        return (int)SendMessage(LB_SETITEMDATA, (WPARAM)nIndex, (LPARAM)dwItemData);
    }
    int GetItemHeight(int nIndex) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)nIndex, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight)
    {
        return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)nIndex, MAKELPARAM(cyItemHeight, 0));
    }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)nIndex, 0); }
};

// A scroll bar control: the CWnd scroll members of the same names act on the window's own
// bars, these on the control (SB_CTL).
class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
    {
        ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos);
    }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
    }
    void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH)
    {
        return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags);
    }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        return CWnd::SetScrollInfo(SB_CTL, lpScrollInfo, bRedraw);
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL)
    {
        return CWnd::GetScrollInfo(SB_CTL, lpScrollInfo, nMask);
    }
    int GetScrollLimit() { return CWnd::GetScrollLimit(SB_CTL); }
};
