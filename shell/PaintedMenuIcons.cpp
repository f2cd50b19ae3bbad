#include "PaintedMenuIcons.h"

#include "AfxResource.h"
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

// The disabled variant fades into the face of the menu it is drawn on.
COLORREF DisabledTarget()
{
    const COLORREF cr = GetSysColor(COLOR_MENU);
    return PaintedMenuLighten(Rgb(GetRValue(cr), GetGValue(cr), GetBValue(cr)), kDisabledLighten);
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

COLORREF PaintedMenuDarken(COLORREF cr, int nDepth)
{
    auto darken = [nDepth](int c) { return c * (255 - nDepth) / 255; };
    return Rgb(darken(Channel(cr, 16)), darken(Channel(cr, 8)), darken(Channel(cr, 0)));
}

COLORREF PaintedMenuLighten(COLORREF cr, int nAmount)
{
    auto lighten = [nAmount](int c) { return c + (255 - c) * nAmount / 255; };
    return Rgb(lighten(Channel(cr, 16)), lighten(Channel(cr, 8)), lighten(Channel(cr, 0)));
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
      m_nRefCount(0)
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
    m_imageList.DeleteImageList();
    BOOL bResult = m_imageList.Create(nWidth, nHeight, ILC_COLORDDB | ILC_MASK, 0, 10) &&
                   ImageList_AddMasked(m_imageList.GetSafeHandle(), hBitmap, m_crMask) >= 0;
    DeleteObject(hBitmap);
    return bResult;
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
    const int nImages = hList != NULL ? ImageList_GetImageCount(hList) : 0;
    if (nImages == 0)
        return;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(hList, &cx, &cy);

    // The images side by side, each followed by its two variants, drawn with their mask
    // so that the transparent pixels stay transparent.
    const int nOut = 3 * nImages;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nOut * cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hColour = CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    HBITMAP hMask = CreateBitmap(nOut * cx, cy, 1, 1, NULL);
    ReleaseDC(NULL, hScreen);
    if (hColour == NULL || hMask == NULL)
    {
        DeleteObject(hColour);
        DeleteObject(hMask);
        DeleteDC(hDC);
        return;
    }
    HGDIOBJ hOld = SelectObject(hDC, hMask);
    for (int i = 0; i < nImages; i++)
        for (int k = 0; k < 3; k++)
            ImageList_Draw(hList, i, hDC, (3 * i + k) * cx, 0, ILD_MASK);
    SelectObject(hDC, hColour);
    for (int i = 0; i < nImages; i++)
        for (int k = 0; k < 3; k++)
            ImageList_Draw(hList, i, hDC, (3 * i + k) * cx, 0, ILD_NORMAL);
    GdiFlush();
    SelectObject(hDC, hOld);

    const COLORREF crTarget = DisabledTarget();
    DWORD* pPixels = (DWORD*)pBits;
    const int nStride = nOut * cx;
    for (int y = 0; y < cy; y++)
        for (int i = 0; i < nImages; i++)
            for (int x = 0; x < cx; x++)
            {
                const DWORD nNormal = pPixels[y * nStride + 3 * i * cx + x] & 0xFFFFFF;
                pPixels[y * nStride + (3 * i + 1) * cx + x] =
                    PaintedMenuDarken(nNormal, kShadowDepth);
                pPixels[y * nStride + (3 * i + 2) * cx + x] =
                    PaintedMenuDisabledPixel(nNormal, crTarget);
            }

    HIMAGELIST hNew = ImageList_Create(cx, cy, ILC_COLORDDB | ILC_MASK, nOut, 10);
    if (hNew != NULL && ImageList_Add(hNew, hColour, hMask) >= 0)
    {
        m_imageList.DeleteImageList();
        m_imageList.Attach(hNew);
    }
    else if (hNew != NULL)
    {
        ImageList_Destroy(hNew);
    }
    DeleteObject(hColour);
    DeleteObject(hMask);
    DeleteDC(hDC);
}
