// The mosaic's figures from the main window: the information dialog with its table of tile
// counts, its text file button and the summary's name dialog, and a text palette imported
// from the Palette menu into the menu's list.
#include "MosaicTest.h"

#include <functional>
#include <memory>
#include <stdlib.h>
#include <vector>

#include "AfxApp.h"
#include "CsvReader.h"
#include "DialogSteps.h"
#include "FileDialogAnswerer.h"
#include "GridCtrl.h"
#include "InfoMos.h"
#include "LangText.h"
#include "MessageBoxAnswerer.h"
#include "MainFrm.h"
#include "OpenCv.h"
#include "ProgramSession.h"
#include "SavedLanguageValue.h"
#include "TextFile.h"
#include "TextIds.h"
#include "VitrolanApp.h"
#include "VitrolanDoc.h"
#include "document/DocTestFiles.h"
#include "resource.h"

namespace
{

const int kEnglishUs = 1033;

CString DataFolder()
{
    CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
    strFolder.Replace(L"/", L"\\");
    return strFolder;
}

void Click(HWND hDlg, int nID)
{
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, nID));
}

// While MOSAIC_DIALOG_SHOTS is set, the dialog stays a moment for a screen capture.
void HoldForLooking(HWND hDlg)
{
    if (getenv("MOSAIC_DIALOG_SHOTS") == NULL)
        return;
    RedrawWindow(hDlg, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(3000);
}

CString ItemText(HWND hDlg, int nID)
{
    WCHAR szText[256] = {};
    GetDlgItemTextW(hDlg, nID, szText, 256);
    return szText;
}

class InformationTest : public testing::Test, protected CProgramSession
{
protected:
    InformationTest() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        WriteLanguageId(kEnglishUs);
        SetLangTextFolder(DataFolder());
        m_strFolder = NewTempFolder(L"MosaicInformation");
    }
    void TearDown() override
    {
        Quit();
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        SetLangTextFolder(L"");
        RemoveTree(m_strFolder);
    }

    // The program started on a picture of two colours, red on its left and blue on its
    // right, with its program folder in the test's folder.
    void StartOnPicture(LPCWSTR lpszName)
    {
        const CString strPicture = m_strFolder + lpszName;
        cv::Mat picture(12, 20, CV_8UC3, cv::Scalar(255, 0, 0));
        picture(cv::Rect(0, 0, 8, 12)).setTo(cv::Scalar(0, 0, 255));
        ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPicture).GetString()), picture));
        Start(L"\"" + strPicture + L"\"");
        Doc()->m_programFolder = m_strFolder;
    }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strFolder;
};

// The table as the dialog gets it: a heading row, a row per colour in use (name on the
// colour, label, five counts, all read-only), empty rows for unused colours and the totals
// on grey.
TEST_F(InformationTest, CountTableHasARowPerColourInUseAndTheTotals)
{
    std::unique_ptr<CVitrolanDoc> pDoc(new CVitrolanDoc);
    CVitrolanDoc& doc = *pDoc;
    doc.m_colourCount = 3;
    doc.impression = 2;
    const PaletteEntry colours[3] = {{10, 10, 10, 1}, {250, 250, 250, 1}, {0, 0, 200, 1}};
    const LPCWSTR names[3] = {L"Noir", L"Blanc", L"Bleu"};
    const LPCWSTR symbols[3] = {L"N", L"", L"B"};
    lstrcpyW(doc.m_imagePalette.m_symbolFonts[0].lfFaceName, L"DejaVu Sans Mono");
    doc.m_imagePalette.m_symbolFonts[0].lfHeight = -40;
    for (int i = 0; i < 3; i++)
    {
        doc.m_imagePalette.m_colours[i] = colours[i];
        doc.m_imagePalette.m_colourNames[i] = names[i];
        doc.m_imagePalette.m_symbols[i] = symbols[i];
    }
    memset(doc.m_tileCounts, 0, sizeof(doc.m_tileCounts));
    const int counts[3][5] = {{7, 0, 1, 0, 2}, {0, 0, 0, 0, 0}, {0, 4, 0, 3, 0}};
    for (int i = 0; i < 3; i++)
        for (int k = 0; k < 5; k++)
            doc.m_tileCounts[k][i] = counts[i][k];
    const double totals[5] = {7, 4, 1, 3, 2};
    memcpy(doc.m_countTotals, totals, sizeof(totals));

    CGridCtrl grid;
    CInfoMos::FillCountGrid(grid, doc);
    ASSERT_EQ(5, grid.GetRowCount());
    ASSERT_EQ(7, grid.GetColumnCount());
    EXPECT_EQ(1, grid.GetFixedRowCount());
    EXPECT_EQ(0, grid.GetFixedColumnCount());
    EXPECT_FALSE(grid.GetFixedRowSelection());
    EXPECT_TRUE(grid.GetHandleTabKey());
    const std::vector<std::vector<CString>> expected = {
        {GetLangText(561), GetLangText(563), GetLangText(552), GetLangText(860),
         GetLangText(861), GetLangText(862), GetLangText(863)},
        {L"Noir", L"N", L"7", L"0", L"1", L"0", L"2"},
        {L"Bleu", L"B", L"0", L"4", L"0", L"3", L"0"},
        {L"", L"", L"", L"", L"", L"", L""},
        {GetLangText(TXT_TOTAL), L"", L"7", L"4", L"1", L"3", L"2"},
    };
    for (int nRow = 0; nRow < 5; nRow++)
        for (int nCol = 0; nCol < 7; nCol++)
        {
            SCOPED_TRACE(testing::Message() << "row " << nRow << " column " << nCol);
            EXPECT_EQ(expected[(size_t)nRow][(size_t)nCol], grid.GetItemText(nRow, nCol));
            const bool bFilled = nRow == 1 || nRow == 2 || nRow == 4;
            EXPECT_EQ(bFilled, (grid.GetItemState(nRow, nCol) & GridCellReadOnly) != 0);
        }
    EXPECT_EQ(70, grid.GetRowHeight(0));
    EXPECT_EQ(35, grid.GetRowHeight(3));
    EXPECT_EQ(120, grid.GetColumnWidth(6));
    // The name stands on its colour in a text colour that reads on it.
    EXPECT_EQ(RGB(10, 10, 10), grid.GetItemBackColour(1, 0));
    EXPECT_EQ(RGB(255, 255, 255), grid.GetCell(1, 0)->GetTextColour());
    EXPECT_EQ(RGB(0, 0, 200), grid.GetItemBackColour(2, 0));
    // A symbol shows in its own font, at a height the row holds.
    const LOGFONT* pFont = grid.GetItemFont(1, 1);
    ASSERT_NE(nullptr, pFont);
    EXPECT_EQ(-16, pFont->lfHeight);
    EXPECT_EQ(0, lstrcmpW(doc.m_imagePalette.m_symbolFonts[0].lfFaceName, pFont->lfFaceName));
    EXPECT_EQ(RGB(128, 128, 128), grid.GetItemBackColour(4, 3));
    EXPECT_EQ(RGB(255, 255, 255), grid.GetCell(4, 3)->GetTextColour());
}

// Information from the Mosaic menu: the dialog's figures and table; its text file button
// asks for the name, writes the summary beside the picture with the document's counts and
// shows it; the dialog closes.
TEST_F(InformationTest, InformationDialogWritesTheTextSummaryFromItsButton)
{
    StartOnPicture(L"two colours.png");
    CPdfOpenRecorder opened(m_strFolder + L"opened.txt", L".txt");
    CString strCaption, strCount, strCols, strRows, strProposed;
    int nGridRows = 0;
    CString strRedCount;
    int nSelectedByHeading = -1;
    auto inspectInformation = [&](HWND hDlg) {
        WCHAR szCaption[128] = {};
        GetWindowTextW(hDlg, szCaption, 128);
        strCaption = szCaption;
        strCount = ItemText(hDlg, IDC_INFO_COLOUR_COUNT);
        strCols = ItemText(hDlg, IDC_INFO_COLS);
        strRows = ItemText(hDlg, IDC_INFO_ROWS);
        CGridCtrl* pGrid =
            dynamic_cast<CGridCtrl*>(CWnd::FromHandlePermanent(GetDlgItem(hDlg, IDC_INFO_GRID)));
        if (pGrid != NULL)
        {
            nGridRows = pGrid->GetRowCount();
            strRedCount = pGrid->GetItemText(1, 2);
            // A click on a heading selects nothing.
            CRect rect;
            pGrid->GetCellRect(0, 3, rect);
            const LPARAM lPoint = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
            pGrid->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
            pGrid->SendMessage(WM_LBUTTONUP, 0, lPoint);
            nSelectedByHeading = 0;
            for (int nRow = 0; nRow < pGrid->GetRowCount(); nRow++)
                for (int nCol = 0; nCol < pGrid->GetColumnCount(); nCol++)
                    nSelectedByHeading += pGrid->IsCellSelected(nRow, nCol) ? 1 : 0;
        }
        HoldForLooking(hDlg);
        Click(hDlg, IDC_INFO_TEXT_FILE);
    };
    auto nameSummary = [&](HWND hDlg) {
        strProposed = ItemText(hDlg, IDC_SUMMARY_FILE_NAME);
        SetDlgItemTextW(hDlg, IDC_SUMMARY_FILE_NAME, L"figures.txt");
        Click(hDlg, IDOK);
    };
    {
        DialogSteps steps({{IDC_INFO_GRID, inspectInformation},
                           {IDC_SUMMARY_FILE_NAME, nameSummary}});
        Command(ID_MOSAIC_INFORMATION);
        EXPECT_EQ(2, DialogSteps::s_nDone);
    }
    CVitrolanDoc* pDoc = Doc();
    CString strExpected;
    strExpected.Format(L"%d", pDoc->m_colourCount);
    EXPECT_EQ(strExpected, strCount);
    EXPECT_EQ(GetLangText(TXT_INFORMATION) + L" two colours.png", strCaption);
    EXPECT_EQ(CString(L"20"), strCols);
    EXPECT_EQ(CString(L"12"), strRows);
    EXPECT_EQ(pDoc->m_colourCount + 2, nGridRows);
    EXPECT_EQ(CString(L"two colours_T.txt"), strProposed);
    EXPECT_FALSE(strRedCount.IsEmpty());
    EXPECT_EQ(0, nSelectedByHeading);

    // Written beside the picture under the name chosen, and shown.
    const CString strSummary = m_strFolder + L"figures.txt";
    const std::vector<BYTE> log = ReadBytes(m_strFolder + L"opened.txt");
    EXPECT_NE(std::string::npos, std::string(log.begin(), log.end()).find("figures.txt"));
    const std::string text = ReadTextWithPython(strSummary);
    // The figures are the document's counts: 8 x 12 red tiles and 12 x 12 blue ones.
    EXPECT_EQ(240, pDoc->m_cellCount);
    for (int k = 0; k < 5; k++)
    {
        CString strLine;
        strLine.Format(L"%s %s = %.0f\r\n", (LPCTSTR)GetLangText(TXT_TOTAL),
                       (LPCTSTR)GetLangText(k == 0 ? TXT_WHOLE_TILES : TXT_TOTAL_DIAGONAL_HALVES + k - 1),
                       pDoc->m_countTotals[k]);
        EXPECT_NE(std::string::npos, text.find(CStringA(strLine).GetString())) << text;
    }
    EXPECT_EQ(240.0, pDoc->m_countTotals[0]);
    for (int nColour = 0; nColour < pDoc->m_colourCount; nColour++)
    {
        if (!pDoc->HasTiles(nColour))
            continue;
        CString strTiles;
        strTiles.Format(L"\r\n(%d %s) \r\n", pDoc->m_tileCounts[0][nColour],
                        (LPCTSTR)GetLangText(TXT_TILES));
        EXPECT_NE(std::string::npos, text.find(CStringA(strTiles).GetString())) << text;
    }
    EXPECT_NE(std::string::npos, text.find("Width = 20 tiles\r\nHeight = 12 tiles\r\n")) << text;
}

// The summary named after a file there, the picture the mosaic came from: the program's
// question says what the file is; Cancel keeps it, OK replaces it.
TEST_F(InformationTest, TheSummaryAsksBeforeItReplacesAFile)
{
    StartOnPicture(L"garden.png");
    const CString strPicture = m_strFolder + L"garden.png";
    const std::vector<BYTE> picture = ReadBytes(strPicture);
    CPdfOpenRecorder opened(m_strFolder + L"opened.txt", L".txt");
    for (int nAnswer : {IDCANCEL, IDOK})
    {
        CString strQuestion;
        auto openTextFile = [&](HWND hDlg) { Click(hDlg, IDC_INFO_TEXT_FILE); };
        auto nameSummary = [&](HWND hDlg) {
            SetDlgItemTextW(hDlg, IDC_SUMMARY_FILE_NAME, L"garden.png");
            Click(hDlg, IDOK);
        };
        auto answer = [&](HWND hDlg) {
            strQuestion = ItemText(hDlg, IDC_MESSAGE_TEXT);
            HoldForLooking(hDlg);
            Click(hDlg, nAnswer);
        };
        DialogSteps steps({{IDC_INFO_GRID, openTextFile},
                           {IDC_SUMMARY_FILE_NAME, nameSummary},
                           {IDC_MESSAGE_TEXT, answer}});
        {
            // The shell has nothing to show a picture holding text with.
            MessageBoxAnswerer shellReport;
            Command(ID_MOSAIC_INFORMATION);
        }
        EXPECT_EQ(3, DialogSteps::s_nDone);
        CString strExpected;
        strExpected.Format(GetLangText(TXT_ASK_REPLACE_PROGRAM_FILE), (LPCTSTR)strPicture);
        EXPECT_EQ(strExpected, strQuestion);
        const std::vector<BYTE> after = ReadBytes(strPicture);
        EXPECT_EQ(nAnswer == IDCANCEL, after == picture);
    }
    EXPECT_NE(std::string::npos, ReadTextWithPython(strPicture).find("Width = 20 tiles"));
}

// A text palette imported from the Palette menu is listed in it, and its item loads it.
TEST_F(InformationTest, ImportedPaletteJoinsThePaletteMenu)
{
    StartOnPicture(L"mosaic.png");
    const CString strText = m_strFolder + L"glass.csv";
    const char text[] = "Glass;Opal\r\n2000;150\r\nWhite;W;255;255;255\r\nNight;N;20;30;90\r\n";
    WriteBytes(strText, text, sizeof(text) - 1);
    {
        FileDialogAnswerer answer(strText);
        Command(ID_PALETTE_IMPORT);
        EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
    }
    CVitrolanDoc* pDoc = Doc();
    EXPECT_EQ(2, pDoc->m_tileColourCount);
    HMENU hPalette = GetSubMenu(GetMenu(Frame()->m_hWnd), 3);
    UINT nItem = 0;
    for (int i = 0; i < GetMenuItemCount(hPalette); i++)
    {
        WCHAR szText[64] = {};
        GetMenuStringW(hPalette, i, szText, 64, MF_BYPOSITION);
        if (CString(szText) == L"Glass_Opal")
            nItem = GetMenuItemID(hPalette, i);
    }
    ASSERT_NE(0u, nItem);
    pDoc->m_tilePalette.Reset();
    // Choosing a palette opens its table.
    DialogSteps closeTable({{IDC_PALETTE_GRID, [](HWND hDlg) { Click(hDlg, IDOK); }}});
    Command(nItem);
    EXPECT_EQ(1, DialogSteps::s_nDone);
    EXPECT_EQ(CString(L"Night"), pDoc->m_tilePalette.m_colourNames[1]);
}

}   // namespace
