#include "MosaicTest.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string.h>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "VitrolanDoc.h"

namespace
{

typedef std::vector<BYTE> Bytes;

// ---- A ".ms2" file written byte by byte ----------------------------------------------------

class ByteWriter
{
public:
    void I32(int value) { Raw(&value, 4); }
    void I16(int value)
    {
        WORD w = (WORD)value;
        Raw(&w, 2);
    }
    void U8(int value) { m_bytes.push_back((BYTE)value); }
    void F64(double value) { Raw(&value, 8); }
    void Raw(const void* p, size_t n)
    {
        const BYTE* b = (const BYTE*)p;
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    // The archive's Unicode string form: marker, length in UTF-16 units, the units.
    void Str(const CString& s)
    {
        U8(0xFF);
        I16(0xFFFE);
        const int n = s.GetLength();
        if (n < 255)
            U8(n);
        else
        {
            U8(0xFF);
            I16(n);
        }
        for (int i = 0; i < n; i++)
            I16(s[i]);
    }
    // The older form without marker: a byte length and 8-bit text.
    void AnsiStr(const char* s)
    {
        U8((int)strlen(s));
        Raw(s, strlen(s));
    }
    void Mark(const std::string& name) { m_marks[name] = m_bytes.size(); }

    Bytes m_bytes;
    std::map<std::string, size_t> m_marks;
};

// Every value a file holds. The defaults are a valid file of 3 x 2 tiles.
struct Ms2File
{
    int version = 39;
    int cols = 3, rows = 2, colourCount = 5, carplaquex = 10, carplaquey = 8;
    int showJoints = 0, showPlaques = 1, taillecar = 2000, intercar = 150, coljoint = 2;
    int colfond = 1, filet = 0, impression = 2, unites = 0, format = 2, direction = 1;
    int decalage = 1, regles = 0;
    CString money = L"Francs", money2 = L"Francs", palettefile = L"Essai.pal";
    bool ansiStrings = false;   // money and palette file in the older 8-bit form
    int biWidth = 3, biHeight = 2, biSizeImage = 6, biXPels = 11, biYPels = 12;
    int biBitCount = 8, biClrImportant = 13, biClrUsed = 14, biCompression = 15;
    int biPlanes = 1, biSize = 40;
    int mixCount = 7, mixDirection = 1, allowedCount = 3;
    int pavingType = 4, numerosgrille = 0, grillescouleur = 1;
    int responsive = 0, imprVignettes = 0;
    // Cell map; Auto makes a side the cell block of the version times the grid.
    enum { Auto = -99999 };
    int mapType = 0, mapWidth = Auto, mapHeight = Auto, mapOwned = 1;
    int mapSizeDelta = 0;
    CString paletteName = L"Mosaica", paletteDescription = L"Essai";
    int tileSize = 6;
    CString clientStrings[8] = {L"Dupont", L"Jean", L"1 rue", L"75001", L"Paris", L"France",
                                L"0102", L"j@d.fr"};
    int reservedValue = 77;

    static int MixValue(int table, int c) { return table * 1000 + c; }
    static int PercentValue(int m, int c) { return (m * 7 + c) % 101; }
    static BYTE MapByte(size_t i) { return (BYTE)(i * 7 + 3); }
    int Block() const { return version < 20 ? 2 : version == 20 ? 3 : 4; }
    int MapWidth() const { return mapWidth != Auto ? mapWidth : Block() * cols; }
    int MapHeight() const { return mapHeight != Auto ? mapHeight : Block() * rows; }

    ByteWriter Build() const
    {
        ByteWriter w;
        for (int v : {cols, rows, colourCount, carplaquex, carplaquey, showJoints, showPlaques,
                      taillecar, intercar, coljoint, colfond, filet, impression, unites,
                      format, direction, decalage, regles})
            w.I32(v);
        w.Mark("money");
        if (ansiStrings)
        {
            w.AnsiStr(CStringA(money));
            w.AnsiStr(CStringA(money2));
            w.AnsiStr(CStringA(palettefile));
        }
        else
        {
            w.Str(money);
            w.Str(money2);
            w.Str(palettefile);
        }
        w.Mark("version");
        w.I32(version);
        w.I32(biWidth);
        w.I32(biHeight);
        w.I32(biSizeImage);
        w.I32(biXPels);
        w.I32(biYPels);
        w.I16(biBitCount);
        w.I32(biClrImportant);
        w.I32(biClrUsed);
        w.I32(biCompression);
        w.I16(biPlanes);
        w.I32(biSize);
        w.Mark("mix");
        for (int c = 0; c < 256; c++)
        {
            for (int t = 0; t < 4; t++)
                w.I32(MixValue(t, c));
            for (int m = 0; m < 50; m++)
                w.I32(PercentValue(m, c));
        }
        w.I32(mixCount);
        w.I32(mixDirection);
        w.I32(allowedCount);
        if (version >= 20)
        {
            w.I32(pavingType);
            w.I32(numerosgrille);
            w.I32(grillescouleur);
        }
        if (version >= 38)
        {
            w.I32(responsive);
            w.I32(imprVignettes);
        }
        w.Mark("map");
        const int width = MapWidth(), height = MapHeight();
        const size_t pixels = width > 0 && height > 0 ? (size_t)width * height : 0;
        w.I32(mapType);
        w.I32(width);
        w.I32(height);
        w.I32((int)pixels + mapSizeDelta);
        if (version >= 21)
            w.I32(mapOwned);
        w.Mark("mapBytes");
        if (mapOwned)
            for (size_t i = 0; i < pixels * (mapType == 1 ? 3 : 1); i++)
                w.U8(MapByte(i));
        w.Mark("palette");
        WritePalette(w);
        w.Mark("tail");
        if (version >= 22)
            w.I32(tileSize);
        if (version >= 23)
        {
            for (const CString& s : clientStrings)
                w.Str(s);
            w.I32(reservedValue);
        }
        w.Mark("end");
        return w;
    }

    // The palette form: name, description, three ints, 256 colours; from version 20 the
    // palette's version, 256 fonts, the family kind and 256 notes.
    void WritePalette(ByteWriter& w) const
    {
        w.Str(paletteName);
        w.Str(paletteDescription);
        w.I32(330);
        w.I32(2500);
        w.I32(160);
        for (int c = 0; c < 256; c++)
        {
            w.U8(c);
            w.U8(255 - c);
            w.U8(c / 2);
            w.U8(c < colourCount ? 1 : 0);
            w.Str(c == 4 ? CString(L"Rouge") : CString());
            w.Str(c == 4 ? CString(L"R") : CString());
            w.F64(c == 4 ? 1.5 : 0.0);
        }
        w.Mark("paletteVersion");
        if (version < 20)
            return;
        w.I32(12);
        w.Mark("fonts");
        for (int c = 0; c < 256; c++)
        {
            for (int v : {-14, 0, 0, 0, 400})
                w.I32(v);
            for (int v : {0, 0, 0, 1, 3, 2, 1, 0x22})
                w.U8(v);
            const WCHAR face[] = L"Arial Unicode MS";
            for (int i = 0; i < 32; i++)
                w.I16(i < (int)(sizeof(face) / sizeof(face[0])) ? face[i] : 0);
        }
        // "Mosaica" is left out of the stored kind: what the palette held (0) is written.
        w.I32(0);
        w.Mark("notes");
        for (int c = 0; c < 256; c++)
            w.Str(c == 4 ? CString(L"Note") : CString());
    }
};

// ---- Documents and archives ------------------------------------------------------------------

std::unique_ptr<CVitrolanDoc> NewDoc()
{
    return std::unique_ptr<CVitrolanDoc>(new CVitrolanDoc);
}

Bytes Store(CVitrolanDoc& doc)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    Bytes bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

// -1 when the load succeeds, else the cause of the archive exception (-2 for another one).
int Load(CVitrolanDoc& doc, const Bytes& bytes)
{
    BYTE dummy = 0;
    CMemFile file(bytes.empty() ? &dummy : const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    try
    {
        doc.Serialize(ar);
        ar.Close();
        return -1;
    }
    catch (CException* e)
    {
        ar.Abort();
        CArchiveException* pArchive = dynamic_cast<CArchiveException*>(e);
        int cause = pArchive != NULL ? pArchive->m_cause : -2;
        e->Delete();
        return cause;
    }
}

// The document holding the values of the file description (as a store writes them).
void Fill(CVitrolanDoc& doc, const Ms2File& f)
{
    doc.m_cols = f.cols;
    doc.m_rows = f.rows;
    doc.m_colourCount = f.colourCount;
    doc.carplaquex = f.carplaquex;
    doc.carplaquey = f.carplaquey;
    doc.m_showJoints = f.showJoints;
    doc.m_showPlaques = f.showPlaques;
    doc.taillecar = f.taillecar;
    doc.intercar = f.intercar;
    doc.coljoint = f.coljoint;
    doc.colfond = f.colfond;
    doc.filet = f.filet;
    doc.impression = f.impression;
    doc.unites = f.unites;
    doc.format = f.format;
    doc.direction = f.direction;
    doc.decalage = f.decalage;
    doc.regles = f.regles;
    doc.money = f.money;
    doc.palettefile = f.palettefile;
    BITMAPINFOHEADER& h = *doc.m_bmpHeader;
    h.biWidth = f.biWidth;
    h.biHeight = f.biHeight;
    h.biSizeImage = f.biSizeImage;
    h.biXPelsPerMeter = f.biXPels;
    h.biYPelsPerMeter = f.biYPels;
    h.biBitCount = (WORD)f.biBitCount;
    h.biClrImportant = f.biClrImportant;
    h.biClrUsed = f.biClrUsed;
    h.biCompression = f.biCompression;
    h.biPlanes = (WORD)f.biPlanes;
    h.biSize = f.biSize;
    for (int c = 0; c < 256; c++)
    {
        doc.m_allowedColours[c] = Ms2File::MixValue(0, c);
        doc.m_mixStart[c] = Ms2File::MixValue(1, c);
        doc.m_mixStep[c] = Ms2File::MixValue(2, c);
        doc.m_mixOptions[c] = Ms2File::MixValue(3, c);
        for (int m = 0; m < 50; m++)
            doc.m_mixPercent[m][c] = Ms2File::PercentValue(m, c);
    }
    doc.m_mixCount = f.mixCount;
    doc.m_mixDirection = f.mixDirection;
    doc.m_allowedCount = f.allowedCount;
    doc.m_pavingType = f.pavingType;
    doc.numerosgrille = f.numerosgrille;
    doc.grillescouleur = f.grillescouleur;
    doc.responsive = f.responsive;
    doc.imprVignettes = f.imprVignettes;
    doc.m_committedMap.Create(0, f.MapWidth(), f.MapHeight());
    for (size_t i = 0; i < doc.m_committedMap.size; i++)
        doc.m_committedMap.data[i] = Ms2File::MapByte(i);
    C2Palette& p = doc.m_imagePalette;
    p.m_name = f.paletteName;
    p.m_description = f.paletteDescription;
    for (int c = 0; c < 256; c++)
    {
        p.m_colours[c].peRed = (BYTE)c;
        p.m_colours[c].peGreen = (BYTE)(255 - c);
        p.m_colours[c].peBlue = (BYTE)(c / 2);
        p.m_colours[c].peFlags = c < f.colourCount ? 1 : 0;
        p.m_colourNames[c] = c == 4 ? L"Rouge" : L"";
        p.m_symbols[c] = c == 4 ? L"R" : L"";
        p.m_values[c] = c == 4 ? 1.5 : 0.0;
        p.m_notes[c] = c == 4 ? L"Note" : L"";
    }
    p.m_paletteKind = 0;
    doc.m_tileSize = f.tileSize;
    for (int i = 0; i < 8; i++)
        doc.m_clientStrings[i] = f.clientStrings[i];
    doc.m_reservedValue = f.reservedValue;
}

// Values no file of the tests holds, to see which fields a load leaves alone.
void FillSentinels(CVitrolanDoc& doc)
{
    doc.m_pavingType = 6;
    doc.numerosgrille = 5;
    doc.grillescouleur = 5;
    doc.responsive = 5;
    doc.imprVignettes = 5;
    doc.m_tileSize = 14;
    for (int i = 0; i < 8; i++)
        doc.m_clientStrings[i] = L"avant";
    doc.m_reservedValue = 55;
}

// The fields of rows that every version holds.
void ExpectCommonFields(const CVitrolanDoc& doc, const Ms2File& f)
{
    EXPECT_EQ(f.version, doc.m_version);
    EXPECT_EQ(f.cols, doc.m_cols);
    EXPECT_EQ(f.rows, doc.m_rows);
    EXPECT_EQ(f.colourCount, doc.m_colourCount);
    EXPECT_EQ(f.carplaquex, doc.carplaquex);
    EXPECT_EQ(f.carplaquey, doc.carplaquey);
    EXPECT_EQ(f.showJoints, doc.m_showJoints);
    EXPECT_EQ(f.showPlaques, doc.m_showPlaques);
    EXPECT_EQ(f.taillecar, doc.taillecar);
    EXPECT_EQ(f.intercar, doc.intercar);
    EXPECT_EQ(f.coljoint, doc.coljoint);
    EXPECT_EQ(f.colfond, doc.colfond);
    EXPECT_EQ(f.filet, doc.filet);
    EXPECT_EQ(f.impression, doc.impression);
    EXPECT_EQ(f.unites, doc.unites);
    EXPECT_EQ(f.format, doc.format);
    EXPECT_EQ(f.direction, doc.direction);
    EXPECT_EQ(f.decalage, doc.decalage);
    EXPECT_EQ(f.regles, doc.regles);
    EXPECT_EQ(f.money2, doc.money);
    EXPECT_EQ(f.palettefile, doc.palettefile);
    EXPECT_EQ(f.biWidth, doc.m_bmpHeader->biWidth);
    EXPECT_EQ(f.biHeight, doc.m_bmpHeader->biHeight);
    EXPECT_EQ((DWORD)f.biSizeImage, doc.m_bmpHeader->biSizeImage);
    EXPECT_EQ(f.biYPels, doc.m_bmpHeader->biYPelsPerMeter);
    EXPECT_EQ(f.biBitCount, doc.m_bmpHeader->biBitCount);
    EXPECT_EQ((DWORD)f.biCompression, doc.m_bmpHeader->biCompression);
    EXPECT_EQ(f.biPlanes, doc.m_bmpHeader->biPlanes);
    EXPECT_EQ((DWORD)f.biSize, doc.m_bmpHeader->biSize);
    bool tablesMatch = true;
    for (int c = 0; c < 256; c++)
    {
        tablesMatch = tablesMatch && doc.m_allowedColours[c] == Ms2File::MixValue(0, c) &&
                      doc.m_mixStart[c] == Ms2File::MixValue(1, c) &&
                      doc.m_mixStep[c] == Ms2File::MixValue(2, c) &&
                      doc.m_mixOptions[c] == Ms2File::MixValue(3, c);
        for (int m = 0; m < 50; m++)
            tablesMatch = tablesMatch && doc.m_mixPercent[m][c] == Ms2File::PercentValue(m, c);
    }
    EXPECT_TRUE(tablesMatch);
    EXPECT_EQ(f.mixCount, doc.m_mixCount);
    EXPECT_EQ(f.mixDirection, doc.m_mixDirection);
    EXPECT_EQ(f.allowedCount, doc.m_allowedCount);
    const CRasterImage& map = doc.m_committedMap;
    ASSERT_TRUE(map.data != NULL);
    EXPECT_EQ(0, map.type);
    EXPECT_EQ(f.MapWidth(), map.width);
    EXPECT_EQ(f.MapHeight(), map.height);
    bool bytesMatch = true;
    for (size_t i = 0; i < map.size; i++)
        bytesMatch = bytesMatch && map.data[i] == Ms2File::MapByte(i);
    EXPECT_TRUE(bytesMatch);
    const C2Palette& p = doc.m_imagePalette;
    EXPECT_EQ(f.paletteName, p.m_name);
    EXPECT_EQ(f.paletteDescription, p.m_description);
    EXPECT_EQ(200, p.m_colours[200].peRed);
    EXPECT_EQ(55, p.m_colours[200].peGreen);
    EXPECT_EQ(100, p.m_colours[200].peBlue);
    EXPECT_EQ(CString(L"Rouge"), p.m_colourNames[4]);
    EXPECT_EQ(CString(L"R"), p.m_symbols[4]);
    EXPECT_EQ(1.5, p.m_values[4]);
    EXPECT_EQ(3, p.m_paletteKind);   // the name's family
}

// ---- Storing ---------------------------------------------------------------------------------

TEST(DocumentFile, StoreWritesTheLayoutByteForByte)
{
    struct Case
    {
        int cols, rows;
        int moneyLength;
    };
    // Grid sizes and string lengths that change the file's size; 255 and 300 characters
    // take the longer length form.
    const Case cases[] = {{3, 2, 6}, {1, 1, 0}, {17, 9, 255}, {5, 40, 300}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.cols << "x" << c.rows << " " << c.moneyLength);
        Ms2File f;
        f.cols = c.cols;
        f.rows = c.rows;
        f.money = f.money2 = CString(L'a', c.moneyLength);
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        Fill(*doc, f);
        doc->m_version = 12;
        const Bytes stored = Store(*doc);
        const ByteWriter expected = f.Build();
        EXPECT_EQ(39, doc->m_version);
        ASSERT_EQ(expected.m_bytes.size(), stored.size());
        EXPECT_TRUE(expected.m_bytes == stored);
        // The size: rows 1 to 18, three strings, version and header, mixing tables, rows 38
        // to 42, the map, the palette, the tile size and the customer data.
        auto S = [](int n) { return (size_t)(4 + (n >= 255 ? 2 : 0) + 2 * n); };
        const size_t mapOffset = 72 + 2 * S(c.moneyLength) + S(9) + 4 + 40 + 55308 + 20;
        const size_t mapBytes = 20 + 16 * (size_t)c.cols * c.rows;
        const size_t paletteBytes = S(7) + S(5) + 12 + 256 * 12 + 2 * 255 * S(0) + S(5) + S(1) +
                                    4 + 256 * 92 + 4 + 255 * S(0) + S(4);
        size_t tailBytes = 4 + 4;
        for (const CString& str : f.clientStrings)
            tailBytes += S(str.GetLength());
        EXPECT_EQ(mapOffset + mapBytes + paletteBytes + tailBytes, stored.size());
        // The string form: 0xFF, 0xFFFE, the length (a byte, or 0xFF and a 16-bit length).
        const BYTE* money = stored.data() + 72;
        EXPECT_EQ(0xFF, money[0]);
        EXPECT_EQ(0xFE, money[1]);
        EXPECT_EQ(0xFF, money[2]);
        if (c.moneyLength < 255)
            EXPECT_EQ(c.moneyLength, money[3]);
        else
        {
            EXPECT_EQ(0xFF, money[3]);
            EXPECT_EQ(c.moneyLength, money[4] | (money[5] << 8));
        }
    }
}

TEST(DocumentFile, WrittenDocumentReadsBackFieldByField)
{
    Ms2File f;
    f.money = f.money2 = CString(L'\x20AC', 300);   // a long string in the longer form
    f.clientStrings[2] = L"";
    // A name whose family both passes of the palette's rules give alike.
    f.paletteName = L"Technopanel";
    std::unique_ptr<CVitrolanDoc> source = NewDoc();
    Fill(*source, f);
    const Bytes stored = Store(*source);

    std::unique_ptr<CVitrolanDoc> target = NewDoc();
    FillSentinels(*target);
    ASSERT_EQ(-1, Load(*target, stored));
    ExpectCommonFields(*target, f);
    EXPECT_EQ(f.pavingType, target->m_pavingType);
    EXPECT_EQ(f.numerosgrille, target->numerosgrille);
    EXPECT_EQ(f.grillescouleur, target->grillescouleur);
    EXPECT_EQ(f.responsive, target->responsive);
    EXPECT_EQ(f.imprVignettes, target->imprVignettes);
    EXPECT_EQ(f.tileSize, target->m_tileSize);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(f.clientStrings[i], target->m_clientStrings[i]);
    EXPECT_EQ(f.reservedValue, target->m_reservedValue);
    EXPECT_EQ(12, target->m_imagePalette.m_version);
    EXPECT_EQ(CString(L"Note"), target->m_imagePalette.m_notes[4]);
    // Nothing is lost: the document read back writes the same bytes.
    EXPECT_TRUE(Store(*target) == stored);
}

TEST(DocumentFile, OlderVersionsReadTheFieldsTheyHold)
{
    for (int version : {19, 20, 21, 22, 23, 37, 38})
    {
        SCOPED_TRACE(version);
        Ms2File f;
        f.version = version;
        f.ansiStrings = version < 21;
        f.money = L"Lire";
        f.money2 = L"Pesetas";   // the second copy wins
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        FillSentinels(*doc);
        ASSERT_EQ(-1, Load(*doc, f.Build().m_bytes));
        ExpectCommonFields(*doc, f);
        // Fields the version lacks keep the document's values.
        EXPECT_EQ(version >= 20 ? f.pavingType : 6, doc->m_pavingType);
        EXPECT_EQ(version >= 20 ? f.numerosgrille : 5, doc->numerosgrille);
        EXPECT_EQ(version >= 20 ? f.grillescouleur : 5, doc->grillescouleur);
        EXPECT_EQ(version >= 38 ? f.responsive : 5, doc->responsive);
        EXPECT_EQ(version >= 38 ? f.imprVignettes : 5, doc->imprVignettes);
        EXPECT_EQ(version >= 22 ? f.tileSize : 14, doc->m_tileSize);
        EXPECT_EQ(version >= 23 ? f.clientStrings[7] : CString(L"avant"),
                  doc->m_clientStrings[7]);
        EXPECT_EQ(version >= 23 ? f.reservedValue : 55, doc->m_reservedValue);
        // Before 20 the palette holds no version, fonts or notes.
        EXPECT_EQ(version < 20 ? 9 : 12, doc->m_imagePalette.m_version);
        EXPECT_EQ(version < 20 ? CString() : CString(L"Note"), doc->m_imagePalette.m_notes[4]);
    }
}

// A document read from a valid file, to which the failing loads below must leave it.
std::unique_ptr<CVitrolanDoc> LoadedDoc()
{
    Ms2File f;
    f.cols = 4;
    f.rows = 4;
    f.paletteName = L"Avant";
    std::unique_ptr<CVitrolanDoc> doc = NewDoc();
    FillSentinels(*doc);
    if (Load(*doc, f.Build().m_bytes) != -1)
        ADD_FAILURE() << "the reference file does not load";
    return doc;
}

TEST(DocumentFile, TruncatedFileIsRefusedAndTheDocumentKept)
{
    Ms2File f;
    const ByteWriter w = f.Build();
    const std::vector<std::pair<const char*, size_t>> cuts = {
        {"empty", 0},
        {"inside the first int", 3},
        {"before the strings", 72},
        {"inside a string", w.m_marks.at("money") + 5},
        {"after the version", w.m_marks.at("version") + 4},
        {"inside the mixing tables", w.m_marks.at("mix") + 30000},
        {"before the cell map", w.m_marks.at("map")},
        {"inside the map header", w.m_marks.at("map") + 10},
        {"inside the map bytes", w.m_marks.at("mapBytes") + 50},
        {"inside the palette colours", w.m_marks.at("palette") + 700},
        {"inside the palette fonts", w.m_marks.at("fonts") + 1000},
        {"inside the palette notes", w.m_marks.at("notes") + 50},
        {"before the tile size", w.m_marks.at("tail")},
        {"inside the customer data", w.m_marks.at("tail") + 10},
        {"last byte missing", w.m_bytes.size() - 1},
    };
    std::unique_ptr<CVitrolanDoc> doc = LoadedDoc();
    const Bytes before = Store(*doc);
    for (const auto& cut : cuts)
    {
        SCOPED_TRACE(cut.first);
        const Bytes part(w.m_bytes.begin(), w.m_bytes.begin() + cut.second);
        EXPECT_EQ(CArchiveException::endOfFile, Load(*doc, part));
        EXPECT_TRUE(Store(*doc) == before);
    }
}

TEST(DocumentFile, ImpossibleValuesAreRefusedAndTheDocumentKept)
{
    const std::vector<std::pair<const char*, std::function<void(Ms2File&)>>> cases = {
        {"no columns", [](Ms2File& f) { f.cols = 0; f.mapWidth = 4; }},
        {"negative rows", [](Ms2File& f) { f.rows = -3; f.mapHeight = 4; }},
        {"257 colours", [](Ms2File& f) { f.colourCount = 257; }},
        {"negative colour count", [](Ms2File& f) { f.colourCount = -1; }},
        {"plate width 0", [](Ms2File& f) { f.carplaquex = 0; }},
        {"negative plate height", [](Ms2File& f) { f.carplaquey = -1; }},
        {"tile size 0", [](Ms2File& f) { f.taillecar = 0; }},
        {"negative joint", [](Ms2File& f) { f.intercar = -1; }},
        {"units 2", [](Ms2File& f) { f.unites = 2; }},
        {"paper 6", [](Ms2File& f) { f.format = 6; }},
        {"palette outside its folder", [](Ms2File& f) { f.palettefile = L"..\\x.pal"; }},
        {"palette with a path", [](Ms2File& f) { f.palettefile = L"a/x.pal"; }},
        // Devices: reading the serial port would wait forever.
        {"palette naming the serial port", [](Ms2File& f) { f.palettefile = L"COM1"; }},
        {"device behind spaces and an extension",
         [](Ms2File& f) { f.palettefile = L"Aux .pal"; }},
        {"console in small letters", [](Ms2File& f) { f.palettefile = L"con.pal"; }},
        {"version 40", [](Ms2File& f) { f.version = 40; }},
        {"negative version", [](Ms2File& f) { f.version = -1; }},
        {"no mix", [](Ms2File& f) { f.mixCount = 0; }},
        {"51 mixes", [](Ms2File& f) { f.mixCount = 51; }},
        {"257 allowed colours", [](Ms2File& f) { f.allowedCount = 257; }},
        {"paving 8", [](Ms2File& f) { f.pavingType = 8; }},
        {"negative paving", [](Ms2File& f) { f.pavingType = -1; }},
        {"display size 0", [](Ms2File& f) { f.tileSize = 0; }},
        {"display size 5000", [](Ms2File& f) { f.tileSize = 5000; }},
        {"RGB cell map", [](Ms2File& f) { f.mapType = 1; }},
        {"map of partial cells", [](Ms2File& f) { f.mapWidth = 14; }},
        {"map without pixels", [](Ms2File& f) { f.mapOwned = 0; }},
        {"map size not its width x height", [](Ms2File& f) { f.mapSizeDelta = 1; }},
        {"negative map width", [](Ms2File& f) { f.mapWidth = -12; }},
        {"version 20 map of partial cells",
         [](Ms2File& f) { f.version = 20; f.mapWidth = 10; }},
    };
    std::unique_ptr<CVitrolanDoc> doc = LoadedDoc();
    const Bytes before = Store(*doc);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.first);
        Ms2File f;
        c.second(f);
        const int cause = Load(*doc, f.Build().m_bytes);
        EXPECT_TRUE(cause == CArchiveException::genericException ||
                    cause == CArchiveException::badSchema)
            << cause;
        EXPECT_TRUE(Store(*doc) == before);
    }
}

// Joints need more than two pixels a tile: a mosaic stored at a smaller zoom with its joints
// shown opens without them, and gets them back once zoomed in past two pixels.
TEST(DocumentFile, JointsWaitForAZoomAboveTwoPixels)
{
    for (int size : {1, 2})
    {
        SCOPED_TRACE(size);
        Ms2File f;
        f.tileSize = size;
        f.showJoints = 1;
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        ASSERT_EQ(-1, Load(*doc, f.Build().m_bytes));
        EXPECT_EQ(0, doc->m_showJoints);
        while (doc->m_tileSize <= 2)
        {
            EXPECT_EQ(0, doc->m_showJoints);
            doc->OnZoomIn();
        }
        EXPECT_EQ(4, doc->m_tileSize);
        EXPECT_EQ(1, doc->m_showJoints);
    }
}

// The joints a small zoom hides are stored as the user has them: the mosaic opened again
// shows them once a zoom gives room, as the one saved would have; joints the user switched
// off stay off.
TEST(DocumentFile, JointsHiddenByTheZoomAreStoredAsTheUserHasThem)
{
    for (int nOffByZoom : {1, 0})
    {
        SCOPED_TRACE(nOffByZoom);
        std::unique_ptr<CVitrolanDoc> source = NewDoc();
        Fill(*source, Ms2File());
        source->m_tileSize = 2;
        source->m_showJoints = 0;
        source->m_jointsOffByZoom = nOffByZoom;
        const Bytes stored = Store(*source);
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        ASSERT_EQ(-1, Load(*doc, stored));
        EXPECT_EQ(0, doc->m_showJoints);
        doc->OnZoomIn();
        EXPECT_EQ(nOffByZoom, doc->m_showJoints);
    }
}

TEST(DocumentFile, UnusualValuesAreKept)
{
    Ms2File f;
    f.cols = 99;            // the opening takes the grid size from the map
    f.mapWidth = 12;
    f.coljoint = 9;
    f.impression = 7;
    f.mixDirection = 5;
    f.colourCount = 0;
    f.tileSize = 3;
    f.carplaquex = 1;
    f.palettefile = L"Nom avec espaces.pal";
    std::unique_ptr<CVitrolanDoc> doc = NewDoc();
    ASSERT_EQ(-1, Load(*doc, f.Build().m_bytes));
    Ms2File unnamed;
    unnamed.palettefile.Empty();
    std::unique_ptr<CVitrolanDoc> docUnnamed = NewDoc();
    ASSERT_EQ(-1, Load(*docUnnamed, unnamed.Build().m_bytes)) << "no palette file";
    EXPECT_TRUE(docUnnamed->palettefile.IsEmpty());
    EXPECT_EQ(99, doc->m_cols);
    EXPECT_EQ(12, doc->m_committedMap.width);
    EXPECT_EQ(9, doc->coljoint);
    EXPECT_EQ(7, doc->impression);
    EXPECT_EQ(5, doc->m_mixDirection);
    EXPECT_EQ(0, doc->m_colourCount);
    EXPECT_EQ(3, doc->m_tileSize);
    EXPECT_EQ(1, doc->carplaquex);
    EXPECT_EQ(CString(L"Nom avec espaces.pal"), doc->palettefile);
}

}   // namespace
