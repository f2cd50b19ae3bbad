#include "PaintedMenu.h"

#include "AfxGdi.h"
#include "AfxResource.h"
#include "MenuColours.h"
#include "PaintedMenuBitmaps.h"
#include "PaintedMenuIcons.h"
#include "PaintedMenuLibrary.h"
#include "PaintedMenuSymbols.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CPaintedMenu, CMenu)

namespace
{
const UINT kRenumbered[][2] = {{SC_RESTORE, SC_RESTORE + 1},
                               {SC_CLOSE, SC_CLOSE + 1},
                               {SC_MINIMIZE, SC_MINIMIZE + 1}};

// Windows XP and later draw the restore, close and minimize items themselves unless their ids
// change while the popup is open. Wine leaves owner-drawn items to their owner whatever their
// ids, and sets the system menu's states by command only after WM_INITMENUPOPUP: renumbered,
// those items would keep the states of the last time.
BOOL RenumbersSysCommands()
{
    const PaintedMenuLibraryState& library = PaintedMenuLibrary();
    return library.nWinVersionClass == 7 && !library.bWine;
}

UINT ItemFlags(HMENU hMenu, int nPosition, const MENUITEMINFOW& info)
{
    UINT nFlags = ::GetMenuState(hMenu, nPosition, MF_BYPOSITION);
    if ((nFlags & MF_RIGHTJUSTIFY) == 0)
    {
        nFlags |= info.fType & MFT_RIGHTJUSTIFY;
        if ((info.fType & MFT_BITMAP) == 0)
            nFlags |= info.fType & MFT_RIGHTORDER;
    }
    return nFlags;
}

CString MenuString(HMENU hMenu, int nPosition)
{
    WCHAR buffer[512];
    const int nLength = ::GetMenuStringW(hMenu, nPosition, buffer, 512, MF_BYPOSITION);
    return CString(buffer, nLength > 0 ? nLength : 0);
}

BOOL ModifyOwnerDrawn(HMENU hMenu, UINT nPosition, UINT nFlags, CPaintedMenuItemData* pData)
{
    return ::ModifyMenuW(hMenu, nPosition, nFlags | MF_OWNERDRAW, pData->m_nID,
                         (LPCWSTR)pData);
}
}

CPaintedMenu::CPaintedMenu(HMENU hParentMenu)
    : m_hParentWnd(NULL), m_nIconX(16), m_nIconY(15), m_crBitmapBackground(CLR_DEFAULT),
      m_hParentMenu(hParentMenu), m_bPopup(TRUE), m_nOpenPopups(0), m_hAccel((HACCEL)-1),
      m_bIconHandles(FALSE)
{
    m_rectMenuBarItem.SetRectEmpty();
    // A menu made before the program's start-up initialisers still finds the library.
    InitPaintedMenuLibrary();
}

CPaintedMenu::~CPaintedMenu()
{
    DestroyMenu();
}

CPaintedMenu* CPaintedMenu::FromHandleOwned(HMENU hMenu)
{
    return DYNAMIC_DOWNCAST(CPaintedMenu, CMenu::FromHandlePermanent(hMenu));
}

CPaintedMenuItemData* CPaintedMenu::GetItemData(int nPosition) const
{
    return nPosition >= 0 && nPosition < (int)m_items.size() ? m_items[nPosition] : NULL;
}

BOOL CPaintedMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCEW(nIDResource));
}

BOOL CPaintedMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    return LoadMenu(::LoadMenuW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CPaintedMenu::LoadMenu(HMENU hMenu)
{
    if (!::IsMenu(hMenu) || !Attach(hMenu))
        return FALSE;
    m_bPopup = FALSE;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++)
    {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub == NULL)
            continue;
        CPaintedMenu* pSub = new CPaintedMenu(hMenu);
        m_subMenus.push_back(hSub);
        pSub->LoadMenu(hSub);
        pSub->m_bPopup = TRUE;
    }
    ConvertToOwnerDraw();
    return TRUE;
}

BOOL CPaintedMenu::DestroyMenu()
{
    for (auto it = m_subMenus.rbegin(); it != m_subMenus.rend(); ++it)
        delete FromHandleOwned(*it);
    m_subMenus.clear();
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        delete *it;
    m_items.clear();
    return CMenu::DestroyMenu();
}

CPaintedMenuItemData* CPaintedMenu::FindUnusedItemData(UINT nID)
{
    for (CPaintedMenuItemData* pData : m_items)
        if (pData->m_nID == nID && !pData->m_bClaimed)
        {
            pData->m_bClaimed = 1;
            return pData;
        }
    return NULL;
}

CPaintedMenuItemData* CPaintedMenu::MakeItemOwnerDrawn(int nPosition, UINT nFlags, UINT nID,
                                                       const CString& strText)
{
    CPaintedMenuItemData* pData = new CPaintedMenuItemData;
    pData->m_nFlags = nFlags;
    pData->m_nID = nID;
    if ((nFlags & MF_BITMAP) == 0)
        pData->SetText(strText);
    if (nFlags & MF_POPUP)
        if (CPaintedMenu* pSub = FromHandleOwned((HMENU)(UINT_PTR)nID))
            pSub->m_hParentMenu = m_hMenu;
    ::ModifyMenuW(m_hMenu, nPosition, nFlags, nID, (LPCWSTR)pData);
    return pData;
}

void CPaintedMenu::ConvertToOwnerDraw()
{
    for (CPaintedMenuItemData* pData : m_items)
        pData->m_bClaimed = 0;
    std::vector<CPaintedMenuItemData*> newList;
    for (int i = 0; i < ::GetMenuItemCount(m_hMenu); i++)
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(m_hMenu, i, TRUE, &info))
            break;
        const UINT nFlags = ItemFlags(m_hMenu, i, info);
        CPaintedMenuItemData* pData = NULL;
        if (info.fType & MFT_BITMAP)
        {
            pData = FindUnusedItemData(info.wID);
            if (pData == NULL)
            {
                pData = new CPaintedMenuItemData;
                pData->m_nFlags = nFlags;
                pData->m_nID = info.wID;
            }
        }
        else if (info.hSubMenu != NULL)
        {
            const UINT nID = (UINT)(UINT_PTR)info.hSubMenu;
            pData = FindUnusedItemData(nID);
            const CString strText = MenuString(m_hMenu, i);
            if (pData != NULL && !strText.IsEmpty())
                pData->SetText(strText);
            else if (pData == NULL)
                pData = MakeItemOwnerDrawn(
                    i, (nFlags & ~(MF_SEPARATOR | MFT_RADIOCHECK)) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP,
                    nID, strText);
            if (CPaintedMenu* pSub = FromHandleOwned(info.hSubMenu))
                pSub->m_hParentMenu = m_hMenu;
        }
        else if (info.fType & MFT_SEPARATOR)
        {
            pData = FindUnusedItemData(0);
            if (pData != NULL)
            {
                pData->m_nFlags = nFlags | MF_BYPOSITION | MF_OWNERDRAW;
                ModifyOwnerDrawn(m_hMenu, i, pData->m_nFlags, pData);
            }
            else
            {
                pData = MakeItemOwnerDrawn(i, nFlags | MF_BYPOSITION | MF_OWNERDRAW, 0, CString());
            }
        }
        else
        {
            pData = FindUnusedItemData(info.wID);
            const CString strText = MenuString(m_hMenu, i);
            if (pData != NULL)
            {
                pData->m_nFlags = nFlags | MF_BYPOSITION | MF_OWNERDRAW;
                if (!strText.IsEmpty())
                    pData->SetText(strText);
                ModifyOwnerDrawn(m_hMenu, i, pData->m_nFlags, pData);
            }
            else
            {
                pData = MakeItemOwnerDrawn(i, nFlags | MF_BYPOSITION | MF_OWNERDRAW, info.wID,
                                           strText);
            }
        }
        newList.push_back(pData);
    }
    for (CPaintedMenuItemData* pData : m_items)
        if (!pData->m_bClaimed)
            delete pData;
    m_items.swap(newList);
}

CPaintedMenu* CPaintedMenu::FindMenuOption(UINT nID, int& nPosition, const VisitedList& visited)
{
    const int nCount = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < nCount; i++)
    {
        if (CPaintedMenu* pSub = FromHandleOwned(::GetSubMenu(m_hMenu, i)))
        {
            if (CPaintedMenu* pFound = pSub->FindMenuOption(nID, nPosition, visited))
                return pFound;
        }
        else if (::GetMenuItemID(m_hMenu, i) == nID &&
                 std::find(visited.begin(), visited.end(), std::make_pair(this, i)) ==
                     visited.end())
        {
            nPosition = i;
            return this;
        }
    }
    nPosition = -1;
    return NULL;
}

CPaintedMenu* CPaintedMenu::FindMenuByCommand(UINT nID, int& nPosition)
{
    return FindMenuOption(nID, nPosition, VisitedList());
}

CPaintedMenuItemData* CPaintedMenu::FindMenuItem(UINT nID)
{
    for (CPaintedMenuItemData* pData : m_items)
        if (pData->m_nID == nID)
            return pData;
    int nPosition = -1;
    CPaintedMenu* pMenu = FindMenuByCommand(nID, nPosition);
    return pMenu != NULL ? pMenu->GetItemData(nPosition) : NULL;
}

CPaintedMenuItemData* CPaintedMenu::FindMenuItemData(HMENU hMenu, UINT nID, ULONG_PTR nData,
                                                     HMENU& hFound)
{
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++)
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(hMenu, i, TRUE, &info))
            continue;
        if (info.dwItemData == nData && (info.wID == nID || info.hSubMenu != NULL) &&
            nData != 0)
        {
            hFound = hMenu;
            return (CPaintedMenuItemData*)nData;
        }
        if (info.hSubMenu != NULL)
            if (CPaintedMenuItemData* pData = FindMenuItemData(info.hSubMenu, nID, nData, hFound))
                return pData;
    }
    return NULL;
}

void CPaintedMenu::DeleteItemData(CPaintedMenuItemData* pData)
{
    m_items.erase(std::remove(m_items.begin(), m_items.end(), pData), m_items.end());
    delete pData;
}

void CPaintedMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    if ((nFlags & MF_BYPOSITION) == 0)
    {
        int nFound = -1;
        if (CPaintedMenu* pMenu = FindMenuByCommand(nPosition, nFound))
        {
            pMenu->RemoveMenu((UINT)nFound, MF_BYPOSITION);
            return;
        }
        ::DeleteMenu(m_hMenu, nPosition, MF_BYCOMMAND);
        return;
    }
    const UINT nState = ::GetMenuState(m_hMenu, nPosition, MF_BYPOSITION);
    if ((nState & MF_SEPARATOR) && !(nState & MF_POPUP))
    {
        if (CPaintedMenuItemData* pData = GetItemData((int)nPosition))
            DeleteItemData(pData);
    }
    else if (HMENU hSub = ::GetSubMenu(m_hMenu, nPosition))
    {
        const auto end = std::remove(m_subMenus.begin(), m_subMenus.end(), hSub);
        const BOOL bOwned = end != m_subMenus.end();
        m_subMenus.erase(end, m_subMenus.end());
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
            if ((*it)->m_nID == (UINT)(UINT_PTR)hSub)
            {
                DeleteItemData(*it);
                break;
            }
        if (bOwned)
            delete FromHandleOwned(hSub);   // destroys the sub-menu, as DeleteMenu would
    }
    else
    {
        const UINT nID = ::GetMenuItemID(m_hMenu, nPosition);
        for (int i = (int)m_items.size() - 1; i >= 0; i--)
            if (m_items[i]->m_nID == nID)
                DeleteItemData(m_items[i]);
    }
    ::DeleteMenu(m_hMenu, nPosition, MF_BYPOSITION);
}

void CPaintedMenu::RaiseIconSize(CSize size)
{
    m_nIconX = std::max(m_nIconX, (int)size.cx);
    m_nIconY = std::max(m_nIconY, (int)size.cy);
}

BOOL CPaintedMenu::ModifyODMenu(LPCTSTR lpszText, UINT nID, int nToolBarId)
{
    int nImage = -1;
    CPaintedMenuIcons* pIcons = NULL;
    if (nToolBarId >= 0 && GetToolBarImageIndex(nID, (UINT)nToolBarId, nImage))
    {
        pIcons = GetToolBarIconStore((UINT)nToolBarId, NULL);
        nImage = pIcons != NULL ? pIcons->FindIndex(nID) : -1;
    }
    return ModifyODMenuIcon(lpszText, nID, pIcons, nImage);
}

BOOL CPaintedMenu::ModifyODMenuIcon(LPCTSTR lpszText, UINT nID, CPaintedMenuIcons* pIcons,
                                    int nImage)
{
    // A command the tree does not hold gets nothing: an item data kept for it would sit
    // beyond the menu's positions and pile up with every toolbar load.
    int nPosition = -1;
    CPaintedMenu* pMenu = FindMenuByCommand(nID, nPosition);
    if (pMenu == NULL)
        return FALSE;
    // Keeps a store with no other user alive through the loop.
    CPaintedMenuIcons::AddRef(pIcons);
    BOOL bResult = TRUE;
    VisitedList visited;
    CPaintedMenuItemData* pData = NULL;
    for (;;)
    {
        pData = pMenu->GetItemData(nPosition);
        if (pData == NULL)
            break;
        BOOL bChanged = FALSE;
        if (lpszText != NULL && pData->m_strText != lpszText)
        {
            pData->SetText(lpszText);
            bChanged = TRUE;
        }
        pData->SetIcons(pIcons, nImage);
        if (pIcons != NULL)
            pMenu->RaiseIconSize(pIcons->GetIconSize());
        pData->m_nFlags = (pData->m_nFlags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        pData->m_nID = nID;
        if (bChanged)
        {
            bResult = ::ModifyMenuW(pMenu->m_hMenu, nPosition,
                                    (pData->m_nFlags & ~MF_OWNERDRAW) | MF_BYPOSITION, nID,
                                    pData->m_strText) &&
                      ModifyOwnerDrawn(pMenu->m_hMenu, nPosition,
                                       pData->m_nFlags | MF_BYPOSITION, pData) &&
                      bResult;
        }
        visited.push_back(std::make_pair(pMenu, nPosition));
        pMenu = FindMenuOption(nID, nPosition, visited);
        if (pMenu == NULL)
            break;
    }
    if (pData != NULL && ::GetMenuState(m_hMenu, nID, MF_BYCOMMAND) != (UINT)-1)
        bResult = ModifyOwnerDrawn(m_hMenu, nID, pData->m_nFlags & ~MF_BYPOSITION, pData) &&
                  bResult;
    CPaintedMenuIcons::Release(pIcons);
    return bResult;
}

BOOL CPaintedMenu::SetMenuText(UINT nPosition, const CString& strText, UINT nFlags)
{
    if ((nFlags & MF_BYPOSITION) == 0)
    {
        int nFound = -1;
        CPaintedMenu* pMenu = FindMenuByCommand(nPosition, nFound);
        return pMenu != NULL && pMenu->SetMenuText((UINT)nFound, strText, MF_BYPOSITION);
    }
    CPaintedMenuItemData* pData = GetItemData((int)nPosition);
    if (pData == NULL)
        return FALSE;
    const UINT nState = ::GetMenuState(m_hMenu, nPosition, MF_BYPOSITION);
    pData->SetText(strText);
    // A popup item keeps its sub-menu: its "id" is the sub-menu's handle.
    const UINT nKeep = nState & (MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (!::ModifyMenuW(m_hMenu, nPosition, nKeep | MF_BYPOSITION | MF_STRING, pData->m_nID,
                       strText))
        return FALSE;
    return ModifyOwnerDrawn(m_hMenu, nPosition, nKeep | MF_BYPOSITION, pData);
}

BOOL CPaintedMenu::GetMenuText(UINT nPosition, CString& strText, UINT nFlags)
{
    if ((nFlags & MF_BYPOSITION) == 0)
    {
        int nFound = -1;
        CPaintedMenu* pMenu = FindMenuByCommand(nPosition, nFound);
        return pMenu != NULL && pMenu->GetMenuText((UINT)nFound, strText, MF_BYPOSITION);
    }
    CPaintedMenuItemData* pData = GetItemData((int)nPosition);
    if (pData == NULL)
        return FALSE;
    pData->GetShortCutText(strText, m_hAccel);
    return TRUE;
}

CPaintedMenuIcons* CPaintedMenu::GetToolBarIconStore(UINT nToolBarId, HMODULE hModule)
{
    std::vector<CPaintedMenuIcons*>& stores = CPaintedMenuIcons::GetStoreList();
    for (CPaintedMenuIcons* pIcons : stores)
        if (pIcons->IsSameResource(MAKEINTRESOURCEW(nToolBarId), hModule))
            return pIcons;
    CPaintedMenuIcons* pIcons = new CPaintedMenuIcons;
    pIcons->m_crMask = m_crBitmapBackground;
    if (!pIcons->LoadToolBarByName(MAKEINTRESOURCEW(nToolBarId), hModule))
    {
        delete pIcons;
        return NULL;
    }
    stores.push_back(pIcons);
    return pIcons;
}

CPaintedMenuBitmaps* CPaintedMenu::FindBitmapStore(int& nIndex, UINT_PTR nBitmapId)
{
    auto offer = [this, nBitmapId](CPaintedMenuBitmaps* pStore)
    {
        return m_bIconHandles ? pStore->AddIcon((HICON)nBitmapId, (UINT)nBitmapId)
                              : pStore->AddBitmap((UINT)nBitmapId, m_crBitmapBackground);
    };
    std::vector<CPaintedMenuIcons*>& stores = CPaintedMenuIcons::GetStoreList();
    for (CPaintedMenuIcons* pIcons : stores)
        if (CPaintedMenuBitmaps* pStore = DYNAMIC_DOWNCAST(CPaintedMenuBitmaps, pIcons))
            if ((nIndex = offer(pStore)) != -1)
                return pStore;
    CPaintedMenuBitmaps* pStore = new CPaintedMenuBitmaps;
    pStore->m_crMask = m_crBitmapBackground;
    if ((nIndex = offer(pStore)) == -1)
    {
        delete pStore;
        return NULL;
    }
    stores.push_back(pStore);
    return pStore;
}

void CPaintedMenu::ApplyIconStore(CPaintedMenuIcons* pIcons)
{
    for (int i = (int)pIcons->m_commandIds.size() - 1; i >= 0; i--)
        ModifyODMenuIcon(NULL, pIcons->m_commandIds[i], pIcons, 3 * i);
}

BOOL CPaintedMenu::LoadToolBar(UINT nToolBarId, HMODULE hModule)
{
    CPaintedMenuIcons* pIcons = GetToolBarIconStore(nToolBarId, hModule);
    if (pIcons == NULL)
        return FALSE;
    // A fresh store has no user yet: held through the loop.
    CPaintedMenuIcons::AddRef(pIcons);
    ApplyIconStore(pIcons);
    CPaintedMenuIcons::Release(pIcons);
    return TRUE;
}

BOOL GetToolBarImageIndex(UINT nID, UINT nToolBarId, int& nImage)
{
    HRSRC hRsrc = FindResourceW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nToolBarId),
                                MAKEINTRESOURCEW(241));
    const WORD* pData =
        hRsrc != NULL ? (const WORD*)LockResource(LoadResource(AfxGetResourceHandle(), hRsrc))
                      : NULL;
    if (pData == NULL)
        return FALSE;
    int nButton = 0;
    for (int i = 0; i < pData[3]; i++)
    {
        if (pData[4 + i] == 0)
            continue;
        if (pData[4 + i] == nID)
        {
            if (nButton > 0)
                nImage = nButton;
            return TRUE;
        }
        nButton++;
    }
    return FALSE;
}

BOOL CPaintedMenu::ReplaceSysCommandId(UINT nOldID, UINT nNewID)
{
    int nPosition = -1;
    CPaintedMenu* pMenu = FindMenuByCommand(nOldID, nPosition);
    CPaintedMenuItemData* pData = pMenu != NULL ? pMenu->GetItemData(nPosition) : NULL;
    if (pData == NULL)
        return FALSE;
    pData->m_nID = nNewID;
    return ModifyOwnerDrawn(pMenu->m_hMenu, nPosition, pData->m_nFlags | MF_BYPOSITION, pData);
}

void CPaintedMenu::OnInitMenuPopupVirtual()
{
    m_bPopup = TRUE;
    ConvertToOwnerDraw();
    if (RenumbersSysCommands())
        for (const auto& ids : kRenumbered)
            ReplaceSysCommandId(ids[0], ids[1]);
}

void CPaintedMenu::RedrawMenuBarItem()
{
    if (m_rectMenuBarItem.IsRectEmpty() || m_hParentWnd == NULL)
        return;
    CRect rect = m_rectMenuBarItem;
    rect.right += 10;
    rect.bottom += 10;
    POINT origin = {0, 0};
    ::ClientToScreen(m_hParentWnd, &origin);
    rect.OffsetRect(-origin.x, -origin.y);
    ::RedrawWindow(m_hParentWnd, &rect, NULL, RDW_FRAME | RDW_INVALIDATE);
}

BOOL CPaintedMenu::OnInitMenuPopup(HWND hWnd, CMenu* pPopupMenu, UINT, BOOL)
{
    HMENU hMenu = pPopupMenu != NULL ? pPopupMenu->GetSafeHmenu() : NULL;
    PaintedMenuLibrary().hInitPopup = hMenu;
    CPaintedMenu* pMenu = DYNAMIC_DOWNCAST(CPaintedMenu, pPopupMenu);
    if (!::IsMenu(hMenu) || pMenu == NULL)
        return FALSE;
    pMenu->m_hParentWnd = hWnd;
    pMenu->OnInitMenuPopupVirtual();
    if (CPaintedMenu* pParent = FromHandleOwned(pMenu->m_hParentMenu))
    {
        pParent->m_hParentWnd = hWnd;
        if (++pParent->m_nOpenPopups == 1 && !pParent->m_bPopup)
            pParent->RedrawMenuBarItem();
    }
    return TRUE;
}

BOOL CPaintedMenu::OnUnInitPopupMenu()
{
    if (RenumbersSysCommands())
    {
        ReplaceSysCommandId(SC_MINIMIZE + 1, SC_MINIMIZE);
        ReplaceSysCommandId(SC_RESTORE + 1, SC_RESTORE);
        if (ReplaceSysCommandId(SC_CLOSE + 1, SC_CLOSE) && m_hParentWnd != NULL)
            ::SetWindowPos(m_hParentWnd, NULL, 0, 0, 0, 0,
                           SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    CPaintedMenu* pParent = FromHandleOwned(m_hParentMenu);
    if (pParent == NULL)
        return FALSE;
    pParent->m_nOpenPopups--;
    if (pParent->m_bPopup)
        return FALSE;
    pParent->m_nOpenPopups = 0;
    pParent->RedrawMenuBarItem();
    return TRUE;
}

BOOL CPaintedMenu::OnEraseBkgnd(HWND hWnd, HDC hDC)
{
    RECT rect;
    ::GetClientRect(hWnd, &rect);
    PaintedFillSolid(hDC, rect, GetMenuColourOf(m_hMenu));
    return TRUE;
}

LRESULT CPaintedMenu::FindKeyboardShortcut(UINT nChar, UINT, CMenu* pMenu)
{
    CPaintedMenu* pPainted = DYNAMIC_DOWNCAST(CPaintedMenu, pMenu);
    if (pPainted == NULL)
        return 0;
    CString strPattern;
    strPattern.Format(L"&%c", (WCHAR)nChar);
    strPattern.MakeLower();
    const int nCount = pPainted->GetMenuItemCount();
    if (nCount != pPainted->GetItemDataCount())
        pPainted->ConvertToOwnerDraw();
    for (int i = 0; i < nCount; i++)
    {
        CString strText;
        if (!pPainted->GetMenuText((UINT)i, strText, MF_BYPOSITION))
            continue;
        strText.MakeLower();
        if (strText.Find(strPattern) >= 0)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

BOOL CPaintedMenu::OnMeasureItem(const MSG* pMsg)
{
    if (pMsg == NULL || pMsg->message != WM_MEASUREITEM)
        return FALSE;
    LPMEASUREITEMSTRUCT pMeasure = (LPMEASUREITEMSTRUCT)pMsg->lParam;
    if (pMeasure == NULL || pMeasure->CtlType != ODT_MENU)
        return FALSE;
    CMenu* pMenu = NULL;
    if (::IsMenu((HMENU)(UINT_PTR)pMeasure->itemID))
    {
        pMenu = CMenu::FromHandlePermanent((HMENU)(UINT_PTR)pMeasure->itemID);
    }
    else
    {
        static const UINT s_nGetMenu = ::RegisterWindowMessageW(L"CPaintedMenuBar::WM_GETMENU");
        HMENU hCandidates[] = {
            AfxGetTrackingWindow() == pMsg->hwnd ? AfxGetTrackingMenu() : NULL,
            ::GetMenu(pMsg->hwnd), ::GetSystemMenu(pMsg->hwnd, FALSE),
            (HMENU)::SendMessageW(pMsg->hwnd, s_nGetMenu, 0, 0)};
        for (HMENU hCandidate : hCandidates)
        {
            HMENU hFound = NULL;
            if (hCandidate != NULL &&
                FindMenuItemData(hCandidate, pMeasure->itemID, pMeasure->itemData, hFound))
            {
                pMenu = CMenu::FromHandlePermanent(hFound);
                break;
            }
        }
    }
    if (pMenu == NULL)
        return FALSE;
    pMenu->MeasureItem(pMeasure);
    return TRUE;
}
