#include "TestEnvironment.h"
#include "TestPictures.h"
#include "imaging/IEFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

struct BenchRun {
    int exitCode = -1;
    QString out;
    QString err;
};

BenchRun korvexBench(const QStringList& args) {
    // The test binaries sit beside the tools; KORVEX_BIN_DIR does not reach every ctest run.
    const QString bin = binDir().isEmpty() ? QCoreApplication::applicationDirPath() : binDir();
    QProcess p;
    p.start(bin + "/korvex-bench", args);
    BenchRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(KorvexBench, SubcommandsWorkThroughTheEngine) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 1000;
    recipe.height = 600;
    const QString picture = writeJpeg(dir, "p.jpg", recipe);

    BenchRun r = korvexBench({"props", picture});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"FileType=3\nFileTypeName=JPEG Image\nWidth=1000\nHeight=600\n"
                     u"BitsPerPixel=24\nColorsName=16 Million\nScale=1\n");

    EXPECT_EQ(korvexBench({"rotate", picture, dir + "/r.jpg", "270"}).exitCode, 0);
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/r.jpg"),
              QSize(600, 992)); // partial right column trimmed

    EXPECT_EQ(korvexBench({"crop", picture, dir + "/c.jpg", "16", "8", "115", "57"}).exitCode, 0);
    // The top edge moves up to the 16-row block boundary: rows 0..57.
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/c.jpg"), QSize(100, 58));

    EXPECT_EQ(korvexBench({"fit", picture, "160", "100", dir + "/f.jpg"}).exitCode, 0);
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/f.jpg"), QSize(160, 96));
}

TEST(KorvexBench, ThumbsWritesOnePerPictureAndReportsFailures) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    for (int i = 0; i < 5; ++i) {
        recipe.width = 300 + 37 * i;
        recipe.height = 200 + 91 * i;
        writeJpeg(dir, QStringLiteral("p%1.jpg").arg(i), recipe);
    }
    BenchRun r = korvexBench({"thumbs", dir, dir + "/thumbs"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList made = QDir(dir + "/thumbs").entryList(QDir::Files);
    EXPECT_EQ(made.size(), 5);
    for (const QString& name : made) {
        const QSize size = TIEFunctions::GetImageSize(dir + "/thumbs/" + name);
        EXPECT_TRUE(size.width() == 90 || size.height() == 75) << name.toStdString();
        EXPECT_LE(size.width(), 90);
        EXPECT_LE(size.height(), 75);
    }
    writeFile(dir, "broken.jpg", "\xFF\xD8\xFF\xE0 not really");
    r = korvexBench({"thumbs", dir, dir + "/thumbs2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"broken.jpg"));
    EXPECT_EQ(QDir(dir + "/thumbs2").entryList(QDir::Files).size(), 5);
}

TEST(KorvexBench, ErrorsExitWithOneAndAReason) {
    const QString dir = makeTempDir();
    const QString garbage = writeFile(dir, "g.jpg", "garbage");
    for (const QStringList& args :
         {QStringList{"props", garbage}, QStringList{"rotate", garbage, dir + "/x.jpg", "90"},
          QStringList{"rotate", garbage, dir + "/x.jpg", "45"},
          QStringList{"crop", dir + "/none.jpg", dir + "/x.jpg", "0", "0", "9", "9"},
          QStringList{"fit", garbage, "10", "10", dir + "/x.jpg"}, QStringList{"thumbs"},
          QStringList{}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const BenchRun r = korvexBench(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(dir + "/x.jpg"));
}
