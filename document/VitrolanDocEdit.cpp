// The commands that change the grid as a whole or a selected block of it: resizing, rows and
// columns, the cell filter, triangles, mirrors, copy and paste, and the text stamp's picture.
#include "VitrolanDoc.h"

#include <string.h>

#include <algorithm>
#include <string>

#include "AfxApp.h"
#include "AfxException.h"
#include "LangText.h"
#include "OpenCv.h"
#include "Paving.h"
#include "TextIds.h"

namespace
{

// Modes of CRasterImage::CopyCellsRect.
const int kCopyPlain = 0;
const int kMirrorLeftRight = 1;
const int kMirrorTopBottom = 2;

// Length units per metre (1/100 mm) and per foot (1/1000 inch).
const double kUnitsPerMetre = 100000.0;
const double kUnitsPerFoot = 12000.0;

// The text stamp's font: OpenCV's simplex Hershey font at scale 1, one pixel thick, which
// draws the printable ASCII characters only.
const int kStampFont = 0;
const double kStampScale = 1.0;
const int kStampThickness = 1;
const int kStampMargin = 5;
const int kFirstDrawable = 32;
const int kLastDrawable = 126;

void ShowMessage(const CString& strText)
{
    if (CVitrolanDoc::s_uiHooks.pfnMessageBox != NULL)
        CVitrolanDoc::s_uiHooks.pfnMessageBox(strText);
}

void ReportException(CException* e)
{
    e->ReportError();
    e->Delete();
}

// The block from its first to its last column and row (both taken, in either order) as a
// rectangle of cells whose right and bottom lie past it.
RECT BlockRect(const int* block)
{
    RECT rect;
    rect.left = std::min(block[0], block[2]);
    rect.top = std::min(block[1], block[3]);
    rect.right = std::max(block[0], block[2]) + 1;
    rect.bottom = std::max(block[1], block[3]) + 1;
    return rect;
}

// The sides' counts taken together, or -1 when a chosen side asks for fewer than one.
int ChosenCount(const GridSides& sides, int nFirst, int nSecond)
{
    int nTotal = 0;
    for (int side : {nFirst, nSecond})
    {
        if (!sides.checked[side])
            continue;
        if (sides.counts[side] < 1)
            return -1;
        nTotal += sides.counts[side];
    }
    return nTotal;
}

}   // namespace

// ---- Grid size ----------------------------------------------------------------------------------

void CVitrolanDoc::ClearBorderCodes()
{
    m_workingMap.ClearBorderCodes(m_pavingType, m_cols, m_rows, -1, -1);
}

void CVitrolanDoc::SetBorderCodes()
{
    CRasterImage::SetBorderCodes(&m_workingMap, m_pavingType, m_cols, m_rows, -1, -1);
}

float CVitrolanDoc::PhysicalSize(int nLength) const
{
    return (float)(nLength / (unites ? kUnitsPerFoot : kUnitsPerMetre));
}

BOOL CVitrolanDoc::IsWorkableGridSize(int nCols, int nRows)
{
    if (nCols >= 1 && nRows >= 1 && nCols <= MaxGridSize && nRows <= MaxGridSize)
        return TRUE;
    CString strMessage;
    strMessage.Format(GetLangText(TXT_MSG_GRID_SIZE_REFUSED), nCols, nRows, (int)MaxGridSize,
                      (int)MaxGridSize);
    ShowMessage(strMessage);
    return FALSE;
}

BOOL CVitrolanDoc::SetGridSize(int nCols, int nRows)
{
    const int nOldCols = m_cols;
    const int nOldRows = m_rows;
    m_cols = nCols;
    m_rows = nRows;
    try
    {
        RebuildGridImages();
    }
    catch (CException* e)
    {
        // The command settled the pending edit first: the committed map is the mosaic as it
        // was before the command.
        m_cols = nOldCols;
        m_rows = nOldRows;
        m_committedMap.CopyBlock(&m_workingMap, 4 * m_cols, 4 * m_rows);
        ReportException(e);
        return FALSE;
    }
    return TRUE;
}

void CVitrolanDoc::OnResize()
{
    FetchMenu();
    ResetTools();
    // Settled before the colours are kept for this undo: a rejected colour mix is undone
    // with the colours kept for it.
    CommitPendingEdit();
    ClearBorderCodes();

    const float fWidth = (float)RoundToDecimals(
        PhysicalSize(TileToPixelX(m_pavingType, m_pitch, m_cols, 1)), 3);
    float fSize = fWidth;
    int nDimension = 0;
    const INT_PTR nResult =
        s_uiHooks.pfnAskResize != NULL
            ? s_uiHooks.pfnAskResize(&fSize, &nDimension, unites, m_unitTextLong)
            : IDCANCEL;
    if (nResult != IDOK || (nDimension == 0 && fSize == fWidth) ||
        !ResizeGrid(nDimension == 0 ? fWidth
                                    : PhysicalSize(RowToPixelY(m_pavingType, m_pitch,
                                                               m_rows, m_rows, 1)),
                    fSize))
        SetBorderCodes();
}

BOOL CVitrolanDoc::ResizeGrid(float fPresent, float fWanted)
{
    // Neither size can give a factor.
    if (!(fPresent > 0) || !(fWanted > 0))
        return FALSE;
    const BOOL bShrink = fPresent > fWanted;
    const double dFactor = bShrink ? (double)fPresent / fWanted : (double)fWanted / fPresent;
    int nCols = bShrink ? TilesAcross(PavingSquares, dFactor, m_cols, 1)
                        : TileToPixelX(PavingSquares, dFactor, m_cols, 1);
    int nRows = bShrink ? TilesDown(PavingSquares, dFactor, m_rows, 1)
                        : TileToPixelY(PavingSquares, dFactor, m_rows, 1);
    if (!IsWorkableGridSize(nCols, nRows))
        return FALSE;
    // The largest size is even: raising an odd count keeps it workable.
    nCols += nCols % 2;
    nRows += nRows % 2;

    CWaitCursor wait;
    CRasterImage working;
    try
    {
        working.Create(0, 4 * nCols, 4 * nRows);
    }
    catch (CException* e)
    {
        ReportException(e);
        return FALSE;
    }
    // The committed map keeps the old size and cells until the resize is settled or undone.
    m_workingMap.Free();
    m_workingMap = working;
    m_savedCols = m_cols;
    m_savedRows = m_rows;
    m_cols = nCols;
    m_rows = nRows;
    m_resizeFactor = dFactor;
    m_resizeShrunk = bShrink ? 1 : 2;
    m_workingMap.ResampleCells(&m_committedMap, m_cols, m_rows, dFactor, m_resizeShrunk);
    SetScaledTileSize(bShrink ? dFactor * m_tileSize : m_tileSize / dFactor);

    SetUndoItem(TXT_UNDO_RESIZE);
    // Compacting renumbers the colours: undo needs them as they were.
    SaveColoursForUndo();
    SyncPaletteBars();
    SetBorderCodes();

    m_rebuildTileImages = 1;
    m_undoPending = 1;
    m_resizePending = 1;
    m_plaquesValid = 0;
    m_dirty = 1;
    FitZoomToWindow();
    UpdateAllViews(NULL);
    return TRUE;
}

// ---- Rows and columns ---------------------------------------------------------------------------

BOOL CVitrolanDoc::AskGridSides(UINT nHeadingId, GridSides& sides, int& nRows, int& nCols)
{
    // Neither command can be undone, and both change the size under a pending edit: it is
    // settled, so that Undo cannot put an older size or palette over the new grid.
    ResetTools();
    CommitPendingEdit();
    ClearBorderCodes();
    for (int side = 0; side < GridSides::Count; side++)
    {
        sides.checked[side] = 0;
        sides.counts[side] = 1;
    }
    if (s_uiHooks.pfnAskRowsColumns == NULL ||
        s_uiHooks.pfnAskRowsColumns(GetLangText(nHeadingId), &sides) != IDOK)
    {
        SetBorderCodes();
        return FALSE;
    }
    nRows = ChosenCount(sides, GridSides::Top, GridSides::Bottom);
    nCols = ChosenCount(sides, GridSides::Left, GridSides::Right);
    if (nRows >= 0 && nCols >= 0)
        return TRUE;
    RefuseGridSides(TXT_MSG_COUNT_BELOW_ONE);
    return FALSE;
}

void CVitrolanDoc::RefuseGridSides(UINT nMessageId)
{
    ShowMessage(GetLangText(nMessageId));
    SetBorderCodes();
}

void CVitrolanDoc::EndGridSides()
{
    m_plaquesValid = 0;
    SetBorderCodes();
    m_workingMap.CopyBlock(&m_committedMap, 4 * m_cols, 4 * m_rows);
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnAddRowsColumns()
{
    GridSides sides;
    int nRowsAdded = 0;
    int nColsAdded = 0;
    if (!AskGridSides(TXT_ADD_ROWS_COLUMNS, sides, nRowsAdded, nColsAdded))
        return;
    // At most one row fewer than there are, and never past the largest grid.
    if (nRowsAdded >= m_rows || nColsAdded >= m_cols || m_rows + nRowsAdded > MaxGridSize ||
        m_cols + nColsAdded > MaxGridSize)
    {
        RefuseGridSides(TXT_MSG_ROWS_COLUMNS_LIMIT);
        return;
    }

    if (nRowsAdded + nColsAdded > 0 && SetGridSize(m_cols + nColsAdded, m_rows + nRowsAdded))
    {
        // The cells rebuilt at the new size sit at the top left; the new cells are zeros.
        if (sides.checked[GridSides::Top])
            m_workingMap.InsertRows(4 * sides.counts[GridSides::Top]);
        if (sides.checked[GridSides::Left])
            m_workingMap.InsertColumns(4 * sides.counts[GridSides::Left]);
        m_dirty = 1;
    }
    EndGridSides();
}

void CVitrolanDoc::OnDeleteRowsColumns()
{
    GridSides sides;
    int nRowsDeleted = 0;
    int nColsDeleted = 0;
    if (!AskGridSides(TXT_DELETE_ROWS_COLUMNS, sides, nRowsDeleted, nColsDeleted))
        return;
    if (nRowsDeleted >= m_rows || nColsDeleted >= m_cols)
    {
        RefuseGridSides(TXT_MSG_DELETE_LIMIT);
        return;
    }

    if (nRowsDeleted + nColsDeleted > 0)
    {
        // The cells move up and left first; rebuilding at the smaller size then drops the
        // rows and columns at the bottom and right.
        if (sides.checked[GridSides::Top])
            m_workingMap.DeleteRows(4 * sides.counts[GridSides::Top]);
        if (sides.checked[GridSides::Left])
            m_workingMap.DeleteColumns(4 * sides.counts[GridSides::Left]);
        if (SetGridSize(m_cols - nColsDeleted, m_rows - nRowsDeleted))
            m_dirty = 1;
    }
    EndGridSides();
}

// ---- Filter and triangles -----------------------------------------------------------------------

void CVitrolanDoc::OnFilterCells()
{
    FetchMenu();
    ResetTools();
    CommitPendingEdit();
    {
        CWaitCursor wait;
        ClearBorderCodes();
        m_committedMap.MajorityFilterCells(&m_workingMap, 3, m_cols, m_rows);
    }
    SetUndoItem(TXT_UNDO_FILTER_CELLS);
    m_undoPending = 1;
    SetBorderCodes();
    m_rebuildTileImages = 1;
    m_dirty = 1;
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnGenerateTriangles()
{
    FetchMenu();
    ResetTools();
    CommitPendingEdit();
    {
        CWaitCursor wait;
        m_workingMap.GenerateTriangles();
    }
    m_rebuildTileImages = 1;
    SetUndoItem(TXT_UNDO_GENERATE_TRIANGLES);
    m_undoPending = 1;
    m_dirty = 1;
    UpdateAllViews(NULL);
}

// ---- Selected block -----------------------------------------------------------------------------

CRect CVitrolanDoc::GetSelectionRect() const
{
    CRect rect(0, 0, 0, 0);
    if (m_selection != NULL && s_uiHooks.pfnGetShapeRect != NULL)
        s_uiHooks.pfnGetShapeRect(m_selection, &rect);
    return rect;
}

BOOL CVitrolanDoc::HasSelection() const
{
    const CRect rect = GetSelectionRect();
    return rect.left != rect.right && rect.top != rect.bottom;
}

void CVitrolanDoc::RedrawSelectionArea()
{
    if (s_uiHooks.pfnRedrawViewArea == NULL)
        return;
    CRect rect = GetSelectionRect();
    rect.InflateRect(m_tileSize, m_tileSize);
    s_uiHooks.pfnRedrawViewArea(&rect);
}

void CVitrolanDoc::CopyCellsKeepingBorder(const RECT& source, const RECT& target, int nMode)
{
    // The border's partial tiles belong to their places, not to the cells: they are taken
    // off before the cells move and laid again where the pattern has them.
    ClearBorderCodes();
    m_workingMap.CopyCellsRect(&m_workingMap, source, target, nMode);
    SetBorderCodes();
}

void CVitrolanDoc::MirrorSelection(int nMode, UINT nUndoTextId)
{
    FetchMenu();
    CommitPendingEdit();
    if (!m_selectTool || !HasSelection())
        return;
    // Mirrored within the part of the block that lies on the grid, so that its cells stay
    // on it.
    RECT block = BlockRect(m_copyRect);
    block.left = std::max<LONG>(block.left, 0);
    block.top = std::max<LONG>(block.top, 0);
    block.right = std::min<LONG>(block.right, m_cols);
    block.bottom = std::min<LONG>(block.bottom, m_rows);
    if (block.left < block.right && block.top < block.bottom)
        CopyCellsKeepingBorder(block, block, nMode);
    RedrawSelectionArea();
    SetUndoItem(nUndoTextId);
    m_undoPendingB = 1;
    m_dirty = 1;
}

void CVitrolanDoc::OnMirrorHorizontal()
{
    MirrorSelection(kMirrorLeftRight, TXT_UNDO_MIRROR_HORIZONTAL);
}

void CVitrolanDoc::OnMirrorVertical()
{
    MirrorSelection(kMirrorTopBottom, TXT_UNDO_MIRROR_VERTICAL);
}

void CVitrolanDoc::OnEditCopy()
{
    if (!m_selectTool || m_copyValid)
        return;
    CommitPendingEdit();
    if (!HasSelection())
        return;
    if (m_selection != NULL && s_uiHooks.pfnHideShapeHandles != NULL)
        s_uiHooks.pfnHideShapeHandles(m_selection);
    // The block selected now, wherever it was moved since it was drawn, is what the next
    // paste copies, from the mosaic as it is then.
    memcpy(m_copyRect + 4, m_copyRect, 4 * sizeof(int));
    m_copyValid = 1;
    RedrawSelectionArea();
}

void CVitrolanDoc::OnEditPaste()
{
    FetchMenu();
    CommitPendingEdit();
    if (!m_selectTool || !m_copyValid)
        return;
    CWaitCursor wait;
    const RECT source = BlockRect(m_copyRect + 4);
    const RECT current = HasSelection() ? BlockRect(m_copyRect) : source;
    RECT target = current;
    target.right = target.left + (source.right - source.left);
    target.bottom = target.top + (source.bottom - source.top);
    CopyCellsKeepingBorder(source, target, kCopyPlain);
    RedrawSelectionArea();
    SetUndoItem(TXT_UNDO_PASTE);
    m_undoPendingB = 1;
    m_dirty = 1;
}

// ---- Text stamp ---------------------------------------------------------------------------------

BOOL CVitrolanDoc::MakeTextImage(const CString& strText, CString& strMissing)
{
    // The font knows the printable ASCII characters; the text reaches it in the thread's
    // ANSI code page, where every other character would be drawn as '?'.
    strMissing.Empty();
    std::string text;
    for (int i = 0; i < strText.GetLength(); i++)
    {
        const WCHAR ch = strText[i];
        char narrow[8] = {};
        BOOL bDefaultUsed = FALSE;
        const int nBytes = WideCharToMultiByte(CP_THREAD_ACP, 0, &ch, 1, narrow, sizeof(narrow),
                                               NULL, &bDefaultUsed);
        const int nByte = (BYTE)narrow[0];
        if (nBytes != 1 || bDefaultUsed || nByte < kFirstDrawable || nByte > kLastDrawable)
        {
            if (strMissing.Find(ch) < 0)
                strMissing += ch;
            continue;
        }
        text += narrow[0];
    }
    if (!strMissing.IsEmpty())
        return FALSE;

    int nBaseline = 0;
    const cv::Size size =
        cv::getTextSize(text, kStampFont, kStampScale, kStampThickness, &nBaseline);
    // The rows below the base line hold the tails of g, j, p, q and y.
    cv::Mat picture(size.height + nBaseline + 2 * kStampMargin, size.width + 2 * kStampMargin,
                    CV_8UC3, cv::Scalar(255, 255, 255));
    cv::putText(picture, text, cv::Point(kStampMargin, size.height + kStampMargin), kStampFont,
                kStampScale, cv::Scalar(0, 0, 0), kStampThickness, cv::LINE_8, false);

    m_textImage.Free();
    m_textImage.Create(0, picture.cols, picture.rows);
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
            if (picture.at<cv::Vec3b>(y, x)[0] == 0)
                m_textImage.SetByte(x, y, 1);
    return TRUE;
}

void CVitrolanDoc::OnInsertText()
{
    FetchMenu();
    ResetTools();
    CommitPendingEdit();
    CString strText;
    // An empty text would stamp nothing.
    if (s_uiHooks.pfnAskStampText != NULL && s_uiHooks.pfnAskStampText(&strText) == IDOK &&
        !strText.IsEmpty())
    {
        CString strMissing;
        if (MakeTextImage(strText, strMissing))
        {
            m_textStampTool = 1;
        }
        else
        {
            CString strMessage;
            strMessage.Format(GetLangText(TXT_MSG_STAMP_CHARACTERS), (LPCTSTR)strMissing);
            ShowMessage(strMessage);
        }
    }
    m_rebuildTileImages = 1;
}

// ---- Menu state ---------------------------------------------------------------------------------

void CVitrolanDoc::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_selectTool && m_loaded);
}

void CVitrolanDoc::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_selectTool && m_copyValid && m_loaded);
}

void CVitrolanDoc::OnUpdateGenerateTriangles(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_loaded && m_pavingType == PavingSquares);
}

void CVitrolanDoc::OnUpdateMirror(CCmdUI* pCmdUI)
{
    const CRect rect = GetSelectionRect();
    pCmdUI->Enable(m_loaded && rect.Width() != 0 && rect.Height() != 0);
}
