// Fields of the semicolon-separated tables the program writes and reads. A field holding a
// separator, a quote or a line break is put in quotes, its quotes doubled, as spreadsheets
// write and read them; a line break inside quotes belongs to the field, not to the table.
#pragma once

#include <vector>

#include "AfxColl.h"
#include "AfxString.h"

// The field as the table holds it. Its line breaks, whatever their form, become the "\n"
// that text files end their lines with.
CString CsvField(const CString& strText);

// The fields of one record; a record without separators is one field, an empty record one
// empty field. A line break inside a quoted field is given back as "\r\n".
void SplitCsvLine(const CString& strLine, CStringArray& fields);

// The records of a table whose lines end in "\n": its lines, except that a line end inside
// a quoted field continues the record. nLines receives, per record, the number (from 1) of
// the line it starts on.
void SplitCsvRecords(const CString& strText, CStringArray& records, std::vector<int>& nLines);
