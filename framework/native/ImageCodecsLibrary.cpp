// The picture decoders and encoders, in a native library of their own that the program
// loads the first time it reads or writes a picture: the codecs bring a hundred further
// libraries with them, and loading those at start-up would slow every start.
#include <exception>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

extern "C" {

// FALSE (0) when the file cannot be decoded; out is left empty then.
__attribute__((visibility("default"))) int mosaic_imread(const char* path, int flags,
                                                         cv::Mat* out)
{
    try
    {
        *out = cv::imread(std::string(path), flags);
        return out->empty() ? 0 : 1;
    }
    catch (const std::exception&)
    {
        out->release();
        return 0;
    }
}

// FALSE (0) when the picture cannot be encoded in the format of the extension (".png").
__attribute__((visibility("default"))) int mosaic_imencode(const char* extension,
                                                           const cv::Mat* image,
                                                           std::vector<unsigned char>* out)
{
    try
    {
        return cv::imencode(std::string(extension), *image, *out) ? 1 : 0;
    }
    catch (const std::exception&)
    {
        out->clear();
        return 0;
    }
}

__attribute__((visibility("default"))) int mosaic_imwrite(const char* path, const cv::Mat* image,
                                                          const int* params, int paramCount)
{
    try
    {
        const std::vector<int> values(params, params + paramCount);
        return cv::imwrite(std::string(path), *image, values) ? 1 : 0;
    }
    catch (const std::exception&)
    {
        return 0;
    }
}

}
