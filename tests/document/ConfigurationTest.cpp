// The configuration and preferences commands on the document: the values the dialogs get
// and give back, rounding to the length unit, the colours chosen, plates made even for
// triangles, and the lengths that follow a change of units.
#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxMsgMap.h"
#include "ConfigurationValues.h"
#include "DocTestFiles.h"
#include "Paving.h"
#include "SettingsFixture.h"
#include "VitrolanDoc.h"

namespace
{

// What the dialogs answer and what the document asked for.
struct Answers
{
    INT_PTR nResult = IDOK;
    ConfigurationValues shown = {};
    ConfigurationValues given = {};
    int nUnits = 0;
    int nFormat = 0;
    std::vector<CString> messages;
};
Answers* g_pAnswers = NULL;

INT_PTR AskConfiguration(ConfigurationValues* pValues)
{
    g_pAnswers->shown = *pValues;
    if (g_pAnswers->nResult == IDOK)
        *pValues = g_pAnswers->given;
    return g_pAnswers->nResult;
}

INT_PTR AskPreferences(int* pUnits, int* pFormat)
{
    if (g_pAnswers->nResult == IDOK)
    {
        *pUnits = g_pAnswers->nUnits;
        *pFormat = g_pAnswers->nFormat;
    }
    return g_pAnswers->nResult;
}

int ShowMessage(LPCTSTR lpszText)
{
    g_pAnswers->messages.push_back(lpszText);
    return IDOK;
}

class ConfigurationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pAnswers = &m_answers;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnAskConfiguration = AskConfiguration;
        CVitrolanDoc::s_uiHooks.pfnAskPreferences = AskPreferences;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = ShowMessage;
        m_doc.reset(new CVitrolanDoc);
        UseMetricSettings(*m_doc);
        m_doc->coljoint = 1;
        m_doc->colfond = 0;
        m_doc->m_plaquesValid = 1;
        m_doc->m_dirty = 0;
    }
    void TearDown() override
    {
        m_doc.reset();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pAnswers = NULL;
    }

    // The dialog's values as the document fills them, with the changes a case makes.
    ConfigurationValues Shown()
    {
        ConfigurationValues values;
        m_doc->GetConfiguration(values);
        return values;
    }

    COLORREF Triple(int nIndex) const
    {
        const BYTE* t = m_doc->m_colourTable[nIndex];
        return RGB(t[0], t[1], t[2]);
    }

    Answers m_answers;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

}   // namespace

TEST_F(ConfigurationTest, TheDialogShowsTheSettingsInTheLengthUnit)
{
    m_doc->filet = 1;
    m_doc->direction = 1;
    m_doc->decalage = 1;
    m_doc->impression = 2;
    m_doc->grillescouleur = 1;
    m_doc->numerosgrille = 0;
    m_doc->imprCouleurs = 1;
    m_doc->m_colourTable[1][0] = 10;
    m_answers.nResult = IDCANCEL;
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_CONFIGURATION, CN_COMMAND, NULL, NULL));
    const ConfigurationValues& v = m_answers.shown;
    EXPECT_EQ(25.0, v.tileSize);
    EXPECT_EQ(1.6, v.jointSize);
    EXPECT_EQ(12, v.plateTilesAcross);
    EXPECT_EQ(1, v.minPlateTilesDown);
    EXPECT_EQ(1, v.jointColour);
    EXPECT_EQ(RGB(10, 192, 192), v.customJointColour);
    EXPECT_EQ(RGB(255, 255, 255), v.customBackgroundColour);
    EXPECT_EQ(1, v.layingMethod);
    EXPECT_EQ(1, v.plateNumbering);
    EXPECT_EQ(1, v.staggerPlates);
    EXPECT_EQ(2, v.plateLabels);
    EXPECT_EQ(1, v.plateGrids);
    EXPECT_EQ(0, v.showPlateNumbers);
    EXPECT_EQ(1, v.printColours);
    EXPECT_EQ(m_doc->m_unitText, v.unitText);
    // Cancelled: nothing changes, not even the plates.
    EXPECT_EQ(2500, m_doc->taillecar);
    EXPECT_EQ(0, m_doc->m_dirty);
    EXPECT_EQ(1, m_doc->m_plaquesValid);

    m_doc->unites = 1;
    m_doc->taillecar = 984;
    m_doc->m_pavingType = PavingTriangles;
    m_doc->OnConfiguration();
    EXPECT_EQ(0.984, m_answers.shown.tileSize);
    EXPECT_EQ(2, m_answers.shown.minPlateTilesDown);
}

TEST_F(ConfigurationTest, AcceptedValuesAreRoundedToTheLengthUnit)
{
    struct Case
    {
        int nUnits;
        double tile, joint;
        int nTile, nJoint;
    };
    const Case cases[] = {
        {0, 2.5, 0.16, 250, 16},
        {1, 0.984, 0.063, 984, 63},
        {0, 2.126, 0.127, 213, 13},   // to the nearest unit
        {1, 1.0626, 0.0, 1063, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        m_doc->unites = c.nUnits;
        m_answers.given = Shown();
        m_answers.given.tileSize = c.tile;
        m_answers.given.jointSize = c.joint;
        m_answers.given.plateTilesAcross = 30;
        m_answers.given.layingMethod = 0;
        m_answers.given.staggerPlates = 1;
        m_answers.given.plateLabels = 1;
        m_doc->m_plaquesValid = 1;
        m_doc->OnConfiguration();
        EXPECT_EQ(c.nTile, m_doc->taillecar);
        EXPECT_EQ(c.nJoint, m_doc->intercar);
        EXPECT_EQ(30, m_doc->carplaquex);
        EXPECT_EQ(0, m_doc->filet);
        EXPECT_EQ(1, m_doc->decalage);
        EXPECT_EQ(1, m_doc->impression);
        EXPECT_EQ(1, m_doc->m_dirty);
        EXPECT_EQ(1, m_doc->m_rebuildTileImages);
        EXPECT_EQ(0, m_doc->m_plaquesValid);
    }
}

// Choices the dialog has no button for come back as none chosen and keep the settings;
// labels off among them, which the plan's check for scale pavings depends on.
TEST_F(ConfigurationTest, ChoicesLeftWithoutAButtonKeepTheirSettings)
{
    m_doc->filet = 1;
    m_doc->direction = 1;
    m_doc->impression = 3;
    m_doc->grillescouleur = 1;
    m_answers.given = Shown();
    m_answers.given.layingMethod = -1;
    m_answers.given.plateNumbering = -1;
    m_answers.given.plateLabels = -1;
    m_answers.given.plateGrids = -1;
    m_doc->OnConfiguration();
    EXPECT_EQ(1, m_doc->filet);
    EXPECT_EQ(1, m_doc->direction);
    EXPECT_EQ(3, m_doc->impression);
    EXPECT_EQ(1, m_doc->grillescouleur);
}

TEST_F(ConfigurationTest, ColourChoicesSetTheJointAndBackgroundColours)
{
    const COLORREF kCustomJoint = RGB(1, 2, 3);
    const COLORREF kCustomBack = RGB(4, 5, 6);
    const COLORREF kBefore = RGB(7, 8, 9);
    struct Case
    {
        int nJoint, nBack;
        COLORREF joint, back;
    };
    const Case cases[] = {
        {0, 0, RGB(255, 255, 255), RGB(255, 255, 255)},
        {1, 1, RGB(192, 192, 192), RGB(192, 192, 192)},
        {2, 2, RGB(0, 0, 0), kCustomBack},   // the background list has no black
        {3, 3, kCustomJoint, kBefore},       // outside the list: kept
        {-1, -1, kBefore, kBefore},          // none chosen: the setting too
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        for (int t : {0, 1})
        {
            m_doc->m_colourTable[t][0] = 7;
            m_doc->m_colourTable[t][1] = 8;
            m_doc->m_colourTable[t][2] = 9;
        }
        m_answers.given = Shown();
        m_answers.given.jointColour = c.nJoint;
        m_answers.given.backgroundColour = c.nBack;
        m_answers.given.customJointColour = kCustomJoint;
        m_answers.given.customBackgroundColour = kCustomBack;
        m_doc->OnConfiguration();
        EXPECT_EQ(c.joint, Triple(1));
        EXPECT_EQ(c.back, Triple(0));
        EXPECT_EQ(c.nJoint >= 0 ? c.nJoint : 3, m_doc->coljoint);
        EXPECT_EQ(c.nBack >= 0 ? c.nBack : 3, m_doc->colfond);
    }
}

// Triangles pair up in rows: an odd plate height is lowered with a word to the user.
TEST_F(ConfigurationTest, TrianglePlatesAreMadeEven)
{
    struct Case
    {
        int nPaving;
        int nDown;
        int nExpected;
        size_t nMessages;
    };
    const Case cases[] = {
        {PavingTriangles, 13, 12, 1},
        {PavingTriangles, 12, 12, 0},
        {PavingSquares, 13, 13, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        m_answers.messages.clear();
        m_doc->m_pavingType = c.nPaving;
        m_answers.given = Shown();
        m_answers.given.plateTilesDown = c.nDown;
        m_doc->OnConfiguration();
        EXPECT_EQ(c.nExpected, m_doc->carplaquey);
        EXPECT_EQ(c.nMessages, m_answers.messages.size());
    }
}

// Each switch of units converts the lengths, with the rounding each way.
TEST_F(ConfigurationTest, PreferencesConvertTheLengthsWhenTheUnitsChange)
{
    struct Step
    {
        INT_PTR nResult;
        int nUnits;
        int nFormat;
        int nTile, nJoint, nCresol;
        int nDirty;
    };
    const Step steps[] = {
        {IDOK, 1, 1, 984, 63, 6, 1},
        {IDCANCEL, 0, 5, 984, 63, 6, 0},
        {IDOK, 1, 2, 984, 63, 6, 1},
        {IDOK, 0, 2, 2499, 160, 15, 1},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(&s - steps);
        m_answers.nResult = s.nResult;
        m_answers.nUnits = s.nUnits;
        m_answers.nFormat = s.nFormat;
        m_doc->m_dirty = 0;
        m_doc->m_plaquesValid = 1;
        const int nFormatBefore = m_doc->format;
        EXPECT_TRUE(m_doc->OnCmdMsg(ID_PREFERENCES, CN_COMMAND, NULL, NULL));
        EXPECT_EQ(s.nTile, m_doc->taillecar);
        EXPECT_EQ(s.nJoint, m_doc->intercar);
        EXPECT_EQ(s.nCresol, m_doc->cresol);
        EXPECT_EQ(s.nDirty, m_doc->m_dirty);
        EXPECT_EQ(s.nResult == IDOK ? s.nFormat : nFormatBefore, m_doc->format);
        EXPECT_EQ(CString(m_doc->unites == 1 ? L"in" : L"mm"), m_doc->m_unitText);
        EXPECT_EQ(CString(m_doc->unites == 1 ? L"ft" : L"m"), m_doc->m_unitTextLong);
        EXPECT_EQ(0, m_doc->m_plaquesValid) << "in every case";
    }
}

// A tile no length would make a pitch of nothing; a length beyond what documents can hold
// would make the saved mosaic unreadable.
TEST_F(ConfigurationTest, ConvertedLengthsStayUsable)
{
    m_doc->taillecar = 1;
    m_doc->intercar = 0;
    m_answers.nUnits = 1;
    m_doc->OnPreferences();
    EXPECT_EQ(1, m_doc->taillecar);
    EXPECT_EQ(0, m_doc->intercar);

    m_doc->taillecar = MaxLength;
    m_doc->intercar = MaxLength;
    m_answers.nUnits = 0;
    m_doc->OnPreferences();
    EXPECT_EQ((int)MaxLength, m_doc->taillecar);
    EXPECT_EQ((int)MaxLength, m_doc->intercar);
}
