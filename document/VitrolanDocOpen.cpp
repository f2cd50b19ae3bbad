// Opening: a ".ms2" document, an older ".mos" mosaic, or a picture that becomes a new mosaic
// of one tile per pixel. All three end in the same rebuilding of maps, plates and tools.
#include "VitrolanDoc.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>
#include <string.h>

#include "AfxApp.h"
#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxImageCodecs.h"
#include "AfxPath.h"
#include "AfxProgress.h"
#include "BmpReader.h"
#include "DocPaths.h"
#include "LangText.h"
#include "OpenCv.h"
#include "PictureSize.h"
#include "TextIds.h"

namespace
{

enum OpenRoad { RoadDocument, RoadOldMosaic, RoadPicture };

// The name decides, by a substring anywhere after the first character, as the program always
// did: "photo.ms2.jpg" is a document.
OpenRoad ChooseRoad(const CString& strPath)
{
    if (strPath.Find(L".ms2") > 0)
        return RoadDocument;
    if (strPath.Find(L".mos") > 0)
        return RoadOldMosaic;
    return RoadPicture;
}

// Bytes per cell side of a map of that document version.
int CellSizeOfVersion(int nVersion)
{
    if (nVersion < 20)
        return 2;
    return nVersion == 20 ? 3 : 4;
}

// An older mosaic predates version 20: its cells are 2 x 2 bytes.
const int kOldMosaicCellSize = 2;
const int kOldPaletteVersion = 9;

// Picture colours: at most this many, fewer when the picture has fewer pixels.
const int kPictureColours = 256;

// A picture of up to this many pixels is clustered whole. A larger one (a photograph of
// millions of pixels) is clustered on an even sample of its pixels, and every pixel then
// takes the nearest colour found: clustering every pixel of a 12-megapixel photograph takes
// minutes and finds colours no closer to it.
const int kClusteredPixels = 200000;
// Pixels in the sample of a larger picture, or all of them when it has fewer.
const int kSampledPixels = 600000;
// Times every pixel takes its nearest colour; before each time but the first, the colours
// move to the mean of their pixels.
const int kAssignPasses = 3;
// The sample is the same at every open of the same picture.
const uint64_t kSampleSeed = 0x5EED1E5;
// Pixels given their nearest colour at a time: bounds the memory of their float copies.
const int kAssignedPixelsAtOnce = 1 << 20;

const int kAttempts = 3;

cv::TermCriteria ClusteringCriteria()
{
    return cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 10, 1.0);
}

// The decoded picture as one label per pixel (row 0 at the top) and its colour centres.
struct ClusteredPicture
{
    int cols = 0;
    int rows = 0;
    cv::Mat labels;    // cols * rows x 1, CV_32S
    cv::Mat centres;   // K x 3, CV_32F, blue-green-red
};

enum PictureResult { PictureRead, PictureUnreadable, PictureTooLarge };

// A picture becomes a mosaic of one tile per pixel: one that would make a grid the program
// cannot hold, or take more memory than the bound while it is clustered, is refused.
bool IsWorkablePictureSize(int nWidth, int nHeight)
{
    return nWidth <= MaxGridSize && nHeight <= MaxGridSize &&
           (LONGLONG)nWidth * nHeight <= MaxPictureTiles;
}

// How far the open has come, in percent, on the progress note of a large picture.
const int kProgressDecoded = 10;
const int kProgressClustered = 70;
const int kProgressAssigned = 90;

// Every pixel of the picture (8-bit, 3 channels) as one row of three floats.
cv::Mat PixelRows(const cv::Mat& picture)
{
    cv::Mat floats;
    picture.convertTo(floats, CV_32F, 1.0, 0.0);
    return floats.reshape(1, picture.rows * picture.cols);
}

// Each centre becomes the mean colour of the pixels labelled with it; one without pixels
// stays where it is.
void MoveCentresToTheirPixels(const cv::Mat& pixels, ClusteredPicture& result)
{
    const int nCentres = result.centres.rows;
    std::vector<double> sums((size_t)nCentres * 3, 0.0);
    std::vector<LONGLONG> counts((size_t)nCentres, 0);
    for (int i = 0; i < pixels.rows; i++)
    {
        const int nLabel = result.labels.at<int>(i);
        const uchar* pPixel = pixels.ptr<uchar>(i);
        double* pSum = &sums[(size_t)nLabel * 3];
        pSum[0] += pPixel[0];
        pSum[1] += pPixel[1];
        pSum[2] += pPixel[2];
        counts[(size_t)nLabel]++;
    }
    for (int k = 0; k < nCentres; k++)
    {
        if (counts[(size_t)k] == 0)
            continue;
        for (int channel = 0; channel < 3; channel++)
            result.centres.at<float>(k, channel) =
                (float)(sums[(size_t)k * 3 + channel] / (double)counts[(size_t)k]);
    }
}

// The large picture's clustering: the colours of an even sample of its pixels, one pixel
// drawn at random from each of kSampledPixels equal runs of pixels, then every pixel
// labelled with its nearest centre. The sample and the starting centres come from generators
// of their own, so the same picture always gives the same colours.
void ClusterSampledPixels(const cv::Mat& picture, ClusteredPicture& result,
                          CProgressNote& progress)
{
    const int nPixels = picture.rows * picture.cols;
    const cv::Mat pixels = picture.reshape(1, nPixels);
    const int nSamples = std::min(kSampledPixels, nPixels);
    cv::Mat samples(nSamples, 3, CV_32F);
    cv::RNG sampleRng(kSampleSeed);
    for (int i = 0; i < nSamples; i++)
    {
        const int nFirst = (int)((LONGLONG)i * nPixels / nSamples);
        const int nNext = (int)((LONGLONG)(i + 1) * nPixels / nSamples);
        const uchar* pPixel = pixels.ptr<uchar>(nFirst + sampleRng.uniform(0, nNext - nFirst));
        float* pSample = samples.ptr<float>(i);
        pSample[0] = pPixel[0];
        pSample[1] = pPixel[1];
        pSample[2] = pPixel[2];
    }

    // One attempt at a time, so that the note moves; the most compact one is kept, as the
    // library keeps it among its own attempts. The library's generator is left as it was.
    const cv::RNG savedRng = cv::theRNG();
    cv::theRNG() = cv::RNG(kSampleSeed);
    double dBest = 0;
    cv::Mat sampleLabels;
    for (int nAttempt = 0; nAttempt < kAttempts; nAttempt++)
    {
        cv::Mat centres;
        sampleLabels.create(nSamples, 1, CV_32S);
        sampleLabels.setTo(cv::Scalar(0));
        const double dCompactness = cv::kmeans(samples, kPictureColours, sampleLabels,
                                               ClusteringCriteria(), 1, 0, centres);
        if (nAttempt == 0 || dCompactness < dBest)
        {
            dBest = dCompactness;
            result.centres = centres;
        }
        progress.SetPercent(kProgressDecoded + (nAttempt + 1) *
                                                   (kProgressClustered - kProgressDecoded) /
                                                   kAttempts);
    }
    cv::theRNG() = savedRng;

    // Every pixel to its nearest centre; then each centre moves to the mean of all of its
    // pixels, and the pixels go again to the nearest: the sample alone places the centres
    // a little off the colours of the whole picture.
    result.labels.create(nPixels, 1, CV_32S);
    const int nPasses = kAssignPasses;
    for (int nPass = 0; nPass < nPasses; nPass++)
    {
        if (nPass > 0)
            MoveCentresToTheirPixels(pixels, result);
        for (int nFirst = 0; nFirst < nPixels; nFirst += kAssignedPixelsAtOnce)
        {
            const int nCount = std::min(kAssignedPixelsAtOnce, nPixels - nFirst);
            cv::Mat floats;
            pixels.rowRange(nFirst, nFirst + nCount).convertTo(floats, CV_32F, 1.0, 0.0);
            cv::Mat distances;
            cv::Mat nearest = result.labels.rowRange(nFirst, nFirst + nCount);
            cv::batchDistance(floats, result.centres, distances, CV_32F, nearest,
                              cv::NORM_L2SQR, 1);
            const LONGLONG nDone = (LONGLONG)nPass * nPixels + nFirst + nCount;
            progress.SetPercent(kProgressClustered +
                                (int)(nDone * (kProgressAssigned - kProgressClustered) /
                                      ((LONGLONG)nPasses * nPixels)));
        }
    }
}

// Decodes and clusters the picture. Its size is looked at first in its header, and again
// once decoded for a format whose header is not read here, before the clustering.
PictureResult ClusterPicture(const CString& strPath, ClusteredPicture& result,
                             CProgressNote& progress)
{
    int nWidth = 0, nHeight = 0;
    if (ReadPictureSize(strPath, nWidth, nHeight) && !IsWorkablePictureSize(nWidth, nHeight))
    {
        result.cols = nWidth;
        result.rows = nHeight;
        return PictureTooLarge;
    }
    const CStringA strUnixPath = AfxGetUnixPath(strPath);
    if (strUnixPath.GetLength() == 0)
        return PictureUnreadable;
    // A large picture takes seconds: the user sees it come on.
    const CString strName = strPath.Mid(std::max(strPath.ReverseFind(L'\\'),
                                                 strPath.ReverseFind(L'/')) + 1);
    if ((LONGLONG)nWidth * nHeight > kClusteredPixels)
        progress.Show(strName);
    try
    {
        cv::Mat picture = AfxImRead(std::string(strUnixPath.GetString()), cv::IMREAD_COLOR);
        if (picture.empty())
            return PictureUnreadable;
        if (!IsWorkablePictureSize(picture.cols, picture.rows))
        {
            result.cols = picture.cols;
            result.rows = picture.rows;
            return PictureTooLarge;
        }
        if (picture.channels() == 1)
            cv::cvtColor(picture, picture, cv::COLOR_GRAY2BGR);
        const int nSamples = picture.rows * picture.cols;
        if (nSamples > kClusteredPixels)
        {
            progress.Show(strName);
            progress.SetPercent(kProgressDecoded);
            ClusterSampledPixels(picture, result, progress);
        }
        else
        {
            cv::Mat samples = PixelRows(picture);
            result.labels.create(nSamples, 1, CV_32S);
            result.labels.setTo(cv::Scalar(0));
            const int nClusters = nSamples < kPictureColours ? nSamples : kPictureColours;
            cv::kmeans(samples, nClusters, result.labels, ClusteringCriteria(), kAttempts, 0,
                       result.centres);
        }
        result.cols = picture.cols;
        result.rows = picture.rows;
        return PictureRead;
    }
    catch (const cv::Exception&)
    {
    }
    catch (const std::exception&)
    {
    }
    return PictureUnreadable;
}

void ShowPictureRefused(const CString& strPath)
{
    if (CVitrolanDoc::s_uiHooks.pfnMessageBox == NULL)
        return;
    CString strMessage;
    strMessage.Format(L"%s : %s", (LPCTSTR)GetLangText(TXT_MSG_PICTURE_UNREADABLE),
                      (LPCTSTR)strPath);
    CVitrolanDoc::s_uiHooks.pfnMessageBox(strMessage);
}

void ShowPictureTooLarge(const CString& strPath, int nWidth, int nHeight)
{
    if (CVitrolanDoc::s_uiHooks.pfnMessageBox == NULL)
        return;
    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_PICTURE_TOO_LARGE), (LPCTSTR)strPath, nWidth, nHeight,
                      (int)MaxGridSize,
                      (int)(MaxPictureTiles / 1000000));
    CVitrolanDoc::s_uiHooks.pfnMessageBox(strMessage);
}

}   // namespace

BOOL CVitrolanDoc::OnOpenDocument(LPCTSTR lpszPathName)
{
    CWaitCursor wait;
    CProgressNote progress;
    m_mixPreviewPending = 0;
    const CString strPath(lpszPathName);
    const CString strBase = CutExtension(strPath);
    OpenRoad road = ChooseRoad(strPath);
    int nCellSize = 4;

    if (road == RoadDocument)
    {
        BOOL bReadMap = FALSE;
        CFileException* pError = new CFileException;
        CFile* pFile = GetFile(strPath, CFile::modeRead | CFile::shareDenyWrite, pError);
        if (pFile == NULL)
        {
            // A recent file since deleted, or one another program holds: the user is told why.
            ReportSaveLoadException(strPath, pError, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
            pError->Delete();
            UpdateAllViews(NULL);
            return FALSE;
        }
        pError->Delete();
        const int nOldJoint = coljoint;
        const int nOldBackground = colfond;
        const int nOldUnits = unites;
        try
        {
            CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete, 4096);
            loadArchive.m_pDocument = this;
            bReadMap = pFile->GetLength() != 0;
            if (bReadMap)
                Serialize(loadArchive);
            // An empty file keeps the mosaic there is; without one it has nothing to open.
            else if (m_committedMap.data == NULL)
                AfxThrowArchiveException(CArchiveException::endOfFile, strPath);
            loadArchive.Close();
            ReleaseFile(pFile, FALSE);
        }
        catch (CException* e)
        {
            ReleaseFile(pFile, TRUE);
            ReportSaveLoadException(strPath, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
            e->Delete();
            UpdateAllViews(NULL);
            return FALSE;
        }
        m_saveName = strBase + L".ms2";
        m_path = m_saveName;
        // An empty file reads nothing: the map already held is in the current layout.
        if (bReadMap)
        {
            nCellSize = CellSizeOfVersion(m_version);
            ApplyOpenedSettings(nOldJoint, nOldBackground, nOldUnits);
        }
        m_ownFile = AfxFullPath(strPath);
    }
    else if (road == RoadOldMosaic)
    {
        CFile file;
        if (!file.Open(strPath, CFile::modeRead))
        {
            road = RoadPicture;
        }
        else
        {
            // Read apart, so that a file the reader rejects leaves the mosaic whole.
            BITMAPINFOHEADER header = *m_bmpHeader;
            CRasterImage map;
            PaletteEntry table[C2Palette::ColourCount];
            memcpy(table, m_imagePalette.m_colours, sizeof(table));
            if (!ReadBmpFile(&header, &file, &map, table))
            {
                ReportSaveLoadException(strPath, NULL, FALSE, AFX_IDP_FAILED_INVALID_FORMAT);
                return FALSE;
            }
            // A bitmap narrower or lower than one cell holds no mosaic.
            if (header.biWidth < kOldMosaicCellSize || header.biHeight < kOldMosaicCellSize)
            {
                map.Free();
                ReportSaveLoadException(strPath, NULL, FALSE, AFX_IDP_FAILED_INVALID_FORMAT);
                return FALSE;
            }
            file.Close();
            m_rebuildTileImages = 1;
            affichage = 0;
            m_imagePalette.m_version = kOldPaletteVersion;
            m_tilePalette.m_version = kOldPaletteVersion;
            m_committedMap.Free();
            m_committedMap = map;   // the buffer changes hands
            memcpy(m_imagePalette.m_colours, table, sizeof(table));
            header.biWidth /= kOldMosaicCellSize;
            header.biHeight /= kOldMosaicCellSize;
            header.biSizeImage = header.biWidth * header.biHeight;
            *m_bmpHeader = header;
            // Closing saves under the save name: it must be this mosaic's, not the last one's.
            m_path = strBase + L".ms2";
            m_saveName = m_path;
            m_ownFile.Empty();
            nCellSize = kOldMosaicCellSize;
        }
    }

    if (road == RoadPicture)
    {
        ClusteredPicture picture;
        const PictureResult result = ClusterPicture(strPath, picture, progress);
        // The messages below stand alone.
        if (result != PictureRead)
            progress.Hide();
        if (result == PictureTooLarge)
        {
            ShowPictureTooLarge(strPath, picture.cols, picture.rows);
            return FALSE;
        }
        if (result != PictureRead)
        {
            ShowPictureRefused(strPath);
            return FALSE;
        }
        // Built aside, so that a failed allocation leaves the mosaic whole.
        CRasterImage plane;
        CRasterImage map;
        try
        {
            plane.Create(0, picture.cols, picture.rows);
            map.Create(0, 4 * picture.cols, 4 * picture.rows);
        }
        catch (CException* e)
        {
            e->Delete();
            plane.Free();
            map.Free();
            progress.Hide();
            ShowPictureRefused(strPath);
            return FALSE;
        }
        const int nCentres = picture.centres.rows;
        for (int y = 0; y < picture.rows; y++)
        {
            for (int x = 0; x < picture.cols; x++)
            {
                const int nLabel = picture.labels.at<int>(y * picture.cols + x);
                if (nLabel >= 0 && nLabel < nCentres)
                    plane.data[(size_t)y * picture.cols + x] = (BYTE)nLabel;
            }
        }
        map.CellsFromColourPlane(&plane);
        plane.Free();
        for (int k = 0; k < C2Palette::ColourCount; k++)
        {
            PaletteEntry& entry = m_imagePalette.m_colours[k];
            entry.peRed = entry.peGreen = entry.peBlue = 0;
            entry.peFlags = 0;
            if (k < nCentres)
            {
                entry.peRed = (BYTE)(int)picture.centres.at<float>(k, 2);
                entry.peGreen = (BYTE)(int)picture.centres.at<float>(k, 1);
                entry.peBlue = (BYTE)(int)picture.centres.at<float>(k, 0);
            }
        }
        m_committedMap.Free();
        m_committedMap = map;   // the buffer changes hands
        m_bmpHeader->biWidth = picture.cols;
        m_bmpHeader->biHeight = picture.rows;
        m_bmpHeader->biSizeImage = (DWORD)picture.cols * (DWORD)picture.rows;
        m_rebuildTileImages = 1;
        affichage = 0;
        m_saveName = strBase + L".ms2";
        m_path = m_saveName;
        m_ownFile.Empty();
        nCellSize = 4;
    }

    // The mosaic edited so far is gone: Undo must not bring its size or colours back, and
    // what the paving pattern laid is known again only after the next change.
    DiscardPendingEdit();
    m_patternCells.Free();
    // A picture keeps the zoom in use, which may leave no room for joints.
    FitJointsToTileSize();

    // The common tail: both maps in the current cell layout, then plates, names and tools.
    m_cols = m_committedMap.width / nCellSize;
    m_rows = m_committedMap.height / nCellSize;
    m_workingMap.Create(0, 4 * m_cols, 4 * m_rows);
    if (nCellSize == 2 || nCellSize == 3)
    {
        if (nCellSize == 2)
            m_committedMap.ConvertCellMapFrom2x2(&m_workingMap, m_cols, m_rows);
        else
            m_committedMap.ConvertCellMapFrom3x3(&m_workingMap, m_cols, m_rows);
        m_committedMap.Create(0, 4 * m_cols, 4 * m_rows);
    }
    else
    {
        m_committedMap.CopyBlock(&m_workingMap, 4 * m_cols, 4 * m_rows);
    }
    SyncPaletteBars();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    m_dirty = 0;

    LoadPaletteFile(0, 0, palettefile);
    if (s_uiHooks.pfnResetScroll != NULL)
        s_uiHooks.pfnResetScroll();
    if (s_uiHooks.pfnResetImageBar != NULL)
        s_uiHooks.pfnResetImageBar();
    m_plaquesValid = 0;
    BuildPlaques();
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    ResetTools();
    m_loaded = 1;
    m_dirty = 0;
    m_rebuildTileImages = 1;
    // A file opened at start-up stands for the start-up New: the next New must ask for a size.
    if (m_newCount == 0)
        m_newCount = 1;
    BuildStalePaletteMenu();
    UpdateAllViews(NULL);
    return TRUE;
}
