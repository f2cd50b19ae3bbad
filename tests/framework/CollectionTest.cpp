#include "MosaicTest.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AfxArchive.h"
#include "AfxColl.h"
#include "AfxException.h"
#include "AfxFile.h"
#include "AfxTempl.h"

namespace
{
template <class E, class F>
bool Throws(F f)
{
    try
    {
        f();
    }
    catch (E* e)
    {
        e->Delete();
        return true;
    }
    return false;
}

// Counts live instances, and the misuse of dead ones, to catch leaks and double frees.
struct Tracked
{
    static int s_live;
    static int s_faults;
    int value;
    bool alive;

    Tracked() : value(0), alive(true) { s_live++; }
    Tracked(int v) : value(v), alive(true) { s_live++; }
    Tracked(const Tracked& o) : value(o.value), alive(true) { Check(o); s_live++; }
    Tracked& operator=(const Tracked& o)
    {
        Check(*this);
        Check(o);
        value = o.value;
        return *this;
    }
    ~Tracked()
    {
        Check(*this);
        alive = false;
        s_live--;
    }
    static void Check(const Tracked& t)
    {
        if (!t.alive)
            s_faults++;
    }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::s_live = 0;
int Tracked::s_faults = 0;

class TrackedTest : public ::testing::Test
{
protected:
    void SetUp() override { Tracked::s_live = Tracked::s_faults = 0; }
    void TearDown() override
    {
        EXPECT_EQ(0, Tracked::s_live);
        EXPECT_EQ(0, Tracked::s_faults);
    }
};

template <class ARRAY>
std::vector<int> Values(const ARRAY& a)
{
    std::vector<int> v;
    for (INT_PTR i = 0; i < a.GetSize(); i++)
        v.push_back((int)a[i]);
    return v;
}

template <class LIST>
std::vector<int> Forward(const LIST& list)
{
    std::vector<int> v;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        v.push_back((int)list.GetNext(pos));
    return v;
}

template <class LIST>
std::vector<int> Backward(const LIST& list)
{
    std::vector<int> v;
    for (POSITION pos = list.GetTailPosition(); pos != NULL;)
        v.push_back((int)list.GetPrev(pos));
    return v;
}

// Archived bytes of one object's Serialize.
std::vector<BYTE> Store(CObject& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

void Load(CObject& object, std::vector<BYTE> bytes)
{
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

class CCollTestItem : public CObject
{
    DECLARE_SERIAL(CCollTestItem)
public:
    CCollTestItem() : m_value(0) {}
    explicit CCollTestItem(int value) : m_value(value) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    int m_value;
};
IMPLEMENT_SERIAL(CCollTestItem, CObject, 1)
}

// ---- Arrays ----------------------------------------------------------------------------

TEST(CollectionArray, SetSizeZeroFillsAndHonoursGrowBy)
{
    CUIntArray a;
    a.SetSize(3, 10);
    EXPECT_EQ(std::vector<int>({0, 0, 0}), Values(a));
    EXPECT_EQ(2, a.GetUpperBound());
    // Room for ten was made: adding up to ten elements keeps the block.
    const UINT* block = a.GetData();
    for (UINT i = 0; i < 7; i++)
        a.Add(i + 1);
    EXPECT_EQ(block, a.GetData());
    EXPECT_EQ(std::vector<int>({0, 0, 0, 1, 2, 3, 4, 5, 6, 7}), Values(a));
    a.Add(8);
    EXPECT_EQ(11, a.GetSize());

    a.SetSize(2);
    EXPECT_EQ(std::vector<int>({0, 0}), Values(a));
    // Shrunk elements do not come back when the array grows again.
    a.SetSize(4);
    EXPECT_EQ(std::vector<int>({0, 0, 0, 0}), Values(a));
    a.FreeExtra();
    EXPECT_EQ(4, a.GetSize());
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.SetSize(-1); }));
}

TEST(CollectionArray, InsertAndRemoveAtBounds)
{
    CDWordArray a;
    a.InsertAt(0, 5);                 // into an empty array
    a.InsertAt(0, 1);                 // at the front
    a.InsertAt(2, 9);                 // at the end
    a.InsertAt(1, 7, 2);              // a run in the middle
    EXPECT_EQ(std::vector<int>({1, 7, 7, 5, 9}), Values(a));
    a.InsertAt(7, 3);                 // past the end: the gap is zero-filled
    EXPECT_EQ(std::vector<int>({1, 7, 7, 5, 9, 0, 0, 3}), Values(a));

    a.RemoveAt(0);
    a.RemoveAt(a.GetUpperBound());
    a.RemoveAt(1, 2);
    EXPECT_EQ(std::vector<int>({7, 9, 0, 0}), Values(a));
    a.RemoveAt(0, 4);
    EXPECT_TRUE(a.IsEmpty());

    a.Add(1);
    a.Add(2);
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.InsertAt(-1, (DWORD)0); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.InsertAt(0, (DWORD)0, 0); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.RemoveAt(2); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.RemoveAt(1, 2); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.RemoveAt(-1); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.GetAt(2); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a[-1] = 0; }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.SetAt(2, 0); }));
    EXPECT_EQ(std::vector<int>({1, 2}), Values(a));

    a.SetAtGrow(4, 6);
    EXPECT_EQ(std::vector<int>({1, 2, 0, 0, 6}), Values(a));
    a.ElementAt(0) = 8;
    a[1] = 9;
    a.SetAt(2, 3);
    EXPECT_EQ(std::vector<int>({8, 9, 3, 0, 6}), Values(a));
}

TEST(CollectionArray, AppendCopyAndInsertArray)
{
    CUIntArray a, b;
    a.Add(1);
    a.Add(2);
    b.Add(3);
    EXPECT_EQ(2, a.Append(b));
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(a));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { a.Append(a); }));

    b.Copy(a);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(b));
    b.Copy(b);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(b));

    CUIntArray c;
    c.Add(8);
    c.Add(9);
    a.InsertAt(1, &c);
    EXPECT_EQ(std::vector<int>({1, 8, 9, 2, 3}), Values(a));
    c.InsertAt(1, &c);
    EXPECT_EQ(std::vector<int>({8, 8, 9, 9}), Values(c));
}

TEST(CollectionArray, StringArrayAddsItsOwnElements)
{
    CStringArray a;
    a.Add(L"first");
    a.Add(CString(L"second"));
    // Adding an element of the array itself, while the array grows, must copy it first.
    for (int i = 0; i < 40; i++)
        a.Add(a[i % 2]);
    a.InsertAt(0, a[1], 3);
    ASSERT_EQ(45, a.GetSize());
    EXPECT_EQ(CString(L"second"), a[0]);
    EXPECT_EQ(CString(L"second"), a[2]);
    EXPECT_EQ(CString(L"first"), a[3]);
    EXPECT_EQ(CString(L"second"), a.GetAt(44));
    a.SetAt(0, L"zero");
    EXPECT_EQ(CString(L"zero"), a.GetAt(0));

    CStringArray copy;
    copy.Copy(a);
    a.RemoveAll();
    EXPECT_EQ(CString(L"zero"), copy[0]);
    EXPECT_EQ(45, copy.GetSize());
}

TEST_F(TrackedTest, ArrayConstructsAndDestroysEachElementOnce)
{
    {
        CArray<Tracked> a;
        a.SetSize(5, 2);
        EXPECT_EQ(5, Tracked::s_live);
        for (int i = 0; i < 20; i++)
            a.Add(Tracked(i));
        a.InsertAt(3, Tracked(100), 4);
        a.RemoveAt(0, 6);
        a.SetSize(10);
        a.FreeExtra();
        EXPECT_EQ(10, Tracked::s_live);
        CArray<Tracked> b;
        b.Copy(a);
        b.Append(a);
        b.InsertAt(0, &a);
        EXPECT_EQ(40, Tracked::s_live);
        b.RemoveAll();
        EXPECT_EQ(10, Tracked::s_live);
    }
    {
        CArray<CString, const CString&> strings;
        for (int i = 0; i < 100; i++)
            strings.Add(CString(L'a', i));
        strings.RemoveAt(10, 50);
        EXPECT_EQ(CString(L'a', 60), strings[10]);
    }
}

// ---- Lists -----------------------------------------------------------------------------

TEST(CollectionList, IterationBothWaysAndInsertion)
{
    CList<int, int> list;
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail(2);
    list.AddTail(3);
    list.AddHead(1);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Forward(list));
    EXPECT_EQ(std::vector<int>({3, 2, 1}), Backward(list));

    list.InsertBefore(list.GetHeadPosition(), 0);
    list.InsertAfter(list.GetTailPosition(), 5);
    POSITION three = list.Find(3);
    list.InsertAfter(three, 4);
    list.InsertBefore(NULL, -1);       // NULL: at the head
    list.InsertAfter(NULL, 6);         // NULL: at the tail
    EXPECT_EQ(std::vector<int>({-1, 0, 1, 2, 3, 4, 5, 6}), Forward(list));
    EXPECT_EQ(std::vector<int>({6, 5, 4, 3, 2, 1, 0, -1}), Backward(list));
    EXPECT_EQ(8, list.GetCount());
    EXPECT_EQ(-1, list.GetHead());
    EXPECT_EQ(6, list.GetTail());
}

TEST(CollectionList, RemoveDuringIterationFindAndIndex)
{
    CList<int, int> list;
    for (int i = 0; i < 8; i++)
        list.AddTail(i % 4);              // 0 1 2 3 0 1 2 3

    // Remove the odd elements while walking: the position is moved on first.
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
    {
        POSITION current = pos;
        if (list.GetNext(pos) % 2 != 0)
            list.RemoveAt(current);
    }
    EXPECT_EQ(std::vector<int>({0, 2, 0, 2}), Forward(list));
    EXPECT_EQ(std::vector<int>({2, 0, 2, 0}), Backward(list));

    POSITION first = list.Find(2);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, list.FindIndex(1));
    POSITION second = list.Find(2, first);
    EXPECT_EQ(list.FindIndex(3), second);
    EXPECT_EQ(nullptr, list.Find(2, second));
    EXPECT_EQ(nullptr, list.Find(7));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));

    list.SetAt(first, 9);
    EXPECT_EQ(9, list.GetAt(first));
    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(2, list.RemoveTail());
    EXPECT_EQ(std::vector<int>({9, 0}), Forward(list));
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { list.GetHead(); }));
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { list.RemoveTail(); }));
    POSITION none = NULL;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { list.GetNext(none); }));
}

TEST(CollectionList, AddListToHeadTailAndItself)
{
    CList<int, int> a, b;
    a.AddTail(1);
    a.AddTail(2);
    b.AddTail(8);
    b.AddTail(9);
    a.AddHead(&b);
    a.AddTail(&b);
    EXPECT_EQ(std::vector<int>({8, 9, 1, 2, 8, 9}), Forward(a));
    b.AddTail(&b);
    EXPECT_EQ(std::vector<int>({8, 9, 8, 9}), Forward(b));
    b.AddHead(&b);
    EXPECT_EQ(8, b.GetCount());
}

TEST_F(TrackedTest, ListConstructsAndDestroysEachElementOnce)
{
    {
        CList<Tracked, const Tracked&> list;
        for (int i = 0; i < 10; i++)
            list.AddTail(Tracked(i));
        list.RemoveHead();
        list.RemoveAt(list.Find(Tracked(5)));
        EXPECT_EQ(8, Tracked::s_live);
        list.AddHead(&list);
        EXPECT_EQ(16, Tracked::s_live);
    }
    CList<CString, const CString&> strings;
    strings.AddTail(L"b");
    strings.AddHead(L"a");
    EXPECT_EQ(CString(L"a"), strings.RemoveHead());
    EXPECT_NE(nullptr, strings.Find(L"b"));
}

TEST(CollectionList, TypedPointerListAndArray)
{
    CCollTestItem one(1), two(2), three(3);
    CTypedPtrList<CObList, CCollTestItem*> list;
    list.AddTail(&two);
    list.AddHead(&one);
    list.AddTail(&three);
    int sum = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        sum = sum * 10 + list.GetNext(pos)->m_value;
    EXPECT_EQ(123, sum);
    EXPECT_EQ(&three, list.GetTail());
    EXPECT_EQ(&one, list.RemoveHead());
    EXPECT_EQ(list.FindIndex(1), list.Find(&three));
    // A list given to AddTail is appended element by element, not added as one element.
    CTypedPtrList<CObList, CCollTestItem*> more;
    more.AddTail(&one);
    list.AddTail(&more);
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(&one, list.GetTail());
    CTypedPtrList<CPtrList, CCollTestItem*> pointers;
    pointers.AddHead(&two);
    CTypedPtrList<CPtrList, CCollTestItem*> morePointers;
    morePointers.AddTail(&three);
    pointers.AddHead(&morePointers);
    EXPECT_EQ(&three, pointers.GetHead());

    CTypedPtrArray<CObArray, CCollTestItem*> array;
    array.Add(&one);
    array.Add(&three);
    array.InsertAt(1, &two);
    EXPECT_EQ(2, array.GetAt(1)->m_value);
    array[2] = &one;
    EXPECT_EQ(&one, array.ElementAt(2));
    const CTypedPtrArray<CObArray, CCollTestItem*>& constArray = array;
    EXPECT_EQ(1, constArray[0]->m_value);

    CTypedPtrArray<CPtrArray, HMENU> menus;
    menus.Add((HMENU)0x1234);
    EXPECT_EQ((HMENU)0x1234, menus[0]);
}

// ---- Maps ------------------------------------------------------------------------------

TEST(CollectionMap, PointerMapLookupRemoveAndIterate)
{
    CMapPtrToPtr map;
    map.InitHashTable(10);
    EXPECT_EQ(10u, map.GetHashTableSize());
    EXPECT_EQ(nullptr, map.GetStartPosition());

    void* value = NULL;
    EXPECT_FALSE(map.Lookup((void*)0x10, value));
    std::set<std::pair<void*, void*>> expected;
    for (UINT_PTR i = 1; i <= 50; i++)
    {
        map.SetAt((void*)(i * 16), (void*)(i + 1000));
        expected.insert({(void*)(i * 16), (void*)(i + 1000)});
    }
    map.SetAt((void*)16, (void*)7);     // replaces
    expected.erase({(void*)16, (void*)1001});
    expected.insert({(void*)16, (void*)7});
    EXPECT_EQ(50, map.GetCount());
    ASSERT_TRUE(map.Lookup((void*)16, value));
    EXPECT_EQ((void*)7, value);

    EXPECT_TRUE(map.RemoveKey((void*)32));
    EXPECT_FALSE(map.RemoveKey((void*)32));
    expected.erase({(void*)32, (void*)1002});
    EXPECT_FALSE(map.Lookup((void*)32, value));

    std::set<std::pair<void*, void*>> seen;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;)
    {
        void* key;
        map.GetNextAssoc(pos, key, value);
        seen.insert({key, value});
    }
    EXPECT_EQ(expected, seen);

    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Lookup((void*)48, value));
    EXPECT_EQ(10u, map.GetHashTableSize());
}

TEST(CollectionMap, CustomHashSizeKeepsEntriesAndRemovalWhileIterating)
{
    // The grid's selection map: a DWORD key (column << 16 | row) to a cell.
    struct Cell
    {
        int row, col;
        bool operator==(const Cell& o) const { return row == o.row && col == o.col; }
    };
    CMap<DWORD, DWORD, Cell, Cell&> map;
    EXPECT_EQ(17u, map.GetHashTableSize());
    for (int row = 0; row < 10; row++)
        for (int col = 0; col < 10; col++)
        {
            Cell cell = {row, col};
            map.SetAt(((DWORD)col << 16) | (DWORD)row, cell);
        }
    // A new table size spreads the entries already there.
    map.InitHashTable(7);
    EXPECT_EQ(7u, map.GetHashTableSize());
    EXPECT_EQ(100, map.GetCount());
    Cell found = {};
    ASSERT_TRUE(map.Lookup((3u << 16) | 4u, found));
    EXPECT_EQ(4, found.row);
    EXPECT_EQ(3, found.col);

    // Removing the key just returned keeps the iteration going.
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;)
    {
        DWORD key;
        Cell cell;
        map.GetNextAssoc(pos, key, cell);
        visited++;
        if (cell.row % 2 == 0)
        {
            EXPECT_TRUE(map.RemoveKey(key));
        }
    }
    EXPECT_EQ(100, visited);
    EXPECT_EQ(50, map.GetCount());

    EXPECT_FALSE(map.Lookup((5u << 16) | 4u, found));
    map[(5u << 16) | 4u].row = 42;       // operator[] adds a default entry
    ASSERT_TRUE(map.Lookup((5u << 16) | 4u, found));
    EXPECT_EQ(42, found.row);
    EXPECT_EQ(0, found.col);

    EXPECT_TRUE(Throws<CInvalidArgException>([&] { map.InitHashTable(0); }));
    POSITION none = NULL;
    DWORD key;
    EXPECT_TRUE(Throws<CInvalidArgException>([&] { map.GetNextAssoc(none, key, found); }));
}

TEST_F(TrackedTest, MapWithStringKeysAndTrackedValues)
{
    {
        CMap<CString, LPCTSTR, Tracked, const Tracked&> map;
        map.SetAt(L"one", Tracked(1));
        map.SetAt(L"two", Tracked(2));
        map.SetAt(L"one", Tracked(11));
        // Keys are found by their text, not by the address of the text.
        CString key(L"one");
        Tracked value;
        ASSERT_TRUE(map.Lookup(key, value));
        EXPECT_EQ(11, value.value);
        EXPECT_TRUE(map.RemoveKey(L"two"));
        EXPECT_FALSE(map.Lookup(L"two", value));
        EXPECT_EQ(1, map.GetCount());
        for (int i = 0; i < 30; i++)
            map[CString(L'k', i + 1)] = Tracked(i);
        map.RemoveKey(L"kk");
    }
    CMapWordToPtr words;
    words.SetAt(7, (void*)70);
    void* value;
    ASSERT_TRUE(words.Lookup(7, value));
    EXPECT_EQ((void*)70, value);
}

// ---- Archive forms ---------------------------------------------------------------------

TEST(CollectionSerialize, NumberArraysAsLittleEndianBytes)
{
    CDWordArray dwords;
    dwords.Add(1);
    dwords.Add(0x01020304);
    EXPECT_EQ(std::vector<BYTE>({2, 0, 1, 0, 0, 0, 4, 3, 2, 1}), Store(dwords));
    CDWordArray dwordsBack;
    dwordsBack.Add(99);                  // loading replaces the contents
    Load(dwordsBack, Store(dwords));
    EXPECT_EQ(std::vector<int>({1, 0x01020304}), Values(dwordsBack));

    CByteArray bytes;
    bytes.Add(0xAB);
    EXPECT_EQ(std::vector<BYTE>({1, 0, 0xAB}), Store(bytes));

    CArray<WORD, WORD> words;
    words.Add(0x1234);
    words.Add(0xFFFF);
    EXPECT_EQ(std::vector<BYTE>({2, 0, 0x34, 0x12, 0xFF, 0xFF}), Store(words));
    CArray<WORD, WORD> wordsBack;
    Load(wordsBack, Store(words));
    EXPECT_EQ(std::vector<int>({0x1234, 0xFFFF}), Values(wordsBack));

    // A count of 0xFFFF or more takes the long form: 0xFFFF, then 32 bits.
    CByteArray big;
    big.SetSize(0x10000);
    big[0xFFFF] = 5;
    std::vector<BYTE> stored = Store(big);
    ASSERT_EQ(6u + 0x10000u, stored.size());
    EXPECT_EQ(std::vector<BYTE>({0xFF, 0xFF, 0, 0, 1, 0}),
              std::vector<BYTE>(stored.begin(), stored.begin() + 6));
    CByteArray bigBack;
    Load(bigBack, stored);
    EXPECT_EQ(0x10000, bigBack.GetSize());
    EXPECT_EQ(5, bigBack[0xFFFF]);
}

TEST(CollectionSerialize, StringsInTheArchiveStringForm)
{
    CStringArray strings;
    strings.Add(L"A");
    strings.Add(L"");
    // Count, then per string: 0xFF, 0xFFFE (UTF-16 follows), the length, the characters.
    const std::vector<BYTE> expected = {2, 0, 0xFF, 0xFE, 0xFF, 1, 0x41, 0,
                                        0xFF, 0xFE, 0xFF, 0};
    EXPECT_EQ(expected, Store(strings));

    strings.Add(L"\x00e9t\x00e9");
    CStringArray back;
    Load(back, Store(strings));
    ASSERT_EQ(3, back.GetSize());
    EXPECT_EQ(CString(L"A"), back[0]);
    EXPECT_EQ(CString(), back[1]);
    EXPECT_EQ(CString(L"\x00e9t\x00e9"), back[2]);

    // The template with CString elements uses the same form.
    CArray<CString, const CString&> templ;
    templ.Copy(strings);
    EXPECT_EQ(Store(strings), Store(templ));
    CList<CString, const CString&> list;
    list.AddTail(L"A");
    list.AddTail(L"");
    EXPECT_EQ(expected, Store(list));
    CList<CString, const CString&> listBack;
    Load(listBack, Store(list));
    EXPECT_EQ(2, listBack.GetCount());
    EXPECT_EQ(CString(L"A"), listBack.GetHead());
}

TEST(CollectionSerialize, ObjectListAndArrayInTheObjectForm)
{
    CCollTestItem one(1), two(2);
    CObList list;
    list.AddTail(&one);
    list.AddTail(&two);
    list.AddTail((CObject*)NULL);
    // Count 3; a new class (0xFFFF, schema 1, name length 13, name) with the first object;
    // a reference to class 1 (0x8001) with the second; the null tag for the third.
    std::vector<BYTE> expected = {3, 0, 0xFF, 0xFF, 1, 0, 13, 0};
    for (char c : std::string("CCollTestItem"))
        expected.push_back((BYTE)c);
    for (BYTE b : {1, 0, 0, 0, 0x01, 0x80, 2, 0, 0, 0, 0, 0})
        expected.push_back(b);
    EXPECT_EQ(expected, Store(list));

    CObList back;
    CCollTestItem existing(7);
    back.AddTail(&existing);            // loading appends
    Load(back, Store(list));
    ASSERT_EQ(4, back.GetCount());
    POSITION pos = back.GetHeadPosition();
    EXPECT_EQ(&existing, back.GetNext(pos));
    for (int expectedValue : {1, 2})
    {
        CObject* object = back.GetNext(pos);
        ASSERT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCollTestItem)));
        EXPECT_EQ(expectedValue, static_cast<CCollTestItem*>(object)->m_value);
        delete object;
    }
    EXPECT_EQ(nullptr, back.GetNext(pos));

    CObArray array;
    array.Add(&two);
    array.Add(&two);                     // the same object twice: an object reference
    CObArray arrayBack;
    Load(arrayBack, Store(array));
    ASSERT_EQ(2, arrayBack.GetSize());
    EXPECT_EQ(arrayBack[0], arrayBack[1]);
    EXPECT_EQ(2, static_cast<CCollTestItem*>(arrayBack[0])->m_value);
    delete arrayBack[0];

    EXPECT_TRUE(RUNTIME_CLASS(CObList)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(list.IsSerializable());
}

TEST(CollectionSerialize, CountTooLargeForTheFileIsRefusedBeforeSizing)
{
    struct Case
    {
        const char* name;
        std::vector<BYTE> bytes;
    };
    // Counts that the bytes after them cannot back up, short and long forms.
    const Case cases[] = {
        {"3 dwords in 8 bytes", {3, 0, 1, 0, 0, 0, 2, 0, 0, 0}},
        {"1M dwords in 4 bytes", {0xFF, 0xFF, 0, 0, 0x10, 0, 1, 2, 3, 4}},
        {"4G-1 dwords", {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4}},
        {"2^40 dwords", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 1, 0, 0}},
    };
    for (const Case& c : cases)
    {
        CDWordArray a;
        EXPECT_TRUE(Throws<CArchiveException>([&] { Load(a, c.bytes); })) << c.name;
        EXPECT_EQ(0, a.GetSize()) << c.name;
    }

    // Objects take at least their two-byte tag, strings their length byte.
    CObList objects;
    EXPECT_TRUE(Throws<CArchiveException>([&] { Load(objects, {3, 0, 0, 0, 0, 0}); }));
    EXPECT_TRUE(objects.IsEmpty());
    CStringArray strings;
    EXPECT_TRUE(Throws<CArchiveException>([&] { Load(strings, {3, 0, 0, 0}); }));
    EXPECT_EQ(0, strings.GetSize());
    CArray<int, int> ints;
    EXPECT_TRUE(Throws<CArchiveException>([&] { Load(ints, {5, 0, 1, 2, 3, 4}); }));
    EXPECT_EQ(0, ints.GetSize());
    CList<int, int> intList;
    EXPECT_TRUE(Throws<CArchiveException>([&] { Load(intList, {9, 0, 1, 2, 3, 4}); }));
    EXPECT_TRUE(intList.IsEmpty());

    // The refusal is an end of file.
    try
    {
        CDWordArray a;
        Load(a, cases[0].bytes);
        FAIL() << "no exception";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
        e->Delete();
    }

    // An exact fit loads.
    CDWordArray exact;
    Load(exact, {2, 0, 1, 0, 0, 0, 2, 0, 0, 0});
    EXPECT_EQ(std::vector<int>({1, 2}), Values(exact));
}
