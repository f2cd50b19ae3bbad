// CCellID: the address of one cell of a grid, row first. (-1, -1) stands for no cell; whether
// an address is inside a grid is the grid's question (CGridCtrl::IsValidId).
#pragma once

class CCellID
{
public:
    int row;
    int col;

    explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    bool operator==(const CCellID& other) const { return row == other.row && col == other.col; }
    bool operator!=(const CCellID& other) const { return !(*this == other); }
};
