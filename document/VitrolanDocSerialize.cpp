// The ".ms2" document: the settings, the mixing tables, the committed cell map, the image
// palette, the tile display size and the customer data, in that order. The file carries no
// header; its version (current 39) decides which later fields it holds.
#include "VitrolanDoc.h"

#include <memory>
#include <string.h>

#include "AfxArchive.h"
#include "AfxException.h"
#include "DocSettings.h"

namespace
{

// Everything a file holds, read apart from the document so that a file that fails half-way
// leaves the document as it was.
struct Ms2Record
{
    int cols = 0, rows = 0, colourCount = 0, carplaquex = 0, carplaquey = 0;
    int showJoints = 0, showPlaques = 0, taillecar = 0, intercar = 0, coljoint = 0;
    int colfond = 0, filet = 0, impression = 0, unites = 0, format = 0, direction = 0;
    int decalage = 0, regles = 0;
    CString money, palettefile;
    int version = 0;
    BITMAPINFOHEADER header;
    int allowedColours[256], mixStart[256], mixStep[256], mixOptions[256];
    int mixPercent[MaxMixCount][256];
    int mixCount = 0, mixDirection = 0, allowedCount = 0;
    // Fields that older versions lack start with the document's values.
    int pavingType = 0, numerosgrille = 0, grillescouleur = 0;
    int responsive = 0, imprVignettes = 0;
    CRasterImage map;
    C2Palette palette;
    int tileSize = 0;
    CString clientStrings[8];
    int reservedValue = 0;

    Ms2Record() { memset(&header, 0, sizeof(header)); }
    ~Ms2Record() { map.Free(); }
    Ms2Record(const Ms2Record&) = delete;
    Ms2Record& operator=(const Ms2Record&) = delete;
};

// Size in bytes of a cell's block in the map of a file of that version.
int CellBlockOfVersion(int version)
{
    if (version < 20)
        return OldCellBlock2x2;
    return version == 20 ? OldCellBlock3x3 : CellBlock;
}

bool InRange(int value, int nMin, int nMax)
{
    return value >= nMin && value <= nMax;
}

void ReadHeader(CArchive& ar, BITMAPINFOHEADER& h)
{
    int width, height, xPels, yPels;
    UINT sizeImage, clrImportant, clrUsed, compression, size;
    WORD bitCount, planes;
    ar >> width >> height >> sizeImage >> xPels >> yPels >> bitCount >> clrImportant >>
        clrUsed >> compression >> planes >> size;
    h.biWidth = width;
    h.biHeight = height;
    h.biSizeImage = sizeImage;
    h.biXPelsPerMeter = xPels;
    h.biYPelsPerMeter = yPels;
    h.biBitCount = bitCount;
    h.biClrImportant = clrImportant;
    h.biClrUsed = clrUsed;
    h.biCompression = compression;
    h.biPlanes = planes;
    h.biSize = size;
}

void WriteHeader(CArchive& ar, const BITMAPINFOHEADER& h)
{
    ar << (int)h.biWidth << (int)h.biHeight << (UINT)h.biSizeImage << (int)h.biXPelsPerMeter
       << (int)h.biYPelsPerMeter << (WORD)h.biBitCount << (UINT)h.biClrImportant
       << (UINT)h.biClrUsed << (UINT)h.biCompression << (WORD)h.biPlanes << (UINT)h.biSize;
}

// What the program cannot work with: values that index tables, divide, allocate or bound
// loops in the later commands. Unusual but workable values pass.
bool IsUsable(const Ms2Record& r)
{
    if (!InRange(r.version, 0, Ms2CurrentVersion))
        return false;
    if (r.cols < 1 || r.rows < 1 || !InRange(r.colourCount, 0, MaxColourCount))
        return false;
    if (!InRange(r.carplaquex, 1, MaxPlateTiles) || !InRange(r.carplaquey, 1, MaxPlateTiles))
        return false;
    if (!InRange(r.taillecar, 1, MaxLength) || !InRange(r.intercar, 0, MaxLength))
        return false;
    if (!InRange(r.unites, 0, 1) || !InRange(r.format, 0, PaperFormatCount - 1))
        return false;
    // No palette file at all is a mosaic without a tile palette.
    if (!r.palettefile.IsEmpty() && !IsBarePaletteFileName(r.palettefile))
        return false;
    if (!InRange(r.mixCount, 1, MaxMixCount) || !InRange(r.allowedCount, 0, MaxColourCount))
        return false;
    if (!InRange(r.pavingType, 0, PavingTypeCount - 1))
        return false;
    if (!InRange(r.tileSize, 1, MaxTileDisplaySize))
        return false;
    // The cell map: an 8-bit plane holding whole cells of the file's layout.
    const int block = CellBlockOfVersion(r.version);
    const CRasterImage& m = r.map;
    if (m.type != 0 || m.data == NULL || m.width < block || m.height < block ||
        m.width % block != 0 || m.height % block != 0)
        return false;
    return true;
}

void TakePaletteFields(C2Palette& target, const C2Palette& source)
{
    target.m_version = source.m_version;
    target.m_name = source.m_name;
    target.m_description = source.m_description;
    target.m_costDivisor = source.m_costDivisor;
    target.m_tileSize = source.m_tileSize;
    target.m_jointWidth = source.m_jointWidth;
    for (int i = 0; i < C2Palette::ColourCount; i++)
    {
        target.m_colours[i] = source.m_colours[i];
        target.m_colourNames[i] = source.m_colourNames[i];
        target.m_symbols[i] = source.m_symbols[i];
        target.m_values[i] = source.m_values[i];
        target.m_notes[i] = source.m_notes[i];
        target.m_symbolFonts[i] = source.m_symbolFonts[i];
    }
    target.m_paletteKind = source.m_paletteKind;
}

}   // namespace

void CVitrolanDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_version = Ms2CurrentVersion;
        // The joints as the user has them: a zoom too small for them only hides them, and
        // the reader hides them again at such a zoom.
        const int nJoints = m_showJoints || m_jointsOffByZoom ? 1 : 0;
        ar << m_cols << m_rows << m_colourCount << carplaquex << carplaquey << nJoints
           << m_showPlaques << taillecar << intercar << coljoint << colfond << filet
           << impression << unites << format << direction << decalage << regles;
        ar << money << money << palettefile;
        ar << m_version;
        WriteHeader(ar, *m_bmpHeader);
        for (int c = 0; c < 256; c++)
        {
            ar << m_allowedColours[c] << m_mixStart[c] << m_mixStep[c] << m_mixOptions[c];
            for (int m = 0; m < MaxMixCount; m++)
                ar << m_mixPercent[m][c];
        }
        ar << m_mixCount << m_mixDirection << m_allowedCount;
        ar << m_pavingType << numerosgrille << grillescouleur;
        ar << responsive << imprVignettes;
        m_committedMap.Serialize(ar, m_version);
        m_imagePalette.SerializeVersion(ar, m_version);
        ar << m_tileSize;
        for (int i = 0; i < 8; i++)
            ar << m_clientStrings[i];
        ar << m_reservedValue;
        return;
    }

    std::unique_ptr<Ms2Record> rec(new Ms2Record);
    Ms2Record& r = *rec;
    r.pavingType = m_pavingType;
    r.numerosgrille = numerosgrille;
    r.grillescouleur = grillescouleur;
    r.responsive = responsive;
    r.imprVignettes = imprVignettes;
    r.tileSize = m_tileSize;
    for (int i = 0; i < 8; i++)
        r.clientStrings[i] = m_clientStrings[i];
    r.reservedValue = m_reservedValue;

    ar >> r.cols >> r.rows >> r.colourCount >> r.carplaquex >> r.carplaquey >> r.showJoints >>
        r.showPlaques >> r.taillecar >> r.intercar >> r.coljoint >> r.colfond >> r.filet >>
        r.impression >> r.unites >> r.format >> r.direction >> r.decalage >> r.regles;
    ar >> r.money >> r.money >> r.palettefile;
    ar >> r.version;
    // A version this program does not know has a layout it cannot read.
    if (!InRange(r.version, 0, Ms2CurrentVersion))
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    ReadHeader(ar, r.header);
    for (int c = 0; c < 256; c++)
    {
        ar >> r.allowedColours[c] >> r.mixStart[c] >> r.mixStep[c] >> r.mixOptions[c];
        for (int m = 0; m < MaxMixCount; m++)
            ar >> r.mixPercent[m][c];
    }
    ar >> r.mixCount >> r.mixDirection >> r.allowedCount;
    if (r.version >= 20)
        ar >> r.pavingType >> r.numerosgrille >> r.grillescouleur;
    if (r.version >= 38)
        ar >> r.responsive >> r.imprVignettes;
    r.map.Serialize(ar, r.version);
    r.palette.SerializeVersion(ar, r.version);
    if (r.version >= 22)
        ar >> r.tileSize;
    if (r.version >= 23)
    {
        for (int i = 0; i < 8; i++)
            ar >> r.clientStrings[i];
        ar >> r.reservedValue;
    }
    if (!IsUsable(r))
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);

    // The whole file was read: the document takes it.
    m_cols = r.cols;
    m_rows = r.rows;
    m_colourCount = r.colourCount;
    carplaquex = r.carplaquex;
    carplaquey = r.carplaquey;
    m_showJoints = r.showJoints;
    m_showPlaques = r.showPlaques;
    taillecar = r.taillecar;
    intercar = r.intercar;
    coljoint = r.coljoint;
    colfond = r.colfond;
    filet = r.filet;
    impression = r.impression;
    unites = r.unites;
    format = r.format;
    direction = r.direction;
    decalage = r.decalage;
    regles = r.regles;
    money = r.money;
    palettefile = r.palettefile;
    m_version = r.version;
    *m_bmpHeader = r.header;
    memcpy(m_allowedColours, r.allowedColours, sizeof(m_allowedColours));
    memcpy(m_mixStart, r.mixStart, sizeof(m_mixStart));
    memcpy(m_mixStep, r.mixStep, sizeof(m_mixStep));
    memcpy(m_mixOptions, r.mixOptions, sizeof(m_mixOptions));
    memcpy(m_mixPercent, r.mixPercent, sizeof(m_mixPercent));
    m_mixCount = r.mixCount;
    m_mixDirection = r.mixDirection;
    m_allowedCount = r.allowedCount;
    m_pavingType = r.pavingType;
    numerosgrille = r.numerosgrille;
    grillescouleur = r.grillescouleur;
    responsive = r.responsive;
    imprVignettes = r.imprVignettes;
    m_committedMap.Free();
    m_committedMap = r.map;   // the buffer changes hands
    r.map = CRasterImage();
    TakePaletteFields(m_imagePalette, r.palette);
    m_tileSize = r.tileSize;
    // The joints of the mosaic read, not those of the one it replaces.
    m_jointsOffByZoom = 0;
    FitJointsToTileSize();
    for (int i = 0; i < 8; i++)
        m_clientStrings[i] = r.clientStrings[i];
    m_reservedValue = r.reservedValue;
}
