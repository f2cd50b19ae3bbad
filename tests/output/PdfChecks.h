// The real PDF tools, run on files the tests wrote: poppler's pdfinfo, pdftotext and
// pdftoppm, and qpdf, which also shows the content streams uncompressed.
#pragma once

#include <stdio.h>

#include <string>

#include "AfxPath.h"
#include "AfxString.h"

inline std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

// The value of one "Key:   value" line of pdfinfo's report.
inline std::string InfoValue(const std::string& info, const std::string& key)
{
    size_t at = ("\n" + info).find("\n" + key + ":");
    if (at == std::string::npos)
        return "(missing)";
    at = info.find_first_not_of(' ', at + key.size() + 1);
    return info.substr(at, info.find('\n', at) - at);
}

inline std::string UnixPath(const CString& strPath)
{
    CStringA strUnix = AfxGetUnixPath(strPath);
    return std::string(strUnix.GetString(), strUnix.GetLength());
}

// The Windows form of a folder of this machine, with its final backslash.
inline CString DosFolder(const char* pszUnixFolder)
{
    typedef LPWSTR(CDECL * DosNameProc)(LPCSTR);
    DosNameProc pDosName = (DosNameProc)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    CString strFolder;
    if (LPWSTR lpszDos = pDosName != NULL ? pDosName(pszUnixFolder) : NULL)
    {
        strFolder = lpszDos;
        HeapFree(GetProcessHeap(), 0, lpszDos);
    }
    return strFolder + L"\\";
}

inline std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

inline std::string PdfInfo(const std::string& path)
{
    return RunCommand("pdfinfo " + Quoted(path) + " 2>&1");
}

// pdfinfo's size of one page, such as "595 x 842 pts (A4)".
inline std::string PageSize(const std::string& path, int nPage)
{
    const std::string number = std::to_string(nPage);
    const std::string info =
        RunCommand("pdfinfo -f " + number + " -l " + number + " " + Quoted(path) + " 2>&1");
    const std::string key = "Page" + std::string(5 - number.size(), ' ') + number + " size";
    return InfoValue(info, key);
}

// "ok" when qpdf finds nothing wrong, its report otherwise.
inline std::string QpdfCheck(const std::string& path)
{
    std::string report = RunCommand("qpdf --check " + Quoted(path) + " 2>&1; echo \"exit $?\"");
    return report.find("No syntax or stream encoding errors") != std::string::npos &&
                   report.find("exit 0") != std::string::npos
               ? "ok"
               : report;
}

// The whole file with its streams uncompressed, one object after the other.
inline std::string QdfText(const std::string& path)
{
    return RunCommand("qpdf --qdf --object-streams=disable " + Quoted(path) + " - 2>/dev/null");
}

// The content stream of one page, uncompressed.
inline std::string PageContent(const std::string& path, int nPage = 1)
{
    const std::string qdf = QdfText(path);
    size_t at = qdf.find("%% Contents for page " + std::to_string(nPage) + "\n");
    if (at == std::string::npos)
        return "(no page " + std::to_string(nPage) + ")";
    at = qdf.find("stream\n", at);
    const size_t end = qdf.find("endstream", at);
    return qdf.substr(at + 7, end - at - 7);
}

// Hands opened files of one type (PDFs unless told otherwise) to a command of the test's
// own that notes their paths in a file, in place of the desktop's viewer, and puts back the
// prefix's own association afterwards.
class CPdfOpenRecorder
{
public:
    explicit CPdfOpenRecorder(const CString& strLogPath, LPCWSTR lpszExtension = L".pdf")
        : m_strLogPath(strLogPath), m_strExtension(lpszExtension)
    {
        WCHAR szOld[MAX_PATH] = {};
        LONG cbOld = sizeof(szOld);
        m_bHadOld =
            RegQueryValueW(HKEY_CLASSES_ROOT, m_strExtension, szOld, &cbOld) == ERROR_SUCCESS;
        m_strOld = szOld;
        RegSetValueW(HKEY_CLASSES_ROOT, m_strExtension, REG_SZ, L"MosaicPdfTest", 0);
        CString strCommand;
        strCommand.Format(L"C:\\windows\\system32\\cmd.exe /c echo %%1>>\"%s\"",
                          (LPCTSTR)strLogPath);
        RegSetValueW(HKEY_CLASSES_ROOT, L"MosaicPdfTest\\shell\\open\\command", REG_SZ,
                     strCommand, 0);
    }
    ~CPdfOpenRecorder()
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"MosaicPdfTest");
        if (m_bHadOld)
            RegSetValueW(HKEY_CLASSES_ROOT, m_strExtension, REG_SZ, m_strOld, 0);
        else
            RegDeleteTreeW(HKEY_CLASSES_ROOT, m_strExtension);
    }

private:
    CString m_strLogPath;
    CString m_strExtension;
    CString m_strOld;
    bool m_bHadOld;
};
