// A fixture with the program started as its entry point starts it, in English, and helpers
// that read what the screen shows.
#pragma once

#include "MosaicTest.h"

#include <memory>
#include <string>

#include "AfxApp.h"
#include "AfxPath.h"
#include "LangText.h"
#include "MainFrm.h"
#include "OpenCv.h"
#include "SavedLanguageValue.h"
#include "ScreenPicture.h"
#include "VitrolanApp.h"
#include "resource.h"

class RunningMainFrame : public testing::Test
{
protected:
    RunningMainFrame() : m_savedNew(L"Software\\Orbalith"), m_savedOld(L"Software\\Mosaic") {}

    void SetUp() override
    {
        WriteLanguageId(1033);
        CString strFolder = CString(L"Z:") + CString(MOSAIC_DATA_DIR "/");
        strFolder.Replace(L"/", L"\\");
        SetLangTextFolder(strFolder);
        m_app.reset(new CVitrolanApp);
        m_app->m_lpCmdLine = m_strCommandLine.GetBuffer();
        ASSERT_TRUE(m_app->InitInstance());
        ASSERT_NE((CMainFrame*)NULL, Frame());
        ::SetForegroundWindow(Frame()->m_hWnd);
        Pump();
    }
    void TearDown() override
    {
        if (m_app->m_pMainWnd != NULL)
            m_app->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, NULL, NULL);
        Pump();
        m_app->ExitInstance();
        m_app.reset();
        SetLangTextFolder(L"");
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
    }
    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }

    CSavedLanguageValue m_savedNew;
    CSavedLanguageValue m_savedOld;
    CString m_strCommandLine;
    std::unique_ptr<CVitrolanApp> m_app;
};
