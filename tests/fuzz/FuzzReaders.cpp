// Fuzz driver of the program's file readers (README.md beside this file says how to run it).
// Each reader starts from its seeds and runs mutated inputs one at a time; an input that
// reaches code no earlier input reached joins the reader's corpus. Every outcome is checked:
// a reader either loads the input into something sane or refuses it and keeps what it held.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "AfxApp.h"
#include "AfxException.h"
#include "Coverage.h"
#include "Guards.h"
#include "LangText.h"
#include "Mutator.h"
#include "Readers.h"

using namespace fuzz;

namespace
{

// Every message box of the framework comes here and is answered at once.
class CFuzzApp : public CWinApp
{
public:
    CFuzzApp() : CWinApp(L"MosaicFuzz") {}
    int DoMessageBox(LPCTSTR, UINT, UINT) override
    {
        NoteMessageBox();
        return IDOK;
    }
};

CFuzzApp theApp;

struct Options
{
    std::vector<const Reader*> readers;
    double seconds = 0;             // per reader
    long long inputs = -1;          // per reader; -1: as many as the time allows
    uint64_t seed = 0;
    bool seedGiven = false;
    CString out;
    std::vector<CString> replay;
    CString corpus;
    CString seedsOut;
    DWORD hangMs = 10000;
    size_t allocLimit = (size_t)512 << 20;
    size_t maxInput = (size_t)1 << 20;
    int maxFaults = 20;             // distinct faults kept per reader
};

void Usage()
{
    printf("usage: fuzz_readers.exe [options]\n"
           "  --readers a,b,...    readers to run (default: all but the probes); --list names them\n"
           "  --seconds S          time per reader (default 10 when --inputs is not given)\n"
           "  --inputs N           mutated inputs per reader\n"
           "  --seed N             seed of the mutations (default: from the clock, printed)\n"
           "  --out DIR            output folder (default fuzz-out): current\\ holds the input\n"
           "                       being run, findings\\<reader>\\ what failed\n"
           "  --replay PATH        runs every file of PATH\\<reader>\\ (or of PATH, named after a\n"
           "                       reader, or the file PATH in such a folder) once with its\n"
           "                       reader; may be repeated\n"
           "  --corpus DIR         adds DIR\\<reader>\\ to the seeds and keeps new inputs there\n"
           "  --write-seeds DIR    writes each reader's seeds to DIR\\<reader>\\ first\n"
           "  --hang-seconds S     one input running longer is a hang (default 10)\n"
           "  --alloc-limit-mb N   one allocation above this is a finding (default 512)\n"
           "  --max-input-kb N     largest mutated input (default 1024)\n");
}

CString FullPath(const CString& strPath)
{
    WCHAR szFull[2048];
    const DWORD n = GetFullPathNameW(strPath, 2048, szFull, NULL);
    return n > 0 && n < 2048 ? CString(szFull) : strPath;
}

CString WithSlash(const CString& strFolder)
{
    return strFolder.Right(1) == L"\\" ? strFolder : strFolder + L"\\";
}

void CreateFolders(const CString& strFolder)
{
    for (int i = 3; i < strFolder.GetLength(); i++)
        if (strFolder[i] == L'\\')
            CreateDirectoryW(strFolder.Left(i), NULL);
    CreateDirectoryW(strFolder, NULL);
}

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; i++)
    {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc)
            {
                fprintf(stderr, "fuzz: %s needs a value\n", arg.c_str());
                return NULL;
            }
            return argv[++i];
        };
        const char* v = NULL;
        if (arg == "--list")
        {
            for (const Reader& r : Readers())
                printf("%-13s %s%s\n", r.name, r.what, r.probe ? " (driver test)" : "");
            exit(ExitClean);
        }
        else if (arg == "--help" || arg == "-h")
        {
            Usage();
            exit(ExitClean);
        }
        else if (!(v = value()))
            return false;
        else if (arg == "--readers")
        {
            std::string list = v;
            size_t start = 0;
            while (start <= list.size())
            {
                size_t comma = list.find(',', start);
                if (comma == std::string::npos)
                    comma = list.size();
                const std::string name = list.substr(start, comma - start);
                if (name == "all")
                {
                    for (const Reader& r : Readers())
                        if (!r.probe)
                            o.readers.push_back(&r);
                }
                else if (const Reader* r = FindReader(name))
                    o.readers.push_back(r);
                else
                {
                    fprintf(stderr, "fuzz: no reader named '%s' (--list names them)\n",
                            name.c_str());
                    return false;
                }
                start = comma + 1;
            }
        }
        else if (arg == "--seconds")
            o.seconds = atof(v);
        else if (arg == "--inputs")
            o.inputs = atoll(v);
        else if (arg == "--seed")
        {
            o.seed = strtoull(v, NULL, 0);
            o.seedGiven = true;
        }
        else if (arg == "--out")
            o.out = DosPath(v);
        else if (arg == "--replay")
            o.replay.push_back(DosPath(v));
        else if (arg == "--corpus")
            o.corpus = DosPath(v);
        else if (arg == "--write-seeds")
            o.seedsOut = DosPath(v);
        else if (arg == "--hang-seconds")
            o.hangMs = (DWORD)(atof(v) * 1000);
        else if (arg == "--alloc-limit-mb")
            o.allocLimit = (size_t)atoll(v) << 20;
        else if (arg == "--max-input-kb")
            o.maxInput = (size_t)atoll(v) << 10;
        else
        {
            fprintf(stderr, "fuzz: unknown option %s\n", arg.c_str());
            return false;
        }
    }
    if (o.readers.empty() && o.replay.empty())
        for (const Reader& r : Readers())
            if (!r.probe)
                o.readers.push_back(&r);
    if (o.seconds <= 0 && o.inputs < 0)
        o.seconds = 10;
    if (o.out.IsEmpty())
        o.out = L"fuzz-out";
    o.out = WithSlash(FullPath(o.out));
    return true;
}

std::string ExceptionText(CException* e)
{
    WCHAR szMessage[512] = {0};
    e->GetErrorMessage(szMessage, 512, NULL);
    return std::string(e->GetRuntimeClass()->m_lpszClassName) + " (" + Narrow(szMessage) + ")";
}

struct Totals
{
    long long inputs = 0, loaded = 0, refused = 0, messageBoxes = 0, faults = 0;
};

// Runs one input with the reader, from the reader's input file.
Outcome RunInput(const Reader& reader, const Bytes& bytes, const CString& strPath,
                 CoverageSeen& seen, bool& bNewCoverage, Totals& totals)
{
    if (!WriteWholeFile(strPath, bytes))
    {
        fprintf(stderr, "fuzz: cannot write %s\n", Narrow(strPath).c_str());
        exit(ExitUsage);
    }
    TakeMessageBoxes();
    CString strClass;
    TakeBlockedWindows(strClass);
    EnterInput(reader.name, strPath, HashBytes(bytes));
    CoverageBegin();
    Outcome outcome;
    // Only what a reader may throw at all is caught here, to be reported as its fault; a
    // crash is left to show itself.
    try
    {
        outcome = reader.run(strPath);
    }
    catch (CException* e)
    {
        outcome.fault = "exception escaped the reader: " + ExceptionText(e);
        e->Delete();
    }
    catch (const std::exception& e)
    {
        outcome.fault = std::string("exception escaped the reader: ") + e.what();
    }
    bNewCoverage = CoverageEnd(seen);
    LeaveInput();
    const int nWindows = TakeBlockedWindows(strClass);
    if (nWindows > 0)
        outcome.fault += (outcome.fault.empty() ? "" : "; ") + std::to_string(nWindows) +
                         " window(s) opened, the first of class " + Narrow(strClass);
    totals.inputs++;
    (outcome.loaded ? totals.loaded : totals.refused)++;
    totals.messageBoxes += TakeMessageBoxes();
    return outcome;
}

// The same fault with other numbers in it is the same fault.
std::string FaultKey(const std::string& fault)
{
    std::string key;
    for (char c : fault)
        if (c < '0' || c > '9')
            key += c;
    return key;
}

std::vector<CString> FilesIn(const CString& strFolder)
{
    std::vector<CString> files;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + L"*", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(strFolder + data.cFileName);
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    // The order of the file system is not the same everywhere.
    std::sort(files.begin(), files.end(), [](const CString& a, const CString& b) {
        return lstrcmpW(a, b) < 0;
    });
    return files;
}

CString ReaderFolder(const Options& o, const Reader& reader)
{
    const CString strFolder = o.out + L"current\\" + CString(reader.name) + L"\\";
    CreateFolders(strFolder);
    return strFolder;
}

// ---- Fuzzing one reader -----------------------------------------------------------------

int FuzzReader(const Options& o, const Reader& reader)
{
    const CString strFolder = ReaderFolder(o, reader);
    const CString strPath = strFolder + reader.fileName;
    if (reader.prepare != NULL)
        reader.prepare(strFolder);
    printf("fuzz: %s: %s; current input %s\n", reader.name, reader.what,
           Narrow(strPath).c_str());
    fflush(stdout);

    uint64_t nameHash = HashBytes(Bytes(reader.name, reader.name + strlen(reader.name)));
    Rng rng(o.seed ^ nameHash);
    CoverageSeen seen;
    Totals totals;
    std::vector<Bytes> corpus;
    std::map<std::string, int> faults;
    int nFaults = 0;

    auto report = [&](const std::string& what, const std::string& fault) {
        const std::string key = FaultKey(fault);
        nFaults++;
        if (faults[key]++ > 0 || (int)faults.size() > o.maxFaults)
            return;
        const CString strSaved = SaveFinding(L"fault");
        printf("fuzz: %s: FAULT in %s: %s\n      input saved as %s\n", reader.name,
               what.c_str(), fault.c_str(), Narrow(strSaved).c_str());
        fflush(stdout);
    };

    std::vector<Seed> seeds;
    reader.makeSeeds(seeds);
    if (!o.seedsOut.IsEmpty())
    {
        const CString strSeeds = WithSlash(FullPath(o.seedsOut)) + CString(reader.name) + L"\\";
        CreateFolders(strSeeds);
        for (const Seed& seed : seeds)
            WriteWholeFile(strSeeds + CString(seed.name.c_str()) + strPath.Mid(strPath.ReverseFind(L'.')),
                           seed.bytes);
    }
    CString strCorpus;
    if (!o.corpus.IsEmpty())
    {
        strCorpus = WithSlash(o.corpus) + CString(reader.name) + L"\\";
        CreateFolders(strCorpus);
        for (const CString& strFile : FilesIn(strCorpus))
            seeds.push_back({Narrow(strFile), ReadWholeFile(strFile), true});
    }
    for (const Seed& seed : seeds)
    {
        bool bNew = false;
        const Outcome outcome = RunInput(reader, seed.bytes, strPath, seen, bNew, totals);
        if (!outcome.fault.empty())
            report("seed " + seed.name, outcome.fault);
        else if (!outcome.loaded && !seed.mayBeRefused)
            report("seed " + seed.name, "the seed was refused");
        corpus.push_back(seed.bytes);
    }
    if (!CoverageWorks())
        printf("fuzz: %s: no coverage feedback (the readers were built without it)\n",
               reader.name);

    const ULONGLONG nStart = GetTickCount64();
    ULONGLONG nLastStatus = nStart;
    const size_t kMaxCorpus = 4096;
    for (long long n = 0;; n++)
    {
        if (o.inputs >= 0 && n >= o.inputs)
            break;
        const ULONGLONG nNow = GetTickCount64();
        if (o.seconds > 0 && nNow - nStart >= (ULONGLONG)(o.seconds * 1000))
            break;
        if (nNow - nLastStatus >= 30000)
        {
            printf("fuzz: %s: %lld inputs, corpus %zu, %zu edges\n", reader.name, n,
                   corpus.size(), seen.edges);
            fflush(stdout);
            nLastStatus = nNow;
        }
        Bytes input = corpus[rng.Below(corpus.size())];
        const Bytes& other = corpus[rng.Below(corpus.size())];
        Mutate(input, other, rng, o.maxInput, reader.archiveStrings);
        bool bNew = false;
        const Outcome outcome = RunInput(reader, input, strPath, seen, bNew, totals);
        if (!outcome.fault.empty())
            report("input " + std::to_string(n), outcome.fault);
        else if (bNew)
        {
            if (!strCorpus.IsEmpty())
            {
                CString strName;
                strName.Format(L"%016llx", (unsigned long long)HashBytes(input));
                WriteWholeFile(strCorpus + strName, input);
            }
            if (corpus.size() < kMaxCorpus)
                corpus.push_back(std::move(input));
            else
                corpus[seeds.size() + rng.Below(kMaxCorpus - seeds.size())] = std::move(input);
        }
    }
    const double seconds = (GetTickCount64() - nStart) / 1000.0;
    printf("fuzz: %s: %lld inputs in %.1f s (%lld loaded, %lld refused, %lld message boxes), "
           "corpus %zu, %zu edges, %d faults (%zu distinct)\n",
           reader.name, totals.inputs, seconds, totals.loaded, totals.refused,
           totals.messageBoxes, corpus.size(), seen.edges, nFaults, faults.size());
    fflush(stdout);
    return nFaults;
}

// ---- Replay -----------------------------------------------------------------------------

int ReplayFile(const Options& o, const Reader& reader, const CString& strFile)
{
    const CString strFolder = ReaderFolder(o, reader);
    if (reader.prepare != NULL)
        reader.prepare(strFolder);
    CoverageSeen seen;
    Totals totals;
    bool bNew = false;
    const Outcome outcome =
        RunInput(reader, ReadWholeFile(strFile), strFolder + reader.fileName, seen, bNew, totals);
    if (outcome.fault.empty())
        return 0;
    printf("fuzz: %s: FAULT replaying %s: %s\n", reader.name, Narrow(strFile).c_str(),
           outcome.fault.c_str());
    return 1;
}

int Replay(const Options& o, const CString& strRoot)
{
    // One file: its folder names the reader.
    const DWORD dwAttributes = GetFileAttributesW(strRoot);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        const CString strParent = strRoot.Left(strRoot.ReverseFind(L'\\'));
        const Reader* reader = FindReader(Narrow(strParent.Mid(strParent.ReverseFind(L'\\') + 1)));
        if (reader == NULL)
        {
            printf("fuzz: the folder of %s names no reader\n", Narrow(strRoot).c_str());
            return 1;
        }
        const int nFaults = ReplayFile(o, *reader, strRoot);
        printf("fuzz: replayed %s, %d faults\n", Narrow(strRoot).c_str(), nFaults);
        return nFaults;
    }
    const CString strFolder = WithSlash(strRoot);
    const CString strName = strFolder.Left(strFolder.GetLength() - 1)
                                .Mid(strFolder.Left(strFolder.GetLength() - 1).ReverseFind(L'\\') + 1);
    int nFiles = 0, nFaults = 0;
    auto replayReader = [&](const Reader& reader, const CString& strReaderFolder) {
        for (const CString& strFile : FilesIn(strReaderFolder))
        {
            nFiles++;
            nFaults += ReplayFile(o, reader, strFile);
        }
    };
    if (const Reader* reader = FindReader(Narrow(strName)))
        replayReader(*reader, strFolder);
    else
        for (const Reader& reader : Readers())
            replayReader(reader, strFolder + CString(reader.name) + L"\\");
    printf("fuzz: replayed %d files of %s, %d faults\n", nFiles, Narrow(strFolder).c_str(),
           nFaults);
    fflush(stdout);
    return nFaults;
}

// The program folder the readers see: the shipped palettes and the English texts.
void SetUpProgramFolder(const Options& o)
{
    const CString strProgram = o.out + L"program\\";
    CreateFolders(strProgram + L"Palettes");
    const CString strData = WithSlash(DosPath(MOSAIC_DATA_DIR));
    for (const CString& strFile : FilesIn(strData + L"Palettes\\"))
        CopyFileW(strFile, strProgram + L"Palettes\\" + strFile.Mid(strFile.ReverseFind(L'\\') + 1),
                  FALSE);
    CopyFileW(strData + L"Text_Mosaic-409.fil", strProgram + L"Text_Mosaic-409.fil", FALSE);
    SetProgramFolder(strProgram);
    SetLangTextFolder(strProgram);
}

}   // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseOptions(argc, argv, o))
    {
        Usage();
        return ExitUsage;
    }
    if (!o.seedGiven)
        o.seed = (uint64_t)GetTickCount64() ^ ((uint64_t)GetCurrentProcessId() << 32);
    CreateFolders(o.out);
    StartGuards(o.out + L"findings\\", o.hangMs, o.allocLimit);
    SetUpProgramFolder(o);
    if (!o.readers.empty())
        printf("fuzz: seed %llu, output %s\n", (unsigned long long)o.seed, Narrow(o.out).c_str());
    fflush(stdout);

    int nFaults = 0;
    for (const CString& strFolder : o.replay)
        nFaults += Replay(o, strFolder);
    for (const Reader* reader : o.readers)
        nFaults += FuzzReader(o, *reader);
    if (nFaults > 0 && !o.readers.empty())
        printf("fuzz: %d faults; findings in %sfindings\n", nFaults, Narrow(o.out).c_str());
    fflush(stdout);
    return nFaults > 0 ? ExitFault : ExitClean;
}
