#include "app/Settings.h"

#include "TestEnvironment.h"
#include "platform/RegistryKey.h"
#include "support/DebugLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRect>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegistryKey::deleteKey(names.keyPath());
        context.screen = QSize(1280, 800);
        context.picturesFolder = korvex::test::makeTempDir(QStringLiteral("pictures"));
        context.executableFolder = QStringLiteral("/opt/korvex/bin");
    }
    void put(const RegistryKey::Values& values) {
        ASSERT_TRUE(RegistryKey(names.keyPath()).setValues(values));
    }
    QString stored(const QString& name) {
        RegistryKey key(names.keyPath());
        key.open(false);
        return key.value(name).value_or(QStringLiteral("<missing>"));
    }
    Settings read() {
        Settings s;
        SettingsStore store(names);
        warnings = store.Setup(s, context);
        return s;
    }

    ProductNames names;
    SettingsContext context;
    QStringList warnings;
};

} // namespace

TEST_F(SettingsTest, FirstRunCreatesKeyTurnsCameraOnAndUsesScreenDefaults) {
    const Settings s = read();
    EXPECT_TRUE(warnings.isEmpty());
    EXPECT_TRUE(s.firstRun);
    EXPECT_EQ(s.DefaultGetPixFolder, QStringLiteral("DESKTOP"));
    EXPECT_EQ(stored(QStringLiteral("UseAppforCamera")), QStringLiteral("True"));
    EXPECT_FALSE(s.cameraMonitoringRemembered);
    EXPECT_TRUE(s.UseAppforCamera);
    EXPECT_EQ(QRect(s.SPLeft, s.SPTop, s.SPWidth, s.SPHeight), QRect(75, 35, 900, 690));
    EXPECT_FALSE(s.SPMax);
    EXPECT_EQ(s.StartUpDirectory, context.picturesFolder);
    // Built-in defaults of a few kinds.
    EXPECT_EQ(s.MinCheckDaysInterval, 14);
    EXPECT_EQ(s.AlwaysUseJPEGComp, 90);
    EXPECT_EQ(s.PartnerID, QStringLiteral("VORU"));
    EXPECT_TRUE(s.HideFileExtensions);
    EXPECT_FALSE(s.SlideshowRandom);
}

TEST_F(SettingsTest, NarrowScreenDefaultsToMaximised) {
    context.screen = QSize(800, 600);
    const Settings s = read();
    EXPECT_EQ(QRect(s.SPLeft, s.SPTop, s.SPWidth, s.SPHeight), QRect(5, 5, 630, 450));
    EXPECT_TRUE(s.SPMax);
}

TEST_F(SettingsTest, ValueKindsFallBackToTheirDefaults) {
    put({{QStringLiteral("AspectRatioSetting"), QStringLiteral("7")},
         {QStringLiteral("SlideshowRandom"), QStringLiteral("yes")},
         {QStringLiteral("Shrink"), QStringLiteral("false")},
         {QStringLiteral("ProxyPort"), QStringLiteral("abc")},
         {QStringLiteral("MinCheckDaysInterval"), QStringLiteral("30")},
         {QStringLiteral("FileNameMethod"), QStringLiteral("1")},
         {QStringLiteral("StartUpDirectory"), QStringLiteral("/no/such/folder")},
         {QStringLiteral("UseAppforCamera"), QStringLiteral("false")},
         {QStringLiteral("AppVersion"), QStringLiteral("Corvanta Express 3.0.2")}});
    const Settings s = read();
    EXPECT_EQ(s.AspectRatioSetting, 1);
    EXPECT_FALSE(s.SlideshowRandom);
    EXPECT_FALSE(s.Shrink);
    EXPECT_EQ(s.ProxyPort, 80);
    EXPECT_EQ(s.MinCheckDaysInterval, 30);
    EXPECT_EQ(s.FileNameMethod, 1);
    EXPECT_EQ(s.StartUpDirectory, context.picturesFolder);
    EXPECT_FALSE(s.UseAppforCamera);
    EXPECT_TRUE(s.cameraMonitoringRemembered);
    EXPECT_FALSE(s.firstRun);
    EXPECT_EQ(s.DefaultGetPixFolder, QString());
}

TEST_F(SettingsTest, PlacementRules) {
    struct Case {
        const char *height, *left, *width, *top;
        QRect expected; // left, top, width, height
    };
    const Case cases[] = {
        {"500", "10", "700", "20", QRect(10, 20, 700, 500)},
        {"500", "-10", "5000", "20", QRect(20, 20, 624, 500)},
        {"99", "1181", "149", "701", QRect(20, 14, 624, 460)},
        {"800", "1180", "1280", "700", QRect(1180, 700, 1280, 800)},
        {"500", "10", "700", nullptr, QRect(75, 35, 900, 690)}, // one missing: all defaults
        {"500", "x", "700", "20", QRect(75, 35, 900, 690)},
    };
    for (const Case& c : cases) {
        RegistryKey::deleteKey(names.keyPath());
        RegistryKey::Values v = {{QStringLiteral("SPHeight"), QString::fromUtf8(c.height)},
                                 {QStringLiteral("SPLeft"), QString::fromUtf8(c.left)},
                                 {QStringLiteral("SPWidth"), QString::fromUtf8(c.width)},
                                 {QStringLiteral("SPMax"), QStringLiteral("True")}};
        if (c.top)
            v.append({QStringLiteral("SPTop"), QString::fromUtf8(c.top)});
        put(v);
        const Settings s = read();
        EXPECT_EQ(QRect(s.SPLeft, s.SPTop, s.SPWidth, s.SPHeight), c.expected)
            << c.height << " " << c.left << " " << c.width << " " << (c.top ? c.top : "-");
    }
}

TEST_F(SettingsTest, ApplicationNameRenamesTheKeyForLaterWrites) {
    put({{QStringLiteral("ApplicationName"), QStringLiteral("Other Name")}});
    Settings s;
    SettingsStore store(names);
    store.Setup(s, context);
    EXPECT_EQ(names.product, QStringLiteral("Other Name"));
    EXPECT_TRUE(store.writereg(s, context).isEmpty());
    RegistryKey renamed(QStringLiteral("SOFTWARE\\Corvanta\\Other Name"));
    ASSERT_EQ(renamed.open(false), RegistryKey::Status::Ok);
    EXPECT_EQ(renamed.value(QStringLiteral("AppVersion")),
              QStringLiteral("Other Name ") + QStringLiteral(KORVEX_VERSION));
    RegistryKey::deleteKey(QStringLiteral("SOFTWARE\\Corvanta\\Other Name"));
}

TEST_F(SettingsTest, DebugModeTrueSwitchesTheLogOn) {
    debuglog::resetForTest();
    put({{QStringLiteral("DebugMode"), QStringLiteral("true")}});
    read();
    EXPECT_TRUE(debuglog::enabled());
    debuglog::resetForTest();
}

TEST_F(SettingsTest, WriteregStoresUserValuesButNeverReadOnlyOnes) {
    put({{QStringLiteral("PartnerID"), QStringLiteral("ADMIN")}});
    Settings s = read();
    s.SPWidth = 1000;
    s.SPMax = true;
    s.ProxyPassword = QStringLiteral("secret");
    s.AlwaysUseJPEGComp = 75;
    s.PartnerID = QStringLiteral("CHANGED IN MEMORY");
    context.currentFolder = korvex::test::makeTempDir(QStringLiteral("current"));
    SettingsStore store(names);
    ASSERT_TRUE(store.writereg(s, context).isEmpty());
    EXPECT_EQ(stored(QStringLiteral("SPWidth")), QStringLiteral("1000"));
    EXPECT_EQ(stored(QStringLiteral("SPMax")), QStringLiteral("True"));
    EXPECT_EQ(stored(QStringLiteral("ProxyPassword")), QStringLiteral("secret"));
    EXPECT_EQ(stored(QStringLiteral("AlwaysUseJPEGComp")), QStringLiteral("75"));
    EXPECT_EQ(stored(QStringLiteral("PartnerID")), QStringLiteral("ADMIN"));
    EXPECT_EQ(stored(QStringLiteral("StartUpDirectory")), context.currentFolder);
    EXPECT_EQ(stored(QStringLiteral("AppPath")), QStringLiteral("/opt/korvex/bin/"));

    // With "save last" off the start-up folder stays what it was.
    s.StartUpDirectorySaveLast = false;
    s.StartUpDirectory = context.picturesFolder;
    ASSERT_TRUE(store.writereg(s, context).isEmpty());
    EXPECT_EQ(stored(QStringLiteral("StartUpDirectory")), context.picturesFolder);
}

TEST_F(SettingsTest, DamagedFileGivesTheMessageAndDefaultsAndLosesNothing) {
    const QString file = RegistryKey::fileForKey(names.keyPath());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Values]\nSPWidth=700\n\x00\x01broken\n", 30);
    f.close();
    Settings s = read();
    EXPECT_EQ(warnings,
              QStringList{QStringLiteral("Error encountered opening your registry file.")});
    EXPECT_EQ(s.SPWidth, 900);
    SettingsStore store(names);
    EXPECT_TRUE(store.writereg(s, context).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(file + QStringLiteral(".corrupt")));
}

TEST_F(SettingsTest, CameraSwitchWritesAtOnceFollowingTheNameOverride) {
    ASSERT_TRUE(writeUseAppforCamera(names, false));
    EXPECT_EQ(stored(QStringLiteral("UseAppforCamera")), QStringLiteral("False"));
    ASSERT_TRUE(writeUseAppforCamera(names, true));
    EXPECT_EQ(stored(QStringLiteral("UseAppforCamera")), QStringLiteral("True"));
}
