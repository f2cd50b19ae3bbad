#include "MosaicTest.h"

#include <memory>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "Classification.h"

namespace
{

typedef std::vector<BYTE> Bytes;

// An entry that counts the live objects, to see who deletes them.
class CCountedEntry : public CBaseClassification
{
    DECLARE_SERIAL(CCountedEntry)
public:
    CCountedEntry() { ++s_live; }
    ~CCountedEntry() override { --s_live; }
    static int s_live;
};
int CCountedEntry::s_live = 0;
IMPLEMENT_SERIAL(CCountedEntry, CBaseClassification, 1)

// A serialisable object that is not a classification entry.
class CForeignObject : public CObject
{
    DECLARE_SERIAL(CForeignObject)
public:
    CForeignObject() {}
};
IMPLEMENT_SERIAL(CForeignObject, CObject, 1)

Bytes StoreObject(CObject& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    Bytes bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

// -1 when the load succeeds, else the archive exception's cause.
int LoadObject(CObject& object, const Bytes& bytes)
{
    BYTE dummy = 0;
    CMemFile file(bytes.empty() ? &dummy : const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    try
    {
        object.Serialize(ar);
        ar.Close();
        return -1;
    }
    catch (CException* e)
    {
        ar.Abort();
        CArchiveException* pArchive = dynamic_cast<CArchiveException*>(e);
        const int cause = pArchive != NULL ? pArchive->m_cause : -2;
        e->Delete();
        return cause;
    }
}

CCountedEntry* NewEntry(int value, LPCWSTR name)
{
    CCountedEntry* entry = new CCountedEntry;
    entry->m_value = value;
    entry->m_name = name;
    return entry;
}

TEST(Classification, ConstructionAndArchiveFormOfAnEntry)
{
    CBaseClassification entry;
    EXPECT_EQ(0, entry.m_value);
    EXPECT_EQ(CString(), entry.m_name);
    entry.m_value = 0x01020304;
    entry.m_name = L"Ab";
    const Bytes expected = {0x04, 0x03, 0x02, 0x01, 0xFF, 0xFE, 0xFF, 0x02, 'A', 0, 'b', 0};
    EXPECT_TRUE(StoreObject(entry) == expected);
    CBaseClassification copy;
    ASSERT_EQ(-1, LoadObject(copy, expected));
    EXPECT_EQ(0x01020304, copy.m_value);
    EXPECT_EQ(CString(L"Ab"), copy.m_name);
    // Both classes are found by name, as the archive needs them.
    EXPECT_EQ(RUNTIME_CLASS(CBaseClassification), CRuntimeClass::FromName("CBaseClassification"));
    EXPECT_EQ(RUNTIME_CLASS(CClassification), CRuntimeClass::FromName("CClassification"));
    EXPECT_EQ(1u, RUNTIME_CLASS(CClassification)->m_wSchema);
}

TEST(Classification, ListKindAndNameRoundTrip)
{
    Bytes stored;
    {
        CClassification source;
        EXPECT_EQ(2, source.m_kind);
        source.m_kind = 5;
        source.m_name = L"Couleurs";
        source.m_entries.AddTail(NewEntry(7, L"rouge"));
        source.m_entries.AddTail(NewEntry(9, L"vert"));
        stored = StoreObject(source);
        // The object-list form: a 16-bit count, then the first object with its class.
        ASSERT_GT(stored.size(), 9u);
        EXPECT_EQ(2, stored[0] | (stored[1] << 8));
        EXPECT_EQ(0xFF, stored[2]);
        EXPECT_EQ(0xFF, stored[3]);
    }
    EXPECT_EQ(0, CCountedEntry::s_live);   // the destructor deleted both entries

    CClassification target;
    ASSERT_EQ(-1, LoadObject(target, stored));
    EXPECT_EQ(5, target.m_kind);
    EXPECT_EQ(CString(L"Couleurs"), target.m_name);
    ASSERT_EQ(2, target.m_entries.GetCount());
    CBaseClassification* first = (CBaseClassification*)target.m_entries.GetHead();
    CBaseClassification* second = (CBaseClassification*)target.m_entries.GetTail();
    EXPECT_EQ(7, first->m_value);
    EXPECT_EQ(CString(L"vert"), second->m_name);
    EXPECT_EQ(2, CCountedEntry::s_live);
}

TEST(Classification, DamagedListIsRefusedWithTheEntriesKept)
{
    Bytes stored;
    {
        CClassification source;
        source.m_entries.AddTail(NewEntry(1, L"a"));
        source.m_entries.AddTail(NewEntry(2, L"b"));
        stored = StoreObject(source);
    }
    // The second entry refers back to the first: the list would own one object twice.
    Bytes twice;
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            CCountedEntry* entry = NewEntry(3, L"c");
            ar.WriteCount(2);
            ar.WriteObject(entry);
            ar.WriteObject(entry);
            ar << 2 << CString(L"x");
            ar.Close();
            delete entry;
        }
        twice.resize((size_t)file.GetLength());
        file.SeekToBegin();
        file.Read(twice.data(), (UINT)twice.size());
    }
    Bytes foreign;
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            CForeignObject object;
            ar.WriteCount(1);
            ar.WriteObject(&object);
            ar << 2 << CString(L"x");
            ar.Close();
        }
        foreign.resize((size_t)file.GetLength());
        file.SeekToBegin();
        file.Read(foreign.data(), (UINT)foreign.size());
    }

    CClassification target;
    target.m_kind = 8;
    target.m_entries.AddTail(NewEntry(4, L"d"));
    const Bytes truncated(stored.begin(), stored.end() - 3);
    EXPECT_EQ(CArchiveException::endOfFile, LoadObject(target, truncated));
    EXPECT_EQ(CArchiveException::badIndex, LoadObject(target, twice));
    EXPECT_EQ(CArchiveException::badClass, LoadObject(target, foreign));
    EXPECT_EQ(8, target.m_kind);
    ASSERT_EQ(1, target.m_entries.GetCount());
    EXPECT_EQ(4, ((CBaseClassification*)target.m_entries.GetHead())->m_value);
    // The entries read before the failure were deleted.
    EXPECT_EQ(1, CCountedEntry::s_live);
}

TEST(Classification, SortKeepsEqualEntriesInOrder)
{
    CClassification list;
    const int values[] = {3, 1, 2, 1};
    LPCWSTR names[] = {L"a", L"b", L"c", L"d"};
    for (int i = 0; i < 4; i++)
        list.m_entries.AddTail(NewEntry(values[i], names[i]));
    list.m_entries.Sort([](const CMyObject* a, const CMyObject* b) {
        return ((const CBaseClassification*)a)->m_value -
               ((const CBaseClassification*)b)->m_value;
    });
    CString order;
    for (POSITION pos = list.m_entries.GetHeadPosition(); pos != NULL;)
        order += ((CBaseClassification*)list.m_entries.GetNext(pos))->m_name;
    EXPECT_EQ(CString(L"bdca"), order);
}

}   // namespace
