// CCellRange: a rectangle of cells, both bounds inclusive. (-1, -1, -1, -1) is the empty
// range; whether a range lies inside a grid is the grid's question (CGridCtrl::IsValidRange).
#pragma once

class CCellRange
{
public:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;

    explicit CCellRange(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
        : m_nMinRow(nMinRow), m_nMinCol(nMinCol), m_nMaxRow(nMaxRow), m_nMaxCol(nMaxCol)
    {
    }

    // Every bound set and each minimum at most its maximum; the grid adds its counts.
    bool IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 &&
               m_nMinRow <= m_nMaxRow && m_nMinCol <= m_nMaxCol;
    }
    int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
    int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

    bool operator==(const CCellRange& other) const
    {
        return m_nMinRow == other.m_nMinRow && m_nMinCol == other.m_nMinCol &&
               m_nMaxRow == other.m_nMaxRow && m_nMaxCol == other.m_nMaxCol;
    }
    bool operator!=(const CCellRange& other) const { return !(*this == other); }
};
