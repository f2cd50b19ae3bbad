// CMainFrame: the main window. It holds the main toolbar and the two palette bars (the image
// colours and the tile colours, at most one shown), turns palette-button presses into the
// current colour of the editing tools, translates the menu bar into the interface language,
// and carries the palette display, overlay, language and help commands.
#pragma once

#include "AfxBar.h"
#include "AfxFrame.h"
#include "AfxImageList.h"
#include "AfxMenu.h"
#include "PaintedFrameWnd.h"
#include "PaintedMenu.h"
#include "PaletteBar.h"

class CVitrolanDoc;

class CMainFrame : public CPaintedFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    virtual ~CMainFrame();

    // Palette display modes, kept in the profile as "paletteon".
    enum { PaletteTiles = 1, PaletteImage = 2, PaletteNone = 3 };
    // The colour button ids of the two bars: 30 colours, then the previous and next pages.
    enum
    {
        ID_IMAGE_BAR = 32884,
        ID_TILE_BAR = 32885,
        ID_IMAGE_BUTTON_FIRST = 32793,
        ID_IMAGE_BUTTON_LAST = 32824,
        ID_TILE_BUTTON_FIRST = 57346,
        ID_TILE_BUTTON_LAST = 57377
    };

    int m_paletteBarMode;
    CToolBar m_wndToolBar;
    CPaletteBar m_imageBar;
    CPaletteBar m_tileBar;

    void ShowTilePalette();
    void ShowImagePalette();
    void ShowNoPalette();
    // The bar of the display mode, as the mode says.
    void ShowPaletteOfMode();
    // Every menu text in the interface language.
    void TranslateMenus();
    // The owner-drawn menu bar; its popups are found through it.
    CPaintedMenu& GetMenuBar() { return m_menuBar; }
    CPaintedMenu& GetPaintedSystemMenu() { return m_systemMenu; }

    // The colour the editing tools paint with: 0-255 an image colour, 256 + t the tile
    // colour t, -1 none; from the pressed button of the bar shown.
    int GetCurrentColour() const;
    // The language id a Language menu command stands for; FALSE for a command without one.
    static BOOL LanguageOfCommand(UINT nID, int& nLanguageId);

    // The image bar on its first page, or on the page of its pressed colour: a reset never
    // changes the current colour, except one past the image palette's colours, which goes.
    void ResetImageBar();
    // The pressed colour of the image bar follows its colour to its new number.
    void RenumberImageBar(const int* newColour);
    // Clears the pressed buttons of both bars, then presses button nButton of the image bar.
    void PressImageBarButton(int nButton);

    // The program's main frame from its creation on; the application names it its main
    // window only once the first document is open, and that open already shows the bars.
    static CMainFrame* GetMainFrame();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

protected:
    static CMainFrame* s_pMainFrame;
    CImageList m_toolImages;
    CImageList m_toolHotImages;
    CImageList m_toolDisabledImages;
    // While the frame shows for the first time: the size it was last laid out at.
    BOOL m_bFirstShowing = FALSE;
    CSize m_sizeFirstShown = CSize(-1, -1);

    CVitrolanDoc* GetMosaic();
    // The mosaic has no file and carries the name of an untitled one in the language in force.
    BOOL HasUntitledMosaic();
    BOOL CreatePaletteBar(CPaletteBar& bar, UINT nID, UINT nBitmap, UINT nFirstButton);
    BOOL CreateMainToolBar();
    // A palette button press: the pressed flag or the page, and the message line.
    void PressPaletteButton(CPaletteBar& bar, int nButton, int nColourCount);
    // Presses the image colour (none for -1) on the image bar, on its page.
    void SelectImageColour(int nColour);
    // Unchecks the palette file ticked in the Palette menu.
    void UncheckPaletteFile();

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnPaletteTiles();
    afx_msg void OnUpdatePaletteTiles(CCmdUI* pCmdUI);
    afx_msg void OnPaletteImage();
    afx_msg void OnUpdatePaletteImage(CCmdUI* pCmdUI);
    afx_msg void OnPaletteNone();
    afx_msg void OnUpdatePaletteNone(CCmdUI* pCmdUI);
    afx_msg void OnOverlayMarks();
    afx_msg void OnUpdateOverlayMarks(CCmdUI* pCmdUI);
    afx_msg void OnImagePaletteButton(UINT nID);
    afx_msg void OnTilePaletteButton(UINT nID);
    afx_msg void OnHelpFinder();
    afx_msg void OnLanguage(UINT nID);

    DECLARE_MESSAGE_MAP()
};
