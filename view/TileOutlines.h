// CTileOutlines: one tile of a laying-plan page at its true size, as the outline of its paving
// pattern, each part of a cut tile with its own colour and label. The result is a list of
// drawing operations named after the PDF-layer calls they become, so that the plan page
// replays them with one switch and everything here is testable without a page.
#pragma once

#include <windows.h>

#include <vector>

#include "AfxString.h"
#include "TileCell.h"

class C2Palette;
class CRasterImage;

// The PDF-layer call an operation becomes.
enum TileOpCode
{
    TileOpSetTextColor,     // value: colour
    TileOpSelectBrush,      // value: index of the image colour whose brush is selected
    TileOpSelectFont,       // value: tile font 1 or 2
    TileOpRectangle,        // rect
    TileOpEllipse,          // rect
    TileOpPolygon,          // points, the first repeated at the end so that the outline closes
    TileOpArcTo,            // rect, start, end: a pie arc with both radii
    TileOpArc,              // rect, start, end
    TileOpMoveTo,           // start
    TileOpLineTo,           // start
    TileOpDrawText          // value: text size; text, rect, hAlign, vAlign
};

struct TileOp
{
    TileOpCode code;
    int value;
    RECT rect;
    POINT start;
    POINT end;
    std::vector<POINT> points;
    CString text;
    int hAlign;
    int vAlign;
    int colour;             // texts: the image colour the label names; -1 otherwise
};

typedef std::vector<TileOp> TileOpList;

class CTileOutlines
{
public:
    // Label texts (the document's CellLabelMode).
    enum
    {
        LabelColourIndex = 0,
        LabelTileIndex = 1,
        LabelSymbol = 2,
        LabelNone = 3
    };
    // Text alignment of every label: centred both ways.
    enum { LabelAlignH = 1, LabelAlignV = 4 };

    CTileOutlines();

    // Settings of the page; the palettes must outlive the calls below.
    int m_pavingType;
    int m_pitch;                     // P: tile size plus joint, in page units
    int m_labelMode;                 // impression
    BOOL m_fillColours;              // imprCouleurs
    BOOL m_mirrored;                 // filet: the plate laid face down
    int m_textSize;                  // T of the page
    const C2Palette* m_pImagePalette;
    const C2Palette* m_pTilePalette; // label mode 1 looks colours up in it; NULL finds none

    // Column of the map whose tile is drawn at column c of a plate with these bounds.
    int SourceColumn(int column, double plateLeft, double plateRight) const;
    // Offset to the right of the tile box of row r, for staggered patterns.
    int RowOffset(int rows, int row) const;
    // Triangles point down in every second row counted from the bottom.
    static BOOL PointsDown(int rows, int row);
    int LabelSize(int kind) const;

    // The operations of the tile at column c, row r of the map with its grid place (x, y) on
    // the page: the whole drawing of one tile, mirroring and row offset included.
    void BuildTile(const CRasterImage& map, int rows, double plateLeft, double plateRight,
                   int column, int row, int x, int y, TileOpList& ops) const;
    // The operations of one cell as read from the map (mirrored here when m_mirrored) in the
    // tile box with top-left corner (x0, y0).
    void BuildCell(const TileCell& cell, int x0, int y0, BOOL pointsDown,
                   TileOpList& ops) const;

private:
    CString LabelText(int colour) const;
    COLORREF LabelColour(int colour, BOOL filled) const;
};
