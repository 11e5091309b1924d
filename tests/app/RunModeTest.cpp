#include "app/RunMode.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

struct ClassifyCase {
    const char* argument;
    RunMode mode;
};

class ClassifyTest : public ::testing::TestWithParam<ClassifyCase> {};

} // namespace

TEST_P(ClassifyTest, ScreenSaverArgumentGivesMode) {
    EXPECT_EQ(classifyScreenSaverArgument(QString::fromUtf8(GetParam().argument)), GetParam().mode)
        << GetParam().argument;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClassifyTest,
    ::testing::Values(ClassifyCase{"/s", RunMode::_screensaver},
                      ClassifyCase{"anything", RunMode::_setpwd}, // first letter A
                      ClassifyCase{"/a 1234", RunMode::_setpwd},
                      ClassifyCase{"-A", RunMode::_setpwd}, ClassifyCase{"/?", RunMode::_about},
                      ClassifyCase{"?", RunMode::_about}, ClassifyCase{"/p", RunMode::_preview},
                      ClassifyCase{"-P", RunMode::_preview}, ClassifyCase{"/c", RunMode::_CONFIG},
                      ClassifyCase{"/c:1234", RunMode::_CONFIG}, ClassifyCase{"", RunMode::_CONFIG},
                      ClassifyCase{"/DEBUG", RunMode::_Application},
                      ClassifyCase{"/x", RunMode::_Application},
                      ClassifyCase{"C:\\pics\\a.jpg", RunMode::_Application},
                      ClassifyCase{"\\\\server\\share\\a.jpg", RunMode::_Application},
                      ClassifyCase{"/home/me/pics/a.jpg", RunMode::_Application},
                      ClassifyCase{"/pics/a.jpg", RunMode::_Application}, // not a preview
                      ClassifyCase{"/UNINSTALL", RunMode::_screensaver},
                      ClassifyCase{"zzz", RunMode::_screensaver}));

TEST(EntryTest, ExtensionAndSwitchesChooseTheEntry) {
    struct Case {
        const char* exe;
        const char* argument;
        EntryAction action;
        RunMode mode;
    };
    const Case cases[] = {
        {"korvex", "", EntryAction::RunMode, RunMode::_Application},
        {"korvex.scr", "", EntryAction::RunMode, RunMode::_CONFIG},
        {"korvex", "/monitor", EntryAction::Monitor, RunMode::_Application},
        {"korvex.scr", "/CAMOFF", EntryAction::CameraOff, RunMode::_Application},
        {"korvex", "/CAM:E", EntryAction::RunMode, RunMode::_Application},
        {"korvex", "/settings", EntryAction::RunMode, RunMode::_Application},
        {"KORVEX.SCR", "/settings", EntryAction::RunMode, RunMode::_screensaver},
        {"korvex", "/s", EntryAction::RunMode, RunMode::_screensaver},
        {"korvex", "/UNINSTALL", EntryAction::RunMode, RunMode::_Application},
        {"korvex.scr", "/UNINSTALL", EntryAction::RunMode, RunMode::_screensaver},
    };
    for (const Case& c : cases) {
        const EntryDecision d =
            decideEntry(QString::fromUtf8(c.exe), QString::fromUtf8(c.argument));
        EXPECT_EQ(d.action, c.action) << c.exe << " " << c.argument;
        if (d.action == EntryAction::RunMode)
            EXPECT_EQ(d.mode, c.mode) << c.exe << " " << c.argument;
    }
}

TEST(EntryTest, RelativePictureNameOpensTheApplication) {
    // "photo.jpg" starts with P and would otherwise be taken for a preview request.
    const QString dir = korvex::test::makeTempDir();
    QFile f(dir + QStringLiteral("/photo.jpg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(QDir::setCurrent(dir));
    EXPECT_EQ(decideEntry(QStringLiteral("korvex"), QStringLiteral("photo.jpg")).mode,
              RunMode::_Application);
    EXPECT_EQ(decideEntry(QStringLiteral("korvex"), QStringLiteral("pmissing.jpg")).mode,
              RunMode::_preview);
}
