// The module handles the framework loads resources from. Both default to the program's own
// module, whose resources the build links in.
#pragma once

#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// The module that holds the named resource: the resource handle if it has it, otherwise the
// instance handle.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// The language the framework takes its strings and dialog templates in where the module has
// them in several. LANG_NEUTRAL, the default, leaves the choice to the system (on Wine, the
// thread locale's language).
void AfxSetResourceLanguage(LANGID wLanguage);
LANGID AfxGetResourceLanguage();

// The resource in the resource language when the module has it in that language, otherwise
// as FindResourceW finds it.
HRSRC AfxFindResource(HINSTANCE hInstance, LPCTSTR lpszName, LPCTSTR lpszType);

// The string nID of the module's string table, not null-terminated, and its length (0 when
// absent or empty): in the resource language; else as the system chooses; else in any
// language the module has its block in, so that a block translated in part still lends the
// strings it lacks.
int AfxFindString(HINSTANCE hInstance, UINT nID, LPCWSTR* ppch);
