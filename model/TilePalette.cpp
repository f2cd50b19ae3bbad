#include "TilePalette.h"

#include "LangText.h"
#include "TextIds.h"

#include <memory>

#include "AfxArchive.h"
#include "AfxDlgs.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxFileReplacement.h"

IMPLEMENT_SERIAL(C2Palette, CObject, 1)

namespace
{

const int kFontFaceLength = LF_FACESIZE;   // 32 UTF-16 units, stored whole

void WriteLogFont(CArchive& ar, const LOGFONTW& font)
{
    ar << (int)font.lfHeight << (int)font.lfWidth << (int)font.lfEscapement
       << (int)font.lfOrientation << (int)font.lfWeight;
    ar << (BYTE)font.lfItalic << (BYTE)font.lfUnderline << (BYTE)font.lfStrikeOut
       << (BYTE)font.lfCharSet << (BYTE)font.lfOutPrecision << (BYTE)font.lfClipPrecision
       << (BYTE)font.lfQuality << (BYTE)font.lfPitchAndFamily;
    for (int i = 0; i < kFontFaceLength; i++)
        ar << (WORD)font.lfFaceName[i];
}

void ReadLogFont(CArchive& ar, LOGFONTW& font)
{
    int values[5];
    for (int i = 0; i < 5; i++)
        ar >> values[i];
    font.lfHeight = values[0];
    font.lfWidth = values[1];
    font.lfEscapement = values[2];
    font.lfOrientation = values[3];
    font.lfWeight = values[4];
    ar >> font.lfItalic >> font.lfUnderline >> font.lfStrikeOut >> font.lfCharSet
       >> font.lfOutPrecision >> font.lfClipPrecision >> font.lfQuality
       >> font.lfPitchAndFamily;
    for (int i = 0; i < kFontFaceLength; i++)
    {
        WORD unit;
        ar >> unit;
        font.lfFaceName[i] = (WCHAR)unit;
    }
    // The face goes to GDI as a C string: a file without a terminator must not make it read on.
    font.lfFaceName[kFontFaceLength - 1] = 0;
}

bool SameRgb(const PaletteEntry& a, const PaletteEntry& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

bool IsScales(int pavingType)
{
    return pavingType == PavingScales1 || pavingType == PavingScales2;
}

// Number of label copies a cell kind gets, one per part of the tile.
int LabelPartCount(int kind, int pavingType)
{
    switch (kind)
    {
    case 0:
        return 1;
    case 1:
    case 2:
        return IsScales(pavingType) ? 1 : 2;
    case 3:
    case 4:
        return 2;
    case 5:
        return IsScales(pavingType) ? 2 : 4;
    case 6:
        return IsScales(pavingType) ? 1 : 4;
    default:
        return 0;
    }
}

// Where the label of one part of a tile of side n starts, for a text of tw x th pixels.
void LabelOffset(int kind, int part, int pavingType, int orientation, int n, int tw, int th,
                 int& dx, int& dy)
{
    const int f = n / 2;
    const int tw2 = tw / 2;
    const int th2 = th / 2;
    const bool triangles = pavingType == PavingTriangles;
    const bool scales1 = pavingType == PavingScales1;
    const bool scales2 = pavingType == PavingScales2;
    switch (kind)
    {
    case 0:
        dx = f - tw2;
        if (triangles)
            dy = orientation == 0 ? 1 : n - th - 1;
        else if (scales1)
            dy = f + 1;
        else if (scales2)
            dy = f - 1 - th;
        else
            dy = f - th2;
        break;
    case 1:
        if (part == 0 && !scales1)
        {
            dx = f - 1 - tw;
            dy = f - th;
        }
        else
        {
            dx = f + 1;
            dy = f;
        }
        break;
    case 2:
        if (part == 0 && !scales1)
        {
            dx = f + 1;
            dy = f - 1 - th;
        }
        else
        {
            dx = f - 1 - tw;
            dy = f + 1;
        }
        break;
    case 3:
        dx = f - tw2;
        dy = part == 0 ? f + 1 : f - 1 - th;
        break;
    case 4:
    {
        // The first copy lies left of the middle and the second right of it, except on
        // triangles, where they change sides.
        const int left = f - 1 - tw;
        const int right = f + 1;
        dx = (part == 0) != triangles ? left : right;
        if (triangles)
            dy = orientation == 0 ? n - th - 1 : 1;
        else if (scales1)
            dy = f + 1;
        else if (scales2)
            dy = f - 1 - th;
        else
            dy = f - th2;
        break;
    }
    case 5:
        if (part == 0)
        {
            dx = f - 1 - tw;
            dy = scales2 ? f - 1 - th : f + 1;
        }
        else if (part == 1)
        {
            dx = f + 1;
            dy = scales2 ? f - 1 - th : f + 1;
        }
        else
        {
            dx = part == 2 ? f - 1 - tw : f + 1;
            dy = f - 1 - th;
        }
        break;
    case 6:
        if (part == 0)
        {
            dx = f - tw2;
            dy = scales1 ? f + th2 : f - (3 * th) / 2;
        }
        else if (part == 1)
        {
            dx = f - tw2;
            dy = f + th2;
        }
        else
        {
            dx = part == 2 ? f - (3 * tw) / 2 : f + tw2;
            dy = f - th2;
        }
        if (dx < 0)
            dx = 0;
        if (dy < 0)
            dy = 0;
        break;
    default:
        dx = dy = 0;
        break;
    }
}

}

C2Palette::C2Palette()
    : m_version(FormatVersion),
      m_documentVersion(CurrentDocumentVersion),
      m_costDivisor(330),
      m_tileSize(2500),
      m_jointWidth(160),
      m_tileImages(TileImageCount),
      m_paletteKind(PaletteKindPlain)
{
    for (int i = 0; i < ColourCount; i++)
    {
        m_colours[i].peRed = m_colours[i].peGreen = m_colours[i].peBlue = 0;
        m_colours[i].peFlags = 0;
        m_values[i] = 0.0;
        m_labelStates[i] = -4;
        GetSymbolFont(m_symbolFonts[i]);
    }
}

C2Palette::~C2Palette()
{
    FreeTileImages();
}

void C2Palette::FreeTileImages()
{
    m_tileImages.FreeAll();
}

void C2Palette::GetSymbolFont(LOGFONTW& font)
{
    ZeroMemory(&font, sizeof(font));
    font.lfHeight = -14;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"Arial Unicode MS", LF_FACESIZE);
}

// ---- Family rules ----------------------------------------------------------------------

int C2Palette::KindFromName(const CString& strName, int currentKind, BOOL bStorePass)
{
    if (strName == L"Bisazza-LeGemme" || strName == L"Bisazza-Vetricolor")
        return 1;
    if (strName == L"EmauxDeBriare-Harmonies" || strName == L"EmauxDeBriare-Mazurka")
        return 2;
    // A name that starts with "Steinzeug" does not count by that first occurrence: the
    // stored files were classed this way and keep their kind.
    if (strName == L"Technopanel" || strName.Find(L"Steinzeug", 1) >= 0)
        return 3;
    static const LPCWSTR kSingleTextureNames[] = {
        L"Vidrepur-Lisos", L"Vidrepur-Nieblas", L"Vidrepur-Titanium", L"Vidrepur-Essentials",
        L"Vidrepur-Deco",  L"Vidrepur-Arts",    L"MicroVitrolan",     L"SoloMosaic"};
    for (LPCWSTR lpszName : kSingleTextureNames)
        if (strName == lpszName)
            return 3;
    if (strName.Find(L"Rose") >= 0 || strName.Find(L"YouWei") >= 0 || strName.Find(L"TEX") >= 0)
        return 3;
    if (strName.Find(L"CordobaEye") >= 0)
        return 4;
    // The stored kind has never known this rule; only the palette in memory takes it.
    if (!bStorePass && strName == L"Mosaica")
        return 3;
    return currentKind;
}

// ---- Archive form ----------------------------------------------------------------------

void C2Palette::SerializeVersion(CArchive& ar, int documentVersion)
{
    m_documentVersion = documentVersion;
    Serialize(ar);
}

void C2Palette::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        Store(ar);
        return;
    }
    // The document version serves this one load only.
    const int documentVersion = m_documentVersion;
    m_documentVersion = CurrentDocumentVersion;
    // Read into a fresh palette, so that a short or damaged archive leaves this one as it
    // was; a fresh palette also reads the full layout, whatever an older document left here.
    std::unique_ptr<C2Palette> loaded(new C2Palette);
    loaded->LoadInto(ar, documentVersion);
    TakeStoredFields(*loaded);
}

void C2Palette::Store(CArchive& ar)
{
    m_version = FormatVersion;
    ar << m_name << m_description << m_costDivisor << m_tileSize << m_jointWidth;
    for (int i = 0; i < ColourCount; i++)
    {
        ar << m_colours[i].peRed << m_colours[i].peGreen << m_colours[i].peBlue
           << m_colours[i].peFlags;
        ar << m_colourNames[i] << m_symbols[i] << m_values[i];
    }
    ar << m_version;
    for (int i = 0; i < ColourCount; i++)
        WriteLogFont(ar, m_symbolFonts[i]);
    m_paletteKind = KindFromName(m_name, m_paletteKind, TRUE);
    ar << m_paletteKind;
    for (int i = 0; i < ColourCount; i++)
        ar << m_notes[i];
    m_paletteKind = KindFromName(m_name, m_paletteKind, FALSE);
}

void C2Palette::LoadInto(CArchive& ar, int documentVersion)
{
    ar >> m_name >> m_description >> m_costDivisor >> m_tileSize >> m_jointWidth;
    for (int i = 0; i < ColourCount; i++)
    {
        ar >> m_colours[i].peRed >> m_colours[i].peGreen >> m_colours[i].peBlue >>
            m_colours[i].peFlags;
        ar >> m_colourNames[i] >> m_symbols[i] >> m_values[i];
    }
    m_paletteKind = PaletteKindPlain;
    for (int i = 0; i < ColourCount; i++)
        m_notes[i].Empty();
    if (documentVersion < 20)
        m_version = ShortFormVersion;
    else
    {
        ar >> m_version;
        for (int i = 0; i < ColourCount; i++)
            ReadLogFont(ar, m_symbolFonts[i]);
        if (m_version >= 11)
        {
            ar >> m_paletteKind;
            for (int i = 0; i < ColourCount; i++)
                ar >> m_notes[i];
        }
    }
    m_paletteKind = KindFromName(m_name, m_paletteKind, FALSE);
}

void C2Palette::TakeStoredFields(C2Palette& loaded)
{
    m_version = loaded.m_version;
    m_name = loaded.m_name;
    m_description = loaded.m_description;
    m_costDivisor = loaded.m_costDivisor;
    m_tileSize = loaded.m_tileSize;
    m_jointWidth = loaded.m_jointWidth;
    for (int i = 0; i < ColourCount; i++)
    {
        m_colours[i] = loaded.m_colours[i];
        m_colourNames[i] = std::move(loaded.m_colourNames[i]);
        m_symbols[i] = std::move(loaded.m_symbols[i]);
        m_values[i] = loaded.m_values[i];
        m_notes[i] = std::move(loaded.m_notes[i]);
        m_symbolFonts[i] = loaded.m_symbolFonts[i];
    }
    m_paletteKind = loaded.m_paletteKind;
}

// The palette stored in or read from the whole file; on failure the archive and the file
// are abandoned without writing anything more, and the exception goes on.
static void SerializeWholeFile(C2Palette& palette, CFile& file, UINT nMode)
{
    CArchive ar(&file, nMode, 4096);
    try
    {
        palette.Serialize(ar);
        ar.Close();
    }
    catch (CException*)
    {
        ar.Abort();
        file.Abort();
        throw;
    }
    file.Close();
}

BOOL C2Palette::LoadFromFile(LPCTSTR lpszPath, BOOL bReportMissing)
{
    CFile file;
    CFileException error;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite, &error))
    {
        if (bReportMissing)
            AfxThrowFileException(error.m_cause, error.m_lOsError, lpszPath);
        return FALSE;
    }
    m_documentVersion = CurrentDocumentVersion;
    SerializeWholeFile(*this, file, CArchive::load);
    return TRUE;
}

CString C2Palette::OpenDialog(int ask, LPCTSTR lpszPath)
{
    CString strPath = lpszPath;
    if (ask != 0)
    {
        CFileDialog dialog(TRUE, L"pal", L"*.pal",
                           OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                           GetLangText(TXT_PALETTE_FILE_FILTER));
        const CString strFolder = strPath.Left(strPath.ReverseFind(L'\\') + 1);
        if (!strFolder.IsEmpty())
            dialog.m_ofn.lpstrInitialDir = strFolder;
        if (dialog.DoModal() != IDOK)
            return CString();
        strPath = dialog.GetPathName();
    }
    // A file the user chose that cannot be opened is an error for the caller to report; a
    // named palette that is not there leaves the palette as it was.
    return LoadFromFile(strPath, ask != 0) ? strPath : CString();
}

BOOL C2Palette::SaveAs(LPCTSTR lpszProgramFolder)
{
    CString strInitial;
    strInitial.Format(L"%sPalettes\\*.pal", lpszProgramFolder);
    CFileDialog dialog(FALSE, L"pal", strInitial, OFN_HIDEREADONLY,
                       GetLangText(TXT_PALETTE_FILE_FILTER));
    if (dialog.DoModal() != IDOK)
        return FALSE;
    SaveToFile(dialog.GetPathName(), dialog.GetFileTitle());
    return TRUE;
}

void C2Palette::SaveToFile(LPCTSTR lpszPath, LPCTSTR lpszName)
{
    // Written beside the file and put in its place only whole: a failure leaves the file as
    // it was, and the palette with the name and kind it had.
    const CString strOldName = m_name;
    const int nOldVersion = m_version;
    const int nOldKind = m_paletteKind;
    CFileReplacement replacement;
    DWORD dwError = replacement.Begin(lpszPath);
    if (dwError != NO_ERROR)
        AfxThrowFileException(CFileException::OsErrorToException((LONG)dwError), (LONG)dwError,
                              lpszPath);
    m_name = lpszName;
    try
    {
        CFile file(replacement.GetWorkPath(), CFile::modeCreate | CFile::modeWrite);
        SerializeWholeFile(*this, file, CArchive::store);
        dwError = replacement.Commit();
        if (dwError != NO_ERROR)
            AfxThrowFileException(CFileException::OsErrorToException((LONG)dwError),
                                  (LONG)dwError, lpszPath);
    }
    catch (CException* e)
    {
        m_name = strOldName;
        m_version = nOldVersion;
        m_paletteKind = nOldKind;
        // The user knows the file by its own name, not by the one written beside it.
        if (e->IsKindOf(RUNTIME_CLASS(CFileException)))
            ((CFileException*)e)->m_strFileName = lpszPath;
        else if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)))
            ((CArchiveException*)e)->m_strFileName = lpszPath;
        throw;
    }
}

// ---- Names and colours -----------------------------------------------------------------

void C2Palette::TakeNamesFrom(const C2Palette& other)
{
    m_costDivisor = other.m_costDivisor;
    m_paletteKind = other.m_paletteKind;
    for (int n = 0; n < ColourCount; n++)
    {
        m_colourNames[n].Empty();
        m_symbols[n].Empty();
        m_notes[n].Empty();
        m_values[n] = 0.0;
        GetSymbolFont(m_symbolFonts[n]);
        // The lowest matching index of the other palette gives the attributes.
        for (int m = 0; m < ColourCount; m++)
        {
            if (!SameRgb(m_colours[n], other.m_colours[m]))
                continue;
            m_colourNames[n] = other.m_colourNames[m];
            m_symbols[n] = other.m_symbols[m];
            m_values[n] = other.m_values[m];
            CopyLogFont(other.m_symbolFonts[m], m_symbolFonts[n]);
            // Textured families find their texture folder by the tile's name.
            m_notes[n] = m_paletteKind < 1 ? other.m_notes[m] : other.m_colourNames[m];
            break;
        }
    }
}

int C2Palette::FindColourIn(const C2Palette& other, int index) const
{
    if (index < 0 || index >= ColourCount)
        return -1;
    for (int i = 0; i < ColourCount; i++)
        if (SameRgb(m_colours[index], other.m_colours[i]))
            return i;
    return -1;
}

void C2Palette::Reset()
{
    m_name = GetLangText(TXT_NEW_PALETTE);
    m_description = m_name;
    m_costDivisor = 330;
    m_tileSize = 2500;
    m_jointWidth = 160;
    for (int i = 0; i < ColourCount; i++)
    {
        m_colours[i].peRed = m_colours[i].peGreen = m_colours[i].peBlue = 0;
        m_colours[i].peFlags = 0;
        m_colourNames[i].Empty();
        m_symbols[i].Empty();
        m_notes[i].Empty();
        m_values[i] = 0.0;
        GetSymbolFont(m_symbolFonts[i]);
    }
}

// ---- Label pictures --------------------------------------------------------------------

int C2Palette::DrawTile(CDC* pDC, int a, int fontHeight, int fitSize, int kind,
                        int displayMode, int n, int labelMode, const C2Palette* pReference,
                        const CRasterImage* pMasks0, const CRasterImage* pMasks1,
                        int pavingType, int orientation)
{
    if (pDC == NULL || a < 0 || a >= ColourCount || kind < 0 || kind >= CellKindCount ||
        orientation < 0 || orientation > 1 || n < 1)
        return 0;

    // 1. Font. The symbol font keeps the height it is drawn with.
    CFont* pFont;
    LOGFONTW font;
    if (labelMode == 2)
    {
        m_symbolFonts[a].lfHeight = -fontHeight;
        font = m_symbolFonts[a];
        pFont = &m_symbolFont;
    }
    else
    {
        GetSymbolFont(font);
        font.lfHeight = -fontHeight;
        font.lfCharSet = DEFAULT_CHARSET;
        pFont = &m_numberFont;
    }
    // Neither font is selected in any device context between calls, so it can go.
    pFont->DeleteObject();
    if (!pFont->CreateFontIndirect(&font))
        return 0;
    HGDIOBJ hOldFont = pDC->SelectObject((HGDIOBJ)pFont->GetSafeHandle());
    HGDIOBJ hOldBrush = pDC->SelectObject(::GetStockObject(WHITE_BRUSH));

    // 2. Text.
    CString strText;
    if (labelMode == 0)
        strText.Format(L"%d", a);
    else if (labelMode == 1)
    {
        int index = pReference != NULL ? FindColourIn(*pReference, a) : -1;
        if (index < 0)
            strText = L"?";
        else
            strText.Format(L"%d", index);
    }
    else if (labelMode == 2)
    {
        strText = m_symbols[a];
        if (strText.IsEmpty() || strText == L" ")
            strText = L"?";
    }

    // 3. Label colour, recorded once a label pixel lands in the picture.
    COLORREF labelColour = RGB(0, 0, 0);
    if (displayMode != 1)
        labelColour = ContrastTextColour(
            RGB(m_colours[a].peRed, m_colours[a].peGreen, m_colours[a].peBlue));
    const int labelState = labelColour == RGB(0, 0, 0) ? -6 : -7;

    // 4. A cleared picture.
    CRasterImage& image = m_tileImages[TileImageIndex(orientation, kind, a)];
    image.Free();
    image.Create(0, n, n);
    image.FillBytes(0);

    // 5. Measure.
    CSize extent = pDC->GetTextExtent(strText);
    const int tw = extent.cx;
    const int th = extent.cy;
    int result = 1;
    if (tw >= 0.9 * fitSize || th >= 0.9 * fitSize)
        result = 0;
    else
    {
        // 6. Draw black on white and read the label pixels back.
        CRect clip;
        pDC->GetClipBox(&clip);
        pDC->PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetTextAlign(TA_LEFT | TA_TOP | TA_NOUPDATECP);
        pDC->TextOut(0, 0, strText);

        const CRasterImage* pMask = NULL;
        const CRasterImage* pMaskSet = orientation == 0 ? pMasks0 : pMasks1;
        if (pMaskSet != NULL && pavingType >= 0 && pavingType < PavingTypeCount)
        {
            pMask = &pMaskSet[pavingType];
            if (pMask->data == NULL || pMask->width < n || pMask->height < n)
                pMask = NULL;
        }

        // 7. One copy per part of the cell kind. A copy that would fall off the tile (in
        // part or whole) does not fit either: it would lose the label without a word.
        const int parts = LabelPartCount(kind, pavingType);
        bool outside = false;
        for (int y = 0; y < n; y++)
            for (int x = 0; x < n; x++)
            {
                if ((pDC->GetPixel(x, y) & 0xFFFFFF) == RGB(255, 255, 255))
                    continue;
                for (int part = 0; part < parts; part++)
                {
                    int dx, dy;
                    LabelOffset(kind, part, pavingType, orientation, n, tw, th, dx, dy);
                    const int px = x + dx;
                    const int py = y + dy;
                    if (dx < 0 || dy < 0 || px >= n || py >= n)
                    {
                        outside = true;
                        continue;
                    }
                    image.SetByte(px, py, 1);
                    m_labelStates[a] = labelState;
                    // Masks are kept bottom row first, the picture top row first.
                    if (pMask != NULL && pMask->GetByte(px, n - 1 - py) == 0)
                        outside = true;
                }
            }
        // 8.
        if (outside)
            result = 0;
    }

    pDC->SelectObject(hOldBrush);
    pDC->SelectObject(hOldFont);
    return result;
}

void C2Palette::BuildTileImages(int displayMode, int colourCount, int n, int labelMode,
                                const C2Palette* pReference, int pavingType,
                                const CRasterImage* pShapeMasks,
                                const CRasterImage* pJointMasks, const int* pCounts0,
                                const int* pCounts1, const int* pCounts2,
                                const int* pCounts3, const int* pCounts4)
{
    FreeTileImages();
    if (n < 1)
        return;
    if (colourCount > ColourCount)
        colourCount = ColourCount;

    CDC dc;
    if (!dc.CreateCompatibleDC(NULL))
        return;
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(&dc, n, n))
        return;
    HGDIOBJ hOldBitmap = dc.SelectObject((HGDIOBJ)bitmap.GetSafeHandle());
    dc.SetBkMode(TRANSPARENT);

    const bool triangles = pavingType == PavingTriangles;
    const bool scales = IsScales(pavingType);
    double startFactor[CellKindCount] = {
        scales ? 0.5 : 1.0,
        scales ? 0.4 : 0.5,
        scales ? 0.4 : 0.5,
        triangles ? 0.35 : (scales ? 0.3 : 0.5),
        0.5,
        0.5,
        0.35};
    int startSize[CellKindCount];
    for (int kind = 0; kind < CellKindCount; kind++)
        startSize[kind] = RoundHalfAway(n * startFactor[kind]);
    // The count table that enables each cell kind.
    const int* kindCounts[CellKindCount] = {pCounts0, pCounts2, pCounts2, pCounts1,
                                            pCounts1, pCounts3, pCounts4};
    const int orientations = triangles ? 2 : 1;

    for (int a = 0; a < colourCount; a++)
        for (int kind = 0; kind < CellKindCount; kind++)
        {
            if (kindCounts[kind] == NULL || kindCounts[kind][a] == 0)
                continue;
            for (int orientation = 0; orientation < orientations; orientation++)
            {
                int fits = 0;
                for (int height = startSize[kind]; height > 2 && n >= 2 && !fits;
                     height -= 2)
                    fits = DrawTile(&dc, a, height, startSize[kind], kind, displayMode, n,
                                    labelMode, pReference, pShapeMasks, pJointMasks,
                                    pavingType, orientation);
                if (!fits)
                {
                    // The last attempt may have left pixels of a label that did not fit.
                    CRasterImage& image = m_tileImages[TileImageIndex(orientation, kind, a)];
                    image.Free();
                    image.Create(0, n, n);
                    image.FillBytes(0);
                }
            }
        }

    dc.SelectObject(hOldBitmap);
}
