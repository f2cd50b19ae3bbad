#include "MosaicTest.h"

#include <memory>
#include <string>
#include <vector>

#include "AfxMsgMap.h"
#include "DocTestFiles.h"
#include "GradientTables.h"
#include "MessageBoxAnswerer.h"
#include "VitrolanDoc.h"

namespace
{

std::vector<int> Row(int nColours, int i)
{
    int row[1 + GradientMaxColours] = {};
    EXPECT_TRUE(GradientRow(nColours, i, row));
    return std::vector<int>(row, row + 1 + nColours);
}

// Every line of every table is a step and shares that add up to 100, none of them below 0,
// also where the lines the shares are read off leave that range.
TEST(GradientTables, EveryStepSharesOutOneHundred)
{
    for (int n = GradientMinColours; n <= GradientMaxColours; ++n)
        for (int i = 1; i <= GradientSteps; ++i)
        {
            const std::vector<int> row = Row(n, i);
            int nSum = 0;
            for (int c = 1; c <= n; ++c)
            {
                EXPECT_GE(row[c], 0) << n << " colours, step " << i;
                nSum += row[c];
            }
            EXPECT_EQ(i, row[0]);
            EXPECT_EQ(100, nSum) << n << " colours, step " << i;
        }
    int row[1 + GradientMaxColours];
    EXPECT_FALSE(GradientRow(1, 1, row));
    EXPECT_FALSE(GradientRow(7, 1, row));
}

// Shares read off the tables' lines by hand (rounded half away from zero), at the ends of
// the parts and where a line runs out of range.
TEST(GradientTables, SharesFollowTheirLinesPartByPart)
{
    const struct
    {
        int colours, i;
        std::vector<int> row;
    } cases[] = {
        {2, 1, {1, 6, 94}},                 // 5.9
        {2, 100, {100, 95, 5}},
        {3, 50, {50, 25, 50, 25}},          // last step of the first part
        {3, 51, {51, 26, 50, 24}},          // 25.7 and 49.7
        {4, 24, {24, 0, 48, 50, 2}},
        {4, 25, {25, 0, 40, 45, 15}},
        {4, 75, {75, 19, 55, 25, 1}},       // 19.375
        {5, 75, {75, 5, 70, 25, 0, 0}},     // the remainder is the second column
        {6, 25, {25, 0, 36, 0, 39, 25, 0}}, // c3 would be -6.25 before its line starts
        {6, 43, {43, 0, 0, 27, 62, 11, 0}}, // 27 + 64 + 11 is over 100: the largest gives 2
        {6, 100, {100, 35, 55, 10, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.row, Row(c.colours, c.i)) << c.colours << " colours, step " << c.i;
}

class GradientFilesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_strFolder = NewTempFolder(L"MosaicGradients");
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        m_doc->m_gradientFolder = m_strFolder;
    }
    void TearDown() override
    {
        m_doc.reset();
        RemoveTree(m_strFolder);
    }
    std::string Text(int nColours) const
    {
        const std::vector<BYTE> bytes = ReadBytes(m_strFolder + GradientTableFileName(nColours));
        return std::string(bytes.begin(), bytes.end());
    }

    CString m_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// Each run adds its hundred lines to what is there; the lines read back as the table.
TEST_F(GradientFilesTest, RunsAppendAHundredLinesToEachTable)
{
    for (int run = 0; run < 2; ++run)
        ASSERT_TRUE(m_doc->OnCmdMsg(CVitrolanDoc::ID_EXPORT_GRADIENTS, CN_COMMAND, NULL, NULL));
    for (int n = GradientMinColours; n <= GradientMaxColours; ++n)
    {
        SCOPED_TRACE(n);
        EXPECT_EQ(CString(L"Gradient") + (WCHAR)(L'0' + n) + L"Couleurs.xls",
                  GradientTableFileName(n));
        const std::string text = Text(n);
        std::vector<std::string> lines;
        for (size_t at = 0; at < text.size();)
        {
            const size_t end = text.find("\r\n", at);
            ASSERT_NE(std::string::npos, end);
            lines.push_back(text.substr(at, end - at));
            at = end + 2;
        }
        ASSERT_EQ(200u, lines.size());
        for (int i = 1; i <= GradientSteps; ++i)
        {
            std::string expected;
            for (int value : Row(n, i))
                expected += (expected.empty() ? "" : "\t") + std::to_string(value);
            EXPECT_EQ(expected, lines[i - 1]);
            EXPECT_EQ(expected, lines[i - 1 + GradientSteps]);
        }
    }
    EXPECT_EQ(0u, Text(2).find("1\t6\t94\r\n"));
}

// Without the folder nothing is written, and that is said once.
TEST_F(GradientFilesTest, AMissingFolderIsReportedOnce)
{
    m_doc->m_gradientFolder = m_strFolder + L"missing\\";
    MessageBoxAnswerer answerer;
    EXPECT_FALSE(m_doc->WriteGradientTables());
    EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(L"Gradient2Couleurs.xls"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_strFolder + L"missing"));
}

}   // namespace
