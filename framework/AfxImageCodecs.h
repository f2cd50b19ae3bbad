// Reading and writing picture files (JPEG, PNG, WebP, TIFF, BMP) through the image library's
// codecs, loaded the first time a picture is read or written. Paths are Linux paths in
// UTF-8 (AfxGetUnixPath).
#pragma once

#include <string>
#include <vector>

#include "OpenCv.h"

// As cv::imread: an empty matrix when the file cannot be decoded.
cv::Mat AfxImRead(const std::string& strUnixPath, int nFlags = cv::IMREAD_COLOR);
// As cv::imwrite: false when the picture cannot be written.
bool AfxImWrite(const std::string& strUnixPath, const cv::Mat& image,
                const std::vector<int>& params = std::vector<int>());
// As cv::imencode: the file's bytes of the picture in the format of the extension (".png");
// false when it cannot be encoded.
bool AfxImEncode(const std::string& strExtension, const cv::Mat& image,
                 std::vector<unsigned char>& bytes);
