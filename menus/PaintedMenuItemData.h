// CPaintedMenuItemData: what an owner-drawn menu item carries: its text, menu flags,
// command id and image.
#pragma once

#include "AfxObject.h"
#include "AfxString.h"
#include <windows.h>

class CPaintedMenuIcons;

class CPaintedMenuItemData : public CObject
{
    DECLARE_DYNAMIC(CPaintedMenuItemData)
public:
    CPaintedMenuItemData();
    virtual ~CPaintedMenuItemData();

    // The text with the accelerator text after a tab. hAccel NULL: none; (HACCEL)-1: the
    // main frame's default table.
    virtual CString& GetShortCutText(CString& strText, HACCEL hAccel) const;
    // A null text empties it.
    virtual void SetText(LPCTSTR lpszText);
    const CString& GetText() const { return m_strText; }
    // Holds a counted reference to pIcons (none for NULL) with the image index nImage.
    void SetIcons(CPaintedMenuIcons* pIcons, int nImage);

    CString m_strText;
    UINT m_nExtendedFlags;
    UINT m_nFlags;
    UINT m_nID;
    int m_bClaimed;
    CPaintedMenuIcons* m_pIcons;
    int m_nImage;
    void* m_pContext;
};

// The accelerator text of command nID in hAccel ("Ctrl+N, F2"), with the program's own
// key names.
CString PaintedMenuAcceleratorText(HACCEL hAccel, UINT nID);
// The program's name of a virtual key.
CString PaintedMenuKeyName(WORD nKey);
