#include "support/FolderRoutines.h"

#include "FakePrompter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
}

TEST(ForceFolder, CreatesEveryMissingLevel) {
    const QString dir = test::makeTempDir(QStringLiteral("force"));
    const QString deep = dir + QStringLiteral("/a/b/c/");
    EXPECT_TRUE(ForceFolder(deep, false, false));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(ForceFolder(deep, true, true)) << "an existing folder needs no question";
}

TEST(ForceFolder, AsksFirstAndHonoursCancel) {
    const QString dir = test::makeTempDir(QStringLiteral("forceask"));
    const QString folder = dir + QStringLiteral("/new");
    test::FakePrompter no(false);
    EXPECT_FALSE(ForceFolder(folder, true, true, &no));
    EXPECT_FALSE(QFileInfo::exists(folder));
    ASSERT_EQ(no.questions.size(), 1);
    EXPECT_EQ(no.questions.first(),
              QStringLiteral("The folder, %1, does not exist.  Would you like to create it?")
                  .arg(folder));
    EXPECT_FALSE(ForceFolder(folder, true, false)) << "no one to ask: not created";

    test::FakePrompter yes(true);
    EXPECT_TRUE(ForceFolder(folder, true, true, &yes));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(ForceFolder, ReportsFailureAndLeavesRootAlone) {
    const QString dir = test::makeTempDir(QStringLiteral("forcefail"));
    touch(dir + QStringLiteral("/file"));
    test::FakePrompter prompter;
    const QString blocked = dir + QStringLiteral("/file/sub");
    EXPECT_FALSE(ForceFolder(blocked, false, true, &prompter));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.first(),
              QStringLiteral("An error was encountered whilst trying to create the folder, %1.")
                  .arg(blocked));
    EXPECT_FALSE(ForceFolder(QStringLiteral("/"), false, false));
    EXPECT_FALSE(ForceFolder(QString(), false, false));
}

TEST(ListFiles, FiltersByMaskAndExtensions) {
    const QString dir = test::makeTempDir(QStringLiteral("list"));
    for (const char* name : {"b.JPG", "a.jpg", "c.png", "noext", ".hidden.jpg"})
        touch(dir + u'/' + QString::fromLatin1(name));
    QDir().mkpath(dir + QStringLiteral("/folder.jpg"));
    QDir().mkpath(dir + QStringLiteral("/plain"));

    QStringList list{QStringLiteral("stale")};
    ASSERT_TRUE(ListFiles(list, dir, QStringLiteral(".jpg;.jpeg")));
    // Matching folders count as entries too; order is by name without regard to case.
    EXPECT_EQ(list, (QStringList{".hidden.jpg", "a.jpg", "b.JPG", "folder.jpg"}));

    ASSERT_TRUE(ListFiles(list, dir, QStringLiteral("*.*"), QStringLiteral("*.png")));
    EXPECT_EQ(list, QStringList{"c.png"});

    ASSERT_TRUE(ListFiles(list, dir, QStringLiteral(".NOTHING"), QStringLiteral("*.*")));
    EXPECT_EQ(list, (QStringList{"noext", "plain"}));

    ASSERT_TRUE(ListFiles(list, dir, QStringLiteral(".png;.jpg"), QStringLiteral("?.*"), false,
                          true, false));
    EXPECT_EQ(list, (QStringList{"a", "b", "c"}));

    ASSERT_TRUE(ListFiles(list, dir + u'/', QStringLiteral(".png"), QStringLiteral("*.*"), false,
                          false, true));
    EXPECT_EQ(list, QStringList{dir + QStringLiteral("/c.png")});
}

TEST(ListFiles, MissingFolderFailsAndReports) {
    const QString missing =
        test::makeTempDir(QStringLiteral("listmissing")) + QStringLiteral("/no");
    QStringList list{QStringLiteral("stale")};
    test::FakePrompter prompter;
    EXPECT_FALSE(ListFiles(list, missing, QStringLiteral("*.*"), QStringLiteral("*.*"), true, false,
                           false, &prompter));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("Unable to change to the folder, %1.").arg(missing)});
}

TEST(UniqueFolderName, NumbersFromTwo) {
    const QString dir = test::makeTempDir(QStringLiteral("ufolder"));
    const QString folder = dir + QStringLiteral("/Holiday");
    EXPECT_EQ(UniqueFolderName(folder), folder);
    QDir().mkpath(folder);
    QDir().mkpath(folder + QStringLiteral("_2"));
    EXPECT_EQ(UniqueFolderName(folder + u'/'), folder + QStringLiteral("_3"));
    EXPECT_EQ(UniqueFolderName(folder, QStringLiteral(" ")), folder + QStringLiteral(" 2"));
}

} // namespace
