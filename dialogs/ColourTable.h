// What the tables of the colour choice and of the colour mixes share: the layout of a table
// with a heading row and column, the cell that shows a tile colour, and the reading of a
// percentage typed into a cell.
#pragma once

#include <windows.h>

#include "GridCtrl.h"
#include "TilePalette.h"

// Empties the grid and gives it nRows x nCols cells: one heading row and one heading column,
// which select nothing when clicked, the Tab key moving within the table, every row 35
// pixels high.
void SetUpColourTable(CGridCtrl& grid, int nRows, int nCols);
// Cell (nRow, nCol) shows tile colour nColour: its name, centred, in black or white over the
// colour. The user cannot edit it.
void SetColourNameCell(CGridCtrl& grid, int nRow, int nCol, const C2Palette& palette,
                       int nColour);
// Centres the cell's text.
void CentreCell(CGridCtrl& grid, int nRow, int nCol);
// The cell's text read as a whole number the way atoi reads it (leading blanks and sign,
// then digits up to the first other character; nothing gives 0), kept within 0 to 100.
int ReadPercentCell(const CGridCtrl& grid, int nRow, int nCol);
// The same reading of a text.
int ReadPercent(LPCWSTR lpszText);
