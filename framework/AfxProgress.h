// A small note over the main window that tells how far a long operation has come: a line of
// text above a progress bar, centred on the main window, or on the work area before the
// main window shows.
#pragma once

#include <windows.h>

class CProgressNote
{
public:
    CProgressNote() {}
    // Takes the note away.
    ~CProgressNote();

    // Shows the note with this text at 0 %, or changes the text of the one shown.
    void Show(LPCTSTR lpszText);
    // Moves the bar to nPercent (0 to 100) and paints the note at once: the operation keeps
    // the thread, so nothing else would paint it.
    void SetPercent(int nPercent);
    void Hide();

    CProgressNote(const CProgressNote&) = delete;
    CProgressNote& operator=(const CProgressNote&) = delete;

private:
    void Paint();

    HWND m_hWnd = NULL;
    HWND m_hText = NULL;
    HWND m_hBar = NULL;
    HFONT m_hFont = NULL;
};
