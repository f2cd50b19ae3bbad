// Classifications: named values and named lists of them, serialisable by the archive. The
// document format does not hold them.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxColl.h"
#include "AfxTempl.h"
#include "AfxString.h"

// Root of the entries a classification holds.
class CMyObject : public CObject
{
    DECLARE_DYNAMIC(CMyObject)
protected:
    CMyObject() {}
};

// A list of CMyObject pointers that it does not own, which can be put in order.
class CTypedSortableObList : public CTypedPtrList<CObList, CMyObject*>
{
public:
    explicit CTypedSortableObList(INT_PTR nBlockSize = 10)
        : CTypedPtrList<CObList, CMyObject*>(nBlockSize)
    {
    }

    // Ascending for pfnCompare (negative, zero, positive as for qsort); equal entries keep
    // their order.
    void Sort(int (*pfnCompare)(const CMyObject* pFirst, const CMyObject* pSecond));
};

class CBaseClassification : public CMyObject
{
    DECLARE_SERIAL(CBaseClassification)
public:
    CBaseClassification();
    virtual ~CBaseClassification();

    // int32 value, then the name.
    void Serialize(CArchive& ar) override;

    int m_value;
    CString m_name;
};

class CClassification : public CObject
{
    DECLARE_SERIAL(CClassification)
public:
    CClassification();
    // Deletes every entry.
    virtual ~CClassification();

    // The entries in the framework's object-list form, then int32 kind, then the name. A
    // load appends to the entries; one that fails leaves them as they were.
    void Serialize(CArchive& ar) override;

    int m_kind;
    CString m_name;
    CTypedSortableObList m_entries;   // owned
};
