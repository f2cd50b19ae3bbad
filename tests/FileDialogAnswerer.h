// Answers the next file dialog of the thread from a timer inside its modal loop: keeps the
// name it proposes and its title, then confirms the path typed in, or cancels when the path
// is empty.
#pragma once

#include <windows.h>

#include <dlgs.h>

#include "AfxString.h"
#include "DialogAnswerer.h"

class FileDialogAnswerer : public DialogAnswerer<FileDialogAnswerer>
{
public:
    explicit FileDialogAnswerer(const CString& strPath) : DialogAnswerer(50)
    {
        s_strPath = strPath;
        s_nAnswered = 0;
        s_strProposed.Empty();
        s_strTitle.Empty();
    }

    static inline CString s_strPath;
    static inline int s_nAnswered = 0;
    static inline CString s_strProposed;
    static inline CString s_strTitle;

    static BOOL OnDialog(HWND hWnd)
    {
        // The name box is the combo box of newer dialogs or the edit of older ones.
        HWND hName = GetDlgItem(hWnd, cmb13);
        if (hName == NULL)
            hName = GetDlgItem(hWnd, edt1);
        if (hName == NULL)
            return FALSE;
        s_nAnswered++;
        WCHAR szText[MAX_PATH] = {};
        GetWindowTextW(hName, szText, MAX_PATH);
        s_strProposed = szText;
        GetWindowTextW(hWnd, szText, MAX_PATH);
        s_strTitle = szText;
        ShowWindow(hWnd, SW_HIDE);
        if (s_strPath.IsEmpty())
        {
            PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
        SetWindowTextW(hName, s_strPath);
        PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     (LPARAM)GetDlgItem(hWnd, IDOK));
        return TRUE;
    }
};
