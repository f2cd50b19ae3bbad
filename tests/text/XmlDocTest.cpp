#include "MosaicTest.h"

#include <string>

#include "AfxString.h"
#include "TextTestFiles.h"
#include "WriteFailures.h"
#include "XmlDoc.h"
#include "XmlRecords.h"

namespace
{

const int kChild = CXmlDoc::elemChild;

TEST(XmlDocWriter, SequenceOfElementsGivesExactText)
{
    CXmlDoc xml;
    xml.SetDoc(L"");
    ASSERT_TRUE(xml.AddElem(L"R"));
    ASSERT_TRUE(xml.AddElem(L"S", L"x", kChild));
    ASSERT_TRUE(xml.AddElem(L"T", NULL, kChild));
    EXPECT_EQ(xml.GetDoc(), CString(L"<R>\r\n<S>x</S>\r\n<T/>\r\n</R>\r\n"));
    ExpectRecordsConsistent(xml);

    // Into T (an empty-element tag), a grandchild; out again, and a last child of R.
    ASSERT_TRUE(xml.IntoElem());
    ASSERT_TRUE(xml.IntoElem());
    ASSERT_TRUE(xml.AddElem(L"U", L"1"));
    ASSERT_TRUE(xml.AddElem(L"V", L"2"));
    ASSERT_TRUE(xml.OutOfElem());
    ASSERT_TRUE(xml.OutOfElem());
    EXPECT_FALSE(xml.OutOfElem());
    ASSERT_TRUE(xml.AddElem(L"W", L"", kChild));
    EXPECT_EQ(xml.GetDoc(),
              CString(L"<R>\r\n<S>x</S>\r\n<T>\r\n<U>1</U>\r\n<V>2</V>\r\n</T>\r\n<W/>\r\n</R>\r\n"));
    ExpectRecordsConsistent(xml);
    EXPECT_EQ(xml.GetTagName(1), CString(L"R"));
    EXPECT_EQ(xml.GetTagName(4), CString(L"U"));
}

TEST(XmlDocWriter, RecordLengthsAndPositions)
{
    CXmlDoc xml;
    xml.SetDoc(L"");
    ASSERT_TRUE(xml.AddElem(L"ABC", L"10"));
    const CXmlDoc::ElemRecord* rec = xml.GetRecord(1);
    EXPECT_EQ(rec->start, 0);
    EXPECT_EQ(rec->length, 13);
    EXPECT_EQ(rec->StartTagLength(), 5);
    EXPECT_EQ(rec->EndTagLength(), 6);
    EXPECT_EQ(rec->levelFlags, 1 | CXmlDoc::recFirstChild);

    // Inserting before a later sibling and first among the children moves what follows.
    CXmlDoc tree;
    tree.SetDoc(L"");
    tree.AddElem(L"R");
    tree.AddElem(L"A", L"a", kChild);
    tree.AddElem(L"C", L"c", kChild);
    ASSERT_TRUE(tree.AddElem(L"B", L"b", kChild | CXmlDoc::elemBefore));
    ASSERT_TRUE(tree.AddElem(L"Z", NULL, kChild | CXmlDoc::elemFirst));
    EXPECT_EQ(tree.GetDoc(),
              CString(L"<R>\r\n<Z/>\r\n<A>a</A>\r\n<B>b</B>\r\n<C>c</C>\r\n</R>\r\n"));
    ExpectRecordsConsistent(tree);
}

TEST(XmlDocWriter, FlagsAndRefusals)
{
    struct Case
    {
        int flags;
        LPCWSTR text;
        BOOL added;
        LPCWSTR doc;   // after adding N under the root P
    };
    const Case cases[] = {
        {kChild | CXmlDoc::elemSpaceSlash, NULL, TRUE, L"<P>\r\n<N />\r\n</P>\r\n"},
        {kChild | CXmlDoc::elemNoEndTag, L"", TRUE, L"<P>\r\n<N>\r\n</P>\r\n"},
        {kChild | CXmlDoc::elemNoEndTag, L"t", FALSE, L"<P/>\r\n"},
        {kChild | CXmlDoc::elemNoLineBreak, L"t", TRUE, L"<P>\r\n<N>t</N></P>\r\n"},
        {kChild | CXmlDoc::elemCData, L"a]]>b<", TRUE,
         L"<P>\r\n<N><![CDATA[a]]]]><![CDATA[>b<]]></N>\r\n</P>\r\n"},
        {kChild | CXmlDoc::elemKeepRefs, L"&amp; & x &#233; &a b;", TRUE,
         L"<P>\r\n<N>&amp; &amp; x &#233; &amp;a b;</N>\r\n</P>\r\n"},
        {kChild | CXmlDoc::elemEscapeQuotes, L"'\"", TRUE,
         L"<P>\r\n<N>&apos;&quot;</N>\r\n</P>\r\n"},
        {kChild, L"'\"", TRUE, L"<P>\r\n<N>'\"</N>\r\n</P>\r\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.flags);
        CXmlDoc xml;
        xml.SetDoc(L"");
        ASSERT_TRUE(xml.AddElem(L"P"));
        EXPECT_EQ(xml.AddElem(L"N", c.text, c.flags), c.added);
        EXPECT_EQ(xml.GetDoc(), CString(c.doc));
        ExpectRecordsConsistent(xml);
    }

    // A parent written " />" or without end tag still takes children.
    for (int parentFlags : {(int)CXmlDoc::elemSpaceSlash, (int)CXmlDoc::elemNoEndTag})
    {
        CXmlDoc xml;
        xml.SetDoc(L"");
        ASSERT_TRUE(xml.AddElem(L"P", NULL, parentFlags));
        ASSERT_TRUE(xml.AddElem(L"C", NULL, kChild));
        EXPECT_EQ(xml.GetDoc(), CString(L"<P>\r\n<C/>\r\n</P>\r\n"));
        ExpectRecordsConsistent(xml);
    }

    CXmlDoc xml;
    xml.SetDoc(L"");
    EXPECT_FALSE(xml.AddElem(L"N", L"t", kChild));    // no current element
    EXPECT_FALSE(xml.IntoElem());
    for (LPCWSTR bad : {L"", L"1A", L"A B", L"A<", L"A&B", L"A/"})
        EXPECT_FALSE(xml.AddElem(bad)) << CString(bad);
    EXPECT_FALSE(xml.AddElem(CString(L'N', 1021)));   // its end tag would not fit
    ASSERT_TRUE(xml.AddElem(L"\x00C9t\x00E9"));
    EXPECT_FALSE(xml.AddElem(L"SECOND"));              // a second root
    EXPECT_EQ(xml.GetDoc(), CString(L"<\x00C9t\x00E9/>\r\n"));
}

TEST(XmlDocWriter, EscapesMarkupAndCharactersXmlCannotHold)
{
    EXPECT_EQ(CXmlDoc::EscapeText(L"a<b & c>d", 0), CString(L"a&lt;b &amp; c&gt;d"));
    EXPECT_EQ(CXmlDoc::EscapeText(L"&amp;&#x41;&", CXmlDoc::elemKeepRefs),
              CString(L"&amp;&#x41;&amp;"));
    EXPECT_EQ(CXmlDoc::EscapeText(L"&amp;", 0), CString(L"&amp;amp;"));
    EXPECT_EQ(CXmlDoc::EscapeText(L"a\x0001\tb\r\n\x001F\xFFFF", 0), CString(L"a?\tb\r\n??"));
    // A pair stays, a surrogate without partner is replaced.
    EXPECT_EQ(CXmlDoc::EscapeText(L"\xD83D\xDE00\xDE00x\xD83D", 0),
              CString(L"\xD83D\xDE00?x?"));
    EXPECT_EQ(CXmlDoc::EncodeCData(L"]]>]]>"),
              CString(L"<![CDATA[]]]]><![CDATA[>]]]]><![CDATA[>]]>"));
    EXPECT_EQ(CXmlDoc::EncodeCData(L"a\x0002"), CString(L"<![CDATA[a?]]>"));

    EXPECT_EQ(CXmlDoc::Utf16ToUtf8(L"A\x00E9\x20AC\xD83D\xDE00"),
              CStringA("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_EQ(CXmlDoc::Utf16ToUtf8(L"\xDE00" L"A\xD83D" L"B\xD83D"), CStringA("?A?B?"));
}

TEST(XmlDocWriter, SavesUtf8WithoutByteOrderMark)
{
    CTempFolder folder;
    CXmlDoc xml;
    xml.SetDoc(L"");
    ASSERT_TRUE(xml.AddElem(L"N", L"\x00E9<\x20AC\xD83D\xDE00"));
    const CString path = folder.Path(L"small.xml");
    ASSERT_TRUE(xml.Save(path));
    EXPECT_EQ(folder.ReadBytes(L"small.xml"),
              std::string("<N>\xC3\xA9&lt;\xE2\x82\xAC\xF0\x9F\x98\x80</N>\r\n"));
    EXPECT_EQ(xml.GetResult(), CString(L"17 wide chars to 22 bytes"));

    CXmlDoc empty;
    empty.SetDoc(NULL);
    EXPECT_EQ(empty.GetResult(), CString(L"Empty document"));
    folder.WriteBytes(L"empty.xml", "old content");
    ASSERT_TRUE(empty.Save(folder.Path(L"empty.xml")));
    EXPECT_EQ(folder.ReadBytes(L"empty.xml"), std::string());
    EXPECT_EQ(empty.GetResult(), CString(L"0 wide chars to 0 bytes"));

    EXPECT_FALSE(xml.Save(folder.Path(L"missing\\folder\\x.xml")));
    EXPECT_FALSE(xml.GetResult().IsEmpty());
    EXPECT_EQ(xml.GetResult().FindOneOf(L"\r\n"), -1);
}

// A save that fails on the way leaves the earlier file whole and says so.
TEST(XmlDocWriter, AFailedSaveLeavesTheEarlierFile)
{
    CTempFolder folder;
    folder.WriteBytes(L"plan.xml", "<EARLIER/>\r\n");
    CXmlDoc xml;
    xml.SetDoc(L"");
    xml.AddElem(L"VITROLAN");
    for (int i = 0; i < 2000; i++)
        xml.AddElem(L"CARREAUX", L"0,1,2,3,4,5,6,7,8,9,", CXmlDoc::elemChild);
    BOOL bSaved = TRUE;
    DWORD dwError = NO_ERROR;
    {
        FullDisk full(4096);
        bSaved = xml.Save(folder.Path(L"plan.xml"));
        dwError = GetLastError();
    }
    EXPECT_FALSE(bSaved);
    EXPECT_NE((DWORD)NO_ERROR, dwError);
    EXPECT_NE(-1, xml.GetResult().Find(L"plan.xml")) << CStringA(xml.GetResult()).GetString();
    EXPECT_EQ(folder.ReadBytes(L"plan.xml"), std::string("<EARLIER/>\r\n"));
}

// Record numbers carry the page in their high bits: crossing into the second page must keep
// links and offsets.
TEST(XmlDocWriter, RecordTableGrowsPastOnePage)
{
    CXmlDoc xml;
    xml.SetDoc(L"");
    xml.AddElem(L"R");
    const int nChildren = 0x10000 + 10;
    for (int i = 0; i < nChildren; ++i)
        ASSERT_TRUE(xml.AddElem(L"E", NULL, kChild));
    ASSERT_EQ(xml.GetRecordCount(), nChildren + 2);
    const CXmlDoc::ElemRecord* last = xml.GetRecord(nChildren + 1);
    EXPECT_EQ(last->start, 5 + 6 * (nChildren - 1));
    EXPECT_EQ(xml.GetRecord(0x10000)->next, 0x10001);
    EXPECT_EQ(xml.GetRecord(0x10001)->prev, 0x10000);
    EXPECT_EQ(xml.GetRecord(2)->prev, nChildren + 1);
    EXPECT_EQ(xml.GetDoc().Right(12), CString(L"<E/>\r\n</R>\r\n"));
    EXPECT_EQ(xml.GetRecord(1)->length, 5 + 6 * nChildren + 4);
}

TEST(XmlDocParser, ResultsAndMessages)
{
    struct Case
    {
        LPCWSTR text;
        BOOL ok;
        LPCWSTR result;
    };
    const Case cases[] = {
        {NULL, FALSE, L"Empty document"},
        {L"", FALSE, L"Empty document"},
        {L"<R><S/>text &amp; more</R>", TRUE, L""},
        {L"<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<!DOCTYPE R [<!ELEMENT R ANY>]>\r\n"
         L"<R a=\"1\" b = 'x>y'><![CDATA[<x>]]></R>\r\n",
         TRUE, L""},
        {L"just text", FALSE, L"No root element"},
        {L"<A/><B/>", FALSE, L"Root element has sibling"},
        {L"</A>", FALSE, L"No start tag for end tag 'A' at offset 0, No root element"},
        {L"<A><B></A>", FALSE,
         L"End tag 'A' at offset 6 does not match start tag 'B' at offset 3"},
        {L"<A><B>", FALSE,
         L"Element 'A' at offset 0 not ended, Element 'B' at offset 3 not ended"},
        {L"<A>< b</A>", FALSE, L"Incorrect tag name character at offset 4"},
        {L"<A b=1/>", FALSE, L"Incorrect Element tag at offset 0"},
        {L"<A b='1'c='2'/>", FALSE, L"Incorrect Element tag at offset 0"},
        {L"<A><!-x--></A>", FALSE, L"Incorrect comment tag at offset 3"},
        {L"<A><!FOO></A>", FALSE, L"Incorrect ! tag at offset 3"},
        {L"<A></A x>", FALSE, L"Incorrect Element end tag at offset 3"},
        {L"<A", FALSE, L"Element tag at offset 0 unterminated, No root element"},
        {L"<A></A", FALSE, L"Element end tag at offset 3 unterminated, "
                           L"Element 'A' at offset 0 not ended"},
        {L"<A><!-- x</A>", FALSE,
         L"Comment at offset 3 unterminated, Element 'A' at offset 0 not ended"},
        {L"<A><![CDATA[x</A>", FALSE,
         L"CDATA Section at offset 3 unterminated, Element 'A' at offset 0 not ended"},
        {L"<A><?pi x</A>", FALSE,
         L"Processing instruction at offset 3 unterminated, Element 'A' at offset 0 not ended"},
        {L"<!DOCTYPE A [ <!ENTITY e '>'> ", FALSE,
         L"Doctype at offset 0 unterminated, No root element"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(CStringA(CString(c.text)).GetString());
        CXmlDoc xml;
        EXPECT_EQ(xml.SetDoc(c.text), c.ok);
        EXPECT_EQ(xml.GetResult(), CString(c.result));
        EXPECT_EQ(xml.GetDoc(), CString(c.text));
        EXPECT_FALSE(xml.IntoElem());   // positions are cleared
        EXPECT_EQ((xml.GetRecord(0)->levelFlags & CXmlDoc::recIllFormed) != 0,
                  c.result[0] != 0 && lstrcmpW(c.result, L"Empty document") != 0 &&
                      lstrcmpW(c.result, L"No root element") != 0);
    }
}

// A parsed text gets the same records as the one the writer built.
TEST(XmlDocParser, RecordsMatchTheWriters)
{
    CXmlDoc built;
    built.SetDoc(L"");
    built.AddElem(L"R");
    built.AddElem(L"S", L"x", kChild);
    built.AddElem(L"T", NULL, kChild);
    ASSERT_TRUE(built.IntoElem());
    ASSERT_TRUE(built.IntoElem());
    built.AddElem(L"U", L"y");

    CXmlDoc parsed;
    ASSERT_TRUE(parsed.SetDoc(built.GetDoc()));
    ASSERT_EQ(parsed.GetRecordCount(), built.GetRecordCount());
    for (int i = 0; i < built.GetRecordCount(); ++i)
    {
        SCOPED_TRACE(i);
        const CXmlDoc::ElemRecord* a = built.GetRecord(i);
        const CXmlDoc::ElemRecord* b = parsed.GetRecord(i);
        EXPECT_EQ(a->start, b->start);
        EXPECT_EQ(a->length, b->length);
        EXPECT_EQ(a->tagLengths, b->tagLengths);
        EXPECT_EQ(a->levelFlags, b->levelFlags);
        EXPECT_EQ(a->parent, b->parent);
        EXPECT_EQ(a->firstChild, b->firstChild);
        EXPECT_EQ(a->next, b->next);
        EXPECT_EQ(a->prev, b->prev);
        EXPECT_EQ(built.GetTagName(i), parsed.GetTagName(i));
    }
    ExpectRecordsConsistent(parsed);

    // A parsed document takes no second root; an empty one takes its first.
    EXPECT_FALSE(parsed.AddElem(L"X"));
    ASSERT_FALSE(parsed.SetDoc(L"<!-- only -->"));
    ASSERT_TRUE(parsed.AddElem(L"X"));
    EXPECT_EQ(parsed.GetDoc(), CString(L"<!-- only --><X/>\r\n"));
}

} // namespace
