// Strecth on an A4 page at 300 dpi (half and double size) and on a camera
// frame (640 x 480 to 1920 x 1440), with the filters the common resizers
// also offer, on one core and on all of them.
//
//   bench_resample [google benchmark flags]
//   bench_resample --write-pictures DIR   (page.ppm and frame.ppm for peers)

#include "SyntheticPage.h"
#include "imaging/engResample.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <cstring>
#include <iostream>

namespace {

const QImage &Page()
{
    static const QImage page = bench::SyntheticPage();
    return page;
}

const QImage &Frame()
{
    static const QImage frame = bench::SyntheticFrame();
    return frame;
}

// case: 0 page to half, 1 page to double, 2 frame to 1920 x 1440
// filter: index into ResampleFilters (0 Box, 1 Triangle, 5 Lanczos3, 6 Mitchell)
// threads: 1, or 0 for every core
void BM_Strecth(benchmark::State &state)
{
    const int scenario = static_cast<int>(state.range(0));
    const TResampleFilter &filter = ResampleFilters[state.range(1)];
    const engResample::TResampleOptions options{static_cast<unsigned>(state.range(2)), true};
    QImage src = scenario == 2 ? Frame() : Page();
    const QSize target = scenario == 0   ? QSize(src.width() / 2, src.height() / 2)
                         : scenario == 1 ? QSize(src.width() * 2, src.height() * 2)
                                         : QSize(1920, 1440);
    for (auto _ : state) {
        QImage dst(target, QImage::Format_BGR888); // a new picture every time, as a caller would
        engResample::StrecthWith(&src, &dst, filter.Filter, filter.Width, options);
        benchmark::DoNotOptimize(dst.constBits());
    }
    static const char *names[] = {"half", "double", "640x480-1920x1440"};
    state.SetLabel(std::string(names[scenario]) + "/" + filter.Name + "/" +
                   (options.maxThreads == 1 ? "1core" : "allcores"));
}

void Cases(benchmark::internal::Benchmark *b)
{
    for (int scenario : {0, 1, 2})
        for (int filter : {0, 1, 6, 5})
            for (int threads : {1, 0})
                b->Args({scenario, filter, threads});
}

BENCHMARK(BM_Strecth)->Apply(Cases)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-pictures") == 0) {
        const QDir dir(QString::fromLocal8Bit(argv[2]));
        if (!Page().save(dir.filePath(QStringLiteral("page.ppm")), "PPM") ||
            !Frame().save(dir.filePath(QStringLiteral("frame.ppm")), "PPM")) {
            std::cerr << "cannot write the pictures into " << argv[2] << "\n";
            return 1;
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
