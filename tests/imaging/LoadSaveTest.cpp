#include "TestEnvironment.h"
#include "TestPictures.h"
#include "imaging/ExifData.h"
#include "imaging/IEFunctions.h"
#include "imaging/JpegCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::test;

namespace {

QByteArray pngBytes(int w, int h) {
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    return encodeImage(patternImage(recipe), "png");
}

// Offset of the first segment with this marker.
qsizetype segmentAt(const QByteArray& jpeg, uchar marker) {
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos + 1]) != marker)
        pos += 2 + ((uchar(jpeg[pos + 2]) << 8) | uchar(jpeg[pos + 3]));
    return pos;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(LoadImageFile, LoadsEachFormatAtFullScale) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 37;
    recipe.height = 21;
    const QImage pattern = patternImage(recipe);
    struct Case {
        const char* name;
        QByteArray data;
        int type;
    };
    const Case cases[] = {
        {"a.jpg", makeJpeg(recipe), iftJPEG},
        {"b.png", encodeImage(pattern, "png"), iftPNG},
        {"c.bmp", encodeImage(pattern, "bmp"), iftBMP},
        {"d.tif", encodeImage(pattern, "tiff"), iftTIFF},
        {"e.pcx", encodeImage(pattern, "pcx"), iftPCX},
        {"f.ico", encodeImage(pattern, "ico"), iftICO},
    };
    TIEFunctions ie;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TImageFile file;
        QString error;
        ASSERT_TRUE(ie.LoadImageFile(file, writeFile(dir, c.name, c.data), error, false))
            << error.toStdString();
        EXPECT_TRUE(error.isEmpty());
        EXPECT_EQ(file.Bitmap.size(), QSize(37, 21));
        EXPECT_EQ(file.FileType, c.type);
        EXPECT_EQ(file.FullSize, QSize(37, 21));
        if (c.type != iftJPEG) { // lossless formats give back the very pixels
            EXPECT_EQ(file.Bitmap.convertToFormat(QImage::Format_RGB32).pixel(5, 5),
                      pattern.pixel(5, 5));
        }
    }
}

// Damaged and odd files end in a false result with a reason, never in a crash.
TEST(LoadImageFile, BadFilesFailWithErrorText) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 200;
    recipe.height = 150;
    const QByteArray good = makeJpeg(recipe);
    // Damage libjpeg cannot step over: a Huffman table of nonsense, a frame of no pixels.
    QByteArray corrupt = good;
    const qsizetype dht = segmentAt(good, 0xC4);
    for (qsizetype i = dht + 5; i < dht + 21; ++i)
        corrupt[i] = char(0xFF);
    QByteArray badHeader = good;
    const qsizetype sof = segmentAt(good, 0xC0);
    badHeader[sof + 5] = badHeader[sof + 6] = 0; // height 0
    JpegRecipe tiny;
    tiny.width = tiny.height = 1;
    struct Case {
        const char* name;
        QByteArray data;
        const char* error; // expected text, or null for "any non-empty text"
    };
    const Case cases[] = {
        {"truncated.jpg", good.left(good.size() / 2), nullptr},
        {"corrupt.jpg", corrupt, nullptr},
        {"badheader.jpg", badHeader, nullptr},
        {"empty.jpg", QByteArray(), nullptr},
        {"png.jpg", pngBytes(20, 10), nullptr},
        {"one.jpg", makeJpeg(tiny), "Load Error"},
        {"text.xyz", QByteArray("hello"), "Unknown Extension"},
        {"noext", good, "Unknown Extension"},
    };
    TIEFunctions ie;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir, c.name, c.data);
        TImageFile file;
        QString error;
        EXPECT_FALSE(ie.LoadImageFile(file, path, error, true));
        if (c.error)
            EXPECT_EQ(error, QString::fromLatin1(c.error));
        else
            EXPECT_FALSE(error.isEmpty());
        // A reduced load only needs a picture; one pixel is one.
        QImage bitmap;
        EXPECT_EQ(ie.LoadImageBitmap(bitmap, path, false, 90, 75), QString(c.name) == u"one.jpg");
    }
    // A header claiming a gigantic picture is refused before memory is claimed for it.
    QByteArray huge = good;
    huge[sof + 5] = huge[sof + 7] = char(0xFD);
    huge[sof + 6] = huge[sof + 8] = char(0xE8); // 65000 x 65000
    TImageFile file;
    QString error;
    EXPECT_FALSE(ie.LoadImageFile(file, writeFile(dir, "huge.jpg", huge), error, true));
    EXPECT_TRUE(error.startsWith(u"Picture too large")) << error.toStdString();
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/huge.jpg"), QSize(65000, 65000));

    EXPECT_FALSE(ie.LoadImageFile(file, dir + "/vanished.jpg", error, true));
    EXPECT_TRUE(error.startsWith(u"File not found")) << error.toStdString();
}

TEST(LoadImageFile, FalseExtensionLoadsByContentOnlyWhenMasked) {
    const QString dir = makeTempDir();
    const QString pngAsJpg = writeFile(dir, "p.jpg", pngBytes(30, 20));
    const QString pngAsXxx = writeFile(dir, "p.XXX", pngBytes(30, 20));
    TIEFunctions ie;
    TImageFile file;
    QString error;
    EXPECT_FALSE(ie.LoadImageFile(file, pngAsJpg, error, true));
    EXPECT_FALSE(ie.LoadImageFile(file, pngAsXxx, error, true));
    ie.FalseExtensionformats = QStringLiteral("*.XXX;");
    EXPECT_FALSE(ie.LoadImageFile(file, pngAsXxx, error, false));
    ASSERT_TRUE(ie.LoadImageFile(file, pngAsXxx, error, true)) << error.toStdString();
    EXPECT_EQ(file.FileType, iftPNG);
    EXPECT_EQ(file.Bitmap.size(), QSize(30, 20));
    ie.FalseExtensionformats = QStringLiteral("*.xyz;*.JPG");
    EXPECT_TRUE(ie.LoadImageFile(file, pngAsJpg, error, true));
    EXPECT_TRUE(ie.LoadImageView(file, pngAsJpg, false, true, 10, 10, true));
}

TEST(LoadJpegScaled, PicksLargestReductionThatCoversTheWantedSize) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 1000;
    recipe.height = 600;
    const QString path = writeJpeg(dir, "big.jpg", recipe);
    struct Case {
        int width, height;
        QSize decoded;
    };
    const Case cases[] = {
        {90, 75, {125, 75}},   {126, 75, {250, 150}},  {250, 150, {250, 150}},
        {251, 10, {375, 225}}, {600, 300, {625, 375}}, {600, 600, {1000, 600}},
        {0, 0, {1000, 600}},   {-1, 50, {1000, 600}},
    };
    TIEFunctions ie;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        TImageFile file;
        ASSERT_TRUE(ie.LoadJpegScaled(file, path, c.height, c.width));
        EXPECT_EQ(file.Bitmap.size(), c.decoded);
        EXPECT_EQ(file.FullSize, QSize(1000, 600));
    }
    // Partial blocks round up: 1001 / 8 covers 126.
    EXPECT_EQ(jpeg::reducedSize(1001, 601, QSize(126, 76)), QSize(126, 76));
    EXPECT_EQ(jpeg::reducedSize(1000, 600, QSize(126, 76)), QSize(250, 150));
    // A camera picture on a full-HD-ish screen decodes at 3/8.
    EXPECT_EQ(jpeg::reducedSize(6000, 4000, QSize(1600, 1000)), QSize(2250, 1500));
}

TEST(LoadJpegScaled, DecodesProgressiveGreyAndCmyk) {
    const QString dir = makeTempDir();
    TIEFunctions ie;
    JpegRecipe recipe;
    recipe.width = 99;
    recipe.height = 67;
    for (auto color : {JpegRecipe::Color::RGB, JpegRecipe::Color::Grey, JpegRecipe::Color::CMYK}) {
        for (bool progressive : {false, true}) {
            recipe.color = color;
            recipe.progressive = progressive;
            recipe.restartInterval = progressive ? 0 : 3;
            const QString path = writeJpeg(dir, "x.jpg", recipe);
            TImageFile file;
            ASSERT_TRUE(ie.LoadJpegScaled(file, path, 30, 40));
            EXPECT_EQ(file.Bitmap.size(), QSize(50, 34));
            // The dark block of the pattern survives, whatever the colour model.
            EXPECT_LT(qGray(file.Bitmap.pixel(recipe.width / 8 / 2 + 2, recipe.height / 8 / 2 + 2)),
                      40);
            EXPECT_GT(qGray(file.Bitmap.pixel(45, 30)), 60);
        }
    }
}

TEST(LoadImageView, ReportsProgressOnlyWhenAsked) {
    const QString path = writeJpeg(makeTempDir(), "v.jpg", JpegRecipe{});
    TIEFunctions ie;
    QSignalSpy progress(&ie, &TIEFunctions::OnProgress);
    QSignalSpy end(&ie, &TIEFunctions::OnProgressEnd);
    TImageFile view;
    EXPECT_TRUE(ie.LoadImageView(view, path, false, false, 0, 0, true));
    EXPECT_EQ(progress.count(), 0);
    EXPECT_EQ(end.count(), 0);
    EXPECT_TRUE(ie.LoadImageView(view, path, true, false, 0, 0, true));
    EXPECT_GT(progress.count(), 0);
    ASSERT_EQ(end.count(), 1);
    EXPECT_TRUE(end.at(0).at(1).toBool());
}

TEST(SaveImageFile, WritesByExtensionWithQuality) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.width = 300;
    recipe.height = 200;
    recipe.photo = true;
    const QImage image = patternImage(recipe);
    TIEFunctions ie;
    for (const char* name : {"q.png", "q.bmp", "q.tif"}) {
        const QString path = dir + "/" + name;
        ASSERT_TRUE(ie.SaveBitmapFile(image, path, false, 0)) << name;
        TImageFile back;
        QString error;
        ASSERT_TRUE(ie.LoadImageFile(back, path, error, false)) << name;
        EXPECT_EQ(back.Bitmap.convertToFormat(QImage::Format_RGB32), image) << name;
    }
    ASSERT_TRUE(ie.SaveBitmapFile(image, dir + "/low.jpg", false, 20));
    ASSERT_TRUE(ie.SaveBitmapFile(image, dir + "/high.jpg", false, 95));
    EXPECT_LT(QFileInfo(dir + "/low.jpg").size() * 2, QFileInfo(dir + "/high.jpg").size());
    EXPECT_EQ(TIEFunctions::GetImageSize(dir + "/high.jpg"), QSize(300, 200));
    EXPECT_FALSE(ie.SaveBitmapFile(image, dir + "/q.gif", false, 0)); // no GIF writer
    EXPECT_FALSE(QFileInfo::exists(dir + "/q.gif"));
    EXPECT_FALSE(ie.SaveBitmapFile(QImage(), dir + "/null.jpg", false, 0));
    EXPECT_FALSE(QFileInfo::exists(dir + "/null.jpg"));

    ASSERT_TRUE(ie.SaveBitmapFile256(image, dir + "/pal.png", false, 0));
    EXPECT_EQ(TIEFunctions::GetImageProperties(dir + "/pal.png").BitsPerPixel, 8);
}

TEST(SaveImageFile, KeepsExifOfTheLoadedJpeg) {
    const QString dir = makeTempDir();
    JpegRecipe recipe;
    recipe.exif = true;
    recipe.comment = QStringLiteral("holiday");
    const QString path = writeJpeg(dir, "e.jpg", recipe);
    TIEFunctions ie;
    TImageFile file;
    QString error;
    ASSERT_TRUE(ie.LoadImageFile(file, path, error, false));
    file.Bitmap.invertPixels();
    ASSERT_TRUE(ie.SaveImageFile(file, dir + "/saved.jpg", 85));
    const TExifData exif = ReadExifData(dir + "/saved.jpg");
    EXPECT_TRUE(exif.HasExif);
    EXPECT_EQ(exif.Model, u"CX-24");
    EXPECT_EQ(exif.DateTime, u"2004:05:06 12:00:00");
    EXPECT_DOUBLE_EQ(exif.ExposureTime, 1.0 / 250);
    EXPECT_TRUE(fileBytes(dir + "/saved.jpg").contains("holiday"));
    EXPECT_FALSE(ReadExifData(writeJpeg(dir, "plain.jpg", JpegRecipe{})).HasExif);
}

// A failed save leaves the old file as it was; nothing half written replaces it.
TEST(SaveImageFile, FailureLeavesExistingFileIntact) {
    const QString dir = makeTempDir();
    const QString path = writeJpeg(dir, "keep.jpg", JpegRecipe{});
    const QByteArray before = fileBytes(path);
    TIEFunctions ie;
    EXPECT_FALSE(ie.SaveBitmapFile(QImage(), path, false, 90));
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_FALSE(
        ie.SaveBitmapFile(QImage(10, 10, QImage::Format_RGB32), dir + "/missing/x.jpg", false, 90));
    // With the masks, an existing file is rewritten in the format its content shows.
    ie.FalseExtensionformats = QStringLiteral("*.XXX;");
    const QString disguised = writeFile(dir, "d.XXX", pngBytes(8, 8));
    JpegRecipe recipe;
    ASSERT_TRUE(ie.SaveBitmapFile(patternImage(recipe), disguised, false, 90));
    EXPECT_TRUE(fileBytes(disguised).startsWith("\x89PNG"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 2); // no temporary left behind
}
