// Saving and re-opening a large mosaic document, against a plain copy of the same file.
#include "MosaicBenchmark.h"

#include "AfxArchive.h"
#include "AfxFile.h"
#include "DocSettings.h"
#include "LangText.h"
#include "VitrolanDoc.h"

#include <memory>

namespace {

CString TempFile(LPCWSTR lpszName)
{
    WCHAR szFolder[MAX_PATH];
    GetTempPathW(MAX_PATH, szFolder);
    return CString(szFolder) + lpszName;
}

std::unique_ptr<CVitrolanDoc> LargeDocument(int cols, int rows)
{
    // The document names its units in the interface language.
    SetLangTextFolder(BenchmarkDataFolder());
    std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
    doc->m_cols = cols;
    doc->m_rows = rows;
    doc->m_colourCount = 256;
    doc->m_committedMap.Free();
    doc->m_committedMap.Create(0, 4 * cols, 4 * rows);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
        {
            const int colour = (col * 7 + row * 13) % 256;
            doc->m_committedMap.SetCell(col, row, 0, 0, colour, colour, colour, colour, 0, 0, 0, 0);
        }
    return doc;
}

void Save(CVitrolanDoc& doc, const CString& path)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    file.Close();
}

void Open(CVitrolanDoc& doc, const CString& path)
{
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
    ar.Close();
    file.Close();
}

void BM_SaveAndReopen(benchmark::State& state)
{
    SetDocProfileRoot(L"Software\\MosaicBenchmarks");
    const int side = (int)state.range(0);
    std::unique_ptr<CVitrolanDoc> doc = LargeDocument(side, side);
    std::unique_ptr<CVitrolanDoc> reopened(new CVitrolanDoc);
    const CString path = TempFile(L"mosaic-bench.ms2");
    for (auto _ : state)
    {
        Save(*doc, path);
        Open(*reopened, path);
    }
    state.counters["bytes"] = (double)CFile(path, CFile::modeRead).GetLength();
    DeleteFileW(path);
}
BENCHMARK(BM_SaveAndReopen)->Arg(1000)->Unit(benchmark::kMillisecond);

// The floor: the same bytes copied by the system.
void BM_PlainCopy(benchmark::State& state)
{
    SetDocProfileRoot(L"Software\\MosaicBenchmarks");
    const int side = (int)state.range(0);
    std::unique_ptr<CVitrolanDoc> doc = LargeDocument(side, side);
    const CString path = TempFile(L"mosaic-bench-source.ms2");
    const CString copy = TempFile(L"mosaic-bench-copy.ms2");
    Save(*doc, path);
    for (auto _ : state)
        CopyFileW(path, copy, FALSE);
    DeleteFileW(path);
    DeleteFileW(copy);
}
BENCHMARK(BM_PlainCopy)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
