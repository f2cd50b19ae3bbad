#include "XmlDoc.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "AfxException.h"
#include "AfxFile.h"
#include "AfxFileReplacement.h"

namespace
{

const int kPageRecords = 0x10000;
const int kMaxEndTag = 0x3FF;        // the end-tag length has 10 bits
const int kMaxStartTag = 0x3FFFFF;   // the start-tag length has 22 bits

bool IsAsciiLetter(WCHAR c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(WCHAR c) { return c >= '0' && c <= '9'; }
bool IsHighSurrogate(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBlank(WCHAR c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The loose name rule of references and of the parser's tokens.
bool IsLooseNameStart(WCHAR c) { return IsAsciiLetter(c) || c == '_' || c == ':' || c > 127; }
bool IsLooseNameChar(WCHAR c)
{
    return IsLooseNameStart(c) || IsDigit(c) || c == '-' || c == '.';
}

// Characters that end a tag name.
bool EndsTagName(WCHAR c)
{
    return IsBlank(c) || c == '<' || c == '>' || c == '=' || c == '\\' || c == '/' ||
           c == '?' || c == '!';
}

// The XML name rules for the names AddElem writes, so that a saved file stays well-formed.
bool IsXmlNameStart(UINT c)
{
    return (c < 128 && IsAsciiLetter((WCHAR)c)) || c == ':' || c == '_' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) ||
           (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
           (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsXmlNameChar(UINT c)
{
    return IsXmlNameStart(c) || (c < 128 && (IsDigit((WCHAR)c) || c == '-' || c == '.')) ||
           c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool IsValidElemName(const CString& strName)
{
    const int n = strName.GetLength();
    if (n == 0 || n + 3 > kMaxEndTag)
        return false;
    for (int i = 0; i < n; ++i)
    {
        UINT c = strName[i];
        if (IsHighSurrogate((WCHAR)c) && i + 1 < n && IsLowSurrogate(strName[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (strName[++i] - 0xDC00);
        if (!(i == 0 ? IsXmlNameStart(c) : IsXmlNameChar(c)))
            return false;
    }
    return true;
}

// Index of the ';' that ends a reference starting with the '&' at i, or -1.
int ReferenceEnd(LPCWSTR p, int i, int n)
{
    if (i + 1 >= n || !(p[i + 1] == '#' || IsLooseNameStart(p[i + 1])))
        return -1;
    for (int j = i + 2; j < n; ++j)
    {
        if (p[j] == ';')
            return j;
        if (!IsLooseNameChar(p[j]))
            return -1;
    }
    return -1;
}

// Appends p[i] (with its pair when it is a high surrogate) and returns the last index used;
// a character that XML cannot hold becomes '?'.
int AppendXmlChar(CString& out, LPCWSTR p, int i, int n)
{
    const WCHAR c = p[i];
    if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(p[i + 1]))
    {
        out += c;
        out += p[i + 1];
        return i + 1;
    }
    const bool bValid = c >= 0x20 ? !(IsHighSurrogate(c) || IsLowSurrogate(c) || c >= 0xFFFE)
                                  : (c == '\t' || c == '\n' || c == '\r');
    out += bValid ? c : (WCHAR)'?';
    return i;
}

CString ExceptionText(const CException* e)
{
    WCHAR szMessage[512] = {0};
    if (!e->GetErrorMessage(szMessage, ARRAYSIZE(szMessage)))
        return CString(L"Unknown error");
    CString strMessage(szMessage);
    const int nBreak = strMessage.FindOneOf(L"\r\n");
    return nBreak >= 0 ? strMessage.Left(nBreak) : strMessage;
}

bool StartsWith(LPCWSTR p, int i, int n, LPCWSTR prefix)
{
    for (int k = 0; prefix[k] != 0; ++k)
        if (i + k >= n || p[i + k] != prefix[k])
            return false;
    return true;
}

int FindFrom(LPCWSTR p, int i, int n, LPCWSTR what)
{
    for (; i < n; ++i)
        if (StartsWith(p, i, n, what))
            return i;
    return -1;
}

} // namespace

CXmlDoc::CXmlDoc()
    : m_iPosParent(0), m_iPos(0), m_iPosChild(0), m_nRecordCount(0), m_nNodeType(0),
      m_nNodeOffset(0), m_nNodeLength(0), m_nDocFlags(0), m_ppPages(NULL),
      m_nRecordCapacity(0), m_nPageCapacity(0)
{
}

CXmlDoc::~CXmlDoc()
{
    FreeRecords();
}

const CXmlDoc::ElemRecord* CXmlDoc::GetRecord(int iRecord) const
{
    if (iRecord < 0 || iRecord >= m_nRecordCount)
        return NULL;
    return &Rec(iRecord);
}

void CXmlDoc::FreeRecords()
{
    for (int p = 0; p < m_nPageCapacity; ++p)
        free(m_ppPages[p]);
    free(m_ppPages);
    m_ppPages = NULL;
    m_nPageCapacity = 0;
    m_nRecordCapacity = 0;
    m_nRecordCount = 0;
}

void CXmlDoc::GrowRecords(int nRequested)
{
    long long target = nRequested > 0 ? nRequested
                                      : (long long)m_nRecordCount + m_nRecordCount / 2;
    if (target <= m_nRecordCount)
        target = (long long)m_nRecordCount + 1;
    if (target > 0x7FFFFFFF)
        AfxThrowMemoryException();
    if (target <= m_nRecordCapacity)
        return;

    const int nPagesNeeded = (int)((target + kPageRecords - 1) / kPageRecords);
    if (nPagesNeeded > m_nPageCapacity)
    {
        const int nNewCapacity = nPagesNeeded * 2 + 4;
        ElemRecord** ppPages =
            (ElemRecord**)realloc(m_ppPages, sizeof(ElemRecord*) * (size_t)nNewCapacity);
        if (ppPages == NULL)
            AfxThrowMemoryException();
        for (int p = m_nPageCapacity; p < nNewCapacity; ++p)
            ppPages[p] = NULL;
        m_ppPages = ppPages;
        m_nPageCapacity = nNewCapacity;
    }

    // Full pages stay where they are; only the last, partial page is reallocated.
    const int nOldPages = (m_nRecordCapacity + kPageRecords - 1) / kPageRecords;
    for (int p = nOldPages > 0 ? nOldPages - 1 : 0; p < nPagesNeeded; ++p)
    {
        const long long first = (long long)p * kPageRecords;
        const int nPageRecords = (int)(target - first < kPageRecords ? target - first
                                                                       : kPageRecords);
        const int nOldRecords =
            p < nOldPages ? (int)(m_nRecordCapacity - first < kPageRecords
                                      ? m_nRecordCapacity - first
                                      : kPageRecords)
                          : 0;
        if (nPageRecords <= nOldRecords)
            continue;
        ElemRecord* pPage =
            (ElemRecord*)realloc(m_ppPages[p], sizeof(ElemRecord) * (size_t)nPageRecords);
        if (pPage == NULL)
            AfxThrowMemoryException();
        memset(pPage + nOldRecords, 0, sizeof(ElemRecord) * (size_t)(nPageRecords - nOldRecords));
        m_ppPages[p] = pPage;
        m_nRecordCapacity = (int)(first + nPageRecords);
    }
}

void CXmlDoc::ResetRecords(int nCapacity)
{
    m_nRecordCount = 1;
    if (m_nRecordCapacity < nCapacity)
        GrowRecords(nCapacity);
    ElemRecord& doc = Rec(0);
    memset(&doc, 0, sizeof(doc));
    doc.length = m_strDoc.GetLength();
}

int CXmlDoc::NewRecord()
{
    if (m_nRecordCount >= m_nRecordCapacity)
        GrowRecords();
    const int i = m_nRecordCount++;
    memset(&Rec(i), 0, sizeof(ElemRecord));
    return i;
}

void CXmlDoc::LinkAfter(int iParent, int iAfter, int iNew)
{
    ElemRecord& after = Rec(iAfter);
    ElemRecord& rec = Rec(iNew);
    rec.parent = iParent;
    rec.next = after.next;
    rec.prev = iAfter;
    if (after.next != 0)
        Rec(after.next).prev = iNew;
    else
        Rec(Rec(iParent).firstChild).prev = iNew;
    after.next = iNew;
}

void CXmlDoc::LinkFirst(int iParent, int iNew)
{
    ElemRecord& parent = Rec(iParent);
    ElemRecord& rec = Rec(iNew);
    rec.parent = iParent;
    const int iOldFirst = parent.firstChild;
    if (iOldFirst != 0)
    {
        ElemRecord& oldFirst = Rec(iOldFirst);
        rec.next = iOldFirst;
        rec.prev = oldFirst.prev;
        oldFirst.prev = iNew;
        oldFirst.levelFlags &= ~recFirstChild;
    }
    else
    {
        rec.next = 0;
        rec.prev = iNew;
    }
    parent.firstChild = iNew;
    rec.levelFlags |= recFirstChild;
}

BOOL CXmlDoc::IntoElem()
{
    if (m_iPos == 0 || m_nNodeType != 1)
        return FALSE;
    m_iPosParent = m_iPos;
    m_iPos = m_iPosChild;
    m_iPosChild = 0;
    m_nNodeOffset = 0;
    m_nNodeLength = 0;
    m_nNodeType = m_iPos != 0 ? 1 : 0;
    return TRUE;
}

BOOL CXmlDoc::OutOfElem()
{
    if (m_iPosParent == 0)
        return FALSE;
    m_iPosChild = m_iPos;
    m_iPos = m_iPosParent;
    m_iPosParent = Rec(m_iPos).parent;
    m_nNodeOffset = 0;
    m_nNodeLength = 0;
    m_nNodeType = 1;
    return TRUE;
}

BOOL CXmlDoc::AddElem(LPCTSTR lpszName, LPCTSTR lpszText, int nFlags)
{
    const bool bChild = (nFlags & elemChild) != 0;
    const CString strName(lpszName);
    const CString strText(lpszText);
    if (bChild && m_iPos == 0)
        return FALSE;
    if ((nFlags & elemNoEndTag) && !strText.IsEmpty())
        return FALSE;
    if (!IsValidElemName(strName))
        return FALSE;
    if (m_nRecordCount == 0)
        ResetRecords(8);

    const int iParent = bChild ? m_iPos : m_iPosParent;
    const int iRef = bChild ? m_iPosChild : m_iPos;
    ElemRecord parentCopy = Rec(iParent);
    // One root element: a second would make the document ill-formed.
    if (iParent == 0 && parentCopy.firstChild != 0)
        return FALSE;

    // The element's own text.
    const int n = strName.GetLength();
    CString strElem(L"<");
    strElem += strName;
    int nStartTag, nEndTag = 0;
    bool bNoEndTag = false;
    if (!strText.IsEmpty())
    {
        strElem += L">";
        strElem += (nFlags & elemCData) ? EncodeCData(strText) : EscapeText(strText, nFlags);
        strElem += L"</";
        strElem += strName;
        strElem += L">";
        nStartTag = n + 2;
        nEndTag = n + 3;
    }
    else if (nFlags & elemNoEndTag)
    {
        strElem += L">";
        nStartTag = n + 2;
        bNoEndTag = true;
    }
    else
    {
        strElem += (nFlags & elemSpaceSlash) ? L" />" : L"/>";
        nStartTag = strElem.GetLength();
    }
    const CString strBreak((nFlags & elemNoLineBreak) ? L"" : L"\r\n");

    // Where it goes among its siblings: after iAfter, or first when bFirst. Without a
    // position to follow it goes last.
    const int iFirst = parentCopy.firstChild;
    int iAfter = 0;
    bool bFirst = false;
    if (nFlags & elemFirst)
        bFirst = true;
    else if (nFlags & elemBefore)
    {
        if (iRef != 0 && iRef != iFirst)
            iAfter = Rec(iRef).prev;
        else
            bFirst = true;
    }
    else
        iAfter = iRef != 0 ? iRef : (iFirst != 0 ? Rec(iFirst).prev : 0);
    if (bFirst && iFirst == 0)
        bFirst = false;

    // The parent's end tag, when its tag has to be rewritten to take a child.
    const bool bRewrite = iParent != 0 && iFirst == 0 && parentCopy.EndTagLength() == 0;
    CString strParentEnd;
    if (bRewrite)
    {
        strParentEnd = L"</" + GetTagName(iParent) + L">";
        if (strParentEnd.GetLength() > kMaxEndTag)
            return FALSE;
    }

    const int iNew = NewRecord();   // may throw; nothing has changed yet
    int nInsertAt;                  // where the inserted text starts
    int nElemAt;                    // where the element starts
    int nDelta;                     // how much the document grows
    int nShiftFrom;                 // elements starting here or later move
    if (iAfter != 0 || bFirst)
    {
        if (bFirst)
            nInsertAt = Rec(iFirst).start;
        else
        {
            const ElemRecord& after = Rec(iAfter);
            nInsertAt = after.start + after.length;
            if (nInsertAt + 1 < m_strDoc.GetLength() && m_strDoc[nInsertAt] == '\r' &&
                m_strDoc[nInsertAt + 1] == '\n')
                nInsertAt += 2;
            else if (nInsertAt < m_strDoc.GetLength() && m_strDoc[nInsertAt] == '\n')
                nInsertAt += 1;
        }
        m_strDoc.Insert(nInsertAt, strElem + strBreak);
        nElemAt = nInsertAt;
        nDelta = strElem.GetLength() + strBreak.GetLength();
        nShiftFrom = nInsertAt;
    }
    else if (iParent == 0)
    {
        nInsertAt = m_strDoc.GetLength();
        m_strDoc += strElem + strBreak;
        nElemAt = nInsertAt;
        nDelta = strElem.GetLength() + strBreak.GetLength();
        nShiftFrom = nInsertAt;
    }
    else if (!bRewrite)
    {
        const int nContentEnd = parentCopy.start + parentCopy.length - parentCopy.EndTagLength();
        const bool bEmptyContent =
            parentCopy.length == parentCopy.StartTagLength() + parentCopy.EndTagLength();
        const CString strInsert = bEmptyContent ? L"\r\n" + strElem + strBreak
                                                : strElem + strBreak;
        m_strDoc.Insert(nContentEnd, strInsert);
        nElemAt = nContentEnd + (bEmptyContent ? 2 : 0);
        nDelta = strInsert.GetLength();
        nShiftFrom = nContentEnd;
    }
    else
    {
        // "<p/>" or "<p>" without end tag becomes "<p>", CR LF, the child, "</p>".
        const int nOldLength = parentCopy.length;
        CString strStart = m_strDoc.Mid(parentCopy.start, nOldLength);
        if ((parentCopy.levelFlags & recNoEndTag) == 0)
        {
            strStart = strStart.Left(strStart.GetLength() - 2);
            strStart.TrimRight();
            strStart += L">";
        }
        const CString strReplace = strStart + L"\r\n" + strElem + strBreak + strParentEnd;
        m_strDoc.Delete(parentCopy.start, nOldLength);
        m_strDoc.Insert(parentCopy.start, strReplace);
        nElemAt = parentCopy.start + strStart.GetLength() + 2;
        nDelta = strReplace.GetLength() - nOldLength;
        nShiftFrom = parentCopy.start + nOldLength;
        ElemRecord& parent = Rec(iParent);
        parent.tagLengths =
            (UINT)strStart.GetLength() | ((UINT)strParentEnd.GetLength() << 22);
        parent.levelFlags &= ~recNoEndTag;
    }

    for (int i = 1; i < m_nRecordCount; ++i)
        if (i != iNew && Rec(i).start >= nShiftFrom)
            Rec(i).start += nDelta;
    for (int a = iParent;; a = Rec(a).parent)
    {
        Rec(a).length += nDelta;
        if (a == 0)
            break;
    }

    ElemRecord& rec = Rec(iNew);
    rec.start = nElemAt;
    rec.length = strElem.GetLength();
    rec.tagLengths = (UINT)nStartTag | ((UINT)nEndTag << 22);
    rec.levelFlags = ((Rec(iParent).levelFlags & levelMask) + 1) | (bNoEndTag ? recNoEndTag : 0);
    if (bFirst || iAfter == 0)
        LinkFirst(iParent, iNew);
    else
        LinkAfter(iParent, iAfter, iNew);

    if (bChild)
        m_iPosChild = iNew;
    else
    {
        m_iPos = iNew;
        m_iPosChild = 0;
    }
    m_nNodeType = m_iPos != 0 ? 1 : 0;
    m_nNodeOffset = 0;
    m_nNodeLength = 0;
    return TRUE;
}

CString CXmlDoc::GetTagName(int iRecord) const
{
    CString strName;
    if (iRecord <= 0 || iRecord >= m_nRecordCount)
        return strName;
    const int nLength = m_strDoc.GetLength();
    const int nFirst = Rec(iRecord).start + 1;
    int nEnd = nFirst;
    while (nEnd < nLength && !EndsTagName(m_strDoc[nEnd]))
        ++nEnd;
    return m_strDoc.Mid(nFirst, nEnd - nFirst);
}

CString CXmlDoc::EscapeText(LPCTSTR lpszText, int nFlags)
{
    CString out;
    if (lpszText == NULL)
        return out;
    const int n = lstrlenW(lpszText);
    out.Preallocate(n + n / 8 + 16);
    for (int i = 0; i < n; ++i)
    {
        const WCHAR c = lpszText[i];
        if (c == '<')
            out += L"&lt;";
        else if (c == '>')
            out += L"&gt;";
        else if (c == '&')
        {
            const int nEnd = (nFlags & elemKeepRefs) ? ReferenceEnd(lpszText, i, n) : -1;
            if (nEnd < 0)
                out += L"&amp;";
            else
            {
                out.Append(lpszText + i, nEnd - i + 1);
                i = nEnd;
            }
        }
        else if (c == '\'' && (nFlags & elemEscapeQuotes))
            out += L"&apos;";
        else if (c == '"' && (nFlags & elemEscapeQuotes))
            out += L"&quot;";
        else
            i = AppendXmlChar(out, lpszText, i, n);
    }
    return out;
}

CString CXmlDoc::EncodeCData(LPCTSTR lpszText)
{
    CString strClean;
    const int n = lpszText != NULL ? lstrlenW(lpszText) : 0;
    strClean.Preallocate(n);
    for (int i = 0; i < n; ++i)
        i = AppendXmlChar(strClean, lpszText, i, n);
    strClean.Replace(L"]]>", L"]]]]><![CDATA[>");
    return L"<![CDATA[" + strClean + L"]]>";
}

CStringA CXmlDoc::Utf16ToUtf8(const CString& strText)
{
    const int n = strText.GetLength();
    CStringA out;
    if (n == 0)
        return out;
    LPCWSTR p = strText.GetString();
    char* pOut = out.GetBuffer(3 * n);
    int k = 0;
    for (int i = 0; i < n; ++i)
    {
        UINT c = p[i];
        if (IsHighSurrogate((WCHAR)c) && i + 1 < n && IsLowSurrogate(p[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (UINT)(p[++i] - 0xDC00);
        else if (IsHighSurrogate((WCHAR)c) || IsLowSurrogate((WCHAR)c))
            c = '?';   // a surrogate without its partner has no code point
        if (c < 0x80)
            pOut[k++] = (char)c;
        else if (c < 0x800)
        {
            pOut[k++] = (char)(0xC0 | (c >> 6));
            pOut[k++] = (char)(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            pOut[k++] = (char)(0xE0 | (c >> 12));
            pOut[k++] = (char)(0x80 | ((c >> 6) & 0x3F));
            pOut[k++] = (char)(0x80 | (c & 0x3F));
        }
        else
        {
            pOut[k++] = (char)(0xF0 | (c >> 18));
            pOut[k++] = (char)(0x80 | ((c >> 12) & 0x3F));
            pOut[k++] = (char)(0x80 | ((c >> 6) & 0x3F));
            pOut[k++] = (char)(0x80 | (c & 0x3F));
        }
    }
    out.ReleaseBuffer(k);
    return out;
}

BOOL CXmlDoc::Save(LPCTSTR lpszPath)
{
    return WriteTextFile(lpszPath);
}

BOOL CXmlDoc::WriteTextFile(LPCTSTR lpszPath)
{
    const CStringA strUtf8 = Utf16ToUtf8(m_strDoc);
    const DWORD dwError =
        AfxWriteWholeFile(lpszPath, strUtf8.GetString(), (size_t)strUtf8.GetLength());
    if (dwError != NO_ERROR)
    {
        CFileException error(CFileException::OsErrorToException((LONG)dwError), (LONG)dwError,
                             lpszPath);
        m_strResult = ExceptionText(&error);
        // The caller may want the reason as the system gave it.
        SetLastError(dwError);
        return FALSE;
    }
    m_strResult.Format(L"%d wide chars to %s%d bytes", m_strDoc.GetLength(), L"",
                       strUtf8.GetLength());
    return TRUE;
}

BOOL CXmlDoc::SetDoc(LPCTSTR lpszText)
{
    m_strDoc = lpszText;   // NULL empties it
    m_strResult.Empty();
    ResetRecords(m_strDoc.GetLength() / 64 + 8);
    m_iPosParent = m_iPos = m_iPosChild = 0;
    m_nNodeType = m_nNodeOffset = m_nNodeLength = 0;
    if (m_strDoc.IsEmpty())
    {
        m_strResult = L"Empty document";
        return FALSE;
    }
    ParseDoc();
    const ElemRecord& doc = Rec(0);
    int nRoots = 0;
    for (int i = doc.firstChild; i != 0; i = Rec(i).next)
        ++nRoots;
    return nRoots == 1 && (doc.levelFlags & recIllFormed) == 0;
}

void CXmlDoc::ParseDoc()
{
    const int n = m_strDoc.GetLength();
    LPCWSTR p = m_strDoc.GetString();
    std::vector<int> open;   // elements whose end tag is still to come
    int nRoots = 0;
    bool bIllFormed = false;
    CString strMessage;
    auto report = [&](const CString& strOne) {
        if (!m_strResult.IsEmpty())
            m_strResult += L", ";
        m_strResult += strOne;
        bIllFormed = true;
    };
    auto incorrect = [&](LPCWSTR lpszToken, int nAt) {
        strMessage.Format(L"Incorrect %s at offset %d", lpszToken, nAt);
        report(strMessage);
    };
    auto unterminated = [&](LPCWSTR lpszToken, int nAt) {
        strMessage.Format(L"%s at offset %d unterminated", lpszToken, nAt);
        report(strMessage);
    };
    // Past the next '>' (or the end).
    auto skipTag = [&](int i) {
        while (i < n && p[i] != '>')
            ++i;
        return i < n ? i + 1 : n;
    };
    // An element ends at nEnd; its end tag, if any, is nEndTag long.
    auto close = [&](int iRec, int nEnd, int nEndTag) {
        ElemRecord& rec = Rec(iRec);
        rec.length = nEnd - rec.start;
        if (nEndTag > 0)
            rec.tagLengths |= (UINT)(nEndTag < kMaxEndTag ? nEndTag : kMaxEndTag) << 22;
        else
            rec.levelFlags |= recNoEndTag;
    };

    int i = 0;
    while (i < n)
    {
        if (p[i] != '<')
        {
            ++i;
            continue;
        }
        const int nTag = i;
        if (StartsWith(p, i, n, L"<!--"))
        {
            const int nEnd = FindFrom(p, i + 4, n, L"-->");
            if (nEnd < 0)
                unterminated(L"Comment", nTag);
            i = nEnd < 0 ? n : nEnd + 3;
        }
        else if (StartsWith(p, i, n, L"<![CDATA["))
        {
            const int nEnd = FindFrom(p, i + 9, n, L"]]>");
            if (nEnd < 0)
                unterminated(L"CDATA Section", nTag);
            i = nEnd < 0 ? n : nEnd + 3;
        }
        else if (StartsWith(p, i, n, L"<!DOCTYPE"))
        {
            // Ends at the first '>' outside quotes and outside the internal subset.
            int nDepth = 0;
            WCHAR quote = 0;
            for (i += 9; i < n; ++i)
            {
                const WCHAR c = p[i];
                if (quote != 0)
                    quote = c == quote ? 0 : quote;
                else if (c == '"' || c == '\'')
                    quote = c;
                else if (c == '[')
                    ++nDepth;
                else if (c == ']')
                    --nDepth;
                else if (c == '>' && nDepth <= 0)
                    break;
            }
            if (i >= n)
                unterminated(L"Doctype", nTag);
            else
                ++i;
        }
        else if (StartsWith(p, i, n, L"<!-"))
        {
            incorrect(L"comment tag", nTag);
            i = skipTag(i);
        }
        else if (StartsWith(p, i, n, L"<!"))
        {
            incorrect(L"! tag", nTag);
            i = skipTag(i);
        }
        else if (StartsWith(p, i, n, L"<?"))
        {
            const int nEnd = FindFrom(p, i + 2, n, L"?>");
            if (nEnd < 0)
                unterminated(L"Processing instruction", nTag);
            i = nEnd < 0 ? n : nEnd + 2;
        }
        else if (StartsWith(p, i, n, L"</"))
        {
            i += 2;
            if (i >= n || !IsLooseNameStart(p[i]))
            {
                incorrect(L"tag name character", i);
                i = skipTag(i);
                continue;
            }
            const int nName = i;
            while (i < n && IsLooseNameChar(p[i]))
                ++i;
            const CString strName(p + nName, i - nName);
            while (i < n && IsBlank(p[i]))
                ++i;
            if (i >= n)
            {
                unterminated(L"Element end tag", nTag);
                break;
            }
            if (p[i] != '>')
            {
                incorrect(L"Element end tag", nTag);
                i = skipTag(i);
            }
            else
                ++i;

            int k = (int)open.size() - 1;
            while (k >= 0 && GetTagName(open[k]) != strName)
                --k;
            if (open.empty())
            {
                strMessage.Format(L"No start tag for end tag '%s' at offset %d", strName,
                                  nTag);
                report(strMessage);
            }
            else if (k != (int)open.size() - 1)
            {
                const int iTop = open.back();
                strMessage.Format(
                    L"End tag '%s' at offset %d does not match start tag '%s' at offset %d",
                    strName, nTag, GetTagName(iTop), Rec(iTop).start);
                report(strMessage);
            }
            if (k >= 0)
            {
                // Elements opened inside the matched one end where this end tag begins.
                while ((int)open.size() - 1 > k)
                {
                    close(open.back(), nTag, 0);
                    open.pop_back();
                }
                close(open.back(), i, i - nTag);
                open.pop_back();
            }
        }
        else
        {
            // A start tag or an empty-element tag.
            if (i + 1 >= n || !IsLooseNameStart(p[i + 1]))
            {
                incorrect(L"tag name character", i + 1);
                ++i;
                continue;
            }
            i += 1;
            while (i < n && IsLooseNameChar(p[i]))
                ++i;
            bool bEmpty = false, bEnded = false, bBad = false;
            while (i < n && !bEnded)
            {
                const bool bSpace = IsBlank(p[i]);
                while (i < n && IsBlank(p[i]))
                    ++i;
                if (i >= n)
                    break;
                if (p[i] == '>')
                {
                    bEnded = true;
                    ++i;
                }
                else if (p[i] == '/' && i + 1 < n && p[i + 1] == '>')
                {
                    bEnded = bEmpty = true;
                    i += 2;
                }
                else if (bSpace && IsLooseNameStart(p[i]))
                {
                    // name = "value" or name = 'value'
                    while (i < n && IsLooseNameChar(p[i]))
                        ++i;
                    while (i < n && IsBlank(p[i]))
                        ++i;
                    if (i < n && p[i] == '=')
                    {
                        ++i;
                        while (i < n && IsBlank(p[i]))
                            ++i;
                    }
                    else if (i < n)
                        bBad = true;
                    if (!bBad && i < n && (p[i] == '"' || p[i] == '\''))
                    {
                        const WCHAR quote = p[i++];
                        while (i < n && p[i] != quote && p[i] != '<')
                            ++i;
                        if (i < n && p[i] == quote)
                            ++i;
                        else if (i < n)
                            bBad = true;
                    }
                    else if (i < n)
                        bBad = true;
                }
                else
                    bBad = true;
                if (bBad)
                {
                    // Skip the rest of the tag; it still opens an element.
                    while (i < n && p[i] != '>')
                        ++i;
                    if (i < n)
                    {
                        bEmpty = p[i - 1] == '/';
                        bEnded = true;
                        ++i;
                    }
                }
            }
            if (!bEnded)
            {
                unterminated(L"Element tag", nTag);
                break;
            }
            if (bBad)
                incorrect(L"Element tag", nTag);

            const int iParent = open.empty() ? 0 : open.back();
            const int iNew = NewRecord();
            ElemRecord& rec = Rec(iNew);
            rec.start = nTag;
            rec.length = i - nTag;
            rec.tagLengths = (UINT)(i - nTag < kMaxStartTag ? i - nTag : kMaxStartTag);
            rec.levelFlags = (Rec(iParent).levelFlags & levelMask) + 1;
            const int iFirst = Rec(iParent).firstChild;
            if (iFirst == 0)
                LinkFirst(iParent, iNew);
            else
                LinkAfter(iParent, Rec(iFirst).prev, iNew);
            if (iParent == 0 && ++nRoots == 2)
                report(L"Root element has sibling");
            if (!bEmpty)
                open.push_back(iNew);
        }
    }

    for (int iOpen : open)
    {
        strMessage.Format(L"Element '%s' at offset %d not ended", GetTagName(iOpen),
                          Rec(iOpen).start);
        report(strMessage);
    }
    while (!open.empty())
    {
        close(open.back(), n, 0);
        open.pop_back();
    }
    if (nRoots == 0)
    {
        if (!m_strResult.IsEmpty())
            m_strResult += L", ";
        m_strResult += L"No root element";
    }
    if (bIllFormed)
        Rec(0).levelFlags |= recIllFormed;
}
