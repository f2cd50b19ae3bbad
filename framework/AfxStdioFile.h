// CStdioFile, a buffered text file. In text mode (the default) the file holds text in the
// ANSI code page with CR LF line ends, and the program sees UTF-16 with "\n"; in binary
// mode (typeBinary) the strings are read and written as raw UTF-16 with no translation.
#pragma once

#include <windows.h>

#include <string>

#include "AfxFile.h"

class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)

public:
    CStdioFile();
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);  // throws on failure
    virtual ~CStdioFile();

    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags,
                      CFileException* pError = NULL) override;

    // Reads up to nMax - 1 characters, stopping after a line feed, which is kept. Returns
    // NULL at the end of the file.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    // Reads a whole line and drops its line feed. FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCTSTR lpsz);

    // The bytes of a line as they are in the file (text mode turns CR LF into LF), up to
    // nMax - 1 bytes and stopping after a line feed, NUL-terminated; NULL at the end of the
    // file. It is the line reading of a narrow build, for text in a code page of its own.
    LPSTR ReadStringA(LPSTR lpsz, UINT nMax);

    virtual UINT Read(void* lpBuf, UINT nCount) override;
    virtual void Write(const void* lpBuf, UINT nCount) override;
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    virtual ULONGLONG GetPosition() const override;
    virtual ULONGLONG GetLength() const override;
    virtual void SetLength(ULONGLONG dwNewLen) override;
    virtual void Flush() override;
    virtual void Close() override;
    virtual void Abort() override;

private:
    enum { bufferSize = 16384 };

    int GetByte();                 // next byte, translated in text mode; -1 at the end
    int PeekRawByte();             // next byte without taking it; -1 at the end
    BOOL FillBuffer();
    void PutBytes(const char* p, size_t n);
    void FlushWrite();
    void DropReadBuffer();
    BOOL ReadLineBytes(std::string& line, size_t nMaxChars, BOOL bGroupDbcs);

    BOOL m_bTextMode;
    BYTE* m_pBuffer;
    UINT m_nBufPos;                // next byte to read, or bytes waiting to be written
    UINT m_nBufLen;                // bytes read into the buffer
    BOOL m_bWriting;               // the buffer holds bytes to write
};
