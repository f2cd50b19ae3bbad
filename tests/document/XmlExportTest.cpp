#include "MosaicTest.h"

#include <memory>
#include <string>
#include <vector>

#include "AfxPath.h"
#include "DocTestFiles.h"
#include "MessageBoxAnswerer.h"
#include "WriteFailures.h"
#include "output/PdfChecks.h"
#include "VitrolanDoc.h"
#include "XmlDoc.h"

namespace
{

// The path quoted for the shell, apostrophes included.
std::string ShellQuoted(const CString& strPath)
{
    const CStringA strUnix = AfxGetUnixPath(strPath);
    std::string quoted = "'";
    for (const char* p = strUnix.GetString(); *p != 0; ++p)
        quoted += *p == '\'' ? std::string("'\\''") : std::string(1, *p);
    return quoted + "'";
}

std::string Utf8(const CString& strText)
{
    return CXmlDoc::Utf16ToUtf8(strText).GetString();
}

class XmlExportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_strFolder = NewTempFolder(L"Mosa\u00EFque xml ");
        m_doc.reset(new CVitrolanDoc);
        m_doc->m_bAutoDelete = FALSE;
        CVitrolanDoc& doc = *m_doc;
        doc.m_path = m_strFolder + L"Jardin d'\u00E9t\u00E9.ms2";
        doc.m_version = 39;
        doc.m_cols = 2;
        doc.m_rows = 1;
        doc.unites = 1;
        doc.money = L"Euros & \u20AC";
        doc.palettefile = L"Emaux <Harmonies>.pal";
        doc.decalage = 1;
        const LPCWSTR clients[8] = {L"Dupont", L"J\u00E9r\u00F4me", L"1 rue \"Haute\"",
                                    L"75001", L"Paris", L"France", L"+33 1 23", L""};
        for (int i = 0; i < 8; ++i)
            doc.m_clientStrings[i] = clients[i];
        doc.m_committedMap.Create(0, 8, 4);
        doc.m_workingMap.Create(0, 8, 4);
        for (int i = 0; i < 32; ++i)
        {
            doc.m_committedMap.data[i] = (BYTE)(i * 8);
            doc.m_workingMap.data[i] = 7;   // an edit not settled yet
        }
    }
    void TearDown() override
    {
        m_doc.reset();
        RemoveTree(m_strFolder);
    }

    CString XmlPath() const { return m_doc->m_path + L".xml"; }
    std::string XPath(const std::string& expression) const
    {
        return RunCommand("xmllint --xpath '" + expression + "' " + ShellQuoted(XmlPath()) +
                          " 2>&1");
    }

    CString m_strFolder;
    std::unique_ptr<CVitrolanDoc> m_doc;
};

// The file reads back, with a real XML reader, as what the mosaic holds.
TEST_F(XmlExportTest, ValuesReadBackAsTheMosaicHoldsThem)
{
    m_doc->ExportXml();
    ASSERT_EQ("rc=0\n",
              RunCommand("xmllint --noout " + ShellQuoted(XmlPath()) + " 2>&1; echo rc=$?"));

    const CVitrolanDoc& doc = *m_doc;
    std::string cells;
    for (int i = 0; i < 32; ++i)
        cells += std::to_string(doc.m_committedMap.data[i]) + ",";
    const struct
    {
        const char* xpath;
        std::string value;
    } cases[] = {
        {"string(/VITROLAN/VERSION)", std::to_string(doc.m_version)},
        {"string(/VITROLAN/NOM)", Utf8(doc.m_path)},
        {"string(/VITROLAN/LARGEUR)", std::to_string(doc.m_cols)},
        {"string(/VITROLAN/HAUTEUR)", std::to_string(doc.m_rows)},
        {"string(/VITROLAN/UNITES_DE_MESURE)", std::to_string(doc.unites)},
        {"string(/VITROLAN/UNITES_MONETAIRE)", Utf8(doc.money)},
        {"string(/VITROLAN/PALETTE)", Utf8(doc.palettefile)},
        {"string(/VITROLAN/DECALAGE)", std::to_string(doc.decalage)},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/NOM)", Utf8(doc.m_clientStrings[0])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/PRENOM)", Utf8(doc.m_clientStrings[1])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/ADRESSE)", Utf8(doc.m_clientStrings[2])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/CODE_POSTAL)", Utf8(doc.m_clientStrings[3])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/VILLE)", Utf8(doc.m_clientStrings[4])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/PAYS)", Utf8(doc.m_clientStrings[5])},
        {"string(/VITROLAN/INFORMATIONS_CLIENT/TELEPHONE)", Utf8(doc.m_clientStrings[6])},
        {"count(/VITROLAN/INFORMATIONS_CLIENT/EMAIL)", "1"},
        {"string(/VITROLAN/DONNEES/TYPE)", "0"},
        {"string(/VITROLAN/DONNEES/DIM_HORIZ)", std::to_string(4 * doc.m_cols)},
        {"string(/VITROLAN/DONNEES/DIM_VERT)", std::to_string(4 * doc.m_rows)},
        {"string(/VITROLAN/DONNEES/NB_CARREAUX)", "32"},
        {"string(/VITROLAN/DONNEES/LISTE_CARREAUX/CARREAUX)", cells},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value + "\n", XPath(c.xpath)) << c.xpath;
}

// One element a line, in the order readers expect, with no declaration or byte order mark
// before the root; an empty customer field is an empty-element tag.
TEST_F(XmlExportTest, ElementsComeOneALineInTheirOrder)
{
    m_doc->ExportXml();
    const std::vector<BYTE> bytes = ReadBytes(XmlPath());
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_EQ(0u, text.find("<VITROLAN>\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\n<EMAIL/>\r\n"));

    std::vector<std::string> starts;
    size_t at = 0;
    while (at < text.size())
    {
        const size_t end = text.find("\r\n", at);
        ASSERT_NE(std::string::npos, end) << "every line ends in CR LF";
        const std::string line = text.substr(at, end - at);
        if (line.compare(0, 2, "</") != 0)
            starts.push_back(line.substr(1, line.find_first_of(">/") - 1));
        at = end + 2;
    }
    const std::vector<std::string> expected = {
        "VITROLAN", "VERSION", "NOM", "LARGEUR", "HAUTEUR", "UNITES_DE_MESURE",
        "UNITES_MONETAIRE", "PALETTE", "DECALAGE", "INFORMATIONS_CLIENT", "NOM", "PRENOM",
        "ADRESSE", "CODE_POSTAL", "VILLE", "PAYS", "TELEPHONE", "EMAIL", "DONNEES", "TYPE",
        "DIM_HORIZ", "DIM_VERT", "NB_CARREAUX", "LISTE_CARREAUX", "CARREAUX"};
    EXPECT_EQ(expected, starts);
}

// A longer file of an earlier export is replaced whole; a file that cannot be written is
// reported by its name and the earlier one stays whole; a document without a path writes
// none.
TEST_F(XmlExportTest, ReplacesAnEarlierFileAndReportsAnUnwritableOne)
{
    const std::string stale(100000, 'x');
    WriteBytes(XmlPath(), stale.data(), (DWORD)stale.size());
    m_doc->ExportXml();
    EXPECT_EQ("rc=0\n",
              RunCommand("xmllint --noout " + ShellQuoted(XmlPath()) + " 2>&1; echo rc=$?"));

    // A disk that takes no more than a few bytes of it: the earlier file stays.
    const std::vector<BYTE> written = ReadBytes(XmlPath());
    m_doc->m_committedMap.Create(0, 800, 400);
    {
        MessageBoxAnswerer report;
        {
            FullDisk full(4096);
            m_doc->ExportXml();
        }
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
        EXPECT_NE(-1, MessageBoxAnswerer::s_strText.Find(L".ms2.xml"));
    }
    EXPECT_EQ(written, ReadBytes(XmlPath()));

    m_doc->m_path = m_strFolder + L"missing folder\\a.ms2";
    {
        MessageBoxAnswerer report;
        m_doc->ExportXml();
        EXPECT_EQ(1, MessageBoxAnswerer::s_nCount);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(XmlPath()));

    WCHAR szPrevious[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, szPrevious);
    ASSERT_TRUE(SetCurrentDirectoryW(m_strFolder));
    m_doc->m_path.Empty();
    m_doc->ExportXml();
    SetCurrentDirectoryW(szPrevious);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(m_strFolder + L".xml"));
}

}   // namespace
