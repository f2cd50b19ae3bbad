// A tile palette as a semicolon-separated text table: a line "description;name", a line
// "tile size;joint width", then one line "name;symbol;red;green;blue" per colour. Reading one
// keeps the lines that make sense and names the others.
#pragma once

#include <windows.h>

#include <vector>

#include "AfxString.h"

class C2Palette;

class CTextPalette
{
public:
    enum { MaxColours = 256, DefaultTileSize = 2500, DefaultJointWidth = 160 };

    struct Colour
    {
        CString name;
        CString symbol;
        BYTE red, green, blue;
    };

    CTextPalette();

    // Reads the text of a whole file ("\n" between lines). Blank lines are passed over.
    void Read(const CString& strText);
    // The table of the palette's description, name, sizes and named colours, each line
    // ending in "\n"; colours without a name are left out.
    static CString Format(const C2Palette& palette);

    // Gives the palette this table's texts, sizes and colours; the entries after the last
    // colour become black and unnamed. Every entry gets the imported cost value.
    void Fill(C2Palette& palette) const;

    // The first line's two fields joined by "_".
    CString GetName() const { return m_strFirst + L"_" + m_strSecond; }

    CString m_strFirst;              // the description
    CString m_strSecond;
    int m_tileSize;
    int m_jointWidth;
    std::vector<Colour> m_colours;
    // Numbers (from 1) of the lines that could not be read, and of the sound colour lines
    // after the last colour a palette holds.
    std::vector<int> m_refusedLines;
    std::vector<int> m_droppedLines;

    // "3, 5-7, 12": line numbers as the user reads them.
    static CString DescribeLines(const std::vector<int>& lines);

private:
    BOOL ReadSizes(const CString& strLine);
    BOOL ReadColour(const CString& strLine, Colour& colour) const;
};
