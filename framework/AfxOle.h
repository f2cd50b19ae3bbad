// OLE data transfer: AfxOleInit, COleDataSource (data offered to the clipboard or to a
// drag), COleDataObject (data read from the clipboard or from a drop) and COleDropTarget
// (a window that accepts drops). The COM interfaces are implemented here over ole32; every
// method that calls back into the program catches what it throws, so that nothing unwinds
// through ole32's code.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

#include "AfxWin.h"

// A combination of the DROPEFFECT_... flags.
typedef DWORD DROPEFFECT;

// Initialises OLE (apartment-threaded) on the calling thread. Later calls on a thread where
// it succeeded do nothing more and return TRUE; FALSE when OleInitialize fails.
BOOL AfxOleInit();
// Flushes the clipboard when it holds this program's data source, then uninitialises OLE on
// the thread if AfxOleInit initialised it. AfxWinMain calls it at exit.
void AfxOleTerm();
// The program hosts no ActiveX controls; the call is kept for the start-up code.
void AfxEnableControlContainer();

class COleException : public CException
{
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = S_OK);

    // The system's text of the status code.
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                         PUINT pnHelpContext = NULL) const override;

    SCODE m_sc;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);

// Data offered in global memory, one block per clipboard format. Reference-counted: it
// starts with the creator's reference. SetClipboard hands that reference to the clipboard,
// which deletes the object when it lets go of it; after DoDragDrop the creator still owns
// the object and deletes it (or calls InternalRelease).
class COleDataSource : public CCmdTarget
{
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    virtual ~COleDataSource();

    // The source owns hGlobal from now on; a block given before for the same format is freed.
    // Readers get copies.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);

    // Puts the data on the clipboard and gives it the caller's reference; throws a
    // COleException when OLE refuses (for instance, not initialised on this thread).
    void SetClipboard();
    // The data source this program put on the clipboard, while it is still there.
    static COleDataSource* PASCAL GetClipboardOwner();
    // Renders that data source's formats onto the clipboard and lets go of it, so that the
    // data outlives the program; nothing when another program's data is there.
    static void PASCAL FlushClipboard();

    // Runs OLE's drag loop once the mouse has left a small square around the cursor (or
    // after the drag delay); the main window holds the mouse until then. The drop's effect;
    // DROPEFFECT_NONE when a button or Escape came before the drag started, or when it was
    // cancelled or nothing took the drop.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);

    DWORD InternalAddRef();
    // Deletes the object when the last reference goes.
    DWORD InternalRelease();

protected:
    // Frees every cached block.
    void Empty();
    // The index of the cached block that matches the request, or -1.
    int Lookup(const FORMATETC* lpFormatEtc) const;

    class XDataObject : public IDataObject
    {
    public:
        COleDataSource* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(GetData)(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
        STDMETHOD(GetDataHere)(FORMATETC* pformatetc, STGMEDIUM* pmedium) override;
        STDMETHOD(QueryGetData)(FORMATETC* pformatetc) override;
        STDMETHOD(GetCanonicalFormatEtc)(FORMATETC* pformatectIn,
                                         FORMATETC* pformatetcOut) override;
        STDMETHOD(SetData)(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override;
        STDMETHOD(EnumFormatEtc)(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override;
        STDMETHOD(DAdvise)(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                           DWORD* pdwConnection) override;
        STDMETHOD(DUnadvise)(DWORD dwConnection) override;
        STDMETHOD(EnumDAdvise)(IEnumSTATDATA** ppenumAdvise) override;
    } m_xDataObject;

    LONG m_dwRef;
    std::vector<FORMATETC> m_formats;   // in the order the formats were cached
    std::vector<HGLOBAL> m_blocks;      // the block of each format

private:
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;
};

// A view of an IDataObject: the clipboard's, or the one a drop target is given.
class COleDataObject
{
public:
    COleDataObject();
    ~COleDataObject();

    // With bAutoRelease, Release (and the destructor) release the interface.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's current data; FALSE when OLE cannot give it.
    BOOL AttachClipboard();

    // Whether the data can be had in this format, in any medium.
    BOOL IsDataAvailable(CLIPFORMAT cfFormat);
    // The data in global memory, the caller's to free; NULL when it is not there.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat);

    LPDATAOBJECT m_lpDataObject;
    BOOL m_bAutoRelease;

private:
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;
};

// A window's drop target: OLE's calls arrive at the virtual members with the window's CWnd
// and client coordinates. The owner keeps the object alive while it is registered; the
// window's WM_NCDESTROY revokes it.
class COleDropTarget : public CCmdTarget
{
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    virtual ~COleDropTarget();

    // FALSE when this target is already registered or OLE refuses (not initialised, or the
    // window already has a target).
    BOOL Register(CWnd* pWnd);
    void Revoke();

    // The answers are filtered against the effects the source allows: a copy becomes a
    // move when only a move is allowed, and the other way round.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                   CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                  CPoint point);
    // Called with OnDragOver's answer, only when that was not DROPEFFECT_NONE.
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                        CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // Asked before each OnDragOver; an answer with DROPEFFECT_SCROLL replaces OnDragOver's.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // The registered window, NULL when not registered.
    HWND m_hWnd;

protected:
    class XDropTarget : public IDropTarget
    {
    public:
        COleDropTarget* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                             DWORD* pdwEffect) override;
        STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHOD(DragLeave)() override;
        STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                        DWORD* pdwEffect) override;
    } m_xDropTarget;

    LONG m_dwRef;                  // the owner's reference and OLE's; never deletes
    LPDATAOBJECT m_lpDataObject;   // the data of the drag in progress

private:
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;
};
