#include "DocSettings.h"

#include "AfxApp.h"

namespace
{

CString& ProfileRoot()
{
    static CString s_strRoot(L"Software\\Orbalith\\Mosaic\\Mosaic");
    return s_strRoot;
}

HKEY OpenSectionKey(LPCTSTR lpszSection, BOOL bCreate)
{
    CString strKey = ProfileRoot() + L"\\" + lpszSection;
    HKEY hKey = NULL;
    LONG lResult = bCreate ? RegCreateKeyExW(HKEY_CURRENT_USER, strKey, 0, NULL,
                                             REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                             NULL, &hKey, NULL)
                           : RegOpenKeyExW(HKEY_CURRENT_USER, strKey, 0, KEY_READ, &hKey);
    return lResult == ERROR_SUCCESS ? hKey : NULL;
}

}   // namespace

void SetDocProfileRoot(LPCTSTR lpszRoot)
{
    ProfileRoot() = lpszRoot;
}

CString GetDocProfileRoot()
{
    return ProfileRoot();
}

CDocProfileSection::CDocProfileSection(LPCTSTR lpszSection)
    : m_strSection(lpszSection), m_hKey(NULL), m_bIniFile(FALSE)
{
    if (CWinApp* pApp = AfxGetApp())
    {
        m_bIniFile = pApp->m_pszRegistryKey == NULL;
        if (!m_bIniFile)
            m_hKey = pApp->GetSectionKey(lpszSection);
    }
    else
        m_hKey = OpenSectionKey(lpszSection, FALSE);
}

CDocProfileSection::~CDocProfileSection()
{
    if (m_hKey != NULL)
        RegCloseKey(m_hKey);
}

int CDocProfileSection::GetInt(LPCTSTR lpszEntry, int nDefault) const
{
    if (m_bIniFile)
        return (int)AfxGetApp()->GetProfileInt(m_strSection, lpszEntry, nDefault);
    return AfxReadProfileInt(m_hKey, lpszEntry, nDefault);
}

CString CDocProfileSection::GetString(LPCTSTR lpszEntry, LPCTSTR lpszDefault) const
{
    if (m_bIniFile)
        return AfxGetApp()->GetProfileString(m_strSection, lpszEntry, lpszDefault);
    return AfxReadProfileString(m_hKey, lpszEntry, lpszDefault);
}

int DocGetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return CDocProfileSection(lpszSection).GetInt(lpszEntry, nDefault);
}

CString DocGetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return CDocProfileSection(lpszSection).GetString(lpszEntry, lpszDefault);
}

BOOL DocWriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->WriteProfileInt(lpszSection, lpszEntry, nValue);
    HKEY hKey = OpenSectionKey(lpszSection, TRUE);
    if (hKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = RegSetValueExW(hKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue,
                                  sizeof(dwValue));
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

BOOL DocWriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->WriteProfileString(lpszSection, lpszEntry, lpszValue);
    HKEY hKey = OpenSectionKey(lpszSection, TRUE);
    if (hKey == NULL)
        return FALSE;
    LONG lResult = RegSetValueExW(hKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                  (DWORD)(lstrlenW(lpszValue) + 1) * sizeof(WCHAR));
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

// Windows opens a device for these names in any folder, whatever the extension after them
// ("COM1.pal" is the serial port, whose reading waits for data that never comes).
static BOOL IsDeviceName(const CString& strName)
{
    CString strBase = strName;
    const int nDot = strBase.Find(L'.');
    if (nDot >= 0)
        strBase = strBase.Left(nDot);
    strBase.TrimRight(L' ');
    strBase.MakeUpper();
    if (strBase == L"CON" || strBase == L"PRN" || strBase == L"AUX" || strBase == L"NUL" ||
        strBase == L"CONIN$" || strBase == L"CONOUT$")
        return TRUE;
    return strBase.GetLength() == 4 && (strBase.Left(3) == L"COM" || strBase.Left(3) == L"LPT") &&
           strBase[3] >= L'1' && strBase[3] <= L'9';
}

BOOL IsBarePaletteFileName(const CString& strName)
{
    if (strName.IsEmpty() || strName.FindOneOf(L"\\/:") >= 0)
        return FALSE;
    return strName != L"." && strName != L".." && !IsDeviceName(strName);
}
