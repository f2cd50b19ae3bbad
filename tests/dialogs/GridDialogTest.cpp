// The dialogs that show a table, running modally with the caller's grid: binding it on
// every run with its scroll bars, the check buttons of the colour choice, the click the
// palette table hears, and the keys a user presses in a table inside a dialog.
#include "MosaicTest.h"

#include <functional>
#include <memory>
#include <stdlib.h>

#include "AfxApp.h"
#include "DialPalette.h"
#include "DialogDriver.h"
#include "GridCellCheck.h"
#include "GridCtrl2.h"
#include "InfoMos.h"
#include "LangText.h"
#include "Melange.h"
#include "OptionsMelange.h"
#include "SelCouleurs.h"
#include "resource.h"

namespace
{

using D = CDialogDriver;

class CGridDialogApp : public CWinApp
{
public:
    CGridDialogApp() : CWinApp(L"MosaicGridDialogTest") {}
};

// A table as the program fills one: a heading row and column, rows 35 pixels high.
void FillTable(CGridCtrl& grid, int nRows, int nCols)
{
    grid.DeleteAllItems();
    grid.SetColumnCount(nCols);
    grid.SetRowCount(nRows);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowSelection(FALSE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetHandleTabKey(TRUE);
    for (int nCol = 0; nCol < nCols; nCol++)
        grid.SetColumnWidth(nCol, 80);
    for (int nRow = 0; nRow < nRows; nRow++)
    {
        grid.SetRowHeight(nRow, 35);
        for (int nCol = 0; nCol < nCols; nCol++)
        {
            CString strText;
            strText.Format(L"%d.%d", nRow, nCol);
            grid.SetItemText(nRow, nCol, strText);
            grid.SetItemFormat(nRow, nCol, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
}

// The palette table as the program fills it: index, swatch, name, symbol, red, green, blue.
void FillPaletteTable(CGridCtrl2& grid)
{
    static const struct
    {
        LPCWSTR szName, szSymbol;
        int r, g, b;
    } colours[] = {
        { L"Blanc", L"A", 250, 250, 245 }, { L"Rouge vif", L"B", 200, 30, 40 },
        { L"Bleu, nuit", L"C", 20, 30, 90 }, { L"Vert d'eau", L"D", 120, 200, 170 },
        { L"Ocre", L"E", 200, 150, 60 },
    };
    const int nColours = ARRAYSIZE(colours);
    FillTable(grid, nColours + 1, 7);
    grid.SetColourRowCount(nColours);
    const int widths[] = { 60, 80, 80, 80, 70, 70, 70 };
    const LPCWSTR headings[] = { L"N\u00b0", L"Couleur", L"Nom", L"Symbole", L"R", L"V", L"B" };
    for (int nCol = 0; nCol < 7; nCol++)
    {
        grid.SetColumnWidth(nCol, widths[nCol]);
        grid.SetItemText(0, nCol, headings[nCol]);
    }
    for (int i = 0; i < nColours; i++)
    {
        const int nRow = i + 1;
        CString strText;
        strText.Format(L"%d", i);
        grid.SetItemText(nRow, 0, strText);
        grid.SetItemText(nRow, 1, L"");
        grid.SetItemText(nRow, 2, colours[i].szName);
        grid.SetItemFormat(nRow, 2, DT_VCENTER | DT_SINGLELINE);
        grid.SetItemText(nRow, 3, colours[i].szSymbol);
        const int rgb[] = { colours[i].r, colours[i].g, colours[i].b };
        for (int c = 0; c < 3; c++)
        {
            strText.Format(L"%d", rgb[c]);
            grid.SetItemText(nRow, 4 + c, strText);
        }
    }
    grid.SetFocusCellRowCol(1, 1);
}

class GridDialogTest : public testing::Test
{
protected:
    // The program's own language files.
    void SetUp() override
    {
        CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
        strFolder.Replace(L"/", L"\\");
        SetLangTextFolder(strFolder);
    }
    void TearDown() override { SetLangTextFolder(L""); }

    // While MOSAIC_DIALOG_SHOTS is set, each dialog stays a moment for a screen capture.
    static void HoldForLooking(HWND hDlg)
    {
        if (getenv("MOSAIC_DIALOG_SHOTS") == NULL)
            return;
        ::RedrawWindow(hDlg, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::Sleep(1500);
    }

    CGridDialogApp m_app;
};

struct GridDialogCase
{
    const char* name;
    std::function<std::unique_ptr<CDialog>(CGridCtrl2*)> create;
    int nIDC;
};

template <class T>
std::function<std::unique_ptr<CDialog>(CGridCtrl2*)> WithGrid()
{
    return [](CGridCtrl2* pGrid) {
        auto p = std::make_unique<T>();
        p->m_pGrid = pGrid;
        return std::unique_ptr<CDialog>(std::move(p));
    };
}

// The grid belongs to the caller and outlives the dialog: each run binds it to the dialog's
// control again, with its bars, and lets it go when the window goes.
TEST_F(GridDialogTest, GridDialogsBindTheCallersGridOnEveryRun)
{
    const GridDialogCase cases[] = {
        { "CDialPalette", WithGrid<CDialPalette>(), IDC_PALETTE_GRID },
        { "CSelCouleurs", WithGrid<CSelCouleurs>(), IDC_SELECT_GRID },
        { "CMelange", WithGrid<CMelange>(), IDC_MIX_GRID },
        { "COptionsMelange", WithGrid<COptionsMelange>(), IDC_MIXOPT_GRID },
        { "CInfoMos", WithGrid<CInfoMos>(), IDC_INFO_GRID },
    };
    for (const GridDialogCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CGridCtrl2 grid(0, 0, 0, 0);
        // Wide enough to scroll across, too short to scroll down.
        FillTable(grid, 3, 12);
        std::unique_ptr<CDialog> pDlg = c.create(&grid);
        for (int nRun = 0; nRun < 2; nRun++)
        {
            bool bBound = false;
            DWORD dwStyle = 0, dwExStyle = 0;
            int nBarState = 0;
            INT_PTR nResult = D::Run(*pDlg, [&](HWND hDlg) {
                bBound = grid.m_hWnd != NULL && grid.m_hWnd == ::GetDlgItem(hDlg, c.nIDC);
                dwStyle = grid.GetStyle();
                dwExStyle = grid.GetExStyle();
                nBarState = grid.GetScrollBarState();
                HoldForLooking(hDlg);
                D::Click(hDlg, IDOK);
            });
            EXPECT_EQ(nResult, IDOK) << "run " << nRun;
            EXPECT_TRUE(bBound) << "run " << nRun;
            EXPECT_EQ(grid.m_hWnd, nullptr) << "run " << nRun;
            EXPECT_TRUE(dwStyle & WS_VSCROLL) << "the vertical bar always shows";
            EXPECT_TRUE(dwStyle & WS_HSCROLL) << "the table is wider than the dialog";
            EXPECT_TRUE(dwExStyle & WS_EX_CLIENTEDGE);
            EXPECT_TRUE(nBarState & 2);
        }
        // A click on a table would post its id as a command: no table takes OK's or
        // Cancel's.
        EXPECT_NE(IDOK, c.nIDC);
        EXPECT_NE(IDCANCEL, c.nIDC);
    }
}

TEST_F(GridDialogTest, ChooseAllAndNoneSetEveryColoursCheck)
{
    for (int nColours : { 0, 3 })
    {
        SCOPED_TRACE(nColours);
        CGridCtrl grid;
        FillTable(grid, nColours + 1, 2);
        for (int nRow = 1; nRow <= nColours; nRow++)
            ASSERT_TRUE(grid.SetCellType(nRow, 1, RUNTIME_CLASS(CGridCellCheck)));
        CSelCouleurs dlg;
        dlg.m_pGrid = &grid;
        std::vector<BOOL> afterAll, afterNone;
        auto checks = [&grid]() {
            std::vector<BOOL> result;
            for (int nRow = 0; nRow < grid.GetRowCount(); nRow++)
            {
                CGridCellCheck* pCheck = dynamic_cast<CGridCellCheck*>(grid.GetCell(nRow, 1));
                result.push_back(pCheck != NULL && pCheck->GetCheck());
            }
            return result;
        };
        INT_PTR nResult = D::RunSteps(dlg, {
            [&](HWND hDlg) { D::Click(hDlg, IDC_SELECT_ALL); return true; },
            [&](HWND hDlg) {
                afterAll = checks();
                HoldForLooking(hDlg);
                D::Click(hDlg, IDC_SELECT_NONE);
                return true;
            },
            [&](HWND hDlg) { afterNone = checks(); D::Click(hDlg, IDOK); return true; },
        });
        EXPECT_EQ(IDOK, nResult);
        std::vector<BOOL> expectedAll(nColours + 1, TRUE);
        expectedAll[0] = FALSE;   // the heading is no check cell
        EXPECT_EQ(expectedAll, afterAll);
        EXPECT_EQ(std::vector<BOOL>(nColours + 1, FALSE), afterNone);
    }
}

TEST_F(GridDialogTest, ThePaletteTableHearsAClickInItsGrid)
{
    CGridCtrl2 grid;
    FillPaletteTable(grid);
    CDialPalette dlg;
    dlg.m_pGrid = &grid;
    INT_PTR nResult = D::RunSteps(dlg, {
        [&](HWND) {
            CRect rect;
            grid.GetCellRect(3, 2, rect);
            const CPoint point = rect.CenterPoint();
            grid.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            grid.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
            return true;
        },
        [&](HWND hDlg) {
            HoldForLooking(hDlg);
            D::Click(hDlg, IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, nResult) << "the grid's command closes nothing";
    EXPECT_EQ(3, dlg.m_nClickedRow);
    EXPECT_EQ(CCellID(3, 2), grid.GetFocusCell());
}

// Holds Ctrl down, as GetKeyState reads it, while the dialog's loop handles posted keys.
void SetCtrl(bool bDown)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_CONTROL] = bDown ? 0x80 : 0;
    ::SetKeyboardState(state);
}

CString ClipboardText()
{
    CString strText;
    if (::OpenClipboard(NULL))
    {
        if (HGLOBAL hGlobal = ::GetClipboardData(CF_UNICODETEXT))
        {
            strText = (LPCWSTR)::GlobalLock(hGlobal);
            ::GlobalUnlock(hGlobal);
        }
        ::CloseClipboard();
    }
    return strText;
}

// Inside the modal dialog the keys reach the table: select all, copy, cut and paste with
// Ctrl, Tab from cell to cell, typing into a cell and the editor's own Enter and Escape.
TEST_F(GridDialogTest, KeysReachTheTableInsideItsDialog)
{
    CGridCtrl grid;
    FillTable(grid, 4, 3);
    CMelange dlg;
    dlg.m_pGrid = &grid;
    std::vector<CCellID> selectedAll;
    CString strCopied, strCut, strTyped, strAfterEscape;
    CCellID focusAfterTab;
    HWND hGrid = NULL;
    INT_PTR nResult = D::RunSteps(dlg, {
        [&](HWND) {
            hGrid = grid.m_hWnd;
            grid.SetFocus();
            grid.SetFocusCellRowCol(1, 1);
            SetCtrl(true);
            D::Key(hGrid, 'A');
            return true;
        },
        [&](HWND) {
            selectedAll = {};
            for (int nRow = 0; nRow < 4; nRow++)
                for (int nCol = 0; nCol < 3; nCol++)
                    if (grid.IsCellSelected(nRow, nCol))
                        selectedAll.push_back(CCellID(nRow, nCol));
            grid.SetSelectedRange(1, 1, 1, 2);
            D::Key(hGrid, 'C');
            return true;
        },
        [&](HWND) {
            strCopied = ClipboardText();
            grid.SetSelectedRange(2, 1, 2, 1);
            D::Key(hGrid, 'X');
            return true;
        },
        [&](HWND) {
            strCut = grid.GetItemText(2, 1);
            grid.SetSelectedRange(3, 1, 3, 1);
            D::Key(hGrid, 'V');
            return true;
        },
        [&](HWND) {
            SetCtrl(false);
            grid.ResetSelectedRange();
            grid.SetFocusCellRowCol(1, 1);
            D::Key(hGrid, VK_TAB);
            return true;
        },
        [&](HWND) {
            focusAfterTab = grid.GetFocusCell();
            ::PostMessageW(hGrid, WM_CHAR, L'w', 1);
            return true;
        },
        [&](HWND) {
            // The editor has the focus: the dialog leaves its Enter alone.
            HWND hEdit = ::GetFocus();
            D::Key(hEdit, VK_RETURN);
            ::PostMessageW(hEdit, WM_CHAR, VK_RETURN, 1);
            return true;
        },
        [&](HWND) {
            strTyped = grid.GetItemText(1, 2);
            ::PostMessageW(hGrid, WM_CHAR, L'q', 1);
            return true;
        },
        [&](HWND) {
            HWND hEdit = ::GetFocus();
            D::Key(hEdit, VK_ESCAPE);
            ::PostMessageW(hEdit, WM_CHAR, VK_ESCAPE, 1);
            return true;
        },
        [&](HWND hDlg) {
            strAfterEscape = grid.GetItemText(1, 2);
            HoldForLooking(hDlg);
            D::Click(hDlg, IDOK);
            return true;
        },
    });
    SetCtrl(false);
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(6u, selectedAll.size());
    EXPECT_EQ(CString(L"1.1\t1.2"), strCopied);
    EXPECT_EQ(CString(), strCut);
    EXPECT_EQ(CString(L"2.1"), grid.GetItemText(3, 1)) << "the cut text pasted";
    EXPECT_EQ(CCellID(1, 2), focusAfterTab);
    EXPECT_EQ(CString(L"w"), strTyped);
    EXPECT_EQ(CString(L"w"), strAfterEscape);
}

} // namespace
