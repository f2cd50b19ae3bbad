#include "AfxBar.h"

#include <algorithm>
#include <vector>

#include "AfxResource.h"

namespace {

// The update of one toolbar button: enabling and checking change the button's state.
class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
        UINT nNewStyle = pToolBar->GetButtonStyle((int)m_nIndex) & ~TBBS_DISABLED;
        // A button disabled while pressed would stay drawn pressed.
        if (!bOn)
            nNewStyle = (nNewStyle | TBBS_DISABLED) & ~TBBS_PRESSED;
        pToolBar->SetButtonStyle((int)m_nIndex, nNewStyle);
    }
    // The button becomes a check box: a click toggles it until the next update.
    void SetCheck(int nCheck) override
    {
        CToolBar* pToolBar = static_cast<CToolBar*>(m_pOther);
        UINT nNewStyle =
            pToolBar->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            nNewStyle |= TBBS_CHECKED;
        else if (nCheck == 2)
            nNewStyle |= TBBS_INDETERMINATE;
        pToolBar->SetButtonStyle((int)m_nIndex, nNewStyle | TBBS_CHECKBOX);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR) override {}
};

} // namespace

// ---- CToolBarCtrl ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

CImageList* CToolBarCtrl::SetImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
}

CImageList* CToolBarCtrl::SetHotImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
}

CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* pImageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
}

// ---- CToolBar ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
END_MESSAGE_MAP()

CToolBar::CToolBar() : m_sizeButton(23, 22), m_sizeImage(16, 15), m_hbmImageWell(NULL)
{
    // A little more room above and below the buttons, to take hold of the bar.
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CToolBar::~CToolBar()
{
    DestroyWindow();
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle,
                    CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                        UINT nID)
{
    SetBorders(&rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;

    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    ::InitCommonControlsEx(&icc);
    // The control neither places nor sizes itself: the layout does.
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                       CCS_NODIVIDER | CCS_NORESIZE;
    if (dwStyle & CBRS_TOOLTIPS)
        dwWndStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::Create(TOOLBARCLASSNAMEW, NULL, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd == NULL)
        return;
    // The image first: the control fits its buttons around it.
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    Invalidate();
}

void CToolBar::SetHeight(int cyHeight)
{
    int cyRoom = cyHeight;
    if (m_dwStyle & CBRS_BORDER_TOP)
        cyRoom -= cxBorderLine;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        cyRoom -= cxBorderLine;
    // One row as the control lays it out, with the margin it keeps above the buttons.
    int cyRow = m_sizeButton.cy;
    CRect rectItem;
    if (GetCount() > 0 && SendMessage(TB_GETITEMRECT, 0, (LPARAM)&rectItem))
        cyRow = rectItem.bottom;
    m_cyBottomBorder = (cyRoom - cyRow) / 2;
    m_cyTopBorder = cyRoom - cyRow - m_cyBottomBorder;
    if (m_cyTopBorder < 0)
    {
        m_cyBottomBorder += m_cyTopBorder;
        m_cyTopBorder = 0;
    }
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    HRSRC hRsrc = ::FindResourceW(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRsrc == NULL)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const WORD* pData = hGlobal != NULL ? (const WORD*)::LockResource(hGlobal) : NULL;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || cbData < 4 * sizeof(WORD) || pData[0] != 1)
        return FALSE;
    int nCount = pData[3];
    if (cbData < (4 + (DWORD)nCount) * sizeof(WORD))
        return FALSE;

    std::vector<UINT> ids(pData + 4, pData + 4 + nCount);
    if (!SetButtons(ids.data(), nCount))
        return FALSE;
    CSize sizeImage(pData[1], pData[2]);
    SetSizes(CSize(sizeImage.cx + 7, sizeImage.cy + 7), sizeImage);
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    // The control's own colour mapping (of a bitmap with a colour table).
    HBITMAP hbm = ::CreateMappedBitmap(hInst, (INT_PTR)lpszResourceName, 0, NULL, 0);
    if (hbm == NULL)
        return FALSE;
    BITMAP bm = {};
    ::GetObjectW(hbm, sizeof(bm), &bm);
    int nImages = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;

    BOOL bResult;
    if (m_hbmImageWell == NULL)
    {
        TBADDBITMAP tbab = { NULL, (UINT_PTR)hbm };
        bResult = SendMessage(TB_ADDBITMAP, (WPARAM)nImages, (LPARAM)&tbab) != -1;
    }
    else
    {
        TBREPLACEBITMAP tbrb = { NULL, (UINT_PTR)m_hbmImageWell, NULL, (UINT_PTR)hbm, nImages };
        bResult = (BOOL)SendMessage(TB_REPLACEBITMAP, 0, (LPARAM)&tbrb);
    }
    if (!bResult)
    {
        ::DeleteObject(hbm);
        return FALSE;
    }
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbm;
    Invalidate();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    for (int nOld = GetCount(); nOld > 0; nOld--)
        SendMessage(TB_DELETEBUTTON, 0, 0);

    // The flat style draws its separators narrower.
    int cxSeparator = (GetStyle() & TBSTYLE_FLAT) ? 6 : 8;
    int iImage = 0;
    // All in one message: the control lays itself out at each.
    std::vector<TBBUTTON> buttons((size_t)std::max(nIDCount, 0));
    for (int i = 0; i < nIDCount; i++)
    {
        TBBUTTON& button = buttons[(size_t)i];
        button.idCommand = (int)lpIDArray[i];
        button.fsState = TBSTATE_ENABLED;
        button.iString = -1;
        if (button.idCommand == 0)
        {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = cxSeparator;
        }
        else
        {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = iImage++;
        }
    }
    return nIDCount <= 0 ||
           SendMessage(TB_ADDBUTTONSW, (WPARAM)nIDCount, (LPARAM)buttons.data()) != 0;
}

int CToolBar::GetCount() const
{
    return (int)SendMessage(TB_BUTTONCOUNT, 0, 0);
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return (int)SendMessage(TB_COMMANDTOINDEX, nIDFind, 0);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
    return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return;
    BYTE fsStyle = (BYTE)LOWORD(nStyle);
    BYTE fsState = (BYTE)(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    // The idle-time update sets the same styles again and again: only changes reach the
    // control, which redraws and lays itself out at each.
    if (fsStyle == button.fsStyle && fsState == button.fsState)
        return;
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE;
    info.fsStyle = fsStyle;
    info.fsState = fsState;
    SendMessage(TB_SETBUTTONINFOW, (WPARAM)nIndex, (LPARAM)&info);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button);
    nID = (UINT)button.idCommand;
    nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
    iImage = button.iBitmap;
}

CToolBarCtrl& CToolBar::GetToolBarCtrl() const
{
    // The same window and object seen through the control's class, which adds only
    // members that send messages.
    static_assert(sizeof(CToolBarCtrl) == sizeof(CWnd), "CToolBarCtrl must add no data");
    return *reinterpret_cast<CToolBarCtrl*>(const_cast<CToolBar*>(this));
}

CSize CToolBar::CalcButtonExtent() const
{
    CSize size(0, 0);
    int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
    {
        TBBUTTON button = {};
        CRect rect;
        if (!SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button) ||
            (button.fsState & TBSTATE_HIDDEN) ||
            !SendMessage(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect))
            continue;
        size.cx = std::max<LONG>(size.cx, rect.right);
        size.cy = std::max<LONG>(size.cy, rect.bottom);
    }
    return size;
}

CSize CToolBar::WrapAndMeasure(BOOL bHorz)
{
    // Every message to the control costs (the menus watch them all), and the frame's layout
    // measures the bars each time: one query of each button serves both the wrap and the
    // extent. Only a bar that changes side has its buttons wrapped anew; a button's place
    // then depends on the later ones' wraps too, so the extent is measured afterwards.
    const BOOL bDynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
    // The control draws its separators across a vertical bar.
    if (bDynamic)
        ModifyStyle(bHorz ? CCS_VERT : 0, bHorz ? 0 : CCS_VERT);
    CSize size(0, 0);
    BOOL bWrapped = FALSE;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
    {
        TBBUTTON button = {};
        if (!SendMessage(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button))
            continue;
        if (bDynamic)
        {
            const BYTE fsState = bHorz ? (BYTE)(button.fsState & ~TBSTATE_WRAP)
                                       : (BYTE)(button.fsState | TBSTATE_WRAP);
            if (fsState != button.fsState)
            {
                SetButtonStyle(i, MAKELONG(button.fsStyle, fsState ^ TBSTATE_ENABLED));
                bWrapped = TRUE;
            }
        }
        CRect rect;
        if (bWrapped || (button.fsState & TBSTATE_HIDDEN) ||
            !SendMessage(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect))
            continue;
        size.cx = std::max<LONG>(size.cx, rect.right);
        size.cy = std::max<LONG>(size.cy, rect.bottom);
    }
    return bWrapped ? CalcButtonExtent() : size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = WrapAndMeasure(bHorz) + CControlBar::CalcFixedLayout(FALSE, bHorz);
    if (bStretch)
    {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++)
    {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, state.m_nIndex, (LPARAM)&button);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nID = (UINT)button.idCommand;
        // The bar's own update handlers before its owner's.
        if (CCmdTarget::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO*) const
{
    // The gripper and borders lie outside the client area, where the control would still
    // answer with its nearest button.
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!rectClient.PtInRect(point))
        return -1;
    int nHit = (int)SendMessage(TB_HITTEST, 0, (LPARAM)&point);
    if (nHit < 0)
        return -1;
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, (WPARAM)nHit, (LPARAM)&button) || (button.fsStyle & TBSTYLE_SEP))
        return -1;
    return button.idCommand;
}

void CToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;   // the control may change its hot item
    if (!(m_dwStyle & CBRS_FLYBY))
        return;
    NMTBHOTITEM* pHotItem = (NMTBHOTITEM*)pNMHDR;
    UINT nID = (pHotItem->dwFlags & HICF_LEAVING) || pHotItem->idNew == 0
                   ? AFX_IDS_IDLEMESSAGE
                   : (UINT)pHotItem->idNew;
    if (CWnd* pOwner = GetOwner())
        pOwner->SendMessage(WM_SETMESSAGESTRING, nID);
}
