#include "platform/RegistryKey.h"

#include "TestEnvironment.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex;

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Corvanta\\Registry Test");

void writeRaw(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegistryKey::deleteKey(kKey); }
};

} // namespace

TEST_F(RegistryKeyTest, KeyPathMapsToIniFileUnderConfigHome) {
    EXPECT_EQ(RegistryKey::fileForKey(QStringLiteral("SOFTWARE\\Corvanta\\Corvanta Express")),
              qEnvironmentVariable("XDG_CONFIG_HOME") +
                  QStringLiteral("/Corvanta/Corvanta Express.ini"));
}

TEST_F(RegistryKeyTest, ValuesRoundTripWithCaseInsensitiveNamesAndPrivateMode) {
    RegistryKey key(kKey);
    EXPECT_EQ(key.open(false), RegistryKey::Status::Missing);
    ASSERT_TRUE(key.setValue(QStringLiteral("ProxyPassword"), QStringLiteral("s=cr\\t\nline2")));
    ASSERT_TRUE(key.setValue(QStringLiteral("PROXYPASSWORD"), QStringLiteral("new=value")));
    ASSERT_TRUE(key.setValue(QStringLiteral("Other"), QStringLiteral("x")));

    RegistryKey again(kKey);
    ASSERT_EQ(again.open(false), RegistryKey::Status::Ok);
    EXPECT_EQ(again.value(QStringLiteral("proxypassword")), QStringLiteral("new=value"));
    EXPECT_EQ(again.values().size(), 2);
    struct stat st {};
    ASSERT_EQ(stat(again.fileName().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // it holds the proxy password

    // Escaped characters survive; an empty text deletes the value.
    ASSERT_TRUE(again.setValue(QStringLiteral("Multi"), QStringLiteral("a\\b\r\nc")));
    ASSERT_TRUE(again.setValue(QStringLiteral("Blanks"), QStringLiteral(" secret ")));
    ASSERT_TRUE(again.setValue(QStringLiteral("Other"), QString()));
    RegistryKey third(kKey);
    third.open(false);
    EXPECT_EQ(third.value(QStringLiteral("Multi")), QStringLiteral("a\\b\r\nc"));
    EXPECT_EQ(third.value(QStringLiteral("Blanks")), QStringLiteral(" secret "));
    EXPECT_FALSE(third.contains(QStringLiteral("Other")));
}

TEST_F(RegistryKeyTest, WritesKeepWhatAnotherWriterAddedMeanwhile) {
    RegistryKey first(kKey);
    first.open(true);
    RegistryKey second(kKey);
    second.open(true);
    ASSERT_TRUE(first.setValue(QStringLiteral("A"), QStringLiteral("1")));
    ASSERT_TRUE(second.setValue(QStringLiteral("B"), QStringLiteral("2")));
    RegistryKey check(kKey);
    check.open(false);
    EXPECT_EQ(check.value(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(check.value(QStringLiteral("B")), QStringLiteral("2"));
}

TEST_F(RegistryKeyTest, CorruptFileIsReportedAndKeptBesideTheRewrite) {
    const QString file = RegistryKey::fileForKey(kKey);
    const QByteArray damaged("[Values]\nGood=yes\n\x01\x02garbage without equals\nAlso=1\n");
    writeRaw(file, damaged);
    RegistryKey key(kKey);
    EXPECT_EQ(key.open(true), RegistryKey::Status::Corrupt);
    ASSERT_TRUE(key.setValue(QStringLiteral("New"), QStringLiteral("v")));

    QFile kept(file + QStringLiteral(".corrupt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    RegistryKey after(kKey);
    EXPECT_EQ(after.open(false), RegistryKey::Status::Ok);
    EXPECT_EQ(after.value(QStringLiteral("Good")), QStringLiteral("yes"));
    EXPECT_EQ(after.value(QStringLiteral("Also")), QStringLiteral("1"));
    EXPECT_EQ(after.value(QStringLiteral("New")), QStringLiteral("v"));
}

TEST_F(RegistryKeyTest, UnreadableFileIsNeverOverwritten) {
    // A file that cannot be opened for reading, even by root: a folder in its place.
    const QString file = RegistryKey::fileForKey(kKey);
    ASSERT_TRUE(QDir().mkpath(file + QStringLiteral("/inside")));
    RegistryKey key(kKey);
    EXPECT_EQ(key.open(true), RegistryKey::Status::Unreadable);
    EXPECT_FALSE(key.setValue(QStringLiteral("X"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(file + QStringLiteral("/inside")).isDir());
    QDir(file).removeRecursively();
}

TEST_F(RegistryKeyTest, DeleteKeyRemovesSubkeys) {
    RegistryKey(kKey).setValue(QStringLiteral("A"), QStringLiteral("1"));
    RegistryKey(kKey + QStringLiteral("\\Sub")).setValue(QStringLiteral("B"), QStringLiteral("2"));
    ASSERT_TRUE(QFileInfo::exists(RegistryKey::fileForKey(kKey + QStringLiteral("\\Sub"))));
    EXPECT_TRUE(RegistryKey::deleteKey(kKey));
    EXPECT_FALSE(QFileInfo::exists(RegistryKey::fileForKey(kKey)));
    EXPECT_FALSE(QFileInfo::exists(RegistryKey::fileForKey(kKey + QStringLiteral("\\Sub"))));
}

TEST(SingleInstanceTest, HandOverKeepsTenArgumentsOfAtMost300Characters) {
    QStringList args;
    for (int i = 0; i < 11; ++i)
        args << QString(i == 3 ? 400 : 5, QChar(u'a' + i));
    const QStringList limited = SingleInstance::limitArguments(args);
    ASSERT_EQ(limited.size(), 10);
    EXPECT_EQ(limited[3].size(), 300);
    EXPECT_EQ(limited[9], args[9]);
}
