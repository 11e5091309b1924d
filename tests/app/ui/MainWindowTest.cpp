#include "app/ui/MainWindow.h"

#include "TestEnvironment.h"
#include "app/AppContext.h"
#include "app/PreviewSprinkle.h"
#include "app/ui/EditBar.h"
#include "platform/RegistryKey.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegistryKey::deleteKey(ProductNames().keyPath());
        // The quick start guide has its own test; here it would only stand in the way.
        put({{QStringLiteral("ShowStartUp"), QStringLiteral("False")}});
    }
    static void put(const RegistryKey::Values& values) {
        ASSERT_TRUE(RegistryKey(ProductNames().keyPath()).setValues(values));
    }
    static QString stored(const QString& name) {
        RegistryKey key(ProductNames().keyPath());
        key.open(false);
        return key.value(name).value_or(QString());
    }
    std::unique_ptr<TfrmMain> start(QStringList args = {}) {
        auto w = std::make_unique<TfrmMain>(context, std::move(args));
        QSignalSpy ready(w.get(), &TfrmMain::startUpFinished);
        w->startUp();
        EXPECT_TRUE(ready.wait(5000));
        return w;
    }

    AppContext context{korvex::test::binDir()};
};

} // namespace

TEST_F(MainWindowTest, FreshSettingsPlaceTheWindowAtTheScreenDefault) {
    auto w = start();
    const QSize screen = w->screen()->size();
    if (screen.width() > 800) {
        EXPECT_EQ(w->size(), QSize(900, 690));
        EXPECT_EQ(w->pos(), QPoint(75, 35));
    } else {
        EXPECT_TRUE(w->isMaximized());
    }
    EXPECT_EQ(stored(QStringLiteral("UseAppforCamera")), QStringLiteral("True"));
}

TEST_F(MainWindowTest, SavedPlacementIsRestoredAndCloseWritesItBack) {
    put({{QStringLiteral("SPHeight"), QStringLiteral("480")},
         {QStringLiteral("SPLeft"), QStringLiteral("30")},
         {QStringLiteral("SPWidth"), QStringLiteral("700")},
         {QStringLiteral("SPTop"), QStringLiteral("40")},
         {QStringLiteral("SPMax"), QStringLiteral("False")},
         {QStringLiteral("WPanel"), QStringLiteral("370")}});
    auto w = start();
    EXPECT_EQ(w->geometry().size(), QSize(700, 480));
    EXPECT_EQ(w->pos(), QPoint(30, 40));
    EXPECT_EQ(w->panelWidth(), 370);

    w->resize(650, 460);
    w->move(12, 24);
    for (int i = 0; i < 100 && w->width() != 650; ++i)
        QTest::qWait(20);
    w->close();
    EXPECT_EQ(stored(QStringLiteral("SPWidth")), QStringLiteral("650"));
    EXPECT_EQ(stored(QStringLiteral("SPHeight")), QStringLiteral("460"));
    EXPECT_EQ(stored(QStringLiteral("SPLeft")), QStringLiteral("12"));
    EXPECT_EQ(stored(QStringLiteral("SPTop")), QStringLiteral("24"));
    EXPECT_EQ(stored(QStringLiteral("SPMax")), QStringLiteral("False"));
    EXPECT_EQ(stored(QStringLiteral("WPanel")), QString::number(w->panelWidth()));
    EXPECT_EQ(stored(QStringLiteral("ShowStartUp")), QStringLiteral("False"));
    EXPECT_FALSE(stored(QStringLiteral("AppVersion")).isEmpty());
}

TEST_F(MainWindowTest, ClosingMaximisedKeepsTheLastNormalPlacement) {
    put({{QStringLiteral("SPHeight"), QStringLiteral("480")},
         {QStringLiteral("SPLeft"), QStringLiteral("30")},
         {QStringLiteral("SPWidth"), QStringLiteral("700")},
         {QStringLiteral("SPTop"), QStringLiteral("40")}});
    auto w = start();
    w->showMaximized();
    QApplication::processEvents();
    w->close();
    EXPECT_EQ(stored(QStringLiteral("SPMax")), QStringLiteral("True"));
    EXPECT_EQ(stored(QStringLiteral("SPWidth")), QStringLiteral("700"));
}

TEST_F(MainWindowTest, SplitterDragSnapsToColumns) {
    put({{QStringLiteral("SPHeight"), QStringLiteral("600")},
         {QStringLiteral("SPLeft"), QStringLiteral("0")},
         {QStringLiteral("SPWidth"), QStringLiteral("1000")},
         {QStringLiteral("SPTop"), QStringLiteral("0")}});
    auto w = start();
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    w->setPanelWidth(PanelSnapper::gridWidth(2, bar));
    w->snapper().setColumns(2);
    w->snapper().setReference(w->panelWidth());
    w->splitterReleased(PanelSnapper::gridWidth(2, bar) + 36);
    EXPECT_EQ(w->panelWidth(), PanelSnapper::gridWidth(3, bar));
    w->splitterReleased(PanelSnapper::gridWidth(3, bar) - 14);
    EXPECT_EQ(w->panelWidth(), PanelSnapper::gridWidth(2, bar));
}

TEST_F(MainWindowTest, CommandsThatAreNotBuiltStayDisabledWhateverThePicture) {
    const QString dir = korvex::test::makeTempDir();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir + QStringLiteral("/a.jpg")));
    auto w = start();
    for (const char* name : {"mkExit", "mkAbout", "mkUsersGuide", "mkQuickStart"})
        EXPECT_TRUE(w->action(QLatin1String(name))->isEnabled()) << name;
    EXPECT_FALSE(w->action(QStringLiteral("mkSaveAs"))->isEnabled());
    w->directshow(dir + QStringLiteral("/a.jpg"));
    QApplication::processEvents();
    EXPECT_EQ(w->currentPicture(), dir + QStringLiteral("/a.jpg"));
    EXPECT_EQ(w->currentFolder(), dir);
    // The picture is decoded off the GUI thread and then shown.
    auto* status = w->findChild<QLabel*>(QStringLiteral("lblStatus"));
    for (int i = 0; i < 100 && status->text() != QStringLiteral("a.jpg"); ++i)
        QTest::qWait(20);
    EXPECT_EQ(status->text(), QStringLiteral("a.jpg"));
    // Saving belongs to the editing work: until it exists the item must not pretend.
    EXPECT_FALSE(w->action(QStringLiteral("mkSaveAs"))->isEnabled());
    EXPECT_EQ(w->action(QStringLiteral("mkPrint"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+P")));
}

TEST_F(MainWindowTest, BusyGateHoldsBackACameraLaunch) {
    auto w = start();
    QSignalSpy launched(w.get(), &TfrmMain::cameraLaunchPosted);
    w->Keypreparation(false);
    EXPECT_TRUE(w->CameraParameter(QStringLiteral("/CAM:E"), QStringLiteral("/SETTINGS")));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(launched.count(), 0);
    w->endKeypreparation();
    ASSERT_TRUE(launched.wait(2000));
    EXPECT_EQ(launched.first().at(0).toString(), QStringLiteral("E"));
    EXPECT_TRUE(launched.first().at(1).toBool());
}

TEST_F(MainWindowTest, CameraLaunchIsDroppedWhileCameraUseIsOff) {
    put({{QStringLiteral("UseAppforCamera"), QStringLiteral("False")}});
    auto w = start();
    EXPECT_TRUE(w->CameraParameter(QStringLiteral("/CAM:E"), QString()));
    EXPECT_TRUE(w->idleFlags().pendingCameraSource.isEmpty());
}

TEST(PreviewSprinkleTest, FirstPassDrawsTheNameAndTheSprinkleGrows) {
    PreviewSprinkle sprinkle(QSize(150, 100), QString(), QStringLiteral("Corvanta Express"));
    sprinkle.step();
    EXPECT_EQ(sprinkle.image().size(), QSize(151, 101));
    EXPECT_EQ(sprinkle.lastSprinkleCount(), 0);
    int red = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 151; ++x) {
            const QRgb p = sprinkle.image().pixel(x, y);
            red += qRed(p) > 200 && qGreen(p) < 80;
        }
    EXPECT_GT(red, 20); // the product name in red on white
    for (int i = 1; i < 3000; ++i)
        sprinkle.step();
    EXPECT_EQ(sprinkle.lastSprinkleCount(), 1 + 30); // min(1, 3000/1000) + 3000/100
    sprinkle.step();
    sprinkle.step(); // the counter passed 3000: the logo is drawn afresh
    EXPECT_EQ(sprinkle.lastSprinkleCount(), 0);
}

TEST(EditBarTest, ApplyAndCancelStackOnANarrowToolBarAndUndoSitsOverApply) {
    QAction apply(QStringLiteral("Apply")), cancel(QStringLiteral("Cancel")),
        a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
    EditBar bar(&apply, &cancel, &a, &b, &c);
    EXPECT_TRUE(EditBar::stackFor(550));
    EXPECT_FALSE(EditBar::stackFor(551));
    bar.setStacked(true);
    EXPECT_EQ(bar.applyButton()->y(), 7);
    EXPECT_EQ(bar.cancelButton()->y(), 32);
    EXPECT_EQ(bar.applyButton()->x(), bar.cancelButton()->x());
    bar.setStacked(false);
    EXPECT_EQ(bar.applyButton()->y(), bar.cancelButton()->y());
    EXPECT_GT(bar.cancelButton()->x(), bar.applyButton()->x());
    for (QToolButton* undo : bar.undoButtons())
        EXPECT_EQ(undo->geometry(), bar.applyButton()->geometry());
}

TEST_F(MainWindowTest, NarrowWindowStacksTheEditBar) {
    auto w = start();
    w->resize(540, 500);
    for (int i = 0; i < 100 && !w->editBar()->stacked(); ++i)
        QTest::qWait(20);
    EXPECT_TRUE(w->editBar()->stacked());
    w->resize(900, 600);
    for (int i = 0; i < 100 && w->editBar()->stacked(); ++i)
        QTest::qWait(20);
    EXPECT_FALSE(w->editBar()->stacked());
}
