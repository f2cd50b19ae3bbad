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
    BITMAP bm = {};
    GetObjectW(hBitmap, sizeof(bm), &bm);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    m_source.assign((size_t)bm.bmWidth * bm.bmHeight, 0);
    HDC hDC = CreateCompatibleDC(NULL);
    const BOOL bRead = GetDIBits(hDC, hBitmap, 0, bm.bmHeight, m_source.data(), &info,
                                 DIB_RGB_COLORS) == bm.bmHeight;
    DeleteDC(hDC);
    DeleteObject(hBitmap);
    m_nSourceWidth = bm.bmWidth;
    m_nSourceHeight = bm.bmHeight;
    for (DWORD& nPixel : m_source)
        nPixel &= 0xFFFFFF;
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
                pOut[cx] = bClear ? nNormal : PaintedMenuDarken(nNormal, kShadowDepth);
                pOut[2 * cx] = bClear ? nNormal : PaintedMenuDisabledPixel(nNormal, crTarget);
            }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nStride;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC hScreen = GetDC(NULL);
    HBITMAP hColour = CreateDIBitmap(hScreen, &info.bmiHeader, CBM_INIT, pixels.data(), &info,
                                     DIB_RGB_COLORS);
    ReleaseDC(NULL, hScreen);
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
