#include "CsvText.h"

namespace
{
const WCHAR kSeparator = L';';
const WCHAR kQuote = L'"';
}   // namespace

CString CsvField(const CString& strText)
{
    if (strText.FindOneOf(L";\"\r\n") < 0)
        return strText;
    CString strField = strText;
    strField.Replace(L"\r\n", L"\n");
    strField.Replace(L'\r', L'\n');
    strField.Replace(L"\"", L"\"\"");
    return L"\"" + strField + L"\"";
}

void SplitCsvLine(const CString& strLine, CStringArray& fields)
{
    fields.RemoveAll();
    CString strField;
    BOOL bQuoted = FALSE;
    const int nLength = strLine.GetLength();
    for (int i = 0; i < nLength; i++)
    {
        const WCHAR ch = strLine[i];
        if (bQuoted)
        {
            if (ch == L'\n' && (i == 0 || strLine[i - 1] != L'\r'))
                strField += L"\r\n";
            else if (ch != kQuote)
                strField += ch;
            else if (i + 1 < nLength && strLine[i + 1] == kQuote)
                strField += strLine[++i];
            else
                bQuoted = FALSE;
        }
        else if (ch == kQuote && strField.IsEmpty())
            bQuoted = TRUE;
        else if (ch == kSeparator)
        {
            fields.Add(strField);
            strField.Empty();
        }
        else
            strField += ch;
    }
    fields.Add(strField);
}

void SplitCsvRecords(const CString& strText, CStringArray& records, std::vector<int>& nLines)
{
    records.RemoveAll();
    nLines.clear();
    // The quotes are followed as SplitCsvLine reads them: a quote opens a quoted field only
    // where the field has nothing yet.
    BOOL bQuoted = FALSE;
    BOOL bFieldEmpty = TRUE;
    int nLine = 1;
    int iStart = 0;
    int nStartLine = 1;
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; i++)
    {
        const WCHAR ch = strText[i];
        if (ch == L'\n')
            nLine++;
        if (bQuoted)
        {
            if (ch != kQuote)
                bFieldEmpty = FALSE;
            else if (i + 1 < nLength && strText[i + 1] == kQuote)
            {
                bFieldEmpty = FALSE;
                i++;
            }
            else
                bQuoted = FALSE;
        }
        else if (ch == L'\n')
        {
            records.Add(strText.Mid(iStart, i - iStart));
            nLines.push_back(nStartLine);
            iStart = i + 1;
            nStartLine = nLine;
            bFieldEmpty = TRUE;
        }
        else if (ch == kQuote && bFieldEmpty)
            bQuoted = TRUE;
        else
            bFieldEmpty = ch == kSeparator;
    }
    if (iStart < nLength)
    {
        records.Add(strText.Mid(iStart));
        nLines.push_back(nStartLine);
    }
}
