#include "support/ShellRoutines.h"

#include "FakePrompter.h"
#include "TestEnvironment.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;
using korvex::test::writeFile;

namespace {

QString trashFiles() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash/files");
}

class ShellFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::makeTempDir(QStringLiteral("shell"));
        src = dir + QStringLiteral("/src");
        dst = dir + QStringLiteral("/dst");
        writeFile(src + QStringLiteral("/a.jpg"), "A");
        writeFile(src + QStringLiteral("/b.jpg"), "B");
        writeFile(src + QStringLiteral("/c.png"), "C");
    }
    QString path(const char* rel) const { return dir + u'/' + QString::fromLatin1(rel); }

    QString dir, src, dst;
};

TEST_F(ShellFileTest, CopyListIntoANewFolder) {
    const QString from = path("src/a.jpg") + u';' + path("src/b.jpg");
    EXPECT_EQ(ShellMoveOrCopy(from, dst, false), ShellDone);
    EXPECT_EQ(readFile(path("dst/a.jpg")), QByteArray("A"));
    EXPECT_EQ(readFile(path("dst/b.jpg")), QByteArray("B"));
    EXPECT_TRUE(QFile::exists(path("src/a.jpg")));
}

TEST_F(ShellFileTest, MoveWithWildcardAndFolders) {
    writeFile(path("src/sub/d.jpg"), "D");
    EXPECT_EQ(ShellMoveOrCopy(src + QStringLiteral("/*.jpg"), dst, true), ShellDone);
    EXPECT_EQ(QDir(dst).entryList(QDir::Files), (QStringList{"a.jpg", "b.jpg"}));
    EXPECT_FALSE(QFile::exists(path("src/a.jpg")));
    EXPECT_TRUE(QFile::exists(path("src/c.png")));

    EXPECT_EQ(ShellMoveOrCopy(path("src/sub"), dst, true), ShellDone);
    EXPECT_EQ(readFile(path("dst/sub/d.jpg")), QByteArray("D"));
    EXPECT_FALSE(QFileInfo::exists(path("src/sub")));
}

TEST_F(ShellFileTest, CollisionAsksAndDecliningAborts) {
    writeFile(path("dst/a.jpg"), "old");
    test::FakePrompter no(false);
    EXPECT_EQ(ShellMoveOrCopy(path("src/a.jpg") + u';' + path("src/b.jpg"), dst, false, &no),
              ShellAborted);
    ASSERT_EQ(no.questions.size(), 1);
    EXPECT_TRUE(no.questions.first().contains(path("dst/a.jpg")));
    EXPECT_EQ(readFile(path("dst/a.jpg")), QByteArray("old"));
    EXPECT_EQ(readFile(path("dst/b.jpg")), QByteArray("B")) << "the other file still went";

    test::FakePrompter yes(true);
    EXPECT_EQ(ShellMoveOrCopy(path("src/a.jpg"), dst, false, &yes), ShellDone);
    EXPECT_EQ(readFile(path("dst/a.jpg")), QByteArray("A"));
}

TEST_F(ShellFileTest, FailuresAreReported) {
    EXPECT_EQ(ShellMoveOrCopy(path("src/missing.jpg"), dst, false), ShellFailed);
    EXPECT_EQ(ShellMoveOrCopy(QString(), dst, false), ShellFailed);
    EXPECT_EQ(ShellMoveOrCopy(src, src + QStringLiteral("/inside"), true), ShellFailed);
    EXPECT_TRUE(QFile::exists(path("src/a.jpg")));
    // Two destinations for three sources cannot be paired.
    EXPECT_EQ(ShellMoveOrCopy(src + QStringLiteral("/*"), path("x") + u';' + path("y"), false),
              ShellFailed);
}

TEST_F(ShellFileTest, CopyRenamesOrReplacesOnCollision) {
    writeFile(path("dst/a.jpg"), "old");
    EXPECT_TRUE(ShellCopy(path("src/a.jpg"), dst, true, true));
    EXPECT_EQ(readFile(path("dst/a.jpg")), QByteArray("old"));
    EXPECT_EQ(readFile(path("dst/a_2.jpg")), QByteArray("A"));

    EXPECT_TRUE(ShellCopy(path("src/a.jpg"), dst, false, true));
    EXPECT_EQ(readFile(path("dst/a.jpg")), QByteArray("A"));

    writeFile(path("dst/b.jpg"), "old");
    EXPECT_FALSE(ShellCopy(path("src/b.jpg"), dst, false, false)) << "asked, nobody agreed";
    EXPECT_EQ(readFile(path("dst/b.jpg")), QByteArray("old"));
}

TEST_F(ShellFileTest, CopyOntoItselfMakesARenamedCopy) {
    EXPECT_TRUE(ShellCopy(path("src/a.jpg"), src, true, true));
    EXPECT_EQ(readFile(path("src/a_2.jpg")), QByteArray("A"));
    EXPECT_FALSE(ShellCopy(path("src/b.jpg"), src, false, true));
}

TEST_F(ShellFileTest, MoveToNewNameAndConfirmSense) {
    EXPECT_TRUE(ShellMove(path("src/a.jpg"), path("dst/renamed.jpg"), false, false));
    EXPECT_EQ(readFile(path("dst/renamed.jpg")), QByteArray("A"));
    EXPECT_FALSE(QFile::exists(path("src/a.jpg")));

    writeFile(path("dst/b.jpg"), "old");
    test::FakePrompter prompter(false);
    EXPECT_FALSE(ShellMove(path("src/b.jpg"), dst, false, true, &prompter));
    EXPECT_EQ(prompter.questions.size(), 1) << "confirm asks";
    EXPECT_TRUE(ShellMove(path("src/b.jpg"), dst, false, false, &prompter));
    EXPECT_EQ(prompter.questions.size(), 1) << "no confirm replaces without asking";
    EXPECT_EQ(readFile(path("dst/b.jpg")), QByteArray("B"));
}

TEST_F(ShellFileTest, DeleteForGood) {
    EXPECT_TRUE(ShellDelete(path("src/a.jpg") + u';' + path("src/b.jpg"), false, false, true));
    EXPECT_FALSE(QFile::exists(path("src/a.jpg")));
    EXPECT_FALSE(QFile::exists(path("src/b.jpg")));
    EXPECT_FALSE(ShellDelete(path("src/a.jpg"), false, false, true)) << "already gone";

    test::FakePrompter no(false);
    EXPECT_FALSE(ShellDelete(path("src/c.png"), false, true, false, &no));
    EXPECT_TRUE(QFile::exists(path("src/c.png")));
    EXPECT_EQ(no.questions.size(), 1);
}

TEST_F(ShellFileTest, WildcardsTouchFilesOnly) {
    writeFile(path("src/sub.jpg/inner.jpg"), "I");
    EXPECT_TRUE(ShellCopy(src + QStringLiteral("/*.jpg"), dst, false, true));
    EXPECT_EQ(QDir(dst).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"a.jpg", "b.jpg"}));
    EXPECT_TRUE(ShellDelete(src + QStringLiteral("/*"), false, false, true));
    EXPECT_EQ(QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"sub.jpg"});
    EXPECT_TRUE(QFile::exists(path("src/sub.jpg/inner.jpg")));
}

TEST_F(ShellFileTest, DeleteToTheTrashEvenWithoutTheDataFolder) {
    // Without the data folder Qt would write "files/" and "info/" into the current folder.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    ASSERT_TRUE(QDir(dataHome).removeRecursively());
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir));

    EXPECT_TRUE(ShellDelete(path("src/a.jpg"), true, false, true));

    QDir::setCurrent(cwd);
    EXPECT_FALSE(QFile::exists(path("src/a.jpg")));
    EXPECT_FALSE(QFileInfo::exists(path("files")));
    EXPECT_EQ(readFile(trashFiles() + QStringLiteral("/a.jpg")), QByteArray("A"));
}

TEST(ShellRoutines, ShellFoldersFollowTheUserDirectories) {
    EXPECT_EQ(GetShellFolder(QStringLiteral("APPDATA")),
              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    EXPECT_EQ(GetShellFolder(QStringLiteral("My Pictures")),
              QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    EXPECT_TRUE(GetShellFolder(QStringLiteral("MY PICTURES")).startsWith(QDir::homePath()));
    EXPECT_EQ(GetShellFolder(QStringLiteral("Startup")),
              qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart"));
    EXPECT_EQ(GetShellFolder(QStringLiteral("NO SUCH FOLDER")), QString());
}

TEST(ShellRoutines, OpenRunsAProgramWithItsParameters) {
    const QString dir = test::makeTempDir(QStringLiteral("launch"));
    const QString script = dir + QStringLiteral("/tool.sh");
    const QString out = dir + QStringLiteral("/out.txt");
    writeFile(script,
              "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$2\" > \"$3.tmp\" && mv \"$3.tmp\" \"$3\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_TRUE(ShellOpen(script, QStringLiteral("one \"two words\" ") + out));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(out) && waited.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(readFile(out), QByteArray("one|two words"));

    EXPECT_FALSE(ShellLaunch(ShellVerb::Open, QString(), QString()));
}

// Receives the URLs the desktop would have opened.
class UrlSink : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST(ShellRoutines, BrowserGetsTheAddress) {
    UrlSink sink;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &sink, "open");
    test::FakePrompter prompter;
    EXPECT_TRUE(OpenInBrowser(QStringLiteral("https://example.test/a?b=1"), &prompter));
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &sink, "open");
    EXPECT_TRUE(OpenInBrowser(QStringLiteral("www.example.test"), &prompter));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    // Without parameters an empty file takes its name from them.
    EXPECT_TRUE(ShellOpen(QString(), QStringLiteral("https://example.test/help")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(sink.urls.size(), 3);
    EXPECT_EQ(sink.urls[0], QUrl(QStringLiteral("https://example.test/a?b=1")));
    EXPECT_EQ(sink.urls[1], QUrl(QStringLiteral("http://www.example.test")));
    EXPECT_EQ(sink.urls[2], QUrl(QStringLiteral("https://example.test/help")));
    EXPECT_TRUE(prompter.messages.isEmpty());

    // No desktop to hand the address to in this process: the failure is shown.
    EXPECT_FALSE(OpenInBrowser(QStringLiteral("https://example.test/"), &prompter));
    EXPECT_EQ(prompter.messages,
              QStringList{QStringLiteral("Error encountered launching your web browser")});
}

} // namespace

#include "ShellRoutinesTest.moc"
