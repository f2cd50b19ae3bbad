#include "MosaicTest.h"

#include "ExportPicture.h"
#include "Paving.h"

namespace
{

TEST(ExportPicture, ZoomIsEvenAndAtLeastFour)
{
    const struct { int tileSize, zoom; } cases[] = {{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 6},
                                                   {10, 10}, {11, 12}};
    for (const auto& c : cases)
        EXPECT_EQ(c.zoom, ExportZoom(c.tileSize)) << c.tileSize;
}

TEST(ExportPicture, BaseNameCutsTheFirstMs2AndAddsThePhase)
{
    const struct { LPCWSTR path; int mode; LPCWSTR base; } cases[] = {
        {L"C:\\Mosaics\\Garden.ms2", 0, L"C:\\Mosaics\\Garden_E"},
        {L"C:\\Mosaics\\Garden.ms2", 1, L"C:\\Mosaics\\Garden_E"},
        {L"C:\\Mosaics\\Garden.ms2", 2, L"C:\\Mosaics\\Garden_V"},
        {L"", 0, L"_E"},                         // untitled: beside the current folder
        {L".ms2", 0, L".ms2_E"},                 // a name that starts with it keeps it
        {L"C:\\Photo.jpg", 0, L"C:\\Photo.jpg_E"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.base), ExportBaseName(c.path, c.mode))
            << CW2A(c.path) << " " << c.mode;
    EXPECT_EQ(CString(L"Garden_E"), FilePartOfPath(L"C:\\Mosaics\\Garden_E"));
    EXPECT_EQ(CString(L"_E"), FilePartOfPath(L"_E"));
}

TEST(ExportPicture, ExtensionsFollowTheType)
{
    EXPECT_EQ(CString(L".jpg"), CString(ExportExtension(0)));
    EXPECT_EQ(CString(L".png"), CString(ExportExtension(1)));
    EXPECT_EQ(CString(L".webp"), CString(ExportExtension(2)));
    // A type from a damaged profile still names a file the library can write.
    EXPECT_EQ(CString(L".jpg"), CString(ExportExtension(7)));
    EXPECT_EQ(CString(L".jpg"), CString(ExportExtension(-1)));
}

TEST(ExportPicture, FitsTheLongerSideIntoTheSquare)
{
    const struct { int w, h, side, width, height, margin; BOOL landscape; } cases[] = {
        {300, 150, 512, 512, 256, 25, TRUE},
        {400, 300, 128, 128, 96, 12, TRUE},
        {300, 400, 128, 96, 128, 12, FALSE},
        {200, 200, 128, 128, 128, 0, FALSE},
        {1920, 1080, 128, 128, 72, 21, TRUE},
        // Far longer than wide: the short side keeps one pixel, so it can still be scaled.
        {1000, 3, 128, 128, 1, 49, TRUE},
        {3, 1000, 128, 1, 128, 49, FALSE},
        {0, 5, 128, 0, 0, 0, FALSE},
        {5, 0, 128, 0, 0, 0, TRUE},
    };
    for (const auto& c : cases)
    {
        const FittedPicture fit = FitPictureInSquare(c.w, c.h, c.side);
        EXPECT_EQ(c.width, fit.width) << c.w << "x" << c.h;
        EXPECT_EQ(c.height, fit.height) << c.w << "x" << c.h;
        EXPECT_EQ(c.margin, fit.marginPercent) << c.w << "x" << c.h;
        EXPECT_EQ(c.landscape, fit.bLandscape) << c.w << "x" << c.h;
    }
}

TEST(ExportPicture, SquarePicturesEndWithTheirLastTile)
{
    const SIZE squares = ExportPictureSize(PavingSquares, 4, 12, 7);
    EXPECT_EQ(48, squares.cx);
    EXPECT_EQ(28, squares.cy);
    const SIZE crossed = ExportPictureSize(PavingCrossedJoints, 4, 12, 7);
    EXPECT_EQ(TileToPixelX(PavingCrossedJoints, 4, 12, 0), crossed.cx);
    EXPECT_EQ(28, crossed.cy);
}

TEST(ExportPicture, UnwritablePicturesAreRefused)
{
    const cv::Mat picture(4, 4, CV_8UC3, cv::Scalar(1, 2, 3));
    EXPECT_FALSE(WriteExportPicture(L"C:\\no such folder here\\x.png", picture));
    EXPECT_FALSE(WriteExportPicture(L"C:\\x.png", cv::Mat()));
    // An extension no codec knows makes the library throw.
    EXPECT_FALSE(WriteExportPicture(L"C:\\x.unknown", picture));
    EXPECT_TRUE(ReadExportPicture(L"C:\\no such folder here\\x.png").empty());
}

}   // namespace
