#include "MosaicTest.h"

#include <string.h>

#include <memory>
#include <vector>

#include "AfxApp.h"
#include "AfxDoc.h"
#include "AfxRes.h"
#include "DocTestFiles.h"
#include "LangText.h"
#include "RecordingCmdUI.h"
#include "TextIds.h"
#include "VitrolanDoc.h"

namespace
{

// Undo texts of our own, so that each item text tells which edit it names. The unit words
// are those of the other document tests, which read the same table after these.
const char kTexts[] =
    "870;Undo\r\n871;Undo resize\r\n872;Undo colours\r\n874;Undo mirror\r\n"
    "876;Undo mix\r\n882;Undo replace\r\n884;Undo brush\r\n"
    "903;mm\r\n904;in\r\n905;m\r\n906;ft\r\n";

// What the hooks of the layers above the document saw.
struct HookLog
{
    int nConfirmAnswer = 1;
    int nConfirmCalls = 0;
    int nBarRefreshes = 0;
    std::vector<int> pressedButtons;
    std::vector<CShpRectangle*> erasedShapes;
};
HookLog* g_pLog = NULL;

int ConfirmMix()
{
    g_pLog->nConfirmCalls++;
    return g_pLog->nConfirmAnswer;
}
void RefreshImageBar() { g_pLog->nBarRefreshes++; }
void PressImageBarButton(int nButton) { g_pLog->pressedButtons.push_back(nButton); }
void EraseShapeHook(CShpRectangle* pShape) { g_pLog->erasedShapes.push_back(pShape); }

class UndoTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_strFolder = UseOwnTexts(L"MosaicUndoTexts", kTexts);
    }
    static void TearDownTestSuite() { RestoreSharedTexts(s_strFolder); }

    void SetUp() override
    {
        g_pLog = &m_log;
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        CVitrolanDoc::s_uiHooks.pfnConfirmMix = ConfirmMix;
        CVitrolanDoc::s_uiHooks.pfnRefreshImageBar = RefreshImageBar;
        CVitrolanDoc::s_uiHooks.pfnPressImageBarButton = PressImageBarButton;
        CVitrolanDoc::s_uiHooks.pfnEraseShape = EraseShapeHook;
        m_doc.reset(new CVitrolanDoc);
        LoadMosaic(3, 2);
    }
    void TearDown() override
    {
        CVitrolanDoc::s_uiHooks = DocUiHooks();
        g_pLog = NULL;
        m_doc->m_selection = NULL;
        m_doc->m_stampShape = NULL;
    }

    // A settled mosaic of cols x rows tiles, every cell of its own colour.
    void LoadMosaic(int nCols, int nRows)
    {
        CVitrolanDoc& d = *m_doc;
        d.m_cols = nCols;
        d.m_rows = nRows;
        d.m_workingMap.Create(0, 4 * nCols, 4 * nRows);
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
                d.m_workingMap.SetCell(col, row, 0, 0, row * nCols + col, 0, 0, 0, 0, 0, 0, 0);
        d.m_committedMap.Create(0, 4 * nCols, 4 * nRows);
        d.m_workingMap.CopyBlock(&d.m_committedMap, 4 * nCols, 4 * nRows);
        d.m_loaded = 1;
        d.m_dirty = 0;
    }

    // The steps every undoable command takes, with a brush stroke as the change.
    void Paint(int nCol, int nRow, int nColour, UINT nTextId = TXT_UNDO_BRUSH)
    {
        m_doc->CommitPendingEdit();
        m_doc->m_workingMap.SetCell(nCol, nRow, 0, 0, nColour, 0, 0, 0, 0, 0, 0, 0);
        m_doc->SetUndoItem(nTextId);
        m_doc->m_undoPending = 1;
    }

    static std::vector<BYTE> Bytes(const CRasterImage& image)
    {
        return std::vector<BYTE>(image.data, image.data + image.size);
    }
    int ColourAt(const CRasterImage& image, int nCol, int nRow)
    {
        int s, k, a, b, c, dd, va, vb, vc, vd;
        image.GetCell(nCol, nRow, s, k, a, b, c, dd, va, vb, vc, vd);
        return a;
    }
    int UpdateState(UINT nID)
    {
        RecordingCmdUI ui;
        ui.m_nID = nID;
        EXPECT_TRUE(m_doc->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui, NULL));
        return ui.nEnabled;
    }

    static CString s_strFolder;
    HookLog m_log;
    std::unique_ptr<CVitrolanDoc> m_doc;
};
CString UndoTest::s_strFolder;

TEST_F(UndoTest, UndoRestoresCommittedMapOnceAndGreysTheItem)
{
    const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
    m_doc->m_plaquesValid = 1;
    Paint(1, 1, 200);
    EXPECT_EQ(CString(L"Undo brush"), m_doc->m_undoItemText);
    EXPECT_EQ(1, m_doc->m_undoItemEnabled);
    EXPECT_EQ(1, UpdateState(ID_UNDO_EDIT));
    m_doc->m_rebuildTileImages = 0;

    m_doc->OnEditUndo();
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(original, Bytes(m_doc->m_committedMap));
    EXPECT_EQ(CString(L"Undo"), m_doc->m_undoItemText);
    EXPECT_EQ(0, m_doc->m_undoItemEnabled);
    EXPECT_EQ(0, UpdateState(ID_UNDO_EDIT));
    EXPECT_EQ(0, m_doc->m_undoPending);
    EXPECT_EQ(0, m_doc->m_plaquesValid);
    EXPECT_EQ(1, m_doc->m_rebuildTileImages);

    // Only one step is kept: a second undo finds both maps equal.
    m_doc->OnEditUndo();
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(0, m_doc->m_dirty);
}

TEST_F(UndoTest, NextEditSettlesThePreviousOne)
{
    Paint(0, 0, 100);
    Paint(2, 1, 101);
    EXPECT_EQ(1, m_doc->m_dirty);
    EXPECT_EQ(100, ColourAt(m_doc->m_committedMap, 0, 0));
    EXPECT_EQ(5, ColourAt(m_doc->m_committedMap, 2, 1));

    m_doc->OnEditUndo();
    EXPECT_EQ(100, ColourAt(m_doc->m_workingMap, 0, 0));
    EXPECT_EQ(5, ColourAt(m_doc->m_workingMap, 2, 1));
}

TEST_F(UndoTest, SettlingWithNothingPendingChangesNothing)
{
    m_doc->m_undoItemText = L"untouched";
    EXPECT_TRUE(m_doc->CommitPendingEdit());
    EXPECT_EQ(0, m_doc->m_dirty);
    EXPECT_EQ(CString(L"untouched"), m_doc->m_undoItemText);

    // With nothing pending, undo copies the equal committed map back.
    const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
    m_doc->OnEditUndo();
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(CString(L"untouched"), m_doc->m_undoItemText);
}

TEST_F(UndoTest, MirrorUndoKeepsThePlates)
{
    const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
    m_doc->CommitPendingEdit();
    m_doc->m_plaquesValid = 1;
    m_doc->m_workingMap.FlipVertical();
    m_doc->SetUndoItem(TXT_UNDO_MIRROR_HORIZONTAL);
    m_doc->m_undoPendingB = 1;
    EXPECT_EQ(CString(L"Undo mirror"), m_doc->m_undoItemText);
    EXPECT_EQ(1, UpdateState(ID_UNDO_EDIT));

    m_doc->OnEditUndo();
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(0, m_doc->m_undoPendingB);
    EXPECT_EQ(1, m_doc->m_plaquesValid);
    EXPECT_EQ(CString(L"Undo"), m_doc->m_undoItemText);
    EXPECT_EQ(0, UpdateState(ID_UNDO_EDIT));
}

// A resize from 3 x 2 to 6 x 4 tiles, as the resize command leaves it.
void StartResize(CVitrolanDoc& d, int nTileSize, int nShrunk)
{
    d.CommitPendingEdit();
    d.m_savedCols = d.m_cols;
    d.m_savedRows = d.m_rows;
    d.m_cols = 6;
    d.m_rows = 4;
    d.m_workingMap.Create(0, 24, 16);
    d.m_workingMap.FillBytes(77);
    d.m_tileSize = nTileSize;
    d.m_resizeFactor = 2.0;
    d.m_resizeShrunk = nShrunk;
    d.m_resizePending = 1;
    d.SetUndoItem(TXT_UNDO_RESIZE);
    d.m_undoPending = 1;
}

TEST_F(UndoTest, ResizeUndoRestoresGridCellsAndZoom)
{
    struct Case
    {
        int nTileSize, nShrunk, nExpectedSize, nExpectedJoints;
    };
    const Case cases[] = {
        {6, 0, 12, 1},   // grown back
        {6, 1, 4, 1},    // 3 made even
        {2, 1, 1, 0},    // no room for joints at 1
        {4, 1, 2, 0},    // nor at 2
        {7, 1, 4, 1},    // 3.5 rounds down to 3, made even
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "size " << c.nTileSize << " shrunk " << c.nShrunk);
        LoadMosaic(3, 2);
        const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
        m_doc->m_showJoints = 1;
        StartResize(*m_doc, c.nTileSize, c.nShrunk);

        m_doc->OnEditUndo();
        EXPECT_EQ(3, m_doc->m_cols);
        EXPECT_EQ(2, m_doc->m_rows);
        EXPECT_EQ(12, m_doc->m_workingMap.width);
        EXPECT_EQ(8, m_doc->m_workingMap.height);
        EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
        EXPECT_EQ(c.nExpectedSize, m_doc->m_tileSize);
        EXPECT_EQ(c.nExpectedJoints, m_doc->m_showJoints);
        EXPECT_EQ(0, m_doc->m_resizePending);
    }
}

TEST_F(UndoTest, SettledResizeKeepsTheNewGridInBothMaps)
{
    StartResize(*m_doc, 6, 0);
    EXPECT_TRUE(m_doc->CommitPendingEdit());
    EXPECT_EQ(24, m_doc->m_committedMap.width);
    EXPECT_EQ(16, m_doc->m_committedMap.height);
    EXPECT_EQ(Bytes(m_doc->m_workingMap), Bytes(m_doc->m_committedMap));
    EXPECT_EQ(77, m_doc->m_committedMap.GetByte(23, 15));

    m_doc->OnEditUndo();
    EXPECT_EQ(6, m_doc->m_cols);
    EXPECT_EQ(6, m_doc->m_tileSize);
    EXPECT_EQ(77, m_doc->m_workingMap.GetByte(23, 15));
}

TEST_F(UndoTest, ColourUndoRestoresEntriesCountAndCells)
{
    CVitrolanDoc& d = *m_doc;
    for (int i = 0; i < 6; i++)
        d.m_imagePalette.m_colours[i] = {(BYTE)(10 * i), (BYTE)(i + 1), 3, 1};
    d.m_colourCount = 6;
    const std::vector<BYTE> original = Bytes(d.m_workingMap);
    PALETTEENTRY before[256];
    memcpy(before, d.m_imagePalette.m_colours, sizeof(before));

    // A reduction to two colours, with its undo copies.
    d.CommitPendingEdit();
    memcpy(d.m_imagePaletteUndo.m_colours, d.m_imagePalette.m_colours, sizeof(before));
    d.m_colourCountUndo = d.m_colourCount;
    for (int row = 0; row < 2; row++)
        for (int col = 0; col < 3; col++)
            d.m_workingMap.SetCell(col, row, 0, 0, col % 2, 0, 0, 0, 0, 0, 0, 0);
    memset(d.m_imagePalette.m_colours, 0, sizeof(before));
    d.m_colourCount = 2;
    d.SetUndoItem(TXT_UNDO_REDUCE_COLOURS);
    d.m_undoPending = 1;
    d.m_coloursPending = 1;

    d.OnEditUndo();
    EXPECT_EQ(0, memcmp(before, d.m_imagePalette.m_colours, sizeof(before)));
    EXPECT_EQ(6, d.m_colourCount);
    EXPECT_EQ(original, Bytes(d.m_workingMap));
    EXPECT_EQ(1, m_log.nBarRefreshes);
    EXPECT_EQ(0, d.m_coloursPending);
}

TEST_F(UndoTest, SettlingDropsTheColourUndo)
{
    m_doc->m_colourCount = 5;
    m_doc->m_colourCountUndo = 9;
    Paint(0, 0, 1, TXT_UNDO_REDUCE_COLOURS);
    m_doc->m_coloursPending = 1;
    Paint(1, 0, 2);
    m_doc->OnEditUndo();
    EXPECT_EQ(5, m_doc->m_colourCount);
    EXPECT_EQ(0, m_log.nBarRefreshes);
}

TEST_F(UndoTest, RejectedMixPreviewIsUndoneBeforeTheNextEdit)
{
    const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
    Paint(0, 0, 150, TXT_UNDO_MIX_FILL);
    m_doc->m_mixPreviewPending = 1;

    m_log.nConfirmAnswer = 2;
    EXPECT_FALSE(m_doc->CommitPendingEdit());
    EXPECT_EQ(1, m_log.nConfirmCalls);
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
    EXPECT_EQ(0, m_doc->m_mixPreviewPending);
    EXPECT_EQ(0, m_doc->m_undoPending);
    EXPECT_EQ(CString(L"Undo"), m_doc->m_undoItemText);

    // The command that asked goes on over the restored mosaic.
    m_doc->m_workingMap.SetCell(2, 0, 0, 0, 151, 0, 0, 0, 0, 0, 0, 0);
    m_doc->SetUndoItem(TXT_UNDO_BRUSH);
    m_doc->m_undoPending = 1;
    m_doc->OnEditUndo();
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));
}

TEST_F(UndoTest, KeptMixPreviewIsSettled)
{
    Paint(0, 0, 150, TXT_UNDO_MIX_FILL);
    m_doc->m_mixPreviewPending = 1;
    m_log.nConfirmAnswer = 1;
    EXPECT_TRUE(m_doc->CommitPendingEdit());
    EXPECT_EQ(150, ColourAt(m_doc->m_committedMap, 0, 0));
    EXPECT_EQ(0, m_doc->m_mixPreviewPending);

    // Asked once only.
    EXPECT_TRUE(m_doc->CommitPendingEdit());
    EXPECT_EQ(1, m_log.nConfirmCalls);
}

TEST_F(UndoTest, BarSelectionIsRestoredOnlyByTheUndoOfItsEdit)
{
    Paint(0, 0, 3, TXT_UNDO_REPLACE_COLOUR);
    m_doc->m_savedBarButton = 4;
    m_doc->m_barSelectionPending = 1;
    m_doc->OnEditUndo();
    ASSERT_EQ(1u, m_log.pressedButtons.size());
    EXPECT_EQ(4, m_log.pressedButtons[0]);
    EXPECT_EQ(0, m_doc->m_barSelectionPending);

    // Once a later edit has settled it, undoing that edit leaves the bar alone.
    m_log.pressedButtons.clear();
    Paint(0, 0, 3, TXT_UNDO_REPLACE_COLOUR);
    m_doc->m_barSelectionPending = 1;
    Paint(1, 1, 9);
    m_doc->OnEditUndo();
    EXPECT_TRUE(m_log.pressedButtons.empty());
}

TEST_F(UndoTest, CommandRoutingReachesTheUndoHandlers)
{
    const std::vector<BYTE> original = Bytes(m_doc->m_workingMap);
    Paint(2, 0, 42);
    EXPECT_TRUE(m_doc->OnCmdMsg(ID_UNDO_EDIT, CN_COMMAND, NULL, NULL));
    EXPECT_EQ(original, Bytes(m_doc->m_workingMap));

    const UINT needMosaic[] = {32772, 32785, 32907, ID_FILE_SAVE, ID_FILE_SAVE_AS,
                               ID_FILE_PRINT_SETUP, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW};
    for (UINT nID : needMosaic)
    {
        SCOPED_TRACE(nID);
        m_doc->m_loaded = 1;
        EXPECT_EQ(1, UpdateState(nID));
        m_doc->m_loaded = 0;
        EXPECT_EQ(0, UpdateState(nID));
    }
}

TEST_F(UndoTest, ResetToolsSwitchesEveryToolOffAndErasesBothShapes)
{
    CVitrolanDoc& d = *m_doc;
    int* tools[] = {&d.m_selectTool, &d.m_measureVTool, &d.m_measureHTool, &d.m_fillTool,
                    &d.m_brushTool, &d.m_replaceTool, &d.m_mixFillTool, &d.m_toggleTool,
                    &d.m_wholeTool, &d.m_halfTool, &d.m_diagHalfTool, &d.m_quarterTool,
                    &d.m_diagQuarterTool, &d.m_copyValid, &d.m_partToolActive};
    for (int* p : tools)
        *p = 1;
    d.m_textStampTool = 1;
    d.m_cutKind = 5;
    // The hook only passes the shapes on; any distinct addresses stand for them.
    int shapes[2];
    d.m_selection = reinterpret_cast<CShpRectangle*>(&shapes[0]);
    d.m_stampShape = reinterpret_cast<CShpRectangle*>(&shapes[1]);

    d.ResetTools();
    for (int* p : tools)
        EXPECT_EQ(0, *p);
    EXPECT_EQ(1, d.m_textStampTool);
    EXPECT_EQ(5, d.m_cutKind);
    ASSERT_EQ(2u, m_log.erasedShapes.size());
    EXPECT_EQ(d.m_selection, m_log.erasedShapes[0]);
    EXPECT_EQ(d.m_stampShape, m_log.erasedShapes[1]);
}

TEST_F(UndoTest, MainWindowMenuItemIsRenamedAndGreyed)
{
    // The application lives only while the menu is driven: the document's settings stay
    // under the test key.
    CWinApp app(L"MosaicUndoTest");
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    HMENU hBar = CreateMenu();
    HMENU hEdit = CreatePopupMenu();
    AppendMenuW(hEdit, MF_STRING, ID_UNDO_EDIT, L"&Annuler\tCtrl+Z");
    AppendMenuW(hBar, MF_POPUP, (UINT_PTR)hEdit, L"Edit");
    ASSERT_TRUE(SetMenu(wnd.m_hWnd, hBar));
    app.m_pMainWnd = &wnd;

    WCHAR szText[64];
    Paint(0, 1, 33);
    ASSERT_NE(nullptr, m_doc->m_menu);
    EXPECT_EQ(hBar, m_doc->m_menu->GetSafeHmenu());
    GetMenuStringW(hBar, ID_UNDO_EDIT, szText, 64, MF_BYCOMMAND);
    EXPECT_EQ(CString(L"Undo brush"), CString(szText));
    EXPECT_EQ(0u, GetMenuState(hBar, ID_UNDO_EDIT, MF_BYCOMMAND) & MF_GRAYED);

    m_doc->OnEditUndo();
    GetMenuStringW(hBar, ID_UNDO_EDIT, szText, 64, MF_BYCOMMAND);
    EXPECT_EQ(CString(L"Undo"), CString(szText));
    EXPECT_NE(0u, GetMenuState(hBar, ID_UNDO_EDIT, MF_BYCOMMAND) & MF_GRAYED);

    // A menu without the item is left as it is.
    DeleteMenu(hEdit, ID_UNDO_EDIT, MF_BYCOMMAND);
    Paint(0, 1, 34);
    EXPECT_EQ(0, GetMenuItemCount(hEdit));
    EXPECT_EQ(CString(L"Undo brush"), m_doc->m_undoItemText);

    app.m_pMainWnd = NULL;
    wnd.DestroyWindow();
    m_doc->m_menu = NULL;
}

}   // namespace
