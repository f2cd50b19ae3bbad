// Fields of the semicolon-separated tables the program writes and reads. A field holding a
// separator, a quote or a line end is put in quotes, its quotes doubled, as spreadsheets
// write and read them.
#pragma once

#include "AfxColl.h"
#include "AfxString.h"

CString CsvField(const CString& strText);

// The fields of one line; a line without separators is one field, an empty line one empty
// field.
void SplitCsvLine(const CString& strLine, CStringArray& fields);
