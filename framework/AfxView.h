// CView, a child window that shows a document inside a frame, and CCreateContext, what a
// document template hands to the frame it creates.
#pragma once

#include <windows.h>

#include "AfxWin.h"
#include "AfxDoc.h"

class CPrintInfo;

// Sent to the views (and every permanent child) of a frame before it is first shown.
#define WM_INITIALUPDATE 0x0364

struct CCreateContext
{
    CCreateContext()
        : m_pNewViewClass(NULL), m_pCurrentDoc(NULL), m_pNewDocTemplate(NULL),
          m_pLastView(NULL), m_pCurrentFrame(NULL)
    {
    }

    CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    CDocTemplate* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;
};

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }

    // Paints the document; every view has one.
    virtual void OnDraw(CDC* pDC) = 0;
    // The document changed: the default repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Before the frame is first shown: the default calls OnUpdate(NULL, 0, NULL).
    virtual void OnInitialUpdate();
    // Before each page is printed or previewed, and before each paint. The default prints
    // only page 1 when the page count is unknown.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view's own map first, then its document's (and so its template's).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // ---- Printing (AfxPrint.cpp) ----------------------------------------------------------
    // The print loop: the print dialog (none for ID_FILE_PRINT_DIRECT), then every page
    // through OnPrepareDC and OnPrint, with a dialog that can cancel the job.
    afx_msg void OnFilePrint();
    // The print preview in place of the view, until its Close.
    afx_msg void OnFilePrintPreview();

protected:
    CView();

    // Must call DoPreparePrinting for the view to print; FALSE prints nothing.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    // The printer's device context (or the preview's) is known: fonts, page count...
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // One page; the default draws the view (OnDraw).
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // The print dialog, or the application's printer when the print is direct or a preview;
    // FALSE when the user cancelled or there is no printer.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);

    friend class CPreviewView;

    // Views live on the heap and delete themselves with their window.
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    CDocument* m_pDocument;

    friend class CDocument;

private:
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    LRESULT OnMouseActivateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
