// The archive over a real file: 16 MB of raw bytes in large blocks, then 10,000 strings.
// Loading it is compared with a plain ReadFile loop over the same file.
#include "MosaicBenchmark.h"

#include "AfxArchive.h"
#include "AfxFile.h"
#include "AfxString.h"

#include <vector>

namespace {

const UINT nRawBytes = 16 << 20;
const UINT nBlockBytes = 256 << 10;
const int nStrings = 10000;

CString BenchFilePath()
{
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    CString strPath;
    strPath.Format(L"%sMosaicArchiveBench-%u.dat", (LPCWSTR)szTemp, (UINT)GetCurrentProcessId());
    return strPath;
}

const CString& FilePath()
{
    static const CString s_strPath = BenchFilePath();
    return s_strPath;
}

const std::vector<BYTE>& Block()
{
    static std::vector<BYTE> s_block = [] {
        std::vector<BYTE> block(nBlockBytes);
        for (UINT i = 0; i < nBlockBytes; i++)
            block[i] = (BYTE)(i * 31 + 7);
        return block;
    }();
    return s_block;
}

// Strings of 5 to 60 characters.
const std::vector<CString>& Strings()
{
    static std::vector<CString> s_strings = [] {
        std::vector<CString> strings;
        strings.reserve(nStrings);
        for (int i = 0; i < nStrings; i++)
        {
            CString str;
            str.Format(L"Tile %d", i);
            while (str.GetLength() < 5 + i % 56)
                str += (WCHAR)(L'a' + i % 26);
            strings.push_back(str);
        }
        return strings;
    }();
    return s_strings;
}

ULONGLONG StoreFile()
{
    CFile file(FilePath(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    for (UINT n = 0; n < nRawBytes; n += nBlockBytes)
        ar.Write(Block().data(), nBlockBytes);
    for (const CString& str : Strings())
        ar << str;
    ar.Close();
    ULONGLONG nLength = file.GetLength();
    file.Close();
    return nLength;
}

void EnsureFile()
{
    static bool s_bWritten = false;
    if (!s_bWritten)
    {
        StoreFile();
        s_bWritten = true;
    }
}

struct RemoveFileAtExit
{
    ~RemoveFileAtExit() { DeleteFileW(FilePath()); }
} g_removeFileAtExit;

void BM_ArchiveStore(benchmark::State& state)
{
    ULONGLONG nLength = 0;
    for (auto _ : state)
        nLength = StoreFile();
    state.SetBytesProcessed((int64_t)(state.iterations() * nLength));
}
BENCHMARK(BM_ArchiveStore)->Unit(benchmark::kMillisecond);

void BM_ArchiveLoad(benchmark::State& state)
{
    EnsureFile();
    std::vector<BYTE> block(nBlockBytes);
    ULONGLONG nLength = 0;
    for (auto _ : state)
    {
        CFile file(FilePath(), CFile::modeRead | CFile::shareDenyWrite);
        nLength = file.GetLength();
        CArchive ar(&file, CArchive::load);
        for (UINT n = 0; n < nRawBytes; n += nBlockBytes)
            if (ar.Read(block.data(), nBlockBytes) != nBlockBytes)
                state.SkipWithError("short read");
        CString str;
        int nTotal = 0;
        for (int i = 0; i < nStrings; i++)
        {
            ar >> str;
            nTotal += str.GetLength();
        }
        benchmark::DoNotOptimize(nTotal);
        if (!ar.IsBufferEmpty() || block != Block() || str != Strings().back())
            state.SkipWithError("content read back differs");
        ar.Close();
    }
    state.SetBytesProcessed((int64_t)(state.iterations() * nLength));
}
BENCHMARK(BM_ArchiveLoad)->Unit(benchmark::kMillisecond);

// The reference: the same file read with ReadFile into a 64 KB buffer, nothing decoded.
void BM_PlainReadFile(benchmark::State& state)
{
    EnsureFile();
    std::vector<BYTE> buffer(64 << 10);
    ULONGLONG nTotal = 0;
    for (auto _ : state)
    {
        HANDLE hFile = CreateFileW(FilePath(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
        {
            state.SkipWithError("cannot open the file");
            break;
        }
        nTotal = 0;
        DWORD nRead = 0;
        while (ReadFile(hFile, buffer.data(), (DWORD)buffer.size(), &nRead, NULL) && nRead > 0)
            nTotal += nRead;
        CloseHandle(hFile);
        benchmark::DoNotOptimize(nTotal);
    }
    state.SetBytesProcessed((int64_t)(state.iterations() * nTotal));
}
BENCHMARK(BM_PlainReadFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
