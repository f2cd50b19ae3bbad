// The laying plan as a table for a spreadsheet: one line per tile, plate by plate.
#include "VitrolanDoc.h"

#include "AfxApp.h"
#include "CsvText.h"
#include "DocPaths.h"
#include "Paving.h"
#include "Plaque.h"
#include "ShellOpen.h"
#include "TextFile.h"

CString CVitrolanDoc::SpreadsheetPath(const SYSTEMTIME& time) const
{
    CString strPath;
    strPath.Format(L"%sExcel\\Excel_%s_%04d%02d%02d_%02d%02d%02d.csv", (LPCTSTR)m_programFolder,
                   (LPCTSTR)SafeFileName(GetTitle()), time.wYear, time.wMonth, time.wDay,
                   time.wHour, time.wMinute, time.wSecond);
    return strPath;
}

CString CVitrolanDoc::GetCellLabel(int nColour) const
{
    CString strLabel;
    if (impression == 0)
        strLabel.Format(L"%d", nColour);
    else if (impression == 1)
        strLabel.Format(L"%d", m_imagePalette.FindColourIn(m_tilePalette, nColour));
    else if (impression == 2)
        strLabel = CsvField(m_imagePalette.m_symbols[nColour]);
    return strLabel;
}

CString CVitrolanDoc::FormatSpreadsheetTable() const
{
    CString strText = CsvField(GetTitle()) + L"\nPAG;LINE;COLUN;COR\n";
    const BOOL bLabels = impression >= 0 && impression <= 2;
    // The plates are listed last first; the table follows their numbers, as the plan does.
    POSITION pos = m_plaques.GetTailPosition();
    while (pos != NULL)
    {
        const CPlaque* pPlaque = (const CPlaque*)m_plaques.GetPrev(pos);
        const int nFirstCol = RoundHalfAway(pPlaque->m_firstCol);
        const int nFirstRow = RoundHalfAway(pPlaque->m_firstRow);
        const int nEndCol = RoundHalfAway(pPlaque->m_endCol);
        const int nEndRow = RoundHalfAway(pPlaque->m_endRow);
        for (int c = nFirstCol; bLabels && c < nEndCol; c++)
        {
            for (int r = nFirstRow; r < nEndRow; r++)
            {
                if (c < 0 || r < 0 || c >= m_cols || r >= m_rows)
                    continue;
                int shape, kind, colour, b, cc, d, va, vb, vc, vd;
                m_committedMap.GetCell(c, r, shape, kind, colour, b, cc, d, va, vb, vc, vd);
                strText.AppendFormat(L"%d;%d;%d;%s\n", pPlaque->m_number, c - nFirstCol + 1,
                                     r - nFirstRow + 1, (LPCTSTR)GetCellLabel(colour));
            }
        }
        strText += L"\n";
    }
    return strText;
}

CString CVitrolanDoc::ExportSpreadsheet()
{
    CWaitCursor wait;
    SYSTEMTIME time;
    GetLocalTime(&time);
    const CString strPath = SpreadsheetPath(time);
    m_plaquesValid = 0;
    BuildPlaques();
    ResetPlaquePages();

    DWORD dwError = EnsureFolder(m_programFolder + L"Excel");
    if (dwError != NO_ERROR || !WriteTextFile(strPath, FormatSpreadsheetTable(), &dwError))
    {
        ReportFileNotWritten(strPath, dwError);
        return CString();
    }
    return strPath;
}

void CVitrolanDoc::OnExportExcel()
{
    const CString strPath = ExportSpreadsheet();
    if (!strPath.IsEmpty())
        ShellOpenFile(strPath);
}
