#include "AfxResource.h"

#include <vector>

namespace {

// Set lazily: the first caller may run before the program's start-up code.
HINSTANCE g_hInstance = NULL;
HINSTANCE g_hResource = NULL;
LANGID g_wLanguage = LANG_NEUTRAL;

// A string table block holds sixteen strings, each a length and that many characters.
LPCWSTR StringBlockName(UINT nID)
{
    return MAKEINTRESOURCEW((nID >> 4) + 1);
}

int StringOfBlock(HINSTANCE hInstance, HRSRC hBlock, UINT nID, LPCWSTR* ppch)
{
    HGLOBAL hData = hBlock != NULL ? ::LoadResource(hInstance, hBlock) : NULL;
    const WCHAR* p = hData != NULL ? (const WCHAR*)::LockResource(hData) : NULL;
    if (p == NULL)
        return 0;
    const WCHAR* pEnd = p + ::SizeofResource(hInstance, hBlock) / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15) && p < pEnd; i++)
        p += *p + 1;
    if (p >= pEnd || p + 1 + *p > pEnd)
        return 0;
    *ppch = p + 1;
    return *p;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD wLanguage, LONG_PTR lParam)
{
    ((std::vector<LANGID>*)lParam)->push_back(wLanguage);
    return TRUE;
}

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

void AfxSetResourceLanguage(LANGID wLanguage)
{
    g_wLanguage = wLanguage;
}

LANGID AfxGetResourceLanguage()
{
    return g_wLanguage;
}

HRSRC AfxFindResource(HINSTANCE hInstance, LPCTSTR lpszName, LPCTSTR lpszType)
{
    HRSRC hResource = NULL;
    if (g_wLanguage != LANG_NEUTRAL)
        hResource = ::FindResourceExW(hInstance, lpszType, lpszName, g_wLanguage);
    return hResource != NULL ? hResource : ::FindResourceW(hInstance, lpszName, lpszType);
}

int AfxFindString(HINSTANCE hInstance, UINT nID, LPCWSTR* ppch)
{
    LPCWSTR lpszBlock = StringBlockName(nID);
    int nLength = 0;
    if (g_wLanguage != LANG_NEUTRAL)
        nLength = StringOfBlock(hInstance,
                                ::FindResourceExW(hInstance, RT_STRING, lpszBlock, g_wLanguage),
                                nID, ppch);
    if (nLength == 0)
        nLength = StringOfBlock(hInstance, ::FindResourceW(hInstance, lpszBlock, RT_STRING), nID,
                                ppch);
    if (nLength == 0)
    {
        std::vector<LANGID> languages;
        ::EnumResourceLanguagesW(hInstance, RT_STRING, lpszBlock, AddLanguage,
                                 (LONG_PTR)&languages);
        for (size_t i = 0; i < languages.size() && nLength == 0; i++)
            nLength = StringOfBlock(
                hInstance, ::FindResourceExW(hInstance, RT_STRING, lpszBlock, languages[i]), nID,
                ppch);
    }
    return nLength;
}
