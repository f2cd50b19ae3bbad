// CStdioFileEx, a buffered text file that reads both UTF-16 little-endian files (known by
// their byte-order sign) and 8-bit files in a code page, and writes either form.
#pragma once

#include <windows.h>

#include "AfxStdioFile.h"

class CStdioFileEx : public CStdioFile
{
public:
    // Our own open flag: write UTF-16 with a byte-order sign instead of 8-bit text.
    enum { modeWriteUnicode = 0x20000 };

    CStdioFileEx();
    // The name may be a string-table id (MAKEINTRESOURCE) standing for the name. Throws the
    // framework's file exception when the file cannot be opened.
    CStdioFileEx(LPCTSTR lpszFileName, UINT nOpenFlags);

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags,
                      CFileException* pError = NULL) override;

    // One line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString) override;
    using CStdioFile::ReadString;
    // Writes the text as it stands; the caller adds the line ends.
    virtual void WriteString(LPCTSTR lpsz) override;

    BOOL IsFileUnicodeText() const { return m_bIsUnicodeText != 0; }

    // TRUE when the file's first two bytes are the UTF-16 little-endian byte-order sign.
    static BOOL IsFileUnicode(LPCTSTR lpszFileName);

    // A code page of -1 stands for the ANSI code page. Characters the code page cannot
    // hold become "#".
    static int WideToMultiByte(LPCWSTR lpszText, LPSTR lpszBuffer, int nBufferSize,
                               int nCodePage);
    static int GetRequiredMultiByteLength(LPCWSTR lpszText, int nCodePage);
    static int MultiByteToWide(LPCSTR lpszBytes, LPWSTR lpszBuffer, int nBufferChars,
                               int nCodePage);

protected:
    UINT ProcessFlags(LPCTSTR lpszFileName, UINT& nOpenFlags);

    BYTE m_bIsUnicodeText;
    UINT m_nFlags;
    int m_nFileCodePage;
};
