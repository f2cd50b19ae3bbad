// The laying plan's file: one page of each kind, painted by the view into the PDF layer.
#include "VitrolanView.h"

#include <math.h>

#include "Pdf.h"

int CVitrolanView::OnePlatePerPagePitch() const
{
    const CVitrolanDoc* pDoc = GetDocument();
    return (int)floor((m_page.width - 0.8 * pDoc->m_pitch - m_page.margin) /
                      (pDoc->carplaquex + 1));
}

int CVitrolanView::WritePdfPage(int nPaper, int nIndex)
{
    m_pPdf->StartPage(nPaper);
    RenderPage(nIndex);
    return m_pPdf->EndPage();
}

PlanResult CVitrolanView::WriteLayingPlan(const CString& strPath)
{
    CVitrolanDoc* pDoc = GetDocument();
    const int nPaper = m_pPdf->SetPaperSize(pDoc->format);
    m_page.currentPage = 0;
    InitPageMetrics();

    // The plan pass's pitch, checked before anything is written.
    const int nOldTileSize = pDoc->taillecar;
    const int nOldPitch = pDoc->m_pitch;
    const int nPitch = pDoc->responsive == 1 ? OnePlatePerPagePitch() : nOldPitch;
    BOOL bFits = nPitch - pDoc->intercar > 0;
    if (bFits)
    {
        pDoc->m_pitch = nPitch;
        bFits = PaginatePlaques();
        pDoc->m_pitch = nOldPitch;
    }
    pDoc->ResetPlaquePages();
    if (!bFits)
        return PlanTilesDoNotFit;

    if (m_pPdf->StartPdf(pDoc->m_programFolder, strPath, pDoc->m_exportPath,
                         pDoc->m_thumbPath) == PdfStartFailed)
        return PlanNotWritten;
    InitPageMetrics();
    int nStatus = 0;

    pDoc->m_picturePage = 1;
    nStatus |= WritePdfPage(nPaper, 0);
    pDoc->m_picturePage = 0;

    pDoc->m_planPage = 1;
    if (pDoc->responsive == 1)
    {
        pDoc->m_pitch = nPitch;
        pDoc->taillecar = nPitch - pDoc->intercar;
    }
    PaginatePlaques();
    nStatus |= WritePdfPage(nPaper, 0);
    pDoc->taillecar = nOldTileSize;
    pDoc->m_pitch = nOldPitch;
    pDoc->m_planPage = 0;

    pDoc->PrepareForPrinting();
    CountLegendPages();
    pDoc->m_infoPage = 1;
    nStatus |= WritePdfPage(nPaper, 0);
    pDoc->m_infoPage = 0;

    return m_pPdf->EndPdf() && nStatus == 0 ? PlanWritten : PlanNotWritten;
}
