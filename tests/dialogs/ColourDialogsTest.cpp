// The colour choice, the mixing table and its options driven on real windows with a
// document: what they show from its tables, and what they hand back to it.
#include "MosaicTest.h"

#include <stdlib.h>

#include <functional>
#include <memory>
#include <vector>

#include "AfxApp.h"
#include "DialogDriver.h"
#include "GridCellCheck.h"
#include "GridCellCombo.h"
#include "LangText.h"
#include "Melange.h"
#include "OptionsMelange.h"
#include "SelCouleurs.h"
#include "TextIds.h"
#include "VitrolanDoc.h"
#include "resource.h"

namespace
{

using D = CDialogDriver;

class CColourDialogApp : public CWinApp
{
public:
    CColourDialogApp() : CWinApp(L"MosaicColourDialogTest") {}
};

struct Tile
{
    BYTE r, g, b;
    LPCWSTR name;
};
const Tile kTiles[] = {{20, 20, 20, L"Noir"}, {240, 240, 230, L"Blanc"},
                       {200, 30, 40, L"Rouge"}, {30, 60, 200, L"Bleu"}};

class ColourDialogsTest : public testing::Test
{
protected:
    // The program's own language files.
    void SetUp() override
    {
        CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
        strFolder.Replace(L"/", L"\\");
        SetLangTextFolder(strFolder);
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        m_doc.reset(new CVitrolanDoc);
        for (int t = 0; t < (int)ARRAYSIZE(kTiles); t++)
        {
            m_doc->m_tilePalette.m_colours[t] = {kTiles[t].r, kTiles[t].g, kTiles[t].b, 1};
            m_doc->m_tilePalette.m_colourNames[t] = kTiles[t].name;
        }
        m_doc->m_tileColourCount = ARRAYSIZE(kTiles);
        m_doc->m_colourCount = 2;
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        SetLangTextFolder(L"");
    }

    // The document allows the colours given, each with the rest's rule.
    void Allow(std::initializer_list<int> tiles)
    {
        int checked[256] = {};
        for (int t : tiles)
            checked[t] = 1;
        m_doc->ApplyColourChoice(checked);
    }

    // While MOSAIC_DIALOG_SHOTS is set, each dialog stays a moment for a screen capture.
    static void HoldForLooking(HWND hDlg)
    {
        if (getenv("MOSAIC_DIALOG_SHOTS") == NULL)
            return;
        ::RedrawWindow(hDlg, NULL, NULL, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::Sleep(1500);
    }

    CColourDialogApp m_app;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// The choice shows every tile colour in use, checked as the document allows it; OK hands the
// checks back, Cancel leaves the document's choice alone.
TEST_F(ColourDialogsTest, ChoiceShowsTheAllowedColoursAndHandsBackTheChecks)
{
    struct Case
    {
        const char* name;
        int nButton;
        std::vector<int> allowedAfter;
    } cases[] = {{"confirmed", IDOK, {0, 1, 2, 3}}, {"cancelled", IDCANCEL, {1, 3}}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Allow({1, 3});
        CGridCtrl grid;
        CSelCouleurs dlg;
        dlg.m_pGrid = &grid;
        dlg.FillGrid(*m_doc);
        std::vector<BOOL> shown;
        const INT_PTR nResult = D::RunSteps(dlg, {
            [&](HWND) {
                for (int nRow = 1; nRow < grid.GetRowCount(); nRow++)
                {
                    auto* pCheck = dynamic_cast<CGridCellCheck*>(grid.GetCell(nRow, 1));
                    shown.push_back(pCheck != NULL && pCheck->GetCheck());
                }
                return true;
            },
            [&](HWND hDlg) { D::Click(hDlg, IDC_SELECT_ALL); return true; },
            [&](HWND hDlg) {
                HoldForLooking(hDlg);
                D::Click(hDlg, c.nButton);
                return true;
            },
        });
        ASSERT_EQ(c.nButton, nResult);
        if (nResult == IDOK)
            dlg.ApplyChoice(*m_doc);

        EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE}), shown);
        ASSERT_EQ(5, grid.GetRowCount());
        EXPECT_EQ(GetLangText(TXT_COLUMN_COLOUR), grid.GetItemText(0, 0));
        EXPECT_EQ(GetLangText(TXT_COLUMN_ALLOWED), grid.GetItemText(0, 1));
        for (int t = 0; t < 4; t++)
        {
            EXPECT_EQ(CString(kTiles[t].name), grid.GetItemText(t + 1, 0));
            EXPECT_EQ(RGB(kTiles[t].r, kTiles[t].g, kTiles[t].b),
                      grid.GetItemBackColour(t + 1, 0));
            EXPECT_TRUE(grid.GetItemState(t + 1, 0) & GridCellReadOnly);
        }
        std::vector<int> allowed;
        for (int t = 0; t < 256; t++)
            if (m_doc->m_allowedColours[t] != 0)
                allowed.push_back(t);
        EXPECT_EQ(c.allowedAfter, allowed);
        EXPECT_EQ((int)c.allowedAfter.size(), m_doc->m_allowedCount);
    }
}

// In the choice the user checks colours with the keyboard and the mouse as in any list of
// check boxes: Space toggles the focused box, a double click on a box toggles it twice, a
// click beside the box changes nothing; no text is ever typed into a check cell.
TEST_F(ColourDialogsTest, ChoiceChecksTakeSpaceAndClicksAndNoText)
{
    Allow({1, 3});
    CGridCtrl grid;
    CSelCouleurs dlg;
    dlg.m_pGrid = &grid;
    dlg.FillGrid(*m_doc);
    auto check = [&grid](int nRow) {
        auto* pCheck = dynamic_cast<CGridCellCheck*>(grid.GetCell(nRow, 1));
        return pCheck != NULL && pCheck->GetCheck();
    };
    auto box = [&grid](int nRow) {
        auto* pCheck = dynamic_cast<CGridCellCheck*>(grid.GetCell(nRow, 1));
        return pCheck != NULL ? pCheck->GetCheckRect() : CRect();
    };
    auto post = [&grid](UINT nMessage, CPoint point) {
        grid.PostMessage(nMessage, nMessage == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                         MAKELPARAM(point.x, point.y));
    };
    BOOL bAfterSpace = FALSE, bAfterDoubleClick = FALSE, bAfterClickBeside = TRUE;
    HWND hGrid = NULL, hFocusAfterSpace = NULL, hFocusAfterClicks = NULL;
    const INT_PTR nResult = D::RunSteps(dlg, {
        [&](HWND) {
            hGrid = grid.m_hWnd;
            grid.UpdateWindow();
            grid.SetFocus();
            D::Key(grid.m_hWnd, VK_SPACE);
            return true;
        },
        [&](HWND) {
            bAfterSpace = check(1);
            hFocusAfterSpace = ::GetFocus();
            const CPoint point = box(2).CenterPoint();
            for (UINT nMessage : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                post(nMessage, point);
            return true;
        },
        [&](HWND) {
            bAfterDoubleClick = check(2);
            const CRect rect = box(4);
            const CPoint point(rect.right + 20, rect.CenterPoint().y);
            for (UINT nMessage : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                                  WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                post(nMessage, point);
            return true;
        },
        [&](HWND hDlg) {
            bAfterClickBeside = check(4);
            hFocusAfterClicks = ::GetFocus();
            HoldForLooking(hDlg);
            D::Click(hDlg, IDOK);
            return true;
        },
    });
    ASSERT_EQ(IDOK, nResult);
    EXPECT_TRUE(bAfterSpace) << "Space checks the focused colour";
    EXPECT_EQ(hGrid, hFocusAfterSpace) << "no editor took the focus";
    EXPECT_TRUE(bAfterDoubleClick) << "a double click toggles twice";
    EXPECT_TRUE(bAfterClickBeside) << "clicks beside the box change nothing";
    EXPECT_EQ(hGrid, hFocusAfterClicks) << "nor do they open an editor";
    for (int nRow = 1; nRow <= 4; nRow++)
        EXPECT_EQ(CString(), grid.GetItemText(nRow, 1)) << nRow;
    dlg.ApplyChoice(*m_doc);
    std::vector<int> allowed;
    for (int t = 0; t < 256; t++)
        if (m_doc->m_allowedColours[t] != 0)
            allowed.push_back(t);
    EXPECT_EQ((std::vector<int>{0, 1, 3}), allowed);
}

// The mixing table: a column per allowed colour, a row per step. OK takes the typed shares
// back within 0 to 100; a step over 101 % keeps the table open, greyed, with the reason
// shown, and changes nothing; once corrected, OK adds the mix's colours to the image palette.
TEST_F(ColourDialogsTest, MixTableRefusesAnOverfullStepThenTakesTheCorrectedShares)
{
    Allow({0, 2, 3});
    m_doc->m_mixCount = 2;
    m_doc->ComputeMixShares();
    CGridCtrl grid;
    CMelange dlg;
    dlg.m_pGrid = &grid;
    dlg.m_pDoc = m_doc.get();
    dlg.FillGrid();
    ASSERT_EQ(4, grid.GetColumnCount());
    ASSERT_EQ(3, grid.GetRowCount());
    EXPECT_EQ(GetLangText(TXT_MIX_STEP), grid.GetItemText(0, 0));
    const LPCWSTR headings[] = {L"Noir", L"Rouge", L"Bleu"};
    for (int k = 1; k <= 3; k++)
        EXPECT_EQ(CString(headings[k - 1]), grid.GetItemText(0, k));
    for (int r = 1; r <= 2; r++)
    {
        EXPECT_EQ(CString(r == 1 ? L"0" : L"1"), grid.GetItemText(r, 0));
        EXPECT_EQ(CString(L"33"), grid.GetItemText(r, 2));
    }

    auto type = [&grid](int nRow, std::initializer_list<LPCWSTR> shares) {
        int nCol = 1;
        for (LPCWSTR share : shares)
            grid.SetItemText(nRow, nCol++, share);
    };
    CString strMessage;
    COLORREF overfull = 0, fine = 0;
    int nCountWhileRefused = -1, nShareWhileRefused = -1;
    const INT_PTR nResult = D::RunSteps(dlg, {
        [&](HWND hDlg) {
            type(1, {L"150", L"-5", L"0"});
            type(2, {L"34", L"34", L"34"});
            D::Click(hDlg, IDOK);
            return true;
        },
        [&](HWND hDlg) {
            HWND hBox = FindOwnedPopup(hDlg);
            if (hBox == NULL)
                return false;
            strMessage = D::Text(hBox, IDC_MESSAGE_TEXT);
            overfull = grid.GetItemBackColour(2, 3);
            fine = grid.GetItemBackColour(1, 3);
            nCountWhileRefused = m_doc->m_colourCount;
            nShareWhileRefused = m_doc->m_mixPercent[0][0];
            HoldForLooking(hDlg);
            ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&](HWND hDlg) {
            if (FindOwnedPopup(hDlg) != NULL)
                return false;
            type(2, {L"34", L"34", L"33"});
            D::Click(hDlg, IDOK);
            return true;
        },
    });

    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(GetLangText(TXT_MSG_MIX_STEP_OVER_100), strMessage);
    EXPECT_EQ(0xC0C0C0u, overfull);
    EXPECT_EQ(RGB(255, 255, 255), fine);
    EXPECT_EQ(2, nCountWhileRefused) << "a refused OK adds no colour";
    EXPECT_EQ(33, nShareWhileRefused) << "nor does it replace the stored shares";
    const int expected[2][3] = {{100, 0, 0}, {34, 34, 33}};
    const int tiles[] = {0, 2, 3};
    for (int s = 0; s < 2; s++)
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(expected[s][i], m_doc->m_mixPercent[s][tiles[i]]) << s << ", " << i;
    EXPECT_EQ(5, m_doc->m_colourCount);
    EXPECT_EQ(2, m_doc->m_mixFirstColour);
    for (int i = 0; i < 3; i++)
    {
        const PaletteEntry& e = m_doc->m_imagePalette.m_colours[2 + i];
        const Tile& t = kTiles[tiles[i]];
        EXPECT_EQ(RGB(t.r, t.g, t.b), RGB(e.peRed, e.peGreen, e.peBlue)) << i;
    }
}

// A step without any share would lay no tile: the table refuses it, greyed, with the reason.
// A step under 100 % is laid in proportion: where that changes its shares the table says so,
// step by step, before it closes, and Cancel there returns to the table with nothing taken.
TEST_F(ColourDialogsTest, MixTableRefusesAnEmptyStepAndTellsWhichStepsItScales)
{
    Allow({0, 2, 3});
    m_doc->m_mixCount = 4;
    m_doc->ComputeMixShares();
    CGridCtrl grid;
    CMelange dlg;
    dlg.m_pGrid = &grid;
    dlg.m_pDoc = m_doc.get();
    dlg.FillGrid();
    auto type = [&grid](int nRow, std::initializer_list<LPCWSTR> shares) {
        int nCol = 1;
        for (LPCWSTR share : shares)
            grid.SetItemText(nRow, nCol++, share);
    };
    // The text of the box in front, once it is there; it is then answered.
    auto answerBox = [](HWND hDlg, CString& strText, int nAnswer) {
        HWND hBox = FindOwnedPopup(hDlg);
        if (hBox == NULL)
            return false;
        strText = D::Text(hBox, IDC_MESSAGE_TEXT);
        HoldForLooking(hDlg);
        ::PostMessageW(hBox, WM_COMMAND, nAnswer, 0);
        return true;
    };
    auto noBox = [](HWND hDlg) { return FindOwnedPopup(hDlg) == NULL; };
    CString strRefused, strNotice, strNoticeAgain;
    COLORREF emptyStep = 0, fullStep = 0;
    int nShareWhileRefused = -1, nShareAfterCancel = -1;
    bool bOpenAfterCancel = false;
    const INT_PTR nResult = D::RunSteps(dlg, {
        [&](HWND hDlg) {
            type(1, {L"0", L"0", L"-3"});
            type(2, {L"30", L"20", L"0"});
            type(3, {L"33", L"33", L"33"});
            type(4, {L"50", L"25", L"26"});
            D::Click(hDlg, IDOK);
            return true;
        },
        [&](HWND hDlg) {
            if (!answerBox(hDlg, strRefused, IDOK))
                return false;
            emptyStep = grid.GetItemBackColour(1, 2);
            fullStep = grid.GetItemBackColour(3, 2);
            nShareWhileRefused = m_doc->m_mixPercent[0][0];
            return true;
        },
        [&](HWND hDlg) {
            if (!noBox(hDlg))
                return false;
            type(1, {L"10", L"0", L"10"});
            D::Click(hDlg, IDOK);
            return true;
        },
        [&](HWND hDlg) { return answerBox(hDlg, strNotice, IDCANCEL); },
        [&](HWND hDlg) {
            if (!noBox(hDlg))
                return false;
            bOpenAfterCancel = ::IsWindowVisible(hDlg) != FALSE;
            nShareAfterCancel = m_doc->m_mixPercent[0][0];
            D::Click(hDlg, IDOK);
            return true;
        },
        [&](HWND hDlg) { return answerBox(hDlg, strNoticeAgain, IDOK); },
    });

    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(GetLangText(TXT_MSG_MIX_STEP_EMPTY), strRefused);
    EXPECT_EQ(0xC0C0C0u, emptyStep);
    EXPECT_EQ(RGB(255, 255, 255), fullStep);
    EXPECT_EQ(33, nShareWhileRefused) << "a refused table replaces no share";
    CString strStep0, strStep1;
    strStep0.Format(GetLangText(TXT_MIX_STEP_SCALED), 0, L"10 % + 10 %", L"50 % + 50 %");
    strStep1.Format(GetLangText(TXT_MIX_STEP_SCALED), 1, L"30 % + 20 %", L"60 % + 40 %");
    EXPECT_EQ(GetLangText(TXT_MSG_MIX_STEPS_SCALED) + L"\r\n" + strStep0 + L"\r\n" + strStep1 +
                  L"\r\n" + GetLangText(TXT_MSG_MIX_SCALED_CHOICE),
              strNotice) << "steps of 101 % and 3 x 33 % are laid as they stand";
    EXPECT_TRUE(bOpenAfterCancel);
    EXPECT_EQ(33, nShareAfterCancel) << "Cancel takes nothing";
    EXPECT_EQ(strNotice, strNoticeAgain);
    const int expected[4][3] = {{10, 0, 10}, {30, 20, 0}, {33, 33, 33}, {50, 25, 26}};
    const int tiles[] = {0, 2, 3};
    for (int s = 0; s < 4; s++)
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(expected[s][i], m_doc->m_mixPercent[s][tiles[i]]) << s << ", " << i;
    EXPECT_EQ(5, m_doc->m_colourCount);
}

// The options show each allowed colour's rule, start and step, the steps and their
// direction; OK hands them back (start and step within 0 to 100).
TEST_F(ColourDialogsTest, OptionsShowAndHandBackTheRules)
{
    Allow({1, 2});
    m_doc->m_mixOptions[2] = MixFalling;
    m_doc->m_mixStart[2] = 90;
    m_doc->m_mixStep[2] = 20;
    m_doc->m_mixCount = 4;
    m_doc->m_mixDirection = 0;
    CGridCtrl grid;
    COptionsMelange dlg;
    dlg.m_pGrid = &grid;
    dlg.FillGrid(*m_doc);
    ASSERT_EQ(3, grid.GetRowCount());
    ASSERT_EQ(4, grid.GetColumnCount());
    const CString rules[] = {GetLangText(TXT_MIX_RULE_REST), GetLangText(TXT_MIX_RULE_RISING),
                             GetLangText(TXT_MIX_RULE_FALLING)};
    EXPECT_EQ(CString(L"Blanc"), grid.GetItemText(1, 0));
    EXPECT_EQ(rules[MixRest], grid.GetItemText(1, 1));
    EXPECT_EQ(CString(L"Rouge"), grid.GetItemText(2, 0));
    EXPECT_EQ(rules[MixFalling], grid.GetItemText(2, 1));
    EXPECT_EQ(CString(L"90"), grid.GetItemText(2, 2));
    EXPECT_EQ(CString(L"20"), grid.GetItemText(2, 3));
    auto* pCombo = dynamic_cast<CGridCellCombo*>(grid.GetCell(1, 1));
    ASSERT_NE(nullptr, pCombo);
    ASSERT_EQ(3, (int)pCombo->GetOptions().GetSize());
    for (int r = 0; r < 3; r++)
        EXPECT_EQ(rules[r], pCombo->GetOptions()[r]);

    CString strSteps;
    const INT_PTR nResult = D::Run(dlg, [&](HWND hDlg) {
        strSteps = D::Text(hDlg, IDC_MIXOPT_STEPS);
        D::SetText(hDlg, IDC_MIXOPT_STEPS, L"5");
        D::SetCheck(hDlg, IDC_MIXOPT_VERTICAL, BST_UNCHECKED);
        D::SetCheck(hDlg, IDC_MIXOPT_HORIZONTAL, BST_CHECKED);
        grid.SetItemText(1, 1, rules[MixRising]);
        grid.SetItemText(1, 2, L"-10");
        grid.SetItemText(1, 3, L"25");
        grid.SetItemText(2, 1, L"");   // no rule read: the colour keeps its own
        grid.SetItemText(2, 3, L"300");
        HoldForLooking(hDlg);
        D::Click(hDlg, IDOK);
    });
    ASSERT_EQ(IDOK, nResult);
    dlg.ApplyTo(*m_doc);

    EXPECT_EQ(CString(L"4"), strSteps);
    EXPECT_EQ(5, m_doc->m_mixCount);
    EXPECT_EQ(1, m_doc->m_mixDirection);
    EXPECT_EQ(MixRising, m_doc->m_mixOptions[1]);
    EXPECT_EQ(0, m_doc->m_mixStart[1]);
    EXPECT_EQ(25, m_doc->m_mixStep[1]);
    EXPECT_EQ(MixFalling, m_doc->m_mixOptions[2]);
    EXPECT_EQ(90, m_doc->m_mixStart[2]);
    EXPECT_EQ(100, m_doc->m_mixStep[2]);
}

// The mixing table's options button: confirmed options refill the table with the shares
// worked out again; cancelled ones leave the table and the shares as they were.
TEST_F(ColourDialogsTest, MixTableOptionsRefillTheTableOnlyWhenConfirmed)
{
    for (int nButton : {IDCANCEL, IDOK})
    {
        SCOPED_TRACE(nButton);
        Allow({0, 1});
        m_doc->m_mixCount = 2;
        m_doc->ComputeMixShares();
        m_doc->m_mixPercent[1][0] = 70;
        m_doc->m_mixPercent[1][1] = 30;
        CGridCtrl grid;
        CMelange dlg;
        dlg.m_pGrid = &grid;
        dlg.m_pDoc = m_doc.get();
        dlg.FillGrid();
        const INT_PTR nResult = D::RunSteps(dlg, {
            [&](HWND hDlg) { D::Click(hDlg, IDC_MIX_OPTIONS); return true; },
            [&](HWND hDlg) {
                HWND hOptions = FindOwnedPopup(hDlg);
                if (hOptions == NULL)
                    return false;
                D::SetText(hOptions, IDC_MIXOPT_STEPS, L"3");
                ::PostMessageW(hOptions, WM_COMMAND, nButton, 0);
                return true;
            },
            [&](HWND hDlg) {
                if (FindOwnedPopup(hDlg) != NULL)
                    return false;
                D::Click(hDlg, IDCANCEL);
                return true;
            },
        });
        EXPECT_EQ(IDCANCEL, nResult);
        const bool bConfirmed = nButton == IDOK;
        EXPECT_EQ(bConfirmed ? 3 : 2, m_doc->m_mixCount);
        EXPECT_EQ(bConfirmed ? 4 : 3, grid.GetRowCount());
        EXPECT_EQ(CString(bConfirmed ? L"50" : L"70"), grid.GetItemText(2, 1));
        EXPECT_EQ(bConfirmed ? 50 : 70, m_doc->m_mixPercent[1][0]);
    }
}

} // namespace
