// An application that keeps the framework's prompts (failed data checks) instead of showing
// them, so that a test can read them while the dialog stays open.
#pragma once

#include <vector>

#include "AfxApp.h"
#include "AfxString.h"

class CPromptApp : public CWinApp
{
public:
    explicit CPromptApp(LPCTSTR lpszName = L"MosaicDialogFamilyTest") : CWinApp(lpszName) {}
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override
    {
        m_prompts.push_back(lpszPrompt);
        return IDOK;
    }
    std::vector<CString> m_prompts;
};
