#include "MosaicTest.h"

#include "LangText.h"
#include "TextIds.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxGdi.h"
#include "TilePalette.h"
#include "WriteFailures.h"

namespace
{

typedef std::vector<BYTE> Bytes;

// ---- Bytes written after the ".pal" layout, independently of the archive code ----------

void PutByte(Bytes& out, int value)
{
    out.push_back((BYTE)value);
}

void PutInt(Bytes& out, int value)
{
    for (int i = 0; i < 4; i++)
        out.push_back((BYTE)((unsigned)value >> (8 * i)));
}

void PutWord(Bytes& out, int value)
{
    out.push_back((BYTE)value);
    out.push_back((BYTE)(value >> 8));
}

void PutDouble(Bytes& out, double value)
{
    BYTE raw[8];
    memcpy(raw, &value, 8);
    out.insert(out.end(), raw, raw + 8);
}

// The archive's Unicode string: 0xFF, 0xFFFE, a length byte (short strings only here),
// then UTF-16LE.
void PutString(Bytes& out, LPCWSTR text)
{
    int length = lstrlenW(text);
    PutByte(out, 0xFF);
    PutWord(out, 0xFFFE);
    PutByte(out, length);
    for (int i = 0; i < length; i++)
        PutWord(out, text[i]);
}

void PutDefaultFont(Bytes& out, int height = -14)
{
    PutInt(out, height);
    PutInt(out, 0);
    PutInt(out, 0);
    PutInt(out, 0);
    PutInt(out, 400);
    const int bytes[] = {0, 0, 0, 1, 3, 2, 1, 0x22};
    for (int value : bytes)
        PutByte(out, value);
    LPCWSTR face = L"Arial Unicode MS";
    for (int i = 0; i < 32; i++)
        PutWord(out, i < lstrlenW(face) ? face[i] : 0);
}

// A two-colour palette as the tests build it in memory and in bytes.
void FillTwoColours(C2Palette& palette, LPCWSTR name)
{
    palette.m_name = name;
    palette.m_description = L"Émaux";
    palette.m_costDivisor = 300;
    palette.m_tileSize = 2000;
    palette.m_jointWidth = 150;
    palette.m_colours[0] = {10, 20, 30, 1};
    palette.m_colourNames[0] = L"Rouge";
    palette.m_symbols[0] = L"R";
    palette.m_values[0] = 1.5;
    palette.m_colours[1] = {200, 100, 50, 1};
    palette.m_colourNames[1] = L"Bleu clair";
    palette.m_symbols[1] = L"B";
    palette.m_values[1] = 330.0;
    palette.m_notes[1] = L"n1";
    palette.m_symbolFonts[1].lfHeight = -20;
}

// Sections 1 and 2 of the two-colour palette.
void PutSections12(Bytes& out, LPCWSTR name)
{
    PutString(out, name);
    PutString(out, L"Émaux");
    PutInt(out, 300);
    PutInt(out, 2000);
    PutInt(out, 150);
    for (int i = 0; i < 256; i++)
    {
        if (i == 0)
        {
            PutByte(out, 10), PutByte(out, 20), PutByte(out, 30), PutByte(out, 1);
            PutString(out, L"Rouge");
            PutString(out, L"R");
            PutDouble(out, 1.5);
        }
        else if (i == 1)
        {
            PutByte(out, 200), PutByte(out, 100), PutByte(out, 50), PutByte(out, 1);
            PutString(out, L"Bleu clair");
            PutString(out, L"B");
            PutDouble(out, 330.0);
        }
        else
        {
            PutInt(out, 0);
            PutString(out, L"");
            PutString(out, L"");
            PutDouble(out, 0.0);
        }
    }
}

// Section 3 (the version) and 4 (the fonts).
void PutSections34(Bytes& out, int version)
{
    PutInt(out, version);
    for (int i = 0; i < 256; i++)
        PutDefaultFont(out, i == 1 ? -20 : -14);
}

void PutSection5(Bytes& out, int kind)
{
    PutInt(out, kind);
    for (int i = 0; i < 256; i++)
        PutString(out, i == 1 ? L"n1" : L"");
}

Bytes CurrentFile(LPCWSTR name, int kind)
{
    Bytes out;
    PutSections12(out, name);
    PutSections34(out, 12);
    PutSection5(out, kind);
    return out;
}

// ---- Archive helpers --------------------------------------------------------------------

Bytes Store(C2Palette& palette)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        palette.Serialize(ar);
        ar.Close();
    }
    Bytes out((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(out.data(), (UINT)out.size());
    return out;
}

// Loads the bytes (through SerializeVersion when documentVersion is not 0); returns the
// archive exception's cause, or -1 when the load succeeded. unread receives the bytes left.
int Load(C2Palette& palette, const Bytes& bytes, int documentVersion = 0,
         ULONGLONG* unread = NULL)
{
    Bytes copy(bytes);
    CMemFile file(copy.data(), (UINT)copy.size());
    int cause = -1;
    CArchive ar(&file, CArchive::load);
    try
    {
        if (documentVersion != 0)
            palette.SerializeVersion(ar, documentVersion);
        else
            palette.Serialize(ar);
        ar.Close();
        if (unread != NULL)
            *unread = file.GetLength() - file.GetPosition();
    }
    catch (CArchiveException* e)
    {
        cause = e->m_cause;
        e->Delete();
        ar.Abort();
    }
    return cause;
}

void ExpectTwoColours(const C2Palette& p)
{
    EXPECT_EQ(CString(L"Émaux"), p.m_description);
    EXPECT_EQ(300, p.m_costDivisor);
    EXPECT_EQ(2000, p.m_tileSize);
    EXPECT_EQ(150, p.m_jointWidth);
    EXPECT_EQ(200, p.m_colours[1].peRed);
    EXPECT_EQ(100, p.m_colours[1].peGreen);
    EXPECT_EQ(50, p.m_colours[1].peBlue);
    EXPECT_EQ(1, p.m_colours[1].peFlags);
    EXPECT_EQ(CString(L"Bleu clair"), p.m_colourNames[1]);
    EXPECT_EQ(CString(L"R"), p.m_symbols[0]);
    EXPECT_EQ(1.5, p.m_values[0]);
    EXPECT_EQ(0, p.m_colours[2].peFlags);
}

// The offset of the first byte that differs, or -1 when both are the same.
long FirstDifference(const Bytes& a, const Bytes& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        if (a[i] != b[i])
            return (long)i;
    return a.size() == b.size() ? -1 : (long)std::min(a.size(), b.size());
}

CString TempPath(LPCWSTR name)
{
    WCHAR folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return CString(folder) + name;
}

// ---- Archive form -----------------------------------------------------------------------

TEST(TilePaletteArchive, StoresTheCurrentLayoutByteForByte)
{
    C2Palette palette;
    FillTwoColours(palette, L"Essai");
    palette.m_version = 9;
    Bytes stored = Store(palette);
    Bytes expected = CurrentFile(L"Essai", 0);
    EXPECT_EQ(-1, FirstDifference(expected, stored));
    EXPECT_EQ(12, palette.m_version);

    C2Palette loaded;
    ULONGLONG unread = 1;
    ASSERT_EQ(-1, Load(loaded, stored, 0, &unread));
    EXPECT_EQ(0u, unread);
    EXPECT_EQ(CString(L"Essai"), loaded.m_name);
    ExpectTwoColours(loaded);
    EXPECT_EQ(CString(L"n1"), loaded.m_notes[1]);
    EXPECT_EQ(-20, loaded.m_symbolFonts[1].lfHeight);
    EXPECT_EQ(CString(L"Arial Unicode MS"), CString(loaded.m_symbolFonts[1].lfFaceName));
    EXPECT_EQ(12, loaded.m_version);
}

struct OlderForm
{
    int documentVersion;     // 0: a ".pal" file read on its own
    int fileVersion;         // 0: no sections 3 to 5
    bool section5;
    int expectedVersion;
    bool fontsRead;
    bool notesRead;
};

TEST(TilePaletteArchive, ReadsEveryOlderForm)
{
    const OlderForm forms[] = {
        {19, 0, false, 9, false, false},    // inside documents before version 20
        {20, 10, false, 10, true, false},   // fonts, no notes
        {25, 11, true, 11, true, true},
        {0, 10, false, 10, true, false},
        {0, 12, true, 12, true, true},
    };
    for (const OlderForm& form : forms)
    {
        SCOPED_TRACE(testing::Message() << "document " << form.documentVersion << " file "
                                        << form.fileVersion);
        Bytes bytes;
        PutSections12(bytes, L"Ancien");
        if (form.fileVersion != 0)
            PutSections34(bytes, form.fileVersion);
        if (form.section5)
            PutSection5(bytes, 2);
        C2Palette palette;
        palette.m_notes[1] = L"left over";
        palette.m_paletteKind = 4;
        ULONGLONG unread = 1;
        ASSERT_EQ(-1, Load(palette, bytes, form.documentVersion, &unread));
        EXPECT_EQ(0u, unread);
        ExpectTwoColours(palette);
        EXPECT_EQ(form.expectedVersion, palette.m_version);
        EXPECT_EQ(form.fontsRead ? -20 : -14, palette.m_symbolFonts[1].lfHeight);
        EXPECT_EQ(form.notesRead ? CString(L"n1") : CString(), palette.m_notes[1]);
        EXPECT_EQ(form.notesRead ? 2 : 0, palette.m_paletteKind);
        EXPECT_EQ(C2Palette::CurrentDocumentVersion, palette.m_documentVersion);
    }
}

TEST(TilePaletteArchive, ShortFormStillTakesTheKindFromTheName)
{
    Bytes bytes;
    PutSections12(bytes, L"BleuCordobaEye");
    C2Palette palette;
    ASSERT_EQ(-1, Load(palette, bytes, 19));
    EXPECT_EQ(9, palette.m_version);
    EXPECT_EQ(4, palette.m_paletteKind);
}

// An older document leaves version 9 and its document version behind; the next file is
// still read whole.
TEST(TilePaletteArchive, OlderDocumentDoesNotChangeHowTheNextFileIsRead)
{
    C2Palette palette;
    Bytes old;
    PutSections12(old, L"Ancien");
    ASSERT_EQ(-1, Load(palette, old, 19));
    ASSERT_EQ(9, palette.m_version);

    ULONGLONG unread = 1;
    ASSERT_EQ(-1, Load(palette, CurrentFile(L"Nouveau", 1), 0, &unread));
    EXPECT_EQ(0u, unread);
    EXPECT_EQ(CString(L"Nouveau"), palette.m_name);
    EXPECT_EQ(12, palette.m_version);
    EXPECT_EQ(1, palette.m_paletteKind);
    EXPECT_EQ(CString(L"n1"), palette.m_notes[1]);

    // The same through a document of the current version.
    ASSERT_EQ(-1, Load(palette, old, 19));
    Bytes embedded = CurrentFile(L"Nouveau", 1);
    PutInt(embedded, 0x5A5A5A5A);   // what the document stores after the palette
    ASSERT_EQ(-1, Load(palette, embedded, 39, &unread));
    EXPECT_EQ(4u, unread);
    EXPECT_EQ(CString(L"n1"), palette.m_notes[1]);
}

TEST(TilePaletteArchive, DamagedFileLeavesThePaletteAsItWas)
{
    Bytes good = CurrentFile(L"Nouveau", 1);
    const size_t section5 = 4 + 255 * 4 + 8;
    const size_t section4 = 256 * 92;
    const size_t cuts[] = {
        3,                                          // inside the name
        50,                                         // inside the colours
        good.size() - section5 - section4 / 2,      // inside the fonts
        good.size() - section5 + 2,                 // inside the kind
        good.size() - 1,                            // inside the last note
    };
    std::vector<Bytes> damaged;
    for (size_t cut : cuts)
        damaged.push_back(Bytes(good.begin(), good.begin() + cut));
    // A string that claims more characters than the file holds.
    Bytes lying;
    PutString(lying, L"Nom");
    lying[3] = 200;
    damaged.push_back(lying);
    // And one whose length prefix says 0xFFFFFFFF units.
    Bytes huge;
    const int prefix[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF};
    for (int value : prefix)
        PutByte(huge, value);
    damaged.push_back(huge);

    for (size_t i = 0; i < damaged.size(); i++)
    {
        SCOPED_TRACE(i);
        C2Palette palette;
        FillTwoColours(palette, L"Avant");
        palette.m_notes[0] = L"garde";
        palette.m_paletteKind = 3;
        palette.m_version = 9;
        EXPECT_NE(-1, Load(palette, damaged[i]));
        EXPECT_EQ(CString(L"Avant"), palette.m_name);
        ExpectTwoColours(palette);
        EXPECT_EQ(CString(L"garde"), palette.m_notes[0]);
        EXPECT_EQ(3, palette.m_paletteKind);
        EXPECT_EQ(9, palette.m_version);
        EXPECT_EQ(-20, palette.m_symbolFonts[1].lfHeight);
    }
}

TEST(TilePaletteArchive, FaceNameWithoutTerminatorIsCut)
{
    Bytes bytes;
    PutSections12(bytes, L"Ancien");
    PutInt(bytes, 12);
    for (int i = 0; i < 256; i++)
    {
        for (int k = 0; k < 5; k++)
            PutInt(bytes, -14);
        for (int k = 0; k < 8; k++)
            PutByte(bytes, 0);
        for (int k = 0; k < 32; k++)
            PutWord(bytes, L'X');
    }
    PutSection5(bytes, 0);
    C2Palette palette;
    ASSERT_EQ(-1, Load(palette, bytes));
    EXPECT_EQ(31, lstrlenW(palette.m_symbolFonts[5].lfFaceName));
}

// ---- Family kinds -----------------------------------------------------------------------

TEST(TilePaletteKind, FollowsTheNameRules)
{
    struct Case
    {
        LPCWSTR name;
        int before;
        int store;     // kind of the store pass
        int post;      // kind of the full rules
    };
    const Case cases[] = {
        {L"Bisazza-LeGemme", 0, 1, 1},
        {L"Bisazza-Vetricolor", 4, 1, 1},
        {L"bisazza-legemme", 2, 2, 2},            // case matters
        {L"EmauxDeBriare-Harmonies", 0, 2, 2},
        {L"EmauxDeBriare-Mazurka", 0, 2, 2},
        {L"EmauxDeBriare-Harmonies.pal", 0, 0, 0}, // equals is the whole name
        {L"Technopanel", 0, 3, 3},
        {L"SteinzeugBlau", 2, 2, 2},               // at the very start: no match
        {L"SteinzeugRose", 0, 3, 3},               // but the later rules still apply
        {L"Steinzeug-Steinzeug", 0, 3, 3},
        {L"GrauSteinzeug", 0, 3, 3},
        {L"Vidrepur-Lisos", 0, 3, 3},
        {L"Vidrepur-Nieblas", 0, 3, 3},
        {L"Vidrepur-Titanium", 0, 3, 3},
        {L"Vidrepur-Essentials", 0, 3, 3},
        {L"Vidrepur-Deco", 0, 3, 3},
        {L"Vidrepur-Arts", 0, 3, 3},
        {L"Vidrepur-Other", 1, 1, 1},
        {L"MicroVitrolan", 0, 3, 3},
        {L"SoloMosaic", 0, 3, 3},
        {L"VieuxRose", 0, 3, 3},
        {L"rose", 0, 0, 0},
        {L"YouWei-12", 0, 3, 3},
        {L"PierreTEXture", 0, 3, 3},
        {L"Texture", 0, 0, 0},
        {L"Verre-CordobaEye", 0, 4, 4},
        {L"Mosaica", 0, 0, 3},
        {L"Mosaica", 2, 2, 3},
        {L"Mosaica2", 1, 1, 1},
        {L"Verre-Nuances", 2, 2, 2},
        {L"", 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "name " << (LPCSTR)CW2A(c.name, CP_UTF8));
        EXPECT_EQ(c.store, C2Palette::KindFromName(c.name, c.before, TRUE));
        EXPECT_EQ(c.post, C2Palette::KindFromName(c.name, c.before, FALSE));
    }
}

TEST(TilePaletteKind, MosaicaIsStoredWithItsOldKind)
{
    C2Palette palette;
    FillTwoColours(palette, L"Mosaica");
    Bytes stored = Store(palette);
    EXPECT_EQ(3, palette.m_paletteKind);
    // Section 5: the kind, then 255 empty notes of 4 bytes and the note "n1" of 8.
    size_t kindAt = stored.size() - (255 * 4 + 8) - 4;
    EXPECT_EQ(0, stored[kindAt]);
    EXPECT_EQ(-1, FirstDifference(CurrentFile(L"Mosaica", 0), stored));

    C2Palette loaded;
    ASSERT_EQ(-1, Load(loaded, stored));
    EXPECT_EQ(3, loaded.m_paletteKind);
}

// ---- Names, colours, reset --------------------------------------------------------------

TEST(TilePaletteNames, TakesTheAttributesOfTheLowestEqualColour)
{
    for (int kind : {0, 2})
    {
        SCOPED_TRACE(kind);
        C2Palette tiles;
        tiles.m_costDivisor = 250;
        tiles.m_paletteKind = kind;
        for (int index : {7, 40})
        {
            tiles.m_colours[index] = {1, 2, 3, (BYTE)(index == 7 ? 0 : 1)};
            tiles.m_colourNames[index].Format(L"Ref%d", index);
            tiles.m_symbols[index].Format(L"S%d", index);
            tiles.m_notes[index].Format(L"Note%d", index);
            tiles.m_values[index] = index;
            tiles.m_symbolFonts[index].lfHeight = -index;
        }
        // Index 0 of the tile palette is black, as the unmatched colour 2 below is not.
        tiles.m_colourNames[0] = L"Noir";

        C2Palette image;
        image.m_colours[1] = {1, 2, 3, 1};
        image.m_colours[2] = {9, 9, 9, 1};
        image.m_colourNames[2] = L"ancien";
        image.m_notes[2] = L"ancienne";
        image.m_values[2] = 5.0;
        image.m_symbolFonts[2].lfHeight = -40;
        image.TakeNamesFrom(tiles);

        EXPECT_EQ(250, image.m_costDivisor);
        EXPECT_EQ(kind, image.m_paletteKind);
        EXPECT_EQ(CString(L"Ref7"), image.m_colourNames[1]);
        EXPECT_EQ(CString(L"S7"), image.m_symbols[1]);
        EXPECT_EQ(7.0, image.m_values[1]);
        EXPECT_EQ(-7, image.m_symbolFonts[1].lfHeight);
        EXPECT_EQ(kind == 0 ? CString(L"Note7") : CString(L"Ref7"), image.m_notes[1]);
        EXPECT_EQ(CString(), image.m_colourNames[2]);
        EXPECT_EQ(CString(), image.m_notes[2]);
        EXPECT_EQ(0.0, image.m_values[2]);
        EXPECT_EQ(-14, image.m_symbolFonts[2].lfHeight);
        EXPECT_EQ(CString(L"Noir"), image.m_colourNames[0]);   // black finds index 0
    }
}

TEST(TilePaletteNames, FindsTheFirstEqualColourWhateverTheUsedFlags)
{
    C2Palette image;
    C2Palette tiles;
    image.m_colours[3] = {5, 6, 7, 1};
    image.m_colours[4] = {5, 6, 8, 1};
    tiles.m_colours[9] = {5, 6, 7, 0};
    tiles.m_colours[12] = {5, 6, 7, 1};
    EXPECT_EQ(9, image.FindColourIn(tiles, 3));
    EXPECT_EQ(-1, image.FindColourIn(tiles, 4));
    EXPECT_EQ(0, image.FindColourIn(tiles, 0));     // black against black
    EXPECT_EQ(-1, image.FindColourIn(tiles, 256));
    EXPECT_EQ(-1, image.FindColourIn(tiles, -1));
}

TEST(TilePaletteNames, ResetEmptiesTheColoursAndKeepsVersionAndKind)
{
    C2Palette palette;
    FillTwoColours(palette, L"Essai");
    palette.m_version = 9;
    palette.m_paletteKind = 2;
    palette.m_labelStates[1] = -7;
    // The shipped language files, read through Wine's drive for the Linux root.
    CString dataFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    dataFolder.Replace(L'/', L'\\');
    SetLangTextFolder(dataFolder);
    palette.Reset();
    SetLangTextFolder(L"");
    EXPECT_FALSE(palette.m_name.IsEmpty());
    EXPECT_EQ(palette.m_name, palette.m_description);
    EXPECT_EQ(330, palette.m_costDivisor);
    EXPECT_EQ(2500, palette.m_tileSize);
    EXPECT_EQ(160, palette.m_jointWidth);
    EXPECT_EQ(0, palette.m_colours[1].peRed);
    EXPECT_EQ(0, palette.m_colours[1].peFlags);
    EXPECT_EQ(CString(), palette.m_colourNames[1]);
    EXPECT_EQ(CString(), palette.m_notes[1]);
    EXPECT_EQ(0.0, palette.m_values[1]);
    EXPECT_EQ(-14, palette.m_symbolFonts[1].lfHeight);
    EXPECT_EQ(9, palette.m_version);
    EXPECT_EQ(2, palette.m_paletteKind);
    EXPECT_EQ(-7, palette.m_labelStates[1]);
}

// ---- Files ------------------------------------------------------------------------------

TEST(TilePaletteFile, SavesAndLoadsAFile)
{
    CString path = TempPath(L"mosaic-palette-test.pal");
    C2Palette palette;
    FillTwoColours(palette, L"Ancien nom");
    palette.SaveToFile(path, L"Essai");
    EXPECT_EQ(CString(L"Essai"), palette.m_name);

    CFile file(path, CFile::modeRead);
    Bytes onDisk((size_t)file.GetLength());
    file.Read(onDisk.data(), (UINT)onDisk.size());
    file.Close();
    EXPECT_EQ(-1, FirstDifference(CurrentFile(L"Essai", 0), onDisk));

    C2Palette loaded;
    loaded.m_documentVersion = 19;     // as the text import may leave it
    EXPECT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(CString(L"Essai"), loaded.m_name);
    EXPECT_EQ(CString(L"n1"), loaded.m_notes[1]);
    ExpectTwoColours(loaded);
    DeleteFileW(path);
}

TEST(TilePaletteFile, MissingFileLeavesThePaletteAsItWas)
{
    C2Palette palette;
    FillTwoColours(palette, L"Avant");
    EXPECT_FALSE(palette.LoadFromFile(TempPath(L"no-such-folder\\none.pal")));
    EXPECT_EQ(CString(L"Avant"), palette.m_name);
    ExpectTwoColours(palette);
}

TEST(TilePaletteFile, OpenWithoutAskingLoadsTheGivenPathOrNothing)
{
    CString path = TempPath(L"mosaic-palette-open.pal");
    C2Palette saved;
    FillTwoColours(saved, L"Essai");
    saved.SaveToFile(path, L"Ouverte");

    C2Palette palette;
    EXPECT_TRUE(palette.OpenDialog(0, TempPath(L"no-such-folder\\none.pal")).IsEmpty());
    EXPECT_NE(CString(L"Ouverte"), palette.m_name);
    EXPECT_EQ(path, palette.OpenDialog(0, path));
    EXPECT_EQ(CString(L"Ouverte"), palette.m_name);
    ExpectTwoColours(palette);
    DeleteFileW(path);
}

TEST(TilePaletteFile, UncreatableFileThrowsTheFileException)
{
    C2Palette palette;
    bool thrown = false;
    try
    {
        palette.SaveToFile(TempPath(L"no-such-folder\\x.pal"), L"X");
    }
    catch (CFileException* e)
    {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

// A save that fails on the way, on a full disk or in a folder that takes no new file, leaves
// the file as it was and the palette with its name, and names the file.
TEST(TilePaletteFile, AFailedSaveLeavesTheFileAndTheNameAsTheyWere)
{
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    CString strFolder;
    strFolder.Format(L"%smosaic-palette-fail-%u\\", szTemp, (UINT)GetCurrentProcessId());
    CreateDirectoryW(strFolder, NULL);
    const CString path = strFolder + L"kept.pal";
    C2Palette palette;
    FillTwoColours(palette, L"Kept");
    palette.SaveToFile(path, L"Kept");
    CFile before(path, CFile::modeRead);
    const ULONGLONG nBefore = before.GetLength();
    before.Close();
    // The file the exception names, empty when the save succeeded.
    auto failedSave = [&palette, &path]() {
        CString strThrownFor;
        try
        {
            palette.SaveToFile(path, L"Other");
        }
        catch (CFileException* e)
        {
            strThrownFor = e->m_strFileName;
            e->Delete();
        }
        return strThrownFor;
    };
    for (const char* pszCase : {"full disk", "read-only folder"})
    {
        SCOPED_TRACE(pszCase);
        CString strThrownFor;
        if (pszCase[0] == 'f')
        {
            FullDisk full(1000);
            strThrownFor = failedSave();
        }
        else
        {
            ReadOnlyFolder readOnly(strFolder);
            if (!readOnly.IsReadOnly())
                continue;
            strThrownFor = failedSave();
        }
        EXPECT_EQ(path, strThrownFor);
        EXPECT_EQ(CString(L"Kept"), palette.m_name);
        CFile after(path, CFile::modeRead);
        EXPECT_EQ(nBefore, after.GetLength());
        after.Close();
        C2Palette loaded;
        EXPECT_TRUE(loaded.LoadFromFile(path));
        EXPECT_EQ(CString(L"Kept"), loaded.m_name);
        ExpectTwoColours(loaded);
    }
    DeleteFileW(path);
    RemoveDirectoryW(strFolder);
}

// ---- Label pictures ---------------------------------------------------------------------

class TilePaletteLabels : public testing::Test
{
protected:
    static constexpr int n = 40;
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ oldBitmap = NULL;
    CRasterImage masks0[16];
    CRasterImage masks1[16];

    void SetUp() override
    {
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, n, n));
        oldBitmap = dc.SelectObject((HGDIOBJ)bitmap.GetSafeHandle());
        dc.SetBkMode(TRANSPARENT);
        for (int t = 0; t < 8; t++)
        {
            masks0[t].Create(0, n, n);
            masks0[t].FillBytes(1);
            masks1[t].Create(0, n, n);
            masks1[t].FillBytes(1);
        }
    }

    void TearDown() override
    {
        dc.SelectObject(oldBitmap);
        for (int t = 0; t < 16; t++)
        {
            masks0[t].Free();
            masks1[t].Free();
        }
    }

    static int CountLabelPixels(const CRasterImage& image)
    {
        int count = 0;
        for (UINT i = 0; i < image.size; i++)
        {
            EXPECT_LE(image.data[i], 1);
            count += image.data[i];
        }
        return count;
    }

    int Draw(C2Palette& palette, int a, int height, int fit, int kind, int displayMode,
             int labelMode, int pavingType = PavingSquares)
    {
        return palette.DrawTile(&dc, a, height, fit, kind, displayMode, n, labelMode,
                                &palette, masks0, masks1, pavingType, 0);
    }
};

TEST_F(TilePaletteLabels, LabelColourFollowsTheTileColour)
{
    struct Case
    {
        PaletteEntry colour;
        int displayMode;
        int state;
    };
    const Case cases[] = {
        {{20, 20, 60, 1}, 2, -7},       // dark tile: white label
        {{240, 230, 200, 1}, 2, -6},    // light tile: black label
        {{20, 20, 60, 1}, 1, -6},       // symbols only: always black
    };
    for (const Case& c : cases)
    {
        C2Palette palette;
        palette.m_colours[5] = c.colour;
        ASSERT_EQ(1, Draw(palette, 5, 14, 30, 0, c.displayMode, 0));
        const CRasterImage& image = palette.m_tileImages[C2Palette::TileImageIndex(0, 0, 5)];
        EXPECT_EQ(n, image.width);
        EXPECT_EQ(n, image.height);
        EXPECT_EQ(0, image.type);
        EXPECT_GT(CountLabelPixels(image), 0);
        EXPECT_EQ(c.state, palette.m_labelStates[5]);
    }
}

TEST_F(TilePaletteLabels, BlankSymbolIsDrawnAsAQuestionMark)
{
    C2Palette palette;
    palette.m_symbols[3] = L" ";
    palette.m_symbols[4] = L"?";
    ASSERT_EQ(1, Draw(palette, 3, 16, 30, 0, 1, 2));
    ASSERT_EQ(1, Draw(palette, 4, 16, 30, 0, 1, 2));
    const CRasterImage& blank = palette.m_tileImages[C2Palette::TileImageIndex(0, 0, 3)];
    const CRasterImage& mark = palette.m_tileImages[C2Palette::TileImageIndex(0, 0, 4)];
    EXPECT_GT(CountLabelPixels(blank), 0);
    EXPECT_EQ(0, memcmp(blank.data, mark.data, n * n));
    // The symbol font keeps the height it was drawn with.
    EXPECT_EQ(-16, palette.m_symbolFonts[3].lfHeight);
}

TEST_F(TilePaletteLabels, LabelThatDoesNotFitLeavesAnEmptyPicture)
{
    C2Palette palette;
    palette.m_symbols[2] = L"WWWWWW";
    EXPECT_EQ(0, Draw(palette, 2, 20, 20, 0, 1, 2));
    const CRasterImage& image = palette.m_tileImages[C2Palette::TileImageIndex(0, 0, 2)];
    EXPECT_EQ(n, image.width);
    EXPECT_EQ(0, CountLabelPixels(image));
    EXPECT_EQ(-4, palette.m_labelStates[2]);
}

TEST_F(TilePaletteLabels, LabelOutsideTheShapeDoesNotFit)
{
    C2Palette palette;
    // Only the bottom half of the tile (rows 0 to n/2 - 1 of the mask) is tile.
    masks0[PavingSquares].FillBytes(0);
    for (int y = 0; y < n / 2; y++)
        for (int x = 0; x < n; x++)
            masks0[PavingSquares].SetByte(x, y, 1);
    // Kind 3 puts one copy in each half: the upper one lies outside.
    EXPECT_EQ(0, Draw(palette, 7, 10, 20, 3, 1, 0));
    // Kind 0 with a small label sits in the middle, across both halves.
    EXPECT_EQ(0, Draw(palette, 7, 10, 20, 0, 1, 0));
    masks0[PavingSquares].FillBytes(1);
    EXPECT_EQ(1, Draw(palette, 7, 10, 20, 3, 1, 0));
    const CRasterImage& image = palette.m_tileImages[C2Palette::TileImageIndex(0, 3, 7)];
    // Two copies: pixels above and below the middle row.
    int upper = 0, lower = 0;
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
            (y < n / 2 ? upper : lower) += image.GetByte(x, y);
    EXPECT_GT(upper, 0);
    EXPECT_GT(lower, 0);
}

// Kind 1 puts one copy left of the middle (x from f - 1 - tw) and one right of it (x from
// f + 1): a text wider than f - 1 falls off the tile on both sides, and must not count as
// fitting, or the label would vanish while the search stops.
TEST_F(TilePaletteLabels, CopyFallingOffTheTileDoesNotFit)
{
    C2Palette palette;
    const int height = 14;
    const int fit = 36;
    LOGFONTW font;
    palette.GetSymbolFont(font);
    font.lfHeight = -height;
    CFont measureFont;
    ASSERT_TRUE(measureFont.CreateFontIndirect(&font));
    HGDIOBJ old = dc.SelectObject((HGDIOBJ)measureFont.GetSafeHandle());
    CString wide;
    for (CString text = L"W"; text.GetLength() < 8; text += L"W")
    {
        CSize extent = dc.GetTextExtent(text);
        if (extent.cx > n / 2 - 1 && extent.cx < 0.9 * fit && extent.cy < 0.9 * fit)
        {
            wide = text;
            break;
        }
    }
    dc.SelectObject(old);
    ASSERT_FALSE(wide.IsEmpty());

    palette.m_symbols[9] = wide;
    EXPECT_EQ(0, Draw(palette, 9, height, fit, 1, 1, 2));
    palette.m_symbols[9] = L"W";
    EXPECT_EQ(1, Draw(palette, 9, height, fit, 1, 1, 2));
}

TEST_F(TilePaletteLabels, BuildRendersOnlyTheKindsInUse)
{
    C2Palette image;
    C2Palette tiles;
    int whole[256] = {0};
    int halves[256] = {0};
    int none[256] = {0};
    whole[0] = 5;
    halves[1] = 2;
    image.m_colours[1] = {255, 255, 255, 1};
    image.BuildTileImages(2, 3, n, 1, &tiles, PavingTriangles, masks0, masks1, whole, halves,
                          none, none, none);
    // Colour 0 is black, found at index 0 of the tile palette; colour 1 (white) is not in
    // it and gets "?".
    for (int orientation = 0; orientation < 2; orientation++)
    {
        const CRasterImage& label =
            image.m_tileImages[C2Palette::TileImageIndex(orientation, 0, 0)];
        ASSERT_TRUE(label.data != NULL);
        EXPECT_GT(CountLabelPixels(label), 0);
        for (int kind : {3, 4})
            EXPECT_TRUE(image.m_tileImages[C2Palette::TileImageIndex(orientation, kind, 1)]
                            .data != NULL);
        EXPECT_TRUE(image.m_tileImages[C2Palette::TileImageIndex(orientation, 3, 0)].data ==
                    NULL);
        EXPECT_TRUE(image.m_tileImages[C2Palette::TileImageIndex(orientation, 0, 1)].data ==
                    NULL);
    }
    EXPECT_EQ(-7, image.m_labelStates[0]);
    EXPECT_EQ(-6, image.m_labelStates[1]);
    EXPECT_TRUE(image.m_tileImages[C2Palette::TileImageIndex(0, 0, 2)].data == NULL);
}

TEST_F(TilePaletteLabels, BuildLeavesNoLabelWhenNoSizeFits)
{
    C2Palette image;
    int whole[256] = {0};
    whole[0] = 1;
    for (int t = 0; t < 8; t++)
        masks0[t].FillBytes(0);     // nothing is tile: every label lies outside
    image.BuildTileImages(2, 1, n, 0, &image, PavingSquares, masks0, masks1, whole, NULL,
                          NULL, NULL, NULL);
    const CRasterImage& label = image.m_tileImages[C2Palette::TileImageIndex(0, 0, 0)];
    ASSERT_TRUE(label.data != NULL);
    EXPECT_EQ(n, label.width);
    EXPECT_EQ(0, CountLabelPixels(label));
}

}
