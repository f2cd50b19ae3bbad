// Whole text files as the program's exports write them and its imports read them. A file is
// written in the ANSI code page when every character of it has a place there, and otherwise
// in UTF-8 with its byte-order sign, so that no character is lost or replaced by another.
#pragma once

#include <windows.h>

#include "AfxString.h"

// Writes the text with CR LF line ends in place of its "\n", whole or not at all. FALSE, with
// the system's error, when the file cannot be written; it then holds what it held before.
BOOL WriteTextFile(LPCTSTR lpszPath, const CString& strText, DWORD* pdwError = NULL);

// Reads a whole text file: UTF-16 or UTF-8 when it starts with their byte-order sign or is
// valid UTF-8, the ANSI code page otherwise. CR LF and lone CRs become "\n". FALSE, with the
// system's error, when the file cannot be read.
BOOL ReadTextFile(LPCTSTR lpszPath, CString& strText, DWORD* pdwError = NULL);

// TRUE when the ANSI code page holds every character of the text as it is.
BOOL FitsAnsiCodePage(const CString& strText);
