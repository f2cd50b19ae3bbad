// The mosaic configuration as its dialog shows and returns it: lengths in millimetres or
// inches, the colour choices as list indexes, the plate and plan options.
#pragma once

#include <windows.h>

#include "AfxString.h"

struct ConfigurationValues
{
    double tileSize;              // millimetres or inches, by units
    double jointSize;
    int plateTilesAcross;
    int plateTilesDown;
    // The fewest tiles a plate may have down: triangles pair up in rows of two.
    int minPlateTilesDown;
    int jointColour;              // 0 white, 1 grey, 2 black, 3 custom
    int backgroundColour;         // 0 white, 1 grey, 2 custom
    COLORREF customJointColour;
    COLORREF customBackgroundColour;
    int layingMethod;             // 0 direct, 1 indirect
    int plateNumbering;           // 0 top to bottom, 1 bottom to top
    int staggerPlates;
    int plateLabels;              // 0 picture numbers, 1 tile numbers, 2 symbols
    int plateGrids;               // 0 in colour, 1 in black
    int showPlateNumbers;
    int printColours;
    int units;                    // 0 metric, 1 imperial
    CString unitText;             // "mm" or "in"
};
