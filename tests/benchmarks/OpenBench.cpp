// Opening a 400 x 300 photograph as a mosaic, against the colour clustering alone: everything
// the open does besides the clustering should cost little next to it.
#include "MosaicBenchmark.h"

#include <memory>
#include <string>

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

// The clustering as the open runs it: same samples, colours, criteria and attempts.
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

}  // namespace

BENCHMARK_MAIN();
