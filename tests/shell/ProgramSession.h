// The program started as its entry point starts it, driven with the messages a user's clicks
// and keys send, and ended as its Exit command ends it.
#pragma once

#include <windows.h>

#include <memory>

#include "MosaicTest.h"

#include "AfxApp.h"
#include "AfxString.h"
#include "MainFrm.h"
#include "VitrolanApp.h"
#include "VitrolanDoc.h"
#include "VitrolanView.h"

class CProgramSession
{
protected:
    ~CProgramSession() { Quit(); }

    // Starts the program as its entry point does, with the command line given.
    void Start(const CString& strCommandLine = L"")
    {
        Quit();
        m_strCommandLine = strCommandLine;
        m_app.reset(new CVitrolanApp);
        m_app->m_lpCmdLine = m_strCommandLine.GetBuffer();
        ASSERT_TRUE(m_app->InitInstance());
        Pump();
    }
    // Ends it as the Exit command does.
    void Quit()
    {
        if (!m_app)
            return;
        if (m_app->m_pMainWnd != NULL)
            m_app->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, NULL, NULL);
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
        }
        m_app->ExitInstance();
        m_app.reset();
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
                break;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (CWinThread* pThread = AfxGetThread())
            pThread->OnIdle(0);
    }

    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_app->m_pMainWnd); }
    CVitrolanDoc* Doc() const { return (CVitrolanDoc*)Frame()->GetActiveDocument(); }
    CVitrolanView* View() const { return (CVitrolanView*)Frame()->GetActiveView(); }
    void Command(UINT nID)
    {
        Frame()->SendMessage(WM_COMMAND, nID, 0);
        Pump();
    }

    CString m_strCommandLine;
    std::unique_ptr<CVitrolanApp> m_app;
};
