// What every test of the XML writer checks on the records it keeps.
#pragma once

#include "MosaicTest.h"

#include "AfxString.h"
#include "XmlDoc.h"

// Every record must frame its element in the text, with links and levels that agree; a
// fault in moving later elements after an insertion shows here.
inline void ExpectRecordsConsistent(const CXmlDoc& xml)
{
    const CString& doc = xml.GetDoc();
    ASSERT_NE(xml.GetRecord(0), nullptr);
    EXPECT_EQ(xml.GetRecord(0)->length, doc.GetLength());
    for (int i = 1; i < xml.GetRecordCount(); ++i)
    {
        SCOPED_TRACE(i);
        const CXmlDoc::ElemRecord* rec = xml.GetRecord(i);
        const CString name = xml.GetTagName(i);
        const CString text = doc.Mid(rec->start, rec->length);
        EXPECT_EQ(text.Left(name.GetLength() + 1), L"<" + name);
        if (rec->EndTagLength() > 0)
        {
            EXPECT_EQ(text.Right(rec->EndTagLength()), L"</" + name + L">");
        }
        else if ((rec->levelFlags & CXmlDoc::recNoEndTag) == 0)
        {
            EXPECT_EQ(text.Right(2), CString(L"/>"));
        }
        EXPECT_EQ(text.Left(rec->StartTagLength()).Right(1), CString(L">"));
        const CXmlDoc::ElemRecord* parent = xml.GetRecord(rec->parent);
        EXPECT_EQ(rec->levelFlags & CXmlDoc::levelMask,
                  (parent->levelFlags & CXmlDoc::levelMask) + 1);
        EXPECT_EQ((rec->levelFlags & CXmlDoc::recFirstChild) != 0, parent->firstChild == i);
        if (rec->next != 0)
        {
            EXPECT_EQ(xml.GetRecord(rec->next)->prev, i);
            EXPECT_GE(xml.GetRecord(rec->next)->start, rec->start + rec->length);
        }
        else
        {
            EXPECT_EQ(xml.GetRecord(parent->firstChild)->prev, i);
        }
    }
}
