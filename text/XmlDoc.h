// An XML document held as one UTF-16 text with a table of element records over it: elements
// are added with their texts and the document is saved as UTF-8. Setting a whole text parses
// it and reports what is ill-formed.
#pragma once

#include <windows.h>

#include "AfxString.h"

class CXmlDoc
{
public:
    // AddElem flags
    enum
    {
        elemCData = 0x1,          // the text becomes a CDATA section
        elemNoLineBreak = 0x2,    // no CR LF after the element
        elemSpaceSlash = 0x4,     // an empty element ends with " />"
        elemKeepRefs = 0x8,       // references already in the text stay as they are
        elemNoEndTag = 0x10,      // only the start tag; no text allowed
        elemEscapeQuotes = 0x100, // apostrophes and double quotes are escaped too
        elemBefore = 0x1000,      // before the current element (the child with elemChild)
        elemFirst = 0x2000,       // first among the children
        elemChild = 0x4000        // a child of the current element
    };

    // Level-and-flags bits of a record
    enum
    {
        levelMask = 0xFFFF,
        recFirstChild = 0x80000,
        recNoEndTag = 0x100000,
        recIllFormed = 0x800000   // on record 0, set by the parser
    };

    // One element (record 0 stands for the document). Start-tag length in the low 22 bits
    // of tagLengths, end-tag length in the high 10.
    struct ElemRecord
    {
        int start;
        int length;
        UINT tagLengths;
        int levelFlags;
        int parent;
        int firstChild;
        int next;
        int prev;        // the first child's prev is the last child

        int StartTagLength() const { return (int)(tagLengths & 0x3FFFFF); }
        int EndTagLength() const { return (int)(tagLengths >> 22); }
    };

    CXmlDoc();
    ~CXmlDoc();

    BOOL SetDoc(LPCTSTR lpszText);
    BOOL AddElem(LPCTSTR lpszName, LPCTSTR lpszText = NULL, int nFlags = 0);
    BOOL IntoElem();
    BOOL OutOfElem();
    BOOL Save(LPCTSTR lpszPath);
    CString GetTagName(int iRecord) const;

    const CString& GetDoc() const { return m_strDoc; }
    const CString& GetResult() const { return m_strResult; }
    int GetRecordCount() const { return m_nRecordCount; }
    // NULL for an index outside the table.
    const ElemRecord* GetRecord(int iRecord) const;

    static CString EscapeText(LPCTSTR lpszText, int nFlags);
    static CString EncodeCData(LPCTSTR lpszText);
    static CStringA Utf16ToUtf8(const CString& strText);

private:
    CXmlDoc(const CXmlDoc&) = delete;
    CXmlDoc& operator=(const CXmlDoc&) = delete;

    ElemRecord& Rec(int i) { return m_ppPages[i >> 16][i & 0xFFFF]; }
    const ElemRecord& Rec(int i) const { return m_ppPages[i >> 16][i & 0xFFFF]; }
    void GrowRecords(int nRequested = 0);
    void FreeRecords();
    void ResetRecords(int nCapacity);
    int NewRecord();
    void LinkAfter(int iParent, int iAfter, int iNew);
    void LinkFirst(int iParent, int iNew);
    void ParseDoc();
    BOOL WriteTextFile(LPCTSTR lpszPath);

    CString m_strDoc;
    CString m_strResult;
    int m_iPosParent;
    int m_iPos;
    int m_iPosChild;
    int m_nRecordCount;       // record 0 is the document
    int m_nNodeType;          // 1 when the current position is an element
    int m_nNodeOffset;
    int m_nNodeLength;
    int m_nDocFlags;
    ElemRecord** m_ppPages;   // pages of 65536 records
    int m_nRecordCapacity;
    int m_nPageCapacity;
};
