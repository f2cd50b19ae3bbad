#include "MosaicTest.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AfxApp.h"
#include "AfxDocTempl.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxPath.h"
#include "DocSettings.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "TextIds.h"
#include "MessageBoxAnswerer.h"
#include "OpenCv.h"
#include "Paving.h"
#include "VitrolanDoc.h"
#include "WriteFailures.h"

namespace
{

const char kTexts[] = "3;My mosaic 1.x\r\n514;Save the tile palette?\r\n"
                      "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n";

// The names in the folder, to show that a save leaves nothing of its own behind.
std::set<std::string> Listing(const CString& strFolder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + L"*", &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            names.insert(CStringA(data.cFileName).GetString());
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    return names;
}

bool Exists(const CString& strPath)
{
    return GetFileAttributesW(strPath) != INVALID_FILE_ATTRIBUTES;
}

struct Cell
{
    int shape, kind, a, b, c, d;
};

Cell CellAt(const CRasterImage& map, int nCol, int nRow)
{
    Cell cell;
    int va, vb, vc, vd;
    map.GetCell(nCol, nRow, cell.shape, cell.kind, cell.a, cell.b, cell.c, cell.d, va, vb, vc,
                vd);
    return cell;
}

// An edit of the working map in a colour of its own, waiting to be settled as the view
// leaves it.
void PaintCell(CVitrolanDoc& doc, int nCol, int nRow, int nColour)
{
    PaletteEntry& entry = doc.m_imagePalette.m_colours[nColour];
    entry.peRed = (BYTE)(nColour * 20);
    entry.peGreen = 100;
    entry.peBlue = 50;
    entry.peFlags = 1;
    doc.m_workingMap.SetCell(nCol, nRow, 0, 0, nColour, nColour, nColour, nColour, 0, 0, 0, 0);
    doc.m_undoPending = 1;
}

// Red of the colour of the cell's first part: opening packs the colours, which renumbers them.
int RedAt(const CVitrolanDoc& doc, int nCol, int nRow)
{
    return doc.m_imagePalette.m_colours[CellAt(doc.m_workingMap, nCol, nRow).a].peRed;
}

// What the mosaic shows, cell by cell: shape, kind and the RGB of the four parts. Opening
// renumbers the colours and draws new texture variants, so map bytes cannot be compared.
std::vector<int> Looks(const CVitrolanDoc& doc, const CRasterImage& map)
{
    std::vector<int> looks;
    for (int row = 0; row < doc.m_rows; row++)
        for (int col = 0; col < doc.m_cols; col++)
        {
            const Cell cell = CellAt(map, col, row);
            looks.push_back(cell.shape);
            looks.push_back(cell.kind);
            for (int colour : {cell.a, cell.b, cell.c, cell.d})
            {
                const PaletteEntry& e = doc.m_imagePalette.m_colours[colour];
                looks.push_back(RGB(e.peRed, e.peGreen, e.peBlue));
            }
        }
    return looks;
}

class SaveTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_strTexts = UseOwnTexts(L"MosaicSaveTexts", kTexts);
    }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strTexts); }

    void SetUp() override
    {
        m_savedHooks = CVitrolanDoc::s_uiHooks;
        s_asked.clear();
        s_messages.clear();
        s_erased.clear();
        s_nAskResult = IDOK;
        s_nAskWidth = 30;
        s_nAskHeight = 40;
        CVitrolanDoc::s_uiHooks.pfnAskGridSize = AskGridSize;
        CVitrolanDoc::s_uiHooks.pfnMessageBox = RecordMessage;
        CVitrolanDoc::s_uiHooks.pfnEraseShape = RecordErase;

        WCHAR szCurrent[MAX_PATH] = {0};
        GetCurrentDirectoryW(MAX_PATH, szCurrent);
        m_strPreviousFolder = szCurrent;
        m_strFolder = NewTempFolder(L"MosaicSave");
        ASSERT_TRUE(SetCurrentDirectoryW(m_strFolder));
    }
    void TearDown() override
    {
        SetCurrentDirectoryW(m_strPreviousFolder);
        RemoveTree(m_strFolder);
        CVitrolanDoc::s_uiHooks = m_savedHooks;
    }

    static INT_PTR AskGridSize(int* pWidth, int* pHeight)
    {
        s_asked.push_back(*pWidth);
        s_asked.push_back(*pHeight);
        if (s_nAskResult == IDOK)
        {
            *pWidth = s_nAskWidth;
            *pHeight = s_nAskHeight;
        }
        return s_nAskResult;
    }
    static int RecordMessage(LPCTSTR lpszText)
    {
        s_messages.push_back(lpszText);
        return IDCANCEL;
    }
    static void RecordErase(CShpRectangle* pShape) { s_erased.push_back(pShape); }

    // A document the test owns, on a screen of a known size.
    static std::unique_ptr<CVitrolanDoc> MakeDocument()
    {
        std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
        doc->m_bAutoDelete = FALSE;
        doc->m_screenWidth = 1000;
        doc->m_screenHeight = 700;
        return doc;
    }
    // A white mosaic of that size, made by the New command (the start-up call is past).
    static void MakeNew(CVitrolanDoc& doc, int nWidth, int nHeight)
    {
        s_nAskResult = IDOK;
        s_nAskWidth = nWidth;
        s_nAskHeight = nHeight;
        doc.m_newCount = 1;
        ASSERT_TRUE(doc.OnNewDocument());
    }

    CString m_strFolder;
    CString m_strPreviousFolder;
    DocUiHooks m_savedHooks;

    static CString s_strTexts;
    static std::vector<int> s_asked;
    static std::vector<CString> s_messages;
    static std::vector<CShpRectangle*> s_erased;
    static INT_PTR s_nAskResult;
    static int s_nAskWidth;
    static int s_nAskHeight;
};
CString SaveTest::s_strTexts;
std::vector<int> SaveTest::s_asked;
std::vector<CString> SaveTest::s_messages;
std::vector<CShpRectangle*> SaveTest::s_erased;
INT_PTR SaveTest::s_nAskResult = IDOK;
int SaveTest::s_nAskWidth = 30;
int SaveTest::s_nAskHeight = 40;

// ---- New ---------------------------------------------------------------------------------------

TEST_F(SaveTest, NewMakesAWhiteGridOfTheChosenSizeAndSavesItAsNewMs2)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    doc->m_dirty = 1;
    doc->m_path = m_strFolder + L"previous.ms2";

    MakeNew(*doc, 30, 40);

    EXPECT_EQ((std::vector<int>{20, 20}), s_asked);
    EXPECT_EQ(30, doc->m_cols);
    EXPECT_EQ(40, doc->m_rows);
    EXPECT_EQ(30, doc->m_bmpHeader->biWidth);
    EXPECT_EQ(40, doc->m_bmpHeader->biHeight);
    EXPECT_EQ(30u * 40u, doc->m_bmpHeader->biSizeImage);
    ASSERT_EQ(120, doc->m_workingMap.width);
    ASSERT_EQ(160, doc->m_workingMap.height);
    EXPECT_EQ(Bytes(doc->m_workingMap), Bytes(doc->m_committedMap));
    for (int row = 0; row < 40; row++)
        for (int col = 0; col < 30; col++)
        {
            const Cell cell = CellAt(doc->m_workingMap, col, row);
            ASSERT_EQ(0, cell.kind) << col << "," << row;
            ASSERT_EQ(0, cell.shape) << col << "," << row;
            ASSERT_EQ(0, cell.a) << col << "," << row;
        }
    const PaletteEntry& white = doc->m_imagePalette.m_colours[0];
    EXPECT_EQ(255, white.peRed);
    EXPECT_EQ(255, white.peGreen);
    EXPECT_EQ(255, white.peBlue);
    EXPECT_EQ(1, doc->m_colourCount);

    const CString strSaved = m_strFolder + L"New.ms2";
    EXPECT_TRUE(Exists(strSaved));
    EXPECT_EQ(strSaved, doc->m_path);
    EXPECT_EQ(strSaved, doc->m_saveName);
    EXPECT_EQ(strSaved, doc->GetPathName());
    EXPECT_EQ(CString(L"New.ms2"), doc->GetTitle());
    EXPECT_EQ(0, doc->m_dirty);
    EXPECT_EQ(1, doc->m_loaded);
    EXPECT_EQ(2, doc->m_newCount);
    EXPECT_EQ(doc->taillecar + doc->intercar, doc->m_pitch);
    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ((std::set<std::string>{".", "..", "New.ms2"}), Listing(m_strFolder));
}

TEST_F(SaveTest, NewSizeAndZoomFollowTheDialogAndTheScreen)
{
    struct Case
    {
        INT_PTR result;      // of the dialog; 0 for no dialog at all
        int width, height;   // the dialog's answer
        int screenWidth, screenHeight;
        int cols, rows, tileSize, joints;
    };
    const Case cases[] = {
        {IDOK, 30, 40, 1000, 700, 30, 40, 16, 1},      // 700 / 40 = 17, less 2, made even
        {IDOK, 30, 40, 1000, 100, 30, 40, 2, 0},       // too small: 2 without joints
        {IDOK, 100, 10, 1000, 700, 100, 10, 8, 1},     // the width decides
        {IDOK, 0, -3, 1000, 700, 1, 1, 698, 1},        // never an empty grid
        {IDABORT, 5, 5, 1000, 700, 20, 20, 34, 1},     // any other end: 20 x 20
        {0, 5, 5, 1000, 700, 20, 20, 34, 1},
        {IDOK, 1, 1, 9000, 9000, 1, 1, MaxTileDisplaySize, 1},   // kept readable
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.result << " " << c.width << "x" << c.height
                                        << " on " << c.screenWidth << "x" << c.screenHeight);
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        doc->m_screenWidth = c.screenWidth;
        doc->m_screenHeight = c.screenHeight;
        doc->m_showJoints = 1;
        CVitrolanDoc::s_uiHooks.pfnAskGridSize = c.result == 0 ? NULL : AskGridSize;
        s_nAskResult = c.result;
        s_nAskWidth = c.width;
        s_nAskHeight = c.height;
        doc->m_newCount = 1;

        ASSERT_TRUE(doc->OnNewDocument());
        EXPECT_EQ(c.cols, doc->m_cols);
        EXPECT_EQ(c.rows, doc->m_rows);
        EXPECT_EQ(4 * c.cols, doc->m_committedMap.width);
        EXPECT_EQ(4 * c.rows, doc->m_committedMap.height);
        EXPECT_EQ(c.tileSize, doc->m_tileSize);
        EXPECT_EQ(c.joints, doc->m_showJoints);
        EXPECT_EQ(0, doc->m_dirty);
    }
}

TEST_F(SaveTest, NewCancelledLeavesTheMosaicAsItWas)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 6, 5);
    PaintCell(*doc, 2, 3, 7);
    doc->m_colourCount = 8;
    doc->m_dirty = 1;
    doc->affichage = 2;
    const std::vector<BYTE> working = Bytes(doc->m_workingMap);
    const std::vector<BYTE> committed = Bytes(doc->m_committedMap);
    const std::vector<BYTE> file = ReadBytes(m_strFolder + L"New.ms2");
    const CString strPathName = doc->GetPathName();
    const CString strPath = doc->m_path;
    const CString strSaveName = doc->m_saveName;

    s_nAskResult = IDCANCEL;
    EXPECT_FALSE(doc->OnNewDocument());

    EXPECT_EQ(6, doc->m_cols);
    EXPECT_EQ(5, doc->m_rows);
    EXPECT_EQ(working, Bytes(doc->m_workingMap));
    EXPECT_EQ(committed, Bytes(doc->m_committedMap));
    EXPECT_EQ(8, doc->m_colourCount);
    EXPECT_EQ(1, doc->m_dirty);
    EXPECT_EQ(1, doc->m_undoPending);
    EXPECT_EQ(2, doc->affichage);
    EXPECT_EQ(2, doc->m_newCount);
    EXPECT_EQ(strPathName, doc->GetPathName());
    EXPECT_EQ(strPath, doc->m_path);
    EXPECT_EQ(strSaveName, doc->m_saveName);
    EXPECT_EQ(file, ReadBytes(m_strFolder + L"New.ms2"));
}

TEST_F(SaveTest, StartUpNewOnlyNamesTheDocument)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();

    ASSERT_TRUE(doc->OnNewDocument());

    EXPECT_TRUE(s_asked.empty());
    EXPECT_EQ(CString(L"My mosaic 1.x"), doc->GetTitle());
    EXPECT_EQ(1, doc->m_newCount);
    EXPECT_EQ(0, doc->m_loaded);
    EXPECT_EQ(0, doc->m_dirty);
    EXPECT_EQ((std::set<std::string>{".", ".."}), Listing(m_strFolder));
    // Save As of this document proposes the title cut to a file name.
    EXPECT_EQ(CString(L"My.ms2"), doc->ProposeSaveName(TRUE));
}

// An earlier "New.ms2" is the user's: New saves beside it, also when a folder has that name.
TEST_F(SaveTest, NewBesideAnEarlierNewKeepsIt)
{
    const CString strEarlier = m_strFolder + L"New.ms2";
    WriteBytes(strEarlier, "earlier", 7);
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 3, 3);
    EXPECT_EQ((std::vector<BYTE>{'e', 'a', 'r', 'l', 'i', 'e', 'r'}), ReadBytes(strEarlier));
    EXPECT_EQ(m_strFolder + L"New (2).ms2", doc->m_path);

    // The next New finds both taken; the mosaic just made is left as it was saved.
    const std::vector<BYTE> second = ReadBytes(m_strFolder + L"New (2).ms2");
    MakeNew(*doc, 4, 4);
    EXPECT_EQ(second, ReadBytes(m_strFolder + L"New (2).ms2"));
    EXPECT_EQ(m_strFolder + L"New (3).ms2", doc->m_path);

    DeleteFileW(strEarlier);
    ASSERT_TRUE(CreateDirectoryW(strEarlier, NULL));
    DeleteFileW(m_strFolder + L"New (2).ms2");
    MakeNew(*doc, 2, 2);
    EXPECT_EQ(m_strFolder + L"New (2).ms2", doc->m_path);
}

// ---- Save ---------------------------------------------------------------------------------------

TEST_F(SaveTest, ProposedNameForSaveAs)
{
    struct Case
    {
        LPCWSTR pathName;
        LPCWSTR title;
        BOOL replace;
        LPCWSTR expected;
    };
    const Case cases[] = {
        {L"C:\\mosaics\\b.ms2", L"b.ms2", TRUE, L"C:\\mosaics\\b.ms2"},
        {L"C:\\pictures\\photo.jpg", L"photo.jpg", TRUE, L"C:\\pictures\\photo.ms2"},
        {L"C:\\pictures\\photo.old.png", L"x", TRUE, L"C:\\pictures\\photo.old.ms2"},
        // A "." in a folder name is no extension.
        {L"C:\\v1.2\\plan", L"plan", TRUE, L"C:\\v1.2\\plan.ms2"},
        {L"C:\\pictures\\photo.jpg", L"photo.jpg", FALSE, L"C:\\pictures\\photo.ms2"},
        {L"", L"My mosaic 1.x", TRUE, L"My.ms2"},
        {L"", L"Plan#3.old", TRUE, L"Plan.ms2"},
        {L"", L"50%off", TRUE, L"50.ms2"},
        {L"", L"a;b.c.d", TRUE, L"a.ms2"},
        {L"", L"dir\\name.x", TRUE, L"dir.ms2"},
        {L"", L"dir/name", TRUE, L"dir.ms2"},
        {L"", L"Mosaic", TRUE, L"Mosaic.ms2"},
        {L"", L".hidden", TRUE, L".hidden.ms2"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << CStringA(c.pathName).GetString() << " | "
                                        << CStringA(c.title).GetString());
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        if (c.pathName[0] != 0)
            doc->SetPathName(c.pathName, FALSE);
        doc->SetTitle(c.title);
        EXPECT_EQ(CString(c.expected), doc->ProposeSaveName(c.replace));
    }
}

TEST_F(SaveTest, SaveOfAnOpenedMosaicWritesItsFileDirectly)
{
    const CString strB = m_strFolder + L"b.ms2";
    {
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 6, 5);
        ASSERT_TRUE(doc->DoSave(strB, TRUE));
    }
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    ASSERT_TRUE(doc->OnOpenDocument(strB));
    doc->SetPathName(strB, FALSE);   // as the framework does after opening
    EXPECT_EQ(strB, doc->ProposeSaveName(TRUE));
    PaintCell(*doc, 4, 1, 9);
    const std::set<std::string> listing = Listing(m_strFolder);

    doc->OnFileSave();

    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ(0, doc->m_dirty);
    EXPECT_EQ(strB, doc->m_path);
    EXPECT_EQ(strB, doc->GetPathName());
    EXPECT_EQ(listing, Listing(m_strFolder));
    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(strB));
    EXPECT_EQ(9 * 20, RedAt(*reopened, 4, 1));
    EXPECT_EQ(Looks(*doc, doc->m_workingMap), Looks(*reopened, reopened->m_workingMap));
}

TEST_F(SaveTest, SaveOfAReadOnlyOrMissingFileAsksForAName)
{
    const CString strReadOnly = m_strFolder + L"locked.ms2";
    WriteBytes(strReadOnly, "locked", 6);
    ASSERT_TRUE(SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_READONLY));
    const CString strMissing = m_strFolder + L"gone.ms2";

    for (const CString& strPath : {strReadOnly, strMissing})
    {
        SCOPED_TRACE(CStringA(strPath).GetString());
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 3, 3);
        DeleteFileW(m_strFolder + L"New.ms2");
        doc->SetPathName(strPath, FALSE);
        doc->m_path = strPath;
        doc->m_dirty = 1;
        const std::set<std::string> listing = Listing(m_strFolder);

        // Without an application no dialog can ask: nothing is written.
        EXPECT_FALSE(doc->DoFileSave());
        EXPECT_EQ(strPath, doc->GetTitle());   // the name the dialog would have offered
        EXPECT_EQ(1, doc->m_dirty);
        EXPECT_EQ(listing, Listing(m_strFolder));
    }
    EXPECT_EQ((std::vector<BYTE>{'l', 'o', 'c', 'k', 'e', 'd'}), ReadBytes(strReadOnly));
}

// An application with a list of recent files, whose save dialog the user cancels.
class CCancelledSaveApp : public CWinApp
{
public:
    CCancelledSaveApp() : CWinApp(L"MosaicSaveTest")
    {
        m_pRecentFileList = new CRecentFileList(0, L"Recent File List", L"File%d", 4);
    }
    BOOL DoPromptFileName(CString&, UINT, DWORD, BOOL, CDocTemplate*) override
    {
        m_nPrompts++;
        return FALSE;
    }
    std::vector<CString> RecentFiles()
    {
        std::vector<CString> files;
        for (int i = 0; i < m_pRecentFileList->GetSize(); i++)
            if (!(*m_pRecentFileList)[i].IsEmpty())
                files.push_back((*m_pRecentFileList)[i]);
        return files;
    }
    int m_nPrompts = 0;
};

// Only files that exist go to the recent files: not the ".ms2" an imported picture would be
// saved as, when its Save As or Save is cancelled; the mosaic's file once it is written.
TEST_F(SaveTest, OnlyWrittenFilesGoToTheRecentFiles)
{
    CCancelledSaveApp app;
    const CString strPicture = m_strFolder + L"photo.png";
    cv::imwrite(std::string(AfxGetUnixPath(strPicture).GetString()),
                cv::Mat(16, 20, CV_8UC3, cv::Scalar(10, 120, 200)));
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    ASSERT_TRUE(doc->OnOpenDocument(strPicture));
    doc->SetPathName(strPicture);
    ASSERT_EQ(std::vector<CString>{strPicture}, app.RecentFiles());

    doc->OnFileSaveAs();
    doc->OnFileSave();
    EXPECT_EQ(2, app.m_nPrompts);
    EXPECT_EQ(std::vector<CString>{strPicture}, app.RecentFiles());
    EXPECT_FALSE(Exists(m_strFolder + L"photo.ms2"));

    ASSERT_TRUE(doc->DoSave(m_strFolder + L"photo.ms2", TRUE));
    doc->OnFileSave();
    EXPECT_EQ(2, app.m_nPrompts);
    EXPECT_EQ((std::vector<CString>{m_strFolder + L"photo.ms2", strPicture}), app.RecentFiles());
}

TEST_F(SaveTest, NewSaveOpenGivesTheSameMosaic)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    doc->m_pavingType = PavingHexagons;
    MakeNew(*doc, 7, 6);
    // The pattern's edge is part of what is saved, and of what undo returns to.
    EXPECT_NE(0, CellAt(doc->m_committedMap, 0, 0).kind);
    EXPECT_EQ(Bytes(doc->m_workingMap), Bytes(doc->m_committedMap));
    PaintCell(*doc, 3, 3, 5);
    PaintCell(*doc, 6, 5, 2);
    const CString strPath = m_strFolder + L"round trip.ms2";

    ASSERT_TRUE(doc->DoSave(strPath, TRUE));
    EXPECT_EQ(strPath, doc->m_path);

    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(strPath));
    EXPECT_EQ(7, reopened->m_cols);
    EXPECT_EQ(6, reopened->m_rows);
    EXPECT_EQ(7, reopened->m_bmpHeader->biWidth);
    EXPECT_EQ(6, reopened->m_bmpHeader->biHeight);
    EXPECT_EQ(PavingHexagons, reopened->m_pavingType);
    EXPECT_EQ(doc->m_tileSize, reopened->m_tileSize);
    EXPECT_EQ(Looks(*doc, doc->m_workingMap), Looks(*reopened, reopened->m_workingMap));
    EXPECT_EQ(Bytes(reopened->m_workingMap), Bytes(reopened->m_committedMap));
    EXPECT_EQ(5 * 20, RedAt(*reopened, 3, 3));
}

// Accepts the first bytes of a save, then finds the disk full.
class CDiskFullFile : public CFile
{
public:
    void Write(const void* lpBuf, UINT nCount) override
    {
        if (m_nWritten > 0)
            AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, GetFilePath());
        CFile::Write(lpBuf, nCount);
        m_nWritten += nCount;
    }

private:
    UINT m_nWritten = 0;
};

class CDiskFullDoc : public CVitrolanDoc
{
public:
    CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) override
    {
        if (!m_bDiskFull)
            return CVitrolanDoc::GetFile(lpszFileName, nOpenFlags, pError);
        CFile* pFile = new CDiskFullFile;
        if (!pFile->Open(lpszFileName, nOpenFlags, pError))
        {
            delete pFile;
            return NULL;
        }
        return pFile;
    }

    bool m_bDiskFull = false;
};

TEST_F(SaveTest, FailedSaveKeepsTheChangesAndThePreviousFile)
{
    const CString strDirectory = m_strFolder + L"folder.ms2";
    ASSERT_TRUE(CreateDirectoryW(strDirectory, NULL));
    const CString strReadOnly = m_strFolder + L"locked.ms2";
    WriteBytes(strReadOnly, "locked", 6);
    ASSERT_TRUE(SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_READONLY));
    const CString strPrevious = m_strFolder + L"previous.ms2";
    WriteBytes(strPrevious, "previous", 8);
    const CString strNoFolder = m_strFolder + L"missing\\new.ms2";

    struct Case
    {
        CString target;
        bool diskFull;
    };
    const Case cases[] = {
        {strDirectory, false}, {strReadOnly, false}, {strNoFolder, false}, {strPrevious, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CStringA(c.target).GetString());
        CDiskFullDoc* pDoc = new CDiskFullDoc;
        std::unique_ptr<CVitrolanDoc> doc(pDoc);
        doc->m_bAutoDelete = FALSE;
        MakeNew(*doc, 4, 3);
        pDoc->m_bDiskFull = c.diskFull;
        DeleteFileW(m_strFolder + L"New.ms2");
        doc->m_dirty = 1;
        const CString strPath = doc->m_path;
        const std::vector<BYTE> before = ReadBytes(c.target);
        const std::set<std::string> listing = Listing(m_strFolder);

        {
            MessageBoxAnswerer answerer;
            EXPECT_FALSE(doc->DoSave(c.target, TRUE));
            EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
        }
        EXPECT_EQ(1, doc->m_dirty);
        EXPECT_EQ(strPath, doc->m_path);
        EXPECT_EQ(before, ReadBytes(c.target));
        EXPECT_EQ(listing, Listing(m_strFolder));
    }
    EXPECT_TRUE(GetFileAttributesW(strDirectory) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(Exists(strNoFolder));
}

// A save that fails for real, on a disk that takes no more or into a folder that takes no
// new file, is reported with the file's name and leaves the earlier file as it was.
TEST_F(SaveTest, ARealWriteFailureLeavesTheEarlierFileAndNamesIt)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 40, 30);
    const CString strTarget = m_strFolder + L"garden.ms2";
    ASSERT_TRUE(doc->DoSave(strTarget, TRUE));
    const std::vector<BYTE> before = ReadBytes(strTarget);
    ASSERT_GT(before.size(), 4096u);
    doc->m_workingMap.SetCell(3, 3, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0);
    const std::set<std::string> listing = Listing(m_strFolder);
    for (const char* pszCase : {"full disk", "read-only folder"})
    {
        SCOPED_TRACE(pszCase);
        doc->m_dirty = 1;
        MessageBoxAnswerer answerer;
        BOOL bSaved = TRUE;
        if (pszCase[0] == 'f')
        {
            FullDisk full(4096);
            bSaved = doc->DoSave(strTarget, TRUE);
        }
        else
        {
            ReadOnlyFolder readOnly(m_strFolder);
            if (!readOnly.IsReadOnly())
                continue;
            bSaved = doc->DoSave(strTarget, TRUE);
        }
        EXPECT_FALSE(bSaved);
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
        EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(L"garden.ms2"))
            << CStringA(MessageBoxAnswerer::s_strText).GetString();
        EXPECT_EQ(before, ReadBytes(strTarget));
        EXPECT_EQ(1, doc->m_dirty);
        EXPECT_EQ(listing, Listing(m_strFolder));
    }
}

// Folders of any length the system takes are saved into: those just under and over the old
// limit of 260 characters among them.
TEST_F(SaveTest, SavesIntoFoldersOfAnyLength)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 5, 4);
    WCHAR chName = L'a';
    for (int nLength : {248, 250, 252, 259, 300})
    {
        SCOPED_TRACE(nLength);
        CString strFolder = m_strFolder;
        chName++;
        while (strFolder.GetLength() < nLength)
        {
            const int nPart = nLength - strFolder.GetLength() > 100 ? 100
                                                                    : nLength - strFolder.GetLength();
            strFolder += CString(chName, nPart) + L"\\";
            ASSERT_TRUE(CreateDirectoryW(strFolder, NULL));
        }
        const CString strPath = strFolder + L"mosaic.ms2";
        MessageBoxAnswerer noReport;
        ASSERT_TRUE(doc->DoSave(strPath, TRUE));
        EXPECT_EQ(0, MessageBoxAnswerer::s_nCount);
        EXPECT_EQ(strPath, doc->m_path);
        std::unique_ptr<CVitrolanDoc> again = MakeDocument();
        ASSERT_TRUE(again->OnOpenDocument(strPath));
        EXPECT_EQ(5, again->m_cols);
        EXPECT_EQ(4, again->m_rows);
    }
}

TEST_F(SaveTest, NewWhoseFirstSaveFailsLeavesThePreviousFileAlone)
{
    CDiskFullDoc* pDoc = new CDiskFullDoc;
    std::unique_ptr<CVitrolanDoc> doc(pDoc);
    doc->m_bAutoDelete = FALSE;
    const CString strPrevious = m_strFolder + L"previous.ms2";
    WriteBytes(strPrevious, "previous", 8);
    doc->m_path = strPrevious;
    pDoc->m_bDiskFull = true;

    {
        MessageBoxAnswerer answerer;
        MakeNew(*doc, 4, 4);
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_EQ(4, doc->m_cols);
    EXPECT_TRUE(doc->m_path.IsEmpty());
    // Save now asks for a name instead of writing the blank mosaic over the previous one.
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ((std::vector<BYTE>{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}), ReadBytes(strPrevious));
    EXPECT_EQ((std::set<std::string>{".", "..", "previous.ms2"}), Listing(m_strFolder));
}

// ---- Close ------------------------------------------------------------------------------------

TEST_F(SaveTest, CloseSavesAChangedMosaicUnderItsSaveNameWithoutAsking)
{
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 5, 4);
    PaintCell(*doc, 1, 2, 6);
    doc->m_dirty = 1;
    doc->m_saveName = m_strFolder + L"closed.ms2";
    int nSelection = 0, nStamp = 0;
    doc->m_selection = reinterpret_cast<CShpRectangle*>(&nSelection);
    doc->m_stampShape = reinterpret_cast<CShpRectangle*>(&nStamp);

    {
        MessageBoxAnswerer answerer;
        doc->OnCloseDocument();
        EXPECT_EQ(0, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_TRUE(s_messages.empty());
    EXPECT_EQ((std::vector<CShpRectangle*>{doc->m_selection, doc->m_stampShape}), s_erased);
    EXPECT_TRUE(doc->m_workingMap.data == NULL);
    EXPECT_TRUE(doc->m_committedMap.data == NULL);
    EXPECT_TRUE(doc->m_screenImage.data == NULL);
    doc->m_selection = NULL;
    doc->m_stampShape = NULL;

    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(m_strFolder + L"closed.ms2"));
    EXPECT_EQ(6 * 20, RedAt(*reopened, 1, 2));

    // An unchanged mosaic is not written.
    std::unique_ptr<CVitrolanDoc> clean = MakeDocument();
    MakeNew(*clean, 5, 4);
    clean->m_saveName = m_strFolder + L"untouched.ms2";
    clean->OnCloseDocument();
    EXPECT_FALSE(Exists(m_strFolder + L"untouched.ms2"));
}

TEST_F(SaveTest, CloseAfterSaveAsWritesTheNewFileAndLeavesTheOriginal)
{
    const CString strOriginal = m_strFolder + L"original.ms2";
    const CString strCopy = m_strFolder + L"copy.ms2";
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    MakeNew(*doc, 4, 4);
    ASSERT_TRUE(doc->DoSave(strOriginal, TRUE));
    ASSERT_TRUE(doc->DoSave(strCopy, TRUE));
    const std::vector<BYTE> original = ReadBytes(strOriginal);
    PaintCell(*doc, 0, 0, 3);
    doc->m_dirty = 1;

    doc->OnCloseDocument();

    EXPECT_EQ(original, ReadBytes(strOriginal));
    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(strCopy));
    EXPECT_EQ(3 * 20, RedAt(*reopened, 0, 0));
}

TEST_F(SaveTest, CloseAsksAboutAChangedTilePaletteOnly)
{
    for (int nModified : {1, 0})
    {
        SCOPED_TRACE(nModified);
        s_messages.clear();
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        doc->m_tilePaletteModified = nModified;
        doc->OnCloseDocument();
        if (nModified)
            EXPECT_EQ((std::vector<CString>{L"Save the tile palette?"}), s_messages);
        else
            EXPECT_TRUE(s_messages.empty());
    }
}

// ---- Replacing a changed mosaic ------------------------------------------------------------

// Save and close never replace a file the mosaic did not come from: the mosaic imported from
// "photo.png" leaves a "photo.ms2" that was there alone.
TEST_F(SaveTest, AFileTheMosaicDidNotComeFromIsNotReplacedUnasked)
{
    const CString strPicture = m_strFolder + L"photo.png";
    ASSERT_TRUE(cv::imwrite(std::string(AfxGetUnixPath(strPicture).GetString()),
                            cv::Mat(12, 16, CV_8UC3, cv::Scalar(40, 80, 120))));
    const CString strOther = m_strFolder + L"photo.ms2";
    WriteBytes(strOther, "other", 5);
    const std::vector<BYTE> other = ReadBytes(strOther);
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    ASSERT_TRUE(doc->OnOpenDocument(strPicture));
    doc->SetPathName(strPicture, FALSE);
    PaintCell(*doc, 1, 1, 9);
    doc->m_dirty = 1;

    // Save asks for a name; without an application nothing is written.
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(other, ReadBytes(strOther));

    doc->OnCloseDocument();
    EXPECT_EQ(other, ReadBytes(strOther));
    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(m_strFolder + L"photo (2).ms2"));
    EXPECT_EQ(9 * 20, RedAt(*reopened, 1, 1));
}

// New and Open treat a changed mosaic as closing does: saved under its own name without a
// question, the changed tile palette offered once. A save that fails leaves the choice to
// the user: Cancel keeps the mosaic, No drops the changes.
TEST_F(SaveTest, ReplacingAChangedMosaicSavesItAsClosingDoes)
{
    const CString strB = m_strFolder + L"b.ms2";
    {
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 6, 5);
        ASSERT_TRUE(doc->DoSave(strB, TRUE));
    }
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    ASSERT_TRUE(doc->OnOpenDocument(strB));
    EXPECT_FALSE(doc->IsModified());
    PaintCell(*doc, 2, 3, 7);
    doc->m_dirty = 1;
    doc->m_tilePaletteModified = 1;
    EXPECT_TRUE(doc->IsModified());

    {
        MessageBoxAnswerer answerer;
        EXPECT_TRUE(doc->SaveModified());
        EXPECT_EQ(0, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_EQ((std::vector<CString>{L"Save the tile palette?"}), s_messages);
    EXPECT_FALSE(doc->IsModified());
    std::unique_ptr<CVitrolanDoc> reopened = MakeDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(strB));
    EXPECT_EQ(7 * 20, RedAt(*reopened, 2, 3));
    // The palette the user did not keep is not offered again by the close that follows.
    doc->OnCloseDocument();
    EXPECT_EQ(1u, s_messages.size());

    CDiskFullDoc* pFull = new CDiskFullDoc;
    std::unique_ptr<CVitrolanDoc> full(pFull);
    full->m_bAutoDelete = FALSE;
    MakeNew(*full, 3, 3);
    pFull->m_bDiskFull = true;
    full->m_dirty = 1;
    {
        MessageBoxAnswerer answerer(IDCANCEL);
        EXPECT_FALSE(full->SaveModified());
        EXPECT_EQ(2, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_EQ(1, full->m_dirty);
    {
        MessageBoxAnswerer answerer(IDNO);
        EXPECT_TRUE(full->SaveModified());
        EXPECT_EQ(2, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_FALSE(full->IsModified());
}

// An edit pending when another mosaic takes the document's place, or when the paving
// pattern changes, can no longer be undone: Undo never puts the old size or colours into
// what is shown now.
TEST_F(SaveTest, UndoNeverReachesAcrossOpenNewOrAPatternChange)
{
    const CString strOther = m_strFolder + L"other.ms2";
    {
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 3, 2);
        ASSERT_TRUE(doc->DoSave(strOther, TRUE));
    }
    for (const char* route : {"open", "new", "paving"})
    {
        SCOPED_TRACE(route);
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 5, 4);
        // A resize from 5 x 4 to 2 x 2 and a colour change, both pending.
        doc->m_savedCols = 5;
        doc->m_savedRows = 4;
        doc->m_cols = doc->m_rows = 2;
        doc->m_workingMap.Create(0, 8, 8);
        doc->m_resizePending = 1;
        doc->m_coloursPending = 1;
        doc->m_imagePaletteUndo.m_colours[0] = {1, 2, 3, 0};
        doc->m_colourCountUndo = 7;
        doc->m_undoPending = 1;
        doc->SetUndoItem(TXT_UNDO_RESIZE);
        doc->m_dirty = 1;

        if (route[0] == 'o')
            ASSERT_TRUE(doc->OnOpenDocument(strOther));
        else if (route[0] == 'n')
            MakeNew(*doc, 6, 6);
        else
            doc->SetPavingPattern(PavingHexagons);
        EXPECT_EQ(0, doc->m_undoItemEnabled);
        const int nCols = doc->m_cols, nRows = doc->m_rows, nColours = doc->m_colourCount;
        const PaletteEntry first = doc->m_imagePalette.m_colours[0];
        const std::vector<BYTE> shown = Bytes(doc->m_workingMap);

        doc->OnEditUndo();
        EXPECT_EQ(nCols, doc->m_cols);
        EXPECT_EQ(nRows, doc->m_rows);
        EXPECT_EQ(4 * nCols, doc->m_workingMap.width);
        EXPECT_EQ(4 * nRows, doc->m_workingMap.height);
        EXPECT_EQ(shown, Bytes(doc->m_workingMap));
        EXPECT_EQ(shown, Bytes(doc->m_committedMap));
        EXPECT_EQ(nColours, doc->m_colourCount);
        EXPECT_EQ(0, memcmp(&first, &doc->m_imagePalette.m_colours[0], sizeof(first)));
    }
}

// ---- Settings of an opened file -------------------------------------------------------------

// An imperial file opened in a metric session brings its units, joint and background at
// once: the unit words, the display colours and the length the file does not store follow.
// A custom joint colour stays the session's, or comes from the profile.
TEST_F(SaveTest, AnOpenedFileBringsItsUnitsAndColoursAtOnce)
{
    const CString strImperial = m_strFolder + L"imperial.ms2";
    const CString strCustom = m_strFolder + L"custom.ms2";
    {
        std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
        MakeNew(*doc, 3, 3);
        doc->unites = 1;
        doc->coljoint = 2;
        doc->colfond = 1;
        ASSERT_TRUE(doc->DoSave(strImperial, TRUE));
        doc->unites = 0;
        doc->coljoint = 3;
        doc->colfond = 0;
        ASSERT_TRUE(doc->DoSave(strCustom, TRUE));
    }
    std::unique_ptr<CVitrolanDoc> doc = MakeDocument();
    doc->unites = 0;
    doc->cresol = 15;
    doc->coljoint = 1;
    doc->colfond = 0;
    doc->m_unitText = L"mm";
    doc->m_unitTextLong = L"m";

    ASSERT_TRUE(doc->OnOpenDocument(strImperial));
    EXPECT_EQ(1, doc->unites);
    EXPECT_EQ(CString(L"in"), doc->m_unitText);
    EXPECT_EQ(CString(L"ft"), doc->m_unitTextLong);
    EXPECT_EQ(6, doc->cresol);
    const BYTE black[3] = {0, 0, 0}, grey[3] = {192, 192, 192};
    EXPECT_EQ(0, memcmp(black, doc->m_colourTable[1], 3));
    EXPECT_EQ(0, memcmp(grey, doc->m_colourTable[0], 3));

    const CString strSection = CVitrolanDoc::GetSettingsSection();
    DocWriteProfileInt(strSection, L"coljointR", 10);
    DocWriteProfileInt(strSection, L"coljointV", 20);
    DocWriteProfileInt(strSection, L"coljointB", 30);
    ASSERT_TRUE(doc->OnOpenDocument(strCustom));
    EXPECT_EQ(CString(L"mm"), doc->m_unitText);
    EXPECT_EQ(15, doc->cresol);
    const BYTE profile[3] = {10, 20, 30}, white[3] = {255, 255, 255};
    EXPECT_EQ(0, memcmp(profile, doc->m_colourTable[1], 3));
    EXPECT_EQ(0, memcmp(white, doc->m_colourTable[0], 3));
    const BYTE session[3] = {40, 50, 60};
    memcpy(doc->m_colourTable[1], session, 3);
    ASSERT_TRUE(doc->OnOpenDocument(strCustom));
    EXPECT_EQ(0, memcmp(session, doc->m_colourTable[1], 3));
}

}   // namespace
