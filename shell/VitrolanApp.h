// CVitrolanApp: the application object. Its start-up sets the profile's registry branch,
// the recent-file list and the one document template, carries out the command line and
// shows the main window; its commands open documents and pictures, show the About box and
// end the program. It also sets the application printer's paper for the plan pages.
#pragma once

#include <windows.h>

#include "AfxApp.h"
#include "AfxString.h"

class CDC;

class CVitrolanApp : public CWinApp
{
public:
    CVitrolanApp();

    BOOL InitInstance() override;

    // The application printer's paper to the paper format (0 A4, 1 Letter, 2 A3, 3 A2,
    // 4 A1, 5 A0), in portrait; the device context, when given, takes it too. Nothing
    // without a printer. The document made at start-up, before the main window, has its
    // paper set once the window shows: asking the printer driver takes a while.
    void SetPrinterPaperSize(int nFormat, CDC* pDC = NULL);
    // The paper fields of a printer's settings for a paper format.
    static void FillDevModeForFormat(DEVMODEW& devMode, int nFormat);

    // The filter and title of the Open (or Import image) dialog in the interface language.
    static void GetOpenDialogTexts(BOOL bImport, int nLanguageId, CString& strFilter,
                                   CString& strTitle);

    afx_msg void OnAppAbout();
    afx_msg void OnFileOpen();
    afx_msg void OnFileImportImage();
    afx_msg void OnAppExit();

protected:
    void ApplyPrinterPaperSize(int nFormat, CDC* pDC);

    BOOL m_bStarting;
    int m_nPaperAfterStart;   // -1: none waiting

    // The file dialog of Open and Import image; the chosen file is opened as a document.
    void OpenChosenFile(BOOL bImport);

    DECLARE_MESSAGE_MAP()
};
