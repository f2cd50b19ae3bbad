#include "MosaicTest.h"

#include <string.h>

#include <memory>
#include <vector>

#include "AfxPath.h"
#include "DocPaths.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "OpenCv.h"
#include "Paving.h"
#include "TextIds.h"
#include "TileRenderer.h"
#include "VitrolanDoc.h"

namespace
{

std::vector<CString>* g_pMessages = NULL;

int RecordMessage(LPCTSTR lpszText)
{
    g_pMessages->push_back(lpszText);
    return IDOK;
}

// A texture of s x s pixels whose every pixel differs from its neighbours: (x, y) holds
// R = 10 x, G = 10 y, B = base.
cv::Mat GradientTexture(int s, int base)
{
    cv::Mat picture(s, s, CV_8UC3);
    for (int y = 0; y < s; y++)
        for (int x = 0; x < s; x++)
            picture.at<cv::Vec3b>(y, x) = cv::Vec3b((uchar)base, (uchar)(10 * y), (uchar)(10 * x));
    return picture;
}

// Tile colours of the tests: index 0 red, 1 green, 2 blue, named after the letter; image
// colours 0 to 2 the same, image colour 3 a colour the tile palette does not hold.
const BYTE kColours[4][3] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {90, 90, 90}};
const LPCWSTR kNames[3] = {L"R", L"G", L"B"};

// A document that counts the texture files it reads.
class CountingDoc : public CVitrolanDoc
{
public:
    BOOL LoadTileTexture(LPCTSTR lpszPath, CRasterImage* pTexture, CRasterImage* pTarget,
                         int nQuarter) override
    {
        if (pTexture->data == NULL)
            m_reads++;
        return CVitrolanDoc::LoadTileTexture(lpszPath, pTexture, pTarget, nQuarter);
    }
    int m_reads = 0;
};

class TileTexturesTest : public testing::Test
{
protected:
    static const int n = 8;

    void SetUp() override
    {
        g_pMessages = &m_messages;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnMessageBox = RecordMessage;
        m_folder = NewTempFolder(L"textures");
        m_doc.reset(new CountingDoc);
        CVitrolanDoc& d = *m_doc;
        d.m_programFolder = m_folder;
        SetPalette(L"Test-Glass", PaletteKind10Shades);
        for (int c = 0; c < 4; c++)
        {
            d.m_imagePalette.m_colours[c] = {kColours[c][0], kColours[c][1], kColours[c][2], 1};
            d.m_imagePalette.m_colourNames[c] = c < 3 ? kNames[c] : L"";
        }
        d.m_colourCount = 4;
        d.m_cols = 4;
        d.m_rows = 1;
        d.m_tileSize = n;
        d.m_workingMap.Create(0, 4 * d.m_cols, 4 * d.m_rows);
        // Red with variant 7 (shade 1, three quarter turns), green plain, blue, grey.
        for (int col = 0; col < 4; col++)
            d.m_workingMap.SetCell(col, 0, 0, 0, col, col, col, col, col == 0 ? 7 : 0, 0, 0, 0);
    }

    void TearDown() override
    {
        m_doc.reset();
        RemoveTree(m_folder);
        CVitrolanDoc::s_uiHooks = DocUiHooks();
    }

    void SetPalette(LPCWSTR lpszName, int nKind)
    {
        C2Palette& tiles = m_doc->m_tilePalette;
        tiles.m_name = lpszName;
        tiles.m_paletteKind = nKind;
        for (int c = 0; c < 3; c++)
        {
            tiles.m_colours[c] = {kColours[c][0], kColours[c][1], kColours[c][2], 1};
            tiles.m_colourNames[c] = kNames[c];
        }
    }

    // Writes a texture file of colour c, shade h (0 first) in the palette's folder.
    CString WriteTexture(int c, int h, const cv::Mat& picture)
    {
        const CString strPath = m_doc->TextureFilePath(kNames[c], h);
        EnsureFolder(strPath.Left(strPath.ReverseFind(L'\\') + 1));
        EXPECT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath)), picture));
        return strPath;
    }

    // The document's working map drawn with textures, one tile per column, no joints.
    CRasterImage Render()
    {
        CVitrolanDoc& d = *m_doc;
        CRasterImage picture;
        picture.Create(1, n * d.m_cols, n * d.m_rows);
        CRasterImage masks[PavingTypeCount];
        masks[PavingSquares].Create(0, n, n);
        masks[PavingSquares].FillBytes(1);
        int hit[5];
        RenderMosaic(&picture, 0, &d.m_workingMap, n, 0, d.m_cols, d.m_rows, 0, 0,
                     PavingSquares, NULL, masks, NULL, 0, 0, &hit[0], &hit[1], &hit[2], &hit[3],
                     &hit[4], NULL, 0, 1, d.m_textureCache.GetData(),
                     &d.m_colourTable[0][0], d.m_imagePalette.m_colours, d.m_tilePalette.m_colours,
                     d.m_imagePalette.m_paletteKind, d.m_imagePalette.m_notes);
        masks[PavingSquares].Free();
        return picture;
    }

    static cv::Vec3b Pixel(const CRasterImage& picture, int x, int y)
    {
        const BYTE* p = picture.data + 3 * ((size_t)y * picture.width + x);
        return cv::Vec3b(p[0], p[1], p[2]);
    }

    static cv::Vec3b Rgb(const cv::Vec3b& bgr) { return cv::Vec3b(bgr[2], bgr[1], bgr[0]); }

    // Every pixel of tile col is the colour.
    static bool TileIsPlain(const CRasterImage& picture, int col, const BYTE* rgb)
    {
        for (int y = 0; y < n; y++)
            for (int x = 0; x < n; x++)
                if (Pixel(picture, col * n + x, y) != cv::Vec3b(rgb[0], rgb[1], rgb[2]))
                    return false;
        return true;
    }

    size_t TextureBytes() const
    {
        size_t nBytes = 0;
        for (const CRasterImage& image : m_doc->m_textureCache)
            nBytes += image.data != NULL ? 3 * (size_t)image.width * image.height : 0;
        for (const CRasterImage& image : m_doc->m_tileTextures)
            nBytes += image.data != NULL ? 3 * (size_t)image.width * image.height : 0;
        return nBytes;
    }

    // Textures, squares and the decoded pictures kept for later.
    size_t HeldBytes() const { return TextureBytes() + m_doc->m_textureState.KeptPictureBytes(); }

    std::unique_ptr<CountingDoc> m_doc;
    CString m_folder;
    std::vector<CString> m_messages;
};

TEST_F(TileTexturesTest, TilesShowTheirTextureScaledAndTurned)
{
    // Red variant 7 reads shade 1 (file 2) turned by three quarters; the texture has the
    // working size n + 2, so no scaling blurs it. Green reads file 1 unturned.
    const cv::Mat red = GradientTexture(n + 2, 50);
    const cv::Mat green = GradientTexture(n + 2, 150);
    WriteTexture(0, 1, red);
    WriteTexture(0, 0, GradientTexture(n + 2, 250));   // another shade: not to be shown
    WriteTexture(1, 0, green);
    WriteTexture(2, 0, GradientTexture(n + 2, 99));

    EXPECT_TRUE(m_doc->LoadTileTextures(n));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(CTextureLoadState::CacheReady, m_doc->GetTextureReadiness(n));
    const CRasterImage picture = Render();
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++)
        {
            // Three quarter turns counter-clockwise: the source's left column becomes the
            // top row, read from the bottom.
            EXPECT_EQ(Rgb(red.at<cv::Vec3b>(n - x, y + 1)), Pixel(picture, x, y)) << x << "," << y;
            EXPECT_EQ(Rgb(green.at<cv::Vec3b>(y + 1, x + 1)), Pixel(picture, n + x, y));
        }
    // The image colour that no tile colour matches has no name, and no texture.
    EXPECT_TRUE(TileIsPlain(picture, 3, kColours[3]));
}

TEST_F(TileTexturesTest, AGreyTextureGivesThreeEqualChannels)
{
    cv::Mat grey(5, 5, CV_8UC1);
    for (int i = 0; i < 25; i++)
        grey.data[i] = (uchar)(i * 9);
    WriteTexture(1, 0, grey);
    m_doc->LoadTileTexture(m_doc->TextureFilePath(L"G", 0), &m_doc->m_tileTextures[0],
                           &m_doc->m_textureCache[0], 0);
    const CRasterImage& texture = m_doc->m_tileTextures[0];
    ASSERT_EQ(5, texture.width);
    for (int i = 0; i < 25; i++)
        for (int channel = 0; channel < 3; channel++)
            EXPECT_EQ(i * 9, texture.data[3 * i + channel]);
}

TEST_F(TileTexturesTest, MissingAndBrokenFilesAreReportedOnceAndDrawnPlain)
{
    const cv::Mat green = GradientTexture(n + 2, 150);
    WriteTexture(1, 0, green);
    // Red's file is missing; blue's holds no picture.
    const CString strBroken = m_doc->TextureFilePath(kNames[2], 0);
    EnsureFolder(strBroken.Left(strBroken.ReverseFind(L'\\') + 1));
    WriteBytes(strBroken, "not a picture", 13);

    EXPECT_FALSE(m_doc->LoadTileTextures(n));
    ASSERT_EQ(2u, m_messages.size());
    CString strUnreadable;
    strUnreadable.Format(L"%s : %s", (LPCTSTR)GetLangText(TXT_MSG_PICTURE_UNREADABLE),
                         (LPCTSTR)strBroken);
    EXPECT_EQ(strUnreadable, m_messages[0]);
    CString strMissing;
    strMissing.Format(GetLangText(TXT_MSG_TEXTURES_MISSING), 1,
                      (LPCTSTR)m_doc->TextureFilePath(kNames[0], 1));
    EXPECT_EQ(strMissing, m_messages[1]);

    const CRasterImage picture = Render();
    EXPECT_TRUE(TileIsPlain(picture, 0, kColours[0]));
    EXPECT_TRUE(TileIsPlain(picture, 2, kColours[2]));
    EXPECT_EQ(Rgb(green.at<cv::Vec3b>(1, 1)), Pixel(picture, n, 0));

    // Nothing is left to load, and a load again reports nothing new.
    EXPECT_EQ(CTextureLoadState::CacheReady, m_doc->GetTextureReadiness(n));
    m_messages.clear();
    m_doc->LoadTileTextures(n);
    EXPECT_TRUE(m_messages.empty());
    // Closing forgets the failures: a file put there since is read by the next load.
    m_doc->FreeTileTextures(PaletteShadeCount(PaletteKind10Shades));
    WriteTexture(0, 1, GradientTexture(n + 2, 50));
    EXPECT_EQ(CTextureLoadState::CacheStale, m_doc->GetTextureReadiness(n));
    m_doc->LoadTileTextures(n);
    EXPECT_FALSE(TileIsPlain(Render(), 0, kColours[0]));
}

TEST_F(TileTexturesTest, TexturesAndSquaresStayWithinTheMemoryBound)
{
    for (int c = 0; c < 3; c++)
        for (int h = 0; h < 2; h++)
            WriteTexture(c, h, GradientTexture(20, 40 * c + h));
    // Room for two pictures of 20 x 20 and two squares, not for the third of each.
    const size_t nPicture = 20 * 20 * 3, nSquare = n * n * 3;
    m_doc->m_textureState.m_budget = 2 * nPicture + 2 * nSquare + nSquare / 2;

    EXPECT_FALSE(m_doc->LoadTileTextures(n));
    EXPECT_LE(HeldBytes(), m_doc->m_textureState.m_budget);
    EXPECT_GT(TextureBytes(), 0u);
    ASSERT_EQ(1u, m_messages.size());
    EXPECT_EQ(GetLangText(TXT_MSG_TEXTURES_TOO_LARGE), m_messages[0]);
    // What does not fit is not asked for again at this size.
    EXPECT_EQ(CTextureLoadState::CacheReady, m_doc->GetTextureReadiness(n));
    const CRasterImage picture = Render();
    EXPECT_TRUE(TileIsPlain(picture, 2, kColours[2]));

    m_doc->m_textureState.m_budget = CTextureLoadState::DefaultBudget;
    EXPECT_EQ(CTextureLoadState::CacheStale, m_doc->GetTextureReadiness(2 * n));
    EXPECT_TRUE(m_doc->LoadTileTextures(2 * n));
}

// A texture file whose header gives a picture beyond the bound is not decoded at all.
TEST_F(TileTexturesTest, ATexturePastTheBoundIsRefusedByItsHeader)
{
    WriteTexture(0, 1, GradientTexture(20, 1));
    const CString strHuge = WriteTexture(1, 0, GradientTexture(4, 2));
    // A bitmap header of 20000 x 20000 pixels, without the 1.2 GB of pixels it announces.
    BYTE header[54] = {'B', 'M'};
    header[10] = 54;
    header[14] = 40;
    for (int k : {18, 22})
    {
        header[k] = 20000 & 0xFF;
        header[k + 1] = 20000 >> 8;
    }
    header[26] = 1;
    header[28] = 24;
    WriteBytes(strHuge, header, sizeof(header));

    EXPECT_FALSE(m_doc->LoadTileTextures(n));
    ASSERT_EQ(1u, m_messages.size());
    EXPECT_EQ(GetLangText(TXT_MSG_TEXTURES_TOO_LARGE), m_messages[0]);
    const CRasterImage picture = Render();
    EXPECT_FALSE(TileIsPlain(picture, 0, kColours[0]));
    EXPECT_TRUE(TileIsPlain(picture, 1, kColours[1]));
}

TEST_F(TileTexturesTest, DecodedPicturesOutliveTheSquaresUntilTheirFileChanges)
{
    WriteTexture(0, 1, GradientTexture(n + 2, 50));
    const CString strGreen = WriteTexture(1, 0, GradientTexture(n + 2, 150));
    WriteTexture(2, 0, GradientTexture(n + 2, 99));
    CountingDoc& d = *m_doc;
    const int nShades = PaletteShadeCount(PaletteKind10Shades);
    ASSERT_TRUE(d.LoadTileTextures(n));
    EXPECT_EQ(3, d.m_reads);
    const CRasterImage first = Render();

    // Freed and loaded again, at another size, after another palette: no file is read.
    d.FreeTileTextures(nShades);
    EXPECT_TRUE(d.LoadTileTextures(n + 2));
    SetPalette(L"Other-Glass", PaletteKind10Shades);
    WriteTexture(1, 0, GradientTexture(n + 2, 7));
    d.LoadTileTextures(n);
    const int nReads = d.m_reads;
    SetPalette(L"Test-Glass", PaletteKind10Shades);
    d.FreeTileTextures(nShades);
    EXPECT_TRUE(d.LoadTileTextures(n));
    EXPECT_EQ(nReads, d.m_reads);
    const CRasterImage again = Render();
    EXPECT_EQ(0, memcmp(first.data, again.data, 3 * (size_t)first.width * first.height));

    // Green's file rewritten with a picture of the same size, dated later: it is read again.
    const cv::Mat green = GradientTexture(n + 2, 33);
    WriteTexture(1, 0, green);
    HANDLE hFile = CreateFileW(strGreen, FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    FILETIME written;
    GetFileTime(hFile, NULL, NULL, &written);
    ULARGE_INTEGER later;
    later.LowPart = written.dwLowDateTime;
    later.HighPart = written.dwHighDateTime;
    later.QuadPart += 100000000;   // ten seconds
    written.dwLowDateTime = later.LowPart;
    written.dwHighDateTime = later.HighPart;
    SetFileTime(hFile, NULL, NULL, &written);
    CloseHandle(hFile);
    d.FreeTileTextures(nShades);
    EXPECT_TRUE(d.LoadTileTextures(n));
    EXPECT_EQ(nReads + 1, d.m_reads);
    EXPECT_EQ(Rgb(green.at<cv::Vec3b>(1, 1)), Pixel(Render(), n, 0));
}

TEST_F(TileTexturesTest, KeptPicturesGiveWayWithinTheMemoryBound)
{
    const size_t nPicture = 20 * 20 * 3, nSquare = n * n * 3;
    for (LPCWSTR lpszPalette : {L"Other-Glass", L"Test-Glass"})
    {
        SetPalette(lpszPalette, PaletteKind10Shades);
        for (int c = 0; c < 3; c++)
            WriteTexture(c, c == 0 ? 1 : 0, GradientTexture(20, 10 * c));
    }
    // Room for the three pictures and squares one palette needs, not for those of both.
    m_doc->m_textureState.m_budget = 3 * nPicture + 3 * nSquare + nSquare / 2;
    ASSERT_TRUE(m_doc->LoadTileTextures(n));
    m_doc->FreeTileTextures(PaletteShadeCount(PaletteKind10Shades));
    EXPECT_EQ(3 * nPicture, m_doc->m_textureState.KeptPictureBytes());
    EXPECT_EQ(0u, TextureBytes());

    SetPalette(L"Other-Glass", PaletteKind10Shades);
    EXPECT_TRUE(m_doc->LoadTileTextures(n));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(3 * nPicture + 3 * nSquare, TextureBytes());
    EXPECT_LE(HeldBytes(), m_doc->m_textureState.m_budget);
    // Back to the first palette, whose pictures gave way: read again, still within the bound.
    SetPalette(L"Test-Glass", PaletteKind10Shades);
    const int nReads = m_doc->m_reads;
    EXPECT_TRUE(m_doc->LoadTileTextures(n));
    EXPECT_EQ(nReads + 3, m_doc->m_reads);
    EXPECT_LE(HeldBytes(), m_doc->m_textureState.m_budget);
}

TEST_F(TileTexturesTest, ReadinessFollowsSizePaletteAndEdits)
{
    for (int c = 0; c < 3; c++)
        for (int h = 0; h < 2; h++)
            WriteTexture(c, h, GradientTexture(n + 2, 40 * c + h));
    CVitrolanDoc& d = *m_doc;
    EXPECT_EQ(CTextureLoadState::CacheStale, d.GetTextureReadiness(n));
    d.LoadTileTextures(n);
    EXPECT_EQ(CTextureLoadState::CacheReady, d.GetTextureReadiness(n));
    EXPECT_EQ(CTextureLoadState::CacheStale, d.GetTextureReadiness(n + 2));
    // A tile of a shade and turn not drawn before.
    d.m_workingMap.SetCell(1, 0, 0, 0, 1, 1, 1, 1, 6, 0, 0, 0);
    EXPECT_EQ(CTextureLoadState::CacheIncomplete, d.GetTextureReadiness(n));
    d.LoadTileTextures(n);
    EXPECT_EQ(CTextureLoadState::CacheReady, d.GetTextureReadiness(n));
    d.m_tilePalette.m_name = L"Other";
    EXPECT_EQ(CTextureLoadState::CacheStale, d.GetTextureReadiness(n));
}

TEST_F(TileTexturesTest, AnotherPaletteReadsItsOwnFiles)
{
    WriteTexture(1, 0, GradientTexture(n + 2, 150));
    m_doc->LoadTileTextures(n);
    // The same colour index in a palette of another name has files of its own.
    SetPalette(L"Other-Glass", PaletteKind10Shades);
    const cv::Mat other = GradientTexture(n + 2, 7);
    WriteTexture(1, 0, other);
    m_doc->LoadTileTextures(n);
    EXPECT_EQ(Rgb(other.at<cv::Vec3b>(3, 2)), Pixel(Render(), n + 1, 2));
}

TEST_F(TileTexturesTest, SquaresOfAnotherFamilyDoNotStay)
{
    // The grey tile is tile colour 30: its square is 1200 with ten shades, 120 with one.
    C2Palette& tiles = m_doc->m_tilePalette;
    tiles.m_colours[30] = {kColours[3][0], kColours[3][1], kColours[3][2], 1};
    tiles.m_colourNames[30] = L"Grey";
    const CString strPath = m_doc->TextureFilePath(L"Grey", 0);
    EnsureFolder(strPath.Left(strPath.ReverseFind(L'\\') + 1));
    ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath)), GradientTexture(n + 2, 9)));
    m_doc->LoadTileTextures(n);
    ASSERT_TRUE(m_doc->m_textureCache[1200].data != NULL);
    tiles.m_paletteKind = PaletteKind1Shade;
    m_doc->LoadTileTextures(n);
    EXPECT_TRUE(m_doc->m_textureCache[120].data != NULL);
    EXPECT_TRUE(m_doc->m_textureCache[1200].data == NULL);
}

TEST_F(TileTexturesTest, ColourNamesDoNotLeadOutOfThePaletteFolder)
{
    // Each name would make the texture path of green reach a file outside its folder.
    const struct { LPCWSTR name; LPCWSTR file; } cases[] = {
        {L"..\\G", L"Palettes\\G\\1.bmp"},
        {L"../G", L"Palettes\\G\\1.bmp"},
        {L"..", L"Palettes\\1.bmp"},
        {L"G\\..\\..\\G", L"Palettes\\G\\1.bmp"},
    };
    for (const auto& c : cases)
    {
        const CString strPath = m_folder + c.file;
        EnsureFolder(strPath.Left(strPath.ReverseFind(L'\\') + 1));
        ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath)), GradientTexture(n + 2, 1)));
        m_doc->m_tilePalette.m_colourNames[1] = c.name;
        m_messages.clear();
        m_doc->LoadTileTextures(n);
        EXPECT_TRUE(m_doc->m_textureCache[40].data == NULL) << CW2A(c.name);
        EXPECT_TRUE(TileIsPlain(Render(), 1, kColours[1])) << CW2A(c.name);
        DeleteFileW(strPath);
    }
}

TEST_F(TileTexturesTest, PlainPalettesLoadNothing)
{
    SetPalette(L"Test-Glass", PaletteKindPlain);
    WriteTexture(1, 0, GradientTexture(n + 2, 150));
    EXPECT_TRUE(m_doc->LoadTileTextures(n));
    EXPECT_EQ(0u, TextureBytes());
    EXPECT_EQ(0, m_doc->PrepareTextureFolders());
}

TEST_F(TileTexturesTest, TextureFoldersAreMadeForNamedColours)
{
    EXPECT_EQ(1, m_doc->PrepareTextureFolders());
    for (LPCWSTR lpszTree : {L"PalettesCry", L"PalettesVerif"})
        for (int c = 0; c < 3; c++)
        {
            const CString strFolder = m_folder + lpszTree + L"\\TestGlass\\" + kNames[c];
            const DWORD dwAttributes = GetFileAttributesW(strFolder);
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, dwAttributes);
            EXPECT_TRUE(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
        }
}

} // namespace
