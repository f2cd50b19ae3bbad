#include "RasterImage.h"

#include <limits.h>

#include "AfxException.h"
#include "AfxString.h"
#include "XmlDoc.h"

void CRasterImage::WriteXml(CXmlDoc* xml) const
{
    if (xml == NULL)
        return;
    const int nBytesPerPixel = type == 1 ? 3 : 1;
    CString strValue;
    strValue.Format(L"%d", type);
    xml->AddElem(L"TYPE", strValue, CXmlDoc::elemChild);
    strValue.Format(L"%d", width * nBytesPerPixel);
    xml->AddElem(L"DIM_HORIZ", strValue, CXmlDoc::elemChild);
    strValue.Format(L"%d", height);
    xml->AddElem(L"DIM_VERT", strValue, CXmlDoc::elemChild);
    strValue.Format(L"%d", (int)size);
    xml->AddElem(L"NB_CARREAUX", strValue, CXmlDoc::elemChild);
    xml->AddElem(L"LISTE_CARREAUX", NULL, CXmlDoc::elemChild);
    xml->IntoElem();
    if (owned == 1 && data != NULL)
    {
        // Every byte as "%d," (at most four characters), written directly: a map of a
        // large mosaic has millions of bytes.
        const ULONGLONG nBytes = (ULONGLONG)size * nBytesPerPixel;
        if (nBytes * 4 >= (ULONGLONG)INT_MAX)
            AfxThrowMemoryException();
        CString strList;
        WCHAR* pOut = strList.GetBuffer((int)(nBytes * 4));
        int k = 0;
        for (ULONGLONG i = 0; i < nBytes; ++i)
        {
            const int v = data[i];
            if (v >= 100)
                pOut[k++] = (WCHAR)('0' + v / 100);
            if (v >= 10)
                pOut[k++] = (WCHAR)('0' + v / 10 % 10);
            pOut[k++] = (WCHAR)('0' + v % 10);
            pOut[k++] = ',';
        }
        strList.ReleaseBuffer(k);
        xml->AddElem(L"CARREAUX", strList, CXmlDoc::elemChild);
    }
    xml->OutOfElem();
}
