#include "Classification.h"

#include <algorithm>
#include <vector>

#include "AfxArchive.h"
#include "AfxException.h"

IMPLEMENT_DYNAMIC(CMyObject, CObject)
IMPLEMENT_SERIAL(CBaseClassification, CMyObject, 1)
IMPLEMENT_SERIAL(CClassification, CObject, 1)

void CTypedSortableObList::Sort(int (*pfnCompare)(const CMyObject*, const CMyObject*))
{
    std::vector<CMyObject*> items;
    items.reserve((size_t)GetCount());
    for (POSITION pos = GetHeadPosition(); pos != NULL;)
        items.push_back(GetNext(pos));
    std::stable_sort(items.begin(), items.end(),
                     [pfnCompare](const CMyObject* a, const CMyObject* b)
                     { return pfnCompare(a, b) < 0; });
    size_t i = 0;
    for (POSITION pos = GetHeadPosition(); pos != NULL; i++)
        GetNext(pos) = items[i];
}

CBaseClassification::CBaseClassification() : m_value(0)
{
}

CBaseClassification::~CBaseClassification()
{
}

void CBaseClassification::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_value << m_name;
        return;
    }
    int value = 0;
    CString name;
    ar >> value >> name;
    m_value = value;
    m_name = name;
}

CClassification::CClassification() : m_kind(2)
{
}

CClassification::~CClassification()
{
    for (POSITION pos = m_entries.GetHeadPosition(); pos != NULL;)
        delete m_entries.GetNext(pos);
    m_entries.RemoveAll();
}

void CClassification::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount((DWORD_PTR)m_entries.GetCount());
        for (POSITION pos = m_entries.GetHeadPosition(); pos != NULL;)
            ar.WriteObject(m_entries.GetNext(pos));
        ar << m_kind << m_name;
        return;
    }

    // The list owns its entries: each must be a new object of its own, so a null entry or
    // a second reference to an entry already read makes the archive invalid.
    std::vector<CMyObject*> loaded;
    try
    {
        DWORD_PTR nCount = ar.ReadCount();
        for (DWORD_PTR i = 0; i < nCount; i++)
        {
            CMyObject* pEntry = (CMyObject*)ar.ReadObject(RUNTIME_CLASS(CMyObject));
            if (pEntry == NULL || std::find(loaded.begin(), loaded.end(), pEntry) != loaded.end())
                AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
            for (POSITION pos = m_entries.GetHeadPosition(); pos != NULL;)
                if (m_entries.GetNext(pos) == pEntry)
                    AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
            loaded.push_back(pEntry);
        }
        int kind = 0;
        CString name;
        ar >> kind >> name;
        m_kind = kind;
        m_name = name;
    }
    catch (CException*)
    {
        for (CMyObject* pEntry : loaded)
            delete pEntry;
        throw;
    }
    for (CMyObject* pEntry : loaded)
        m_entries.AddTail(pEntry);
}
