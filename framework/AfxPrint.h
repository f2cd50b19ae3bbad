// Printing and print preview: CPrintInfo, what a view's printing members share during one
// print or preview; CPrintPreviewState, what a frame keeps while a preview replaces its
// view; CPreviewView, the preview's pages with its button bar. The print loop itself is
// CView::OnFilePrint, the preview's start CView::OnFilePrintPreview.
#pragma once

// The framework's printing resources; the resource script includes this part.
#define AFX_IDD_PRINTDLG 30722            // the "printing" dialog, with its Cancel button
#define AFX_IDD_PREVIEW_TOOLBAR 30723     // the preview's button bar
#define AFX_IDR_PREVIEW_ACCEL 30724       // the preview's keys
#define AFX_IDC_PRINT_DOCNAME 201
#define AFX_IDC_PRINT_PRINTERNAME 202
#define AFX_IDC_PRINT_PAGENUM 204
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301     // one page or two
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306
#define AFX_IDS_ONEPAGE 0xF041
#define AFX_IDS_TWOPAGE 0xF042
#define AFX_IDS_PRINTPAGENUM 0xF043       // "Page %u" in the printing dialog
#define AFX_IDS_PREVIEWPAGEDESC 0xF044    // "Page %u\nPages %u-%u\n" for the message line
#define AFX_IDP_FAILED_TO_START_PRINT 0xF106

#ifndef RC_INVOKED

#include <windows.h>

#include "AfxDlgs.h"
#include "AfxFrame.h"
#include "AfxTempl.h"
#include "AfxView.h"

// Child window ids of a frame in print preview: the bar, and the view the preview hides.
#define AFX_IDW_PREVIEW_BAR 0xE802
#define AFX_IDW_PANE_SAVE 0xEA21

class CPrintInfo
{
public:
    // The print dialog asks for every page of one to an unknown number (0xFFFF); the first
    // page is the current one.
    CPrintInfo();
    // Deletes the printer device context the dialog or DoPreparePrinting made.
    ~CPrintInfo();

    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    CPrintDialog* m_pPD;        // its m_pd.hDC is the printer's device context
    BOOL m_bDirect;             // no print dialog: the application's printer as it is
    BOOL m_bPreview;            // the pages go to the preview, not to the printer
    BOOL m_bContinuePrinting;   // OnPrepareDC clears it after the last page
    UINT m_nCurPage;            // the page being printed or previewed, from 1
    UINT m_nNumPreviewPages;    // pages side by side in the preview: 1 or 2 (0 for 1)
    CString m_strPageDesc;      // the preview's page line: "Page %u\nPages %u-%u\n"
    CRect m_rectDraw;           // the printable area of the page, in logical units

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = (WORD)nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = (WORD)nMaxPage; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The range the user chose in the print dialog; the whole range otherwise.
    UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
    UINT GetToPage() const { return m_pPD->m_pd.nToPage; }
};

// What the frame puts aside while the preview shows, to put back when it closes.
struct CPrintPreviewState
{
    CPrintPreviewState();

    UINT nIDMainPane;          // the child the preview takes the place of
    HMENU hMenu;               // the frame's menu, taken away
    HACCEL hAccelTable;        // the frame's keys, replaced by the preview's
    CView* pViewActiveOld;     // the view active before
    CArray<HWND, HWND> hiddenWindows;   // the children the preview hid
    // Closing the frame closes the preview.
    void (CALLBACK* lpfnCloseProc)(CFrameWnd* pFrameWnd);
};

// The pages of a print preview, drawn as the printer would print them: the view's OnPrint
// runs on a metafile with the printer as its reference device, which then plays scaled
// onto a white sheet. One or two pages side by side fit the window; three zoom levels show
// one page larger, with scroll bars.
class CPreviewView : public CView
{
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Prepares the printing of pPrintView for the preview; FALSE when there is nothing to
    // preview (no printer, or the view refused).
    BOOL SetPrintView(CView* pPrintView);
    // Shows the page (and the next one, two pages side by side) from nPage.
    void SetCurrentPage(UINT nPage, BOOL bClearRatios);

    enum { ZOOM_OUT = 0, ZOOM_MIDDLE = 1, ZOOM_IN = 2 };

    void OnDraw(CDC* pDC) override;
    // The document changed: the pages are drawn again.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg void OnPreviewClose();
    afx_msg void OnPreviewPrint();
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnNumPageChange();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnUpdateNextPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrevPage(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNumPageChange(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomIn(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomOut(CCmdUI* pCmdUI);

    CPrintPreviewState* m_pPreviewState;   // the view owns it from its creation
    CView* m_pOrigView;                    // the view the preview came from
    CView* m_pPrintView;                   // the view that prints the pages
    CWnd* m_pToolBar;                      // the button bar
    CPrintInfo* m_pPreviewInfo;
    UINT m_nPages;           // pages side by side when not zoomed: 1 or 2
    UINT m_nCurrentPage;     // the first page shown
    int m_nZoomState;

protected:
    // The page as a metafile, NULL when the view has no such page.
    HENHMETAFILE GetPage(UINT nPage);
    // Whether the view prints the page (its OnPrepareDC decides when the count is unknown).
    BOOL PageExists(UINT nPage);
    void ClearPages();
    // Pages shown now: 1 when zoomed.
    UINT PagesShown() const;
    CSize FullClientSize() const;
    // Screen pixels per printer inch: nPages sheets fitting the window, or a zoom state.
    double FitScale(UINT nPages) const;
    double ZoomScale(int nZoomState) const;
    CSize SheetSize() const;
    // The whole area the sheets need, margins included, at the current zoom.
    CSize ContentSize() const;
    // The sheet of the page shown in slot nSlot (0 or 1), in client coordinates.
    CRect SheetRect(UINT nSlot) const;
    void SetZoom(int nZoomState, CPoint point);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    void ShowPageNumber();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    CDC m_dcPrint;             // the printer's device context, the print information's
    CSize m_sizePrinterDpi;
    CSize m_sizePaper;         // the whole sheet, in printer pixels
    CSize m_sizePrintable;     // HORZRES and VERTRES
    CPoint m_ptPrintOffset;    // where the printable area starts on the sheet
    int m_nScreenDpi = 96;
    HENHMETAFILE m_hPages[2];
    UINT m_nPageNumbers[2];
    struct PageProbe
    {
        UINT nPage = 0;
        BOOL bExists = FALSE;
    };
    PageProbe m_probes[4];
    int m_nNextProbe = 0;
    CPoint m_ptScroll;         // the scroll position when zoomed
    int m_nWheelDelta;

    DECLARE_MESSAGE_MAP()
};

#endif // RC_INVOKED
