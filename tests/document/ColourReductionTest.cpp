// The choice of the allowed tile colours and the colour reduction: nearest allowed colour,
// merging of image colours, what a cancelled or empty choice leaves, and its undo.
#include "MosaicTest.h"

#include <string.h>

#include <memory>
#include <vector>

#include "AfxApp.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "TextIds.h"
#include "TileCell.h"
#include "VitrolanDoc.h"

namespace
{

const char kTexts[] = "870;Undo\r\n872;Undo colours\r\n903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n";

struct Rgb
{
    BYTE r, g, b;
};

// The tile palette: five colours in use, then one the table may still allow but that lies
// beyond the palette in use.
const Rgb kTiles[] = {{0, 0, 0}, {255, 0, 0}, {250, 250, 250}, {0, 0, 200}, {10, 10, 10},
                      {240, 10, 10}};
const LPCWSTR kTileNames[] = {L"Noir", L"Rouge", L"Blanc", L"Bleu", L"Gris", L"Vermillon"};
const int kTilesInUse = 5;

// What the choice dialog answers: cancelled, or confirmed with these checks.
struct Answer
{
    BOOL bConfirm = FALSE;
    int checked[256] = {};
    int nCalls = 0;
};
Answer* g_pAnswer = NULL;
CVitrolanDoc* g_pDoc = NULL;
int g_nBarResets = 0;

BOOL AnswerChoice()
{
    g_pAnswer->nCalls++;
    if (g_pAnswer->bConfirm)
        g_pDoc->ApplyColourChoice(g_pAnswer->checked);
    return g_pAnswer->bConfirm;
}
void ResetImageBar() { g_nBarResets++; }

class ColourReductionTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_strFolder = UseOwnTexts(L"MosaicColourTexts", kTexts); }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strFolder); }

    void SetUp() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnSelectColours = AnswerChoice;
        CVitrolanDoc::s_uiHooks.pfnResetImageBar = ResetImageBar;
        m_doc.reset(new CVitrolanDoc);
        g_pDoc = m_doc.get();
        g_pAnswer = &m_answer;
        g_nBarResets = 0;
        CVitrolanDoc& d = *m_doc;
        for (int t = 0; t < (int)ARRAYSIZE(kTiles); t++)
        {
            d.m_tilePalette.m_colours[t] = {kTiles[t].r, kTiles[t].g, kTiles[t].b, 1};
            d.m_tilePalette.m_colourNames[t] = kTileNames[t];
        }
        d.m_tileColourCount = kTilesInUse;
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pDoc = NULL;
        g_pAnswer = NULL;
    }

    // A settled mosaic of one row: cell j of colour j, with the image colours given.
    void LoadMosaic(const std::vector<Rgb>& colours)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = (int)colours.size();
        d.m_rows = 1;
        d.m_workingMap.Create(0, 4 * d.m_cols, 4);
        d.m_committedMap.Create(0, 4 * d.m_cols, 4);
        for (int j = 0; j < d.m_cols; j++)
        {
            d.m_workingMap.SetCell(j, 0, ShapeWhole, CellWhole, j, 0, 0, 0, 0, 0, 0, 0);
            d.m_imagePalette.m_colours[j] = {colours[j].r, colours[j].g, colours[j].b, 1};
            d.m_imagePalette.m_colourNames[j].Format(L"Photo %d", j);
        }
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * d.m_cols, 4);
        d.m_colourCount = d.m_cols;
        d.m_loaded = 1;
    }
    void Allow(std::initializer_list<int> tiles)
    {
        memset(m_doc->m_allowedColours, 0, sizeof(m_doc->m_allowedColours));
        for (int t : tiles)
            m_doc->m_allowedColours[t] = 1;
        m_doc->m_allowedCount = (int)tiles.size();
    }
    int ColourAt(int nCol) const
    {
        int s, k, a, b, c, dd, va, vb, vc, vd;
        m_doc->m_workingMap.GetCell(nCol, 0, s, k, a, b, c, dd, va, vb, vc, vd);
        return a;
    }
    std::vector<int> Colours() const
    {
        std::vector<int> result;
        for (int j = 0; j < m_doc->m_cols; j++)
            result.push_back(ColourAt(j));
        return result;
    }
    bool ImageColourIs(int i, const Rgb& rgb) const
    {
        const PaletteEntry& e = m_doc->m_imagePalette.m_colours[i];
        return e.peRed == rgb.r && e.peGreen == rgb.g && e.peBlue == rgb.b;
    }

    static CString s_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
    Answer m_answer;
};

CString ColourReductionTest::s_strFolder;

// Every image colour takes the nearest allowed tile colour; colours that meet merge into the
// first one's index, and the cells follow.
TEST_F(ColourReductionTest, EachCellTakesTheNearestAllowedColour)
{
    LoadMosaic({
        {20, 20, 20},      // nearest black: stays at index 0
        {240, 10, 10},     // red is not allowed, the colour beyond the palette is not chosen:
                           // black, merged into 0
        {0, 0, 100},       // as far from black as from blue: the lower index, black
        {200, 200, 210},   // white: new colour 1
        {0, 0, 180},       // blue: new colour 2
        {255, 255, 255},   // white again: merged into 1
    });
    Allow({0, 2, 3, 5});
    m_doc->m_allowedCount = 3;

    ASSERT_TRUE(m_doc->ReduceToAllowedColours());

    EXPECT_EQ(3, m_doc->m_colourCount);
    EXPECT_EQ(6, m_doc->m_colourCountUndo);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 2, 1}), Colours());
    const Rgb expected[] = {kTiles[0], kTiles[2], kTiles[3]};
    for (int i = 0; i < 3; i++)
    {
        EXPECT_TRUE(ImageColourIs(i, expected[i])) << i;
        EXPECT_EQ(CString(kTileNames[i == 0 ? 0 : i + 1]), m_doc->m_imagePalette.m_colourNames[i]);
    }
    const PaletteEntry zero = {0, 0, 0, 0};
    for (int i = 3; i < 256; i++)
        EXPECT_EQ(0, memcmp(&zero, &m_doc->m_imagePalette.m_colours[i], sizeof(zero))) << i;
    EXPECT_EQ(1, m_doc->m_undoPending);
    EXPECT_EQ(1, m_doc->m_coloursPending);
    EXPECT_EQ(GetLangText(TXT_UNDO_REDUCE_COLOURS), m_doc->m_undoItemText);
    EXPECT_EQ(1, g_nBarResets) << "the image-palette bar shows its first page";
}

// Undo right after gives back the colours, their names, their count and the cells.
TEST_F(ColourReductionTest, UndoGivesBackTheColoursAndTheCells)
{
    // Only the first colour is a tile colour, and has a name.
    LoadMosaic({{0, 0, 0}, {200, 200, 210}, {30, 30, 30}, {0, 0, 190}});
    m_doc->m_imagePalette.TakeNamesFrom(m_doc->m_tilePalette);
    const std::vector<BYTE> cells = Bytes(m_doc->m_workingMap);
    PaletteEntry colours[256];
    memcpy(colours, m_doc->m_imagePalette.m_colours, sizeof(colours));
    Allow({0, 2});
    ASSERT_TRUE(m_doc->ReduceToAllowedColours());
    ASSERT_EQ(2, m_doc->m_colourCount);
    ASSERT_EQ(CString(L"Blanc"), m_doc->m_imagePalette.m_colourNames[1]);

    m_doc->OnEditUndo();

    EXPECT_EQ(4, m_doc->m_colourCount);
    EXPECT_EQ(0, memcmp(colours, m_doc->m_imagePalette.m_colours, sizeof(colours)));
    EXPECT_EQ(cells, Bytes(m_doc->m_workingMap));
    const LPCWSTR names[] = {L"Noir", L"", L"", L""};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(CString(names[i]), m_doc->m_imagePalette.m_colourNames[i]) << i;
    EXPECT_EQ(0, m_doc->m_undoPending);
}

// A cancelled choice keeps the allowed colours and the mixing set-up as they were; a choice
// confirmed with nothing checked allows nothing and changes no cell.
TEST_F(ColourReductionTest, CancelledOrEmptyChoiceLeavesTheMosaic)
{
    struct Case
    {
        const char* name;
        BOOL bConfirm;
        int nAllowedAfter;
    } cases[] = {{"cancelled", FALSE, 2}, {"nothing checked", TRUE, 0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetUp();
        m_answer = Answer();
        LoadMosaic({{20, 20, 20}, {200, 200, 210}});
        Allow({1, 3});
        m_doc->m_mixOptions[3] = MixRising;
        m_doc->m_mixStart[3] = 10;
        m_doc->m_mixStep[3] = 20;
        m_doc->m_mixPercent[2][3] = 50;
        const std::vector<BYTE> cells = Bytes(m_doc->m_workingMap);
        m_answer.bConfirm = c.bConfirm;
        m_doc->m_rebuildTileImages = 0;

        m_doc->OnReduceColours();

        EXPECT_EQ(1, m_answer.nCalls);
        EXPECT_EQ(cells, Bytes(m_doc->m_workingMap));
        EXPECT_EQ(2, m_doc->m_colourCount);
        EXPECT_EQ(0, m_doc->m_undoPending);
        EXPECT_EQ(1, m_doc->m_rebuildTileImages);
        EXPECT_EQ(c.nAllowedAfter, m_doc->m_allowedCount);
        EXPECT_EQ(c.nAllowedAfter != 0, m_doc->m_allowedColours[3] != 0);
        const bool bKept = c.nAllowedAfter != 0;
        EXPECT_EQ(bKept ? MixRising : MixRest, m_doc->m_mixOptions[3]);
        EXPECT_EQ(bKept ? 10 : 0, m_doc->m_mixStart[3]);
        EXPECT_EQ(bKept ? 50 : 0, m_doc->m_mixPercent[2][3]);
    }
}

// A confirmed choice: colours left out lose their rules and shares, colours beyond the
// palette in use are never allowed, and a newly allowed colour gets its share of the rest.
TEST_F(ColourReductionTest, ConfirmedChoiceBringsTheMixingTablesInLine)
{
    Allow({0, 2, 7});
    m_doc->m_mixCount = 3;
    m_doc->m_mixOptions[0] = MixRising;
    m_doc->m_mixStart[0] = 20;
    m_doc->m_mixStep[0] = 30;
    m_doc->m_mixOptions[2] = MixFalling;
    m_doc->m_mixStart[2] = 90;
    m_doc->m_mixPercent[1][2] = 60;
    int checked[256] = {};
    checked[0] = 1;
    checked[4] = 1;
    checked[7] = 1;   // beyond the five colours in use

    m_doc->ApplyColourChoice(checked);

    EXPECT_EQ(2, m_doc->m_allowedCount);
    EXPECT_EQ(0, m_doc->m_allowedColours[7]);
    EXPECT_EQ(MixRest, m_doc->m_mixOptions[2]);
    EXPECT_EQ(0, m_doc->m_mixStart[2]);
    EXPECT_EQ(0, m_doc->m_mixPercent[1][2]);
    EXPECT_EQ(MixRising, m_doc->m_mixOptions[0]) << "a colour still allowed keeps its rule";
    EXPECT_EQ(50, m_doc->m_mixStart[4]);
    const int rising[] = {20, 50, 80};
    for (int s = 0; s < 3; s++)
    {
        EXPECT_EQ(rising[s], m_doc->m_mixPercent[s][0]) << s;
        EXPECT_EQ(100 - rising[s], m_doc->m_mixPercent[s][4]) << "the new colour, step " << s;
    }

    // The same choice again keeps the shares the user typed since.
    m_doc->m_mixPercent[1][4] = 35;
    m_doc->ApplyColourChoice(checked);
    EXPECT_EQ(35, m_doc->m_mixPercent[1][4]);
}

// A reduction with no allowed colour in the palette in use changes nothing.
TEST_F(ColourReductionTest, NoAllowedColourInUseReducesNothing)
{
    LoadMosaic({{20, 20, 20}, {200, 200, 210}});
    const std::vector<BYTE> cells = Bytes(m_doc->m_workingMap);
    Allow({5});
    EXPECT_FALSE(m_doc->ReduceToAllowedColours());
    EXPECT_EQ(cells, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(2, m_doc->m_colourCount);
    EXPECT_EQ(0, m_doc->m_undoPending);
}

} // namespace
