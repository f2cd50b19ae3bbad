// The mosaic's figures written out: the spreadsheet table, read back by Python's csv module,
// and the text summary, whose figures are the document's counts.
#include "MosaicTest.h"

#include <locale.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AfxMsgMap.h"
#include "CsvReader.h"
#include "DocTestFiles.h"
#include "MessageBoxAnswerer.h"
#include "Plaque.h"
#include "TextFile.h"
#include "TextIds.h"
#include "TileCell.h"
#include "VitrolanDoc.h"
#include "WriteFailures.h"

namespace
{

CString DataFolder()
{
    CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strFolder.Replace(L"/", L"\\");
    return strFolder;
}

CString Number(double value)
{
    CString str;
    str.Format(L"%.0f", value);
    return str;
}

// Image colours: red, green and blue; the tile palette holds green and blue only.
struct ImageColour
{
    BYTE r, g, b;
    LPCWSTR name;
    LPCWSTR symbol;
};
const ImageColour kColours[] = {
    {200, 0, 0, L"Rouge", L"R;1"}, {0, 200, 0, L"Vert", L""}, {0, 0, 200, L"Bleu", L"B"}};

class FiguresTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetLangTextFolder(DataFolder());
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        m_strProgram = NewTempFolder(L"MosaicFigures");
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_programFolder = m_strProgram;
        m_doc->SetTitle(L"Garden; north");
        MakeMosaic(7, 5);
    }
    void TearDown() override
    {
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        RemoveTree(m_strProgram);
        SetLangTextFolder(SharedTextFolder());
    }

    // Whole tiles whose colour runs with the column and row; 3 x 3 plates.
    void MakeMosaic(int nCols, int nRows)
    {
        CVitrolanDoc& doc = *m_doc;
        doc.m_cols = nCols;
        doc.m_rows = nRows;
        doc.m_workingMap.Create(0, 4 * nCols, 4 * nRows);
        for (int r = 0; r < nRows; r++)
            for (int c = 0; c < nCols; c++)
                doc.m_workingMap.SetCell(c, r, 0, 0, ColourAt(c, r), 0, 0, 0, 0, 0, 0, 0);
        doc.m_committedMap.Create(0, 4 * nCols, 4 * nRows);
        doc.m_workingMap.CopyBlock(&doc.m_committedMap, 4 * nCols, 4 * nRows);
        doc.m_colourCount = 3;
        for (int i = 0; i < 3; i++)
        {
            doc.m_imagePalette.m_colours[i] = {kColours[i].r, kColours[i].g, kColours[i].b, 1};
            doc.m_imagePalette.m_colourNames[i] = kColours[i].name;
            doc.m_imagePalette.m_symbols[i] = kColours[i].symbol;
        }
        doc.m_tilePalette.Reset();
        doc.m_tilePalette.m_colours[0] = {0, 0, 200, 1};
        doc.m_tilePalette.m_colours[1] = {0, 200, 0, 1};
        doc.carplaquex = 3;
        doc.carplaquey = 3;
        doc.direction = 0;
        doc.decalage = 0;
        doc.m_pavingType = 0;
        doc.m_loaded = 1;
    }
    static int ColourAt(int c, int r) { return (c + 2 * r) % 3; }

    struct Measures
    {
        int pitch, tileSize, jointWidth, units;
        LPCWSTR unit, longUnit;
    };
    void SetMeasures(const Measures& m)
    {
        m_doc->m_pitch = m.pitch;
        m_doc->taillecar = m.tileSize;
        m_doc->intercar = m.jointWidth;
        m_doc->unites = m.units;
        m_doc->m_unitText = m.unit;
        m_doc->m_unitTextLong = m.longUnit;
    }

    CString m_strProgram;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// The table in each label mode: the title, the header, then per plate in the plan's order
// one row per tile (column outside, row inside) and an empty row; every tile row names the
// tile's colour at its place on its plate.
TEST_F(FiguresTest, SpreadsheetTableHasOneRowPerTileOfEachPlate)
{
    const struct
    {
        int impression;
        std::vector<CString> labels;   // per image colour
    } cases[] = {
        {0, {L"0", L"1", L"2"}},
        {1, {L"-1", L"1", L"0"}},
        {2, {L"R;1", L"", L"B"}},
        {3, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.impression);
        m_doc->impression = c.impression;
        const CString strPath = m_doc->ExportSpreadsheet();
        ASSERT_FALSE(strPath.IsEmpty());
        EXPECT_EQ(0, strPath.Find(m_strProgram + L"Excel\\Excel_Garden; north_"));
        EXPECT_EQ(CString(L".csv"), strPath.Right(4));
        const std::vector<BYTE> bytes = ReadBytes(strPath);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                  std::count(text.begin(), text.end(), '\r'));

        const CsvRows rows = ReadCsvWithPython(strPath);
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(std::vector<CString>{L"Garden; north"}, rows[0]);
        EXPECT_EQ((std::vector<CString>{L"PAG", L"LINE", L"COLUN", L"COR"}), rows[1]);

        // The plates by number, and what the table should say for each.
        std::map<int, const CPlaque*> plates;
        POSITION pos = m_doc->m_plaques.GetHeadPosition();
        while (pos != NULL)
        {
            const CPlaque* p = (const CPlaque*)m_doc->m_plaques.GetNext(pos);
            plates[p->m_number] = p;
        }
        ASSERT_EQ(6u, plates.size());
        CsvRows expected(rows.begin(), rows.begin() + 2);
        for (const auto& numbered : plates)
        {
            const CPlaque* p = numbered.second;
            for (int col = (int)p->m_firstCol; !c.labels.empty() && col < (int)p->m_endCol; col++)
                for (int row = (int)p->m_firstRow; row < (int)p->m_endRow; row++)
                {
                    CString strPlate, strLine, strColumn;
                    strPlate.Format(L"%d", numbered.first);
                    strLine.Format(L"%d", col - (int)p->m_firstCol + 1);
                    strColumn.Format(L"%d", row - (int)p->m_firstRow + 1);
                    expected.push_back({strPlate, strLine, strColumn,
                                        c.labels[(size_t)ColourAt(col, row)]});
                }
            expected.push_back({});
        }
        EXPECT_EQ(expected, rows);
        DeleteFileW(strPath);
    }
}

// Each colour has as many rows as it has tiles; a mosaic without plates gives the title
// and the header only.
TEST_F(FiguresTest, SpreadsheetRowsAddUpToTheTileCounts)
{
    m_doc->impression = 0;
    m_doc->CountTilesPerColour();
    const CsvRows rows = ReadCsvWithPython(m_doc->ExportSpreadsheet());
    std::map<CString, int> perColour;
    for (size_t i = 2; i < rows.size(); i++)
        if (rows[i].size() == 4)
            perColour[rows[i][3]]++;
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(m_doc->m_tileCounts[0][i], perColour[Number(i)]) << i;
    EXPECT_EQ(3u, perColour.size());

    m_doc->carplaquex = 0;
    EXPECT_EQ(2u, ReadCsvWithPython(m_doc->ExportSpreadsheet()).size());
}

// The menu command shows the table it wrote; one that cannot be written is reported and
// not shown.
TEST_F(FiguresTest, SpreadsheetCommandShowsTheTableOrReportsIt)
{
    CPdfOpenRecorder opened(m_strProgram + L"opened.txt", L".csv");
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_EXPORT_SPREADSHEET, CN_COMMAND, NULL, NULL));
    std::vector<BYTE> log = ReadBytes(m_strProgram + L"opened.txt");
    EXPECT_NE(std::string::npos, std::string(log.begin(), log.end()).find("Excel_Garden"));

    // "Excel" is taken by a file.
    RemoveTree(m_strProgram + L"Excel\\");
    WriteBytes(m_strProgram + L"Excel", "x", 1);
    DeleteFileW(m_strProgram + L"opened.txt");
    MessageBoxAnswerer answerer;
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_EXPORT_SPREADSHEET, CN_COMMAND, NULL, NULL));
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_TRUE(ReadBytes(m_strProgram + L"opened.txt").empty());
}

// The summary's lines for hand-set counts, metric: colours without tiles have no block, a
// colour with parts only starts its line with them, one without parts of the last two
// kinds still gets "()", an empty symbol reads "?", and numbers keep their point in a
// country that writes a comma.
TEST_F(FiguresTest, SummaryWritesTheFiguresInItsOrder)
{
    CVitrolanDoc& doc = *m_doc;
    SetMeasures({2660, 2500, 160, 0, L"mm", L"m"});
    doc.filet = 1;
    doc.impression = 2;
    doc.m_plaqueCount = 6;
    doc.m_cellCount = 30;
    doc.m_colourCount = 4;
    const int counts[4][5] = {{4, 0, 2, 1, 3}, {1, 0, 0, 0, 0}, {0, 5, 0, 0, 0}, {0, 0, 0, 0, 0}};
    for (int i = 0; i < 4; i++)
        for (int k = 0; k < 5; k++)
            doc.m_tileCounts[k][i] = counts[i][k];
    const double totals[5] = {5, 5, 2, 1, 3};
    for (int k = 0; k < 5; k++)
        doc.m_countTotals[k] = totals[k];

    const bool bFrench = setlocale(LC_ALL, "fr_FR.UTF-8") != NULL;
    const CString strText = doc.FormatTextSummary(L"11/12/26 03:00");
    setlocale(LC_ALL, "C");
    EXPECT_EQ(CString(L"11/12/26 03:00\n"
                      L"Title = Garden; north\n"
                      L"Palette = New palette\n"
                      L"Number of colours = 4\n"
                      L"Width = 7 tiles\n"
                      L"Height = 5 tiles\n"
                      L"Number of grids = 6\n"
                      L"Grid size = 3 x 3 tiles\n"
                      L"Dimensions = 0.19 (width) x 0.13 (height) m\n"
                      L"Surface = 0.02 m\u00b2\n"
                      L"Tile size: 25.0 mm\n"
                      L"Joint size = 1.6 mm\n"
                      L"Indirect laying (mirrored plan)\n"
                      L"Labels: symbols\n\n"
                      L"Colour R;1  : Rouge\n(4 tiles + 2 half tiles) \n\n"
                      L"(1 quarter tiles + 3 diagonal quarters)\n\n"
                      L"Colour ?  : Vert\n(1 tiles) \n\n()\n\n"
                      L"Colour B  : Bleu\n(5 diagonal half tiles) \n\n()\n\n"
                      L"--------------------------------------------\n"
                      L"Total Whole tiles = 5\n"
                      L"Total Diagonal half tiles = 5\n"
                      L"Total Half tiles = 2\n"
                      L"Total Quarter tiles = 1\n"
                      L"Total Diagonal quarters = 3\n"),
              strText)
        << (bFrench ? "with a French locale" : "fr_FR.UTF-8 is not installed");
}

// Imperial sizes: two decimals, the joint's line starting with a blank; feet; tile numbers
// as labels, "?" for a colour the tile palette lacks, and the red, green and blue of a
// colour without a name.
TEST_F(FiguresTest, SummaryInImperialUnitsWithTileNumbers)
{
    CVitrolanDoc& doc = *m_doc;
    SetMeasures({1000, 900, 100, 1, L"in", L"ft"});
    doc.filet = 0;
    doc.impression = 1;
    doc.m_cellCount = 30;
    doc.m_imagePalette.m_colourNames[2].Empty();
    memset(doc.m_tileCounts, 0, sizeof(doc.m_tileCounts));
    doc.m_tileCounts[0][0] = 2;
    doc.m_tileCounts[0][2] = 3;
    const CString strText = doc.FormatTextSummary(L"");
    for (LPCWSTR lpszLine : {L"\nDimensions = 0.58 (width) x 0.42 (height) ft\n",
                             L"\nSurface = 0.21 ft\u00b2\n",
                             L"\nTile size: 0.90 in\n Joint size = 0.10 in\nDirect laying\n"
                             L"Labels: tile numbers\n\n",
                             L"\nColour ?  : Rouge\n(2 tiles) \n\n()\n\n",
                             L"\nColour 0  : Red = 0, Green = 0, Blue = 200\n(3 tiles) \n\n"})
        EXPECT_NE(-1, strText.Find(lpszLine)) << CStringA(lpszLine).GetString() << "\nin\n"
                                              << CStringA(strText).GetString();
    EXPECT_EQ(-1, strText.Find(L"Vert"));
}

// The summary goes beside the document under its name, or under the name the user chose;
// a picture's path is never the summary's.
TEST_F(FiguresTest, SummaryPathFollowsTheDocumentAndTheChosenName)
{
    const struct
    {
        LPCWSTR docPath, chosen, expected;
    } cases[] = {
        {L"C:\\m\\garden.ms2", L"garden_T.txt", L"C:\\m\\garden_T.txt"},
        {L"C:\\m.ms2\\photo.jpg", L"garden_T.txt", L"C:\\m.ms2\\photo_T.txt"},
        {L"", L"garden_T.txt", L"garden_T.txt"},
        {L"C:\\m\\garden.ms2", L"notes.txt", L"C:\\m\\notes.txt"},
        {L"C:\\m\\garden.ms2", L"D:\\out\\n.txt", L"D:\\out\\n.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), CVitrolanDoc::SummaryPath(c.docPath, L"garden_T.txt", c.chosen))
            << CStringA(c.docPath).GetString() << " " << CStringA(c.chosen).GetString();
    EXPECT_EQ(CString(L"garden_T.txt"), CVitrolanDoc::SummaryFileName(L"garden.ms2"));
    EXPECT_EQ(CString(L"a.b_T.txt"), CVitrolanDoc::SummaryFileName(L"a.b.c"));
    EXPECT_EQ(CString(L".ms2_T.txt"), CVitrolanDoc::SummaryFileName(L".ms2"));
}

CString g_strSummaryAnswer;
INT_PTR AnswerSummaryName(CString* pName)
{
    if (g_strSummaryAnswer.IsEmpty())
        return IDCANCEL;
    *pName = g_strSummaryAnswer;
    return IDOK;
}

// The summary is written where the user says and shown; a cancelled name writes nothing,
// and a file that cannot be written is reported and not shown.
TEST_F(FiguresTest, SummaryIsWrittenAndShownOrReported)
{
    CVitrolanDoc::s_uiHooks.pfnAskSummaryName = AnswerSummaryName;
    m_doc->m_path = m_strProgram + L"garden.ms2";
    const CString strLog = m_strProgram + L"opened.txt";
    const struct
    {
        LPCWSTR answer;
        LPCWSTR written;   // NULL when nothing is written
        int nReports;
    } cases[] = {
        {L"", NULL, 0},
        {L"missing\\figures.txt", NULL, 1},
        {L"figures.txt", L"figures.txt", 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(CStringA(c.answer).GetString());
        g_strSummaryAnswer = c.answer;
        CPdfOpenRecorder opened(strLog, L".txt");
        MessageBoxAnswerer answerer;
        EXPECT_TRUE(m_doc->WriteTextSummary());
        EXPECT_EQ(c.nReports, MessageBoxAnswerer::s_nCount);
        const std::vector<BYTE> log = ReadBytes(strLog);
        if (c.written == NULL)
        {
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
                      GetFileAttributesW(m_strProgram + (*c.answer ? c.answer : L"garden_T.txt")));
            continue;
        }
        EXPECT_NE(std::string::npos, std::string(log.begin(), log.end()).find("figures.txt"));
        const std::string text = ReadTextWithPython(m_strProgram + c.written);
        // 35 laid tiles of three colours, counted when the summary is written.
        EXPECT_NE(std::string::npos, text.find("\r\nTotal Whole tiles = 35\r\n")) << text;
        EXPECT_EQ(35, m_doc->m_cellCount);
    }
}

// A summary that cannot be written whole, on a full disk or in a folder that takes no new
// file, is reported by its name and leaves the summary written before; so does the
// palette's text table.
TEST_F(FiguresTest, TextExportsThatFailLeaveTheEarlierFile)
{
    CVitrolanDoc::s_uiHooks.pfnAskSummaryName = AnswerSummaryName;
    // The earlier summary may be replaced.
    CVitrolanDoc::s_uiHooks.pfnMessageBox = [](LPCTSTR) { return (int)IDOK; };
    m_doc->m_path = m_strProgram + L"garden.ms2";
    g_strSummaryAnswer = L"garden_T.txt";
    const CString strSummary = m_strProgram + L"garden_T.txt";
    const std::string earlier(100, 'e');
    CreateDirectoryW(m_strProgram + L"Palettes", NULL);
    m_doc->m_tilePalette.m_name = L"Glass";
    for (int i = 0; i < 100; i++)
        m_doc->m_tilePalette.m_colourNames[i].Format(L"Tile number %d", i);
    const CString strTable = m_doc->PaletteExportPath();
    CPdfOpenRecorder opened(m_strProgram + L"opened.txt", L".txt");
    for (const char* pszCase : {"full disk", "read-only folder"})
    {
        SCOPED_TRACE(pszCase);
        WriteBytes(strSummary, earlier.data(), (DWORD)earlier.size());
        WriteBytes(strTable, earlier.data(), (DWORD)earlier.size());
        std::vector<CString> reports;
        for (const CString& strFolder : {m_strProgram, m_strProgram + L"Palettes\\"})
        {
            MessageBoxAnswerer report;
            if (pszCase[0] == 'f')
            {
                FullDisk full(64);
                if (strFolder == m_strProgram)
                    m_doc->WriteTextSummary();
                else
                    EXPECT_FALSE(m_doc->ExportTilePaletteText());
            }
            else
            {
                ReadOnlyFolder readOnly(strFolder);
                if (!readOnly.IsReadOnly())
                    return;
                if (strFolder == m_strProgram)
                    m_doc->WriteTextSummary();
                else
                    EXPECT_FALSE(m_doc->ExportTilePaletteText());
            }
            EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
            reports.push_back(MessageBoxAnswerer::s_strText);
        }
        ASSERT_EQ(2u, reports.size());
        EXPECT_NE(-1, reports[0].Find(L"garden_T.txt")) << CStringA(reports[0]).GetString();
        EXPECT_NE(-1, reports[1].Find(L"Glass_Export.csv")) << CStringA(reports[1]).GetString();
        for (const CString& strPath : {strSummary, strTable})
        {
            const std::vector<BYTE> kept = ReadBytes(strPath);
            EXPECT_EQ(earlier, std::string(kept.begin(), kept.end()));
        }
    }
}

// The summary replaces a file of the name the user chose only when the user agrees; the
// question says when that file is the open mosaic's own or one the program opens.
TEST_F(FiguresTest, SummaryReplacesAFileOnlyWhenTheUserAgrees)
{
    static std::vector<CString> s_questions;
    static int s_nAnswer;
    s_questions.clear();
    CVitrolanDoc::s_uiHooks.pfnAskSummaryName = AnswerSummaryName;
    CVitrolanDoc::s_uiHooks.pfnMessageBox = [](LPCTSTR lpszText) {
        s_questions.push_back(lpszText);
        return s_nAnswer;
    };
    const CString strMosaic = m_strProgram + L"Mon jardin.ms2";
    m_doc->m_path = strMosaic;
    m_doc->m_ownFile = strMosaic;
    const struct
    {
        LPCWSTR name;
        UINT nQuestion;
    } cases[] = {
        {L"notes.txt", TXT_ASK_REPLACE_FILE},
        {L"Mon jardin.ms2", TXT_ASK_REPLACE_OPEN_MOSAIC},
        {L"other.MS2", TXT_ASK_REPLACE_PROGRAM_FILE},
        {L"tiles.pal", TXT_ASK_REPLACE_PROGRAM_FILE},
        {L"photo.jpeg", TXT_ASK_REPLACE_PROGRAM_FILE},
    };
    const std::string old = "what the user keeps";
    CPdfOpenRecorder opened(m_strProgram + L"opened.txt", L".txt");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(CStringA(c.name).GetString());
        const CString strPath = m_strProgram + c.name;
        WriteBytes(strPath, old.data(), (DWORD)old.size());
        g_strSummaryAnswer = c.name;

        s_questions.clear();
        s_nAnswer = IDCANCEL;
        EXPECT_TRUE(m_doc->WriteTextSummary());
        ASSERT_EQ(1u, s_questions.size());
        CString strQuestion;
        strQuestion.Format(GetLangText(c.nQuestion), (LPCTSTR)strPath);
        EXPECT_EQ(strQuestion, s_questions[0]);
        const std::vector<BYTE> kept = ReadBytes(strPath);
        EXPECT_EQ(old, std::string(kept.begin(), kept.end()));

        s_questions.clear();
        s_nAnswer = IDOK;
        {
            // The shell has nothing to show these kinds of file with.
            MessageBoxAnswerer shellReport;
            EXPECT_TRUE(m_doc->WriteTextSummary());
        }
        EXPECT_EQ(1u, s_questions.size());
        const std::string text = ReadTextWithPython(strPath);
        EXPECT_NE(std::string::npos, text.find("Total Whole tiles = 35")) << text;
    }
    // A name free of any file asks nothing.
    s_questions.clear();
    g_strSummaryAnswer = L"new.txt";
    EXPECT_TRUE(m_doc->WriteTextSummary());
    EXPECT_TRUE(s_questions.empty());
}

}   // namespace
