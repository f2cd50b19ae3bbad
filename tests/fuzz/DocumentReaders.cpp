// ".ms2" documents and older ".mos" mosaics opened through the document, as the program
// opens them: one document for every input, as the program keeps one.
#include "Readers.h"

#include <string.h>

#include "DocPaths.h"
#include "Paving.h"
#include "VitrolanDoc.h"

namespace fuzz
{
namespace
{

int CountMessage(LPCTSTR)
{
    NoteMessageBox();
    return IDOK;
}

CVitrolanDoc& SharedDocument()
{
    // Never destroyed: its destructor would write the fuzzed settings into the profile,
    // which the other test programs share.
    static CVitrolanDoc* s_pDoc = NULL;
    if (s_pDoc == NULL)
    {
        DocUiHooks hooks = {};
        hooks.pfnConfirmMix = [] { return 1; };
        hooks.pfnRefreshImageBar = [] {};
        hooks.pfnPressImageBarButton = [](int) {};
        hooks.pfnEraseShape = [](CShpRectangle*) {};
        hooks.pfnMessageBox = CountMessage;
        hooks.pfnAskGridSize = [](int*, int*) -> INT_PTR {
            NoteMessageBox();
            return IDCANCEL;
        };
        hooks.pfnResetScroll = [] {};
        hooks.pfnResetImageBar = [] {};
        hooks.pfnRefreshTileBar = [] {};
        hooks.pfnShowPaletteBars = [] {};
        hooks.pfnRezoomShape = [](CShpRectangle*, int, int) {};
        hooks.pfnShowTilePaletteDialog = [](CVitrolanDoc*) {};
        hooks.pfnShowTilePaletteBar = [] {};
        CVitrolanDoc::s_uiHooks = hooks;
        s_pDoc = new CVitrolanDoc;
        s_pDoc->m_programFolder = ProgramFolder();
    }
    return *s_pDoc;
}

// ---- What a failed open must leave as it was -----------------------------------------------

struct Hasher
{
    uint64_t value = 0xCBF29CE484222325ull;
    void Add(const void* p, size_t n)
    {
        const BYTE* b = (const BYTE*)p;
        for (size_t i = 0; i < n; i++)
            value = (value ^ b[i]) * 0x100000001B3ull;
    }
    void Add(int n) { Add(&n, sizeof(n)); }
    void Add(const CString& s)
    {
        Add(s.GetLength());
        Add(s.GetString(), (size_t)s.GetLength() * sizeof(WCHAR));
    }
    void Add(const CRasterImage& image)
    {
        Add(image.type);
        Add(image.width);
        Add(image.height);
        Add((int)image.size);
        Add(image.data != NULL ? 1 : 0);
        if (image.data != NULL)
            Add(image.data, (size_t)image.size * (image.type == 1 ? 3 : 1));
    }
};

uint64_t HashPalette(const C2Palette& p)
{
    Hasher h;
    h.Add(p.m_version);
    h.Add(p.m_name);
    h.Add(p.m_description);
    h.Add(p.m_costDivisor);
    h.Add(p.m_tileSize);
    h.Add(p.m_jointWidth);
    h.Add(p.m_paletteKind);
    h.Add(p.m_colours, sizeof(p.m_colours));
    h.Add(p.m_values, sizeof(p.m_values));
    h.Add(p.m_symbolFonts, sizeof(p.m_symbolFonts));
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        h.Add(p.m_colourNames[i]);
        h.Add(p.m_symbols[i]);
        h.Add(p.m_notes[i]);
    }
    return h.value;
}

struct DocState
{
    int values[22];
    CString strings[4];
    uint64_t working, committed, imagePalette, tilePalette, header, tables, clients;

    static const char* ValueName(int i)
    {
        static const char* const kNames[] = {
            "m_cols", "m_rows", "m_colourCount", "m_version", "m_tileSize", "carplaquex",
            "carplaquey", "m_pavingType", "m_mixCount", "m_mixDirection", "m_allowedCount",
            "unites", "format", "taillecar", "intercar", "m_showJoints", "m_showPlaques",
            "numerosgrille", "grillescouleur", "responsive", "imprVignettes", "affichage"};
        return kNames[i];
    }

    explicit DocState(const CVitrolanDoc& d)
    {
        const int v[] = {d.m_cols, d.m_rows, d.m_colourCount, d.m_version, d.m_tileSize,
                         d.carplaquex, d.carplaquey, d.m_pavingType, d.m_mixCount,
                         d.m_mixDirection, d.m_allowedCount, d.unites, d.format, d.taillecar,
                         d.intercar, d.m_showJoints, d.m_showPlaques, d.numerosgrille,
                         d.grillescouleur, d.responsive, d.imprVignettes, d.affichage};
        static_assert(sizeof(v) == sizeof(values), "every value has its name");
        memcpy(values, v, sizeof(values));
        strings[0] = d.m_path;
        strings[1] = d.m_saveName;
        strings[2] = d.palettefile;
        strings[3] = d.money;
        Hasher w, c, hd, t, cl;
        w.Add(d.m_workingMap);
        c.Add(d.m_committedMap);
        hd.Add(d.m_bmpHeader, sizeof(*d.m_bmpHeader));
        t.Add(d.m_allowedColours, sizeof(d.m_allowedColours));
        t.Add(d.m_mixStart, sizeof(d.m_mixStart));
        t.Add(d.m_mixStep, sizeof(d.m_mixStep));
        t.Add(d.m_mixOptions, sizeof(d.m_mixOptions));
        t.Add(d.m_mixPercent, sizeof(d.m_mixPercent));
        for (const CString& s : d.m_clientStrings)
            cl.Add(s);
        cl.Add(d.m_reservedValue);
        working = w.value;
        committed = c.value;
        imagePalette = HashPalette(d.m_imagePalette);
        tilePalette = HashPalette(d.m_tilePalette);
        header = hd.value;
        tables = t.value;
        clients = cl.value;
    }

    // The fields that differ, or empty.
    std::string Changes(const DocState& after) const
    {
        std::string strChanges;
        auto note = [&strChanges](const std::string& what) {
            strChanges += strChanges.empty() ? what : ", " + what;
        };
        for (int i = 0; i < 22; i++)
            if (values[i] != after.values[i])
                note(std::string(ValueName(i)) + " " + std::to_string(values[i]) + " -> " +
                     std::to_string(after.values[i]));
        static const char* const kStrings[] = {"m_path", "m_saveName", "palettefile", "money"};
        for (int i = 0; i < 4; i++)
            if (strings[i] != after.strings[i])
                note(kStrings[i]);
        if (working != after.working)
            note("working map");
        if (committed != after.committed)
            note("committed map");
        if (imagePalette != after.imagePalette)
            note("image palette");
        if (tilePalette != after.tilePalette)
            note("tile palette");
        if (header != after.header)
            note("bitmap header");
        if (tables != after.tables)
            note("mixing tables");
        if (clients != after.clients)
            note("customer strings");
        return strChanges;
    }
};

bool InRange(int value, int nMin, int nMax)
{
    return value >= nMin && value <= nMax;
}

std::string CheckMap(const char* pszName, const CRasterImage& map, int cols, int rows)
{
    if (map.data == NULL || map.type != 0 || map.width != 4 * cols || map.height != 4 * rows ||
        map.size != (UINT)map.width * (UINT)map.height)
        return std::string(pszName) + " is " + std::to_string(map.width) + " x " +
               std::to_string(map.height) + (map.data == NULL ? " without pixels" : "") +
               " for a grid of " + std::to_string(cols) + " x " + std::to_string(rows);
    return std::string();
}

// What an open that succeeded must leave: a mosaic the rest of the program can work with.
std::string CheckOpenedMosaic(CVitrolanDoc& d, const CString& strPath)
{
    if (d.m_cols < 1 || d.m_rows < 1)
        return "opened a mosaic of " + std::to_string(d.m_cols) + " x " +
               std::to_string(d.m_rows) + " cells";
    std::string strFault = CheckMap("working map", d.m_workingMap, d.m_cols, d.m_rows);
    if (strFault.empty())
        strFault = CheckMap("committed map", d.m_committedMap, d.m_cols, d.m_rows);
    if (!strFault.empty())
        return strFault;
    if (memcmp(d.m_workingMap.data, d.m_committedMap.data, d.m_workingMap.size) != 0)
        return "the working and committed maps differ after the open";
    if (!InRange(d.m_colourCount, 0, MaxColourCount))
        return "m_colourCount " + std::to_string(d.m_colourCount);
    // The colours in use are packed at the front of the image palette.
    d.CountTilesPerColour();
    for (int c = 0; c < C2Palette::ColourCount; c++)
    {
        bool bUsed = false;
        for (int t = 0; t < 5; t++)
            bUsed = bUsed || d.m_tileCounts[t][c] != 0;
        if (bUsed != (c < d.m_colourCount))
            return "colour " + std::to_string(c) + (bUsed ? " is" : " is not") +
                   " in use with m_colourCount " + std::to_string(d.m_colourCount);
    }
    struct Range
    {
        const char* name;
        int value, nMin, nMax;
    };
    const Range ranges[] = {
        {"m_version", d.m_version, 0, Ms2CurrentVersion},
        {"m_tileSize", d.m_tileSize, 1, MaxTileDisplaySize},
        {"m_pavingType", d.m_pavingType, 0, PavingTypeCount - 1},
        {"m_mixCount", d.m_mixCount, 1, MaxMixCount},
        {"m_allowedCount", d.m_allowedCount, 0, MaxColourCount},
        {"unites", d.unites, 0, 1},
        {"format", d.format, 0, PaperFormatCount - 1},
        {"carplaquex", d.carplaquex, 1, MaxPlateTiles},
        {"carplaquey", d.carplaquey, 1, MaxPlateTiles},
        {"taillecar", d.taillecar, 1, MaxLength},
        {"intercar", d.intercar, 0, MaxLength},
        {"m_loaded", d.m_loaded, 1, 1},
        {"m_dirty", d.m_dirty, 0, 0},
    };
    for (const Range& r : ranges)
        if (!InRange(r.value, r.nMin, r.nMax))
            return std::string(r.name) + " is " + std::to_string(r.value);
    const CString strSaveName = CutExtension(strPath) + L".ms2";
    if (d.m_saveName != strSaveName || d.m_path != strSaveName)
        return "save name " + Narrow(d.m_saveName) + ", path " + Narrow(d.m_path);
    return std::string();
}

Outcome OpenInDocument(const CString& strPath)
{
    CVitrolanDoc& d = SharedDocument();
    const DocState before(d);
    Outcome outcome;
    outcome.loaded = d.OnOpenDocument(strPath) != FALSE;
    if (outcome.loaded)
        outcome.fault = CheckOpenedMosaic(d, strPath);
    else
    {
        const std::string strChanges = before.Changes(DocState(d));
        if (!strChanges.empty())
            outcome.fault = "refused, but the document changed: " + strChanges;
    }
    return outcome;
}

// ---- Seeds -----------------------------------------------------------------------------------

const int kCols = 6;
const int kRows = 4;

// Values of cell (col, row): every kind, a hole, border shapes, five colours.
void CellValues(int col, int row, int& shape, int& kind, int& a, int& b)
{
    const int n = col + kCols * row;
    kind = n % 7;
    shape = n == 9 ? ShapeHole : (n % 5 == 3 ? 1 + n % 12 : ShapeWhole);
    a = n % 5;
    b = (n * 3 + 1) % 5;
}

// A small mosaic in the document: split cells of every kind, a palette of named colours
// (two of the same colour, which the open merges) and the customer's data.
void FillDocument(CVitrolanDoc& d)
{
    d.m_cols = kCols;
    d.m_rows = kRows;
    d.m_committedMap.Create(0, 4 * kCols, 4 * kRows);
    for (int row = 0; row < kRows; row++)
        for (int col = 0; col < kCols; col++)
        {
            int shape, kind, a, b;
            CellValues(col, row, shape, kind, a, b);
            d.m_committedMap.SetCell(col, row, shape, kind, a, b, (a + 1) % 5, (b + 2) % 5,
                                     col % 3, row % 3, 1, 2);
        }
    d.m_colourCount = 5;
    static const BYTE kRgb[5][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200},
                                    {240, 240, 240}, {30, 200, 30}};
    C2Palette& p = d.m_imagePalette;
    p.m_name = L"Ceramique-Mate";
    p.m_description = L"Fuzz seed";
    for (int c = 0; c < 5; c++)
    {
        p.m_colours[c].peRed = kRgb[c][0];
        p.m_colours[c].peGreen = kRgb[c][1];
        p.m_colours[c].peBlue = kRgb[c][2];
        p.m_colours[c].peFlags = 1;
        p.m_colourNames[c].Format(L"CM-%02d", c + 1);
        p.m_symbols[c].Format(L"%c", L'A' + c);
        p.m_notes[c] = c == 2 ? L"Bleu roi" : L"";
        p.m_values[c] = 1.25 * (c + 1);
    }
    d.money = L"EUR";
    d.palettefile = L"Ceramique-Mate.pal";
    d.carplaquex = 3;
    d.carplaquey = 2;
    d.taillecar = 2000;
    d.intercar = 150;
    d.unites = 0;
    d.format = 1;
    d.direction = 1;
    d.m_pavingType = 2;
    d.m_tileSize = 8;
    d.m_mixCount = 4;
    d.m_mixDirection = 1;
    d.m_allowedCount = 3;
    for (int c = 0; c < 3; c++)
    {
        d.m_allowedColours[c] = c;
        d.m_mixStart[c] = 10 * c;
        d.m_mixStep[c] = 5;
        d.m_mixPercent[0][c] = 50;
        d.m_mixPercent[1][c] = 25;
    }
    const LPCWSTR kClient[8] = {L"Dupont", L"Zo\u00EB", L"1 rue des Lilas", L"75001",
                                L"Paris", L"France", L"01 02 03 04 05", L""};
    for (int i = 0; i < 8; i++)
        d.m_clientStrings[i] = kClient[i];
    // Long enough for the string form's longer length prefix.
    d.m_clientStrings[7] = CString(L'x', 300);
    d.m_reservedValue = 7;
    memset(d.m_bmpHeader, 0, sizeof(*d.m_bmpHeader));
    d.m_bmpHeader->biSize = sizeof(BITMAPINFOHEADER);
    d.m_bmpHeader->biWidth = kCols;
    d.m_bmpHeader->biHeight = kRows;
    d.m_bmpHeader->biBitCount = 8;
    d.m_bmpHeader->biPlanes = 1;
}

void StoreString(CArchive& ar, const CString& s, bool bAnsi)
{
    if (!bAnsi)
    {
        ar << s;
        return;
    }
    const CStringA strAnsi(s);
    ar << (BYTE)strAnsi.GetLength();
    ar.Write(strAnsi.GetString(), (UINT)strAnsi.GetLength());
}

// The map of an older layout: cells of 2 x 2 (before version 20) or 3 x 3 bytes (20).
void StoreOlderMap(CArchive& ar, int version)
{
    const int block = version < 20 ? 2 : 3;
    const int width = block * kCols, height = block * kRows;
    ar << 0 << width << height << (UINT)(width * height);
    if (version >= 21)
        ar << 1;
    Bytes map((size_t)width * height, 0);
    for (int row = 0; row < kRows; row++)
        for (int col = 0; col < kCols; col++)
        {
            int shape, kind, a, b;
            CellValues(col, row, shape, kind, a, b);
            BYTE* cell = map.data() + (size_t)row * block * width + (size_t)col * block;
            cell[0] = (BYTE)shape;
            cell[1] = (BYTE)(kind % 4);   // the older layouts know four kinds
            if (block == 2)
            {
                cell[width] = (BYTE)a;
                cell[width + 1] = (BYTE)b;
            }
            else
            {
                cell[2] = (BYTE)a;
                cell[width] = (BYTE)b;
            }
        }
    ar.Write(map.data(), (UINT)map.size());
}

// The palette of documents before version 20: no version, fonts, kind or notes.
void StoreShortPalette(CArchive& ar, const C2Palette& p)
{
    ar << p.m_name << p.m_description << p.m_costDivisor << p.m_tileSize << p.m_jointWidth;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        ar << p.m_colours[i].peRed << p.m_colours[i].peGreen << p.m_colours[i].peBlue
           << p.m_colours[i].peFlags;
        ar << p.m_colourNames[i] << p.m_symbols[i] << p.m_values[i];
    }
}

// A document of an older version, in the layout the reader expects of it. The program
// writes only the current version; older files are written here field by field.
void StoreOlderDocument(CArchive& ar, CVitrolanDoc& d, int version, bool bAnsiStrings)
{
    ar << d.m_cols << d.m_rows << d.m_colourCount << d.carplaquex << d.carplaquey
       << d.m_showJoints << d.m_showPlaques << d.taillecar << d.intercar << d.coljoint
       << d.colfond << d.filet << d.impression << d.unites << d.format << d.direction
       << d.decalage << d.regles;
    StoreString(ar, d.money, bAnsiStrings);
    StoreString(ar, d.money, bAnsiStrings);
    StoreString(ar, d.palettefile, bAnsiStrings);
    ar << version;
    const BITMAPINFOHEADER& h = *d.m_bmpHeader;
    ar << (int)h.biWidth << (int)h.biHeight << (UINT)h.biSizeImage << (int)h.biXPelsPerMeter
       << (int)h.biYPelsPerMeter << (WORD)h.biBitCount << (UINT)h.biClrImportant
       << (UINT)h.biClrUsed << (UINT)h.biCompression << (WORD)h.biPlanes << (UINT)h.biSize;
    for (int c = 0; c < 256; c++)
    {
        ar << d.m_allowedColours[c] << d.m_mixStart[c] << d.m_mixStep[c] << d.m_mixOptions[c];
        for (int m = 0; m < MaxMixCount; m++)
            ar << d.m_mixPercent[m][c];
    }
    ar << d.m_mixCount << d.m_mixDirection << d.m_allowedCount;
    if (version >= 20)
        ar << d.m_pavingType << d.numerosgrille << d.grillescouleur;
    if (version >= 38)
        ar << d.responsive << d.imprVignettes;
    if (version <= 20)
        StoreOlderMap(ar, version);
    else
        d.m_committedMap.Serialize(ar, version);
    if (version < 20)
        StoreShortPalette(ar, d.m_imagePalette);
    else
        d.m_imagePalette.Serialize(ar);
    if (version >= 22)
        ar << d.m_tileSize;
    if (version >= 23)
    {
        for (const CString& s : d.m_clientStrings)
            ar << s;
        ar << d.m_reservedValue;
    }
}

// ---- Older mosaics: 8-bit (or fewer bits) bitmaps whose pixels are 2 x 2 cells ---------------

void Put16(Bytes& b, size_t at, int value)
{
    b[at] = (BYTE)value;
    b[at + 1] = (BYTE)(value >> 8);
}

void Put32(Bytes& b, size_t at, DWORD value)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (BYTE)(value >> (8 * i));
}

Bytes MakeBmp(int bits, int width, int height, int tableEntries, DWORD clrUsed, DWORD infoSize)
{
    const size_t tableOffset = 14 + infoSize;
    const size_t pixelOffset = tableOffset + 4 * (size_t)tableEntries;
    const size_t stride = ((size_t)width * bits + 31) / 32 * 4;
    Bytes b(pixelOffset + stride * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, (DWORD)b.size());
    Put32(b, 10, (DWORD)pixelOffset);
    Put32(b, 14, infoSize);
    Put32(b, 18, (DWORD)width);
    Put32(b, 22, (DWORD)height);
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 34, (DWORD)(stride * height));
    Put32(b, 46, clrUsed);
    for (int k = 0; k < tableEntries; k++)
    {
        b[tableOffset + 4 * k] = (BYTE)(255 - k);       // blue
        b[tableOffset + 4 * k + 1] = (BYTE)(k * 7);     // green
        b[tableOffset + 4 * k + 2] = (BYTE)k;           // red
    }
    // Pixel (x, y), rows in file order: shape and kind above colours A and B of each cell.
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            const int cx = x / 2, cy = y / 2;
            int value;
            if (y % 2 == 0)
                value = x % 2 == 0 ? ((cx + cy) % 5 == 4 ? ShapeHole : 0) : (cx + 2 * cy) % 4;
            else
                value = x % 2 == 0 ? (cx + cy) % 6 : (cx * 3 + cy) % 6;
            value &= mask;
            const size_t bit = (size_t)x * bits;
            BYTE& byte = b[pixelOffset + (size_t)y * stride + bit / 8];
            byte |= (BYTE)(value << (8 - bits - bit % 8));
        }
    return b;
}

}   // namespace

void Ms2Seeds(std::vector<Seed>& seeds)
{
    // Written by a document of their own: the first input then meets a document as the
    // program starts with, that holds no mosaic yet.
    static CVitrolanDoc* s_pWriter = new CVitrolanDoc;
    CVitrolanDoc& d = *s_pWriter;
    FillDocument(d);
    // An empty file reads nothing: it keeps the mosaic there is, or has none to keep.
    seeds.push_back({"empty", Bytes(), true});
    seeds.push_back({"v39", StoredBytes([&d](CArchive& ar) { d.Serialize(ar); })});
    struct Older
    {
        int version;
        bool ansi;
    };
    for (const Older& older : {Older{37, false}, Older{23, false}, Older{22, false},
                               Older{21, false}, Older{20, false}, Older{19, true}})
    {
        FillDocument(d);
        seeds.push_back({"v" + std::to_string(older.version) + (older.ansi ? "-ansi" : ""),
                         StoredBytes([&](CArchive& ar) {
                             StoreOlderDocument(ar, d, older.version, older.ansi);
                         })});
    }
}

Outcome RunMs2(const CString& strPath)
{
    return OpenInDocument(strPath);
}

void MosSeeds(std::vector<Seed>& seeds)
{
    seeds.push_back({"8bit-256", MakeBmp(8, 8, 6, 256, 0, 40)});
    seeds.push_back({"8bit-16-used", MakeBmp(8, 10, 4, 16, 16, 40)});
    seeds.push_back({"8bit-v5-header", MakeBmp(8, 6, 6, 256, 0, 124)});
    seeds.push_back({"4bit", MakeBmp(4, 12, 6, 16, 0, 40)});
    seeds.push_back({"2bit", MakeBmp(2, 10, 4, 4, 0, 40)});
    seeds.push_back({"1bit", MakeBmp(1, 34, 2, 2, 0, 40)});
}

Outcome RunMosInDocument(const CString& strPath)
{
    return OpenInDocument(strPath);
}

}   // namespace fuzz
