// The framework takes its strings and dialog templates in one language while an object of
// this class lives, whatever the machine's locale.
#pragma once

#include <windows.h>

#include "AfxResource.h"

const LANGID kEnglishResources = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kFrenchResources = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

class CResourceLanguage
{
public:
    explicit CResourceLanguage(LANGID wLanguage) : m_wSaved(AfxGetResourceLanguage())
    {
        AfxSetResourceLanguage(wLanguage);
    }
    ~CResourceLanguage() { AfxSetResourceLanguage(m_wSaved); }

private:
    LANGID m_wSaved;
};
