#include "Readers.h"

namespace fuzz
{
namespace
{

// ---- Probes: readers that fail on purpose, so that the driver's guards can be tested -------

void ProbeSeeds(std::vector<Seed>& seeds)
{
    seeds.push_back({"probe", Bytes{'p', 'r', 'o', 'b', 'e'}});
}

Outcome ProbeHang(const CString&)
{
    for (;;)
        Sleep(20);
}

char* volatile g_pProbeBlock;

Outcome ProbeAllocation(const CString& strPath)
{
    // Kept where the compiler must assume it is read, so that the request is not dropped.
    g_pProbeBlock = new char[((size_t)1 << 30) + ReadWholeFile(strPath).size()];
    delete[] g_pProbeBlock;
    return Outcome();
}

Outcome ProbeFault(const CString&)
{
    Outcome outcome;
    outcome.loaded = true;
    outcome.fault = "planted fault";
    return outcome;
}

Outcome ProbeWindow(const CString&)
{
    MessageBoxW(NULL, L"A reader must not wait on a window", L"Fuzz probe", MB_OK);
    Outcome outcome;
    outcome.loaded = true;
    return outcome;
}

Outcome ProbeCrash(const CString& strPath)
{
    volatile int* p = NULL;
    *p = (int)ReadWholeFile(strPath).size();
    return Outcome();
}

// Names the readers treat apart: devices, paths, and the palette names of the family rules.
const LPCWSTR kArchiveStrings[] = {
    L"", L"CON", L"AUX", L"NUL", L"PRN", L"COM1", L"LPT1", L"CONIN$", L"com9.pal",
    L"Aux .pal", L"Nul.txt", L".", L"..", L"a\\b.pal", L"C:x.pal", L"*.pal",
    L"Ceramique-Mate.pal", L"Verre-Nuances.pal", L"Mosaica", L"Bisazza-LeGemme",
    L"EmauxDeBriare-Mazurka", L"Technopanel", L"Steinzeug", L"Steinzeug Steinzeug",
    L"Vidrepur-Deco", L"CordobaEye", L"Rose", L"TEX", L"##", NULL};

CString g_strProgramFolder;
int g_nMessageBoxes;

}   // namespace

const std::vector<Reader>& Readers()
{
    static const std::vector<Reader> s_readers = {
        {"ms2", L"input.ms2", "mosaic documents, opened by the document", false, NULL,
         Ms2Seeds, RunMs2, kArchiveStrings},
        {"mos", L"input.mos", "older mosaics, opened by the document", false, NULL, MosSeeds,
         RunMosInDocument, NULL},
        {"bmp", L"input.mos", "older mosaics, read by ReadBmpFile", false, NULL, MosSeeds,
         RunBmpReader, NULL},
        {"pal", L"input.pal", "tile palettes, loaded by C2Palette::LoadFromFile", false, NULL,
         PaletteSeeds, RunPalette, kArchiveStrings},
        {"fil", L"Text_Mosaic-409.fil", "language files, looked up through GetLangText",
         false, NULL, LangTextSeeds, RunLangText, NULL},
        {"fil-merge", L"Text_Mosaic-LOC.fil",
         "language files merged with the English file", false, PrepareLangTextMerge,
         LangTextSeeds, RunLangTextMerge, NULL},
        {"text", L"input.txt", "UTF-16 and 8-bit text, read by CStdioFileEx", false, NULL,
         TextSeeds, RunStdioText, NULL},
        {"probe-hang", L"probe.bin", "never returns", true, NULL, ProbeSeeds, ProbeHang, NULL},
        {"probe-alloc", L"probe.bin", "asks for a gigabyte", true, NULL, ProbeSeeds,
         ProbeAllocation, NULL},
        {"probe-fault", L"probe.bin", "fails its check", true, NULL, ProbeSeeds, ProbeFault, NULL},
        {"probe-window", L"probe.bin", "opens a message box", true, NULL, ProbeSeeds,
         ProbeWindow, NULL},
        {"probe-crash", L"probe.bin", "writes through a null pointer", true, NULL, ProbeSeeds,
         ProbeCrash, NULL},
    };
    return s_readers;
}

const Reader* FindReader(const std::string& name)
{
    for (const Reader& reader : Readers())
        if (name == reader.name)
            return &reader;
    return NULL;
}

void SetProgramFolder(const CString& strFolder)
{
    g_strProgramFolder = strFolder;
}

const CString& ProgramFolder()
{
    return g_strProgramFolder;
}

void NoteMessageBox()
{
    g_nMessageBoxes++;
}

int TakeMessageBoxes()
{
    const int n = g_nMessageBoxes;
    g_nMessageBoxes = 0;
    return n;
}

Bytes ReadWholeFile(const CString& strPath)
{
    Bytes bytes;
    HANDLE hFile = CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
    {
        bytes.resize((size_t)size.QuadPart);
        DWORD dwRead = 0;
        if (!ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, NULL))
            dwRead = 0;
        bytes.resize(dwRead);
    }
    CloseHandle(hFile);
    return bytes;
}

bool WriteWholeFile(const CString& strPath, const Bytes& bytes)
{
    HANDLE hFile = CreateFileW(strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    const BOOL bOk = bytes.empty() ||
                     WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL);
    CloseHandle(hFile);
    return bOk && dwWritten == bytes.size();
}

CString DosPath(const char* pszPath)
{
    CString strPath;
    const int n = MultiByteToWideChar(CP_UTF8, 0, pszPath, -1, NULL, 0);
    if (n > 1)
    {
        MultiByteToWideChar(CP_UTF8, 0, pszPath, -1, strPath.GetBufferSetLength(n - 1), n);
        strPath.ReleaseBuffer(n - 1);
    }
    if (strPath.Left(1) == L"/")
        strPath = L"Z:" + strPath;
    strPath.Replace(L'/', L'\\');
    return strPath;
}

std::string Narrow(const CString& str)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), NULL, 0, NULL, NULL);
    std::string s((size_t)(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), &s[0], n, NULL, NULL);
    return s;
}

}   // namespace fuzz
