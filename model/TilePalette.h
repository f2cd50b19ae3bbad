// C2Palette: a tile palette of up to 256 colours with their names, symbols, notes, values
// and symbol fonts, the ".pal" archive form, the family of tile ranges the palette belongs
// to, and the label pictures drawn over the tiles of each colour.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxGdi.h"
#include "Paving.h"
#include "RasterImage.h"
#include "RasterImageTable.h"

class CArchive;

// Texture family of a palette (the number of shades of its tile textures): 0 plain colours,
// 1 to 4 the families that the palette's name designates.
enum PaletteKind
{
    PaletteKindPlain = 0,
    PaletteKind25Shades = 1,
    PaletteKind10Shades = 2,
    PaletteKind1Shade = 3,
    PaletteKind4Shades = 4
};

class C2Palette : public CObject
{
    DECLARE_SERIAL(C2Palette)

public:
    enum
    {
        ColourCount = 256,
        CellKindCount = 7,
        TileImageCount = 2 * CellKindCount * ColourCount,   // 3584
        FormatVersion = 12,                                 // written by every store
        ShortFormVersion = 9,                               // palettes of documents before 20
        // The document version a ".pal" file is read as: every version from 20 on has the
        // full layout.
        CurrentDocumentVersion = 39
    };

    C2Palette();
    virtual ~C2Palette();

    int m_version;                   // format version (see FormatVersion)
    CString m_name;                  // palette name; the family rules read it
    // Version of the document being serialised. SerializeVersion sets it for one load; every
    // load then puts it back to CurrentDocumentVersion, so that a later ".pal" load reads the
    // full layout whatever document came before.
    int m_documentVersion;
    CString m_description;
    int m_costDivisor;               // cost figure = count x value / divisor
    int m_tileSize;                  // in the document's length unit
    int m_jointWidth;
    PaletteEntry m_colours[ColourCount];   // R, G, B, used (peFlags 1 = in use)
    CString m_colourNames[ColourCount];    // tile references
    CString m_symbols[ColourCount];
    double m_values[ColourCount];          // cost factor per colour
    CString m_notes[ColourCount];
    int m_labelStates[ColourCount];        // -4 none yet, -6 black label, -7 white label
    LOGFONTW m_symbolFonts[ColourCount];
    CFont m_numberFont;
    CFont m_symbolFont;
    // Label pictures, index TileImageIndex(orientation, kind, colour); 1 where the label is.
    // TileImageCount of them, made when first used.
    CRasterImageTable m_tileImages;
    int m_paletteKind;               // PaletteKind, derived from the name

    static int TileImageIndex(int orientation, int kind, int colour)
    {
        return (orientation * CellKindCount + kind) * ColourCount + colour;
    }

    // Loads or stores the palette, then derives the family kind from the name. A load that
    // fails (short or damaged archive) throws the archive exception and leaves the palette
    // exactly as it was.
    virtual void Serialize(CArchive& ar) override;
    void SerializeVersion(CArchive& ar, int documentVersion);

    // Gives every colour of this palette the attributes of the first colour of the other
    // palette with the same R, G and B (or empty ones), and takes its cost divisor and kind.
    virtual void TakeNamesFrom(const C2Palette& other);
    // First index of the other palette with the R, G, B of colour index of this one; -1.
    virtual int FindColourIn(const C2Palette& other, int index) const;
    // An empty palette named and described with the user's text for a new palette. Version,
    // family kind, label states and pictures are kept.
    virtual void Reset();
    // Open dialog (ask non-zero), starting in the folder of the path, or the given path (ask
    // zero; nothing when it cannot be opened), then load. The path of the file loaded; empty
    // when the dialog was cancelled or nothing was there.
    virtual CString OpenDialog(int ask, LPCTSTR lpszPath);
    // Save dialog in "Palettes" below the program folder; the palette takes the file's title.
    // FALSE when the dialog was cancelled; a file that cannot be written throws as
    // SaveToFile does.
    virtual BOOL SaveAs(LPCTSTR lpszProgramFolder);
    // The palette takes the name and is stored in the file at the path, whole or not at
    // all. A file that cannot be written throws the file exception, naming the path; the
    // file then holds what it held and the palette keeps its name.
    virtual void SaveToFile(LPCTSTR lpszPath, LPCTSTR lpszName);

    // Renders the label of colour a into one tile picture; 1 when it fits the tile's shape.
    virtual int DrawTile(CDC* pDC, int a, int fontHeight, int fitSize, int kind,
                         int displayMode, int n, int labelMode, const C2Palette* pReference,
                         const CRasterImage* pMasks0, const CRasterImage* pMasks1,
                         int pavingType, int orientation);
    // Renders the labels of colours 0 to colourCount - 1 for every cell kind in use. The
    // mask sets are indexed by paving type (orientation 0 and orientation 1); the five count
    // tables (256 ints each, NULL for none) enable kind 0, kinds 3-4, kinds 1-2, kind 5 and
    // kind 6.
    virtual void BuildTileImages(int displayMode, int colourCount, int n, int labelMode,
                                 const C2Palette* pReference, int pavingType,
                                 const CRasterImage* pShapeMasks,
                                 const CRasterImage* pJointMasks, const int* pCounts0,
                                 const int* pCounts1, const int* pCounts2,
                                 const int* pCounts3, const int* pCounts4);
    virtual void GetSymbolFont(LOGFONTW& font);

    // Loads the ".pal" file at the path. FALSE, with the palette unchanged, when the file
    // cannot be opened, or with bReportMissing the file exception; a damaged file throws the
    // archive exception (palette unchanged).
    BOOL LoadFromFile(LPCTSTR lpszPath, BOOL bReportMissing = FALSE);

    // The family rules: the kind the name gives, or currentKind when no rule matches. The
    // store pass leaves out the last rule, as the stored files have always had it.
    static int KindFromName(const CString& strName, int currentKind, BOOL bStorePass);

    void FreeTileImages();

private:
    void Store(CArchive& ar);
    void LoadInto(CArchive& ar, int documentVersion);
    void TakeStoredFields(C2Palette& loaded);
};
