// The picture export of the whole mosaic.
#include "VitrolanDoc.h"

#include "AfxApp.h"
#include "ExportPicture.h"
#include "Plaque.h"
#include "ShellOpen.h"
#include "TileRenderer.h"

namespace
{

const int kPlanPictureSide = 512;

// The folders above the plan pictures exist on a fresh installation only once made.
void CreatePlanPictureFolders(const CString& strProgramFolder)
{
    CreateDirectoryW(strProgramFolder + L"Plans", NULL);
    CreateDirectoryW(strProgramFolder + L"Plans\\Images", NULL);
}

}   // namespace

void CVitrolanDoc::OnExportMosaic()
{
    ExportMosaic(1);
}

CString CVitrolanDoc::ExportMosaic(int bOpenAfterwards)
{
    ResetTools();
    CommitPendingEdit();
    m_imagePalette.TakeNamesFrom(m_tilePalette);

    const CString strBase = ExportBaseName(m_path, m_exportMode);
    CString strPath = strBase;
    CWnd* pMainWnd = NULL;
    if (m_exportMode == 0)
    {
        CString strName = strBase;
        int nType = typexp;
        const INT_PTR nResult = s_uiHooks.pfnAskExportPicture != NULL
                                    ? s_uiHooks.pfnAskExportPicture(&strName, &nType)
                                    : IDOK;
        if (nResult == IDCANCEL)
            return strBase;
        if (nResult == IDOK && strName != strBase)
            strPath = strName;
        strPath += ExportExtension(nResult == IDOK ? nType : typexp);
        // The user's name may be that of a file already there: it is replaced only when the
        // user agrees, as if the dialog had been cancelled otherwise.
        if (!ConfirmReplaceFile(strPath))
            return strBase;
        if (nResult == IDOK)
        {
            typexp = nType;
            pMainWnd = AfxGetMainWnd();
            if (pMainWnd != NULL)
                pMainWnd->EnableWindow(FALSE);
        }
    }
    else
    {
        // The plan picture is always a JPEG, which the PDF layer embeds; the user's own
        // choice of type stays for the next export.
        CreatePlanPictureFolders(m_programFolder);
        strPath.Format(L"%sPlans\\Images\\%s.jpg", (LPCTSTR)m_programFolder,
                       (LPCTSTR)FilePartOfPath(strBase));
        // A picture of an earlier plan must not stand in for one that fails now.
        DeleteFileW(strPath);
    }

    const int nOldZoom = m_tileSize;
    BOOL bWritten;
    {
        CWaitCursor wait;
        m_tileSize = ExportZoom(nOldZoom);
        cv::Mat picture;
        RenderExportPicture(picture);
        bWritten = m_exportMode == 0 ? WriteExportPicture(strPath, picture)
                                     : WritePlanPicture(strPath, picture);
    }
    m_tileSize = nOldZoom;
    // The tile pictures, masks and textures were made at the export zoom.
    m_rebuildTileImages = 1;
    if (pMainWnd != NULL)
        pMainWnd->EnableWindow(TRUE);
    UpdateAllViews(NULL);

    if (!bWritten)
        ReportUnwritablePicture(strPath);
    else if (bOpenAfterwards)
        ShellOpenFile(strPath);
    return strPath;
}

BOOL CVitrolanDoc::WritePlanPicture(const CString& strPath, const cv::Mat& picture)
{
    m_thumbOffsetX = m_thumbOffsetY = 0;
    const FittedPicture fit = FitPictureInSquare(picture.cols, picture.rows, kPlanPictureSide);
    if (fit.width == 0)
        return FALSE;
    (fit.bLandscape ? m_thumbOffsetY : m_thumbOffsetX) = fit.marginPercent;
    cv::Mat scaled;
    cv::resize(picture, scaled, cv::Size(fit.width, fit.height), 0, 0, cv::INTER_LINEAR);
    return WriteExportPicture(strPath, scaled);
}

void CVitrolanDoc::RenderExportPicture(cv::Mat& picture)
{
    const int P = m_pavingType;
    const int z = m_tileSize;
    const SIZE size = ExportPictureSize(P, z, m_cols, m_rows);
    picture.release();
    if (size.cx < 1 || size.cy < 1)
        return;

    if (s_uiHooks.pfnBuildTileMasks != NULL)
        s_uiHooks.pfnBuildTileMasks();
    CountTilesPerColour();
    const int nSquareCut = (P == PavingSquares || P == PavingCrossedJoints) &&
                                   m_countTotals[1] != 0 && m_borderCellCount != 0
                               ? 1
                               : 0;
    const int nTextures = m_tilePalette.m_paletteKind >= 1 ? 1 : 0;
    if (nTextures)
        LoadTileTextures(z);
    m_imagePalette.BuildTileImages(affichage, m_colourCount, z, impression, &m_tilePalette, P,
                                   m_tileMasks[0], m_tileMasks[1], m_tileCounts[0],
                                   m_tileCounts[1], m_tileCounts[2], m_tileCounts[3],
                                   m_tileCounts[4]);

    // One pass over the whole mosaic: the picture holds it all anyway, and a single pass
    // leaves no seams between bands of a window's size.
    CRasterImage image;
    image.Create(1, size.cx, size.cy);
    if (image.data == NULL)
        return;
    int hit[5];
    RenderMosaic(&image, affichage, &m_workingMap, z, m_showJoints, m_cols, m_rows, 0, 0, P,
                 m_imagePalette.m_tileImages.GetData(), m_tileMasks[0], m_tileMasks[1], 0, 0,
                 &hit[0], &hit[1], &hit[2], &hit[3], &hit[4], m_imagePalette.m_labelStates,
                 nSquareCut, nTextures, m_textureCache.GetData(), &m_colourTable[0][0],
                 m_imagePalette.m_colours, m_tilePalette.m_colours, m_imagePalette.m_paletteKind,
                 m_imagePalette.m_notes);
    image.CopyToMat(picture);

    if (m_showPlaques)
    {
        BuildPlaques();
        POSITION pos = m_plaques.GetHeadPosition();
        while (pos != NULL)
        {
            CPlaque* pPlaque = (CPlaque*)m_plaques.GetNext(pos);
            pPlaque->DrawOnImage(picture, z, m_cols, m_rows, grillescouleur, numerosgrille, 0,
                                 0, 0, 0, 0, 1);
        }
    }
}
