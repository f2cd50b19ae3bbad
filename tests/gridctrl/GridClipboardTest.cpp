// Cell texts through the system clipboard with the keys, OLE drops of text and of a
// heading, and the grid printed on the test printer.
#include "MosaicTest.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

#include "GridTestSupport.h"
#include "output/PdfChecks.h"

namespace
{

// The clipboard's text in one format: UTF-16, or the ANSI code page widened; the bytes of
// the ANSI form through nAnsiBytes.
CString ClipboardText(UINT nFormat, size_t* pnAnsiBytes = NULL)
{
    CString strText;
    if (!::OpenClipboard(NULL))
        return strText;
    if (HGLOBAL hGlobal = ::GetClipboardData(nFormat))
    {
        const void* p = ::GlobalLock(hGlobal);
        if (nFormat == CF_UNICODETEXT)
        {
            strText = (LPCWSTR)p;
        }
        else
        {
            const char* psz = (const char*)p;
            if (pnAnsiBytes != NULL)
                *pnAnsiBytes = strlen(psz);
            strText = CString(CStringA(psz));
        }
        ::GlobalUnlock(hGlobal);
    }
    ::CloseClipboard();
    return strText;
}

// Puts the text on the clipboard as another program would: UTF-16, or 8-bit only.
void PutOnClipboard(const CString& strText, BOOL bUnicode = TRUE)
{
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    if (bUnicode)
    {
        const SIZE_T nSize = (strText.GetLength() + 1) * sizeof(WCHAR);
        HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
        memcpy(::GlobalLock(hGlobal), (LPCWSTR)strText, nSize);
        ::GlobalUnlock(hGlobal);
        ::SetClipboardData(CF_UNICODETEXT, hGlobal);
    }
    else
    {
        const CStringA strAnsi(strText);
        const SIZE_T nSize = strAnsi.GetLength() + 1;
        HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
        memcpy(::GlobalLock(hGlobal), (const char*)strAnsi, nSize);
        ::GlobalUnlock(hGlobal);
        ::SetClipboardData(CF_TEXT, hGlobal);
    }
    ::CloseClipboard();
}

class GridTransfer : public GridInput
{
};

TEST_F(GridTransfer, CopyGivesTheSelectionsBoundsAsTabbedLines)
{
    m_grid.SetItemText(1, 1, L"A");
    m_grid.SetItemText(1, 3, L"C");
    m_grid.SetSelectedRange(1, 1, 1, 1);
    m_grid.SetFocusCellRowCol(1, 1);
    {
        CHeldKeys ctrl(true, false);
        m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL,
                           MAKELPARAM(CellCentre(m_grid, 1, 3).x, CellCentre(m_grid, 1, 3).y));
        m_grid.SendMessage(WM_LBUTTONUP, MK_CONTROL,
                           MAKELPARAM(CellCentre(m_grid, 1, 3).x, CellCentre(m_grid, 1, 3).y));
    }
    ASSERT_EQ(std::vector<CCellID>({ CCellID(1, 1), CCellID(1, 3) }), SelectedCells(m_grid));
    Key('C', true);
    EXPECT_EQ(CString(L"A\t\tC"), ClipboardText(CF_UNICODETEXT));
    size_t nBytes = 0;
    EXPECT_EQ(CString(L"A\t\tC"), ClipboardText(CF_TEXT, &nBytes));
    EXPECT_EQ(4u, nBytes);

    // A hidden row and column leave no line and no field; Ctrl+Insert copies as well.
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCellRowCol(2, 1);
    m_grid.SetSelectedRange(2, 1, 4, 2);
    m_grid.SetRowHeight(3, 0);
    m_grid.SetColumnWidth(2, 0);
    Key(VK_INSERT, true);
    EXPECT_EQ(CString(L"2,1\r\n4,1"), ClipboardText(CF_UNICODETEXT));

    // Texts beyond the ANSI code page keep every character in the UTF-16 form.
    const CString strGreek = L"\x03A9\x03BC\x03AD\x03B3\x03B1 \x4E2D";
    m_grid.SetItemText(2, 1, strGreek);
    m_grid.SetSelectedRange(2, 1, 2, 1);
    Key('C', true);
    EXPECT_EQ(strGreek, ClipboardText(CF_UNICODETEXT));

    // Nothing selected: nothing copied.
    PutOnClipboard(L"before");
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCellRowCol(1, 1);
    Key('C', true);
    EXPECT_EQ(CString(L"before"), ClipboardText(CF_UNICODETEXT));
}

TEST_F(GridTransfer, PasteFillsCellsFromTheStartAsTyped)
{
    const struct
    {
        const char* what;
        LPCWSTR szText;
        CCellID start;
        std::vector<std::pair<CCellID, LPCWSTR>> after;
    } cases[] = {
        // A comma belongs to the text.
        { "tab parts cells", L"1,2\t3", CCellID(1, 1),
          { { CCellID(1, 1), L"1,2" }, { CCellID(1, 2), L"3" }, { CCellID(1, 3), L"1,3" } } },
        { "lines", L"x\r\ny\r\n", CCellID(1, 1),
          { { CCellID(1, 1), L"x" }, { CCellID(2, 1), L"y" }, { CCellID(3, 1), L"3,1" } } },
        { "blanks trimmed", L"  a \t b\r\n", CCellID(2, 2),
          { { CCellID(2, 2), L"a" }, { CCellID(2, 3), L"b" } } },
        { "beyond the last column", L"a\tb\tc", CCellID(1, 3),
          { { CCellID(1, 3), L"a" }, { CCellID(1, 4), L"b" }, { CCellID(2, 1), L"2,1" } } },
        { "beyond the last row", L"a\nb", CCellID(5, 1), { { CCellID(5, 1), L"a" } } },
        { "a trailing tab", L"a\t", CCellID(1, 1),
          { { CCellID(1, 1), L"a" }, { CCellID(1, 2), L"1,2" } } },
        { "two tabs", L"a\t\tb", CCellID(1, 1),
          { { CCellID(1, 1), L"a" }, { CCellID(1, 2), L"" }, { CCellID(1, 3), L"b" } } },
        { "a read-only cell keeps its text", L"a\tb\tc", CCellID(4, 1),
          { { CCellID(4, 1), L"a" }, { CCellID(4, 2), L"4,2" }, { CCellID(4, 3), L"c" } } },
        { "hidden row passed over", L"a\nb", CCellID(2, 4),
          { { CCellID(2, 4), L"a" }, { CCellID(3, 4), L"3,4" }, { CCellID(4, 4), L"b" } } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        FillTexts(m_grid);
        m_grid.SetRowHeight(3, c.start.col == 4 ? 0 : 20);
        m_grid.SetItemState(4, 2, m_grid.GetItemState(4, 2) | GridCellReadOnly);
        m_grid.ResetSelectedRange();
        m_grid.SetFocusCell(c.start);
        PutOnClipboard(c.szText);
        Key('V', true);
        for (const auto& cell : c.after)
            EXPECT_EQ(CString(cell.second), m_grid.GetItemText(cell.first.row, cell.first.col))
                << cell.first.row << "," << cell.first.col;
    }

    // The pasted cells end up selected; 8-bit text from another program pastes too, and
    // Shift+Insert pastes as Ctrl+V does.
    FillTexts(m_grid);
    m_grid.SetRowHeight(3, 20);
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCellRowCol(1, 1);
    PutOnClipboard(L"p\tq\r\nr", FALSE);
    Key(VK_INSERT, false, true);
    EXPECT_EQ(CString(L"q"), m_grid.GetItemText(1, 2));
    EXPECT_EQ(CString(L"r"), m_grid.GetItemText(2, 1));
    EXPECT_EQ(Rect(1, 1, 2, 2), SelectedCells(m_grid));

    // A selection says where the paste starts; a read-only grid takes nothing.
    m_grid.SetSelectedRange(3, 3, 4, 4);
    PutOnClipboard(L"s");
    Key('V', true);
    EXPECT_EQ(CString(L"s"), m_grid.GetItemText(3, 3));
    m_grid.SetEditable(FALSE);
    PutOnClipboard(L"t");
    Key('V', true);
    EXPECT_EQ(CString(L"s"), m_grid.GetItemText(3, 3));
}

TEST_F(GridTransfer, CutEmptiesWhatItCopiesAndAnOpenEditorTakesThePaste)
{
    m_grid.SetSelectedRange(2, 2, 2, 3);
    m_grid.SetFocusCellRowCol(2, 2);
    Key('X', true);
    EXPECT_EQ(CString(L"2,2\t2,3"), ClipboardText(CF_UNICODETEXT));
    EXPECT_EQ(CString(), m_grid.GetItemText(2, 2));
    EXPECT_EQ(CString(), m_grid.GetItemText(2, 3));

    PutOnClipboard(L"pasted");
    m_grid.ResetSelectedRange();
    m_grid.SetFocusCellRowCol(3, 3);
    Key(VK_F2);
    HWND hEdit = ::GetFocus();
    ASSERT_NE(m_grid.m_hWnd, hEdit);
    m_grid.OnEditPaste();
    CString strText;
    CWnd::FromHandle(hEdit)->GetWindowText(strText);
    EXPECT_EQ(CString(L"3,3pasted"), strText);
    EXPECT_EQ(CString(L"3,3"), m_grid.GetItemText(3, 3));
}

// ---- Drag and drop -----------------------------------------------------------------------------

// The clipboard's data, as a drop brings data.
class DropData
{
public:
    explicit DropData(const CString& strText)
    {
        PutOnClipboard(strText);
        m_bAttached = m_data.AttachClipboard();
    }
    COleDataObject* operator->() { return &m_data; }
    COleDataObject* Get() { return &m_data; }
    BOOL m_bAttached;

private:
    COleDataObject m_data;
};

TEST_F(GridTransfer, DroppedTextPastesWhereTheHighlightIs)
{
    DropData data(L"d1\td2");
    ASSERT_TRUE(data.m_bAttached);
    const CPoint point = CellCentre(m_grid, 2, 2);
    EXPECT_EQ(DROPEFFECT_NONE, m_grid.OnDragEnter(data.Get(), 0, point))
        << "drag and drop is off";

    m_grid.EnableDragAndDrop(TRUE);
    EXPECT_EQ(DROPEFFECT_MOVE, m_grid.OnDragEnter(data.Get(), 0, point));
    EXPECT_EQ(DROPEFFECT_COPY, m_grid.OnDragOver(data.Get(), MK_CONTROL, point));
    EXPECT_TRUE(m_grid.GetCell(2, 2)->IsDropHighlighted());
    EXPECT_EQ(DROPEFFECT_MOVE, m_grid.OnDragOver(data.Get(), 0, CellCentre(m_grid, 3, 1)));
    EXPECT_FALSE(m_grid.GetCell(2, 2)->IsDropHighlighted());
    EXPECT_TRUE(m_grid.GetCell(3, 1)->IsDropHighlighted());
    m_grid.SetItemState(4, 1, m_grid.GetItemState(4, 1) | GridCellReadOnly);
    EXPECT_EQ(DROPEFFECT_NONE, m_grid.OnDragOver(data.Get(), 0, CellCentre(m_grid, 4, 1)));

    // A normal grid pastes the drop, even while drops would move rows of a virtual one.
    m_grid.SetDropMovesRows(true);
    EXPECT_TRUE(m_grid.OnDrop(data.Get(), DROPEFFECT_MOVE, CellCentre(m_grid, 3, 1)));
    EXPECT_EQ(CString(L"d1"), m_grid.GetItemText(3, 1));
    EXPECT_EQ(CString(L"d2"), m_grid.GetItemText(3, 2));
    EXPECT_FALSE(m_grid.GetCell(3, 1)->IsDropHighlighted());
    EXPECT_TRUE(SelectedCells(m_grid).empty()) << "dropped cells are not selected";

    m_grid.OnDragEnter(data.Get(), 0, point);
    m_grid.OnDragLeave();

    // The drag's picture is the focus cell's.
    m_grid.SetFocusCellRowCol(2, 2);
    CSize size;
    CImageList* pImage = m_grid.CreateDragImage(&size);
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(CSize(60, 20), size);
    EXPECT_EQ(1, pImage->GetImageCount());
    delete pImage;
    m_grid.SetFocusCell(CCellID());
    EXPECT_EQ(nullptr, m_grid.CreateDragImage(&size));
    EXPECT_FALSE(m_grid.GetCell(2, 2)->IsDropHighlighted());
    EXPECT_EQ(CCellID(), m_grid.GetDropCell());
}

TEST_F(GridTransfer, AHeadingDroppedOnAnotherMovesItsColumn)
{
    m_grid.SetColumnDrag(true);
    const CPoint heading = CellCentre(m_grid, 0, 2);
    Send(WM_LBUTTONDOWN, heading, MK_LBUTTON);
    EXPECT_EQ(2, m_grid.GetDragColumn());
    EXPECT_EQ(GridMousePrepareDrag, m_grid.GetMouseMode());

    DropData data(L"");
    // Over the cells a column finds no place.
    EXPECT_EQ(DROPEFFECT_NONE, m_grid.OnDragOver(data.Get(), 0, CellCentre(m_grid, 2, 4)));
    EXPECT_EQ(DROPEFFECT_MOVE, m_grid.OnDragOver(data.Get(), 0, CellCentre(m_grid, 0, 4)));
    EXPECT_FALSE(m_grid.OnDrop(data.Get(), DROPEFFECT_MOVE, heading)) << "dropped on itself";
    EXPECT_TRUE(m_grid.OnDrop(data.Get(), DROPEFFECT_MOVE, CellCentre(m_grid, 0, 4)));
    EXPECT_EQ(std::vector<int>({ 0, 1, 3, 4, 2 }), m_grid.ColumnOrder());
    EXPECT_EQ(CString(L"1,2"), m_grid.GetItemText(1, 4));
    EXPECT_EQ(-1, m_grid.GetDragColumn());
    Send(WM_LBUTTONUP, heading, 0);
}

// ---- Printing ----------------------------------------------------------------------------------

TEST_F(GridTransfer, AGridTwoPagesWideAndThreeLongPrintsSixPages)
{
    const char* pszTemp = getenv("TMPDIR");
    std::string strFolder =
        std::string(pszTemp != NULL ? pszTemp : P_tmpdir) + "/mosaic-grid-print-XXXXXX";
    char* szFolder = &strFolder[0];
    ASSERT_NE(nullptr, mkdtemp(szFolder));
    const std::string strJob = std::string(szFolder) + "/job.ps";
    const std::string strPdf = std::string(szFolder) + "/job.pdf";
    setenv("MOSAIC_PRINT_FILE", strJob.c_str(), 1);
    HDC hPrinter = ::CreateDCW(NULL, L"Mosaic Test Printer", NULL, NULL);
    ASSERT_NE(nullptr, hPrinter) << "the test prefix has no printer named Mosaic Test Printer";

    // Four columns of 200 and six rows of 300 at screen proportions: two columns and two
    // rows to a page.
    m_grid.SetRowCount(7);
    for (int nCol = 1; nCol < 5; nCol++)
        m_grid.SetColumnWidth(nCol, 200);
    for (int nRow = 1; nRow < 7; nRow++)
        m_grid.SetRowHeight(nRow, 300);
    FillTexts(m_grid);
    m_grid.SetPrintAsOnScreen(TRUE);

    CDC dc;
    dc.Attach(hPrinter);
    dc.m_bPrinting = TRUE;
    CPrintInfo info;
    m_grid.OnBeginPrinting(&dc, &info);
    EXPECT_EQ(6, m_grid.GetPrintPageCount());
    EXPECT_EQ(2, m_grid.GetPrintPagesAcross());
    EXPECT_EQ(6u, info.GetMaxPage());

    DOCINFOW doc = { sizeof(doc), L"Grid" };
    ASSERT_GT(::StartDocW(hPrinter, &doc), 0);
    for (UINT nPage = 1; nPage <= 6; nPage++)
    {
        info.m_nCurPage = nPage;
        ::StartPage(hPrinter);
        m_grid.OnPrint(&dc, &info);
        ::EndPage(hPrinter);
        if (nPage == 2)
        {
            // The second band across of the first band down.
            EXPECT_EQ(1, m_grid.GetPrintFirstRow());
            EXPECT_EQ(3, m_grid.GetPrintFirstColumn());
        }
    }
    ::EndDoc(hPrinter);
    m_grid.OnEndPrinting(&dc, &info);
    dc.Detach();
    ::DeleteDC(hPrinter);

    RunCommand("ps2pdf '" + strJob + "' '" + strPdf + "' 2>&1");
    const std::string strInfo = RunCommand("pdfinfo '" + strPdf + "' 2>&1");
    EXPECT_EQ("6", InfoValue(strInfo, "Pages")) << strInfo;
    const std::string strPage2 = RunCommand("pdftotext -f 2 -l 2 '" + strPdf + "' - 2>&1");
    EXPECT_NE(std::string::npos, strPage2.find("Page 2 of 6")) << strPage2;
    EXPECT_NE(std::string::npos, strPage2.find("1,3")) << strPage2;
    EXPECT_NE(std::string::npos, strPage2.find("2,4")) << strPage2;
    EXPECT_EQ(std::string::npos, strPage2.find("1,1")) << strPage2;
    EXPECT_NE(std::string::npos, strPage2.find("0,3")) << "the headings repeat";
    const std::string strPage5 = RunCommand("pdftotext -f 5 -l 5 '" + strPdf + "' - 2>&1");
    EXPECT_NE(std::string::npos, strPage5.find("5,1")) << strPage5;
    EXPECT_NE(std::string::npos, strPage5.find("5,0")) << "the fixed column repeats";
    unlink(strJob.c_str());
    unlink(strPdf.c_str());
    rmdir(szFolder);
}

} // namespace
