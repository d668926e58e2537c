// One page from SANE's test backend through the package's TWAIN layer, the
// stand-in source manager and the SANE data source: into a native DIB, on
// into a QImage, and into the document-picture window's picture (the
// window's own scan). Wall time, since SANE's test device produces its data in a
// process of its own. bench/run_sane_compare.py runs this beside scanimage.
//
// Environment (run_sane_compare.py sets it; alone, the program makes its own):
//   SANE_CONFIG_DIR    a folder whose dll.conf enables only "test"
//   XDG_CONFIG_HOME    where the source manager finds its default source
//   TWAINSANE_OPTIONS  the device settings of the page
#include "twain/DibLayout.h"
#include "twain/LockedBlock.h"
#include "twain/MultiTWAIN_p.h"
#include "twain/engDocFromScanner9r_FM.h"
#include "common/engCommon9r.h"
#include "ui/TPictureBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QCheckBox>
#include <QTemporaryDir>
#include <memory>
#include <benchmark/benchmark.h>

namespace {

// The test device's scan area ends at 200 mm, so the A4 page at 300 dpi
// (2480 x 3508 pixels) is scanned as 141 x 200 mm at 446 dpi: 2475 x 3511.
constexpr const char *PageOptions = "mode=Color;depth=8;resolution=446;br-x=141;br-y=200;test-picture=Color pattern";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void prepareEnvironment(const QTemporaryDir &own)
{
    if (qEnvironmentVariableIsEmpty("SANE_CONFIG_DIR")) {
        writeFile(own.filePath(QStringLiteral("sane/dll.conf")), "test\n");
        writeFile(own.filePath(QStringLiteral("sane/test.conf")), "number_of_devices 1\n");
        qputenv("SANE_CONFIG_DIR", own.filePath(QStringLiteral("sane")).toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")) {
        writeFile(own.filePath(QStringLiteral("config/twaindsm/default-source")), "SANE: Noname frontend-tester\n");
        qputenv("XDG_CONFIG_HOME", own.filePath(QStringLiteral("config")).toLocal8Bit());
    }
    // The window's settings stay in the program's own folder.
    gl_sRecognizeIniFileName = own.filePath(QStringLiteral("Recognize.iniu"));
    if (qEnvironmentVariableIsEmpty("TWAINSANE_OPTIONS"))
        qputenv("TWAINSANE_OPTIONS", PageOptions);
}

TWAIN_HDIB scanPage(benchmark::State &state)
{
    TWAIN_SetHideUI(1);
    TWAIN_HDIB dib = TWAIN_AcquireNative(0, TWAIN_RGB);
    if (!dib)
        state.SkipWithError("no page from the SANE source");
    return dib;
}

void BM_SanePageToDib(benchmark::State &state)
{
    for (auto _ : state) {
        TWAIN_HDIB dib = scanPage(state);
        if (!dib)
            return;
        state.counters["width"] = TWAIN_DibWidth(dib);
        state.counters["height"] = TWAIN_DibHeight(dib);
        TWAIN_FreeNative(dib);
    }
}

void BM_SanePageToImage(benchmark::State &state)
{
    for (auto _ : state) {
        TWAIN_HDIB dib = scanPage(state);
        if (!dib)
            return;
        QImage image;
        {
            twain::LockedBlock block(dib);
            image = twain::DibToImage(block.data(), block.size());
        }
        benchmark::DoNotOptimize(image.constBits());
        TWAIN_FreeNative(dib);
    }
}

void BM_SanePageToFormPicture(benchmark::State &state)
{
    // The document-picture window's own scan: the layer's acquisition with
    // the source's dialog hidden, the page drawn into the window's bitmap and
    // shown in both picture boxes, the DIB freed. One window for all pages,
    // as an operator scans one document after another.
    TDocFromScannerFM form(nullptr);
    form.cxShowScanerList->setChecked(false);
    form.Calls.SetHideUI = [](int32_t) { TWAIN_SetHideUI(1); };
    for (auto _ : state) {
        form.bScanTestClick();
        if (!form.imgWorkTest->HasGraphic()) {
            state.SkipWithError("no picture in the window");
            return;
        }
        benchmark::DoNotOptimize(form.imgWorkTest->Picture().constBits());
    }
}

// Processor time of the whole process: SANE's test device makes its data on
// a thread of its own, and the scan reads on another.
void BM_SanePageToNewFormPicture(benchmark::State &state)
{
    // The first page of a window: no bitmap of an earlier page to fill.
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TDocFromScannerFM>(nullptr);
        form->cxShowScanerList->setChecked(false);
        form->Calls.SetHideUI = [](int32_t) { TWAIN_SetHideUI(1); };
        state.ResumeTiming();
        form->bScanTestClick();
        if (!form->imgWorkTest->HasGraphic()) {
            state.SkipWithError("no picture in the window");
            return;
        }
        benchmark::DoNotOptimize(form->imgWorkTest->Picture().constBits());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_SanePageToDib)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinWarmUpTime(0.2);
BENCHMARK(BM_SanePageToImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SanePageToNewFormPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SanePageToFormPicture)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir own;
    prepareEnvironment(own);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
