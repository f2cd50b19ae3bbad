// The sample gradient tables: for two to six colours, the share of each colour along a
// gradient of 100 steps.
#pragma once

#include "AfxString.h"

enum
{
    GradientMinColours = 2,
    GradientMaxColours = 6,
    GradientSteps = 100
};

// Row i - 1 of the table of nColours colours: i, then one percentage per colour, together
// 100 and each between 0 and 100. nColours outside 2 to 6 gives nothing (FALSE).
BOOL GradientRow(int nColours, int i, int row[1 + GradientMaxColours]);

// The whole table as its file holds it: one line per step, the numbers separated by tabs,
// each line ended by CR LF.
CStringA GradientTableText(int nColours);

// The table's file name, "Gradient<n>Couleurs.xls".
CString GradientTableFileName(int nColours);
