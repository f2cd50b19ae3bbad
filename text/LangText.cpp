#include "LangText.h"

#include <stdlib.h>

#include "AfxColl.h"
#include "AfxPath.h"
#include "AfxResource.h"
#include "StdioFileEx.h"

namespace
{
const WCHAR kFilePrefix[] = L"Text_Mosaic-";
const WCHAR kLanguageValue[] = L"ThreadLocal";
const WCHAR kLanguageKey[] = L"Software\\Orbalith";
const WCHAR kLanguageKeyOld[] = L"Software\\Mosaic";
// Aliases ("##n") are followed this deep; a longer chain is taken for a loop.
const int kMaxAliasDepth = 16;

// The table: ascending numbers and their texts, entry i of one belonging to entry i of the
// other. Function statics, so that lookups from other static objects find them built.
CUIntArray& TextIds()
{
    static CUIntArray ids;
    return ids;
}

CStringArray& Texts()
{
    static CStringArray texts;
    return texts;
}

// Set once a load has been tried, so that a failed or empty load is not retried on every
// lookup; ClearLangTexts resets it.
bool& TableLoaded()
{
    static bool bLoaded = false;
    return bLoaded;
}

CString& TextFolder()
{
    static CString folder;
    return folder;
}

bool IsBlank(WCHAR ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

// A decimal number as the C runtime reads one: leading blanks, an optional sign, then
// digits up to the first other character; no digits give 0.
int ParseDecimal(LPCWSTR p)
{
    while (IsBlank(*p))
        ++p;
    bool bNegative = false;
    if (*p == L'+' || *p == L'-')
        bNegative = *p++ == L'-';
    long long n = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if (n <= 0x7FFFFFFF)
            n = n * 10 + (*p - L'0');
    if (n > 0x7FFFFFFF)
        n = 0x7FFFFFFF;
    return (int)(bNegative ? -n : n);
}

// A hexadecimal number as "%x" reads one; FALSE when there are no digits.
BOOL ParseHex(LPCWSTR p, int& nValue)
{
    while (IsBlank(*p))
        ++p;
    bool bNegative = false;
    if (*p == L'+' || *p == L'-')
        bNegative = *p++ == L'-';
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X'))
        p += 2;
    unsigned int n = 0;
    bool bDigits = false;
    for (;; ++p)
    {
        int d;
        if (*p >= L'0' && *p <= L'9')
            d = *p - L'0';
        else if (*p >= L'a' && *p <= L'f')
            d = *p - L'a' + 10;
        else if (*p >= L'A' && *p <= L'F')
            d = *p - L'A' + 10;
        else
            break;
        n = n * 16 + (unsigned int)d;
        bDigits = true;
    }
    if (!bDigits)
        return FALSE;
    nValue = (int)(bNegative ? 0u - n : n);
    return TRUE;
}

void ReplaceEscapes(CString& strText)
{
    StrReplaceAll(strText, L"\\n", L"\n");
    StrReplaceAll(strText, L"\\r", L"\r");
    StrReplaceAll(strText, L"\\t", L"\t");
    StrReplaceAll(strText, L"\\\\", L"\\");
}

// "number;text". A line without ";", or whose number is not one that can be looked up, is
// not an entry.
BOOL ParseLine(const CString& strLine, UINT& nId, CString& strText)
{
    int nSeparator = strLine.Find(L';');
    if (nSeparator < 0)
        return FALSE;
    int n = ParseDecimal(strLine.Left(nSeparator));
    if (n <= 0 || (UINT)n > LANG_TEXT_MAX_ID)
        return FALSE;
    nId = (UINT)n;
    strText = strLine.Mid(nSeparator + 1);
    ReplaceEscapes(strText);
    return TRUE;
}

UINT LastTextId()
{
    CUIntArray& ids = TextIds();
    return ids.GetSize() > 0 ? ids[ids.GetSize() - 1] : 0;
}

void AddText(UINT nId, const CString& strText)
{
    TextIds().Add(nId);
    Texts().Add(strText);
}

// Fills the table from the chosen language file, with the entries of the English file that
// fall before the chosen file's first number or between two of its numbers.
void LoadLangTexts()
{
    TableLoaded() = true;
    // The framework's own texts (its file dialogs' titles, its messages, the tool tips) take
    // the same language: French for French, English for every other language.
    AfxSetResourceLanguage(GetPrimaryLanguageId() == MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)
                               ? MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)
                               : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    CString strFolder = TextFolder().IsEmpty() ? AfxGetProgramFolder() : TextFolder();
    CString strChosen = GetLangTextFilePath(strFolder, ReadLanguageId());
    CString strEnglish;
    strEnglish.Format(L"%s%s409.fil", strFolder.GetString(), kFilePrefix);
    BOOL bMerge = strChosen.CompareNoCase(strEnglish) != 0;

    const UINT nFlags = CFile::modeRead | CFile::shareDenyNone | CFile::typeText;
    CStdioFileEx fileChosen;
    CFileException* pError = new CFileException;
    if (!fileChosen.Open(strChosen, nFlags, pError))
    {
        pError->ReportError();
        pError->Delete();
        return;
    }
    pError->Delete();

    // The English file only fills gaps: without it the chosen file is read alone.
    CStdioFileEx fileEnglish;
    if (bMerge)
    {
        CFileException ignored;
        bMerge = fileEnglish.Open(strEnglish, nFlags, &ignored);
    }

    try
    {
        CString strEnglishLine;
        BOOL bEnglishLine = bMerge && fileEnglish.ReadString(strEnglishLine);
        CString strLine;
        while (fileChosen.ReadString(strLine))
        {
            UINT nId;
            CString strText;
            // Numbers must ascend for the search: a line out of order is skipped.
            if (!ParseLine(strLine, nId, strText) || nId <= LastTextId())
                continue;
            while (bEnglishLine)
            {
                UINT nEnglishId;
                CString strEnglishText;
                if (ParseLine(strEnglishLine, nEnglishId, strEnglishText))
                {
                    if (nEnglishId >= nId)
                        break;
                    if (nEnglishId > LastTextId())
                        AddText(nEnglishId, strEnglishText);
                }
                bEnglishLine = fileEnglish.ReadString(strEnglishLine);
            }
            AddText(nId, strText);
        }
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
    }
    fileChosen.Abort();
    fileEnglish.Abort();
}

CString LookUp(UINT nTextId, int nDepth)
{
    if (nTextId > LANG_TEXT_MAX_ID || nDepth > kMaxAliasDepth)
        return CString();
    if (!TableLoaded())
        LoadLangTexts();

    CUIntArray& ids = TextIds();
    const UINT* pFound = (const UINT*)bsearch(&nTextId, ids.GetData(), (size_t)ids.GetSize(),
                                              sizeof(UINT), CompareTextIds);
    if (pFound != NULL)
    {
        INT_PTR nIndex = pFound - ids.GetData();
        if (nIndex < Texts().GetSize())
        {
            const CString& strText = Texts()[nIndex];
            if (strText.GetLength() >= 2 && strText[0] == L'#' && strText[1] == L'#')
                return LookUp((UINT)ParseDecimal(strText.GetString() + 2), nDepth + 1);
            return strText;
        }
    }
    CString strResource;
    if (!strResource.LoadString(nTextId))
        strResource.Empty();
    return strResource;
}

BOOL WriteLanguageValue(LPCWSTR lpszKey, const CString& strValue)
{
    HKEY hKey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, lpszKey, 0, const_cast<LPWSTR>(L"String"),
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &hKey,
                        NULL) != ERROR_SUCCESS)
        return FALSE;
    LONG nResult = RegSetValueExW(hKey, kLanguageValue, 0, REG_SZ,
                                  (const BYTE*)strValue.GetString(),
                                  (DWORD)(strValue.GetLength() + 1) * sizeof(WCHAR));
    RegFlushKey(hKey);
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS;
}
}

CString GetLangText(UINT nTextId)
{
    return LookUp(nTextId, 0);
}

int ReadLanguageId()
{
    HKEY hKey;
    int nId = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kLanguageKey, 0, const_cast<LPWSTR>(L"String"),
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &hKey,
                        NULL) == ERROR_SUCCESS)
    {
        WCHAR szValue[100 + 1] = {0};
        DWORD dwType = 0;
        DWORD dwSize = 100 * sizeof(WCHAR);
        LONG nResult = RegQueryValueExW(hKey, kLanguageValue, NULL, &dwType, (BYTE*)szValue,
                                        &dwSize);
        RegCloseKey(hKey);
        if (nResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ))
        {
            szValue[dwSize / sizeof(WCHAR)] = 0;
            ParseHex(szValue, nId);
        }
    }
    return nId != 0 ? nId : (int)GetThreadLocale();
}

BOOL WriteLanguageId(int nLanguageId)
{
    CString strValue;
    strValue.Format(L"%x", nLanguageId);
    BOOL bNew = WriteLanguageValue(kLanguageKey, strValue);
    BOOL bOld = WriteLanguageValue(kLanguageKeyOld, strValue);
    return bNew && bOld;
}

int GetPrimaryLanguageId()
{
    return (ReadLanguageId() & 0x3FF) | 0x400;
}

void ClearLangTexts()
{
    TextIds().RemoveAll();
    Texts().RemoveAll();
    TableLoaded() = false;
}

void SetLangTextFolder(LPCTSTR lpszFolder)
{
    TextFolder() = lpszFolder;
    ClearLangTexts();
}

CString GetLangTextFilePath(LPCTSTR lpszFolder, int nLanguageId)
{
    CString strFolder(lpszFolder);
    CString strPath;
    auto exists = [](const CString& strFile) {
        DWORD dwAttributes = GetFileAttributesW(strFile);
        return dwAttributes != INVALID_FILE_ATTRIBUTES &&
               (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    };

    strPath.Format(L"%s%sLOC.fil", strFolder.GetString(), kFilePrefix);
    if (exists(strPath))
        return strPath;
    strPath.Format(L"%s%s%X.fil", strFolder.GetString(), kFilePrefix, nLanguageId);
    if (exists(strPath))
        return strPath;
    if (nLanguageId > 1279)
    {
        strPath.Format(L"%s%s%X.fil", strFolder.GetString(), kFilePrefix,
                       (nLanguageId & 0x3FF) | 0x400);
        if (exists(strPath))
            return strPath;
    }
    strPath.Format(L"%s%s409.fil", strFolder.GetString(), kFilePrefix);
    return strPath;
}

int CompareTextIds(const void* pFirst, const void* pSecond)
{
    UINT nFirst = *(const UINT*)pFirst;
    UINT nSecond = *(const UINT*)pSecond;
    return nFirst < nSecond ? -1 : (nFirst > nSecond ? 1 : 0);
}

void StrGetField(CString& strField, LPCTSTR lpszSource, int nIndex, LPCTSTR lpszSeparator)
{
    CString strSource(lpszSource);
    CString strSeparator(lpszSeparator);
    int nSeparator = strSeparator.GetLength();
    strField.Empty();

    if (nIndex == -1)
    {
        for (int i = 0; i < strSource.GetLength(); ++i)
            if (strSeparator.Find(strSource[i]) >= 0)
                strField += strSource[i];
        return;
    }
    if (nIndex == -2 || nIndex == -3)
    {
        int nFound = nSeparator > 0 ? strSource.Find(strSeparator) : -1;
        if (nFound >= 0)
            strField = nIndex == -2 ? strSource.Left(nFound)
                                    : strSource.Mid(nFound + nSeparator);
        return;
    }
    if (nIndex < 0)
        return;
    if (nSeparator == 0)
    {
        if (nIndex == 0)
            strField = strSource;
        return;
    }
    int nStart = 0;
    for (int i = 0;; ++i)
    {
        int nFound = strSource.Find(strSeparator, nStart);
        if (i == nIndex)
        {
            strField = nFound < 0 ? strSource.Mid(nStart)
                                  : strSource.Mid(nStart, nFound - nStart);
            return;
        }
        if (nFound < 0)
            return;
        nStart = nFound + nSeparator;
    }
}

void StrReplaceAll(CString& strText, LPCTSTR lpszPattern, LPCTSTR lpszReplacement)
{
    CString strPattern(lpszPattern);
    if (strPattern.IsEmpty())
        return;
    CString strResult;
    int nStart = 0;
    for (int nFound = strText.Find(strPattern); nFound >= 0;
         nFound = strText.Find(strPattern, nStart))
    {
        strResult += strText.Mid(nStart, nFound - nStart);
        strResult += lpszReplacement;
        nStart = nFound + strPattern.GetLength();
    }
    strResult += strText.Mid(nStart);
    strText = strResult;
}
