// What ends a run from outside the reader: a watchdog for inputs that run too long, a limit
// on single allocations (the driver replaces the global operator new) and a crash report;
// each saves the current input as a finding first. A hook keeps any window from opening.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "AfxString.h"

namespace fuzz
{

enum ExitCode
{
    ExitClean = 0,
    ExitFault = 1,      // a reader failed a check; the findings name the inputs
    ExitUsage = 2,
    ExitHang = 3,
    ExitAllocation = 4,
    ExitCrash = 5
};

// Starts the watchdog, the crash handler and the window hook, on the thread that will run
// the readers; findings go to strFindings\<reader>\.
void StartGuards(const CString& strFindings, DWORD nHangMs, size_t nAllocLimit);

// Around one input: the reader's name, the file holding the input, and its hash.
void EnterInput(const char* pszReader, const CString& strInputPath, uint64_t nHash);
void LeaveInput();

// Windows that the hook kept from opening since the last call, and the class of the first.
int TakeBlockedWindows(CString& strFirstClass);

// Copies the current input to strFindings\<reader>\<kind>-<hash><extension> and returns
// that path (empty when there is no current input or the copy failed).
CString SaveFinding(LPCWSTR lpszKind);

}   // namespace fuzz
