#include "Guards.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

#include <new>

namespace fuzz
{
namespace
{

// Everything the guards need at the moment they fire lives in fixed buffers: they may fire
// inside operator new, or on the watchdog thread while the reader holds the heap.
const int kPathChars = 1024;
WCHAR g_szFindings[kPathChars];
WCHAR g_szReader[64];
WCHAR g_szInput[kPathChars];
WCHAR g_szExtension[32];
char g_szReaderA[64];
volatile uint64_t g_nHash;
volatile LONG g_nActive;
volatile ULONGLONG g_nStartTick;
DWORD g_nHangMs = 10000;
size_t g_nAllocLimit = (size_t)512 << 20;
HHOOK g_hHook;
DWORD g_nReaderThread;
volatile LONG g_nBlockedWindows;
WCHAR g_szBlockedClass[64];

void AppendHex(LPWSTR psz, uint64_t value)
{
    WCHAR szHex[17];
    for (int i = 15; i >= 0; i--)
    {
        szHex[i] = L"0123456789abcdef"[value & 15];
        value >>= 4;
    }
    szHex[16] = 0;
    lstrcatW(psz, szHex);
}

const char* Narrow(LPCWSTR psz)
{
    static char szNarrow[kPathChars * 3];
    if (WideCharToMultiByte(CP_UTF8, 0, psz, -1, szNarrow, sizeof(szNarrow), NULL, NULL) == 0)
        szNarrow[0] = 0;
    return szNarrow;
}

// The finding's path in szTarget; false when there is nothing to save or it failed.
bool SaveFindingTo(LPCWSTR lpszKind, LPWSTR szTarget)
{
    szTarget[0] = 0;
    if (g_szInput[0] == 0 || g_szFindings[0] == 0)
        return false;
    lstrcpynW(szTarget, g_szFindings, kPathChars);
    CreateDirectoryW(szTarget, NULL);
    lstrcatW(szTarget, g_szReader);
    CreateDirectoryW(szTarget, NULL);
    lstrcatW(szTarget, L"\\");
    lstrcatW(szTarget, lpszKind);
    lstrcatW(szTarget, L"-");
    AppendHex(szTarget, g_nHash);
    lstrcatW(szTarget, g_szExtension);
    return CopyFileW(g_szInput, szTarget, FALSE) != 0;
}

[[noreturn]] void EndRun(LPCWSTR lpszKind, const char* pszWhat, ExitCode code)
{
    WCHAR szTarget[kPathChars];
    const bool bSaved = g_nActive != 0 && SaveFindingTo(lpszKind, szTarget);
    fprintf(stderr, "\nfuzz: %s: %s\n", g_nActive != 0 ? g_szReaderA : "driver", pszWhat);
    if (bSaved)
        fprintf(stderr, "fuzz: input saved as %s\n", Narrow(szTarget));
    else if (g_szInput[0] != 0)
        fprintf(stderr, "fuzz: the input is %s\n", Narrow(g_szInput));
    fflush(stderr);
    fflush(stdout);
    // At once: the reader's thread may hold locks that an orderly exit would wait for.
    TerminateProcess(GetCurrentProcess(), (UINT)code);
    for (;;)
        Sleep(1000);
}

DWORD WINAPI Watchdog(LPVOID)
{
    for (;;)
    {
        Sleep(100);
        if (g_nActive == 0)
            continue;
        const ULONGLONG nStart = g_nStartTick;
        if (g_nActive != 0 && GetTickCount64() - nStart > g_nHangMs)
        {
            char szWhat[96];
            snprintf(szWhat, sizeof(szWhat), "one input ran longer than %lu ms",
                     (unsigned long)g_nHangMs);
            EndRun(L"hang", szWhat, ExitHang);
        }
    }
}

LRESULT CALLBACK WindowHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND)
    {
        if (InterlockedIncrement(&g_nBlockedWindows) == 1)
        {
            const CBT_CREATEWNDW* pCreate = (const CBT_CREATEWNDW*)lParam;
            LPCWSTR lpszClass = pCreate->lpcs->lpszClass;
            if (IS_INTRESOURCE(lpszClass))
                wsprintfW(g_szBlockedClass, L"#%u", (unsigned)(ULONG_PTR)lpszClass);
            else
                lstrcpynW(g_szBlockedClass, lpszClass, 64);
        }
        return 1;   // the window is not created
    }
    return CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

bool IsCrash(DWORD nCode)
{
    switch (nCode)
    {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case 0xC0000409:   // the C library's stack protector
    case 0x80000101:   // Wine's form of abort(), an assertion or std::terminate
        return true;
    }
    return false;
}

// A crash of the reader's thread is reported with the input that caused it, and ends the
// run. It is caught first in line: a fault passing up through the C++ frames of a Winelib
// program sends Wine's unwinder round in circles, and Wine's own handler would start its
// debugger, which waits on a window of its own when there is a display.
LONG CALLBACK CrashHandler(EXCEPTION_POINTERS* pInfo)
{
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    if (g_nActive == 0 || GetCurrentThreadId() != g_nReaderThread ||
        !IsCrash(pRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    const void* pAddress = pRecord->ExceptionAddress;
    char szWhat[512];
    Dl_info info;
    if (dladdr(pAddress, &info) != 0 && info.dli_fname != NULL)
        snprintf(szWhat, sizeof(szWhat),
                 "crash: exception %08x at %p (%s); addr2line -f -C -e %s 0x%zx names the line",
                 (unsigned)pRecord->ExceptionCode, pAddress,
                 info.dli_sname != NULL ? info.dli_sname : "?", info.dli_fname,
                 (size_t)((const char*)pAddress - (const char*)info.dli_fbase));
    else
        snprintf(szWhat, sizeof(szWhat), "crash: exception %08x at %p",
                 (unsigned)pRecord->ExceptionCode, pAddress);
    EndRun(L"crash", szWhat, ExitCrash);
}

void CheckAllocation(size_t nBytes)
{
    if (nBytes <= g_nAllocLimit)
        return;
    char szWhat[128];
    snprintf(szWhat, sizeof(szWhat), "operator new of %zu bytes, above the limit of %zu", nBytes,
             g_nAllocLimit);
    EndRun(L"alloc", szWhat, ExitAllocation);
}

}   // namespace

void StartGuards(const CString& strFindings, DWORD nHangMs, size_t nAllocLimit)
{
    lstrcpynW(g_szFindings, strFindings, kPathChars);
    g_nHangMs = nHangMs;
    g_nAllocLimit = nAllocLimit;
    g_nReaderThread = GetCurrentThreadId();
    AddVectoredExceptionHandler(1, CrashHandler);
    g_hHook = SetWindowsHookExW(WH_CBT, WindowHook, NULL, GetCurrentThreadId());
    if (g_hHook == NULL)
        fprintf(stderr, "fuzz: the window hook could not be set (%u)\n", (unsigned)GetLastError());
    HANDLE hThread = CreateThread(NULL, 0, Watchdog, NULL, 0, NULL);
    if (hThread != NULL)
        CloseHandle(hThread);
}

void EnterInput(const char* pszReader, const CString& strInputPath, uint64_t nHash)
{
    lstrcpynA(g_szReaderA, pszReader, sizeof(g_szReaderA));
    MultiByteToWideChar(CP_UTF8, 0, pszReader, -1, g_szReader, 64);
    lstrcpynW(g_szInput, strInputPath, kPathChars);
    const int nDot = strInputPath.ReverseFind(L'.');
    const int nSlash = strInputPath.ReverseFind(L'\\');
    lstrcpynW(g_szExtension, nDot > nSlash ? strInputPath.GetString() + nDot : L".bin", 32);
    g_nHash = nHash;
    g_nStartTick = GetTickCount64();
    InterlockedExchange(&g_nActive, 1);
}

void LeaveInput()
{
    InterlockedExchange(&g_nActive, 0);
}

int TakeBlockedWindows(CString& strFirstClass)
{
    const int nBlocked = (int)InterlockedExchange(&g_nBlockedWindows, 0);
    strFirstClass = nBlocked > 0 ? CString(g_szBlockedClass) : CString();
    return nBlocked;
}

CString SaveFinding(LPCWSTR lpszKind)
{
    WCHAR szTarget[kPathChars];
    if (!SaveFindingTo(lpszKind, szTarget))
        return CString();
    return CString(szTarget);
}

}   // namespace fuzz

// Every request goes through the limit. The blocks come from malloc, as those of the C++
// library's own operator new do, so that its operator delete could free them too.
void* operator new(size_t nBytes)
{
    fuzz::CheckAllocation(nBytes);
    void* p = malloc(nBytes != 0 ? nBytes : 1);
    if (p == NULL)
        throw std::bad_alloc();
    return p;
}

void* operator new[](size_t nBytes)
{
    return operator new(nBytes);
}

void* operator new(size_t nBytes, const std::nothrow_t&) noexcept
{
    fuzz::CheckAllocation(nBytes);
    return malloc(nBytes != 0 ? nBytes : 1);
}

void* operator new[](size_t nBytes, const std::nothrow_t& tag) noexcept
{
    return operator new(nBytes, tag);
}

void operator delete(void* p) noexcept
{
    free(p);
}

void operator delete[](void* p) noexcept
{
    free(p);
}

void operator delete(void* p, size_t) noexcept
{
    free(p);
}

void operator delete[](void* p, size_t) noexcept
{
    free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    free(p);
}
