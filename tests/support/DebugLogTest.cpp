#include "support/DebugLog.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = test::makeTempDir(QStringLiteral("log"));
        debuglog::resetForTest();
        debuglog::setFolder(folder);
    }
    void TearDown() override { debuglog::resetForTest(); }

    QString file(const char* name) const {
        return QDir(folder).filePath(QString::fromLatin1(name));
    }

    QString folder;
};

TEST_F(DebugLogTest, OffTouchesNoFile) {
    QFile previous(file("Log.txt"));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("earlier run\r\n");
    previous.close();

    for (int i = 0; i < 3; ++i)
        DebugLog(QStringLiteral("doidle"), QStringLiteral("ignored"));

    EXPECT_EQ(readAll(file("Log.txt")), QByteArray("earlier run\r\n"));
    EXPECT_FALSE(QFile::exists(file("Log.old")));
}

TEST_F(DebugLogTest, FirstLineRotatesAndLinesHaveTheirFormat) {
    QFile previous(file("Log.txt"));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("earlier run\r\n");
    previous.close();

    debuglog::enable();
    DebugLog(QStringLiteral("ShowImage"), QStringLiteral("Start, file=/p/a.jpg"));
    DebugLog(QStringLiteral("FormCreate"), QString());

    EXPECT_EQ(readAll(file("Log.old")), QByteArray("earlier run\r\n"));
    const QByteArray log = readAll(file("Log.txt"));
    ASSERT_TRUE(log.startsWith("\r\n")) << log.constData();
    const QList<QByteArray> lines = log.mid(2).split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines and the empty rest after the last line feed
    const QRegularExpression first(
        QStringLiteral(R"(^\[[^\]]+ [^\]]+\] ShowImage: Start, file=/p/a\.jpg\r$)"));
    EXPECT_TRUE(first.match(QString::fromUtf8(lines[0])).hasMatch()) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith("] FormCreate: \r")) << lines[1].constData();
    EXPECT_TRUE(lines[2].isEmpty());
}

TEST_F(DebugLogTest, NextRunKeepsExactlyOnePreviousTrace) {
    debuglog::enable();
    DebugLog(QStringLiteral("run"), QStringLiteral("one"));
    const QByteArray firstRun = readAll(file("Log.txt"));

    debuglog::resetForTest();
    debuglog::enable();
    DebugLog(QStringLiteral("run"), QStringLiteral("two"));

    EXPECT_EQ(readAll(file("Log.old")), firstRun);
    EXPECT_FALSE(readAll(file("Log.txt")).contains("one"));
}

} // namespace
