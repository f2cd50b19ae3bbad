// The collections that are not templates: arrays, lists and maps of pointers, numbers and
// strings. Each is the matching template of AfxTempl.h with MFC's run-time class and, for
// those MFC archives, MFC's archive form:
//   - a count (CArchive::WriteCount), then the elements;
//   - objects through the archive's object form, strings through its string form,
//     numbers as their little-endian bytes.
// Arrays and lists of plain pointers, CUIntArray and the maps are not archived.
#pragma once

#include <windows.h>

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxArchive.h"
#include "AfxTempl.h"

struct __POSITION {};
typedef __POSITION* POSITION;

// ---- Arrays ----------------------------------------------------------------------------

class CByteArray : public CArray<BYTE, BYTE>
{
    DECLARE_SERIAL(CByteArray)
public:
    void Serialize(CArchive& ar) override;
};

class CDWordArray : public CArray<DWORD, DWORD>
{
    DECLARE_SERIAL(CDWordArray)
public:
    void Serialize(CArchive& ar) override;
};

class CUIntArray : public CArray<UINT, UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
public:
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
public:
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

// The array does not own the objects: RemoveAll and the destructor leave them alone.
class CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_SERIAL(CObArray)
public:
    void Serialize(CArchive& ar) override;
};

class CStringArray : public CArray<CString, const CString&>
{
    DECLARE_SERIAL(CStringArray)
public:
    void Serialize(CArchive& ar) override;
};

// ---- Lists -----------------------------------------------------------------------------

class CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

// The list does not own the objects. Loading appends the objects read to the list.
class CObList : public CList<CObject*, CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

// ---- Maps ------------------------------------------------------------------------------

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap<void*, void*, void*, void*>(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}
};
