// Plays the user's part in the dialogs a command opens: a thread timer, which fires inside
// each dialog's own modal loop, hands the dialog in front to the script's steps in turn.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class CommandDialogScript
{
public:
    // A step acts on the dialog in front and returns true, or returns false to be offered
    // the dialog in front again on the next tick (a dialog it waits for is not open yet).
    using Step = std::function<bool(HWND)>;

    // Runs the command with the steps; returns how many steps ran. Dialogs still open a few
    // seconds after the last step are cancelled, so that a test that fails cannot hang.
    static size_t Run(const std::function<void()>& command, std::vector<Step> steps)
    {
        s_steps = std::move(steps);
        s_nStep = 0;
        s_nTicks = 0;
        const UINT_PTR idTimer = ::SetTimer(NULL, 0, 20, OnTimer);
        command();
        ::KillTimer(NULL, idTimer);
        s_steps.clear();
        return s_nStep;
    }

    // A step that waits for a dialog in front holding the control nID, then acts on it.
    static Step OnDialogWith(int nID, std::function<void(HWND)> action)
    {
        return [nID, action](HWND hDlg) {
            if (::GetDlgItem(hDlg, nID) == NULL)
                return false;
            action(hDlg);
            return true;
        };
    }

    // The topmost visible dialog of the thread that takes input: a modal dialog's owner is
    // disabled while the dialog runs.
    static HWND FrontDialog()
    {
        HWND hFound = NULL;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindFront, (LPARAM)&hFound);
        return hFound;
    }

private:
    static BOOL CALLBACK FindFront(HWND hWnd, LPARAM lParam)
    {
        WCHAR szClass[16] = {};
        ::GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (lstrcmpW(szClass, L"#32770") != 0 || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
            return TRUE;
        *(HWND*)lParam = hWnd;
        return FALSE;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        const HWND hDlg = FrontDialog();
        if (hDlg == NULL)
            return;
        if (++s_nTicks > 250)
        {
            ::PostMessageW(hDlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (s_nStep >= s_steps.size())
            return;
        // A step may open a nested modal loop, in which this timer goes on ticking.
        const size_t nStep = s_nStep;
        s_nStep = s_steps.size();
        s_nStep = s_steps[nStep](hDlg) ? nStep + 1 : nStep;
    }

    static inline std::vector<Step> s_steps;
    static inline size_t s_nStep = 0;
    static inline int s_nTicks = 0;
};
