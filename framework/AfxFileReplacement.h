// A file written whole or not at all. Begin makes a new, empty file in the target's own
// folder; the writer fills it by any means (the framework's file, or a native library
// through the file's Linux path); Commit flushes it to the disk and puts it in the target's
// place in one step. Until then the target keeps what it held, whatever fails on the way.
// A target that is a link stays one (the file it leads to is replaced), and the new file
// takes the permissions of the file it replaces.
#pragma once

#include <windows.h>

#include "AfxString.h"

class CFileReplacement
{
public:
    CFileReplacement();
    ~CFileReplacement();   // a new file never committed is removed

    // NO_ERROR, or the system's error: the target's folder is missing or cannot be written
    // to, or the target is read-only.
    DWORD Begin(LPCTSTR lpszTarget);
    // Where the writer writes. It ends in the target's extension, which picture writers
    // choose their format by.
    const CString& GetWorkPath() const { return m_strWork; }
    // NO_ERROR once the target holds the new file; otherwise the system's error, with the
    // new file removed and the target as it was.
    DWORD Commit();
    // Removes the new file; the target stays as it was.
    void Abort();

private:
    CString m_strTarget;   // the file replaced: the target itself or the file its link leads to
    CString m_strWork;

    CFileReplacement(const CFileReplacement&) = delete;
    void operator=(const CFileReplacement&) = delete;
};

// Writes the bytes as the file's whole content, whole or not at all: NO_ERROR, or the
// system's error with the file as it was.
DWORD AfxWriteWholeFile(LPCTSTR lpszPath, const void* pData, size_t nSize);

// NO_ERROR when the file at the path could be written: a writer that makes its content at
// length first learns now whether it can be written at all. Nothing is left behind.
DWORD AfxCheckWritable(LPCTSTR lpszPath);
