// Small files for the language-text tests, written into a folder of their own under the temporary
// folder and removed with it.
#pragma once

#include "SavedLanguageValue.h"

#include <windows.h>

#include <string>
#include <vector>

#include "AfxString.h"

class CTempFolder
{
public:
    CTempFolder()
    {
        static LONG s_nFolders = 0;
        WCHAR szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_strFolder.Format(L"%sMosaicShell_%lu_%lu_%ld\\", szTemp, GetCurrentProcessId(),
                           GetTickCount(), InterlockedIncrement(&s_nFolders));
        CreateDirectoryW(m_strFolder, NULL);
    }

    ~CTempFolder()
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW(m_strFolder + L"*", &data);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            do
            {
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    DeleteFileW(m_strFolder + data.cFileName);
            } while (FindNextFileW(hFind, &data));
            FindClose(hFind);
        }
        RemoveDirectoryW(m_strFolder);
    }

    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const CString& Folder() const { return m_strFolder; }
    CString Path(LPCWSTR lpszName) const { return m_strFolder + lpszName; }

    void WriteBytes(LPCWSTR lpszName, const std::string& bytes) const
    {
        HANDLE hFile = CreateFileW(Path(lpszName), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD dwWritten = 0;
        if (!bytes.empty())
            WriteFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwWritten, NULL);
        CloseHandle(hFile);
    }

    // UTF-16 little endian with the byte-order sign.
    void WriteUtf16(LPCWSTR lpszName, const CString& strText) const
    {
        std::string bytes("\xFF\xFE", 2);
        bytes.append((const char*)strText.GetString(),
                     (size_t)strText.GetLength() * sizeof(WCHAR));
        WriteBytes(lpszName, bytes);
    }

    // 8-bit text in the ANSI code page.
    void WriteAnsi(LPCWSTR lpszName, const CString& strText) const
    {
        WriteBytes(lpszName, ToAnsi(strText));
    }

    std::string ReadBytes(LPCWSTR lpszName) const
    {
        std::string bytes;
        HANDLE hFile = CreateFileW(Path(lpszName), GENERIC_READ, FILE_SHARE_READ, NULL,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (hFile == INVALID_HANDLE_VALUE)
            return bytes;
        char buffer[4096];
        DWORD dwRead = 0;
        while (ReadFile(hFile, buffer, sizeof(buffer), &dwRead, NULL) && dwRead > 0)
            bytes.append(buffer, dwRead);
        CloseHandle(hFile);
        return bytes;
    }

    void Remove(LPCWSTR lpszName) const { DeleteFileW(Path(lpszName)); }

    static std::string ToAnsi(const CString& strText)
    {
        int nBytes = WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), NULL, 0,
                                         NULL, NULL);
        std::string bytes((size_t)nBytes, '\0');
        if (nBytes > 0)
            WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), &bytes[0], nBytes,
                                NULL, NULL);
        return bytes;
    }

private:
    CString m_strFolder;
};

// Answers every message box the thread shows while it lives, counting them, so that a
// reported error neither blocks the test nor goes unseen.
class CMessageBoxCatcher
{
public:
    CMessageBoxCatcher()
    {
        s_nBoxes = 0;
        s_hLastBox = NULL;
        s_hHook = SetWindowsHookExW(WH_CBT, HookProc, NULL, GetCurrentThreadId());
    }
    ~CMessageBoxCatcher() { UnhookWindowsHookEx(s_hHook); }

    CMessageBoxCatcher(const CMessageBoxCatcher&) = delete;
    CMessageBoxCatcher& operator=(const CMessageBoxCatcher&) = delete;

    int Count() const { return s_nBoxes; }

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        if (nCode == HCBT_ACTIVATE)
        {
            HWND hWnd = (HWND)wParam;
            WCHAR szClass[16] = {0};
            GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
            if (lstrcmpW(szClass, L"#32770") == 0 && hWnd != s_hLastBox)
            {
                s_hLastBox = hWnd;
                ++s_nBoxes;
                PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(s_hHook, nCode, wParam, lParam);
    }

    static inline HHOOK s_hHook = NULL;
    static inline HWND s_hLastBox = NULL;
    static inline int s_nBoxes = 0;
};

