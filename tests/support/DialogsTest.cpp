#include "FakePrompter.h"
#include "TestEnvironment.h"
#include "support/DebugLog.h"
#include "support/Progress.h"
#include "support/ui/FormScale.h"
#include "support/ui/ProgressGauge.h"
#include "support/ui/TdlgCustomMsg.h"
#include "support/ui/TdlgInput.h"
#include "support/ui/TdlgProgress.h"
#include "support/ui/WidgetProgressDisplay.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

using namespace korvex;

namespace {

// Runs step on the dialog that the next modal call opens.
template <typename Dialog> void whenShown(std::function<void(Dialog*)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(dialog);
    });
}

void pressAndRelease(QWidget* widget, Qt::Key key) {
    QTest::keyPress(widget, key);
    QTest::keyRelease(widget, key);
}

TEST(TdlgInput, EscapeReleaseCancelsAndKeepsTheValue) {
    QString value = QStringLiteral("Holiday");
    whenShown<TdlgInput>([](TdlgInput* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Rename"));
        EXPECT_EQ(d->lblmessage()->text(), QStringLiteral("New name:"));
        QTest::keyClicks(d->edtvalue(), QStringLiteral("X"));
        pressAndRelease(d->edtvalue(), Qt::Key_Escape);
    });
    EXPECT_FALSE(XInputDialog(QStringLiteral("Rename"), QStringLiteral("New name:"), value));
    EXPECT_EQ(value, QStringLiteral("Holiday"));
}

TEST(TdlgInput, EnterReleaseAcceptsTheText) {
    QString value = QStringLiteral("Holiday");
    whenShown<TdlgInput>([](TdlgInput* d) {
        d->edtvalue()->clear();
        QTest::keyClicks(d->edtvalue(), QStringLiteral("Summer 2024"));
        pressAndRelease(d->edtvalue(), Qt::Key_Return);
    });
    EXPECT_TRUE(XInputDialog(QStringLiteral("Rename"), QStringLiteral("New name:"), value));
    EXPECT_EQ(value, QStringLiteral("Summer 2024"));
}

TEST(TdlgInput, OnlyTheReleaseCloses) {
    TdlgInput dialog;
    dialog.show();
    QTest::keyPress(dialog.edtvalue(), Qt::Key_Escape);
    QTest::keyPress(dialog.edtvalue(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyRelease(dialog.edtvalue(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TdlgInput, ButtonsAndLook) {
    QString value = QStringLiteral("a");
    whenShown<TdlgInput>([](TdlgInput* d) {
        EXPECT_EQ(d->size(), QSize(328, 139));
        EXPECT_EQ(d->edtvalue()->size(), QSize(278, 24));
        EXPECT_TRUE(d->font().families().startsWith(QStringLiteral("Verdana")));
        EXPECT_EQ(d->palette().color(QPalette::Window), QColor(Qt::white));
        d->edtvalue()->setText(QStringLiteral("b"));
        d->btnCancel()->click();
    });
    EXPECT_FALSE(XInputDialog(QStringLiteral("c"), QStringLiteral("p"), value));
    EXPECT_EQ(value, QStringLiteral("a"));
    whenShown<TdlgInput>([](TdlgInput* d) {
        d->edtvalue()->setText(QStringLiteral("b"));
        d->btnOK1()->click();
    });
    EXPECT_TRUE(XInputDialog(QStringLiteral("c"), QStringLiteral("p"), value));
    EXPECT_EQ(value, QStringLiteral("b"));
}

TEST(TdlgCustomMsg, ConfirmResults) {
    whenShown<TdlgCustomMsg>([](TdlgCustomMsg* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Delete"));
        EXPECT_EQ(d->Label1()->text(), QStringLiteral("Delete 3 pictures?"));
        EXPECT_TRUE(d->btnOK1()->isHidden());
        EXPECT_FALSE(d->btnOK2()->isHidden());
        EXPECT_FALSE(d->btnCancel2()->isHidden());
        d->btnOK2()->click();
    });
    EXPECT_EQ(
        ShowCustomConfirmDialog(QStringLiteral("Delete"), QStringLiteral("Delete 3 pictures?")), 1);
    whenShown<TdlgCustomMsg>([](TdlgCustomMsg* d) { d->btnCancel2()->click(); });
    EXPECT_EQ(ShowCustomConfirmDialog(QStringLiteral("c"), QStringLiteral("t")), 2);
    whenShown<TdlgCustomMsg>([](TdlgCustomMsg* d) { d->close(); });
    EXPECT_EQ(ShowCustomConfirmDialog(QStringLiteral("c"), QStringLiteral("t")), 2);
}

TEST(TdlgCustomMsg, MessageHasOneCentredOk) {
    bool shown = false;
    whenShown<TdlgCustomMsg>([&shown](TdlgCustomMsg* d) {
        shown = true;
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Information"));
        EXPECT_EQ(d->size(), QSize(364, 105));
        EXPECT_FALSE(d->btnOK1()->isHidden());
        EXPECT_TRUE(d->btnOK2()->isHidden());
        EXPECT_LE(std::abs(d->btnOK1()->geometry().center().x() - d->width() / 2), 1);
        d->btnOK1()->click();
    });
    ShowCustomMessage(QStringLiteral("Done"));
    EXPECT_TRUE(shown);
}

class TdlgProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgressCancelled = false;
        logFolder = test::makeTempDir(QStringLiteral("progresslog"));
        debuglog::resetForTest();
        debuglog::setFolder(logFolder);
        debuglog::enable();
    }
    void TearDown() override {
        debuglog::resetForTest();
        ProgressCancelled = false;
    }
    QByteArray log() const {
        QFile f(QDir(logFolder).filePath(QStringLiteral("Log.txt")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString logFolder;
};

TEST_F(TdlgProgressTest, NoKeepsTheWindowOpen) {
    test::FakePrompter no(false);
    TdlgProgress dialog(&no);
    dialog.show();
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(no.questions,
              (QStringList{QStringLiteral("Are you sure you want to cancel processing?"),
                           QStringLiteral("Are you sure you want to cancel processing?")}));
    EXPECT_FALSE(ProgressCancelled);
    EXPECT_FALSE(log().contains("Progress cancelled"));
}

TEST_F(TdlgProgressTest, YesCancelsAndLogs) {
    test::FakePrompter yes(true);
    TdlgProgress dialog(&yes);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(ProgressCancelled);
    EXPECT_TRUE(log().contains("] dlgProgress: Progress cancelled\r\n")) << log().constData();
}

TEST_F(TdlgProgressTest, LayoutAndPercent) {
    TdlgProgress dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dialog"));
    EXPECT_EQ(dialog.size(), QSize(267, 101));
    EXPECT_EQ(dialog.Gauge()->size(), QSize(179, 6));
    EXPECT_EQ(dialog.lblmessage()->size(), QSize(249, 30));
    EXPECT_TRUE(dialog.lblmessage()->wordWrap());
    EXPECT_EQ(dialog.lblProgress()->text(), QStringLiteral("0%"));
    EXPECT_TRUE(dialog.lblProgress()->font().bold());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    dialog.setPercent(42);
    EXPECT_EQ(dialog.Gauge()->value(), 42);
    EXPECT_EQ(dialog.lblProgress()->text(), QStringLiteral("42%"));
    // The gauge is drawn grey with the done part in yellow.
    const QImage image = dialog.Gauge()->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 3), QColor(255, 211, 49));
    EXPECT_EQ(image.pixelColor(170, 3), QColor(157, 157, 157));
}

TEST(WidgetProgressDisplay, DrivesTheStatusGaugeAndTheWindow) {
    QProgressBar pbrLoad;
    pbrLoad.show();
    WidgetProgressDisplay display(&pbrLoad);
    ProgressPresenter presenter(display);

    presenter.showprogress(true, true, 1, 4, QStringLiteral("Rotating pictures"),
                           QStringLiteral("Rotate"));
    EXPECT_EQ(pbrLoad.value(), 25);
    TdlgProgress* window = display.progressWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Rotate"));
    EXPECT_EQ(window->lblmessage()->text(), QStringLiteral("Rotating pictures"));
    EXPECT_EQ(window->lblProgress()->text(), QStringLiteral("25%"));

    presenter.showprogress(true, true, 3, 4, QStringLiteral("SAME"), QStringLiteral("SAME"));
    EXPECT_EQ(display.progressWindow(), window);
    EXPECT_EQ(window->lblmessage()->text(), QStringLiteral("Rotating pictures"));
    EXPECT_EQ(window->lblProgress()->text(), QStringLiteral("75%"));

    presenter.hideprogress();
    EXPECT_EQ(display.progressWindow(), nullptr);
    EXPECT_EQ(pbrLoad.value(), 0);
    EXPECT_FALSE(pbrLoad.isVisible());
}

TEST(FormScale, FocusOnlyWhenPossible) {
    QWidget form;
    auto* first = new QLineEdit(&form);
    auto* second = new QLineEdit(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    first->setFocus();
    second->setEnabled(false);
    FocusIfPossible(second);
    EXPECT_TRUE(first->hasFocus());
    second->setEnabled(true);
    FocusIfPossible(second);
    EXPECT_TRUE(second->hasFocus());
    FocusIfPossible(nullptr);
}

TEST(FormScale, NothingChangesAtTheDesignResolution) {
    QWidget form;
    applyDialogLook(&form);
    auto* label = new QLabel(&form);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    ASSERT_EQ(form.logicalDpiY(), 96) << "the offscreen screen has the design resolution";
    ScaleFormFonts(&form);
    EXPECT_EQ(label->font().pixelSize(), 11);
}

} // namespace
