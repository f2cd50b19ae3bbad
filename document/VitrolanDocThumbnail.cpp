// The plan picture and its thumbnail, made before a laying plan is written.
#include "VitrolanDoc.h"

#include "ExportPicture.h"

namespace
{

const int kThumbnailSide = 128;

}   // namespace

BOOL CVitrolanDoc::MakeThumbnail()
{
    const int nShowPlaques = m_showPlaques;
    m_exportMode = 1;
    m_showPlaques = 1;
    m_exportPath = ExportMosaic(0);
    m_exportMode = 2;
    m_showPlaques = 0;

    const cv::Mat picture = ReadExportPicture(m_exportPath);
    const FittedPicture fit = FitPictureInSquare(picture.cols, picture.rows, kThumbnailSide);
    if (fit.width > 0)
        (fit.bLandscape ? m_thumbOffsetY : m_thumbOffsetX) = fit.marginPercent;
    m_thumbWidth = fit.width;
    m_thumbHeight = fit.height;

    // Only the file name changes: a folder whose name holds "_E." stays where it is.
    const CString strFile = FilePartOfPath(m_exportPath);
    CString strThumbFile = strFile;
    strThumbFile.Replace(L"_E.", L"_V.");
    m_thumbPath = m_exportPath.Left(m_exportPath.GetLength() - strFile.GetLength()) +
                  strThumbFile;

    BOOL bWritten = FALSE;
    if (fit.width > 0)
    {
        cv::Mat thumbnail;
        cv::resize(picture, thumbnail, cv::Size(fit.width, fit.height), 0, 0,
                   cv::INTER_LINEAR);
        bWritten = WriteExportPicture(m_thumbPath, thumbnail);
        if (!bWritten)
            ReportUnwritablePicture(m_thumbPath);
    }
    if (!bWritten)
        m_thumbWidth = m_thumbHeight = 0;

    m_showPlaques = nShowPlaques;
    m_exportMode = 0;
    return bWritten;
}
