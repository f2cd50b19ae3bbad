#include "MosaicTest.h"

#include <cerrno>
#include <functional>

#include "ResourceLanguage.h"

#include "AfxException.h"
#include "resource.h"

namespace {

CString MessageOf(const CException& e)
{
    WCHAR sz[256];
    UINT nHelpContext = 99;
    if (!e.GetErrorMessage(sz, ARRAYSIZE(sz), &nHelpContext))
        return L"<none>";
    EXPECT_EQ(nHelpContext, 0u);
    return sz;
}

TEST(Exception, RunTimeClasses)
{
    CFileException fileException;
    EXPECT_TRUE(fileException.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_TRUE(fileException.IsKindOf(RUNTIME_CLASS(CFileException)));
    EXPECT_FALSE(fileException.IsKindOf(RUNTIME_CLASS(CArchiveException)));
    CMemoryException memoryException;
    EXPECT_TRUE(memoryException.IsKindOf(RUNTIME_CLASS(CSimpleException)));
    EXPECT_STREQ(memoryException.GetRuntimeClass()->m_lpszClassName, "CMemoryException");
}

TEST(Exception, OsErrorsMapToCauses)
{
    struct Case { LONG lOsError; int cause; } cases[] = {
        { NO_ERROR, CFileException::none },
        { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
        { ERROR_PATH_NOT_FOUND, CFileException::badPath },
        { ERROR_INVALID_NAME, CFileException::badPath },
        { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
        { ERROR_ACCESS_DENIED, CFileException::accessDenied },
        { ERROR_FILE_EXISTS, CFileException::accessDenied },
        { ERROR_INVALID_HANDLE, CFileException::fileNotFound },
        { ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir },
        { ERROR_NEGATIVE_SEEK, CFileException::badSeek },
        { ERROR_CRC, CFileException::hardIO },
        { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
        { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
        { ERROR_DISK_FULL, CFileException::diskFull },
        { ERROR_HANDLE_EOF, CFileException::endOfFile },
        { ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::OsErrorToException(c.lOsError), c.cause) << c.lOsError;

    EXPECT_EQ(CFileException::ErrnoToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::ErrnoToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToException(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToException(EINVAL), CFileException::genericException);
}

TEST(Exception, ThrowOsErrorFillsTheException)
{
    CFileException::ThrowOsError(0, L"x");   // no error: nothing thrown
    try
    {
        CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, L"C:\\a.ms2");
        FAIL() << "not thrown";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
        EXPECT_EQ(e->m_lOsError, (LONG)ERROR_SHARING_VIOLATION);
        EXPECT_EQ(e->m_strFileName, CString(L"C:\\a.ms2"));
        e->Delete();
    }
    try
    {
        AfxThrowFileException(CFileException::diskFull);
    }
    catch (CException* e)
    {
        CFileException* pFile = DYNAMIC_DOWNCAST(CFileException, e);
        ASSERT_NE(pFile, nullptr);
        EXPECT_EQ(pFile->m_cause, CFileException::diskFull);
        EXPECT_EQ(pFile->m_lOsError, -1);
        EXPECT_TRUE(pFile->m_strFileName.IsEmpty());
        e->Delete();
    }
}

TEST(Exception, MessagesNameTheFileInTheLanguageOfTheResources)
{
    const struct
    {
        std::function<CString()> message;
        LPCWSTR lpszEnglish;
        LPCWSTR lpszFrench;
    } cases[] = {
        {[] { return MessageOf(CFileException(CFileException::fileNotFound, 2, L"a.pal")); },
         L"a.pal was not found.", L"a.pal est introuvable."},
        {[] { return MessageOf(CFileException(CFileException::accessDenied, 5, L"b.ms2")); },
         L"Access to b.ms2 was denied.", L"L'accès à b.ms2 a été refusé."},
        {[] { return MessageOf(CFileException(CFileException::diskFull)); },
         L"Disk full while accessing an unnamed file.",
         L"Le disque est plein lors de l'accès à un fichier sans nom."},
        // An unknown cause: the generic text.
        {[] { return MessageOf(CFileException(42, -1, L"c")); },
         L"An unknown error occurred while accessing c.",
         L"Une erreur inconnue s'est produite lors de l'accès à c."},
        {[] { return MessageOf(CArchiveException(CArchiveException::endOfFile, L"d.ms2")); },
         L"An attempt was made to access d.ms2 past its end.",
         L"Tentative d'accès à d.ms2 au-delà de sa fin."},
        {[] { return MessageOf(CArchiveException(CArchiveException::badSchema, L"e.pal")); },
         L"e.pal contains an incorrect schema.", L"e.pal contient un schéma incorrect."},
        {[] { return MessageOf(CMemoryException()); }, L"Out of memory.",
         L"Mémoire insuffisante."},
        {[] { return MessageOf(CNotSupportedException()); },
         L"An unsupported operation was attempted.",
         L"Une opération non prise en charge a été tentée."},
    };
    for (const auto& c : cases)
    {
        {
            CResourceLanguage english(kEnglishResources);
            EXPECT_EQ(c.message(), CString(c.lpszEnglish));
        }
        CResourceLanguage french(kFrenchResources);
        EXPECT_EQ(c.message(), CString(c.lpszFrench));
    }

    class CBareException : public CException {} bare;
    EXPECT_EQ(MessageOf(bare), CString(L"<none>"));

    // Cut to the buffer, always terminated.
    WCHAR sz[6];
    EXPECT_TRUE(CFileException(CFileException::fileNotFound, 2, L"abcdefgh")
                    .GetErrorMessage(sz, ARRAYSIZE(sz)));
    EXPECT_EQ(CString(sz), CString(L"abcde"));
}

TEST(Exception, MemoryExceptionIsPreallocated)
{
    CMemoryException* pFirst = NULL;
    for (int i = 0; i < 2; ++i)
    {
        try
        {
            AfxThrowMemoryException();
        }
        catch (CMemoryException* e)
        {
            EXPECT_FALSE(e->m_bAutoDelete);
            if (pFirst == NULL)
                pFirst = e;
            EXPECT_EQ(e, pFirst);
            e->Delete();   // must not free it
        }
    }
    CResourceLanguage english(kEnglishResources);
    EXPECT_EQ(MessageOf(*pFirst), CString(L"Out of memory."));
}

// Counts its deletions, to see who frees it.
class CCountedException : public CException
{
public:
    explicit CCountedException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    ~CCountedException() override { ++s_nDeleted; }
    static int s_nDeleted;
};
int CCountedException::s_nDeleted = 0;

class TryCatch : public testing::Test
{
protected:
    void SetUp() override { CCountedException::s_nDeleted = 0; }
};

TEST_F(TryCatch, CaughtExceptionIsDeletedAtTheEndOfTheBlock)
{
    bool bCaught = false;
    TRY
    {
        THROW(new CCountedException);
    }
    CATCH(CException, e)
    {
        bCaught = true;
        EXPECT_EQ(CCountedException::s_nDeleted, 0);
        (void)e;
    }
    END_CATCH
    EXPECT_TRUE(bCaught);
    EXPECT_EQ(CCountedException::s_nDeleted, 1);

    // CATCH_ALL the same way, and a manual Delete inside is not a second deletion.
    TRY
    {
        THROW(new CCountedException);
    }
    CATCH_ALL(e)
    {
        e->Delete();
    }
    END_CATCH_ALL
    EXPECT_EQ(CCountedException::s_nDeleted, 2);

    // Nothing thrown, nothing deleted.
    TRY
    {
    }
    CATCH_ALL(e)
    {
        (void)e;
    }
    END_CATCH_ALL
    EXPECT_EQ(CCountedException::s_nDeleted, 2);
}

TEST_F(TryCatch, ThrowLastPassesTheSameExceptionOn)
{
    CException* pInner = NULL;
    CException* pOuter = NULL;
    TRY
    {
        TRY
        {
            THROW(new CCountedException);
        }
        CATCH(CException, e)
        {
            pInner = e;
            THROW_LAST();
        }
        END_CATCH
    }
    CATCH(CException, e)
    {
        pOuter = e;
        EXPECT_EQ(CCountedException::s_nDeleted, 0);
    }
    END_CATCH
    EXPECT_EQ(pInner, pOuter);
    EXPECT_EQ(CCountedException::s_nDeleted, 1);
}

TEST_F(TryCatch, ClassesRouteToTheirBlocks)
{
    int nBlock = 0;
    TRY
    {
        AfxThrowArchiveException(CArchiveException::badClass);
    }
    CATCH(CFileException, e)
    {
        nBlock = 1;
        (void)e;
    }
    AND_CATCH(CArchiveException, e)
    {
        nBlock = 2;
        EXPECT_EQ(e->m_cause, CArchiveException::badClass);
    }
    AND_CATCH_ALL(e)
    {
        nBlock = 3;
        (void)e;
    }
    END_CATCH_ALL
    EXPECT_EQ(nBlock, 2);

    // A class no block names goes on, undeleted.
    CException* pEscaped = NULL;
    try
    {
        TRY
        {
            THROW(new CCountedException);
        }
        CATCH(CFileException, e)
        {
            (void)e;
        }
        END_CATCH
    }
    catch (CException* e)
    {
        pEscaped = e;
    }
    ASSERT_NE(pEscaped, nullptr);
    EXPECT_EQ(CCountedException::s_nDeleted, 0);
    pEscaped->Delete();
    EXPECT_EQ(CCountedException::s_nDeleted, 1);
}

TEST_F(TryCatch, NewExceptionFromACatchBlockReplacesTheOld)
{
    CException* pEscaped = NULL;
    try
    {
        TRY
        {
            THROW(new CCountedException);
        }
        CATCH(CCountedException, e)
        {
            (void)e;
            AfxThrowUserException();
        }
        END_CATCH
    }
    catch (CException* e)
    {
        pEscaped = e;
    }
    EXPECT_EQ(CCountedException::s_nDeleted, 1);
    ASSERT_NE(pEscaped, nullptr);
    EXPECT_TRUE(pEscaped->IsKindOf(RUNTIME_CLASS(CUserException)));
    pEscaped->Delete();
}

TEST_F(TryCatch, StaticExceptionIsNotDeleted)
{
    static CCountedException s_static(FALSE);
    TRY
    {
        THROW(&s_static);
    }
    CATCH_ALL(e)
    {
        (void)e;
    }
    END_CATCH_ALL
    EXPECT_EQ(CCountedException::s_nDeleted, 0);
}

// Reads the text of the message box once it shows, then closes it. A box is activated again
// while it closes: only its first activation counts.
CString g_strBoxText;
HWND g_hBox = NULL;
HWND g_hClosedBox = NULL;

void CALLBACK CloseMessageBoxTimer(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(NULL, idEvent);
    // The text is the static control 0xFFFF (GetDlgItem does not find that id here).
    for (HWND hChild = GetWindow(g_hBox, GW_CHILD); hChild != NULL;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if (GetDlgCtrlID(hChild) == 0xFFFF)
        {
            WCHAR sz[256] = {};
            GetWindowTextW(hChild, sz, ARRAYSIZE(sz));
            g_strBoxText = sz;
        }
    }
    EndDialog(g_hBox, IDOK);
    g_hClosedBox = g_hBox;
    g_hBox = NULL;
}

LRESULT CALLBACK CloseMessageBox(int nCode, WPARAM wParam, LPARAM lParam)
{
    WCHAR szClass[16] = {};
    if (nCode == HCBT_ACTIVATE && g_hBox == NULL && (HWND)wParam != g_hClosedBox &&
        GetClassNameW((HWND)wParam, szClass, ARRAYSIZE(szClass)) &&
        lstrcmpW(szClass, L"#32770") == 0)
    {
        g_hBox = (HWND)wParam;
        SetTimer(NULL, 0, 0, CloseMessageBoxTimer);
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

TEST(Exception, ReportErrorShowsTheMessage)
{
    CResourceLanguage english(kEnglishResources);
    HHOOK hHook = SetWindowsHookExW(WH_CBT, CloseMessageBox, NULL, GetCurrentThreadId());
    ASSERT_NE(hHook, nullptr);

    CFileException fileException(CFileException::fileNotFound, 2, L"a.pal");
    EXPECT_EQ(fileException.ReportError(), IDOK);
    EXPECT_EQ(g_strBoxText, CString(L"a.pal was not found."));

    // Without a message of its own it shows the given string.
    class CBareException : public CException {} bare;
    bare.ReportError(MB_OK, 0xE000);  // the application title string
    EXPECT_EQ(g_strBoxText, CString(L"Mosaic"));

    UnhookWindowsHookEx(hHook);
}

} // namespace
