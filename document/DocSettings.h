// The profile through which the document keeps its settings. With an application object the
// values go through CWinApp's profile functions; without one (tests, tools) they go straight
// to the registry under the same layout, below a root key that SetDocProfileRoot chooses.
#pragma once

#include <windows.h>

#include "AfxString.h"

int DocGetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
CString DocGetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault);
BOOL DocWriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
BOOL DocWriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

// One section of that profile held open while many of its values are read: opening the key
// path again for every value made reading the settings a noticeable part of start-up.
// DocGetProfileInt and DocGetProfileString read a single value through one.
class CDocProfileSection
{
public:
    explicit CDocProfileSection(LPCTSTR lpszSection);
    ~CDocProfileSection();

    int GetInt(LPCTSTR lpszEntry, int nDefault) const;
    CString GetString(LPCTSTR lpszEntry, LPCTSTR lpszDefault) const;

private:
    CDocProfileSection(const CDocProfileSection&);
    CDocProfileSection& operator=(const CDocProfileSection&);

    CString m_strSection;
    HKEY m_hKey;
    BOOL m_bIniFile;   // the application keeps its profile in an .INI file
};

// The key below HKEY_CURRENT_USER that holds the sections when there is no application
// object. The default is the application's own branch, "Software\Orbalith\Mosaic\Mosaic".
void SetDocProfileRoot(LPCTSTR lpszRoot);
CString GetDocProfileRoot();

// A palette file setting must name a file in the palette folder, nothing outside it and no
// device.
BOOL IsBarePaletteFileName(const CString& strName);
