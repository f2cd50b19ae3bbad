// The picture export and the plan thumbnails, written by a document with its view in a real
// frame and read back with the image library.
#include "MosaicTest.h"

#include <set>
#include <vector>

#include "ExportPicture.h"
#include "LangText.h"
#include "OpenCv.h"
#include "Paving.h"
#include "TextIds.h"
#include "ViewTestSupport.h"
#include "WriteFailures.h"
#include "text/TextTestFiles.h"
#include "output/PdfChecks.h"

namespace
{

struct ExportAnswer
{
    INT_PTR result;
    CString name;     // empty: the name offered stays
    int type;
};
ExportAnswer g_answer;
CString g_offeredName;
int g_offeredType;
std::vector<CString> g_messages;
int g_nMessageAnswer = IDOK;

INT_PTR AnswerExport(CString* pName, int* pType)
{
    g_offeredName = *pName;
    g_offeredType = *pType;
    if (g_answer.result == IDOK)
    {
        if (!g_answer.name.IsEmpty())
            *pName = g_answer.name;
        *pType = g_answer.type;
    }
    return g_answer.result;
}

int RecordMessage(LPCTSTR lpszText)
{
    g_messages.push_back(lpszText);
    return g_nMessageAnswer;
}

int PackedTileColour(int cols, int col, int row)
{
    BYTE rgb[3];
    TestColour(TestCellColour(cols, col, row), rgb);
    return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
}

// The colours of a picture (blue, green, red) as 0xRRGGBB.
std::set<int> ColoursOf(const cv::Mat& picture)
{
    std::set<int> colours;
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
        {
            const cv::Vec3b p = picture.at<cv::Vec3b>(y, x);
            colours.insert(p[2] << 16 | p[1] << 8 | p[0]);
        }
    return colours;
}

class PictureExport : public testing::Test
{
protected:
    void SetUp() override
    {
        m_savedHooks = CVitrolanDoc::s_uiHooks;
        CVitrolanDoc::s_uiHooks.pfnAskExportPicture = AnswerExport;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = RecordMessage;
        g_answer = ExportAnswer{IDOK, L"", 1};
        g_offeredName.Empty();
        g_offeredType = -1;
        g_messages.clear();
        g_nMessageAnswer = IDOK;
        m_app.OnFileNew();
        ASSERT_NE(nullptr, m_app.View());
        m_app.Frame()->SetWindowPos(NULL, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        m_pDoc = m_app.Doc();
        m_pDoc->m_path = m_folder.Path(L"Garden.ms2");
        m_pDoc->m_programFolder = m_folder.Folder();
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = m_savedHooks;
        for (LPCWSTR name : {L"Garden_E.jpg", L"Garden_V.jpg"})
            DeleteFileW(m_folder.Path(L"Plans\\Images\\") + name);
        RemoveDirectoryW(m_folder.Path(L"Plans\\Images"));
        RemoveDirectoryW(m_folder.Path(L"Plans"));
    }

    cv::Mat Read(const CString& strPath) { return cv::imread(UnixPath(strPath)); }

    CViewTestApp m_app;
    CVitrolanDoc* m_pDoc = NULL;
    CTempFolder m_folder;
    DocUiHooks m_savedHooks;
};

TEST_F(PictureExport, WritesEveryTypeAtAnEvenZoomWithTheTilesInPlace)
{
    LoadTestMosaic(*m_pDoc, 12, 7, PavingSquares, 15);
    const struct { int type; LPCWSTR file; int tolerance; } cases[] = {
        {0, L"Garden_E.jpg", 24}, {1, L"Garden_E.png", 0}, {2, L"Garden_E.webp", 24}};
    for (const auto& c : cases)
    {
        g_answer.type = c.type;
        const CString strPath = m_pDoc->ExportMosaic(0);
        EXPECT_EQ(m_folder.Path(c.file), strPath);
        EXPECT_EQ(m_folder.Path(L"Garden_E"), g_offeredName);
        EXPECT_EQ(c.type, m_pDoc->typexp);
        const cv::Mat picture = Read(strPath);
        ASSERT_FALSE(picture.empty()) << c.type;
        // Tiles of 15 pixels are exported at 16.
        EXPECT_EQ(12 * 16, picture.cols);
        EXPECT_EQ(7 * 16, picture.rows);
        for (const POINT tile : {POINT{0, 0}, POINT{11, 0}, POINT{5, 3}, POINT{11, 6}})
        {
            const cv::Vec3b p = picture.at<cv::Vec3b>(tile.y * 16 + 8, tile.x * 16 + 8);
            BYTE rgb[3];
            TestColour(TestCellColour(12, tile.x, tile.y), rgb);
            EXPECT_NEAR(rgb[0], p[2], c.tolerance) << c.type << " " << tile.x << "," << tile.y;
            EXPECT_NEAR(rgb[1], p[1], c.tolerance) << c.type << " " << tile.x << "," << tile.y;
            EXPECT_NEAR(rgb[2], p[0], c.tolerance) << c.type << " " << tile.x << "," << tile.y;
        }
    }
    // Exporting changes neither the zoom nor the mosaic's saved state.
    EXPECT_EQ(15, m_pDoc->m_tileSize);
    EXPECT_EQ(0, m_pDoc->m_dirty);
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PictureExport, EveryTileOfEveryPavingLandsInThePicture)
{
    // Larger than the window, so that no part of it comes from what the screen shows.
    const int cols = 90, rows = 70;
    for (int type = 0; type < PavingTypeCount; type++)
    {
        LoadTestMosaic(*m_pDoc, cols, rows, type, 10);
        const CString strPath = m_pDoc->ExportMosaic(0);
        const cv::Mat picture = Read(strPath);
        ASSERT_FALSE(picture.empty()) << type;
        const SIZE size = ExportPictureSize(type, 10, cols, rows);
        EXPECT_EQ(size.cx, picture.cols) << type;
        EXPECT_EQ(size.cy, picture.rows) << type;
        EXPECT_GT(size.cx, 800) << type;
        const std::set<int> colours = ColoursOf(picture);
        int nMissing = 0;
        for (int row = 0; row < rows; row++)
            for (int col = 0; col < cols; col++)
                if (colours.count(PackedTileColour(cols, col, row)) == 0)
                    nMissing++;
        EXPECT_EQ(0, nMissing) << type;
    }
}

TEST_F(PictureExport, CancelWritesNothingAndKeepsTheSettings)
{
    LoadTestMosaic(*m_pDoc, 6, 4, PavingSquares, 5);
    m_pDoc->typexp = 2;
    g_answer = ExportAnswer{IDCANCEL, L"", 0};
    EXPECT_EQ(m_folder.Path(L"Garden_E"), m_pDoc->ExportMosaic(1));
    EXPECT_EQ(2, g_offeredType);
    EXPECT_EQ(2, m_pDoc->typexp);
    EXPECT_EQ(5, m_pDoc->m_tileSize);
    for (LPCWSTR name : {L"Garden_E.jpg", L"Garden_E.png", L"Garden_E.webp", L"Garden_E"})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_folder.Path(name))) << name;
}

TEST_F(PictureExport, TheNameChosenInTheDialogGetsTheTypesExtension)
{
    LoadTestMosaic(*m_pDoc, 6, 4, PavingSquares, 4);
    g_answer = ExportAnswer{IDOK, m_folder.Path(L"Wall"), 1};
    const CString strPath = m_pDoc->ExportMosaic(0);
    EXPECT_EQ(m_folder.Path(L"Wall.png"), strPath);
    EXPECT_EQ(24, Read(strPath).cols);
}

// The picture replaces a file of the name the user chose only when the user agrees, and the
// question says when that file is one the program opens; refused, nothing is written or
// opened and the type chosen is not kept.
TEST_F(PictureExport, AFileOfTheChosenNameIsReplacedOnlyWhenTheUserAgrees)
{
    LoadTestMosaic(*m_pDoc, 6, 4, PavingSquares, 4);
    const CString strWall = m_folder.Path(L"Wall.png");
    const std::string old = "an earlier wall";
    HANDLE hFile = CreateFileW(strWall, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwWritten = 0;
    WriteFile(hFile, old.data(), (DWORD)old.size(), &dwWritten, NULL);
    CloseHandle(hFile);
    m_pDoc->typexp = 0;
    g_answer = ExportAnswer{IDOK, m_folder.Path(L"Wall"), 1};

    g_nMessageAnswer = IDCANCEL;
    EXPECT_EQ(m_folder.Path(L"Garden_E"), m_pDoc->ExportMosaic(0));
    ASSERT_EQ(1u, g_messages.size());
    CString strQuestion;
    strQuestion.Format(GetLangText(TXT_ASK_REPLACE_PROGRAM_FILE), (LPCTSTR)strWall);
    EXPECT_EQ(strQuestion, g_messages[0]);
    EXPECT_TRUE(Read(strWall).empty()) << "still the earlier file";
    EXPECT_EQ(0, m_pDoc->typexp);

    g_messages.clear();
    g_nMessageAnswer = IDOK;
    EXPECT_EQ(strWall, m_pDoc->ExportMosaic(0));
    EXPECT_EQ(1u, g_messages.size());
    EXPECT_EQ(24, Read(strWall).cols);
    EXPECT_EQ(1, m_pDoc->typexp);
}

// A picture that cannot be written whole, on a full disk, is reported and leaves the
// picture written before as it was.
TEST_F(PictureExport, AFailedWriteLeavesTheEarlierPicture)
{
    LoadTestMosaic(*m_pDoc, 40, 30, PavingSquares, 8);
    g_answer = ExportAnswer{IDOK, m_folder.Path(L"Wall"), 1};
    const CString strWall = m_pDoc->ExportMosaic(0);
    ASSERT_EQ(m_folder.Path(L"Wall.png"), strWall);
    const std::string earlier = m_folder.ReadBytes(L"Wall.png");
    ASSERT_GT(earlier.size(), 2048u);
    g_messages.clear();
    LoadTestMosaic(*m_pDoc, 40, 30, PavingHexagons, 8);
    CMessageBoxCatcher boxes;
    {
        FullDisk full(2048);
        m_pDoc->ExportMosaic(1);
    }
    ASSERT_EQ(2u, g_messages.size()) << "the question, then the report";
    EXPECT_NE(-1, g_messages[1].Find(strWall)) << (LPCWSTR)g_messages[1];
    EXPECT_EQ(earlier, m_folder.ReadBytes(L"Wall.png"));
    EXPECT_EQ(0, boxes.Count());
}

TEST_F(PictureExport, APictureThatCannotBeWrittenIsReportedAndNotOpened)
{
    LoadTestMosaic(*m_pDoc, 6, 4, PavingSquares, 4);
    g_answer = ExportAnswer{IDOK, m_folder.Path(L"missing folder\\Wall"), 1};
    CMessageBoxCatcher boxes;
    const CString strPath = m_pDoc->ExportMosaic(1);
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_NE(-1, g_messages[0].Find(strPath)) << (LPCWSTR)g_messages[0];
    // Opening the missing file would have shown the shell's own complaint.
    EXPECT_EQ(0, boxes.Count());
    EXPECT_EQ(4, m_pDoc->m_tileSize);
}

TEST_F(PictureExport, PlatesAreDrawnOnlyWhenShown)
{
    LoadTestMosaic(*m_pDoc, 16, 8, PavingSquares, 10);
    m_pDoc->carplaquex = m_pDoc->carplaquey = 4;
    m_pDoc->grillescouleur = 0;
    m_pDoc->numerosgrille = 1;
    // Plate frames are drawn in pure red, green or blue, which no tile of the test has.
    const std::set<int> plateColours = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int shown = 0; shown <= 1; shown++)
    {
        m_pDoc->m_showPlaques = shown;
        const std::set<int> colours = ColoursOf(Read(m_pDoc->ExportMosaic(0)));
        int nPlateColours = 0;
        for (int c : plateColours)
            nPlateColours += (int)colours.count(c);
        if (shown)
            EXPECT_GT(nPlateColours, 0);
        else
            EXPECT_EQ(0, nPlateColours);
    }
}

TEST_F(PictureExport, ThumbnailFitsThePlanPictureInto128Pixels)
{
    const struct { int cols, rows, planW, planH, thumbW, thumbH, offsetX, offsetY; } cases[] = {
        {40, 30, 512, 384, 128, 96, 0, 12},
        {30, 40, 384, 512, 96, 128, 12, 0},
        {20, 20, 512, 512, 128, 128, 0, 0},
    };
    for (const auto& c : cases)
    {
        LoadTestMosaic(*m_pDoc, c.cols, c.rows, PavingSquares, 10);
        m_pDoc->m_showPlaques = 0;
        m_pDoc->typexp = 2;
        m_pDoc->m_thumbOffsetX = m_pDoc->m_thumbOffsetY = 77;
        EXPECT_TRUE(m_pDoc->MakeThumbnail());
        const CString strPlan = m_folder.Path(L"Plans\\Images\\Garden_E.jpg");
        const CString strThumb = m_folder.Path(L"Plans\\Images\\Garden_V.jpg");
        EXPECT_EQ(CString(strPlan), m_pDoc->m_exportPath);
        EXPECT_EQ(CString(strThumb), m_pDoc->m_thumbPath);
        const cv::Mat plan = Read(strPlan);
        const cv::Mat thumb = Read(strThumb);
        EXPECT_EQ(c.planW, plan.cols) << c.cols;
        EXPECT_EQ(c.planH, plan.rows) << c.cols;
        EXPECT_EQ(c.thumbW, thumb.cols) << c.cols;
        EXPECT_EQ(c.thumbH, thumb.rows) << c.cols;
        EXPECT_EQ(c.thumbW, m_pDoc->m_thumbWidth);
        EXPECT_EQ(c.thumbH, m_pDoc->m_thumbHeight);
        EXPECT_EQ(c.offsetX, m_pDoc->m_thumbOffsetX) << c.cols;
        EXPECT_EQ(c.offsetY, m_pDoc->m_thumbOffsetY) << c.cols;
        // The plates were drawn for the plan and are hidden again; the user's picture type
        // stays.
        EXPECT_EQ(0, m_pDoc->m_showPlaques);
        EXPECT_EQ(0, m_pDoc->m_exportMode);
        EXPECT_EQ(2, m_pDoc->typexp);
        EXPECT_EQ(10, m_pDoc->m_tileSize);
    }
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(PictureExport, OnlyTheThumbnailsFileNameChanges)
{
    LoadTestMosaic(*m_pDoc, 8, 4, PavingSquares, 10);
    const CString strProgram = m_folder.Path(L"Mosaic_E.2\\");
    const CString strImages = strProgram + L"Plans\\Images\\";
    m_pDoc->m_programFolder = strProgram;
    m_pDoc->m_path = m_folder.Path(L"Old_E.Wall.ms2");
    CreateDirectoryW(strProgram, NULL);
    EXPECT_TRUE(m_pDoc->MakeThumbnail());
    EXPECT_EQ(CString(strImages + L"Old_E.Wall_E.jpg"), m_pDoc->m_exportPath);
    EXPECT_EQ(CString(strImages + L"Old_V.Wall_V.jpg"), m_pDoc->m_thumbPath);
    EXPECT_EQ(128, Read(m_pDoc->m_thumbPath).cols);
    EXPECT_EQ(64, Read(m_pDoc->m_thumbPath).rows);
    DeleteFileW(m_pDoc->m_exportPath);
    DeleteFileW(m_pDoc->m_thumbPath);
    RemoveDirectoryW(strProgram + L"Plans\\Images");
    RemoveDirectoryW(strProgram + L"Plans");
    RemoveDirectoryW(strProgram);
}

TEST_F(PictureExport, AThumbnailWithoutItsPlanPictureIsReported)
{
    LoadTestMosaic(*m_pDoc, 8, 4, PavingSquares, 10);
    m_pDoc->m_programFolder = m_folder.Path(L"no such folder\\deeper\\");
    m_pDoc->m_showPlaques = 1;
    m_pDoc->m_thumbWidth = m_pDoc->m_thumbHeight = 50;
    EXPECT_FALSE(m_pDoc->MakeThumbnail());
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_NE(-1, g_messages[0].Find(L"Garden_E.jpg")) << (LPCWSTR)g_messages[0];
    EXPECT_EQ(0, m_pDoc->m_thumbWidth);
    EXPECT_EQ(0, m_pDoc->m_thumbHeight);
    EXPECT_EQ(1, m_pDoc->m_showPlaques);
    EXPECT_EQ(0, m_pDoc->m_exportMode);
}

}   // namespace
