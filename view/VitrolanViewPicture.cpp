// The picture page of the laying plan: a heading and the plan picture of the whole mosaic,
// while the window shows the whole mosaic fitted to it.
#include "VitrolanView.h"

#include <algorithm>

#include "ExportPicture.h"
#include "LangText.h"
#include "Paving.h"
#include "Pdf.h"
#include "TextIds.h"
#include "VitrolanDoc.h"

namespace
{

const int kHeadingSize = 14;
const int kAlignCentre = 1;
const int kAlignMiddle = 4;
// The plan picture's longer side in pixels, one point each on the page.
const int kPictureSide = 512;
// Where the picture's lower-left corner lies, in hundredths of a millimetre from the left
// edge and above the bottom edge, before its centring offsets.
const int kPictureLeft = 1250;
const int kPictureAboveBottom = 5500;

}   // namespace

// The page is laid out in hundredths of a millimetre, whatever the document's units.
void CVitrolanView::DrawPicturePage()
{
    const CVitrolanDoc* pDoc = GetDocument();
    CPdf& pdf = *m_pPdf;
    CBrush* pOldBrush = pdf.SelectBrush(&m_whiteBrush);
    CPen* pOldPen = pdf.SelectPen(&m_jointPen);
    CFont* pOldFont = pdf.SelectFont(&m_tileFonts[0]);

    pdf.SetTextColor(RGB(0, 0, 0));
    CString strHeading;
    strHeading.Format(L"%s", (LPCTSTR)GetLangText(TXT_PRINT_PLAN));
    pdf.DrawText(kHeadingSize, strHeading, CRect(0, -2000, pdf.m_nPaperWidth, -6000),
                 kAlignCentre, kAlignMiddle);

    const int x0 = pdf.FromPageX((int)(pDoc->m_thumbOffsetX / 100.0 * kPictureSide)) +
                   kPictureLeft;
    const int y0 = pdf.FromPageY((int)(pDoc->m_thumbOffsetY / 100.0 * kPictureSide)) -
                   pdf.m_nPaperHeight + kPictureAboveBottom;
    pdf.PlaceForm(pdf.m_pPictureForm, 1.0, pdf.ToPageX(x0), pdf.ToPageY(y0));

    pdf.SelectBrush(pOldBrush);
    pdf.SelectPen(pOldPen);
    pdf.SelectFont(pOldFont);
}

int CVitrolanView::FittingZoom() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    if (pDoc->m_cols <= 0 || pDoc->m_rows <= 0)
        return 1;
    const int H = pDoc->m_screenHeight;
    return std::max(std::min(H / pDoc->m_rows, H / pDoc->m_cols), 1);
}

// The window shows the mosaic in bands of tiles, each rendered into a picture of the window's
// size and copied, scaled, to its place: a mosaic larger than the window at the smallest
// zoom is shown whole all the same. Each band is rendered from a column and two rows before
// it, so that the tiles that reach into it from there are in its picture too.
void CVitrolanView::DrawWholeMosaicFitted(CDC* pDC)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int cols = pDoc->m_cols, rows = pDoc->m_rows;
    if (!pDoc->m_loaded || cols <= 0 || rows <= 0 || pDC == NULL)
        return;
    pDoc->LimitZoom(FittingZoom());
    pDoc->m_rebuildTileImages = 1;
    PrepareRendering();

    const int P = pDoc->m_pavingType, z = pDoc->m_tileSize;
    const SIZE whole = ExportPictureSize(P, z, cols, rows);
    CRect rectClient;
    GetClientRect(&rectClient);
    const int W = rectClient.Width(), D = rectClient.Height();
    if (whole.cx < 1 || whole.cy < 1 || W < 1 || D < 1)
        return;
    const int nDpiX = pDC->GetDeviceCaps(LOGPIXELSX), nDpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    const double dAspect = nDpiX > 0 && nDpiY > 0 ? (double)nDpiY / nDpiX : 1.0;
    const double dScale = std::min((double)W / whole.cx, D / (whole.cy * dAspect));
    const double dLeft = (W - whole.cx * dScale) / 2;
    const double dTop = (D - whole.cy * dScale * dAspect) / 2;

    // At odd sizes the staggered patterns place their rows otherwise than the paving
    // geometry: one band then.
    const BOOL bOneBand =
        z % 2 != 0 && P != PavingSquares && P != PavingCrossedJoints;
    CRasterImage band;
    band.Create(1, bOneBand ? whole.cx : std::max(W, 4 * z),
                bOneBand ? whole.cy : std::max(D, 4 * z));
    if (band.data == NULL)
        return;
    auto X = [&](int c) { return c >= cols ? (int)whole.cx : TileToPixelX(P, z, c, 0); };
    auto Y = [&](int r) { return r >= rows ? (int)whole.cy : TileToPixelY(P, z, r, 0); };
    const int nOldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    CRasterImage piece;
    for (int r = 0; r < rows;)
    {
        const int r0 = bOneBand ? 0 : std::max(r - 2, 0);
        int nDown = bOneBand ? rows - r : 1;
        while (r + nDown < rows && Y(r + nDown + 1) - Y(r0) <= band.height)
            nDown++;
        // A pair of triangle rows stays in one band.
        if (P == PavingTriangles && r + nDown < rows && nDown > 1)
            nDown -= nDown % 2;
        for (int c = 0; c < cols;)
        {
            const int c0 = bOneBand ? 0 : std::max(c - 1, 0);
            int nAcross = bOneBand ? cols - c : 1;
            while (c + nAcross < cols && X(c + nAcross + 1) - X(c0) <= band.width)
                nAcross++;
            RenderAt(band, c0, r0);
            const CRect rectPiece(X(c) - X(c0), Y(r) - Y(r0), X(c + nAcross) - X(c0),
                                  Y(r + nDown) - Y(r0));
            piece.Create(1, std::max(std::min(rectPiece.right, band.width) - rectPiece.left, 1),
                         std::max(std::min(rectPiece.bottom, band.height) - rectPiece.top, 1));
            for (int y = 0; y < piece.height; y++)
                memcpy(piece.data + 3 * (size_t)y * piece.width,
                       band.data + 3 * ((size_t)(rectPiece.top + y) * band.width + rectPiece.left),
                       3 * (size_t)piece.width);
            piece.DrawToDC(pDC, CRect(RoundHalfAway(dLeft + X(c) * dScale),
                                      RoundHalfAway(dTop + Y(r) * dScale * dAspect),
                                      RoundHalfAway(dLeft + X(c + nAcross) * dScale),
                                      RoundHalfAway(dTop + Y(r + nDown) * dScale * dAspect)));
            c += nAcross;
        }
        r += nDown;
    }
    pDC->SetStretchBltMode(nOldMode);
    // The screen's own paint rebuilds them at its zoom.
    pDoc->m_rebuildTileImages = 1;
}
