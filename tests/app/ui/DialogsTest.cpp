#include "ModalWatcher.h"
#include "TestEnvironment.h"
#include "app/AppContext.h"
#include "app/ui/AboutBox.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QuickStart.h"
#include "platform/RegistryKey.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

QPushButton* button(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace

TEST(QuickStartTest, FourPagesWithBackNextAndFinish) {
    AppContext context(korvex::test::binDir());
    TdlgStartUp guide(context.dataFile(QStringLiteral("Guide/")), context.names.product, true);
    guide.show();
    auto* view = guide.findChild<QWebEngineView*>();
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(20000));
    EXPECT_TRUE(loaded.first().at(0).toBool());
    EXPECT_EQ(guide.page(), 1);
    EXPECT_FALSE(button(&guide, QStringLiteral("< Back"))->isEnabled());
    EXPECT_TRUE(button(&guide, QStringLiteral("Next >"))->isVisible());
    EXPECT_FALSE(button(&guide, QStringLiteral("Finish"))->isVisible());

    for (int i = 0; i < 5; ++i)
        button(&guide, QStringLiteral("Next >"))->click();
    EXPECT_EQ(guide.page(), 4);
    EXPECT_TRUE(button(&guide, QStringLiteral("Finish"))->isVisible());
    EXPECT_FALSE(button(&guide, QStringLiteral("Next >"))->isVisible());
    const auto onLastPage = [view] {
        return view->url().toLocalFile().endsWith(QStringLiteral("Guide/quickstart_4.html"));
    };
    for (int i = 0; i < 200 && !onLastPage(); ++i)
        QTest::qWait(50);
    EXPECT_TRUE(onLastPage());

    guide.findChild<QCheckBox*>()->setChecked(false);
    EXPECT_FALSE(guide.showAtStartUp());
}

TEST(QuickStartTest, MissingGuideSaysSo) {
    test::ModalWatcher watcher;
    TdlgStartUp guide(korvex::test::makeTempDir() + u'/', QStringLiteral("Corvanta Express"), true);
    EXPECT_EQ(watcher.texts,
              QStringList{QStringLiteral("The quick start guide could not be loaded")});
}

TEST(HelpTest, MissingHelpFileNamesItsFullPath) {
    RegistryKey::deleteKey(ProductNames().keyPath());
    // An installation without its data folder.
    const QString bare = korvex::test::makeTempDir(QStringLiteral("bare"));
    AppContext context(bare);
    TfrmMain window(context, {});
    test::ModalWatcher watcher;
    window.DisplayHelp(101);
    ASSERT_EQ(watcher.texts.size(), 1);
    EXPECT_EQ(watcher.texts.first(),
              QStringLiteral("The help file, %1/help/cover.html, cannot be found.  Please "
                             "reinstall Corvanta Express.")
                  .arg(bare));
}

TEST(AboutBoxTest, ShowsTheSplashAndTheBuild) {
    AppContext context(korvex::test::binDir());
    TdlgAboutBox about(context.dataFile(QStringLiteral("Splash.xdl")), context.names.product);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Corvanta Express"));
    EXPECT_EQ(about.size(), QPixmap(context.dataFile(QStringLiteral("Splash.xdl"))).size());
    bool build = false;
    for (QLabel* l : about.findChildren<QLabel*>())
        build |= l->text() == QStringLiteral("Build ") + QStringLiteral(KORVEX_VERSION);
    EXPECT_TRUE(build);
}
