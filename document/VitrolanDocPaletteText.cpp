// The tile palette written as a text table, and text tables imported as new palettes.
#include "VitrolanDoc.h"

#include <memory>

#include "AfxDlgs.h"
#include "AfxException.h"
#include "DocPaths.h"
#include "LangText.h"
#include "TextFile.h"
#include "TextIds.h"
#include "TextPalette.h"

namespace
{

const WCHAR kImportFilter[] =
    L"Text Files (*.TXT)|*.TXT|\tCSV Files (*.CSV)|*.CSV|\tAll files (*.*)|*.*||";

int ShowMessage(LPCTSTR lpszText)
{
    return CVitrolanDoc::s_uiHooks.pfnMessageBox != NULL
               ? CVitrolanDoc::s_uiHooks.pfnMessageBox(lpszText)
               : IDOK;
}

}   // namespace

CString CVitrolanDoc::PaletteExportPath() const
{
    CString strPath;
    strPath.Format(L"%sPalettes\\%s_Export.csv", (LPCTSTR)m_programFolder,
                   (LPCTSTR)SafeFileName(m_tilePalette.m_name));
    return strPath;
}

BOOL CVitrolanDoc::ExportTilePaletteText()
{
    const CString strPath = PaletteExportPath();
    DWORD dwError = EnsureFolder(m_programFolder + L"Palettes");
    if (dwError == NO_ERROR &&
        WriteTextFile(strPath, CTextPalette::Format(m_tilePalette), &dwError))
        return TRUE;
    ReportFileNotWritten(strPath, dwError);
    return FALSE;
}

void CVitrolanDoc::OnExportPalette()
{
    ExportTilePaletteText();
}

void CVitrolanDoc::OnImportTilePalette()
{
    CFileDialog dialog(TRUE, L"txt", NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kImportFilter);
    if (dialog.DoModal() == IDOK)
        ImportTilePaletteText(dialog.GetPathName());
    m_paletteMenuStale = 0;
    RelistPaletteFiles();
}

BOOL CVitrolanDoc::ImportTilePaletteText(LPCTSTR lpszPath)
{
    CString strText;
    DWORD dwError = NO_ERROR;
    if (!ReadTextFile(lpszPath, strText, &dwError))
    {
        CFileException* pError = new CFileException(
            CFileException::OsErrorToException((LONG)dwError), (LONG)dwError, lpszPath);
        ReportSaveLoadException(lpszPath, pError, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        pError->Delete();
        return FALSE;
    }
    CTextPalette table;
    table.Read(strText);
    CString strMessage;
    if (table.m_colours.empty())
    {
        strMessage.Format(GetLangText(TXT_MSG_PALETTE_TEXT_EMPTY), lpszPath);
        ShowMessage(strMessage);
        return FALSE;
    }

    const CString strName = SafeFileName(table.GetName());
    const CString strFolder = m_programFolder + L"Palettes\\";
    const CString strPath = strFolder + strName + L".pal";
    if (!SaveImportedPalette(table, strFolder, strName, dwError))
    {
        ReportFileNotWritten(strPath, dwError);
        return FALSE;
    }
    table.Fill(m_tilePalette);
    m_tilePalette.m_name = strName;
    // The family rules a save applies to the palette in its file.
    m_tilePalette.m_paletteKind = C2Palette::KindFromName(strName, PaletteKindPlain, TRUE);
    m_tileColourCount = (int)table.m_colours.size();
    // It stands in its file as it is: closing has nothing of it to offer for saving.
    m_tilePaletteModified = 0;
    if (s_uiHooks.pfnRefreshTileBar != NULL)
        s_uiHooks.pfnRefreshTileBar();

    if (!table.m_refusedLines.empty())
    {
        strMessage.Format(GetLangText(TXT_MSG_PALETTE_LINES_REFUSED), (LPCTSTR)strName, lpszPath,
                          (LPCTSTR)CTextPalette::DescribeLines(table.m_refusedLines));
    }
    if (!table.m_droppedLines.empty())
    {
        CString strDropped;
        strDropped.Format(GetLangText(TXT_MSG_PALETTE_LINES_BEYOND), (LPCTSTR)strName,
                          (int)CTextPalette::MaxColours,
                          (LPCTSTR)CTextPalette::DescribeLines(table.m_droppedLines));
        strMessage += strMessage.IsEmpty() ? strDropped : L"\n\n" + strDropped;
    }
    if (!strMessage.IsEmpty())
        ShowMessage(strMessage);
    return TRUE;
}

BOOL CVitrolanDoc::SaveImportedPalette(const CTextPalette& table, const CString& strFolder,
                                       const CString& strName, DWORD& dwError)
{
    dwError = EnsureFolder(strFolder);
    if (dwError != NO_ERROR)
        return FALSE;
    std::unique_ptr<C2Palette> pPalette(new C2Palette);
    table.Fill(*pPalette);
    try
    {
        pPalette->SaveToFile(strFolder + strName + L".pal", strName);
    }
    catch (CException* e)
    {
        CFileException* pFileError = dynamic_cast<CFileException*>(e);
        dwError = pFileError != NULL && pFileError->m_lOsError != 0 ? (DWORD)pFileError->m_lOsError
                                                                    : ERROR_WRITE_FAULT;
        e->Delete();
        return FALSE;
    }
    return TRUE;
}
