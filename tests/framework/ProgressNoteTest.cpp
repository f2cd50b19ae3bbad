#include "MosaicTest.h"

#include <commctrl.h>

#include "AfxProgress.h"

namespace {

BOOL CALLBACK FindNote(HWND hWnd, LPARAM lParam)
{
    if (IsWindowVisible(hWnd) && FindWindowExW(hWnd, NULL, PROGRESS_CLASSW, NULL) != NULL)
    {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND ShownNote()
{
    HWND hNote = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindNote, (LPARAM)&hNote);
    return hNote;
}

// Before the main window shows (a picture named on the command line), the note still tells
// the user what is going on, in the middle of the work area.
TEST(ProgressNote, WithoutAMainWindowStandsInTheWorkAreaAndFollowsItsPercent)
{
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    {
        CProgressNote note;
        note.Show(L"photo.jpg");
        HWND hNote = ShownNote();
        ASSERT_NE(hNote, nullptr);
        RECT rect;
        GetWindowRect(hNote, &rect);
        EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
        EXPECT_EQ(GetWindow(hNote, GW_OWNER), nullptr);

        HWND hText = FindWindowExW(hNote, NULL, L"Static", NULL);
        ASSERT_NE(hText, nullptr);
        WCHAR text[32] = {};
        GetWindowTextW(hText, text, ARRAYSIZE(text));
        EXPECT_EQ(lstrcmpW(text, L"photo.jpg"), 0);

        HWND hBar = FindWindowExW(hNote, NULL, PROGRESS_CLASSW, NULL);
        note.SetPercent(40);
        EXPECT_EQ(SendMessageW(hBar, PBM_GETPOS, 0, 0), 40);
        note.SetPercent(250);
        EXPECT_EQ(SendMessageW(hBar, PBM_GETPOS, 0, 0), 100);
    }
    EXPECT_EQ(ShownNote(), nullptr);
}

}   // namespace
