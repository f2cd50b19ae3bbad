// CPaintedMenuIcons: the menu images of one toolbar resource, shared by every menu that shows
// them. Each button has three images: normal (3i), darkened (3i + 1) and disabled (3i + 2).
#pragma once

#include "AfxImageList.h"
#include "AfxObject.h"
#include "AfxString.h"
#include <functional>
#include <vector>
#include <windows.h>

class CPaintedMenuIcons : public CObject
{
    DECLARE_DYNAMIC(CPaintedMenuIcons)
public:
    CPaintedMenuIcons();
    virtual ~CPaintedMenuIcons();

    // 3 times the position of nID (the last one listed wins), -1 when absent.
    virtual int FindIndex(UINT nID) const;
    // Reloads the bitmap at the current image size and builds the variants again.
    virtual BOOL Reload();
    virtual BOOL LoadToolBarByName(LPCTSTR lpszResourceName, HMODULE hModule);
    virtual BOOL IsSameResource(LPCTSTR lpszResourceName, HMODULE hModule) const;
    virtual BOOL LoadBitmap(int nWidth, int nHeight, LPCTSTR lpszResourceName, HMODULE hModule);
    // Images from a copy of hBitmap, one per id of the zero-terminated list pIds.
    virtual BOOL LoadFromBitmap(HBITMAP hBitmap, const UINT* pIds);
    // Images from the bitmap resource nBitmapId cut at size, one per id of ids (0: none).
    virtual BOOL LoadToolBarData(UINT nBitmapId, CSize size, const std::vector<UINT>& ids);
    virtual BOOL IsSameImageList(HBITMAP hBitmap, CSize size, const std::vector<UINT>& ids) const;
    virtual BOOL IsSameToolBar(UINT nBitmapId, COLORREF crMask, const std::vector<UINT>& ids) const;
    // The darkened and the disabled variant of hIcon, appended (nIndex -1) or in place of
    // image nIndex; the mask stays the icon's.
    virtual BOOL AddShadowedIcon(HICON hIcon, int nIndex);
    virtual BOOL AddDisabledIcon(HICON hIcon, int nIndex);
    // Every image followed by its darkened and its disabled variant.
    virtual void BuildVariants();

    CSize GetIconSize() const;

    // Counted references; the store leaves the global list and is deleted at 0.
    static void AddRef(CPaintedMenuIcons* pIcons);
    static void Release(CPaintedMenuIcons* pIcons);

    // The store list shared by all menus.
    static std::vector<CPaintedMenuIcons*>& GetStoreList();
    static void DeleteStoreList();

    LPCTSTR m_lpszResourceName;
    CString m_strResourceName;
    HMODULE m_hModule;
    int m_nColourTableSize;
    COLORREF m_crMask;
    HBITMAP m_hImageSource;
    CImageList m_imageList;
    std::vector<UINT> m_commandIds;
    int m_nRefCount;

protected:
    // The loaded bitmap's pixels (0x00RRGGBB, top row first) and its transparent colour,
    // from which the variants are made.
    std::vector<DWORD> m_source;
    int m_nSourceWidth;
    int m_nSourceHeight;
    COLORREF m_crSourceMask;

    // Takes the pixels of hBitmap (deleted here) as the source of images of nWidth by nHeight.
    BOOL SetSource(HBITMAP hBitmap, int nWidth, int nHeight);
    // hIcon with every colour pixel (0x00RRGGBB) given by pixelRule, as image nIndex
    // (-1: appended).
    BOOL AddIconVariant(HICON hIcon, int nIndex, const std::function<DWORD(DWORD)>& pixelRule);
};

// Refreshes every icon store after a change of the system colours: at most once in 2000 ms
// (TRUE when it did). The themes read their colours and border sizes again with it.
BOOL UpdateMenuColours(DWORD nNow = GetTickCount());

// Pixel rules of the variants, on 0x00RRGGBB values.
COLORREF PaintedMenuDisabledPixel(COLORREF cr, COLORREF crTarget);
