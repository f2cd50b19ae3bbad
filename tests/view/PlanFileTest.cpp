// The laying plan command: its questions and refusals, the file it names and writes through
// the view's pages, and the document values it leaves as they were.
#include "MosaicTest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "LangText.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "text/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

// The boxes and the dialog of the command, answered without windows.
struct PlanAnswers
{
    static inline std::vector<CString> messages;
    static inline std::vector<PlanOptions> asked;
    static inline INT_PTR result = IDOK;

    static int Message(LPCTSTR lpszText)
    {
        messages.push_back(lpszText);
        return IDOK;
    }
    static INT_PTR AskOptions(PlanOptions* pOptions)
    {
        asked.push_back(*pOptions);
        return result;
    }
};

class PlanFile : public testing::Test
{
protected:
    PlanFile() : m_opened(m_folder.Path(L"opened.txt")) {}

    // A mosaic of 20 x 8 squares in plates of 8 x 8; the tile palette holds its colours, each
    // with a symbol, which the image colours take.
    void SetUp() override
    {
        m_savedHooks = CVitrolanDoc::s_uiHooks;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = PlanAnswers::Message;
        CVitrolanDoc::s_uiHooks.pfnAskPlanOptions = PlanAnswers::AskOptions;
        PlanAnswers::messages.clear();
        PlanAnswers::asked.clear();
        PlanAnswers::result = IDOK;

        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_pDoc = m_app.Doc();
        LoadTestMosaic(*m_pDoc, 20, 8, PavingSquares, 10);
        for (int i = 0; i < 251; i++)
        {
            m_pDoc->m_tilePalette.m_colours[i] = m_pDoc->m_imagePalette.m_colours[i];
            m_pDoc->m_tilePalette.m_symbols[i].Format(L"s%d", i);
        }
        m_pDoc->m_tileColourCount = 251;
        m_pDoc->m_programFolder = m_folder.Folder();
        m_pDoc->carplaquex = m_pDoc->carplaquey = 8;
        m_pDoc->direction = m_pDoc->decalage = 0;
        m_pDoc->format = 0;
        m_pDoc->unites = 0;
        m_pDoc->impression = 2;
        m_pDoc->responsive = 0;
        m_pDoc->m_pitch = m_pDoc->taillecar + m_pDoc->intercar;
        m_pDoc->UpdateAllViews(NULL);
        PumpMessages();
    }

    void TearDown() override
    {
        for (const CString& strPlan : Plans())
        {
            DeleteFileW(m_folder.Path(L"Plans\\") + strPlan);
        }
        RemoveDirectoryW(m_folder.Path(L"Plans"));
        CVitrolanDoc::s_uiHooks = m_savedHooks;
    }

    // The names of the files in "Plans".
    std::vector<CString> Plans() const
    {
        std::vector<CString> names;
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW(m_folder.Path(L"Plans\\*.pdf"), &data);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(data.cFileName);
        while (FindNextFileW(hFind, &data));
        FindClose(hFind);
        return names;
    }

    std::string Opened() { return m_folder.ReadBytes(L"opened.txt"); }

    static std::vector<CString> Texts(std::initializer_list<UINT> ids)
    {
        std::vector<CString> texts;
        for (UINT id : ids)
            texts.push_back(GetLangText(id));
        return texts;
    }

    CTempFolder m_folder;
    CPdfOpenRecorder m_opened;
    CViewTestApp m_app;
    CVitrolanDoc* m_pDoc = NULL;
    DocUiHooks m_savedHooks;
};

TEST_F(PlanFile, UntitledPlanOfSeveralPlatesHasThreePages)
{
    m_pDoc->m_path.Empty();
    m_pDoc->regles = 1;
    m_pDoc->OnPrintGrids();

    EXPECT_EQ(Texts({TXT_MSG_PLAN_AS_PDF}), PlanAnswers::messages);
    // The dialog offers plate 1 only, of the three.
    ASSERT_EQ(1u, PlanAnswers::asked.size());
    EXPECT_EQ(3, PlanAnswers::asked[0].plateCount);
    EXPECT_EQ(1, PlanAnswers::asked[0].firstPlate);
    EXPECT_EQ(1, PlanAnswers::asked[0].lastPlate);
    EXPECT_EQ(1, PlanAnswers::asked[0].rulers);
    EXPECT_EQ(1, m_pDoc->m_dirty);

    const std::vector<CString> plans = Plans();
    ASSERT_EQ(1u, plans.size());
    // "Plan_", an empty title, "_", the date and the time.
    EXPECT_EQ(0, plans[0].Find(L"Plan__")) << CStringA(plans[0]).GetString();
    EXPECT_EQ(25, plans[0].GetLength()) << CStringA(plans[0]).GetString();
    const std::string path = UnixPath(m_folder.Path(L"Plans\\") + plans[0]);
    ASSERT_EQ("ok", QpdfCheck(path));
    EXPECT_EQ("3", InfoValue(PdfInfo(path), "Pages"));
    // The plan page is the first page of plate 1.
    const std::string plate = std::string(CW2A(GetLangText(TXT_PLATE), CP_UTF8)) + " 1 (1)";
    EXPECT_NE(std::string::npos, RunCommand("pdftotext -f 2 -l 2 " + Quoted(path) + " -")
                                     .find(plate));
    EXPECT_NE(std::string::npos, Opened().find("Plan__")) << Opened();
    EXPECT_TRUE(AfxGetMainWnd()->IsWindowEnabled());
}

TEST_F(PlanFile, RefusalsWriteNothing)
{
    const struct
    {
        const char* name;
        int pavingType;
        int impression;
        int carplaquey;
        INT_PTR dialogResult;
        std::vector<UINT> messages;
        int carplaqueyAfter;
    } cases[] = {
        {"cancel", PavingSquares, 2, 8, IDCANCEL, {TXT_MSG_PLAN_AS_PDF}, 8},
        // The correction of odd triangle grids stays although the plan is cancelled.
        {"odd triangles, cancel", PavingTriangles, 2, 3, IDCANCEL,
         {TXT_MSG_TRIANGLES_EVEN_ROWS, TXT_MSG_PLAN_AS_PDF}, 2},
        // Lowered to no row, the plates would never end.
        {"triangles of one row", PavingTriangles, 2, 1, IDOK,
         {TXT_MSG_TRIANGLE_PLATES_TOO_LOW}, 1},
        {"scales without labels", PavingScales1, 3, 8, IDOK,
         {TXT_MSG_PLAN_AS_PDF, TXT_MSG_SCALES_NEED_LABELS}, 8},
        {"colour without symbol", PavingSquares, 1, 8, IDOK,
         {TXT_MSG_PLAN_AS_PDF, TXT_MSG_COLOUR_WITHOUT_SYMBOL}, 8},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        PlanAnswers::messages.clear();
        PlanAnswers::result = c.dialogResult;
        m_pDoc->m_pavingType = c.pavingType;
        m_pDoc->impression = c.impression;
        m_pDoc->carplaquey = c.carplaquey;
        m_pDoc->m_tilePalette.m_symbols[5] = c.impression == 1 ? L"" : L"s5";
        m_pDoc->m_dirty = 0;
        m_pDoc->OnPrintGrids();
        std::vector<CString> expected;
        for (UINT id : c.messages)
            expected.push_back(GetLangText(id));
        EXPECT_EQ(expected, PlanAnswers::messages);
        EXPECT_EQ(c.carplaqueyAfter, m_pDoc->carplaquey);
        EXPECT_TRUE(Plans().empty());
        EXPECT_TRUE(AfxGetMainWnd()->IsWindowEnabled());
    }
    EXPECT_EQ("", Opened());
}

TEST_F(PlanFile, OnePlatePerPageChangesTheTileSizeForThePlanPageOnly)
{
    m_pDoc->m_path = L"C:\\mosaics\\Garden.ms2";
    m_pDoc->responsive = 1;
    const int nTileSize = m_pDoc->taillecar, nPitch = m_pDoc->m_pitch;
    m_pDoc->OnPrintGrids();
    EXPECT_EQ(nTileSize, m_pDoc->taillecar);
    EXPECT_EQ(nPitch, m_pDoc->m_pitch);
    const std::vector<CString> plans = Plans();
    ASSERT_EQ(1u, plans.size());
    EXPECT_EQ(0, plans[0].Find(L"Plan_Garden_"));

    // A plate wider than a page has room for: each tile would be less than its joint.
    for (const CString& strPlan : Plans())
        DeleteFileW(m_folder.Path(L"Plans\\") + strPlan);
    PlanAnswers::messages.clear();
    m_pDoc->carplaquex = 400;
    m_pDoc->OnPrintGrids();
    EXPECT_EQ(Texts({TXT_MSG_PLAN_AS_PDF, TXT_MSG_PLAN_TILES_DO_NOT_FIT}),
              PlanAnswers::messages);
    EXPECT_TRUE(Plans().empty());
    EXPECT_EQ(nTileSize, m_pDoc->taillecar);
    EXPECT_EQ(nPitch, m_pDoc->m_pitch);
}

TEST(PlanFileName, TitleFromTheDocumentPath)
{
    const SYSTEMTIME time = {2026, 3, 0, 7, 9, 5, 4, 0};
    const struct
    {
        LPCWSTR path;
        LPCWSTR expected;
    } cases[] = {
        {L"C:\\mosaics\\Garden.ms2", L"P\\Plans\\Plan_Garden_20260307_090504.pdf"},
        {L"", L"P\\Plans\\Plan__20260307_090504.pdf"},
        {L"C:\\a.b\\NoPoint", L"P\\Plans\\Plan_NoPoint_20260307_090504.pdf"},
        {L"C:\\a\\.hidden", L"P\\Plans\\Plan_.hidden_20260307_090504.pdf"},
        {L"Two.dots.ms2", L"P\\Plans\\Plan_Two.dots_20260307_090504.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), CVitrolanDoc::PlanFileName(L"P\\", c.path, time));
}

}   // namespace

namespace
{

// A symbol no installed font has is told once, however many tiles carry it; the picture
// page leaves the zoom at most the one at which the whole mosaic fits the window's height.
TEST_F(PlanFile, PlanTellsTextsNoFontShowsAndFitsTheZoom)
{
    m_pDoc->m_path = L"C:\\mosaics\\Garden.ms2";
    m_pDoc->m_tilePalette.m_symbols[5] = L"\u6f22";
    m_pDoc->m_tilePalette.m_symbols[6] = L"\u6f22";
    m_pDoc->m_tileSize = 300;
    m_pDoc->OnPrintGrids();

    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_TEXTS_WITHOUT_FONT), L"\u6f22");
    EXPECT_EQ((std::vector<CString>{GetLangText(TXT_MSG_PLAN_AS_PDF), strMessage}),
              PlanAnswers::messages);
    ASSERT_EQ(1u, Plans().size());
    const int H = m_pDoc->m_screenHeight;
    EXPECT_LE(m_pDoc->m_tileSize, std::max(std::min(H / m_pDoc->m_rows, H / m_pDoc->m_cols), 1));
    EXPECT_EQ(0, m_pDoc->m_tileSize % 2);
}

TEST_F(PlanFile, ColourLinesJoinOnlyTheCountsThereAre)
{
    const CString strColour = GetLangText(TXT_COLOUR);
    const CString strTiles = GetLangText(TXT_TILES);
    const CString strDiagonalHalves = GetLangText(TXT_DIAGONAL_HALF_TILES);
    const CString strHalves = GetLangText(TXT_HALF_TILES);
    const CString strQuarters = GetLangText(TXT_QUARTER_TILES);
    const CString strDiagonalQuarters = GetLangText(TXT_DIAGONAL_QUARTER_TILES);
    C2Palette& image = m_pDoc->m_imagePalette;
    image.m_colourNames[7] = L"Amber";
    image.m_colourNames[8].Empty();
    image.m_colours[8].peRed = 1;
    image.m_colours[8].peGreen = 2;
    image.m_colours[8].peBlue = 3;
    const int counts[2][5] = {{12, 3, 0, 0, 0}, {0, 0, 5, 2, 4}};
    for (int table = 0; table < 5; table++)
    {
        m_pDoc->m_tileCounts[table][7] = counts[0][table];
        m_pDoc->m_tileCounts[table][8] = counts[1][table];
    }
    m_pDoc->impression = 2;
    image.m_symbols[7] = L"s7";
    CString lines[3];
    m_pDoc->GetColourInfoLines(7, lines);
    EXPECT_EQ(strColour + L" s7  : Amber", lines[0]);
    EXPECT_EQ(L"(12 " + strTiles + L" + 3 " + strDiagonalHalves + L")", lines[1]);
    EXPECT_EQ(CString(L"()"), lines[2]);

    // Without a name its RGB; the first count written has no plus sign.
    m_pDoc->impression = 0;
    m_pDoc->GetColourInfoLines(8, lines);
    EXPECT_EQ(strColour + L" 8  : " + GetLangText(TXT_RED) + L" = 1, " +
                  GetLangText(TXT_GREEN) + L" = 2, " + GetLangText(TXT_BLUE) + L" = 3",
              lines[0]);
    EXPECT_EQ(L"(5 " + strHalves + L")", lines[1]);
    EXPECT_EQ(L"(2 " + strQuarters + L" + 4 " + strDiagonalQuarters + L")", lines[2]);

    // A tile number for a colour the tile palette lacks.
    m_pDoc->impression = 1;
    m_pDoc->m_tilePalette.m_colours[0] = {9, 9, 9, 1};
    m_pDoc->m_tileColourCount = 1;
    m_pDoc->GetColourInfoLines(8, lines);
    EXPECT_EQ(0, lines[0].Find(strColour + L" ? "));
}

TEST_F(PlanFile, InformationPageListsTheMosaicAndItsFirstColours)
{
    m_pDoc->SetTitle(L"Garden");
    m_pDoc->OnPrintGrids();
    const std::vector<CString> plans = Plans();
    ASSERT_EQ(1u, plans.size());
    const std::string text = RunCommand("pdftotext -f 3 -l 3 " +
                                        Quoted(UnixPath(m_folder.Path(L"Plans\\") + plans[0])) +
                                        " -");
    const auto utf8 = [](const CString& str) { return std::string(CW2A(str, CP_UTF8)); };
    EXPECT_NE(std::string::npos, text.find(utf8(GetLangText(TXT_TITLE) + L" = Garden"))) << text;
    EXPECT_NE(std::string::npos,
              text.find(utf8(GetLangText(TXT_WIDTH) + L" = 20 " + GetLangText(TXT_TILES))))
        << text;
    // Colours 1 to 4 of the 160 in use; each has one whole tile.
    size_t nBlocks = 0;
    const std::string colour = utf8(GetLangText(TXT_COLOUR)) + " ";
    for (size_t at = text.find(colour); at != std::string::npos; at = text.find(colour, at + 1))
        nBlocks++;
    EXPECT_EQ(4u, nBlocks) << text;
    EXPECT_NE(std::string::npos, text.find(utf8(L"(1 " + GetLangText(TXT_TILES) + L")")));
}

}   // namespace
