#include "AfxDocTempl.h"

#include <shellapi.h>
#include <vector>

#include "AfxDDX.h"
#include "AfxDlgs.h"
#include "AfxRes.h"

// ---- CDocTemplate -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                           CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass)
{
    LoadTemplate();
}

CDocTemplate::~CDocTemplate() {}

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, (int)index);
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = NULL;
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL)
    {
        CDocument* pDoc = GetNextDoc(pos);
        if (AfxComparePath(pDoc->GetPathName(), lpszPathName))
        {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }

    CString strFilterExt;
    if (GetDocString(strFilterExt, filterExt) && !strFilterExt.IsEmpty())
    {
        CString strPath(lpszPathName);
        int nDot = strPath.ReverseFind(L'.');
        int nSlash = strPath.ReverseFind(L'\\');
        if (strPath.ReverseFind(L'/') > nSlash)
            nSlash = strPath.ReverseFind(L'/');
        if (nDot > nSlash)
        {
            CString strExt = strPath.Mid(nDot);
            int nStart = 0;
            for (CString strOne = strFilterExt.Tokenize(L";", nStart); nStart != -1;
                 strOne = strFilterExt.Tokenize(L";", nStart))
            {
                if (AfxComparePath(strExt, strOne))
                    return yesAttemptNative;
            }
        }
    }
    return yesAttemptForeign;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = NULL;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (m_pDocClass == NULL)
        return NULL;
    CDocument* pDocument = (CDocument*)m_pDocClass->CreateObject();
    if (pDocument != NULL)
        AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CFrameWnd* pFrame = (CFrameWnd*)m_pFrameClass->CreateObject();
    if (pFrame == NULL)
        return NULL;
    // A frame that fails has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context))
        return NULL;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strDocName;
    if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
        strDocName.LoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strDocName);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL)
    {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    POSITION pos = GetFirstDocPosition();
    while (pos != NULL)
        GetNextDoc(pos)->OnCloseDocument();
}

// ---- CSingleDocTemplate -----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                       CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(NULL)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A document that outlives its template must not call back into it.
    if (m_pOnlyDoc != NULL)
        CDocTemplate::RemoveDocument(m_pOnlyDoc);
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const
{
    // Any non-NULL position stands for the one document.
    return m_pOnlyDoc == NULL ? NULL : (POSITION)&m_pOnlyDoc;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    CDocument* pDoc = rPos != NULL ? m_pOnlyDoc : NULL;
    rPos = NULL;
    return pDoc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = NULL;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = NULL;
    CFrameWnd* pFrame = NULL;
    BOOL bCreated = FALSE;
    if (m_pOnlyDoc != NULL)
    {
        // The one document is reused, once its changes are settled.
        pDocument = m_pOnlyDoc;
        if (!pDocument->SaveModified())
            return NULL;
        CView* pView = NULL;
        POSITION pos = pDocument->GetFirstViewPosition();
        if (pos != NULL)
            pView = pDocument->GetNextView(pos);
        pFrame = pView != NULL ? pView->GetParentFrame() : NULL;
        if (pFrame == NULL)
            pFrame = (CFrameWnd*)AfxGetMainWnd();
    }
    else
    {
        pDocument = CreateNewDocument();
        bCreated = TRUE;
    }
    if (pDocument == NULL)
    {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return NULL;
    }

    if (pFrame == NULL)
    {
        // The document must survive a frame that fails half-way.
        BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, NULL);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (pFrame == NULL)
        {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            delete pDocument;
            return NULL;
        }
    }

    if (lpszPathName == NULL)
    {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument())
        {
            if (bCreated)
                pFrame->DestroyWindow();   // and with it the document
            return NULL;
        }
    }
    else
    {
        CWaitCursor wait;
        BOOL bWasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        if (!pDocument->OnOpenDocument(lpszPathName))
        {
            if (bCreated)
            {
                pFrame->DestroyWindow();
            }
            else if (!pDocument->IsModified())
            {
                pDocument->SetModifiedFlag(bWasModified);   // untouched by the failure
            }
            else
            {
                // The failed read spoilt the document: it starts again empty.
                SetDefaultTitle(pDocument);
                pDocument->OnNewDocument();
            }
            return NULL;
        }
        pDocument->SetPathName(lpszPathName);
    }

    CWinThread* pThread = AfxGetThread();
    if (bCreated && pThread != NULL && pThread->m_pMainWnd == NULL)
        pThread->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

// ---- CDocManager ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocManager::CDocManager() {}

CDocManager::~CDocManager()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != NULL)
        delete (CDocTemplate*)m_templateList.GetNext(pos);
    m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const
{
    return m_templateList.GetHeadPosition();
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return (CDocTemplate*)m_templateList.GetNext(pos);
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
    // A name from a shell may come quoted.
    CString strName(lpszFileName);
    strName.Trim();
    if (strName.GetLength() >= 2 && strName[0] == L'"' && strName[strName.GetLength() - 1] == L'"')
        strName = strName.Mid(1, strName.GetLength() - 2);
    CString strPath = AfxFullPath(strName);

    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocTemplate* pBestTemplate = NULL;
    CDocument* pOpenDocument = NULL;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != NULL)
    {
        CDocTemplate* pTemplate = (CDocTemplate*)m_templateList.GetNext(pos);
        CDocTemplate::Confidence match = pTemplate->MatchDocType(strPath, pOpenDocument);
        if (match > bestMatch)
        {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen)
            break;
    }

    if (pOpenDocument != NULL)
    {
        // Already open: its frame comes to the front, nothing is read again.
        POSITION posView = pOpenDocument->GetFirstViewPosition();
        if (posView != NULL)
        {
            CFrameWnd* pFrame = pOpenDocument->GetNextView(posView)->GetParentFrame();
            if (pFrame != NULL)
                pFrame->ActivateFrame();
        }
        return pOpenDocument;
    }
    if (pBestTemplate == NULL)
    {
        CString strPrompt;
        AfxFormatString1(strPrompt, AFX_IDP_FAILED_TO_OPEN_DOC, strPath);
        AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, AFX_IDP_FAILED_TO_OPEN_DOC);
        return NULL;
    }
    return pBestTemplate->OpenDocumentFile(strPath);
}

BOOL CDocManager::SaveAllModified()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != NULL)
    {
        if (!((CDocTemplate*)m_templateList.GetNext(pos))->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos != NULL)
        ((CDocTemplate*)m_templateList.GetNext(pos))->CloseAllDocuments(bEndSession);
}

namespace {

// "name\0*.ext1;*.ext2\0" of a template with both fields; the first template's first
// extension becomes the default one.
void AppendFilterSuffix(std::vector<WCHAR>& filter, OPENFILENAMEW& ofn, CDocTemplate* pTemplate,
                        CString* pstrDefaultExt)
{
    CString strFilterExt;
    CString strFilterName;
    if (!pTemplate->GetDocString(strFilterExt, CDocTemplate::filterExt) ||
        strFilterExt.IsEmpty() ||
        !pTemplate->GetDocString(strFilterName, CDocTemplate::filterName) ||
        strFilterName.IsEmpty())
        return;

    if (pstrDefaultExt != NULL)
        pstrDefaultExt->Empty();
    CString strPatterns;
    int nStart = 0;
    for (CString strExt = strFilterExt.Tokenize(L";", nStart); nStart != -1;
         strExt = strFilterExt.Tokenize(L";", nStart))
    {
        if (pstrDefaultExt != NULL && pstrDefaultExt->IsEmpty())
        {
            *pstrDefaultExt = strExt.Mid(1);   // without its dot
            ofn.lpstrDefExt = pstrDefaultExt->GetString();
            ofn.nFilterIndex = ofn.nMaxCustFilter + 1;
        }
        if (!strPatterns.IsEmpty())
            strPatterns += L';';
        strPatterns += L"*" + strExt;
    }
    filter.insert(filter.end(), strFilterName.GetString(),
                  strFilterName.GetString() + strFilterName.GetLength() + 1);
    filter.insert(filter.end(), strPatterns.GetString(),
                  strPatterns.GetString() + strPatterns.GetLength() + 1);
    ofn.nMaxCustFilter++;
}

} // namespace

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                   BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    CFileDialog dlgFile(bOpenFileDialog, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, NULL,
                        NULL, 0);
    CString strTitle;
    strTitle.LoadString(nIDSTitle);
    dlgFile.m_ofn.Flags |= lFlags;

    std::vector<WCHAR> filter;
    CString strDefault;
    if (pTemplate != NULL)
    {
        AppendFilterSuffix(filter, dlgFile.m_ofn, pTemplate, &strDefault);
    }
    else
    {
        BOOL bFirst = TRUE;
        POSITION pos = m_templateList.GetHeadPosition();
        while (pos != NULL)
        {
            AppendFilterSuffix(filter, dlgFile.m_ofn, (CDocTemplate*)m_templateList.GetNext(pos),
                               bFirst ? &strDefault : NULL);
            bFirst = FALSE;
        }
    }
    CString strAllFilter;
    strAllFilter.LoadString(AFX_IDS_ALLFILTER);
    filter.insert(filter.end(), strAllFilter.GetString(),
                  strAllFilter.GetString() + strAllFilter.GetLength() + 1);
    static const WCHAR szAll[] = L"*.*";
    filter.insert(filter.end(), szAll, szAll + ARRAYSIZE(szAll));
    filter.push_back(0);
    dlgFile.m_ofn.nMaxCustFilter++;

    dlgFile.m_ofn.lpstrFilter = filter.data();
    dlgFile.m_ofn.lpstrTitle = strTitle;
    dlgFile.m_ofn.lpstrFile = fileName.GetBuffer(MAX_PATH);
    dlgFile.m_ofn.nMaxFile = MAX_PATH;
    INT_PTR nResult = dlgFile.DoModal();
    fileName.ReleaseBuffer();
    return nResult == IDOK;
}

void CDocManager::OnFileNew()
{
    if (m_templateList.IsEmpty())
    {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return;
    }
    // The first template: the program has one.
    ((CDocTemplate*)m_templateList.GetHead())->OpenDocumentFile(NULL);
}

void CDocManager::OnFileOpen()
{
    CString strNewName;
    if (!DoPromptFileName(strNewName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE,
                          NULL))
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->OpenDocumentFile(strNewName);
}

// ---- CRecentFileList --------------------------------------------------------------------------

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat,
                                 int nSize, int nMaxDispLen)
    : m_nSize(nSize), m_arrNames(new CString[nSize]), m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat), m_nStart(nStart), m_nMaxDisplayLength(nMaxDispLen)
{
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

void CRecentFileList::Add(LPCTSTR lpszPathName)
{
    CString strPath = AfxFullPath(lpszPathName);
    // The same file further down moves up; otherwise the last entry drops out.
    int iMRU;
    for (iMRU = 0; iMRU < m_nSize - 1; iMRU++)
    {
        if (AfxComparePath(m_arrNames[iMRU], strPath))
            break;
    }
    for (; iMRU > 0; iMRU--)
        m_arrNames[iMRU] = m_arrNames[iMRU - 1];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nSize)
        return;
    for (int i = nIndex; i < m_nSize - 1; i++)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    for (int iMRU = 0; iMRU < m_nSize; iMRU++)
    {
        CString strEntry;
        strEntry.Format(m_strEntryFormat, iMRU + 1);
        m_arrNames[iMRU] = pApp->GetProfileString(m_strSectionName, strEntry, L"");
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
        return;
    // The section is written afresh, so that removed entries do not come back.
    pApp->WriteProfileString(m_strSectionName, NULL, NULL);
    for (int iMRU = 0; iMRU < m_nSize; iMRU++)
    {
        if (m_arrNames[iMRU].IsEmpty())
            continue;
        CString strEntry;
        strEntry.Format(m_strEntryFormat, iMRU + 1);
        pApp->WriteProfileString(m_strSectionName, strEntry, m_arrNames[iMRU]);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty())
        return FALSE;
    const CString& strPath = m_arrNames[nIndex];
    strName = strPath;
    if (m_nMaxDisplayLength <= 0 || strPath.GetLength() <= m_nMaxDisplayLength)
        return TRUE;
    // The root, "...", then as many of the last folders as fit; the file name always.
    const int nTitle = strPath.ReverseFind(L'\\') + 1;
    const int nRootEnd = strPath.Find(L'\\') + 1;
    if (nTitle <= nRootEnd)
        return TRUE;
    const CString strRoot = strPath.Left(nRootEnd);
    CString strTail = strPath.Mid(nTitle);
    int nCut = nTitle - 1;
    while (nCut > nRootEnd)
    {
        const int nPrev = strPath.Left(nCut).ReverseFind(L'\\');
        if (nPrev < nRootEnd - 1)
            break;
        const CString strLonger = strPath.Mid(nPrev + 1);
        if (strRoot.GetLength() + 4 + strLonger.GetLength() > m_nMaxDisplayLength)
            break;
        strTail = strLonger;
        nCut = nPrev;
    }
    strName = strRoot + L"...\\" + strTail;
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (m_strOriginal.IsEmpty() && pMenu != NULL)
        pMenu->GetMenuString(pCmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_nSize == 0 || m_arrNames[0].IsEmpty())
    {
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    if (pMenu == NULL)
        return;
    for (int i = 0; i < m_nSize; i++)
        pMenu->DeleteMenu(pCmdUI->m_nID + i, MF_BYCOMMAND);
    for (int i = 0; i < m_nSize; i++)
    {
        CString strName;
        if (!GetDisplayName(strName, i))
            break;
        strName.Replace(L"&", L"&&");
        CString strText;
        strText.Format(L"&%d %s", (i + 1) % 10, (LPCTSTR)strName);
        pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID + i,
                          strText);
    }
    // The update loop goes on after the entries just put in.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = (UINT)pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == NULL)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::OnOpenRecentFile(UINT nID)
{
    if (m_pRecentFileList == NULL)
        return;
    const int nIndex = (int)(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize())
        return;
    const CString strPath = (*m_pRecentFileList)[nIndex];
    if (strPath.IsEmpty())
        return;
    // A file since moved or deleted has been reported by the open; it leaves the list. A
    // file that is still there stays, whatever stopped the open (the user may have cancelled).
    if (OpenDocumentFile(strPath) == NULL &&
        GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES)
        m_pRecentFileList->Remove(nIndex);
}

// ---- CCommandLineInfo -------------------------------------------------------------------------

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() {}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(pszParam);
    else
        ParseParamNotFlag(pszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCTSTR pszParam)
{
    // The shell's switches match case, the registration ones do not.
    if (lstrcmpW(pszParam, L"pt") == 0)
        m_nShellCommand = FilePrintTo;
    else if (lstrcmpW(pszParam, L"p") == 0)
        m_nShellCommand = FilePrint;
    else if (lstrcmpiW(pszParam, L"Register") == 0 || lstrcmpiW(pszParam, L"Regserver") == 0)
        m_nShellCommand = AppRegister;
    else if (lstrcmpiW(pszParam, L"Unregister") == 0 || lstrcmpiW(pszParam, L"Unregserver") == 0)
        m_nShellCommand = AppUnregister;
    else if (lstrcmpW(pszParam, L"dde") == 0)
        m_nShellCommand = FileDDE;
    else if (lstrcmpiW(pszParam, L"Embedding") == 0)
    {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    }
    else if (lstrcmpiW(pszParam, L"Automation") == 0)
    {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCTSTR pszParam)
{
    if (m_strFileName.IsEmpty())
        m_strFileName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
        m_strPrinterName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
        m_strDriverName = pszParam;
    else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
        m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (!bLast)
        return;
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}

// ---- CWinApp's document members ---------------------------------------------------------------

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (m_pDocManager == NULL)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return m_pDocManager != NULL ? m_pDocManager->OpenDocumentFile(lpszFileName) : NULL;
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (m_pRecentFileList != NULL)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    if (nMaxMRU != 0 && m_pRecentFileList == NULL)
    {
        m_pRecentFileList = new CRecentFileList(0, L"Recent File List", L"File%d", (int)nMaxMRU);
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != NULL)
        m_pRecentFileList->WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt(L"Settings", L"PreviewPages", (int)m_nNumPreviewPages);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    // The system's rules for quotes and backslashes; a dummy first word stands for the
    // program's name, which m_lpCmdLine lacks.
    CString strLine = m_lpCmdLine != NULL ? L"x " + CString(m_lpCmdLine) : CString(GetCommandLineW());
    int nArgs = 0;
    LPWSTR* argv = CommandLineToArgvW(strLine, &nArgs);
    if (argv == NULL)
        return;
    for (int i = 1; i < nArgs; i++)
    {
        LPCWSTR pszParam = argv[i];
        BOOL bFlag = FALSE;
        if (pszParam[0] == L'-' || pszParam[0] == L'/')
        {
            bFlag = TRUE;
            ++pszParam;
        }
        rCmdInfo.ParseParam(pszParam, bFlag, i + 1 == nArgs);
    }
    LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    BOOL bResult = TRUE;
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        // The application's own New, when it maps one.
        if (!OnCmdMsg(ID_FILE_NEW, 0, NULL, NULL))
            OnFileNew();
        if (m_pMainWnd == NULL)
            bResult = FALSE;
        break;
    case CCommandLineInfo::FileOpen:
        if (OpenDocumentFile(rCmdInfo.m_strFileName) == NULL)
            bResult = FALSE;
        break;
    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FilePrint:
        // Prints without showing the program, then ends it.
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(rCmdInfo.m_strFileName) != NULL && m_pMainWnd != NULL)
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        bResult = FALSE;
        break;
    case CCommandLineInfo::FileDDE:
        m_nCmdShow = SW_HIDE;
        break;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        bResult = FALSE;   // nothing is registered: the run ends
        break;
    default:
        break;
    }
    return bResult;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                               BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    if (m_pDocManager == NULL)
        m_pDocManager = new CDocManager;
    return m_pDocManager->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager == NULL || m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager != NULL)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

void CWinApp::HideApplication()
{
    if (m_pMainWnd == NULL)
        return;
    m_pMainWnd->ShowWindow(SW_HIDE);
    ::ShowOwnedPopups(m_pMainWnd->GetSafeHwnd(), FALSE);
    m_pMainWnd->SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileOpen();
}
