#include "MosaicTest.h"

#include "SavedLanguageValue.h"

#include <memory>
#include <vector>

#include "DocSettings.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "VitrolanDoc.h"

namespace
{

const WCHAR kTestRoot[] = L"Software\\MosaicDocumentTests";

// Every document of this test program keeps its settings below a key of its own, removed
// when the program ends, and reads its unit words from a language file of its own (a
// missing language file is reported in a message box).
class DocumentEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
        SetDocProfileRoot(kTestRoot);
        m_strFolder = SharedTextFolder();
        CreateDirectoryW(m_strFolder, NULL);
        m_strTextFile = m_strFolder + L"Text_Mosaic-409.fil";
        const char texts[] = "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n";
        WriteBytes(m_strTextFile, texts, sizeof(texts) - 1);
        SetLangTextFolder(m_strFolder);
    }
    void TearDown() override
    {
        SetLangTextFolder(L"");
        DeleteFileW(m_strTextFile);
        RemoveDirectoryW(m_strFolder);
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    }

private:
    CString m_strFolder;
    CString m_strTextFile;
};

[[maybe_unused]] testing::Environment* const g_documentEnvironment =
    testing::AddGlobalTestEnvironment(new DocumentEnvironment);

// An empty settings section and a chosen interface language.
class DocSettingsTest : public testing::Test
{
protected:
    DocSettingsTest()
        : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic"),
          m_strSection(CVitrolanDoc::GetSettingsSection())
    {
    }

    void SetUp() override
    {
        ClearSection();
        UseLanguage(0x40C);
    }

    void TearDown() override { ClearSection(); }

    void ClearSection()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, GetDocProfileRoot() + L"\\" + m_strSection);
    }

    void UseLanguage(int nLanguageId)
    {
        ASSERT_TRUE(WriteLanguageId(nLanguageId));
        ClearLangTexts();
    }

    void SetInt(LPCWSTR lpszKey, int nValue)
    {
        ASSERT_TRUE(DocWriteProfileInt(m_strSection, lpszKey, nValue));
    }
    int GetInt(LPCWSTR lpszKey) { return DocGetProfileInt(m_strSection, lpszKey, -12345); }
    CString GetString(LPCWSTR lpszKey)
    {
        return DocGetProfileString(m_strSection, lpszKey, L"<none>");
    }

    static std::unique_ptr<CVitrolanDoc> NewDoc()
    {
        return std::unique_ptr<CVitrolanDoc>(new CVitrolanDoc);
    }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strSection;
};

TEST_F(DocSettingsTest, FirstRunTakesTheDefaultsOfTheInterfaceLanguage)
{
    struct Case
    {
        int language;
        LPCWSTR money;
        int unites, format, intercar, taillecar, cresol;
        LPCWSTR unit, unitLong;
    };
    const Case cases[] = {
        {1033, L"Dollars", 1, 1, 63, 1000, 6, L"in", L"ft"},
        {1036, L"Euros", 0, 0, 160, 2500, 15, L"mm", L"m"},
        {1031, L"Euros", 0, 0, 160, 2500, 15, L"mm", L"m"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.language);
        ClearSection();
        // A stored currency and units do not survive the first run.
        SetInt(L"unites", 1 - c.unites);
        ASSERT_TRUE(DocWriteProfileString(m_strSection, L"money", L"Yen"));
        UseLanguage(c.language);
        {
            std::unique_ptr<CVitrolanDoc> doc = NewDoc();
            EXPECT_EQ(CString(c.money), doc->money);
            EXPECT_EQ(c.unites, doc->unites);
            EXPECT_EQ(c.format, doc->format);
            EXPECT_EQ(c.intercar, doc->intercar);
            EXPECT_EQ(c.taillecar, doc->taillecar);
            EXPECT_EQ(c.cresol, doc->cresol);
            EXPECT_EQ(1, doc->lance0);
            // The unit words follow the units the first run chose.
            EXPECT_EQ(CString(c.unit), doc->m_unitText);
            EXPECT_EQ(CString(c.unitLong), doc->m_unitTextLong);
        }
        EXPECT_EQ(1, GetInt(L"lance0"));
        EXPECT_EQ(c.unites, GetInt(L"unites"));
        EXPECT_EQ(CString(c.money), GetString(L"money"));
        EXPECT_EQ(c.taillecar, GetInt(L"taillecar"));
    }
}

TEST_F(DocSettingsTest, LaterRunsKeepStoredValuesAndTakeUnitDefaults)
{
    SetInt(L"lance0", 1);
    SetInt(L"unites", 1);
    SetInt(L"format", 3);
    UseLanguage(1036);
    std::unique_ptr<CVitrolanDoc> doc = NewDoc();
    EXPECT_EQ(1, doc->unites);
    EXPECT_EQ(3, doc->format);
    EXPECT_EQ(CString(L"Euros"), doc->money);
    EXPECT_EQ(63, doc->intercar);
    EXPECT_EQ(1000, doc->taillecar);
    EXPECT_EQ(6, doc->cresol);
    EXPECT_EQ(CString(L"in"), doc->m_unitText);
    // Fixed values of construction.
    EXPECT_EQ(2, doc->m_tileSize);
    EXPECT_EQ(39, doc->m_version);
    EXPECT_EQ(25489631, doc->m_randomSeeds[0]);
    EXPECT_EQ(1254678, doc->m_randomSeeds[1]);
    EXPECT_EQ(4, doc->m_mixCount);
    EXPECT_EQ(CString(L"EmauxDeBriare-Harmonies.pal"), doc->palettefile);
    EXPECT_EQ(1, doc->m_texturedTiles);
    // The view makes the screen picture when it first renders; the texture tables wait for
    // the first textures.
    EXPECT_TRUE(doc->m_screenImage.data == NULL);
    EXPECT_FALSE(doc->m_textureCache.IsMade());
    EXPECT_FALSE(doc->m_tileTextures.IsMade());
    EXPECT_EQ(L'\\', doc->m_programFolder[doc->m_programFolder.GetLength() - 1]);
}

TEST_F(DocSettingsTest, ColourChoicesSetTheFirstTwoDisplayColours)
{
    struct Case
    {
        int coljoint, colfond;
        BYTE joint[3], background[3];
    };
    const Case cases[] = {
        {0, 0, {255, 255, 255}, {255, 255, 255}},
        {1, 1, {192, 192, 192}, {192, 192, 192}},
        {2, 2, {0, 0, 0}, {10, 20, 30}},
        {3, 3, {1, 2, 3}, {255, 255, 255}},
        {5, 7, {192, 192, 192}, {255, 255, 255}},
    };
    SetInt(L"lance0", 1);
    SetInt(L"coljointR", 1);
    SetInt(L"coljointV", 2);
    SetInt(L"coljointB", 3);
    SetInt(L"colfondR", 10);
    SetInt(L"colfondV", 20);
    SetInt(L"colfondB", 30);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.coljoint << " " << c.colfond);
        SetInt(L"coljoint", c.coljoint);
        SetInt(L"colfond", c.colfond);
        {
            std::unique_ptr<CVitrolanDoc> doc = NewDoc();
            for (int i = 0; i < 3; i++)
            {
                EXPECT_EQ(c.joint[i], doc->m_colourTable[1][i]);
                EXPECT_EQ(c.background[i], doc->m_colourTable[0][i]);
            }
            EXPECT_EQ(c.coljoint, doc->coljoint);
        }
        // The custom keys take the colours in use, whatever the choice says.
        EXPECT_EQ(c.joint[0], GetInt(L"coljointR"));
        EXPECT_EQ(c.background[2], GetInt(L"colfondB"));
        // Put the custom values back for the next case.
        SetInt(L"coljointR", 1);
        SetInt(L"coljointV", 2);
        SetInt(L"coljointB", 3);
        SetInt(L"colfondR", 10);
        SetInt(L"colfondV", 20);
        SetInt(L"colfondB", 30);
    }
}

TEST_F(DocSettingsTest, DisplayModeAndTextureSetting)
{
    SetInt(L"lance0", 1);
    for (int mode = 0; mode <= 2; mode++)
    {
        SetInt(L"affichage", mode);
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        EXPECT_EQ(mode == 0 ? 2 : 20, doc->m_tileSize) << mode;
    }
    SetInt(L"TextureCarreaux", 2);
    {
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        EXPECT_EQ(0, doc->m_texturedTiles);
    }
    EXPECT_EQ(0, GetInt(L"TextureCarreaux"));
}

TEST_F(DocSettingsTest, ValuesTheProgramCannotUseTakeTheirDefaults)
{
    SetInt(L"lance0", 1);
    SetInt(L"carplaquex", 0);
    SetInt(L"carplaquey", -4);
    SetInt(L"format", 9);
    SetInt(L"unites", 3);
    SetInt(L"affichage", 7);
    SetInt(L"typexp", -1);
    SetInt(L"taillecar", 0);
    SetInt(L"intercar", -5);
    SetInt(L"coljoint", 3);
    SetInt(L"coljointR", 300);
    SetInt(L"coljointV", -1);
    SetInt(L"coljointB", 40);
    ASSERT_TRUE(DocWriteProfileString(m_strSection, L"palettefile", L"..\\..\\evil.pal"));
    {
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        EXPECT_EQ(12, doc->carplaquex);
        EXPECT_EQ(12, doc->carplaquey);
        EXPECT_EQ(0, doc->format);
        EXPECT_EQ(0, doc->unites);
        EXPECT_EQ(0, doc->affichage);
        EXPECT_EQ(0, doc->typexp);
        EXPECT_EQ(2500, doc->taillecar);
        EXPECT_EQ(160, doc->intercar);
        EXPECT_EQ(192, doc->m_colourTable[1][0]);
        EXPECT_EQ(192, doc->m_colourTable[1][1]);
        EXPECT_EQ(40, doc->m_colourTable[1][2]);
        EXPECT_EQ(CString(L"EmauxDeBriare-Harmonies.pal"), doc->palettefile);
    }
    // The sound values replace the bad ones in the profile.
    EXPECT_EQ(12, GetInt(L"carplaquex"));
    EXPECT_EQ(CString(L"EmauxDeBriare-Harmonies.pal"), GetString(L"palettefile"));
}

TEST_F(DocSettingsTest, EverySettingIsWrittenBackAndReadAgain)
{
    SetInt(L"lance0", 1);
    {
        std::unique_ptr<CVitrolanDoc> doc = NewDoc();
        doc->coljoint = 3;
        doc->m_colourTable[1][0] = 11;
        doc->m_colourTable[1][1] = 12;
        doc->m_colourTable[1][2] = 13;
        doc->colfond = 2;
        doc->m_colourTable[0][0] = 21;
        doc->m_colourTable[0][1] = 22;
        doc->m_colourTable[0][2] = 23;
        doc->filet = 0;
        doc->impression = 2;
        doc->grillescouleur = 1;
        doc->numerosgrille = 0;
        doc->mlargeur = 7;
        doc->mhauteur = 8;
        doc->motif = 9;
        doc->unites = 1;
        doc->format = 5;
        doc->money = L"Francs";
        doc->view0 = 4;
        doc->intercar = 77;
        doc->taillecar = 888;
        doc->cresol = 9;
        doc->direction = 1;
        doc->decalage = 1;
        doc->regles = 0;
        doc->responsive = 0;
        doc->carplaquex = 20;
        doc->carplaquey = 30;
        doc->imprCouleurs = 0;
        doc->imprVignettes = 0;
        doc->rulers = 0;
        doc->lastPalCheck = 31925;
        doc->lastFamilleCheck = 3;
        doc->superpose = 0;
        doc->palettefile = L"Autre.pal";
        doc->affichage = 2;
        doc->typexp = 2;
        doc->m_texturedTiles = 0;
    }
    std::unique_ptr<CVitrolanDoc> doc = NewDoc();
    EXPECT_EQ(3, doc->coljoint);
    EXPECT_EQ(11, doc->m_colourTable[1][0]);
    EXPECT_EQ(13, doc->m_colourTable[1][2]);
    EXPECT_EQ(2, doc->colfond);
    EXPECT_EQ(22, doc->m_colourTable[0][1]);
    EXPECT_EQ(0, doc->filet);
    EXPECT_EQ(2, doc->impression);
    EXPECT_EQ(1, doc->grillescouleur);
    EXPECT_EQ(0, doc->numerosgrille);
    EXPECT_EQ(7, doc->mlargeur);
    EXPECT_EQ(8, doc->mhauteur);
    EXPECT_EQ(9, doc->motif);
    EXPECT_EQ(1, doc->unites);
    EXPECT_EQ(5, doc->format);
    EXPECT_EQ(CString(L"Francs"), doc->money);
    EXPECT_EQ(4, doc->view0);
    EXPECT_EQ(77, doc->intercar);
    EXPECT_EQ(888, doc->taillecar);
    EXPECT_EQ(9, doc->cresol);
    EXPECT_EQ(1, doc->direction);
    EXPECT_EQ(1, doc->decalage);
    EXPECT_EQ(0, doc->regles);
    EXPECT_EQ(0, doc->responsive);
    EXPECT_EQ(20, doc->carplaquex);
    EXPECT_EQ(30, doc->carplaquey);
    EXPECT_EQ(0, doc->imprCouleurs);
    EXPECT_EQ(0, doc->imprVignettes);
    EXPECT_EQ(0, doc->rulers);
    EXPECT_EQ(31925, doc->lastPalCheck);
    EXPECT_EQ(3, doc->lastFamilleCheck);
    EXPECT_EQ(0, doc->superpose);
    EXPECT_EQ(CString(L"Autre.pal"), doc->palettefile);
    EXPECT_EQ(2, doc->affichage);
    EXPECT_EQ(2, doc->typexp);
    EXPECT_EQ(0, doc->m_texturedTiles);
}

}   // namespace

namespace
{

// A palette file is read from the palette folder by its name: no path, and no name that
// Windows opens as a device in any folder, with or without an extension.
TEST(PaletteFileName, MustNameAFileOfThePaletteFolder)
{
    for (LPCWSTR lpszName : {L"", L".", L"..", L"a\\b.pal", L"a/b.pal", L"c:x.pal", L"CON",
                             L"aux", L"NUL.pal", L"prn.tar.gz", L"COM1", L"com9.pal", L"Lpt1.txt",
                             L"Aux .pal", L"CONIN$", L"conout$.pal"})
        EXPECT_FALSE(IsBarePaletteFileName(lpszName)) << CStringA(lpszName).GetString();
    for (LPCWSTR lpszName : {L"Ceramique-Mate.pal", L"COM10.pal", L"LPT0.pal", L"Console.pal",
                             L"Nulle part.pal", L"AUXI", L".pal", L"con-2.pal"})
        EXPECT_TRUE(IsBarePaletteFileName(lpszName)) << CStringA(lpszName).GetString();
}

}   // namespace
