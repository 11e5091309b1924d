// libFuzzer target for everything that reads picture bytes from a file: format detection, the
// header readers behind GetImageProperties, every decoder (TurboJPEG, libpng, PCX, Qt's BMP,
// GIF, TIFF and ICO readers), EXIF parsing and the lossless transforms.
//
// Build (clang only; the normal build skips this folder):
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
//         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKORVEX_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_picture_loaders
// Seed corpus (small pictures of every format) and a five-minute run:
//   build-fuzz/bin/fuzz_picture_loaders -seed_corpus_dir=build-fuzz/seeds   # writes the seeds
//   build-fuzz/bin/fuzz_picture_loaders -max_total_time=300 -max_len=65536 \
//         -rss_limit_mb=2048 build-fuzz/corpus build-fuzz/seeds
// A crash leaves crash-<hash> in the current folder; rerun the target with that file to debug.

#include "FuzzMain.h"
#include "TestPictures.h"
#include "imaging/ExifData.h"
#include "imaging/ImageFormat.h"
#include "imaging/ImageProperties.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureReader.h"

#include <cstddef>
#include <cstdint>

using namespace korvex;

namespace {

// One small picture of each format and JPEG flavour.
void writeSeeds(const QString& dir) {
    test::JpegRecipe recipe;
    recipe.width = 33;
    recipe.height = 17;
    test::writeJpeg(dir, "plain.jpg", recipe);
    recipe.progressive = true;
    test::writeJpeg(dir, "progressive.jpg", recipe);
    recipe.progressive = false;
    recipe.restartInterval = 1;
    recipe.exif = true;
    test::writeJpeg(dir, "restart-exif.jpg", recipe);
    recipe.color = test::JpegRecipe::Color::Grey;
    test::writeJpeg(dir, "grey.jpg", recipe);
    recipe.color = test::JpegRecipe::Color::CMYK;
    test::writeJpeg(dir, "cmyk.jpg", recipe);
    const QImage image = test::patternImage(recipe);
    for (const char* format : {"png", "bmp", "tiff", "ico", "pcx"})
        test::writeFile(dir, QStringLiteral("seed.%1").arg(QLatin1String(format)),
                        test::encodeImage(image, format));
}

template <typename Work> void tolerate(Work&& work) {
    try {
        work();
    } catch (const EIEFunctionError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::initialize(argc, argv, writeSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);

    tolerate([&] { picture::decodeByContent(bytes, QSize(40, 30)); });
    for (int type : {iftJPEG, iftPNG, iftPCX, iftBMP, iftGIF, iftTIFF, iftICO})
        tolerate([&] { picture::decode(bytes, type); });
    tolerate([&] { jpeg::metadataSegments(bytes); });
    tolerate([&] { jpeg::rotate(bytes, 90); });
    tolerate([&] { jpeg::crop(bytes, QRect(3, 5, 20, 9)); });
    ParseExifData(bytes);

    // The header readers work on files.
    const QString path = fuzz::scratchPath(QStringLiteral("input"));
    if (fuzz::writeFile(path, bytes))
        tolerate([&] { picture::readProperties(path); });
    return 0;
}
