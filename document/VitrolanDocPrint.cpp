// The laying plan and the colour chart: PDF files written by the view's pages into the
// program's "Plans" folders.
#include "VitrolanDoc.h"

#include "AfxException.h"
#include "AfxFile.h"
#include "DocPaths.h"
#include "LangText.h"
#include "Paving.h"
#include "Plaque.h"
#include "TextIds.h"

namespace
{

// Characters a file name may not hold become '_', and the hyphens go.
CString FileNamePart(const CString& strText)
{
    CString strName = strText;
    strName.Remove(L'-');
    static const WCHAR kForbidden[] = L"\\/:*?\"<>|";
    for (int i = 0; kForbidden[i] != 0; i++)
        strName.Replace(kForbidden[i], L'_');
    strName.Trim();
    return strName;
}


int ShowMessage(LPCTSTR lpszText)
{
    return CVitrolanDoc::s_uiHooks.pfnMessageBox != NULL
               ? CVitrolanDoc::s_uiHooks.pfnMessageBox(lpszText)
               : IDOK;
}

// The main window is disabled while the plan is made, and enabled again however it ends.
class CMainWindowDisabled
{
public:
    CMainWindowDisabled() : m_pWnd(AfxGetMainWnd())
    {
        if (m_pWnd != NULL)
            m_pWnd->EnableWindow(FALSE);
    }
    ~CMainWindowDisabled()
    {
        if (m_pWnd != NULL)
            m_pWnd->EnableWindow(TRUE);
    }

private:
    CWnd* m_pWnd;
};

}   // namespace

void CVitrolanDoc::ReportFileNotWritten(const CString& strPath, DWORD dwError)
{
    CFileException* pError = new CFileException(CFileException::OsErrorToException((LONG)dwError),
                                                (LONG)dwError, strPath);
    ReportSaveLoadException(strPath, pError, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
    pError->Delete();
}

CString CVitrolanDoc::ChartFileName(const CString& strPaletteFile, const CString& strPaletteName)
{
    CString strName = strPaletteFile;
    const int nPal = strName.Find(L".pal");
    if (nPal > 0)
        strName = strName.Left(nPal);
    strName = FileNamePart(strName);
    if (strName.IsEmpty())
        strName = FileNamePart(strPaletteName);
    if (strName.IsEmpty())
        strName = L"Palette";
    return strName;
}

BOOL CVitrolanDoc::WriteColourChart()
{
    if (s_uiHooks.pfnSetPrinterPaper != NULL)
        s_uiHooks.pfnSetPrinterPaper(format);
    const CString strFolder = m_programFolder + L"Plans\\ColorCharts\\";
    CString strPath;
    strPath.Format(L"%s%s.pdf", (LPCTSTR)strFolder,
                   (LPCTSTR)ChartFileName(palettefile, m_tilePalette.m_name));

    DWORD dwError = EnsureFolder(strFolder);
    if (dwError == NO_ERROR &&
        (s_uiHooks.pfnWritePaletteChart == NULL || !s_uiHooks.pfnWritePaletteChart(strPath)))
        dwError = ERROR_WRITE_FAULT;
    if (dwError == NO_ERROR)
        return TRUE;
    ReportFileNotWritten(strPath, dwError);
    return FALSE;
}

void CVitrolanDoc::ResetPlaquePages()
{
    POSITION pos = m_plaques.GetHeadPosition();
    while (pos != NULL)
    {
        CPlaque* pPlaque = (CPlaque*)m_plaques.GetNext(pos);
        pPlaque->m_firstPage = -1;
        pPlaque->m_lastPage = -1;
    }
}

BOOL CVitrolanDoc::PrepareForPrinting()
{
    CommitPendingEdit();
    ResetTools();
    if (!m_plaquesValid)
        BuildPlaques();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    SyncPaletteBars();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    if (s_uiHooks.pfnSetPrinterPaper != NULL)
        s_uiHooks.pfnSetPrinterPaper(format);
    return TRUE;
}

CString CVitrolanDoc::PlanFileName(const CString& strProgramFolder, const CString& strDocPath,
                                   const SYSTEMTIME& time)
{
    const CString strTitle = CutExtension(strDocPath.Mid(FileNameStart(strDocPath)));
    CString strPath;
    strPath.Format(L"%sPlans\\Plan_%s_%04d%02d%02d_%02d%02d%02d.pdf",
                   (LPCTSTR)strProgramFolder, (LPCTSTR)strTitle, time.wYear, time.wMonth,
                   time.wDay, time.wHour, time.wMinute, time.wSecond);
    return strPath;
}


void CVitrolanDoc::OnPrintGrids()
{
    CommitPendingEdit();
    ResetTools();
    if (!m_plaquesValid)
        BuildPlaques();
    SyncPaletteBars();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    if (s_uiHooks.pfnSetPrinterPaper != NULL)
        s_uiHooks.pfnSetPrinterPaper(format);

    if (m_pavingType == PavingTriangles && carplaquey % 2 != 0)
    {
        // A grid of triangles cannot be lowered to no row at all.
        if (carplaquey <= 1)
        {
            ShowMessage(GetLangText(TXT_MSG_TRIANGLE_PLATES_TOO_LOW));
            return;
        }
        ShowMessage(GetLangText(TXT_MSG_TRIANGLES_EVEN_ROWS));
        carplaquey--;
    }

    PlanOptions options = {m_plaqueCount, 1, m_plaqueCount, regles, responsive, imprVignettes};
    ShowMessage(GetLangText(TXT_MSG_PLAN_AS_PDF));
    options.lastPlate = 1;
    const INT_PTR nResult =
        s_uiHooks.pfnAskPlanOptions != NULL ? s_uiHooks.pfnAskPlanOptions(&options) : IDOK;
    if (nResult == IDCANCEL)
        return;
    if (nResult == IDOK)
    {
        m_printFirst = options.firstPlate;
        m_printLast = options.lastPlate;
        regles = options.rulers;
        responsive = options.onePerPage;
        imprVignettes = options.thumbnails;
        m_dirty = 1;
    }

    CMainWindowDisabled disabled;
    BOOL bNoSymbol = FALSE;
    if (impression == 1 || impression == 2)
        for (int i = 0; i < m_colourCount && i < C2Palette::ColourCount; i++)
            bNoSymbol = bNoSymbol || m_imagePalette.m_symbols[i].IsEmpty();
    if ((m_pavingType == PavingScales1 || m_pavingType == PavingScales2) && impression == 3)
    {
        ShowMessage(GetLangText(TXT_MSG_SCALES_NEED_LABELS));
        return;
    }
    if (bNoSymbol)
    {
        ShowMessage(GetLangText(TXT_MSG_COLOUR_WITHOUT_SYMBOL));
        return;
    }

    SYSTEMTIME time;
    GetLocalTime(&time);
    const CString strPath = PlanFileName(m_programFolder, m_path, time);
    m_plaquesValid = 0;
    BuildPlaques();
    // The plan's picture page and thumbnails read the pictures this writes; one that cannot
    // be written has been reported, and the pages go on without it.
    MakeThumbnail();

    DWORD dwError = EnsureFolder(m_programFolder + L"Plans\\");
    const PlanResult result = dwError != NO_ERROR || s_uiHooks.pfnWriteLayingPlan == NULL
                                  ? PlanNotWritten
                                  : s_uiHooks.pfnWriteLayingPlan(strPath);
    if (result == PlanTilesDoNotFit)
        ShowMessage(GetLangText(TXT_MSG_PLAN_TILES_DO_NOT_FIT));
    else if (result == PlanNotWritten)
        ReportFileNotWritten(strPath, dwError != NO_ERROR ? dwError : ERROR_WRITE_FAULT);
}
