// The mosaic library: the ".ms2" mosaics in the "Images" folder beside the program, with
// their thumbnails in "Images\Vignettes".
#include "VitrolanDoc.h"

#include <algorithm>
#include <vector>

#include "AfxException.h"
#include "AfxFile.h"
#include "DocPaths.h"
#include "LangText.h"
#include "TextIds.h"

namespace
{

// The number a library name starts with; 0 when it starts with none.
int LeadingNumber(const CString& strName)
{
    int nNumber = 0;
    for (int i = 0; i < strName.GetLength() && strName[i] >= L'0' && strName[i] <= L'9'; ++i)
    {
        if (nNumber > (INT_MAX - 9) / 10)
            break;
        nNumber = nNumber * 10 + (strName[i] - L'0');
    }
    return nNumber;
}

// Deletes the file; FALSE, reported the framework's way, when it stays.
BOOL RemoveFile(const CString& strPath)
{
    try
    {
        CFile::Remove(strPath);
    }
    catch (CFileException* e)
    {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

}   // namespace

CString CVitrolanDoc::GetLibraryFolder() const
{
    return m_programFolder + L"Images\\";
}

CString CVitrolanDoc::LibraryThumbnailPath(const CString& strName) const
{
    return GetLibraryFolder() + L"Vignettes\\" + strName + L".jpg";
}

void CVitrolanDoc::LoadLibraryList()
{
    std::vector<CString> names;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(GetLibraryFolder() + L"*.ms2", &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            const CString strFile(data.cFileName);
            // The pattern also finds longer extensions such as ".ms2x".
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                strFile.Right(4).CompareNoCase(L".ms2") == 0)
                names.push_back(strFile.Left(strFile.GetLength() - 4));
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    // The folder lists its files in no fixed order.
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) {
        const int na = LeadingNumber(a), nb = LeadingNumber(b);
        return na != nb ? na < nb : a.CompareNoCase(b) < 0;
    });
    m_libraryNames.RemoveAll();
    m_libraryFiles.RemoveAll();
    for (const CString& strName : names)
    {
        m_libraryNames.Add(strName);
        m_libraryFiles.Add(GetLibraryFolder() + strName + L".ms2");
    }
}

int CVitrolanDoc::FindLibraryEntry() const
{
    for (int i = 0; i < (int)m_libraryFiles.GetSize(); ++i)
        if (IsSameFile(m_libraryFiles[i], m_path))
            return i;
    return -1;
}

void CVitrolanDoc::SelectLibraryItem(int nIndex)
{
    const int nPrevious = m_libraryIndex;
    m_libraryIndex = nIndex;
    if (nPrevious != -1 && m_dirty)
        DoSave(m_saveName, TRUE);
    if (m_libraryNames.GetSize() == 0)
        return;
    if (nIndex < 0 || nIndex >= (int)m_libraryNames.GetSize())
    {
        m_libraryIndex = -1;
        return;
    }
    m_libraryNumber = LeadingNumber(m_libraryNames[nIndex]);
    if (OnOpenDocument(m_libraryFiles[nIndex]))
        SetPathName(m_libraryFiles[nIndex], FALSE);
    UpdateAllViews(NULL);
}

void CVitrolanDoc::OnDeleteLibraryMosaic()
{
    LoadLibraryList();
    m_libraryIndex = FindLibraryEntry();
    if (m_libraryIndex < 0)
    {
        if (s_uiHooks.pfnMessageBox != NULL)
            s_uiHooks.pfnMessageBox(GetLangText(TXT_MSG_NOT_IN_LIBRARY));
        return;
    }
    // The question names the mosaic it deletes.
    const CString strName = m_libraryNames[m_libraryIndex];
    const CString strQuestion =
        GetLangText(TXT_ASK_DELETE_LIBRARY_MOSAIC) + L"\r\n" + strName;
    if (s_uiHooks.pfnMessageBox == NULL || s_uiHooks.pfnMessageBox(strQuestion) != IDOK)
        return;
    if (!RemoveFile(m_libraryFiles[m_libraryIndex]))
        return;
    // Many mosaics have no thumbnail yet; that is not a failure.
    const CString strThumbnail = LibraryThumbnailPath(strName);
    if (GetFileAttributesW(strThumbnail) != INVALID_FILE_ATTRIBUTES)
        RemoveFile(strThumbnail);

    // The deleted mosaic is no entry any more, and its unsaved changes went with it: nothing
    // may save it back, neither the selection of the next entry nor closing.
    const CString strDeleted = m_libraryFiles[m_libraryIndex];
    m_libraryNames.RemoveAt(m_libraryIndex);
    m_libraryFiles.RemoveAt(m_libraryIndex);
    m_libraryIndex = -1;
    m_dirty = 0;
    SetModifiedFlag(FALSE);
    m_ownFile.Empty();
    SelectLibraryItem(0);
    // No entry left, or the next one could not be opened: the document holds a mosaic of
    // its own instead of the deleted one.
    if (m_libraryNames.GetSize() == 0 || IsSameFile(m_path, strDeleted))
    {
        m_libraryIndex = -1;
        m_path.Empty();
        m_saveName.Empty();
        StartEmptyMosaic();
    }
}
