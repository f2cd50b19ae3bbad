// The table of readers the driver runs. A reader makes its seeds (small valid files, written
// by the program's own writers where it has them), then runs one input at a time from a file
// and checks what the program made of it. Adding a reader: a seed function, a run function
// and one line in the table (ReaderTable.cpp).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AfxString.h"
#include "Mutator.h"

namespace fuzz
{

struct Seed
{
    std::string name;
    Bytes bytes;
    bool mayBeRefused = false;   // otherwise a refused seed is a fault (of the seed or reader)
};

struct Outcome
{
    bool loaded = false;   // the reader took the input; false: it refused it cleanly
    std::string fault;     // what was wrong with the outcome; empty when it was sane
};

struct Reader
{
    const char* name;          // on the command line, and the folder of its findings
    LPCWSTR fileName;          // the name the input file gets: the reader may go by it
    const char* what;
    bool probe;                // a test of the driver itself: runs only when named
    // Once before the first input, with the folder that will hold the input file.
    void (*prepare)(const CString& strFolder);
    void (*makeSeeds)(std::vector<Seed>& seeds);
    Outcome (*run)(const CString& strPath);
    // Texts that may replace whole strings of the reader's archives (NULL-terminated), or NULL.
    const LPCWSTR* archiveStrings;
};

const std::vector<Reader>& Readers();
const Reader* FindReader(const std::string& name);

// Folders the driver sets up before any reader runs: the program folder the document reads
// its palettes from, and the language texts every reader but the language ones sees.
void SetProgramFolder(const CString& strFolder);
const CString& ProgramFolder();
// Message boxes the program asked for (answered OK without showing them), and how many
// since the last call.
void NoteMessageBox();
int TakeMessageBoxes();

// ---- Helpers shared by the readers ------------------------------------------------------
Bytes ReadWholeFile(const CString& strPath);
bool WriteWholeFile(const CString& strPath, const Bytes& bytes);
// A Windows path for a path of this machine ("/a/b" is "Z:\a\b").
CString DosPath(const char* pszPath);
std::string Narrow(const CString& str);
// The bytes a store archive writes through fnStore.
template <typename Fn> Bytes StoredBytes(Fn fnStore);

// Seeds and runs, one pair per reader (defined beside each kind of file).
void Ms2Seeds(std::vector<Seed>& seeds);
Outcome RunMs2(const CString& strPath);
void MosSeeds(std::vector<Seed>& seeds);
Outcome RunMosInDocument(const CString& strPath);
Outcome RunBmpReader(const CString& strPath);
void PaletteSeeds(std::vector<Seed>& seeds);
Outcome RunPalette(const CString& strPath);
void LangTextSeeds(std::vector<Seed>& seeds);
Outcome RunLangText(const CString& strPath);
void PrepareLangTextMerge(const CString& strFolder);
Outcome RunLangTextMerge(const CString& strPath);
void TextSeeds(std::vector<Seed>& seeds);
Outcome RunStdioText(const CString& strPath);

}   // namespace fuzz

#include "AfxArchive.h"
#include "AfxFile.h"

namespace fuzz
{

template <typename Fn> Bytes StoredBytes(Fn fnStore)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fnStore(ar);
        ar.Close();
    }
    Bytes bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

}   // namespace fuzz
