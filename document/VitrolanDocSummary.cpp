// The mosaic's figures: the information dialog and the text summary.
#include "VitrolanDoc.h"

#include "AfxApp.h"
#include "AfxCLocale.h"
#include "AfxTime.h"
#include "DocPaths.h"
#include "LangText.h"
#include "Paving.h"
#include "ShellOpen.h"
#include "TextFile.h"
#include "TextIds.h"

namespace
{

const UINT kCountTexts[5] = {TXT_WHOLE_TILES, TXT_TOTAL_DIAGONAL_HALVES, TXT_TOTAL_HALVES,
                             TXT_TOTAL_QUARTERS, TXT_TOTAL_DIAGONAL_QUARTERS};

CString Text(UINT nTextId)
{
    return GetLangText(nTextId);
}

}   // namespace

void CVitrolanDoc::SettleForFigures()
{
    CommitPendingEdit();
    ResetTools();
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    SyncPaletteBars();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    // Counted now: the figures are those of the mosaic as it stands, not of its last repaint.
    CountTilesPerColour();
}

BOOL CVitrolanDoc::HasTiles(int nColour) const
{
    for (int k = 0; k < 5; k++)
        if (m_tileCounts[k][nColour] != 0)
            return TRUE;
    return FALSE;
}

void CVitrolanDoc::GetInfoFigures(InfoFigures& figures) const
{
    figures.paletteName = m_tilePalette.m_name;
    figures.colourCount = m_colourCount;
    figures.cols = m_cols;
    figures.rows = m_rows;
    figures.plateCount = m_plaqueCount;
    figures.units = unites;
    const double dDivisor = unites == 0 ? 100000.0 : 1000.0 * 12.0;
    const float fWidth = (float)(TileToPixelX(m_pavingType, m_pitch, m_cols, 1) / dDivisor);
    const float fHeight = (float)(RowToPixelY(m_pavingType, m_pitch, m_rows, m_rows, 1) / dDivisor);
    figures.width = (float)RoundToDecimals(fWidth, 3);
    figures.height = (float)RoundToDecimals(fHeight, 3);
    figures.area = (float)RoundToDecimals(figures.width * figures.height, 3);
    figures.unitText = m_unitTextLong;
    figures.areaUnitText = m_unitTextLong + L"\u00b2";
}

void CVitrolanDoc::OnInformations()
{
    CWaitCursor wait;
    SettleForFigures();
    InfoFigures figures;
    GetInfoFigures(figures);
    if (s_uiHooks.pfnShowInformation != NULL)
        s_uiHooks.pfnShowInformation(this, figures);
    UpdateAllViews(NULL);
}

CString CVitrolanDoc::SummaryFileName(const CString& strTitle)
{
    return CutExtension(strTitle) + L"_T.txt";
}

CString CVitrolanDoc::SummaryPath(const CString& strDocPath, const CString& strProposed,
                                  const CString& strChosen)
{
    // Beside the document, named after it; a document without a file has no folder.
    const int nNameStart = FileNameStart(strDocPath);
    const CString strFolder = strDocPath.Left(nNameStart);
    CString strName = strDocPath.IsEmpty()
                          ? strProposed
                          : CutExtension(strDocPath.Mid(nNameStart)) + L"_T.txt";
    if (strChosen == strProposed)
        return strFolder + strName;
    // A name the user typed with its own folder stands as it is.
    const BOOL bFullPath = strChosen.GetLength() >= 2 &&
                           (strChosen[1] == L':' || (strChosen[0] == L'\\' && strChosen[1] == L'\\'));
    return bFullPath ? strChosen : strFolder + strChosen;
}

CString CVitrolanDoc::FormatTextSummary(const CString& strDate) const
{
    CCLocaleScope cLocale;
    const CString strTiles = Text(TXT_TILES);
    double dWidth, dHeight, dSurface;
    GetPhysicalSize(dWidth, dHeight, dSurface);

    CString strText = strDate + L"\n";
    strText.AppendFormat(L"%s = %s\n", (LPCTSTR)Text(TXT_TITLE), (LPCTSTR)GetTitle());
    strText.AppendFormat(L"%s = %s\n%s = %d\n", (LPCTSTR)Text(TXT_PALETTE),
                         (LPCTSTR)m_tilePalette.m_name, (LPCTSTR)Text(TXT_COLOUR_COUNT),
                         m_colourCount);
    strText.AppendFormat(L"%s = %d %s\n%s = %d %s\n", (LPCTSTR)Text(TXT_WIDTH), m_cols,
                         (LPCTSTR)strTiles, (LPCTSTR)Text(TXT_HEIGHT), m_rows, (LPCTSTR)strTiles);
    strText.AppendFormat(L"%s = %d\n%s = %d x %d %s\n", (LPCTSTR)Text(TXT_PLATE_COUNT),
                         m_plaqueCount, (LPCTSTR)Text(TXT_PLATE_SIZE), carplaquex, carplaquey,
                         (LPCTSTR)strTiles);
    strText.AppendFormat(L"%s = %.2f (%s) x %.2f (%s) %s\n%s = %.2f %s\u00b2\n",
                         (LPCTSTR)Text(TXT_DIMENSIONS), dWidth,
                         (LPCTSTR)Text(TXT_DIMENSION_WIDTH), dHeight,
                         (LPCTSTR)Text(TXT_DIMENSION_HEIGHT), (LPCTSTR)m_unitTextLong,
                         (LPCTSTR)Text(TXT_SURFACE), dSurface, (LPCTSTR)m_unitTextLong);
    if (unites == 0)
        strText.AppendFormat(L"%s %.1f %s\n%s = %.1f %s\n", (LPCTSTR)Text(TXT_TILE_SIZE),
                             (double)(float)taillecar / 100, (LPCTSTR)m_unitText,
                             (LPCTSTR)Text(TXT_JOINT_SIZE), (double)(float)intercar / 100,
                             (LPCTSTR)m_unitText);
    else
        strText.AppendFormat(L"%s %.2f %s\n %s = %.2f %s\n", (LPCTSTR)Text(TXT_TILE_SIZE),
                             (double)(float)taillecar / 1000, (LPCTSTR)m_unitText,
                             (LPCTSTR)Text(TXT_JOINT_SIZE), (double)(float)intercar / 1000,
                             (LPCTSTR)m_unitText);
    strText += Text(filet == 1 ? TXT_LAYING_INDIRECT : TXT_LAYING_DIRECT) + L"\n";
    static const UINT kLabelTexts[4] = {TXT_LABELS_IMAGE_NUMBERS, TXT_LABELS_TILE_NUMBERS,
                                        TXT_LABELS_SYMBOLS, TXT_LABELS_NONE};
    if (impression >= 0 && impression <= 3)
        strText += Text(kLabelTexts[impression]);
    strText += L"\n\n";

    for (int nColour = 0; nColour < C2Palette::ColourCount; nColour++)
    {
        if (!HasTiles(nColour))
            continue;
        CString lines[3];
        GetColourInfoLines(nColour, lines, TRUE);
        strText += lines[0] + L"\n" + lines[1] + L" \n\n" + lines[2] + L"\n\n";
    }
    strText += CString(L'-', 44) + L"\n";
    for (int k = 0; k < 5; k++)
        strText.AppendFormat(L"%s %s = %.0f\n", (LPCTSTR)Text(TXT_TOTAL),
                             (LPCTSTR)Text(kCountTexts[k]), m_countTotals[k]);
    return strText;
}

BOOL CVitrolanDoc::ConfirmReplaceFile(const CString& strPath)
{
    if (GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    UINT nQuestion = TXT_ASK_REPLACE_FILE;
    if (IsSameFile(strPath, m_path) || IsSameFile(strPath, m_ownFile))
        nQuestion = TXT_ASK_REPLACE_OPEN_MOSAIC;
    else if (IsProgramFileKind(strPath))
        nQuestion = TXT_ASK_REPLACE_PROGRAM_FILE;
    CString strQuestion;
    strQuestion.Format(GetLangText(nQuestion), (LPCTSTR)strPath);
    // Nobody to ask: nothing is replaced.
    return s_uiHooks.pfnMessageBox != NULL && s_uiHooks.pfnMessageBox(strQuestion) == IDOK;
}

BOOL CVitrolanDoc::WriteTextSummary()
{
    if (!m_plaquesValid)
        BuildPlaques();
    SettleForFigures();
    if (m_stampShape != NULL && s_uiHooks.pfnGetShapeRect != NULL &&
        s_uiHooks.pfnRedrawViewArea != NULL)
    {
        RECT rect;
        s_uiHooks.pfnGetShapeRect(m_stampShape, &rect);
        s_uiHooks.pfnRedrawViewArea(&rect);
    }

    const CString strProposed = SummaryFileName(GetTitle());
    CString strChosen = strProposed;
    if (s_uiHooks.pfnAskSummaryName != NULL && s_uiHooks.pfnAskSummaryName(&strChosen) != IDOK)
        return TRUE;
    const CString strPath = SummaryPath(m_path, strProposed, strChosen);
    if (!ConfirmReplaceFile(strPath))
        return TRUE;
    const CString strDate = CTime::GetCurrentTime().Format(L"%d/%m/%y %H:%M");
    DWORD dwError = NO_ERROR;
    if (!WriteTextFile(strPath, FormatTextSummary(strDate), &dwError))
        ReportFileNotWritten(strPath, dwError);
    else
        ShellOpenFile(strPath);
    return TRUE;
}
