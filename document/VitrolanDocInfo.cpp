// The mosaic's data and its colours' counts as the lines of the information page.
#include "VitrolanDoc.h"

#include "LangText.h"
#include "TextIds.h"

namespace
{

// " + " joins a count to the written part of its line.
void AppendCount(CString& strLine, int nCount, UINT nTextId)
{
    if (nCount == 0)
        return;
    CString strPart;
    strPart.Format(strLine.IsEmpty() ? L"%d %s" : L" + %d %s", nCount,
                   (LPCTSTR)GetLangText(nTextId));
    strLine += strPart;
}

}   // namespace

void CVitrolanDoc::GetPhysicalSize(double& dWidth, double& dHeight, double& dSurface) const
{
    // In single precision, and never through an int: a large grid's product overflows it.
    const float P = (float)m_pitch;
    if (unites == 0)
    {
        dWidth = (float)((float)m_cols * P / 100000.0f);
        dHeight = (float)((float)m_rows * P / 100000.0f);
        dSurface = (float)m_cellCount * P * P / 10000000000.0f;
    }
    else
    {
        const float q = P / 1000.0f;
        dWidth = (float)((float)m_cols * q / 12.0f);
        dHeight = (float)((float)m_rows * q / 12.0f);
        dSurface = (float)m_cellCount * P * P / 1000000.0f / 144.0f;
    }
}

void CVitrolanDoc::GetInfoLines(CStringArray& lines) const
{
    double dWidth, dHeight, dSurface;
    GetPhysicalSize(dWidth, dHeight, dSurface);
    const double dTile = (float)taillecar / (unites == 0 ? 100.0 : 1000.0);
    const double dJoint = (float)intercar / (unites == 0 ? 100.0 : 1000.0);
    static const UINT labelTexts[4] = {TXT_LABELS_IMAGE_NUMBERS, TXT_LABELS_TILE_NUMBERS,
                                       TXT_LABELS_SYMBOLS, TXT_LABELS_NONE};

    CString strLine;
    lines.RemoveAll();
    strLine.Format(L"%s = %s", (LPCTSTR)GetLangText(TXT_TITLE), (LPCTSTR)GetTitle());
    lines.Add(strLine);
    strLine.Format(L"%s = %s, %s = %d", (LPCTSTR)GetLangText(TXT_PALETTE),
                   (LPCTSTR)m_tilePalette.m_name, (LPCTSTR)GetLangText(TXT_COLOUR_COUNT),
                   m_colourCount);
    lines.Add(strLine);
    const CString strTiles = GetLangText(TXT_TILES);
    strLine.Format(L"%s = %d %s, %s = %d %s", (LPCTSTR)GetLangText(TXT_WIDTH), m_cols,
                   (LPCTSTR)strTiles, (LPCTSTR)GetLangText(TXT_HEIGHT), m_rows,
                   (LPCTSTR)strTiles);
    lines.Add(strLine);
    strLine.Format(L"%s = %d, %s = %d x %d %s", (LPCTSTR)GetLangText(TXT_PLATE_COUNT),
                   m_plaqueCount, (LPCTSTR)GetLangText(TXT_PLATE_SIZE), carplaquex, carplaquey,
                   (LPCTSTR)strTiles);
    lines.Add(strLine);
    strLine.Format(L"%s = %.3f (%s) x %.3f (%s) %s, %s = %.3f %s\u00b2",
                   (LPCTSTR)GetLangText(TXT_DIMENSIONS), dWidth,
                   (LPCTSTR)GetLangText(TXT_DIMENSION_WIDTH), dHeight,
                   (LPCTSTR)GetLangText(TXT_DIMENSION_HEIGHT), (LPCTSTR)m_unitTextLong,
                   (LPCTSTR)GetLangText(TXT_SURFACE), dSurface,
                   (LPCTSTR)m_unitTextLong);
    lines.Add(strLine);
    strLine.Format(unites == 0 ? L"%s %.1f %s, %s = %.1f %s" : L"%s %.3f %s, %s = %.3f %s",
                   (LPCTSTR)GetLangText(TXT_TILE_SIZE), dTile, (LPCTSTR)m_unitText,
                   (LPCTSTR)GetLangText(TXT_JOINT_SIZE), dJoint, (LPCTSTR)m_unitText);
    lines.Add(strLine);
    lines.Add(GetLangText(filet == 1 ? TXT_LAYING_INDIRECT : TXT_LAYING_DIRECT));
    lines.Add(impression >= 0 && impression <= 3 ? GetLangText(labelTexts[impression])
                                                 : CString());
    const CString strTotal = GetLangText(TXT_TOTAL);
    strLine.Format(L"%s : %s = %.0f, %s = %.0f, %s = %.0f", (LPCTSTR)strTotal,
                   (LPCTSTR)GetLangText(TXT_WHOLE_TILES), m_countTotals[0],
                   (LPCTSTR)GetLangText(TXT_TOTAL_DIAGONAL_HALVES), m_countTotals[1],
                   (LPCTSTR)GetLangText(TXT_TOTAL_HALVES), m_countTotals[2]);
    lines.Add(strLine);
    strLine.Format(L"%s : %s = %.0f, %s = %.0f", (LPCTSTR)strTotal,
                   (LPCTSTR)GetLangText(TXT_TOTAL_QUARTERS), m_countTotals[3],
                   (LPCTSTR)GetLangText(TXT_TOTAL_DIAGONAL_QUARTERS), m_countTotals[4]);
    lines.Add(strLine);
}

CString CVitrolanDoc::GetColourLabel(int nColour, BOOL bMarkEmptySymbol) const
{
    CString strLabel;
    if (impression == 1)
    {
        const int nTile = m_imagePalette.FindColourIn(m_tilePalette, nColour);
        strLabel = L"?";
        if (nTile != -1)
            strLabel.Format(L"%d", nTile);
    }
    else if (impression == 2)
    {
        strLabel = m_imagePalette.m_symbols[nColour];
        if (strLabel.IsEmpty() && bMarkEmptySymbol)
            strLabel = L"?";
    }
    else
        strLabel.Format(L"%d", nColour);
    return strLabel;
}

void CVitrolanDoc::GetColourInfoLines(int nColour, CString lines[3], BOOL bMarkEmptySymbol) const
{
    const CString strLabel = GetColourLabel(nColour, bMarkEmptySymbol);
    const PaletteEntry& colour = m_imagePalette.m_colours[nColour];
    CString strName;
    if (!m_imagePalette.m_colourNames[nColour].IsEmpty())
        strName.Format(L" : %s", (LPCTSTR)m_imagePalette.m_colourNames[nColour]);
    else
        strName.Format(L" : %s = %d, %s = %d, %s = %d", (LPCTSTR)GetLangText(TXT_RED),
                       colour.peRed, (LPCTSTR)GetLangText(TXT_GREEN), colour.peGreen,
                       (LPCTSTR)GetLangText(TXT_BLUE), colour.peBlue);
    lines[0].Format(L"%s %s %s", (LPCTSTR)GetLangText(TXT_COLOUR), (LPCTSTR)strLabel,
                    (LPCTSTR)strName);

    CString strParts;
    AppendCount(strParts, m_tileCounts[0][nColour], TXT_TILES);
    AppendCount(strParts, m_tileCounts[1][nColour], TXT_DIAGONAL_HALF_TILES);
    AppendCount(strParts, m_tileCounts[2][nColour], TXT_HALF_TILES);
    lines[1].Format(L"(%s)", (LPCTSTR)strParts);
    strParts.Empty();
    AppendCount(strParts, m_tileCounts[3][nColour], TXT_QUARTER_TILES);
    AppendCount(strParts, m_tileCounts[4][nColour], TXT_DIAGONAL_QUARTER_TILES);
    lines[2].Format(L"(%s)", (LPCTSTR)strParts);
}
