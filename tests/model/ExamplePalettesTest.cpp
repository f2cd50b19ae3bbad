// The example palettes shipped in data/Palettes are written by C2Palette itself. With
// MOSAIC_WRITE_PALETTES set to a folder, this program writes them there; every run checks
// that the shipped files are exactly what the palette writes today and that they read back.
#include "MosaicTest.h"

#include <string>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "TilePalette.h"

namespace
{

struct ExampleColour
{
    BYTE r, g, b;
    LPCWSTR name;
    LPCWSTR symbol;
};

// Glass tiles, 20 mm.
const ExampleColour kGlass[] = {
    {255, 255, 255, L"Blanc neige", L"A"},    {236, 232, 220, L"Blanc cassé", L"B"},
    {250, 236, 170, L"Ivoire", L"C"},         {255, 230, 90, L"Jaune citron", L"D"},
    {250, 200, 40, L"Jaune d'or", L"E"},      {240, 170, 30, L"Ambre", L"F"},
    {245, 140, 40, L"Orange", L"G"},          {225, 100, 40, L"Mandarine", L"H"},
    {215, 60, 40, L"Rouge vif", L"I"},        {170, 30, 40, L"Rouge grenat", L"J"},
    {120, 20, 40, L"Bordeaux", L"K"},         {245, 180, 190, L"Rose pâle", L"L"},
    {230, 120, 150, L"Rose vif", L"M"},       {200, 60, 120, L"Fuchsia", L"N"},
    {150, 60, 130, L"Prune", L"O"},           {190, 160, 210, L"Lilas", L"P"},
    {120, 80, 160, L"Violet", L"Q"},          {70, 40, 110, L"Aubergine", L"R"},
    {200, 225, 245, L"Bleu ciel", L"S"},      {120, 180, 230, L"Bleu azur", L"T"},
    {40, 110, 200, L"Bleu roi", L"U"},        {30, 50, 150, L"Bleu outremer", L"V"},
    {20, 30, 80, L"Bleu nuit", L"W"},         {60, 130, 160, L"Bleu pétrole", L"X"},
    {170, 225, 220, L"Turquoise pâle", L"Y"}, {40, 180, 180, L"Turquoise", L"Z"},
    {20, 120, 120, L"Sarcelle", L"a"},        {200, 230, 160, L"Vert tilleul", L"b"},
    {150, 200, 80, L"Vert pomme", L"c"},      {60, 160, 70, L"Vert prairie", L"d"},
    {20, 120, 70, L"Vert émeraude", L"e"},    {30, 80, 50, L"Vert sapin", L"f"},
    {130, 140, 60, L"Vert olive", L"g"},      {220, 200, 160, L"Sable", L"h"},
    {200, 160, 110, L"Caramel", L"i"},        {170, 110, 60, L"Cuivre", L"j"},
    {130, 80, 50, L"Noisette", L"k"},         {90, 55, 35, L"Chocolat", L"l"},
    {60, 40, 30, L"Brun foncé", L"m"},        {225, 225, 225, L"Gris perle", L"n"},
    {190, 190, 190, L"Gris clair", L"o"},     {150, 150, 150, L"Gris moyen", L"p"},
    {110, 110, 115, L"Gris ardoise", L"q"},   {70, 70, 75, L"Gris anthracite", L"r"},
    {20, 20, 20, L"Noir", L"s"},              {210, 180, 80, L"Or", L"t"},
    {180, 185, 190, L"Argent", L"u"},         {160, 60, 70, L"Corail foncé", L"v"},
};

// Matt ceramic tiles, 25 mm.
const ExampleColour kCeramic[] = {
    {245, 242, 235, L"Blanc mat", L"1"},      {225, 215, 195, L"Lin", L"2"},
    {205, 185, 150, L"Grège", L"3"},          {235, 205, 120, L"Paille", L"4"},
    {215, 160, 70, L"Ocre jaune", L"5"},      {190, 110, 60, L"Terre cuite", L"6"},
    {160, 70, 50, L"Brique", L"7"},           {120, 50, 45, L"Sang de bœuf", L"8"},
    {215, 150, 140, L"Vieux rose", L"9"},     {140, 100, 120, L"Mauve", L"10"},
    {160, 180, 200, L"Bleu gris", L"11"},     {90, 120, 160, L"Bleu de Prusse", L"12"},
    {50, 70, 100, L"Bleu marine", L"13"},     {120, 170, 160, L"Céladon", L"14"},
    {150, 160, 110, L"Vert sauge", L"15"},    {80, 110, 70, L"Vert mousse", L"16"},
    {45, 70, 55, L"Vert bouteille", L"17"},   {160, 130, 100, L"Taupe", L"18"},
    {110, 85, 65, L"Terre d'ombre", L"19"},   {70, 55, 45, L"Brun", L"20"},
    {200, 200, 195, L"Gris ciment", L"21"},   {140, 140, 135, L"Gris béton", L"22"},
    {85, 85, 85, L"Gris fer", L"23"},         {35, 35, 35, L"Noir mat", L"24"},
};

struct ExamplePalette
{
    LPCWSTR fileName;
    LPCWSTR name;
    LPCWSTR description;
    LPCWSTR referencePrefix;
    int tileSize;
    int jointWidth;
    const ExampleColour* colours;
    int count;
    int paletteKind;   // the texture family: how many shades each colour's texture has
};

const ExamplePalette kPalettes[] = {
    {L"Verre-Nuances.pal", L"Verre-Nuances", L"Pâte de verre, 48 couleurs, 20 x 20 mm", L"VN",
     2000, 150, kGlass, (int)(sizeof(kGlass) / sizeof(kGlass[0])), PaletteKind4Shades},
    {L"Ceramique-Mate.pal", L"Ceramique-Mate", L"Grès émaillé mat, 24 couleurs, 25 x 25 mm",
     L"CM", 2500, 200, kCeramic, (int)(sizeof(kCeramic) / sizeof(kCeramic[0])),
     PaletteKind1Shade},
};

CString ReferenceName(const ExamplePalette& example, int i)
{
    CString name;
    name.Format(L"%s%02d %s", example.referencePrefix, i + 1, example.colours[i].name);
    return name;
}

// The palette as the program builds it; unused entries stay as construction leaves them.
void BuildExample(const ExamplePalette& example, C2Palette& palette)
{
    palette.m_name = example.name;
    palette.m_description = example.description;
    palette.m_tileSize = example.tileSize;
    palette.m_jointWidth = example.jointWidth;
    palette.m_paletteKind = example.paletteKind;
    for (int i = 0; i < example.count; i++)
    {
        const ExampleColour& colour = example.colours[i];
        palette.m_colours[i] = {colour.r, colour.g, colour.b, 1};
        palette.m_colourNames[i] = ReferenceName(example, i);
        palette.m_symbols[i] = colour.symbol;
        palette.m_values[i] = 330.0;
    }
}

std::vector<BYTE> StoredBytes(C2Palette& palette)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    palette.Serialize(ar);
    ar.Close();
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

std::vector<BYTE> FileBytes(const CString& path)
{
    CFile file(path, CFile::modeRead);
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

// A folder given as a Linux path, as a Windows path ending in a backslash.
CString DosFolder(const CString& folder)
{
    CString path = folder;
    if (!path.IsEmpty() && path[0] == L'/')
        path = CString(L"Z:") + path;
    path.Replace(L'/', L'\\');
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    return path;
}

TEST(ExamplePalettes, ShippedFilesAreWhatThePaletteWrites)
{
    WCHAR target[MAX_PATH] = {0};
    const bool write = GetEnvironmentVariableW(L"MOSAIC_WRITE_PALETTES", target, MAX_PATH) > 0;
    const CString shipped = DosFolder(CString(MOSAIC_DATA_DIR) + L"/Palettes");

    for (const ExamplePalette& example : kPalettes)
    {
        SCOPED_TRACE((LPCSTR)CW2A(example.name, CP_UTF8));
        C2Palette built;
        BuildExample(example, built);
        if (write)
            built.SaveToFile(DosFolder(target) + example.fileName, example.name);
        const std::vector<BYTE> expected = StoredBytes(built);
        const std::vector<BYTE> again = StoredBytes(built);
        EXPECT_TRUE(expected == again);
        EXPECT_TRUE(expected == FileBytes(shipped + example.fileName));

        C2Palette loaded;
        ASSERT_TRUE(loaded.LoadFromFile(shipped + example.fileName));
        EXPECT_EQ(CString(example.name), loaded.m_name);
        EXPECT_EQ(CString(example.description), loaded.m_description);
        EXPECT_EQ(example.paletteKind, loaded.m_paletteKind);
        EXPECT_EQ(12, loaded.m_version);
        EXPECT_EQ(example.tileSize, loaded.m_tileSize);
        int used = 0;
        while (used < 256 && loaded.m_colours[used].peFlags == 1)
            used++;
        EXPECT_EQ(example.count, used);
        for (int i = 0; i < 256; i++)
        {
            if (i < example.count)
            {
                EXPECT_EQ(ReferenceName(example, i), loaded.m_colourNames[i]);
                EXPECT_EQ(CString(example.colours[i].symbol), loaded.m_symbols[i]);
                // Names go to the image colours by equal colour: no two entries alike.
                EXPECT_EQ(i, loaded.FindColourIn(loaded, i));
            }
            else
            {
                EXPECT_EQ(0, loaded.m_colours[i].peFlags);
                EXPECT_TRUE(loaded.m_colourNames[i].IsEmpty());
            }
            EXPECT_TRUE(loaded.m_notes[i].IsEmpty());
        }
    }
}

}
