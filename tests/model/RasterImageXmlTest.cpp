// The cell map's tile list in the XML export, as the XML writer frames it and a real XML
// reader reads it back.
#include "MosaicTest.h"

#include <stdio.h>

#include <string>

#include "AfxPath.h"
#include "AfxString.h"
#include "RasterImage.h"
#include "XmlDoc.h"
#include "text/TextTestFiles.h"
#include "text/XmlRecords.h"

namespace
{

const int kChild = CXmlDoc::elemChild;

std::string RunCommand(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "(popen failed)";
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    pclose(pipe);
    return out;
}

} // namespace

TEST(XmlDocWriter, TileListOfCellMap)
{
    CRasterImage map;
    map.Create(0, 8, 4);   // 2 x 1 cells
    map.data[0] = 0;
    map.data[1] = 5;
    map.data[2] = 255;
    map.data[3] = 16;
    map.data[31] = 7;
    CXmlDoc xml;
    xml.SetDoc(L"");
    xml.AddElem(L"DONNEES");
    map.WriteXml(&xml);
    ASSERT_TRUE(xml.AddElem(L"END", NULL, kChild));   // positions are back on DONNEES
    map.Free();
    EXPECT_EQ(xml.GetDoc(),
              CString(L"<DONNEES>\r\n<TYPE>0</TYPE>\r\n<DIM_HORIZ>8</DIM_HORIZ>\r\n"
                      L"<DIM_VERT>4</DIM_VERT>\r\n<NB_CARREAUX>32</NB_CARREAUX>\r\n"
                      L"<LISTE_CARREAUX>\r\n<CARREAUX>0,5,255,16,0,0,0,0,0,0,0,0,0,0,0,0,"
                      L"0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,7,</CARREAUX>\r\n"
                      L"</LISTE_CARREAUX>\r\n<END/>\r\n</DONNEES>\r\n"));
    ExpectRecordsConsistent(xml);

    // A buffer the image does not own is not listed.
    BYTE borrowed[3] = {1, 2, 3};
    CRasterImage view;
    view.data = borrowed;
    view.owned = 0;
    view.type = 1;
    view.width = 1;
    view.height = 1;
    view.size = 1;
    CXmlDoc other;
    other.SetDoc(L"");
    other.AddElem(L"D");
    view.WriteXml(&other);
    EXPECT_EQ(other.GetDoc(),
              CString(L"<D>\r\n<TYPE>1</TYPE>\r\n<DIM_HORIZ>3</DIM_HORIZ>\r\n"
                      L"<DIM_VERT>1</DIM_VERT>\r\n<NB_CARREAUX>1</NB_CARREAUX>\r\n"
                      L"<LISTE_CARREAUX/>\r\n</D>\r\n"));
}

// The export's shape, with awkward customer texts, read back by a real XML reader.
TEST(XmlDocWriter, SavedExportIsAcceptedByXmllint)
{
    CTempFolder folder;
    CXmlDoc xml;
    xml.SetDoc(L"");
    xml.AddElem(L"VITROLAN");
    xml.AddElem(L"VERSION", L"12", kChild);
    xml.AddElem(L"NOM", L"C:\\Mosa\x00EFques\\a&b <1>.ms2", kChild);
    EXPECT_FALSE(xml.OutOfElem());
    xml.AddElem(L"INFORMATIONS_CLIENT", NULL, kChild);
    ASSERT_TRUE(xml.IntoElem());
    xml.AddElem(L"NOM", L"O'Brien \"Jr\" ]]> \x0007 \x4E2D\xD83D\xDE00", kChild);
    xml.AddElem(L"EMAIL", L"", kChild);
    ASSERT_TRUE(xml.OutOfElem());
    xml.AddElem(L"DONNEES", NULL, kChild);
    ASSERT_TRUE(xml.IntoElem());
    CRasterImage map;
    map.Create(0, 4, 4);
    map.data[5] = 200;
    map.WriteXml(&xml);
    map.Free();
    ASSERT_TRUE(xml.OutOfElem());
    ExpectRecordsConsistent(xml);

    const CString path = folder.Path(L"export.ms2.xml");
    ASSERT_TRUE(xml.Save(path));
    const std::string unixPath = AfxGetUnixPath(path).GetString();
    ASSERT_FALSE(unixPath.empty());
    EXPECT_EQ(RunCommand("xmllint --noout '" + unixPath + "' 2>&1; echo rc=$?"), "rc=0\n");
    EXPECT_EQ(RunCommand("xmllint --xpath 'string(/VITROLAN/INFORMATIONS_CLIENT/NOM)' '" +
                         unixPath + "' 2>&1"),
              "O'Brien \"Jr\" ]]> ? \xE4\xB8\xAD\xF0\x9F\x98\x80\n");
    EXPECT_EQ(RunCommand("xmllint --xpath 'string(/VITROLAN/NOM)' '" + unixPath + "' 2>&1"),
              "C:\\Mosa\xC3\xAFques\\a&b <1>.ms2\n");
    EXPECT_EQ(RunCommand("xmllint --xpath 'count(/VITROLAN/*)' '" + unixPath + "' 2>&1"),
              "4\n");
    EXPECT_EQ(RunCommand("xmllint --xpath 'string(//CARREAUX)' '" + unixPath + "' 2>&1"),
              "0,0,0,0,0,200,0,0,0,0,0,0,0,0,0,0,\n");
}
