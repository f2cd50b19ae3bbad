// Start-up of the program to its main window, beside Wine's own notepad started the same
// way in the same prefix: the time from starting the process to a visible main window.
#include "MosaicBenchmark.h"

#include <set>

#include "AfxString.h"

namespace
{

const DWORD kPollMs = 2;
const DWORD kGiveUpMs = 60000;

struct WindowSearch
{
    const std::set<HWND>* pBefore;
    LPCWSTR lpszTitleEnd;
    HWND hFound;
};

BOOL CALLBACK FindNewWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch* pSearch = (WindowSearch*)lParam;
    if (!IsWindowVisible(hWnd) || pSearch->pBefore->count(hWnd) != 0)
        return TRUE;
    WCHAR szTitle[256] = {};
    const int nLength = GetWindowTextW(hWnd, szTitle, 256);
    const int nEnd = lstrlenW(pSearch->lpszTitleEnd);
    if (nLength >= nEnd && lstrcmpW(szTitle + nLength - nEnd, pSearch->lpszTitleEnd) == 0)
    {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    ((std::set<HWND>*)lParam)->insert(hWnd);
    return TRUE;
}

// Seconds from the start of the command to a new visible window whose title ends so; the
// window is closed again. A negative result: it never showed.
double TimeToWindow(const CString& strCommand, LPCWSTR lpszTitleEnd)
{
    std::set<HWND> before;
    EnumWindows(CollectWindow, (LPARAM)&before);
    CString strLine = strCommand;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(NULL, strLine.GetBuffer(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    WindowSearch search = {&before, lpszTitleEnd, NULL};
    const DWORD dwStart = GetTickCount();
    while (search.hFound == NULL && GetTickCount() - dwStart < kGiveUpMs)
    {
        EnumWindows(FindNewWindow, (LPARAM)&search);
        if (search.hFound == NULL)
            Sleep(kPollMs);
    }
    QueryPerformanceCounter(&now);
    if (search.hFound == NULL)
        return -1;
    PostMessageW(search.hFound, WM_CLOSE, 0, 0);
    const DWORD dwClose = GetTickCount();
    while (IsWindow(search.hFound) && GetTickCount() - dwClose < kGiveUpMs)
        Sleep(20);
    return (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

void RunStart(benchmark::State& state, const CString& strCommand, LPCWSTR lpszTitleEnd)
{
    for (auto _ : state)
    {
        const double dSeconds = TimeToWindow(strCommand, lpszTitleEnd);
        if (dSeconds < 0)
        {
            state.SkipWithError("the main window did not show");
            break;
        }
        state.SetIterationTime(dSeconds);
    }
}

void BM_StartProgram(benchmark::State& state)
{
    RunStart(state, CString(L"start.exe /unix \"") + CString(MOSAIC_PROGRAM) + L"\"",
             L" - Mosaic");
}

void BM_StartNotepad(benchmark::State& state)
{
    RunStart(state, L"start.exe notepad.exe", L" - Notepad");
}

}   // namespace

BENCHMARK(BM_StartNotepad)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartProgram)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
