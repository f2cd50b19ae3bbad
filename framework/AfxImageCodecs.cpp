#include "AfxImageCodecs.h"

#include <dlfcn.h>

namespace
{

typedef int (*ReadFn)(const char* path, int flags, cv::Mat* out);
typedef int (*WriteFn)(const char* path, const cv::Mat* image, const int* params, int count);
typedef int (*EncodeFn)(const char* extension, const cv::Mat* image,
                        std::vector<unsigned char>* out);

struct Codecs
{
    ReadFn pfnRead = nullptr;
    WriteFn pfnWrite = nullptr;
    EncodeFn pfnEncode = nullptr;
};

// Found through the program's run path; missing codecs read and write nothing.
const Codecs& LoadedCodecs()
{
    static const Codecs codecs = [] {
        Codecs loaded;
        if (void* pLibrary = dlopen("libmosaic-imgcodecs.so", RTLD_NOW | RTLD_LOCAL))
        {
            loaded.pfnRead = (ReadFn)dlsym(pLibrary, "mosaic_imread");
            loaded.pfnWrite = (WriteFn)dlsym(pLibrary, "mosaic_imwrite");
            loaded.pfnEncode = (EncodeFn)dlsym(pLibrary, "mosaic_imencode");
        }
        return loaded;
    }();
    return codecs;
}

}   // namespace

cv::Mat AfxImRead(const std::string& strUnixPath, int nFlags)
{
    cv::Mat image;
    const Codecs& codecs = LoadedCodecs();
    if (codecs.pfnRead == nullptr || !codecs.pfnRead(strUnixPath.c_str(), nFlags, &image))
        image.release();
    return image;
}

bool AfxImWrite(const std::string& strUnixPath, const cv::Mat& image,
                const std::vector<int>& params)
{
    const Codecs& codecs = LoadedCodecs();
    return codecs.pfnWrite != nullptr &&
           codecs.pfnWrite(strUnixPath.c_str(), &image, params.data(), (int)params.size()) != 0;
}

bool AfxImEncode(const std::string& strExtension, const cv::Mat& image,
                 std::vector<unsigned char>& bytes)
{
    bytes.clear();
    const Codecs& codecs = LoadedCodecs();
    return codecs.pfnEncode != nullptr &&
           codecs.pfnEncode(strExtension.c_str(), &image, &bytes) != 0 && !bytes.empty();
}
