// What the grid's tests share: a grid whose inner tables can be looked at, an owner window
// that records the grid's notifications and answers them as told, and the way a dialog
// gives a grid its window.
#pragma once

#include <windows.h>

#include <map>
#include <stdlib.h>
#include <string.h>
#include <vector>

#include "AfxResource.h"
#include "MosaicTest.h"
#include "AfxWin.h"
#include "GridCtrl.h"

// A grid with its column order, selection map and wheel setting within the tests' reach,
// counting the scroll messages it gets.
class CTestGrid : public CGridCtrl
{
public:
    using CGridCtrl::CGridCtrl;

    std::vector<int> ColumnOrder() const { return m_arColOrder; }
    void SetColumnOrder(const std::vector<int>& order) { m_arColOrder = order; }
    size_t SelectionMapSize() const { return m_SelectedCellMap.size(); }
    bool InSelectionMap(int nRow, int nCol) const
    {
        return m_SelectedCellMap.count(SelectionKey(nRow, nCol)) != 0;
    }
    void SetWheelLines(int nLines) { m_nRowsPerWheelNotch = nLines; }
    bool DropTargetRegistered() const { return m_DropTarget.IsRegistered() != FALSE; }
    CTitleTip& TitleTip() { return m_TitleTip; }

    int m_nScrollMessages = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HSCROLL || message == WM_VSCROLL)
            m_nScrollMessages++;
        return CGridCtrl::WindowProc(message, wParam, lParam);
    }
};

// A top-level window standing for the dialog: it receives the grid's WM_NOTIFY records and
// answers each code with the result set for it (0 by default).
class CGridOwner : public CWnd
{
public:
    struct Notification
    {
        int nCode;
        int nRow;
        int nCol;
        CString strText;   // the cell's text when the record came
        UINT_PTR nID;
        HWND hWndFrom;
    };

    explicit CGridOwner(CSize size = CSize(400, 300))
    {
        CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW),
                                        (HBRUSH)(COLOR_WINDOW + 1)),
                 L"Grid test", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, NULL, NULL);
    }
    ~CGridOwner() override
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }

    // Makes a grid window as a dialog's custom control, subclassed into the grid object,
    // with the bars the dialogs ask for.
    void Attach(CGridCtrl& grid, CRect rect, UINT nID = 1077)
    {
        HWND hWnd = ::CreateWindowExW(0, GRIDCTRL_CLASSNAME, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                      rect.left, rect.top, rect.Width(), rect.Height(), m_hWnd,
                                      (HMENU)(UINT_PTR)nID, AfxGetInstanceHandle(), NULL);
        grid.SubclassWindow(hWnd);
        grid.EnableScrollBars(SB_VERT, TRUE);
        grid.ResetScrollBars();
    }

    // The codes received, in order.
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const auto& n : m_notifications)
            codes.push_back(n.nCode);
        return codes;
    }
    // Makes the window the active one, so that its controls can take the focus.
    void Activate()
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
    }

    std::vector<Notification> m_notifications;
    std::map<int, LRESULT> m_answers;
    CGridCtrl* m_pGrid = NULL;
    std::vector<UINT> m_commands;   // the control ids of the WM_COMMANDs received

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        m_commands.push_back(LOWORD(wParam));
        return TRUE;
    }

    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        const NM_GRIDVIEW* pRecord = (const NM_GRIDVIEW*)lParam;
        // Cache hints and display requests carry other records.
        if (pRecord->hdr.code == (UINT)LVN_ODCACHEHINT || pRecord->hdr.code == (UINT)LVN_GETDISPINFOW)
            return OnOtherRecord(lParam, pResult);
        Notification notification = { (int)pRecord->hdr.code, pRecord->iRow, pRecord->iColumn,
                                      CString(), pRecord->hdr.idFrom, pRecord->hdr.hwndFrom };
        if (m_pGrid != NULL)
            notification.strText = m_pGrid->GetItemText(pRecord->iRow, pRecord->iColumn);
        m_notifications.push_back(notification);
        auto it = m_answers.find((int)pRecord->hdr.code);
        *pResult = it == m_answers.end() ? 0 : it->second;
        return TRUE;
    }
    // What a virtual grid's owner does with the records that are no grid notification.
    virtual BOOL OnOtherRecord(LPARAM, LRESULT* pResult)
    {
        *pResult = 0;
        return TRUE;
    }
};

// Holds Ctrl and Shift down, as GetKeyState reads them, for its lifetime.
class CHeldKeys
{
public:
    CHeldKeys(bool bCtrl, bool bShift)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        memcpy(state, m_saved, sizeof(state));
        state[VK_CONTROL] = bCtrl ? 0x80 : 0;
        state[VK_SHIFT] = bShift ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
    ~CHeldKeys() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

// A left click at the client point: press and release, with the MK_ flags given.
inline void ClickAt(CWnd& wnd, CPoint point, UINT nFlags = 0)
{
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | nFlags, MAKELPARAM(point.x, point.y));
    wnd.SendMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
}

// The centre of the cell in the grid's client area.
inline CPoint CellCentre(CGridCtrl& grid, int nRow, int nCol)
{
    CRect rect;
    grid.GetCellRect(nRow, nCol, rect);
    return rect.CenterPoint();
}

// While MOSAIC_GRID_LOOK is set, shows the screen as it is for a moment, for a person to
// capture and look at.
inline void HoldForLooking()
{
    if (getenv("MOSAIC_GRID_LOOK") == NULL)
        return;
    MSG msg;
    for (DWORD dwEnd = ::GetTickCount() + 1500; ::GetTickCount() < dwEnd; ::Sleep(20))
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
}

// Delivers what is pending: paints, posted scroll messages.
inline void PumpGridMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The selected cells, row by row.
inline std::vector<CCellID> SelectedCells(const CGridCtrl& grid)
{
    std::vector<CCellID> cells;
    for (int nRow = 0; nRow < grid.GetRowCount(); nRow++)
        for (int nCol = 0; nCol < grid.GetColumnCount(); nCol++)
            if (grid.IsCellSelected(nRow, nCol))
                cells.push_back(CCellID(nRow, nCol));
    return cells;
}

// The cells of a rectangle, row by row.
inline std::vector<CCellID> Rect(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol)
{
    std::vector<CCellID> cells;
    for (int nRow = nMinRow; nRow <= nMaxRow; nRow++)
        for (int nCol = nMinCol; nCol <= nMaxCol; nCol++)
            cells.push_back(CCellID(nRow, nCol));
    return cells;
}

// Each cell holds "row,column".
inline void FillTexts(CGridCtrl& grid)
{
    for (int nRow = 0; nRow < grid.GetRowCount(); nRow++)
        for (int nCol = 0; nCol < grid.GetColumnCount(); nCol++)
        {
            CString strText;
            strText.Format(L"%d,%d", nRow, nCol);
            grid.SetItemText(nRow, nCol, strText);
        }
}

// A grid of 6 x 5 cells with one fixed row and column: the fixed column 40 pixels wide, the
// others 60, every row 20 high.
class GridInput : public testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.Attach(m_grid, CRect(0, 0, 380, 260));
        m_owner.m_pGrid = &m_grid;
        m_owner.Activate();
        for (int nCol = 0; nCol < 5; nCol++)
            m_grid.SetColumnWidth(nCol, nCol == 0 ? 40 : 60);
        for (int nRow = 0; nRow < 6; nRow++)
            m_grid.SetRowHeight(nRow, 20);
        m_grid.ResetScrollBars();
        FillTexts(m_grid);
        m_grid.SetModified(FALSE);
        m_grid.SetFocus();
    }
    void TearDown() override
    {
        m_grid.EndEditing();
        PumpGridMessages();
        m_grid.DestroyWindow();
    }

    void Click(int nRow, int nCol, UINT nFlags = 0)
    {
        ClickAt(m_grid, CellCentre(m_grid, nRow, nCol), nFlags);
    }
    void Key(UINT nKey, bool bCtrl = false, bool bShift = false)
    {
        CHeldKeys keys(bCtrl, bShift);
        m_grid.SendMessage(WM_KEYDOWN, nKey, 0);
    }
    void Send(UINT nMessage, CPoint point, UINT nFlags)
    {
        m_grid.SendMessage(nMessage, nFlags, MAKELPARAM(point.x, point.y));
    }

    CGridOwner m_owner;
    CTestGrid m_grid{ 6, 5, 1, 1 };
};

