// The language texts: every visible text of the program is looked up by number in the
// language file of the interface language ("Text_Mosaic-<suffix>.fil" beside the program),
// with the English file filling gaps and the string table as the last resort.
#pragma once

#include <windows.h>

#include "AfxString.h"

// Numbers above this are never looked up.
const UINT LANG_TEXT_MAX_ID = 32000;

// The text of a number; empty when neither the language files nor the string table have it.
// Loading the table also sets the language of the framework's own resources (French for
// French, English otherwise).
CString GetLangText(UINT nTextId);

// The interface language as a Windows language id: the value "ThreadLocal" (hexadecimal
// text) under HKEY_CURRENT_USER\Software\Orbalith, or the thread locale when there is none.
int ReadLanguageId();
// Stores the interface language where ReadLanguageId finds it (and under Software\Mosaic as
// well). The caller then empties the table with ClearLangTexts. FALSE when a key could not
// be written.
BOOL WriteLanguageId(int nLanguageId);
// The primary language of ReadLanguageId with the default sublanguage.
int GetPrimaryLanguageId();

// Empties the table, so that the next lookup loads the files again.
void ClearLangTexts();

// The folder the language files are read from, ending in a backslash; an empty folder (the
// default) means the program's folder. Setting it empties the table.
void SetLangTextFolder(LPCTSTR lpszFolder);
// The language file that would be read in that folder for that language id: the first that
// exists of the "LOC" file, the file of the id, the file of its primary language (ids above
// 1279 only) and the "409" file, which is named even when it does not exist.
CString GetLangTextFilePath(LPCTSTR lpszFolder, int nLanguageId);

// Comparison of two UINT text numbers for bsearch.
int CompareTextIds(const void* pFirst, const void* pSecond);

// Index -2: the text before the first separator; -3: the text after it (both empty when the
// separator does not occur); 0 and up: that field of the source split at the separator;
// -1: the characters of the source that occur in the separator string.
void StrGetField(CString& strField, LPCTSTR lpszSource, int nIndex, LPCTSTR lpszSeparator);
// Replaces every occurrence of the pattern, left to right, without rescanning replacements.
void StrReplaceAll(CString& strText, LPCTSTR lpszPattern, LPCTSTR lpszReplacement);
