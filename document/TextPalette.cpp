#include "TextPalette.h"

#include "CsvText.h"
#include "TilePalette.h"
#include "VitrolanDoc.h"

namespace
{

const double kImportedValue = 330.0;

// A whole number between separators, blanks around it allowed; FALSE for anything else.
BOOL ReadWholeNumber(const CString& strField, int nMin, int nMax, int& nValue)
{
    CString strNumber = strField;
    strNumber.Trim();
    const int nLength = strNumber.GetLength();
    if (nLength == 0 || nLength > 9)
        return FALSE;
    int nStart = strNumber[0] == L'-' || strNumber[0] == L'+' ? 1 : 0;
    if (nStart == nLength)
        return FALSE;
    long long value = 0;
    for (int i = nStart; i < nLength; i++)
    {
        if (strNumber[i] < L'0' || strNumber[i] > L'9')
            return FALSE;
        value = value * 10 + (strNumber[i] - L'0');
    }
    if (strNumber[0] == L'-')
        value = -value;
    if (value < nMin || value > nMax)
        return FALSE;
    nValue = (int)value;
    return TRUE;
}

BOOL IsBlank(const CString& strLine)
{
    CString strTrimmed = strLine;
    return strTrimmed.Trim().IsEmpty();
}

}   // namespace

CTextPalette::CTextPalette()
    : m_tileSize(DefaultTileSize), m_jointWidth(DefaultJointWidth)
{
}

void CTextPalette::Read(const CString& strText)
{
    *this = CTextPalette();
    // Records, not lines: a quoted name may hold line breaks, as the export writes them.
    CStringArray records;
    std::vector<int> nLines;
    SplitCsvRecords(strText, records, nLines);
    CStringArray fields;
    for (int k = 0; k < (int)records.GetSize(); k++)
    {
        const CString& strLine = records[k];
        const int nLine = nLines[(size_t)k];
        if (k == 0)
        {
            SplitCsvLine(strLine, fields);
            m_strFirst = fields[0];
            m_strSecond = fields.GetSize() > 1 ? fields[1] : CString();
            continue;
        }
        if (IsBlank(strLine))
            continue;
        if (k == 1)
        {
            if (!ReadSizes(strLine))
                m_refusedLines.push_back(nLine);
            continue;
        }
        Colour colour;
        if (!ReadColour(strLine, colour))
            m_refusedLines.push_back(nLine);
        else if ((int)m_colours.size() < MaxColours)
            m_colours.push_back(colour);
        else
            m_droppedLines.push_back(nLine);
    }
}

BOOL CTextPalette::ReadSizes(const CString& strLine)
{
    CStringArray fields;
    SplitCsvLine(strLine, fields);
    int nTile = 0, nJoint = 0;
    if (fields.GetSize() < 2 || !ReadWholeNumber(fields[0], 1, MaxLength, nTile) ||
        !ReadWholeNumber(fields[1], 0, MaxLength, nJoint))
        return FALSE;
    m_tileSize = nTile;
    m_jointWidth = nJoint;
    return TRUE;
}

BOOL CTextPalette::ReadColour(const CString& strLine, Colour& colour) const
{
    CStringArray fields;
    SplitCsvLine(strLine, fields);
    int rgb[3] = {0, 0, 0};
    if (fields.GetSize() < 5 || IsBlank(fields[0]))
        return FALSE;
    for (int c = 0; c < 3; c++)
        if (!ReadWholeNumber(fields[2 + c], 0, 255, rgb[c]))
            return FALSE;
    colour.name = fields[0];
    colour.symbol = fields[1];
    colour.red = (BYTE)rgb[0];
    colour.green = (BYTE)rgb[1];
    colour.blue = (BYTE)rgb[2];
    return TRUE;
}

CString CTextPalette::Format(const C2Palette& palette)
{
    CString strText;
    strText.Format(L"%s;%s\n%d;%d\n", (LPCTSTR)CsvField(palette.m_description),
                   (LPCTSTR)CsvField(palette.m_name), palette.m_tileSize,
                   palette.m_jointWidth);
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        if (palette.m_colourNames[i].IsEmpty())
            continue;
        const PaletteEntry& e = palette.m_colours[i];
        strText.AppendFormat(L"%s;%s;%d;%d;%d\n", (LPCTSTR)CsvField(palette.m_colourNames[i]),
                             (LPCTSTR)CsvField(palette.m_symbols[i]), e.peRed, e.peGreen,
                             e.peBlue);
    }
    return strText;
}

void CTextPalette::Fill(C2Palette& palette) const
{
    palette.Reset();
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        palette.m_values[i] = kImportedValue;
        if (i >= (int)m_colours.size())
            continue;
        const Colour& colour = m_colours[(size_t)i];
        palette.m_colourNames[i] = colour.name;
        palette.m_symbols[i] = colour.symbol;
        palette.m_colours[i].peRed = colour.red;
        palette.m_colours[i].peGreen = colour.green;
        palette.m_colours[i].peBlue = colour.blue;
    }
    palette.m_version = C2Palette::FormatVersion;
    palette.m_paletteKind = PaletteKindPlain;
    palette.m_tileSize = m_tileSize;
    palette.m_jointWidth = m_jointWidth;
    palette.m_description = m_strFirst;
    palette.m_name = GetName();
}

CString CTextPalette::DescribeLines(const std::vector<int>& lines)
{
    CString strText;
    for (size_t i = 0; i < lines.size();)
    {
        size_t j = i;
        while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1)
            j++;
        if (!strText.IsEmpty())
            strText += L", ";
        if (j == i)
            strText.AppendFormat(L"%d", lines[i]);
        else
            strText.AppendFormat(L"%d-%d", lines[i], lines[j]);
        i = j + 1;
    }
    return strText;
}
