#include "MosaicTest.h"

#include "VitrolanApp.h"

namespace
{

// The paper of each format, upright: named sizes by their code, A1 and A0 by their sides
// with the long one as the length; other formats change only the orientation.
TEST(Application, PaperOfEachFormat)
{
    struct Case
    {
        int nFormat;
        short size, length, width;
        DWORD fields;
    } cases[] = {
        {0, DMPAPER_A4, 0, 0, DM_PAPERSIZE},
        {1, DMPAPER_LETTER, 0, 0, DM_PAPERSIZE},
        {2, DMPAPER_A3, 0, 0, DM_PAPERSIZE},
        {3, DMPAPER_A2, 0, 0, DM_PAPERSIZE},
        {4, DMPAPER_USER, 8410, 5940, DM_PAPERLENGTH | DM_PAPERWIDTH},
        {5, DMPAPER_USER, 11890, 8410, DM_PAPERLENGTH | DM_PAPERWIDTH},
        {9, 77, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        DEVMODEW dm = {};
        dm.dmPaperSize = 77;
        dm.dmOrientation = DMORIENT_LANDSCAPE;
        CVitrolanApp::FillDevModeForFormat(dm, c.nFormat);
        EXPECT_EQ(c.size, dm.dmPaperSize) << c.nFormat;
        EXPECT_EQ(c.fields | DM_ORIENTATION, dm.dmFields) << c.nFormat;
        EXPECT_EQ(DMORIENT_PORTRAIT, dm.dmOrientation) << c.nFormat;
        if (c.length != 0)
        {
            EXPECT_EQ(c.length, dm.dmPaperLength) << c.nFormat;
            EXPECT_EQ(c.width, dm.dmPaperWidth) << c.nFormat;
        }
    }
}

// French dialogs for French, English ones for every other language; every filter is a list
// of name and pattern pairs without blanks around the patterns.
TEST(Application, OpenAndImportDialogTexts)
{
    struct Case
    {
        BOOL bImport;
        int nLanguage;
        LPCWSTR title;
    } cases[] = {
        {FALSE, 1036, L"Ouvrir fichier vitrolan"},
        {FALSE, 1033, L"Open mosaic file"},
        {FALSE, 0x180, L"Open mosaic file"},
        {TRUE, 1036, L"Importer fichier image"},
        {TRUE, 1049, L"Import image file"},
    };
    for (const Case& c : cases)
    {
        CString strFilter, strTitle;
        CVitrolanApp::GetOpenDialogTexts(c.bImport, c.nLanguage, strFilter, strTitle);
        EXPECT_EQ(CString(c.title), strTitle);
        EXPECT_EQ(-1, strFilter.Find(L"| ")) << CStringA(strFilter).GetString();
        EXPECT_EQ(-1, strFilter.Find(L" |")) << CStringA(strFilter).GetString();
        EXPECT_EQ(c.bImport ? -1 : 1, strFilter.Find(L"*.ms2") > 0 ? 1 : -1);
        EXPECT_EQ(CString(L"||"), strFilter.Right(2));
    }
}

}   // namespace
