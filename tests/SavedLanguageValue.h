// The interface language value of a registry key, restored when a test ends.
#pragma once

#include <windows.h>

#include <vector>

#include "AfxString.h"

// The language value of one key as it stood, put back when the test ends.
class CSavedLanguageValue
{
public:
    explicit CSavedLanguageValue(LPCWSTR lpszKey) : m_strKey(lpszKey), m_bPresent(false)
    {
        HKEY hKey;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, m_strKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return;
        BYTE data[512];
        DWORD dwSize = sizeof(data);
        if (RegQueryValueExW(hKey, L"ThreadLocal", NULL, &m_dwType, data, &dwSize) ==
            ERROR_SUCCESS)
        {
            m_bPresent = true;
            m_data.assign(data, data + dwSize);
        }
        RegCloseKey(hKey);
    }

    ~CSavedLanguageValue()
    {
        HKEY hKey;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, m_strKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                            &hKey, NULL) != ERROR_SUCCESS)
            return;
        if (m_bPresent)
            RegSetValueExW(hKey, L"ThreadLocal", 0, m_dwType, m_data.data(),
                           (DWORD)m_data.size());
        else
            RegDeleteValueW(hKey, L"ThreadLocal");
        RegCloseKey(hKey);
    }

    CSavedLanguageValue(const CSavedLanguageValue&) = delete;
    CSavedLanguageValue& operator=(const CSavedLanguageValue&) = delete;

private:
    CString m_strKey;
    bool m_bPresent;
    DWORD m_dwType = REG_SZ;
    std::vector<BYTE> m_data;
};
