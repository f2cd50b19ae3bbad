#include "AfxOle.h"

#include <cxxabi.h>
#include <exception>
#include <shlobj.h>
#include <string.h>

// Interface ids come from __uuidof, which Wine's headers define inline, rather than from the
// uuid library.

namespace {

// OleInitialize succeeded on this thread and waits for its OleUninitialize.
thread_local BOOL t_bNeedTerm = FALSE;

// The data source last put on the clipboard by this program; its destructor clears it.
COleDataSource* g_pClipboardSource = NULL;

// Runs the body of a COM method that calls into the program: whatever it throws stops here,
// as ole32 called the method.
template <typename Body>
HRESULT CallGuarded(Body body)
{
    try
    {
        return body();
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (const std::exception&)
    {
    }
    catch (abi::__forced_unwind&)
    {
        throw;   // a thread being cancelled must keep unwinding
    }
    catch (...)
    {
    }
    return E_UNEXPECTED;
}

// The target's answer within what the source allows: a copy the source does not allow
// becomes a move, and the other way round.
DROPEFFECT FilterDropEffect(DROPEFFECT dropEffect, DWORD dwEffects)
{
    DROPEFFECT dropScroll = dropEffect & DROPEFFECT_SCROLL;
    DROPEFFECT dropOperation = dropEffect & ~DROPEFFECT_SCROLL;
    if ((dropOperation & dwEffects) == dropOperation)
        return dropEffect;
    if (dropOperation == DROPEFFECT_COPY && (dwEffects & DROPEFFECT_MOVE))
        return DROPEFFECT_MOVE | dropScroll;
    if (dropOperation == DROPEFFECT_MOVE && (dwEffects & DROPEFFECT_COPY))
        return DROPEFFECT_COPY | dropScroll;
    return DROPEFFECT_NONE;
}

HGLOBAL CopyGlobal(HGLOBAL hSource)
{
    SIZE_T nSize = GlobalSize(hSource);
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (hCopy == NULL)
        return NULL;
    void* pSource = GlobalLock(hSource);
    void* pCopy = GlobalLock(hCopy);
    if (pSource == NULL || pCopy == NULL)
    {
        if (pSource != NULL)
            GlobalUnlock(hSource);
        GlobalUnlock(hCopy);
        GlobalFree(hCopy);
        return NULL;
    }
    memcpy(pCopy, pSource, nSize);
    GlobalUnlock(hSource);
    GlobalUnlock(hCopy);
    return hCopy;
}

// The source side of a drag: the button that was down when the drag began drops, the
// other button or Escape cancels.
class CDropSource : public IDropSource
{
public:
    // Waits, as the user may only have clicked, until the mouse leaves a small square
    // around the cursor or the drag delay has passed; FALSE when a button or Escape came
    // first. The main window holds the mouse meanwhile.
    BOOL WaitForDragStart()
    {
        if (GetKeyState(VK_LBUTTON) < 0)
        {
            m_dwButtonDrop = MK_LBUTTON;
            m_dwButtonCancel = MK_RBUTTON;
        }
        else if (GetKeyState(VK_RBUTTON) < 0)
        {
            m_dwButtonDrop = MK_RBUTTON;
            m_dwButtonCancel = MK_LBUTTON;
        }
        POINT ptStart;
        GetCursorPos(&ptStart);
        int nMinDist = (int)GetProfileIntW(L"windows", L"DragMinDist", DD_DEFDRAGMINDIST);
        DWORD dwDelay = GetProfileIntW(L"windows", L"DragDelay", DD_DEFDRAGDELAY);
        RECT rectStart = { ptStart.x - nMinDist, ptStart.y - nMinDist, ptStart.x + nMinDist,
                           ptStart.y + nMinDist };

        HWND hWndCapture = AfxGetMainWnd()->GetSafeHwnd();
        if (hWndCapture != NULL)
            SetCapture(hWndCapture);
        BOOL bStarted = FALSE;
        DWORD dwStart = GetTickCount();
        for (;;)
        {
            if (hWndCapture != NULL && GetCapture() != hWndCapture)
                break;   // another window took the mouse
            MSG msg;
            if (PeekMessageW(&msg, NULL, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
                PeekMessageW(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
            {
                if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP ||
                    msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
                    break;
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                    break;
                if (!PtInRect(&rectStart, msg.pt))
                {
                    bStarted = TRUE;
                    break;
                }
                continue;
            }
            DWORD dwElapsed = GetTickCount() - dwStart;
            if (dwElapsed >= dwDelay)
            {
                bStarted = TRUE;
                break;
            }
            MsgWaitForMultipleObjects(0, NULL, FALSE, dwDelay - dwElapsed, QS_ALLINPUT);
        }
        if (hWndCapture != NULL && GetCapture() == hWndCapture)
            ReleaseCapture();
        return bStarted;
    }

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override
    {
        if (ppvObject == NULL)
            return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDropSource)))
        {
            *ppvObject = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = NULL;
        return E_NOINTERFACE;
    }
    // The object lives on DoDragDrop's stack, which outlasts OLE's references.
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHOD_(ULONG, Release)() override { return (ULONG)InterlockedDecrement(&m_nRef); }

    STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) override
    {
        if (fEscapePressed || (grfKeyState & m_dwButtonCancel) != 0)
            return DRAGDROP_S_CANCEL;
        if ((grfKeyState & m_dwButtonDrop) == 0)
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    STDMETHOD(GiveFeedback)(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    LONG m_nRef = 1;
    DWORD m_dwButtonDrop = 0;
    DWORD m_dwButtonCancel = 0;
};

} // namespace

// ---- Initialisation -------------------------------------------------------------------------

BOOL AfxOleInit()
{
    if (t_bNeedTerm)
        return TRUE;
    if (FAILED(OleInitialize(NULL)))
        return FALSE;
    t_bNeedTerm = TRUE;
    return TRUE;
}

void AfxOleTerm()
{
    COleDataSource::FlushClipboard();
    if (t_bNeedTerm)
    {
        OleUninitialize();
        t_bNeedTerm = FALSE;
    }
}

void AfxEnableControlContainer() {}

// ---- COleException ----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleException, CException)

COleException::COleException(SCODE sc) : m_sc(sc) {}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                       (DWORD)m_sc, 0, lpszError, nMaxError, NULL) == 0)
    {
        *lpszError = 0;
        return FALSE;
    }
    return TRUE;
}

void AfxThrowOleException(SCODE sc)
{
    throw new COleException(sc);
}

// ---- COleDataSource ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

COleDataSource::COleDataSource() : m_dwRef(1)
{
    m_xDataObject.m_pThis = this;
}

COleDataSource::~COleDataSource()
{
    if (g_pClipboardSource == this)
        g_pClipboardSource = NULL;
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    FORMATETC formatEtc = { cfFormat, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    int nIndex = Lookup(&formatEtc);
    if (nIndex >= 0)
    {
        GlobalFree(m_blocks[nIndex]);
        m_blocks[nIndex] = hGlobal;
        return;
    }
    try
    {
        m_formats.reserve(m_formats.size() + 1);
        m_blocks.reserve(m_blocks.size() + 1);
    }
    catch (const std::bad_alloc&)
    {
        GlobalFree(hGlobal);
        AfxThrowMemoryException();
    }
    m_formats.push_back(formatEtc);
    m_blocks.push_back(hGlobal);
}

void COleDataSource::Empty()
{
    for (HGLOBAL hGlobal : m_blocks)
        GlobalFree(hGlobal);
    m_blocks.clear();
    m_formats.clear();
}

int COleDataSource::Lookup(const FORMATETC* lpFormatEtc) const
{
    for (size_t i = 0; i < m_formats.size(); i++)
    {
        const FORMATETC& formatEtc = m_formats[i];
        if (formatEtc.cfFormat == lpFormatEtc->cfFormat &&
            formatEtc.dwAspect == lpFormatEtc->dwAspect &&
            formatEtc.lindex == lpFormatEtc->lindex && (formatEtc.tymed & lpFormatEtc->tymed) != 0)
            return (int)i;
    }
    return -1;
}

void COleDataSource::SetClipboard()
{
    HRESULT hr = OleSetClipboard(&m_xDataObject);
    if (FAILED(hr))
        AfxThrowOleException(hr);
    g_pClipboardSource = this;
    InternalRelease();
}

COleDataSource* PASCAL COleDataSource::GetClipboardOwner()
{
    if (g_pClipboardSource == NULL)
        return NULL;
    if (OleIsCurrentClipboard(&g_pClipboardSource->m_xDataObject) != S_OK)
    {
        g_pClipboardSource = NULL;
        return NULL;
    }
    return g_pClipboardSource;
}

void PASCAL COleDataSource::FlushClipboard()
{
    if (GetClipboardOwner() != NULL)
        OleFlushClipboard();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects)
{
    CDropSource dropSource;
    if (!dropSource.WaitForDragStart())
        return DROPEFFECT_NONE;
    DWORD dwResultEffect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(&m_xDataObject, &dropSource, dwEffects, &dwResultEffect);
    return hr == DRAGDROP_S_DROP ? dwResultEffect : DROPEFFECT_NONE;
}

DWORD COleDataSource::InternalAddRef()
{
    return (DWORD)InterlockedIncrement(&m_dwRef);
}

DWORD COleDataSource::InternalRelease()
{
    LONG nRef = InterlockedDecrement(&m_dwRef);
    if (nRef == 0)
        delete this;
    return (DWORD)nRef;
}

STDMETHODIMP COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDataObject)))
    {
        *ppvObject = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDataSource::XDataObject::AddRef()
{
    return m_pThis->InternalAddRef();
}

STDMETHODIMP_(ULONG) COleDataSource::XDataObject::Release()
{
    return m_pThis->InternalRelease();
}

STDMETHODIMP COleDataSource::XDataObject::GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium)
{
    if (pformatetcIn == NULL || pmedium == NULL)
        return E_INVALIDARG;
    int nIndex = m_pThis->Lookup(pformatetcIn);
    if (nIndex < 0)
        return DV_E_FORMATETC;
    // The reader frees what it gets, and the source keeps its block for the next reader.
    HGLOBAL hCopy = CopyGlobal(m_pThis->m_blocks[nIndex]);
    if (hCopy == NULL)
        return E_OUTOFMEMORY;
    pmedium->tymed = TYMED_HGLOBAL;
    pmedium->hGlobal = hCopy;
    pmedium->pUnkForRelease = NULL;
    return S_OK;
}

STDMETHODIMP COleDataSource::XDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(FORMATETC* pformatetc)
{
    if (pformatetc == NULL)
        return E_INVALIDARG;
    return m_pThis->Lookup(pformatetc) >= 0 ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::GetCanonicalFormatEtc(FORMATETC* pformatectIn,
                                                                FORMATETC* pformatetcOut)
{
    if (pformatectIn == NULL || pformatetcOut == NULL)
        return E_INVALIDARG;
    *pformatetcOut = *pformatectIn;
    pformatetcOut->ptd = NULL;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD dwDirection,
                                                        IEnumFORMATETC** ppenumFormatEtc)
{
    if (ppenumFormatEtc == NULL)
        return E_INVALIDARG;
    *ppenumFormatEtc = NULL;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    return SHCreateStdEnumFmtEtc((DWORD)m_pThis->m_formats.size(), m_pThis->m_formats.data(),
                                 ppenumFormatEtc);
}

STDMETHODIMP COleDataSource::XDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::XDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- COleDataObject ---------------------------------------------------------------------------

COleDataObject::COleDataObject() : m_lpDataObject(NULL), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject()
{
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = NULL;
    return lpDataObject;
}

void COleDataObject::Release()
{
    if (m_lpDataObject != NULL && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = NULL;
}

BOOL COleDataObject::AttachClipboard()
{
    Release();
    LPDATAOBJECT lpDataObject = NULL;
    if (OleGetClipboard(&lpDataObject) != S_OK)
        return FALSE;
    Attach(lpDataObject, TRUE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat)
{
    if (m_lpDataObject == NULL)
        return FALSE;
    FORMATETC formatEtc = { cfFormat, NULL, DVASPECT_CONTENT, -1, (DWORD)-1 };
    return m_lpDataObject->QueryGetData(&formatEtc) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat)
{
    if (m_lpDataObject == NULL)
        return NULL;
    FORMATETC formatEtc = { cfFormat, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM stgMedium = {};
    if (m_lpDataObject->GetData(&formatEtc, &stgMedium) != S_OK)
        return NULL;
    if (stgMedium.tymed != TYMED_HGLOBAL)
    {
        ReleaseStgMedium(&stgMedium);
        return NULL;
    }
    if (stgMedium.pUnkForRelease == NULL)
        return stgMedium.hGlobal;
    // The block is still the giver's: the caller gets a copy of its own.
    HGLOBAL hCopy = CopyGlobal(stgMedium.hGlobal);
    ReleaseStgMedium(&stgMedium);
    return hCopy;
}

// ---- COleDropTarget ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

COleDropTarget::COleDropTarget() : m_hWnd(NULL), m_dwRef(1), m_lpDataObject(NULL)
{
    m_xDropTarget.m_pThis = this;
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    if (m_lpDataObject != NULL)
        m_lpDataObject->Release();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (m_hWnd != NULL || pWnd->GetSafeHwnd() == NULL)
        return FALSE;
    if (RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget) != S_OK)
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    pWnd->m_pDropTarget = this;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_hWnd == NULL)
        return;
    RevokeDragDrop(m_hWnd);
    CWnd* pWnd = CWnd::FromHandlePermanent(m_hWnd);
    if (pWnd != NULL && pWnd->m_pDropTarget == this)
        pWnd->m_pDropTarget = NULL;
    m_hWnd = NULL;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDropTarget)))
    {
        *ppvObject = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::AddRef()
{
    return (ULONG)InterlockedIncrement(&m_pThis->m_dwRef);
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::Release()
{
    return (ULONG)InterlockedDecrement(&m_pThis->m_dwRef);
}

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState,
                                                    POINTL pt, DWORD* pdwEffect)
{
    if (pDataObj == NULL || pdwEffect == NULL)
        return E_INVALIDARG;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pThis = m_pThis;
    if (pThis->m_hWnd == NULL)
        return E_UNEXPECTED;
    // OnDragOver and OnDrop see the same data until the drag leaves.
    pDataObj->AddRef();
    if (pThis->m_lpDataObject != NULL)
        pThis->m_lpDataObject->Release();
    pThis->m_lpDataObject = pDataObj;
    HRESULT hr = CallGuarded([&] {
        CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
        COleDataObject dataObject;
        dataObject.Attach(pDataObj, FALSE);
        CPoint point(pt.x, pt.y);
        pWnd->ScreenToClient(&point);
        DROPEFFECT dropEffect = pThis->OnDragEnter(pWnd, &dataObject, grfKeyState, point);
        *pdwEffect = FilterDropEffect(dropEffect, dwAllowed);
        return S_OK;
    });
    // OLE sends no DragLeave after a failed DragEnter.
    if (FAILED(hr))
    {
        pThis->m_lpDataObject->Release();
        pThis->m_lpDataObject = NULL;
    }
    return hr;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (pdwEffect == NULL)
        return E_INVALIDARG;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pThis = m_pThis;
    if (pThis->m_hWnd == NULL || pThis->m_lpDataObject == NULL)
        return E_UNEXPECTED;
    return CallGuarded([&] {
        CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
        COleDataObject dataObject;
        dataObject.Attach(pThis->m_lpDataObject, FALSE);
        CPoint point(pt.x, pt.y);
        pWnd->ScreenToClient(&point);
        DROPEFFECT dropEffect = pThis->OnDragScroll(pWnd, grfKeyState, point);
        if ((dropEffect & DROPEFFECT_SCROLL) == 0)
            dropEffect = pThis->OnDragOver(pWnd, &dataObject, grfKeyState, point);
        *pdwEffect = FilterDropEffect(dropEffect, dwAllowed);
        return S_OK;
    });
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave()
{
    COleDropTarget* pThis = m_pThis;
    HRESULT hr = S_OK;
    if (pThis->m_hWnd != NULL)
    {
        hr = CallGuarded([&] {
            pThis->OnDragLeave(CWnd::FromHandle(pThis->m_hWnd));
            return S_OK;
        });
    }
    if (pThis->m_lpDataObject != NULL)
    {
        pThis->m_lpDataObject->Release();
        pThis->m_lpDataObject = NULL;
    }
    return hr;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState,
                                               POINTL pt, DWORD* pdwEffect)
{
    if (pDataObj == NULL || pdwEffect == NULL)
        return E_INVALIDARG;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    COleDropTarget* pThis = m_pThis;
    HRESULT hr = E_UNEXPECTED;
    if (pThis->m_hWnd != NULL)
    {
        hr = CallGuarded([&] {
            CWnd* pWnd = CWnd::FromHandle(pThis->m_hWnd);
            COleDataObject dataObject;
            dataObject.Attach(pDataObj, FALSE);
            CPoint point(pt.x, pt.y);
            pWnd->ScreenToClient(&point);
            // The key state has changed since the last OnDragOver (the button is up).
            DROPEFFECT dropEffect = FilterDropEffect(
                pThis->OnDragOver(pWnd, &dataObject, grfKeyState, point), dwAllowed);
            dropEffect &= ~DROPEFFECT_SCROLL;
            if (dropEffect != DROPEFFECT_NONE &&
                pThis->OnDrop(pWnd, &dataObject, dropEffect, point))
                *pdwEffect = dropEffect;
            return S_OK;
        });
    }
    if (pThis->m_lpDataObject != NULL)
    {
        pThis->m_lpDataObject->Release();
        pThis->m_lpDataObject = NULL;
    }
    return hr;
}
