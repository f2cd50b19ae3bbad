// The common dialogs: CFileDialog's filter conversion, structure and name parts without
// showing anything, then the system's dialogs shown and answered by a timer, and the
// application's printer defaults.
#include "MosaicTest.h"

#include <functional>

#include "AfxApp.h"
#include "AfxDlgs.h"

namespace {

// The characters of a filter up to its empty last string, NULs shown as '|'.
CString FilterAsText(LPCWSTR pszFilter)
{
    CString str;
    for (const WCHAR* pch = pszFilter; !(pch[0] == 0 && (pch == pszFilter || pch[-1] == 0)); pch++)
        str += pch[0] == 0 ? L'|' : pch[0];
    return str;
}

TEST(FileDialog, FilterBarsBecomeNulsAndTheListEndsWithAnEmptyString)
{
    struct Case
    {
        LPCWSTR pszFilter;
        LPCWSTR pszExpected;   // the pairs, '|' for each NUL, without the final empty string
    };
    const Case cases[] = {
        {L"Palettes (*.pal)|*.pal|Tous (*.*)|*.*||", L"Palettes (*.pal)|*.pal|Tous (*.*)|*.*|"},
        // Without its final "||" the list is still well ended.
        {L"Text Files (*.TXT)|*.TXT|\tCSV Files (*.CSV)|*.CSV",
         L"Text Files (*.TXT)|*.TXT|\tCSV Files (*.CSV)|*.CSV|"},
    };
    for (const Case& c : cases)
    {
        CFileDialog dlg(TRUE, L"pal", NULL, OFN_FILEMUSTEXIST, c.pszFilter);
        ASSERT_NE(dlg.m_ofn.lpstrFilter, nullptr);
        EXPECT_EQ(FilterAsText(dlg.m_ofn.lpstrFilter), CString(c.pszExpected));
    }
}

TEST(FileDialog, StructureHoldsTheArgumentsAndMfcsDefaultFlags)
{
    CFileDialog save(FALSE, L"ms2", L"C:\\Plans\\Nouveau.ms2");
    EXPECT_EQ(save.m_ofn.lStructSize, sizeof(OPENFILENAMEW));
    EXPECT_EQ(save.m_ofn.Flags, (DWORD)(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER));
    EXPECT_EQ(CString(save.m_ofn.lpstrDefExt), CString(L"ms2"));
    EXPECT_EQ(CString(save.m_ofn.lpstrFile), CString(L"C:\\Plans\\Nouveau.ms2"));
    EXPECT_EQ(save.m_ofn.nMaxFile, (DWORD)MAX_PATH);
    EXPECT_EQ(save.m_ofn.lpstrFilter, nullptr);
    EXPECT_FALSE(save.m_bOpenFileDialog);

    CFileDialog open(TRUE);
    EXPECT_EQ(open.m_ofn.lpstrDefExt, nullptr);
    EXPECT_EQ(open.m_ofn.lpstrFile[0], 0);
}

TEST(FileDialog, NamePartsComeFromThePath)
{
    struct Case
    {
        LPCWSTR pszPath;
        LPCWSTR pszName;
        LPCWSTR pszTitle;
        LPCWSTR pszExt;
        LPCWSTR pszFolder;
    };
    const Case cases[] = {
        {L"C:\\Mosaic\\Palettes\\Briare.pal", L"Briare.pal", L"Briare", L"pal", L"C:\\Mosaic\\Palettes"},
        {L"C:\\a.b\\sans", L"sans", L"sans", L"", L"C:\\a.b"},
        {L"Z:\\tmp\\plan.tar.gz", L"plan.tar.gz", L"plan.tar", L"gz", L"Z:\\tmp"},
        {L"Z:/tmp/image.JPG", L"image.JPG", L"image", L"JPG", L"Z:/tmp"},
        {L"seul.ms2", L"seul.ms2", L"seul", L"ms2", L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        CFileDialog dlg(TRUE);
        lstrcpynW(dlg.m_ofn.lpstrFile, c.pszPath, (int)dlg.m_ofn.nMaxFile);
        EXPECT_EQ(dlg.GetPathName(), CString(c.pszPath));
        EXPECT_EQ(dlg.GetFileName(), CString(c.pszName));
        EXPECT_EQ(dlg.GetFileTitle(), CString(c.pszTitle));
        EXPECT_EQ(dlg.GetFileExt(), CString(c.pszExt));
        EXPECT_EQ(dlg.GetFolderPath(), CString(c.pszFolder));
    }
}

// ---- The system's dialogs, answered by a timer ----------------------------------------------------

std::function<void(HWND)> g_answer;
HWND g_hWndAnswered = NULL;

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, 16);
    if (IsWindowVisible(hWnd) && lstrcmpW(szClass, L"#32770") == 0)
    {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's own loop; answers the first dialog of the thread once, and
// gives up on the dialog after a while so that a fault cannot hang the tests.
void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR, DWORD)
{
    static int s_nTicks = 0;
    HWND hDlg = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&hDlg);
    if (hDlg == NULL)
        return;
    if (hDlg != g_hWndAnswered)
    {
        g_hWndAnswered = hDlg;
        s_nTicks = 0;
        g_answer(hDlg);
    }
    else if (++s_nTicks > 50)
    {
        PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    }
}

class SystemDialog : public testing::Test
{
protected:
    void SetUp() override
    {
        g_hWndAnswered = NULL;
        m_nTimer = SetTimer(NULL, 0, 100, AnswerTimer);
    }
    void TearDown() override { KillTimer(NULL, m_nTimer); }

    UINT_PTR m_nTimer = 0;
};

TEST_F(SystemDialog, FileDialogGivesTheChosenPathOnOKAndCancelOtherwise)
{
    WCHAR szTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, szTemp);
    CString strPath = CString(szTemp) + L"mosaic-dialog-test.pal";

    CFileDialog save(FALSE, L"pal", NULL, OFN_HIDEREADONLY, L"Palettes (*.pal)|*.pal||");
    g_answer = [&](HWND hDlg) {
        // The name field is a combo box's edit or an edit, depending on the template.
        SetDlgItemTextW(hDlg, cmb13, strPath);
        SetDlgItemTextW(hDlg, edt1, strPath);
        PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
    };
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_EQ(save.GetPathName().CompareNoCase(strPath), 0) << save.GetPathName();
    EXPECT_EQ(save.GetFileTitle(), CString(L"mosaic-dialog-test"));

    CFileDialog open(TRUE, L"pal", NULL, OFN_FILEMUSTEXIST, L"Palettes (*.pal)|*.pal||");
    g_answer = [](HWND hDlg) { PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(open.DoModal(), IDCANCEL);
}

TEST_F(SystemDialog, ColorDialogStartsOnTheColourItWasGiven)
{
    CColorDialog black;
    EXPECT_EQ(black.m_cc.Flags & CC_RGBINIT, 0u);
    EXPECT_EQ(black.m_cc.lpCustColors, CColorDialog::GetSavedCustomColors());
    EXPECT_EQ(CColorDialog::clrSavedCustom[15], RGB(255, 255, 255));

    COLORREF custom[16] = {};
    CColorDialog dlg(RGB(10, 20, 30), CC_FULLOPEN);
    dlg.m_cc.lpCustColors = custom;
    EXPECT_EQ(dlg.m_cc.Flags, (DWORD)(CC_FULLOPEN | CC_RGBINIT));
    g_answer = [](HWND hDlg) {
        PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, IDOK));
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));

    g_answer = [](HWND hDlg) { PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

// Without a printer nothing is shown and nothing is returned; with one, its defaults make a
// device context.
TEST_F(SystemDialog, PrinterDefaultsFollowThePrintersInstalled)
{
    CPrintDialog setup(TRUE);
    EXPECT_TRUE(setup.m_pd.Flags & PD_PRINTSETUP);
    EXPECT_FALSE(setup.m_pd.Flags & PD_RETURNDC);
    CPrintDialog print(FALSE);
    EXPECT_TRUE(print.m_pd.Flags & PD_RETURNDC);
    EXPECT_TRUE(print.PrintAll());

    DWORD cbNeeded = 0;
    DWORD nPrinters = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, NULL, 2, NULL, 0, &cbNeeded,
                  &nPrinters);
    BOOL bHavePrinter = cbNeeded > 0;

    int nBoxes = 0;
    g_answer = [&](HWND hDlg) {
        nBoxes++;
        PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
    };
    CWinApp app(L"MosaicPrinterTest");
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    EXPECT_EQ(app.GetPrinterDeviceDefaults(&pd), bHavePrinter);
    CDC dc;
    EXPECT_EQ(app.CreatePrinterDC(dc), bHavePrinter);
    if (bHavePrinter)
    {
        EXPECT_EQ(pd.hDevNames, app.m_hDevNames);
        EXPECT_NE(dc.GetSafeHdc(), nullptr);
        CPrintDialog defaults(TRUE);
        ASSERT_TRUE(defaults.GetDefaults());
        EXPECT_FALSE(defaults.GetDeviceName().IsEmpty());
        EXPECT_FALSE(defaults.m_pd.Flags & PD_RETURNDEFAULT) << "a later DoModal shows the dialog";
    }
    else
    {
        EXPECT_EQ(pd.hDevNames, nullptr);
        EXPECT_EQ(app.m_hDevNames, nullptr);
    }
    EXPECT_EQ(nBoxes, 0);
}

} // namespace
