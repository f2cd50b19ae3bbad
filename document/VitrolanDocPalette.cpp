// The tile palette commands, the Palette menu and the compacting of the image palette.
#include "VitrolanDoc.h"

#include <string.h>

#include "AfxException.h"
#include "AfxMenu.h"
#include "AfxWin.h"
#include "DocPaths.h"
#include "DocSettings.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

// Position of the Palette popup on the menu bar, and the items it always keeps (display
// submenu, textured tiles, separator, palette import, separator).
const int kPalettePopupPos = 3;
const int kFixedPaletteItems = 5;
const int kCountTables = 5;

CMenu* PalettePopup(CMenu* pBar)
{
    if (pBar == NULL || pBar->GetSafeHmenu() == NULL)
        return NULL;
    return pBar->GetSubMenu(kPalettePopupPos);
}

// By command, so that the bar finds the item in its popups.
void SetPaletteCheck(CMenu* pBar, int nID, BOOL bChecked)
{
    if (pBar == NULL || pBar->GetSafeHmenu() == NULL || nID == -1)
        return;
    pBar->CheckMenuItem((UINT)nID, MF_BYCOMMAND | (bChecked ? MF_CHECKED : MF_UNCHECKED));
}


bool IsBlack(const PaletteEntry& e)
{
    return e.peRed == 0 && e.peGreen == 0 && e.peBlue == 0;
}

bool SameRgb(const PaletteEntry& a, const PaletteEntry& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// The tile palette's colours run up to its last entry that holds one: a name, a symbol or
// a colour other than black. A black tile with its name is a colour like any other; an
// entry black and without texts is empty, even marked in use, as the palette table has
// always left the entries after its last colour.
int TileColourCountOf(const C2Palette& palette)
{
    for (int e = C2Palette::ColourCount - 1; e >= 0; e--)
        if (!IsBlack(palette.m_colours[e]) || !palette.m_colourNames[e].IsEmpty() ||
            !palette.m_symbols[e].IsEmpty())
            return e + 1;
    return 0;
}

}   // namespace

int CVitrolanDoc::BuildPaletteMenu()
{
    CString strPattern;
    strPattern.Format(L"%sPalettes\\*.pal", (LPCTSTR)m_programFolder);

    CMenu* pPopup = PalettePopup(FetchMenu());
    ClearPaletteMenu();

    // The wide search: an 8-bit one would lose the names the code page cannot express, and
    // those files could then never be opened.
    int nFound = 0;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strPattern, &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (nFound < PaletteMenuFileCount)
            {
                const CString strFile = data.cFileName;
                CString strText = strFile;
                strText.Replace(L".pal", L"");
                if (pPopup != NULL)
                    pPopup->AppendMenu(MF_STRING, ID_PALETTE_FIRST + nFound, strText);
                m_paletteMenuFiles[nFound] = strFile;
            }
            nFound++;
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    // Names left from an earlier, longer listing have no item any more.
    for (int k = nFound; k < PaletteMenuFileCount; k++)
        m_paletteMenuFiles[k].Empty();

    SetPaletteCheck(m_menu, lastPalCheck, TRUE);
    RedrawMenuBar();
    return nFound;
}

void CVitrolanDoc::BuildStalePaletteMenu()
{
    if (!m_paletteMenuStale)
        return;
    BuildPaletteMenu();
    // Without a menu bar to fill, the next document tries again.
    if (m_menu != NULL && m_menu->GetSafeHmenu() != NULL)
        m_paletteMenuStale = 0;
}

CString CVitrolanDoc::FirstPaletteFileName() const
{
    // In name order, whatever order the folder lists its files in.
    CString strPattern;
    strPattern.Format(L"%sPalettes\\*.pal", (LPCTSTR)m_programFolder);
    CString strFirst;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return strFirst;
    do
    {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            (strFirst.IsEmpty() || lstrcmpiW(data.cFileName, strFirst) < 0))
            strFirst = data.cFileName;
    } while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    return strFirst;
}

CString CVitrolanDoc::NoTilePaletteText() const
{
    return GetLangText(FirstPaletteFileName().IsEmpty() ? TXT_MSG_NO_PALETTE_FILES
                                                         : TXT_MSG_NO_TILE_PALETTE);
}

void CVitrolanDoc::RedrawMenuBar()
{
    // A hidden frame lays its menu bar out when it shows.
    CWnd* pFrame = GetMenuWindow();
    if (pFrame != NULL && pFrame->IsWindowVisible())
        pFrame->DrawMenuBar();
}

void CVitrolanDoc::ClearPaletteMenu()
{
    CMenu* pPopup = PalettePopup(FetchMenu());
    if (pPopup == NULL)
        return;
    for (int i = pPopup->GetMenuItemCount() - 1; i >= kFixedPaletteItems; i--)
        pPopup->DeleteMenu(i, MF_BYPOSITION);
}

int CVitrolanDoc::LoadPaletteFile(int nMode, int bRemember, LPCTSTR lpszFileName)
{
    // The name may be palettefile itself.
    const CString strFile = lpszFileName;
    CString strPath;
    strPath.Format(L"%sPalettes\\%s", (LPCTSTR)m_programFolder, (LPCTSTR)strFile);
    CString strChosen;
    // A damaged file, or one the user chose that cannot be read, is reported and the palette
    // stays as it was, still the palette of its own file: opening or creating a mosaic goes
    // on with it, and no table opens on it as if it were the file chosen.
    try
    {
        if (nMode != 0)
        {
            // A cancelled dialog loads nothing and changes nothing.
            strChosen = m_tilePalette.OpenDialog(nMode, strPath);
            if (strChosen.IsEmpty())
                return 0;
        }
        else if (strFile.IsEmpty())
        {
            // A mosaic that names no palette file has no tile palette.
            ClearTilePalette();
        }
        else
        {
            // A file the user chose from the menu is reported when it is gone; the palette
            // file of the settings may be missing without a word.
            m_tilePalette.LoadFromFile(strPath, bRemember);
        }
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
        return 0;
    }
    if (bRemember)
    {
        // The mosaic names the file it was given, so that it opens with it again.
        const CString strName = nMode == 0 ? strFile : KeepPaletteFile(strChosen);
        if (!strName.IsEmpty())
            palettefile = strName;
    }

    m_tileColourCount = TileColourCountOf(m_tilePalette);
    m_imagePalette.TakeNamesFrom(m_tilePalette);
    if (s_uiHooks.pfnResetImageBar != NULL)
        s_uiHooks.pfnResetImageBar();
    if (s_uiHooks.pfnRefreshTileBar != NULL)
        s_uiHooks.pfnRefreshTileBar();
    m_rebuildTileImages = 1;

    if (bRemember)
        ShowTilePaletteDialog();
    return 1;
}

void CVitrolanDoc::ClearTilePalette()
{
    m_tilePalette.Reset();
    m_tilePalette.m_name.Empty();
    m_tilePalette.m_description.Empty();
    m_tilePalette.m_paletteKind = PaletteKindPlain;
}

CString CVitrolanDoc::KeepPaletteFile(const CString& strPath)
{
    const CString strFolder = m_programFolder + L"Palettes\\";
    const CString strName = strPath.Mid(FileNameStart(strPath));
    if (IsSameFile(strPath, strFolder + strName))
        return strName;
    // A name the mosaic file could not name, such as a device's, gives way to a plain one.
    CString strTarget = strFolder + (IsBarePaletteFileName(strName) ? strName : L"Palette.pal");
    if (!HaveSameContents(strPath, strTarget))
    {
        strTarget = FreeFileName(strTarget, L"");
        DWORD dwError = EnsureFolder(strFolder);
        if (dwError == NO_ERROR && !CopyFileW(strPath, strTarget, TRUE))
            dwError = GetLastError();
        if (dwError != NO_ERROR)
        {
            ReportFileNotWritten(strTarget, dwError);
            return CString();
        }
    }
    return strTarget.Mid(FileNameStart(strTarget));
}

void CVitrolanDoc::SyncPaletteBars()
{
    // The merges and moves are worked out on the counts first: a count is the sum over the
    // parts of a colour, so a recolouring only relabels it. The map is then recoloured in
    // one pass, instead of one pass per colour moved.
    CountTilesPerColour();
    int counts[kCountTables][C2Palette::ColourCount];
    memcpy(counts, m_tileCounts, sizeof(counts));
    int newColour[C2Palette::ColourCount];
    for (int c = 0; c < C2Palette::ColourCount; c++)
        newColour[c] = c;
    bool bMoved = false;

    auto inUse = [&counts](int i) {
        for (int t = 0; t < kCountTables; t++)
            if (counts[t][i] != 0)
                return true;
        return false;
    };
    // Cells of j become i, with the counts of j.
    auto moveColour = [&](int j, int i) {
        for (int c = 0; c < C2Palette::ColourCount; c++)
            if (newColour[c] == j)
                newColour[c] = i;
        for (int t = 0; t < kCountTables; t++)
        {
            counts[t][i] = counts[t][j];
            counts[t][j] = 0;
        }
        bMoved = true;
    };

    PaletteEntry* colours = m_imagePalette.m_colours;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        if (!inUse(i))
            continue;
        for (int j = i + 1; j < C2Palette::ColourCount; j++)
            if (inUse(j) && SameRgb(colours[i], colours[j]))
                moveColour(j, i);
    }

    // Counted again, as the map now stands.
    memset(counts, 0, sizeof(counts));
    for (int c = 0; c < C2Palette::ColourCount; c++)
        for (int t = 0; t < kCountTables; t++)
            counts[t][newColour[c]] += m_tileCounts[t][c];

    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        if (inUse(i))
            continue;
        int j = C2Palette::ColourCount - 1;
        while (j > i && !inUse(j))
            j--;
        if (j == i)
            continue;
        colours[i].peRed = colours[j].peRed;
        colours[i].peGreen = colours[j].peGreen;
        colours[i].peBlue = colours[j].peBlue;
        moveColour(j, i);
    }

    if (bMoved)
    {
        m_workingMap.RemapCellColours(newColour, m_imagePalette.m_paletteKind,
                                      &m_randomSeeds[0], &m_randomSeeds[1]);
        // The colour the tools paint with is a colour, whatever its number.
        if (s_uiHooks.pfnRenumberImageBar != NULL)
            s_uiHooks.pfnRenumberImageBar(newColour);
    }
    CountTilesPerColour();
    m_colourCount = 0;
    for (int i = 0; i < C2Palette::ColourCount; i++)
        for (int t = 0; t < kCountTables; t++)
            if (m_tileCounts[t][i] != 0)
            {
                m_colourCount++;
                break;
            }
    for (int i = m_colourCount; i < C2Palette::ColourCount; i++)
        colours[i].peRed = colours[i].peGreen = colours[i].peBlue = 0;

    m_imagePalette.TakeNamesFrom(m_tilePalette);
    if (s_uiHooks.pfnResetImageBar != NULL)
        s_uiHooks.pfnResetImageBar();
    if (s_uiHooks.pfnShowPaletteBars != NULL)
        s_uiHooks.pfnShowPaletteBars();
}

void CVitrolanDoc::OnChoosePalette(UINT nID)
{
    if (s_uiHooks.pfnShowTilePaletteBar != NULL)
        s_uiHooks.pfnShowTilePaletteBar();
    // The message map routes one id past the last item.
    const UINT nIndex = nID - ID_PALETTE_FIRST;
    if (nIndex >= (UINT)PaletteMenuFileCount)
        return;

    FetchMenu();
    const int nPreviousCheck = lastPalCheck;
    SetPaletteCheck(m_menu, lastPalCheck, FALSE);
    SetPaletteCheck(m_menu, (int)nID, TRUE);
    lastPalCheck = (int)nID;
    if (!LoadPaletteFile(0, 1, m_paletteMenuFiles[nIndex]))
    {
        // The tick stays with the palette in use.
        SetPaletteCheck(FetchMenu(), (int)nID, FALSE);
        SetPaletteCheck(m_menu, nPreviousCheck, TRUE);
        lastPalCheck = nPreviousCheck;
    }
    RedrawMenuBar();
}

void CVitrolanDoc::OnOpenTilePaletteFile()
{
    if (!LoadPaletteFile(1, 1, L""))
        return;
    // Listed with the others when it was copied into the palette folder just now; no menu
    // palette is checked.
    RelistPaletteFiles();
}

void CVitrolanDoc::OnSaveTilePalette()
{
    // A cancelled dialog or a failed save keeps the edits marked, so that closing still
    // offers to save them.
    try
    {
        if (m_tilePalette.SaveAs(m_programFolder))
            m_tilePaletteModified = 0;
    }
    catch (CException* e)
    {
        e->ReportError();
        e->Delete();
    }
    RelistPaletteFiles();
}

void CVitrolanDoc::RelistPaletteFiles()
{
    CMenu* pBar = FetchMenu();
    for (int k = 0; k < PaletteMenuFileCount; k++)
    {
        if (m_paletteMenuFiles[k].IsEmpty())
            continue;
        if (pBar != NULL && pBar->GetSafeHmenu() != NULL)
            pBar->DeleteMenu(ID_PALETTE_FIRST + k, MF_BYCOMMAND);
        m_paletteMenuFiles[k].Empty();
    }
    BuildPaletteMenu();

    SetPaletteCheck(FetchMenu(), lastPalCheck, FALSE);
    lastPalCheck = -1;
    m_rebuildTileImages = 1;
}
