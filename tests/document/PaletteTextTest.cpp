// Text palettes: imported into the tile palette and a ".pal" file of the Palette menu, the
// lines left out reported, and the tile palette exported as a table that Python's csv module
// and the import read back.
#include "MosaicTest.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "AfxMsgMap.h"
#include "CsvReader.h"
#include "DocTestFiles.h"
#include "FileDialogAnswerer.h"
#include "MessageBoxAnswerer.h"
#include "TextPalette.h"
#include "VitrolanDoc.h"

namespace
{

struct Tile
{
    LPCWSTR name;
    LPCWSTR symbol;
    BYTE r, g, b;
};

std::vector<CString> g_messages;
int RecordMessage(LPCTSTR lpszText)
{
    g_messages.push_back(lpszText);
    return IDOK;
}

std::string Utf8(const CString& str)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), NULL, 0, NULL, NULL);
    std::string bytes((size_t)n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), &bytes[0], n, NULL, NULL);
    return bytes;
}

class PaletteTextTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_strTexts = UseOwnTexts(L"MosaicPaletteTextTexts",
                                 "902;New palette\r\n1060;EMPTY %s\r\n"
                                 "1061;REFUSED %s|%s|%s\r\n1062;BEYOND %s|%d|%s\r\n");
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnMessageBox = RecordMessage;
        g_messages.clear();
        m_strProgram = NewTempFolder(L"MosaicPaletteText");
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_programFolder = m_strProgram;
        m_doc->lastPalCheck = -1;
    }
    void TearDown() override
    {
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        RemoveTree(m_strProgram);
        RestoreSharedTexts(m_strTexts);
    }

    CString WriteText(LPCWSTR lpszName, const std::string& bytes)
    {
        const CString strPath = m_strProgram + lpszName;
        WriteBytes(strPath, bytes.data(), (DWORD)bytes.size());
        return strPath;
    }
    CString PalettePath(LPCWSTR lpszName) const
    {
        return m_strProgram + L"Palettes\\" + lpszName + L".pal";
    }
    // The names of the files in "Palettes".
    std::vector<CString> PaletteFiles() const
    {
        std::vector<CString> names;
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW(m_strProgram + L"Palettes\\*", &data);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                names.push_back(data.cFileName);
        while (FindNextFileW(hFind, &data));
        FindClose(hFind);
        return names;
    }
    void SetTilePalette(LPCWSTR lpszName, LPCWSTR lpszDescription, const std::vector<Tile>& tiles)
    {
        C2Palette& palette = m_doc->m_tilePalette;
        palette.Reset();
        palette.m_name = lpszName;
        palette.m_description = lpszDescription;
        for (size_t i = 0; i < tiles.size(); i++)
        {
            palette.m_colourNames[i] = tiles[i].name;
            palette.m_symbols[i] = tiles[i].symbol;
            palette.m_colours[i] = {tiles[i].r, tiles[i].g, tiles[i].b, 1};
        }
    }
    static void ExpectColours(const C2Palette& palette, const std::vector<Tile>& tiles)
    {
        for (int i = 0; i < C2Palette::ColourCount; i++)
        {
            SCOPED_TRACE(i);
            const Tile tile = i < (int)tiles.size() ? tiles[(size_t)i] : Tile{L"", L"", 0, 0, 0};
            EXPECT_EQ(CString(tile.name), palette.m_colourNames[i]);
            EXPECT_EQ(CString(tile.symbol), palette.m_symbols[i]);
            EXPECT_EQ(tile.r, palette.m_colours[i].peRed);
            EXPECT_EQ(tile.g, palette.m_colours[i].peGreen);
            EXPECT_EQ(tile.b, palette.m_colours[i].peBlue);
            // Imported tiles have a cost value, as palettes made from text always had.
            EXPECT_EQ(330.0, palette.m_values[i]);
        }
    }

    CString m_strTexts;
    CString m_strProgram;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// What each kind of line gives: the file's palette is saved under its name, loads back
// as it was imported, becomes the tile palette, and the lines left out are named.
TEST_F(PaletteTextTest, ImportsTheSoundLinesAndNamesTheOthers)
{
    const struct Case
    {
        const char* name;
        std::string text;
        LPCWSTR description;
        LPCWSTR paletteName;
        int tileSize, jointWidth;
        std::vector<Tile> tiles;
        LPCWSTR refused;   // the lines the message names, or NULL for no message
    } cases[] = {
        {"the example", "Glass;Opal\n2000;150\nWhite;W;255;255;255\nNight blue;NB;20;30;90\n",
         L"Glass", L"Glass_Opal", 2000, 150,
         {{L"White", L"W", 255, 255, 255}, {L"Night blue", L"NB", 20, 30, 90}},
         NULL},
        {"CR LF, blanks, a trailing separator and no last line end",
         "Glass;Opal;ignored\r\n 2000 ; 150\r\n\r\nWhite;;255;255;255;\r\n  \r\nRed;R; 200 ;0;0;x",
         L"Glass", L"Glass_Opal", 2000, 150, {{L"White", L"", 255, 255, 255}, {L"Red", L"R", 200, 0, 0}}, NULL},
        {"a header without separator, a blank sizes line", "Glass\n\nRed;R;1;2;3\n", L"Glass",
         L"Glass_", 2500, 160, {{L"Red", L"R", 1, 2, 3}}, NULL},
        {"quoted fields hold separators and quotes",
         "\"Verre; opale\";\"Lot \"\"A\"\"\"\n2000;150\n\"Blue; dark\";\";\";1;2;3\n",
         L"Verre; opale", L"Verre; opale_Lot _A_", 2000, 150, {{L"Blue; dark", L";", 1, 2, 3}}, NULL},
        {"unsound lines are left out, sound ones kept in order",
         "Glass;Opal\n2000\nRed;R;255\nGrey;G;-1;300;128\nBlue;B;0;0;x\n;B;1;1;1\nGreen;V;0;255;0\n"
         "Pink;P;255;2.5;200\n",
         L"Glass", L"Glass_Opal", 2500, 160, {{L"Green", L"V", 0, 255, 0}}, L"2-6, 8"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_messages.clear();
        const CString strFile = WriteText(L"palette.txt", c.text);
        m_doc->m_tilePaletteModified = 1;
        ASSERT_TRUE(m_doc->ImportTilePaletteText(strFile));
        EXPECT_EQ(0, m_doc->m_tilePaletteModified);
        const C2Palette& palette = m_doc->m_tilePalette;
        EXPECT_EQ(CString(c.description), palette.m_description);
        // Characters a file name cannot hold are replaced in the name.
        EXPECT_EQ(CString(c.paletteName), palette.m_name);
        EXPECT_EQ((int)c.tiles.size(), m_doc->m_tileColourCount);
        EXPECT_EQ(c.tileSize, palette.m_tileSize);
        EXPECT_EQ(c.jointWidth, palette.m_jointWidth);
        ExpectColours(palette, c.tiles);

        const CString strSafeName = palette.m_name;
        std::unique_ptr<C2Palette> loaded(new C2Palette);
        ASSERT_TRUE(loaded->LoadFromFile(PalettePath(strSafeName)));
        EXPECT_EQ(palette.m_name, loaded->m_name);
        EXPECT_EQ(palette.m_description, loaded->m_description);
        EXPECT_EQ(c.tileSize, loaded->m_tileSize);
        ExpectColours(*loaded, c.tiles);

        if (c.refused == NULL)
            EXPECT_TRUE(g_messages.empty());
        else
        {
            ASSERT_EQ(1u, g_messages.size());
            EXPECT_EQ(L"REFUSED " + strSafeName + L"|" + strFile + L"|" + c.refused,
                      g_messages[0]);
        }
        DeleteFileW(PalettePath(strSafeName));
    }
}

// A palette holds 256 colours: the sound lines after them are named apart from the unsound.
TEST_F(PaletteTextTest, ColoursBeyondTheLastOneAPaletteHoldsAreNamed)
{
    std::string text = "Many;Colours\n2500;160\n";
    for (int i = 0; i < 300; i++)
        text += "C" + std::to_string(i) + ";S;" + std::to_string(i % 256) + ";1;2\n";
    text += "bad line\n";
    ASSERT_TRUE(m_doc->ImportTilePaletteText(WriteText(L"many.csv", text)));
    EXPECT_EQ(256, m_doc->m_tileColourCount);
    EXPECT_EQ(CString(L"C255"), m_doc->m_tilePalette.m_colourNames[255]);
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(CString(L"REFUSED Many_Colours|") + m_strProgram + L"many.csv|303\n\n"
                  L"BEYOND Many_Colours|256|259-302",
              g_messages[0]);
}

// A file without one sound colour, one that cannot be read and a palette file that cannot
// be put in place are reported; the tile palette stays as it was and "Palettes" holds no
// part of a file.
TEST_F(PaletteTextTest, NothingIsImportedOrLeftBehindWhenTheImportCannotBeDone)
{
    SetTilePalette(L"Kept", L"Before", {{L"Old", L"O", 1, 2, 3}});
    m_doc->m_tileColourCount = 1;
    // The palette's file name is taken by a folder.
    CreateDirectoryW(m_strProgram + L"Palettes", NULL);
    CreateDirectoryW(PalettePath(L"Glass_Opal"), NULL);
    const struct
    {
        const char* name;
        CString path;
        bool bFrameworkReport;
    } cases[] = {
        {"no colour", WriteText(L"empty.txt", "Glass;Opal\n2000;150\nRed;R;300;0;0\n"), false},
        {"unreadable", m_strProgram + L"missing.txt", true},
        {"target taken", WriteText(L"taken.txt", "Glass;Opal\n2000;150\nRed;R;255;0;0\n"), true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_messages.clear();
        MessageBoxAnswerer answerer;
        EXPECT_FALSE(m_doc->ImportTilePaletteText(c.path));
        EXPECT_EQ(c.bFrameworkReport ? 1 : 0, MessageBoxAnswerer::s_nCount);
        EXPECT_EQ(c.bFrameworkReport ? 0u : 1u, g_messages.size());
        if (!c.bFrameworkReport && !g_messages.empty())
            EXPECT_EQ(L"EMPTY " + c.path, g_messages[0]);
        EXPECT_EQ(CString(L"Kept"), m_doc->m_tilePalette.m_name);
        EXPECT_EQ(CString(L"Old"), m_doc->m_tilePalette.m_colourNames[0]);
        EXPECT_EQ(1, m_doc->m_tileColourCount);
        EXPECT_TRUE(PaletteFiles().empty());
    }
}

// The export is the table the import reads: Python's csv module reads its fields, and
// importing it then exporting the result writes the same colour lines, byte for byte, in
// the ANSI code page when it holds every name and in UTF-8 otherwise.
TEST_F(PaletteTextTest, ExportedTableReadsBackThroughCsvAndTheImport)
{
    const CString strGreek = L"\x03a8\x03b7\x03c6\x03af\x03b4\x03b1";
    const struct
    {
        const char* name;
        std::vector<Tile> tiles;   // unnamed entries stand between the named ones
        bool bUtf8;
    } cases[] = {
        {"plain", {{L"White", L"W", 255, 255, 255}, {L"", L"", 9, 9, 9}, {L"Night; blue", L"", 20, 30, 90}},
         false},
        {"Greek", {{L"Red", L"R", 200, 0, 0}, {strGreek, L"\x03a8", 1, 2, 3}}, true},
        {"line breaks, quotes and separators",
         {{L"Blue\r\nsky", L"B\"", 1, 2, 3},
          {L"Say \"hi\"", L";", 4, 5, 6},
          {L"\"a;b\r\n\r\nc\r\n", L"\r\n", 7, 8, 9},
          {L"Last", L"L", 10, 11, 12}},
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetTilePalette(L"P", L"D", c.tiles);
        m_doc->m_tilePalette.m_tileSize = 2500;
        m_doc->m_tilePalette.m_jointWidth = 160;
        ASSERT_TRUE(m_doc->ExportTilePaletteText());
        const CString strExport = m_strProgram + L"Palettes\\P_Export.csv";
        ASSERT_EQ(strExport, m_doc->PaletteExportPath());
        const std::vector<BYTE> bytes = ReadBytes(strExport);
        ASSERT_GE(bytes.size(), 3u);
        EXPECT_EQ(c.bUtf8, bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(std::string::npos, text.find("\n\n"));
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));

        std::vector<std::vector<CString>> expected = {{L"D", L"P"}, {L"2500", L"160"}};
        std::vector<Tile> named;
        for (const Tile& t : c.tiles)
        {
            if (*t.name == 0)
                continue;
            named.push_back(t);
            CString r, g, b;
            r.Format(L"%d", t.r);
            g.Format(L"%d", t.g);
            b.Format(L"%d", t.b);
            expected.push_back({t.name, t.symbol, r, g, b});
        }
        CsvRows rows = ReadCsvWithPython(strExport);
        EXPECT_EQ(expected, rows);

        ASSERT_TRUE(m_doc->ImportTilePaletteText(strExport));
        EXPECT_EQ(CString(L"D_P"), m_doc->m_tilePalette.m_name);
        EXPECT_EQ(CString(L"D"), m_doc->m_tilePalette.m_description);
        EXPECT_EQ((int)named.size(), m_doc->m_tileColourCount);
        ExpectColours(m_doc->m_tilePalette, named);
        ASSERT_TRUE(m_doc->ExportTilePaletteText());
        const std::vector<BYTE> again = ReadBytes(m_strProgram + L"Palettes\\D_P_Export.csv");
        const std::string textAgain(again.begin(), again.end());
        // The first line names the new palette; the rest is the same.
        EXPECT_EQ(text.substr(text.find('\n')), textAgain.substr(textAgain.find('\n')));
        DeleteFileW(m_strProgram + L"Palettes\\D_P_Export.csv");
        DeleteFileW(PalettePath(L"D_P"));
    }
}

// Files from other programs: UTF-8 with or without its sign, UTF-16 and the ANSI code page
// give the same names.
TEST_F(PaletteTextTest, ReadsTheEncodingsSpreadsheetsWrite)
{
    const CString strName = L"Vert \x00e9meraude";
    const CString strText = L"Glass;Opal\n2000;150\n" + strName + L";E;0;200;100\n";
    std::vector<std::pair<const char*, std::string>> files = {
        {"UTF-8", Utf8(strText)},
        {"UTF-8 with its sign", "\xEF\xBB\xBF" + Utf8(strText)},
        {"UTF-16", std::string("\xFF\xFE") +
                       std::string((const char*)strText.GetString(),
                                   (size_t)strText.GetLength() * sizeof(WCHAR))},
    };
    char szAnsi[64] = {};
    BOOL bUsedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strText, -1, szAnsi, 0, NULL, NULL);
    const int nAnsi = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, strText, -1, szAnsi,
                                          sizeof(szAnsi), NULL, &bUsedDefault);
    if (nAnsi > 0 && !bUsedDefault && GetACP() != CP_UTF8)
        files.push_back({"ANSI", std::string(szAnsi)});
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.first);
        ASSERT_TRUE(m_doc->ImportTilePaletteText(WriteText(L"encoded.txt", file.second)));
        EXPECT_EQ(strName, m_doc->m_tilePalette.m_colourNames[0]);
        EXPECT_EQ(1, m_doc->m_tileColourCount);
    }
}

// The menu command: the file chosen in the dialog is imported and the Palette menu lists
// it; a cancelled dialog imports nothing.
TEST_F(PaletteTextTest, TheImportCommandAsksForTheFileAndListsThePalette)
{
    const CString strFile = WriteText(L"opal.csv", "Glass;Opal\n2000;150\nWhite;W;255;255;255\n");
    {
        FileDialogAnswerer answer(L"");
        EXPECT_TRUE(m_doc->OnCmdMsg(ID_IMPORT_TILE_PALETTE, CN_COMMAND, NULL, NULL));
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    EXPECT_TRUE(PaletteFiles().empty());
    {
        FileDialogAnswerer answer(strFile);
        EXPECT_TRUE(m_doc->OnCmdMsg(ID_IMPORT_TILE_PALETTE, CN_COMMAND, NULL, NULL));
    }
    EXPECT_EQ(std::vector<CString>{L"Glass_Opal.pal"}, PaletteFiles());
    EXPECT_EQ(CString(L"Glass_Opal.pal"), m_doc->m_paletteMenuFiles[0]);
    EXPECT_EQ(-1, m_doc->lastPalCheck);
    EXPECT_EQ(CString(L"White"), m_doc->m_tilePalette.m_colourNames[0]);
}

}   // namespace
