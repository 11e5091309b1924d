#include "support/FileRoutines.h"

#include "FakePrompter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;
using korvex::test::writeFile;

namespace {

struct SlashCase {
    const char* path;
    const char* included;
    const char* excluded;
};

void PrintTo(const SlashCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class SlashTest : public ::testing::TestWithParam<SlashCase> {};

TEST_P(SlashTest, IncludeAndExclude) {
    const SlashCase& c = GetParam();
    EXPECT_EQ(IncludeSlash(QString::fromUtf8(c.path)), QString::fromUtf8(c.included));
    EXPECT_EQ(ExcludeSlash(QString::fromUtf8(c.path)), QString::fromUtf8(c.excluded));
}

INSTANTIATE_TEST_SUITE_P(Table, SlashTest,
                         ::testing::Values(SlashCase{"/a/b", "/a/b/", "/a/b"},
                                           SlashCase{" /a/b/ ", "/a/b/", "/a/b"},
                                           SlashCase{"/a/b\\", "/a/b\\", "/a/b"},
                                           SlashCase{"", "", ""}, SlashCase{"  ", "", ""},
                                           SlashCase{"/", "/", "/"},
                                           SlashCase{"/a//", "/a//", "/a/"}));

TEST(FileRoutines, NameParts) {
    EXPECT_EQ(LastPathPart(QStringLiteral("/home/anna/Pictures/")), QStringLiteral("Pictures"));
    EXPECT_EQ(LastPathPart(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(FileNameWithoutExt(QStringLiteral("/a.d/p.1.jpg")), QStringLiteral("p.1"));
    EXPECT_EQ(FileNameWithoutExt(QStringLiteral("/a.d/readme")), QStringLiteral("readme"));
    EXPECT_TRUE(GetTempFolder().endsWith(u'/'));
    EXPECT_TRUE(TempCopyName(QStringLiteral("/x/p.jpg")).startsWith(GetTempFolder()));
}

TEST(FileRoutines, UniqueFileNameSkipsTakenNames) {
    const QString dir = test::makeTempDir(QStringLiteral("unique"));
    const QString p = dir + QStringLiteral("/p.jpg");
    EXPECT_EQ(UniqueFileName(p), p);
    writeFile(p);
    writeFile(dir + QStringLiteral("/p_2.jpg"));
    EXPECT_EQ(UniqueFileName(p), dir + QStringLiteral("/p_3.jpg"));
    EXPECT_EQ(UniqueFileName(p, QStringLiteral("-")), dir + QStringLiteral("/p-2.jpg"));
    // With pad the numbering starts at 1, even for a free name, blank-filled to three places.
    EXPECT_EQ(UniqueFileName(dir + QStringLiteral("/q.jpg"), QStringLiteral("_"), true),
              dir + QStringLiteral("/q_  1.jpg"));
    writeFile(dir + QStringLiteral("/p_  1.jpg"));
    EXPECT_EQ(UniqueFileName(p, QStringLiteral("_"), true), dir + QStringLiteral("/p_  2.jpg"));
    // A folder takes a name as much as a file does; a dotted folder is no extension.
    QDir().mkpath(dir + QStringLiteral("/d.x/noext"));
    EXPECT_EQ(UniqueFileName(dir + QStringLiteral("/d.x/noext")),
              dir + QStringLiteral("/d.x/noext_2"));
}

struct SizeCase {
    qint64 size;
    bool exact;
    const char* text;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.size << (c.exact ? " exact" : "");
}

class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, Text) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(FileSizeText(c.size, c.exact), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizeTextTest,
    ::testing::Values(SizeCase{1500, true, "1 KB"}, SizeCase{1500, false, "1 KB"},
                      SizeCase{999, true, "999 bytes"}, SizeCase{999, false, "1 KB"},
                      SizeCase{0, false, "0 KB"}, SizeCase{1000, true, "1 KB"},
                      SizeCase{1048575, true, "1024 KB"}, SizeCase{1048576, false, "1.00 MB"},
                      SizeCase{2000000, true, "1.91 MB"}, SizeCase{10485247, false, "10.00 MB"},
                      SizeCase{10485248, false, "10 MB"}, SizeCase{20000000, false, "19 MB"}));

TEST(FileRoutines, SizeTextUsesTheLocaleDecimalSeparator) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FileSizeText(2000000, true), QStringLiteral("1,91 MB"));
    QLocale::setDefault(saved);
}

struct ExtensionCase {
    const char* path;
    const char* list;
    bool in;
};

void PrintTo(const ExtensionCase& c, std::ostream* os) {
    *os << c.path << " in " << c.list;
}

class ExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionTest, InList) {
    const ExtensionCase& c = GetParam();
    EXPECT_EQ(ExtensionInList(QString::fromUtf8(c.path), QString::fromUtf8(c.list)), c.in);
}

INSTANTIATE_TEST_SUITE_P(Table, ExtensionTest,
                         ::testing::Values(ExtensionCase{"/p/a.JPG", ".jpg;.jpeg;.jpe", true},
                                           ExtensionCase{"/p/a.jpeg", ".jpg;.jpeg", true},
                                           ExtensionCase{"/p/a.jp", ".jpg;.jpeg", false},
                                           ExtensionCase{"/p/a.pg", ".jpg", false},
                                           ExtensionCase{"/p.d/readme", ".jpg;.NOTHING", true},
                                           ExtensionCase{"/p.d/readme", ".jpg", false},
                                           ExtensionCase{"/p/a.bmp", "*.*", true},
                                           ExtensionCase{"/p/a.bmp", "*.*;", true}));

TEST(FileRoutines, ReadOnlyAttribute) {
    const QString dir = test::makeTempDir(QStringLiteral("ro"));
    EXPECT_TRUE(IsReadOnly(dir + QStringLiteral("/missing.jpg")));
    const QString f = dir + QStringLiteral("/f.jpg");
    writeFile(f);
    EXPECT_FALSE(IsReadOnly(f));
    QFile::setPermissions(f, QFileDevice::ReadOwner);
    EXPECT_TRUE(IsReadOnly(f));
    EXPECT_TRUE(ClearReadOnly(f));
    EXPECT_FALSE(IsReadOnly(f));
    EXPECT_FALSE(ClearReadOnly(dir + QStringLiteral("/missing.jpg")));
}

TEST(FileRoutines, CopyReplacesTargetAndKeepsTheModificationTime) {
    const QString dir = test::makeTempDir(QStringLiteral("copy"));
    const QString source = dir + QStringLiteral("/s.jpg");
    const QString target = dir + QStringLiteral("/t.jpg");
    writeFile(source, "new content");
    writeFile(target, "old");
    const QDateTime stamp(QDate(2019, 5, 4), QTime(10, 20, 30));
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    EXPECT_TRUE(CopyFileChecked(source, target, true));
    EXPECT_EQ(readFile(target), QByteArray("new content"));
    EXPECT_EQ(QFileInfo(target).lastModified(), stamp);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary left";

    EXPECT_FALSE(CopyFileChecked(dir + QStringLiteral("/missing"), target, false));
    EXPECT_EQ(readFile(target), QByteArray("new content"));
}

TEST(FileRoutines, CopyRefusesReadOnlyTarget) {
    const QString dir = test::makeTempDir(QStringLiteral("copyro"));
    writeFile(dir + QStringLiteral("/s"), "new");
    writeFile(dir + QStringLiteral("/t"), "old");
    QFile::setPermissions(dir + QStringLiteral("/t"), QFileDevice::ReadOwner);
    EXPECT_FALSE(CopyFileChecked(dir + QStringLiteral("/s"), dir + QStringLiteral("/t"), false));
    EXPECT_EQ(readFile(dir + QStringLiteral("/t")), QByteArray("old"));
}

TEST(FileRoutines, MoveByCopy) {
    const QString dir = test::makeTempDir(QStringLiteral("move"));
    const QString source = dir + QStringLiteral("/s.jpg");
    const QString target = dir + QStringLiteral("/sub/t.jpg");
    writeFile(source, "picture");
    QDir().mkpath(dir + QStringLiteral("/sub"));
    EXPECT_TRUE(MoveFileByCopy(source, target, true));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(readFile(target), QByteArray("picture"));
}

TEST(FileRoutines, MoveByCopyWithUndeletableSource) {
    const QString dir = test::makeTempDir(QStringLiteral("movefail"));
    // A file in a read-only folder cannot be deleted (except by root, who ignores the mode).
    const QString locked = dir + QStringLiteral("/locked");
    const QString source = locked + QStringLiteral("/s.jpg");
    writeFile(source, "result");
    const QString existing = dir + QStringLiteral("/picture.jpg");
    writeFile(existing, "original");
    const QString fresh = dir + QStringLiteral("/fresh.jpg");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool lockHolds = !QFileInfo(locked).isWritable();
    if (lockHolds) {
        EXPECT_FALSE(MoveFileByCopy(source, existing, false));
        EXPECT_EQ(readFile(existing), QByteArray("result")) << "a target that existed survives";
        EXPECT_FALSE(MoveFileByCopy(source, fresh, false));
        EXPECT_FALSE(QFile::exists(fresh)) << "a new target is removed again";
        EXPECT_TRUE(QFile::exists(source));
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!lockHolds)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
}

TEST(FileRoutines, DatesOfMissingFilesAreZero) {
    const QString dir = test::makeTempDir(QStringLiteral("dates"));
    EXPECT_FALSE(SafeFileDate(dir + QStringLiteral("/missing")).isValid());
    EXPECT_FALSE(FileCreationTime(dir + QStringLiteral("/missing")).isValid());
    writeFile(dir + QStringLiteral("/f"));
    EXPECT_TRUE(SafeFileDate(dir + QStringLiteral("/f")).isValid());
    EXPECT_TRUE(FileCreationTime(dir + u'/').isValid());
    EXPECT_TRUE(SafeFileExists(dir + QStringLiteral("/f")));
    EXPECT_FALSE(SafeFileExists(dir));
    EXPECT_TRUE(SafeDirectoryExists(dir));
}

TEST(FileRoutines, DateTimeToFileTextHasNoSeparators) {
    const QDateTime moment(QDate(2024, 3, 9), QTime(14, 5, 6));
    const QString plain = DateTimeToFileText(false, moment);
    const QString dashed = DateTimeToFileText(true, moment);
    for (const QString& text : {plain, dashed}) {
        EXPECT_FALSE(text.contains(u':') || text.contains(u'/') || text.contains(u' '))
            << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("05"))) << qPrintable(text);
    }
    EXPECT_TRUE(dashed.contains(u'_'));
}

TEST(FileRoutines, AppendLine) {
    const QString file = test::makeTempDir(QStringLiteral("append")) + QStringLiteral("/l.txt");
    EXPECT_TRUE(AppendLine(file, QStringLiteral("one"), false));
    EXPECT_TRUE(AppendLine(file, QStringLiteral("two"), false));
    EXPECT_EQ(readFile(file), QByteArray("one\ntwo\n"));
    EXPECT_TRUE(AppendLine(file, QStringLiteral("three"), true));
    EXPECT_EQ(readFile(file), QByteArray("three\n"));
    EXPECT_FALSE(
        AppendLine(QStringLiteral("/nonexistent-folder/x.txt"), QStringLiteral("a"), false));
}

TEST(FileRoutines, InvalidFileCharacters) {
    test::FakePrompter prompter;
    EXPECT_FALSE(HasInvalidFileChars(QStringLiteral("holiday 2024.jpg"), true, &prompter));
    EXPECT_TRUE(prompter.messages.isEmpty());
    for (const char* name : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        EXPECT_TRUE(HasInvalidFileChars(QString::fromUtf8(name), false)) << name;
    EXPECT_TRUE(HasInvalidFileChars(QStringLiteral("a?b"), true, &prompter));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.first(),
              QStringLiteral("A filename cannot contain any of the following characters:\r\n"
                             "\\ / : * ? \" < > |"));
}

} // namespace
