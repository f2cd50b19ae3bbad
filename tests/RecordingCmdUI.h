// Records what an update handler asks of a menu item or a button: -1 while it asks nothing.
#pragma once

#include "AfxMsgMap.h"

class RecordingCmdUI : public CCmdUI
{
public:
    int nEnabled = -1;
    int nChecked = -1;
    void Enable(BOOL bOn) override { nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { nChecked = nCheck; }
};
