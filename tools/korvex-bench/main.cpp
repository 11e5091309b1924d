// korvex-bench: the picture engine from the command line, for the benchmarks and for support
// staff checking a customer's file. Every subcommand goes through TIEFunctions (thumbs through
// its decode pool). Exit status 0 on success, 1 with the reason on standard error.
//
//   korvex-bench thumbs DIR OUTDIR      one 90 x 75 JPEG per picture of DIR, on every core
//   korvex-bench fit FILE W H OUT       FILE shrunk to fit W x H (Lanczos 3), saved to OUT
//   korvex-bench rotate SRC DST 90|180|270
//   korvex-bench crop SRC DST LEFT TOP RIGHT BOTTOM
//   korvex-bench props FILE             one name=value a line

#include "imaging/DecodeQueue.h"
#include "imaging/IEFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace korvex;

namespace {

constexpr int kThumbWidth = 90;
constexpr int kThumbHeight = 75;
constexpr int kThumbQuality = 85;
constexpr int kFitQuality = 90;

int failWith(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

int usage() {
    return failWith(QStringLiteral(
        "usage: korvex-bench thumbs DIR OUTDIR | fit FILE W H OUT | rotate SRC DST 90|180|270 |\n"
        "       crop SRC DST LEFT TOP RIGHT BOTTOM | props FILE"));
}

bool toInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

int thumbs(const QString& dir, const QString& outDir) {
    const QFileInfoList files = QDir(dir).entryInfoList(
        {"*.jpg", "*.jpeg", "*.jpe", "*.png", "*.bmp", "*.tif", "*.tiff", "*.gif", "*.pcx"},
        QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (!QDir(dir).exists())
        return failWith(QStringLiteral("No such folder: %1").arg(dir));
    if (!QDir().mkpath(outDir))
        return failWith(QStringLiteral("Cannot create %1").arg(outDir));
    TIEFunctions ie;
    DecodeQueue queue;
    int failures = 0;
    QObject::connect(
        &queue, &DecodeQueue::decoded,
        [&](quint64, const QString& path, const QImage& image, QSize) {
            const QString out =
                QDir(outDir).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".jpg"));
            if (!ie.SaveBitmapFile(image, out, false, kThumbQuality)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(ie.LastError()));
                ++failures;
            }
            if (queue.pending() == 0)
                QCoreApplication::quit();
        });
    QObject::connect(&queue, &DecodeQueue::failed,
                     [&](quint64, const QString& path, const QString& error) {
                         std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
                         ++failures;
                         if (queue.pending() == 0)
                             QCoreApplication::quit();
                     });
    for (qsizetype i = 0; i < files.size(); ++i)
        queue.request(files[i].filePath(), QSize(kThumbWidth, kThumbHeight), quint64(i));
    if (!files.isEmpty())
        QCoreApplication::exec();
    return failures == 0 ? 0 : 1;
}

int fit(const QString& file, int width, int height, const QString& out) {
    TIEFunctions ie;
    QImage bitmap;
    if (!ie.LoadImageBitmap(bitmap, file, false, height, width))
        return failWith(QStringLiteral("%1: %2").arg(file, ie.LastError()));
    const QRect placed =
        FitRect(bitmap.width(), bitmap.height(), false, false, true, false, 0, 0, height, width);
    if (!ie.ResampleBitmap(bitmap, placed.width(), false, false, 2, placed.height()) ||
        !ie.SaveBitmapFile(bitmap, out, false, kFitQuality))
        return failWith(QStringLiteral("%1: %2").arg(out, ie.LastError()));
    return 0;
}

int props(const QString& file) {
    const TImageProperties p = TIEFunctions::GetImageProperties(file);
    if (p.FileType == iftNone)
        return failWith(QStringLiteral("%1: not a picture this program can read").arg(file));
    std::printf("FileType=%d\nFileTypeName=%s\nWidth=%d\nHeight=%d\nBitsPerPixel=%d\n"
                "ColorsName=%s\nScale=%d\n",
                p.FileType, qPrintable(p.FileTypeName), p.Width, p.Height, p.BitsPerPixel,
                qPrintable(p.ColorsName), p.Scale);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    TIEFunctions ie;
    int a = 0, b = 0, c = 0, d = 0;
    if (command == u"thumbs" && args.size() == 3)
        return thumbs(args[1], args[2]);
    if (command == u"fit" && args.size() == 5 && toInt(args[2], a) && toInt(args[3], b) && a > 0 &&
        b > 0)
        return fit(args[1], a, b, args[4]);
    if (command == u"rotate" && args.size() == 4 && toInt(args[3], a) &&
        (a == 90 || a == 180 || a == 270))
        return ie.LosslessRotateFile(args[1], args[2], a)
                   ? 0
                   : failWith(QStringLiteral("%1: %2").arg(args[1], ie.LastError()));
    if (command == u"crop" && args.size() == 7 && toInt(args[3], a) && toInt(args[4], b) &&
        toInt(args[5], c) && toInt(args[6], d))
        return ie.LosslessCropFile(args[1], args[2], d, c, b, a)
                   ? 0
                   : failWith(QStringLiteral("%1: %2").arg(args[1], ie.LastError()));
    if (command == u"props" && args.size() == 2)
        return props(args[1]);
    return usage();
}
