#include "PaintedMenuBitmaps.h"

#include "AfxResource.h"

IMPLEMENT_DYNAMIC(CPaintedMenuBitmaps, CPaintedMenuIcons)

CPaintedMenuBitmaps::CPaintedMenuBitmaps()
{
}

CPaintedMenuBitmaps::~CPaintedMenuBitmaps()
{
}

BOOL CPaintedMenuBitmaps::Reload()
{
    MakeIconVariants();
    return TRUE;
}

void CPaintedMenuBitmaps::MakeIconVariants()
{
    HIMAGELIST hList = m_imageList.GetSafeHandle();
    if (hList == NULL)
        return;
    for (int nImage = 0; nImage + 2 < ImageList_GetImageCount(hList); nImage += 3)
    {
        HICON hIcon = ImageList_GetIcon(hList, nImage, ILD_NORMAL);
        AddShadowedIcon(hIcon, nImage + 1);
        AddDisabledIcon(hIcon, nImage + 2);
        DestroyIcon(hIcon);
    }
}

BOOL CPaintedMenuBitmaps::MatchesImageSize(int cx, int cy)
{
    if (m_imageList.GetSafeHandle() != NULL && m_imageList.GetImageCount() > 0)
        return GetIconSize() == CSize(cx, cy);
    m_imageList.DeleteImageList();
    return m_imageList.Create(cx, cy, ILC_COLORDDB | ILC_MASK, 0, 10);
}

BOOL CPaintedMenuBitmaps::AppendVariantsOf(int nImage)
{
    HICON hIcon = ImageList_GetIcon(m_imageList.GetSafeHandle(), nImage, ILD_NORMAL);
    const BOOL bDone = AddShadowedIcon(hIcon, -1) && AddDisabledIcon(hIcon, -1);
    if (hIcon != NULL)
        DestroyIcon(hIcon);
    return bDone;
}

void CPaintedMenuBitmaps::RemoveImagesFrom(int nImage)
{
    while (m_imageList.GetImageCount() > nImage)
        ImageList_Remove(m_imageList.GetSafeHandle(), m_imageList.GetImageCount() - 1);
}

int CPaintedMenuBitmaps::AddBitmap(UINT nBitmapId, COLORREF crMask)
{
    const int nKnown = FindIndex(nBitmapId);
    if (nKnown >= 0)
        return nKnown;
    HBITMAP hBitmap = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmapId));
    if (hBitmap == NULL)
        return -1;
    BITMAP bm = {};
    GetObjectW(hBitmap, sizeof(bm), &bm);
    int nImage = -1;
    if (MatchesImageSize(bm.bmWidth, bm.bmHeight))
    {
        COLORREF crUsed = crMask;
        if (crMask == CLR_DEFAULT)
        {
            // Wine's image lists mask nothing with CLR_DEFAULT: the corner pixel is meant.
            HDC hDC = CreateCompatibleDC(NULL);
            HGDIOBJ hOld = SelectObject(hDC, hBitmap);
            crUsed = GetPixel(hDC, 0, 0);
            SelectObject(hDC, hOld);
            DeleteDC(hDC);
        }
        nImage = ImageList_AddMasked(m_imageList.GetSafeHandle(), hBitmap, crUsed);
        if (nImage >= 0 && AppendVariantsOf(nImage))
        {
            m_masks.push_back(crMask);
            m_commandIds.push_back(nBitmapId);
        }
        else if (nImage >= 0)
        {
            RemoveImagesFrom(nImage);
            nImage = -1;
        }
    }
    DeleteObject(hBitmap);
    return nImage;
}

int CPaintedMenuBitmaps::AddIcon(HICON hIcon, UINT nID)
{
    ICONINFO info = {};
    if (hIcon == NULL || !GetIconInfo(hIcon, &info))
        return -1;
    BITMAP bm = {};
    GetObjectW(info.hbmColor != NULL ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    if (info.hbmColor != NULL)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!MatchesImageSize(bm.bmWidth, info.hbmColor != NULL ? bm.bmHeight : bm.bmHeight / 2))
        return -1;
    HIMAGELIST hList = m_imageList.GetSafeHandle();
    const int nKnown = FindIndex(nID);
    if (nKnown >= 0)
    {
        ImageList_ReplaceIcon(hList, nKnown, hIcon);
        AddShadowedIcon(hIcon, nKnown + 1);
        AddDisabledIcon(hIcon, nKnown + 2);
        return nKnown;
    }
    const int nImage = ImageList_ReplaceIcon(hList, -1, hIcon);
    if (nImage < 0)
        return -1;
    if (!AppendVariantsOf(nImage))
    {
        RemoveImagesFrom(nImage);
        return -1;
    }
    m_masks.push_back(CLR_NONE);
    m_commandIds.push_back(nID);
    return nImage;
}
