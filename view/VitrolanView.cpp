#include "VitrolanView.h"

#include <algorithm>
#include <string.h>
#include <tmmintrin.h>

#include "AfxApp.h"
#include "AfxFrame.h"
#include "AfxPrint.h"
#include "AfxRes.h"
#include "Paving.h"
#include "Pdf.h"
#include "Plaque.h"
#include "ShpRectangle.h"
#include "TileRenderer.h"

IMPLEMENT_DYNCREATE(CVitrolanView, CView)

BEGIN_MESSAGE_MAP(CVitrolanView, CView)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
    ON_MESSAGE(WM_LOAD_TILE_TEXTURES, OnLoadTileTextures)
END_MESSAGE_MAP()

namespace
{

// Height of the title footer of a printed page, and its distance from the page's bottom,
// in device units.
const int kFooterHeight = 70;

// The codes a scroll bar sends for a move; the end of a scroll moves nothing.
bool MovesOrigin(UINT nSBCode)
{
    return nSBCode <= SB_RIGHT;
}

// Diamonds, hexagons and scales overlap their rows: the last row needs room below it.
bool HasOverlappingRows(int nPavingType)
{
    return nPavingType == PavingDiamonds || nPavingType == PavingHexagons ||
           nPavingType == PavingScales1 || nPavingType == PavingScales2;
}

// R, G, B bytes to the words B, G, R, 0 of a 32-bit device-independent bitmap.
void RgbToWords(const BYTE* source, DWORD* target, size_t count)
{
    for (size_t x = 0; x < count; ++x, source += 3)
        target[x] = ((DWORD)source[0] << 16) | ((DWORD)source[1] << 8) | source[2];
}

// The same four pixels at a time, one byte shuffle each.
__attribute__((target("ssse3"))) void RgbToWordsSsse3(const BYTE* source, DWORD* target,
                                                       size_t count)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    size_t x = 0;
    // Each load reads 16 bytes for 12: the last pixels go the plain way.
    for (; x + 6 <= count; x += 4)
    {
        const __m128i rgb = _mm_loadu_si128((const __m128i*)(source + 3 * x));
        _mm_storeu_si128((__m128i*)(target + x), _mm_shuffle_epi8(rgb, order));
    }
    RgbToWords(source + 3 * x, target + x, count - x);
}

// What CRasterImage::DrawToDC draws, with the conversion of the bytes that a paint of the
// whole window spends most of its copy on done a vector at a time. Unstretched, the picture
// goes in bands of rows small enough for the converted words to be copied out while still in
// the cache.
void DrawRgbImage(CDC* pDC, const CRasterImage& image, const RECT& rect)
{
    HDC hdc = pDC != NULL ? pDC->GetSafeHdc() : NULL;
    if (hdc == NULL || image.type != 1 || image.data == NULL || image.width <= 0 ||
        image.height <= 0 || (ULONGLONG)image.width * (ULONGLONG)image.height > image.size)
        return;
    const bool bStretched = rect.right - rect.left != image.width ||
                            rect.bottom - rect.top != image.height;
    const int bandRows = bStretched ? image.height
                                    : std::min(image.height, std::max(1, 131072 / image.width));
    static std::vector<DWORD> s_bits;
    const size_t bandCount = (size_t)image.width * bandRows;
    if (s_bits.size() < bandCount)
        s_bits.resize(bandCount);
    static const bool s_bShuffle = __builtin_cpu_supports("ssse3");
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int y = 0; y < image.height; y += bandRows)
    {
        const int rows = std::min(bandRows, image.height - y);
        const BYTE* source = image.data + 3 * (size_t)y * image.width;
        const size_t count = (size_t)image.width * rows;
        if (s_bShuffle)
            RgbToWordsSsse3(source, s_bits.data(), count);
        else
            RgbToWords(source, s_bits.data(), count);
        info.bmiHeader.biHeight = -rows;
        if (bStretched)
            StretchDIBits(hdc, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, 0, 0, image.width, image.height,
                          s_bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
        else
            StretchDIBits(hdc, rect.left, rect.top + y, image.width, rows, 0, 0, image.width,
                          rows, s_bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
}

} // namespace

CVitrolanView::CVitrolanView()
    : m_originCol(0), m_originRow(0), m_lastDownX(-1), m_lastDownY(-1), m_drag(0),
      m_grabbedHandle(CShape::HitNothing), m_anchorCol(0), m_anchorRow(0),
      m_selectionDragged(FALSE), m_selectionOnBlock(FALSE), m_pOldShapeBrush(NULL),
      m_pOldShapePen(NULL),
      m_clickedCol(0), m_clickedX(0), m_clickedRow(0), m_clickedY(0), m_squareCut(0),
      m_textures(0), m_pPdf(new CPdf), m_page(), m_pOldPageFont(NULL)
{
    memset(m_brushLost, 0, sizeof(m_brushLost));
    m_clipRgn.CreateRectRgn(0, 0, 0, 0);
}

CVitrolanView::~CVitrolanView()
{
    delete m_pPdf;
    m_areaImage.Free();
}

CVitrolanView* CVitrolanView::GetActiveView()
{
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    if (pFrame == NULL)
        return NULL;
    return DYNAMIC_DOWNCAST(CVitrolanView, pFrame->GetActiveView());
}

void CVitrolanView::SetScrollOrigin(int nCol, int nRow)
{
    m_originCol = std::max(nCol, 0);
    m_originRow = std::max(nRow, 0);
}

// ---- Drawing -----------------------------------------------------------------------------------

void CVitrolanView::OnDraw(CDC* pDC)
{
    CVitrolanDoc* pDoc = GetDocument();
    CRect rectClient;
    GetClientRect(&rectClient);
    pDoc->m_screenWidth = rectClient.Width();
    pDoc->m_screenHeight = rectClient.Height();
    if (!pDoc->m_loaded)
        return;

    PrepareRendering();
    // A paint of part of the window, as after a tool's click, renders only that part.
    CRect rectArea;
    pDC->GetClipBox(&rectArea);
    CPoint ptImage(0, 0);
    const CRasterImage* pImage = &pDoc->m_screenImage;
    if (pDC->IsPrinting() || IsPdfOpen() || !RenderScreenArea(rectArea, ptImage))
        RenderScreenImage();
    else
        pImage = &m_areaImage;
    // With a PDF open the plan and chart pages are painted here instead.
    if (!IsPdfOpen())
    {
        // The picture covers the window: only what lies beyond it needs the background.
        EraseBackground(pDC, CRect(ptImage, CSize(pImage->width, pImage->height)));
        DrawScreen(pDC, rectClient, *pImage, ptImage);
    }
    else
    {
        EraseBackground(pDC);
        DrawPdfPage(pDC);
    }
}

void CVitrolanView::PrepareRendering()
{
    CVitrolanDoc* pDoc = GetDocument();
    if (!pDoc->m_plaquesValid)
        pDoc->BuildPlaques();
    BuildTileMasks();
    CountTiles();
    if (pDoc->affichage != 0 && pDoc->m_rebuildTileImages)
    {
        CWaitCursor wait;
        pDoc->m_imagePalette.BuildTileImages(
            pDoc->affichage, pDoc->m_colourCount, pDoc->m_tileSize, pDoc->impression,
            &pDoc->m_tilePalette, pDoc->m_pavingType, pDoc->m_tileMasks[0],
            pDoc->m_tileMasks[1], pDoc->m_tileCounts[0], pDoc->m_tileCounts[1],
            pDoc->m_tileCounts[2], pDoc->m_tileCounts[3], pDoc->m_tileCounts[4]);
        pDoc->m_rebuildTileImages = 0;
    }
    m_textures = ComputeTexturesFlag() ? CheckTileTextures() : 0;
    m_squareCut = ComputeSquareCutFlag();
}

void CVitrolanView::EnsureScreenImage()
{
    CVitrolanDoc* pDoc = GetDocument();
    CRasterImage& image = pDoc->m_screenImage;
    // The picture is made at the screen's size; a closed document has none, and a view may
    // be larger than the screen.
    if (image.data == NULL || image.type != 1 || image.width < pDoc->m_screenWidth ||
        image.height < pDoc->m_screenHeight)
        image.Create(1, std::max(std::max(image.width, pDoc->m_screenWidth), 1),
                     std::max(std::max(image.height, pDoc->m_screenHeight), 1));
}

void CVitrolanView::RenderAt(CRasterImage& image, int nFirstCol, int nFirstRow)
{
    CVitrolanDoc* pDoc = GetDocument();
    int hit[5];
    RenderMosaic(&image, pDoc->affichage, &pDoc->m_workingMap, pDoc->m_tileSize,
                 pDoc->m_showJoints, pDoc->m_cols, pDoc->m_rows, nFirstCol, nFirstRow,
                 pDoc->m_pavingType, pDoc->m_imagePalette.m_tileImages.GetData(),
                 pDoc->m_tileMasks[0], pDoc->m_tileMasks[1], 0, 0, &hit[0], &hit[1], &hit[2],
                 &hit[3], &hit[4], pDoc->m_imagePalette.m_labelStates, m_squareCut, m_textures,
                 pDoc->m_textureCache.GetData(), &pDoc->m_colourTable[0][0],
                 pDoc->m_imagePalette.m_colours, pDoc->m_tilePalette.m_colours,
                 pDoc->m_imagePalette.m_paletteKind, pDoc->m_imagePalette.m_notes);
}

void CVitrolanView::RenderScreenImage()
{
    EnsureScreenImage();
    RenderAt(GetDocument()->m_screenImage, m_originCol, m_originRow);
}

BOOL CVitrolanView::RenderScreenArea(const CRect& rectArea, CPoint& ptImage)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int n = pDoc->m_tileSize;
    CRect rect;
    if (!rect.IntersectRect(&rectArea, CRect(0, 0, pDoc->m_screenWidth, pDoc->m_screenHeight)))
        return FALSE;
    // The whole window, or tile sizes whose rows the renderer places otherwise than the
    // paving geometry (odd sizes), are rendered whole.
    if (rect == CRect(0, 0, pDoc->m_screenWidth, pDoc->m_screenHeight) || n < 2 || n % 2 != 0 ||
        P < 0 || P >= PavingTypeCount)
        return FALSE;

    // The renderer starts a picture at the first column and row it is given, and a tile
    // there shows what the tiles before it would have covered only from the next tile on: the
    // picture starts a column and two rows before the area (a pair of triangle rows).
    const int R = pDoc->m_rows;
    const int k = std::max(rect.left / n - 1, 0);
    const int y0 = RowToPixelY(P, n, R, m_originRow, 0);
    int j = RowAtPixelY(P, n, R, y0 + rect.top, 0) - m_originRow - 2;
    if (SharesBandWithRowAbove(P, R, m_originRow + j))
        j--;
    j = std::max(j, 0);
    ptImage = CPoint(k * n, RowToPixelY(P, n, R, m_originRow + j, 0) - y0);
    if (ptImage.x > rect.left || ptImage.y > rect.top)
        return FALSE;

    m_areaImage.Create(1, rect.right - ptImage.x, rect.bottom - ptImage.y);
    RenderAt(m_areaImage, m_originCol + k, m_originRow + j);
    EnsureScreenImage();
    CRasterImage& screen = pDoc->m_screenImage;
    for (int y = rect.top; y < rect.bottom; y++)
        memcpy(screen.data + 3 * ((size_t)y * screen.width + rect.left),
               m_areaImage.data +
                   3 * ((size_t)(y - ptImage.y) * m_areaImage.width + rect.left - ptImage.x),
               3 * (size_t)rect.Width());
    return TRUE;
}

void CVitrolanView::DrawScreen(CDC* pDC, const CRect& rectClient, const CRasterImage& image,
                               CPoint ptImage)
{
    CVitrolanDoc* pDoc = GetDocument();
    DrawRgbImage(pDC, image, CRect(ptImage, CSize(image.width, image.height)));

    m_clipRgn.DeleteObject();
    m_clipRgn.CreateRectRgnIndirect(&rectClient);
    pDC->SelectClipRgn(&m_clipRgn);
    if (pDoc->m_showPlaques)
        DrawPlaques(pDC);
    // The selection being dragged is a rubber band, drawn inverted as the moves draw it, so
    // that the next move takes it off again.
    if (pDoc->m_selectTool && pDoc->m_selection != NULL)
    {
        if (m_drag)
            DrawShapeXor(pDC, pDoc->m_selection, TRUE);
        else
            DrawShape(pDC, pDoc->m_selection);
    }
    if (pDoc->m_textStampTool && pDoc->m_stampShape != NULL)
        DrawShape(pDC, pDoc->m_stampShape);
    // The clip goes with its region: a printed page's footer lies below the client area.
    pDC->SelectClipRgn(NULL);
    m_clipRgn.DeleteObject();
}

void CVitrolanView::DrawPlaques(CDC* pDC)
{
    CVitrolanDoc* pDoc = GetDocument();
    if (!pDoc->m_plaquesValid)
        pDoc->BuildPlaques();
    POSITION pos = pDoc->m_plaques.GetHeadPosition();
    while (pos != NULL)
    {
        CPlaque* pPlaque = (CPlaque*)pDoc->m_plaques.GetNext(pos);
        pPlaque->Draw(pDC, pDoc->m_tileSize, pDoc->m_cols, pDoc->m_rows, pDoc->grillescouleur,
                      pDoc->numerosgrille, m_originCol, m_originRow, 0, 0, 0, 1);
    }
}

void CVitrolanView::DrawShape(CDC* pDC, CShape* pShape)
{
    BeginShapeDraw(pDC, pShape->m_hollow, pShape->m_colour);
    // Handles would mislead while a copied block waits to be pasted.
    pShape->Draw(pDC, GetDocument()->m_copyValid == 0);
    EndShapeDraw(pDC);
}

void CVitrolanView::BuildTileMasks()
{
    CVitrolanDoc* pDoc = GetDocument();
    for (int set = 0; set < 2; set++)
        for (int i = 0; i < CVitrolanDoc::TileMaskCount; i++)
            pDoc->m_tileMasks[set][i].Free();
    const int type = pDoc->m_pavingType;
    const int n = pDoc->m_tileSize;
    if (type < 0 || type >= PavingTypeCount || n < 1)
        return;

    DPoint outer[TileOutlinePoints] = {};
    DPoint inner[TileOutlinePoints] = {};
    if (type != PavingCircles && type != PavingScales1 && type != PavingScales2)
        BuildTileShapeOutline(type, n, outer, inner);
    CRasterImage& shape = pDoc->m_tileMasks[0][type];
    CRasterImage& joint = pDoc->m_tileMasks[1][type];
    shape.Create(0, n, n);
    joint.Create(0, n, n);
    const int a = n / 2;
    switch (type)
    {
    case PavingSquares:
    case PavingCrossedJoints:
        shape.FillBytes(1);
        shape.DrawBorder(2, JointFrameWidth());
        break;
    case PavingDiamonds:
        shape.BuildShapeMask(0, 5, outer, inner, 2);
        shape.SetByte(a, a, 1);
        shape.FloodFill(1, 0);
        break;
    case PavingCircles:
        shape.FillCircle(a, a, (n - 1) / 2, 2);
        break;
    case PavingTriangles:
        // The joint mask holds the triangle of the other orientation.
        shape.BuildShapeMask(0, 4, outer, inner, 2);
        joint.BuildShapeMask(1, 4, outer, inner, 2);
        break;
    case PavingHexagons:
        shape.BuildShapeMask(0, 7, outer, inner, 2);
        break;
    case PavingScales1:
        shape.DrawCircleAndFillTop(a, a, (n - 1) / 2, 2);
        shape.FlipVertical();
        break;
    case PavingScales2:
        shape.DrawCircleAndFillTop(a, a, (n - 1) / 2, 2);
        break;
    }
    if (type != PavingTriangles)
        shape.CopyConvert(&joint);
}

int CVitrolanView::JointFrameWidth() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int n = pDoc->m_tileSize;
    const int e = pDoc->taillecar > 0
                      ? RoundHalfAway((double)pDoc->intercar * n / pDoc->taillecar * 0.5)
                      : 0;
    return e <= 0 ? 1 : std::min(n - 1, e);
}

void CVitrolanView::EraseBackground(CDC* pDC, const CRect& rectCovered)
{
    CRect rect;
    pDC->GetClipBox(&rect);
    // The bands of the clip box above, below, left and right of the covered rectangle.
    CRect covered;
    if (!covered.IntersectRect(&rect, &rectCovered))
        covered = CRect(rect.left, rect.top, rect.left, rect.top);
    const CRect bands[4] = {CRect(rect.left, rect.top, rect.right, covered.top),
                            CRect(rect.left, covered.bottom, rect.right, rect.bottom),
                            CRect(rect.left, covered.top, covered.left, covered.bottom),
                            CRect(covered.right, covered.top, rect.right, covered.bottom)};
    const BYTE* colour = GetDocument()->m_colourTable[0];
    CBrush brush;
    if (!brush.CreateSolidBrush(RGB(colour[0], colour[1], colour[2])))
        return;
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    for (const CRect& band : bands)
        if (band.Width() > 0 && band.Height() > 0)
            pDC->PatBlt(band.left, band.top, band.Width(), band.Height(), PATCOPY);
    pDC->SelectObject(pOldBrush);
}

namespace
{

void AppendBytes(std::vector<BYTE>& bytes, const void* pData, size_t nSize)
{
    const BYTE* p = (const BYTE*)pData;
    bytes.insert(bytes.end(), p, p + nSize);
}

// Everything CountTilesPerColour writes.
void AppendCounts(const CVitrolanDoc& d, std::vector<BYTE>& bytes)
{
    AppendBytes(bytes, d.m_tileCounts, sizeof(d.m_tileCounts));
    AppendBytes(bytes, &d.m_cellCount, sizeof(d.m_cellCount));
    AppendBytes(bytes, &d.m_borderCellCount, sizeof(d.m_borderCellCount));
    AppendBytes(bytes, d.m_countTotals, sizeof(d.m_countTotals));
    AppendBytes(bytes, d.m_colourCosts, sizeof(d.m_colourCosts));
}

} // namespace

void CVitrolanView::CountTiles()
{
    CVitrolanDoc* pDoc = GetDocument();
    const CRasterImage& map = pDoc->m_workingMap;
    const C2Palette& palette = pDoc->m_imagePalette;
    // What the count reads besides the cells: sizes and cost figures.
    const int sizes[3] = {pDoc->m_cols, pDoc->m_rows, palette.m_costDivisor};
    std::vector<BYTE> figures;
    AppendBytes(figures, sizes, sizeof(sizes));
    AppendBytes(figures, palette.m_values, sizeof(palette.m_values));
    // What it writes, as this view's count left it: a count made elsewhere since may differ.
    std::vector<BYTE> to;
    to.reserve(m_countedTiles.to.size());
    AppendCounts(*pDoc, to);
    if (m_countedTiles.from.Holds(map, figures.data(), figures.size()) && to == m_countedTiles.to)
        return;

    pDoc->CountTilesPerColour();
    m_countedTiles.from.Take(map, figures.data(), figures.size());
    to.clear();
    AppendCounts(*pDoc, to);
    m_countedTiles.to.swap(to);
}

int CVitrolanView::ComputeTexturesFlag() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (!pDoc->m_texturedTiles)
        return 0;
    if (pDoc->m_tilePalette.m_paletteKind >= 1)
        return 1;
    const int nCount = std::min<int>(pDoc->m_tileColourCount, C2Palette::ColourCount);
    for (int i = 0; i < nCount; i++)
        if (!pDoc->m_tilePalette.m_notes[i].IsEmpty())
            return 1;
    return 0;
}

int CVitrolanView::ComputeSquareCutFlag() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return pDoc->m_pavingType == PavingSquares && pDoc->m_countTotals[1] != 0 &&
                   pDoc->m_borderCellCount != 0
               ? 1
               : 0;
}

// ---- Selection shapes --------------------------------------------------------------------------

void CVitrolanView::BeginShapeDraw(CDC* pDC, BYTE bHollow, int)
{
    m_pOldShapeBrush = pDC->SelectStockObject(bHollow ? NULL_BRUSH : WHITE_BRUSH);
    m_shapePen.DeleteObject();
    m_shapePen.CreatePen(PS_DOT, 0, RGB(0, 0, 0));
    m_pOldShapePen = pDC->SelectObject(&m_shapePen);
}

void CVitrolanView::EndShapeDraw(CDC* pDC)
{
    if (m_pOldShapePen != NULL)
        pDC->SelectObject(m_pOldShapePen);
    if (m_pOldShapeBrush != NULL)
        pDC->SelectObject(m_pOldShapeBrush);
    m_shapePen.DeleteObject();
    m_pOldShapePen = NULL;
    m_pOldShapeBrush = NULL;
}

void CVitrolanView::InvalidateShape(CShape* pShape)
{
    // Without a window InvalidateRect would redraw every window of the desktop.
    if (GetSafeHwnd() == NULL || pShape == NULL)
        return;
    if (pShape->m_handlesShown)
        for (int i = 0; i < CShape::HandleCount; i++)
        {
            CRect rect = pShape->GetHandleRect(i);
            rect.InflateRect(8, 8);
            InvalidateRect(&rect, TRUE);
        }
    const int z = GetDocument()->m_tileSize;
    const CRect& r = pShape->m_rect;
    CRect strips[4] = {CRect(r.left, r.top - z, r.right, r.top + z),
                       CRect(r.left, r.bottom - z, r.right, r.bottom + z),
                       CRect(r.left - z, r.top, r.left + z, r.bottom),
                       CRect(r.right - z, r.top, r.right + z, r.bottom)};
    for (CRect& strip : strips)
    {
        // A rectangle being drawn may run right to left or bottom to top.
        strip.NormalizeRect();
        InvalidateRect(&strip, TRUE);
    }
}

void CVitrolanView::DrawShapeXor(CDC* pDC, CShape* pShape, BOOL bXor)
{
    BeginShapeDraw(pDC, 1, pShape->m_colour);
    if (bXor)
    {
        const int nOldRop = pDC->SetROP2(R2_NOT);
        pShape->Draw(pDC, TRUE);
        pDC->SetROP2(nOldRop);
    }
    else
    {
        pShape->Draw(pDC, TRUE);
    }
    EndShapeDraw(pDC);
}

// ---- Document updates and scrolling ------------------------------------------------------------

void CVitrolanView::OnUpdate(CView*, LPARAM, CObject*)
{
    CVitrolanDoc* pDoc = GetDocument();
    const CPoint ptOld(m_originCol, m_originRow);
    const ScrollBarLayout layout = ComputeScrollBarLayout(GetClientSizeWithoutBars());
    if (pDoc->m_recentreScroll)
    {
        RecentreAfterZoomOut(layout.size);
        pDoc->m_recentreScroll = 0;
    }
    ApplyScrollBars(layout);
    ShiftShapes(ptOld);
    Invalidate(TRUE);
}

void CVitrolanView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    // The bars follow the window, so that no part of the mosaic hides behind a missing one.
    if (GetDocument() == NULL)
        return;
    const CPoint ptOld(m_originCol, m_originRow);
    ApplyScrollBars(ComputeScrollBarLayout(GetClientSizeWithoutBars()));
    ShiftShapes(ptOld);
}

void CVitrolanView::RecentreAfterZoomOut(CSize sizeClient)
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    m_originCol += TilesAcross(P, z + 2, sizeClient.cx, 0) - TilesAcross(P, z, sizeClient.cx, 0);
    m_originRow += TilesDown(P, z + 2, sizeClient.cy, 0) - TilesDown(P, z, sizeClient.cy, 0);
    m_originCol = std::max(m_originCol, 0);
    m_originRow = std::max(m_originRow, 0);
}

CSize CVitrolanView::GetClientSizeWithoutBars() const
{
    CRect rect;
    GetClientRect(&rect);
    CSize size = rect.Size();
    const DWORD dwStyle = GetStyle();
    if (dwStyle & WS_VSCROLL)
        size.cx += GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_HSCROLL)
        size.cy += GetSystemMetrics(SM_CYHSCROLL);
    return size;
}

CVitrolanView::ScrollBarLayout CVitrolanView::ComputeScrollBarLayout(CSize sizeFull) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    const int nWidth = pDoc->m_loaded ? TileToPixelX(P, z, pDoc->m_cols, 0) : 0;
    const int nHeight = pDoc->m_loaded ? RowToPixelY(P, z, pDoc->m_rows, pDoc->m_rows, 0) : 0;
    const int cxBar = GetSystemMetrics(SM_CXVSCROLL);
    const int cyBar = GetSystemMetrics(SM_CYHSCROLL);

    // One bar takes room from the other direction, which may then need its bar too.
    ScrollBarLayout layout;
    layout.bHorz = sizeFull.cx < nWidth;
    layout.bVert = sizeFull.cy < nHeight;
    if (layout.bHorz && !layout.bVert)
        layout.bVert = sizeFull.cy - cyBar < nHeight;
    if (layout.bVert && !layout.bHorz)
        layout.bHorz = sizeFull.cx - cxBar < nWidth;
    layout.size = CSize(sizeFull.cx - (layout.bVert ? cxBar : 0),
                        sizeFull.cy - (layout.bHorz ? cyBar : 0));
    return layout;
}

void CVitrolanView::ApplyScrollBars(const ScrollBarLayout& layout)
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;

    // Past the last column (row) nothing of the mosaic shows; a hidden bar cannot bring the
    // view back, so its origin returns to the start.
    m_originCol = layout.bHorz ? std::max(std::min(m_originCol, pDoc->m_cols - 1), 0) : 0;
    m_originRow = layout.bVert ? std::max(std::min(m_originRow, pDoc->m_rows - 1), 0) : 0;

    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = 0;
    if (layout.bHorz)
    {
        info.nMax = pDoc->m_cols - 1;
        info.nPage = (UINT)std::max(TilesAcross(P, z, layout.size.cx, 0), 0);
        info.nPos = m_originCol;
        SetScrollInfo(SB_HORZ, &info, TRUE);
    }
    ShowScrollBar(SB_HORZ, layout.bHorz);
    if (layout.bVert)
    {
        info.nMax = pDoc->m_rows - 1;
        info.nPage = (UINT)std::max(RoundHalfAway(TilesDown(P, z, layout.size.cy, 0)), 0);
        info.nPos = m_originRow;
        SetScrollInfo(SB_VERT, &info, TRUE);
    }
    ShowScrollBar(SB_VERT, layout.bVert);
}

void CVitrolanView::StorePavingTypeInShapes()
{
    CVitrolanDoc* pDoc = GetDocument();
    if (pDoc->m_selection != NULL)
        pDoc->m_selection->m_pavingType = pDoc->m_pavingType;
    if (pDoc->m_stampShape != NULL)
        pDoc->m_stampShape->m_pavingType = pDoc->m_pavingType;
}

void CVitrolanView::ShiftShapes(CPoint ptOld)
{
    CVitrolanDoc* pDoc = GetDocument();
    StorePavingTypeInShapes();
    // Rows as the paving counts them: on triangles of an odd count from row 1.
    const int P = pDoc->m_pavingType;
    const int R = pDoc->m_rows;
    CShape* shapes[2] = {pDoc->m_selection, pDoc->m_stampShape};
    for (CShape* pShape : shapes)
    {
        if (pShape == NULL)
            continue;
        if (ptOld.x != m_originCol)
            pShape->ScrollX(ptOld.x, m_originCol, pDoc->m_tileSize, P);
        if (ptOld.y != m_originRow)
            pShape->ScrollY(PavingRowIndex(P, R, ptOld.y), PavingRowIndex(P, R, m_originRow),
                            pDoc->m_tileSize, P);
    }
    KeepSelectionOnBlock();
}

int CVitrolanView::NewOriginCol(UINT nSBCode, UINT nPos, int nClientWidth) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int x = m_originCol;
    const int cols = pDoc->m_cols;
    const int T = TilesAcross(pDoc->m_pavingType, pDoc->m_tileSize, nClientWidth, 1);
    int nNew = x;
    switch (nSBCode)
    {
    case SB_LINELEFT: nNew = x - 1; break;
    case SB_LINERIGHT: nNew = std::min(x + 1, cols - T); break;
    case SB_PAGELEFT: nNew = x - T; break;
    case SB_PAGERIGHT: nNew = std::min(x + T, cols - T); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = (int)nPos; break;
    case SB_LEFT: nNew = 0; break;
    // Only the last column shows.
    case SB_RIGHT: nNew = cols - 1; break;
    default: return x;
    }
    // A mosaic narrower than the window puts the stops below 0.
    return std::max(nNew, 0);
}

int CVitrolanView::NewOriginRow(UINT nSBCode, UINT nPos, int nClientHeight) const
{
    const CVitrolanDoc* pDoc = GetDocument();
    const int P = pDoc->m_pavingType;
    const int z = pDoc->m_tileSize;
    const int y = m_originRow;
    const int R = pDoc->m_rows;
    const int D0 = RoundHalfAway(TilesDown(P, z, nClientHeight, 0));
    const int D1 = RoundHalfAway(TilesDown(P, z, nClientHeight, 1));
    const bool bOverlapping = HasOverlappingRows(P);
    const int nLimit = bOverlapping ? R - D1 - 1 : R - D0;
    int nNew = y;
    switch (nSBCode)
    {
    case SB_LINEUP: nNew = y - 1; break;
    case SB_LINEDOWN: nNew = std::min(y + 1, nLimit); break;
    case SB_PAGEUP: nNew = y - D1; break;
    case SB_PAGEDOWN: nNew = std::min(y + (bOverlapping ? D1 : D0), nLimit); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = (int)nPos; break;
    case SB_TOP: nNew = 0; break;
    case SB_BOTTOM: nNew = R - 1; break;
    default: return y;
    }
    return std::max(nNew, 0);
}

// The tools scroll by calling these while they handle a mouse move or a key: the default
// handling belongs to a scroll message only.
void CVitrolanView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CRect rect;
    GetClientRect(&rect);
    const CPoint ptOld(m_originCol, m_originRow);
    m_originCol = NewOriginCol(nSBCode, nPos, rect.Width());
    SetScrollPos(SB_HORZ, m_originCol, TRUE);
    ShiftShapes(ptOld);
    if (GetCurrentMessage()->message == WM_HSCROLL)
        CView::OnHScroll(nSBCode, nPos, pScrollBar);
    if (MovesOrigin(nSBCode))
        Invalidate(TRUE);
}

void CVitrolanView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CRect rect;
    GetClientRect(&rect);
    const CPoint ptOld(m_originCol, m_originRow);
    m_originRow = NewOriginRow(nSBCode, nPos, rect.Height());
    SetScrollPos(SB_VERT, m_originRow, TRUE);
    ShiftShapes(ptOld);
    if (GetCurrentMessage()->message == WM_VSCROLL)
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
    if (MovesOrigin(nSBCode))
        Invalidate(TRUE);
}

// ---- Printing ----------------------------------------------------------------------------------

BOOL CVitrolanView::IsPlanPageSet() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return pDoc->m_planPage || pDoc->m_infoPage || pDoc->m_paletteChartPage;
}

BOOL CVitrolanView::OnPreparePrinting(CPrintInfo* pInfo)
{
    // A plan page prints on the printer as it is, without asking.
    const BOOL bDirect = IsPlanPageSet();
    if (bDirect)
        pInfo->m_bDirect = TRUE;
    const BOOL bResult = DoPreparePrinting(pInfo);
    if (bDirect)
        pInfo->m_bDirect = FALSE;
    return bResult;
}

void CVitrolanView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrint(pDC, pInfo);
    if (!IsPlanPageSet())
        PrintTitleFooter(pDC);
}

void CVitrolanView::PrintTitleFooter(CDC* pDC)
{
    CFont font;
    if (!font.CreateFont(kFooterHeight, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial Unicode MS"))
        return;
    CFont* pOldFont = pDC->SelectObject(&font);
    pDC->TextOut(pDC->GetDeviceCaps(HORZRES) / 2, pDC->GetDeviceCaps(VERTRES) - kFooterHeight,
                 GetDocument()->GetTitle());
    pDC->SelectObject(pOldFont);
}
