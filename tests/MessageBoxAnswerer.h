// Answers the message boxes a test provokes: a thread timer, which fires inside the message
// box's own modal loop, finds the box, keeps its title and text, and clicks the chosen button.
#pragma once

#include <windows.h>

#include "AfxString.h"
#include "DialogAnswerer.h"

class MessageBoxAnswerer : public DialogAnswerer<MessageBoxAnswerer>
{
public:
    explicit MessageBoxAnswerer(int nButton = IDOK) : DialogAnswerer(20)
    {
        s_nButton = nButton;
        s_nCount = 0;
        s_strTitle.Empty();
        s_strText.Empty();
    }

    static inline int s_nButton = IDOK;
    static inline int s_nCount = 0;
    static inline CString s_strTitle;
    static inline CString s_strText;

    // A message box has its text in the static 0xFFFF; a file dialog has none. A box
    // without the chosen button, such as a report before a question, is answered with OK.
    static BOOL OnDialog(HWND hWnd)
    {
        if (GetDlgItem(hWnd, 0xFFFF) == NULL)
            return FALSE;
        HWND hButton = GetDlgItem(hWnd, s_nButton);
        if (hButton == NULL)
            hButton = GetDlgItem(hWnd, IDOK);
        if (hButton == NULL)
            return FALSE;
        WCHAR szTitle[128] = {};
        GetWindowTextW(hWnd, szTitle, ARRAYSIZE(szTitle));
        s_strTitle = szTitle;
        s_strText.Empty();
        EnumChildWindows(hWnd, OnChild, 0);
        s_nCount++;
        // Hidden until the click is handled, so that the next tick does not count it again.
        ShowWindow(hWnd, SW_HIDE);
        PostMessageW(hButton, BM_CLICK, 0, 0);
        return TRUE;
    }

private:
    static BOOL CALLBACK OnChild(HWND hWnd, LPARAM)
    {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (lstrcmpiW(szClass, L"Static") == 0)
        {
            WCHAR szText[512] = {};
            GetWindowTextW(hWnd, szText, ARRAYSIZE(szText));
            s_strText += szText;
        }
        return TRUE;
    }
};
