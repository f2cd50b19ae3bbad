// CVitrolanView: the one view of the program. It shows the visible part of the mosaic at the
// document's zoom (a whole number of screen pixels per tile), with the plates and the
// selection shapes over it, scrolls in tiles and tile rows, and prints what it shows with
// the document's title as a footer.
#pragma once

#include <windows.h>

#include <vector>

#include "AfxView.h"
#include "AfxGdi.h"
#include "CellsSnapshot.h"
#include "PageCanvas.h"
#include "TileOutlines.h"
#include "TileRenderer.h"
#include "ToolRules.h"
#include "VitrolanDoc.h"

class CPdf;
class CPlaque;
class CPrintInfo;
class CScrollBar;
class CShape;

class CVitrolanView : public CView
{
    DECLARE_DYNCREATE(CVitrolanView)

public:
    CVitrolanView();
    ~CVitrolanView() override;

    CVitrolanDoc* GetDocument() const { return (CVitrolanDoc*)m_pDocument; }
    // The main frame's active view when it is a mosaic view; NULL otherwise (no frame yet,
    // or the print preview in its place).
    static CVitrolanView* GetActiveView();

    // ---- Scroll origin: the first visible tile column and row, never negative ---------------
    int GetOriginCol() const { return m_originCol; }
    int GetOriginRow() const { return m_originRow; }
    // Sets the origin without touching the bars or the shapes; the next update places both.
    void SetScrollOrigin(int nCol, int nRow);

    // What a scroll bar code does to the origin, for a client area of the given width
    // (height). Codes the bars do not send leave it as it is.
    int NewOriginCol(UINT nSBCode, UINT nPos, int nClientWidth) const;
    int NewOriginRow(UINT nSBCode, UINT nPos, int nClientHeight) const;

    // Which bars the mosaic needs in a client area of sizeFull pixels without bars, and the
    // area left to the mosaic once they are there.
    struct ScrollBarLayout
    {
        BOOL bHorz;
        BOOL bVert;
        CSize size;
    };
    ScrollBarLayout ComputeScrollBarLayout(CSize sizeFull) const;

    // ---- Drawing ------------------------------------------------------------------------------
    void OnDraw(CDC* pDC) override;
    // Builds what a paint draws with (plates, masks, counts, label pictures, the square-cut
    // and textures flags) and renders the visible window of the mosaic into the document's
    // screen picture at the scroll origin.
    void PrepareRendering();
    void RenderScreenImage();
    // Renders only the tiles under the area into a picture of its own, whose top-left lies at
    // ptImage in the client area, and copies the area into the screen picture. FALSE, nothing
    // done, when the whole window is to be rendered.
    BOOL RenderScreenArea(const CRect& rectArea, CPoint& ptImage);
    // The shape mask and the joint mask of the document's paving type and zoom.
    void BuildTileMasks();
    // Width in pixels of the joint frame of square tiles at the current zoom.
    int JointFrameWidth() const;
    // Fills the paint's clip box with the background colour, less the rectangle a picture is
    // about to cover whole.
    void EraseBackground(CDC* pDC, const CRect& rectCovered = CRect(0, 0, 0, 0));
    // Counts the document's tiles per colour, unless nothing they come from or come to has
    // changed since the last count this view made.
    void CountTiles();
    // Non-zero when tile textures apply: a tile-palette colour has a note or the palette is
    // of a textured family, and textured tiles are on.
    int ComputeTexturesFlag() const;
    // Non-zero when squares have cut tiles beside holes, whose edges the renderer draws as
    // joints.
    int ComputeSquareCutFlag() const;

    // ---- Selection shapes ---------------------------------------------------------------------
    // A dotted black pen, and the null brush (hollow) or the white one, until EndShapeDraw.
    void BeginShapeDraw(CDC* pDC, BYTE bHollow, int nColour);
    void EndShapeDraw(CDC* pDC);
    // Redraws the shape's outline and handles from the mosaic.
    void InvalidateShape(CShape* pShape);
    // Draws the shape with its handles as a rubber band; with bXor each pixel is inverted, so
    // that drawing it twice erases it.
    void DrawShapeXor(CDC* pDC, CShape* pShape, BOOL bXor);

    // ---- Document updates and scrolling -------------------------------------------------------
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    // ---- Editing tools (VitrolanViewTools.cpp) -------------------------------------------------
    // A mosaic is loaded and no picture, plan or information page is being painted.
    BOOL ToolsActive() const;
    // Any tool that acts on a click is on.
    BOOL AnyToolOn() const;
    BOOL CutToolOn() const;
    // The point (logical) lies where a tool may act: the client area, grown while stamping.
    BOOL InToolArea(CPoint point) const;
    // The tile under a client point, as the tools see it.
    BOOL LocateTile(CPoint point, TileSpot& spot);
    // The current colour of a click and of a drag (see ToolRules.h for the codes).
    int GetClickColour() const;
    int GetDragColour() const;
    // The image colour a tool paints with for the colour code: an image colour as it is; a tile
    // colour becomes the first image colour of its RGB, which is appended when there is none
    // (bMayAppend). -1 when the image palette is full; with bAskUser the user is told.
    int ImageColourOf(int nColour, BOOL bMayAppend, BOOL bAskUser);
    // What a click does at the located tile with the tool that is on.
    void ApplyClick(CPoint point, const TileSpot& spot);
    void MeasureRun(const TileSpot& spot, BOOL bAcross);
    void ReplaceColour(const TileSpot& spot, int nColour);
    void FillRegion(const TileSpot& spot, int nColour);
    void BrushPress(const TileSpot& spot, int nColour);
    void BrushPaint(const TileSpot& spot, int nColour);
    void BrushRelease();
    void CutTile(const TileSpot& spot, int nColour);
    void StampText(int nImageColour, int nToolColour);
    void MixFill(const TileSpot& spot);
    void ToggleCells(const TileSpot& spot);
    void ReportTile(const TileSpot& spot);
    // The selection rectangle: grab or start it, drag it, settle it on whole tiles.
    void PressSelection(CPoint point, const TileSpot& spot);
    void DragSelection(CPoint point);
    void ReleaseSelection(CPoint point);
    // The block that a release of the select tool settles: moved, or from the tile it was
    // started on (its corner or edges that stayed) to the tile under the dragged corner.
    TileBlock ReleasedBlock();
    // The arrow keys: move the selection a tile, shade or turn the last clicked tile.
    void MoveSelectionByKey(UINT nChar);
    // The block of tiles the selection holds (the current block of m_copyRect), and its
    // frame in client pixels: the union of its tiles' boxes.
    TileBlock GetSelectedBlock() const;
    CRect BlockFrame(const TileBlock& block) const;
    // A block made whole: inside the grid and the pattern's rows, and on triangles both rows
    // of each band it touches (the tiles whose centres lie in its frame).
    TileBlock SettleBlock(TileBlock block) const;
    // The selection takes the block, as the current one and, unless moved, as the source,
    // and its frame settles on it.
    void SelectBlock(const TileBlock& block, BOOL bSource);
    // After a scroll or a zoom a settled selection lies on its block again.
    void KeepSelectionOnBlock();
    void ShadeClickedTile(UINT nChar);
    void TurnClickedTile(BOOL bLeft);
    // The text stamp's frame follows the pointer.
    void MoveStampFrame(CPoint point);
    // Shows the Edit menu when the point (client) lies on the selection.
    BOOL ShowEditMenuAt(CPoint ptClient, CPoint ptScreen);

protected:
    // ---- Printing -----------------------------------------------------------------------------
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void PrintTitleFooter(CDC* pDC);
    // A plan, information or palette-chart page is being painted into a PDF.
    BOOL IsPlanPageSet() const;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);

    // ---- Tool helpers -------------------------------------------------------------------------
    CPoint ToLogical(CPoint point);
    ShownMosaic GetShownMosaic();
    // The tile under a point kept inside the client area and the mosaic.
    BOOL LocateInside(CPoint point, TileSpot& spot);
    // Client pixels of the mosaic's right and bottom ends.
    CPoint MosaicEnd() const;
    // The region tools start at the part of the tile under the click.
    CPoint RegionPoint(const TileSpot& spot) const;
    void BeginDrag();
    void EndDrag();
    // Scrolls a line while a dragged edge reaches the client's edge; the point follows.
    void AutoScrollSelection(CPoint& point);
    BOOL ReadClickedCell(CellFields& cell) const;
    // Writes the last clicked tile changed by a key: into the working map, and into the
    // committed one too when no edit is pending, so that neither undo nor the next edit
    // loses it.
    void WriteClickedCell(const CellFields& cell);
    void RedrawTileSquare(int x, int y);
    // Presses the image bar's button of an image colour, on its page.
    void SelectImageBarColour(int nColour);
    void ShowMessageLine(LPCTSTR lpszText);
    void ShowChooseColourMessage();

    void EnsureScreenImage();
    void RenderAt(CRasterImage& image, int nFirstCol, int nFirstRow);
    // Copies the rendered picture to the screen at ptImage, then the plates and shapes.
    void DrawScreen(CDC* pDC, const CRect& rectClient, const CRasterImage& image,
                    CPoint ptImage);
    void DrawPlaques(CDC* pDC);
    void DrawShape(CDC* pDC, CShape* pShape);
    void RecentreAfterZoomOut(CSize sizeClient);
    // The client area as it would be without scroll bars.
    CSize GetClientSizeWithoutBars() const;
    // Shows, sets up or hides the bars; the origin of a hidden bar goes back to 0.
    void ApplyScrollBars(const ScrollBarLayout& layout);
    // Both shapes follow the mosaic from the origin ptOld to the current one.
    void ShiftShapes(CPoint ptOld);
    void StorePavingTypeInShapes();

    // ---- PDF pages ----------------------------------------------------------------------------
    // The plan and chart drivers open the PDF layer, set one page flag of the document and
    // have each page painted by RenderPage: while the layer is open, OnDraw paints the page of
    // that kind into it instead of the screen, once for each open page.
public:
    BOOL IsPdfOpen() const;
    CPdf* GetPdf() const { return m_pPdf; }

    // The layout values of the pages, in page units: hundredths of a millimetre, or
    // thousandths of an inch in an imperial document. y is 0 at the top of the paper and
    // negative below it.
    struct PageMetrics
    {
        int width;           // the drawable page: the paper less 6 mm right and at the bottom
        int height;
        int margin;
        int lineHeight;      // a line of text advances two of them
        int swatchSize;
        int jointWidth;      // of the joint pen
        int pageCount;       // pages of the current kind, as last counted
        int currentPage;     // the page being painted, from 1
        int columns;         // tiles across and tile rows down a laying-plan page
        int rows;
    };
    const PageMetrics& GetPageMetrics() const { return m_page; }

    // Colours that an information page and a palette chart page list; their page counts
    // follow from these.
    enum { LegendColoursFirstPage = 4, LegendColoursPerPage = 7, ChartColoursPerPage = 14 };

    // Where the parts of a laying-plan page lie, in page units. The tiles stay inside the
    // grid limit, clear of the bands along the page's edges: the rulers above and left of
    // the grid, the arrows to the neighbouring pages on all four sides, and at the bottom the
    // plate's title, the date line and the thumbnail.
    enum { NeighbourLeft, NeighbourRight, NeighbourUp, NeighbourDown };
    struct PlanLayout
    {
        int rulerBand;
        POINT gridOrigin;      // grid place of the page's first column and row
        RECT gridLimit;        // no tile reaches beyond it
        RECT title;            // the plate's title; the date line lies one margin lower
        RECT thumbnail;        // the square the thumbnail is fitted into
        RECT neighbours[4];    // number boxes of the neighbouring pages, with their arrows
    };
    PlanLayout ComputePlanLayout(int nPitch) const;
    // Tile columns whose boxes, staggered rows included, fit across nWidth; tile rows from
    // nFirstRow whose boxes fit down nHeight (pairs of triangle rows kept whole).
    int PlanColumnsIn(int nWidth) const;
    int PlanRowsIn(int nHeight, int nFirstRow) const;

    // Paper of the printer and of the page layout from the document's settings.
    void InitPageMetrics();
    // Numbers the laying-plan pages of the plates in the document's print range. FALSE, and
    // no page at all, when not one whole tile fits on a page (a pitch of 0 or below, a paper
    // smaller than a tile).
    BOOL PaginatePlaques();
    // Pages of the information on the colours in use, and of the tile palette's chart.
    int CountLegendPages();
    int CountPalettePages();
    // Paints page nIndex + 1 of the current kind into the open PDF page before it returns.
    void RenderPage(int nIndex);
    // The brushes, pens and fonts of one page, made before the page is painted and deleted
    // after it. The palettes' own font records are left as they are.
    void CreatePrintObjects(CDC* pDC);
    void ReleasePrintObjects(CDC* pDC);
    // Characters of the longest symbol of the image palette, at least 2, made even.
    int SymbolWidth() const;

    // A plate that does not fit on one page is cut into page cells, numbered from 1 in rows
    // from its top-left tile. The number of the cell that holds the tile, or -1.
    int FindPageAt(const CPlaque* pPlaque, int nColumn, int nRow) const;
    // The tiles of cell nCell: columns left to right - 1, rows top to bottom - 1. FALSE when
    // the plate has no such cell.
    BOOL GetPageCell(const CPlaque* pPlaque, int nCell, CRect& rectCell) const;

    // Size of the texts of a laying-plan page for a tile pitch.
    static int PlanTextSize(int nPitch);
    // Page nPage of the laying plan: one page cell of the plate whose pages hold it. FALSE,
    // with nothing drawn, when no plate does or the page is refused.
    BOOL DrawPlanPage(CDC* pDC, int nPage);

    // ---- Picture page ----
    // The laying plan's first page: its heading and the plan picture, centred by the
    // document's thumbnail offsets; without a picture form only the heading.
    void DrawPicturePage();
    // The whole mosaic fitted to the window in bands, as it is shown while the plan is
    // written; the zoom is lowered first to at most the one at which the whole mosaic fits
    // the window's height.
    void DrawWholeMosaicFitted(CDC* pDC);
    // The largest zoom at which every column and every row fits the client height, at least 1.
    int FittingZoom() const;
    // Every arc of the tile outlines.
    void DrawScaleArc(int nLeft, int nTop, int nRight, int nBottom, int xStart, int yStart,
                      int xEnd, int yEnd);

    // ---- Palette chart pages ----
    // Page nPage of the tile palette's chart: the palette's colours of that page, one row each
    // with a swatch carrying the symbol and a line with the name and the R, G, B values.
    void DrawPaletteChartPage(CDC* pDC, int nPage);
    // The tile palette's chart written to strPath, one page for each ChartColoursPerPage
    // colours; the file is opened for the user when it is complete. FALSE, with nothing
    // opened, when the file could not be started or a page not written.
    BOOL WritePaletteChart(const CString& strPath);

    // ---- Information pages ----
    // Page nPage of the information: the mosaic's data on page 1, then the colours in use,
    // LegendColoursFirstPage on page 1 and LegendColoursPerPage on each later page.
    void DrawInfoPage(int nPage);

    // ---- Laying plan ----
    // The laying plan written to strPath: the picture page, the first plan page and the first
    // information page, and opened for the user when complete. Nothing is written when the
    // tiles of a page would not fit on it.
    PlanResult WriteLayingPlan(const CString& strPath);
    // The largest tile pitch at which a plate of carplaquex by carplaquey tiles fills one
    // page, at most the pitch at which it would fill the page's width; 0 when none does.
    int OnePlatePerPagePitch() const;
    // Tells the user, once, the texts of the file just written that no installed font could
    // show whole.
    void ReportUnshownTexts();
    // Page nIndex + 1 of the current kind, in its own PDF page.
    int WritePdfPage(int nPaper, int nIndex);

protected:
    // The page of the kind the document's flags name, once for each open page.
    void DrawPdfPage(CDC* pDC);
    void DrawPlanHeading(const PlanLayout& layout, const CPlaque* pPlaque, int nPage);
    void DrawNeighbourArrows(const PlanLayout& layout, const CPlaque* pPlaque,
                             const CRect& rectCell);
    void DrawPlanGrid(const CPlaque* pPlaque, const CRect& rectCell, int nTextSize);
    // How far down the next row of tiles lies after row nRow.
    int PlanRowStep(int nRow) const;
    void DrawPlanThumbnail(const PlanLayout& layout, const CPlaque* pPlaque);
    void DrawTileOps(const TileOpList& ops);
    // The brush of an image colour; the white brush for a colour that has none.
    CBrush* ColourBrush(int nColour);

    // ---- State, in the order the program has always kept it -----------------------------------
    int m_originCol;
    int m_originRow;
    CRgn m_clipRgn;                  // client-area clip of a screen paint
    int m_lastDownX;                 // last button-down point of the tools; -1 for none; the
                                     // pointer's last point during a drag
    int m_lastDownY;
    BYTE m_drag;                     // a tool holds the mouse capture
    int m_grabbedHandle;             // 0-7 a handle, 255 the whole rectangle, -1 a new one
    CRect m_savedRect;               // the selection at the start of a drag
    int m_anchorCol;                 // the tile a new selection was started on
    int m_anchorRow;
    BOOL m_selectionDragged;         // the pointer moved the selection since the button-down
    BOOL m_selectionOnBlock;         // the selection's frame is its block's
    CGdiObject* m_pOldShapeBrush;    // what BeginShapeDraw replaced
    CPen* m_pOldShapePen;
    CPen m_shapePen;                 // the dotted pen of BeginShapeDraw
    int m_clickedCol;                // tile found under the last click, and its pixel
    int m_clickedX;
    int m_clickedRow;
    int m_clickedY;
    int m_squareCut;                 // flags the paint passes to the renderer
    int m_textures;
    // PDF pages: the layer, owned, made with the view; the page layout; the objects of the
    // page being painted.
    CPdf* m_pPdf;
    CPageCanvas m_canvas;
    PageMetrics m_page;
    CBrush m_colourBrushes[256];
    CBrush m_whiteBrush;
    CBrush m_chartBrushes[256];
    CPen m_jointPen;
    CPen m_whitePen;
    CFont m_tileFonts[4];
    CFont m_titleFont;
    CFont m_smallTextFont;
    CFont m_textFont;
    CFont m_chartSymbolFonts[256];
    CFont m_symbolFonts[4][256];
    CFont* m_pOldPageFont;           // what tile font 1 replaced on the page's device context
    CRasterImage m_areaImage;        // the picture of a paint of part of the window
    // What the view's last count of tiles was made from (cells, size, cost figures) and what
    // it gave: a copy, so that a change by any path, or a count made elsewhere, shows.
    struct CountedTiles
    {
        CCellsSnapshot from;            // the cells, sizes and cost figures counted
        std::vector<BYTE> to;           // what the count wrote
    };
    CountedTiles m_countedTiles;
    BYTE m_brushLost[256];           // colours the brush has painted over in this stroke

    // ---- Texture loading ----------------------------------------------------------------------
    // Textures are loaded after a paint that found them wanting, never inside one: loading
    // takes time and may report a bad file.
    enum { WM_LOAD_TILE_TEXTURES = WM_APP + 0x107 };
    // The textures flag for this paint: 0 while the document's squares were made for another
    // size or palette. Asks, once, for a load when some are wanting.
    int CheckTileTextures();
    afx_msg LRESULT OnLoadTileTextures(WPARAM, LPARAM);
    BOOL m_textureLoadAsked = FALSE;

    DECLARE_MESSAGE_MAP()
};
