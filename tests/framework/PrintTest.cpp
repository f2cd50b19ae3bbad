// Printing through a view's print loop to the test prefix's virtual printer, whose port
// writes each job into the file MOSAIC_PRINT_FILE names; the job is read back with
// ghostscript and poppler. Then the print preview in a real frame: paging, one and two
// pages, zoom, and the frame as it was once the preview closes.
#include "MosaicTest.h"

#include <dlgs.h>
#include <functional>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "DialogAnswerer.h"
#include "ResourceLanguage.h"

#include "AfxDocTempl.h"
#include "AfxPrint.h"
#include "AfxRes.h"

namespace {

const UINT IDR_TESTFRAME = 32512;   // the test resources' menu, keys and strings
const WCHAR kPrinter[] = L"Mosaic Test Printer";

class CPagesDoc : public CDocument
{
    DECLARE_DYNCREATE(CPagesDoc)
};

IMPLEMENT_DYNCREATE(CPagesDoc, CDocument)

// A view of m_nPages pages, each showing its number; it logs its printing members.
class CPagesView : public CView
{
    DECLARE_DYNCREATE(CPagesView)
public:
    UINT m_nPages = 3;          // 0 leaves the count unknown
    UINT m_nCancelAtPage = 0;   // the printing dialog's Cancel is clicked during this page
    CString m_strCalls;         // "prepare begin dc1 dc1 print1 ... end "
    std::vector<UINT> m_printed;
    BOOL m_bAllPrinting = TRUE;   // every page had a printing device context
    BOOL m_bAllPreview = TRUE;    // ... and the print information's preview flag
    CRect m_rectDraw;
    CString m_strStatusTexts;     // the printing dialog's texts while a page printed

    void OnDraw(CDC* pDC) override
    {
        if (!pDC->IsPrinting())
            return;
        // A frame round the printable area and the page number in large letters.
        pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(&m_rectDraw);
        CFont font;
        font.CreateFont(-pDC->GetDeviceCaps(LOGPIXELSY) / 2, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                        DEFAULT_CHARSET, 0, 0, 0, 0, L"DejaVu Sans");
        CFont* pOldFont = pDC->SelectObject(&font);
        CString strText;
        strText.Format(L"Page %u", m_nDrawPage);
        pDC->TextOut(m_rectDraw.left + m_rectDraw.Width() / 10,
                     m_rectDraw.top + m_rectDraw.Height() / 10, strText);
        pDC->SelectObject(pOldFont);
    }

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        m_strCalls += L"prepare ";
        if (m_nPages != 0)
            pInfo->SetMaxPage(m_nPages);
        return DoPreparePrinting(pInfo);
    }
    void OnBeginPrinting(CDC*, CPrintInfo*) override { m_strCalls += L"begin "; }
    void OnEndPrinting(CDC*, CPrintInfo*) override { m_strCalls += L"end "; }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override
    {
        CView::OnPrepareDC(pDC, pInfo);
        if (pInfo != NULL)
            m_strCalls.AppendFormat(L"dc%u ", pInfo->m_nCurPage);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        m_strCalls.AppendFormat(L"print%u ", pInfo->m_nCurPage);
        m_printed.push_back(pInfo->m_nCurPage);
        m_bAllPrinting &= pDC->IsPrinting();
        m_bAllPreview &= pInfo->m_bPreview;
        m_rectDraw = pInfo->m_rectDraw;
        m_nDrawPage = pInfo->m_nCurPage;
        CView::OnPrint(pDC, pInfo);   // draws the page through OnDraw
        if (pInfo->m_nCurPage == m_nCancelAtPage)
            CancelPrinting();
    }

    // What a user sees and does in the printing dialog: reads it, then clicks Cancel.
    void CancelPrinting()
    {
        HWND hDlg = NULL;
        EnumThreadWindows(GetCurrentThreadId(), FindPrintingDialog, (LPARAM)&hDlg);
        if (hDlg == NULL)
            return;
        WCHAR szText[256];
        ::GetWindowTextW(hDlg, szText, ARRAYSIZE(szText));
        m_strStatusTexts = szText;
        for (int nID : {AFX_IDC_PRINT_DOCNAME, AFX_IDC_PRINT_PRINTERNAME, AFX_IDC_PRINT_PAGENUM})
        {
            ::GetDlgItemTextW(hDlg, nID, szText, ARRAYSIZE(szText));
            m_strStatusTexts += CString(L"|") + szText;
        }
        ::SendMessageW(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    }
    static BOOL CALLBACK FindPrintingDialog(HWND hWnd, LPARAM lParam)
    {
        if (!::IsWindowVisible(hWnd) || ::GetDlgItem(hWnd, AFX_IDC_PRINT_PAGENUM) == NULL)
            return TRUE;
        *(HWND*)lParam = hWnd;
        return FALSE;
    }

    UINT m_nDrawPage = 0;

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPagesView, CView)

BEGIN_MESSAGE_MAP(CPagesView, CView)
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

class CPrintApp : public CWinApp
{
public:
    CPrintApp() : CWinApp(L"MosaicPrintTest")
    {
        AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CPagesDoc),
                                              RUNTIME_CLASS(CFrameWnd),
                                              RUNTIME_CLASS(CPagesView)));
    }
    ~CPrintApp() override
    {
        if (m_pMainWnd != NULL)
            m_pMainWnd->DestroyWindow();
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    CFrameWnd* Frame() const { return (CFrameWnd*)m_pMainWnd; }
    CDocument* Doc() const { return View()->GetDocument(); }
    CPagesView* View() const
    {
        // The print view, also while a preview is the active view.
        CWnd* pWnd = Frame()->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CPagesView)))
            pWnd = Frame()->GetDescendantWindow(AFX_IDW_PANE_SAVE, TRUE);
        return (CPagesView*)pWnd;
    }

    // The virtual printer by its name, on the paper given, becomes the application's:
    // a printer queue elsewhere on the machine may be the system's default.
    BOOL SelectTestPrinter(short nPaper)
    {
        HANDLE hPrinter = NULL;
        if (!OpenPrinterW((LPWSTR)kPrinter, &hPrinter, NULL))
            return FALSE;
        DWORD cbNeeded = 0;
        GetPrinterW(hPrinter, 2, NULL, 0, &cbNeeded);
        std::vector<BYTE> info(cbNeeded);
        BOOL bInfo = cbNeeded > 0 && GetPrinterW(hPrinter, 2, info.data(), cbNeeded, &cbNeeded);
        LONG cbDevMode = DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, NULL, NULL, 0);
        if (!bInfo || cbDevMode <= 0)
        {
            ClosePrinter(hPrinter);
            return FALSE;
        }
        HGLOBAL hDevMode = GlobalAlloc(GHND, cbDevMode);
        DEVMODEW* pDevMode = (DEVMODEW*)GlobalLock(hDevMode);
        DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, pDevMode, NULL, DM_OUT_BUFFER);
        pDevMode->dmFields = DM_PAPERSIZE;
        pDevMode->dmPaperSize = nPaper;
        DocumentPropertiesW(NULL, hPrinter, (LPWSTR)kPrinter, pDevMode, pDevMode,
                            DM_IN_BUFFER | DM_OUT_BUFFER);
        GlobalUnlock(hDevMode);
        ClosePrinter(hPrinter);

        // DEVNAMES: the driver, the printer and the port, one after the other.
        LPCWSTR strings[] = {L"winspool", kPrinter, ((PRINTER_INFO_2W*)info.data())->pPortName};
        SIZE_T cchAll = 0;
        for (LPCWSTR psz : strings)
            cchAll += lstrlenW(psz) + 1;
        HGLOBAL hDevNames = GlobalAlloc(GHND, sizeof(DEVNAMES) + cchAll * sizeof(WCHAR));
        DEVNAMES* pDevNames = (DEVNAMES*)GlobalLock(hDevNames);
        WORD* pOffsets[] = {&pDevNames->wDriverOffset, &pDevNames->wDeviceOffset,
                            &pDevNames->wOutputOffset};
        WORD nOffset = sizeof(DEVNAMES) / sizeof(WCHAR);
        for (int i = 0; i < 3; i++)
        {
            *pOffsets[i] = nOffset;
            lstrcpyW((LPWSTR)pDevNames + nOffset, strings[i]);
            nOffset = (WORD)(nOffset + lstrlenW(strings[i]) + 1);
        }
        GlobalUnlock(hDevNames);
        SelectPrinter(hDevNames, hDevMode);
        return TRUE;
    }
};

std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == NULL)
        return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

// The value of one "Key:   value" line of pdfinfo's report.
std::string InfoValue(const std::string& info, const std::string& key)
{
    size_t at = info.find("\n" + key + ":");
    if (at == std::string::npos)
        return "(missing)";
    at = info.find_first_not_of(' ', at + key.size() + 2);
    return info.substr(at, info.find('\n', at) - at);
}

// What a printed job holds, read as a reader reads it.
struct PrintedJob
{
    std::string strInfo;                // pdfinfo's report
    std::vector<std::string> pageTexts; // pdftotext of each page, spaces and breaks trimmed
};

// Each test's job goes to a file of its own, which the printer's port reads from the
// environment when it prints.
class PrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char szFolder[] = "/tmp/mosaic-print-XXXXXX";
        ASSERT_NE(mkdtemp(szFolder), nullptr);
        m_strFolder = szFolder;
        m_strJob = m_strFolder + "/job.ps";
        setenv("MOSAIC_PRINT_FILE", m_strJob.c_str(), 1);
        m_app.OnFileNew();
        ASSERT_NE(m_app.Frame(), nullptr);
        m_app.Frame()->SetWindowPos(NULL, 0, 0, 960, 720, SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(m_app.SelectTestPrinter(DMPAPER_A4))
            << "the test prefix has no printer named Mosaic Test Printer";
    }
    void TearDown() override
    {
        RemoveJob();
        rmdir(m_strFolder.c_str());
    }

    BOOL JobExists() const { return access(m_strJob.c_str(), F_OK) == 0; }
    void RemoveJob() const
    {
        unlink(m_strJob.c_str());
        unlink((m_strFolder + "/job.pdf").c_str());
    }

    PrintedJob ReadJob() const
    {
        PrintedJob job;
        std::string strPdf = m_strFolder + "/job.pdf";
        RunCommand("ps2pdf '" + m_strJob + "' '" + strPdf + "' 2>&1");
        job.strInfo = "\n" + RunCommand("pdfinfo '" + strPdf + "' 2>&1");
        int nPages = atoi(InfoValue(job.strInfo, "Pages").c_str());
        for (int i = 1; i <= nPages; i++)
        {
            std::string strText = RunCommand("pdftotext -f " + std::to_string(i) + " -l " +
                                              std::to_string(i) + " '" + strPdf + "' - 2>&1");
            size_t nEnd = strText.find_last_not_of(" \n\f");
            job.pageTexts.push_back(strText.substr(0, nEnd == std::string::npos ? 0 : nEnd + 1));
        }
        return job;
    }

    static BOOL CALLBACK FindVisibleDialog(HWND hWnd, LPARAM lParam)
    {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0)
            (*(int*)lParam)++;
        return TRUE;
    }
    static int VisibleDialogs()
    {
        int nCount = 0;
        EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, (LPARAM)&nCount);
        return nCount;
    }

    CResourceLanguage m_french{kFrenchResources};
    CPrintApp m_app;
    std::string m_strFolder;
    std::string m_strJob;
};

// Answers the system's print dialog: OK for every page, OK for a range of pages, or Cancel.
class PrintDialogAnswerer : public DialogAnswerer<PrintDialogAnswerer>
{
public:
    enum Answer { allPages, pages2to3, cancel };

    explicit PrintDialogAnswerer(Answer answer) : DialogAnswerer(50)
    {
        s_answer = answer;
        s_nCount = 0;
        s_strPrinter.Empty();
    }

    static inline Answer s_answer = allPages;
    static inline int s_nCount = 0;
    static inline CString s_strPrinter;   // the printer the dialog offered

    // The print dialog is the one with the printer's list and the page range.
    static BOOL OnDialog(HWND hWnd)
    {
        if (GetDlgItem(hWnd, cmb4) == NULL || GetDlgItem(hWnd, edt1) == NULL)
            return FALSE;
        s_nCount++;
        WCHAR szPrinter[128] = {};
        GetDlgItemTextW(hWnd, cmb4, szPrinter, ARRAYSIZE(szPrinter));
        s_strPrinter = szPrinter;
        ShowWindow(hWnd, SW_HIDE);
        if (s_answer == cancel)
        {
            PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
        if (s_answer == pages2to3)
        {
            SendMessageW(GetDlgItem(hWnd, rad3), BM_CLICK, 0, 0);
            SetDlgItemTextW(hWnd, edt1, L"2");
            SetDlgItemTextW(hWnd, edt2, L"3");
        }
        PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     (LPARAM)GetDlgItem(hWnd, IDOK));
        return TRUE;
    }
};

// ---- The print loop ---------------------------------------------------------------------------

TEST_F(PrintTest, DirectPrintSendsEveryPageOfTheViewToThePrinter)
{
    struct Case
    {
        UINT nPages;                // 0: the view does not know its count
        short nPaper;
        LPCWSTR pszCalls;
        std::vector<std::string> pageTexts;
        const char* pszPageSize;
    };
    const Case cases[] = {
        {3, DMPAPER_A4, L"prepare begin dc1 dc1 print1 dc2 dc2 print2 dc3 dc3 print3 end ",
         {"Page 1", "Page 2", "Page 3"}, "595 x 842 pts (A4)"},
        // An unknown count prints the first page only.
        {0, DMPAPER_LETTER, L"prepare begin dc1 dc1 print1 dc2 end ", {"Page 1"},
         "612 x 792 pts (letter)"},
    };
    CPagesView* pView = m_app.View();
    m_app.Doc()->SetTitle(L"Plan du jardin");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "pages " << c.nPages);
        RemoveJob();
        ASSERT_TRUE(m_app.SelectTestPrinter(c.nPaper));
        pView->m_nPages = c.nPages;
        pView->m_strCalls.Empty();
        pView->m_printed.clear();

        m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);

        EXPECT_EQ(pView->m_strCalls, CString(c.pszCalls));
        EXPECT_TRUE(pView->m_bAllPrinting);
        EXPECT_FALSE(pView->m_bAllPreview);
        // The whole printable area, in the printer's pixels.
        CDC dc;
        ASSERT_TRUE(m_app.CreatePrinterDC(dc));
        EXPECT_EQ(pView->m_rectDraw,
                  CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)));
        // The program is the user's again.
        EXPECT_TRUE(m_app.Frame()->IsWindowEnabled());
        EXPECT_EQ(VisibleDialogs(), 0);

        ASSERT_TRUE(JobExists());
        PrintedJob job = ReadJob();
        EXPECT_EQ(InfoValue(job.strInfo, "Pages"), std::to_string(c.pageTexts.size()))
            << job.strInfo;
        EXPECT_EQ(job.pageTexts, c.pageTexts);
        EXPECT_EQ(InfoValue(job.strInfo, "Page size"), c.pszPageSize);
        EXPECT_EQ(InfoValue(job.strInfo, "Title"), "Plan du jardin");
    }
}

TEST_F(PrintTest, PrintDialogGivesThePagesToPrintOrCancelsThePrint)
{
    struct Case
    {
        PrintDialogAnswerer::Answer answer;
        LPCWSTR pszCalls;
        std::vector<std::string> pageTexts;   // empty: no job at all
    };
    const Case cases[] = {
        {PrintDialogAnswerer::allPages,
         L"prepare begin dc1 dc1 print1 dc2 dc2 print2 dc3 dc3 print3 end ",
         {"Page 1", "Page 2", "Page 3"}},
        {PrintDialogAnswerer::pages2to3, L"prepare begin dc2 dc2 print2 dc3 dc3 print3 end ",
         {"Page 2", "Page 3"}},
        {PrintDialogAnswerer::cancel, L"prepare ", {}},
    };
    CPagesView* pView = m_app.View();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "answer " << (int)c.answer);
        RemoveJob();
        pView->m_strCalls.Empty();
        {
            PrintDialogAnswerer answer(c.answer);
            m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT);
            EXPECT_EQ(PrintDialogAnswerer::s_nCount, 1);
            EXPECT_EQ(PrintDialogAnswerer::s_strPrinter, CString(kPrinter));
        }
        EXPECT_EQ(pView->m_strCalls, CString(c.pszCalls));
        EXPECT_TRUE(m_app.Frame()->IsWindowEnabled());
        if (c.pageTexts.empty())
        {
            EXPECT_FALSE(JobExists());
            continue;
        }
        ASSERT_TRUE(JobExists());
        EXPECT_EQ(ReadJob().pageTexts, c.pageTexts);
    }
}

TEST_F(PrintTest, CancelInThePrintingDialogAbortsTheJob)
{
    CPagesView* pView = m_app.View();
    m_app.Doc()->SetTitle(L"Plan du jardin");
    pView->m_nPages = 4;
    pView->m_nCancelAtPage = 2;

    m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);

    // The dialog named the document, the printer and the page; the loop stopped after the
    // page that was printing and ended as usual.
    EXPECT_EQ(pView->m_strStatusTexts,
              CString(L"MosaicPrintTest|Plan du jardin|") + kPrinter + L"|Page 2");
    EXPECT_EQ(pView->m_strCalls, CString(L"prepare begin dc1 dc1 print1 dc2 dc2 print2 end "));
    EXPECT_TRUE(m_app.Frame()->IsWindowEnabled());
    EXPECT_EQ(VisibleDialogs(), 0);
    // Nothing reached the printer's port.
    EXPECT_FALSE(JobExists());

    // The next print is not cancelled by the last one.
    pView->m_nCancelAtPage = 0;
    pView->m_strCalls.Empty();
    m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    ASSERT_TRUE(JobExists());
    EXPECT_EQ(ReadJob().pageTexts,
              (std::vector<std::string>{"Page 1", "Page 2", "Page 3", "Page 4"}));
}

// ---- Print preview ----------------------------------------------------------------------------

// A bar of the frame, at its top (a tool bar) or at its bottom (the message line).
class CTestBar : public CWnd
{
public:
    CTestBar(BOOL bBottom) : m_bBottom(bBottom) {}

protected:
    void PostNcDestroy() override { delete this; }
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* pLayout = (AFX_SIZEPARENTPARAMS*)lParam;
        if (!(GetStyle() & WS_VISIBLE))
            return 0;
        CRect rect(pLayout->rect);
        if (m_bBottom)
            rect.top = pLayout->rect.bottom -= 20;
        else
            rect.bottom = pLayout->rect.top += 24;
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        return 0;
    }

    BOOL m_bBottom;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

// What the preview must give back to the frame.
struct FrameState
{
    HMENU hMenu;
    HACCEL hAccel;
    CView* pActiveView;
    BOOL bToolBarVisible;
    BOOL bStatusVisible;
    BOOL bViewVisible;
    int nViewID;
    CRect rectView;
};

class PreviewTest : public PrintTest
{
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        CFrameWnd* pFrame = m_app.Frame();
        (new CTestBar(FALSE))->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0),
                                      pFrame, AFX_IDW_TOOLBAR);
        (new CTestBar(TRUE))->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0),
                                     pFrame, AFX_IDW_STATUS_BAR);
        pFrame->RecalcLayout();
    }

    FrameState State() const
    {
        CFrameWnd* pFrame = m_app.Frame();
        CPagesView* pView = m_app.View();
        FrameState state;
        state.hMenu = ::GetMenu(pFrame->m_hWnd);
        state.hAccel = pFrame->m_hAccelTable;
        state.pActiveView = pFrame->GetActiveView();
        state.bToolBarVisible = ::IsWindowVisible(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_TOOLBAR));
        state.bStatusVisible = ::IsWindowVisible(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR));
        state.bViewVisible = pView->IsWindowVisible();
        state.nViewID = pView->GetDlgCtrlID();
        pView->GetWindowRect(&state.rectView);
        pFrame->ScreenToClient(&state.rectView);
        return state;
    }

    static void ExpectSameState(const FrameState& now, const FrameState& before)
    {
        EXPECT_EQ(now.hMenu, before.hMenu);
        EXPECT_EQ(now.hAccel, before.hAccel);
        EXPECT_EQ(now.pActiveView, before.pActiveView);
        EXPECT_EQ(now.bToolBarVisible, before.bToolBarVisible);
        EXPECT_EQ(now.bStatusVisible, before.bStatusVisible);
        EXPECT_EQ(now.bViewVisible, before.bViewVisible);
        EXPECT_EQ(now.nViewID, before.nViewID);
        EXPECT_EQ(now.rectView, before.rectView);
    }

    CPreviewView* Preview() const
    {
        CView* pView = m_app.Frame()->GetActiveView();
        return pView != NULL && pView->IsKindOf(RUNTIME_CLASS(CPreviewView)) ? (CPreviewView*)pView
                                                                           : NULL;
    }
    HWND Bar() const { return ::GetDlgItem(m_app.Frame()->m_hWnd, AFX_IDW_PREVIEW_BAR); }
    HWND Button(UINT nID) const { return ::GetDlgItem(Bar(), nID); }
    CString ButtonText(UINT nID) const
    {
        WCHAR szText[64] = {};
        ::GetWindowTextW(Button(nID), szText, ARRAYSIZE(szText));
        return szText;
    }
    CString StatusText() const
    {
        WCHAR szText[64] = {};
        ::GetDlgItemTextW(m_app.Frame()->m_hWnd, AFX_IDW_STATUS_BAR, szText, ARRAYSIZE(szText));
        return szText;
    }
    // The buttons as the user finds them once the program is idle: "+" enabled, "-" not,
    // in the bar's order.
    CString ButtonStates()
    {
        m_app.OnIdle(0);
        CString strStates;
        for (UINT nID : {AFX_ID_PREVIEW_PRINT, AFX_ID_PREVIEW_NEXT, AFX_ID_PREVIEW_PREV,
                         AFX_ID_PREVIEW_NUMPAGE, AFX_ID_PREVIEW_ZOOMIN, AFX_ID_PREVIEW_ZOOMOUT,
                         AFX_ID_PREVIEW_CLOSE})
            strStates += ::IsWindowEnabled(Button(nID)) ? L'+' : L'-';
        return strStates;
    }
    // A click on an enabled button, then the repaint it causes.
    void Click(UINT nID)
    {
        m_app.OnIdle(0);
        ASSERT_TRUE(::IsWindowEnabled(Button(nID))) << std::hex << nID;
        ::SendMessageW(Button(nID), BM_CLICK, 0, 0);
        if (CPreviewView* pPreview = Preview())
            pPreview->UpdateWindow();
    }
    COLORREF PreviewPixel(double fx, double fy) const
    {
        CRect rect;
        Preview()->GetClientRect(&rect);
        HDC hDC = ::GetDC(Preview()->m_hWnd);
        COLORREF color = ::GetPixel(hDC, (int)(rect.Width() * fx), (int)(rect.Height() * fy));
        ::ReleaseDC(Preview()->m_hWnd, hDC);
        return color;
    }
};

TEST_F(PreviewTest, PagesForwardBackTwoPagesZoomAndCloseGiveTheFrameBack)
{
    CFrameWnd* pFrame = m_app.Frame();
    CPagesView* pView = m_app.View();
    const FrameState before = State();
    const COLORREF crGrey = ::GetSysColor(COLOR_APPWORKSPACE);
    const COLORREF crWhite = RGB(255, 255, 255);

    pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* pPreview = Preview();
    ASSERT_NE(pPreview, nullptr);
    pPreview->UpdateWindow();

    // The bar replaces menu and tool bar; the message line stays, with the page shown.
    EXPECT_EQ(::GetMenu(pFrame->m_hWnd), (HMENU)NULL);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_TOOLBAR)));
    EXPECT_FALSE(pView->IsWindowVisible());
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR)));
    EXPECT_EQ(pPreview->GetDlgCtrlID(), (int)AFX_IDW_PANE_FIRST);
    CRect rectBar;
    CRect rectPreview;
    ::GetWindowRect(Bar(), &rectBar);
    pPreview->GetWindowRect(&rectPreview);
    pFrame->ScreenToClient(&rectBar);
    pFrame->ScreenToClient(&rectPreview);
    EXPECT_EQ(rectBar.top, 0);
    EXPECT_EQ(rectPreview.top, rectBar.bottom);
    CRect rectStatus;
    ::GetWindowRect(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR), &rectStatus);
    pFrame->ScreenToClient(&rectStatus);
    EXPECT_EQ(rectPreview.left, 0);
    EXPECT_EQ(rectPreview.bottom, rectStatus.top);
    const struct
    {
        UINT nID;
        LPCWSTR pszText;
    } buttons[] = {
        {AFX_ID_PREVIEW_PRINT, L"Imprimer..."}, {AFX_ID_PREVIEW_NEXT, L"Page suivante"},
        {AFX_ID_PREVIEW_PREV, L"Page précédente"}, {AFX_ID_PREVIEW_NUMPAGE, L"Deux pages"},
        {AFX_ID_PREVIEW_ZOOMIN, L"Zoom avant"}, {AFX_ID_PREVIEW_ZOOMOUT, L"Zoom arrière"},
        {AFX_ID_PREVIEW_CLOSE, L"Fermer"},
    };
    for (const auto& button : buttons)
        EXPECT_EQ(ButtonText(button.nID), CString(button.pszText));

    // The first page, drawn for the printer, on a white sheet in the grey.
    EXPECT_EQ(pView->m_strCalls.Left(16), CString(L"prepare begin dc"));
    EXPECT_EQ(pView->m_printed, std::vector<UINT>{1});
    EXPECT_TRUE(pView->m_bAllPrinting);
    EXPECT_TRUE(pView->m_bAllPreview);
    EXPECT_EQ(StatusText(), CString(L"Page 1"));
    EXPECT_EQ(ButtonStates(), CString(L"++-++-+"));
    EXPECT_EQ(PreviewPixel(0.01, 0.5), crGrey);
    EXPECT_EQ(PreviewPixel(0.5, 0.6), crWhite);

    Click(AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(StatusText(), CString(L"Page 2"));
    EXPECT_EQ(pView->m_printed.back(), 2u);
    EXPECT_EQ(ButtonStates(), CString(L"+++++-+"));

    // Two pages side by side: 2 and 3, the last; the gap between them is grey.
    Click(AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(StatusText(), CString(L"Pages 2-3"));
    EXPECT_EQ(pView->m_printed.back(), 3u);
    EXPECT_EQ(ButtonStates(), CString(L"+-+++-+"));
    EXPECT_EQ(ButtonText(AFX_ID_PREVIEW_NUMPAGE), CString(L"Une page"));
    EXPECT_EQ(PreviewPixel(0.5, 0.6), crGrey);
    EXPECT_EQ(PreviewPixel(0.25, 0.6), crWhite);
    EXPECT_EQ(PreviewPixel(0.75, 0.6), crWhite);

    Click(AFX_ID_PREVIEW_PREV);
    EXPECT_EQ(StatusText(), CString(L"Pages 1-2"));
    EXPECT_EQ(ButtonStates(), CString(L"++-++-+"));

    // A click on the second page zooms in on it: one page, larger than the window, with
    // scroll bars; two steps in, then back out.
    CRect rectClient;
    pPreview->GetClientRect(&rectClient);
    pPreview->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                          MAKELPARAM(rectClient.Width() * 3 / 4, rectClient.Height() / 2));
    pPreview->UpdateWindow();
    EXPECT_EQ(StatusText(), CString(L"Page 2"));
    EXPECT_EQ(ButtonStates(), CString(L"+++-+++"));
    EXPECT_TRUE(pPreview->GetStyle() & WS_VSCROLL);
    Click(AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(ButtonStates(), CString(L"+++--++"));
    Click(AFX_ID_PREVIEW_ZOOMOUT);
    Click(AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_EQ(StatusText(), CString(L"Pages 2-3"));
    EXPECT_EQ(ButtonStates(), CString(L"+-+++-+"));
    EXPECT_FALSE(pPreview->GetStyle() & (WS_VSCROLL | WS_HSCROLL));

    Click(AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(Preview(), nullptr);
    EXPECT_EQ(Bar(), (HWND)NULL);
    ExpectSameState(State(), before);
    EXPECT_EQ(pView->m_strCalls.Right(4), CString(L"end "));
    // The next preview starts with two pages again.
    EXPECT_EQ(m_app.m_nNumPreviewPages, 2u);
    pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    EXPECT_EQ(StatusText(), CString(L"Pages 1-2"));
    Click(AFX_ID_PREVIEW_CLOSE);
    ExpectSameState(State(), before);
}

TEST_F(PreviewTest, TheBarAndItsPageButtonSpeakTheLanguageOfTheResources)
{
    const struct
    {
        LANGID wLanguage;
        LPCWSTR pszPrint;
        LPCWSTR pszTwoPages;
        LPCWSTR pszOnePage;
        LPCWSTR pszClose;
    } languages[] = {
        {kEnglishResources, L"Print...", L"Two Pages", L"One Page", L"Close"},
        {kFrenchResources, L"Imprimer...", L"Deux pages", L"Une page", L"Fermer"},
    };
    for (const auto& language : languages)
    {
        CResourceLanguage chosen(language.wLanguage);
        m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        ASSERT_NE(Preview(), nullptr);
        EXPECT_EQ(ButtonText(AFX_ID_PREVIEW_PRINT), CString(language.pszPrint));
        EXPECT_EQ(ButtonText(AFX_ID_PREVIEW_NUMPAGE), CString(language.pszTwoPages));
        EXPECT_EQ(ButtonText(AFX_ID_PREVIEW_CLOSE), CString(language.pszClose));
        Click(AFX_ID_PREVIEW_NUMPAGE);
        m_app.OnIdle(0);
        EXPECT_EQ(ButtonText(AFX_ID_PREVIEW_NUMPAGE), CString(language.pszOnePage));
        // Back to one page, which the next preview starts with.
        Click(AFX_ID_PREVIEW_NUMPAGE);
        Click(AFX_ID_PREVIEW_CLOSE);
    }
}

TEST_F(PreviewTest, CloseButtonEscapeAndClosingTheFrameEndOnlyThePreview)
{
    CFrameWnd* pFrame = m_app.Frame();
    const FrameState before = State();
    struct Case
    {
        const char* pszWay;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"the Close button", [&] { Click(AFX_ID_PREVIEW_CLOSE); }},
        {"Escape", [&] {
             MSG msg = {Preview()->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
             EXPECT_TRUE(m_app.PreTranslateMessage(&msg));
         }},
        {"closing the frame", [&] { pFrame->SendMessage(WM_CLOSE); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszWay);
        pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        ASSERT_NE(Preview(), nullptr);
        c.close();
        EXPECT_EQ(Preview(), nullptr);
        ASSERT_EQ(m_app.m_pMainWnd, pFrame);
        ExpectSameState(State(), before);
    }
    // Once no preview shows, closing the frame closes it.
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

TEST_F(PreviewTest, PrintButtonClosesThePreviewAndPrints)
{
    CPagesView* pView = m_app.View();
    const FrameState before = State();
    m_app.Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    ASSERT_NE(Preview(), nullptr);
    pView->m_strCalls.Empty();
    {
        PrintDialogAnswerer answer(PrintDialogAnswerer::allPages);
        Click(AFX_ID_PREVIEW_PRINT);
        EXPECT_EQ(PrintDialogAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(Preview(), nullptr);
    ExpectSameState(State(), before);
    EXPECT_EQ(pView->m_strCalls.Left(18), CString(L"end prepare begin "));
    ASSERT_TRUE(JobExists());
    EXPECT_EQ(ReadJob().pageTexts, (std::vector<std::string>{"Page 1", "Page 2", "Page 3"}));
}

} // namespace
