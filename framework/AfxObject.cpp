#include "AfxObject.h"
#include "AfxArchive.h"

#include <string.h>

// Head of the list of serialisable classes. It is zero before any constructor runs, and
// AFX_CLASSINIT objects in other files may link into it before this file's own statics are
// initialised, so it must never get a dynamic initialiser.
static CRuntimeClass* s_pFirstClass;

CRuntimeClass CObject::classCObject = { "CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL, NULL };

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    AfxClassInit(pNewClass);
}

void AfxClassInit(CRuntimeClass* pNewClass)
{
    for (CRuntimeClass* pClass = s_pFirstClass; pClass != NULL; pClass = pClass->m_pNextClass)
        if (pClass == pNewClass)
            return;
    pNewClass->m_pNextClass = s_pFirstClass;
    s_pFirstClass = pNewClass;
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL)
        return NULL;
    return (*m_pfnCreateObject)();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != NULL; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    for (CRuntimeClass* pClass = s_pFirstClass; pClass != NULL; pClass = pClass->m_pNextClass)
        if (strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    return NULL;
}

CRuntimeClass* CRuntimeClass::FromName(LPCWSTR lpszClassName)
{
    if (lpszClassName == NULL)
        return NULL;
    // Class names are ASCII identifiers: compare unit by unit rather than convert.
    for (CRuntimeClass* pClass = s_pFirstClass; pClass != NULL; pClass = pClass->m_pNextClass)
    {
        const char* pA = pClass->m_lpszClassName;
        LPCWSTR pW = lpszClassName;
        while (*pA != '\0' && (WCHAR)(unsigned char)*pA == *pW)
        {
            ++pA;
            ++pW;
        }
        if (*pA == '\0' && *pW == 0)
            return pClass;
    }
    return NULL;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != NULL ? pClass->CreateObject() : NULL;
}

CObject* CRuntimeClass::CreateObject(LPCWSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != NULL ? pClass->CreateObject() : NULL;
}

void CRuntimeClass::Store(CArchive& ar) const
{
    WORD nLen = (WORD)strlen(m_lpszClassName);
    ar << (WORD)m_wSchema << nLen;
    ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    WORD wSchema;
    WORD nLen;
    ar >> wSchema >> nLen;
    *pwSchemaNum = wSchema;

    // No registered name is this long; a longer one is damage, not a class to look for.
    char szClassName[64];
    if (nLen == 0 || nLen >= sizeof(szClassName))
        return NULL;
    ar.EnsureRead(szClassName, nLen);
    szClassName[nLen] = '\0';
    return FromName(szClassName);
}

CObject::~CObject()
{
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&)
{
}

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}
