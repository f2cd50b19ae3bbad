// A million SendMessage calls to a mouse handler found through the message map, against
// the same calls to a plain window procedure. The difference is the cost of the framework's
// dispatch: the handle map lookup, the map lookup (cached) and the decoding of the arguments.
// A class three levels below its handler's map, and a command routed to a document through
// OnCmdMsg, show the cost of deeper lookups.
#include "MosaicBenchmark.h"

#include "AfxWin.h"

namespace {

const int64_t kCalls = 1000000;

LONG g_nPlainCalls = 0;

LRESULT CALLBACK PlainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE)
    {
        g_nPlainCalls += (short)LOWORD(lParam) + (LONG)wParam;
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

class CMappedWnd : public CWnd
{
public:
    LONG m_nCalls = 0;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) { m_nCalls += point.x + (LONG)nFlags; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMappedWnd, CWnd)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

// Three classes whose maps hold other messages sit between the window and its handler.
class CLevel1 : public CMappedWnd
{
protected:
    afx_msg void OnLButtonDown(UINT, CPoint) {}
    afx_msg void OnLButtonUp(UINT, CPoint) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel1, CMappedWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

class CLevel2 : public CLevel1
{
protected:
    afx_msg void OnRButtonDown(UINT, CPoint) {}
    afx_msg void OnKeyDown(UINT, UINT, UINT) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel2, CLevel1)
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CLevel3 : public CLevel2
{
protected:
    afx_msg void OnChar(UINT, UINT, UINT) {}
    afx_msg void OnKeyUp(UINT, UINT, UINT) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevel3, CLevel2)
    ON_WM_CHAR()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

const UINT ID_BENCH_COMMAND = 40000;

class CBenchDoc : public CCmdTarget
{
public:
    LONG m_nCommands = 0;

protected:
    afx_msg void OnCommand() { m_nCommands++; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBenchDoc, CCmdTarget)
    ON_COMMAND(ID_BENCH_COMMAND, OnCommand)
END_MESSAGE_MAP()

// A view: itself, then its document.
class CBenchView : public CMappedWnd
{
public:
    CBenchDoc m_doc;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ||
               m_doc.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

void BM_PlainWindowProcedure(benchmark::State& state)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainWndProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"MosaicPlainBenchWindow";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                wc.hInstance, NULL);
    for (auto _ : state)
        SendMessageW(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 4));
    benchmark::DoNotOptimize(g_nPlainCalls);
    DestroyWindow(hWnd);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainWindowProcedure)->Iterations(kCalls)->Unit(benchmark::kNanosecond);

template <class TWnd>
void BM_MessageMapHandler(benchmark::State& state)
{
    TWnd wnd;
    if (!wnd.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL))
    {
        state.SkipWithError("cannot create the window");
        return;
    }
    for (auto _ : state)
        wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 4));
    if (wnd.m_nCalls != (LONG)(state.iterations() * (3 + MK_LBUTTON)))
        state.SkipWithError("the handler missed calls");
    wnd.DestroyWindow();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_TEMPLATE(BM_MessageMapHandler, CMappedWnd)->Iterations(kCalls)->Unit(benchmark::kNanosecond);
BENCHMARK_TEMPLATE(BM_MessageMapHandler, CLevel3)->Iterations(kCalls)->Unit(benchmark::kNanosecond);

void BM_CommandRoutedToDocument(benchmark::State& state)
{
    CBenchView view;
    if (!view.CreateEx(0, NULL, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL))
    {
        state.SkipWithError("cannot create the window");
        return;
    }
    for (auto _ : state)
        view.SendMessage(WM_COMMAND, ID_BENCH_COMMAND, 0);
    if (view.m_doc.m_nCommands != (LONG)state.iterations())
        state.SkipWithError("the handler missed calls");
    view.DestroyWindow();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CommandRoutedToDocument)->Iterations(kCalls)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
