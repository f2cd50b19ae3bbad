// The per-thread link between Win32 handles and their wrapper objects (CWnd, CDC,
// CGdiObject, CMenu), as in MFC:
//   - the permanent map holds the objects that have a handle attached (Attach, Create...);
//   - FromHandle answers with the permanent object of a handle or, failing that, with a
//     temporary wrapper made on first use, which lives until DeleteTemp runs (the thread's
//     idle time) and never releases its handle.
// Each user keeps one thread_local CHandleMap: it has no destructor and its tables are
// never freed, as wrappers may outlive any cleanup order we could pick.
#pragma once

#include <windows.h>

#include <unordered_map>

template <class CObjectType, class HandleType>
class CHandleMap
{
public:
    // Points a wrapper at a handle, or at none before a temporary wrapper is deleted.
    typedef void (*PFNSETHANDLE)(CObjectType* pObject, HandleType hHandle);
    // Makes the temporary wrapper of a handle no object has attached.
    typedef CObjectType* (*PFNNEWOBJECT)(HandleType hHandle);

    static CObjectType* NewObject(HandleType) { return new CObjectType; }

    constexpr explicit CHandleMap(PFNSETHANDLE pfnSetHandle,
                                  PFNNEWOBJECT pfnNewObject = NewObject)
        : m_pfnSetHandle(pfnSetHandle), m_pfnNewObject(pfnNewObject), m_pTables(NULL)
    {
    }
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

    CObjectType* FromHandle(HandleType hHandle)
    {
        if (hHandle == NULL)
            return NULL;
        CObjectType* pObject = FromHandlePermanent(hHandle);
        if (pObject != NULL)
            return pObject;
        Tables& tables = GetTables();
        auto it = tables.temporary.find(hHandle);
        if (it != tables.temporary.end())
        {
            pObject = it->second;
        }
        else
        {
            pObject = m_pfnNewObject(hHandle);
            tables.temporary[hHandle] = pObject;
        }
        // Also a wrapper whose handle was released through it, for a handle in use again.
        m_pfnSetHandle(pObject, hHandle);
        return pObject;
    }

    // NULL when no object has the handle attached.
    CObjectType* FromHandlePermanent(HandleType hHandle) const
    {
        if (hHandle == NULL || m_pTables == NULL)
            return NULL;
        auto it = m_pTables->permanent.find(hHandle);
        return it == m_pTables->permanent.end() ? NULL : it->second;
    }

    void SetPermanent(HandleType hHandle, CObjectType* pObject)
    {
        GetTables().permanent[hHandle] = pObject;
    }

    // Only while the handle is still pObject's: another object may have attached it since.
    void RemoveHandle(HandleType hHandle, CObjectType* pObject)
    {
        if (hHandle == NULL || m_pTables == NULL)
            return;
        auto it = m_pTables->permanent.find(hHandle);
        if (it != m_pTables->permanent.end() && it->second == pObject)
            m_pTables->permanent.erase(it);
    }

    void DeleteTemp()
    {
        if (m_pTables == NULL)
            return;
        // Moved out first: nothing a destructor does may reach the table being emptied.
        std::unordered_map<HandleType, CObjectType*> temporary;
        temporary.swap(m_pTables->temporary);
        for (auto& entry : temporary)
        {
            m_pfnSetHandle(entry.second, NULL);
            delete entry.second;
        }
    }

private:
    struct Tables
    {
        std::unordered_map<HandleType, CObjectType*> permanent;
        std::unordered_map<HandleType, CObjectType*> temporary;
    };

    Tables& GetTables()
    {
        if (m_pTables == NULL)
            m_pTables = new Tables;
        return *m_pTables;
    }

    PFNSETHANDLE m_pfnSetHandle;
    PFNNEWOBJECT m_pfnNewObject;
    Tables* m_pTables;
};
