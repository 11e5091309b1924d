// In-process benchmarks of the picture engine, each beside the way Qt alone would do it.
// The picture is a camera-like 24 MP JPEG made at start, or KORVEX_BENCH_PICTURE.

#include "TestPictures.h"
#include "imaging/IEFunctions.h"
#include "imaging/JpegCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace korvex;

namespace {

QString g_picture;

QSize fitInto(QSize picture, QSize area) {
    return FitRect(picture.width(), picture.height(), false, false, true, false, 0, 0,
                   area.height(), area.width())
        .size();
}

// filterMode as ResampleBitmap takes it: 1 linear, 2 Lanczos 3.
void korvexFit(benchmark::State& state, QSize area, int filterMode) {
    TIEFunctions ie;
    for (auto _ : state) {
        QImage bitmap;
        ie.LoadImageBitmap(bitmap, g_picture, false, area.height(), area.width());
        const QSize fit = fitInto(bitmap.size(), area);
        ie.ResampleBitmap(bitmap, fit.width(), false, false, filterMode, fit.height());
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}

void qtReaderFit(benchmark::State& state, QSize area) {
    for (auto _ : state) {
        QImageReader reader(g_picture);
        reader.setScaledSize(fitInto(reader.size(), area));
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_FullScreen_Korvex(benchmark::State& s) {
    korvexFit(s, QSize(1600, 1000), 2);
}
void BM_FullScreen_KorvexLinear(benchmark::State& s) {
    korvexFit(s, QSize(1600, 1000), 1);
}
void BM_FullScreen_QImageReader(benchmark::State& s) {
    qtReaderFit(s, QSize(1600, 1000));
}
void BM_Thumbnail_Korvex(benchmark::State& s) {
    korvexFit(s, QSize(90, 75), 1);
}
void BM_Thumbnail_QImageReader(benchmark::State& s) {
    qtReaderFit(s, QSize(90, 75));
}

void BM_Properties(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TIEFunctions::GetImageProperties(g_picture).Width);
}

void BM_Rotate90InMemory(benchmark::State& state) {
    QFile file(g_picture);
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(jpeg::rotate(data, 90).size());
}

void BM_ResampleLanczos3(benchmark::State& state) {
    test::JpegRecipe recipe;
    recipe.width = 3000;
    recipe.height = 2000;
    recipe.photo = true;
    const QImage source = test::patternImage(recipe);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            Resample(source, 1600, 1067, ResampleFilter::Lanczos3).constBits());
}

} // namespace

BENCHMARK(BM_FullScreen_Korvex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreen_KorvexLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScreen_QImageReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnail_Korvex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnail_QImageReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Properties)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rotate90InMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleLanczos3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    g_picture = qEnvironmentVariable("KORVEX_BENCH_PICTURE");
    if (g_picture.isEmpty()) {
        test::JpegRecipe recipe;
        recipe.width = 6000;
        recipe.height = 4000;
        recipe.quality = 92;
        recipe.vSampling = 1;
        recipe.exif = recipe.exifThumbnail = true;
        recipe.photo = true;
        g_picture = test::writeJpeg(scratch.path(), QStringLiteral("bench.jpg"), recipe);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
