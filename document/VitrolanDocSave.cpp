// New document, saving and closing. A save writes a file beside the target and then puts it
// in the target's place, so that a failure never leaves a half-written document behind.
#include "VitrolanDoc.h"

#include <limits.h>

#include "AfxApp.h"
#include "AfxArchive.h"
#include "AfxDDX.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxFileReplacement.h"
#include "DocPaths.h"
#include "LangText.h"
#include "Paving.h"
#include "TextIds.h"

namespace
{

const UINT kNewDocumentNameId = 32974;   // "New.ms2"
const LPCWSTR kExtension = L".ms2";
const int kNewGridSize = 20;
const int kArchiveBufferSize = 4096;
// Characters that end the file name proposed from a title.
const LPCWSTR kTitleStops = L" #%;/\\";
// Shades per texture family (PaletteKind): the textures in use are that many times the
// base count.
const int kShadesOfKind[] = {1, 25, 10, 1, 4};

// The grid size of New: FALSE when the user cancelled. Without a dialog, or when it ends
// in any other way, the grid is 20 x 20; a size below 1 tile becomes 1.
BOOL AskGridSize(int& nWidth, int& nHeight)
{
    nWidth = kNewGridSize;
    nHeight = kNewGridSize;
    if (CVitrolanDoc::s_uiHooks.pfnAskGridSize == NULL)
        return TRUE;
    int w = kNewGridSize;
    int h = kNewGridSize;
    const INT_PTR nResult = CVitrolanDoc::s_uiHooks.pfnAskGridSize(&w, &h);
    if (nResult == IDCANCEL)
        return FALSE;
    if (nResult == IDOK)
    {
        nWidth = w < 1 ? 1 : w;
        nHeight = h < 1 ? 1 : h;
    }
    return TRUE;
}

// Both cell maps of a new w x h grid, made before anything of the open mosaic changes. A
// size too large for memory is reported and gives FALSE.
BOOL CreateCellMaps(int nWidth, int nHeight, CRasterImage& committed, CRasterImage& working)
{
    try
    {
        // 4 x 4 bytes per cell; beyond an int the sizes themselves would overflow.
        if (16 * (LONGLONG)nWidth * (LONGLONG)nHeight > INT_MAX)
            AfxThrowMemoryException();
        committed.Create(0, 4 * nWidth, 4 * nHeight);
        working.Create(0, 4 * nWidth, 4 * nHeight);
    }
    catch (CException* e)
    {
        committed.Free();
        working.Free();
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

// Stores the document into the file; a failure is reported in the target's name.
BOOL StoreDocument(CVitrolanDoc& doc, const CString& strFile, const CString& strTarget)
{
    CFileException* pError = new CFileException;
    CFile* pFile = doc.GetFile(
        strFile, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, pError);
    if (pFile == NULL)
    {
        pError->m_strFileName = strTarget;
        doc.ReportSaveLoadException(strTarget, pError, TRUE, AFX_IDP_INVALID_FILENAME);
        pError->Delete();
        return FALSE;
    }
    pError->Delete();

    try
    {
        CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete,
                             kArchiveBufferSize);
        saveArchive.m_pDocument = &doc;
        doc.Serialize(saveArchive);
        saveArchive.Close();
        doc.ReleaseFile(pFile, FALSE);
    }
    catch (CException* e)
    {
        doc.ReleaseFile(pFile, TRUE);
        if (e->IsKindOf(RUNTIME_CLASS(CFileException)))
            ((CFileException*)e)->m_strFileName = strTarget;
        doc.ReportSaveLoadException(strTarget, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

// The white mosaic of New at its grid size, taking the maps made for it; then the display
// state, the palettes and the first save as "New.ms2" in the current folder.
void StartBlankMosaic(CVitrolanDoc& doc, int w, int h, CRasterImage& committed,
                      CRasterImage& working, BOOL bSave)
{
    if (!doc.m_saveName.LoadString(kNewDocumentNameId) || doc.m_saveName.IsEmpty())
        doc.m_saveName = L"New.ms2";
    // The previous mosaic's file must not receive this one when the first save fails, and
    // the undo step of the previous mosaic must not reach into this one.
    doc.m_path.Empty();
    doc.m_ownFile.Empty();
    doc.DiscardPendingEdit();
    doc.m_rebuildTileImages = 1;
    doc.affichage = 0;

    doc.SetTitle(L"");
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        PaletteEntry& entry = doc.m_imagePalette.m_colours[i];
        entry.peRed = entry.peGreen = entry.peBlue = 255;
        entry.peFlags = 0;
    }
    doc.m_bmpHeader->biWidth = w;
    doc.m_bmpHeader->biHeight = h;
    doc.m_bmpHeader->biSizeImage = (DWORD)w * (DWORD)h;
    doc.m_cols = w;
    doc.m_rows = h;
    // The border codes go into the committed map as well: it is the one saved and the one
    // undo returns to, and both must show the pattern's edge. Laid from squares, which lay
    // none, so that the cells the pattern laid are known.
    doc.m_committedMap.Free();
    doc.m_committedMap = committed;   // the buffer changes hands
    committed = CRasterImage();
    doc.m_committedMap.ChangeBorderCodes(PavingSquares, doc.m_pavingType, w, h,
                                         &doc.m_patternCells);
    doc.m_workingMap.Free();
    doc.m_workingMap = working;
    working = CRasterImage();
    doc.m_committedMap.CopyBlock(&doc.m_workingMap, 4 * w, 4 * h);
    doc.SyncPaletteBars();

    doc.FitZoomToWindow();
    doc.m_dirty = 0;
    if (CVitrolanDoc::s_uiHooks.pfnResetImageBar != NULL)
        CVitrolanDoc::s_uiHooks.pfnResetImageBar();
    if (CVitrolanDoc::s_uiHooks.pfnResetScroll != NULL)
        CVitrolanDoc::s_uiHooks.pfnResetScroll();
    doc.m_plaquesValid = 0;
    doc.BuildPlaques();
    doc.m_imagePalette.TakeNamesFrom(doc.m_tilePalette);
    doc.UpdateAllViews(NULL);
    doc.m_loaded = 1;
    doc.m_rebuildTileImages = 1;
    doc.BuildStalePaletteMenu();
    doc.LoadPaletteFile(0, 0, doc.palettefile);
    doc.m_imagePalette.TakeNamesFrom(doc.m_tilePalette);
    doc.m_pitch = doc.taillecar + doc.intercar;

    if (CVitrolanDoc::s_uiHooks.pfnShowPaletteBars != NULL)
        CVitrolanDoc::s_uiHooks.pfnShowPaletteBars();
    // An earlier "New.ms2" is the user's work: this one goes beside it.
    if (bSave)
        doc.DoSave(FreeFileName(doc.m_saveName, doc.m_ownFile), TRUE);
}

}   // namespace

BOOL CVitrolanDoc::OnNewDocument()
{
    // The first call comes from the framework at start-up: no mosaic yet, only a title.
    const BOOL bStartUp = m_newCount == 0;
    int nWidth = 0;
    int nHeight = 0;
    CRasterImage committed;
    CRasterImage working;
    // Asked before anything changes, so that Cancel leaves the open mosaic as it was.
    if (!bStartUp)
    {
        // The framework has named the document for the new mosaic already: until there is
        // one, the mosaic shown keeps its title.
        CDocument::SetTitle(m_previousTitle);
        if (!AskGridSize(nWidth, nHeight) ||
            !CreateCellMaps(nWidth, nHeight, committed, working))
            return FALSE;
    }
    if (!CDocument::OnNewDocument())
    {
        committed.Free();
        working.Free();
        return FALSE;
    }

    m_colourCount = 1;
    m_screenImage.FillRgb(m_colourTable[0]);
    if (bStartUp)
    {
        SetTitle(GetLangText(TXT_UNTITLED));
        // The palettes are offered from the first start on, mosaic or not.
        BuildStalePaletteMenu();
    }
    else
        StartBlankMosaic(*this, nWidth, nHeight, committed, working, TRUE);

    ResetTools();
    m_newCount++;
    m_dirty = 0;
    return TRUE;
}

void CVitrolanDoc::SetTitle(LPCTSTR lpszTitle)
{
    m_previousTitle = GetTitle();
    CDocument::SetTitle(lpszTitle);
}

BOOL CVitrolanDoc::StartEmptyMosaic()
{
    CRasterImage committed;
    CRasterImage working;
    if (!CreateCellMaps(kNewGridSize, kNewGridSize, committed, working))
        return FALSE;
    CDocument::OnNewDocument();
    m_colourCount = 1;
    m_screenImage.FillRgb(m_colourTable[0]);
    StartBlankMosaic(*this, kNewGridSize, kNewGridSize, committed, working, FALSE);
    SetTitle(GetLangText(TXT_UNTITLED));
    ResetTools();
    m_dirty = 0;
    return TRUE;
}

CString CVitrolanDoc::ProposeSaveName(BOOL bReplace) const
{
    const CString& strPathName = GetPathName();
    if (!bReplace || !strPathName.IsEmpty())
        return CutExtension(strPathName) + kExtension;

    CString strName = CutExtension(GetTitle());
    const int nStop = strName.FindOneOf(kTitleStops);
    if (nStop >= 0)
        strName = strName.Left(nStop);
    return strName + kExtension;
}

BOOL CVitrolanDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString strNewName(lpszPathName);
    if (strNewName.IsEmpty())
    {
        strNewName = ProposeSaveName(bReplace);
        SetTitle(strNewName);
        // Without an application there is nobody to ask.
        CWinApp* pApp = AfxGetApp();
        if (pApp == NULL ||
            !pApp->DoPromptFileName(strNewName, AFX_IDS_SAVEFILE,
                                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE,
                                    GetDocTemplate()))
            return FALSE;
    }

    CWaitCursor wait;
    // A failure has been reported; the file it was meant for is untouched.
    if (!SaveToPath(strNewName))
        return FALSE;
    if (bReplace)
    {
        // Kept whole, so that a later change of the current folder does not move the file;
        // closing saves under the name the mosaic was last saved as.
        m_path = AfxFullPath(strNewName);
        m_saveName = m_path;
        m_ownFile = m_path;
        SetPathName(strNewName);
    }
    return TRUE;
}

BOOL CVitrolanDoc::DoFileSave()
{
    // A file of that name that this mosaic did not come from, like "photo.ms2" beside an
    // imported "photo.jpg", is not replaced without the user choosing it in the dialog.
    const DWORD dwAttributes = GetFileAttributesW(m_path);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES ||
        (dwAttributes & FILE_ATTRIBUTE_READONLY) != 0 || !IsSameFile(m_path, m_ownFile))
        return DoSave(L"", TRUE);
    return DoSave(m_path, TRUE);
}

BOOL CVitrolanDoc::SaveUnderSaveName()
{
    if (m_saveName.IsEmpty())
        return DoSave(L"", TRUE);
    return DoSave(FreeFileName(m_saveName, m_ownFile), TRUE);
}

BOOL CVitrolanDoc::IsModified()
{
    return m_dirty || CDocument::IsModified();
}

BOOL CVitrolanDoc::SaveModified()
{
    if (m_dirty && !SaveUnderSaveName())
    {
        // The save failed and was reported: the user decides between another name, leaving
        // the changes, and keeping the mosaic open.
        CString strPrompt;
        AfxFormatString1(strPrompt, AFX_IDP_ASK_TO_SAVE, GetTitle());
        switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE))
        {
        case IDYES:
            if (!DoSave(L"", TRUE))
                return FALSE;
            break;
        case IDNO:
            m_dirty = 0;
            break;
        default:
            return FALSE;
        }
    }
    if (m_tilePaletteModified && s_uiHooks.pfnMessageBox != NULL)
    {
        // Asked once: a palette the user does not keep is reloaded by what comes next.
        if (s_uiHooks.pfnMessageBox(GetLangText(TXT_ASK_SAVE_TILE_PALETTE)) == IDOK)
            OnSaveTilePalette();
        else
            m_tilePaletteModified = 0;
    }
    return TRUE;
}

BOOL CVitrolanDoc::SaveToPath(LPCTSTR lpszPathName)
{
    CommitPendingEdit();
    CWaitCursor wait;
    const CString strTarget(lpszPathName);

    // Written beside the target and put in its place only whole; a read-only file is not
    // replaced.
    CFileReplacement replacement;
    DWORD dwError = replacement.Begin(strTarget);
    if (dwError != NO_ERROR)
    {
        ReportFileNotWritten(strTarget, dwError);
        return FALSE;
    }
    if (!StoreDocument(*this, replacement.GetWorkPath(), strTarget))
        return FALSE;
    dwError = replacement.Commit();
    if (dwError != NO_ERROR)
    {
        ReportFileNotWritten(strTarget, dwError);
        return FALSE;
    }
    m_dirty = 0;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CVitrolanDoc::OnCloseDocument()
{
    if (m_dirty)
        SaveUnderSaveName();
    if (m_tilePaletteModified && s_uiHooks.pfnMessageBox != NULL &&
        s_uiHooks.pfnMessageBox(GetLangText(TXT_ASK_SAVE_TILE_PALETTE)) == IDOK)
        OnSaveTilePalette();

    // The shapes go with the document itself; here they are only wiped.
    EraseShape(m_selection);
    EraseShape(m_stampShape);
    DeletePlaques();

    const int nKind = m_imagePalette.m_paletteKind;
    const int nKinds = (int)(sizeof(kShadesOfKind) / sizeof(kShadesOfKind[0]));
    // A kind this program does not know frees every texture.
    const int nShades = nKind >= 0 && nKind < nKinds ? kShadesOfKind[nKind] : 25;
    FreeTileTextures(nShades);

    m_screenImage.Free();
    m_committedMap.Free();
    m_workingMap.Free();
    m_textImage.Free();
    m_clipboardMap.Free();
    m_patternCells.Free();

    CDocument::OnCloseDocument();
}

void CVitrolanDoc::OnFileSave()
{
    DoFileSave();
    ShowSavedPathName();
}

void CVitrolanDoc::OnFileSaveAs()
{
    DoSave(L"", TRUE);
    ShowSavedPathName();
}

void CVitrolanDoc::ShowSavedPathName()
{
    // The path name again, for the recent-file list and the title; a name this mosaic was
    // never written under, like the ".ms2" of an imported picture whose save was cancelled,
    // is no file to offer again.
    if (IsSameFile(m_path, m_ownFile) && GetFileAttributesW(m_path) != INVALID_FILE_ATTRIBUTES)
        SetPathName(m_path);
}
