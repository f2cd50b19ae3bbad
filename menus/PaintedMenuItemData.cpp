#include "PaintedMenuItemData.h"

#include "AfxApp.h"
#include "AfxFrame.h"
#include "PaintedMenuIcons.h"

IMPLEMENT_DYNAMIC(CPaintedMenuItemData, CObject)

CPaintedMenuItemData::CPaintedMenuItemData()
    : m_nExtendedFlags(0), m_nFlags(0), m_nID(0), m_bClaimed(0), m_pIcons(NULL), m_nImage(-1),
      m_pContext(NULL)
{
}

CPaintedMenuItemData::~CPaintedMenuItemData()
{
    CPaintedMenuIcons::Release(m_pIcons);
}

void CPaintedMenuItemData::SetText(LPCTSTR lpszText)
{
    m_strText = lpszText != NULL ? lpszText : L"";
}

void CPaintedMenuItemData::SetIcons(CPaintedMenuIcons* pIcons, int nImage)
{
    // Taken before the release, so that giving the same store again keeps it alive.
    CPaintedMenuIcons::AddRef(pIcons);
    CPaintedMenuIcons::Release(m_pIcons);
    m_pIcons = pIcons;
    m_nImage = pIcons != NULL ? nImage : -1;
}

CString& CPaintedMenuItemData::GetShortCutText(CString& strText, HACCEL hAccel) const
{
    strText = m_strText;
    const int nTab = m_strText.Find(L'\t');
    if ((m_nFlags & MF_POPUP) != 0 || hAccel == NULL)
    {
        if (nTab >= 0)
            strText = m_strText.Left(nTab);
        return strText;
    }
    if (nTab >= 0)
        return strText;
    if (hAccel == (HACCEL)-1)
    {
        CWnd* pMain = AfxGetMainWnd();
        CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pMain);
        if (pFrame == NULL)
            return strText;
        hAccel = pFrame->GetDefaultAccelerator();
    }
    const CString strAccel = PaintedMenuAcceleratorText(hAccel, m_nID);
    if (!strAccel.IsEmpty())
        strText = m_strText + L"\t" + strAccel;
    return strText;
}

CString PaintedMenuKeyName(WORD nKey)
{
    if ((nKey >= L'0' && nKey <= L'9') || (nKey >= L'A' && nKey <= L'Z'))
        return CString((WCHAR)nKey, 1);
    if (nKey >= VK_F1 && nKey <= VK_F24)
    {
        CString strName;
        strName.Format(L"F%d", nKey - VK_F1 + 1);
        return strName;
    }
    if (nKey >= VK_NUMPAD0 && nKey <= VK_NUMPAD9)
    {
        CString strName;
        strName.Format(L"Num %d", nKey - VK_NUMPAD0);
        return strName;
    }
    static const struct
    {
        WORD nKey;
        LPCWSTR lpszName;
    } kNames[] = {{VK_BACK, L"Backspace"}, {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"},
                  {VK_ESCAPE, L"Esc"},     {VK_SPACE, L"Space"}, {VK_PRIOR, L"Page Up"},
                  {VK_NEXT, L"Page Down"}, {VK_END, L"End"},     {VK_HOME, L"Home"},
                  {VK_LEFT, L"Left"},      {VK_UP, L"Up"},       {VK_RIGHT, L"Right"},
                  {VK_DOWN, L"Down"},      {VK_INSERT, L"Ins"},  {VK_DELETE, L"Del"},
                  {VK_MULTIPLY, L"Num *"}, {VK_ADD, L"Num +"},   {VK_SUBTRACT, L"Num -"},
                  {VK_DECIMAL, L"Num ."},  {VK_DIVIDE, L"Num /"}, {VK_PAUSE, L"Pause"}};
    for (const auto& name : kNames)
        if (name.nKey == nKey)
            return name.lpszName;
    CString strName;
    strName.Format(L"#%d", nKey);
    return strName;
}

CString PaintedMenuAcceleratorText(HACCEL hAccel, UINT nID)
{
    CString strAccel;
    const int nCount = hAccel != NULL ? CopyAcceleratorTableW(hAccel, NULL, 0) : 0;
    if (nCount <= 0)
        return strAccel;
    ACCEL* pEntries = new ACCEL[nCount];
    CopyAcceleratorTableW(hAccel, pEntries, nCount);
    for (int i = 0; i < nCount; i++)
    {
        const ACCEL& entry = pEntries[i];
        if (entry.cmd != (WORD)nID)
            continue;
        if (!strAccel.IsEmpty())
            strAccel += L", ";
        if (entry.fVirt & FALT)
            strAccel += L"Alt+";
        if (entry.fVirt & FCONTROL)
            strAccel += L"Ctrl+";
        if (entry.fVirt & FSHIFT)
            strAccel += L"Shift+";
        if (entry.fVirt & FVIRTKEY)
            strAccel += PaintedMenuKeyName(entry.key);
        else
            strAccel += CString((WCHAR)entry.key, 1);
    }
    delete[] pEntries;
    return strAccel;
}
