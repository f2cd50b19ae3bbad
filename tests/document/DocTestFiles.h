// Files and folders of the document tests. Each test folder lies under the temporary folder
// and goes with everything in it.
#pragma once

#include <windows.h>

#include <string.h>

#include <vector>

#include "AfxString.h"
#include "LangText.h"
#include "RasterImage.h"

inline void RemoveTree(const CString& strFolder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(strFolder + L"*", &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const CString strName(data.cFileName);
            if (strName == L"." || strName == L"..")
                continue;
            const CString strPath = strFolder + strName;
            SetFileAttributesW(strPath, FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strPath + L"\\");
            else
                DeleteFileW(strPath);
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryW(strFolder);
}

// A new, empty folder, ending in a backslash.
inline CString NewTempFolder(LPCWSTR lpszName)
{
    static int s_nFolders = 0;
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    CString strFolder;
    strFolder.Format(L"%s%s%u_%d\\", szTemp, lpszName, GetCurrentProcessId(), ++s_nFolders);
    // Process ids come back: an interrupted earlier run may have left this folder.
    RemoveTree(strFolder);
    CreateDirectoryW(strFolder, NULL);
    return strFolder;
}

inline void WriteBytes(const CString& strPath, const void* pData, DWORD nSize)
{
    HANDLE hFile = CreateFileW(strPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwWritten = 0;
    WriteFile(hFile, pData, nSize, &dwWritten, NULL);
    CloseHandle(hFile);
}

// The file's bytes; empty when it cannot be read.
inline std::vector<BYTE> ReadBytes(const CString& strPath)
{
    std::vector<BYTE> bytes;
    HANDLE hFile = CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(hFile, NULL));
    DWORD dwRead = 0;
    if (!bytes.empty())
        ReadFile(hFile, bytes.data(), (DWORD)bytes.size(), &dwRead, NULL);
    CloseHandle(hFile);
    bytes.resize(dwRead);
    return bytes;
}

inline std::vector<BYTE> Bytes(const CRasterImage& image)
{
    if (image.data == NULL)
        return std::vector<BYTE>();
    return std::vector<BYTE>(image.data, image.data + image.size);
}

// The language texts most document tests share, in a folder of this process.
inline CString SharedTextFolder()
{
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    CString strFolder;
    strFolder.Format(L"%sMosaicDocTexts%u\\", szTemp, GetCurrentProcessId());
    return strFolder;
}

// A test suite's own language texts (lines "id;text"), in a new folder that becomes the text
// folder; RestoreSharedTexts returns to the shared one and removes it.
inline CString UseOwnTexts(LPCWSTR lpszFolderName, const char* pszTexts)
{
    const CString strFolder = NewTempFolder(lpszFolderName);
    WriteBytes(strFolder + L"Text_Mosaic-409.fil", pszTexts, (DWORD)strlen(pszTexts));
    SetLangTextFolder(strFolder);
    return strFolder;
}

inline void RestoreSharedTexts(const CString& strOwnFolder)
{
    SetLangTextFolder(SharedTextFolder());
    RemoveTree(strOwnFolder);
}
