// The grid and its owner window: the edit notifications of a text change and the owner's
// answers to them, the font the owner gives the grid, and the clipboard a grid leaves.
#include "MosaicTest.h"

#include <string.h>

#include "AfxOle.h"
#include "GridTestSupport.h"

namespace
{

// The codes as the records carry them, signed.
const int kBeginEdit = (int)LVN_BEGINLABELEDITW;
const int kEndEdit = (int)LVN_ENDLABELEDITW;
const int kClick = (int)NM_CLICK;

class GridOwner : public testing::Test
{
protected:
    void SetUp() override
    {
        m_owner.Attach(m_grid, CRect(0, 0, 300, 200), 1089);
        m_owner.m_pGrid = &m_grid;
        m_grid.SetItemText(1, 1, L"12");
        m_grid.SetModified(FALSE);
    }
    void TearDown() override { m_grid.DestroyWindow(); }

    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const auto& n : m_owner.m_notifications)
            codes.push_back(n.nCode);
        return codes;
    }

    CGridOwner m_owner;
    CTestGrid m_grid{ 4, 3, 1, 1 };
};

TEST_F(GridOwner, ATextChangeAsksTheOwnerBeforeAndAfterAndKeepsWhatItAccepts)
{
    const struct
    {
        const char* what;
        LPCWSTR szText;
        int nBeginAnswer, nEndAnswer;
        LRESULT nResult;
        std::vector<int> codes;
        LPCWSTR szAfter;
        BOOL bModified;
    } cases[] = {
        { "accepted", L"34", 0, 0, TRUE, { kBeginEdit, kEndEdit }, L"34", TRUE },
        { "same text", L"12", 0, 0, TRUE, { kBeginEdit }, L"12", FALSE },
        { "refused before", L"34", -1, 0, -1, { kBeginEdit }, L"12", FALSE },
        // A refused text leaves the cell as it was, clean.
        { "refused after", L"34", 0, -1, FALSE, { kBeginEdit, kEndEdit }, L"12",
          FALSE },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_grid.SetItemText(1, 1, L"12");
        m_grid.SetModified(FALSE);
        m_owner.m_notifications.clear();
        m_owner.m_answers[kBeginEdit] = c.nBeginAnswer;
        m_owner.m_answers[kEndEdit] = c.nEndAnswer;
        EXPECT_EQ(c.nResult, m_grid.ChangeCellText(1, 1, c.szText));
        EXPECT_EQ(c.codes, Codes());
        EXPECT_EQ(CString(c.szAfter), m_grid.GetItemText(1, 1));
        EXPECT_EQ(c.bModified, m_grid.GetCell(1, 1)->IsModified());
        EXPECT_EQ(c.bModified, m_grid.GetModified());
        for (const auto& n : m_owner.m_notifications)
        {
            EXPECT_EQ(1, n.nRow);
            EXPECT_EQ(1, n.nCol);
        }
    }
    // The owner saw the new text in the cell when it was asked afterwards.
    m_owner.m_answers.clear();
    m_owner.m_notifications.clear();
    m_grid.ChangeCellText(1, 1, L"56");
    ASSERT_EQ(2u, m_owner.m_notifications.size());
    EXPECT_EQ(CString(L"12"), m_owner.m_notifications[0].strText);
    EXPECT_EQ(CString(L"56"), m_owner.m_notifications[1].strText);

    // Read-only cells and grids refuse without asking.
    m_owner.m_notifications.clear();
    m_grid.SetItemState(2, 2, m_grid.GetItemState(2, 2) | GridCellReadOnly);
    EXPECT_FALSE(m_grid.ChangeCellText(2, 2, L"x"));
    m_grid.SetEditable(FALSE);
    EXPECT_FALSE(m_grid.ChangeCellText(1, 1, L"x"));
    EXPECT_TRUE(m_owner.m_notifications.empty());
}

TEST_F(GridOwner, NotificationsCarryTheControlIdAndGoToTheOwnerBeforeTheParent)
{
    // Answered by whichever window is asked: here a second window set as owner.
    CGridOwner other;
    m_grid.SetOwner(&other);
    other.m_answers[kClick] = 7;
    EXPECT_EQ(7, m_grid.NotifyOwner(2, 1, kClick));
    ASSERT_EQ(1u, other.m_notifications.size());
    EXPECT_EQ(1089u, other.m_notifications[0].nID);
    EXPECT_EQ(m_grid.m_hWnd, other.m_notifications[0].hWndFrom);
    EXPECT_EQ(2, other.m_notifications[0].nRow);
    EXPECT_TRUE(m_owner.m_notifications.empty());
    m_grid.SetOwner(NULL);
    m_owner.m_answers[kClick] = 9;
    EXPECT_EQ(9, m_grid.NotifyOwner(2, 1, kClick));

    // Without a window nothing is sent and the answer is 0; a text change still happens.
    CTestGrid loose(3, 3, 1, 1);
    EXPECT_EQ(0, loose.NotifyOwner(1, 1, kBeginEdit));
    EXPECT_TRUE(loose.ChangeCellText(1, 1, L"x"));
    EXPECT_EQ(CString(L"x"), loose.GetItemText(1, 1));
}

TEST_F(GridOwner, TheOwnersFontBecomesEveryDefaultCellsFont)
{
    LOGFONT lf = {};
    lf.lfHeight = -22;
    lstrcpyW(lf.lfFaceName, L"DejaVu Sans");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    m_grid.SetFont(&font);
    for (BOOL bFixedRow : { FALSE, TRUE })
        for (BOOL bFixedCol : { FALSE, TRUE })
        {
            const CGridDefaultCell* pDefault = m_grid.GetDefaultCell(bFixedRow, bFixedCol);
            ASSERT_NE(nullptr, pDefault->GetFont());
            EXPECT_EQ(-22, pDefault->GetFont()->lfHeight);
        }
    // The grid answers with the normal cells' font, a font of that height.
    HFONT hFont = (HFONT)m_grid.SendMessage(WM_GETFONT);
    EXPECT_EQ(m_grid.GetDefaultCell(FALSE, FALSE)->GetFontObject()->GetSafeHandle(), hFont);
    LOGFONT lfAnswered = {};
    GetObjectW(hFont, sizeof(lfAnswered), &lfAnswered);
    EXPECT_EQ(-22, lfAnswered.lfHeight);
    // Cells with a font of their own keep it.
    LOGFONT lfOwn = lf;
    lfOwn.lfHeight = -10;
    m_grid.SetItemFont(2, 2, &lfOwn);
    m_grid.SetFont(&font);
    EXPECT_EQ(-10, m_grid.GetItemFont(2, 2)->lfHeight);
}

TEST(GridClipboard, TextCopiedFromTheProgramStaysOnTheClipboardWhenAGridGoes)
{
    ASSERT_TRUE(AfxOleInit());
    {
        CTestGrid grid(2, 2, 0, 0);
        const char szText[] = "Rouge\t200";
        HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, sizeof(szText));
        memcpy(GlobalLock(hGlobal), szText, sizeof(szText));
        GlobalUnlock(hGlobal);
        COleDataSource* pSource = new COleDataSource;
        pSource->CacheGlobalData(CF_TEXT, hGlobal);
        pSource->SetClipboard();
        ASSERT_EQ(pSource, COleDataSource::GetClipboardOwner());
    }
    EXPECT_EQ(nullptr, COleDataSource::GetClipboardOwner());
    ASSERT_TRUE(OpenClipboard(NULL));
    HANDLE hData = GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, hData);
    EXPECT_STREQ("Rouge\t200", (const char*)GlobalLock(hData));
    GlobalUnlock(hData);
    CloseClipboard();
}

} // namespace
