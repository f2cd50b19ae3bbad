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
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view's own map first, then its document's (and so its template's).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CView();

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
