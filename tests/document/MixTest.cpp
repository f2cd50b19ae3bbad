// The colour mixes: the shares the rules give, the mix fill drawing the colours in their
// shares step by step, and the image palette's limit of 256 colours.
#include "MosaicTest.h"

#include <math.h>
#include <string.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "AfxApp.h"
#include "DocTestFiles.h"
#include "TileCell.h"
#include "VitrolanDoc.h"

namespace
{

const char kTexts[] =
    "870;Undo\r\n876;Undo mix\r\n903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n"
    "1000;%d colours; room for %d\r\n";

CVitrolanDoc* g_pDoc = NULL;
std::vector<int> g_choice;                       // tile colours the choice allows
std::function<void(CVitrolanDoc&)> g_setShares;  // what the user types in the mixing table
int g_nMixDialogs = 0;
std::vector<CString> g_messages;

BOOL ChooseColours()
{
    int checked[256] = {};
    for (int t : g_choice)
        checked[t] = 1;
    g_pDoc->ApplyColourChoice(checked);
    return TRUE;
}

// The mixing table confirmed: the shares, then the colours added as its OK adds them.
BOOL RunMixDialog()
{
    g_nMixDialogs++;
    if (g_setShares)
        g_setShares(*g_pDoc);
    return g_pDoc->AppendMixColours();
}

int ShowMessage(LPCTSTR lpszText)
{
    g_messages.push_back(lpszText);
    return IDOK;
}

class MixTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_strFolder = UseOwnTexts(L"MosaicMixTexts", kTexts); }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strFolder); }

    void SetUp() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnSelectColours = ChooseColours;
        CVitrolanDoc::s_uiHooks.pfnRunMixDialog = RunMixDialog;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = ShowMessage;
        m_doc.reset(new CVitrolanDoc);
        g_pDoc = m_doc.get();
        g_choice.clear();
        g_setShares = nullptr;
        g_nMixDialogs = 0;
        g_messages.clear();
        CVitrolanDoc& d = *m_doc;
        // Tile colours 0 to 4, each a grey of its own.
        for (int t = 0; t < 5; t++)
        {
            const BYTE v = (BYTE)(40 * t + 20);
            d.m_tilePalette.m_colours[t] = {v, v, v, 1};
        }
        d.m_tileColourCount = 5;
        d.m_randomSeeds[0] = 12345;
        d.m_randomSeeds[1] = 6789;
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pDoc = NULL;
        g_setShares = nullptr;
    }

    // A settled mosaic of whole tiles, every cell of image colour 0 (red, no tile colour).
    void LoadMosaic(int nCols, int nRows)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = nCols;
        d.m_rows = nRows;
        d.m_workingMap.Create(0, 4 * nCols, 4 * nRows);
        d.m_committedMap.Create(0, 4 * nCols, 4 * nRows);
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
                d.m_workingMap.SetCell(col, row, ShapeWhole, CellWhole, 0, 0, 0, 0, 0, 0, 0, 0);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * nCols, 4 * nRows);
        d.m_imagePalette.m_colours[0] = {200, 0, 0, 1};
        d.m_colourCount = 1;
        d.m_loaded = 1;
    }
    // The tile colour a cell shows (by its RGB), -1 for another colour.
    int TileColourAt(int nCol, int nRow) const
    {
        int s, k, a, b, c, dd, va, vb, vc, vd;
        m_doc->m_workingMap.GetCell(nCol, nRow, s, k, a, b, c, dd, va, vb, vc, vd);
        const int t = m_doc->m_imagePalette.FindColourIn(m_doc->m_tilePalette, a);
        return t < m_doc->m_tileColourCount ? t : -1;
    }
    int FillAll() { return m_doc->FloodFillMix(4 * m_doc->m_cols / 2, 4 * m_doc->m_rows / 2); }

    static CString s_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

CString MixTest::s_strFolder;

struct SharesCase
{
    const char* name;
    int nSteps;
    // Per allowed colour: rule, start, step, then the share expected in each step.
    struct Colour
    {
        int nRule, nStart, nStep;
        std::vector<int> expected;
    };
    std::vector<Colour> colours;
};

TEST_F(MixTest, SharesFollowTheRules)
{
    const SharesCase cases[] = {
        {"three rest colours", 2,
         {{MixRest, 0, 0, {33, 33}}, {MixRest, 50, 0, {33, 33}}, {MixRest, 0, 0, {33, 33}}}},
        {"rising beside the rest", 5,
         {{MixRising, 0, 25, {0, 25, 50, 75, 100}}, {MixRest, 0, 0, {100, 75, 50, 25, 0}}}},
        {"falling stops at 0", 6, {{MixFalling, 100, 30, {100, 70, 40, 10, 0, 0}}}},
        {"rising stops at 100", 3, {{MixRising, 60, 30, {60, 90, 100}}}},
        {"over 100 leaves nothing for the rest", 2,
         {{MixRising, 60, 0, {60, 60}}, {MixRising, 60, 0, {60, 60}}, {MixRest, 0, 0, {0, 0}}}},
    };
    for (const SharesCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetUp();
        CVitrolanDoc& d = *m_doc;
        d.m_mixCount = c.nSteps;
        // The allowed colours lie apart, with a colour left out between them.
        for (size_t i = 0; i < c.colours.size(); i++)
        {
            const int t = 2 * (int)i;
            d.m_allowedColours[t] = 1;
            d.m_mixOptions[t] = c.colours[i].nRule;
            d.m_mixStart[t] = c.colours[i].nStart;
            d.m_mixStep[t] = c.colours[i].nStep;
        }
        d.m_mixPercent[0][1] = 77;
        d.ComputeMixShares();
        for (size_t i = 0; i < c.colours.size(); i++)
            for (int s = 0; s < c.nSteps; s++)
                EXPECT_EQ(c.colours[i].expected[s], d.m_mixPercent[s][2 * i])
                    << "colour " << i << " step " << s;
        EXPECT_EQ(77, d.m_mixPercent[0][1]) << "a colour left out is not touched";
    }
}

// Whatever number of steps the document holds, the shares are worked out within the table.
TEST_F(MixTest, StepCountStaysWithinTheTable)
{
    const int cases[][2] = {{0, 1}, {-4, 1}, {50, 50}, {51, 50}, {1000, 50}};
    for (const auto& c : cases)
    {
        m_doc->m_mixCount = c[0];
        m_doc->ComputeMixShares();
        EXPECT_EQ(c[1], m_doc->m_mixCount) << c[0];
    }
}

// Over a large region each colour takes its share of the tiles, within what the random draw
// allows (five standard deviations of the binomial count).
TEST_F(MixTest, FillDrawsTheColoursInTheirShares)
{
    LoadMosaic(200, 200);
    g_choice = {0, 2, 3};
    const int shares[] = {50, 30, 20};
    g_setShares = [&shares](CVitrolanDoc& d) {
        d.m_mixCount = 1;
        d.m_mixPercent[0][0] = shares[0];
        d.m_mixPercent[0][2] = shares[1];
        d.m_mixPercent[0][3] = shares[2];
    };

    EXPECT_EQ(1, FillAll());

    std::map<int, int> counts;
    for (int row = 0; row < 200; row++)
        for (int col = 0; col < 200; col++)
            counts[TileColourAt(col, row)]++;
    const double n = 200.0 * 200.0;
    const int tiles[] = {0, 2, 3};
    for (int i = 0; i < 3; i++)
    {
        const double p = shares[i] / 100.0;
        const double tolerance = 5 * sqrt(n * p * (1 - p));
        EXPECT_NEAR(n * p, counts[tiles[i]], tolerance) << "tile colour " << tiles[i];
    }
    EXPECT_EQ(3u, counts.size()) << "no cell keeps its colour or takes another";
    EXPECT_EQ(3, m_doc->m_colourCount) << "the unused colours are dropped";
    EXPECT_EQ(1, m_doc->m_mixPreviewPending);
    EXPECT_EQ(1, m_doc->m_undoPending);
}

// The steps follow each other from the bottom up, or from left to right.
TEST_F(MixTest, StepsFollowTheDirection)
{
    for (int nDirection : {0, 1})
    {
        SCOPED_TRACE(nDirection);
        SetUp();
        LoadMosaic(20, 20);
        g_choice = {1, 4};
        g_setShares = [nDirection](CVitrolanDoc& d) {
            d.m_mixCount = 2;
            d.m_mixDirection = nDirection;
            d.m_mixPercent[0][1] = 100;
            d.m_mixPercent[0][4] = 0;
            d.m_mixPercent[1][1] = 0;
            d.m_mixPercent[1][4] = 100;
        };
        FillAll();
        for (int row = 0; row < 20; row++)
            for (int col = 0; col < 20; col++)
            {
                const bool bFirstStep = nDirection == 0 ? row >= 10 : col < 10;
                ASSERT_EQ(bFirstStep ? 1 : 4, TileColourAt(col, row)) << col << ", " << row;
            }
    }
}

// The image palette holds 256 colours: a mix that does not fit is refused before its table
// opens, once the unused colours have been dropped, and adds nothing.
TEST_F(MixTest, MixThatDoesNotFitIsRefused)
{
    LoadMosaic(16, 16);
    CVitrolanDoc& d = *m_doc;
    // 255 colours, each on one cell, and one colour no cell uses.
    for (int i = 0; i < 256; i++)
    {
        d.m_imagePalette.m_colours[i] = {(BYTE)i, 1, 2, 1};
        d.m_workingMap.SetCell(i % 16, i / 16, ShapeWhole, CellWhole, i == 255 ? 0 : i, 0, 0,
                               0, 0, 0, 0, 0);
    }
    d.m_workingMap.CopyBlock(&d.m_committedMap, 64, 64);
    d.m_colourCount = 256;
    const std::vector<BYTE> cells = Bytes(d.m_workingMap);

    // Room for one colour once the unused one is dropped.
    g_choice = {3};
    ChooseColours();
    EXPECT_TRUE(d.MakeRoomForMixColours());
    EXPECT_EQ(255, d.m_colourCount);
    EXPECT_TRUE(g_messages.empty());

    // No room for two: the user is told, the table never opens, nothing is added.
    g_choice = {0, 3};
    PaletteEntry colours[256];
    memcpy(colours, d.m_imagePalette.m_colours, sizeof(colours));
    FillAll();
    EXPECT_EQ(0, g_nMixDialogs);
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(CString(L"2 colours; room for 1"), g_messages[0]);
    EXPECT_EQ(255, d.m_colourCount);
    EXPECT_EQ(0, memcmp(colours, d.m_imagePalette.m_colours, sizeof(colours)));
    EXPECT_EQ(0, d.m_mixPreviewPending);

    // Added without the check first, they are refused all the same.
    EXPECT_FALSE(d.AppendMixColours());
    EXPECT_EQ(255, d.m_colourCount);
    EXPECT_EQ(0, memcmp(colours, d.m_imagePalette.m_colours, sizeof(colours)));
}

} // namespace
