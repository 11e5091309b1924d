#include "TestEnvironment.h"
#include "TestPictures.h"
#include "imaging/IEFunctions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTransform>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace korvex;
using namespace korvex::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray jpegtran(const QStringList& options, const QString& source) {
    QProcess p;
    p.start(QStringLiteral("jpegtran"), options + QStringList{source});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

struct Fixture {
    const char* name;
    JpegRecipe recipe;
};

std::vector<Fixture> fixtures() {
    const auto make = [](int w, int h, auto tweak) {
        JpegRecipe s;
        s.width = w;
        s.height = h;
        tweak(s);
        return s;
    };
    return {
        {"odd420", make(211, 157, [](JpegRecipe&) {})},
        {"odd422", make(203, 131, [](JpegRecipe& s) { s.vSampling = 1; })},
        {"odd444", make(77, 45, [](JpegRecipe& s) { s.hSampling = s.vSampling = 1; })},
        {"restart", make(150, 101, [](JpegRecipe& s) { s.restartInterval = 2; })},
        {"progressive", make(133, 99, [](JpegRecipe& s) { s.progressive = true; })},
        {"grey", make(91, 57, [](JpegRecipe& s) { s.color = JpegRecipe::Color::Grey; })},
        {"cmyk", make(70, 50, [](JpegRecipe& s) { s.color = JpegRecipe::Color::CMYK; })},
        {"exif", make(160, 120,
                      [](JpegRecipe& s) {
                          s.exif = s.exifThumbnail = true;
                          s.comment = QStringLiteral("kept");
                      })},
    };
}

class LosslessTransform : public testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("jpegtran")).isEmpty())
            GTEST_SKIP() << "jpegtran (libjpeg-turbo-progs) is not installed";
        dir = makeTempDir();
    }
    QString dir;
    TIEFunctions ie;
};

} // namespace

TEST_F(LosslessTransform, RotationMatchesJpegtranByteForByte) {
    for (const Fixture& f : fixtures()) {
        const QString source = writeJpeg(dir, QString::fromLatin1(f.name) + ".jpg", f.recipe);
        for (int angle : {90, 180, 270}) {
            SCOPED_TRACE(testing::Message() << f.name << " " << angle);
            const QString out = dir + "/out.jpg";
            ASSERT_TRUE(ie.LosslessRotateFile(source, out, angle));
            const QByteArray expected =
                jpegtran({"-rotate", QString::number(angle), "-copy", "all", "-trim"}, source);
            ASSERT_FALSE(expected.isEmpty());
            EXPECT_TRUE(fileBytes(out) == expected);
        }
    }
}

TEST_F(LosslessTransform, CropMatchesJpegtranByteForByte) {
    struct Cut {
        int left, top, right, bottom;
    };
    const Cut cuts[] = {{13, 7, 60, 40}, {0, 0, 31, 15}, {17, 9, 69, 44}, {5, 5, 5, 5}};
    for (const Fixture& f : fixtures()) {
        const QString source = writeJpeg(dir, QString::fromLatin1(f.name) + ".jpg", f.recipe);
        for (const Cut& c : cuts) {
            SCOPED_TRACE(testing::Message() << f.name << " " << c.left << "," << c.top);
            const QString out = dir + "/cut.jpg";
            ASSERT_TRUE(ie.LosslessCropFile(source, out, c.bottom, c.right, c.top, c.left));
            const QString geometry = QStringLiteral("%1x%2+%3+%4")
                                         .arg(c.right - c.left + 1)
                                         .arg(c.bottom - c.top + 1)
                                         .arg(c.left)
                                         .arg(c.top);
            const QByteArray expected =
                jpegtran({"-crop", geometry, "-copy", "all", "-trim"}, source);
            ASSERT_FALSE(expected.isEmpty());
            EXPECT_TRUE(fileBytes(out) == expected);
        }
    }
}

// The rotated file shows the source's pixels turned, not merely a file jpegtran agrees with.
TEST_F(LosslessTransform, RotatedPixelsEqualRotatedSource) {
    for (const Fixture& f : fixtures()) {
        const QString source = writeJpeg(dir, QString::fromLatin1(f.name) + ".jpg", f.recipe);
        TImageFile original;
        QString error;
        ASSERT_TRUE(ie.LoadImageFile(original, source, error, false));
        for (int angle : {90, 180, 270}) {
            SCOPED_TRACE(testing::Message() << f.name << " " << angle);
            const QString out = dir + "/r.jpg";
            ASSERT_TRUE(ie.LosslessRotateFile(source, out, angle));
            TImageFile rotated;
            ASSERT_TRUE(ie.LoadImageFile(rotated, out, error, false));
            const QSize kept =
                angle == 180 ? rotated.Bitmap.size() : rotated.Bitmap.size().transposed();
            const QImage expected = original.Bitmap.copy(QRect(QPoint(0, 0), kept))
                                        .transformed(QTransform().rotate(angle))
                                        .convertToFormat(QImage::Format_RGB32);
            const QImage actual = rotated.Bitmap.convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(actual.size(), expected.size());
            // Chroma upsampling and the IDCT round a little differently along the other axis,
            // and at a trimmed edge the source had neighbours the result no longer has.
            int worst = 0;
            for (int y = 2; y < actual.height() - 2; ++y)
                for (int x = 2; x < actual.width() - 2; ++x) {
                    const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
                    worst =
                        std::max({worst, std::abs(qRed(a) - qRed(e)),
                                  std::abs(qGreen(a) - qGreen(e)), std::abs(qBlue(a) - qBlue(e))});
                }
            EXPECT_LE(worst, 12);
        }
    }
}

TEST_F(LosslessTransform, SamePathReplacesTheFileOnlyWithTheResult) {
    JpegRecipe recipe;
    recipe.width = 120;
    recipe.height = 80;
    recipe.exif = true;
    const QString path = writeJpeg(dir, "same.jpg", recipe);
    const QString copy = writeJpeg(dir, "copy.jpg", recipe);
    ASSERT_TRUE(ie.LosslessRotateFile(copy, dir + "/expected.jpg", 90));
    ASSERT_TRUE(ie.LosslessRotateFile(path, path, 90));
    EXPECT_EQ(fileBytes(path), fileBytes(dir + "/expected.jpg"));
    EXPECT_EQ(TIEFunctions::GetImageSize(path), QSize(80, 120));

    // A transform that fails leaves the picture untouched and no temporary behind.
    QFile::copy(copy, dir + "/intact.jpg");
    const QByteArray before = fileBytes(dir + "/intact.jpg");
    EXPECT_FALSE(ie.LosslessCropFile(dir + "/intact.jpg", dir + "/intact.jpg", 900, 900, 800, 800));
    EXPECT_EQ(fileBytes(dir + "/intact.jpg"), before);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 4);
}

TEST_F(LosslessTransform, BadSourcesFailAndLeaveTheDestinationAlone) {
    JpegRecipe recipe;
    const QByteArray good = makeJpeg(recipe);
    const QString dest = writeFile(dir, "dest.jpg", good);
    JpegRecipe tiny;
    tiny.width = tiny.height = 1;
    for (const auto& [name, data] :
         {std::pair{"cut.jpg", good.left(good.size() / 2)}, std::pair{"zero.jpg", QByteArray()},
          std::pair{"png.jpg", encodeImage(patternImage(recipe), "png")}}) {
        SCOPED_TRACE(name);
        const QString source = writeFile(dir, name, data);
        EXPECT_FALSE(ie.LosslessRotateFile(source, dest, 90));
        EXPECT_EQ(fileBytes(dest), good);
    }
    EXPECT_FALSE(ie.LosslessRotateFile(dir + "/vanished.jpg", dest, 180));
    EXPECT_EQ(fileBytes(dest), good);
    // A 1 x 1 picture turns into itself (nothing to trim at a whole block).
    EXPECT_TRUE(ie.LosslessRotateFile(writeJpeg(dir, "one.jpg", tiny), dir + "/one90.jpg", 90));
}

TEST_F(LosslessTransform, ReadOnlyDestinationIsMadeWritableOrReported) {
    const QString source = writeJpeg(dir, "src.jpg", JpegRecipe{});
    const QString dest = writeJpeg(dir, "ro.jpg", JpegRecipe{});
    QFile::setPermissions(dest, QFileDevice::ReadOwner);
    QSignalSpy messages(&ie, &TIEFunctions::OnMessage);
    EXPECT_TRUE(ie.LosslessRotateFile(source, dest, 90));
    EXPECT_EQ(messages.count(), 0);

    if (geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder; the refused case needs an ordinary user";
    const QString lockedDir = makeTempDir();
    const QString locked = writeJpeg(lockedDir, "locked.jpg", JpegRecipe{});
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    QFile::setPermissions(lockedDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    // The owner can still clear the file's tag, but the folder refuses the new file.
    EXPECT_FALSE(ie.LosslessRotateFile(source, locked, 90));
    QFile::setPermissions(lockedDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
