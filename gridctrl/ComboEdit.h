// CComboEdit: the edit part of an in-place list. It hands the keys that end an edit to its
// list, and never lets the dialog see its keys.
#pragma once

#include "AfxCtrl.h"

class CComboEdit : public CEdit
{
public:
    CComboEdit();

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The list this edit part belongs to, NULL when it is not a combo box's.
    CWnd* GetList() const;

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};
