// The XML description of the mosaic, written beside the document.
#include "VitrolanDoc.h"

#include "XmlDoc.h"

namespace
{

// The customer's fields in the order of m_clientStrings.
const LPCWSTR kClientElements[8] = {L"NOM",   L"PRENOM", L"ADRESSE",   L"CODE_POSTAL",
                                    L"VILLE", L"PAYS",   L"TELEPHONE", L"EMAIL"};

CString Number(int nValue)
{
    CString strValue;
    strValue.Format(L"%d", nValue);
    return strValue;
}

}   // namespace

void CVitrolanDoc::ExportXml()
{
    // The file is named after the document: without a path it would be a bare ".xml".
    if (m_path.IsEmpty())
        return;
    CXmlDoc xml;
    xml.SetDoc(L"");
    xml.AddElem(L"VITROLAN");
    xml.AddElem(L"VERSION", Number(m_version), CXmlDoc::elemChild);
    xml.AddElem(L"NOM", m_path, CXmlDoc::elemChild);
    xml.AddElem(L"LARGEUR", Number(m_cols), CXmlDoc::elemChild);
    xml.AddElem(L"HAUTEUR", Number(m_rows), CXmlDoc::elemChild);
    xml.AddElem(L"UNITES_DE_MESURE", Number(unites), CXmlDoc::elemChild);
    xml.AddElem(L"UNITES_MONETAIRE", money, CXmlDoc::elemChild);
    xml.AddElem(L"PALETTE", palettefile, CXmlDoc::elemChild);
    xml.AddElem(L"DECALAGE", Number(decalage), CXmlDoc::elemChild);
    xml.OutOfElem();

    xml.AddElem(L"INFORMATIONS_CLIENT", NULL, CXmlDoc::elemChild);
    xml.IntoElem();
    for (int i = 0; i < 8; ++i)
        xml.AddElem(kClientElements[i], m_clientStrings[i], CXmlDoc::elemChild);
    xml.OutOfElem();

    // The committed map: an edit still pending is not part of the mosaic yet.
    xml.AddElem(L"DONNEES", NULL, CXmlDoc::elemChild);
    xml.IntoElem();
    m_committedMap.WriteXml(&xml);
    xml.OutOfElem();

    CString strPath;
    strPath.Format(L"%s.xml", (LPCTSTR)m_path);
    if (!xml.Save(strPath))
        ReportFileNotWritten(strPath, GetLastError());
}
