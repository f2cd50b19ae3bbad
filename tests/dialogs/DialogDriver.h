// Runs the program's dialogs on real windows for the tests: a thread timer plays the user's
// part inside the dialog's own modal loop with posted clicks and keys.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "AfxDialog.h"
#include "AfxString.h"

struct OwnedPopupSearch
{
    HWND hOwner;
    HWND hFound;
};

inline BOOL CALLBACK FindOwnedPopupProc(HWND hWnd, LPARAM lParam)
{
    auto* p = (OwnedPopupSearch*)lParam;
    if (::GetWindow(hWnd, GW_OWNER) == p->hOwner && ::IsWindowVisible(hWnd))
    {
        p->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The visible window that hDlg owns, NULL when there is none.
inline HWND FindOwnedPopup(HWND hDlg)
{
    OwnedPopupSearch search = {hDlg, NULL};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwnedPopupProc, (LPARAM)&search);
    return search.hFound;
}

// Runs a dialog modally. Once its window is shown, the script runs once on it; a dialog
// that the script leaves open is ended with -2 after a few seconds.
class CDialogDriver
{
public:
    using Script = std::function<void(HWND)>;

    static INT_PTR Run(CDialog& dlg, Script script)
    {
        return RunSteps(dlg, {[script](HWND hDlg) {
                            script(hDlg);
                            return true;
                        }});
    }

    // Each step runs on a later tick than the one before, once the step before returned
    // true; a step that returns false runs again on the next tick. Steps after the first
    // may act on windows that the dialog opened in the meantime.
    using Step = std::function<bool(HWND)>;
    static INT_PTR RunSteps(CDialog& dlg, std::vector<Step> steps)
    {
        s_pDialog = &dlg;
        s_steps = std::move(steps);
        s_nStep = 0;
        s_nTicks = 0;
        UINT_PTR idTimer = ::SetTimer(NULL, 0, 20, OnTimer);
        INT_PTR nResult = dlg.DoModal();
        ::KillTimer(NULL, idTimer);
        s_pDialog = NULL;
        s_steps.clear();
        return nResult;
    }

    static void Click(HWND hDlg, int nID)
    {
        ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                       (LPARAM)::GetDlgItem(hDlg, nID));
    }
    static void Key(HWND hWnd, UINT vk)
    {
        ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
        ::PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
    }
    static CString Text(HWND hDlg, int nID)
    {
        WCHAR szText[512] = {};
        ::GetDlgItemTextW(hDlg, nID, szText, 512);
        return szText;
    }
    static void SetText(HWND hDlg, int nID, LPCWSTR lpszText)
    {
        ::SetDlgItemTextW(hDlg, nID, lpszText);
    }
    static LRESULT Send(HWND hDlg, int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendDlgItemMessageW(hDlg, nID, message, wParam, lParam);
    }
    static void SetCheck(HWND hDlg, int nID, int nState) { Send(hDlg, nID, BM_SETCHECK, nState); }
    static int GetCheck(HWND hDlg, int nID) { return (int)Send(hDlg, nID, BM_GETCHECK); }
    // The entries of a combo box, joined with "|".
    static CString ListEntries(HWND hDlg, int nID)
    {
        CString strEntries;
        int nCount = (int)Send(hDlg, nID, CB_GETCOUNT);
        for (int i = 0; i < nCount; i++)
        {
            WCHAR szEntry[256] = {};
            Send(hDlg, nID, CB_GETLBTEXT, i, (LPARAM)szEntry);
            if (i > 0)
                strEntries += L"|";
            strEntries += szEntry;
        }
        return strEntries;
    }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND hDlg = s_pDialog != NULL ? s_pDialog->m_hWnd : NULL;
        if (hDlg == NULL)
            return;
        if (++s_nTicks > 250)
        {
            // Dialogs it opened first, so that their loops give way to the dialog's.
            for (HWND hPopup = FindOwnedPopup(hDlg); hPopup != NULL; hPopup = FindOwnedPopup(hPopup))
                ::PostMessageW(hPopup, WM_COMMAND, IDCANCEL, 0);
            s_pDialog->EndDialog(-2);
            return;
        }
        if (s_nStep >= s_steps.size() || !::IsWindowVisible(hDlg))
            return;
        // A step may open a nested modal loop, in which this timer goes on ticking.
        size_t nStep = s_nStep;
        s_nStep = s_steps.size();
        s_nStep = s_steps[nStep](hDlg) ? nStep + 1 : nStep;
    }

    static inline CDialog* s_pDialog = NULL;
    static inline std::vector<Step> s_steps;
    static inline size_t s_nStep = 0;
    static inline int s_nTicks = 0;
};
