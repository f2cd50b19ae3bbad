// CDialog on real windows: the modal loop driven by posted clicks and keys, data exchange
// both ways with MFC's number formats and failures, radio groups, range checks, owners,
// and the control classes.
#include "MosaicTest.h"

#include <climits>
#include <functional>
#include <vector>

#include "ResourceLanguage.h"

#include "AfxApp.h"
#include "AfxCtrl.h"
#include "AfxDDX.h"
#include "AfxDialog.h"

namespace {

// The ids of dialogs-test.rc.
const UINT IDD_TEST_DATA = 30100;
const UINT IDD_TEST_EMPTY = 30101;
const int IDC_INT = 1001;
const int IDC_DOUBLE = 1002;
const int IDC_STRING = 1003;
const int IDC_FLOAT = 1004;
const int IDC_UINT = 1005;
const int IDC_CHECK = 1010;
const int IDC_RADIO_A = 1020;
const int IDC_RADIO_B = 1022;
const int IDC_RADIO_C = 1023;
const int IDC_RADIO_X = 1024;
const int IDC_LIST = 1030;
const int IDC_COMBO = 1031;
const int IDC_LISTBOX = 1032;
const int IDC_SPY = 1040;

const UINT WM_RUN_STEP = WM_APP + 1;
const UINT_PTR ID_TIMER_GIVE_UP = 77;

// Keeps the framework's prompts instead of showing them.
class CPromptApp : public CWinApp
{
public:
    CPromptApp() : CWinApp(L"MosaicDialogTest") {}
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override
    {
        m_prompts.push_back(lpszPrompt);
        return IDOK;
    }
    std::vector<CString> m_prompts;
};

// An edit that notes the keys its PreTranslateMessage sees.
class CSpyEdit : public CEdit
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_keys.push_back((UINT)pMsg->wParam);
        return CEdit::PreTranslateMessage(pMsg);
    }
    std::vector<UINT> m_keys;
};

// Every kind of exchange on one template. A script runs inside the modal loop, one step
// per posted message; a timer ends a dialog that a faulty script left open.
class CDataDialog : public CDialog
{
public:
    CDataDialog() : CDialog(IDD_TEST_DATA) {}

    int m_nInt = 0;
    double m_dDouble = 0;
    CString m_strText;
    float m_fFloat = 0;
    UINT m_nUInt = 0;
    int m_nCheck = 0;
    int m_nRadio = -1;
    int m_nList = -1;
    CString m_strCombo;
    int m_nListBox = -1;
    int m_nMinInt = INT_MIN;
    int m_nMaxInt = INT_MAX;
    int m_nStringChanges = 0;
    CSpyEdit m_spy;
    CComboBox m_list;
    CListBox m_listBox;
    std::function<void(CDataDialog*, int)> m_script;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_INT, m_nInt);
        DDV_MinMaxInt(pDX, m_nInt, m_nMinInt, m_nMaxInt);
        DDX_Text(pDX, IDC_DOUBLE, m_dDouble);
        DDX_Text(pDX, IDC_STRING, m_strText);
        DDX_Text(pDX, IDC_FLOAT, m_fFloat);
        DDX_Text(pDX, IDC_UINT, m_nUInt);
        DDX_Check(pDX, IDC_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_RADIO_A, m_nRadio);
        DDX_CBIndex(pDX, IDC_LIST, m_nList);
        DDX_CBString(pDX, IDC_COMBO, m_strCombo);
        DDX_LBIndex(pDX, IDC_LISTBOX, m_nListBox);
        DDX_Control(pDX, IDC_SPY, m_spy);
    }

    BOOL OnInitDialog() override
    {
        // The lists are filled before the exchange, as the program's dialogs do.
        m_list.SubclassDlgItem(IDC_LIST, this);
        m_listBox.SubclassDlgItem(IDC_LISTBOX, this);
        for (LPCWSTR psz : {L"Zéro", L"Un", L"Deux"})
        {
            m_list.AddString(psz);
            m_listBox.AddString(psz);
        }
        ::SendDlgItemMessageW(m_hWnd, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)L"Alpha");
        ::SendDlgItemMessageW(m_hWnd, IDC_COMBO, CB_ADDSTRING, 0, (LPARAM)L"Beta");
        BOOL bResult = CDialog::OnInitDialog();
        SetTimer(ID_TIMER_GIVE_UP, 10000);
        m_bScriptStarted = false;
        return bResult;
    }

    void PostStep(int nStep) { PostMessage(WM_RUN_STEP, (WPARAM)nStep); }
    void Click(int nID) { PostMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)Item(nID)); }
    void Key(int nID, UINT vk)
    {
        ::PostMessageW(Item(nID), WM_KEYDOWN, vk, 1);
        ::PostMessageW(Item(nID), WM_KEYUP, vk, 0xC0000001);
    }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    CString Text(int nID) const
    {
        CString str;
        GetDlgItemText(nID, str);
        return str;
    }
    LRESULT Send(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
    }

protected:
    // The loop kicks the dialog once it has shown it and found the queue empty: the user's
    // actions start there.
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        if (!m_bScriptStarted)
        {
            m_bScriptStarted = true;
            PostStep(0);
        }
        return FALSE;
    }
    afx_msg LRESULT OnRunStep(WPARAM wParam, LPARAM)
    {
        if (m_script)
            m_script(this, (int)wParam);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(ID_TIMER_GIVE_UP);
        EndDialog(-2);
    }
    afx_msg void OnStringChange() { m_nStringChanges++; }

    bool m_bScriptStarted = false;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDataDialog, CDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_MESSAGE(WM_RUN_STEP, OnRunStep)
    ON_WM_TIMER()
    ON_EN_CHANGE(IDC_STRING, OnStringChange)
END_MESSAGE_MAP()

// ---- The modal loop --------------------------------------------------------------------------

TEST(Dialog, DataGoesToTheControlsAndBackOnEnterAndTheObjectRunsAgain)
{
    CPromptApp app;
    CDataDialog dlg;
    dlg.m_nInt = 42;
    dlg.m_dDouble = 1.0 / 3;
    dlg.m_strText = L"Verre";
    dlg.m_fFloat = 0.1f;
    dlg.m_nUInt = 4000000000u;
    dlg.m_nCheck = 2;
    dlg.m_nRadio = 1;
    dlg.m_nList = 2;
    dlg.m_strCombo = L"Be";
    dlg.m_nListBox = 1;

    CString shown[5];
    LRESULT shownState[6] = {};
    dlg.m_script = [&](CDataDialog* p, int) {
        shown[0] = p->Text(IDC_INT);
        shown[1] = p->Text(IDC_DOUBLE);
        shown[2] = p->Text(IDC_STRING);
        shown[3] = p->Text(IDC_FLOAT);
        shown[4] = p->Text(IDC_UINT);
        shownState[0] = p->Send(IDC_CHECK, BM_GETCHECK);
        shownState[1] = p->Send(IDC_RADIO_A, BM_GETCHECK);
        shownState[2] = p->Send(IDC_RADIO_B, BM_GETCHECK);
        shownState[3] = p->Send(IDC_LIST, CB_GETCURSEL);
        shownState[4] = p->Send(IDC_LISTBOX, LB_GETCURSEL);
        shownState[5] = p->Text(IDC_COMBO) == L"Beta";

        // What the user types and picks; Enter goes to the default button.
        p->SetDlgItemText(IDC_INT, L" -17\t");
        p->SetDlgItemText(IDC_DOUBLE, L"2.75");
        p->SetDlgItemText(IDC_STRING, L"Mosaïque ∑");
        p->SetDlgItemText(IDC_FLOAT, L"1e-3");
        p->SetDlgItemText(IDC_UINT, L"7");
        p->Send(IDC_CHECK, BM_SETCHECK, BST_UNCHECKED);
        ::CheckRadioButton(p->m_hWnd, IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_C);
        p->Send(IDC_LIST, CB_SETCURSEL, 0);
        p->SetDlgItemText(IDC_COMBO, L"Typed");
        p->Send(IDC_LISTBOX, LB_SETCURSEL, 2);
        ::SetFocus(p->Item(IDC_INT));
        p->Key(IDC_INT, VK_RETURN);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);

    EXPECT_EQ(shown[0], CString(L"42"));
    EXPECT_EQ(shown[1], CString(L"0.333333333333333"));
    EXPECT_EQ(shown[2], CString(L"Verre"));
    EXPECT_EQ(shown[3], CString(L"0.1"));
    EXPECT_EQ(shown[4], CString(L"4000000000"));
    EXPECT_EQ(shownState[0], BST_INDETERMINATE);
    EXPECT_EQ(shownState[1], BST_UNCHECKED);
    EXPECT_EQ(shownState[2], BST_CHECKED);   // index 1: the label between is not counted
    EXPECT_EQ(shownState[3], 2);
    EXPECT_EQ(shownState[4], 1);
    EXPECT_TRUE(shownState[5]) << "the combo selects the first item starting with the text";

    EXPECT_EQ(dlg.m_nInt, -17);
    EXPECT_EQ(dlg.m_dDouble, 2.75);
    EXPECT_EQ(dlg.m_strText, CString(L"Mosaïque ∑"));
    EXPECT_EQ(dlg.m_fFloat, 0.001f);
    EXPECT_EQ(dlg.m_nUInt, 7u);
    EXPECT_EQ(dlg.m_nCheck, 0);
    EXPECT_EQ(dlg.m_nRadio, 2);
    EXPECT_EQ(dlg.m_nList, 0);
    EXPECT_EQ(dlg.m_strCombo, CString(L"Typed"));
    EXPECT_EQ(dlg.m_nListBox, 2);
    EXPECT_TRUE(app.m_prompts.empty());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_spy.m_hWnd, nullptr);

    // The same objects again: a new window, and the control attached to its new edit.
    bool bSpyAttached = false;
    CString strInt;
    dlg.m_script = [&](CDataDialog* p, int) {
        bSpyAttached = p->m_spy.m_hWnd != NULL && p->m_spy.m_hWnd == p->Item(IDC_SPY) &&
                       CWnd::FromHandlePermanent(p->Item(IDC_SPY)) == &p->m_spy;
        strInt = p->Text(IDC_INT);
        p->Click(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(bSpyAttached);
    EXPECT_EQ(strInt, CString(L"-17"));
}

TEST(Dialog, EscapeCancelsThroughTheControlsPreTranslateAndKeepsTheMembers)
{
    CPromptApp app;
    CDataDialog dlg;
    dlg.m_nInt = 3;
    dlg.m_strText = L"avant";
    int nFocusAfterTab = 0;
    dlg.m_script = [&](CDataDialog* p, int nStep) {
        if (nStep == 0)
        {
            p->SetDlgItemText(IDC_INT, L"99");
            p->SetDlgItemText(IDC_STRING, L"après");
            ::SetFocus(p->Item(IDC_SPY));
            p->Key(IDC_SPY, VK_TAB);
            p->PostStep(1);
        }
        else
        {
            nFocusAfterTab = ::GetDlgCtrlID(::GetFocus());
            p->Key(IDC_SPY, VK_ESCAPE);
        }
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nInt, 3);
    EXPECT_EQ(dlg.m_strText, CString(L"avant"));
    // The loop showed both keys to the control before the dialog manager acted on them.
    EXPECT_EQ(dlg.m_spy.m_keys, (std::vector<UINT>{VK_TAB, VK_ESCAPE}));
    EXPECT_EQ(nFocusAfterTab, IDOK) << "Tab moves to the next tab stop";
}

TEST(Dialog, TextThatIsNoIntegerKeepsTheDialogOpenWithTheFocusOnIt)
{
    CResourceLanguage french(kFrenchResources);
    CPromptApp app;
    CDataDialog dlg;
    dlg.m_nInt = 5;
    dlg.m_dDouble = 1.5;
    int nFocusID = 0;
    BOOL bVisible = FALSE;
    LRESULT lSel = 0;
    dlg.m_script = [&](CDataDialog* p, int nStep) {
        if (nStep == 0)
        {
            p->SetDlgItemText(IDC_INT, L"abc");
            p->SetDlgItemText(IDC_DOUBLE, L"9");
            p->Click(IDOK);
            p->PostStep(1);
        }
        else
        {
            nFocusID = ::GetDlgCtrlID(::GetFocus());
            bVisible = ::IsWindowVisible(p->m_hWnd);
            lSel = p->Send(IDC_INT, EM_GETSEL);
            p->PostMessage(WM_CLOSE);   // the close box cancels
        }
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(app.m_prompts.size(), 1u);
    EXPECT_EQ(app.m_prompts[0], CString(L"Entrez un entier."));
    EXPECT_TRUE(bVisible);
    EXPECT_EQ(nFocusID, IDC_INT);
    EXPECT_EQ(lSel, MAKELONG(0, 3)) << "the whole text is selected";
    EXPECT_EQ(dlg.m_nInt, 5);
    EXPECT_EQ(dlg.m_dDouble, 1.5) << "the exchange stops at the failing control";
}

TEST(Dialog, OwnerIsDisabledWhileTheDialogRunsAndEnabledAgainOnlyIfItWasEnabled)
{
    CPromptApp app;
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, NULL, NULL));
    CDataDialog dlg;
    dlg.m_pParentWnd = &owner;
    BOOL bOwnerEnabled = TRUE;
    HWND hOwner = NULL;
    dlg.m_script = [&](CDataDialog* p, int) {
        bOwnerEnabled = owner.IsWindowEnabled();
        hOwner = ::GetWindow(p->m_hWnd, GW_OWNER);
        p->Click(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_EQ(hOwner, owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled());

    // A dialog opened while its owner is already disabled leaves it disabled.
    owner.EnableWindow(FALSE);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(owner.IsWindowEnabled());
}

// Places itself where it is told while it initialises, when told.
class CPlacingDialog : public CDataDialog
{
public:
    BOOL OnInitDialog() override
    {
        BOOL bResult = CDataDialog::OnInitDialog();
        if (m_bPlace)
            SetWindowPos(NULL, m_ptPlace.x, m_ptPlace.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return bResult;
    }
    bool m_bPlace = false;
    CPoint m_ptPlace;
};

TEST(Dialog, AModalDialogOpensCentredOnItsOwnerAndInsideTheWorkArea)
{
    CPromptApp app;
    CRect rectWork;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rectWork, 0);
    const struct
    {
        const char* pszCase;
        CRect rectOwner;
        bool bPlace;
    } cases[] = {
        {"centred", CRect(300, 200, 1000, 700), false},
        {"owner half off the screen", CRect(rectWork.right - 60, rectWork.bottom - 40,
                                            rectWork.right + 600, rectWork.bottom + 400), false},
        {"placed by the dialog itself", CRect(300, 200, 1000, 700), true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, NULL, L"Owner", WS_POPUP | WS_VISIBLE, c.rectOwner.left,
                                   c.rectOwner.top, c.rectOwner.Width(), c.rectOwner.Height(),
                                   NULL, NULL));
        CPlacingDialog dlg;
        dlg.m_pParentWnd = &owner;
        dlg.m_bPlace = c.bPlace;
        dlg.m_ptPlace = CPoint(10, 20);
        CRect rect;
        dlg.m_script = [&](CDataDialog* p, int) {
            p->GetWindowRect(&rect);
            p->Click(IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        if (c.bPlace)
        {
            EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
            continue;
        }
        CRect rectInside;
        EXPECT_TRUE(rectInside.IntersectRect(&rect, &rectWork) && rectInside == rect);
        if (rectWork.PtInRect(c.rectOwner.BottomRight()))
        {
            EXPECT_NEAR(rect.CenterPoint().x, c.rectOwner.CenterPoint().x, 1);
            EXPECT_NEAR(rect.CenterPoint().y, c.rectOwner.CenterPoint().y, 1);
        }
        else
        {
            EXPECT_EQ(rect.BottomRight(), rectWork.BottomRight());
        }
    }
}

class CEndingDialog : public CDialog
{
public:
    CEndingDialog() : CDialog(IDD_TEST_EMPTY) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(7);
        return TRUE;
    }
};

TEST(Dialog, EndDialogInOnInitDialogEndsWithoutLoopAndAMissingTemplateGivesMinusOne)
{
    CPromptApp app;
    CEndingDialog ending;
    EXPECT_EQ(ending.DoModal(), 7);
    EXPECT_EQ(ending.m_hWnd, nullptr);

    CDialog missing(29999);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(Dialog, QuitEndsTheModalLoopAndStaysForTheOuterLoop)
{
    CPromptApp app;
    CDataDialog dlg;
    dlg.m_script = [](CDataDialog*, int) { ::PostQuitMessage(5); };
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(Dialog, NextDlgCtrlAndGotoDlgCtrlMoveTheFocus)
{
    CPromptApp app;
    CDataDialog dlg;
    int nAfterGoto = 0;
    int nAfterNext = 0;
    int nAfterPrev = 0;
    dlg.m_script = [&](CDataDialog* p, int) {
        p->GotoDlgCtrl(CWnd::FromHandle(p->Item(IDC_DOUBLE)));
        nAfterGoto = ::GetDlgCtrlID(::GetFocus());
        p->NextDlgCtrl();
        nAfterNext = ::GetDlgCtrlID(::GetFocus());
        p->PrevDlgCtrl();
        p->PrevDlgCtrl();
        nAfterPrev = ::GetDlgCtrlID(::GetFocus());
        p->Click(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(nAfterGoto, IDC_DOUBLE);
    EXPECT_EQ(nAfterNext, IDC_STRING);
    EXPECT_EQ(nAfterPrev, IDC_INT);
}

// ---- Data exchange on a modeless dialog ---------------------------------------------------------

class DataExchange : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create(IDD_TEST_DATA)); }
    void TearDown() override { m_dlg.DestroyWindow(); }

    CResourceLanguage m_french{kFrenchResources};
    CPromptApp m_app;
    CDataDialog m_dlg;
};

TEST_F(DataExchange, NumbersAreReadAsMfcReadsThem)
{
    struct Case
    {
        int nIDC;
        LPCWSTR pszText;
        bool bOK;
        double value;
    };
    const Case cases[] = {
        {IDC_INT, L"42", true, 42},
        {IDC_INT, L" \t-7 ", true, -7},
        {IDC_INT, L"+5", true, 5},
        {IDC_INT, L"007", true, 7},
        {IDC_INT, L"0", true, 0},
        {IDC_INT, L"2147483647", true, 2147483647.0},
        {IDC_INT, L"-2147483648", true, -2147483648.0},
        {IDC_INT, L"2147483648", false, 0},
        {IDC_INT, L"-0", false, 0},   // a zero must start with '0'
        {IDC_INT, L"", false, 0},
        {IDC_INT, L"abc", false, 0},
        {IDC_INT, L"12abc", false, 0},
        {IDC_INT, L"1 2", false, 0},
        {IDC_INT, L"0x10", false, 0},
        {IDC_INT, L"٣", false, 0},   // digits of other scripts are not read
        {IDC_UINT, L"4294967295", true, 4294967295.0},
        {IDC_UINT, L"4294967296", false, 0},
        {IDC_UINT, L"-1", false, 0},
        {IDC_DOUBLE, L"2.5", true, 2.5},
        {IDC_DOUBLE, L" -0.25 ", true, -0.25},
        {IDC_DOUBLE, L"1e3", true, 1000},
        {IDC_DOUBLE, L".5", true, 0.5},
        {IDC_DOUBLE, L"0", true, 0},
        {IDC_DOUBLE, L".0", false, 0},   // as in MFC, a zero must start with '0'
        {IDC_DOUBLE, L"1,5", false, 0},
        {IDC_DOUBLE, L"inf", false, 0},
        {IDC_DOUBLE, L"nan", false, 0},
        {IDC_DOUBLE, L"0x1p3", false, 0},
        {IDC_DOUBLE, L"1e999", false, 0},
        {IDC_FLOAT, L"1e39", false, 0},   // beyond a float
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "control " << c.nIDC << " case " << (&c - cases));
        m_dlg.m_nInt = -1;
        m_dlg.m_nUInt = 1;
        m_dlg.m_dDouble = -1;
        m_dlg.m_fFloat = -1;
        ASSERT_TRUE(m_dlg.UpdateData(FALSE));
        m_dlg.SetDlgItemText(c.nIDC, c.pszText);
        m_app.m_prompts.clear();

        EXPECT_EQ(m_dlg.UpdateData(TRUE), c.bOK ? TRUE : FALSE);
        double value = c.nIDC == IDC_INT    ? m_dlg.m_nInt
                       : c.nIDC == IDC_UINT ? m_dlg.m_nUInt
                       : c.nIDC == IDC_FLOAT ? m_dlg.m_fFloat
                                             : m_dlg.m_dDouble;
        if (c.bOK)
        {
            EXPECT_EQ(value, c.value);
            EXPECT_TRUE(m_app.m_prompts.empty());
        }
        else
        {
            ASSERT_EQ(m_app.m_prompts.size(), 1u);
            LPCWSTR pszPrompt = c.nIDC == IDC_INT    ? L"Entrez un entier."
                                : c.nIDC == IDC_UINT ? L"Entrez un entier positif."
                                                     : L"Entrez un nombre.";
            EXPECT_EQ(m_app.m_prompts[0], CString(pszPrompt));
        }
    }
}

TEST_F(DataExchange, NumbersAreWrittenWithMfcFormats)
{
    struct Case
    {
        double dDouble;
        float fFloat;
        int nInt;
        LPCWSTR pszDouble;
        LPCWSTR pszFloat;
        LPCWSTR pszInt;
    };
    const Case cases[] = {
        {0.1, 0.1f, 0, L"0.1", L"0.1", L"0"},
        {1.0 / 3, 1.0f / 3, -5, L"0.333333333333333", L"0.333333", L"-5"},
        {1e20, 16777216.0f, INT_MIN, L"1e+20", L"1.67772e+07", L"-2147483648"},
        {-2.5, 123456.7f, INT_MAX, L"-2.5", L"123457", L"2147483647"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        m_dlg.m_dDouble = c.dDouble;
        m_dlg.m_fFloat = c.fFloat;
        m_dlg.m_nInt = c.nInt;
        ASSERT_TRUE(m_dlg.UpdateData(FALSE));
        EXPECT_EQ(m_dlg.Text(IDC_DOUBLE), CString(c.pszDouble));
        EXPECT_EQ(m_dlg.Text(IDC_FLOAT), CString(c.pszFloat));
        EXPECT_EQ(m_dlg.Text(IDC_INT), CString(c.pszInt));
    }
}

TEST_F(DataExchange, RadioIndexCountsRadioButtonsUpToTheNextGroup)
{
    // Saving: none checked, or only a button of the next group, is -1.
    for (int nID : {IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C, IDC_RADIO_X})
        m_dlg.Send(nID, BM_SETCHECK, BST_UNCHECKED);
    m_dlg.Send(IDC_RADIO_X, BM_SETCHECK, BST_CHECKED);
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.m_nRadio, -1);

    // Loading an index past the group checks nothing, in the group or after it.
    m_dlg.Send(IDC_RADIO_X, BM_SETCHECK, BST_UNCHECKED);
    m_dlg.m_nRadio = 3;
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    for (int nID : {IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C, IDC_RADIO_X})
        EXPECT_EQ(m_dlg.Send(nID, BM_GETCHECK), BST_UNCHECKED) << nID;

    m_dlg.m_nRadio = 0;
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(m_dlg.Send(IDC_RADIO_A, BM_GETCHECK), BST_CHECKED);
    m_dlg.Send(IDC_RADIO_A, BM_SETCHECK, BST_UNCHECKED);
    m_dlg.Send(IDC_RADIO_C, BM_SETCHECK, BST_CHECKED);
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.m_nRadio, 2);
}

TEST_F(DataExchange, RangeCheckFailsOnlyWhenSaving)
{
    m_dlg.m_nMinInt = 1;
    m_dlg.m_nMaxInt = 50;
    m_dlg.m_nInt = 99;
    EXPECT_TRUE(m_dlg.UpdateData(FALSE)) << "a member out of range still goes into the control";
    EXPECT_TRUE(m_app.m_prompts.empty());

    for (LPCWSTR pszText : {L"0", L"51"})
    {
        m_app.m_prompts.clear();
        m_dlg.SetDlgItemText(IDC_INT, pszText);
        EXPECT_FALSE(m_dlg.UpdateData(TRUE));
        ASSERT_EQ(m_app.m_prompts.size(), 1u);
        EXPECT_EQ(m_app.m_prompts[0], CString(L"Entrez un entier compris entre 1 et 50."));
    }
    m_dlg.SetDlgItemText(IDC_INT, L"50");
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(m_dlg.m_nInt, 50);
}

TEST_F(DataExchange, ControlsDoNotNotifyWhileUpdateDataFillsThem)
{
    m_dlg.m_nStringChanges = 0;
    m_dlg.m_strText = L"nouveau";
    ASSERT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(m_dlg.Text(IDC_STRING), CString(L"nouveau"));
    EXPECT_EQ(m_dlg.m_nStringChanges, 0);

    m_dlg.SetDlgItemText(IDC_STRING, L"tapé");
    EXPECT_EQ(m_dlg.m_nStringChanges, 1);
}

TEST_F(DataExchange, AMissingControlFailsTheExchangeWithTheInternalFailureMessage)
{
    class CMissingDialog : public CDataDialog
    {
    public:
        bool m_bMissing = false;
        void DoDataExchange(CDataExchange* pDX) override
        {
            if (m_bMissing)
                DDX_Text(pDX, 4321, m_nInt);
        }
    } dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DATA));
    dlg.m_bMissing = true;
    m_app.m_prompts.clear();
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(m_app.m_prompts.size(), 1u);
}

// ---- Control classes ---------------------------------------------------------------------------------

TEST(Controls, ListTextsAndSelectionsReadBackThroughTheirClasses)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, L"Parent", WS_POPUP, 0, 0, 200, 200, NULL, NULL));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWN | WS_VSCROLL, CRect(0, 0, 100, 100), &parent, 11));
    CListBox list;
    ASSERT_TRUE(list.Create(LBS_NOTIFY, CRect(0, 100, 100, 200), &parent, 12));
    CEdit edit;
    ASSERT_TRUE(edit.Create(ES_AUTOHSCROLL, CRect(100, 0, 200, 20), &parent, 13));

    for (LPCWSTR psz : {L"Émaux", L"Verre", L""})
    {
        combo.AddString(psz);
        list.AddString(psz);
    }
    CString str;
    combo.GetLBText(0, str);
    EXPECT_EQ(str, CString(L"Émaux"));
    combo.GetLBText(2, str);
    EXPECT_EQ(str, CString());
    combo.GetLBText(9, str);
    EXPECT_EQ(str, CString()) << "an index past the end";
    list.GetText(1, str);
    EXPECT_EQ(str, CString(L"Verre"));
    list.GetText(-3, str);
    EXPECT_EQ(str, CString());

    EXPECT_EQ(combo.SelectString(-1, L"ver"), 1);
    combo.GetWindowText(str);
    EXPECT_EQ(str, CString(L"Verre"));
    EXPECT_EQ(list.FindStringExact(-1, L"Verre"), 1);

    edit.SetWindowText(L"abcdef");
    edit.SetSel(1, 4);
    int nStart = 0;
    int nEnd = 0;
    edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 1);
    EXPECT_EQ(nEnd, 4);
    edit.ReplaceSel(L"X");
    edit.GetWindowText(str);
    EXPECT_EQ(str, CString(L"aXef"));
}

} // namespace
