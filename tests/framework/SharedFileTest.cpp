// CSharedFile: a memory file in global memory, handed over as an HGLOBAL and read back from one.
#include "MosaicTest.h"

#include <algorithm>

#include "AfxFile.h"

namespace {

BYTE Pattern(UINT i)
{
    return (BYTE)(i * 7 + 3);
}

TEST(SharedFile, GrowsInGlobalMemoryAndHandsTheBlockOver)
{
    CSharedFile file(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
    BYTE data[100];
    for (UINT i = 0; i < sizeof(data); i++)
        data[i] = Pattern(i);
    for (UINT nDone = 0; nDone < sizeof(data); nDone += 7)
        file.Write(data + nDone, std::min<UINT>(7, sizeof(data) - nDone));
    EXPECT_EQ(file.GetLength(), 100u);

    HGLOBAL hBlock = file.Detach();
    ASSERT_NE(hBlock, nullptr);
    // Unlocked, as the clipboard wants it; in whole growth steps.
    EXPECT_EQ(GlobalFlags(hBlock) & GMEM_LOCKCOUNT, 0u);
    EXPECT_EQ(GlobalSize(hBlock), 112u);
    EXPECT_EQ(memcmp(GlobalLock(hBlock), data, sizeof(data)), 0);
    GlobalUnlock(hBlock);

    // The file starts again empty, on a block of its own.
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("x", 1);
    HGLOBAL hOther = file.Detach();
    EXPECT_NE(hOther, hBlock);
    EXPECT_EQ(*(char*)GlobalLock(hOther), 'x');
    GlobalUnlock(hOther);
    GlobalFree(hOther);
    GlobalFree(hBlock);
}

TEST(SharedFile, ReadsAGivenBlockAndGrowsItOnlyWhenAllowed)
{
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, 10);
    BYTE* p = (BYTE*)GlobalLock(hBlock);
    for (UINT i = 0; i < 10; i++)
        p[i] = Pattern(i);
    GlobalUnlock(hBlock);

    CSharedFile file;
    file.SetHandle(hBlock);
    EXPECT_EQ(file.GetLength(), 10u);
    BYTE data[16] = {};
    EXPECT_EQ(file.Read(data, sizeof(data)), 10u);
    for (UINT i = 0; i < 10; i++)
        EXPECT_EQ(data[i], Pattern(i));
    file.Write("ab", 2);
    EXPECT_EQ(file.GetLength(), 12u);
    hBlock = file.Detach();
    EXPECT_EQ(GlobalFlags(hBlock) & GMEM_LOCKCOUNT, 0u);
    ASSERT_GE(GlobalSize(hBlock), 12u);
    EXPECT_EQ(memcmp((BYTE*)GlobalLock(hBlock) + 10, "ab", 2), 0);
    GlobalUnlock(hBlock);

    // Without growth the block's size is the limit.
    CSharedFile fixed;
    fixed.SetHandle(hBlock, FALSE);
    SIZE_T nSize = GlobalSize(hBlock);
    fixed.Seek((LONGLONG)nSize - 1, CFile::begin);
    fixed.Write("z", 1);
    bool bThrown = false;
    try
    {
        fixed.Write("zz", 2);
    }
    catch (CMemoryException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_EQ(fixed.GetLength(), nSize);
    EXPECT_EQ(fixed.Detach(), hBlock);
    GlobalFree(hBlock);
}

} // namespace
