// Text and semicolon-separated files read back by Python (its csv module for the tables), as
// a user's script would read them: a file with the UTF-8 byte-order sign as UTF-8, any other
// in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AfxString.h"
#include "output/PdfChecks.h"

typedef std::vector<std::vector<CString>> CsvRows;

inline CString FromUtf8(const std::string& text)
{
    if (text.empty())
        return CString();
    const int nChars = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), NULL, 0);
    std::vector<WCHAR> chars((size_t)nChars);
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), chars.data(), nChars);
    return CString(chars.data(), nChars);
}

// The rows, each with its fields; an empty line is a row without fields. A file Python
// cannot read gives one row holding its complaint.
inline CsvRows ReadCsvWithPython(const CString& strPath)
{
    static const char kScript[] =
        "import csv, io, sys\n"
        "data = open(sys.argv[1], 'rb').read()\n"
        "enc = 'utf-8-sig' if data.startswith(b'\\xef\\xbb\\xbf') else sys.argv[2]\n"
        "rows = csv.reader(io.StringIO(data.decode(enc), newline=''), delimiter=';')\n"
        "out = '\\x1e'.join('\\x1f'.join(r) for r in rows)\n"
        "sys.stdout.buffer.write(out.encode('utf-8'))\n";
    const std::string command = "python3 -c \"$MOSAIC_CSV_SCRIPT\" " + Quoted(UnixPath(strPath)) +
                                " cp" + std::to_string(GetACP()) + " 2>&1";
    setenv("MOSAIC_CSV_SCRIPT", kScript, 1);
    const std::string out = RunCommand(command);
    CsvRows rows;
    size_t start = 0;
    while (start <= out.size())
    {
        size_t end = out.find('\x1e', start);
        if (end == std::string::npos)
            end = out.size();
        const std::string row = out.substr(start, end - start);
        std::vector<CString> fields;
        size_t fieldStart = 0;
        while (!row.empty() && fieldStart <= row.size())
        {
            size_t fieldEnd = row.find('\x1f', fieldStart);
            if (fieldEnd == std::string::npos)
                fieldEnd = row.size();
            fields.push_back(FromUtf8(row.substr(fieldStart, fieldEnd - fieldStart)));
            fieldStart = fieldEnd + 1;
        }
        rows.push_back(fields);
        start = end + 1;
    }
    return rows;
}

// A text file as Python reads it (the same encodings), line ends kept, in UTF-8.
inline std::string ReadTextWithPython(const CString& strPath)
{
    static const char kScript[] =
        "import sys\n"
        "data = open(sys.argv[1], 'rb').read()\n"
        "enc = 'utf-8-sig' if data.startswith(b'\\xef\\xbb\\xbf') else sys.argv[2]\n"
        "sys.stdout.buffer.write(data.decode(enc).encode('utf-8'))\n";
    setenv("MOSAIC_TEXT_SCRIPT", kScript, 1);
    return RunCommand("python3 -c \"$MOSAIC_TEXT_SCRIPT\" " + Quoted(UnixPath(strPath)) + " cp" +
                      std::to_string(GetACP()) + " 2>&1");
}
