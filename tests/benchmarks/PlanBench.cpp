// The laying-plan command on a 200 x 200 mosaic in plates of 20 x 20 tiles, from the command
// to the finished file: its picture, thumbnail and three pages. The questions are answered
// at once and the file is not shown, so what is measured is the program's own work. The
// view is a real, hidden window: run with a display (Xvfb will do).
#include "BenchViewWindow.h"

#include "ShellOpen.h"

namespace
{

int AnswerOk(LPCTSTR)
{
    return IDOK;
}

INT_PTR AcceptOptions(PlanOptions*)
{
    return IDOK;
}

BOOL WINAPI ShowNothing(SHELLEXECUTEINFOW*)
{
    return TRUE;
}

CVitrolanView* g_pPlanView = NULL;

PlanResult WriteWithBenchView(LPCTSTR lpszPath)
{
    return g_pPlanView->WriteLayingPlan(lpszPath);
}

void DeleteFolder(const CString& strFolder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + L"*", &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const CString strName = data.cFileName;
            if (strName == L"." || strName == L"..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolder(strFolder + strName + L"\\");
            else
                DeleteFileW(strFolder + strName);
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryW(strFolder);
}

// A program folder of its own under the temporary folder, with the shipped logo; removed
// with all it holds.
class CBenchProgramFolder
{
public:
    CBenchProgramFolder()
    {
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strFolder.Format(L"%sMosaicPlanBench_%lu\\", szTemp, GetCurrentProcessId());
        CreateDirectoryW(m_strFolder, NULL);
        CopyFileW(BenchmarkDataFolder() + L"LogoMosaic.jpg", m_strFolder + L"LogoMosaic.jpg",
                  FALSE);
    }
    ~CBenchProgramFolder()
    {
        DeleteFolder(m_strFolder);
    }
    const CString& Folder() const { return m_strFolder; }

private:
    CString m_strFolder;
};

void BM_PlanCommand(benchmark::State& state)
{
    const int type = (int)state.range(0);
    CBenchProgramFolder folder;
    CBenchViewWindow bench(type, 4, BenchMosaic{200, 200, 64, false}, WS_POPUP,
                           [&](CVitrolanDoc& d) {
                               d.m_programFolder = folder.Folder();
                               d.m_path = folder.Folder() + L"Bench.ms2";
                               d.carplaquex = d.carplaquey = 20;
                               d.format = 0;
                               d.unites = 0;
                               d.impression = 0;
                               d.regles = 1;
                               d.responsive = 0;
                               d.imprVignettes = 1;
                               d.m_pitch = d.taillecar + d.intercar;
                               d.m_plaquesValid = 0;
                           });
    if (!bench.HasWindow())
    {
        state.SkipWithError("the view needs a display (DISPLAY)");
        return;
    }
    const DocUiHooks savedHooks = CVitrolanDoc::s_uiHooks;
    CVitrolanDoc::s_uiHooks.pfnMessageBox = AnswerOk;
    CVitrolanDoc::s_uiHooks.pfnAskPlanOptions = AcceptOptions;
    CVitrolanDoc::s_uiHooks.pfnSetPrinterPaper = NULL;
    // The bench's view has no frame to be found as the active view by.
    g_pPlanView = &bench.View();
    CVitrolanDoc::s_uiHooks.pfnWriteLayingPlan = WriteWithBenchView;
    const ShellExecuteExFn pfnSavedExecute = SetShellExecuteEx(ShowNothing);

    CVitrolanDoc& doc = *bench.View().GetDocument();
    for (auto _ : state)
        doc.OnPrintGrids();

    const CString strPlans = folder.Folder() + L"Plans\\";
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strPlans + L"Plan_*.pdf", &data);
    if (hFind == INVALID_HANDLE_VALUE)
        state.SkipWithError("no plan was written");
    else
        FindClose(hFind);
    state.SetLabel(kPatternNames[type]);

    SetShellExecuteEx(pfnSavedExecute);
    CVitrolanDoc::s_uiHooks = savedHooks;
    g_pPlanView = NULL;
}

}   // namespace

BENCHMARK(BM_PlanCommand)->Arg(PavingSquares)->Arg(PavingHexagons)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
