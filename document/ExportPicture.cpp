#include "ExportPicture.h"

#include <algorithm>

#include "AfxFileReplacement.h"
#include "AfxImageCodecs.h"
#include "AfxPath.h"
#include "LangText.h"
#include "Paving.h"
#include "TextIds.h"
#include "VitrolanDoc.h"

LPCTSTR ExportExtension(int nType)
{
    static const LPCTSTR extensions[ExportTypeCount] = {L".jpg", L".png", L".webp"};
    return nType >= 0 && nType < ExportTypeCount ? extensions[nType] : extensions[0];
}

int ExportZoom(int nTileSize)
{
    const int z = nTileSize % 2 != 0 ? nTileSize + 1 : nTileSize;
    return std::max(z, 4);
}

SIZE ExportPictureSize(int nType, int z, int nCols, int nRows)
{
    // Squares and crossed joints end with their last tile; the other pavings reach one
    // pixel into the row after the last, triangles excepted.
    const BOOL bSquare = nType == PavingSquares || nType == PavingCrossedJoints;
    SIZE size;
    size.cx = TileToPixelX(nType, z, nCols, bSquare ? 0 : 1);
    if (bSquare || nType == PavingTriangles)
        size.cy = RowToPixelY(nType, z, nRows, nRows, 0);
    else
        size.cy = RowToPixelY(nType, z, nRows, nRows - 1, 0) + 1;
    return size;
}

CString ExportBaseName(const CString& strPath, int nExportMode)
{
    const int nCut = strPath.Find(L".ms2");
    CString strBase = nCut > 0 ? strPath.Left(nCut) : strPath;
    strBase += nExportMode == 2 ? L"_V" : L"_E";
    return strBase;
}

CString FilePartOfPath(const CString& strPath)
{
    return strPath.Mid(strPath.ReverseFind(L'\\') + 1);
}

FittedPicture FitPictureInSquare(int w, int h, int nSide)
{
    FittedPicture fit = {0, 0, 0, h < w};
    if (w < 1 || h < 1)
        return fit;
    const double dAspect = (double)w / h;
    int t;
    if (fit.bLandscape)
        t = (int)(nSide / dAspect);
    else
        t = (int)(dAspect * nSide);
    // A picture far longer than wide would lose its short side altogether.
    t = std::min(std::max(t, 1), nSide);
    fit.marginPercent = (int)((nSide - t) * 0.5 / nSide * 100);
    fit.width = fit.bLandscape ? nSide : t;
    fit.height = fit.bLandscape ? t : nSide;
    return fit;
}

BOOL WriteExportPicture(const CString& strPath, const cv::Mat& picture)
{
    if (picture.empty())
        return FALSE;
    // Encoded in memory in the format of the extension, then written whole or not at all:
    // the encoders do not all notice a write that fails.
    const int nDot = strPath.ReverseFind(L'.');
    if (nDot < 0 || nDot < strPath.ReverseFind(L'\\'))
        return FALSE;
    std::vector<unsigned char> bytes;
    try
    {
        if (!AfxImEncode(std::string(CStringA(strPath.Mid(nDot)).GetString()), picture, bytes))
            return FALSE;
    }
    catch (const cv::Exception&)
    {
        return FALSE;
    }
    return AfxWriteWholeFile(strPath, bytes.data(), bytes.size()) == NO_ERROR;
}

cv::Mat ReadExportPicture(const CString& strPath)
{
    const CStringA strUnixPath = AfxGetUnixPath(strPath);
    if (strUnixPath.GetLength() == 0)
        return cv::Mat();
    try
    {
        return AfxImRead(std::string(strUnixPath.GetString()), cv::IMREAD_COLOR);
    }
    catch (const cv::Exception&)
    {
        return cv::Mat();
    }
}

void ReportUnwritablePicture(const CString& strPath)
{
    if (CVitrolanDoc::s_uiHooks.pfnMessageBox == NULL)
        return;
    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_PICTURE_NOT_WRITTEN), (LPCTSTR)strPath);
    CVitrolanDoc::s_uiHooks.pfnMessageBox(strMessage);
}
