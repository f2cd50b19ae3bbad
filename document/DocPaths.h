// File names of the document: where a name starts in a path, and the path without its
// extension.
#pragma once

#include "AfxString.h"

// Index of the first character of the file name in a path.
int FileNameStart(const CString& strPath);

// The path without its extension. Only a "." inside the file name counts, and not one in its
// first place: "C:\a.b\name" and ".name" have none.
CString CutExtension(const CString& strPath);

// The two paths name the same file (full paths, case ignored).
BOOL IsSameFile(const CString& strFirst, const CString& strSecond);

// Both files can be read and hold the same bytes.
BOOL HaveSameContents(const CString& strFirst, const CString& strSecond);

// A name a save may write without replacing another file: the path itself when no file is
// there or when it is strOwnFile, else the first free "name (n).ext" beside it.
CString FreeFileName(const CString& strPath, const CString& strOwnFile);

// Creates the folder (a path ending in a backslash or not) and the folders above it that are
// missing: NO_ERROR when it is there afterwards, the system error otherwise.
DWORD EnsureFolder(const CString& strFolder);

// The text as a file name: characters a file name may not hold become '_', blanks and
// points at its end go, and nothing at all gives "_".
CString SafeFileName(const CString& strText);

// A file of a kind the program opens: a mosaic (".ms2", ".mos"), a tile palette (".pal") or
// a picture the picture library reads. The extension decides, case ignored.
BOOL IsProgramFileKind(const CString& strPath);
