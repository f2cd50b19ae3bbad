// The picture page of the laying plan: a heading and the plan picture of the whole mosaic.
#include "VitrolanView.h"

#include "LangText.h"
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
