// The program's own message box: one message, OK (IDOK) and Cancel (IDCANCEL), no icon and
// no title, its button texts from the language table. The box takes the size of its message
// within the screen: wider, then taller, and when even the screen's height is not enough, the
// message scrolls.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"

class CDlgMessageBox : public CDialog
{
public:
    explicit CDlgMessageBox(CWnd* pParent = NULL);

    CString m_message;

protected:
    BOOL OnInitDialog() override;

    // Sizes the message control, and the box round it, to the message; the buttons keep their
    // place below it, centred.
    void FitToMessage();
    // Puts the message into a read-only edit control of the same place and id, which scrolls.
    void ShowScrollingMessage(CWnd* pText);
};
