// CImageList, the wrapper of a COMCTL32 image list. The destructor destroys an attached
// list: Detach first to keep it. FromHandle answers with the object that has the list
// attached or with a temporary wrapper, freed at the thread's idle time, that never destroys
// the list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AfxObject.h"
#include "AfxGeometry.h"

class CBitmap;
class CDC;

class CImageList : public CObject
{
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList();
    virtual ~CImageList();

    HIMAGELIST m_hImageList;

    operator HIMAGELIST() const { return IsNull(this) ? NULL : m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return IsNull(this) ? NULL : m_hImageList; }

    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    // FALSE, and nothing done, when no list is attached.
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;

    // Each returns the index of the first image added, or -1.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    // The pixels of crMask become transparent.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    // Returns the index of the replaced image, or -1.
    int Replace(int nImage, HICON hIcon);
    // -1 removes every image.
    BOOL Remove(int nImage);

    // A new icon the caller destroys with DestroyIcon.
    HICON ExtractIcon(int nImage);
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);

protected:
    // Callers may ask a NULL pointer for its handle, as MFC allows; the empty asm keeps the
    // compiler from assuming that this is never NULL.
    static bool IsNull(const void* p)
    {
        __asm__("" : "+r"(p));
        return p == nullptr;
    }
};
