// New document, saving and closing.
#include "VitrolanDoc.h"

BOOL CVitrolanDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

BOOL CVitrolanDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    return CDocument::DoSave(lpszPathName, bReplace);
}

BOOL CVitrolanDoc::DoFileSave()
{
    return CDocument::DoFileSave();
}

BOOL CVitrolanDoc::SaveToPath(LPCTSTR lpszPathName)
{
    return OnSaveDocument(lpszPathName);
}

void CVitrolanDoc::OnCloseDocument()
{
    CDocument::OnCloseDocument();
}

void CVitrolanDoc::OnFileSave() {}

void CVitrolanDoc::OnFileSaveAs() {}
