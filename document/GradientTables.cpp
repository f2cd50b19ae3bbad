#include "GradientTables.h"

#include <stdio.h>

#include "Paving.h"

namespace
{

// A colour's share along a part of the gradient: the straight line through two points
// (step, percentage); a column that stays empty in that part has none.
struct ShareLine
{
    bool bOn;
    double x1, y1, x2, y2;
};

const ShareLine Off = {false, 0, 0, 0, 0};

constexpr ShareLine On(double x1, double y1, double x2, double y2)
{
    return ShareLine{true, x1, y1, x2, y2};
}

// The lines of the columns other than the remainder, in column order, up to the last step
// of the part.
struct GradientPart
{
    int nLastStep;
    ShareLine lines[GradientMaxColours - 1];
};

struct GradientTable
{
    int nColours;
    int nRestColumn;   // among the colour columns, the one that takes what the others leave
    int nParts;
    GradientPart parts[4];
};

const GradientTable kTables[] = {
    {2, 1, 1, {{100, {On(0, 5, 100, 95)}}}},
    {3, 2, 2, {{50, {On(0, 5, 50, 25), On(0, 35, 50, 50)}},
               {100, {On(50, 25, 100, 60), On(50, 50, 100, 35)}}}},
    {4, 3, 4, {{24, {Off, On(0, 0, 25, 50), On(0, 50, 25, 50)}},
               {49, {Off, On(25, 40, 75, 45), On(25, 45, 45, 40)}},
               {74, {On(50, 0, 100, 40), On(25, 40, 75, 45), On(50, 40, 100, 5)}},
               {100, {On(60, 7, 100, 40), On(75, 55, 100, 55), On(50, 45, 100, 5)}}}},
    {5, 1, 4, {{24, {Off, On(0, 5, 50, 35), On(0, 45, 50, 60), On(0, 50, 50, 5)}},
               {49, {Off, On(0, 5, 50, 45), On(25, 45, 50, 45), On(0, 50, 50, 5)}},
               {74, {Off, On(50, 45, 100, 5), On(50, 45, 75, 2), Off}},
               {100, {On(75, 5, 100, 40), On(50, 45, 100, 5), Off, Off}}}},
    {6, 1, 4, {{24, {Off, Off, On(0, 5, 40, 60), On(0, 45, 50, 5), On(0, 50, 30, 5)}},
               {49, {Off, On(30, 3, 50, 40), On(0, 5, 40, 60), On(0, 45, 50, 5), Off}},
               {74, {Off, On(50, 40, 75, 60), On(40, 60, 75, 10), Off, Off}},
               {100, {On(80, 2, 100, 35), On(75, 60, 100, 10), Off, Off, Off}}}},
};

// A line read before its first point can fall below 0, and rounding or a line run past its
// last point can take the columns past 100: neither is a share.
int ShareAt(const ShareLine& line, int i)
{
    if (!line.bOn)
        return 0;
    double slope = 0.0, dx = 0.0, intercept = 0.0;
    LineThroughPoints(DPoint{line.x1, line.y1}, DPoint{line.x2, line.y2}, slope, dx, intercept);
    const int nShare = RoundHalfAway(slope * i + intercept);
    return nShare < 0 ? 0 : nShare > 100 ? 100 : nShare;
}

}   // namespace

BOOL GradientRow(int nColours, int i, int row[1 + GradientMaxColours])
{
    if (nColours < GradientMinColours || nColours > GradientMaxColours)
        return FALSE;
    const GradientTable& table = kTables[nColours - GradientMinColours];
    int nPart = 0;
    while (nPart + 1 < table.nParts && i > table.parts[nPart].nLastStep)
        ++nPart;
    const GradientPart& part = table.parts[nPart];

    int shares[GradientMaxColours - 1];
    int nSum = 0, nLargest = 0;
    for (int c = 0; c < nColours - 1; ++c)
    {
        shares[c] = ShareAt(part.lines[c], i);
        nSum += shares[c];
        if (shares[c] > shares[nLargest])
            nLargest = c;
    }
    // Over 100 the remainder is empty and the largest share gives up the excess.
    if (nSum > 100)
    {
        shares[nLargest] -= nSum - 100;
        nSum = 100;
    }
    row[0] = i;
    for (int c = 0, s = 0; c < nColours; ++c)
        row[1 + c] = c == table.nRestColumn ? 100 - nSum : shares[s++];
    return TRUE;
}

CStringA GradientTableText(int nColours)
{
    CStringA strText;
    int row[1 + GradientMaxColours];
    for (int i = 1; i <= GradientSteps; ++i)
    {
        if (!GradientRow(nColours, i, row))
            break;
        char szNumber[16];
        for (int c = 0; c <= nColours; ++c)
        {
            snprintf(szNumber, sizeof(szNumber), c < nColours ? "%d\t" : "%d\r\n", row[c]);
            strText += szNumber;
        }
    }
    return strText;
}

CString GradientTableFileName(int nColours)
{
    CString strName;
    strName.Format(L"Gradient%dCouleurs.xls", nColours);
    return strName;
}
