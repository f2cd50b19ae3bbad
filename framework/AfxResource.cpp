#include "AfxResource.h"

namespace {

// Set lazily: the first caller may run before the program's start-up code.
HINSTANCE g_hInstance = NULL;
HINSTANCE g_hResource = NULL;

} // namespace

HINSTANCE AfxGetInstanceHandle()
{
    if (g_hInstance == NULL)
        g_hInstance = GetModuleHandleW(NULL);
    return g_hInstance;
}

void AfxSetInstanceHandle(HINSTANCE hInstance)
{
    g_hInstance = hInstance;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource != NULL ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource)
{
    g_hResource = hResource;
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (FindResourceW(hResource, lpszName, lpszType) != NULL)
        return hResource;
    return AfxGetInstanceHandle();
}
