// The bitmap reader of older mosaics, ".pal" tile palettes, the language files and the text
// reader under them.
#include "Readers.h"

#include <string.h>

#include "AfxException.h"
#include "BmpReader.h"
#include "LangText.h"
#include "StdioFileEx.h"
#include "TilePalette.h"

namespace fuzz
{
namespace
{

const BYTE kPrimed = 0xCD;

// ---- Older mosaics read by the bitmap reader alone -------------------------------------------

struct BmpTarget
{
    BITMAPINFOHEADER header;
    CRasterImage image;
    PaletteEntry table[256];

    BmpTarget()
    {
        memset(&header, kPrimed, sizeof(header));
        memset(table, kPrimed, sizeof(table));
        image.Create(0, 2, 2);
        memset(image.data, kPrimed, 4);
    }
    ~BmpTarget() { image.Free(); }
};

std::string CheckBmpRefused(const BmpTarget& t, const BYTE* pOldData)
{
    const BYTE* header = (const BYTE*)&t.header;
    const BYTE* table = (const BYTE*)t.table;
    for (size_t i = 0; i < sizeof(t.header); i++)
        if (header[i] != kPrimed)
            return "refused, but the header changed";
    for (size_t i = 0; i < sizeof(t.table); i++)
        if (table[i] != kPrimed)
            return "refused, but the colour table changed";
    if (t.image.data != pOldData || t.image.width != 2 || t.image.height != 2 ||
        memcmp(t.image.data, "\xCD\xCD\xCD\xCD", 4) != 0)
        return "refused, but the image changed";
    return std::string();
}

std::string CheckBmpRead(const BmpTarget& t)
{
    const CRasterImage& m = t.image;
    if (m.data == NULL || m.type != 0 || m.width < 1 || m.height < 1 ||
        m.size != (UINT)m.width * (UINT)m.height)
        return "read an image of " + std::to_string(m.width) + " x " + std::to_string(m.height) +
               (m.data == NULL ? " without pixels" : "");
    if (t.header.biWidth != m.width || t.header.biHeight != m.height)
        return "header " + std::to_string(t.header.biWidth) + " x " +
               std::to_string(t.header.biHeight) + " for an image of " +
               std::to_string(m.width) + " x " + std::to_string(m.height);
    if (t.header.biBitCount != 8)
        return "header of " + std::to_string(t.header.biBitCount) + " bits";
    return std::string();
}

// ---- Tile palettes -----------------------------------------------------------------------

uint64_t HashPaletteFields(const C2Palette& p)
{
    Bytes all;
    auto add = [&all](const void* q, size_t n) {
        all.insert(all.end(), (const BYTE*)q, (const BYTE*)q + n);
    };
    auto addString = [&add](const CString& s) {
        const int n = s.GetLength();
        add(&n, sizeof(n));
        add(s.GetString(), (size_t)n * sizeof(WCHAR));
    };
    const int values[] = {p.m_version, p.m_costDivisor, p.m_tileSize, p.m_jointWidth,
                          p.m_paletteKind};
    add(values, sizeof(values));
    addString(p.m_name);
    addString(p.m_description);
    add(p.m_colours, sizeof(p.m_colours));
    add(p.m_values, sizeof(p.m_values));
    add(p.m_symbolFonts, sizeof(p.m_symbolFonts));
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        addString(p.m_colourNames[i]);
        addString(p.m_symbols[i]);
        addString(p.m_notes[i]);
    }
    return HashBytes(all);
}

C2Palette& SharedPalette()
{
    // One palette for every input, as the document keeps one; it is large.
    static C2Palette* s_pPalette = new C2Palette;
    return *s_pPalette;
}

void FillPalette(C2Palette& p, LPCWSTR lpszName)
{
    p.Reset();
    p.m_name = lpszName;
    p.m_description = L"Palette d'essai \u00E0 trois couleurs";
    p.m_costDivisor = 250;
    static const BYTE kRgb[3][3] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}};
    for (int c = 0; c < 3; c++)
    {
        p.m_colours[c].peRed = kRgb[c][0];
        p.m_colours[c].peGreen = kRgb[c][1];
        p.m_colours[c].peBlue = kRgb[c][2];
        p.m_colours[c].peFlags = 1;
        p.m_colourNames[c].Format(L"REF-%d", 100 + c);
        p.m_symbols[c].Format(L"%c", L'\u2660' + c);
        p.m_notes[c] = c == 1 ? CString(L'n', 260) : CString(L"note");
        p.m_values[c] = 0.5 + c;
    }
    lstrcpynW(p.m_symbolFonts[1].lfFaceName, L"Wingdings", LF_FACESIZE);
    p.m_symbolFonts[1].lfWeight = FW_BOLD;
}

// Version 10 of the file: fonts, but no family kind and no notes. The program writes only
// the current version.
void StoreVersion10(CArchive& ar, const C2Palette& p)
{
    ar << p.m_name << p.m_description << p.m_costDivisor << p.m_tileSize << p.m_jointWidth;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        ar << p.m_colours[i].peRed << p.m_colours[i].peGreen << p.m_colours[i].peBlue
           << p.m_colours[i].peFlags;
        ar << p.m_colourNames[i] << p.m_symbols[i] << p.m_values[i];
    }
    ar << 10;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        const LOGFONTW& f = p.m_symbolFonts[i];
        ar << (int)f.lfHeight << (int)f.lfWidth << (int)f.lfEscapement << (int)f.lfOrientation
           << (int)f.lfWeight;
        ar << f.lfItalic << f.lfUnderline << f.lfStrikeOut << f.lfCharSet << f.lfOutPrecision
           << f.lfClipPrecision << f.lfQuality << f.lfPitchAndFamily;
        for (int k = 0; k < LF_FACESIZE; k++)
            ar << (WORD)f.lfFaceName[k];
    }
}

// ---- Language files ------------------------------------------------------------------------

const char kTextsUtf8[] =
    "903;mm\n"
    "904;in\r\n"
    "905;m\n"
    "906;ft\n"
    "908;Picture unreadable\n"
    "950;out of order\n"
    "not an entry\n"
    "\n"
    "0;zero\n"
    "-5;negative\n"
    "40000;too large\n"
    "1000;Zo\xC3\xAB \\n next line\\tafter a tab\\\\ and \\r\n"
    "1001;##1000\n"
    "1002;##1002\n"
    "  1003 ;spaced;with;semicolons\n"
    "1004;##1005\n"
    "1005;##1001\n"
    "31999;last but one\n"
    "32000;last";

// The ids every language input is asked for: present, aliased, looping, missing, too large.
const UINT kTextIds[] = {1, 903, 904, 908, 950, 999, 1000, 1001, 1002, 1003, 1004, 1005,
                         31999, 32000, 32001};

Bytes Utf16File(const char* pszUtf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, NULL, 0);
    std::vector<WCHAR> text((size_t)n);
    MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, text.data(), n);
    Bytes bytes = {0xFF, 0xFE};
    const BYTE* p = (const BYTE*)text.data();
    bytes.insert(bytes.end(), p, p + (size_t)(n - 1) * sizeof(WCHAR));
    return bytes;
}

Bytes BytesOf(const char* psz)
{
    return Bytes(psz, psz + strlen(psz));
}

Outcome LookUpTexts(const CString& strPath)
{
    const CString strFolder = strPath.Left(strPath.ReverseFind(L'\\') + 1);
    SetLangTextFolder(strFolder);
    ClearLangTexts();
    TakeMessageBoxes();
    Outcome outcome;
    CString strFirst[sizeof(kTextIds) / sizeof(kTextIds[0])];
    for (int pass = 0; pass < 2 && outcome.fault.empty(); pass++)
        for (size_t i = 0; i < sizeof(kTextIds) / sizeof(kTextIds[0]); i++)
        {
            const CString strText = GetLangText(kTextIds[i]);
            // An alias is always followed, to a text or to nothing.
            if (strText.Left(2) == L"##")
                outcome.fault = "text " + std::to_string(kTextIds[i]) + " is an alias left: " +
                                Narrow(strText.Left(40));
            else if (pass == 1 && strText != strFirst[i])
                outcome.fault = "text " + std::to_string(kTextIds[i]) +
                                " changed on the second lookup";
            else if (kTextIds[i] > LANG_TEXT_MAX_ID && !strText.IsEmpty())
                outcome.fault = "text " + std::to_string(kTextIds[i]) + " above the largest id";
            strFirst[i] = strText;
        }
    // A file that could not be read whole is reported in a message.
    outcome.loaded = TakeMessageBoxes() == 0;
    // The other readers see the program's own texts again.
    SetLangTextFolder(ProgramFolder());
    return outcome;
}

}   // namespace

// ---- Runs ---------------------------------------------------------------------------------

Outcome RunBmpReader(const CString& strPath)
{
    Outcome outcome;
    CFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite))
    {
        outcome.fault = "the input file could not be opened";
        return outcome;
    }
    BmpTarget t;
    BYTE* pOldData = t.image.data;
    outcome.loaded = ReadBmpFile(&t.header, &file, &t.image, t.table) != FALSE;
    outcome.fault = outcome.loaded ? CheckBmpRead(t) : CheckBmpRefused(t, pOldData);
    return outcome;
}

void PaletteSeeds(std::vector<Seed>& seeds)
{
    C2Palette& p = SharedPalette();
    for (LPCWSTR lpszName : {L"Ceramique-Mate", L"Bisazza-LeGemme", L"CordobaEye"})
    {
        FillPalette(p, lpszName);
        seeds.push_back({"v12-" + Narrow(lpszName),
                         StoredBytes([&p](CArchive& ar) { p.Serialize(ar); })});
    }
    FillPalette(p, L"Mosaica");
    seeds.push_back({"v10", StoredBytes([&p](CArchive& ar) { StoreVersion10(ar, p); })});
    // The palettes the program ships.
    for (const char* pszName : {"Ceramique-Mate.pal", "Verre-Nuances.pal"})
    {
        const Bytes bytes =
            ReadWholeFile(DosPath(MOSAIC_DATA_DIR "/Palettes/") + CString(pszName));
        if (!bytes.empty())
            seeds.push_back({pszName, bytes});
    }
}

Outcome RunPalette(const CString& strPath)
{
    C2Palette& p = SharedPalette();
    const uint64_t nBefore = HashPaletteFields(p);
    Outcome outcome;
    try
    {
        outcome.loaded = p.LoadFromFile(strPath) != FALSE;
    }
    catch (CArchiveException* e)
    {
        e->Delete();
    }
    catch (CFileException* e)
    {
        e->Delete();
    }
    if (!outcome.loaded)
    {
        if (HashPaletteFields(p) != nBefore)
            outcome.fault = "refused, but the palette changed";
        return outcome;
    }
    // A family kind the program does not know is kept: everything that reads the kind takes
    // such a palette for one of plain colours.
    if (p.m_documentVersion != C2Palette::CurrentDocumentVersion)
        outcome.fault = "document version left at " + std::to_string(p.m_documentVersion);
    for (int i = 0; i < C2Palette::ColourCount && outcome.fault.empty(); i++)
        if (p.m_symbolFonts[i].lfFaceName[LF_FACESIZE - 1] != 0)
            outcome.fault = "font face " + std::to_string(i) + " without terminator";
    return outcome;
}

void LangTextSeeds(std::vector<Seed>& seeds)
{
    seeds.push_back({"utf8", BytesOf(kTextsUtf8)});
    seeds.push_back({"utf16", Utf16File("903;\xCE\xBC\xCE\xBC\r\n"
                                        "1000;\xE6\x96\x87\xE5\xAD\x97 \\t tab\r\n"
                                        "1001;##1000\r\n1002;##1002\r\n"
                                        "31999;\xF0\x9F\x98\x80 outside the basic plane\n")});
    // 8-bit text in the code page, with a line longer than the reader reads at once.
    std::string strAnsi = "903;mm\r\n1000;caf\xE9 cr\xE8me\r\n1003;";
    strAnsi += std::string(5000, 'L');
    strAnsi += "\r\n1004;after the long line\r\n";
    seeds.push_back({"ansi", BytesOf(strAnsi.c_str())});
}

Outcome RunLangText(const CString& strPath)
{
    return LookUpTexts(strPath);
}

// A "LOC" file is read first and the English file fills its gaps: the merge.
void PrepareLangTextMerge(const CString& strFolder)
{
    WriteWholeFile(strFolder + L"Text_Mosaic-409.fil", BytesOf(kTextsUtf8));
}

Outcome RunLangTextMerge(const CString& strPath)
{
    return LookUpTexts(strPath);
}

void TextSeeds(std::vector<Seed>& seeds)
{
    LangTextSeeds(seeds);
    seeds.push_back({"line-ends", BytesOf("a\rb\r\r\nc\n\nd\r\n\re")});
    Bytes odd = Utf16File("odd\r\nlength");
    odd.push_back('x');
    seeds.push_back({"utf16-odd", odd});
}

Outcome RunStdioText(const CString& strPath)
{
    Outcome outcome;
    const Bytes bytes = ReadWholeFile(strPath);
    const size_t nBytes = bytes.size();
    CStdioFileEx file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeText))
    {
        outcome.fault = "the input file could not be opened";
        return outcome;
    }
    const bool bSign = nBytes >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (file.IsFileUnicodeText() != bSign)
        outcome.fault = bSign ? "UTF-16 file read as 8-bit text" : "8-bit file read as UTF-16";
    size_t nLines = 0, nChars = 0;
    CString strLine;
    while (outcome.fault.empty() && file.ReadString(strLine))
    {
        nLines++;
        nChars += (size_t)strLine.GetLength();
        if (strLine.Find(L'\n') >= 0)
            outcome.fault = "line " + std::to_string(nLines) + " holds a line feed";
        else if (nLines > nBytes + 1)
            outcome.fault = "more lines than bytes";
        else if (nChars > nBytes)
            outcome.fault = "more characters than bytes";
    }
    file.Abort();
    outcome.loaded = true;
    return outcome;
}

}   // namespace fuzz
