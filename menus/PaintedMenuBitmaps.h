// CPaintedMenuBitmaps: menu images added one by one from bitmap resources or icons, each
// with its darkened and its disabled variant, as the toolbar stores have them.
#pragma once

#include "PaintedMenuIcons.h"

class CPaintedMenuBitmaps : public CPaintedMenuIcons
{
    DECLARE_DYNAMIC(CPaintedMenuBitmaps)
public:
    CPaintedMenuBitmaps();
    virtual ~CPaintedMenuBitmaps();

    // Builds the variants again from the normal images.
    BOOL Reload() override;
    virtual void MakeIconVariants();

    // The image index of bitmap resource nBitmapId, added with crMask (CLR_DEFAULT: the
    // top-left pixel) when new; -1 when it cannot be loaded or its size is not the store's.
    int AddBitmap(UINT nBitmapId, COLORREF crMask);
    // The image index of hIcon for command nID; an id already in the store has its images
    // replaced. -1 when the icon's size is not the store's.
    int AddIcon(HICON hIcon, UINT nID);

    std::vector<COLORREF> m_masks;

protected:
    // Appends the variants of normal image nImage.
    BOOL AppendVariantsOf(int nImage);
    BOOL MatchesImageSize(int cx, int cy);
    // Takes away the images from nImage on, after a failed addition.
    void RemoveImagesFrom(int nImage);
};
