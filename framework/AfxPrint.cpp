#include "AfxPrint.h"

#include <cxxabi.h>
#include <exception>

#include "AfxApp.h"
#include "AfxDialog.h"

// ---- CPrintInfo ------------------------------------------------------------------------------

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION |
                                        PD_HIDEPRINTTOFILE)),
      m_bDirect(FALSE), m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1),
      m_nNumPreviewPages(0), m_rectDraw(0, 0, 0, 0)
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);   // not known yet
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD->m_pd.hDC != NULL)
        ::DeleteDC(m_pPD->m_pd.hDC);
    delete m_pPD;
}

CPrintPreviewState::CPrintPreviewState()
    : nIDMainPane(AFX_IDW_PANE_FIRST), hMenu(NULL), hAccelTable(NULL), pViewActiveOld(NULL),
      lpfnCloseProc(NULL)
{
}

// ---- The printing dialog and the abort procedure ---------------------------------------------

namespace {

// Set by the printing dialog's Cancel; the loop stops after the page being printed.
thread_local BOOL t_bUserAbort = FALSE;

class CPrintingDialog : public CDialog
{
public:
    explicit CPrintingDialog(CWnd* pParent)
    {
        t_bUserAbort = FALSE;
        Create(AFX_IDD_PRINTDLG, pParent);
    }

    BOOL OnInitDialog() override
    {
        SetWindowText(AfxGetAppName());
        CenterWindow();
        return CDialog::OnInitDialog();
    }

    // The dialog stays until the loop has ended the job; it only takes the request.
    void OnCancel() override
    {
        t_bUserAbort = TRUE;
        if (CWnd* pCancel = GetDlgItem(IDCANCEL))
            pCancel->EnableWindow(FALSE);
    }
};

// The messages of the printing dialog (and of the other windows) flow while the pages print;
// FALSE once the user cancelled or the program was asked to end.
BOOL PumpWhilePrinting()
{
    MSG msg;
    while (!t_bUserAbort && ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE))
    {
        if (!AfxPumpMessage())
        {
            // The application's loop must see the quit as well.
            CWinThread* pThread = AfxGetThread();
            ::PostQuitMessage(pThread != NULL ? (int)pThread->m_msgCur.wParam : 0);
            return FALSE;
        }
    }
    return !t_bUserAbort;
}

// The system calls it from its own code: nothing may unwind into that.
BOOL CALLBACK AbortProc(HDC, int)
{
    try
    {
        return PumpWhilePrinting();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (abi::__forced_unwind&)
    {
        throw;
    }
    catch (...)
    {
    }
    return FALSE;
}

} // namespace

// ---- CView's printing ------------------------------------------------------------------------

BOOL CView::OnPreparePrinting(CPrintInfo*)
{
    // A view that prints overrides it and calls DoPreparePrinting.
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return FALSE;
    CPrintDialog* pDlg = pInfo->m_pPD;
    // The dialog offers the whole range; an untouched range prints it all.
    pDlg->m_pd.nFromPage = (WORD)pInfo->GetMinPage();
    pDlg->m_pd.nToPage = (WORD)pInfo->GetMaxPage();
    if (pInfo->m_bPreview || pInfo->m_bDirect)
    {
        if (pDlg->m_pd.hDC == NULL)
        {
            // Without any printer the system's dialog tells the user so.
            if (!pApp->GetPrinterDeviceDefaults(&pDlg->m_pd) && pApp->DoPrintDialog(pDlg) != IDOK)
                return FALSE;
            if (pDlg->m_pd.hDC == NULL && pDlg->CreatePrinterDC() == NULL)
                return FALSE;
        }
    }
    else if (pApp->DoPrintDialog(pDlg) != IDOK)
    {
        return FALSE;
    }
    if (pDlg->m_pd.hDC == NULL)
        return FALSE;
    pInfo->m_nNumPreviewPages = pApp->m_nNumPreviewPages;
    pInfo->m_strPageDesc.LoadString(AFX_IDS_PREVIEWPAGEDESC);
    return TRUE;
}

void CView::OnFilePrint()
{
    CPrintInfo printInfo;
    const MSG* pMsg = GetCurrentMessage();
    if (pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT)
        printInfo.m_bDirect = TRUE;
    if (!OnPreparePrinting(&printInfo) || printInfo.m_pPD->m_pd.hDC == NULL)
        return;

    // The job bears the document's name.
    CString strTitle;
    if (CDocument* pDoc = GetDocument())
        strTitle = pDoc->GetTitle();
    else if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->GetWindowText(strTitle);
    DOCINFOW docInfo = {};
    docInfo.cbSize = sizeof(docInfo);
    docInfo.lpszDocName = strTitle;

    // The device context stays the print information's, which deletes it.
    CDC dcPrint;
    dcPrint.Attach(printInfo.m_pPD->m_pd.hDC);
    dcPrint.m_bPrinting = TRUE;
    CWnd* pMainWnd = AfxGetMainWnd();
    CPrintingDialog* pDlgStatus = NULL;
    BOOL bStarted = FALSE;
    BOOL bError = FALSE;

    // Whatever happens, the job ends and the program is given back to the user.
    auto finish = [&]() {
        if (bStarted)
        {
            if (bError)
                dcPrint.AbortDoc();
            else
                dcPrint.EndDoc();
        }
        if (pMainWnd != NULL)
            pMainWnd->EnableWindow(TRUE);
        OnEndPrinting(&dcPrint, &printInfo);
        if (pDlgStatus != NULL)
        {
            pDlgStatus->DestroyWindow();
            delete pDlgStatus;
        }
        dcPrint.Detach();
    };

    try
    {
        OnBeginPrinting(&dcPrint, &printInfo);
        dcPrint.SetAbortProc(AbortProc);

        // The program waits while the dialog, which alone takes input, shows the progress.
        if (pMainWnd != NULL)
            pMainWnd->EnableWindow(FALSE);
        pDlgStatus = new CPrintingDialog(this);
        pDlgStatus->SetDlgItemText(AFX_IDC_PRINT_DOCNAME, strTitle);
        pDlgStatus->SetDlgItemText(AFX_IDC_PRINT_PRINTERNAME, printInfo.m_pPD->GetDeviceName());
        pDlgStatus->ShowWindow(SW_SHOW);
        pDlgStatus->UpdateWindow();

        if (dcPrint.StartDoc(&docInfo) <= 0)
        {
            finish();
            AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
            return;
        }
        bStarted = TRUE;

        // The range the dialog gave, kept within the view's pages; it may run backwards.
        UINT nStartPage = printInfo.GetFromPage();
        UINT nEndPage = printInfo.GetToPage();
        if (nStartPage < printInfo.GetMinPage())
            nStartPage = printInfo.GetMinPage();
        if (nStartPage > printInfo.GetMaxPage())
            nStartPage = printInfo.GetMaxPage();
        if (nEndPage < printInfo.GetMinPage())
            nEndPage = printInfo.GetMinPage();
        if (nEndPage > printInfo.GetMaxPage())
            nEndPage = printInfo.GetMaxPage();
        int nStep = nEndPage >= nStartPage ? 1 : -1;
        // An unknown count runs until OnPrepareDC says the last page is done.
        nEndPage = nEndPage == 0xFFFF ? 0xFFFF : nEndPage + nStep;

        CString strPageFormat;
        strPageFormat.LoadString(AFX_IDS_PRINTPAGENUM);
        for (printInfo.m_nCurPage = nStartPage; printInfo.m_nCurPage != nEndPage;
             printInfo.m_nCurPage += nStep)
        {
            OnPrepareDC(&dcPrint, &printInfo);
            if (!printInfo.m_bContinuePrinting)
                break;
            CString strPage;
            strPage.Format(strPageFormat, printInfo.m_nCurPage);
            pDlgStatus->SetDlgItemText(AFX_IDC_PRINT_PAGENUM, strPage);

            printInfo.m_rectDraw.SetRect(0, 0, dcPrint.GetDeviceCaps(HORZRES),
                                         dcPrint.GetDeviceCaps(VERTRES));
            dcPrint.DPtoLP(&printInfo.m_rectDraw);
            if (dcPrint.StartPage() <= 0)
            {
                bError = TRUE;
                break;
            }
            // A new page may start with the device context's state reset.
            OnPrepareDC(&dcPrint, &printInfo);
            OnPrint(&dcPrint, &printInfo);
            if (dcPrint.EndPage() <= 0 || !PumpWhilePrinting())
            {
                bError = TRUE;
                break;
            }
        }
    }
    catch (...)
    {
        bError = TRUE;
        finish();
        throw;
    }
    finish();
}
