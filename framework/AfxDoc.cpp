#include "AfxDoc.h"

#include "AfxApp.h"
#include "AfxArchive.h"
#include "AfxDDX.h"
#include "AfxDocTempl.h"
#include "AfxFrame.h"
#include "AfxView.h"

#include <vector>

// ---- Helpers ----------------------------------------------------------------------------------

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    rString.Empty();
    if (lpszFullString == NULL)
        return FALSE;
    CString strFull(lpszFullString);
    int nStart = 0;
    while (iSubString-- > 0)
    {
        nStart = strFull.Find(chSep, nStart);
        if (nStart < 0)
            return FALSE;
        nStart++;
    }
    int nEnd = strFull.Find(chSep, nStart);
    rString = nEnd < 0 ? strFull.Mid(nStart) : strFull.Mid(nStart, nEnd - nStart);
    return TRUE;
}

CString AfxFullPath(LPCTSTR lpszFileIn)
{
    // Paths may be longer than MAX_PATH: the buffer grows to the size the call asks for.
    CString strFull;
    DWORD nSize = MAX_PATH;
    for (int nTries = 0; nTries < 3; nTries++)
    {
        LPWSTR pBuf = strFull.GetBuffer((int)nSize);
        const DWORD nLen = GetFullPathNameW(lpszFileIn, nSize, pBuf, NULL);
        if (nLen > 0 && nLen < nSize)
        {
            strFull.ReleaseBuffer((int)nLen);
            return strFull;
        }
        strFull.ReleaseBuffer(0);
        if (nLen == 0)
            break;
        nSize = nLen + 1;
    }
    return CString(lpszFileIn);
}

BOOL AfxComparePath(LPCTSTR lpszPath1, LPCTSTR lpszPath2)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, lpszPath1, -1, lpszPath2, -1) ==
           CSTR_EQUAL;
}

namespace {

// The file name of a path, with its extension.
CString FileTitleOf(LPCTSTR lpszPathName)
{
    CString strPath(lpszPathName);
    int nSep = -1;
    for (int i = strPath.GetLength() - 1; i >= 0; i--)
    {
        WCHAR ch = strPath[i];
        if (ch == L'\\' || ch == L'/' || ch == L':')
        {
            nSep = i;
            break;
        }
    }
    return nSep < 0 ? strPath : strPath.Mid(nSep + 1);
}

} // namespace

// ---- CDocument --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() : m_bAutoDelete(TRUE), m_pDocTemplate(NULL), m_bModified(FALSE) {}

CDocument::~CDocument()
{
    // The views outlive a document deleted under them: they only lose it.
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL)
        GetNextView(pos)->m_pDocument = NULL;
    m_viewList.RemoveAll();
    if (m_pDocTemplate != NULL)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = AfxFullPath(lpszPathName);
    SetTitle(FileTitleOf(m_strPathName));
    if (bAddToMRU)
    {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView)
{
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (pos != NULL)
        m_viewList.RemoveAt(pos);
    pView->m_pDocument = NULL;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    // The last view gone takes an auto-delete document with it.
    if (m_viewList.IsEmpty() && m_bAutoDelete)
    {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL)
    {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    // The distinct visible frames of the views, numbered from 1 when there are several.
    CPtrList frames;
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL)
    {
        CView* pView = GetNextView(pos);
        if (pView->GetSafeHwnd() == NULL || !pView->IsWindowVisible())
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != NULL && frames.Find(pFrame) == NULL)
            frames.AddTail(pFrame);
    }
    int nFrames = (int)frames.GetCount();
    int nIndex = 1;
    pos = frames.GetHeadPosition();
    while (pos != NULL)
    {
        CFrameWnd* pFrame = (CFrameWnd*)frames.GetNext(pos);
        pFrame->m_nWindow = nFrames == 1 ? 0 : nIndex++;
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFileException* pfe = new CFileException;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, pfe);
    if (pFile == NULL)
    {
        ReportSaveLoadException(lpszPathName, pfe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        pfe->Delete();
        return FALSE;
    }
    pfe->Delete();

    DeleteContents();
    SetModifiedFlag();   // a failed read leaves the document changed
    try
    {
        CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
        loadArchive.m_pDocument = this;
        CWaitCursor wait;
        if (pFile->GetLength() != 0)
            Serialize(loadArchive);
        loadArchive.Close();
        ReleaseFile(pFile, FALSE);
    }
    catch (CException* e)
    {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    CFileException* pfe = new CFileException;
    CFile* pFile =
        GetFile(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, pfe);
    if (pFile == NULL)
    {
        ReportSaveLoadException(lpszPathName, pfe, TRUE, AFX_IDP_INVALID_FILENAME);
        pfe->Delete();
        return FALSE;
    }
    pfe->Delete();

    try
    {
        CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
        saveArchive.m_pDocument = this;
        CWaitCursor wait;
        Serialize(saveArchive);
        saveArchive.Close();
        ReleaseFile(pFile, FALSE);
    }
    catch (CException* e)
    {
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // Destroying the frames destroys the views, which must not delete the document on
    // the way.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty())
    {
        CView* pView = (CView*)m_viewList.GetHead();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame == NULL)
        {
            // A view without a frame goes by itself.
            pView->DestroyWindow();
            if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
                RemoveView(pView);
            continue;
        }
        PreCloseFrame(pFrame);
        pFrame->DestroyWindow();
    }
    m_bAutoDelete = bAutoDelete;

    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() {}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;

    CString strName;
    if (m_strPathName.IsEmpty())
    {
        strName = m_strTitle;
        if (strName.IsEmpty())
            strName.LoadString(AFX_IDS_UNTITLED);
    }
    else
    {
        strName = FileTitleOf(m_strPathName);
    }

    CString strPrompt;
    AfxFormatString1(strPrompt, AFX_IDP_ASK_TO_SAVE, strName);
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE))
    {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;   // the changes are dropped
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*)
{
    // Another frame still showing the document keeps it open without a question.
    POSITION pos = GetFirstViewPosition();
    while (pos != NULL)
    {
        CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
        if (pFrame != NULL && pFrame->m_nWindow > 0)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString strNewName(lpszPathName);
    if (strNewName.IsEmpty())
    {
        CDocTemplate* pTemplate = GetDocTemplate();
        strNewName = m_strPathName;
        if (bReplace && strNewName.IsEmpty())
        {
            // The title, cut at a character no file name may hold, with the template's
            // first extension.
            strNewName = m_strTitle;
            int nBad = strNewName.FindOneOf(L":/\\");
            if (nBad >= 0)
                strNewName = strNewName.Left(nBad);
            CString strExt;
            if (pTemplate != NULL && pTemplate->GetDocString(strExt, CDocTemplate::filterExt) &&
                !strExt.IsEmpty())
            {
                int nStart = 0;
                strNewName += strExt.Tokenize(L";", nStart);
            }
        }
        CWinApp* pApp = AfxGetApp();
        if (pApp == NULL ||
            !pApp->DoPromptFileName(strNewName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, pTemplate))
            return FALSE;
    }

    CWaitCursor wait;
    if (!OnSaveDocument(strNewName))
    {
        if (lpszPathName == NULL)
        {
            // A failed Save As leaves no half-written file behind.
            try
            {
                CFile::Remove(strNewName);
            }
            catch (CException* e)
            {
                e->Delete();
            }
        }
        return FALSE;
    }
    if (bReplace)
        SetPathName(strNewName);
    return TRUE;
}

BOOL CDocument::DoFileSave()
{
    // A missing file has every attribute bit, read-only included.
    DWORD dwAttrib = GetFileAttributesW(m_strPathName);
    if (dwAttrib & FILE_ATTRIBUTE_READONLY)
        return DoSave(NULL);
    return DoSave(m_strPathName);
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    CFile* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError))
    {
        delete pFile;
        return NULL;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (bAbort)
    {
        pFile->Abort();
    }
    else
    {
        try
        {
            pFile->Close();
        }
        catch (...)
        {
            delete pFile;
            throw;
        }
    }
    delete pFile;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                        UINT nIDPDefault)
{
    UINT nIDP = nIDPDefault;
    CString strPrompt;
    if (e != NULL)
    {
        if (e->IsKindOf(RUNTIME_CLASS(CUserException)))
            return;
        if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)))
        {
            switch (((CArchiveException*)e)->m_cause)
            {
            case CArchiveException::badSchema:
            case CArchiveException::badClass:
            case CArchiveException::badIndex:
            case CArchiveException::endOfFile:
                nIDP = AFX_IDP_FAILED_INVALID_FORMAT;
                break;
            default:
                break;
            }
        }
        else if (e->IsKindOf(RUNTIME_CLASS(CFileException)))
        {
            CFileException* pFileException = (CFileException*)e;
            if (pFileException->m_strFileName.IsEmpty())
                pFileException->m_strFileName = lpszPathName;
            // Room for the longest path the system takes, with the words around it.
            std::vector<WCHAR> message(32768 + 512);
            LPWSTR szMessage = message.data();
            if (e->GetErrorMessage(szMessage, (UINT)message.size() - 1))
            {
                strPrompt = szMessage;
            }
            else
            {
                switch (pFileException->m_cause)
                {
                case CFileException::fileNotFound:
                case CFileException::badPath:
                    nIDP = AFX_IDP_FAILED_INVALID_PATH;
                    break;
                case CFileException::diskFull:
                    nIDP = AFX_IDP_FAILED_DISK_FULL;
                    break;
                case CFileException::accessDenied:
                    nIDP = bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
                    break;
                default:
                    nIDP = bSaving ? AFX_IDP_FAILED_IO_ERROR_WRITE : AFX_IDP_FAILED_IO_ERROR_READ;
                    break;
                }
            }
        }
    }
    if (strPrompt.IsEmpty())
        AfxFormatString1(strPrompt, nIDP, FileTitleOf(lpszPathName));
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDP);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate != NULL && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(NULL);
}
