// CPaletteBar: the toolbar that shows one page of 30 colours of a palette as buttons, with a
// previous-page and a next-page button after them. The whole bar is painted from one RGB
// picture, with the colours' labels written over it when the owner asks for them.
//
// The bar knows nothing of documents: its owner (the main frame) tells it what to show through
// a data source, a function the bar calls at every paint and preparation to fill a
// PaletteBarData. The owner creates the bar, sets its buttons and layout, and drives it:
//
//     m_wndTileBar.SetDataSource(FillTileBarData, this);
//     m_wndTileBar.m_nPage = 0;
//     m_wndTileBar.ClearPressed();
//     m_wndTileBar.Create(this, WS_CHILD | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP |
//                                   CBRS_TOOLTIPS | CBRS_SIZE_FIXED, 32885);
//     m_wndTileBar.LoadBitmap(154);
//     m_wndTileBar.SetButtons(ids, CPaletteBar::ButtonCount);
//     m_wndTileBar.EnableDocking(0);
//     m_wndTileBar.SetColumns(CPaletteBar::ButtonCount);
//     m_wndTileBar.SetHeight(32);
//
// A click on colour button k sets m_pressed[k] (after ClearPressed on both bars); the page
// buttons change m_nPage, forward only while HasNextPage says so. After either, the owner
// invalidates the bar. When the palettes, their names, symbols or fonts, the label mode or the
// colour counts change, the owner calls Refresh, which rebuilds the picture and label fonts at
// the next paint. The bar only reads the palettes: the owner keeps the image palette's names
// in step with the tile palette (C2Palette::TakeNamesFrom) when the palettes change.
#pragma once

#include <windows.h>

#include "AfxBar.h"
#include "AfxGdi.h"
#include "AfxString.h"
#include "PaletteBarState.h"
#include "RasterImage.h"

class C2Palette;

// What a palette bar shows, filled by its owner.
struct PaletteBarData
{
    enum
    {
        ModeTilePalette = 1,
        ModeImagePalette = 2,
        ColourTableSize = 13,
        // Entries of the display colour table the bar paints with.
        BevelLight = 0,
        BevelShade = 3,
        Ink = 4,          // arrows and the frame of a pressed button
        Background = 5
    };

    // ModeTilePalette: the tile palette's colours; ModeImagePalette: the image palette's;
    // any other value: no colours.
    int paletteMode;
    const C2Palette* pTilePalette;     // may be NULL when it is not shown and not needed
    int tileColourCount;
    const C2Palette* pImagePalette;
    int imageColourCount;
    // CellLabelMode: 0 the colour's number, 1 its index in the tile palette, 2 its symbol,
    // other values no label.
    int labelMode;
    BOOL superpose;                    // write the labels over the buttons
    BYTE colourTable[ColourTableSize][3];   // the document's display colours, R, G, B
    // Written across the bar when the palette shown has no colour, so that an empty bar
    // tells the user why; nothing when empty.
    CString emptyText;

    // A bar with nothing to show: no colours, no labels, the default display colours.
    PaletteBarData();
};

// Fills data for the bar; FALSE when there is nothing to show at all (the bar then paints its
// background only). context is the pointer given to SetDataSource.
typedef BOOL (*PaletteBarDataSource)(void* context, PaletteBarData& data);

class CPaletteBar : public CToolBar, public CPaletteBarState
{
public:
    enum
    {
        ButtonCount = 32,          // the colours of a page, then the two page buttons
        PreviousButton = 30,
        NextButton = 31,
        LabelFontCount = 256,
        DefaultLabelHeight = 17,   // of the number labels, in the default face
        MinSymbolLabelHeight = 6
    };

    CPaletteBar();
    virtual ~CPaletteBar();

    void SetDataSource(PaletteBarDataSource pfnSource, void* context);

    // Whether a page after page holds a colour of a palette of count colours; the bar shows
    // its next-page arrow exactly then, and the owner's next-page button should move exactly
    // then.
    static BOOL HasNextPage(int page, int count);
    // Label height for symbols of length characters: 16 up to 2, 12 up to 5, 10 up to 7,
    // 8 beyond. The bar lowers it further, down to MinSymbolLabelHeight, while the widest
    // symbol in its font is wider than a button.
    static int SymbolLabelHeight(int length);

    // The picture and label fonts are rebuilt at the next paint; the bar is repainted.
    void Refresh() override;
    void Repaint() override;
    // n buttons to a row: every button whose number + 1 is a multiple of n ends its row.
    void SetColumns(int n);
    int GetColumns() const { return m_nColumns; }
    // Sizes the picture to the buttons and creates the label fonts of the symbols.
    void PrepareImage();

    // The picture of the last paint, as copied onto the bar (x and y as in the client area).
    const CRasterImage& GetImage() const { return m_image; }
    BOOL IsPrepared() const { return m_bPrepared; }

protected:
    int m_nColumns;
    CRasterImage m_image;
    CFont m_labelFonts[LabelFontCount];
    BOOL m_bPrepared;
    PaletteBarDataSource m_pfnSource;
    void* m_pSourceContext;

    // What the data source says, or a bar with nothing to show.
    void GetData(PaletteBarData& data) const;
    void PrepareImage(const PaletteBarData& data);
    // Where button i is drawn, in client coordinates: its item rectangle, with the first row of
    // buttons at the top of the client area.
    CRect GetButtonRect(int i) const;
    // The size the picture needs for the buttons as they are laid out now.
    CSize NeededImageSize() const;
    // Width of the widest of the first count symbols, each in its own font at the height.
    int WidestSymbol(const C2Palette& palette, int count, int height) const;
    // The height, or a lower one at which every symbol fits inside a button.
    int FitSymbolLabelHeight(const C2Palette& palette, int count, int height) const;
    // The palette and colour count the bar shows; NULL when none.
    static const C2Palette* ShownPalette(const PaletteBarData& data, int& count);
    void DrawButtons(const PaletteBarData& data);
    void DrawArrow(const RECT& rectDraw, BOOL bRight, const BYTE* ink, const BYTE* back);
    void DrawLabels(CDC* pDC, const PaletteBarData& data);
    void DrawEmptyText(CDC* pDC, const PaletteBarData& data);

    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
