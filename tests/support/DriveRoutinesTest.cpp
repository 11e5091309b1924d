#include "support/DriveRoutines.h"

#include "TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

// Volumes as a test describes them, found by the longest mount point that holds the path.
class FakeDrives final : public Drives {
public:
    QList<Volume> all;

    std::optional<Volume> volumeOf(const QString& path) const override {
        std::optional<Volume> best;
        for (const Volume& v : all) {
            const bool holds =
                path == v.rootPath || v.rootPath == u"/" || path.startsWith(v.rootPath + u'/');
            if (holds && (!best || v.rootPath.size() > best->rootPath.size()))
                best = v;
        }
        return best;
    }
    QList<Volume> volumes() const override { return all; }
};

TEST(DriveRoutines, KindsAndFreeSpaceFromTheVolume) {
    const QString card = test::makeTempDir(QStringLiteral("card"));
    const QString disc = test::makeTempDir(QStringLiteral("disc"));
    FakeDrives drives;
    drives.all = {{QStringLiteral("/"), QString(), DriveType::Fixed, 5'000'000'000},
                  {card, QStringLiteral("EOS_DIGITAL"), DriveType::Removable, 1234},
                  {disc, QString(), DriveType::CDRom, 0}};

    EXPECT_EQ(DriveTypeOf(card + QStringLiteral("/DCIM/100CANON"), drives), DriveType::Removable)
        << "a folder not yet made is looked up through its parent";
    EXPECT_EQ(DiskFreeBytes(card + QStringLiteral("/DCIM"), drives), 1234);
    EXPECT_TRUE(IsRemovableDrive(card, drives));
    EXPECT_TRUE(IsRemovableDrive(disc, drives));
    EXPECT_EQ(DriveTypeOf(QDir::homePath(), drives), DriveType::Fixed);
    EXPECT_FALSE(IsRemovableDrive(QDir::homePath(), drives));

    EXPECT_EQ(DriveTypeOf(QString(), drives), DriveType::Unknown);
    EXPECT_FALSE(IsRemovableDrive(QString(), drives));
}

TEST(DriveRoutines, PathOnNoVolume) {
    FakeDrives none;
    EXPECT_EQ(DriveTypeOf(QDir::homePath(), none), DriveType::Removable);
    EXPECT_EQ(DiskFreeBytes(QDir::homePath(), none), -1);
    EXPECT_FALSE(IsRemovableDrive(QDir::homePath(), none));
}

TEST(DriveRoutines, ThisMachine) {
    const QString dir = test::makeTempDir(QStringLiteral("machine"));
    EXPECT_GT(DiskFreeBytes(dir), 0);
    EXPECT_NE(DriveTypeOf(dir), DriveType::Unknown);
    EXPECT_FALSE(Drives::system().volumes().isEmpty());
}

} // namespace
