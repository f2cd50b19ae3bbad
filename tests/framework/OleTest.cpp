// OLE data transfer with real windows and the real clipboard: data sources read back through
// OLE and through plain Win32, the clipboard's ownership, drop targets called through their
// COM interface and by OLE's own drag loop, and OLE's start and end on a thread.
#include "MosaicTest.h"

#include <stdexcept>

#include "AfxFile.h"
#include "AfxOle.h"

namespace {

class Ole : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
};

const CLIPFORMAT g_cfUnknown = (CLIPFORMAT)RegisterClipboardFormatW(L"MosaicTestNothing");

// Made as the grid makes its copy: written into a shared file that grows in small steps,
// detached, and cut to the written size.
HGLOBAL MakeTextBlock(CLIPFORMAT cfFormat, LPCWSTR lpszText)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, 16);
    if (cfFormat == CF_UNICODETEXT)
    {
        file.Write(lpszText, (UINT)(lstrlenW(lpszText) + 1) * sizeof(WCHAR));
    }
    else
    {
        CW2A text(lpszText);
        file.Write((LPCSTR)text, (UINT)lstrlenA(text) + 1);
    }
    SIZE_T nLength = (SIZE_T)file.GetLength();
    return GlobalReAlloc(file.Detach(), nLength, GMEM_MOVEABLE);
}

CString ReadTextBlock(CLIPFORMAT cfFormat, HANDLE hBlock)
{
    CString strText;
    const void* p = GlobalLock(hBlock);
    if (p == NULL)
        return L"<unreadable>";
    if (cfFormat == CF_UNICODETEXT)
        strText = (LPCWSTR)p;
    else
        strText = (LPCSTR)p;
    GlobalUnlock(hBlock);
    return strText;
}

CString ReadClipboardWin32(CLIPFORMAT cfFormat)
{
    if (!OpenClipboard(NULL))
        return L"<clipboard not opened>";
    HANDLE hBlock = GetClipboardData(cfFormat);
    CString strText = hBlock != NULL ? ReadTextBlock(cfFormat, hBlock) : CString(L"<none>");
    CloseClipboard();
    return strText;
}

class CCountedSource : public COleDataSource
{
public:
    explicit CCountedSource(int* pnDeleted = NULL) : m_pnDeleted(pnDeleted) {}
    ~CCountedSource() override
    {
        if (m_pnDeleted != NULL)
            (*m_pnDeleted)++;
    }
    IDataObject* DataObject() { return &m_xDataObject; }
    LONG RefCount() const { return m_dwRef; }

private:
    int* m_pnDeleted;
};

// ---- The clipboard ----------------------------------------------------------------------------

TEST_F(Ole, TextOnTheClipboardReadsBackThroughOleAndWin32)
{
    struct Case
    {
        CLIPFORMAT cfFormat;
        LPCWSTR lpszText;
    };
    const Case cases[] = {
        { CF_UNICODETEXT, L"Rouge, vif\t\x0421\x0438\x043D\x0438\x0439\r\n\x8D64" },
        { CF_TEXT, L"Rouge, vif\t12\r\nBleu" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.cfFormat);
        int nDeleted = 0;
        CCountedSource* pSource = new CCountedSource(&nDeleted);
        pSource->CacheGlobalData(c.cfFormat, MakeTextBlock(c.cfFormat, c.lpszText));
        pSource->SetClipboard();
        EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSource);

        {
            COleDataObject data;
            ASSERT_TRUE(data.AttachClipboard());
            EXPECT_TRUE(data.IsDataAvailable(c.cfFormat));
            EXPECT_FALSE(data.IsDataAvailable(g_cfUnknown));
            EXPECT_EQ(data.GetGlobalData(g_cfUnknown), nullptr);
            // Each reader gets a block of its own; the source keeps its own for the next.
            for (int nRead = 0; nRead < 2; nRead++)
            {
                HGLOBAL hBlock = data.GetGlobalData(c.cfFormat);
                ASSERT_NE(hBlock, nullptr);
                EXPECT_EQ(ReadTextBlock(c.cfFormat, hBlock), CString(c.lpszText));
                GlobalFree(hBlock);
            }
        }
        EXPECT_EQ(ReadClipboardWin32(c.cfFormat), CString(c.lpszText));
        EXPECT_EQ(nDeleted, 0);

        // The text stays for the programs that outlive this one; the source goes.
        COleDataSource::FlushClipboard();
        EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
        EXPECT_EQ(nDeleted, 1);
        EXPECT_EQ(ReadClipboardWin32(c.cfFormat), CString(c.lpszText));
        COleDataSource::FlushClipboard();
        EXPECT_EQ(ReadClipboardWin32(c.cfFormat), CString(c.lpszText));
    }
}

TEST_F(Ole, ClipboardLetsGoOfASourceThatOthersReplace)
{
    int nDeleted = 0;
    CCountedSource* pFirst = new CCountedSource(&nDeleted);
    pFirst->CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"first"));
    pFirst->SetClipboard();
    CCountedSource* pSecond = new CCountedSource(&nDeleted);
    pSecond->CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"old"));
    // A format given again replaces the block given before.
    pSecond->CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"second"));
    pSecond->SetClipboard();
    EXPECT_EQ(nDeleted, 1);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSecond);
    EXPECT_EQ(ReadClipboardWin32(CF_UNICODETEXT), CString(L"second"));

    // Another owner empties the clipboard through plain Win32.
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, L"Owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    ASSERT_TRUE(OpenClipboard(owner.m_hWnd));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"other"));
    CloseClipboard();
    EXPECT_EQ(nDeleted, 2);
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
    COleDataSource::FlushClipboard();
    EXPECT_EQ(ReadClipboardWin32(CF_UNICODETEXT), CString(L"other"));
}

// ---- OLE's start and end on a thread ------------------------------------------------------------

struct ThreadOutcome
{
    SCODE scWithoutOle = S_OK;
    BOOL bRegisteredWithoutOle = TRUE;
    BOOL bFirstInit = FALSE;
    BOOL bSecondInit = FALSE;
    int nDeleted = 0;
    int nDeletedBeforeTerm = -1;
    HRESULT hrInitAfterTerm = E_FAIL;
    BOOL bUnexpected = FALSE;
};

DWORD WINAPI OleThread(LPVOID pParam)
{
    ThreadOutcome& outcome = *(ThreadOutcome*)pParam;
    try
    {
        CCountedSource* pSource = new CCountedSource(&outcome.nDeleted);
        pSource->CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"from a thread"));
        try
        {
            pSource->SetClipboard();
        }
        catch (COleException* e)
        {
            outcome.scWithoutOle = e->m_sc;
            e->Delete();
        }
        CWnd wnd;
        wnd.CreateEx(0, NULL, L"Thread", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
        COleDropTarget target;
        outcome.bRegisteredWithoutOle = target.Register(&wnd);

        outcome.bFirstInit = AfxOleInit();
        outcome.bSecondInit = AfxOleInit();
        pSource->SetClipboard();
        outcome.nDeletedBeforeTerm = outcome.nDeleted;
        AfxOleTerm();
        // S_OK, not S_FALSE: one AfxOleTerm undid both AfxOleInit calls.
        outcome.hrInitAfterTerm = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(outcome.hrInitAfterTerm))
            CoUninitialize();
    }
    catch (...)
    {
        outcome.bUnexpected = TRUE;
    }
    return 0;
}

TEST(OleThread, InitialisesOnceAndLeavesTheClipboardsTextAtTheEnd)
{
    ThreadOutcome outcome;
    HANDLE hThread = CreateThread(NULL, 0, OleThread, &outcome, 0, NULL);
    ASSERT_NE(hThread, nullptr);
    // The thread's clipboard calls send messages to this thread's clipboard window.
    DWORD dwStart = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &hThread, FALSE, 1000, QS_ALLINPUT) != WAIT_OBJECT_0)
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        ASSERT_LT(GetTickCount() - dwStart, 60000u);
    }
    CloseHandle(hThread);

    EXPECT_FALSE(outcome.bUnexpected);
    EXPECT_EQ(outcome.scWithoutOle, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(outcome.bRegisteredWithoutOle);
    EXPECT_TRUE(outcome.bFirstInit);
    EXPECT_TRUE(outcome.bSecondInit);
    EXPECT_EQ(outcome.nDeletedBeforeTerm, 0);
    EXPECT_EQ(outcome.nDeleted, 1);
    EXPECT_EQ(outcome.hrInitAfterTerm, S_OK);
    EXPECT_EQ(ReadClipboardWin32(CF_UNICODETEXT), CString(L"from a thread"));
}

// ---- Drop targets -------------------------------------------------------------------------------

// Logs the calls it gets ("enter over drop ...") and answers as told.
class CRecordingTarget : public COleDropTarget
{
public:
    IDropTarget* Interface() { return &m_xDropTarget; }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                           CPoint point) override
    {
        Record(L"enter", pWnd, pDataObject, dwKeyState, point);
        ThrowIfAsked();
        return m_dropOver;
    }
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override
    {
        Record(L"over", pWnd, pDataObject, dwKeyState, point);
        ThrowIfAsked();
        return m_dropOver;
    }
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                CPoint point) override
    {
        Record(L"drop", pWnd, pDataObject, 0, point);
        m_dropEffect = dropEffect;
        return m_bDropResult;
    }
    void OnDragLeave(CWnd* pWnd) override
    {
        m_strLog += L"leave ";
        m_pWnd = pWnd;
    }
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override
    {
        Record(L"scroll", pWnd, NULL, dwKeyState, point);
        return m_dropScroll;
    }

    DROPEFFECT m_dropOver = DROPEFFECT_COPY;
    DROPEFFECT m_dropScroll = DROPEFFECT_NONE;
    BOOL m_bDropResult = TRUE;
    int m_nThrow = 0;   // OnDragEnter and OnDragOver throw: 1 a CException, 2 a std::exception

    CString m_strLog;
    CWnd* m_pWnd = NULL;
    CPoint m_point;
    DWORD m_dwKeyState = 0;
    CString m_strText;   // the data's text, read at the last call that had data
    DROPEFFECT m_dropEffect = DROPEFFECT_NONE;

private:
    void ThrowIfAsked()
    {
        if (m_nThrow == 1)
            AfxThrowUserException();
        if (m_nThrow == 2)
            throw std::runtime_error("thrown by an override");
    }
    void Record(LPCWSTR lpszCall, CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                CPoint point)
    {
        m_strLog += lpszCall;
        m_strLog += L" ";
        m_pWnd = pWnd;
        m_point = point;
        m_dwKeyState = dwKeyState;
        if (pDataObject == NULL)
            return;
        HGLOBAL hBlock = pDataObject->GetGlobalData(CF_UNICODETEXT);
        m_strText = hBlock != NULL ? ReadTextBlock(CF_UNICODETEXT, hBlock) : CString(L"<none>");
        if (hBlock != NULL)
            GlobalFree(hBlock);
    }
};

// What RegisterDragDrop keeps on the window, in Windows as in Wine.
LPCWSTR const kDropTargetProp = L"OleDropTargetInterface";

TEST_F(Ole, DropTargetIsRegisteredOnceAndRevokedWithItsWindow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Target", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CRecordingTarget target;
    ASSERT_TRUE(target.Register(&wnd));
    EXPECT_EQ(target.m_hWnd, wnd.m_hWnd);
    EXPECT_EQ(wnd.m_pDropTarget, &target);
    EXPECT_NE(GetPropW(wnd.m_hWnd, kDropTargetProp), nullptr);

    EXPECT_FALSE(target.Register(&wnd));
    CRecordingTarget other;
    EXPECT_FALSE(other.Register(&wnd));   // the window has its target
    EXPECT_EQ(other.m_hWnd, nullptr);

    target.Revoke();
    EXPECT_EQ(target.m_hWnd, nullptr);
    EXPECT_EQ(wnd.m_pDropTarget, nullptr);
    EXPECT_EQ(GetPropW(wnd.m_hWnd, kDropTargetProp), nullptr);
    ASSERT_TRUE(other.Register(&wnd));
    other.Revoke();

    // The window's end revokes it, so that the same object can serve the next window.
    ASSERT_TRUE(target.Register(&wnd));
    HWND hWnd = wnd.m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(target.m_hWnd, nullptr);
    CWnd next;
    ASSERT_TRUE(next.CreateEx(0, NULL, L"Next", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    EXPECT_TRUE(target.Register(&next));
    EXPECT_NE(GetPropW(next.m_hWnd, kDropTargetProp), nullptr);
    next.DestroyWindow();
    EXPECT_EQ(target.m_hWnd, nullptr);
    EXPECT_EQ(next.m_pDropTarget, nullptr);
}

class OleDropTarget : public Ole
{
protected:
    void SetUp() override
    {
        Ole::SetUp();
        ASSERT_TRUE(m_wnd.CreateEx(0, NULL, L"Target", WS_POPUP, 40, 60, 200, 100, NULL, NULL));
        ASSERT_TRUE(m_target.Register(&m_wnd));
        m_source.CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"cells"));
    }
    void TearDown() override
    {
        // Every reference the target took on the data was given back.
        EXPECT_EQ(m_source.RefCount(), 1);
    }

    DWORD Enter(DWORD dwAllowed = DROPEFFECT_COPY | DROPEFFECT_MOVE)
    {
        DWORD dwEffect = dwAllowed;
        EXPECT_EQ(Target()->DragEnter(m_source.DataObject(), MK_LBUTTON, m_pt, &dwEffect), S_OK);
        m_target.m_strLog.Empty();
        return dwEffect;
    }
    IDropTarget* Target() { return m_target.Interface(); }

    CWnd m_wnd;
    CRecordingTarget m_target;
    CCountedSource m_source;
    POINTL m_pt = { 140, 110 };   // screen: (100, 50) in the window
};

TEST_F(OleDropTarget, CallsArriveWithTheWindowClientPointsAndData)
{
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(Target()->DragEnter(m_source.DataObject(), MK_LBUTTON | MK_CONTROL, m_pt, &dwEffect),
              S_OK);
    EXPECT_EQ(dwEffect, (DWORD)DROPEFFECT_COPY);
    EXPECT_EQ(m_target.m_strLog, CString(L"enter "));
    EXPECT_EQ(m_target.m_pWnd, &m_wnd);
    EXPECT_EQ(m_target.m_point, CPoint(100, 50));
    EXPECT_EQ(m_target.m_dwKeyState, (DWORD)(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(m_target.m_strText, CString(L"cells"));

    // Over has the data of the enter.
    m_target.m_strText.Empty();
    POINTL pt = { 45, 61 };
    EXPECT_EQ(Target()->DragOver(MK_LBUTTON, pt, &dwEffect), S_OK);
    EXPECT_EQ(m_target.m_strLog, CString(L"enter scroll over "));
    EXPECT_EQ(m_target.m_point, CPoint(5, 1));
    EXPECT_EQ(m_target.m_strText, CString(L"cells"));

    EXPECT_EQ(Target()->DragLeave(), S_OK);
    EXPECT_EQ(m_target.m_strLog, CString(L"enter scroll over leave "));
    EXPECT_EQ(m_target.m_pWnd, &m_wnd);
    // Without an enter there is no drag to be over.
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(Target()->DragOver(MK_LBUTTON, m_pt, &dwEffect), E_UNEXPECTED);
    EXPECT_EQ(dwEffect, (DWORD)DROPEFFECT_NONE);
}

TEST_F(OleDropTarget, AnswersAreFilteredAgainstWhatTheSourceAllows)
{
    const DWORD kCopyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    struct Case
    {
        DROPEFFECT dropScroll;
        DROPEFFECT dropOver;
        DWORD dwAllowed;
        DWORD dwExpected;
        LPCWSTR lpszLog;
    };
    const Case cases[] = {
        { DROPEFFECT_NONE, DROPEFFECT_COPY, kCopyMove, DROPEFFECT_COPY, L"scroll over " },
        { DROPEFFECT_NONE, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE, L"scroll over " },
        { DROPEFFECT_NONE, DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY, L"scroll over " },
        { DROPEFFECT_NONE, DROPEFFECT_MOVE, DROPEFFECT_LINK, DROPEFFECT_NONE, L"scroll over " },
        { DROPEFFECT_NONE, DROPEFFECT_NONE, kCopyMove, DROPEFFECT_NONE, L"scroll over " },
        // A scroll answer without the scroll flag leaves the decision to OnDragOver.
        { DROPEFFECT_COPY, DROPEFFECT_MOVE, kCopyMove, DROPEFFECT_MOVE, L"scroll over " },
        { DROPEFFECT_SCROLL | DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE,
          DROPEFFECT_SCROLL | DROPEFFECT_MOVE, L"scroll " },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.dropScroll << " " << c.dropOver << " " << c.dwAllowed);
        Enter(c.dwAllowed);
        m_target.m_dropScroll = c.dropScroll;
        m_target.m_dropOver = c.dropOver;
        DWORD dwEffect = c.dwAllowed;
        EXPECT_EQ(Target()->DragOver(MK_LBUTTON, m_pt, &dwEffect), S_OK);
        EXPECT_EQ(dwEffect, c.dwExpected);
        EXPECT_EQ(m_target.m_strLog, CString(c.lpszLog));
        Target()->DragLeave();
    }
}

TEST_F(OleDropTarget, DropAsksOnDragOverWithTheDropsKeysThenOnDrop)
{
    struct Case
    {
        DROPEFFECT dropOver;
        BOOL bDropResult;
        DWORD dwExpected;
        LPCWSTR lpszLog;
    };
    const Case cases[] = {
        { DROPEFFECT_MOVE, TRUE, DROPEFFECT_MOVE, L"over drop " },
        { DROPEFFECT_COPY, FALSE, DROPEFFECT_NONE, L"over drop " },
        { DROPEFFECT_NONE, TRUE, DROPEFFECT_NONE, L"over " },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.dropOver << " " << c.bDropResult);
        Enter();
        m_target.m_dropOver = c.dropOver;
        m_target.m_bDropResult = c.bDropResult;
        m_target.m_dropEffect = DROPEFFECT_NONE;
        m_target.m_strText.Empty();
        DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(Target()->Drop(m_source.DataObject(), MK_SHIFT, m_pt, &dwEffect), S_OK);
        EXPECT_EQ(dwEffect, c.dwExpected);
        EXPECT_EQ(m_target.m_strLog, CString(c.lpszLog));
        EXPECT_EQ(m_target.m_strText, CString(L"cells"));
        EXPECT_EQ(m_target.m_point, CPoint(100, 50));
        if (c.dropOver != DROPEFFECT_NONE)
        {
            EXPECT_EQ(m_target.m_dropEffect, c.dropOver);
        }
    }
}

TEST_F(OleDropTarget, WhatAnOverrideThrowsStopsAtTheInterface)
{
    for (int nThrow : { 1, 2 })
    {
        SCOPED_TRACE(nThrow);
        m_target.m_nThrow = nThrow;
        DWORD dwEffect = DROPEFFECT_COPY;
        EXPECT_EQ(Target()->DragEnter(m_source.DataObject(), 0, m_pt, &dwEffect), E_UNEXPECTED);
        EXPECT_EQ(dwEffect, (DWORD)DROPEFFECT_NONE);
        EXPECT_EQ(m_source.RefCount(), 1);   // OLE sends no leave after a failed enter
        m_target.m_nThrow = 0;
        Enter();
        m_target.m_nThrow = nThrow;
        dwEffect = DROPEFFECT_COPY;
        EXPECT_EQ(Target()->DragOver(MK_LBUTTON, m_pt, &dwEffect), E_UNEXPECTED);
        EXPECT_EQ(dwEffect, (DWORD)DROPEFFECT_NONE);
        dwEffect = DROPEFFECT_COPY;
        EXPECT_EQ(Target()->Drop(m_source.DataObject(), 0, m_pt, &dwEffect), E_UNEXPECTED);
        EXPECT_EQ(dwEffect, (DWORD)DROPEFFECT_NONE);
        m_target.m_nThrow = 0;
    }
}

// ---- Drag and drop through OLE's own loop ------------------------------------------------------

// OLE's drag loop reads the mouse from the cursor position and the key state; a thread timer,
// which that loop dispatches, plays the user: it moves the cursor onto the target, then ends
// the drag with the button's release or Escape.
struct DragScript
{
    POINT ptTarget;
    HWND hWndKeys;
    BOOL bEscape;
    int nStep;
};
DragScript g_script;

void SetLeftButton(BOOL bDown)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = bDown ? 0x80 : 0;
    SetKeyboardState(keys);
}

void CALLBACK PlayDragScript(HWND, UINT, UINT_PTR, DWORD)
{
    g_script.nStep++;
    if (g_script.nStep == 2)
        SetCursorPos(g_script.ptTarget.x, g_script.ptTarget.y);
    else if (g_script.nStep == 5 && g_script.bEscape)
        PostMessageW(g_script.hWndKeys, WM_KEYDOWN, VK_ESCAPE, 0);
    else if (g_script.nStep == 5 || g_script.nStep == 20)
        SetLeftButton(FALSE);   // at step 20 whatever happened, so that the loop ends
}

class OleDrag : public Ole
{
protected:
    void SetUp() override
    {
        Ole::SetUp();
        GetCursorPos(&m_ptCursor);
        ASSERT_TRUE(m_from.CreateEx(0, NULL, L"From", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                    NULL, NULL));
        ASSERT_TRUE(m_to.CreateEx(0, NULL, L"To", WS_POPUP | WS_VISIBLE, 300, 0, 200, 200,
                                  NULL, NULL));
        ASSERT_TRUE(m_target.Register(&m_to));
    }
    // The tests after these find the mouse as they would have.
    void TearDown() override
    {
        SetLeftButton(FALSE);
        SetCursorPos(m_ptCursor.x, m_ptCursor.y);
    }

    // Presses the button over the source window and drags.
    DROPEFFECT Drag(COleDataSource& source, BOOL bEscape)
    {
        g_script = { { 350, 50 }, m_from.m_hWnd, bEscape, 0 };
        SetCursorPos(100, 100);
        SetLeftButton(TRUE);
        UINT_PTR nTimer = SetTimer(NULL, 0, 30, PlayDragScript);
        DROPEFFECT dropEffect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
        KillTimer(NULL, nTimer);
        return dropEffect;
    }

    POINT m_ptCursor;
    CWnd m_from;
    CWnd m_to;
    CRecordingTarget m_target;
};

TEST_F(OleDrag, TextDraggedFromOneWindowIsDroppedOnAnother)
{
    struct Case
    {
        DROPEFFECT dropAnswer;
        BOOL bEscape;
        DROPEFFECT dropExpected;
        LPCWSTR lpszLastCall;
    };
    const Case cases[] = {
        { DROPEFFECT_COPY, FALSE, DROPEFFECT_COPY, L"drop " },
        { DROPEFFECT_MOVE, FALSE, DROPEFFECT_MOVE, L"drop " },
        { DROPEFFECT_COPY, TRUE, DROPEFFECT_NONE, L"leave " },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.dropAnswer << " " << c.bEscape);
        CCountedSource source;
        source.CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"dragged"));
        m_target.m_strLog.Empty();
        m_target.m_strText.Empty();
        m_target.m_dropOver = c.dropAnswer;
        EXPECT_EQ(Drag(source, c.bEscape), c.dropExpected);

        CString strLog = m_target.m_strLog;
        EXPECT_EQ(strLog.Left(6), CString(L"enter "));
        EXPECT_NE(strLog.Find(L"over "), -1);
        EXPECT_EQ(strLog.Right(lstrlenW(c.lpszLastCall)), CString(c.lpszLastCall));
        EXPECT_EQ(m_target.m_pWnd, &m_to);
        EXPECT_EQ(m_target.m_strText, CString(L"dragged"));
        if (!c.bEscape)
        {
            EXPECT_EQ(m_target.m_point, CPoint(50, 50));
            EXPECT_EQ(m_target.m_dropEffect, c.dropAnswer);
        }
        EXPECT_EQ(source.RefCount(), 1);
    }
}

TEST_F(OleDrag, ButtonOrEscapeBeforeTheMouseMovesStartsNoDrag)
{
    for (UINT nMessage : { WM_LBUTTONUP, WM_KEYDOWN })
    {
        SCOPED_TRACE(nMessage);
        CCountedSource source;
        source.CacheGlobalData(CF_UNICODETEXT, MakeTextBlock(CF_UNICODETEXT, L"clicked"));
        m_target.m_strLog.Empty();
        SetCursorPos(100, 100);
        SetLeftButton(TRUE);
        PostMessageW(m_from.m_hWnd, nMessage, nMessage == WM_KEYDOWN ? VK_ESCAPE : 0,
                     MAKELPARAM(100, 100));
        EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE),
                  (DROPEFFECT)DROPEFFECT_NONE);
        EXPECT_EQ(m_target.m_strLog, CString());
        SetLeftButton(FALSE);
    }
}

} // namespace
