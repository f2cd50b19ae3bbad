// The laying plan's file: one page of each kind, painted by the view into the PDF layer.
#include "VitrolanView.h"

#include <math.h>

#include "LangText.h"
#include "Pdf.h"
#include "TextIds.h"

int CVitrolanView::OnePlatePerPagePitch() const
{
    CVitrolanDoc* pDoc = GetDocument();
    // The plate across the page's width, its rulers and the arrows beside it...
    const int nWidest = (int)floor((m_page.width - 0.8 * pDoc->m_pitch - m_page.margin) /
                                   (pDoc->carplaquex + 1));
    // ... then as large as the whole plate still fits on the page: the space a plate takes
    // grows with the pitch.
    const int nSavedPitch = pDoc->m_pitch;
    auto fits = [&](int nPitch) {
        pDoc->m_pitch = nPitch;
        const PlanLayout layout = ComputePlanLayout(nPitch);
        return PlanColumnsIn(layout.gridLimit.right - layout.gridLimit.left) >=
                   pDoc->carplaquex &&
               PlanRowsIn(layout.gridLimit.top - layout.gridLimit.bottom, 0) >=
                   pDoc->carplaquey;
    };
    int nLow = 0, nHigh = nWidest;
    while (nLow < nHigh)
    {
        const int nMiddle = nLow + (nHigh - nLow + 1) / 2;
        if (fits(nMiddle))
            nLow = nMiddle;
        else
            nHigh = nMiddle - 1;
    }
    pDoc->m_pitch = nSavedPitch;
    return nLow;
}

void CVitrolanView::ReportUnshownTexts()
{
    const std::vector<CString>& texts = m_pPdf->GetUnshownTexts();
    if (texts.empty() || CVitrolanDoc::s_uiHooks.pfnMessageBox == NULL)
        return;
    CString strTexts;
    for (const CString& strText : texts)
        strTexts += (strTexts.IsEmpty() ? L"" : L", ") + strText;
    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_TEXTS_WITHOUT_FONT), (LPCTSTR)strTexts);
    CVitrolanDoc::s_uiHooks.pfnMessageBox(strMessage);
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

    const int nOldZoom = pDoc->m_tileSize;
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

    const BOOL bWritten = m_pPdf->EndPdf();
    // The picture page may have lowered the zoom: the scroll bars follow.
    if (pDoc->m_tileSize != nOldZoom)
        pDoc->UpdateAllViews(NULL);
    if (bWritten)
        ReportUnshownTexts();
    return bWritten && nStatus == 0 ? PlanWritten : PlanNotWritten;
}
