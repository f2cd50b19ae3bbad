// Opening photographs as mosaics. A small one (400 x 300) against the colour clustering
// alone: everything the open does besides the clustering should cost little next to it. A
// large one (up to 4000 x 3000) against clustering all of its pixels: the open finds its
// colours on a sample, and the colours must stay as close to the picture ("colour_error",
// the mean distance in RGB from each pixel to the colour of its tile).
//
// The whole clustering of the 4000 x 3000 picture takes minutes; it runs only when the
// program is given --with-whole-clustering before the benchmark's own arguments.
#include "MosaicBenchmark.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <string.h>

#include "AfxPath.h"
#include "LangText.h"
#include "OpenCv.h"
#include "VitrolanDoc.h"

namespace {

const char kPicture[] = MOSAIC_FIXTURES "/softwaves-400x300.jpg";

void BM_OpenPhotograph(benchmark::State& state)
{
    std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
    const CString path = CString(L"Z:") + CString(kPicture);
    for (auto _ : state)
    {
        cv::setRNGSeed(1);
        if (!doc->OnOpenDocument(path))
            state.SkipWithError("the photograph did not open");
    }
}
BENCHMARK(BM_OpenPhotograph)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4.0);

// The clustering as the open runs it on a small picture: same samples, colours, criteria and
// attempts.
void BM_ClusterPhotograph(benchmark::State& state)
{
    const cv::Mat picture = cv::imread(kPicture, cv::IMREAD_COLOR);
    cv::Mat floats;
    picture.convertTo(floats, CV_32F, 1.0, 0.0);
    const cv::Mat samples = floats.reshape(1, picture.rows * picture.cols);
    for (auto _ : state)
    {
        cv::setRNGSeed(1);
        cv::Mat labels(samples.rows, 1, CV_32S, cv::Scalar(0));
        cv::Mat centres;
        cv::kmeans(samples, 256, labels,
                   cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 10, 1.0), 3,
                   0, centres);
        benchmark::DoNotOptimize(centres.data);
    }
    state.counters["threads"] = cv::getNumThreads();
}
BENCHMARK(BM_ClusterPhotograph)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(4.0);

// A picture with what makes a photograph hard to cluster: light and colour changing
// smoothly over the scene, objects of their own colours with edges softened as by a lens,
// fine texture and the camera's noise. Its features scale with its size.
cv::Mat MakePhotograph(int nCols, int nRows)
{
    cv::RNG rng(20240611);
    cv::Mat light(6, 8, CV_32FC3);
    rng.fill(light, cv::RNG::UNIFORM, cv::Scalar::all(30), cv::Scalar::all(225));
    cv::Mat scene;
    cv::resize(light, scene, cv::Size(nCols, nRows), 0, 0, cv::INTER_CUBIC);
    for (int i = 0; i < 60; i++)
    {
        const cv::Point centre(rng.uniform(0, nCols), rng.uniform(0, nRows));
        const cv::Size axes(rng.uniform(nCols / 60, nCols / 6), rng.uniform(nRows / 60, nRows / 6));
        const cv::Scalar colour(rng.uniform(0, 255), rng.uniform(0, 255), rng.uniform(0, 255));
        cv::ellipse(scene, centre, axes, rng.uniform(0, 180), 0, 360, colour, cv::FILLED,
                    cv::LINE_AA);
    }
    cv::GaussianBlur(scene, scene, cv::Size(0, 0), nCols / 1500.0);
    // Shading over the objects, as light falls on them.
    cv::Mat shade(30, 40, CV_32FC1);
    rng.fill(shade, cv::RNG::UNIFORM, cv::Scalar(0.6), cv::Scalar(1.15));
    cv::resize(shade, shade, scene.size(), 0, 0, cv::INTER_CUBIC);
    cv::Mat shades[] = {shade, shade, shade};
    cv::merge(shades, 3, shade);
    scene = scene.mul(shade);
    cv::Mat texture(nRows / 40 + 1, nCols / 40 + 1, CV_32FC3);
    rng.fill(texture, cv::RNG::NORMAL, cv::Scalar::all(0), cv::Scalar::all(14));
    cv::resize(texture, texture, scene.size(), 0, 0, cv::INTER_LINEAR);
    scene += texture;
    cv::Mat noise(nRows, nCols, CV_32FC3);
    rng.fill(noise, cv::RNG::NORMAL, cv::Scalar::all(0), cv::Scalar::all(4));
    scene += noise;
    cv::Mat picture;
    scene.convertTo(picture, CV_8UC3);
    return picture;
}

// The photograph of that size as a JPEG in the temporary folder, made once per run.
CString PhotographPath(int nCols, int nRows)
{
    static std::map<std::pair<int, int>, CString> s_paths;
    CString& strPath = s_paths[std::make_pair(nCols, nRows)];
    if (strPath.IsEmpty())
    {
        WCHAR szTemp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, szTemp);
        CString strName;
        strName.Format(L"bench-photograph-%dx%d.jpg", nCols, nRows);
        strPath = CString(szTemp) + strName;
        const std::vector<int> quality = {cv::IMWRITE_JPEG_QUALITY, 92};
        if (!cv::imwrite(AfxGetUnixPath(strPath).GetString(), MakePhotograph(nCols, nRows),
                         quality))
            strPath.Empty();
    }
    return strPath;
}

double Distance(const cv::Vec3b& pixel, int nBlue, int nGreen, int nRed)
{
    const double dBlue = pixel[0] - nBlue, dGreen = pixel[1] - nGreen, dRed = pixel[2] - nRed;
    return std::sqrt(dBlue * dBlue + dGreen * dGreen + dRed * dRed);
}

// The mean distance from each pixel to the colour the document gave its tile.
double MeanColourError(const cv::Mat& picture, const CVitrolanDoc& doc)
{
    double dSum = 0;
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
        {
            int s, k, a, b, c, d, va, vb, vc, vd;
            doc.m_workingMap.GetCell(x, y, s, k, a, b, c, d, va, vb, vc, vd);
            const PaletteEntry& e = doc.m_imagePalette.m_colours[a];
            dSum += Distance(picture.at<cv::Vec3b>(y, x), e.peBlue, e.peGreen, e.peRed);
        }
    return dSum / ((double)picture.rows * picture.cols);
}

// The same for labels and centres, the centres cut to whole numbers as the document keeps
// them.
double MeanColourError(const cv::Mat& picture, const cv::Mat& labels, const cv::Mat& centres)
{
    double dSum = 0;
    for (int y = 0; y < picture.rows; y++)
        for (int x = 0; x < picture.cols; x++)
        {
            const int nLabel = labels.at<int>(y * picture.cols + x);
            dSum += Distance(picture.at<cv::Vec3b>(y, x), (int)centres.at<float>(nLabel, 0),
                             (int)centres.at<float>(nLabel, 1), (int)centres.at<float>(nLabel, 2));
        }
    return dSum / ((double)picture.rows * picture.cols);
}

void BM_OpenLargePhotograph(benchmark::State& state)
{
    const CString strPath = PhotographPath((int)state.range(0), (int)state.range(1));
    std::unique_ptr<CVitrolanDoc> doc(new CVitrolanDoc);
    for (auto _ : state)
    {
        if (strPath.IsEmpty() || !doc->OnOpenDocument(strPath))
        {
            state.SkipWithError("the photograph did not open");
            return;
        }
    }
    const cv::Mat picture = cv::imread(AfxGetUnixPath(strPath).GetString(), cv::IMREAD_COLOR);
    state.counters["colour_error"] = MeanColourError(picture, *doc);
}
BENCHMARK(BM_OpenLargePhotograph)
    ->Args({1200, 900})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Every pixel clustered, as the open did for photographs of any size.
void BM_ClusterLargePhotographWhole(benchmark::State& state)
{
    const CString strPath = PhotographPath((int)state.range(0), (int)state.range(1));
    const cv::Mat picture = cv::imread(AfxGetUnixPath(strPath).GetString(), cv::IMREAD_COLOR);
    if (picture.empty())
    {
        state.SkipWithError("the photograph was not made");
        return;
    }
    cv::Mat floats;
    picture.convertTo(floats, CV_32F, 1.0, 0.0);
    const cv::Mat samples = floats.reshape(1, picture.rows * picture.cols);
    cv::Mat labels, centres;
    for (auto _ : state)
    {
        cv::setRNGSeed(1);
        labels = cv::Mat(samples.rows, 1, CV_32S, cv::Scalar(0));
        cv::kmeans(samples, 256, labels,
                   cv::TermCriteria(cv::TermCriteria::COUNT + cv::TermCriteria::EPS, 10, 1.0), 3,
                   0, centres);
    }
    state.counters["colour_error"] = MeanColourError(picture, labels, centres);
}
BENCHMARK(BM_ClusterLargePhotographWhole)
    ->Args({1200, 900})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    // The open reads texts of the interface language.
    SetLangTextFolder(BenchmarkDataFolder());
    if (argc > 1 && strcmp(argv[1], "--with-whole-clustering") == 0)
    {
        benchmark::RegisterBenchmark("BM_ClusterLargePhotographWhole", BM_ClusterLargePhotographWhole)
            ->Args({4000, 3000})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
        argv[1] = argv[0];
        argc--;
        argv++;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
