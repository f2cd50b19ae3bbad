#include "MosaicTest.h"

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxObject.h"
#include "AfxString.h"

#include <string.h>

#include <utility>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;

// ---- Fixtures ------------------------------------------------------------------------

// A node of a graph; it does not own its neighbour, so cycles are allowed.
class CArcNode : public CObject
{
    DECLARE_SERIAL(CArcNode)
public:
    CArcNode() { ++s_nLive; }
    ~CArcNode() override { --s_nLive; }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_nValue << m_pNext;
        else
            ar >> m_nValue >> m_pNext;
    }

    int m_nValue = 0;
    CArcNode* m_pNext = NULL;
    static int s_nLive;
};
int CArcNode::s_nLive = 0;
IMPLEMENT_SERIAL(CArcNode, CObject, 1)

class CArcOther : public CObject
{
    DECLARE_SERIAL(CArcOther)
public:
    CArcOther() {}
};
IMPLEMENT_SERIAL(CArcOther, CObject, 1)

// Accepts any stored schema and records what GetObjectSchema gives, twice.
class CArcVersioned : public CObject
{
    DECLARE_SERIAL(CArcVersioned)
public:
    CArcVersioned() {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
        {
            m_nFirst = ar.GetObjectSchema();
            m_nSecond = ar.GetObjectSchema();
        }
    }
    UINT m_nFirst = 0;
    UINT m_nSecond = 0;
};
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 3)

class CArcNotSerial : public CObject
{
    DECLARE_DYNCREATE(CArcNotSerial)
public:
    CArcNotSerial() {}
};
IMPLEMENT_DYNCREATE(CArcNotSerial, CObject)

// A memory file that remembers the largest read asked of it, and can pretend not to know
// its length.
class CWatchedMemFile : public CMemFile
{
public:
    CWatchedMemFile(BYTE* pData, UINT nSize, bool bLengthKnown)
        : CMemFile(pData, nSize), m_bLengthKnown(bLengthKnown)
    {
    }
    UINT Read(void* lpBuf, UINT nCount) override
    {
        if (nCount > m_nLargestRead)
            m_nLargestRead = nCount;
        return CMemFile::Read(lpBuf, nCount);
    }
    ULONGLONG GetLength() const override
    {
        if (!m_bLengthKnown)
            AfxThrowNotSupportedException();
        return CMemFile::GetLength();
    }
    UINT m_nLargestRead = 0;
    bool m_bLengthKnown;
};

template <class F>
Bytes Stored(F write, int nBufSize = 4096)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        write(ar);
        ar.Close();
    }
    Bytes bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

// An archive that loads the given bytes.
struct Loader
{
    explicit Loader(Bytes bytes, int nBufSize = 4096)
        : data(std::move(bytes)), file(data.data(), (UINT)data.size()),
          ar(&file, CArchive::load, nBufSize)
    {
    }
    Bytes data;
    CMemFile file;
    CArchive ar;
};

// The cause of the CArchiveException that the call throws, or -1 when it throws none.
template <class F>
int ArchiveCause(F call)
{
    try
    {
        call();
    }
    catch (CArchiveException* e)
    {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
}

// Byte images written by hand, as a damaged or foreign file would hold them.
struct Image
{
    Bytes bytes;
    Image& Byte(BYTE b) { bytes.push_back(b); return *this; }
    Image& Word(WORD w) { return Byte(LOBYTE(w)).Byte(HIBYTE(w)); }
    Image& Dword(DWORD d) { return Word(LOWORD(d)).Word(HIWORD(d)); }
    Image& Qword(ULONGLONG q) { return Dword((DWORD)q).Dword((DWORD)(q >> 32)); }
    Image& Text(const char* psz) { while (*psz) Byte((BYTE)*psz++); return *this; }
    Image& NewClass(WORD wSchema, const char* pszName)
    {
        return Word(0xFFFF).Word(wSchema).Word((WORD)strlen(pszName)).Text(pszName);
    }
};

CString Repeated(WCHAR ch, int n)
{
    return n == 0 ? CString() : CString(ch, n);
}

// ---- Strings -------------------------------------------------------------------------

TEST(Archive, StringIsWrittenInTheUnicodeFormWithEscalatingLength)
{
    struct Case
    {
        int nLength;
        Bytes header;
    } cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nLength);
        // 'A' then U+00E9 repeated, so that both bytes of a unit show their order.
        CString str = Repeated(L'A', c.nLength);
        for (int i = 1; i < c.nLength; i += 2)
            str.SetAt(i, 0x00E9);
        Bytes bytes = Stored([&](CArchive& ar) { ar << str; });

        ASSERT_EQ(bytes.size(), c.header.size() + 2 * (size_t)c.nLength);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + c.header.size()), c.header);
        if (c.nLength >= 2)
        {
            size_t n = c.header.size();
            EXPECT_EQ(Bytes(bytes.begin() + n, bytes.begin() + n + 4),
                      (Bytes{0x41, 0x00, 0xE9, 0x00}));
        }

        Loader loader(bytes);
        CString strRead = L"old";
        loader.ar >> strRead;
        EXPECT_EQ(strRead, str);
        EXPECT_TRUE(loader.ar.IsBufferEmpty());
    }
}

TEST(Archive, StringKeepsEmbeddedNullsAndAnyUnits)
{
    CString str(L"a\0b\xD83D\xDE00", 5);
    CString strRead;
    Loader(Stored([&](CArchive& ar) { ar << str; })).ar >> strRead;
    EXPECT_EQ(strRead.GetLength(), 5);
    EXPECT_EQ(strRead, str);
}

TEST(Archive, AnsiStringFormIsReadInTheAnsiCodePage)
{
    WCHAR chAccented = 0;
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, &chAccented, 1), 1);
    if (GetACP() == 1252)
    {
        EXPECT_EQ(chAccented, (WCHAR)0x00E9);
    }

    CString strLong = Repeated(L'x', 300);
    CString strShort(L"caf");
    strShort += chAccented;

    Image image;
    image.Byte(4).Text("caf\xE9");                  // byte length
    image.Byte(0).Byte(0xFF).Word(300);             // empty; then a WORD length
    for (int i = 0; i < 300; i++)
        image.Byte('x');
    image.Byte(0xFF).Word(0xFFFF).Dword(2).Text("ok");  // a DWORD length

    Loader loader(image.bytes);
    CString s1, s2, s3, s4;
    loader.ar >> s1 >> s2 >> s3 >> s4;
    EXPECT_EQ(s1, strShort);
    EXPECT_EQ(s2, CString());
    EXPECT_EQ(s3, strLong);
    EXPECT_EQ(s4, CString(L"ok"));
    EXPECT_TRUE(loader.ar.IsBufferEmpty());
}

TEST(Archive, StringThatCannotBeReadWholeLeavesTheTargetAlone)
{
    Bytes bytes = Stored([](CArchive& ar) { ar << CString(L"abcdef"); });
    bytes.resize(bytes.size() - 1);
    Loader loader(bytes);
    CString str = L"kept";
    EXPECT_EQ(ArchiveCause([&] { loader.ar >> str; }), (int)CArchiveException::endOfFile);
    EXPECT_EQ(str, CString(L"kept"));
}

TEST(Archive, ImpossibleStringLengthIsRejectedWithoutAllocatingForIt)
{
    struct Case
    {
        const char* pszName;
        Bytes bytes;
        int nCause;
    } cases[] = {
        {"unicode, 32-bit length",
         Image().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).Dword(0x3FFFFFF0).Text("ab").bytes,
         CArchiveException::endOfFile},
        {"ansi, 32-bit length",
         Image().Byte(0xFF).Word(0xFFFF).Dword(0x7FFFFFF0).Text("ab").bytes,
         CArchiveException::endOfFile},
        {"unicode, 16-bit length",
         Image().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0x8000).Text("ab").bytes,
         CArchiveException::endOfFile},
        {"64-bit length",
         Image().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).Dword(0xFFFFFFFF)
             .Qword(0x100000000000ULL).Text("ab").bytes,
         CArchiveException::genericException},
    };
    for (bool bLengthKnown : {true, false})
    {
        for (Case& c : cases)
        {
            SCOPED_TRACE(c.pszName);
            SCOPED_TRACE(bLengthKnown ? "length known" : "length unknown");
            CWatchedMemFile file(c.bytes.data(), (UINT)c.bytes.size(), bLengthKnown);
            CArchive ar(&file, CArchive::load);
            CString str = L"kept";
            EXPECT_EQ(ArchiveCause([&] { ar >> str; }), c.nCause);
            EXPECT_EQ(str, CString(L"kept"));
            // Reads of the file stay within the archive's buffer or its bounded steps.
            EXPECT_LE(file.m_nLargestRead, 1u << 20);
            ar.Abort();
        }
    }
}

// ---- Primitive values and raw bytes --------------------------------------------------

TEST(Archive, PrimitivesAreLittleEndianAndRoundTrip)
{
    const BYTE by = 0xAB;
    const WORD w = 0x1234;
    const short sh = -2;
    const int i = -3;
    const UINT u = 0xDEADBEEF;
    const LONG l = -70000;
    const DWORD dw = 0x01020304;
    const LONGLONG ll = -0x0102030405060708LL;
    const ULONGLONG ull = 0x8877665544332211ULL;
    const float f = 1.5f;
    const double d = -2.25;

    Bytes bytes = Stored([&](CArchive& ar) {
        ar << by << w << sh << i << u << l << dw << ll << ull << f << d << true << false;
    });
    Bytes expected = Image()
                         .Byte(0xAB)
                         .Word(0x1234)
                         .Word(0xFFFE)
                         .Dword(0xFFFFFFFD)
                         .Dword(0xDEADBEEF)
                         .Dword((DWORD)-70000)
                         .Dword(0x01020304)
                         .Qword((ULONGLONG)-0x0102030405060708LL)
                         .Qword(0x8877665544332211ULL)
                         .Dword(0x3FC00000)                 // 1.5f
                         .Qword(0xC002000000000000ULL)      // -2.25
                         .Byte(1)
                         .Byte(0)
                         .bytes;
    EXPECT_EQ(bytes, expected);

    BYTE by2;
    WORD w2;
    short sh2;
    int i2;
    UINT u2;
    LONG l2;
    DWORD dw2;
    LONGLONG ll2;
    ULONGLONG ull2;
    float f2;
    double d2;
    bool b1, b2;
    Loader loader(bytes);
    loader.ar >> by2 >> w2 >> sh2 >> i2 >> u2 >> l2 >> dw2 >> ll2 >> ull2 >> f2 >> d2 >> b1 >> b2;
    EXPECT_EQ(by2, by);
    EXPECT_EQ(w2, w);
    EXPECT_EQ(sh2, sh);
    EXPECT_EQ(i2, i);
    EXPECT_EQ(u2, u);
    EXPECT_EQ(l2, l);
    EXPECT_EQ(dw2, dw);
    EXPECT_EQ(ll2, ll);
    EXPECT_EQ(ull2, ull);
    EXPECT_EQ(f2, f);
    EXPECT_EQ(d2, d);
    EXPECT_TRUE(b1);
    EXPECT_FALSE(b2);
}

TEST(Archive, ValuesAndRawBlocksCrossBufferBoundaries)
{
    // A small buffer makes values straddle refills and blocks bypass it.
    Bytes block(1000);
    for (size_t i = 0; i < block.size(); i++)
        block[i] = (BYTE)(i * 7 + 3);
    Bytes bytes = Stored(
        [&](CArchive& ar) {
            for (int n = 0; n < 50; n++)
            {
                ar << (BYTE)n << n;
                ar.Write(block.data(), (UINT)(n * 17 % 400));
                ar << CString(L"s") << (double)n;
            }
            ar.Write(block.data(), (UINT)block.size());
        },
        128);

    Loader loader(bytes, 128);
    Bytes got(1000);
    for (int n = 0; n < 50; n++)
    {
        BYTE by;
        int i;
        CString str;
        double d;
        loader.ar >> by >> i;
        UINT nBlock = (UINT)(n * 17 % 400);
        ASSERT_EQ(loader.ar.Read(got.data(), nBlock), nBlock);
        loader.ar >> str >> d;
        ASSERT_EQ(by, (BYTE)n);
        ASSERT_EQ(i, n);
        ASSERT_TRUE(memcmp(got.data(), block.data(), nBlock) == 0);
        ASSERT_EQ(str, CString(L"s"));
        ASSERT_EQ(d, (double)n);
    }
    // The last block, then a short read at the end of the file.
    EXPECT_EQ(loader.ar.Read(got.data(), 600), 600u);
    EXPECT_EQ(loader.ar.Read(got.data() + 600, 600), 400u);
    EXPECT_EQ(got, block);
    EXPECT_EQ(loader.ar.Read(got.data(), 10), 0u);
    EXPECT_EQ(ArchiveCause([&] { BYTE b; loader.ar.EnsureRead(&b, 1); }),
              (int)CArchiveException::endOfFile);
}

TEST(Archive, TruncatedArchiveRaisesEndOfFileKeepingWhatWasRead)
{
    Bytes full = Stored([](CArchive& ar) { ar << 11 << (WORD)22 << 33.0 << CString(L"xy"); });
    ASSERT_EQ(full.size(), 4u + 2 + 8 + 4 + 4);

    struct Fields
    {
        int a = -1;
        WORD b = 0;
        double c = -1;
        CString d = L"none";
    };
    // Cut inside each field, and at a field boundary.
    struct Case
    {
        size_t nSize;
        int nFieldsRead;
    } cases[] = {{0, 0}, {3, 0}, {4, 1}, {5, 1}, {7, 2}, {13, 2}, {14, 3}, {16, 3}, {21, 3}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nSize);
        Loader loader(Bytes(full.begin(), full.begin() + c.nSize));
        Fields f;
        EXPECT_EQ(ArchiveCause([&] { loader.ar >> f.a >> f.b >> f.c >> f.d; }),
                  (int)CArchiveException::endOfFile);
        EXPECT_EQ(f.a, c.nFieldsRead >= 1 ? 11 : -1);
        EXPECT_EQ(f.b, c.nFieldsRead >= 2 ? 22 : 0);
        EXPECT_EQ(f.c, c.nFieldsRead >= 3 ? 33.0 : -1);
        EXPECT_EQ(f.d, CString(L"none"));
    }
}

TEST(Archive, WrongDirectionRaisesReadOnlyOrWriteOnly)
{
    CMemFile file;
    CArcNode node;
    {
        CArchive ar(&file, CArchive::store);
        int i;
        CString str;
        BYTE buf[4];
        CObject* pOb;
        EXPECT_EQ(ArchiveCause([&] { ar >> i; }), (int)CArchiveException::writeOnly);
        EXPECT_EQ(ArchiveCause([&] { ar >> str; }), (int)CArchiveException::writeOnly);
        EXPECT_EQ(ArchiveCause([&] { ar.Read(buf, 4); }), (int)CArchiveException::writeOnly);
        EXPECT_EQ(ArchiveCause([&] { ar >> pOb; }), (int)CArchiveException::writeOnly);
        ar << 1;
        ar.Close();
    }
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        EXPECT_EQ(ArchiveCause([&] { ar << 1; }), (int)CArchiveException::readOnly);
        EXPECT_EQ(ArchiveCause([&] { ar << CString(L"x"); }), (int)CArchiveException::readOnly);
        EXPECT_EQ(ArchiveCause([&] { ar.Write("ab", 2); }), (int)CArchiveException::readOnly);
        EXPECT_EQ(ArchiveCause([&] { ar << &node; }), (int)CArchiveException::readOnly);
        int i = 0;
        ar >> i;
        EXPECT_EQ(i, 1);
    }
}

TEST(Archive, LoadingCloseGivesUnreadBytesBackToTheFile)
{
    CMemFile file;
    file.Write("abcdefgh", 8);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        WORD w;
        ar >> w;
        EXPECT_FALSE(ar.IsBufferEmpty());
        ar.Close();
    }
    EXPECT_EQ(file.GetPosition(), 2u);
}

TEST(Archive, DestructorFlushesUnlessTold)
{
    for (UINT nMode : {(UINT)CArchive::store, (UINT)(CArchive::store | CArchive::bNoFlushOnDelete)})
    {
        CMemFile file;
        {
            CArchive ar(&file, nMode);
            ar << 42;
            EXPECT_EQ(ar.GetFile(), &file);
        }
        EXPECT_EQ(file.GetLength(), (nMode & CArchive::bNoFlushOnDelete) ? 0u : 4u);
    }
}

// ---- Counts --------------------------------------------------------------------------

TEST(Archive, CountsUseAWordThenADwordEscape)
{
    struct Case
    {
        DWORD_PTR nCount;
        Bytes bytes;
    } cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.nCount);
        Bytes bytes = Stored([&](CArchive& ar) { ar.WriteCount(c.nCount); });
        EXPECT_EQ(bytes, c.bytes);
        // The count is followed by at least as many bytes in a real collection.
        bytes.resize(bytes.size() + c.nCount);
        Loader loader(bytes);
        EXPECT_EQ(loader.ar.ReadCount(), c.nCount);
    }
}

TEST(Archive, CountBeyondTheRestOfTheFileIsRejected)
{
    Loader loader(Image().Word(0xFFFF).Dword(0x7FFFFFFF).Text("abc").bytes);
    EXPECT_EQ(ArchiveCause([&] { loader.ar.ReadCount(); }), (int)CArchiveException::endOfFile);
}

// ---- Objects -------------------------------------------------------------------------

TEST(Archive, ObjectGraphUsesClassAndObjectBackReferences)
{
    CArcNode a, b;
    a.m_nValue = 0x11;
    b.m_nValue = 0x22;
    a.m_pNext = &b;
    b.m_pNext = &a;
    CObject* pNull = NULL;

    Bytes bytes = Stored([&](CArchive& ar) { ar << &a << &b << pNull; });
    // Index 1 is the class, 2 is a, 3 is b.
    Bytes expected = Image()
                         .NewClass(1, "CArcNode")
                         .Dword(0x11)
                         .Word(0x8001)      // b: the class again, by reference
                         .Dword(0x22)
                         .Word(0x0002)      // b's neighbour: a, by reference
                         .Word(0x0003)      // b at the top level, by reference
                         .Word(0x0000)      // the null pointer
                         .bytes;
    EXPECT_EQ(bytes, expected);

    int nLiveBefore = CArcNode::s_nLive;
    {
        Loader loader(bytes);
        CArcNode* pA = NULL;
        CArcNode* pB = NULL;
        CObject* pNone = &a;
        loader.ar >> pA >> pB >> pNone;
        ASSERT_NE(pA, nullptr);
        ASSERT_NE(pB, nullptr);
        EXPECT_EQ(pA->m_nValue, 0x11);
        EXPECT_EQ(pB->m_nValue, 0x22);
        EXPECT_EQ(pA->m_pNext, pB);
        EXPECT_EQ(pB->m_pNext, pA);
        EXPECT_EQ(pNone, nullptr);
        EXPECT_EQ(CArcNode::s_nLive, nLiveBefore + 2);
        delete pA;
        delete pB;
    }
}

TEST(Archive, LargeMapsSwitchToTheDwordIndexEscape)
{
    // Enough objects that later indices no longer fit the 15-bit short tags.
    const int nCount = 0x8000;
    std::vector<CArcNode> nodes(nCount);
    for (int i = 0; i < nCount; i++)
        nodes[i].m_nValue = i;
    CArcOther other1, other2;

    Bytes bytes = Stored([&](CArchive& ar) {
        for (CArcNode& node : nodes)
            ar << &node;
        ar << &nodes[0x7FFC] << &nodes[0x7FFD];  // indices 0x7FFE and 0x7FFF
        ar << &other1 << &other2;                // class index 0x8002, then by reference
    });

    // Each node: the class reference, its value, its null neighbour.
    size_t nAfterNodes = 4 + 2 + 8 + 4 + 2 + (size_t)(nCount - 1) * 8;
    Bytes expected = Image()
                         .Word(0x7FFE)
                         .Word(0x7FFF).Dword(0x7FFF)
                         .NewClass(1, "CArcOther")
                         .Word(0x7FFF).Dword(0x80008002)
                         .bytes;
    ASSERT_EQ(bytes.size(), nAfterNodes + expected.size());
    EXPECT_EQ(Bytes(bytes.begin() + nAfterNodes, bytes.end()), expected);

    Loader loader(bytes);
    std::vector<CObject*> read(nCount + 4);
    for (CObject*& pOb : read)
        loader.ar >> pOb;
    EXPECT_EQ(read[nCount], read[0x7FFC]);
    EXPECT_EQ(read[nCount + 1], read[0x7FFD]);
    EXPECT_EQ(static_cast<CArcNode*>(read[0x7FFD])->m_nValue, 0x7FFD);
    EXPECT_TRUE(read[nCount + 3]->IsKindOf(RUNTIME_CLASS(CArcOther)));
    EXPECT_NE(read[nCount + 2], read[nCount + 3]);
    for (int i = 0; i < nCount + 4; i++)
        if (i != nCount && i != nCount + 1)
            delete read[i];
}

TEST(Archive, DamagedObjectTagsRaiseTheMatchingCause)
{
    struct Case
    {
        const char* pszName;
        Bytes bytes;
        int nCause;
    } cases[] = {
        {"stored schema differs", Image().NewClass(2, "CArcNode").Dword(1).Word(0).bytes,
         CArchiveException::badSchema},
        {"unregistered class", Image().NewClass(1, "CArcMissing").bytes,
         CArchiveException::badClass},
        {"class without serialisation", Image().NewClass(0xFFFF, "CArcNotSerial").bytes,
         CArchiveException::badClass},
        {"absurd name length", Image().Word(0xFFFF).Word(1).Word(0x4000).Text("CArcNode").bytes,
         CArchiveException::badClass},
        {"empty class name", Image().Word(0xFFFF).Word(1).Word(0).bytes,
         CArchiveException::badClass},
        {"not the class asked for", Image().NewClass(1, "CArcOther").bytes,
         CArchiveException::badClass},
        {"object index not yet read", Image().Word(0x0005).bytes, CArchiveException::badIndex},
        {"class index not yet read", Image().Word(0x8003).bytes, CArchiveException::badIndex},
        {"class index zero", Image().Word(0x8000).bytes, CArchiveException::badIndex},
        {"big object index", Image().Word(0x7FFF).Dword(0x00123456).bytes,
         CArchiveException::badIndex},
        {"object reference to a class",
         Image().NewClass(1, "CArcNode").Dword(1).Word(0x0001).bytes,
         CArchiveException::badIndex},
        {"class reference to an object",
         Image().NewClass(1, "CArcNode").Dword(1).Word(0x8002).bytes,
         CArchiveException::badIndex},
        {"class name cut short", Image().Word(0xFFFF).Word(1).Word(8).Text("CArc").bytes,
         CArchiveException::endOfFile},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        int nLiveBefore = CArcNode::s_nLive;
        Loader loader(c.bytes);
        CArcNode* pNode = NULL;
        EXPECT_EQ(ArchiveCause([&] { loader.ar >> pNode; }), c.nCause);
        EXPECT_EQ(pNode, nullptr);
        EXPECT_EQ(CArcNode::s_nLive, nLiveBefore);
    }
}

TEST(Archive, FailedObjectIsFreedAndTheArchiveStaysUsable)
{
    CArcNode a, b;
    a.m_nValue = 1;
    b.m_nValue = 2;
    a.m_pNext = &b;
    Bytes bytes = Stored([&](CArchive& ar) { ar << &a; });
    // Cut inside b, which a is reading as its neighbour.
    bytes.resize(bytes.size() - 3);

    int nLiveBefore = CArcNode::s_nLive;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    {
        CArchive ar(&file, CArchive::load);
        CArcNode* pNode = NULL;
        EXPECT_EQ(ArchiveCause([&] { ar >> pNode; }), (int)CArchiveException::endOfFile);
        EXPECT_EQ(CArcNode::s_nLive, nLiveBefore);
        // Nothing half-read can be reached afterwards; the map itself still answers.
        EXPECT_EQ(ar.GetObjectSchema(), (UINT)-1);
        ar.Abort();
    }
    // The same file read again from the start by a new archive, up to the damage.
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    UINT nSchema = 0;
    EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CArcNode), &nSchema), RUNTIME_CLASS(CArcNode));
    EXPECT_EQ(nSchema, 1u);
    int nValue = 0;
    ar >> nValue;
    EXPECT_EQ(nValue, 1);
}

TEST(Archive, VersionableClassReadsAnyStoredSchemaOnce)
{
    Bytes bytes = Image().NewClass(2, "CArcVersioned").Word(0x8001).bytes;
    Loader loader(bytes);
    CArcVersioned* p1 = NULL;
    CArcVersioned* p2 = NULL;
    loader.ar >> p1 >> p2;
    ASSERT_NE(p1, nullptr);
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p1->m_nFirst, 2u);
    EXPECT_EQ(p1->m_nSecond, (UINT)-1);
    // A class reference carries the schema stored with the class.
    EXPECT_EQ(p2->m_nFirst, 2u);
    delete p1;
    delete p2;

    // Its own schema is written without the versionable flag.
    CArcVersioned v;
    EXPECT_EQ(Stored([&](CArchive& ar) { ar << &v; }), Image().NewClass(3, "CArcVersioned").bytes);
}

TEST(Archive, SerializeClassAndMapObject)
{
    CArcNode known;
    Bytes bytes = Stored([&](CArchive& ar) {
        ar.SerializeClass(RUNTIME_CLASS(CArcNode));
        ar.SerializeClass(RUNTIME_CLASS(CArcNode));
        ar.MapObject(&known);
        ar << &known;
    });
    EXPECT_EQ(bytes, Image().NewClass(1, "CArcNode").Word(0x8001).Word(0x0002).bytes);

    Loader loader(bytes);
    loader.ar.SerializeClass(RUNTIME_CLASS(CArcNode));
    EXPECT_EQ(loader.ar.GetObjectSchema(), 1u);
    EXPECT_EQ(loader.ar.GetObjectSchema(), (UINT)-1);
    loader.ar.SerializeClass(RUNTIME_CLASS(CObject));
    CArcNode mapped;
    loader.ar.MapObject(&mapped);
    CObject* pOb = NULL;
    loader.ar >> pOb;
    EXPECT_EQ(pOb, &mapped);
}

TEST(Archive, ObjectWithoutSerialisationCannotBeWritten)
{
    CArcNotSerial plain;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    bool bThrown = false;
    try
    {
        ar << &plain;
    }
    catch (CNotSupportedException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    ar.Abort();
}

}  // namespace
