// Documents, views, frames and the single-document template: a document run through New,
// Save, Open and Close in real windows, with the framework's questions answered by clicks;
// failed reads reported; command routing and menu updates through view, document, frame
// and application; the recent-file list; the command line.
#include "MosaicTest.h"

#include <functional>
#include <vector>

#include "FileDialogAnswerer.h"
#include "MessageBoxAnswerer.h"
#include "ResourceLanguage.h"

#include "AfxArchive.h"
#include "AfxDocTempl.h"
#include "AfxRes.h"

namespace {

const UINT IDR_TESTFRAME = 32512;
const UINT ID_TEST_UNHANDLED = 32514;
const UINT ID_TEST_DOCUMENT = 32515;
const UINT IDR_MOSAIC = 128;   // the program's own document string

// A document of one text, stored as an archive string.
class CTextDoc : public CDocument
{
    DECLARE_DYNCREATE(CTextDoc)
public:
    CTextDoc() { s_nAlive++; }
    ~CTextDoc() override { s_nAlive--; }

    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        m_nNewCalls++;
        return TRUE;
    }
    void DeleteContents() override { m_strText.Empty(); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring() && m_bFailStore)
            AfxThrowArchiveException(CArchiveException::genericException);
        if (ar.IsStoring())
            ar << m_strText;
        else
            ar >> m_strText;
    }
    void Change(LPCTSTR lpszText)
    {
        m_strText = lpszText;
        SetModifiedFlag();
    }

    CString m_strText;
    int m_nNewCalls = 0;
    int m_nCommands = 0;
    BOOL m_bFailStore = FALSE;
    static int s_nAlive;

protected:
    afx_msg void OnTestDocument() { m_nCommands++; }

    DECLARE_MESSAGE_MAP()
};

int CTextDoc::s_nAlive = 0;

IMPLEMENT_DYNCREATE(CTextDoc, CDocument)

BEGIN_MESSAGE_MAP(CTextDoc, CDocument)
    ON_COMMAND(ID_TEST_DOCUMENT, OnTestDocument)
END_MESSAGE_MAP()

class CTextView : public CView
{
    DECLARE_DYNCREATE(CTextView)
public:
    void OnDraw(CDC*) override { m_nDraws++; }
    void OnInitialUpdate() override
    {
        m_nInitialUpdates++;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        m_nUpdates++;
        CView::OnUpdate(pSender, lHint, pHint);
    }

    int m_nDraws = 0;
    int m_nInitialUpdates = 0;
    int m_nUpdates = 0;
};

IMPLEMENT_DYNCREATE(CTextView, CView)

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(L"MosaicDocViewTest")
    {
        AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTextDoc),
                                              RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CTextView)));
    }
    ~CTestApp() override
    {
        // A frame left by a failed test goes before the application does.
        if (m_pMainWnd != NULL)
            m_pMainWnd->DestroyWindow();
        MSG msg;
        while (PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    CFrameWnd* Frame() const { return (CFrameWnd*)m_pMainWnd; }
    CTextDoc* Doc() const { return (CTextDoc*)Frame()->GetActiveDocument(); }
    CTextView* View() const { return (CTextView*)Frame()->GetActiveView(); }

    int m_nAppCommands = 0;

protected:
    afx_msg void OnAppCommand() { m_nAppCommands++; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_TEST_DOCUMENT, OnAppCommand)
END_MESSAGE_MAP()

// A folder of its own under the system's temporary folder, emptied at the end.
class DocViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strFolder.Format(L"%sdocview-%u\\", szTemp, GetCurrentProcessId());
        CreateDirectoryW(m_strFolder, NULL);
    }
    void TearDown() override
    {
        for (LPCWSTR lpszName : {L"a.tst", L"b.tst", L"bad.tst", L"new.tst"})
        {
            SetFileAttributesW(Path(lpszName), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(Path(lpszName));
        }
        RemoveDirectoryW(m_strFolder);
    }

    CString Path(LPCTSTR lpszName) const { return m_strFolder + lpszName; }

    // The text a document of this kind stored in the file.
    CString StoredText(LPCTSTR lpszName) const
    {
        CFile file;
        if (!file.Open(Path(lpszName), CFile::modeRead))
            return L"(missing)";
        CArchive ar(&file, CArchive::load);
        CString strText;
        ar >> strText;
        return strText;
    }

    void WriteBytes(LPCTSTR lpszName, const void* pData, UINT nCount) const
    {
        CFile file(Path(lpszName), CFile::modeCreate | CFile::modeWrite);
        file.Write(pData, nCount);
    }

    static CString WindowText(CWnd* pWnd)
    {
        CString strText;
        pWnd->GetWindowText(strText);
        return strText;
    }

    CString m_strFolder;
    CResourceLanguage m_french{kFrenchResources};
};

// ---- Document strings -------------------------------------------------------------------------

TEST(DocTemplate, DocStringFieldsOfTheProgramsTemplate)
{
    CSingleDocTemplate templ(IDR_MOSAIC, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CFrameWnd),
                             RUNTIME_CLASS(CTextView));
    struct
    {
        CDocTemplate::DocStringIndex index;
        LPCWSTR lpszExpected;
    } cases[] = {
        {CDocTemplate::windowTitle, L""},
        {CDocTemplate::docName, L""},
        {CDocTemplate::fileNewName, L""},
        {CDocTemplate::filterName, L"Mosaic Files  (*.ms2)"},
        {CDocTemplate::filterExt, L".ms2"},
        {CDocTemplate::regFileTypeId, L""},
        {CDocTemplate::regFileTypeName, L"MS2.image"},
    };
    for (const auto& c : cases)
    {
        CString strField = L"(unset)";
        EXPECT_TRUE(templ.GetDocString(strField, c.index)) << (int)c.index;
        EXPECT_EQ(strField, CString(c.lpszExpected)) << (int)c.index;
    }

    // Past the last field there is none.
    CString strField;
    EXPECT_TRUE(AfxExtractSubString(strField, L"a\nb", 1));
    EXPECT_EQ(strField, CString(L"b"));
    EXPECT_FALSE(AfxExtractSubString(strField, L"a\nb", 2));
    EXPECT_EQ(strField, CString(L""));
}

TEST(DocTemplate, MatchDocTypeByExtensionAndOpenPath)
{
    CTestApp app;
    CSingleDocTemplate* pTemplate = new CSingleDocTemplate(
        IDR_TESTFRAME, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CTextView));
    app.AddDocTemplate(pTemplate);
    CDocument* pMatch = NULL;
    EXPECT_EQ(pTemplate->MatchDocType(L"C:\\x\\file.TST", pMatch), CDocTemplate::yesAttemptNative);
    EXPECT_EQ(pTemplate->MatchDocType(L"C:\\x.tst\\file", pMatch), CDocTemplate::yesAttemptForeign);
    EXPECT_EQ(pMatch, (CDocument*)NULL);
}

// ---- New, Save, Open, Close ---------------------------------------------------------------------

TEST_F(DocViewTest, NewCreatesFrameViewAndDocumentWithDefaultTitle)
{
    CTestApp app;
    app.OnFileNew();
    ASSERT_NE(app.m_pMainWnd, (CWnd*)NULL);
    CFrameWnd* pFrame = app.Frame();
    CTextDoc* pDoc = app.Doc();
    CTextView* pView = app.View();
    ASSERT_NE(pDoc, (CTextDoc*)NULL);
    ASSERT_NE(pView, (CTextView*)NULL);

    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_EQ(pView->GetDocument(), pDoc);
    EXPECT_EQ(pView->GetParentFrame(), pFrame);
    EXPECT_EQ(pView->GetDlgCtrlID(), (int)AFX_IDW_PANE_FIRST);
    EXPECT_EQ(pDoc->m_nNewCalls, 1);
    EXPECT_EQ(pView->m_nInitialUpdates, 1);
    EXPECT_EQ(pDoc->GetTitle(), CString(L"Sans titre"));
    EXPECT_EQ(WindowText(pFrame), CString(L"Sans titre - Essai"));
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_NE(::GetMenu(pFrame->m_hWnd), (HMENU)NULL);
    EXPECT_NE(pFrame->m_hAccelTable, (HACCEL)NULL);

    // The view fills the client area.
    CRect rectClient;
    CRect rectView;
    pFrame->GetClientRect(&rectClient);
    pView->GetWindowRect(&rectView);
    pFrame->ScreenToClient(&rectView);
    EXPECT_EQ(rectView, rectClient);

    // New again reuses the one document and the one frame, once the changes are settled.
    pDoc->Change(L"x");
    {
        MessageBoxAnswerer answer(IDNO);
        app.OnFileNew();
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(app.Doc(), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L""));
    EXPECT_EQ(pDoc->m_nNewCalls, 2);
    EXPECT_EQ(app.Frame(), pFrame);
}

TEST_F(DocViewTest, SaveOpenWithSaveQuestionAndClose)
{
    CTestApp app;
    app.LoadStdProfileSettings(4);
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    ASSERT_NE(pDoc, (CTextDoc*)NULL);

    // Save writes the file and makes it the document's.
    pDoc->Change(L"first");
    ASSERT_TRUE(pDoc->DoSave(Path(L"a.tst")));
    EXPECT_EQ(StoredText(L"a.tst"), CString(L"first"));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->GetPathName(), Path(L"a.tst"));
    EXPECT_EQ(pDoc->GetTitle(), CString(L"a.tst"));
    EXPECT_EQ(WindowText(app.Frame()), CString(L"a.tst - Essai"));
    EXPECT_EQ((*app.m_pRecentFileList)[0], Path(L"a.tst"));

    pDoc->Change(L"second");
    ASSERT_TRUE(pDoc->DoSave(Path(L"b.tst")));
    EXPECT_EQ((*app.m_pRecentFileList)[0], Path(L"b.tst"));
    EXPECT_EQ((*app.m_pRecentFileList)[1], Path(L"a.tst"));

    // Cancel: nothing is opened, the changes stay.
    pDoc->Change(L"changed");
    {
        MessageBoxAnswerer answer(IDCANCEL);
        EXPECT_EQ(app.OpenDocumentFile(Path(L"a.tst")), (CDocument*)NULL);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_EQ(MessageBoxAnswerer::s_strText, CString(L"Enregistrer les modifications de b.tst ?"));
    }
    EXPECT_EQ(app.Doc(), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L"changed"));
    EXPECT_TRUE(pDoc->IsModified());

    // No: the changes are dropped and the other file is read into the same document.
    {
        MessageBoxAnswerer answer(IDNO);
        EXPECT_EQ(app.OpenDocumentFile(Path(L"a.tst")), pDoc);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(app.Doc(), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L"first"));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->GetTitle(), CString(L"a.tst"));
    EXPECT_EQ(StoredText(L"b.tst"), CString(L"second"));

    // Yes: saved first, then the other file is read.
    pDoc->Change(L"third");
    {
        MessageBoxAnswerer answer(IDYES);
        EXPECT_EQ(app.OpenDocumentFile(Path(L"b.tst")), pDoc);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(StoredText(L"a.tst"), CString(L"third"));
    EXPECT_EQ(pDoc->m_strText, CString(L"second"));

    // The file already open is not read again.
    pDoc->m_strText = L"in memory";
    EXPECT_EQ(app.OpenDocumentFile(Path(L"B.TST")), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L"in memory"));

    // Closing the main frame asks about a changed document, saves it, and takes frame,
    // view and document with it.
    pDoc->Change(L"last words");
    int nAlive = CTextDoc::s_nAlive;
    {
        MessageBoxAnswerer answer(IDYES);
        app.Frame()->SendMessage(WM_CLOSE);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(app.m_pMainWnd, (CWnd*)NULL);
    EXPECT_EQ(CTextDoc::s_nAlive, nAlive - 1);
    EXPECT_EQ(StoredText(L"b.tst"), CString(L"last words"));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(DocViewTest, CloseCancelledKeepsEverything)
{
    CTestApp app;
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    pDoc->Change(L"keep");
    {
        MessageBoxAnswerer answer(IDCANCEL);
        app.Frame()->SendMessage(WM_CLOSE);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_EQ(MessageBoxAnswerer::s_strText,
                  CString(L"Enregistrer les modifications de Sans titre ?"));
    }
    ASSERT_NE(app.m_pMainWnd, (CWnd*)NULL);
    EXPECT_TRUE(app.m_pMainWnd->IsWindowVisible());
    EXPECT_EQ(app.Doc(), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L"keep"));
}

TEST_F(DocViewTest, SaveAsOfUntitledProposesTitleWithExtension)
{
    // The dialog is answered by a name typed into it.
    CTestApp app;
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    pDoc->SetTitle(L"mon/essai");
    pDoc->Change(L"saved as");

    BOOL bSaved = FALSE;
    {
        FileDialogAnswerer answer(Path(L"new.tst"));
        bSaved = pDoc->DoSave(NULL);
    }

    ASSERT_TRUE(bSaved);
    EXPECT_EQ(FileDialogAnswerer::s_strProposed, CString(L"mon.tst"));
    EXPECT_EQ(FileDialogAnswerer::s_strTitle, CString(L"Enregistrer sous"));
    EXPECT_EQ(pDoc->GetPathName(), Path(L"new.tst"));
    EXPECT_EQ(StoredText(L"new.tst"), CString(L"saved as"));
}

TEST_F(DocViewTest, FileOpenAsksForANameWithTheTemplatesFilter)
{
    CTestApp app;
    app.OnFileNew();
    app.Doc()->Change(L"opened");
    ASSERT_TRUE(app.Doc()->DoSave(Path(L"a.tst")));
    app.Doc()->OnNewDocument();

    {
        FileDialogAnswerer answer(Path(L"a.tst"));
        app.OnFileOpen();
    }

    EXPECT_EQ(FileDialogAnswerer::s_strTitle, CString(L"Ouvrir"));
    EXPECT_EQ(app.Doc()->m_strText, CString(L"opened"));
    EXPECT_EQ(app.Doc()->GetPathName(), Path(L"a.tst"));
}

// ---- Failures ---------------------------------------------------------------------------------

TEST_F(DocViewTest, FailedReadsAreReportedAndLeaveAnEmptyDocument)
{
    CTestApp app;
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    pDoc->m_strText = L"before";

    // A string announced with five characters, and none of them there.
    const BYTE truncated[] = {5, 'a'};
    WriteBytes(L"bad.tst", truncated, sizeof(truncated));
    {
        MessageBoxAnswerer answer(IDOK);
        EXPECT_EQ(app.OpenDocumentFile(Path(L"bad.tst")), (CDocument*)NULL);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_EQ(MessageBoxAnswerer::s_strText, CString(L"bad.tst\nFormat de fichier inattendu."));
    }
    // The read spoilt the document: it starts again as a new one.
    EXPECT_EQ(app.Doc(), pDoc);
    EXPECT_EQ(pDoc->m_strText, CString(L""));
    EXPECT_EQ(pDoc->GetTitle(), CString(L"Sans titre"));
    EXPECT_EQ(pDoc->GetPathName(), CString(L""));
    EXPECT_EQ(pDoc->m_nNewCalls, 2);

    // A file that cannot be opened at all leaves the document untouched; the message names
    // the file.
    pDoc->m_strText = L"untouched";
    {
        MessageBoxAnswerer answer(IDOK);
        EXPECT_EQ(app.OpenDocumentFile(Path(L"missing.tst")), (CDocument*)NULL);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_GE(MessageBoxAnswerer::s_strText.Find(L"missing.tst"), 0);
    }
    EXPECT_EQ(pDoc->m_strText, CString(L"untouched"));
    EXPECT_EQ(pDoc->m_nNewCalls, 2);
}

TEST_F(DocViewTest, ReportSaveLoadExceptionMessages)
{
    CTestApp app;
    CTextDoc doc;
    doc.m_bAutoDelete = FALSE;
    // Every failure to open names the file, in the language of the resources.
    struct
    {
        std::function<CException*()> make;
        BOOL bSaving;
        UINT nIDPDefault;
        LPCWSTR lpszEnglish;   // NULL: no message at all
        LPCWSTR lpszFrench;
    } cases[] = {
        {[] { return new CArchiveException(CArchiveException::badSchema); }, FALSE,
         AFX_IDP_FAILED_TO_OPEN_DOC, L"plan.ms2\nUnexpected file format.",
         L"plan.ms2\nFormat de fichier inattendu."},
        {[] { return new CArchiveException(CArchiveException::genericException); }, TRUE,
         AFX_IDP_FAILED_TO_SAVE_DOC, L"Failed to save the document.",
         L"L'enregistrement du document a échoué."},
        {[] { return new CMemoryException(TRUE); }, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC,
         L"plan.ms2 could not be opened.", L"Impossible d'ouvrir plan.ms2."},
        {[] { return new CFileException(CFileException::fileNotFound); }, FALSE,
         AFX_IDP_FAILED_TO_OPEN_DOC, L"C:\\dossier\\plan.ms2 was not found.",
         L"C:\\dossier\\plan.ms2 est introuvable."},
        {[] { return new CUserException(TRUE); }, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC, NULL, NULL},
    };
    for (LANGID wLanguage : {kEnglishResources, kFrenchResources})
        for (const auto& c : cases)
        {
            CResourceLanguage language(wLanguage);
            LPCWSTR lpszExpected = wLanguage == kEnglishResources ? c.lpszEnglish : c.lpszFrench;
            MessageBoxAnswerer answer(IDOK);
            CException* pException = c.make();
            doc.ReportSaveLoadException(L"C:\\dossier\\plan.ms2", pException, c.bSaving,
                                        c.nIDPDefault);
            pException->Delete();
            if (lpszExpected == NULL)
            {
                EXPECT_EQ(MessageBoxAnswerer::s_nCount, 0);
                continue;
            }
            EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1) << CStringA(lpszExpected).GetString();
            EXPECT_EQ(MessageBoxAnswerer::s_strText, CString(lpszExpected));
        }

    // A file exception speaks of the file, named by the path when it has no name.
    CFileException* pFileException = new CFileException(CFileException::accessDenied);
    {
        MessageBoxAnswerer answer(IDOK);
        doc.ReportSaveLoadException(L"C:\\dossier\\plan.ms2", pFileException, TRUE,
                                    AFX_IDP_FAILED_TO_SAVE_DOC);
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_GE(MessageBoxAnswerer::s_strText.Find(L"plan.ms2"), 0);
    }
    EXPECT_EQ(pFileException->m_strFileName, CString(L"C:\\dossier\\plan.ms2"));
    pFileException->Delete();
}

TEST_F(DocViewTest, FailedSavesAreReportedAndSaveAsLeavesNoFile)
{
    CTestApp app;
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    pDoc->Change(L"text");
    ASSERT_TRUE(pDoc->DoSave(Path(L"a.tst")));

    // A folder that does not exist: reported with the file's name, the path stays.
    pDoc->Change(L"more");
    {
        MessageBoxAnswerer answer(IDOK);
        EXPECT_FALSE(pDoc->DoSave(Path(L"nowhere\\b.tst")));
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_GE(MessageBoxAnswerer::s_strText.Find(L"b.tst"), 0);
    }
    EXPECT_EQ(pDoc->GetPathName(), Path(L"a.tst"));
    EXPECT_TRUE(pDoc->IsModified());

    // Writing fails half-way during a Save As: the new file is removed again.
    pDoc->m_bFailStore = TRUE;
    {
        FileDialogAnswerer name(Path(L"new.tst"));
        MessageBoxAnswerer answer(IDOK);
        EXPECT_FALSE(pDoc->DoSave(NULL));
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
        EXPECT_EQ(MessageBoxAnswerer::s_strText, CString(L"L'enregistrement du document a échoué."));
    }
    EXPECT_EQ(GetFileAttributesW(Path(L"new.tst")), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(pDoc->GetPathName(), Path(L"a.tst"));
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(StoredText(L"a.tst"), CString(L"text"));
}

// ---- Views, routing and the frame ---------------------------------------------------------------

TEST_F(DocViewTest, UpdateAllViewsSkipsTheSender)
{
    CTestApp app;
    app.OnFileNew();
    CTextView* pView = app.View();
    int nUpdates = pView->m_nUpdates;
    app.Doc()->UpdateAllViews(NULL);
    EXPECT_EQ(pView->m_nUpdates, nUpdates + 1);
    app.Doc()->UpdateAllViews(pView);
    EXPECT_EQ(pView->m_nUpdates, nUpdates + 1);

    // A WM_PAINT sent with nothing invalid still draws.
    pView->UpdateWindow();
    int nDraws = pView->m_nDraws;
    pView->SendMessage(WM_PAINT);
    EXPECT_EQ(pView->m_nDraws, nDraws + 1);
}

TEST_F(DocViewTest, CommandsRouteThroughViewDocumentFrameAndApplication)
{
    CTestApp app;
    app.OnFileNew();
    CFrameWnd* pFrame = app.Frame();
    CTextDoc* pDoc = app.Doc();

    // The document comes before the application for the same command.
    pFrame->SendMessage(WM_COMMAND, ID_TEST_DOCUMENT);
    EXPECT_EQ(pDoc->m_nCommands, 1);
    EXPECT_EQ(app.m_nAppCommands, 0);

    // Without an active view the application handles it.
    CView* pView = pFrame->GetActiveView();
    pFrame->SetActiveView(NULL);
    EXPECT_EQ(pFrame->GetActiveDocument(), (CDocument*)NULL);
    pFrame->SendMessage(WM_COMMAND, ID_TEST_DOCUMENT);
    EXPECT_EQ(pDoc->m_nCommands, 1);
    EXPECT_EQ(app.m_nAppCommands, 1);
    pFrame->SetActiveView(pView);

    // The menu's update: an item nobody handles is disabled, the others are enabled.
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    ::EnableMenuItem(hPopup, ID_FILE_SAVE, MF_BYCOMMAND | MF_GRAYED);
    pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, 0);
    EXPECT_EQ(::GetMenuState(hPopup, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED, (UINT)MF_GRAYED);
    EXPECT_EQ(::GetMenuState(hPopup, ID_TEST_DOCUMENT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(hPopup, ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(hPopup, ID_FILE_NEW, MF_BYCOMMAND) & MF_GRAYED, 0u);

    // Without auto-enabling the items keep their state.
    pFrame->m_bAutoMenuEnable = FALSE;
    ::EnableMenuItem(hPopup, ID_TEST_UNHANDLED, MF_BYCOMMAND | MF_ENABLED);
    pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, 0);
    EXPECT_EQ(::GetMenuState(hPopup, ID_TEST_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(DocViewTest, SaveCommandOfTheDocumentWritesItsFile)
{
    CTestApp app;
    app.OnFileNew();
    CTextDoc* pDoc = app.Doc();
    pDoc->Change(L"first");
    ASSERT_TRUE(pDoc->DoSave(Path(L"a.tst")));
    pDoc->Change(L"by command");
    app.Frame()->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(StoredText(L"a.tst"), CString(L"by command"));
    EXPECT_FALSE(pDoc->IsModified());
}

TEST_F(DocViewTest, AcceleratorsOfTheFrameReachTheDocument)
{
    CTestApp app;
    app.OnFileNew();
    CTextView* pView = app.View();

    // Ctrl+D, as the message loop would see it on its way to the view.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved[256];
    CopyMemory(saved, keys, sizeof(keys));
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg = {};
    msg.hwnd = pView->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = 'D';
    msg.lParam = 1;
    BOOL bTranslated = app.PreTranslateMessage(&msg);
    SetKeyboardState(saved);

    EXPECT_TRUE(bTranslated);
    EXPECT_EQ(app.Doc()->m_nCommands, 1);
}

// A bar that takes the top 20 pixels of what the layout leaves.
class CTopBar : public CWnd
{
public:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        AFX_SIZEPARENTPARAMS* pLayout = (AFX_SIZEPARENTPARAMS*)lParam;
        CRect rect(pLayout->rect);
        rect.bottom = rect.top + 20;
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        pLayout->rect.top += 20;
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTopBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

TEST_F(DocViewTest, RecalcLayoutGivesTheBarsTheirPlaceAndTheViewTheRest)
{
    CTestApp app;
    app.OnFileNew();
    CFrameWnd* pFrame = app.Frame();
    CTopBar bar;
    ASSERT_TRUE(bar.CreateEx(0, NULL, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), pFrame,
                             AFX_IDW_TOOLBAR));
    pFrame->SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);   // OnSize lays out

    CRect rectClient;
    pFrame->GetClientRect(&rectClient);
    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    pFrame->ScreenToClient(&rectBar);
    CRect rectView;
    app.View()->GetWindowRect(&rectView);
    pFrame->ScreenToClient(&rectView);
    EXPECT_EQ(rectBar, CRect(0, 0, rectClient.right, 20));
    EXPECT_EQ(rectView, CRect(0, 20, rectClient.right, rectClient.bottom));
    bar.DestroyWindow();
}

// A status bar of the simplest kind: a static child with the status bar's id.
TEST_F(DocViewTest, MessageTextGoesToTheStatusBarWhenThereIsOne)
{
    CTestApp app;
    app.OnFileNew();
    CFrameWnd* pFrame = app.Frame();
    pFrame->SetMessageText(L"nowhere");   // no status bar: nothing happens

    CWnd bar;
    ASSERT_TRUE(bar.CreateEx(0, L"Static", L"", WS_CHILD, CRect(0, 0, 10, 10), pFrame,
                             AFX_IDW_STATUS_BAR));
    pFrame->SetMessageText(L"Bonjour");
    EXPECT_EQ(WindowText(&bar), CString(L"Bonjour"));
    pFrame->SetMessageText(ID_TEST_DOCUMENT);
    EXPECT_EQ(WindowText(&bar), CString(L"Commande du document"));
    bar.DestroyWindow();
}

// ---- Recent files and the command line ----------------------------------------------------------

TEST(RecentFileList, NewestFirstWithoutRepeatsAndKeptInTheProfile)
{
    CWinApp app(L"MosaicRecentFilesTest");
    app.SetRegistryKey(L"MosaicTests");
    app.WriteProfileString(L"Recent File List", NULL, NULL);

    CRecentFileList list(0, L"Recent File List", L"File%d", 3);
    list.Add(L"C:\\a.ms2");
    list.Add(L"C:\\b.ms2");
    list.Add(L"C:\\c.ms2");
    list.Add(L"c:\\A.MS2");   // the same file moves up
    EXPECT_EQ(list[0], CString(L"c:\\A.MS2"));
    EXPECT_EQ(list[1], CString(L"C:\\c.ms2"));
    EXPECT_EQ(list[2], CString(L"C:\\b.ms2"));
    list.Add(L"C:\\d.ms2");   // the oldest drops out
    EXPECT_EQ(list[0], CString(L"C:\\d.ms2"));
    EXPECT_EQ(list[2], CString(L"C:\\c.ms2"));
    list.Remove(0);
    EXPECT_EQ(list[0], CString(L"c:\\A.MS2"));
    EXPECT_EQ(list[2], CString(L""));
    list.WriteList();

    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File1"), CString(L"c:\\A.MS2"));
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File2"), CString(L"C:\\c.ms2"));
    EXPECT_EQ(app.GetProfileString(L"Recent File List", L"File3", L"none"), CString(L"none"));

    app.LoadStdProfileSettings(2);
    ASSERT_NE(app.m_pRecentFileList, (CRecentFileList*)NULL);
    EXPECT_EQ(app.m_pRecentFileList->GetSize(), 2);
    EXPECT_EQ((*app.m_pRecentFileList)[1], CString(L"C:\\c.ms2"));
    app.WriteProfileString(L"Recent File List", NULL, NULL);
}

// The entries take the place of the File menu's placeholder, newest first; an entry whose
// file is gone is reported when chosen and leaves the list.
TEST_F(DocViewTest, RecentFilesFillTheFileMenuAndAGoneFileLeavesIt)
{
    CTestApp app;
    app.SetRegistryKey(L"MosaicTests");
    app.WriteProfileString(L"Recent File List", NULL, NULL);
    app.LoadStdProfileSettings(4);
    app.OnFileNew();
    ASSERT_NE(app.Doc(), (CTextDoc*)NULL);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_FILE_NEW, L"&Nouveau");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, L"Fichier récent");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, L"&Quitter");
    auto texts = [&menu]() {
        std::vector<CString> items;
        for (int i = 0; i < menu.GetMenuItemCount(); i++)
        {
            CString strText;
            menu.GetMenuString(i, strText, MF_BYPOSITION);
            items.push_back(strText);
        }
        return items;
    };

    app.Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    EXPECT_EQ(texts(), (std::vector<CString>{L"&Nouveau", L"Fichier récent", L"", L"&Quitter"}));
    EXPECT_TRUE(menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    ASSERT_TRUE(app.Doc()->DoSave(Path(L"a.tst")));
    app.m_pRecentFileList->Add(Path(L"gone & lost.tst"));
    app.m_pRecentFileList->Add(Path(L"a.tst"));
    app.Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    std::vector<CString> items = texts();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1].Left(3), CString(L"&1 "));
    EXPECT_EQ(items[1].Right(5), CString(L"a.tst"));
    EXPECT_EQ(items[2].Left(3), CString(L"&2 "));
    EXPECT_EQ(items[2].Right(16), CString(L"gone && lost.tst"));
    EXPECT_FALSE(menu.GetMenuState(ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND) & MF_GRAYED);

    {
        MessageBoxAnswerer answer;
        EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1 + 1, CN_COMMAND, NULL, NULL));
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ((*app.m_pRecentFileList)[0], Path(L"a.tst"));
    EXPECT_TRUE((*app.m_pRecentFileList)[1].IsEmpty());
    app.Frame()->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    EXPECT_EQ(texts().size(), 4u);
    app.WriteProfileString(L"Recent File List", NULL, NULL);
}

// A long path shows its root, "..." and as many of its last folders as fit.
TEST(RecentFileList, LongPathsAreShortenedInTheMiddle)
{
    CRecentFileList list(0, L"Recent File List", L"File%d", 2, 30);
    list.Add(L"C:\\mosaics\\kitchen\\wall\\2026\\splashback.ms2");
    list.Add(L"C:\\short.ms2");
    CString strName;
    ASSERT_TRUE(list.GetDisplayName(strName, 0));
    EXPECT_EQ(strName, CString(L"C:\\short.ms2"));
    ASSERT_TRUE(list.GetDisplayName(strName, 1));
    EXPECT_EQ(strName, CString(L"C:\\...\\2026\\splashback.ms2"));
    EXPECT_FALSE(list.GetDisplayName(strName, 2));
}

TEST(CommandLineInfo, ParseCommandLine)
{
    CWinApp app(L"MosaicCommandLineTest");
    struct
    {
        LPCWSTR lpszLine;
        int nShellCommand;
        LPCWSTR lpszFileName;
        LPCWSTR lpszPrinter;
    } cases[] = {
        {L"", CCommandLineInfo::FileNew, L"", L""},
        {L"\"Z:\\mes plans\\a.ms2\"", CCommandLineInfo::FileOpen, L"Z:\\mes plans\\a.ms2", L""},
        {L"/p b.ms2", CCommandLineInfo::FilePrint, L"b.ms2", L""},
        {L"-pt b.ms2 Imprimante pilote port", CCommandLineInfo::FilePrintTo, L"b.ms2",
         L"Imprimante"},
        {L"/P b.ms2", CCommandLineInfo::FileOpen, L"b.ms2", L""},   // the shell's switches match case
        {L"/dde", CCommandLineInfo::FileDDE, L"", L""},
        {L"/REGSERVER", CCommandLineInfo::AppRegister, L"", L""},
        {L"-Unregister", CCommandLineInfo::AppUnregister, L"", L""},
    };
    for (const auto& c : cases)
    {
        CString strLine(c.lpszLine);
        app.m_lpCmdLine = strLine.GetBuffer();
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        strLine.ReleaseBuffer();
        EXPECT_EQ((int)info.m_nShellCommand, c.nShellCommand) << CStringA(strLine).GetString();
        EXPECT_EQ(info.m_strFileName, CString(c.lpszFileName)) << CStringA(strLine).GetString();
        EXPECT_EQ(info.m_strPrinterName, CString(c.lpszPrinter)) << CStringA(strLine).GetString();
    }
    app.m_lpCmdLine = NULL;

    CCommandLineInfo embedded;
    embedded.ParseParam(L"Embedding", TRUE, TRUE);
    EXPECT_TRUE(embedded.m_bRunEmbedded);
    EXPECT_FALSE(embedded.m_bShowSplash);
    EXPECT_EQ((int)embedded.m_nShellCommand, (int)CCommandLineInfo::FileNew);
}

TEST_F(DocViewTest, StartedFromACommandLineNamingAFile)
{
    {
        CTestApp writer;
        writer.OnFileNew();
        writer.Doc()->Change(L"from the command line");
        ASSERT_TRUE(writer.Doc()->DoSave(Path(L"a.tst")));
    }

    CTestApp app;
    CString strLine = L"\"" + Path(L"a.tst") + L"\"";
    app.m_lpCmdLine = strLine.GetBuffer();
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    strLine.ReleaseBuffer();
    app.m_lpCmdLine = NULL;
    ASSERT_EQ((int)info.m_nShellCommand, (int)CCommandLineInfo::FileOpen);

    ASSERT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(app.m_pMainWnd, (CWnd*)NULL);
    CTextDoc* pDoc = app.Doc();
    ASSERT_NE(pDoc, (CTextDoc*)NULL);
    EXPECT_EQ(pDoc->m_strText, CString(L"from the command line"));
    EXPECT_EQ(pDoc->m_nNewCalls, 0);
    EXPECT_EQ(pDoc->GetPathName(), Path(L"a.tst"));
    EXPECT_EQ(WindowText(app.m_pMainWnd), CString(L"a.tst - Essai"));
    EXPECT_EQ(app.View()->m_nInitialUpdates, 1);
}

TEST_F(DocViewTest, ACommandLineFileThatCannotBeOpenedEndsTheStart)
{
    CTestApp app;
    int nAlive = CTextDoc::s_nAlive;
    CCommandLineInfo info;
    info.ParseParam(Path(L"missing.tst"), FALSE, TRUE);
    {
        MessageBoxAnswerer answer(IDOK);
        EXPECT_FALSE(app.ProcessShellCommand(info));
        EXPECT_EQ(MessageBoxAnswerer::s_nCount, 1);
    }
    EXPECT_EQ(app.m_pMainWnd, (CWnd*)NULL);
    EXPECT_EQ(CTextDoc::s_nAlive, nAlive);   // the document went with its frame

    // Without a file the application's New runs.
    CCommandLineInfo infoNew;
    EXPECT_TRUE(app.ProcessShellCommand(infoNew));
    ASSERT_NE(app.m_pMainWnd, (CWnd*)NULL);
    EXPECT_EQ(app.Doc()->m_nNewCalls, 1);
}

} // namespace
