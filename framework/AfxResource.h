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
