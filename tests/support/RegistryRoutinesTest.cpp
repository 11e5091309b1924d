#include "support/RegistryRoutines.h"

#include "platform/RegistryKey.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

TEST(RegistryRoutines, WriteReadAndDelete) {
    const QString key = QStringLiteral("SOFTWARE\\Corvanta\\Support Test");
    EXPECT_EQ(ReadRegistryText(key, QStringLiteral("Missing")), QString());
    WriteRegistryText(key, QStringLiteral("CheckForCards"), QStringLiteral("True"));
    EXPECT_EQ(ReadRegistryText(key, QStringLiteral("checkforcards")), QStringLiteral("True"));
    WriteRegistryText(key, QStringLiteral("CheckForCards"), QString());
    EXPECT_EQ(ReadRegistryText(key, QStringLiteral("CheckForCards")), QString());
    EXPECT_TRUE(QFileInfo::exists(RegistryKey::fileForKey(key)));
}

TEST(RegistryRoutines, UnwritableKeyRaises) {
    const QString key = QStringLiteral("SOFTWARE\\Corvanta\\Blocked");
    // A folder where the key's file belongs cannot be read or replaced, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(RegistryKey::fileForKey(key)));
    try {
        WriteRegistryText(key, QStringLiteral("Name"), QStringLiteral("Value"));
        FAIL() << "no error";
    } catch (const ERegistryError& e) {
        EXPECT_STREQ(e.what(), "Error encountered saving registry");
    }
    EXPECT_EQ(ReadRegistryText(key, QStringLiteral("Name")), QString());
}

TEST(RegistryRoutines, ProductVersionIsCompiledIn) {
    EXPECT_EQ(GetProductVersion(), QStringLiteral(KORVEX_VERSION));
    EXPECT_EQ(GetProductVersion(), QStringLiteral("3.0.3"));
}

} // namespace
