// CPaintedMenuIcons: the menu images of one toolbar resource, shared by every menu that shows
// them. Each button has three images: normal (3i), darkened (3i + 1) and disabled (3i + 2).
#pragma once

#include "AfxImageList.h"
#include "AfxObject.h"
#include "AfxString.h"
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
};

// Pixel rules of the variants, on 0x00RRGGBB values.
COLORREF PaintedMenuDarken(COLORREF cr, int nDepth);
COLORREF PaintedMenuLighten(COLORREF cr, int nAmount);
COLORREF PaintedMenuDisabledPixel(COLORREF cr, COLORREF crTarget);
