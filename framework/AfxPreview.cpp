#include "AfxPrint.h"

#include <cxxabi.h>

#include "AfxApp.h"
#include "AfxBar.h"
#include "AfxDialog.h"

namespace {

const int kMargin = 8;    // grey around the sheets, in screen pixels
const int kGap = 16;      // between two sheets
const int kShadow = 3;    // the sheets' shadow
const int kLine = 16;     // a scroll bar's line step

// The preview's row of buttons above the pages. The buttons' commands go to the frame,
// which routes them to the preview, the active view; their states follow the preview's
// update handlers at idle time.
class CPreviewBar : public CDialog
{
public:
    BOOL Create(CFrameWnd* pFrame)
    {
        if (!CDialog::Create(AFX_IDD_PREVIEW_TOOLBAR, pFrame))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, GWLP_ID, AFX_IDW_PREVIEW_BAR);
        CRect rect;
        GetWindowRect(&rect);
        m_cyBar = rect.Height();
        return TRUE;
    }

    void UpdateButtons()
    {
        CWnd* pTarget = GetParent();
        if (pTarget == NULL)
            return;
        CCmdUI state;
        for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
        {
            state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
            state.m_pOther = CWnd::FromHandle(hWndChild);
            state.DoUpdate(pTarget, TRUE);
        }
    }

protected:
    // The focus stays with the pages.
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        return FALSE;
    }
    // No dialog keys: the frame's keys (the preview's) work wherever the focus is.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override { delete this; }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        // The command may close the preview, and this bar with it: only locals after it.
        HWND hWndBar = m_hWnd;
        HWND hWndFrame = ::GetParent(hWndBar);
        ::SendMessageW(hWndFrame, WM_COMMAND, wParam, lParam);
        // A clicked button took the focus; the pages want it back for their keys.
        if (::IsWindow(hWndBar) && ::IsChild(hWndBar, ::GetFocus()))
        {
            HWND hWndPane = ::GetDlgItem(hWndFrame, AFX_IDW_PANE_FIRST);
            if (hWndPane != NULL)
                ::SetFocus(hWndPane);
        }
        return TRUE;
    }

    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* pLayout = (AFX_SIZEPARENTPARAMS*)lParam;
        if (!(GetStyle() & WS_VISIBLE))
            return 0;
        CRect rect(pLayout->rect);
        rect.bottom = rect.top + m_cyBar;
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        pLayout->rect.top += m_cyBar;
        pLayout->sizeTotal.cy += m_cyBar;
        return 0;
    }

    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        UpdateButtons();
        return 0;
    }

    int m_cyBar = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPreviewBar, CDialog)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

// Closing the frame during a preview closes the preview.
void CALLBACK PreviewCloseProc(CFrameWnd* pFrameWnd)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(pFrameWnd->m_hWnd, AFX_IDW_PANE_FIRST));
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CPreviewView)))
        static_cast<CPreviewView*>(pWnd)->OnPreviewClose();
}

} // namespace

// ---- The frame in preview mode ---------------------------------------------------------------

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    if (bPreview)
    {
        m_lpfnCloseProc = pState->lpfnCloseProc;

        // Every child in sight but the message line, which shows the page numbers.
        pState->hiddenWindows.RemoveAll();
        for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT))
        {
            if ((::GetWindowLongPtrW(hWndChild, GWL_STYLE) & WS_VISIBLE) &&
                ::GetDlgCtrlID(hWndChild) != AFX_IDW_STATUS_BAR)
                pState->hiddenWindows.Add(hWndChild);
        }
        for (INT_PTR i = 0; i < pState->hiddenWindows.GetSize(); i++)
            ::ShowWindow(pState->hiddenWindows[i], SW_HIDE);

        pState->hMenu = ::GetMenu(m_hWnd);
        if (pState->hMenu != NULL)
            ::SetMenu(m_hWnd, NULL);

        pState->hAccelTable = m_hAccelTable;
        m_hAccelTable = NULL;
        LoadAccelTable(MAKEINTRESOURCEW(AFX_IDR_PREVIEW_ACCEL));

        // The layout gives the first pane's room to the preview, which takes its id.
        HWND hWndPane = ::GetDlgItem(m_hWnd, pState->nIDMainPane);
        if (hWndPane != NULL)
            ::SetWindowLongPtrW(hWndPane, GWLP_ID, AFX_IDW_PANE_SAVE);
    }
    else
    {
        m_lpfnCloseProc = NULL;

        HWND hWndSaved = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_SAVE);
        if (hWndSaved != NULL)
        {
            HWND hWndPreview = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
            if (hWndPreview != NULL)
                ::SetWindowLongPtrW(hWndPreview, GWLP_ID, AFX_IDW_PANE_SAVE);
            ::SetWindowLongPtrW(hWndSaved, GWLP_ID, pState->nIDMainPane);
        }

        if (pState->hMenu != NULL)
            ::SetMenu(m_hWnd, pState->hMenu);
        m_hAccelTable = pState->hAccelTable;

        for (INT_PTR i = 0; i < pState->hiddenWindows.GetSize(); i++)
        {
            if (::IsWindow(pState->hiddenWindows[i]))
                ::ShowWindow(pState->hiddenWindows[i], SW_SHOWNOACTIVATE);
        }
        pState->hiddenWindows.RemoveAll();
        RecalcLayout();
    }
}

// ---- The preview's start ---------------------------------------------------------------------

void CView::OnFilePrintPreview()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL || pFrame->m_lpfnCloseProc != NULL)
        return;   // no frame, or a preview shows already

    CPrintPreviewState* pState = new CPrintPreviewState;
    pState->lpfnCloseProc = PreviewCloseProc;
    pState->pViewActiveOld = pFrame->GetActiveView();
    pFrame->OnSetPreviewMode(TRUE, pState);

    CPreviewBar* pBar = new CPreviewBar;
    if (!pBar->Create(pFrame))
    {
        delete pBar;
        pFrame->OnSetPreviewMode(FALSE, pState);
        delete pState;
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
        return;
    }

    // The preview is one more view of the document, so that changes reach it.
    CCreateContext context;
    context.m_pCurrentFrame = pFrame;
    context.m_pCurrentDoc = GetDocument();
    context.m_pLastView = this;
    CPreviewView* pView = new CPreviewView;
    pView->m_pOrigView = this;
    pView->m_pToolBar = pBar;
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), pFrame,
                       AFX_IDW_PANE_FIRST, &context))
    {
        // The view object went with its failed window.
        pBar->DestroyWindow();
        pFrame->OnSetPreviewMode(FALSE, pState);
        delete pState;
        AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
        return;
    }
    pView->m_pPreviewState = pState;

    if (!pView->SetPrintView(this))
    {
        pView->OnPreviewClose();
        return;
    }
    pFrame->SetActiveView(pView);
    pBar->UpdateButtons();
    pFrame->RecalcLayout();
    pFrame->UpdateWindow();
}

// ---- CPreviewView ----------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

CPreviewView::CPreviewView()
    : m_pPreviewState(NULL), m_pOrigView(NULL), m_pPrintView(NULL), m_pToolBar(NULL),
      m_pPreviewInfo(NULL), m_nPages(1), m_nCurrentPage(1), m_nZoomState(ZOOM_OUT),
      m_hPages(), m_nPageNumbers(), m_ptScroll(0, 0), m_nWheelDelta(0)
{
}

CPreviewView::~CPreviewView()
{
    ClearPages();
    m_dcPrint.Detach();   // the print information's
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

BOOL CPreviewView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CView::PreCreateWindow(cs))
        return FALSE;
    cs.style |= WS_CLIPCHILDREN;
    return TRUE;
}

BOOL CPreviewView::SetPrintView(CView* pPrintView)
{
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!pPrintView->OnPreparePrinting(m_pPreviewInfo) || m_pPreviewInfo->m_pPD->m_pd.hDC == NULL)
        return FALSE;

    m_dcPrint.Attach(m_pPreviewInfo->m_pPD->m_pd.hDC);
    m_dcPrint.m_bPrinting = TRUE;
    m_sizePrinterDpi.cx = m_dcPrint.GetDeviceCaps(LOGPIXELSX);
    m_sizePrinterDpi.cy = m_dcPrint.GetDeviceCaps(LOGPIXELSY);
    m_sizePrintable.cx = m_dcPrint.GetDeviceCaps(HORZRES);
    m_sizePrintable.cy = m_dcPrint.GetDeviceCaps(VERTRES);
    m_sizePaper.cx = m_dcPrint.GetDeviceCaps(PHYSICALWIDTH);
    m_sizePaper.cy = m_dcPrint.GetDeviceCaps(PHYSICALHEIGHT);
    m_ptPrintOffset.x = m_dcPrint.GetDeviceCaps(PHYSICALOFFSETX);
    m_ptPrintOffset.y = m_dcPrint.GetDeviceCaps(PHYSICALOFFSETY);
    // A device that tells nothing of its paper prints on all of it.
    if (m_sizePaper.cx <= 0 || m_sizePaper.cy <= 0)
    {
        m_sizePaper = m_sizePrintable;
        m_ptPrintOffset = CPoint(0, 0);
    }
    if (m_sizePrinterDpi.cx <= 0 || m_sizePrinterDpi.cy <= 0 || m_sizePaper.cx <= 0 ||
        m_sizePaper.cy <= 0)
        return FALSE;
    HDC hdcScreen = ::GetDC(NULL);
    m_nScreenDpi = ::GetDeviceCaps(hdcScreen, LOGPIXELSX);
    ::ReleaseDC(NULL, hdcScreen);

    m_pPrintView = pPrintView;
    pPrintView->OnBeginPrinting(&m_dcPrint, m_pPreviewInfo);

    m_nPages = m_pPreviewInfo->m_nNumPreviewPages >= 2 ? 2 : 1;
    m_nZoomState = ZOOM_OUT;
    SetCurrentPage(m_pPreviewInfo->m_nCurPage, TRUE);
    return TRUE;
}

void CPreviewView::OnPreviewClose()
{
    CFrameWnd* pFrame = GetParentFrame();
    CPrintPreviewState* pState = m_pPreviewState;
    if (m_pToolBar != NULL)
    {
        m_pToolBar->DestroyWindow();
        m_pToolBar = NULL;
    }
    if (m_pPrintView != NULL)
    {
        m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
        m_pPrintView->OnEndPrinting(&m_dcPrint, m_pPreviewInfo);
        m_pPrintView = NULL;
        // The next preview starts with as many pages side by side.
        if (CWinApp* pApp = AfxGetApp())
            pApp->m_nNumPreviewPages = m_nPages;
    }
    if (pFrame == NULL || pState == NULL)
    {
        DestroyWindow();
        return;
    }
    pFrame->OnSetPreviewMode(FALSE, pState);
    pFrame->SetActiveView(pState->pViewActiveOld);
    DestroyWindow();   // deletes this view and the state
    pFrame->RecalcLayout();
    pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    pFrame->UpdateWindow();
}

void CPreviewView::OnPreviewPrint()
{
    OnPreviewClose();   // this view is gone after it
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

// ---- Pages -----------------------------------------------------------------------------------

HENHMETAFILE CPreviewView::GetPage(UINT nPage)
{
    for (int i = 0; i < 2; i++)
    {
        if (m_hPages[i] != NULL && m_nPageNumbers[i] == nPage)
            return m_hPages[i];
    }
    if (m_pPrintView == NULL || nPage < m_pPreviewInfo->GetMinPage() ||
        nPage > m_pPreviewInfo->GetMaxPage())
        return NULL;

    // The page is drawn once on a metafile whose reference is the printer: it measures and
    // draws in the printer's units, and plays back at any size.
    CRect rcFrame(0, 0, m_dcPrint.GetDeviceCaps(HORZSIZE) * 100,
                  m_dcPrint.GetDeviceCaps(VERTSIZE) * 100);
    HDC hdcMeta = ::CreateEnhMetaFileW(m_dcPrint.m_hDC, NULL, &rcFrame, NULL);
    if (hdcMeta == NULL)
        return NULL;
    CDC dc;
    dc.Attach(hdcMeta);
    dc.m_bPrinting = TRUE;
    BOOL bPage = FALSE;
    try
    {
        m_pPreviewInfo->m_nCurPage = nPage;
        m_pPrintView->OnPrepareDC(&dc, m_pPreviewInfo);
        bPage = m_pPreviewInfo->m_bContinuePrinting;
        if (bPage)
        {
            m_pPreviewInfo->m_rectDraw.SetRect(0, 0, m_sizePrintable.cx, m_sizePrintable.cy);
            dc.DPtoLP(&m_pPreviewInfo->m_rectDraw);
            m_pPrintView->OnPrint(&dc, m_pPreviewInfo);
        }
    }
    catch (...)
    {
        dc.Detach();
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(hdcMeta));
        throw;
    }
    dc.Detach();
    HENHMETAFILE hPage = ::CloseEnhMetaFile(hdcMeta);
    if (!bPage)
    {
        ::DeleteEnhMetaFile(hPage);
        return NULL;
    }

    // The slot of a page no longer shown.
    int nSlot = 0;
    if (m_hPages[0] != NULL && m_nPageNumbers[0] >= m_nCurrentPage &&
        m_nPageNumbers[0] < m_nCurrentPage + PagesShown())
        nSlot = 1;
    if (m_hPages[nSlot] != NULL)
        ::DeleteEnhMetaFile(m_hPages[nSlot]);
    m_hPages[nSlot] = hPage;
    m_nPageNumbers[nSlot] = nPage;
    return hPage;
}

BOOL CPreviewView::PageExists(UINT nPage)
{
    if (m_pPrintView == NULL || nPage < m_pPreviewInfo->GetMinPage() ||
        nPage > m_pPreviewInfo->GetMaxPage())
        return FALSE;
    for (int i = 0; i < 2; i++)
    {
        if (m_hPages[i] != NULL && m_nPageNumbers[i] == nPage)
            return TRUE;
    }
    for (const PageProbe& probe : m_probes)
    {
        if (probe.nPage == nPage)
            return probe.bExists;
    }
    // Asked at every idle time: the view's answer is kept until the document changes.
    UINT nCurPage = m_pPreviewInfo->m_nCurPage;
    m_pPreviewInfo->m_nCurPage = nPage;
    m_pPrintView->OnPrepareDC(&m_dcPrint, m_pPreviewInfo);
    BOOL bExists = m_pPreviewInfo->m_bContinuePrinting;
    m_pPreviewInfo->m_nCurPage = nCurPage;
    m_probes[m_nNextProbe].nPage = nPage;
    m_probes[m_nNextProbe].bExists = bExists;
    m_nNextProbe = (m_nNextProbe + 1) % ARRAYSIZE(m_probes);
    return bExists;
}

void CPreviewView::ClearPages()
{
    for (int i = 0; i < 2; i++)
    {
        if (m_hPages[i] != NULL)
            ::DeleteEnhMetaFile(m_hPages[i]);
        m_hPages[i] = NULL;
        m_nPageNumbers[i] = 0;
    }
    for (PageProbe& probe : m_probes)
        probe.nPage = 0;
}

void CPreviewView::SetCurrentPage(UINT nPage, BOOL bClearRatios)
{
    if (nPage > m_pPreviewInfo->GetMaxPage())
        nPage = m_pPreviewInfo->GetMaxPage();
    if (nPage < m_pPreviewInfo->GetMinPage())
        nPage = m_pPreviewInfo->GetMinPage();
    m_nCurrentPage = nPage;
    if (bClearRatios)
        m_ptScroll = CPoint(0, 0);
    UpdateScrollBars();
    Invalidate(FALSE);
    ShowPageNumber();
}

void CPreviewView::OnUpdate(CView*, LPARAM, CObject*)
{
    ClearPages();
    Invalidate(FALSE);
}

// ---- Geometry --------------------------------------------------------------------------------

UINT CPreviewView::PagesShown() const
{
    return m_nZoomState == ZOOM_OUT ? m_nPages : 1;
}

CSize CPreviewView::FullClientSize() const
{
    // As without scroll bars, so that the zoom does not change when they come and go.
    CRect rect;
    GetClientRect(&rect);
    DWORD dwStyle = GetStyle();
    if (dwStyle & WS_VSCROLL)
        rect.right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_HSCROLL)
        rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    return rect.Size();
}

double CPreviewView::FitScale(UINT nPages) const
{
    CSize size = FullClientSize();
    double cxInches = (double)m_sizePaper.cx / m_sizePrinterDpi.cx;
    double cyInches = (double)m_sizePaper.cy / m_sizePrinterDpi.cy;
    double cx = size.cx - 2 * kMargin - kShadow - (int)(nPages - 1) * kGap;
    double cy = size.cy - 2 * kMargin - kShadow;
    double dScale = cx / (nPages * cxInches);
    if (cy / cyInches < dScale)
        dScale = cy / cyInches;
    return dScale < 4 ? 4 : dScale;   // a sheet stays visible in the smallest window
}

double CPreviewView::ZoomScale(int nZoomState) const
{
    if (nZoomState == ZOOM_OUT)
        return FitScale(m_nPages);
    // Zoomed in: the page at its size on paper, or twice the window at the least.
    double dFit = FitScale(1);
    double dIn = m_nScreenDpi > 2 * dFit ? m_nScreenDpi : 2 * dFit;
    return nZoomState == ZOOM_IN ? dIn : (dFit + dIn) / 2;
}

CSize CPreviewView::SheetSize() const
{
    double dScale = ZoomScale(m_nZoomState);
    return CSize((int)(dScale * m_sizePaper.cx / m_sizePrinterDpi.cx + 0.5),
                 (int)(dScale * m_sizePaper.cy / m_sizePrinterDpi.cy + 0.5));
}

CSize CPreviewView::ContentSize() const
{
    CSize sizeSheet = SheetSize();
    int nPages = (int)PagesShown();
    return CSize(nPages * sizeSheet.cx + (nPages - 1) * kGap + 2 * kMargin + kShadow,
                 sizeSheet.cy + 2 * kMargin + kShadow);
}

CRect CPreviewView::SheetRect(UINT nSlot) const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CSize sizeContent = ContentSize();
    CSize sizeSheet = SheetSize();
    // Centred while it fits, scrolled otherwise.
    int x = sizeContent.cx <= rcClient.Width() ? (rcClient.Width() - sizeContent.cx) / 2
                                               : -m_ptScroll.x;
    int y = sizeContent.cy <= rcClient.Height() ? (rcClient.Height() - sizeContent.cy) / 2
                                                : -m_ptScroll.y;
    x += kMargin + (int)nSlot * (sizeSheet.cx + kGap);
    y += kMargin;
    return CRect(x, y, x + sizeSheet.cx, y + sizeSheet.cy);
}

void CPreviewView::UpdateScrollBars()
{
    // Two rounds: one bar showing may make the other needed.
    for (int nRound = 0; nRound < 2; nRound++)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        CSize sizeContent = m_nZoomState == ZOOM_OUT ? CSize(0, 0) : ContentSize();
        int xMax = sizeContent.cx - rcClient.Width();
        int yMax = sizeContent.cy - rcClient.Height();
        m_ptScroll.x = m_ptScroll.x > xMax ? xMax : m_ptScroll.x;
        m_ptScroll.y = m_ptScroll.y > yMax ? yMax : m_ptScroll.y;
        m_ptScroll.x = m_ptScroll.x < 0 ? 0 : m_ptScroll.x;
        m_ptScroll.y = m_ptScroll.y < 0 ? 0 : m_ptScroll.y;

        // A page larger than the range hides the bar.
        SCROLLINFO info = {};
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = sizeContent.cx > 0 ? sizeContent.cx - 1 : 0;
        info.nPage = sizeContent.cx > 0 ? (UINT)rcClient.Width() : 0;
        info.nPos = m_ptScroll.x;
        SetScrollInfo(SB_HORZ, &info, TRUE);
        info.nMax = sizeContent.cy > 0 ? sizeContent.cy - 1 : 0;
        info.nPage = sizeContent.cy > 0 ? (UINT)rcClient.Height() : 0;
        info.nPos = m_ptScroll.y;
        SetScrollInfo(SB_VERT, &info, TRUE);
    }
}

void CPreviewView::ScrollTo(int x, int y)
{
    m_ptScroll = CPoint(x, y);
    UpdateScrollBars();
    Invalidate(FALSE);
}

void CPreviewView::SetZoom(int nZoomState, CPoint point)
{
    // The point of the page under the cursor (or the window's middle) stays where it is,
    // as far as the window allows.
    UINT nSlot = PagesShown() == 2 && SheetRect(1).PtInRect(point) ? 1 : 0;
    CRect rcOld = SheetRect(nSlot);
    double fx = (double)(point.x - rcOld.left) / (rcOld.Width() > 0 ? rcOld.Width() : 1);
    double fy = (double)(point.y - rcOld.top) / (rcOld.Height() > 0 ? rcOld.Height() : 1);
    fx = fx < 0 ? 0 : fx > 1 ? 1 : fx;
    fy = fy < 0 ? 0 : fy > 1 ? 1 : fy;
    if (nSlot == 1 && nZoomState != ZOOM_OUT)
        m_nCurrentPage++;   // the page zoomed into is the one shown

    m_nZoomState = nZoomState;
    m_ptScroll = CPoint(0, 0);
    UpdateScrollBars();
    if (m_nZoomState != ZOOM_OUT)
    {
        CSize sizeSheet = SheetSize();
        ScrollTo(kMargin + (int)(fx * sizeSheet.cx) - point.x,
                 kMargin + (int)(fy * sizeSheet.cy) - point.y);
    }
    Invalidate(FALSE);
    ShowPageNumber();
}

void CPreviewView::ShowPageNumber()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL || m_pPreviewInfo == NULL)
        return;
    BOOL bTwo = PagesShown() == 2 && PageExists(m_nCurrentPage + 1);
    CString strFormat;
    AfxExtractSubString(strFormat, m_pPreviewInfo->m_strPageDesc, bTwo ? 1 : 0);
    CString strText;
    strText.Format(strFormat, m_nCurrentPage, m_nCurrentPage + 1);
    pFrame->SetMessageText(strText);
}

// ---- Drawing ---------------------------------------------------------------------------------

void CPreviewView::OnDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    // Drawn aside, then shown at once: no flicker while paging or scrolling.
    CDC dcMem;
    CBitmap bitmap;
    if (!dcMem.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height()))
        return;
    CBitmap* pOldBitmap = dcMem.SelectObject(&bitmap);
    dcMem.FillRect(&rcClient, CBrush::FromHandle(::GetSysColorBrush(COLOR_APPWORKSPACE)));

    for (UINT nSlot = 0; nSlot < PagesShown() && m_pPrintView != NULL; nSlot++)
    {
        HENHMETAFILE hPage = GetPage(m_nCurrentPage + nSlot);
        if (hPage == NULL)
            continue;
        CRect rcSheet = SheetRect(nSlot);
        CRect rcShadow = rcSheet;
        rcShadow.OffsetRect(kShadow, kShadow);
        dcMem.FillSolidRect(&rcShadow, ::GetSysColor(COLOR_3DDKSHADOW));
        dcMem.FillSolidRect(&rcSheet, RGB(255, 255, 255));
        dcMem.FrameRect(&rcSheet, CBrush::FromHandle((HBRUSH)::GetStockObject(BLACK_BRUSH)));

        // The printable area within the sheet, where the page's pixels go; the metafile's
        // frame is converted as the player converts it.
        double dScale = (double)rcSheet.Width() / m_sizePaper.cx;
        double dScaleY = (double)rcSheet.Height() / m_sizePaper.cy;
        ENHMETAHEADER header = {};
        ::GetEnhMetaFileHeader(hPage, sizeof(header), &header);
        double fx = header.szlMillimeters.cx > 0
                        ? (double)header.szlDevice.cx / (header.szlMillimeters.cx * 100.0)
                        : 0;
        double fy = header.szlMillimeters.cy > 0
                        ? (double)header.szlDevice.cy / (header.szlMillimeters.cy * 100.0)
                        : 0;
        double x0 = rcSheet.left + m_ptPrintOffset.x * dScale;
        double y0 = rcSheet.top + m_ptPrintOffset.y * dScaleY;
        CRect rcPlay((int)(x0 + header.rclFrame.left * fx * dScale + 0.5),
                     (int)(y0 + header.rclFrame.top * fy * dScaleY + 0.5),
                     (int)(x0 + header.rclFrame.right * fx * dScale + 0.5),
                     (int)(y0 + header.rclFrame.bottom * fy * dScaleY + 0.5));
        int nSaved = dcMem.SaveDC();
        dcMem.IntersectClipRect(rcSheet.left + 1, rcSheet.top + 1, rcSheet.right - 1,
                                rcSheet.bottom - 1);
        ::PlayEnhMetaFile(dcMem.m_hDC, hPage, &rcPlay);
        dcMem.RestoreDC(nSaved);
    }

    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOldBitmap);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*)
{
    return TRUE;   // OnDraw covers everything
}

void CPreviewView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_pPreviewInfo != NULL)
        UpdateScrollBars();
    Invalidate(FALSE);
}

// ---- Commands and the mouse ------------------------------------------------------------------

void CPreviewView::OnNextPage()
{
    SetCurrentPage(m_nCurrentPage + 1, TRUE);
}

void CPreviewView::OnPrevPage()
{
    SetCurrentPage(m_nCurrentPage - 1, TRUE);
}

void CPreviewView::OnNumPageChange()
{
    m_nPages = m_nPages == 1 ? 2 : 1;
    UpdateScrollBars();
    Invalidate(FALSE);
    ShowPageNumber();
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoomState >= ZOOM_IN)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    SetZoom(m_nZoomState + 1, rcClient.CenterPoint());
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoomState <= ZOOM_OUT)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    SetZoom(m_nZoomState - 1, rcClient.CenterPoint());
}

void CPreviewView::OnUpdateNextPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(PageExists(m_nCurrentPage + PagesShown()));
}

void CPreviewView::OnUpdatePrevPage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pPreviewInfo != NULL && m_nCurrentPage > m_pPreviewInfo->GetMinPage());
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* pCmdUI)
{
    // The button offers the other choice.
    CString strText;
    strText.LoadString(m_nPages == 1 ? AFX_IDS_TWOPAGE : AFX_IDS_ONEPAGE);
    pCmdUI->SetText(strText);
    pCmdUI->Enable(m_nZoomState == ZOOM_OUT);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState < ZOOM_IN);
}

void CPreviewView::OnUpdateZoomOut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nZoomState > ZOOM_OUT);
}

void CPreviewView::OnLButtonDown(UINT, CPoint point)
{
    // A click on a page zooms in on that place, step by step, then back out.
    for (UINT nSlot = 0; nSlot < PagesShown(); nSlot++)
    {
        if (SheetRect(nSlot).PtInRect(point) && GetPage(m_nCurrentPage + nSlot) != NULL)
        {
            SetZoom(m_nZoomState == ZOOM_IN ? ZOOM_OUT : m_nZoomState + 1, point);
            return;
        }
    }
}

void CPreviewView::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    int x = m_ptScroll.x;
    switch (nSBCode)
    {
    case SB_LINELEFT: x -= kLine; break;
    case SB_LINERIGHT: x += kLine; break;
    case SB_PAGELEFT: x -= rcClient.Width(); break;
    case SB_PAGERIGHT: x += rcClient.Width(); break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = ContentSize().cx; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
    {
        SCROLLINFO info;
        if (GetScrollInfo(SB_HORZ, &info, SIF_TRACKPOS))
            x = info.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(x, m_ptScroll.y);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT, CScrollBar*)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    int y = m_ptScroll.y;
    switch (nSBCode)
    {
    case SB_LINEUP: y -= kLine; break;
    case SB_LINEDOWN: y += kLine; break;
    case SB_PAGEUP: y -= rcClient.Height(); break;
    case SB_PAGEDOWN: y += rcClient.Height(); break;
    case SB_TOP: y = 0; break;
    case SB_BOTTOM: y = ContentSize().cy; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
    {
        SCROLLINFO info;
        if (GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS))
            y = info.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(m_ptScroll.x, y);
}

BOOL CPreviewView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    // Zoomed, the wheel scrolls the page; otherwise it turns the pages.
    m_nWheelDelta += zDelta;
    int nNotches = m_nWheelDelta / WHEEL_DELTA;
    m_nWheelDelta -= nNotches * WHEEL_DELTA;
    if (nNotches == 0)
        return TRUE;
    if (m_nZoomState != ZOOM_OUT)
    {
        ScrollTo(m_ptScroll.x, m_ptScroll.y - nNotches * 3 * kLine);
    }
    else if (nNotches < 0)
    {
        if (PageExists(m_nCurrentPage + PagesShown()))
            OnNextPage();
    }
    else if (m_nCurrentPage > m_pPreviewInfo->GetMinPage())
    {
        OnPrevPage();
    }
    return TRUE;
}
