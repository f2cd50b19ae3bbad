// The tile palette table: the palette grid filled from the tile palette colour by colour,
// and the edited table checked and taken back into the palette.
#include "VitrolanDoc.h"

#include <vector>

#include "GridCtrl2.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

const int kColumnCount = 7;
const int kColumnWidths[kColumnCount] = {60, 80, 80, 80, 70, 70, 70};
const int kRowHeight = 35;
const LONG kSymbolFontHeight = -16;
const COLORREF kWhite = RGB(255, 255, 255);
const DWORD kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const DWORD kLeftCentred = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// What a row of the table holds, as typed.
struct TableRow
{
    CString name;
    CString symbol;
    const LOGFONTW* pSymbolFont;
    int rgb[3];
    bool bRgbValid;
};

// An empty text or one blank counts as no text at all.
bool IsMissing(const CString& strText)
{
    return strText.IsEmpty() || strText == L" ";
}

bool SharesSymbol(const std::vector<TableRow>& rows, int k)
{
    if (rows[k].symbol.IsEmpty())
        return false;
    for (int l = 0; l < (int)rows.size(); l++)
        if (l != k && rows[l].symbol == rows[k].symbol)
            return true;
    return false;
}

// A cell the grid does not have leaves the palette's own value.
CString CellText(const CGridCtrl& grid, int nRow, int nCol, const CString& strStored)
{
    if (nRow >= grid.GetRowCount() || nCol >= grid.GetColumnCount())
        return strStored;
    return grid.GetItemText(nRow, nCol);
}

CString Decimal(int nValue)
{
    CString strText;
    strText.Format(L"%d", nValue);
    return strText;
}

template <typename T>
void NoteChange(T& stored, const T& value, bool& bChanged)
{
    if (!(stored == value))
    {
        stored = value;
        bChanged = true;
    }
}

}   // namespace

int CVitrolanDoc::GetTileColourRows() const
{
    if (m_tileColourCount < 0)
        return 0;
    return m_tileColourCount < C2Palette::ColourCount ? m_tileColourCount
                                                       : (int)C2Palette::ColourCount;
}

void CVitrolanDoc::FillPaletteGrid()
{
    if (m_paletteGrid == NULL)
        m_paletteGrid = new CGridCtrl2;
    CGridCtrl2& grid = *m_paletteGrid;
    const int n = GetTileColourRows();

    grid.DeleteAllItems();
    grid.SetColourRowCount(n);
    grid.SetColumnCount(kColumnCount);
    grid.SetRowCount(n + 1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowSelection(FALSE);
    grid.SetFixedColumnSelection(FALSE);
    grid.SetHandleTabKey(TRUE);
    for (int nCol = 0; nCol < kColumnCount; nCol++)
    {
        grid.SetColumnWidth(nCol, kColumnWidths[nCol]);
        grid.SetItemText(0, nCol, GetLangText(TXT_COLUMN_NUMBER + nCol));
        grid.SetItemFormat(0, nCol, kCentred);
    }
    for (int nRow = 0; nRow <= n; nRow++)
        grid.SetRowHeight(nRow, kRowHeight);

    for (int i = 0; i < n; i++)
    {
        const int nRow = i + 1;
        const PaletteEntry& colour = m_tilePalette.m_colours[i];
        grid.SetItemText(nRow, CGridCtrl2::COL_INDEX, Decimal(i));
        grid.SetItemFormat(nRow, CGridCtrl2::COL_INDEX, kCentred);
        grid.SetItemBackColour(nRow, CGridCtrl2::COL_SWATCH,
                               RGB(colour.peRed, colour.peGreen, colour.peBlue));
        grid.SetItemState(nRow, CGridCtrl2::COL_SWATCH,
                          grid.GetItemState(nRow, CGridCtrl2::COL_SWATCH) | GridCellReadOnly);
        grid.SetItemText(nRow, CGridCtrl2::COL_NAME, m_tilePalette.m_colourNames[i]);
        grid.SetItemFormat(nRow, CGridCtrl2::COL_NAME, kLeftCentred);
        grid.SetItemBackColour(nRow, CGridCtrl2::COL_NAME, kWhite);
        grid.SetItemText(nRow, CGridCtrl2::COL_SYMBOL, m_tilePalette.m_symbols[i]);
        grid.SetItemFormat(nRow, CGridCtrl2::COL_SYMBOL, kCentred);
        grid.SetItemBackColour(nRow, CGridCtrl2::COL_SYMBOL, kWhite);
        // The table shows the symbols at one size; the palette keeps its fonts as stored.
        LOGFONTW font = m_tilePalette.m_symbolFonts[i];
        font.lfHeight = kSymbolFontHeight;
        grid.SetItemFont(nRow, CGridCtrl2::COL_SYMBOL, &font);
        const int rgb[3] = {colour.peRed, colour.peGreen, colour.peBlue};
        for (int c = 0; c < 3; c++)
        {
            grid.SetItemText(nRow, CGridCtrl2::COL_RED + c, Decimal(rgb[c]));
            grid.SetItemFormat(nRow, CGridCtrl2::COL_RED + c, kCentred);
        }
    }
    if (n > 0)
        grid.SetFocusCellRowCol(1, 1);
    grid.Refresh();
}

void CVitrolanDoc::ShowTilePaletteDialog()
{
    FillPaletteGrid();
    if (s_uiHooks.pfnShowTilePaletteDialog != NULL)
        s_uiHooks.pfnShowTilePaletteDialog(this);
}

int CVitrolanDoc::ApplyPaletteGrid(CGridCtrl* pGrid, int& nIndex)
{
    nIndex = 0;
    if (pGrid == NULL)
        return PaletteTableValid;
    CGridCtrl& grid = *pGrid;
    const int n = GetTileColourRows();

    std::vector<TableRow> rows(n);
    for (int i = 0; i < n; i++)
    {
        const int nRow = i + 1;
        TableRow& row = rows[i];
        row.name = CellText(grid, nRow, CGridCtrl2::COL_NAME, m_tilePalette.m_colourNames[i]);
        row.symbol = CellText(grid, nRow, CGridCtrl2::COL_SYMBOL, m_tilePalette.m_symbols[i]);
        row.pSymbolFont = nRow < grid.GetRowCount() && CGridCtrl2::COL_SYMBOL < grid.GetColumnCount()
                              ? grid.GetItemFont(nRow, CGridCtrl2::COL_SYMBOL)
                              : NULL;
        const PaletteEntry& colour = m_tilePalette.m_colours[i];
        const int stored[3] = {colour.peRed, colour.peGreen, colour.peBlue};
        row.bRgbValid = true;
        for (int c = 0; c < 3; c++)
            row.bRgbValid &= CGridCtrl2::ReadColourComponent(
                                 CellText(grid, nRow, CGridCtrl2::COL_RED + c, Decimal(stored[c])),
                                 row.rgb[c]) != FALSE;
    }

    // Every fault is marked; the first one is reported.
    int nResult = PaletteTableValid;
    auto report = [&](int nFault, int i) {
        if (nResult == PaletteTableValid)
        {
            nResult = nFault;
            nIndex = i;
        }
    };
    for (int i = 0; i < n; i++)
    {
        const int nRow = i + 1;
        const bool bNoName = IsMissing(rows[i].name);
        const bool bNoSymbol = IsMissing(rows[i].symbol);
        grid.SetItemBackColour(nRow, CGridCtrl2::COL_NAME, bNoName ? CGridCtrl2::REFUSED_COLOUR : kWhite);
        grid.SetItemBackColour(nRow, CGridCtrl2::COL_SYMBOL,
                               bNoSymbol || SharesSymbol(rows, i) ? CGridCtrl2::REFUSED_COLOUR : kWhite);
        if (bNoName || bNoSymbol)
            report(PaletteTableMissingText, i);
    }
    for (int i = 0; i < n; i++)
        if (SharesSymbol(rows, i))
            report(PaletteTableSharedSymbol, i);
    for (int i = 0; i < n; i++)
        if (!rows[i].bRgbValid)
            report(PaletteTableBadComponent, i);
    if (n > 0 && grid.GetRowCount() > 1)
        grid.SetFocusCellRowCol(1, 1);
    grid.Refresh();
    // A table with a fault changes nothing, so that closing it keeps the palette as it was.
    if (nResult != PaletteTableValid)
        return nResult;

    bool bChanged = false;
    for (int i = 0; i < n; i++)
    {
        const TableRow& row = rows[i];
        NoteChange(m_tilePalette.m_colourNames[i], row.name, bChanged);
        if (m_tilePalette.m_symbols[i] != row.symbol)
        {
            m_tilePalette.m_symbols[i] = row.symbol;
            if (row.pSymbolFont != NULL)
                m_tilePalette.m_symbolFonts[i] = *row.pSymbolFont;
            bChanged = true;
        }
        PaletteEntry& colour = m_tilePalette.m_colours[i];
        NoteChange(colour.peRed, (BYTE)row.rgb[0], bChanged);
        NoteChange(colour.peGreen, (BYTE)row.rgb[1], bChanged);
        NoteChange(colour.peBlue, (BYTE)row.rgb[2], bChanged);
    }
    // The entries after the table's rows hold no colour, and are left as they are: an OK
    // without an edit changes nothing.
    if (bChanged)
        m_tilePaletteModified = 1;

    m_imagePalette.TakeNamesFrom(m_tilePalette);
    if (m_tilePaletteModified)
        OnSaveTilePalette();
    return PaletteTableValid;
}

CString CVitrolanDoc::GetPaletteTableMessage(const CGridCtrl* pGrid, int nResult, int nIndex)
{
    CString strMessage;
    switch (nResult)
    {
    case PaletteTableMissingText:
        strMessage.Format(L"%s %d", (LPCTSTR)GetLangText(TXT_MSG_COLOUR_NAME_OR_SYMBOL_MISSING), nIndex);
        break;
    case PaletteTableSharedSymbol:
        // The symbol as typed: the palette took nothing from the table.
        strMessage.Format(L"%s : %s",
                          pGrid != NULL ? (LPCTSTR)pGrid->GetItemText(nIndex + 1, CGridCtrl2::COL_SYMBOL) : L"",
                          (LPCTSTR)GetLangText(TXT_MSG_SYMBOL_USED_TWICE));
        break;
    case PaletteTableBadComponent:
        strMessage.Format(GetLangText(TXT_MSG_COLOUR_COMPONENT_RANGE), nIndex);
        break;
    default:
        break;
    }
    return strMessage;
}

void CVitrolanDoc::AcceptPaletteTable()
{
    m_plaquesValid = 0;
    // The palette measures in hundredths of a millimetre; a size the plates could not be
    // cut with keeps the document's own.
    const int nTileSize = ConvertLength(m_tilePalette.m_tileSize, 0, unites);
    const int nJointWidth = ConvertLength(m_tilePalette.m_jointWidth, 0, unites);
    if (nTileSize >= 1 && nTileSize <= MaxLength)
        taillecar = nTileSize;
    if (nJointWidth >= 0 && nJointWidth <= MaxLength)
        intercar = nJointWidth;
}
