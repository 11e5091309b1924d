// korvex-testset OUTDIR [COUNT]: camera-like JPEGs for the benchmarks, half 12 MP (4000 x 3000)
// and half 24 MP (6000 x 4000), 4:2:2 at quality 92 with EXIF and a 160 x 120 embedded
// thumbnail, photo-like content so that they compress (and decode) like real photos.

#include "TestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: korvex-testset OUTDIR [COUNT]\n");
        return 1;
    }
    const QString dir = args[1];
    const int count = args.size() > 2 ? args[2].toInt() : 12;
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        korvex::test::JpegRecipe recipe;
        const bool big = i % 2 == 1;
        recipe.width = big ? 6000 : 4000;
        recipe.height = big ? 4000 : 3000;
        recipe.quality = 92;
        recipe.hSampling = 2;
        recipe.vSampling = 1;
        recipe.exif = recipe.exifThumbnail = true;
        recipe.photo = true;
        recipe.seed = quint32(i + 1);
        const QString name = QStringLiteral("IMG_%1.jpg").arg(1000 + i);
        if (korvex::test::writeJpeg(dir, name, recipe).isEmpty()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
