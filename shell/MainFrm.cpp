#include "MainFrm.h"

#include "AfxApp.h"
#include "AfxDoc.h"
#include "AfxDocTempl.h"
#include "AfxGdi.h"
#include "AfxRes.h"
#include "DocSettings.h"
#include "LangText.h"
#include "ShellOpen.h"
#include "TextIds.h"
#include "ViewFrameHooks.h"
#include "VitrolanDoc.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CPaintedFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CPaintedFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_PALETTE_SHOW_TILES, OnPaletteTiles)
    ON_UPDATE_COMMAND_UI(ID_PALETTE_SHOW_TILES, OnUpdatePaletteTiles)
    ON_COMMAND(ID_PALETTE_SHOW_IMAGE, OnPaletteImage)
    ON_UPDATE_COMMAND_UI(ID_PALETTE_SHOW_IMAGE, OnUpdatePaletteImage)
    ON_COMMAND(ID_PALETTE_SHOW_NONE, OnPaletteNone)
    ON_UPDATE_COMMAND_UI(ID_PALETTE_SHOW_NONE, OnUpdatePaletteNone)
    ON_COMMAND(ID_PALETTE_OVERLAY_MARKS, OnOverlayMarks)
    ON_UPDATE_COMMAND_UI(ID_PALETTE_OVERLAY_MARKS, OnUpdateOverlayMarks)
    ON_COMMAND_RANGE(ID_IMAGE_BUTTON_FIRST, ID_IMAGE_BUTTON_LAST, OnImagePaletteButton)
    ON_COMMAND_RANGE(ID_TILE_BUTTON_FIRST, ID_TILE_BUTTON_LAST, OnTilePaletteButton)
    ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
    ON_COMMAND_RANGE(ID_LANGUAGE_FRENCH, ID_LANGUAGE_RUSSIAN, OnLanguage)
END_MESSAGE_MAP()

namespace
{

const LPCWSTR kPaletteModeEntry = L"paletteon";
const int kPaletteBarHeight = 32;
const int kToolImageSize = 32;
const COLORREF kToolImageMask = RGB(255, 0, 255);
const int kFrench = 1036;
// The main window's size when it is not maximised.
const int kRestoredWidth = 520;
const int kRestoredHeight = 460;

// Positions in the menu bar and in its popups.
const int kEditPopup = 1;
const int kPalettePopup = 3;
const int kMosaicPopup = 5;
const int kLanguagePopup = 6;

struct LanguageCommand
{
    UINT nID;
    int nLanguageId;
};

// The Arabic item's value has always been 0x180; its texts come from the English file.
const LanguageCommand kLanguages[] = {
    {130, 1036}, {131, 1033}, {132, 1040}, {134, 1031}, {135, 1043}, {136, 1046},
    {137, 1030}, {138, 1035}, {139, 2068}, {140, 1053}, {141, 1045}, {142, 1032},
    {143, 384},  {144, 1081}, {145, 2052}, {146, 1042}, {147, 1054}, {148, 1041},
    {149, 1034}, {150, 2058}, {151, 1037}, {152, 1049},
};

struct TextOfCommand
{
    UINT nTextId;
    UINT nID;
};

const TextOfCommand kCommandTexts[] = {
    {30, ID_FILE_NEW}, {31, ID_FILE_OPEN}, {42, ID_FILE_IMPORT_IMAGE}, {40, ID_FILE_SAVE},
    {41, ID_FILE_SAVE_AS}, {34, ID_FILE_EXPORT_MOSAIC}, {35, ID_FILE_PRINT},
    {36, ID_FILE_PRINT_PREVIEW}, {37, ID_FILE_PRINT_SETUP}, {38, ID_FILE_PREFERENCES},
    {39, ID_APP_EXIT},
    {50, ID_UNDO}, {51, ID_EDIT_COPY}, {52, ID_EDIT_PASTE}, {54, ID_EDIT_MIRROR_HORIZONTAL},
    {55, ID_EDIT_MIRROR_VERTICAL}, {57, ID_EDIT_ADD_ROWS_COLUMNS},
    {58, ID_EDIT_DELETE_ROWS_COLUMNS},
    {70, ID_PROCESS_RESIZE}, {71, ID_PROCESS_REDUCE_COLOURS}, {72, ID_PROCESS_FILTER_CELLS},
    {73, ID_PROCESS_GENERATE_TRIANGLES},
    {81, ID_PALETTE_SHOW_TILES}, {82, ID_PALETTE_SHOW_IMAGE}, {83, ID_PALETTE_SHOW_NONE},
    {84, ID_PALETTE_OVERLAY_MARKS}, {85, ID_PALETTE_IMPORT}, {86, ID_PALETTE_TEXTURED_TILES},
    {170, ID_PALETTE_OPEN_FILE}, {171, ID_PALETTE_SAVE_FILE},
    {90, ID_PAVING_SQUARES}, {91, ID_PAVING_DIAMONDS}, {97, ID_PAVING_CROSSED_JOINTS},
    {92, ID_PAVING_TRIANGLES}, {93, ID_PAVING_HEXAGONS}, {94, ID_PAVING_CIRCLES},
    {95, ID_PAVING_SCALES_1}, {96, ID_PAVING_SCALES_2},
    {110, ID_MOSAIC_CONFIGURATION}, {111, ID_MOSAIC_INFORMATION}, {113, ID_VIEW_COLOURS},
    {114, ID_VIEW_SYMBOLS}, {115, ID_VIEW_COLOURS_SYMBOLS}, {117, ID_MOSAIC_LIBRARY},
    {160, ID_HELP_FINDER}, {161, ID_HELP_WEB_SITE}, {162, ID_APP_ABOUT},
    {163, ID_HELP_USERS_FORUM}, {164, ID_HELP_COMMANDS},
};

// The popup titles of the menu bar, by position.
const UINT kBarTexts[] = {10, 11, 12, 13, 15, 16, 17, 18};

// Commands not offered in this program.
const UINT kRemovedCommands[] = {ID_MOSAIC_EXPORT_TABLE, ID_LANGUAGE_RUSSIAN,
                                 ID_MOSAIC_EXPORT_PALETTE};

// What a palette bar shows, from the mosaic of the frame's active view.
BOOL FillBarData(CMainFrame* pFrame, int nMode, PaletteBarData& data)
{
    CDocument* pDocument = pFrame->GetActiveDocument();
    CVitrolanDoc* pDoc = dynamic_cast<CVitrolanDoc*>(pDocument);
    if (pDoc == NULL)
        return FALSE;
    data.paletteMode = nMode;
    data.pTilePalette = &pDoc->m_tilePalette;
    data.tileColourCount = pDoc->m_tileColourCount;
    data.pImagePalette = &pDoc->m_imagePalette;
    data.imageColourCount = pDoc->m_colourCount;
    data.labelMode = pDoc->impression;
    data.superpose = pDoc->superpose;
    memcpy(data.colourTable, pDoc->m_colourTable, sizeof(data.colourTable));
    if (nMode == PaletteBarData::ModeTilePalette && pDoc->TileColoursInUse() == 0)
        data.emptyText = pDoc->NoTilePaletteText();
    return TRUE;
}

BOOL FillImageBarData(void* context, PaletteBarData& data)
{
    return FillBarData((CMainFrame*)context, PaletteBarData::ModeImagePalette, data);
}

BOOL FillTileBarData(void* context, PaletteBarData& data)
{
    return FillBarData((CMainFrame*)context, PaletteBarData::ModeTilePalette, data);
}

}   // namespace

CMainFrame* CMainFrame::s_pMainFrame = NULL;

CMainFrame* CMainFrame::GetMainFrame()
{
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return pFrame != NULL ? pFrame : s_pMainFrame;
}

CMainFrame::CMainFrame()
{
    m_paletteBarMode =
        DocGetProfileInt(CVitrolanDoc::GetSettingsSection(), kPaletteModeEntry, PaletteTiles);
    m_imageBar.SetDataSource(FillImageBarData, this);
    m_tileBar.SetDataSource(FillTileBarData, this);
}

CMainFrame::~CMainFrame()
{
    DocWriteProfileInt(CVitrolanDoc::GetSettingsSection(), kPaletteModeEntry, m_paletteBarMode);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // Made at its restored size, at the place the system chooses: it is shown maximised.
    cs.cx = kRestoredWidth;
    cs.cy = kRestoredHeight;
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    // The view draws the sunken edge: taking the frame's off only once the view exists would
    // compute the frame's borders and menu bar once more.
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

void CMainFrame::ActivateFrame(int nCmdShow)
{
    // The caption names the mosaic from the first showing on, not only once it is shown.
    const BOOL bFirst = !IsWindowVisible();
    if (bFirst)
        OnUpdateFrameTitle(TRUE);
    m_bFirstShowing = bFirst;
    m_sizeFirstShown = CSize(-1, -1);
    CPaintedFrameWnd::ActivateFrame(nCmdShow);
    m_bFirstShowing = FALSE;
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    // Showing the hidden frame maximised tells it its new size twice: it is laid out once.
    if (m_bFirstShowing && nType == SIZE_MAXIMIZED)
    {
        if (m_sizeFirstShown == CSize(cx, cy))
            return;
        m_sizeFirstShown = CSize(cx, cy);
    }
    CPaintedFrameWnd::OnSize(nType, cx, cy);
}

CVitrolanDoc* CMainFrame::GetMosaic()
{
    return dynamic_cast<CVitrolanDoc*>(GetActiveDocument());
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    // The document string names no window title: the caption shows the program's name after
    // the document's.
    if (GetTitle().IsEmpty())
        SetTitle(AfxGetAppName());
    // The menu bar was loaded with the window.
    m_systemMenu.LoadMenu(::GetSystemMenu(m_hWnd, FALSE));
    EnableDocking(CBRS_ALIGN_ANY);
    // Each bar would lay the frame out as it comes: it is laid out once they are all there.
    m_bInRecalcLayout = TRUE;
    const BOOL bBars =
        CreatePaletteBar(m_imageBar, ID_IMAGE_BAR, IDB_IMAGE_PALETTE_BAR, ID_IMAGE_BUTTON_FIRST) &&
        CreatePaletteBar(m_tileBar, ID_TILE_BAR, IDB_TILE_PALETTE_BAR, ID_TILE_BUTTON_FIRST) &&
        CreateMainToolBar();
    m_bInRecalcLayout = FALSE;
    if (!bBars)
        return -1;
    RecalcLayout();
    TranslateMenus();
    for (UINT nID : kRemovedCommands)
        m_menuBar.RemoveMenu(nID, MF_BYCOMMAND);
    s_pMainFrame = this;
    return 0;
}

void CMainFrame::OnDestroy()
{
    if (s_pMainFrame == this)
        s_pMainFrame = NULL;
    // The menus and their item data go with the frame, not with the window.
    ::SetMenu(m_hWnd, NULL);
    m_menuBar.DestroyMenu();
    m_systemMenu.DestroyMenu();
    ::GetSystemMenu(m_hWnd, TRUE);
    CPaintedFrameWnd::OnDestroy();
}

BOOL CMainFrame::CreatePaletteBar(CPaletteBar& bar, UINT nID, UINT nBitmap, UINT nFirstButton)
{
    bar.m_nPage = 0;
    bar.ClearPressed();
    if (!bar.Create(this, WS_CHILD | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP | CBRS_TOOLTIPS |
                              CBRS_SIZE_FIXED,
                    nID) ||
        !bar.LoadBitmap(nBitmap))
        return FALSE;
    UINT ids[CPaletteBar::ButtonCount];
    for (int i = 0; i < CPaletteBar::ButtonCount; i++)
        ids[i] = nFirstButton + (UINT)i;
    if (!bar.SetButtons(ids, CPaletteBar::ButtonCount))
        return FALSE;
    bar.EnableDocking(0);
    bar.SetColumns(CPaletteBar::ButtonCount);
    bar.SetHeight(kPaletteBarHeight);
    return TRUE;
}

BOOL CMainFrame::CreateMainToolBar()
{
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                   CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return FALSE;
    m_wndToolBar.SetWindowText(GetLangText(TXT_TOOLBAR));
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    struct
    {
        CImageList* pList;
        UINT nBitmap;
    } lists[] = {{&m_toolImages, IDB_TOOLBAR_IMAGES},
                 {&m_toolHotImages, IDB_TOOLBAR_IMAGES},
                 {&m_toolDisabledImages, IDB_TOOLBAR_DISABLED}};
    for (auto& list : lists)
    {
        CBitmap bitmap;
        if (!list.pList->Create(kToolImageSize, kToolImageSize, ILC_COLORDDB | ILC_MASK, 20, 1) ||
            !bitmap.LoadBitmap(list.nBitmap))
            return FALSE;
        list.pList->Add(&bitmap, kToolImageMask);
    }
    CToolBarCtrl& ctrl = m_wndToolBar.GetToolBarCtrl();
    ctrl.SetImageList(&m_toolImages);
    ctrl.SetHotImageList(&m_toolHotImages);
    ctrl.SetDisabledImageList(&m_toolDisabledImages);
    return TRUE;
}

void CMainFrame::TranslateMenus()
{
    if (m_menuBar.GetSafeHmenu() == NULL)
        return;
    for (UINT i = 0; i < sizeof(kBarTexts) / sizeof(kBarTexts[0]); i++)
        m_menuBar.SetMenuText(i, GetLangText(kBarTexts[i]), MF_BYPOSITION);
    const struct
    {
        int nPopup;
        UINT nItem;
        int nTextId;
    } kPopupTitles[] = {{kEditPopup, 4, 53}, {kEditPopup, 6, 56}, {kPalettePopup, 0, 80},
                        {kMosaicPopup, 2, 112}};
    for (const auto& title : kPopupTitles)
        if (CPaintedMenu* pPopup =
                CPaintedMenu::FromHandleOwned(::GetSubMenu(m_menuBar, title.nPopup)))
            pPopup->SetMenuText(title.nItem, GetLangText(title.nTextId), MF_BYPOSITION);

    // Toolbar 1 does not exist: the items lose their icons until the icon toolbar below
    // gives them back.
    for (const LanguageCommand& language : kLanguages)
        m_menuBar.ModifyODMenu(GetLangText(language.nID), language.nID, 1);
    for (const TextOfCommand& item : kCommandTexts)
        m_menuBar.ModifyODMenu(GetLangText(item.nTextId), item.nID, 1);
    CString strPlans;
    strPlans.Format(L"%s...", (LPCTSTR)GetLangText(TXT_PRINT_PLAN));
    m_menuBar.ModifyODMenu(strPlans, ID_MOSAIC_PRINT_GRIDS, 1);

    // The recent-file placeholder, while it shows no file.
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pRecentFileList != NULL)
    {
        CRecentFileList& list = *pApp->m_pRecentFileList;
        list.m_strOriginal = GetLangText(TXT_RECENT_FILE);
        if (list.GetSize() == 0 || list[0].IsEmpty())
            m_menuBar.ModifyODMenu(list.m_strOriginal, ID_FILE_MRU_FILE1, 1);
    }
    m_menuBar.LoadToolBar(IDR_MENU_ICONS);
    // A hidden frame lays its menu bar out when it shows.
    if (IsWindowVisible())
        DrawMenuBar();
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    // After the command states, which may have put plain text items back.
    CPaintedMenu::OnInitMenuPopup(m_hWnd, pPopupMenu, nIndex, bSysMenu);
    if (bSysMenu || nIndex != kLanguagePopup || pPopupMenu == NULL)
        return;
    const int nCurrent = ReadLanguageId();
    for (const LanguageCommand& language : kLanguages)
        pPopupMenu->CheckMenuItem(language.nID,
                                  MF_BYCOMMAND | (language.nLanguageId == nCurrent
                                                      ? MF_CHECKED
                                                      : MF_UNCHECKED));
}

BOOL CMainFrame::LanguageOfCommand(UINT nID, int& nLanguageId)
{
    for (const LanguageCommand& language : kLanguages)
    {
        if (language.nID == nID)
        {
            nLanguageId = language.nLanguageId;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMainFrame::HasUntitledMosaic()
{
    CVitrolanDoc* pDoc = GetMosaic();
    if (pDoc == NULL || !pDoc->GetPathName().IsEmpty())
        return FALSE;
    CString strUntitled;
    strUntitled.LoadString(AFX_IDS_UNTITLED);
    return pDoc->GetTitle() == GetLangText(TXT_UNTITLED) || pDoc->GetTitle() == strUntitled;
}

void CMainFrame::OnLanguage(UINT nID)
{
    int nLanguageId = 0;
    if (!LanguageOfCommand(nID, nLanguageId))
        return;
    // An untitled mosaic takes the new language's name for it too.
    const BOOL bUntitled = HasUntitledMosaic();
    // Both keys, so that the next start reads this language whichever it reads.
    WriteLanguageId(nLanguageId);
    ClearLangTexts();
    TranslateMenus();
    m_wndToolBar.SetWindowText(GetLangText(TXT_TOOLBAR));
    if (bUntitled)
        GetMosaic()->SetTitle(GetLangText(TXT_UNTITLED));
    ::InvalidateRect(NULL, NULL, TRUE);
}

// ---- Palette display ----------------------------------------------------------------------

void CMainFrame::UncheckPaletteFile()
{
    CVitrolanDoc* pDoc = GetMosaic();
    if (pDoc == NULL || pDoc->lastPalCheck == -1)
        return;
    ::CheckMenuItem(::GetMenu(m_hWnd), (UINT)pDoc->lastPalCheck, MF_BYCOMMAND | MF_UNCHECKED);
    pDoc->lastPalCheck = -1;
}

void CMainFrame::ShowTilePalette()
{
    m_paletteBarMode = PaletteTiles;
    ShowControlBar(&m_imageBar, FALSE, FALSE);
    ShowControlBar(&m_tileBar, TRUE, FALSE);
    RecalcLayout();
}

void CMainFrame::ShowImagePalette()
{
    UncheckPaletteFile();
    m_paletteBarMode = PaletteImage;
    ShowControlBar(&m_imageBar, TRUE, FALSE);
    ShowControlBar(&m_tileBar, FALSE, FALSE);
    RecalcLayout();
}

void CMainFrame::ShowNoPalette()
{
    UncheckPaletteFile();
    m_paletteBarMode = PaletteNone;
    ShowControlBar(&m_imageBar, FALSE, FALSE);
    ShowControlBar(&m_tileBar, FALSE, FALSE);
    RecalcLayout();
}

void CMainFrame::ShowPaletteOfMode()
{
    switch (m_paletteBarMode)
    {
    case PaletteTiles: ShowTilePalette(); break;
    case PaletteImage: ShowImagePalette(); break;
    default: ShowNoPalette(); break;
    }
}

void CMainFrame::OnPaletteTiles()
{
    ShowTilePalette();
}

void CMainFrame::OnPaletteImage()
{
    ShowImagePalette();
}

void CMainFrame::OnPaletteNone()
{
    ShowNoPalette();
}

void CMainFrame::OnUpdatePaletteTiles(CCmdUI* pCmdUI)
{
    CVitrolanDoc* pDoc = GetMosaic();
    pCmdUI->Enable(pDoc != NULL && pDoc->m_loaded);
    pCmdUI->SetCheck(m_tileBar.IsWindowVisible() && m_paletteBarMode == PaletteTiles);
}

void CMainFrame::OnUpdatePaletteImage(CCmdUI* pCmdUI)
{
    CVitrolanDoc* pDoc = GetMosaic();
    pCmdUI->Enable(pDoc != NULL && pDoc->m_loaded);
    pCmdUI->SetCheck(m_imageBar.IsWindowVisible());
}

void CMainFrame::OnUpdatePaletteNone(CCmdUI* pCmdUI)
{
    CVitrolanDoc* pDoc = GetMosaic();
    pCmdUI->Enable(pDoc != NULL && pDoc->m_loaded);
    pCmdUI->SetCheck(!m_imageBar.IsWindowVisible() && !m_tileBar.IsWindowVisible());
}

void CMainFrame::OnOverlayMarks()
{
    CVitrolanDoc* pDoc = GetMosaic();
    if (pDoc == NULL)
        return;
    pDoc->superpose = pDoc->superpose ? 0 : 1;
    RecalcLayout();
    m_imageBar.Invalidate();
    m_tileBar.Invalidate();
}

void CMainFrame::OnUpdateOverlayMarks(CCmdUI* pCmdUI)
{
    CVitrolanDoc* pDoc = GetMosaic();
    pCmdUI->Enable(pDoc != NULL && pDoc->m_loaded);
    pCmdUI->SetCheck(pDoc != NULL && pDoc->superpose == 1);
}

// ---- Palette buttons ----------------------------------------------------------------------

void CMainFrame::PressPaletteButton(CPaletteBar& bar, int nButton, int nColourCount)
{
    m_imageBar.ClearPressed();
    m_tileBar.ClearPressed();
    const int nColour = bar.m_nPage * CPaletteBar::ColoursPerPage + nButton;
    if (nButton < CPaletteBar::ColoursPerPage && nColour < nColourCount && nColour < 256)
        bar.m_pressed[nButton] = 1;
    if (nButton == CPaletteBar::PreviousButton)
    {
        if (bar.m_nPage == 0)
            SetMessageText(GetLangText(TXT_MSG_FIRST_PALETTE_PAGE));
        else
            bar.m_nPage--;
    }
    else if (nButton == CPaletteBar::NextButton)
    {
        // Never onto a page without colours.
        if (!CPaletteBar::HasNextPage(bar.m_nPage, nColourCount))
            SetMessageText(GetLangText(TXT_MSG_LAST_PALETTE_PAGE));
        else
            bar.m_nPage++;
    }
    m_imageBar.Invalidate();
    m_tileBar.Invalidate();
}

void CMainFrame::OnImagePaletteButton(UINT nID)
{
    CVitrolanDoc* pDoc = GetMosaic();
    if (pDoc == NULL)
        return;
    const int nButton = (int)(nID - ID_IMAGE_BUTTON_FIRST);
    PressPaletteButton(m_imageBar, nButton, pDoc->m_colourCount);
    if (nButton >= CPaletteBar::ColoursPerPage || !m_imageBar.m_pressed[nButton])
        return;
    const int b = m_imageBar.m_nPage * CPaletteBar::ColoursPerPage + nButton;
    const int t = pDoc->m_imagePalette.FindColourIn(pDoc->m_tilePalette, b);
    CString strMessage;
    if (t >= 0)
        strMessage.Format(L"%s (%s)", (LPCTSTR)pDoc->m_tilePalette.m_colourNames[t],
                          (LPCTSTR)pDoc->m_tilePalette.m_symbols[t]);
    else
        strMessage.Format(L"%s %d", (LPCTSTR)GetLangText(TXT_IMAGE_COLOUR), b + 1);
    SetMessageText(strMessage);
}

void CMainFrame::OnTilePaletteButton(UINT nID)
{
    CVitrolanDoc* pDoc = GetMosaic();
    if (pDoc == NULL)
        return;
    const int nButton = (int)(nID - ID_TILE_BUTTON_FIRST);
    PressPaletteButton(m_tileBar, nButton, pDoc->m_tileColourCount);
    if (nButton >= CPaletteBar::ColoursPerPage || !m_tileBar.m_pressed[nButton])
        return;
    const int t = m_tileBar.m_nPage * CPaletteBar::ColoursPerPage + nButton;
    CString strMessage;
    strMessage.Format(L"%s (%s)", (LPCTSTR)pDoc->m_tilePalette.m_colourNames[t],
                      (LPCTSTR)pDoc->m_tilePalette.m_symbols[t]);
    SetMessageText(strMessage);
}

int CMainFrame::GetCurrentColour() const
{
    return ClickColour(m_paletteBarMode, SelectionOfBar(&m_imageBar), SelectionOfBar(&m_tileBar));
}

void CMainFrame::ResetImageBar()
{
    const CVitrolanDoc* pDoc = GetMosaic();
    int nColour = PressedBarColour(SelectionOfBar(&m_imageBar), 0);
    if (pDoc != NULL && nColour >= pDoc->m_colourCount)
        nColour = NoToolColour;
    SelectImageColour(nColour);
    m_imageBar.Refresh();
}

void CMainFrame::RenumberImageBar(const int* newColour)
{
    const int nColour = PressedBarColour(SelectionOfBar(&m_imageBar), 0);
    if (nColour >= 0 && nColour < C2Palette::ColourCount)
        SelectImageColour(newColour[nColour]);
    m_imageBar.Invalidate();
}

void CMainFrame::SelectImageColour(int nColour)
{
    m_imageBar.ClearPressed();
    m_imageBar.m_nPage = 0;
    if (nColour < 0)
        return;
    int nButton = 0;
    BarButtonOfColour(nColour, m_imageBar.m_nPage, nButton);
    m_imageBar.m_pressed[nButton] = 1;
}

void CMainFrame::PressImageBarButton(int nButton)
{
    m_imageBar.ClearPressed();
    m_tileBar.ClearPressed();
    if (nButton >= 0 && nButton < CPaletteBar::ColoursPerPage)
        m_imageBar.m_pressed[nButton] = 1;
    m_imageBar.Invalidate();
    m_tileBar.Invalidate();
}

// ---- Help -----------------------------------------------------------------------------------

void CMainFrame::OnHelpFinder()
{
    CVitrolanDoc* pDoc = GetMosaic();
    CString strFolder;
    if (pDoc != NULL)
        strFolder = pDoc->m_programFolder;
    CString strManual;
    strManual.Format(ReadLanguageId() == kFrench ? L"%sDoc\\ManuelVitrolan_2.9.pdf"
                                                 : L"%sDoc\\ManualMosaic_2.9.pdf",
                     (LPCTSTR)strFolder);
    ShellOpenFile(strManual);
}

void CMainFrame::WinHelp(DWORD_PTR, UINT)
{
    OnHelpFinder();
}
