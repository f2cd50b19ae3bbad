// The collection templates: CArray, CList and CMap, with the element helpers they call
// (SerializeElements, CopyElements, CompareElements, HashKey), and the typed pointer
// wrappers CTypedPtrArray and CTypedPtrList over the classes of AfxColl.h.
//
// Elements are constructed and destroyed as C++ objects, so CString and other classes
// with resources are safe as elements. Misuse (an index out of range, an empty list,
// a NULL position) throws CInvalidArgException; a failed allocation CMemoryException.
#pragma once

#include <windows.h>
#include <new>
#include <string.h>
#include <utility>

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxArchive.h"
#include "AfxException.h"

// The iterator of lists and maps; AfxColl.h defines the structure, as MFC does.
struct __POSITION;
typedef __POSITION* POSITION;

#ifndef BEFORE_START_POSITION
#define BEFORE_START_POSITION ((POSITION)-1L)
#endif

// Refuses, with CArchiveException endOfFile, a count read from an archive when what is
// left of the file cannot hold that many elements of at least nMinElementSize bytes.
// Called before anything is sized by the count.
void AfxCheckArchiveCount(CArchive& ar, DWORD_PTR nCount, UINT nMinElementSize);

// Raw bytes of each element by default; classes that hold pointers need their own.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    BYTE* pBytes = reinterpret_cast<BYTE*>(pElements);
    size_t nLeft = (size_t)nCount * sizeof(TYPE);
    while (nLeft > 0)
    {
        UINT nChunk = nLeft > 0x40000000 ? 0x40000000 : (UINT)nLeft;
        if (ar.IsStoring())
            ar.Write(pBytes, nChunk);
        else
            ar.EnsureRead(pBytes, nChunk);
        pBytes += nChunk;
        nLeft -= nChunk;
    }
}

// Strings go through the archive's string form.
template <>
inline void SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; i++)
    {
        if (ar.IsStoring())
            ar << pElements[i];
        else
            ar >> pElements[i];
    }
}

template <class TYPE>
void CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount)
{
    for (INT_PTR i = 0; i < nCount; i++)
        pDest[i] = pSrc[i];
}

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// MFC's hash of an integral or pointer key: one step of the Park-Miller generator on its
// low 32 bits. Keys of other types need their own specialisation.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    LONG nKey = (LONG)(LONG_PTR)key;
    LONG nQuot = nKey / 127773;
    LONG nRem = nKey % 127773;
    LONG nHash = 16807 * nRem - 2836 * nQuot;
    if (nHash < 0)
        nHash += 2147483647;
    return (UINT)nHash;
}

// String keys hash their characters, not their address.
template <>
inline UINT HashKey<LPCWSTR>(LPCWSTR key)
{
    UINT nHash = 0;
    while (*key != 0)
        nHash = (nHash << 5) + nHash + *key++;
    return nHash;
}

// ---- CArray ----------------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    ~CArray() override { SetSize(0, -1); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // nGrowBy is the number of elements added when the array must grow (0: an eighth of
    // the size, 4 to 1024); -1 keeps the current setting.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const { CheckIndex(nIndex); return m_pData[nIndex]; }
    TYPE& GetAt(INT_PTR nIndex) { CheckIndex(nIndex); return m_pData[nIndex]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        CheckIndex(nIndex);
        m_pData[nIndex] = newElement;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const { CheckIndex(nIndex); return m_pData[nIndex]; }
    TYPE& ElementAt(INT_PTR nIndex) { CheckIndex(nIndex); return m_pData[nIndex]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement)
    {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    // An index at or past the end grows the array up to it.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

    void Serialize(CArchive& ar) override;

protected:
    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;

private:
    void CheckIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
    }
    static TYPE* Allocate(INT_PTR nCount);
    // Moves the elements into a block of nNewMax and frees the old one.
    void Reallocate(INT_PTR nNewMax);
};

template <class TYPE, class ARG_TYPE>
TYPE* CArray<TYPE, ARG_TYPE>::Allocate(INT_PTR nCount)
{
    if (nCount < 0 || (size_t)nCount > (size_t)-1 / sizeof(TYPE))
        AfxThrowInvalidArgException();
    void* p = ::operator new((size_t)nCount * sizeof(TYPE), std::nothrow);
    if (p == NULL)
        AfxThrowMemoryException();
    return static_cast<TYPE*>(p);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax)
{
    TYPE* pNewData = nNewMax > 0 ? Allocate(nNewMax) : NULL;
    for (INT_PTR i = 0; i < m_nSize; i++)
    {
        ::new ((void*)(pNewData + i)) TYPE(std::move(m_pData[i]));
        m_pData[i].~TYPE();
    }
    ::operator delete(m_pData);
    m_pData = pNewData;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy)
{
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;

    if (nNewSize > m_nMaxSize)
    {
        INT_PTR nNewMax;
        if (m_pData == NULL)
            nNewMax = nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy;
        else
        {
            INT_PTR nGrow = m_nGrowBy;
            if (nGrow == 0)
            {
                // Grows with the array, which keeps the number of copies low.
                nGrow = m_nSize / 8;
                nGrow = nGrow < 4 ? 4 : (nGrow > 1024 ? 1024 : nGrow);
            }
            nNewMax = nNewSize < m_nMaxSize + nGrow ? m_nMaxSize + nGrow : nNewSize;
        }
        Reallocate(nNewMax);
    }

    for (; m_nSize < nNewSize; m_nSize++)
        ::new ((void*)(m_pData + m_nSize)) TYPE();
    for (; m_nSize > nNewSize; m_nSize--)
        m_pData[m_nSize - 1].~TYPE();

    if (nNewSize == 0 && m_pData != NULL)
        Reallocate(0);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize != m_nMaxSize)
        Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex < m_nSize)
    {
        m_pData[nIndex] = newElement;
        return;
    }
    // newElement may be an element of this array, which growing moves.
    TYPE value;
    value = newElement;
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    if (this == &src)
        AfxThrowInvalidArgException();
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize, -1);
    CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount)
{
    if (nIndex < 0 || nCount <= 0)
        AfxThrowInvalidArgException();
    TYPE value;
    value = newElement;
    if (nIndex >= m_nSize)
        SetSize(nIndex + nCount, -1);
    else
    {
        INT_PTR nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        for (INT_PTR i = nOldSize - 1; i >= nIndex; i--)
            m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (INT_PTR i = 0; i < nCount; i++)
        m_pData[nIndex + i] = value;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray)
{
    if (pNewArray == NULL || nStartIndex < 0)
        AfxThrowInvalidArgException();
    if (pNewArray->GetSize() == 0)
        return;
    if (pNewArray == this)
    {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
    for (INT_PTR i = 1; i < pNewArray->GetSize(); i++)
        m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount)
{
    INT_PTR nUpperBound = nIndex + nCount;
    if (nIndex < 0 || nCount < 0 || nUpperBound > m_nSize || nUpperBound < nIndex)
        AfxThrowInvalidArgException();
    for (INT_PTR i = nUpperBound; i < m_nSize; i++)
        m_pData[i - nCount] = std::move(m_pData[i]);
    SetSize(m_nSize - nCount, -1);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteCount((DWORD_PTR)m_nSize);
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, 1);
        SetSize((INT_PTR)nCount, -1);
    }
    SerializeElements<TYPE>(ar, m_pData, m_nSize);
}

// ---- CList -----------------------------------------------------------------------------

// A doubly linked list; a POSITION is a node, valid until that node is removed.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    // The block size only tuned MFC's node allocator; nodes are allocated one by one here.
    explicit CList(INT_PTR nBlockSize = 10)
        : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return CheckedNode(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return CheckedNode(m_pNodeHead)->data; }
    TYPE& GetTail() { return CheckedNode(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return CheckedNode(m_pNodeTail)->data; }

    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);

    void RemoveAll();

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    // Return the element at rPosition and move rPosition on (NULL past the end).
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true)->data; }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true)->data; }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false)->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false)->data; }

    TYPE& GetAt(POSITION position) { return CheckedNode((CNode*)position)->data; }
    const TYPE& GetAt(POSITION position) const { return CheckedNode((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { CheckedNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // A NULL position inserts at the head (before) or at the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    POSITION FindIndex(INT_PTR nIndex) const;

    // Loading appends to the list.
    void Serialize(CArchive& ar) override;

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    INT_PTR m_nBlockSize;

private:
    static CNode* CheckedNode(CNode* pNode)
    {
        if (pNode == NULL)
            AfxThrowInvalidArgException();
        return pNode;
    }
    static CNode* Step(POSITION& rPosition, bool bForward)
    {
        CNode* pNode = CheckedNode((CNode*)rPosition);
        rPosition = (POSITION)(bForward ? pNode->pNext : pNode->pPrev);
        return pNode;
    }
    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement);
    void Unlink(CNode* pNode);
};

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode*
CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
{
    CNode* pNode = new (std::nothrow) CNode();
    if (pNode == NULL)
        AfxThrowMemoryException();
    try
    {
        pNode->data = newElement;
    }
    catch (...)
    {
        delete pNode;
        throw;
    }
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    (pPrev != NULL ? pPrev->pNext : m_pNodeHead) = pNode;
    (pNext != NULL ? pNext->pPrev : m_pNodeTail) = pNode;
    m_nCount++;
    return pNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Unlink(CNode* pNode)
{
    (pNode->pPrev != NULL ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
    (pNode->pNext != NULL ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
    m_nCount--;
    delete pNode;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* pNode = CheckedNode(m_pNodeHead);
    TYPE value = std::move(pNode->data);
    Unlink(pNode);
    return value;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* pNode = CheckedNode(m_pNodeTail);
    TYPE value = std::move(pNode->data);
    Unlink(pNode);
    return value;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    // Counted, so that a list can be added to itself.
    INT_PTR nCount = pNewList->GetCount();
    POSITION pos = pNewList->GetTailPosition();
    while (nCount-- > 0)
        AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    INT_PTR nCount = pNewList->GetCount();
    POSITION pos = pNewList->GetHeadPosition();
    while (nCount-- > 0)
        AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* pNode = m_pNodeHead;
    while (pNode != NULL)
    {
        CNode* pNext = pNode->pNext;
        delete pNode;
        pNode = pNext;
    }
    m_pNodeHead = m_pNodeTail = NULL;
    m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    Unlink(CheckedNode((CNode*)position));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return (POSITION)NewNode(NULL, m_pNodeHead, newElement);
    CNode* pOld = (CNode*)position;
    return (POSITION)NewNode(pOld->pPrev, pOld, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return (POSITION)NewNode(m_pNodeTail, NULL, newElement);
    CNode* pOld = (CNode*)position;
    return (POSITION)NewNode(pOld, pOld->pNext, newElement);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter == NULL ? m_pNodeHead : ((CNode*)startAfter)->pNext;
    for (; pNode != NULL; pNode = pNode->pNext)
        if (CompareElements<TYPE>(&pNode->data, &searchValue))
            return (POSITION)pNode;
    return NULL;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return NULL;
    CNode* pNode = m_pNodeHead;
    while (nIndex-- > 0)
        pNode = pNode->pNext;
    return (POSITION)pNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
    {
        ar.WriteCount((DWORD_PTR)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            SerializeElements<TYPE>(ar, &pNode->data, 1);
    }
    else
    {
        DWORD_PTR nNewCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nNewCount, 1);
        while (nNewCount-- > 0)
        {
            TYPE newData;
            SerializeElements<TYPE>(ar, &newData, 1);
            AddTail(newData);
        }
    }
}

// ---- CMap ------------------------------------------------------------------------------

// A hash table of chained buckets (17 unless InitHashTable says otherwise). Iteration
// visits the buckets in order and each bucket's most recent key first; removing the key
// just returned by GetNextAssoc keeps the iteration valid.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    // The block size only tuned MFC's allocator; entries are allocated one by one here.
    explicit CMap(INT_PTR nBlockSize = 10)
        : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0), m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    // Adds the key with a default value when it is missing.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Keys already in the map are spread over the new table.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
    INT_PTR m_nBlockSize;

private:
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket, UINT& nHashValue) const;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow)
{
    if (hashSize == 0)
        AfxThrowInvalidArgException();
    CAssoc** pNewTable = NULL;
    if (bAllocNow || m_nCount > 0)
    {
        pNewTable = new (std::nothrow) CAssoc*[hashSize];
        if (pNewTable == NULL)
            AfxThrowMemoryException();
        memset(pNewTable, 0, sizeof(CAssoc*) * hashSize);
    }
    if (m_pHashTable != NULL)
    {
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++)
        {
            CAssoc* pAssoc = m_pHashTable[nBucket];
            while (pAssoc != NULL)
            {
                CAssoc* pNext = pAssoc->pNext;
                CAssoc*& rHead = pNewTable[pAssoc->nHashValue % hashSize];
                pAssoc->pNext = rHead;
                rHead = pAssoc;
                pAssoc = pNext;
            }
        }
        delete[] m_pHashTable;
    }
    m_pHashTable = pNewTable;
    m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHashBucket,
                                                 UINT& nHashValue) const
{
    nHashValue = HashKey<ARG_KEY>(key);
    nHashBucket = nHashValue % m_nHashTableSize;
    if (m_pHashTable == NULL)
        return NULL;
    for (CAssoc* pAssoc = m_pHashTable[nHashBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext)
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key))
            return pAssoc;
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nHashBucket, nHashValue;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue);
    if (pAssoc == NULL)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nHashBucket, nHashValue;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket, nHashValue);
    if (pAssoc != NULL)
        return pAssoc->value;

    if (m_pHashTable == NULL)
        InitHashTable(m_nHashTableSize);
    pAssoc = new (std::nothrow) CAssoc();
    if (pAssoc == NULL)
        AfxThrowMemoryException();
    try
    {
        pAssoc->key = key;
    }
    catch (...)
    {
        delete pAssoc;
        throw;
    }
    pAssoc->nHashValue = nHashValue;
    pAssoc->pNext = m_pHashTable[nHashBucket];
    m_pHashTable[nHashBucket] = pAssoc;
    m_nCount++;
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_pHashTable == NULL)
        return FALSE;
    UINT nHashValue = HashKey<ARG_KEY>(key);
    CAssoc** ppAssocPrev = &m_pHashTable[nHashValue % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext)
    {
        if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key))
        {
            *ppAssocPrev = pAssoc->pNext;
            delete pAssoc;
            if (--m_nCount == 0)
                RemoveAll();
            return TRUE;
        }
        ppAssocPrev = &pAssoc->pNext;
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable != NULL)
    {
        for (UINT nBucket = 0; nBucket < m_nHashTableSize; nBucket++)
        {
            CAssoc* pAssoc = m_pHashTable[nBucket];
            while (pAssoc != NULL)
            {
                CAssoc* pNext = pAssoc->pNext;
                delete pAssoc;
                pAssoc = pNext;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = NULL;
    }
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const
{
    CAssoc* pAssocRet = (CAssoc*)rNextPosition;
    if (pAssocRet == NULL || m_pHashTable == NULL)
        AfxThrowInvalidArgException();
    if (pAssocRet == (CAssoc*)BEFORE_START_POSITION)
    {
        pAssocRet = NULL;
        for (UINT nBucket = 0; nBucket < m_nHashTableSize && pAssocRet == NULL; nBucket++)
            pAssocRet = m_pHashTable[nBucket];
        if (pAssocRet == NULL)
            AfxThrowInvalidArgException();
    }

    CAssoc* pAssocNext = pAssocRet->pNext;
    for (UINT nBucket = pAssocRet->nHashValue % m_nHashTableSize + 1;
         pAssocNext == NULL && nBucket < m_nHashTableSize; nBucket++)
        pAssocNext = m_pHashTable[nBucket];

    rNextPosition = (POSITION)pAssocNext;
    rKey = pAssocRet->key;
    rValue = pAssocRet->value;
}

// ---- Typed pointer wrappers ------------------------------------------------------------

// BASE_CLASS is CObArray or CPtrArray (AfxColl.h); TYPE the pointer type stored.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray)
    {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
    TYPE operator[](INT_PTR nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
};

// BASE_CLASS is CObList or CPtrList (AfxColl.h); TYPE the pointer type stored.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }

    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }

    TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
};
