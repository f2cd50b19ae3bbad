#include "VitrolanApp.h"

#include <winspool.h>

#include "AboutDlg.h"
#include "AfxDlgs.h"
#include "AfxDocTempl.h"
#include "AfxGdi.h"
#include "AfxOle.h"
#include "AfxRes.h"
#include "LangText.h"
#include "MainFrm.h"
#include "PaintedMenuLibrary.h"
#include "ShellHooks.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CVitrolanApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_IMPORT_IMAGE, OnFileImportImage)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace
{

// The owner-drawn menus' library lives from before the application object runs to exit.
struct PaintedMenuStart
{
    PaintedMenuStart()
    {
        InitPaintedMenuLibrary();
        atexit(ExitPaintedMenuLibrary);
    }
} s_paintedMenuStart;

const int kFrench = 1036;
const int kRecentFiles = 4;

struct PaperOfFormat
{
    short size;     // DMPAPER_..., 256 for a size of its own
    short length;   // tenths of a millimetre, the long side in portrait; 0 for a named size
    short width;
};

// A4, Letter, A3, A2, A1, A0.
const PaperOfFormat kPapers[] = {
    {DMPAPER_A4, 0, 0},    {DMPAPER_LETTER, 0, 0}, {DMPAPER_A3, 0, 0},
    {DMPAPER_A2, 0, 0},    {DMPAPER_USER, 8410, 5940}, {DMPAPER_USER, 11890, 8410},
};

// The first entry shows every file the program opens at once.
const LPCWSTR kOpenFilterFrench =
    L"Fichiers Image et Vitrolan|*.ms2;*.jpg;*.png;*.webp;*.tif|"
    L"Fichiers Vitrolan (*.ms2)|*.ms2|Fichiers JPEG (*.JPG)|*.JPG|Fichiers PNG (*.PNG)|*.PNG|"
    L"Fichiers WEBP (*.WEBP)|*.WEBP|Fichiers TIFF (*.TIF)|*.TIF|"
    L"Tous les fichiers (*.*)|*.*||";
const LPCWSTR kOpenFilterOther =
    L"Image and Vitrolan Files|*.ms2;*.jpg;*.png;*.webp;*.tif|"
    L"Vitrolan Files (*.ms2)|*.ms2|JPEG Files (*.JPG)|*.JPG|PNG Files (*.PNG)|*.PNG|"
    L"WEBP Files (*.WEBP)|*.WEBP|TIFF Files (*.TIF)|*.TIF|All files (*.*)|*.*||";
const LPCWSTR kImportFilterFrench =
    L"Fichiers Image|*.jpg;*.png;*.webp;*.tif|"
    L"Fichiers JPEG (*.JPG)|*.JPG|Fichiers PNG (*.PNG)|*.PNG|Fichiers WEBP (*.WEBP)|*.WEBP|"
    L"Fichiers TIFF (*.TIF)|*.TIF|Tous les fichiers (*.*)|*.*||";
const LPCWSTR kImportFilterOther =
    L"Image Files|*.jpg;*.png;*.webp;*.tif|"
    L"JPEG Files (*.JPG)|*.JPG|PNG Files (*.PNG)|*.PNG|WEBP Files (*.WEBP)|*.WEBP|"
    L"TIFF Files (*.TIF)|*.TIF|All files (*.*)|*.*||";

}   // namespace

CVitrolanApp::CVitrolanApp() : m_bStarting(FALSE), m_nPaperAfterStart(-1) {}

BOOL CVitrolanApp::InitInstance()
{
    AfxEnableControlContainer();
    SetRegistryKey(IDS_REGISTRY_KEY);
    LoadStdProfileSettings(kRecentFiles);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVitrolanDoc),
                                          RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CVitrolanView)));
    // Before the document exists: its constructor already reaches the printer.
    InstallShellHooks();

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    // The main window shows maximised from its first showing, however the program was
    // started; the frame is made at its restored size. Showing it first at another size
    // would lay out and paint it twice before the user can use it.
    m_nCmdShow = SW_SHOWMAXIMIZED;
    m_bStarting = TRUE;
    const BOOL bProcessed = ProcessShellCommand(cmdInfo);
    m_bStarting = FALSE;
    if (!bProcessed || m_pMainWnd == NULL)
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();
    if (m_nPaperAfterStart >= 0)
        ApplyPrinterPaperSize(m_nPaperAfterStart, NULL);
    m_nPaperAfterStart = -1;
    return TRUE;
}

void CVitrolanApp::FillDevModeForFormat(DEVMODEW& devMode, int nFormat)
{
    devMode.dmFields = 0;
    if (nFormat >= 0 && nFormat < (int)(sizeof(kPapers) / sizeof(kPapers[0])))
    {
        const PaperOfFormat& paper = kPapers[nFormat];
        devMode.dmPaperSize = paper.size;
        if (paper.length == 0)
        {
            devMode.dmFields = DM_PAPERSIZE;
        }
        else
        {
            // In portrait the length is the long side.
            devMode.dmPaperLength = paper.length;
            devMode.dmPaperWidth = paper.width;
            devMode.dmFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
        }
    }
    // Named so that the driver applies it: plans are always laid out upright.
    devMode.dmOrientation = DMORIENT_PORTRAIT;
    devMode.dmFields |= DM_ORIENTATION;
}

void CVitrolanApp::SetPrinterPaperSize(int nFormat, CDC* pDC)
{
    if (m_bStarting && m_pMainWnd == NULL && pDC == NULL)
    {
        m_nPaperAfterStart = nFormat;
        return;
    }
    // A later choice wins over the one waiting.
    m_nPaperAfterStart = -1;
    ApplyPrinterPaperSize(nFormat, pDC);
}

void CVitrolanApp::ApplyPrinterPaperSize(int nFormat, CDC* pDC)
{
    PRINTDLGW pd = {};
    pd.lStructSize = sizeof(pd);
    if (!GetPrinterDeviceDefaults(&pd) || pd.hDevMode == NULL || pd.hDevNames == NULL)
        return;
    DEVMODEW* pDevMode = (DEVMODEW*)GlobalLock(pd.hDevMode);
    if (pDevMode == NULL)
        return;
    FillDevModeForFormat(*pDevMode, nFormat);
    DEVNAMES* pDevNames = (DEVNAMES*)GlobalLock(pd.hDevNames);
    if (pDevNames != NULL)
    {
        LPWSTR lpszDevice = (LPWSTR)pDevNames + pDevNames->wDeviceOffset;
        HANDLE hPrinter = NULL;
        if (OpenPrinterW(lpszDevice, &hPrinter, NULL) && hPrinter != NULL)
        {
            DocumentPropertiesW(NULL, hPrinter, lpszDevice, pDevMode, pDevMode,
                                DM_IN_BUFFER | DM_OUT_BUFFER);
            ClosePrinter(hPrinter);
        }
        GlobalUnlock(pd.hDevNames);
    }
    if (pDC != NULL && pDC->GetSafeHdc() != NULL)
        ResetDCW(pDC->GetSafeHdc(), pDevMode);
    GlobalUnlock(pd.hDevMode);
}

void CVitrolanApp::GetOpenDialogTexts(BOOL bImport, int nLanguageId, CString& strFilter,
                                      CString& strTitle)
{
    const BOOL bFrench = nLanguageId == kFrench;
    if (bImport)
    {
        strFilter = bFrench ? kImportFilterFrench : kImportFilterOther;
        strTitle = bFrench ? L"Importer fichier image" : L"Import image file";
    }
    else
    {
        strFilter = bFrench ? kOpenFilterFrench : kOpenFilterOther;
        strTitle = bFrench ? L"Ouvrir fichier vitrolan" : L"Open mosaic file";
    }
}

void CVitrolanApp::OpenChosenFile(BOOL bImport)
{
    CString strFilter;
    CString strTitle;
    GetOpenDialogTexts(bImport, ReadLanguageId(), strFilter, strTitle);
    CFileDialog dialog(TRUE, NULL, L"", 0, strFilter, NULL);
    dialog.m_ofn.Flags |= OFN_FILEMUSTEXIST;
    dialog.m_ofn.lpstrTitle = strTitle;
    if (dialog.DoModal() != IDOK)
        return;
    OpenDocumentFile(dialog.GetPathName());
}

void CVitrolanApp::OnFileOpen()
{
    OpenChosenFile(FALSE);
}

void CVitrolanApp::OnFileImportImage()
{
    OpenChosenFile(TRUE);
}

void CVitrolanApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

void CVitrolanApp::OnAppExit()
{
    CFrameWnd* pFrame = (CFrameWnd*)m_pMainWnd;
    CVitrolanDoc* pDoc = pFrame != NULL ? (CVitrolanDoc*)pFrame->GetActiveDocument() : NULL;
    if (pDoc != NULL && pDoc->m_loaded)
        pDoc->CommitPendingEdit();
    CWinApp::OnAppExit();
}
