#include "PaintedMenuIcons.h"

#include "AfxResource.h"
#include "MenuColours.h"
#include "MenuTheme.h"
#include "PaintedMenuLibrary.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CPaintedMenuIcons, CObject)

namespace
{
const int kShadowDepth = 50;
const int kDisabledLighten = 115;
const int kDisabledGreyWeight = 110;
const WORD kToolBarResourceType = 241;

BYTE Channel(COLORREF cr, int nShift) { return (BYTE)((cr >> nShift) & 0xFF); }

COLORREF Rgb(int r, int g, int b) { return (COLORREF)((r << 16) | (g << 8) | b); }

// The disabled variant fades into the face of the menus of the current style.
COLORREF DisabledTarget()
{
    const int nStyle = GetCurrentMenuStyle();
    const COLORREF cr = nStyle == 2 || nStyle == 3 ? GetMenuFaceColour()
                        : nStyle >= 8 && nStyle <= 11 ? GetMenuBackColour()
                                                      : GetMenuBarColour();
    // The rules work channel by channel, so they serve the 0x00RRGGBB pixels as they are.
    return LightenColour(kDisabledLighten, Rgb(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
}

// The pixels of hBitmap as 0x00RRGGBB values, top row first.
BOOL ReadPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, int& nWidth, int& nHeight)
{
    BITMAP bm = {};
    if (hBitmap == NULL || !GetObjectW(hBitmap, sizeof(bm), &bm))
        return FALSE;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels.assign((size_t)bm.bmWidth * bm.bmHeight, 0);
    HDC hDC = CreateCompatibleDC(NULL);
    const BOOL bRead = GetDIBits(hDC, hBitmap, 0, bm.bmHeight, pixels.data(), &info,
                                 DIB_RGB_COLORS) == bm.bmHeight;
    DeleteDC(hDC);
    for (DWORD& nPixel : pixels)
        nPixel &= 0xFFFFFF;
    nWidth = bm.bmWidth;
    nHeight = bm.bmHeight;
    return bRead;
}

HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int nWidth, int nHeight)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC hScreen = GetDC(NULL);
    HBITMAP hBitmap = CreateDIBitmap(hScreen, &info.bmiHeader, CBM_INIT, pixels.data(), &info,
                                     DIB_RGB_COLORS);
    ReleaseDC(NULL, hScreen);
    return hBitmap;
}

// The ids of toolbar data without its separators.
std::vector<UINT> ButtonIds(const std::vector<UINT>& ids)
{
    std::vector<UINT> buttons;
    for (UINT nID : ids)
        if (nID != 0)
            buttons.push_back(nID);
    return buttons;
}

// The RT_TOOLBAR resource in hModule or else in the resource module.
HRSRC FindToolBar(LPCTSTR lpszName, HMODULE hModule, HMODULE& hFound)
{
    HMODULE hResources = AfxGetResourceHandle();
    hFound = hModule != NULL ? hModule : hResources;
    HRSRC hRsrc = FindResourceW(hFound, lpszName, MAKEINTRESOURCEW(kToolBarResourceType));
    if (hRsrc == NULL && hFound != hResources)
    {
        hFound = hResources;
        hRsrc = FindResourceW(hFound, lpszName, MAKEINTRESOURCEW(kToolBarResourceType));
    }
    return hRsrc;
}
}

COLORREF PaintedMenuDisabledPixel(COLORREF cr, COLORREF crTarget)
{
    const int nGrey = (Channel(cr, 16) + Channel(cr, 8) + Channel(cr, 0)) / 3;
    auto mix = [nGrey](int t) {
        return (kDisabledGreyWeight * nGrey + (255 - kDisabledGreyWeight) * t) / 256;
    };
    return Rgb(mix(Channel(crTarget, 16)), mix(Channel(crTarget, 8)), mix(Channel(crTarget, 0)));
}

CPaintedMenuIcons::CPaintedMenuIcons()
    : m_lpszResourceName(NULL), m_hModule(NULL), m_nColourTableSize(0), m_crMask(CLR_NONE),
      m_hImageSource(NULL),
      m_nRefCount(0), m_nSourceWidth(0), m_nSourceHeight(0), m_crSourceMask(0)
{
}

CPaintedMenuIcons::~CPaintedMenuIcons()
{
    m_imageList.DeleteImageList();
}

std::vector<CPaintedMenuIcons*>& CPaintedMenuIcons::GetStoreList()
{
    // Built on first use, so that no start-up order between files matters.
    static std::vector<CPaintedMenuIcons*>* s_pList = new std::vector<CPaintedMenuIcons*>;
    return *s_pList;
}

void CPaintedMenuIcons::DeleteStoreList()
{
    std::vector<CPaintedMenuIcons*>& list = GetStoreList();
    for (CPaintedMenuIcons* pIcons : list)
        delete pIcons;
    list.clear();
}

void CPaintedMenuIcons::AddRef(CPaintedMenuIcons* pIcons)
{
    if (pIcons != NULL)
        pIcons->m_nRefCount++;
}

void CPaintedMenuIcons::Release(CPaintedMenuIcons* pIcons)
{
    // A store the list no longer holds is gone already (the library has ended).
    std::vector<CPaintedMenuIcons*>& list = GetStoreList();
    if (pIcons == NULL || std::find(list.begin(), list.end(), pIcons) == list.end() ||
        --pIcons->m_nRefCount > 0)
        return;
    list.erase(std::remove(list.begin(), list.end(), pIcons), list.end());
    delete pIcons;
}

int CPaintedMenuIcons::FindIndex(UINT nID) const
{
    for (int i = (int)m_commandIds.size() - 1; i >= 0; i--)
        if (m_commandIds[i] == nID)
            return 3 * i;
    return -1;
}

CSize CPaintedMenuIcons::GetIconSize() const
{
    int cx = 0, cy = 0;
    if (m_imageList.GetSafeHandle() == NULL ||
        !ImageList_GetIconSize(m_imageList.GetSafeHandle(), &cx, &cy))
        return CSize(0, 0);
    return CSize(cx, cy);
}

BOOL CPaintedMenuIcons::IsSameResource(LPCTSTR lpszResourceName, HMODULE hModule) const
{
    if (hModule != m_hModule)
        return FALSE;
    if (IS_INTRESOURCE(lpszResourceName) || IS_INTRESOURCE(m_lpszResourceName))
        return lpszResourceName == m_lpszResourceName;
    return m_strResourceName == lpszResourceName;
}

BOOL CPaintedMenuIcons::LoadToolBarByName(LPCTSTR lpszResourceName, HMODULE hModule)
{
    if (IS_INTRESOURCE(lpszResourceName))
    {
        m_lpszResourceName = lpszResourceName;
    }
    else
    {
        m_strResourceName = lpszResourceName;
        m_lpszResourceName = m_strResourceName;
    }
    m_hModule = hModule;
    HMODULE hFound = NULL;
    HRSRC hRsrc = FindToolBar(lpszResourceName, hModule, hFound);
    if (hRsrc == NULL)
        return FALSE;
    const WORD* pData = (const WORD*)LockResource(LoadResource(hFound, hRsrc));
    const DWORD nSize = SizeofResource(hFound, hRsrc);
    if (pData == NULL || nSize < 4 * sizeof(WORD) || nSize < (4u + pData[3]) * sizeof(WORD))
        return FALSE;
    const int nWidth = pData[1], nHeight = pData[2], nItems = pData[3];
    BOOL bResult = LoadBitmap(nWidth, nHeight, lpszResourceName, hFound);
    if (bResult)
    {
        m_commandIds.clear();
        for (int i = 0; i < nItems; i++)
            if (pData[4 + i] != 0)
                m_commandIds.push_back(pData[4 + i]);
        bResult = !m_commandIds.empty();
    }
    BuildVariants();
    return bResult;
}

BOOL CPaintedMenuIcons::LoadBitmap(int nWidth, int nHeight, LPCTSTR lpszResourceName,
                                   HMODULE hModule)
{
    HMODULE hFrom = hModule != NULL ? hModule : AfxGetResourceHandle();
    m_nColourTableSize = 0;
    if (HRSRC hRsrc = FindResourceW(hFrom, lpszResourceName, (LPCWSTR)RT_BITMAP))
    {
        const BITMAPINFOHEADER* pHeader =
            (const BITMAPINFOHEADER*)LockResource(LoadResource(hFrom, hRsrc));
        if (pHeader != NULL && pHeader->biBitCount <= 8)
            m_nColourTableSize =
                pHeader->biClrUsed != 0 ? (int)pHeader->biClrUsed : 1 << pHeader->biBitCount;
    }
    HBITMAP hBitmap = ::LoadBitmapW(hFrom, lpszResourceName);
    if (hBitmap == NULL)
        return FALSE;
    return SetSource(hBitmap, nWidth, nHeight);
}

BOOL CPaintedMenuIcons::SetSource(HBITMAP hBitmap, int nWidth, int nHeight)
{
    const BOOL bRead = ReadPixels(hBitmap, m_source, m_nSourceWidth, m_nSourceHeight);
    DeleteObject(hBitmap);
    // CLR_DEFAULT is the top-left pixel; Wine's image list masks nothing with it (measured).
    m_crSourceMask = m_crMask == CLR_DEFAULT && !m_source.empty()
                         ? m_source[0]
                         : Rgb(GetRValue(m_crMask), GetGValue(m_crMask), GetBValue(m_crMask));
    m_imageList.DeleteImageList();
    return bRead && nWidth > 0 && nHeight > 0 &&
           m_imageList.Create(nWidth, nHeight, ILC_COLORDDB | ILC_MASK, 0, 10);
}

BOOL CPaintedMenuIcons::Reload()
{
    CSize size = GetIconSize();
    if (size.cx <= 0 || size.cy <= 0)
        size = CSize(16, 16);
    if (!LoadBitmap(size.cx, size.cy, m_lpszResourceName, m_hModule))
        return FALSE;
    BuildVariants();
    return TRUE;
}

void CPaintedMenuIcons::BuildVariants()
{
    HIMAGELIST hList = m_imageList.GetSafeHandle();
    int cx = 0, cy = 0;
    if (hList == NULL || !ImageList_GetIconSize(hList, &cx, &cy) || cx <= 0 ||
        cy > m_nSourceHeight)
        return;
    const int nImages = m_nSourceWidth / cx;
    if (nImages == 0)
        return;

    // The images side by side, each followed by its two variants; transparent pixels keep
    // the mask colour.
    const int nStride = 3 * nImages * cx;
    std::vector<DWORD> pixels((size_t)nStride * cy);
    const COLORREF crTarget = DisabledTarget();
    for (int y = 0; y < cy; y++)
        for (int i = 0; i < nImages; i++)
            for (int x = 0; x < cx; x++)
            {
                const DWORD nNormal = m_source[(size_t)y * m_nSourceWidth + i * cx + x];
                const BOOL bClear = nNormal == m_crSourceMask;
                DWORD* pOut = &pixels[(size_t)y * nStride + 3 * i * cx + x];
                pOut[0] = nNormal;
                pOut[cx] = bClear ? nNormal : DarkenColour(kShadowDepth, nNormal);
                pOut[2 * cx] = bClear ? nNormal : PaintedMenuDisabledPixel(nNormal, crTarget);
            }
    HBITMAP hColour = MakeBitmap(pixels, nStride, cy);
    HIMAGELIST hNew = ImageList_Create(cx, cy, ILC_COLORDDB | ILC_MASK, 3 * nImages, 10);
    const COLORREF crMask = RGB((m_crSourceMask >> 16) & 0xFF, (m_crSourceMask >> 8) & 0xFF,
                                m_crSourceMask & 0xFF);
    if (hNew != NULL && hColour != NULL && ImageList_AddMasked(hNew, hColour, crMask) >= 0)
    {
        m_imageList.DeleteImageList();
        m_imageList.Attach(hNew);
    }
    else if (hNew != NULL)
    {
        ImageList_Destroy(hNew);
    }
    DeleteObject(hColour);
}

BOOL CPaintedMenuIcons::AddIconVariant(HICON hIcon, int nIndex,
                                       const std::function<DWORD(DWORD)>& pixelRule)
{
    ICONINFO icon = {};
    if (hIcon == NULL || m_imageList.GetSafeHandle() == NULL || !GetIconInfo(hIcon, &icon))
        return FALSE;
    std::vector<DWORD> colour, mask;
    int cx = 0, cy = 0, nMaskX = 0, nMaskY = 0;
    BOOL bDone = ReadPixels(icon.hbmColor, colour, cx, cy) &&
                 ReadPixels(icon.hbmMask, mask, nMaskX, nMaskY) && nMaskX == cx && nMaskY >= cy;
    if (bDone)
    {
        // Transparent pixels stay black, so that drawing through the mask leaves them clear.
        for (size_t i = 0; i < colour.size(); i++)
            colour[i] = mask[i] != 0 ? 0 : pixelRule(colour[i]);
        HBITMAP hVariant = MakeBitmap(colour, cx, cy);
        ICONINFO variant = {TRUE, 0, 0, icon.hbmMask, hVariant};
        HICON hVariantIcon = CreateIconIndirect(&variant);
        bDone = hVariantIcon != NULL &&
                ImageList_ReplaceIcon(m_imageList.GetSafeHandle(), nIndex, hVariantIcon) >= 0;
        if (hVariantIcon != NULL)
            DestroyIcon(hVariantIcon);
        DeleteObject(hVariant);
    }
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    return bDone;
}

BOOL CPaintedMenuIcons::AddShadowedIcon(HICON hIcon, int nIndex)
{
    return AddIconVariant(hIcon, nIndex,
                          [](DWORD nPixel) { return (DWORD)DarkenColour(kShadowDepth, nPixel); });
}

BOOL CPaintedMenuIcons::AddDisabledIcon(HICON hIcon, int nIndex)
{
    const COLORREF crTarget = DisabledTarget();
    return AddIconVariant(hIcon, nIndex, [crTarget](DWORD nPixel)
                          { return (DWORD)PaintedMenuDisabledPixel(nPixel, crTarget); });
}

BOOL CPaintedMenuIcons::LoadFromBitmap(HBITMAP hBitmap, const UINT* pIds)
{
    BITMAP bm = {};
    if (hBitmap == NULL || pIds == NULL || !GetObjectW(hBitmap, sizeof(bm), &bm))
        return FALSE;
    m_hImageSource = hBitmap;
    m_commandIds.clear();
    for (const UINT* pId = pIds; *pId != 0; pId++)
        m_commandIds.push_back(*pId);
    if (m_commandIds.empty())
        return FALSE;
    const int nWidth = bm.bmWidth / (int)m_commandIds.size();
    HBITMAP hCopy = (HBITMAP)CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0);
    if (!SetSource(hCopy, nWidth, bm.bmHeight))
        return FALSE;
    BuildVariants();
    return TRUE;
}

BOOL CPaintedMenuIcons::LoadToolBarData(UINT nBitmapId, CSize size, const std::vector<UINT>& ids)
{
    m_lpszResourceName = MAKEINTRESOURCEW(nBitmapId);
    m_hModule = NULL;
    if (!LoadBitmap(size.cx, size.cy, m_lpszResourceName, NULL))
        return FALSE;
    m_commandIds = ButtonIds(ids);
    BuildVariants();
    return !m_commandIds.empty();
}

BOOL CPaintedMenuIcons::IsSameImageList(HBITMAP hBitmap, CSize size, const std::vector<UINT>& ids) const
{
    return hBitmap == m_hImageSource && size == GetIconSize() && ButtonIds(ids) == m_commandIds;
}

BOOL CPaintedMenuIcons::IsSameToolBar(UINT nBitmapId, COLORREF crMask, const std::vector<UINT>& ids) const
{
    return crMask == m_crMask && IS_INTRESOURCE(m_lpszResourceName) &&
           (UINT)(UINT_PTR)m_lpszResourceName == nBitmapId && ButtonIds(ids) == m_commandIds;
}

BOOL UpdateMenuColours(DWORD nNow)
{
    static DWORD s_nLastRefresh = 0;
    static BOOL s_bRefreshed = FALSE;
    if (s_bRefreshed && (DWORD)(nNow - s_nLastRefresh) <= 2000)
        return FALSE;
    s_bRefreshed = TRUE;
    s_nLastRefresh = nNow;
    for (CPaintedMenuIcons* pIcons : CPaintedMenuIcons::GetStoreList())
        pIcons->Reload();
    // The themes keep their colours and border sizes, the library the high-contrast
    // setting; they follow the change as well.
    ReadHighContrastSetting();
    for (int nStyle = 0; nStyle <= 11; nStyle++)
        if (CMenuTheme* pTheme = FindMenuTheme(nStyle))
        {
            pTheme->UpdateSysColors();
            pTheme->UpdateSysMetrics();
        }
    return TRUE;
}
