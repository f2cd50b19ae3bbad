// CDocument: the data of a document/view program, with its views, its title and path
// name, and the framework's protocol to create, open, save and close it.
#pragma once

#include <windows.h>

#include "AfxWin.h"
#include "AfxColl.h"
#include "AfxFile.h"

class CView;
class CDocTemplate;
class CFrameWnd;

// The framework's commands.
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108
#endif

// The framework's strings (resources/framework.rc holds their texts).
#define AFX_IDS_OPENFILE 0xF000
#define AFX_IDS_SAVEFILE 0xF001
#define AFX_IDS_ALLFILTER 0xF002
#define AFX_IDS_UNTITLED 0xF003
#define AFX_IDS_SAVEFILECOPY 0xF004
#define AFX_IDP_INVALID_FILENAME 0xF100
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF101
#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF102
#define AFX_IDP_ASK_TO_SAVE 0xF103
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF104
#define AFX_IDP_FAILED_INVALID_FORMAT 0xF120
#define AFX_IDP_FAILED_INVALID_PATH 0xF121
#define AFX_IDP_FAILED_DISK_FULL 0xF122
#define AFX_IDP_FAILED_ACCESS_READ 0xF123
#define AFX_IDP_FAILED_ACCESS_WRITE 0xF124
#define AFX_IDP_FAILED_IO_ERROR_READ 0xF125
#define AFX_IDP_FAILED_IO_ERROR_WRITE 0xF126

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    virtual ~CDocument();

    const CString& GetTitle() const { return m_strTitle; }
    // Also gives the frames their new caption.
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Stores the full path, takes the title from its file name and adds it to the
    // application's recent-file list.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // ---- Views ---------------------------------------------------------------------------
    virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    virtual CView* GetNextView(POSITION& rPosition) const
    {
        return (CView*)m_viewList.GetNext(rPosition);
    }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);
    // Numbers the frames that show the document and refreshes their captions.
    virtual void UpdateFrameCounts();
    virtual void OnChangedViewList();

    // ---- Open, save and close ------------------------------------------------------------
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Closes the document's frames, empties it and, with m_bAutoDelete, deletes it.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Asks whether to save a modified document: FALSE when the user cancels or the save
    // fails.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // A NULL or empty path asks for a name; bReplace makes the saved file the document's.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    // Save to the document's file, or Save As when it is read-only or gone.
    virtual BOOL DoFileSave();

    virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
    // The framework's message for a failed open or save: the exception's own text for a
    // file exception, otherwise the string nIDPDefault (or the one the cause maps to) with
    // the file's name for %1. A CUserException has been reported already.
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                         UINT nIDPDefault);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete;   // deleted when its last view goes

protected:
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;
    CPtrList m_viewList;
    BOOL m_bModified;

    friend class CDocTemplate;

    DECLARE_MESSAGE_MAP()
};

// The iSubString-th field of a chSep-separated string; FALSE past the last one.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString,
                         TCHAR chSep = L'\n');
// The full path of a file name, as GetFullPathName makes it.
CString AfxFullPath(LPCTSTR lpszFileIn);
// TRUE for two names of the same file (case-insensitive after full-path expansion).
BOOL AfxComparePath(LPCTSTR lpszPath1, LPCTSTR lpszPath2);
