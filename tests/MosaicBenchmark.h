// The one header through which benchmark files include Google Benchmark, seen as on Linux.
#pragma once

#include <windows.h>

#include "BeginNativeHeaders.h"
#include <benchmark/benchmark.h>
#include "EndNativeHeaders.h"

#include "AfxString.h"

// The program's data folder of the source tree (language files, palettes) as a Windows
// folder with its final backslash, for benchmarks that read the program's texts.
inline CString BenchmarkDataFolder()
{
    typedef LPWSTR(CDECL * DosNameProc)(LPCSTR);
    DosNameProc pDosName = (DosNameProc)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    CString strFolder;
    if (LPWSTR lpszDos = pDosName != NULL ? pDosName(MOSAIC_DATA_DIR) : NULL)
    {
        strFolder = lpszDos;
        HeapFree(GetProcessHeap(), 0, lpszDos);
    }
    return strFolder + L"\\";
}
