// The program's dialogs on real windows: each runs modally while a thread timer plays the
// user's part with posted clicks and keys, then reads back what the dialog handed over.
#include "MosaicTest.h"

#include <functional>
#include <memory>
#include <vector>

#include "AfxApp.h"
#include "AfxDialog.h"
#include "DialogDriver.h"
#include "DialPalette.h"
#include "DlgMessageBox.h"
#include "Export.h"
#include "FTexte.h"
#include "Fusion.h"
#include "InfoMos.h"
#include "LC.h"
#include "Melange.h"
#include "Melange2.h"
#include "MosConfig.h"
#include "NewMos.h"
#include "OptionsMelange.h"
#include "PrintPlaques.h"
#include "ProgOpt.h"
#include "PromptApp.h"
#include "SavedLanguageValue.h"
#include "ScreenPicture.h"
#include "SelCouleurs.h"
#include "TexteDlg.h"
#include "LangText.h"
#include "TextIds.h"
#include "text/TextTestFiles.h"
#include "resource.h"

namespace {

// A language file whose text n reads "L<n>", in a folder of its own, so that a dialog's
// texts can be told from the template's French defaults.
class DialogFamilyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CString strText;
        for (UINT n = 1; n <= 999; n++)
            strText.AppendFormat(L"%u;L%u\r\n", n, n);
        m_folder.WriteUtf16(L"Text_Mosaic-409.fil", strText);
        SetLangTextFolder(m_folder.Folder());
    }
    void TearDown() override { SetLangTextFolder(L""); }

    static CString L(UINT n)
    {
        CString str;
        str.Format(L"L%u", n);
        return str;
    }

    CPromptApp m_app;
    CTempFolder m_folder;
};

} // namespace

// ---- The message box -------------------------------------------------------------------------

TEST_F(DialogFamilyTest, MessageBoxShowsItsTextAndAnswersOkOrCancel)
{
    struct Case
    {
        LPCWSTR message;
        bool bEscape;       // Escape on the focused control instead of a click
        int nButton;        // the button clicked
        INT_PTR nExpected;
    };
    const Case cases[] = {
        {L"Enregistrer la palette ?", false, IDOK, IDOK},
        {L"Deux lignes\r\net un chemin Z:\\plans\\a.pdf", false, IDCANCEL, IDCANCEL},
        {L"", true, 0, IDCANCEL},
        {L"Entrée", false, 0, IDOK},   // Enter goes to the default button
    };
    for (const Case& c : cases)
    {
        CDlgMessageBox dlg;
        dlg.m_message = c.message;
        CString shown, ok, cancel, caption;
        int nChildren = 0;
        INT_PTR nResult = CDialogDriver::Run(dlg, [&](HWND hDlg) {
            shown = CDialogDriver::Text(hDlg, IDC_MESSAGE_TEXT);
            ok = CDialogDriver::Text(hDlg, IDOK);
            cancel = CDialogDriver::Text(hDlg, IDCANCEL);
            WCHAR szCaption[64] = {};
            ::GetWindowTextW(hDlg, szCaption, 64);
            caption = szCaption;
            for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
                nChildren++;
            if (c.bEscape)
                CDialogDriver::Key(::GetFocus(), VK_ESCAPE);
            else if (c.nButton != 0)
                CDialogDriver::Click(hDlg, c.nButton);
            else
                CDialogDriver::Key(::GetFocus(), VK_RETURN);
        });
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(nResult, c.nExpected);
        EXPECT_EQ(shown, CString(c.message));
        EXPECT_EQ(ok, L(TXT_OK));
        EXPECT_EQ(cancel, L(TXT_CANCEL));
        EXPECT_EQ(caption, CString(L""));
        EXPECT_EQ(nChildren, 3) << "the message and the two buttons, no icon";
        EXPECT_EQ(dlg.m_message, CString(c.message));
    }
}

namespace {

CRect ClientRectOf(HWND hDlg, int nID)
{
    CRect rect;
    ::GetWindowRect(::GetDlgItem(hDlg, nID), &rect);
    ::MapWindowPoints(NULL, hDlg, (LPPOINT)&rect, 2);
    return rect;
}

// The height the message's lines need at the width of its control, as the control draws them.
int NeededHeight(HWND hText, const CString& strText)
{
    CRect rect;
    ::GetClientRect(hText, &rect);
    HDC hDC = ::GetDC(hText);
    HGDIOBJ hOld = ::SelectObject(hDC, (HGDIOBJ)::SendMessageW(hText, WM_GETFONT, 0, 0));
    rect.bottom = 0;
    ::DrawTextW(hDC, strText, -1, &rect,
                DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX |
                    DT_EDITCONTROL);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hText, hDC);
    return rect.Height();
}

} // namespace

TEST_F(DialogFamilyTest, MessageBoxTakesTheSizeOfItsMessageWithinTheScreen)
{
    CRect rectWork;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rectWork, 0);
    // A refused import: its line numbers after a long folder path without a space.
    CString strFolder = L"Z:\\";
    for (int i = 0; i < 12; i++)
        strFolder += L"un_dossier_aux_noms_longs\\";
    CString strRefused;
    strRefused.Format(L"The palette Essai was imported from %spalette.csv without these lines, "
                      L"which could not be read: 3, 7, 12, 15, 16, 18, 22, 40. A colour line "
                      L"holds a name, a symbol, and red, green and blue from 0 to 255.",
                      strFolder.GetString());
    CString strHuge;
    for (int i = 1; i <= 400; i++)
        strHuge.AppendFormat(L"Line %d of a text longer than any screen.\n", i);
    const struct
    {
        const char* pszCase;
        CString strMessage;
        bool bGrows;     // wider and higher than the template
        bool bScrolls;
    } cases[] = {
        {"short", L"Enregistrer la palette ?", false, false},
        {"refused import", strRefused, true, false},
        {"longer than the screen", strHuge, true, true},
    };
    CRect rectTemplate;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        CDlgMessageBox dlg;
        dlg.m_message = c.strMessage;
        CRect rectBox, rectText, rectOk, rectCancel, rectClient;
        CString strClass, strShown;
        int nNeeded = 0;
        SCROLLINFO scroll = {};
        scroll.cbSize = sizeof(SCROLLINFO);
        scroll.fMask = SIF_ALL;
        CDialogDriver::Run(dlg, [&](HWND hDlg) {
            ::GetWindowRect(hDlg, &rectBox);
            ::GetClientRect(hDlg, &rectClient);
            rectText = ClientRectOf(hDlg, IDC_MESSAGE_TEXT);
            rectOk = ClientRectOf(hDlg, IDOK);
            rectCancel = ClientRectOf(hDlg, IDCANCEL);
            HWND hText = ::GetDlgItem(hDlg, IDC_MESSAGE_TEXT);
            WCHAR szClass[16] = {};
            ::GetClassNameW(hText, szClass, 16);
            strClass = szClass;
            const int nLength = ::GetWindowTextLengthW(hText);
            ::GetWindowTextW(hText, strShown.GetBuffer(nLength + 1), nLength + 1);
            strShown.ReleaseBuffer();
            nNeeded = NeededHeight(hText, c.strMessage);
            ::GetScrollInfo(hText, SB_VERT, &scroll);
            CStringA strName;
            strName.Format("message-box-%d.png", (int)(&c - cases));
            KeepPicture(CaptureScreen(false), CString(strName));
            CDialogDriver::Click(hDlg, IDOK);
        });
        // Inside the work area, centred in it (the box has no owner).
        CRect rectInside;
        EXPECT_TRUE(rectInside.IntersectRect(&rectBox, &rectWork) && rectInside == rectBox);
        EXPECT_NEAR(rectBox.CenterPoint().x, rectWork.CenterPoint().x, 1);
        // The buttons below the message, side by side in the middle, inside the box.
        EXPECT_GT(rectOk.top, rectText.bottom);
        EXPECT_EQ(rectOk.top, rectCancel.top);
        EXPECT_NEAR(rectClient.CenterPoint().x, (rectOk.left + rectCancel.right) / 2, 1);
        EXPECT_LE(rectOk.bottom, rectClient.bottom);
        if (rectTemplate.IsRectEmpty())
            rectTemplate = rectBox;
        if (!c.bScrolls)
        {
            // Every line shows.
            EXPECT_EQ(CString(L"Static"), strClass);
            EXPECT_EQ(c.strMessage, strShown);
            EXPECT_LE(nNeeded, rectText.Height());
            EXPECT_EQ(c.bGrows, rectBox.Width() > rectTemplate.Width());
            EXPECT_EQ(c.bGrows, rectBox.Height() > rectTemplate.Height());
            continue;
        }
        // As high as the screen allows, the message in a box of its own that scrolls.
        EXPECT_EQ(CString(L"Edit"), strClass);
        CString strExpected(c.strMessage);
        strExpected.Replace(L"\n", L"\r\n");
        EXPECT_EQ(strExpected, strShown);
        EXPECT_GT(rectBox.Height(), rectWork.Height() * 3 / 4);
        EXPECT_GT(scroll.nMax - scroll.nMin + 1, (int)scroll.nPage);
    }
}

// ---- Texts and layout of every dialog ------------------------------------------------------------

namespace {

struct ExpectedText
{
    int nIDC;
    CString strText;
};

struct DialogCase
{
    const char* name;
    std::function<std::unique_ptr<CDialog>()> create;
    std::vector<ExpectedText> texts;
    // Combo boxes and their entries, joined with "|".
    std::vector<ExpectedText> lists;
};

CString Lx(UINT n)
{
    CString str;
    str.Format(L"L%u", n);
    return str;
}

CString Lf(LPCWSTR lpszFormat, UINT n1, UINT n2 = 0)
{
    CString str;
    if (n2 == 0)
        str.Format(lpszFormat, (LPCWSTR)Lx(n1));
    else
        str.Format(lpszFormat, (LPCWSTR)Lx(n1), (LPCWSTR)Lx(n2));
    return str;
}

template <class T>
std::function<std::unique_ptr<CDialog>()> Make(std::function<void(T&)> fill = nullptr)
{
    return [fill]() {
        auto p = std::make_unique<T>();
        if (fill)
            fill(*p);
        return std::unique_ptr<CDialog>(std::move(p));
    };
}

std::vector<DialogCase> AllDialogs()
{
    return {
        {"CDlgMessageBox", Make<CDlgMessageBox>(), {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}}, {}},
        {"CDialPalette", Make<CDialPalette>(), {{IDOK, Lx(1)}, {IDC_PALETTE_PRINT, Lx(303)}}, {}},
        {"CSelCouleurs", Make<CSelCouleurs>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {IDC_SELECT_ALL, Lx(211)}, {IDC_SELECT_NONE, Lx(212)}},
         {}},
        {"CMelange", Make<CMelange>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {IDC_MIX_OPTIONS, Lx(360)}}, {}},
        {"COptionsMelange", Make<COptionsMelange>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {361, Lx(361)}, {362, Lx(362)},
          {IDC_MIXOPT_VERTICAL, Lx(363)}, {IDC_MIXOPT_HORIZONTAL, Lx(364)}},
         {}},
        {"CMelange2", Make<CMelange2>(), {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {371, Lx(371)}}, {}},
        {"CMosConfig metric", Make<CMosConfig>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {311, Lx(311)}, {312, Lx(312)}, {313, Lx(313)},
          {314, Lx(314)}, {315, Lx(315)}, {316, Lx(316)}, {1047, Lx(317)}, {1048, Lx(318)},
          {1059, Lx(319)}, {1058, Lx(320)}, {321, Lx(321)}, {1041, Lx(322)}, {1042, Lx(323)},
          {324, Lx(324)}, {1055, Lx(325)}, {1056, Lx(326)}, {327, Lx(327)}, {1043, Lx(328)},
          {1046, Lx(329)}, {1045, Lx(330)}, {1060, Lx(972)}, {381, Lx(381)}, {382, Lx(382)},
          {1082, Lx(903)}, {1083, Lx(903)}},
         {{111, Lx(570) + L"|" + Lx(571) + L"|" + Lx(572) + L"|" + Lx(586)},
          {113, Lx(570) + L"|" + Lx(571) + L"|" + Lx(586)}}},
        {"CMosConfig imperial", Make<CMosConfig>([](CMosConfig& d) { d.m_units = 1; }),
         {{1082, Lx(904)}, {1083, Lx(904)}}, {}},
        {"CProgOpt", Make<CProgOpt>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {401, Lx(401)}, {1044, Lx(402)}, {1045, Lx(403)},
          {404, Lx(404)}, {1046, Lx(405)}, {1047, Lx(406)}},
         {}},
        {"CNewMos", Make<CNewMos>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {341, Lx(341)}, {342, Lx(342)}, {343, Lx(343)},
          {1131, Lx(343)}},
         {}},
        {"CLC", Make<CLC>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {282, Lx(282)}, {285, Lx(285)}, {281, Lx(281)},
          {1012, Lx(283)}, {1013, Lx(284)}, {1014, Lx(286)}, {1015, Lx(287)}},
         {}},
        {"CFusion metric", Make<CFusion>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {251, Lx(251)}, {1069, Lx(252)}, {1070, Lx(253)},
          {1071, Lx(905)}},
         {}},
        {"CFusion imperial", Make<CFusion>([](CFusion& d) { d.m_units = 1; }),
         {{1071, Lx(906)}}, {}},
        {"CTexteDlg", Make<CTexteDlg>(), {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {411, Lx(411)}}, {}},
        {"CExport", Make<CExport>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {236, Lx(236)}, {237, Lx(237)}},
         {{1108, L"JPEG (*.JPG)|PNG (*.PNG)|WEBP (*.WEBP)"}}},
        {"CFTexte", Make<CFTexte>(), {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {241, Lx(241)}}, {}},
        {"CInfoMos metric", Make<CInfoMos>(),
         {{IDOK, Lx(1)}, {261, Lf(L"%s :", 261)}, {262, Lx(262)}, {263, Lx(263)},
          {264, Lx(264)}, {265, Lx(265)}, {266, Lx(266)}, {267, Lx(267)}, {32952, Lx(269)},
          {1008, Lx(905)}, {1012, Lf(L"%s²", 905)}},
         {}},
        {"CInfoMos imperial", Make<CInfoMos>([](CInfoMos& d) { d.m_units = 1; }),
         {{1008, Lx(906)}, {1012, Lf(L"%s²", 906)}}, {}},
        {"CPrintPlaques", Make<CPrintPlaques>(),
         {{IDOK, Lx(1)}, {IDCANCEL, Lx(2)}, {391, Lx(391)}, {1060, Lx(392)},
          {1062, Lf(L"1 %s / %s", 539, 971)}, {1061, Lx(973)}},
         {}},
    };
}

// A group box frames other controls; every other pair of controls must not meet.
bool IsFrame(HWND hWnd)
{
    WCHAR szClass[32] = {};
    ::GetClassNameW(hWnd, szClass, 32);
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    return lstrcmpiW(szClass, L"Button") == 0 && (style & 0x0F) == BS_GROUPBOX;
}

} // namespace

TEST_F(DialogFamilyTest, EveryDialogTakesItsTextsFromTheLanguageTableAndNoControlsOverlap)
{
    for (const DialogCase& c : AllDialogs())
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDialog> pDlg = c.create();
        std::vector<CString> shown, lists;
        std::vector<CString> overlaps;
        int nChildren = 0;
        INT_PTR nResult = CDialogDriver::Run(*pDlg, [&](HWND hDlg) {
            for (const ExpectedText& t : c.texts)
                shown.push_back(CDialogDriver::Text(hDlg, t.nIDC));
            for (const ExpectedText& t : c.lists)
                lists.push_back(CDialogDriver::ListEntries(hDlg, t.nIDC));
            std::vector<HWND> controls;
            for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
            {
                nChildren++;
                if (!IsFrame(h))
                    controls.push_back(h);
            }
            for (size_t i = 0; i < controls.size(); i++)
                for (size_t j = i + 1; j < controls.size(); j++)
                {
                    RECT a, b, both;
                    ::GetWindowRect(controls[i], &a);
                    ::GetWindowRect(controls[j], &b);
                    // A drop-down list's window is its closed box only.
                    if (::IntersectRect(&both, &a, &b))
                    {
                        CString str;
                        str.Format(L"%d and %d", ::GetDlgCtrlID(controls[i]),
                                   ::GetDlgCtrlID(controls[j]));
                        overlaps.push_back(str);
                    }
                }
            CDialogDriver::Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_GT(nChildren, 0);
        ASSERT_EQ(shown.size(), c.texts.size());
        for (size_t i = 0; i < shown.size(); i++)
            EXPECT_EQ(shown[i], c.texts[i].strText) << "control " << c.texts[i].nIDC;
        ASSERT_EQ(lists.size(), c.lists.size());
        for (size_t i = 0; i < lists.size(); i++)
            EXPECT_EQ(lists[i], c.lists[i].strText) << "list " << c.lists[i].nIDC;
        for (const CString& str : overlaps)
            ADD_FAILURE() << "controls overlap: " << testing::PrintToString(str);
    }
}

// ---- Texts fit their controls in the shipped languages -------------------------------------------

namespace {

// Why a control's text does not fit, or empty when it fits.
CString CheckTextFits(HWND hCtrl)
{
    WCHAR szClass[32] = {};
    ::GetClassNameW(hCtrl, szClass, 32);
    LONG style = ::GetWindowLongW(hCtrl, GWL_STYLE);
    bool bButton = lstrcmpiW(szClass, L"Button") == 0;
    bool bStatic = lstrcmpiW(szClass, L"Static") == 0;
    if ((!bButton && !bStatic) || IsFrame(hCtrl))
        return CString();
    WCHAR szText[512] = {};
    ::GetWindowTextW(hCtrl, szText, 512);
    if (szText[0] == 0)
        return CString();

    RECT rcClient;
    ::GetClientRect(hCtrl, &rcClient);
    int cxAvailable = rcClient.right;
    LONG kind = style & 0x0F;
    if (bButton && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON ||
                    kind == BS_RADIOBUTTON || kind == BS_AUTO3STATE || kind == BS_3STATE))
        cxAvailable -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
    else if (bButton)
        cxAvailable -= 6;   // the button's edges

    HDC hDC = ::GetDC(hCtrl);
    HGDIOBJ hOldFont = ::SelectObject(hDC, (HFONT)::SendMessageW(hCtrl, WM_GETFONT, 0, 0));
    RECT rcText = {0, 0, cxAvailable, 0};
    UINT nFormat = DT_CALCRECT | DT_NOPREFIX | (bStatic ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextW(hDC, szText, -1, &rcText, nFormat);
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(hCtrl, hDC);

    if (rcText.right > cxAvailable || rcText.bottom > rcClient.bottom)
    {
        CString str;
        str.Format(L"control %d \"%s\" needs %d x %d, has %d x %d", ::GetDlgCtrlID(hCtrl), szText,
                   (int)rcText.right, (int)rcText.bottom, cxAvailable, (int)rcClient.bottom);
        return str;
    }
    return CString();
}

} // namespace

TEST(DialogFamily, EveryTextFitsItsControlInFrenchAndInEnglish)
{
    CPromptApp app;
    CSavedLanguageValue savedNew(L"Software\\Orbalith");
    CSavedLanguageValue savedOld(L"Software\\Mosaic");
    SetLangTextFolder(CString(L"Z:") + CString(MOSAIC_DATA_DIR "/"));
    for (int nLanguage : {0x40C, 0x409})
    {
        ASSERT_TRUE(WriteLanguageId(nLanguage));
        ClearLangTexts();
        ASSERT_FALSE(GetLangText(TXT_OK).IsEmpty());
        for (const DialogCase& c : AllDialogs())
        {
            SCOPED_TRACE(testing::Message() << c.name << ", language " << std::hex << nLanguage);
            // A long message must still fit the message box.
            std::unique_ptr<CDialog> pDlg = c.create();
            if (auto* pBox = dynamic_cast<CDlgMessageBox*>(pDlg.get()))
                pBox->m_message = GetLangText(TXT_MSG_TRIANGLES_EVEN_ROWS);
            std::vector<CString> faults;
            CDialogDriver::Run(*pDlg, [&](HWND hDlg) {
                for (HWND h = ::GetWindow(hDlg, GW_CHILD); h != NULL;
                     h = ::GetWindow(h, GW_HWNDNEXT))
                {
                    CString strFault = CheckTextFits(h);
                    if (!strFault.IsEmpty())
                        faults.push_back(strFault);
                }
                CDialogDriver::Click(hDlg, IDCANCEL);
            });
            for (const CString& str : faults)
                ADD_FAILURE() << testing::PrintToString(str);
        }
    }
    SetLangTextFolder(L"");
}

// ---- Data exchange: OK hands the controls back, Cancel leaves the members -----------------------

namespace {

using D = CDialogDriver;

// Runs a fresh dialog twice, ending it once with OK and once with Cancel. The script checks
// what the dialog shows and plays the user; the check gets the members and whether OK ended it.
template <class T>
void RunOkAndCancel(std::function<void(T&)> fill, std::function<void(HWND)> user,
                    std::function<void(const T&, bool)> check)
{
    for (int nButton : {IDOK, IDCANCEL})
    {
        SCOPED_TRACE(nButton == IDOK ? "OK" : "Cancel");
        T dlg;
        fill(dlg);
        INT_PTR nResult = D::Run(dlg, [&](HWND hDlg) {
            user(hDlg);
            D::Click(hDlg, nButton);
        });
        EXPECT_EQ(nResult, nButton);
        check(dlg, nButton == IDOK);
    }
}

} // namespace

TEST_F(DialogFamilyTest, NewMosaicSizeGoesBothWays)
{
    RunOkAndCancel<CNewMos>(
        [](CNewMos&) {},
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_NEWMOS_WIDTH), CString(L"20"));
            EXPECT_EQ(D::Text(hDlg, IDC_NEWMOS_HEIGHT), CString(L"20"));
            D::SetText(hDlg, IDC_NEWMOS_WIDTH, L"35");
            D::SetText(hDlg, IDC_NEWMOS_HEIGHT, L"12");
        },
        [](const CNewMos& d, bool bOk) {
            EXPECT_EQ(d.m_width, bOk ? 35 : 20);
            EXPECT_EQ(d.m_height, bOk ? 12 : 20);
        });
}

TEST_F(DialogFamilyTest, PreferencesExchangeRadioIndices)
{
    RunOkAndCancel<CProgOpt>(
        [](CProgOpt& d) {
            d.m_units = 1;
            d.m_paper = 4;
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::GetCheck(hDlg, IDC_PREFS_INCHES), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_PREFS_A1), BST_CHECKED);
            ::CheckRadioButton(hDlg, IDC_PREFS_MILLIMETRES, IDC_PREFS_INCHES, IDC_PREFS_MILLIMETRES);
            ::CheckRadioButton(hDlg, IDC_PREFS_A4, IDC_PREFS_A0, IDC_PREFS_A3);
        },
        [](const CProgOpt& d, bool bOk) {
            EXPECT_EQ(d.m_units, bOk ? 0 : 1);
            EXPECT_EQ(d.m_paper, bOk ? 2 : 4);
        });
}

TEST_F(DialogFamilyTest, RowsAndColumnsExchangeHeadingSidesAndCounts)
{
    RunOkAndCancel<CLC>(
        [](CLC& d) {
            d.m_heading = L"Ajouter";
            d.m_top = 1;
            d.m_countTop = 1;
            d.m_countBottom = 1;
            d.m_countLeft = 1;
            d.m_countRight = 1;
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_LC_HEADING), CString(L"Ajouter"));
            EXPECT_EQ(D::GetCheck(hDlg, IDC_LC_TOP), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_LC_RIGHT), BST_UNCHECKED);
            EXPECT_EQ(D::Text(hDlg, IDC_LC_COUNT_LEFT), CString(L"1"));
            D::SetText(hDlg, IDC_LC_HEADING, L"Supprimer");
            D::SetCheck(hDlg, IDC_LC_TOP, BST_UNCHECKED);
            D::SetCheck(hDlg, IDC_LC_BOTTOM, BST_CHECKED);
            D::SetCheck(hDlg, IDC_LC_RIGHT, BST_CHECKED);
            D::SetText(hDlg, IDC_LC_COUNT_TOP, L"0");
            D::SetText(hDlg, IDC_LC_COUNT_BOTTOM, L"3");
            D::SetText(hDlg, IDC_LC_COUNT_LEFT, L"4");
            D::SetText(hDlg, IDC_LC_COUNT_RIGHT, L"5");
        },
        [](const CLC& d, bool bOk) {
            EXPECT_EQ(d.m_heading, CString(bOk ? L"Supprimer" : L"Ajouter"));
            EXPECT_EQ(d.m_top, bOk ? 0 : 1);
            EXPECT_EQ(d.m_bottom, bOk ? 1 : 0);
            EXPECT_EQ(d.m_left, 0);
            EXPECT_EQ(d.m_right, bOk ? 1 : 0);
            EXPECT_EQ(d.m_countTop, bOk ? 0 : 1);
            EXPECT_EQ(d.m_countBottom, bOk ? 3 : 1);
            EXPECT_EQ(d.m_countLeft, bOk ? 4 : 1);
            EXPECT_EQ(d.m_countRight, bOk ? 5 : 1);
        });
}

TEST_F(DialogFamilyTest, ResizeExchangesSizeAndDimension)
{
    RunOkAndCancel<CFusion>(
        [](CFusion& d) {
            d.m_size = 2.5f;
            d.m_dimension = 1;
            d.m_unitText = L"m";
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_RESIZE_SIZE), CString(L"2.5"));
            EXPECT_EQ(D::GetCheck(hDlg, IDC_RESIZE_HEIGHT), BST_CHECKED);
            D::SetText(hDlg, IDC_RESIZE_SIZE, L"1.25");
            ::CheckRadioButton(hDlg, IDC_RESIZE_WIDTH, IDC_RESIZE_HEIGHT, IDC_RESIZE_WIDTH);
        },
        [](const CFusion& d, bool bOk) {
            EXPECT_EQ(d.m_size, bOk ? 1.25f : 2.5f);
            EXPECT_EQ(d.m_dimension, bOk ? 0 : 1);
            EXPECT_EQ(d.m_unitText, CString(L"m"));
        });
    CFusion fresh;
    EXPECT_EQ(fresh.m_size, 10.0f);
    EXPECT_EQ(fresh.m_dimension, 0);
}

TEST_F(DialogFamilyTest, TextDialogsExchangeTheirText)
{
    RunOkAndCancel<CTexteDlg>(
        [](CTexteDlg& d) { d.m_text = L"Été"; },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_STAMP_TEXT), CString(L"Été"));
            D::SetText(hDlg, IDC_STAMP_TEXT, L"Mosaïque 2");
        },
        [](const CTexteDlg& d, bool bOk) {
            EXPECT_EQ(d.m_text, CString(bOk ? L"Mosaïque 2" : L"Été"));
        });
    RunOkAndCancel<CFTexte>(
        [](CFTexte& d) { d.m_fileName = L"Plan_T.txt"; },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_SUMMARY_FILE_NAME), CString(L"Plan_T.txt"));
            D::SetText(hDlg, IDC_SUMMARY_FILE_NAME, L"Autre_T.txt");
        },
        [](const CFTexte& d, bool bOk) {
            EXPECT_EQ(d.m_fileName, CString(bOk ? L"Autre_T.txt" : L"Plan_T.txt"));
        });
}

TEST_F(DialogFamilyTest, ExportExchangesNameAndTypeIndex)
{
    RunOkAndCancel<CExport>(
        [](CExport& d) {
            d.m_fileName = L"Jardin";
            d.m_fileType = 1;
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_EXPORT_FILE_NAME), CString(L"Jardin"));
            EXPECT_EQ(D::Send(hDlg, IDC_EXPORT_FILE_TYPE, CB_GETCURSEL), 1);
            D::SetText(hDlg, IDC_EXPORT_FILE_NAME, L"Mur");
            D::Send(hDlg, IDC_EXPORT_FILE_TYPE, CB_SETCURSEL, 2);
        },
        [](const CExport& d, bool bOk) {
            EXPECT_EQ(d.m_fileName, CString(bOk ? L"Mur" : L"Jardin"));
            EXPECT_EQ(d.m_fileType, bOk ? 2 : 1);
        });
}

TEST_F(DialogFamilyTest, PrintOptionsExchangeChecksAndKeepTheRange)
{
    RunOkAndCancel<CPrintPlaques>(
        [](CPrintPlaques& d) {
            d.m_plateCount = 7;
            d.m_lastPlate = 7;
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_PRINT_PLATE_COUNT), CString(L"7"));
            EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(hDlg, IDC_PRINT_PLATE_COUNT), GWL_STYLE) &
                        ES_READONLY);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_PRINT_RULERS), BST_UNCHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_PRINT_ONE_PER_PAGE), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_PRINT_THUMBNAILS), BST_CHECKED);
            D::SetCheck(hDlg, IDC_PRINT_RULERS, BST_CHECKED);
            D::SetCheck(hDlg, IDC_PRINT_THUMBNAILS, BST_UNCHECKED);
        },
        [](const CPrintPlaques& d, bool bOk) {
            EXPECT_EQ(d.m_plateCount, 7);
            EXPECT_EQ(d.m_rulers, bOk ? 1 : 0);
            EXPECT_EQ(d.m_onePerPage, 1);
            EXPECT_EQ(d.m_thumbnails, bOk ? 0 : 1);
            EXPECT_EQ(d.m_firstPlate, 1);
            EXPECT_EQ(d.m_lastPlate, 7);
        });
}

TEST_F(DialogFamilyTest, InformationShowsTheFiguresAndHandsThemBack)
{
    RunOkAndCancel<CInfoMos>(
        [](CInfoMos& d) {
            d.m_paletteName = L"Harmonies";
            d.m_colourCount = 12;
            d.m_cols = 80;
            d.m_rows = 60;
            d.m_plateCount = 6;
            d.m_width = 1.6f;
            d.m_height = 1.2f;
            d.m_area = 1.92f;
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_PALETTE), CString(L"Harmonies"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_COLOUR_COUNT), CString(L"12"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_COLS), CString(L"80"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_ROWS), CString(L"60"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_PLATE_COUNT), CString(L"6"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_WIDTH), CString(L"1.6"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_HEIGHT), CString(L"1.2"));
            EXPECT_EQ(D::Text(hDlg, IDC_INFO_AREA), CString(L"1.92"));
        },
        [](const CInfoMos& d, bool) {
            EXPECT_EQ(d.m_paletteName, CString(L"Harmonies"));
            EXPECT_EQ(d.m_cols, 80);
            EXPECT_EQ(d.m_area, 1.92f);
        });
}

// A plate of no tiles cannot be cut: OK is refused with a prompt until the size is usable.
TEST_F(DialogFamilyTest, ConfigurationRefusesAPlateOfNoTiles)
{
    for (int nEdit : {IDC_CONFIG_PLATE_X, IDC_CONFIG_PLATE_Y})
    {
        SCOPED_TRACE(nEdit);
        CMosConfig dlg;
        dlg.m_tileSize = 2.5;
        dlg.m_plateTilesAcross = 12;
        dlg.m_plateTilesDown = 12;
        m_app.m_prompts.clear();
        INT_PTR nResult = D::RunSteps(dlg, {
            [&](HWND hDlg) {
                D::SetText(hDlg, nEdit, L"0");
                D::Click(hDlg, IDOK);
                return true;
            },
            [&](HWND hDlg) {
                if (m_app.m_prompts.empty())
                    return false;
                D::SetText(hDlg, nEdit, L"7");
                D::Click(hDlg, IDOK);
                return true;
            },
        });
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(m_app.m_prompts.size(), 1u);
        EXPECT_EQ(nEdit == IDC_CONFIG_PLATE_X ? dlg.m_plateTilesAcross : dlg.m_plateTilesDown, 7);
    }
}

TEST_F(DialogFamilyTest, ConfigurationSelectsTheListEntriesAndCountsRadiosInTabOrder)
{
    RunOkAndCancel<CMosConfig>(
        [](CMosConfig& d) {
            d.m_tileSize = 2.5;
            d.m_jointSize = 0.16;
            d.m_plateTilesAcross = 30;
            d.m_plateTilesDown = 20;
            d.m_jointColour = 2;
            d.m_backgroundColour = 1;
            d.m_plateGrids = 1;
            d.m_showPlateNumbers = 1;
            d.m_layingMethod = 1;
            d.m_plateNumbering = 0;
            d.m_plateLabels = 1;   // tile numbers: the second button in tab order, id 1046
        },
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_CONFIG_TILE_SIZE), CString(L"2.5"));
            EXPECT_EQ(D::Text(hDlg, IDC_CONFIG_JOINT_SIZE), CString(L"0.16"));
            EXPECT_EQ(D::Text(hDlg, IDC_CONFIG_PLATE_X), CString(L"30"));
            EXPECT_EQ(D::Text(hDlg, IDC_CONFIG_PLATE_Y), CString(L"20"));
            EXPECT_EQ(D::Send(hDlg, IDC_CONFIG_JOINT_COLOUR, CB_GETCURSEL), 2);
            EXPECT_EQ(D::Send(hDlg, IDC_CONFIG_BACK_COLOUR, CB_GETCURSEL), 1);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_CONFIG_GRID_BLACK), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_CONFIG_PLATE_NUMBERS), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_CONFIG_INDIRECT), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_CONFIG_DOWNWARDS), BST_CHECKED);
            EXPECT_EQ(D::GetCheck(hDlg, IDC_CONFIG_LABEL_TILE), BST_CHECKED);
            D::SetText(hDlg, IDC_CONFIG_TILE_SIZE, L"0.984");
            D::SetText(hDlg, IDC_CONFIG_JOINT_SIZE, L"0.063");
            D::SetText(hDlg, IDC_CONFIG_PLATE_X, L"25");
            D::SetText(hDlg, IDC_CONFIG_PLATE_Y, L"13");
            // Selected without the notification, which would open the colour dialog.
            D::Send(hDlg, IDC_CONFIG_JOINT_COLOUR, CB_SETCURSEL, 3);
            D::Send(hDlg, IDC_CONFIG_BACK_COLOUR, CB_SETCURSEL, 0);
            ::CheckRadioButton(hDlg, IDC_CONFIG_GRID_COLOUR, IDC_CONFIG_GRID_BLACK,
                               IDC_CONFIG_GRID_COLOUR);
            D::SetCheck(hDlg, IDC_CONFIG_PLATE_NUMBERS, BST_UNCHECKED);
            D::SetCheck(hDlg, IDC_CONFIG_STAGGER, BST_CHECKED);
            ::CheckRadioButton(hDlg, IDC_CONFIG_DIRECT, IDC_CONFIG_INDIRECT, IDC_CONFIG_DIRECT);
            ::CheckRadioButton(hDlg, IDC_CONFIG_DOWNWARDS, IDC_CONFIG_UPWARDS,
                               IDC_CONFIG_UPWARDS);
            D::SetCheck(hDlg, IDC_CONFIG_LABEL_TILE, BST_UNCHECKED);
            D::SetCheck(hDlg, IDC_CONFIG_LABEL_SYMBOL, BST_CHECKED);
            D::SetCheck(hDlg, IDC_CONFIG_PRINT_COLOURS, BST_CHECKED);
        },
        [](const CMosConfig& d, bool bOk) {
            EXPECT_EQ(d.m_tileSize, bOk ? 0.984 : 2.5);
            EXPECT_EQ(d.m_jointSize, bOk ? 0.063 : 0.16);
            EXPECT_EQ(d.m_plateTilesAcross, bOk ? 25 : 30);
            EXPECT_EQ(d.m_plateTilesDown, bOk ? 13 : 20);
            EXPECT_EQ(d.m_jointColour, bOk ? 3 : 2);
            EXPECT_EQ(d.m_backgroundColour, bOk ? 0 : 1);
            EXPECT_EQ(d.m_plateGrids, bOk ? 0 : 1);
            EXPECT_EQ(d.m_showPlateNumbers, bOk ? 0 : 1);
            EXPECT_EQ(d.m_staggerPlates, bOk ? 1 : 0);
            EXPECT_EQ(d.m_layingMethod, bOk ? 0 : 1);
            EXPECT_EQ(d.m_plateNumbering, bOk ? 1 : 0);
            EXPECT_EQ(d.m_plateLabels, bOk ? 2 : 1);   // symbols: third in tab order, id 1045
            EXPECT_EQ(d.m_printColours, bOk ? 1 : 0);
        });
}

TEST_F(DialogFamilyTest, MixOptionsExchangeStepsAndDirection)
{
    RunOkAndCancel<COptionsMelange>(
        [](COptionsMelange&) {},
        [](HWND hDlg) {
            EXPECT_EQ(D::Text(hDlg, IDC_MIXOPT_STEPS), CString(L"1"));
            EXPECT_EQ(D::GetCheck(hDlg, IDC_MIXOPT_HORIZONTAL), BST_CHECKED);
            D::SetText(hDlg, IDC_MIXOPT_STEPS, L"50");
            ::CheckRadioButton(hDlg, IDC_MIXOPT_VERTICAL, IDC_MIXOPT_HORIZONTAL,
                               IDC_MIXOPT_VERTICAL);
        },
        [](const COptionsMelange& d, bool bOk) {
            EXPECT_EQ(d.m_stepCount, bOk ? 50 : 1);
            EXPECT_EQ(d.m_direction, bOk ? 0 : 1);
        });
}

// Values the callers cannot take keep the dialog open with a prompt; a corrected value
// then closes it.
TEST_F(DialogFamilyTest, OutOfRangeValuesKeepTheDialogOpen)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<CDialog>()> create;
        int nIDC;
        LPCWSTR bad;
        LPCWSTR good;
    };
    const Case cases[] = {
        {"steps above the tables' room", Make<COptionsMelange>(), IDC_MIXOPT_STEPS, L"51", L"50"},
        {"steps of zero", Make<COptionsMelange>(), IDC_MIXOPT_STEPS, L"0", L"1"},
        {"mosaic width of zero", Make<CNewMos>(), IDC_NEWMOS_WIDTH, L"0", L"1"},
        {"negative mosaic height", Make<CNewMos>(), IDC_NEWMOS_HEIGHT, L"-4", L"4"},
        {"negative row count", Make<CLC>(), IDC_LC_COUNT_BOTTOM, L"-1", L"0"},
        {"resize to nothing", Make<CFusion>(), IDC_RESIZE_SIZE, L"0", L"0.5"},
        {"negative size", Make<CFusion>(), IDC_RESIZE_SIZE, L"-2", L"2"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_app.m_prompts.clear();
        std::unique_ptr<CDialog> pDlg = c.create();
        bool bOpenAfterBad = false;
        HWND hFocusAfterBad = NULL;
        HWND hCtrl = NULL;
        INT_PTR nResult = D::Run(*pDlg, [&](HWND hDlg) {
            hCtrl = ::GetDlgItem(hDlg, c.nIDC);
            D::SetText(hDlg, c.nIDC, c.bad);
            ::SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           (LPARAM)::GetDlgItem(hDlg, IDOK));
            bOpenAfterBad = ::IsWindow(hDlg) && pDlg->m_hWnd == hDlg;
            hFocusAfterBad = ::GetFocus();
            D::SetText(hDlg, c.nIDC, c.good);
            D::Click(hDlg, IDOK);
        });
        EXPECT_TRUE(bOpenAfterBad);
        EXPECT_EQ(hFocusAfterBad, hCtrl) << "the focus goes to the value to correct";
        EXPECT_EQ(m_app.m_prompts.size(), 1u);
        EXPECT_EQ(nResult, IDOK);
    }
}

TEST_F(DialogFamilyTest, MixConfirmationAnswersOkOrCancel)
{
    for (int nButton : {IDOK, IDCANCEL})
    {
        CMelange2 dlg;
        CString question;
        INT_PTR nResult = D::Run(dlg, [&](HWND hDlg) {
            question = D::Text(hDlg, IDC_MIXCONF_TEXT);
            D::Click(hDlg, nButton);
        });
        EXPECT_EQ(nResult, nButton);
        EXPECT_EQ(question, L(TXT_MIX_CONFIRM));
    }
}

// Choosing the custom entry of a colour list opens the system colour dialog on the custom
// colour at once; its OK stores the colour it shows, its Cancel keeps the old one.
TEST_F(DialogFamilyTest, ConfigurationCustomEntryAsksForTheColour)
{
    struct Case
    {
        int nList;
        int nEntry;
        int nAnswer;   // 0: no colour dialog expected
    };
    const Case cases[] = {
        {IDC_CONFIG_JOINT_COLOUR, CMosConfig::JOINT_CUSTOM, IDOK},
        {IDC_CONFIG_JOINT_COLOUR, CMosConfig::JOINT_CUSTOM, IDCANCEL},
        {IDC_CONFIG_BACK_COLOUR, CMosConfig::BACKGROUND_CUSTOM, IDOK},
        {IDC_CONFIG_JOINT_COLOUR, 2, 0},   // black
        {IDC_CONFIG_BACK_COLOUR, 1, 0},    // grey
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "list " << c.nList << ", entry " << c.nEntry);
        CMosConfig dlg;
        dlg.m_tileSize = 2.5;
        dlg.m_plateTilesAcross = 12;
        dlg.m_plateTilesDown = 12;
        dlg.m_customJointColour = RGB(10, 20, 30);
        dlg.m_customBackgroundColour = RGB(40, 50, 60);
        int nShownRed = -1;
        bool bColourDialog = false;
        int nWaits = 0;
        INT_PTR nResult = D::RunSteps(dlg, {
            [&](HWND hDlg) {
                D::Send(hDlg, c.nList, CB_SETCURSEL, c.nEntry);
                ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(c.nList, CBN_SELCHANGE),
                               (LPARAM)::GetDlgItem(hDlg, c.nList));
                return true;
            },
            [&](HWND hDlg) {
                HWND hColour = FindOwnedPopup(hDlg);
                if (hColour == NULL)
                    return ++nWaits > 10;   // none opened
                bColourDialog = true;
                nShownRed = (int)::GetDlgItemInt(hColour, 706, NULL, FALSE);
                if (c.nAnswer == IDOK)
                {
                    ::SetDlgItemTextW(hColour, 706, L"200");
                    ::SetDlgItemTextW(hColour, 707, L"100");
                    ::SetDlgItemTextW(hColour, 708, L"0");
                }
                D::Click(hColour, c.nAnswer);
                return true;
            },
            [&](HWND hDlg) {
                if (FindOwnedPopup(hDlg) != NULL)
                    return false;
                D::Click(hDlg, IDOK);
                return true;
            },
        });
        EXPECT_EQ(nResult, IDOK);
        EXPECT_EQ(bColourDialog, c.nAnswer != 0);
        bool bJoint = c.nList == IDC_CONFIG_JOINT_COLOUR;
        COLORREF chosen = bJoint ? dlg.m_customJointColour : dlg.m_customBackgroundColour;
        COLORREF before = bJoint ? RGB(10, 20, 30) : RGB(40, 50, 60);
        if (c.nAnswer != 0)
        {
            EXPECT_EQ(nShownRed, GetRValue(before)) << "the dialog starts on the custom colour";
        }
        EXPECT_EQ(chosen, c.nAnswer == IDOK ? RGB(200, 100, 0) : before);
        EXPECT_EQ(bJoint ? dlg.m_jointColour : dlg.m_backgroundColour, c.nEntry);
    }
}
