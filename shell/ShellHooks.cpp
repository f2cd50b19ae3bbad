#include "ShellHooks.h"

#include "AfxApp.h"
#include "ConfigurationValues.h"
#include "DialPalette.h"
#include "DlgMessageBox.h"
#include "Export.h"
#include "FTexte.h"
#include "Fusion.h"
#include "GridCtrl.h"
#include "InfoMos.h"
#include "LC.h"
#include "LangText.h"
#include "MainFrm.h"
#include "MosConfig.h"
#include "Melange.h"
#include "Melange2.h"
#include "NewMos.h"
#include "PdfSample.h"
#include "PrintPlaques.h"
#include "ProgOpt.h"
#include "SelCouleurs.h"
#include "TexteDlg.h"
#include "TextIds.h"
#include "VitrolanApp.h"
#include "ViewFrameHooks.h"
#include "ViewHooks.h"
#include "VitrolanDoc.h"

namespace
{

// The mix confirmation's answers as the document counts them.
const int kKeepMix = 1;
const int kUndoMix = 2;

CMainFrame* MainFrame()
{
    return CMainFrame::GetMainFrame();
}

int ConfirmMix()
{
    CMelange2 dialog;
    return dialog.DoModal() == IDCANCEL ? kUndoMix : kKeepMix;
}

int ShowMessage(LPCTSTR lpszText)
{
    CDlgMessageBox dialog;
    dialog.m_message = lpszText;
    return (int)dialog.DoModal();
}

INT_PTR AskPlanOptions(PlanOptions* pOptions)
{
    CPrintPlaques dialog(AfxGetMainWnd());
    dialog.m_plateCount = pOptions->plateCount;
    dialog.m_firstPlate = pOptions->firstPlate;
    dialog.m_lastPlate = pOptions->lastPlate;
    dialog.m_rulers = pOptions->rulers;
    dialog.m_onePerPage = pOptions->onePerPage;
    dialog.m_thumbnails = pOptions->thumbnails;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
        *pOptions = {dialog.m_plateCount, dialog.m_firstPlate, dialog.m_lastPlate,
                     dialog.m_rulers,     dialog.m_onePerPage, dialog.m_thumbnails};
    return nResult;
}

INT_PTR AskGridSize(int* pWidth, int* pHeight)
{
    CNewMos dialog;
    dialog.m_width = *pWidth;
    dialog.m_height = *pHeight;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
    {
        *pWidth = dialog.m_width;
        *pHeight = dialog.m_height;
    }
    return nResult;
}

INT_PTR AskResize(float* pSize, int* pDimension, int nUnits, LPCTSTR lpszUnitText)
{
    CFusion dialog(AfxGetMainWnd());
    dialog.m_size = *pSize;
    dialog.m_dimension = *pDimension;
    dialog.m_units = nUnits;
    dialog.m_unitText = lpszUnitText;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
    {
        *pSize = dialog.m_size;
        *pDimension = dialog.m_dimension;
    }
    return nResult;
}

INT_PTR AskRowsColumns(LPCTSTR lpszHeading, GridSides* pSides)
{
    CLC dialog(AfxGetMainWnd());
    dialog.m_heading = lpszHeading;
    int* checks[GridSides::Count] = {&dialog.m_top, &dialog.m_bottom, &dialog.m_left,
                                     &dialog.m_right};
    int* counts[GridSides::Count] = {&dialog.m_countTop, &dialog.m_countBottom,
                                     &dialog.m_countLeft, &dialog.m_countRight};
    for (int side = 0; side < GridSides::Count; side++)
    {
        *checks[side] = pSides->checked[side];
        *counts[side] = pSides->counts[side];
    }
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
        for (int side = 0; side < GridSides::Count; side++)
        {
            pSides->checked[side] = *checks[side];
            pSides->counts[side] = *counts[side];
        }
    return nResult;
}

INT_PTR AskExportPicture(CString* pName, int* pType)
{
    CExport dialog(AfxGetMainWnd());
    dialog.m_fileName = *pName;
    dialog.m_fileType = *pType;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
    {
        *pName = dialog.m_fileName;
        *pType = dialog.m_fileType;
    }
    return nResult;
}

INT_PTR AskStampText(CString* pText)
{
    CTexteDlg dialog(AfxGetMainWnd());
    dialog.m_text = *pText;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
        *pText = dialog.m_text;
    return nResult;
}

void ShowInformation(CVitrolanDoc* pDoc, const InfoFigures& figures)
{
    CGridCtrl grid;
    CInfoMos::FillCountGrid(grid, *pDoc);
    CInfoMos dialog(AfxGetMainWnd());
    dialog.m_paletteName = figures.paletteName;
    dialog.m_colourCount = figures.colourCount;
    dialog.m_cols = figures.cols;
    dialog.m_rows = figures.rows;
    dialog.m_plateCount = figures.plateCount;
    dialog.m_units = figures.units;
    dialog.m_width = figures.width;
    dialog.m_height = figures.height;
    dialog.m_area = figures.area;
    dialog.m_unitText = figures.unitText;
    dialog.m_areaUnitText = figures.areaUnitText;
    dialog.m_pGrid = &grid;
    dialog.m_caption.Format(L"%s %s", (LPCTSTR)GetLangText(TXT_INFORMATION),
                            (LPCTSTR)pDoc->GetTitle());
    dialog.DoModal();
}

INT_PTR AskSummaryName(CString* pName)
{
    CFTexte dialog(AfxGetMainWnd());
    dialog.m_fileName = *pName;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
        *pName = dialog.m_fileName;
    return nResult;
}

void RefreshImageBar()
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->m_imageBar.Refresh();
}

void PressImageBarButton(int nButton)
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->PressImageBarButton(nButton);
}

void ResetImageBar()
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->ResetImageBar();
}

void RenumberImageBar(const int* newColour)
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->RenumberImageBar(newColour);
}

void RefreshTileBar()
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->m_tileBar.Refresh();
}

void ShowPaletteBars()
{
    if (CMainFrame* pFrame = MainFrame())
        pFrame->ShowPaletteOfMode();
}

void ShowTilePaletteBar()
{
    CMainFrame* pFrame = MainFrame();
    if (pFrame == NULL)
        return;
    pFrame->ShowTilePalette();
    pFrame->m_tileBar.m_nPage = 0;
    pFrame->m_tileBar.ClearPressed();
    pFrame->m_tileBar.Invalidate();
}

void ShowTilePaletteDialog(CVitrolanDoc* pDoc)
{
    CDialPalette dialog(AfxGetMainWnd());
    dialog.m_pDoc = pDoc;
    dialog.m_pGrid = pDoc->m_paletteGrid;
    dialog.m_caption.Format(L"%s %s", (LPCTSTR)GetLangText(TXT_PALETTE),
                            (LPCTSTR)pDoc->m_tilePalette.m_name);
    dialog.DoModal();
}

INT_PTR AskConfiguration(ConfigurationValues* pValues)
{
    CMosConfig dialog(AfxGetMainWnd());
    dialog.SetValues(*pValues);
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
        dialog.GetValues(*pValues);
    return nResult;
}

INT_PTR AskPreferences(int* pUnits, int* pFormat)
{
    CProgOpt dialog(AfxGetMainWnd());
    dialog.m_units = *pUnits;
    dialog.m_paper = *pFormat;
    const INT_PTR nResult = dialog.DoModal();
    if (nResult == IDOK)
    {
        *pUnits = dialog.m_units;
        *pFormat = dialog.m_paper;
    }
    return nResult;
}

void SetPrinterPaper(int nFormat)
{
    if (CVitrolanApp* pApp = dynamic_cast<CVitrolanApp*>(AfxGetApp()))
        pApp->SetPrinterPaperSize(nFormat);
}

int PaletteBarMode()
{
    CMainFrame* pFrame = MainFrame();
    return pFrame != NULL ? pFrame->m_paletteBarMode : CMainFrame::PaletteNone;
}

CPaletteBarState* ImageBar()
{
    CMainFrame* pFrame = MainFrame();
    return pFrame != NULL ? &pFrame->m_imageBar : NULL;
}

CPaletteBarState* TileBar()
{
    CMainFrame* pFrame = MainFrame();
    return pFrame != NULL ? &pFrame->m_tileBar : NULL;
}

CVitrolanDoc* ActiveMosaic()
{
    CMainFrame* pFrame = MainFrame();
    return pFrame != NULL ? dynamic_cast<CVitrolanDoc*>(pFrame->GetActiveDocument()) : NULL;
}

// The mix fill's questions, on the document of the main frame.
BOOL SelectColours()
{
    CVitrolanDoc* pDoc = ActiveMosaic();
    if (pDoc == NULL)
        return FALSE;
    CGridCtrl grid;
    CSelCouleurs dialog(MainFrame());
    dialog.m_pGrid = &grid;
    dialog.FillGrid(*pDoc);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    dialog.ApplyChoice(*pDoc);
    return TRUE;
}

BOOL RunMixDialog()
{
    CVitrolanDoc* pDoc = ActiveMosaic();
    if (pDoc == NULL)
        return FALSE;
    CGridCtrl grid;
    CMelange dialog(MainFrame());
    dialog.m_pGrid = &grid;
    dialog.m_pDoc = pDoc;
    dialog.FillGrid();
    return dialog.DoModal() == IDOK;
}

}   // namespace

void InstallShellHooks()
{
    DocUiHooks& hooks = CVitrolanDoc::s_uiHooks;
    hooks.pfnConfirmMix = ConfirmMix;
    hooks.pfnRefreshImageBar = RefreshImageBar;
    hooks.pfnPressImageBarButton = PressImageBarButton;
    hooks.pfnMessageBox = ShowMessage;
    hooks.pfnAskPlanOptions = AskPlanOptions;
    hooks.pfnAskGridSize = AskGridSize;
    hooks.pfnResetImageBar = ResetImageBar;
    hooks.pfnRenumberImageBar = RenumberImageBar;
    hooks.pfnRefreshTileBar = RefreshTileBar;
    hooks.pfnShowPaletteBars = ShowPaletteBars;
    hooks.pfnShowTilePaletteDialog = ShowTilePaletteDialog;
    hooks.pfnShowTilePaletteBar = ShowTilePaletteBar;
    hooks.pfnSetPrinterPaper = SetPrinterPaper;
    hooks.pfnAskResize = AskResize;
    hooks.pfnAskRowsColumns = AskRowsColumns;
    hooks.pfnAskStampText = AskStampText;
    hooks.pfnAskExportPicture = AskExportPicture;
    hooks.pfnShowInformation = ShowInformation;
    hooks.pfnAskSummaryName = AskSummaryName;
    hooks.pfnAskConfiguration = AskConfiguration;
    hooks.pfnAskPreferences = AskPreferences;
    // The sample PDF page of the developers' command.
    hooks.pfnWritePdfSample = WritePdfSample;
    hooks.pfnSelectColours = SelectColours;
    hooks.pfnRunMixDialog = RunMixDialog;
    // The selection shapes and the scroll origin belong to the view.
    InstallViewHooks();
    // The view's tools take their colour from the frame's palette bars.
    ViewFrameHooks frameHooks;
    frameHooks.pfnPaletteBarMode = PaletteBarMode;
    frameHooks.pfnImageBar = ImageBar;
    frameHooks.pfnTileBar = TileBar;
    InstallViewFrameHooks(frameHooks);
}
