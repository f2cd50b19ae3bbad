#include "AfxColl.h"

#include "AfxException.h"
#include "AfxFile.h"

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)

void AfxCheckArchiveCount(CArchive& ar, DWORD_PTR nCount, UINT nMinElementSize)
{
    if (nCount == 0)
        return;
    CFile* pFile = ar.GetFile();
    if (pFile == NULL)
        return;
    ULONGLONG nLeft;
    try
    {
        // Flush gives the archive's unread buffer back to the file, so that the file's
        // position is the archive's.
        ar.Flush();
        ULONGLONG nLength = pFile->GetLength();
        ULONGLONG nPosition = pFile->GetPosition();
        nLeft = nLength > nPosition ? nLength - nPosition : 0;
    }
    catch (CException* e)
    {
        // A file that cannot tell its length is read as it comes.
        e->Delete();
        return;
    }
    if (nCount > nLeft / nMinElementSize)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
}

// The numbers are stored as their bytes, which is little-endian on every target here.
void CByteArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteCount((DWORD_PTR)m_nSize);
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, sizeof(BYTE));
        SetSize((INT_PTR)nCount);
    }
    SerializeElements<BYTE>(ar, m_pData, m_nSize);
}

void CDWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteCount((DWORD_PTR)m_nSize);
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, sizeof(DWORD));
        SetSize((INT_PTR)nCount);
    }
    SerializeElements<DWORD>(ar, m_pData, m_nSize);
}

// An object takes at least its two-byte tag.
void CObArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
    {
        ar.WriteCount((DWORD_PTR)m_nSize);
        for (INT_PTR i = 0; i < m_nSize; i++)
            ar << m_pData[i];
    }
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, sizeof(WORD));
        SetSize((INT_PTR)nCount);
        for (INT_PTR i = 0; i < m_nSize; i++)
            ar >> m_pData[i];
    }
}

// A string takes at least its one-byte length.
void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteCount((DWORD_PTR)m_nSize);
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, 1);
        SetSize((INT_PTR)nCount);
    }
    SerializeElements<CString>(ar, m_pData, m_nSize);
}

void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
    {
        ar.WriteCount((DWORD_PTR)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            ar << pNode->data;
    }
    else
    {
        DWORD_PTR nCount = ar.ReadCount();
        AfxCheckArchiveCount(ar, nCount, sizeof(WORD));
        while (nCount-- > 0)
        {
            CObject* pObject;
            ar >> pObject;
            AddTail(pObject);
        }
    }
}
