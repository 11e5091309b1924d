#include "support/Shortcuts.h"

#include "TestEnvironment.h"
#include "platform/DesktopKeyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;
using korvex::test::writeFile;

namespace {

TEST(Shortcuts, ProgramRoundTripThroughAutostart) {
    const QString dir = test::makeTempDir(QStringLiteral("sc prog"));
    const QString program = dir + QStringLiteral("/card monitor $1 \"x\"");
    writeFile(program, "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString autostart =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/autostart");
    const QString link = autostart + QStringLiteral("/Monitor.lnk");

    ASSERT_TRUE(CreateShortcut(program, link, false));
    const QString written = autostart + QStringLiteral("/Monitor.desktop");
    ASSERT_TRUE(QFile::exists(written));
    const QByteArray text = readFile(written);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\nName=Monitor\n"))
        << text.constData();
    EXPECT_TRUE(text.contains("\nPath=" + QFile::encodeName(dir) + "\n")) << text.constData();
    EXPECT_EQ(GetShortcutTarget(written), program);
    EXPECT_EQ(ResolveShortcut(written), program);
}

TEST(Shortcuts, DocumentLinkAndCollisions) {
    const QString dir = test::makeTempDir(QStringLiteral("sc doc"));
    const QString picture = dir + QStringLiteral("/Summer 100%.jpg");
    writeFile(picture, "jpeg");
    const QString link = dir + QStringLiteral("/Picture");

    ASSERT_TRUE(CreateShortcut(picture, link, false));
    EXPECT_EQ(GetShortcutTarget(link + QStringLiteral(".desktop")), picture);
    EXPECT_TRUE(readFile(link + QStringLiteral(".desktop")).contains("Type=Link\n"));

    // The name is taken: without renaming nothing is written, with it "(n)" is added.
    const QString other = dir + QStringLiteral("/other.jpg");
    writeFile(other, "jpeg");
    EXPECT_FALSE(CreateShortcut(other, link, false));
    EXPECT_EQ(GetShortcutTarget(link + QStringLiteral(".desktop")), picture);
    ASSERT_TRUE(CreateShortcut(other, link, true));
    EXPECT_EQ(GetShortcutTarget(dir + QStringLiteral("/Picture (1).desktop")), other);
    ASSERT_TRUE(CreateShortcut(other, link, true));
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/Picture (2).desktop")));
}

TEST(Shortcuts, RecognitionAndResolution) {
    EXPECT_TRUE(IsShortcut(QStringLiteral("/a/b.LNK")));
    EXPECT_TRUE(IsShortcut(QStringLiteral("/a/b.Desktop")));
    EXPECT_FALSE(IsShortcut(QStringLiteral("/a/b.jpg")));
    const QString dir = test::makeTempDir(QStringLiteral("sc resolve"));
    EXPECT_EQ(ResolveShortcut(dir + QStringLiteral("/p.jpg")), dir + QStringLiteral("/p.jpg"));
    EXPECT_EQ(GetShortcutTarget(dir + QStringLiteral("/missing.desktop")), QString());
    // A shortcut naming nothing resolves to itself.
    const QString empty = dir + QStringLiteral("/empty.desktop");
    writeFile(empty, "[Desktop Entry]\nType=Link\nName=x\n");
    EXPECT_EQ(ResolveShortcut(empty), empty);
}

TEST(DesktopKeyFile, KeepsOtherLinesAndEscapesValues) {
    const QString dir = test::makeTempDir(QStringLiteral("keyfile"));
    const QString file = dir + QStringLiteral("/mimeapps.list");
    writeFile(file, "# user choices\n[Default Applications]\ntext/plain=gedit.desktop\n\n"
                    "[Added Associations]\nimage/png=eog.desktop;\n");
    DesktopKeyFile keys;
    ASSERT_TRUE(keys.load(file));
    keys.setValue(QStringLiteral("Default Applications"), QStringLiteral("image/jpeg"),
                  QStringLiteral("korvex.desktop"));
    keys.setValue(QStringLiteral("Korvex"), QStringLiteral("Note"),
                  QStringLiteral(" two\nlines\\"));
    ASSERT_TRUE(keys.save(file));
    EXPECT_EQ(readFile(file), QByteArray("# user choices\n[Default Applications]\n"
                                         "text/plain=gedit.desktop\nimage/jpeg=korvex.desktop\n\n"
                                         "[Added Associations]\nimage/png=eog.desktop;\n\n"
                                         "[Korvex]\nNote=\\stwo\\nlines\\\\\n"));
    DesktopKeyFile again;
    ASSERT_TRUE(again.load(file));
    EXPECT_EQ(again.value(QStringLiteral("Korvex"), QStringLiteral("Note")),
              QStringLiteral(" two\nlines\\"));
    again.remove(QStringLiteral("Default Applications"), QStringLiteral("text/plain"));
    EXPECT_FALSE(
        again.contains(QStringLiteral("Default Applications"), QStringLiteral("text/plain")));
    EXPECT_EQ(again.value(QStringLiteral("Added Associations"), QStringLiteral("image/png")),
              QStringLiteral("eog.desktop;"));
}

TEST(DesktopKeyFile, ExecQuotingRoundTrip) {
    const QStringList arguments{QStringLiteral("/opt/my app/run"), QStringLiteral("50%"),
                                QStringLiteral("a\"b$c`d\\e"), QStringLiteral("plain")};
    QString exec;
    for (const QString& a : arguments)
        exec += DesktopKeyFile::quoteExecArgument(a) + u' ';
    exec += QStringLiteral("%f");
    EXPECT_EQ(DesktopKeyFile::splitExec(exec), arguments);
    EXPECT_EQ(DesktopKeyFile::quoteExecArgument(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(DesktopKeyFile::quoteExecArgument(QStringLiteral("a b")), QStringLiteral("\"a b\""));
}

} // namespace
