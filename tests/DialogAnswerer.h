// The common part of the answerers: a thread timer, which fires inside a dialog's own modal
// loop, offers every visible dialog of the thread to Answerer::OnDialog until it takes one
// (returns TRUE).
#pragma once

#include <windows.h>

template <class Answerer>
class DialogAnswerer
{
protected:
    explicit DialogAnswerer(UINT nElapse) { m_nTimer = SetTimer(NULL, 0, nElapse, OnTimer); }
    ~DialogAnswerer() { KillTimer(NULL, m_nTimer); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), OnWindow, 0);
    }
    static BOOL CALLBACK OnWindow(HWND hWnd, LPARAM)
    {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (lstrcmpW(szClass, L"#32770") != 0 || !IsWindowVisible(hWnd))
            return TRUE;
        return !Answerer::OnDialog(hWnd);
    }

    UINT_PTR m_nTimer;
};
