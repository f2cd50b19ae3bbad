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
            if (ch != kQuote)
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
