// One interface language throughout: the framework's own texts (tool tips, the print
// preview's buttons, the untitled caption, the Save dialog's title, the failure to open a
// document, the prompts of a refused value) follow the language menu as the menus do, and
// the program's dialogs open centred on the main window.
#include "RunningMainFrame.h"

#include "AfxPrint.h"
#include "AfxRes.h"
#include "CommandDialogScript.h"
#include "FileDialogAnswerer.h"
#include "MessageBoxAnswerer.h"
#include "text/TextTestFiles.h"

namespace
{

// A mosaic made from the fixtures' small picture, so that every command is offered.
class InterfaceLanguageTest : public RunningMainFrame
{
protected:
    InterfaceLanguageTest()
    {
        m_strPicture = CString(L"Z:") + CString(MOSAIC_FIXTURES "/softwaves-80x60.png");
        m_strPicture.Replace(L'/', L'\\');
        m_strCommandLine = L"\"" + m_strPicture + L"\"";
    }

    void Command(UINT nID)
    {
        Frame()->SendMessage(WM_COMMAND, nID, 0);
        Pump();
    }

    // What the tool tip control of the toolbar is told for a button.
    CString ToolTipOf(UINT nID)
    {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom =
            (HWND)Frame()->m_wndToolBar.SendMessage(TB_GETTOOLTIPS, 0, 0);
        info.hdr.idFrom = nID;
        info.hdr.code = TTN_NEEDTEXTW;
        Frame()->SendMessage(WM_NOTIFY, nID, (LPARAM)&info);
        return info.lpszText != NULL ? CString(info.lpszText) : CString(L"<none>");
    }

    CString PreviewButtonText(UINT nID)
    {
        WCHAR szText[64] = {};
        ::GetWindowTextW(::GetDlgItem(::GetDlgItem(Frame()->m_hWnd, AFX_IDW_PREVIEW_BAR), nID),
                         szText, ARRAYSIZE(szText));
        return szText;
    }

    CString Caption() const
    {
        CString strCaption;
        Frame()->GetWindowText(strCaption);
        return strCaption;
    }

    CString m_strPicture;
};

// Without a file: the untitled mosaic.
class UntitledLanguageTest : public RunningMainFrame
{
protected:
    CString Caption() const
    {
        CString strCaption;
        Frame()->GetWindowText(strCaption);
        return strCaption;
    }
};

}   // namespace

TEST_F(UntitledLanguageTest, TheUntitledCaptionChangesWithTheLanguageMenu)
{
    EXPECT_EQ(CString(L"Untitled - Mosaic"), Caption());
    Frame()->SendMessage(WM_COMMAND, ID_LANGUAGE_FRENCH, 0);
    EXPECT_EQ(CString(L"Sans titre - Mosaic"), Caption());
    Frame()->SendMessage(WM_COMMAND, ID_LANGUAGE_GERMAN, 0);   // no file: English
    EXPECT_EQ(CString(L"Untitled - Mosaic"), Caption());
}

TEST_F(InterfaceLanguageTest, FrameworkTextsFollowTheLanguageMenu)
{
    CTempFolder folder;
    const CString strBroken = folder.Path(L"broken.ms2");
    folder.WriteBytes(L"broken.ms2", "not a mosaic");
    const struct
    {
        UINT nLanguageCommand;
        LPCWSTR lpszToolTip;
        LPCWSTR lpszPrint;
        LPCWSTR lpszClose;
        LPCWSTR lpszRangePrompt;
        LPCWSTR lpszSaveTitle;
        LPCWSTR lpszOpenFailure;
    } languages[] = {
        {ID_LANGUAGE_FRENCH, L"Zoom avant", L"Imprimer...", L"Fermer",
         L"Entrez un nombre compris entre 0.001 et 100000.", L"Enregistrer sous",
         L"broken.ms2\nFormat de fichier inattendu."},
        {ID_LANGUAGE_ENGLISH, L"Zoom in", L"Print...", L"Close",
         L"Enter a number between 0.001 and 100000.", L"Save As",
         L"broken.ms2\nUnexpected file format."},
        // A language without a file of its own speaks English.
        {ID_LANGUAGE_ITALIAN, L"Zoom in", L"Print...", L"Close",
         L"Enter a number between 0.001 and 100000.", L"Save As",
         L"broken.ms2\nUnexpected file format."},
    };
    for (const auto& language : languages)
    {
        SCOPED_TRACE(language.lpszSaveTitle);
        Command(language.nLanguageCommand);
        EXPECT_EQ(CString(language.lpszToolTip), ToolTipOf(ID_VIEW_ZOOM_IN));

        Command(ID_FILE_PRINT_PREVIEW);
        CPreviewView* pPreview = dynamic_cast<CPreviewView*>(Frame()->GetActiveView());
        ASSERT_NE((CPreviewView*)NULL, pPreview);
        EXPECT_EQ(CString(language.lpszPrint), PreviewButtonText(AFX_ID_PREVIEW_PRINT));
        EXPECT_EQ(CString(language.lpszClose), PreviewButtonText(AFX_ID_PREVIEW_CLOSE));
        KeepPicture(CaptureScreen(), CString(L"preview-") + language.lpszSaveTitle + L".png");
        pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
        Pump();

        // A size of 0 is refused with the range it must lie in; the dialog stays open.
        CString strPrompt;
        CommandDialogScript::Run(
            [&] { Command(ID_PROCESS_RESIZE); },
            {CommandDialogScript::OnDialogWith(IDC_RESIZE_SIZE,
                                               [](HWND hDlg) {
                                                   ::SetDlgItemTextW(hDlg, IDC_RESIZE_SIZE, L"0");
                                                   ::PostMessageW(hDlg, WM_COMMAND, IDOK, 0);
                                               }),
             CommandDialogScript::OnDialogWith(0xFFFF,
                                               [&](HWND hBox) {
                                                   WCHAR szText[256] = {};
                                                   ::GetDlgItemTextW(hBox, 0xFFFF, szText, 256);
                                                   strPrompt = szText;
                                                   ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
                                               }),
             CommandDialogScript::OnDialogWith(IDC_RESIZE_SIZE, [](HWND hDlg) {
                 ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
             })});
        EXPECT_EQ(CString(language.lpszRangePrompt), strPrompt);

        {
            FileDialogAnswerer answer(L"");
            Command(ID_FILE_SAVE_AS);
            EXPECT_EQ(1, FileDialogAnswerer::s_nAnswered);
            EXPECT_EQ(CString(language.lpszSaveTitle), FileDialogAnswerer::s_strTitle);
        }

        {
            MessageBoxAnswerer answer(IDOK);
            m_app->OpenDocumentFile(strBroken);
            Pump();
            EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
            EXPECT_EQ(CString(language.lpszOpenFailure), MessageBoxAnswerer::s_strText);
        }
        m_app->OpenDocumentFile(m_strPicture);
        Pump();
    }
}

TEST_F(InterfaceLanguageTest, AProgramDialogOpensCentredOnTheMainWindow)
{
    CRect rectFrame, rectDialog;
    Frame()->GetWindowRect(&rectFrame);
    CommandDialogScript::Run([&] { Command(ID_PROCESS_RESIZE); },
                             {CommandDialogScript::OnDialogWith(IDC_RESIZE_SIZE, [&](HWND hDlg) {
                                 ::GetWindowRect(hDlg, &rectDialog);
                                 KeepPicture(CaptureScreen(false), L"dialog-centred.png");
                                 ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
                             })});
    ASSERT_FALSE(rectDialog.IsRectEmpty());
    EXPECT_NEAR(rectFrame.CenterPoint().x, rectDialog.CenterPoint().x, 1);
    EXPECT_NEAR(rectFrame.CenterPoint().y, rectDialog.CenterPoint().y, 1);
}
