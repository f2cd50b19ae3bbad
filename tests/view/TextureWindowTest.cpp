// Textured tiles in the view's window: a paint never loads textures itself; it asks for a
// load, which runs after it, and the next paint shows the textures. The exported picture
// shows them too.
#include "MosaicTest.h"

#include <string>

#include "AfxPath.h"
#include "DocPaths.h"
#include "OpenCv.h"
#include "ViewTestSupport.h"

namespace
{

const int kCols = 4;
const int kRows = 3;
const int kZoom = 20;

// The colour of the texture of image colour c: unlike any tile colour of the test mosaics.
cv::Vec3b TextureBgr(int c)
{
    return cv::Vec3b((uchar)(200 - 10 * c), 90, (uchar)(20 * c));
}

INT_PTR AnswerPng(CString*, int* pType)
{
    *pType = 1;
    return IDOK;
}

class TextureWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_app.Frame()->SetWindowPos(NULL, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        m_pView = m_app.View();
        m_pDoc = m_app.Doc();
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_folder.Format(L"%stexturewindow%u\\", szTemp, GetCurrentProcessId());
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = m_savedHooks;
        for (const CString& strPath : m_files)
        {
            DeleteFileW(strPath);
            RemoveDirectoryW(strPath.Left(strPath.ReverseFind(L'\\')));
        }
        RemoveDirectoryW(m_folder + L"Palettes\\WindowTiles");
        RemoveDirectoryW(m_folder + L"Palettes");
        RemoveDirectoryW(m_folder);
    }

    // The test mosaic with a one-shade tile palette that names its colours, and a texture
    // file for each colour in use.
    void LoadTexturedMosaic()
    {
        LoadTestMosaic(*m_pDoc, kCols, kRows, PavingSquares, kZoom);
        CVitrolanDoc& d = *m_pDoc;
        d.m_programFolder = m_folder;
        C2Palette& tiles = d.m_tilePalette;
        tiles.m_name = L"Window-Tiles";
        tiles.m_paletteKind = PaletteKind1Shade;
        for (int c = 1; c <= kCols * kRows; c++)
        {
            tiles.m_colours[c] = d.m_imagePalette.m_colours[c];
            tiles.m_colourNames[c].Format(L"C%d", c);
            const CString strPath = d.TextureFilePath(tiles.m_colourNames[c], 0);
            EnsureFolder(strPath.Left(strPath.ReverseFind(L'\\') + 1));
            ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPath)),
                                    cv::Mat(6, 6, CV_8UC3, cv::Scalar(TextureBgr(c)))));
            m_files.push_back(strPath);
        }
        d.m_imagePalette.TakeNamesFrom(tiles);
        d.m_texturedTiles = 1;
        d.UpdateAllViews(NULL);
    }

    void Paint()
    {
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
    }

    // The screen picture's pixel at the centre of tile (col, row).
    COLORREF TileCentre(int col, int row) const
    {
        return ScreenImagePixel(*m_pDoc, col * kZoom + kZoom / 2, row * kZoom + kZoom / 2);
    }

    int LoadedSquares() const
    {
        int nSquares = 0;
        for (const CRasterImage& square : m_pDoc->m_textureCache)
            nSquares += square.data != NULL;
        return nSquares;
    }

    CViewTestApp m_app;
    CVitrolanView* m_pView = NULL;
    CVitrolanDoc* m_pDoc = NULL;
    CString m_folder;
    std::vector<CString> m_files;
    DocUiHooks m_savedHooks = CVitrolanDoc::s_uiHooks;
};

TEST_F(TextureWindow, APaintAsksForTexturesAndTheNextShowsThem)
{
    LoadTexturedMosaic();
    Paint();
    // The paint itself loaded nothing and drew the tiles plain.
    EXPECT_EQ(0, LoadedSquares());
    const int c = TestCellColour(kCols, 2, 1);
    BYTE plain[3];
    TestColour(c, plain);
    EXPECT_EQ(RGB(plain[0], plain[1], plain[2]), TileCentre(2, 1));

    PumpMessages();
    EXPECT_EQ(kCols * kRows, LoadedSquares());
    for (int row = 0; row < kRows; row++)
        for (int col = 0; col < kCols; col++)
        {
            const cv::Vec3b bgr = TextureBgr(TestCellColour(kCols, col, row));
            EXPECT_EQ(RGB(bgr[2], bgr[1], bgr[0]), TileCentre(col, row)) << col << "," << row;
        }

    // Switched off, the tiles are plain again without a load.
    m_pDoc->m_texturedTiles = 0;
    Paint();
    EXPECT_EQ(RGB(plain[0], plain[1], plain[2]), TileCentre(2, 1));
}

// The paint's check follows the cells whatever changed them, however little: a tile turned
// in place, the undo that turns it back (the load for the turned tile dropped the square of
// the first turn), the same cells in a new buffer, and a tile given another colour there.
TEST_F(TextureWindow, EveryChangeOfTheCellsAsksForTheSquaresItNeeds)
{
    LoadTexturedMosaic();
    Paint();
    PumpMessages();
    CVitrolanDoc& d = *m_pDoc;
    const int c = TestCellColour(kCols, 2, 1);
    const int other = TestCellColour(kCols, 0, 0);
    const auto textured = [](int colour) {
        const cv::Vec3b bgr = TextureBgr(colour);
        return RGB(bgr[2], bgr[1], bgr[0]);
    };
    ASSERT_EQ(textured(c), TileCentre(2, 1));

    struct Change
    {
        const char* what;
        int colour;      // of tile (2, 1) afterwards
        void (*apply)(CVitrolanDoc& d, int c, int other);
    };
    const Change changes[] = {
        {"a quarter turn", c,
         [](CVitrolanDoc& d, int c, int) {
             d.m_workingMap.SetCell(2, 1, 0, 0, c, c, c, c, 1, 0, 0, 0);
             d.m_undoPending = 1;
         }},
        {"its undo", c, [](CVitrolanDoc& d, int, int) { d.OnEditUndo(); }},
        {"a new buffer, turned again", c,
         [](CVitrolanDoc& d, int c, int) {
             CRasterImage copy;
             copy.Create(0, d.m_workingMap.width, d.m_workingMap.height);
             d.m_workingMap.CopyBlock(&copy, copy.width, copy.height);
             copy.SetCell(2, 1, 0, 0, c, c, c, c, 2, 0, 0, 0);
             d.m_workingMap.Free();
             d.m_workingMap = copy;
         }},
        {"another colour in a turn not loaded", other,
         [](CVitrolanDoc& d, int, int other) {
             d.m_workingMap.SetCell(2, 1, 0, 0, other, other, other, other, 3, 0, 0, 0);
         }},
    };
    for (const Change& change : changes)
    {
        SCOPED_TRACE(change.what);
        change.apply(d, c, other);
        EXPECT_EQ(CTextureLoadState::CacheIncomplete, d.GetTextureReadiness(kZoom));
        Paint();
        PumpMessages();
        EXPECT_EQ(CTextureLoadState::CacheReady, d.GetTextureReadiness(kZoom));
        EXPECT_EQ(textured(change.colour), TileCentre(2, 1));
    }
}

TEST_F(TextureWindow, ExportedPicturesShowTexturesWhateverTheSetting)
{
    LoadTexturedMosaic();
    m_pDoc->m_texturedTiles = 0;
    m_pDoc->m_path = m_folder + L"Garden.ms2";
    CVitrolanDoc::s_uiHooks.pfnAskExportPicture = AnswerPng;
    const CString strPath = m_pDoc->ExportMosaic(0);
    m_files.push_back(strPath);
    const cv::Mat picture = cv::imread(std::string(AfxGetUnixPath(strPath)));
    ASSERT_EQ(kCols * kZoom, picture.cols);
    for (int row = 0; row < kRows; row++)
        for (int col = 0; col < kCols; col++)
            EXPECT_EQ(TextureBgr(TestCellColour(kCols, col, row)),
                      picture.at<cv::Vec3b>(row * kZoom + kZoom / 2, col * kZoom + kZoom / 2))
                << col << "," << row;
}

} // namespace
