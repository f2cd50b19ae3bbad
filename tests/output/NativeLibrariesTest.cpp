// The image and PDF libraries are linked into the Winelib program and work there.
#include "OpenCv.h"
#include "PdfHummus.h"
#include "MosaicTest.h"
#include "PdfChecks.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace {

TEST(NativeLibraries, OpenCvDecodesPngFromMemory)
{
    cv::Mat picture(2, 3, CV_8UC3, cv::Scalar(0, 0, 0));
    picture.at<cv::Vec3b>(0, 0) = cv::Vec3b(255, 0, 0);
    picture.at<cv::Vec3b>(1, 2) = cv::Vec3b(10, 20, 30);
    std::vector<uchar> png;
    ASSERT_TRUE(cv::imencode(".png", picture, png));
    ASSERT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");

    cv::Mat decoded = cv::imdecode(png, cv::IMREAD_COLOR);
    ASSERT_EQ(decoded.rows, 2);
    ASSERT_EQ(decoded.cols, 3);
    EXPECT_EQ(decoded.at<cv::Vec3b>(0, 0), cv::Vec3b(255, 0, 0));
    EXPECT_EQ(decoded.at<cv::Vec3b>(1, 2), cv::Vec3b(10, 20, 30));
    EXPECT_EQ(decoded.at<cv::Vec3b>(1, 0), cv::Vec3b(0, 0, 0));
}

TEST(NativeLibraries, PdfHummusWritesOnePagePdf)
{
    char folder[] = "/tmp/mosaic-pdf-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/one-page.pdf";

    PDFWriter writer;
    ASSERT_EQ(writer.StartPDF(path, ePDFVersion13), PDFHummus::eSuccess);
    PDFPage* page = new PDFPage();
    page->SetMediaBox(PDFRectangle(0, 0, 595, 842));
    PageContentContext* content = writer.StartPageContentContext(page);
    ASSERT_NE(content, nullptr);
    content->re(100, 500, 200, 100);
    content->f();
    ASSERT_EQ(writer.EndPageContentContext(content), PDFHummus::eSuccess);
    ASSERT_EQ(writer.WritePageAndRelease(page), PDFHummus::eSuccess);
    ASSERT_EQ(writer.EndPDF(), PDFHummus::eSuccess);

    const std::string info = PdfInfo(path);
    EXPECT_EQ(InfoValue(info, "Pages"), "1") << info;
    EXPECT_EQ(InfoValue(info, "PDF version"), "1.3") << info;
    EXPECT_EQ(InfoValue(info, "Page size").substr(0, 13), "595 x 842 pts") << info;

    unlink(path.c_str());
    rmdir(folder);
}

} // namespace
